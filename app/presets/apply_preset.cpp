// Applying a preset: its values, the output file name and the job row texts.
#include "app/presets/apply_preset.h"

#include "app/presets/output_name.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/strings.h"

bool ApplyPresetKey(int presetKey, const String& outputFolder, bool overwrite, PresetSettings& settings)
{
    ResetPresetSettings(settings);
    settings.All_Trant_Number = presetKey + 100;
    const TOutputPreset* preset = FindOutputPreset(presetKey);
    if (!preset) return false;

    settings.Video_OutPutFileName = OutputFileName(outputFolder, settings.Video_AddFileName, preset->OutputExt);
    settings.Video_FileExt = preset->FileExt;
    settings.Video_VideoCodec = preset->VideoCodec;
    settings.Video_VideoTag = preset->VideoTag;
    settings.Video_FrameSize = preset->FrameSize;
    settings.Video_VideoBitrate = preset->VideoBitrate;
    settings.Video_FrameRate = preset->FrameRate;
    settings.Video_FrameAspectRatio = preset->FrameAspectRatio;
    settings.Video_AudioCodec = preset->AudioCodec;
    settings.Video_AudioChannels = preset->AudioChannels;
    settings.Video_AudioSampleRate = preset->AudioSampleRate;
    settings.Video_AudioBitrate = preset->AudioBitrate;
    settings.Video_TargetType = preset->TargetType;
    settings.Video_NormType = preset->NormType;
    settings.Video_DisableVideo = preset->DisableVideo;

    // The unique step takes the extension from the output name, not from Video_FileExt.
    settings.Video_OutPutFileName =
        UniqueOutputFileName(outputFolder, ExtractNamePart(settings.Video_OutPutFileName), overwrite);
    return true;
}

bool ApplyPresetOptions(int categoryIndex, int presetIndex, const String& outputFolder, bool overwrite,
                        PresetSettings& settings)
{
    int code = CategoryCodeOf(categoryIndex);
    if (code < 0) {
        ResetPresetSettings(settings);
        return false;
    }
    if (presetIndex < 0 || presetIndex > 99) {
        ResetPresetSettings(settings);
        settings.All_Trant_Number = (code + 1) * 100 + presetIndex;
        return false;
    }
    return ApplyPresetKey(PresetKey(categoryIndex, presetIndex), outputFolder, overwrite, settings);
}

std::array<String, PresetRowColumnCount> PresetRowColumns(const PresetSettings& s)
{
    return {s.Video_VideoCodec,
            s.Video_AudioCodec,
            s.Video_AudioChannels,
            s.Video_VideoTag,
            s.Video_FileExt,
            s.Video_FrameSize,
            IntToStr(s.Video_VideoBitrate),
            s.Video_FrameRate,
            IntToStr(s.Video_AudioBitrate),
            s.Video_AudioSampleRate,
            s.Video_FrameAspectRatio,
            s.Video_DisableVideo ? L"True" : L"False",
            s.Video_TargetType,
            s.Video_NormType};
}
