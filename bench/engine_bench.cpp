// engine-bench: the media engine against the ffmpeg command, both with their own threading.
//
// Single files at the same settings: a 720p and a 1080p clip (20 s, stereo sound) are converted
// to MP4 (libx264 + aac), AVI (mpeg4 + libmp3lame) and WMV (wmv2 + wmav2) with the same codecs
// and bit rates, the engine through engine-convert (the task component; its codecs share the
// cores), the command with its default threading, in pairs, several times. Printed per case: the
// median wall time of each side, the ratio engine/command, the CPU use (cores busy on average)
// and the peak memory of each. Aim: ratio at most 1.05 for each case.
// Batches of clips: 8 clips converted to MP4 by one task component with 1, 2, 4 and 8 task
// threads, against the command converting them one after another with its own threading and
// against 8 command processes at once with one thread each. Aims: at 8 task threads no slower
// than the 8 processes; at 1 task thread no slower than the command one after another.
//
//   engine-bench [--reps N] [--seconds S] [--clips N] [--clip-seconds S] [--dir DIR]
//                [--skip-cases] [--skip-batches]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/codec_threads.h"
#include "engine/converter.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

extern char** environ;

namespace {

struct TRun {
    bool Ok = false;
    double Seconds = 0;
    double CpuSeconds = 0;  // user and system time of the process and what it waited for
    long PeakKB = 0;        // peak resident memory of the process
};

double CpuSecondsOf(const rusage& AUsage)
{
    return double(AUsage.ru_utime.tv_sec + AUsage.ru_stime.tv_sec) +
           double(AUsage.ru_utime.tv_usec + AUsage.ru_stime.tv_usec) / 1e6;
}

// Starts a program with an argument vector, its output thrown away; its process id, or -1.
pid_t SpawnProgram(const std::vector<std::string>& AArgs)
{
    std::vector<char*> argv;
    std::vector<std::string> args = AArgs;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

// Waits for a started program: whether it succeeded, its CPU time and peak memory.
TRun WaitProgram(pid_t APid)
{
    TRun run;
    int status = 0;
    rusage usage{};
    if (APid <= 0 || wait4(APid, &status, 0, &usage) != APid) return run;
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.CpuSeconds = CpuSecondsOf(usage);
    run.PeakKB = usage.ru_maxrss;
    return run;
}

// Runs a program to its end, its output thrown away; wall time, CPU time and peak memory.
TRun RunProgram(const std::vector<std::string>& AArgs)
{
    auto started = std::chrono::steady_clock::now();
    TRun run = WaitProgram(SpawnProgram(AArgs));
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return run;
}

double Median(std::vector<double> AValues)
{
    if (AValues.empty()) return 0;
    std::sort(AValues.begin(), AValues.end());
    size_t n = AValues.size();
    return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}

struct TFormat {
    const char* Name;
    const char* Ext;
    const char* Video;
    const char* Audio;
};

const TFormat Formats[] = {
    {"MP4", "mp4", "libx264", "aac"}, {"AVI", "avi", "mpeg4", "libmp3lame"}, {"WMV", "wmv", "wmv2", "wmav2"}};

const char* const VideoBitRate = "2000000";
const char* const AudioBitRate = "128000";

// The engine's option lines and the command's arguments for one format: the same settings (and
// both replace an output left by the run before).
std::vector<std::string> EngineOptions(const TFormat& F)
{
    return {std::string("vcodec=") + F.Video,
            std::string("b=") + VideoBitRate,
            std::string("acodec=") + F.Audio,
            std::string("ab=") + AudioBitRate,
            "ar=44100",
            "ac=2",
            "y=1"};
}

std::vector<std::string> CommandArgs(const std::string& AInput, const TFormat& F, const std::string& AOutput,
                                     bool AOneThread)
{
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    if (AOneThread) args.insert(args.end(), {"-threads", "1"});
    args.insert(args.end(), {"-i", AInput, "-c:v", F.Video, "-b:v", VideoBitRate, "-c:a", F.Audio, "-b:a", AudioBitRate,
                             "-ar", "44100", "-ac", "2"});
    if (AOneThread) args.insert(args.end(), {"-threads", "1"});
    args.push_back(AOutput);
    return args;
}

bool MakeClip(const std::string& AName, const std::string& ASize, int ASeconds, int ATone)
{
    const std::string d = std::to_string(ASeconds);
    TRun run =
        RunProgram({"ffmpeg",       "-nostdin",
                    "-hide_banner", "-loglevel",
                    "error",        "-y",
                    "-f",           "lavfi",
                    "-i",           "testsrc2=size=" + ASize + ":rate=25:duration=" + d,
                    "-f",           "lavfi",
                    "-i",           "sine=frequency=" + std::to_string(ATone) + ":sample_rate=44100:duration=" + d,
                    "-ac",          "2",
                    "-c:v",         "libx264",
                    "-preset",      "veryfast",
                    "-crf",         "20",
                    "-c:a",         "aac",
                    "-b:a",         "192k",
                    AName});
    return run.Ok;
}

void RunCases(const std::string& ADir, const std::string& AEngineConvert, int AReps, int ASeconds)
{
    struct TInput {
        const char* Name;
        std::string File;
    };
    std::vector<TInput> inputs = {{"720p", ADir + "/in720.mp4"}, {"1080p", ADir + "/in1080.mp4"}};
    std::printf("Generating a 720p and a 1080p clip of %d s with stereo sound...\n", ASeconds);
    if (!MakeClip(inputs[0].File, "1280x720", ASeconds, 440) || !MakeClip(inputs[1].File, "1920x1080", ASeconds, 660)) {
        std::printf("could not generate the inputs with the ffmpeg command\n");
        std::exit(1);
    }
    std::printf("\nSame settings, each side with its own threading, %d paired runs (medians; CPU = cores busy)\n",
                AReps);
    std::printf("%-14s %9s %9s %7s %8s %8s %10s %10s\n", "case", "engine s", "command s", "ratio", "eng CPU", "cmd CPU",
                "engine MB", "command MB");
    int met = 0, cases = 0;
    for (const TInput& input : inputs) {
        for (const TFormat& format : Formats) {
            std::vector<double> engine, command, engineCpu, commandCpu;
            long engineKB = 0, commandKB = 0;
            bool failed = false;
            const std::string out = ADir + "/out." + format.Ext;
            for (int rep = 0; rep < AReps && !failed; ++rep) {
                std::vector<std::string> args = {AEngineConvert, "--quiet", input.File, out};
                for (const std::string& option : EngineOptions(format)) args.push_back(option);
                // In turn, the command first every other pair: neither side always meets a cold cache.
                TRun e, c;
                if (rep % 2 == 0) {
                    e = RunProgram(args);
                    c = RunProgram(CommandArgs(input.File, format, out, false));
                } else {
                    c = RunProgram(CommandArgs(input.File, format, out, false));
                    e = RunProgram(args);
                }
                if (!e.Ok || !c.Ok) {
                    std::printf("%-5s %-8s failed (%s)\n", input.Name, format.Name, !e.Ok ? "engine" : "command");
                    failed = true;
                    break;
                }
                engine.push_back(e.Seconds);
                command.push_back(c.Seconds);
                engineCpu.push_back(e.CpuSeconds / e.Seconds);
                commandCpu.push_back(c.CpuSeconds / c.Seconds);
                engineKB = std::max(engineKB, e.PeakKB);
                commandKB = std::max(commandKB, c.PeakKB);
            }
            if (failed) continue;
            double ratio = Median(engine) / Median(command);
            ++cases;
            met += ratio <= 1.05;
            std::printf("%-5s %-8s %9.2f %9.2f %7.3f %8.2f %8.2f %10.1f %10.1f %s\n", input.Name, format.Name,
                        Median(engine), Median(command), ratio, Median(engineCpu), Median(commandCpu),
                        engineKB / 1024.0, commandKB / 1024.0, ratio <= 1.05 ? "" : "(aim missed)");
            std::fflush(stdout);
        }
    }
    std::printf("cases at a ratio of at most 1.05: %d of %d\n", met, cases);
}

// CPU time of this process so far, seconds.
double OwnCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSecondsOf(usage);
}

struct TBatchRun {
    double Seconds = -1;  // negative: a conversion did not finish
    double Cpu = 0;       // cores busy on average
};

// Converts every clip with one task component running AThreads tasks at once.
TBatchRun RunBatch(const std::vector<std::string>& AClips, const std::string& ADir, int AThreads)
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
    String options;
    for (const std::string& line : EngineOptions(Formats[0])) options += Utf8ToString(line) + L"\n";
    for (size_t i = 0; i < AClips.size(); ++i) {
        int task = converter.AddTask(Utf8ToString(AClips[i]), String());
        std::string out = ADir + "/batch" + std::to_string(i) + ".mp4";
        if (task < 0 || !converter.SetOutputFile(task, Utf8ToString(out), options)) {
            std::printf("task %zu: %s\n", i, StringToUtf8(converter.LastErrMsg()).c_str());
            return {};
        }
    }
    const double cpu = OwnCpuSeconds();
    auto started = std::chrono::steady_clock::now();
    converter.Start(AThreads);
    WaitServingMainThread([&] { return ended.load(); }, 10);
    TBatchRun run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.Cpu = (OwnCpuSeconds() - cpu) / run.Seconds;
    if (finished != int(AClips.size())) run.Seconds = -1;
    return run;
}

// The command on every clip: one after another with its own threading, or all at once with one
// thread each.
TBatchRun RunCommandBatch(const std::vector<std::string>& AClips, const std::string& ADir, bool AAtOnce)
{
    TBatchRun run;
    double cpu = 0;
    bool ok = true;
    auto started = std::chrono::steady_clock::now();
    std::vector<pid_t> running;
    for (size_t i = 0; i < AClips.size(); ++i) {
        auto args = CommandArgs(AClips[i], Formats[0], ADir + "/cmd" + std::to_string(i) + ".mp4", AAtOnce);
        if (AAtOnce) {
            running.push_back(SpawnProgram(args));
        } else {
            TRun one = RunProgram(args);
            ok = ok && one.Ok;
            cpu += one.CpuSeconds;
        }
    }
    for (pid_t pid : running) {
        TRun one = WaitProgram(pid);
        ok = ok && one.Ok;
        cpu += one.CpuSeconds;
    }
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.Cpu = cpu / run.Seconds;
    if (!ok) run.Seconds = -1;
    return run;
}

void RunBatches(const std::string& ADir, int AClips, int ASeconds)
{
    std::printf("\nGenerating %d clips of 720p, %d s...\n", AClips, ASeconds);
    std::vector<std::string> clips;
    for (int i = 0; i < AClips; ++i) {
        std::string name = ADir + "/clip" + std::to_string(i) + ".mp4";
        if (!MakeClip(name, "1280x720", ASeconds, 300 + 50 * i)) {
            std::printf("could not generate the clips with the ffmpeg command\n");
            return;
        }
        clips.push_back(name);
    }
    TFFConverter loader(nullptr);
    if (!loader.LoadAVLib(L"")) {
        std::printf("%s\n", StringToUtf8(loader.LastErrMsg()).c_str());
        return;
    }
    std::printf("\n%d clips to MP4 (libx264 + aac) on %d cores (CPU = cores busy)\n", AClips, CoreCount());
    std::printf("%-44s %9s %10s %6s\n", "", "seconds", "clips/min", "CPU");
    auto print = [&](const std::string& AName, const TBatchRun& ARun) {
        if (ARun.Seconds < 0)
            std::printf("%-44s failed\n", AName.c_str());
        else
            std::printf("%-44s %9.2f %10.2f %6.2f\n", AName.c_str(), ARun.Seconds, AClips * 60.0 / ARun.Seconds,
                        ARun.Cpu);
        std::fflush(stdout);
    };
    TBatchRun sequential = RunCommandBatch(clips, ADir, false);
    print("ffmpeg, one after another, own threading", sequential);
    TBatchRun parallel = RunCommandBatch(clips, ADir, true);
    print("ffmpeg, " + std::to_string(AClips) + " at once, one thread each", parallel);
    TBatchRun one, eight;
    for (int count : {1, 2, 4, 8}) {
        TBatchRun run = RunBatch(clips, ADir, count);
        print("engine, " + std::to_string(count) + " task thread" + (count > 1 ? "s" : ""), run);
        if (count == 1) one = run;
        if (count == 8) eight = run;
    }
    if (one.Seconds > 0 && sequential.Seconds > 0)
        std::printf("1 task thread against ffmpeg one after another: %.2fx faster (aim: at least 1.00)%s\n",
                    sequential.Seconds / one.Seconds, one.Seconds <= sequential.Seconds ? "" : " (aim missed)");
    if (eight.Seconds > 0 && parallel.Seconds > 0)
        std::printf("8 task threads against %d processes at once: %.2fx faster (aim: at least 1.00)%s\n", AClips,
                    parallel.Seconds / eight.Seconds, eight.Seconds <= parallel.Seconds ? "" : " (aim missed)");
}

}  // namespace

int main(int argc, char** argv)
{
    int reps = 3, seconds = 20, clips = 8, clipSeconds = 10;
    bool cases = true, batches = true;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto number = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--reps")
            reps = std::max(1, number());
        else if (arg == "--seconds")
            seconds = std::max(1, number());
        else if (arg == "--clips")
            clips = std::max(1, number());
        else if (arg == "--clip-seconds")
            clipSeconds = std::max(1, number());
        else if (arg == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (arg == "--skip-cases")
            cases = false;
        else if (arg == "--skip-batches")
            batches = false;
        else {
            std::fprintf(stderr,
                         "usage: engine-bench [--reps N] [--seconds S] [--clips N] [--clip-seconds S] [--dir DIR]\n"
                         "                    [--skip-cases] [--skip-batches]\n");
            return 2;
        }
    }
    bool ownDir = dir.empty();
    if (ownDir) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vx-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) return 1;
        dir = tmpl;
    }
    std::filesystem::create_directories(dir);
    // engine-convert lies beside this program.
    std::string engineConvert = StringToUtf8(ExtractFilePath(ExeFileName())) + "engine-convert";
    if (cases) RunCases(dir, engineConvert, reps, seconds);
    if (batches) RunBatches(dir, clips, clipSeconds);
    if (ownDir) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    return 0;
}
