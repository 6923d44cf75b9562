// Back ends of the window layer: where top-level windows appear and where input comes from.
// "headless" keeps windows in memory (tests inject input and read pixels; the test clock drives
// time); "x11" shows each top-level window as an undecorated X11 window fed from its composed
// surface. Chosen at first use: VX_HEADLESS=1 or no DISPLAY gives headless, VX_BACKEND=x11|headless
// forces one. Internal to platform/win.
#pragma once

#include <memory>
#include <string>

#include "platform/win/win_types.h"

namespace vxwin {

struct WindowObj;
class Region;

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    virtual RECT ScreenRect() { return RECT{0, 0, 1280, 1024}; }
    virtual RECT WorkArea() { return RECT{0, 0, 1280, 984}; }
    // Top-level windows (never called for child windows).
    virtual void WindowCreated(WindowObj&) {}
    virtual void WindowDestroyed(WindowObj&) {}
    virtual void WindowShown(WindowObj&, bool /*visible*/) {}
    // Minimised: the window goes to the task bar (restoring it there sends SC_RESTORE).
    virtual void WindowMinimized(WindowObj& w) { WindowShown(w, false); }
    virtual void WindowMoved(WindowObj&) {}  // position or size changed
    virtual void WindowRestacked() {}        // z-order of top-level windows changed
    virtual void WindowShapeChanged(WindowObj&) {}
    virtual void WindowLayeredChanged(WindowObj&) {}
    // WS_EX_TOPMOST was switched on or off after the window was made.
    virtual void WindowTopmostChanged(WindowObj&) {}
    // The mouse capture moved to w (nullptr: released).
    virtual void CaptureChanged(WindowObj* /*w*/) {}
    // A popup started (or stopped) watching for presses outside the program (WatchOutsideClicks).
    virtual void OutsideClickWatch(WindowObj& /*w*/, bool /*watch*/) {}
    virtual void WindowTextChanged(WindowObj&) {}
    virtual void WindowActivated(WindowObj&) {}
    // Shows the changed part (window coordinates) of a top-level window's surface.
    virtual void Present(WindowObj&, const Region& /*changed*/) {}
    // Scrolling: moves what the display shows of target's sources by (dx, dy) itself, as the
    // surface's pixels were moved; false when it cannot (the layer then presents target).
    virtual bool MoveShown(WindowObj&, const Region& /*target*/, int /*dx*/, int /*dy*/) { return false; }
    virtual void SetCursorShape(int /*stockId*/) {}
    // The display's bell (MessageBeep); nothing where there is no display.
    virtual void Bell() {}
    virtual void WarpPointer(int, int) {}
    virtual void Flush() {}
    // Waits until the display has taken everything sent so far (benchmarks, tests).
    virtual void Sync() {}
    // The calling thread's message loop is about to sleep until something wakes it.
    virtual void BeforeIdle() {}
    // The clipboard: this program put new data there (X11 takes the CLIPBOARD selection); text
    // another program holds (false when there is none or no other program).
    virtual void ClipboardChanged() {}
    virtual bool ForeignClipboardText(std::wstring&) { return false; }
    // A native child window that another library (SDL) draws into; 0 where there is none.
    virtual unsigned long NativeChild(WindowObj&) { return 0; }
    // A child window went away (its native window, if it had one, goes with it).
    virtual void ChildDestroyed(WindowObj&) {}
    // A child window moved, changed size or was shown or hidden: native windows within follow.
    virtual void ChildLayoutChanged() {}
    // Notification-area icons (Shell_NotifyIconW): an icon was added or changed, or removed (the
    // back end reads the state with TrayIconState); its balloon shown, or closed (empty text).
    virtual void TrayIconChanged(HWND, UINT /*id*/) {}
    virtual void TrayBalloon(HWND, UINT /*id*/, UINT /*callbackMessage*/, const std::wstring& /*title*/,
                             const std::wstring& /*text*/, DWORD /*infoFlags*/)
    {}
};

// What a desktop tray reports to the layer, on the UI thread: the pointer rests over an icon at a
// screen point, or left the icons (the tip window follows); a tray manager appeared ("TaskbarCreated"
// goes to every top-level and message-only window).
void TrayPointerAt(HWND hwnd, UINT id, int x, int y);
void TrayPointerGone();
void BroadcastTaskbarCreated();

Backend& CurrentBackend();
// Replaces the back end (tests; the X11 test starts its own server). False when it cannot start.
bool SelectBackend(const std::string& name, const std::string& display = "");
std::unique_ptr<Backend> MakeHeadlessBackend();
std::unique_ptr<Backend> MakeX11Backend(const std::string& display);

}  // namespace vxwin
