// TCustomAVProbe::FileInfoText: the multi-line description of an opened file (file lines,
// metadata, programs with their streams, then every other stream), shown in the log when
// a file is added and in the preview panel.
#include <cmath>
#include <cstring>

#include "engine/av_probe.h"
#include "engine/media_utils.h"
#include "engine/small_texts.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

const AVRational MicroSecondBase{1, AV_TIME_BASE};

// Tag keys of ID3v2 frames and the names they are shown under (exact, case-sensitive match).
const struct {
    const char* Key;
    const wchar_t* Name;
} MetadataKeyTable[22] = {
    {"TALB", L"album"},     {"TAL", L"album"},      {"TCOM", L"composer"},  {"TCON", L"genre"},
    {"TCO", L"genre"},      {"TCOP", L"copyright"}, {"TDRL", L"date"},      {"TENC", L"encoder"},
    {"TEN", L"encoder"},    {"TIT2", L"title"},     {"TT2", L"title"},      {"TLAN", L"language"},
    {"TPE1", L"artist"},    {"TP1", L"artist"},     {"TPOS", L"disc"},      {"TPUB", L"publisher"},
    {"TRCK", L"track"},     {"TRK", L"track"},      {"TSOA", L"albumsort"}, {"TSOP", L"authorsort"},
    {"TSOT", L"titlesort"}, {"TYER", L"year"},
};

String MetadataKeyName(const char* AKey)
{
    for (const auto& entry : MetadataKeyTable)
        if (std::strcmp(entry.Key, AKey) == 0) return entry.Name;
    return Utf8ToString(AKey);
}

void AddMetadataLines(std::vector<String>& AList, AVDictionary* AMetadata, const String& AIndent)
{
    if (AMetadata == nullptr) return;
    // A block that holds nothing but the language says nothing worth a line.
    if (av::av_dict_count(AMetadata) == 1 && av::av_dict_get(AMetadata, "language", nullptr, 0) != nullptr) return;
    AList.push_back(Format(L"%sMetadata:", AIndent));
    const AVDictionaryEntry* tag = nullptr;
    while ((tag = av::av_dict_get(AMetadata, "", tag, AV_DICT_IGNORE_SUFFIX)) != nullptr) {
        if (std::strcmp(tag->key, "language") == 0) continue;
        AList.push_back(Format(L"%s  %-16s: %s", AIndent, MetadataKeyName(tag->key), Utf8ToString(tag->value)));
    }
}

// Seconds and microseconds of a time in microseconds, the sign kept in front.
String SecondsText(int64_t AMicroseconds)
{
    const bool negative = AMicroseconds < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(AMicroseconds) : AMicroseconds;
    return Format(L"%s%d.%.6d", String(negative ? L"-" : L""), static_cast<int64_t>(magnitude / 1000000),
                  static_cast<int64_t>(magnitude % 1000000));
}

String RateText(double d, const wchar_t* AWord)
{
    const int64_t v = static_cast<int64_t>(std::nearbyint(d * 100));
    if (v % 100 != 0) return Format(L", %3.2f %s", d, String(AWord));
    if (v % 100000 != 0) return Format(L", %1.0f %s", d, String(AWord));
    return Format(L", %1.0fk %s", d / 1000, String(AWord));
}

// A program's provider or name; the transport stream reader now files them under the
// "service_" keys.
String ProgramText(AVDictionary* AMetadata, const char* AKey, const char* AServiceKey)
{
    String text = GetMetadataText(AMetadata, AKey, String());
    if (text.empty()) text = GetMetadataText(AMetadata, AServiceKey, L"N/A");
    return text;
}

double InverseRate(AVRational r) { return static_cast<double>(r.den) / r.num; }

}  // namespace

void TCustomAVProbe::AddStreamLine(std::vector<String>& AList, int AIndex)
{
    AVStream* st = FFileHandle->streams[AIndex];
    const AVCodecParameters* par = st->codecpar;

    String line = Format(L"Stream #%d", AIndex);
    if (FFileHandle->iformat != nullptr && (FFileHandle->iformat->flags & AVFMT_SHOW_IDS) != 0)
        line += LowerCase(Format(L"[0x%x]", st->id));
    const String language = GetMetadataText(st->metadata, "language", String());
    if (!language.empty()) line += Format(L"(%s)", language);

    int g = static_cast<int>(av::av_gcd(st->time_base.num, st->time_base.den));
    if (g == 0) g = 1;
    line += Format(L", %d/%d", st->time_base.num / g, st->time_base.den / g);

    // The libraries' one-line description needs a codec context: a temporary one from the
    // stream's parameters.
    char buf[256] = {};
    AVCodecContext* ctx = av::avcodec_alloc_context3(nullptr);
    if (ctx != nullptr) {
        if (av::avcodec_parameters_to_context(ctx, par) >= 0) av::avcodec_string(buf, sizeof buf, ctx, 0);
        av::avcodec_free_context(&ctx);
    }
    line += L": " + Utf8ToString(buf);

    const AVRational sar = st->sample_aspect_ratio;
    const AVRational csar = par->sample_aspect_ratio;
    if (sar.num != 0 && static_cast<int64_t>(sar.num) * csar.den != static_cast<int64_t>(csar.num) * sar.den) {
        int darNum = 0;
        int darDen = 0;
        av::av_reduce(&darNum, &darDen, static_cast<int64_t>(par->width) * sar.num,
                      static_cast<int64_t>(par->height) * sar.den, 1024 * 1024);
        line = Format(L"%s, PAR %d:%d DAR %d:%d", line, sar.num, sar.den, darNum, darDen);
    }

    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (st->avg_frame_rate.num != 0 && st->avg_frame_rate.den != 0)
            line += RateText(av_q2d(st->avg_frame_rate), L"fps");
        if (st->r_frame_rate.num != 0 && st->r_frame_rate.den != 0) line += RateText(av_q2d(st->r_frame_rate), L"tbr");
        if (st->time_base.num != 0 && st->time_base.den != 0) line += RateText(InverseRate(st->time_base), L"tbn");
        const AVRational codecBase = av::av_stream_get_codec_timebase(st);
        if (codecBase.num != 0 && codecBase.den != 0) line += RateText(InverseRate(codecBase), L"tbc");
    }

    if (st->start_time != AV_NOPTS_VALUE && st->time_base.den != 0)
        line += L", StartTime: " + SecondsText(av::av_rescale_q(st->start_time, st->time_base, MicroSecondBase));
    if (st->duration == AV_NOPTS_VALUE || st->time_base.den == 0)
        line += L", Duration: N/A";
    else
        line +=
            Format(L", Duration: %s", DurationToText(av::av_rescale_q(st->duration, st->time_base, MicroSecondBase)));

    AList.push_back(line);
    AddMetadataLines(AList, st->metadata, L"  ");
}

String TCustomAVProbe::FileInfoText()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return String();
    }
    AVFormatContext* ic = FFileHandle;
    const TFileStreamInfo info = FileStreamInfo();
    std::vector<String> lines;

    lines.push_back(Format(L"File Name: %s", FileName()));
    lines.push_back(Format(L"Format Name: %s", FormatName()));
    lines.push_back(Format(L"Format Long Name: %s", FormatLongName()));
    lines.push_back(Format(L"File Size: %s", SizeToText(FileSize())));
    if (info.Duration < 0)
        lines.push_back(L"Duration: N/A");
    else
        lines.push_back(Format(L"Duration: %s", DurationToText(info.Duration)));
    if (info.StartTime >= 0) lines.push_back(L"StartTime: " + SecondsText(info.StartTime));
    if (info.BitRate <= 0)
        lines.push_back(L"Bit Rate: N/A");
    else
        lines.push_back(Format(L"Bit Rate: %d kb/s", info.BitRate / 1000));
    if (info.TimeStamp > 0)
        lines.push_back(
            Format(L"Time Stamp: %s", DateTimeToText(L"yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(info.TimeStamp))));
    AddMetadataLines(lines, ic->metadata, String());

    std::vector<bool> shown(ic->nb_streams, false);
    for (unsigned p = 0; p < ic->nb_programs; ++p) {
        const AVProgram* program = ic->programs[p];
        lines.push_back(Format(L"Program %d %s", program->id,
                               ProgramText(program->metadata, "provider_name", "service_provider") + L"@" +
                                   ProgramText(program->metadata, "name", "service_name")));
        AddMetadataLines(lines, program->metadata, L"  ");
        for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
            const unsigned index = program->stream_index[k];
            if (index >= ic->nb_streams) continue;
            AddStreamLine(lines, static_cast<int>(index));
            shown[index] = true;
        }
    }
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (!shown[i]) AddStreamLine(lines, static_cast<int>(i));

    String text;
    for (const String& line : lines) text += line + L"\r\n";
    return text;
}
