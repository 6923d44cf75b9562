// Drawing skin bitmaps: the bitmap rule onto skin bitmaps (also through their DCs and canvases,
// with the DC's origins), the GDI forms onto other DCs, tiling and merging.
#include <gtest/gtest.h>

#include "platform/win/win_api.h"
#include "tests/skin/core/skin_test_util.h"

using namespace skintest;

namespace {

std::unique_ptr<TbsBitmap> Blank(int W, int H, TbsColor C = 0)
{
    auto b = std::make_unique<TbsBitmap>();
    b->SetSize(W, H);
    b->Clear(C);
    return b;
}

// The source position a target pixel came from, or (-1, -1) when it is untouched (alpha 0).
TPoint From(const TbsBitmap& B, int X, int Y)
{
    TbsColor c = B.Pixel(X, Y);
    if (!(c >> 24)) return Point(-1, -1);
    return Point((c >> 16) & 0xFF, (c >> 8) & 0xFF);
}

}  // namespace

TEST(BitmapDrawing, CanvasOfASkinBitmapIsDrawnThroughTheBitmapRuleWithItsOrigins)
{
    auto src = Positions(40, 40);
    struct Case {
        TPoint Window, Viewport;
        TPoint At;  // where source (0, 0) lands
    } cases[] = {
        {{10, 5}, {0, 0}, {-10, -5}},
        {{0, 0}, {3, 2}, {3, 2}},
        {{10, 5}, {12, 6}, {2, 1}},
    };
    for (auto& c : cases) {
        auto dst = Blank(20, 20);
        SetWindowOrgEx(dst->DC(), c.Window.X, c.Window.Y, nullptr);
        SetViewportOrgEx(dst->DC(), c.Viewport.X, c.Viewport.Y, nullptr);
        src->Draw(dst->Canvas(), 0, 0);
        int x0 = std::max(c.At.X, 0), y0 = std::max(c.At.Y, 0);
        EXPECT_EQ(From(*dst, x0, y0), Point(x0 - c.At.X, y0 - c.At.Y));
        EXPECT_EQ(From(*dst, 19, 19), Point(19 - c.At.X, 19 - c.At.Y));
        if (c.At.X > 0) {
            EXPECT_EQ(From(*dst, c.At.X - 1, 10), Point(-1, -1));
        }
    }
}

TEST(BitmapDrawing, TheDCsClipLimitsTheBitmapRule)
{
    auto src = Positions(4, 4);
    auto dst = Blank(4, 4);
    IntersectClipRect(dst->DC(), 1, 1, 3, 3);
    src->Draw(dst->DC(), 0, 0);
    EXPECT_EQ(From(*dst, 0, 0), Point(-1, -1));
    EXPECT_EQ(From(*dst, 2, 2), Point(2, 2));
    EXPECT_EQ(From(*dst, 3, 2), Point(-1, -1));
    auto tiled = Blank(4, 4);
    IntersectClipRect(tiled->DC(), 0, 0, 4, 1);
    src->Tile(tiled->DC(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2));
    EXPECT_EQ(From(*tiled, 3, 0), Point(1, 0));
    EXPECT_EQ(From(*tiled, 3, 1), Point(-1, -1));
}

TEST(BitmapDrawing, ModesByTheSourcesFlags)
{
    auto dst = Blank(2, 1, 0xFF0000FF);
    auto src = Filled(2, 1, [](int x, int) { return x ? 0x80FF0000u : bsTransparentPixel; });
    struct Case {
        bool Alpha, Transparent;
        TbsColor P0, P1;
    } cases[] = {
        {false, false, bsTransparentPixel, 0x80FF0000},
        {false, true, 0xFF0000FF, 0xFFFF0000},
        {true, false, 0xFF0000FF, 0xBF7F007F},
        {true, true, 0xFF0000FF, 0xBF7F007F},  // both set: blended, the key pixel with alpha 0 leaves the target
    };
    for (auto& c : cases) {
        dst->Clear(0xFF0000FF);
        src->SetAlphaBlend(c.Alpha);
        src->SetTransparent(c.Transparent);
        src->Draw(dst.get(), 0, 0);
        EXPECT_EQ(dst->Pixel(0, 0), c.P0) << c.Alpha << c.Transparent;
        EXPECT_EQ(dst->Pixel(1, 0), c.P1) << c.Alpha << c.Transparent;
    }
}

TEST(BitmapDrawing, StretchedDrawDoublesPixels)
{
    auto src = Positions(10, 10);
    auto dst = Blank(20, 20);
    src->Draw(dst.get(), Rect(0, 0, 20, 20), Rect(0, 0, 10, 10));
    // The layer's rule with the scale 9/19: pairs, except three of the first column and one of
    // the last, in both directions.
    std::vector<int> expect = {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9};
    EXPECT_EQ(Columns(*dst, 0), expect);
    for (int y = 0; y < 20; ++y) EXPECT_EQ(From(*dst, 5, y).Y, expect[y]);
}

TEST(BitmapDrawing, DrawOntoItselfReadsFromACopy)
{
    auto b = Positions(4, 1);
    b->Draw(b.get(), 1, 0, Rect(0, 0, 3, 1));
    EXPECT_EQ(Columns(*b, 0), (std::vector<int>{0, 0, 1, 2}));
    auto m = Filled(4, 1, [](int x, int) { return x < 2 ? 0u : Pos(x, 0); });
    m->MergeDraw(m.get(), 0, 0, Rect(2, 0, 4, 1));
    EXPECT_EQ(Columns(*m, 0), (std::vector<int>{2, 3, 2, 3}));
}

TEST(BitmapDrawing, DrawOntoPlainDCs)
{
    auto src = Filled(3, 1, [](int x, int) { return x == 1 ? 0x80FF0000u : 0xFF00FF00u; });
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(3, 1);
    for (int x = 0; x < 3; ++x) target.SetPixelArgb(x, 0, 0xFF0000FF);
    src->Draw(target.Canvas(), 0, 0);  // opaque: a GDI copy of all 32 bits
    EXPECT_EQ(target.PixelArgb(1, 0), 0x80FF0000u);
    for (int x = 0; x < 3; ++x) target.SetPixelArgb(x, 0, 0xFF0000FF);
    src->SetAlphaBlend(true);
    src->Draw(target.Canvas(), Rect(0, 0, 3, 1));
    EXPECT_EQ(target.PixelArgb(1, 0), 0xBF7F007Fu);
    EXPECT_EQ(target.PixelArgb(0, 0), 0xFF00FF00u);
}

TEST(BitmapDrawing, TileLaysCutCopiesFromTheTopLeft)
{
    auto src = Positions(10, 10);
    auto dst = Blank(27, 13);
    src->Tile(dst.get(), Rect(1, 0, 26, 12), Rect(0, 0, 10, 10));
    EXPECT_EQ(From(*dst, 1, 0), Point(0, 0));
    EXPECT_EQ(From(*dst, 11, 9), Point(0, 9));
    EXPECT_EQ(From(*dst, 25, 11), Point(4, 1));  // third column 5 wide, second row 2 high
    EXPECT_EQ(From(*dst, 26, 0), Point(-1, -1));
    EXPECT_EQ(From(*dst, 1, 12), Point(-1, -1));

    // The same through the DC of the skin bitmap and into a plain 32-bit DIB's DC.
    auto viaDC = Blank(27, 13);
    src->Tile(viaDC->Canvas(), Rect(1, 0, 26, 12), Rect(0, 0, 10, 10));
    TBitmap dib;
    dib.SetPixelFormat(pf32bit);
    dib.SetSize(27, 13);
    src->Tile(dib.Canvas(), Rect(1, 0, 26, 12), Rect(0, 0, 10, 10));
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 27; ++x) {
            ASSERT_EQ(viaDC->Pixel(x, y), dst->Pixel(x, y)) << x << "," << y;
            if (dst->Pixel(x, y)) {
                ASSERT_EQ(dib.PixelArgb(x, y), dst->Pixel(x, y)) << x << "," << y;
            }
        }
    // A source of no width draws nothing.
    auto none = Blank(5, 5);
    src->Tile(none.get(), Rect(0, 0, 5, 5), Rect(3, 3, 3, 8));
    EXPECT_EQ(From(*none, 0, 0), Point(-1, -1));
}

TEST(BitmapDrawing, TileClipDrawsOnlyTilesMeetingTheClip)
{
    auto src = Positions(10, 10);
    auto dst = Blank(25, 12);
    src->TileClip(dst.get(), Rect(0, 0, 25, 12), Rect(12, 0, 13, 12), Rect(0, 0, 10, 10));
    EXPECT_EQ(From(*dst, 10, 0), Point(0, 0));  // the whole tile of the second column
    EXPECT_EQ(From(*dst, 19, 11), Point(9, 1));
    EXPECT_EQ(From(*dst, 9, 11), Point(-1, -1));  // first column untouched
    EXPECT_EQ(From(*dst, 20, 0), Point(-1, -1));
    auto all = Blank(25, 12);
    src->TileClip(all->Canvas(), Rect(0, 0, 25, 12), TRect{}, Rect(0, 0, 10, 10));
    EXPECT_EQ(From(*all, 24, 11), Point(4, 1));
}

TEST(BitmapDrawing, MergeDrawGoesBeneathTheTarget)
{
    auto src = Positions(6, 1);
    auto dst = Filled(4, 1, [](int x, int) {
        const TbsColor px[] = {0x00000000, 0xFF0000FF, 0x80FF0000, 0x00000000};
        return px[x];
    });
    dst->MergeDraw(src.get(), -3, 0, Rect(0, 0, 6, 1));
    EXPECT_EQ(dst->Pixel(0, 0), Pos(3, 0));                             // alpha 0: the source
    EXPECT_EQ(dst->Pixel(1, 0), 0xFF0000FFu);                           // alpha 255: kept
    EXPECT_EQ(dst->Pixel(2, 0), BlendPixelMMX(0x80FF0000, Pos(5, 0)));  // the target over the source
    EXPECT_EQ(dst->Pixel(3, 0), 0u);                                    // past the source
    // A negative source left moves the target position right.
    auto d2 = Blank(4, 1);
    d2->MergeDraw(src.get(), 0, 0, Rect(-2, 0, 2, 1));
    EXPECT_EQ(Columns(*d2, 0), (std::vector<int>{-1, -1, 0, 1}));
}
