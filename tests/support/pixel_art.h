// Pixel assertions as ASCII pictures: each row of pixels one line, each pixel one character.
// The basic legend is '.' white, '#' black, 'R' red, 'G' green (lime), 'B' blue, 'Y' yellow; a test
// puts its own letters (or another background for '.') in front of it. A colour no entry names
// prints as '?'. Alpha is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PixelLegendEntry {
    char symbol;
    std::uint32_t rgb;  // 0xRRGGBB
};
using PixelLegend = std::vector<PixelLegendEntry>;

// A COLORREF or plain TColor (0x00BBGGRR) as 0xRRGGBB; system colours need resolving first.
inline std::uint32_t Rgb(std::uint32_t colorref)
{
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

inline char PixelSymbol(std::uint32_t argb, const PixelLegend& extra = {})
{
    static const PixelLegend basic = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'R', 0xFF0000},
                                      {'G', 0x00FF00}, {'B', 0x0000FF}, {'Y', 0xFFFF00}};
    const std::uint32_t rgb = argb & 0xFFFFFF;
    for (const auto& e : extra)
        if (e.rgb == rgb) return e.symbol;
    for (const auto& e : basic)
        if (e.rgb == rgb) return e.symbol;
    return '?';
}

// width x height pixels, argbAt(x, y) giving each.
template <class ArgbAt>
std::string PixelArt(int width, int height, ArgbAt argbAt, const PixelLegend& extra = {})
{
    std::string s;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) s += PixelSymbol(argbAt(x, y), extra);
        s += '\n';
    }
    return s;
}

// Any picture with Width(), Height() and PixelArgb(x, y): a TBitmap, a painted control's bitmap.
template <class Picture>
std::string PixelArt(const Picture& picture, const PixelLegend& extra = {})
{
    return PixelArt(
        picture.Width(), picture.Height(), [&](int x, int y) { return picture.PixelArgb(x, y); }, extra);
}
