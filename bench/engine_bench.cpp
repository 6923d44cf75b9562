// engine-bench: the media engine against the ffmpeg command.
//
// Single files at the same settings: a 720p and a 1080p clip (20 s, stereo sound) are converted to MP4
// (libx264 + aac), AVI (mpeg4 + libmp3lame) and WMV (wmv2 + wmav2) with the same codecs, bit rates
// and one codec thread on both sides (the engine's default; "-threads 1" for the command), the
// engine through engine-convert (the task component), each case several times in turn. Printed
// per case: the median wall time of each side, the ratio engine/command and the peak memory of
// each; then the median of the ratios. Aim: ratio at most 1.05.
// Batches of clips: 8 clips converted by one task component with 1, 2, 4 and as many task threads
// as there are cores, against the command converting the same clips one after another with its
// own default threading. Aims: near-linear scaling up to the cores; the batch at full thread
// count at least as fast as the command's run.
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

#include "engine/converter.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

extern char** environ;

namespace {

struct TRun {
    bool Ok = false;
    double Seconds = 0;
    long PeakKB = 0;  // peak resident memory of the process
};

// Runs a program with an argument vector, its output thrown away; wall time and peak memory.
TRun RunProgram(const std::vector<std::string>& AArgs)
{
    std::vector<char*> argv;
    std::vector<std::string> args = AArgs;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    TRun run;
    auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.PeakKB = usage.ru_maxrss;
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
    std::printf("\nSame settings, one codec thread, %d runs each in turn (times are medians)\n", AReps);
    std::printf("%-14s %10s %10s %8s %12s %12s\n", "case", "engine s", "command s", "ratio", "engine MB", "command MB");
    std::vector<double> ratios;
    for (const TInput& input : inputs) {
        for (const TFormat& format : Formats) {
            std::vector<double> engine, command;
            long engineKB = 0, commandKB = 0;
            bool failed = false;
            const std::string out = ADir + "/out." + format.Ext;
            for (int rep = 0; rep < AReps && !failed; ++rep) {
                std::vector<std::string> args = {AEngineConvert, "--quiet", input.File, out};
                for (const std::string& option : EngineOptions(format)) args.push_back(option);
                TRun e = RunProgram(args);
                TRun c = RunProgram(CommandArgs(input.File, format, out, true));
                if (!e.Ok || !c.Ok) {
                    std::printf("%-5s %-8s failed (%s)\n", input.Name, format.Name, !e.Ok ? "engine" : "command");
                    failed = true;
                    break;
                }
                engine.push_back(e.Seconds);
                command.push_back(c.Seconds);
                engineKB = std::max(engineKB, e.PeakKB);
                commandKB = std::max(commandKB, c.PeakKB);
            }
            if (failed) continue;
            double ratio = Median(engine) / Median(command);
            ratios.push_back(ratio);
            std::printf("%-5s %-8s %10.2f %10.2f %8.3f %12.1f %12.1f\n", input.Name, format.Name, Median(engine),
                        Median(command), ratio, engineKB / 1024.0, commandKB / 1024.0);
            std::fflush(stdout);
        }
    }
    if (!ratios.empty()) {
        double median = Median(ratios);
        std::printf("median ratio engine/command: %.3f (aim: at most 1.05) %s\n", median,
                    median <= 1.05 ? "met" : "MISSED");
    }
}

// Converts every clip with one task component running AThreads tasks at once; wall seconds, or
// a negative value when a task did not finish.
double RunBatch(const std::vector<std::string>& AClips, const std::string& ADir, int AThreads)
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
            return -1;
        }
    }
    auto started = std::chrono::steady_clock::now();
    converter.Start(AThreads);
    WaitServingMainThread([&] { return ended.load(); }, 10);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return finished == int(AClips.size()) ? seconds : -1;
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
    int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<int> counts = {1, 2, 4};
    if (cores != 1 && cores != 2 && cores != 4) counts.push_back(cores);
    std::printf("\n%d clips to MP4 (libx264 + aac), one task component\n", AClips);
    std::printf("%-14s %10s %12s %10s %12s\n", "task threads", "seconds", "clips/min", "speed-up", "per thread");
    double one = 0, full = 0;
    for (int count : counts) {
        double seconds = RunBatch(clips, ADir, count);
        if (seconds < 0) {
            std::printf("%-14d failed\n", count);
            return;
        }
        if (count == 1) one = seconds;
        full = seconds;
        double speedUp = one / seconds;
        std::printf("%-14d %10.2f %12.2f %10.2f %12.2f\n", count, seconds, AClips * 60.0 / seconds, speedUp,
                    speedUp / count);
        std::fflush(stdout);
    }
    auto started = std::chrono::steady_clock::now();
    for (size_t i = 0; i < clips.size(); ++i) {
        TRun run = RunProgram(CommandArgs(clips[i], Formats[0], ADir + "/cmd" + std::to_string(i) + ".mp4", false));
        if (!run.Ok) {
            std::printf("the ffmpeg command failed on %s\n", clips[i].c_str());
            return;
        }
    }
    double command = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("ffmpeg command, one after another, own threading: %.2f s (%.2f clips/min)\n", command,
                AClips * 60.0 / command);
    std::printf("batch at %d task threads against the command: %.2fx (aim: at least 1.00) %s\n", counts.back(),
                command / full, command / full >= 1.0 ? "met" : "MISSED");
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
