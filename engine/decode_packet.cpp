// The packet handler of a transcode run: OutputPacket decodes one packet of an input stream
// (audio, video, subtitles), keeps the stream's clock, normalises decoded sound to packed
// 16-bit samples and applies the volume, and hands every decoded frame to the output routines
// of the output streams it feeds; for copied output streams it rewrites the packet's timestamps
// and writes it as it is. Without a packet it flushes the decoder and drains the encoders.
// Called by the loop (transcode_loop.cpp) on the converting thread.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

// A layout with only a channel count becomes the default layout of that count.
void UsableLayout(AVChannelLayout& ATarget, const AVChannelLayout& ASource)
{
    av::av_channel_layout_uninit(&ATarget);
    if (ASource.order == AV_CHANNEL_ORDER_UNSPEC || ASource.nb_channels <= 0)
        av::av_channel_layout_default(&ATarget, std::max(ASource.nb_channels, 1));
    else
        av::av_channel_layout_copy(&ATarget, &ASource);
}

// The duration of a decoded or copied video frame in microseconds.
int64_t VideoFrameDuration(const AVStream* AStream, const AVCodecContext* ADecoder, int64_t APacketDuration,
                           int ARepeat)
{
    if (APacketDuration > 0) return av::av_rescale_q(APacketDuration, AStream->time_base, AVRational{1, AV_TIME_BASE});
    AVRational rate = ADecoder && ADecoder->framerate.num > 0 ? ADecoder->framerate : AStream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = AStream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 0;
    return av::av_rescale(int64_t(AV_TIME_BASE) * (2 + ARepeat), rate.den, int64_t(rate.num) * 2);
}

}  // namespace

int TCustomFFmpeg::OutputPacket(TAVInputStream* ist, int ist_index, const AVPacket* pkt)
{
    TTranscodeRun& run = *FRun;
    AVCodecContext* dec = ist->dec;
    const AVMediaType type = ist->st->codecpar->codec_type;
    if (ist->next_pts == AV_NOPTS_VALUE) ist->next_pts = ist->pts;
    if (pkt && pkt->dts != AV_NOPTS_VALUE)
        ist->next_pts = ist->pts = TimestampToMicroseconds(pkt->dts, ist->st->time_base);
    if (!run.DecodedFrame) run.DecodedFrame = av::av_frame_alloc();
    if (!run.DecodedFrame) throw FFmpegException(L"av_mallocz fail");
    AVFrame* frame = run.DecodedFrame;

    auto wanted = [this, ist] { return Fstart_time == 0 || ist->pts >= Fstart_time; };
    auto forEachOutput = [&](auto AHandler) {
        for (auto& item : run.OutputStreamTable)
            if (item->source_index == ist_index) AHandler(item.get());
    };

    // One decoded frame: its time, then every encoded output stream fed by this stream.
    auto handleFrame = [&](AVFrame* AFrame) {
        if (type == AVMEDIA_TYPE_VIDEO) {
            int64_t best = AFrame->best_effort_timestamp;
            ist->pts = best != AV_NOPTS_VALUE ? TimestampToMicroseconds(best, ist->st->time_base) : ist->next_pts;
            ist->next_pts = ist->pts + VideoFrameDuration(ist->st, dec, AFrame->pkt_duration, AFrame->repeat_pict);
            ist->quality = float(AFrame->quality);
            PreProcessVideoFrame(ist, AFrame);
        } else {
            ist->pts = ist->next_pts;
            if (AFrame->sample_rate > 0)
                ist->next_pts += av::av_rescale(AFrame->nb_samples, AV_TIME_BASE, AFrame->sample_rate);
        }
        uint8_t* samples = nullptr;
        int size = 0;
        if (type == AVMEDIA_TYPE_AUDIO) {
            // Packed 16-bit samples at the decoder's rate and layout.
            AVChannelLayout layout{};
            UsableLayout(layout, AFrame->ch_layout);
            if (!ist->s16_ctx || ist->s16_format != AFrame->format || ist->s16_rate != AFrame->sample_rate ||
                av::av_channel_layout_compare(&ist->s16_layout, &layout) != 0) {
                av::swr_free(&ist->s16_ctx);
                av::av_channel_layout_uninit(&ist->s16_layout);
                av::av_channel_layout_copy(&ist->s16_layout, &layout);
                ist->s16_format = AFrame->format;
                ist->s16_rate = AFrame->sample_rate;
                if (av::swr_alloc_set_opts2(&ist->s16_ctx, &layout, AV_SAMPLE_FMT_S16, AFrame->sample_rate, &layout,
                                            AVSampleFormat(AFrame->format), AFrame->sample_rate, 0, nullptr) < 0 ||
                    av::swr_init(ist->s16_ctx) < 0) {
                    av::swr_free(&ist->s16_ctx);
                    av::av_channel_layout_uninit(&layout);
                    throw FFmpegException(Format(L"Cannot convert %s sample format to %s sample format",
                                                 av::av_get_sample_fmt_name(AVSampleFormat(AFrame->format)), "s16"));
                }
            }
            ist->channels = layout.nb_channels;
            ist->sample_rate = AFrame->sample_rate;
            av::av_channel_layout_uninit(&layout);
            int capacity = av::swr_get_out_samples(ist->s16_ctx, AFrame->nb_samples);
            unsigned need = unsigned(std::max(capacity, 0)) * 2u * unsigned(ist->channels);
            need = std::max(need, 192000u);
            if (need > Fsamples_size) {
                av::av_freep(&Fsamples);
                Fsamples = static_cast<int16_t*>(av::av_malloc(need));
                Fsamples_size = Fsamples ? need : 0;
                if (!Fsamples) throw FFmpegException(L"Out of memory in do_audio_out");
            }
            uint8_t* out[1] = {reinterpret_cast<uint8_t*>(Fsamples)};
            int converted = av::swr_convert(ist->s16_ctx, out, int(Fsamples_size / (2u * unsigned(ist->channels))),
                                            const_cast<const uint8_t**>(AFrame->extended_data), AFrame->nb_samples);
            if (converted < 0) return;
            samples = out[0];
            size = converted * 2 * ist->channels;
            if (Faudio_volume != 256) {
                for (int i = 0; i < size / 2; ++i) {
                    int v = (Fsamples[i] * Faudio_volume + 128) >> 8;
                    Fsamples[i] = int16_t(std::clamp(v, -32768, 32767));
                }
            }
        }
        if (Frate_emu) {
            int64_t elapsed = av::av_gettime() - ist->start;
            if (ist->pts > elapsed + 1000)
                std::this_thread::sleep_for(std::chrono::milliseconds((ist->pts - elapsed) / 1000));
        }
        if (!wanted()) return;
        forEachOutput([&](TAVOutputStream* ost) {
            if (!ost->encoding_needed) return;
            AVFormatContext* os = Foutput_files[ost->file_index];
            if (type == AVMEDIA_TYPE_AUDIO) {
                if (size > 0) DoAudioOut(os, ost, ist, samples, size);
            } else if (type == AVMEDIA_TYPE_VIDEO && ost->filter_graph) {
                FilterVideoFrame(os, ost, ist, AFrame);
            } else if (type == AVMEDIA_TYPE_VIDEO) {
                int frameSize = 0;
                DoVideoOut(os, ost, ist, AFrame, frameSize);
                if (!Fvstats_filename.empty() && frameSize != 0) DoVideoStats(ost, frameSize);
            } else {
                throw FFmpegException(L"invalid codec_type");
            }
        });
    };

    if (ist->decoding_needed && ist->decoder_opened) {
        if (type == AVMEDIA_TYPE_SUBTITLE) {
            if (pkt) {
                AVSubtitle subtitle{};
                int got = 0;
                if (av::avcodec_decode_subtitle2(dec, &subtitle, &got, const_cast<AVPacket*>(pkt)) < 0) return -1;
                if (got) {
                    if (wanted())
                        forEachOutput([&](TAVOutputStream* ost) {
                            if (ost->encoding_needed)
                                DoSubtitleOut(Foutput_files[ost->file_index], ost, ist, &subtitle, pkt->pts);
                        });
                    av::avsubtitle_free(&subtitle);
                }
            }
        } else if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) {
            int result = av::avcodec_send_packet(dec, pkt);
            if (result < 0 && result != AVERROR_EOF) return -1;
            int frames = 0;
            for (;;) {
                result = av::avcodec_receive_frame(dec, frame);
                if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
                if (result < 0) return -1;
                ++frames;
                if (pkt && frames > 1 && ((ist->showed_multi_packet_warning == 0 && Fverbose > 0) || Fverbose > 1)) {
                    DefaultLogger()->Log(this, llError,
                                         Format(L"Multiple frames in a packet from stream %d", pkt->stream_index));
                    ist->showed_multi_packet_warning = 1;
                }
                try {
                    handleFrame(frame);
                } catch (...) {
                    av::av_frame_unref(frame);
                    throw;
                }
                av::av_frame_unref(frame);
            }
        } else {
            return -1;
        }
    } else if (pkt) {
        // Not decoded: the clock advances by the packet.
        if (type == AVMEDIA_TYPE_AUDIO) {
            const AVCodecParameters* par = ist->st->codecpar;
            if (pkt->duration > 0)
                ist->next_pts += TimestampToMicroseconds(pkt->duration, ist->st->time_base);
            else if (par->sample_rate > 0)
                ist->next_pts += av::av_rescale(par->frame_size, AV_TIME_BASE, par->sample_rate);
        } else if (type == AVMEDIA_TYPE_VIDEO) {
            const AVCodecParserContext* parser = av::av_stream_get_parser(ist->st);
            ist->next_pts += VideoFrameDuration(ist->st, nullptr, pkt->duration, parser ? parser->repeat_pict : 0);
        }
    } else if (ist->decoding_needed) {
        return -1;
    }

    // Copied output streams take the packet as it is, with timestamps in their own time base.
    if (pkt && wanted()) {
        forEachOutput([&](TAVOutputStream* ost) {
            if (ost->encoding_needed) return;
            AVFormatContext* os = Foutput_files[ost->file_index];
            AVRational outBase = ost->st->time_base;
            int64_t start = av::av_rescale_q(Fstart_time, AVRational{1, AV_TIME_BASE}, outBase);
            if (ost->frame_number == 0 && !(pkt->flags & AV_PKT_FLAG_KEY) && !Fcopy_initial_nonkeyframes) return;
            if (type == AVMEDIA_TYPE_AUDIO)
                Faudio_size += pkt->size;
            else if (type == AVMEDIA_TYPE_VIDEO) {
                Fvideo_size += pkt->size;
                ost->sync_opts += 1;
            }
            if (!run.OutPacket) run.OutPacket = av::av_packet_alloc();
            AVPacket* out = run.OutPacket;
            if (!out || av::av_packet_ref(out, pkt) < 0) throw FFmpegException(L"av_mallocz fail");
            out->stream_index = ost->index;
            out->pts = pkt->pts != AV_NOPTS_VALUE ? av::av_rescale_q(pkt->pts, ist->st->time_base, outBase) - start
                                                  : AV_NOPTS_VALUE;
            int64_t dts = pkt->dts != AV_NOPTS_VALUE ? av::av_rescale_q(pkt->dts, ist->st->time_base, outBase)
                                                     : av::av_rescale_q(ist->pts, AVRational{1, AV_TIME_BASE}, outBase);
            out->dts = dts - start;
            out->duration = av::av_rescale_q(pkt->duration, ist->st->time_base, outBase);
            out->time_base = outBase;
            int64_t end = (out->pts != AV_NOPTS_VALUE ? out->pts : out->dts) + out->duration;
            ost->first->end_time = std::max(ost->first->end_time, double(end) * ::av_q2d(outBase));
            TBitstreamFilterChain* chain = ost->file_index < FMaxFiles && ost->index < MaxFileStreams
                                               ? &BitstreamFilters(ost->file_index, ost->index)
                                               : nullptr;
            try {
                WriteFrame(os, out, nullptr, chain);
            } catch (...) {
                av::av_packet_unref(out);
                throw;
            }
            av::av_packet_unref(out);
            ost->frame_number += 1;
        });
    }

    // The end of the stream's input: the filter graphs and then the encoders it feeds give out
    // what they still hold.
    if (!pkt && type == AVMEDIA_TYPE_VIDEO)
        forEachOutput([&](TAVOutputStream* ost) {
            if (ost->encoding_needed && ost->filter_graph) FlushFilterGraph(Foutput_files[ost->file_index], ost, ist);
        });
    if (!pkt && run.DrainEncoders)
        forEachOutput([&](TAVOutputStream* ost) {
            if (ost->encoding_needed) FlushEncoder(ost->first);
        });
    return 0;
}
