// Conversions of sources as they come from other programs: H.264 video with reordered
// pictures, AAC sound in planar float samples, six-channel sound to stereo, a low sample rate.
// Each source is made by a first conversion, then converted again.
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeSources : public engine_test::TranscodeFixture {
protected:
    // Converts AInput into AOutput with the options in a fresh run; the failure text.
    std::string Convert(const std::string& AInput, const std::string& AOutput,
                        const std::vector<std::pair<std::string, std::string>>& AOptions)
    {
        Task->ResetConverter();
        Prepare(AInput, AOutput, AOptions);
        return Run();
    }
};

// H.264 with B-frames decodes with a delay and out of order: every picture still comes once.
TEST_F(TranscodeSources, H264WithReorderedPictures)
{
    std::string h264 = Dir.file("src.mp4");
    ASSERT_EQ(Convert(Clip(), h264, {{"vcodec", "libx264"}, {"bf", "3"}, {"acodec", "libfaac"}}), "");
    std::string out = Dir.file("out.avi");
    ASSERT_EQ(Convert(h264, out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}}), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_EQ(Task->Fnb_frames_dup, 0);
    EXPECT_EQ(Task->Fnb_frames_drop, 0);
    EXPECT_NEAR(f.AudioDuration, 1.0, 0.06);
}

TEST_F(TranscodeSources, AacSoundToMp3)
{
    std::string aac = Dir.file("src.m4a");
    ASSERT_EQ(Convert(Clip("in.mkv", 0, 0, 44100, 50, 2), aac, {}), "");
    EXPECT_EQ(Facts(aac).AudioCodec, "aac");
    std::string out = Dir.file("out.mp3");
    ASSERT_EQ(Convert(aac, out, {{"ar", "44100"}, {"ac", "2"}}), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.AudioCodec, "mp3");
    EXPECT_NEAR(f.AudioDuration, 2.0, 0.1);
}

TEST_F(TranscodeSources, SixChannelsToStereo)
{
    std::string in = Clip("in.mkv", 0, 0, 48000, 25, 6);
    std::string out = Dir.file("out.wav");
    ASSERT_EQ(Convert(in, out, {{"ac", "2"}}), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_NEAR(f.AudioDuration, 1.0, 0.001);
}

TEST_F(TranscodeSources, LowSampleRateUpsampled)
{
    std::string in = Clip("in.mkv", 176, 144, 8000, 25, 1);
    std::string out = Dir.file("out.flv");
    ASSERT_EQ(Convert(in, out, {{"ar", "44100"}, {"ac", "2"}}), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.SampleRate, 44100);
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_NEAR(f.AudioDuration, 1.0, 0.06);
}

// A source whose picture size changes midway (two MPEG-2 streams one after the other): the
// later pictures are scaled to the output size instead of ending the run.
TEST_F(TranscodeSources, PictureSizeChangesMidway)
{
    std::string in = Clip();
    std::string small = Dir.file("small.m2v");
    std::string large = Dir.file("large.m2v");
    ASSERT_EQ(Convert(in, small, {{"vcodec", "mpeg2video"}}), "");
    ASSERT_EQ(Convert(in, large, {{"vcodec", "mpeg2video"}, {"s", "320x240"}}), "");
    std::string joined = Dir.file("joined.m2v");
    WriteFile(joined, Contents(small) + Contents(large));
    std::string out = Dir.file("out.avi");
    Lines.clear();
    ASSERT_EQ(Convert(joined, out, {{"vcodec", "mpeg4"}}), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 176);
    EXPECT_EQ(f.Height, 144);
    EXPECT_EQ(f.VideoPackets, 50);
    EXPECT_TRUE(Logged(llQuiet, L"Input Stream #0.0 frame size changed to 320x240, yuv420p"));
}

}  // namespace
