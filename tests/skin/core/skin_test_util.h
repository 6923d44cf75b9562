// Small synthetic skin bitmaps for the skin core's tests: filled by a function, drawn from
// ASCII art, and read back as ASCII art. Skin pixels carry alpha that the results depend on, so
// these pictures compare all 32 bits (tests/support/pixel_art.h compares colours only).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_bitmap.h"

namespace skintest {

inline std::unique_ptr<TbsBitmap> Filled(int W, int H, const std::function<TbsColor(int, int)>& F)
{
    auto b = std::make_unique<TbsBitmap>();
    b->SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->SetPixel(x, y, F(x, y));
    return b;
}

// Pixel (x, y) holds red x, green y and blue K, opaque: every blit result reads as a map of
// the source positions it took.
inline TbsColor Pos(int X, int Y, int K = 0) { return 0xFF000000u | (X << 16) | (Y << 8) | K; }
inline std::unique_ptr<TbsBitmap> Positions(int W, int H, int K = 0)
{
    return Filled(W, H, [K](int x, int y) { return Pos(x, y, K); });
}

// Rows of characters, one per pixel, through a palette.
inline std::unique_ptr<TbsBitmap> FromArt(const std::vector<std::string>& Rows, const std::map<char, TbsColor>& Pal)
{
    int h = static_cast<int>(Rows.size()), w = h ? static_cast<int>(Rows[0].size()) : 0;
    return Filled(w, h, [&](int x, int y) { return Pal.at(Rows[y][x]); });
}

// The bitmap as rows of characters: the palette's character for a colour it holds, '?' else.
inline std::string Art(const TbsBitmap& B, const std::map<char, TbsColor>& Pal)
{
    std::string s;
    for (int y = 0; y < B.Height(); ++y) {
        for (int x = 0; x < B.Width(); ++x) {
            char c = '?';
            for (auto& [k, v] : Pal)
                if (v == B.Pixel(x, y)) c = k;
            s += c;
        }
        s += '\n';
    }
    return s;
}

// One row of source columns (the red channel of a position bitmap), '-' for untouched pixels.
inline std::vector<int> Columns(const TbsBitmap& B, int Y)
{
    std::vector<int> v;
    for (int x = 0; x < B.Width(); ++x)
        v.push_back(B.Pixel(x, Y) >> 24 ? static_cast<int>((B.Pixel(x, Y) >> 16) & 0xFF) : -1);
    return v;
}

// A framework bitmap of the pixel format, filled by a function of 0xAARRGGBB values.
inline std::unique_ptr<TBitmap> FrameworkBitmap(int W, int H, TPixelFormat Format,
                                                const std::function<uint32_t(int, int)>& F)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(Format);
    b->SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->SetPixelArgb(x, y, F(x, y));
    return b;
}

// A framework bitmap filled white, ready for text: a clear brush and a black font.
inline std::unique_ptr<TBitmap> WhiteBitmap(int W, int H, TPixelFormat Format = pf24bit)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(Format);
    b->SetSize(W, H);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, W, H));
    b->Canvas()->Brush()->SetStyle(bsClear);
    b->Canvas()->Font()->SetColor(clBlack);
    return b;
}

// The bounding box of the pixels whose RGB satisfies Is; (W, H, -1, -1) when there are none.
template <class F>
TRect Where(TBitmap& B, F Is)
{
    TRect r = Rect(B.Width(), B.Height(), -1, -1);
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x)
            if (Is(B.PixelArgb(x, y) & 0xFFFFFF))
                r = Rect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1));
    return r;
}

inline TRect Ink(TBitmap& B)
{
    return Where(B, [](uint32_t C) { return C != 0xFFFFFF; });
}

}  // namespace skintest
