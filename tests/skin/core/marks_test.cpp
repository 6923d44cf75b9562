// Marks, caption glyphs, colour helpers and geometry helpers, pixel for pixel.
#include <gtest/gtest.h>

#include <set>

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/marks.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

std::unique_ptr<TBitmap> White(int W = 16, int H = 16)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(W, H);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, W, H));
    return b;
}

Pixels Drawn(TBitmap& B)
{
    Pixels p;
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x)
            if ((B.PixelArgb(x, y) & 0xFFFFFF) != 0xFFFFFF) p.insert({x, y});
    return p;
}

// The pixels of a line from a to b, end excluded; the lines here are level, upright or at 45°.
void Line(Pixels& P, int X1, int Y1, int X2, int Y2)
{
    int dx = (X2 > X1) - (X2 < X1), dy = (Y2 > Y1) - (Y2 < Y1);
    for (int x = X1, y = Y1; x != X2 || y != Y2; x += dx, y += dy) P.insert({x, y});
}

// Outline of (X1, Y1)-(X2, Y2), right and bottom exclusive.
void Frame(Pixels& P, int X1, int Y1, int X2, int Y2)
{
    for (int x = X1; x < X2; ++x) P.insert({x, Y1}), P.insert({x, Y2 - 1});
    for (int y = Y1; y < Y2; ++y) P.insert({X1, y}), P.insert({X2 - 1, y});
}

void Fill(Pixels& P, int X1, int Y1, int X2, int Y2)
{
    for (int y = Y1; y < Y2; ++y)
        for (int x = X1; x < X2; ++x) P.insert({x, y});
}

}  // namespace

TEST(Marks, ColourHelpers)
{
    EXPECT_EQ(AverageColor(clWhite, clBlack), 0x7F7F7F);
    TColor face = ColorToRGB(clBtnFace);
    TColor avg = AverageColor(clBtnFace, clWhite);
    EXPECT_EQ(avg & 0xFF, ((face & 0xFF) + 0xFF) >> 1);
    EXPECT_EQ(DarkenColor(0x00FF80, 50), 0x007F40);  // 0xFF - 128: MulDiv rounds 127.5 up
    EXPECT_EQ(DarkenColor(0x123456, 0), 0x123456);
    EXPECT_EQ(DarkenColor(0x123456, 100), 0);
}

TEST(Marks, ArrowsAndMarks)
{
    const TRect r = Rect(0, 0, 10, 10);  // centre (5, 5)
    struct Case {
        const char* What;
        std::function<void(TCanvas*)> Draw;
        std::function<void(Pixels&)> Expect;
    } cases[] = {
        {"drop-down", [&](TCanvas* c) { DrawDropDownArrow(c, r, clBlack); },
         [](Pixels& p) { Line(p, 3, 5, 8, 5), Line(p, 4, 6, 7, 6), Line(p, 5, 7, 6, 7); }},
        {"left", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 1); },
         [](Pixels& p) {
             for (int i = 0; i < 4; ++i) Line(p, 3 + i, 5 - i, 3 + i, 6 + i);
         }},
        {"right", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 2); },
         [](Pixels& p) {
             for (int n = 0; n < 4; ++n) Line(p, 7 - n, 5 - n, 7 - n, 6 + n);
         }},
        {"up", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 3); },
         [](Pixels& p) {
             for (int i = 0; i < 4; ++i) Line(p, 5 - i, 3 + i, 6 + i, 3 + i);
         }},
        {"down", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 4); },
         [](Pixels& p) {
             for (int n = 0; n < 4; ++n) Line(p, 5 - n, 7 - n, 6 + n, 7 - n);
         }},
        {"plus", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 5); },
         [](Pixels& p) { Line(p, 1, 4, 9, 4), Line(p, 1, 5, 9, 5), Line(p, 4, 1, 4, 9), Line(p, 5, 1, 5, 9); }},
        {"other kind", [&](TCanvas* c) { DrawArrowImage(c, r, clBlack, 6); }, [](Pixels&) {}},
        {"large down", [&](TCanvas* c) { DrawLargeArrowImage(c, r, clBlack, 4); },
         [](Pixels& p) {
             for (int n = 0; n < 6; ++n) Line(p, 5 - n, 7 - n, 6 + n, 7 - n);
         }},
        {"large plus", [&](TCanvas* c) { DrawLargeArrowImage(c, r, clBlack, 5); }, [](Pixels&) {}},
        {"check", [](TCanvas* c) { DrawCheckMark(c, 2, 3, clBlack); },
         [](Pixels& p) {
             for (int i = 0; i < 3; ++i) Line(p, 2, 8 - i, 4, 10 - i), Line(p, 4, 10 - i, 9, 5 - i);
         }},
        {"radio", [](TCanvas* c) { DrawRadioMark(c, 2, 3, clBlack); }, [](Pixels& p) { Fill(p, 2, 3, 8, 9); }},
        {"focus dots",
         [](TCanvas* c) {
             c->Font()->SetColor(clBlack);
             DrawDottedFocusRect(c, Rect(0, 0, 5, 5));
         },
         [](Pixels& p) {
             // Top 1, 3; right 0..4 continues the phase; corners handed over with one more flip.
             p = {{1, 0}, {3, 0}, {4, 1}, {4, 3}, {3, 4}, {1, 4}, {0, 3}, {0, 1}};
         }},
        {"3D frame", [](TCanvas* c) { Draw3DFrame(c, Rect(1, 1, 5, 4), clBlack, clRed); },
         [](Pixels& p) { Frame(p, 1, 1, 5, 4); }},
    };
    for (auto& c : cases) {
        auto b = White();
        c.Draw(b->Canvas());
        Pixels expect;
        c.Expect(expect);
        EXPECT_EQ(Drawn(*b), expect) << c.What;
    }
    // The 3D frame's colours: top and left in the first, right and bottom (with both corners)
    // in the second.
    auto b = White();
    Draw3DFrame(b->Canvas(), Rect(1, 1, 5, 4), clBlack, clRed);
    EXPECT_EQ(b->PixelArgb(1, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(b->PixelArgb(4, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(b->PixelArgb(1, 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(b->PixelArgb(3, 1) & 0xFFFFFF, 0u);
}

TEST(Marks, CaptionGlyphs)
{
    struct Case {
        const char* What;
        void (*Draw)(TCanvas*, int, int, TColor);
        std::function<void(Pixels&)> Expect;
    } cases[] = {
        {"close", DrawCloseGlyph,
         [](Pixels& p) { Line(p, 3, 3, 11, 11), Line(p, 11, 3, 3, 11), Line(p, 4, 3, 12, 11), Line(p, 10, 3, 2, 11); }},
        {"minimise", DrawMinimizeGlyph, [](Pixels& p) { Line(p, 3, 10, 11, 10), Line(p, 3, 11, 11, 11); }},
        {"maximise", DrawMaximizeGlyph, [](Pixels& p) { Frame(p, 2, 2, 13, 12), Frame(p, 2, 2, 13, 4); }},
        {"restore", DrawRestoreGlyph,
         [](Pixels& p) { Frame(p, 4, 2, 12, 8), Frame(p, 4, 2, 12, 4), Frame(p, 2, 6, 9, 12), Frame(p, 2, 6, 9, 8); }},
        {"roll up", DrawRollUpGlyph,
         [](Pixels& p) { Line(p, 4, 7, 11, 7), Line(p, 5, 6, 10, 6), Line(p, 6, 5, 9, 5), Line(p, 7, 4, 8, 4); }},
        {"roll down", DrawRollDownGlyph,
         [](Pixels& p) { Line(p, 7, 8, 8, 8), Line(p, 6, 7, 9, 7), Line(p, 5, 6, 10, 6), Line(p, 4, 5, 11, 5); }},
        {"tray", DrawTrayGlyph, [](Pixels& p) { Fill(p, 4, 4, 9, 9); }},
        {"system menu", DrawSysMenuGlyph, [](Pixels& p) { Line(p, 4, 5, 10, 5), Line(p, 4, 7, 10, 7); }},
    };
    for (auto& c : cases) {
        auto b = White();
        b->Canvas()->Brush()->SetColor(clWhite);
        c.Draw(b->Canvas(), 2, 2, clBlack);
        Pixels expect;
        c.Expect(expect);
        EXPECT_EQ(Drawn(*b), expect) << c.What;
    }
}

TEST(Marks, GeometryHelpers)
{
    TRect r = Rect(2, 3, 7, 9);
    EXPECT_EQ(RectWidth(r), 5);
    EXPECT_EQ(RectHeight(r), 6);
    EXPECT_TRUE(IsNullRect(Rect(5, 5, 5, 9)));
    EXPECT_TRUE(IsNullRect(Rect(5, 5, 1, 1)));
    EXPECT_FALSE(IsNullRect(r));
    EXPECT_TRUE(IsNullPoint(Point(0, 5)));
    EXPECT_FALSE(IsNullPoint(Point(1, 5)));
    EXPECT_TRUE(PointInsideRect(r, Point(7, 9)));
    EXPECT_FALSE(RectInsideRect(r, r));
    EXPECT_TRUE(RectInsideRect(Rect(3, 4, 6, 8), r));
    EXPECT_TRUE(RectPartlyInsideRect(Rect(0, 8, 1, 20), r));
    EXPECT_FALSE(RectPartlyInsideRect(Rect(0, 0, 1, 2), r));
    EXPECT_TRUE(SameRect(r, Rect(2, 3, 7, 9)));
    NullRect(r);
    EXPECT_EQ(r, TRect{});
    EXPECT_EQ(IntMax(3, -4), 3);
    EXPECT_EQ(IntMin(3, -4), -4);
}
