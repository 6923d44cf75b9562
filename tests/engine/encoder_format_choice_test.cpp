// The encoder format choice: sample formats, sample rates and pixel formats brought into what
// an encoder supports, and the nearest listed frame rate, on the installed encoders and on
// encoder descriptions with lists made for the case.
#include <gtest/gtest.h>

#include "engine/av_bindings.h"
#include "tests/engine/open_files_test_support.h"

using namespace engine_test;

namespace {

class EncoderFormatChoice : public OpenFilesFixture {
protected:
    void SetUp() override
    {
        OpenFilesFixture::SetUp();
        Context = av::avcodec_alloc_context3(nullptr);
    }
    void TearDown() override
    {
        av::avcodec_free_context(&Context);
        OpenFilesFixture::TearDown();
    }
    bool RateWarning(int ARate) const
    {
        return Logged(llWarning, L"Requested sampling rate unsupported using closest supported (" +
                                     Utf8ToString(std::to_string(ARate)) + L")");
    }
    AVCodecContext* Context = nullptr;
};

TEST_F(EncoderFormatChoice, SampleRateTakesTheNearestListedOneWithAWarning)
{
    static const int rates[] = {44100, 48000, 0};
    AVCodec listed{};
    listed.supported_samplerates = rates;
    AVCodec unlisted{};
    struct Case {
        const AVCodec* Codec;
        int Requested, Chosen;
        bool Warns;
    } cases[] = {
        {&listed, 32000, 44100, true},    {&listed, 46050, 44100, true},  // equally far from both: the earlier entry
        {&listed, 48000, 48000, false},   {&listed, 96000, 48000, true},
        {&unlisted, 32000, 32000, false}, {nullptr, 12345, 12345, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Requested);
        Lines.clear();
        Context->sample_rate = c.Requested;
        Task->ChooseSampleRate(Context, c.Codec);
        EXPECT_EQ(Context->sample_rate, c.Chosen);
        EXPECT_EQ(RateWarning(c.Chosen), c.Warns);
    }
}

TEST_F(EncoderFormatChoice, SampleRateOfARealOutputStream)
{
    struct Case {
        int InputRate;
        const char* Codec;
        const char* Rate;  // "ar", or nullptr to inherit the input's
        int Chosen;
        bool Warns;
    } cases[] = {
        {8000, "mp2", nullptr, 16000, true},   // mp2 takes 16000 Hz and more
        {22050, "ac3", "46050", 48000, true},  // as far from 48000 as from 44100: the first listed
        {8000, "aac", nullptr, 8000, false},
        {11025, "pcm_s16le", nullptr, 11025, false},  // no list: any rate
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Codec);
        Task->ResetConverter();
        Lines.clear();
        ASSERT_TRUE(Input(AudioOnly("in" + std::to_string(++n) + ".wav", c.InputRate))) << LastError();
        Apply("acodec", c.Codec);
        if (c.Rate) Apply("ar", c.Rate);
        ASSERT_EQ(Output(Dir.file("out" + std::to_string(n) + ".mkv")), 1) << LastError();
        AVCodecContext* audio = Encoder(0, 0);
        EXPECT_EQ(audio->sample_rate, c.Chosen);
        EXPECT_EQ(audio->time_base.den, c.Chosen);
        EXPECT_EQ(RateWarning(c.Chosen), c.Warns);
        // The sample format is one the encoder takes.
        const AVCodec* codec = av::avcodec_find_encoder_by_name(c.Codec);
        bool listed = false;
        for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
            listed = listed || *f == audio->sample_fmt;
        EXPECT_TRUE(listed) << audio->sample_fmt;
    }
}

TEST_F(EncoderFormatChoice, SampleFormatKeepsAListedOneElseTakesTheFirst)
{
    static const AVSampleFormat formats[] = {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_NONE};
    AVCodec codec{};
    codec.sample_fmts = formats;
    Context->sample_fmt = AV_SAMPLE_FMT_S16;
    Task->ChooseSampleFormat(Context, &codec);
    EXPECT_EQ(Context->sample_fmt, AV_SAMPLE_FMT_S16);
    Context->sample_fmt = AV_SAMPLE_FMT_DBL;
    Task->ChooseSampleFormat(Context, &codec);
    EXPECT_EQ(Context->sample_fmt, AV_SAMPLE_FMT_FLTP);
    Context->sample_fmt = AV_SAMPLE_FMT_DBL;
    Task->ChooseSampleFormat(Context, nullptr);
    EXPECT_EQ(Context->sample_fmt, AV_SAMPLE_FMT_DBL);
}

TEST_F(EncoderFormatChoice, PixelFormatWithTheMjpegException)
{
    static const AVPixelFormat jpegOnly[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_NONE};
    AVCodec mjpeg{};
    mjpeg.id = AV_CODEC_ID_MJPEG;
    mjpeg.pix_fmts = jpegOnly;
    AVCodec other = mjpeg;
    other.id = AV_CODEC_ID_MPEG4;
    struct Case {
        const AVCodec* Codec;
        AVPixelFormat Requested;
        int Compliance;
        AVPixelFormat Chosen;
    } cases[] = {
        {&mjpeg, AV_PIX_FMT_YUV420P, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUV420P},
        {&mjpeg, AV_PIX_FMT_YUV422P, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUV422P},
        {&mjpeg, AV_PIX_FMT_YUV420P, FF_COMPLIANCE_NORMAL, AV_PIX_FMT_YUVJ420P},
        {&mjpeg, AV_PIX_FMT_RGB24, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUVJ420P},
        {&other, AV_PIX_FMT_YUV420P, FF_COMPLIANCE_UNOFFICIAL, AV_PIX_FMT_YUVJ420P},
        {&mjpeg, AV_PIX_FMT_YUVJ422P, FF_COMPLIANCE_NORMAL, AV_PIX_FMT_YUVJ422P},
    };
    for (const Case& c : cases) {
        Context->pix_fmt = c.Requested;
        Context->strict_std_compliance = c.Compliance;
        Task->ChoosePixelFormat(Context, c.Codec);
        EXPECT_EQ(Context->pix_fmt, c.Chosen) << c.Requested << " " << c.Compliance;
    }
}

TEST_F(EncoderFormatChoice, FixedFrameRateListsTakeTheNearestRateUnlessForced)
{
    struct Case {
        const char* Codec;
        const char* Rate;
        bool Force;
        AVRational TimeBase;
        AVPixelFormat PixFmt;
    } cases[] = {
        {"mpeg1video", "23", false, {1001, 24000}, AV_PIX_FMT_YUV420P},
        {"mpeg1video", "24", false, {1, 24}, AV_PIX_FMT_YUV420P},
        {"mpeg1video", "23", true, {1, 23}, AV_PIX_FMT_YUV420P},
        {"mpeg4", "23", false, {1, 23}, AV_PIX_FMT_YUV420P},  // no list
    };
    std::string in = VideoAudio();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Codec) + " " + c.Rate);
        Task->ResetConverter();
        ASSERT_TRUE(Input(in)) << LastError();
        Apply("vcodec", c.Codec);
        Apply("r", c.Rate);
        Apply("pix_fmt", "rgb24");  // not taken by either encoder
        if (c.Force) Apply("force_fps");
        ASSERT_EQ(Output(Dir.file("out" + std::to_string(++n) + ".mpg")), 1) << LastError();
        AVCodecContext* video = Encoder(0, 0);
        EXPECT_EQ(video->time_base.num, c.TimeBase.num);
        EXPECT_EQ(video->time_base.den, c.TimeBase.den);
        EXPECT_EQ(video->pix_fmt, c.PixFmt);
        EXPECT_EQ(Task->Fframe_pix_fmt, -1);  // consumed by the stream
    }
}

}  // namespace
