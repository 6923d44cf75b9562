// Conversions of a generated one-second clip (176x144, 25 fps, mono 48 kHz sound) into the
// containers and codec pairs the preset catalogue uses, each output checked for its codecs,
// frame count, durations, sample rate and channels. One test case per conversion, so they run
// side by side.
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;
using TOptions = std::vector<std::pair<std::string, std::string>>;

struct TContainerCase {
    const char* Name;
    const char* Output;
    TOptions Options;
    const char* Video;  // decoder name of the output video, "" for none
    const char* Audio;
    int SampleRate;
    int Channels;
    int Frames;  // video packets expected
};

std::ostream& operator<<(std::ostream& AStream, const TContainerCase& ACase) { return AStream << ACase.Name; }

const TContainerCase ContainerCases[] = {
    {"Mp4Libx264Aac",
     "out.mp4",
     {{"vcodec", "libx264"},
      {"vpre", "libx264-default"},
      {"acodec", "libfaac"},
      {"ac", "2"},
      {"ar", "44100"},
      {"ab", "128000"},
      {"b", "800000"}},
     "h264",
     "aac",
     44100,
     2,
     25},
    {"Mp4Mpeg4Aac",
     "out.mp4",
     {{"vcodec", "mpeg4"}, {"acodec", "libfaac"}, {"ac", "2"}, {"ar", "48000"}, {"r", "25"}},
     "mpeg4",
     "aac",
     48000,
     2,
     25},
    // MP4 gives MPEG-4 video its own tag: the requested DX50 gives way to it.
    {"Mp4Mpeg4TaggedDx50Aac",
     "out.mp4",
     {{"vcodec", "mpeg4"}, {"vtag", "DX50"}, {"s", "176x144"}, {"acodec", "libfaac"}, {"ac", "2"}, {"ar", "24000"}},
     "mpeg4",
     "aac",
     24000,
     2,
     25},
    {"AviMpeg4Mp3",
     "out.avi",
     {{"vcodec", "mpeg4"},
      {"vtag", "DX50"},
      {"acodec", "libmp3lame"},
      {"ac", "2"},
      {"ar", "44100"},
      {"ab", "128000"},
      {"b", "816000"},
      {"r", "25"}},
     "mpeg4",
     "mp3",
     44100,
     2,
     25},
    {"AviXvidMp3",
     "out.avi",
     {{"vcodec", "libxvid"}, {"acodec", "libmp3lame"}, {"ac", "2"}, {"ar", "44100"}, {"ab", "128000"}},
     "mpeg4",
     "mp3",
     44100,
     2,
     25},
    {"AviLibx264Mp3",
     "out.avi",
     {{"vcodec", "libx264"}, {"vpre", "libx264-default"}, {"acodec", "libmp3lame"}, {"ac", "2"}, {"ar", "48000"}},
     "h264",
     "mp3",
     48000,
     2,
     25},
    {"MkvMpeg4Mp3",
     "out.mkv",
     {{"vcodec", "mpeg4"}, {"vtag", "XVID"}, {"acodec", "libmp3lame"}, {"ac", "2"}, {"ar", "44100"}},
     "mpeg4",
     "mp3",
     44100,
     2,
     25},
    {"MkvDefaults", "out.mkv", {}, "h264", "vorbis", 48000, 1, 25},
    {"MpgMpeg1Mp2",
     "out.mpg",
     {{"vcodec", "mpeg1video"}, {"ac", "2"}, {"ar", "44100"}, {"b", "528000"}, {"r", "25"}},
     "mpeg1video",
     "mp2",
     44100,
     2,
     25},
    {"MpgMpeg2Mp2",
     "out.mpg",
     {{"vcodec", "mpeg2video"}, {"ac", "2"}, {"ar", "44100"}, {"b", "816000"}, {"r", "25"}},
     "mpeg2video",
     "mp2",
     44100,
     2,
     25},
    {"MpgMpeg2Ac3",
     "out.mpg",
     {{"vcodec", "mpeg2video"}, {"acodec", "ac3"}, {"ac", "2"}, {"ar", "48000"}},
     "mpeg2video",
     "ac3",
     48000,
     2,
     25},
    {"VobMpeg2Ac3",
     "out.vob",
     {{"vcodec", "mpeg2video"}, {"acodec", "ac3"}, {"ac", "2"}, {"ar", "48000"}},
     "mpeg2video",
     "ac3",
     48000,
     2,
     25},
    {"WmvWmv2Wmav2",
     "out.wmv",
     {{"vcodec", "wmv2"}, {"acodec", "wmav2"}, {"ac", "2"}, {"ar", "44100"}, {"ab", "128000"}, {"r", "25"}},
     "wmv2",
     "wmav2",
     44100,
     2,
     25},
    {"AsfMsmpeg4Wmav2",
     "out.asf",
     {{"vcodec", "msmpeg4"}, {"acodec", "wmav2"}, {"ac", "2"}, {"ar", "44100"}},
     "msmpeg4v3",
     "wmav2",
     44100,
     2,
     25},
    {"FlvFlvMp3", "out.flv", {{"ac", "2"}, {"ar", "44100"}, {"b", "500000"}}, "flv1", "mp3", 44100, 2, 25},
    {"ThreeGpH263AmrNb",
     "out.3gp",
     {{"vcodec", "h263"}, {"s", "176x144"}, {"acodec", "libamr_nb"}, {"ac", "1"}, {"ar", "8000"}, {"ab", "12200"}},
     "h263",
     "amr_nb",
     8000,
     1,
     25},
    {"Mp3AudioOnly", "out.mp3", {{"vn", ""}, {"ac", "2"}, {"ar", "44100"}, {"ab", "128000"}}, "", "mp3", 44100, 2, 0},
    {"Ac3AudioOnly", "out.ac3", {{"vn", ""}, {"acodec", "ac3"}, {"ac", "2"}, {"ar", "48000"}}, "", "ac3", 48000, 2, 0},
    {"WavAudioOnly", "out.wav", {{"vn", ""}, {"ac", "2"}, {"ar", "48000"}}, "", "pcm_s16le", 48000, 2, 0},
    {"FlacAudioOnly",
     "out.flac",
     {{"vn", ""}, {"acodec", "flac"}, {"ac", "2"}, {"ar", "48000"}},
     "",
     "flac",
     48000,
     2,
     0},
    {"M4aAudioOnly", "out.m4a", {{"vn", ""}, {"ac", "2"}, {"ar", "48000"}}, "", "aac", 48000, 2, 0},
};

class TranscodeContainers : public engine_test::TranscodeFixture,
                            public ::testing::WithParamInterface<TContainerCase> {};

TEST_P(TranscodeContainers, ConvertsTheClip)
{
    const TContainerCase& c = GetParam();
    std::string in = Clip();
    std::string out = Dir.file(c.Output);
    Prepare(in, out, c.Options);
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(Task->FFinished);
    TOutputFacts f = Facts(out);
    ASSERT_TRUE(f.Opened);
    EXPECT_EQ(f.VideoCodec, c.Video);
    EXPECT_EQ(f.AudioCodec, c.Audio);
    EXPECT_EQ(f.SampleRate, c.SampleRate);
    EXPECT_EQ(f.Channels, c.Channels);
    EXPECT_EQ(f.VideoPackets, c.Frames);
    if (c.Frames > 0) {
        EXPECT_EQ(f.Width, 176);
        EXPECT_EQ(f.Height, 144);
        EXPECT_NEAR(f.VideoDuration, 1.0, 0.04 + 1e-9);
    }
    // The sound lasts the second, give or take one encoder frame.
    EXPECT_NEAR(f.AudioDuration, 1.0, 2048.0 / c.SampleRate + 0.01);
}

INSTANTIATE_TEST_SUITE_P(Presets, TranscodeContainers, ::testing::ValuesIn(ContainerCases),
                         [](const ::testing::TestParamInfo<TContainerCase>& AInfo) { return AInfo.param.Name; });

}  // namespace
