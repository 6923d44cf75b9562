// Objects, regions, DIB sections, DC state, blits and shapes, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win/win_api.h"
#include "tests/platform/win/gdi_test_support.h"

namespace {

std::vector<RECT> RegionRects(HRGN rgn)
{
    DWORD n = GetRegionData(rgn, 0, nullptr);
    std::vector<char> buf(n);
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    EXPECT_EQ(GetRegionData(rgn, n, data), n);
    const RECT* r = reinterpret_cast<const RECT*>(buf.data() + sizeof(RGNDATAHEADER));
    return std::vector<RECT>(r, r + data->rdh.nCount);
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(WinGdiHandles, StaleAndForeignHandlesGiveErrorsNotCrashes)
{
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(DeleteObject(b));
    EXPECT_FALSE(DeleteObject(b));  // stale
    HDC foreign = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x12345678));
    RECT r{0, 0, 4, 4};
    EXPECT_EQ(FillRect(foreign, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(SelectObject(foreign, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(BitBlt(foreign, 0, 0, 1, 1, foreign, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(foreign, 0, 0), CLR_INVALID);
    EXPECT_EQ(CombineRgn(reinterpret_cast<HRGN>(b), nullptr, nullptr, RGN_OR), ERROR);
    // A handle of another kind is refused too.
    TestDib d(2, 2);
    EXPECT_EQ(SelectObject(d.dc, reinterpret_cast<HGDIOBJ>(d.dc)), nullptr);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(d.bmp)));
    EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(d.bmp), WM_USER, 0, 0), 0);
}

TEST(WinGdiHandles, SelectedBitmapCannotBeDeletedUntilReleased)
{
    TestDib d(2, 2);
    EXPECT_FALSE(DeleteObject(d.bmp));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, d.bmp), nullptr);  // one DC at a time
    DeleteDC(other);
}

TEST(WinRegions, CombineOffsetAndTest)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int mode;
        int kind;
        std::vector<RECT> rects;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {{5, 5, 10, 10}}},
        {RGN_OR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
        {RGN_DIFF, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}}},
        {RGN_XOR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}, {10, 5, 15, 10}, {5, 10, 15, 15}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(CombineRgn(r, a, b, c.mode), c.kind);
        auto got = RegionRects(r);
        ASSERT_EQ(got.size(), c.rects.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(Same(got[i], c.rects[i]));
    }
    CombineRgn(r, a, b, RGN_OR);
    EXPECT_TRUE(PtInRegion(r, 12, 12));
    EXPECT_FALSE(PtInRegion(r, 12, 2));
    EXPECT_FALSE(PtInRegion(r, 15, 15));  // right and bottom exclusive
    OffsetRgn(r, 100, 200);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_TRUE(Same(box, RECT{100, 200, 115, 215}));
    for (HRGN h : {a, b, r}) DeleteObject(h);
}

TEST(WinRegions, ExtCreateRegionFromMaskRuns)
{
    // Two rows of runs as a mask scan produces them: (1..3) and (4..5) on row 0, full row 1.
    std::vector<char> buf(sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    data->rdh.dwSize = 32;
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = 3;
    data->rdh.rcBound = RECT{0, 0, 5, 2};
    RECT rs[3] = {{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 1, 5, 2}};
    std::memcpy(buf.data() + 32, rs, sizeof rs);
    HRGN r = ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), data);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(PtInRegion(r, 1, 0));
    EXPECT_FALSE(PtInRegion(r, 3, 0));
    EXPECT_TRUE(PtInRegion(r, 4, 0));
    EXPECT_TRUE(PtInRegion(r, 3, 1));
    auto got = RegionRects(r);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(Same(got[2], RECT{0, 1, 5, 2}));
    // A count larger than the block is refused.
    data->rdh.nCount = 1000;
    EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), data), nullptr);
    DeleteObject(r);
}

TEST(WinDib, SectionsReportTheirLayout)
{
    struct Case {
        int bpp;
        int height;
        int stride;
    } cases[] = {{32, -3, 20}, {24, -3, 16}, {24, 3, 16}, {8, 2, 8}, {1, 2, 4}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.bpp);
        // Room for a full colour table, as callers of palettised DIBs provide.
        std::vector<char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
        bi->bmiHeader = BITMAPINFOHEADER{};
        bi->bmiHeader.biWidth = 5;
        bi->bmiHeader.biHeight = c.height;
        bi->bmiHeader.biBitCount = static_cast<WORD>(c.bpp);
        void* bits = nullptr;
        HBITMAP b = CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(b, nullptr);
        DIBSECTION ds;
        ASSERT_EQ(GetObjectW(b, sizeof ds, &ds), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride);
        EXPECT_EQ(ds.dsBmih.biHeight, c.height);
        EXPECT_EQ(ds.dsBmih.biBitCount, c.bpp);
        DeleteObject(b);
    }
    // A compatible bitmap is no DIB: GetObject gives only a BITMAP.
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 4, 4);
    DIBSECTION ds;
    EXPECT_EQ(GetObjectW(ddb, sizeof ds, &ds), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    DeleteObject(ddb);
    ReleaseDC(nullptr, screen);
    DeleteDC(dc);
}

TEST(WinDib, BottomUpRowsAreReversedInMemory)
{
    TestDib d(2, 2, 0, 32, false);
    SetPixel(d.dc, 0, 0, RGB(255, 0, 0));  // top-left on screen = last row in memory
    EXPECT_EQ(d.bits[2] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(d.bits[0], 0u);
}

TEST(WinBlits, BitBltCopiesAll32BitsAndHonoursClipAndOrigins)
{
    TestDib src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.at(x, y) = 0x80000000u | (y * 16 + x);
    TestDib dst(6, 6, 0xFFFFFFFF);
    IntersectClipRect(dst.dc, 0, 0, 3, 6);
    SetViewportOrgEx(dst.dc, 1, 1, nullptr);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.at(1, 1), 0x80000000u);
    EXPECT_EQ(dst.at(2, 2), 0x80000011u);
    EXPECT_EQ(dst.at(3, 1), 0xFFFFFFFFu);  // clip is in device units: x < 3
    EXPECT_EQ(dst.at(0, 0), 0xFFFFFFFFu);
}

TEST(WinBlits, StretchRuleIsOneNearestNeighbourMapping)
{
    // 3 columns onto 5 sample 0, 0, 1, 1, 2; 11 onto 4 sample 0, 3, 6, 9; onto 1 the middle column.
    struct Case {
        int sw, dw;
        std::vector<int> cols;
    } cases[] = {{3, 5, {0, 0, 1, 1, 2}}, {11, 4, {0, 3, 6, 9}}, {5, 1, {2}}, {4, 4, {0, 1, 2, 3}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.dw);
        TestDib src(c.sw, 1);
        for (int x = 0; x < c.sw; ++x) src.at(x, 0) = static_cast<std::uint32_t>(x);
        TestDib dst(c.dw, 1, 0xFFFFFFFF);
        SetStretchBltMode(dst.dc, COLORONCOLOR);
        ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, c.dw, 1, src.dc, 0, 0, c.sw, 1, SRCCOPY));
        for (int x = 0; x < c.dw; ++x) EXPECT_EQ(dst.at(x, 0), static_cast<std::uint32_t>(c.cols[x])) << x;
    }
}

TEST(WinBlits, NegativeExtentMirrors)
{
    TestDib src(3, 1);
    for (int x = 0; x < 3; ++x) src.at(x, 0) = static_cast<std::uint32_t>(x + 1);
    TestDib dst(3, 1);
    StretchBlt(dst.dc, 2, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(dst.at(0, 0), 3u);
    EXPECT_EQ(dst.at(1, 0), 2u);
    EXPECT_EQ(dst.at(2, 0), 1u);
}

TEST(WinBlits, RasterOperations)
{
    TestDib src(1, 1, 0x00F0F0F0);
    struct Case {
        DWORD rop;
        std::uint32_t dst, expect;
    } cases[] = {
        {SRCAND, 0x003C3C3C, 0x00303030},     {SRCPAINT, 0x000F0F0F, 0x00FFFFFF},  {SRCINVERT, 0x00FF0000, 0x000FF0F0},
        {NOTSRCCOPY, 0x00000000, 0x000F0F0F}, {DSTINVERT, 0x00102030, 0x00EFDFCF}, {BLACKNESS, 0x00123456, 0x00000000},
        {WHITENESS, 0x00123456, 0x00FFFFFF},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.rop);
        TestDib dst(1, 1, c.dst);
        BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop);
        EXPECT_EQ(dst.at(0, 0) & 0xFFFFFF, c.expect);
    }
    TestDib pat(2, 1, 0x00112233);
    SelectObject(pat.dc, GetStockObject(BLACK_BRUSH));
    PatBlt(pat.dc, 0, 0, 1, 1, PATCOPY);
    EXPECT_EQ(pat.at(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(pat.at(1, 0), 0x00112233u);
}

TEST(WinBlits, TransparentBltSkipsTheKeyOnRgbAndStoresOpaquePixels)
{
    TestDib src(3, 1);
    src.at(0, 0) = 0x007F007F;  // key (alpha ignored)
    src.at(1, 0) = 0xFF7F007F;  // key too
    src.at(2, 0) = 0x00102030;
    TestDib dst(6, 1, 0x11111111);
    ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 6, 1, src.dc, 0, 0, 3, 1, 0x7F007F));
    // 3 onto 6: columns 0, 0, 0, 1, 1, 2 (the scale 2/5 truncated).
    EXPECT_EQ(dst.at(0, 0), 0x11111111u);
    EXPECT_EQ(dst.at(3, 0), 0x11111111u);
    EXPECT_EQ(dst.at(5, 0), 0xFF102030u);
}

TEST(WinBlits, AlphaBlendPerPixelAndConstant)
{
    TestDib src(2, 1);
    src.at(0, 0) = 0x80800000;  // premultiplied red at half alpha
    src.at(1, 0) = 0x00000000;  // fully transparent
    TestDib dst(2, 1, 0xFF0000FF);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, bf));
    EXPECT_EQ(dst.at(0, 0), 0xFF80007Fu);
    EXPECT_EQ(dst.at(1, 0), 0xFF0000FFu);
    TestDib dst2(1, 1, 0x00000000);
    TestDib white(1, 1, 0x00FFFFFF);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    AlphaBlend(dst2.dc, 0, 0, 1, 1, white.dc, 0, 0, 1, 1, half);
    EXPECT_EQ(dst2.at(0, 0) & 0xFFFFFF, 0x808080u);
    // A source rectangle outside the source fails.
    EXPECT_FALSE(AlphaBlend(dst2.dc, 0, 0, 1, 1, white.dc, 0, 0, 2, 1, half));
}

TEST(WinBlits, DibTransfersConvertDepthsAndFlip)
{
    // SetDIBitsToDevice from a bottom-up 24-bit DIB: the last row in memory is the top row.
    std::uint8_t px[2][4] = {{0x01, 0x02, 0x03, 0}, {0x0A, 0x0B, 0x0C, 0}};
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 1;
    bi.bmiHeader.biHeight = 2;
    bi.bmiHeader.biBitCount = 24;
    TestDib dst(1, 2);
    EXPECT_EQ(SetDIBitsToDevice(dst.dc, 0, 0, 1, 2, 0, 0, 0, 2, px, &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(dst.at(0, 0) & 0xFFFFFF, 0x0C0B0Au);
    EXPECT_EQ(dst.at(0, 1) & 0xFFFFFF, 0x030201u);
    // GetDIBits into 24 bits, bottom-up, through the screen DC.
    HDC screen = GetDC(nullptr);
    std::vector<std::uint8_t> out(8);
    BITMAPINFO req{};
    req.bmiHeader.biWidth = 1;
    req.bmiHeader.biHeight = 2;
    req.bmiHeader.biBitCount = 24;
    SelectObject(dst.dc, dst.old);
    EXPECT_EQ(GetDIBits(screen, dst.bmp, 0, 2, out.data(), &req, DIB_RGB_COLORS), 2);
    EXPECT_EQ(out[0], 0x01);
    EXPECT_EQ(out[4], 0x0A);
    SelectObject(dst.dc, dst.bmp);
    ReleaseDC(nullptr, screen);
}

TEST(WinShapes, FillFrameAndLinesExcludeTheEndPixel)
{
    TestDib d(6, 4, 0xFFFFFFFF);
    RECT r{1, 1, 4, 3};
    FillRect(d.dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(d.at(1, 1), 0u);  // GDI leaves alpha 0
    EXPECT_EQ(d.at(3, 2), 0u);
    EXPECT_EQ(d.at(4, 2), 0xFFFFFFFFu);
    TestDib l(5, 3, 0xFFFFFFFF);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(l.dc, pen);
    MoveToEx(l.dc, 0, 1, nullptr);
    LineTo(l.dc, 4, 1);
    EXPECT_EQ(l.at(0, 1), 0x00FF0000u);
    EXPECT_EQ(l.at(3, 1), 0x00FF0000u);
    EXPECT_EQ(l.at(4, 1), 0xFFFFFFFFu);  // last pixel excluded
    // Inverting pen: a line drawn twice leaves nothing.
    SetROP2(l.dc, R2_NOT);
    MoveToEx(l.dc, 0, 0, nullptr);
    LineTo(l.dc, 3, 0);
    EXPECT_EQ(l.at(1, 0) & 0xFFFFFF, 0u);
    MoveToEx(l.dc, 0, 0, nullptr);
    LineTo(l.dc, 3, 0);
    EXPECT_EQ(l.at(1, 0) & 0xFFFFFF, 0xFFFFFFu);
    SelectObject(l.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(WinShapes, RectangleOutlineAndHollowBrush)
{
    TestDib d(5, 5, 0xFFFFFFFF);
    SelectObject(d.dc, GetStockObject(NULL_BRUSH));
    Rectangle(d.dc, 0, 0, 5, 5);
    EXPECT_EQ(d.at(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.at(4, 4) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.at(2, 2), 0xFFFFFFFFu);
    // Without a pen the filled rectangle is one pixel smaller.
    TestDib e(5, 5, 0xFFFFFFFF);
    SelectObject(e.dc, GetStockObject(NULL_PEN));
    SelectObject(e.dc, GetStockObject(BLACK_BRUSH));
    Rectangle(e.dc, 0, 0, 5, 5);
    EXPECT_EQ(e.at(3, 3) & 0xFFFFFF, 0u);
    EXPECT_EQ(e.at(4, 4), 0xFFFFFFFFu);
}

TEST(WinShapes, EllipseIsSymmetricAndInsideItsBox)
{
    TestDib d(9, 9, 0xFFFFFFFF);
    SelectObject(d.dc, GetStockObject(BLACK_BRUSH));
    Ellipse(d.dc, 1, 1, 8, 8);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(d.at(x, y), d.at(8 - x, y)) << x << "," << y;
            EXPECT_EQ(d.at(x, y), d.at(x, 8 - y)) << x << "," << y;
            if (x == 0 || y == 0 || x == 8 || y == 8) {
                EXPECT_EQ(d.at(x, y), 0xFFFFFFFFu);
            }
        }
    EXPECT_EQ(d.at(4, 4) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.at(1, 1), 0xFFFFFFFFu);  // corners stay outside
}

TEST(WinShapes, PolygonFillsTriangle)
{
    TestDib d(8, 8, 0xFFFFFFFF);
    SelectObject(d.dc, GetStockObject(BLACK_BRUSH));
    SelectObject(d.dc, GetStockObject(NULL_PEN));
    POINT pts[3] = {{0, 0}, {8, 0}, {0, 8}};
    Polygon(d.dc, pts, 3);
    EXPECT_EQ(d.at(1, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.at(6, 6), 0xFFFFFFFFu);
}

TEST(WinDc, SaveRestoreKeepsClipAndObjects)
{
    TestDib d(4, 1, 0xFFFFFFFF);
    int saved = SaveDC(d.dc);
    ExcludeClipRect(d.dc, 1, 0, 3, 1);
    SetTextColor(d.dc, RGB(1, 2, 3));
    RECT all{0, 0, 4, 1};
    FillRect(d.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(d.at(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(d.at(0, 0), 0u);
    ASSERT_TRUE(RestoreDC(d.dc, saved));
    EXPECT_EQ(GetTextColor(d.dc), 0u);
    FillRect(d.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(d.at(1, 0), 0u);
    EXPECT_FALSE(RestoreDC(d.dc, 5));
    POINT org;
    SetWindowOrgEx(d.dc, 3, 4, nullptr);
    GetWindowOrgEx(d.dc, &org);
    EXPECT_EQ(org.x, 3);
    EXPECT_EQ(org.y, 4);
}

TEST(WinHelpers, MulDivRoundsHalfAwayFromZeroAndSystemColoursAreFixed)
{
    EXPECT_EQ(MulDiv(255, 1, 2), 128);
    EXPECT_EQ(MulDiv(-255, 1, 2), -128);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0106u);
    {
        // Tests can make the layer report another version, nested ones restoring the one before.
        vxwin::ScopedVersionOverride v5(5, 2);
        EXPECT_EQ(GetVersion() & 0xFFFF, 0x0205u);
        {
            vxwin::ScopedVersionOverride v10(10, 0);
            EXPECT_EQ(GetVersion() & 0xFFFF, 0x000Au);
        }
        EXPECT_EQ(GetVersion() & 0xFFFF, 0x0205u);
    }
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0106u);
    RECT wa;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0));
    EXPECT_LE(wa.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST(WinBlits, OverlappingBlitWithinOneBitmapScrolls)
{
    TestDib d(1, 4);
    for (int y = 0; y < 4; ++y) d.at(0, y) = static_cast<std::uint32_t>(y + 1);
    BitBlt(d.dc, 0, 1, 1, 3, d.dc, 0, 0, SRCCOPY);  // down by one row
    EXPECT_EQ(d.at(0, 1), 1u);
    EXPECT_EQ(d.at(0, 2), 2u);
    EXPECT_EQ(d.at(0, 3), 3u);
}
