#include "tools/skin_builder/skin_picture.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/framework/graphics/bitmap.h"

namespace {

constexpr int kGap = 2;  // key pixels between the pieces of an atlas

uint8_t Blend(int Premultiplied, double Uncovered, uint8_t Under)
{
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(Premultiplied + Uncovered * Under)), 0, 255));
}

}  // namespace

SkinPicture::SkinPicture(int Width, int Height) : FWidth(Width), FHeight(0), FAtlas(Height == 0), FSkyline(Width, 0)
{
    Grow(Height);
}

void SkinPicture::Grow(int Height)
{
    if (Height <= FHeight) return;
    FPixels.resize(static_cast<size_t>(FWidth) * Height, kKey);
    FHeight = Height;
}

void SkinPicture::Draw(const TRect& R, Backdrop B, const Painter& Paint)
{
    const int w = R.Width(), h = R.Height();
    if (w <= 0 || h <= 0 || R.Left < 0 || R.Top < 0 || R.Right > FWidth || (!FAtlas && R.Bottom > FHeight))
        throw std::logic_error("piece outside its picture");
    Grow(R.Bottom);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    Paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const int a = static_cast<int>(p >> 24);
            Rgb& out = FPixels[static_cast<size_t>(R.Top + y) * FWidth + R.Left + x];
            if (B.Keyed && a <= std::lround(B.Cut * 255)) {
                out = kKey;
                continue;
            }
            const double uncovered = 1.0 - a / 255.0;
            out = Rgb{Blend(static_cast<int>((p >> 16) & 0xFF), uncovered, B.SitsOn.R),
                      Blend(static_cast<int>((p >> 8) & 0xFF), uncovered, B.SitsOn.G),
                      Blend(static_cast<int>(p & 0xFF), uncovered, B.SitsOn.B)};
        }
    }
    cairo_surface_destroy(s);
}

TRect SkinPicture::Add(int W, int H, Backdrop B, const Painter& Paint)
{
    if (!FAtlas || W > FWidth) throw std::logic_error("piece does not fit its atlas");
    int bestX = 0, bestY = -1;
    for (int x = 0; x + W <= FWidth; ++x) {
        const int y = *std::max_element(FSkyline.begin() + x, FSkyline.begin() + x + W);
        if (bestY < 0 || y < bestY) bestX = x, bestY = y;
    }
    const TRect r = Bounds(bestX, bestY, W, H);
    Draw(r, B, Paint);
    const int end = std::min(FWidth, bestX + W + kGap);
    std::fill(FSkyline.begin() + bestX, FSkyline.begin() + end, bestY + H + kGap);
    return r;
}

TBitmap* SkinPicture::ToBitmap() const
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf24bit);
    b->SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y) {
        auto* row = static_cast<uint8_t*>(b->ScanLine(y));
        for (int x = 0; x < FWidth; ++x) {
            const Rgb c = Pixel(x, y);
            row[x * 3] = c.B;
            row[x * 3 + 1] = c.G;
            row[x * 3 + 2] = c.R;
        }
    }
    return b;
}

TBitmap* SkinPicture::ToMask() const
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf1bit);
    b->SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) b->SetPixelArgb(x, y, Pixel(x, y) == kKey ? 0xFFFFFFFFu : 0xFF000000u);
    return b;
}
