// Reset, applying a preset's values, and the job row texts.
#include "app/presets/apply_preset.h"

#include <gtest/gtest.h>

#include "app/presets/parameter_choices.h"
#include "app/presets/preset_catalogue.h"
#include "tests/app/presets/cluttered_settings.h"

namespace {

TEST(PresetApply, ResetKeepsTheInputNameAndTheDispatchValue)
{
    PresetSettings s = ClutteredSettings();
    ResetPresetSettings(s);
    PresetSettings fresh;
    fresh.Video_AddFileName = L"/v/clip.final.mkv";
    fresh.All_Trant_Number = 1234;
    EXPECT_EQ(s.Video_AddFileName, fresh.Video_AddFileName);
    EXPECT_EQ(s.All_Trant_Number, 1234);
    EXPECT_EQ(s.Video_AudioVolume, L"256");
    EXPECT_EQ(s.Video_OutPutFileName, L"");
    EXPECT_EQ(s.Video_VideoFilters, L"");
    EXPECT_EQ(s.Video_CopyTimestamp, L"");
    EXPECT_EQ(s.Video_FileFormat, L"");
    EXPECT_EQ(s.Video_VideoTag, L"");
    EXPECT_EQ(s.Video_VideoBitrate, -1);
    EXPECT_EQ(s.Video_AudioBitrate, -1);
    EXPECT_EQ(s.Video_TimeStart, -1);
    EXPECT_EQ(s.Video_TimeLength, -1);
    EXPECT_FALSE(s.Video_DisableVideo);
    EXPECT_EQ(PresetRowColumns(s), PresetRowColumns(fresh));
}

struct ExpectedRow {
    int key;
    const wchar_t* outputExt;
    const wchar_t *fileExt, *videoCodec, *tag, *frameSize;
    int videoBitrate;
    const wchar_t *frameRate, *aspect, *audioCodec, *channels, *sampleRate;
    int audioBitrate;
    const wchar_t *target, *norm;
    bool disableVideo;
};

// Rows as the catalogue gives them, typed here apart from its tables.
const ExpectedRow ExactRows[] = {
    {0, L".avi", L".avi", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"",
     false},
    {100, L".mp3", L".mp3", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", true},
    {112, L".amr", L".amr", L"", L"", L"", -1, L"", L"", L"libopencore_amrnb", L"1", L"8000", 7400, L"", L"", true},
    {106, L".ra", L".rm", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {206, L".wmv", L".asf", L"wmv2", L"", L"1280*720", 1600000, L"25", L"", L"wmav2", L"2", L"48000", 128000, L"", L"",
     false},
    {801, L".mpeg", L".mpeg", L"mpeg2video", L"", L"1280*720", 1200000, L"25", L"", L"ac3", L"2", L"48000", 192000, L"",
     L"", false},
    {806, L".avi", L".avi", L"wmv2", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"",
     L"", false},
    {809, L".mp4", L".mp4", L"msmpeg4v1", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000,
     L"", L"", false},
    {1102, L".flv", L"", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", true},
    {1304, L".mpg", L".mpg", L"mpeg2video", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000,
     L"", L"", false},
    {2110, L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"dvd", L"PAL", false},
    {402, L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 600000, L"25", L"16:9", L"libfaac", L"2", L"48000", 128000, L"",
     L"", false},
};

TEST(PresetApply, ExactRowsLeaveTheirValuesAndNothingElse)
{
    for (const ExpectedRow& e : ExactRows) {
        SCOPED_TRACE(e.key);
        PresetSettings s = ClutteredSettings();
        ASSERT_TRUE(ApplyPresetKey(e.key, L"/nonexistent-out", false, s));
        EXPECT_EQ(s.All_Trant_Number, e.key + 100);
        EXPECT_EQ(s.Video_OutPutFileName, String(L"/nonexistent-out/clip.final") + e.outputExt);
        EXPECT_EQ(s.Video_AddFileName, L"/v/clip.final.mkv");
        EXPECT_EQ(s.Video_FileExt, e.fileExt);
        EXPECT_EQ(s.Video_VideoCodec, e.videoCodec);
        EXPECT_EQ(s.Video_VideoTag, e.tag);
        EXPECT_EQ(s.Video_FrameSize, e.frameSize);
        EXPECT_EQ(s.Video_VideoBitrate, e.videoBitrate);
        EXPECT_EQ(s.Video_FrameRate, e.frameRate);
        EXPECT_EQ(s.Video_FrameAspectRatio, e.aspect);
        EXPECT_EQ(s.Video_AudioCodec, e.audioCodec);
        EXPECT_EQ(s.Video_AudioChannels, e.channels);
        EXPECT_EQ(s.Video_AudioSampleRate, e.sampleRate);
        EXPECT_EQ(s.Video_AudioBitrate, e.audioBitrate);
        EXPECT_EQ(s.Video_TargetType, e.target);
        EXPECT_EQ(s.Video_NormType, e.norm);
        EXPECT_EQ(s.Video_DisableVideo, e.disableVideo);
        // Never set by a preset.
        EXPECT_EQ(s.Video_VideoFilters, L"");
        EXPECT_EQ(s.Video_FileFormat, L"");
        EXPECT_EQ(s.Video_CopyTimestamp, L"");
        EXPECT_EQ(s.Video_AudioVolume, L"256");
        EXPECT_EQ(s.Video_TimeStart, -1);
        EXPECT_EQ(s.Video_TimeLength, -1);
    }
}

TEST(PresetApply, PositionsChooseAmongDuplicateTitles)
{
    PresetSettings s;
    s.Video_AddFileName = L"/v/clip.avi";
    ASSERT_TRUE(ApplyPresetOptions(14, 1, L"/nonexistent-out", false, s));  // Xbox, item 1
    EXPECT_EQ(s.Video_OutPutFileName, L"/nonexistent-out/clip.mpeg");
    EXPECT_EQ(s.All_Trant_Number, 901);
    ASSERT_TRUE(ApplyPresetOptions(14, 2, L"/nonexistent-out", false, s));  // same title, item 2
    EXPECT_EQ(s.Video_OutPutFileName, L"/nonexistent-out/clip.mpg");
    ASSERT_TRUE(ApplyPresetOptions(15, 3, L"/o", false, s));  // PMP "Zune MPEG-4 AVC视频(*.mp4)"
    EXPECT_EQ(s.Video_VideoCodec, L"mpeg4");
    EXPECT_EQ(s.Video_VideoBitrate, 512000);
    EXPECT_EQ(s.All_Trant_Number, 1003);
    ASSERT_TRUE(ApplyPresetOptions(15, 4, L"/o", false, s));
    EXPECT_EQ(s.Video_VideoCodec, L"libx264");
    EXPECT_EQ(s.Video_VideoBitrate, 768000);
    EXPECT_EQ(s.All_Trant_Number, 1004);
}

TEST(PresetApply, PositionsWithoutAPresetLeaveResetValues)
{
    PresetSettings s = ClutteredSettings();
    EXPECT_FALSE(ApplyPresetOptions(10, 6, L"/o", false, s));  // iPhone has no seventh preset
    EXPECT_EQ(s.All_Trant_Number, 506);
    EXPECT_EQ(s.Video_OutPutFileName, L"");
    EXPECT_EQ(s.Video_VideoCodec, L"");
    EXPECT_EQ(s.Video_VideoBitrate, -1);
    EXPECT_EQ(s.Video_AddFileName, L"/v/clip.final.mkv");
    s = ClutteredSettings();
    EXPECT_FALSE(ApplyPresetOptions(-1, 0, L"/o", false, s));
    EXPECT_EQ(s.All_Trant_Number, 1234);
    EXPECT_EQ(s.Video_FileExt, L"");
    EXPECT_FALSE(ApplyPresetOptions(0, -1, L"/o", false, s));
    EXPECT_EQ(s.All_Trant_Number, 1699);
}

TEST(PresetApply, RowColumnsFromTheSettings)
{
    PresetSettings s;
    s.Video_AddFileName = L"/v/clip.avi";
    ApplyPresetKey(100, L"/o", false, s);
    std::array<String, PresetRowColumnCount> columns = PresetRowColumns(s);
    EXPECT_EQ(columns, (std::array<String, PresetRowColumnCount>{L"", L"libmp3lame", L"2", L"", L".mp3", L"", L"-1",
                                                                 L"", L"128000", L"48000", L"", L"True", L"", L""}));
    ApplyPresetKey(2110, L"/o", false, s);
    columns = PresetRowColumns(s);
    EXPECT_EQ(columns[15 - PresetRowFirstColumn], L"");       // FileExt
    EXPECT_EQ(columns[17 - PresetRowFirstColumn], L"-1000");  // 视频比特率
    EXPECT_EQ(columns[19 - PresetRowFirstColumn], L"-1000");  // 音频比特率
    EXPECT_EQ(columns[22 - PresetRowFirstColumn], L"False");  // 视频能否
    EXPECT_EQ(columns[23 - PresetRowFirstColumn], L"dvd");
    EXPECT_EQ(columns[24 - PresetRowFirstColumn], L"PAL");
}

// The road of an added file: the first category's first preset, its default choices read
// back over the preset's own values.
TEST(PresetApply, AddedFileTakesThePresetThenTheChosenParameters)
{
    PresetSettings s;
    s.Video_AddFileName = L"/v/holiday.mkv";
    TParameterChoices choices = FillParameterChoices(8, 0, s);  // "高清格式", key 200
    ASSERT_TRUE(ApplyPresetOptions(8, 0, L"/o", false, s));
    EXPECT_EQ(s.Video_FrameRate, L"25");
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = choices.Combos[p].Items[choices.Combos[p].ItemIndex];
    ReadParameterChoices(texts, s);
    EXPECT_EQ(s.Video_FrameRate, L"29.97");  // the list's default, not the preset's "25"
    EXPECT_EQ(s.Video_FrameSize, L"1280*720");
    EXPECT_EQ(s.Video_VideoBitrate, 1600000);
    EXPECT_EQ(s.Video_AudioSampleRate, L"48000");
    EXPECT_EQ(s.Video_VideoCodec, L"mpeg4");
    EXPECT_EQ(s.Video_OutPutFileName, L"/o/holiday.avi");
}

}  // namespace
