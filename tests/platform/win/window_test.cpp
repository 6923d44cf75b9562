// Windows, messages, painting and composition, hit testing, capture, timers and threads on the
// headless back end.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/base/main_thread.h"
#include "platform/win/window.h"
#include "tests/platform/win/window_test_support.h"

using namespace vxwin;

TEST(WinWindows, HeadlessIsTheBackEndInTests) { EXPECT_STREQ(BackendName(), "headless"); }

TEST(WinWindows, CreationMessagesAndRectangles)
{
    TestWindows tw;
    HWND top = tw.Top(100, 50, 200, 150, WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME);
    ASSERT_TRUE(IsWindow(top));
    auto seq = tw.Of(top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
    RECT wr, cr;
    GetWindowRect(top, &wr);
    GetClientRect(top, &cr);
    EXPECT_EQ(wr.left, 100);
    EXPECT_EQ(wr.right, 300);
    // Default system frame: 4-pixel sizing border and a 20-pixel caption.
    EXPECT_EQ(cr.right, 192);
    EXPECT_EQ(cr.bottom, 150 - 8 - 20);
    POINT p{0, 0};
    ClientToScreen(top, &p);
    EXPECT_EQ(p.x, 104);
    EXPECT_EQ(p.y, 74);
    HWND child = tw.Child(top, 10, 10, 50, 20);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_TRUE(IsChild(top, child));
    // The child was announced to its parent.
    auto* pn = tw.Last(top, WM_PARENTNOTIFY);
    ASSERT_NE(pn, nullptr);
    EXPECT_EQ(LOWORD(pn->wp), WM_CREATE);
    EXPECT_EQ(reinterpret_cast<HWND>(pn->lp), child);
}

TEST(WinWindows, DestroyOrderAndStaleHandles)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 100, 100);
    HWND child = tw.Child(top, 0, 0, 10, 10);
    tw.log.clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> seq;
    for (auto& l : tw.log)
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) seq.push_back({l.hwnd, l.msg});
    ASSERT_EQ(seq.size(), 4u);
    EXPECT_EQ(seq[0], std::make_pair(top, WM_DESTROY));
    EXPECT_EQ(seq[1], std::make_pair(child, WM_DESTROY));
    EXPECT_EQ(seq[2], std::make_pair(child, WM_NCDESTROY));
    EXPECT_EQ(seq[3], std::make_pair(top, WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_FALSE(PostMessageW(top, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
    RECT r;
    EXPECT_FALSE(GetWindowRect(top, &r));
    EXPECT_FALSE(SetWindowPos(top, nullptr, 0, 0, 1, 1, 0));
    EXPECT_EQ(GetDC(top), nullptr);
}

TEST(WinWindows, SubclassingChainsThroughCallWindowProc)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 50, 50);
    std::vector<int> order;
    WNDPROC old = nullptr;
    WNDPROC inst = MakeObjectInstance([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER + 1) {
            order.push_back(1);
            return CallWindowProcW(old, h, m, wp, lp) + 100;
        }
        return CallWindowProcW(old, h, m, wp, lp);
    });
    old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst)));
    tw.handlers[w] = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_USER + 1) return false;
        order.push_back(2);
        r = 5;
        return true;
    };
    EXPECT_EQ(SendMessageW(w, WM_USER + 1, 0, 0), 105);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    // Restored: the original procedure alone.
    SetWindowLongPtrW(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    FreeObjectInstance(inst);
    EXPECT_EQ(SendMessageW(w, WM_USER + 1, 0, 0), 5);
}

TEST(WinWindows, PrivateMessagesPassTheDefaultProcedureUntouched)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 50, 50);
    for (UINT m : {1225u, 1236u, 1274u, 1284u, 1294u, 1424u, 1428u, 2048u, 45490u, 45513u, 48203u})
        EXPECT_EQ(DefWindowProcW(w, m, 1, 16802), 0) << m;
    EXPECT_LT(CM_BASE + 100, 45490u);
}

TEST(WinWindows, PropertiesLongsAndClassStyle)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 50, 50);
    int x = 0;
    SetPropW(w, L"obj", &x);
    EXPECT_EQ(GetPropW(w, L"obj"), &x);
    EXPECT_EQ(RemovePropW(w, L"obj"), &x);
    EXPECT_EQ(GetPropW(w, L"obj"), nullptr);
    SetWindowLongPtrW(w, GWL_USERDATA, 77);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_USERDATA), 77);
    DWORD cs = GetClassLongW(w, GCL_STYLE);
    SetClassLongW(w, GCL_STYLE, static_cast<LONG>(cs | CS_DROPSHADOW));
    EXPECT_TRUE(GetClassLongW(w, GCL_STYLE) & CS_DROPSHADOW);
    SetClassLongW(w, GCL_STYLE, static_cast<LONG>(cs));
    wchar_t name[80];
    EXPECT_EQ(GetClassNameW(w, name, 80), 12);
    EXPECT_STREQ(name, L"VxTestWindow");
}

TEST(WinPainting, EraseThenPaintAndChildrenComposeIntoTheTopLevelSurface)
{
    TestWindows tw;
    HWND top = tw.Top(10, 10, 100, 80, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND a = tw.Child(top, 10, 10, 40, 40);
    HWND b = tw.Child(top, 30, 30, 40, 40);  // created later: on top of a
    tw.paintColor[top] = RGB(0, 0, 255);
    tw.paintColor[a] = RGB(255, 0, 0);
    tw.paintColor[b] = RGB(0, 255, 0);
    tw.log.clear();
    PumpMessages();
    auto seq = tw.Of(top, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
    EXPECT_EQ(PixelAt(top, 5, 5), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 15, 15), 0xFF0000u);
    EXPECT_EQ(PixelAt(top, 35, 35), 0x00FF00u);  // b covers a
    EXPECT_EQ(PixelAt(top, 60, 60), 0x00FF00u);
    EXPECT_EQ(PixelAt(top, 90, 70), 0x0000FFu);
    EXPECT_EQ(PixelAt(a, 1, 1), 0xFF0000u);  // a child's own pixels, in its coordinates
    // Nothing left to paint.
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    // Bring a to the front: repainting shows it over b.
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    InvalidateRect(a, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(PixelAt(top, 35, 35), 0xFF0000u);
}

TEST(WinPainting, PaintIsClippedToTheUpdateRegionAndWmPaintMayCarryADc)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 40, 40);
    tw.paintColor[top] = RGB(255, 255, 255);
    PumpMessages();
    tw.paintColor[top] = RGB(0, 0, 0);
    RECT r{0, 0, 10, 10};
    InvalidateRect(top, &r, FALSE);
    PumpMessages();
    EXPECT_EQ(PixelAt(top, 5, 5), 0u);
    EXPECT_EQ(PixelAt(top, 20, 20), 0xFFFFFFu);
    // A DC in wParam: the window paints there and nothing else.
    tw.handlers[top] = [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
        if (m != WM_PAINT || !wp) return false;
        RECT all{0, 0, 4, 4};
        FillRect(reinterpret_cast<HDC>(wp), &all, reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return true;
    };
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 4;
    bi.bmiHeader.biHeight = -4;
    bi.bmiHeader.biBitCount = 32;
    void* bits;
    HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bm);
    SendMessageW(top, WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(static_cast<std::uint32_t*>(bits)[0] & 0xFFFFFF, 0x808080u);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bm);
}

TEST(WinPainting, WindowRegionClipsPaintingAndHitTesting)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 20, 20);
    HWND below = tw.Top(0, 0, 20, 20);
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    tw.paintColor[top] = RGB(255, 0, 0);
    PumpMessages();
    HRGN rgn = CreateRectRgn(0, 0, 10, 20);
    ASSERT_EQ(SetWindowRgn(top, rgn, TRUE), 1);
    EXPECT_FALSE(DeleteObject(rgn));  // the window owns it now
    // Points outside the shape go to the window below.
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), top);
    EXPECT_EQ(WindowFromPoint(POINT{15, 5}), below);
    tw.paintColor[top] = RGB(0, 0, 255);
    InvalidateRect(top, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(PixelAt(top, 5, 5), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 15, 5), 0xFF0000u);  // outside the shape: untouched
    // Replacing the region frees the old one; 0 removes it.
    ASSERT_EQ(SetWindowRgn(top, nullptr, TRUE), 1);
    EXPECT_EQ(GetObjectType(rgn), 0u);
    EXPECT_EQ(WindowFromPoint(POINT{15, 5}), top);
}

TEST(WinInput, HitTestingGivesClientAndNonClientMessages)
{
    TestWindows tw;
    HWND top = tw.Top(100, 100, 200, 100, WS_POPUP | WS_VISIBLE | WS_THICKFRAME);
    HWND child = tw.Child(top, 20, 20, 50, 30);
    tw.handlers[child] = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        // A custom code flows into the non-client messages.
        if (m == WM_NCHITTEST && GET_X_LPARAM(lp) >= 160) {
            r = 120;
            return true;
        }
        return false;
    };
    tw.log.clear();
    InjectMouseMove(130, 130);  // inside the child client area (child at 124,124)
    InjectMouseMove(101, 150);  // on the left sizing border of the top
    PumpMessages();
    auto* mm = tw.Last(child, WM_MOUSEMOVE);
    ASSERT_NE(mm, nullptr);
    EXPECT_EQ(GET_X_LPARAM(mm->lp), 6);
    EXPECT_EQ(GET_Y_LPARAM(mm->lp), 6);
    auto* nc = tw.Last(top, WM_NCMOUSEMOVE);
    ASSERT_NE(nc, nullptr);
    EXPECT_EQ(nc->wp, static_cast<WPARAM>(HTLEFT));
    auto* sc = tw.Last(top, WM_SETCURSOR);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(LOWORD(sc->lp), HTLEFT);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
}

TEST(WinInput, PressActivatesUnlessMouseActivateSaysNoAndTellsAncestors)
{
    TestWindows tw;
    HWND a = tw.Top(0, 0, 100, 100);
    HWND b = tw.Top(200, 0, 100, 100);
    HWND child = tw.Child(b, 10, 10, 30, 30);
    SetActiveWindow(a);
    tw.handlers[b] = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_MOUSEACTIVATE) return false;
        r = MA_NOACTIVATE;
        return true;
    };
    tw.log.clear();
    InjectMouseButton(0, true, 215, 15);
    InjectMouseButton(0, false, 215, 15);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), a);
    auto* pn = tw.Last(b, WM_PARENTNOTIFY);
    ASSERT_NE(pn, nullptr);
    EXPECT_EQ(LOWORD(pn->wp), WM_LBUTTONDOWN);
    EXPECT_EQ(GET_X_LPARAM(pn->lp), 15);
    EXPECT_EQ(tw.Of(child, {WM_LBUTTONDOWN, WM_LBUTTONUP}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // Without the veto the press activates, with WM_NCACTIVATE and WM_ACTIVATE in that order.
    tw.handlers.erase(b);
    tw.log.clear();
    InjectMouseButton(0, true, 215, 15);
    InjectMouseButton(0, false, 215, 15);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(tw.Of(b, {WM_NCACTIVATE, WM_ACTIVATE}), (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE}));
    EXPECT_EQ(tw.Of(a, {WM_NCACTIVATE, WM_ACTIVATE}), (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE}));
    EXPECT_EQ(LOWORD(tw.Last(b, WM_ACTIVATE)->wp), WA_CLICKACTIVE);
    // A disabled window (under a modal dialog) takes no clicks.
    EnableWindow(b, FALSE);
    tw.log.clear();
    InjectMouseButton(0, true, 215, 15);
    InjectMouseButton(0, false, 215, 15);
    PumpMessages();
    EXPECT_TRUE(tw.Of(child, {WM_LBUTTONDOWN}).empty());
    EXPECT_TRUE(tw.Of(b, {WM_LBUTTONDOWN}).empty());
}

// A message-only window (the application's, a tray icon's) is never activated: bringing it to
// the foreground leaves the active window and the z-order alone.
TEST(WinInput, MessageOnlyWindowsAreNeverActivated)
{
    TestWindows tw;
    HWND a = tw.Top(0, 0, 100, 100);
    SetActiveWindow(a);
    HWND m = CreateWindowExW(0, L"VxTestWindow", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    tw.created.push_back(m);
    const auto tops = vxwin::TopLevels();
    tw.log.clear();
    EXPECT_FALSE(SetForegroundWindow(m));
    EXPECT_EQ(SetActiveWindow(m), nullptr);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_TRUE(tw.Of(a, {WM_ACTIVATE, WM_NCACTIVATE}).empty());
    EXPECT_EQ(vxwin::TopLevels(), tops);
}

TEST(WinInput, PressOutsideTheProgramDeactivatesWhileAPopupWatches)
{
    TestWindows tw;
    HWND form = tw.Top(0, 0, 100, 100);
    HWND popup = tw.Top(20, 120, 60, 60, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW);
    SetActiveWindow(form);
    WatchOutsideClicks(popup, true);
    // A press on the program's own window goes there as usual.
    tw.log.clear();
    InjectMouseButton(0, true, 30, 130);
    InjectMouseButton(0, false, 30, 130);
    PumpMessages();
    EXPECT_EQ(tw.Of(popup, {WM_LBUTTONDOWN}).size(), 1u);
    SetActiveWindow(form);
    // Outside every window: the form loses the activation and nothing gets the press.
    tw.log.clear();
    InjectMouseButton(0, true, 500, 400);
    InjectMouseButton(0, false, 500, 400);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(tw.Of(form, {WM_ACTIVATE}).size(), 1u);
    EXPECT_TRUE(tw.Of(nullptr, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    // Watching ends with the popup (here: switched off; a destroyed popup is forgotten too).
    WatchOutsideClicks(popup, false);
    SetActiveWindow(form);
    InjectMouseButton(0, true, 500, 400);
    InjectMouseButton(0, false, 500, 400);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), form);
    WatchOutsideClicks(popup, true);
    DestroyWindow(popup);
    InjectMouseButton(0, true, 500, 400);
    InjectMouseButton(0, false, 500, 400);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), form);
}

TEST(WinInput, CaptureDoubleClickAndLeave)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 50, 50);
    SetActiveWindow(w);
    tw.handlers[w] = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_LBUTTONDOWN) SetCapture(h);
        if (m == WM_LBUTTONUP) ReleaseCapture();
        return false;
    };
    InjectMouseButton(0, true, 10, 10);
    InjectMouseMove(300, 300);  // outside, still ours while captured
    InjectMouseButton(0, false, 300, 300);
    PumpMessages();
    auto* up = tw.Last(w, WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(GET_X_LPARAM(up->lp), 300);
    EXPECT_EQ(GetCapture(), nullptr);
    // Two quick presses make a double click (the class asks for them).
    AdvanceClock(1000);
    tw.log.clear();
    for (int i = 0; i < 2; ++i) {
        InjectMouseButton(0, true, 10, 10);
        InjectMouseButton(0, false, 10, 10);
    }
    PumpMessages();
    EXPECT_EQ(tw.Of(w, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    // Leave tracking.
    InjectMouseMove(10, 10);
    PumpMessages();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = w;
    TrackMouseEvent(&tme);
    tw.log.clear();
    InjectMouseMove(400, 400);
    PumpMessages();
    EXPECT_EQ(tw.Of(w, {WM_MOUSELEAVE}).size(), 1u);
}

TEST(WinInput, KeysCharactersAndAltAsSystemKey)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 50, 50);
    SetFocus(w);
    EXPECT_EQ(GetFocus(), w);
    tw.log.clear();
    InjectKey('A', true, L"a");
    InjectKey('A', false);
    InjectText(L"中文");
    PumpMessages();
    EXPECT_EQ(tw.Of(w, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_CHAR, WM_CHAR}));
    std::wstring chars;
    for (auto& l : tw.log)
        if (l.msg == WM_CHAR) chars += static_cast<wchar_t>(l.wp);
    EXPECT_EQ(chars, L"a中文");
    // A lone Alt press and release asks for the menu (SC_KEYMENU).
    tw.log.clear();
    InjectKey(VK_MENU, true);
    InjectKey(VK_MENU, false);
    PumpMessages();
    auto* sc = tw.Last(w, WM_SYSCOMMAND);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->wp, SC_KEYMENU);
    EXPECT_EQ(tw.Of(w, {WM_SYSKEYDOWN, WM_SYSKEYUP}), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP}));
    EXPECT_FALSE(GetKeyState(VK_MENU) & 0x8000);
}

TEST(WinMessages, PostedMessagesComeInOrderAndQuitEndsTheLoop)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 10, 10, WS_POPUP);
    PostMessageW(w, WM_USER + 1, 1, 0);
    PostMessageW(w, WM_USER + 2, 2, 0);
    PostQuitMessage(7);
    MSG m;
    std::vector<UINT> got;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        got.push_back(m.message);
        DispatchMessageW(&m);
    }
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
}

TEST(WinMessages, TimersFollowTheTestClock)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 10, 10, WS_POPUP);
    SetClockAutoStep(0);
    SetTimer(w, 1, 400, nullptr);
    SetTimer(w, 2, 100, nullptr);
    PumpMessages();
    EXPECT_TRUE(tw.Of(w, {WM_TIMER}).empty());
    AdvanceClock(100);
    PumpMessages();
    ASSERT_EQ(tw.Of(w, {WM_TIMER}).size(), 1u);
    EXPECT_EQ(tw.Last(w, WM_TIMER)->wp, 2u);
    AdvanceClock(300);
    PumpMessages();
    // Id 1 once, id 2 once more (one WM_TIMER per timer however late).
    EXPECT_EQ(tw.Of(w, {WM_TIMER}).size(), 3u);
    KillTimer(w, 1);
    KillTimer(w, 2);
    AdvanceClock(1000);
    PumpMessages();
    EXPECT_EQ(tw.Of(w, {WM_TIMER}).size(), 3u);
    // With a step, each reading of GetTickCount moves the clock on by it, so busy-wait loops end;
    // without one the clock stands still between advances.
    SetClockAutoStep(0);
    EXPECT_EQ(GetTickCount(), GetTickCount());
    SetClockAutoStep(1);
    const DWORD t0 = GetTickCount();
    int spins = 0;
    while (GetTickCount() - t0 < 5 && spins < 100) ++spins;
    EXPECT_EQ(spins, 4);  // readings t0+1 .. t0+4 spin, t0+5 ends the wait
}

TEST(WinMessages, CrossThreadSendMessageWaitsWithoutDeadlock)
{
    TestWindows tw;
    HWND ui = tw.Top(0, 0, 10, 10, WS_POPUP);
    std::atomic<HWND> workerWnd{nullptr};
    std::atomic<bool> stop{false};
    // The UI window, when asked, sends back to a window of the worker thread while the worker waits.
    tw.handlers[ui] = [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_USER + 5) return false;
        r = SendMessageW(workerWnd.load(), WM_USER + 6, wp, 0) + 1;
        return true;
    };
    LRESULT got = 0;
    std::thread worker([&] {
        WNDCLASSW wc;
        wc.lpszClassName = L"VxWorkerWindow";
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER + 6) return static_cast<LRESULT>(wp * 10);
            return DefWindowProcW(h, m, wp, lp);
        };
        RegisterClassW(&wc);
        HWND mine =
            CreateWindowExW(0, L"VxWorkerWindow", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        workerWnd = mine;
        got = SendMessageW(ui, WM_USER + 5, 4, 0);
        DestroyWindow(mine);
        stop = true;
    });
    MSG m;
    while (!stop) {
        if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        else
            WaitServingMainThread([&] { return stop.load(); }, 5, 20);
    }
    worker.join();
    EXPECT_EQ(got, 41);
    UnregisterClassW(L"VxWorkerWindow", nullptr);
}

TEST(WinMessages, WorkerSynchronousCallsRunWhileTheLoopWaits)
{
    std::atomic<bool> ran{false};
    std::thread worker([&] { RunInMainThreadSync([&] { ran = true; }); });
    MSG m;
    // GetMessage wakes for the queued call (the waker posts a null message) and runs it.
    while (!ran) {
        if (GetMessageW(&m, nullptr, 0, 0)) DispatchMessageW(&m);
    }
    worker.join();
    EXPECT_TRUE(ran);
}

TEST(WinMessages, SendToAWindowOfAThreadThatNeverServesReturnsWhenItDies)
{
    std::atomic<HWND> wnd{nullptr};
    std::atomic<bool> go{false};
    std::thread owner([&] {
        WNDCLASSW wc;
        wc.lpszClassName = L"VxSilentWindow";
        wc.lpfnWndProc = DefWindowProcW;
        RegisterClassW(&wc);
        wnd = CreateWindowExW(0, L"VxSilentWindow", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        DestroyWindow(wnd);
    });
    while (!wnd) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    go = true;
    EXPECT_EQ(SendMessageW(wnd, WM_USER, 0, 0), 0);
    owner.join();
    UnregisterClassW(L"VxSilentWindow", nullptr);
}

TEST(WinWindows, SetWindowPosMessageOrderAndChangingMayRewriteTheSize)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 100, 100);
    tw.handlers[w] = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
        if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx += 25;
        return false;
    };
    tw.log.clear();
    SetWindowPos(w, nullptr, 10, 20, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(tw.Of(w, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 125);
    auto* pos = reinterpret_cast<const WINDOWPOS*>(tw.Last(w, WM_WINDOWPOSCHANGED)->lp);
    (void)pos;  // only valid during the call; the order above is what callers rely on
    // A move alone gives WM_MOVE but no WM_SIZE.
    tw.log.clear();
    SetWindowPos(w, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(tw.Of(w, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
}

TEST(WinPainting, RedrawNowPaintsAtOnceAndSetRedrawSuspends)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 40, 40);
    HWND child = tw.Child(top, 0, 0, 20, 20);
    PumpMessages();
    tw.log.clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(tw.Of(top, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(tw.Of(child, {WM_PAINT}).size(), 1u);
    SendMessageW(top, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(top, nullptr, TRUE);
    tw.log.clear();
    PumpMessages();
    EXPECT_TRUE(tw.Of(top, {WM_PAINT}).empty());
    SendMessageW(top, WM_SETREDRAW, TRUE, 0);
    PumpMessages();
    EXPECT_EQ(tw.Of(top, {WM_PAINT}).size(), 1u);
}

TEST(WinPainting, InvalidationFromAWorkerWakesTheLoop)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 20, 20);
    PumpMessages();
    tw.log.clear();
    std::thread worker([w] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        InvalidateRect(w, nullptr, FALSE);
    });
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));  // blocks until the worker's invalidation
    EXPECT_EQ(m.message, WM_PAINT);
    DispatchMessageW(&m);
    worker.join();
}

TEST(WinWindows, DeferredPositionsAndPlacement)
{
    TestWindows tw;
    HWND top = tw.Top(0, 0, 200, 200);
    HWND a = tw.Child(top, 0, 0, 10, 10);
    HWND b = tw.Child(top, 0, 0, 10, 10);
    HDWP d = BeginDeferWindowPos(2);
    d = DeferWindowPos(d, a, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
    d = DeferWindowPos(d, b, nullptr, 50, 5, 30, 20, SWP_NOZORDER);
    ASSERT_TRUE(EndDeferWindowPos(d));
    EXPECT_FALSE(EndDeferWindowPos(d));  // used up
    RECT r;
    GetWindowRect(b, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 30);
    ShowWindow(top, SW_MAXIMIZE);
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(top, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.right, 200);
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = RECT{10, 10, 110, 60};
    SetWindowPlacement(top, &wp);
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 60);
}

// The frame that AdjustWindowRectEx adds is the frame the window gets: a caption window and a
// tool window (small caption) both end up with the client size asked for.
TEST(WinGeometry, AdjustWindowRectMatchesTheClientArea)
{
    TestWindows tw;
    for (DWORD ex : {DWORD(0), DWORD(WS_EX_TOOLWINDOW)}) {
        RECT r{0, 0, 176, 144};
        ASSERT_TRUE(AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, ex));
        HWND w =
            tw.Top(10, 10, r.right - r.left, r.bottom - r.top, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, ex);
        RECT client;
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 176) << ex;
        EXPECT_EQ(client.bottom, 144) << ex;
    }
}

TEST(WinWindows, HeadlessScreenSetByATestIsReportedAndAnnounced)
{
    TestWindows tw;
    HWND top = tw.Top(100, 50, 200, 150, WS_OVERLAPPED);
    ASSERT_TRUE(SetHeadlessScreen(RECT{0, 0, 800, 600}, RECT{0, 30, 800, 600}));
    RECT wa{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    EXPECT_EQ(wa.top, 30);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    PumpMessages();
    auto* dc = tw.Last(top, WM_DISPLAYCHANGE);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(LOWORD(dc->lp), 800);
    EXPECT_EQ(HIWORD(dc->lp), 600);
    ASSERT_TRUE(SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984}));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
}
