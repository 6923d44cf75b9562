// Fixture of the conversion tests: a task with its log (TaskFixture), generated source media in
// the test's own folder (OpenFilesFixture), a synchronous run of the task and what the probe
// and a pass over the packets find in the output.
#pragma once

#include <string>

#include "engine/av_probe.h"
#include "tests/engine/open_files_test_support.h"

namespace engine_test {

// What an output file holds.
struct TOutputFacts {
    bool Opened = false;
    std::string VideoCodec, AudioCodec;  // decoder names ("h264", "aac", ...); empty when none
    int Width = 0, Height = 0;
    int VideoPackets = 0, AudioPackets = 0;
    int SampleRate = 0, Channels = 0;
    double Duration = 0;       // seconds, the file's
    double VideoDuration = 0;  // seconds, from the first to the end of the last video packet
    double AudioDuration = 0;
    double FrameRate = 0;
};

class TranscodeFixture : public OpenFilesFixture {
protected:
    // A clip of AFrames frames at 25 fps (AWidth x AHeight) with 16-bit sound of ARate Hz.
    std::string Clip(const std::string& AName = "in.mkv", int AWidth = 176, int AHeight = 144, int ARate = 48000,
                     int AFrames = 25, int AChannels = 1)
    {
        TestMedia m;
        m.Width = AWidth;
        m.Height = AHeight;
        m.SampleRate = ARate;
        m.Channels = AChannels;
        m.Frames = AFrames;
        return Media(AName, m);
    }

    // Runs the task on this thread; the failure text, empty when the run did not fail.
    std::string Run()
    {
        Task->StartConvert(false, tpNormal);
        return Task->FFatalException ? StringToUtf8(Task->FFatalMessage) : std::string();
    }

    // Opens AInput, applies the options (name, value pairs, in order) and opens AOutput.
    void Prepare(const std::string& AInput, const std::string& AOutput,
                 const std::vector<std::pair<std::string, std::string>>& AOptions = {})
    {
        ASSERT_TRUE(Input(AInput)) << LastError();
        for (const auto& option : AOptions) Apply(option.first, option.second);
        ASSERT_GE(Output(AOutput), 1) << LastError();
    }

    static TOutputFacts Facts(const std::string& APath)
    {
        TOutputFacts facts;
        TAVProbe probe(nullptr);
        if (!probe.LoadFile(Utf8ToString(APath))) return facts;
        facts.Opened = true;
        AVFormatContext* ic = probe.FileHandle();
        facts.Duration = ic->duration == AV_NOPTS_VALUE ? 0 : double(ic->duration) / AV_TIME_BASE;
        int video = -1, audio = -1;
        for (unsigned i = 0; i < ic->nb_streams; ++i) {
            AVCodecParameters* par = ic->streams[i]->codecpar;
            if (par->codec_type == AVMEDIA_TYPE_VIDEO && video < 0) {
                video = int(i);
                facts.VideoCodec = av::avcodec_get_name(par->codec_id);
                facts.Width = par->width;
                facts.Height = par->height;
                AVRational r = ic->streams[i]->avg_frame_rate;
                facts.FrameRate = r.den ? double(r.num) / r.den : 0;
            } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && audio < 0) {
                audio = int(i);
                facts.AudioCodec = av::avcodec_get_name(par->codec_id);
                facts.SampleRate = par->sample_rate;
                facts.Channels = par->ch_layout.nb_channels;
            }
        }
        AVPacket* pkt = av::av_packet_alloc();
        int64_t vFirst = AV_NOPTS_VALUE, vEnd = 0, aFirst = AV_NOPTS_VALUE, aEnd = 0;
        while (av::av_read_frame(ic, pkt) >= 0) {
            int64_t t = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
            if (pkt->stream_index == video) {
                ++facts.VideoPackets;
                if (t != AV_NOPTS_VALUE) {
                    if (vFirst == AV_NOPTS_VALUE || t < vFirst) vFirst = t;
                    vEnd = std::max(vEnd, t + pkt->duration);
                }
            } else if (pkt->stream_index == audio) {
                ++facts.AudioPackets;
                if (t != AV_NOPTS_VALUE) {
                    if (aFirst == AV_NOPTS_VALUE || t < aFirst) aFirst = t;
                    aEnd = std::max(aEnd, t + pkt->duration);
                }
            }
            av::av_packet_unref(pkt);
        }
        av::av_packet_free(&pkt);
        if (video >= 0 && vFirst != AV_NOPTS_VALUE)
            facts.VideoDuration = double(vEnd - vFirst) * av_q2d(ic->streams[video]->time_base);
        if (audio >= 0 && aFirst != AV_NOPTS_VALUE)
            facts.AudioDuration = double(aEnd - aFirst) * av_q2d(ic->streams[audio]->time_base);
        return facts;
    }
};

}  // namespace engine_test
