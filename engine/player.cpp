// TCustomPlayer: the component's operations (open, stop, pause, step, seek, stream switching,
// the current picture) and its play thread. See player.h for the parts of the playback.
#include "engine/player.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "engine/av_bindings.h"
#include "engine/main_thread_calls.h"
#include "engine/player_events.h"
#include "engine/player_state.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

bool HostWindowClientSize(TScreenHandle AHandle, int& AWidth, int& AHeight);

namespace {

// The flush marker's data: only its address identifies the marker.
const char FlushText[] = "FLUSH";

thread_local bool InPlayThread = false;

// The process's own SDL driver choice, as it was before the first playback changed it.
struct TDriverChoice {
    bool Read = false;
    bool HasAudio = false, HasVideo = false;
    std::string Audio, Video;
} OwnDrivers;

void SetOrRestore(const char* AName, const char* AValue, bool AHadOwn, const std::string& AOwn)
{
    if (AValue)
        setenv(AName, AValue, 1);
    else if (AHadOwn)
        setenv(AName, AOwn.c_str(), 1);
    else
        unsetenv(AName);
}

// SDL's drivers: "default" gives back the process's own choice; without a display and without
// an own choice the dummy video driver keeps SDL from drawing into the terminal.
void ApplySDLDrivers(TAudioDriver AAudio, TVideoDriver AVideo)
{
    if (!OwnDrivers.Read) {
        OwnDrivers.Read = true;
        if (const char* a = getenv("SDL_AUDIODRIVER")) {
            OwnDrivers.HasAudio = true;
            OwnDrivers.Audio = a;
        }
        if (const char* v = getenv("SDL_VIDEODRIVER")) {
            OwnDrivers.HasVideo = true;
            OwnDrivers.Video = v;
        }
    }
    const char* audio = AAudio == adDirectSound ? "pulse" : AAudio == adWaveOut ? "alsa" : nullptr;
    const char* video = AVideo != vdDefault ? "x11" : nullptr;
    if (!video && !OwnDrivers.HasVideo && !getenv("DISPLAY")) video = "dummy";
    SetOrRestore("SDL_AUDIODRIVER", audio, OwnDrivers.HasAudio, OwnDrivers.Audio);
    SetOrRestore("SDL_VIDEODRIVER", video, OwnDrivers.HasVideo, OwnDrivers.Video);
}

}  // namespace

// Runs the SDL event loop of one playback and reports psPlay and psStop around it.
class TPlayThread : public TThread {
public:
    explicit TPlayThread(TCustomPlayer* APlayer) : FPlayer(APlayer) {}

protected:
    void Execute() override
    {
        TCustomPlayer* p = FPlayer;
        InPlayThread = true;
        p->SetPlayState(psPlay);
        try {
            RunEventLoop(p);
        } catch (const std::exception& e) {
            p->LogMessage(llFatal, L"PlayThread Exception: " + Utf8ToString(e.what()));
            p->ClosePlayback();
        } catch (...) {
            p->LogMessage(llFatal, L"PlayThread Exception: ");
            p->ClosePlayback();
        }
        p->SetPlayState(psStop);
        p->FStopEvent.SetEvent();
    }

private:
    TCustomPlayer* FPlayer;
};

TCustomPlayer::TCustomPlayer(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FSelf(std::make_shared<TCustomPlayer*>(this))
{
    FAVProbe = new TAVProbe(this);
    FSeekEvent.SetEvent();
    FPictEvent.SetEvent();
    FStopEvent.SetEvent();
    FAbout = L"FFPlayer";
    InitDefaults();
}

TCustomPlayer::~TCustomPlayer()
{
    OnPosition = nullptr;
    OnState = nullptr;
    OnHook = nullptr;
    Stop(true);
    *FSelf = nullptr;
    if (FDeliveryDepth > 0) {
        // Freed from inside an event handler: the delivering thread waits for this very handler,
        // so it is left to end (and free itself) on its own; it no longer reaches the player.
        for (TEventThread* t : FEventThreads) {
            if (t->Finished()) {
                t->WaitFor();
                delete t;
            } else {
                t->FreeOnTerminate = true;
                t->Quit();
            }
        }
        FEventThreads.clear();
    } else {
        ReapThreads(true);
    }
    if (FAVProbe) {
        FAVProbe->Free();
        FAVProbe = nullptr;
    }
    // The conversion contexts hold library memory: released only while the libraries are there.
    for (auto* ctx : {&FRGBContext, &FHookContext})
        if (*ctx && av::av_free && av::sws_freeContext) ResetRGBContext(**ctx);
}

void TCustomPlayer::InitDefaults()
{
    Fsws_flags = SWS_BICUBIC;
    Ffile_iformat = nullptr;
    Ffs_screen_width = Ffs_screen_height = 0;
    Fscreen_width = Fscreen_height = 0;
    Fframe_width = Fframe_height = 0;
    Fframe_pix_fmt = -1;
    Faudio_disable = Fvideo_disable = false;
    Fdisplay_disable = false;
    Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    Fdebug = Fdebug_mv = 0;
    Fworkaround_bugs = 1;
    Ffast = Fgenpts = false;
    Flowres = Fidct_algo = 0;
    Fskip_frame = Fskip_idct = Fskip_loop_filter = AVDISCARD_DEFAULT;
    Ferror_recognition = 1;
    Ferror_concealment = 3;
    Fdecoder_reorder_pts = -1;
    Fframedrop = 1;
    Frdftspeed = 20;
    Fis_full_screen = false;
    FVideoState = nullptr;
    Faudio_callback_time = 0;
    Fflush_pkt = AVPacket{};
    FScreenHandle = 0;
    FEventState = psStop;
    FEventPTS = 0;
    FAspectRatio = 0;
    FAudioVolume = 128;
    FShowAudio = saWave;
    FMute = false;
    FAudioDriver = adDefault;
    FVideoDriver = vdDefault;
    FHook = false;
    FTriggerEventInMainThread = true;
    FState = psStop;
    FPlaybackSerial = 0;
    ResetPlayback();
}

void TCustomPlayer::ResetPlayback()
{
    Fscreen = nullptr;
    FLastPTS = AV_NOPTS_VALUE;
    FCurrentPTS = -1;
    Fstep = false;
    for (int& wanted : Fwanted_stream) wanted = -1;
    Fseek_by_bytes = -1;
    Fstart_time = AV_NOPTS_VALUE;
    FPlayTime = AV_NOPTS_VALUE;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.SetEvent();
    FSeeking = false;
}

bool TCustomPlayer::AVLibLoaded() const { return DefaultLoader().Loaded(PlayerLibraries); }

bool TCustomPlayer::LoadAVLib(const TPathFileName& APath)
{
    if (ComponentState() & csDesigning) return true;
    DefaultLoader().SetLibraryPath(APath);
    bool ok = DefaultLoader().Load(PlayerLibraries);
    if (!ok) FLastErrMsg = DefaultLoader().LastErrMsg();
    return ok;
}

void TCustomPlayer::UnloadAVLib() { DefaultLoader().Unload(PlayerLibraries); }

void TCustomPlayer::ReportError(const String& AMsg, bool ASetLastErr)
{
    LogMessage(llError, AMsg);
    if (ASetLastErr) FLastErrMsg = AMsg;
}

void TCustomPlayer::LogMessage(TLogLevel ALevel, const String& AMsg)
{
    if (IsMainThread()) {
        DefaultLogger()->Log(this, ALevel, AMsg);
        return;
    }
    std::weak_ptr<TCustomPlayer*> self = FSelf;
    QueueInMainThread([self, ALevel, AMsg] {
        if (auto s = self.lock())
            if (*s) DefaultLogger()->Log(*s, ALevel, AMsg);
    });
}

void TCustomPlayer::WaitServing(const std::function<bool()>& ADone, int APollMs)
{
    WaitServingMainThread(ADone, APollMs);
}

std::shared_ptr<TPlayEvent> TCustomPlayer::CurrentRing()
{
    std::lock_guard<std::mutex> lock(FPlayEventLock);
    return FPlayEvent;
}

void TCustomPlayer::ReapThreads(bool AWait)
{
    for (auto it = FEventThreads.begin(); it != FEventThreads.end();) {
        TEventThread* t = *it;
        if (AWait) t->WaitFor();
        if (t->Finished()) {
            t->WaitFor();
            delete t;
            it = FEventThreads.erase(it);
        } else {
            ++it;
        }
    }
}

bool TCustomPlayer::Open(const String& AFileName, TScreenHandle AScreenHandle, bool APaused)
{
    if (!AVLibLoaded()) {
        ReportError(L"libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    ReapThreads(false);

    ApplySDLDrivers(FAudioDriver, FVideoDriver);
    if (!InitSDLWindow(AScreenHandle)) {
        ReportError(::Format(L"Could not initialize SDL with ScreenHandle(%u): %s",
                             static_cast<unsigned>(AScreenHandle), Utf8ToString(sdl::SDL_GetError())),
                    true);
        return false;
    }
    if (Fdisplay_disable) {
        Fvideo_disable = true;
    } else {
        const SDL_VideoInfo* info = sdl::SDL_GetVideoInfo();
        if (!info) {
            ReportError(L"SDL_GetVideoInfo() failed", true);
            sdl::SDL_Quit();
            return false;
        }
        Ffs_screen_width = info->current_w;
        Ffs_screen_height = info->current_h;
    }
    Fflush_pkt = AVPacket{};
    Fflush_pkt.data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushText));
    Fflush_pkt.size = 0;
    sdl::SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    sdl::SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_USEREVENT, SDL_IGNORE);
    {
        std::lock_guard<std::mutex> lock(FPlayEventLock);
        FPlayEvent = std::make_shared<TPlayEvent>();
    }
    FStopEvent.ResetEvent();
    FPictEvent.SetEvent();
    if (!OpenStream(this, AFileName, Ffile_iformat, APaused)) {
        FStopEvent.SetEvent();
        sdl::SDL_Quit();
        return false;
    }
    Finput_filename = AFileName;
    FScreenHandle = AScreenHandle;
    if (TVideoState* is = FVideoState) FAVProbe->SetFileHandle(is->ic);
    if (FTriggerEventInMainThread)
        RunInMainThread([this] { DoFileOpen(); });
    else
        DoFileOpen();

    auto* events = new TEventThread(FSelf, FTriggerEventInMainThread, CurrentRing());
    FEventThreads.push_back(events);
    events->Start();
    delete FPlayThread;
    FPlayThread = new TPlayThread(this);
    FPlayThread->Start();
    return true;
}

void TCustomPlayer::DoFileOpen()
{
    for (auto* ctx : {&FRGBContext, &FHookContext})
        if (*ctx) ResetRGBContext(**ctx);
    TVideoState* is = FVideoState;
    if (is && OnFileOpen) {
        int64_t duration = is->IsImage2 ? 0 : is->Duration;
        int w = -1, h = -1;
        if (is->video_ctx && is->video_ctx->width > 0) {
            w = is->video_ctx->width;
            h = is->video_ctx->height;
        }
        OnFileOpen(this, duration, w, h, Fscreen_width, Fscreen_height);
    }
    if (FScreenHandle && (Fscreen_width == 0 || Fscreen_height == 0)) {
        int w = 0, h = 0;
        if (HostWindowClientSize(FScreenHandle, w, h)) {
            Fscreen_width = w;
            Fscreen_height = h;
        }
    }
}

void TCustomPlayer::Stop(bool AWaitForStop)
{
    if (TVideoState* is = FVideoState) {
        if (is->paused) TogglePauseState(is);
        Fstep = false;
        PushQuitEvent(is);
        if (AWaitForStop) WaitForStop();
    }
    if (AWaitForStop) {
        if (FPlayThread && !InPlayThread) {
            FPlayThread->WaitFor();
            delete FPlayThread;
            FPlayThread = nullptr;
        }
        if (sdl::SDL_Quit) sdl::SDL_Quit();
    }
}

void TCustomPlayer::WaitForStop()
{
    int pass = 1;
    for (;;) {
        // On the main thread the wait serves synchronous calls and window messages.
        if (WaitServingMainThread([this] { return FStopEvent.IsSet(); }, 10, 100)) return;
        if (!FVideoState.load()) return;
        if (!FDataLock.try_lock_for(std::chrono::milliseconds(100))) continue;
        pass++;
        TVideoState* is = FVideoState;
        if (!is) {
            FDataLock.unlock();
            return;
        }
        if ((pass > 10 && is->Reading) || pass > 20) {
            // The play thread does not get to the quit request: close the playback here.
            ClosePlayback();
            FDataLock.unlock();
            return;
        }
        PushQuitEvent(is);
        FDataLock.unlock();
    }
}

void TCustomPlayer::ClosePlayback()
{
    if (TVideoState* is = FVideoState) {
        CloseStream(is);
        // The host window keeps what SDL drew into it last: the ended playback leaves it black,
        // not on its last picture.
        if (Fscreen && FScreenHandle && is->width > 0 && is->height > 0) {
            SDL_Rect all{Sint16(is->xleft), Sint16(is->ytop), Uint16(is->width), Uint16(is->height)};
            sdl::SDL_FillRect(Fscreen, &all, sdl::SDL_MapRGB(Fscreen->format, 0, 0, 0));
            sdl::SDL_UpdateRect(Fscreen, all.x, all.y, all.w, all.h);
        }
        FVideoState = nullptr;
        FPlaybackSerial++;
        // Waiting seeks end with the playback.
        FSeekEvent.SetEvent();
        FPictEvent.SetEvent();
        FreeVideoState(is);
        ResetPlayback();
    }
    if (sdl::SDL_Quit) sdl::SDL_Quit();
}

bool TCustomPlayer::Paused() const
{
    TVideoState* is = FVideoState;
    return !is || is->paused;
}

void TCustomPlayer::Pause()
{
    TVideoState* is = FVideoState;
    if (!is || is->paused) return;
    TogglePauseState(is);
    Fstep = false;
    SetPlayState(psPause);
}

void TCustomPlayer::Resume()
{
    TVideoState* is = FVideoState;
    if (!is || !is->paused) return;
    TogglePauseState(is);
    Fstep = false;
    SetPlayState(psResume);
}

void TCustomPlayer::TogglePause()
{
    TVideoState* is = FVideoState;
    if (!is) return;
    TogglePauseState(is);
    Fstep = false;
    SetPlayState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame()
{
    TVideoState* is = FVideoState;
    if (!is) return;
    if (is->paused) TogglePauseState(is);
    if (!Fstep.exchange(true)) SetPlayState(psStep);
}

void TCustomPlayer::ToggleAudioDisplay()
{
    TVideoState* is = FVideoState;
    if (!is) return;
    is->show_audio = (is->show_audio + 1) % 3;
    std::lock_guard<std::timed_mutex> lock(FDataLock);
    if (Fscreen && FVideoState.load() == is) {
        SDL_Rect rect;
        rect.x = static_cast<Sint16>(is->xleft);
        rect.y = static_cast<Sint16>(is->ytop);
        rect.w = static_cast<Uint16>(is->width);
        rect.h = static_cast<Uint16>(is->height);
        sdl::SDL_FillRect(Fscreen, &rect, sdl::SDL_MapRGB(Fscreen->format, 0, 0, 0));
        sdl::SDL_UpdateRect(Fscreen, is->xleft, is->ytop, is->width, is->height);
    }
}

void TCustomPlayer::Seek(int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TVideoState* is = FVideoState;
    if (!is) return;
    if (ASeekFlags & sfByte) {
        RequestSeek(is, ASeekFlags, AWaitForSeekEnd, 0, APTS);
        return;
    }
    int64_t target = APTS;
    if (is->Duration >= 0 && is->Duration < target) target = is->Duration;
    target += is->StartTime;
    RequestSeek(is, ASeekFlags, AWaitForSeekEnd, APTS <= 0 ? 1 : 0, target);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TVideoState* is = FVideoState;
    if (!is) return;
    if (ASeekFlags & sfByte) {
        int64_t pos = is->ic && is->ic->pb ? av::avio_seek(is->ic->pb, 0, SEEK_CUR) : 0;
        double delta = is->ic && is->ic->bit_rate ? ADelta * is->ic->bit_rate / 8.0 : ADelta * 180000.0;
        RequestSeek(is, ASeekFlags, AWaitForSeekEnd, std::llround(delta), std::llround(pos + delta));
        return;
    }
    int64_t target = std::llround((MasterClock(is) + ADelta) * 1000000.0);
    RequestSeek(is, ASeekFlags, AWaitForSeekEnd, std::llround(ADelta * 1000000.0), target);
}

TFrameImage* TCustomPlayer::CurrentFrame()
{
    int64_t pts;
    return CurrentFrame(pts);
}

TFrameImage* TCustomPlayer::CurrentFrame(int64_t& APTS)
{
    if (!FRGBContext) {
        FRGBContext = std::make_unique<TRGBConvertContext>();
        ResetRGBContext(*FRGBContext);
    }
    TRGBConvertContext& ctx = *FRGBContext;
    if (!ctx.Bitmap) ctx.Bitmap = CreateFrameBitmap(0, 0);
    TFrameImage& image = *ctx.Bitmap;
    APTS = -1;
    std::lock_guard<std::timed_mutex> lock(FDataLock);
    TVideoState* is = FVideoState;
    if (!is || !is->video_ctx) {
        image.SetSize(0, 0);
        return &image;
    }
    image.SetSize(is->video_ctx->width, is->video_ctx->height);
    std::fill(image.Pixels.begin(), image.Pixels.end(), 0);
    for (int row = 0; row < image.Height; row++)
        for (int x = 0; x < image.Width; x++) image.ScanLine(row)[4 * x + 3] = 0xFF;
    // The picture on screen: the one shown last, else the next one to show.
    sdl::SDL_LockMutex(is->pictq_mutex);
    int index = is->shown_index >= 0 ? is->shown_index : is->pictq_rindex;
    TVideoPicture* vp = &is->pictq[index];
    APTS = std::llround(vp->PTS * 1000000.0) - is->StartTime;
    if (vp->Overlay) {
        sdl::SDL_LockYUVOverlay(vp->Overlay);
        TAVPicture pict;
        pict.data[0] = vp->Overlay->pixels[0];
        pict.data[1] = vp->Overlay->pixels[2];
        pict.data[2] = vp->Overlay->pixels[1];
        pict.linesize[0] = vp->Overlay->pitches[0];
        pict.linesize[1] = vp->Overlay->pitches[2];
        pict.linesize[2] = vp->Overlay->pitches[1];
        if (!PictureToBitmap(ctx, pict, AV_PIX_FMT_YUV420P, vp->Width, vp->Height)) image.SetSize(0, 0);
        ctx.RGBPictureRef = nullptr;
        sdl::SDL_UnlockYUVOverlay(vp->Overlay);
    }
    sdl::SDL_UnlockMutex(is->pictq_mutex);
    return &image;
}

void TCustomPlayer::UpdateScreenPosition() {}

void TCustomPlayer::HostWindowExposed()
{
    TVideoState* is = FVideoState;
    if (is && is->paused) PushRedrawEvent(is);
}

void TCustomPlayer::HostWindowResized(int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0) return;
    Fscreen_width = AWidth;
    Fscreen_height = AHeight;
    if (TVideoState* is = FVideoState) PushRedrawEvent(is);
}

String TCustomPlayer::Format() const
{
    return Ffile_iformat && Ffile_iformat->name ? Utf8ToString(Ffile_iformat->name) : String();
}

void TCustomPlayer::SetFormat(const String& AValue)
{
    if (!AVLibLoaded()) {
        ReportError(L"libav or libsdl not loaded.", true);
        return;
    }
    if (AValue.empty()) {
        Ffile_iformat = nullptr;
        return;
    }
    const AVInputFormat* fmt = av::av_find_input_format(StringToAnsi(AValue).c_str());
    if (!fmt) throw Exception(::Format(L"Unknown input format: %s", AValue));
    Ffile_iformat = fmt;
}

void TCustomPlayer::SetAspectRatio(float AValue)
{
    if (AValue == FAspectRatio) return;
    FAspectRatio = AValue;
    if (TVideoState* is = FVideoState) PushRedrawEvent(is);
}

void TCustomPlayer::SetShowAudio(TShowAudio AValue)
{
    FShowAudio = AValue;
    TVideoState* is = FVideoState;
    if (is && is->audio_st && !Fdisplay_disable) is->show_audio = AValue;
}

int TCustomPlayer::AudioStreamIndex() const
{
    TVideoState* is = FVideoState;
    return is ? is->audio_stream : -1;
}

int TCustomPlayer::VideoStreamIndex() const
{
    TVideoState* is = FVideoState;
    return is ? is->video_stream : -1;
}

int TCustomPlayer::SubtitleStreamIndex() const
{
    TVideoState* is = FVideoState;
    return is ? is->subtitle_stream : -1;
}

void TCustomPlayer::SetAudioStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_AUDIO, AValue); }

void TCustomPlayer::SetVideoStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_VIDEO, AValue); }

void TCustomPlayer::SetSubtitleStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_SUBTITLE, AValue); }

void TCustomPlayer::SwitchStream(AVMediaType AType, int AIndex)
{
    TVideoState* is = FVideoState;
    if (!is || !is->ic) return;
    const bool subtitle = AType == AVMEDIA_TYPE_SUBTITLE;
    int current = AType == AVMEDIA_TYPE_VIDEO   ? is->video_stream
                  : AType == AVMEDIA_TYPE_AUDIO ? is->audio_stream
                                                : is->subtitle_stream;
    if (AIndex == current) return;
    if (subtitle ? current < -1 : current < 0) {
        ReportError(L"the current stream is not valid.", true);
        return;
    }
    if ((subtitle ? AIndex < -1 : AIndex < 0) || AIndex >= static_cast<int>(is->ic->nb_streams)) {
        ReportError(L"the stream index is not valid.", true);
        return;
    }
    if (AIndex >= 0) {
        const AVCodecParameters* par = is->ic->streams[AIndex]->codecpar;
        if (par->codec_type != AType) {
            ReportError(L"the stream type is not matched.", true);
            return;
        }
        if (AType == AVMEDIA_TYPE_AUDIO && (par->sample_rate == 0 || par->ch_layout.nb_channels == 0)) {
            ReportError(L"the audio stream is not invalid.", true);
            return;
        }
        if (AType != AVMEDIA_TYPE_VIDEO && AType != AVMEDIA_TYPE_AUDIO && !subtitle) {
            ReportError(L"the stream type is invalid.", true);
            return;
        }
    }
    // The play thread's event handling is kept out while the component is replaced; the reading
    // thread is kept away from the queue by the record's stream lock.
    std::lock_guard<std::timed_mutex> lock(FDataLock);
    if (FVideoState.load() != is) return;
    if (current >= 0) CloseStreamComponent(is, current);
    if (AIndex >= 0) OpenStreamComponent(is, AIndex);
}
