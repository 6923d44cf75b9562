// The video filter graph of a transcode run ("vfilters"). BuildFilterGraph sets up, for an encoded
// video output stream, a graph of the filter library: a "buffer" source fed with the decoded
// pictures, the crop and scale filters the task's bands and frame size ask for, the user's chain,
// and a "buffersink" restricted to the encoder's pixel format; the encoder takes the size the sink
// delivers. FilterVideoFrame feeds one decoded picture and hands every filtered picture to
// DoVideoOut; FlushFilterGraph drains the graph at the end of its input. Called by the stream
// set-up (transcode_setup.cpp) and the packet handler (decode_packet.cpp) on the converting thread.
#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// The time base of the pictures entering a graph: the input stream's clock, in microseconds.
constexpr AVRational GraphTimeBase{1, AV_TIME_BASE};

struct TInOutHolder {
    AVFilterInOut* Item = nullptr;
    ~TInOutHolder() { av::avfilter_inout_free(&Item); }
};

}  // namespace

int TCustomFFmpeg::CreateVideoFilterGraph(TAVOutputStream* AOutStream, int AWidth, int AHeight, int AFormat,
                                          AVRational ASampleAspect)
{
    AVCodecContext* enc = AOutStream->enc;
    if (AOutStream->filter_graph) av::avfilter_graph_free(&AOutStream->filter_graph);
    AOutStream->input_video_filter = nullptr;
    AOutStream->out_video_filter = nullptr;
    AOutStream->filter_chain.clear();
    AVFilterGraph* graph = av::avfilter_graph_alloc();
    if (!graph) return -1;
    AOutStream->filter_graph = graph;
    Fgraph = graph;
    AOutStream->source_width = AWidth;
    AOutStream->source_height = AHeight;
    AOutStream->source_format = AFormat;

    // Source and sink.
    if (ASampleAspect.num <= 0 || ASampleAspect.den <= 0) ASampleAspect = AVRational{0, 1};
    std::string sourceArgs =
        Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", AWidth, AHeight, AFormat,
               GraphTimeBase.num, GraphTimeBase.den, ASampleAspect.num, ASampleAspect.den);
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    if (av::avfilter_graph_create_filter(&source, av::avfilter_get_by_name("buffer"), "src", sourceArgs.c_str(),
                                         nullptr, graph) < 0 ||
        av::avfilter_graph_create_filter(&sink, av::avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                         graph) < 0)
        return -1;
    const int sinkFormat = enc->pix_fmt;
    if (av::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(&sinkFormat), sizeof sinkFormat,
                           AV_OPT_SEARCH_CHILDREN) < 0)
        return -1;
    AOutStream->input_video_filter = source;
    AOutStream->out_video_filter = sink;
    std::string chain = "src";
    AVFilterContext* last = source;

    // The bands first, then the scaler: the part of the picture left inside the bands is what
    // is brought to the encoder's size.
    const int left = AOutStream->leftBand, top = AOutStream->topBand;
    const int croppedWidth = AWidth - (AOutStream->leftBand + AOutStream->rightBand);
    const int croppedHeight = AHeight - (AOutStream->topBand + AOutStream->bottomBand);
    if (AOutStream->video_crop) {
        if (croppedWidth <= 0 || croppedHeight <= 0) return -1;
        std::string args = Format("w=%d:h=%d:x=%d:y=%d", croppedWidth, croppedHeight, left, top);
        AVFilterContext* crop = nullptr;
        if (av::avfilter_graph_create_filter(&crop, av::avfilter_get_by_name("crop"), nullptr, args.c_str(), nullptr,
                                             graph) < 0 ||
            av::avfilter_link(last, 0, crop, 0) < 0)
            return -1;
        chain += " -> crop=" + args;
        last = crop;
    }
    int64_t swsFlags = Fsws_flags;
    if (Options().sws_opts) av::av_opt_get_int(Options().sws_opts, "sws_flags", 0, &swsFlags);
    if (croppedWidth != enc->width || croppedHeight != enc->height) {
        std::string args = Format("%d:%d:sws_flags=%d", enc->width, enc->height, int(swsFlags));
        AVFilterContext* scale = nullptr;
        if (av::avfilter_graph_create_filter(&scale, av::avfilter_get_by_name("scale"), nullptr, args.c_str(), nullptr,
                                             graph) < 0 ||
            av::avfilter_link(last, 0, scale, 0) < 0)
            return -1;
        chain += " -> scale=" + args;
        last = scale;
    }
    // Scalers the library inserts itself (format conversions) take the same flags.
    std::string autoScale = Format("flags=0x%X", unsigned(swsFlags));
    av::av_freep(&graph->scale_sws_opts);
    graph->scale_sws_opts = av::av_strdup(autoScale.c_str());
    if (!graph->scale_sws_opts) return -1;

    if (!Fvfilters.empty()) {
        // The chain's input label "in" is fed by the last filter, its output label "out" feeds
        // the sink.
        TInOutHolder outputs, inputs;
        outputs.Item = av::avfilter_inout_alloc();
        inputs.Item = av::avfilter_inout_alloc();
        if (!outputs.Item || !inputs.Item) return -1;
        outputs.Item->name = av::av_strdup("in");
        outputs.Item->filter_ctx = last;
        outputs.Item->pad_idx = 0;
        outputs.Item->next = nullptr;
        inputs.Item->name = av::av_strdup("out");
        inputs.Item->filter_ctx = sink;
        inputs.Item->pad_idx = 0;
        inputs.Item->next = nullptr;
        if (!outputs.Item->name || !inputs.Item->name) return -1;
        std::string text = StringToAnsi(Fvfilters);
        if (av::avfilter_graph_parse_ptr(graph, text.c_str(), &inputs.Item, &outputs.Item, nullptr) < 0) return -1;
        chain += " -> " + text;
    } else if (av::avfilter_link(last, 0, sink, 0) < 0) {
        return -1;
    }
    if (av::avfilter_graph_config(graph, nullptr) < 0) return -1;
    AOutStream->filter_chain = chain + " -> out";
    return 0;
}

int TCustomFFmpeg::BuildFilterGraph(TAVInputStream* AInStream, TAVOutputStream* AOutStream)
{
    AVCodecContext* dec = AInStream->dec;
    AVCodecContext* enc = AOutStream->enc;
    if (!dec || !enc) return -1;
    AVRational aspect = dec->sample_aspect_ratio;
    if (aspect.num == 0) aspect = AInStream->st->sample_aspect_ratio;
    if (CreateVideoFilterGraph(AOutStream, dec->width, dec->height, dec->pix_fmt, aspect) < 0) return -1;
    // The encoder takes the size the graph delivers.
    if (AOutStream->first == AOutStream) {
        enc->width = av::av_buffersink_get_w(AOutStream->out_video_filter);
        enc->height = av::av_buffersink_get_h(AOutStream->out_video_filter);
    }
    return 0;
}

int TCustomFFmpeg::GetFilteredPicture(AVFilterContext* ASinkContext, AVFrame* AFrame, int64_t& APts)
{
    if (av::av_buffersink_get_frame(ASinkContext, AFrame) < 0) return -1;
    if (AFrame->pts != AV_NOPTS_VALUE)
        APts = av::av_rescale_q(AFrame->pts, av::av_buffersink_get_time_base(ASinkContext), GraphTimeBase);
    return 1;
}

void TCustomFFmpeg::DrainFilterGraph(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream)
{
    AVFrame* filtered = av::av_frame_alloc();
    if (!filtered) throw FFmpegException(L"av_mallocz fail");
    try {
        int64_t pts = AInStream->pts;
        while (!FBroken && GetFilteredPicture(AOutStream->out_video_filter, filtered, pts) > 0) {
            AInStream->pts = pts;
            AVRational aspect = av::av_buffersink_get_sample_aspect_ratio(AOutStream->out_video_filter);
            if (aspect.num != 0) AOutStream->first->enc->sample_aspect_ratio = aspect;
            int frameSize = 0;
            DoVideoOut(AContext, AOutStream, AInStream, filtered, frameSize);
            if (!Fvstats_filename.empty() && frameSize != 0) DoVideoStats(AOutStream, frameSize);
            av::av_frame_unref(filtered);
        }
    } catch (...) {
        av::av_frame_free(&filtered);
        throw;
    }
    av::av_frame_free(&filtered);
}

void TCustomFFmpeg::FilterVideoFrame(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                                     AVFrame* APicture)
{
    // Pictures of another size or format than the graph was built for get a graph of their own;
    // the encoder keeps its size (DoVideoOut brings what differs to it).
    if (APicture->width != AOutStream->source_width || APicture->height != AOutStream->source_height ||
        APicture->format != AOutStream->source_format) {
        const char* name = av::av_get_pix_fmt_name(AVPixelFormat(APicture->format));
        DefaultLogger()->Log(this, llQuiet,
                             Format(L"Input Stream #%d.%d frame size changed to %dx%d, %s", AInStream->file_index,
                                    AInStream->index, APicture->width, APicture->height, name ? name : "none"));
        if (CreateVideoFilterGraph(AOutStream, APicture->width, APicture->height, APicture->format,
                                   APicture->sample_aspect_ratio) < 0)
            throw FFmpegException(L"Error opening filters!");
    }
    const int64_t pts = APicture->pts;
    APicture->pts = AInStream->pts;
    int result = av::av_buffersrc_add_frame_flags(AOutStream->input_video_filter, APicture, AV_BUFFERSRC_FLAG_KEEP_REF);
    APicture->pts = pts;
    if (result < 0) throw FFmpegException(ErrorCodeText(L"Error while feeding the filter graph", result));
    DrainFilterGraph(AContext, AOutStream, AInStream);
}

void TCustomFFmpeg::FlushFilterGraph(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream)
{
    if (!AOutStream->input_video_filter) return;
    // The end of the input: what the filters still hold comes out.
    if (av::av_buffersrc_add_frame_flags(AOutStream->input_video_filter, nullptr, 0) < 0) return;
    DrainFilterGraph(AContext, AOutStream, AInStream);
}
