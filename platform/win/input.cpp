// Mouse and keyboard input, activation, focus, capture, cursors and leave tracking.
#include "platform/win/input.h"

#include <algorithm>

#include "platform/win/backend.h"
#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

namespace {

// Set while a press activates a window: WM_ACTIVATE then says WA_CLICKACTIVE.
bool g_clickActivation = false;

bool InShape(const WindowObj& w, POINT screen)
{
    RECT r = ScreenRectOf(w);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) return false;
    if (w.shape && !w.shape->rgn.Contains(screen.x - r.left, screen.y - r.top)) return false;
    return true;
}

// Deepest enabled, visible child of w (or w) containing the point, skipping windows that answer
// HTTRANSPARENT; hit receives the answer of WM_NCHITTEST.
HWND HitInTree(const std::shared_ptr<WindowObj>& w, POINT screen, LRESULT* hit)
{
    auto kids = w->children;
    RECT r = ScreenRectOf(*w);
    POINT inClient{screen.x - r.left, screen.y - r.top};
    bool inClientArea = inClient.x >= w->client.left && inClient.x < w->client.right && inClient.y >= w->client.top &&
                        inClient.y < w->client.bottom;
    if (inClientArea)
        for (auto c : kids) {
            auto ch = LookupWindow(c);
            if (!ch || !(ch->style & WS_VISIBLE) || !InShape(*ch, screen)) continue;
            if (ch->style & WS_DISABLED) {
                // Input for a disabled child goes to its parent.
                break;
            }
            if (HWND h = HitInTree(ch, screen, hit)) return h;
        }
    LRESULT ht = SendMessageW(w->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (ht == HTTRANSPARENT) return nullptr;
    *hit = ht;
    return w->hwnd();
}

WPARAM MouseKeyState()
{
    WPARAM k = 0;
    if (GetKeyState(VK_LBUTTON) & 0x8000) k |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) & 0x8000) k |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) & 0x8000) k |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) & 0x8000) k |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) & 0x8000) k |= MK_CONTROL;
    return k;
}

void CheckLeave(HWND now, LRESULT hit)
{
    auto& in = Input();
    if (in.lastUnder &&
        (in.lastUnder != reinterpret_cast<std::uintptr_t>(now) || (hit == HTCLIENT) != (in.lastHit == HTCLIENT))) {
        auto prev = LookupWindow(in.lastUnder);
        if (prev) {
            bool changedWindow = in.lastUnder != reinterpret_cast<std::uintptr_t>(now);
            if (prev->trackLeave && (changedWindow || in.lastHit == HTCLIENT)) {
                prev->trackLeave = false;
                PostMessageW(prev->hwnd(), WM_MOUSELEAVE, 0, 0);
            }
            if (prev->trackNcLeave && (changedWindow || in.lastHit != HTCLIENT)) {
                prev->trackNcLeave = false;
                PostMessageW(prev->hwnd(), WM_NCMOUSELEAVE, 0, 0);
            }
        }
    }
    in.lastUnder = reinterpret_cast<std::uintptr_t>(now);
    in.lastHit = hit;
}

UINT ButtonMessage(int button, bool down, bool nc, bool dbl)
{
    static const UINT client[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                      {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                      {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    UINT m = client[button][down ? (dbl ? 2 : 0) : 1];
    return nc ? m - (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN) : m;
}

int ButtonVk(int b) { return b == 0 ? VK_LBUTTON : b == 1 ? VK_RBUTTON : VK_MBUTTON; }

bool TranslateMouse(const RawInput& raw, MSG& out)
{
    auto& in = Input();
    POINT pt{raw.x, raw.y};
    SetCursorPosInternal(raw.x, raw.y);
    if (raw.kind == RawInput::MouseDown) SetKeyDown(ButtonVk(raw.button), true);
    if (raw.kind == RawInput::MouseUp) SetKeyDown(ButtonVk(raw.button), false);
    HWND target = nullptr;
    LRESULT hit = HTCLIENT;
    if (raw.kind == RawInput::Wheel) {
        target = reinterpret_cast<HWND>(in.focus);
        if (!IsWindow(target)) target = HitTestPoint(pt, &hit);
        if (!target) return false;
        out.hwnd = target;
        out.message = WM_MOUSEWHEEL;
        out.wParam = MAKEWPARAM(static_cast<int>(MouseKeyState()), raw.wheel);
        out.lParam = MAKELPARAM(pt.x, pt.y);
        return true;
    }
    if (in.capture && IsWindow(reinterpret_cast<HWND>(in.capture))) {
        target = reinterpret_cast<HWND>(in.capture);
    } else {
        target = HitTestPoint(pt, &hit);
    }
    // A press outside the program while a watching popup shows: another program was clicked.
    if (!target && raw.kind == RawInput::MouseDown && !in.outsideWatch.empty()) {
        SetActiveWindow(nullptr);
        return false;
    }
    if (raw.kind == RawInput::MouseMove) CheckLeave(target, hit);
    if (!target) return false;
    auto w = LookupWindow(target);
    if (!w) return false;
    // A disabled window (a form under a modal dialog) takes no mouse input.
    if (!in.capture)
        for (auto a = w; a; a = IsChildWindow(*a) ? LookupWindow(a->parent) : nullptr)
            if (a->style & WS_DISABLED) return false;
    bool nc = hit != HTCLIENT;
    UINT msg = WM_MOUSEMOVE;
    if (raw.kind == RawInput::MouseMove) msg = nc ? WM_NCMOUSEMOVE : WM_MOUSEMOVE;
    // The cursor shape comes from WM_SETCURSOR (not while a button holds the capture).
    if (!in.capture || raw.kind != RawInput::MouseMove)
        SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(static_cast<int>(hit),
                                static_cast<int>(
                                    raw.kind == RawInput::MouseMove
                                        ? WM_MOUSEMOVE
                                        : ButtonMessage(raw.button, raw.kind == RawInput::MouseDown, false, false))));
    if (raw.kind == RawInput::MouseDown || raw.kind == RawInput::MouseUp) {
        bool down = raw.kind == RawInput::MouseDown;
        bool dbl = false;
        UINT plain = ButtonMessage(raw.button, true, nc, false);
        if (down) {
            unsigned long long now = ClockNowMs();
            int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            bool classDbl = nc || (w->cls->style & CS_DBLCLKS);
            if (classDbl && in.lastDownMsg == plain && in.lastDownWnd == w->handle &&
                now - in.lastDownTime <= GetDoubleClickTime() && std::abs(in.lastDownPt.x - pt.x) <= cx &&
                std::abs(in.lastDownPt.y - pt.y) <= cy) {
                dbl = true;
                in.lastDownMsg = 0;
            } else {
                in.lastDownMsg = plain;
                in.lastDownWnd = w->handle;
                in.lastDownTime = now;
                in.lastDownPt = pt;
            }
            // A press on an inactive top-level window may activate it, as its WM_MOUSEACTIVATE answer says.
            auto top = TopLevelOf(w);
            if (top && in.active != top->handle && !in.capture) {
                LRESULT ma = SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->hwnd()),
                                          MAKELPARAM(static_cast<int>(hit), static_cast<int>(plain)));
                if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && !(top->exStyle & WS_EX_NOACTIVATE)) {
                    g_clickActivation = true;
                    SetActiveWindow(top->hwnd());
                    g_clickActivation = false;
                }
                if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
            }
            // Ancestors learn about a press in a child window.
            if (!nc && IsChildWindow(*w) && !(w->exStyle & 0x4)) {
                for (auto a = LookupWindow(w->parent); a; a = IsChildWindow(*a) ? LookupWindow(a->parent) : nullptr) {
                    POINT p = pt;
                    ScreenToClient(a->hwnd(), &p);
                    SendMessageW(a->hwnd(), WM_PARENTNOTIFY, MAKEWPARAM(static_cast<int>(plain), 0),
                                 MAKELPARAM(p.x, p.y));
                    if (!IsChildWindow(*a)) break;
                }
                if (!IsWindow(target)) return false;
            }
        }
        msg = ButtonMessage(raw.button, down, nc, dbl);
    }
    out.hwnd = target;
    out.message = msg;
    if (nc) {
        out.wParam = static_cast<WPARAM>(hit);
        out.lParam = MAKELPARAM(pt.x, pt.y);
    } else {
        POINT p = pt;
        ScreenToClient(target, &p);
        out.wParam = MouseKeyState();
        out.lParam = MAKELPARAM(p.x, p.y);
    }
    return true;
}

bool TranslateKey(const RawInput& raw, MSG& out)
{
    auto& in = Input();
    bool down = raw.kind == RawInput::KeyDown;
    if (raw.kind == RawInput::Text) {
        // Committed input-method text: characters to the focus window.
        HWND target = reinterpret_cast<HWND>(in.focus ? in.focus : in.active);
        if (!IsWindow(target) || raw.text.empty()) return false;
        auto q = CurrentQueue();
        std::lock_guard<std::mutex> lock(q->m);
        for (size_t i = 1; i < raw.text.size(); ++i) {
            MSG m;
            m.hwnd = target;
            m.message = WM_CHAR;
            m.wParam = static_cast<WPARAM>(raw.text[i]);
            q->posted.push_back(m);
        }
        out.hwnd = target;
        out.message = WM_CHAR;
        out.wParam = static_cast<WPARAM>(raw.text[0]);
        out.lParam = 1;
        return true;
    }
    bool wasDown = GetKeyState(raw.vk) & 0x8000;
    SetKeyDown(raw.vk, down);
    if (down && !wasDown)
        in.altAlone = raw.vk == VK_MENU;
    else if (down && raw.vk != VK_MENU)
        in.altAlone = false;
    bool alt = GetKeyState(VK_MENU) & 0x8000;
    bool ctrl = GetKeyState(VK_CONTROL) & 0x8000;
    // Alt (without Ctrl) and F10 make system keys.
    bool sys = (alt && !ctrl) || raw.vk == VK_F10 || raw.vk == VK_MENU;
    HWND target = reinterpret_cast<HWND>(in.focus);
    if (!IsWindow(target)) target = reinterpret_cast<HWND>(in.active);
    if (!IsWindow(target)) return false;
    out.hwnd = target;
    out.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    out.wParam = static_cast<WPARAM>(raw.vk);
    LPARAM lp = 1;
    if (alt) lp |= (1 << 29);
    if (down && wasDown) lp |= static_cast<LPARAM>(1) << 30;  // auto-repeat: the key was down before
    if (!down) lp |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    out.lParam = lp;
    if (down && !raw.text.empty()) {
        auto q = CurrentQueue();
        std::lock_guard<std::mutex> lock(q->m);
        q->pendingChars = raw.text;
        q->pendingCharsWnd = target;
        q->pendingCharsSys = sys;
    }
    return true;
}

}  // namespace

HWND HitTestPoint(POINT screen, LRESULT* hit)
{
    LRESULT dummy;
    if (!hit) hit = &dummy;
    for (auto t : TopLevels()) {
        auto w = LookupWindow(t);
        if (!w || !(w->style & WS_VISIBLE) || w->showState == SW_SHOWMINIMIZED) continue;
        // Click-through layered windows let input pass to the window below.
        if ((w->exStyle & WS_EX_TRANSPARENT) && (w->exStyle & WS_EX_LAYERED)) continue;
        if (!InShape(*w, screen)) continue;
        // Per-pixel-alpha content takes no input where it is fully transparent.
        if (w->layeredContent && !w->layeredOpaque.Contains(screen.x - w->rect.left, screen.y - w->rect.top)) continue;
        if (HWND h = HitInTree(w, screen, hit)) return h;
    }
    *hit = HTNOWHERE;
    return nullptr;
}

bool TranslateRawInput(const RawInput& raw, MSG& out)
{
    out = MSG{};
    switch (raw.kind) {
    case RawInput::MouseMove:
    case RawInput::MouseDown:
    case RawInput::MouseUp:
    case RawInput::Wheel: return TranslateMouse(raw, out);
    default: return TranslateKey(raw, out);
    }
}

}  // namespace vxwin

using namespace vxwin;

HWND WindowFromPoint(POINT p)
{
    LRESULT hit;
    return HitTestPoint(p, &hit);
}

HWND ChildWindowFromPoint(HWND parent, POINT p)
{
    auto w = LookupWindow(parent);
    if (!w) return nullptr;
    POINT s = p;
    ClientToScreen(parent, &s);
    for (auto c : w->children) {
        auto ch = LookupWindow(c);
        if (ch && InShape(*ch, s)) return ch->hwnd();
    }
    RECT r;
    GetClientRect(parent, &r);
    return PtInRect(&r, p) ? parent : nullptr;
}

HWND GetActiveWindow() { return reinterpret_cast<HWND>(Input().active); }
HWND GetForegroundWindow() { return GetActiveWindow(); }
HWND GetFocus() { return reinterpret_cast<HWND>(Input().focus); }
HWND GetCapture() { return reinterpret_cast<HWND>(Input().capture); }

HWND SetActiveWindow(HWND hwnd)
{
    auto& in = Input();
    auto w = LookupWindow(hwnd);
    if (hwnd && !w) return nullptr;
    if (w && w->messageOnly) return nullptr;  // never shown, never active
    if (w) w = TopLevelOf(w);
    std::uintptr_t nh = w ? w->handle : 0;
    HWND old = reinterpret_cast<HWND>(in.active);
    if (in.active == nh) return old;
    if (auto o = LookupWindow(old)) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(w ? w->hwnd() : nullptr));
        SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(w ? w->hwnd() : nullptr));
    }
    in.active = nh;
    if (w) {
        InsertTopLevel(w->handle, 0);  // to the top of its band
        CurrentBackend().WindowRestacked();
        CurrentBackend().WindowActivated(*w);
        SendMessageW(w->hwnd(), WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
        SendMessageW(w->hwnd(), WM_ACTIVATE, g_clickActivation ? WA_CLICKACTIVE : WA_ACTIVE,
                     reinterpret_cast<LPARAM>(old));
    }
    return old;
}

BOOL SetForegroundWindow(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w || w->messageOnly) return FALSE;
    SetActiveWindow(hwnd);
    return TRUE;
}

HWND SetFocus(HWND hwnd)
{
    auto& in = Input();
    HWND old = reinterpret_cast<HWND>(in.focus);
    if (hwnd && !IsWindow(hwnd)) return nullptr;
    if (old == hwnd) return old;
    if (hwnd) {
        auto top = TopLevelOf(LookupWindow(hwnd));
        if (top && in.active != top->handle) SetActiveWindow(top->hwnd());
        if (!IsWindow(hwnd)) return nullptr;
    }
    in.focus = reinterpret_cast<std::uintptr_t>(hwnd);
    if (IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && in.focus == reinterpret_cast<std::uintptr_t>(hwnd))
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

void WatchOutsideClicks(HWND popup, bool watch)
{
    auto& list = Input().outsideWatch;
    const auto h = reinterpret_cast<std::uintptr_t>(popup);
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    auto w = LookupWindow(popup);
    if (!w) return;
    if (watch) list.push_back(h);
    CurrentBackend().OutsideClickWatch(*w, watch);
    // The last popup still watching holds the pointer from here on.
    if (!watch && !list.empty())
        if (auto last = LookupWindow(reinterpret_cast<HWND>(list.back())))
            CurrentBackend().OutsideClickWatch(*last, true);
}

HWND SetCapture(HWND hwnd)
{
    auto& in = Input();
    HWND old = reinterpret_cast<HWND>(in.capture);
    if (!IsWindow(hwnd)) return old;
    in.capture = reinterpret_cast<std::uintptr_t>(hwnd);
    if (old != hwnd)
        if (auto w = LookupWindow(hwnd)) CurrentBackend().CaptureChanged(w.get());
    if (old && old != hwnd && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture()
{
    auto& in = Input();
    HWND old = reinterpret_cast<HWND>(in.capture);
    in.capture = 0;
    if (old) CurrentBackend().CaptureChanged(nullptr);
    if (old && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme)
{
    if (!tme) return FALSE;
    auto w = LookupWindow(tme->hwndTrack);
    if (!w) return FALSE;
    bool cancel = tme->dwFlags & TME_CANCEL;
    if (tme->dwFlags & TME_LEAVE) {
        bool nc = tme->dwFlags & TME_NONCLIENT;
        (nc ? w->trackNcLeave : w->trackLeave) = !cancel;
        // Not over the window (or its client part) any more: the leave notice comes at once.
        auto& in = Input();
        if (!cancel) {
            bool over = in.lastUnder == w->handle && ((in.lastHit == HTCLIENT) != nc);
            if (!over) {
                (nc ? w->trackNcLeave : w->trackLeave) = false;
                PostMessageW(w->hwnd(), nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
            }
        }
    }
    return TRUE;
}
