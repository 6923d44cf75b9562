// The region functions over region handles (CreateRectRgn, CombineRgn, ExtCreateRegion ...).
#include <cstring>

#include "platform/win/gdi_api.h"
#include "platform/win/gdi_objects.h"

using namespace vxwin;

namespace {
HRGN NewRegion(Region r)
{
    auto o = std::make_shared<RegionObj>();
    o->rgn = std::move(r);
    return Register<HRGN>(o);
}
}  // namespace

HRGN CreateRectRgn(int l, int t, int r, int b)
{
    RECT rc{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    return NewRegion(Region(rc));
}

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }

HRGN ExtCreateRegion(const void* xform, DWORD count, const RGNDATA* data)
{
    if (!data || xform || count < sizeof(RGNDATAHEADER)) return nullptr;
    const auto& h = data->rdh;
    if (h.dwSize < sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
    if (static_cast<std::uint64_t>(h.nCount) * sizeof(RECT) + h.dwSize > count) return nullptr;
    const auto* bytes = reinterpret_cast<const char*>(data) + h.dwSize;
    std::vector<RECT> rects(h.nCount);
    if (h.nCount) std::memcpy(rects.data(), bytes, h.nCount * sizeof(RECT));
    return NewRegion(Region::FromRects(rects.data(), rects.size()));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    auto d = Lookup<RegionObj>(dst);
    auto a = Lookup<RegionObj>(src1);
    if (!d || !a) return ERROR;
    if (mode == RGN_COPY) {
        d->rgn = a->rgn;
        return d->rgn.Kind();
    }
    auto b = Lookup<RegionObj>(src2);
    if (!b) return ERROR;
    Region::Op op;
    switch (mode) {
    case RGN_AND: op = Region::Op::And; break;
    case RGN_OR: op = Region::Op::Or; break;
    case RGN_XOR: op = Region::Op::Xor; break;
    case RGN_DIFF: op = Region::Op::Diff; break;
    default: return ERROR;
    }
    d->rgn = Region::Combine(a->rgn, b->rgn, op);
    return d->rgn.Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    auto r = Lookup<RegionObj>(rgn);
    if (!r) return ERROR;
    r->rgn.Offset(dx, dy);
    return r->rgn.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    auto r = Lookup<RegionObj>(rgn);
    return r && r->rgn.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rc)
{
    auto r = Lookup<RegionObj>(rgn);
    return r && rc && r->rgn.IntersectsRect(*rc) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    auto ra = Lookup<RegionObj>(a);
    auto rb = Lookup<RegionObj>(b);
    if (!ra || !rb) return ERROR;
    return ra->rgn == rb->rgn ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, RECT* out)
{
    auto r = Lookup<RegionObj>(rgn);
    if (!r || !out) return ERROR;
    *out = r->rgn.Bounds();
    return r->rgn.Kind();
}

BOOL SetRectRgn(HRGN rgn, int l, int t, int r, int b)
{
    auto o = Lookup<RegionObj>(rgn);
    if (!o) return FALSE;
    o->rgn = Region(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
    return TRUE;
}

DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* data)
{
    auto r = Lookup<RegionObj>(rgn);
    if (!r) return 0;
    auto rects = r->rgn.Rects();
    DWORD need = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data) return need;
    if (size < need) return 0;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = r->rgn.Bounds();
    if (!rects.empty())
        std::memcpy(reinterpret_cast<char*>(data) + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
    return need;
}
