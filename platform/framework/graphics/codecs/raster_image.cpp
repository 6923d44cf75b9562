#include "platform/framework/graphics/codecs/raster_image.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/framework/core/strings.h"

namespace {
std::atomic<uint64_t> GPixelLimit{uint64_t(1) << 27};
}

uint64_t ImagePixelLimit() { return GPixelLimit.load(); }

uint64_t SetImagePixelLimit(uint64_t pixels) { return GPixelLimit.exchange(pixels); }

void CheckImageSize(int64_t width, int64_t height, const char* what)
{
    if (width <= 0 || height <= 0)
        throw EInvalidGraphic(Utf8ToString(what) + L" is not valid (size " + std::to_wstring(width) + L" x " +
                              std::to_wstring(height) + L")");
    if (width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > ImagePixelLimit())
        throw EInvalidGraphic(Utf8ToString(what) + L" is too large (" + std::to_wstring(width) + L" x " +
                              std::to_wstring(height) + L")");
}

void TRasterImage::SetSize(int width, int height)
{
    if (width < 0 || height < 0) throw EInvalidGraphic(L"Invalid picture size");
    if (width == 0 || height == 0) {
        FWidth = FHeight = 0;
        FPixels.clear();
        return;
    }
    CheckImageSize(width, height, "Picture");
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    std::vector<uint8_t> pixels(bytes);
    auto* p = reinterpret_cast<uint32_t*>(pixels.data());
    std::fill(p, p + bytes / 4, 0xFF000000u);
    FPixels = std::move(pixels);
    FWidth = width;
    FHeight = height;
}

void TRasterImage::Clear() { *this = TRasterImage(); }

uint32_t TRasterImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
    uint32_t v;
    std::memcpy(&v, ScanLine(y) + static_cast<size_t>(x) * 4, 4);
    return v;
}

void TRasterImage::SetPixel(int x, int y, uint32_t argb)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    std::memcpy(ScanLine(y) + static_cast<size_t>(x) * 4, &argb, 4);
}

void TRasterImage::Fill(uint32_t argb)
{
    auto* p = reinterpret_cast<uint32_t*>(FPixels.data());
    std::fill(p, p + FPixels.size() / 4, argb);
}

bool TRasterImage::HasPartialAlpha() const
{
    for (size_t i = 3; i < FPixels.size(); i += 4)
        if (FPixels[i] != 0 && FPixels[i] != 255) return true;
    return false;
}

void TRasterImage::MakeOpaque()
{
    for (size_t i = 3; i < FPixels.size(); i += 4) FPixels[i] = 255;
    FHasAlpha = false;
}

void TRasterImage::ClearSourceInfo()
{
    FSourceFormat = TImageFormat::Unknown;
    FBitDepth = 0;
    FPalette.clear();
    FPngColorType = -1;
    ClearTransparentColor();
    FTransparentIndex = -1;
}

bool TRasterImage::SamePixels(const TRasterImage& other) const
{
    return FWidth == other.FWidth && FHeight == other.FHeight && FHasAlpha == other.FHasAlpha &&
           FPixels == other.FPixels;
}
