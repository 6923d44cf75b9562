// The current output settings of the format panel (`PresetSettings`): the `Video_` fields
// of the main window gathered in one record that the main window owns. The catalogue's
// commands (apply a preset, read the parameter choices back, reset) write it; the main
// window turns it into an engine output record when a job is added and copies it into
// the selected job row. The per-file settings dialog works on the main window's record.
#pragma once

#include "platform/framework/core/types.h"

struct PresetSettings {
    String Video_OutPutFileName;        // full path of the output file of the job being added
    String Video_AddFileName;           // full path of the input file being added (kept by the reset)
    String Video_FileExt;               // the preset's container extension with its dot, or empty
    String Video_AudioChannels;         // channel count as text; empty = as the source
    String Video_AudioSampleRate;       // Hz as text; empty or "AUTO" = as the source
    String Video_FrameSize;             // width "*" height; empty = the source size
    String Video_FrameRate;             // frames per second as text; empty = the source rate
    String Video_NormType;              // "PAL", "NTSC" or empty
    String Video_VideoFilters;          // video filter chain; no preset sets it
    String Video_AudioVolume = L"256";  // "256" = unchanged
    String Video_FrameAspectRatio;      // "4:3", "16:9", ...; empty = as the source
    String Video_VideoCodec;            // encoder name; empty = the container's default
    String Video_AudioCodec;            // encoder name; empty or "AUTO" = the container's default
    String Video_CopyTimestamp;         // no preset sets it
    String Video_FileFormat;            // forced container name; no preset sets it
    String Video_TargetType;            // "dvd", "svcd", "vcd" or empty
    String Video_VideoTag;              // FourCC of the video stream, or empty
    int Video_VideoBitrate = -1;        // bit/s; -1 = not set, -1000 = left to the libraries
    int Video_AudioBitrate = -1;        // bit/s; -1 = not set, -1000 = left to the libraries
    int Video_TimeStart = -1;           // no preset sets it
    int Video_TimeLength = -1;          // no preset sets it
    bool Video_DisableVideo = false;    // true = the output gets no video stream

    // Dispatch value (`PresetKey` + 100) of the preset applied or filled last; the reset
    // leaves it alone and nothing in the program reads it.
    int All_Trant_Number = 0;

    friend bool operator==(const PresetSettings&, const PresetSettings&) = default;
};

// Puts every field back to its "not set" value: strings empty but `Video_AudioVolume`
// ("256") and `Video_AddFileName` (kept), the four integers -1, `Video_DisableVideo` false.
// `All_Trant_Number` is left alone.
void ResetPresetSettings(PresetSettings& settings);
