// Non-client area, the move/size loop of the default procedure, minimise/maximise and layered
// windows.
#include <gtest/gtest.h>

#include "tests/platform/win/window_test_support.h"

using namespace vxwin;

namespace {
// A skinned-form-like window: 5-pixel frame, 20-pixel caption, own hit codes.
void SkinLike(TestWindows& tw, HWND w, int minW, int minH)
{
    tw.handlers[w] = [minW, minH](HWND h, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        switch (m) {
        case WM_NCCALCSIZE: {
            RECT* rc = reinterpret_cast<RECT*>(lp);
            rc->left += 5;
            rc->top += 25;
            rc->right -= 5;
            rc->bottom -= 5;
            r = 0;
            return true;
        }
        case WM_NCHITTEST: {
            RECT wr;
            GetWindowRect(h, &wr);
            int x = GET_X_LPARAM(lp) - wr.left, y = GET_Y_LPARAM(lp) - wr.top;
            int W = wr.right - wr.left, H = wr.bottom - wr.top;
            if (x >= W - 5 && y >= H - 5)
                r = HTBOTTOMRIGHT;
            else if (y < 25)
                r = HTCAPTION;
            else
                r = HTCLIENT;
            return true;
        }
        case WM_GETMINMAXINFO: {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
            mmi->ptMinTrackSize = POINT{minW, minH};
            return false;
        }
        }
        return false;
    };
}
}  // namespace

TEST(WinFrame, CustomNonClientAreaAndWindowDc)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 100, 100, WS_POPUP);
    SkinLike(tw, w, 10, 10);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    RECT cr;
    GetClientRect(w, &cr);
    EXPECT_EQ(cr.right, 90);
    EXPECT_EQ(cr.bottom, 70);
    tw.paintColor[w] = RGB(0, 255, 0);
    PumpMessages();
    // The window DC reaches the frame, origin at the window corner.
    HDC dc = GetWindowDC(w);
    RECT cap{0, 0, 100, 25};
    FillRect(dc, &cap, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(w, dc);
    EXPECT_EQ(PixelAt(w, 50, 10), 0u);
    EXPECT_EQ(PixelAt(w, 50, 50), 0x00FF00u);
}

TEST(WinFrame, CaptionDragRunsTheMoveLoopAndReturnsAfterRelease)
{
    TestWindows tw;
    HWND w = tw.Top(100, 100, 200, 150, WS_POPUP | WS_VISIBLE);
    SkinLike(tw, w, 50, 50);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    bool loopEndedBeforeReturn = false;
    auto base = tw.handlers[w];
    tw.handlers[w] = [&, base](HWND h, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
        if (m == WM_MOVING) {
            // A handler may rewrite the proposed rectangle (snapping): keep y at 90 or below.
            RECT* rc = reinterpret_cast<RECT*>(lp);
            if (rc->top > 90) OffsetRect(rc, 0, 90 - rc->top);
        }
        if (m == WM_NCLBUTTONDOWN) {
            r = DefWindowProcW(h, m, wp, lp);
            // The loop is over when the default processing of the press returns.
            loopEndedBeforeReturn = GetCapture() == nullptr;
            return true;
        }
        return base(h, m, wp, lp, r);
    };
    tw.log.clear();
    InjectMouseButton(0, true, 150, 110);
    InjectMouseMove(160, 130);
    InjectMouseMove(170, 140);
    InjectMouseButton(0, false, 170, 140);
    PumpMessages();
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, 120);
    EXPECT_EQ(wr.top, 90);
    EXPECT_EQ(wr.right - wr.left, 200);
    EXPECT_TRUE(loopEndedBeforeReturn);
    auto seq = tw.Of(w, {WM_ENTERSIZEMOVE, WM_MOVING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_EXITSIZEMOVE});
    ASSERT_GE(seq.size(), 5u);
    EXPECT_EQ(seq.front(), WM_ENTERSIZEMOVE);
    EXPECT_EQ(seq[1], WM_MOVING);
    EXPECT_EQ(seq[2], WM_WINDOWPOSCHANGED);
    EXPECT_EQ(seq[3], WM_MOVE);
    EXPECT_EQ(seq.back(), WM_EXITSIZEMOVE);
}

TEST(WinFrame, SizeLoopHonoursMinTrackSizeAndSizing)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 200, 150, WS_POPUP | WS_VISIBLE);
    SkinLike(tw, w, 120, 100);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    tw.log.clear();
    // The whole drag is scripted before the loop starts: the loop consumes it.
    InjectMouseButton(0, true, 198, 148);
    InjectMouseMove(248, 168);
    InjectMouseMove(0, 0);  // far past the minimum
    InjectMouseButton(0, false, 0, 0);
    PumpMessages();
    std::vector<int> widths;
    for (auto& l : tw.log)
        if (l.hwnd == w && l.msg == WM_SIZE) widths.push_back(LOWORD(l.lp));
    ASSERT_GE(widths.size(), 2u);
    EXPECT_EQ(widths[0], 240);  // client = window minus the 5-pixel frame
    EXPECT_EQ(widths.back(), 110);
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.right - wr.left, 120);
    EXPECT_EQ(wr.bottom - wr.top, 100);
    EXPECT_EQ(tw.Last(w, WM_SIZING)->wp, 8u);  // WMSZ_BOTTOMRIGHT
    EXPECT_EQ(tw.Of(w, {WM_EXITSIZEMOVE}).size(), 1u);
    // Ordinary resizes are clamped too.
    SetWindowPos(w, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.right - wr.left, 120);
}

TEST(WinFrame, MinimiseMaximiseRestore)
{
    TestWindows tw;
    HWND w = tw.Top(10, 20, 300, 200, WS_POPUP | WS_VISIBLE | WS_THICKFRAME);
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    RECT wr, wa;
    GetWindowRect(w, &wr);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    EXPECT_EQ(wr.right - wr.left, wa.right - wa.left);
    EXPECT_EQ(tw.Last(w, WM_SIZE)->wp, SIZE_MAXIMIZED);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(tw.Last(w, WM_SIZE)->wp, SIZE_MINIMIZED);
    ShowWindow(w, SW_RESTORE);
    EXPECT_FALSE(IsIconic(w));
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, 10);
    EXPECT_EQ(wr.right - wr.left, 300);
    auto* sw = tw.Last(w, WM_SHOWWINDOW);
    ASSERT_NE(sw, nullptr);
    EXPECT_EQ(sw->wp, TRUE);
    EXPECT_EQ(sw->lp, 0);
}

TEST(WinLayered, ConstantAndPerPixelAlpha)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 4, 4, WS_POPUP | WS_VISIBLE);
    EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));  // not layered yet
    SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>(GetWindowLongW(w, GWL_EXSTYLE) | WS_EX_LAYERED));
    ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));
    BYTE a = 0;
    DWORD fl = 0;
    GetLayeredWindowAttributes(w, nullptr, &a, &fl);
    EXPECT_EQ(a, 128);
    // Per-pixel content from a premultiplied bitmap.
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 4;
    bi.bmiHeader.biHeight = -4;
    bi.bmiHeader.biBitCount = 32;
    void* bits;
    HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < 16; ++i) static_cast<std::uint32_t*>(bits)[i] = 0x80400000;
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bm);
    // Re-entering layered mode allows UpdateLayeredWindow again.
    SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>(GetWindowLongW(w, GWL_EXSTYLE) & ~WS_EX_LAYERED));
    SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>(GetWindowLongW(w, GWL_EXSTYLE) | WS_EX_LAYERED));
    POINT pos{50, 60}, src{0, 0};
    SIZE sz{4, 4};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, &pos, &sz, mem, &src, 0, &bf, ULW_ALPHA));
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, 50);
    int ww, hh;
    auto px = WindowPixels(w, &ww, &hh);
    ASSERT_EQ(px.size(), 16u);
    EXPECT_EQ(px[0], 0x80400000u);
    // Click-through layered windows let the point fall to the window below.
    HWND below = tw.Top(50, 60, 4, 4, WS_POPUP | WS_VISIBLE);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint(POINT{51, 61}), w);
    SetWindowLongW(w, GWL_EXSTYLE, static_cast<LONG>(GetWindowLongW(w, GWL_EXSTYLE) | WS_EX_TRANSPARENT));
    EXPECT_EQ(WindowFromPoint(POINT{51, 61}), below);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bm);
}

TEST(WinFrame, TopmostBandStaysInFront)
{
    TestWindows tw;
    HWND a = tw.Top(0, 0, 10, 10);
    HWND b = tw.Top(0, 0, 10, 10);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), a);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), b);
}
