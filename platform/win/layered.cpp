// Window regions (SetWindowRgn: the shape clips painting and hit testing) and layered windows
// (SetLayeredWindowAttributes: constant alpha; UpdateLayeredWindow: per-pixel alpha content).
#include <algorithm>
#include <cstring>
#include <vector>

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
    w->layeredOpaque.Clear();
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
    RECT changed{0, 0, cx, cy};
    if (src) {
        auto sd = LookupDc(src);
        if (!sd) return FALSE;
        Target t;
        if (!PrepareTarget(*sd, t)) return FALSE;
        // The content is built in a fresh surface, compared with the one shown, and only the
        // rectangle that differs is presented and re-scanned for the window's shape.
        auto content = std::make_shared<Surface>();
        if (!content->Allocate(cx, cy, 32, true)) return FALSE;
        int sx = (srcPos ? srcPos->x : 0) + t.ox, sy = (srcPos ? srcPos->y : 0) + t.oy;
        bool perPixel = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & AC_SRC_ALPHA);
        bool colorKey = flags & ULW_COLORKEY;
        std::uint32_t keyArgb = ColorRefToArgb(key) & 0xFFFFFF;
        RECT inside = RectIntersect(RECT{0, 0, cx, cy}, RECT{-sx, -sy, t.s->width - sx, t.s->height - sy});
        for (int y = inside.top; y < inside.bottom; ++y) {
            std::uint32_t* out = content->Row32(y);
            if (t.s->bpp == 32)
                std::memcpy(out + inside.left, t.s->Row32(sy + y) + sx + inside.left,
                            static_cast<size_t>(inside.right - inside.left) * 4);
            else
                for (int x = inside.left; x < inside.right; ++x) out[x] = t.s->GetPixel(sx + x, sy + y);
            if (!perPixel || colorKey)
                for (int x = inside.left; x < inside.right; ++x) {
                    std::uint32_t p = out[x];
                    if (!perPixel) p |= 0xFF000000;
                    if (colorKey && (p & 0xFFFFFF) == keyArgb) p = 0;
                    out[x] = p;
                }
        }
        const Surface* old = w->layeredContent.get();
        if (old && old->width == cx && old->height == cy) {
            int top = 0, bottom = cy, left = cx, right = 0;
            auto same = [&](int y) {
                return std::memcmp(old->Row32(y), content->Row32(y), static_cast<size_t>(cx) * 4) == 0;
            };
            while (top < bottom && same(top)) ++top;
            while (bottom > top && same(bottom - 1)) --bottom;
            for (int y = top; y < bottom; ++y) {
                const std::uint32_t *a = old->Row32(y), *b = content->Row32(y);
                int l = 0, r = cx;
                while (l < r && a[l] == b[l]) ++l;
                while (r > l && a[r - 1] == b[r - 1]) --r;
                left = std::min(left, l);
                right = std::max(right, r);
            }
            changed = top < bottom ? RECT{left, top, right, bottom} : RECT{};
            if (!RectEmpty(changed)) w->layeredOpaque = w->layeredOpaque.Subtract(Region(changed));
        } else {
            w->layeredOpaque.Clear();
        }
        // Where the new content has alpha, within the changed part.
        std::vector<RECT> runs;
        for (int y = changed.top; y < changed.bottom; ++y) {
            const std::uint32_t* row = content->Row32(y);
            for (int x = changed.left; x < changed.right;) {
                if (!(row[x] >> 24)) {
                    ++x;
                    continue;
                }
                int x0 = x;
                while (x < changed.right && (row[x] >> 24)) ++x;
                runs.push_back(RECT{x0, y, x, y + 1});
            }
        }
        if (!runs.empty()) w->layeredOpaque = w->layeredOpaque.Union(Region::FromRects(runs.data(), runs.size()));
        w->layeredContent = content;
    }
    BYTE alphaBefore = w->layeredAlpha;
    if (blend && (flags & ULW_ALPHA)) w->layeredAlpha = blend->SourceConstantAlpha;
    if (flags & ULW_OPAQUE) w->layeredAlpha = 255;
    if (!RectEmpty(changed) || alphaBefore != w->layeredAlpha) CurrentBackend().WindowLayeredChanged(*w);
    EnsureSurface(*w);
    if (w->surface && !RectEmpty(changed)) {
        MarkSurfaceDirty(w->handle, changed);
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
