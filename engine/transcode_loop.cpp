// The loop of a transcode run: it chooses the input to read next (the one feeding the output
// stream furthest behind), reads a packet, corrects its timestamps (offsets, scales,
// discontinuities), honours the recording time, hands the packet to OutputPacket and reports
// progress at the report interval. At the end of an input it switches to the next one when
// inputs are joined; at the end of the run it flushes decoders and encoders, writes the
// trailers, makes the last report and closes the codecs. Runs on the converting thread, called
// by Transcode (transcode_setup.cpp) after the set-up.
#include <chrono>
#include <cmath>
#include <thread>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

int MediaLimitIndex(AVMediaType AType)
{
    switch (AType) {
    case AVMEDIA_TYPE_VIDEO: return 0;
    case AVMEDIA_TYPE_AUDIO: return 1;
    case AVMEDIA_TYPE_DATA: return 2;
    case AVMEDIA_TYPE_SUBTITLE: return 3;
    default: return -1;
    }
}

}  // namespace

void TCustomFFmpeg::TranscodeLoop()
{
    TTranscodeRun& run = *FRun;
    auto& ost_table = run.OutputStreamTable;
    auto& ist_table = run.InputStreamTable;
    auto frameLimit = [this](const TAVOutputStream* AStream) {
        int k = MediaLimitIndex(AStream->st->codecpar->codec_type);
        return k < 0 ? INT32_MAX : Fmax_frames[k];
    };
    auto resetNoPacket = [&run] {
        std::fill(run.NoPacketFlags.begin(), run.NoPacketFlags.end(), false);
        run.NoPacketCount = 0;
    };
    run.LastReportTime = Ftimer_start;
    run.CurrentFileIndex = 0;
    resetNoPacket();
    AVPacket* pkt = av::av_packet_alloc();
    if (!pkt) throw FFmpegException(L"av_mallocz fail");
    struct TPacketHolder {
        AVPacket*& p;
        ~TPacketHolder() { av::av_packet_free(&p); }
    } holder{pkt};

    while (!FBroken) {
        CheckPause();
        if (FBroken) break;
        // 1. the input to read next
        if (FJoinMode) {
            int from = run.CurrentFileIndex * run.JoinBlockSize;
            for (int i = from; i < from + run.JoinBlockSize && i < int(ost_table.size()); ++i) {
                if (ost_table[i]->frame_number >= frameLimit(ost_table[i].get())) {
                    run.CurrentFileIndex = -1;
                    break;
                }
            }
        } else {
            run.CurrentFileIndex = -1;
            double ipts_min = 1e100, opts_min = 1e100;
            for (auto& item : ost_table) {
                TAVOutputStream* ost = item.get();
                TAVInputStream* ist = ist_table[ost->source_index].get();
                if (ist->is_past_recording_time || run.NoPacketFlags[ist->file_index]) continue;
                double opts = ost->first->end_time;
                double ipts = double(ist->pts);
                if (!run.InputFileTable[ist->file_index].eof_reached) {
                    if (ipts < ipts_min) {
                        ipts_min = ipts;
                        if (Finput_sync) run.CurrentFileIndex = ist->file_index;
                    }
                    if (opts < opts_min) {
                        opts_min = opts;
                        if (!Finput_sync) run.CurrentFileIndex = ist->file_index;
                    }
                }
                if (ost->frame_number >= frameLimit(ost)) {
                    run.CurrentFileIndex = -1;
                    break;
                }
            }
        }
        // 2. nothing to read now, or nothing left
        if (run.CurrentFileIndex < 0) {
            if (FJoinMode || run.NoPacketCount == 0) break;
            resetNoPacket();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        // 3. the file size limit of output file 0
        if (Flimit_filesize != 0 && Foutput_files[0]->pb &&
            av::avio_seek(Foutput_files[0]->pb, 0, SEEK_CUR) > Flimit_filesize)
            break;
        // 4. the next packet
        const int file = run.CurrentFileIndex;
        AVFormatContext* ic = Finput_files[file];
        int result = av::av_read_frame(ic, pkt);
        if (result == AVERROR(EAGAIN)) {
            run.NoPacketFlags[file] = true;
            ++run.NoPacketCount;
            continue;
        }
        if (result < 0) {
            run.InputFileTable[file].eof_reached = 1;
            if (!FJoinMode) {
                if (Fopt_shortest) break;
                continue;
            }
            // The switch to the next joined input.
            run.DrainEncoders = false;
            for (int i = 0; i < int(ist_table.size()); ++i) {
                TAVInputStream* ist = ist_table[i].get();
                if (ist->file_index != file || !ist->decoding_needed) continue;
                OutputPacket(ist, i, nullptr);
                if (ist->decoder_opened) av::avcodec_flush_buffers(ist->dec);
                ist->decoder_flushed = 1;
            }
            run.DrainEncoders = true;
            for (int i = (file + 1) * run.JoinBlockSize; i < int(ost_table.size()); ++i) {
                ost_table[i]->sync_opts = ost_table[i - run.JoinBlockSize]->sync_opts;
                ost_table[i]->frame_number = ost_table[i - run.JoinBlockSize]->frame_number;
            }
            double end = 0;
            for (int i = file * run.JoinBlockSize;
                 i < (file + 1) * run.JoinBlockSize && i + run.JoinBlockSize < int(ost_table.size()); ++i) {
                end = std::max(end, ost_table[i]->first->end_time);
                ost_table[i]->show_fps = 0;
            }
            if (file >= Fnb_input_files - 1) break;
            Finput_files_ts_offset[file + 1] += NearestInt(end * 1000000.0);
            run.CurrentFileIndex = file + 1;
            continue;
        }
        resetNoPacket();
        struct TUnref {
            AVPacket* p;
            ~TUnref() { av::av_packet_unref(p); }
        } unref{pkt};

        // 5. packet dump
        if (Fdo_pkt_dump)
            av::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, pkt, Fdo_hex_dump ? 1 : 0, ic->streams[pkt->stream_index]);
        // 6. streams that appeared after the set-up, and streams no output uses
        if (pkt->stream_index >= run.InputFileTable[file].nb_streams) continue;
        int ist_index = run.InputFileTable[file].ist_index + pkt->stream_index;
        TAVInputStream* ist = ist_table[ist_index].get();
        if (ist->discard) continue;
        // 7. offset
        AVRational base = ist->st->time_base;
        int64_t offset = av::av_rescale_q(Finput_files_ts_offset[file], AVRational{1, AV_TIME_BASE}, base);
        if (pkt->dts != AV_NOPTS_VALUE) pkt->dts += offset;
        if (pkt->pts != AV_NOPTS_VALUE) pkt->pts += offset;
        // 8. scale
        if (pkt->stream_index < int(Finput_files_ts_scale[file].size()) &&
            Finput_files_ts_scale[file][pkt->stream_index] != 0) {
            double scale = Finput_files_ts_scale[file][pkt->stream_index];
            if (pkt->pts != AV_NOPTS_VALUE) pkt->pts = NearestInt(double(pkt->pts) * scale);
            if (pkt->dts != AV_NOPTS_VALUE) pkt->dts = NearestInt(double(pkt->dts) * scale);
        }
        // 9. discontinuity
        if (pkt->dts != AV_NOPTS_VALUE && ist->next_pts != AV_NOPTS_VALUE && (ic->iformat->flags & AVFMT_TS_DISCONT)) {
            int64_t pkt_dts = av::av_rescale_q(pkt->dts, base, AVRational{1, AV_TIME_BASE});
            int64_t delta = pkt_dts - ist->next_pts;
            if ((std::llabs(delta) > int64_t(double(Fdts_delta_threshold) * 1000000.0) || pkt_dts + 1 < ist->pts) &&
                !Fcopy_ts) {
                Finput_files_ts_offset[ist->file_index] -= delta;
                if (Fverbose > 2)
                    DefaultLogger()->Log(this, llVerbose,
                                         Format(L"timestamp discontinuity %d, new offset= %d", delta,
                                                Finput_files_ts_offset[ist->file_index]));
                int64_t shift = av::av_rescale_q(delta, AVRational{1, AV_TIME_BASE}, base);
                pkt->dts -= shift;
                if (pkt->pts != AV_NOPTS_VALUE) pkt->pts -= shift;
            }
        }
        // 10. recording time (a packet without a presentation time goes by its decoding time)
        const int64_t when = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        if (Frecording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
            av::av_compare_ts(when, base, Frecording_time + Fstart_time, AVRational{1, AV_TIME_BASE}) >= 0) {
            ist->is_past_recording_time = 1;
            continue;
        }
        // 11. decoding and output
        if (OutputPacket(ist, ist_index, pkt) < 0) {
            String text = Format(L"Error while decoding stream #%d.%d (%s)", ist->file_index, ist->index,
                                 MediaTypeName(ist->st->codecpar->codec_type));
            if (Fexit_on_error) throw FFmpegException(text);
            if (Fverbose >= 0) DefaultLogger()->Log(this, llVerbose, text);
            continue;
        }
        // 12. progress
        int64_t now = av::av_gettime();
        if (now - run.LastReportTime > ReportInterval) {
            run.LastReportTime = now;
            PrintReport(false, run.CurrentFileIndex);
        }
    }

    // The end: what the decoders and encoders still hold, the trailers, the last report.
    for (int i = 0; i < int(ist_table.size()); ++i) {
        TAVInputStream* ist = ist_table[i].get();
        if (ist->decoding_needed && ist->decoder_flushed != 1) OutputPacket(ist, i, nullptr);
    }
    // Encoders whose source never needed a flush of its own still give out what they hold.
    for (auto& item : ost_table)
        if (item->encoding_needed && item->first == item.get()) FlushEncoder(item.get());
    int outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    for (int i = 0; i < outputs; ++i) {
        if (!run.HeaderWritten[i]) continue;
        run.HeaderWritten[i] = false;
        int result = av::av_write_trailer(Foutput_files[i]);
        if (result < 0) {
            FDiscardedOutputs.push_back(Foutput_files[i]);
            throw FFmpegException(ErrorCodeText(L"av_write_trailer()", result));
        }
    }
    PrintReport(true, -1);
    int encoders = FJoinMode ? run.JoinBlockSize : int(ost_table.size());
    for (int i = 0; i < encoders; ++i) {
        TAVOutputStream* ost = ost_table[i].get();
        if (!ost->encoding_needed) continue;
        av::av_freep(&ost->enc->stats_in);
        TRunCodecLock lock;
        av::avcodec_close(ost->enc);
        RemoveCodecItem(FEncoderList, ost->enc);
    }
    for (auto& item : ist_table) {
        if (!item->decoding_needed || !item->decoder_opened) continue;
        TRunCodecLock lock;
        av::avcodec_close(item->dec);
        RemoveCodecItem(FDecoderList, item->dec);
        item->decoder_opened = false;
    }
    FFinished = !FBroken;
    FreeStreamTables();
}
