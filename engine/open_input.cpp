// Opening an input file of a conversion task: the forced format, codecs and format parameters
// set before it, the stream analysis under the codec lock, the start-time seek, and the
// parameters an output created afterwards inherits from the input's streams (frame size,
// aspect, pixel format and frame rate; channels, layout, sample rate and sample format).
// The task component calls OpenInputFile when a task or an input is added.
#include <cmath>

#include "engine/av_bindings.h"
#include "engine/library_loader.h"
#include "engine/logger.h"
#include "engine/transcoder.h"
#include "engine/unicode_file.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// A library ratio as a quotient; a zero part makes it 0.
double RatioValue(AVRational ARatio)
{
    if (ARatio.num == 0 || ARatio.den == 0) return 0;
    return double(ARatio.num) / double(ARatio.den);
}

// Holds the process-wide codec lock for the lifetime of the guard.
class TCodecLockGuard {
public:
    TCodecLockGuard() { CodecLock().Enter(); }
    ~TCodecLockGuard() { CodecLock().Leave(); }
};

}  // namespace

float InputDisplayAspect(int AWidth, int AHeight, float ASampleAspect)
{
    float aspect = ASampleAspect;
    if (AWidth * AHeight != 0) {
        if (aspect != 0)
            aspect = float(AWidth) * aspect / float(AHeight);
        else
            aspect = float(AWidth) / float(AHeight);
    } else if (aspect == 0) {
        aspect = 4.0f / 3.0f;
    }
    return aspect;
}

// The format parameters of the next input as options of the demuxers that take them (raw
// audio and video, capture devices). Sizes, formats and rates go in only when they were set.
AVDictionary* TCustomFFmpeg::InputFormatParameters() const
{
    AVDictionary* params = nullptr;
    if (Faudio_sample_rate > 0) av::av_dict_set(&params, "sample_rate", std::to_string(Faudio_sample_rate).c_str(), 0);
    if (Faudio_channels > 0) {
        AVChannelLayout layout{};
        av::av_channel_layout_default(&layout, Faudio_channels);
        char text[128] = {};
        if (av::av_channel_layout_describe(&layout, text, sizeof text) > 0)
            av::av_dict_set(&params, "ch_layout", text, 0);
        av::av_channel_layout_uninit(&layout);
    }
    if (Fframe_width > 0 && Fframe_height > 0)
        av::av_dict_set(&params, "video_size",
                        (std::to_string(Fframe_width) + "x" + std::to_string(Fframe_height)).c_str(), 0);
    if (Fframe_pix_fmt >= 0) {
        if (const char* name = av::av_get_pix_fmt_name(AVPixelFormat(Fframe_pix_fmt)))
            av::av_dict_set(&params, "pixel_format", name, 0);
    }
    if (Fframe_rate.num > 0 && Fframe_rate.den > 0)
        av::av_dict_set(&params, "framerate",
                        (std::to_string(Fframe_rate.num) + "/" + std::to_string(Fframe_rate.den)).c_str(), 0);
    if (Fvideo_channel != 0) av::av_dict_set(&params, "channel", std::to_string(Fvideo_channel).c_str(), 0);
    if (!Fvideo_standard.empty()) av::av_dict_set(&params, "standard", Fvideo_standard.c_str(), 0);
    // Options of the demuxers' own, set by name before the input.
    for (const TOptionPair& pair : FFormatPrivateOptions)
        av::av_dict_set(&params, pair.Name.c_str(), pair.Value.c_str(), 0);
    return params;
}

void TCustomFFmpeg::ReleaseInputNames()
{
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
}

int TCustomFFmpeg::OpenInputContext(const TInputReopen& ARecipe, AVFormatContext*& AContext, String& AError,
                                    int& ASeekResult)
{
    ASeekResult = 0;
    AVFormatContext* ic = av::avformat_alloc_context();
    if (!ic) throw FFmpegException(L"avformat_alloc_context failed");
    bool opened = false;
    auto fail = [&](const String& AMessage) {
        AError = AMessage;
        if (opened)
            CloseAVInput(&ic);
        else if (ic)
            av::avformat_free_context(ic);
        AContext = nullptr;
    };

    SetFFOptionPairs(ic, ARecipe.ContextOptions);
    ic->video_codec_id = AVCodecID(ARecipe.VideoId);
    ic->audio_codec_id = AVCodecID(ARecipe.AudioId);
    ic->subtitle_codec_id = AVCodecID(ARecipe.SubtitleId);
    ic->flags |= AVFMT_FLAG_NONBLOCK;

    // The input is only ever read: the libraries open it read-only.
    AVDictionary* params = nullptr;
    av::av_dict_copy(&params, ARecipe.Parameters, 0);
    int result = OpenAVInput(&ic, ARecipe.Name.c_str(), ARecipe.Format, &params);
    av::av_dict_free(&params);
    if (result < 0) {
        ic = nullptr;  // freed by the failed opening
        fail(ErrorCodeText(ARecipe.FileName, result));
        return OpenFailed;
    }
    opened = true;

    if (ARecipe.ProgramId != 0) {
        bool found = false;
        for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
        for (unsigned i = 0; i < ic->nb_programs; ++i) {
            AVProgram* program = ic->programs[i];
            if (program->id != ARecipe.ProgramId) {
                program->discard = AVDISCARD_ALL;
                continue;
            }
            found = true;
            for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
                ic->streams[program->stream_index[k]]->discard = AVDISCARD_DEFAULT;
        }
        if (!found) {
            fail(L"Specified program id not found");
            return ProgramNotFound;
        }
    }

    {
        TCodecLockGuard lock;
        result = av::avformat_find_stream_info(ic, nullptr);
    }
    if (result < 0 && !ARecipe.IgnoreAnalysis) {
        fail(Format(L"%s: could not find codec parameters", ARecipe.FileName));
        return AnalysisFailed;
    }

    if (ARecipe.StartTime != 0) {
        int64_t seekPoint = ARecipe.StartTime;
        if (ic->start_time != AV_NOPTS_VALUE) seekPoint += ic->start_time;
        ASeekResult = av::av_seek_frame(ic, -1, seekPoint, AVSEEK_FLAG_BACKWARD);
    }
    AContext = ic;
    return 0;
}

bool TCustomFFmpeg::OpenInputFile(const String& AFileName)
{
    if (Fnb_input_files >= FMaxFiles) {
        FLastErrMsg = Format(L"max input files %d reached", FMaxFiles);
        return false;
    }
    auto recipe = std::make_unique<TInputReopen>();
    if (!Flast_asked_format.empty()) {
        recipe->Format = av::av_find_input_format(Flast_asked_format.c_str());
        if (!recipe->Format) throw FFmpegException(Format(L"Unknown input format: \"%s\"", Flast_asked_format));
        Flast_asked_format.clear();
    }
    auto fail = [&](const String& AMessage) {
        FLastErrMsg = AMessage;
        ReleaseInputNames();
        Fvideo_channel = 0;
        return false;
    };

    recipe->FileName = AFileName;
    recipe->Name = EncodeAVFileName(AFileName);
    recipe->ContextOptions = SelectFFOptions(Options(), Options().avformat_opts, AV_OPT_FLAG_DECODING_PARAM);
    if (!FindCodec(Fvideo_codec_name.empty() ? nullptr : Fvideo_codec_name.c_str(), AVMEDIA_TYPE_VIDEO, recipe->VideoId,
                   OptionCompliance(AVMEDIA_TYPE_VIDEO), false) ||
        !FindCodec(Faudio_codec_name.empty() ? nullptr : Faudio_codec_name.c_str(), AVMEDIA_TYPE_AUDIO, recipe->AudioId,
                   OptionCompliance(AVMEDIA_TYPE_AUDIO), false) ||
        !FindCodec(Fsubtitle_codec_name.empty() ? nullptr : Fsubtitle_codec_name.c_str(), AVMEDIA_TYPE_SUBTITLE,
                   recipe->SubtitleId, OptionCompliance(AVMEDIA_TYPE_SUBTITLE), false))
        return fail(FLastErrMsg);
    if (Fpgmyuv_compatibility_hack) recipe->VideoId = AV_CODEC_ID_PGMYUV;
    recipe->Parameters = InputFormatParameters();
    recipe->ProgramId = Fopt_programid;
    recipe->IgnoreAnalysis = Fverbose < 0;
    recipe->StartTime = Fstart_time;

    AVFormatContext* ic = nullptr;
    String error;
    int seekResult = 0;
    const int opened = OpenInputContext(*recipe, ic, error, seekResult);
    if (opened != ProgramNotFound && opened != OpenFailed) Fopt_programid = 0;
    if (opened == AnalysisFailed) DefaultLogger()->Log(this, llVerbose, error);
    if (opened < 0) return fail(error);
    std::vector<std::unique_ptr<TStreamCodec>> codecs;
    auto release = [&] {
        for (auto& item : codecs) av::avcodec_free_context(&item->codec);
        CloseAVInput(&ic);
    };

    int64_t seekPoint = Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) seekPoint += ic->start_time;
    if (Fstart_time != 0 && seekResult < 0 && Fverbose > 0)
        DefaultLogger()->Log(this, llVerbose, L"%s: could not seek to position %0.3f", AFileName,
                             double(seekPoint) / AV_TIME_BASE);
    Fstart_time = 0;

    const AVCodec* videoDecoder = NamedCodec(Fvideo_codec_name.empty() ? nullptr : Fvideo_codec_name.c_str(), false);
    const AVCodec* audioDecoder = NamedCodec(Faudio_codec_name.empty() ? nullptr : Faudio_codec_name.c_str(), false);
    const AVCodec* subtitleDecoder =
        NamedCodec(Fsubtitle_codec_name.empty() ? nullptr : Fsubtitle_codec_name.c_str(), false);
    int icodecs = Fnb_icodecs;
    auto appendDecoder = [&](const AVCodec* ADecoder) {
        // Every stream takes one place, so the places follow the streams of all inputs.
        SetStreamSlot(Finput_codecs, icodecs, ADecoder);
        ++icodecs;
    };

    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = ic->streams[i];
        AVCodecParameters* par = st->codecpar;
        if (par->codec_type < AVMEDIA_TYPE_UNKNOWN || par->codec_type > AVMEDIA_TYPE_ATTACHMENT) {
            release();
            throw FFmpegException(L"invalid codec_type");
        }
        const AVCodec* named = par->codec_type == AVMEDIA_TYPE_VIDEO      ? videoDecoder
                               : par->codec_type == AVMEDIA_TYPE_AUDIO    ? audioDecoder
                               : par->codec_type == AVMEDIA_TYPE_SUBTITLE ? subtitleDecoder
                                                                          : nullptr;
        const AVCodec* decoder = named ? named : av::avcodec_find_decoder(par->codec_id);
        auto item = std::make_unique<TStreamCodec>();
        item->st = st;
        item->codec = av::avcodec_alloc_context3(decoder);
        item->avcodec = decoder;
        if (!item->codec) {
            release();
            throw FFmpegException(L"avcodec_alloc_context failed");
        }
        AVCodecContext* ctx = item->codec;
        codecs.push_back(std::move(item));
        av::avcodec_parameters_to_context(ctx, par);
        ctx->pkt_timebase = st->time_base;
        ctx->thread_count = Fthread_count;

        switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            ApplyFFOptions(Options(), ctx, Options().avcodec_opts[AVMEDIA_TYPE_VIDEO],
                           AV_OPT_FLAG_DECODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
            Fframe_height = ctx->height;
            Fframe_width = ctx->width;
            double sar = st->sample_aspect_ratio.num != 0 ? RatioValue(st->sample_aspect_ratio)
                                                          : RatioValue(ctx->sample_aspect_ratio);
            Fframe_aspect_ratio = InputDisplayAspect(Fframe_width, Fframe_height, float(sar));
            if (ctx->pix_fmt == AV_PIX_FMT_NONE) ctx->pix_fmt = AV_PIX_FMT_YUV420P;
            Fframe_pix_fmt = ctx->pix_fmt;
            if (ctx->lowres != 0) {
                Fframe_height >>= ctx->lowres;
                Fframe_width >>= ctx->lowres;
            }
            if (Fme_threshold != 0) ctx->debug |= 0x20;
            AVRational codecBase = av::av_stream_get_codec_timebase(st);
            AVRational rate = st->r_frame_rate;
            if (codecBase.num != 0 && codecBase.den != 0 && rate.num != 0 && rate.den != 0 && Fverbose >= 0) {
                // The context is not opened yet, so field-coded streams (two ticks per frame)
                // are known only by their time base.
                auto matches = [&](int ATicks) {
                    return int64_t(codecBase.den) == int64_t(rate.num) * ATicks && codecBase.num == rate.den;
                };
                if (!matches(ctx->ticks_per_frame) && !matches(2))
                    DefaultLogger()->Log(
                        this, llInfo,
                        L"Seems stream %d codec frame rate differs from container frame rate: %2.2f (%d/%d) -> "
                        L"%2.2f (%d/%d)",
                        int(i), double(codecBase.den) / double(codecBase.num), codecBase.den, codecBase.num,
                        double(rate.num) / double(rate.den), rate.num, rate.den);
            }
            Fframe_rate = rate;
            appendDecoder(videoDecoder);
            if (Fvideo_disable)
                st->discard = AVDISCARD_ALL;
            else if (Fvideo_discard != 0)
                st->discard = AVDiscard(Fvideo_discard);
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            ApplyFFOptions(Options(), ctx, Options().avcodec_opts[AVMEDIA_TYPE_AUDIO],
                           AV_OPT_FLAG_DECODING_PARAM | AV_OPT_FLAG_AUDIO_PARAM);
            Fchannel_layout = ctx->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? int64_t(ctx->ch_layout.u.mask) : 0;
            Faudio_channels = ctx->ch_layout.nb_channels;
            Faudio_channels_chosen = false;
            Faudio_sample_rate = ctx->sample_rate;
            Faudio_sample_fmt = ctx->sample_fmt;
            appendDecoder(audioDecoder);
            if (Faudio_disable) st->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            appendDecoder(subtitleDecoder);
            if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
            break;
        default:
            // Data, attachments and unrecognised streams take their place without a decoder.
            appendDecoder(nullptr);
            break;
        }
    }

    if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration) FTotalOutputDuration = ic->duration;
    Fnb_icodecs = icodecs;
    Finput_files[Fnb_input_files] = ic;
    Finput_files_ts_offset[Fnb_input_files] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - seekPoint;
    recipe->FirstStreamCodec = Finput_stream_codecs.size();
    for (auto& item : codecs) Finput_stream_codecs.push_back(std::move(item));
    if (Fverbose >= 0) av::av_dump_format(ic, Fnb_input_files, recipe->Name.c_str(), 0);
    NoteInputOpened(std::move(recipe), ic);
    ++Fnb_input_files;
    Fvideo_channel = 0;
    ReleaseInputNames();
    return true;
}
