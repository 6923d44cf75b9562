// The queue: start, pause, resume and stop, each task's progress in its row, the end of a task
// and of the whole queue, the engine log into the log memo, and closing the window.
#include "app/job_data.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menus.h"
#include "platform/win/shell_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"

void TForm1::bsSkinButton2Click(TObject* Sender) { btnStartClick(Sender); }
void TForm1::bsSkinButton10Click(TObject* Sender) { btnStopClick(Sender); }
void TForm1::bsSkinButton11Click(TObject* Sender) { btnPauseClick(Sender); }
void TForm1::bsSkinButton12Click(TObject* Sender) { btnResumeClick(Sender); }

void TForm1::btnStartClick(TObject*)
{
    if (Form5) {
        const std::pair<TbsSkinCheckRadioBox*, TThreadPriority> priorities[] = {
            {Form5->bsSkinCheckRadioBox9, tpIdle},
            {Form5->bsSkinCheckRadioBox10, tpLowest},
            {Form5->bsSkinCheckRadioBox11, tpLower},
            {Form5->bsSkinCheckRadioBox12, tpNormal}};
        for (const auto& [box, priority] : priorities)
            if (box->Checked()) DERID->SetThreadPriority(priority);
    }
    button28Click(this);
    SetAddCommandsEnabled(false);
    Button22Click(this);
    SetJobCommandsEnabled(false);
    const bool threads = chkThreadMode->Checked();
    SetButtonEnabled(bsSkinButton10, threads);
    SetButtonEnabled(bsSkinButton11, threads);
    SetButtonEnabled(bsSkinButton12, false);
    N13->SetEnabled(threads);
    N14->SetEnabled(threads);
    N16->SetEnabled(false);
    btnStop->SetEnabled(threads);
    btnPause->SetEnabled(threads);
    btnResume->SetEnabled(false);
    int count = 1;
    if (Form5 && Form5->bsSkinCheckRadioBox7->Checked() && !TryStrToInt(Form5->bsSkinComboBox2->Text(), count))
        count = 1;
    DERID->Start(count);
}

void TForm1::button28Click(TObject*)
{
    DERID->ClearTasks();
    for (int i = 0; i < lvFiles->Items()->Count(); ++i) {
        TListItem* item = lvFiles->Items()->Item(i);
        const int slot = RowSlot(item);
        if (slot < 0 || slot >= JobSlotCount) continue;
        IO1[slot].FileName = item->Caption();
        TJobRow row{item->Caption(), *item->SubItems()};
        RowToOutputOptions(row, OO1[slot]);
        const int task = DERID->AddTask(item->Caption(), &IO1[slot]);
        TOutputOptions output = OO1[slot];
        output.AudioLanguage.clear();
        DERID->SetOutputFile(task, FileOutPutPath + L"/" + row.Column(OutputNameColumn), &output);
    }
}

void TForm1::Button14Click(TObject*)
{
    DERID->ClearTasks();
    for (int slot = 0; slot < JobSlotCount; ++slot) {
        if (OO1[slot].AudioLanguage != SlotFull) continue;
        const int task = DERID->AddTask(IO1[slot].FileName, &IO1[slot]);
        TOutputOptions output = OO1[slot];
        output.AudioLanguage.clear();
        DERID->SetOutputFile(task, FileOutPutPath + L"/" + ExtractFileName(OO1[slot].FileName), &output);
    }
}

void TForm1::btnPauseClick(TObject*)
{
    SetButtonEnabled(bsSkinButton11, false);
    SetButtonEnabled(bsSkinButton12, true);
    N14->SetEnabled(false);
    N16->SetEnabled(true);
    btnPause->SetEnabled(false);
    btnResume->SetEnabled(true);
    DERID->Pause();
    bsSkinButton11->SetVisible(false);
    bsSkinButton12->SetVisible(true);
}

void TForm1::btnResumeClick(TObject*)
{
    SetButtonEnabled(bsSkinButton11, true);
    SetButtonEnabled(bsSkinButton12, false);
    N14->SetEnabled(true);
    N16->SetEnabled(false);
    btnPause->SetEnabled(true);
    btnResume->SetEnabled(false);
    DERID->Resume();
    bsSkinButton11->SetVisible(true);
    bsSkinButton12->SetVisible(false);
}

void TForm1::btnStopClick(TObject*)
{
    SetButtonEnabled(bsSkinButton10, false);
    N13->SetEnabled(false);
    btnStop->SetEnabled(false);
    SetButtonEnabled(bsSkinButton2, true);
    Button23Click(this);
    DERID->Stop(true);
}

void TForm1::DERIDProgress(TObject*, PProgressInfo AInfo)
{
    if (AInfo->TaskIndex < 0 || AInfo->TaskIndex >= lvFiles->Items()->Count()) return;
    TListItem* item = lvFiles->Items()->Item(AInfo->TaskIndex);
    TJobRow row{item->Caption(), *item->SubItems()};
    row.SetColumn(ProgressColumn, AInfo->TotalDuration > 0
                                      ? IntToStr(AInfo->CurrentDuration * 100 / AInfo->TotalDuration) + L"%"
                                      : String(L"N/A"));
    if (AInfo->FPS > 0) row.SetColumn(FpsColumn, IntToStr(int64_t(AInfo->FPS)));
    row.SetColumn(TimeColumn, SecToDate(AInfo->CurrentDuration / 1000000));
    row.SetColumn(ConvertedColumn, MegabytesText(AInfo->CurrentSize));
}

void TForm1::DERIDTerminate(TObject*, const TTerminateInfo& AInfo)
{
    if (AInfo.TaskIndex == -1) {
        SetButtonEnabled(bsSkinButton7, false);
        SetButtonEnabled(bsSkinButton21, false);
        N9->SetEnabled(false);
        N26->SetEnabled(false);
        btnRemove->SetEnabled(false);
        SetButtonEnabled(bsSkinButton8, true);
        N10->SetEnabled(true);
        btnClear->SetEnabled(true);
        for (TbsSkinButton* b : {bsSkinButton10, bsSkinButton11, bsSkinButton12}) SetButtonEnabled(b, false);
        for (TMenuItem* item : {N13, N14, N16}) item->SetEnabled(false);
        for (TButton* b : {btnStop, btnPause, btnResume}) b->SetEnabled(false);
        Button23Click(this);
        if (Form5 && Form5->bsSkinCheckRadioBox1->Checked()) Button20Click(this);
    } else if (AInfo.Finished && AInfo.TaskIndex < lvFiles->Items()->Count()) {
        TListItem* item = lvFiles->Items()->Item(AInfo.TaskIndex);
        TJobRow{item->Caption(), *item->SubItems()}.SetColumn(ProgressColumn, L"100%");
    }
    if (AInfo.Exception) Application->MessageBox(AInfo.ExceptionMsg, Application->Title(), 48);
}

void TForm1::Button20Click(TObject*)
{
    ShellExecuteW(Handle(), nullptr, Video_OutPut_Folder_Edit->Text().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::Button22Click(TObject*)
{
    for (int i = 0; i < PresetParameterCount; ++i) ParameterCombo(TPresetParameter(i))->SetEnabled(false);
    bsSkinOfficeComboBox2->SetEnabled(false);
    bsSkinOfficeComboBox2->Repaint();
    bsSkinOfficeComboBox1->SetEnabled(false);
    bsSkinButton5->SetEnabled(false);
}

void TForm1::Button23Click(TObject*)
{
    for (int i = 0; i < PresetParameterCount; ++i) ParameterCombo(TPresetParameter(i))->SetEnabled(true);
    bsSkinOfficeComboBox2->SetEnabled(true);
    bsSkinOfficeComboBox2->Repaint();
    bsSkinOfficeComboBox1->SetEnabled(true);
    bsSkinButton5->SetEnabled(true);
}

void TForm1::Button11Click(TObject*) {}
void TForm1::Button19Click(TObject*) {}
void TForm1::Button24Click(TObject*) {}

void TForm1::chkPreviewClick(TObject*) { DERID->SetPreview(chkPreview->Checked()); }

void TForm1::FFLoggerLog(TObject*, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg)
{
    LogLine(L"#" + IntToStr(int64_t(AThreadID)) + L"." + IntToStr(int64_t(ALogLevel)) + L": " + ALogMsg);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->OnHook = nullptr;
    DERID->SetOnCustomHook(nullptr);
    DERID->SetOnProgress(nullptr);
    DERID->SetOnTerminate(nullptr);
    DERID->Stop(true);
    FFLogger->SetOnLog(nullptr);
    CanClose = true;
}
