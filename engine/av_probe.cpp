// TCustomAVProbe: opening, adopting and closing files, the counts of streams and programs,
// the stream kind tests and the information records of the file and its streams.
#include "engine/av_probe.h"

#include "engine/logger.h"
#include "engine/program_files.h"
#include "engine/unicode_file.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

const AVRational MicroSecondBase{1, AV_TIME_BASE};

// The leading decimal digits of a metadata value ("2009-05-01" gives 2009); 0 when none.
int LeadingNumber(const String& AText)
{
    int value = 0;
    for (wchar_t c : AText) {
        if (c < L'0' || c > L'9') break;
        if (value > 100000000) break;
        value = value * 10 + (c - L'0');
    }
    return value;
}

// A time base whose denominator is 0 gets a usable one, written back into the stream.
void RepairTimeBase(AVStream* st)
{
    if (st->time_base.den == 0) {
        st->time_base.den = st->time_base.num != 0 ? st->time_base.num : 1;
    }
}

}  // namespace

TCustomAVProbe::TCustomAVProbe(TComponent* AOwner) : TFFBaseComponent(AOwner) { TCustomAVProbe::RefreshFileInfo(); }

TCustomAVProbe::~TCustomAVProbe()
{
    if (av::av_free != nullptr) TCustomAVProbe::CloseFile();
}

bool TCustomAVProbe::AVLibLoaded() const { return DefaultLoader().Loaded(ProbeLibraries); }

bool TCustomAVProbe::LoadAVLib(const String& APath)
{
    DefaultLoader().SetLibraryPath(APath);
    if (DefaultLoader().Load(ProbeLibraries)) return true;
    FLastErrMsg = DefaultLoader().LastErrMsg();
    return false;
}

void TCustomAVProbe::UnloadAVLib() { DefaultLoader().Unload(ProbeLibraries); }

void TCustomAVProbe::ReportError(int ALevel, const String& AMsg)
{
    DefaultLogger()->Log(this, LogLevelFromLibrary(ALevel), AMsg);
    FLastErrMsg = AMsg;
}

void TCustomAVProbe::CheckLibraries()
{
    static const struct {
        TLibrary Lib;
        const wchar_t* Text;
    } required[] = {
        {avCodec, L"LibAVCodec not loaded."},
        {avFormat, L"LibAVFormat not loaded."},
        {avUtil, L"LibAVUtil not loaded."},
        {swScale, L"LibSwScale not loaded."},
    };
    for (const auto& r : required)
        if (!DefaultLoader().Loaded(r.Lib)) throw Exception(r.Text);
}

bool TCustomAVProbe::LoadFile(const String& AFileName, const String& AFormatName)
{
    CheckLibraries();
    CloseFile();

    const AVInputFormat* format = nullptr;
    if (!AFormatName.empty()) {
        format = av::av_find_input_format(StringToUtf8(AFormatName).c_str());
        if (format == nullptr) {
            FLastErrMsg = Format(L"Unknown input format: %s", AFormatName);
            return false;
        }
    }

    FFileHandle = av::avformat_alloc_context();
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_ERROR, ErrorCodeText(AFileName, AVERROR(ENOMEM)));
        return false;
    }
    FOwnHandle = true;
    FFileHandle->flags |= AVFMT_FLAG_NONBLOCK;

    const std::string name = EncodeAVFileName(AFileName);
    int e = OpenAVInput(&FFileHandle, name.c_str(), format, nullptr);
    if (e < 0) {
        // The libraries free the context they could not open.
        FFileHandle = nullptr;
        ReportError(AV_LOG_ERROR, ErrorCodeText(AFileName, e));
        CloseFile();
        return false;
    }

    {
        // The stream analysis opens decoders itself.
        TCodecLockScope lock;
        e = av::avformat_find_stream_info(FFileHandle, nullptr);
    }
    if (e < 0) {
        FLastErrMsg = Format(L"%s: could not find codec parameters", AFileName);
        CloseFile();
        return false;
    }

    RefreshFileInfo();
    FForceFormat = AFormatName;
    return true;
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* Value)
{
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = Value;
    RefreshFileInfo();
}

void TCustomAVProbe::CloseFile()
{
    FForceFormat.clear();
    if (FFileHandle != nullptr) {
        if (FOwnHandle) CloseAVInput(&FFileHandle);
        FFileHandle = nullptr;
    }
    RefreshFileInfo();
}

void TCustomAVProbe::RefreshFileInfo()
{
    FFileSize = -1;
    FStreamCount = -1;
    FProgramCount = -1;
    FAudioStreamCount = -1;
    FVideoStreamCount = -1;
    FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = -1;
    FFirstVideoStreamIndex = -1;
    FFirstSubtitleStreamIndex = -1;
    if (FFileHandle == nullptr) return;

    int64_t size = FFileHandle->pb != nullptr ? av::avio_size(FFileHandle->pb) : 0;
    if (size <= 0) {
        const String name = FileName();
        const int64_t onDisk = name.empty() ? -1 : FileSize64(name);
        size = onDisk >= 0 ? onDisk : 0;
    }
    FFileSize = size;

    FStreamCount = static_cast<int>(FFileHandle->nb_streams);
    FProgramCount = static_cast<int>(FFileHandle->nb_programs);
    FAudioStreamCount = 0;
    FVideoStreamCount = 0;
    FSubtitleStreamCount = 0;
    for (int i = 0; i < FStreamCount; ++i) {
        switch (FFileHandle->streams[i]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            ++FVideoStreamCount;
            if (FFirstVideoStreamIndex == -1) FFirstVideoStreamIndex = i;
            break;
        case AVMEDIA_TYPE_AUDIO:
            ++FAudioStreamCount;
            if (FFirstAudioStreamIndex == -1) FFirstAudioStreamIndex = i;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            ++FSubtitleStreamCount;
            if (FFirstSubtitleStreamIndex == -1) FFirstSubtitleStreamIndex = i;
            break;
        default: break;
        }
    }
}

String TCustomAVProbe::FileName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return String();
    }
    return FFileHandle->url != nullptr ? DecodeAVFileName(FFileHandle->url) : String();
}

String TCustomAVProbe::FormatName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return String();
    }
    return FFileHandle->iformat != nullptr ? Utf8ToString(FFileHandle->iformat->name) : String();
}

String TCustomAVProbe::FormatLongName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return String();
    }
    const AVInputFormat* f = FFileHandle->iformat;
    return f != nullptr && f->long_name != nullptr ? Utf8ToString(f->long_name) : String();
}

namespace {

bool StreamIs(AVFormatContext* ic, int index, AVMediaType type)
{
    return ic->streams[index]->codecpar->codec_type == type;
}

}  // namespace

// The stream kind tests share their checks: a loaded file and an index inside it.
bool TCustomAVProbe::StreamIsOfType(int AStreamIndex, int AType)
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return false;
    }
    if (AStreamIndex < 0 || AStreamIndex >= static_cast<int>(FFileHandle->nb_streams)) {
        ReportError(AV_LOG_ERROR, Format(L"stream index #%d is invalid.", AStreamIndex));
        return false;
    }
    return StreamIs(FFileHandle, AStreamIndex, static_cast<AVMediaType>(AType));
}

bool TCustomAVProbe::IsAudioStream(int AStreamIndex) { return StreamIsOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO); }
bool TCustomAVProbe::IsVideoStream(int AStreamIndex) { return StreamIsOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO); }
bool TCustomAVProbe::IsSubtitleStream(int AStreamIndex) { return StreamIsOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE); }

TFileStreamInfo TCustomAVProbe::FileStreamInfo()
{
    TFileStreamInfo info;
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return info;
    }
    AVFormatContext* ic = FFileHandle;
    info.StartTime = ic->start_time == AV_NOPTS_VALUE ? -1 : ic->start_time;
    info.Duration = ic->duration == AV_NOPTS_VALUE ? -1 : ic->duration;
    info.BitRate = static_cast<int>(ic->bit_rate);

    // The time stamp, year and track live in the metadata now.
    info.TimeStamp = 0;
    const String created = GetMetadataText(ic->metadata, "creation_time", String());
    if (!created.empty()) {
        int64_t us = 0;
        if (av::av_parse_time(&us, StringToUtf8(created).c_str(), 0) >= 0 && us > 0) info.TimeStamp = us / AV_TIME_BASE;
    }
    String year = GetMetadataText(ic->metadata, "date", String());
    if (year.empty()) year = GetMetadataText(ic->metadata, "year", String());
    info.Year = LeadingNumber(year);
    info.Track = LeadingNumber(GetMetadataText(ic->metadata, "track", String()));

    info.Title = GetMetadataText(ic->metadata, "title", String());
    info.Author = GetMetadataText(ic->metadata, "author", String());
    if (info.Author.empty()) info.Author = GetMetadataText(ic->metadata, "artist", String());
    info.Copyright = GetMetadataText(ic->metadata, "copyright", String());
    info.Comment = GetMetadataText(ic->metadata, "comment", String());
    info.Album = GetMetadataText(ic->metadata, "album", String());
    info.Genre = GetMetadataText(ic->metadata, "genre", String());
    return info;
}

int TCustomAVProbe::CheckStreamForInfo(int AStreamIndex, int AMediaType)
{
    static const wchar_t* const kindNames[] = {L"video", L"audio", L"data", L"subtitle"};
    const wchar_t* kind = kindNames[AMediaType];
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return -1;
    }
    if (AStreamIndex < 0) {
        int first = AMediaType == AVMEDIA_TYPE_VIDEO   ? FFirstVideoStreamIndex
                    : AMediaType == AVMEDIA_TYPE_AUDIO ? FFirstAudioStreamIndex
                                                       : FFirstSubtitleStreamIndex;
        if (first < 0) ReportError(AV_LOG_ERROR, Format(L"no %s stream.", String(kind)));
        return first;
    }
    if (AStreamIndex >= static_cast<int>(FFileHandle->nb_streams)) {
        ReportError(AV_LOG_ERROR, Format(L"stream index #%d is invalid.", AStreamIndex));
        return -1;
    }
    if (FFileHandle->streams[AStreamIndex]->codecpar->codec_type != AMediaType) {
        ReportError(AV_LOG_ERROR, Format(L"stream #%d is not %s stream.", AStreamIndex, String(kind)));
        return -1;
    }
    return AStreamIndex;
}

namespace {

// The times of a stream record: as they are, and scaled to microseconds when present.
template <typename TInfo>
void FillTimes(TInfo& info, AVStream* st)
{
    info.StartTime = st->start_time;
    info.Duration = st->duration;
    RepairTimeBase(st);
    if (st->start_time != AV_NOPTS_VALUE)
        info.StartTimeScaled = av::av_rescale_q(st->start_time, st->time_base, MicroSecondBase);
    if (st->duration != AV_NOPTS_VALUE)
        info.DurationScaled = av::av_rescale_q(st->duration, st->time_base, MicroSecondBase);
}

}  // namespace

TAudioStreamInfo TCustomAVProbe::GetAudioStreamInfo(int AStreamIndex)
{
    TAudioStreamInfo info;
    const int index = CheckStreamForInfo(AStreamIndex, AVMEDIA_TYPE_AUDIO);
    if (index < 0) return info;
    AVStream* st = FFileHandle->streams[index];
    info.Language = GetMetadataText(st->metadata, "language", String());
    info.CodecName = CodecNameText(st->codecpar, false);
    FillTimes(info, st);
    info.BitRate = static_cast<int>(st->codecpar->bit_rate);
    info.Channels = st->codecpar->ch_layout.nb_channels;
    info.SampleRate = st->codecpar->sample_rate;
    info.SampleFormat = st->codecpar->format;
    return info;
}

TVideoStreamInfo TCustomAVProbe::GetVideoStreamInfo(int AStreamIndex)
{
    TVideoStreamInfo info;
    const int index = CheckStreamForInfo(AStreamIndex, AVMEDIA_TYPE_VIDEO);
    if (index < 0) return info;
    AVStream* st = FFileHandle->streams[index];
    const AVCodecParameters* par = st->codecpar;
    info.Language = GetMetadataText(st->metadata, "language", String());
    info.CodecName = CodecNameText(st->codecpar, false);
    FillTimes(info, st);
    info.BitRate = static_cast<int>(par->bit_rate);
    info.Height = par->height;
    info.Width = par->width;
    // Width over height, widened by the sample aspect ratio (0 without one).
    if (par->height != 0 && par->sample_aspect_ratio.den != 0)
        info.AspectRatio = static_cast<float>(
            par->width * (static_cast<double>(par->sample_aspect_ratio.num) / par->sample_aspect_ratio.den) /
            par->height);
    else
        info.AspectRatio = 0.0f;
    info.PixFmt = par->format;
    info.FrameRate = st->r_frame_rate;
    return info;
}

TSubtitleStreamInfo TCustomAVProbe::GetSubtitleStreamInfo(int AStreamIndex)
{
    TSubtitleStreamInfo info;
    const int index = CheckStreamForInfo(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
    if (index < 0) return info;
    AVStream* st = FFileHandle->streams[index];
    info.Language = GetMetadataText(st->metadata, "language", String());
    info.CodecName = CodecNameText(st->codecpar, false);
    return info;
}
