// The option setters of a conversion task: one operation per transcoder option, each with its
// checks and messages. The dispatcher (option_dispatch.cpp), the task component, presets and
// targets call them before the task converts.
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "engine/av_bindings.h"
#include "engine/encoder_option_translation.h"
#include "engine/logger.h"
#include "engine/program_files.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

std::string ToUtf8(const String& AText) { return StringToUtf8(AText); }

[[noreturn]] void Fail(const String& AMessage) { throw FFmpegException(AMessage); }

}  // namespace

// --- option contexts ---

bool TCustomFFmpeg::SetContextOption(const std::string& AName, const std::string& AValue, bool* AKnown)
{
    if (AKnown) *AKnown = true;
    // Options of the older libraries that the encoders now take under other names or forms.
    std::string value = IsPartitionList(AName, AValue) ? TranslatePartitions(AValue) : AValue;
    std::vector<TOptionPair> translated;
    if (!TranslateEncoderOption(AName, value, translated)) translated.assign(1, TOptionPair{AName, value});
    for (const TOptionPair& pair : translated) {
        bool known = false, privateKnown = false;
        if (SetFFOption(Options(), pair.Name.c_str(), pair.Value.c_str(), &known)) continue;
        if (!SetPrivateOption(pair.Name, pair.Value, &privateKnown)) {
            if (AKnown) *AKnown = known || privateKnown;
            return false;
        }
    }
    return true;
}

// An option of the encoder named for video, audio or subtitles, or of a muxer: checked against
// that encoder now and kept for the output stage.
bool TCustomFFmpeg::SetPrivateOption(const std::string& AName, const std::string& AValue, bool* AKnown)
{
    if (AKnown) *AKnown = false;
    if (AName.empty() || AValue.empty()) return false;
    const struct {
        AVMediaType Type;
        const std::string& Codec;
    } named[] = {{AVMEDIA_TYPE_VIDEO, Fvideo_codec_name},
                 {AVMEDIA_TYPE_AUDIO, Faudio_codec_name},
                 {AVMEDIA_TYPE_SUBTITLE, Fsubtitle_codec_name}};
    for (const auto& n : named) {
        if (n.Codec.empty()) continue;
        const AVCodec* codec = av::avcodec_find_encoder_by_name(EncoderSuccessorName(n.Codec).c_str());
        if (!codec || !codec->priv_class) continue;
        if (!av::av_opt_find(const_cast<AVClass**>(&codec->priv_class), AName.c_str(), nullptr, 0,
                             AV_OPT_SEARCH_FAKE_OBJ))
            continue;
        if (AKnown) *AKnown = true;
        AVCodecContext* probe = av::avcodec_alloc_context3(codec);
        int result = probe ? av::av_opt_set(probe, AName.c_str(), AValue.c_str(), AV_OPT_SEARCH_CHILDREN) : -1;
        av::avcodec_free_context(&probe);
        if (result < 0) {
            av::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue.c_str(),
                       AName.c_str());
            return false;
        }
        FCodecPrivateOptions[n.Type].push_back(TOptionPair{AName, AValue});
        return true;
    }
    const AVClass* formatClass = av::avformat_get_class();
    if (av::av_opt_find(&formatClass, AName.c_str(), nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ | AV_OPT_SEARCH_CHILDREN)) {
        FFormatPrivateOptions.push_back(TOptionPair{AName, AValue});
        return true;
    }
    return false;
}

bool TCustomFFmpeg::SetContextOptionInt(const std::string& AName, int AValue)
{
    return SetContextOption(AName, std::to_string(AValue));
}

// --- formats, sizes, rates ---

void TCustomFFmpeg::SetFormat(const String& AFormat)
{
    if (AFormat.empty()) return;
    std::string name = ToUtf8(AFormat);
    if (name == "pgmyuv") {
        Fpgmyuv_compatibility_hack = 1;
        DefaultLogger()->Log(this, llInfo, L"pgmyuv format is deprecated, use image2");
        name = "image2";
    }
    Flast_asked_format = name;
}

void TCustomFFmpeg::SetVerbose(int AValue) { Fverbose = AValue; }

void TCustomFFmpeg::SetFrameRate(const String& AText)
{
    if (AText.empty()) return;
    AVRational rate{0, 0};
    if (av::av_parse_video_rate(&rate, ToUtf8(AText).c_str()) < 0) Fail(L"Incorrect frame rate");
    Fframe_rate = rate;
}

void TCustomFFmpeg::SetFrameSize(const String& AText)
{
    if (AText.empty()) return;
    int width = 0, height = 0;
    if (av::av_parse_video_size(&width, &height, ToUtf8(AText).c_str()) < 0) Fail(L"Incorrect frame size");
    Fframe_width = width;
    Fframe_height = height;
}

void TCustomFFmpeg::SetAspectRatio(const String& AText)
{
    if (AText.empty()) return;
    double ratio = 0;
    size_t colon = AText.find(L':');
    if (colon != String::npos) {
        int x = StrToIntDef(AText.substr(0, colon), 0);
        int y = StrToIntDef(AText.substr(colon + 1), 0);
        if (y > 0) ratio = double(x) / double(y);
    } else {
        ratio = StrToFloatDef(AText, 0);
    }
    if (float(ratio) == 0) Fail(L"Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = float(ratio);
}

void TCustomFFmpeg::LogFormatList(bool APixelFormats)
{
    char line[128];
    for (int i = -1;; ++i) {
        if (APixelFormats) {
            if (i >= 0 && !av::av_pix_fmt_desc_get(AVPixelFormat(i))) break;
            av::av_get_pix_fmt_string(line, sizeof line, AVPixelFormat(i));
        } else {
            if (i >= 0 && !av::av_get_sample_fmt_name(AVSampleFormat(i))) break;
            av::av_get_sample_fmt_string(line, sizeof line, AVSampleFormat(i));
        }
        line[sizeof line - 1] = 0;
        DefaultLogger()->Log(this, llInfo, Trim(Utf8ToString(line)));
    }
}

void TCustomFFmpeg::SetPixelFormat(const std::string& AName)
{
    if (AName == "list") {
        LogFormatList(true);
        return;
    }
    AVPixelFormat format = av::av_get_pix_fmt(AName.c_str());
    if (format == AV_PIX_FMT_NONE) Fail(Format(L"Unknown pixel format requested: %s", Utf8ToString(AName)));
    Fframe_pix_fmt = format;
}

void TCustomFFmpeg::SetSampleFormat(const std::string& AName)
{
    if (AName == "list") {
        LogFormatList(false);
        return;
    }
    Faudio_sample_fmt = av::av_get_sample_fmt(AName.c_str());
}

// --- crop bands ---

void TCustomFFmpeg::SetCropBand(int ABand, bool AVertical, int& AField)
{
    if (ABand <= 0) return;
    if (AVertical && ABand >= Fframe_height)
        Fail(
            L"Vertical crop dimensions are outside the range of the original image.\n"
            L"Remember to crop first and scale second.");
    if (!AVertical && ABand >= Fframe_width)
        Fail(
            L"Horizontal crop dimensions are outside the range of the original image.\n"
            L"Remember to crop first and scale second.");
    DefaultLogger()->Log(this, llWarning, L"CropXXX is deprecated in favor of the crop avfilter");
    AField = ABand;
    if (AVertical)
        Fframe_height -= ABand;
    else
        Fframe_width -= ABand;
}

void TCustomFFmpeg::SetCropTop(int ABand) { SetCropBand(ABand, true, Fframe_topBand); }
void TCustomFFmpeg::SetCropBottom(int ABand) { SetCropBand(ABand, true, Fframe_bottomBand); }
void TCustomFFmpeg::SetCropLeft(int ABand) { SetCropBand(ABand, false, Fframe_leftBand); }
void TCustomFFmpeg::SetCropRight(int ABand) { SetCropBand(ABand, false, Fframe_rightBand); }

// --- rates and qualities ---

bool TCustomFFmpeg::SetBitRate(const String& AName, const String& AValue)
{
    if (AName.empty() || AValue.empty()) return false;
    bool result = SetContextOption(ToUtf8(AName), ToUtf8(AValue));
    if (result) {
        AVCodecContext* ctx = Options().avcodec_opts[AName[0] == L'a' ? 1 : 0];
        int64_t bitRate = 0;
        if (ctx && av::av_opt_get_int(ctx, "b", 0, &bitRate) >= 0 && bitRate < 1000)
            DefaultLogger()->Log(this, llWarning,
                                 L"WARNING: The bitrate parameter is set too low. It takes bits/s as "
                                 L"argument, not kbits/s");
    }
    return result;
}

void TCustomFFmpeg::SetVideoQScale(float AValue)
{
    if (!(AValue > 0) || AValue > 255) Fail(L"qscale must be > 0.0 and <= 255");
    Fvideo_qscale = AValue;
}

void TCustomFFmpeg::SetTopFieldFirst(int AValue) { Ftop_field_first = AValue; }
void TCustomFFmpeg::SetVideoChannel(int AValue) { Fvideo_channel = AValue; }
void TCustomFFmpeg::SetMotionThreshold(int AValue) { Fme_threshold = AValue; }

void TCustomFFmpeg::SetAudioSampleRate(int AValue)
{
    if (AValue > 0) Faudio_sample_rate = AValue;
}

void TCustomFFmpeg::SetAudioChannels(int AValue)
{
    if (AValue <= 0) return;
    Faudio_channels = AValue;
    Faudio_channels_chosen = true;
}

void TCustomFFmpeg::SetAudioVolume(int AValue)
{
    if (AValue >= 0) Faudio_volume = AValue;
}

void TCustomFFmpeg::SetAudioSyncMethod(int AValue) { Faudio_sync_method = AValue; }
void TCustomFFmpeg::SetVideoSyncMethod(int AValue) { Fvideo_sync_method = AValue; }

void TCustomFFmpeg::SetMuxMaxDelay(float AValue)
{
    if (AValue > 0) Fmux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(float AValue)
{
    if (AValue > 0) Fmux_preload = AValue;
}

void TCustomFFmpeg::SetVideoStandard(const std::string& AName) { Fvideo_standard = AName; }

void TCustomFFmpeg::SetRateControlOverride(const std::string& AText) { Fvideo_rc_override_string = AText; }

// --- codecs and tags ---

void TCustomFFmpeg::SetCodecName(int& ACopyFlag, std::string& AName, const String& AText)
{
    AName.clear();
    if (AText == L"copy")
        ACopyFlag = 1;
    else
        AName = ToUtf8(AText);
}

void TCustomFFmpeg::SetAudioCodec(const String& AName)
{
    if (!AName.empty()) SetCodecName(Faudio_stream_copy, Faudio_codec_name, AName);
}

void TCustomFFmpeg::SetVideoCodec(const String& AName)
{
    if (!AName.empty()) SetCodecName(Fvideo_stream_copy, Fvideo_codec_name, AName);
}

void TCustomFFmpeg::SetSubtitleCodec(const String& AName)
{
    if (!AName.empty()) SetCodecName(Fsubtitle_stream_copy, Fsubtitle_codec_name, AName);
}

void TCustomFFmpeg::SetTag(uint32_t& ATag, const String& AText, const char* AMessage)
{
    if (AText.empty()) return;
    if (AText.size() != 4) throw EAssertionFailed(Utf8ToString(AMessage));
    // FourCC order: the first character in the lowest byte.
    ATag = 0;
    for (int i = 3; i >= 0; --i) ATag = (ATag << 8) | (uint32_t(AText[i]) & 0xFF);
}

void TCustomFFmpeg::SetAudioTag(const String& ATag)
{
    SetTag(Faudio_codec_tag, ATag, "audio tag parameter must be 4 chars");
}

void TCustomFFmpeg::SetVideoTag(const String& ATag)
{
    SetTag(Fvideo_codec_tag, ATag, "video tag parameter must be 4 chars");
}

void TCustomFFmpeg::SetSubtitleTag(const String& ATag)
{
    SetTag(Fsubtitle_codec_tag, ATag, "subtitle tag parameter must be 4 chars");
}

void TCustomFFmpeg::SetVideoFilters(const String& AText)
{
    if (!AText.empty()) Fvfilters = AText;
}

// --- metadata, maps, stream ids ---

void TCustomFFmpeg::AddMetadata(const std::string& AText)
{
    size_t eq = AText.find('=');
    if (eq == std::string::npos) Fail(L"Missing =");
    AddMetadataPair(AText.substr(0, eq), AText.substr(eq + 1));
}

void TCustomFFmpeg::AddMetadataPair(const std::string& AKey, const std::string& AValue)
{
    Fmetadata.push_back(TMetadataPair{AKey, AValue});
}

long ParseCInteger(const std::string& AText, size_t APos, size_t& AEnd)
{
    if (APos >= AText.size()) {
        AEnd = AText.size();
        return 0;
    }
    const char* start = AText.c_str() + APos;
    char* end = nullptr;
    long value = std::strtol(start, &end, 0);
    AEnd = APos + size_t(end - start);
    return value;
}

void TCustomFFmpeg::AddStreamMap(const std::string& AText)
{
    if (Fnb_stream_maps >= StreamSlotLimit())
        Fail(Format(L"Too many stream maps: at most %d are allowed", StreamSlotLimit()));
    TAVStreamMap map{};
    size_t pos = 0;
    map.file_index = int(ParseCInteger(AText, 0, pos));
    if (pos < AText.size()) map.stream_index = int(ParseCInteger(AText, pos + 1, pos));
    if (pos < AText.size()) {
        map.sync_file_index = int(ParseCInteger(AText, pos + 1, pos));
        if (pos < AText.size()) ++pos;
        map.sync_stream_index = int(ParseCInteger(AText, pos, pos));
    } else {
        map.sync_file_index = map.file_index;
        map.sync_stream_index = map.stream_index;
    }
    SetStreamSlot(Fstream_maps, Fnb_stream_maps++, map);
}

void TCustomFFmpeg::AddMetadataMap(const std::string& AText)
{
    if (Fnb_meta_data_maps >= int(Fmeta_data_maps.size()))
        Fail(Format(L"Too many metadata maps: at most %d are allowed", int(Fmeta_data_maps.size())));
    TAVMetaDataMap map{};
    size_t pos = 0;
    map.out_file = int(ParseCInteger(AText, 0, pos));
    if (pos < AText.size()) ++pos;
    map.in_file = int(ParseCInteger(AText, pos, pos));
    Fmeta_data_maps[Fnb_meta_data_maps++] = map;
}

void TCustomFFmpeg::SetInputTimestampScale(const std::string& AText)
{
    size_t pos = 0;
    long index = ParseCInteger(AText, 0, pos);
    if (pos < AText.size()) ++pos;
    double scale = pos < AText.size() ? std::strtod(AText.c_str() + pos, nullptr) : 0.0;
    if (index < 0 || index >= MaxFileStreams) Fail(Format(L"stream index over MAX_STREAMS(%d)", MaxFileStreams));
    if (Fnb_input_files >= FMaxFiles) Fail(Format(L"max input files %d reached", FMaxFiles));
    std::vector<double>& scales = Finput_files_ts_scale[Fnb_input_files];
    if (scales.empty()) scales.assign(MaxFileStreams, 0.0);
    scales[index] = scale;
}

void TCustomFFmpeg::SetStreamId(const String& AName, const String& AValue)
{
    if (AName.empty() || AValue.empty()) return;
    size_t colon = AValue.find(L':');
    if (colon == String::npos || colon == 0 || colon + 1 == AValue.size())
        Fail(Format(L"Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"", AValue, AName));
    int index = StrToInt(AValue.substr(0, colon));
    int value = StrToInt(AValue.substr(colon + 1));
    if (index < 0 || index >= MaxFileStreams)
        Fail(Format(L"Invalid stream index %d for option \"%s\": it must lie in 0..%d", index, AName,
                    MaxFileStreams - 1));
    Fstreamid_map[index] = value;
}

// --- bitstream filters and video hooks ---

void TCustomFFmpeg::AddBitstreamFilter(const String& AOption, const String& AText)
{
    if (AOption.empty() || AText.empty() || AText[0] == L'=') return;
    String name = AText.substr(0, AText.find(L'='));
    const AVBitStreamFilter* filter = av::av_bsf_get_by_name(ToUtf8(name).c_str());
    AVBSFContext* ctx = nullptr;
    if (!filter || av::av_bsf_alloc(filter, &ctx) < 0 || !ctx)
        Fail(Format(L"Unknown bitstream filter %s", Trim(AText)));
    TBitstreamFilterChain& chain = AOption[0] == L'v'   ? Fvideo_bitstream_filters
                                   : AOption[0] == L'a' ? Faudio_bitstream_filters
                                                        : Fsubtitle_bitstream_filters;
    chain.push_back(ctx);
}

std::vector<std::string> SplitHookWords(const std::string& AText)
{
    const char* separators = AText.find('|') != std::string::npos ? "|" : " ";
    std::vector<std::string> words;
    size_t pos = AText.find_first_not_of(separators);
    while (pos != std::string::npos) {
        size_t end = AText.find_first_of(separators, pos);
        words.push_back(AText.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        pos = end == std::string::npos ? end : AText.find_first_not_of(separators, end);
    }
    return words;
}

void TCustomFFmpeg::AddVideoHook(const std::string& AText)
{
    constexpr size_t MaxHookWords = 64;
    std::vector<std::string> words = SplitHookWords(AText);
    // The hook takes at most 64 words; more would be cut off silently, so refuse them.
    if (words.size() > MaxHookWords) Fail(L"Failed to add video hook function: " + Utf8ToString(AText));
    // The hook keeps pointers into its words for as long as the chain lives.
    FHookWords.push_back(std::move(words));
    std::vector<std::string>& kept = FHookWords.back();
    std::vector<char*> args;
    for (std::string& word : kept) args.push_back(word.data());
    args.push_back(nullptr);
    if (AddFrameHookEntry(int(kept.size()), args.data()) != 0)
        Fail(L"Failed to add video hook function: " + Utf8ToString(AText));
    Fusing_vhook = true;
}

// --- quantiser matrices ---

void TCustomFFmpeg::SetMatrix(std::vector<uint16_t>& AMatrix, const std::string& AText)
{
    AMatrix.assign(64, 0);
    size_t pos = 0;
    for (int i = 0; i < 64; ++i) {
        AMatrix[i] = uint16_t(std::strtol(AText.c_str() + pos, nullptr, 10));
        if (i == 63) break;
        size_t comma = AText.find(',', pos);
        if (comma == std::string::npos)
            Fail(Format(L"Syntax error in matrix \"%s\" at coeff %d", Utf8ToString(AText), i));
        pos = comma + 1;
    }
}

void TCustomFFmpeg::SetIntraMatrix(const std::string& AText) { SetMatrix(Fintra_matrix, AText); }
void TCustomFFmpeg::SetInterMatrix(const std::string& AText) { SetMatrix(Finter_matrix, AText); }

// --- times ---

int64_t TCustomFFmpeg::ParseTime(const std::string& AOption, const std::string& AText, bool AIsDuration)
{
    int64_t value = NoTimestamp;
    if (av::av_parse_time(&value, AText.c_str(), AIsDuration ? 1 : 0) < 0 || value == NoTimestamp)
        Fail(Format(L"Invalid %s specification for %s: %s", String(AIsDuration ? L"duration" : L"date"),
                    Utf8ToString(AOption), Utf8ToString(AText)));
    return value;
}

void TCustomFFmpeg::SetRecordingTime(int64_t AValue)
{
    if (AValue == NoTimestamp) return;
    Frecording_time = AValue;
    FTotalOutputDuration = AValue;
}

void TCustomFFmpeg::SetStartTime(int64_t AValue)
{
    if (AValue != NoTimestamp) Fstart_time = AValue;
}

void TCustomFFmpeg::SetProgramId(int AValue)
{
    if (AValue >= 0) Fopt_programid = AValue;
}

void TCustomFFmpeg::SetPass(int AValue)
{
    if (AValue != 1 && AValue != 2) Fail(L"pass number can be only 1 or 2");
    Fdo_pass = AValue;
}

// --- statistics file ---

void TCustomFFmpeg::SetVideoStatsFile(const std::string& AName) { Fvstats_filename = AName; }

void TCustomFFmpeg::SetVideoStats(bool AEnable)
{
    Fvstats_filename.clear();
    if (!AEnable) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char clock[16];
    std::strftime(clock, sizeof clock, "%H%M%S", &local);
    Fvstats_filename = Format("%svstats_%s.log", ToUtf8(AppPath()), std::string(clock));
}

// --- output streams added by option ---

void TCustomFFmpeg::AddVideoStream()
{
    if (Fnb_output_files <= 0) Fail(L"At least one output file must be specified");
    new_video_stream(Foutput_files[Fnb_output_files - 1]);
}

void TCustomFFmpeg::AddAudioStream()
{
    if (Fnb_output_files <= 0) Fail(L"At least one output file must be specified");
    new_audio_stream(Foutput_files[Fnb_output_files - 1]);
}

void TCustomFFmpeg::AddSubtitleStream()
{
    if (Fnb_output_files <= 0) Fail(L"At least one output file must be specified");
    new_subtitle_stream(Foutput_files[Fnb_output_files - 1]);
}
