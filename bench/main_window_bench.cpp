// Measures the main window, headless and, where Xvfb is installed, under an Xvfb server of its
// own (the x11 back end):
// - the start: from spawning the program's start (this program again, with --start, creating the
//   forms as vexmora does and running its loop) to the main window's first complete paint (the
//   first idle step with the window shown, its pending paints done and the display synchronised);
// - one full repaint of the shown main window (frame and every child invalidated and painted,
//   the display synchronised);
// - a queue of generated clips converted through the main window (added as jobs, started with its
//   start button, every row's progress shown) against the same tasks, with the options the window
//   gave them, through the task component alone, in pairs; the difference is the window's
//   overhead, in wall time and in the main thread's CPU time (steadier on a loaded machine). The
//   queue runs under Xvfb when it could be started, else headless.
// Aims: first paint under 300 ms, full repaint under 5 ms, overhead under 2% of the queue's time.
// Medians of the repetitions; the start runs use a temporary home and program folder, warmed by
// one unmeasured start (a first start also writes "option.ini" and makes the folders).
//
//   main_window_bench [--reps N] [--queue-reps N] [--clips N] [--clip-seconds S] [--threads N]
//                     [--headless] [--skip-start] [--skip-queue]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/job_data.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program_paths.h"
#include "app/program_start.h"
#include "bench/bench_support.h"
#include "engine/converter.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/win/headless_api.h"
#include "platform/win/power_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/sound_api.h"
#include "platform/win/win_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"
#include "tests/support/xvfb.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// ---- the start, in the spawned program ----

// Runs the program's start in this process; at the first idle step with the main window shown,
// prints the steady clock (shared by all processes) and the median of ARepaints full repaints,
// then ends the loop.
int RunStart(int ARepaints)
{
    CreateProgramForms();
    bool done = false;
    Application->OnIdle = [&](TObject*) {
        if (done || !Form1 || !Form1->Visible()) return;
        done = true;
        Form1->Update();
        vxwin::SyncDisplay();
        const long long painted = Clock::now().time_since_epoch().count();
        const HWND h = Form1->Handle();
        std::vector<double> repaints;
        for (int i = 0; i < ARepaints; ++i) {
            const auto t0 = Clock::now();
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            vxwin::SyncDisplay();
            repaints.push_back(MsSince(t0));
        }
        std::printf("%lld %.4f\n", painted, Median(repaints));
        std::fflush(stdout);
        Application->Terminate();
    };
    Application->Run();
    Application->OnIdle = nullptr;
    return 0;
}

// ---- the start, seen from here ----

// One queue run: its wall time, the CPU time of the main thread (the window's side of the work) and
// of the whole process (the conversions).
struct TQueueRun {
    double Seconds = -1;
    double MainCpu = 0;
    double ProcessCpu = 0;
};

struct TStartRun {
    double FirstPaintMs = -1;
    double RepaintMs = -1;
};

// Spawns this program with --start in AEnv added to the environment; answers its figures.
TStartRun SpawnStart(const std::vector<std::string>& AEnv, const std::string& AProgramFolder)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& own : AEnv) replaced = replaced || own.substr(0, own.find('=')) == name;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), AEnv.begin(), AEnv.end());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = StringToUtf8(ExeFileName()), mode = "--start", folder = AProgramFolder;
    char* argv[] = {self.data(), mode.data(), folder.data(), nullptr};

    int fds[2];
    if (::pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const long long spawned = Clock::now().time_since_epoch().count();
    const int failed = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; !failed && (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
    ::close(fds[0]);
    int status = 0;
    if (!failed) ::waitpid(pid, &status, 0);
    long long painted = 0;
    double repaint = -1;
    if (failed || std::sscanf(out.c_str(), "%lld %lf", &painted, &repaint) != 2) return {};
    return {double(painted - spawned) / 1e6, repaint};
}

void MeasureStart(const char* AWhere, const std::vector<std::string>& AEnv, const std::string& ADir, int AReps)
{
    const std::string home = ADir + "/home", program = ADir + "/程序";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(program);
    std::vector<std::string> env = AEnv;
    env.push_back("HOME=" + home);
    env.push_back("XDG_CONFIG_HOME=" + ADir + "/config");
    SpawnStart(env, program);  // the first start: settings written, folders made, files cached
    std::vector<double> first, repaint;
    for (int i = 0; i < AReps; ++i) {
        const TStartRun run = SpawnStart(env, program);
        if (run.FirstPaintMs < 0) {
            std::printf("%s: the start failed\n", AWhere);
            return;
        }
        first.push_back(run.FirstPaintMs);
        repaint.push_back(run.RepaintMs);
    }
    const double f = Median(first), r = Median(repaint);
    std::printf("%s (%d starts):\n", AWhere, AReps);
    std::printf("  %-44s %8.1f ms   (aim < 300 ms; runs %.1f-%.1f)%s\n", "process start to first complete paint", f,
                *std::min_element(first.begin(), first.end()), *std::max_element(first.begin(), first.end()),
                f < 300 ? "" : "  over");
    std::printf("  %-44s %8.3f ms   (aim < 5 ms; runs %.3f-%.3f)%s\n", "full repaint of the main window", r,
                *std::min_element(repaint.begin(), repaint.end()), *std::max_element(repaint.begin(), repaint.end()),
                r < 5 ? "" : "  over");
    std::fflush(stdout);
}

// ---- the queue ----

// Serves the message loop as the program's loop would between events, until ADone holds.
void ServeUntil(const std::function<bool()>& ADone)
{
    while (!ADone()) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void RemoveFiles(const std::vector<std::string>& AFiles)
{
    std::error_code ec;
    for (const std::string& f : AFiles) std::filesystem::remove(f, ec);
}

// The queue through the window: the start button to the window's own end of the queue.
TQueueRun QueueThroughWindow(int& AQueueEnds)
{
    const int ends = AQueueEnds;
    const double main = CpuSeconds(CLOCK_THREAD_CPUTIME_ID), process = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto t0 = Clock::now();
    Form1->bsSkinButton2Click(nullptr);
    ServeUntil([&] { return AQueueEnds > ends; });
    const TQueueRun run{MsSince(t0) / 1000, CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - main,
                        CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process};
    for (int i = 0; i < Form1->lvFiles->Items()->Count(); ++i) {
        TListItem* item = Form1->lvFiles->Items()->Item(i);
        if (TJobRow{item->Caption(), *item->SubItems()}.Column(ProgressColumn) != L"100%") return {};
    }
    return run;
}

// The same tasks through a task component of their own: the options the window hands the engine
// for each row, the same thread count and priority, the outputs in AOutDir.
TQueueRun QueueThroughComponent(const std::string& AOutDir, int AThreads, std::vector<std::string>& AOutputs)
{
    TFFConverter converter(nullptr);
    std::atomic<bool> ended{false};
    std::atomic<int> finished{0};
    converter.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == -1)
            ended = true;
        else if (AInfo.Finished && !AInfo.Exception)
            ++finished;
    });
    if (!converter.LoadAVLib(ProgramFolder() + L"LibAV")) {
        std::printf("the media libraries: %s\n", StringToUtf8(converter.LastErrMsg()).c_str());
        return {};
    }
    converter.SetThreadPriority(Form1->DERID->ThreadPriority());
    const double main = CpuSeconds(CLOCK_THREAD_CPUTIME_ID), process = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto t0 = Clock::now();
    TListItems* items = Form1->lvFiles->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TListItem* item = items->Item(i);
        const TJobRow row{item->Caption(), *item->SubItems()};
        const int slot = RowSlot(item);
        TInputOptions input = Form1->IO1[slot];
        input.FileName = item->Caption();
        TOutputOptions output = Form1->OO1[slot];
        RowToOutputOptions(row, output);
        output.AudioLanguage.clear();
        output.FileName = Utf8ToString(AOutDir) + L"/" + row.Column(OutputNameColumn);
        AOutputs.push_back(StringToUtf8(output.FileName));
        const int task = converter.AddTask(item->Caption(), &input);
        if (task < 0 || !converter.SetOutputFile(task, output.FileName, &output)) {
            std::printf("task %d: %s\n", i, StringToUtf8(converter.LastErrMsg()).c_str());
            return {};
        }
    }
    converter.Start(AThreads);
    ServeUntil([&] { return ended.load(); });
    const TQueueRun run{MsSince(t0) / 1000, CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - main,
                        CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process};
    return finished == items->Count() ? run : TQueueRun{};
}

void MeasureQueue(const char* AWhere, const std::string& ADir, int AReps, int AClips, int AClipSeconds, int AThreads)
{
    std::printf("\nGenerating %d clips of 640x360, %d s, stereo sound...\n", AClips, AClipSeconds);
    std::fflush(stdout);
    std::vector<std::string> clips;
    std::filesystem::create_directories(ADir + "/clips");
    for (int i = 0; i < AClips; ++i) {
        clips.push_back(ADir + "/clips/clip" + std::to_string(i) + ".mp4");
        if (!MakeClip(clips.back(), "640x360", AClipSeconds, 300 + 60 * i,
                      {"-ac", "2", "-c:v", "libx264", "-preset", "veryfast", "-crf", "20", "-c:a", "aac", "-b:a", "128k"})) {
            std::printf("could not generate the clips with the ffmpeg command: no queue figures\n");
            return;
        }
    }
    const std::string home = ADir + "/qhome", program = ADir + "/q程序", component = ADir + "/component";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(component);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (ADir + "/qconfig").c_str(), 1);
    SetProgramFolder(Utf8ToString(program));
    // The end of the queue opens nothing and plays nothing here.
    vxwin::SetShellExecuteHook([](const vxwin::ShellExecuteCall&) { return LONG_PTR(42); });
    vxwin::SetPlaySoundHook([](const vxwin::PlaySoundCall&) { return TRUE; });
    vxwin::SetPowerRequestHook([](vxwin::PowerRequest) { return TRUE; });

    CreateProgramForms();
    Form1->Show();
    Application->ProcessMessages();
    int queueEnds = 0;
    auto terminate = Form1->DERID->OnTerminate();
    Form1->DERID->SetOnTerminate([&queueEnds, terminate](TObject* Sender, const TTerminateInfo& AInfo) {
        terminate(Sender, AInfo);
        if (AInfo.TaskIndex == -1) ++queueEnds;
    });
    // As the add commands do before they add.
    if (!Form1->DERID->LoadAVLib(ProgramFolder() + L"LibAV")) {
        std::printf("the media libraries: %s\n", StringToUtf8(Form1->DERID->LastErrMsg()).c_str());
        return;
    }
    for (const std::string& clip : clips)
        if (Form1->AddJob(Utf8ToString(clip)) != ajAdded) {
            std::printf("the window did not take %s: no queue figures\n", clip.c_str());
            return;
        }
    Form5->bsSkinCheckRadioBox7->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(AThreads - 1);
    Application->ProcessMessages();

    std::vector<std::string> windowOutputs;
    for (int i = 0; i < Form1->lvFiles->Items()->Count(); ++i) {
        TListItem* item = Form1->lvFiles->Items()->Item(i);
        windowOutputs.push_back(StringToUtf8(Form1->FileOutPutPath) + "/" +
                                StringToUtf8(TJobRow{item->Caption(), *item->SubItems()}.Column(OutputNameColumn)));
    }
    std::vector<double> window, alone, ratios, mainCpu, cpuShares;
    for (int rep = 0; rep < AReps; ++rep) {
        // In turn, the component first every other pair: neither side always meets a cold cache.
        TQueueRun w, c;
        std::vector<std::string> componentOutputs;
        RemoveFiles(windowOutputs);
        if (rep % 2 == 0) {
            w = QueueThroughWindow(queueEnds);
            c = QueueThroughComponent(component, AThreads, componentOutputs);
        } else {
            c = QueueThroughComponent(component, AThreads, componentOutputs);
            w = QueueThroughWindow(queueEnds);
        }
        RemoveFiles(componentOutputs);
        if (w.Seconds < 0 || c.Seconds < 0) {
            std::printf("a queue did not finish (%s)\n", w.Seconds < 0 ? "window" : "component");
            return;
        }
        std::printf(
            "  pair %d: window %.3f s (main thread %.3f s CPU), component %.3f s (main thread %.3f s CPU, "
            "all threads %.2f s CPU)\n",
            rep + 1, w.Seconds, w.MainCpu, c.Seconds, c.MainCpu, c.ProcessCpu);
        std::fflush(stdout);
        window.push_back(w.Seconds);
        alone.push_back(c.Seconds);
        ratios.push_back((w.Seconds - c.Seconds) / c.Seconds * 100);
        mainCpu.push_back(w.MainCpu - c.MainCpu);
        cpuShares.push_back((w.MainCpu - c.MainCpu) / c.ProcessCpu * 100);
    }
    RemoveFiles(windowOutputs);
    const double overhead = Median(ratios), share = Median(cpuShares);
    std::printf("%s, %d clips, %d task threads (%d pairs, medians):\n", AWhere, AClips, AThreads, AReps);
    std::printf("  %-48s %8.3f s\n", "through the main window", Median(window));
    std::printf("  %-48s %8.3f s\n", "through the task component alone", Median(alone));
    std::printf("  %-48s %+8.2f %%   (aim < 2%%; pairs %+.2f to %+.2f)%s\n", "the window's overhead, wall time",
                overhead, *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), overhead < 2 ? "" : "  over");
    // The wall times swing with the load; the window's own work on the main thread does not.
    std::printf("  %-48s %8.3f s = %.2f %% of the queue's CPU time\n", "the window's extra main-thread CPU",
                Median(mainCpu), share);
    Form1->DERID->Stop(true);
    vxwin::SetShellExecuteHook(nullptr);
    vxwin::SetPlaySoundHook(nullptr);
    vxwin::SetPowerRequestHook(nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--start") == 0) {
        SetProgramFolder(Utf8ToString(argv[2]));
        return RunStart(50);
    }
    int reps = 9, queueReps = 5, clips = 8, clipSeconds = 10, threads = 4;
    bool headlessOnly = false, queue = true, start = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&] { return NumberArg(i, argc, argv); };
        if (arg == "--reps")
            reps = number();
        else if (arg == "--queue-reps")
            queueReps = number();
        else if (arg == "--clips")
            clips = number();
        else if (arg == "--clip-seconds")
            clipSeconds = number();
        else if (arg == "--threads")
            threads = std::min(19, number());
        else if (arg == "--headless")
            headlessOnly = true;
        else if (arg == "--skip-queue")
            queue = false;
        else if (arg == "--skip-start")
            start = false;
        else {
            std::fprintf(stderr,
                         "usage: main_window_bench [--reps N] [--queue-reps N] [--clips N] [--clip-seconds S]\n"
                         "                         [--threads N] [--headless] [--skip-start] [--skip-queue]\n");
            return 2;
        }
    }
    std::string dir = (std::filesystem::temp_directory_path() / "vx-main-window-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) return 1;

    if (start) MeasureStart("headless", {"VX_HEADLESS=1", "VX_BACKEND=headless"}, dir + "/headless", reps);
    XvfbServer* server = nullptr;
    if (headlessOnly)
        ;
    else if (FindTool("Xvfb").empty())
        std::printf("Xvfb is not installed: no figures under X11\n");
    else {
        server = new XvfbServer("1280x800x24");
        if (server->Display().empty()) {
            std::printf("Xvfb could not be started: no figures under X11\n");
            delete server;
            server = nullptr;
        } else if (start)
            MeasureStart("under Xvfb (x11 back end, 1280x800)",
                         {"DISPLAY=" + server->Display(), "VX_BACKEND=x11", "VX_HEADLESS="}, dir + "/x11", reps);
    }
    if (queue) {
        if (server && vxwin::UseX11Backend(server->Display()))
            MeasureQueue("under Xvfb", dir, queueReps, clips, clipSeconds, threads);
        else {
            vxwin::UseHeadlessBackend();
            MeasureQueue("headless", dir, queueReps, clips, clipSeconds, threads);
        }
    }
    vxwin::UseHeadlessBackend();
    delete server;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
