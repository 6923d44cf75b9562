// The legacy catalogue against the current one: categories, titles, image indexes, the
// choice lists with their one exception, and where each preset's values come from.
#include "app/legacy/legacy_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TEST(LegacyCatalogue, TwelveCategoriesKeyedByTheirPosition)
{
    const std::pair<const wchar_t*, int> expected[] = {
        {L"常用视频", 15},  {L"常用音频", 13}, {L"HD视频", 10},  {L"iPod视频", 14},
        {L"iPhone视频", 6}, {L"PSP视频", 5},   {L"3GP视频", 14}, {L"APPLE视频", 5},
        {L"XboX视频", 10},  {L"PMP视频", 8},   {L"MP4视频", 5},  {L"Flash视频", 4},
    };
    int total = 0;
    for (int c = 0; c < LegacyCategoryCount; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(String(LegacyCategoryTable[c].Caption), expected[c].first);
        std::span<const TLegacyPreset> presets = LegacyPresetsOfCategory(c);
        ASSERT_EQ(static_cast<int>(presets.size()), expected[c].second);
        EXPECT_EQ(LegacyCategoryTable[c].PresetCount, expected[c].second);
        for (int p = 0; p < expected[c].second; ++p) {
            EXPECT_EQ(presets[p].Key, c * 100 + p);
            EXPECT_EQ(LegacyPresetKey(c, p), c * 100 + p);
            EXPECT_EQ(FindLegacyPreset(c * 100 + p), &presets[p]);
        }
        total += expected[c].second;
    }
    EXPECT_EQ(total, 109);
    EXPECT_EQ(AllLegacyPresets().size(), 109u);
    // Keys the legacy form cannot reach: past a category's end, outside the twelve, the
    // current catalogue's 314 and its later categories.
    for (auto [c, p] : {std::pair{0, 15}, {3, 14}, {4, 6}, {12, 0}, {-1, 0}, {0, -1}})
        EXPECT_EQ(LegacyPresetKey(c, p), -1) << c << "," << p;
    for (int key : {15, 314, 406, 1104, 1200, 1600, -5}) EXPECT_EQ(FindLegacyPreset(key), nullptr) << key;
}

TEST(LegacyCatalogue, TitlesAreTheCurrentOnesButThreeAndTheIPodCategory)
{
    for (const TLegacyPreset* preset : AllLegacyPresets()) {
        if (preset->Key / 100 == 3) continue;  // the current catalogue offers no iPod titles
        const TOutputPreset* current = FindOutputPreset(preset->Key);
        ASSERT_NE(current, nullptr) << preset->Key;
        if (preset->Key == 102 || preset->Key == 111 || preset->Key == 602)
            EXPECT_NE(String(preset->Title), current->Title) << preset->Key;
        else
            EXPECT_EQ(String(preset->Title), current->Title) << preset->Key;
        EXPECT_NE(String(preset->Description), L"") << preset->Key;
    }
    EXPECT_EQ(String(FindLegacyPreset(102)->Title), L"WAV - 波形音频格式(*.wav) ");
    EXPECT_EQ(String(FindLegacyPreset(111)->Title), L"ALAC-Apple Lossless无损音频格式(*.alac) ");
    EXPECT_EQ(String(FindLegacyPreset(602)->Title), L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))");
    EXPECT_EQ(String(FindLegacyPreset(313)->Title), L"iPod touch MPEG-4 (480X320)视频(*.mp4)");
    // Same titles, told apart by their descriptions.
    EXPECT_NE(String(FindLegacyPreset(200)->Description), FindLegacyPreset(201)->Description);
    EXPECT_EQ(String(FindLegacyPreset(903)->Description), FindLegacyPreset(904)->Description);
}

TEST(LegacyCatalogue, PresetListItemsCarryTitleDescriptionAndImageIndex)
{
    struct Case {
        int category;
        std::vector<int> images;
    };
    const Case cases[] = {
        {0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {2, {20, 21, 21, 21, 21, 21, 21, 21, 21, 21}},
        {3, {20, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21}},
        {4, {20, 21, 20, 21, 20, 21}},
        {5, {20, 21, 20, 21, 20}},
        {6, {20, 20, 21, 21, 20, 21, 20, 21, 21, 21, 21, 21, 21, 21}},
        {7, {22, 23, 24, 25, 26}},
        {8, {22, 23, 24, 25, 26, 21, 21, 21, 21, 21}},
        {9, {22, 23, 24, 25, 26, 21, 21, 21}},
        {10, {22, 23, 24, 25, 26}},
        {11, {22, 23, 24, 25}},
    };
    for (const Case& c : cases) {
        std::vector<TLegacyPresetItem> items = LegacyFillPresetList(c.category);
        std::vector<int> images;
        for (const TLegacyPresetItem& item : items) images.push_back(item.ImageIndex);
        EXPECT_EQ(images, c.images) << "category " << c.category;
    }
    std::vector<TLegacyPresetItem> audio = LegacyFillPresetList(1);
    EXPECT_EQ(audio.front().Title, L"MP3 - MPEG Layer-3音频格式(*.mp3)");
    EXPECT_EQ(audio.front().Caption, L"最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词");
    EXPECT_EQ(audio.back().Title, L"AMR-手机音频格式(*.amr)");
    std::vector<TLegacyPresetItem> flash = LegacyFillPresetList(11);
    EXPECT_EQ(flash.back().Caption, L"最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)");
    EXPECT_TRUE(LegacyFillPresetList(12).empty());
    EXPECT_TRUE(LegacyFillPresetList(-1).empty());
}

TEST(LegacyCatalogue, ChoiceListsAreTheCurrentOnesButTheLowAmrBitRates)
{
    const std::vector<String> lowAmr = {L"5 kbps", L"6 kbps", L"7 kbps", L"8 kbps", L"10 kbps", L"12 kbps"};
    std::set<int> audioOnly;
    for (const TLegacyPreset* preset : AllLegacyPresets()) {
        SCOPED_TRACE(preset->Key);
        TParameterChoices legacy = LegacyParameterChoicesOfKey(preset->Key);
        TParameterChoices current = ParameterChoicesOfKey(preset->Key);
        ASSERT_TRUE(legacy.HasRow);
        bool exception = preset->Key == 600 || preset->Key == 602 || preset->Key == 604;
        for (int p = 0; p < PresetParameterCount; ++p) {
            const TParameterCombo& combo = legacy.Combos[p];
            EXPECT_EQ(combo.Enabled, current.Combos[p].Enabled) << p;
            if (exception && p == ppAudioBitrate) {
                EXPECT_EQ(combo.Items, lowAmr);
                EXPECT_EQ(combo.ItemIndex, 5);
                EXPECT_NE(combo.Items, current.Combos[p].Items);
            } else {
                EXPECT_EQ(combo.Items, current.Combos[p].Items) << p;
                EXPECT_EQ(combo.ItemIndex, current.Combos[p].ItemIndex) << p;
            }
        }
        if (!legacy.Combos[ppFrameSize].Enabled) audioOnly.insert(preset->Key);
    }
    std::set<int> expected = {608, 1102, 1103};
    for (int key = 100; key <= 112; ++key) expected.insert(key);
    EXPECT_EQ(audioOnly, expected);
    // Keys the current catalogue has lists for but the legacy one has no preset for.
    EXPECT_FALSE(LegacyParameterChoicesOfKey(1200).HasRow);
    EXPECT_FALSE(LegacyParameterChoicesOfKey(314).HasRow);
}

TEST(LegacyCatalogue, ValuesComeFromTheCurrentPresetButFourOwnAndTheIPods)
{
    for (const TLegacyPreset* preset : AllLegacyPresets()) {
        int key = preset->Key;
        const TOutputPreset* values = LegacyPresetValues(key);
        ASSERT_NE(values, nullptr) << key;
        EXPECT_NE(LegacyWriteSet(key), 0u) << key;
        if (key / 100 == 3)
            EXPECT_EQ(values, FindOutputPreset(LegacyModelKey(key))) << key;
        else if (key == 111 || key == 600 || key == 602 || key == 604)
            EXPECT_NE(values, FindOutputPreset(key)) << key;
        else
            EXPECT_EQ(values, FindOutputPreset(key)) << key;
    }
    EXPECT_EQ(LegacyPresetValues(314), nullptr);
    EXPECT_EQ(LegacyWriteSet(314), 0u);
    EXPECT_EQ(LegacyModelKey(299), -1);
    EXPECT_EQ(LegacyModelKey(314), -1);

    // The output extension is the values', not the title's; Video_FileExt may differ again.
    struct Ext {
        int key;
        const wchar_t *output, *fileExt;
    };
    for (Ext e : {Ext{111, L".m4a", L".alac"}, Ext{602, L".3gp", L".3gp"}, Ext{801, L".mpeg", L".mpeg"},
                  Ext{806, L".avi", L".avi"}, Ext{809, L".mp4", L".mp4"}, Ext{106, L".ra", L".rm"},
                  Ext{206, L".wmv", L".asf"}}) {
        EXPECT_EQ(String(LegacyPresetValues(e.key)->OutputExt), e.output) << e.key;
        EXPECT_EQ(String(LegacyPresetValues(e.key)->FileExt), e.fileExt) << e.key;
    }
}

TEST(LegacyCatalogue, IPodPresetsTakeTheValuesOfTheSameFormat)
{
    for (int key = 300; key <= 313; ++key) {
        const TOutputPreset* values = LegacyPresetValues(key);
        EXPECT_EQ(String(values->OutputExt), L".mp4") << key;
        EXPECT_EQ(String(values->FileExt), L".mp4") << key;
        EXPECT_FALSE(values->DisableVideo) << key;
    }
    // What the titles and the default choices of 309 to 313 name.
    EXPECT_EQ(String(LegacyPresetValues(309)->FrameSize), L"640*480");
    EXPECT_EQ(LegacyPresetValues(309)->VideoBitrate, 1200000);
    EXPECT_EQ(String(LegacyPresetValues(310)->FrameSize), L"640*480");
    EXPECT_EQ(String(LegacyPresetValues(311)->FrameAspectRatio), L"16:9");
    EXPECT_EQ(String(LegacyPresetValues(312)->FrameSize), L"320*240");
    EXPECT_EQ(String(LegacyPresetValues(313)->FrameSize), L"480*320");
    EXPECT_EQ(String(LegacyPresetValues(300)->FrameSize), L"320*240");
    EXPECT_EQ(String(LegacyPresetValues(305)->FrameSize), L"640*480");
}

}  // namespace
