// Encoding results and writing of output packets: ReceiveEncodedPackets takes what an encoder
// has ready, notes its quality, size and two-pass statistics, moves its timestamps into the
// stream's time base and writes it; WriteFrame runs a packet through the stream's bitstream
// filters and writes it interleaved; FlushEncoder drains an encoder at the end of its input;
// DoSubtitleOut encodes and writes a subtitle. All on the converting thread.
#include <algorithm>
#include <cstring>
#include <functional>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

constexpr int SubtitleBufferSize = 1024 * 1024;

struct TPacketHolder {
    AVPacket* Packet = nullptr;
    ~TPacketHolder() { av::av_packet_free(&Packet); }
};

}  // namespace

void TCustomFFmpeg::WriteFrame(AVFormatContext* AContext, AVPacket* APacket, AVCodecContext* ACodecContext,
                               TBitstreamFilterChain* AFilters)
{
    auto write = [&](AVPacket* APkt) {
        int result = av::av_interleaved_write_frame(AContext, APkt);
        if (result < 0) throw FFmpegException(ErrorCodeText(L"av_interleaved_write_frame()", result));
        std::vector<const AVFormatContext*>& written = FRun->WrittenOutputs;
        if (std::find(written.begin(), written.end(), AContext) == written.end()) written.push_back(AContext);
    };
    if (!AFilters || AFilters->empty()) {
        write(APacket);
        return;
    }
    // Through the chain in order; a filter may give none, one or several packets.
    std::function<void(size_t, AVPacket*)> run = [&](size_t ALevel, AVPacket* APkt) {
        if (ALevel >= AFilters->size()) {
            write(APkt);
            return;
        }
        AVBSFContext* bsf = (*AFilters)[ALevel];
        TPacketHolder copy{av::av_packet_alloc()};
        TPacketHolder out{av::av_packet_alloc()};
        if (!copy.Packet || !out.Packet || av::av_packet_ref(copy.Packet, APkt) < 0)
            throw FFmpegException(L"av_mallocz fail");
        auto failed = [&](int AResult) {
            String codec =
                ACodecContext && ACodecContext->codec ? Utf8ToString(ACodecContext->codec->name) : String(L"copy");
            String message = ErrorCodeText(
                Format(L"%s failed for stream %d, codec %s", bsf->filter->name, APkt->stream_index, codec), AResult);
            if (Fexit_on_error) throw FFmpegException(message);
            DefaultLogger()->Log(this, llError, message);
            // The packet goes on as it was.
            run(ALevel + 1, APkt);
        };
        int result = av::av_bsf_send_packet(bsf, copy.Packet);
        if (result < 0) return failed(result);
        for (;;) {
            result = av::av_bsf_receive_packet(bsf, out.Packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
            if (result < 0) return failed(result);
            out.Packet->stream_index = APkt->stream_index;
            run(ALevel + 1, out.Packet);
            av::av_packet_unref(out.Packet);
        }
    };
    run(0, APacket);
}

int TCustomFFmpeg::ReceiveEncodedPackets(TAVOutputStream* AOutStream)
{
    TTranscodeRun& run = *FRun;
    TAVOutputStream* shared = AOutStream->first;
    AVCodecContext* enc = shared->enc;
    AVFormatContext* os = Foutput_files[AOutStream->file_index];
    const bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
    if (!run.OutPacket) run.OutPacket = av::av_packet_alloc();
    AVPacket* pkt = run.OutPacket;
    if (!pkt) throw FFmpegException(L"av_mallocz fail");
    TBitstreamFilterChain* chain = AOutStream->file_index < FMaxFiles && AOutStream->index < MaxFileStreams
                                       ? &BitstreamFilters(AOutStream->file_index, AOutStream->index)
                                       : nullptr;
    int last = 0;
    for (;;) {
        int result = av::avcodec_receive_packet(enc, pkt);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
        if (result < 0) throw FFmpegException(video ? L"Video encoding failed" : L"Audio encoding failed");
        if (video) {
            size_t size = 0;
            if (const uint8_t* stats = av::av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &size);
                stats && size >= 6) {
                int32_t quality = 0;
                std::memcpy(&quality, stats, 4);
                shared->last_quality = quality;
                shared->last_pict_type = stats[4];
                int errors = std::min<int>(stats[5], 4);
                shared->has_error = errors > 0 && size >= size_t(8 + 8 * errors);
                for (int i = 0; shared->has_error && i < errors; ++i)
                    std::memcpy(&shared->last_error[i], stats + 8 + 8 * i, 8);
            }
            Fvideo_size += pkt->size;
            if (shared->logfile && enc->stats_out) fprintf(shared->logfile, "%s", enc->stats_out);
            if (pkt->duration == 0) pkt->duration = 1;
        } else {
            Faudio_size += pkt->size;
            pkt->flags |= AV_PKT_FLAG_KEY;
        }
        last = pkt->size;
        pkt->stream_index = AOutStream->index;
        av::av_packet_rescale_ts(pkt, enc->time_base, AOutStream->st->time_base);
        int64_t start = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        if (start != AV_NOPTS_VALUE)
            shared->end_time =
                std::max(shared->end_time, double(start + pkt->duration) * ::av_q2d(AOutStream->st->time_base));
        try {
            WriteFrame(os, pkt, enc, chain);
        } catch (...) {
            av::av_packet_unref(pkt);
            throw;
        }
        av::av_packet_unref(pkt);
    }
    return last;
}

void TCustomFFmpeg::FlushEncoder(TAVOutputStream* AOutStream)
{
    TAVOutputStream* shared = AOutStream->first;
    if (shared->encoder_flushed || !shared->encoding_needed) return;
    AVCodecContext* enc = shared->enc;
    if (enc->codec_type == AVMEDIA_TYPE_SUBTITLE) {
        shared->encoder_flushed = true;
        return;
    }
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO) {
        // What the converter still holds, then the last short or padded frame.
        if (shared->resample && FRun->ConvertBuffer) {
            for (;;) {
                int n = av::swr_convert(shared->resample, FRun->ConvertBuffer, FRun->ConvertSamples, nullptr, 0);
                if (n <= 0) break;
                if (av::av_audio_fifo_write(shared->fifo, reinterpret_cast<void**>(FRun->ConvertBuffer), n) < n)
                    throw FFmpegException(L"av_fifo_realloc2() failed");
            }
        }
        if (shared->fifo) EncodeAudioQueue(AOutStream, true);
    }
    shared->encoder_flushed = true;
    if (av::avcodec_send_frame(enc, nullptr) < 0) return;
    ReceiveEncodedPackets(AOutStream);
}

void TCustomFFmpeg::DoSubtitleOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                                  AVSubtitle* ASubtitle, int64_t APts)
{
    TTranscodeRun& run = *FRun;
    if (APts == AV_NOPTS_VALUE) {
        if (Fexit_on_error) throw FFmpegException(L"Subtitle packets must have a pts");
        DefaultLogger()->Log(this, llError, L"Subtitle packets must have a pts");
        return;
    }
    AVCodecContext* enc = AOutStream->first->enc;
    if (run.SubtitleBuffer.empty()) run.SubtitleBuffer.resize(SubtitleBufferSize);
    const bool dvb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    const int passes = dvb ? 2 : 1;
    const AVRational micro{1, AV_TIME_BASE};
    for (int i = 0; i < passes; ++i) {
        ASubtitle->pts = av::av_rescale_q(APts, AInStream->st->time_base, micro) +
                         av::av_rescale_q(ASubtitle->start_display_time, AVRational{1, 1000}, micro);
        ASubtitle->end_display_time -= ASubtitle->start_display_time;
        ASubtitle->start_display_time = 0;
        int size = av::avcodec_encode_subtitle(enc, run.SubtitleBuffer.data(), SubtitleBufferSize, ASubtitle);
        if (size < 0) throw FFmpegException(L"Subtitle encoding failed");
        TPacketHolder pkt{av::av_packet_alloc()};
        if (!pkt.Packet || av::av_new_packet(pkt.Packet, size) < 0) throw FFmpegException(L"av_mallocz fail");
        std::memcpy(pkt.Packet->data, run.SubtitleBuffer.data(), size_t(size));
        AVRational base = AOutStream->st->time_base;
        pkt.Packet->stream_index = AOutStream->index;
        pkt.Packet->pts = av::av_rescale_q(ASubtitle->pts, micro, base);
        if (dvb)
            pkt.Packet->pts +=
                av::av_rescale_q(90 * int64_t(i == 0 ? ASubtitle->start_display_time : ASubtitle->end_display_time),
                                 AVRational{1, 90000}, base);
        else
            pkt.Packet->duration = av::av_rescale_q(ASubtitle->end_display_time, AVRational{1, 1000}, base);
        pkt.Packet->dts = pkt.Packet->pts;
        AOutStream->first->end_time =
            std::max(AOutStream->first->end_time, double(pkt.Packet->pts + pkt.Packet->duration) * ::av_q2d(base));
        TBitstreamFilterChain* chain = AOutStream->file_index < FMaxFiles && AOutStream->index < MaxFileStreams
                                           ? &BitstreamFilters(AOutStream->file_index, AOutStream->index)
                                           : nullptr;
        WriteFrame(AContext, pkt.Packet, enc, chain);
    }
    AOutStream->frame_number += 1;
}
