// Finding a codec by name for the opening of inputs and outputs: the named encoder or decoder
// must exist, be of the stream's media type and, unless experimental codecs were allowed, not
// be experimental. Encoders the current libraries lack are taken under their successor's name,
// and an encoder whose codec the output's container cannot store gives way to one it can.
#include "engine/av_bindings.h"
#include "engine/encoder_option_translation.h"
#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

const AVCodec* TCustomFFmpeg::NamedCodec(const char* AName, bool AEncoder, bool ALogSuccessor)
{
    if (!AName || !*AName) return nullptr;
    if (!AEncoder) return av::avcodec_find_decoder_by_name(AName);
    const AVCodec* codec = av::avcodec_find_encoder_by_name(AName);
    if (codec) return codec;
    std::string successor = EncoderSuccessorName(AName);
    if (successor == AName) return nullptr;
    codec = av::avcodec_find_encoder_by_name(successor.c_str());
    if (codec && ALogSuccessor)
        DefaultLogger()->Log(this, llInfo, L"Encoder '%s' is not available, using '%s' instead", AName, successor);
    return codec;
}

const AVCodec* TCustomFFmpeg::ContainerCodec(const AVFormatContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || !AContext || !AContext->oformat) return ACodec;
    // The MPEG program-stream muxers answer "unknown" for every codec but their defaults, so
    // only a definite yes keeps an encoder the table names.
    if (av::avformat_query_codec(AContext->oformat, ACodec->id, FF_COMPLIANCE_NORMAL) == 1) return ACodec;
    std::string successor = ContainerEncoderSuccessorName(AContext->oformat->name, av::avcodec_get_name(ACodec->id));
    const AVCodec* codec = successor.empty() ? nullptr : av::avcodec_find_encoder_by_name(successor.c_str());
    if (!codec || codec->type != ACodec->type) return ACodec;
    DefaultLogger()->Log(this, llInfo, L"Encoder '%s' cannot be stored in '%s', using '%s' instead", ACodec->name,
                         AContext->oformat->name, codec->name);
    return codec;
}

bool TCustomFFmpeg::FindCodec(const char* AName, int AType, int& ACodecID, int AStrict, bool AEncoder)
{
    if (!AName || !*AName) {
        ACodecID = AV_CODEC_ID_NONE;
        return true;
    }
    const wchar_t* kind = AEncoder ? L"encoder" : L"decoder";
    const AVCodec* codec = NamedCodec(AName, AEncoder, true);
    if (!codec) {
        FLastErrMsg = Format(L"Unknown %s '%s'", kind, AName);
        return false;
    }
    if (codec->type != AType) {
        FLastErrMsg = Format(L"Invalid %s type '%s'", kind, AName);
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = Format(
            L"%s '%s' is experimental and might produce bad results.\r\n"
            L"Add '-strict experimental' if you want to use it.",
            kind, codec->name);
        const AVCodec* plain = AEncoder ? av::avcodec_find_encoder(codec->id) : av::avcodec_find_decoder(codec->id);
        if (plain && !(plain->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
            FLastErrMsg += Format(L"\r\nOr use the non experimental %s '%s'.", kind, plain->name);
        return false;
    }
    ACodecID = codec->id;
    return true;
}

int TCustomFFmpeg::OptionCompliance(int AType) const
{
    AVCodecContext* ctx = AType >= 0 && AType < AVMEDIA_TYPE_NB ? Options().avcodec_opts[AType] : nullptr;
    return ctx ? ctx->strict_std_compliance : FF_COMPLIANCE_NORMAL;
}
