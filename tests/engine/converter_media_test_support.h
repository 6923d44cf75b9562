// Fixture of the tests that run the task component on real media: the converter libraries, a
// component whose ends and progress reports are recorded, clips made with the ffmpeg tool in
// the test's own folder, and what the streams of a written file are.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "engine/converter.h"
#include "platform/base/main_thread.h"
#include "tests/engine/probe_test_support.h"

namespace engine_test {

using namespace std::chrono_literals;

struct TConvertedStream {
    std::string Type;   // "video", "audio"
    std::string Codec;  // the codec's short name
};

// The streams of a written file, read through the libraries.
inline std::vector<TConvertedStream> StreamsOf(const std::string& AFileName)
{
    std::vector<TConvertedStream> streams;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, AFileName.c_str(), nullptr, nullptr) < 0) return streams;
    av::avformat_find_stream_info(ic, nullptr);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* par = ic->streams[i]->codecpar;
        const char* type = par->codec_type == AVMEDIA_TYPE_VIDEO   ? "video"
                           : par->codec_type == AVMEDIA_TYPE_AUDIO ? "audio"
                                                                   : "other";
        streams.push_back({type, av::avcodec_get_name(par->codec_id)});
    }
    av::avformat_close_input(&ic);
    return streams;
}

class ConverterMedia : public probe_test::ProbeFixture {
protected:
    void SetUp() override
    {
        ProbeFixture::SetUp();
        // Converting threads log too: their lines reach the log on this thread.
        DefaultLogger()->SetTriggerEventInMainThread(true);
        ASSERT_TRUE(DefaultLoader().Load(ConverterLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
        Converter = std::make_unique<TFFConverter>(nullptr);
        Converter->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard<std::mutex> lock(Lock);
            Ends.push_back(AInfo);
        });
        Converter->SetOnProgress([this](TObject*, PProgressInfo AInfo) {
            std::lock_guard<std::mutex> lock(Lock);
            Reports.push_back(*AInfo);
        });
    }
    void TearDown() override
    {
        Converter.reset();
        DefaultLoader().Unload(ConverterLibraries);
        ProbeFixture::TearDown();
        DefaultLogger()->SetTriggerEventInMainThread(true);
    }

    // A clip of the test picture with a sine tone (stereo, 44.1 kHz).
    std::string MakeSoundClip(const std::string& AName, int ASeconds, const std::string& ASize = "320x240")
    {
        const std::string duration = std::to_string(ASeconds);
        EXPECT_TRUE(
            probe_test::RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=" + ASize + ":rate=25:duration=" + duration, "-f",
                                   "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + duration, "-ac",
                                   "2", "-c:v", "mpeg4", "-c:a", "aac", Path(AName)}));
        return Path(AName);
    }

    TOutputOptions Output(const wchar_t* AVideo, const wchar_t* AAudio)
    {
        TOutputOptions options;
        InitOutputOptions(&options);
        options.VideoCodec = AVideo;
        options.AudioCodec = AAudio;
        return options;
    }

    bool ServeUntilQueueEnd(std::chrono::milliseconds ATimeout = 120000ms)
    {
        return WaitServingMainThread(
            [this] {
                std::lock_guard<std::mutex> lock(Lock);
                return !Ends.empty() && Ends.back().TaskIndex == -1;
            },
            5, int(ATimeout.count()));
    }

    // The encoder names prepared for the streams of an opened output, in stream order.
    std::vector<std::string> OutputEncoders(int ATaskIndex, int AFileIndex)
    {
        std::vector<std::string> names;
        TFFmpeg* task = Converter->Tasks(ATaskIndex);
        AVFormatContext* oc = task->Foutput_files[AFileIndex];
        for (unsigned i = 0; oc && i < oc->nb_streams; ++i) {
            TStreamCodec* codec = task->OutputStreamCodec(oc->streams[i]);
            names.push_back(codec && codec->avcodec ? codec->avcodec->name : "");
        }
        return names;
    }

    std::unique_ptr<TFFConverter> Converter;
    std::mutex Lock;
    std::vector<TTerminateInfo> Ends;
    std::vector<TProgressInfo> Reports;
};

}  // namespace engine_test
