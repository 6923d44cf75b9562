#include "platform/framework/graphics/codecs/palette.h"

#include <algorithm>

namespace {

TPaletteEntry EntryOf(uint32_t rgb)
{
    return TPaletteEntry{static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16), 0};
}

// A colour bucket of the histogram: 5 bits per channel, with the sums of the true colours
// that fell into it so the palette gets their mean, not the bucket's corner.
struct Bucket {
    uint64_t count = 0, r = 0, g = 0, b = 0;
};

int Channel(int key, int c) { return (key >> (10 - 5 * c)) & 31; }  // 0 = red, 1 = green, 2 = blue

struct Box {
    std::vector<int> keys;
    uint64_t count = 0;
    int range = 0, axis = 0;
};

void Measure(Box& box, const std::vector<Bucket>& buckets)
{
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    box.count = 0;
    for (int k : box.keys) {
        box.count += buckets[k].count;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], Channel(k, c));
            hi[c] = std::max(hi[c], Channel(k, c));
        }
    }
    box.range = -1;
    for (int c = 0; c < 3; ++c)
        if (hi[c] - lo[c] > box.range) {
            box.range = hi[c] - lo[c];
            box.axis = c;
        }
}

}  // namespace

bool ExactPalette(const TRasterImage& image, size_t maxColors, std::vector<TPaletteEntry>& palette,
                  bool skipTransparent)
{
    palette.clear();
    std::unordered_map<uint32_t, bool> seen;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            if (skipTransparent && p[3] < 128) continue;
            const uint32_t rgb = p[0] | (p[1] << 8) | (p[2] << 16);
            if (seen.emplace(rgb, true).second) {
                if (palette.size() == maxColors) return false;
                palette.push_back(EntryOf(rgb));
            }
        }
    }
    return true;
}

bool PaletteHolds(const TRasterImage& image, const std::vector<TPaletteEntry>& palette, int skipIndex,
                  bool skipTransparent)
{
    std::unordered_map<uint32_t, bool> colours;
    for (int i = 0; i < static_cast<int>(palette.size()); ++i)
        if (i != skipIndex) colours.emplace(palette[i].Blue | (palette[i].Green << 8) | (palette[i].Red << 16), true);
    uint32_t last = 0xFFFFFFFF;  // runs of one colour are common: skip the lookup for them
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            if (skipTransparent && p[3] < 128) continue;
            const uint32_t rgb = p[0] | (p[1] << 8) | (p[2] << 16);
            if (rgb != last && !colours.count(rgb)) return false;
            last = rgb;
        }
    }
    return true;
}

std::vector<TPaletteEntry> ReducedPalette(const TRasterImage& image, size_t maxColors, bool skipTransparent)
{
    std::vector<Bucket> buckets(32768);
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            if (skipTransparent && p[3] < 128) continue;
            Bucket& b = buckets[((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3)];
            ++b.count;
            b.r += p[2];
            b.g += p[1];
            b.b += p[0];
        }
    }
    std::vector<Box> boxes(1);
    for (int k = 0; k < 32768; ++k)
        if (buckets[k].count) boxes[0].keys.push_back(k);
    if (boxes[0].keys.empty() || maxColors == 0) return {};
    Measure(boxes[0], buckets);

    while (boxes.size() < maxColors) {
        // Split the box that holds the most pixels among those that still span some range.
        int best = -1;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].keys.size() > 1 &&
                (best < 0 || boxes[i].count * (boxes[i].range + 1) > boxes[best].count * (boxes[best].range + 1)))
                best = static_cast<int>(i);
        if (best < 0) break;
        Box& box = boxes[best];
        const int axis = box.axis;
        std::sort(box.keys.begin(), box.keys.end(),
                  [axis](int a, int b) { return Channel(a, axis) < Channel(b, axis); });
        uint64_t half = box.count / 2, acc = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.keys.size(); ++i) {
            acc += buckets[box.keys[i]].count;
            cut = i + 1;
            if (acc >= half) break;
        }
        Box other;
        other.keys.assign(box.keys.begin() + static_cast<std::ptrdiff_t>(cut), box.keys.end());
        box.keys.resize(cut);
        Measure(box, buckets);
        Measure(other, buckets);
        boxes.push_back(std::move(other));
    }

    std::vector<TPaletteEntry> palette;
    for (const Box& box : boxes) {
        uint64_t n = 0, r = 0, g = 0, b = 0;
        for (int k : box.keys) {
            n += buckets[k].count;
            r += buckets[k].r;
            g += buckets[k].g;
            b += buckets[k].b;
        }
        palette.push_back(TPaletteEntry{static_cast<uint8_t>((b + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
                                        static_cast<uint8_t>((r + n / 2) / n), 0});
    }
    return palette;
}

TPaletteMapper::TPaletteMapper(const std::vector<TPaletteEntry>& palette, int excludeIndex)
    : FPalette(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(palette.size(), 256))),
      FExclude(excludeIndex)
{
    for (size_t i = FPalette.size(); i-- > 0;) {
        if (static_cast<int>(i) == FExclude) continue;
        const TPaletteEntry& e = FPalette[i];
        FCache[e.Blue | (e.Green << 8) | (e.Red << 16)] = static_cast<uint8_t>(i);
    }
}

uint8_t TPaletteMapper::IndexOf(uint32_t rgb)
{
    rgb &= 0xFFFFFF;
    auto it = FCache.find(rgb);
    if (it != FCache.end()) return it->second;
    const int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
    int best = 0, bestDist = 1 << 30;
    for (size_t i = 0; i < FPalette.size(); ++i) {
        if (static_cast<int>(i) == FExclude) continue;
        const int dr = FPalette[i].Red - r, dg = FPalette[i].Green - g, db = FPalette[i].Blue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    if (FCache.size() < (1u << 20)) FCache.emplace(rgb, static_cast<uint8_t>(best));
    return static_cast<uint8_t>(best);
}
