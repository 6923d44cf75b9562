#include "platform/framework/graphics/codecs/bmp_codec.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/platform/framework/graphics/codecs/codec_test_support.h"

namespace {

// A BMP file described field by field; pixel bytes are written by each case as stored.
struct BmpSpec {
    const char* name;
    uint32_t headerSize;
    int32_t width, height;  // negative height: top-down
    int bpp;
    uint32_t compression;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // in the header (V2..V5) or after a 40-byte one
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> expected;  // ARGB, top row first
    bool hasAlpha = false;
    bool zeroOffBits = false;
    uint32_t colorsUsed = 0;
};

std::vector<uint8_t> BuildBmp(const BmpSpec& s)
{
    const bool core = s.headerSize == 12;
    const size_t maskBytes = (s.headerSize == 40 ? s.masks.size() * 4 : 0);
    const size_t offBits = 14 + s.headerSize + maskBytes + s.palette.size() * (core ? 3 : 4);
    ByteBuilder b;
    b.str("BM")
        .u32(static_cast<uint32_t>(offBits + s.pixels.size()))
        .u32(0)
        .u32(s.zeroOffBits ? 0 : static_cast<uint32_t>(offBits));
    b.u32(s.headerSize);
    if (core) {
        b.u16(s.width).u16(s.height).u16(1).u16(s.bpp);
    } else {
        b.u32(s.width).u32(s.height).u16(1).u16(s.bpp).u32(s.compression).u32(static_cast<uint32_t>(s.pixels.size()));
        b.u32(0).u32(0).u32(s.colorsUsed ? s.colorsUsed : static_cast<uint32_t>(s.palette.size())).u32(0);
        if (s.headerSize > 40) {
            for (size_t i = 0; i < 4; ++i)
                if (40 + 4 * i < s.headerSize) b.u32(i < s.masks.size() ? s.masks[i] : 0);
            while (b.v.size() < 14 + s.headerSize) b.u8(0);
        } else {
            for (uint32_t m : s.masks) b.u32(m);
        }
    }
    for (uint32_t c : s.palette) {
        b.u8(c & 255).u8((c >> 8) & 255).u8((c >> 16) & 255);
        if (!core) b.u8(0);
    }
    b.raw(s.pixels);
    return b.v;
}

constexpr uint32_t K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF;

std::vector<uint32_t> GreyPalette16()
{
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < 16; ++i) p.push_back(i * 0x111111);
    return p;
}

uint32_t Grey(uint32_t i) { return 0xFF000000 | (i * 0x111111); }

std::vector<BmpSpec> Variants()
{
    return {
        {"24-bit bottom-up",
         40,
         3,
         2,
         24,
         0,
         {},
         {},
         {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0,
          0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0},
         {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFDDEEFF, 0xFF010203}},
        {"24-bit top-down",
         40,
         3,
         -2,
         24,
         0,
         {},
         {},
         {0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0,
          0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0},
         {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFDDEEFF, 0xFF010203}},
        {"24-bit, pixel offset left zero", 40, 1, 1, 24, 0, {}, {}, {1, 2, 3, 0}, {0xFF030201}, false, true},
        {"8-bit with a short palette",
         40,
         3,
         2,
         8,
         0,
         {0xFF0000, 0x00FF00, 0x0000FF},
         {},
         {2, 1, 0, 0, 0, 1, 2, 0},
         {R, G, B, B, G, R}},
        {"8-bit index past the palette is black", 40, 2, 1, 8, 0, {0xFFFFFF}, {}, {0, 7, 0, 0}, {W, K}},
        {"1-bit across a byte boundary",
         40,
         10,
         1,
         1,
         0,
         {0x000000, 0xFFFFFF},
         {},
         {0xB3, 0x80, 0, 0},
         {W, K, W, W, K, K, W, W, W, K}},
        {"4-bit", 40, 3, 1, 4, 0, GreyPalette16(), {}, {0xF1, 0x80, 0, 0}, {Grey(15), Grey(1), Grey(8)}},
        {"32-bit with alpha in the fourth byte",
         40,
         2,
         1,
         32,
         0,
         {},
         {},
         {1, 2, 3, 0x80, 4, 5, 6, 0xFF},
         {0x80030201, 0xFF060504},
         true},
        {"32-bit with a zero fourth byte is opaque",
         40,
         2,
         1,
         32,
         0,
         {},
         {},
         {1, 2, 3, 0, 4, 5, 6, 0},
         {0xFF030201, 0xFF060504}},
        {"16-bit 5-5-5", 40, 2, 1, 16, 0, {}, {}, {0x00, 0x7C, 0x21, 0x00}, {R, 0xFF000808}},
        {"16-bit bitfields 5-6-5",
         40,
         3,
         1,
         16,
         3,
         {},
         {0xF800, 0x07E0, 0x001F},
         {0x00, 0xF8, 0xE0, 0x07, 0x41, 0x08, 0, 0},
         {R, G, 0xFF080808}},
        {"32-bit alpha bitfields after a 40-byte header",
         40,
         1,
         1,
         32,
         6,
         {},
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         {1, 2, 3, 4},
         {0x04030201},
         true},
        {"V5 header with an alpha mask",
         124,
         1,
         1,
         32,
         3,
         {},
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         {0x10, 0x20, 0x30, 0x00},
         {0x00302010},
         true},
        {"V4 header with reversed masks",
         108,
         1,
         1,
         32,
         3,
         {},
         {0xFF000000, 0xFF0000, 0xFF00, 0xFF},
         {0x80, 0x30, 0x20, 0x10},
         {0x80102030},
         true},
        {"V3 header with 5-6-5 masks", 56, 1, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F, 0}, {0x00, 0xF8, 0, 0}, {R}},
        {"core header, 8-bit", 12, 2, 1, 8, 0, {0x0000FF, 0xFF0000}, {}, {1, 0, 0, 0}, {R, B}},
        {"RLE8 runs, absolute, delta, end of line and of bitmap",
         40,
         4,
         3,
         8,
         1,
         {0, 0xFF0000, 0x00FF00, 0x0000FF},
         {},
         {4, 1, 0, 0,                    // bottom row: four reds
          0, 3, 2, 3, 2, 0, 1, 3, 0, 0,  // middle: absolute G B G (padded), one blue
          0, 2, 2, 0, 2, 2, 0, 1},       // top: skip two, two greens, end
         {K, K, G, G, G, B, G, B, R, R, R, R}},
        {"RLE8 writes past the picture are clipped",
         40,
         2,
         1,
         8,
         1,
         {0, 0xFF0000, 0x00FF00},
         {},
         {5, 1, 0, 3, 2, 2, 2, 0, 0, 2, 255, 255, 0, 1},
         {R, R}},
        {"RLE4 runs and absolute nibbles",
         40,
         5,
         2,
         4,
         2,
         GreyPalette16(),
         {},
         {0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 5, 0x9A, 0, 1},
         {Grey(9), Grey(10), Grey(9), Grey(10), Grey(9), Grey(3), Grey(4), Grey(5), Grey(6), Grey(7)}},
    };
}

TEST(ImageBmp, ReadsHandMadeVariants)
{
    for (const BmpSpec& s : Variants()) {
        SCOPED_TRACE(s.name);
        TRasterImage img;
        ASSERT_NO_THROW(img = LoadBmp(BuildBmp(s)));
        const int h = s.height < 0 ? -s.height : s.height;
        EXPECT_TRUE(SamePixels(img, ImageFromPixels(s.width, h, s.expected)));
        EXPECT_EQ(img.HasAlpha(), s.hasAlpha);
        EXPECT_EQ(img.BitDepth(), s.bpp);
        EXPECT_EQ(img.SourceFormat(), TImageFormat::Bmp);
        EXPECT_EQ(img.Palette().size(), s.bpp <= 8 ? s.palette.size() : 0u);
    }
}

TEST(ImageBmp, RoundTripsEveryDepthExactly)
{
    struct Case {
        int bpp;
        TRasterImage img;
        uint32_t headerSize;
    } cases[] = {
        {1, MakePaletteImage(13, 7, 2), 40},   {4, MakePaletteImage(13, 7, 16), 40},
        {8, MakePaletteImage(13, 7, 200), 40}, {24, MakeTestImage(13, 7, false), 40},
        {32, MakeTestImage(13, 7, false), 40}, {32, MakeTestImage(13, 7, true), 124},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        const std::vector<uint8_t> bytes = SaveBmp(c.img, c.bpp);
        EXPECT_EQ(bytes[14], c.headerSize);
        EXPECT_EQ(bytes[28], c.bpp);
        const TRasterImage back = LoadBmp(bytes);
        EXPECT_TRUE(SamePixels(back, c.img));
        EXPECT_EQ(back.HasAlpha(), c.img.HasAlpha());
        EXPECT_EQ(back.BitDepth(), c.bpp);
    }
}

TEST(ImageBmp, FullyTransparentPictureKeepsItsAlpha)
{
    TRasterImage img(3, 2);
    img.Fill(0x00123456);
    img.SetHasAlpha(true);
    const TRasterImage back = LoadBmp(SaveBmp(img));
    EXPECT_TRUE(back.HasAlpha());
    EXPECT_TRUE(SamePixels(back, img));
}

TEST(ImageBmp, IndexedFileSavesBackAsItCame)
{
    // Laid out exactly as the writer lays out an 8-bit file: re-saving gives the same bytes.
    BmpSpec s{"8-bit", 40, 3, 2, 8, 0, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}, {}, {2, 1, 0, 0, 3, 1, 2, 0}, {}};
    const std::vector<uint8_t> file = BuildBmp(s);
    const TRasterImage img = LoadBmp(file);
    EXPECT_EQ(DefaultBmpBitDepth(img), 8);
    EXPECT_EQ(SaveBmp(img), file);
    // A colour drawn in later is not forced onto the old palette.
    TRasterImage edited = img;
    edited.SetPixel(1, 1, 0xFF808080);
    const TRasterImage back = LoadBmp(SaveBmp(edited));
    EXPECT_EQ(back.BitDepth(), 8);
    EXPECT_TRUE(SamePixels(back, edited));

    BmpSpec mono{"1-bit", 40, 3, 1, 1, 0, {0x000000, 0xFFFFFF}, {}, {0xA0, 0, 0, 0}, {}};
    const TRasterImage m = LoadBmp(BuildBmp(mono));
    EXPECT_EQ(DefaultBmpBitDepth(m), 1);
    EXPECT_EQ(SaveBmp(m), BuildBmp(mono));
}

TEST(ImageBmp, ManyColoursAtLowDepthsAreReduced)
{
    TRasterImage img(64, 64);  // 4096 colours in smooth ramps
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) img.SetPixel(x, y, 0xFF000000u | (x * 4) << 16 | (y * 4) << 8 | (x + y) * 2);
    const TRasterImage eight = LoadBmp(SaveBmp(img, 8));
    EXPECT_LE(eight.Palette().size(), 256u);
    EXPECT_TRUE(SamePixels(eight, img, 24));

    TRasterImage bw(4, 1);
    bw.SetPixel(0, 0, 0xFF101010);
    bw.SetPixel(1, 0, 0xFFF0F0F0);
    bw.SetPixel(2, 0, 0xFF202020);
    bw.SetPixel(3, 0, 0xFFE0E0E0);
    const TRasterImage one = LoadBmp(SaveBmp(bw, 1));
    EXPECT_TRUE(SamePixels(one, ImageFromPixels(4, 1, {K, W, K, W})));
}

TEST(ImageBmp, DefaultDepthFollowsTheSource)
{
    TRasterImage plain = MakeTestImage(2, 2, false);
    EXPECT_EQ(DefaultBmpBitDepth(plain), 24);
    plain.SetHasAlpha(true);
    EXPECT_EQ(DefaultBmpBitDepth(plain), 32);
    TRasterImage grey = MakeTestImage(2, 2, false);
    grey.SetBitDepth(8);  // e.g. a grey JPEG: no palette, saved with an exact one
    const TRasterImage back = LoadBmp(SaveBmp(grey));
    EXPECT_EQ(back.BitDepth(), 8);
    EXPECT_TRUE(SamePixels(back, grey));
}

TEST(ImageBmp, BitmapsBackToBackReadOneAfterAnother)
{
    // As a stored skin keeps its pictures: files in a row, then other data.
    const TRasterImage first = MakeTestImage(5, 3, false), second = MakePaletteImage(4, 4, 3);
    std::vector<uint8_t> rle = BuildBmp(Variants()[16]);
    for (size_t i = 2; i < 6; ++i) rle[i] = 0;  // a file size of 0: the end of the compressed data counts
    TMemoryStream stream;
    for (const std::vector<uint8_t>& b : {SaveBmp(first), SaveBmp(second, 8), rle})
        stream.WriteBuffer(b.data(), static_cast<int64_t>(b.size()));
    stream.WriteBuffer("INI", 3);
    stream.SetPosition(0);
    EXPECT_TRUE(SamePixels(LoadBmpFromStream(stream), first));
    EXPECT_TRUE(SamePixels(LoadBmpFromStream(stream), second));
    EXPECT_EQ(LoadBmpFromStream(stream).Width(), 4);
    const int64_t at = stream.Position();
    char tail[3];
    stream.ReadBuffer(tail, 3);
    EXPECT_EQ(std::string(tail, 3), "INI");
    stream.SetPosition(at);
    EXPECT_THROW(LoadBmpFromStream(stream), EInvalidGraphic);
    EXPECT_EQ(stream.Position(), at);
}

TEST(ImageBmp, RefusesToSaveWhatItCannot)
{
    EXPECT_THROW(SaveBmp(TRasterImage()), EInvalidGraphic);
    EXPECT_THROW(SaveBmp(MakeTestImage(2, 2, false), 16), EInvalidGraphic);
}

TEST(ImageBmp, EveryTruncationIsAnError)
{
    BmpSpec plain{"24-bit 4x3", 40, 4, 3, 24, 0, {}, {}, std::vector<uint8_t>(36, 0x5A), {}};
    for (const BmpSpec& s : {plain, Variants()[16]}) {
        const std::vector<uint8_t> full = BuildBmp(s);
        ASSERT_NO_THROW(LoadBmp(full));
        for (size_t n = 0; n < full.size(); ++n) {
            SCOPED_TRACE(std::string(s.name) + " cut at " + std::to_string(n));
            EXPECT_THROW(LoadBmp(full.data(), n), EInvalidGraphic);
        }
    }
}

TEST(ImageBmp, MalformedHeadersAreRefused)
{
    auto with = [](auto change) {
        BmpSpec s{"base", 40, 2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 1), {}};
        change(s);
        return BuildBmp(s);
    };
    auto patch32 = [](std::vector<uint8_t> v, size_t at, uint32_t x) {
        for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
        return v;
    };
    const std::vector<uint8_t> good = with([](BmpSpec&) {});
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const wchar_t* text;
    } cases[] = {
        {"not a bitmap", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, L"Bitmap image is not valid"},
        {"header size 0", patch32(good, 14, 0), L"unsupported header size 0"},
        {"header size 39", patch32(good, 14, 39), L"unsupported header size"},
        {"header size 64", patch32(good, 14, 64), L"unsupported header size"},
        {"header size huge", patch32(good, 14, 0xFFFFFFF0), L"unsupported header size"},
        {"header larger than the file", patch32(good, 14, 124), L"truncated header"},
        {"width zero", with([](BmpSpec& s) { s.width = 0; }), L"Bitmap image is not valid"},
        {"height zero", with([](BmpSpec& s) { s.height = 0; }), L"Bitmap image is not valid"},
        {"negative width", with([](BmpSpec& s) { s.width = -2; }), L"Bitmap image is not valid"},
        {"height INT_MIN", with([](BmpSpec& s) { s.height = INT_MIN; }), L"too large"},
        {"width past the side limit", with([](BmpSpec& s) { s.width = 100000; }), L"too large"},
        {"5000 x 5000 in 16 bytes", with([](BmpSpec& s) { s.width = s.height = 5000; }), L"truncated pixel data"},
        {"bit depth 2", with([](BmpSpec& s) { s.bpp = 2; }), L"unsupported bit depth 2"},
        {"bit depth 0", with([](BmpSpec& s) { s.bpp = 0; }), L"unsupported bit depth"},
        {"RLE8 at 24 bits", with([](BmpSpec& s) { s.compression = 1; }), L"does not fit"},
        {"JPEG inside a bitmap", with([](BmpSpec& s) { s.compression = 4; }), L"unsupported compression 4"},
        {"bitfields without their masks", with([](BmpSpec& s) {
             s.bpp = 32;
             s.compression = 3;
             s.pixels.resize(4);
         }),
         L"Bitmap image is not valid"},
        {"palette past the end", with([](BmpSpec& s) {
             s.bpp = 8;
             s.colorsUsed = 200;
             s.zeroOffBits = true;
             s.pixels.resize(8);
         }),
         L"truncated colour table"},
        {"pixel offset past the end", patch32(good, 10, 5000), L"no pixel data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LoadBmp(c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(c.text), String::npos) << e.what();
        }
    }
    EXPECT_THROW(LoadBmp(nullptr, 0), EInvalidGraphic);
}

TEST(ImageBmp, DeclaredSizeBeyondThePixelLimitIsRefusedBeforeDecoding)
{
    PixelLimitGuard limit(1000);
    // RLE data can be tiny for any size, so only the limit stops the allocation.
    BmpSpec s{"RLE8", 40, 100, 100, 8, 1, {0}, {}, {0, 1}, {}};
    try {
        LoadBmp(BuildBmp(s));
        ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L"too large"), String::npos) << e.what();
    }
}

}  // namespace
