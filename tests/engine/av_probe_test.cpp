// The media probe on files the tests make: counts and first indexes, the information
// records, the description text, adopted contexts and the errors of bad input.
#include <algorithm>
#include <filesystem>

#include "engine/small_texts.h"
#include "platform/framework/core/exceptions.h"
#include "tests/engine/probe_test_support.h"

using namespace probe_test;

namespace {

class AVProbeTest : public ProbeFixture {
protected:
    // One picture stream, two sound streams (the second with a language and a title) and
    // file metadata.
    std::string MakeSeveralStreams()
    {
        const std::string path = Path("several.mkv");
        EXPECT_TRUE(RunFFmpeg({"-f",
                               "lavfi",
                               "-i",
                               "testsrc=size=320x240:rate=25:duration=1",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=frequency=440:sample_rate=48000:duration=1",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=frequency=880:sample_rate=44100:duration=1",
                               "-map",
                               "0",
                               "-map",
                               "1",
                               "-map",
                               "2",
                               "-c:v",
                               "mpeg4",
                               "-c:a",
                               "mp2",
                               "-metadata",
                               "title=Test Title",
                               "-metadata",
                               "artist=Test Artist",
                               "-metadata",
                               "creation_time=2020-01-02T03:04:05Z",
                               "-metadata",
                               "date=2009-05-01",
                               "-metadata",
                               "track=7/12",
                               "-metadata:s:a:1",
                               "language=eng",
                               "-metadata:s:a:1",
                               "title=Commentary",
                               path}));
        return path;
    }

    // An MPEG transport stream with two programs: picture and sound in the first, a second
    // sound stream in the other.
    std::string MakePrograms()
    {
        const std::string path = Path("programs.ts");
        EXPECT_TRUE(RunFFmpeg({"-f",
                               "lavfi",
                               "-i",
                               "testsrc=size=320x240:rate=30000/1001:duration=1",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=duration=1",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=frequency=880:duration=1",
                               "-map",
                               "0:v",
                               "-map",
                               "1:a",
                               "-map",
                               "2:a",
                               "-c:v",
                               "mpeg2video",
                               "-c:a",
                               "mp2",
                               "-metadata:s:a:0",
                               "language=eng",
                               "-program",
                               "title=First:program_num=1:st=0:st=1",
                               "-program",
                               "title=Second:program_num=2:st=2",
                               "-metadata:p:0",
                               "service_provider=Vexmora",
                               "-metadata:p:1",
                               "service_provider=Vexmora",
                               "-f",
                               "mpegts",
                               path}));
        return path;
    }
};

std::vector<std::string> StreamLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind("Stream #", 0) == 0) out.push_back(l);
    return out;
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0) return i;
    return std::string::npos;
}

}  // namespace

TEST_F(AVProbeTest, ClosedProbeReportsMinusOneAndNoText)
{
    TAVProbe probe(nullptr);
    EXPECT_EQ(probe.FileHandle(), nullptr);
    for (int v : {probe.StreamCount(), probe.ProgramCount(), probe.AudioStreamCount(), probe.VideoStreamCount(),
                  probe.SubtitleStreamCount(), probe.FirstAudioStreamIndex(), probe.FirstVideoStreamIndex(),
                  probe.FirstSubtitleStreamIndex()})
        EXPECT_EQ(v, -1);
    EXPECT_EQ(probe.FileSize(), -1);

    const TFileStreamInfo info = probe.FileStreamInfo();
    EXPECT_EQ(info.StartTime, -1);
    EXPECT_EQ(info.Duration, -1);
    EXPECT_EQ(info.BitRate, -1);
    EXPECT_EQ(info.TimeStamp, -1);
    EXPECT_EQ(info.Year, -1);
    EXPECT_EQ(info.Track, -1);
    EXPECT_TRUE(info.Title.empty());
    EXPECT_EQ(probe.LastErrMsg(), L"file not loaded.");
    EXPECT_TRUE(Logged("file not loaded."));

    EXPECT_TRUE(probe.FileInfoText().empty());
    EXPECT_TRUE(probe.FileName().empty());
    EXPECT_FALSE(probe.IsVideoStream(0));
    EXPECT_EQ(probe.Position(), -1);
    EXPECT_FALSE(probe.Decode(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"file not loaded.");
}

TEST_F(AVProbeTest, CountsIndexesAndRecordsOfSeveralStreams)
{
    const std::string path = MakeSeveralStreams();
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(path))) << StringToUtf8(probe.LastErrMsg());

    EXPECT_EQ(probe.StreamCount(), 3);
    EXPECT_EQ(probe.ProgramCount(), 0);
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.AudioStreamCount(), 2);
    EXPECT_EQ(probe.SubtitleStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), 0);
    EXPECT_EQ(probe.FirstAudioStreamIndex(), 1);
    EXPECT_EQ(probe.FirstSubtitleStreamIndex(), -1);
    EXPECT_EQ(probe.FileSize(), static_cast<int64_t>(std::filesystem::file_size(path)));
    EXPECT_EQ(probe.FileName(), Utf8ToString(path));
    EXPECT_EQ(probe.FormatName(), L"matroska,webm");
    EXPECT_TRUE(probe.ForceFormat().empty());

    EXPECT_TRUE(probe.IsVideoStream(0));
    EXPECT_FALSE(probe.IsAudioStream(0));
    EXPECT_TRUE(probe.IsAudioStream(2));
    EXPECT_FALSE(probe.IsSubtitleStream(2));
    for (int bad : {-1, 3}) {
        EXPECT_FALSE(probe.IsVideoStream(bad));
        EXPECT_EQ(StringToUtf8(probe.LastErrMsg()), "stream index #" + std::to_string(bad) + " is invalid.");
    }

    const TFileStreamInfo info = probe.FileStreamInfo();
    EXPECT_EQ(info.StartTime, 0);
    EXPECT_GT(info.Duration, 900000);
    EXPECT_LT(info.Duration, 1100000);
    EXPECT_GT(info.BitRate, 0);
    EXPECT_EQ(info.Title, L"Test Title");
    EXPECT_EQ(info.Author, L"Test Artist");
    EXPECT_EQ(info.TimeStamp, 1577934245);
    EXPECT_EQ(info.Year, 2009);
    EXPECT_EQ(info.Track, 7);
    EXPECT_TRUE(info.Album.empty());

    const TVideoStreamInfo video = probe.FirstVideoStreamInfo();
    EXPECT_EQ(video.Width, 320);
    EXPECT_EQ(video.Height, 240);
    EXPECT_EQ(video.FrameRate.num, 25);
    EXPECT_EQ(video.FrameRate.den, 1);
    EXPECT_FLOAT_EQ(video.AspectRatio, 320.0f / 240.0f);
    EXPECT_GE(video.StartTimeScaled, 0);
    EXPECT_LT(video.StartTimeScaled, 40000);
    EXPECT_EQ(video.CodecName.rfind(L"mpeg4", 0), 0u) << StringToUtf8(video.CodecName);

    const TAudioStreamInfo second = probe.GetAudioStreamInfo(2);
    EXPECT_EQ(second.Language, L"eng");
    EXPECT_EQ(second.Channels, 1);
    EXPECT_EQ(second.SampleRate, 44100);
    EXPECT_EQ(probe.FirstAudioStreamInfo().SampleRate, 48000);

    // Records of the wrong kind or of no stream come back cleared, with the reason.
    const struct {
        std::function<int()> Read;
        const char* Text;
    } refused[] = {
        {[&] { return probe.GetAudioStreamInfo(0).SampleRate; }, "stream #0 is not audio stream."},
        {[&] { return probe.GetVideoStreamInfo(1).Width; }, "stream #1 is not video stream."},
        {[&] { return probe.GetVideoStreamInfo(7).Width; }, "stream index #7 is invalid."},
        {[&] { return static_cast<int>(probe.FirstSubtitleStreamInfo().CodecName.size()) - 1; }, "no subtitle stream."},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(r.Read(), -1) << r.Text;
        EXPECT_EQ(StringToUtf8(probe.LastErrMsg()), r.Text);
    }

    probe.CloseFile();
    EXPECT_EQ(probe.FileHandle(), nullptr);
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
    EXPECT_EQ(probe.FileSize(), -1);
}

TEST_F(AVProbeTest, DescriptionListsFileLinesMetadataAndEveryStream)
{
    const std::string path = MakeSeveralStreams();
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(path)));
    const std::vector<std::string> lines = Lines(probe.FileInfoText());
    ASSERT_GE(lines.size(), 10u);

    EXPECT_EQ(lines[0], "File Name: " + path);
    EXPECT_EQ(lines[1], "Format Name: matroska,webm");
    EXPECT_EQ(lines[2], "Format Long Name: Matroska / WebM");
    EXPECT_EQ(lines[3], "File Size: " + StringToUtf8(SizeToText(std::filesystem::file_size(path))));
    EXPECT_EQ(lines[4].rfind("Duration: 00:00:01.0", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5], "StartTime: 0.000000");
    EXPECT_EQ(lines[6].rfind("Bit Rate: ", 0), 0u);
    EXPECT_NE(lines[6], "Bit Rate: N/A");
    EXPECT_EQ(lines[7],
              "Time Stamp: " + StringToUtf8(DateTimeToText(L"yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(1577934245))));
    EXPECT_EQ(lines[8], "Metadata:");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  title           : Test Title"), lines.end());

    const std::vector<std::string> streams = StreamLines(lines);
    ASSERT_EQ(streams.size(), 3u);
    EXPECT_EQ(streams[0].rfind("Stream #0, 1/1000: Video: mpeg4", 0), 0u) << streams[0];
    EXPECT_NE(streams[0].find(", 25 fps, 25 tbr, 1k tbn"), std::string::npos) << streams[0];
    EXPECT_NE(streams[0].find(", StartTime: 0.0"), std::string::npos) << streams[0];
    EXPECT_EQ(streams[1].rfind("Stream #1, 1/1000: Audio: mp2", 0), 0u) << streams[1];
    EXPECT_EQ(streams[2].rfind("Stream #2(eng), 1/1000: Audio: mp2", 0), 0u) << streams[2];

    // The language goes into the stream line, never into its metadata block.
    const size_t second = IndexOf(lines, "Stream #2");
    ASSERT_LT(second + 2, lines.size());
    EXPECT_EQ(lines[second + 1], "  Metadata:");
    EXPECT_NE(std::find(lines.begin() + second, lines.end(), "    title           : Commentary"), lines.end());
    for (const std::string& l : lines) EXPECT_EQ(l.find("language"), std::string::npos) << l;
}

TEST_F(AVProbeTest, DescriptionListsProgramsWithTheirStreams)
{
    const std::string path = MakePrograms();
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(path))) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.ProgramCount(), 2);
    EXPECT_EQ(probe.StreamCount(), 3);
    const std::vector<std::string> lines = Lines(probe.FileInfoText());

    EXPECT_EQ(lines[1], "Format Name: mpegts");
    EXPECT_EQ(lines[4].rfind("Duration: 00:00:01.", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5].rfind("StartTime: 1.", 0), 0u) << lines[5];

    const size_t first = IndexOf(lines, "Program 1 ");
    const size_t other = IndexOf(lines, "Program 2 ");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(other, std::string::npos);
    EXPECT_EQ(lines[first], "Program 1 Vexmora@First");
    EXPECT_EQ(lines[other], "Program 2 Vexmora@Second");
    EXPECT_EQ(lines[first + 1], "  Metadata:");

    // Each stream appears once, under its program, with the transport stream's ids.
    const std::vector<std::string> streams = StreamLines(lines);
    ASSERT_EQ(streams.size(), 3u);
    const size_t s0 = IndexOf(lines, "Stream #0[0x100], 1/90000: Video: mpeg2video");
    const size_t s1 = IndexOf(lines, "Stream #1[0x101](eng), 1/90000: Audio: mp2");
    const size_t s2 = IndexOf(lines, "Stream #2[0x102], 1/90000: Audio: mp2");
    ASSERT_NE(s0, std::string::npos);
    ASSERT_NE(s1, std::string::npos);
    ASSERT_NE(s2, std::string::npos);
    EXPECT_TRUE(first < s0 && s0 < s1 && s1 < other && other < s2);
    EXPECT_NE(lines[s0].find(", 29.97 fps, 29.97 tbr, 90k tbn"), std::string::npos) << lines[s0];
    EXPECT_NE(lines[s0].find(", StartTime: 1."), std::string::npos) << lines[s0];
    EXPECT_NE(lines[s0].find(", Duration: 00:00:01."), std::string::npos) << lines[s0];
    // A metadata block holding only the language prints nothing.
    EXPECT_EQ(lines[s1 + 1].rfind("Program 2", 0), 0u) << lines[s1 + 1];
}

TEST_F(AVProbeTest, MetadataKeysOfTagFramesGetTheirNames)
{
    // A metadata file: the libraries open it, it has tags and no streams at all.
    WriteBytes(Path("tags.ffmeta"), ";FFMETADATA1\nTIT2=Song\ntpe1=Someone\nalbum=Record\n");
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("tags.ffmeta"))) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.StreamCount(), 0);
    EXPECT_EQ(probe.VideoStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
    EXPECT_EQ(probe.FileStreamInfo().Album, L"Record");

    const std::vector<std::string> lines = Lines(probe.FileInfoText());
    const size_t meta = IndexOf(lines, "Metadata:");
    ASSERT_NE(meta, std::string::npos);
    ASSERT_EQ(lines.size(), meta + 4);
    EXPECT_EQ(lines[meta + 1], "  title           : Song");
    EXPECT_EQ(lines[meta + 2], "  tpe1            : Someone");  // the table is case-sensitive
    EXPECT_EQ(lines[meta + 3], "  album           : Record");
    EXPECT_EQ(IndexOf(lines, "Time Stamp"), std::string::npos);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Bit Rate: N/A"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Duration: N/A"), lines.end());

    EXPECT_FALSE(probe.Decode(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"no video stream.");
}

TEST_F(AVProbeTest, PictureStreamWithoutADecoderIsDescribedButNotDecoded)
{
    // A tag no decoder knows: the reader still gives the stream's kind and size.
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=0.2", "-c:v", "mpeg4", "-vtag",
                           "QQQQ", "-strict", "-1", Path("unknown.avi")}));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("unknown.avi"))) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.FirstVideoStreamInfo().CodecName, L"QQQQ / 0x51515151");
    EXPECT_EQ(probe.FirstVideoStreamInfo().Width, 64);
    const std::vector<std::string> streams = StreamLines(Lines(probe.FileInfoText()));
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_NE(streams[0].find("Video: none (QQQQ / 0x51515151)"), std::string::npos) << streams[0];

    EXPECT_FALSE(probe.Decode(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"Unsupported codec (id=0) for input file stream #0");
    TFrameImage image;
    EXPECT_FALSE(probe.CopyToBitmap(image));
}

TEST_F(AVProbeTest, AudioOnlyFileHasNoPictureToDecode)
{
    ASSERT_TRUE(
        RunFFmpeg({"-f", "lavfi", "-i", "sine=duration=1:sample_rate=48000", "-c:a", "pcm_s16le", Path("tone.wav")}));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("tone.wav")));
    EXPECT_EQ(probe.StreamCount(), 1);
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    EXPECT_EQ(probe.VideoStreamCount(), 0);
    EXPECT_EQ(probe.FirstAudioStreamIndex(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
    EXPECT_EQ(probe.FirstAudioStreamInfo().SampleRate, 48000);
    EXPECT_EQ(probe.FirstVideoStreamInfo().Width, -1);
    EXPECT_EQ(probe.LastErrMsg(), L"no video stream.");

    EXPECT_FALSE(probe.Decode(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"no video stream.");
    EXPECT_FALSE(probe.Decode(0));
    EXPECT_EQ(probe.LastErrMsg(), L"stream #0 is not video stream.");
    EXPECT_FALSE(probe.DecodePreviousKeyFrame(-1));
    // Positioning works on the sound stream's time base.
    EXPECT_TRUE(probe.Seek(500000, 0));
}

TEST_F(AVProbeTest, BadInputGivesAClearErrorAndLeavesTheProbeClosed)
{
    const std::string clip = MakeClip("clip.mov");  // its index at the end, cut off below
    WriteBytes(Path("empty.mp4"), "");
    WriteBytes(Path("notes.avi"), "hello, this is not a media file\n");
    WriteBytes(Path("truncated.mp4"), ReadBytes(clip).substr(0, 2000));

    const struct {
        std::string Name;
        std::string Text;
    } cases[] = {
        {"missing.mp4", "No such file or directory"},
        {"notes.avi", "Invalid data found when processing input"},
        {"empty.mp4", "Invalid data found when processing input"},
        {"truncated.mp4", "Invalid data found when processing input"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TAVProbe probe(nullptr);
        Log.clear();
        EXPECT_FALSE(probe.LoadFile(WPath(c.Name)));
        const std::string expected = Path(c.Name) + ": " + c.Text;
        EXPECT_EQ(StringToUtf8(probe.LastErrMsg()), expected);
        EXPECT_TRUE(std::any_of(Log.begin(), Log.end(),
                                [&](const TLogLine& l) { return l.Level == llError && l.Text == expected; }));
        EXPECT_EQ(probe.FileHandle(), nullptr);
        EXPECT_EQ(probe.StreamCount(), -1);
        EXPECT_FALSE(probe.Decode(-1));
    }
}

TEST_F(AVProbeTest, UnknownFormatNameFailsWithoutOpeningOrLogging)
{
    const std::string clip = MakeClip();
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(clip), L"mov"));
    EXPECT_EQ(probe.ForceFormat(), L"mov");
    Log.clear();
    EXPECT_FALSE(probe.LoadFile(Utf8ToString(clip), L"nosuchformat"));
    EXPECT_EQ(probe.LastErrMsg(), L"Unknown input format: nosuchformat");
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(probe.FileHandle(), nullptr);
    EXPECT_TRUE(probe.ForceFormat().empty());
}

TEST_F(AVProbeTest, NonAsciiFileNameOpens)
{
    const std::string clip = MakeClip("视频 片段.mp4");
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(clip))) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.FileName(), Utf8ToString(clip));
    EXPECT_EQ(Lines(probe.FileInfoText())[0], "File Name: " + clip);
    EXPECT_TRUE(probe.Decode(-1));
}

TEST_F(AVProbeTest, AdoptedContextIsReadButNeitherDecodedNorClosed)
{
    const std::string clip = MakeClip();
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(av::avformat_open_input(&ic, clip.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);

    TAVProbe probe(nullptr);
    probe.SetFileHandle(ic);
    EXPECT_EQ(probe.FileHandle(), ic);
    EXPECT_EQ(probe.StreamCount(), 1);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), 0);
    EXPECT_FALSE(probe.FileInfoText().empty());

    try {
        probe.Decode(-1);
        ADD_FAILURE() << "Decode of an adopted context did not raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"file cannot be seeked, handle is readonly.");
    }
    EXPECT_THROW(probe.Seek(0, 0), Exception);

    probe.CloseFile();
    EXPECT_EQ(probe.FileHandle(), nullptr);
    EXPECT_EQ(probe.StreamCount(), -1);
    // The owner's context is still open and readable.
    AVPacket* packet = av::av_packet_alloc();
    EXPECT_EQ(av::av_read_frame(ic, packet), 0);
    av::av_packet_free(&packet);

    probe.SetFileHandle(nullptr);
    EXPECT_EQ(probe.StreamCount(), -1);
    av::avformat_close_input(&ic);
}

TEST(AVProbeLibraries, OpeningNeedsTheLibraries)
{
    DefaultLoader().Unload(ProbeLibraries);
    TAVProbe probe(nullptr);
    EXPECT_FALSE(probe.AVLibLoaded());
    try {
        probe.LoadFile(L"/nonexistent/clip.mp4");
        ADD_FAILURE() << "LoadFile without the libraries did not raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"LibAVCodec not loaded.");
    }
    EXPECT_THROW(probe.SetFileHandle(nullptr), Exception);

    ASSERT_TRUE(probe.LoadAVLib(L"")) << StringToUtf8(probe.LastErrMsg());
    EXPECT_TRUE(probe.AVLibLoaded());
    EXPECT_FALSE(probe.LoadFile(L"/nonexistent/clip.mp4"));
    EXPECT_EQ(probe.LastErrMsg(), L"/nonexistent/clip.mp4: No such file or directory");
    probe.UnloadAVLib();
    EXPECT_FALSE(probe.AVLibLoaded());
}
