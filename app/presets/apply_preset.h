// Applying a preset to the current output settings (`ApplyPresetOptions`): reset, the
// preset's own values, the unique output file name of the input being added, and the
// texts that go into the selected job row. Called by the main window's add commands
// (once per added file, followed by ReadParameterChoices) and by its preset change
// handler when a job row is selected; the per-file settings dialog calls it for the
// main window's settings the same way.
#pragma once

#include <array>

#include "app/presets/preset_catalogue.h"
#include "app/presets/preset_settings.h"
#include "platform/framework/core/types.h"

// The `PresetSettings` fields that a preset's values go to, as bits of a TPresetFieldSet
// (the two file names and the dispatch value are not among them). A preset row holds no
// filters, volume, time stamp copy or container name: those fields get "", "256", "" and "".
enum TPresetField : unsigned {
    pfFileExt = 1u << 0,
    pfVideoCodec = 1u << 1,
    pfVideoTag = 1u << 2,
    pfFrameRate = 1u << 3,
    pfFrameAspectRatio = 1u << 4,
    pfFrameSize = 1u << 5,
    pfVideoBitrate = 1u << 6,
    pfVideoFilters = 1u << 7,
    pfAudioCodec = 1u << 8,
    pfAudioChannels = 1u << 9,
    pfAudioSampleRate = 1u << 10,
    pfAudioVolume = 1u << 11,
    pfAudioBitrate = 1u << 12,
    pfNormType = 1u << 13,
    pfCopyTimestamp = 1u << 14,
    pfFileFormat = 1u << 15,
    pfTargetType = 1u << 16,
    pfDisableVideo = 1u << 17,
};
using TPresetFieldSet = unsigned;
constexpr TPresetFieldSet AllPresetFields = (1u << 18) - 1;

// Writes the preset's value into every field of `fields`; the other fields keep theirs.
void WritePresetFields(const TOutputPreset& preset, TPresetFieldSet fields, PresetSettings& settings);

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
