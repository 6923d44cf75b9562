// TPngImage over the PNG codec: colours in a raster image, alpha in a plane of its own.
#include "platform/framework/graphics/png_image.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/png_codec.h"

namespace {
int Channels(int colorType)
{
    switch (colorType) {
    case COLOR_RGB: return 3;
    case COLOR_GRAYSCALEALPHA: return 2;
    case COLOR_RGBALPHA: return 4;
    default: return 1;
    }
}
uint32_t Rgb(TColor c) { return static_cast<uint32_t>(RGB(GetBValue(c), GetGValue(c), GetRValue(c))); }
}  // namespace

void TPngImage::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPngImage*>(Source)) {
        if (p == this) return;
        FImage = p->FImage;
        FAlpha = p->FAlpha;
        FColorType = p->FColorType;
        FBitDepth = p->FBitDepth;
        FHasTransColor = p->FHasTransColor;
        FTransColor = p->FTransColor;
        FCompression = p->FCompression;
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        TRasterImage image = b->ToRasterImage();
        image.MakeOpaque();
        FImage = std::move(image);
        FAlpha.clear();
        FColorType = COLOR_RGB;
        FBitDepth = 8;
        FHasTransColor = b->Transparent() && !b->Empty();
        FTransColor = FHasTransColor ? ColorToRGB(b->TransparentColor()) : 0;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        TRasterImage image = g->ToRasterImage();
        FAlpha.clear();
        if (image.HasAlpha()) {
            FAlpha.resize(static_cast<size_t>(image.Width()) * image.Height());
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x)
                    FAlpha[static_cast<size_t>(y) * image.Width() + x] = image.ScanLine(y)[4 * x + 3];
        }
        FColorType = image.HasAlpha() ? COLOR_RGBALPHA : COLOR_RGB;
        image.MakeOpaque();
        FImage = std::move(image);
        FBitDepth = 8;
        FHasTransColor = false;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

TRasterImage TPngImage::ToRasterImage() const
{
    TRasterImage image = FImage;
    if (image.Empty()) return image;
    if (HasAlphaPlane()) {
        for (int y = 0; y < image.Height(); ++y) {
            uint8_t* row = image.ScanLine(y);
            const uint8_t* a = AlphaScanline(y) ? AlphaScanline(y) : FAlpha.data() + static_cast<size_t>(y) * Width();
            for (int x = 0; x < image.Width(); ++x) row[4 * x + 3] = a[x];
        }
        image.SetHasAlpha(true);
    } else if (FHasTransColor) {
        uint32_t key = Rgb(FTransColor);
        for (int y = 0; y < image.Height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.ScanLine(y));
            for (int x = 0; x < image.Width(); ++x)
                row[x] = (row[x] & 0xFFFFFF) == key ? (row[x] & 0xFFFFFF) : (row[x] | 0xFF000000u);
        }
        image.SetHasAlpha(true);
    } else {
        image.MakeOpaque();
    }
    return image;
}

void TPngImage::Resize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height()) return;
    TRasterImage image(AWidth, AHeight);
    std::vector<uint8_t> alpha(HasAlphaPlane() ? static_cast<size_t>(AWidth) * AHeight : 0);
    int rows = std::min(AHeight, Height()), cols = std::min(AWidth, Width());
    for (int y = 0; y < rows; ++y) {
        std::memcpy(image.ScanLine(y), FImage.ScanLine(y), static_cast<size_t>(cols) * 4);
        if (!alpha.empty())
            std::memcpy(alpha.data() + static_cast<size_t>(y) * AWidth,
                        FAlpha.data() + static_cast<size_t>(y) * Width(), cols);
    }
    FImage = std::move(image);
    FAlpha = std::move(alpha);
    Changed();
}

void TPngImage::CreateBlank(int ColorType, int BitDepth, int AWidth, int AHeight)
{
    if (ColorType != COLOR_GRAYSCALE && ColorType != COLOR_RGB && ColorType != COLOR_PALETTE &&
        ColorType != COLOR_GRAYSCALEALPHA && ColorType != COLOR_RGBALPHA)
        throw EInvalidGraphic(L"Invalid PNG colour type");
    if (BitDepth != 1 && BitDepth != 2 && BitDepth != 4 && BitDepth != 8 && BitDepth != 16)
        throw EInvalidGraphic(L"Invalid PNG bit depth");
    CheckImageSize(AWidth, AHeight, "PNG image");
    FImage = TRasterImage(AWidth, AHeight);
    FColorType = ColorType;
    FBitDepth = BitDepth;
    FAlpha.assign(
        ColorType == COLOR_GRAYSCALEALPHA || ColorType == COLOR_RGBALPHA ? static_cast<size_t>(AWidth) * AHeight : 0,
        0);
    FHasTransColor = false;
    Changed();
}

TPngHeader TPngImage::Header() const { return TPngHeader{Width(), Height(), FBitDepth, FColorType}; }

TPNGTransparencyMode TPngImage::TransparencyMode() const
{
    if (HasAlphaPlane()) return ptmPartial;
    return FHasTransColor ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const { return FHasTransColor ? FTransColor : clNone; }

void TPngImage::SetTransparentColor(TColor Value)
{
    if (HasAlphaPlane()) return;
    FHasTransColor = Value != clNone;
    FTransColor = FHasTransColor ? ColorToRGB(Value) : 0;
    Changed();
}

void TPngImage::RemoveTransparency()
{
    FHasTransColor = false;
    if (HasAlphaPlane()) {
        FAlpha.clear();
        if (FColorType == COLOR_RGBALPHA) FColorType = COLOR_RGB;
        if (FColorType == COLOR_GRAYSCALEALPHA) FColorType = COLOR_GRAYSCALE;
    }
    Changed();
}

void TPngImage::CreateAlpha()
{
    if (FColorType == COLOR_GRAYSCALEALPHA || FColorType == COLOR_RGBALPHA) return;
    std::vector<uint8_t> alpha(static_cast<size_t>(Width()) * Height(), 255);
    if (HasAlphaPlane()) {
        alpha = FAlpha;  // a palette picture with partial transparency keeps its alphas
    } else if (FHasTransColor) {
        uint32_t key = Rgb(FTransColor);
        for (int y = 0; y < Height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(FImage.ScanLine(y));
            for (int x = 0; x < Width(); ++x)
                if ((row[x] & 0xFFFFFF) == key) alpha[static_cast<size_t>(y) * Width() + x] = 0;
        }
    }
    FAlpha = std::move(alpha);
    FColorType = FColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
    if (FBitDepth < 8) FBitDepth = 8;
    FHasTransColor = false;
    Changed();
}

uint8_t* TPngImage::AlphaScanline(int Y)
{
    return const_cast<uint8_t*>(static_cast<const TPngImage*>(this)->AlphaScanline(Y));
}

const uint8_t* TPngImage::AlphaScanline(int Y) const
{
    if (FColorType != COLOR_GRAYSCALEALPHA && FColorType != COLOR_RGBALPHA) return nullptr;
    if (!HasAlphaPlane() || Y < 0 || Y >= Height()) return nullptr;
    return FAlpha.data() + static_cast<size_t>(Y) * Width();
}

TColor TPngImage::Pixels(int X, int Y) const
{
    uint32_t p = FImage.Pixel(X, Y);
    return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
}

void TPngImage::SetPixels(int X, int Y, TColor Value)
{
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return;
    TColor c = ColorToRGB(Value);
    FImage.SetPixel(X, Y, 0xFF000000u | Rgb(c));
}

void TPngImage::SetCompressionLevel(int Value) { FCompression = std::clamp(Value, 0, 9); }

void TPngImage::LoadFromStream(TStream& Stream)
{
    std::vector<uint8_t> bytes = ReadRestOfStream(Stream);
    TRasterImage image = LoadPng(bytes);
    int ct = image.PngColorType();
    std::vector<uint8_t> alpha;
    bool transColor = false;
    TColor trans = 0;
    if (image.HasAlpha()) {
        if ((ct == COLOR_GRAYSCALE || ct == COLOR_RGB || ct == COLOR_PALETTE) && image.HasTransparentColor()) {
            transColor = true;
            uint32_t t = image.TransparentColor();
            trans = static_cast<TColor>(RGB((t >> 16) & 0xFF, (t >> 8) & 0xFF, t & 0xFF));
        } else {
            alpha.resize(static_cast<size_t>(image.Width()) * image.Height());
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x)
                    alpha[static_cast<size_t>(y) * image.Width() + x] = image.ScanLine(y)[4 * x + 3];
        }
    }
    FBitDepth = std::max(1, image.BitDepth() / Channels(ct));
    FColorType = ct;
    FAlpha = std::move(alpha);
    FHasTransColor = transColor;
    FTransColor = trans;
    image.MakeOpaque();
    FImage = std::move(image);
    Changed();
}

void TPngImage::SaveToStream(TStream& Stream)
{
    if (Empty()) throw EInvalidGraphic(L"Cannot save an empty PNG image");
    std::vector<uint8_t> bytes = SavePng(ToRasterImage(), FCompression);
    Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    TRasterImage image = ToRasterImage();
    DrawRasterImage(ACanvas, Rect, image, image.HasAlpha());
}
