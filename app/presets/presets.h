// The output preset catalogue as the main window (and the per-file settings dialog)
// uses it. The window keeps the combos and a `PresetSettings` record; its hidden
// commands become thin handlers over these functions:
//
//  FillPresetList (category change, window creation):
//      titles = FillPresetList(categoryIndex); add one preset item per title with
//      ImageIndex = position mod 2; select item 0 (which runs the preset change handler).
//  FillParameterChoices (first step of the preset change handler):
//      choices = FillParameterChoices(categoryIndex, presetIndex, settings); clear and
//      enable the six combos; when choices.HasRow, for each parameter in
//      ParameterFillOrder add its Items and set its ItemIndex; then disable the combos
//      whose Enabled is false, in AudioOnlyDisableOrder.
//  ApplyPresetOptions (add commands, preset change with a selected row):
//      ApplyPresetOptions(categoryIndex, presetIndex, outputFolderText, overwriteChosen,
//      settings); with a selected row, write PresetRowColumns(settings) into columns
//      11 to 24.
//  ReadParameterChoices (right after every ApplyPresetOptions):
//      ReadParameterChoices({the texts of the six combos by TPresetParameter}, settings).
//      A parameter change handler uses ReadParameterChoice for its own combo.
//  ResetPresetSettings: ResetPresetSettings(settings).
//  Preset change on a selected row: column 3 := ReplaceNameExtension(
//      ExtractNamePart(column 3), CaptionExtension(preset caption)); column 9 :=
//      PresetPositionCode(categoryIndex, presetIndex).
//
// Encoder names in the catalogue are those the presets were made with ("libfaac",
// "msmpeg4v1"...); the engine maps them to the encoders of the current libraries when
// a job converts.
#pragma once

#include "app/presets/apply_preset.h"
#include "app/presets/output_name.h"
#include "app/presets/parameter_choices.h"
#include "app/presets/preset_catalogue.h"
#include "app/presets/preset_settings.h"
