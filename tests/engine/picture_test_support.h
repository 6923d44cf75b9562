// Pictures for the filter and hook tests: a source video painted frame by frame (flat colour
// areas that survive encoding), and the colour of a pixel of an output's first picture as the
// probe decodes it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/av_probe.h"
#include "platform/framework/bitmap.h"
#include "platform/framework/strings.h"
#include "tests/engine/media_fixture.h"

namespace engine_test {

struct TYuv {
    uint8_t Y, U, V;
};
constexpr TYuv YuvRed{81, 90, 240};
constexpr TYuv YuvGreen{145, 54, 34};
constexpr TYuv YuvBlue{41, 240, 110};

// Paints the rectangle [x0, x1) x [y0, y1) of a YUV 4:2:0 frame (even coordinates).
inline void PaintYuv(AVFrame* AFrame, int x0, int y0, int x1, int y1, TYuv AColour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) AFrame->data[0][y * AFrame->linesize[0] + x] = AColour.Y;
    for (int y = y0 / 2; y < y1 / 2; ++y)
        for (int x = x0 / 2; x < x1 / 2; ++x) {
            AFrame->data[1][y * AFrame->linesize[1] + x] = AColour.U;
            AFrame->data[2][y * AFrame->linesize[2] + x] = AColour.V;
        }
}

// Writes AFrames frames (25 fps, MPEG-4 at a fine quantiser, container by extension); APaint
// draws frame i. An empty text or what failed.
inline std::string WritePaintedVideo(const std::string& APath, int AWidth, int AHeight, int AFrames,
                                     const std::function<void(AVFrame*, int)>& APaint)
{
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, nullptr, nullptr, APath.c_str()) < 0 || !oc)
        return "output context";
    const AVCodec* codec = av::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* enc = av::avcodec_alloc_context3(codec);
    enc->width = AWidth;
    enc->height = AHeight;
    enc->time_base = AVRational{1, 25};
    enc->framerate = AVRational{25, 1};
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->thread_count = 1;
    enc->flags |= AV_CODEC_FLAG_QSCALE;
    enc->global_quality = FF_QP2LAMBDA * 2;
    if (oc->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVStream* st = av::avformat_new_stream(oc, nullptr);
    AVPacket* pkt = av::av_packet_alloc();
    AVFrame* frame = av::av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = AWidth;
    frame->height = AHeight;
    std::string error;
    if (av::avcodec_open2(enc, codec, nullptr) < 0 || av::av_frame_get_buffer(frame, 0) < 0)
        error = "open encoder";
    else if (av::avcodec_parameters_from_context(st->codecpar, enc) < 0)
        error = "stream parameters";
    else if ((st->time_base = enc->time_base, OpenAVOutputIO(oc, APath.c_str())) < 0)
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
        for (int i = 0; i < AFrames; ++i) {
            av::av_frame_make_writable(frame);
            APaint(frame, i);
            frame->pts = i;
            frame->quality = enc->global_quality;
            av::avcodec_send_frame(enc, frame);
            drain();
        }
        av::avcodec_send_frame(enc, nullptr);
        drain();
        if (av::av_write_trailer(oc) < 0)
            error = "write trailer";
    }
    CloseAVOutputIO(oc);
    av::av_frame_free(&frame);
    av::av_packet_free(&pkt);
    av::avcodec_free_context(&enc);
    av::avformat_free_context(oc);
    return error;
}

// The first picture of a file's video as the probe decodes it (empty on failure).
inline bool FirstPicture(const std::string& APath, TBitmap& ABitmap)
{
    TAVProbe probe(nullptr);
    return probe.LoadFile(Utf8ToString(APath)) && probe.Decode() && probe.CopyToBitmap(ABitmap);
}

// The colour of a pixel of a 32-bit bitmap as 0xRRGGBB.
inline uint32_t PixelOf(TBitmap& ABitmap, int AX, int AY)
{
    const auto* p = static_cast<const uint8_t*>(ABitmap.ScanLine(AY)) + AX * 4;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Whether two colours are within ATolerance in each channel.
inline bool Near(uint32_t A, uint32_t B, int ATolerance = 40)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((A >> shift) & 0xFF) - int((B >> shift) & 0xFF)) > ATolerance)
            return false;
    return true;
}

}  // namespace engine_test
