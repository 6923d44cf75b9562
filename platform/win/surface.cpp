// Pixel memory of bitmaps and windows. See surface.h.
#include "platform/win/surface.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace vxwin {

bool Surface::AllocateWithRoom(int w, int h, int cw, int ch)
{
    if (!Allocate(std::max(w, cw), std::max(h, ch), 32, true)) return Allocate(w, h, 32, true);
    width = w;
    height = h;
    return true;
}

bool Surface::Reshape(int w, int h)
{
    if (bpp != 32 || !topDown || w <= 0 || h <= 0 || w > capWidth || h > capHeight) return false;
    width = w;
    height = h;
    return true;
}

bool Surface::Allocate(int w, int h, int bitsPerPixel, bool rowsTopDown)
{
    if (w <= 0 || h <= 0) return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return false;
    if (w > (1 << 16) * 4 || h > (1 << 16) * 4) return false;
    long long s = StrideFor(w, bitsPerPixel);
    long long total = s * h;
    if (total > (1LL << 31)) return false;
    void* mem = std::calloc(static_cast<size_t>(total), 1);
    if (!mem) return false;
    std::free(owned_);
    owned_ = mem;
    bits = static_cast<std::uint8_t*>(mem);
    width = capWidth = w;
    height = capHeight = h;
    bpp = bitsPerPixel;
    stride = static_cast<int>(s);
    topDown = rowsTopDown;
    if (bpp <= 8 && palette.empty()) {
        if (bpp == 1)
            palette = {0x000000, 0xFFFFFF};
        else {
            palette.resize(size_t(1) << bpp);
            for (size_t i = 0; i < palette.size(); ++i) {
                std::uint32_t g = static_cast<std::uint32_t>(i * 255 / (palette.size() - 1));
                palette[i] = (g << 16) | (g << 8) | g;
            }
        }
    }
    return true;
}

std::uint32_t Surface::GetPixel(int x, int y) const
{
    const std::uint8_t* row = Row(y);
    switch (bpp) {
    case 32: return reinterpret_cast<const std::uint32_t*>(row)[x];
    case 24: return row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
    case 16: {
        std::uint16_t v = reinterpret_cast<const std::uint16_t*>(row)[x];
        std::uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
    }
    case 8: {
        unsigned i = row[x];
        return i < palette.size() ? palette[i] : 0;
    }
    case 4: {
        unsigned i = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
        return i < palette.size() ? palette[i] : 0;
    }
    case 1: {
        unsigned i = (row[x / 8] >> (7 - (x & 7))) & 1;
        return i < palette.size() ? palette[i] : 0;
    }
    }
    return 0;
}

int Surface::NearestIndex(std::uint32_t rgb) const
{
    int best = 0;
    long bestD = LONG_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        long dr = long((palette[i] >> 16) & 255) - long((rgb >> 16) & 255);
        long dg = long((palette[i] >> 8) & 255) - long((rgb >> 8) & 255);
        long db = long(palette[i] & 255) - long(rgb & 255);
        long d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void Surface::SetPixel(int x, int y, std::uint32_t argb)
{
    std::uint8_t* row = Row(y);
    switch (bpp) {
    case 32: reinterpret_cast<std::uint32_t*>(row)[x] = argb; break;
    case 24:
        row[x * 3] = argb & 0xFF;
        row[x * 3 + 1] = (argb >> 8) & 0xFF;
        row[x * 3 + 2] = (argb >> 16) & 0xFF;
        break;
    case 16:
        reinterpret_cast<std::uint16_t*>(row)[x] =
            static_cast<std::uint16_t>((((argb >> 19) & 31) << 10) | (((argb >> 11) & 31) << 5) | ((argb >> 3) & 31));
        break;
    case 8: row[x] = static_cast<std::uint8_t>(NearestIndex(argb & 0xFFFFFF)); break;
    case 4: {
        int i = NearestIndex(argb & 0xFFFFFF);
        std::uint8_t& b = row[x / 2];
        b = (x & 1) ? ((b & 0xF0) | i) : ((b & 0x0F) | (i << 4));
        break;
    }
    case 1: {
        int i = NearestIndex(argb & 0xFFFFFF);
        std::uint8_t m = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (i)
            row[x / 8] |= m;
        else
            row[x / 8] &= static_cast<std::uint8_t>(~m);
        break;
    }
    }
}

}  // namespace vxwin
