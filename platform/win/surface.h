// Surface: the pixel memory behind a bitmap or a top-level window (1, 8, 24 or 32 bits, top-down or
// bottom-up as a DIB). 32-bit pixels are BGRA in memory (0xAARRGGBB as a value). Internal to
// platform/win: bitmaps (gdi_objects.cpp), device contexts, blits and the back ends use it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vxwin {

struct Surface {
    int width = 0;
    int height = 0;
    int bpp = 32;
    int stride = 0;
    bool topDown = true;
    std::uint8_t* bits = nullptr;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB for 1- and 8-bit surfaces

    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface() { std::free(owned_); }

    static int StrideFor(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }
    // Allocates zeroed pixel memory; false when the size is impossible or memory is short.
    bool Allocate(int w, int h, int bitsPerPixel, bool rowsTopDown);
    // Window surfaces (32-bit, top-down): memory for up to capWidth x capHeight, so a window that
    // grows a little keeps its memory and its pixels where they are. Reshape takes the new size
    // when it fits (false: allocate anew).
    bool AllocateWithRoom(int w, int h, int capWidth, int capHeight);
    bool Reshape(int w, int h);
    int capWidth = 0;
    int capHeight = 0;

    std::uint8_t* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(topDown ? y : height - 1 - y) * stride; }
    std::uint32_t* Row32(int y) const { return reinterpret_cast<std::uint32_t*>(Row(y)); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Any depth, as 0xAARRGGBB (palette entries and 24-bit pixels read with alpha 0).
    std::uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t argb);
    // Nearest palette index for an RGB value (1- and 8-bit surfaces).
    int NearestIndex(std::uint32_t rgb) const;

private:
    void* owned_ = nullptr;
};

inline std::uint32_t ColorRefToArgb(std::uint32_t colorref, std::uint32_t alpha = 0)
{
    return (alpha << 24) | ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
inline std::uint32_t ArgbToColorRef(std::uint32_t argb)
{
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

}  // namespace vxwin
