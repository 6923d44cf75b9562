// Conversions that change the timing of a clip: frame-rate change with duplicated and dropped
// frames, the recording time and the start time, and the volume of the sound.
#include <cstdlib>

#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeTiming : public engine_test::TranscodeFixture {
protected:
    // An MPEG transport stream of 25 MPEG-2 pictures (176x144, 25 fps) whose timestamps jump
    // 20 s forward after picture 12; "" on success.
    static std::string WriteJumpingStream(const std::string& APath)
    {
        engine_test::FilterSource source("testsrc=size=176x144:rate=25", AV_PIX_FMT_YUV420P);
        AVFormatContext* oc = nullptr;
        if (av::avformat_alloc_output_context2(&oc, nullptr, "mpegts", APath.c_str()) < 0 || !oc)
            return "output context";
        const AVCodec* codec = av::avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
        AVCodecContext* enc = av::avcodec_alloc_context3(codec);
        enc->width = 176;
        enc->height = 144;
        enc->time_base = AVRational{1, 25};
        enc->framerate = AVRational{25, 1};
        enc->pix_fmt = AV_PIX_FMT_YUV420P;
        enc->max_b_frames = 0;
        enc->thread_count = 1;
        AVStream* st = av::avformat_new_stream(oc, nullptr);
        AVPacket* pkt = av::av_packet_alloc();
        std::string error;
        if (av::avcodec_open2(enc, codec, nullptr) < 0 || av::avcodec_parameters_from_context(st->codecpar, enc) < 0)
            error = "encoder";
        st->time_base = enc->time_base;
        if (error.empty() && (OpenAVOutputIO(oc, APath.c_str()) < 0 || av::avformat_write_header(oc, nullptr) < 0))
            error = "header";
        auto drain = [&] {
            while (av::avcodec_receive_packet(enc, pkt) >= 0) {
                if (pkt->pts >= 13) pkt->pts += 500, pkt->dts += 500;  // 20 s at 25 fps
                av::av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
                pkt->stream_index = 0;
                av::av_interleaved_write_frame(oc, pkt);
            }
        };
        for (int i = 0; error.empty() && i < 25; ++i) {
            AVFrame* f = source.Next();
            f->pts = i;
            f->pict_type = AV_PICTURE_TYPE_NONE;
            av::avcodec_send_frame(enc, f);
            drain();
        }
        if (error.empty()) {
            av::avcodec_send_frame(enc, nullptr);
            drain();
            av::av_write_trailer(oc);
        }
        CloseAVOutputIO(oc);
        av::av_packet_free(&pkt);
        av::avcodec_free_context(&enc);
        av::avformat_free_context(oc);
        return error;
    }

    // The largest sample value of the first audio stream of a 16-bit PCM file.
    static int Peak(const std::string& APath)
    {
        TAVProbe probe(nullptr);
        if (!probe.LoadFile(Utf8ToString(APath))) return -1;
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

// A jump of 20 s in a transport stream shifts the later timestamps back: the output goes on
// without a gap. With the timestamps kept, the gap is filled with repeated pictures.
TEST_F(TranscodeTiming, TimestampJumpIsTakenOut)
{
    std::string in = Dir.file("in.ts");
    ASSERT_EQ(WriteJumpingStream(in), "");
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"v", "3"}});
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(Facts(out).VideoPackets, 25);
    EXPECT_EQ(Task->Fnb_frames_dup, 0);
    bool logged = false;
    for (const auto& line : Lines)
        logged = logged || StartsText(L"timestamp discontinuity 20000000, new offset= ", line.Text);
    EXPECT_TRUE(logged);

    std::string kept = Dir.file("kept.avi");
    Task->ResetConverter();
    Prepare(in, kept, {{"vcodec", "mpeg4"}, {"copyts", ""}});
    ASSERT_EQ(Run(), "");
    EXPECT_GT(Task->Fnb_frames_dup, 400);
}

}  // namespace
