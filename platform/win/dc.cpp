// Device contexts: creation, selected objects, state, origins and clipping. See dc.h.
#include "platform/win/dc.h"

#include <algorithm>
#include <cstring>

#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"
#include "platform/win/window.h"

namespace vxwin {

DcObj::~DcObj()
{
    if (st.bitmap && st.bitmap->selectedIn == handle) st.bitmap->selectedIn = 0;
}

std::shared_ptr<DcObj> LookupDc(HDC hdc) { return Lookup<DcObj>(hdc); }

COLORREF ResolveColor(COLORREF c)
{
    if ((c & 0xFF000000) == 0x01000000) return c & 0xFFFFFF;  // PALETTEINDEX: we have no palettes
    if ((c & 0xFF000000) == 0xFF000000) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0xFFFFFF;
}

bool PrepareTarget(DcObj& dc, Target& t)
{
    t = Target{};
    Region visible;
    POINT origin{0, 0};
    if (dc.type == DcType::Memory) {
        if (!dc.st.bitmap || !dc.st.bitmap->surface) return false;
        t.keep = dc.st.bitmap->surface;
        visible = Region(RECT{0, 0, t.keep->width, t.keep->height});
    } else if (dc.type == DcType::Window) {
        unsigned gen = LayoutGeneration();
        if (dc.cacheGen != gen || !dc.cacheSurface) {
            dc.cacheSurface.reset();
            if (!ResolveWindowSurface(dc.hwnd, dc.wholeWindow, dc.cacheSurface, dc.cacheOrigin, dc.cacheVisible,
                                      dc.cacheTop))
                return false;
            dc.cacheGen = gen;
        }
        t.keep = dc.cacheSurface;
        origin = dc.cacheOrigin;
        visible = dc.cacheVisible;
        t.toplevel = dc.cacheTop;
        if (dc.paintClip) visible = visible.Intersect(*dc.paintClip);
    } else {
        return false;
    }
    t.s = t.keep.get();
    t.origin = origin;
    if (dc.st.hasClip) {
        Region c = dc.st.clip;
        c.Offset(origin.x, origin.y);
        visible = visible.Intersect(c);
    }
    t.clip = std::move(visible);
    t.ox = dc.st.viewportOrg.x - dc.st.windowOrg.x + origin.x;
    t.oy = dc.st.viewportOrg.y - dc.st.windowOrg.y + origin.y;
    return true;
}

void NoteDrawn(const Target& t, const RECT& r)
{
    if (t.toplevel) MarkSurfaceDirty(t.toplevel, r);
}

std::uint32_t ApplyRop2(int rop2, std::uint32_t p, std::uint32_t d)
{
    // Truth table of the binary raster operation: bit index (pen << 1 | dst), value (code - 1).
    unsigned tbl = static_cast<unsigned>(rop2 - 1) & 15;
    switch (rop2) {
    case 13: return p;
    case 6: return ~d;
    case 7: return p ^ d;
    case 11: return d;
    }
    std::uint32_t r = 0;
    if (tbl & 1) r |= ~p & ~d;
    if (tbl & 2) r |= ~p & d;
    if (tbl & 4) r |= p & ~d;
    if (tbl & 8) r |= p & d;
    return r;
}

void FillClipped(const Target& t, RECT r, std::uint32_t argb, int rop2)
{
    if (!t.s || RectEmpty(r)) return;
    RECT bounds = t.clip.Bounds();
    r = RectIntersect(r, bounds);
    if (RectEmpty(r)) return;
    for (auto& band : t.clip.Bands()) {
        if (band.bottom <= r.top) continue;
        if (band.top >= r.bottom) break;
        int y0 = std::max<int>(band.top, r.top), y1 = std::min<int>(band.bottom, r.bottom);
        for (size_t k = 0; k < band.xs.size(); k += 2) {
            int x0 = std::max<int>(band.xs[k], r.left), x1 = std::min<int>(band.xs[k + 1], r.right);
            if (x0 >= x1) continue;
            for (int y = y0; y < y1; ++y) {
                if (t.s->bpp == 32) {
                    std::uint32_t* row = t.s->Row32(y);
                    if (rop2 == 13)
                        std::fill(row + x0, row + x1, argb);
                    else
                        for (int x = x0; x < x1; ++x)
                            row[x] = (ApplyRop2(rop2, argb, row[x]) & 0xFFFFFF) | (argb & 0xFF000000);
                } else {
                    for (int x = x0; x < x1; ++x)
                        t.s->SetPixel(x, y, rop2 == 13 ? argb : ApplyRop2(rop2, argb, t.s->GetPixel(x, y)));
                }
            }
        }
    }
    NoteDrawn(t, r);
}

void MoveWithin(Surface& s, const Region& target, int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    // Rows in the order that never overwrites a source before it is read: against the vertical
    // direction of the move; within a row, the pieces against the horizontal direction (memmove
    // takes care of the overlap inside a piece).
    const auto& bands = target.Bands();
    auto doBand = [&](const Region::Band& b) {
        auto row = [&](int y) {
            std::uint32_t* dst = s.Row32(y);
            const std::uint32_t* src = s.Row32(y - dy);
            auto piece = [&](size_t k) {
                int x0 = b.xs[k], x1 = b.xs[k + 1];
                std::memmove(dst + x0, src + (x0 - dx), static_cast<size_t>(x1 - x0) * 4);
            };
            if (dx > 0)
                for (size_t k = b.xs.size(); k >= 2; k -= 2) piece(k - 2);
            else
                for (size_t k = 0; k + 1 < b.xs.size(); k += 2) piece(k);
        };
        if (dy > 0)
            for (int y = b.bottom - 1; y >= b.top; --y) row(y);
        else
            for (int y = b.top; y < b.bottom; ++y) row(y);
    };
    if (dy > 0)
        for (auto it = bands.rbegin(); it != bands.rend(); ++it) doBand(*it);
    else
        for (const auto& b : bands) doBand(b);
}

void PutPixelClipped(const Target& t, int x, int y, std::uint32_t argb, int rop2)
{
    if (!t.s || !t.s->Inside(x, y) || !t.clip.Contains(x, y)) return;
    if (t.s->bpp == 32) {
        std::uint32_t* p = t.s->Row32(y) + x;
        *p = rop2 == 13 ? argb : ((ApplyRop2(rop2, argb, *p) & 0xFFFFFF) | (argb & 0xFF000000));
    } else {
        t.s->SetPixel(x, y, rop2 == 13 ? argb : ApplyRop2(rop2, argb, t.s->GetPixel(x, y)));
    }
}

namespace {

std::shared_ptr<BitmapObj> DefaultBitmap()
{
    static std::shared_ptr<BitmapObj> bm = [] {
        auto b = std::make_shared<BitmapObj>();
        b->surface = std::make_shared<Surface>();
        b->surface->Allocate(1, 1, 1, true);
        b->stock = true;
        AddHandle(b);
        return b;
    }();
    return bm;
}

void InitState(DcState& st)
{
    st.pen = Lookup<PenObj>(StockObject(BLACK_PEN));
    st.brush = Lookup<BrushObj>(StockObject(WHITE_BRUSH));
    st.font = Lookup<FontObj>(DefaultGuiFont());
}

// The clip in device coordinates as it currently stands (everything when none was set).
Region CurrentClipOrAll(const DcObj& dc)
{
    if (dc.st.hasClip) return dc.st.clip;
    return Region(RECT{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28});
}

RECT LogicalToDevice(const DcObj& dc, int l, int t, int r, int b)
{
    int dx = dc.st.viewportOrg.x - dc.st.windowOrg.x, dy = dc.st.viewportOrg.y - dc.st.windowOrg.y;
    RECT rc{std::min(l, r) + dx, std::min(t, b) + dy, std::max(l, r) + dx, std::max(t, b) + dy};
    return rc;
}

}  // namespace

HDC NewWindowDc(std::uintptr_t hwnd, bool wholeWindow)
{
    auto dc = std::make_shared<DcObj>();
    dc->type = DcType::Window;
    dc->hwnd = hwnd;
    dc->wholeWindow = wholeWindow;
    InitState(dc->st);
    return Register<HDC>(dc);
}

}  // namespace vxwin

using namespace vxwin;

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !LookupDc(hdc)) return nullptr;
    auto dc = std::make_shared<DcObj>();
    dc->type = DcType::Memory;
    InitState(dc->st);
    dc->st.bitmap = DefaultBitmap();
    return Register<HDC>(dc);
}

HDC CreateDCW(LPCWSTR driver, LPCWSTR, LPCWSTR, const void*)
{
    // Only the display: a screen DC for measuring and for device capabilities.
    auto dc = std::make_shared<DcObj>();
    dc->type = DcType::Screen;
    InitState(dc->st);
    return Register<HDC>(dc);
}

BOOL DeleteDC(HDC hdc)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    if (dc->st.bitmap && dc->st.bitmap->selectedIn == dc->handle) dc->st.bitmap->selectedIn = 0;
    for (auto& s : dc->saved)
        if (s.bitmap && s.bitmap->selectedIn == dc->handle) s.bitmap->selectedIn = 0;
    return RemoveHandle(hdc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj)
{
    auto dc = LookupDc(hdc);
    auto o = FindHandle(obj);
    if (!dc || !o) return nullptr;
    switch (o->kind) {
    case ObjKind::Pen: {
        HGDIOBJ old = reinterpret_cast<HGDIOBJ>(dc->st.pen ? dc->st.pen->handle : 0);
        dc->st.pen = std::static_pointer_cast<PenObj>(o);
        return old;
    }
    case ObjKind::Brush: {
        HGDIOBJ old = reinterpret_cast<HGDIOBJ>(dc->st.brush ? dc->st.brush->handle : 0);
        dc->st.brush = std::static_pointer_cast<BrushObj>(o);
        return old;
    }
    case ObjKind::Font: {
        HGDIOBJ old = reinterpret_cast<HGDIOBJ>(dc->st.font ? dc->st.font->handle : 0);
        dc->st.font = std::static_pointer_cast<FontObj>(o);
        return old;
    }
    case ObjKind::Bitmap: {
        if (dc->type != DcType::Memory) return nullptr;
        auto bm = std::static_pointer_cast<BitmapObj>(o);
        // A bitmap lives in one DC at a time.
        if (!bm->stock && bm->selectedIn && bm->selectedIn != dc->handle &&
            FindHandle(reinterpret_cast<void*>(bm->selectedIn)))
            return nullptr;
        auto old = dc->st.bitmap;
        if (old && old->selectedIn == dc->handle) old->selectedIn = 0;
        dc->st.bitmap = bm;
        if (!bm->stock) bm->selectedIn = dc->handle;
        return reinterpret_cast<HGDIOBJ>(old ? old->handle : 0);
    }
    case ObjKind::Region: {
        int r = SelectClipRgn(hdc, static_cast<HRGN>(obj));
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(r));
    }
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    auto dc = LookupDc(hdc);
    if (!dc) return nullptr;
    auto h = [](const auto& p) { return reinterpret_cast<HGDIOBJ>(p ? p->handle : 0); };
    switch (type) {
    case OBJ_PEN: return h(dc->st.pen);
    case OBJ_BRUSH: return h(dc->st.brush);
    case OBJ_FONT: return h(dc->st.font);
    case OBJ_BITMAP: return h(dc->st.bitmap);
    }
    return nullptr;
}

int SaveDC(HDC hdc)
{
    auto dc = LookupDc(hdc);
    if (!dc) return 0;
    dc->saved.push_back(dc->st);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int level)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    int n = static_cast<int>(dc->saved.size());
    if (level < 0) level = n + 1 + level;
    if (level < 1 || level > n) return FALSE;
    auto cur = dc->st.bitmap;
    dc->st = dc->saved[level - 1];
    dc->saved.resize(level - 1);
    if (cur != dc->st.bitmap) {
        if (cur && cur->selectedIn == dc->handle) cur->selectedIn = 0;
        if (dc->st.bitmap && !dc->st.bitmap->stock) dc->st.bitmap->selectedIn = dc->handle;
    }
    return TRUE;
}

#define VX_ORG_FN(Name, field, offset)           \
    BOOL Name(HDC hdc, int x, int y, POINT* old) \
    {                                            \
        auto dc = LookupDc(hdc);                 \
        if (!dc) return FALSE;                   \
        if (old) *old = dc->st.field;            \
        if (offset) {                            \
            dc->st.field.x += x;                 \
            dc->st.field.y += y;                 \
        } else {                                 \
            dc->st.field.x = x;                  \
            dc->st.field.y = y;                  \
        }                                        \
        return TRUE;                             \
    }
VX_ORG_FN(SetViewportOrgEx, viewportOrg, false)
VX_ORG_FN(OffsetViewportOrgEx, viewportOrg, true)
VX_ORG_FN(SetWindowOrgEx, windowOrg, false)
VX_ORG_FN(OffsetWindowOrgEx, windowOrg, true)
#undef VX_ORG_FN

BOOL GetViewportOrgEx(HDC hdc, POINT* p)
{
    auto dc = LookupDc(hdc);
    if (!dc || !p) return FALSE;
    *p = dc->st.viewportOrg;
    return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, POINT* p)
{
    auto dc = LookupDc(hdc);
    if (!dc || !p) return FALSE;
    *p = dc->st.windowOrg;
    return TRUE;
}
BOOL LPtoDP(HDC hdc, POINT* pts, int count)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    for (int i = 0; i < count; ++i) {
        pts[i].x += dc->st.viewportOrg.x - dc->st.windowOrg.x;
        pts[i].y += dc->st.viewportOrg.y - dc->st.windowOrg.y;
    }
    return TRUE;
}
BOOL DPtoLP(HDC hdc, POINT* pts, int count)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    for (int i = 0; i < count; ++i) {
        pts[i].x -= dc->st.viewportOrg.x - dc->st.windowOrg.x;
        pts[i].y -= dc->st.viewportOrg.y - dc->st.windowOrg.y;
    }
    return TRUE;
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b)
{
    auto dc = LookupDc(hdc);
    if (!dc) return ERROR;
    dc->st.clip = CurrentClipOrAll(*dc).Intersect(LogicalToDevice(*dc, l, t, r, b));
    dc->st.hasClip = true;
    return dc->st.clip.Kind();
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b)
{
    auto dc = LookupDc(hdc);
    if (!dc) return ERROR;
    dc->st.clip = CurrentClipOrAll(*dc).Subtract(Region(LogicalToDevice(*dc, l, t, r, b)));
    dc->st.hasClip = true;
    return dc->st.clip.Kind();
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode)
{
    auto dc = LookupDc(hdc);
    if (!dc) return ERROR;
    if (!rgn) {
        if (mode != RGN_COPY) return ERROR;
        dc->st.hasClip = false;
        dc->st.clip.Clear();
        return SIMPLEREGION;
    }
    auto ro = Lookup<RegionObj>(rgn);
    if (!ro) return ERROR;
    // The region is in device coordinates and is copied.
    const Region& src = ro->rgn;
    switch (mode) {
    case RGN_COPY: dc->st.clip = src; break;
    case RGN_AND: dc->st.clip = CurrentClipOrAll(*dc).Intersect(src); break;
    case RGN_OR: dc->st.clip = dc->st.hasClip ? dc->st.clip.Union(src) : CurrentClipOrAll(*dc); break;
    case RGN_DIFF: dc->st.clip = CurrentClipOrAll(*dc).Subtract(src); break;
    case RGN_XOR: dc->st.clip = Region::Combine(CurrentClipOrAll(*dc), src, Region::Op::Xor); break;
    default: return ERROR;
    }
    dc->st.hasClip = true;
    return dc->st.clip.Kind();
}

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int OffsetClipRgn(HDC hdc, int dx, int dy)
{
    auto dc = LookupDc(hdc);
    if (!dc) return ERROR;
    if (!dc->st.hasClip) return SIMPLEREGION;
    dc->st.clip.Offset(dx, dy);
    return dc->st.clip.Kind();
}

int GetClipBox(HDC hdc, RECT* r)
{
    auto dc = LookupDc(hdc);
    if (!dc || !r) return ERROR;
    Target t;
    if (!PrepareTarget(*dc, t)) {
        *r = RECT{};
        return dc->type == DcType::Screen ? SIMPLEREGION : NULLREGION;
    }
    RECT b = t.clip.Bounds();
    *r = RectOffset(b, -t.ox, -t.oy);
    return t.clip.Kind();
}

int GetClipRgn(HDC hdc, HRGN rgn)
{
    auto dc = LookupDc(hdc);
    auto ro = Lookup<RegionObj>(rgn);
    if (!dc || !ro) return -1;
    if (!dc->st.hasClip) return 0;
    ro->rgn = dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    Target t;
    if (!PrepareTarget(*dc, t)) return FALSE;
    return t.clip.Contains(x + t.ox, y + t.oy) ? TRUE : FALSE;
}

#define VX_DC_SETTER(Name, GetName, Type, field, errval) \
    Type Name(HDC hdc, Type v)                           \
    {                                                    \
        auto dc = LookupDc(hdc);                         \
        if (!dc) return errval;                          \
        Type old = dc->st.field;                         \
        dc->st.field = v;                                \
        return old;                                      \
    }                                                    \
    Type GetName(HDC hdc)                                \
    {                                                    \
        auto dc = LookupDc(hdc);                         \
        return dc ? dc->st.field : errval;               \
    }
VX_DC_SETTER(SetTextColor, GetTextColor, COLORREF, textColor, CLR_INVALID)
VX_DC_SETTER(SetBkColor, GetBkColor, COLORREF, bkColor, CLR_INVALID)
VX_DC_SETTER(SetBkMode, GetBkMode, int, bkMode, 0)
VX_DC_SETTER(SetROP2, GetROP2, int, rop2, 0)
VX_DC_SETTER(SetStretchBltMode, GetStretchBltMode, int, stretchMode, 0)
VX_DC_SETTER(SetTextAlign, GetTextAlign, UINT, textAlign, 0xFFFFFFFF)
#undef VX_DC_SETTER

int SetPolyFillMode(HDC hdc, int mode)
{
    auto dc = LookupDc(hdc);
    if (!dc) return 0;
    int old = dc->st.polyFill;
    dc->st.polyFill = mode;
    return old;
}
COLORREF SetDCBrushColor(HDC hdc, COLORREF c)
{
    auto dc = LookupDc(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->st.dcBrushColor;
    dc->st.dcBrushColor = c;
    return old;
}
COLORREF SetDCPenColor(HDC hdc, COLORREF c)
{
    auto dc = LookupDc(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->st.dcPenColor;
    dc->st.dcPenColor = c;
    return old;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (!LookupDc(hdc)) return 0;
    switch (index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    }
    return 0;
}

// GDI calls that need the device context record: a compatible bitmap follows its DC, and the
// object type tells memory DCs from window DCs.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    auto dc = LookupDc(hdc);
    if (!dc) return nullptr;
    if (cx <= 0 || cy <= 0) cx = cy = 1;
    // A memory DC still holding its default 1x1 bitmap gives monochrome bitmaps, as on Windows.
    if (dc->type == DcType::Memory && dc->st.bitmap && dc->st.bitmap->stock) return CreateBitmap(cx, cy, 1, 1, nullptr);
    return CreateBitmap(cx, cy, 1, 32, nullptr);
}

DWORD GetObjectType(HGDIOBJ obj)
{
    auto o = FindHandle(obj);
    if (!o) return 0;
    switch (o->kind) {
    case ObjKind::Pen: return OBJ_PEN;
    case ObjKind::Brush: return OBJ_BRUSH;
    case ObjKind::Font: return OBJ_FONT;
    case ObjKind::Bitmap: return OBJ_BITMAP;
    case ObjKind::Region: return OBJ_REGION;
    case ObjKind::Dc: return std::static_pointer_cast<DcObj>(o)->type == DcType::Memory ? OBJ_MEMDC : OBJ_DC;
    default: return 0;
    }
}
