// Filling the choice lists and applying a preset of the legacy catalogue.
#include "app/legacy/legacy_commands.h"

#include "app/presets/output_name.h"

namespace {

// The dispatch value is stored for any positions, also those that name no preset.
int StoreDispatchValue(int categoryIndex, int presetIndex, PresetSettings& settings)
{
    settings.All_Trant_Number = (categoryIndex + 1) * 100 + presetIndex;
    settings.Video_DisableVideo = false;
    return LegacyPresetKey(categoryIndex, presetIndex);
}

}  // namespace

TParameterChoices LegacyFillParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings)
{
    int key = StoreDispatchValue(categoryIndex, presetIndex, settings);
    return key < 0 ? TParameterChoices{} : LegacyParameterChoicesOfKey(key);
}

bool LegacyApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                              PresetSettings& settings)
{
    int key = StoreDispatchValue(categoryIndex, presetIndex, settings);
    const TOutputPreset* values = key < 0 ? nullptr : LegacyPresetValues(key);
    if (values) {
        settings.Video_OutPutFileName = OutputFileName(outputFolder, settings.Video_AddFileName, values->OutputExt);
        WritePresetFields(*values, LegacyWriteSet(key), settings);
    }
    // Also without values: the name held so far is made unique in the folder.
    settings.Video_OutPutFileName =
        UniqueOutputFileName(outputFolder, ExtractNamePart(settings.Video_OutPutFileName), overwrite);
    return values != nullptr;
}
