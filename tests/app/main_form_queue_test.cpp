// The main window's queue on real generated media: a folder of files added, converted with two
// threads and probed; pause, resume and stop with the commands available after each; rows whose
// task cannot be made; the end actions through the platform's test hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/av_probe.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/menus.h"
#include "platform/win/power_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/sound_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "tests/app/main_window_fixture.h"
#include "tests/engine/media_test_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/modal_script.h"

namespace {

using engine_test::TestMedia;
using engine_test::WriteTestMedia;

// What a probe finds in an output.
struct TProbed {
    bool Opened = false;
    std::string Format;
    int VideoStreams = 0, AudioStreams = 0;
    int Width = 0, Height = 0;
};

TProbed Probe(const std::string& APath)
{
    TProbed facts;
    TAVProbe probe(nullptr);
    if (!probe.LoadFile(Utf8ToString(APath))) return facts;
    facts.Opened = true;
    AVFormatContext* file = probe.FileHandle();
    facts.Format = file->iformat->name;
    for (unsigned i = 0; i < file->nb_streams; ++i) {
        const AVCodecParameters* par = file->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++facts.VideoStreams;
            facts.Width = par->width;
            facts.Height = par->height;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO)
            ++facts.AudioStreams;
    }
    return facts;
}

// The commands of the availability table that can be used.
struct TAvailable {
    bool Add, Remove, Rename, Clear, Start, Stop, Pause, Resume, Move;
    bool operator==(const TAvailable&) const = default;
};

std::ostream& operator<<(std::ostream& AOut, const TAvailable& A)
{
    return AOut << "add " << A.Add << " remove " << A.Remove << " rename " << A.Rename << " clear " << A.Clear
                << " start " << A.Start << " stop " << A.Stop << " pause " << A.Pause << " resume " << A.Resume
                << " move " << A.Move;
}

class QueueWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // No test opens a folder, plays a sound or powers anything off: the hooks answer.
        vxwin::SetShellExecuteHook([this](const vxwin::ShellExecuteCall& ACall) {
            ShellCalls.push_back(ACall.file);
            return LONG_PTR(42);
        });
        vxwin::SetPlaySoundHook([this](const vxwin::PlaySoundCall& ACall) {
            Sounds.push_back(ACall);
            return TRUE;
        });
        vxwin::SetPowerRequestHook([this](vxwin::PowerRequest ARequest) {
            PowerRequests.push_back(ARequest);
            return TRUE;
        });
    }

    void TearDown() override
    {
        if (Main) Main->DERID->Stop(true);
        MainWindowFixture::TearDown();
        vxwin::SetShellExecuteHook(nullptr);
        vxwin::SetPlaySoundHook(nullptr);
        vxwin::SetPowerRequestHook(nullptr);
    }

    // The window started with the libraries loaded; the queue's events counted on the way to
    // the window's own handlers.
    void StartWindow()
    {
        Start();
        ASSERT_TRUE(Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV")) << StringToUtf8(Main->DERID->LastErrMsg());
        auto terminate = Main->DERID->OnTerminate();
        Main->DERID->SetOnTerminate([this, terminate](TObject* Sender, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex == -1) ++QueueEnds;
            terminate(Sender, AInfo);
        });
        auto progress = Main->DERID->OnProgress();
        Main->DERID->SetOnProgress([this, progress](TObject* Sender, PProgressInfo AInfo) {
            ++ProgressReports;
            progress(Sender, AInfo);
        });
    }

    std::string MediaFile(const std::string& AName, int AWidth, int AHeight, int ARate, int AFrames)
    {
        TestMedia media;
        media.Width = AWidth;
        media.Height = AHeight;
        media.SampleRate = ARate;
        media.Frames = AFrames;
        std::filesystem::create_directories(std::filesystem::path(Root.file(AName)).parent_path());
        EXPECT_EQ(WriteTestMedia(Root.file(AName), media), "") << AName;
        return Root.file(AName);
    }

    bool WaitForQueueEnd(int AEnds = 1)
    {
        return WaitFor([&] { return QueueEnds >= AEnds; });
    }

    String Cell(int ARow, int AColumn) const
    {
        TListItem* item = Main->lvFiles->Items()->Item(ARow);
        return TJobRow{item->Caption(), *item->SubItems()}.Column(AColumn);
    }
    std::string OutputOf(int ARow) const
    {
        return StringToUtf8(Main->FileOutPutPath + L"/" + Cell(ARow, OutputNameColumn));
    }
    std::string LogText() const { return StringToUtf8(Main->mmoLog->Lines()->Text()); }
    bool LogHas(const String& AText) const { return Main->mmoLog->Lines()->Text().find(AText) != String::npos; }

    // Which commands of the availability table can be used now.
    TAvailable Available() const
    {
        return {Main->bsSkinMenuSpeedButton1->Enabled() && Main->N2->Enabled(),
                Main->bsSkinButton7->Enabled() && Main->N9->Enabled(),
                Main->bsSkinButton21->Enabled(),
                Main->bsSkinButton8->Enabled() && Main->N10->Enabled(),
                Main->bsSkinButton2->Enabled(),
                Main->bsSkinButton10->Enabled() && Main->N13->Enabled(),
                Main->bsSkinButton11->Enabled() && Main->bsSkinButton11->Visible() && Main->N14->Enabled(),
                Main->bsSkinButton12->Enabled() && Main->bsSkinButton12->Visible() && Main->N16->Enabled(),
                Main->bsSkinButton3->Enabled() && Main->N7->Enabled()};
    }

    void ChooseOverwrite(bool AOverwrite)
    {
        Form5->bsSkinCheckRadioBox3->SetChecked(AOverwrite);
        Form5->bsSkinCheckRadioBox6->SetChecked(!AOverwrite);
        ASSERT_EQ(Main->OverwriteChosen(), AOverwrite);
    }
    std::vector<std::string> FolderFiles(const std::string& AFolder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(AFolder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    double DurationOf(const std::string& APath) const
    {
        TAVProbe probe(nullptr);
        return probe.LoadFile(Utf8ToString(APath)) ? probe.FileStreamInfo().Duration / 1e6 : -1.0;
    }

    void SetThreads(int ACount)
    {
        Form5->bsSkinCheckRadioBox7->SetChecked(true);
        Form5->bsSkinComboBox2->SetItemIndex(ACount - 1);
    }
    void ChooseEndAction(TbsSkinCheckRadioBox* ABox)
    {
        for (TbsSkinCheckRadioBox* box : {Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2,
                                          Form5->bsSkinCheckRadioBox4, Form5->bsSkinCheckRadioBox5})
            box->SetChecked(box == ABox);
    }

    std::vector<std::wstring> ShellCalls;
    std::vector<vxwin::PlaySoundCall> Sounds;
    std::vector<vxwin::PowerRequest> PowerRequests;
    int QueueEnds = 0;
    int ProgressReports = 0;
};

//                                   add    remove rename clear  start  stop   pause  resume move
constexpr TAvailable Waiting{true, true, true, true, true, false, false, false, true};
constexpr TAvailable Running{false, false, false, false, false, true, true, false, false};
constexpr TAvailable Paused{false, false, false, false, false, true, false, true, false};
constexpr TAvailable Ended{false, false, false, true, false, false, false, false, true};
constexpr TAvailable EndedAfterStop{false, false, false, true, true, false, false, false, true};

TEST_F(QueueWindow, AFolderConvertsWithTwoThreadsIntoTheChosenPreset)
{
    StartWindow();
    const std::string a = MediaFile("素材/a clip.mkv", 176, 144, 48000, 25);
    const std::string b = MediaFile("素材/B.avi", 160, 120, 44100, 25);
    const std::string c = MediaFile("素材/c.wav", 0, 0, 44100, 25);
    WriteBytes(Root.file("素材/notes.txt"), "not a media file");
    const std::string before[] = {ReadBytes(a), ReadBytes(b), ReadBytes(c)};

    // Add the folder through its dialog: the folder is already chosen, OK takes it.
    Main->bsSkinSelectDirectoryDialog1->SetDirectory(Utf8ToString(Root.file("素材")));
    {
        ModalScript script({[](TCustomForm* F) { ClickControl(dynamic_cast<TbsSelDirDlgForm*>(F)->OkButton); }});
        Main->Button12Click(nullptr);
        EXPECT_TRUE(script.Done());
    }
    ASSERT_EQ(Main->lvFiles->Items()->Count(), 3);
    EXPECT_TRUE(LogHas(L"***File load error: "));
    EXPECT_EQ(Available(), Waiting);

    SetThreads(2);
    Form5->bsSkinCheckRadioBox10->SetChecked(true);
    Main->bsSkinButton2Click(nullptr);
    EXPECT_EQ(Main->DERID->TasksCount(), 3);
    EXPECT_EQ(Main->DERID->ThreadPriority(), tpLowest);
    EXPECT_EQ(Available(), Running);
    ASSERT_TRUE(WaitForQueueEnd());
    EXPECT_EQ(Available(), Ended);
    EXPECT_GT(ProgressReports, 0);

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(i, ProgressColumn), L"100%") << i;
        const TProbed out = Probe(OutputOf(i));
        ASSERT_TRUE(out.Opened) << OutputOf(i);
        EXPECT_EQ(out.Format, "matroska,webm") << OutputOf(i);
        EXPECT_EQ(out.AudioStreams, 1) << OutputOf(i);
        const String frameSize = Cell(i, 16);
        const bool video = StringToUtf8(Main->lvFiles->Items()->Item(i)->Caption()) != c;
        EXPECT_EQ(out.VideoStreams, video ? 1 : 0) << OutputOf(i);
        if (video && !frameSize.empty()) {
            EXPECT_EQ(IntToStr(int64_t(out.Width)) + L"*" + IntToStr(int64_t(out.Height)), frameSize);
        }
    }
    EXPECT_EQ(ReadBytes(a), before[0]);
    EXPECT_EQ(ReadBytes(b), before[1]);
    EXPECT_EQ(ReadBytes(c), before[2]);
    // The natural end with the default end action opens the output folder.
    ASSERT_EQ(ShellCalls.size(), 1u);
    EXPECT_EQ(ShellCalls[0], Main->Video_OutPut_Folder_Edit->Text());
    EXPECT_TRUE(PowerRequests.empty());
}

TEST_F(QueueWindow, PauseResumeAndStopMidRun)
{
    StartWindow();
    // Long enough to still run while the test pauses, resumes and stops it.
    const std::string in = MediaFile("in/long.mkv", 320, 240, 48000, 750);
    const std::string next = MediaFile("in/next.wav", 0, 0, 44100, 10);
    ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(next)), ajAdded);
    Main->bsSkinButton2Click(nullptr);
    ASSERT_TRUE(WaitFor([&] { return ProgressReports > 0; }));

    Main->bsSkinButton11Click(nullptr);
    EXPECT_EQ(Available(), Paused);
    const int reports = ProgressReports;
    Main->bsSkinButton12Click(nullptr);
    EXPECT_EQ(Available(), Running);
    ASSERT_TRUE(WaitFor([&] { return ProgressReports > reports; }));
    // Start is refused while a run is active.
    Main->btnStartClick(nullptr);
    EXPECT_EQ(Main->DERID->TasksCount(), 2);

    Main->bsSkinButton10Click(nullptr);
    ASSERT_TRUE(WaitForQueueEnd());
    EXPECT_EQ(QueueEnds, 1);
    EXPECT_EQ(Available(), EndedAfterStop);
    const String progress = Cell(0, ProgressColumn);
    EXPECT_NE(progress, L"100%");
    EXPECT_NE(progress.find(L"未完成"), String::npos) << StringToUtf8(progress);
    // The job that never started says so and leaves no file.
    EXPECT_NE(Cell(1, ProgressColumn).find(L"未完成"), String::npos);
    EXPECT_FALSE(std::filesystem::exists(OutputOf(1)));
    // What was written so far is a file a player opens, with its picture.
    const TProbed out = Probe(OutputOf(0));
    EXPECT_TRUE(out.Opened);
    EXPECT_EQ(out.VideoStreams, 1);
    // The stopped run powers nothing off, even with that end action chosen (see EndActions).
    EXPECT_TRUE(PowerRequests.empty());
}

// Progress reports as the row shows them, on the row of the task.
TEST_F(QueueWindow, ProgressLandsOnTheTasksRow)
{
    StartWindow();
    const std::string in = MediaFile("in/a.wav", 0, 0, 44100, 10);
    ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
    // Task 0 belongs to the second row (the first could not be made).
    Main->FTaskRows = {Main->lvFiles->Items()->Item(1)};
    struct TCase {
        int64_t Current, Total;
        int FPS;
        int64_t Size;
        const wchar_t *Progress, *Fps, *Time, *Converted;
    };
    const TCase cases[] = {
        {30000000, 120000000, 25, 13107200, L"25%", L"25", L"00:00:30", L"12.5MB"},
        {150000000, 100000000, -1, 0, L"150%", L"25", L"00:02:30", L"0MB"},  // fps kept, beyond 100
        {5000000, 0, 0, 1048576, L"N/A", L"25", L"00:00:05", L"1MB"},
        {90061000000, -1, 30, 0, L"N/A", L"30", L"25:01:01", L"0MB"},  // past a day
    };
    for (const TCase& c : cases) {
        TProgressInfo info{0, 0, 1, c.FPS, 1.0f, 100.0f, c.Size, c.Current, c.Total};
        Main->DERIDProgress(Main->DERID, &info);
        EXPECT_EQ(Cell(1, ProgressColumn), c.Progress);
        EXPECT_EQ(Cell(1, FpsColumn), c.Fps);
        EXPECT_EQ(Cell(1, TimeColumn), c.Time);
        EXPECT_EQ(Cell(1, ConvertedColumn), c.Converted);
        EXPECT_EQ(Cell(0, ProgressColumn), L"");
    }
    // A task this run does not know changes nothing.
    TProgressInfo stray{1, 0, 1, 25, 1.0f, 100.0f, 0, 1, 2};
    Main->DERIDProgress(Main->DERID, &stray);
    EXPECT_EQ(Cell(0, ProgressColumn), L"");
}

TEST_F(QueueWindow, ARowWhoseTaskCannotBeMadeIsMarkedAndTheOthersKeepTheirRows)
{
    StartWindow();
    const std::string gone = MediaFile("in/gone.mkv", 64, 48, 48000, 10);
    const std::string kept = MediaFile("in/kept.wav", 0, 0, 44100, 10);
    ASSERT_EQ(Main->AddJob(Utf8ToString(gone)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(kept)), ajAdded);
    std::filesystem::remove(gone);

    Main->bsSkinButton2Click(nullptr);
    EXPECT_EQ(Main->DERID->TasksCount(), 1);
    ASSERT_TRUE(WaitForQueueEnd());
    EXPECT_EQ(Cell(0, ProgressColumn).rfind(L"失败: ", 0), 0u) << StringToUtf8(Cell(0, ProgressColumn));
    EXPECT_TRUE(LogHas(L"***Cannot do convert, error: "));
    // Task 0 is the second row's: its progress and end land there.
    EXPECT_EQ(Cell(1, ProgressColumn), L"100%");
    EXPECT_FALSE(std::filesystem::exists(OutputOf(0)));
    EXPECT_TRUE(Probe(OutputOf(1)).Opened);
}

TEST_F(QueueWindow, NoTaskNoStart)
{
    StartWindow();
    const std::string gone = MediaFile("in/gone.mkv", 64, 48, 48000, 10);
    ASSERT_EQ(Main->AddJob(Utf8ToString(gone)), ajAdded);
    std::filesystem::remove(gone);
    Main->bsSkinButton2Click(nullptr);
    Pump();
    EXPECT_EQ(QueueEnds, 0);
    EXPECT_FALSE(Main->FQueueRunning);
    EXPECT_EQ(Available(), Waiting);
    EXPECT_TRUE(LogHas(L"***Cannot do convert, error: no job can be converted")) << LogText();
}

TEST_F(QueueWindow, OutputsAreSettledAtTheStartNotBefore)
{
    StartWindow();
    const std::string in = MediaFile("in/a.wav", 0, 0, 44100, 10);
    ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
    // Adding wrote nothing into the output folder; both rows ask for one name.
    EXPECT_TRUE(std::filesystem::is_empty(StringToUtf8(Main->FileOutPutPath)));
    ASSERT_EQ(Cell(0, OutputNameColumn), Cell(1, OutputNameColumn));
    // A file of that name appears before the start; without overwrite it stays untouched.
    const std::string taken = OutputOf(0);
    WriteBytes(taken, "someone else's");

    Main->bsSkinButton2Click(nullptr);
    ASSERT_TRUE(WaitForQueueEnd());
    EXPECT_EQ(ReadBytes(taken), "someone else's");
    const String stem = ChangeFileExt(ExtractFileName(Utf8ToString(taken)), L"");
    const String ext = ExtractFileExt(Utf8ToString(taken));
    EXPECT_EQ(Cell(0, OutputNameColumn), stem + L"_1" + ext);
    EXPECT_EQ(Cell(1, OutputNameColumn), stem + L"_2" + ext);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Cell(i, ProgressColumn), L"100%");
        EXPECT_TRUE(Probe(OutputOf(i)).Opened) << OutputOf(i);
    }
    // Nothing else landed in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(StringToUtf8(Main->FileOutPutPath)))
        ++files;
    EXPECT_EQ(files, 3);
}

// The overwrite choice in force when "开始" is pressed decides, whatever it was when the job was
// added.
TEST_F(QueueWindow, TheOverwriteChoiceAtTheStartDecides)
{
    StartWindow();
    const struct {
        const char* Name;
        bool AtAdd, AtStart;
    } cases[] = {{"ticked after adding", false, true}, {"cleared after adding", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Main->btnClearClick(nullptr);
        const std::string in = MediaFile(std::string("in/") + c.Name + ".wav", 0, 0, 44100, 10);
        ChooseOverwrite(c.AtAdd);
        ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded);
        const String name = Cell(0, OutputNameColumn);
        const std::string theirs = OutputOf(0);
        WriteBytes(theirs, "the user's file");
        ChooseOverwrite(c.AtStart);
        const int ends = QueueEnds;
        Main->bsSkinButton2Click(nullptr);
        ASSERT_TRUE(WaitForQueueEnd(ends + 1));
        EXPECT_EQ(Cell(0, ProgressColumn), L"100%");
        if (c.AtStart) {
            EXPECT_EQ(Cell(0, OutputNameColumn), name);
            EXPECT_TRUE(Probe(theirs).Opened);
        } else {
            EXPECT_EQ(ReadBytes(theirs), "the user's file");
            EXPECT_EQ(Cell(0, OutputNameColumn), ChangeFileExt(name, L"") + L"_1" + ExtractFileExt(name));
            EXPECT_TRUE(Probe(OutputOf(0)).Opened);
        }
    }
}

// Stopped mid-run and started again: every row keeps its name, the outputs this program wrote
// are replaced by complete ones, and a user's file at a name a job first asked for is untouched.
TEST_F(QueueWindow, StartingAgainAfterAStopReplacesItsOwnOutputsUnderTheSameNames)
{
    StartWindow();
    ChooseOverwrite(false);
    const std::string longer = MediaFile("in/long A 长.mkv", 320, 240, 48000, 750);
    const std::string shorter = MediaFile("in/普通 视频.wav", 0, 0, 44100, 25);
    ASSERT_EQ(Main->AddJob(Utf8ToString(longer)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(shorter)), ajAdded);
    const std::string theirs = OutputOf(1);
    WriteBytes(theirs, "the user's file");

    Main->bsSkinButton2Click(nullptr);
    ASSERT_TRUE(WaitFor([&] { return ProgressReports > 0; }));
    Main->bsSkinButton10Click(nullptr);
    ASSERT_TRUE(WaitForQueueEnd(1));
    const String names[] = {Cell(0, OutputNameColumn), Cell(1, OutputNameColumn)};
    EXPECT_NE(OutputOf(1), theirs);  // the first run moved aside from the user's file
    const double partial = DurationOf(OutputOf(0));
    ASSERT_GT(partial, 0.0);  // the stopped run left its partial output
    ASSERT_LT(partial, DurationOf(longer) - 1.0);

    Main->bsSkinButton2Click(nullptr);
    ASSERT_TRUE(WaitForQueueEnd(2));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Cell(i, OutputNameColumn), names[i]) << i;
        EXPECT_EQ(Cell(i, ProgressColumn), L"100%") << i;
    }
    EXPECT_NEAR(DurationOf(OutputOf(0)), DurationOf(longer), 0.5);
    EXPECT_TRUE(Probe(OutputOf(1)).Opened);
    EXPECT_EQ(ReadBytes(theirs), "the user's file");
    const std::string folder = StringToUtf8(Main->FileOutPutPath);
    std::vector<std::string> expected = {StringToUtf8(names[0]), StringToUtf8(names[1]),
                                         std::filesystem::path(theirs).filename().string()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderFiles(folder), expected);
}

// With overwrite chosen, "开始" touches no output of a job that has not started converting: 50
// jobs at one thread, each output name a file of the user's (one of them empty), stopped once
// the first has finished.
TEST_F(QueueWindow, OnlyAJobThatStartsConvertingTouchesItsOutput)
{
    StartWindow();
    ChooseOverwrite(true);
    constexpr int Jobs = 50;
    // The first job is short; the others long enough that the stop meets the second still
    // converting, so at most one of them has started.
    const std::string first = MediaFile("in/00.wav", 0, 0, 44100, 10);
    const std::string longer = MediaFile("long.mkv", 320, 240, 48000, 750);
    std::vector<std::string> inputs = {first};
    for (int i = 1; i < Jobs; ++i) {
        inputs.push_back(Root.file("in/" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".mkv"));
        std::filesystem::copy_file(longer, inputs.back());
    }
    for (const std::string& in : inputs) ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded) << in;
    std::vector<std::string> theirs;
    std::vector<String> names;
    for (int i = 0; i < Jobs; ++i) {
        names.push_back(Cell(i, OutputNameColumn));
        theirs.push_back(i == Jobs - 1 ? std::string() : "the user's file " + std::to_string(i));
        WriteBytes(OutputOf(i), theirs.back());
    }

    Main->bsSkinButton2Click(nullptr);
    ASSERT_EQ(Main->DERID->TasksCount(), Jobs);
    ASSERT_TRUE(WaitFor([&] { return Cell(0, ProgressColumn) == L"100%"; }));
    Main->bsSkinButton10Click(nullptr);
    ASSERT_TRUE(WaitForQueueEnd());

    EXPECT_TRUE(Probe(OutputOf(0)).Opened);
    int untouched = 0;
    for (int i = 1; i < Jobs; ++i) {
        ASSERT_EQ(Cell(i, OutputNameColumn), names[i]);
        if (!Main->DERID->Tasks(i)->CreatedOutputs().empty()) continue;
        EXPECT_TRUE(std::filesystem::exists(OutputOf(i))) << i;
        EXPECT_EQ(ReadBytes(OutputOf(i)), theirs[i]) << i;
        ++untouched;
    }
    EXPECT_GE(untouched, Jobs - 2);
}

// The end action, after a natural end and after a stop: power-off only after a natural end.
TEST_F(QueueWindow, EndActions)
{
    StartWindow();
    const std::string in = MediaFile("in/a.wav", 0, 0, 44100, 10);
    std::filesystem::create_directories(ProgramDir() + "/sounds");
    WriteBytes(ProgramDir() + "/sounds/ring001.wav", ReadBytes(in));

    struct TCase {
        const char* Name;
        TbsSkinCheckRadioBox* Box;
        bool Stop;
        size_t Shell, Sound, Power;
    };
    const TCase cases[] = {
        {"open the folder", Form5->bsSkinCheckRadioBox1, false, 1, 0, 0},
        {"open the folder after a stop", Form5->bsSkinCheckRadioBox1, true, 1, 0, 0},
        {"power off", Form5->bsSkinCheckRadioBox2, false, 0, 0, 1},
        {"no power-off after a stop", Form5->bsSkinCheckRadioBox2, true, 0, 0, 0},
        {"sound", Form5->bsSkinCheckRadioBox4, false, 0, 1, 0},
        {"nothing", Form5->bsSkinCheckRadioBox5, false, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        Main->btnClearClick(nullptr);
        ASSERT_EQ(Main->AddJob(Utf8ToString(in)), ajAdded) << c.Name;
        ShellCalls.clear();
        Sounds.clear();
        PowerRequests.clear();
        ChooseEndAction(c.Box);
        const int ends = QueueEnds;
        Main->bsSkinButton2Click(nullptr);
        if (c.Stop) Main->bsSkinButton10Click(nullptr);
        ASSERT_TRUE(WaitForQueueEnd(ends + 1)) << c.Name;
        Pump();
        EXPECT_EQ(ShellCalls.size(), c.Shell) << c.Name;
        EXPECT_EQ(Sounds.size(), c.Sound) << c.Name;
        EXPECT_EQ(PowerRequests.size(), c.Power) << c.Name;
        if (!Sounds.empty()) {
            EXPECT_EQ(Sounds[0].sound, ProgramFile(L"sounds/ring001.wav"));
            EXPECT_EQ(Sounds[0].flags, SND_ASYNC);
        }
        if (!PowerRequests.empty()) {
            EXPECT_EQ(PowerRequests[0], vxwin::PowerRequest::PowerOff);
        }
        EXPECT_EQ(Available(), c.Stop ? EndedAfterStop : Ended) << c.Name;
    }
}

}  // namespace
