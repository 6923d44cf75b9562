// Media utilities: texts, option contexts, whole-file reading, pictures to images, codec names.
#include "engine/media_utils.h"

#include <cstdio>
#include <cstring>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

namespace {

// Option flag masks by media type: video, audio, data, subtitle, attachment.
const int OptionTypeFlags[AVMEDIA_TYPE_NB] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                              AV_OPT_FLAG_SUBTITLE_PARAM, 0};

// The bit-rate options now carry the audio flag as well as the video one; they keep reaching
// only the video encoder (the audio encoder takes "ab"), so the video bit rate never lands in
// the audio encoder.
bool IsVideoOnlyOption(const char* name)
{
    for (const char* n : {"b", "maxrate", "minrate", "bufsize"})
        if (std::strcmp(name, n) == 0) return true;
    return false;
}

bool IsAudioOnlyOption(const char* name) { return std::strcmp(name, "ab") == 0 || std::strcmp(name, "abt") == 0; }

bool AppliesToType(const char* name, int type)
{
    if (IsVideoOnlyOption(name)) return type == AVMEDIA_TYPE_VIDEO;
    if (IsAudioOnlyOption(name)) return type == AVMEDIA_TYPE_AUDIO;
    return true;
}

// Sets name on one context; *found tells whether the context knows it, *option gets it.
int SetOn(void* ctx, const char* name, const char* value, bool* found, const AVOption** option)
{
    if (!ctx) return AVERROR_OPTION_NOT_FOUND;
    const AVOption* o = av::av_opt_find(ctx, name, nullptr, 0, 0);
    if (!o) return AVERROR_OPTION_NOT_FOUND;
    *found = true;
    *option = o;
    return av::av_opt_set(ctx, name, value, 0);
}

String Trimmed(const char* s) { return Trim(Utf8ToString(s ? s : "")); }

}  // namespace

String DurationToText(int64_t AMicroseconds)
{
    if (AMicroseconds == AV_NOPTS_VALUE) return L"N/A";
    int64_t s = AMicroseconds / 1000000;
    long long hours = (s / 60) / 60;
    long long minutes = (s / 60) % 60;
    long long seconds = s % 60;
    long long ms = ((AMicroseconds % 1000000) * 1000) / 1000000;
    char text[96];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld.%.3lld", hours, minutes, seconds, ms);
    return Utf8ToString(text);
}

int64_t FrameDuration(AVRational ARate)
{
    if (ARate.num == 0 || ARate.den == 0) return 40000;
    return static_cast<int64_t>(1000000) * ARate.den / ARate.num;
}

String ErrorCodeText(const String& APrefix, int ACode)
{
    const char* text = nullptr;
    switch (ACode) {
    case AVERROR(ENOENT): text = "No such file or directory"; break;
    case AVERROR(EIO): text = "I/O error"; break;
    case AVERROR(ENOMEM): text = "Not enough memory"; break;
    case AVERROR(EINVAL):
    case AVERROR_INVALIDDATA: text = "Invalid data found when processing input"; break;
    case AVERROR_EOF:
    case -32: text = "End of file"; break;
    case AVERROR(EDOM): text = "Number syntax expected in filename"; break;
    case AVERROR(EILSEQ):
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_MUXER_NOT_FOUND: text = "Unknown format"; break;
    case AVERROR_PROTOCOL_NOT_FOUND: text = "Unsupported network protocol"; break;
    case AVERROR_PATCHWELCOME: text = "Not yet implemented in FFmpeg"; break;
    default: break;
    }
    if (text) return APrefix + L": " + Utf8ToString(text);
    // Other codes are named by the libraries ("Permission denied", "No space left on device");
    // a system error they do not know is named by the C library.
    char buf[AV_ERROR_MAX_STRING_SIZE + 64];
    if (av::av_strerror && av::av_strerror(ACode, buf, sizeof buf) == 0) return APrefix + L": " + Utf8ToString(buf);
    if (ACode < 0 && ACode > -4096) {
        char system[256];
        const char* message = strerror_r(-ACode, system, sizeof system);
        if (message && std::strncmp(message, "Unknown error", 13) != 0) return APrefix + L": " + Utf8ToString(message);
    }
    std::snprintf(buf, sizeof buf, "Error number %d occurred", ACode);
    return APrefix + L": " + Utf8ToString(buf);
}

void InitFFOptions(TFFOptions& AOptions)
{
    AOptions.opt_names.clear();
    for (auto& c : AOptions.avcodec_opts) c = nullptr;
    AOptions.avformat_opts = nullptr;
    AOptions.sws_opts = nullptr;
    AOptions.packed = false;
    for (std::string& text : AOptions.packed_opts) std::string().swap(text);
}

void AllocFFOptions(TFFOptions& AOptions, int ASwsFlags)
{
    for (int t = 0; t < AVMEDIA_TYPE_NB; ++t) {
        AOptions.avcodec_opts[t] = av::avcodec_alloc_context3(nullptr);
        if (AOptions.avcodec_opts[t]) AOptions.avcodec_opts[t]->codec_type = static_cast<AVMediaType>(t);
    }
    AOptions.avformat_opts = av::avformat_alloc_context();
    // A scaler context that only carries the scaler options.
    AOptions.sws_opts = av::sws_alloc_context();
    if (AOptions.sws_opts) av::av_opt_set_int(AOptions.sws_opts, "sws_flags", ASwsFlags, 0);
}

void FreeFFOptions(TFFOptions& AOptions)
{
    for (auto& c : AOptions.avcodec_opts)
        if (c) av::avcodec_free_context(&c);
    if (AOptions.avformat_opts) {
        av::avformat_free_context(AOptions.avformat_opts);
        AOptions.avformat_opts = nullptr;
    }
    if (AOptions.sws_opts) {
        av::sws_freeContext(AOptions.sws_opts);
        AOptions.sws_opts = nullptr;
    }
    AOptions.opt_names.clear();
    AOptions.packed = false;
    for (std::string& text : AOptions.packed_opts) std::string().swap(text);
}

namespace {

constexpr int HolderCount = AVMEDIA_TYPE_NB + 2;

void* Holder(const TFFOptions& AOptions, int AIndex)
{
    if (AIndex < AVMEDIA_TYPE_NB) return AOptions.avcodec_opts[AIndex];
    return AIndex == AVMEDIA_TYPE_NB ? static_cast<void*>(AOptions.avformat_opts)
                                     : static_cast<void*>(AOptions.sws_opts);
}

// The options of a context that differ from their defaults, as the libraries write them.
bool SerializeHolder(void* AHolder, std::string& AText)
{
    char* text = nullptr;
    if (!AHolder || av::av_opt_serialize(AHolder, 0, AV_OPT_SERIALIZE_SKIP_DEFAULTS, &text, '=', ',') < 0)
        return false;
    AText = text ? text : "";
    av::av_free(text);
    return true;
}

// Sets the pairs SerializeHolder wrote (a backslash takes the next character as it is); False
// when one is refused.
bool RestoreHolder(void* AHolder, const std::string& AText)
{
    std::string name, value;
    bool inValue = false;
    auto flush = [&] {
        bool ok = name.empty() || av::av_opt_set(AHolder, name.c_str(), value.c_str(), 0) >= 0;
        name.clear();
        value.clear();
        inValue = false;
        return ok;
    };
    for (size_t i = 0; i < AText.size(); ++i) {
        char c = AText[i];
        if (c == '\\' && i + 1 < AText.size()) {
            (inValue ? value : name) += AText[++i];
        } else if (c == '=' && !inValue) {
            inValue = true;
        } else if (c == ',') {
            if (!flush()) return false;
        } else {
            (inValue ? value : name) += c;
        }
    }
    return flush();
}

// Frees the contexts only; the recorded names stay.
void FreeHolders(TFFOptions& AOptions)
{
    std::vector<const char*> names = std::move(AOptions.opt_names);
    FreeFFOptions(AOptions);
    AOptions.opt_names = std::move(names);
}

}  // namespace

bool PackFFOptions(TFFOptions& AOptions)
{
    if (AOptions.packed) return true;
    std::string texts[HolderCount];
    for (int i = 0; i < HolderCount; ++i)
        if (!SerializeHolder(Holder(AOptions, i), texts[i])) return false;
    int64_t swsFlags = 0;
    if (av::av_opt_get_int(AOptions.sws_opts, "sws_flags", 0, &swsFlags) < 0) return false;
    // Only when fresh contexts given the texts serialize to the same texts.
    TFFOptions trial;
    AllocFFOptions(trial, int(swsFlags));
    bool same = true;
    for (int i = 0; i < HolderCount && same; ++i) {
        std::string again;
        same = Holder(trial, i) && RestoreHolder(Holder(trial, i), texts[i]) &&
               SerializeHolder(Holder(trial, i), again) && again == texts[i];
    }
    FreeFFOptions(trial);
    if (!same) return false;
    FreeHolders(AOptions);
    for (int i = 0; i < HolderCount; ++i) AOptions.packed_opts[i] = std::move(texts[i]);
    AOptions.packed_sws_flags = int(swsFlags);
    AOptions.packed = true;
    return true;
}

void UnpackFFOptions(TFFOptions& AOptions)
{
    if (!AOptions.packed) return;
    AOptions.packed = false;
    AllocFFOptions(AOptions, AOptions.packed_sws_flags);
    for (int i = 0; i < HolderCount; ++i) {
        if (void* holder = Holder(AOptions, i)) RestoreHolder(holder, AOptions.packed_opts[i]);
        AOptions.packed_opts[i].clear();
        AOptions.packed_opts[i].shrink_to_fit();
    }
}

bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue, bool* AKnown)
{
    if (AKnown) *AKnown = false;
    if (Trimmed(AName).empty() || Trimmed(AValue).empty()) return false;

    const AVOption* found = nullptr;
    bool known = false;
    int ret = 0;
    for (int t = 0; t < AVMEDIA_TYPE_NB && ret >= 0; ++t) {
        if (!AOptions.avcodec_opts[0] || !AppliesToType(AName, t)) continue;
        const AVOption* o = av::av_opt_find(AOptions.avcodec_opts[0], AName, nullptr, OptionTypeFlags[t], 0);
        if (o && AOptions.avcodec_opts[t]) {
            found = o;
            known = true;
            ret = av::av_opt_set(AOptions.avcodec_opts[t], AName, AValue, 0);
        }
    }
    if (!known) ret = SetOn(AOptions.avformat_opts, AName, AValue, &known, &found);
    if (!known) ret = SetOn(AOptions.sws_opts, AName, AValue, &known, &found);
    if (!known && (AName[0] == 'a' || AName[0] == 'v' || AName[0] == 's')) {
        int type = AName[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AName[0] == 'v' ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_SUBTITLE;
        ret = SetOn(AOptions.avcodec_opts[type], AName + 1, AValue, &known, &found);
    }
    if (AKnown) *AKnown = known;
    if (known && ret < 0) {
        av::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue, AName);
        return false;
    }
    if (!known) return false;

    AOptions.opt_names.push_back(found->name);
    if ((AOptions.avcodec_opts[0] && AOptions.avcodec_opts[0]->debug) ||
        (AOptions.avformat_opts && AOptions.avformat_opts->debug))
        DefaultLogger()->SetLogLevel(llDebug);
    return true;
}

std::vector<std::pair<std::string, std::string>> SelectFFOptions(const TFFOptions& AOptions, void* ASource, int AFlags)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!ASource) return pairs;
    for (const char* name : AOptions.opt_names) {
        if ((IsVideoOnlyOption(name) && !(AFlags & AV_OPT_FLAG_VIDEO_PARAM)) ||
            (IsAudioOnlyOption(name) && !(AFlags & AV_OPT_FLAG_AUDIO_PARAM)))
            continue;
        const AVOption* o = av::av_opt_find(ASource, name, nullptr, 0, 0);
        if (!o || (o->flags & AFlags) != AFlags) continue;
        uint8_t* text = nullptr;
        if (av::av_opt_get(ASource, name, 0, &text) >= 0 && text)
            pairs.emplace_back(name, reinterpret_cast<const char*>(text));
        av::av_free(text);
    }
    return pairs;
}

void SetFFOptionPairs(void* ATarget, const std::vector<std::pair<std::string, std::string>>& APairs)
{
    if (!ATarget) return;
    for (const auto& [name, value] : APairs)
        av::av_opt_set(ATarget, name.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN);
}

void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, int AFlags)
{
    if (!ATarget || !ASource) return;
    SetFFOptionPairs(ATarget, SelectFFOptions(AOptions, ASource, AFlags));
}

int ReadWholeFile(const char* AFileName, uint8_t** ABuffer, int* ASize)
{
    *ABuffer = nullptr;
    *ASize = 0;
    FILE* f = std::fopen(AFileName, "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (size < 0 || size > 0x7FFFFFFE) {
        std::fclose(f);
        return -1;
    }
    auto* buffer = static_cast<uint8_t*>(av::av_malloc(static_cast<size_t>(size) + 1));
    if (!buffer) {
        std::fclose(f);
        return -12;
    }
    size_t n = std::fread(buffer, 1, static_cast<size_t>(size), f);
    buffer[n] = 0;
    std::fclose(f);
    *ABuffer = buffer;
    *ASize = static_cast<int>(n) + 1;
    return 0;
}

void TFrameImage::SetSize(int AWidth, int AHeight)
{
    Width = AWidth > 0 ? AWidth : 0;
    Height = AHeight > 0 ? AHeight : 0;
    Stride = Width * 4;
    Pixels.assign(static_cast<size_t>(Stride) * Height, 0);
}

void ResetRGBContext(TRGBConvertContext& AContext)
{
    AContext.Bitmap.reset();
    if (AContext.RGBBuf) av::av_free(AContext.RGBBuf);
    AContext.RGBBuf = nullptr;
    if (AContext.toRGB_convert_ctx) av::sws_freeContext(AContext.toRGB_convert_ctx);
    AContext.toRGB_convert_ctx = nullptr;
    if (AContext.fromRGB_convert_ctx) av::sws_freeContext(AContext.fromRGB_convert_ctx);
    AContext.fromRGB_convert_ctx = nullptr;
    AContext.RGBPixFmt = AV_PIX_FMT_BGRA;
    AContext.RGBBufSize = 0;
    AContext.RGBPicture = TAVPicture();
    AContext.RGBPictureRef = nullptr;
}

std::unique_ptr<TFrameImage> CreateFrameBitmap(int AWidth, int AHeight)
{
    auto image = std::make_unique<TFrameImage>();
    image->SetSize(AWidth, AHeight);
    return image;
}

bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt, int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0 || !APicture.data[0]) return false;
    if (!AContext.Bitmap) AContext.Bitmap = CreateFrameBitmap(AWidth, AHeight);
    if (AContext.Bitmap->Width != AWidth || AContext.Bitmap->Height != AHeight)
        AContext.Bitmap->SetSize(AWidth, AHeight);
    TFrameImage& image = *AContext.Bitmap;

    // The scaler is skipped when the picture already has the image's layout.
    bool convert =
        APixFmt != AContext.RGBPixFmt || (AWidth & 1) || (AHeight & 1) || APicture.linesize[0] != image.Stride;
    if (!convert) {
        AContext.RGBPictureRef = &APicture;
    } else {
        // The scaler writes whole vectors: a row may run past the picture's width and the last
        // row past its end. Rows are aligned and the buffer has room behind its last row.
        constexpr int RowAlign = 64;
        int size = av::av_image_get_buffer_size(AContext.RGBPixFmt, AWidth, AHeight, RowAlign);
        if (size < 0) return false;
        size += RowAlign;
        if (!AContext.RGBBuf || AContext.RGBBufSize < size) {
            av::av_free(AContext.RGBBuf);
            AContext.RGBBuf = static_cast<uint8_t*>(av::av_malloc(static_cast<size_t>(size)));
            AContext.RGBBufSize = AContext.RGBBuf ? size : 0;
            if (!AContext.RGBBuf) return false;
        }
        av::av_image_fill_arrays(AContext.RGBPicture.data, AContext.RGBPicture.linesize, AContext.RGBBuf,
                                 AContext.RGBPixFmt, AWidth, AHeight, RowAlign);
        AContext.toRGB_convert_ctx =
            av::sws_getCachedContext(AContext.toRGB_convert_ctx, AWidth, AHeight, static_cast<AVPixelFormat>(APixFmt),
                                     AWidth, AHeight, AContext.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!AContext.toRGB_convert_ctx) return false;
        av::sws_scale(AContext.toRGB_convert_ctx, APicture.data, APicture.linesize, 0, AHeight,
                      AContext.RGBPicture.data, AContext.RGBPicture.linesize);
        AContext.RGBPictureRef = &AContext.RGBPicture;
    }

    const TAVPicture& src = *AContext.RGBPictureRef;
    size_t rowBytes = static_cast<size_t>(image.Stride);
    for (int row = 0; row < AHeight; ++row)
        std::memcpy(image.ScanLine(row), src.data[0] + static_cast<ptrdiff_t>(row) * src.linesize[0], rowBytes);
    return true;
}

bool PictureToBitmap(TRGBConvertContext& AContext, const AVFrame* AFrame)
{
    if (!AFrame) return false;
    TAVPicture picture;
    for (int i = 0; i < 4; ++i) {
        picture.data[i] = AFrame->data[i];
        picture.linesize[i] = AFrame->linesize[i];
    }
    bool ok = PictureToBitmap(AContext, picture, AFrame->format, AFrame->width, AFrame->height);
    if (AContext.RGBPictureRef != &AContext.RGBPicture)
        AContext.RGBPictureRef = nullptr;  // the caller's planes are not kept beyond the call
    return ok;
}

void FrameImageToBitmap(const TFrameImage& AImage, TBitmap& ABitmap)
{
    ABitmap.SetPixelFormat(pf32bit);
    ABitmap.SetSize(AImage.Width, AImage.Height);
    if (ABitmap.Empty()) return;
    size_t rowBytes = static_cast<size_t>(AImage.Width) * 4;
    for (int row = 0; row < AImage.Height; ++row) {
        auto* dst = static_cast<uint8_t*>(ABitmap.ScanLine(row));
        std::memcpy(dst, AImage.ScanLine(row), rowBytes);
        // The scaler's alpha is not a picture's transparency: the frame is opaque.
        for (size_t i = 3; i < rowBytes; i += 4) dst[i] = 0xFF;
    }
}

bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt, int AWidth, int AHeight,
                     TBitmap& ABitmap)
{
    if (!PictureToBitmap(AContext, APicture, APixFmt, AWidth, AHeight)) return false;
    FrameImageToBitmap(*AContext.Bitmap, ABitmap);
    return true;
}

bool PictureToBitmap(TRGBConvertContext& AContext, const AVFrame* AFrame, TBitmap& ABitmap)
{
    if (!PictureToBitmap(AContext, AFrame)) return false;
    FrameImageToBitmap(*AContext.Bitmap, ABitmap);
    return true;
}

String GetMetadataText(const AVDictionary* AMetadata, const char* AKey, const String& ADefault)
{
    const AVDictionaryEntry* tag = av::av_dict_get(AMetadata, AKey, nullptr, 0);
    return tag && tag->value ? Utf8ToString(tag->value) : ADefault;
}

String CodecNameText(AVCodecID ACodecId, uint32_t ACodecTag, bool AEncoder)
{
    const AVCodec* codec = AEncoder ? av::avcodec_find_encoder(ACodecId) : av::avcodec_find_decoder(ACodecId);
    if (codec) {
        String name = Utf8ToString(codec->name ? codec->name : "");
        String longName = Trimmed(codec->long_name);
        return longName.empty() ? name : name + L"(" + longName + L")";
    }
    if (ACodecId == AV_CODEC_ID_MPEG2TS) return L"mpeg2ts";
    unsigned char c[4] = {
        static_cast<unsigned char>(ACodecTag & 0xFF), static_cast<unsigned char>((ACodecTag >> 8) & 0xFF),
        static_cast<unsigned char>((ACodecTag >> 16) & 0xFF), static_cast<unsigned char>((ACodecTag >> 24) & 0xFF)};
    char text[64];
    bool printable = true;
    for (unsigned char ch : c) printable = printable && ch >= 32 && ch <= 126;
    if (printable)
        std::snprintf(text, sizeof text, "%c%c%c%c / 0x%04X", c[0], c[1], c[2], c[3], ACodecTag);
    else
        std::snprintf(text, sizeof text, "0x%04x", ACodecTag);
    return Utf8ToString(text);
}

String CodecNameText(const AVCodecParameters* APar, bool AEncoder)
{
    return APar ? CodecNameText(APar->codec_id, APar->codec_tag, AEncoder) : String();
}

String CodecNameText(const AVCodecContext* AContext, bool AEncoder)
{
    return AContext ? CodecNameText(AContext->codec_id, AContext->codec_tag, AEncoder) : String();
}

String MediaTypeName(int AMediaType)
{
    switch (AMediaType) {
    case 0: return L"Video";
    case 1: return L"Audio";
    case 2: return L"Data";
    case 3: return L"Subtitle";
    case 4: return L"Attachment";
    default: return L"Unknown";
    }
}
