// Standard scroll bars of windows with WS_HSCROLL/WS_VSCROLL (state, non-client room, a plain
// look, clicks), ScrollWindowEx, and the caret.
#include <algorithm>
#include <cstring>

#include "platform/win/backend.h"
#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

constexpr int kBar = 17;

namespace {

int MaxPos(const WindowObj::ScrollState& s)
{
    return std::max(s.min, s.max - std::max<int>(static_cast<int>(s.page), 1) + 1);
}

// Thumb position and length along a bar of the given track length (without the arrows).
void Thumb(const WindowObj::ScrollState& s, int track, int& start, int& len)
{
    int range = std::max(1, s.max - s.min + 1);
    len = s.page ? std::max(8, static_cast<int>(static_cast<long long>(track) * s.page / range)) : kBar;
    len = std::min(len, track);
    int span = std::max(1, MaxPos(s) - s.min);
    start = static_cast<int>(static_cast<long long>(track - len) * (s.pos - s.min) / span);
}

// The bar's rectangle in window coordinates.
RECT BarRect(const WindowObj& w, int bar)
{
    if (bar == SB_VERT) return RECT{w.client.right, w.client.top, w.client.right + kBar, w.client.bottom};
    return RECT{w.client.left, w.client.bottom, w.client.right, w.client.bottom + kBar};
}

struct Caret {
    std::uintptr_t hwnd = 0;
    int w = 1, h = 1, x = 0, y = 0;
    int hide = 1;  // a new caret starts hidden
    bool drawn = false;
};
Caret g_caret;

void ToggleCaret()
{
    HWND h = reinterpret_cast<HWND>(g_caret.hwnd);
    if (!IsWindow(h)) return;
    HDC dc = GetDC(h);
    RECT r{g_caret.x, g_caret.y, g_caret.x + g_caret.w, g_caret.y + g_caret.h};
    InvertRect(dc, &r);
    ReleaseDC(h, dc);
    g_caret.drawn = !g_caret.drawn;
}

}  // namespace

int ScrollBarSize() { return kBar; }

void AdjustClientForScrollBars(const WindowObj& w, RECT& r)
{
    if (w.style & WS_VSCROLL) r.right = std::max(r.left, r.right - kBar);
    if (w.style & WS_HSCROLL) r.bottom = std::max(r.top, r.bottom - kBar);
}

LRESULT ScrollBarHitTest(const WindowObj& w, POINT inWindow)
{
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!(w.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) continue;
        RECT r = BarRect(w, bar);
        if (PtInRect(&r, inWindow)) return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTNOWHERE;
}

void PaintScrollBars(HWND hwnd, const WindowObj& w)
{
    if (!(w.style & (WS_VSCROLL | WS_HSCROLL))) return;
    HDC dc = GetWindowDC(hwnd);
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!(w.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) continue;
        RECT r = BarRect(w, bar);
        FillRect(dc, &r, GetSysColorBrush(COLOR_SCROLLBAR));
        bool vert = bar == SB_VERT;
        int len = vert ? r.bottom - r.top : r.right - r.left;
        RECT a1 = vert ? RECT{r.left, r.top, r.right, r.top + kBar} : RECT{r.left, r.top, r.left + kBar, r.bottom};
        RECT a2 =
            vert ? RECT{r.left, r.bottom - kBar, r.right, r.bottom} : RECT{r.right - kBar, r.top, r.right, r.bottom};
        FillRect(dc, &a1, GetSysColorBrush(COLOR_BTNFACE));
        FillRect(dc, &a2, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(dc, &a1, GetSysColorBrush(COLOR_BTNSHADOW));
        FrameRect(dc, &a2, GetSysColorBrush(COLOR_BTNSHADOW));
        int track = len - 2 * kBar;
        if (track > 0) {
            int ts, tl;
            Thumb(w.scroll[bar], track, ts, tl);
            RECT t = vert ? RECT{r.left, r.top + kBar + ts, r.right, r.top + kBar + ts + tl}
                          : RECT{r.left + kBar + ts, r.top, r.left + kBar + ts + tl, r.bottom};
            FillRect(dc, &t, GetSysColorBrush(COLOR_BTNFACE));
            FrameRect(dc, &t, GetSysColorBrush(COLOR_BTNSHADOW));
        }
    }
    ReleaseDC(hwnd, dc);
}

// A press on a bar: arrows step a line, the track a page, the thumb reports its position.
void ScrollBarClick(HWND hwnd, const WindowObj& w, LRESULT hit, POINT screen)
{
    int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
    RECT wr = ScreenRectOf(w);
    POINT p{screen.x - wr.left, screen.y - wr.top};
    RECT r = BarRect(w, bar);
    bool vert = bar == SB_VERT;
    int along = vert ? p.y - r.top : p.x - r.left;
    int len = vert ? r.bottom - r.top : r.right - r.left;
    int code;
    if (along < kBar)
        code = SB_LINEUP;
    else if (along >= len - kBar)
        code = SB_LINEDOWN;
    else {
        int ts, tl;
        Thumb(w.scroll[bar], len - 2 * kBar, ts, tl);
        int inTrack = along - kBar;
        code = inTrack < ts ? SB_PAGEUP : inTrack >= ts + tl ? SB_PAGEDOWN : SB_THUMBPOSITION;
    }
    UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(hwnd, msg, MAKEWPARAM(code, w.scroll[bar].pos), 0);
    if (IsWindow(hwnd)) SendMessageW(hwnd, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

void CaretBeforePaint(std::uintptr_t hwnd)
{
    if (g_caret.hwnd == hwnd && g_caret.drawn) ToggleCaret();
}
void CaretAfterPaint(std::uintptr_t hwnd)
{
    if (g_caret.hwnd == hwnd && g_caret.hide == 0 && !g_caret.drawn) ToggleCaret();
}

void ForgetCaret(std::uintptr_t hwnd)
{
    if (g_caret.hwnd == hwnd) g_caret = Caret{};
}

}  // namespace vxwin

using namespace vxwin;

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw)
{
    auto w = LookupWindow(hwnd);
    if (!w || !si || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    auto& s = w->scroll[bar];
    if (si->fMask & SIF_RANGE) {
        s.min = si->nMin;
        s.max = std::max(si->nMin, si->nMax);
    }
    if (si->fMask & SIF_PAGE) s.page = si->nPage;
    if (si->fMask & SIF_POS) s.pos = si->nPos;
    s.pos = std::clamp(s.pos, s.min, MaxPos(s));
    if (redraw) {
        w->ncPending = true;
        PaintScrollBars(hwnd, *w);
    }
    return s.pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si)
{
    auto w = LookupWindow(hwnd);
    if (!w || !si || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
    const auto& s = w->scroll[bar];
    if (si->fMask & SIF_RANGE) {
        si->nMin = s.min;
        si->nMax = s.max;
    }
    if (si->fMask & SIF_PAGE) si->nPage = s.page;
    if (si->fMask & SIF_POS) si->nPos = s.pos;
    if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s.pos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    auto w = LookupWindow(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    int old = w->scroll[bar].pos;
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    auto w = LookupWindow(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    return w->scroll[bar].pos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw)
{
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = min;
    si.nMax = max;
    return IsWindow(hwnd) && (SetScrollInfo(hwnd, bar, &si, redraw), TRUE);
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max)
{
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
    if (min) *min = si.nMin;
    if (max) *max = si.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    DWORD bits = bar == SB_HORZ   ? WS_HSCROLL
                 : bar == SB_VERT ? WS_VSCROLL
                 : bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL)
                                  : 0;
    DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style != w->style) {
        w->style = style;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags)
{
    auto w = LookupWindow(hwnd);
    if (!w) return ERROR;
    RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    RECT area = scroll ? RectIntersect(*scroll, client) : client;
    if (clip) area = RectIntersect(area, *clip);
    // Move the pixels that stay visible (in the top-level surface, through the visible region).
    auto top = TopLevelOf(w);
    Region uncovered(area);
    if (top && top->surface && IsWindowVisible(hwnd)) {
        POINT off = OffsetInTopLevel(*w);
        off.x += w->client.left;
        off.y += w->client.top;
        Region vis = CachedVisibleRegion(*w, true).Intersect(RectOffset(area, off.x, off.y));
        Region moved = vis;
        moved.Offset(dx, dy);
        Region target = moved.Intersect(vis);
        Surface& s = *top->surface;
        RECT b = target.Bounds();
        if (!RectEmpty(b)) {
            MoveWithin(s, target, dx, dy);
            if (top->layeredContent || !CurrentBackend().MoveShown(*top, target, dx, dy)) {
                MarkSurfaceDirty(top->handle, b);
            } else {
                // The display moved what it showed; sources it had not been shown yet follow.
                FoldDirty(*top);
                Region source = target;
                source.Offset(-dx, -dy);
                Region stale = top->dirty.Intersect(source);
                stale.Offset(dx, dy);
                for (const RECT& r : stale.Rects()) MarkSurfaceDirty(top->handle, r);
            }
        }
        Region tgtClient = target;
        tgtClient.Offset(-off.x, -off.y);
        uncovered = Region(area).Subtract(tgtClient);
    }
    if (flags & SW_SCROLLCHILDREN) {
        auto kids = w->children;
        for (auto c : kids)
            if (auto ch = LookupWindow(c))
                SetWindowPos(ch->hwnd(), nullptr, ch->rect.left + dx, ch->rect.top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (auto ro = Lookup<RegionObj>(update)) ro->rgn = uncovered;
    if (updateRect) *updateRect = uncovered.Bounds();
    if (flags & SW_INVALIDATE) {
        Region inWindow = uncovered;
        inWindow.Offset(w->client.left, w->client.top);
        InvalidateWindowArea(w, inWindow, (flags & SW_ERASE) != 0, (flags & SW_SCROLLCHILDREN) != 0);
    }
    return uncovered.Kind();
}

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height)
{
    if (!IsWindow(hwnd)) return FALSE;
    DestroyCaret();
    g_caret = Caret{};
    g_caret.hwnd = reinterpret_cast<std::uintptr_t>(hwnd);
    g_caret.w = width > 0 ? width : 1;
    g_caret.h = height > 0 ? height : 1;
    return TRUE;
}

BOOL DestroyCaret()
{
    if (!g_caret.hwnd) return FALSE;
    if (g_caret.drawn) ToggleCaret();
    g_caret = Caret{};
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    if (!g_caret.hwnd) return FALSE;
    bool was = g_caret.drawn;
    if (was) ToggleCaret();
    g_caret.x = x;
    g_caret.y = y;
    if (was) ToggleCaret();
    return TRUE;
}

BOOL GetCaretPos(POINT* p)
{
    if (!p || !g_caret.hwnd) return FALSE;
    *p = POINT{g_caret.x, g_caret.y};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd)
{
    if (!g_caret.hwnd || (hwnd && reinterpret_cast<std::uintptr_t>(hwnd) != g_caret.hwnd)) return FALSE;
    if (g_caret.hide > 0 && --g_caret.hide == 0 && !g_caret.drawn) ToggleCaret();
    return TRUE;
}

BOOL HideCaret(HWND hwnd)
{
    if (!g_caret.hwnd || (hwnd && reinterpret_cast<std::uintptr_t>(hwnd) != g_caret.hwnd)) return FALSE;
    if (g_caret.hide++ == 0 && g_caret.drawn) ToggleCaret();
    return TRUE;
}
