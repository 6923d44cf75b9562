// The format panel: the category, preset and six parameter combos over the preset catalogue,
// and the selected job row kept in step with them. The handlers are thin calls of the
// catalogue's commands (app/presets) and of the row commands the per-file dialog shares.
#include "app/filesettings/file_settings_commands.h"
#include "app/job_output_options.h"
#include "app/main_form.h"
#include "app/presets/parameter_combos.h"
#include "app/presets/presets.h"
#include "platform/framework/controls/list_view.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_list_view.h"

TbsSkinComboBox* TForm1::ParameterCombo(TPresetParameter AParameter) const
{
    switch (AParameter) {
    case ppFrameSize: return bsSkinComboBox1;
    case ppVideoBitrate: return bsSkinComboBox2;
    case ppAudioBitrate: return bsSkinComboBox3;
    case ppAspectMode: return bsSkinComboBox4;
    case ppFrameRate: return bsSkinComboBox9;
    case ppSampleRate: return bsSkinComboBox10;
    }
    return nullptr;
}

std::array<String, PresetParameterCount> TForm1::ParameterTexts() const
{
    std::array<String, PresetParameterCount> texts;
    for (int i = 0; i < PresetParameterCount; ++i) texts[size_t(i)] = ParameterCombo(TPresetParameter(i))->Text();
    return texts;
}

std::array<int, PresetParameterCount> TForm1::ParameterIndexes() const
{
    std::array<int, PresetParameterCount> indexes;
    for (int i = 0; i < PresetParameterCount; ++i)
        indexes[size_t(i)] = ParameterCombo(TPresetParameter(i))->ItemIndex();
    return indexes;
}

void TForm1::FillPresetList()
{
    const std::vector<String> titles = ::FillPresetList(bsSkinOfficeComboBox2->ItemIndex());
    bsSkinOfficeComboBox1->Items()->Clear();
    for (size_t i = 0; i < titles.size(); ++i) {
        TbsSkinOfficeItem* item = bsSkinOfficeComboBox1->Items()->Add();
        item->SetCaption(titles[i]);
        item->SetImageIndex(int(i % 2));
    }
    bsSkinOfficeComboBox1->Repaint();
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm1::FillParameterChoices()
{
    const TParameterChoices choices =
        ::FillParameterChoices(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(), Settings);
    FillParameterCombos<TbsSkinComboBox>(choices, {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3, bsSkinComboBox4,
                                                   bsSkinComboBox9, bsSkinComboBox10});
}

void TForm1::ApplyPresetOptions()
{
    ::ApplyPresetOptions(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                         Video_OutPut_Folder_Edit->Text(), OverwriteChosen(), Settings);
    if (TListItem* item = SelectedRow()) {
        TJobRow row{item->Caption(), *item->SubItems()};
        const auto columns = PresetRowColumns(Settings);
        for (int i = 0; i < PresetRowColumnCount; ++i) row.SetColumn(PresetRowFirstColumn + i, columns[size_t(i)]);
    }
}

void TForm1::ReadParameterChoices() { ::ReadParameterChoices(ParameterTexts(), Settings); }

void TForm1::Button2Click(TObject*) { FillPresetList(); }
void TForm1::Button18Click(TObject*) { FillParameterChoices(); }
void TForm1::Button5Click(TObject*) { ApplyPresetOptions(); }
void TForm1::Button13Click(TObject*) { ReadParameterChoices(); }
void TForm1::Button6Click(TObject*) { ResetPresetSettings(Settings); }

// The spare record: the conversion rules without a reset, volume left alone at "256".
void TForm1::Button7Click(TObject*)
{
    const int volume = AOO.AudioVolume;
    SettingsToOutputOptions(Settings, false, AOO);
    if (Settings.Video_AudioVolume == L"256") AOO.AudioVolume = volume;
}

void TForm1::ParameterChanged(TPresetParameter AParameter)
{
    TListItem* item = SelectedRow();
    if (!item) return;
    TJobRow row{item->Caption(), *item->SubItems()};
    TbsSkinComboBox* combo = ParameterCombo(AParameter);
    ApplyParameterChange(AParameter, combo->ItemIndex(), combo->Text(), Settings, &row);
    lvFiles->SetFocus();
}

void TForm1::bsSkinComboBox1Change(TObject*) { ParameterChanged(ppFrameSize); }
void TForm1::bsSkinComboBox2Change(TObject*) { ParameterChanged(ppVideoBitrate); }
void TForm1::bsSkinComboBox3Change(TObject*) { ParameterChanged(ppAudioBitrate); }
void TForm1::bsSkinComboBox4Change(TObject*) { ParameterChanged(ppAspectMode); }
void TForm1::bsSkinComboBox9Change(TObject*) { ParameterChanged(ppFrameRate); }
void TForm1::bsSkinComboBox10Change(TObject*) { ParameterChanged(ppSampleRate); }

// With a selected row the row takes the preset as the panel shows it: columns 11 to 24 from
// the preset and the six shown choices (so 16 to 21 hold what the combos show), the output
// name's extension and the position code.
void TForm1::bsSkinOfficeComboBox1Change(TObject*)
{
    FillParameterChoices();
    TListItem* item = SelectedRow();
    if (!item) return;
    const int preset = bsSkinOfficeComboBox1->ItemIndex();
    if (preset < 0 || preset >= bsSkinOfficeComboBox1->Items()->Count()) return;
    TJobRow row{item->Caption(), *item->SubItems()};
    ApplyPresetToJobRow(bsSkinOfficeComboBox2->ItemIndex(), preset,
                        bsSkinOfficeComboBox1->Items()->Items(preset)->Caption(), ParameterTexts(),
                        Video_OutPut_Folder_Edit->Text(), OverwriteChosen(), Settings, row);
    lvFiles->SetFocus();
}

void TForm1::bsSkinOfficeComboBox2Change(TObject*) { FillPresetList(); }
