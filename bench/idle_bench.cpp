// The program at rest, under an Xvfb server of its own (the x11 back end):
// - wake-ups per second and CPU of the built program (vexmora, copied into a temporary program
//   folder) over idle seconds with an empty job list and the pointer away from its window, read
//   from /proc/PID/task/*/status (voluntary context switches: each is a sleep the thread woke
//   from) and /proc/PID/stat; every thread that woke is listed by name;
// - the same, and the resident memory sampled every few seconds with its growth per minute, for
//   the program's forms with 100 jobs in the list and the first row's preview open and paused
//   (this program again, with --rows, creating the forms as vexmora does, adding the jobs and
//   selecting the row before it runs the message loop);
// - start to first paint (this program again, with --start): where the time goes, from the spawn
//   to main, the forms one by one, the loop's first idle step with the window shown, and the first
//   complete paint with the display synchronised. Medians of the starts.
// Aims: under 1 wake-up per second with no timer of the program running; memory flat (no growth).
//
//   idle_bench [--seconds S] [--rows-seconds S] [--starts N] [--program PATH]
//              [--skip-empty] [--skip-rows] [--skip-start]
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/about_form.h"
#include "app/filesettings/file_settings_form.h"
#include "app/legacy/legacy_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program_paths.h"
#include "app/program_start.h"
#include "bench/bench_support.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/png_image_list.h"
#include "tests/support/xvfb.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the program's headers.
#include <X11/Xlib.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

long long NowNs() { return Clock::now().time_since_epoch().count(); }

// ---- the spawned programs ----

// Forms created one by one as CreateProgramForms does, each step timed; then the loop runs to the
// first idle step with the main window shown, paints it completely and prints the steady clock at
// every mark: "main forms-main forms-about forms-options forms-legacy forms-file idle painted".
int RunStartProfile()
{
    const long long inMain = NowNs();
    std::vector<long long> marks;
    Application->Initialize();
    Application->SetTitle(L"VexmoraMKV格式转换器");
    Application->SetHelpFile(L"help.chm");
    Application->CreateForm(Form1);
    marks.push_back(NowNs());
    Application->CreateForm(Form2);
    Form2->SetSkinData(Form1->bsSkinData1);
    marks.push_back(NowNs());
    Form5 = new TForm5(Application, Form1->DERID);
    Form5->SetSkinData(Form1->bsSkinData1);
    Application->RegisterForm(Form5);
    marks.push_back(NowNs());
    Form6 = new TForm6(Application, Form1->Settings, Form1->bsSkinData1);
    Application->RegisterForm(Form6);
    marks.push_back(NowNs());
    Form7 = new TForm7(Application, &Form1->Settings, Form1->bsSkinData1);
    Form7->bsSkinOfficeComboBox2->SetImages(Form1->ImageList2);
    Application->RegisterForm(Form7);
    marks.push_back(NowNs());
    bool done = false;
    Application->OnIdle = [&](TObject*) {
        if (done || !Form1 || !Form1->Visible()) return;
        done = true;
        marks.push_back(NowNs());
        Form1->Update();
        vxwin::SyncDisplay();
        marks.push_back(NowNs());
        std::printf("%lld", inMain);
        for (long long m : marks) std::printf(" %lld", m);
        std::printf("\n");
        std::fflush(stdout);
        Application->Terminate();
    };
    Application->Run();
    Application->OnIdle = nullptr;
    return 0;
}

// The program's forms with ARows jobs of the clips in AClipDir and the first row selected (its
// preview opened paused), then the program's loop; "ready" on stdout once the preview is open.
int RunRows(const std::string& AClipDir)
{
    CreateProgramForms();
    bool done = false;
    Application->OnIdle = [&](TObject*) {
        if (done || !Form1 || !Form1->Visible()) return;
        done = true;
        if (!Form1->DERID->LoadAVLib(ProgramFolder() + L"LibAV")) {
            std::printf("the media libraries: %s\n", StringToUtf8(Form1->DERID->LastErrMsg()).c_str());
            std::exit(1);
        }
        std::vector<std::string> clips;
        for (const auto& e : std::filesystem::directory_iterator(AClipDir)) clips.push_back(e.path().string());
        std::sort(clips.begin(), clips.end());
        int added = 0;
        for (const std::string& clip : clips) added += Form1->AddJob(Utf8ToString(clip)) == ajAdded;
        Form1->lvFiles->SetSelected(Form1->lvFiles->Items()->Item(0));
        Application->ProcessMessages();
        std::printf("ready %d\n", added);
        std::fflush(stdout);
        Application->OnIdle = nullptr;
    };
    Application->Run();
    return 0;
}

// ---- spawning and reading /proc ----

struct TChild {
    pid_t Pid = -1;
    int Out = -1;  // the child's stdout
    long long Spawned = 0;
};

TChild Spawn(const std::vector<std::string>& AArgs, const std::vector<std::string>& AEnv)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : AEnv) replaced = replaced || own.compare(0, name.size(), name) == 0;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), AEnv.begin(), AEnv.end());
    std::vector<char*> envp, argv;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = AArgs;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    TChild c;
    if (::pipe(fds) != 0) return c;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    c.Spawned = NowNs();
    if (posix_spawn(&c.Pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) c.Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    c.Out = fds[0];
    return c;
}

std::string ReadLine(int AFd)
{
    std::string line;
    char ch;
    while (::read(AFd, &ch, 1) == 1 && ch != '\n') line += ch;
    return line;
}

void EndChild(TChild& AChild)
{
    if (AChild.Pid > 0) {
        ::kill(AChild.Pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(AChild.Pid, nullptr, WNOHANG) == AChild.Pid) {
                AChild.Pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (AChild.Pid > 0) {
            ::kill(AChild.Pid, SIGKILL);
            ::waitpid(AChild.Pid, nullptr, 0);
        }
    }
    if (AChild.Out >= 0) ::close(AChild.Out);
    AChild = {};
}

// Voluntary context switches of every thread of the process, by thread id, with its name.
struct TThreadWakes {
    std::string Name;
    long Wakes = 0;
};
std::map<int, TThreadWakes> ThreadWakes(pid_t APid)
{
    std::map<int, TThreadWakes> out;
    const std::string dir = "/proc/" + std::to_string(APid) + "/task";
    for (const auto& e : std::filesystem::directory_iterator(dir, std::filesystem::directory_options::skip_permission_denied)) {
        const int tid = std::atoi(e.path().filename().c_str());
        TThreadWakes t;
        std::ifstream comm(e.path() / "comm");
        std::getline(comm, t.Name);
        t.Wakes = StatusField((e.path() / "status").string(), "voluntary_ctxt_switches");
        if (t.Wakes >= 0) out[tid] = t;
    }
    return out;
}

// User and system CPU seconds of the whole process.
double ProcessCpu(pid_t APid)
{
    std::ifstream in("/proc/" + std::to_string(APid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = all.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

// Waits until a top-level window is viewable on the display (the program's main window).
bool WaitForWindow(Display* ADisplay, int ASeconds)
{
    const auto end = Clock::now() + std::chrono::seconds(ASeconds);
    while (Clock::now() < end) {
        Window root, parent, *kids = nullptr;
        unsigned n = 0;
        bool shown = false;
        if (XQueryTree(ADisplay, DefaultRootWindow(ADisplay), &root, &parent, &kids, &n)) {
            for (unsigned i = 0; i < n && !shown; ++i) {
                XWindowAttributes a;
                shown = XGetWindowAttributes(ADisplay, kids[i], &a) && a.map_state == IsViewable && a.width > 200;
            }
            if (kids) XFree(kids);
        }
        if (shown) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Watches a running program for ASeconds (after ASettle seconds of rest) and prints its figures.
// AWakeAim: whether the aim of under one wake-up a second applies (no timer or player running).
void Watch(const char* AWhat, pid_t APid, int ASettle, int ASeconds, bool AWakeAim)
{
    std::this_thread::sleep_for(std::chrono::seconds(ASettle));
    const auto before = ThreadWakes(APid);
    const double cpu0 = ProcessCpu(APid);
    const auto t0 = Clock::now();
    std::vector<std::pair<double, long>> rss;  // seconds, kB
    const int step = std::max(1, std::min(10, ASeconds / 12));
    for (int s = 0; s <= ASeconds; s += step) {
        rss.emplace_back(std::chrono::duration<double>(Clock::now() - t0).count(), ResidentKb(APid));
        if (s + step <= ASeconds) std::this_thread::sleep_for(std::chrono::seconds(step));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = ProcessCpu(APid) - cpu0;
    const auto after = ThreadWakes(APid);
    long total = 0, main = 0;
    std::vector<std::string> lines;
    for (const auto& [tid, t] : after) {
        const auto it = before.find(tid);
        const long w = t.Wakes - (it == before.end() ? 0 : it->second.Wakes);
        total += w;
        if (tid == APid) main = w;
        if (w > 0) {
            char buf[160];
            std::snprintf(buf, sizeof buf, "    thread %-16s %8.2f /s%s", t.Name.c_str(), w / seconds,
                          tid == APid ? "  (UI thread)" : "");
            lines.push_back(buf);
        }
    }
    // Growth: the least-squares slope of the samples.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& [x, y] : rss) sx += x, sy += double(y), sxx += x * x, sxy += x * double(y);
    const double n = double(rss.size());
    const double slope = n > 1 && n * sxx - sx * sx > 0 ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 0;
    const double ratePerSecond = total / seconds;
    std::printf("%s, %.0f s at rest:\n", AWhat, seconds);
    if (AWakeAim)
        std::printf("  %-44s %8.2f /s   (aim < 1)%s\n", "wake-ups, all threads", ratePerSecond,
                    ratePerSecond < 1 ? "" : "  over");
    else
        std::printf("  %-44s %8.2f /s   (the paused player's own threads poll)\n", "wake-ups, all threads",
                    ratePerSecond);
    std::printf("  %-44s %8.2f /s\n", "wake-ups of the UI thread", main / seconds);
    for (const std::string& l : lines) std::printf("%s\n", l.c_str());
    std::printf("  %-44s %8.3f %% of a core\n", "CPU", cpu / seconds * 100);
    std::printf("  %-44s %8.1f MB -> %.1f MB\n", "resident memory", rss.front().second / 1024.0,
                rss.back().second / 1024.0);
    std::printf("  %-44s %+8.1f kB per minute   (aim: none)\n", "memory growth (slope of the samples)", slope * 60);
    std::fflush(stdout);
}

void PointerAway(Display* ADisplay)
{
    const int w = DisplayWidth(ADisplay, DefaultScreen(ADisplay)), h = DisplayHeight(ADisplay, DefaultScreen(ADisplay));
    XWarpPointer(ADisplay, None, DefaultRootWindow(ADisplay), 0, 0, 0, 0, w - 1, h - 1);
    XSync(ADisplay, False);
}

std::vector<std::string> HomeEnv(const std::string& ADir, const std::string& ADisplay)
{
    std::filesystem::create_directories(ADir + "/home");
    return {"HOME=" + ADir + "/home", "XDG_CONFIG_HOME=" + ADir + "/config", "DISPLAY=" + ADisplay,
            "VX_BACKEND=x11", "VX_HEADLESS="};
}

void MeasureEmpty(const std::string& AProgram, const std::string& ADir, Display* ADisplay, const std::string& AName,
                  int ASeconds)
{
    // A program folder of its own, so "option.ini" lands there.
    const std::string folder = ADir + "/程序";
    std::filesystem::create_directories(folder);
    std::error_code ec;
    std::filesystem::copy_file(AProgram, folder + "/vexmora", std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        std::printf("could not copy %s: %s\n", AProgram.c_str(), ec.message().c_str());
        return;
    }
    PointerAway(ADisplay);
    TChild c = Spawn({folder + "/vexmora"}, HomeEnv(ADir, AName));
    if (c.Pid <= 0 || !WaitForWindow(ADisplay, 60)) {
        std::printf("the program did not show its window: no figures\n");
        EndChild(c);
        return;
    }
    Watch("vexmora, empty job list", c.Pid, 3, ASeconds, true);
    EndChild(c);
}

void MeasureRows(const std::string& ADir, Display* ADisplay, const std::string& AName, int ASeconds)
{
    const std::string clips = ADir + "/clips", folder = ADir + "/rows程序";
    std::filesystem::create_directories(clips);
    std::filesystem::create_directories(folder);
    if (!MakeClip(clips + "/clip000.avi", "320x240", 1, 440, {"-c:v", "mpeg4", "-c:a", "mp2"})) {
        std::printf("could not make a clip with the ffmpeg command: no figures with 100 rows\n");
        return;
    }
    std::error_code ec;
    for (int i = 1; i < 100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/clip%03d.avi", i);
        std::filesystem::create_hard_link(clips + "/clip000.avi", clips + name, ec);
        if (ec) std::filesystem::copy_file(clips + "/clip000.avi", clips + name, ec);
    }
    PointerAway(ADisplay);
    TChild c = Spawn({StringToUtf8(ExeFileName()), "--rows", folder, clips}, HomeEnv(ADir + "/rows", AName));
    const std::string ready = c.Pid > 0 ? ReadLine(c.Out) : "";
    if (ready.compare(0, 6, "ready ") != 0) {
        std::printf("the forms with 100 rows did not start (%s): no figures\n", ready.c_str());
        EndChild(c);
        return;
    }
    PointerAway(ADisplay);
    Watch(("100 rows (" + ready.substr(6) + " added), preview paused").c_str(), c.Pid, 5, ASeconds, false);
    EndChild(c);
}

void MeasureStart(const std::string& ADir, const std::string& AName, int AStarts)
{
    const std::string folder = ADir + "/start程序";
    std::filesystem::create_directories(folder);
    const char* names[] = {"exec, libraries, static set-up, to main",
                           "main window (TForm1, its skin and controls)",
                           "about box (TForm2)",
                           "options dialog (TForm5)",
                           "legacy preset form (TForm6)",
                           "per-file settings dialog (TForm7)",
                           "loop to first idle with the window shown",
                           "first complete paint, display synchronised"};
    constexpr int kSteps = 8;
    std::vector<std::vector<double>> steps(kSteps);
    std::vector<double> totals;
    for (int run = -1; run < AStarts; ++run) {  // run -1 warms up: settings written, folders made
        TChild c = Spawn({StringToUtf8(ExeFileName()), "--start", folder}, HomeEnv(ADir + "/start", AName));
        std::istringstream line(c.Pid > 0 ? ReadLine(c.Out) : "");
        std::vector<long long> marks{c.Spawned};
        EndChild(c);
        for (long long m; line >> m;) marks.push_back(m);
        if (marks.size() != kSteps + 1) {
            std::printf("the start failed: no start figures\n");
            return;
        }
        if (run < 0) continue;
        for (int i = 0; i < kSteps; ++i) steps[i].push_back(double(marks[i + 1] - marks[i]) / 1e6);
        totals.push_back(double(marks.back() - marks.front()) / 1e6);
    }
    const double total = Median(totals);
    std::printf("start to first complete paint under Xvfb (%d starts, medians): %.1f ms (runs %.1f-%.1f)\n", AStarts,
                total, *std::min_element(totals.begin(), totals.end()), *std::max_element(totals.begin(), totals.end()));
    for (int i = 0; i < kSteps; ++i) {
        const double m = Median(steps[i]);
        std::printf("  %-46s %8.1f ms  %5.1f %%\n", names[i], m, m / total * 100);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--start") == 0) {
        SetProgramFolder(Utf8ToString(argv[2]));
        return RunStartProfile();
    }
    if (argc == 4 && std::strcmp(argv[1], "--rows") == 0) {
        SetProgramFolder(Utf8ToString(argv[2]));
        return RunRows(argv[3]);
    }
    int seconds = 60, rowsSeconds = 300, starts = 9;
    bool empty = true, rows = true, start = true;
    std::string program =
        (std::filesystem::path(StringToUtf8(ExeFileName())).parent_path().parent_path() / "app" / "vexmora").string();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&] { return NumberArg(i, argc, argv); };
        if (arg == "--seconds")
            seconds = number();
        else if (arg == "--rows-seconds")
            rowsSeconds = number();
        else if (arg == "--starts")
            starts = number();
        else if (arg == "--program" && i + 1 < argc)
            program = argv[++i];
        else if (arg == "--skip-empty")
            empty = false;
        else if (arg == "--skip-rows")
            rows = false;
        else if (arg == "--skip-start")
            start = false;
        else {
            std::fprintf(stderr,
                         "usage: idle_bench [--seconds S] [--rows-seconds S] [--starts N] [--program PATH]\n"
                         "                  [--skip-empty] [--skip-rows] [--skip-start]\n");
            return 2;
        }
    }
    if (FindTool("Xvfb").empty()) {
        std::printf("Xvfb is not installed: no figures\n");
        return 1;
    }
    // Wide enough that the pointer can rest in a corner away from the main window.
    XvfbServer server("1920x1200x24");
    Display* display = server.Display().empty() ? nullptr : XOpenDisplay(server.Display().c_str());
    if (!display) {
        std::printf("Xvfb could not be started: no figures\n");
        return 1;
    }
    std::string dir = (std::filesystem::temp_directory_path() / "vx-idle-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) return 1;
    if (empty) {
        if (std::filesystem::exists(program))
            MeasureEmpty(program, dir + "/empty", display, server.Display(), seconds);
        else
            std::printf("%s is not built: no figures for the program itself\n", program.c_str());
    }
    if (rows) MeasureRows(dir, display, server.Display(), rowsSeconds);
    if (start) MeasureStart(dir, server.Display(), starts);
    XCloseDisplay(display);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
