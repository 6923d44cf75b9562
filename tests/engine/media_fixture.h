// Test media made through the bound libraries: frames from a libavfilter source and a short
// MPEG-4 video file written with the engine's own output routine. Needs the converter set loaded.
#pragma once

#include <string>

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
        if (av::avfilter_graph_create_filter(&src, av::avfilter_get_by_name(name.c_str()), "src", args.c_str(), nullptr, FGraph) < 0 ||
            av::avfilter_graph_create_filter(&fmt, av::avfilter_get_by_name("format"), "fmt", pixFmt.c_str(), nullptr, FGraph) < 0 ||
            av::avfilter_graph_create_filter(&FSink, av::avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, FGraph) < 0 ||
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
        if (!FSink || av::av_buffersink_get_frame(FSink, FFrame) < 0)
            return nullptr;
        return FFrame;
    }

private:
    AVFilterGraph* FGraph = nullptr;
    AVFilterContext* FSink = nullptr;
    AVFrame* FFrame = nullptr;
};

// Writes `frames` frames of testsrc (width x height, 25 fps) as MPEG-4 video into the file the
// encoded name names (a plain name or "unicode:utf8:..."); the container follows the extension.
// Returns an empty text or what failed.
inline std::string WriteTestVideo(const std::string& encodedName, int width, int height, int frames)
{
    FilterSource source("testsrc=size=" + std::to_string(width) + "x" + std::to_string(height) + ":rate=25",
                        AV_PIX_FMT_YUV420P);
    if (!source.Ok())
        return "filter graph";
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, nullptr, nullptr, encodedName.c_str()) < 0 || !oc)
        return "output context";
    const AVCodec* codec = av::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* enc = av::avcodec_alloc_context3(codec);
    enc->width = width;
    enc->height = height;
    enc->time_base = AVRational{1, 25};
    enc->framerate = AVRational{25, 1};
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->thread_count = 1;
    if (oc->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    std::string error;
    AVStream* st = av::avformat_new_stream(oc, nullptr);
    AVPacket* pkt = av::av_packet_alloc();
    if (av::avcodec_open2(enc, codec, nullptr) < 0)
        error = "open encoder";
    else if (av::avcodec_parameters_from_context(st->codecpar, enc) < 0)
        error = "stream parameters";
    else if ((st->time_base = enc->time_base, OpenAVOutputIO(oc, encodedName.c_str())) < 0)
        error = "open output file";
    else if (av::avformat_write_header(oc, nullptr) < 0)
        error = "write header";
    else {
        auto drain = [&] {
            while (av::avcodec_receive_packet(enc, pkt) >= 0) {
                av::av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
                pkt->stream_index = st->index;
                av::av_interleaved_write_frame(oc, pkt);
            }
        };
        for (int i = 0; i < frames; ++i) {
            AVFrame* f = source.Next();
            if (!f) {
                error = "source ended";
                break;
            }
            f->pts = i;
            f->pict_type = AV_PICTURE_TYPE_NONE;
            av::avcodec_send_frame(enc, f);
            drain();
        }
        av::avcodec_send_frame(enc, nullptr);
        drain();
        if (av::av_write_trailer(oc) < 0 && error.empty())
            error = "write trailer";
    }
    CloseAVOutputIO(oc);
    av::av_packet_free(&pkt);
    av::avcodec_free_context(&enc);
    av::avformat_free_context(oc);
    return error;
}

}  // namespace engine_test
