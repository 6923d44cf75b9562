// Fills, frames, lines, polygons, rectangles, ellipses and pixels, plus the rectangle helpers.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"

using namespace vxwin;

namespace {

struct Drawing {
    std::shared_ptr<DcObj> dc;
    Target t;
    bool ok = false;
};

Drawing Begin(HDC hdc)
{
    Drawing d;
    d.dc = LookupDc(hdc);
    if (d.dc) d.ok = PrepareTarget(*d.dc, d.t);
    return d;
}

// A brush handle may also be a system colour index plus one, as window classes use it.
bool BrushColor(HBRUSH brush, const DcObj* dc, std::uint32_t& argb, std::shared_ptr<BrushObj>& obj)
{
    auto v = reinterpret_cast<std::uintptr_t>(brush);
    if (v > 0 && v <= 31) {
        argb = ColorRefToArgb(GetSysColor(static_cast<int>(v - 1)));
        return true;
    }
    obj = Lookup<BrushObj>(brush);
    if (!obj || obj->style == BS_NULL) return false;
    COLORREF c = obj->color == 0xFFFFFFFF && dc ? dc->st.dcBrushColor : obj->color;
    argb = ColorRefToArgb(ResolveColor(c));
    return true;
}

void FillWithBrush(const Target& t, const RECT& surfRect, HBRUSH brush, const DcObj* dc, int rop2)
{
    std::uint32_t argb = 0;
    std::shared_ptr<BrushObj> obj;
    if (!BrushColor(brush, dc, argb, obj)) return;
    if (obj && obj->style == BS_PATTERN && obj->pattern) {
        auto& p = *obj->pattern;
        RECT area = RectIntersect(surfRect, t.clip.Bounds());
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                int px = ((x - t.origin.x) % p.width + p.width) % p.width,
                    py = ((y - t.origin.y) % p.height + p.height) % p.height;
                PutPixelClipped(t, x, y, p.GetPixel(px, py) & 0xFFFFFF, rop2);
            }
        NoteDrawn(t, area);
        return;
    }
    FillClipped(t, surfRect, argb, rop2);
}

RECT ToSurface(const Target& t, const RECT& r) { return RectOffset(r, t.ox, t.oy); }

std::uint32_t PenArgb(const DcObj& dc)
{
    COLORREF c = dc.st.pen->color == 0xFFFFFFFF ? dc.st.dcPenColor : dc.st.pen->color;
    return ColorRefToArgb(ResolveColor(c));
}

bool PenVisible(const DcObj& dc) { return dc.st.pen && dc.st.pen->style != PS_NULL; }

void PenPixel(const Drawing& d, int x, int y, int step)
{
    const PenObj& pen = *d.dc->st.pen;
    if (pen.style == PS_DOT && (step & 1)) return;
    if (pen.style == PS_DASH && (step % 24) >= 18) return;
    std::uint32_t c = PenArgb(*d.dc);
    int w = pen.width;
    if (w <= 1) {
        PutPixelClipped(d.t, x, y, c, d.dc->st.rop2);
        return;
    }
    int h0 = -(w - 1) / 2;
    for (int yy = 0; yy < w; ++yy)
        for (int xx = 0; xx < w; ++xx) PutPixelClipped(d.t, x + h0 + xx, y + h0 + yy, c, d.dc->st.rop2);
}

// Bresenham from (x0, y0) towards (x1, y1), the end pixel excluded; surface coordinates.
void DrawLine(const Drawing& d, int x0, int y0, int x1, int y1)
{
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy, step = 0;
    RECT touched{std::min(x0, x1) - 8, std::min(y0, y1) - 8, std::max(x0, x1) + 9, std::max(y0, y1) + 9};
    while (x0 != x1 || y0 != y1) {
        PenPixel(d, x0, y0, step++);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    NoteDrawn(d.t, touched);
}

// A filled shape given as one inclusive span per row (surface coordinates); the outline is the set
// of shape pixels with a 4-neighbour outside the shape, drawn with the pen, the rest with the brush.
void DrawSpans(const Drawing& d, int top, const std::vector<std::pair<int, int>>& spans)
{
    auto inside = [&](int x, int y) {
        int i = y - top;
        if (i < 0 || i >= static_cast<int>(spans.size())) return false;
        return spans[i].first <= x && x <= spans[i].second;
    };
    bool pen = PenVisible(*d.dc);
    bool brush = d.dc->st.brush && d.dc->st.brush->style != BS_NULL;
    std::uint32_t pc = pen ? PenArgb(*d.dc) : 0;
    std::uint32_t bc = 0;
    std::shared_ptr<BrushObj> bo;
    if (brush) brush = BrushColor(reinterpret_cast<HBRUSH>(d.dc->st.brush->handle), d.dc.get(), bc, bo);
    RECT touched{};
    for (int i = 0; i < static_cast<int>(spans.size()); ++i) {
        int y = top + i;
        for (int x = spans[i].first; x <= spans[i].second; ++x) {
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && pen)
                PutPixelClipped(d.t, x, y, pc, d.dc->st.rop2);
            else if (brush || (edge && !pen && brush))
                PutPixelClipped(d.t, x, y, bc, d.dc->st.rop2);
        }
        if (spans[i].first <= spans[i].second) {
            RECT r{spans[i].first, y, spans[i].second + 1, y + 1};
            touched = RectEmpty(touched) ? r
                                         : RECT{std::min(touched.left, r.left), std::min(touched.top, r.top),
                                                std::max(touched.right, r.right), std::max(touched.bottom, r.bottom)};
        }
    }
    NoteDrawn(d.t, touched);
}

// Pixels whose centres lie inside the ellipse inscribed in [l, r) x [t, b), one span per row.
std::vector<std::pair<int, int>> EllipseSpans(int l, int t, int r, int b)
{
    std::vector<std::pair<int, int>> spans;
    double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    double a = (r - l) / 2.0, bb = (b - t) / 2.0;
    for (int y = t; y < b; ++y) {
        double dy = (y + 0.5 - cy) / bb;
        double k = 1.0 - dy * dy;
        if (k < 0) {
            spans.emplace_back(1, 0);
            continue;
        }
        double half = a * std::sqrt(k);
        int xl = std::max(l, static_cast<int>(std::ceil(cx - half - 0.5 - 1e-9)));
        int xr = std::min(r - 1, static_cast<int>(std::floor(cx + half - 0.5 + 1e-9)));
        spans.emplace_back(xl, xr);
    }
    return spans;
}

}  // namespace

int FillRect(HDC hdc, const RECT* r, HBRUSH brush)
{
    auto d = Begin(hdc);
    if (!d.dc || !r) return 0;
    if (!d.ok) return d.dc->type == DcType::Screen;
    FillWithBrush(d.t, ToSurface(d.t, *r), brush, d.dc.get(), R2_COPYPEN);
    return 1;
}

int FrameRect(HDC hdc, const RECT* r, HBRUSH brush)
{
    auto d = Begin(hdc);
    if (!d.dc || !r) return 0;
    if (!d.ok || IsRectEmpty(r)) return 1;
    RECT s = ToSurface(d.t, *r);
    FillWithBrush(d.t, RECT{s.left, s.top, s.right, s.top + 1}, brush, d.dc.get(), R2_COPYPEN);
    FillWithBrush(d.t, RECT{s.left, s.bottom - 1, s.right, s.bottom}, brush, d.dc.get(), R2_COPYPEN);
    FillWithBrush(d.t, RECT{s.left, s.top, s.left + 1, s.bottom}, brush, d.dc.get(), R2_COPYPEN);
    FillWithBrush(d.t, RECT{s.right - 1, s.top, s.right, s.bottom}, brush, d.dc.get(), R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* r)
{
    auto d = Begin(hdc);
    if (!d.dc || !r) return FALSE;
    if (d.ok) FillClipped(d.t, ToSurface(d.t, *r), 0, R2_NOT);
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* r)
{
    auto d = Begin(hdc);
    if (!d.dc || !r) return FALSE;
    if (!d.ok) return TRUE;
    RECT s = ToSurface(d.t, *r);
    for (int x = s.left; x < s.right; x += 2) {
        PutPixelClipped(d.t, x, s.top, 0xFFFFFF, R2_XORPEN);
        PutPixelClipped(d.t, x, s.bottom - 1, 0xFFFFFF, R2_XORPEN);
    }
    for (int y = s.top + 2; y < s.bottom - 1; y += 2) {
        PutPixelClipped(d.t, s.left, y, 0xFFFFFF, R2_XORPEN);
        PutPixelClipped(d.t, s.right - 1, y, 0xFFFFFF, R2_XORPEN);
    }
    NoteDrawn(d.t, s);
    return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush)
{
    auto d = Begin(hdc);
    auto ro = Lookup<RegionObj>(rgn);
    if (!d.dc || !ro) return FALSE;
    if (!d.ok) return TRUE;
    Region r = ro->rgn;
    r.Offset(d.t.ox, d.t.oy);
    for (const RECT& rc : r.Rects()) FillWithBrush(d.t, rc, brush, d.dc.get(), R2_COPYPEN);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn)
{
    auto dc = LookupDc(hdc);
    if (!dc || !dc->st.brush) return FALSE;
    return FillRgn(hdc, rgn, reinterpret_cast<HBRUSH>(dc->st.brush->handle));
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h)
{
    auto ro = Lookup<RegionObj>(rgn);
    if (!ro || !LookupDc(hdc)) return FALSE;
    Region inner = ro->rgn;
    for (auto [dx, dy] : {std::pair{w, 0}, {-w, 0}, {0, h}, {0, -h}}) {
        Region o = ro->rgn;
        o.Offset(dx, dy);
        inner = inner.Intersect(o);
    }
    auto tmp = std::make_shared<RegionObj>();
    tmp->rgn = ro->rgn.Subtract(inner);
    HRGN frame = Register<HRGN>(tmp);
    BOOL ok = FillRgn(hdc, frame, brush);
    DeleteObject(frame);
    return ok;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old)
{
    auto dc = LookupDc(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.curPos;
    dc->st.curPos = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* p)
{
    auto dc = LookupDc(hdc);
    if (!dc || !p) return FALSE;
    *p = dc->st.curPos;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    auto d = Begin(hdc);
    if (!d.dc) return FALSE;
    POINT from = d.dc->st.curPos;
    d.dc->st.curPos = POINT{x, y};
    if (d.ok && PenVisible(*d.dc)) DrawLine(d, from.x + d.t.ox, from.y + d.t.oy, x + d.t.ox, y + d.t.oy);
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count)
{
    auto d = Begin(hdc);
    if (!d.dc || !pts || count < 2) return FALSE;
    if (!d.ok || !PenVisible(*d.dc)) return TRUE;
    for (int i = 0; i + 1 < count; ++i)
        DrawLine(d, pts[i].x + d.t.ox, pts[i].y + d.t.oy, pts[i + 1].x + d.t.ox, pts[i + 1].y + d.t.oy);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count)
{
    auto d = Begin(hdc);
    if (!d.dc || !pts || count < 2) return FALSE;
    if (!d.ok) return TRUE;
    // Interior by scanlines through pixel centres (even-odd or winding), then the closed outline.
    if (d.dc->st.brush && d.dc->st.brush->style != BS_NULL && count >= 3) {
        int ymin = pts[0].y, ymax = pts[0].y;
        for (int i = 1; i < count; ++i) {
            ymin = std::min<int>(ymin, pts[i].y);
            ymax = std::max<int>(ymax, pts[i].y);
        }
        std::uint32_t bc = 0;
        std::shared_ptr<BrushObj> bo;
        if (BrushColor(reinterpret_cast<HBRUSH>(d.dc->st.brush->handle), d.dc.get(), bc, bo)) {
            for (int y = ymin; y < ymax; ++y) {
                double yc = y + 0.5;
                std::vector<std::pair<double, int>> xs;
                for (int i = 0; i < count; ++i) {
                    const POINT& a = pts[i];
                    const POINT& b = pts[(i + 1) % count];
                    if ((a.y <= yc) == (b.y <= yc)) continue;
                    double x = a.x + (yc - a.y) * (b.x - a.x) / double(b.y - a.y);
                    xs.emplace_back(x, b.y > a.y ? 1 : -1);
                }
                std::sort(xs.begin(), xs.end());
                int wind = 0;
                for (size_t k = 0; k + 1 < xs.size(); ++k) {
                    wind += xs[k].second;
                    bool in = d.dc->st.polyFill == WINDING ? wind != 0 : (k % 2 == 0);
                    if (!in) continue;
                    int x0 = static_cast<int>(std::ceil(xs[k].first - 0.5)),
                        x1 = static_cast<int>(std::ceil(xs[k + 1].first - 0.5));
                    FillClipped(d.t, RECT{x0 + d.t.ox, y + d.t.oy, x1 + d.t.ox, y + 1 + d.t.oy}, bc, d.dc->st.rop2);
                }
            }
        }
    }
    if (PenVisible(*d.dc))
        for (int i = 0; i < count; ++i) {
            const POINT& a = pts[i];
            const POINT& b = pts[(i + 1) % count];
            DrawLine(d, a.x + d.t.ox, a.y + d.t.oy, b.x + d.t.ox, b.y + d.t.oy);
        }
    return TRUE;
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b)
{
    auto d = Begin(hdc);
    if (!d.dc) return FALSE;
    if (!d.ok) return TRUE;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    RECT s{l + d.t.ox, t + d.t.oy, r + d.t.ox, b + d.t.oy};
    int rop = d.dc->st.rop2;
    bool pen = PenVisible(*d.dc);
    if (d.dc->st.brush && d.dc->st.brush->style != BS_NULL) {
        // Without a pen the rectangle is one pixel smaller, as GDI draws it.
        RECT in = pen ? RECT{s.left + 1, s.top + 1, s.right - 1, s.bottom - 1}
                      : RECT{s.left, s.top, s.right - 1, s.bottom - 1};
        FillWithBrush(d.t, in, reinterpret_cast<HBRUSH>(d.dc->st.brush->handle), d.dc.get(), rop);
    }
    if (pen && s.right > s.left && s.bottom > s.top) {
        std::uint32_t c = PenArgb(*d.dc);
        int w = std::max(1, d.dc->st.pen->width);
        for (int i = 0; i < w; ++i) {
            FillClipped(d.t, RECT{s.left, s.top + i, s.right, s.top + i + 1}, c, rop);
            if (s.bottom - 1 - i > s.top + i)
                FillClipped(d.t, RECT{s.left, s.bottom - 1 - i, s.right, s.bottom - i}, c, rop);
            FillClipped(d.t, RECT{s.left + i, s.top + w, s.left + i + 1, s.bottom - w}, c, rop);
            if (s.right - 1 - i > s.left + i)
                FillClipped(d.t, RECT{s.right - 1 - i, s.top + w, s.right - i, s.bottom - w}, c, rop);
        }
    }
    return TRUE;
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b)
{
    auto d = Begin(hdc);
    if (!d.dc) return FALSE;
    if (!d.ok) return TRUE;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return TRUE;
    DrawSpans(d, t + d.t.oy, EllipseSpans(l + d.t.ox, t + d.t.oy, r + d.t.ox, b + d.t.oy));
    return TRUE;
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h)
{
    auto d = Begin(hdc);
    if (!d.dc) return FALSE;
    if (!d.ok) return TRUE;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    w = std::min(std::abs(w), r - l);
    h = std::min(std::abs(h), b - t);
    if (w < 2 || h < 2) return Rectangle(hdc, l, t, r, b);
    // Rows take the corner ellipse's extent near the top and bottom, the full width between.
    auto corner = EllipseSpans(0, 0, w, h);
    std::vector<std::pair<int, int>> spans;
    int ox = l + d.t.ox;
    for (int y = t; y < b; ++y) {
        int i = y - t, fromBottom = b - 1 - y;
        int ci = i < h / 2 ? i : (fromBottom < h / 2 ? h - 1 - fromBottom : -1);
        if (ci < 0)
            spans.emplace_back(ox, ox + (r - l) - 1);
        else {
            int inset = corner[ci].first;
            spans.emplace_back(ox + inset, ox + (r - l) - 1 - inset);
        }
    }
    DrawSpans(d, t + d.t.oy, spans);
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c)
{
    auto d = Begin(hdc);
    if (!d.dc || !d.ok) return CLR_INVALID;
    int sx = x + d.t.ox, sy = y + d.t.oy;
    if (!d.t.s->Inside(sx, sy) || !d.t.clip.Contains(sx, sy)) return CLR_INVALID;
    d.t.s->SetPixel(sx, sy, ColorRefToArgb(ResolveColor(c)));
    NoteDrawn(d.t, RECT{sx, sy, sx + 1, sy + 1});
    return ArgbToColorRef(d.t.s->GetPixel(sx, sy));
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y)
{
    auto d = Begin(hdc);
    if (!d.dc || !d.ok) return CLR_INVALID;
    int sx = x + d.t.ox, sy = y + d.t.oy;
    if (!d.t.s->Inside(sx, sy) || !d.t.clip.Contains(sx, sy)) return CLR_INVALID;
    return ArgbToColorRef(d.t.s->GetPixel(sx, sy));
}

// ---- rectangle helpers ----
BOOL SetRect(RECT* r, int l, int t, int rr, int b)
{
    if (!r) return FALSE;
    *r = RECT{l, t, rr, b};
    return TRUE;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL PtInRect(const RECT* r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b)
{
    if (!out || !a || !b) return FALSE;
    *out = RectIntersect(*a, *b);
    return !IsRectEmpty(out);
}
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b)
{
    if (!out || !a || !b) return FALSE;
    if (IsRectEmpty(a))
        *out = IsRectEmpty(b) ? RECT{} : *b;
    else if (IsRectEmpty(b))
        *out = *a;
    else
        *out = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                    std::max(a->bottom, b->bottom)};
    return !IsRectEmpty(out);
}
BOOL OffsetRect(RECT* r, int dx, int dy)
{
    if (!r) return FALSE;
    *r = RectOffset(*r, dx, dy);
    return TRUE;
}
BOOL InflateRect(RECT* r, int dx, int dy)
{
    if (!r) return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}
BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL CopyRect(RECT* dst, const RECT* src)
{
    if (!dst || !src) return FALSE;
    *dst = *src;
    return TRUE;
}
int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) return -1;
    long long p = static_cast<long long>(number) * numerator;
    long long q = denominator;
    if (q < 0) {
        p = -p;
        q = -q;
    }
    // Round half away from zero.
    long long r = p >= 0 ? (p + q / 2) / q : -((-p + q / 2) / q);
    if (r > INT32_MAX || r < INT32_MIN) return -1;
    return static_cast<int>(r);
}
