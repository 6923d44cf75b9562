// GDI objects: bitmaps and DIB sections, brushes, pens, fonts, stock objects, GetObject/DeleteObject.
#include "platform/win/gdi_objects.h"

#include <cstring>
#include <mutex>

#include "platform/win/gdi_api.h"

namespace vxwin {

HGDIOBJ StockObject(int id)
{
    static std::once_flag once;
    static HGDIOBJ objs[20] = {};
    std::call_once(once, [] {
        auto brush = [](UINT style, COLORREF c) {
            auto b = std::make_shared<BrushObj>();
            b->style = style;
            b->color = c;
            b->stock = true;
            return reinterpret_cast<HGDIOBJ>(AddHandle(b));
        };
        auto pen = [](int style, COLORREF c) {
            auto p = std::make_shared<PenObj>();
            p->style = style;
            p->color = c;
            p->stock = true;
            return reinterpret_cast<HGDIOBJ>(AddHandle(p));
        };
        objs[WHITE_BRUSH] = brush(BS_SOLID, RGB(255, 255, 255));
        objs[LTGRAY_BRUSH] = brush(BS_SOLID, RGB(192, 192, 192));
        objs[GRAY_BRUSH] = brush(BS_SOLID, RGB(128, 128, 128));
        objs[DKGRAY_BRUSH] = brush(BS_SOLID, RGB(64, 64, 64));
        objs[BLACK_BRUSH] = brush(BS_SOLID, RGB(0, 0, 0));
        objs[NULL_BRUSH] = brush(BS_NULL, 0);
        objs[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
        objs[BLACK_PEN] = pen(PS_SOLID, 0);
        objs[NULL_PEN] = pen(PS_NULL, 0);
        auto font = std::make_shared<FontObj>();
        font->stock = true;
        font->lf.lfHeight = -12;
        std::wcscpy(font->lf.lfFaceName, L"Tahoma");
        objs[SYSTEM_FONT] = objs[DEFAULT_GUI_FONT] = reinterpret_cast<HGDIOBJ>(AddHandle(font));
        // DC_BRUSH and DC_PEN take the DC's colours when drawn.
        objs[DC_BRUSH] = brush(BS_SOLID, 0xFFFFFFFF);
        objs[DC_PEN] = pen(PS_SOLID, 0xFFFFFFFF);
    });
    if (id < 0 || id >= 20) return nullptr;
    return objs[id];
}

HFONT DefaultGuiFont() { return static_cast<HFONT>(StockObject(DEFAULT_GUI_FONT)); }

namespace {

HBITMAP NewBitmap(int w, int h, int bpp, bool topDown, bool isDib, const std::vector<std::uint32_t>* palette)
{
    auto bm = std::make_shared<BitmapObj>();
    bm->surface = std::make_shared<Surface>();
    if (palette) bm->surface->palette = *palette;
    if (!bm->surface->Allocate(w, h, bpp, topDown)) return nullptr;
    bm->isDib = isDib;
    return Register<HBITMAP>(bm);
}

}  // namespace

std::vector<std::uint32_t> PaletteFromInfo(const BITMAPINFO* bmi)
{
    std::vector<std::uint32_t> pal;
    int bpp = bmi->bmiHeader.biBitCount;
    if (bpp > 8) return pal;
    size_t n = bmi->bmiHeader.biClrUsed ? bmi->bmiHeader.biClrUsed : (size_t(1) << bpp);
    if (n > 256) n = 256;
    const RGBQUAD* q = bmi->bmiColors;
    for (size_t i = 0; i < n; ++i) pal.push_back((q[i].rgbRed << 16) | (q[i].rgbGreen << 8) | q[i].rgbBlue);
    return pal;
}

}  // namespace vxwin

using namespace vxwin;

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE, DWORD)
{
    if (bits) *bits = nullptr;
    if (!bmi || bmi->bmiHeader.biCompression != BI_RGB) return nullptr;
    const auto& h = bmi->bmiHeader;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return nullptr;
    std::vector<std::uint32_t> pal = PaletteFromInfo(bmi);
    HBITMAP hb = NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, bpp, h.biHeight < 0, true,
                           bpp <= 8 ? &pal : nullptr);
    if (hb && bits) *bits = Lookup<BitmapObj>(hb)->surface->bits;
    return hb;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits)
{
    if (planes != 1 || (bpp != 1 && bpp != 32 && bpp != 24 && bpp != 8)) return nullptr;
    HBITMAP hb = NewBitmap(width, height, static_cast<int>(bpp), true, false, nullptr);
    if (!hb) return nullptr;
    if (bits) {
        auto s = Lookup<BitmapObj>(hb)->surface;
        // Device bitmaps take WORD-aligned rows.
        int srcStride = ((width * static_cast<int>(bpp) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            std::memcpy(s->Row(y), static_cast<const std::uint8_t*>(bits) + y * srcStride,
                        std::min(srcStride, s->stride));
    }
    return hb;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto b = std::make_shared<BrushObj>();
    b->style = BS_SOLID;
    b->color = color;
    return Register<HBRUSH>(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb) return nullptr;
    if (lb->lbStyle != BS_SOLID && lb->lbStyle != BS_NULL) return nullptr;
    auto b = std::make_shared<BrushObj>();
    b->style = lb->lbStyle;
    b->color = lb->lbColor;
    return Register<HBRUSH>(b);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    auto bm = Lookup<BitmapObj>(bitmap);
    if (!bm) return nullptr;
    auto b = std::make_shared<BrushObj>();
    b->style = BS_PATTERN;
    b->pattern = std::make_shared<Surface>();
    auto& src = *bm->surface;
    b->pattern->Allocate(src.width, src.height, 32, true);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) b->pattern->SetPixel(x, y, src.GetPixel(x, y) & 0xFFFFFF);
    return Register<HBRUSH>(b);
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    auto p = std::make_shared<PenObj>();
    p->style = style & 0xF;
    p->width = width < 1 ? 1 : width;
    p->color = color;
    return Register<HPEN>(p);
}

HPEN CreatePenIndirect(const LOGPEN* lp)
{
    if (!lp) return nullptr;
    return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HFONT CreateFontIndirectW(const LOGFONTW* lf)
{
    if (!lf) return nullptr;
    auto f = std::make_shared<FontObj>();
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return Register<HFONT>(f);
}

HGDIOBJ GetStockObject(int id) { return StockObject(id); }

BOOL DeleteObject(HGDIOBJ obj)
{
    auto o = FindHandle(obj);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    switch (o->kind) {
    case ObjKind::Bitmap: {
        auto bm = std::static_pointer_cast<BitmapObj>(o);
        // Refused while selected into a live DC, as on Windows.
        if (bm->selectedIn && FindHandle(reinterpret_cast<void*>(bm->selectedIn))) return FALSE;
        break;
    }
    case ObjKind::Region:
        if (std::static_pointer_cast<RegionObj>(o)->ownerWindow) return FALSE;  // the window owns it
        break;
    case ObjKind::Pen:
    case ObjKind::Brush:
    case ObjKind::Font:
    case ObjKind::Palette: break;
    default: return FALSE;
    }
    return RemoveHandle(obj) ? TRUE : FALSE;
}

int GetObjectW(HGDIOBJ obj, int size, void* out)
{
    auto o = FindHandle(obj);
    if (!o) return 0;
    switch (o->kind) {
    case ObjKind::Bitmap: {
        auto bm = std::static_pointer_cast<BitmapObj>(o);
        auto& s = *bm->surface;
        DIBSECTION ds;
        ds.dsBm.bmWidth = s.width;
        ds.dsBm.bmHeight = s.height;
        ds.dsBm.bmWidthBytes = s.stride;
        ds.dsBm.bmBitsPixel = static_cast<WORD>(s.bpp);
        ds.dsBm.bmBits = bm->isDib ? s.bits : nullptr;
        ds.dsBmih.biWidth = s.width;
        ds.dsBmih.biHeight = s.topDown ? -s.height : s.height;
        ds.dsBmih.biBitCount = static_cast<WORD>(s.bpp);
        ds.dsBmih.biSizeImage = static_cast<DWORD>(s.stride * s.height);
        int full = bm->isDib ? static_cast<int>(sizeof(DIBSECTION)) : static_cast<int>(sizeof(BITMAP));
        if (!out) return full;
        if (size >= static_cast<int>(sizeof(DIBSECTION)) && bm->isDib) {
            std::memcpy(out, &ds, sizeof(DIBSECTION));
            return sizeof(DIBSECTION);
        }
        if (size >= static_cast<int>(sizeof(BITMAP))) {
            std::memcpy(out, &ds.dsBm, sizeof(BITMAP));
            return sizeof(BITMAP);
        }
        return 0;
    }
    case ObjKind::Brush: {
        auto b = std::static_pointer_cast<BrushObj>(o);
        if (!out) return sizeof(LOGBRUSH);
        if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
        LOGBRUSH lb;
        lb.lbStyle = b->style;
        lb.lbColor = b->color;
        std::memcpy(out, &lb, sizeof lb);
        return sizeof lb;
    }
    case ObjKind::Pen: {
        auto p = std::static_pointer_cast<PenObj>(o);
        if (!out) return sizeof(LOGPEN);
        if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
        LOGPEN lp;
        lp.lopnStyle = static_cast<UINT>(p->style);
        lp.lopnWidth.x = p->width;
        lp.lopnColor = p->color;
        std::memcpy(out, &lp, sizeof lp);
        return sizeof lp;
    }
    case ObjKind::Font: {
        auto f = std::static_pointer_cast<FontObj>(o);
        if (!out) return sizeof(LOGFONTW);
        int n = std::min<int>(size, sizeof(LOGFONTW));
        std::memcpy(out, &f->lf, static_cast<size_t>(n));
        return n;
    }
    default: return 0;
    }
}
