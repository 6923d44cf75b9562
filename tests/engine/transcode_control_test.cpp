// A conversion under control: progress reports with their values, a stop request midway that
// still leaves a playable file, a run in the converting thread, and two-pass encoding with its
// statistics file.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/base/main_thread.h"
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

struct TReport {
    int FileIndex, FrameNumber, FPS;
    float Quality, BitRate;
    int64_t Size, Duration, Total;
};

class TranscodeControl : public engine_test::TranscodeFixture {
protected:
    void Record()
    {
        Task->FOnProgress = [this](TObject*, int AFileIndex, int AFrameNumber, int AFPS, float AQuality, float ABitRate,
                                   int64_t ASize, int64_t ADuration, int64_t ATotal) {
            Reports.push_back(TReport{AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ASize, ADuration, ATotal});
        };
    }
    std::vector<TReport> Reports;
};

TEST_F(TranscodeControl, ProgressOfAVideoConversion)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip("in.mkv", 176, 144, 48000, 50), out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
    Task->ReportInterval = 0;  // a report after every packet
    Record();
    ASSERT_EQ(Run(), "");
    ASSERT_GE(Reports.size(), 10u);
    const TReport& last = Reports.back();
    EXPECT_EQ(last.FileIndex, -1);
    EXPECT_EQ(last.FrameNumber, 50);
    // Pictures per whole second of the run: 0 while it took under a second, at most all 50 after.
    EXPECT_GE(last.FPS, 0);
    EXPECT_LE(last.FPS, 50);
    EXPECT_GT(last.Quality, 0.0f);
    EXPECT_EQ(last.Size, int64_t(std::filesystem::file_size(out)));
    EXPECT_NEAR(double(last.Duration), 2000000.0, 60000.0);
    EXPECT_NEAR(double(last.Total), 2000000.0, 1000.0);
    EXPECT_NEAR(last.BitRate, double(last.Size) * 8 / 2.0 / 1000, 20.0);
    for (size_t i = 0; i + 1 < Reports.size(); ++i) {
        EXPECT_EQ(Reports[i].FileIndex, 0);
        EXPECT_GE(Reports[i].FrameNumber, 1);  // no report before the first picture was written
        EXPECT_LE(Reports[i].FrameNumber, Reports[i + 1].FrameNumber);
        EXPECT_LE(Reports[i].Size, Reports[i + 1].Size);
    }
}

TEST_F(TranscodeControl, ProgressOfAnAudioConversionHasNoFrames)
{
    std::string out = Dir.file("out.mp3");
    Prepare(Clip("in.mkv", 0, 0, 44100, 50), out);
    Task->ReportInterval = 0;
    Record();
    ASSERT_EQ(Run(), "");
    ASSERT_GE(Reports.size(), 2u);
    for (const TReport& r : Reports) {
        EXPECT_EQ(r.FrameNumber, -1);
        EXPECT_EQ(r.FPS, -1);
        EXPECT_EQ(r.Quality, -1.0f);
    }
    EXPECT_NEAR(double(Reports.back().Duration), 2000000.0, 60000.0);
}

// Without an event the reports go to the log; the last one with the summary.
TEST_F(TranscodeControl, ReportsWithoutAnEventAreLogged)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
    ASSERT_EQ(Run(), "");
    bool report = false, summary = false;
    for (const auto& line : Lines) {
        std::string text = StringToUtf8(line.Text);
        report = report || (text.rfind("frame=   25 fps=  0 q=", 0) == 0 && text.find("L") != std::string::npos);
        summary = summary || (text.rfind("video:", 0) == 0 && text.find("muxing overhead") != std::string::npos);
    }
    EXPECT_TRUE(report);
    EXPECT_TRUE(summary);
    EXPECT_TRUE(Logged(llVerbose, L"Stream mapping:"));
    EXPECT_TRUE(Logged(llVerbose, L"  Stream #0.0 -> #0.0 (Video)"));
    EXPECT_TRUE(Logged(llVerbose, L"  Stream #0.1 -> #0.1 (Audio)"));
}

// A stop request midway: the encoders are drained and the trailer written, so the MP4 plays;
// the task did not finish and did not fail.
TEST_F(TranscodeControl, StopMidwayLeavesAPlayableFile)
{
    std::string out = Dir.file("out.mp4");
    Prepare(Clip("in.mkv", 176, 144, 48000, 100), out, {{"vcodec", "libx264"}, {"vpre", "libx264-default"}});
    Task->ReportInterval = 0;
    Task->FOnProgress = [this](TObject*, int, int AFrame, int, float, float, int64_t, int64_t, int64_t) {
        if (AFrame >= 10) Task->Stop(false);
    };
    ASSERT_EQ(Run(), "");
    EXPECT_FALSE(Task->FFinished);
    EXPECT_FALSE(Task->FFatalException);
    TOutputFacts f = Facts(out);
    ASSERT_TRUE(f.Opened);
    EXPECT_EQ(f.VideoCodec, "h264");
    EXPECT_GE(f.VideoPackets, 10);
    EXPECT_LT(f.VideoPackets, 100);
    EXPECT_GT(f.AudioPackets, 0);
}

TEST_F(TranscodeControl, RunsInTheConvertingThread)
{
    std::string out = Dir.file("out.flv");
    Prepare(Clip(), out);
    std::atomic<int> ended{0};
    Task->FOnTerminate = [&](TObject*) { ++ended; };
    TThread* thread = Task->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitServingMainThread([&] { return ended.load() > 0; }, 10, 30000));
    Task->Stop(true);
    EXPECT_EQ(ended.load(), 1);
    EXPECT_TRUE(Task->FFinished);
    EXPECT_EQ(Facts(out).VideoPackets, 25);
}

// Two passes over one clip: the first writes the statistics file, the second reads it.
TEST_F(TranscodeControl, TwoPassEncoding)
{
    std::string in = Clip();
    for (const char* codec : {"mpeg4", "libx264"}) {
        SCOPED_TRACE(codec);
        std::string prefix = Dir.file(std::string("stats-") + codec);
        std::string log = prefix + "-0.log";
        std::string first = Dir.file(std::string("pass1-") + codec + ".avi");
        std::string second = Dir.file(std::string("pass2-") + codec + ".avi");
        Task->ResetConverter();
        Prepare(in, first, {{"vcodec", codec}, {"b", "200000"}, {"an", ""}, {"pass", "1"}, {"passlogfile", prefix}});
        ASSERT_EQ(Run(), "");
        ASSERT_TRUE(Exists(log));
        EXPECT_GT(std::filesystem::file_size(log), 0u);

        Task->ResetConverter();
        Prepare(in, second, {{"vcodec", codec}, {"b", "200000"}, {"an", ""}, {"pass", "2"}, {"passlogfile", prefix}});
        ASSERT_EQ(Run(), "");
        EXPECT_EQ(Facts(second).VideoPackets, 25);
    }
}

// The second pass without the statistics of the first fails with the file's name.
TEST_F(TranscodeControl, SecondPassWithoutStatisticsFails)
{
    std::string prefix = Dir.file("none");
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"pass", "2"}, {"passlogfile", prefix}});
    EXPECT_EQ(Run(), "Cannot read file: Error reading log file \"" + prefix + "-0.log\" for pass-2 encoding");
    EXPECT_FALSE(Exists(out));
}

// A paused run writes nothing until it is resumed, then ends normally.
TEST_F(TranscodeControl, PauseHoldsTheRunBetweenPackets)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip("in.mkv", 176, 144, 48000, 50), out, {{"vcodec", "mpeg4"}});
    Task->ReportInterval = 0;
    std::atomic<int> reports{0};
    std::atomic<bool> ended{false};
    Task->FOnProgress = [&](TObject*, int, int, int, float, float, int64_t, int64_t, int64_t) {
        if (++reports == 3) Task->Pause();
    };
    Task->FOnTerminate = [&](TObject*) { ended = true; };
    TThread* thread = Task->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitServingMainThread([&] { return Task->Paused(); }, 5, 30000));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(reports.load(), 3);
    EXPECT_FALSE(ended.load());
    Task->Resume();
    ASSERT_TRUE(WaitServingMainThread([&] { return ended.load(); }, 10, 30000));
    Task->Stop(true);
    EXPECT_TRUE(Task->FFinished);
    EXPECT_EQ(Facts(out).VideoPackets, 50);
}

// Two tasks convert at the same time, each in its own thread, without disturbing each other.
TEST_F(TranscodeControl, TwoTasksAtOnce)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 50);
    std::string outA = Dir.file("a.mp4");
    std::string outB = Dir.file("b.avi");
    Prepare(in, outA, {{"vcodec", "libx264"}, {"vpre", "libx264-default"}});
    TFFmpeg other(4);
    other.ResetConverter();
    ASSERT_TRUE(other.OpenInputFile(Utf8ToString(in))) << StringToUtf8(other.FLastErrMsg);
    other.ApplyOption(L"vcodec", L"mpeg4");
    other.ApplyOption(L"acodec", L"libmp3lame");
    ASSERT_GE(other.OpenOutputFile(Utf8ToString(outB), false), 1) << StringToUtf8(other.FLastErrMsg);
    std::atomic<int> ended{0};
    Task->FOnTerminate = [&](TObject*) { ++ended; };
    other.FOnTerminate = [&](TObject*) { ++ended; };
    TThread* a = Task->StartConvert(true, tpNormal);
    TThread* b = other.StartConvert(true, tpNormal);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a->Start();
    b->Start();
    ASSERT_TRUE(WaitServingMainThread([&] { return ended.load() == 2; }, 10, 60000));
    Task->Stop(true);
    other.Stop(true);
    EXPECT_TRUE(Task->FFinished);
    EXPECT_TRUE(other.FFinished);
    EXPECT_FALSE(other.FFatalException) << StringToUtf8(other.FFatalMessage);
    EXPECT_EQ(Facts(outA).VideoCodec, "h264");
    EXPECT_EQ(Facts(outA).VideoPackets, 50);
    EXPECT_EQ(Facts(outB).VideoPackets, 50);
    EXPECT_EQ(Facts(outB).AudioCodec, "mp3");
}

// An encoder's own option set by name reaches the encoder when it is opened: libx264 writes
// its settings into the stream, and "ultrafast" turns CABAC off.
TEST_F(TranscodeControl, EncoderPrivateOptionsReachTheEncoder)
{
    std::string in = Clip();
    std::string fast = Dir.file("fast.mkv");
    std::string plain = Dir.file("plain.mkv");
    Prepare(in, fast, {{"vcodec", "libx264"}, {"preset", "ultrafast"}, {"an", ""}});
    ASSERT_EQ(Run(), "");
    Task->ResetConverter();
    Prepare(in, plain, {{"vcodec", "libx264"}, {"an", ""}});
    ASSERT_EQ(Run(), "");
    EXPECT_NE(Contents(fast).find("cabac=0"), std::string::npos);
    EXPECT_NE(Contents(plain).find("cabac=1"), std::string::npos);
}

// The last report line carries the picture quality measures when they are asked for.
TEST_F(TranscodeControl, ReportWithPsnrAndQuantiserHistogram)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"an", ""}, {"psnr", "1"}, {"qphist", "1"}});
    ASSERT_EQ(Run(), "");
    std::string last;
    for (const auto& line : Lines) {
        std::string text = StringToUtf8(line.Text);
        if (text.rfind("frame=   25", 0) == 0) last = text;
    }
    ASSERT_NE(last, "");
    size_t psnr = last.find("PSNR=Y:");
    ASSERT_NE(psnr, std::string::npos) << last;
    EXPECT_NE(last.find(" U:", psnr), std::string::npos);
    EXPECT_NE(last.find(" *:", psnr), std::string::npos);
    // 32 histogram digits follow the "L" of the last report.
    size_t mark = last.find("L");
    ASSERT_NE(mark, std::string::npos);
    std::string digits = last.substr(mark + 1, 32);
    EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), std::string::npos) << last;
    EXPECT_NE(digits.find_first_not_of("0"), std::string::npos) << last;
}

}  // namespace
