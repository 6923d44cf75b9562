// Text and glyph layout: the layout arithmetic, and texts judged by their measured extents and
// by comparison with the same text drawn directly, never by glyph pixels.
#include <gtest/gtest.h>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_api.h"
#include "skin/core/text_layout.h"
#include "tests/skin/core/skin_test_util.h"

namespace {

std::unique_ptr<TBitmap> White(int W, int H) { return skintest::WhiteBitmap(W, H); }

std::vector<uint32_t> PixelsOf(TBitmap& B)
{
    std::vector<uint32_t> v;
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x) v.push_back(B.PixelArgb(x, y) & 0xFFFFFF);
    return v;
}

using skintest::Ink;

}  // namespace

TEST(TextLayout, GlyphAndTextPositions)
{
    struct Case {
        TbsButtonLayout Layout;
        int Margin, GW, GH, TW, TH, Spacing;
        int TX, TY, GX, GY;
    } cases[] = {
        {blGlyphLeft, -1, 16, 16, 40, 13, 4, 40, 4, 20, 2},  // m = 30
        {blGlyphLeft, -1, 16, 16, 41, 13, 4, 39, 4, 20, 2},  // odd block: the gap shrinks to 3
        {blGlyphRight, -1, 16, 16, 40, 13, 4, 20, 4, 64, 2},
        {blGlyphTop, -1, 16, 16, 40, 13, 4, 30, 13, 42, -6},  // v = 16
        {blGlyphBottom, -1, 16, 16, 40, 13, 4, 30, -6, 42, 10},
        {blGlyphLeft, -1, 0, 0, 40, 13, 4, 30, 4, 30, 10},  // no glyph: spacing ignored, text centred
        {blGlyphLeft, 3, 16, 16, 40, 13, 4, 23, 4, 3, 2},
        {blGlyphRight, 3, 16, 16, 40, 13, 4, 38, 4, 82, 2},
        {blGlyphTop, 3, 16, 16, 40, 13, 4, 30, 23, 42, 3},
        {blGlyphBottom, 3, 16, 16, 40, 13, 4, 30, -15, 42, 2},
    };
    for (auto& c : cases) {
        int tx, ty, gx, gy;
        CalcGlyphAndTextPos(c.Layout, Rect(0, 0, 101, 21), c.GW, c.GH, c.TW, c.TH, c.Spacing, c.Margin, tx, ty, gx, gy);
        EXPECT_EQ((std::vector<int>{tx, ty, gx, gy}), (std::vector<int>{c.TX, c.TY, c.GX, c.GY}))
            << "layout " << c.Layout << " margin " << c.Margin << " tw " << c.TW;
    }
}

TEST(TextLayout, FitTextToWidth)
{
    auto b = White(10, 10);
    TCanvas* c = b->Canvas();
    for (auto fit : {FitTextToWidth, FitWideTextToWidth}) {
        String s = L"abcdef";
        fit(c, s, c->TextWidth(L"abc..."));
        EXPECT_EQ(s, L"abc...");
        s = L"abcdef";
        fit(c, s, 0);
        EXPECT_EQ(s, L"...");
        s = L"abc";
        fit(c, s, c->TextWidth(L"abc"));
        EXPECT_EQ(s, L"abc");
        s = L"";
        fit(c, s, 0);
        EXPECT_EQ(s, L"");
    }
    EXPECT_EQ(GetWideTextWidth(c, L"abc"), c->TextWidth(L"abc"));
    EXPECT_GT(GetWideTextHeight(c, L"abc"), 0);
}

TEST(TextLayout, SingleLineCorrections)
{
    // "Window" is drawn in a rectangle 2 pixels wider to the right, "window" is not: the same
    // pixels as DrawText in those rectangles.
    for (const wchar_t* text : {L"Window", L"window"}) {
        auto mine = White(80, 20), plain = White(80, 20);
        mine->Canvas()->Font()->SetHeight(-12);
        plain->Canvas()->Font()->SetHeight(-12);
        DrawCenteredText(mine->Canvas(), text, Rect(0, 0, 61, 20));
        TRect r = Rect(0, 0, text[0] == L'W' ? 63 : 61, 20);
        DrawWideText(plain->Canvas(), text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        EXPECT_EQ(PixelsOf(*mine), PixelsOf(*plain)) << (text[0] == L'W');
    }
    // An odd font height raises the text by one pixel.
    auto odd = White(80, 21), plain = White(80, 21);
    for (auto* b : {odd.get(), plain.get()}) b->Canvas()->Font()->SetHeight(-13);
    ASSERT_TRUE(OddFontHeight(odd->Canvas()));
    DrawVCenterText(odd->Canvas(), L"abc", Rect(0, 0, 80, 21));
    TRect raised = Rect(0, -1, 80, 21);
    DrawWideText(plain->Canvas(), L"abc", raised, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(PixelsOf(*odd), PixelsOf(*plain));
    odd->Canvas()->Font()->SetHeight(-12);
    EXPECT_FALSE(OddFontHeight(odd->Canvas()));

    // Alignment 3 draws nothing; 0, 1 and 2 place the text left, right and centred.
    auto none = White(80, 20);
    DrawAlignedText(none->Canvas(), L"abc", Rect(0, 0, 80, 20), 3);
    EXPECT_EQ(Ink(*none).Right, -1);
    auto left = White(80, 20), right = White(80, 20);
    DrawAlignedText(left->Canvas(), L"abc", Rect(0, 0, 80, 20), 0);
    DrawAlignedText(right->Canvas(), L"abc", Rect(0, 0, 80, 20), 1);
    EXPECT_LT(Ink(*left).Left, 5);
    EXPECT_GT(Ink(*right).Right, 75);
    // Empty texts draw nothing.
    auto empty = White(80, 20);
    for (auto f : {DrawVCenterText, DrawVCenterText2, DrawCenteredText, DrawClippedText})
        f(empty->Canvas(), L"", Rect(0, 0, 80, 20));
    EXPECT_EQ(Ink(*empty).Right, -1);
}

TEST(TextLayout, ClippedTextStartsTwoPixelsIn)
{
    auto a = White(80, 20), b = White(80, 20);
    DrawClippedTextIndent(a->Canvas(), L"abc", Rect(10, 0, 80, 20), 5);
    int y = 10 - b->Canvas()->TextHeight(L"abc") / 2 - (OddFontHeight(b->Canvas()) ? 1 : 0);
    b->Canvas()->TextOut(17, y, L"abc");
    EXPECT_EQ(PixelsOf(*a), PixelsOf(*b));
}

TEST(TextLayout, WrappedTextBreaksOrShortensLongWords)
{
    auto b = White(10, 10);
    TCanvas* c = b->Canvas();
    int w = c->TextWidth(L"abcd");
    // Wrapping: a space goes in where the word no longer fits.
    String wrapped = WrappedText(c, L"abcdefgh ij", w, true);
    EXPECT_EQ(wrapped.substr(0, 4), L"abcd");
    EXPECT_EQ(wrapped[4], L' ');
    EXPECT_EQ(std::count(wrapped.begin(), wrapped.end(), L' '), 2);
    // Shortening: the last three characters that fit become dots and a space follows; the rest
    // of the word goes, and the space after it is kept.
    String cut = WrappedText(c, L"abcdefgh ij", w, false);
    EXPECT_EQ(cut, L"a...  ij");
}

TEST(TextLayout, GlyphFramesAndImages)
{
    // A strip of 4 frames, 16 wide each; frame 2 is columns 16 .. 31.
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(64, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x) strip.SetPixelArgb(x, y, y == 3 && x % 16 == 0 ? 0xFF00FF00u : 0xFF000000u | x);
    auto b = White(20, 6);
    DrawGlyphFrame(b->Canvas(), 2, 1, &strip, 4, 2);
    EXPECT_EQ(b->PixelArgb(2, 1) & 0xFFFFFF, 16u);
    EXPECT_EQ(b->PixelArgb(17, 3) & 0xFFFFFF, 31u);
    EXPECT_EQ(b->PixelArgb(2, 4) & 0xFFFFFF, 0xFFFFFFu);  // the transparent colour (bottom-left) left out
    EXPECT_EQ(b->PixelArgb(18, 1) & 0xFFFFFF, 0xFFFFFFu);

    // An image index equal to the count draws no glyph: the caption is laid out alone.
    TImageList images(nullptr);
    images.SetSize(16, 16);
    auto alone = White(101, 21), withBad = White(101, 21);
    DrawImageAndText(alone->Canvas(), Rect(0, 0, 101, 21), -1, 4, blGlyphLeft, L"abc", -1, nullptr, false, true, false,
                     0);
    DrawImageAndText(withBad->Canvas(), Rect(0, 0, 101, 21), -1, 4, blGlyphLeft, L"abc", images.Count(), &images, false,
                     true, false, 0);
    EXPECT_EQ(PixelsOf(*alone), PixelsOf(*withBad));
    // The filled colour marker without glyph and caption.
    auto marker = White(20, 20);
    DrawGlyphAndText(marker->Canvas(), Rect(0, 0, 20, 20), -1, 0, blGlyphLeft, L"", nullptr, 1, 1, true, true, clRed);
    EXPECT_EQ(Ink(*marker), Rect(4, 5, 18, 17));
    auto marker2 = White(20, 20);
    DrawImageAndText(marker2->Canvas(), Rect(0, 0, 20, 20), -1, 0, blGlyphLeft, L"", -1, nullptr, false, true, true,
                     clRed);
    EXPECT_EQ(Ink(*marker2), Rect(4, 4, 18, 16));
}
