// The set-up of a transcode run: the tables of input files, input streams and output streams,
// which input stream feeds each output stream, stream copy or encoding for each output stream,
// the opening of encoders and decoders under the codec lock, metadata and chapters, the output
// headers and the stream mapping in the log. TCustomFFmpeg::Transcode runs the steps in order
// on the converting thread, then hands over to the loop (transcode_loop.cpp).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/av_bindings.h"
#include "engine/codec_threads.h"
#include "engine/library_loader.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

TRunCodecLock::TRunCodecLock() { CodecLock().Enter(); }

TRunCodecLock::~TRunCodecLock() { CodecLock().Leave(); }

int64_t TimestampToMicroseconds(int64_t ATimestamp, AVRational ATimeBase)
{
    if (ATimestamp == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
    return av::av_rescale_q(ATimestamp, ATimeBase, AVRational{1, AV_TIME_BASE});
}

int64_t NearestInt(double AValue) { return int64_t(std::nearbyint(AValue)); }

namespace {

String TypeName(AVMediaType AType) { return MediaTypeName(AType); }

}  // namespace

void TCustomFFmpeg::Transcode()
{
    TTranscodeRun run;
    FRun = &run;
    run.NoPacketFlags.assign(FMaxFiles, false);
    run.HeaderWritten.assign(std::max(Fnb_output_files, 1), false);
    // What a failed run leaves: the codecs closed before the records that name them are freed.
    // Outputs that never received a packet go with the clean-up.
    auto noteUnwritten = [this, &run] {
        for (int i = 0; i < Fnb_output_files; ++i) {
            const AVFormatContext* oc = Foutput_files[i];
            if (std::find(run.WrittenOutputs.begin(), run.WrittenOutputs.end(), oc) == run.WrittenOutputs.end() &&
                std::find(FDiscardedOutputs.begin(), FDiscardedOutputs.end(), oc) == FDiscardedOutputs.end())
                FDiscardedOutputs.push_back(oc);
        }
    };
    auto release = [this, &noteUnwritten] {
        noteUnwritten();
        CloseEncoderList(FEncoderList);
        CloseDecoderList(FDecoderList);
        FreeStreamTables();
        FRun = nullptr;
    };
    try {
        // Inputs closed while the task waited are opened again, as they were listed.
        ReopenInputs();
        BuildInputStreamTable();
        BuildOutputStreamTable();
        // The codecs share the cores free now with the tasks converting at the same time.
        Fthread_count = CodecThreadCount();
        OpenEncoders();
        OpenDecoders();
        InitInputTimestamps();
        CopyMetadataMaps();
        CopyAllChapters();
        // The output files are created (or truncated) only now that this task converts.
        OpenOutputTargets();
        WriteOutputHeaders();
        LogStreamMapping();
    } catch (...) {
        release();
        throw;
    }
    Ftimer_start = av::av_gettime();
    try {
        TranscodeLoop();
    } catch (...) {
        // What was written stays readable: the files whose header went out get their trailer.
        // One whose trailer fails (a full disk) cannot be read: it goes with the clean-up.
        for (int i = 0; i < Fnb_output_files && i < int(run.HeaderWritten.size()); ++i) {
            if (run.HeaderWritten[i] && av::av_write_trailer(Foutput_files[i]) < 0)
                FDiscardedOutputs.push_back(Foutput_files[i]);
            run.HeaderWritten[i] = false;
        }
        release();
        throw;
    }
    noteUnwritten();
    FRun = nullptr;
}

void TCustomFFmpeg::BuildInputStreamTable()
{
    TTranscodeRun& run = *FRun;
    int index = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        TAVInputFile file;
        file.ist_index = index;
        file.nb_streams = int(Finput_files[i]->nb_streams);
        index += file.nb_streams;
        run.InputFileTable.push_back(file);
    }
    for (int i = 0; i < Fnb_input_files; ++i) {
        AVFormatContext* ic = Finput_files[i];
        for (int j = 0; j < int(ic->nb_streams); ++j) {
            auto ist = std::make_unique<TAVInputStream>();
            ist->st = ic->streams[j];
            ist->file_index = i;
            ist->index = j;
            ist->discard = 1;
            if (TStreamCodec* item = InputStreamCodec(ist->st)) {
                ist->dec = item->codec;
                ist->decoder = item->avcodec;
            }
            if (Frate_emu) ist->start = av::av_gettime();
            run.InputStreamTable.push_back(std::move(ist));
        }
    }
}

void TCustomFFmpeg::BuildOutputStreamTable()
{
    TTranscodeRun& run = *FRun;
    int total = 0;
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        if (oc->nb_streams == 0) {
            av::av_dump_format(oc, i, oc->url, 1);
            throw FFmpegException(Format(L"Output file #%d does not contain any stream", i));
        }
        total += int(oc->nb_streams);
    }
    run.JoinBlockSize = Fnb_output_files > 0 ? int(Foutput_files[0]->nb_streams) : 0;
    if (Fnb_stream_maps > 0 && Fnb_stream_maps != total)
        throw FFmpegException(L"Number of stream maps must match number of output streams");
    for (int i = 0; i < Fnb_stream_maps; ++i) {
        const TAVStreamMap& map = Fstream_maps[i];
        if (map.file_index < 0 || map.file_index >= Fnb_input_files || map.stream_index < 0 ||
            map.stream_index >= run.InputFileTable[map.file_index].nb_streams)
            throw FFmpegException(Format(L"Could not find input stream #%d.%d", map.file_index, map.stream_index));
        if (map.sync_file_index < 0 || map.sync_file_index >= Fnb_input_files || map.sync_stream_index < 0 ||
            map.sync_stream_index >= run.InputFileTable[map.sync_file_index].nb_streams)
            throw FFmpegException(
                Format(L"Could not find sync stream #%d.%d", map.sync_file_index, map.sync_stream_index));
    }
    for (int i = 0; i < total; ++i) run.OutputStreamTable.push_back(std::make_unique<TAVOutputStream>());
    MapOutputStreams();
    SetupOutputCodecs();
}

void TCustomFFmpeg::MapOutputStreams()
{
    TTranscodeRun& run = *FRun;
    int i = 0;
    for (int j = 0; j < Fnb_output_files; ++j) {
        AVFormatContext* oc = Foutput_files[j];
        for (int k = 0; k < int(oc->nb_streams); ++k, ++i) {
            TAVOutputStream* ost = run.OutputStreamTable[i].get();
            ost->file_index = j;
            ost->index = k;
            ost->st = oc->streams[k];
            if (TStreamCodec* item = OutputStreamCodec(ost->st)) {
                ost->enc = item->codec;
                ost->encoder = item->avcodec;
                ost->stream_copy = item->stream_copy;
                ost->quality = item->quality;
            }
            // The blocks of a joined output share the first block's encoder state.
            ost->first = FJoinMode && i >= run.JoinBlockSize ? run.OutputStreamTable[k].get() : ost;
            if (Fnb_stream_maps > 0)
                MapExplicitStream(ost, i);
            else
                MapDefaultStream(ost, j);
            TAVInputStream* ist = run.InputStreamTable[ost->source_index].get();
            ist->discard = 0;
            if (Fnb_stream_maps > 0) {
                const TAVStreamMap& map = Fstream_maps[i];
                ost->sync_ist =
                    run.InputStreamTable[run.InputFileTable[map.sync_file_index].ist_index + map.sync_stream_index]
                        .get();
            } else {
                ost->sync_ist = ist;
            }
            ost->show_fps = 1;
        }
    }
}

void TCustomFFmpeg::MapExplicitStream(TAVOutputStream* AStream, int AIndex)
{
    TTranscodeRun& run = *FRun;
    const TAVStreamMap& map = Fstream_maps[AIndex];
    AStream->source_index = run.InputFileTable[map.file_index].ist_index + map.stream_index;
    AVMediaType inType = run.InputStreamTable[AStream->source_index]->st->codecpar->codec_type;
    AVMediaType outType = AStream->st->codecpar->codec_type;
    if (inType != outType) {
        AVFormatContext* oc = Foutput_files[AStream->file_index];
        av::av_dump_format(oc, AStream->file_index, oc->url, 1);
        throw FFmpegException(Format(L"Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)", map.file_index,
                                     map.stream_index, TypeName(inType), AStream->file_index, AStream->index,
                                     TypeName(outType)));
    }
}

void TCustomFFmpeg::MapDefaultStream(TAVOutputStream* AStream, int AFileIndex)
{
    TTranscodeRun& run = *FRun;
    AVMediaType type = AStream->st->codecpar->codec_type;
    auto inProgram = [this](const TAVInputStream* AInput) {
        AVFormatContext* ic = Finput_files[AInput->file_index];
        for (unsigned p = 0; p < ic->nb_programs; ++p) {
            const AVProgram* program = ic->programs[p];
            if (program->id != Fopt_programid) continue;
            for (unsigned s = 0; s < program->nb_stream_indexes; ++s)
                if (int(program->stream_index[s]) == AInput->index) return true;
        }
        return false;
    };
    // The libraries' own choice of the best stream of a type in each file ranks the candidates
    // (it counts the frames seen while the file was analysed); on a tie the earlier one stays.
    int found = -1;
    bool foundBest = false;
    for (int i = 0; i < int(run.InputStreamTable.size()); ++i) {
        const TAVInputStream* ist = run.InputStreamTable[i].get();
        if (ist->discard != 1 || ist->st->discard == AVDISCARD_ALL || ist->st->codecpar->codec_type != type) continue;
        if (FJoinMode && ist->file_index != AFileIndex) continue;
        if (Fopt_programid != 0 && !inProgram(ist)) continue;
        bool best = av::av_find_best_stream(Finput_files[ist->file_index], type, -1, -1, nullptr, 0) == ist->index;
        if (found < 0 || (best && !foundBest)) {
            found = i;
            foundBest = best;
        }
    }
    if (found < 0 && Fopt_programid == 0 && !FJoinMode) {
        for (int i = 0; i < int(run.InputStreamTable.size()); ++i) {
            const TAVInputStream* ist = run.InputStreamTable[i].get();
            if (ist->st->codecpar->codec_type == type && ist->st->discard != AVDISCARD_ALL) found = i;
        }
    }
    if (found < 0) {
        AVFormatContext* oc = Foutput_files[AStream->file_index];
        av::av_dump_format(oc, AStream->file_index, oc->url, 1);
        throw FFmpegException(Format(L"Could not find input stream matching output stream #%d.%d (%s)",
                                     AStream->file_index, AStream->index, TypeName(type)));
    }
    AStream->source_index = found;
}

void TCustomFFmpeg::SetupOutputCodecs()
{
    TTranscodeRun& run = *FRun;
    for (int i = 0; i < int(run.OutputStreamTable.size()); ++i) {
        TAVOutputStream* ost = run.OutputStreamTable[i].get();
        TAVInputStream* ist = run.InputStreamTable[ost->source_index].get();
        av::av_dict_copy(&ost->st->metadata, ist->st->metadata, AV_DICT_DONT_OVERWRITE);
        ost->st->disposition = ist->st->disposition;
        if (ost->enc && ist->dec) {
            ost->enc->bits_per_raw_sample = ist->dec->bits_per_raw_sample;
            ost->enc->chroma_sample_location = ist->dec->chroma_sample_location;
        }
        if (ost->stream_copy || !ost->enc)
            SetupStreamCopy(ost);
        else
            SetupEncoding(ost, i);
        if (ost->st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && ost->enc)
            Fbit_buffer_size = std::max(Fbit_buffer_size, ost->enc->width * ost->enc->height * 6 + 200);
    }
}

void TCustomFFmpeg::SetupStreamCopy(TAVOutputStream* AStream)
{
    TTranscodeRun& run = *FRun;
    TAVInputStream* ist = run.InputStreamTable[AStream->source_index].get();
    AVStream* st = AStream->st;
    const AVCodecParameters* in = ist->st->codecpar;
    AStream->stream_copy = true;
    if (int64_t(in->extradata_size) + 8 > 2147483647)
        throw FFmpegException(L"icodec.extradata_size is invalid (too large)");
    switch (in->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        if (FOnCustomHook)
            throw FFmpegException(L"-vcodec copy and CustomHook are incompatible (frames are not decoded)");
        if (Fusing_vhook) throw FFmpegException(L"-vcodec copy and -vhook are incompatible (frames are not decoded)");
        if (FPostHooks != 0)
            throw FFmpegException(L"-vcodec copy and PostHooks are incompatible (frames are not decoded)");
        break;
    case AVMEDIA_TYPE_AUDIO:
        if (Faudio_volume != 256)
            throw FFmpegException(L"-acodec copy and -vol are incompatible (frames are not decoded)");
        break;
    case AVMEDIA_TYPE_SUBTITLE: break;
    default: throw FFmpegException(L"invalid codec_type of output stream");
    }
    uint32_t tag = st->codecpar->codec_tag;
    if (av::avcodec_parameters_copy(st->codecpar, in) < 0) throw FFmpegException(L"av_mallocz fail");
    st->codecpar->codec_tag = tag;
    const AVOutputFormat* format = Foutput_files[AStream->file_index]->oformat;
    if (tag == 0) {
        const AVCodecTag* const* table = format->codec_tag;
        if (!table || av::av_codec_get_id(table, in->codec_tag) == in->codec_id ||
            av::av_codec_get_tag(table, in->codec_id) == 0)
            st->codecpar->codec_tag = in->codec_tag;
    }
    // The time base: the codec's, when it is coarser than a fine stream time base.
    AVRational codecBase = av::av_stream_get_codec_timebase(ist->st);
    AVRational streamBase = ist->st->time_base;
    if (codecBase.num > 0 && codecBase.den > 0 && av::av_compare_ts(1, codecBase, 1, streamBase) > 0 &&
        av::av_compare_ts(1, streamBase, 1, AVRational{1, 1000}) < 0)
        st->time_base = codecBase;
    else
        st->time_base = streamBase;
    st->avg_frame_rate = ist->st->avg_frame_rate;
    st->r_frame_rate = ist->st->r_frame_rate;
    if (in->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (ist->st->sample_aspect_ratio.num != 0)
            st->sample_aspect_ratio = ist->st->sample_aspect_ratio;
        else if (st->sample_aspect_ratio.num != 0)
            st->codecpar->sample_aspect_ratio = st->sample_aspect_ratio;
    } else if (in->codec_type == AVMEDIA_TYPE_AUDIO) {
        if ((st->codecpar->block_align == 1 && in->codec_id == AV_CODEC_ID_MP3) || in->codec_id == AV_CODEC_ID_AC3)
            st->codecpar->block_align = 0;
    }
    AStream->codec_id = in->codec_id;
}

void TCustomFFmpeg::SetupEncoding(TAVOutputStream* AStream, int AIndex)
{
    TTranscodeRun& run = *FRun;
    TAVInputStream* ist = run.InputStreamTable[AStream->source_index].get();
    AVCodecContext* codec = AStream->enc;
    AVCodecContext* icodec = ist->dec;
    const bool owner = AStream->first == AStream;
    switch (AStream->st->codecpar->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        if (owner) {
            AStream->fifo = av::av_audio_fifo_alloc(codec->sample_fmt, std::max(codec->ch_layout.nb_channels, 1), 1024);
            if (!AStream->fifo) throw FFmpegException(L"av_fifo_alloc fail");
        }
        AStream->audio_resample = (icodec && codec->sample_rate != icodec->sample_rate) || Faudio_sync_method > 1;
        break;
    case AVMEDIA_TYPE_VIDEO: {
        if (codec->pix_fmt == AV_PIX_FMT_NONE)
            throw FFmpegException(L"Video pixel format is unknown, stream cannot be encoded");
        int inWidth = icodec ? icodec->width : codec->width;
        int inHeight = icodec ? icodec->height : codec->height;
        int inFormat = icodec ? icodec->pix_fmt : codec->pix_fmt;
        AStream->video_crop = (Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand) != 0;
        AStream->video_resample = codec->width != inWidth - (Fframe_leftBand + Fframe_rightBand) ||
                                  codec->height != inHeight - (Fframe_topBand + Fframe_bottomBand) ||
                                  codec->pix_fmt != inFormat;
        if (AStream->video_crop) {
            AStream->topBand = AStream->original_topBand = Fframe_topBand;
            AStream->bottomBand = AStream->original_bottomBand = Fframe_bottomBand;
            AStream->leftBand = AStream->original_leftBand = Fframe_leftBand;
            AStream->rightBand = AStream->original_rightBand = Fframe_rightBand;
        }
        AStream->original_height = inHeight;
        AStream->original_width = inWidth;
        if (AStream->video_resample && owner) {
            AStream->pict_tmp = av::av_frame_alloc();
            if (AStream->pict_tmp) {
                AStream->pict_tmp->format = codec->pix_fmt;
                AStream->pict_tmp->width = codec->width;
                AStream->pict_tmp->height = codec->height;
            }
            if (!AStream->pict_tmp || av::av_frame_get_buffer(AStream->pict_tmp, 0) < 0)
                throw FFmpegException(L"Cannot allocate temp picture, check pix fmt");
            int64_t flags = Fsws_flags;
            if (Options().sws_opts && av::av_opt_get_int(Options().sws_opts, "sws_flags", 0, &flags) >= 0)
                Fsws_flags = unsigned(flags);
            AStream->img_resample_ctx = av::sws_getContext(inWidth - (Fframe_leftBand + Fframe_rightBand),
                                                           inHeight - (Fframe_topBand + Fframe_bottomBand),
                                                           AVPixelFormat(inFormat), codec->width, codec->height,
                                                           codec->pix_fmt, int(Fsws_flags), nullptr, nullptr, nullptr);
            if (!AStream->img_resample_ctx) throw FFmpegException(L"Cannot get resampling context");
            codec->bits_per_raw_sample = 0;
        }
        AStream->resample_height = inHeight - (Fframe_topBand + Fframe_bottomBand);
        AStream->resample_width = inWidth - (Fframe_leftBand + Fframe_rightBand);
        AStream->resample_pix_fmt = inFormat;
        FLastErrMsg.clear();
        if (FEnableFilter && BuildFilterGraph(ist, AStream) < 0)
            throw FFmpegException(FLastErrMsg.empty() ? String(L"Error opening filters!")
                                                      : L"Error opening filters: " + FLastErrMsg);
        break;
    }
    case AVMEDIA_TYPE_SUBTITLE: break;
    default: throw FFmpegException(L"invalid codec_type of output stream");
    }
    AStream->encoding_needed = 1;
    ist->decoding_needed = 1;
    if (owner && (codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2))) OpenPassLogFile(AStream, AIndex);
}

void TCustomFFmpeg::SetCodecThreads(AVCodecContext* AContext, const AVCodec* ACodec, bool ADecoder)
{
    // Frame threading where the codec offers it, else slices; a codec without threads of its own
    // keeps one (some refuse to open with more).
    const int caps = AV_CODEC_CAP_FRAME_THREADS | AV_CODEC_CAP_SLICE_THREADS | AV_CODEC_CAP_OTHER_THREADS;
    AContext->thread_count = ACodec && (ACodec->capabilities & caps) ? CodecThreadRequest(Fthread_count) : 1;
    AContext->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    // A decoder that stops at the first damage ("err_detect=explode") decodes in slices: the
    // libraries' frame threads abort the program on such an error.
    if (ADecoder && (AContext->err_recognition & AV_EF_EXPLODE)) AContext->thread_type = FF_THREAD_SLICE;
}

void TCustomFFmpeg::OpenEncoders()
{
    TTranscodeRun& run = *FRun;
    int count = FJoinMode ? run.JoinBlockSize : int(run.OutputStreamTable.size());
    for (int i = 0; i < count; ++i) {
        TAVOutputStream* ost = run.OutputStreamTable[i].get();
        if (ost->encoding_needed != 1) continue;
        AVCodecContext* codec = ost->enc;
        AVMediaType type = codec->codec_type;
        const AVCodec* encoder = ost->encoder;
        if (!encoder) {
            LogStreamMapping();
            String message = Format(L"Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                                    int(codec->codec_id), ost->file_index, ost->index, TypeName(type));
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        TAVInputStream* ist = run.InputStreamTable[ost->source_index].get();
        if (type == AVMEDIA_TYPE_SUBTITLE) {
            // Text subtitle encoders take their styles from the decoder, known once it is open.
            if (ist->dec && ist->decoder && !ist->decoder_opened) {
                TRunCodecLock lock;
                if (av::avcodec_open2(ist->dec, ist->decoder, nullptr) >= 0) {
                    ist->decoder_opened = true;
                    AddCodecItem(FDecoderList, ist->dec);
                }
            }
            if (ist->dec && ist->dec->subtitle_header && !codec->subtitle_header) {
                codec->subtitle_header = static_cast<uint8_t*>(av::av_mallocz(ist->dec->subtitle_header_size + 1));
                if (codec->subtitle_header) {
                    std::memcpy(codec->subtitle_header, ist->dec->subtitle_header, ist->dec->subtitle_header_size);
                    codec->subtitle_header_size = ist->dec->subtitle_header_size;
                }
            }
            if (codec->time_base.num <= 0 || codec->time_base.den <= 0) codec->time_base = AVRational{1, 1000};
        }
        if (type != AVMEDIA_TYPE_SUBTITLE) SetCodecThreads(codec, encoder, false);
        int result;
        {
            TRunCodecLock lock;
            if (FJoinMode) ost->codec_id = codec->codec_id;
            result = av::avcodec_open2(codec, encoder, nullptr);
            if (result >= 0) AddCodecItem(FEncoderList, codec);
        }
        if (result < 0) {
            LogStreamMapping();
            String message = Format(
                L"Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                L"parameters such as bit_rate, rate, width or height. Please check error log "
                L"message to find out more detail information.",
                ost->file_index, ost->index, TypeName(type));
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        ost->codec_id = codec->codec_id;
        av::avcodec_parameters_from_context(ost->st->codecpar, codec);
        ost->st->time_base = codec->time_base;
        if (type == AVMEDIA_TYPE_VIDEO && codec->framerate.num > 0) ost->st->avg_frame_rate = codec->framerate;
        Fextra_size += codec->extradata_size;
    }
}

void TCustomFFmpeg::OpenDecoders()
{
    TTranscodeRun& run = *FRun;
    for (auto& item : run.InputStreamTable) {
        TAVInputStream* ist = item.get();
        if (ist->decoding_needed != 1 || ist->decoder_opened) continue;
        AVMediaType type = ist->st->codecpar->codec_type;
        if (!ist->decoder || !ist->dec) {
            LogStreamMapping();
            String message = Format(L"Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                                    int(ist->st->codecpar->codec_id), ist->file_index, ist->index, TypeName(type));
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        if (type != AVMEDIA_TYPE_SUBTITLE) SetCodecThreads(ist->dec, ist->decoder, true);
        int result;
        {
            TRunCodecLock lock;
            result = av::avcodec_open2(ist->dec, ist->decoder, nullptr);
            if (result >= 0) AddCodecItem(FDecoderList, ist->dec);
        }
        if (result < 0) {
            LogStreamMapping();
            String message = Format(L"Error while opening decoder for input stream #%d.%d (%s)", ist->file_index,
                                    ist->index, TypeName(type));
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        ist->decoder_opened = true;
    }
}

void TCustomFFmpeg::InitInputTimestamps()
{
    for (auto& item : FRun->InputStreamTable) {
        TAVInputStream* ist = item.get();
        AVRational rate = ist->st->avg_frame_rate;
        int delay = ist->dec ? ist->dec->has_b_frames : ist->st->codecpar->video_delay;
        if (rate.num != 0 && rate.den != 0)
            ist->pts = -NearestInt(double(delay) * 1000000.0 * rate.den / rate.num);
        else
            ist->pts = 0;
        ist->next_pts = AV_NOPTS_VALUE;
        ist->is_start = 1;
    }
}

void TCustomFFmpeg::CopyMetadataMaps()
{
    for (int i = 0; i < Fnb_meta_data_maps; ++i) {
        const TAVMetaDataMap& map = Fmeta_data_maps[i];
        String message;
        if (map.out_file < 0 || map.out_file >= Fnb_output_files)
            message =
                Format(L"Invalid output file index %d map_meta_data(%d,%d)", map.out_file, map.out_file, map.in_file);
        else if (map.in_file < 0 || map.in_file >= Fnb_input_files)
            message =
                Format(L"Invalid input file index %d map_meta_data(%d,%d)", map.in_file, map.out_file, map.in_file);
        if (!message.empty()) {
            LogStreamMapping();
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        // The muxers convert the generic keys to their own conventions themselves.
        av::av_dict_copy(&Foutput_files[map.out_file]->metadata, Finput_files[map.in_file]->metadata,
                         AV_DICT_DONT_OVERWRITE);
    }
}

void TCustomFFmpeg::CopyAllChapters()
{
    int outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    for (int i = 0; i < Fnb_input_files; ++i) {
        AVFormatContext* ic = Finput_files[i];
        if (ic->nb_chapters == 0) continue;
        for (int j = 0; j < outputs; ++j) {
            AVFormatContext* oc = Foutput_files[j];
            for (unsigned c = 0; c < ic->nb_chapters; ++c) {
                const AVChapter* in = ic->chapters[c];
                int64_t ts_off = av::av_rescale_q(Fstart_time - Finput_files_ts_offset[i], AVRational{1, AV_TIME_BASE},
                                                  in->time_base);
                bool limited = Frecording_time != INT64_MAX;
                int64_t rt =
                    limited ? av::av_rescale_q(Frecording_time, AVRational{1, AV_TIME_BASE}, in->time_base) : INT64_MAX;
                if (in->end < ts_off) continue;
                if (limited && in->start > rt + ts_off) break;
                auto* out = static_cast<AVChapter*>(av::av_mallocz(sizeof(AVChapter)));
                if (!out) throw FFmpegException(L"av_mallocz fail");
                out->id = in->id;
                out->time_base = in->time_base;
                out->start = std::max<int64_t>(0, in->start - ts_off);
                out->end = std::min(rt, in->end - ts_off);
                av::av_dict_copy(&out->metadata, in->metadata, 0);
                void* list = av::av_realloc(oc->chapters, sizeof(AVChapter*) * (oc->nb_chapters + 1));
                if (!list) {
                    av::av_dict_free(&out->metadata);
                    av::av_free(out);
                    throw FFmpegException(L"av_realloc fail");
                }
                oc->chapters = static_cast<AVChapter**>(list);
                oc->chapters[oc->nb_chapters++] = out;
            }
        }
    }
}

void TCustomFFmpeg::WriteOutputHeaders()
{
    TTranscodeRun& run = *FRun;
    // Bitstream filters start once their stream's parameters are final: they may change them.
    int count = FJoinMode ? run.JoinBlockSize : int(run.OutputStreamTable.size());
    for (int i = 0; i < count; ++i) {
        TAVOutputStream* ost = run.OutputStreamTable[i].get();
        if (ost->file_index >= FMaxFiles || ost->index >= MaxFileStreams) continue;
        TBitstreamFilterChain& chain = BitstreamFilters(ost->file_index, ost->index);
        const AVCodecParameters* par = ost->st->codecpar;
        AVRational base = ost->st->time_base;
        for (AVBSFContext* bsf : chain) {
            av::avcodec_parameters_copy(bsf->par_in, par);
            bsf->time_base_in = base;
            int result = av::av_bsf_init(bsf);
            if (result < 0)
                throw FFmpegException(
                    ErrorCodeText(Format(L"Error initializing bitstream filter %s", bsf->filter->name), result));
            par = bsf->par_out;
            base = bsf->time_base_out;
        }
        if (!chain.empty()) av::avcodec_parameters_copy(ost->st->codecpar, par);
    }
    int outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    bool allRtp = outputs > 0;
    for (int i = 0; i < outputs; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        // A FourCC the container's tag table gives to another codec (DX50 in MP4) would make the
        // muxer refuse the header: the container's own tag is used instead.
        for (unsigned k = 0; k < oc->nb_streams && oc->oformat->codec_tag; ++k) {
            AVCodecParameters* par = oc->streams[k]->codecpar;
            if (par->codec_tag == 0) continue;
            AVCodecID tagged = av::av_codec_get_id(oc->oformat->codec_tag, par->codec_tag);
            if (tagged == par->codec_id ||
                (tagged == AV_CODEC_ID_NONE && av::av_codec_get_tag(oc->oformat->codec_tag, par->codec_id) == 0))
                continue;
            std::string tag;
            for (int b = 0; b < 4; ++b) tag += char((par->codec_tag >> (8 * b)) & 0xFF);
            DefaultLogger()->Log(this, llWarning,
                                 Format(L"Tag %s does not fit codec %s in format %s: the format's own tag is used", tag,
                                        av::avcodec_get_name(par->codec_id), oc->oformat->name));
            par->codec_tag = 0;
        }
        AVDictionary* options = OutputHeaderOptions(i);
        int result = av::avformat_write_header(oc, &options);
        av::av_dict_free(&options);
        if (result < 0) {
            LogStreamMapping();
            String message = Format(L"Could not write header for output file #%d (incorrect codec parameters ?)", i);
            DefaultLogger()->Log(this, llError, message);
            throw FFmpegException(message);
        }
        run.HeaderWritten[i] = true;
        allRtp = allRtp && std::strcmp(oc->oformat->name, "rtp") == 0;
    }
    if (allRtp) {
        char sdp[2048] = {};
        av::av_sdp_create(Foutput_files.data(), outputs, sdp, sizeof sdp);
        DefaultLogger()->Log(this, llInfo, L"SDP:\r\n" + Trim(Utf8ToString(sdp)));
    }
}

void TCustomFFmpeg::LogStreamMapping()
{
    TTranscodeRun& run = *FRun;
    int outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    for (int i = 0; i < outputs; ++i) av::av_dump_format(Foutput_files[i], i, Foutput_files[i]->url, 1);
    if (Fverbose < 0) return;
    DefaultLogger()->Log(this, llVerbose, L"Stream mapping:");
    for (auto& item : run.OutputStreamTable) {
        const TAVOutputStream* ost = item.get();
        const TAVInputStream* ist = run.InputStreamTable[ost->source_index].get();
        String type = TypeName(ost->st->codecpar->codec_type);
        DefaultLogger()->Log(this, llVerbose,
                             Format(L"  Stream #%d.%d -> #%d.%d (%s)", ist->file_index, ist->index,
                                    FJoinMode ? 0 : ost->file_index, ost->index, type));
        if (ost->sync_ist && ost->sync_ist != ist)
            DefaultLogger()->Log(this, llVerbose,
                                 Format(L" [sync #%d.%d (%s)]", ost->sync_ist->file_index, ost->sync_ist->index, type));
    }
}

void TCustomFFmpeg::FreeStreamTables()
{
    if (!FRun) return;
    TTranscodeRun& run = *FRun;
    av::av_freep(&Fbit_buffer);
    run.InputFileTable.clear();
    for (auto& item : run.InputStreamTable) {
        av::swr_free(&item->s16_ctx);
        av::av_channel_layout_uninit(&item->s16_layout);
    }
    run.InputStreamTable.clear();
    for (auto& item : run.OutputStreamTable) {
        TAVOutputStream* ost = item.get();
        if (ost->logfile) fclose(ost->logfile);
        ost->logfile = nullptr;
        if (ost->fifo) av::av_audio_fifo_free(ost->fifo);
        ost->fifo = nullptr;
        av::av_frame_free(&ost->pict_tmp);
        av::av_frame_free(&ost->audio_frame);
        if (ost->img_resample_ctx) av::sws_freeContext(ost->img_resample_ctx);
        ost->img_resample_ctx = nullptr;
        ost->video_resample = 0;
        av::swr_free(&ost->resample);
        if (ost->filter_graph) av::avfilter_graph_free(&ost->filter_graph);
        ost->input_video_filter = nullptr;
        ost->out_video_filter = nullptr;
    }
    Fgraph = nullptr;
    run.OutputStreamTable.clear();
    av::av_frame_free(&run.DecodedFrame);
    av::av_packet_free(&run.OutPacket);
    if (run.ConvertBuffer) {
        av::av_freep(&run.ConvertBuffer[0]);
        av::av_freep(&run.ConvertBuffer);
    }
}
