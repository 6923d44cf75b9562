// The preview player component: plays one media file at a time into a host window (an X11
// window id, or none: then SDL draws into its own surface, e.g. the dummy driver of headless
// runs). Pictures go to an SDL YUV overlay, sound to the SDL audio device, subtitles are blended
// into the pictures, and a file without pictures shows a waveform or spectrum of its sound.
// Position and state changes reach the application through the event thread (player_events.cpp),
// in the main thread by default. The main window's preview panel owns one TFFPlayer.
//
// The playback machinery lives in the player_*.cpp files: player_state (the state record and
// packet queues), player_reader (opening, reading and seeking), player_video (video decoding,
// clocks, refresh and the play thread's event loop), player_audio (sound and subtitles),
// player_output (video mode, picture and audio display, hook), player_events (event ring,
// position reporting) and player_host_window (SDL start inside the host window).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/av_api.h"
#include "engine/av_probe.h"
#include "engine/base_component.h"
#include "engine/library_loader.h"
#include "engine/logger.h"
#include "engine/media_utils.h"
#include "engine/seek_flags.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/framework/core/thread.h"

struct TVideoState;
struct TPlayEvent;
class TPlayThread;
class TEventThread;

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
// SDL drivers. On Linux: default keeps the process's own choice; DirectSound/WaveOut stand for
// the "pulse" and "alsa" sound drivers, DirectDraw and GDI for the "x11" video driver.
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };
using TAudioVolume = int;  // 0..128, SDL's mixing volume scale

// The host window: an X11 window id; 0 = none.
using TScreenHandle = unsigned long;

using TFileOpenEvent = std::function<void(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                          int& AScreenWidth, int& AScreenHeight)>;
// The picture of each decoded frame as a bitmap the handler may paint on (its canvas locked).
using THookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int64_t APTS)>;
using TPositionEvent = std::function<void(TObject* Sender, int64_t APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, TPlayState AState)>;

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner);
    ~TCustomPlayer() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const TPathFileName& APath);
    void UnloadAVLib();

    // Starts playing AFileName in the host window (0: none); False with LastErrMsg on failure.
    bool Open(const String& AFileName, TScreenHandle AScreenHandle, bool APaused = false);
    // Ends playback; with AWaitForStop waits until it has ended and shuts SDL down.
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    void ToggleAudioDisplay();
    // Absolute position in microseconds from the start (a byte offset with sfByte).
    void Seek(int64_t APTS, TSeekFlags ASeekFlags = 0, bool AWaitForSeekEnd = false);
    // Relative to the current position, in seconds.
    void Seek(double ADelta, TSeekFlags ASeekFlags = 0, bool AWaitForSeekEnd = false);
    // The picture on screen (0 x 0 when none); owned by the player and reused on the next call.
    TFrameImage* CurrentFrame();
    TFrameImage* CurrentFrame(int64_t& APTS);
    // Makes the overlay follow a moved host window: SDL 1.2 on X11 draws into the window itself,
    // so there is nothing to do.
    void UpdateScreenPosition();
    // What the host window tells the player (SDL 1.2 selects no input on a foreign window, so the
    // window's owner forwards them): it was exposed (while paused the picture is drawn again), or
    // it has a new client size (the video surface follows it).
    void HostWindowExposed();
    void HostWindowResized(int AWidth, int AHeight);

    // Properties.
    const String& About() const { return FAbout; }
    void SetAbout(const String& AValue) { FAbout = AValue; }
    String Version() const { return L"2.3"; }
    bool DisableAudio() const { return Faudio_disable; }
    void SetDisableAudio(bool AValue) { Faudio_disable = AValue; }
    bool DisableVideo() const { return Fvideo_disable; }
    void SetDisableVideo(bool AValue) { Fvideo_disable = AValue; }
    bool DisableDisplay() const { return Fdisplay_disable; }
    void SetDisableDisplay(bool AValue) { Fdisplay_disable = AValue; }
    String Format() const;
    void SetFormat(const String& AValue);
    int FrameWidth() const { return Fframe_width; }
    void SetFrameWidth(int AValue) { Fframe_width = AValue; }
    int FrameHeight() const { return Fframe_height; }
    void SetFrameHeight(int AValue) { Fframe_height = AValue; }
    int ScreenWidth() const { return Fscreen_width; }
    void SetScreenWidth(int AValue) { Fscreen_width = AValue; }
    int ScreenHeight() const { return Fscreen_height; }
    void SetScreenHeight(int AValue) { Fscreen_height = AValue; }
    const String& FileName() const { return Finput_filename; }
    const String& LastErrMsg() const { return FLastErrMsg; }
    TScreenHandle ScreenHandle() const { return FScreenHandle; }
    bool FullScreen() const { return Fis_full_screen; }
    bool is_full_screen() const { return Fis_full_screen; }
    void Setis_full_screen(bool AValue) { Fis_full_screen = AValue; }
    int AudioStreamIndex() const;
    void SetAudioStreamIndex(int AValue);
    int VideoStreamIndex() const;
    void SetVideoStreamIndex(int AValue);
    int SubtitleStreamIndex() const;
    void SetSubtitleStreamIndex(int AValue);
    TAVProbe* AVProbe() const { return FAVProbe; }
    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float AValue);
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver AValue) { FAudioDriver = AValue; }
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    void SetAudioVolume(TAudioVolume AValue) { FAudioVolume = AValue < 0 ? 0 : (AValue > 128 ? 128 : AValue); }
    bool Mute() const { return FMute; }
    void SetMute(bool AValue) { FMute = AValue; }
    int64_t CurrentPTS() const { return FCurrentPTS; }
    bool Hook() const { return FHook; }
    void SetHook(bool AValue) { FHook = AValue; }
    bool Paused() const;
    TPlayState PlayState() const { return FState; }
    int64_t PlayTime() const { return FPlayTime; }
    void SetPlayTime(int64_t AValue) { FPlayTime = AValue; }
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType AValue) { FRepeatType = AValue; }
    bool Seeking() const { return FSeeking; }
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio AValue);
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    bool VerticalFlip() const { return FVerticalFlip; }
    void SetVerticalFlip(bool AValue) { FVerticalFlip = AValue; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver AValue) { FVideoDriver = AValue; }
    const String& VideoFilters() const { return Fvfilters; }
    void SetVideoFilters(const String& AValue) { Fvfilters = AValue; }
    int wanted_audio_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_AUDIO]; }
    void Setwanted_audio_stream(int AValue) { Fwanted_stream[1 + AVMEDIA_TYPE_AUDIO] = AValue; }
    int wanted_video_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_VIDEO]; }
    void Setwanted_video_stream(int AValue) { Fwanted_stream[1 + AVMEDIA_TYPE_VIDEO] = AValue; }
    int wanted_subtitle_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_SUBTITLE]; }
    void Setwanted_subtitle_stream(int AValue) { Fwanted_stream[1 + AVMEDIA_TYPE_SUBTITLE] = AValue; }
    int seek_by_bytes() const { return Fseek_by_bytes; }
    void Setseek_by_bytes(int AValue) { Fseek_by_bytes = AValue; }
    int64_t start_time() const { return Fstart_time; }
    void Setstart_time(int64_t AValue) { Fstart_time = AValue; }
    int workaround_bugs() const { return Fworkaround_bugs; }
    void Setworkaround_bugs(int AValue) { Fworkaround_bugs = AValue; }
    int debug_mv() const { return Fdebug_mv; }
    void Setdebug_mv(int AValue) { Fdebug_mv = AValue; }
    bool fast() const { return Ffast; }
    void Setfast(bool AValue) { Ffast = AValue; }
    bool genpts() const { return Fgenpts; }
    void Setgenpts(bool AValue) { Fgenpts = AValue; }
    int decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void Setdecoder_reorder_pts(int AValue) { Fdecoder_reorder_pts = AValue; }
    int framedrop() const { return Fframedrop; }
    void Setframedrop(int AValue) { Fframedrop = AValue; }
    int rdftspeed() const { return Frdftspeed; }
    void Setrdftspeed(int AValue) { Frdftspeed = AValue; }
    int lowres() const { return Flowres; }
    void Setlowres(int AValue) { Flowres = AValue; }
    int idct_algo() const { return Fidct_algo; }
    void Setidct_algo(int AValue) { Fidct_algo = AValue; }
    int error_recognition() const { return Ferror_recognition; }
    void Seterror_recognition(int AValue) { Ferror_recognition = AValue; }
    int error_concealment() const { return Ferror_concealment; }
    void Seterror_concealment(int AValue) { Ferror_concealment = AValue; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    void Setav_sync_type(Tav_sync_type AValue) { Fav_sync_type = AValue; }

    // Events.
    TFileOpenEvent OnFileOpen;
    THookEvent OnHook;
    TPositionEvent OnPosition;
    TPlayStateEvent OnState;

    // ---- The playback machinery's share of the component (player_*.cpp); not for callers. ----
    // Logs AMsg at llError (and keeps it in LastErrMsg with ASetLastErr).
    void ReportError(const String& AMsg, bool ASetLastErr);
    // Logs with the player as sender; from the playback threads the line is queued to the main
    // thread instead of waiting for it (they may be waited for by the main thread).
    void LogMessage(TLogLevel ALevel, const String& AMsg);
    void ClosePlayback();
    void LockData() { FDataLock.lock(); }
    void UnlockData() { FDataLock.unlock(); }
    void ResetPlayback();
    void SetPlayState(TPlayState AState);
    void UpdatePosition();
    bool InitSDLWindow(TScreenHandle AHandle);
    bool CallHook(const AVFrame* ASrcFrame, AVFrame* AOverlayPicture, double APTS);
    void DoPosition();
    void DoState();
    void SetLastErrMsg(const String& AValue) { FLastErrMsg = AValue; }
    // Waits while AWaiting holds, on the main thread serving its queue, polling every APollMs.
    static void WaitServing(const std::function<bool()>& ADone, int APollMs);

    int Fsws_flags;
    const AVInputFormat* Ffile_iformat;
    String Finput_filename;
    int Ffs_screen_width, Ffs_screen_height;
    int Fscreen_width, Fscreen_height;
    int Fframe_width, Fframe_height;
    int Fframe_pix_fmt;
    bool Faudio_disable, Fvideo_disable;
    int Fwanted_stream[7];  // by media type -1..5
    int Fseek_by_bytes;
    bool Fdisplay_disable;
    Tav_sync_type Fav_sync_type;
    int64_t Fstart_time;
    int Fdebug, Fdebug_mv;
    std::atomic<bool> Fstep;
    int Fworkaround_bugs;
    bool Ffast, Fgenpts;
    int Flowres, Fidct_algo;
    AVDiscard Fskip_frame, Fskip_idct, Fskip_loop_filter;
    int Ferror_recognition, Ferror_concealment;
    int Fdecoder_reorder_pts;
    int Fframedrop;
    int Frdftspeed;
    String Fvfilters;
    bool Fis_full_screen;
    std::atomic<TVideoState*> FVideoState;
    std::atomic<int64_t> Faudio_callback_time;
    AVPacket Fflush_pkt;
    SDL_Surface* Fscreen;
    String FAbout;
    String FLastErrMsg;
    std::atomic<int64_t> FLastPTS;
    std::atomic<int64_t> FCurrentPTS;
    TAVProbe* FAVProbe;
    TScreenHandle FScreenHandle;
    std::timed_mutex FDataLock;
    TEvent FSeekEvent, FPictEvent, FStopEvent;
    std::shared_ptr<TPlayEvent> FPlayEvent;  // the ring of the current playback
    std::mutex FPlayEventLock;
    std::shared_ptr<TPlayEvent> CurrentRing();
    TPlayState FEventState;
    int64_t FEventPTS;
    std::atomic<bool> FSeeking;
    float FAspectRatio;
    TAudioVolume FAudioVolume;
    TShowAudio FShowAudio;
    bool FMute;
    int64_t FPlayTime;
    TRepeatType FRepeatType;
    bool FVerticalFlip;
    TAudioDriver FAudioDriver;
    TVideoDriver FVideoDriver;
    std::unique_ptr<TRGBConvertContext> FRGBContext, FHookContext;
    std::unique_ptr<TBitmap> FHookBitmap;  // the picture handed to OnHook
    bool FHook;
    bool FTriggerEventInMainThread;
    std::atomic<TPlayState> FState;
    // Counts playbacks, so a waiter can tell that the playback it waits for has ended.
    std::atomic<uint64_t> FPlaybackSerial;

private:
    void InitDefaults();
    void DoFileOpen();
    void WaitForStop();
    void SwitchStream(AVMediaType AType, int AIndex);
    void ReapThreads(bool AWait);

    std::shared_ptr<TCustomPlayer*> FSelf;  // cleared on destruction; queued calls check it
    int FDeliveryDepth = 0;                 // OnPosition / OnState handlers running (main thread)
    TPlayThread* FPlayThread = nullptr;
    std::vector<TEventThread*> FEventThreads;  // ended ones are freed by the next Open
};

// The published form: the main window's FFPlayer.
class TFFPlayer : public TCustomPlayer {
public:
    using TCustomPlayer::TCustomPlayer;
};
