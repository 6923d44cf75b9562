// The engine output record of a job from the current output settings.
#include "app/job_output_options.h"

#include "platform/framework/core/strings.h"

const wchar_t* const OverwriteOutputOption = L"y=1";

TOptionTargetType TargetTypeOf(const String& AText)
{
    if (AText == L"vcd") return ttVCD;
    if (AText == L"svcd") return ttSVCD;
    if (AText == L"dvd") return ttDVD;
    return ttIgnore;
}

TOptionNormType NormTypeOf(const String& AText)
{
    if (AText == L"PAL") return ntPAL;
    if (AText == L"NTSC") return ntNTSC;
    return ntAuto;
}

void SettingsToOutputOptions(const PresetSettings& S, bool AOverwrite, TOutputOptions& O)
{
    if (!S.Video_VideoCodec.empty()) {
        O.VideoCodec = S.Video_VideoCodec;
        O.VideoPreset = S.Video_VideoCodec == L"libx264" ? L"libx264-default" : L"";
    }
    if (S.Video_AudioCodec != L"AUTO" && !S.Video_AudioCodec.empty()) O.AudioCodec = S.Video_AudioCodec;
    if (!S.Video_FrameRate.empty()) O.FrameRate = S.Video_FrameRate;
    O.DisableVideo = S.Video_DisableVideo;
    if (!S.Video_AudioChannels.empty()) O.AudioChannels = StrToInt(S.Video_AudioChannels);
    if (S.Video_AudioSampleRate != L"AUTO" && !S.Video_AudioSampleRate.empty())
        O.AudioSampleRate = StrToInt(S.Video_AudioSampleRate);
    if (!S.Video_FrameSize.empty()) O.FrameSize = S.Video_FrameSize;
    if (!S.Video_TargetType.empty()) O.TargetType = TargetTypeOf(S.Video_TargetType);
    O.NormType = NormTypeOf(S.Video_NormType);
    O.AudioVolume = S.Video_AudioVolume == L"256" ? 256 : StrToInt(S.Video_AudioVolume);
    if (!S.Video_FrameAspectRatio.empty()) O.FrameAspectRatio = S.Video_FrameAspectRatio;
    if (S.Video_AudioBitrate != -1000 && S.Video_AudioBitrate != -2000) O.AudioBitrate = S.Video_AudioBitrate;
    if (!S.Video_FileFormat.empty()) O.FileFormat = S.Video_FileFormat;
    if (!S.Video_VideoFilters.empty()) O.VideoFilters = S.Video_VideoFilters;
    if (!S.Video_VideoTag.empty()) O.VideoTag = S.Video_VideoTag;
    if (S.Video_VideoBitrate != -1000) O.VideoBitrate = S.Video_VideoBitrate;
    SetOverwriteOption(O, AOverwrite);
}

void SetOverwriteOption(TOutputOptions& O, bool AOverwrite)
{
    // The record's other lines stay as they are, in their order.
    String kept;
    size_t start = 0;
    while (start < O.ExtOptions.size()) {
        size_t end = O.ExtOptions.find(L'\n', start);
        if (end == String::npos) end = O.ExtOptions.size();
        const String line = O.ExtOptions.substr(start, end - start);
        if (Trim(line.substr(0, line.find(L'='))) != L"y") {
            if (!kept.empty()) kept += L'\n';
            kept += line;
        }
        start = end + 1;
    }
    if (AOverwrite) {
        if (!kept.empty()) kept += L'\n';
        kept += OverwriteOutputOption;
    }
    O.ExtOptions = kept;
}
