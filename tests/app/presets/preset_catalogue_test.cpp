// The catalogue's categories, presets and numbering.
#include "app/presets/preset_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "app/presets/output_name.h"

namespace {

String Str(const wchar_t* text) { return text; }

TEST(PresetCatalogue, CategoriesMapPositionsToCodesWithTheirPresetCounts)
{
    struct Row {
        int code;
        const wchar_t* caption;
        int count;
    };
    const Row expected[CategoryCount] = {
        {16, L"MKV格式", 7},   {15, L"AVI格式", 7},      {13, L"MPG格式", 11},  {10, L"MP4格式", 5},
        {11, L"Flash格式", 4}, {17, L"WMV格式", 7},      {0, L"视频格式", 15},  {1, L"音频格式", 13},
        {2, L"高清格式", 10},  {12, L"iPad格式", 6},     {4, L"iPhone格式", 6}, {5, L"PSP格式", 5},
        {6, L"3GP格式", 14},   {7, L"APPLE格式", 5},     {8, L"XboX格式", 10},  {9, L"PMP格式", 8},
        {14, L"SWF格式", 7},   {19, L"Android格式", 14}, {20, L"VOB格式", 6},   {21, L"MTS格式", 13}};
    int total = 0;
    for (int i = 0; i < CategoryCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CategoryTable[i].CategoryCode, expected[i].code);
        EXPECT_EQ(CategoryCodeOf(i), expected[i].code);
        EXPECT_EQ(Str(CategoryTable[i].Caption), expected[i].caption);
        EXPECT_EQ(CategoryTable[i].PresetCount, expected[i].count);
        EXPECT_EQ(static_cast<int>(PresetsOfCategory(expected[i].code).size()), expected[i].count);
        EXPECT_EQ(static_cast<int>(FillPresetList(i).size()), expected[i].count);
        total += expected[i].count;
    }
    EXPECT_EQ(total, 173);
    EXPECT_EQ(AllOutputPresets().size(), 173u);
    EXPECT_EQ(CategoryCodeOf(-1), -1);
    EXPECT_EQ(CategoryCodeOf(20), -1);
    EXPECT_TRUE(FillPresetList(20).empty());
    // Codes that no category position reaches have no titles.
    for (int code : {3, 18, 22, 23}) EXPECT_TRUE(PresetsOfCategory(code).empty()) << code;
}

TEST(PresetCatalogue, EveryPresetIsWellFormed)
{
    std::set<int> keys;
    for (const TPresetCategory& category : CategoryTable) {
        std::span<const TOutputPreset> presets = PresetsOfCategory(category.CategoryCode);
        for (size_t i = 0; i < presets.size(); ++i) {
            const TOutputPreset& p = presets[i];
            SCOPED_TRACE(p.Key);
            EXPECT_EQ(p.Key, category.CategoryCode * 100 + static_cast<int>(i));
            EXPECT_EQ(FindOutputPreset(p.Key), &p);
            EXPECT_TRUE(keys.insert(p.Key).second);
            String title = p.Title;
            EXPECT_EQ(title.back(), L')');
            EXPECT_NE(title.rfind(L"(*."), String::npos);
            String ext = p.OutputExt;
            ASSERT_GE(ext.size(), 3u);
            EXPECT_EQ(ext[0], L'.');
            // Only three Xbox presets give the output another extension than their title names.
            bool differs = p.Key == 801 || p.Key == 806 || p.Key == 809;
            EXPECT_EQ(CaptionExtension(title) != ext, differs);
            // Bit rates are positive, or -1 (not set) / -1000 (left to the libraries).
            for (int rate : {p.VideoBitrate, p.AudioBitrate})
                EXPECT_TRUE(rate > 0 || rate == -1 || rate == -1000) << rate;
        }
    }
    EXPECT_EQ(FindOutputPreset(314), nullptr);
    EXPECT_EQ(FindOutputPreset(406), nullptr);
    EXPECT_EQ(FindOutputPreset(300), nullptr);
    EXPECT_EQ(FindOutputPreset(-1), nullptr);
}

TEST(PresetCatalogue, PresetListsInCatalogueOrder)
{
    std::vector<String> audio = FillPresetList(7);
    ASSERT_EQ(audio.size(), 13u);
    EXPECT_EQ(audio.front(), L"MP3 - MPEG Layer-3音频格式(*.mp3)");
    EXPECT_EQ(audio.back(), L"AMR-手机音频格式(*.amr)");
    std::vector<String> video = FillPresetList(6);  // position 6 is code 0, not code 6
    ASSERT_EQ(video.size(), 15u);
    EXPECT_EQ(video[0], L"AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(video[14], L"RM - REAL视频格式(*.rm)");
    std::vector<String> mkv = FillPresetList(0);
    EXPECT_EQ(mkv.front(), L"MKV标准视频(*.mkv)");
    // Titles are kept exactly, blanks included.
    EXPECT_EQ(FillPresetList(9)[2], L"iPad MPEG-4视频格式 XviD编码 (*.mp4)");
    EXPECT_EQ(FillPresetList(12)[0], L"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)");
    // Duplicate titles stay duplicate items; the position tells them apart.
    std::vector<String> xbox = FillPresetList(14);
    EXPECT_EQ(xbox[1], xbox[2]);
    EXPECT_EQ(xbox[7], xbox[8]);
    EXPECT_EQ(xbox[8], xbox[9]);
    EXPECT_EQ(Str(FindOutputPreset(PresetKey(14, 1))->OutputExt), L".mpeg");
    EXPECT_EQ(Str(FindOutputPreset(PresetKey(14, 2))->OutputExt), L".mpg");
    std::vector<String> pmp = FillPresetList(15);
    EXPECT_EQ(pmp[3], L"Zune MPEG-4 AVC视频(*.mp4)");
    EXPECT_EQ(pmp[3], pmp[4]);
    EXPECT_EQ(Str(FindOutputPreset(PresetKey(15, 3))->VideoCodec), L"mpeg4");
    EXPECT_EQ(Str(FindOutputPreset(PresetKey(15, 4))->VideoCodec), L"libx264");
}

TEST(PresetCatalogue, KeysAndPositionCodes)
{
    EXPECT_EQ(PresetKey(3, 3), 1003);  // "MP4格式", fourth preset
    EXPECT_EQ(PresetKey(2, 4), 1304);  // "MPG格式", fifth preset
    EXPECT_EQ(PresetKey(0, 0), 1600);
    EXPECT_EQ(PresetKey(6, 0), 0);
    EXPECT_EQ(PresetKey(20, 0), -1);
    EXPECT_EQ(PresetKey(0, -1), -1);
    EXPECT_EQ(PresetPositionCode(2, 1), 301);
    EXPECT_EQ(PresetPositionCode(19, 7), 2007);
    TPresetPosition position = DecodePresetPositionCode(2007);
    EXPECT_EQ(position.CategoryIndex, 19);
    EXPECT_EQ(position.PresetIndex, 7);
    position = DecodePresetPositionCode(100);
    EXPECT_EQ(position.CategoryIndex, 0);
    EXPECT_EQ(position.PresetIndex, 0);
}

bool SameValues(const TOutputPreset& a, const TOutputPreset& b)
{
    return Str(a.OutputExt) == b.OutputExt && Str(a.FileExt) == b.FileExt && Str(a.VideoCodec) == b.VideoCodec &&
           Str(a.VideoTag) == b.VideoTag && Str(a.FrameSize) == b.FrameSize && a.VideoBitrate == b.VideoBitrate &&
           Str(a.FrameRate) == b.FrameRate && Str(a.FrameAspectRatio) == b.FrameAspectRatio &&
           Str(a.AudioCodec) == b.AudioCodec && Str(a.AudioChannels) == b.AudioChannels &&
           Str(a.AudioSampleRate) == b.AudioSampleRate && a.AudioBitrate == b.AudioBitrate &&
           Str(a.TargetType) == b.TargetType && Str(a.NormType) == b.NormType && a.DisableVideo == b.DisableVideo;
}

// Relations the catalogue states between its rows: a slip in one transcribed row shows here.
TEST(PresetCatalogue, RowsThatRepeatOneAnother)
{
    std::span<const TOutputPreset> phones = PresetsOfCategory(6), android = PresetsOfCategory(19);
    ASSERT_EQ(phones.size(), android.size());
    for (size_t i = 0; i < phones.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(SameValues(phones[i], android[i]));
        String title = phones[i].Title;
        if (i >= 4 && i <= 8) title.replace(0, 4, L"Android手机");
        EXPECT_EQ(title, android[i].Title);
    }
    const std::pair<int, int> same[] = {{1404, 1100}, {1405, 1103}, {1406, 1102}, {1300, 1301}, {1302, 1306},
                                        {1302, 1307}, {1002, 1004}, {1101, 1400}, {1101, 1403}, {1500, 1504},
                                        {1502, 1505}, {1602, 1605}, {1701, 1706}, {400, 404},   {1201, 1203},
                                        {2001, 2002}, {104, 111},   {600, 604}};
    for (auto [a, b] : same) EXPECT_TRUE(SameValues(*FindOutputPreset(a), *FindOutputPreset(b))) << a << " " << b;
    // 207 and 2002 share a title and differ only in the frame rate.
    TOutputPreset hd = *FindOutputPreset(207);
    EXPECT_EQ(Str(hd.Title), FindOutputPreset(2002)->Title);
    hd.FrameRate = L"30";
    EXPECT_TRUE(SameValues(hd, *FindOutputPreset(2002)));
}

}  // namespace
