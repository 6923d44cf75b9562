// The pixel and blit routine tables and every routine in them.
#include "skin/core/pixel_routines.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/gdi_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "skin/core/skin_bitmap.h"

namespace {

// ---- row routines ----

void CopyRowTransparentImpl(const TbsColor* Src, TbsColor* Dst, int Count)
{
    for (int i = 0; i < Count; ++i)
        if ((Src[i] & 0xFFFFFF) != bsKeyColor) Dst[i] = Src[i] | 0xFF000000u;
}

void CopyRowImpl(const TbsColor* Src, TbsColor* Dst, int Count)
{
    if (Count <= 0 || Src == Dst) return;
    std::memmove(Dst, Src, static_cast<size_t>(Count) * sizeof(TbsColor));
}

void FillRowImpl(TbsColor* Dst, int Count, TbsColor Color)
{
    for (int i = 0; i < Count; ++i) Dst[i] = Color;
}

void FillRectPixelsImpl(TbsColor* Bits, int RowWidth, int Left, int Top, int LastCol, int LastRow, TbsColor Color)
{
    if (LastCol < Left || LastRow < Top) return;
    for (int y = Top; y <= LastRow; ++y)
        FillRowImpl(Bits + static_cast<ptrdiff_t>(y) * RowWidth + Left, LastCol - Left + 1, Color);
}

void SetRowAlphaImpl(TbsColor* Dst, int Count, uint8_t Alpha)
{
    TbsColor a = static_cast<TbsColor>(Alpha) << 24;
    for (int i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0xFFFFFF) | a;
}

void SetRectAlphaImpl(TbsColor* Bits, int RowWidth, int Left, int Top, int LastCol, int LastRow, uint8_t Alpha)
{
    if (LastCol < Left || LastRow < Top) return;
    for (int y = Top; y <= LastRow; ++y)
        SetRowAlphaImpl(Bits + static_cast<ptrdiff_t>(y) * RowWidth + Left, LastCol - Left + 1, Alpha);
}

void ClearColorAlphaImpl(TbsColor* Dst, int Count, TbsColor Color)
{
    for (int i = 0; i < Count; ++i)
        if ((Dst[i] & 0xFFFFFF) == (Color & 0xFFFFFF)) Dst[i] &= 0xFFFFFF;
}

// ---- stretching ----

// Source positions for Count destination positions starting Offset positions into a destination
// of DstCount, sampling the source span [SrcStart, SrcEnd): the layer's nearest-neighbour rule.
std::vector<int> StretchMap(int Offset, int Count, int SrcStart, int SrcEnd, int DstCount)
{
    std::vector<int> map(static_cast<size_t>(std::max(Count, 0)));
    int s = SrcEnd - SrcStart;
    if (DstCount <= 1) {
        std::fill(map.begin(), map.end(), (SrcStart + SrcEnd - 1) / 2);
        return map;
    }
    float scale = static_cast<float>(s - 1) / static_cast<float>(DstCount - 1);
    for (int k = 0; k < Count; ++k) {
        int v = static_cast<int>(static_cast<double>(Offset + k) * static_cast<double>(scale));
        map[k] = SrcStart + std::min(v, s - 1);
    }
    return map;
}

enum class Mode { Opaque, Alpha, Transparent };

void ApplyRow(Mode M, const TbsColor* Src, TbsColor* Dst, int Count)
{
    switch (M) {
    case Mode::Opaque: PixelRoutines.CopyRow(Src, Dst, Count); break;
    case Mode::Alpha: PixelRoutines.BlendRow(Src, Dst, Count); break;
    case Mode::Transparent: PixelRoutines.CopyRowTransparent(Src, Dst, Count); break;
    }
}

// ---- bitmap to bitmap ----

template <Mode M>
void BitmapRows(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, int SrcLeft, int SrcTop)
{
    int w = Area.Width();
    if (w <= 0 || Area.Height() <= 0) return;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        ApplyRow(M, Src->PixelAddress(SrcLeft, SrcTop + y - Area.Top), Dst->PixelAddress(Area.Left, y), w);
}

bool Intersect(TRect& Out, const TRect& A, const TRect& B)
{
    Out = Rect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom));
    return !Out.IsEmpty();
}

bool SourceInside(const TRect& SrcRect, int W, int H)
{
    return SrcRect.Left >= 0 && SrcRect.Top >= 0 && SrcRect.Right <= W && SrcRect.Bottom <= H;
}

// The stretching core shared by the bitmap and DIB blits: Row(y) gives the destination row of
// clip row y (image coordinates); Prev(y) the row written before it, for repeated source rows.
template <Mode M, class RowOf>
void StretchRows(const TRect& Clip, const TRect& DstRect, const TRect& SrcRect, TbsBitmap* Src, RowOf Row)
{
    int cw = Clip.Width();
    std::vector<int> cols = StretchMap(Clip.Left - DstRect.Left, cw, SrcRect.Left, SrcRect.Right, DstRect.Width());
    std::vector<int> rows =
        StretchMap(Clip.Top - DstRect.Top, Clip.Height(), SrcRect.Top, SrcRect.Bottom, DstRect.Height());
    std::vector<TbsColor> buffer(static_cast<size_t>(cw));
    TbsColor* prevRow = nullptr;
    int prevSource = -1;
    for (int j = 0; j < Clip.Height(); ++j) {
        TbsColor* dst = Row(Clip.Top + j) + Clip.Left;
        int sy = rows[j];
        if (sy == prevSource && prevRow) {
            if (M == Mode::Opaque)
                std::memcpy(dst, prevRow, static_cast<size_t>(cw) * sizeof(TbsColor));
            else
                ApplyRow(M, buffer.data(), dst, cw);
        } else {
            const TbsColor* srow = Src->ScanLineAddress(sy);
            if (M == Mode::Opaque) {
                for (int k = 0; k < cw; ++k) dst[k] = srow[cols[k]];
            } else {
                for (int k = 0; k < cw; ++k) buffer[k] = srow[cols[k]];
                ApplyRow(M, buffer.data(), dst, cw);
            }
        }
        prevRow = dst;
        prevSource = sy;
    }
}

// Reads from a copy when source and destination are one bitmap, as the layer's blits do.
struct SourceGuard {
    TbsBitmap* Use;
    std::unique_ptr<TbsBitmap> Copy;
    SourceGuard(TbsBitmap* Src, TbsBitmap* Dest) : Use(Src)
    {
        if (Src == Dest) {
            Copy = std::make_unique<TbsBitmap>();
            Copy->Assign(Src);
            Use = Copy.get();
        }
    }
};

template <Mode M>
void BitmapBlit(TbsBitmap* Dest, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect, TbsBitmap* Src)
{
    if (!Dest || !Src || SrcRect.IsEmpty() || Dest->Empty() || Src->Empty()) return;
    TRect clip;
    if (!Intersect(clip, ClipRect, Rect(0, 0, Dest->Width(), Dest->Height()))) return;
    if (!Intersect(clip, clip, DstRect)) return;
    if (!SourceInside(SrcRect, Src->Width(), Src->Height())) return;
    SourceGuard guard(Src, Dest);
    if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
        TbsBitmapRows rows = M == Mode::Opaque  ? BlitRoutines.BitmapRowsOpaque
                             : M == Mode::Alpha ? BlitRoutines.BitmapRowsAlpha
                                                : BlitRoutines.BitmapRowsTransparent;
        rows(Dest, clip, guard.Use, SrcRect.Left + clip.Left - DstRect.Left, SrcRect.Top + clip.Top - DstRect.Top);
    } else {
        StretchRows<M>(clip, DstRect, SrcRect, guard.Use, [&](int y) { return Dest->ScanLineAddress(y); });
    }
    EndMMX();
}

// ---- DIB memory (bottom-up rows) ----

template <Mode M>
void DibBlit(TbsColor* Bits, int DibWidth, int DibHeight, const TRect& DstRect, const TRect& ClipRect, TbsBitmap* Src,
             const TRect& SrcRect)
{
    if (!Bits || !Src || Src->Empty() || SrcRect.IsEmpty()) return;
    TRect clip;
    if (!Intersect(clip, ClipRect, Rect(0, 0, DibWidth, DibHeight))) return;
    if (!Intersect(clip, clip, DstRect)) return;
    if (!SourceInside(SrcRect, Src->Width(), Src->Height())) return;
    auto row = [&](int y) { return Bits + static_cast<ptrdiff_t>(DibHeight - 1 - y) * DibWidth; };
    if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
        int sx = SrcRect.Left + clip.Left - DstRect.Left, sy = SrcRect.Top + clip.Top - DstRect.Top;
        for (int y = clip.Top; y < clip.Bottom; ++y)
            ApplyRow(M, Src->PixelAddress(sx, sy + y - clip.Top), row(y) + clip.Left, clip.Width());
    } else {
        // The same nearest-neighbour map as every other stretch of the engine and the layer.
        StretchRows<M>(clip, DstRect, SrcRect, Src, row);
    }
    EndMMX();
}

// ---- device contexts ----

void DCBlitOpaqueImpl(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                      int SrcH)
{
    if (!Bitmap || Bitmap->Empty()) return;
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, X, Y, DstW, DstH, Bitmap->DC(), SrcX, SrcY, SrcW, SrcH, SRCCOPY);
}

void DCBlitAlphaImpl(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                     int SrcH)
{
    if (!Bitmap || Bitmap->Empty() || DstW <= 0 || DstH <= 0) return;
    TbsBitmap tmp;
    tmp.SetSize(DstW, DstH);
    BitBlt(tmp.DC(), 0, 0, DstW, DstH, DC, X, Y, SRCCOPY);
    TRect dst = Rect(0, 0, DstW, DstH), src = Bounds(SrcX, SrcY, SrcW, SrcH);
    if (Bitmap->AlphaBlend())
        BlitRoutines.BitmapBlitAlpha(&tmp, dst, dst, src, Bitmap);
    else if (Bitmap->Transparent())
        BlitRoutines.BitmapBlitTransparent(&tmp, dst, dst, src, Bitmap);
    else
        BlitRoutines.BitmapBlitOpaque(&tmp, dst, dst, src, Bitmap);
    BitBlt(DC, X, Y, DstW, DstH, tmp.DC(), 0, 0, SRCCOPY);
}

TbsDibInfo GetDCDibInfoImpl(HDC DC)
{
    TbsDibInfo info;
    HGDIOBJ obj = GetCurrentObject(DC, OBJ_BITMAP);
    DIBSECTION ds{};
    if (obj && GetObjectW(obj, sizeof(ds), &ds) == static_cast<int>(sizeof(ds))) {
        info.Bits = static_cast<TbsColor*>(ds.dsBm.bmBits);
        info.Width = ds.dsBmih.biWidth;
        info.Height = ds.dsBmih.biHeight;
        info.BitCount = ds.dsBmih.biBitCount;
    }
    return info;
}

// Unit start: the first transparent DC blit measures the screen and settles the table entry
// (the screen is not there yet while static objects are made).
void DCBlitTransparentFirst(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                            int SrcH)
{
    InitBlitRoutines();
    BlitRoutines.DCBlitTransparent(DC, X, Y, DstW, DstH, Bitmap, SrcX, SrcY, SrcW, SrcH);
}

bool g_msImg32Loaded = false;
bool g_msImg32Tried = false;
BOOL (*g_transparentBlt)(HDC, int, int, int, int, HDC, int, int, int, int, UINT) = nullptr;

void LoadMsImg32()
{
    if (g_msImg32Tried) return;
    g_msImg32Tried = true;
    if (!CanUseMsImg32()) return;
    // The layer's own TransparentBlt stands in for the system library's.
    g_transparentBlt = &::TransparentBlt;
    g_msImg32Loaded = g_transparentBlt != nullptr;
}

}  // namespace

TbsColor BlendPixelPlain(TbsColor F, TbsColor B)
{
    TbsColor a = F >> 24;
    if (a == 255) return F;
    if (a == 0) return B;
    TbsColor na = 255 - a;
    TbsColor rb = (((F & 0xFF00FF) * a + (B & 0xFF00FF) * na) >> 8) & 0xFF00FF;
    TbsColor g = (((F & 0x00FF00) * a + (B & 0x00FF00) * na) >> 8) & 0x00FF00;
    return rb | g | 0xFF000000u;
}

TbsColor BlendPixelMMX(TbsColor F, TbsColor B)
{
    // All four channels in two packed pairs (blue and red, green and alpha); each 16-bit lane
    // holds at most 255 x 256, so no lane carries into the next.
    TbsColor a = F >> 24, na = 256 - a;
    TbsColor rb = (((F & 0x00FF00FF) * a + (B & 0x00FF00FF) * na) >> 8) & 0x00FF00FF;
    TbsColor ag = (((F >> 8) & 0x00FF00FF) * a + ((B >> 8) & 0x00FF00FF) * na) & 0xFF00FF00;
    return rb | ag;
}

void BlendRowPlain(const TbsColor* Src, TbsColor* Dst, int Count)
{
    for (int i = 0; i < Count; ++i) {
        TbsColor a = Src[i] >> 24;
        if (a == 0) continue;
        Dst[i] = a == 255 ? Src[i] : BlendPixelPlain(Src[i], Dst[i]);
    }
}

void BlendRowMMX(const TbsColor* Src, TbsColor* Dst, int Count)
{
    for (int i = 0; i < Count; ++i) {
        TbsColor a = Src[i] >> 24;
        if (a == 0) continue;
        Dst[i] = a == 255 ? Src[i] : BlendPixelMMX(Src[i], Dst[i]);
    }
}

void DCBlitTransparentSoftware(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY,
                               int SrcW, int SrcH)
{
    DCBlitAlphaImpl(DC, X, Y, DstW, DstH, Bitmap, SrcX, SrcY, SrcW, SrcH);
}

void DCBlitTransparentSystem(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                             int SrcH)
{
    if (!Bitmap || Bitmap->Empty()) return;
    LoadMsImg32();
    if (!g_transparentBlt) return DCBlitTransparentSoftware(DC, X, Y, DstW, DstH, Bitmap, SrcX, SrcY, SrcW, SrcH);
    g_transparentBlt(DC, X, Y, DstW, DstH, Bitmap->DC(), SrcX, SrcY, SrcW, SrcH, bsKeyColor);
}

TbsPixelRoutines PixelRoutines = {
    BlendPixelMMX,      BlendRowMMX,     CopyRowTransparentImpl, CopyRowImpl,         FillRowImpl,
    FillRectPixelsImpl, SetRowAlphaImpl, SetRectAlphaImpl,       ClearColorAlphaImpl,
};

TbsBlitRoutines BlitRoutines = {
    DCBlitOpaqueImpl,
    DCBlitAlphaImpl,
    DCBlitTransparentFirst,
    GetDCDibInfoImpl,
    DibBlit<Mode::Opaque>,
    DibBlit<Mode::Alpha>,
    DibBlit<Mode::Transparent>,
    BitmapRows<Mode::Opaque>,
    BitmapRows<Mode::Alpha>,
    BitmapRows<Mode::Transparent>,
    BitmapBlit<Mode::Opaque>,
    BitmapBlit<Mode::Alpha>,
    BitmapBlit<Mode::Transparent>,
};

bool IsMMXPresent()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();  // may run before the runtime's own start-up code
    return __builtin_cpu_supports("mmx");
#else
    return true;  // the portable packed form runs anywhere
#endif
}

bool MMXActive = IsMMXPresent();

namespace {
// Unit start: the blend forms for this processor. The transparent DC blit settles on first use.
const bool g_pixelRoutinesChosen = (InitPixelRoutines(MMXActive), true);
}  // namespace

bool CanUseMsImg32()
{
    DWORD v = GetVersion();
    int major = v & 0xFF, minor = (v >> 8) & 0xFF;
    return major > 5 || (major == 5 && minor <= 2);
}

bool IsMsImg32Loaded()
{
    LoadMsImg32();
    return g_msImg32Loaded;
}

bool IsScreenTrueColor()
{
    static const bool trueColor = [] {
        HDC dc = GetDC(nullptr);
        bool r = dc && GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 23;
        if (dc) ReleaseDC(nullptr, dc);
        return r;
    }();
    return trueColor;
}

void InitPixelRoutines(bool UseMMX)
{
    PixelRoutines.BlendPixel = UseMMX ? BlendPixelMMX : BlendPixelPlain;
    PixelRoutines.BlendRow = UseMMX ? BlendRowMMX : BlendRowPlain;
}

void InitBlitRoutines(bool UseSystemTransparentBlt)
{
    BlitRoutines.DCBlitTransparent = UseSystemTransparentBlt ? DCBlitTransparentSystem : DCBlitTransparentSoftware;
}

void InitBlitRoutines() { InitBlitRoutines(IsMsImg32Loaded() && IsScreenTrueColor()); }
