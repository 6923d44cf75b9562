// Palettes for writing indexed pictures: the exact palette of a picture with few colours, a
// reduced one (median cut) for pictures with more, and the mapping of colours to indices.
// Used by the BMP writer (1 and 8 bits) and the GIF writer.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/framework/graphics/codecs/raster_image.h"

// The distinct RGB colours of the picture in order of first appearance (alpha ignored), or
// false when there are more than maxColors. skipTransparent leaves out pixels with alpha < 128.
bool ExactPalette(const TRasterImage& image, size_t maxColors, std::vector<TPaletteEntry>& palette,
                  bool skipTransparent = false);

// True when every pixel's colour is an entry of the palette other than skipIndex;
// skipTransparent leaves out pixels with alpha < 128.
bool PaletteHolds(const TRasterImage& image, const std::vector<TPaletteEntry>& palette, int skipIndex = -1,
                  bool skipTransparent = false);

// At most maxColors colours chosen by median cut over the picture's RGB colours.
std::vector<TPaletteEntry> ReducedPalette(const TRasterImage& image, size_t maxColors, bool skipTransparent = false);

// Maps 0x..RRGGBB colours to palette indices: an exact match (the first entry with that
// colour) when there is one, else the nearest entry by squared RGB distance. An excluded
// index (a transparent slot) is never chosen.
class TPaletteMapper {
public:
    explicit TPaletteMapper(const std::vector<TPaletteEntry>& palette, int excludeIndex = -1);
    uint8_t IndexOf(uint32_t rgb);

private:
    std::vector<TPaletteEntry> FPalette;
    int FExclude;
    std::unordered_map<uint32_t, uint8_t> FCache;
};
