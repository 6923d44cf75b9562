// Measures the skin core's paint path on the headless back end: a full repaint of a 1280x800
// skinned frame (a nine-part picture with tiled and stretched edges, its mask region, 30 control
// images with alpha, all drawn through TbsBitmap::Draw onto a window DC), and the throughput of
// BlendRow and of the stretching bitmap blit in megapixels per second.
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/color_filters.h"
#include "skin/core/mask_region.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_image.h"

namespace {

double Seconds(const std::function<void()>& fn, int reps)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// A synthetic skin picture: a 120x90 frame rect with a patterned border and centre.
std::unique_ptr<TBitmap> SkinPicture()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(240, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 240; ++x)
            b->SetPixelArgb(x, y, 0xFF000000u | ((x * 3) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x ^ y) & 0xFF));
    return b;
}

// Its mask: black inside, white cut corners.
std::unique_ptr<TBitmap> MaskPicture()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(120, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            bool cut = (x + y < 6) || (119 - x + y < 6) || (x + 89 - y < 6) || (238 - x - y < 6);
            b->SetPixelArgb(x, y, cut ? 0xFFFFFFFFu : 0xFF000000u);
        }
    return b;
}

LRESULT Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(h, m, wp, lp); }

}  // namespace

int main()
{
    vxwin::UseHeadlessBackend();
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"SkinBench";
    RegisterClassW(&wc);
    const int W = 1280, H = 800;
    HWND wnd = CreateWindowExW(0, L"SkinBench", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr, nullptr, nullptr,
                               nullptr);
    HDC dc = GetDC(wnd);

    auto sb = SkinPicture();
    auto mask = MaskPicture();
    const TRect r = Rect(0, 0, 120, 90), cl = Rect(10, 30, 110, 80);
    const TPoint lt{30, 40}, rt{90, 40}, lb{30, 70}, rb{90, 70};
    const TPoint nlt = lt, nrt{W - 30, 40}, nlb{30, H - 20}, nrb{W - 30, H - 20};
    const TRect ncl = Rect(10, 30, W - 10, H - 10);

    // 30 control pictures: buttons from the right half of the skin picture, with alpha.
    TbsBitmap glowMask;
    glowMask.SetSize(100, 28);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 100; ++x) glowMask.SetPixel(x, y, 0xFF000000u | (std::min(x, 99 - x) * 5 % 256) * 0x010101);

    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    TbsBitmap frameBmp;
    std::vector<TbsBitmap> controls(30);
    std::vector<TBitmap> controlPics(30);
    HRGN rgn = nullptr;

    auto composeFrame = [&] {
        CreateSkinImage(lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, &frame, sb.get(), r, W, H, true, false, true,
                        false, true, false, bsstFull);
    };
    auto region = [&] {
        CreateSkinRegion(rgn, lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, mask.get(), W, H);
        DeleteObject(rgn);
    };
    auto drawFrame = [&] {
        frameBmp.Assign(&frame);
        frameBmp.Draw(dc, 0, 0);
    };
    auto controlsPass = [&] {
        for (int i = 0; i < 30; ++i) {
            controlPics[i].SetPixelFormat(pf32bit);
            CreateHSkinImage(8, 8, &controlPics[i], sb.get(), Rect(120, 0, 200, 28), 100, 28, i % 2 == 0);
            controls[i].Assign(&controlPics[i]);
            SetAlphaFromMask(&controls[i], &glowMask);
            controls[i].SetAlphaBlend(true);
            controls[i].Draw(dc, 40 + (i % 6) * 200, 100 + (i / 6) * 120);
        }
    };
    auto repaint = [&] {
        composeFrame();
        region();
        drawFrame();
        controlsPass();
    };
    repaint();
    int reps = 20;
    double t = Seconds(repaint, reps);
    std::printf("full repaint 1280x800 (frame, region, 30 controls): %.2f ms\n", t * 1000 / reps);
    std::printf("  of which: compose %.2f, region %.2f, frame copy and draw %.2f, controls %.2f ms\n",
                Seconds(composeFrame, reps) * 1000 / reps, Seconds(region, reps) * 1000 / reps,
                Seconds(drawFrame, reps) * 1000 / reps, Seconds(controlsPass, reps) * 1000 / reps);

    // BlendRow over a 1280x800 buffer.
    std::vector<TbsColor> src(W * H), dst(W * H, 0xFF204060);
    for (size_t i = 0; i < src.size(); ++i) src[i] = (static_cast<TbsColor>(i % 256) << 24) | 0x00806040;
    reps = 20;
    t = Seconds([&] { PixelRoutines.BlendRow(src.data(), dst.data(), W * H); }, reps);
    std::printf("BlendRow: %.1f Mpixel/s\n", W * H / 1e6 * reps / t);

    // The stretching bitmap blit: 640x400 -> 1280x800.
    TbsBitmap small, big;
    small.SetSize(640, 400);
    big.SetSize(W, H);
    t = Seconds([&] { small.Draw(&big, Rect(0, 0, W, H)); }, reps);
    std::printf("stretching blit 640x400 -> 1280x800: %.1f Mpixel/s\n", W * H / 1e6 * reps / t);
    ReleaseDC(wnd, dc);
    DestroyWindow(wnd);
    return 0;
}
