// Applying a preset: its values, the output file name and the job row texts.
#include "app/presets/apply_preset.h"

#include "app/presets/output_name.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/strings.h"

void WritePresetFields(const TOutputPreset& p, TPresetFieldSet fields, PresetSettings& s)
{
    auto put = [fields](TPresetField field, auto& target, auto value) {
        if (fields & field) target = value;
    };
    put(pfFileExt, s.Video_FileExt, p.FileExt);
    put(pfVideoCodec, s.Video_VideoCodec, p.VideoCodec);
    put(pfVideoTag, s.Video_VideoTag, p.VideoTag);
    put(pfFrameRate, s.Video_FrameRate, p.FrameRate);
    put(pfFrameAspectRatio, s.Video_FrameAspectRatio, p.FrameAspectRatio);
    put(pfFrameSize, s.Video_FrameSize, p.FrameSize);
    put(pfVideoBitrate, s.Video_VideoBitrate, p.VideoBitrate);
    put(pfVideoFilters, s.Video_VideoFilters, L"");
    put(pfAudioCodec, s.Video_AudioCodec, p.AudioCodec);
    put(pfAudioChannels, s.Video_AudioChannels, p.AudioChannels);
    put(pfAudioSampleRate, s.Video_AudioSampleRate, p.AudioSampleRate);
    put(pfAudioVolume, s.Video_AudioVolume, L"256");
    put(pfAudioBitrate, s.Video_AudioBitrate, p.AudioBitrate);
    put(pfNormType, s.Video_NormType, p.NormType);
    put(pfCopyTimestamp, s.Video_CopyTimestamp, L"");
    put(pfFileFormat, s.Video_FileFormat, L"");
    put(pfTargetType, s.Video_TargetType, p.TargetType);
    put(pfDisableVideo, s.Video_DisableVideo, p.DisableVideo);
}

bool ApplyPresetKey(int presetKey, const String& outputFolder, bool overwrite, PresetSettings& settings)
{
    ResetPresetSettings(settings);
    settings.All_Trant_Number = presetKey + 100;
    const TOutputPreset* preset = FindOutputPreset(presetKey);
    if (!preset) return false;

    settings.Video_OutPutFileName = OutputFileName(outputFolder, settings.Video_AddFileName, preset->OutputExt);
    WritePresetFields(*preset, AllPresetFields, settings);

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
