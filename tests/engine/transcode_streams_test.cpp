// Conversions with other stream layouts: copied streams, joined inputs, subtitles, sources with
// only video or only sound, frame and size limits, and a disc target.
#include <filesystem>

#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeStreams : public engine_test::TranscodeFixture {};

TEST_F(TranscodeStreams, StreamCopyKeepsThePackets)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 25);
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "copy"}, {"acodec", "libmp3lame"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "mpeg4");
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_EQ(f.AudioCodec, "mp3");
    EXPECT_EQ(Task->Fvideo_size, int64_t(Task->Fvideo_size));
    EXPECT_GT(Task->Fvideo_size, 0);
}

TEST_F(TranscodeStreams, BothStreamsCopied)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 25);
    std::string out = Dir.file("out.mkv");
    Prepare(in, out, {{"vcodec", "copy"}, {"acodec", "copy"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "mpeg4");
    EXPECT_EQ(f.AudioCodec, "pcm_s16le");
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_NEAR(f.AudioDuration, 1.0, 0.03);
}

// Two inputs joined into one output: the second continues where the first ended.
TEST_F(TranscodeStreams, JoinedInputsFollowEachOther)
{
    std::string first = Clip("a.mkv", 176, 144, 48000, 25);
    std::string second = Clip("b.mkv", 176, 144, 48000, 50);
    std::string out = Dir.file("out.avi");
    ASSERT_TRUE(Input(first)) << LastError();
    ASSERT_TRUE(Input(second)) << LastError();
    Apply("vcodec", "mpeg4");
    Apply("acodec", "libmp3lame");
    ASSERT_GE(Output(out, true), 1) << LastError();
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoPackets, 75);
    EXPECT_NEAR(f.VideoDuration, 3.0, 0.05);
    EXPECT_NEAR(f.AudioDuration, 3.0, 0.1);
}

// Subtitles encoded anew (ASS, SubRip) or copied: the text arrives in the output.
TEST_F(TranscodeStreams, Subtitles)
{
    engine_test::TestMedia m;
    m.Width = 176;
    m.Height = 144;
    m.Frames = 25;
    m.Subtitles = true;
    std::string in = Media("in.mkv", m);
    int n = 0;
    for (const char* codec : {"ass", "srt", "copy"}) {
        SCOPED_TRACE(codec);
        std::string out = Dir.file(std::to_string(++n) + ".mkv");
        Task->ResetConverter();
        Prepare(in, out, {{"vcodec", "mpeg4"}, {"scodec", codec}});
        ASSERT_EQ(Run(), "");
        TAVProbe probe(nullptr);
        ASSERT_TRUE(probe.LoadFile(Utf8ToString(out)));
        EXPECT_EQ(probe.SubtitleStreamCount(), 1);
        AVFormatContext* ic = probe.FileHandle();
        AVPacket* pkt = av::av_packet_alloc();
        std::string text;
        while (av::av_read_frame(ic, pkt) >= 0) {
            if (ic->streams[pkt->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
                text.append(reinterpret_cast<const char*>(pkt->data), size_t(pkt->size));
            av::av_packet_unref(pkt);
        }
        av::av_packet_free(&pkt);
        EXPECT_NE(text.find("Hello"), std::string::npos) << text;
    }
}

TEST_F(TranscodeStreams, VideoOnlySource)
{
    std::string in = Clip("in.mkv", 176, 144, 0, 25);
    std::string out = Dir.file("out.mp4");
    Prepare(in, out, {{"vcodec", "mpeg4"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_EQ(f.AudioCodec, "");
}

// A sound file into a video container: the output holds the sound only.
TEST_F(TranscodeStreams, AudioOnlySourceIntoAVideoContainer)
{
    std::string in = AudioOnly("in.wav", 44100);
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"acodec", "libmp3lame"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "");
    EXPECT_EQ(f.AudioCodec, "mp3");
    EXPECT_GT(f.AudioPackets, 0);
}

// Mono sound at 48 kHz becomes stereo at 22050 Hz with the same length.
TEST_F(TranscodeStreams, ResamplesAndUpmixes)
{
    std::string in = Clip("in.mkv", 0, 0, 48000, 50, 1);
    std::string out = Dir.file("out.mp3");
    Prepare(in, out, {{"ar", "22050"}, {"ac", "2"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.SampleRate, 22050);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_NEAR(f.AudioDuration, 2.0, 0.1);  // the encoder's delay and last frame
}

TEST_F(TranscodeStreams, ScalesToTheRequestedSize)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"s", "320x240"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 320);
    EXPECT_EQ(f.Height, 240);
    EXPECT_EQ(f.VideoPackets, 25);
}

TEST_F(TranscodeStreams, CroppedPicture)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out,
            {{"vcodec", "mpeg4"}, {"croptop", "16"}, {"cropbottom", "16"}, {"cropleft", "8"}, {"cropright", "8"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 160);
    EXPECT_EQ(f.Height, 112);
    EXPECT_EQ(f.VideoPackets, 25);
}

// The video frame limit ends the run although sound remains.
TEST_F(TranscodeStreams, FrameLimit)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 50);
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"vframes", "10"}});
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(Task->FFinished);
    EXPECT_EQ(Facts(out).VideoPackets, 10);
}

// The size limit ends the run after the packet that crossed it; the file stays readable.
TEST_F(TranscodeStreams, SizeLimit)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 100);
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"fs", "20000"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_TRUE(f.Opened);
    EXPECT_GT(f.VideoPackets, 0);
    EXPECT_LT(f.VideoPackets, 100);
}

TEST_F(TranscodeStreams, VcdTarget)
{
    std::string in = Clip();
    std::string out = Dir.file("out.mpg");
    Prepare(in, out, {{"target", "pal-vcd"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "mpeg1video");
    EXPECT_EQ(f.AudioCodec, "mp2");
    EXPECT_EQ(f.Width, 352);
    EXPECT_EQ(f.Height, 288);
    EXPECT_EQ(f.VideoPackets, 25);
}

TEST_F(TranscodeStreams, DvdTarget)
{
    std::string in = Clip();
    std::string out = Dir.file("out.mpg");
    Prepare(in, out, {{"target", "pal-dvd"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "mpeg2video");
    EXPECT_EQ(f.AudioCodec, "ac3");
    EXPECT_EQ(f.Width, 720);
    EXPECT_EQ(f.Height, 576);
}

// The video statistics file gets one line per encoded picture.
TEST_F(TranscodeStreams, VideoStatistics)
{
    std::string stats = Dir.file("vstats.log");
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"vstats_file", stats}});
    ASSERT_EQ(Run(), "");
    std::string text = Contents(stats);
    size_t lines = 0;
    for (size_t pos = text.find("frame="); pos != std::string::npos; pos = text.find("frame=", pos + 1)) ++lines;
    EXPECT_EQ(lines, 25u);
    EXPECT_NE(text.find("type= I"), std::string::npos);
}

// A bitstream filter on the video stream: every packet passes it on the way to the file.
TEST_F(TranscodeStreams, BitstreamFilter)
{
    std::string out = Dir.file("out.mkv");
    ASSERT_TRUE(Input(Clip())) << LastError();
    Apply("vcodec", "libx264");
    Apply("vpre", "libx264-default");
    Apply("vbsf", "h264_mp4toannexb");
    ASSERT_GE(Output(out), 1) << LastError();
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "h264");
    EXPECT_EQ(f.VideoPackets, 25);
}

// Names with blanks and Chinese characters, for the source and the result.
TEST_F(TranscodeStreams, NonAsciiNamesConvert)
{
    std::string in = Clip("源 文件.mkv");
    std::string out = Dir.file("输出 视频.mp4");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"acodec", "libfaac"}});
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(Facts(out).VideoPackets, 25);
}

}  // namespace
