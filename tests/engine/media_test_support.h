// Test media made through the bound libraries: frames from a libavfilter source, a short
// MPEG-4 video file written with the engine's own output routine, and files with any mix of
// video, PCM audio and text subtitles (WriteTestMedia). Needs the converter set loaded.
#pragma once

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/av_bindings.h"
#include "engine/unicode_file.h"

namespace engine_test {

// Frames of a source filter (e.g. "testsrc=size=64x48:rate=25", "color=c=red:size=64x48") in a
// pixel format; pull them one by one with Next().
class FilterSource {
public:
    FilterSource(const std::string& source, AVPixelFormat format)
    {
        FGraph = av::avfilter_graph_alloc();
        AVFilterContext* src = nullptr;
        AVFilterContext* fmt = nullptr;
        std::string pixFmt = std::string("pix_fmts=") + av::av_get_pix_fmt_name(format);
        size_t eq = source.find('=');
        std::string name = source.substr(0, eq);
        std::string args = eq == std::string::npos ? "" : source.substr(eq + 1);
        if (av::avfilter_graph_create_filter(&src, av::avfilter_get_by_name(name.c_str()), "src", args.c_str(), nullptr,
                                             FGraph) < 0 ||
            av::avfilter_graph_create_filter(&fmt, av::avfilter_get_by_name("format"), "fmt", pixFmt.c_str(), nullptr,
                                             FGraph) < 0 ||
            av::avfilter_graph_create_filter(&FSink, av::avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                             FGraph) < 0 ||
            av::avfilter_link(src, 0, fmt, 0) < 0 || av::avfilter_link(fmt, 0, FSink, 0) < 0 ||
            av::avfilter_graph_config(FGraph, nullptr) < 0)
            FSink = nullptr;
        FFrame = av::av_frame_alloc();
    }
    ~FilterSource()
    {
        av::av_frame_free(&FFrame);
        av::avfilter_graph_free(&FGraph);
    }
    bool Ok() const { return FSink != nullptr; }
    // The next frame (owned by the source until the next call), nullptr at the end.
    AVFrame* Next()
    {
        av::av_frame_unref(FFrame);
        if (!FSink || av::av_buffersink_get_frame(FSink, FFrame) < 0) return nullptr;
        return FFrame;
    }

private:
    AVFilterGraph* FGraph = nullptr;
    AVFilterContext* FSink = nullptr;
    AVFrame* FFrame = nullptr;
};

// A video encoder of codec ACodecId for pictures of width x height at 25 fps (yuv420p, one
// thread), with the global header the container asks for; a qscale above 0 encodes at that
// fixed quantiser. Not opened yet.
inline AVCodecContext* NewVideoEncoder(AVCodecID ACodecId, int width, int height, const AVOutputFormat* AFormat,
                                       int qscale = 0)
{
    AVCodecContext* enc = av::avcodec_alloc_context3(av::avcodec_find_encoder(ACodecId));
    if (!enc) return nullptr;
    enc->width = width;
    enc->height = height;
    enc->time_base = AVRational{1, 25};
    enc->framerate = AVRational{25, 1};
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->thread_count = 1;
    if (qscale > 0) {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = FF_QP2LAMBDA * qscale;
    }
    if (AFormat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return enc;
}

// Sends `frames` pictures from next(i) to the opened encoder (picture i at time i) and every
// packet it gives out to write, then drains it. Empty, or "source ended" when next gave none.
inline std::string EncodeVideoFrames(AVCodecContext* enc, AVPacket* pkt, int frames,
                                     const std::function<AVFrame*(int)>& next,
                                     const std::function<void(AVPacket*)>& write)
{
    std::string error;
    auto drain = [&] {
        while (av::avcodec_receive_packet(enc, pkt) >= 0) write(pkt);
    };
    for (int i = 0; i < frames; ++i) {
        AVFrame* f = next(i);
        if (!f) {
            error = "source ended";
            break;
        }
        f->pts = i;
        f->pict_type = AV_PICTURE_TYPE_NONE;
        if (enc->flags & AV_CODEC_FLAG_QSCALE) f->quality = enc->global_quality;
        av::avcodec_send_frame(enc, f);
        drain();
    }
    av::avcodec_send_frame(enc, nullptr);
    drain();
    return error;
}

// Writes `frames` pictures (width x height, 25 fps, yuv420p) as MPEG-4 video into the file the
// encoded name names (a plain name or "unicode:utf8:..."); the container follows the extension.
// next(i) gives picture i (nullptr ends early with "source ended"); a qscale above 0 encodes at
// that fixed quantiser. Returns an empty text or what failed.
inline std::string WriteVideoFrames(const std::string& encodedName, int width, int height, int frames,
                                    const std::function<AVFrame*(int)>& next, int qscale = 0)
{
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, nullptr, nullptr, encodedName.c_str()) < 0 || !oc)
        return "output context";
    AVCodecContext* enc = NewVideoEncoder(AV_CODEC_ID_MPEG4, width, height, oc->oformat, qscale);
    std::string error;
    AVStream* st = av::avformat_new_stream(oc, nullptr);
    AVPacket* pkt = av::av_packet_alloc();
    if (!enc || av::avcodec_open2(enc, enc->codec, nullptr) < 0)
        error = "open encoder";
    else if (av::avcodec_parameters_from_context(st->codecpar, enc) < 0)
        error = "stream parameters";
    else if ((st->time_base = enc->time_base, OpenAVOutputIO(oc, encodedName.c_str())) < 0)
        error = "open output file";
    else if (av::avformat_write_header(oc, nullptr) < 0)
        error = "write header";
    else {
        error = EncodeVideoFrames(enc, pkt, frames, next, [&](AVPacket* APacket) {
            av::av_packet_rescale_ts(APacket, enc->time_base, st->time_base);
            APacket->stream_index = st->index;
            av::av_interleaved_write_frame(oc, APacket);
        });
        if (av::av_write_trailer(oc) < 0 && error.empty()) error = "write trailer";
    }
    CloseAVOutputIO(oc);
    av::av_packet_free(&pkt);
    av::avcodec_free_context(&enc);
    av::avformat_free_context(oc);
    return error;
}

// Writes `frames` frames of testsrc as WriteVideoFrames does.
inline std::string WriteTestVideo(const std::string& encodedName, int width, int height, int frames)
{
    FilterSource source("testsrc=size=" + std::to_string(width) + "x" + std::to_string(height) + ":rate=25",
                        AV_PIX_FMT_YUV420P);
    if (!source.Ok()) return "filter graph";
    return WriteVideoFrames(encodedName, width, height, frames, [&](int) { return source.Next(); });
}

// What WriteTestMedia puts into a file. A part with a zero size or rate is left out.
struct TestMedia {
    int Width = 0, Height = 0;  // video of this size, 25 fps
    AVCodecID VideoCodec = AV_CODEC_ID_MPEG4;
    AVRational SampleAspect{0, 1};     // the video's sample aspect ratio
    int Frames = 5;                    // video frames; the audio lasts as long
    int SampleRate = 0, Channels = 1;  // 16-bit PCM audio
    bool Subtitles = false;            // one SubRip subtitle ("Hello") at the start
    bool PictureSubtitles = false;     // one DVD subtitle (a small picture) at the start
};

// Writes the streams of AMedia into the file the encoded name names, container by extension.
// Returns an empty text or what failed.
inline std::string WriteTestMedia(const std::string& encodedName, const TestMedia& media)
{
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, nullptr, nullptr, encodedName.c_str()) < 0 || !oc)
        return "output context";
    std::string error;
    AVCodecContext* enc = nullptr;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
    AVStream* subtitle = nullptr;
    AVPacket* pkt = av::av_packet_alloc();
    FilterSource source("testsrc=size=" + std::to_string(media.Width ? media.Width : 16) + "x" +
                            std::to_string(media.Height ? media.Height : 16) + ":rate=25",
                        AV_PIX_FMT_YUV420P);
    if (media.Width > 0) {
        enc = NewVideoEncoder(media.VideoCodec, media.Width, media.Height, oc->oformat);
        if (enc) enc->sample_aspect_ratio = media.SampleAspect;
        video = av::avformat_new_stream(oc, nullptr);
        video->sample_aspect_ratio = media.SampleAspect;
        if (!enc || av::avcodec_open2(enc, enc->codec, nullptr) < 0 ||
            av::avcodec_parameters_from_context(video->codecpar, enc) < 0)
            error = "video encoder";
        video->time_base = AVRational{1, 25};
    }
    if (media.SampleRate > 0) {
        audio = av::avformat_new_stream(oc, nullptr);
        AVCodecParameters* par = audio->codecpar;
        par->codec_type = AVMEDIA_TYPE_AUDIO;
        par->codec_id = AV_CODEC_ID_PCM_S16LE;
        par->format = AV_SAMPLE_FMT_S16;
        par->sample_rate = media.SampleRate;
        av::av_channel_layout_default(&par->ch_layout, media.Channels);
        par->bits_per_coded_sample = 16;
        par->block_align = 2 * media.Channels;
        par->bit_rate = int64_t(media.SampleRate) * 16 * media.Channels;
        audio->time_base = AVRational{1, media.SampleRate};
    }
    if (media.Subtitles) {
        subtitle = av::avformat_new_stream(oc, nullptr);
        subtitle->codecpar->codec_type = AVMEDIA_TYPE_SUBTITLE;
        subtitle->codecpar->codec_id = AV_CODEC_ID_SUBRIP;
        subtitle->time_base = AVRational{1, 1000};
    }
    AVCodecContext* pictureEnc = nullptr;
    AVStream* pictureSubtitle = nullptr;
    if (media.PictureSubtitles) {
        const AVCodec* codec = av::avcodec_find_encoder(AV_CODEC_ID_DVD_SUBTITLE);
        pictureEnc = av::avcodec_alloc_context3(codec);
        pictureEnc->time_base = AVRational{1, 1000};
        pictureEnc->width = media.Width ? media.Width : 64;
        pictureEnc->height = media.Height ? media.Height : 48;
        pictureSubtitle = av::avformat_new_stream(oc, nullptr);
        pictureSubtitle->time_base = AVRational{1, 1000};
        if (av::avcodec_open2(pictureEnc, codec, nullptr) < 0 ||
            av::avcodec_parameters_from_context(pictureSubtitle->codecpar, pictureEnc) < 0)
            error = "subtitle encoder";
    }
    if (error.empty() && OpenAVOutputIO(oc, encodedName.c_str()) < 0)
        error = "open output file";
    else if (error.empty() && av::avformat_write_header(oc, nullptr) < 0)
        error = "write header";
    if (!error.empty()) {
        CloseAVOutputIO(oc);
        av::av_packet_free(&pkt);
        av::avcodec_free_context(&pictureEnc);
        av::avcodec_free_context(&enc);
        av::avformat_free_context(oc);
        return error;
    }
    auto write = [&](AVStream* st, AVRational from) {
        av::av_packet_rescale_ts(pkt, from, st->time_base);
        pkt->stream_index = st->index;
        if (av::av_interleaved_write_frame(oc, pkt) < 0 && error.empty()) error = "write packet";
        av::av_packet_unref(pkt);
    };
    if (subtitle) {
        const char text[] = "Hello";
        av::av_new_packet(pkt, int(sizeof text - 1));
        std::memcpy(pkt->data, text, sizeof text - 1);
        pkt->pts = pkt->dts = 0;
        pkt->duration = 1000;
        write(subtitle, AVRational{1, 1000});
    }
    if (pictureSubtitle) {
        // An 8x2 picture of palette entries 1 on a transparent 0.
        uint8_t index[16];
        std::memset(index, 1, sizeof index);
        uint32_t palette[4] = {0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF808080};
        AVSubtitleRect rect{};
        rect.type = SUBTITLE_BITMAP;
        rect.x = 4;
        rect.y = 4;
        rect.w = 8;
        rect.h = 2;
        rect.nb_colors = 4;
        rect.data[0] = index;
        rect.linesize[0] = 8;
        rect.data[1] = reinterpret_cast<uint8_t*>(palette);
        AVSubtitleRect* rects[1] = {&rect};
        AVSubtitle sub{};
        sub.num_rects = 1;
        sub.rects = rects;
        sub.end_display_time = 1000;
        std::vector<uint8_t> buffer(65536);
        int size = av::avcodec_encode_subtitle(pictureEnc, buffer.data(), int(buffer.size()), &sub);
        if (size <= 0 || av::av_new_packet(pkt, size) < 0) {
            error = "encode subtitle";
        } else {
            std::memcpy(pkt->data, buffer.data(), size_t(size));
            pkt->pts = pkt->dts = 0;
            pkt->duration = 1000;
            write(pictureSubtitle, AVRational{1, 1000});
        }
    }
    if (audio) {
        const int block = 1024;
        int64_t total = int64_t(media.SampleRate) * media.Frames / 25;
        for (int64_t done = 0; done < total; done += block) {
            int n = int(std::min<int64_t>(block, total - done));
            av::av_new_packet(pkt, n * 2 * media.Channels);
            auto* samples = reinterpret_cast<int16_t*>(pkt->data);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < media.Channels; ++c)
                    samples[i * media.Channels + c] =
                        int16_t(8000 * std::sin(2 * M_PI * 440.0 * double(done + i) / media.SampleRate));
            pkt->pts = pkt->dts = done;
            pkt->duration = n;
            pkt->flags |= AV_PKT_FLAG_KEY;
            write(audio, AVRational{1, media.SampleRate});
        }
    }
    if (video) {
        std::string ended = EncodeVideoFrames(
            enc, pkt, media.Frames, [&](int) { return source.Next(); },
            [&](AVPacket*) { write(video, enc->time_base); });
        if (error.empty()) error = ended;
    }
    if (av::av_write_trailer(oc) < 0 && error.empty()) error = "write trailer";
    CloseAVOutputIO(oc);
    av::av_packet_free(&pkt);
    av::avcodec_free_context(&pictureEnc);
    av::avcodec_free_context(&enc);
    av::avformat_free_context(oc);
    return error;
}

}  // namespace engine_test
