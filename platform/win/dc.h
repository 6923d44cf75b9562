// Device contexts: the record behind an HDC (selected objects, origins, clip, saved states) and the
// drawing target it resolves to (a surface, a clip region and the logical-to-surface offset).
// Internal to platform/win: blits.cpp, shapes.cpp, text.cpp and painting.cpp draw through it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/win/gdi_objects.h"

namespace vxwin {

enum class DcType { Memory, Window, Screen };

struct DcState {
    std::shared_ptr<PenObj> pen;
    std::shared_ptr<BrushObj> brush;
    std::shared_ptr<FontObj> font;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    int bkMode = 2;  // OPAQUE
    int rop2 = 13;   // R2_COPYPEN
    int stretchMode = 1;
    int polyFill = 1;
    UINT textAlign = 0;
    POINT windowOrg;
    POINT viewportOrg;
    POINT curPos;
    bool hasClip = false;
    Region clip;  // device coordinates
    std::shared_ptr<BitmapObj> bitmap;
};

struct DcObj : Object {
    static constexpr ObjKind kKind = ObjKind::Dc;
    DcObj() : Object(kKind) {}
    ~DcObj() override;
    DcType type = DcType::Memory;
    std::uintptr_t hwnd = 0;          // window DCs
    bool wholeWindow = false;         // GetWindowDC: origin at the window corner, frame included
    std::optional<Region> paintClip;  // BeginPaint: the update region, in surface coordinates
    DcState st;
    std::vector<DcState> saved;
    // Window DCs: the resolved surface and visible region, valid while the layout is unchanged.
    unsigned cacheGen = 0;
    std::shared_ptr<Surface> cacheSurface;
    POINT cacheOrigin;
    Region cacheVisible;
    std::uintptr_t cacheTop = 0;
};

// Where drawing through a DC lands.
struct Target {
    std::shared_ptr<Surface> keep;
    Surface* s = nullptr;
    Region clip;  // surface coordinates, inside the surface
    int ox = 0;   // surface x = logical x + ox
    int oy = 0;
    POINT origin;                 // surface position of device (0, 0)
    std::uintptr_t toplevel = 0;  // window DCs: the top-level whose surface this is
};

std::shared_ptr<DcObj> LookupDc(HDC hdc);
bool PrepareTarget(DcObj& dc, Target& t);
// Tells the window side that pixels of a top-level surface changed (for the back end to show).
void NoteDrawn(const Target& t, const RECT& surfaceRect);

// Window side hook (painting.cpp): surface, device origin and visible region of a window DC.
bool ResolveWindowSurface(std::uintptr_t hwnd, bool wholeWindow, std::shared_ptr<Surface>& surface, POINT& origin,
                          Region& visible, std::uintptr_t& toplevel);
void MarkSurfaceDirty(std::uintptr_t toplevel, const RECT& r);

// Pixel helpers shared by the drawing modules.
std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst);
void FillClipped(const Target& t, RECT r, std::uint32_t argb, int rop2);
void PutPixelClipped(const Target& t, int x, int y, std::uint32_t argb, int rop2);
COLORREF ResolveColor(COLORREF c);  // palette-index and system forms to RGB
// Moves pixels within one 32-bit surface: every pixel (x, y) of target (inside the surface, its
// sources too) takes the value (x - dx, y - dy) had before, whatever the overlap; only the
// rectangles involved are touched.
void MoveWithin(Surface& s, const Region& target, int dx, int dy);

}  // namespace vxwin
