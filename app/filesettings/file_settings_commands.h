// The preset commands of the per-file settings dialog `TForm7` over the main window's
// current output settings (`PresetSettings`) and its selected job row (`TJobRow`, nullptr
// when no row is selected). They are the catalogue functions of app/presets with the
// row work added; the main window's preset and parameter change handlers do the same and
// call the same functions. A form's handlers become thin calls:
//
//  Category change (Button2): titles = FillPresetList(category) (app/presets); add one item
//      per title with ImageIndex = position mod 2, then select item 0.
//  Preset change: choices = DialogParameterChoices(category, preset, settings); clear and
//      enable the six combos; when choices.HasRow fill them in ParameterFillOrder (a combo
//      whose shown text changes runs its parameter handler), then disable those whose
//      Enabled is false, in AudioOnlyDisableOrder. With a selected row then
//      ApplyPresetToJobRow(category, preset, the item's caption, the six shown texts,
//      output folder text, overwrite chosen, settings, row) and focus the job list.
//  Parameter change (the shown text changed): ApplyParameterChange(parameter, item index,
//      shown text, settings, row or nullptr); with a row, focus the job list.
//  Opening ("设置..." of the main window): snapshot = TakeFileSettingsSnapshot(settings,
//      row) first; then copy the main window's category, preset and, in ChoiceCopyOrder,
//      parameter indexes into the dialog; show it modally.
//  Confirm: copy the dialog's indexes into the main window's combos in the same order,
//      then close. Cancel: RestoreFileSettingsSnapshot(snapshot, settings, row), close.
#pragma once

#include <array>

#include "app/filesettings/job_row.h"
#include "app/presets/apply_preset.h"
#include "app/presets/parameter_choices.h"
#include "app/presets/preset_settings.h"

// Order in which "设置..." copies the parameter indexes into the dialog and confirm copies
// them back, after the category and the preset.
constexpr TPresetParameter ChoiceCopyOrder[PresetParameterCount] = {ppFrameSize,  ppVideoBitrate, ppFrameRate,
                                                                    ppAspectMode, ppAudioBitrate, ppSampleRate};

// The dialog's `FillParameterChoices`: for every position exactly the lists, defaults,
// enabled states and the two field writes of the main window's FillParameterChoices.
TParameterChoices DialogParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings);

// A SelectionCode (twelve digits, two per parameter in TPresetParameter order) with the
// parameter's pair replaced by the item index, written with two digits ("07"). A code
// shorter than twelve digits is filled with "0" first, so the pairs keep their places; an
// index outside 0..99 replaces nothing.
String ReplaceSelectionPair(const String& code, TPresetParameter parameter, int itemIndex);

// A parameter combo's change handler. Without a row it does nothing. With one: replaces
// the parameter's pair of the SelectionCode (column 10), reads the shown text into the
// parameter's field (ReadParameterChoice; EConvertError for a text no list offers) and
// writes that field into the parameter's column.
void ApplyParameterChange(TPresetParameter parameter, int itemIndex, const String& shownText, PresetSettings& settings,
                          TJobRow* row);

// The dialog's `ApplyPresetOptions` (its hidden Button5): applies the preset of the
// positions (ApplyPresetOptions, which resets first) and, with a row, names the output after
// the row's own input file (Video_AddFileName keeps the file added last) and writes columns
// 11 to 24 from the settings.
void DialogApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                              PresetSettings& settings, TJobRow* row);

// The preset change handler's work on a selected row, after the six combos were filled:
// applies the preset (ApplyPresetOptions) with the output name built from the row's own
// input file (Video_AddFileName keeps the file added last), reads the six shown texts
// back (ReadParameterChoices), writes columns 11 to 24 from the settings, so the row holds
// the values its combos show, gives column 3 the extension of the preset caption
// (CaptionExtension) and writes the PresetPositionCode into column 9.
void ApplyPresetToJobRow(int categoryIndex, int presetIndex, const String& presetCaption,
                         const std::array<String, PresetParameterCount>& shownTexts, const String& outputFolder,
                         bool overwrite, PresetSettings& settings, TJobRow& row);

// What the dialog may change: the settings (All_Trant_Number included) and the row's
// columns 3, 9, 10 and 11 to 24. The progress columns are not kept, so a running job's
// progress written while the dialog is open survives a cancel.
struct TFileSettingsSnapshot {
    PresetSettings Settings;
    bool HasRow = false;
    std::array<String, 3 + PresetRowColumnCount> Columns;
};
TFileSettingsSnapshot TakeFileSettingsSnapshot(const PresetSettings& settings, const TJobRow* row);
// Puts the settings back, and the row's columns when the snapshot has a row and one is given.
void RestoreFileSettingsSnapshot(const TFileSettingsSnapshot& snapshot, PresetSettings& settings, TJobRow* row);
