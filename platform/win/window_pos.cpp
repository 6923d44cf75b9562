// Position, size, z-order and visibility of windows: SetWindowPos (with WM_WINDOWPOSCHANGING,
// WM_GETMINMAXINFO clamping of top-level sizes, WM_NCCALCSIZE and WM_WINDOWPOSCHANGED), ShowWindow
// with minimise/maximise/restore, rectangles and coordinate mapping.
#include <algorithm>

#include "platform/win/backend.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

using namespace vxwin;

namespace vxwin {
// Internal WINDOWPOS flags: the client area did not change size / position.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

MINMAXINFO DefaultMinMax(const WindowObj&)
{
    MINMAXINFO mmi;
    RECT wa = WorkAreaRect();
    mmi.ptMaxSize = POINT{wa.right - wa.left, wa.bottom - wa.top};
    mmi.ptMaxPosition = POINT{wa.left, wa.top};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
    RECT sr = ScreenRect();
    mmi.ptMaxTrackSize = POINT{(sr.right - sr.left) + 12, (sr.bottom - sr.top) + 12};
    return mmi;
}

void ClampToMinMax(HWND hwnd, const WindowObj& w, int& cx, int& cy)
{
    MINMAXINFO mmi = DefaultMinMax(w);
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    // Borderless popups may be smaller than the system minimum.
    if (!(w.style & (WS_THICKFRAME | WS_CAPTION)) && mmi.ptMinTrackSize.x == GetSystemMetrics(SM_CXMIN) &&
        mmi.ptMinTrackSize.y == GetSystemMetrics(SM_CYMIN))
        mmi.ptMinTrackSize = POINT{0, 0};
    cx = std::clamp<int>(cx, std::min(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
    cy = std::clamp<int>(cy, std::min(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
}
}  // namespace vxwin

namespace {

void Restack(const std::shared_ptr<WindowObj>& w, HWND after)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    if (IsChildWindow(*w)) {
        auto p = LookupWindow(w->parent);
        if (!p) return;
        auto& v = p->children;
        v.erase(std::remove(v.begin(), v.end(), w->handle), v.end());
        if (after == HWND_BOTTOM)
            v.push_back(w->handle);
        else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST)
            v.insert(v.begin(), w->handle);
        else {
            auto it = std::find(v.begin(), v.end(), reinterpret_cast<std::uintptr_t>(after));
            v.insert(it == v.end() ? v.begin() : it + 1, w->handle);
        }
    } else {
        DWORD was = w->exStyle;
        if (after == HWND_TOPMOST)
            w->exStyle |= WS_EX_TOPMOST;
        else if (after == HWND_NOTOPMOST)
            w->exStyle &= ~WS_EX_TOPMOST;
        if ((was ^ w->exStyle) & WS_EX_TOPMOST) CurrentBackend().WindowTopmostChanged(*w);
        std::uintptr_t a = 0;
        if (after == HWND_BOTTOM)
            a = 1;
        else if (after != HWND_TOP && after != HWND_TOPMOST && after != HWND_NOTOPMOST)
            a = reinterpret_cast<std::uintptr_t>(after);
        InsertTopLevel(w->handle, a);
        CurrentBackend().WindowRestacked();
    }
    BumpLayout();
}

void ActivateAnother(const std::shared_ptr<WindowObj>& w)
{
    if (Input().active != w->handle) return;
    HWND next = nullptr;
    if (w->owner && IsWindowVisible(reinterpret_cast<HWND>(w->owner))) next = reinterpret_cast<HWND>(w->owner);
    if (!next)
        for (auto t : TopLevels()) {
            auto o = LookupWindow(t);
            if (o && t != w->handle && (o->style & WS_VISIBLE) &&
                !(o->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW))) {
                next = o->hwnd();
                break;
            }
        }
    SetActiveWindow(next);
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    bool top = !IsChildWindow(*w);
    WINDOWPOS wp;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = after;
    wp.flags = flags;
    wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->rect.right - w->rect.left : std::max(0, cx);
    wp.cy = (flags & SWP_NOSIZE) ? w->rect.bottom - w->rect.top : std::max(0, cy);
    // Top-level size changes honour WM_GETMINMAXINFO, for ordinary resizes as for the size loop.
    if (!(flags & SWP_NOSIZE) && top && !w->messageOnly) ClampToMinMax(hwnd, *w, wp.cx, wp.cy);
    if (!(flags & SWP_NOSENDCHANGING)) SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!IsWindow(hwnd)) return FALSE;
    flags = wp.flags;
    RECT old = w->rect;
    // What the flags exclude stays as it is, whatever the handler wrote.
    if (flags & SWP_NOMOVE) {
        wp.x = old.left;
        wp.y = old.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = old.right - old.left;
        wp.cy = old.bottom - old.top;
    }
    RECT oldClient = w->client;
    bool wasVisible = w->style & WS_VISIBLE;
    RECT nr{wp.x, wp.y, wp.x + std::max(0, wp.cx), wp.y + std::max(0, wp.cy)};
    bool moved = nr.left != old.left || nr.top != old.top;
    bool sized = (nr.right - nr.left) != (old.right - old.left) || (nr.bottom - nr.top) != (old.bottom - old.top);
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        w->rect = nr;
    }
    if (sized || moved || (flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p;
        p.rgrc[0] = nr;
        p.rgrc[1] = old;
        p.rgrc[2] = RectOffset(oldClient, old.left, old.top);
        p.lppos = &wp;
        SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
        if (!IsWindow(hwnd)) return FALSE;
        RECT c = p.rgrc[0];
        c.right = std::max(c.right, c.left);
        c.bottom = std::max(c.bottom, c.top);
        w->client = RectOffset(c, -nr.left, -nr.top);
    }
    if (!(flags & SWP_NOZORDER)) Restack(w, after);
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    bool visible = w->style & WS_VISIBLE;
    bool clientSized = (w->client.right - w->client.left) != (oldClient.right - oldClient.left) ||
                       (w->client.bottom - w->client.top) != (oldClient.bottom - oldClient.top);
    bool clientMoved = moved || w->client.left != oldClient.left || w->client.top != oldClient.top;
    if (!clientSized) wp.flags |= SWP_NOCLIENTSIZE;
    if (!clientMoved) wp.flags |= SWP_NOCLIENTMOVE;
    BumpLayout();
    if (top && !w->messageOnly) {
        if (sized || !w->surface) EnsureSurface(*w);
        if (moved || sized) CurrentBackend().WindowMoved(*w);
        if (visible != wasVisible) CurrentBackend().WindowShown(*w, visible);
    }
    // What must be painted again. The whole window (with its children) when it appeared or, as a
    // child having no bits of its own to move, changed place; when it changed size, the whole
    // client area only for a class that asks for it (CS_HREDRAW, CS_VREDRAW), else just what the
    // new size uncovers; in the parent, only what the child no longer covers.
    if (visible && !(flags & SWP_NOREDRAW)) {
        UINT cs = w->cls ? w->cls->style : 0;
        bool widthChanged = (w->client.right - w->client.left) != (oldClient.right - oldClient.left);
        bool heightChanged = (w->client.bottom - w->client.top) != (oldClient.bottom - oldClient.top);
        bool clientShifted = w->client.left != oldClient.left || w->client.top != oldClient.top;
        Region whole(RECT{0, 0, nr.right - nr.left, nr.bottom - nr.top});
        if (!wasVisible || (!top && moved)) {
            w->ncPending = true;
            InvalidateWindowArea(w, whole, true, true);
        } else if (sized || (flags & SWP_FRAMECHANGED)) {
            w->ncPending = true;
            if ((flags & SWP_FRAMECHANGED) || clientShifted || (widthChanged && (cs & CS_HREDRAW)) ||
                (heightChanged && (cs & CS_VREDRAW)))
                InvalidateWindowArea(w, Region(w->client), true, false);
            // Children reaching into what the new size uncovers show more of themselves there.
            Region uncovered = Region(w->client).Subtract(Region(oldClient));
            if (!uncovered.IsEmpty()) InvalidateWindowArea(w, uncovered, true, true);
        }
    }
    if (!top && (moved || sized || visible != wasVisible)) CurrentBackend().ChildLayoutChanged();
    if (!top && wasVisible && (moved || sized || !visible)) {
        if (auto p = LookupWindow(w->parent)) {
            Region gone(RectOffset(old, p->client.left, p->client.top));
            if (visible) gone = gone.Subtract(Region(RectOffset(nr, p->client.left, p->client.top)));
            if (!gone.IsEmpty()) InvalidateWindowArea(p, gone, true, true);
        }
    }
    if (top && visible && !wasVisible && !(flags & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE))
        SetActiveWindow(hwnd);
    if (top && wasVisible && !visible) ActivateAnother(w);
    if (!visible && Input().focus &&
        (Input().focus == w->handle || IsChild(hwnd, reinterpret_cast<HWND>(Input().focus))))
        SetFocus(top ? nullptr : reinterpret_cast<HWND>(w->parent));
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int cmd)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    bool top = !IsChildWindow(*w);
    UINT noAct =
        (cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWMINNOACTIVE || !top) ? SWP_NOACTIVATE : 0;
    auto showMsg = [&](bool show) {
        if (show != static_cast<bool>(wasVisible)) SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    };
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) return FALSE;
        showMsg(false);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return wasVisible;
    case SW_SHOWMAXIMIZED: {
        if (w->showState == SW_SHOWNORMAL) w->restoreRect = w->rect;
        w->showState = SW_SHOWMAXIMIZED;
        w->style |= WS_MAXIMIZE;
        w->style &= ~WS_MINIMIZE;
        showMsg(true);
        RECT wa = WorkAreaRect();
        MINMAXINFO mmi = DefaultMinMax(*w);
        SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        SetWindowPos(
            hwnd, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, std::min<int>(mmi.ptMaxSize.x, wa.right - wa.left),
            std::min<int>(mmi.ptMaxSize.y, wa.bottom - wa.top), SWP_SHOWWINDOW | SWP_NOZORDER | SWP_FRAMECHANGED);
        return wasVisible;
    }
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
        if (w->showState == SW_SHOWNORMAL) w->restoreRect = w->rect;
        w->showState = SW_SHOWMINIMIZED;
        w->style |= WS_MINIMIZE;
        w->style &= ~WS_MAXIMIZE;
        showMsg(true);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (top) {
            CurrentBackend().WindowMinimized(*w);
            if (Input().active == w->handle) ActivateAnother(w);
        }
        SendMessageW(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        return wasVisible;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->showState != SW_SHOWNORMAL) {
            bool wasMin = w->showState == SW_SHOWMINIMIZED;
            w->showState = SW_SHOWNORMAL;
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            showMsg(true);
            RECT r = w->restoreRect;
            RECT clientBefore = w->client;
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_SHOWWINDOW | SWP_NOZORDER | SWP_FRAMECHANGED | noAct);
            if (wasMin && top) CurrentBackend().WindowShown(*w, true);
            // Back from minimised at the same size: the window still hears that it is restored.
            if (wasMin && IsWindow(hwnd) &&
                (w->client.right - w->client.left) == (clientBefore.right - clientBefore.left) &&
                (w->client.bottom - w->client.top) == (clientBefore.bottom - clientBefore.top))
                SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                             MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
            return wasVisible;
        }
        [[fallthrough]];
    default:
        showMsg(true);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | noAct);
        return wasVisible;
    }
}

BOOL GetWindowRect(HWND hwnd, RECT* r)
{
    auto w = LookupWindow(hwnd);
    if (!w || !r) return FALSE;
    *r = ScreenRectOf(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* r)
{
    auto w = LookupWindow(hwnd);
    if (!w || !r) return FALSE;
    *r = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* p)
{
    auto w = LookupWindow(hwnd);
    if (!w || !p) return FALSE;
    RECT s = ScreenRectOf(*w);
    p->x += s.left + w->client.left;
    p->y += s.top + w->client.top;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* p)
{
    auto w = LookupWindow(hwnd);
    if (!w || !p) return FALSE;
    RECT s = ScreenRectOf(*w);
    p->x -= s.left + w->client.left;
    p->y -= s.top + w->client.top;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count)
{
    POINT o{0, 0};
    if (from && !ClientToScreen(from, &o)) return 0;
    POINT t{0, 0};
    if (to && !ClientToScreen(to, &t)) return 0;
    int dx = o.x - t.x, dy = o.y - t.y;
    for (UINT i = 0; i < count; ++i) {
        pts[i].x += dx;
        pts[i].y += dy;
    }
    return MAKELPARAM(dx, dy);
}

BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL, DWORD exStyle)
{
    if (!r) return FALSE;
    int b = (style & WS_THICKFRAME)                                         ? 4
            : ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME)) ? 3
            : (style & WS_BORDER)                                           ? 1
                                                                            : 0;
    if (exStyle & WS_EX_CLIENTEDGE) b += 2;
    r->left -= b;
    r->right += b;
    // A tool window has the small caption the default frame draws for it.
    const int caption = (style & WS_CAPTION) != WS_CAPTION ? 0
                        : (exStyle & WS_EX_TOOLWINDOW)     ? 16
                                                           : GetSystemMetrics(SM_CYCAPTION);
    r->top -= b + caption;
    r->bottom += b;
    return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp)
{
    auto w = LookupWindow(hwnd);
    if (!w || !wp) return FALSE;
    wp->flags = 0;
    wp->showCmd = !(w->style & WS_VISIBLE) ? SW_HIDE : static_cast<UINT>(w->showState);
    wp->ptMinPosition = POINT{-1, -1};
    wp->ptMaxPosition = POINT{-1, -1};
    wp->rcNormalPosition = w->showState == SW_SHOWNORMAL ? w->rect : w->restoreRect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp)
{
    auto w = LookupWindow(hwnd);
    if (!w || !wp) return FALSE;
    const RECT& r = wp->rcNormalPosition;
    if (w->showState == SW_SHOWNORMAL)
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        w->restoreRect = r;
    if (wp->showCmd != SW_HIDE || (w->style & WS_VISIBLE)) ShowWindow(hwnd, static_cast<int>(wp->showCmd));
    return TRUE;
}

namespace {
struct DeferredPos : Object {
    static constexpr ObjKind kKind = ObjKind::DeferPos;
    DeferredPos() : Object(kKind) {}
    struct Item {
        HWND hwnd, after;
        int x, y, cx, cy;
        UINT flags;
    };
    std::vector<Item> items;
    bool deferred = true;
};
}  // namespace

HDWP BeginDeferWindowPos(int count)
{
    if (count < 0) return nullptr;
    auto d = std::make_shared<DeferredPos>();
    d->items.reserve(static_cast<size_t>(count));
    return Register<HDWP>(d);
}

HDWP DeferWindowPos(HDWP dwp, HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    auto d = Lookup<DeferredPos>(dwp);
    if (!d || !IsWindow(hwnd)) return nullptr;
    d->items.push_back({hwnd, after, x, y, cx, cy, flags});
    return dwp;
}

BOOL EndDeferWindowPos(HDWP dwp)
{
    auto d = Lookup<DeferredPos>(dwp);
    if (!d) return FALSE;
    RemoveHandle(dwp);
    BOOL ok = TRUE;
    for (auto& i : d->items)
        if (!SetWindowPos(i.hwnd, i.after, i.x, i.y, i.cx, i.cy, i.flags)) ok = FALSE;
    return ok;
}
