// Icons and cursors: stock cursors for the back ends, icons from colour and mask bitmaps, drawing.
#include <cmath>
#include <map>
#include <mutex>

#include "platform/win/backend.h"
#include "platform/win/dc.h"
#include "platform/win/gdi_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

using namespace vxwin;

namespace {

std::shared_ptr<Surface> CopySurface32(const Surface& s)
{
    auto c = std::make_shared<Surface>();
    c->Allocate(s.width, s.height, 32, true);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) c->Row32(y)[x] = s.GetPixel(x, y);
    return c;
}

// Stock cursors: a 32x32 shape the back end maps to its own, plus pixels for GetIconInfo.
HCURSOR StockCursor(int id)
{
    static std::mutex m;
    static std::map<int, HCURSOR> cursors;
    std::lock_guard<std::mutex> lock(m);
    auto it = cursors.find(id);
    if (it != cursors.end()) return it->second;
    auto ic = std::make_shared<IconObj>();
    ic->isCursor = true;
    ic->stock = true;
    ic->cursorShape = id;
    ic->color = std::make_shared<Surface>();
    ic->color->Allocate(32, 32, 32, true);
    ic->mask = std::make_shared<Surface>();
    ic->mask->Allocate(32, 32, 1, true);
    // The arrow covers the upper 20 rows: the mask is white (transparent) elsewhere.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool in = (id == 32512) ? (x <= y / 2 && y < 20) : (std::abs(x - 16) < 8 && std::abs(y - 16) < 8);
            ic->mask->SetPixel(x, y, in ? 0 : 0xFFFFFF);
            ic->color->Row32(y)[x] = in ? 0xFF000000 : 0;
        }
    HCURSOR h = Register<HCURSOR>(ic);
    cursors[id] = h;
    return h;
}

// The stock icons, 32 x 32 with straight alpha: the application's blue square; the message
// box's red disc with a cross (hand), blue discs with "?" (question) and "i" (asterisk), and a
// yellow triangle with "!" (exclamation). Glyphs are 6 x 10 patterns drawn twice their size.
std::shared_ptr<Surface> StockIconPixels(int id)
{
    auto s = std::make_shared<Surface>();
    s->Allocate(32, 32, 32, true);
    auto put = [&](int x, int y, uint32_t argb) {
        if (x >= 0 && y >= 0 && x < 32 && y < 32) s->Row32(y)[x] = argb;
    };
    if (id == 32512) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) put(x, y, (x < 2 || y < 2 || x > 29 || y > 29) ? 0xFFDDE6F0 : 0xFF2060B0);
        return s;
    }
    static const char* const kQuestion[10] = {".####.", "##..##", "....##", "...##.", "..##..",
                                              "..##..", "......", "..##..", "..##..", "......"};
    static const char* const kInfo[10] = {"..##..", "..##..", "......", ".###..", "..##..",
                                          "..##..", "..##..", "..##..", ".####.", "......"};
    static const char* const kBang[10] = {"..##..", "..##..", "..##..", "..##..", "..##..",
                                          "..##..", "......", "..##..", "..##..", "......"};
    const char* const* glyph = nullptr;
    uint32_t fill = 0, ink = 0xFFFFFFFF;
    int glyphTop = 6;
    if (id == 32515) {
        // Triangle: apex at (15.5, 1), base along row 30.
        fill = 0xFFF0C020;
        ink = 0xFF000000;
        glyph = kBang;
        glyphTop = 9;
        for (int y = 1; y < 31; ++y) {
            const double half = (y - 1) * 15.5 / 29.0;
            for (int x = 0; x < 32; ++x)
                if (std::abs(x + 0.5 - 16.0) <= half + 0.5) put(x, y, y == 30 ? 0xFF806010 : fill);
        }
    } else {
        fill = id == 32513 ? 0xFFD02020 : 0xFF2060D0;
        glyph = id == 32514 ? kQuestion : id == 32516 ? kInfo : nullptr;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const double dx = x + 0.5 - 16.0, dy = y + 0.5 - 16.0;
                if (dx * dx + dy * dy <= 15.0 * 15.0) put(x, y, fill);
            }
        if (id == 32513) {
            // A white cross of two diagonal bars.
            for (int i = 9; i < 23; ++i)
                for (int w = -1; w <= 1; ++w) {
                    put(i + w, i, ink);
                    put(31 - i + w, i, ink);
                }
        }
    }
    if (glyph)
        for (int gy = 0; gy < 10; ++gy)
            for (int gx = 0; gx < 6; ++gx)
                if (glyph[gy][gx] == '#')
                    for (int k = 0; k < 4; ++k) put(10 + gx * 2 + k % 2, glyphTop + gy * 2 + k / 2, ink);
    return s;
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name)
{
    auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id < 32512 || id > 32700) return nullptr;
    return StockCursor(static_cast<int>(id));
}

HICON LoadIconW(HINSTANCE, LPCWSTR name)
{
    auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id < 32512 || id > 32516) return nullptr;
    static std::mutex m;
    static std::map<int, HICON> icons;
    std::lock_guard<std::mutex> lock(m);
    auto it = icons.find(static_cast<int>(id));
    if (it != icons.end()) return it->second;
    auto ic = std::make_shared<IconObj>();
    ic->stock = true;
    ic->hasAlpha = true;
    ic->color = StockIconPixels(static_cast<int>(id));
    HICON h = Register<HICON>(ic);
    icons[static_cast<int>(id)] = h;
    return h;
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info || !info->hbmColor) return nullptr;
    auto color = Lookup<BitmapObj>(info->hbmColor);
    if (!color) return nullptr;
    auto ic = std::make_shared<IconObj>();
    ic->isCursor = !info->fIcon;
    ic->hotspot = POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    ic->color = CopySurface32(*color->surface);
    if (auto mask = Lookup<BitmapObj>(info->hbmMask)) {
        ic->mask = std::make_shared<Surface>();
        ic->mask->Allocate(mask->surface->width, mask->surface->height, 1, true);
        for (int y = 0; y < mask->surface->height; ++y)
            for (int x = 0; x < mask->surface->width; ++x)
                ic->mask->SetPixel(x, y, (mask->surface->GetPixel(x, y) & 0xFFFFFF) ? 0xFFFFFF : 0);
    }
    for (int y = 0; y < ic->color->height && !ic->hasAlpha; ++y)
        for (int x = 0; x < ic->color->width; ++x)
            if (ic->color->Row32(y)[x] >> 24) {
                ic->hasAlpha = true;
                break;
            }
    return Register<HICON>(ic);
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    auto ic = Lookup<IconObj>(icon);
    if (!ic || !info) return FALSE;
    info->fIcon = ic->isCursor ? FALSE : TRUE;
    info->xHotspot = static_cast<DWORD>(ic->hotspot.x);
    info->yHotspot = static_cast<DWORD>(ic->hotspot.y);
    // Copies the caller owns, as on Windows.
    auto bc = std::make_shared<BitmapObj>();
    bc->surface = CopySurface32(*ic->color);
    info->hbmColor = Register<HBITMAP>(bc);
    info->hbmMask = nullptr;
    if (ic->mask) {
        auto bm = std::make_shared<BitmapObj>();
        bm->surface = std::make_shared<Surface>();
        bm->surface->Allocate(ic->mask->width, ic->mask->height, 1, true);
        for (int y = 0; y < ic->mask->height; ++y)
            for (int x = 0; x < ic->mask->width; ++x) bm->surface->SetPixel(x, y, ic->mask->GetPixel(x, y));
        info->hbmMask = Register<HBITMAP>(bm);
    }
    return TRUE;
}

BOOL DestroyIcon(HICON icon)
{
    auto ic = Lookup<IconObj>(icon);
    if (!ic) return FALSE;
    if (ic->stock) return TRUE;
    return RemoveHandle(icon) ? TRUE : FALSE;
}
BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags)
{
    auto ic = Lookup<IconObj>(icon);
    auto dc = LookupDc(hdc);
    if (!ic || !dc) return FALSE;
    Target t;
    if (!PrepareTarget(*dc, t)) return TRUE;
    const Surface& s = *ic->color;
    if (cx <= 0) cx = s.width;
    if (cy <= 0) cy = s.height;
    for (int yy = 0; yy < cy; ++yy)
        for (int xx = 0; xx < cx; ++xx) {
            int sx = xx * s.width / cx, sy = yy * s.height / cy;
            int dx = x + xx + t.ox, dy = y + yy + t.oy;
            if (!t.s->Inside(dx, dy) || !t.clip.Contains(dx, dy)) continue;
            std::uint32_t p = s.Row32(sy)[sx];
            if (ic->hasAlpha) {
                std::uint32_t a = p >> 24, d = t.s->GetPixel(dx, dy), out = 0;
                for (int sh = 0; sh < 24; sh += 8) {
                    std::uint32_t sc = (p >> sh) & 255, dcv = (d >> sh) & 255;
                    out |= ((sc * a + dcv * (255 - a) + 127) / 255) << sh;
                }
                t.s->SetPixel(dx, dy, out);
            } else {
                bool transparent = ic->mask && sx < ic->mask->width && sy < ic->mask->height &&
                                   (ic->mask->GetPixel(sx, sy) & 0xFFFFFF);
                if (!transparent) t.s->SetPixel(dx, dy, p & 0xFFFFFF);
            }
        }
    NoteDrawn(t, RECT{x + t.ox, y + t.oy, x + t.ox + cx, y + t.oy + cy});
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    auto& in = Input();
    HCURSOR old = in.cursor;
    if (cursor != old) {
        in.cursor = cursor;
        auto ic = Lookup<IconObj>(cursor);
        CurrentBackend().SetCursorShape(ic ? ic->cursorShape : 0);
    }
    return old;
}

HCURSOR GetCursor() { return Input().cursor; }

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT)
{
    if (type == 0 /* IMAGE_BITMAP */) {
        auto bm = Lookup<BitmapObj>(image);
        if (!bm) return nullptr;
        int w = cx > 0 ? cx : bm->surface->width, h = cy > 0 ? cy : bm->surface->height;
        auto copy = std::make_shared<BitmapObj>();
        copy->surface = std::make_shared<Surface>();
        if (!copy->surface->Allocate(w, h, 32, true)) return nullptr;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                copy->surface->Row32(y)[x] =
                    bm->surface->GetPixel(x * bm->surface->width / w, y * bm->surface->height / h);
        return Register<HBITMAP>(copy);
    }
    // Icons and cursors: a copy at the asked size (nearest neighbour), alpha and mask kept.
    auto ic = Lookup<IconObj>(image);
    if (!ic) return nullptr;
    int w = cx > 0 ? cx : ic->color->width, h = cy > 0 ? cy : ic->color->height;
    auto copy = std::make_shared<IconObj>();
    copy->isCursor = ic->isCursor;
    copy->hasAlpha = ic->hasAlpha;
    copy->cursorShape = ic->cursorShape;
    copy->hotspot = ic->hotspot;
    copy->color = std::make_shared<Surface>();
    if (!copy->color->Allocate(w, h, 32, true)) return nullptr;
    if (ic->mask) {
        copy->mask = std::make_shared<Surface>();
        copy->mask->Allocate(w, h, 1, true);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x * ic->color->width / w, sy = y * ic->color->height / h;
            copy->color->Row32(y)[x] = ic->color->Row32(sy)[sx];
            if (copy->mask) copy->mask->SetPixel(x, y, ic->mask->GetPixel(sx, sy));
        }
    return Register<HICON>(copy);
}
