// Adding jobs: one file, several files, every file of a folder. Each file is probed, given an
// engine task with its input and output records (proving it can be converted), and only then
// becomes a job row with a job slot. Failures go to the log and the file stays out.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "app/job_output_options.h"
#include "app/main_form.h"
#include "app/presets/presets.h"
#include "app/program_paths.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/list_box.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menus.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/skin_message.h"

namespace {

// Where the add's check of an output lands: the engine opens the output it is given, and a job
// must not leave a file behind before its queue runs (nor truncate an existing one), so the check
// opens a name of its own in a private folder, removed at once (the folder goes at exit).
String ScratchOutputName(const String& AExt)
{
    static std::atomic<int> counter{0};
    return ScratchFolder() + L"/job" + IntToStr(int64_t(++counter)) + AExt;
}

bool LoadLibraries(TForm1* AForm)
{
    if (AForm->DERID->AVLibLoaded()) return true;
    if (AForm->DERID->LoadAVLib(ProgramFolder() + L"LibAV")) return true;
    AForm->LogLine(AForm->DERID->LastErrMsg());
    return false;
}

void LogFramed(TForm1* AForm, const String& ALine)
{
    AForm->LogLine(L"");
    AForm->LogLine(ALine);
    AForm->LogLine(L"");
}

}  // namespace

TStringList* TForm1::GetFilenames(const String& FilePath, const String& ExtMask)
{
    if (!DirectoryExists(FilePath)) return nullptr;
    const String folder = IncludeTrailingPathDelimiter(FilePath);
    auto* list = new TStringList;
    for (const String& name : ListFiles(folder, ExtMask))
        if (FileExists(folder + name)) list->Add(folder + name);
    return list;
}

TStringList* TForm1::GetFilenamesEx(const String& FilePath, const String& ExtMask)
{
    std::unique_ptr<TStringList> list(GetFilenames(FilePath, ExtMask));
    if (!list) return nullptr;
    const String folder = IncludeTrailingPathDelimiter(FilePath);
    for (const String& sub : ListDirectories(folder)) {
        if (sub == L"." || sub == L"..") continue;
        std::unique_ptr<TStringList> inner(GetFilenames(folder + sub, ExtMask));
        if (inner) list->AddStrings(inner.get());
    }
    return list.release();
}

String TForm1::GenerateOutputFileName(const String& AFileName, const String& AFileExt)
{
    const String base = ChangeFileExt(AFileName, L"");
    if (!FileExists(base + L"_(new)" + AFileExt)) return base + L"_(new)" + AFileExt;
    for (int n = 1;; ++n) {
        const String name = base + L"_(new_" + IntToStr(int64_t(n)) + L")" + AFileExt;
        if (!FileExists(name)) return name;
    }
}

TAddJobResult TForm1::AddJob(const String& AFileName)
{
    // Every slot was taken since the last clear: the list cannot hold another job.
    const int slot = LowestFreeSlot(OO1);
    if (slot < 0) {
        LogFramed(this, L"***File open error: " + String(L"the job list is full; clear it to add more files"));
        return ajRefused;
    }
    TAVProbe* probe = DERID->AVProbe();
    if (!probe->LoadFile(AFileName)) {
        LogFramed(this, L"***File load error: " + probe->LastErrMsg());
        return ajSkipped;
    }
    Settings.Video_AddFileName = AFileName;
    TInputOptions input;
    InitInputOptions(&input);
    const int task = DERID->AddTask(AFileName, &input);
    if (task < 0) {
        LogFramed(this, L"***File open error: " + DERID->LastErrMsg());
        return ajRefused;
    }
    LogLine(L"");
    LogLine(DERID->GetTaskProbe(task, 0)->FileInfoText());
    T_Movie_PLayer_FileName = AFileName;

    // The settings of the panel as it shows them; the selected row, if any, is not touched.
    TOutputOptions output;
    InitOutputOptions(&output);
    const bool overwrite = OverwriteChosen();
    ::ApplyPresetOptions(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                         Video_OutPut_Folder_Edit->Text(), overwrite, Settings);
    ReadParameterChoices();
    // Whether an existing output is replaced is decided for every job when the queue starts.
    SettingsToOutputOptions(Settings, false, output);
    output.FileName = Settings.Video_OutPutFileName;

    TOutputOptions check = output;
    const String scratch = ScratchOutputName(ExtractFileExt(Settings.Video_OutPutFileName));
    const bool accepted = DERID->SetOutputFile(task, scratch, &check);
    DeleteFile(scratch);
    if (!accepted) {
        DERID->RemoveTask(task);
        LogFramed(this, L"***Cannot do convert, error: " + DERID->LastErrMsg());
        return ajRefused;
    }

    bsSkinPanel5->SetVisible(false);
    TListItem* item = lvFiles->Items()->Add();
    item->SetCaption(input.FileName);
    TStrings& sub = *item->SubItems();
    const TFileStreamInfo info = probe->FileStreamInfo();
    sub.Add(info.Duration > 0 ? SecToDate(info.Duration / 1000000) : String(L"N/A"));
    sub.Add(MegabytesText(std::max<int64_t>(probe->FileSize(), 0)));
    sub.Add(ExtractFileName(output.FileName));
    for (int column = ProgressColumn; column <= ConvertedColumn; ++column) sub.Add(L"");
    sub.Add(IntToStr(int64_t(task) + 1));
    sub.Add(
        IntToStr(int64_t(PresetPositionCode(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex()))));
    sub.Add(SelectionCode(ParameterIndexes()));
    // Columns 11 to 24 as the settings hold them after the choices were read back, so the row
    // converts with what the panel shows, "no video", target and norm included.
    for (const String& text : PresetRowColumns(Settings)) sub.Add(text);
    SetRowSlot(item, slot);

    lvFiles->SetFocus();
    SetJobCommandsEnabled(true);
    IO1[slot] = input;
    OO1[slot] = output;
    OO1[slot].AudioLanguage = SlotFull;
    LogFramed(this, L"***Can do convert.");
    return ajAdded;
}

namespace {

// The last row becomes the selected one (which runs the row-selection handler).
void SelectLastRow(TForm1* AForm)
{
    const int count = AForm->lvFiles->Items()->Count();
    if (count == 0) return;
    AForm->lvFiles->SetSelected(AForm->lvFiles->Items()->Item(count - 1));
    AForm->lvFiles->SetFocus();
}

// A refusal because every job slot is taken: the user is told how many files stay out.
bool RefusedAsFull(TForm1* AForm, int ANotAdded)
{
    if (LowestFreeSlot(AForm->OO1) >= 0) return false;
    AForm->ShowNotice(L"任务列表已满（最多 " + IntToStr(int64_t(JobSlotCount)) + L" 个任务），有 " +
                      IntToStr(int64_t(ANotAdded)) + L" 个文件没有添加。请先清空列表，再添加其余文件。");
    return true;
}

// Adds the files from the last to the first; false when the walk was cut short (a missing file
// or a refused one).
bool AddFilesBackwards(TForm1* AForm, TStrings* AFiles)
{
    for (int i = AFiles->Count() - 1; i >= 0; --i) {
        const String file = AFiles->Get(i);
        if (!FileExists(file)) return false;
        if (AForm->AddJob(file) == ajRefused) {
            RefusedAsFull(AForm, i + 1);
            return false;
        }
    }
    return true;
}

}  // namespace

void TForm1::btnAddClick(TObject*)
{
    ResetPresetSettings(Settings);
    if (!LoadLibraries(this)) return;
    if (!OpenDialog1->Execute()) return;
    const String file = OpenDialog1->FileName();
    if (!FileExists(file)) return;
    const TAddJobResult result = AddJob(file);
    if (result == ajAdded) SelectLastRow(this);
    if (result == ajRefused) RefusedAsFull(this, 1);
}

void TForm1::Button8Click(TObject*)
{
    ResetPresetSettings(Settings);
    if (!LoadLibraries(this)) return;
    if (!OpenDialog2->Execute()) return;
    if (!FileExists(OpenDialog2->FileName())) return;
    if (AddFilesBackwards(this, OpenDialog2->Files())) SelectLastRow(this);
}

void TForm1::Button12Click(TObject*)
{
    const int before = lvFiles->Items()->Count();
    ResetPresetSettings(Settings);
    if (!LoadLibraries(this)) return;
    if (!bsSkinSelectDirectoryDialog1->Execute()) return;
    const String folder = bsSkinSelectDirectoryDialog1->Directory();
    if (folder.empty() || !DirectoryExists(folder)) return;
    ListBox1->Items()->Clear();
    std::unique_ptr<TStringList> files(GetFilenames(folder, L"*.*"));
    if (!files) return;
    // Sorted without regard to case, so a folder adds the same way on every file system.
    std::vector<String> sorted;
    for (int i = 0; i < files->Count(); ++i) sorted.push_back(files->Get(i));
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    for (const String& file : sorted) ListBox1->Items()->Add(file);
    if (!AddFilesBackwards(this, ListBox1->Items())) return;
    if (lvFiles->Items()->Count() > 0) SelectLastRow(this);
    if (lvFiles->Items()->Count() <= before)
        bsSkinMessage1->MessageDlg2(L"在该目录没有发现可以用的视频或音频文件！", L"提示", mtInformation, {mbOK}, 0);
}
