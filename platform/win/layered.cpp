// Window regions (SetWindowRgn: the shape clips painting and hit testing) and layered windows
// (SetLayeredWindowAttributes: constant alpha; UpdateLayeredWindow: per-pixel alpha content).
#include <cstring>

#include "platform/win/backend.h"
#include "platform/win/dc.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

using namespace vxwin;

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    std::shared_ptr<RegionObj> ro;
    if (rgn) {
        ro = Lookup<RegionObj>(rgn);
        if (!ro || (ro->ownerWindow && ro->ownerWindow != w->handle)) return 0;
    }
    if (ro == w->shape) return 1;
    auto old = w->shape;
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        w->shape = ro;
        if (ro) ro->ownerWindow = w->handle;
    }
    if (old) {
        old->ownerWindow = 0;
        RemoveHandle(reinterpret_cast<void*>(old->handle));
    }
    BumpLayout();
    if (!IsChildWindow(*w)) CurrentBackend().WindowShapeChanged(*w);
    if (redraw && (w->style & WS_VISIBLE)) {
        w->ncPending = true;
        InvalidateWindowArea(w, Region(RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top}), true,
                             true);
        if (IsChildWindow(*w))
            if (auto p = LookupWindow(w->parent)) {
                RECT inParent = RectOffset(w->rect, p->client.left, p->client.top);
                InvalidateWindowArea(p, Region(inParent), true, false);
            }
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn)
{
    auto w = LookupWindow(hwnd);
    auto ro = Lookup<RegionObj>(rgn);
    if (!w || !ro || !w->shape) return ERROR;
    ro->rgn = w->shape->rgn;
    return ro->rgn.Kind();
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags)
{
    auto w = LookupWindow(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED) || IsChildWindow(*w)) return FALSE;
    if (flags & LWA_ALPHA) w->layeredAlpha = alpha;
    w->layeredColorKey = flags & LWA_COLORKEY;
    w->layeredKey = key;
    // The window goes back to showing what it paints; each change reaches the screen at once, so
    // fades that never return to the message loop are seen step by step.
    w->layeredContent.reset();
    CurrentBackend().WindowLayeredChanged(*w);
    if (w->surface) {
        MarkSurfaceDirty(w->handle, RECT{0, 0, w->surface->width, w->surface->height});
        PresentDirty(*w);
    }
    CurrentBackend().Flush();
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags)
{
    auto w = LookupWindow(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) return FALSE;
    if (key) *key = w->layeredKey;
    if (alpha) *alpha = w->layeredAlpha;
    if (flags) *flags = LWA_ALPHA | (w->layeredColorKey ? LWA_COLORKEY : 0);
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC, const POINT* pos, const SIZE* size, HDC src, const POINT* srcPos, COLORREF key,
                         const BLENDFUNCTION* blend, DWORD flags)
{
    auto w = LookupWindow(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED) || IsChildWindow(*w)) return FALSE;
    int cx = size ? size->cx : w->rect.right - w->rect.left;
    int cy = size ? size->cy : w->rect.bottom - w->rect.top;
    if (cx <= 0 || cy <= 0) return FALSE;
    if (pos || size) {
        int x = pos ? pos->x : w->rect.left, y = pos ? pos->y : w->rect.top;
        SetWindowPos(hwnd, nullptr, x, y, cx, cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (size ? 0 : SWP_NOSIZE));
        if (!IsWindow(hwnd)) return FALSE;
    }
    if (src) {
        auto sd = LookupDc(src);
        if (!sd) return FALSE;
        Target t;
        if (!PrepareTarget(*sd, t)) return FALSE;
        auto content = std::make_shared<Surface>();
        if (!content->Allocate(cx, cy, 32, true)) return FALSE;
        int sx = (srcPos ? srcPos->x : 0) + t.ox, sy = (srcPos ? srcPos->y : 0) + t.oy;
        bool perPixel = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & AC_SRC_ALPHA);
        std::uint32_t keyArgb = ColorRefToArgb(key) & 0xFFFFFF;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                std::uint32_t p = 0;
                if (t.s->Inside(sx + x, sy + y)) p = t.s->GetPixel(sx + x, sy + y);
                if (!perPixel) p |= 0xFF000000;
                if ((flags & ULW_COLORKEY) && (p & 0xFFFFFF) == keyArgb) p = 0;
                content->Row32(y)[x] = p;
            }
        w->layeredContent = content;
    }
    if (blend && (flags & ULW_ALPHA)) w->layeredAlpha = blend->SourceConstantAlpha;
    if (flags & ULW_OPAQUE) w->layeredAlpha = 255;
    CurrentBackend().WindowLayeredChanged(*w);
    EnsureSurface(*w);
    if (w->surface) {
        MarkSurfaceDirty(w->handle, RECT{0, 0, w->surface->width, w->surface->height});
        PresentDirty(*w);
    }
    CurrentBackend().Flush();
    return TRUE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG, SCROLLBARINFO* info)
{
    if (info) info->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return FALSE;
}
