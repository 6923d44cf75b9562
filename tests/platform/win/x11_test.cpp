// The X11 back end under Xvfb: a shaped window with Chinese text, clicked with xdotool and checked
// from a screenshot. Skipped with a message where Xvfb (or xdotool, import) is missing.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/base/main_thread.h"
#include "tests/platform/win/window_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

namespace {

// Pumps messages until done() holds (X events arrive asynchronously); False after timeoutMs.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        vxwin::PumpMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The colour (0xRRGGBB) of a screen pixel as the X server shows it.
unsigned long ScreenPixel(Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long px = image ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
    if (image) XDestroyImage(image);
    return px;
}

int CountOf(const TestWindows& tw, HWND w, UINT msg) { return int(tw.Of(w, {msg}).size()); }

std::uint32_t PngPixel(cairo_surface_t* s, int x, int y)
{
    auto* row =
        reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s));
    return row[x] & 0xFFFFFF;
}

}  // namespace

TEST(WinX11, ShapedWindowWithChineseTextTakesClicksAndShowsOnScreen)
{
    std::string xvfb = FindTool("Xvfb"), xdotool = FindTool("xdotool"), import = FindTool("import");
    if (xvfb.empty() || xdotool.empty() || import.empty())
        X11_TEST_UNAVAILABLE() << "Xvfb, xdotool or ImageMagick's import is not installed";
    XvfbServer server;
    if (server.Display().empty()) X11_TEST_UNAVAILABLE() << "Xvfb could not be started";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));
    ASSERT_STREQ(vxwin::BackendName(), "x11");

    TestWindows tw;
    // A 200x100 window at (40, 40) whose right 60 pixels are cut away by its region.
    HWND w = tw.Top(40, 40, 200, 100, WS_POPUP);
    SetWindowRgn(w, CreateRectRgn(0, 0, 140, 100), FALSE);
    tw.handlers[w] = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r{0, 0, 200, 100};
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &r, blue);
        DeleteObject(blue);
        LOGFONTW lf;
        lf.lfHeight = -20;
        std::wcscpy(lf.lfFaceName, L"宋体");
        HFONT f = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT t{0, 0, 140, 50};
        DrawTextW(dc, L"格式转换", -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(f);
        EndPaint(h, &ps);
        return true;
    };
    ShowWindow(w, SW_SHOW);
    Display* screen = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(screen, 50, 130) == 0x0000FF; })) << "the window is on screen";

    // A click inside the shape reaches the window; one in the cut-away part does not (the click
    // inside that follows it is the only one that arrives).
    ASSERT_EQ(RunTool({xdotool, "mousemove", "100", "120", "click", "1"}, server.Display()), 0);
    ASSERT_TRUE(PumpUntil([&] { return tw.Last(w, WM_LBUTTONDOWN) != nullptr; }));
    auto* down = tw.Last(w, WM_LBUTTONDOWN);
    EXPECT_EQ(GET_X_LPARAM(down->lp), 60);
    EXPECT_EQ(GET_Y_LPARAM(down->lp), 80);
    tw.log.clear();
    ASSERT_EQ(RunTool({xdotool, "mousemove", "220", "120", "click", "1"}, server.Display()), 0);
    ASSERT_EQ(RunTool({xdotool, "mousemove", "50", "130", "click", "1"}, server.Display()), 0);
    ASSERT_TRUE(PumpUntil([&] { return tw.Last(w, WM_LBUTTONDOWN) != nullptr; }));
    EXPECT_EQ(CountOf(tw, w, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(GET_X_LPARAM(tw.Last(w, WM_LBUTTONDOWN)->lp), 10);

    // Keys typed into the window arrive as key and character messages.
    SetFocus(w);
    tw.log.clear();
    ASSERT_EQ(RunTool({xdotool, "mousemove", "100", "120", "key", "a"}, server.Display()), 0);
    ASSERT_TRUE(PumpUntil([&] { return tw.Last(w, WM_CHAR) != nullptr; }));
    auto* key = tw.Last(w, WM_KEYDOWN);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->wp, static_cast<WPARAM>('A'));
    auto* ch = tw.Last(w, WM_CHAR);
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->wp, static_cast<WPARAM>(L'a'));

    TempDir dir;
    std::string shot = dir.file("screen.png");
    ASSERT_EQ(RunTool({import, "-window", "root", shot}, server.Display()), 0);
    cairo_surface_t* s = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(PngPixel(s, 50, 130), 0x0000FFu);   // inside the shape, below the text
    EXPECT_NE(PngPixel(s, 220, 130), 0x0000FFu);  // cut away: the root window shows
    // The text left light pixels in the upper band of the window.
    int light = 0;
    for (int y = 40; y < 90; ++y)
        for (int x = 40; x < 180; ++x)
            if ((PngPixel(s, x, y) & 0xFF) > 0xFF - 1 && (PngPixel(s, x, y) >> 16) > 0x80) ++light;
    EXPECT_GT(light, 20);
    cairo_surface_destroy(s);

    // Text put on the clipboard here can be pasted by another X client.
    HGLOBAL g = GlobalAlloc(GHND, 4 * sizeof(wchar_t));
    std::wcscpy(static_cast<wchar_t*>(GlobalLock(g)), L"转换");
    GlobalUnlock(g);
    OpenClipboard(w);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, g);
    CloseClipboard();
    Display* other = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(other, nullptr);
    Window ow = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
    Atom clip = XInternAtom(other, "CLIPBOARD", False), utf8 = XInternAtom(other, "UTF8_STRING", False);
    Atom prop = XInternAtom(other, "PASTE", False);
    XConvertSelection(other, clip, utf8, prop, ow, CurrentTime);
    XFlush(other);
    std::string pasted;
    for (int i = 0; i < 100 && pasted.empty(); ++i) {
        while (XPending(other)) {
            XEvent ev;
            XNextEvent(other, &ev);
            if (ev.type != SelectionNotify || ev.xselection.property == None) continue;
            Atom type;
            int format;
            unsigned long n, after;
            unsigned char* data = nullptr;
            XGetWindowProperty(other, ow, prop, 0, 1024, True, AnyPropertyType, &type, &format, &n, &after, &data);
            if (data) {
                pasted.assign(reinterpret_cast<char*>(data), n);
                XFree(data);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // A child window for another library (the preview that SDL draws) gets a native X11 window.
    HWND preview = tw.Child(w, 10, 60, 40, 30);
    unsigned long native = vxwin::NativeWindowId(preview);
    ASSERT_NE(native, 0u);
    XWindowAttributes wa;
    ASSERT_TRUE(XGetWindowAttributes(other, native, &wa));
    EXPECT_EQ(wa.width, 40);
    EXPECT_EQ(wa.x, 10);
    XDestroyWindow(other, ow);
    XCloseDisplay(other);
    EXPECT_EQ(pasted, "\xE8\xBD\xAC\xE6\x8D\xA2");
    XCloseDisplay(screen);
    DestroyWindow(w);
    vxwin::UseHeadlessBackend();
}

// Calls the back end queued for the UI thread (here: following a change of the X focus) are
// dropped once the back end is closed: its display is gone by then.
TEST(WinX11, CallsQueuedByAClosedBackEndAreDropped)
{
    if (FindTool("Xvfb").empty()) X11_TEST_UNAVAILABLE() << "Xvfb is not installed";
    XvfbServer server;
    if (server.Display().empty()) X11_TEST_UNAVAILABLE() << "Xvfb could not be started";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));
    TestWindows tw;
    HWND w = tw.Top(40, 40, 200, 100, WS_POPUP);
    ShowWindow(w, SW_SHOW);
    Display* other = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(other, nullptr);
    XWindowAttributes wa{};
    const Window native = Window(vxwin::NativeWindowId(w));
    ASSERT_TRUE(PumpUntil([&] { return XGetWindowAttributes(other, native, &wa) && wa.map_state == IsViewable; }));

    // The focus leaves the window and comes back: the back end's reader queues calls for the UI
    // thread, which nothing serves before the back end closes.
    std::atomic<int> queued{0};
    auto waker = SetWakeMainThread([&queued] { ++queued; });
    XSetInputFocus(other, DefaultRootWindow(other), RevertToPointerRoot, CurrentTime);
    XSetInputFocus(other, native, RevertToPointerRoot, CurrentTime);
    XSync(other, False);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (queued == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SetWakeMainThread(waker);
    ASSERT_GT(queued.load(), 0) << "no call was queued";
    DestroyWindow(w);
    vxwin::UseHeadlessBackend();
    XCloseDisplay(other);
    // Served now, the call finds the back end closed and touches nothing of it.
    CheckSynchronize(0);
}
