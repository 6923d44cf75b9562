// Creating the outputs of a conversion task: the format, the streams each output gets, the
// encoder parameters, metadata, joined inputs, the failure texts, and that no existing file is
// touched unless the task allows overwriting.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/av_bindings.h"
#include "tests/engine/open_files_test_support.h"
#include "tests/support/unprivileged.h"

using namespace engine_test;

namespace {

class OpenOutput : public OpenFilesFixture {};

using Types = std::vector<AVMediaType>;
constexpr AVMediaType V = AVMEDIA_TYPE_VIDEO, A = AVMEDIA_TYPE_AUDIO, S = AVMEDIA_TYPE_SUBTITLE;

TEST_F(OpenOutput, FormatFailures)
{
    struct Case {
        const char* Format;
        std::string File;
        std::string Error;
    } cases[] = {
        {nullptr, Dir.file("out.xyz"), "Unable to find a suitable output format for '" + Dir.file("out.xyz") + "'"},
        {"nosuch", Dir.file("out.mkv"), "Requested output format 'nosuch' is not a suitable output format"},
        {"ffm", "http://localhost:8090/feed1.ffm",
         "Feed output 'http://localhost:8090/feed1.ffm' is not supported: the media libraries have no ffm format"},
        {nullptr, "http://localhost:8090/feed1.ffm",
         "Feed output 'http://localhost:8090/feed1.ffm' is not supported: the media libraries have no ffm format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Error);
        Task->ResetConverter();
        if (c.Format) Apply("f", c.Format);
        EXPECT_EQ(Output(c.File), -1);
        EXPECT_EQ(LastError(), c.Error);
        EXPECT_EQ(Task->Fnb_output_files, 0);
        EXPECT_FALSE(Exists(c.File));
    }
    // A refused forced format stays asked for; a found one is consumed.
    EXPECT_EQ(Task->Flast_asked_format, "");
    Task->ResetConverter();
    Apply("f", "nosuch");
    Output(Dir.file("a.mkv"));
    EXPECT_EQ(Task->Flast_asked_format, "nosuch");
    Task->ResetConverter();
    Apply("f", "avi");
    ASSERT_EQ(Output(Dir.file("a.mkv")), 1) << LastError();
    EXPECT_STREQ(Task->Foutput_files[0]->oformat->name, "avi");
    EXPECT_EQ(Task->Flast_asked_format, "");
}

TEST_F(OpenOutput, StreamSelection)
{
    TestMedia withSubtitles;
    withSubtitles.Width = 64;
    withSubtitles.Height = 48;
    withSubtitles.SampleRate = 48000;
    withSubtitles.Subtitles = true;
    std::string videoAudio = VideoAudio();
    std::string audioOnly = AudioOnly();
    std::string subtitled = Media("sub.mkv", withSubtitles);
    withSubtitles.Subtitles = false;
    withSubtitles.PictureSubtitles = true;
    std::string pictureSubtitled = Media("picsub.mkv", withSubtitles);
    struct Case {
        std::string Input;  // empty: no input
        std::vector<std::pair<const char*, const char*>> Options;
        const char* Output;
        Types Expected;
    } cases[] = {
        {videoAudio, {}, "out.avi", {V, A}},
        {audioOnly, {}, "out.avi", {A}},  // the format's default video is not wanted
        {videoAudio, {{"vn", ""}}, "out.avi", {A}},
        {videoAudio, {{"an", ""}}, "out.avi", {V}},
        {videoAudio, {}, "out.mp3", {A}},  // no cover picture stream for an mp3
        {videoAudio, {{"vcodec", "mjpeg"}}, "out.mp3", {V, A}},
        {videoAudio, {}, "out.mkv", {V, A}},
        {subtitled, {}, "out.mkv", {V, A, S}},      // text subtitles in the container's own codec
        {pictureSubtitled, {}, "out.mkv", {V, A}},  // pictures cannot become text
        {subtitled, {{"scodec", "ass"}}, "out.mkv", {V, A, S}},
        {subtitled, {{"scodec", "copy"}}, "out.mkv", {V, A, S}},
        {subtitled, {{"sn", ""}, {"scodec", "ass"}}, "out.mkv", {V, A}},
        {subtitled, {}, "out.avi", {V, A}},
        {"", {}, "out.avi", {V, A}},  // no input: the format's defaults
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string out = Dir.file(std::to_string(++n) + c.Output);
        SCOPED_TRACE(out);
        Task->ResetConverter();
        if (!c.Input.empty()) {
            ASSERT_TRUE(Input(c.Input)) << LastError();
        }
        for (const auto& option : c.Options) Apply(option.first, option.second);
        ASSERT_EQ(Output(out), 1) << LastError();
        EXPECT_EQ(OutputTypes(0), c.Expected);
        // Each stream has its prepared encoder context of the stream's type.
        for (size_t i = 0; i < c.Expected.size(); ++i) {
            ASSERT_NE(Encoder(0, int(i)), nullptr);
            EXPECT_EQ(Encoder(0, int(i))->codec_type, c.Expected[i]);
        }
    }
    // The subtitle stream left out is reported.
    EXPECT_TRUE(std::any_of(Lines.begin(), Lines.end(), [](const TLogLine& l) {
        return l.Level == llWarning && l.Text.find(L"its subtitle stream is left out") != String::npos;
    }));
}

TEST_F(OpenOutput, EncodersInheritTheInputParameters)
{
    TestMedia m;
    m.Width = 720;
    m.Height = 576;
    m.SampleAspect = AVRational{16, 15};
    m.Frames = 2;
    m.SampleRate = 44100;
    m.Channels = 2;
    ASSERT_TRUE(Input(Media("in.mkv", m))) << LastError();
    ASSERT_EQ(Output(Dir.file("out.mp4")), 1) << LastError();
    AVCodecContext* video = Encoder(0, 0);
    EXPECT_EQ(video->codec_id, AV_CODEC_ID_H264);  // the container's default
    EXPECT_EQ(video->width, 720);
    EXPECT_EQ(video->height, 576);
    EXPECT_EQ(video->sample_aspect_ratio.num, 16);
    EXPECT_EQ(video->sample_aspect_ratio.den, 15);
    EXPECT_EQ(video->time_base.num, 1);
    EXPECT_EQ(video->time_base.den, 25);
    EXPECT_EQ(video->pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(video->thread_count, 1);
    EXPECT_TRUE(video->flags & AV_CODEC_FLAG_GLOBAL_HEADER);  // mp4 wants global headers
    AVCodecContext* audio = Encoder(0, 1);
    EXPECT_EQ(audio->codec_id, AV_CODEC_ID_AAC);
    EXPECT_EQ(audio->sample_rate, 44100);
    EXPECT_EQ(audio->ch_layout.nb_channels, 2);
    EXPECT_EQ(audio->sample_fmt, AV_SAMPLE_FMT_FLTP);  // s16 brought into what aac takes
    EXPECT_EQ(audio->time_base.den, 44100);
    // Options given for the output replace what was inherited.
    Task->ResetConverter();
    ASSERT_TRUE(Input(Dir.file("in.mkv"))) << LastError();
    Apply("s", "320x240");
    Apply("aspect", "16:9");
    Apply("r", "30000/1001");
    Apply("ar", "22050");
    Apply("ac", "1");
    Apply("vcodec", "mpeg4");
    Apply("b", "500000");
    Apply("ab", "64000");
    ASSERT_EQ(Output(Dir.file("out.avi")), 1) << LastError();
    video = Encoder(0, 0);
    EXPECT_EQ(video->width, 320);
    EXPECT_EQ(video->height, 240);
    EXPECT_EQ(video->sample_aspect_ratio.num, 4);
    EXPECT_EQ(video->sample_aspect_ratio.den, 3);
    EXPECT_EQ(video->time_base.num, 1001);
    EXPECT_EQ(video->time_base.den, 30000);
    EXPECT_EQ(video->bit_rate, 500000);
    ASSERT_NE(Task->Foutput_codecs[0], nullptr);
    EXPECT_STREQ(Task->Foutput_codecs[0]->name, "mpeg4");
    audio = Encoder(0, 1);
    EXPECT_EQ(audio->sample_rate, 22050);
    EXPECT_EQ(audio->ch_layout.nb_channels, 1);
    EXPECT_EQ(audio->bit_rate, 64000);
    EXPECT_EQ(Task->Foutput_codecs[1], nullptr);  // not named: the format's default
    EXPECT_EQ(Task->Fnb_ocodecs, 2);
}

TEST_F(OpenOutput, NamedCodecFailures)
{
    std::string in = VideoAudio();
    struct Case {
        const char* Option;
        const char* Value;
        std::string Error;
    } cases[] = {
        {"vcodec", "nosuch", "new_video_stream fail: Unknown encoder 'nosuch'"},
        {"vcodec", "mp2", "new_video_stream fail: Invalid encoder type 'mp2'"},
        {"acodec", "nosuch", "new_audio_stream fail: Unknown encoder 'nosuch'"},
        {"acodec", "vorbis",
         "new_audio_stream fail: encoder 'vorbis' is experimental and might produce bad results.\r\n"
         "Add '-strict experimental' if you want to use it.\r\n"
         "Or use the non experimental encoder 'libvorbis'."},
        {"rc_override", "0,100", "new_video_stream fail: error parsing rc_override"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Error);
        Task->ResetConverter();
        ASSERT_TRUE(Input(in)) << LastError();
        Apply(c.Option, c.Value);
        std::string out = Dir.file("failed.mkv");
        EXPECT_EQ(Output(out), -1);
        EXPECT_EQ(LastError(), c.Error);
        EXPECT_EQ(Task->Fnb_output_files, 0);
        EXPECT_EQ(Task->Fnb_ocodecs, 0);
        EXPECT_TRUE(Task->Fvideo_codec_name.empty() && Task->Faudio_codec_name.empty());
        EXPECT_FALSE(Exists(out));
    }
    // Allowed experimental codecs are taken.
    Task->ResetConverter();
    ASSERT_TRUE(Input(in)) << LastError();
    Apply("strict", "experimental");
    Apply("acodec", "vorbis");
    ASSERT_EQ(Output(Dir.file("ok.mkv")), 1) << LastError();
    EXPECT_STREQ(Task->Foutput_codecs[1]->name, "vorbis");
}

TEST_F(OpenOutput, EncodersTheLibrariesLackAreReplacedByTheirSuccessors)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("vcodec", "msmpeg4v1");
    Apply("acodec", "libfaac");
    ASSERT_EQ(Output(Dir.file("out.avi")), 1) << LastError();
    EXPECT_STREQ(Task->Foutput_codecs[0]->name, "msmpeg4v2");
    EXPECT_STREQ(Task->Foutput_codecs[1]->name, "aac");
    EXPECT_EQ(Encoder(0, 1)->codec_id, AV_CODEC_ID_AAC);
    EXPECT_TRUE(Logged(llInfo, L"Encoder 'libfaac' is not available, using 'aac' instead"));
    EXPECT_TRUE(Logged(llInfo, L"Encoder 'msmpeg4v1' is not available, using 'msmpeg4v2' instead"));
}

TEST_F(OpenOutput, MetadataGivenFirstWinsAndLanguagesGoToTheirStreams)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("metadata", "title=first");
    Apply("metadata", "title=second");
    Apply("metadata", "comment=注释");
    Apply("alang", "chi");
    Apply("timestamp", "2020-01-02 03:04:05");
    ASSERT_EQ(Output(Dir.file("out.mkv")), 1) << LastError();
    AVFormatContext* oc = Task->Foutput_files[0];
    EXPECT_STREQ(av::av_dict_get(oc->metadata, "title", nullptr, 0)->value, "first");
    EXPECT_STREQ(av::av_dict_get(oc->metadata, "comment", nullptr, 0)->value, "注释");
    AVDictionaryEntry* created = av::av_dict_get(oc->metadata, "creation_time", nullptr, 0);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(std::string(created->value).substr(0, 4), "2020");
    EXPECT_TRUE(Task->Fmetadata.empty());
    EXPECT_EQ(av::av_dict_get(oc->streams[0]->metadata, "language", nullptr, 0), nullptr);
    EXPECT_STREQ(av::av_dict_get(oc->streams[1]->metadata, "language", nullptr, 0)->value, "chi");
    EXPECT_TRUE(Task->Faudio_language.empty());
}

TEST_F(OpenOutput, StreamCopyTakesNoEncoderButAPlace)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("vcodec", "copy");
    Apply("acodec", "mp2");
    ASSERT_EQ(Output(Dir.file("out.mkv")), 1) << LastError();
    AVFormatContext* oc = Task->Foutput_files[0];
    EXPECT_TRUE(Task->OutputStreamCodec(oc->streams[0])->stream_copy);
    EXPECT_FALSE(Task->OutputStreamCodec(oc->streams[1])->stream_copy);
    EXPECT_EQ(Task->Foutput_codecs[0], nullptr);
    EXPECT_STREQ(Task->Foutput_codecs[1]->name, "mp2");
    EXPECT_EQ(Task->Fnb_ocodecs, 2);
    EXPECT_EQ(Task->Fvideo_stream_copy, 0);
}

TEST_F(OpenOutput, RateControlOverridesAndQuality)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("vcodec", "mpeg4");
    Apply("rc_override", "0,100,-50/200,300,5");
    Apply("qscale", "4");
    ASSERT_EQ(Output(Dir.file("out.avi")), 1) << LastError();
    AVCodecContext* video = Encoder(0, 0);
    ASSERT_EQ(video->rc_override_count, 2);
    EXPECT_EQ(video->rc_override[0].start_frame, 0);
    EXPECT_EQ(video->rc_override[0].end_frame, 100);
    EXPECT_EQ(video->rc_override[0].qscale, 0);
    EXPECT_FLOAT_EQ(video->rc_override[0].quality_factor, 0.5f);
    EXPECT_EQ(video->rc_override[1].start_frame, 200);
    EXPECT_EQ(video->rc_override[1].qscale, 5);
    EXPECT_FLOAT_EQ(video->rc_override[1].quality_factor, 1.0f);
    EXPECT_TRUE(video->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_EQ(video->global_quality, 4 * FF_QP2LAMBDA);
    EXPECT_FLOAT_EQ(Task->OutputStreamCodec(Task->Foutput_files[0]->streams[0])->quality, 4.0f * FF_QP2LAMBDA);
}

TEST_F(OpenOutput, EncoderAndMuxerOwnOptionsAreKeptForOpeningAndHeader)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("vcodec", "libx264");
    Apply("preset", "fast");
    Apply("muxrate", "10080000");
    ASSERT_EQ(Output(Dir.file("out.mpg")), 1) << LastError();
    uint8_t* value = nullptr;
    ASSERT_GE(av::av_opt_get(Encoder(0, 0), "preset", AV_OPT_SEARCH_CHILDREN, &value), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(value), "fast");
    av::av_free(value);
    AVDictionary* header = Task->OutputHeaderOptions(0);
    ASSERT_NE(av::av_dict_get(header, "muxrate", nullptr, 0), nullptr);
    EXPECT_STREQ(av::av_dict_get(header, "muxrate", nullptr, 0)->value, "10080000");
    EXPECT_STREQ(av::av_dict_get(header, "preload", nullptr, 0)->value, "500000");
    av::av_dict_free(&header);
}

TEST_F(OpenOutput, JoinedInputsShareOneOutput)
{
    std::string a = VideoAudio("a.mkv");
    std::string b = VideoAudio("b.mkv");
    ASSERT_TRUE(Input(a)) << LastError();
    ASSERT_TRUE(Input(b)) << LastError();
    int64_t total = Task->Finput_files[0]->duration + Task->Finput_files[1]->duration;
    ASSERT_EQ(Output(Dir.file("joined.mkv"), true), 2) << LastError();
    EXPECT_TRUE(Task->FJoinMode);
    EXPECT_EQ(Task->Foutput_files[0], Task->Foutput_files[1]);
    EXPECT_EQ(Task->FTotalOutputDuration, total);
    EXPECT_EQ(Output(Dir.file("second.mkv")), -1);
    EXPECT_EQ(LastError(), "Cannot join more than one output file.");
    // Closing the task closes the shared output once.
    Task->ResetConverter();
    EXPECT_EQ(Task->Fnb_output_files, 0);
}

TEST_F(OpenOutput, NewStreamsGoToTheLastOutputWithTheirFilterChains)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    ASSERT_EQ(Output(Dir.file("out.mkv")), 1) << LastError();
    Apply("vbsf", "dump_extra");
    Apply("vcodec", "mpeg4");
    Apply("newvideo");
    EXPECT_EQ(OutputTypes(0), (Types{V, A, V}));
    EXPECT_EQ(Task->Fbitstream_filters[0][2].size(), 1u);
    EXPECT_TRUE(Task->Fvideo_bitstream_filters.empty());
    EXPECT_STREQ(Task->Foutput_codecs[2]->name, "mpeg4");
    // A failing stream leaves the output as it was.
    Apply("acodec", "nosuch");
    EXPECT_EQ(FailureOf([&] { Apply("newaudio"); }), "Unknown encoder 'nosuch'");
    EXPECT_EQ(OutputTypes(0), (Types{V, A, V}));
    // A file holds at most 20 streams.
    for (int i = 3; i < 20; ++i) Apply("newaudio");
    EXPECT_EQ(FailureOf([&] { Apply("newaudio"); }), "Could not alloc stream");
    EXPECT_EQ(Task->Foutput_files[0]->nb_streams, 20u);
}

TEST_F(OpenOutput, AFileNeedsANumberWhereTheFormatAsksForOne)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    Apply("f", "webm_chunk");
    std::string out = Dir.file("chunk.webm");
    EXPECT_EQ(Output(out), -1);
    EXPECT_EQ(LastError(), out + ": Number syntax expected in filename");
    EXPECT_EQ(Task->Fnb_output_files, 0);
    Apply("f", "webm_chunk");
    ASSERT_EQ(Output(Dir.file("chunk%03d.webm")), 1) << LastError();
}

// --- files are never damaged ---

TEST_F(OpenOutput, AnExistingFileIsKeptUnlessOverwritingIsAllowed)
{
    std::string in = VideoAudio();
    std::string out = Dir.file("已有 文件.mkv");
    WriteFile(out, "precious");
    ASSERT_TRUE(Input(in)) << LastError();
    EXPECT_EQ(Output(out), -1);
    EXPECT_EQ(LastError(), "File '" + out + "' already exists");
    EXPECT_EQ(Contents(out), "precious");
    Task->ResetConverter();
    EXPECT_EQ(Contents(out), "precious");
    // With "y" it is accepted, but replaced only when the run opens it.
    ASSERT_TRUE(Input(in)) << LastError();
    Apply("y");
    ASSERT_EQ(Output(out), 1) << LastError();
    EXPECT_EQ(Contents(out), "precious");
    Task->OpenOutputTargets();
    EXPECT_EQ(Contents(out), "");
    EXPECT_EQ(Task->CreatedOutputs(), std::vector<String>{Utf8ToString(out)});
}

// Setting an output leaves the folder as it was; the run creates the file, and refuses one that
// appeared in the meantime unless it may overwrite.
TEST_F(OpenOutput, TheFileIsCreatedOnlyWhenTheRunOpensIt)
{
    std::string in = VideoAudio();
    struct Case {
        const char* Name;
        bool Overwrite;
        const char* Appears;  // written between setting the output and the run's opening
        std::string Error;
        const char* After;  // the file's contents after the opening (nullptr: no file)
    } cases[] = {
        {"new file", false, nullptr, "", ""},
        {"appeared meanwhile", false, "theirs", "already exists", "theirs"},
        {"appeared meanwhile, overwriting", true, "theirs", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Task->ResetConverter();
        std::string out = Dir.file(std::string(c.Name) + ".mkv");
        ASSERT_TRUE(Input(in)) << LastError();
        if (c.Overwrite) Apply("y");
        ASSERT_EQ(Output(out), 1) << LastError();
        EXPECT_FALSE(Exists(out));
        EXPECT_TRUE(Task->CreatedOutputs().empty());
        if (c.Appears) WriteFile(out, c.Appears);
        std::string error;
        try {
            Task->OpenOutputTargets();
        } catch (const Exception& e) {
            error = StringToUtf8(e.Message());
        }
        if (c.Error.empty())
            EXPECT_EQ(error, "");
        else
            EXPECT_NE(error.find(c.Error), std::string::npos) << error;
        ASSERT_TRUE(Exists(out));
        EXPECT_EQ(Contents(out), c.After);
        EXPECT_EQ(Task->CreatedOutputs().size(), c.Error.empty() ? 1u : 0u);
    }
}

TEST_F(OpenOutput, TheEnginesOwnFileAccessKeepsTheSameRules)
{
    std::string in = VideoAudio("源.mkv");
    std::string before = Contents(in);
    ASSERT_TRUE(Input("unicode:utf8:" + in)) << LastError();
    std::string existing = Dir.file("已有.avi");
    WriteFile(existing, "precious");
    EXPECT_EQ(Output("unicode:utf8:" + existing), -1);
    EXPECT_EQ(LastError(), "File 'unicode:utf8:" + existing + "' already exists");
    Apply("y");
    EXPECT_EQ(Output("unicode:utf8:" + in), -1);
    EXPECT_EQ(LastError(), "Output file 'unicode:utf8:" + in + "' is the same as input file #0");
    std::string fresh = Dir.file("新.avi");
    ASSERT_EQ(Output("unicode:utf8:" + fresh), 1) << LastError();
    EXPECT_FALSE(Exists(fresh));
    Task->OpenOutputTargets();
    EXPECT_TRUE(Exists(fresh));
    Task->ResetConverter();
    EXPECT_EQ(Contents(existing), "precious");
    EXPECT_EQ(Contents(in), before);
}

TEST_F(OpenOutput, AnInputIsNeverAnOutput)
{
    std::string in = VideoAudio();
    std::string before = Contents(in);
    ASSERT_TRUE(Input(in)) << LastError();
    Apply("y");
    EXPECT_EQ(Output(in), -1);
    EXPECT_EQ(LastError(), "Output file '" + in + "' is the same as input file #0");
    // Through another name of the same file too.
    std::string link = Dir.file("link.mkv");
    std::filesystem::create_symlink(in, link);
    EXPECT_EQ(Output(link), -1);
    EXPECT_EQ(LastError(), "Output file '" + link + "' is the same as input file #0");
    Task->ResetConverter();
    EXPECT_EQ(Contents(in), before);
}

TEST_F(OpenOutput, OnlyAnUnwrittenFileTheTaskOpenedIsRemoved)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    std::string out = Dir.file("新 输出.mkv");
    ASSERT_EQ(Output(out), 1) << LastError();
    Task->OpenOutputTargets();
    EXPECT_TRUE(Exists(out));
    // Nothing was converted: the empty file goes with the task's clean-up.
    Task->ResetConverter();
    EXPECT_FALSE(Exists(out));
    // An empty file of the user's at the name of a task that never ran stays.
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    WriteFile(out, "");
    Apply("y");
    ASSERT_EQ(Output(out), 1) << LastError();
    Task->ResetConverter();
    EXPECT_TRUE(Exists(out));
}

TEST_F(OpenOutput, AnUnwritablePlaceGivesTheLibrariesErrorAndLeavesNothing)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    std::string plainFile = Dir.file("plain");
    WriteFile(plainFile, "x");
    struct Case {
        std::string File;
        std::string Error;
    } cases[] = {
        {Dir.file("missing/out.mkv"), Dir.file("missing/out.mkv") + ": No such file or directory"},
        {plainFile + "/out.mkv", plainFile + "/out.mkv: Not a directory"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Output(c.File), -1);
        EXPECT_EQ(LastError(), c.Error);
        EXPECT_EQ(Task->Fnb_output_files, 0);
    }
    EXPECT_EQ(Contents(plainFile), "x");
}

TEST_F(OpenOutput, ALockedFolderGivesTheLibrariesErrorAndLeavesNothing)
{
    ASSERT_TRUE(Input(VideoAudio())) << LastError();
    std::string folder = Dir.file("locked");
    std::filesystem::create_directory(folder);
    ::chmod(Dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    std::string out = folder + "/out.mkv";
    const int rc = RunUnprivileged([&] {
        if (Output(out) != -1) return 1;
        return LastError().rfind(out + ": ", 0) == 0 && Task->Fnb_output_files == 0 ? 0 : 2;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(Exists(out));
}

}  // namespace

namespace {

class PreparedEncoders : public OpenFilesFixture {};

// What the run will do with the prepared contexts: every encoder opens with them as they are.
TEST_F(PreparedEncoders, OpenForTheCommonContainers)
{
    TestMedia m;
    m.Width = 176;
    m.Height = 144;
    m.SampleRate = 48000;
    std::string in = Media("in.mkv", m);
    struct Case {
        const char* Output;
        std::vector<std::pair<const char*, const char*>> Options;
        std::vector<const char*> Encoders;
    } cases[] = {
        {"out.mp4", {}, {"libx264", "aac"}},
        {"out.avi", {}, {"mpeg4", "libmp3lame"}},
        {"out.mkv", {}, {"libx264", "libvorbis"}},
        {"out.mpg", {}, {"mpeg1video", "mp2"}},
        {"out.flv", {}, {"flv", "libmp3lame"}},
        {"out.wmv", {{"vcodec", "wmv2"}, {"acodec", "wmav2"}}, {"wmv2", "wmav2"}},
        {"out.3gp", {{"ar", "8000"}, {"ac", "1"}}, {"h263", "libopencore_amrnb"}},
        {"out.mp4", {{"vcodec", "libx264"}, {"vpre", "libx264-default"}, {"acodec", "libfaac"}}, {"libx264", "aac"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string out = Dir.file(std::to_string(++n) + c.Output);
        SCOPED_TRACE(out);
        Task->ResetConverter();
        ASSERT_TRUE(Input(in)) << LastError();
        for (const auto& option : c.Options) Apply(option.first, option.second);
        ASSERT_EQ(Output(out), 1) << LastError();
        AVFormatContext* oc = Task->Foutput_files[0];
        ASSERT_EQ(oc->nb_streams, c.Encoders.size());
        for (unsigned i = 0; i < oc->nb_streams; ++i) {
            TStreamCodec* item = Task->OutputStreamCodec(oc->streams[i]);
            ASSERT_NE(item->avcodec, nullptr);
            EXPECT_STREQ(item->avcodec->name, c.Encoders[i]);
            CodecLock().Enter();
            int result = av::avcodec_open2(item->codec, item->avcodec, nullptr);
            CodecLock().Leave();
            EXPECT_GE(result, 0) << c.Encoders[i];
        }
    }
}

}  // namespace
