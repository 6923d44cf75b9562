// Target presets: the disc formats per norm, the automatic norm, the channel and aspect rules,
// and every target option taken by the installed libraries.
#include <gtest/gtest.h>

#include "engine/av_bindings.h"
#include "engine/unicode_file.h"
#include "tests/engine/media_test_support.h"
#include "tests/engine/task_test_support.h"
#include "tests/support/temp_dir.h"

using engine_test::TaskFixture;

namespace {

bool HasPair(const std::vector<TOptionPair>& AList, const char* AName, const char* AValue)
{
    for (const TOptionPair& p : AList)
        if (p.Name == AName && p.Value == AValue) return true;
    return false;
}

}  // namespace

class TargetPresets : public TaskFixture {
protected:
    std::string Target(const char* AText)
    {
        return FailureOf([&] { Task->ApplyOption(L"target", Utf8ToString(AText)); });
    }
    AVCodecContext* Video() const { return Task->FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]; }
    AVCodecContext* Audio() const { return Task->FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO]; }
    void ExpectNoRefusal()
    {
        for (const auto& line : Lines) EXPECT_NE(line.Level, llError) << StringToUtf8(line.Text);
    }
};

TEST_F(TargetPresets, PalDvd)
{
    ASSERT_EQ(Target("pal-dvd"), "");
    EXPECT_EQ(Task->Flast_asked_format, "dvd");
    EXPECT_EQ(Task->Fvideo_codec_name, "mpeg2video");
    EXPECT_EQ(Task->Faudio_codec_name, "ac3");
    EXPECT_EQ(Task->Fframe_width, 720);
    EXPECT_EQ(Task->Fframe_height, 576);
    EXPECT_EQ(Task->Fframe_rate.num, 25);
    EXPECT_EQ(Task->Fframe_rate.den, 1);
    EXPECT_EQ(Video()->gop_size, 15);
    EXPECT_EQ(Video()->bit_rate, 6000000);
    EXPECT_EQ(Video()->rc_max_rate, 9000000);
    EXPECT_EQ(Video()->rc_buffer_size, 1835008);
    EXPECT_EQ(Audio()->bit_rate, 448000);
    // The video rates reach the video encoder only.
    EXPECT_NE(Audio()->rc_max_rate, 9000000);
    EXPECT_EQ(Task->Faudio_sample_rate, 48000);
    EXPECT_EQ(Task->FOptions.avformat_opts->packet_size, 2048u);
    EXPECT_TRUE(HasPair(Task->FFormatPrivateOptions, "muxrate", "10080000"));
    EXPECT_FLOAT_EQ(Task->Fframe_aspect_ratio, 16.0f / 9.0f);
    EXPECT_TRUE(Logged(llInfo, L"Assuming 16:9 for aspect ratio"));
    // A norm that is named is not announced.
    EXPECT_FALSE(Logged(llVerbose, L"Assuming PAL for target."));
    ExpectNoRefusal();
}

TEST_F(TargetPresets, NtscVcd)
{
    ASSERT_EQ(Target("ntsc-vcd"), "");
    EXPECT_EQ(Task->Fvideo_codec_name, "mpeg1video");
    EXPECT_EQ(Task->Faudio_codec_name, "mp2");
    EXPECT_EQ(Task->Fframe_width, 352);
    EXPECT_EQ(Task->Fframe_height, 240);
    EXPECT_EQ(Task->Fframe_rate.num, 30000);
    EXPECT_EQ(Task->Fframe_rate.den, 1001);
    EXPECT_EQ(Video()->gop_size, 18);
    EXPECT_EQ(Video()->rc_min_rate, 1150000);
    EXPECT_EQ(Audio()->bit_rate, 224000);
    EXPECT_EQ(Task->Faudio_sample_rate, 44100);
    EXPECT_EQ(Task->Faudio_channels, 2);
    EXPECT_FLOAT_EQ(Task->Fmux_preload, 0.44f);
    EXPECT_EQ(Task->FOptions.avformat_opts->packet_size, 2324u);
    EXPECT_TRUE(HasPair(Task->FFormatPrivateOptions, "muxrate", "1411200"));
    EXPECT_TRUE(Logged(llInfo, L"Assuming 4:3 for aspect ratio"));
    ExpectNoRefusal();
}

TEST_F(TargetPresets, FilmSvcd)
{
    ASSERT_EQ(Target("film-svcd"), "");
    EXPECT_EQ(Task->Fframe_width, 480);
    EXPECT_EQ(Task->Fframe_height, 480);
    EXPECT_EQ(Task->Fframe_rate.num, 24000);
    EXPECT_EQ(Task->Fframe_rate.den, 1001);
    EXPECT_EQ(Video()->gop_size, 18);
    EXPECT_EQ(Video()->rc_max_rate, 2516000);
    // The scan offset flag of the older encoder is the MPEG-2 encoder's own option now.
    EXPECT_TRUE(HasPair(Task->FCodecPrivateOptions[AVMEDIA_TYPE_VIDEO], "scan_offset", "1"));
    EXPECT_FLOAT_EQ(Task->Fframe_aspect_ratio, 4.0f / 3.0f);
    ExpectNoRefusal();
}

TEST_F(TargetPresets, DvPixelFormatsFollowTypeAndNorm)
{
    struct {
        const char* Target;
        AVPixelFormat Format;
        int Height;
    } cases[] = {
        {"pal-dv50", AV_PIX_FMT_YUV422P, 576},  {"ntsc-dv50", AV_PIX_FMT_YUV422P, 480},
        {"film-dv50", AV_PIX_FMT_YUV422P, 480}, {"pal-dv", AV_PIX_FMT_YUV420P, 576},
        {"ntsc-dv", AV_PIX_FMT_YUV411P, 480},   {"film-dv", AV_PIX_FMT_YUV411P, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Target);
        Task->ResetConverter();
        Task->Faudio_channels = 1;
        ASSERT_EQ(Target(c.Target), "");
        EXPECT_EQ(Task->Flast_asked_format, "dv");
        EXPECT_EQ(Task->Fframe_pix_fmt, c.Format);
        EXPECT_EQ(Task->Fframe_height, c.Height);
        EXPECT_EQ(Task->Faudio_sample_rate, 48000);
        EXPECT_EQ(Task->Faudio_channels, 2);
        EXPECT_TRUE(Task->Fvideo_codec_name.empty());
        // DV keeps the aspect it has.
        EXPECT_EQ(Task->Fframe_aspect_ratio, 0.0f);
    }
}

TEST_F(TargetPresets, ChannelRules)
{
    struct {
        const char* Target;
        int Before;
        int After;
    } cases[] = {
        {"pal-svcd", 6, 6}, {"pal-svcd", 1, 2}, {"pal-dvd", 6, 6},
        {"pal-dvd", 1, 2},  {"pal-vcd", 6, 2},  {"pal-vcd", 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Target) + " with " + std::to_string(c.Before));
        Task->ResetConverter();
        Task->Faudio_channels = c.Before;
        ASSERT_EQ(Target(c.Target), "");
        EXPECT_EQ(Task->Faudio_channels, c.After);
    }
}

TEST_F(TargetPresets, AspectGivenBeforeIsKept)
{
    Task->ApplyOption(L"aspect", L"16:9");
    ASSERT_EQ(Target("pal-vcd"), "");
    EXPECT_FLOAT_EQ(Task->Fframe_aspect_ratio, 16.0f / 9.0f);
    EXPECT_FALSE(Logged(llInfo, L"Assuming 4:3 for aspect ratio"));
}

TEST_F(TargetPresets, AutomaticNormFromFrameRateAndDefault)
{
    Task->ApplyOption(L"r", L"30000/1001");
    ASSERT_EQ(Target("dvd"), "");
    EXPECT_EQ(Task->Fframe_height, 480);
    EXPECT_TRUE(Logged(llVerbose, L"Assuming NTSC for target."));

    // 12 frames per second and no input decide nothing: the option's default is NTSC, the
    // output options' default PAL.
    Task->ResetConverter();
    Task->ApplyOption(L"r", L"12");
    ASSERT_EQ(Target("dvd"), "");
    EXPECT_EQ(Task->Fframe_height, 480);
    Task->ResetConverter();
    Task->ApplyOption(L"r", L"12");
    Task->SetTarget(L"dvd", Utf8ToString(NormTypeText(ntAuto)), Utf8ToString(NormDefaultText(ntPAL)));
    EXPECT_EQ(Task->Fframe_height, 576);
    Task->ResetConverter();
    Task->ApplyOption(L"r", L"12");
    Task->SetTarget(L"svcd", L"auto", L"film");
    EXPECT_EQ(Task->Fframe_rate.num, 24000);

    // Without a known rate the automatic norm cannot be decided.
    Task->ResetConverter();
    EXPECT_EQ(Target("dvd"), "frame_rate is invalid.");
    // Quiet tasks do not announce the norm.
    Task->ApplyOption(L"r", L"25");
    Task->ApplyOption(L"v", L"0");
    Lines.clear();
    ASSERT_EQ(Target("vcd"), "");
    EXPECT_FALSE(Logged(llVerbose, L"Assuming PAL for target."));
}

TEST_F(TargetPresets, AutomaticNormFromTheFirstInputVideo)
{
    TempDir dir;
    const std::string name = dir.file("pal.mp4");
    ASSERT_EQ(engine_test::WriteTestVideo(EncodeAVFileName(Utf8ToString(name)), 64, 48, 5), "");
    AVFormatContext* ic = nullptr;
    ASSERT_GE(OpenAVInput(&ic, EncodeAVFileName(Utf8ToString(name)).c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    Task->Finput_files[0] = ic;
    Task->Fnb_input_files = 1;
    Task->ApplyOption(L"r", L"12");
    // The 25 frames per second of the input decide PAL over the option's default NTSC.
    ASSERT_EQ(Target("dvd"), "");
    EXPECT_EQ(Task->Fframe_height, 576);
    EXPECT_TRUE(Logged(llVerbose, L"Assuming PAL for target."));
}

TEST(TargetTexts, OutputOptionFieldsMapToTargetTexts)
{
    EXPECT_STREQ(TargetTypeText(ttVCD), "vcd");
    EXPECT_STREQ(TargetTypeText(ttSVCD), "svcd");
    EXPECT_STREQ(TargetTypeText(ttDVD), "dvd");
    EXPECT_STREQ(TargetTypeText(ttIgnore), "");
    EXPECT_STREQ(NormTypeText(ntAuto), "auto");
    EXPECT_STREQ(NormTypeText(ntPAL), "pal");
    EXPECT_STREQ(NormTypeText(ntNTSC), "ntsc");
    EXPECT_STREQ(NormDefaultText(ntPAL), "pal");
    EXPECT_STREQ(NormDefaultText(ntNTSC), "ntsc");
}
