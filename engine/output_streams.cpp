// The streams of an output file: new_video_stream, new_audio_stream and new_subtitle_stream add
// one stream to an output context with an encoder context that carries every encoding
// parameter (codec, size, rates, formats fitted to the encoder, quality, rate control, passes),
// or mark it as copied. Opening an output (open_output.cpp) and the options "newvideo",
// "newaudio" and "newsubtitle" call them; the transcode set-up opens the prepared encoders.
// Everything that can fail is checked before the stream is added, so a failure leaves no
// half-made stream in the output.
#include <bit>
#include <cstdio>
#include <cstring>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// The rate-control overrides "start,end,q/start,end,q/...".
std::vector<RcOverride> ParseRcOverride(const std::string& AText)
{
    std::vector<RcOverride> list;
    if (AText.empty()) return list;
    const char* p = AText.c_str();
    while (p) {
        int start = 0, end = 0, q = 0;
        if (std::sscanf(p, "%d,%d,%d", &start, &end, &q) != 3) throw FFmpegException(L"error parsing rc_override");
        RcOverride item{};
        item.start_frame = start;
        item.end_frame = end;
        if (q > 0) {
            item.qscale = q;
            item.quality_factor = 1.0f;
        } else {
            item.qscale = 0;
            item.quality_factor = -float(q) / 100.0f;
        }
        list.push_back(item);
        p = std::strchr(p, '/');
        if (p) ++p;
    }
    return list;
}

void SetLanguage(AVStream* AStream, String& ALanguage)
{
    if (!ALanguage.empty()) av::av_dict_set(&AStream->metadata, "language", StringToUtf8(ALanguage).c_str(), 0);
    ALanguage.clear();
}

}  // namespace

int TCustomFFmpeg::OutputFileIndex(const AVFormatContext* AContext) const
{
    for (int i = 0; i < Fnb_output_files; ++i)
        if (Foutput_files[i] == AContext) return i;
    return Fnb_output_files;
}

// The stream and its encoder context, common to the three stream operations.
TStreamCodec& TCustomFFmpeg::AddOutputStream(AVFormatContext* AContext, AVMediaType AType, const AVCodec* ACodec,
                                             std::string& ACodecName)
{
    // A file holds at most MaxFileStreams streams.
    AVCodecContext* ctx =
        AContext->nb_streams < unsigned(MaxFileStreams) ? av::avcodec_alloc_context3(ACodec) : nullptr;
    AVStream* st = ctx ? av::avformat_new_stream(AContext, nullptr) : nullptr;
    if (!st) {
        av::avcodec_free_context(&ctx);
        ACodecName.clear();
        throw FFmpegException(L"Could not alloc stream");
    }
    st->id = Fstreamid_map[st->index];
    ctx->codec_type = AType;
    auto item = std::make_unique<TStreamCodec>();
    item->st = st;
    item->codec = ctx;
    item->avcodec = ACodec;
    Foutput_stream_codecs.push_back(std::move(item));

    int fileIndex = OutputFileIndex(AContext);
    TBitstreamFilterChain& pending = AType == AVMEDIA_TYPE_VIDEO   ? Fvideo_bitstream_filters
                                     : AType == AVMEDIA_TYPE_AUDIO ? Faudio_bitstream_filters
                                                                   : Fsubtitle_bitstream_filters;
    if (fileIndex < FMaxFiles) {
        TBitstreamFilterChain& chain = BitstreamFilters(fileIndex, st->index);
        for (AVBSFContext*& bsf : chain) av::av_bsf_free(&bsf);
        chain = std::move(pending);
    }
    pending.clear();
    if (AType != AVMEDIA_TYPE_SUBTITLE) ctx->thread_count = Fthread_count;
    uint32_t tag = AType == AVMEDIA_TYPE_VIDEO   ? Fvideo_codec_tag
                   : AType == AVMEDIA_TYPE_AUDIO ? Faudio_codec_tag
                                                 : Fsubtitle_codec_tag;
    if (tag != 0) ctx->codec_tag = tag;
    return *Foutput_stream_codecs.back();
}

// The encoder's own options recorded for its media type; those another encoder does not know
// are left out.
static void ApplyPrivateOptions(AVCodecContext* AContext, const std::vector<TOptionPair>& AOptions)
{
    for (const TOptionPair& pair : AOptions)
        av::av_opt_set(AContext, pair.Name.c_str(), pair.Value.c_str(), AV_OPT_SEARCH_CHILDREN);
}

// The sample aspect ratio of a video stream from the requested size and display aspect: the
// fraction nearest to it with both parts at most 255.
void TCustomFFmpeg::SetVideoAspect(AVStream* AStream, AVCodecContext* ACodec)
{
    double d = Fframe_width * Fframe_height != 0
                   ? double(Fframe_height) * double(Fframe_aspect_ratio) / double(Fframe_width)
                   : double(Fframe_aspect_ratio) * 3.0 / 4.0;
    ACodec->sample_aspect_ratio = av::av_d2q(d, 255);
    AStream->sample_aspect_ratio = ACodec->sample_aspect_ratio;
}

// A bit rate outside the rate limits ("minrate", "maxrate") keeps the encoder from opening;
// the limits win, since they come from a format that demands them (the VCD target's fixed
// 1150 kbit/s against a bit rate chosen for the preset).
void TCustomFFmpeg::FitVideoBitRate(AVCodecContext* ACodec)
{
    int64_t rate = ACodec->bit_rate;
    if (rate <= 0) return;
    if (ACodec->rc_max_rate > 0 && rate > ACodec->rc_max_rate) rate = ACodec->rc_max_rate;
    if (ACodec->rc_min_rate > 0 && rate < ACodec->rc_min_rate) rate = ACodec->rc_min_rate;
    if (rate == ACodec->bit_rate) return;
    DefaultLogger()->Log(this, llWarning,
                         L"Video bit rate %d kbit/s is outside the rate limits of the output, using %d kbit/s",
                         int(ACodec->bit_rate / 1000), int(rate / 1000));
    ACodec->bit_rate = rate;
}

void TCustomFFmpeg::new_video_stream(AVFormatContext* AContext)
{
    const bool copy = Fvideo_stream_copy != 0;
    const AVCodec* codec = nullptr;
    AVCodecID codecId = AV_CODEC_ID_NONE;
    bool named = false;
    std::vector<RcOverride> overrides;
    try {
        if (!copy) {
            if (!Fvideo_codec_name.empty()) {
                int id = 0;
                if (!FindCodec(Fvideo_codec_name.c_str(), AVMEDIA_TYPE_VIDEO, id, OptionCompliance(AVMEDIA_TYPE_VIDEO),
                               true))
                    throw FFmpegException(FLastErrMsg);
                codec = ContainerCodec(AContext, NamedCodec(Fvideo_codec_name.c_str(), true));
                codecId = codec ? codec->id : AVCodecID(id);
                named = true;
            } else {
                codecId = av::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AVMEDIA_TYPE_VIDEO);
                codec = av::avcodec_find_encoder(codecId);
            }
            overrides = ParseRcOverride(Fvideo_rc_override_string);
        }
    } catch (...) {
        Fvideo_codec_name.clear();
        throw;
    }

    TStreamCodec& item = AddOutputStream(AContext, AVMEDIA_TYPE_VIDEO, codec, Fvideo_codec_name);
    AVStream* st = item.st;
    AVCodecContext* ctx = item.codec;
    AVCodecContext* options = Options().avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if ((Fvideo_global_header & 1) || (Fvideo_global_header == 0 && (AContext->oformat->flags & AVFMT_GLOBALHEADER))) {
        ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (options) options->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Fvideo_global_header & 2) {
        ctx->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (options) options->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    if (copy) {
        item.stream_copy = true;
        SetVideoAspect(st, ctx);
    } else {
        AVRational rate = Fframe_rate.num != 0 ? Fframe_rate : AVRational{25, 1};
        if (named) SetStreamSlot(Foutput_codecs, Fnb_ocodecs, codec);
        ctx->codec_id = codecId;
        ApplyFFOptions(Options(), ctx, options, AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
        if (codec) ApplyPrivateOptions(ctx, FCodecPrivateOptions[AVMEDIA_TYPE_VIDEO]);
        FitVideoBitRate(ctx);
        if (codec && codec->supported_framerates && !Fforce_fps)
            rate = codec->supported_framerates[av::av_find_nearest_q_idx(rate, codec->supported_framerates)];
        ctx->time_base = AVRational{rate.den, rate.num};
        ctx->framerate = rate;
        ctx->width = Fframe_width;
        ctx->height = Fframe_height;
        SetVideoAspect(st, ctx);
        ctx->pix_fmt = AVPixelFormat(Fframe_pix_fmt);
        ChoosePixelFormat(ctx, codec);
        if (Fintra_only) ctx->gop_size = 0;
        if (Fvideo_qscale != 0 || Fsame_quality) {
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            item.quality = FF_QP2LAMBDA * Fvideo_qscale;
            ctx->global_quality = int(item.quality);
        }
        auto setMatrix = [](uint16_t*& ATarget, const std::vector<uint16_t>& AMatrix) {
            if (AMatrix.size() != 64) return;
            ATarget = static_cast<uint16_t*>(av::av_malloc(64 * sizeof(uint16_t)));
            if (ATarget) std::memcpy(ATarget, AMatrix.data(), 64 * sizeof(uint16_t));
        };
        setMatrix(ctx->intra_matrix, Fintra_matrix);
        setMatrix(ctx->inter_matrix, Finter_matrix);
        if (!overrides.empty()) {
            ctx->rc_override = static_cast<RcOverride*>(av::av_mallocz(overrides.size() * sizeof(RcOverride)));
            if (ctx->rc_override) {
                std::memcpy(ctx->rc_override, overrides.data(), overrides.size() * sizeof(RcOverride));
                ctx->rc_override_count = int(overrides.size());
            }
        }
        if (ctx->rc_initial_buffer_occupancy == 0) ctx->rc_initial_buffer_occupancy = ctx->rc_buffer_size * 3 / 4;
        ctx->intra_dc_precision = Fintra_dc_precision - 8;
        if (Fdo_psnr) ctx->flags |= AV_CODEC_FLAG_PSNR;
        if (Fdo_pass == 1)
            ctx->flags |= AV_CODEC_FLAG_PASS1;
        else if (Fdo_pass == 2)
            ctx->flags |= AV_CODEC_FLAG_PASS2;
    }
    av::avcodec_parameters_from_context(st->codecpar, ctx);
    StreamSlot(Foutput_codecs, Fnb_ocodecs);  // every stream takes its place
    ++Fnb_ocodecs;
    SetLanguage(st, Fvideo_language);
    Fvideo_disable = false;
    Fvideo_codec_name.clear();
    Fvideo_stream_copy = 0;
    Fframe_pix_fmt = -1;
}

void TCustomFFmpeg::new_audio_stream(AVFormatContext* AContext)
{
    const bool copy = Faudio_stream_copy != 0;
    const AVCodec* codec = nullptr;
    AVCodecID codecId = AV_CODEC_ID_NONE;
    bool named = false;
    if (!copy) {
        if (!Faudio_codec_name.empty()) {
            int id = 0;
            if (!FindCodec(Faudio_codec_name.c_str(), AVMEDIA_TYPE_AUDIO, id, OptionCompliance(AVMEDIA_TYPE_AUDIO),
                           true)) {
                Faudio_codec_name.clear();
                Faudio_language.clear();
                throw FFmpegException(FLastErrMsg);
            }
            codec = ContainerCodec(AContext, NamedCodec(Faudio_codec_name.c_str(), true));
            codecId = codec ? codec->id : AVCodecID(id);
            named = true;
        } else {
            codecId = av::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AVMEDIA_TYPE_AUDIO);
            codec = av::avcodec_find_encoder(codecId);
        }
        // A channel count the user chose and the encoder does not take fails; one taken from
        // the input gives way to the nearest the encoder takes.
        if (Faudio_channels_chosen) {
            try {
                CheckChannelCount(codec, Faudio_channels);
            } catch (...) {
                Faudio_codec_name.clear();
                Faudio_language.clear();
                throw;
            }
        }
    }

    TStreamCodec* added = nullptr;
    try {
        added = &AddOutputStream(AContext, AVMEDIA_TYPE_AUDIO, codec, Faudio_codec_name);
    } catch (...) {
        Faudio_language.clear();
        throw;
    }
    TStreamCodec& item = *added;
    AVStream* st = item.st;
    AVCodecContext* ctx = item.codec;
    AVCodecContext* options = Options().avcodec_opts[AVMEDIA_TYPE_AUDIO];
    if (AContext->oformat->flags & AVFMT_GLOBALHEADER) {
        ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (options) options->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    auto setLayout = [&](int64_t AMask) {
        av::av_channel_layout_uninit(&ctx->ch_layout);
        // A layout whose channels are not the requested count gives way to the default layout.
        if (AMask != 0 && std::popcount(uint64_t(AMask)) == Faudio_channels) {
            ctx->ch_layout.order = AV_CHANNEL_ORDER_NATIVE;
            ctx->ch_layout.nb_channels = Faudio_channels;
            ctx->ch_layout.u.mask = uint64_t(AMask);
        } else if (Faudio_channels > 0) {
            av::av_channel_layout_default(&ctx->ch_layout, Faudio_channels);
        }
    };

    if (copy) {
        item.stream_copy = true;
        setLayout(0);
        ctx->sample_rate = Faudio_sample_rate;
    } else {
        ApplyFFOptions(Options(), ctx, options, AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_AUDIO_PARAM);
        if (codec) ApplyPrivateOptions(ctx, FCodecPrivateOptions[AVMEDIA_TYPE_AUDIO]);
        if (named) SetStreamSlot(Foutput_codecs, Fnb_ocodecs, codec);
        ctx->codec_id = codecId;
        if (Faudio_qscale > -99999.0f) {
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            item.quality = FF_QP2LAMBDA * Faudio_qscale;
            ctx->global_quality = int(item.quality);
        }
        setLayout(Fchannel_layout);
        ctx->sample_fmt = AVSampleFormat(Faudio_sample_fmt);
        ctx->sample_rate = Faudio_sample_rate;
        ChooseSampleFormat(ctx, codec);
        ChooseSampleRate(ctx, codec);
        ChooseChannelLayout(ctx, codec);
    }
    // The time base follows the rate the encoder was given, which the choice may have changed.
    if (ctx->sample_rate > 0) ctx->time_base = AVRational{1, ctx->sample_rate};
    av::avcodec_parameters_from_context(st->codecpar, ctx);
    StreamSlot(Foutput_codecs, Fnb_ocodecs);  // every stream takes its place
    ++Fnb_ocodecs;
    SetLanguage(st, Faudio_language);
    Faudio_disable = false;
    Faudio_codec_name.clear();
    Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(AVFormatContext* AContext)
{
    const bool copy = Fsubtitle_stream_copy != 0;
    const AVCodec* codec = nullptr;
    int codecId = AV_CODEC_ID_NONE;
    if (!copy) {
        if (!FindCodec(Fsubtitle_codec_name.empty() ? nullptr : Fsubtitle_codec_name.c_str(), AVMEDIA_TYPE_SUBTITLE,
                       codecId, OptionCompliance(AVMEDIA_TYPE_SUBTITLE), true)) {
            Fsubtitle_codec_name.clear();
            Fsubtitle_language.clear();
            throw FFmpegException(FLastErrMsg);
        }
        codec = NamedCodec(Fsubtitle_codec_name.empty() ? nullptr : Fsubtitle_codec_name.c_str(), true);
        if (!codec && Fnb_input_files > 0) {
            // None named: the container's own subtitle codec (opening the output checked that it
            // can take the input's subtitles).
            codecId = av::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AVMEDIA_TYPE_SUBTITLE);
            codec = av::avcodec_find_encoder(AVCodecID(codecId));
        }
    }
    TStreamCodec* added = nullptr;
    try {
        added = &AddOutputStream(AContext, AVMEDIA_TYPE_SUBTITLE, codec, Fsubtitle_codec_name);
    } catch (...) {
        Fsubtitle_language.clear();
        throw;
    }
    TStreamCodec& item = *added;
    AVCodecContext* ctx = item.codec;
    if (copy) {
        item.stream_copy = true;
    } else {
        ApplyFFOptions(Options(), ctx, Options().avcodec_opts[AVMEDIA_TYPE_SUBTITLE],
                       AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_SUBTITLE_PARAM);
        if (codec) ApplyPrivateOptions(ctx, FCodecPrivateOptions[AVMEDIA_TYPE_SUBTITLE]);
        ctx->codec_id = AVCodecID(codecId);
        SetStreamSlot(Foutput_codecs, Fnb_ocodecs, codec);
    }
    av::avcodec_parameters_from_context(item.st->codecpar, ctx);
    StreamSlot(Foutput_codecs, Fnb_ocodecs);  // every stream takes its place
    ++Fnb_ocodecs;
    SetLanguage(item.st, Fsubtitle_language);
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_stream_copy = 0;
}
