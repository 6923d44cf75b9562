// The GIF codec over giflib. Used by the picture class for .gif files and by the snapshot
// command that saves the player's frame as GIF.
//
// Reads the first frame (interlaced or not) with its transparent index onto a canvas of the
// logical screen's size; canvas outside the frame is transparent. The picture keeps the
// frame's palette and transparent index.
// Writes one frame: with the picture's own palette when every colour is in it, else an exact
// palette when it has at most 256 colours, else a reduced one (median cut, nearest colour).
// Pixels with alpha below 128 become a transparent index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/graphics/codecs/raster_image.h"

// Raises EInvalidGraphic ("GIF image is not valid (...)") for anything it cannot read.
TRasterImage LoadGif(const uint8_t* data, size_t size);
inline TRasterImage LoadGif(const std::vector<uint8_t>& bytes) { return LoadGif(bytes.data(), bytes.size()); }

// Raises EInvalidGraphic for an empty picture.
std::vector<uint8_t> SaveGif(const TRasterImage& image);
