// The system image lists and SHGetFileInfoW. See system_image_list.h.
#include "platform/framework/graphics/system_image_list.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

namespace {

struct Pt {
    double x, y;
};

// Paints filled shapes on a 16-unit grid into a square picture of any size, anti-aliased by
// 4 x 4 samples per pixel, composing straight alpha.
class IconPainter {
public:
    explicit IconPainter(int size) : FImage(size, size), FScale(size / 16.0)
    {
        FImage.Fill(0);
        FImage.SetHasAlpha(true);
    }

    void Poly(const std::vector<Pt>& pts, uint32_t argb)
    {
        Cover([&](double x, double y) { return Inside(pts, x, y); }, argb);
    }
    void Box(double l, double t, double r, double b, uint32_t argb) { Poly({{l, t}, {r, t}, {r, b}, {l, b}}, argb); }
    // A box with a one-unit frame in another colour.
    void FramedBox(double l, double t, double r, double b, uint32_t frame, uint32_t fill)
    {
        Box(l, t, r, b, frame);
        Box(l + 1, t + 1, r - 1, b - 1, fill);
    }
    void Circle(double cx, double cy, double r, uint32_t argb)
    {
        Cover([&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }, argb);
    }
    const TRasterImage& Image() const { return FImage; }

private:
    static bool Inside(const std::vector<Pt>& p, double x, double y)
    {
        bool in = false;
        for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
            if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
                in = !in;
        return in;
    }

    template <class F>
    void Cover(F inside, uint32_t argb)
    {
        const int n = FImage.Width();
        for (int py = 0; py < n; ++py) {
            for (int px = 0; px < n; ++px) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        if (inside((px + (sx + 0.5) / 4) / FScale, (py + (sy + 0.5) / 4) / FScale)) ++hits;
                if (hits) Blend(px, py, argb, hits / 16.0);
            }
        }
    }

    void Blend(int x, int y, uint32_t argb, double cover)
    {
        const double sa = ((argb >> 24) / 255.0) * cover;
        const uint32_t d = FImage.Pixel(x, y);
        const double da = (d >> 24) / 255.0;
        const double oa = sa + da * (1 - sa);
        auto ch = [&](int shift) {
            const double s = (argb >> shift) & 255, dc = (d >> shift) & 255;
            return static_cast<uint32_t>(std::lround(oa > 0 ? (s * sa + dc * da * (1 - sa)) / oa : 0));
        };
        FImage.SetPixel(x, y,
                        (static_cast<uint32_t>(std::lround(oa * 255)) << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0));
    }

    TRasterImage FImage;
    double FScale;
};

constexpr uint32_t kOutline = 0xFF5A5A5A;
constexpr uint32_t kPaper = 0xFFFFFFFF;

void Page(IconPainter& p)
{
    p.Poly({{2, 0}, {10, 0}, {14, 4}, {14, 16}, {2, 16}}, kOutline);
    p.Poly({{3, 1}, {9.6, 1}, {13, 4.4}, {13, 15}, {3, 15}}, kPaper);
    p.Poly({{9.6, 1}, {9.6, 4.4}, {13, 4.4}}, 0xFFC8C8C8);
}

void Monitor(IconPainter& p, double l, double r, uint32_t screen)
{
    p.FramedBox(l, 2, r, 11, kOutline, screen);
    const double mid = (l + r) / 2;
    p.Box(mid - 1.5, 11, mid + 1.5, 13, 0xFF808080);
    p.Box(mid - 3.5, 13, mid + 3.5, 14.5, kOutline);
}

void Drive(IconPainter& p, double t, double b, uint32_t body, uint32_t led)
{
    p.FramedBox(0.5, t, 15.5, b, kOutline, body);
    p.Box(11, b - 3, 13.5, b - 2, led);
}

// One icon per vxwin::ShellIcon, in that order.
void Draw(IconPainter& p, int icon)
{
    switch (icon) {
    case vxwin::siFolder:
        p.Poly({{0.5, 2}, {6, 2}, {7.5, 3.5}, {15.5, 3.5}, {15.5, 14.5}, {0.5, 14.5}}, 0xFFB8862B);
        p.Box(1.5, 5.5, 14.5, 13.5, 0xFFF4C95D);
        break;
    case vxwin::siFolderOpen:
        p.Poly({{0.5, 2}, {6, 2}, {7.5, 3.5}, {14, 3.5}, {14, 14.5}, {0.5, 14.5}}, 0xFFB8862B);
        p.Poly({{3.5, 6.5}, {16, 6.5}, {13.5, 14.5}, {0.5, 14.5}}, 0xFFF8DC8C);
        break;
    case vxwin::siDesktop: Monitor(p, 0.5, 15.5, 0xFF3A9E8F); break;
    case vxwin::siHome:
        p.Poly({{8, 0.5}, {15.5, 8}, {0.5, 8}}, 0xFFC0392B);
        p.FramedBox(2.5, 7.5, 13.5, 15.5, kOutline, 0xFFF2E6C9);
        p.Box(6.5, 10, 9.5, 15.5, 0xFF8E5A2B);
        break;
    case vxwin::siComputer:
        Monitor(p, 0.5, 11, 0xFF3B6FC4);
        p.FramedBox(12, 3, 15.5, 14.5, kOutline, 0xFFD0D0D0);
        break;
    case vxwin::siDriveFixed: Drive(p, 5, 12, 0xFFC8C8C8, 0xFF2ECC40); break;
    case vxwin::siDriveRemovable:
        p.FramedBox(5.5, 0.5, 10.5, 5, kOutline, 0xFFE0E0E0);
        p.FramedBox(3.5, 4.5, 12.5, 15.5, kOutline, 0xFF2E5FA8);
        break;
    case vxwin::siDriveRemote:
        Drive(p, 1.5, 8.5, 0xFFC8C8C8, 0xFF2ECC40);
        p.Box(7.3, 8.5, 8.7, 12.5, kOutline);
        p.Box(2, 12.5, 14, 14, kOutline);
        break;
    case vxwin::siDriveCdrom:
        p.Circle(8, 8, 7.5, kOutline);
        p.Circle(8, 8, 6.5, 0xFFD8DCE6);
        p.Circle(8, 8, 2, kOutline);
        p.Circle(8, 8, 1.2, kPaper);
        break;
    case vxwin::siDriveRam:
        for (int i = 0; i < 4; ++i) {
            p.Box(3 + i * 3, 3, 4.5 + i * 3, 13, 0xFFB0B0B0);
        }
        p.FramedBox(1.5, 5, 14.5, 11, kOutline, 0xFF2F8F4E);
        break;
    case vxwin::siFile: Page(p); break;
    case vxwin::siVideo:
        Page(p);
        p.Box(4.5, 7, 11.5, 13, 0xFF303030);
        p.Poly({{6.5, 8.2}, {10, 10}, {6.5, 11.8}}, kPaper);
        break;
    case vxwin::siAudio:
        Page(p);
        p.Circle(6.8, 12, 1.8, 0xFF7B3FA0);
        p.Box(7.8, 5.5, 8.6, 12, 0xFF7B3FA0);
        p.Poly({{8.6, 5.5}, {11, 7}, {11, 8.2}, {8.6, 6.8}}, 0xFF7B3FA0);
        break;
    case vxwin::siPicture:
        Page(p);
        p.Box(4.5, 6, 11.5, 13, 0xFF9FD3F0);
        p.Poly({{4.5, 13}, {7.5, 8.5}, {10, 13}}, 0xFF3C9A3C);
        p.Circle(10, 8, 1.2, 0xFFF5C518);
        break;
    }
}

TCustomImageList* MakeList(int size)
{
    auto* list = new TImageList(nullptr, size, size);
    for (int i = 0; i < vxwin::siCount; ++i) {
        IconPainter p(size);
        Draw(p, i);
        TBitmap bmp;
        bmp.AssignRasterImage(p.Image(), pf32bit);
        bmp.SetAlphaFormat(afDefined);
        list->Add(&bmp, nullptr);
    }
    return list;
}

}  // namespace

TCustomImageList* SystemImageList(bool large)
{
    static TCustomImageList* small = MakeList(16);
    static TCustomImageList* big = MakeList(32);
    return large ? big : small;
}

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD, SHFILEINFOW* info, UINT, UINT flags)
{
    if (!(flags & SHGFI_SYSICONINDEX)) return 0;
    const bool open = (flags & SHGFI_OPENICON) != 0;
    int index = vxwin::siFile;
    if (flags & SHGFI_PIDL)
        index = vxwin::ShellIconIndexOf(reinterpret_cast<LPCITEMIDLIST>(path), open);
    else if (path && *path)
        index = vxwin::ShellIconIndexOfPath(StringToUtf8(path), open);
    if (info) info->iIcon = index;
    return reinterpret_cast<DWORD_PTR>(SystemImageList(!(flags & SHGFI_SMALLICON))->Handle());
}
