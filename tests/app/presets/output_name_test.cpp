// Output names: extension from a caption, name building and making it unique on disk.
#include "app/presets/output_name.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/presets/apply_preset.h"
#include "platform/framework/core/strings.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(PresetOutputName, CaptionExtensionWithItsSixExceptions)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"MKV标准视频(*.mkv)", L".mkv"},
        {L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)", L".3g2"},
        {L"ALAC-Apple Lossless无损音频格式(*.alac) ", L".alac"},
        {L"FLAC-音频格式(*.flac)", L".flac"},
        {L"AIFF - 音频交换文件格式(*.aiff)", L".aiff"},
        {L"某格式(*.mpeg)", L".mpeg"},
        {L"RM - REAL视频格式(*.rm)", L".rm"},
        {L"RA - RealAudio音频格式(*.ra)", L".ra"},
        {L"Xbox360 MCE HD MPEG-2视频(*.mpg)", L".mpg"},  // the title's, not the preset's ".mpeg"
        {L"abc)", L"abc"},
        {L"", L""}};
    for (auto [caption, ext] : cases) EXPECT_EQ(CaptionExtension(caption), ext) << caption;
}

TEST(PresetOutputName, ExtensionReplacedInTheNamePartOnly)
{
    EXPECT_EQ(ReplaceNameExtension(L"song.mp3", L".flac"), L"song.flac");
    EXPECT_EQ(ReplaceNameExtension(L"clip", L".mp4"), L"clip.mp4");
    EXPECT_EQ(ReplaceNameExtension(L"clip.final.mkv", L".avi"), L"clip.final.avi");
    EXPECT_EQ(ExtractNamePart(L"/v/clip.final.mkv"), L"clip.final.mkv");
    EXPECT_EQ(ExtractNamePart(L"clip"), L"clip");
    EXPECT_EQ(OutputFileName(L"/out", L"/v/clip.final.mkv", L".avi"), L"/out/clip.final.avi");
    EXPECT_EQ(OutputFileName(L"/out", L"/v/clip", L".mp3"), L"/out/clip.mp3");
    EXPECT_EQ(OutputFileName(L"/out.d", L"/v.d/clip", L".mp3"), L"/out.d/clip.mp3");
    // The folder text is used as it stands: a trailing "/" gives two in a row.
    EXPECT_EQ(OutputFileName(L"/out/", L"/v/clip.avi", L".avi"), L"/out//clip.avi");
    EXPECT_EQ(OutputFileName(L" /out ", L"/v/视频 片段.mkv", L".avi"), L" /out /视频 片段.avi");
}

void Touch(const String& path) { std::ofstream(StringToUtf8(path)) << "x"; }

TEST(PresetOutputName, UniqueNamesCountFilesOnly)
{
    TempDir dir;
    String out = Utf8ToString(dir.path());
    EXPECT_EQ(UniqueOutputFileName(out, L"clip.avi", false), out + L"/clip.avi");
    Touch(out + L"/clip.avi");
    EXPECT_EQ(UniqueOutputFileName(out, L"clip.avi", false), out + L"/clip_1.avi");
    Touch(out + L"/clip_1.avi");
    EXPECT_EQ(UniqueOutputFileName(out, L"clip.avi", false), out + L"/clip_2.avi");
    EXPECT_EQ(UniqueOutputFileName(out, L"clip.avi", true), out + L"/clip.avi");
    // A folder of that name is not a file.
    std::filesystem::create_directory(StringToUtf8(out + L"/movie.avi"));
    EXPECT_EQ(UniqueOutputFileName(out, L"movie.avi", false), out + L"/movie.avi");
    // Names with dots and Chinese characters: the number goes before the last extension.
    Touch(out + L"/我的 视频.v2.mp4");
    EXPECT_EQ(UniqueOutputFileName(out, L"我的 视频.v2.mp4", false), out + L"/我的 视频.v2_1.mp4");
    // A name without extension gets its number at the end.
    Touch(out + L"/noext");
    EXPECT_EQ(UniqueOutputFileName(out, L"noext", false), out + L"/noext_1");
    // A folder that does not exist holds no file: the name stays.
    EXPECT_EQ(UniqueOutputFileName(out + L"/missing", L"clip.avi", false), out + L"/missing/clip.avi");
    EXPECT_TRUE(OutputFileExists(out + L"/clip.avi"));
    EXPECT_FALSE(OutputFileExists(out + L"/movie.avi"));
    EXPECT_FALSE(OutputFileExists(L""));
}

TEST(PresetOutputName, ApplyMakesTheOutputNameUnique)
{
    TempDir dir;
    String out = Utf8ToString(dir.path());
    PresetSettings s;
    s.Video_AddFileName = L"/媒体/假期.片段.mkv";
    Touch(out + L"/假期.片段.mpg");
    // Key 2110 stores no Video_FileExt: the number still goes before the name's ".mpg".
    ASSERT_TRUE(ApplyPresetKey(2110, out, false, s));
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/假期.片段_1.mpg");
    EXPECT_EQ(s.Video_FileExt, L"");
    ASSERT_TRUE(ApplyPresetKey(2110, out, true, s));
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/假期.片段.mpg");
    // Key 106: the name gets ".ra" and is tested as such, whatever Video_FileExt says.
    Touch(out + L"/假期.片段.rm");
    ASSERT_TRUE(ApplyPresetKey(106, out, false, s));
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/假期.片段.ra");
    EXPECT_EQ(s.Video_FileExt, L".rm");
}

}  // namespace
