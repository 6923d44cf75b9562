// The player inside real X11 host windows under Xvfb: a panel of the window layer (its native
// child window), checked from a screenshot of the screen; and a bare X11 window, whose size
// becomes the video size, which gets the paused picture back when exposed, and whose destruction
// while SDL still draws into it does not end the program. Skipped without Xvfb.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "engine/player.h"
#include "platform/base/main_thread.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/engine/probe_test_support.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

// Xlib last: its macros (Status, None, Bool) would rewrite names of the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// SDL 1.2's X11 driver keeps a graphics context of the foreign window to the end; the same
// system-library rules as tests/support/lsan.supp, built in so they hold however the test runs.
extern "C" const char* __lsan_default_suppressions() { return "leak:libX11\nleak:libSDL\n"; }

namespace {

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000)
{
    return WaitServingMainThread(pred, 5, timeoutMs);
}

// The colour (0xRRGGBB) of a screen pixel, read from the X server like a screenshot.
unsigned long ScreenshotPixel(::Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long px = image ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
    if (image) XDestroyImage(image);
    return px;
}

bool Near(unsigned long rgb, unsigned long wanted, int tolerance)
{
    for (int shift : {16, 8, 0})
        if (std::abs(static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((wanted >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

TEST(PlayerHostWindow, DrawsInsideAPanelOfTheWindowLayer)
{
    if (FindTool("Xvfb").empty()) X11_TEST_UNAVAILABLE() << "Xvfb is not installed";
    XvfbServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));
    setenv("DISPLAY", server.Display().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    TempDir dir;
    std::string clip = dir.file("clip.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg(
        {"-f", "lavfi", "-i", "color=c=0x3366CC:size=64x48:rate=25", "-t", "3", "-c:v", "mpeg4", clip}));

    // A green form at (50, 50) with a 240 x 150 preview panel at (40, 20) in it.
    WNDCLASSW wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"VxPlayerHostTest";
    wc.hbrBackground = CreateSolidBrush(RGB(0, 160, 0));
    RegisterClassW(&wc);
    HWND form = CreateWindowExW(0, L"VxPlayerHostTest", L"form", WS_POPUP | WS_VISIBLE, 50, 50, 320, 200, nullptr,
                                nullptr, nullptr, nullptr);
    HWND panel = CreateWindowExW(0, L"VxPlayerHostTest", L"panel", WS_CHILD | WS_VISIBLE, 40, 20, 240, 150, form,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(panel, nullptr);
    unsigned long native = vxwin::NativeWindowId(panel);
    ASSERT_NE(native, 0u) << "the X11 back end gives the panel a native child window";
    auto pump = [](const std::function<bool()>& pred, int timeoutMs) {
        return WaitServingMainThread(
            [&] {
                vxwin::PumpMessages();
                return pred();
            },
            10, timeoutMs);
    };
    ::Display* display = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(pump([&] { return Near(ScreenshotPixel(display, 60, 60), 0x00A000, 8); }, 5000))
        << "the form is on screen";

    DefaultLoader().SetLibraryPath(L"");
    ASSERT_TRUE(DefaultLoader().Load(PlayerLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    {
        TFFPlayer player(nullptr);
        ASSERT_TRUE(player.Open(Utf8ToString(clip), native, false)) << StringToUtf8(player.LastErrMsg());
        EXPECT_EQ(player.ScreenWidth(), 240);
        EXPECT_EQ(player.ScreenHeight(), 150);
        ASSERT_TRUE(pump([&] { return player.CurrentPTS() > 300000; }, 10000));
        // The 4:3 picture, 200 x 150, centred in the panel: screen (110..310, 70..220).
        EXPECT_TRUE(
            pump([&] { return Near(ScreenshotPixel(display, 50 + 40 + 120, 50 + 20 + 75), 0x3366CC, 12); }, 3000))
            << std::hex << ScreenshotPixel(display, 210, 145);
        EXPECT_TRUE(Near(ScreenshotPixel(display, 50 + 40 + 190, 50 + 20 + 10), 0x3366CC, 12));
        // The form around the panel keeps its own look.
        EXPECT_TRUE(Near(ScreenshotPixel(display, 60, 60), 0x00A000, 8));
        EXPECT_TRUE(Near(ScreenshotPixel(display, 50 + 300, 50 + 190), 0x00A000, 8));
        player.Stop(true);
    }
    DestroyWindow(form);
    UnregisterClassW(L"VxPlayerHostTest", nullptr);
    XCloseDisplay(display);
    DefaultLoader().Unload(PlayerLibraries);
    vxwin::UseHeadlessBackend();
}

TEST(PlayerHostWindow, DrawsInsideTheHostWindowAndSurvivesItsDestruction)
{
    if (FindTool("Xvfb").empty()) X11_TEST_UNAVAILABLE() << "Xvfb is not installed";
    XInitThreads();
    XvfbServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");  // the default driver choice: x11 with a display
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    TempDir dir;
    std::string clip = dir.file("clip.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg(
        {"-f", "lavfi", "-i", "color=c=0x3366CC:size=64x48:rate=25", "-t", "3", "-c:v", "mpeg4", clip}));

    ::Display* display = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(display, nullptr);
    int screen = DefaultScreen(display);
    Window host = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10, 240, 150, 0,
                                      BlackPixel(display, screen), BlackPixel(display, screen));
    XSelectInput(display, host, StructureNotifyMask);
    XMapWindow(display, host);
    for (XEvent e;;) {
        XNextEvent(display, &e);
        if (e.type == MapNotify) break;
    }

    DefaultLoader().SetLibraryPath(L"");
    ASSERT_TRUE(DefaultLoader().Load(PlayerLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    {
        TFFPlayer player(nullptr);
        std::vector<TPlayState> states;
        player.OnState = [&](TObject*, TPlayState s) { states.push_back(s); };
        ASSERT_TRUE(player.Open(Utf8ToString(clip), host, false)) << StringToUtf8(player.LastErrMsg());
        EXPECT_EQ(player.ScreenHandle(), host);
        EXPECT_EQ(player.ScreenWidth(), 240);
        EXPECT_EQ(player.ScreenHeight(), 150);
        ASSERT_TRUE(WaitUntil([&] { return player.CurrentPTS() > 300000; }));

        // The picture fills the window's height at the clip's 4:3 shape (200 x 150), centred.
        XImage* image = XGetImage(display, host, 0, 0, 240, 150, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        unsigned long centre = XGetPixel(image, 120, 75);
        unsigned long border = XGetPixel(image, 2, 75);
        XDestroyImage(image);
        EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), 0x33, 12);
        EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), 0x66, 12);
        EXPECT_NEAR(static_cast<int>(centre & 0xFF), 0xCC, 12);
        EXPECT_NE(centre, border) << "the sides beside a 4:3 picture in a wider window are not drawn";

        EXPECT_EQ(getenv("SDL_WINDOWID"), nullptr) << "the window id is handed over only while SDL starts";

        // Exposed while paused (cleared here), the window gets its picture again from the player.
        auto centreColour = [&] {
            XImage* img = XGetImage(display, host, 120, 75, 1, 1, AllPlanes, ZPixmap);
            unsigned long px = img ? XGetPixel(img, 0, 0) : 0;
            if (img) XDestroyImage(img);
            return px;
        };
        player.Pause();
        ASSERT_TRUE(WaitUntil([&] { return !states.empty() && states.back() == psPause; }));
        ASSERT_TRUE(WaitUntil([&] { return centreColour() != 0; }));
        XClearWindow(display, host);
        XSync(display, False);
        EXPECT_EQ(centreColour(), 0u);
        player.HostWindowExposed();
        EXPECT_TRUE(WaitUntil([&] { return centreColour() != 0; }, 5000));

        // The panel goes away while SDL still draws into it: the program carries on playing.
        XDestroyWindow(display, host);
        XSync(display, False);
        const int64_t destroyedAt = player.CurrentPTS();
        player.Resume();
        EXPECT_TRUE(WaitUntil([&] { return player.CurrentPTS() > destroyedAt + 200000; }));
        player.Stop(true);
        EXPECT_TRUE(WaitUntil([&] { return !states.empty() && states.back() == psStop; }));
    }
    XCloseDisplay(display);
    DefaultLoader().Unload(PlayerLibraries);
}

}  // namespace
