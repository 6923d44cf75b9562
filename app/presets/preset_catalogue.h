// The output preset catalogue: the 20 categories of the format panel's category combo,
// each an ordered list of output presets (title, output extension and the values that
// applying it leaves in `PresetSettings`), and the numbering every catalogue command
// shares. Read by the main window's and the per-file dialog's preset-list handlers and
// by ApplyPresetOptions (apply_preset.h).
//
// Numbering:
//  - category index: position in the category combo, 0..19 (item 0 "MKV格式" first);
//  - `CategoryCode`: the category's own number (CategoryTable maps index -> code);
//  - preset index: position in the preset combo, 0 = first title of the category;
//  - `PresetKey` = CategoryCode * 100 + preset index; the dispatch value stored in
//    `All_Trant_Number` is PresetKey + 100;
//  - `PresetPositionCode` (job row column 9) = (category index + 1) * 100 + preset index,
//    built from the combo positions, not from the CategoryCode.
#pragma once

#include <span>
#include <vector>

#include "platform/framework/core/types.h"

struct TPresetCategory {
    int CategoryCode;
    const wchar_t* Caption;
    int PresetCount;
};

constexpr int CategoryCount = 20;
// Index = position in the category combo.
extern const TPresetCategory CategoryTable[CategoryCount];

// One preset of the catalogue. Empty texts are stored as L"" (never null).
struct TOutputPreset {
    int Key;                   // PresetKey
    const wchar_t* Title;      // text of the preset combo item, ends in "(*.ext)"
    const wchar_t* OutputExt;  // extension given to the output file name (".avi")
    const wchar_t* FileExt;    // value of Video_FileExt (may differ from OutputExt or be empty)
    const wchar_t* VideoCodec;
    const wchar_t* VideoTag;
    const wchar_t* FrameSize;
    int VideoBitrate;  // bit/s; -1 = left at the reset value, -1000 = left to the libraries
    const wchar_t* FrameRate;
    const wchar_t* FrameAspectRatio;
    const wchar_t* AudioCodec;
    const wchar_t* AudioChannels;
    const wchar_t* AudioSampleRate;
    int AudioBitrate;           // bit/s, as VideoBitrate
    const wchar_t* TargetType;  // "dvd", "svcd", "vcd" or empty
    const wchar_t* NormType;    // "PAL" or empty
    bool DisableVideo;          // true for the audio-only presets
};

// CategoryCode of a category combo position; -1 outside 0..19.
int CategoryCodeOf(int categoryIndex);

// The presets of a CategoryCode in list order; empty for a code without titles
// (the codes 3, 18, 22 and 23 have parameter choices but no presets in the catalogue).
std::span<const TOutputPreset> PresetsOfCategory(int categoryCode);

// Every preset of the catalogue, category by category in category-combo order.
std::vector<const TOutputPreset*> AllOutputPresets();

// The preset of a PresetKey, or nullptr when no title leads to that key.
const TOutputPreset* FindOutputPreset(int presetKey);

// PresetKey of the combo positions; -1 when the category index is outside 0..19 or the
// preset index outside 0..99 (no key can exist there). The key need not have a preset.
int PresetKey(int categoryIndex, int presetIndex);

// `PresetPositionCode` of the combo positions, and its decoding (q = code div 100,
// category index = q - 1, preset index = code - q * 100).
int PresetPositionCode(int categoryIndex, int presetIndex);
struct TPresetPosition {
    int CategoryIndex;
    int PresetIndex;
};
TPresetPosition DecodePresetPositionCode(int positionCode);

// `FillPresetList`: the titles that the preset combo shows for a category position, in
// catalogue order (empty for a position outside 0..19). The main window adds one item
// per title with ImageIndex = position mod 2, repaints, then selects item 0, which runs
// its preset change handler.
std::vector<String> FillPresetList(int categoryIndex);
