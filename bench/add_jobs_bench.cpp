// Measures adding a folder of short clips to the job list, headless: the main window as the
// program creates it, then the folder's files taken from the last to the first through the same
// per-file sequence the "添加整个目录" command runs (probe, task, output check, row, slot, log).
// Prints the wall and CPU time per file and the growth of the resident memory per file, for the
// whole add and for its last hundred files (a cost that grows with the list shows there).
// Aims: well under 50 ms and 100 KB per file.
//
//   add_jobs_bench [--files N] (default 500) [--display] (on $DISPLAY instead of headless)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program_paths.h"
#include "app/program_start.h"
#include "bench/bench_support.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "skin/controls/skin_list_view.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TSpan {
    double Wall = 0, Cpu = 0, Kb = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    int files = 500;
    bool display = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--files") && i + 1 < argc) files = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--display")) display = true;
    }
    if (display)
        ::unsetenv("VX_HEADLESS");
    else
        ::setenv("VX_HEADLESS", "1", 1);
    char tmpl[] = "/tmp/vx-add-bench-XXXXXX";
    if (!::mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    for (const char* sub : {"/home", "/程序", "/clips"}) std::filesystem::create_directories(dir + sub);
    ::setenv("HOME", (dir + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    SetProgramFolder(Utf8ToString(dir + "/程序"));

    std::printf("Generating a clip of 320x240, 1 s, and %d copies of it...\n", files);
    std::fflush(stdout);
    if (!MakeClip(dir + "/clip.avi", "320x240", 1, 440, {"-c:v", "mpeg4", "-c:a", "mp2"})) {
        std::printf("could not generate the clip with the ffmpeg command\n");
        return 1;
    }
    std::vector<std::string> clips;
    for (int i = 0; i < files; ++i) {
        clips.push_back(dir + "/clips/clip" + std::to_string(i) + ".avi");
        std::filesystem::copy_file(dir + "/clip.avi", clips.back());
    }

    CreateProgramForms();
    Form1->Show();
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    if (!Form1->DERID->LoadAVLib(ProgramFolder() + L"LibAV")) {
        std::printf("the media libraries: %s\n", StringToUtf8(Form1->DERID->LastErrMsg()).c_str());
        return 1;
    }
    // One add first, so the libraries' own one-time set-up is not counted.
    Form1->AddJob(Utf8ToString(dir + "/clip.avi"));

    std::vector<TSpan> marks;
    auto mark = [&] { marks.push_back({std::chrono::duration<double>(Clock::now().time_since_epoch()).count(),
                                       CpuSeconds(), double(ResidentKb())}); };
    mark();
    int added = 0;
    for (int i = files - 1; i >= 0; --i) {
        if (Form1->AddJob(Utf8ToString(clips[i])) == ajAdded) ++added;
        if (i == 100) mark();
    }
    Application->ProcessMessages();
    mark();
    if (added != files) std::printf("only %d of %d files were added\n", added, files);

    auto print = [](const char* AWhat, const TSpan& A, const TSpan& B, int AFiles) {
        const double ms = (B.Wall - A.Wall) * 1000 / AFiles, cpu = (B.Cpu - A.Cpu) * 1000 / AFiles;
        const double kb = (B.Kb - A.Kb) / AFiles;
        std::printf("  %-28s %8.2f ms wall, %8.2f ms CPU, %8.1f KB per file%s\n", AWhat, ms, cpu, kb,
                    ms < 50 && kb < 100 ? "" : "  over");
    };
    std::printf("Adding %d clips (aim: well under 50 ms and 100 KB per file):\n", files);
    // With 100 files or fewer there is no mark before the last hundred: the end is the second.
    const TSpan& end = marks.back();
    print("all files", marks[0], end, files);
    if (files > 100) print("the last 100 files", marks[1], end, 100);
    std::printf("  %-28s %8.1f MB\n", "resident at the end", end.Kb / 1024);
    std::fflush(stdout);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::_Exit(0);
}
