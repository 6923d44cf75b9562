// The effects bitmap: its 24-bit layout and blits, the transitions, the effects and the copies
// into other bitmaps, with out-of-range input kept inside both pictures.
#include <gtest/gtest.h>

#include <functional>

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/effect_bitmap.h"

namespace {

using Fx = std::unique_ptr<TbsEffectBmp>;

Fx Make(int W, int H, const std::function<int(int, int)>& F)
{
    Fx b = std::make_unique<TbsEffectBmp>(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->SetPixel(x, y, F(x, y));
    return b;
}

Fx Grey(int W, int H, int V)
{
    return Make(W, H, [V](int, int) { return V * 0x010101; });
}

// Pixel (x, y) = x + 16 y in every channel.
Fx Positions(int W, int H)
{
    return Make(W, H, [](int x, int y) { return (x + 16 * y) * 0x010101; });
}

std::vector<int> RowOf(const TbsEffectBmp& B, int Y)
{
    std::vector<int> v;
    for (int x = 0; x < B.Width; ++x) v.push_back(B.Pixel(x, Y) & 0xFF);
    return v;
}

}  // namespace

TEST(EffectBitmap, LayoutAndBlits)
{
    for (int w : {1, 2, 3, 4, 5}) {
        TbsEffectBmp b(w, 2);
        EXPECT_EQ(b.RowBytes(), 3 * w + w % 4);
        EXPECT_EQ(b.Size, (3 * w + w % 4) * 2);
        EXPECT_EQ(b.BmpHeader.biHeight, -2);
        EXPECT_EQ(b.BmpHeader.biBitCount, 24);
    }
    auto b = Make(3, 2, [](int x, int y) { return 0x102030 + x + 16 * y; });
    EXPECT_EQ(b->Pixel(2, 1), 0x102030 + 2 + 16);
    EXPECT_EQ(b->Bits[b->RowBytes() + 3 * 2 + 2], 0x10);  // red is the third byte
    uint8_t line[9];
    b->GetScanLine(1, line);
    EXPECT_EQ(line[0], 0x30 + 16);

    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(3, 2);
    bmp.SetPixelArgb(1, 1, 0xFF445566);
    Fx fromHandle(TbsEffectBmp::CreateFromhWnd(bmp.Handle()));
    EXPECT_EQ(fromHandle->Width, 3);
    EXPECT_EQ(fromHandle->Pixel(1, 1), 0x445566);
    Fx copy(TbsEffectBmp::CreateCopy(b.get()));
    EXPECT_EQ(copy->Pixel(2, 1), b->Pixel(2, 1));

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(8, 6);
    b->Draw(target.Canvas()->Handle(), 1, 1);
    EXPECT_EQ(target.PixelArgb(3, 2) & 0xFFFFFF, static_cast<uint32_t>(b->Pixel(2, 1)));
    b->Stretch(target.Canvas()->Handle(), 0, 0, 6, 4);
    EXPECT_EQ(target.PixelArgb(5, 3) & 0xFFFFFF, static_cast<uint32_t>(b->Pixel(2, 1)));
    // DrawRect: the 2 x 1 area at (1, 1), unscaled, at (5, 4).
    b->DrawRect(target.Canvas()->Handle(), 5, 4, 1, 1, 2, 1);
    EXPECT_EQ(target.PixelArgb(5, 4) & 0xFFFFFF, static_cast<uint32_t>(b->Pixel(1, 1)));
    EXPECT_EQ(target.PixelArgb(6, 4) & 0xFFFFFF, static_cast<uint32_t>(b->Pixel(2, 1)));
    EXPECT_EQ(target.PixelArgb(5, 5) & 0xFFFFFF, 0u);
}

TEST(EffectBitmap, Transitions)
{
    struct Case {
        const char* What;
        int W;
        std::function<void(TbsEffectBmp&, const TbsEffectBmp&)> Run;
        std::vector<int> Row;  // own 200, BMP 100 + column
    } cases[] = {
        {"morph 0", 4, [](auto& a, auto& b) { a.Morph(&b, 0); }, {200, 200, 200, 200}},
        {"morph 1", 4, [](auto& a, auto& b) { a.Morph(&b, 1); }, {100, 101, 102, 103}},
        {"morph 2", 4, [](auto& a, auto& b) { a.Morph(&b, 2); }, {100, 101, 102, 103}},
        {"left gradient",
         10,
         [](auto& a, auto& b) { a.MorphLeftGrad(&b, 0.5); },
         {100, 121, 141, 161, 181, 200, 200, 200, 200, 200}},
        {"right gradient", 4, [](auto& a, auto& b) { a.MorphRightGrad(&b, 0.5); }, {200, 200, 151, 103}},
        {"left slide 0", 4, [](auto& a, auto& b) { a.MorphLeftSlide(&b, 0); }, {103, 200, 200, 200}},
        {"right slide", 4, [](auto& a, auto& b) { a.MorphRightSlide(&b, 0.5); }, {200, 200, 100, 101}},
        {"push", 4, [](auto& a, auto& b) { a.MorphPush(&b, 0.5); }, {101, 102, 103, 200}},
        {"horizontal gradient 1",
         10,
         [](auto& a, auto& b) { a.MorphHGrad(&b, 1); },
         {100, 101, 102, 103, 104, 105, 106, 107, 108, 109}},
        {"gradient by kind", 4, [](auto& a, auto& b) { a.MorphBy(mkGradient, &b, 1); }, {100, 101, 102, 103}},
    };
    for (auto& c : cases) {
        auto own = Grey(c.W, 3, 200);
        auto bmp = Make(c.W, 3, [](int x, int) { return (100 + x) * 0x010101; });
        c.Run(*own, *bmp);
        EXPECT_EQ(RowOf(*own, 1), c.Row) << c.What;
    }
    // A band leaving g = 0 turns every row into the target's (step 0 keeps t at 0).
    auto tall = Grey(2, 5, 200);
    auto target = Make(2, 5, [](int, int y) { return (10 + y) * 0x010101; });
    tall->MorphVGrad(target.get(), 0.8);  // b = 4, g = 0
    for (int y = 0; y < 5; ++y) EXPECT_EQ(tall->Pixel(0, y) & 0xFF, 10 + y);
    // A target of another size changes nothing.
    auto a = Grey(4, 3, 200);
    auto other = Grey(5, 3, 100);
    for (int k = mkDefault; k <= mkPush; ++k) a->MorphBy(static_cast<TbsMorphKind>(k), other.get(), 0.5);
    EXPECT_EQ(RowOf(*a, 0), (std::vector<int>{200, 200, 200, 200}));
}

TEST(EffectBitmap, RectangleTransitionsStayInsideBothPictures)
{
    auto a = Grey(4, 4, 200);
    auto b = Positions(3, 3);
    a->CopyRect(b.get(), Rect(1, 1, 10, 10), 1, 1);  // right and bottom cut to 3 and counted inclusively
    EXPECT_EQ(a->Pixel(1, 1) & 0xFF, 17);
    EXPECT_EQ(a->Pixel(2, 2) & 0xFF, 34);
    EXPECT_EQ(a->Pixel(3, 3) & 0xFF, 200);  // source (3, 3) lies outside b
    a->CopyRect(b.get(), Rect(-5, -5, 2, 2), -100, 50);
    a->MorphRect(b.get(), 1, Rect(0, 0, 4, 1), 1, 0);
    EXPECT_EQ(RowOf(*a, 0), (std::vector<int>{1, 2, 200, 200}));
    a->MorphRect(b.get(), 0.5, Rect(-3, -3, 9, 9), -2, 7);
}

TEST(EffectBitmap, ColourEffects)
{
    auto a = Make(3, 1, [](int x, int) { return x == 0 ? 0xC8C8C8 : x == 1 ? 0x646464 : 0xFF0000; });
    auto d = Fx(TbsEffectBmp::CreateCopy(a.get()));
    d->ChangeDarkness(0.3);
    EXPECT_EQ(d->Pixel(0, 0) & 0xFF, 140);
    auto br = Fx(TbsEffectBmp::CreateCopy(a.get()));
    br->ChangeBrightness(0.5);
    EXPECT_EQ(br->Pixel(1, 0) & 0xFF, 178);  // round(177.5) to even
    br->ChangeBrightness(5);                 // cut to 1: white
    EXPECT_EQ(br->Pixel(1, 0), 0xFFFFFF);
    auto g = Fx(TbsEffectBmp::CreateCopy(a.get()));
    g->GrayScale();
    EXPECT_EQ(g->Pixel(2, 0), 76 * 0x010101);  // round(76.5) to even
    g->Invert();
    EXPECT_EQ(g->Pixel(2, 0), 179 * 0x010101);
    auto n = Fx(TbsEffectBmp::CreateCopy(a.get()));
    for (int amount : {0, -7, 1}) n->AddMonoNoise(amount);
    n->AddColorNoise(0);
    EXPECT_EQ(n->Pixel(0, 0), 0xC8C8C8);
    n->AddMonoNoise(10);
    EXPECT_NEAR(n->Pixel(0, 0) & 0xFF, 200, 5);
    EXPECT_EQ(n->Pixel(0, 0) & 0xFF, (n->Pixel(0, 0) >> 8) & 0xFF);  // one offset for all channels
    n->AddColorNoise(10);
    EXPECT_NEAR((n->Pixel(1, 0) >> 16) & 0xFF, 100, 10);
}

TEST(EffectBitmap, MosaicWaveAndBlurs)
{
    auto m = Positions(3, 3);
    m->Mosaic(2);
    EXPECT_EQ(RowOf(*m, 0), (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(RowOf(*m, 1), (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(RowOf(*m, 2), (std::vector<int>{32, 32, 34}));
    m->Mosaic(1);
    EXPECT_EQ(RowOf(*m, 2), (std::vector<int>{32, 32, 34}));

    auto w = Positions(4, 4);
    w->Wave(0, 5, 3);
    w->Wave(5, 5, 0);  // no amplitude: unchanged
    EXPECT_EQ(RowOf(*w, 3), (std::vector<int>{48, 49, 50, 51}));

    // SplitBlur: the four diagonal samples, in place from the top: row 0 becomes 8, 9, 9 (its
    // mirrored samples), and the centre reads the blurred row above it.
    auto s = Positions(3, 3);
    s->SplitBlur(1);
    EXPECT_EQ(RowOf(*s, 0), (std::vector<int>{8, 9, 9}));
    EXPECT_EQ(s->Pixel(1, 1) & 0xFF, (8 + 9 + 32 + 34) / 4);
    // Mirrored positions past the edge stay inside: one row, one column, a huge amount.
    for (auto [w2, h2, amount] : {std::tuple{1, 5, 1}, {5, 1, 1}, {3, 3, 100}, {1, 1, 7}}) {
        auto e = Positions(w2, h2);
        e->SplitBlur(amount);
        auto mask = Grey(w2, h2, 0);
        e->MaskBlur(mask.get(), amount);
        e->MaskAntialiasing(mask.get(), amount);
    }
}

TEST(EffectBitmap, MaskOperations)
{
    // Inside where the mask is not white.
    auto mask = Make(3, 4, [](int x, int) { return x == 0 ? 0xFFFFFF : 0; });
    auto a = Grey(3, 3, 100);
    a->MaskFillColor(mask.get(), clRed, 0.5);
    EXPECT_EQ(a->Pixel(0, 0), 100 * 0x010101);
    EXPECT_EQ(a->Pixel(1, 0), 0xB23232);  // red round(177.5) = 178, the others 50
    // Another width, or fewer rows: nothing.
    auto narrow = Grey(2, 3, 0);
    auto b = Grey(3, 3, 100);
    b->MaskFillColor(narrow.get(), clRed, 1);
    auto shortMask = Grey(3, 2, 0);
    b->MaskFillColor(shortMask.get(), clRed, 1);
    EXPECT_EQ(b->Pixel(1, 1), 100 * 0x010101);

    // The blur changes only inside pixels; antialiasing only those next to the mask's edge.
    auto p = Positions(3, 3);
    auto edge = Make(3, 3, [](int x, int y) { return x == 2 && y == 2 ? 0xFFFFFF : 0; });
    p->MaskAntialiasing(edge.get(), 1);
    EXPECT_EQ(p->Pixel(1, 1) & 0xFF, (0 + 2 + 32 + 34) / 4);  // its diagonal (2, 2) is white
    EXPECT_EQ(p->Pixel(2, 2) & 0xFF, 34);                     // outside
    EXPECT_EQ(p->Pixel(0, 1) & 0xFF, 16);                     // no white diagonal sample
    auto q = Positions(3, 3);
    q->MaskBlur(edge.get(), 0);
    EXPECT_EQ(q->Pixel(1, 1) & 0xFF, 17);
    q->MaskBlur(edge.get(), 1);
    EXPECT_EQ(q->Pixel(2, 2) & 0xFF, 34);
    EXPECT_NE(q->Pixel(1, 1) & 0xFF, 17);
}

TEST(EffectBitmap, RotationsFlipAndResize)
{
    auto a = Positions(3, 2);  // row 0: 0 1 2, row 1: 16 17 18
    TbsEffectBmp r1(2, 3), r2(2, 3), f(3, 2), wrong(3, 3);
    a->Rotate90_1(&r1);
    EXPECT_EQ(RowOf(r1, 0), (std::vector<int>{2, 18}));
    EXPECT_EQ(RowOf(r1, 2), (std::vector<int>{0, 16}));
    a->Rotate90_2(&r2);
    EXPECT_EQ(RowOf(r2, 0), (std::vector<int>{16, 0}));
    EXPECT_EQ(RowOf(r2, 2), (std::vector<int>{18, 2}));
    a->FlipVert(&f);
    EXPECT_EQ(RowOf(f, 0), (std::vector<int>{16, 17, 18}));
    a->Rotate90_1(&wrong);
    a->FlipVert(&wrong);
    EXPECT_EQ(RowOf(wrong, 0), (std::vector<int>{0, 0, 0}));
    TbsEffectBmp big(6, 4);
    a->Resize(&big);
    // Scale 5/3: blocks of 3 columns at 0, 2 and 3; scale 3/2: blocks of 3 rows at 0 and 2.
    EXPECT_EQ(RowOf(big, 0), (std::vector<int>{0, 0, 1, 2, 2, 2}));
    EXPECT_EQ(RowOf(big, 3), (std::vector<int>{16, 16, 17, 18, 18, 18}));
    TbsEffectBmp small(1, 1);
    a->Resize(&small);  // blocks outside the target are skipped
    EXPECT_EQ(small.Pixel(0, 0) & 0xFF, 18);
}
