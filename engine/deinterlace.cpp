// Deinterlacing of decoded pictures for the "deinterlace" option: each picture goes through a
// one-filter graph of the filter library (the post-processing library's line-blending
// deinterlacer, which keeps no picture back) and the result replaces it. The graph is kept
// between pictures and made anew when their size or format changes. Called by
// PreProcessVideoFrame (frame_hook_calls.cpp) on the converting thread.
#include "engine/av_bindings.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

bool Deinterlaceable(int AFormat)
{
    switch (AFormat) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8: return true;
    default: return false;
    }
}

}  // namespace

void TCustomFFmpeg::FreeDeinterlacer()
{
    if (FDeinterlaceGraph) av::avfilter_graph_free(&FDeinterlaceGraph);
    FDeinterlaceSource = FDeinterlaceSink = nullptr;
    FDeinterlaceWidth = FDeinterlaceHeight = 0;
    FDeinterlaceFormat = -1;
}

bool TCustomFFmpeg::DeinterlacePicture(AVFrame* APicture)
{
    if (!Deinterlaceable(APicture->format) || APicture->width < 3 || APicture->height < 3) return false;
    if (!FDeinterlaceGraph || APicture->width != FDeinterlaceWidth || APicture->height != FDeinterlaceHeight ||
        APicture->format != FDeinterlaceFormat) {
        FreeDeinterlacer();
        FDeinterlaceGraph = av::avfilter_graph_alloc();
        if (!FDeinterlaceGraph) return false;
        std::string args = Format("video_size=%dx%d:pix_fmt=%d:time_base=1/25:pixel_aspect=1/1", APicture->width,
                                  APicture->height, APicture->format);
        AVFilterContext* filter = nullptr;
        if (av::avfilter_graph_create_filter(&FDeinterlaceSource, av::avfilter_get_by_name("buffer"), "src",
                                             args.c_str(), nullptr, FDeinterlaceGraph) < 0 ||
            av::avfilter_graph_create_filter(&filter, av::avfilter_get_by_name("pp"), "deinterlace", "fd", nullptr,
                                             FDeinterlaceGraph) < 0 ||
            av::avfilter_graph_create_filter(&FDeinterlaceSink, av::avfilter_get_by_name("buffersink"), "out", nullptr,
                                             nullptr, FDeinterlaceGraph) < 0 ||
            av::av_opt_set_bin(FDeinterlaceSink, "pix_fmts", reinterpret_cast<const uint8_t*>(&APicture->format),
                               sizeof APicture->format, AV_OPT_SEARCH_CHILDREN) < 0 ||
            av::avfilter_link(FDeinterlaceSource, 0, filter, 0) < 0 ||
            av::avfilter_link(filter, 0, FDeinterlaceSink, 0) < 0 ||
            av::avfilter_graph_config(FDeinterlaceGraph, nullptr) < 0) {
            FreeDeinterlacer();
            return false;
        }
        FDeinterlaceWidth = APicture->width;
        FDeinterlaceHeight = APicture->height;
        FDeinterlaceFormat = APicture->format;
    }
    AVFrame* result = av::av_frame_alloc();
    if (!result) return false;
    bool ok = av::av_buffersrc_add_frame_flags(FDeinterlaceSource, APicture, AV_BUFFERSRC_FLAG_KEEP_REF) >= 0 &&
              av::av_buffersink_get_frame(FDeinterlaceSink, result) >= 0 && result->width == APicture->width &&
              result->height == APicture->height;
    if (ok)
        av::av_image_copy(APicture->data, APicture->linesize, const_cast<const uint8_t**>(result->data),
                          result->linesize, AVPixelFormat(APicture->format), APicture->width, APicture->height);
    av::av_frame_free(&result);
    return ok;
}
