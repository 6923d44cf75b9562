// TRasterImage: a picture in memory with no window behind it, as the picture codecs read and
// write it (bmp_codec, png_codec, jpeg_codec, gif_codec) and as the bitmap and picture classes
// hand it around. Pixels are 32-bit BGRA, top-down, rows packed without padding: the memory
// layout of a 32-bit DIB section. A pixel read as uint32_t is 0xAARRGGBB.
//
// Besides the pixels it keeps what the file said about itself, so a picture can be written
// back the way it came: the bit depth and palette of an indexed source, and the transparency
// the source declared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/framework/core/exceptions.h"

// Raised for every picture that cannot be read or written: corrupt, truncated, empty, too
// large, or in a variant no codec handles.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// One palette entry in the byte order of a DIB colour table.
struct TPaletteEntry {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;
    friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

enum class TImageFormat { Unknown, Bmp, Png, Jpeg, Gif };

class TRasterImage {
public:
    TRasterImage() = default;
    TRasterImage(int width, int height) { SetSize(width, height); }

    // Resizes to width x height, every pixel opaque black (0xFF000000). Zero sizes give an
    // empty image; negative sizes or more pixels than the limit raise EInvalidGraphic.
    void SetSize(int width, int height);
    void Clear();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    size_t Stride() const { return static_cast<size_t>(FWidth) * 4; }

    uint8_t* Bits() { return FPixels.data(); }
    const uint8_t* Bits() const { return FPixels.data(); }
    uint8_t* ScanLine(int y) { return FPixels.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* ScanLine(int y) const { return FPixels.data() + static_cast<size_t>(y) * Stride(); }

    // 0xAARRGGBB; coordinates outside the image read 0 and write nothing.
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t argb);
    void Fill(uint32_t argb);

    // Alpha is meaningful: the source had an alpha channel or transparency. When false every
    // alpha byte is 255.
    bool HasAlpha() const { return FHasAlpha; }
    void SetHasAlpha(bool value) { FHasAlpha = value; }
    // True when some alpha lies strictly between 0 and 255.
    bool HasPartialAlpha() const;
    // Sets every alpha byte to 255 and clears HasAlpha.
    void MakeOpaque();

    // What the source file was: its format, its bits per pixel (1, 4, 8, 16, 24, 32; 0 when
    // made in memory) and, for indexed sources, the palette as read.
    TImageFormat SourceFormat() const { return FSourceFormat; }
    void SetSourceFormat(TImageFormat value) { FSourceFormat = value; }
    int BitDepth() const { return FBitDepth; }
    void SetBitDepth(int value) { FBitDepth = value; }
    const std::vector<TPaletteEntry>& Palette() const { return FPalette; }
    void SetPalette(std::vector<TPaletteEntry> palette) { FPalette = std::move(palette); }

    // PNG sources: the colour type as stored (0, 2, 3, 4, 6; -1 for other sources).
    int PngColorType() const { return FPngColorType; }
    void SetPngColorType(int value) { FPngColorType = value; }
    // One colour stands for "transparent" (a PNG tRNS colour, or a palette whose entries are
    // only fully transparent or opaque; a GIF transparent index). 0x00RRGGBB.
    bool HasTransparentColor() const { return FHasTransparentColor; }
    uint32_t TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(uint32_t rgb)
    {
        FHasTransparentColor = true;
        FTransparentColor = rgb & 0xFFFFFF;
    }
    void ClearTransparentColor()
    {
        FHasTransparentColor = false;
        FTransparentColor = 0;
    }
    // GIF sources: the palette index that is transparent, -1 for none.
    int TransparentIndex() const { return FTransparentIndex; }
    void SetTransparentIndex(int value) { FTransparentIndex = value; }

    // Forgets what the source file was (after the pixels were changed beyond it).
    void ClearSourceInfo();

    // Pixels, size and alpha flag equal; the source description is not compared.
    bool SamePixels(const TRasterImage& other) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<uint8_t> FPixels;
    bool FHasAlpha = false;
    TImageFormat FSourceFormat = TImageFormat::Unknown;
    int FBitDepth = 0;
    std::vector<TPaletteEntry> FPalette;
    int FPngColorType = -1;
    bool FHasTransparentColor = false;
    uint32_t FTransparentColor = 0;
    int FTransparentIndex = -1;
};

// The largest picture the codecs accept, in pixels (default 128 Mi pixels = 512 MiB of BGRA),
// and on each side (65535). Decoders check declared sizes against it before allocating.
// Tests and fuzzers may lower it; returns the previous limit.
uint64_t ImagePixelLimit();
uint64_t SetImagePixelLimit(uint64_t pixels);
constexpr int kMaxImageSide = 65535;
// Raises EInvalidGraphic(what + " is too large") when width x height exceeds the limits, and
// EInvalidGraphic(what + " is not valid") for a zero or negative side.
void CheckImageSize(int64_t width, int64_t height, const char* what);
