// The BMP codec: reads and writes Windows bitmap files (14-byte file header, info header,
// colour table, pixels). Used by the bitmap class and the picture class for .bmp files.
//
// Reads: the 12-byte core header, BITMAPINFOHEADER and its V2..V5 extensions; 1, 4, 8, 16,
// 24 and 32 bits; bottom-up and top-down rows; RLE8 and RLE4; BI_BITFIELDS (and the
// alpha-bitfields variant) for 16 and 32 bits. A 32-bit BI_RGB file whose fourth bytes are
// all zero is opaque; otherwise those bytes are its alpha.
// Writes: 1, 4, 8, 24 and 32 bits, bottom-up. Indexed files keep the picture's own palette
// when it fits and holds every colour, else get an exact palette, else a reduced one (1 bit:
// black and white). 32 bits with
// alpha are written with a V5 header and an alpha mask, without alpha as plain BI_RGB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/core/streams.h"
#include "platform/framework/graphics/codecs/raster_image.h"

// Raises EInvalidGraphic ("Bitmap image is not valid ...") for anything it cannot read.
// consumed (optional) receives the length of the file within data: its header's file size
// when that is plausible, else the end of its pixel data.
TRasterImage LoadBmp(const uint8_t* data, size_t size, size_t* consumed = nullptr);
inline TRasterImage LoadBmp(const std::vector<uint8_t>& bytes) { return LoadBmp(bytes.data(), bytes.size()); }
// Reads one bitmap file at the stream's position and leaves the stream just after it, so
// several bitmaps stored back to back (as in a stored skin) read one after another. On an
// error the position is left where it was.
TRasterImage LoadBmpFromStream(TStream& stream);

// bitsPerPixel 0 takes DefaultBmpBitDepth(image). Raises EInvalidGraphic for an empty picture
// or an unsupported depth.
std::vector<uint8_t> SaveBmp(const TRasterImage& image, int bitsPerPixel = 0);

// The depth a picture is saved at by default: 32 with alpha; else the depth it was read at
// (1, 4 or 8 for indexed and grey sources, 32 for 32-bit BMPs), else 24.
int DefaultBmpBitDepth(const TRasterImage& image);
