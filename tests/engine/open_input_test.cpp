// Opening the inputs of a conversion task: the parameters an output inherits, the failure
// texts, the start-time seek, and that an input is only read.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/open_files_test_support.h"

using namespace engine_test;

namespace {

class OpenInput : public OpenFilesFixture {};

TEST_F(OpenInput, VideoInheritsSizeAspectRateAndPixelFormat)
{
    struct Case {
        int Width, Height;
        AVRational Sar;
        float Aspect;
    } cases[] = {
        {720, 576, {16, 15}, 720.0f * 16 / 15 / 576},  // 4/3 from a non-square sample aspect
        {640, 480, {0, 1}, 640.0f / 480},              // no sample aspect: width / height
        {320, 240, {2, 1}, 320.0f * 2 / 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
        Task->ResetConverter();
        TestMedia m;
        m.Width = c.Width;
        m.Height = c.Height;
        m.SampleAspect = c.Sar;
        m.Frames = 2;
        ASSERT_TRUE(Input(Media("v" + std::to_string(c.Width) + ".mkv", m))) << LastError();
        EXPECT_EQ(Task->Fframe_width, c.Width);
        EXPECT_EQ(Task->Fframe_height, c.Height);
        EXPECT_NEAR(Task->Fframe_aspect_ratio, c.Aspect, 1e-4);
        EXPECT_EQ(Task->Fframe_pix_fmt, AV_PIX_FMT_YUV420P);
        EXPECT_EQ(Task->Fframe_rate.num, 25);
        EXPECT_EQ(Task->Fframe_rate.den, 1);
    }
    EXPECT_NEAR(720.0f * 16 / 15 / 576, 4.0f / 3, 1e-4);
}

TEST_F(OpenInput, CodecsCountingFieldsRaiseNoFrameRateRemark)
{
    TestMedia m;
    m.Width = 64;
    m.Height = 48;
    m.VideoCodec = AV_CODEC_ID_H264;
    ASSERT_TRUE(Input(Media("in.mp4", m))) << LastError();
    EXPECT_EQ(Task->Fframe_rate.num, 25);
    EXPECT_EQ(Task->Fframe_rate.den, 1);
    for (const TLogLine& line : Lines) EXPECT_EQ(line.Text.find(L"Seems stream"), String::npos);
}

TEST_F(OpenInput, ReducedResolutionDecodingHalvesTheInheritedSize)
{
    TestMedia m;
    m.Width = 64;
    m.Height = 48;
    Apply("lowres", "1");
    ASSERT_TRUE(Input(Media("in.mkv", m))) << LastError();
    EXPECT_EQ(Task->Fframe_width, 32);
    EXPECT_EQ(Task->Fframe_height, 24);
    EXPECT_EQ(Task->InputStreamCodec(Task->Finput_files[0]->streams[0])->codec->lowres, 1);
}

TEST_F(OpenInput, ProgramSelection)
{
    TestMedia m;
    m.Width = 64;
    m.Height = 48;
    std::string ts = Media("in.ts", m);
    Apply("programid", "1");
    ASSERT_TRUE(Input(ts)) << LastError();
    EXPECT_EQ(Task->Fopt_programid, 0);
    EXPECT_EQ(Task->Finput_files[0]->streams[0]->discard, AVDISCARD_DEFAULT);
    Task->ResetConverter();
    Apply("programid", "2");
    EXPECT_FALSE(Input(ts));
    EXPECT_EQ(LastError(), "Specified program id not found");
}

TEST_F(OpenInput, RawInputsTakeTheirParametersFromTheOptions)
{
    std::string pcm = Dir.file("in.raw");
    WriteFile(pcm, std::string(16000, '\0'));
    Apply("f", "s16le");
    Apply("ar", "8000");
    Apply("ac", "1");
    ASSERT_TRUE(Input(pcm)) << LastError();
    EXPECT_EQ(Task->Faudio_sample_rate, 8000);
    EXPECT_EQ(Task->Faudio_channels, 1);
    EXPECT_EQ(Task->FTotalOutputDuration, 1000000);

    Task->ResetConverter();
    std::string yuv = Dir.file("in.yuv");
    WriteFile(yuv, std::string(64 * 48 * 3 / 2 * 10, '\x40'));
    Apply("f", "rawvideo");
    Apply("s", "64x48");
    Apply("pix_fmt", "yuv420p");
    Apply("r", "10");
    ASSERT_TRUE(Input(yuv)) << LastError();
    EXPECT_EQ(Task->Fframe_width, 64);
    EXPECT_EQ(Task->Fframe_height, 48);
    EXPECT_EQ(Task->Fframe_rate.num, 10);
    EXPECT_EQ(Task->FTotalOutputDuration, 1000000);
}

TEST_F(OpenInput, UnknownSizeAndAspectGiveFourThirds)
{
    EXPECT_FLOAT_EQ(InputDisplayAspect(0, 0, 0), 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(InputDisplayAspect(0, 0, 2.0f), 2.0f);
    EXPECT_FLOAT_EQ(InputDisplayAspect(640, 480, 0), 640.0f / 480);
}

TEST_F(OpenInput, AudioInheritsChannelsRateAndFormatAndEveryStreamGetsAContext)
{
    TestMedia m;
    m.Width = 64;
    m.Height = 48;
    m.SampleRate = 22050;
    m.Channels = 2;
    m.Subtitles = true;
    ASSERT_TRUE(Input(Media("in.mkv", m))) << LastError();
    EXPECT_EQ(Task->Faudio_sample_rate, 22050);
    EXPECT_EQ(Task->Faudio_channels, 2);
    EXPECT_EQ(Task->Faudio_sample_fmt, AV_SAMPLE_FMT_S16);
    // Matroska keeps only the channel count of PCM: no layout to hand on.
    EXPECT_EQ(Task->Fchannel_layout, 0);
    EXPECT_EQ(Task->Fnb_input_files, 1);
    AVFormatContext* ic = Task->Finput_files[0];
    ASSERT_EQ(ic->nb_streams, 3u);
    EXPECT_EQ(Task->Fnb_icodecs, 3);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        TStreamCodec* item = Task->InputStreamCodec(ic->streams[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->codec->codec_type, ic->streams[i]->codecpar->codec_type);
        EXPECT_EQ(item->codec->thread_count, 1);
    }
    // Codec and container agree on the frame rate: no remark about it.
    for (const TLogLine& line : Lines) EXPECT_EQ(line.Text.find(L"Seems stream"), String::npos);
    // The expected output length is the input's.
    EXPECT_GT(Task->FTotalOutputDuration, 0);
    EXPECT_EQ(Task->FTotalOutputDuration, ic->duration);
}

TEST_F(OpenInput, FailureTexts)
{
    std::string good = VideoAudio();
    std::string garbage = Dir.file("garbage.mkv");
    WriteFile(garbage, std::string(4096, '\x5a'));
    std::string empty = Dir.file("empty.avi");
    WriteFile(empty, "");
    std::string missing = Dir.file("missing.mkv");
    struct Case {
        const char* Option;
        const char* Value;
        std::string File;
        std::string Error;
    } cases[] = {
        {nullptr, nullptr, missing, missing + ": No such file or directory"},
        {nullptr, nullptr, garbage, garbage + ": Invalid data found when processing input"},
        {nullptr, nullptr, empty, empty + ": Invalid data found when processing input"},
        {"vcodec", "nosuchcodec", good, "Unknown decoder 'nosuchcodec'"},
        {"vcodec", "libx264", good, "Unknown decoder 'libx264'"},  // an encoder only
        {"vcodec", "mp3", good, "Invalid decoder type 'mp3'"},
        {"acodec", "h264", good, "Invalid decoder type 'h264'"},
        {"programid", "7", good, "Specified program id not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Error);
        Task->ResetConverter();
        if (c.Option) Apply(c.Option, c.Value);
        EXPECT_FALSE(Input(c.File));
        EXPECT_EQ(LastError(), c.Error);
        EXPECT_EQ(Task->Fnb_input_files, 0);
        EXPECT_TRUE(Task->Fvideo_codec_name.empty() && Task->Faudio_codec_name.empty());
    }
}

TEST_F(OpenInput, UnknownForcedFormatRaisesAndOpensNothing)
{
    std::string good = VideoAudio();
    Apply("f", "nosuchformat");
    EXPECT_EQ(FailureOf([&] { Input(good); }), "Unknown input format: \"nosuchformat\"");
    EXPECT_EQ(Task->Fnb_input_files, 0);
    // A known one is taken and consumed.
    Task->ResetConverter();
    Apply("f", "matroska");
    ASSERT_TRUE(Input(good)) << LastError();
    EXPECT_TRUE(Task->Flast_asked_format.empty());
    EXPECT_STREQ(Task->Finput_files[0]->iformat->name, "matroska,webm");
}

TEST_F(OpenInput, ForcedDecoderIsRecordedForItsStream)
{
    Apply("vcodec", "mpeg4");
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    ASSERT_NE(Task->Finput_codecs[0], nullptr);
    EXPECT_STREQ(Task->Finput_codecs[0]->name, "mpeg4");
    EXPECT_EQ(Task->Finput_codecs[1], nullptr);
    EXPECT_TRUE(Task->Fvideo_codec_name.empty());
}

TEST_F(OpenInput, StartTimeIsConsumedAndShiftsTheTimestamps)
{
    std::string in = VideoAudio();
    // Far beyond the end: the input still opens.
    Apply("ss", "100");
    Task->Fverbose = 2;
    ASSERT_TRUE(Input(in)) << LastError();
    EXPECT_EQ(Task->Fstart_time, 0);
    int64_t start = Task->Finput_files[0]->start_time == AV_NOPTS_VALUE ? 0 : Task->Finput_files[0]->start_time;
    EXPECT_EQ(Task->Finput_files_ts_offset[0], -(100 * 1000000LL + start));
    // With copied timestamps the offset is the one asked for.
    Task->ResetConverter();
    Apply("ss", "0.04");
    Apply("itsoffset", "2");
    Apply("copyts");
    ASSERT_TRUE(Input(in)) << LastError();
    EXPECT_EQ(Task->Finput_files_ts_offset[0], 2000000);
}

TEST_F(OpenInput, AnInputIsOnlyRead)
{
    std::string in = VideoAudio("源文件 视频.mkv");
    std::string before = Contents(in);
    auto stamp = std::filesystem::last_write_time(in);
    ASSERT_TRUE(Input(in)) << LastError();
    Task->ResetConverter();
    EXPECT_EQ(Contents(in), before);
    EXPECT_EQ(std::filesystem::last_write_time(in), stamp);
}

TEST_F(OpenInput, AudioOnlyInputKeepsTheVideoDefaults)
{
    ASSERT_TRUE(Input(AudioOnly("in.wav", 8000))) << LastError();
    EXPECT_EQ(Task->Fframe_width, 0);
    EXPECT_EQ(Task->Fframe_pix_fmt, -1);
    EXPECT_EQ(Task->Faudio_sample_rate, 8000);
    EXPECT_EQ(Task->Faudio_channels, 1);
}

}  // namespace
