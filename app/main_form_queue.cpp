// The queue: start, pause, resume and stop, each task's progress in its row, the end of a task
// and of the whole queue with its end action, the engine log into the log memo, and closing the
// window.
//
// The tasks are rebuilt from the rows at every start. A row whose task cannot be made is marked
// failed and left out, so task numbers may skip rows: FTaskRows maps each task to its row, and
// the progress and end handlers address rows only through it.
#include <algorithm>

#include "app/job_data.h"
#include "app/job_output_options.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program_paths.h"
#include "app/queue_outputs.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menus.h"
#include "platform/win/power_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/sound_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"

namespace {

constexpr int MaxThreadCount = 19;

}  // namespace

void TForm1::bsSkinButton2Click(TObject* Sender) { btnStartClick(Sender); }
void TForm1::bsSkinButton10Click(TObject* Sender) { btnStopClick(Sender); }
void TForm1::bsSkinButton11Click(TObject* Sender) { btnPauseClick(Sender); }
void TForm1::bsSkinButton12Click(TObject* Sender) { btnResumeClick(Sender); }

void TForm1::btnStartClick(TObject*)
{
    // A run in progress, or one whose stop is still being handled (Stop serves the message loop
    // while it waits), keeps its tasks: a second start would tear them down under it.
    if (FQueueRunning || FQueueStopping) return;
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
    if (DERID->TasksCount() == 0) {
        LogLine(L"***Cannot do convert, error: no job can be converted");
        return;
    }
    SetAddCommandsEnabled(false);
    Button22Click(this);
    SetJobCommandsEnabled(false);
    // Tasks are tied to rows by position in FTaskRows; rows keep their places while it runs.
    SetButtonEnabled(bsSkinButton3, false);
    SetButtonEnabled(bsSkinButton4, false);
    N7->SetEnabled(false);
    N8->SetEnabled(false);
    const bool threads = chkThreadMode->Checked();
    SetButtonEnabled(bsSkinButton10, threads);
    SetButtonEnabled(bsSkinButton11, threads);
    SetButtonEnabled(bsSkinButton12, false);
    bsSkinButton11->SetVisible(true);
    bsSkinButton12->SetVisible(false);
    N13->SetEnabled(threads);
    N14->SetEnabled(threads);
    N16->SetEnabled(false);
    btnStop->SetEnabled(threads);
    btnPause->SetEnabled(threads);
    btnResume->SetEnabled(false);
    int count = 1;
    if (Form5 && Form5->bsSkinCheckRadioBox7->Checked() && !TryStrToInt(Form5->bsSkinComboBox2->Text(), count))
        count = 1;
    count = std::clamp(count, 1, MaxThreadCount);
    FQueueRunning = true;
    FQueueStopped = false;
    DERID->Start(count);
}

void TForm1::button28Click(TObject*)
{
    DERID->ClearTasks();
    FTaskRows.clear();
    TListItems* items = lvFiles->Items();
    std::vector<TQueueJobFiles> files;
    for (int i = 0; i < items->Count(); ++i) {
        TListItem* item = items->Item(i);
        const String output =
            FileOutPutPath + L"/" + TJobRow{item->Caption(), *item->SubItems()}.Column(OutputNameColumn);
        files.push_back({item->Caption(), output, FWrittenOutputs.Owns(RowSlot(item), item->Caption(), output)});
    }
    // The overwrite choice in force now decides for every job; a job may always replace what an
    // earlier run wrote for it, under the name its row already shows.
    const bool overwrite = OverwriteChosen();
    const std::vector<String> outputs = ResolveQueueOutputs(files, overwrite);

    for (int i = 0; i < items->Count(); ++i) {
        TListItem* item = items->Item(i);
        TJobRow row{item->Caption(), *item->SubItems()};
        for (int column = ProgressColumn; column <= ConvertedColumn; ++column) row.SetColumn(column, L"");
        auto refuse = [&](const String& AReason) {
            row.SetColumn(ProgressColumn, L"失败: " + AReason);
            LogLine(L"***Cannot do convert, error: " + AReason);
        };
        const int slot = RowSlot(item);
        if (slot < 0 || slot >= JobSlotCount) {
            refuse(L"the row has no job slot");
            continue;
        }
        // The name the user sees is the name the engine writes.
        if (outputs[i] != files[i].Output) row.SetColumn(OutputNameColumn, ExtractFileName(outputs[i]));
        IO1[slot].FileName = item->Caption();
        try {
            RowToOutputOptions(row, OO1[slot]);
        } catch (const Exception& e) {
            refuse(e.Message());
            continue;
        }
        const int task = DERID->AddTask(item->Caption(), &IO1[slot]);
        if (task < 0) {
            refuse(DERID->LastErrMsg());
            continue;
        }
        TOutputOptions output = OO1[slot];
        output.AudioLanguage.clear();
        output.FileName = outputs[i];
        SetOverwriteOption(output, overwrite || (files[i].Own && outputs[i] == files[i].Output));
        if (!DERID->SetOutputFile(task, outputs[i], &output)) {
            const String reason = DERID->LastErrMsg();
            DERID->RemoveTask(task);
            refuse(reason);
            continue;
        }
        FTaskRows.push_back(item);
    }
}

void TForm1::Button14Click(TObject*)
{
    DERID->ClearTasks();
    FTaskRows.clear();
    for (int slot = 0; slot < JobSlotCount; ++slot) {
        if (OO1[slot].AudioLanguage != SlotFull) continue;
        const int task = DERID->AddTask(IO1[slot].FileName, &IO1[slot]);
        if (task < 0) continue;
        TOutputOptions output = OO1[slot];
        output.AudioLanguage.clear();
        if (!DERID->SetOutputFile(task, FileOutPutPath + L"/" + ExtractFileName(OO1[slot].FileName), &output))
            DERID->RemoveTask(task);
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
    if (FQueueStopping) return;
    FQueueStopping = true;
    FQueueStopped = FQueueRunning;
    SetButtonEnabled(bsSkinButton10, false);
    N13->SetEnabled(false);
    btnStop->SetEnabled(false);
    Button23Click(this);
    Button24Click(this);
    // "开始" comes back with the queue's end, not here: Stop serves the message loop while the
    // tasks break off, and a start meanwhile would rebuild the tasks under them.
    DERID->Stop(true);
    FQueueStopping = false;
    if (!FQueueRunning && FQueueStopped) SetButtonEnabled(bsSkinButton2, true);
}

TListItem* TForm1::TaskRow(int ATaskIndex) const
{
    if (ATaskIndex < 0 || ATaskIndex >= int(FTaskRows.size())) return nullptr;
    TListItem* item = FTaskRows[ATaskIndex];
    return lvFiles->Items()->IndexOf(item) >= 0 ? item : nullptr;
}

void TForm1::DERIDProgress(TObject*, PProgressInfo AInfo)
{
    TListItem* item = TaskRow(AInfo->TaskIndex);
    if (!item) return;
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
        // Every task has reported its end; the rows may now be cleared or moved.
        FQueueRunning = false;
        for (int task = 0; task < int(FTaskRows.size()); ++task) NoteWrittenOutputs(task);
        FTaskRows.clear();
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
        bsSkinButton11->SetVisible(true);
        bsSkinButton12->SetVisible(false);
        SetButtonEnabled(bsSkinButton3, true);
        SetButtonEnabled(bsSkinButton4, true);
        N7->SetEnabled(true);
        N8->SetEnabled(true);
        Button23Click(this);
        Button24Click(this);
        // While the stop is still being handled, its end re-enables "开始".
        if (FQueueStopped && !FQueueStopping) SetButtonEnabled(bsSkinButton2, true);
        if (Form5) {
            if (Form5->bsSkinCheckRadioBox1->Checked())
                Button20Click(this);
            else if (Form5->bsSkinCheckRadioBox2->Checked()) {
                // Powering off is for a queue that ran to its end; a user who pressed Stop is
                // still at the machine.
                if (!FQueueStopped) Button25Click(this);
            } else if (Form5->bsSkinCheckRadioBox4->Checked())
                Button29Click(this);
        }
    } else if (TListItem* item = TaskRow(AInfo.TaskIndex)) {
        TJobRow row{item->Caption(), *item->SubItems()};
        if (AInfo.Finished)
            row.SetColumn(ProgressColumn, L"100%");
        else if (AInfo.Exception)
            row.SetColumn(ProgressColumn, L"失败");
        else {
            const String reached = row.Column(ProgressColumn);
            // A task stopped before it wrote anything has already removed what it created; a
            // file it never created is not its own to remove.
            row.SetColumn(ProgressColumn, reached.empty() ? String(L"未完成") : reached + L" 未完成");
        }
        NoteWrittenOutputs(AInfo.TaskIndex);
    }
    if (AInfo.Exception) {
        // What failed, for which file, then the libraries' own text.
        TListItem* item = TaskRow(AInfo.TaskIndex);
        const String what = item ? L"文件“" + ExtractFileName(item->Caption()) + L"”转换失败：\n" : L"转换失败：\n";
        ShowFailure(what + AInfo.ExceptionMsg);
    }
}

void TForm1::NoteWrittenOutputs(int ATaskIndex)
{
    TListItem* item = TaskRow(ATaskIndex);
    if (!item || ATaskIndex >= DERID->TasksCount()) return;
    for (const String& output : DERID->Tasks(ATaskIndex)->CreatedOutputs())
        FWrittenOutputs.Note(RowSlot(item), item->Caption(), output);
}

void TForm1::Button20Click(TObject*)
{
    ShellExecuteW(Handle(), nullptr, Video_OutPut_Folder_Edit->Text().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::Button25Click(TObject*)
{
    SetPrivilege(SE_SHUTDOWN_NAME, true);
    // A normal power-off: programs with unsaved work may still object.
    if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0)) SetPrivilege(SE_SHUTDOWN_NAME, false);
}

bool TForm1::SetPrivilege(const String& APrivilegeName, bool AEnable)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    bool result = false;
    TOKEN_PRIVILEGES privileges;
    if (LookupPrivilegeValueW(nullptr, APrivilegeName.c_str(), &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = AEnable ? SE_PRIVILEGE_ENABLED : 0;
        TOKEN_PRIVILEGES previous;
        DWORD length = 0;
        result = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous), &previous, &length);
    }
    CloseHandle(token);
    return result;
}

void TForm1::Button29Click(TObject*)
{
    const String sound = ProgramFile(L"sounds/ring001.wav");
    if (FileExists(sound)) PlaySoundW(sound.c_str(), nullptr, SND_ASYNC);
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
    FQueueRunning = false;
    CanClose = true;
}
