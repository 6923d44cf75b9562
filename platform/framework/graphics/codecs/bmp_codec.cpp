#include "platform/framework/graphics/codecs/bmp_codec.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/graphics/codecs/palette.h"

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

[[noreturn]] void Invalid(const String& why) { throw EInvalidGraphic(L"Bitmap image is not valid (" + why + L")"); }

// One channel described by a bit mask, scaled to 0..255.
struct MaskChannel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit MaskChannel(uint32_t m = 0) : mask(m)
    {
        if (m) {
            while (!((m >> shift) & 1)) ++shift;
            max = m >> shift;
        }
    }
    uint8_t Get(uint32_t v, uint8_t none) const
    {
        if (!max) return none;
        return static_cast<uint8_t>((static_cast<uint64_t>((v & mask) >> shift) * 255 + max / 2) / max);
    }
};

// Decodes RLE8 or RLE4 data into one palette index per pixel (rows in file order, bottom
// first). Writes outside the picture are clipped; data ending before the end-of-bitmap mark
// (with rows still to fill) is truncated. Returns where the data ended.
const uint8_t* DecodeRle(const uint8_t* p, const uint8_t* end, bool rle4, int width, int height,
                         std::vector<uint8_t>& idx)
{
    int64_t x = 0, y = 0;
    auto put = [&](uint8_t v) {
        if (x < width && y < height)
            idx[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = v;
        ++x;
    };
    while (y < height) {
        if (end - p < 2) Invalid(L"compressed data is truncated");
        const uint8_t n = p[0], c = p[1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n; ++i) put(rle4 ? ((i & 1) ? (c & 15) : (c >> 4)) : c);
            continue;
        }
        if (c == 0) {
            x = 0;
            ++y;
        } else if (c == 1) {
            return p;
        } else if (c == 2) {
            if (end - p < 2) Invalid(L"compressed data is truncated");
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            const size_t bytes = rle4 ? (c + 1u) / 2 : c;
            const size_t padded = bytes + (bytes & 1);
            if (static_cast<size_t>(end - p) < bytes) Invalid(L"compressed data is truncated");
            for (int i = 0; i < c; ++i) put(rle4 ? ((i & 1) ? (p[i / 2] & 15) : (p[i / 2] >> 4)) : p[i]);
            p += std::min(padded, static_cast<size_t>(end - p));
        }
    }
    return p;
}

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

TRasterImage LoadBmp(const uint8_t* data, size_t size, size_t* consumed)
{
    if (size == 0) Invalid(L"empty");
    if (size < 18 || data[0] != 'B' || data[1] != 'M') Invalid(L"no bitmap header");
    const uint32_t fileSize = Get32(data + 2);
    const uint32_t offBits = Get32(data + 10);
    const uint32_t headerSize = Get32(data + 14);
    const bool core = headerSize == 12;
    if (!(core || headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124))
        Invalid(L"unsupported header size " + std::to_wstring(headerSize));
    if (size < 14 + static_cast<size_t>(headerSize)) Invalid(L"truncated header");
    const uint8_t* h = data + 14;

    int64_t width, height;
    int bpp;
    uint32_t compression = BI_RGB, colorsUsed = 0;
    if (core) {
        width = Get16(h + 4);
        height = Get16(h + 6);
        bpp = Get16(h + 10);
    } else {
        width = static_cast<int32_t>(Get32(h + 4));
        height = static_cast<int32_t>(Get32(h + 8));
        bpp = Get16(h + 14);
        compression = Get32(h + 16);
        colorsUsed = Get32(h + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    CheckImageSize(width, height, "Bitmap image");
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || (!core && (bpp == 16 || bpp == 32))))
        Invalid(L"unsupported bit depth " + std::to_wstring(bpp));
    if ((compression == BI_RLE8 && bpp != 8) || (compression == BI_RLE4 && bpp != 4) ||
        ((compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) && bpp != 16 && bpp != 32))
        Invalid(L"compression " + std::to_wstring(compression) + L" does not fit " + std::to_wstring(bpp) + L" bits");
    if (compression > BI_BITFIELDS && compression != BI_ALPHABITFIELDS)
        Invalid(L"unsupported compression " + std::to_wstring(compression));

    size_t pos = 14 + headerSize;
    MaskChannel red(0x7C00), green(0x03E0), blue(0x001F), alpha(0);
    if (bpp == 32) {
        red = MaskChannel(0xFF0000);
        green = MaskChannel(0xFF00);
        blue = MaskChannel(0xFF);
    }
    bool alphaMask = false;
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        uint32_t masks[4] = {0, 0, 0, 0};
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = Get32(h + 40 + 4 * i);
            if (headerSize >= 56) masks[3] = Get32(h + 52);
        } else {
            const int n = compression == BI_ALPHABITFIELDS ? 4 : 3;
            if (size < pos + 4 * n) Invalid(L"truncated colour masks");
            for (int i = 0; i < n; ++i) masks[i] = Get32(data + pos + 4 * i);
            pos += 4 * n;
        }
        red = MaskChannel(masks[0]);
        green = MaskChannel(masks[1]);
        blue = MaskChannel(masks[2]);
        alpha = MaskChannel(masks[3]);
        alphaMask = masks[3] != 0;
    }

    std::vector<TPaletteEntry> palette;
    if (bpp <= 8) {
        const size_t full = size_t(1) << bpp;
        size_t count = colorsUsed == 0 ? full : std::min<size_t>(colorsUsed, full);
        const size_t entry = core ? 3 : 4;
        // A table that would run into the pixels is as long as the room before them (core
        // headers give no count at all).
        if (offBits >= pos && pos + count * entry > offBits) count = (offBits - pos) / entry;
        if (size < pos + count * entry) Invalid(L"truncated colour table");
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + pos + i * entry;
            palette.push_back(TPaletteEntry{e[0], e[1], e[2], 0});
        }
        pos += count * entry;
    } else if (!core && colorsUsed <= 256) {
        pos += colorsUsed * 4;  // an optional table for display on palette devices
    }
    // The pixel offset from the file header wins when it points past the headers; writers
    // that leave it zero get the position after the colour table.
    size_t offset = pos;
    if (offBits >= 14 + headerSize) offset = offBits;
    if (offset >= size) Invalid(L"no pixel data");

    const int w = static_cast<int>(width), hgt = static_cast<int>(height);
    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bpp + 7) / 8;
    if (compression != BI_RLE8 && compression != BI_RLE4 && offset + stride * (height - 1) + rowBytes > size)
        Invalid(L"truncated pixel data");

    TRasterImage image(w, hgt);
    size_t dataEnd = static_cast<size_t>(std::min<uint64_t>(size, offset + stride * height));
    image.SetSourceFormat(TImageFormat::Bmp);
    image.SetBitDepth(bpp);
    auto color = [&palette](unsigned i) -> uint32_t {
        if (i >= palette.size()) return 0xFF000000u;
        const TPaletteEntry& e = palette[i];
        return 0xFF000000u | (e.Red << 16) | (e.Green << 8) | e.Blue;
    };
    auto destRow = [&](int fileRow) {
        return reinterpret_cast<uint32_t*>(image.ScanLine(topDown ? fileRow : hgt - 1 - fileRow));
    };

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        std::vector<uint8_t> idx(static_cast<size_t>(w) * static_cast<size_t>(hgt), 0);
        dataEnd = DecodeRle(data + offset, data + size, compression == BI_RLE4, w, hgt, idx) - data;
        for (int r = 0; r < hgt; ++r) {
            uint32_t* d = destRow(r);
            const uint8_t* s = idx.data() + static_cast<size_t>(r) * static_cast<size_t>(w);
            for (int x = 0; x < w; ++x) d[x] = color(s[x]);
        }
    } else {
        bool anyAlpha = false;
        for (int r = 0; r < hgt; ++r) {
            const uint8_t* s = data + offset + stride * static_cast<uint64_t>(r);
            uint32_t* d = destRow(r);
            switch (bpp) {
            case 1:
                for (int x = 0; x < w; ++x) d[x] = color((s[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                for (int x = 0; x < w; ++x) d[x] = color((x & 1) ? (s[x >> 1] & 15) : (s[x >> 1] >> 4));
                break;
            case 8:
                for (int x = 0; x < w; ++x) d[x] = color(s[x]);
                break;
            case 24:
                for (int x = 0; x < w; ++x, s += 3) d[x] = 0xFF000000u | (s[2] << 16) | (s[1] << 8) | s[0];
                break;
            case 16:
            case 32:
                for (int x = 0; x < w; ++x) {
                    const uint32_t v = bpp == 16 ? Get16(s + 2 * x) : Get32(s + 4 * x);
                    uint8_t a = 255;
                    if (alphaMask)
                        a = alpha.Get(v, 255);
                    else if (bpp == 32 && compression == BI_RGB) {
                        a = static_cast<uint8_t>(v >> 24);
                        anyAlpha |= a != 0;
                    }
                    d[x] = (static_cast<uint32_t>(a) << 24) | (red.Get(v, 0) << 16) | (green.Get(v, 0) << 8) |
                           blue.Get(v, 0);
                }
                break;
            }
        }
        // 32-bit BI_RGB: a fourth byte that is zero everywhere is padding, not alpha.
        if (bpp == 32 && compression == BI_RGB) {
            if (anyAlpha)
                image.SetHasAlpha(true);
            else
                image.MakeOpaque();
        }
    }
    if (alphaMask) image.SetHasAlpha(true);
    if (bpp <= 8) image.SetPalette(std::move(palette));
    // The file's own size, when it is plausible, tells where the next thing in a stream starts.
    if (consumed) *consumed = fileSize >= dataEnd && fileSize <= size ? fileSize : dataEnd;
    return image;
}

TRasterImage LoadBmpFromStream(TStream& stream)
{
    const int64_t start = stream.Position();
    const int64_t left = stream.Size() - start;
    std::vector<uint8_t> bytes(static_cast<size_t>(left > 0 ? left : 0));
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    size_t consumed = 0;
    try {
        TRasterImage image = LoadBmp(bytes.data(), bytes.size(), &consumed);
        stream.SetPosition(start + static_cast<int64_t>(consumed));
        return image;
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

int DefaultBmpBitDepth(const TRasterImage& image)
{
    if (image.HasAlpha()) return 32;
    const int d = image.BitDepth();
    if (d == 1) return 1;
    if (d >= 2 && d <= 4) return 4;
    if (d >= 5 && d <= 8) return 8;
    if (d == 32 && image.SourceFormat() == TImageFormat::Bmp) return 32;
    return 24;
}

std::vector<uint8_t> SaveBmp(const TRasterImage& image, int bitsPerPixel)
{
    if (image.Empty()) throw EInvalidGraphic(L"Cannot save an empty bitmap");
    const int bpp = bitsPerPixel == 0 ? DefaultBmpBitDepth(image) : bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        throw EInvalidGraphic(L"Cannot save a bitmap with " + std::to_wstring(bpp) + L" bits per pixel");
    const int w = image.Width(), h = image.Height();

    std::vector<TPaletteEntry> palette;
    if (bpp <= 8) {
        const size_t maxColors = size_t(1) << bpp;
        if (!image.Palette().empty() && image.Palette().size() <= maxColors && PaletteHolds(image, image.Palette()))
            palette = image.Palette();
        else if (!ExactPalette(image, maxColors, palette))
            palette = bpp == 1 ? std::vector<TPaletteEntry>{{0, 0, 0, 0}, {255, 255, 255, 0}}
                               : ReducedPalette(image, maxColors);
    }
    const bool v5 = bpp == 32 && image.HasAlpha();
    const uint32_t headerSize = v5 ? 124 : 40;
    const uint64_t stride = ((static_cast<uint64_t>(w) * bpp + 31) / 32) * 4;
    const uint64_t offBits = 14 + headerSize + palette.size() * 4;
    const uint64_t fileSize = offBits + stride * static_cast<uint64_t>(h);
    if (fileSize > 0xFFFFFFFFull) throw EInvalidGraphic(L"Bitmap is too large to save");

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(offBits));
    Put32(out, headerSize);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bpp));
    Put32(out, v5 ? BI_BITFIELDS : BI_RGB);
    Put32(out, static_cast<uint32_t>(stride * static_cast<uint64_t>(h)));
    Put32(out, 0);  // pixels per metre: unspecified
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    if (v5) {
        Put32(out, 0x00FF0000);
        Put32(out, 0x0000FF00);
        Put32(out, 0x000000FF);
        Put32(out, 0xFF000000);
        Put32(out, 0x73524742);             // LCS_sRGB
        out.insert(out.end(), 36 + 12, 0);  // end points, gamma
        Put32(out, 4);                      // LCS_GM_IMAGES
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
    }
    for (const TPaletteEntry& e : palette) {
        out.push_back(e.Blue);
        out.push_back(e.Green);
        out.push_back(e.Red);
        out.push_back(0);
    }

    TPaletteMapper mapper(palette);
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int r = h - 1; r >= 0; --r) {
        std::fill(row.begin(), row.end(), 0);
        const uint8_t* s = image.ScanLine(r);
        for (int x = 0; x < w; ++x, s += 4) {
            switch (bpp) {
            case 1:
                row[x >> 3] |=
                    static_cast<uint8_t>((mapper.IndexOf(s[0] | (s[1] << 8) | (s[2] << 16)) & 1) << (7 - (x & 7)));
                break;
            case 4:
                row[x >> 1] |=
                    static_cast<uint8_t>((mapper.IndexOf(s[0] | (s[1] << 8) | (s[2] << 16)) & 15) << ((x & 1) ? 0 : 4));
                break;
            case 8: row[x] = mapper.IndexOf(s[0] | (s[1] << 8) | (s[2] << 16)); break;
            case 24: std::memcpy(&row[static_cast<size_t>(x) * 3], s, 3); break;
            case 32:
                std::memcpy(&row[static_cast<size_t>(x) * 4], s, 3);
                row[static_cast<size_t>(x) * 4 + 3] = v5 ? s[3] : 0;
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
