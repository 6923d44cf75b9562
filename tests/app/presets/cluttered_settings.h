// Current output settings with every field set to a value no preset writes ("old", 7,
// true), so a field that a reset or an apply writes, or leaves, shows.
#pragma once

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
