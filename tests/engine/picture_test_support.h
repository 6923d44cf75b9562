// Pictures for the filter and hook tests: a source video painted frame by frame (flat colour
// areas that survive encoding), and the colour of a pixel of an output's first picture as the
// probe decodes it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/av_probe.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "tests/engine/media_test_support.h"

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
    AVFrame* frame = av::av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = AWidth;
    frame->height = AHeight;
    std::string error = av::av_frame_get_buffer(frame, 0) < 0 ? "open encoder"
                                                              : WriteVideoFrames(
                                                                    APath, AWidth, AHeight, AFrames,
                                                                    [&](int i) {
                                                                        av::av_frame_make_writable(frame);
                                                                        APaint(frame, i);
                                                                        return frame;
                                                                    },
                                                                    2);
    av::av_frame_free(&frame);
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
        if (std::abs(int((A >> shift) & 0xFF) - int((B >> shift) & 0xFF)) > ATolerance) return false;
    return true;
}

}  // namespace engine_test
