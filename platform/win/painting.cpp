// Invalidation and painting: update regions, WM_PAINT/WM_NCPAINT/WM_ERASEBKGND through BeginPaint,
// window DCs drawing into the top-level surface through the window's visible region, and handing
// changed pixels to the back end.
#include <algorithm>
#include <cstring>

#include "platform/win/backend.h"
#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"
#include "platform/win/message_queue.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

HDC NewWindowDc(std::uintptr_t hwnd, bool wholeWindow);
void CaretBeforePaint(std::uintptr_t hwnd);
void CaretAfterPaint(std::uintptr_t hwnd);

namespace {

enum class Kids { None, ByStyle, All };

void InvalidateTree(const std::shared_ptr<WindowObj>& w, const Region& area, bool erase, Kids kids)
{
    if (!w) return;
    Region clientPart = area.Intersect(w->client);
    if (!clientPart.IsEmpty()) {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        w->update = w->update.Union(clientPart);
        if (erase) w->erasePending = true;
    }
    bool recurse = kids == Kids::All || (kids == Kids::ByStyle && !(w->style & WS_CLIPCHILDREN));
    if (recurse) {
        auto children = w->children;
        for (auto c : children) {
            auto ch = LookupWindow(c);
            if (!ch || !(ch->style & WS_VISIBLE)) continue;
            RECT inParent = RectOffset(ch->rect, w->client.left, w->client.top);
            Region part = area.Intersect(inParent);
            if (part.IsEmpty()) continue;
            part.Offset(-inParent.left, -inParent.top);
            InvalidateTree(ch, part, erase, kids == Kids::All ? Kids::All : Kids::ByStyle);
        }
    }
    if (w->queue && w->thread != std::this_thread::get_id()) WakeQueue(*w->queue);
}

void ValidateTree(const std::shared_ptr<WindowObj>& w, const Region& area, bool all)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    w->update = w->update.Subtract(area);
    if (w->update.IsEmpty()) w->erasePending = false;
    if (!all) return;
    for (auto c : w->children)
        if (auto ch = LookupWindow(c)) {
            RECT inParent = RectOffset(ch->rect, w->client.left, w->client.top);
            Region part = area.Intersect(inParent);
            part.Offset(-inParent.left, -inParent.top);
            ValidateTree(ch, part, true);
        }
}

void PaintNow(const std::shared_ptr<WindowObj>& w, bool children)
{
    if (!w || !(w->style & WS_VISIBLE)) return;
    if (!w->update.IsEmpty() || w->ncPending) SendMessageW(w->hwnd(), WM_PAINT, 0, 0);
    if (!children || !IsWindow(w->hwnd())) return;
    auto kids = w->children;
    for (auto c : kids) PaintNow(LookupWindow(c), true);
}

// The whole client area, or the given client rectangle, in window coordinates.
Region ClientArea(const WindowObj& w, const RECT* r)
{
    RECT c = r ? RectOffset(*r, w.client.left, w.client.top) : w.client;
    return Region(c);
}

}  // namespace

void InvalidateWindowArea(const std::shared_ptr<WindowObj>& w, const Region& windowArea, bool erase, bool children)
{
    InvalidateTree(w, windowArea, erase, children ? Kids::All : Kids::ByStyle);
}

void EnsureSurface(WindowObj& top)
{
    int wd = top.rect.right - top.rect.left, ht = top.rect.bottom - top.rect.top;
    if (top.surface && top.surface->width == wd && top.surface->height == ht) return;
    if (wd <= 0 || ht <= 0) {
        top.surface.reset();
        return;
    }
    if (top.surface) {
        // Live sizing: within the memory the surface has, the pixels stay where they are; a
        // surface that shrank to well below its memory gives the memory back.
        Surface& cur = *top.surface;
        bool wasteful = static_cast<long long>(wd) * ht * 3 < static_cast<long long>(cur.capWidth) * cur.capHeight;
        int oldW = cur.width, oldH = cur.height;
        if (!wasteful && cur.Reshape(wd, ht)) {
            std::lock_guard<std::recursive_mutex> lock(WindowLock());
            FoldDirty(top);
            top.dirty = top.dirty.Intersect(RECT{0, 0, wd, ht});
            // What lies beyond the old size is uncovered memory until it is painted.
            Region grown = Region(RECT{0, 0, wd, ht}).Subtract(Region(RECT{0, 0, oldW, oldH}));
            top.dirty = top.dirty.Union(grown);
            return;
        }
    }
    // Room to grow by a quarter, so the next steps of a live resize fit.
    auto s = std::make_shared<Surface>();
    if (!s->AllocateWithRoom(wd, ht, wd + wd / 4, ht + ht / 4)) return;
    if (top.surface) {
        int cw = std::min(wd, top.surface->width), ch = std::min(ht, top.surface->height);
        for (int y = 0; y < ch; ++y) std::memcpy(s->Row32(y), top.surface->Row32(y), static_cast<size_t>(cw) * 4);
    }
    top.surface = s;
    top.dirtyRects.clear();
    top.dirty = Region(RECT{0, 0, wd, ht});
}

bool ResolveWindowSurface(std::uintptr_t hwnd, bool wholeWindow, std::shared_ptr<Surface>& surface, POINT& origin,
                          Region& visible, std::uintptr_t& toplevel)
{
    auto w = LookupWindow(hwnd);
    if (!w) return false;
    auto top = TopLevelOf(w);
    if (!top || top->messageOnly) return false;
    EnsureSurface(*top);
    if (!top->surface) return false;
    surface = top->surface;
    toplevel = top->handle;
    origin = OffsetInTopLevel(*w);
    if (!wholeWindow) {
        origin.x += w->client.left;
        origin.y += w->client.top;
    }
    visible = CachedVisibleRegion(*w, !wholeWindow).Intersect(RECT{0, 0, surface->width, surface->height});
    return true;
}

const Region& CachedVisibleRegion(WindowObj& w, bool clientOnly)
{
    int k = clientOnly ? 0 : 1;
    unsigned gen = LayoutGeneration();
    if (w.visGen[k] != gen) {
        w.visCache[k] = VisibleRegion(w, clientOnly);
        w.visGen[k] = gen;
    }
    return w.visCache[k];
}

void MarkSurfaceDirty(std::uintptr_t toplevel, const RECT& r)
{
    auto top = LookupWindow(toplevel);
    if (!top || !top->surface) return;
    RECT c = RectIntersect(r, RECT{0, 0, top->surface->width, top->surface->height});
    if (RectEmpty(c)) return;
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    // Drawing marks many small rectangles: they are collected and folded into the region in
    // batches, not one union each.
    auto& v = top->dirtyRects;
    if (!v.empty()) {
        const RECT& l = v.back();
        if (c.left >= l.left && c.top >= l.top && c.right <= l.right && c.bottom <= l.bottom) return;
    }
    v.push_back(c);
    if (v.size() >= 256) FoldDirty(*top);
}

void FoldDirty(WindowObj& top)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    if (top.dirtyRects.empty()) return;
    top.dirty = top.dirty.Union(Region::FromRects(top.dirtyRects.data(), top.dirtyRects.size()));
    top.dirtyRects.clear();
}

void PresentDirty(WindowObj& top)
{
    if (top.dirty.IsEmpty() && top.dirtyRects.empty()) return;
    if (!(top.style & WS_VISIBLE) || top.showState == SW_SHOWMINIMIZED || !top.surface) return;
    Region d;
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        FoldDirty(top);
        d = std::move(top.dirty);
        top.dirty.Clear();
    }
    CurrentBackend().Present(top, d);
}

void PresentAllDirty()
{
    for (auto t : TopLevels())
        if (auto w = LookupWindow(t); w && w->thread == std::this_thread::get_id()) PresentDirty(*w);
}

}  // namespace vxwin

using namespace vxwin;

BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL erase)
{
    if (!hwnd) {
        for (auto t : TopLevels()) InvalidateRect(reinterpret_cast<HWND>(t), nullptr, erase);
        return TRUE;
    }
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    InvalidateTree(w, ClientArea(*w, r), erase != FALSE, Kids::ByStyle);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
    auto ro = Lookup<RegionObj>(rgn);
    if (!ro) return FALSE;
    Region a = ro->rgn;
    a.Offset(w->client.left, w->client.top);
    InvalidateTree(w, a, erase != FALSE, Kids::ByStyle);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* r)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    ValidateTree(w, ClientArea(*w, r), false);
    if (!r) w->ncPending = false;
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    if (!rgn) return ValidateRect(hwnd, nullptr);
    auto ro = Lookup<RegionObj>(rgn);
    if (!ro) return FALSE;
    Region a = ro->rgn;
    a.Offset(w->client.left, w->client.top);
    ValidateTree(w, a, false);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    RECT b = w->update.Bounds();
    if (r) *r = w->update.IsEmpty() ? RECT{} : RectOffset(b, -w->client.left, -w->client.top);
    return !w->update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL)
{
    auto w = LookupWindow(hwnd);
    auto ro = Lookup<RegionObj>(rgn);
    if (!w || !ro) return ERROR;
    ro->rgn = w->update;
    ro->rgn.Offset(-w->client.left, -w->client.top);
    return ro->rgn.Kind();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    auto w = LookupWindow(hwnd);
    if (!w || !ps) return nullptr;
    if (w->ncPending) {
        w->ncPending = false;
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
        if (!IsWindow(hwnd)) return nullptr;
    }
    CaretBeforePaint(w->handle);
    Region upd;
    bool erase;
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        upd = w->update.Intersect(w->client);
        w->update.Clear();
        erase = w->erasePending;
        w->erasePending = false;
    }
    HDC dc = NewWindowDc(w->handle, false);
    auto d = LookupDc(dc);
    POINT off = OffsetInTopLevel(*w);
    Region clip = upd;
    clip.Offset(off.x, off.y);
    d->paintClip = std::move(clip);
    *ps = PAINTSTRUCT{};
    ps->hdc = dc;
    ps->rcPaint = upd.IsEmpty() ? RECT{} : RectOffset(upd.Bounds(), -w->client.left, -w->client.top);
    ps->fErase = FALSE;
    if (erase) ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps) return FALSE;
    RemoveHandle(ps->hdc);
    CaretAfterPaint(reinterpret_cast<std::uintptr_t>(hwnd));
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (!hwnd) return CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!IsWindow(hwnd)) return nullptr;
    return NewWindowDc(reinterpret_cast<std::uintptr_t>(hwnd), false);
}

HDC GetWindowDC(HWND hwnd)
{
    if (!hwnd) return CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!IsWindow(hwnd)) return nullptr;
    return NewWindowDc(reinterpret_cast<std::uintptr_t>(hwnd), true);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    HDC dc = (flags & DCX_WINDOW) ? GetWindowDC(hwnd) : GetDC(hwnd);
    auto d = LookupDc(dc);
    auto ro = Lookup<RegionObj>(clip);
    auto w = LookupWindow(hwnd);
    if (d && ro && w && (flags & 0x80 /* DCX_INTERSECTRGN */)) {
        // The region is in screen coordinates, as WM_NCPAINT hands it over.
        auto top = TopLevelOf(w);
        Region c = ro->rgn;
        c.Offset(-(top ? top->rect.left : 0), -(top ? top->rect.top : 0));
        d->paintClip = c;
    }
    return dc;
}

int ReleaseDC(HWND, HDC hdc)
{
    // What was drawn is marked dirty; the back end shows it at the loop's next idle step.
    auto d = LookupDc(hdc);
    if (!d || d->type == DcType::Memory) return 0;
    RemoveHandle(hdc);
    return 1;
}

BOOL GdiFlush()
{
    PresentAllDirty();
    CurrentBackend().Flush();
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    PaintNow(w, false);
    if (auto top = TopLevelOf(w)) PresentDirty(*top);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* r, HRGN rgn, UINT flags)
{
    if (!hwnd) {
        for (auto t : TopLevels()) RedrawWindow(reinterpret_cast<HWND>(t), nullptr, nullptr, flags);
        return TRUE;
    }
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    Region area;
    if (rgn) {
        auto ro = Lookup<RegionObj>(rgn);
        if (!ro) return FALSE;
        area = ro->rgn;
        area.Offset(w->client.left, w->client.top);
    } else if (r) {
        area = ClientArea(*w, r);
    } else {
        area = Region(RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top});
    }
    Kids kids = (flags & RDW_ALLCHILDREN) ? Kids::All : (flags & RDW_NOCHILDREN) ? Kids::None : Kids::ByStyle;
    if (flags & RDW_INVALIDATE) {
        InvalidateTree(w, area, flags & RDW_ERASE, kids);
        if ((flags & RDW_FRAME) && !r && !rgn) w->ncPending = true;
    }
    if (flags & RDW_VALIDATE) {
        ValidateTree(w, area, kids == Kids::All);
        if (flags & RDW_NOFRAME) w->ncPending = false;
        if (flags & RDW_NOERASE) w->erasePending = false;
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        PaintNow(w, kids == Kids::All || (kids == Kids::ByStyle));
        if (auto top = TopLevelOf(w)) PresentDirty(*top);
    }
    return TRUE;
}
