// Encoder presets: lookup of the built-in ones, names composed with the named codec, preset
// files and their errors, and every built-in H.264 preset opening the installed libx264.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/av_bindings.h"
#include "engine/encoder_presets.h"
#include "tests/engine/task_test_support.h"
#include "tests/support/temp_dir.h"

using engine_test::TaskFixture;

namespace {

int LineCount(const String& AText)
{
    int n = 0;
    for (wchar_t c : AText) n += c == L'\n';
    return n;
}

bool HasPair(const std::vector<TOptionPair>& AList, const char* AName, const char* AValue)
{
    for (const TOptionPair& p : AList)
        if (p.Name == AName && p.Value == AValue) return true;
    return false;
}

}  // namespace

TEST(BuiltinPresets, AreSortedAndFoundIgnoringLetterCase)
{
    for (int i = 1; i < BuiltinPresetCount; ++i)
        EXPECT_LT(std::string(BuiltinPresets[i - 1].Name), std::string(BuiltinPresets[i].Name));
    String text;
    FindBuiltinPreset(L"LIBX264-HQ", text);
    EXPECT_EQ(text.substr(0, 8), L"coder=1\n");
    FindBuiltinPreset(L"libx264-medium", text);
    EXPECT_EQ(LineCount(text), 22);
    FindBuiltinPreset(L"libx264-main", text);
    EXPECT_EQ(text, L"flags2=-dct8x8\n");
    FindBuiltinPreset(L"medium", text);
    EXPECT_EQ(text, L"");
    FindBuiltinPreset(L"libx264-hq ", text);
    EXPECT_EQ(text, L"");
}

class EncoderPresets : public TaskFixture {
protected:
    std::string Load(const char* AKind, const String& AName)
    {
        return FailureOf([&] { Task->ApplyOption(Utf8ToString(AKind), AName); });
    }
};

TEST_F(EncoderPresets, ShortNameIsComposedWithTheNamedVideoCodec)
{
    EXPECT_EQ(Load("vpre", L"medium"), "Preset \"medium\" not found");
    // The encoder's own options ("coder") need the encoder named first.
    EXPECT_EQ(Load("vpre", L"LIBX264-HQ"),
              "LIBX264-HQ: Invalid option or argument: \"coder=1\", parsed as \"coder\" = \"1\"");
    Task->ApplyOption(L"vcodec", L"libx264");
    // A full built-in name is found in any letter case.
    EXPECT_EQ(Load("vpre", L"LIBX264-HQ"), "");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->refs, 4);
    EXPECT_EQ(Load("vpre", L"medium"), "");
    AVCodecContext* video = Task->FOptions.avcodec_opts[0];
    EXPECT_EQ(video->max_b_frames, 3);
    EXPECT_EQ(video->refs, 3);
    EXPECT_EQ(video->gop_size, 250);
    EXPECT_EQ(video->qmin, 10);
    // Lines the encoder now takes under other names.
    const auto& priv = Task->FCodecPrivateOptions[AVMEDIA_TYPE_VIDEO];
    EXPECT_TRUE(HasPair(priv, "partitions", "i8x8,i4x4,p8x8,b8x8"));
    EXPECT_TRUE(HasPair(priv, "direct-pred", "1"));
    EXPECT_TRUE(HasPair(priv, "b-pyramid", "normal"));
    EXPECT_TRUE(HasPair(priv, "8x8dct", "1"));
    EXPECT_TRUE(HasPair(priv, "weightb", "1"));
    EXPECT_TRUE(HasPair(priv, "me_method", "hex"));
    for (const auto& line : Lines) EXPECT_NE(line.Level, llError) << StringToUtf8(line.Text);
}

TEST_F(EncoderPresets, FilePresetsAreAppliedLineByLine)
{
    TempDir dir;
    const std::string path = dir.file("我的 preset.ffpreset");
    std::ofstream(path, std::ios::binary) << "  \r\n g=12 \r\n\r\n\tacodec=mp2\r\nqmin=3\rbf=2";
    EXPECT_EQ(Load("fpre", Utf8ToString(path)), "");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->gop_size, 12);
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->qmin, 3);
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->max_b_frames, 2);
    EXPECT_EQ(Task->Faudio_codec_name, "mp2");

    // "fpre" never looks into the built-in table.
    EXPECT_EQ(Load("fpre", L"libx264-hq"), "Preset \"libx264-hq\" not found");
    // An empty file applies nothing.
    std::ofstream(dir.file("empty.ffpreset")).close();
    EXPECT_EQ(Load("apre", dir.File(L"empty.ffpreset")), "");
}

TEST_F(EncoderPresets, BadLinesFailNamingPresetAndLineAndEarlierLinesStay)
{
    TempDir dir;
    std::ofstream(dir.file("syntax.ffpreset")) << "g=7\n  novalue  \nqmin=4\n";
    EXPECT_EQ(Load("vpre", dir.File(L"syntax.ffpreset")),
              dir.file("syntax.ffpreset") + ": Invalid syntax: \"novalue\"");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->gop_size, 7);
    EXPECT_NE(Task->FOptions.avcodec_opts[0]->qmin, 4);

    std::ofstream(dir.file("empty_value.ffpreset")) << "g=\n";
    EXPECT_EQ(Load("vpre", dir.File(L"empty_value.ffpreset")),
              dir.file("empty_value.ffpreset") + ": Invalid syntax: \"g=\"");

    std::ofstream(dir.file("unknown.ffpreset")) << "qmin=5\nmisspelt_key=1\n";
    EXPECT_EQ(Load("vpre", dir.File(L"unknown.ffpreset")),
              dir.file("unknown.ffpreset") +
                  ": Invalid option or argument: \"misspelt_key=1\", parsed as \"misspelt_key\" = \"1\"");
    EXPECT_EQ(Task->FOptions.avcodec_opts[0]->qmin, 5);
}

// The installed libx264 opens with each built-in preset applied the way the output stage
// applies options: the generic ones from the video option context, the encoder's own ones
// by name.
TEST_F(EncoderPresets, EveryBuiltinPresetOpensTheInstalledLibx264)
{
    const AVCodec* x264 = av::avcodec_find_encoder_by_name("libx264");
    if (!x264) GTEST_SKIP() << "libx264 is not installed";
    for (const TOptionsPreset& preset : BuiltinPresets) {
        SCOPED_TRACE(preset.Name);
        Task->ResetConverter();
        Task->ApplyOption(L"vcodec", L"libx264");
        ASSERT_EQ(Load("vpre", Utf8ToString(preset.Name)), "");
        AVCodecContext* enc = av::avcodec_alloc_context3(x264);
        ApplyFFOptions(Task->FOptions, enc, Task->FOptions.avcodec_opts[0],
                       AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
        for (const TOptionPair& p : Task->FCodecPrivateOptions[AVMEDIA_TYPE_VIDEO])
            EXPECT_GE(av::av_opt_set(enc, p.Name.c_str(), p.Value.c_str(), AV_OPT_SEARCH_CHILDREN), 0) << p.Name;
        enc->width = 64;
        enc->height = 48;
        enc->pix_fmt = AV_PIX_FMT_YUV420P;
        enc->time_base = AVRational{1, 25};
        enc->thread_count = 1;
        EXPECT_GE(av::avcodec_open2(enc, x264, nullptr), 0);
        av::avcodec_free_context(&enc);
    }
    for (const auto& line : Lines) EXPECT_NE(line.Level, llError) << StringToUtf8(line.Text);
}
