// Conversions of a generated clip into the containers and codec pairs the preset catalogue uses,
// each output checked for its codecs, frame count, duration, sample rate and channels.
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeContainers : public engine_test::TranscodeFixture {};

TEST_F(TranscodeContainers, Mp4WithLibx264AndAac)
{
    std::string in = Clip();
    std::string out = Dir.file("out.mp4");
    Prepare(in, out, {{"vcodec", "libx264"}, {"vpre", "libx264-default"}, {"acodec", "libfaac"}, {"ar", "44100"}, {"ac", "2"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoCodec, "h264");
    EXPECT_EQ(f.AudioCodec, "aac");
    EXPECT_EQ(f.VideoPackets, 25);
    EXPECT_EQ(f.SampleRate, 44100);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_NEAR(f.VideoDuration, 1.0, 0.04);
    EXPECT_NEAR(f.AudioDuration, 1.0, 0.05);
    EXPECT_TRUE(Task->FFinished);
}

}  // namespace
