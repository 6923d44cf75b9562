// Region: an area of the plane held as horizontal bands of x-intervals (right and bottom exclusive).
// Internal to platform/win: the region API (region_api.cpp), DC clipping, window shapes, update
// regions and visible-region computation all work on it.
#pragma once

#include <vector>

#include "platform/win/win_types.h"

namespace vxwin {

class Region {
public:
    struct Band {
        int top = 0;
        int bottom = 0;
        std::vector<int> xs;  // pairs [x0, x1), sorted, neither overlapping nor touching
    };

    Region() = default;
    explicit Region(const RECT& r);
    static Region FromRects(const RECT* rects, size_t count);

    bool IsEmpty() const { return bands_.empty(); }
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool IntersectsRect(const RECT& r) const;
    bool operator==(const Region& o) const;
    // The region as rectangles in band order (top to bottom, left to right).
    std::vector<RECT> Rects() const;
    size_t RectCount() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;

    void Offset(int dx, int dy);
    void Clear() { bands_.clear(); }

    enum class Op { And, Or, Xor, Diff };
    static Region Combine(const Region& a, const Region& b, Op op);
    Region Intersect(const RECT& r) const { return Combine(*this, Region(r), Op::And); }
    Region Intersect(const Region& r) const { return Combine(*this, r, Op::And); }
    Region Union(const Region& r) const { return Combine(*this, r, Op::Or); }
    Region Subtract(const Region& r) const { return Combine(*this, r, Op::Diff); }

    const std::vector<Band>& Bands() const { return bands_; }

private:
    void AppendBand(int top, int bottom, std::vector<int>&& xs);
    std::vector<Band> bands_;
};

inline bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT RectIntersect(const RECT& a, const RECT& b)
{
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
           a.bottom < b.bottom ? a.bottom : b.bottom};
    if (RectEmpty(r)) return RECT{0, 0, 0, 0};
    return r;
}
inline RECT RectOffset(RECT r, int dx, int dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

}  // namespace vxwin
