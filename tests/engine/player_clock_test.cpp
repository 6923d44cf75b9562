// The player's timing rules on a hand-set playback record (no libraries needed): the delay of a
// picture against the master clock, and the sound's sample-count correction against the video.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/player_state.h"

namespace {

// A record whose clocks are fixed: paused, so the video clock is video_current_pts, and with no
// sound pending in the device buffer, so the audio clock is audio_clock.
std::unique_ptr<TVideoState> FixedClocks(Tav_sync_type ASync, double AVideo, double AAudio)
{
    auto is = std::make_unique<TVideoState>();
    static AVStream stream{};  // only its presence is looked at
    is->av_sync_type = ASync;
    is->video_st = &stream;
    is->audio_st = &stream;
    is->paused = 1;
    is->video_current_pts = AVideo;
    is->audio_clock = AAudio;
    is->audio_spec.freq = 48000;
    is->audio_spec.channels = 1;
    return is;
}

TEST(PlayerClocks, TargetTimeFollowsTheMasterClock)
{
    struct Case {
        const char* Name;
        Tav_sync_type Sync;
        double Video, Audio;  // the clocks
        double LastPts, LastDelay, Pts;
        double WantedDelay;
    } cases[] = {
        {"video master: the frame distance", AV_SYNC_VIDEO_MASTER, 5.0, 0.0, 1.00, 0.04, 1.04, 0.04},
        {"a gap of 10 s keeps the last delay", AV_SYNC_VIDEO_MASTER, 5.0, 0.0, 1.00, 0.04, 11.0, 0.04},
        {"going back keeps the last delay", AV_SYNC_VIDEO_MASTER, 5.0, 0.0, 1.00, 0.04, 0.5, 0.04},
        {"audio master, in step", AV_SYNC_AUDIO_MASTER, 1.0, 1.005, 1.00, 0.04, 1.04, 0.04},
        {"audio master, video ahead: twice the delay", AV_SYNC_AUDIO_MASTER, 1.1, 1.0, 1.00, 0.04, 1.04, 0.08},
        {"audio master, video behind: at once", AV_SYNC_AUDIO_MASTER, 1.0, 1.1, 1.00, 0.04, 1.04, 0.0},
        {"audio master, 10 s apart: unchanged", AV_SYNC_AUDIO_MASTER, 1.0, 12.0, 1.00, 0.04, 1.04, 0.04},
    };
    for (const Case& c : cases) {
        auto is = FixedClocks(c.Sync, c.Video, c.Audio);
        is->frame_last_pts = c.LastPts;
        is->frame_last_delay = c.LastDelay;
        is->frame_timer = 100.0;
        double target = ComputeTargetTime(is.get(), c.Pts);
        EXPECT_NEAR(target, 100.0 + c.WantedDelay, 1e-9) << c.Name;
        EXPECT_EQ(is->frame_last_pts, c.Pts) << c.Name;
    }
}

TEST(PlayerClocks, SoundFollowsTheVideoWithinTenPercent)
{
    const double coef = std::exp(std::log10(0.01) / 20);
    struct Case {
        const char* Name;
        double Video, Audio;
        int WantedBytes;  // of 1000 mono 16-bit samples (2000 bytes)
    } cases[] = {
        {"in step", 10.0, 10.0, 2000},
        {"far behind: shortened to 90 %", 10.0, 9.0, 1800},
        {"far ahead: lengthened to 110 %", 10.0, 11.0, 2200},
        {"a little ahead", 10.0, 10.001, 2000 + 48 * 2},
        {"10 s apart: left alone", 0.0, 10.0, 2000},
    };
    for (const Case& c : cases) {
        auto is = FixedClocks(AV_SYNC_VIDEO_MASTER, c.Video, c.Audio);
        is->audio_diff_avg_coef = coef;
        is->audio_diff_threshold = 0.0005;  // below every drift of the table but "in step"
        is->audio_diff_avg_count = 20;      // past the warm-up
        is->audio_diff_cum = (c.Audio - c.Video) / (1 - coef);
        std::vector<uint8_t> samples(AUDIO_BUF_BYTES, 0);
        for (int i = 0; i < 1000; i++) {
            samples[2 * i] = static_cast<uint8_t>(i);
            samples[2 * i + 1] = 0x10;
        }
        int size = SynchronizeAudio(is.get(), samples.data(), 2000);
        EXPECT_EQ(size, c.WantedBytes) << c.Name;
        // A lengthened buffer repeats its last sample frame.
        for (int i = 2000; i < size; i += 2) {
            EXPECT_EQ(samples[i], samples[1998]) << c.Name;
            EXPECT_EQ(samples[i + 1], samples[1999]) << c.Name;
        }
    }
    // The first 20 measurements only build the average.
    auto is = FixedClocks(AV_SYNC_VIDEO_MASTER, 10.0, 11.0);
    is->audio_diff_avg_coef = coef;
    is->audio_diff_threshold = 0.0005;
    std::vector<uint8_t> samples(AUDIO_BUF_BYTES, 0);
    for (int i = 0; i < 20; i++) EXPECT_EQ(SynchronizeAudio(is.get(), samples.data(), 2000), 2000);
    EXPECT_EQ(SynchronizeAudio(is.get(), samples.data(), 2000), 2200);
    // With the sound as master nothing is corrected.
    is->av_sync_type = AV_SYNC_AUDIO_MASTER;
    EXPECT_EQ(SynchronizeAudio(is.get(), samples.data(), 2000), 2000);
}

}  // namespace
