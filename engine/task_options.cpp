// Defaults of the task option records.
#include "engine/task_options.h"

void InitInputOptions(PInputOptions AOptions)
{
    TInputOptions& o = *AOptions;
    o.FileName.clear();
    o.FileFormat.clear();
    o.TimeStart = NoTimestamp;
    o.ProgramID = -1;
    o.ExtOptions.clear();
    o.Tag = 0;
    o.Data = nullptr;
}

static void InitStreamInfo(TStreamInfo& AInfo)
{
    AInfo.TimeStamp = -1.0;
    AInfo.Year = -1;
    AInfo.Track = -1;
    AInfo.Title.clear();
    AInfo.Author.clear();
    AInfo.Copyright.clear();
    AInfo.Comment.clear();
    AInfo.Album.clear();
    AInfo.Genre.clear();
}

void InitOutputOptions(POutputOptions AOptions)
{
    TOutputOptions& o = *AOptions;
    o.FileName.clear();
    o.FileExt.clear();
    o.FileFormat.clear();
    o.PacketSize = -1;
    o.MuxRate = -1;
    o.MuxDelay = -1.0f;
    o.MuxPreload = -1.0f;
    o.AudioCodec.clear();
    o.AudioPreset.clear();
    o.DisableAudio = false;
    o.AudioVolume = -1;
    o.AudioChannels = -1;
    o.AudioSampleRate = -1;
    o.AudioBitrate = -1;
    o.AudioBitRateTolerance = -1;
    o.AudioLanguage.clear();
    o.AudioSyncMethod = 0;
    o.AudioTag.clear();
    o.VideoCodec.clear();
    o.VideoPreset.clear();
    o.DisableVideo = false;
    o.FrameRate.clear();
    o.FrameSize.clear();
    o.FrameAspectRatio.clear();
    o.CropTop = o.CropBottom = o.CropLeft = o.CropRight = -1;
    o.GroupPictureSize = -1;
    o.VideoBitrate = -1;
    o.VideoMaxRate = -1;
    o.VideoMinRate = -1;
    o.VideoBitRateTolerance = -1;
    o.VideoBufSize = -1;
    o.VideoSyncMethod = -1;
    o.VideoTag.clear();
    o.VideoFilters.clear();
    o.VideoLanguage.clear();
    o.SubtitleCodec.clear();
    o.SubtitlePreset.clear();
    o.DisableSubtitle = false;
    o.SubtitleLanguage.clear();
    o.InputSync = false;
    o.CopyTimestamp = false;
    o.TimeStart = NoTimestamp;
    o.TimeLength = NoTimestamp;
    InitStreamInfo(o.Info);
    o.TargetType = ttIgnore;
    o.NormType = ntAuto;
    o.NormDefault = ntPAL;
    o.CustomHook = false;
    o.Join = false;
    o.ExtOptions.clear();
    o.Tag = 0;
    o.Data = nullptr;
}

const char* TargetTypeText(TOptionTargetType AType)
{
    switch (AType) {
    case ttVCD: return "vcd";
    case ttSVCD: return "svcd";
    case ttDVD: return "dvd";
    default: return "";
    }
}

const char* NormTypeText(TOptionNormType ANorm)
{
    switch (ANorm) {
    case ntPAL: return "pal";
    case ntNTSC: return "ntsc";
    default: return "auto";
    }
}

const char* NormDefaultText(TOptionNormDefault ANorm) { return ANorm == ntPAL ? "pal" : "ntsc"; }
