// The legacy form's commands on the main window's settings: the start-up state, the fill
// of the six lists, and applying a preset over the settings as they are, field set by
// field set, with the output name made unique.
#include "app/legacy/legacy_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/presets/output_name.h"
#include "tests/app/presets/cluttered_settings.h"
#include "tests/support/temp_dir.h"

namespace {

void Touch(const String& path) { std::ofstream(StringToUtf8(path)) << "x"; }

TEST(LegacyCommands, StartUpFillsCategoryZeroAndStoresDispatchValue100)
{
    std::vector<TLegacyPresetItem> items = LegacyFillPresetList(0);
    ASSERT_EQ(items.size(), 15u);
    EXPECT_EQ(items[0].Title, L"AVI - 音频视频交错格式(*.avi)");

    PresetSettings s = ClutteredSettings();
    TParameterChoices choices = LegacyFillParameterChoices(0, 0, s);
    EXPECT_EQ(s.All_Trant_Number, 100);
    EXPECT_FALSE(s.Video_DisableVideo);
    EXPECT_EQ(s.Video_VideoCodec, L"old");  // filling the lists writes no other field
    ASSERT_TRUE(choices.HasRow);
    const wchar_t* shown[PresetParameterCount] = {};
    for (int p = 0; p < PresetParameterCount; ++p) {
        EXPECT_TRUE(choices.Combos[p].Enabled);
        shown[p] = choices.Combos[p].Items[choices.Combos[p].ItemIndex].c_str();
    }
    EXPECT_EQ(String(shown[ppFrameSize]), L"保持原分辨率");
    EXPECT_EQ(String(shown[ppVideoBitrate]), L"816 kbps");
    EXPECT_EQ(String(shown[ppFrameRate]), L"25.00");
    EXPECT_EQ(String(shown[ppAudioBitrate]), L"128 kbps");
    EXPECT_EQ(String(shown[ppSampleRate]), L"44100");
    EXPECT_EQ(String(shown[ppAspectMode]), L"保持原视频模式");
}

TEST(LegacyCommands, FillGivesTheExceptionAndNothingForKeysWithoutPresets)
{
    PresetSettings s;
    TParameterChoices amr = LegacyFillParameterChoices(6, 2, s);  // key 602
    EXPECT_EQ(s.All_Trant_Number, 702);
    EXPECT_EQ(amr.Combos[ppAudioBitrate].Items[amr.Combos[ppAudioBitrate].ItemIndex], L"12 kbps");

    s.Video_DisableVideo = true;
    EXPECT_FALSE(LegacyFillParameterChoices(3, 14, s).HasRow);  // 314: no preset
    EXPECT_EQ(s.All_Trant_Number, 414);
    EXPECT_FALSE(s.Video_DisableVideo);
    EXPECT_FALSE(LegacyFillParameterChoices(0, 15, s).HasRow);

    // An audio-only preset: the four video lists hold one text each and stay disabled.
    TParameterChoices audio = LegacyFillParameterChoices(1, 0, s);
    for (TPresetParameter p : AudioOnlyDisableOrder) {
        EXPECT_FALSE(audio.Combos[p].Enabled);
        EXPECT_EQ(audio.Combos[p].Items.size(), 1u);
    }
    EXPECT_TRUE(audio.Combos[ppAudioBitrate].Enabled);
    EXPECT_TRUE(audio.Combos[ppSampleRate].Enabled);
}

TEST(LegacyCommands, ApplyWritesTheKeysFieldSetOverTheSettingsAsTheyAre)
{
    constexpr TPresetFieldSet Video = AllPresetFields & ~pfDisableVideo;
    constexpr TPresetFieldSet Audio = pfFileExt | pfAudioCodec | pfAudioChannels | pfAudioSampleRate | pfAudioVolume |
                                      pfAudioBitrate | pfNormType | pfCopyTimestamp | pfFileFormat | pfTargetType;
    struct Case {
        int category, preset;
        TPresetFieldSet written;
        bool disableVideo;
    };
    const Case cases[] = {
        {0, 0, Video, false},
        {2, 5, Video & ~pfVideoTag, false},    // 205
        {3, 3, Video & ~pfTargetType, false},  // 303
        {3, 9, Video, false},                  // 309
        {0, 11,
         pfTargetType | pfNormType | pfAudioChannels | pfAudioSampleRate | pfFrameSize | pfFrameRate | pfAudioVolume |
             pfFrameAspectRatio | pfVideoBitrate | pfAudioBitrate | pfFileFormat | pfVideoTag | pfVideoCodec |
             pfAudioCodec,
         false},
        {0, 14, pfVideoCodec | pfFrameSize | pfNormType | pfCopyTimestamp | pfFileFormat | pfTargetType, false},
        {1, 0, Audio, true},
        {6, 8, Audio, true},                // 608
        {11, 2, Audio & ~pfFileExt, true},  // 1102
    };
    TempDir dir;
    for (const Case& c : cases) {
        int key = c.category * 100 + c.preset;
        SCOPED_TRACE(key);
        PresetSettings before = ClutteredSettings();
        PresetSettings s = before;
        EXPECT_TRUE(LegacyApplyPresetOptions(c.category, c.preset, Utf8ToString(dir.path()), false, s));
        EXPECT_EQ(ChangedFields(before, s), c.written);
        EXPECT_EQ(s.Video_DisableVideo, c.disableVideo);
        EXPECT_EQ(s.All_Trant_Number, key + 100);
        EXPECT_EQ(s.Video_TimeStart, 7);
        EXPECT_EQ(s.Video_TimeLength, 7);
        EXPECT_EQ(s.Video_AddFileName, L"/v/clip.final.mkv");
        // The written fields hold the values of the preset the key takes them from.
        PresetSettings current;
        int model = LegacyModelKey(key);
        ApplyPresetKey(model >= 0 ? model : key, L"", true, current);
        EXPECT_EQ(ChangedFields(current, s) & c.written, 0u);
    }
}

TEST(LegacyCommands, OwnPresetsNameTheirOutputByTheirValues)
{
    struct Case {
        int category, preset;
        const wchar_t *name, *fileExt, *videoCodec, *audioCodec;
        int audioBitrate;
    };
    const Case cases[] = {
        {1, 11, L"clip.final.m4a", L".alac", L"old", L"alac", 128000},  // 111: video fields left alone
        {6, 0, L"clip.final.3gp", L".3gp", L"h263", L"libamr_nb", 12000},
        {6, 2, L"clip.final.3gp", L".3gp", L"mpeg4", L"libamr_nb", 12000},
        {6, 4, L"clip.final.3gp", L".3gp", L"mpeg4", L"libamr_nb", 10200},
    };
    TempDir dir;
    String out = Utf8ToString(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetSettings s = ClutteredSettings();
        LegacyApplyPresetOptions(c.category, c.preset, out, false, s);
        EXPECT_EQ(s.Video_OutPutFileName, out + L"/" + c.name);
        EXPECT_EQ(s.Video_FileExt, c.fileExt);
        EXPECT_EQ(s.Video_VideoCodec, c.videoCodec);
        EXPECT_EQ(s.Video_AudioCodec, c.audioCodec);
        EXPECT_EQ(s.Video_AudioBitrate, c.audioBitrate);
    }
    PresetSettings s = ClutteredSettings();
    LegacyApplyPresetOptions(1, 11, out, false, s);
    EXPECT_TRUE(s.Video_DisableVideo);
    EXPECT_EQ(s.Video_FrameSize, L"old");
    EXPECT_EQ(s.Video_AudioChannels, L"2");
    EXPECT_EQ(s.Video_AudioSampleRate, L"48000");
}

TEST(LegacyCommands, OutputNameIsMadeUniqueAlsoForKeysWithoutValues)
{
    TempDir dir;
    String out = Utf8ToString(dir.path());
    PresetSettings s;
    s.Video_AddFileName = L"/in/clip.mkv";
    LegacyApplyPresetOptions(0, 0, out, false, s);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/clip.avi");
    LegacyApplyPresetOptions(0, 0, out, false, s);  // the same again while nothing was written
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/clip.avi");

    Touch(out + L"/clip.avi");
    Touch(out + L"/clip_1.avi");
    LegacyApplyPresetOptions(0, 0, out, false, s);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/clip_2.avi");
    LegacyApplyPresetOptions(0, 0, out, true, s);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/clip.avi");

    // 314 has no values: only the dispatch value and the disabled video are stored, and
    // the name held so far is made unique in the folder.
    PresetSettings before = s;
    before.Video_DisableVideo = true;
    s.Video_DisableVideo = true;
    EXPECT_FALSE(LegacyApplyPresetOptions(3, 14, out, false, s));
    EXPECT_EQ(s.All_Trant_Number, 414);
    EXPECT_FALSE(s.Video_DisableVideo);
    EXPECT_EQ(ChangedFields(before, s), 0u);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/clip_2.avi");

    // An input without an extension gets the preset's appended.
    s.Video_AddFileName = L"/in/noext";
    LegacyApplyPresetOptions(0, 0, out, false, s);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/noext.avi");
}

}  // namespace
