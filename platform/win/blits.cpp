// Blits between device contexts and from DIB memory: BitBlt, StretchBlt, PatBlt, TransparentBlt,
// AlphaBlend, SetDIBitsToDevice, StretchDIBits, GetDIBits, SetDIBits. One stretch rule everywhere
// (see gdi_api.h).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"

namespace vxwin {
std::vector<std::uint32_t> PaletteFromInfo(const BITMAPINFO* bmi);
}

using namespace vxwin;

namespace {

struct Source {
    std::shared_ptr<Surface> keep;
    Surface* s = nullptr;
    int ox = 0, oy = 0;
    COLORREF bk = 0xFFFFFF;
};

bool PrepareSource(DcObj& dc, Source& src)
{
    Target t;
    if (!PrepareTarget(dc, t)) return false;
    src.keep = t.keep;
    src.s = t.s;
    src.ox = t.ox;
    src.oy = t.oy;
    src.bk = ResolveColor(dc.st.bkColor);
    return true;
}

// Map of destination positions (0 .. d-1) to source positions (0 .. s-1).
std::vector<int> AxisMap(int d, int s, bool mirror)
{
    std::vector<int> m(static_cast<size_t>(d));
    if (d == s) {
        for (int k = 0; k < d; ++k) m[k] = k;
    } else if (d <= 1) {
        if (d == 1) m[0] = (s - 1) / 2;
    } else {
        // The scale is held as a 32-bit float and multiplied in double precision (3.3333333f * 3
        // gives 9.99999976, truncated to 9).
        float scale = static_cast<float>(s - 1) / static_cast<float>(d - 1);
        for (int k = 0; k < d; ++k) {
            int v = static_cast<int>(static_cast<double>(k) * static_cast<double>(scale));
            m[k] = std::min(v, s - 1);
        }
    }
    if (mirror) std::reverse(m.begin(), m.end());
    return m;
}

// Normalizes a signed extent: a negative extent e at p covers [p + e + 1, p + 1).
void NormalizeExtent(int& p, int& e, bool& neg)
{
    neg = e < 0;
    if (neg) {
        p = p + e + 1;
        e = -e;
    }
}

// Walks the destination rectangle (surface coordinates) inside the clip and calls op(dstX, dstY,
// srcX, srcY) for each pixel whose source lies inside the source surface.
template <class F>
void ForEachMapped(const Target& t, const RECT& dst, const std::vector<int>& cols, const std::vector<int>& rows,
                   int srcLeft, int srcTop, int srcW, int srcH, F&& op)
{
    RECT area = RectIntersect(dst, t.clip.Bounds());
    if (RectEmpty(area)) return;
    for (auto& band : t.clip.Bands()) {
        if (band.bottom <= area.top) continue;
        if (band.top >= area.bottom) break;
        int y0 = std::max<int>(band.top, area.top), y1 = std::min<int>(band.bottom, area.bottom);
        for (size_t k = 0; k < band.xs.size(); k += 2) {
            int x0 = std::max<int>(band.xs[k], area.left), x1 = std::min<int>(band.xs[k + 1], area.right);
            if (x0 >= x1) continue;
            for (int y = y0; y < y1; ++y) {
                int sy = srcTop + rows[y - dst.top];
                if (sy < 0 || sy >= srcH) continue;
                for (int x = x0; x < x1; ++x) {
                    int sx = srcLeft + cols[x - dst.left];
                    if (sx < 0 || sx >= srcW) continue;
                    op(x, y, sx, sy);
                }
            }
        }
    }
    NoteDrawn(t, area);
}

std::uint32_t Rop3(DWORD rop, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    unsigned code = (rop >> 16) & 0xFF;
    switch (code) {
    case 0xCC: return s;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFF;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x33: return ~s;
    case 0x55: return ~d;
    case 0xF0: return p;
    case 0x5A: return p ^ d;
    case 0xAA: return d;
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        std::uint32_t m = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        r |= m;
    }
    return r;
}

bool RopUsesSource(DWORD rop)
{
    unsigned c = (rop >> 16) & 0xFF;
    return ((c >> 2) & 0x33) != (c & 0x33);
}
bool RopUsesPattern(DWORD rop)
{
    unsigned c = (rop >> 16) & 0xFF;
    return ((c >> 4) & 0x0F) != (c & 0x0F);
}

std::uint32_t PatternAt(const DcObj& dc, int x, int y)
{
    const auto& b = dc.st.brush;
    if (!b || b->style == BS_NULL) return 0;
    if (b->style == BS_PATTERN && b->pattern) {
        auto& p = *b->pattern;
        return p.GetPixel(((x % p.width) + p.width) % p.width, ((y % p.height) + p.height) % p.height) & 0xFFFFFF;
    }
    COLORREF c = b->color == 0xFFFFFFFF ? dc.st.dcBrushColor : b->color;
    return ColorRefToArgb(ResolveColor(c));
}

// Source pixel as 0xAARRGGBB, with monochrome sources turned into the destination DC's colours.
struct SourceReader {
    const Surface* s;
    bool monoToColor;
    std::uint32_t fg, bg;
    std::uint32_t operator()(int x, int y) const
    {
        if (s->bpp == 32) return s->Row32(y)[x];
        if (monoToColor) {
            unsigned bit = (s->Row(y)[x / 8] >> (7 - (x & 7))) & 1;
            return bit ? bg : fg;
        }
        return s->GetPixel(x, y);
    }
};

struct BlitGeometry {
    RECT dst;  // surface coordinates
    std::vector<int> cols, rows;
    int srcLeft = 0, srcTop = 0;
};

// Builds the geometry of a (stretch) blit from logical coordinates; false when nothing is drawn.
bool Geometry(const Target& t, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy, BlitGeometry& g)
{
    bool dnx, dny, snx, sny;
    NormalizeExtent(x, cx, dnx);
    NormalizeExtent(y, cy, dny);
    NormalizeExtent(sx, scx, snx);
    NormalizeExtent(sy, scy, sny);
    if (cx == 0 || cy == 0 || scx == 0 || scy == 0) return false;
    g.dst = RECT{x + t.ox, y + t.oy, x + t.ox + cx, y + t.oy + cy};
    g.cols = AxisMap(cx, scx, dnx != snx);
    g.rows = AxisMap(cy, scy, dny != sny);
    g.srcLeft = sx;
    g.srcTop = sy;
    return true;
}

BOOL DoBlit(HDC hdst, int x, int y, int cx, int cy, HDC hsrc, int xs, int ys, int cxs, int cys, DWORD rop)
{
    auto dd = LookupDc(hdst);
    if (!dd) return FALSE;
    Target t;
    if (!PrepareTarget(*dd, t)) return dd->type == DcType::Screen ? TRUE : FALSE;
    bool useSrc = RopUsesSource(rop);
    Source src;
    if (useSrc) {
        auto sd = LookupDc(hsrc);
        if (!sd) return FALSE;
        if (!PrepareSource(*sd, src)) return sd->type == DcType::Screen ? TRUE : FALSE;
    }
    if (!useSrc) {
        cxs = cx;
        cys = cy;
    }
    BlitGeometry g;
    if (!Geometry(t, x, y, cx, cy, xs + src.ox, ys + src.oy, cxs, cys, g)) return TRUE;
    if (!useSrc) {
        std::uint32_t fill = 0;
        bool solid = dd->st.brush && dd->st.brush->style == BS_SOLID;
        if (solid) fill = PatternAt(*dd, 0, 0);
        RECT area = RectIntersect(g.dst, t.clip.Bounds());
        if (RectEmpty(area)) return TRUE;
        for (auto& band : t.clip.Bands()) {
            if (band.bottom <= area.top) continue;
            if (band.top >= area.bottom) break;
            for (int yy = std::max<int>(band.top, area.top); yy < std::min<int>(band.bottom, area.bottom); ++yy)
                for (size_t k = 0; k < band.xs.size(); k += 2)
                    for (int xx = std::max<int>(band.xs[k], area.left); xx < std::min<int>(band.xs[k + 1], area.right);
                         ++xx) {
                        std::uint32_t p = solid ? fill : PatternAt(*dd, xx - t.origin.x, yy - t.origin.y);
                        std::uint32_t d = t.s->GetPixel(xx, yy);
                        t.s->SetPixel(xx, yy, Rop3(rop, p, 0, d) & 0xFFFFFF);
                    }
        }
        NoteDrawn(t, area);
        return TRUE;
    }
    bool sameSurface = src.s == t.s;
    if (sameSurface && (rop >> 16 & 0xFF) == 0xCC && t.s->bpp == 32 && cxs == cx && cys == cy && cx > 0 && cy > 0) {
        // An unscaled copy within one surface (scrolling a bitmap, moving a window's pixels):
        // moved in place, in the order the overlap needs.
        RECT srcRect = RectIntersect(RECT{g.srcLeft, g.srcTop, g.srcLeft + cx, g.srcTop + cy},
                                     RECT{0, 0, src.s->width, src.s->height});
        int dx = g.dst.left - g.srcLeft, dy = g.dst.top - g.srcTop;
        Region target = t.clip.Intersect(RectIntersect(g.dst, RectOffset(srcRect, dx, dy)));
        MoveWithin(*t.s, target, dx, dy);
        if (!target.IsEmpty()) NoteDrawn(t, target.Bounds());
        return TRUE;
    }
    if (sameSurface) {
        // Other blits within one surface read from a copy of the source rectangle alone.
        int sw = static_cast<int>(g.cols.empty() ? 0 : *std::max_element(g.cols.begin(), g.cols.end())) + 1;
        int sh = static_cast<int>(g.rows.empty() ? 0 : *std::max_element(g.rows.begin(), g.rows.end())) + 1;
        RECT part = RectIntersect(RECT{g.srcLeft, g.srcTop, g.srcLeft + sw, g.srcTop + sh},
                                  RECT{0, 0, src.s->width, src.s->height});
        if (RectEmpty(part)) return TRUE;
        auto copy = std::make_shared<Surface>();
        if (!copy->Allocate(part.right - part.left, part.bottom - part.top, src.s->bpp, true)) return FALSE;
        copy->palette = src.s->palette;
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                copy->SetPixel(x - part.left, y - part.top, src.s->GetPixel(x, y));
        src.keep = copy;
        src.s = copy.get();
        g.srcLeft -= part.left;
        g.srcTop -= part.top;
    }
    SourceReader rd{src.s, src.s->bpp == 1 && t.s->bpp != 1, ColorRefToArgb(ResolveColor(dd->st.textColor)),
                    ColorRefToArgb(ResolveColor(dd->st.bkColor))};
    unsigned code = (rop >> 16) & 0xFF;
    bool usePat = RopUsesPattern(rop);
    std::uint32_t pat = usePat ? PatternAt(*dd, 0, 0) : 0;
    std::uint32_t srcBk = ColorRefToArgb(src.bk) & 0xFFFFFF;
    bool identity = g.cols.size() == static_cast<size_t>(cxs < 0 ? -cxs : cxs) &&
                    g.rows.size() == static_cast<size_t>(cys < 0 ? -cys : cys) &&
                    (g.cols.empty() || g.cols.front() == 0) && (g.rows.empty() || g.rows.front() == 0);
    if (code == 0xCC && t.s->bpp == 32 && src.s->bpp == 32 && identity && !g.cols.empty() &&
        g.cols.back() == static_cast<int>(g.cols.size()) - 1 && g.rows.back() == static_cast<int>(g.rows.size()) - 1) {
        // Unscaled copy: whole runs per row, source clipped to its surface.
        RECT area = RectIntersect(g.dst, t.clip.Bounds());
        for (auto& band : t.clip.Bands()) {
            if (band.bottom <= area.top) continue;
            if (band.top >= area.bottom) break;
            for (size_t k = 0; k < band.xs.size(); k += 2) {
                int x0 = std::max<int>(band.xs[k], area.left), x1 = std::min<int>(band.xs[k + 1], area.right);
                int sx0 = g.srcLeft + (x0 - g.dst.left), sx1 = g.srcLeft + (x1 - g.dst.left);
                if (sx0 < 0) {
                    x0 -= sx0;
                    sx0 = 0;
                }
                if (sx1 > src.s->width) x1 -= sx1 - src.s->width;
                if (x0 >= x1) continue;
                for (int y = std::max<int>(band.top, area.top); y < std::min<int>(band.bottom, area.bottom); ++y) {
                    int sy = g.srcTop + (y - g.dst.top);
                    if (sy < 0 || sy >= src.s->height) continue;
                    std::memmove(t.s->Row32(y) + x0, src.s->Row32(sy) + g.srcLeft + (x0 - g.dst.left),
                                 static_cast<size_t>(x1 - x0) * 4);
                }
            }
        }
        NoteDrawn(t, area);
        return TRUE;
    }
    if (code == 0xCC && t.s->bpp == 32 && src.s->bpp == 32) {
        ForEachMapped(t, g.dst, g.cols, g.rows, g.srcLeft, g.srcTop, src.s->width, src.s->height,
                      [&](int dx, int dy, int sx, int sy) { t.s->Row32(dy)[dx] = src.s->Row32(sy)[sx]; });
        return TRUE;
    }
    ForEachMapped(t, g.dst, g.cols, g.rows, g.srcLeft, g.srcTop, src.s->width, src.s->height,
                  [&](int dx, int dy, int sx, int sy) {
                      std::uint32_t s = rd(sx, sy);
                      if (t.s->bpp == 1 && src.s->bpp != 1) s = ((s & 0xFFFFFF) == srcBk) ? 0xFFFFFF : 0;
                      std::uint32_t d = t.s->GetPixel(dx, dy);
                      std::uint32_t r = Rop3(rop, pat, s, d);
                      if (code != 0xCC)
                          r = (r & 0xFFFFFF) | (code == 0x88 || code == 0xEE || code == 0x66 ? (s & 0xFF000000) : 0);
                      t.s->SetPixel(dx, dy, r);
                  });
    return TRUE;
}

// A surface over caller memory laid out as the DIB described by bmi (not owned).
bool DibView(const BITMAPINFO* bmi, const void* bits, Surface& view, std::vector<std::uint32_t>& pal)
{
    if (!bmi || !bits) return false;
    const auto& h = bmi->bmiHeader;
    if (h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) return false;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    view.width = h.biWidth;
    view.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    view.bpp = bpp;
    view.stride = Surface::StrideFor(view.width, bpp);
    view.topDown = h.biHeight < 0;
    view.bits = static_cast<std::uint8_t*>(const_cast<void*>(bits));
    pal = PaletteFromInfo(bmi);
    view.palette = pal;
    return true;
}

// Source y of a DIB given with the lower-left origin (bottom-up DIBs), turned to top-down rows.
void DibSourceRows(const Surface& v, int& ys, int& cys)
{
    if (v.topDown) return;
    if (cys > 0) {
        ys = v.height - ys - cys;
    } else {
        // A negative extent stays negative (mirrored): the same rows counted from the top.
        ys = v.height - 2 - ys - cys;
    }
}

int DrawDib(HDC hdc, int x, int y, int cx, int cy, Surface& view, int xs, int ys, int cxs, int cys, DWORD rop)
{
    auto dd = LookupDc(hdc);
    if (!dd) return 0;
    Target t;
    if (!PrepareTarget(*dd, t)) return 0;
    DibSourceRows(view, ys, cys);
    BlitGeometry g;
    if (!Geometry(t, x, y, cx, cy, xs, ys, cxs, cys, g)) return 0;
    unsigned code = (rop >> 16) & 0xFF;
    ForEachMapped(t, g.dst, g.cols, g.rows, g.srcLeft, g.srcTop, view.width, view.height,
                  [&](int dx, int dy, int sx, int sy) {
                      std::uint32_t s = view.GetPixel(sx, sy);
                      if (code == 0xCC)
                          t.s->SetPixel(dx, dy, s);
                      else
                          t.s->SetPixel(dx, dy, Rop3(rop, 0, s, t.s->GetPixel(dx, dy)) & 0xFFFFFF);
                  });
    return 1;
}

inline std::uint32_t Div255(std::uint32_t v) { return (v + 127) / 255; }

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop)
{
    return DoBlit(dst, x, y, cx, cy, src, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, DWORD rop)
{
    return DoBlit(dst, x, y, cx, cy, src, xs, ys, cxs, cys, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop)
{
    if (RopUsesSource(rop)) return FALSE;
    return DoBlit(hdc, x, y, cx, cy, nullptr, 0, 0, cx, cy, rop);
}

BOOL TransparentBlt(HDC hdst, int x, int y, int cx, int cy, HDC hsrc, int xs, int ys, int cxs, int cys, UINT key)
{
    auto dd = LookupDc(hdst);
    auto sd = LookupDc(hsrc);
    if (!dd || !sd || cx < 0 || cy < 0 || cxs < 0 || cys < 0) return FALSE;
    Target t;
    Source src;
    if (!PrepareTarget(*dd, t) || !PrepareSource(*sd, src)) return FALSE;
    BlitGeometry g;
    if (!Geometry(t, x, y, cx, cy, xs + src.ox, ys + src.oy, cxs, cys, g)) return TRUE;
    std::uint32_t k = ColorRefToArgb(ResolveColor(key)) & 0xFFFFFF;
    ForEachMapped(t, g.dst, g.cols, g.rows, g.srcLeft, g.srcTop, src.s->width, src.s->height,
                  [&](int dx, int dy, int sx, int sy) {
                      std::uint32_t s = src.s->GetPixel(sx, sy) & 0xFFFFFF;
                      if (s != k) t.s->SetPixel(dx, dy, s | 0xFF000000);
                  });
    return TRUE;
}

BOOL AlphaBlend(HDC hdst, int x, int y, int cx, int cy, HDC hsrc, int xs, int ys, int cxs, int cys, BLENDFUNCTION bf)
{
    auto dd = LookupDc(hdst);
    auto sd = LookupDc(hsrc);
    if (!dd || !sd || bf.BlendOp != AC_SRC_OVER || cx < 0 || cy < 0 || cxs < 0 || cys < 0) return FALSE;
    Target t;
    Source src;
    if (!PrepareTarget(*dd, t) || !PrepareSource(*sd, src)) return FALSE;
    if ((bf.AlphaFormat & AC_SRC_ALPHA) && src.s->bpp != 32) return FALSE;
    if (xs + src.ox < 0 || ys + src.oy < 0 || xs + src.ox + cxs > src.s->width || ys + src.oy + cys > src.s->height)
        return FALSE;
    BlitGeometry g;
    if (!Geometry(t, x, y, cx, cy, xs + src.ox, ys + src.oy, cxs, cys, g)) return TRUE;
    const std::uint32_t sca = bf.SourceConstantAlpha;
    const bool perPixel = bf.AlphaFormat & AC_SRC_ALPHA;
    ForEachMapped(t, g.dst, g.cols, g.rows, g.srcLeft, g.srcTop, src.s->width, src.s->height,
                  [&](int dx, int dy, int sx, int sy) {
                      std::uint32_t s = src.s->GetPixel(sx, sy), d = t.s->GetPixel(dx, dy);
                      std::uint32_t out = 0;
                      if (perPixel) {
                          // Premultiplied source: Dst = Src * SCA + Dst * (1 - SrcAlpha * SCA).
                          std::uint32_t sa = Div255((s >> 24) * sca);
                          for (int sh = 0; sh <= 24; sh += 8) {
                              std::uint32_t sc = Div255(((s >> sh) & 255) * sca), dc = (d >> sh) & 255;
                              std::uint32_t v = sc + Div255(dc * (255 - sa));
                              out |= std::min<std::uint32_t>(v, 255) << sh;
                          }
                      } else {
                          for (int sh = 0; sh <= 24; sh += 8) {
                              std::uint32_t sc = (s >> sh) & 255, dc = (d >> sh) & 255;
                              out |= Div255(sc * sca + dc * (255 - sca)) << sh;
                          }
                      }
                      t.s->SetPixel(dx, dy, out);
                  });
    return TRUE;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* bmi, UINT)
{
    Surface view;
    std::vector<std::uint32_t> pal;
    if (!DibView(bmi, bits, view, pal)) return 0;
    // Banded calls (startScan/lines) address part of the image: only whole images are used here.
    if (startScan != 0 || lines < static_cast<UINT>(view.height)) {
        if (view.topDown) return 0;
        view.height = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(view.height)));
        ySrc -= static_cast<int>(startScan);
    }
    if (!DrawDib(hdc, xDest, yDest, static_cast<int>(w), static_cast<int>(h), view, xSrc, ySrc, static_cast<int>(w),
                 static_cast<int>(h), SRCCOPY))
        return 0;
    return view.height;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destW, int destH, int xSrc, int ySrc, int srcW, int srcH,
                  const void* bits, const BITMAPINFO* bmi, UINT, DWORD rop)
{
    Surface view;
    std::vector<std::uint32_t> pal;
    if (!DibView(bmi, bits, view, pal)) return 0;
    if (!DrawDib(hdc, xDest, yDest, destW, destH, view, xSrc, ySrc, srcW, srcH, rop)) return 0;
    return view.height;
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT)
{
    auto bm = Lookup<BitmapObj>(hbm);
    if (!bm || !bmi || !LookupDc(hdc)) return 0;
    const Surface& s = *bm->surface;
    auto& h = bmi->bmiHeader;
    if (!bits) {
        // Fill in the format of the bitmap.
        h.biSize = 40;
        h.biWidth = s.width;
        h.biHeight = s.height;
        h.biPlanes = 1;
        if (h.biBitCount == 0) h.biBitCount = static_cast<WORD>(s.bpp);
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(Surface::StrideFor(s.width, h.biBitCount) * s.height);
        return s.height;
    }
    Surface view;
    std::vector<std::uint32_t> pal;
    if (h.biWidth != s.width) h.biWidth = s.width;
    if (!DibView(bmi, bits, view, pal)) return 0;
    if (view.bpp <= 8) {
        // Gray or given palette: keep the caller's colour table.
        if (view.palette.empty()) return 0;
    }
    int n = 0;
    for (UINT i = start;
         i < start + lines && static_cast<int>(i) < s.height && static_cast<int>(i - start) < view.height; ++i) {
        // Scan line i counts from the bottom for bottom-up requests and from the top otherwise.
        int srcRow = view.topDown ? static_cast<int>(i) : s.height - 1 - static_cast<int>(i);
        int dstRow = view.topDown ? static_cast<int>(i - start) : view.height - 1 - static_cast<int>(i - start);
        if (s.bpp == 32 && view.bpp == 32) {
            std::memcpy(view.Row(dstRow), s.Row(srcRow), static_cast<size_t>(s.width) * 4);
        } else {
            for (int x = 0; x < s.width; ++x) view.SetPixel(x, dstRow, s.GetPixel(x, srcRow));
        }
        ++n;
    }
    return n;
}

int SetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT)
{
    auto bm = Lookup<BitmapObj>(hbm);
    if (!bm) return 0;
    Surface view;
    std::vector<std::uint32_t> pal;
    if (!DibView(bmi, bits, view, pal) || view.width != bm->surface->width) return 0;
    Surface& s = *bm->surface;
    int n = 0;
    for (UINT i = start;
         i < start + lines && static_cast<int>(i) < s.height && static_cast<int>(i - start) < view.height; ++i) {
        int dstRow = view.topDown ? static_cast<int>(i) : s.height - 1 - static_cast<int>(i);
        int srcRow = view.topDown ? static_cast<int>(i - start) : view.height - 1 - static_cast<int>(i - start);
        for (int x = 0; x < s.width; ++x) s.SetPixel(x, dstRow, view.GetPixel(x, srcRow));
        ++n;
    }
    return n;
}
