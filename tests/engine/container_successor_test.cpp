// Encoders whose codec the output's container cannot store give way to one it can: AAC in the
// MPEG program-stream muxers, MS-MPEG-4 v2 in MP4. The choice is made when the stream is
// created, logged, and the file then converts; containers that take the codec keep it.
#include <gtest/gtest.h>

#include "engine/encoder_option_translation.h"
#include "tests/engine/transcode_test_support.h"

using namespace engine_test;

namespace {

TEST(ContainerEncoderSuccessor, TableByMuxerAndCodec)
{
    struct Case {
        const char* Format;
        const char* Codec;
        const char* Successor;
    } cases[] = {
        {"vob", "aac", "ac3"}, {"dvd", "aac", "ac3"},         {"svcd", "aac", "ac3"},        {"mpeg", "aac", "mp2"},
        {"vcd", "aac", "mp2"}, {"mp4", "msmpeg4v2", "mpeg4"}, {"mov", "msmpeg4v2", "mpeg4"}, {"mp4", "aac", ""},
        {"mpegts", "aac", ""}, {"avi", "msmpeg4v2", ""},      {"mpeg", "mp2", ""},           {"matroska", "aac", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContainerEncoderSuccessorName(c.Format, c.Codec), c.Successor) << c.Format << " " << c.Codec;
}

class ContainerSuccessor : public TranscodeFixture {};

TEST_F(ContainerSuccessor, EncodersTheContainerCannotStoreAreReplacedAndTheFileConverts)
{
    struct Case {
        const char* File;
        const char* Format;  // forced muxer, or empty for the one of the extension
        const char* VideoEncoder;
        const char* AudioEncoder;
        const char* ReplacedVideo;  // expected codec after the choice
        const char* ReplacedAudio;
        const wchar_t* Line;  // the info line, or empty when nothing is replaced
    } cases[] = {
        // ".vob" is the extension of the "svcd" muxer as well as of "vob"; the first one wins.
        {"out.vob", "", "mpeg2video", "aac", "mpeg2video", "ac3",
         L"Encoder 'aac' cannot be stored in 'svcd', using 'ac3' instead"},
        {"vob.mpg", "vob", "mpeg2video", "aac", "mpeg2video", "ac3",
         L"Encoder 'aac' cannot be stored in 'vob', using 'ac3' instead"},
        {"out.mpg", "", "mpeg2video", "libfaac", "mpeg2video", "mp2",
         L"Encoder 'aac' cannot be stored in 'mpeg', using 'mp2' instead"},
        {"dvd.mpg", "dvd", "mpeg2video", "aac", "mpeg2video", "ac3",
         L"Encoder 'aac' cannot be stored in 'dvd', using 'ac3' instead"},
        {"out.mp4", "", "msmpeg4v1", "aac", "mpeg4", "aac",
         L"Encoder 'msmpeg4v2' cannot be stored in 'mp4', using 'mpeg4' instead"},
        // Containers that store the codec keep the encoder.
        {"out.avi", "", "msmpeg4v2", "aac", "msmpeg4v2", "aac", L""},
        {"out.ts", "", "mpeg2video", "aac", "mpeg2video", "aac", L""},
    };
    std::string in = Clip("in.mkv", 176, 144, 48000, 25, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        Task->ResetConverter();
        Lines.clear();
        std::vector<std::pair<std::string, std::string>> options;
        if (*c.Format) options.push_back({"f", c.Format});
        options.push_back({"vcodec", c.VideoEncoder});
        options.push_back({"acodec", c.AudioEncoder});
        std::string out = Dir.file(c.File);
        Prepare(in, out, options);
        EXPECT_EQ(Run(), "");
        TOutputFacts facts = Facts(out);
        ASSERT_TRUE(facts.Opened);
        EXPECT_EQ(facts.VideoCodec, c.ReplacedVideo);
        EXPECT_EQ(facts.AudioCodec, c.ReplacedAudio);
        EXPECT_GT(facts.VideoPackets, 0);
        EXPECT_GT(facts.AudioPackets, 0);
        if (*c.Line) {
            EXPECT_TRUE(Logged(llInfo, c.Line));
        } else {
            for (const TLogLine& line : Lines)
                EXPECT_EQ(line.Text.find(L"cannot be stored"), String::npos) << StringToUtf8(line.Text);
        }
    }
}

}  // namespace
