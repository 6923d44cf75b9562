// Editing the job list: renaming a job's output in place, moving rows, removing one job,
// clearing the list, the per-file settings dialog, and selecting a row (which brings its preset
// and choices back into the format panel and opens its file in the preview).
#include "app/filesettings/file_settings_form.h"
#include "app/main_form.h"
#include "app/presets/presets.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menus.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_slider.h"
#include "skin/dialogs/skin_message.h"

namespace {

// A new output name the file system can hold as one name in the output folder.
bool AcceptableName(const String& AName)
{
    if (AName.empty() || AName == L"." || AName == L"..") return false;
    for (wchar_t c : AName)
        if (c == L'/' || c < 0x20 || c == 0x7F) return false;
    return true;
}

void Inform(TForm1* AForm, const String& AText)
{
    AForm->bsSkinMessage1->MessageDlg2(AText, L"提示", mtInformation, {mbOK}, 0);
}

// Exchanges the whole content of two rows: caption, sub-items and the slot riding with them.
void SwapRows(TListItem* A, TListItem* B)
{
    const String caption = A->Caption();
    A->SetCaption(B->Caption());
    B->SetCaption(caption);
    TStringList sub;
    sub.Assign(A->SubItems());
    A->SubItems()->Assign(B->SubItems());
    B->SubItems()->Assign(&sub);
    void* data = A->Data();
    A->SetData(B->Data());
    B->SetData(data);
}

}  // namespace

TListItem* TForm1::SelectedRow() const { return lvFiles->Selected(); }

void TForm1::SetJobCommandsEnabled(bool AEnabled)
{
    SetButtonEnabled(bsSkinButton7, AEnabled);
    SetButtonEnabled(bsSkinButton21, AEnabled);
    SetButtonEnabled(bsSkinButton8, AEnabled);
    SetButtonEnabled(bsSkinButton2, AEnabled);
    for (TMenuItem* item : {N9, N26, N10, N12}) item->SetEnabled(AEnabled);
    for (TButton* twin : {btnRemove, btnClear, btnStart}) twin->SetEnabled(AEnabled);
}

void TForm1::SetAddCommandsEnabled(bool AEnabled)
{
    // No hot or pressed look survives the change (the button was just used to add).
    bsSkinMenuSpeedButton1->RefreshButton();
    bsSkinMenuSpeedButton1->SetEnabled(AEnabled);
    btnAdd->SetEnabled(AEnabled);
    for (TMenuItem* item : {N2, N3, N21, N1111, N2222, N3331}) item->SetEnabled(AEnabled);
}

// ---- rename ---------------------------------------------------------------------------------

void TForm1::bsSkinButton21Click(TObject* Sender) { N26Click(Sender); }

void TForm1::N26Click(TObject* Sender)
{
    if (!SelectedRow()) return Inform(this, L"请先选中您需要重命名的项目！");
    lvFilesDblClick(Sender);
}

void TForm1::lvFilesDblClick(TObject*)
{
    TListItem* item = SelectedRow();
    if (!item) return;
    const int left =
        lvFiles->Column(0)->Width() + lvFiles->Left() + lvFiles->Column(1)->Width() + lvFiles->Column(2)->Width() + 2;
    edt->SetBounds(left, lvFiles->Top() + item->Top(), lvFiles->Column(3)->Width(), edt->Height());
    edt->SetText(ChangeFileExt(item->SubItems()->Get(OutputNameColumn - 1), L""));
    FRenameCancelled = false;
    edt->SetVisible(true);
    edt->BringToFront();
    edt->SetFocus();
}

// Enter finishes a rename as leaving the box does (a refused name keeps the box and its focus);
// Esc closes the box and keeps the old name.
void TForm1::edtKeyPress(TObject*, wchar_t& Key)
{
    if (Key == L'\r') {
        Key = 0;
        if (AcceptableName(edt->Text())) lvFiles->SetFocus();
    } else if (Key == 27) {
        Key = 0;
        FRenameCancelled = true;
        lvFiles->SetFocus();
    }
}

// A name that is empty, "." or "..", or holds "/" or a control character is refused: the box
// stays open and the row keeps its name.
void TForm1::edtExit(TObject*)
{
    if (FRenameCancelled) {
        FRenameCancelled = false;
        edt->SetVisible(false);
        return;
    }
    const String name = edt->Text();
    if (!AcceptableName(name)) return;
    TListItem* item = SelectedRow();
    edt->SetVisible(false);
    if (!item) return;
    const int preset = bsSkinOfficeComboBox1->ItemIndex();
    const String ext = preset >= 0 && preset < bsSkinOfficeComboBox1->Items()->Count()
                           ? CaptionExtension(bsSkinOfficeComboBox1->Items()->Items(preset)->Caption())
                           : ExtractFileExt(item->SubItems()->Get(OutputNameColumn - 1));
    TJobRow row{item->Caption(), *item->SubItems()};
    row.SetColumn(OutputNameColumn, name + ext);
    const int slot = RowSlot(item);
    if (slot >= 0 && slot < JobSlotCount)
        OO1[slot].FileName = Video_OutPut_Folder_Edit->Text() + L"/" + row.Column(OutputNameColumn);
}

// ---- moving ---------------------------------------------------------------------------------

void TForm1::bsSkinButton3Click(TObject*)
{
    TListItem* item = SelectedRow();
    if (!item || item->Index() == 0 || DERID->Working()) return;
    TListItem* above = lvFiles->Items()->Item(item->Index() - 1);
    lvFiles->Items()->BeginUpdate();
    SwapRows(item, above);
    lvFiles->Items()->EndUpdate();
    lvFiles->SetSelected(above);
    lvFiles->SetFocus();
}

void TForm1::bsSkinButton4Click(TObject*)
{
    TListItem* item = SelectedRow();
    if (!item || item->Index() >= lvFiles->Items()->Count() - 1 || DERID->Working()) return;
    TListItem* below = lvFiles->Items()->Item(item->Index() + 1);
    lvFiles->Items()->BeginUpdate();
    SwapRows(item, below);
    lvFiles->Items()->EndUpdate();
    lvFiles->SetSelected(below);
    lvFiles->SetFocus();
}

// The same move up; the slots stay with their rows, so there is nothing more to exchange.
void TForm1::Button27Click(TObject* Sender) { bsSkinButton3Click(Sender); }

// ---- remove and clear -----------------------------------------------------------------------

void TForm1::bsSkinButton7Click(TObject* Sender) { btnRemoveClick(Sender); }

void TForm1::btnRemoveClick(TObject*)
{
    TListItem* item = SelectedRow();
    if (!item) return Inform(this, L"请先选择您需要删除的项目！");
    int number = 0;
    TryStrToInt(item->SubItems()->Get(TaskNumberColumn - 1), number);
    if (number >= 1 && number <= DERID->TasksCount()) DERID->RemoveTask(number - 1);
    const int slot = RowSlot(item);
    if (slot >= 0 && slot < JobSlotCount) OO1[slot].AudioLanguage = SlotDeleted;
    item->Delete();
    for (int i = 0; i < lvFiles->Items()->Count(); ++i) {
        TStrings* sub = lvFiles->Items()->Item(i)->SubItems();
        int other = 0;
        if (TryStrToInt(sub->Get(TaskNumberColumn - 1), other) && other > number)
            sub->Put(TaskNumberColumn - 1, IntToStr(int64_t(other) - 1));
    }
    const bool rowsLeft = lvFiles->Items()->Count() > 0;
    SetJobCommandsEnabled(rowsLeft);
    lvFiles->SetFocus();
    if (rowsLeft) {
        lvFiles->SetSelected(lvFiles->Items()->Item(0));
        lvFiles->SetFocus();
    } else {
        bsSkinPanel5->SetVisible(true);
        FFPlayer->Stop(true);
        bsSkinSlider1->SetValue(0);
    }
}

void TForm1::bsSkinButton8Click(TObject* Sender) { btnClearClick(Sender); }

void TForm1::btnClearClick(TObject*)
{
    DERID->ClearTasks();
    lvFiles->Items()->Clear();
    SetAddCommandsEnabled(true);
    SetJobCommandsEnabled(false);
    Button15Click(this);
    bsSkinPanel5->SetVisible(true);
    FFPlayer->Stop(true);
    bsSkinSlider1->SetValue(0);
}

// ---- per-file settings ----------------------------------------------------------------------

void TForm1::bsSkinButton24Click(TObject*)
{
    if (!Form7) return;
    TFileSettingsIndexes indexes;
    indexes[0] = bsSkinOfficeComboBox2->ItemIndex();
    indexes[1] = bsSkinOfficeComboBox1->ItemIndex();
    for (int i = 0; i < PresetParameterCount; ++i)
        indexes[size_t(2 + i)] = ParameterCombo(ChoiceCopyOrder[i])->ItemIndex();
    TListItem* item = SelectedRow();
    std::unique_ptr<TJobRow> row(item ? new TJobRow{item->Caption(), *item->SubItems()} : nullptr);
    if (!Form7->ExecuteForJob(indexes, Settings, row.get(), Video_OutPut_Folder_Edit->Text(), OverwriteChosen()))
        return;
    bsSkinOfficeComboBox2->SetItemIndex(indexes[0]);
    bsSkinOfficeComboBox1->SetItemIndex(indexes[1]);
    for (int i = 0; i < PresetParameterCount; ++i)
        ParameterCombo(ChoiceCopyOrder[i])->SetItemIndex(indexes[size_t(2 + i)]);
}

// ---- selection ------------------------------------------------------------------------------

void TForm1::lvFilesSelectItem(TObject*, TListItem*, bool Selected)
{
    if (!Selected) return;
    try {
        TListItem* item = SelectedRow();
        if (!item) return;
        const TPresetPosition position =
            DecodePresetPositionCode(StrToInt(item->SubItems()->Get(PositionCodeColumn - 1)));
        const auto choices = DecodeSelectionCode(item->SubItems()->Get(SelectionCodeColumn - 1));
        bsSkinOfficeComboBox2->SetItemIndex(position.CategoryIndex);
        bsSkinOfficeComboBox1->SetItemIndex(position.PresetIndex);
        for (TPresetParameter parameter :
             {ppFrameSize, ppVideoBitrate, ppAudioBitrate, ppAspectMode, ppFrameRate, ppSampleRate})
            ParameterCombo(parameter)->SetItemIndex(choices[parameter]);
        bsSkinSlider1->SetValue(0);
        T_Movie_PLayer_FileName = item->Caption();
        Button31Click(this);
    } catch (const std::exception&) {
        // A row the panel cannot show leaves the panel as it is.
    }
}

void TForm1::lvFilesClick(TObject*)
{
    if (!SelectedRow()) FFPlayer->Stop(true);
}

void TForm1::Video_OutPut_Folder_EditClick(TObject*) { lvFiles->SetFocus(); }
void TForm1::bsSkinCheckRadioBox1Click(TObject*) { lvFiles->SetFocus(); }
void TForm1::bsSkinCheckRadioBox2Click(TObject*) { lvFiles->SetFocus(); }
void TForm1::bsSkinPanel1Click(TObject*) {}
