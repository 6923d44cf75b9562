// The commands of the legacy preset form `TForm6` over the legacy catalogue and the main
// window's current output settings (`PresetSettings`). The form's handlers become thin
// calls; its category list position is the CategoryCode itself:
//
//  FillPresetList (creation, category change): items = LegacyFillPresetList(category);
//      add one item per entry (Title, Caption, ImageIndex), then select item 0, whose
//      click runs FillParameterChoices.
//  FillParameterChoices (preset click): choices = LegacyFillParameterChoices(category,
//      preset, settings); clear and enable the six combos, fill them in ParameterFillOrder
//      when choices.HasRow, then disable those whose Enabled is false, in
//      AudioOnlyDisableOrder (app/presets/parameter_choices.h).
//  ApplyPresetOptions ("确定", first step): LegacyApplyPresetOptions(category, preset,
//      output folder text, overwrite chosen, settings).
//  ReadParameterChoices ("确定", second step): ReadParameterChoices (app/presets) with the
//      texts of the six combos.
//  ResetPresetSettings: ResetPresetSettings (app/presets); nothing in the form runs it.
//
// Start-up: the creation step leaves All_Trant_Number 100 and Video_DisableVideo false.
#pragma once

#include "app/legacy/legacy_catalogue.h"
#include "app/presets/preset_settings.h"

// Stores the dispatch value (category + 1) * 100 + preset in All_Trant_Number and false in
// Video_DisableVideo, then gives the six lists of the key (none for a key the catalogue
// lacks).
TParameterChoices LegacyFillParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings);

// Applies a legacy preset over the settings as they are (no reset): stores the dispatch
// value and false in Video_DisableVideo; for a key with values sets Video_OutPutFileName
// to outputFolder + "/" + the name of Video_AddFileName with the preset's output extension
// and writes the key's write set (LegacyWriteSet); then, for every key, makes the output
// name unique (UniqueOutputFileName over the name part of Video_OutPutFileName) unless
// overwrite is set. Returns false when the positions name no preset with values.
bool LegacyApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                              PresetSettings& settings);
