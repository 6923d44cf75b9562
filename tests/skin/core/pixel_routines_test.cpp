// The pixel and blit routine tables: both blend forms, the row routines, the stretch map and
// the transparent DC blit in its system and software forms.
#include <gtest/gtest.h>

#include <random>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_api.h"
#include "skin/core/pixel_routines.h"
#include "tests/skin/core/skin_test_util.h"

using namespace skintest;

namespace {

// Restores the tables a test switched.
struct RoutineGuard {
    ~RoutineGuard()
    {
        InitPixelRoutines(true);
        InitBlitRoutines();
    }
};

}  // namespace

TEST(PixelRoutines, BlendFormsDifferAsSpecified)
{
    struct Case {
        TbsColor F, B, Plain, Packed;
    } cases[] = {
        {0x80FF0000, 0xFF0000FF, 0xFF7F007E, 0xBF7F007F},
        {0xFF123456, 0x00ABCDEF, 0xFF123456, 0xFE123456},  // packed alpha 255: alpha one short over alpha 0
        {0x00123456, 0x44ABCDEF, 0x44ABCDEF, 0x44ABCDEF},  // alpha 0 leaves B exactly
    };
    for (auto& c : cases) {
        EXPECT_EQ(BlendPixelPlain(c.F, c.B), c.Plain) << std::hex << c.F;
        EXPECT_EQ(BlendPixelMMX(c.F, c.B), c.Packed) << std::hex << c.F;
    }
    // Both row forms copy alpha 255 and skip alpha 0; in between the packed one blends alpha.
    for (bool mmx : {false, true}) {
        RoutineGuard g;
        InitPixelRoutines(mmx);
        TbsColor src[3] = {0x00FFFFFF, 0xFF102030, 0x80FF0000};
        TbsColor dst[3] = {0x11223344, 0x55667788, 0xFF0000FF};
        PixelRoutines.BlendRow(src, dst, 3);
        EXPECT_EQ(dst[0], 0x11223344u);
        EXPECT_EQ(dst[1], 0xFF102030u);
        EXPECT_EQ(dst[2], mmx ? 0xBF7F007Fu : 0xFF7F007Eu);
    }
}

TEST(PixelRoutines, PackedBlendEqualsTheFormulaPerChannel)
{
    // (F x a + B x (256 - a)) >> 8 on every channel, alpha included.
    std::mt19937 rng(3);
    for (int i = 0; i < 100000; ++i) {
        TbsColor f = rng(), b = rng(), a = f >> 24, expect = 0;
        for (int s = 0; s < 32; s += 8) expect |= ((((f >> s) & 0xFF) * a + ((b >> s) & 0xFF) * (256 - a)) >> 8) << s;
        ASSERT_EQ(BlendPixelMMX(f, b), expect) << std::hex << f << " " << b;
    }
}

TEST(PixelRoutines, RowRoutines)
{
    TbsColor src[3] = {0x00FF00FF, 0x127F007F, 0xFF7F007F};
    TbsColor dst[3] = {1, 2, 3};
    PixelRoutines.CopyRowTransparent(src, dst, 3);
    EXPECT_EQ(dst[0], 0xFFFF00FFu);  // stored with alpha 255
    EXPECT_EQ(dst[1], 2u);           // key pixels leave the destination, whatever their alpha
    EXPECT_EQ(dst[2], 3u);

    TbsColor px[6] = {0, 0, 0, 0, 0, 0};  // 3 x 2
    PixelRoutines.FillRectPixels(px, 3, 1, 0, 2, 1, 0xAB);
    EXPECT_EQ(std::vector<TbsColor>(px, px + 6), (std::vector<TbsColor>{0, 0xAB, 0xAB, 0, 0xAB, 0xAB}));
    PixelRoutines.SetRectAlpha(px, 3, 0, 1, 0, 1, 0x7F);
    EXPECT_EQ(px[3], 0x7F000000u);
    PixelRoutines.FillRow(px, 0, 5);  // a count of zero does nothing
    PixelRoutines.FillRow(px, -3, 5);
    EXPECT_EQ(px[0], 0u);
    TbsColor key[2] = {0xFF7F007F, 0xFF7F0080};
    PixelRoutines.ClearColorAlpha(key, 2, bsKeyColor);
    EXPECT_EQ(key[0], 0x007F007Fu);
    EXPECT_EQ(key[1], 0xFF7F0080u);
}

TEST(PixelRoutines, StretchSamplesByTheLayersRule)
{
    struct Case {
        int SrcW, DstW;
        std::vector<int> Cols;
    } cases[] = {
        {3, 5, {0, 0, 1, 1, 2}},
        {11, 4, {0, 3, 6, 9}},  // the 32-bit scale 3.3333333 truncates the last to 9
        {7, 1, {3}},            // one column: the middle one
        {4, 4, {0, 1, 2, 3}},
    };
    for (auto& c : cases) {
        auto src = Positions(c.SrcW, 2);
        TbsBitmap dst;
        dst.SetSize(c.DstW, 1);
        BlitRoutines.BitmapBlitOpaque(&dst, Rect(0, 0, c.DstW, 1), Rect(0, 0, c.DstW, 1), Rect(0, 0, c.SrcW, 2),
                                      src.get());
        EXPECT_EQ(Columns(dst, 0), c.Cols) << c.SrcW << " -> " << c.DstW;
    }
    // A source rectangle from column 2: the middle of (2 .. 6) for one column.
    auto src = Positions(8, 1);
    TbsBitmap one;
    one.SetSize(1, 1);
    BlitRoutines.BitmapBlitOpaque(&one, Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), Rect(2, 0, 7, 1), src.get());
    EXPECT_EQ(Columns(one, 0), std::vector<int>{4});
}

TEST(PixelRoutines, BlitsDrawNothingForBadRectangles)
{
    auto src = Positions(4, 4);
    TbsBitmap dst;
    dst.SetSize(4, 4);
    const TRect all = Rect(0, 0, 4, 4);
    TRect bad[] = {Rect(0, 0, 5, 4), Rect(-1, 0, 3, 4), Rect(0, 0, 4, 5), Rect(2, 2, 2, 4)};
    for (auto& s : bad) {
        BlitRoutines.BitmapBlitOpaque(&dst, all, all, s, src.get());
        BlitRoutines.BitmapBlitAlpha(&dst, all, all, s, src.get());
        EXPECT_EQ(dst.Pixel(0, 0), 0u);
    }
    // A clip outside the destination draws nothing; a partial clip only its part.
    BlitRoutines.BitmapBlitOpaque(&dst, all, Rect(4, 4, 8, 8), all, src.get());
    EXPECT_EQ(dst.Pixel(3, 3), 0u);
    BlitRoutines.BitmapBlitOpaque(&dst, all, Rect(2, 0, 3, 4), all, src.get());
    EXPECT_EQ(Columns(dst, 1), (std::vector<int>{-1, -1, 2, -1}));
}

TEST(PixelRoutines, StretchedAlphaAndTransparentRowsRepeat)
{
    // A 2 x 2 source doubled onto 4 x 4: repeated rows apply the same buffer again.
    auto src = Filled(2, 2, [](int x, int y) { return x == 1 && y == 0 ? bsTransparentPixel : Pos(x, y); });
    TbsBitmap dst;
    dst.SetSize(4, 4);
    dst.Clear(0xFF0000FF);
    const TRect d = Rect(0, 0, 4, 4);
    BlitRoutines.BitmapBlitTransparent(&dst, d, d, Rect(0, 0, 2, 2), src.get());
    std::map<char, TbsColor> pal = {{'a', Pos(0, 0)}, {'b', Pos(1, 1)}, {'c', Pos(0, 1)}, {'.', 0xFF0000FF}};
    // Columns map 0, 0, 0, 1 (scale 1/3); rows likewise.
    EXPECT_EQ(Art(dst, pal), "aaa.\naaa.\naaa.\ncccb\n");
}

TEST(PixelRoutines, DibBlitWritesBottomUpRows)
{
    std::vector<TbsColor> dib(3 * 2, 0);  // 3 x 2, bottom-up: image row 0 is the last memory row
    auto src = Positions(2, 2);
    BlitRoutines.DibBlitOpaque(dib.data(), 3, 2, Rect(1, 0, 3, 2), Rect(0, 0, 3, 2), src.get(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dib[3 + 1], Pos(0, 0));
    EXPECT_EQ(dib[0 + 2], Pos(1, 1));
    BlitRoutines.DibBlitOpaque(dib.data(), 3, 2, Rect(0, 0, 3, 2), Rect(0, 0, 3, 2), src.get(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dib[3 + 2], Pos(1, 0));  // 2 -> 3 columns: 0, 0, 1
    EXPECT_EQ(dib[3 + 1], Pos(0, 0));
}

TEST(PixelRoutines, TransparentDCBlitFormsGiveTheSamePixels)
{
    ASSERT_TRUE(IsMsImg32Loaded());
    auto src = Filled(5, 3, [](int x, int y) { return (x + y) % 2 ? 0xFF7F007Fu : Pos(x, y, 9); });
    src->SetTransparent(true);
    std::vector<std::vector<uint32_t>> results;
    for (TbsDCBlit blit : {DCBlitTransparentSystem, DCBlitTransparentSoftware}) {
        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(12, 7);
        target.Canvas()->Brush()->SetColor(clBlue);
        target.Canvas()->FillRect(Rect(0, 0, 12, 7));
        blit(target.Canvas()->Handle(), 1, 1, 10, 5, src.get(), 0, 0, 5, 3);  // stretched too
        std::vector<uint32_t> px;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 12; ++x) px.push_back(target.PixelArgb(x, y));
        results.push_back(px);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0][1 * 12 + 1], Pos(0, 0, 9));
    EXPECT_EQ(results[0][1 * 12 + 4] & 0xFFFFFF, 0x0000FFu);  // a key pixel: the blue stays
}

TEST(PixelRoutines, GetDCDibInfoReadsTheWholeDibSection)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf32bit);
    bmp.SetSize(6, 4);
    TbsDibInfo info = BlitRoutines.GetDCDibInfo(bmp.Canvas()->Handle());
    EXPECT_NE(info.Bits, nullptr);
    EXPECT_EQ(info.Width, 6);
    EXPECT_EQ(std::abs(info.Height), 4);
    EXPECT_EQ(info.BitCount, 32);
    HDC plain = CreateCompatibleDC(nullptr);
    EXPECT_EQ(BlitRoutines.GetDCDibInfo(plain).Bits, nullptr);
    DeleteDC(plain);
}
