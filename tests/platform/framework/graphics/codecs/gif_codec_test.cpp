#include "platform/framework/graphics/codecs/gif_codec.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "tests/platform/framework/graphics/codecs/codec_test_support.h"

namespace {

int OnWrite(GifFileType* gif, const GifByteType* buf, int n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), buf, buf + n);
    return n;
}

struct Frame {
    int left, top, width, height;
    bool interlace;
    std::vector<uint32_t> localMap;  // 0xRRGGBB; empty: the global one
    int transparent;                 // -1: no control block
    std::vector<uint8_t> indices;    // natural row order
};

ColorMapObject* MakeMap(const std::vector<uint32_t>& colours)
{
    std::vector<GifColorType> c;
    for (uint32_t x : colours)
        c.push_back(GifColorType{static_cast<GifByteType>(x >> 16), static_cast<GifByteType>(x >> 8),
                                 static_cast<GifByteType>(x)});
    return GifMakeMapObject(static_cast<int>(c.size()), c.data());
}

// Writes a GIF with giflib; colour maps must have a power-of-two size.
std::vector<uint8_t> WriteGif(int sw, int sh, const std::vector<uint32_t>& globalMap, const std::vector<Frame>& frames)
{
    std::vector<uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, OnWrite, &err);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalMap.empty() ? nullptr : MakeMap(globalMap);
    EXPECT_EQ(EGifPutScreenDesc(gif, sw, sh, 8, 0, global), GIF_OK);
    GifFreeMapObject(global);
    for (const Frame& f : frames) {
        if (f.transparent >= 0) {
            GraphicsControlBlock gcb{};
            gcb.TransparentColor = f.transparent;
            GifByteType ext[4];
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(EGifGCBToExtension(&gcb, ext)), ext);
        }
        ColorMapObject* local = f.localMap.empty() ? nullptr : MakeMap(f.localMap);
        EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local), GIF_OK);
        GifFreeMapObject(local);
        std::vector<int> order;
        if (f.interlace) {
            const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int r = start[p]; r < f.height; r += step[p]) order.push_back(r);
        } else {
            for (int r = 0; r < f.height; ++r) order.push_back(r);
        }
        for (int r : order) {
            std::vector<GifPixelType> line(f.indices.begin() + r * f.width, f.indices.begin() + (r + 1) * f.width);
            EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
        }
    }
    EGifCloseFile(gif, &err);
    return out;
}

constexpr uint32_t T = 0x00000000;

TEST(ImageGif, ReadsTheFirstFrameOnItsCanvas)
{
    const Frame first{1, 1, 3, 2, false, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}, 2, {0, 1, 2, 3, 2, 1}};
    // (The second frame has a map of its own too: giflib's writer drops a local map that a
    // frame without one follows.)
    const Frame second{0, 0, 6, 4, false, {0, 0xFFFFFF}, -1, std::vector<uint8_t>(24, 1)};
    const TRasterImage img = LoadGif(WriteGif(6, 4, {0, 0xFFFFFF}, {first, second}));
    const std::vector<uint32_t> expected = {
        T, T,          T,          T,          T, T, T, 0xFFFF0000, 0xFF00FF00, 0x000000FF, T, T,
        T, 0xFF123456, 0x000000FF, 0xFF00FF00, T, T, T, T,          T,          T,          T, T,
    };
    EXPECT_TRUE(SamePixels(img, ImageFromPixels(6, 4, expected)));
    EXPECT_TRUE(img.HasAlpha());
    EXPECT_EQ(img.TransparentIndex(), 2);
    EXPECT_EQ(img.TransparentColor(), 0x0000FFu);
    EXPECT_EQ(img.Palette().size(), 4u);
    EXPECT_EQ(img.SourceFormat(), TImageFormat::Gif);

    // Saved again, it keeps its palette and transparent index, and every visible pixel; the
    // canvas around the frame takes the transparent entry's colour.
    TRasterImage again = LoadGif(SaveGif(img));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            if (again.Pixel(x, y) >> 24 == 0)
                again.SetPixel(x, y, img.Pixel(x, y) >> 24 == 0 ? img.Pixel(x, y) : 0xDEADBEEF);
    EXPECT_TRUE(SamePixels(again, img));
    EXPECT_EQ(again.Palette(), img.Palette());
    EXPECT_EQ(again.TransparentIndex(), 2);
}

TEST(ImageGif, ReadsInterlacedRows)
{
    Frame f{0, 0, 3, 10, true, {}, -1, {}};
    std::vector<uint32_t> expected;
    std::vector<uint32_t> map;
    for (uint32_t i = 0; i < 16; ++i) map.push_back(i * 0x100F01);
    for (int r = 0; r < 10; ++r)
        for (int x = 0; x < 3; ++x) {
            const uint8_t i = static_cast<uint8_t>((r + x) % 16);
            f.indices.push_back(i);
            expected.push_back(0xFF000000u | map[i]);
        }
    const TRasterImage img = LoadGif(WriteGif(3, 10, map, {f}));
    EXPECT_TRUE(SamePixels(img, ImageFromPixels(3, 10, expected)));
    EXPECT_FALSE(img.HasAlpha());
}

TEST(ImageGif, RoundTripsUpTo256ColoursExactly)
{
    for (int colours : {2, 200, 256}) {
        SCOPED_TRACE(colours);
        TRasterImage img(32, 16);
        for (int i = 0; i < 32 * 16; ++i) {
            const uint32_t c = static_cast<uint32_t>(i % colours);
            img.SetPixel(i % 32, i / 32, 0xFF000000u | (c * 0x010307 & 0xFFFFFF));
        }
        const TRasterImage back = LoadGif(SaveGif(img));
        EXPECT_TRUE(SamePixels(back, img));
        EXPECT_FALSE(back.HasAlpha());
    }
}

TEST(ImageGif, TransparentPixelsGetTheTransparentIndex)
{
    TRasterImage img = MakePaletteImage(9, 9, 10);
    img.SetHasAlpha(true);
    for (int i = 0; i < 9; ++i) img.SetPixel(i, i, 0x10FFFFFF);  // alpha below 128: transparent
    const TRasterImage back = LoadGif(SaveGif(img));
    EXPECT_TRUE(back.HasAlpha());
    EXPECT_GE(back.TransparentIndex(), 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            if (x == y)
                EXPECT_EQ(back.Pixel(x, y) >> 24, 0u) << x;
            else
                EXPECT_EQ(back.Pixel(x, y), img.Pixel(x, y)) << x << "," << y;
}

TEST(ImageGif, ManyColoursAreReduced)
{
    TRasterImage img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) img.SetPixel(x, y, 0xFF000000u | (x * 4) << 16 | (y * 4) << 8 | (x + y) * 2);
    const TRasterImage back = LoadGif(SaveGif(img));
    EXPECT_LE(back.Palette().size(), 256u);
    EXPECT_TRUE(SamePixels(back, img, 24));
    EXPECT_THROW(SaveGif(TRasterImage()), EInvalidGraphic);
}

TEST(ImageGif, TruncationIsAnError)
{
    const std::vector<uint8_t> full = SaveGif(MakePaletteImage(13, 7, 50));
    for (size_t n = 0; n + 1 < full.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(LoadGif(full.data(), n), EInvalidGraphic);
    }
    // Only the trailer missing: the first frame is complete.
    EXPECT_NO_THROW(LoadGif(full.data(), full.size() - 1));
}

std::vector<uint8_t> HandMade(unsigned sw, unsigned sh, bool globalMap, unsigned left, unsigned top, unsigned w,
                              unsigned h, std::initializer_list<unsigned> data)
{
    ByteBuilder b;
    b.str("GIF89a").u16(sw).u16(sh).u8(globalMap ? 0x80 : 0).u8(0).u8(0);
    if (globalMap) b.bytes({0, 0, 0, 255, 255, 255});
    b.u8(0x2C).u16(left).u16(top).u16(w).u16(h).u8(0);
    b.bytes(data);
    return b.v;
}

TEST(ImageGif, MalformedFilesAreRefused)
{
    const std::initializer_list<unsigned> pixel = {2, 2, 0x44, 0x01, 0, 0x3B};  // one pixel of colour 0
    ASSERT_EQ(LoadGif(HandMade(1, 1, true, 0, 0, 1, 1, pixel)).Pixel(0, 0), 0xFF000000u);
    PixelLimitGuard limit(1 << 20);
    ByteBuilder onlyTrailer;
    onlyTrailer.str("GIF89a").u16(1).u16(1).u8(0).u8(0).u8(0).u8(0x3B);
    ByteBuilder badRecord;
    badRecord.str("GIF89a").u16(1).u16(1).u8(0).u8(0).u8(0).u8(0x99);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const wchar_t* text;
    } cases[] = {
        {"empty", {}, L"GIF image is not valid (empty)"},
        {"signature only", {'G', 'I', 'F', '8', '9', 'a'}, L"GIF image is not valid"},
        {"not a GIF", {'G', 'I', 'F', '9', '9', 'a', 0, 0}, L"no GIF signature"},
        {"no colour table", HandMade(1, 1, false, 0, 0, 1, 1, pixel), L"no colour table"},
        {"frame of width zero", HandMade(1, 1, true, 0, 0, 0, 1, pixel), L"GIF image is not valid"},
        {"screen 65535 x 65535", HandMade(65535, 65535, true, 0, 0, 1, 1, pixel), L"too large"},
        {"frame past the side limit", HandMade(1, 1, true, 65000, 0, 1000, 1, pixel), L"too large"},
        {"trailer without an image", onlyTrailer.v, L"no image"},
        {"unknown record", badRecord.v, L"GIF image is not valid"},
        {"code size 12", HandMade(1, 1, true, 0, 0, 1, 1, {12, 2, 0x44, 0x01, 0, 0x3B}), L"GIF image is not valid"},
        {"pixel data cut", HandMade(4, 4, true, 0, 0, 4, 4, {2, 2, 0x44, 0x01, 0, 0x3B}), L"GIF image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LoadGif(c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(c.text), String::npos) << e.what();
        }
    }
}

}  // namespace
