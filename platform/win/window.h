// The window record behind an HWND, window classes, the window tree (parent/child, owner, z-order)
// and the lookups the other modules of platform/win share. Internal; the public functions are in
// user_api.h.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/gdi_objects.h"
#include "platform/win/region.h"
#include "platform/win/surface.h"
#include "platform/win/win_consts.h"

namespace vxwin {

struct ThreadQueue;

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    int wndExtra = 0;
};

struct WindowObj : Object {
    static constexpr ObjKind kKind = ObjKind::Window;
    WindowObj() : Object(kKind) {}

    HWND hwnd() const { return reinterpret_cast<HWND>(handle); }

    std::shared_ptr<WindowClass> cls;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    std::vector<LONG_PTR> extra;
    std::map<std::wstring, HANDLE> props;

    std::uintptr_t parent = 0;  // child windows: the parent
    std::uintptr_t owner = 0;   // top-level windows: the owner
    bool messageOnly = false;
    std::vector<std::uintptr_t> children;  // z-order, first = top

    RECT rect;    // window rectangle: parent's client coordinates (top-level: screen)
    RECT client;  // client rectangle relative to the window's top-left corner

    std::shared_ptr<ThreadQueue> queue;
    std::thread::id thread;
    bool destroying = false;
    bool created = false;  // WM_CREATE has been answered

    // Window shape (SetWindowRgn), window coordinates; the window owns the region handle.
    std::shared_ptr<RegionObj> shape;

    // Painting: update region in window coordinates (client part), pending erase and frame.
    Region update;
    bool erasePending = false;
    bool ncPending = false;
    bool redrawOff = false;  // WM_SETREDRAW FALSE

    // Top-level windows: the composed surface and the part not yet shown by the back end.
    std::shared_ptr<Surface> surface;
    Region dirty;
    std::vector<RECT> dirtyRects;  // marked since the last fold into dirty (see FoldDirty)
    // Layered windows.
    BYTE layeredAlpha = 255;
    bool layeredColorKey = false;
    COLORREF layeredKey = 0;
    std::shared_ptr<Surface> layeredContent;  // UpdateLayeredWindow: premultiplied BGRA
    Region layeredOpaque;                     // where layeredContent has alpha > 0

    int showState = 0;  // SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
    RECT restoreRect;

    // Standard scroll bars (WS_HSCROLL / WS_VSCROLL): index SB_HORZ, SB_VERT.
    struct ScrollState {
        int min = 0, max = 100, pos = 0, trackPos = 0;
        UINT page = 0;
    } scroll[2];
    // Caret (one per thread on Windows; kept with the window that owns it).
    bool trackLeave = false;
    bool trackNcLeave = false;

    // Visible regions (client and whole window) as of a layout generation: window DCs taken
    // again and again (hover, caret, animation) reuse them.
    unsigned visGen[2] = {0, 0};
    Region visCache[2];

    void* backendData = nullptr;
};

std::shared_ptr<WindowObj> LookupWindow(HWND h);
inline std::shared_ptr<WindowObj> LookupWindow(std::uintptr_t h) { return LookupWindow(reinterpret_cast<HWND>(h)); }

// The global window state is guarded by one recursive lock, never held while a window procedure runs.
std::recursive_mutex& WindowLock();

// Top-level windows in z-order (first = top).
std::vector<std::uintptr_t> TopLevels();
// Message-only windows (HWND_MESSAGE), in the order they were made.
std::vector<std::uintptr_t> MessageOnlyWindows();
void RemoveTopLevel(std::uintptr_t h);
void InsertTopLevel(std::uintptr_t h, std::uintptr_t after);

bool IsChildWindow(const WindowObj& w);
std::shared_ptr<WindowObj> TopLevelOf(std::shared_ptr<WindowObj> w);
// Window origin of w in the coordinates of its top-level window.
POINT OffsetInTopLevel(const WindowObj& w);
// Window rectangle of w in screen coordinates.
RECT ScreenRectOf(const WindowObj& w);
// True when w and all its ancestors are visible.
bool IsReallyVisible(const WindowObj& w);
// Surface region of w's window area that its painting may touch.
Region VisibleRegion(const WindowObj& w, bool clientOnly);

// Calls a window procedure (a function or an object instance made by MakeObjectInstance).
LRESULT CallProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT SendTo(const std::shared_ptr<WindowObj>& w, UINT msg, WPARAM wp, LPARAM lp);

// Layout changes bump this, so cached visible regions are rebuilt.
void BumpLayout();
unsigned LayoutGeneration();

// Window-side hooks used by painting and input.
void InvalidateWindowArea(const std::shared_ptr<WindowObj>& w, const Region& windowArea, bool erase, bool children);
void EnsureSurface(WindowObj& top);
void PresentDirty(WindowObj& top);
// Pushes the dirty rectangles of this thread's top-level windows to the back end: once per idle
// step of the message loop, at UpdateWindow and at GdiFlush; painting itself only marks them.
void PresentAllDirty();
// Folds the rectangles marked one by one into the window's dirty region.
void FoldDirty(WindowObj& top);
// VisibleRegion through the window's cache.
const Region& CachedVisibleRegion(WindowObj& w, bool clientOnly);

// Activation, focus and capture state (one UI thread).
struct InputState {
    std::uintptr_t active = 0;
    std::uintptr_t focus = 0;
    std::uintptr_t capture = 0;
    std::uintptr_t lastUnder = 0;  // window under the cursor at the last mouse event
    LRESULT lastHit = 0;
    // Double clicks.
    UINT lastDownMsg = 0;
    std::uintptr_t lastDownWnd = 0;
    unsigned long long lastDownTime = 0;
    POINT lastDownPt;
    bool altAlone = false;
    HCURSOR cursor = nullptr;
    // Popups watching for presses outside the program's windows (WatchOutsideClicks).
    std::vector<std::uintptr_t> outsideWatch;
};
InputState& Input();

void ForgetWindowInput(std::uintptr_t h);

}  // namespace vxwin
