// The X11 back end on a desktop with a real window manager (openbox) and compositor (xcompmgr):
// per-pixel alpha blended by the compositor and cut by the shape without it, click-through
// windows, owned dialogs above their owner, the window manager's states and protocols, pointer
// grabs of popups, and native child windows that follow their control. Skipped with a message
// where a tool is missing.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/platform/win/window_test_support.h"
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"

namespace {

// Pumps until fn holds or the time is up.
bool PumpUntil(const std::function<bool()>& fn, int ms)
{
    return X11Desktop::WaitFor(
        [&] {
            vxwin::PumpMessages();
            return fn();
        },
        ms);
}

#define START_DESKTOP(desk, ...)                                                         \
    X11Desktop desk(X11Desktop::Options{__VA_ARGS__});                                   \
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing"; \
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));                                   \
    struct BackToHeadless {                                                              \
        ~BackToHeadless() { vxwin::UseHeadlessBackend(); }                               \
    } backToHeadless

// A foreign program's window that records the presses it gets.
struct ForeignWindow {
    Display* d;
    Window w;
    ForeignWindow(Display* dpy, int x, int y, int cx, int cy) : d(dpy)
    {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = 0x00FF00;
        a.event_mask = ButtonPressMask;
        w = XCreateWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(cx), static_cast<unsigned>(cy), 0,
                          CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask,
                          &a);
        XMapRaised(d, w);
        XSync(d, False);
    }
    ~ForeignWindow()
    {
        XDestroyWindow(d, w);
        XSync(d, False);
    }
    bool Pressed()
    {
        XSync(d, False);
        XEvent ev;
        bool any = false;
        while (XCheckTypedWindowEvent(d, w, ButtonPress, &ev)) any = true;
        return any;
    }
};

std::vector<Atom> AtomList(Display* d, Window w, const char* prop)
{
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    std::vector<Atom> out;
    if (XGetWindowProperty(d, w, XInternAtom(d, prop, False), 0, 64, False, XA_ATOM, &type, &format, &n, &after,
                           &data) == Success &&
        data)
        for (unsigned long i = 0; i < n; ++i) out.push_back(reinterpret_cast<Atom*>(data)[i]);
    if (data) XFree(data);
    return out;
}

// A 100x100 premultiplied picture: left half white at half alpha, right top transparent, right
// bottom opaque red.
struct LayerPicture {
    HDC dc;
    HBITMAP bm;
    LayerPicture()
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biWidth = 100;
        bi.bmiHeader.biHeight = -100;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* p = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) p[y * 100 + x] = x < 50 ? 0x80808080u : y < 50 ? 0u : 0xFFFF0000u;
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bm);
    }
    ~LayerPicture()
    {
        DeleteDC(dc);
        DeleteObject(bm);
    }
};

}  // namespace

TEST(WinX11Desktop, PerPixelAlphaBlendsWithACompositorAndIsCutByTheShapeWithout)
{
    START_DESKTOP(desk, false, true);
    TestWindows tw;
    HWND below = tw.Top(20, 20, 200, 200, WS_POPUP);
    tw.paintColor[below] = RGB(0, 0, 255);
    ShowWindow(below, SW_SHOW);
    HWND layer = tw.Top(60, 60, 100, 100, WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    LayerPicture pic;
    POINT pos{60, 60}, src{0, 0};
    SIZE size{100, 100};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(layer, nullptr, &pos, &size, pic.dc, &src, 0, &bf, ULW_ALPHA));
    ShowWindow(layer, SW_SHOWNA);
    // Constant alpha on a window that paints itself: white at half strength.
    HWND faded = tw.Top(170, 170, 40, 40, WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    tw.paintColor[faded] = RGB(255, 255, 255);
    SetLayeredWindowAttributes(faded, 0, 128, LWA_ALPHA);
    ShowWindow(faded, SW_SHOWNA);
    PumpFor(800);

    auto shot = desk.Screenshot();
    ASSERT_TRUE(shot->Ok());
    EXPECT_TRUE(NearColor(shot->At(190, 190), 0x8080FF, 12)) << std::hex << shot->At(190, 190);
    // Half-transparent white over blue: white at half strength plus half the blue.
    EXPECT_TRUE(NearColor(shot->At(80, 100), 0x8080FF, 12)) << std::hex << shot->At(80, 100);
    EXPECT_EQ(shot->At(130, 70), 0x0000FFu);  // fully transparent: the window below shows
    EXPECT_EQ(shot->At(130, 130), 0xFF0000u);
    EXPECT_EQ(shot->At(40, 40), 0x0000FFu);

    // Without the compositor the shape is the fallback: transparent pixels are still cut away,
    // and the rest shows as it is, unblended.
    ASSERT_TRUE(desk.StopCompositor());
    PumpFor(800);
    shot = desk.Screenshot();
    ASSERT_TRUE(shot->Ok());
    EXPECT_EQ(shot->At(130, 70), 0x0000FFu);
    EXPECT_EQ(shot->At(130, 130), 0xFF0000u);
    EXPECT_FALSE(NearColor(shot->At(80, 100), 0x8080FF, 12)) << std::hex << shot->At(80, 100);
}

// Windows made layered (border and glow layers) are placed by the program: override-redirect,
// so the window manager neither moves nor frames them; a window that becomes layered later
// (a form fading in) stays managed, also when per-pixel content gives it a new X window.
TEST(WinX11Desktop, WindowsMadeLayeredAreOverrideRedirectOnesMadeLayeredLaterStayManaged)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    HWND border = tw.Top(30, 30, 100, 20, WS_POPUP, WS_EX_LAYERED);
    HWND form = tw.Top(30, 60, 100, 100, WS_POPUP);
    ShowWindow(border, SW_SHOWNA);
    ShowWindow(form, SW_SHOW);
    SetWindowLongW(form, GWL_EXSTYLE, static_cast<LONG>(GetWindowLongW(form, GWL_EXSTYLE) | WS_EX_LAYERED));
    LayerPicture pic;
    POINT pos{30, 60}, src{0, 0};
    SIZE size{100, 100};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(form, nullptr, &pos, &size, pic.dc, &src, 0, &bf, ULW_ALPHA));
    PumpFor(400);
    auto overrideRedirect = [&](HWND h) {
        XWindowAttributes a{};
        XGetWindowAttributes(desk.Other(), vxwin::NativeWindowId(h), &a);
        return a.override_redirect != False;
    };
    EXPECT_TRUE(overrideRedirect(border));
    EXPECT_FALSE(overrideRedirect(form));
}

TEST(WinX11Desktop, ClickThroughWindowsPassClicksToWhatLiesBelow)
{
    START_DESKTOP(desk, false, false);
    TestWindows tw;
    HWND below = tw.Top(20, 20, 200, 200, WS_POPUP);
    tw.paintColor[below] = RGB(0, 0, 255);
    ShowWindow(below, SW_SHOW);
    ForeignWindow foreign(desk.Other(), 300, 20, 100, 100);
    DWORD ex = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    HWND over = tw.Top(20, 20, 200, 200, WS_POPUP, ex);
    HWND overForeign = tw.Top(300, 20, 100, 100, WS_POPUP, ex);
    for (HWND h : {over, overForeign}) {
        SetLayeredWindowAttributes(h, 0, 128, LWA_ALPHA);
        ShowWindow(h, SW_SHOWNA);
    }
    PumpFor(400);
    tw.log.clear();
    ASSERT_EQ(desk.Click(100, 100), 0);
    EXPECT_TRUE(PumpUntil([&] { return tw.Last(below, WM_LBUTTONDOWN) != nullptr; }, 2000));
    EXPECT_EQ(tw.Last(over, WM_LBUTTONDOWN), nullptr);
    // Over another program's window, the click reaches that program.
    ASSERT_EQ(desk.Click(350, 70), 0);
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return foreign.Pressed(); }, 2000));
    EXPECT_EQ(tw.Last(overForeign, WM_LBUTTONDOWN), nullptr);
}

TEST(WinX11Desktop, CapturingPopupHearsClicksOutsideItUntilItCloses)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    ForeignWindow foreign(desk.Other(), 300, 20, 100, 100);
    HWND popup = tw.Top(20, 20, 100, 100, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    tw.paintColor[popup] = RGB(255, 255, 255);
    ShowWindow(popup, SW_SHOWNA);
    SetCapture(popup);
    PumpFor(300);
    tw.log.clear();
    // A click on another program's window goes to the open drop-down, which closes on it.
    ASSERT_EQ(desk.Click(350, 70), 0);
    ASSERT_TRUE(PumpUntil([&] { return tw.Last(popup, WM_LBUTTONDOWN) != nullptr; }, 2000));
    const Logged* down = tw.Last(popup, WM_LBUTTONDOWN);
    EXPECT_EQ(GET_X_LPARAM(down->lp), 330);
    EXPECT_EQ(GET_Y_LPARAM(down->lp), 50);
    EXPECT_FALSE(foreign.Pressed());
    // Closed by a key (no click): the pointer is free again.
    ReleaseCapture();
    ShowWindow(popup, SW_HIDE);
    PumpFor(200);
    ASSERT_EQ(desk.Click(350, 70), 0);
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return foreign.Pressed(); }, 2000));
    // Destroyed while it holds the capture (a timer closing it): free as well.
    ShowWindow(popup, SW_SHOWNA);
    SetCapture(popup);
    PumpFor(200);
    DestroyWindow(popup);
    PumpFor(200);
    ASSERT_EQ(desk.Click(350, 70), 0);
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return foreign.Pressed(); }, 2000));
    // Capture taken before the popup shows: the grab starts when it appears.
    HWND early = tw.Top(20, 20, 100, 100, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    SetCapture(early);
    ShowWindow(early, SW_SHOWNA);
    PumpFor(200);
    tw.log.clear();
    ASSERT_EQ(desk.Click(350, 70), 0);
    EXPECT_TRUE(PumpUntil([&] { return tw.Last(early, WM_LBUTTONDOWN) != nullptr; }, 2000));
    EXPECT_FALSE(foreign.Pressed());
    ReleaseCapture();
}

// A popup that takes the capture while another program holds the pointer (the window manager
// between a press and its replay) gets the grab once that ends, and hears the next outside click.
TEST(WinX11Desktop, CapturingPopupGetsThePointerOnceAnotherProgramReleasesIt)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    Display* d = desk.Other();
    ForeignWindow foreign(d, 300, 20, 100, 100);
    ASSERT_EQ(XGrabPointer(d, foreign.w, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    XSync(d, False);
    HWND popup = tw.Top(20, 20, 100, 100, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    ShowWindow(popup, SW_SHOWNA);
    SetCapture(popup);
    PumpFor(100);
    XUngrabPointer(d, CurrentTime);
    XSync(d, False);
    // Held by us again: another client's grab is refused.
    auto heldByUs = [&] {
        const int r = XGrabPointer(d, foreign.w, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                                   CurrentTime);
        if (r == GrabSuccess) XUngrabPointer(d, CurrentTime);
        XSync(d, False);
        return r == AlreadyGrabbed;
    };
    ASSERT_TRUE(PumpUntil(heldByUs, 3000));
    tw.log.clear();
    ASSERT_EQ(desk.Click(350, 70), 0);
    EXPECT_TRUE(PumpUntil([&] { return tw.Last(popup, WM_LBUTTONDOWN) != nullptr; }, 2000));
    EXPECT_FALSE(foreign.Pressed());
    ReleaseCapture();
}

TEST(WinX11Desktop, OwnedDialogStaysAboveItsOwnerAndTheWindowManagerHearsStatesTitlesAndClose)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    HWND owner = tw.Top(40, 40, 400, 300, WS_POPUP);
    tw.paintColor[owner] = RGB(0, 0, 255);
    SetWindowTextW(owner, L"格式转换器");
    ShowWindow(owner, SW_SHOW);
    HWND dialog =
        CreateWindowExW(0, L"VxTestWindow", L"dialog", WS_POPUP, 120, 120, 150, 100, owner, nullptr, nullptr, nullptr);
    tw.created.push_back(dialog);
    tw.paintColor[dialog] = RGB(255, 0, 0);
    ShowWindow(dialog, SW_SHOW);
    EnableWindow(owner, FALSE);
    PumpFor(500);
    Window ownerX = vxwin::NativeWindowId(owner), dialogX = vxwin::NativeWindowId(dialog);
    ASSERT_NE(ownerX, 0u);
    Window transientFor = 0;
    ASSERT_TRUE(XGetTransientForHint(desk.Other(), dialogX, &transientFor));
    EXPECT_EQ(transientFor, ownerX);

    // A click on the owner raises it, yet the dialog stays on top.
    ASSERT_EQ(desk.Click(60, 60), 0);
    PumpFor(600);
    auto shot = desk.Screenshot();
    ASSERT_TRUE(shot->Ok());
    EXPECT_EQ(shot->At(190, 170), 0xFF0000u);
    EXPECT_EQ(shot->At(60, 250), 0x0000FFu);

    // The title in UTF-8.
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(desk.Other(), ownerX, XInternAtom(desk.Other(), "_NET_WM_NAME", False), 0, 64, False,
                                 AnyPropertyType, &type, &format, &n, &after, &data),
              Success);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), n), "格式转换器");
    XFree(data);

    // The program's icon (its window class's) for the task bar: width, height, ARGB pixels.
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP iconBits = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < 256; ++i) static_cast<std::uint32_t*>(bits)[i] = 0xFF00A0FFu;
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = iconBits;
    HICON icon = CreateIconIndirect(&ii);
    WNDCLASSW wc;
    wc.lpszClassName = L"VxIconWindow";
    wc.lpfnWndProc = DefWindowProcW;
    wc.hIcon = icon;
    RegisterClassW(&wc);
    HWND withIcon =
        CreateWindowExW(0, L"VxIconWindow", L"icon", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(XGetWindowProperty(desk.Other(), vxwin::NativeWindowId(withIcon),
                                 XInternAtom(desk.Other(), "_NET_WM_ICON", False), 0, 1024, False, XA_CARDINAL, &type,
                                 &format, &n, &after, &data),
              Success);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(n, 2u + 256u);
    auto* longs = reinterpret_cast<unsigned long*>(data);
    EXPECT_EQ(longs[0], 16u);
    EXPECT_EQ(longs[2] & 0xFFFFFFFFu, 0xFF00A0FFu);
    XFree(data);
    DestroyWindow(withIcon);
    UnregisterClassW(L"VxIconWindow", nullptr);
    DestroyIcon(icon);
    DeleteObject(iconBits);

    // Stay-on-top switched on after creation: the window manager takes the state.
    Atom above = XInternAtom(desk.Other(), "_NET_WM_STATE_ABOVE", False);
    SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntil(
        [&] {
            auto st = AtomList(desk.Other(), ownerX, "_NET_WM_STATE");
            return std::find(st.begin(), st.end(), above) != st.end();
        },
        2000));
    SetWindowPos(owner, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntil(
        [&] {
            auto st = AtomList(desk.Other(), ownerX, "_NET_WM_STATE");
            return std::find(st.begin(), st.end(), above) == st.end();
        },
        2000));

    // The window manager's close request reaches the window as WM_CLOSE, not while disabled.
    auto askClose = [&] {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = ownerX;
        e.xclient.message_type = XInternAtom(desk.Other(), "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(desk.Other(), "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(desk.Other(), ownerX, False, NoEventMask, &e);
        XSync(desk.Other(), False);
    };
    tw.log.clear();
    askClose();
    PumpFor(400);
    EXPECT_EQ(tw.Last(owner, WM_CLOSE), nullptr);
    EnableWindow(owner, TRUE);
    tw.handlers[owner] = [](HWND, UINT m, WPARAM, LPARAM, LRESULT&) { return m == WM_CLOSE; };
    askClose();
    EXPECT_TRUE(PumpUntil([&] { return tw.Last(owner, WM_CLOSE) != nullptr; }, 2000));
}

TEST(WinX11Desktop, NativeChildFollowsItsControl)
{
    START_DESKTOP(desk, false, false);
    TestWindows tw;
    HWND top = tw.Top(20, 20, 300, 200);
    HWND box = tw.Child(top, 20, 10, 200, 150);
    HWND host = tw.Child(box, 10, 10, 100, 80);
    PumpFor(200);
    Window native = vxwin::NativeWindowId(host);
    ASSERT_NE(native, 0u);
    auto attrs = [&] {
        XWindowAttributes wa{};
        XSync(desk.Other(), False);
        if (!XGetWindowAttributes(desk.Other(), native, &wa)) wa.map_state = -1;
        return wa;
    };
    // The top window shows when the server has mapped it: a loaded machine may take a while.
    XWindowAttributes wa = attrs();
    for (int i = 0; i < 100 && wa.map_state != IsViewable; ++i) {
        PumpFor(50);
        wa = attrs();
    }
    EXPECT_EQ(wa.x, 30);
    EXPECT_EQ(wa.y, 20);
    EXPECT_EQ(wa.map_state, IsViewable);
    // The server takes requests of two connections in no set order: what this test's connection
    // reads is waited for.
    auto settled = [&](const std::function<bool(const XWindowAttributes&)>& AWanted) {
        return X11Desktop::WaitFor([&] { return AWanted(wa = attrs()); }, 3000);
    };
    SetWindowPos(host, nullptr, 5, 6, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(box, nullptr, 40, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    settled([](const XWindowAttributes& a) { return a.x == 45 && a.width == 120; });
    EXPECT_EQ(wa.x, 45);
    EXPECT_EQ(wa.y, 16);
    EXPECT_EQ(wa.width, 120);
    EXPECT_EQ(wa.height, 90);
    ShowWindow(box, SW_HIDE);
    settled([](const XWindowAttributes& a) { return a.map_state != IsViewable; });
    EXPECT_EQ(wa.map_state, IsUnmapped);
    ShowWindow(box, SW_SHOW);
    settled([](const XWindowAttributes& a) { return a.map_state != IsUnmapped; });
    EXPECT_EQ(wa.map_state, IsViewable);
    DestroyWindow(box);
    settled([](const XWindowAttributes& a) { return a.map_state == -1; });
    EXPECT_EQ(wa.map_state, -1);  // gone with its control
}

namespace {

// The left edges the window heard of in WM_MOVE, in order.
std::vector<int> MovedLefts(const TestWindows& tw, HWND w)
{
    std::vector<int> out;
    for (const Logged& l : tw.log)
        if (l.hwnd == w && l.msg == WM_MOVE) out.push_back(GET_X_LPARAM(l.lp));
    return out;
}

RECT RectOf(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

}  // namespace

// A reparenting window manager echoes every move as a synthetic ConfigureNotify: late echoes of
// earlier steps must not pull the window back, while places and sizes it chooses itself (here
// through xdotool) are taken; the window's size limits reach it as WM_NORMAL_HINTS.
TEST(WinX11Desktop, WindowManagerEchoesAreIgnoredAndItsOwnChoicesTaken)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    HWND w = tw.Top(40, 40, 200, 150, WS_POPUP);
    tw.paintColor[w] = RGB(0, 0, 255);
    tw.handlers[w] = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        if (m != WM_GETMINMAXINFO) return false;
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = POINT{120, 80};
        r = 0;
        return true;
    };
    ShowWindow(w, SW_SHOW);
    PumpFor(500);
    tw.log.clear();
    for (int i = 1; i <= 30; ++i) SetWindowPos(w, nullptr, 40 + 4 * i, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpFor(800);
    EXPECT_EQ(RectOf(w).left, 160);
    const auto lefts = MovedLefts(tw, w);
    EXPECT_TRUE(std::is_sorted(lefts.begin(), lefts.end())) << "no echo pulled the window back";

    const std::string xid = std::to_string(vxwin::NativeWindowId(w));
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(desk.Other(), vxwin::NativeWindowId(w), &hints, &supplied));
    EXPECT_TRUE(hints.flags & PMinSize);
    EXPECT_EQ(hints.min_width, 120);
    EXPECT_EQ(hints.min_height, 80);

    ASSERT_EQ(desk.Xdotool({"windowsize", xid, "260", "170"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return RectOf(w).right - RectOf(w).left == 260; }, 3000))
        << "the size the window manager gave";
    EXPECT_EQ(RectOf(w).bottom - RectOf(w).top, 170);
    ASSERT_EQ(desk.Xdotool({"windowmove", xid, "300", "200"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return RectOf(w).left == 300 && RectOf(w).top == 200; }, 3000))
        << "the place the window manager gave";
}

// Minimised without a window manager, a window leaves the screen (nobody would iconify it); a
// restore maps it again, with a window manager too.
void MinimiseAndRestore(X11Desktop& desk)
{
    TestWindows tw;
    HWND w = tw.Top(40, 40, 200, 150, WS_POPUP);
    ShowWindow(w, SW_SHOW);
    const Window x = vxwin::NativeWindowId(w);
    auto mapState = [&] {
        XWindowAttributes a{};
        XGetWindowAttributes(desk.Other(), x, &a);
        return a.map_state;
    };
    ASSERT_TRUE(PumpUntil([&] { return mapState() == IsViewable; }, 3000));
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return mapState() != IsViewable; }, 3000));
    EXPECT_TRUE(IsIconic(w));
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return mapState() == IsViewable; }, 3000));
    EXPECT_FALSE(IsIconic(w));
}

TEST(WinX11Desktop, MinimisedWithoutAWindowManagerLeavesTheScreenAndComesBack)
{
    START_DESKTOP(desk, false, false);
    MinimiseAndRestore(desk);
}

TEST(WinX11Desktop, MinimisedUnderAWindowManagerComesBackOnRestore)
{
    START_DESKTOP(desk, true, false);
    MinimiseAndRestore(desk);
}

// Activating a minimised window (or the focus lingering on it) leaves it minimised: no focus
// request reaches the window manager, which would take it as a restore.
TEST(WinX11Desktop, ActivatingAMinimisedWindowLeavesItMinimised)
{
    START_DESKTOP(desk, true, false);
    TestWindows tw;
    HWND w = tw.Top(40, 40, 200, 150, WS_POPUP);
    ShowWindow(w, SW_SHOW);
    auto viewable = [&](HWND h) {
        XWindowAttributes a{};
        XGetWindowAttributes(desk.Other(), vxwin::NativeWindowId(h), &a);
        return a.map_state == IsViewable;
    };
    ASSERT_TRUE(PumpUntil([&] { return viewable(w); }, 3000));
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return !viewable(w); }, 3000));
    SetActiveWindow(w);
    // A second window mapped through the manager after that: once it shows, the manager has
    // handled everything sent before it.
    HWND later = tw.Top(300, 40, 100, 100, WS_POPUP);
    ShowWindow(later, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return viewable(later); }, 3000));
    PumpFor(100);
    EXPECT_FALSE(viewable(w));
    EXPECT_TRUE(IsIconic(w));
}

// The work area is the current desktop's entry of _NET_WORKAREA.
TEST(WinX11Desktop, WorkAreaOfTheCurrentDesktop)
{
    START_DESKTOP(desk, false, false);
    Display* d = desk.Other();
    const Window root = DefaultRootWindow(d);
    long areas[8] = {0, 0, 640, 480, 0, 40, 600, 440};
    long current = 1;
    XChangeProperty(d, root, XInternAtom(d, "_NET_WORKAREA", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(areas), 8);
    XChangeProperty(d, root, XInternAtom(d, "_NET_CURRENT_DESKTOP", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&current), 1);
    XSync(d, False);
    RECT wa{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0));
    EXPECT_EQ(wa.left, 0);
    EXPECT_EQ(wa.top, 40);
    EXPECT_EQ(wa.right, 600);
    EXPECT_EQ(wa.bottom, 480);
}
