#include "skin/core/mask_region.h"

#include <cstring>

#include "platform/win/gdi_api.h"
#include "platform/win/user_api.h"

TbsFBitmap::TbsFBitmap(HBITMAP HBmp)
{
    BITMAP bm{};
    if (!HBmp || !GetObjectW(HBmp, sizeof(bm), &bm)) return;
    Width = bm.bmWidth;
    Height = std::abs(bm.bmHeight);
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    bmHeader.biSize = 40;
    bmHeader.biWidth = Width;
    bmHeader.biHeight = -Height;
    bmHeader.biPlanes = 1;
    bmHeader.biBitCount = 24;
    bmHeader.biCompression = BI_RGB;
    bmInfo.bmiHeader = bmHeader;
    Handle = CreateDIBSection(nullptr, &bmInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Handle || !Bits) return;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, HBmp, 0, static_cast<UINT>(Height), Bits, &bmInfo, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < Height; ++y)
        Pixels.push_back(reinterpret_cast<TBLine>(static_cast<uint8_t*>(Bits) + static_cast<size_t>(y) * RowInc));
    hDC = CreateCompatibleDC(nullptr);
    SelectObject(hDC, Handle);
}

TbsFBitmap::~TbsFBitmap()
{
    if (hDC) DeleteDC(hDC);
    if (Handle) DeleteObject(Handle);
}

int MaskToRegionData(TBitmap* Mask, int X, int Y, std::vector<uint8_t>& RgnData)
{
    RgnData.clear();
    if (!Mask || Mask->Empty()) return 0;
    TbsFBitmap f(Mask->Handle());
    // The table of runs grows as needed: every run reaches the region.
    std::vector<RECT> runs;
    for (int y = 0; y < f.Height && !f.Pixels.empty(); ++y) {
        const TFBColor* row = f.Pixels[y];
        int x = 0;
        while (x < f.Width) {
            if (row[x].b + row[x].g + row[x].r != 0) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < f.Width && row[x].b + row[x].g + row[x].r == 0) ++x;
            runs.push_back(RECT{X + x0, Y + y, X + x, Y + y + 1});
        }
    }
    RGNDATAHEADER h;
    h.dwSize = 32;
    h.iType = RDH_RECTANGLES;
    h.nCount = static_cast<DWORD>(runs.size());
    h.nRgnSize = 0;
    h.rcBound = RECT{X, Y, X + Mask->Width(), Y + Mask->Height()};
    RgnData.assign(32 + 16 * runs.size(), 0);
    std::memcpy(RgnData.data(), &h, 32);
    if (!runs.empty()) std::memcpy(RgnData.data() + 32, runs.data(), 16 * runs.size());
    return static_cast<int>(RgnData.size());
}

void CreateMaskRegion(HRGN& Rgn, TBitmap* Mask)
{
    std::vector<uint8_t> data;
    int size = MaskToRegionData(Mask, 0, 0, data);
    Rgn = size ? ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<const RGNDATA*>(data.data()))
               : nullptr;
}

namespace {

void Copy(TBitmap* Dst, TBitmap* Mask, const TRect& D, const TRect& S)
{
    if (D.IsEmpty() || S.IsEmpty()) return;
    Dst->Canvas()->CopyRect(D, Mask->Canvas(), S);
}

// Tiles of the mask's columns X0..X1 (rows Y0..Y1 of the mask) down a strip of height H with
// step S, each cut at H, then the parts above and below the corners' points.
void SideStrip(TBitmap* Strip, TBitmap* Mask, int X0, int X1, int TopY, int BottomY, const TRect& ClRect, int H)
{
    int w = X1 - X0, s = BottomY - TopY;
    Strip->SetSize(w, H);
    if (s > 0)
        for (int k = 0; k <= H / s; ++k) {
            int y0 = k * s, y1 = std::min((k + 1) * s, H);
            Copy(Strip, Mask, Rect(0, y0, w, y1), Rect(X0, TopY, X1, TopY + (y1 - y0)));
        }
    if (TopY > ClRect.Top) Copy(Strip, Mask, Rect(0, 0, w, TopY - ClRect.Top), Rect(X0, ClRect.Top, X1, TopY));
    if (ClRect.Bottom > BottomY)
        Copy(Strip, Mask, Rect(0, H - (ClRect.Bottom - BottomY), w, H), Rect(X0, BottomY, X1, ClRect.Bottom));
}

// Tiles of the mask's columns X0..X1 (rows Y0..Y1) across a strip from A, each cut at E.
void TileAcross(TBitmap* Strip, TBitmap* Mask, int X0, int X1, int Y0, int Y1, int A, int E)
{
    int s = X1 - X0, h = Y1 - Y0;
    if (s <= 0 || (E - A) / s < 0) return;
    for (int k = 0; k <= (E - A) / s; ++k) {
        int x0 = A + k * s, x1 = std::min(x0 + s, E);
        Copy(Strip, Mask, Rect(x0, 0, x1, h), Rect(X0, Y0, X0 + (x1 - x0), Y1));
    }
}

}  // namespace

void CreateSkinMask(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                    TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask,
                    TBitmap* TopM, TBitmap* LeftM, TBitmap* RightM, TBitmap* BottomM, int W, int)
{
    if (!Mask || Mask->Empty()) return;
    const int mw = Mask->Width(), mh = Mask->Height(), h = NewClRect.Height();
    if (ClRect.Left > 0 && h > 0) SideStrip(LeftM, Mask, 0, ClRect.Left, LTPoint.Y, LBPoint.Y, ClRect, h);
    if (mw - ClRect.Right > 0 && h > 0) SideStrip(RightM, Mask, ClRect.Right, mw, RTPoint.Y, RBPoint.Y, ClRect, h);
    if (W > 0 && ClRect.Top > 0) {
        TopM->SetSize(W, ClRect.Top);
        if (RTPoint.X != LTPoint.X)
            TileAcross(TopM, Mask, LTPoint.X, RTPoint.X, 0, ClRect.Top, NewLTPoint.X, NewRTPoint.X);
        Copy(TopM, Mask, Rect(0, 0, LTPoint.X, ClRect.Top), Rect(0, 0, LTPoint.X, ClRect.Top));
        Copy(TopM, Mask, Rect(NewRTPoint.X, 0, W, ClRect.Top), Rect(RTPoint.X, 0, mw, ClRect.Top));
    }
    if (W >= 1 && mh - ClRect.Bottom >= 1) {
        int bh = mh - ClRect.Bottom;
        BottomM->SetSize(W, bh);
        TileAcross(BottomM, Mask, LBPoint.X, RBPoint.X, ClRect.Bottom, mh, NewLBPoint.X, NewRBPoint.X);
        Copy(BottomM, Mask, Rect(0, 0, LBPoint.X, bh), Rect(0, ClRect.Bottom, LBPoint.X, mh));
        Copy(BottomM, Mask, Rect(NewRBPoint.X, 0, W, bh), Rect(RBPoint.X, ClRect.Bottom, mw, mh));
    }
}

void CreateSkinRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                      TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                      TBitmap* Mask, int W, int H)
{
    Rgn = nullptr;
    if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y) return;
    TBitmap top, left, right, bottom;
    for (TBitmap* b : {&top, &left, &right, &bottom}) b->SetPixelFormat(pf24bit);
    CreateSkinMask(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                   NewClRect, Mask, &top, &left, &right, &bottom, W, H);
    struct Strip {
        TBitmap* B;
        TPoint At;
    } strips[] = {{&top, Point(0, 0)},
                  {&bottom, Point(0, NewClRect.Bottom)},
                  {&left, Point(0, NewClRect.Top)},
                  {&right, Point(NewClRect.Right, NewClRect.Top)}};
    std::vector<HRGN> parts;
    for (auto& s : strips) {
        if (s.B->Width() <= 0 || s.B->Height() <= 0) continue;
        std::vector<uint8_t> data;
        int size = MaskToRegionData(s.B, s.At.X, s.At.Y, data);
        if (size)
            parts.push_back(
                ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<const RGNDATA*>(data.data())));
    }
    if (!NewClRect.IsEmpty()) {
        Rgn = CreateRectRgn(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
        for (HRGN p : parts)
            if (p) CombineRgn(Rgn, Rgn, p, RGN_OR);
    }
    for (HRGN p : parts)
        if (p) DeleteObject(p);
}
