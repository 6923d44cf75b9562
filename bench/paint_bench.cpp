// Measures the window layer's paint path. On the headless back end: composing an 800x600 window
// of 100 child windows (frames per second, every window repainted each frame), and blit, stretch,
// transparent and alpha blit throughput in megapixels per second. Then, headless and under Xvfb
// (1280x800) where it is installed, the steps skinned windows repeat all the time: a text page,
// hover repaints, a live-resize step, a layered update, a small blit and a scroll, each printed
// in milliseconds with its ratio to the figure measured before the fast paint path (README.md).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/support/xvfb.h"

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
    std::uint32_t* px;
    Dib(int w, int h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* p = px = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < w * h; ++i) p[i] = (i % 7 == 0) ? 0x007F007F : 0x80402010u + static_cast<std::uint32_t>(i);
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bm);
    }
};

// Median time of one run of fn in milliseconds (after one warm-up run).
double MedianMs(const std::function<void()>& fn, int reps)
{
    fn();
    std::vector<double> v;
    for (int i = 0; i < reps; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        fn();
        v.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The figures measured before the fast paint path (see README.md), headless and under Xvfb.
struct Before {
    const char* name;
    double headless, x11;
};
const Before kBefore[] = {
    {"text page 25x20 cells", 193.783, 197.433},           {"100 hover repaints (GetDC/ReleaseDC)", 1.938, 11.171},
    {"resize step 1280x800, 100 children", 3.030, 17.190}, {"UpdateLayeredWindow 400x300", 0.520, 1.067},
    {"BitBlt 100x20 same surface", 0.151, 0.247},          {"ScrollWindowEx 20 px at 1280x800", 1.473, 3.613},
};

void Report(const char* name, double ms, bool x11)
{
    double before = 0;
    for (const auto& b : kBefore)
        if (std::strcmp(b.name, name) == 0) before = x11 ? b.x11 : b.headless;
    if (before > 0)
        std::printf("  %-40s %8.3f ms   (before %.3f ms, x%.2f faster)\n", name, ms, before, before / ms);
    else
        std::printf("  %-40s %8.3f ms\n", name, ms);
}

// --only WORD runs only the steps whose names contain WORD (profiling one of them).
const char* g_only = nullptr;
bool Want(const char* name) { return !g_only || std::strstr(name, g_only); }

// Ends a measured step as the message loop's idle step does: presents what was drawn and waits
// for the display to take it.
void Settle()
{
    vxwin::PumpMessages();
    vxwin::SyncDisplay();
}

LRESULT GridProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FrameRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
}

HWND MakeGrid(int w, int h)
{
    HWND top =
        CreateWindowExW(0, L"BenchTop", L"grid", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 100; ++i)
        CreateWindowExW(0, L"BenchGrid", L"", WS_CHILD | WS_VISIBLE, 8 + (i % 10) * 120, 8 + (i / 10) * 76, 112, 68,
                        top, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(i + 1)), nullptr, nullptr);
    Settle();
    return top;
}

void PaintPath(bool x11)
{
    std::printf("%s:\n", x11 ? "under Xvfb (x11 back end, 1280x800)" : "headless");
    // A 25x20-cell page of list text, as a list view repaints it: every cell a DrawTextW with an
    // end ellipsis, Chinese and Latin mixed.
    if (Want("text page")) {
        HWND top = CreateWindowExW(0, L"BenchTop", L"text", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 800, nullptr, nullptr,
                                   nullptr, nullptr);
        Settle();
        std::vector<std::wstring> cells;
        for (int i = 0; i < 500; ++i)
            cells.push_back((i % 3 == 0   ? L"视频文件_"
                             : i % 3 == 1 ? L"Episode "
                                          : L"输出 1280x720 ") +
                            std::to_wstring(i * 37) + (i % 2 ? L".mkv" : L" 高清 H.264 AAC 立体声"));
        double ms = MedianMs(
            [&] {
                HDC dc = GetDC(top);
                SetBkMode(dc, TRANSPARENT);
                for (int i = 0; i < 500; ++i) {
                    RECT r{(i % 25) * 51, (i / 25) * 40, (i % 25) * 51 + 50, (i / 25) * 40 + 40};
                    DrawTextW(dc, cells[i].c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
                }
                ReleaseDC(top, dc);
                Settle();
            },
            10);
        Report("text page 25x20 cells", ms, x11);
        DestroyWindow(top);
    }
    // 100 hover repaints: each child drawn through GetDC/ReleaseDC outside WM_PAINT.
    if (Want("hover") || Want("resize")) {
        HWND top = MakeGrid(1280, 800);
        std::vector<HWND> kids;
        for (HWND c = GetWindow(top, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) kids.push_back(c);
        int round = 0;
        double ms = MedianMs(
            [&] {
                HBRUSH b = CreateSolidBrush(RGB(40 + round % 2 * 100, 120, 200));
                ++round;
                for (HWND c : kids) {
                    HDC dc = GetDC(c);
                    RECT r{2, 2, 110, 66};
                    FillRect(dc, &r, b);
                    ReleaseDC(c, dc);
                }
                DeleteObject(b);
                Settle();
            },
            20);
        Report("100 hover repaints (GetDC/ReleaseDC)", ms, x11);
        // One live-resize step: the window grows or shrinks by 8 pixels and repaints.
        int step = 0;
        ms = MedianMs(
            [&] {
                int d = (step++ % 2) ? 0 : 8;
                SetWindowPos(top, nullptr, 0, 0, 1272 + d, 792 + d, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
                Settle();
            },
            20);
        Report("resize step 1280x800, 100 children", ms, x11);
        DestroyWindow(top);
    }
    // A 400x300 layered window updated with new per-pixel-alpha content.
    if (Want("Layered")) {
        HWND lay = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"BenchTop", L"layer", WS_POPUP | WS_VISIBLE, 100,
                                   100, 400, 300, nullptr, nullptr, nullptr, nullptr);
        Dib a(400, 300), b(400, 300);
        auto fill = [](Dib& d, int phase) {
            auto* p = d.px;
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 400; ++x) {
                    // A soft glow: opaque in the middle, fading to transparent at the edges.
                    int e = std::min(std::min(x, 399 - x), std::min(y, 299 - y));
                    std::uint32_t al = e >= 24 ? 255u : static_cast<std::uint32_t>(e * 255 / 24);
                    std::uint32_t c = (x + y + phase) & 0xFF;
                    c = c * al / 255;
                    p[y * 400 + x] = (al << 24) | (c << 16) | (c << 8) | (al / 2);
                }
        };
        fill(a, 0);
        fill(b, 60);
        int n = 0;
        double ms = MedianMs(
            [&] {
                POINT src{0, 0};
                SIZE size{400, 300};
                BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                UpdateLayeredWindow(lay, nullptr, nullptr, &size, (n++ % 2 ? a : b).dc, &src, 0, &bf, ULW_ALPHA);
                Settle();
            },
            20);
        Report("UpdateLayeredWindow 400x300", ms, x11);
        DestroyWindow(lay);
    }
    // A small blit within a window's surface and a 20-pixel scroll of a whole 1280x800 window.
    if (Want("BitBlt") || Want("Scroll")) {
        HWND top = CreateWindowExW(0, L"BenchTop", L"scroll", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 800, nullptr, nullptr,
                                   nullptr, nullptr);
        Settle();
        HDC dc = GetDC(top);
        double ms = MedianMs(
            [&] {
                BitBlt(dc, 300, 300, 100, 20, dc, 310, 305, SRCCOPY);
                Settle();
            },
            50);
        Report("BitBlt 100x20 same surface", ms, x11);
        ReleaseDC(top, dc);
        int k = 0;
        ms = MedianMs(
            [&] {
                ScrollWindowEx(top, 0, (k++ % 2) ? 20 : -20, nullptr, nullptr, nullptr, nullptr, 0);
                Settle();
            },
            50);
        Report("ScrollWindowEx 20 px at 1280x800", ms, x11);
        DestroyWindow(top);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool headlessOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) headlessOnly = true;
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) g_only = argv[++i];
    }
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
    const int frames = g_only ? 1 : 200;
    double t = Seconds(
        [&] {
            RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            vxwin::PumpMessages();
        },
        frames);
    std::printf("compose 800x600 with 100 children: %.1f frames/s\n", frames / t);

    Dib src(800, 600), dst(800, 600);
    const double mp = 800.0 * 600.0 / 1e6;
    int reps = g_only ? 1 : 100;
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

    wc.lpszClassName = L"BenchGrid";
    wc.lpfnWndProc = GridProc;
    RegisterClassW(&wc);
    PaintPath(false);
    if (headlessOnly) return 0;
    if (FindTool("Xvfb").empty()) {
        std::printf("Xvfb is not installed: no figures under X11\n");
        return 0;
    }
    XvfbServer server("1280x800x24");
    if (server.Display().empty() || !vxwin::UseX11Backend(server.Display())) {
        std::printf("Xvfb could not be started: no figures under X11\n");
        return 0;
    }
    PaintPath(true);
    vxwin::UseHeadlessBackend();
    return 0;
}
