// Conversions as a user runs them on ordinary and awkward media, through the task component:
// sound with more channels than the encoder takes, two tasks naming one output, an output
// folder that cannot be written, a disk that fills up, text subtitles into Matroska. Every run
// also holds its progress reports to what a progress bar needs: no time before there is one,
// never backwards, never past the whole. And the memory of a long queue stays flat.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "engine/transcode_run.h"
#include "platform/framework/core/files.h"
#include "tests/engine/converter_media_test_support.h"
#include "tests/engine/media_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of the bytes the program holds (its header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using engine_test::ConverterMedia;

// Where a case writes its output.
enum TPlace {
    InFolder,      // the test's folder
    LockedFolder,  // a folder the (unprivileged) user may not write
    FullDisk,      // a filesystem of 1 MiB
};

struct TCase {
    const char* Name;
    const char* Input;       // a clip the fixture makes
    const char* Output;      // the output's name in its place
    const wchar_t* Options;  // the output's option text
    TPlace Place = InFolder;
    bool SharedOutput = false;      // an earlier task of the queue names the same output
    const char* Refused = nullptr;  // SetOutputFile refuses the output with a text holding this
    const char* Failed = nullptr;   // the task ends failed with a text holding this
    int Channels = 0;               // audio channels of the output (0: not looked at)
    int Subtitles = -1;             // subtitle streams of the output (-1: not looked at)
    bool ThroughLink = false;       // the earlier task names the output through a link to its folder
};

// What differs from the expectation, empty when nothing does (also run in a child process).
using TCheck = std::function<std::string()>;

bool Holds(const String& AText, const char* APart) { return StringToUtf8(AText).find(APart) != std::string::npos; }

// Progress as a bar shows it: a time only once there is one, never backwards, never past the
// whole length.
std::string ProgressFaults(const std::vector<TProgressInfo>& AReports)
{
    std::map<int, int64_t> last;
    for (const TProgressInfo& r : AReports) {
        if (r.CurrentDuration < 0 || (r.TotalDuration > 0 && r.CurrentDuration > r.TotalDuration))
            return "task " + std::to_string(r.TaskIndex) + " reported " + std::to_string(r.CurrentDuration) + " of " +
                   std::to_string(r.TotalDuration);
        auto it = last.find(r.TaskIndex);
        if (it != last.end() && r.CurrentDuration < it->second)
            return "task " + std::to_string(r.TaskIndex) + " went back from " + std::to_string(it->second) + " to " +
                   std::to_string(r.CurrentDuration);
        last[r.TaskIndex] = r.CurrentDuration;
    }
    return std::string();
}

// Runs ABody in a child process (as nobody when AUnprivileged, with a 1 MiB filesystem mounted
// on AMountPoint when it is not empty); what it returned, or why it could not run. A child that
// cannot mount ends with 77.
std::pair<int, std::string> RunInChild(const TCheck& ABody, bool AUnprivileged, const std::string& AMountPoint)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {-1, "pipe"};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        auto finish = [&](int ACode, const std::string& AText) {
            if (!AText.empty() && ::write(pipeEnds[1], AText.data(), AText.size()) < 0) ACode = 99;
            ::_exit(ACode);
        };
        if (!AMountPoint.empty()) {
            // A mount namespace of the child's own: the mount goes when the child ends.
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", AMountPoint.c_str(), "tmpfs", 0, "size=1m,mode=0777") != 0)
                finish(77, std::string("cannot mount a small filesystem here: ") + std::strerror(errno));
        }
        if (AUnprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            finish(100, "cannot become nobody");
        std::string fault = ABody();
        finish(fault.empty() ? 0 : 1, fault);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    ::close(pipeEnds[0]);
    int status = -1;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return {-1, "the child crashed: " + text};
    return {WEXITSTATUS(status), text};
}

class Conversions : public ConverterMedia {
protected:
    // The clips of the cases, made once per test.
    std::string Clip(const std::string& AName)
    {
        const std::string path = Path(AName);
        if (std::filesystem::exists(path)) return path;
        const std::string pan5 = "pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0";
        if (AName == "s51.m4a")
            EXPECT_TRUE(
                probe_test::RunFFmpeg({"-f", "lavfi", "-i", "sine=duration=3", "-af", pan5, "-c:a", "aac", path}));
        else if (AName == "quad.wav")
            EXPECT_TRUE(probe_test::RunFFmpeg({"-f", "lavfi", "-i", "sine=duration=2", "-af",
                                               "pan=quad|c0=c0|c1=c0|c2=c0|c3=c0", "-c:a", "pcm_s16le", path}));
        else if (AName == "clip.mp4")
            return MakeSoundClip(AName, 2);
        else if (AName == "big.mp4")
            return MakeSoundClip(AName, 3, "640x480");
        else if (AName == "srt.mkv") {
            engine_test::TestMedia m;
            m.Width = 64;
            m.Height = 48;
            m.SampleRate = 44100;
            m.Frames = 25;
            m.Subtitles = true;
            EXPECT_EQ(engine_test::WriteTestMedia(path, m), "");
        }
        return path;
    }

    // Runs one case in AConverter; what differs from the case.
    std::string RunCase(TFFConverter& AConverter, const TCase& c, const std::string& AOutput, bool AInline)
    {
        std::mutex lock;
        std::vector<TTerminateInfo> ends;
        std::vector<TProgressInfo> reports;
        AConverter.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard<std::mutex> guard(lock);
            ends.push_back(AInfo);
        });
        AConverter.SetOnProgress([&](TObject*, PProgressInfo AInfo) {
            std::lock_guard<std::mutex> guard(lock);
            reports.push_back(*AInfo);
        });
        AConverter.SetProgressInterval(100);
        const String input = Utf8ToString(Clip(c.Input));
        const String output = Utf8ToString(AOutput);
        if (c.SharedOutput) {
            String firstOutput = output;
            if (c.ThroughLink) {
                const std::filesystem::path target(AOutput);
                const std::filesystem::path link = target.parent_path() / "linked";
                std::error_code ec;
                std::filesystem::create_directory_symlink(target.parent_path(), link, ec);
                if (ec) return "cannot link the folder: " + ec.message();
                firstOutput = Utf8ToString((link / target.filename()).string());
            }
            int first = AConverter.AddTask(input, String());
            if (first < 0 || !AConverter.SetOutputFile(first, firstOutput, c.Options))
                return "the first task: " + StringToUtf8(AConverter.LastErrMsg());
        }
        const int task = AConverter.AddTask(input, String());
        if (task < 0) return "input: " + StringToUtf8(AConverter.LastErrMsg());
        const bool accepted = AConverter.SetOutputFile(task, output, c.Options);
        if (c.Refused) {
            if (accepted) return "the output was accepted";
            if (!Holds(AConverter.LastErrMsg(), c.Refused))
                return "refused with " + StringToUtf8(AConverter.LastErrMsg());
            // Without an earlier task the main window takes the refused one away.
            if (!c.SharedOutput) return std::string();
        } else if (!accepted) {
            return "output: " + StringToUtf8(AConverter.LastErrMsg());
        }

        AConverter.Start(AInline ? 0 : 1);
        if (!WaitServingMainThread(
                [&] {
                    std::lock_guard<std::mutex> guard(lock);
                    return !ends.empty() && ends.back().TaskIndex == -1;
                },
                5, 120000))
            return "the queue did not end";
        std::lock_guard<std::mutex> guard(lock);
        for (const TTerminateInfo& end : ends) {
            if (end.TaskIndex == task && c.Failed) {
                if (!end.Exception || !Holds(end.ExceptionMsg, c.Failed))
                    return "the task ended with \"" + StringToUtf8(end.ExceptionMsg) + "\"";
            } else if (end.TaskIndex >= 0 && !end.Finished) {
                return "task " + std::to_string(end.TaskIndex) + " failed: " + StringToUtf8(end.ExceptionMsg);
            }
        }
        if (std::string fault = ProgressFaults(reports); !fault.empty()) return fault;
        if (c.Failed && !c.SharedOutput)
            return std::filesystem::exists(AOutput) ? "the failed output was left behind" : std::string();
        if (c.Channels == 0 && c.Subtitles < 0) return std::string();
        TAVProbe probe(nullptr);
        if (!probe.LoadFile(output)) return "the output does not open: " + StringToUtf8(probe.LastErrMsg());
        int channels = 0, subtitles = 0;
        for (unsigned i = 0; i < probe.FileHandle()->nb_streams; ++i) {
            const AVCodecParameters* par = probe.FileHandle()->streams[i]->codecpar;
            if (par->codec_type == AVMEDIA_TYPE_AUDIO && channels == 0) channels = par->ch_layout.nb_channels;
            if (par->codec_type == AVMEDIA_TYPE_SUBTITLE) ++subtitles;
        }
        if (c.Channels && channels != c.Channels) return "the output has " + std::to_string(channels) + " channels";
        if (c.Subtitles >= 0 && subtitles != c.Subtitles)
            return "the output has " + std::to_string(subtitles) + " subtitle streams";
        return std::string();
    }
};

TEST_F(Conversions, OrdinaryAndAwkwardMedia)
{
    const TCase cases[] = {
        {"5.1 to MP3 gives stereo", "s51.m4a", "s51.mp3", L"", InFolder, false, nullptr, nullptr, 2},
        {"5.1 to MP2 gives stereo", "s51.m4a", "s51.mp2", L"", InFolder, false, nullptr, nullptr, 2},
        {"quad to MP3 gives stereo", "quad.wav", "quad.mp3", L"", InFolder, false, nullptr, nullptr, 2},
        {"5.1 stays 5.1 where the encoder takes it", "s51.m4a", "s51.ac3", L"", InFolder, false, nullptr, nullptr, 6},
        {"a chosen channel count the encoder does not take", "s51.m4a", "six.mp3", L"ac=6", InFolder, false,
         "Encoder 'libmp3lame' cannot take 6 audio channels (it takes 1, 2)"},
        {"two tasks naming one output", "clip.mp4", "same.avi", L"", InFolder, true, "is already the output of task #0",
         "is already the output of task #0"},
        {"two tasks naming one output, overwriting", "clip.mp4", "same2.avi", L"y=1", InFolder, true,
         "is already the output of task #0", "is already the output of task #0"},
        {"two tasks naming one picture sequence, the first through a linked folder", "clip.mp4", "frame%03d.png", L"",
         InFolder, true, "is already the output of task #0", "is already the output of task #0", 0, -1, true},
        {"progress of video alone", "big.mp4", "quiet.mp4", L"an=1"},
        {"a read-only output folder", "clip.mp4", "out.avi", L"", LockedFolder, false, "Permission denied"},
        {"a disk that fills up", "big.mp4", "full.mp4", L"vcodec=mpeg4\nqscale=1\ns=1920x1440", FullDisk, false,
         nullptr, "No space left on device"},
        {"MKV keeps text subtitles", "srt.mkv", "subtitled.mkv", L"", InFolder, false, nullptr, nullptr, 0, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Place == InFolder) {
            TFFConverter converter(nullptr);
            EXPECT_EQ(RunCase(converter, c, Path(c.Output), false), "");
            continue;
        }
        // The other places exist only for a child process: made there, converted there.
        Clip(c.Input);
        const std::string folder = Path(c.Place == LockedFolder ? "locked" : "small");
        std::filesystem::create_directory(folder);
        if (c.Place == LockedFolder) {
            ::chmod(Folder.path().c_str(), 0755);
            ::chmod(folder.c_str(), 0555);
        }
        const std::string output = folder + "/" + c.Output;
        auto [code, text] = RunInChild(
            [&] {
                TFFConverter converter(nullptr);
                std::string fault = RunCase(converter, c, output, true);
                // What the filesystem holds is looked at before the mount goes.
                if (fault.empty() && c.Failed && std::filesystem::exists(output)) fault = "the output was left behind";
                return fault;
            },
            c.Place == LockedFolder, c.Place == FullDisk ? folder : std::string());
        if (code == 77) {
            std::printf("[  SKIPPED ] %s: %s\n", c.Name, text.c_str());
            continue;
        }
        EXPECT_EQ(code, 0) << text;
        EXPECT_EQ(text, "");
    }
}

// Each task's output is resolved once, when set: later spellings of that file are still caught,
// by the file itself once it exists (a hard link made afterwards) or by its resolved name.
TEST_F(Conversions, OneOutputFileUnderOtherSpellingsIsRefused)
{
    TFFConverter converter(nullptr);
    const String input = Utf8ToString(Clip("clip.mp4"));
    std::filesystem::create_directory(Path("sub"));
    ASSERT_EQ(converter.AddTask(input, String()), 0);
    ASSERT_TRUE(converter.SetOutputFile(0, WPath("one.avi"), L"")) << StringToUtf8(converter.LastErrMsg());
    // Setting the output creates nothing: it is compared by its resolved name.
    EXPECT_FALSE(std::filesystem::exists(Path("one.avi")));
    std::filesystem::create_directory_symlink(Folder.path(), Path("sub/up"));
    const std::string spellings[] = {Path("sub/../one.avi"), Path("sub/up/one.avi")};
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        int task = converter.AddTask(input, String());
        ASSERT_GE(task, 1);
        EXPECT_FALSE(converter.SetOutputFile(task, Utf8ToString(spelling), L"y=1"));
        EXPECT_NE(StringToUtf8(converter.LastErrMsg()).find("is already the output of task #0"), std::string::npos)
            << StringToUtf8(converter.LastErrMsg());
        converter.RemoveTask(task);
    }
    // Another file is taken.
    int task = converter.AddTask(input, String());
    ASSERT_TRUE(converter.SetOutputFile(task, WPath("two.avi"), L"")) << StringToUtf8(converter.LastErrMsg());
    EXPECT_FALSE(std::filesystem::exists(Path("two.avi"))) << "setting an output creates nothing";
}

// Before the first packet is written there is no time to report: 0, not a placeholder.
TEST_F(Conversions, ProgressBeforeTheFirstPacketIsZero)
{
    TFFmpeg task(2);
    task.ResetConverter();
    ASSERT_TRUE(task.OpenInputFile(Utf8ToString(Clip("clip.mp4"))));
    // The H.264 encoder holds its first pictures back: reports come before any packet.
    task.ApplyOption(L"an", L"1");
    ASSERT_GE(task.OpenOutputFile(WPath("out.mp4"), false), 1) << StringToUtf8(task.FLastErrMsg);
    task.ReportInterval = 0;
    std::vector<TProgressInfo> reports;
    task.FOnProgress = [&](TObject*, int, int AFrame, int, float, float, int64_t, int64_t ACurrent, int64_t ATotal) {
        TProgressInfo info{};
        info.FrameNumber = AFrame;
        info.CurrentDuration = ACurrent;
        info.TotalDuration = ATotal;
        reports.push_back(info);
    };
    task.StartConvert(false, tpNormal);
    ASSERT_TRUE(task.FFinished) << StringToUtf8(task.FFatalMessage);
    ASSERT_GT(reports.size(), 10u);
    EXPECT_EQ(reports.front().CurrentDuration, 0);
    EXPECT_EQ(ProgressFaults(reports), "");
    EXPECT_NEAR(double(reports.back().CurrentDuration), double(reports.back().TotalDuration), 100000.0);
}

// What the allocator holds: the resident set in a plain build; under the address sanitizer,
// whose quarantine keeps freed memory resident, the bytes allocated.
int64_t MemoryInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return int64_t(__sanitizer_get_current_allocated_bytes());
#else
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
#endif
}

// Each finished task gives back what its run used: a queue of forty clips ends where it began.
TEST_F(Conversions, MemoryStaysFlatOverAQueueOfFortyClips)
{
    const std::string input = Path("short.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=25:duration=0.5", "-f", "lavfi",
                                       "-i", "sine=duration=0.5", "-c:v", "mpeg4", "-c:a", "aac", input}));
    auto queue = [&](int ACount, const std::string& APrefix, std::vector<int64_t>* AMemory) {
        Converter->ClearTasks();
        Ends.clear();
        for (int i = 0; i < ACount; ++i) {
            int task = Converter->AddTask(Utf8ToString(input), String());
            ASSERT_GE(task, 0) << StringToUtf8(Converter->LastErrMsg());
            ASSERT_TRUE(Converter->SetOutputFile(task, WPath(APrefix + std::to_string(i) + ".mp4"), String()))
                << StringToUtf8(Converter->LastErrMsg());
        }
        Converter->SetOnTerminate([this, AMemory](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard<std::mutex> lock(Lock);
            // Inline, the end comes once the task has cleaned up and before the next starts.
            if (AInfo.TaskIndex >= 0 && AMemory) AMemory->push_back(MemoryInUse());
            Ends.push_back(AInfo);
        });
        Converter->Start(0);
        ASSERT_TRUE(ServeUntilQueueEnd());
        for (const TTerminateInfo& end : Ends) EXPECT_TRUE(end.Finished) << StringToUtf8(end.ExceptionMsg);
    };
    // The libraries' one-time tables come with the first conversion.
    queue(1, "warm", nullptr);
    Converter->ClearTasks();
    const int64_t before = MemoryInUse();
    std::vector<int64_t> memory;
    queue(40, "out", &memory);
    ASSERT_EQ(memory.size(), 40u);
    constexpr int64_t MiB = 1 << 20;
    EXPECT_LE(memory.back(), memory[4] + 8 * MiB) << "after the fifth " << memory[4] / MiB << " MiB";
    EXPECT_LE(memory.back(), before + 16 * MiB) << "before the queue " << before / MiB << " MiB";
}

}  // namespace
