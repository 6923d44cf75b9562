// The job list's text formats, the job slots and the output record rebuilt from a row.
#include "app/job_data.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/string_list.h"

namespace {

TEST(JobData, TimeTextKeepsWholeHoursPastADay)
{
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"00:00:00"},     {59, L"00:00:59"},      {3725, L"01:02:05"}, {86399, L"23:59:59"},
        {90061, L"25:01:01"}, {360000, L"100:00:00"}, {-5, L"00:00:00"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(SecToDate(seconds), text) << seconds;
}

TEST(JobData, MegabytesToTwoDecimalsInTheShortestForm)
{
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"0MB"},
        {13107200, L"12.5MB"},
        {1048576, L"1MB"},
        {1048576 + 10486, L"1.01MB"},
        {1048576 * 3 / 1000, L"0MB"},  // 0.003 MB
        {5767168, L"5.5MB"},
        // 0.125 MB: a half hundredth goes to the even neighbour.
        {131072, L"0.12MB"},
        {int64_t(1048576) * 4096, L"4096MB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(MegabytesText(bytes), text) << bytes;
}

TEST(JobData, SelectionCodeRoundTrips)
{
    EXPECT_EQ(SelectionCode({3, 0, 12, 1, 2, 0}), L"030012010200");
    EXPECT_EQ(DecodeSelectionCode(L"030012010200"), (std::array<int, 6>{3, 0, 12, 1, 2, 0}));
    // An unselected combo writes "00"; a short or broken code gives -1 for the pairs it lacks.
    EXPECT_EQ(SelectionCode({-1, 99, 100, 0, 0, 7}), L"009900000007");
    EXPECT_EQ(DecodeSelectionCode(L"0312x4"), (std::array<int, 6>{3, 12, -1, -1, -1, -1}));
}

TEST(JobData, SlotsAreTakenLowestFirstAndARemovedOneStaysTakenUntilTheClear)
{
    static TOutputOptions slots[JobSlotCount];
    FreeAllSlots(slots);
    EXPECT_EQ(LowestFreeSlot(slots), 0);
    slots[0].AudioLanguage = SlotFull;
    slots[1].AudioLanguage = SlotDeleted;
    EXPECT_EQ(LowestFreeSlot(slots), 2);
    for (TOutputOptions& o : slots) o.AudioLanguage = SlotDeleted;
    EXPECT_EQ(LowestFreeSlot(slots), -1) << "all 501 used since the clear";
    FreeAllSlots(slots);
    EXPECT_EQ(LowestFreeSlot(slots), 0);
    EXPECT_EQ(slots[500].AudioLanguage, L"kong");
}

// A row's columns 11 to 24 over the record of the add.
struct RowCase {
    const char* Name;
    std::vector<std::pair<int, String>> Columns;
    std::function<void(const TOutputOptions&)> Check;
};

TEST(JobData, RowToOutputOptionsLaysTheSetColumnsOverTheRecord)
{
    const RowCase cases[] = {
        {"x264 takes its preset and drops the tag",
         {{11, L"libx264"}, {14, L"XVID"}},
         [](const TOutputOptions& o) {
             EXPECT_EQ(o.VideoCodec, L"libx264");
             EXPECT_EQ(o.VideoPreset, L"libx264-default");
             EXPECT_EQ(o.VideoTag, L"");
         }},
        {"another codec keeps the tag",
         {{11, L"mpeg4"}, {14, L"XVID"}},
         [](const TOutputOptions& o) {
             EXPECT_EQ(o.VideoCodec, L"mpeg4");
             EXPECT_EQ(o.VideoPreset, L"");
             EXPECT_EQ(o.VideoTag, L"XVID");
         }},
        {"not-set texts keep the record's values",
         {{12, L"AUTO"}, {19, L"-1000"}, {20, L"AUTO"}},
         [](const TOutputOptions& o) {
             EXPECT_EQ(o.AudioCodec, L"mp3");
             EXPECT_EQ(o.AudioBitrate, 64000);
             EXPECT_EQ(o.AudioSampleRate, 22050);
         }},
        {"numbers and texts",
         {{12, L"aac"},
          {13, L"2"},
          {15, L".mp4"},
          {16, L"320*240"},
          {17, L"816000"},
          {18, L"29.97"},
          {19, L"128000"},
          {20, L"44100"},
          {21, L"16:9"}},
         [](const TOutputOptions& o) {
             EXPECT_EQ(o.AudioCodec, L"aac");
             EXPECT_EQ(o.AudioChannels, 2);
             EXPECT_EQ(o.FileExt, L".mp4");
             EXPECT_EQ(o.FrameSize, L"320*240");
             EXPECT_EQ(o.VideoBitrate, 816000);
             EXPECT_EQ(o.FrameRate, L"29.97");
             EXPECT_EQ(o.AudioBitrate, 128000);
             EXPECT_EQ(o.AudioSampleRate, 44100);
             EXPECT_EQ(o.FrameAspectRatio, L"16:9");
         }},
        {"no video, DVD and PAL",
         {{22, L"True"}, {23, L"dvd"}, {24, L"PAL"}},
         [](const TOutputOptions& o) {
             EXPECT_TRUE(o.DisableVideo);
             EXPECT_EQ(o.TargetType, ttDVD);
             EXPECT_EQ(o.NormType, ntPAL);
         }},
        {"comparisons are exact: lower-case norm and False",
         {{22, L"False"}, {24, L"pal"}},
         [](const TOutputOptions& o) {
             EXPECT_FALSE(o.DisableVideo);
             EXPECT_EQ(o.NormType, ntAuto);
             EXPECT_EQ(o.TargetType, ttVCD) << "an empty target column keeps the record's";
         }},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TStringList sub;
        TJobRow row{L"/in/clip.mkv", sub};
        row.SetColumn(24, L"");
        row.SetColumn(19, L"-1");
        for (const auto& [column, text] : c.Columns) row.SetColumn(column, text);
        TOutputOptions o;
        InitOutputOptions(&o);
        o.AudioCodec = L"mp3";
        o.AudioBitrate = 64000;
        o.AudioSampleRate = 22050;
        o.TargetType = ttVCD;
        o.AudioLanguage = SlotFull;
        RowToOutputOptions(row, o);
        c.Check(o);
        EXPECT_EQ(o.AudioLanguage, SlotFull) << "the slot's mark is the caller's to clear";
    }
}

TEST(JobData, ANumberColumnWithoutANumberIsAConversionError)
{
    TStringList sub;
    TJobRow row{L"/in/clip.mkv", sub};
    row.SetColumn(24, L"");
    row.SetColumn(19, L"");  // neither a number nor a not-set text
    TOutputOptions o;
    InitOutputOptions(&o);
    EXPECT_THROW(RowToOutputOptions(row, o), EConvertError);
}

}  // namespace
