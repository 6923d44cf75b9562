// Applying a preset to the current output settings (`ApplyPresetOptions`): reset, the
// preset's own values, the unique output file name of the input being added, and the
// texts that go into the selected job row. Called by the main window's add commands
// (once per added file, followed by ReadParameterChoices) and by its preset change
// handler when a job row is selected; the per-file settings dialog calls it for the
// main window's settings the same way.
#pragma once

#include <array>

#include "app/presets/preset_settings.h"
#include "platform/framework/core/types.h"

// Resets `settings`, stores the dispatch value (PresetKey + 100) in `All_Trant_Number`,
// writes the preset's values and sets `Video_OutPutFileName` to outputFolder + "/" + the
// name of `Video_AddFileName` with the preset's output extension, made unique (see
// UniqueOutputFileName) unless overwrite is set. Returns false when the positions lead to
// no preset: the settings are then left reset with an empty output name (and a category
// index outside 0..19 leaves `All_Trant_Number` alone).
bool ApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                        PresetSettings& settings);
// The same for a PresetKey.
bool ApplyPresetKey(int presetKey, const String& outputFolder, bool overwrite, PresetSettings& settings);

// The job row columns 11 to 24 that a preset change writes into the selected row, in
// column order: video codec, audio codec, channels, tag, file extension, frame size,
// video bit rate, frame rate, audio bit rate, sample rate, aspect, "True"/"False" for
// the disabled video, target type, norm.
constexpr int PresetRowFirstColumn = 11;
constexpr int PresetRowColumnCount = 14;
std::array<String, PresetRowColumnCount> PresetRowColumns(const PresetSettings& settings);
