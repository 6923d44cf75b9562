// The preset rows of each category, one source file per group of categories. Internal
// to the catalogue: preset_catalogue.cpp maps a CategoryCode to its table.
#pragma once

#include <span>

#include "app/presets/preset_catalogue.h"

// presets_general.cpp
std::span<const TOutputPreset> GeneralVideoPresets();  // "视频格式", code 0
std::span<const TOutputPreset> AudioPresets();         // "音频格式", code 1
// presets_hd_apple.cpp
std::span<const TOutputPreset> HighDefinitionPresets();  // "高清格式", code 2
std::span<const TOutputPreset> ApplePresets();           // "APPLE格式", code 7
// presets_portable.cpp
std::span<const TOutputPreset> IPadPresets();    // "iPad格式", code 12
std::span<const TOutputPreset> IPhonePresets();  // "iPhone格式", code 4
std::span<const TOutputPreset> PspPresets();     // "PSP格式", code 5
std::span<const TOutputPreset> PmpPresets();     // "PMP格式", code 9
// presets_mobile.cpp
std::span<const TOutputPreset> ThreeGpPresets();  // "3GP格式", code 6
std::span<const TOutputPreset> AndroidPresets();  // "Android格式", code 19
// presets_file_formats.cpp
std::span<const TOutputPreset> MpgPresets();    // "MPG格式", code 13
std::span<const TOutputPreset> Mp4Presets();    // "MP4格式", code 10
std::span<const TOutputPreset> FlashPresets();  // "Flash格式", code 11
std::span<const TOutputPreset> SwfPresets();    // "SWF格式", code 14
// presets_containers.cpp
std::span<const TOutputPreset> MkvPresets();  // "MKV格式", code 16
std::span<const TOutputPreset> AviPresets();  // "AVI格式", code 15
std::span<const TOutputPreset> WmvPresets();  // "WMV格式", code 17
// presets_vob_mts.cpp
std::span<const TOutputPreset> VobPresets();  // "VOB格式", code 20
std::span<const TOutputPreset> MtsPresets();  // "MTS格式", code 21
// presets_xbox.cpp
std::span<const TOutputPreset> XboxPresets();  // "XboX格式", code 8
