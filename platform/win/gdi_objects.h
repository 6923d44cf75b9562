// GDI object records behind HBITMAP, HBRUSH, HPEN, HFONT, HRGN and HICON handles, and the lookups
// used by the rest of platform/win. Internal; the public functions are declared in gdi_api.h.
#pragma once

#include <memory>
#include <string>

#include "platform/win/handle_table.h"
#include "platform/win/region.h"
#include "platform/win/surface.h"
#include "platform/win/win_types.h"

namespace vxwin {

struct BitmapObj : Object {
    static constexpr ObjKind kKind = ObjKind::Bitmap;
    BitmapObj() : Object(kKind) {}
    std::shared_ptr<Surface> surface;
    bool isDib = false;             // made by CreateDIBSection: GetObject reports a DIBSECTION
    std::uintptr_t selectedIn = 0;  // the memory DC it is selected into, 0 when none
};

struct BrushObj : Object {
    static constexpr ObjKind kKind = ObjKind::Brush;
    BrushObj() : Object(kKind) {}
    UINT style = 0;  // BS_SOLID, BS_NULL, BS_PATTERN
    COLORREF color = 0;
    std::shared_ptr<Surface> pattern;
};

struct PenObj : Object {
    static constexpr ObjKind kKind = ObjKind::Pen;
    PenObj() : Object(kKind) {}
    int style = 0;  // PS_SOLID, PS_DOT, PS_NULL ...
    int width = 1;
    COLORREF color = 0;
};

struct FontObj : Object {
    static constexpr ObjKind kKind = ObjKind::Font;
    FontObj() : Object(kKind) {}
    LOGFONTW lf;
};

struct RegionObj : Object {
    static constexpr ObjKind kKind = ObjKind::Region;
    RegionObj() : Object(kKind) {}
    Region rgn;
    std::uintptr_t ownerWindow = 0;  // set when a window took the region (SetWindowRgn)
};

struct IconObj : Object {
    static constexpr ObjKind kKind = ObjKind::Icon;
    IconObj() : Object(kKind) {}
    std::shared_ptr<Surface> color;  // 32-bit, alpha when hasAlpha
    std::shared_ptr<Surface> mask;   // 1-bit AND mask, may be null
    bool hasAlpha = false;
    bool isCursor = false;
    int cursorShape = 0;  // stock cursor id for the back ends (32512 arrow ...)
    POINT hotspot;
};

// Stock objects (created on first use, never deleted).
HGDIOBJ StockObject(int id);
HFONT DefaultGuiFont();

}  // namespace vxwin
