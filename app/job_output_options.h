// The engine output record of a job from the current output settings of the format panel
// (`SettingsToOutputOptions`). The main window's add commands call it for every added file,
// on a record just reset by InitOutputOptions, and hand the record to the task component's
// SetOutputFile; the queue's start keeps the record of the add and lays the job row over it.
#pragma once

#include "app/presets/preset_settings.h"
#include "engine/task_options.h"

// The option line that lets a task replace an existing output file; the engine refuses an
// existing output without it.
extern const wchar_t* const OverwriteOutputOption;  // L"y=1"

// Fills AOptions from ASettings field by field: codecs ("libx264" with the preset
// "libx264-default"), frame rate, disabled video, channels, sample rate, frame size, target
// and norm, volume, aspect, audio bit rate, container, video filters, FourCC and video bit
// rate, each only when set ("AUTO", empty and the bit rates -1000/-2000 leave the engine's
// default); every other field keeps its value. With AOverwrite the record also carries
// OverwriteOutputOption in its ExtOptions, so the main window's "overwrite" choice replaces
// an output file that exists. Raises EConvertError when a number field (channels, sample
// rate, volume) holds no integer.
void SettingsToOutputOptions(const PresetSettings& ASettings, bool AOverwrite, TOutputOptions& AOptions);

// Sets whether the record lets its task replace an existing output: any overwrite line of its
// ExtOptions is taken out, and with AOverwrite OverwriteOutputOption is put at the end. The
// queue's start decides this for every job with the choice in force then.
void SetOverwriteOption(TOutputOptions& AOptions, bool AOverwrite);

// The engine's target and norm of the texts a preset and a job row hold ("vcd", "svcd", "dvd";
// "PAL", "NTSC"); any other text gives ttIgnore and ntAuto.
TOptionTargetType TargetTypeOf(const String& AText);
TOptionNormType NormTypeOf(const String& AText);
