// Helpers of the probe tests: media fixtures made with the ffmpeg tool in the test's own
// folder, the libraries the probe needs, and a capture of the engine log.
#pragma once

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "engine/av_probe.h"
#include "engine/logger.h"
#include "tests/engine/engine_test_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace probe_test {

// Runs the ffmpeg tool with an argument vector (no shell); True when it succeeded.
inline bool RunFFmpeg(std::vector<std::string> args)
{
    args.insert(args.begin(), {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A log line as the engine delivered it.
struct TLogLine {
    TLogLevel Level;
    std::string Text;
};

// Loads the probe's libraries, gives each test a fresh folder and records the engine log.
class ProbeFixture : public engine_test::LibrariesFixture {
protected:
    void SetUp() override
    {
        LoadOrFail(ProbeLibraries);
        DefaultLogger()->SetTriggerEventInMainThread(false);
        DefaultLogger()->SetLogLevel(llInfo);
        DefaultLogger()->SetOnLog([this](TObject*, uint32_t, TLogLevel level, const String& text) {
            Log.push_back({level, StringToUtf8(text)});
        });
    }
    void TearDown() override
    {
        DefaultLogger()->SetOnLog(nullptr);
        engine_test::LibrariesFixture::TearDown();
    }

    bool Logged(const std::string& text) const
    {
        for (const TLogLine& line : Log)
            if (line.Text == text) return true;
        return false;
    }

    std::string Path(const std::string& name) const { return Folder.file(name); }
    String WPath(const std::string& name) const { return Utf8ToString(Folder.file(name)); }

    // 2 s of the test picture, 320x240 at 25 fps, MPEG-4 with a key frame every 10 pictures.
    // An MP4 gets its index first, as files made for the web have it.
    std::string MakeClip(const std::string& name = "clip.mp4")
    {
        std::vector<std::string> args = {
            "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-c:v", "mpeg4", "-g", "10", "-bf", "0"};
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".mp4") == 0)
            args.insert(args.end(), {"-movflags", "+faststart"});
        args.push_back(Path(name));
        EXPECT_TRUE(RunFFmpeg(args));
        return Path(name);
    }

    TempDir Folder;
    std::vector<TLogLine> Log;
};

// One pixel of an image as 0xAARRGGBB.
inline uint32_t Pixel(const TFrameImage& AImage, int x, int y)
{
    const uint8_t* p = AImage.ScanLine(y) + x * 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The text's lines (CR LF separated).
inline std::vector<std::string> Lines(const String& AText)
{
    std::vector<std::string> lines;
    const std::string text = StringToUtf8(AText);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line lacks its CR LF";
    return lines;
}

}  // namespace probe_test
