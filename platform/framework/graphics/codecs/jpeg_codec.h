// The JPEG codec over libjpeg (API 62). Used by the picture class for .jpg/.jpeg files and by
// the snapshot command that saves the player's frame as JPEG.
//
// Reads baseline and progressive files in grey, YCbCr/RGB and CMYK/YCCK (Adobe's inverted
// CMYK included) into opaque BGRA. Data that ends before the image is complete is an error
// (for a progressive file: before its end marker); a single-scan file whose image is complete
// but lacks its end marker loads.
// Writes 8-bit YCbCr (or grey) at a quality of 1..100; alpha is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/graphics/codecs/raster_image.h"

// Raises EInvalidGraphic ("JPEG error #<code> (<library text>)", or "JPEG image is not valid
// (...)") for anything it cannot read.
TRasterImage LoadJpeg(const uint8_t* data, size_t size);
inline TRasterImage LoadJpeg(const std::vector<uint8_t>& bytes) { return LoadJpeg(bytes.data(), bytes.size()); }

struct TJpegSaveOptions {
    int Quality = 90;  // 1..100; values outside are clamped
    bool Grayscale = false;
    bool Progressive = false;
};

// Raises EInvalidGraphic for an empty picture.
std::vector<uint8_t> SaveJpeg(const TRasterImage& image, const TJpegSaveOptions& options = {});
