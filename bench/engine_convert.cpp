// engine-convert: converts one input file to one output file through the task component, with
// the options written in the engine's own option language, printing a progress line per report
// and the result. It lets anyone hold the engine against the ffmpeg command on their own files;
// the engine benchmark runs it for the engine's side of each comparison.
//
//   engine-convert [--input-options TEXT] [--libs DIR] [--interval MS] [--quiet] [--verbose]
//                  INPUT OUTPUT [NAME=VALUE ...]
//
// Each NAME=VALUE argument is one line of the output's option text (as the output's ExtOptions
// text form takes it: "vcodec=libx264", "b=2000000", "acodec=aac", "ab=128000", "TimeLength=...").
// An option the engine refuses or does not know fails the set-up with the reason.
// Exit code: 0 finished, 1 the conversion failed or was stopped, 2 the task could not be set up.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/converter.h"
#include "engine/logger.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/strings.h"

namespace {

std::atomic<bool> GStopRequested{false};

void OnInterrupt(int) { GStopRequested = true; }

void Usage()
{
    std::fprintf(stderr,
                 "usage: engine-convert [--input-options TEXT] [--libs DIR] [--interval MS] [--quiet] [--verbose]\n"
                 "                      INPUT OUTPUT [NAME=VALUE ...]\n"
                 "  NAME=VALUE  one line of the output's option text, e.g. vcodec=libx264 b=2000000 acodec=aac\n");
}

// "hh:mm:ss.cc" of a time in microseconds.
std::string TimeText(int64_t AMicroseconds)
{
    if (AMicroseconds < 0) AMicroseconds = 0;
    int64_t cs = AMicroseconds / 10000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", (long long)(cs / 360000),
                  (long long)(cs / 6000 % 60), (long long)(cs / 100 % 60), (long long)(cs % 100));
    return text;
}

// The engine goes on without an option it refuses (the window's presets rely on that); here
// the user typed it, so it ends the command. True when there was one.
bool RefusedOptions(TFFmpeg* ATask, const char* ASide)
{
    for (const TCustomFFmpeg::TRefusedOption& option : ATask->FRefusedOptions) {
        std::string name = StringToUtf8(option.Name), value = StringToUtf8(option.Value);
        if (option.Known)
            std::fprintf(stderr, "%s: invalid value '%s' for option '%s'\n", ASide, value.c_str(), name.c_str());
        else
            std::fprintf(stderr, "%s: unknown option '%s'\n", ASide, name.c_str());
    }
    bool refused = !ATask->FRefusedOptions.empty();
    ATask->FRefusedOptions.clear();
    return refused;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string inputOptions, libs, input, output, outputOptions;
    int interval = 500;
    int positional = 0;  // INPUT and OUTPUT by position, so an empty one is not skipped
    bool quiet = false, verbose = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--input-options")
            inputOptions = value();
        else if (arg == "--libs")
            libs = value();
        else if (arg == "--interval")
            interval = std::atoi(value().c_str());
        else if (arg == "--quiet")
            quiet = true;
        else if (arg == "--verbose")
            verbose = true;
        else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (++positional == 1)
            input = arg;
        else if (positional == 2)
            output = arg;
        else
            outputOptions += arg + "\n";
    }
    if (positional < 2) {
        Usage();
        return 2;
    }
    if (input.empty() || output.empty()) {
        std::fprintf(stderr, "%s: the file name is empty\n", input.empty() ? "input" : "output");
        return 2;
    }

    DefaultLogger()->SetLogLevel(verbose ? llVerbose : llWarning);
    DefaultLogger()->SetOnLog([verbose](TObject*, uint32_t, TLogLevel ALevel, const String& AText) {
        // Verbose lines reach the log at every level; they are shown only when asked for.
        if (ALevel > llWarning && !verbose) return;
        std::string text = StringToUtf8(AText);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (!text.empty()) std::fprintf(stderr, "[%d] %s\n", int(ALevel), text.c_str());
    });

    TFFConverter converter(nullptr);
    if (!converter.LoadAVLib(Utf8ToString(libs))) {
        std::fprintf(stderr, "%s\n", StringToUtf8(converter.LastErrMsg()).c_str());
        return 2;
    }
    int task = converter.AddTask(Utf8ToString(input), Utf8ToString(inputOptions));
    if (task < 0) {
        std::fprintf(stderr, "input: %s\n", StringToUtf8(converter.LastErrMsg()).c_str());
        return 2;
    }
    if (RefusedOptions(converter.Tasks(task), "input")) return 2;
    if (!converter.SetOutputFile(task, Utf8ToString(output), Utf8ToString(outputOptions))) {
        std::fprintf(stderr, "output: %s\n", StringToUtf8(converter.LastErrMsg()).c_str());
        return 2;
    }
    if (RefusedOptions(converter.Tasks(task), "output")) return 2;

    converter.SetProgressInterval(interval);
    if (!quiet) {
        converter.SetOnProgress([](TObject*, PProgressInfo P) {
            int percent = P->TotalDuration > 0 ? int(P->CurrentDuration * 100 / P->TotalDuration) : -1;
            std::printf("frame=%6d fps=%4d q=%5.1f size=%9lldkB time=%s bitrate=%8.1fkbit/s", P->FrameNumber, P->FPS,
                        P->Quality, (long long)(P->CurrentSize / 1024), TimeText(P->CurrentDuration).c_str(),
                        P->BitRate);
            if (percent >= 0) std::printf(" %3d%%", percent);
            std::printf("\n");
            std::fflush(stdout);
        });
    }
    TTerminateInfo result{};
    std::atomic<bool> ended{false};
    converter.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == -1)
            ended = true;
        else
            result = AInfo;
    });

    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    auto started = std::chrono::steady_clock::now();
    converter.Start(1);
    bool stopping = false;
    WaitServingMainThread(
        [&] {
            if (GStopRequested && !stopping) {
                stopping = true;
                converter.Stop(false);
            }
            return ended.load();
        },
        10);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (result.Exception) {
        std::printf("result: failed after %.2f s: %s\n", seconds, StringToUtf8(result.ExceptionMsg).c_str());
        return 1;
    }
    if (!result.Finished) {
        std::printf("result: stopped after %.2f s\n", seconds);
        return 1;
    }
    std::printf("result: finished in %.2f s\n", seconds);
    return 0;
}
