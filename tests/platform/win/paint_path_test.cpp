// The paint path's shortcuts keep the pixels and the repaints a window relies on: blits within
// one surface and scrolls at the surface's edges, repaints after a resize only where the class
// asks for them, and a moved child uncovering only what it left.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/platform/win/window_test_support.h"

using vxwin::PumpMessages;

namespace {

// A 32-bit DIB section in its own memory DC; every pixel a value of its own.
struct Bits {
    HDC dc = nullptr;
    HBITMAP bm = nullptr;
    std::uint32_t* px = nullptr;
    int w, h;
    Bits(int width, int height) : w(width), h(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        px = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < w * h; ++i) px[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bm);
    }
    ~Bits()
    {
        DeleteDC(dc);
        DeleteObject(bm);
    }
    std::vector<std::uint32_t> Pixels() const { return std::vector<std::uint32_t>(px, px + w * h); }
};

}  // namespace

// A blit within one surface gives what the same blit from an identical separate bitmap gives,
// whatever the overlap and wherever the rectangles leave the surface.
TEST(WinPaintPath, BlitWithinOneSurfaceMatchesABlitFromACopy)
{
    struct Case {
        int x, y, cx, cy, xs, ys, cxs, cys;
    };
    const Case cases[] = {
        {0, 1, 40, 29, 0, 0, 40, 29},      // one row down, overlapping
        {0, 0, 40, 29, 0, 1, 40, 29},      // one row up
        {3, 0, 37, 30, 0, 0, 37, 30},      // right, overlapping in every row
        {0, 0, 37, 30, 3, 0, 37, 30},      // left
        {5, 4, 40, 40, 0, 0, 40, 40},      // down and right, past the right and bottom edges
        {-6, -2, 20, 20, 10, 8, 20, 20},   // destination past the left and top edges
        {0, 0, 40, 30, 25, 20, 40, 30},    // source mostly outside the surface
        {2, 2, 30, 20, 0, 0, 15, 10},      // stretched within the surface
        {0, 0, 12, 12, 4, 4, 24, 24},      // shrunk, overlapping
        {10, 10, 10, 10, 10, 10, 10, 10},  // onto itself
    };
    for (const Case& c : cases) {
        Bits a(40, 30), copy(40, 30), expect(40, 30);
        StretchBlt(a.dc, c.x, c.y, c.cx, c.cy, a.dc, c.xs, c.ys, c.cxs, c.cys, SRCCOPY);
        StretchBlt(expect.dc, c.x, c.y, c.cx, c.cy, copy.dc, c.xs, c.ys, c.cxs, c.cys, SRCCOPY);
        EXPECT_EQ(a.Pixels(), expect.Pixels()) << c.x << "," << c.y << " " << c.cx << "x" << c.cy << " from " << c.xs
                                               << "," << c.ys << " " << c.cxs << "x" << c.cys;
    }
    // The same within a window's surface, through a clip that leaves part of it out.
    TestWindows tw;
    HWND w = tw.Top(0, 0, 40, 30);
    PumpMessages();
    Bits pattern(40, 30);
    HDC dc = GetDC(w);
    BitBlt(dc, 0, 0, 40, 30, pattern.dc, 0, 0, SRCCOPY);
    IntersectClipRect(dc, 0, 0, 30, 30);
    BitBlt(dc, 0, 3, 40, 30, dc, 0, 0, SRCCOPY);
    ReleaseDC(w, dc);
    Bits expect(40, 30), copy(40, 30);
    HRGN clip = CreateRectRgn(0, 0, 30, 30);
    SelectClipRgn(expect.dc, clip);
    DeleteObject(clip);
    BitBlt(expect.dc, 0, 3, 40, 30, copy.dc, 0, 0, SRCCOPY);
    int ww = 0, wh = 0;
    auto shown = vxwin::WindowPixels(w, &ww, &wh);
    EXPECT_EQ(shown, expect.Pixels());
}

// ScrollWindowEx moves what stays visible by (dx, dy), at every edge, and leaves the uncovered
// part as it was (nothing invalidated without SW_INVALIDATE).
TEST(WinPaintPath, ScrollAtTheSurfaceEdgesMovesWhatStaysVisible)
{
    const int moves[][2] = {{0, -20}, {0, 3}, {5, 0}, {-5, 0}, {7, -3}, {2, 5}, {-39, 29}, {0, 30}, {40, 0}};
    TestWindows tw;
    HWND w = tw.Top(0, 0, 40, 30);
    PumpMessages();
    for (const auto& m : moves) {
        Bits pattern(40, 30);
        HDC dc = GetDC(w);
        BitBlt(dc, 0, 0, 40, 30, pattern.dc, 0, 0, SRCCOPY);
        ReleaseDC(w, dc);
        auto before = pattern.Pixels();
        RECT upd;
        ScrollWindowEx(w, m[0], m[1], nullptr, nullptr, nullptr, &upd, 0);
        int ww = 0, wh = 0;
        auto after = vxwin::WindowPixels(w, &ww, &wh);
        ASSERT_EQ(ww, 40);
        int wrong = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                int sx = x - m[0], sy = y - m[1];
                bool moved = sx >= 0 && sy >= 0 && sx < 40 && sy < 30;
                if (after[y * 40 + x] != before[moved ? sy * 40 + sx : y * 40 + x]) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "scroll by " << m[0] << "," << m[1];
    }
}

namespace {

// Update regions as the windows saw them in their WM_PAINT.
struct PaintLog {
    std::map<HWND, HRGN> seen;
    ~PaintLog()
    {
        for (auto& [h, r] : seen) DeleteObject(r);
    }
    void Watch(TestWindows& tw, HWND h)
    {
        tw.handlers[h] = [this](HWND hw, UINT m, WPARAM, LPARAM, LRESULT&) {
            if (m != WM_PAINT) return false;
            HRGN r = CreateRectRgn(0, 0, 0, 0);
            GetUpdateRgn(hw, r, FALSE);
            if (seen.count(hw)) {
                CombineRgn(seen[hw], seen[hw], r, RGN_OR);
                DeleteObject(r);
            } else {
                seen[hw] = r;
            }
            return false;
        };
    }
    bool Painted(HWND h, int x, int y) { return seen.count(h) && PtInRegion(seen[h], x, y); }
};

}  // namespace

// A resized window repaints all of its client area only with CS_HREDRAW/CS_VREDRAW (its
// children then as its WS_CLIPCHILDREN says); without them only the strips the new size uncovers.
TEST(WinPaintPath, ResizeRepaintsOnlyWhatTheClassAsksFor)
{
    WNDCLASSW wc;
    wc.lpszClassName = L"VxRedrawWindow";
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    struct Case {
        bool redrawClass, clipChildren;
        bool wholeParent, child;
    };
    const Case cases[] = {{false, false, false, false}, {true, false, true, true}, {true, true, true, false}};
    for (const Case& c : cases) {
        TestWindows tw;
        DWORD style = WS_POPUP | WS_VISIBLE | (c.clipChildren ? WS_CLIPCHILDREN : 0);
        HWND top = c.redrawClass ? CreateWindowExW(0, L"VxRedrawWindow", L"", style, 0, 0, 100, 80, nullptr, nullptr,
                                                   nullptr, nullptr)
                                 : tw.Top(0, 0, 100, 80, style);
        HWND child = tw.Child(top, 10, 10, 30, 30);
        HWND reaching = tw.Child(top, 90, 50, 30, 20);  // partly beyond the right edge
        PumpMessages();
        PaintLog log;
        if (!c.redrawClass) log.Watch(tw, top);
        log.Watch(tw, child);
        log.Watch(tw, reaching);
        SetWindowPos(top, nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT upd;
        // The class window's procedure is the default one: its update region is read directly.
        bool topWhole = c.redrawClass ? (GetUpdateRect(top, &upd, FALSE) && upd.left == 0 && upd.top == 0) : false;
        PumpMessages();
        if (!c.redrawClass) {
            EXPECT_FALSE(log.Painted(top, 50, 50)) << "the old area keeps its pixels";
            EXPECT_TRUE(log.Painted(top, 110, 10));
            EXPECT_TRUE(log.Painted(top, 10, 85));
        } else {
            EXPECT_TRUE(topWhole);
        }
        EXPECT_EQ(log.seen.count(child) > 0, c.child) << c.redrawClass << c.clipChildren;
        EXPECT_TRUE(log.Painted(reaching, 15, 10)) << "uncovered part of a child";
        EXPECT_FALSE(log.Painted(reaching, 5, 10) && !c.child) << "a child's part that stayed visible";
        DestroyWindow(top);
    }
    UnregisterClassW(L"VxRedrawWindow", nullptr);
}

TEST(WinPaintPath, MovedChildUncoversOnlyWhatItLeftAndShrinkingPaintsNothing)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 100, 100);
    HWND child = tw.Child(top, 10, 10, 30, 30);
    HWND under = tw.Child(top, 0, 0, 100, 5);
    PumpMessages();
    PaintLog log;
    log.Watch(tw, top);
    log.Watch(tw, under);
    SetWindowPos(child, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_TRUE(log.Painted(top, 12, 15));   // left behind
    EXPECT_FALSE(log.Painted(top, 35, 15));  // covered before and after
    EXPECT_FALSE(log.Painted(top, 60, 60));  // never covered
    EXPECT_EQ(log.seen.count(under), 0u);    // a sibling away from the move
    PaintLog shrink;
    shrink.Watch(tw, top);
    SetWindowPos(top, nullptr, 0, 0, 90, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_FALSE(shrink.Painted(top, 45, 45));  // only the frame, which a popup does not have
}
