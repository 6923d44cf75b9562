// The PNG codec over libpng. Used by the picture class and the PNG picture class (image
// lists with alpha icons).
//
// Reads every colour type (grey 0, true colour 2, palette 3, grey with alpha 4, true colour
// with alpha 6) at every bit depth, tRNS transparency and interlaced files, into 8-bit BGRA;
// 16-bit samples are rounded to 8 bits. The picture keeps the colour type, the palette of a
// palette file and a tRNS transparent colour.
// Writes 8-bit true colour, with an alpha channel when the picture has alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/graphics/codecs/raster_image.h"

// Raises EInvalidGraphic ("PNG image is not valid ...") for anything it cannot read.
TRasterImage LoadPng(const uint8_t* data, size_t size);
inline TRasterImage LoadPng(const std::vector<uint8_t>& bytes) { return LoadPng(bytes.data(), bytes.size()); }

// compressionLevel 0..9 (zlib's). Raises EInvalidGraphic for an empty picture.
std::vector<uint8_t> SavePng(const TRasterImage& image, int compressionLevel = 6);
