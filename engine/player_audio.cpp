// The sound of a playback: decoded and converted to signed 16-bit samples at the device's rate
// and channel count, fed to the SDL sound device from its callback (or, without a device, to a
// silent stand-in that keeps the same pace), with small corrections of the sample count when the
// sound must follow another clock; and the subtitle decoding thread.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/player_state.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// Room kept in audio_buf2 so that SynchronizeAudio can lengthen a buffer by 10 %.
constexpr int MaxDecodedBytes = AUDIO_BUF_BYTES * 10 / 11;

bool SameLayout(const AVChannelLayout& a, const AVChannelLayout& b)
{
    return av::av_channel_layout_compare(&a, &b) == 0;
}

// Makes the converter for frames like AFrame; False after reporting when none can be made.
bool PrepareConverter(TVideoState* is, const AVFrame* AFrame)
{
    if (is->reformat_ctx && AFrame->format == is->audio_src_fmt && AFrame->sample_rate == is->audio_src_rate &&
        SameLayout(AFrame->ch_layout, is->audio_src_layout))
        return true;
    av::swr_free(&is->reformat_ctx);
    AVChannelLayout out{};
    av::av_channel_layout_default(&out, is->audio_spec.channels);
    int r = av::swr_alloc_set_opts2(&is->reformat_ctx, &out, AV_SAMPLE_FMT_S16, is->audio_spec.freq,
                                    const_cast<AVChannelLayout*>(&AFrame->ch_layout),
                                    static_cast<AVSampleFormat>(AFrame->format), AFrame->sample_rate, 0, nullptr);
    av::av_channel_layout_uninit(&out);
    if (r < 0 || av::swr_init(is->reformat_ctx) < 0) {
        av::swr_free(&is->reformat_ctx);
        const char* from = av::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFrame->format));
        const char* to = av::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16);
        is->Owner->ReportError(Format(L"Cannot convert %s sample format to %s sample format",
                                      Utf8ToString(from ? from : "none"), Utf8ToString(to ? to : "s16")),
                               false);
        return false;
    }
    is->audio_src_fmt = AFrame->format;
    is->audio_src_rate = AFrame->sample_rate;
    av::av_channel_layout_uninit(&is->audio_src_layout);
    av::av_channel_layout_copy(&is->audio_src_layout, &AFrame->ch_layout);
    return true;
}

}  // namespace

int AudioDecodeFrame(TVideoState* is, double* pts_ptr)
{
    TCustomPlayer* p = is->Owner;
    AVCodecContext* ctx = is->audio_ctx;
    const int frameBytes = 2 * is->audio_spec.channels;
    for (;;) {
        AVFrame* f = is->audio_frame;
        if (av::avcodec_receive_frame(ctx, f) >= 0) {
            if (f->pts != AV_NOPTS_VALUE) is->audio_clock = f->pts * av_q2d(ctx->pkt_timebase);
            if (!PrepareConverter(is, f)) {
                av::av_frame_unref(f);
                continue;
            }
            uint8_t* out[1] = {is->audio_buf2};
            int n = av::swr_convert(is->reformat_ctx, out, MaxDecodedBytes / frameBytes,
                                    const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
            av::av_frame_unref(f);
            if (n < 0) {
                p->ReportError(L"av_audio_convert() failed", false);
                continue;
            }
            if (n == 0) continue;
            int bytes = n * frameBytes;
            is->audio_buf = is->audio_buf2;
            *pts_ptr = is->audio_clock;
            is->audio_clock += static_cast<double>(bytes) / (frameBytes * is->audio_spec.freq);
            return bytes;
        }
        if (is->audio_pkt_pending) {
            // A packet the decoder could not take before its pictures were read.
            int r = av::avcodec_send_packet(ctx, is->audio_pkt);
            if (r == AVERROR(EAGAIN)) return -1;
            is->audio_pkt_pending = false;
            av::av_packet_unref(is->audio_pkt);
            continue;
        }
        if (is->paused || is->audioq.abort_request) return -1;
        AVPacket pkt;
        if (PacketQueueGet(&is->audioq, &pkt, false) <= 0) return -1;
        if (IsFlushPacket(is, &pkt)) {
            av::avcodec_flush_buffers(ctx);
            continue;
        }
        if (pkt.pts != AV_NOPTS_VALUE) is->audio_clock = pkt.pts * av_q2d(is->audio_st->time_base);
        int r = av::avcodec_send_packet(ctx, &pkt);
        if (r == AVERROR(EAGAIN)) {
            av::av_packet_unref(is->audio_pkt);
            av::av_packet_ref(is->audio_pkt, &pkt);
            av::av_packet_unref(&pkt);
            is->audio_pkt_pending = true;
            continue;
        }
        if (r < 0) p->LogMessage(llInfo, L"avcodec_decode_audio2() failed");
        av::av_packet_unref(&pkt);
    }
}

int SynchronizeAudio(TVideoState* is, uint8_t* samples, int samples_size)
{
    const int n = 2 * is->audio_spec.channels;
    if (!((is->av_sync_type == AV_SYNC_VIDEO_MASTER && is->video_st) || is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK))
        return samples_size;
    double diff = AudioClock(is) - MasterClock(is);
    if (diff >= 10.0) {
        is->audio_diff_avg_count = 0;
        is->audio_diff_cum = 0;
        return samples_size;
    }
    is->audio_diff_cum = diff + is->audio_diff_avg_coef * is->audio_diff_cum;
    if (is->audio_diff_avg_count < 20) {
        is->audio_diff_avg_count++;
        return samples_size;
    }
    double avg_diff = is->audio_diff_cum * (1.0 - is->audio_diff_avg_coef);
    if (std::fabs(avg_diff) < is->audio_diff_threshold) return samples_size;
    int wanted = samples_size + static_cast<int>(std::lrint(diff * is->audio_spec.freq)) * n;
    int min_size = ((samples_size / n) * 90 / 100) * n;
    int max_size = ((samples_size / n) * 110 / 100) * n;
    wanted = std::clamp(wanted, min_size, max_size);
    if (wanted > samples_size) {
        // Lengthened by repeating the last sample frame.
        const uint8_t* last = samples + samples_size - n;
        for (uint8_t* q = samples + samples_size; q < samples + wanted; q += n) memcpy(q, last, n);
    }
    return wanted;
}

void UpdateSampleDisplay(TVideoState* is, const int16_t* samples, int samples_size)
{
    int size = samples_size / 2;
    while (size > 0) {
        int len = std::min(SAMPLE_ARRAY_SIZE - is->sample_array_index, size);
        memcpy(is->sample_array + is->sample_array_index, samples, len * sizeof(int16_t));
        samples += len;
        is->sample_array_index += len;
        if (is->sample_array_index >= SAMPLE_ARRAY_SIZE) is->sample_array_index = 0;
        size -= len;
    }
}

void SoundCallback(void* opaque, Uint8* stream, int len)
{
    TVideoState* is = static_cast<TVideoState*>(opaque);
    TCustomPlayer* p = is->Owner;
    p->Faudio_callback_time = av::av_gettime_relative();
    memset(stream, 0, len);
    while (len > 0) {
        if (is->audio_buf_index >= static_cast<int>(is->audio_buf_size)) {
            double pts;
            int size = AudioDecodeFrame(is, &pts);
            if (is->audioq.abort_request) return;
            if (size < 0) {
                is->audio_buf = is->audio_buf1;
                is->audio_buf_size = 1024;
                memset(is->audio_buf1, 0, 1024);
            } else {
                if (is->show_audio) UpdateSampleDisplay(is, reinterpret_cast<const int16_t*>(is->audio_buf), size);
                is->audio_buf_size = SynchronizeAudio(is, is->audio_buf, size);
            }
            is->audio_buf_index = 0;
        }
        int n = std::min(static_cast<int>(is->audio_buf_size) - is->audio_buf_index, len);
        if (!p->FMute && is->audio_device)
            sdl::SDL_MixAudio(stream, is->audio_buf + is->audio_buf_index, n, p->FAudioVolume);
        is->audio_buf_index += n;
        len -= n;
        stream += n;
    }
}

int SilentDeviceThread(void* arg)
{
    TVideoState* is = static_cast<TVideoState*>(arg);
    std::vector<Uint8> buffer(is->audio_spec.size);
    const double period = static_cast<double>(is->audio_spec.samples) / is->audio_spec.freq;
    double next = WallClock();
    while (!is->audioq.abort_request && !is->abort_request) {
        SoundCallback(is, buffer.data(), static_cast<int>(buffer.size()));
        next += period;
        double wait = next - WallClock();
        if (wait > 0) std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(wait * 1e6)));
    }
    return 0;
}

int SubtitleThread(void* arg)
{
    TVideoState* is = static_cast<TVideoState*>(arg);
    for (;;) {
        while (is->paused && !is->subtitleq.abort_request && !is->seek_paused)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        AVPacket pkt;
        if (PacketQueueGet(&is->subtitleq, &pkt, true) < 0) break;
        if (IsFlushPacket(is, &pkt)) {
            av::avcodec_flush_buffers(is->subtitle_ctx);
            continue;
        }
        sdl::SDL_LockMutex(is->subpq_mutex);
        while (is->subpq_size >= SUBPICTURE_QUEUE_SIZE && !is->subtitleq.abort_request)
            sdl::SDL_CondWait(is->subpq_cond, is->subpq_mutex);
        sdl::SDL_UnlockMutex(is->subpq_mutex);
        if (is->subtitleq.abort_request) {
            av::av_packet_unref(&pkt);
            break;
        }
        TSubPicture* sp = &is->subpq[is->subpq_windex];
        double pts = pkt.pts != AV_NOPTS_VALUE ? av_q2d(is->subtitle_st->time_base) * pkt.pts : 0;
        int got = 0;
        if (av::avcodec_decode_subtitle2(is->subtitle_ctx, &sp->Sub, &got, &pkt) >= 0 && got) {
            if (sp->Sub.format == 0) {
                sp->PTS = pts;
                for (unsigned i = 0; i < sp->Sub.num_rects; i++) {
                    AVSubtitleRect* rect = sp->Sub.rects[i];
                    uint32_t* pal = reinterpret_cast<uint32_t*>(rect->data[1]);
                    for (int j = 0; pal && j < rect->nb_colors; j++) {
                        uint32_t c = pal[j];
                        int a = c >> 24, r = (c >> 16) & 0xff, g = (c >> 8) & 0xff, b = c & 0xff;
                        int y = (263 * r + 517 * g + 101 * b + 16896) >> 10;
                        int u = ((-152 * r - 298 * g + 450 * b + 511) >> 10) + 128;
                        int v = ((450 * r - 377 * g - 74 * b + 511) >> 10) + 128;
                        pal[j] = (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(y & 0xff) << 16) |
                                 (static_cast<uint32_t>(u & 0xff) << 8) | static_cast<uint32_t>(v & 0xff);
                    }
                }
                if (++is->subpq_windex == SUBPICTURE_QUEUE_SIZE) is->subpq_windex = 0;
                sdl::SDL_LockMutex(is->subpq_mutex);
                is->subpq_size++;
                sdl::SDL_UnlockMutex(is->subpq_mutex);
            } else {
                // Text subtitles are decoded but not shown.
                av::avsubtitle_free(&sp->Sub);
            }
        }
        av::av_packet_unref(&pkt);
    }
    return 0;
}

void FreeSubPicture(TSubPicture* sp)
{
    if (av::avsubtitle_free) av::avsubtitle_free(&sp->Sub);
}
