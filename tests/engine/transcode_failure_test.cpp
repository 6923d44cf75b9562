// Conversions that fail: each says why in the task's failure text and the log, leaves no empty
// output behind and never writes to its input. Also the pairings the current libraries refuse.
#include <sys/resource.h>
#include <csignal>
#include <filesystem>

#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

class TranscodeFailure : public engine_test::TranscodeFixture {
protected:
    // The run fails with AText: logged at quiet level, no output left, input unchanged.
    void ExpectFailure(const std::string& AInput, const std::string& AOutput, const std::string& AText)
    {
        std::string before = Contents(AInput);
        EXPECT_EQ(Run(), AText);
        EXPECT_TRUE(Task->FFatalException);
        EXPECT_FALSE(Task->FFinished);
        EXPECT_TRUE(Logged(llQuiet, Utf8ToString(AText)));
        EXPECT_FALSE(Exists(AOutput));
        EXPECT_EQ(Contents(AInput), before);
        EXPECT_EQ(Task->FEncoderList, nullptr);
        EXPECT_EQ(Task->FDecoderList, nullptr);
    }
};

TEST_F(TranscodeFailure, MissingEncoder)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
    // As when the libraries have no encoder for the container's audio codec.
    Task->OutputStreamCodec(Task->Foutput_files[0]->streams[1])->avcodec = nullptr;
    std::string text = "Encoder (codec id 86017) not found for output stream #0.1 (Audio)";
    ExpectFailure(in, out, text);
    EXPECT_TRUE(Logged(llError, Utf8ToString(text)));
    EXPECT_TRUE(Logged(llVerbose, L"Stream mapping:"));
}

// h263 takes only its standard sizes: the encoder refuses to open.
TEST_F(TranscodeFailure, BadEncoderParameters)
{
    std::string in = Clip();
    std::string out = Dir.file("out.3gp");
    Prepare(in, out, {{"vcodec", "h263"}, {"s", "160x120"}, {"acodec", "libamr_nb"}, {"ar", "8000"}, {"ac", "1"}});
    std::string text =
        "Error while opening encoder for output stream #0.0 (Video) - maybe incorrect parameters such as bit_rate, "
        "rate, width or height. Please check error log message to find out more detail information.";
    ExpectFailure(in, out, text);
    EXPECT_TRUE(Logged(llError, Utf8ToString(text)));
}

// Pairings that no container successor covers are refused at the header: MPEG program
// streams carry no Vorbis, MP4 has no tag for WMA or Flash video.
TEST_F(TranscodeFailure, PairingsTheMuxerRefuses)
{
    std::string in = Clip();
    struct {
        const char* Output;
        std::vector<std::pair<std::string, std::string>> Options;
    } cases[] = {
        {"vorbis.mpg", {{"vcodec", "mpeg2video"}, {"acodec", "libvorbis"}}},
        {"vorbis.vob", {{"vcodec", "mpeg2video"}, {"acodec", "libvorbis"}}},
        {"wma.mp4", {{"vcodec", "mpeg4"}, {"acodec", "wmav2"}}},
        {"flv.mp4", {{"vcodec", "flv"}, {"acodec", "aac"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Output);
        std::string out = Dir.file(c.Output);
        Task->ResetConverter();
        Lines.clear();
        Prepare(in, out, c.Options);
        ExpectFailure(in, out, "Could not write header for output file #0 (incorrect codec parameters ?)");
    }
}

TEST_F(TranscodeFailure, StreamMapsMustMatchTheOutputStreams)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"map", "0:0"}});
    ExpectFailure(in, out, "Number of stream maps must match number of output streams");
}

TEST_F(TranscodeFailure, MapToAMissingStream)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"map", "0:0"}, {"map", "0:5"}});
    ExpectFailure(in, out, "Could not find input stream #0.5");
}

TEST_F(TranscodeFailure, MapAcrossMediaTypes)
{
    std::string in = Clip();
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"map", "0:1"}, {"map", "0:0"}});
    ExpectFailure(in, out, "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)");
}

TEST_F(TranscodeFailure, CopyWithVolumeIsRefused)
{
    std::string in = Clip();
    std::string out = Dir.file("out.mkv");
    Prepare(in, out, {{"acodec", "copy"}, {"vol", "512"}});
    ExpectFailure(in, out, "-acodec copy and -vol are incompatible (frames are not decoded)");
}

// A source whose middle is garbage: the packets that cannot be decoded are logged and passed
// over, the rest converts.
TEST_F(TranscodeFailure, CorruptInputConvertsWhatItCan)
{
    std::string in = Clip("in.avi", 176, 144, 0, 50);
    std::string data = Contents(in);
    for (size_t i = data.size() / 3; i < data.size() * 2 / 3; ++i) data[i] = char((i * 7919) & 0xFF);
    WriteFile(in, data);
    std::string out = Dir.file("out.mp4");
    Prepare(in, out, {{"vcodec", "mpeg4"}});
    std::string before = Contents(in);
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Contents(in), before);
    TOutputFacts f = Facts(out);
    ASSERT_TRUE(f.Opened);
    EXPECT_GT(f.VideoPackets, 5);
    EXPECT_LT(f.VideoPackets, 50);
}

// With "xerror" the first undecodable packet ends the run with the stream's name.
TEST_F(TranscodeFailure, CorruptInputWithExitOnError)
{
    std::string in = Clip("in.avi", 176, 144, 0, 50);
    std::string data = Contents(in);
    for (size_t i = data.size() / 3; i < data.size() * 2 / 3; ++i) data[i] = char((i * 7919) & 0xFF);
    WriteFile(in, data);
    std::string out = Dir.file("out.mp4");
    // The decoder reports damage instead of hiding it.
    Apply("err_detect", "explode");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"xerror", ""}});
    EXPECT_EQ(Run(), "Error while decoding stream #0.0 (Video)");
    EXPECT_TRUE(Task->FFatalException);
    // What was written before stays a readable file.
    TOutputFacts f = Facts(out);
    EXPECT_TRUE(f.Opened);
    EXPECT_GT(f.VideoPackets, 0);
}

// A source cut short converts up to where it ends.
TEST_F(TranscodeFailure, TruncatedInput)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 50);
    std::string data = Contents(in);
    WriteFile(in, data.substr(0, data.size() / 2));
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
    EXPECT_EQ(Run(), "");
    TOutputFacts f = Facts(out);
    EXPECT_GT(f.VideoPackets, 5);
    EXPECT_LT(f.VideoPackets, 50);
}

// The disk refuses further bytes midway (a file size limit of the process): the run fails with
// the writing error, the codecs are closed and the input is untouched.
TEST_F(TranscodeFailure, WritingFailsMidway)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 100);
    std::string out = Dir.file("out.avi");
    Prepare(in, out, {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
    std::string before = Contents(in);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 40000;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string result = Run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(result.rfind("av_interleaved_write_frame(): ", 0) == 0 || result.rfind("av_write_trailer(): ", 0) == 0)
        << result;
    EXPECT_TRUE(Task->FFatalException);
    EXPECT_TRUE(Logged(llQuiet, Utf8ToString(result)));
    EXPECT_EQ(Task->FEncoderList, nullptr);
    EXPECT_EQ(Contents(in), before);
}

}  // namespace
