// The per-file settings dialog's preset commands on the settings and the selected row.
#include "app/filesettings/file_settings_commands.h"

#include "app/presets/apply_preset.h"
#include "app/presets/output_name.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/strings.h"

namespace {

constexpr int SelectionCodeLength = 2 * PresetParameterCount;

// The row text of a parameter's field, as the preset's row columns write it.
String ParameterColumnText(TPresetParameter parameter, const PresetSettings& settings)
{
    return PresetRowColumns(settings)[ParameterColumn(parameter) - PresetRowFirstColumn];
}

void WritePresetRowColumns(const PresetSettings& settings, TJobRow& row)
{
    std::array<String, PresetRowColumnCount> texts = PresetRowColumns(settings);
    for (int i = 0; i < PresetRowColumnCount; ++i) row.SetColumn(PresetRowFirstColumn + i, texts[i]);
}

// The columns a snapshot keeps, in its order.
constexpr int SnapshotColumn(int i)
{
    constexpr int Own[] = {OutputNameColumn, PositionCodeColumn, SelectionCodeColumn};
    return i < 3 ? Own[i] : PresetRowFirstColumn + (i - 3);
}

}  // namespace

TParameterChoices DialogParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings)
{
    return FillParameterChoices(categoryIndex, presetIndex, settings);
}

String ReplaceSelectionPair(const String& code, TPresetParameter parameter, int itemIndex)
{
    String result = code.substr(0, SelectionCodeLength);
    result.resize(SelectionCodeLength, L'0');
    // No list holds 100 items; an index without two digits leaves the pairs as they are.
    if (itemIndex < 0 || itemIndex > 99) return result;
    String pair = IntToStr(itemIndex);
    if (itemIndex < 10) pair = L"0" + pair;
    return result.replace(2 * parameter, 2, pair);
}

void ApplyParameterChange(TPresetParameter parameter, int itemIndex, const String& shownText, PresetSettings& settings,
                          TJobRow* row)
{
    if (!row) return;
    row->SetColumn(SelectionCodeColumn, ReplaceSelectionPair(row->Column(SelectionCodeColumn), parameter, itemIndex));
    ReadParameterChoice(parameter, shownText, settings);
    row->SetColumn(ParameterColumn(parameter), ParameterColumnText(parameter, settings));
}

void DialogApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                              PresetSettings& settings, TJobRow* row)
{
    if (!row) {
        ApplyPresetOptions(categoryIndex, presetIndex, outputFolder, overwrite, settings);
        return;
    }
    // The output name belongs to this job, not to the file the main window added last.
    String addedLast = settings.Video_AddFileName;
    settings.Video_AddFileName = row->InputPath;
    ApplyPresetOptions(categoryIndex, presetIndex, outputFolder, overwrite, settings);
    settings.Video_AddFileName = addedLast;
    WritePresetRowColumns(settings, *row);
}

void ApplyPresetToJobRow(int categoryIndex, int presetIndex, const String& presetCaption,
                         const std::array<String, PresetParameterCount>& shownTexts, const String& outputFolder,
                         bool overwrite, PresetSettings& settings, TJobRow& row)
{
    DialogApplyPresetOptions(categoryIndex, presetIndex, outputFolder, overwrite, settings, &row);
    ReadParameterChoices(shownTexts, settings);
    // Written after the read-back: a row converts with the values its combos show.
    WritePresetRowColumns(settings, row);

    row.SetColumn(OutputNameColumn,
                  ReplaceNameExtension(ExtractNamePart(row.Column(OutputNameColumn)), CaptionExtension(presetCaption)));
    row.SetColumn(PositionCodeColumn, IntToStr(PresetPositionCode(categoryIndex, presetIndex)));
}

TFileSettingsSnapshot TakeFileSettingsSnapshot(const PresetSettings& settings, const TJobRow* row)
{
    TFileSettingsSnapshot snapshot;
    snapshot.Settings = settings;
    snapshot.HasRow = row != nullptr;
    if (row)
        for (size_t i = 0; i < snapshot.Columns.size(); ++i)
            snapshot.Columns[i] = row->Column(SnapshotColumn(static_cast<int>(i)));
    return snapshot;
}

void RestoreFileSettingsSnapshot(const TFileSettingsSnapshot& snapshot, PresetSettings& settings, TJobRow* row)
{
    settings = snapshot.Settings;
    if (!snapshot.HasRow || !row) return;
    for (size_t i = 0; i < snapshot.Columns.size(); ++i) {
        int column = SnapshotColumn(static_cast<int>(i));
        if (row->Column(column) != snapshot.Columns[i]) row->SetColumn(column, snapshot.Columns[i]);
    }
}
