// The preview player on SDL's dummy drivers: playing, pausing, stepping, seeking and stopping a
// clip made by the test, its position and state events, the current picture, stream switching,
// refused files, an audio-only file with its audio display, and stops while the reader blocks.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <thread>

#include "engine/player.h"
#include "engine/player_events.h"
#include "engine/player_state.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"
#include "tests/engine/probe_test_support.h"

namespace {

using probe_test::RunFFmpeg;

// Waits on the main thread (serving its queue, where the player's events arrive) until pred.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000)
{
    return WaitServingMainThread(pred, 5, timeoutMs);
}

class PlayerTest : public engine_test::LibrariesFixture {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        LoadOrFail(PlayerLibraries);
        Player = new TFFPlayer(nullptr);
        Player->OnState = [this](TObject*, TPlayState s) { States.push_back(s); };
        Player->OnPosition = [this](TObject*, int64_t pts) { Positions.push_back(pts); };
    }
    void TearDown() override
    {
        delete Player;
        Player = nullptr;
        engine_test::LibrariesFixture::TearDown();
    }
    // A clip of a flat colour (0x3366CC) with a 440 Hz tone: 25 fps, 48 kHz mono.
    std::string MakeClip(const std::string& name, double seconds, const std::vector<std::string>& extra = {})
    {
        std::string path = Dir.file(name);
        std::vector<std::string> args = {"-f", "lavfi",
                                         "-i", "color=c=0x3366CC:size=64x48:rate=25",
                                         "-f", "lavfi",
                                         "-i", "sine=frequency=440:sample_rate=48000",
                                         "-t", std::to_string(seconds)};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {"-c:v", "mpeg4", "-c:a", "aac", "-ac", "1", path});
        EXPECT_TRUE(RunFFmpeg(args)) << name;
        return path;
    }
    int Count(TPlayState s) const { return static_cast<int>(std::count(States.begin(), States.end(), s)); }
    bool Has(TPlayState s) const { return Count(s) > 0; }

    TempDir Dir;
    TFFPlayer* Player = nullptr;
    std::vector<TPlayState> States;
    std::vector<int64_t> Positions;
};

TEST(PlayerNoLibraries, OpenRefusedWithText)
{
    TFFPlayer player(nullptr);
    EXPECT_FALSE(player.AVLibLoaded());
    EXPECT_FALSE(player.Open(L"/nonexistent.mp4", 0, false));
    EXPECT_EQ(player.LastErrMsg(), L"libav or libsdl not loaded.");
    EXPECT_TRUE(player.Paused());
    int64_t pts = 0;
    TFrameImage* image = player.CurrentFrame(pts);
    EXPECT_EQ(pts, -1);
    EXPECT_EQ(image->Width, 0);
    EXPECT_EQ(image, player.CurrentFrame());
    EXPECT_EQ(player.Version(), L"2.3");
    player.SetFormat(L"wav");
    EXPECT_EQ(player.LastErrMsg(), L"libav or libsdl not loaded.");
    EXPECT_EQ(player.Format(), L"");
}

TEST_F(PlayerTest, FormatNamesAnInputFormat)
{
    Player->SetFormat(L"wav");
    EXPECT_EQ(Player->Format(), L"wav");
    try {
        Player->SetFormat(L"nosuchformat");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Unknown input format: nosuchformat");
    }
    EXPECT_EQ(Player->Format(), L"wav");
    Player->SetFormat(L"");
    EXPECT_EQ(Player->Format(), L"");
}

TEST_F(PlayerTest, PlayPauseResumeStepAndStopReportStatesAndPositions)
{
    std::string clip = MakeClip("clip.mp4", 3);
    int64_t openedDuration = 0;
    int openedWidth = 0, openedHeight = 0;
    Player->OnFileOpen = [&](TObject*, int64_t d, int w, int h, int& sw, int& sh) {
        openedDuration = d;
        openedWidth = w;
        openedHeight = h;
        sw = 128;  // the handler chooses the video size
        sh = 96;
    };
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false)) << StringToUtf8(Player->LastErrMsg());
    EXPECT_EQ(Player->FileName(), Utf8ToString(clip));
    EXPECT_NEAR(openedDuration, 3000000, 100000);
    // The probe reads the playing input.
    EXPECT_EQ(Player->AVProbe()->StreamCount(), 2);
    EXPECT_EQ(Player->AVProbe()->VideoStreamCount(), 1);
    EXPECT_EQ(openedWidth, 64);
    EXPECT_EQ(openedHeight, 48);
    EXPECT_GE(Player->VideoStreamIndex(), 0);
    EXPECT_GE(Player->AudioStreamIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return Has(psPlay) && !Positions.empty() && Positions.back() > 300000; }));
    {
        Player->LockData();
        ASSERT_NE(Player->Fscreen, nullptr);
        EXPECT_EQ(Player->Fscreen->w, 128);
        EXPECT_EQ(Player->Fscreen->h, 96);
        Player->UnlockData();
    }
    // Positions rise and each reported change exceeds 10 ms.
    for (size_t i = 1; i < Positions.size(); i++) EXPECT_GT(std::llabs(Positions[i] - Positions[i - 1]), 10000);

    Player->Pause();
    ASSERT_TRUE(WaitUntil([&] { return Has(psPause); }));
    EXPECT_TRUE(Player->Paused());
    // Pictures already queued may still be shown; then the position holds.
    WaitUntil([] { return false; }, 300);
    int64_t pausedAt = Player->CurrentPTS();
    WaitUntil([] { return false; }, 300);
    EXPECT_LE(std::llabs(Player->CurrentPTS() - pausedAt), 100000) << "the position holds while paused";

    Player->StepToNextFrame();
    Player->StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] { return Player->Paused(); }));
    EXPECT_EQ(Count(psStep), 1) << "two steps before the picture arrive post psStep once";

    Player->Resume();
    ASSERT_TRUE(WaitUntil([&] { return Has(psResume); }));
    EXPECT_FALSE(Player->Paused());
    Player->Stop(true);
    ASSERT_TRUE(WaitUntil([&] { return Has(psStop); }));
    EXPECT_EQ(Player->FVideoState.load(), nullptr);
    EXPECT_EQ(Player->VideoStreamIndex(), -1);
    EXPECT_EQ(Player->AVProbe()->FileHandle(), nullptr);
    EXPECT_EQ(Player->AVProbe()->StreamCount(), -1);
}

TEST_F(PlayerTest, EndOfInputReportsTheDurationAndEndOnce)
{
    std::string clip = MakeClip("short.mp4", 1);
    std::vector<String> lines;
    DefaultLogger()->SetOnLog([&](TObject* sender, uint32_t, TLogLevel level, const String& msg) {
        if (sender == Player && level == llInfo) lines.push_back(msg);
    });
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false)) << StringToUtf8(Player->LastErrMsg());
    ASSERT_TRUE(WaitUntil([&] { return Has(psEnd); }));
    WaitUntil([&] { return !lines.empty(); }, 2000);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"reach end of file: " + Utf8ToString(clip)), 1);
    DefaultLogger()->SetOnLog(nullptr);
    WaitUntil([] { return false; }, 400);
    EXPECT_EQ(Count(psEnd), 1);
    TVideoState* is = Player->FVideoState;
    ASSERT_NE(is, nullptr);
    ASSERT_FALSE(Positions.empty());
    EXPECT_EQ(Positions.back(), is->Duration) << "the end position is the duration";
    EXPECT_EQ(Player->PlayState(), psEnd);

    // A seek back clears the end; the end is reported again at the next end.
    Player->Seek(static_cast<int64_t>(0), 0, true);
    EXPECT_EQ(is->seek_rel, 1) << "a seek to the start may land a little after it";
    ASSERT_TRUE(WaitUntil([&] { return Count(psEnd) == 2; }));
    Player->Stop(true);
}

TEST_F(PlayerTest, PlayLimitStopsOrLoops)
{
    std::string clip = MakeClip("limit.mp4", 3);
    Player->SetPlayTime(500000);
    Player->SetRepeatType(rtStop);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    ASSERT_TRUE(WaitUntil([&] { return Has(psStop); }));
    EXPECT_LT(Positions.back(), 1000000);
    Player->Stop(true);

    States.clear();
    Positions.clear();
    Player->SetPlayTime(500000);  // options of the play limit last for one playback
    Player->SetRepeatType(rtLoop);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    bool reached = false, looped = false;
    ASSERT_TRUE(WaitUntil([&] {
        for (int64_t p : Positions) {
            if (p >= 500000)
                reached = true;
            else if (reached && p < 300000)
                looped = true;
        }
        return looped;
    }));
    EXPECT_FALSE(Has(psStop));
    Player->Stop(true);
}

TEST_F(PlayerTest, StartTimeWithPlayLimitLoopsBackToTheStart)
{
    std::string clip = MakeClip("start.mp4", 4);
    Player->Setstart_time(1000000);
    Player->SetPlayTime(500000);  // the limit is start time + play time: 1.5 s
    Player->SetRepeatType(rtLoop);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    bool reached = false, looped = false;
    ASSERT_TRUE(WaitUntil([&] {
        for (int64_t p : Positions) {
            if (p >= 1500000)
                reached = true;
            else if (reached && p < 1300000)
                looped = true;
        }
        return looped;
    }));
    // Before its first picture the player reports the input's start; from there on it stays
    // between the start time and the limit.
    auto first = std::find_if(Positions.begin(), Positions.end(), [](int64_t p) { return p > 0; });
    ASSERT_NE(first, Positions.end());
    for (auto it = first; it != Positions.end(); ++it) EXPECT_GE(*it, 900000);
    Player->Stop(true);
}

TEST_F(PlayerTest, OpenPausedShowsAPictureWithItsTimestampAndPixels)
{
    std::string clip = MakeClip("预览 片段.mp4", 2);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, true));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPause); }));
    // Both pictures decoded before the pause are queued, and the first is shown without being
    // passed: the second waits for the playback to go on (shown, it would be a moment of play).
    TVideoState* is = Player->FVideoState.load();
    ASSERT_TRUE(WaitUntil([&] { return is->shown_index >= 0 && is->pictq_size == 2; }));
    EXPECT_EQ(is->shown_index, is->pictq_rindex);
    int64_t pts = -2;
    TFrameImage* image = Player->CurrentFrame(pts);
    EXPECT_EQ(pts, 0);
    for (int64_t p : Positions) EXPECT_EQ(p, 0);
    ASSERT_EQ(image->Width, 64);
    ASSERT_EQ(image->Height, 48);
    const uint8_t* px = image->ScanLine(24) + 32 * 4;  // B, G, R
    EXPECT_NEAR(px[2], 0x33, 8);
    EXPECT_NEAR(px[1], 0x66, 8);
    EXPECT_NEAR(px[0], 0xCC, 8);
    WaitUntil([] { return false; }, 300);
    int64_t before = 0;
    Player->CurrentFrame(before);
    Player->StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] {
        int64_t now = 0;
        Player->CurrentFrame(now);
        return now > before;
    }));
    EXPECT_EQ(Count(psStep), 1);
    Player->Stop(true);
}

// Paused at the start of a clip whose packets are all read: the reader at the end of the input
// keeps one empty packet waiting for the decoder, not one more every 10 ms (memory grew at rest).
TEST_F(PlayerTest, PausedAtTheEndOfTheInputTheVideoQueueStaysBounded)
{
    std::string clip = MakeClip("short.mp4", 0.4);  // 10 pictures
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, true));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPause); }));
    ASSERT_TRUE(WaitUntil([&] { return Player->FVideoState.load()->shown_index >= 0; }));
    // A second of rest: the old reader had queued about a hundred empty packets by then.
    WaitUntil([] { return false; }, 1000);
    EXPECT_LE(Player->FVideoState.load()->videoq.nb_packets, 11);
    // Playing on drains the queue and reaches the end as before.
    Player->Resume();
    EXPECT_TRUE(WaitUntil([&] { return Has(psEnd); }));
    Player->Stop(true);
}

TEST_F(PlayerTest, WaitingSeekLandsNearTheTarget)
{
    std::string clip = MakeClip("seek.mp4", 4);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPlay); }));
    Player->Seek(static_cast<int64_t>(2000000), 0, true);
    EXPECT_TRUE(Player->FSeekEvent.IsSet());
    ASSERT_TRUE(WaitUntil([&] { return Player->CurrentPTS() >= 1500000; }, 3000));
    EXPECT_LT(Player->CurrentPTS(), 3500000);
    // Relative: one second back.
    int64_t at = Player->CurrentPTS();
    Player->Seek(-1.0, 0, true);
    ASSERT_TRUE(WaitUntil([&] { return Player->CurrentPTS() < at - 500000; }, 3000));
    // Past the duration: to the duration.
    Player->Seek(static_cast<int64_t>(60000000), 0, true);
    ASSERT_TRUE(WaitUntil([&] { return Has(psEnd); }));
    Player->Stop(true);
}

TEST_F(PlayerTest, StreamSwitchingRefusalsAndSwitch)
{
    std::string two = Dir.file("two.mkv");
    std::string srt = Dir.file("subs.srt");
    std::ofstream(srt) << "1\n00:00:00,000 --> 00:00:02,000\nhello\n\n";
    ASSERT_TRUE(RunFFmpeg({"-f",   "lavfi", "-i",   "color=c=red:size=64x48:rate=25",
                           "-f",   "lavfi", "-i",   "sine=frequency=440",
                           "-f",   "lavfi", "-i",   "sine=frequency=880",
                           "-i",   srt,     "-t",   "3",
                           "-map", "0",     "-map", "1",
                           "-map", "2",     "-map", "3",
                           "-c:v", "mpeg4", "-c:a", "aac",
                           "-c:s", "srt",   two}));
    ASSERT_TRUE(Player->Open(Utf8ToString(two), 0, false));
    ASSERT_EQ(Player->VideoStreamIndex(), 0);
    EXPECT_EQ(Player->SubtitleStreamIndex(), 3) << "text subtitles are decoded (and not shown)";
    int audio = Player->AudioStreamIndex();
    ASSERT_TRUE(audio == 1 || audio == 2);

    struct Case {
        int Kind;  // 0 video, 1 audio, 2 subtitle
        int Index;
        const wchar_t* Text;
    } cases[] = {
        {0, -1, L"the stream index is not valid."}, {0, 4, L"the stream index is not valid."},
        {0, 1, L"the stream type is not matched."}, {1, 0, L"the stream type is not matched."},
        {2, 5, L"the stream index is not valid."},  {2, 1, L"the stream type is not matched."},
    };
    for (const Case& c : cases) {
        Player->SetLastErrMsg(L"");
        if (c.Kind == 0)
            Player->SetVideoStreamIndex(c.Index);
        else if (c.Kind == 1)
            Player->SetAudioStreamIndex(c.Index);
        else
            Player->SetSubtitleStreamIndex(c.Index);
        EXPECT_EQ(Player->LastErrMsg(), c.Text) << c.Kind << " " << c.Index;
    }
    EXPECT_EQ(Player->VideoStreamIndex(), 0);

    Player->SetLastErrMsg(L"");
    Player->SetSubtitleStreamIndex(-1);  // subtitles off
    EXPECT_EQ(Player->LastErrMsg(), L"");
    EXPECT_EQ(Player->SubtitleStreamIndex(), -1);
    Player->SetSubtitleStreamIndex(3);
    EXPECT_EQ(Player->SubtitleStreamIndex(), 3);
    int other = audio == 1 ? 2 : 1;
    Player->SetAudioStreamIndex(other);
    EXPECT_EQ(Player->LastErrMsg(), L"");
    EXPECT_EQ(Player->AudioStreamIndex(), other);
    int64_t at = Player->CurrentPTS();
    ASSERT_TRUE(WaitUntil([&] { return Player->CurrentPTS() > at + 200000; })) << "plays on after the switch";
    Player->Stop(true);

    // The second audio stream chosen at open; the choice lasts for one playback.
    Player->Setwanted_audio_stream(1);
    ASSERT_TRUE(Player->Open(Utf8ToString(two), 0, false));
    EXPECT_EQ(Player->AudioStreamIndex(), 2);
    EXPECT_EQ(Player->wanted_audio_stream(), 1);
    Player->Stop(true);
    EXPECT_EQ(Player->wanted_audio_stream(), -1);
}

TEST_F(PlayerTest, FilesWithoutPlayableStreamsAreRefused)
{
    std::string srt = Dir.file("only.srt");
    std::ofstream(srt) << "1\n00:00:00,000 --> 00:00:01,000\nhello\n\n";
    ASSERT_FALSE(Player->Open(Utf8ToString(srt), 0, false));
    EXPECT_EQ(Player->LastErrMsg(), Utf8ToString(srt) + L": could not open codecs, no stream to play.");
    EXPECT_EQ(Player->FVideoState.load(), nullptr);

    ASSERT_FALSE(Player->Open(Dir.File(L"missing.mp4"), 0, false));
    EXPECT_EQ(Player->LastErrMsg(), Dir.File(L"missing.mp4") + L": No such file or directory");

    std::ofstream(Dir.file("empty.mp4")).flush();
    std::ofstream(Dir.file("garbage.mp4")) << std::string(4096, '\x5a');
    for (const wchar_t* name : {L"empty.mp4", L"garbage.mp4"}) {
        ASSERT_FALSE(Player->Open(Dir.File(name), 0, false));
        EXPECT_EQ(Player->LastErrMsg(), Dir.File(name) + L": Invalid data found when processing input");
    }

    String tooLong = Dir.Dir() + String(1100, L'a') + L".mp4";
    ASSERT_FALSE(Player->Open(tooLong, 0, false));
    EXPECT_EQ(Player->LastErrMsg(), tooLong + L": file name too long");
    EXPECT_TRUE(States.empty());
    EXPECT_EQ(Player->FVideoState.load(), nullptr);
}

TEST_F(PlayerTest, AudioOnlyFileShowsTheWaveform)
{
    std::string wav = Dir.file("tone.wav");
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", "2", wav}));
    Player->SetScreenWidth(160);
    Player->SetScreenHeight(120);
    ASSERT_TRUE(Player->Open(Utf8ToString(wav), 0, false));
    EXPECT_EQ(Player->VideoStreamIndex(), -1);
    TVideoState* is = Player->FVideoState;
    ASSERT_NE(is, nullptr);
    EXPECT_EQ(is->show_audio, saWave);
    ASSERT_TRUE(WaitUntil([&] { return !Positions.empty() && Positions.back() > 300000; }));
    // The wave is drawn in white on black.
    bool white = false;
    {
        Player->LockData();
        SDL_Surface* s = Player->Fscreen;
        if (s && s->pixels && s->format->BytesPerPixel == 4)
            for (int y = 0; y < s->h && !white; y++)
                for (int x = 0; x < s->w && !white; x++)
                    white = (static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF) == 0xFFFFFF;
        Player->UnlockData();
    }
    EXPECT_TRUE(white);
    // The display modes cycle wave, spectrum, none.
    Player->ToggleAudioDisplay();
    EXPECT_EQ(is->show_audio, saRDFT);
    Player->ToggleAudioDisplay();
    EXPECT_EQ(is->show_audio, saNone);
    Player->SetShowAudio(saWave);
    EXPECT_EQ(is->show_audio, saWave);
    Player->SetVideoStreamIndex(0);
    EXPECT_EQ(Player->LastErrMsg(), L"the current stream is not valid.");
    Player->Stop(true);
}

// The colours of the screen surface (0xRRGGBB) that are not black.
std::vector<uint32_t> LitPixels(TCustomPlayer* player)
{
    std::vector<uint32_t> lit;
    player->LockData();
    SDL_Surface* s = player->Fscreen;
    if (s && s->pixels && s->format->BytesPerPixel == 4)
        for (int y = 0; y < s->h; y++)
            for (int x = 0; x < s->w; x++) {
                uint32_t v = static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x];
                uint32_t rgb = (((v & s->format->Rmask) >> s->format->Rshift) << 16) |
                               (((v & s->format->Gmask) >> s->format->Gshift) << 8) |
                               ((v & s->format->Bmask) >> s->format->Bshift);
                if (rgb) lit.push_back(rgb);
            }
    player->UnlockData();
    return lit;
}

// The colour of one pixel of the screen surface (0xRRGGBB), -1 outside.
int64_t ScreenPixel(TCustomPlayer* player, int x, int y)
{
    int64_t rgb = -1;
    player->LockData();
    SDL_Surface* s = player->Fscreen;
    if (s && s->pixels && s->format->BytesPerPixel == 4 && x < s->w && y < s->h) {
        uint32_t v = static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x];
        rgb = (((v & s->format->Rmask) >> s->format->Rshift) << 16) |
              (((v & s->format->Gmask) >> s->format->Gshift) << 8) | ((v & s->format->Bmask) >> s->format->Bshift);
    }
    player->UnlockData();
    return rgb;
}

TEST_F(PlayerTest, AspectRatioAndHostWindowSizeRedrawThePicture)
{
    std::string clip = MakeClip("aspect.mp4", 2);
    Player->SetScreenWidth(160);  // wider than the clip's 4:3
    Player->SetScreenHeight(96);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, true));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPause) && ScreenPixel(Player, 80, 48) > 0; }));
    EXPECT_EQ(ScreenPixel(Player, 4, 48), 0) << "beside a 4:3 picture the area stays black";

    Player->SetAspectRatio(-1);  // fill the whole area
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(Player, 4, 48) > 0; }));

    Player->HostWindowResized(100, 60);
    ASSERT_TRUE(WaitUntil([&] {
        Player->LockData();
        bool resized = Player->Fscreen && Player->Fscreen->w == 100 && Player->Fscreen->h == 60;
        Player->UnlockData();
        return resized && ScreenPixel(Player, 50, 30) > 0;
    }));
    Player->Stop(true);
}

TEST_F(PlayerTest, VerticalFlipTurnsThePictureUpsideDown)
{
    std::string clip = Dir.file("pattern.mp4");
    ASSERT_TRUE(
        RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "1", "-c:v", "mpeg4", "-q:v", "2", clip}));
    TFrameImage pictures[2];
    for (bool flip : {false, true}) {
        States.clear();
        Player->SetVerticalFlip(flip);  // lasts for one playback
        ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, true));
        ASSERT_TRUE(WaitUntil([&] { return Has(psPause); }));
        int64_t pts = -1;
        ASSERT_TRUE(WaitUntil([&] {
            Player->CurrentFrame(pts);
            return Player->FVideoState.load()->shown_index >= 0 && pts == 0;  // where it rests, opened paused
        }));
        pictures[flip] = *Player->CurrentFrame();
        Player->Stop(true);
        EXPECT_FALSE(Player->VerticalFlip());
    }
    ASSERT_EQ(pictures[0].Height, 48);
    ASSERT_EQ(pictures[1].Height, 48);
    int differences = 0;
    for (int row = 0; row < 48; row++)
        for (int i = 0; i < 64 * 4; i++)
            differences += std::abs(pictures[0].ScanLine(row)[i] - pictures[1].ScanLine(47 - row)[i]) > 24;
    EXPECT_LT(differences, 64 * 48 * 4 / 50) << "row r of one is row 47 - r of the other";
    EXPECT_NE(memcmp(pictures[0].ScanLine(0), pictures[1].ScanLine(0), 64 * 4), 0);
}

TEST_F(PlayerTest, SdlStartFailureIsReported)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    std::string clip = MakeClip("nosdl.mp4", 1);
    EXPECT_FALSE(Player->Open(Utf8ToString(clip), 0, false));
    EXPECT_EQ(Player->LastErrMsg().rfind(L"Could not initialize SDL with ScreenHandle(0): ", 0), 0u)
        << StringToUtf8(Player->LastErrMsg());
    EXPECT_EQ(Player->FVideoState.load(), nullptr);
}

TEST_F(PlayerTest, DisabledDisplayPlaysTheSoundOnly)
{
    std::string clip = MakeClip("nodisplay.mp4", 1);
    Player->SetDisableDisplay(true);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    EXPECT_EQ(Player->VideoStreamIndex(), -1);
    EXPECT_GE(Player->AudioStreamIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return Has(psEnd); }));
    EXPECT_EQ(Player->Fscreen, nullptr) << "no video surface at all";
    Player->Stop(true);
}

TEST_F(PlayerTest, PlayerFreedInsideItsStateHandler)
{
    std::string clip = MakeClip("free.mp4", 2);
    TFFPlayer* player = Player;
    Player = nullptr;  // the handler frees it
    bool freed = false;
    player->OnState = [&player, &freed](TObject* sender, TPlayState s) {
        if (s == psPlay) {
            delete static_cast<TFFPlayer*>(sender);
            player = nullptr;
            freed = true;
        }
    };
    ASSERT_TRUE(player->Open(Utf8ToString(clip), 0, false));
    ASSERT_TRUE(WaitUntil([&] { return freed; }));
    WaitUntil([] { return false; }, 300);  // nothing more reaches the freed player
}

TEST_F(PlayerTest, MonoSpectrumColoursRedAndGreenAlike)
{
    std::string wav = Dir.file("tone.wav");
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", "2", wav}));
    Player->SetScreenWidth(64);
    Player->SetScreenHeight(64);
    Player->SetShowAudio(saRDFT);
    ASSERT_TRUE(Player->Open(Utf8ToString(wav), 0, false));
    ASSERT_TRUE(WaitUntil([&] { return !LitPixels(Player).empty(); }));
    for (uint32_t rgb : LitPixels(Player)) {
        int r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        ASSERT_EQ(r, g);
        ASSERT_EQ(b, (r + g) / 2);
    }
    Player->Stop(true);
}

TEST_F(PlayerTest, WithoutASoundDeviceTheSoundPlaysSilently)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::string wav = Dir.file("silent.wav");
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "1", wav}));
    ASSERT_TRUE(Player->Open(Utf8ToString(wav), 0, false)) << StringToUtf8(Player->LastErrMsg());
    ASSERT_GE(Player->AudioStreamIndex(), 0);
    EXPECT_FALSE(Player->FVideoState.load()->audio_device);
    // The clock runs at the sound's own pace up to the end.
    ASSERT_TRUE(WaitUntil([&] { return Has(psEnd); }));
    EXPECT_NEAR(Positions.back(), Player->FVideoState.load()->Duration, 50000);
    Player->Stop(true);
}

TEST_F(PlayerTest, SoundDriverChoice)
{
    std::string clip = MakeClip("drivers.mp4", 1);
    // Default leaves the process's own choice alone.
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    EXPECT_STREQ(getenv("SDL_AUDIODRIVER"), "dummy");
    EXPECT_STREQ(getenv("SDL_VIDEODRIVER"), "dummy");
    Player->Stop(true);
    // WaveOut stands for ALSA; where ALSA has no device the sound plays silently.
    Player->SetAudioDriver(adWaveOut);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false)) << StringToUtf8(Player->LastErrMsg());
    EXPECT_STREQ(getenv("SDL_AUDIODRIVER"), "alsa");
    EXPECT_GE(Player->AudioStreamIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return Player->CurrentPTS() > 200000; }));
    Player->Stop(true);
    // Back to default: the process's own choice again.
    Player->SetAudioDriver(adDefault);
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, false));
    EXPECT_STREQ(getenv("SDL_AUDIODRIVER"), "dummy");
    Player->Stop(true);
}

TEST_F(PlayerTest, SecondOpenStopsTheFirstPlayback)
{
    std::string first = MakeClip("first.mp4", 3);
    std::string second = MakeClip("second.mp4", 3);
    ASSERT_TRUE(Player->Open(Utf8ToString(first), 0, false));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPlay); }));
    ASSERT_TRUE(Player->Open(Utf8ToString(second), 0, false));
    EXPECT_EQ(Player->FileName(), Utf8ToString(second));
    ASSERT_TRUE(WaitUntil([&] { return Count(psPlay) == 2; }));
    auto stop = std::find(States.begin(), States.end(), psStop);
    auto play2 = std::find(std::find(States.begin(), States.end(), psPlay) + 1, States.end(), psPlay);
    EXPECT_TRUE(stop != States.end() && stop < play2) << "the first playback ended before the second started";
    Player->Stop(true);
}

TEST_F(PlayerTest, HookChangesThePictureShown)
{
    std::string clip = MakeClip("hook.mp4", 2);
    std::atomic<int> calls{0};
    std::atomic<int64_t> lastPts{-1};
    std::atomic<int> paintedMeanwhile{0};
    Player->SetHook(true);
    Player->OnHook = [&](TObject*, TBitmap* bitmap, int64_t pts) {
        // The canvas is locked while the handler runs: a thread painting meanwhile cannot.
        std::thread([&] {
            if (bitmap->Canvas()->TryLock()) {
                ++paintedMeanwhile;
                bitmap->Canvas()->Unlock();
            }
        }).join();
        bitmap->Canvas()->Brush()->SetColor(clWhite);
        bitmap->Canvas()->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
        lastPts = pts;
        calls++;
    };
    ASSERT_TRUE(Player->Open(Utf8ToString(clip), 0, true));
    ASSERT_TRUE(WaitUntil([&] { return Has(psPause) && Player->FVideoState.load()->shown_index >= 0; }));
    EXPECT_GE(calls.load(), 1);
    EXPECT_EQ(paintedMeanwhile.load(), 0);
    EXPECT_GE(lastPts.load(), 0);
    TFrameImage* image = Player->CurrentFrame();
    ASSERT_EQ(image->Width, 64);
    const uint8_t* px = image->ScanLine(20) + 20 * 4;
    EXPECT_GE(px[0], 245);
    EXPECT_GE(px[1], 245);
    EXPECT_GE(px[2], 245);
    Player->Stop(true);
}

// A 4 x 4 picture (Y 0, U and V 128) under a subtitle rectangle of one palette colour.
TEST(PlayerSubtitles, BlendSubRectMixesLumaPerPixelAndChromaPerBlock)
{
    struct Case {
        int X, Y, W, H;
        uint32_t Colour;  // A, Y, U, V
        int U00, U10;     // U of the blocks (0,0) and (1,0) afterwards
    } cases[] = {
        {0, 0, 2, 2, 0xFFC83264, (128 * 4 * 0 + 4 * 0x32 * 255) / 1020, 128},  // full block
        {1, 0, 2, 2, 0xFFC83264, (128 * 2 * 128 + 2 * 0x32 * 127) / 510,       // pairs
         (128 * 2 * 128 + 2 * 0x32 * 127) / 510},
        {1, 1, 1, 1, 0xFFC83264, (128 * 192 + 0x32 * 63) / 255, 128},  // a corner
        {3, 3, 4, 4, 0xFFC83264, 128, 128},                            // clipped into the picture
    };
    for (const Case& c : cases) {
        uint8_t y[16] = {}, u[4], v[4];
        std::fill(u, u + 4, 128);
        std::fill(v, v + 4, 128);
        uint8_t* data[3] = {y, u, v};
        int linesize[3] = {4, 2, 2};
        std::vector<uint8_t> index(c.W * c.H, 0);
        uint32_t palette[1] = {c.Colour};
        AVSubtitleRect rect{};
        rect.x = c.X;
        rect.y = c.Y;
        rect.w = c.W;
        rect.h = c.H;
        rect.nb_colors = 1;
        rect.data[0] = index.data();
        rect.data[1] = reinterpret_cast<uint8_t*>(palette);
        rect.linesize[0] = c.W;
        BlendSubRect(data, linesize, &rect, 4, 4);
        int w = std::min(c.W, 4), h = std::min(c.H, 4);
        int x0 = std::min(c.X, 4 - w), y0 = std::min(c.Y, 4 - h);
        for (int j = 0; j < 4; j++)
            for (int i = 0; i < 4; i++) {
                bool inside = i >= x0 && i < x0 + w && j >= y0 && j < y0 + h;
                EXPECT_EQ(y[j * 4 + i], inside ? 0xC8 : 0) << c.X << "," << c.Y << " at " << i << "," << j;
            }
        if (c.X < 3) {
            EXPECT_EQ(u[0], c.U00) << c.X << "," << c.Y;
            EXPECT_EQ(u[1], c.U10) << c.X << "," << c.Y;
        } else {
            // The 4 x 4 rectangle clipped to the whole picture: every block full.
            EXPECT_EQ(u[0], (4 * 0x32 * 255) / 1020);
            EXPECT_EQ(v[3], (4 * 0x64 * 255) / 1020);
        }
    }
}

// Serves the first part of a file over TCP and then stalls, so the player's reader blocks.
class StallingServer {
public:
    explicit StallingServer(const std::string& file, double part)
    {
        std::ifstream in(file, std::ios::binary);
        FData.assign(std::istreambuf_iterator<char>(in), {});
        FData.resize(static_cast<size_t>(FData.size() * part));
        FListen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len);
        FPort = ntohs(addr.sin_port);
        listen(FListen, 1);
        FThread = std::thread([this] {
            int c = accept(FListen, nullptr, nullptr);
            if (c < 0) return;
            (void)!write(c, FData.data(), FData.size());
            while (!FDone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            close(c);
        });
    }
    ~StallingServer()
    {
        FDone = true;
        shutdown(FListen, SHUT_RDWR);
        close(FListen);
        FThread.join();
    }
    std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

private:
    std::string FData;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

TEST_F(PlayerTest, StopWithWaitingReturnsWhileTheReaderBlocks)
{
    std::string ts = MakeClip("stall.ts", 4);
    StallingServer server(ts, 0.6);
    ASSERT_TRUE(Player->Open(Utf8ToString(server.Url()), 0, false)) << StringToUtf8(Player->LastErrMsg());
    ASSERT_TRUE(WaitUntil([&] { return Player->FVideoState.load()->Reading == 1 && Player->CurrentPTS() > 0; }));
    auto started = std::chrono::steady_clock::now();
    Player->Stop(true);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(Player->FVideoState.load(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Has(psStop); }));
}

TEST_F(PlayerTest, WaitingSeekReturnsWhenThePlaybackCloses)
{
    std::string ts = MakeClip("stall2.ts", 4);
    StallingServer server(ts, 0.6);
    ASSERT_TRUE(Player->Open(Utf8ToString(server.Url()), 0, false)) << StringToUtf8(Player->LastErrMsg());
    ASSERT_TRUE(WaitUntil([&] { return Player->FVideoState.load()->Reading == 1; }));
    // The reader is stuck in a read, so the seek is never performed; the playback is closed
    // from elsewhere meanwhile.
    std::thread closer([this] {
        // Once the seek is asked for, the waiting call is on its way into its wait.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!Player->Seeking() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Player->Stop(false);
    });
    auto started = std::chrono::steady_clock::now();
    Player->Seek(static_cast<int64_t>(1000000), 0, true);
    closer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ASSERT_TRUE(WaitUntil([&] { return Has(psStop); }));
    Player->Stop(true);
}

TEST(PlayEventRing, SameKindOverwritesAndFullRingDropsTheOldest)
{
    TPlayEvent ring;
    for (int i = 0; i < 10; i++) ring.PushEvent(TPlayEventItem{1, i});
    TPlayEventItem item;
    ring.PopEvent(item);
    EXPECT_EQ(item.Kind, 1);
    EXPECT_EQ(item.Value, 9);
    ring.PopEvent(item);
    EXPECT_EQ(item.Kind, 0);
    EXPECT_FALSE(ring.Event.IsSet());

    for (int i = 0; i < 12; i++) ring.PushEvent(TPlayEventItem{1 + i % 2, i});
    std::vector<int64_t> values;
    for (ring.PopEvent(item); item.Kind != 0; ring.PopEvent(item)) values.push_back(item.Value);
    EXPECT_EQ(values, (std::vector<int64_t>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

}  // namespace
