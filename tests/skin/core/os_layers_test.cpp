// Version tests through the layer's version override, layered-window helpers, monitors and
// the absent desktop composition; glow layer windows fading on the test clock.
#include <gtest/gtest.h>

#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/layer_manager.h"
#include "skin/core/os_layers.h"

TEST(OsLayers, VersionTests)
{
    struct Case {
        int Major, Minor;
        bool W2000, XP, Vista, Seven, Eight;
    } cases[] = {
        {4, 0, false, false, false, false, false}, {5, 0, true, false, false, false, false},
        {5, 1, true, true, false, false, false},   {5, 2, true, false, false, false, false},
        {5, 3, false, false, false, false, false}, {6, 0, true, true, true, false, false},
        {6, 1, true, true, true, true, false},     {6, 2, true, true, true, false, true},
        {6, 3, true, true, true, false, false},    {10, 0, true, true, true, false, true},
    };
    for (auto& c : cases) {
        vxwin::ScopedVersionOverride v(c.Major, c.Minor);
        int major, minor;
        GetOSVersion(major, minor);
        EXPECT_EQ(major, c.Major);
        EXPECT_EQ(minor, c.Minor);
        EXPECT_EQ((std::vector<bool>{IsWindows2000OrLater(), IsWindowsXPOrLater(), IsWindowsVistaOrLater(),
                                     IsWindows7(), IsWindows8OrLater()}),
                  (std::vector<bool>{c.W2000, c.XP, c.Vista, c.Seven, c.Eight}))
            << c.Major << "." << c.Minor;
    }
    // What the layer itself reports: 6.1 without composition.
    EXPECT_TRUE(IsWindows7());
    EXPECT_FALSE(IsWindows8OrLater());
    EXPECT_TRUE(IsMsImg32Loaded());
    EXPECT_FALSE(IsCompositionEnabled());
    SetWindowTransitions(nullptr, false);
    SetBlurBehind(nullptr, true, nullptr);
}

TEST(OsLayers, ScreenAndMonitor)
{
    TRect screen, work, mon = Rect(1, 2, 3, 4);
    GetScreenRect(false, screen);
    GetScreenRect(true, work);
    EXPECT_EQ(screen, Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_LE(work.Bottom, screen.Bottom);
    EXPECT_FALSE(MultiMonitorAvailable());
    GetWindowMonitorRect(nullptr, true, mon);
    EXPECT_EQ(mon, work);
    SCROLLBARINFO info;
    EXPECT_EQ(QueryScrollBarInfo(nullptr, -5, info), 0);  // no such window
}

TEST(OsLayers, ImageMaskToAlphaBitmap)
{
    TBitmap image, mask;
    for (TBitmap* b : {&image, &mask}) {
        b->SetPixelFormat(pf24bit);
        b->SetSize(3, 1);
    }
    for (int x = 0; x < 3; ++x) image.SetPixelArgb(x, 0, 0xFFC08040);
    mask.SetPixelArgb(0, 0, 0xFFFFFFFF);
    mask.SetPixelArgb(1, 0, 0xFF000000);
    mask.SetPixelArgb(2, 0, 0xFF606060);
    TbsBitmap bmp;
    ImageMaskToAlphaBitmap(&image, &mask, &bmp);
    EXPECT_EQ(bmp.Pixel(0, 0), 0xFFC08040u);
    EXPECT_EQ(bmp.Pixel(1, 0), 0u);
    EXPECT_EQ(bmp.Pixel(2, 0), 0x60606040u);  // colours clamped to the alpha
}

namespace {

class GlowLayers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_STREQ(vxwin::BackendName(), "headless");
        vxwin::SetClockAutoStep(0);
        for (TBitmap* b : {&Image, &Mask}) {
            b->SetPixelFormat(pf24bit);
            b->SetSize(20, 10);
        }
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                Image.SetPixelArgb(x, y, 0xFFFF0000);
                Mask.SetPixelArgb(x, y, x < 10 ? 0xFFFFFFFF : 0xFF000000);
            }
    }
    void Tick()
    {
        vxwin::AdvanceClock(25);
        vxwin::PumpMessages();
    }
    TBitmap Image, Mask;
};

}  // namespace

TEST_F(GlowLayers, FadeInSteps)
{
    struct Case {
        int End;
        std::vector<int> Steps;  // the alpha after each tick until the timer stops
    } cases[] = {
        {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
        {100, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {0, {0}},
    };
    for (auto& c : cases) {
        TbsLayerManager m(nullptr);
        m.Show(30, 40, &Image, &Mask, c.End);
        ASSERT_TRUE(m.IsVisible);
        ASSERT_NE(m.LayerWindow, nullptr);
        EXPECT_TRUE(IsWindowVisible(m.LayerWindow->Handle()));
        EXPECT_EQ(m.BeginAlphaBlendValue, 0);
        std::vector<int> seen;
        while (m.Timer->Enabled() && seen.size() < 20) {
            Tick();
            seen.push_back(m.BeginAlphaBlendValue);
        }
        EXPECT_EQ(seen, c.Steps) << c.End;
    }
    // An end value below 10: step 0, transparent, ticking until Hide.
    TbsLayerManager m(nullptr);
    m.Show(0, 0, &Image, &Mask, 5);
    for (int i = 0; i < 30; ++i) Tick();
    EXPECT_TRUE(m.Timer->Enabled());
    EXPECT_EQ(m.BeginAlphaBlendValue, 0);
    m.Hide();
    EXPECT_FALSE(m.Timer->Enabled());
    EXPECT_EQ(m.LayerWindow, nullptr);
    EXPECT_EQ(m.Bmp, nullptr);
    EXPECT_FALSE(m.IsVisible);
}

TEST_F(GlowLayers, ContentAndOneWindowPerManager)
{
    TbsLayerManager m(nullptr);
    m.Update();  // nothing shown: nothing happens
    m.Show(10, 10, &Image, &Mask, 255);
    HWND first = m.LayerWindow->Handle();
    EXPECT_TRUE(GetWindowLongW(first, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongW(first, GWL_STYLE) & WS_CHILD, 0);
    m.Show(12, 12, &Image, &Mask, 255);
    EXPECT_FALSE(IsWindow(first));
    HWND second = m.LayerWindow->Handle();
    RECT r;
    GetWindowRect(second, &r);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.right - r.left, 20);
    for (int i = 0; i < 11; ++i) Tick();
    int w = 0, h = 0;
    std::vector<uint32_t> px = vxwin::WindowPixels(second, &w, &h);
    ASSERT_EQ(px.size(), 200u);
    EXPECT_EQ(px[0] >> 24, 255u);  // white mask: opaque
    EXPECT_EQ(px[15] >> 24, 0u);   // black mask: transparent
    m.Update();
    // Below the version threshold Show and Hide do nothing.
    vxwin::ScopedVersionOverride old(4, 0);
    m.Hide();
    EXPECT_TRUE(IsWindow(second));
    TbsLayerManager none(nullptr);
    none.Show(0, 0, &Image, &Mask, 255);
    EXPECT_EQ(none.LayerWindow, nullptr);
}

TEST_F(GlowLayers, AClickOnTheGlowReachesTheWindowBelow)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 200, 200);
    int downs = 0;
    form.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    form.Show();
    vxwin::PumpMessages();
    TbsLayerManager m(nullptr);
    m.Show(50, 50, &Image, &Mask, 255);
    for (int i = 0; i < 11; ++i) Tick();
    HWND glow = m.LayerWindow->Handle();
    vxwin::InjectMouseButton(0, true, 55, 55);
    vxwin::InjectMouseButton(0, false, 55, 55);
    vxwin::PumpMessages();
    EXPECT_EQ(downs, 1);
    EXPECT_NE(GetActiveWindow(), glow);
    EXPECT_NE(GetForegroundWindow(), glow);
    // Its own answer to a mouse activation.
    EXPECT_EQ(SendMessageW(glow, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
}
