// One door to the picture codecs: recognises a picture's format by its first bytes and loads
// or saves it with the right codec, from bytes, streams or files. Used by the picture class
// (which picks a graphic class) and by code that just needs the pixels of a picture file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/core/streams.h"
#include "platform/framework/core/types.h"
#include "platform/framework/graphics/codecs/bmp_codec.h"
#include "platform/framework/graphics/codecs/gif_codec.h"
#include "platform/framework/graphics/codecs/jpeg_codec.h"
#include "platform/framework/graphics/codecs/png_codec.h"
#include "platform/framework/graphics/codecs/raster_image.h"

// By signature: "BM", the PNG signature, FF D8 FF, "GIF87a"/"GIF89a"; else Unknown.
TImageFormat DetectImageFormat(const uint8_t* data, size_t size);
// By extension, case-insensitive: .bmp/.dib, .png, .jpg/.jpeg/.jpe/.jfif, .gif; else Unknown.
TImageFormat ImageFormatFromFileName(const String& fileName);

// Loads by signature. Raises EInvalidGraphic for an empty input ("Picture is empty") or an
// unknown format ("Unknown picture format"), and whatever the codec raises.
TRasterImage LoadImage(const uint8_t* data, size_t size);
inline TRasterImage LoadImage(const std::vector<uint8_t>& bytes) { return LoadImage(bytes.data(), bytes.size()); }
// Reads the stream from its position to its end.
TRasterImage LoadImageFromStream(TStream& stream);
// EFOpenError when the file cannot be opened.
TRasterImage LoadImageFromFile(const String& fileName);

// Saves in the given format with each codec's defaults (BMP at DefaultBmpBitDepth, JPEG at
// quality 90). Raises EInvalidGraphic for TImageFormat::Unknown.
std::vector<uint8_t> SaveImage(const TRasterImage& image, TImageFormat format);
void SaveImageToStream(const TRasterImage& image, TImageFormat format, TStream& stream);
// The format comes from the file name's extension; EFCreateError when it cannot be created.
void SaveImageToFile(const TRasterImage& image, const String& fileName);
