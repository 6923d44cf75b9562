// Text through Pango: extents, metrics, DrawTextW flags and placement. Pixels depend on the fonts,
// so placement is asserted through measured extents and the bounding box of drawn pixels.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/platform/win/gdi_test_support.h"

namespace {

HFONT Font(const wchar_t* face, int height, int weight = FW_NORMAL)
{
    LOGFONTW lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::wcscpy(lf.lfFaceName, face);
    return CreateFontIndirectW(&lf);
}

// Bounding box of the pixels that differ from white.
RECT Ink(TestDib& d)
{
    RECT r{d.w, d.h, -1, -1};
    for (int y = 0; y < d.h; ++y)
        for (int x = 0; x < d.w; ++x)
            if ((d.at(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

}  // namespace

TEST(WinText, MetricsFollowTheHeightConvention)
{
    TestDib d(10, 10);
    HFONT f = Font(L"Tahoma", -13);
    SelectObject(d.dc, f);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(d.dc, &tm));
    EXPECT_GE(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 13);
    // A positive height asks for the cell height.
    HFONT g = Font(L"Tahoma", 20);
    SelectObject(d.dc, g);
    GetTextMetricsW(d.dc, &tm);
    EXPECT_NEAR(tm.tmHeight, 20, 1);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
    DeleteObject(g);
}

TEST(WinText, ExtentsGrowWithTextAndChineseIsMeasured)
{
    TestDib d(10, 10);
    HFONT f = Font(L"Tahoma", -13);
    SelectObject(d.dc, f);
    SIZE a, b, zh;
    GetTextExtentPoint32W(d.dc, L"Conv", 4, &a);
    GetTextExtentPoint32W(d.dc, L"Converter", 9, &b);
    GetTextExtentPoint32W(d.dc, L"格式转换", 4, &zh);
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(b.cx, a.cx);
    // Four CJK characters of a 13-pixel font are about 13 pixels each: the fallback font was found.
    EXPECT_GE(zh.cx, 4 * 11);
    EXPECT_LE(zh.cx, 4 * 16);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
}

TEST(WinText, DrawTextCalcRectLinesAndPrefix)
{
    TestDib d(200, 100, 0xFFFFFFFF);
    HFONT f = Font(L"Arial", -12);
    SelectObject(d.dc, f);
    TEXTMETRICW tm;
    GetTextMetricsW(d.dc, &tm);
    RECT r{0, 0, 200, 0};
    int h = DrawTextW(d.dc, L"a\r\nb\n\rc", -1, &r, DT_CALCRECT);
    EXPECT_EQ(h, 3 * tm.tmHeight);  // CR LF and LF CR break once each
    EXPECT_EQ(r.bottom, 3 * tm.tmHeight);
    // "&&" is one "&"; "&Yes" measures as "Yes".
    SIZE yes;
    GetTextExtentPoint32W(d.dc, L"Yes", 3, &yes);
    r = RECT{0, 0, 200, 0};
    DrawTextW(d.dc, L"&Yes", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, yes.cx);
    r = RECT{0, 0, 200, 0};
    DrawTextW(d.dc, L"&Yes", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(r.right, yes.cx);
    // Word breaking wraps at the width.
    r = RECT{0, 0, 60, 0};
    DrawTextW(d.dc, L"one two three four five", -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(r.bottom, 3 * tm.tmHeight);
    EXPECT_LE(r.right, 60);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
}

TEST(WinText, AlignmentClippingAndEllipsis)
{
    TestDib d(200, 40, 0xFFFFFFFF);
    HFONT f = Font(L"Tahoma", -13);
    SelectObject(d.dc, f);
    SetBkMode(d.dc, TRANSPARENT);
    RECT r{0, 0, 200, 40};
    DrawTextW(d.dc, L"OK", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT ink = Ink(d);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 4);
    // Right alignment ends near the right edge; clipping keeps ink inside the rectangle.
    TestDib e(200, 40, 0xFFFFFFFF);
    SelectObject(e.dc, f);
    SetBkMode(e.dc, TRANSPARENT);
    RECT rr{0, 0, 50, 40};
    DrawTextW(e.dc, L"a very long caption that overflows", -1, &rr, DT_RIGHT | DT_SINGLELINE);
    EXPECT_LE(Ink(e).right, 50);
    // An ellipsis shortens the text to fit.
    RECT er{0, 0, 60, 20};
    SIZE full;
    GetTextExtentPoint32W(e.dc, L"a very long caption", 19, &full);
    ASSERT_GT(full.cx, 60);
    RECT calc = er;
    DrawTextW(e.dc, L"a very long caption", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(calc.right, 60);
    // DrawTextExW without parameters measures and draws as DrawTextW.
    wchar_t text[] = L"a very long caption";
    RECT calcEx = er;
    EXPECT_EQ(DrawTextExW(e.dc, text, -1, &calcEx, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS, nullptr),
              DrawTextW(e.dc, text, -1, &er, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS));
    EXPECT_EQ(calcEx.right, calc.right);
    EXPECT_EQ(std::wstring(text), L"a very long caption");
    // No text in a rectangle of negative width (a frame narrower than its borders): nothing to
    // shorten, and the call returns.
    RECT narrow{10, 0, 4, 20};
    EXPECT_GE(DrawTextW(e.dc, L"", -1, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS), 0);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    SelectObject(e.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
}

TEST(WinText, TextColourAndOpaqueBackgroundKeepTheDestinationAlpha)
{
    TestDib d(60, 30, 0x00000000);
    HFONT f = Font(L"Tahoma", -16, FW_BOLD);
    SelectObject(d.dc, f);
    SetTextColor(d.dc, RGB(255, 0, 0));
    SetBkMode(d.dc, TRANSPARENT);
    TextOutW(d.dc, 2, 2, L"H", 1);
    // Pure red text on black: the red channel carries the coverage, green and blue stay 0, alpha 0.
    int red = 0;
    for (int i = 0; i < 60 * 30; ++i) {
        std::uint32_t p = d.bits[i];
        EXPECT_EQ(p & 0xFF00FFFF, 0u);
        if (p & 0xFF0000) ++red;
    }
    EXPECT_GT(red, 10);
    SetBkMode(d.dc, OPAQUE);
    SetBkColor(d.dc, RGB(0, 0, 255));
    TextOutW(d.dc, 30, 2, L"i", 1);
    EXPECT_EQ(d.at(30, 3) & 0xFFFFFF, 0x0000FFu);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
}

TEST(WinText, WindowsFaceNamesMapToTheInstalledFonts)
{
    struct Case {
        const wchar_t* face;
        const char* family;
    } cases[] = {{L"Tahoma", "DejaVu Sans"},
                 {L"Arial", "DejaVu Sans"},
                 {L"MS Sans Serif", "DejaVu Sans"},
                 {L"宋体", "WenQuanYi Micro Hei"},
                 {L"微软雅黑", "WenQuanYi Micro Hei"}};
    for (auto& c : cases) EXPECT_EQ(vxwin::ResolvedFontFamily(c.face), c.family) << c.family;
}

TEST(WinText, PrefixUnderlinesTheAcceleratorUnlessHidden)
{
    auto inkCount = [](UINT extra) {
        TestDib d(80, 30, 0xFFFFFFFF);
        HFONT f = Font(L"Tahoma", -14);
        SelectObject(d.dc, f);
        SetBkMode(d.dc, TRANSPARENT);
        RECT r{0, 0, 80, 30};
        DrawTextW(d.dc, L"&Yes", -1, &r, DT_SINGLELINE | extra);
        int n = 0;
        for (int i = 0; i < 80 * 30; ++i)
            if ((d.bits[i] & 0xFFFFFF) != 0xFFFFFF) ++n;
        SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
        DeleteObject(f);
        return n;
    };
    int shown = inkCount(0), hidden = inkCount(DT_HIDEPREFIX);
    EXPECT_GT(shown, hidden);  // the underline under "Y"
    EXPECT_GT(hidden, 10);
}

TEST(WinText, TabbedTextOutMovesEachTabToTheNextStop)
{
    TestDib d(300, 30);
    HFONT f = Font(L"Tahoma", -13);
    SelectObject(d.dc, f);
    SIZE a, b, c;
    GetTextExtentPoint32W(d.dc, L"a", 1, &a);
    GetTextExtentPoint32W(d.dc, L"b", 1, &b);
    GetTextExtentPoint32W(d.dc, L"c", 1, &c);
    TEXTMETRICW tm;
    GetTextMetricsW(d.dc, &tm);
    const int dflt = 8 * tm.tmAveCharWidth;
    const INT stops[] = {40, 90};
    const INT one[] = {30};
    struct Row {
        const wchar_t* text;
        int count;
        const INT* positions;
        int origin;
        int width;  // expected width of what is drawn from x = 5
    } rows[] = {
        {L"a\tb\tc", 2, stops, 5, 90 + c.cx},       // stops at origin + 40 and + 90
        {L"a\tb\tc", 1, one, 5, 60 + c.cx},         // one position: every 30
        {L"a\tb", 0, nullptr, 5, dflt + b.cx},      // none: the default step
        {L"a\tb\tc\tx", 2, stops, 5, 0},            // past the last stop: the default step on
        {L"abc", 2, stops, 5, a.cx + b.cx + c.cx},  // no tab: plain text
        {L"a\tb", 2, stops, 0, 35 + b.cx},          // origin 0: the stop at 40, drawn from x = 5
    };
    for (const Row& r : rows) {
        LONG res = TabbedTextOutW(d.dc, 5, 2, r.text, -1, r.count, r.positions, r.origin);
        EXPECT_EQ(HIWORD(res), tm.tmHeight) << r.text;
        if (r.width) {
            EXPECT_EQ(LOWORD(res), r.width) << r.text;
        }
    }
    // Past the last stop the text goes on at the next default step from the origin.
    LONG res = TabbedTextOutW(d.dc, 5, 2, L"a\tb\tc\tx", -1, 2, stops, 5);
    SIZE x;
    GetTextExtentPoint32W(d.dc, L"x", 1, &x);
    const int afterC = 90 + c.cx;
    EXPECT_EQ(LOWORD(res), (afterC / dflt + 1) * dflt + x.cx);
    SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(f);
}

TEST(WinText, RightToLeftReadingPutsTrailingPunctuationBeforeTheText)
{
    // "W" and a run of full stops: left to right the tall letter comes first; read right to
    // left, the neutral stops take the paragraph's direction and stand to the letter's left.
    const wchar_t* text = L"W........";
    HFONT f = Font(L"Tahoma", -20);
    auto tallInkCentre = [&](UINT extra, int* width) {
        TestDib d(200, 40, 0xFFFFFFFF);
        SelectObject(d.dc, f);
        SetBkMode(d.dc, TRANSPARENT);
        RECT r{0, 0, 200, 40};
        DrawTextW(d.dc, text, -1, &r, DT_SINGLELINE | DT_NOPREFIX | extra);
        RECT c{0, 0, 200, 40};
        DrawTextW(d.dc, text, -1, &c, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | extra);
        *width = c.right;
        TEXTMETRICW tm;
        GetTextMetricsW(d.dc, &tm);
        // Only the letter reaches into the upper half of the ascent.
        int lo = 200, hi = -1;
        for (int y = 0; y < tm.tmAscent / 2 + 1; ++y)
            for (int x = 0; x < 200; ++x)
                if ((d.at(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        SelectObject(d.dc, GetStockObject(DEFAULT_GUI_FONT));
        return hi < 0 ? -1 : (lo + hi) / 2;
    };
    int ltrW = 0, rtlW = 0;
    const int ltr = tallInkCentre(0, &ltrW), rtl = tallInkCentre(DT_RTLREADING, &rtlW);
    EXPECT_EQ(ltrW, rtlW);
    ASSERT_GE(ltr, 0);
    ASSERT_GE(rtl, 0);
    EXPECT_LT(ltr, ltrW / 3);
    EXPECT_GT(rtl, 2 * rtlW / 3);
    DeleteObject(f);
}
