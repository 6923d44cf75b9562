// The option dispatcher: maps an option name of the transcoder's vocabulary to its setter and
// hands every other name to the option contexts of the media libraries. The task component
// passes each "key=value" line of an ExtOptions text here.
#include <cmath>

#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

using TOptionHandler = void (*)(TCustomFFmpeg& T, const std::string& AName, const std::string& AValue);

struct TOptionEntry {
    const char* Name;
    TOptionHandler Handler;
};

String Wide(const std::string& AText) { return Utf8ToString(AText); }

int AsInt(const std::string& AValue) { return StrToInt(Wide(AValue)); }

int64_t AsInt64(const std::string& AValue)
{
    int64_t value = 0;
    if (!TryStrToInt64(Wide(AValue), value))
        throw EConvertError(L"'" + Wide(AValue) + L"' is not a valid integer value");
    return value;
}

float AsDec(const std::string& AValue) { return float(StrToFloat(Wide(AValue))); }

// "0" is false; every other text, the empty one included, is true.
bool AsBool(const std::string& AValue) { return AValue != "0"; }

// A bit rate the libraries refuse is noted like any refused option.
void SetBitRate(TCustomFFmpeg& T, const std::string& AName, const std::string& AValue)
{
    if (!T.SetBitRate(Wide(AName), Wide(AValue)))
        T.FRefusedOptions.push_back(TCustomFFmpeg::TRefusedOption{Wide(AName), Wide(AValue), true});
}

void DoNothing(TCustomFFmpeg& T, const std::string& AName, const std::string&)
{
    DefaultLogger()->Log(&T, llInfo, L"Do nothing: option - " + Wide(AName));
}

#define OPT(body)                                                      \
    [](TCustomFFmpeg& T, const std::string& N, const std::string& V) { \
        (void)T;                                                       \
        (void)N;                                                       \
        (void)V;                                                       \
        body;                                                          \
    }

const TOptionEntry OptionTable[] = {
    {"L", DoNothing},
    {"h", DoNothing},
    {"version", DoNothing},
    {"formats", DoNothing},
    {"codecs", DoNothing},
    {"bsfs", DoNothing},
    {"protocols", DoNothing},
    {"filters", DoNothing},
    {"loglevel", OPT(DefaultLogger()->OptLogLevel(Wide(V)))},
    {"f", OPT(T.SetFormat(Wide(V)))},
    {"i", DoNothing},
    {"y", OPT(T.Ffile_overwrite = AsBool(V))},
    {"map", OPT(T.AddStreamMap(V))},
    {"map_meta_data", OPT(T.AddMetadataMap(V))},
    {"t", OPT(T.SetRecordingTime(T.ParseTime(N, V, true)))},
    {"fs", OPT(T.Flimit_filesize = AsInt64(V))},
    {"ss", OPT(T.Fstart_time = T.ParseTime(N, V, true))},
    {"itsoffset", OPT(T.Finput_ts_offset = T.ParseTime(N, V, true))},
    {"itsscale", OPT(T.SetInputTimestampScale(V))},
    {"timestamp", OPT(T.Frecording_timestamp = int64_t(std::nearbyint(double(T.ParseTime(N, V, false)) / 1000000.0)))},
    {"metadata", OPT(T.AddMetadata(V))},
    {"dframes", OPT(T.Fmax_frames[2] = AsInt(V))},
    {"benchmark", DoNothing},
    {"timelimit", OPT(DefaultLogger()->Log(&T, llWarning, L"Warning: -timelimit not implemented on Windows"))},
    {"dump", OPT(T.Fdo_pkt_dump = AsBool(V))},
    {"hex", OPT(T.Fdo_hex_dump = AsBool(V))},
    {"re", OPT(T.Frate_emu = AsBool(V))},
    {"loop_input", OPT(T.Floop_input = AsBool(V))},
    {"loop_output", OPT(T.Floop_output = AsInt(V))},
    {"v", OPT(T.SetVerbose(AsInt(V)))},
    {"target", OPT(T.ParseTarget(V))},
    {"threads", OPT(throw FFmpegException(L"TODO: option - " + Wide(N)))},
    {"vsync", OPT(T.Fvideo_sync_method = AsInt(V))},
    {"async", OPT(T.Faudio_sync_method = AsInt(V))},
    {"adrift_threshold", OPT(T.Faudio_drift_threshold = AsDec(V))},
    {"vglobal", OPT(T.Fvideo_global_header = AsInt(V))},
    {"copyts", OPT(T.Fcopy_ts = true)},
    {"shortest", OPT(T.Fopt_shortest = AsBool(V))},
    {"dts_delta_threshold", OPT(T.Fdts_delta_threshold = AsDec(V))},
    {"programid", OPT(T.Fopt_programid = AsInt(V))},
    {"xerror", OPT(T.Fexit_on_error = true)},
    {"copyinkf", OPT(T.Fcopy_initial_nonkeyframes = AsInt(V))},
    {"b", OPT(SetBitRate(T, N, V))},
    {"vb", OPT(SetBitRate(T, N, V))},
    {"vframes", OPT(T.Fmax_frames[0] = AsInt(V))},
    {"r", OPT(T.SetFrameRate(Wide(V)))},
    {"s", OPT(T.SetFrameSize(Wide(V)))},
    {"aspect", OPT(T.SetAspectRatio(Wide(V)))},
    {"pix_fmt", OPT(T.SetPixelFormat(V))},
    {"croptop", OPT(T.SetCropTop(AsInt(V)))},
    {"cropbottom", OPT(T.SetCropBottom(AsInt(V)))},
    {"cropleft", OPT(T.SetCropLeft(AsInt(V)))},
    {"cropright", OPT(T.SetCropRight(AsInt(V)))},
    {"padtop", OPT(throw FFmpegException(L"Please use vfilters=pad"))},
    {"padbottom", OPT(throw FFmpegException(L"Please use vfilters=pad"))},
    {"padleft", OPT(throw FFmpegException(L"Please use vfilters=pad"))},
    {"padright", OPT(throw FFmpegException(L"Please use vfilters=pad"))},
    {"padcolor", OPT(throw FFmpegException(L"Please use vfilters=pad"))},
    {"intra", OPT(T.Fintra_only = AsBool(V))},
    {"vn", OPT(T.Fvideo_disable = AsBool(V))},
    {"vdt", OPT(T.Fvideo_discard = AsInt(V))},
    {"qscale", OPT(T.SetVideoQScale(AsDec(V)))},
    {"rc_override", OPT(T.SetRateControlOverride(V))},
    {"vcodec", OPT(T.SetVideoCodec(Wide(V)))},
    {"me_threshold", OPT(T.SetMotionThreshold(AsInt(V)))},
    {"sameq", OPT(T.Fsame_quality = AsBool(V))},
    {"pass", OPT(T.SetPass(AsInt(V)))},
    {"passlogfile", OPT(T.Fpass_logfilename_prefix = V)},
    {"deinterlace", OPT(T.Fdo_deinterlace = AsBool(V))},
    {"psnr", OPT(T.Fdo_psnr = AsBool(V))},
    {"vstats", OPT(T.SetVideoStats(true))},
    {"vstats_file", OPT(T.SetVideoStatsFile(V))},
    {"vhook", OPT(T.AddVideoHook(V))},
    {"vfilters", OPT(T.SetVideoFilters(Wide(V)))},
    {"vf", OPT(T.SetVideoFilters(Wide(V)))},
    {"intra_matrix", OPT(T.SetIntraMatrix(V))},
    {"inter_matrix", OPT(T.SetInterMatrix(V))},
    {"top", OPT(T.SetTopFieldFirst(AsInt(V)))},
    {"dc", OPT(T.Fintra_dc_precision = AsInt(V))},
    {"vtag", OPT(T.SetVideoTag(Wide(V)))},
    {"newvideo", OPT(T.AddVideoStream())},
    {"vlang", OPT(T.Fvideo_language = Wide(V))},
    {"qphist", OPT(T.Fqp_hist = AsBool(V))},
    {"force_fps", OPT(T.Fforce_fps = AsBool(V))},
    {"streamid", OPT(T.SetStreamId(Wide(N), Wide(V)))},
    {"ab", OPT(SetBitRate(T, N, V))},
    {"aframes", OPT(T.Fmax_frames[1] = AsInt(V))},
    {"aq", OPT(T.Faudio_qscale = AsDec(V))},
    {"ar", OPT(T.SetAudioSampleRate(AsInt(V)))},
    {"ac", OPT(T.SetAudioChannels(AsInt(V)))},
    {"an", OPT(T.Faudio_disable = AsBool(V))},
    {"acodec", OPT(T.SetAudioCodec(Wide(V)))},
    {"atag", OPT(T.SetAudioTag(Wide(V)))},
    {"vol", OPT(T.Faudio_volume = AsInt(V))},
    {"newaudio", OPT(T.AddAudioStream())},
    {"alang", OPT(T.Faudio_language = Wide(V))},
    {"sample_fmt", OPT(T.SetSampleFormat(V))},
    {"sn", OPT(T.Fsubtitle_disable = AsBool(V))},
    {"scodec", OPT(T.SetSubtitleCodec(Wide(V)))},
    {"newsubtitle", OPT(T.AddSubtitleStream())},
    {"slang", OPT(T.Fsubtitle_language = Wide(V))},
    {"stag", OPT(T.SetSubtitleTag(Wide(V)))},
    {"vc", OPT(T.SetVideoChannel(AsInt(V)))},
    {"tvstd", OPT(T.SetVideoStandard(V))},
    {"isync", OPT(T.Finput_sync = AsBool(V))},
    {"muxdelay", OPT(T.Fmux_max_delay = AsDec(V))},
    {"muxpreload", OPT(T.Fmux_preload = AsDec(V))},
    {"absf", OPT(T.AddBitstreamFilter(Wide(N), Wide(V)))},
    {"vbsf", OPT(T.AddBitstreamFilter(Wide(N), Wide(V)))},
    {"sbsf", OPT(T.AddBitstreamFilter(Wide(N), Wide(V)))},
    {"apre", OPT(T.LoadPreset(Wide(N), Wide(V)))},
    {"vpre", OPT(T.LoadPreset(Wide(N), Wide(V)))},
    {"spre", OPT(T.LoadPreset(Wide(N), Wide(V)))},
    {"fpre", OPT(T.LoadPreset(Wide(N), Wide(V)))},
};

#undef OPT

}  // namespace

int EngineOptionCount() { return int(sizeof OptionTable / sizeof OptionTable[0]); }

void TCustomFFmpeg::ApplyOption(const String& AName, const String& AValue)
{
    std::string name = StringToUtf8(AName);
    std::string value = StringToUtf8(AValue);
    for (const TOptionEntry& entry : OptionTable) {
        if (name == entry.Name) {
            entry.Handler(*this, name, value);
            return;
        }
    }
    // Names of the libraries' own options; a refusal there is logged by the option contexts.
    bool known = false;
    if (!SetContextOption(name, value, &known)) FRefusedOptions.push_back(TRefusedOption{AName, AValue, known});
}
