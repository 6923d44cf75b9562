// The option language of a conversion task: every case goes through ApplyOption, as the
// ExtOptions lines of the task component do, and is checked by the field it sets or the
// message it fails with.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <functional>

#include "engine/program_files.h"
#include "tests/engine/task_test_support.h"

using engine_test::TaskFixture;

namespace {

struct TOptionCase {
    const char* Name;
    const char* Value;
    const char* Failure;  // expected message; nullptr = the option is accepted
    std::function<bool(const TFFmpeg&)> Check;
};

std::string MatrixText(int ACount)
{
    std::string text;
    for (int i = 1; i <= ACount; ++i) text += (i > 1 ? "," : "") + std::to_string(i);
    return text;
}

}  // namespace

class OptionDispatch : public TaskFixture {
protected:
    void Apply(const char* AName, const char* AValue) { Task->ApplyOption(Utf8ToString(AName), Utf8ToString(AValue)); }
    std::string Failure(const char* AName, const char* AValue)
    {
        return FailureOf([&] { Apply(AName, AValue); });
    }
};

TEST_F(OptionDispatch, OptionsSetTheirFieldsOrFailWithTheirMessages)
{
    const TOptionCase cases[] = {
        // flags: "0" is false, every other text (the empty one too) true
        {"vn", "0", nullptr, [](const TFFmpeg& t) { return !t.Fvideo_disable; }},
        {"vn", "", nullptr, [](const TFFmpeg& t) { return t.Fvideo_disable; }},
        {"vn", "1", nullptr, [](const TFFmpeg& t) { return t.Fvideo_disable; }},
        {"copyts", "0", nullptr, [](const TFFmpeg& t) { return t.Fcopy_ts; }},
        {"xerror", "0", nullptr, [](const TFFmpeg& t) { return t.Fexit_on_error; }},
        {"shortest", "yes", nullptr, [](const TFFmpeg& t) { return t.Fopt_shortest; }},
        // aspect
        {"aspect", "16:9", nullptr, [](const TFFmpeg& t) { return t.Fframe_aspect_ratio == 16.0f / 9.0f; }},
        {"aspect", "-1", nullptr, [](const TFFmpeg& t) { return t.Fframe_aspect_ratio == -1.0f; }},
        {"aspect", "1.5", nullptr, [](const TFFmpeg& t) { return t.Fframe_aspect_ratio == 1.5f; }},
        {"aspect", "4:0", "Incorrect aspect ratio specification.", nullptr},
        {"aspect", "wide", "Incorrect aspect ratio specification.", nullptr},
        // qscale
        {"qscale", "255", nullptr, [](const TFFmpeg& t) { return t.Fvideo_qscale == 255.0f; }},
        {"qscale", "0", "qscale must be > 0.0 and <= 255", nullptr},
        {"qscale", "255.5", "qscale must be > 0.0 and <= 255", nullptr},
        // tags: the first character in the lowest byte
        {"vtag", "XVID", nullptr, [](const TFFmpeg& t) { return t.Fvideo_codec_tag == 0x44495658u; }},
        {"vtag", "XVI", "video tag parameter must be 4 chars", nullptr},
        {"atag", "mp4a1", "audio tag parameter must be 4 chars", nullptr},
        {"stag", "ab", "subtitle tag parameter must be 4 chars", nullptr},
        // metadata
        {"metadata", "title", "Missing =", nullptr},
        {"metadata", "title=", nullptr,
         [](const TFFmpeg& t) {
             return t.Fmetadata.size() == 1 && t.Fmetadata[0].Key == "title" && t.Fmetadata[0].Value.empty();
         }},
        {"metadata", "a=b=c", nullptr,
         [](const TFFmpeg& t) {
             return t.Fmetadata.size() == 1 && t.Fmetadata[0].Key == "a" && t.Fmetadata[0].Value == "b=c";
         }},
        // stream ids
        {"streamid", "3", "Invalid value \"3\" for option \"streamid\", required syntax is \"index:value\"", nullptr},
        {"streamid", ":5", "Invalid value \":5\" for option \"streamid\", required syntax is \"index:value\"", nullptr},
        {"streamid", "1:256", nullptr, [](const TFFmpeg& t) { return t.Fstreamid_map[1] == 256; }},
        {"streamid", "20:1", "Invalid stream index 20 for option \"streamid\": it must lie in 0..19", nullptr},
        {"streamid", "-1:1", "Invalid stream index -1 for option \"streamid\": it must lie in 0..19", nullptr},
        {"streamid", "x:1", "'x' is not a valid integer value", nullptr},
        // timestamp scales of the next input
        {"itsscale", "20:2", "stream index over MAX_STREAMS(20)", nullptr},
        {"itsscale", "-1:2", "stream index over MAX_STREAMS(20)", nullptr},
        {"itsscale", "1:0.5", nullptr, [](const TFFmpeg& t) { return t.Finput_files_ts_scale[0][1] == 0.5; }},
        // matrices
        {"intra_matrix", "", "Syntax error in matrix \"\" at coeff 0", nullptr},
        // times
        {"t", "10", nullptr,
         [](const TFFmpeg& t) { return t.Frecording_time == 10000000 && t.FTotalOutputDuration == 10000000; }},
        {"t", "ten", "Invalid duration specification for t: ten", nullptr},
        {"ss", "1:02.5", nullptr, [](const TFFmpeg& t) { return t.Fstart_time == 62500000; }},
        {"itsoffset", "-2", nullptr, [](const TFFmpeg& t) { return t.Finput_ts_offset == -2000000; }},
        {"timestamp", "2020-01-02 03:04:05", nullptr,
         [](const TFFmpeg& t) { return t.Frecording_timestamp > 1577000000; }},
        {"timestamp", "someday", "Invalid date specification for timestamp: someday", nullptr},
        // plain fields, the dispatcher's own range
        {"vol", "-5", nullptr, [](const TFFmpeg& t) { return t.Faudio_volume == -5; }},
        {"ar", "0", nullptr, [](const TFFmpeg& t) { return t.Faudio_sample_rate == 44100; }},
        {"ac", "-2", nullptr, [](const TFFmpeg& t) { return t.Faudio_channels == 2; }},
        {"ar", "22050", nullptr, [](const TFFmpeg& t) { return t.Faudio_sample_rate == 22050; }},
        {"programid", "-3", nullptr, [](const TFFmpeg& t) { return t.Fopt_programid == -3; }},
        {"muxdelay", "-1", nullptr, [](const TFFmpeg& t) { return t.Fmux_max_delay == -1.0f; }},
        {"fs", "5000000000", nullptr, [](const TFFmpeg& t) { return t.Flimit_filesize == 5000000000LL; }},
        {"fs", "5G", "'5G' is not a valid integer value", nullptr},
        {"dframes", "7", nullptr, [](const TFFmpeg& t) { return t.Fmax_frames[2] == 7; }},
        {"vframes", "many", "'many' is not a valid integer value", nullptr},
        {"adrift_threshold", "0.25", nullptr, [](const TFFmpeg& t) { return t.Faudio_drift_threshold == 0.25f; }},
        {"vlang", "chi", nullptr, [](const TFFmpeg& t) { return t.Fvideo_language == L"chi"; }},
        // formats and sizes
        {"f", "pgmyuv", nullptr,
         [](const TFFmpeg& t) { return t.Flast_asked_format == "image2" && t.Fpgmyuv_compatibility_hack == 1; }},
        {"s", "352x288", nullptr, [](const TFFmpeg& t) { return t.Fframe_width == 352 && t.Fframe_height == 288; }},
        {"s", "hd720", nullptr, [](const TFFmpeg& t) { return t.Fframe_width == 1280 && t.Fframe_height == 720; }},
        {"s", "big", "Incorrect frame size", nullptr},
        {"r", "30000/1001", nullptr,
         [](const TFFmpeg& t) { return t.Fframe_rate.num == 30000 && t.Fframe_rate.den == 1001; }},
        {"r", "fast", "Incorrect frame rate", nullptr},
        {"pix_fmt", "yuv422p", nullptr, [](const TFFmpeg& t) { return t.Fframe_pix_fmt == AV_PIX_FMT_YUV422P; }},
        {"pix_fmt", "yuv999", "Unknown pixel format requested: yuv999", nullptr},
        {"sample_fmt", "s16", nullptr, [](const TFFmpeg& t) { return t.Faudio_sample_fmt == AV_SAMPLE_FMT_S16; }},
        // codecs: "copy" sets the copy flag, a later name keeps it
        {"vcodec", "copy", nullptr,
         [](const TFFmpeg& t) { return t.Fvideo_stream_copy == 1 && t.Fvideo_codec_name.empty(); }},
        {"acodec", "mp2", nullptr,
         [](const TFFmpeg& t) { return t.Faudio_codec_name == "mp2" && t.Faudio_stream_copy == 0; }},
        {"pass", "3", "pass number can be only 1 or 2", nullptr},
        {"pass", "2", nullptr, [](const TFFmpeg& t) { return t.Fdo_pass == 2; }},
        // refusals
        {"threads", "2", "TODO: option - threads", nullptr},
        {"padleft", "8", "Please use vfilters=pad", nullptr},
        {"padcolor", "", "Please use vfilters=pad", nullptr},
        {"newaudio", "", "At least one output file must be specified", nullptr},
        {"vhook", "hook.so|a|b", "Failed to add video hook function: hook.so|a|b", nullptr},
        {"absf", "no_such_filter=1", "Unknown bitstream filter no_such_filter=1", nullptr},
        {"vpre", "normal", "Preset \"normal\" not found", nullptr},
        {"target", "pal-cd", "Unknown target type", nullptr},
        {"target", "dvd", "frame_rate is invalid.", nullptr},
        {"vf", "scale=320:240", nullptr, [](const TFFmpeg& t) { return t.Fvfilters == L"scale=320:240"; }},
    };
    for (const TOptionCase& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + "=" + c.Value);
        Task->ResetConverter();
        std::string failure = Failure(c.Name, c.Value);
        if (c.Failure) {
            EXPECT_EQ(failure, c.Failure);
        } else {
            EXPECT_EQ(failure, "");
            EXPECT_TRUE(c.Check(*Task));
        }
    }
}

TEST_F(OptionDispatch, CropsActOnTheFrameSizeKnownAtThatMoment)
{
    Apply("s", "640x480");
    Apply("croptop", "0");
    EXPECT_EQ(Task->Fframe_height, 480);
    EXPECT_TRUE(Lines.empty());
    Apply("croptop", "10");
    EXPECT_EQ(Task->Fframe_topBand, 10);
    EXPECT_EQ(Task->Fframe_height, 470);
    EXPECT_TRUE(Logged(llWarning, L"CropXXX is deprecated in favor of the crop avfilter"));
    EXPECT_EQ(Failure("cropbottom", "470"),
              "Vertical crop dimensions are outside the range of the original image.\n"
              "Remember to crop first and scale second.");
    EXPECT_EQ(Failure("cropleft", "640"),
              "Horizontal crop dimensions are outside the range of the original image.\n"
              "Remember to crop first and scale second.");
    EXPECT_EQ(Task->Fframe_bottomBand, 0);
    Apply("cropright", "40");
    EXPECT_EQ(Task->Fframe_width, 600);
}

TEST_F(OptionDispatch, QuantiserMatricesTakeSixtyFourCoefficients)
{
    Apply("intra_matrix", MatrixText(70).c_str());
    ASSERT_EQ(Task->Fintra_matrix.size(), 64u);
    EXPECT_EQ(Task->Fintra_matrix[0], 1);
    EXPECT_EQ(Task->Fintra_matrix[63], 64);
    EXPECT_EQ(Failure("inter_matrix", MatrixText(10).c_str()),
              "Syntax error in matrix \"" + MatrixText(10) + "\" at coeff 9");
    // The matrix is cleared before its text is read.
    ASSERT_EQ(Task->Finter_matrix.size(), 64u);
    EXPECT_EQ(Task->Finter_matrix[9], 10);
    EXPECT_EQ(Task->Finter_matrix[10], 0);
}

TEST_F(OptionDispatch, DoNothingOptionsOnlyLog)
{
    for (const char* name :
         {"benchmark", "L", "h", "version", "formats", "codecs", "bsfs", "protocols", "filters", "i"}) {
        Lines.clear();
        EXPECT_EQ(Failure(name, "x"), "");
        EXPECT_TRUE(Logged(llInfo, L"Do nothing: option - " + Utf8ToString(name))) << name;
    }
    Apply("timelimit", "5");
    EXPECT_TRUE(Logged(llWarning, L"Warning: -timelimit not implemented on Windows"));
}

TEST_F(OptionDispatch, UnknownNamesGoToTheOptionContexts)
{
    // Upper case is not the dispatcher's "vn": the option contexts do not know it either.
    EXPECT_EQ(Failure("VN", "1"), "");
    EXPECT_FALSE(Task->Fvideo_disable);
    EXPECT_EQ(Failure("no_such_option", "1"), "");
    // A library option by its own name.
    Apply("g", "12");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->gop_size, 12);
}

TEST_F(OptionDispatch, BitRatesBelowOneThousandWarn)
{
    const String warning = L"WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s";
    Apply("b", "64");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->bit_rate, 64);
    EXPECT_TRUE(Logged(llWarning, warning));
    Lines.clear();
    Apply("ab", "128000");
    EXPECT_EQ(Task->FOptions.avcodec_opts[1]->bit_rate, 128000);
    EXPECT_FALSE(Logged(llWarning, warning));
    EXPECT_FALSE(Task->SetBitRate(L"ab", L""));
}

TEST_F(OptionDispatch, RefusedAndUnknownOptionsAreNotedAndTheTaskGoesOn)
{
    // Each row on a fresh list: what FRefusedOptions holds after the option (nothing when it
    // was taken), and whether the name was known. Nothing throws: the task goes on without it.
    struct Row {
        const char* Name;
        const char* Value;
        bool Refused;
        bool Known;
    } rows[] = {
        {"b", "64000", false, false}, {"b", "abc", true, true},  {"b", "-5", true, true},
        {"ab", "", true, true},       {"vb", "1x", true, true},  {"g", "12", false, false},
        {"g", "twelve", true, true},  {"foo", "1", true, false}, {"VN", "1", true, false},
    };
    for (const Row& r : rows) {
        Task->FRefusedOptions.clear();
        EXPECT_EQ(Failure(r.Name, r.Value), "") << r.Name << "=" << r.Value;
        if (!r.Refused) {
            EXPECT_TRUE(Task->FRefusedOptions.empty()) << r.Name << "=" << r.Value;
            continue;
        }
        ASSERT_EQ(Task->FRefusedOptions.size(), 1u) << r.Name << "=" << r.Value;
        const TCustomFFmpeg::TRefusedOption& o = Task->FRefusedOptions[0];
        EXPECT_EQ(o.Name, Utf8ToString(r.Name));
        EXPECT_EQ(o.Value, Utf8ToString(r.Value));
        EXPECT_EQ(o.Known, r.Known) << r.Name << "=" << r.Value;
    }
    // The refused bit rates left the one taken before them.
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->bit_rate, 64000);
}

TEST_F(OptionDispatch, BitstreamFiltersAppendToTheChainOfTheirType)
{
    Apply("absf", "aac_adtstoasc");
    Apply("absf", "null");
    Apply("vbsf", "=h264_mp4toannexb");
    Apply("vbsf", "h264_mp4toannexb=ignored");
    ASSERT_EQ(Task->Faudio_bitstream_filters.size(), 2u);
    EXPECT_STREQ(Task->Faudio_bitstream_filters[0]->filter->name, "aac_adtstoasc");
    EXPECT_STREQ(Task->Faudio_bitstream_filters[1]->filter->name, "null");
    ASSERT_EQ(Task->Fvideo_bitstream_filters.size(), 1u);
    EXPECT_STREQ(Task->Fvideo_bitstream_filters[0]->filter->name, "h264_mp4toannexb");
    EXPECT_TRUE(Task->Fsubtitle_bitstream_filters.empty());
}

TEST_F(OptionDispatch, StreamAndMetadataMapsAreReadAsCIntegersAndBounded)
{
    Apply("map", "0:1");
    Apply("map", "0x1.010:2.3");
    Apply("map_meta_data", "1:0");
    ASSERT_EQ(Task->Fnb_stream_maps, 2);
    const TAVStreamMap& a = Task->Fstream_maps[0];
    EXPECT_EQ((std::vector<int>{a.file_index, a.stream_index, a.sync_file_index, a.sync_stream_index}),
              (std::vector<int>{0, 1, 0, 1}));
    const TAVStreamMap& b = Task->Fstream_maps[1];
    EXPECT_EQ((std::vector<int>{b.file_index, b.stream_index, b.sync_file_index, b.sync_stream_index}),
              (std::vector<int>{1, 8, 2, 3}));
    EXPECT_EQ(Task->Fnb_meta_data_maps, 1);
    EXPECT_EQ(Task->Fmeta_data_maps[0].out_file, 1);
    EXPECT_EQ(Task->Fmeta_data_maps[0].in_file, 0);

    // 4 files give room for 80 stream maps and 4 metadata maps; more are refused.
    for (int i = 2; i < 80; ++i) Apply("map", "0:0");
    EXPECT_EQ(Failure("map", "0:0"), "Too many stream maps: at most 80 are allowed");
    EXPECT_EQ(Task->Fnb_stream_maps, 80);
    for (int i = 1; i < 4; ++i) Apply("map_meta_data", "0:0");
    EXPECT_EQ(Failure("map_meta_data", "0:0"), "Too many metadata maps: at most 4 are allowed");
}

TEST_F(OptionDispatch, VideoStatisticsFileIsNamedForTheTime)
{
    std::time_t before = std::time(nullptr);
    Apply("vstats", "");
    std::time_t after = std::time(nullptr);
    bool matched = false;
    for (std::time_t t = before; t <= after; ++t) {
        std::tm local{};
        localtime_r(&t, &local);
        char clock[16];
        std::strftime(clock, sizeof clock, "%H%M%S", &local);
        matched |= Task->Fvstats_filename == StringToUtf8(AppPath()) + "vstats_" + clock + ".log";
    }
    EXPECT_TRUE(matched) << Task->Fvstats_filename;
    Apply("vstats_file", "my stats.log");
    EXPECT_EQ(Task->Fvstats_filename, "my stats.log");
}

TEST_F(OptionDispatch, FailingOptionLeavesItsFieldAndEarlierOptionsStay)
{
    Apply("r", "25");
    Apply("s", "320x240");
    EXPECT_NE(Failure("r", "x"), "");
    EXPECT_NE(Failure("s", "-5x3"), "");
    EXPECT_EQ(Task->Fframe_rate.num, 25);
    EXPECT_EQ(Task->Fframe_width, 320);
    EXPECT_EQ(Task->Fframe_height, 240);
}

TEST(OptionLanguage, DispatcherKnowsItsVocabulary) { EXPECT_EQ(EngineOptionCount(), 114); }

TEST(OptionLanguage, HookTextsSplitIntoWords)
{
    EXPECT_EQ(SplitHookWords("  a.so  -x   1 "), (std::vector<std::string>{"a.so", "-x", "1"}));
    EXPECT_EQ(SplitHookWords("|my hook.so||arg one|"), (std::vector<std::string>{"my hook.so", "arg one"}));
    EXPECT_TRUE(SplitHookWords("   ").empty());
}
