// Band-structured regions: construction, combination, tests. See region.h.
#include "platform/win/region.h"

#include <algorithm>

#include "platform/win/win_consts.h"

namespace vxwin {

namespace {

// Merges unsorted intervals into the canonical sorted, non-touching form.
void Normalize(std::vector<std::pair<int, int>>& iv, std::vector<int>& out)
{
    out.clear();
    std::sort(iv.begin(), iv.end());
    for (auto& [a, b] : iv) {
        if (b <= a) continue;
        if (!out.empty() && a <= out.back()) {
            if (b > out.back()) out.back() = b;
        } else {
            out.push_back(a);
            out.push_back(b);
        }
    }
}

bool InIntervals(const std::vector<int>* xs, size_t& k, int x)
{
    if (!xs) return false;
    while (k < xs->size() && (*xs)[k + 1] <= x) k += 2;
    return k < xs->size() && (*xs)[k] <= x;
}

}  // namespace

Region::Region(const RECT& r)
{
    if (!RectEmpty(r)) bands_.push_back(Band{r.top, r.bottom, {static_cast<int>(r.left), static_cast<int>(r.right)}});
}

void Region::AppendBand(int top, int bottom, std::vector<int>&& xs)
{
    if (xs.empty() || bottom <= top) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().xs == xs) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(xs)});
}

Region Region::FromRects(const RECT* rects, size_t count)
{
    Region out;
    std::vector<RECT> rs;
    rs.reserve(count);
    std::vector<int> ys;
    for (size_t i = 0; i < count; ++i) {
        if (RectEmpty(rects[i])) continue;
        rs.push_back(rects[i]);
        ys.push_back(rects[i].top);
        ys.push_back(rects[i].bottom);
    }
    if (rs.empty()) return out;
    std::sort(rs.begin(), rs.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<const RECT*> active;
    size_t next = 0;
    std::vector<std::pair<int, int>> iv;
    std::vector<int> xs;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k], y1 = ys[k + 1];
        while (next < rs.size() && rs[next].top <= y0) active.push_back(&rs[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [&](const RECT* r) { return r->bottom <= y0; }),
                     active.end());
        iv.clear();
        for (const RECT* r : active) iv.emplace_back(r->left, r->right);
        Normalize(iv, xs);
        out.AppendBand(y0, y1, std::vector<int>(xs));
    }
    return out;
}

Region Region::Combine(const Region& a, const Region& b, Op op)
{
    Region out;
    std::vector<int> ys;
    ys.reserve((a.bands_.size() + b.bands_.size()) * 2);
    for (auto& bd : a.bands_) {
        ys.push_back(bd.top);
        ys.push_back(bd.bottom);
    }
    for (auto& bd : b.bands_) {
        ys.push_back(bd.top);
        ys.push_back(bd.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    size_t ia = 0, ib = 0;
    std::vector<int> xs;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k], y1 = ys[k + 1];
        while (ia < a.bands_.size() && a.bands_[ia].bottom <= y0) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].bottom <= y0) ++ib;
        const std::vector<int>* xa = (ia < a.bands_.size() && a.bands_[ia].top <= y0) ? &a.bands_[ia].xs : nullptr;
        const std::vector<int>* xb = (ib < b.bands_.size() && b.bands_[ib].top <= y0) ? &b.bands_[ib].xs : nullptr;
        if (!xa && !xb) continue;
        if (op == Op::And && (!xa || !xb)) continue;
        if (op == Op::Diff && !xa) continue;
        std::vector<int> edges;
        if (xa) edges.insert(edges.end(), xa->begin(), xa->end());
        if (xb) edges.insert(edges.end(), xb->begin(), xb->end());
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        xs.clear();
        size_t ka = 0, kb = 0;
        for (size_t e = 0; e + 1 < edges.size(); ++e) {
            int x0 = edges[e], x1 = edges[e + 1];
            bool inA = InIntervals(xa, ka, x0), inB = InIntervals(xb, kb, x0);
            bool in = false;
            switch (op) {
            case Op::And: in = inA && inB; break;
            case Op::Or: in = inA || inB; break;
            case Op::Xor: in = inA != inB; break;
            case Op::Diff: in = inA && !inB; break;
            }
            if (!in) continue;
            if (!xs.empty() && xs.back() == x0)
                xs.back() = x1;
            else {
                xs.push_back(x0);
                xs.push_back(x1);
            }
        }
        out.AppendBand(y0, y1, std::move(xs));
        xs = {};
    }
    return out;
}

RECT Region::Bounds() const
{
    if (bands_.empty()) return RECT{0, 0, 0, 0};
    RECT r{bands_.front().xs.front(), bands_.front().top, bands_.front().xs.back(), bands_.back().bottom};
    for (auto& bd : bands_) {
        r.left = std::min<LONG>(r.left, bd.xs.front());
        r.right = std::max<LONG>(r.right, bd.xs.back());
    }
    return r;
}

bool Region::Contains(int x, int y) const
{
    auto it = std::upper_bound(bands_.begin(), bands_.end(), y, [](int v, const Band& b) { return v < b.bottom; });
    if (it == bands_.end() || it->top > y) return false;
    const auto& xs = it->xs;
    for (size_t k = 0; k < xs.size(); k += 2) {
        if (x < xs[k]) return false;
        if (x < xs[k + 1]) return true;
    }
    return false;
}

bool Region::IntersectsRect(const RECT& r) const
{
    if (RectEmpty(r)) return false;
    for (auto& bd : bands_) {
        if (bd.bottom <= r.top) continue;
        if (bd.top >= r.bottom) break;
        for (size_t k = 0; k < bd.xs.size(); k += 2)
            if (bd.xs[k] < r.right && bd.xs[k + 1] > r.left) return true;
    }
    return false;
}

bool Region::operator==(const Region& o) const
{
    if (bands_.size() != o.bands_.size()) return false;
    for (size_t i = 0; i < bands_.size(); ++i)
        if (bands_[i].top != o.bands_[i].top || bands_[i].bottom != o.bands_[i].bottom ||
            bands_[i].xs != o.bands_[i].xs)
            return false;
    return true;
}

std::vector<RECT> Region::Rects() const
{
    std::vector<RECT> out;
    out.reserve(RectCount());
    for (auto& bd : bands_)
        for (size_t k = 0; k < bd.xs.size(); k += 2) out.push_back(RECT{bd.xs[k], bd.top, bd.xs[k + 1], bd.bottom});
    return out;
}

size_t Region::RectCount() const
{
    size_t n = 0;
    for (auto& bd : bands_) n += bd.xs.size() / 2;
    return n;
}

int Region::Kind() const
{
    if (bands_.empty()) return NULLREGION;
    return RectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::Offset(int dx, int dy)
{
    for (auto& bd : bands_) {
        bd.top += dy;
        bd.bottom += dy;
        for (auto& x : bd.xs) x += dx;
    }
}

}  // namespace vxwin
