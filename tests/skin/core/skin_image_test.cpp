// Skin image composition on a skin picture whose pixels name their own position: each result
// pixel tells which source pixel it came from.
#include <gtest/gtest.h>

#include "skin/core/skin_image.h"

namespace {

const TRect kR = Rect(5, 3, 35, 23);  // 30 x 20 inside a 40 x 30 picture

// Red = x, green = y, blue 0x55 (so undrawn black pixels are told apart).
std::unique_ptr<TBitmap> Skin(TPixelFormat F = pf24bit)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(F);
    b->SetSize(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) b->SetPixelArgb(x, y, 0xFF000055u | (x << 16) | (y << 8));
    return b;
}

// The position in R a pixel came from, (-1, -1) for an undrawn one.
TPoint From(TBitmap& B, int X, int Y)
{
    uint32_t c = B.PixelArgb(X, Y);
    if ((c & 0xFF) != 0x55) return Point(-1, -1);
    return Point(static_cast<int>((c >> 16) & 0xFF) - kR.Left, static_cast<int>((c >> 8) & 0xFF) - kR.Top);
}

// The nine-part geometry of the worked example and its derivation for a new size.
struct Geometry {
    TPoint LT{10, 8}, RT{20, 8}, LB{10, 12}, RB{20, 12};
    TRect Cl = Rect(4, 4, 26, 16);
    int Rw = 30, Rh = 20;

    void Compose(TBitmap& B, TBitmap& SB, int W, int H, bool Edges, bool Stretch, TbsStretchType T, bool Client = true,
                 bool Left = false) const
    {
        TPoint nrt{W - (Rw - RT.X), RT.Y}, nlb{LB.X, H - (Rh - LB.Y)}, nrb{W - (Rw - RB.X), H - (Rh - RB.Y)};
        TRect ncl = Rect(Cl.Left, Cl.Top, W - (Rw - Cl.Right), H - (Rh - Cl.Bottom));
        auto f = Left ? CreateLeftSkinImage : CreateSkinImage;
        f(LT, RT, LB, RB, Cl, LT, nrt, nlb, nrb, ncl, &B, &SB, kR, W, H, Client, Edges, Edges, Edges, Edges, Stretch,
          T);
    }
};

}  // namespace

TEST(SkinImage, WorkedExampleTiledPixelForPixel)
{
    auto sb = Skin();
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    Geometry().Compose(b, *sb, 55, 20, false, false, bsstFull);
    ASSERT_EQ(b.Width(), 55);
    // Rows keep their positions (same height); columns by region.
    auto srcX = [](int x, int y) {
        bool band = y < 4 || y >= 16;
        if (band) return x < 10 ? x : x < 45 ? 10 + (x - 10) % 10 : x - 25;
        return x < 4 ? x : x < 51 ? 4 + (x - 4) % 22 : x - 25;
    };
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 55; ++x) ASSERT_EQ(From(b, x, y), Point(srcX(x, y), y)) << x << "," << y;
    // The named pieces: the last top tile is cut to 5 (source 10..15), corner 3 at 45, the
    // centre's last column 3 wide.
    EXPECT_EQ(From(b, 44, 0), Point(14, 0));
    EXPECT_EQ(From(b, 45, 0), Point(20, 0));
    EXPECT_EQ(From(b, 50, 10), Point(6, 10));
}

TEST(SkinImage, EqualSizeReproducesTheSkinRectInEveryMode)
{
    auto sb = Skin();
    for (bool edges : {false, true})
        for (int mode = 0; mode < 4; ++mode) {
            TBitmap b;
            b.SetPixelFormat(pf24bit);
            Geometry().Compose(b, *sb, 30, 20, edges, mode > 0, static_cast<TbsStretchType>(std::max(mode - 1, 0)));
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 30; ++x)
                    ASSERT_EQ(From(b, x, y), Point(x, y)) << x << "," << y << " edges " << edges << " mode " << mode;
        }
}

TEST(SkinImage, StretchedCentreByType)
{
    Geometry g;
    g.Cl = Rect(4, 4, 14, 16);  // a client piece 10 wide
    g.RT = Point(12, 8);
    g.RB = Point(12, 12);
    auto sb = Skin();
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    g.Compose(b, *sb, 45, 20, false, true, bsstHorz);  // client area 4 .. 29: 25 wide
    for (int x = 4; x < 29; ++x) EXPECT_EQ(From(b, x, 10), Point(4 + (x - 4) % 10, 10)) << x;
    EXPECT_EQ(From(b, 29, 10), Point(14, 10));  // the buffer copies stop at the client area

    TBitmap v;
    v.SetPixelFormat(pf24bit);
    g.Compose(v, *sb, 30, 44, false, true, bsstVert);  // client area rows 4 .. 40: 36 high, pieces of 12
    for (int y = 4; y < 40; ++y) EXPECT_EQ(From(v, 8, y).Y, 4 + (y - 4) % 12) << y;

    TBitmap none;  // no client width: nothing in the centre, the right band follows the left
    none.SetPixelFormat(pf24bit);
    g.Compose(none, *sb, 20, 20, false, true, bsstFull);
    EXPECT_EQ(From(none, 4, 10), Point(14, 10));
}

TEST(SkinImage, StepZeroAndUndersizedDestinationsDrawNothingWrong)
{
    auto sb = Skin();
    // A top edge of no width, tiled: nothing between the corners; no fault.
    Geometry flat;
    flat.RT = Point(10, 8);
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    flat.Compose(b, *sb, 40, 20, false, false, bsstFull);
    EXPECT_EQ(From(b, 15, 1), Point(-1, -1));
    EXPECT_EQ(From(b, 1, 1), Point(1, 1));
    // A client piece of no width, tiled into a client area that has one: no centre.
    Geometry n;
    TBitmap c;
    c.SetPixelFormat(pf24bit);
    CreateSkinImage(n.LT, n.RT, n.LB, n.RB, Rect(4, 4, 4, 16), n.LT, Point(20, 8), Point(10, 12), Point(20, 12),
                    Rect(4, 4, 10, 16), &c, sb.get(), kR, 30, 20, true, false, false, false, false, false, bsstFull);
    EXPECT_EQ(From(c, 7, 10), Point(-1, -1));
    // Stopping condition: the size is taken, nothing drawn.
    Geometry stop;
    stop.RB = Point(10, 12);
    TBitmap d;
    d.SetPixelFormat(pf24bit);
    stop.Compose(d, *sb, 33, 21, false, false, bsstFull);
    EXPECT_EQ(d.Width(), 33);
    EXPECT_EQ(From(d, 0, 0), Point(-1, -1));
    // Narrower than the two corners: the right corner covers the left one, no edge tile and no
    // centre tile reaches outside the client area.
    TBitmap e;
    e.SetPixelFormat(pf24bit);
    Geometry().Compose(e, *sb, 15, 20, false, false, bsstFull);
    EXPECT_EQ(From(e, 7, 0), Point(22, 0));
    EXPECT_EQ(From(e, 12, 10), Point(27, 10));  // the right band, not a centre tile
    EXPECT_EQ(From(e, 6, 10), Point(6, 10));
}

TEST(SkinImage, LeftImageTilesByItsOwnStep)
{
    // The top edge steps by RBPoint.X - LTPoint.X = 14 while its piece is 10 wide: scaled tiles.
    Geometry g;
    g.RB = Point(24, 12);
    auto sb = Skin();
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    g.Compose(b, *sb, 50, 20, false, false, bsstFull, true, true);
    EXPECT_EQ(From(b, 10, 0), Point(10, 0));
    EXPECT_EQ(From(b, 24, 0), Point(10, 0));          // the second tile starts one step on
    EXPECT_EQ(From(b, 23, 0).X, 19);                  // the first tile's piece reaches source 19
    EXPECT_EQ(From(b, 49, 10).X, 4 + (49 - 4) % 22);  // the centre runs to the right end
}

TEST(SkinImage, StretchImageStretchesEverything)
{
    auto sb = Skin();
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(30, 20);
    CreateStretchImage(&b, sb.get(), kR, Rect(4, 4, 26, 16), true);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(From(b, x, y), Point(x, y));
    b.SetSize(60, 20);
    CreateStretchImage(&b, sb.get(), kR, Rect(4, 4, 26, 16), true);
    EXPECT_EQ(From(b, 59, 19), Point(29, 19));
    EXPECT_EQ(From(b, 3, 0), Point(3, 0));
}

TEST(SkinImage, ThreePartImages)
{
    auto sb = Skin();
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    CreateHSkinImage(3, 4, &b, sb.get(), kR, 60, 999, false);
    EXPECT_EQ(b.Height(), 20);
    EXPECT_EQ(From(b, 2, 5), Point(2, 5));
    EXPECT_EQ(From(b, 3, 5), Point(3, 5));
    EXPECT_EQ(From(b, 26, 5), Point(3, 5));   // middle of 23 tiled
    EXPECT_EQ(From(b, 56, 5), Point(26, 5));  // right cap
    CreateHSkinImage(0, 0, &b, sb.get(), kR, 70, 0, false);
    EXPECT_EQ(From(b, 65, 0), Point(5, 0));
    CreateHSkinImage(15, 15, &b, sb.get(), kR, 40, 0, false);  // middle of no width: step 1
    EXPECT_EQ(From(b, 20, 1), Point(15, 1));
    CreateLeftHSkinImage(3, 4, &b, sb.get(), kR, 60, 0, false);
    EXPECT_EQ(From(b, 59, 5), Point(3 + (59 - 3) % 23, 5));
    CreateMiddleHSkinImage(3, 4, &b, sb.get(), kR, 50, 0, true);
    EXPECT_EQ(From(b, 0, 5), Point(3, 5));
    EXPECT_EQ(From(b, 49, 5), Point(24, 5));  // the float scale 22/49 falls just short of 25

    TBitmap v;
    v.SetPixelFormat(pf24bit);
    CreateVSkinImage(2, 3, &v, sb.get(), kR, 999, 50, false);
    EXPECT_EQ(v.Width(), 30);
    EXPECT_EQ(From(v, 0, 1), Point(0, 1));
    EXPECT_EQ(From(v, 0, 2 + 15), Point(0, 2));  // middle 15 high
    EXPECT_EQ(From(v, 0, 49), Point(0, 19));
    TBitmap v2;
    v2.SetPixelFormat(pf24bit);
    CreateVSkinImage(10, 10, &v2, sb.get(), kR, 0, 40, false);  // no middle: nothing between the caps
    EXPECT_EQ(From(v2, 0, 20), Point(-1, -1));
    EXPECT_EQ(From(v2, 0, 39), Point(0, 19));
}

TEST(SkinImage, BorderImages)
{
    Geometry g;
    auto sb = Skin();
    TBitmap l, t, r, b;
    for (TBitmap* p : {&l, &t, &r, &b}) p->SetPixelFormat(pf24bit);
    const int W = 40, H = 26;
    TPoint nrt{W - 10, 8}, nlb{10, H - 8}, nrb{W - 10, H - 8};
    TRect ncl = Rect(4, 4, W - 4, H - 4);
    CreateSkinBorderImages(g.LT, g.RT, g.LB, g.RB, g.Cl, g.LT, nrt, nlb, nrb, ncl, &l, &t, &r, &b, sb.get(), kR, W, H,
                           false, false, false, false);
    EXPECT_EQ(t.Width(), W);
    EXPECT_EQ(t.Height(), 4);
    EXPECT_EQ(From(t, 0, 0), Point(0, 0));
    EXPECT_EQ(From(t, 15, 0), Point(15, 0));  // tiled from x 0, then the left end over it
    EXPECT_EQ(From(t, 35, 1), Point(25, 1));  // right end
    EXPECT_EQ(b.Height(), 4);
    EXPECT_EQ(From(b, 0, 0), Point(0, 16));
    EXPECT_EQ(l.Width(), 4);
    EXPECT_EQ(l.Height(), H - 8);
    EXPECT_EQ(From(l, 0, 0), Point(0, 4));    // rows ClRect.Top .. LTPoint.Y first
    EXPECT_EQ(From(l, 0, 17), Point(0, 15));  // the last rows from LBPoint.Y .. ClRect.Bottom
    EXPECT_EQ(r.Width(), 4);
    EXPECT_EQ(From(r, 3, 0), Point(29, 4));

    // No top piece: TopB keeps its old size and the sides are measured with it.
    Geometry flat;
    flat.RT = Point(10, 8);
    TBitmap l2, t2, r2, b2;
    t2.SetSize(3, 2);
    CreateSkinBorderImages(flat.LT, flat.RT, flat.LB, flat.RB, flat.Cl, flat.LT, nrt, nlb, nrb, ncl, &l2, &t2, &r2, &b2,
                           sb.get(), kR, W, H, false, false, false, false);
    EXPECT_EQ(t2.Width(), 3);
    EXPECT_EQ(l2.Height(), H - 4 - 2);
}
