// A picture of the skin being drawn: an opaque RGB raster that starts as the key colour and takes
// one piece (a look of a control, a caption button, a window picture) at a time. Each piece is
// drawn with Cairo, antialiased, on a transparent surface of its own and then settled into the
// raster against its backdrop: the colour it will sit on when shown. Edge pixels blend with that
// colour only, and the pixels a keyed piece leaves uncovered become exact key pixels, so a cut
// picture never shows a fringe of the key colour.
#pragma once

#include <cairo.h>

#include <functional>
#include <vector>

#include "platform/framework/core/types.h"
#include "tools/skin_builder/palette.h"

class TBitmap;

using Painter = std::function<void(cairo_t*)>;

// What becomes of the pixels a piece does not cover completely.
struct Backdrop {
    Rgb SitsOn;  // partly covered pixels blend with this colour
    bool Keyed;  // uncovered pixels become the key colour instead of SitsOn
    double Cut;  // keyed: pixels covered this much or less count as uncovered
};
// An opaque piece shown on SitsOn.
inline Backdrop On(Rgb SitsOn) { return {SitsOn, false, 0}; }
// A piece drawn with the key colour around it, shown on SitsOn.
inline Backdrop KeyedOn(Rgb SitsOn, double Cut = 0) { return {SitsOn, true, Cut}; }

class SkinPicture {
public:
    // A fixed picture of Width x Height; Height 0 makes an atlas that grows with its rows.
    explicit SkinPicture(int Width, int Height = 0);

    // Draws a piece into R; Paint works in the piece's own coordinates (0, 0 at R's top-left).
    void Draw(const TRect& R, Backdrop B, const Painter& Paint);
    // Places a W x H piece in the atlas, as high up as it fits and then as far left (the atlas
    // keeps the skyline of what it holds), draws it and answers where it went.
    TRect Add(int W, int H, Backdrop B, const Painter& Paint);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    Rgb Pixel(int X, int Y) const { return FPixels[static_cast<size_t>(Y) * FWidth + X]; }

    // The picture as a 24-bit bitmap, and its shape as a 1-bit mask (black where it is not the
    // key colour). The caller owns them.
    TBitmap* ToBitmap() const;
    TBitmap* ToMask() const;

private:
    void Grow(int Height);

    int FWidth, FHeight;
    bool FAtlas;
    std::vector<Rgb> FPixels;
    std::vector<int> FSkyline;  // per column: the first row below every piece placed there
};
