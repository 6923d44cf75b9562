// Current output settings with every field set to a value no preset writes ("old", 7,
// true), so a field that a reset or an apply writes, or leaves, shows; and the set of
// fields two records differ in.
#pragma once

#include "app/presets/apply_preset.h"
#include "app/presets/preset_settings.h"

inline PresetSettings ClutteredSettings()
{
    PresetSettings s;
    for (String* field : {&s.Video_OutPutFileName, &s.Video_FileExt, &s.Video_AudioChannels, &s.Video_AudioSampleRate,
                          &s.Video_FrameSize, &s.Video_FrameRate, &s.Video_NormType, &s.Video_VideoFilters,
                          &s.Video_AudioVolume, &s.Video_FrameAspectRatio, &s.Video_VideoCodec, &s.Video_AudioCodec,
                          &s.Video_CopyTimestamp, &s.Video_FileFormat, &s.Video_TargetType, &s.Video_VideoTag})
        *field = L"old";
    s.Video_AddFileName = L"/v/clip.final.mkv";
    s.Video_VideoBitrate = s.Video_AudioBitrate = s.Video_TimeStart = s.Video_TimeLength = 7;
    s.Video_DisableVideo = true;
    s.All_Trant_Number = 1234;
    return s;
}

// The fields that differ between two records (the output name and the disabled video apart).
inline TPresetFieldSet ChangedFields(const PresetSettings& a, const PresetSettings& b)
{
    TPresetFieldSet changed = 0;
    auto check = [&](TPresetField field, const auto& x, const auto& y) {
        if (x != y) changed |= field;
    };
    check(pfFileExt, a.Video_FileExt, b.Video_FileExt);
    check(pfVideoCodec, a.Video_VideoCodec, b.Video_VideoCodec);
    check(pfVideoTag, a.Video_VideoTag, b.Video_VideoTag);
    check(pfFrameRate, a.Video_FrameRate, b.Video_FrameRate);
    check(pfFrameAspectRatio, a.Video_FrameAspectRatio, b.Video_FrameAspectRatio);
    check(pfFrameSize, a.Video_FrameSize, b.Video_FrameSize);
    check(pfVideoBitrate, a.Video_VideoBitrate, b.Video_VideoBitrate);
    check(pfVideoFilters, a.Video_VideoFilters, b.Video_VideoFilters);
    check(pfAudioCodec, a.Video_AudioCodec, b.Video_AudioCodec);
    check(pfAudioChannels, a.Video_AudioChannels, b.Video_AudioChannels);
    check(pfAudioSampleRate, a.Video_AudioSampleRate, b.Video_AudioSampleRate);
    check(pfAudioVolume, a.Video_AudioVolume, b.Video_AudioVolume);
    check(pfAudioBitrate, a.Video_AudioBitrate, b.Video_AudioBitrate);
    check(pfNormType, a.Video_NormType, b.Video_NormType);
    check(pfCopyTimestamp, a.Video_CopyTimestamp, b.Video_CopyTimestamp);
    check(pfFileFormat, a.Video_FileFormat, b.Video_FileFormat);
    check(pfTargetType, a.Video_TargetType, b.Video_TargetType);
    return changed;
}
