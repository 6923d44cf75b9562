// Measures the window layer's paint path on the headless back end: composing an 800x600 window
// of 100 child windows (frames per second, every window repainted each frame), and blit, stretch,
// transparent and alpha blit throughput in megapixels per second.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"

namespace {

double Seconds(const std::function<void()>& fn, int reps)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

LRESULT ChildProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        auto id = GetWindowLongPtrW(h, GWL_ID);
        HBRUSH b = CreateSolidBrush(RGB(id * 7 % 256, id * 13 % 256, id * 29 % 256));
        FillRect(dc, &r, b);
        DeleteObject(b);
        FrameRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, r.right, r.bottom);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
}

struct Dib {
    HDC dc;
    HBITMAP bm;
    Dib(int w, int h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* p = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < w * h; ++i) p[i] = (i % 7 == 0) ? 0x007F007F : 0x80402010u + static_cast<std::uint32_t>(i);
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bm);
    }
};

}  // namespace

int main()
{
    setenv("VX_HEADLESS", "1", 1);
    WNDCLASSW wc;
    wc.lpszClassName = L"BenchTop";
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    wc.lpszClassName = L"BenchChild";
    wc.lpfnWndProc = ChildProc;
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, L"BenchTop", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                               nullptr, nullptr);
    for (int i = 0; i < 100; ++i)
        CreateWindowExW(0, L"BenchChild", L"", WS_CHILD | WS_VISIBLE, (i % 10) * 80, (i / 10) * 60, 76, 56, top,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(i + 1)), nullptr, nullptr);
    vxwin::PumpMessages();
    const int frames = 200;
    double t = Seconds(
        [&] {
            RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            vxwin::PumpMessages();
        },
        frames);
    std::printf("compose 800x600 with 100 children: %.1f frames/s\n", frames / t);

    Dib src(800, 600), dst(800, 600);
    const double mp = 800.0 * 600.0 / 1e6;
    int reps = 100;
    t = Seconds([&] { BitBlt(dst.dc, 0, 0, 800, 600, src.dc, 0, 0, SRCCOPY); }, reps);
    std::printf("BitBlt SRCCOPY 800x600: %.1f Mpixel/s\n", mp * reps / t);
    t = Seconds([&] { StretchBlt(dst.dc, 0, 0, 800, 600, src.dc, 0, 0, 533, 400, SRCCOPY); }, reps);
    std::printf("StretchBlt 533x400 -> 800x600: %.1f Mpixel/s\n", mp * reps / t);
    t = Seconds([&] { TransparentBlt(dst.dc, 0, 0, 800, 600, src.dc, 0, 0, 800, 600, 0x7F007F); }, reps);
    std::printf("TransparentBlt 800x600: %.1f Mpixel/s\n", mp * reps / t);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    t = Seconds([&] { AlphaBlend(dst.dc, 0, 0, 800, 600, src.dc, 0, 0, 800, 600, bf); }, reps);
    std::printf("AlphaBlend per-pixel 800x600: %.1f Mpixel/s\n", mp * reps / t);
    DestroyWindow(top);
    return 0;
}
