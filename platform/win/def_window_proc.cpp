// The default window procedure: the behaviour every window has unless its procedure answers first.
// It keeps private messages (the skin messages, WM_USER and above) untouched, draws the plain
// system frame for windows with WS_CAPTION/WS_BORDER/WS_THICKFRAME, never draws a system menu,
// and runs the modal move/size loop for presses on the caption and the sizing borders.
#include <algorithm>

#include "platform/win/backend.h"
#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {
void AdjustClientForScrollBars(const WindowObj& w, RECT& r);
LRESULT ScrollBarHitTest(const WindowObj& w, POINT inWindow);
void PaintScrollBars(HWND hwnd, const WindowObj& w);
void ScrollBarClick(HWND hwnd, const WindowObj& w, LRESULT hit, POINT screen);
void ClampToMinMax(HWND hwnd, const WindowObj& w, int& cx, int& cy);
MINMAXINFO DefaultMinMax(const WindowObj& w);
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;
}  // namespace vxwin

using namespace vxwin;

namespace {

int FrameWidth(DWORD style, DWORD exStyle)
{
    int b = (style & WS_THICKFRAME)                                         ? 4
            : ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME)) ? 3
            : (style & WS_BORDER)                                           ? 1
                                                                            : 0;
    if (exStyle & WS_EX_CLIENTEDGE) b += 2;
    return b;
}

int CaptionHeight(DWORD style, DWORD exStyle)
{
    if ((style & WS_CAPTION) != WS_CAPTION) return 0;
    return (exStyle & WS_EX_TOOLWINDOW) ? 16 : GetSystemMetrics(SM_CYCAPTION);
}

LRESULT DefaultHitTest(const WindowObj& w, POINT screen)
{
    RECT r = ScreenRectOf(w);
    int x = screen.x - r.left, y = screen.y - r.top, W = r.right - r.left, H = r.bottom - r.top;
    if (x < 0 || y < 0 || x >= W || y >= H) return HTNOWHERE;
    if (x >= w.client.left && x < w.client.right && y >= w.client.top && y < w.client.bottom) return HTCLIENT;
    if (LRESULT sb = ScrollBarHitTest(w, POINT{x, y})) return sb;
    int b = FrameWidth(w.style, w.exStyle);
    if ((w.style & WS_THICKFRAME) && w.showState == SW_SHOWNORMAL) {
        const int corner = 16;
        bool left = x < b, right = x >= W - b, top = y < b, bottom = y >= H - b;
        if (top && x < corner) return HTTOPLEFT;
        if (top && x >= W - corner) return HTTOPRIGHT;
        if (bottom && x < corner) return HTBOTTOMLEFT;
        if (bottom && x >= W - corner) return HTBOTTOMRIGHT;
        if (left && y < corner) return HTTOPLEFT;
        if (left && y >= H - corner) return HTBOTTOMLEFT;
        if (right && y < corner) return HTTOPRIGHT;
        if (right && y >= H - corner) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    int cap = CaptionHeight(w.style, w.exStyle);
    if (cap && y >= b && y < b + cap) return HTCAPTION;
    return HTBORDER;
}

// The plain system frame: border in the frame colour, caption bar with the title.
void PaintDefaultFrame(HWND hwnd, const WindowObj& w)
{
    int b = FrameWidth(w.style, w.exStyle);
    int cap = CaptionHeight(w.style, w.exStyle);
    if (!b && !cap) return;
    HDC dc = GetWindowDC(hwnd);
    int W = w.rect.right - w.rect.left, H = w.rect.bottom - w.rect.top;
    ExcludeClipRect(dc, w.client.left, w.client.top, w.client.right, w.client.bottom);
    int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? 2 : 0;
    RECT all{0, 0, W, H};
    if (b > edge || cap) {
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(dc, &all, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    if (cap) {
        bool active = Input().active == w.handle;
        RECT cr{b, b, W - b, b + cap};
        FillRect(dc, &cr, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT tr{cr.left + 4, cr.top, cr.right - 4, cr.bottom};
        DrawTextW(dc, w.text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (edge) {
        // The sunken client edge, around the client area and its scroll bars: shadow above and
        // left, highlight below and right, then the dark shadow and light line inside.
        RECT r{b - edge, b - edge + cap, W - (b - edge), H - (b - edge)};
        const int colors[2][2] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
        for (const auto& c : colors) {
            RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
            RECT right{r.right - 1, r.top, r.right, r.bottom}, bottom{r.left, r.bottom - 1, r.right, r.bottom};
            FillRect(dc, &top, GetSysColorBrush(c[0]));
            FillRect(dc, &left, GetSysColorBrush(c[0]));
            FillRect(dc, &right, GetSysColorBrush(c[1]));
            FillRect(dc, &bottom, GetSysColorBrush(c[1]));
            r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        }
    }
    ReleaseDC(hwnd, dc);
}

HCURSOR CursorForHit(LRESULT hit, const WindowObj& w)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursorW(nullptr, IDC_SIZENESW);
    case HTCLIENT: return w.cls->cursor ? w.cls->cursor : nullptr;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

// WMSZ_ edge codes of WM_SIZING from the hit code.
WPARAM SizingEdge(LRESULT hit) { return static_cast<WPARAM>(hit - HTLEFT + 1); }

// The modal move/size loop: the window follows the mouse until the button is released (Escape
// puts it back). Each step goes through WM_MOVING/WM_SIZING (the rectangle may be rewritten),
// WM_GETMINMAXINFO limits and SetWindowPos; other messages are dispatched meanwhile.
void MoveSizeLoop(HWND hwnd, LRESULT hit)
{
    auto w = LookupWindow(hwnd);
    if (!w) return;
    // A child with a frame of its own (an MDI child) moves and sizes itself within its parent's
    // client area; any other child asks its top-level window to size (a size grip).
    const bool child = IsChildWindow(*w);
    if (child && (w->style & WS_CAPTION) != WS_CAPTION && !(w->style & WS_THICKFRAME)) {
        if (auto top = TopLevelOf(w)) MoveSizeLoop(top->hwnd(), hit);
        return;
    }
    // A child's rectangles pass through WM_MOVING/WM_SIZING in screen coordinates, and the
    // pointer counts only inside the parent's client area.
    POINT origin{0, 0};
    RECT area{};
    HWND parent = child ? GetParent(hwnd) : nullptr;
    if (parent) {
        ClientToScreen(parent, &origin);
        GetClientRect(parent, &area);
        OffsetRect(&area, origin.x, origin.y);
    }
    POINT start;
    GetCursorPos(&start);
    RECT orig = w->rect;
    OffsetRect(&orig, origin.x, origin.y);
    SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(hwnd);
    bool sizing = hit != HTCAPTION;
    MSG msg;
    while (IsWindow(hwnd)) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (GetCapture() != hwnd) break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            SetWindowPos(hwnd, nullptr, orig.left - origin.x, orig.top - origin.y, orig.right - orig.left,
                         orig.bottom - orig.top, SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        bool mouse = msg.hwnd == hwnd && (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP);
        if (!mouse) {
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        POINT pt;
        GetCursorPos(&pt);
        if (parent) {
            pt.x = std::clamp<LONG>(pt.x, area.left, std::max(area.left, area.right - 1));
            pt.y = std::clamp<LONG>(pt.y, area.top, std::max(area.top, area.bottom - 1));
        }
        int dx = pt.x - start.x, dy = pt.y - start.y;
        RECT r = orig;
        if (!sizing) {
            OffsetRect(&r, dx, dy);
            SendMessageW(hwnd, WM_MOVING, 9 /* WMSZ_BOTTOMRIGHT: the whole window */, reinterpret_cast<LPARAM>(&r));
        } else {
            if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) r.left += dx;
            if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) r.right += dx;
            if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) r.top += dy;
            if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) r.bottom += dy;
            // Limits first, keeping the edge that does not move.
            int cx = r.right - r.left, cy = r.bottom - r.top;
            ClampToMinMax(hwnd, *w, cx, cy);
            if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
                r.left = r.right - cx;
            else
                r.right = r.left + cx;
            if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
                r.top = r.bottom - cy;
            else
                r.bottom = r.top + cy;
            SendMessageW(hwnd, WM_SIZING, SizingEdge(hit), reinterpret_cast<LPARAM>(&r));
        }
        if (!IsWindow(hwnd)) return;
        OffsetRect(&r, -origin.x, -origin.y);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
        UpdateWindow(hwnd);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (msg.message == WM_LBUTTONUP) break;
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE:
        if (auto cs = reinterpret_cast<const CREATESTRUCTW*>(lp); cs && cs->lpszName) w->text = cs->lpszName;
        return TRUE;
    case WM_NCCALCSIZE: {
        RECT* r = reinterpret_cast<RECT*>(lp);
        if (!r) return 0;
        if (w->showState == SW_SHOWMINIMIZED) return 0;
        int b = FrameWidth(w->style, w->exStyle);
        r->left += b;
        r->right -= b;
        r->top += b + CaptionHeight(w->style, w->exStyle);
        r->bottom -= b;
        AdjustClientForScrollBars(*w, *r);
        if (r->right < r->left) r->right = r->left;
        if (r->bottom < r->top) r->bottom = r->top;
        return 0;
    }
    case WM_NCHITTEST: return DefaultHitTest(*w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCPAINT:
        PaintDefaultFrame(hwnd, *w);
        PaintScrollBars(hwnd, *w);
        return 0;
    case WM_NCACTIVATE:
        // No caption of its own beyond the plain frame; the change always proceeds.
        if ((w->style & WS_CAPTION) == WS_CAPTION) PaintDefaultFrame(hwnd, *w);
        return TRUE;
    case WM_PAINT: {
        // With a DC in wParam the caller asked for painting into it: nothing to validate here.
        if (wp) return 0;
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH br = w->cls->background;
        if (!br) return 0;
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, br);
        return 1;
    }
    case WM_SETTEXT:
        w->text = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
        if (!IsChildWindow(*w)) {
            CurrentBackend().WindowTextChanged(*w);
            if ((w->style & WS_CAPTION) == WS_CAPTION) {
                w->ncPending = true;
            }
        }
        return TRUE;
    case WM_GETTEXT: {
        if (!wp || !lp) return 0;
        auto* buf = reinterpret_cast<LPWSTR>(lp);
        size_t n = std::min<size_t>(w->text.size(), wp - 1);
        std::copy_n(w->text.c_str(), n, buf);
        buf[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_SETCURSOR: {
        // The parent may choose first.
        if (IsChildWindow(*w) && SendMessageW(reinterpret_cast<HWND>(w->parent), WM_SETCURSOR, wp, lp)) return TRUE;
        HCURSOR c = CursorForHit(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp))), *w);
        if (c || LOWORD(static_cast<DWORD_PTR>(lp)) != HTCLIENT) SetCursor(c ? c : LoadCursorW(nullptr, IDC_ARROW));
        return c ? TRUE : FALSE;
    }
    case WM_MOUSEACTIVATE:
        if (IsChildWindow(*w)) {
            LRESULT r = SendMessageW(reinterpret_cast<HWND>(w->parent), WM_MOUSEACTIVATE, wp, lp);
            if (r) return r;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && w->showState != SW_SHOWMINIMIZED) {
            HWND f = GetFocus();
            if (!f || (f != hwnd && !IsChild(hwnd, f))) SetFocus(hwnd);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (IsChildWindow(*w)) return SendMessageW(reinterpret_cast<HWND>(w->parent), msg, wp, lp);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (!pos) return 0;
        if (!(pos->flags & SWP_NOCLIENTMOVE))
            SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
        if (!(pos->flags & SWP_NOCLIENTSIZE)) {
            WPARAM kind = w->showState == SW_SHOWMAXIMIZED   ? SIZE_MAXIMIZED
                          : w->showState == SW_SHOWMINIMIZED ? SIZE_MINIMIZED
                                                             : SIZE_RESTORED;
            SendMessageW(hwnd, WM_SIZE, kind,
                         MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
        }
        return 0;
    }
    case WM_GETMINMAXINFO: return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_SETREDRAW: w->redrawOff = !wp; return 0;
    case WM_NCLBUTTONDOWN:
        if (wp == static_cast<WPARAM>(HTVSCROLL) || wp == static_cast<WPARAM>(HTHSCROLL))
            ScrollBarClick(hwnd, *w, static_cast<LRESULT>(wp), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        else if (wp == static_cast<WPARAM>(HTCAPTION))
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lp);
        else if (wp >= static_cast<WPARAM>(HTLEFT) && wp <= static_cast<WPARAM>(HTBOTTOMRIGHT))
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE | SizingEdge(static_cast<LRESULT>(wp)), lp);
        return 0;
    case WM_SYSCOMMAND: {
        WPARAM cmd = wp & 0xFFF0;
        switch (cmd) {
        case SC_MOVE: MoveSizeLoop(hwnd, HTCAPTION); return 0;
        case SC_SIZE: MoveSizeLoop(hwnd, static_cast<LRESULT>((wp & 0x0F) + HTLEFT - 1)); return 0;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        case SC_CLOSE: SendMessageW(hwnd, WM_CLOSE, 0, 0); return 0;
        }
        return 0;  // SC_KEYMENU: there is no system menu
    }
    case WM_SYSKEYDOWN:
        if (wp == static_cast<WPARAM>(VK_F4) && (lp & (1 << 29))) {
            if (auto top = TopLevelOf(w)) SendMessageW(top->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSKEYUP:
        // A lone Alt press and release asks for the menu bar.
        if ((wp == static_cast<WPARAM>(VK_MENU) || wp == static_cast<WPARAM>(VK_F10)) && Input().altAlone) {
            Input().altAlone = false;
            if (auto top = TopLevelOf(w)) SendMessageW(top->hwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (auto top = TopLevelOf(w)) SendMessageW(top->hwnd(), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wp));
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: return 0;
    }
    return 0;
}
