// Reset of the current output settings.
#include "app/presets/preset_settings.h"

void ResetPresetSettings(PresetSettings& settings)
{
    PresetSettings reset;
    reset.Video_AddFileName = std::move(settings.Video_AddFileName);
    reset.All_Trant_Number = settings.All_Trant_Number;
    settings = std::move(reset);
}
