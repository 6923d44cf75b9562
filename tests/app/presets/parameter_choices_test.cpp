// Choice lists, the choice table, filling the six combos and reading their texts back.
#include "app/presets/parameter_choices.h"

#include <gtest/gtest.h>

#include <set>

#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/exceptions.h"

namespace {

// The texts the combos show after a fill: each combo's default item.
std::array<String, PresetParameterCount> DefaultTexts(const TParameterChoices& choices)
{
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = choices.Combos[p].Items.at(choices.Combos[p].ItemIndex);
    return texts;
}

TEST(PresetChoices, ListsHoldTheirItems)
{
    const std::pair<TChoiceListId, size_t> sizes[] = {
        {FS1, 28}, {FS2, 11}, {FS3, 1},  {FS4, 11},  {FS13, 16}, {FS19, 19}, {FS20, 6},
        {VB1, 8},  {VB4, 15}, {VB6, 1},  {VB10, 17}, {VB12, 10}, {AB1, 17},  {AB3, 8},
        {AM1, 5},  {AM3, 1},  {FR1, 12}, {FR2, 7},   {FR8, 6},   {SR4, 7},   {SR6, 5}};
    for (auto [id, size] : sizes) EXPECT_EQ(ChoiceList(id).Items.size(), size) << ChoiceList(id).Name;
    const std::pair<const wchar_t*, TPresetParameter> prefixes[] = {{L"FS", ppFrameSize},    {L"VB", ppVideoBitrate},
                                                                    {L"AB", ppAudioBitrate}, {L"AM", ppAspectMode},
                                                                    {L"FR", ppFrameRate},    {L"SR", ppSampleRate}};
    std::set<String> names;
    for (int id = 0; id < ChoiceListCount; ++id) {
        const TChoiceList& list = ChoiceList(static_cast<TChoiceListId>(id));
        String name = list.Name;
        names.insert(name);
        EXPECT_FALSE(list.Items.empty()) << id;
        for (auto [prefix, parameter] : prefixes) {
            if (name.starts_with(prefix)) {
                EXPECT_EQ(list.Parameter, parameter) << id;
            }
        }
    }
    EXPECT_EQ(names.size(), 55u);
    EXPECT_EQ(String(ChoiceList(FS1).Items[24]), L"1920*1200");
    EXPECT_EQ(String(ChoiceList(FS1).Items[25]), L"1920*1200");
    EXPECT_EQ(String(ChoiceList(AB3).Items[0]), L"4.75 kbps");
    EXPECT_EQ(String(ChoiceList(FR7).Items[7]), L"25");
}

TEST(PresetChoices, TableCoversEveryPresetAndTheUnreachableCodes)
{
    std::span<const TPresetChoiceRow> rows = PresetChoiceRows();
    EXPECT_EQ(rows.size(), 222u);
    std::set<int> audioOnly;
    int previous = -1;
    int perCode[24] = {};
    for (const TPresetChoiceRow& row : rows) {
        SCOPED_TRACE(row.Key);
        EXPECT_GT(row.Key, previous);  // sorted, no duplicates (the lookup relies on it)
        previous = row.Key;
        ++perCode[row.Key / 100];
        for (int p = 0; p < PresetParameterCount; ++p) {
            const TChoiceList& list = ChoiceList(row.Choice[p].List);
            EXPECT_EQ(list.Parameter, p);
            EXPECT_GE(row.Choice[p].Default, 0);
            EXPECT_LT(row.Choice[p].Default, static_cast<int>(list.Items.size()));
        }
        if (row.AudioOnly) audioOnly.insert(row.Key);
    }
    EXPECT_EQ(audioOnly, (std::set<int>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 608, 1102,
                                        1103, 1405, 1406, 1908}));
    EXPECT_EQ(perCode[3], 14);
    EXPECT_EQ(perCode[18], 7);
    EXPECT_EQ(perCode[22], 13);
    EXPECT_EQ(perCode[23], 15);
    EXPECT_EQ(FindPresetChoices(314), nullptr);
    EXPECT_EQ(FindPresetChoices(406), nullptr);
    for (const TOutputPreset* preset : AllOutputPresets()) {
        const TPresetChoiceRow* row = FindPresetChoices(preset->Key);
        ASSERT_NE(row, nullptr) << preset->Key;
        EXPECT_EQ(row->AudioOnly, preset->DisableVideo) << preset->Key;
    }
}

TEST(PresetChoices, FillGivesListsDefaultsAndEnabledStates)
{
    struct Case {
        int category, preset, dispatch;
        std::array<const wchar_t*, PresetParameterCount> texts;  // by TPresetParameter
        bool audioOnly;
    };
    const Case cases[] = {
        {6, 0, 100, {L"保持原分辨率", L"816 kbps", L"128 kbps", L"保持原视频模式", L"25.00", L"44100"}, false},
        {7, 0, 200, {L"该格式无视频", L"无视频", L"128 kbps", L"无视频", L"无视频", L"44100"}, true},
        {7, 12, 212, {L"该格式无视频", L"无视频", L"7.4 kbps", L"无视频", L"无视频", L"8000"}, true},
        {2, 4, 1404, {L"1280*1024", L"1600 kbps", L"128 kbps", L"保持原视频模式", L"29.97", L"48000"}, false},
        {0, 0, 1700, {L"保持原分辨率", L"816 kbps", L"128 kbps", L"保持原视频模式", L"25.00", L"44100"}, false},
        {14, 6, 906, {L"1440*1080", L"1800 kbps", L"128 kbps", L"保持原视频模式", L"30.00", L"48000"}, false},
        {17, 7, 2007, {L"176*144", L"160 kbps", L"48 kbps", L"保持原视频模式", L"15", L"32000"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dispatch);
        PresetSettings settings;
        settings.Video_DisableVideo = true;
        TParameterChoices choices = FillParameterChoices(c.category, c.preset, settings);
        ASSERT_TRUE(choices.HasRow);
        EXPECT_EQ(settings.All_Trant_Number, c.dispatch);
        EXPECT_FALSE(settings.Video_DisableVideo);  // false for audio-only presets too
        std::array<String, PresetParameterCount> texts = DefaultTexts(choices);
        for (int p = 0; p < PresetParameterCount; ++p) {
            EXPECT_EQ(texts[p], c.texts[p]) << p;
            bool disabled = c.audioOnly && p != ppAudioBitrate && p != ppSampleRate;
            EXPECT_EQ(choices.Combos[p].Enabled, !disabled) << p;
        }
    }
    // Key 112: the whole AB3 list with its fifth item chosen, and SR2's single item.
    TParameterChoices amr = ParameterChoicesOfKey(112);
    EXPECT_EQ(amr.Combos[ppAudioBitrate].Items.size(), 8u);
    EXPECT_EQ(amr.Combos[ppAudioBitrate].ItemIndex, 4);
    EXPECT_EQ(amr.Combos[ppSampleRate].Items, std::vector<String>{L"8000"});
    // The unreachable codes keep their rows: key 2314 offers FS1 with "320*240".
    EXPECT_EQ(DefaultTexts(ParameterChoicesOfKey(2314))[ppFrameSize], L"320*240");
}

TEST(PresetChoices, FillWithoutARowLeavesTheCombosEmptyAndEnabled)
{
    PresetSettings settings;
    TParameterChoices choices = FillParameterChoices(10, 6, settings);  // iPhone key 406: no row
    EXPECT_FALSE(choices.HasRow);
    EXPECT_EQ(settings.All_Trant_Number, 506);
    for (const TParameterCombo& combo : choices.Combos) {
        EXPECT_TRUE(combo.Items.empty());
        EXPECT_EQ(combo.ItemIndex, -1);
        EXPECT_TRUE(combo.Enabled);
    }
    choices = FillParameterChoices(0, -1, settings);  // no preset selected
    EXPECT_FALSE(choices.HasRow);
    EXPECT_EQ(settings.All_Trant_Number, 1699);
    settings.All_Trant_Number = 42;
    settings.Video_DisableVideo = true;
    choices = FillParameterChoices(20, 0, settings);  // no such category position
    EXPECT_FALSE(choices.HasRow);
    EXPECT_EQ(settings.All_Trant_Number, 42);
    EXPECT_TRUE(settings.Video_DisableVideo);
}

TEST(PresetChoices, ReadBackDefaultsOfVideoAndAudioOnlyPresets)
{
    PresetSettings settings;
    ReadParameterChoices(DefaultTexts(ParameterChoicesOfKey(0)), settings);
    EXPECT_EQ(settings.Video_FrameSize, L"");
    EXPECT_EQ(settings.Video_FrameRate, L"25.00");
    EXPECT_EQ(settings.Video_VideoBitrate, 816000);
    EXPECT_EQ(settings.Video_AudioSampleRate, L"44100");
    EXPECT_EQ(settings.Video_AudioBitrate, 128000);
    EXPECT_EQ(settings.Video_FrameAspectRatio, L"");

    settings.Video_FrameSize = L"640*480";
    settings.Video_FrameRate = L"25";
    settings.Video_FrameAspectRatio = L"4:3";
    settings.Video_VideoCodec = L"mpeg4";
    ReadParameterChoices(DefaultTexts(ParameterChoicesOfKey(100)), settings);
    EXPECT_EQ(settings.Video_FrameSize, L"");
    EXPECT_EQ(settings.Video_FrameRate, L"");
    EXPECT_EQ(settings.Video_VideoBitrate, -1000);
    EXPECT_EQ(settings.Video_FrameAspectRatio, L"");
    EXPECT_EQ(settings.Video_AudioBitrate, 128000);
    EXPECT_EQ(settings.Video_AudioSampleRate, L"44100");
    EXPECT_EQ(settings.Video_VideoCodec, L"mpeg4");  // no other field is touched
}

TEST(PresetChoices, ReadBackTextRules)
{
    const std::pair<const wchar_t*, int> audio[] = {
        {L"4.75 kbps", 4750}, {L"5.15 kbps", 5150},  {L"5.9 kbps", 5900},   {L"6.7 kbps", 6700},  {L"7.4 kbps", 7400},
        {L"7.95 kbps", 7950}, {L"10.2 kbps", 10200}, {L"12.2 kbps", 12200}, {L"320 kbps", 320000}};
    PresetSettings settings;
    for (auto [text, rate] : audio) {
        ReadParameterChoice(ppAudioBitrate, text, settings);
        EXPECT_EQ(settings.Video_AudioBitrate, rate) << text;
    }
    ReadParameterChoice(ppVideoBitrate, L"8 kbps", settings);
    EXPECT_EQ(settings.Video_VideoBitrate, 8000);
    ReadParameterChoice(ppFrameSize, L"1920*1200", settings);
    EXPECT_EQ(settings.Video_FrameSize, L"1920*1200");
    ReadParameterChoice(ppFrameRate, L"12", settings);
    EXPECT_EQ(settings.Video_FrameRate, L"12");
    const std::pair<const wchar_t*, const wchar_t*> aspects[] = {{L"普通视频4:3模式", L"4:3"},
                                                                 {L"宽屏视频16:9模式", L"16:9"},
                                                                 {L"宽屏视频37:20模式", L"37:20"},
                                                                 {L"宽屏视频47:20模式", L"47:20"},
                                                                 {L"保持原视频模式", L""}};
    for (auto [caption, ratio] : aspects) {
        settings.Video_FrameAspectRatio = L"x";
        ReadParameterChoice(ppAspectMode, caption, settings);
        EXPECT_EQ(settings.Video_FrameAspectRatio, ratio) << caption;
    }
    settings.Video_FrameAspectRatio = L"16:9";
    ReadParameterChoice(ppAspectMode, L"宽屏视频21:9模式", settings);  // unknown caption
    EXPECT_EQ(settings.Video_FrameAspectRatio, L"16:9");
}

TEST(PresetChoices, EveryCatalogueItemReadsBack)
{
    for (int id = 0; id < ChoiceListCount; ++id) {
        const TChoiceList& list = ChoiceList(static_cast<TChoiceListId>(id));
        for (const wchar_t* item : list.Items) {
            PresetSettings settings;
            EXPECT_NO_THROW(ReadParameterChoice(list.Parameter, item, settings)) << list.Name;
        }
    }
}

TEST(PresetChoices, BadBitRateTextsRaiseAfterTheEarlierSteps)
{
    PresetSettings settings;
    EXPECT_THROW(ReadParameterChoice(ppVideoBitrate, L"816", settings), EConvertError);  // no "kbps"
    EXPECT_THROW(ReadParameterChoice(ppAudioBitrate, L"4.7555 kbps", settings), EConvertError);
    EXPECT_THROW(ReadParameterChoice(ppAudioBitrate, L"abc kbps", settings), EConvertError);
    EXPECT_THROW(ReadParameterChoice(ppVideoBitrate, L"9999999 kbps", settings), EConvertError);
    // Frame size, frame rate and video bit rate are read before the audio bit rate fails;
    // the aspect after it is not.
    settings = PresetSettings();
    std::array<String, PresetParameterCount> texts;
    texts[ppFrameSize] = L"640*480";
    texts[ppVideoBitrate] = L"600 kbps";
    texts[ppAudioBitrate] = L"1.23456 kbps";
    texts[ppAspectMode] = L"普通视频4:3模式";
    texts[ppFrameRate] = L"15";
    texts[ppSampleRate] = L"22050";
    EXPECT_THROW(ReadParameterChoices(texts, settings), EConvertError);
    EXPECT_EQ(settings.Video_FrameSize, L"640*480");
    EXPECT_EQ(settings.Video_FrameRate, L"15");
    EXPECT_EQ(settings.Video_VideoBitrate, 600000);
    EXPECT_EQ(settings.Video_AudioSampleRate, L"22050");
    EXPECT_EQ(settings.Video_AudioBitrate, -1);
    EXPECT_EQ(settings.Video_FrameAspectRatio, L"");
}

}  // namespace
