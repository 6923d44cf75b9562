// The X11 back end: every top-level window is an undecorated X11 window showing its composed
// surface through XShm (plain XPutImage where the extension is missing), cut to its window region
// with XShape, with hints for tool, topmost and owned windows. Layered windows get a 32-bit ARGB
// visual: a compositing manager shows their premultiplied pixels with alpha; without one, the
// shape cut from alpha > 0 is the fallback. Presents are batched by the window layer (once per
// idle step) and never wait for the server; the shared image is only rewritten once the server
// has the previous one. A reader thread turns X input into raw input for the UI thread's queue;
// exposures and window-manager moves come back to the UI thread through the main-thread call
// queue. A window that SDL draws into gets a native child window that follows its control.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <utility>

#include "platform/base/main_thread.h"
#include "platform/base/utf.h"
#include "platform/win/backend.h"
#include "platform/win/dc.h"
#include "platform/win/desktop_notifications.h"
#include "platform/win/message_queue.h"
#include "platform/win/shell_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

bool ClipboardText(std::wstring& out);
MINMAXINFO DefaultMinMax(const WindowObj& w);
void ClipboardLostToOtherProgram();

namespace {

int IgnoreXErrors(Display*, XErrorEvent* e)
{
    // A destroyed preview window or a focus request on an unmapped window must not end the program.
    (void)e;
    return 0;
}

struct Native {
    Window win = 0;
    GC gc = nullptr;
    bool argb = false;  // 32-bit visual with alpha
    XImage* img = nullptr;
    XShmSegmentInfo shm{};
    bool useShm = false;
    bool putPending = false;      // the server may still be reading the shared image
    unsigned long putSerial = 0;  // request number of the last put; its completion frees the image
    int iw = 0, ih = 0;
    bool mapped = false;
    bool overrideRedirect = false;
    bool clickThrough = false;
    Region shape;  // bounding shape last set (when hasShape)
    bool hasShape = false;
    bool iconic = false;  // iconified by us under a window manager (still mapped to us)
    // Maps we asked for whose MapNotify has not come back: a late one is no restore by the user.
    int mapsPending = 0;
    // Geometries asked of the server and not yet seen again: a window manager's ConfigureNotify
    // that reports one of them is an echo of our own request, not a change of its choosing.
    std::deque<RECT> requested;
    // The size limits last published in WM_NORMAL_HINTS.
    POINT minSize{-1, -1}, maxSize{-1, -1};
};

// Requests kept for echo matching: a drag's worth, so a late echo is still recognised.
constexpr size_t kRequestedKept = 64;

// A native child window that another library draws into, and where it was last put.
struct NativeChildWin {
    Window win = 0;
    RECT at{};
    bool shown = true;
};

// A notification-area icon docked in the desktop's tray (XEmbed): a small window of ours that
// the tray reparents into itself and sizes.
struct TrayIconWin {
    Window win = 0;
    int w = 24, h = 24;  // the size the tray gave
    bool docked = false;
    // Double clicks: the last press.
    unsigned lastButton = 0;
    Time lastPress = 0;
    int lastX = 0, lastY = 0;
    bool lastWasDouble = false;
};
using TrayKey = std::pair<std::uintptr_t, UINT>;

// An icon's pixels as ARGB (alpha from the icon, else from its mask).
bool IconPixels(HICON h, std::vector<std::uint32_t>& px, int& w, int& ht)
{
    auto ic = Lookup<IconObj>(h);
    if (!ic || !ic->color) return false;
    const Surface& c = *ic->color;
    w = c.width;
    ht = c.height;
    px.resize(static_cast<size_t>(w) * ht);
    for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = c.GetPixel(x, y);
            if (!ic->hasAlpha) {
                bool clear = ic->mask && ic->mask->Inside(x, y) && (ic->mask->GetPixel(x, y) & 0xFFFFFF);
                p = (p & 0xFFFFFF) | (clear ? 0u : 0xFF000000u);
            }
            px[static_cast<size_t>(y) * w + x] = p;
        }
    return w > 0 && ht > 0;
}

int VkFromKeysym(KeySym ks)
{
    if (ks >= XK_a && ks <= XK_z) return static_cast<int>('A' + (ks - XK_a));
    if (ks >= XK_A && ks <= XK_Z) return static_cast<int>('A' + (ks - XK_A));
    if (ks >= XK_0 && ks <= XK_9) return static_cast<int>('0' + (ks - XK_0));
    if (ks >= XK_F1 && ks <= XK_F12) return static_cast<int>(VK_F1 + (ks - XK_F1));
    switch (ks) {
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Tab: return VK_TAB;
    case XK_BackSpace: return VK_BACK;
    case XK_Delete: return VK_DELETE;
    case XK_Insert: return VK_INSERT;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_Left: return VK_LEFT;
    case XK_Right: return VK_RIGHT;
    case XK_Up: return VK_UP;
    case XK_Down: return VK_DOWN;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L: return VK_MENU;
    case XK_Pause: return VK_PAUSE;
    case XK_Caps_Lock: return VK_CAPITAL;
    }
    return 0;
}

std::wstring FromUtf8(const char* s, int n) { return Utf8ToString(std::string_view(s, static_cast<size_t>(n))); }

class X11Backend final : public Backend {
public:
    explicit X11Backend(Display* d) : dpy_(d)
    {
        screen_ = DefaultScreen(dpy_);
        root_ = RootWindow(dpy_, screen_);
        int major, minor;
        Bool pixmaps;
        shmOk_ = XShmQueryVersion(dpy_, &major, &minor, &pixmaps);
        if (shmOk_) shmCompletion_ = XShmGetEventBase(dpy_) + ShmCompletion;
        int ev, er;
        shapeOk_ = XShapeQueryExtension(dpy_, &ev, &er);
        wmDelete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
        wmProtocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
        std::setlocale(LC_CTYPE, "");
        XSetLocaleModifiers("");
        im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
        if (pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
        XSelectInput(dpy_, root_, StructureNotifyMask);  // screen size changes
        clipWin_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
        leader_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(dpy_, clipWin_, PropertyChangeMask);
        clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
        utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
        targets_ = XInternAtom(dpy_, "TARGETS", False);
        clipProp_ = XInternAtom(dpy_, "VX_CLIPBOARD", False);
        wmState_ = XInternAtom(dpy_, "WM_STATE", False);
        netWmState_ = XInternAtom(dpy_, "_NET_WM_STATE", False);
        traySelection_ = XInternAtom(dpy_, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen_)).c_str(), False);
        trayOpcode_ = XInternAtom(dpy_, "_NET_SYSTEM_TRAY_OPCODE", False);
        manager_ = XInternAtom(dpy_, "MANAGER", False);
        xembedInfo_ = XInternAtom(dpy_, "_XEMBED_INFO", False);
        XVisualInfo vi;
        if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &vi)) {
            argbVisual_ = vi.visual;
            argbColormap_ = XCreateColormap(dpy_, root_, argbVisual_, AllocNone);
        }
        reader_ = std::thread([this] { ReadEvents(); });
    }

    ~X11Backend() override
    {
        // Calls the reader queued for the UI thread find the back end closed and are dropped.
        *open_ = false;
        stop_ = true;
        WakeReader();
        if (reader_.joinable()) reader_.join();
        *self_ = nullptr;
        for (auto& [h, n] : natives_) {
            FreeImage(n);
            if (n.gc) XFreeGC(dpy_, n.gc);
        }
        if (argbColormap_) XFreeColormap(dpy_, argbColormap_);
        if (im_) XCloseIM(im_);
        XCloseDisplay(dpy_);
        if (wake_[0] >= 0) {
            close(wake_[0]);
            close(wake_[1]);
        }
    }

    const char* Name() const override { return "x11"; }

    RECT ScreenRect() override { return RECT{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)}; }
    RECT WorkArea() override
    {
        RECT r = ScreenRect();
        Atom wa = XInternAtom(dpy_, "_NET_WORKAREA", True);
        if (!wa) return r;
        // One x, y, width, height per desktop: the current desktop's entry.
        long desktop = 0;
        if (Atom cd = XInternAtom(dpy_, "_NET_CURRENT_DESKTOP", True)) {
            std::vector<long> v = CardinalProperty(root_, cd, 1);
            if (!v.empty() && v[0] >= 0) desktop = v[0];
        }
        std::vector<long> v = CardinalProperty(root_, wa, 4 * (desktop + 1));
        if (v.size() < 4) return r;
        if (v.size() < static_cast<size_t>(4 * (desktop + 1))) desktop = 0;
        const long* e = v.data() + 4 * desktop;
        return RECT{static_cast<LONG>(e[0]), static_cast<LONG>(e[1]), static_cast<LONG>(e[0] + e[2]),
                    static_cast<LONG>(e[1] + e[3])};
    }

    void WindowCreated(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        // Menus, hints, glow layers and layered border windows (tool windows, windows made
        // layered) are placed by the program, not by the window manager.
        const bool placedByUs = (w.exStyle & WS_EX_TOOLWINDOW) || (w.exStyle & WS_EX_LAYERED);
        Native n = CreateNative(w, (w.exStyle & WS_EX_LAYERED) && argbVisual_, placedByUs);
        natives_[w.handle] = n;
        byX_[n.win] = w.handle;
        XFlush(dpy_);
    }

    // The X window of a top-level window: undecorated, transient for its owner, with its states,
    // title and icon; layered windows on the ARGB visual. An override-redirect window gets no
    // window-manager placement, task-bar entry or focus.
    Native CreateNative(WindowObj& w, bool argb, bool overrideRedirect)
    {
        Native n;
        XSetWindowAttributes a{};
        a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                       KeyReleaseMask | StructureNotifyMask | FocusChangeMask | LeaveWindowMask | PropertyChangeMask;
        a.background_pixmap = None;
        a.border_pixel = 0;
        n.overrideRedirect = overrideRedirect;
        a.override_redirect = n.overrideRedirect;
        unsigned long mask = CWEventMask | CWBackPixmap | CWOverrideRedirect | CWBorderPixel;
        int depth = CopyFromParent;
        Visual* visual = CopyFromParent;
        if (argb) {
            a.colormap = argbColormap_;
            mask |= CWColormap;
            depth = 32;
            visual = argbVisual_;
            n.argb = true;
        }
        int wd = std::max<int>(1, w.rect.right - w.rect.left), ht = std::max<int>(1, w.rect.bottom - w.rect.top);
        n.win = XCreateWindow(dpy_, root_, w.rect.left, w.rect.top, static_cast<unsigned>(wd),
                              static_cast<unsigned>(ht), 0, depth, InputOutput, visual, mask, &a);
        XGCValues gv{};
        gv.graphics_exposures = True;
        n.gc = XCreateGC(dpy_, n.win, GCGraphicsExposures, &gv);
        SetWmFunctions(n.win, w);
        // Takes the keyboard when the window manager gives it; one group with the other windows.
        XWMHints wh{};
        wh.flags = InputHint | WindowGroupHint;
        wh.input = True;
        wh.window_group = leader_;
        XSetWMHints(dpy_, n.win, &wh);
        XClassHint ch;
        char resName[] = "vexmora", resClass[] = "Vexmora";
        ch.res_name = resName;
        ch.res_class = resClass;
        XSetClassHint(dpy_, n.win, &ch);
        XSetWMProtocols(dpy_, n.win, &wmDelete_, 1);
        XSizeHints sh{};
        sh.flags = PPosition | USPosition;
        sh.x = w.rect.left;
        sh.y = w.rect.top;
        XSetWMNormalHints(dpy_, n.win, &sh);
        // Owned windows (dialogs, tool windows) stay above their owner.
        if (w.owner) {
            auto it = natives_.find(w.owner);
            if (it != natives_.end()) XSetTransientForHint(dpy_, n.win, it->second.win);
        }
        SetNetStates(n.win, w);
        SetTitle(n.win, w.text);
        SetIcon(n.win, w);
        SetClickThrough(n, ClickThrough(w));
        return n;
    }

    void WindowDestroyed(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto it = natives_.find(w.handle);
        if (it == natives_.end()) return;
        FreeImage(it->second);
        if (grabbed_ == it->second.win) Ungrab();
        if (it->second.gc) XFreeGC(dpy_, it->second.gc);
        byX_.erase(it->second.win);
        XDestroyWindow(dpy_, it->second.win);
        natives_.erase(it);
        XFlush(dpy_);
    }

    void WindowShown(WindowObj& w, bool visible) override
    {
        const MINMAXINFO mmi = visible ? SizeLimits(w) : MINMAXINFO{};
        const bool active = visible && GetActiveWindow() == w.hwnd();
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n) return;
        if (visible) PublishSizeLimits(*n, w, mmi);
        // A window iconified under a window manager is still mapped; mapping it again restores it.
        if (visible && (!n->mapped || n->iconic)) {
            MoveResize(*n, w);
            XMapRaised(dpy_, n->win);
            n->mapped = true;
            n->iconic = false;
            ++n->mapsPending;
            // A popup that took the capture before it showed grabs the pointer now.
            if (n->overrideRedirect && Input().capture)
                if (auto cap = TopLevelOf(LookupWindow(Input().capture)); cap && cap->handle == w.handle) Grab(*n);
            // Activated before it was shown (a modal form): it takes the focus now.
            if (active) RequestFocus(*n);
        } else if (!visible && n->mapped) {
            if (grabbed_ == n->win) Ungrab();
            XUnmapWindow(dpy_, n->win);
            n->mapped = false;
            n->iconic = false;
        }
        XFlush(dpy_);
    }

    void WindowMinimized(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n || !n->mapped || n->iconic) return;
        // Without a window manager nobody iconifies the window: it goes from the screen, and a
        // restore maps it again.
        if (n->overrideRedirect || !WindowManagerRunning()) {
            XUnmapWindow(dpy_, n->win);
            n->mapped = false;
        } else {
            XIconifyWindow(dpy_, n->win, screen_);
            n->iconic = true;
        }
        XFlush(dpy_);
    }

    void WindowMoved(WindowObj& w) override
    {
        const MINMAXINFO mmi = SizeLimits(w);
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n) return;
        MoveResize(*n, w);
        PublishSizeLimits(*n, w, mmi);
        XFlush(dpy_);
    }

    void WindowRestacked() override
    {
        std::lock_guard<std::mutex> lock(m_);
        std::vector<Window> order;
        for (auto t : TopLevels()) {
            auto it = natives_.find(t);
            if (it != natives_.end() && it->second.mapped) order.push_back(it->second.win);
        }
        if (order.size() > 1) XRestackWindows(dpy_, order.data(), static_cast<int>(order.size()));
        XFlush(dpy_);
    }

    void WindowShapeChanged(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        if (auto* n = Find(w)) ApplyShape(*n, w);
        XFlush(dpy_);
    }

    void WindowLayeredChanged(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n) return;
        // Per-pixel alpha needs the ARGB visual, which an X window cannot change: a window that
        // became layered after it was made gets a new X window.
        if (w.layeredContent && !n->argb && argbVisual_) n = Recreate(w, true);
        // Constant alpha for a compositing manager.
        Atom op = XInternAtom(dpy_, "_NET_WM_WINDOW_OPACITY", False);
        if ((w.exStyle & WS_EX_LAYERED) && w.layeredAlpha < 255) {
            unsigned long v = static_cast<unsigned long>(w.layeredAlpha) * 0x01010101ul;
            XChangeProperty(dpy_, n->win, op, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&v),
                            1);
        } else {
            XDeleteProperty(dpy_, n->win, op);
        }
        ApplyShape(*n, w);
    }

    void WindowTopmostChanged(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n) return;
        if (!n->mapped || n->overrideRedirect) {
            SetNetStates(n->win, w);
        } else {
            // A mapped window's states belong to the window manager: ask it.
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = n->win;
            e.xclient.message_type = XInternAtom(dpy_, "_NET_WM_STATE", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = (w.exStyle & WS_EX_TOPMOST) ? 1 : 0;  // add or remove
            e.xclient.data.l[1] = static_cast<long>(XInternAtom(dpy_, "_NET_WM_STATE_ABOVE", False));
            e.xclient.data.l[3] = 1;  // a normal application
            XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        }
        XFlush(dpy_);
    }

    // Popups that close on a click outside them (menus, drop-down lists: override-redirect
    // windows) hold the pointer while they have the capture, so the click reaches them even over
    // other programs; the grab ends with the capture, or when the popup is hidden or destroyed.
    void CaptureChanged(WindowObj* w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        Native* n = nullptr;
        if (w)
            if (auto top = TopLevelOf(LookupWindow(w->handle))) n = Find(*top);
        if (n && n->overrideRedirect && n->mapped) {
            Grab(*n);
        } else if (Native* watching = WatchingPopup()) {
            // A capture of the form's own (a pressed button that opened a menu level) ended: the
            // level watching for outside presses holds the pointer again.
            Grab(*watching);
        } else if (grabbed_) {
            Ungrab();
        }
        XFlush(dpy_);
    }

    // The last shown popup still watching for presses outside the program, or nullptr.
    Native* WatchingPopup()
    {
        const auto& list = Input().outsideWatch;
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if (auto w = LookupWindow(reinterpret_cast<HWND>(*it)))
                if (Native* n = Find(*w); n && n->overrideRedirect && n->mapped) return n;
        return nullptr;
    }

    // A skinned menu level holds the pointer while it shows, so a press on another program (or
    // the desktop) reaches this program and deactivates its form instead; presses on the
    // program's own windows go to them as usual (owner events).
    void OutsideClickWatch(WindowObj& w, bool watch) override
    {
        std::lock_guard<std::mutex> lock(m_);
        Native* n = Find(w);
        if (!n) return;
        if (watch && n->overrideRedirect && n->mapped)
            Grab(*n);
        else if (!watch && grabbed_ == n->win && !Input().capture)
            Ungrab();
        XFlush(dpy_);
    }

    void ChildLayoutChanged() override
    {
        std::lock_guard<std::mutex> lock(m_);
        if (children_.empty()) return;
        for (auto& [h, c] : children_) {
            auto w = LookupWindow(h);
            if (!w) continue;
            PlaceChild(*w, c);
        }
        XFlush(dpy_);
    }

    void WindowTextChanged(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        if (auto* n = Find(w)) SetTitle(n->win, w.text);
        XFlush(dpy_);
    }

    void WindowActivated(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        // A window activated before it shows asks for the focus when it is mapped. A minimised
        // one does not ask: the window manager would take the request as a restore.
        if (!n || !n->mapped || n->iconic) return;
        RequestFocus(*n);
        XFlush(dpy_);
    }

    // The keyboard focus for an active window. Under a window manager it is asked for as EWMH
    // clients ask (the manager raises the window and focuses it once it manages it, also when
    // the map it answers is still on its way); without one the window is raised and takes it.
    void RequestFocus(Native& n)
    {
        if (n.overrideRedirect) {
            XRaiseWindow(dpy_, n.win);
            return;
        }
        if (WindowManagerRunning()) {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(dpy_, &focus, &revert);
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = n.win;
            e.xclient.message_type = XInternAtom(dpy_, "_NET_ACTIVE_WINDOW", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = 1;  // from an application
            e.xclient.data.l[1] = static_cast<long>(userTime_.load());
            e.xclient.data.l[2] = byX_.count(focus) ? static_cast<long>(focus) : 0;
            XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        } else {
            XRaiseWindow(dpy_, n.win);
            XSetInputFocus(dpy_, n.win, RevertToParent, CurrentTime);
        }
    }

    // The active window, once mapped, holds the X focus (its own windows a client may focus).
    void FocusIfActive(std::uintptr_t h)
    {
        auto w = LookupWindow(h);
        if (!w || GetActiveWindow() != w->hwnd()) return;
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(*w);
        if (!n || !n->mapped || n->overrideRedirect) return;
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(dpy_, &focus, &revert);
        if (focus != n->win) XSetInputFocus(dpy_, n->win, RevertToParent, CurrentTime);
        XFlush(dpy_);
    }

    // A fixed window that a window manager made full screen or maximised anyway (some offer it
    // whatever the window allows) asks the manager to take the state back.
    void DeclineSizingStates(std::uintptr_t h)
    {
        auto w = LookupWindow(h);
        if (!w || !FixedSize(*w)) return;
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(*w);
        if (!n || n->overrideRedirect || !n->mapped) return;
        std::vector<Atom> states;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, n->win, netWmState_, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                               &data) == Success &&
            data && format == 32)
            states.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
        if (data) XFree(data);
        for (const char* name : {"_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}) {
            const Atom a = XInternAtom(dpy_, name, False);
            if (std::find(states.begin(), states.end(), a) == states.end()) continue;
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = n->win;
            e.xclient.message_type = netWmState_;
            e.xclient.format = 32;
            e.xclient.data.l[0] = 0;  // remove
            e.xclient.data.l[1] = static_cast<long>(a);
            e.xclient.data.l[3] = 1;  // from an application
            XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        }
        XFlush(dpy_);
    }

    // A window without a sizing frame keeps its size under a window manager: only moving,
    // closing and, for a window no other owns, minimising are offered.
    // Only captioned windows (forms and dialogs) count: popups such as a docked tray icon take
    // the size their embedder gives them.
    static bool FixedSize(const WindowObj& w)
    {
        return !(w.style & WS_THICKFRAME) && (w.style & WS_CAPTION) == WS_CAPTION;
    }
    void SetWmFunctions(Window win, const WindowObj& w)
    {
        enum : unsigned long { kFunctions = 1, kDecorations = 2 };
        enum : unsigned long { kResize = 2, kMove = 4, kMinimize = 8, kMaximize = 16, kClose = 32 };
        unsigned long functions = kMove | kClose;
        if (!w.owner) functions |= kMinimize;
        if (!FixedSize(w)) functions |= kResize | kMaximize;
        // No decorations: skinned forms draw their own frame.
        struct {
            unsigned long flags, functions, decorations;
            long input_mode;
            unsigned long status;
        } motif{kFunctions | kDecorations, functions, 0, 0, 0};
        Atom mh = XInternAtom(dpy_, "_MOTIF_WM_HINTS", False);
        XChangeProperty(dpy_, win, mh, mh, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&motif), 5);
    }

    void Present(WindowObj& w, const Region& changed) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n || !n->mapped) return;
        const Surface* s = w.layeredContent ? w.layeredContent.get() : w.surface.get();
        if (!s) return;
        if (!EnsureImage(*n, s->width, s->height)) return;
        RECT bounds{0, 0, s->width, s->height};
        Region part = changed.Intersect(bounds);
        if (part.IsEmpty()) return;
        // The shared image is rewritten below: the server must be done with the last one.
        if (n->putPending) XSync(dpy_, False);
        n->putPending = false;
        // Many small pieces (a page of text, a grid of hovers) go as one strip per band: the
        // server's cost is per request more than per pixel.
        std::vector<RECT> rects = part.Rects();
        if (rects.size() > 16) {
            std::vector<RECT> strips;
            long long area = 0, stripArea = 0;
            for (const RECT& r : rects) area += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
            for (const auto& b : part.Bands()) {
                RECT r{b.xs.front(), b.top, b.xs.back(), b.bottom};
                stripArea += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
                if (!strips.empty() && strips.back().bottom == r.top && strips.back().left == r.left &&
                    strips.back().right == r.right)
                    strips.back().bottom = r.bottom;
                else
                    strips.push_back(r);
            }
            if (stripArea <= area + area / 2 || rects.size() > 256) rects.swap(strips);
        }
        // On the ARGB visual, what the window painted itself is opaque (its alpha byte means
        // nothing); layered content is premultiplied and goes as it is.
        bool forceOpaque = n->argb && !w.layeredContent;
        for (const RECT& r0 : rects) {
            size_t cnt = static_cast<size_t>(r0.right - r0.left);
            for (int y = r0.top; y < r0.bottom; ++y) {
                auto* dst =
                    reinterpret_cast<std::uint32_t*>(n->img->data + static_cast<ptrdiff_t>(y) * n->img->bytes_per_line);
                const std::uint32_t* src = s->Row32(y) + r0.left;
                if (forceOpaque)
                    for (size_t k = 0; k < cnt; ++k) dst[r0.left + k] = src[k] | 0xFF000000u;
                else
                    std::memcpy(dst + r0.left, src, cnt * 4);
            }
            if (n->useShm) {
                // The server reports when it has read the image: the next present usually finds
                // it free and needs no round trip.
                n->putSerial = NextRequest(dpy_);
                XShmPutImage(dpy_, n->win, n->gc, n->img, r0.left, r0.top, r0.left, r0.top,
                             static_cast<unsigned>(r0.right - r0.left), static_cast<unsigned>(r0.bottom - r0.top),
                             True);
            } else
                XPutImage(dpy_, n->win, n->gc, n->img, r0.left, r0.top, r0.left, r0.top,
                          static_cast<unsigned>(r0.right - r0.left), static_cast<unsigned>(r0.bottom - r0.top));
        }
        n->putPending = n->useShm;
        XFlush(dpy_);
    }

    bool MoveShown(WindowObj& w, const Region& target, int dx, int dy) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(w);
        if (!n || !n->mapped) return false;
        // The server copies within the window; parts it cannot (covered by other windows) come
        // back as GraphicsExpose and are shown again from the surface.
        for (const RECT& r : target.Rects())
            XCopyArea(dpy_, n->win, n->win, n->gc, r.left - dx, r.top - dy, static_cast<unsigned>(r.right - r.left),
                      static_cast<unsigned>(r.bottom - r.top), r.left, r.top);
        XFlush(dpy_);
        return true;
    }

    void Bell() override
    {
        std::lock_guard<std::mutex> lock(m_);
        XBell(dpy_, 0);
        XFlush(dpy_);
    }

    void SetCursorShape(int id) override
    {
        std::lock_guard<std::mutex> lock(m_);
        unsigned shape = XC_left_ptr;
        switch (id) {
        case 32513: shape = XC_xterm; break;
        case 32514: shape = XC_watch; break;
        case 32515: shape = XC_crosshair; break;
        case 32642: shape = XC_bottom_right_corner; break;
        case 32643: shape = XC_bottom_left_corner; break;
        case 32644: shape = XC_sb_h_double_arrow; break;
        case 32645: shape = XC_sb_v_double_arrow; break;
        case 32646: shape = XC_fleur; break;
        case 32649: shape = XC_hand2; break;
        }
        auto it = cursors_.find(shape);
        Cursor c = it != cursors_.end() ? it->second : (cursors_[shape] = XCreateFontCursor(dpy_, shape));
        for (auto& [h, n] : natives_) XDefineCursor(dpy_, n.win, c);
        XFlush(dpy_);
    }

    void WarpPointer(int x, int y) override
    {
        std::lock_guard<std::mutex> lock(m_);
        XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, x, y);
        XFlush(dpy_);
    }

    void Flush() override
    {
        std::lock_guard<std::mutex> lock(m_);
        XFlush(dpy_);
    }

    void Sync() override
    {
        std::lock_guard<std::mutex> lock(m_);
        XSync(dpy_, False);
    }

    void ChildDestroyed(WindowObj& w) override
    {
        std::lock_guard<std::mutex> lock(m_);
        auto it = children_.find(w.handle);
        if (it == children_.end()) return;
        XDestroyWindow(dpy_, it->second.win);
        children_.erase(it);
        XFlush(dpy_);
    }

    void ClipboardChanged() override
    {
        XSetSelectionOwner(dpy_, clipboard_, clipWin_, CurrentTime);
        XFlush(dpy_);
    }

    bool ForeignClipboardText(std::wstring& out) override
    {
        Window owner = XGetSelectionOwner(dpy_, clipboard_);
        if (owner == None || owner == clipWin_) return false;
        std::unique_lock<std::mutex> lock(clipM_);
        clipDone_ = false;
        clipText_.clear();
        XConvertSelection(dpy_, clipboard_, utf8_, clipProp_, clipWin_, CurrentTime);
        XFlush(dpy_);
        clipCv_.wait_for(lock, std::chrono::milliseconds(500), [this] { return clipDone_; });
        if (!clipDone_ || clipText_.empty()) return false;
        out = clipText_;
        return true;
    }

    unsigned long NativeChild(WindowObj& w) override
    {
        auto top = TopLevelOf(LookupWindow(w.handle));
        if (!top) return 0;
        std::lock_guard<std::mutex> lock(m_);
        auto* n = Find(*top);
        if (!n) return 0;
        if (top.get() == &w) return n->win;  // a top-level window is its own native window
        auto it = children_.find(w.handle);
        if (it == children_.end()) {
            NativeChildWin c;
            c.win = XCreateSimpleWindow(dpy_, n->win, 0, 0, 1, 1, 0, 0, 0);
            // The library drawing into it selects no input: its exposures come to us and are
            // passed on to the window as a paint, so a paused picture can be drawn again.
            XSelectInput(dpy_, c.win, ExposureMask);
            c.shown = false;
            it = children_.emplace(w.handle, c).first;
        }
        PlaceChild(w, it->second);
        XFlush(dpy_);
        return it->second.win;
    }

    // Every icon of the notification area is a window of ours docked in the tray; without a tray
    // it waits, undocked and unseen, for one to appear.
    void TrayIconChanged(HWND hwnd, UINT id) override
    {
        NOTIFYICONDATAW d;
        const bool exists = TrayIconState(hwnd, id, &d);
        std::lock_guard<std::mutex> lock(m_);
        const TrayKey key{reinterpret_cast<std::uintptr_t>(hwnd), id};
        auto it = tray_.find(key);
        if (!exists) {
            if (it != tray_.end()) {
                // Undocked: the tray sees its window go.
                trayByX_.erase(it->second.win);
                XDestroyWindow(dpy_, it->second.win);
                tray_.erase(it);
            }
            XFlush(dpy_);
            return;
        }
        if (it == tray_.end()) {
            TrayIconWin t;
            XSetWindowAttributes a{};
            a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                           LeaveWindowMask | StructureNotifyMask;
            a.background_pixmap = None;
            t.win = XCreateWindow(dpy_, root_, 0, 0, static_cast<unsigned>(t.w), static_cast<unsigned>(t.h), 0,
                                  CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap, &a);
            XClassHint ch;
            char resName[] = "vexmora", resClass[] = "Vexmora";
            ch.res_name = resName;
            ch.res_class = resClass;
            XSetClassHint(dpy_, t.win, &ch);
            unsigned long info[2] = {0, 1};  // XEmbed version 0, mapped
            XChangeProperty(dpy_, t.win, xembedInfo_, xembedInfo_, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(info), 2);
            it = tray_.emplace(key, t).first;
            trayByX_[t.win] = key;
            Dock(it->second);
        }
        PaintTrayIcon(it->second, d.hIcon);
        XFlush(dpy_);
    }

    void TrayBalloon(HWND hwnd, UINT id, UINT callbackMessage, const std::wstring& title, const std::wstring& text,
                     DWORD infoFlags) override
    {
        notifications_.Balloon(hwnd, id, callbackMessage, title, text, infoFlags);
    }

private:
    Native* Find(const WindowObj& w)
    {
        auto it = natives_.find(w.handle);
        return it == natives_.end() ? nullptr : &it->second;
    }

    // Asks the tray that owns the selection to embed the icon (SYSTEM_TRAY_REQUEST_DOCK). Under m_.
    void Dock(TrayIconWin& t)
    {
        Window mgr = XGetSelectionOwner(dpy_, traySelection_);
        if (mgr == None) return;
        if (mgr != trayManager_) {
            trayManager_ = mgr;
            XSelectInput(dpy_, mgr, StructureNotifyMask);  // its end undocks every icon
        }
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = mgr;
        e.xclient.message_type = trayOpcode_;
        e.xclient.format = 32;
        e.xclient.data.l[0] = CurrentTime;
        e.xclient.data.l[1] = 0;  // SYSTEM_TRAY_REQUEST_DOCK
        e.xclient.data.l[2] = static_cast<long>(t.win);
        XSendEvent(dpy_, mgr, False, NoEventMask, &e);
    }

    // The icon scaled to the size the tray gave, centred; its transparent pixels cut away, the
    // whole square taking clicks. Under m_.
    void PaintTrayIcon(TrayIconWin& t, HICON icon)
    {
        std::vector<std::uint32_t> px;
        int iw = 0, ih = 0;
        const int side = std::max(1, std::min(t.w, t.h));
        const int ox = (t.w - side) / 2, oy = (t.h - side) / 2;
        std::vector<std::uint32_t> out(static_cast<size_t>(t.w) * t.h, 0);
        std::vector<XRectangle> opaque;
        if (IconPixels(icon, px, iw, ih)) {
            for (int y = 0; y < side; ++y) {
                int runStart = -1;
                for (int x = 0; x <= side; ++x) {
                    bool on = false;
                    if (x < side) {
                        std::uint32_t p = px[static_cast<size_t>(y * ih / side) * iw + x * iw / side];
                        out[static_cast<size_t>(oy + y) * t.w + ox + x] = p & 0xFFFFFF;
                        on = (p >> 24) >= 128;
                    }
                    if (on && runStart < 0) runStart = x;
                    if (!on && runStart >= 0) {
                        opaque.push_back(XRectangle{static_cast<short>(ox + runStart), static_cast<short>(oy + y),
                                                    static_cast<unsigned short>(x - runStart), 1});
                        runStart = -1;
                    }
                }
            }
        }
        if (shapeOk_) {
            XShapeCombineRectangles(dpy_, t.win, ShapeBounding, 0, 0, opaque.data(), static_cast<int>(opaque.size()),
                                    ShapeSet, YXBanded);
            XRectangle all{0, 0, static_cast<unsigned short>(t.w), static_cast<unsigned short>(t.h)};
            XShapeCombineRectangles(dpy_, t.win, ShapeInput, 0, 0, &all, 1, ShapeSet, Unsorted);
        }
        if (DefaultDepth(dpy_, screen_) < 24) return;
        XImage* img = XCreateImage(
            dpy_, DefaultVisual(dpy_, screen_), static_cast<unsigned>(DefaultDepth(dpy_, screen_)), ZPixmap, 0,
            reinterpret_cast<char*>(out.data()), static_cast<unsigned>(t.w), static_cast<unsigned>(t.h), 32, 0);
        if (!img) return;
        GC gc = XCreateGC(dpy_, t.win, 0, nullptr);
        XPutImage(dpy_, t.win, gc, img, 0, 0, 0, 0, static_cast<unsigned>(t.w), static_cast<unsigned>(t.h));
        XFreeGC(dpy_, gc);
        img->data = nullptr;  // the pixels belong to the vector
        XDestroyImage(img);
    }

    std::optional<TrayKey> TrayKeyOf(Window w)
    {
        std::lock_guard<std::mutex> lock(m_);
        auto it = trayByX_.find(w);
        if (it == trayByX_.end()) return std::nullopt;
        return it->second;
    }

    // X input on a tray icon becomes its callback message with the mouse message in lParam, as a
    // tray sends it (a second press within the double-click time is the double click); the
    // pointer resting on it shows its tip.
    void HandleTray(XEvent& ev, const TrayKey& key)
    {
        NOTIFYICONDATAW d;
        if (!TrayIconState(reinterpret_cast<HWND>(key.first), key.second, &d)) return;
        HWND hwnd = reinterpret_cast<HWND>(key.first);
        const UINT id = key.second;
        auto post = [&](UINT mouseMessage) {
            if (d.uCallbackMessage) PostMessageW(hwnd, d.uCallbackMessage, id, static_cast<LPARAM>(mouseMessage));
        };
        std::lock_guard<std::mutex> lock(m_);
        auto it = tray_.find(key);
        if (it == tray_.end()) return;
        TrayIconWin& t = it->second;
        switch (ev.type) {
        case Expose:
            if (ev.xexpose.count == 0) PaintTrayIcon(t, d.hIcon);
            break;
        case ConfigureNotify:
            if (ev.xconfigure.width != t.w || ev.xconfigure.height != t.h) {
                t.w = std::max(1, ev.xconfigure.width);
                t.h = std::max(1, ev.xconfigure.height);
                PaintTrayIcon(t, d.hIcon);
            }
            break;
        case ReparentNotify:
            t.docked = ev.xreparent.parent != root_;
            // A tray that went away hands its icons back to the root: they wait there unseen.
            if (!t.docked) XUnmapWindow(dpy_, t.win);
            break;
        case ButtonPress:
        case ButtonRelease: {
            unsigned b = ev.xbutton.button;
            if (b < 1 || b > 3) break;
            SetCursorPosInternal(ev.xbutton.x_root, ev.xbutton.y_root);
            QueueInMainThread([] { TrayPointerGone(); });
            static const UINT down[3] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
            static const UINT dbl[3] = {WM_LBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK};
            static const UINT up[3] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
            if (ev.type == ButtonRelease) {
                post(up[b - 1]);
                break;
            }
            const bool isDouble =
                !t.lastWasDouble && t.lastButton == b && ev.xbutton.time - t.lastPress <= GetDoubleClickTime() &&
                std::abs(ev.xbutton.x_root - t.lastX) <= 4 && std::abs(ev.xbutton.y_root - t.lastY) <= 4;
            t.lastWasDouble = isDouble;
            t.lastButton = b;
            t.lastPress = ev.xbutton.time;
            t.lastX = ev.xbutton.x_root;
            t.lastY = ev.xbutton.y_root;
            post(isDouble ? dbl[b - 1] : down[b - 1]);
            break;
        }
        case EnterNotify:
        case MotionNotify: {
            const int x = ev.type == MotionNotify ? ev.xmotion.x_root : ev.xcrossing.x_root;
            const int y = ev.type == MotionNotify ? ev.xmotion.y_root : ev.xcrossing.y_root;
            SetCursorPosInternal(x, y);
            if (ev.type == MotionNotify) post(WM_MOUSEMOVE);
            QueueInMainThread([hwnd, id, x, y] { TrayPointerAt(hwnd, id, x, y); });
            break;
        }
        case LeaveNotify: QueueInMainThread([] { TrayPointerGone(); }); break;
        }
        XFlush(dpy_);
    }

    // A tray manager announced itself (MANAGER on the root): the waiting icons dock, and every
    // window hears "TaskbarCreated"; a tray that ends leaves them undocked.
    bool HandleTrayManager(XEvent& ev)
    {
        if (ev.type == ClientMessage && ev.xclient.window == root_ && ev.xclient.message_type == manager_ &&
            static_cast<Atom>(ev.xclient.data.l[1]) == traySelection_) {
            {
                std::lock_guard<std::mutex> lock(m_);
                for (auto& [k, t] : tray_)
                    if (!t.docked) Dock(t);
                XFlush(dpy_);
            }
            QueueInMainThread([] { BroadcastTaskbarCreated(); });
            return true;
        }
        if (ev.type == DestroyNotify) {
            std::lock_guard<std::mutex> lock(m_);
            if (ev.xdestroywindow.window != trayManager_ || !trayManager_) return false;
            trayManager_ = 0;
            for (auto& [k, t] : tray_) t.docked = false;
            return true;
        }
        return false;
    }

    // Places the X window where the window is, remembering the request for echo matching.
    void MoveResize(Native& n, const WindowObj& w)
    {
        const int wd = std::max<int>(1, w.rect.right - w.rect.left), ht = std::max<int>(1, w.rect.bottom - w.rect.top);
        XMoveResizeWindow(dpy_, n.win, w.rect.left, w.rect.top, static_cast<unsigned>(wd), static_cast<unsigned>(ht));
        n.requested.push_back(RECT{w.rect.left, w.rect.top, w.rect.left + wd, w.rect.top + ht});
        while (n.requested.size() > kRequestedKept) n.requested.pop_front();
    }

    // The window's WM_GETMINMAXINFO answer (asked on the UI thread, outside our lock); none for
    // the windows we place ourselves.
    static MINMAXINFO SizeLimits(WindowObj& w)
    {
        MINMAXINFO mmi{};
        if (w.exStyle & WS_EX_TOOLWINDOW) return mmi;
        mmi = DefaultMinMax(w);
        SendMessageW(w.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        return mmi;
    }

    // The limits as WM_NORMAL_HINTS, so a window manager sizing the window keeps to them.
    // A window of fixed size publishes its size as both limits.
    void PublishSizeLimits(Native& n, const WindowObj& w, const MINMAXINFO& mmi)
    {
        if (n.overrideRedirect) return;
        POINT minSize = mmi.ptMinTrackSize, maxSize = mmi.ptMaxTrackSize;
        if (FixedSize(w)) {
            minSize = maxSize = POINT{std::max<LONG>(1, w.rect.right - w.rect.left),
                                      std::max<LONG>(1, w.rect.bottom - w.rect.top)};
        } else if (maxSize.x <= 0) {
            return;
        }
        if (n.minSize.x == minSize.x && n.minSize.y == minSize.y && n.maxSize.x == maxSize.x &&
            n.maxSize.y == maxSize.y)
            return;
        n.minSize = minSize;
        n.maxSize = maxSize;
        XSizeHints sh{};
        sh.flags = PPosition | USPosition | PMinSize | PMaxSize;
        sh.x = w.rect.left;
        sh.y = w.rect.top;
        sh.min_width = std::max<int>(1, minSize.x);
        sh.min_height = std::max<int>(1, minSize.y);
        sh.max_width = std::max<int>(sh.min_width, maxSize.x);
        sh.max_height = std::max<int>(sh.min_height, maxSize.y);
        XSetWMNormalHints(dpy_, n.win, &sh);
    }

    // Up to Count CARDINAL values of a window property; empty when it is missing.
    std::vector<long> CardinalProperty(Window Win, Atom Property, long Count)
    {
        std::vector<long> out;
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, Win, Property, 0, Count, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
                Success &&
            data && format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + n);
        if (data) XFree(data);
        return out;
    }

    // A window manager runs: the root names its check window, and that window names itself.
    bool WindowManagerRunning()
    {
        Atom check = XInternAtom(dpy_, "_NET_SUPPORTING_WM_CHECK", False);
        auto child = [&](Window w) -> Window {
            Atom type;
            int format;
            unsigned long n, after;
            unsigned char* data = nullptr;
            Window r = 0;
            if (XGetWindowProperty(dpy_, w, check, 0, 1, False, XA_WINDOW, &type, &format, &n, &after, &data) ==
                    Success &&
                data && n == 1 && format == 32)
                r = static_cast<Window>(reinterpret_cast<long*>(data)[0]);
            if (data) XFree(data);
            return r;
        };
        const Window w = child(root_);
        return w != 0 && child(w) == w;
    }

    void Grab(Native& n)
    {
        if (grabbed_ == n.win) return;
        int r = XGrabPointer(dpy_, n.win, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                             GrabModeAsync, None, None, CurrentTime);
        grabbed_ = r == GrabSuccess ? n.win : 0;
        // Another client holds the pointer for a moment (the window manager between a press and
        // its replay, a press on another program not yet released): the grab is tried again
        // shortly, for about a second, so the popup still hears clicks outside it.
        if (r == GrabSuccess) {
            grabWanted_ = 0;
        } else if (grabWanted_ != n.win) {
            grabWanted_ = n.win;
            grabTries_ = 0;
            WakeReader();
        }
    }

    void Ungrab()
    {
        XUngrabPointer(dpy_, CurrentTime);
        grabbed_ = 0;
        grabWanted_ = 0;
    }

    // The retry of a grab that another client's grab refused: taken only while that popup still
    // holds the capture or watches for outside presses.
    void RetryGrab()
    {
        std::lock_guard<std::mutex> lock(m_);
        const Window want = grabWanted_;
        if (!want || grabbed_ == want) return;
        Native* holder = nullptr;
        if (auto cap = TopLevelOf(LookupWindow(Input().capture)))
            if (Native* n = Find(*cap); n && n->overrideRedirect && n->mapped) holder = n;
        if (!holder) holder = WatchingPopup();
        if (!holder || holder->win != want || ++grabTries_ > 40) {
            grabWanted_ = 0;
            return;
        }
        Grab(*holder);  // refused again: the wish and its count of tries stay
        XFlush(dpy_);
    }

    // The window a native child window belongs to; 0 for any other X window.
    std::uintptr_t NativeChildOwner(Window x)
    {
        std::lock_guard<std::mutex> lock(m_);
        for (auto& [h, c] : children_)
            if (c.win == x) return h;
        return 0;
    }

    // Puts a native child over its control's client area, shown while the control is.
    void PlaceChild(const WindowObj& w, NativeChildWin& c)
    {
        POINT o = OffsetInTopLevel(w);
        int x = o.x + w.client.left, y = o.y + w.client.top;
        RECT at{x, y, x + std::max<int>(1, w.client.right - w.client.left),
                y + std::max<int>(1, w.client.bottom - w.client.top)};
        if (std::memcmp(&at, &c.at, sizeof at) != 0) {
            XMoveResizeWindow(dpy_, c.win, at.left, at.top, static_cast<unsigned>(at.right - at.left),
                              static_cast<unsigned>(at.bottom - at.top));
            c.at = at;
        }
        bool show = IsReallyVisible(w);
        if (show != c.shown) {
            if (show)
                XMapWindow(dpy_, c.win);
            else
                XUnmapWindow(dpy_, c.win);
            c.shown = show;
        }
    }

    // Replaces a top-level window's X window (another visual), keeping its place, state and
    // native children.
    Native* Recreate(WindowObj& w, bool argb)
    {
        Native old = natives_[w.handle];
        // A form made layered later (alpha blending, a fade-in) stays with the window manager.
        Native n = CreateNative(w, argb, old.overrideRedirect);
        for (auto& [h, c] : children_)
            if (auto cw = LookupWindow(h); cw && TopLevelOf(cw).get() == &w) {
                XReparentWindow(dpy_, c.win, n.win, c.at.left, c.at.top);
                if (c.shown) XMapWindow(dpy_, c.win);
            }
        if (grabbed_ == old.win) Ungrab();
        FreeImage(old);
        if (old.gc) XFreeGC(dpy_, old.gc);
        byX_.erase(old.win);
        XDestroyWindow(dpy_, old.win);
        if (old.mapped) {
            XMapRaised(dpy_, n.win);
            n.mapped = true;
        }
        natives_[w.handle] = n;
        byX_[n.win] = w.handle;
        return &natives_[w.handle];
    }

    // Click-through (layered and transparent) windows take no input at all: the server hands
    // clicks to what lies below.
    void SetClickThrough(Native& n, bool on)
    {
        if (!shapeOk_ || n.clickThrough == on) return;
        if (on)
            XShapeCombineRectangles(dpy_, n.win, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
        else
            XShapeCombineMask(dpy_, n.win, ShapeInput, 0, 0, None, ShapeSet);
        n.clickThrough = on;
    }

    // The program's icon (the window class's, else the application's first window's) as
    // _NET_WM_ICON: width, height, then ARGB pixels, one per long.
    void SetIcon(Window win, const WindowObj& w)
    {
        HICON icon = w.cls ? w.cls->icon : nullptr;
        if (!icon) icon = programIcon_;
        if (!icon) return;
        std::vector<std::uint32_t> px;
        int iw = 0, ih = 0;
        if (!IconPixels(icon, px, iw, ih)) return;
        programIcon_ = icon;
        std::vector<unsigned long> data;
        data.reserve(px.size() + 2);
        data.push_back(static_cast<unsigned long>(iw));
        data.push_back(static_cast<unsigned long>(ih));
        for (std::uint32_t p : px) data.push_back(p);
        Atom netIcon = XInternAtom(dpy_, "_NET_WM_ICON", False);
        XChangeProperty(dpy_, win, netIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
    }

    void SetTitle(Window win, const std::wstring& text)
    {
        const std::string u = StringToUtf8(text, TUtf8Escapes::Replace);
        Atom utf8 = XInternAtom(dpy_, "UTF8_STRING", False);
        Atom netName = XInternAtom(dpy_, "_NET_WM_NAME", False);
        XChangeProperty(dpy_, win, netName, utf8, 8, PropModeReplace, reinterpret_cast<const unsigned char*>(u.data()),
                        static_cast<int>(u.size()));
        XStoreName(dpy_, win, u.c_str());
    }

    void SetNetStates(Window win, const WindowObj& w)
    {
        std::vector<Atom> states;
        if (w.exStyle & WS_EX_TOPMOST) states.push_back(XInternAtom(dpy_, "_NET_WM_STATE_ABOVE", False));
        if (w.exStyle & WS_EX_TOOLWINDOW) {
            states.push_back(XInternAtom(dpy_, "_NET_WM_STATE_SKIP_TASKBAR", False));
            states.push_back(XInternAtom(dpy_, "_NET_WM_STATE_SKIP_PAGER", False));
        }
        Atom st = XInternAtom(dpy_, "_NET_WM_STATE", False);
        if (!states.empty())
            XChangeProperty(dpy_, win, st, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
        Atom type = XInternAtom(dpy_, "_NET_WM_WINDOW_TYPE", False);
        Atom value = XInternAtom(
            dpy_, (w.exStyle & WS_EX_TOOLWINDOW) ? "_NET_WM_WINDOW_TYPE_UTILITY" : "_NET_WM_WINDOW_TYPE_NORMAL", False);
        XChangeProperty(dpy_, win, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
    }

    static bool ClickThrough(const WindowObj& w)
    {
        return (w.exStyle & WS_EX_TRANSPARENT) && (w.exStyle & WS_EX_LAYERED);
    }

    void ApplyShape(Native& n, WindowObj& w)
    {
        if (!shapeOk_) return;
        SetClickThrough(n, ClickThrough(w));
        Region shape;
        bool any = false;
        if (w.shape) {
            shape = w.shape->rgn;
            any = true;
        }
        if (w.layeredContent) {
            // Fully transparent pixels are cut away (the region is kept up to date by
            // UpdateLayeredWindow, for the changed part only).
            shape = any ? shape.Intersect(w.layeredOpaque) : w.layeredOpaque;
            any = true;
        }
        if (any == n.hasShape && (!any || shape == n.shape)) return;
        n.hasShape = any;
        n.shape = shape;
        if (!any) {
            XShapeCombineMask(dpy_, n.win, ShapeBounding, 0, 0, None, ShapeSet);
            return;
        }
        std::vector<XRectangle> xr;
        for (const RECT& r : shape.Rects())
            xr.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                    static_cast<unsigned short>(r.right - r.left),
                                    static_cast<unsigned short>(r.bottom - r.top)});
        XShapeCombineRectangles(dpy_, n.win, ShapeBounding, 0, 0, xr.data(), static_cast<int>(xr.size()), ShapeSet,
                                YXBanded);
    }

    // The image the window's pixels go through, with room to grow so live sizing keeps it.
    bool EnsureImage(Native& n, int need_w, int need_h)
    {
        if (n.img && n.iw >= need_w && n.ih >= need_h) return true;
        if (n.putPending) XSync(dpy_, False);
        n.putPending = false;
        FreeImage(n);
        int w = need_w + need_w / 4, h = need_h + need_h / 4;
        Visual* vis = n.argb ? argbVisual_ : DefaultVisual(dpy_, screen_);
        int depth = n.argb ? 32 : DefaultDepth(dpy_, screen_);
        if (depth < 24) return false;
        if (shmOk_) {
            n.img = XShmCreateImage(dpy_, vis, static_cast<unsigned>(depth), ZPixmap, nullptr, &n.shm,
                                    static_cast<unsigned>(w), static_cast<unsigned>(h));
            if (n.img) {
                n.shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(n.img->bytes_per_line) * h, IPC_CREAT | 0600);
                if (n.shm.shmid >= 0) {
                    n.shm.shmaddr = n.img->data = static_cast<char*>(shmat(n.shm.shmid, nullptr, 0));
                    n.shm.readOnly = False;
                    if (n.shm.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(dpy_, &n.shm)) {
                        XSync(dpy_, False);
                        shmctl(n.shm.shmid, IPC_RMID, nullptr);  // freed when both sides detach
                        n.useShm = true;
                    }
                }
                if (!n.useShm) {
                    if (n.shm.shmid >= 0) shmctl(n.shm.shmid, IPC_RMID, nullptr);
                    n.img->data = nullptr;
                    XDestroyImage(n.img);
                    n.img = nullptr;
                }
            }
        }
        if (!n.img) {
            char* data = static_cast<char*>(std::calloc(static_cast<size_t>(w) * h, 4));
            n.img = XCreateImage(dpy_, vis, static_cast<unsigned>(depth), ZPixmap, 0, data, static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), 32, 0);
            if (!n.img) {
                std::free(data);
                return false;
            }
        }
        n.iw = w;
        n.ih = h;
        return true;
    }

    void FreeImage(Native& n)
    {
        if (!n.img) return;
        if (n.useShm) {
            XShmDetach(dpy_, &n.shm);
            XSync(dpy_, False);
            shmdt(n.shm.shmaddr);
            n.img->data = nullptr;
        }
        XDestroyImage(n.img);
        n.img = nullptr;
        n.useShm = false;
    }

    std::uintptr_t HandleOf(Window win)
    {
        std::lock_guard<std::mutex> lock(m_);
        auto it = byX_.find(win);
        return it == byX_.end() ? 0 : it->second;
    }

    // Wakes the reader out of its wait (a full pipe already holds a wake-up).
    void WakeReader()
    {
        if (wake_[1] >= 0) (void)!write(wake_[1], "x", 1);
    }

    // Events that Xlib read while this thread waited for a reply sit in its queue, not on the
    // connection, where the reader would not see them: it is woken to take them.
    void BeforeIdle() override
    {
        if (XEventsQueued(dpy_, QueuedAlready) > 0) WakeReader();
    }

    // Sleeps on the connection and the wake-up pipe until either has something; no polling.
    void ReadEvents()
    {
        int fd = ConnectionNumber(dpy_);
        XIC ic = nullptr;
        while (!stop_) {
            // Handling events makes round trips, which may leave further events queued already.
            XLockDisplay(dpy_);
            const bool queued = XEventsQueued(dpy_, QueuedAlready) > 0;
            XFlush(dpy_);
            XUnlockDisplay(dpy_);
            if (!queued) {
                pollfd p[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
                // A refused grab waits to be tried again; otherwise the wait has no end.
                const int wait = grabWanted_ ? 25 : -1;
                const int got = poll(p, wake_[0] >= 0 ? 2 : 1, wait);
                if (got < 0 && errno != EINTR) break;
                if (got == 0 && grabWanted_)
                    QueueInMainThread([self = self_] {
                        if (*self) (*self)->RetryGrab();
                    });
                if (p[1].revents & POLLIN) {
                    char drain[64];
                    while (read(wake_[0], drain, sizeof drain) > 0) {}
                }
            }
            if (stop_) break;
            // Events are taken under the display lock and handled after it: handling looks up windows
            // under our own lock, which the UI thread holds while it calls Xlib.
            std::vector<XEvent> events;
            XLockDisplay(dpy_);
            while (XPending(dpy_)) {
                XEvent ev;
                XNextEvent(dpy_, &ev);
                events.push_back(ev);
            }
            XUnlockDisplay(dpy_);
            for (auto& ev : events) {
                if (XFilterEvent(&ev, None)) continue;
                Handle(ev, ic);
            }
        }
        if (ic) XDestroyIC(ic);
    }

    // An iconic WM_STATE that answers our own iconification, read when the program may have
    // restored the window already (its map not yet come back): the program knows of it.
    bool OwnIconify(std::uintptr_t h)
    {
        std::lock_guard<std::mutex> lock(m_);
        auto it = natives_.find(h);
        return it != natives_.end() && (it->second.iconic || it->second.mapsPending > 0);
    }

    bool IsIconicX(Window win)
    {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        bool iconic = false;
        if (XGetWindowProperty(dpy_, win, wmState_, 0, 2, False, wmState_, &type, &format, &n, &after, &data) ==
                Success &&
            data && n >= 1 && format == 32)
            iconic = reinterpret_cast<long*>(data)[0] == 3;  // IconicState
        if (data) XFree(data);
        return iconic;
    }

    // Called on the UI thread after a focus change: our window holding the X focus is active; when
    // none of ours holds it, no window of ours is.
    void FollowXFocus()
    {
        Window focus = 0;
        int revert;
        XGetInputFocus(dpy_, &focus, &revert);
        if (focus == PointerRoot || focus == None) return;  // no window holds it: nothing to follow
        std::uintptr_t h = HandleOf(focus);
        HWND active = GetActiveWindow();
        if (h) {
            const HWND to = reinterpret_cast<HWND>(h);
            // The focus still on a window we just minimised (the manager not yet done with it)
            // does not make it active again.
            if (to == active || !IsWindowVisible(to) || IsIconic(to)) return;
            auto w = LookupWindow(to);
            if (w && (w->style & WS_DISABLED)) {
                // The owner of a modal form (the window manager's focus return from a dialog that
                // closed, read after the next one showed): the form keeps the keyboard.
                if (active) FocusIfActive(reinterpret_cast<std::uintptr_t>(active));
                return;
            }
            SetActiveWindow(to);
        } else if (active) {
            SetActiveWindow(nullptr);
        }
    }

    // Another program asks for our clipboard text.
    void ServeSelection(const XSelectionRequestEvent& rq)
    {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = rq.requestor;
        reply.selection = rq.selection;
        reply.target = rq.target;
        reply.time = rq.time;
        reply.property = None;
        std::wstring text;
        if (rq.target == targets_) {
            Atom list[2] = {targets_, utf8_};
            XChangeProperty(dpy_, rq.requestor, rq.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(list), 2);
            reply.property = rq.property;
        } else if ((rq.target == utf8_ || rq.target == XA_STRING) && ClipboardText(text)) {
            const std::string u = StringToUtf8(text, TUtf8Escapes::Replace);
            XChangeProperty(dpy_, rq.requestor, rq.property, rq.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(u.data()), static_cast<int>(u.size()));
            reply.property = rq.property;
        }
        XSendEvent(dpy_, rq.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(dpy_);
    }

    // Runs fn on the UI thread unless this back end is closed by then (its display is gone).
    void QueueWhileOpen(std::function<void()> fn)
    {
        QueueInMainThread([open = open_, fn = std::move(fn)] {
            if (*open) fn();
        });
    }

    void Handle(XEvent& ev, XIC& ic)
    {
        // The user's last key or button: the time a focus request carries.
        if (ev.type == KeyPress) userTime_ = ev.xkey.time;
        if (ev.type == ButtonPress) userTime_ = ev.xbutton.time;
        if (shmOk_ && ev.type == shmCompletion_) {
            const auto& done = reinterpret_cast<const XShmCompletionEvent&>(ev);
            std::lock_guard<std::mutex> lock(m_);
            auto it = byX_.find(done.drawable);
            if (it == byX_.end()) return;
            auto nt = natives_.find(it->second);
            if (nt != natives_.end() && done.serial >= nt->second.putSerial) nt->second.putPending = false;
            return;
        }
        if (ev.type == SelectionRequest) {
            ServeSelection(ev.xselectionrequest);
            return;
        }
        if (ev.type == SelectionClear) {
            ClipboardLostToOtherProgram();
            return;
        }
        if (ev.type == SelectionNotify && ev.xselection.requestor == clipWin_) {
            std::wstring text;
            if (ev.xselection.property != None) {
                Atom type;
                int format;
                unsigned long n, after;
                unsigned char* data = nullptr;
                if (XGetWindowProperty(dpy_, clipWin_, clipProp_, 0, 1 << 24, True, AnyPropertyType, &type, &format, &n,
                                       &after, &data) == Success &&
                    data && format == 8)
                    text = FromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(n));
                if (data) XFree(data);
            }
            std::lock_guard<std::mutex> lock(clipM_);
            clipText_ = text;
            clipDone_ = true;
            clipCv_.notify_all();
            return;
        }
        if (HandleTrayManager(ev)) return;
        if (auto key = TrayKeyOf(ev.xany.window)) {
            HandleTray(ev, *key);
            return;
        }
        if (ev.type == Expose && ev.xexpose.count == 0)
            if (std::uintptr_t child = NativeChildOwner(ev.xany.window)) {
                QueueWhileOpen([child] {
                    if (LookupWindow(child)) InvalidateRect(reinterpret_cast<HWND>(child), nullptr, FALSE);
                });
                return;
            }
        std::uintptr_t h = HandleOf(ev.xany.window);
        switch (ev.type) {
        case Expose:
            if (h && ev.xexpose.count == 0)
                QueueWhileOpen([h] {
                    auto w = LookupWindow(h);
                    if (!w || !w->surface) return;
                    MarkSurfaceDirty(h, RECT{0, 0, w->surface->width, w->surface->height});
                    PresentDirty(*w);
                });
            break;
        case GraphicsExpose:
            if (h) {
                RECT r{ev.xgraphicsexpose.x, ev.xgraphicsexpose.y, ev.xgraphicsexpose.x + ev.xgraphicsexpose.width,
                       ev.xgraphicsexpose.y + ev.xgraphicsexpose.height};
                QueueWhileOpen([h, r] {
                    auto w = LookupWindow(h);
                    if (!w || !w->surface) return;
                    MarkSurfaceDirty(h, r);
                    PresentDirty(*w);
                });
            }
            break;
        case ConfigureNotify:
            if (ev.xconfigure.window == root_) {
                // The screen changed size: every top-level window hears of it.
                int sw = ev.xconfigure.width, sh = ev.xconfigure.height;
                QueueWhileOpen([sw, sh] {
                    for (auto t : TopLevels())
                        PostMessageW(reinterpret_cast<HWND>(t), WM_DISPLAYCHANGE, 32, MAKELPARAM(sw, sh));
                });
                break;
            }
            if (h) {
                // Synthetic events (from a reparenting window manager) carry root coordinates;
                // real ones are relative to the manager's frame and only their size counts.
                const bool synthetic = ev.xconfigure.send_event;
                const int x = ev.xconfigure.x, y = ev.xconfigure.y;
                const int cw = ev.xconfigure.width, ch = ev.xconfigure.height;
                bool takePos = false, takeSize = false;
                {
                    std::lock_guard<std::mutex> lock(m_);
                    auto it = natives_.find(h);
                    if (it == natives_.end() || it->second.overrideRedirect) break;
                    auto& req = it->second.requested;
                    if (synthetic) {
                        auto echo = std::find_if(req.begin(), req.end(),
                                                 [&](const RECT& r) { return r.left == x && r.top == y; });
                        if (echo != req.end())
                            req.erase(req.begin(), echo);
                        else
                            takePos = true;
                    }
                    takeSize = std::none_of(req.begin(), req.end(), [&](const RECT& r) {
                        return r.right - r.left == cw && r.bottom - r.top == ch;
                    });
                }
                if (takePos || takeSize)
                    QueueWhileOpen([self = self_, h, x, y, cw, ch, takePos, takeSize] {
                        auto w = LookupWindow(h);
                        if (!w) return;
                        const RECT& r = w->rect;
                        const bool move = takePos && (r.left != x || r.top != y);
                        const bool resized = r.right - r.left != cw || r.bottom - r.top != ch;
                        const bool size = takeSize && resized && !FixedSize(*w);
                        // A window manager that sized a fixed window anyway gets its size back.
                        if (takeSize && resized && !size && *self) (*self)->WindowMoved(*w);
                        if (!move && !size) return;
                        // The window manager chose this place or size: the window takes it and
                        // its frame is rebuilt for it.
                        SetWindowPos(w->hwnd(), nullptr, x, y, cw, ch,
                                     SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE));
                    });
            }
            break;
        case FocusIn:
        case FocusOut:
            // Another program took the keyboard, or the user came back: activation follows the X focus.
            if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab || ev.xfocus.detail == NotifyInferior)
                break;
            QueueInMainThread([self = self_] {
                if (*self) (*self)->FollowXFocus();
            });
            break;
        case MapNotify: {
            // Mapped again by the window manager (restored from the task bar) while minimised. The
            // echo of our own map (read after a minimise that followed it) restores nothing.
            {
                std::lock_guard<std::mutex> lock(m_);
                auto it = natives_.find(h);
                if (it != natives_.end() && it->second.mapsPending > 0) {
                    --it->second.mapsPending;
                    // Now viewable: an active window takes the focus itself too, in case the
                    // window manager let the request go.
                    QueueInMainThread([self = self_, h] {
                        if (*self) (*self)->FocusIfActive(h);
                    });
                    break;
                }
            }
            if (h)
                QueueWhileOpen([h] {
                    auto w = LookupWindow(h);
                    if (w && w->showState == SW_SHOWMINIMIZED) PostMessageW(w->hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
                });
            break;
        }
        case LeaveNotify: {
            // The pointer left our window: a move there lets leave tracking end.
            RawInput r;
            r.kind = RawInput::MouseMove;
            r.x = ev.xcrossing.x_root;
            r.y = ev.xcrossing.y_root;
            PostRawInput(r);
            break;
        }
        case ClientMessage:
            // The window manager's close button: the window hears WM_CLOSE, unless it is disabled
            // (the owner of a modal dialog).
            if (h && ev.xclient.message_type == wmProtocols_ && static_cast<Atom>(ev.xclient.data.l[0]) == wmDelete_)
                QueueWhileOpen([h] {
                    auto w = LookupWindow(h);
                    if (w && !(w->style & WS_DISABLED)) PostMessageW(w->hwnd(), WM_CLOSE, 0, 0);
                });
            break;
        case PropertyNotify:
            // Iconified by the window manager (its task bar, a key): the window is minimised the
            // way SC_MINIMIZE does it, so the program hears of it.
            if (h && ev.xproperty.atom == wmState_ && ev.xproperty.state == PropertyNewValue &&
                IsIconicX(ev.xany.window) && !OwnIconify(h))
                QueueWhileOpen([h] {
                    auto w = LookupWindow(h);
                    if (w && (w->style & WS_VISIBLE) && w->showState != SW_SHOWMINIMIZED)
                        PostMessageW(w->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
                });
            if (h && ev.xproperty.atom == netWmState_ && ev.xproperty.state == PropertyNewValue)
                QueueInMainThread([self = self_, h] {
                    if (*self) (*self)->DeclineSizingStates(h);
                });
            break;
        case MotionNotify: {
            RawInput r;
            r.kind = RawInput::MouseMove;
            r.x = ev.xmotion.x_root;
            r.y = ev.xmotion.y_root;
            r.target = h;
            PostRawInput(r);
            break;
        }
        case ButtonPress:
        case ButtonRelease: {
            RawInput r;
            r.x = ev.xbutton.x_root;
            r.y = ev.xbutton.y_root;
            r.target = h;
            unsigned b = ev.xbutton.button;
            if (b == 4 || b == 5) {
                if (ev.type == ButtonRelease) break;
                r.kind = RawInput::Wheel;
                r.wheel = b == 4 ? WHEEL_DELTA : -WHEEL_DELTA;
            } else if (b >= 1 && b <= 3) {
                r.kind = ev.type == ButtonPress ? RawInput::MouseDown : RawInput::MouseUp;
                r.button = b == 1 ? 0 : b == 3 ? 1 : 2;
            } else {
                break;
            }
            PostRawInput(r);
            break;
        }
        case KeyPress:
        case KeyRelease: {
            RawInput r;
            r.kind = ev.type == KeyPress ? RawInput::KeyDown : RawInput::KeyUp;
            char buf[64];
            KeySym ks = 0;
            int n = 0;
            if (ev.type == KeyPress) {
                if (im_ && !ic)
                    ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                                   ev.xkey.window, nullptr);
                Status st;
                if (ic) {
                    XSetICValues(ic, XNFocusWindow, ev.xkey.window, nullptr);
                    n = Xutf8LookupString(ic, &ev.xkey, buf, sizeof buf - 1, &ks, &st);
                    if (st != XLookupBoth && st != XLookupChars) n = 0;
                    if (st == XLookupChars) ks = 0;
                } else {
                    n = XLookupString(&ev.xkey, buf, sizeof buf - 1, &ks, nullptr);
                }
            } else {
                ks = XLookupKeysym(&ev.xkey, 0);
            }
            r.vk = VkFromKeysym(ks ? ks : XLookupKeysym(&ev.xkey, 0));
            std::wstring text = n > 0 ? FromUtf8(buf, n) : std::wstring();
            // Control characters (Enter, Escape, Ctrl+letter) become WM_CHAR too, as on Windows.
            if (r.vk == 0 && !text.empty()) {
                // Input-method text without a key of its own.
                RawInput t;
                t.kind = RawInput::Text;
                t.text = text;
                PostRawInput(t);
                break;
            }
            r.text = text;
            if (r.vk) PostRawInput(r);
            break;
        }
        default: break;
        }
    }

    Display* dpy_;
    Visual* argbVisual_ = nullptr;
    Colormap argbColormap_ = 0;
    Window grabbed_ = 0;
    std::atomic<Window> grabWanted_{0};  // a popup whose grab was refused, to be tried again
    int grabTries_ = 0;
    HICON programIcon_ = nullptr;
    Atom wmState_ = 0, netWmState_ = 0;
    std::atomic<unsigned long> userTime_{CurrentTime};
    // The notification area: our icons, by (window, id) and by X window; the tray that holds them.
    std::map<TrayKey, TrayIconWin> tray_;
    std::unordered_map<Window, TrayKey> trayByX_;
    Atom traySelection_ = 0, trayOpcode_ = 0, manager_ = 0, xembedInfo_ = 0;
    Window trayManager_ = 0;
    DesktopNotifications notifications_;
    int shmCompletion_ = -1;
    int screen_ = 0;
    Window root_ = 0;
    bool shmOk_ = false;
    bool shapeOk_ = false;
    Atom wmDelete_ = 0, wmProtocols_ = 0;
    XIM im_ = nullptr;
    std::mutex m_;
    std::unordered_map<std::uintptr_t, Native> natives_;
    std::unordered_map<Window, std::uintptr_t> byX_;
    std::unordered_map<std::uintptr_t, NativeChildWin> children_;
    std::unordered_map<unsigned, Cursor> cursors_;
    std::thread reader_;
    // This back end for work queued to the UI thread, cleared when it goes (a test closes one
    // back end and opens the next while that work still waits).
    std::shared_ptr<X11Backend*> self_ = std::make_shared<X11Backend*>(this);
    std::atomic<bool> stop_{false};
    std::shared_ptr<std::atomic<bool>> open_ = std::make_shared<std::atomic<bool>>(true);
    int wake_[2] = {-1, -1};
    Window clipWin_ = 0;
    // The never-mapped leader of the program's window group: the window manager sees the main
    // window and its dialogs as one program, and lets a dialog take the focus from its owner.
    Window leader_ = 0;
    Atom clipboard_ = 0, utf8_ = 0, targets_ = 0, clipProp_ = 0;
    std::mutex clipM_;
    std::condition_variable clipCv_;
    bool clipDone_ = false;
    std::wstring clipText_;
};

}  // namespace

std::unique_ptr<Backend> MakeX11Backend(const std::string& display)
{
    XInitThreads();
    XSetErrorHandler(IgnoreXErrors);
    Display* d = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!d) return nullptr;
    return std::make_unique<X11Backend>(d);
}

}  // namespace vxwin
