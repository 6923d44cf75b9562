// The task component on real media: tasks set up from real files (their probes, the streams the
// option text adds, bad input and unwritable folders refused with a clear text), and converting:
// several tasks at once into the program's common containers, a stop in the middle of a run,
// failing tasks in a queue that goes on, the custom hook painting with the canvas locked.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "engine/av_probe.h"
#include "platform/framework/core/files.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"
#include "tests/engine/converter_media_test_support.h"
#include "tests/support/unprivileged.h"

using namespace std::chrono_literals;
using engine_test::ConverterMedia;
using engine_test::StreamsOf;
using engine_test::TConvertedStream;

class ConverterFiles : public ConverterMedia {};
class ConverterConvert : public ConverterMedia {};

TEST_F(ConverterFiles, TasksFromRealFilesCarryTheirProbesAndTheStreamsTheTextAdds)
{
    const std::string input = MakeSoundClip("clip.mp4", 1);
    ASSERT_EQ(Converter->AddTask(Utf8ToString(input), String()), 0) << StringToUtf8(Converter->LastErrMsg());
    TAVProbe* probe = Converter->GetTaskProbe(0, 0);
    EXPECT_EQ(probe->FileHandle(), Converter->Tasks(0)->Finput_files[0]);
    EXPECT_EQ(probe->StreamCount(), 2);
    EXPECT_EQ(probe->VideoStreamCount(), 1);
    EXPECT_FALSE(probe->FileInfoText().empty());

    // The first audio stream and the first added one take aac, the second added one mp2.
    TOutputOptions options = Output(L"mpeg4", L"");
    options.ExtOptions = L"acodec=aac<CRLF>newaudio=<CRLF>acodec=mp2<CRLF>newaudio=";
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("out.mkv"), &options)) << StringToUtf8(Converter->LastErrMsg());
    EXPECT_EQ(OutputEncoders(0, 0), (std::vector<std::string>{"mpeg4", "aac", "aac", "mp2"}));

    // A second output of the same task, from the record alone.
    TOutputOptions wmv = Output(L"wmv2", L"wmav2");
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("out.wmv"), &wmv)) << StringToUtf8(Converter->LastErrMsg());
    EXPECT_EQ(OutputEncoders(0, 1), (std::vector<std::string>{"wmv2", "wmav2"}));
    EXPECT_EQ(Converter->Tasks(0)->FOutputOptions[1]->VideoCodec, L"wmv2");
}

TEST_F(ConverterFiles, BadInputAndUnwritableFoldersAreRefusedWithAClearText)
{
    {
        std::ofstream(Path("empty.mp4"));
        std::ofstream(Path("garbage.avi")) << std::string(4096, 'x');
    }
    for (const char* name : {"empty.mp4", "garbage.avi", "missing.mkv"}) {
        EXPECT_EQ(Converter->AddTask(WPath(name), String()), -1) << name;
        EXPECT_NE(Converter->LastErrMsg().find(Utf8ToString(name)), String::npos)
            << StringToUtf8(Converter->LastErrMsg());
    }
    EXPECT_EQ(Converter->TasksCount(), 0);
    EXPECT_EQ(FileSizeOf(WPath("garbage.avi")), 4096);  // input untouched

    std::filesystem::copy_file(MakeSoundClip("clip.mp4", 1), Path("视频 片段.mp4"));
    ASSERT_EQ(Converter->AddTask(WPath("视频 片段.mp4"), String()), 0) << StringToUtf8(Converter->LastErrMsg());
    std::filesystem::create_directory(Path("locked"));
    ::chmod(Folder.path().c_str(), 0755);
    ::chmod(Path("locked").c_str(), 0555);
    TOutputOptions options = Output(L"mpeg4", L"aac");
    // As an ordinary user, for whom the folder is really closed.
    EXPECT_EQ(RunUnprivileged([&] {
                  TOutputOptions copy = options;
                  bool refused = !Converter->SetOutputFile(0, WPath("locked/out.mp4"), &copy);
                  return refused && !Converter->LastErrMsg().empty() ? 0 : 1;
              }),
              0);
    // The input is no output, and a bad option leaves the task as it was.
    EXPECT_FALSE(Converter->SetOutputFile(0, WPath("视频 片段.mp4"), &options));
    EXPECT_FALSE(Converter->SetOutputFile(0, WPath("out.mp4"), L"vcodec=no-such-encoder"));
    EXPECT_EQ(Converter->Tasks(0)->Fnb_output_files, 0);
    EXPECT_EQ(Converter->TasksCount(), 1);
}

TEST_F(ConverterConvert, SeveralTasksConvertAtOnceIntoTheCommonContainers)
{
    const std::string input = MakeSoundClip("clip.mp4", 2);
    struct TCase {
        const char* Name;
        const wchar_t* Video;
        const wchar_t* Audio;
        const char* VideoOut;
        const char* AudioOut;
    };
    const TCase cases[] = {{"out.mp4", L"libx264", L"aac", "h264", "aac"},
                           {"out.avi", L"mpeg4", L"libmp3lame", "mpeg4", "mp3"},
                           {"out.wmv", L"wmv2", L"wmav2", "wmv2", "wmav2"}};
    for (const TCase& c : cases) {
        int index = Converter->AddTask(Utf8ToString(input), String());
        ASSERT_GE(index, 0) << StringToUtf8(Converter->LastErrMsg());
        EXPECT_EQ(Converter->GetTaskProbe(index, 0)->StreamCount(), 2);
        TOutputOptions options = Output(c.Video, c.Audio);
        ASSERT_TRUE(Converter->SetOutputFile(index, WPath(c.Name), &options)) << StringToUtf8(Converter->LastErrMsg());
    }
    Converter->Start(2);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ASSERT_EQ(Ends.size(), 4u);
    for (const TTerminateInfo& end : Ends) {
        EXPECT_TRUE(end.Finished) << end.TaskIndex;
        EXPECT_FALSE(end.Exception) << StringToUtf8(end.ExceptionMsg);
    }
    for (const TCase& c : cases) {
        std::vector<TConvertedStream> streams = StreamsOf(Path(c.Name));
        ASSERT_EQ(streams.size(), 2u) << c.Name;
        EXPECT_EQ(streams[0].Codec, c.VideoOut);
        EXPECT_EQ(streams[1].Codec, c.AudioOut);
    }
    ASSERT_FALSE(Reports.empty());
    for (const TProgressInfo& report : Reports) {
        EXPECT_GE(report.TaskIndex, 0);
        EXPECT_LE(report.TaskIndex, 2);
        EXPECT_NEAR(double(report.TotalDuration), 2000000.0, 100000.0);
    }
}

// The first task's custom hook holds it at its tenth picture until the stop has reached it, so
// the stop always meets a running conversion however fast the machine converts.
TEST_F(ConverterConvert, AWaitingStopEndsARunningConversionAndKeepsWhatItWrote)
{
    const std::string input = MakeSoundClip("long.mp4", 4);
    for (const char* name : {"a.avi", "b.avi"}) {
        int index = Converter->AddTask(Utf8ToString(input), String());
        ASSERT_GE(index, 0);
        TOutputOptions options = Output(L"mpeg4", L"libmp3lame");
        options.CustomHook = index == 0;
        ASSERT_TRUE(Converter->SetOutputFile(index, WPath(name), &options));
    }
    std::atomic<bool> held{false};
    Converter->SetOnCustomHook([&](TObject*, PHookInfo AInfo) {
        if (AInfo->FrameNumber < 10 || held) return;
        held = true;
        auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!Converter->Tasks(0)->FBroken && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    });
    Converter->Start(1);
    ASSERT_TRUE(WaitServingMainThread([&] { return held.load(); }, 5, 60000));
    Converter->Stop(true);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ASSERT_EQ(Ends.size(), 3u);
    for (const TTerminateInfo& end : Ends) EXPECT_EQ(end.TaskIndex == -1, end.Finished);
    EXPECT_GT(FileSizeOf(WPath("a.avi")), 0);  // the trailer of the broken run is written
    EXPECT_EQ(StreamsOf(Path("a.avi")).size(), 2u);
    // The task that never started never created its output.
    EXPECT_FALSE(FileExists(WPath("b.avi")));
    Converter->ClearTasks();
    EXPECT_FALSE(FileExists(WPath("b.avi")));
    EXPECT_TRUE(FileExists(WPath("a.avi")));
}

TEST_F(ConverterConvert, AFailingTaskEndsWithItsTextAndTheQueueGoesOn)
{
    const std::string input = MakeSoundClip("clip.mp4", 1);
    ASSERT_EQ(Converter->AddTask(Utf8ToString(input), String()), 0);
    TOutputOptions bad = Output(L"h263", L"aac");
    bad.FrameSize = L"321x241";  // sizes the encoder refuses
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("bad.3gp"), &bad)) << StringToUtf8(Converter->LastErrMsg());
    ASSERT_EQ(Converter->AddTask(Utf8ToString(input), String()), 1);
    TOutputOptions good = Output(L"mpeg4", L"aac");
    ASSERT_TRUE(Converter->SetOutputFile(1, WPath("good.mp4"), &good));
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ASSERT_EQ(Ends.size(), 3u);
    EXPECT_EQ(Ends[0].TaskIndex, 0);
    EXPECT_TRUE(Ends[0].Exception);
    EXPECT_FALSE(Ends[0].ExceptionMsg.empty());
    EXPECT_EQ(Ends[1].TaskIndex, 1);
    EXPECT_TRUE(Ends[1].Finished);
    EXPECT_FALSE(FileExists(WPath("bad.3gp")));  // nothing written: removed
    EXPECT_EQ(StreamsOf(Path("good.mp4")).size(), 2u);
}

// A task waiting in the queue keeps its options packed and its decoders without their private
// state; what the options set still reaches the encoders when it starts.
TEST_F(ConverterConvert, AWaitingTaskKeepsItsOptionsPackedAndTheyReachItsEncoders)
{
    const std::string input = MakeSoundClip("clip.mp4", 2);
    for (const wchar_t* gop : {L"g=1", L""}) {
        const int index = Converter->AddTask(Utf8ToString(input), String());
        ASSERT_GE(index, 0) << StringToUtf8(Converter->LastErrMsg());
        TOutputOptions options = Output(L"mpeg4", L"mp2");
        options.AudioBitrate = 64000;
        options.ExtOptions = gop;
        const String name = index == 0 ? WPath("every.avi") : WPath("default.avi");
        ASSERT_TRUE(Converter->SetOutputFile(index, name, &options)) << StringToUtf8(Converter->LastErrMsg());
        TFFmpeg* task = Converter->Tasks(index);
        EXPECT_TRUE(task->FOptions.packed);
        EXPECT_EQ(task->FOptions.sws_opts, nullptr);
        for (const auto& item : task->Finput_stream_codecs) EXPECT_EQ(item->codec->priv_data, nullptr);
    }
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    for (const TTerminateInfo& end : Ends) EXPECT_FALSE(end.Exception) << StringToUtf8(end.ExceptionMsg);

    // Key pictures and the sound's bit rate as written.
    auto written = [](const std::string& AName, int& AKeys, int& AOthers, int64_t& AAudioRate) {
        AKeys = AOthers = 0;
        AAudioRate = 0;
        AVFormatContext* ic = nullptr;
        if (av::avformat_open_input(&ic, AName.c_str(), nullptr, nullptr) < 0) return;
        av::avformat_find_stream_info(ic, nullptr);
        AVPacket* pkt = av::av_packet_alloc();
        while (av::av_read_frame(ic, pkt) >= 0) {
            const AVCodecParameters* par = ic->streams[pkt->stream_index]->codecpar;
            if (par->codec_type == AVMEDIA_TYPE_VIDEO) ++((pkt->flags & AV_PKT_FLAG_KEY) ? AKeys : AOthers);
            if (par->codec_type == AVMEDIA_TYPE_AUDIO) AAudioRate = par->bit_rate;
            av::av_packet_unref(pkt);
        }
        av::av_packet_free(&pkt);
        av::avformat_close_input(&ic);
    };
    int keys = 0, others = 0;
    int64_t audioRate = 0;
    written(Path("every.avi"), keys, others, audioRate);
    EXPECT_GT(keys, 40);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(audioRate, 64000);
    written(Path("default.avi"), keys, others, audioRate);
    EXPECT_GT(others, 0);
    EXPECT_EQ(audioRate, 64000);
}

TEST_F(ConverterConvert, NamesBeyondAsciiConvert)
{
    std::filesystem::copy_file(MakeSoundClip("clip.mp4", 1), Path("视频 片段.mp4"));
    ASSERT_EQ(Converter->AddTask(WPath("视频 片段.mp4"), String()), 0) << StringToUtf8(Converter->LastErrMsg());
    TOutputOptions options = Output(L"mpeg4", L"aac");
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("输出.mp4"), &options)) << StringToUtf8(Converter->LastErrMsg());
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    EXPECT_TRUE(Ends[0].Finished);
    EXPECT_EQ(StreamsOf(Path("输出.mp4")).size(), 2u);
}

// The custom hook paints on the converting thread with the picture's canvas locked: a thread
// that paints on it meanwhile waits.
TEST_F(ConverterConvert, TheCustomHookPaintsWithTheCanvasLocked)
{
    const std::string input = MakeSoundClip("clip.mp4", 1);
    ASSERT_EQ(Converter->AddTask(Utf8ToString(input), String()), 0);
    TOutputOptions options = Output(L"mpeg4", L"aac");
    options.CustomHook = true;
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("hooked.mp4"), &options));
    std::atomic<int> calls{0}, paintedMeanwhile{0};
    Converter->SetOnCustomHook([&](TObject*, PHookInfo AInfo) {
        std::thread([&] {
            if (AInfo->Bitmap->Canvas()->TryLock()) {
                ++paintedMeanwhile;
                AInfo->Bitmap->Canvas()->Unlock();
            }
        }).join();
        AInfo->Bitmap->Canvas()->Brush()->SetColor(clWhite);
        AInfo->Bitmap->Canvas()->FillRect(Rect(0, 0, 8, 8));
        ++calls;
    });
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    EXPECT_TRUE(Ends[0].Finished) << StringToUtf8(Ends[0].ExceptionMsg);
    EXPECT_GT(calls.load(), 10);
    EXPECT_EQ(paintedMeanwhile.load(), 0);
}
