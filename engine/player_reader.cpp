// The reading side of a playback: OpenStream creates the state record and the reading thread,
// which opens the input, chooses and opens the streams, then reads packets into the queues and
// performs the seeks that RequestSeek posts; CloseStream ends it. Stream components (a decoder
// and its consumer thread or sound device) are opened and closed here too.
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/player_state.h"
#include "engine/unicode_file.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/format.h"

namespace {

void SleepMs(int AMs) { std::this_thread::sleep_for(std::chrono::milliseconds(AMs)); }

String StateFileName(const TVideoState* is) { return String(is->filename); }

// The stream of a media type to play: the wanted-th stream of that type, or the libraries' best.
int ChooseStream(TVideoState* is, AVMediaType AType, int AWanted)
{
    AVFormatContext* ic = is->ic;
    if (AWanted >= 0) {
        int count = 0;
        for (unsigned i = 0; i < ic->nb_streams; i++)
            if (ic->streams[i]->codecpar->codec_type == AType && count++ == AWanted) return static_cast<int>(i);
        return -1;
    }
    int best = av::av_find_best_stream(ic, AType, -1, -1, nullptr, 0);
    return best >= 0 ? best : -1;
}

void DoSeek(TVideoState* is, bool& eof)
{
    TCustomPlayer* p = is->Owner;
    AVFormatContext* ic = is->ic;
    int64_t seek_target = is->seek_pos;
    int64_t seek_min = is->seek_rel > 0 ? seek_target - is->seek_rel + 2 : INT64_MIN;
    int64_t seek_max = is->seek_rel < 0 ? seek_target - is->seek_rel - 2 : INT64_MAX;
    int ret = av::avformat_seek_file(ic, -1, seek_min, seek_target, seek_max, is->seek_flags);
    if (ret < 0) ret = av::av_seek_frame(ic, -1, seek_target, is->seek_flags);
    if (ret < 0) ret = av::av_seek_frame(ic, -1, seek_target, is->seek_flags ^ AVSEEK_FLAG_BACKWARD);
    if (ret < 0) {
        p->ReportError(Format(L"%s: error while seeking", StateFileName(is)), false);
        if (is->video_stream >= 0) p->FPictEvent.SetEvent();
    } else {
        sdl::SDL_LockMutex(is->stream_mutex);
        if (is->audio_stream >= 0) {
            PacketQueueFlush(&is->audioq);
            PacketQueuePut(&is->audioq, &p->Fflush_pkt, &p->Fflush_pkt);
        }
        if (is->subtitle_stream >= 0) {
            PacketQueueFlush(&is->subtitleq);
            PacketQueuePut(&is->subtitleq, &p->Fflush_pkt, &p->Fflush_pkt);
        }
        if (is->video_stream >= 0) {
            is->seek_flushed = 0;
            PacketQueueFlush(&is->videoq);
            PacketQueuePut(&is->videoq, &p->Fflush_pkt, &p->Fflush_pkt);
            p->FPictEvent.ResetEvent();
        }
        sdl::SDL_UnlockMutex(is->stream_mutex);
    }
    is->ErrorEOF = 0;
    is->ReachEOF = 0;
    is->seek_done = 1;
    is->seek_req = 0;
    p->FSeekEvent.SetEvent();
    if (is->video_stream < 0) p->FSeeking = false;
    eof = false;
}

// Opens the input and its streams, then reads until the playback ends. The result is 0, or -1
// when opening failed (the text is in the player's LastErrMsg).
int ReadInput(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    const String fileName = StateFileName(is);

    AVFormatContext* ic = av::avformat_alloc_context();
    if (!ic) {
        p->SetLastErrMsg(ErrorCodeText(fileName, AVERROR(ENOMEM)));
        return -1;
    }
    ic->interrupt_callback.callback = DecodeInterrupt;
    ic->interrupt_callback.opaque = is;
    AVDictionary* opts = nullptr;
    if (p->Fframe_width > 0 && p->Fframe_height > 0)
        av::av_dict_set(&opts, "video_size", Format("%dx%d", p->Fframe_width, p->Fframe_height).c_str(), 0);
    if (p->Fframe_pix_fmt >= 0)
        if (const char* name = av::av_get_pix_fmt_name(static_cast<AVPixelFormat>(p->Fframe_pix_fmt)))
            av::av_dict_set(&opts, "pixel_format", name, 0);
    int err = OpenAVInput(&ic, EncodeAVFileName(fileName).c_str(), is->iformat, &opts);
    av::av_dict_free(&opts);
    if (err < 0) {
        p->SetLastErrMsg(ErrorCodeText(fileName, err));
        return -1;
    }
    is->ic = ic;
    if (p->Fgenpts) ic->flags |= AVFMT_FLAG_GENPTS;

    {
        TCriticalSectionLock lock(CodecLock());
        err = av::avformat_find_stream_info(ic, nullptr);
    }
    if (err < 0) {
        p->SetLastErrMsg(Format(L"%s: could not find codec parameters", fileName));
        return -1;
    }
    if (ic->pb) ic->pb->eof_reached = 0;
    if (p->Fseek_by_bytes < 0) p->Fseek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;

    const char* formatName = ic->iformat->name ? ic->iformat->name : "";
    is->IsImage2 = strcmp(formatName, "image2") == 0;
    // A capture device: the formats of the device library (its classes are device categories).
    is->IsDevice = ic->iformat->priv_class &&
                   ic->iformat->priv_class->category >= AV_CLASS_CATEGORY_DEVICE_VIDEO_OUTPUT &&
                   ic->iformat->priv_class->category <= AV_CLASS_CATEGORY_DEVICE_INPUT;
    is->StartTime = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
    is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;

    if (p->Fstart_time != AV_NOPTS_VALUE) {
        int64_t timestamp = p->Fstart_time;
        if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
        if (av::avformat_seek_file(ic, -1, INT64_MIN, timestamp, INT64_MAX, 0) < 0)
            p->ReportError(Format(L"%s: could not seek to position %0.3f", fileName, timestamp / 1000000.0), false);
    }

    for (unsigned i = 0; i < ic->nb_streams; i++) ic->streams[i]->discard = AVDISCARD_ALL;
    int video_index = -1, audio_index = -1, subtitle_index = -1;
    if (!p->Fvideo_disable) {
        video_index = ChooseStream(is, AVMEDIA_TYPE_VIDEO, p->Fwanted_stream[1 + AVMEDIA_TYPE_VIDEO]);
        subtitle_index = ChooseStream(is, AVMEDIA_TYPE_SUBTITLE, p->Fwanted_stream[1 + AVMEDIA_TYPE_SUBTITLE]);
    }
    if (!p->Faudio_disable)
        audio_index = ChooseStream(is, AVMEDIA_TYPE_AUDIO, p->Fwanted_stream[1 + AVMEDIA_TYPE_AUDIO]);

    if (audio_index >= 0) OpenStreamComponent(is, audio_index);
    int ret = -1;
    if (video_index >= 0) ret = OpenStreamComponent(is, video_index);
    if (ret < 0 && !p->Fdisplay_disable) is->show_audio = saRDFT;
    if (subtitle_index >= 0) OpenStreamComponent(is, subtitle_index);

    if (is->video_stream < 0 && is->audio_stream < 0) {
        p->SetLastErrMsg(Format(L"%s: could not open codecs, no stream to play.", fileName));
        return -1;
    }
    is->Opened = 1;

    AVPacket* pkt = av::av_packet_alloc();
    bool eof = false;
    while (!is->abort_request) {
        if (is->paused != is->last_paused) {
            is->last_paused = is->paused;
            if (is->paused)
                is->read_pause_return = av::av_read_pause(ic);
            else
                av::av_read_play(ic);
        }
        if (is->seek_req) DoSeek(is, eof);
        if (is->audioq.size + is->videoq.size + is->subtitleq.size > MAX_QUEUE_SIZE ||
            ((is->audioq.size > MIN_AUDIOQ_SIZE || is->audio_stream < 0) &&
             (is->videoq.nb_packets > MIN_FRAMES || is->video_stream < 0) &&
             (is->subtitleq.nb_packets > MIN_FRAMES || is->subtitle_stream < 0))) {
            SleepMs(10);
            continue;
        }
        if (eof || (ic->pb && av::avio_feof(ic->pb))) {
            // An empty packet keeps the video decoder draining its last pictures: one at a time,
            // when the decoder has taken the one before, so a paused playback at its end does not
            // pile them up.
            if (is->video_stream >= 0) {
                if (is->videoq.nb_packets == 0) {
                    AVPacket* empty = av::av_packet_alloc();
                    empty->stream_index = is->video_stream;
                    sdl::SDL_LockMutex(is->stream_mutex);
                    if (is->video_stream >= 0) PacketQueuePut(&is->videoq, empty, &p->Fflush_pkt);
                    sdl::SDL_UnlockMutex(is->stream_mutex);
                    av::av_packet_free(&empty);
                }
                p->FPictEvent.SetEvent();
            }
            SleepMs(10);
            if (is->audioq.size + is->videoq.size + is->subtitleq.size == 0) is->ReachEOF = 1;
            continue;
        }
        is->Reading = 1;
        int r = av::av_read_frame(ic, pkt);
        is->Reading = 0;
        if (is->abort_request) break;
        if (r == AVERROR(EAGAIN)) {
            SleepMs(10);
            continue;
        }
        if (r < 0) {
            if (is->video_stream >= 0) p->FPictEvent.SetEvent();
            if (!is->IsImage2 && !is->ErrorEOF) {
                is->ErrorEOF = 1;
                if (r == AVERROR_EOF)
                    p->LogMessage(llInfo, Format(L"reach end of file: %s", fileName));
                else
                    p->ReportError(Format(L"error #%d while reading file: %s", r, fileName), false);
            }
            if (r == AVERROR_EOF) eof = true;
            if (ic->pb && ic->pb->error) break;
            SleepMs(100);
            continue;
        }
        sdl::SDL_LockMutex(is->stream_mutex);
        if (pkt->stream_index == is->audio_stream)
            PacketQueuePut(&is->audioq, pkt, &p->Fflush_pkt);
        else if (pkt->stream_index == is->video_stream)
            PacketQueuePut(&is->videoq, pkt, &p->Fflush_pkt);
        else if (pkt->stream_index == is->subtitle_stream)
            PacketQueuePut(&is->subtitleq, pkt, &p->Fflush_pkt);
        sdl::SDL_UnlockMutex(is->stream_mutex);
        av::av_packet_unref(pkt);
    }
    av::av_packet_free(&pkt);
    while (!is->abort_request) SleepMs(100);
    return 0;
}

int ReadThread(void* arg)
{
    TVideoState* is = static_cast<TVideoState*>(arg);
    TCustomPlayer* p = is->Owner;
    is->video_stream = is->audio_stream = is->subtitle_stream = -1;
    int ret;
    try {
        ret = ReadInput(is);
    } catch (const std::exception& e) {
        p->SetLastErrMsg(Utf8ToString(e.what()));
        ret = -1;
    }
    if (is->Opened != 1) is->Opened = -1;
    if (is->audio_stream >= 0) CloseStreamComponent(is, is->audio_stream);
    if (is->video_stream >= 0) CloseStreamComponent(is, is->video_stream);
    if (is->subtitle_stream >= 0) CloseStreamComponent(is, is->subtitle_stream);
    try {
        if (p->FAVProbe->FileHandle() && p->FAVProbe->FileHandle() == is->ic) p->FAVProbe->SetFileHandle(nullptr);
    } catch (const std::exception&) {
        // The probe only lets go of the input here; the input is closed below either way.
    }
    if (is->ic) CloseAVInput(&is->ic);
    is->ic = nullptr;
    if (ret != 0) PushQuitEvent(is);
    if (is->Opened == -1) is->Opened = -2;
    return 0;
}

int OpenAudioDevice(TVideoState* is, AVCodecContext* ctx)
{
    TCustomPlayer* p = is->Owner;
    SDL_AudioSpec wanted{};
    wanted.freq = ctx->sample_rate;
    wanted.format = AUDIO_S16SYS;
    int channels = ctx->ch_layout.nb_channels;
    wanted.channels = static_cast<Uint8>(channels == 1 || channels == 2 ? channels : 2);
    wanted.silence = 0;
    wanted.samples = 1024;
    wanted.callback = SoundCallback;
    wanted.userdata = is;
    SDL_AudioSpec obtained{};
    if (sdl::SDL_OpenAudio(&wanted, &obtained) < 0) {
        // No sound device: the playback goes on silently, paced by a stand-in of the device.
        p->ReportError(L"SDL_OpenAudio() failed: " + Utf8ToString(sdl::SDL_GetError()), false);
        is->audio_spec = wanted;
        is->audio_spec.size = wanted.samples * wanted.channels * 2;
        is->audio_device = false;
    } else {
        is->audio_spec = obtained;
        is->audio_device = true;
    }
    is->audio_hw_buf_size = static_cast<int>(is->audio_spec.size);
    is->audio_src_fmt = AV_SAMPLE_FMT_S16;
    return 0;
}

}  // namespace

int DecodeInterrupt(void* opaque)
{
    const TVideoState* is = static_cast<const TVideoState*>(opaque);
    return is && is->abort_request == 1;
}

bool OpenStream(TCustomPlayer* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused)
{
    TCustomPlayer* p = APlayer;
    if (p->FVideoState.load()) return false;
    if (AFileName.size() >= 1024) {
        p->ReportError(Format(L"%s: file name too long", AFileName), true);
        return false;
    }
    TVideoState* is = new (std::nothrow) TVideoState();
    if (!is) {
        p->ReportError(L"av_mallocz() failed.", true);
        return false;
    }
    is->Owner = p;
    if (APaused) {
        is->paused = 1;
        is->open_paused = 1;
        is->open_hold = 1;
        p->Fstep = false;
    }
    AFileName.copy(is->filename, AFileName.size());
    is->filename[AFileName.size()] = 0;
    is->iformat = AFormat;
    is->ytop = is->xleft = 0;
    is->video_stream = is->audio_stream = is->subtitle_stream = -1;
    is->shown_index = -1;
    is->pictq_mutex = sdl::SDL_CreateMutex();
    is->pictq_cond = sdl::SDL_CreateCond();
    is->subpq_mutex = sdl::SDL_CreateMutex();
    is->subpq_cond = sdl::SDL_CreateCond();
    is->stream_mutex = sdl::SDL_CreateMutex();
    is->av_sync_type = p->Fav_sync_type;
    is->audio_pkt = av::av_packet_alloc();
    is->audio_frame = av::av_frame_alloc();
    is->AudioDuration = -1;

    is->parse_tid = sdl::SDL_CreateThread(ReadThread, is);
    if (!is->parse_tid) {
        p->ReportError(L"SDL_CreateThread() failed.", true);
        FreeVideoState(is);
        return false;
    }
    TCustomPlayer::WaitServing([is] { return is->Opened != 0; }, 10);
    if (is->Opened > 0) {
        p->FVideoState = is;
        if (is->video_stream < 0 && !p->Fdisplay_disable) is->show_audio = p->FShowAudio;
        is->refresh_tid = sdl::SDL_CreateThread(RefreshThread, is);
        return true;
    }
    TCustomPlayer::WaitServing([is] { return is->Opened != -1; }, 10);
    sdl::SDL_WaitThread(is->parse_tid, nullptr);
    is->parse_tid = nullptr;
    FreeVideoState(is);
    p->ResetPlayback();
    return false;
}

void CloseStream(TVideoState* is)
{
    is->abort_request = 1;
    if (is->parse_tid) sdl::SDL_WaitThread(is->parse_tid, nullptr);
    is->parse_tid = nullptr;
    if (is->refresh_tid) sdl::SDL_WaitThread(is->refresh_tid, nullptr);
    is->refresh_tid = nullptr;
    for (TVideoPicture& vp : is->pictq) {
        if (vp.PicRef) av::av_frame_free(&vp.PicRef);
        if (vp.Overlay) {
            sdl::SDL_FreeYUVOverlay(vp.Overlay);
            vp.Overlay = nullptr;
        }
    }
}

void FreeVideoState(TVideoState* is)
{
    for (TVideoPicture& vp : is->pictq) {
        if (vp.PicRef) av::av_frame_free(&vp.PicRef);
        if (vp.Overlay) sdl::SDL_FreeYUVOverlay(vp.Overlay);
    }
    for (TSubPicture& sp : is->subpq) FreeSubPicture(&sp);
    if (is->pictq_mutex) sdl::SDL_DestroyMutex(is->pictq_mutex);
    if (is->pictq_cond) sdl::SDL_DestroyCond(is->pictq_cond);
    if (is->subpq_mutex) sdl::SDL_DestroyMutex(is->subpq_mutex);
    if (is->subpq_cond) sdl::SDL_DestroyCond(is->subpq_cond);
    if (is->stream_mutex) sdl::SDL_DestroyMutex(is->stream_mutex);
    if (is->rdft) av::av_rdft_end(is->rdft);
    av::av_free(is->rdft_data);
    av::swr_free(&is->reformat_ctx);
    av::av_channel_layout_uninit(&is->audio_src_layout);
    av::av_packet_free(&is->audio_pkt);
    av::av_frame_free(&is->audio_frame);
    delete is;
}

int OpenStreamComponent(TVideoState* is, int stream_index)
{
    TCustomPlayer* p = is->Owner;
    AVFormatContext* ic = is->ic;
    if (!ic || stream_index < 0 || stream_index >= static_cast<int>(ic->nb_streams)) return -1;
    AVStream* st = ic->streams[stream_index];
    const AVCodec* codec = av::avcodec_find_decoder(st->codecpar->codec_id);
    AVCodecContext* ctx = codec ? av::avcodec_alloc_context3(codec) : nullptr;
    bool opened = false;
    if (ctx && av::avcodec_parameters_to_context(ctx, st->codecpar) >= 0) {
        ctx->pkt_timebase = st->time_base;
        ctx->debug = p->Fdebug;
        ctx->workaround_bugs = p->Fworkaround_bugs;
        ctx->lowres = codec->max_lowres < p->Flowres ? codec->max_lowres : p->Flowres;
        ctx->idct_algo = p->Fidct_algo;
        if (p->Ffast) ctx->flags2 |= AV_CODEC_FLAG2_FAST;
        ctx->skip_frame = p->Fskip_frame;
        ctx->skip_idct = p->Fskip_idct;
        ctx->skip_loop_filter = p->Fskip_loop_filter;
        ctx->error_concealment = p->Ferror_concealment;
        ctx->thread_count = 1;
        TCriticalSectionLock lock(CodecLock());
        opened = av::avcodec_open2(ctx, codec, nullptr) >= 0;
    }
    if (!opened) {
        av::avcodec_free_context(&ctx);
        p->ReportError(L"avcodec_open() failed.", false);
        return -1;
    }
    if (ctx->codec_type == AVMEDIA_TYPE_AUDIO && (ctx->sample_rate <= 0 || ctx->ch_layout.nb_channels <= 0)) {
        TCriticalSectionLock lock(CodecLock());
        av::avcodec_free_context(&ctx);
        return -1;
    }
    st->discard = AVDISCARD_DEFAULT;
    sdl::SDL_LockMutex(is->stream_mutex);
    switch (ctx->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        is->audio_ctx = ctx;
        OpenAudioDevice(is, ctx);
        is->audio_stream = stream_index;
        is->audio_st = st;
        is->AudioDuration = st->duration != AV_NOPTS_VALUE
                                ? av::av_rescale_q(st->duration, st->time_base, AVRational{1, AV_TIME_BASE})
                                : -1;
        is->audio_buf_size = 0;
        is->audio_buf_index = 0;
        is->audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
        is->audio_diff_avg_count = 0;
        is->audio_diff_threshold = 2.0 * 1024 / is->audio_spec.freq;
        is->audio_pkt_pending = false;
        av::av_packet_unref(is->audio_pkt);
        PacketQueueInit(&is->audioq);
        PacketQueuePut(&is->audioq, &p->Fflush_pkt, &p->Fflush_pkt);
        if (is->audio_device)
            sdl::SDL_PauseAudio(0);
        else
            is->silent_tid = sdl::SDL_CreateThread(SilentDeviceThread, is);
        break;
    case AVMEDIA_TYPE_VIDEO:
        is->video_ctx = ctx;
        is->video_stream = stream_index;
        is->video_st = st;
        PacketQueueInit(&is->videoq);
        PacketQueuePut(&is->videoq, &p->Fflush_pkt, &p->Fflush_pkt);
        is->video_tid = sdl::SDL_CreateThread(VideoThread, is);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        is->subtitle_ctx = ctx;
        is->subtitle_stream = stream_index;
        is->subtitle_st = st;
        is->subtitle_stream_changed = 0;
        PacketQueueInit(&is->subtitleq);
        PacketQueuePut(&is->subtitleq, &p->Fflush_pkt, &p->Fflush_pkt);
        is->subtitle_tid = sdl::SDL_CreateThread(SubtitleThread, is);
        break;
    default: break;
    }
    sdl::SDL_UnlockMutex(is->stream_mutex);
    return 0;
}

void CloseStreamComponent(TVideoState* is, int stream_index)
{
    AVFormatContext* ic = is->ic;
    if (!ic || stream_index < 0 || stream_index >= static_cast<int>(ic->nb_streams)) return;
    AVStream* st = ic->streams[stream_index];
    AVCodecContext* ctx = nullptr;
    if (stream_index == is->video_stream) {
        PacketQueueAbort(&is->videoq);
        sdl::SDL_LockMutex(is->pictq_mutex);
        sdl::SDL_CondSignal(is->pictq_cond);
        sdl::SDL_UnlockMutex(is->pictq_mutex);
        if (is->video_tid) sdl::SDL_WaitThread(is->video_tid, nullptr);
        is->video_tid = nullptr;
        sdl::SDL_LockMutex(is->stream_mutex);
        PacketQueueDone(&is->videoq);
        ctx = is->video_ctx;
        is->video_ctx = nullptr;
        is->video_st = nullptr;
        is->video_stream = -1;
        sdl::SDL_UnlockMutex(is->stream_mutex);
    } else if (stream_index == is->audio_stream) {
        PacketQueueAbort(&is->audioq);
        if (is->audio_device) sdl::SDL_CloseAudio();
        if (is->silent_tid) sdl::SDL_WaitThread(is->silent_tid, nullptr);
        is->silent_tid = nullptr;
        is->audio_device = false;
        sdl::SDL_LockMutex(is->stream_mutex);
        PacketQueueDone(&is->audioq);
        av::swr_free(&is->reformat_ctx);
        is->audio_src_fmt = AV_SAMPLE_FMT_NONE;
        ctx = is->audio_ctx;
        is->audio_ctx = nullptr;
        is->audio_st = nullptr;
        is->audio_stream = -1;
        is->AudioDuration = -1;
        sdl::SDL_UnlockMutex(is->stream_mutex);
    } else if (stream_index == is->subtitle_stream) {
        PacketQueueAbort(&is->subtitleq);
        sdl::SDL_LockMutex(is->subpq_mutex);
        is->subtitle_stream_changed = 1;
        sdl::SDL_CondSignal(is->subpq_cond);
        sdl::SDL_UnlockMutex(is->subpq_mutex);
        if (is->subtitle_tid) sdl::SDL_WaitThread(is->subtitle_tid, nullptr);
        is->subtitle_tid = nullptr;
        sdl::SDL_LockMutex(is->stream_mutex);
        PacketQueueDone(&is->subtitleq);
        ctx = is->subtitle_ctx;
        is->subtitle_ctx = nullptr;
        is->subtitle_st = nullptr;
        is->subtitle_stream = -1;
        sdl::SDL_UnlockMutex(is->stream_mutex);
    } else {
        return;
    }
    st->discard = AVDISCARD_ALL;
    TCriticalSectionLock lock(CodecLock());
    av::avcodec_free_context(&ctx);
}

void RequestSeek(TVideoState* is, TSeekFlags flags, bool wait, int64_t rel, int64_t pos)
{
    if (is->seek_req) return;
    TCustomPlayer* p = is->Owner;
    p->FSeeking = true;
    is->open_hold = 0;
    is->seek_paused = is->paused.load();
    is->seek_pos = pos;
    is->seek_rel = rel;
    is->seek_flags = SeekFlagsToAVFlags(flags);
    p->FSeekEvent.ResetEvent();
    is->seek_req = 1;
    if (!wait) return;
    // Both waits also end when this playback closes meanwhile (the record is then gone, so it is
    // compared, never read).
    const bool hasVideo = is->video_stream >= 0;
    const uint64_t serial = p->FPlaybackSerial;
    auto closed = [p, is, serial] { return p->FVideoState.load() != is || p->FPlaybackSerial != serial; };
    TCustomPlayer::WaitServing([p, closed] { return p->FSeekEvent.IsSet() || closed(); }, 100);
    if (hasVideo) TCustomPlayer::WaitServing([p, closed] { return p->FPictEvent.IsSet() || closed(); }, 100);
}

void TogglePauseState(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    if (p->FSeekEvent.WaitFor(250) != wrSignaled) p->FSeekEvent.SetEvent();
    if (p->FVideoState.load() != is) return;
    if (is->paused) {
        double now = WallClock();
        is->frame_timer += now + is->video_current_pts_drift - is->video_current_pts;
        if (is->read_pause_return != AVERROR(ENOSYS)) is->video_current_pts = is->video_current_pts_drift + now;
        is->video_current_pts_drift = is->video_current_pts - now;
        is->open_hold = 0;
        is->paused = 0;
    } else {
        if (is->video_stream >= 0) {
            if (p->FPictEvent.WaitFor(250) != wrSignaled) p->FPictEvent.SetEvent();
            if (p->FVideoState.load() != is) return;
        }
        is->paused = 1;
    }
}

void PushQuitEvent(TVideoState* is)
{
    SDL_Event event{};
    event.type = QuitEvent;
    event.user.data1 = is;
    if (sdl::SDL_PushEvent) sdl::SDL_PushEvent(&event);
}

void PushRedrawEvent(TVideoState* is)
{
    SDL_Event event{};
    event.type = RedrawEvent;
    event.user.data1 = is;
    if (sdl::SDL_PushEvent) sdl::SDL_PushEvent(&event);
}
