// File names for the media libraries: the encoding rules, and files with Chinese characters,
// blanks and quotes written and read through the libraries, by plain name and by the engine's
// own "unicode:utf8:" file access.
#include <fstream>

#include "engine/media_utils.h"
#include "engine/program_files.h"
#include "engine/unicode_file.h"
#include "engine_test_support.h"
#include "media_test_support.h"
#include "platform/framework/core/files.h"

using namespace engine_test;

TEST(UnicodeNames, EncodingRules)
{
    struct Case {
        String name;
        bool needsUnicode;
    };
    const Case cases[] = {
        {L"/home/user/video.avi", false},
        {L"/home/用户/视频 \"一\" 'b'.mp4", false},  // UTF-8 carries every character
        {L"http://host/a.flv", false},
        {L"udp://239.0.0.1:1234", false},
        {L"HTTP://host/a.flv", false},              // not a listed protocol: round trip decides
        {String(L"/tmp/bad\xD800name.avi"), true},  // a lone surrogate has no UTF-8 form
        {String(L"http://host/\xD800"), false},     // listed protocols skip the round trip
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NeedsUnicodeName(c.name), c.needsUnicode) << StringToUtf8(c.name);
        std::string encoded = EncodeAVFileName(c.name);
        EXPECT_EQ(IsUnicodeName(encoded.c_str()), c.needsUnicode) << encoded;
        if (!c.needsUnicode) {
            EXPECT_EQ(encoded, StringToUtf8(c.name));
        }
    }
    EXPECT_EQ(EncodeAVFileName(L""), "");
    EXPECT_EQ(MakeUnicodeName(L"/tmp/视频.avi"), "unicode:utf8:/tmp/视频.avi");
}

TEST(UnicodeNames, DecodingRules)
{
    EXPECT_FALSE(IsUnicodeName("unicode:utf8:"));  // the bare prefix is a plain name
    EXPECT_TRUE(IsUnicodeName("unicode:utf8:x"));
    EXPECT_FALSE(IsUnicodeName("unicode:utf16:x"));
    EXPECT_EQ(DecodeAVFileName("unicode:utf8:"), L"unicode:utf8:");
    EXPECT_EQ(DecodeAVFileName("unicode:utf8:/tmp/a:b 视频.mp4"), L"/tmp/a:b 视频.mp4");
    EXPECT_EQ(DecodeAVFileName("/tmp/视频.mp4"), L"/tmp/视频.mp4");
    EXPECT_EQ(ParseUnicodeName("unicode:x.avi"), L"x.avi");  // no second colon: after the first
    EXPECT_EQ(DecodeAVFileName(nullptr), L"");
}

TEST(UnicodeFileIO, OwnContextSizeQueryAndTruncation)
{
    TempDir tmp;
    std::string path = tmp.file("十 bytes.bin");
    std::ofstream(path, std::ios::binary) << "0123456789";
    std::string name = MakeUnicodeName(Utf8ToString(path));

    ASSERT_TRUE(DefaultLoader().Load(ProbeLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    AVIOContext* pb = nullptr;
    ASSERT_EQ(OpenUnicodeIO(name.c_str(), AVIO_FLAG_READ, &pb), 0);
    EXPECT_TRUE(IsUnicodeIO(pb));
    EXPECT_EQ(av::avio_size(pb), 10);
    EXPECT_EQ(av::avio_seek(pb, 4, SEEK_SET), 4);
    EXPECT_FALSE(av::avio_feof(pb));
    CloseUnicodeIO(&pb);
    EXPECT_EQ(pb, nullptr);

    ASSERT_EQ(OpenUnicodeIO(name.c_str(), AVIO_FLAG_WRITE, &pb), 0);  // writing truncates
    CloseUnicodeIO(&pb);
    EXPECT_EQ(FileSize64(Utf8ToString(path)), 0);

    std::string missing = MakeUnicodeName(Utf8ToString(tmp.file("无.avi")));
    EXPECT_EQ(OpenUnicodeIO(missing.c_str(), AVIO_FLAG_READ, &pb), AVERROR(ENOENT));
    EXPECT_EQ(pb, nullptr);
    DefaultLoader().Unload(ProbeLibraries);
}

class UnicodeMediaFile : public LibrariesFixture {};

TEST_F(UnicodeMediaFile, OddNamesWriteAndOpenThroughTheLibraries)
{
    LoadOrFail(ConverterLibraries);
    TempDir tmp;
    const String names[] = {L"视频 \"测试\" it's.mp4", L"片段 ＃2 'a' \"b\".avi"};
    for (const String& base : names) {
        for (bool own : {false, true}) {
            SCOPED_TRACE(StringToUtf8(base) + (own ? " (own file access)" : " (plain name)"));
            String file = tmp.Dir() + (own ? L"own " : L"") + base;
            std::string encoded = own ? MakeUnicodeName(file) : EncodeAVFileName(file);
            ASSERT_EQ(WriteTestVideo(encoded, 64, 48, 10), "");
            ASSERT_GT(FileSize64(file), 0);

            AVFormatContext* ic = nullptr;
            ASSERT_EQ(OpenAVInput(&ic, encoded.c_str(), nullptr, nullptr), 0);
            EXPECT_EQ(IsUnicodeIO(ic->pb), own);
            ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
            ASSERT_EQ(ic->nb_streams, 1u);
            EXPECT_EQ(ic->streams[0]->codecpar->codec_id, AV_CODEC_ID_MPEG4);
            EXPECT_EQ(ic->streams[0]->codecpar->width, 64);
            EXPECT_EQ(DecodeAVFileName(ic->url), file);
            int packets = 0;
            AVPacket* pkt = av::av_packet_alloc();
            while (av::av_read_frame(ic, pkt) >= 0) {
                ++packets;
                av::av_packet_unref(pkt);
            }
            av::av_packet_free(&pkt);
            EXPECT_EQ(packets, 10);
            CloseAVInput(&ic);
            EXPECT_EQ(ic, nullptr);
        }
    }
}

TEST_F(UnicodeMediaFile, MissingAndBrokenFilesGiveClearErrors)
{
    LoadOrFail(ProbeLibraries);
    TempDir tmp;
    String missing = tmp.Dir() + L"不存在 \"x\".mp4";
    for (const std::string& name : {EncodeAVFileName(missing), MakeUnicodeName(missing)}) {
        AVFormatContext* ic = nullptr;
        int r = OpenAVInput(&ic, name.c_str(), nullptr, nullptr);
        EXPECT_EQ(r, AVERROR(ENOENT)) << name;
        EXPECT_EQ(ic, nullptr);
        EXPECT_EQ(ErrorCodeText(L"clip.mp4", r), L"clip.mp4: No such file or directory");
    }
    String garbage = tmp.Dir() + L"坏 file.mp4";
    std::ofstream(StringToUtf8(garbage), std::ios::binary) << std::string(4096, '\x5a');
    for (const std::string& name : {EncodeAVFileName(garbage), MakeUnicodeName(garbage)}) {
        AVFormatContext* ic = nullptr;
        int r = OpenAVInput(&ic, name.c_str(), nullptr, nullptr);
        EXPECT_EQ(r, AVERROR_INVALIDDATA) << name;
        EXPECT_EQ(ic, nullptr);
    }
}
