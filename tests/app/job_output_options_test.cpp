// The output record of a job from the current output settings: which settings reach the
// record, which texts and numbers mean "not set", the libx264 preset, exact comparisons, the
// overwrite line and a number field that holds no number.
#include <gtest/gtest.h>

#include "app/job_output_options.h"
#include "app/presets/presets.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

namespace {

TOutputOptions Converted(const PresetSettings& ASettings, bool AOverwrite = false)
{
    TOutputOptions o;
    InitOutputOptions(&o);
    SettingsToOutputOptions(ASettings, AOverwrite, o);
    return o;
}

TEST(SettingsToOutputOptions, ResetSettingsLeaveTheDefaultsButVolumeAndBitRates)
{
    PresetSettings s;
    ResetPresetSettings(s);
    TOutputOptions o = Converted(s);
    TOutputOptions d;
    InitOutputOptions(&d);
    EXPECT_EQ(o.VideoCodec, L"");
    EXPECT_EQ(o.VideoPreset, L"");
    EXPECT_EQ(o.AudioCodec, L"");
    EXPECT_EQ(o.FrameRate, L"");
    EXPECT_EQ(o.FrameSize, L"");
    EXPECT_EQ(o.FrameAspectRatio, L"");
    EXPECT_EQ(o.AudioChannels, d.AudioChannels);
    EXPECT_EQ(o.AudioSampleRate, d.AudioSampleRate);
    EXPECT_EQ(o.TargetType, ttIgnore);
    EXPECT_EQ(o.NormType, ntAuto);
    EXPECT_EQ(o.AudioVolume, 256);
    EXPECT_EQ(o.AudioBitrate, -1);  // the reset value goes through: not greater than 0
    EXPECT_EQ(o.VideoBitrate, -1);
    EXPECT_FALSE(o.DisableVideo);
    EXPECT_EQ(o.ExtOptions, L"");
    EXPECT_EQ(o.FileExt, L"");
    EXPECT_EQ(o.FileName, L"");
}

TEST(SettingsToOutputOptions, EveryFieldOfAPresetReachesTheRecord)
{
    PresetSettings s;
    s.Video_AddFileName = L"/in/片.avi";
    ASSERT_TRUE(ApplyPresetKey(9, L"/out", true, s));  // 3GP: mpeg4, 176*144, 12 fps, 4:3, libfaac mono 8 kHz
    s.Video_FileFormat = L"3gp";
    s.Video_VideoFilters = L"hflip";
    s.Video_VideoTag = L"mp4v";
    s.Video_AudioVolume = L"300";
    TOutputOptions o = Converted(s);
    EXPECT_EQ(o.VideoCodec, L"mpeg4");
    EXPECT_EQ(o.VideoPreset, L"");
    EXPECT_EQ(o.AudioCodec, L"libfaac");
    EXPECT_EQ(o.FrameRate, L"12");
    EXPECT_EQ(o.FrameSize, L"176*144");
    EXPECT_EQ(o.FrameAspectRatio, L"4:3");
    EXPECT_EQ(o.AudioChannels, 1);
    EXPECT_EQ(o.AudioSampleRate, 8000);
    EXPECT_EQ(o.AudioBitrate, 12000);
    EXPECT_EQ(o.VideoBitrate, 128000);
    EXPECT_EQ(o.AudioVolume, 300);
    EXPECT_EQ(o.FileFormat, L"3gp");
    EXPECT_EQ(o.VideoFilters, L"hflip");
    EXPECT_EQ(o.VideoTag, L"mp4v");
    EXPECT_EQ(o.FileExt, L"");  // the record's extension is the caller's, not the preset's
}

TEST(SettingsToOutputOptions, Libx264TakesItsDefaultPreset)
{
    for (const wchar_t* codec : {L"libx264", L"mpeg4", L"libxvid", L"LIBX264"}) {
        PresetSettings s;
        s.Video_VideoCodec = codec;
        TOutputOptions o = Converted(s);
        EXPECT_EQ(o.VideoCodec, codec);
        EXPECT_EQ(o.VideoPreset, String(codec) == L"libx264" ? L"libx264-default" : L"");
    }
}

TEST(SettingsToOutputOptions, NotSetTextsAndNumbers)
{
    PresetSettings s;
    s.Video_AudioCodec = L"AUTO";
    s.Video_AudioSampleRate = L"AUTO";
    s.Video_AudioBitrate = -1000;
    s.Video_VideoBitrate = -1000;
    TOutputOptions o = Converted(s);
    EXPECT_EQ(o.AudioCodec, L"");
    EXPECT_EQ(o.AudioSampleRate, -1);
    EXPECT_EQ(o.AudioBitrate, -1);
    EXPECT_EQ(o.VideoBitrate, -1);
    s.Video_AudioBitrate = -2000;
    EXPECT_EQ(Converted(s).AudioBitrate, -1);
}

TEST(SettingsToOutputOptions, TargetsAndNormsCompareExactly)
{
    struct Case {
        const wchar_t* Target;
        const wchar_t* Norm;
        TOptionTargetType Type;
        TOptionNormType NormType;
    } cases[] = {
        {L"dvd", L"PAL", ttDVD, ntPAL},     {L"svcd", L"NTSC", ttSVCD, ntNTSC}, {L"vcd", L"", ttVCD, ntAuto},
        {L"DVD", L"pal", ttIgnore, ntAuto}, {L"", L"ntsc", ttIgnore, ntAuto},
    };
    for (const Case& c : cases) {
        PresetSettings s;
        s.Video_TargetType = c.Target;
        s.Video_NormType = c.Norm;
        TOutputOptions o = Converted(s);
        EXPECT_EQ(o.TargetType, c.Type) << StringToUtf8(c.Target);
        EXPECT_EQ(o.NormType, c.NormType) << StringToUtf8(c.Norm);
    }
}

TEST(SettingsToOutputOptions, OverwriteAddsTheOptionLineAfterTheRecordsOwn)
{
    PresetSettings s;
    EXPECT_EQ(Converted(s, true).ExtOptions, L"y=1");
    TOutputOptions o;
    InitOutputOptions(&o);
    o.ExtOptions = L"ab=64000";
    SettingsToOutputOptions(s, true, o);
    EXPECT_EQ(o.ExtOptions, L"ab=64000\ny=1");
}

// The start decides for every job: a choice made when the job was added does not stay.
TEST(SetOverwriteOption, ReplacesWhateverTheRecordSaid)
{
    const struct {
        const wchar_t* Before;
        bool Overwrite;
        const wchar_t* After;
    } cases[] = {
        {L"", true, L"y=1"},
        {L"y=1", false, L""},
        {L"ab=64000\ny=1\nvol=300", false, L"ab=64000\nvol=300"},
        {L"ab=64000\ny=1", true, L"ab=64000\ny=1"},
        {L"y = 0\nab=64000\n", true, L"ab=64000\ny=1"},
    };
    for (const auto& c : cases) {
        TOutputOptions o;
        InitOutputOptions(&o);
        o.ExtOptions = c.Before;
        SetOverwriteOption(o, c.Overwrite);
        EXPECT_EQ(o.ExtOptions, c.After) << StringToUtf8(c.Before) << " " << c.Overwrite;
    }
}

TEST(SettingsToOutputOptions, ANumberFieldWithoutANumberRaises)
{
    PresetSettings s;
    s.Video_AudioVolume = L"loud";
    EXPECT_THROW(Converted(s), EConvertError);
    s.Video_AudioVolume = L"256";
    s.Video_AudioChannels = L"two";
    EXPECT_THROW(Converted(s), EConvertError);
}

}  // namespace
