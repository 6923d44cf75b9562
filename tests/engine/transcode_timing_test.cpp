// Conversions that change the timing of a clip: frame-rate change with duplicated and dropped
// frames, the recording time and the start time, and the volume of the sound.
#include <cstdlib>

#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeTiming : public engine_test::TranscodeFixture {
protected:
    // The largest sample value of the first audio stream of a 16-bit PCM file.
    static int Peak(const std::string& APath)
    {
        TAVProbe probe(nullptr);
        if (!probe.LoadFile(Utf8ToString(APath)))
            return -1;
        AVFormatContext* ic = probe.FileHandle();
        AVPacket* pkt = av::av_packet_alloc();
        int peak = 0;
        while (av::av_read_frame(ic, pkt) >= 0) {
            if (ic->streams[pkt->stream_index]->codecpar->codec_id == AV_CODEC_ID_PCM_S16LE) {
                auto* s = reinterpret_cast<const int16_t*>(pkt->data);
                for (int i = 0; i < pkt->size / 2; ++i) peak = std::max(peak, std::abs(int(s[i])));
            }
            av::av_packet_unref(pkt);
        }
        av::av_packet_free(&pkt);
        return peak;
    }
};

// 25 pictures a second become 50: every picture but the first two is sent twice.
TEST_F(TranscodeTiming, AHigherFrameRateDuplicatesFrames)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"r", "50"}, {"acodec", "libmp3lame"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(Task->Fnb_frames_dup, 23);
    EXPECT_EQ(Task->Fnb_frames_drop, 0);
    EXPECT_EQ(f.VideoPackets, 25 + Task->Fnb_frames_dup);
    EXPECT_NEAR(f.FrameRate, 50.0, 0.01);
    EXPECT_NEAR(f.VideoDuration, 0.98, 0.021);
}

TEST_F(TranscodeTiming, ALowerFrameRateDropsFrames)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"r", "10"}, {"acodec", "libmp3lame"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(Task->Fnb_frames_dup, 0);
    EXPECT_GE(Task->Fnb_frames_drop, 13);
    EXPECT_LE(Task->Fnb_frames_drop, 15);
    EXPECT_EQ(f.VideoPackets, 25 - Task->Fnb_frames_drop);
}

// Without frame-rate synchronisation every picture gives exactly one frame.
TEST_F(TranscodeTiming, SyncMethodZeroKeepsOneFramePerPicture)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"r", "50"}, {"vsync", "0"}, {"an", ""}});
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(Facts(out).VideoPackets, 25);
    EXPECT_EQ(Task->Fnb_frames_dup, 0);
}

TEST_F(TranscodeTiming, RecordingTimeEndsTheOutput)
{
    std::string out = Dir.file("out.mkv");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"acodec", "pcm_s16le"}, {"t", "0.5"}});
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(Task->FFinished);
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoPackets, 13);  // pictures at 0 .. 0.48 s
    EXPECT_NEAR(f.AudioDuration, 0.5, 0.03);
}

// A start time given after the input: the output begins there, at time 0.
TEST_F(TranscodeTiming, StartTimeSkipsTheBeginning)
{
    std::string out = Dir.file("out.mkv");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"acodec", "pcm_s16le"}, {"ss", "0.4"}});
    ASSERT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_EQ(f.VideoPackets, 15);
    EXPECT_NEAR(f.VideoDuration, 0.6, 0.001);
    EXPECT_NEAR(f.AudioDuration, 0.6, 0.03);
}

TEST_F(TranscodeTiming, StartAndRecordingTimeTogether)
{
    std::string out = Dir.file("out.mkv");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"an", ""}, {"ss", "0.4"}, {"t", "0.4"}});
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(Facts(out).VideoPackets, 10);
}

// Volume 512 doubles every sample; 256 leaves them as they are (the source peaks at 8000).
TEST_F(TranscodeTiming, VolumeScalesTheSamples)
{
    std::string in = Clip("in.mkv", 0, 0, 48000, 25, 1);
    struct {
        const char* Volume;
        int Peak;
    } cases[] = {{"256", 8000}, {"512", 16000}, {"128", 4000}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Volume);
        std::string out = Dir.file(std::to_string(++n) + ".wav");
        Task->ResetConverter();
        Prepare(in, out, {{"vol", c.Volume}});
        ASSERT_EQ(Run(), "");
        EXPECT_NEAR(Peak(out), c.Peak, 2);
    }
}

// Samples pushed beyond the 16-bit range stop at its ends.
TEST_F(TranscodeTiming, LoudVolumeClamps)
{
    std::string in = Clip("in.mkv", 0, 0, 48000, 25, 1);
    std::string out = Dir.file("out.wav");
    Prepare(in, out, {{"vol", "2048"}});
    ASSERT_EQ(Run(), "");
    EXPECT_GE(Peak(out), 32767);  // -32768 counts as 32768
}

// With sound synchronisation the gap between the start time and the first whole block of
// samples after it is filled with silence.
TEST_F(TranscodeTiming, AudioSyncFillsTheGapAtTheStart)
{
    std::string in = Clip("in.mkv", 0, 0, 48000, 25, 1);
    std::string out = Dir.file("out.wav");
    Prepare(in, out, {{"ss", "0.4"}, {"async", "1"}, {"v", "3"}});
    ASSERT_EQ(Run(), "");
    // The first block after 0.4 s starts at 0.405 s (the container counts milliseconds).
    EXPECT_TRUE(Logged(llVerbose, L"adding 240 audio samples of silence"));
    EXPECT_NEAR(Facts(out).AudioDuration, 0.6, 0.001);
}

// A start time beyond the end of the source: nothing reaches the output, which is removed.
TEST_F(TranscodeTiming, StartTimeBeyondTheEndLeavesNoOutput)
{
    std::string out = Dir.file("out.mp4");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"ss", "5"}});
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(Task->FFinished);
    EXPECT_FALSE(Exists(out));
}

}  // namespace
