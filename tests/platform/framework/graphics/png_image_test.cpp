// TPngImage: colour types and transparency as read, alpha rows, blank pictures, CreateAlpha,
// drawing with alpha, and conversions; TGIFImage and TIcon transparency.
#include <gtest/gtest.h>
#include <png.h>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/gif_image.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/png_image.h"
#include "platform/win/win_api.h"

namespace {

void OnWrite(png_structp png, png_bytep d, size_t n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), d, d + n);
}

// An 8-bit PNG of 2x1 pixels written by libpng: samples interleaved per pixel.
struct PngLayout {
    int colorType;
    std::vector<uint8_t> samples;
    std::vector<uint32_t> palette = {};  // 0xRRGGBB
    std::vector<uint8_t> trnsAlpha = {};
    std::vector<unsigned> trnsColor = {};
};

void WritePng(const PngLayout& s, TMemoryStream& m)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, OnWrite, nullptr);
    png_set_IHDR(png, info, 2, 1, 8, s.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (uint32_t c : s.palette) pal.push_back(png_color{png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
    if (!pal.empty()) png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
    png_color_16 trns{};
    if (s.trnsColor.size() == 1) trns.gray = png_uint_16(s.trnsColor[0]);
    if (s.trnsColor.size() == 3) {
        trns.red = png_uint_16(s.trnsColor[0]);
        trns.green = png_uint_16(s.trnsColor[1]);
        trns.blue = png_uint_16(s.trnsColor[2]);
    }
    if (!s.trnsAlpha.empty() || !s.trnsColor.empty())
        png_set_tRNS(png, info, s.trnsAlpha.empty() ? nullptr : const_cast<png_bytep>(s.trnsAlpha.data()),
                     static_cast<int>(s.trnsAlpha.size()), s.trnsColor.empty() ? nullptr : &trns);
    png_write_info(png, info);
    std::vector<uint8_t> row = s.samples;
    png_bytep rows[] = {row.data()};
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    m.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
    m.SetPosition(0);
}

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

uint32_t Rgb(const TBitmap& b, int x, int y) { return b.PixelArgb(x, y) & 0xFFFFFF; }

}  // namespace

TEST(PngImage, ColourTypesAndTransparencyAsRead)
{
    struct Case {
        const char* name;
        PngLayout layout;
        int colorType;
        TPNGTransparencyMode mode;
        bool alphaRows;
        TColor transparent;
        TColor pixel1;
    };
    const Case cases[] = {
        {"grey", {PNG_COLOR_TYPE_GRAY, {0x10, 0x80}}, COLOR_GRAYSCALE, ptmNone, false, clNone, 0x808080},
        {"grey tRNS",
         {PNG_COLOR_TYPE_GRAY, {0x10, 0x80}, {}, {}, {0x80}},
         COLOR_GRAYSCALE,
         ptmBit,
         false,
         0x808080,
         0x808080},
        {"rgb", {PNG_COLOR_TYPE_RGB, {1, 2, 3, 0xFF, 0, 0}}, COLOR_RGB, ptmNone, false, clNone, clRed},
        {"rgb tRNS",
         {PNG_COLOR_TYPE_RGB, {1, 2, 3, 0xFF, 0, 0}, {}, {}, {1, 2, 3}},
         COLOR_RGB,
         ptmBit,
         false,
         0x030201,
         clRed},
        {"palette bit",
         {PNG_COLOR_TYPE_PALETTE, {0, 1}, {0xFF0000, 0x00FF00}, {0}},
         COLOR_PALETTE,
         ptmBit,
         false,
         clRed,
         clLime},
        {"palette partial",
         {PNG_COLOR_TYPE_PALETTE, {0, 1}, {0xFF0000, 0x00FF00}, {128}},
         COLOR_PALETTE,
         ptmPartial,
         false,
         clNone,
         clLime},
        {"grey alpha",
         {PNG_COLOR_TYPE_GRAY_ALPHA, {0x10, 0x40, 0x80, 0xFF}},
         COLOR_GRAYSCALEALPHA,
         ptmPartial,
         true,
         clNone,
         0x808080},
        {"rgba",
         {PNG_COLOR_TYPE_RGB_ALPHA, {1, 2, 3, 0x40, 0xFF, 0, 0, 0xFF}},
         COLOR_RGBALPHA,
         ptmPartial,
         true,
         clNone,
         clRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPngImage png;
        TMemoryStream s;
        WritePng(c.layout, s);
        png.LoadFromStream(s);
        EXPECT_EQ(png.Width(), 2);
        EXPECT_EQ(png.Header().ColorType, c.colorType);
        EXPECT_EQ(png.Header().BitDepth, 8);
        EXPECT_EQ(png.TransparencyMode(), c.mode);
        EXPECT_EQ(png.AlphaScanline(0) != nullptr, c.alphaRows);
        EXPECT_EQ(png.TransparentColor(), c.transparent);
        EXPECT_EQ(png.Pixels(1, 0), c.pixel1);
        EXPECT_EQ(png.Transparent(), c.mode != ptmNone);
        if (c.alphaRows) {
            EXPECT_EQ(png.AlphaScanline(0)[0], 0x40);
        }
    }
}

TEST(PngImage, DrawsWithItsAlphaIntoAnyRectangle)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
    EXPECT_EQ(png.AlphaScanline(0)[0], 0);  // blank alpha pictures start transparent
    png.SetPixels(0, 0, clRed);
    png.SetPixels(1, 0, clBlue);
    png.AlphaScanline(0)[0] = 128;
    png.AlphaScanline(0)[1] = 0;

    auto b = WhiteBitmap(5, 2);
    png.Draw(b->Canvas(), Rect(0, 0, 4, 2));
    // Red at half alpha over white; the transparent pixel leaves white; outside untouched.
    EXPECT_EQ(Rgb(*b, 0, 0), 0xFF7F7Fu);
    EXPECT_EQ(Rgb(*b, 0, 1), 0xFF7F7Fu);
    EXPECT_EQ(Rgb(*b, 3, 1), 0xFFFFFFu);
    EXPECT_EQ(Rgb(*b, 4, 0), 0xFFFFFFu);

    // Saved and read back, the alphas stay.
    TMemoryStream s;
    png.SaveToStream(s);
    s.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(s);
    ASSERT_NE(back.AlphaScanline(0), nullptr);
    EXPECT_EQ(back.AlphaScanline(0)[0], 128);
    EXPECT_EQ(back.AlphaScanline(0)[1], 0);
    EXPECT_EQ(back.Pixels(0, 0), clRed);
}

TEST(PngImage, TransparentColourAndCreateAlpha)
{
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(3, 1);
    glyph.Canvas()->SetPixels(0, 0, clFuchsia);
    glyph.Canvas()->SetPixels(1, 0, clLime);
    glyph.Canvas()->SetPixels(2, 0, clFuchsia);
    glyph.SetTransparent(true);  // automatic colour: bottom-left fuchsia

    TPngImage png;
    png.Assign(&glyph);
    EXPECT_EQ(png.Header().ColorType, COLOR_RGB);
    EXPECT_EQ(png.TransparencyMode(), ptmBit);
    EXPECT_EQ(png.TransparentColor(), clFuchsia);
    auto b = WhiteBitmap(3, 1);
    b->Canvas()->Draw(0, 0, &png);
    EXPECT_EQ(Rgb(*b, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(*b, 1, 0), 0x00FF00u);

    png.CreateAlpha();
    EXPECT_EQ(png.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);
    ASSERT_NE(png.AlphaScanline(0), nullptr);
    EXPECT_EQ(png.AlphaScanline(0)[0], 0);
    EXPECT_EQ(png.AlphaScanline(0)[1], 255);
    EXPECT_EQ(png.AlphaScanline(0)[2], 0);

    // A blank true-colour picture is black and opaque; bad headers are refused.
    TPngImage blank;
    blank.CreateBlank(COLOR_RGB, 8, 4, 4);
    EXPECT_EQ(blank.TransparencyMode(), ptmNone);
    EXPECT_EQ(blank.Pixels(3, 3), clBlack);
    EXPECT_EQ(blank.AlphaScanline(0), nullptr);
    EXPECT_THROW(blank.CreateBlank(5, 8, 4, 4), EInvalidGraphic);
    EXPECT_THROW(blank.CreateBlank(COLOR_RGB, 3, 4, 4), EInvalidGraphic);
}

TEST(PngImage, ConvertsToABitmapWithItsAlpha)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 2, 2);
    png.SetPixels(1, 1, clBlue);
    png.AlphaScanline(1)[1] = 200;
    TBitmap b;
    b.Assign(&png);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.PixelArgb(1, 1), 0xC80000FFu);
    EXPECT_EQ(b.PixelArgb(0, 0) >> 24, 0u);
}

TEST(GifImage, KeepsItsTransparentIndexAndDrawsThrough)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
    png.SetPixels(0, 0, clRed);
    png.AlphaScanline(0)[0] = 255;
    TGIFImage gif;
    gif.Assign(&png);
    TMemoryStream s;
    gif.SaveToStream(s);
    s.SetPosition(0);
    TGIFImage back;
    back.LoadFromStream(s);
    EXPECT_TRUE(back.Transparent());
    auto b = WhiteBitmap(2, 1);
    b->Canvas()->Draw(0, 0, &back);
    EXPECT_EQ(Rgb(*b, 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(*b, 1, 0), 0xFFFFFFu);

    // A transparent bitmap gives its transparent colour as the transparent index.
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(2, 1);
    glyph.Canvas()->SetPixels(0, 0, clFuchsia);
    glyph.Canvas()->SetPixels(1, 0, clBlue);
    glyph.SetTransparent(true);
    TGIFImage fromBitmap;
    fromBitmap.Assign(&glyph);
    EXPECT_TRUE(fromBitmap.Transparent());
    auto c = WhiteBitmap(2, 1);
    c->Canvas()->Draw(0, 0, &fromBitmap);
    EXPECT_EQ(Rgb(*c, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(*c, 1, 0), 0x0000FFu);
}

TEST(Icon, HandlesFilesAndMasks)
{
    // A stock icon is read through its handle.
    TIcon stock;
    stock.SetHandle(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(32512)));
    EXPECT_EQ(stock.Width(), 32);
    EXPECT_EQ(stock.Height(), 32);

    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 3, 2);
    png.SetPixels(0, 0, clLime);
    png.AlphaScanline(0)[0] = 255;
    png.SetPixels(1, 1, clRed);
    png.AlphaScanline(1)[1] = 100;
    TIcon icon;
    icon.Assign(&png);
    TMemoryStream s;
    icon.SaveToStream(s);
    s.SetPosition(0);
    TIcon back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(back.ToRasterImage().Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(back.ToRasterImage().Pixel(1, 1), 0x64FF0000u);
    EXPECT_EQ(back.ToRasterImage().Pixel(2, 0) >> 24, 0u);

    // Its handle draws the same pixels as the icon itself.
    HICON h = back.Handle();
    ASSERT_NE(h, nullptr);
    auto viaHandle = WhiteBitmap(3, 2);
    DrawIconEx(viaHandle->Canvas()->Handle(), 0, 0, h, 0, 0, 0, nullptr, 3);
    auto direct = WhiteBitmap(3, 2);
    direct->Canvas()->Draw(0, 0, &back);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_NEAR(int(Rgb(*viaHandle, x, y) >> 8 & 255), int(Rgb(*direct, x, y) >> 8 & 255), 1);
    EXPECT_EQ(Rgb(*direct, 0, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(*direct, 2, 0), 0xFFFFFFu);

    // An old-style entry: 24-bit colours and an AND mask (1 = transparent), rows bottom-up.
    std::vector<uint8_t> ico = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 22, 0, 0, 0};
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) ico.push_back(uint8_t(v >> (8 * i)));
    };
    size_t start = ico.size();
    u32(40);
    u32(2);
    u32(4);  // height doubled: colours and mask
    ico.insert(ico.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) u32(0);
    ico.insert(ico.end(), {0, 0, 255, 0, 255, 0, 0, 0});    // bottom row: red, green
    ico.insert(ico.end(), {255, 0, 0, 9, 9, 9, 0, 0});      // top row: blue, grey
    ico.insert(ico.end(), {0x40, 0, 0, 0, 0x80, 0, 0, 0});  // bottom: green masked; top: blue masked
    uint32_t len = uint32_t(ico.size() - start);
    for (int i = 0; i < 4; ++i) ico[14 + i] = uint8_t(len >> (8 * i));
    TRasterImage img = LoadIco(ico.data(), ico.size());
    EXPECT_EQ(img.Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(img.Pixel(1, 0), 0xFF090909u);
    EXPECT_EQ(img.Pixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(img.Pixel(1, 1) >> 24, 0u);
    EXPECT_THROW(LoadIco(ico.data(), ico.size() - 20), EInvalidGraphic);
}

TEST(Icon, DamagedFilesRaiseAndNeverReadOutside)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 5, 3);
    TIcon icon;
    icon.Assign(&png);
    TMemoryStream s;
    icon.SaveToStream(s);
    const std::vector<uint8_t> good = s.Data();
    // Every truncation, and every byte of the directory and header changed.
    for (size_t n = 0; n < good.size(); ++n) EXPECT_THROW(LoadIco(good.data(), n), EInvalidGraphic) << n;
    for (size_t i = 0; i < 62 && i < good.size(); ++i)
        for (uint8_t v : {uint8_t(0), uint8_t(0x7F), uint8_t(0xFF)}) {
            std::vector<uint8_t> bad = good;
            bad[i] = v;
            try {
                TRasterImage image = LoadIco(bad.data(), bad.size());
                EXPECT_FALSE(image.Empty());
            } catch (const EInvalidGraphic&) {}
        }
}
