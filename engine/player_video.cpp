// Pictures on time: the video decoding thread decodes the video packets, runs them through the
// player's filter graph (buffer -> the user's chain -> buffersink giving YUV 4:2:0) and queues
// them in the two-entry picture queue; the play thread's SDL event loop allocates overlays and
// shows each picture when its target time comes, paced by the refresh thread, dropping late
// ones. The playback clocks (audio, video, external, master) are here too.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/player_state.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

void SleepMs(int AMs) { std::this_thread::sleep_for(std::chrono::milliseconds(AMs)); }

struct TVideoFilter {
    AVFilterGraph* Graph = nullptr;
    AVFilterContext* Src = nullptr;
    AVFilterContext* Sink = nullptr;
    int Width = -1, Height = -1, Format = -1;

    void Free()
    {
        av::avfilter_graph_free(&Graph);
        Src = Sink = nullptr;
        Width = Height = Format = -1;
    }
};

// Builds buffer -> [the user's chain] -> buffersink(yuv420p) for frames like AFrame.
bool ConfigureVideoFilter(TVideoState* is, TVideoFilter& f, const AVFrame* AFrame)
{
    TCustomPlayer* p = is->Owner;
    f.Free();
    f.Graph = av::avfilter_graph_alloc();
    if (!f.Graph) return false;
    std::string swsFlags = Format("flags=%d", p->Fsws_flags);
    f.Graph->scale_sws_opts = av::av_strdup(swsFlags.c_str());
    AVRational tb = is->video_st->time_base;
    AVRational sar = AFrame->sample_aspect_ratio;
    if (sar.den == 0) sar = AVRational{0, 1};
    std::string args = Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", AFrame->width,
                              AFrame->height, AFrame->format, tb.num, tb.den, sar.num, sar.den);
    if (av::avfilter_graph_create_filter(&f.Src, av::avfilter_get_by_name("buffer"), "src", args.c_str(), nullptr,
                                         f.Graph) < 0)
        return false;
    if (av::avfilter_graph_create_filter(&f.Sink, av::avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                         f.Graph) < 0)
        return false;
    const AVPixelFormat pixFmts[] = {AV_PIX_FMT_YUV420P};
    if (av::av_opt_set_bin(f.Sink, "pix_fmts", reinterpret_cast<const uint8_t*>(pixFmts), sizeof(pixFmts),
                           AV_OPT_SEARCH_CHILDREN) < 0)
        return false;
    if (!p->Fvfilters.empty()) {
        AVFilterInOut* outputs = av::avfilter_inout_alloc();
        AVFilterInOut* inputs = av::avfilter_inout_alloc();
        outputs->name = av::av_strdup("in");
        outputs->filter_ctx = f.Src;
        outputs->pad_idx = 0;
        outputs->next = nullptr;
        inputs->name = av::av_strdup("out");
        inputs->filter_ctx = f.Sink;
        inputs->pad_idx = 0;
        inputs->next = nullptr;
        int r = av::avfilter_graph_parse_ptr(f.Graph, StringToAnsi(p->Fvfilters).c_str(), &inputs, &outputs, nullptr);
        av::avfilter_inout_free(&inputs);
        av::avfilter_inout_free(&outputs);
        if (r < 0) return false;
    } else if (av::avfilter_link(f.Src, 0, f.Sink, 0) < 0) {
        return false;
    }
    if (av::avfilter_graph_config(f.Graph, nullptr) < 0) return false;
    f.Width = AFrame->width;
    f.Height = AFrame->height;
    f.Format = AFrame->format;
    is->out_video_filter = f.Sink;
    return true;
}

// A decoded picture: counts timestamp faults, chooses its timestamp and thins the output to one
// picture in skip_frames. 1 when the picture is used, 0 when it is skipped.
int AcceptFrame(TVideoState* is, AVFrame* frame, int64_t* pts)
{
    TCustomPlayer* p = is->Owner;
    if (frame->pkt_dts != AV_NOPTS_VALUE) {
        is->faulty_dts += frame->pkt_dts <= is->last_dts_for_fault_detection;
        is->last_dts_for_fault_detection = frame->pkt_dts;
    }
    if (frame->pts != AV_NOPTS_VALUE) {
        is->faulty_pts += frame->pts <= is->last_pts_for_fault_detection;
        is->last_pts_for_fault_detection = frame->pts;
    }
    if (frame->pts != AV_NOPTS_VALUE &&
        (p->Fdecoder_reorder_pts == 1 || (p->Fdecoder_reorder_pts != 0 && is->faulty_pts < is->faulty_dts) ||
         frame->pkt_dts == AV_NOPTS_VALUE))
        *pts = frame->pts;
    else if (frame->pkt_dts != AV_NOPTS_VALUE)
        *pts = frame->pkt_dts;
    else
        *pts = 0;
    is->skip_frames_index += 1;
    if (is->skip_frames_index >= is->skip_frames) {
        is->skip_frames_index -= std::max(is->skip_frames, 1.0f);
        return 1;
    }
    av::av_frame_unref(frame);
    return 0;
}

// -1 aborted, 0 no picture (or a flush handled), 1 a picture in frame.
int GetVideoFrame(TVideoState* is, AVFrame* frame, int64_t* pts, bool& draining)
{
    TCustomPlayer* p = is->Owner;
    AVCodecContext* ctx = is->video_ctx;
    if (av::avcodec_receive_frame(ctx, frame) >= 0) return AcceptFrame(is, frame, pts);

    AVPacket pkt;
    if (PacketQueueGet(&is->videoq, &pkt, true) < 0) return -1;
    if (IsFlushPacket(is, &pkt)) {
        av::avcodec_flush_buffers(ctx);
        draining = false;
        sdl::SDL_LockMutex(is->pictq_mutex);
        for (TVideoPicture& vp : is->pictq) vp.TargetClock = 0;
        while (is->pictq_size && !is->videoq.abort_request) sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
        is->video_current_pos = -1;
        sdl::SDL_UnlockMutex(is->pictq_mutex);
        is->last_dts_for_fault_detection = INT64_MIN;
        is->last_pts_for_fault_detection = INT64_MIN;
        is->frame_last_pts = static_cast<double>(AV_NOPTS_VALUE);
        is->frame_last_delay = 0;
        is->frame_timer = WallClock();
        is->skip_frames = 1;
        is->skip_frames_index = 0;
        is->seek_flushed = 1;
        return 0;
    }
    if (pkt.size == 0) {
        // The end of the input: drain the decoder's last pictures, then report the end.
        av::av_packet_unref(&pkt);
        if (!draining) {
            av::avcodec_send_packet(ctx, nullptr);
            draining = true;
        }
        if (av::avcodec_receive_frame(ctx, frame) >= 0) return AcceptFrame(is, frame, pts);
        if (!is->EventEOF) p->UpdatePosition();
        return 0;
    }
    if (draining) {
        av::avcodec_flush_buffers(ctx);
        draining = false;
    }
    int r = av::avcodec_send_packet(ctx, &pkt);
    av::av_packet_unref(&pkt);
    if (r < 0 && r != AVERROR(EAGAIN)) return 0;
    if (av::avcodec_receive_frame(ctx, frame) >= 0) return AcceptFrame(is, frame, pts);
    return 0;
}

int QueuePicture(TVideoState* is, AVFrame* frame, int64_t pos, double pts)
{
    TCustomPlayer* p = is->Owner;
    sdl::SDL_LockMutex(is->pictq_mutex);
    if (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->refresh)
        is->skip_frames = std::max(0.95f, is->skip_frames * 0.95f);
    while (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->videoq.abort_request)
        sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
    sdl::SDL_UnlockMutex(is->pictq_mutex);
    if (is->videoq.abort_request) return -1;

    TVideoPicture* vp = &is->pictq[is->pictq_windex];
    int w = frame->width & ~1, h = frame->height & ~1;
    if (!vp->Overlay || vp->Width != w || vp->Height != h) {
        sdl::SDL_LockMutex(is->pictq_mutex);
        vp->Allocated = 0;
        is->out_width = w;
        is->out_height = h;
        is->out_format = frame->format;
        sdl::SDL_UnlockMutex(is->pictq_mutex);
        SDL_Event event{};
        event.type = AllocPictureEvent;
        event.user.data1 = is;
        sdl::SDL_PushEvent(&event);
        sdl::SDL_LockMutex(is->pictq_mutex);
        while (!vp->Allocated && !is->videoq.abort_request) sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
        sdl::SDL_UnlockMutex(is->pictq_mutex);
        if (is->videoq.abort_request) return -1;
    }
    if (vp->Overlay) {
        sdl::SDL_LockMutex(is->pictq_mutex);
        if (!vp->PicRef)
            vp->PicRef = av::av_frame_alloc();
        else
            av::av_frame_unref(vp->PicRef);
        av::av_frame_ref(vp->PicRef, frame);
        sdl::SDL_UnlockMutex(is->pictq_mutex);

        sdl::SDL_LockYUVOverlay(vp->Overlay);
        AVFrame* pict = av::av_frame_alloc();
        pict->data[0] = vp->Overlay->pixels[0];
        pict->data[1] = vp->Overlay->pixels[2];
        pict->data[2] = vp->Overlay->pixels[1];
        pict->linesize[0] = vp->Overlay->pitches[0];
        pict->linesize[1] = vp->Overlay->pitches[2];
        pict->linesize[2] = vp->Overlay->pitches[1];
        const uint8_t* src[4] = {frame->data[0], frame->data[1], frame->data[2], nullptr};
        int srcLines[4] = {frame->linesize[0], frame->linesize[1], frame->linesize[2], 0};
        if (p->FVerticalFlip) {
            src[0] += srcLines[0] * (frame->height - 1);
            srcLines[0] = -srcLines[0];
            for (int i = 1; i < 3; i++) {
                src[i] += srcLines[i] * (frame->height / 2 - 1);
                srcLines[i] = -srcLines[i];
            }
        }
        av::av_image_copy(pict->data, pict->linesize, src, srcLines, AV_PIX_FMT_YUV420P, vp->Width, vp->Height);
        p->CallHook(frame, pict, pts);
        av::av_frame_free(&pict);
        sdl::SDL_UnlockYUVOverlay(vp->Overlay);
    }
    vp->PTS = pts;
    vp->Pos = pos;
    if (++is->pictq_windex == VIDEO_PICTURE_QUEUE_SIZE) is->pictq_windex = 0;
    sdl::SDL_LockMutex(is->pictq_mutex);
    vp->TargetClock = ComputeTargetTime(is, pts);
    is->pictq_size++;
    sdl::SDL_UnlockMutex(is->pictq_mutex);
    return 0;
}

int OutputPicture(TVideoState* is, AVFrame* frame, int64_t pos, double pts)
{
    if (pts != 0)
        is->video_clock = pts;
    else
        pts = is->video_clock;
    AVRational rate = is->video_st->avg_frame_rate;
    if (!rate.num || !rate.den) rate = is->video_st->r_frame_rate;
    if (!rate.num || !rate.den) rate = is->video_ctx->framerate;
    double frame_delay = rate.num && rate.den ? av_q2d(av_inv_q(rate)) : 0.04;
    frame_delay += frame->repeat_pict * (frame_delay * 0.5);
    is->video_clock += frame_delay;
    return QueuePicture(is, frame, pos, pts);
}

}  // namespace

double WallClock() { return av::av_gettime_relative() / 1000000.0; }

int VideoThread(void* arg)
{
    TVideoState* is = static_cast<TVideoState*>(arg);
    TCustomPlayer* p = is->Owner;
    AVFrame* frame = av::av_frame_alloc();
    AVFrame* filtered = av::av_frame_alloc();
    TVideoFilter filter;
    bool draining = false;
    for (;;) {
        while (is->paused && !is->videoq.abort_request && !is->seek_paused && !is->open_paused) SleepMs(10);
        int64_t pts = 0;
        int r = GetVideoFrame(is, frame, &pts, draining);
        if (r < 0) break;
        if (r == 0) continue;
        if (frame->width != filter.Width || frame->height != filter.Height || frame->format != filter.Format) {
            // A new size or format of the decoded pictures needs a new graph.
            if (!ConfigureVideoFilter(is, filter, frame)) break;
        }
        frame->pts = pts;
        int64_t pos = frame->pkt_pos;
        if (av::av_buffersrc_add_frame_flags(filter.Src, frame, 0) < 0) break;
        bool stop = false;
        while (!stop && av::av_buffersink_get_frame(filter.Sink, filtered) >= 0) {
            if (is->seek_done && is->seek_flushed) {
                is->seek_done = 0;
                is->seek_paused = 0;
            }
            AVRational tb = av::av_buffersink_get_time_base(filter.Sink);
            double fpts = filtered->pts == AV_NOPTS_VALUE ? 0 : filtered->pts * av_q2d(tb);
            if (OutputPicture(is, filtered, pos, fpts) < 0) {
                stop = true;
            } else {
                p->FPictEvent.SetEvent();
                is->EventEOF = 0;
                if (p->FSeeking && !is->seek_req) p->FSeeking = false;
                if (is->open_paused) {
                    if (is->open_paused < 2) {
                        is->open_paused++;
                    } else {
                        is->open_paused = 0;
                        p->SetPlayState(psPause);
                    }
                }
                if (p->Fstep && p->FVideoState.load() == is) TogglePauseState(is);
            }
            av::av_frame_unref(filtered);
        }
        if (stop) break;
    }
    filter.Free();
    is->out_video_filter = nullptr;
    av::av_frame_free(&frame);
    av::av_frame_free(&filtered);
    return 0;
}

void AllocPicture(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    TVideoPicture* vp = &is->pictq[is->pictq_windex];
    if (vp->Overlay) sdl::SDL_FreeYUVOverlay(vp->Overlay);
    vp->Overlay = nullptr;
    sdl::SDL_LockMutex(is->pictq_mutex);
    if (vp->PicRef) av::av_frame_free(&vp->PicRef);
    vp->Width = is->out_width;
    vp->Height = is->out_height;
    vp->PixFmt = is->out_format;
    sdl::SDL_UnlockMutex(is->pictq_mutex);
    if (p->Fscreen) vp->Overlay = sdl::SDL_CreateYUVOverlay(vp->Width, vp->Height, SDL_YV12_OVERLAY, p->Fscreen);
    sdl::SDL_LockMutex(is->pictq_mutex);
    vp->Allocated = 1;
    sdl::SDL_CondSignal(is->pictq_cond);
    sdl::SDL_UnlockMutex(is->pictq_mutex);
}

double ComputeTargetTime(TVideoState* is, double pts)
{
    double delay = pts - is->frame_last_pts;
    if (delay <= 0 || delay >= 10.0)
        delay = is->frame_last_delay;
    else
        is->frame_last_delay = delay;
    is->frame_last_pts = pts;
    if ((is->av_sync_type == AV_SYNC_AUDIO_MASTER && is->audio_st) || is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
        double diff = VideoClock(is) - MasterClock(is);
        double threshold = std::max(0.01, delay);
        if (std::fabs(diff) < 10.0) {
            if (diff <= -threshold)
                delay = 0;
            else if (diff >= threshold)
                delay = 2 * delay;
        }
    }
    is->frame_timer += delay;
    return is->frame_timer;
}

double AudioClock(TVideoState* is)
{
    double pts = is->audio_clock;
    int bytesPerSec = is->audio_st ? is->audio_spec.freq * 2 * is->audio_spec.channels : 0;
    if (bytesPerSec)
        pts -= static_cast<double>(static_cast<int>(is->audio_buf_size) - is->audio_buf_index) / bytesPerSec;
    return pts;
}

double VideoClock(TVideoState* is)
{
    if (is->paused) return is->video_current_pts;
    if (is->video_current_pts_drift != 0) return is->video_current_pts_drift + WallClock();
    return is->StartTime / 1000000.0;
}

double ExternalClock(TVideoState* is)
{
    return is->external_clock + (av::av_gettime_relative() - is->external_clock_time) / 1000000.0;
}

double MasterClock(TVideoState* is)
{
    switch (is->av_sync_type) {
    case AV_SYNC_VIDEO_MASTER: return is->video_st ? VideoClock(is) : AudioClock(is);
    case AV_SYNC_AUDIO_MASTER: return is->audio_st ? AudioClock(is) : VideoClock(is);
    default: return ExternalClock(is);
    }
}

int RefreshThread(void* arg)
{
    TVideoState* is = static_cast<TVideoState*>(arg);
    while (!is->abort_request) {
        if (is->refresh != 1) {
            is->refresh = 1;
            SDL_Event event{};
            event.type = RefreshEvent;
            event.user.data1 = is;
            sdl::SDL_PushEvent(&event);
        }
        SleepMs(is->audio_st && is->show_audio ? is->Owner->Frdftspeed : 5);
    }
    return 0;
}

void RefreshDisplay(TVideoState* is, bool advance)
{
    TCustomPlayer* p = is->Owner;
    if (is->video_st) {
        // Opened paused, the first picture is neither dropped nor passed until the playback
        // resumes or seeks: the second one, decoded before the pause, would show a moment of play.
        const bool hold = is->open_hold && is->paused;
        if (hold && is->shown_index >= 0) {
            if (!advance) VideoDisplay(is);
            return;
        }
        bool shown = true;
        for (;;) {
            bool forceDrop = is->seek_done;
            if (is->pictq_size == 0) {
                if (!advance) VideoDisplay(is);
                break;
            }
            double time = WallClock();
            TVideoPicture* vp = &is->pictq[is->pictq_rindex];
            if (time < vp->TargetClock) return;
            is->video_current_pts = vp->PTS;
            is->video_current_pts_drift = vp->PTS - time;
            is->video_current_pos = vp->Pos;
            double next_target;
            if (is->pictq_size > 1) {
                TVideoPicture* next = &is->pictq[(is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE];
                next_target = next->TargetClock;
            } else {
                next_target = vp->TargetClock + is->video_clock - vp->PTS;
            }
            if (!hold && ((p->Fframedrop && time > next_target && !is->IsDevice) || forceDrop)) {
                is->skip_frames *= 1.05f;
                if (is->pictq_size > 1 || time > next_target + 0.5 || forceDrop) {
                    if (++is->pictq_rindex == VIDEO_PICTURE_QUEUE_SIZE) is->pictq_rindex = 0;
                    sdl::SDL_LockMutex(is->pictq_mutex);
                    is->pictq_size--;
                    sdl::SDL_CondSignal(is->pictq_cond);
                    sdl::SDL_UnlockMutex(is->pictq_mutex);
                    shown = false;
                    continue;
                }
            }
            if (is->subtitle_st) {
                if (is->subtitle_stream_changed) {
                    sdl::SDL_LockMutex(is->subpq_mutex);
                    while (is->subpq_size) {
                        FreeSubPicture(&is->subpq[is->subpq_rindex]);
                        if (++is->subpq_rindex == SUBPICTURE_QUEUE_SIZE) is->subpq_rindex = 0;
                        is->subpq_size--;
                    }
                    is->subtitle_stream_changed = 0;
                    sdl::SDL_CondSignal(is->subpq_cond);
                    sdl::SDL_UnlockMutex(is->subpq_mutex);
                } else if (is->subpq_size > 0) {
                    TSubPicture* sp = &is->subpq[is->subpq_rindex];
                    TSubPicture* sp2 =
                        is->subpq_size > 1 ? &is->subpq[(is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE] : nullptr;
                    if (is->video_current_pts > sp->PTS + sp->Sub.end_display_time / 1000.0 ||
                        (sp2 && is->video_current_pts > sp2->PTS + sp2->Sub.start_display_time / 1000.0)) {
                        FreeSubPicture(sp);
                        if (++is->subpq_rindex == SUBPICTURE_QUEUE_SIZE) is->subpq_rindex = 0;
                        sdl::SDL_LockMutex(is->subpq_mutex);
                        is->subpq_size--;
                        sdl::SDL_CondSignal(is->subpq_cond);
                        sdl::SDL_UnlockMutex(is->subpq_mutex);
                    }
                }
            }
            VideoDisplay(is);
            sdl::SDL_LockMutex(is->pictq_mutex);
            is->shown_index = is->pictq_rindex;
            sdl::SDL_UnlockMutex(is->pictq_mutex);
            if (advance && !hold) {
                if (++is->pictq_rindex == VIDEO_PICTURE_QUEUE_SIZE) is->pictq_rindex = 0;
                sdl::SDL_LockMutex(is->pictq_mutex);
                is->pictq_size--;
                sdl::SDL_CondSignal(is->pictq_cond);
                sdl::SDL_UnlockMutex(is->pictq_mutex);
            }
            break;
        }
        if (shown) p->UpdatePosition();
    } else if (is->audio_st) {
        VideoDisplay(is);
        p->UpdatePosition();
    }
}

void RunEventLoop(TCustomPlayer* APlayer)
{
    TCustomPlayer* p = APlayer;
    for (;;) {
        SDL_Event event;
        if (!sdl::SDL_WaitEvent(&event)) {
            SleepMs(10);
            if (!p->FVideoState.load()) break;
            continue;
        }
        p->LockData();
        TVideoState* is = p->FVideoState;
        if (!is) {
            sdl::SDL_Quit();
            p->UnlockData();
            break;
        }
        // Events of an earlier playback (their record is gone) are ignored.
        bool mine = event.type < SDL_USEREVENT || event.user.data1 == is;
        bool leave = false;
        if (mine) {
            switch (event.type) {
            case SDL_QUIT:
            case QuitEvent:
                p->ClosePlayback();
                leave = true;
                break;
            case SDL_VIDEORESIZE: {
                const SDL_VideoInfo* info = sdl::SDL_GetVideoInfo();
                int bpp = info && info->vfmt && info->vfmt->BitsPerPixel < 16 ? 32 : 0;
                p->Fscreen = sdl::SDL_SetVideoMode(event.resize.w, event.resize.h, bpp,
                                                   SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL);
                p->Fscreen_width = event.resize.w;
                p->Fscreen_height = event.resize.h;
                if (p->Fscreen) {
                    is->width = p->Fscreen->w;
                    is->height = p->Fscreen->h;
                }
                if (is->paused) RefreshDisplay(is, false);
                break;
            }
            case SDL_VIDEOEXPOSE:
                if (is->paused)
                    RefreshDisplay(is, false);
                else
                    VideoDisplay(is);
                break;
            case AllocPictureEvent:
                VideoOpen(is, false);
                AllocPicture(is);
                break;
            case RefreshEvent:
                RefreshDisplay(is, true);
                is->refresh = 0;
                break;
            case RedrawEvent:
                VideoOpen(is, true);
                VideoDisplay(is);
                break;
            default: break;
            }
        }
        p->UnlockData();
        if (leave) break;
    }
}
