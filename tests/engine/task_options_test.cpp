// Defaults of the task option records and the translation of encoder options the older
// libraries took.
#include <gtest/gtest.h>

#include "engine/encoder_option_translation.h"
#include "engine/task_options.h"

TEST(TaskOptions, InitSetsTheNotSetValuesAgain)
{
    TInputOptions in;
    in.FileName = L"a.avi";
    in.TimeStart = 5;
    in.ProgramID = 3;
    in.Tag = 7;
    in.Data = &in;
    InitInputOptions(&in);
    EXPECT_TRUE(in.FileName.empty());
    EXPECT_TRUE(in.FileFormat.empty());
    EXPECT_EQ(in.TimeStart, INT64_MIN);
    EXPECT_EQ(in.ProgramID, -1);
    EXPECT_EQ(in.Tag, 0);
    EXPECT_EQ(in.Data, nullptr);

    TOutputOptions out;
    out.AudioBitrate = 128000;
    out.VideoCodec = L"mpeg4";
    out.DisableVideo = true;
    out.Info.Title = "title";
    out.Info.Year = 2020;
    out.TargetType = ttDVD;
    out.NormDefault = ntNTSC;
    InitOutputOptions(&out);
    EXPECT_EQ(out.AudioBitrate, -1);
    EXPECT_TRUE(out.VideoCodec.empty());
    EXPECT_FALSE(out.DisableVideo);
    EXPECT_EQ(out.AudioVolume, -1);
    EXPECT_EQ(out.AudioSyncMethod, 0);
    EXPECT_EQ(out.VideoSyncMethod, -1);
    EXPECT_EQ(out.MuxDelay, -1.0f);
    EXPECT_EQ(out.CropLeft, -1);
    EXPECT_EQ(out.TimeLength, INT64_MIN);
    EXPECT_EQ(out.Info.TimeStamp, -1.0);
    EXPECT_EQ(out.Info.Year, -1);
    EXPECT_TRUE(out.Info.Title.empty());
    EXPECT_EQ(out.TargetType, ttIgnore);
    EXPECT_EQ(out.NormType, ntAuto);
    EXPECT_EQ(out.NormDefault, ntPAL);
    EXPECT_EQ(sizeof(TOptionTargetType), 4u);
    EXPECT_EQ(sizeof(TOptionNormType), 4u);
}

TEST(EncoderOptionTranslation, OldOptionsBecomeTheEncodersOwn)
{
    struct {
        const char* Name;
        const char* Value;
        std::vector<TOptionPair> Expected;  // empty: not translated
    } cases[] = {
        {"flags2", "-wpred-dct8x8", {{"weightb", "0"}, {"8x8dct", "0"}}},
        {"flags2",
         "+bpyramid-mixed_refs+fastpskip-mbtree",
         {{"b-pyramid", "normal"}, {"mixed-refs", "0"}, {"fast-pskip", "1"}, {"mbtree", "0"}}},
        {"flags2", "dct8x8", {{"8x8dct", "1"}}},
        {"flags2", "+fast+wpred", {{"flags2", "+fast"}, {"weightb", "1"}}},
        {"flags2", "+fast", {}},
        {"flags", "+scan_offset", {{"scan_offset", "1"}}},
        {"flags", "+loop", {}},
        {"directpred", "3", {{"direct-pred", "3"}}},
        {"cqp", "0", {{"qp", "0"}}},
        {"wpredp", "2", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + "=" + c.Value);
        std::vector<TOptionPair> result;
        EXPECT_EQ(TranslateEncoderOption(c.Name, c.Value, result), !c.Expected.empty());
        ASSERT_EQ(result.size(), c.Expected.size());
        for (size_t i = 0; i < result.size(); ++i) {
            EXPECT_EQ(result[i].Name, c.Expected[i].Name);
            EXPECT_EQ(result[i].Value, c.Expected[i].Value);
        }
    }
}

TEST(EncoderOptionTranslation, PartitionTokensBecomeAListOfThoseSwitchedOn)
{
    EXPECT_TRUE(IsPartitionList("partitions", "-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8"));
    EXPECT_EQ(TranslatePartitions("-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8"), "i4x4,p8x8");
    EXPECT_EQ(TranslatePartitions("-parti8x8-parti4x4-partp8x8-partb8x8"), "none");
    EXPECT_FALSE(IsPartitionList("partitions", "i8x8,p8x8"));
    EXPECT_FALSE(IsPartitionList("flags", "+parti8x8"));
}

TEST(EncoderOptionTranslation, MissingEncodersHaveSuccessors)
{
    EXPECT_EQ(EncoderSuccessorName("libfaac"), "aac");
    EXPECT_EQ(EncoderSuccessorName("libamr_nb"), "libopencore_amrnb");
    EXPECT_EQ(EncoderSuccessorName("msmpeg4v1"), "msmpeg4v2");
    EXPECT_EQ(EncoderSuccessorName("libx264"), "libx264");
}
