// Shared pieces of the picture codec tests: a little-endian byte builder for hand-made files,
// test pictures, and a pixel comparison that names the first difference.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/framework/graphics/codecs/raster_image.h"

struct ByteBuilder {
    std::vector<uint8_t> v;
    ByteBuilder& u8(unsigned x)
    {
        v.push_back(static_cast<uint8_t>(x));
        return *this;
    }
    ByteBuilder& u16(unsigned x) { return u8(x & 255).u8((x >> 8) & 255); }
    ByteBuilder& u32(uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
    ByteBuilder& be16(unsigned x) { return u8((x >> 8) & 255).u8(x & 255); }
    ByteBuilder& be32(uint32_t x) { return be16(x >> 16).be16(x & 0xFFFF); }
    ByteBuilder& bytes(std::initializer_list<unsigned> xs)
    {
        for (unsigned x : xs) u8(x);
        return *this;
    }
    ByteBuilder& raw(const std::vector<uint8_t>& xs)
    {
        v.insert(v.end(), xs.begin(), xs.end());
        return *this;
    }
    ByteBuilder& str(const char* s)
    {
        while (*s) u8(static_cast<uint8_t>(*s++));
        return *this;
    }
};

// A picture with many distinct colours; with alpha, alpha runs over every value.
inline TRasterImage MakeTestImage(int w, int h, bool alpha)
{
    TRasterImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t r = (x * 255) / std::max(1, w - 1), g = (y * 255) / std::max(1, h - 1),
                           b = ((x + y) * 37) & 255, a = alpha ? ((x * 7 + y * 13) & 255) : 255;
            img.SetPixel(x, y, (a << 24) | (r << 16) | (g << 8) | b);
        }
    img.SetHasAlpha(alpha);
    return img;
}

// A picture built from a small set of colours (at most `colors`).
inline TRasterImage MakePaletteImage(int w, int h, int colors)
{
    TRasterImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t i = static_cast<uint32_t>((x * 3 + y * 5) % colors);
            img.SetPixel(x, y, 0xFF000000u | ((i * 53) & 255) << 16 | ((i * 101) & 255) << 8 | ((i * 197 + 7) & 255));
        }
    return img;
}

inline std::string Hex(uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

inline ::testing::AssertionResult SamePixels(const TRasterImage& a, const TRasterImage& b, int tolerance = 0)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure()
               << "size " << a.Width() << "x" << a.Height() << " vs " << b.Width() << "x" << b.Height();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
            for (int c = 0; c < 32; c += 8) {
                const int d = static_cast<int>((p >> c) & 255) - static_cast<int>((q >> c) & 255);
                if (d > tolerance || -d > tolerance)
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << "," << y << "): " << Hex(p) << " vs " << Hex(q);
            }
        }
    return ::testing::AssertionSuccess();
}

inline TRasterImage ImageFromPixels(int w, int h, const std::vector<uint32_t>& argb)
{
    TRasterImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.SetPixel(x, y, argb[static_cast<size_t>(y * w + x)]);
    return img;
}

// Restores the pixel limit a test lowered.
struct PixelLimitGuard {
    uint64_t old;
    explicit PixelLimitGuard(uint64_t limit) : old(SetImagePixelLimit(limit)) {}
    ~PixelLimitGuard() { SetImagePixelLimit(old); }
};
