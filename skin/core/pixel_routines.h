// The skin bitmap's inner loops: two tables of routines, one for pixel rows and one for blits
// between skin bitmaps, device contexts and DIB memory, filled once when the skin engine starts.
// The blend routines come in two forms: the plain one (alpha forced to 255) and the packed one
// that blends all four channels; every machine the layer runs on reports the packed form.
#pragma once

#include <cstdint>

#include "platform/framework/core/types.h"
#include "platform/win/win_types.h"

// A skin pixel $AARRGGBB: blue, green, red, alpha in memory.
using TbsColor = uint32_t;
using PbsColorArray = TbsColor*;

// The transparent key colour, compared on the low 24 bits.
constexpr TbsColor bsKeyColor = 0x7F007F;
constexpr TbsColor bsTransparentPixel = 0x007F007F;

struct TbsPixelRoutines {
    TbsColor (*BlendPixel)(TbsColor F, TbsColor B);
    void (*BlendRow)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*CopyRowTransparent)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*CopyRow)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*FillRow)(TbsColor* Dst, int Count, TbsColor Color);
    // Inclusive rectangle (Left, Top) .. (LastCol, LastRow) of an array RowWidth pixels wide.
    void (*FillRectPixels)(TbsColor* Bits, int RowWidth, int Left, int Top, int LastCol, int LastRow, TbsColor Color);
    void (*SetRowAlpha)(TbsColor* Dst, int Count, uint8_t Alpha);
    void (*SetRectAlpha)(TbsColor* Bits, int RowWidth, int Left, int Top, int LastCol, int LastRow, uint8_t Alpha);
    void (*ClearColorAlpha)(TbsColor* Dst, int Count, TbsColor Color);
};

class TbsBitmap;

// What GetDCDibInfo finds selected into a DC.
struct TbsDibInfo {
    TbsColor* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
};

using TbsDCBlit = void (*)(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                           int SrcH);
// Into a bottom-up 32-bit DIB: its pixels, width and height, the destination and clip
// rectangles, the source bitmap and its rectangle.
using TbsDibBlit = void (*)(TbsColor* Bits, int DibWidth, int DibHeight, const TRect& DstRect, const TRect& ClipRect,
                            TbsBitmap* Src, const TRect& SrcRect);
// An equal-size area of Dst (Area) from Src at (SrcLeft, SrcTop).
using TbsBitmapRows = void (*)(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, int SrcLeft, int SrcTop);
using TbsBitmapBlit = void (*)(TbsBitmap* Dest, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                               TbsBitmap* Src);

struct TbsBlitRoutines {
    TbsDCBlit DCBlitOpaque;
    TbsDCBlit DCBlitAlpha;
    TbsDCBlit DCBlitTransparent;
    TbsDibInfo (*GetDCDibInfo)(HDC DC);
    TbsDibBlit DibBlitOpaque;
    TbsDibBlit DibBlitAlpha;
    TbsDibBlit DibBlitTransparent;
    TbsBitmapRows BitmapRowsOpaque;
    TbsBitmapRows BitmapRowsAlpha;
    TbsBitmapRows BitmapRowsTransparent;
    TbsBitmapBlit BitmapBlitOpaque;
    TbsBitmapBlit BitmapBlitAlpha;
    TbsBitmapBlit BitmapBlitTransparent;
};

extern TbsPixelRoutines PixelRoutines;
extern TbsBlitRoutines BlitRoutines;
extern bool MMXActive;

bool IsMMXPresent();
// The version allows the system's TransparentBlt (5.0 to 5.2, or above 5).
bool CanUseMsImg32();
bool IsMsImg32Loaded();
// The screen has more than 23 bits per pixel.
bool IsScreenTrueColor();
// Picks the packed or the plain blend forms.
void InitPixelRoutines(bool UseMMX = MMXActive);
// Picks the system's TransparentBlt or the software transparent blit for device contexts.
void InitBlitRoutines(bool UseSystemTransparentBlt);
void InitBlitRoutines();
// Leaves the packed-arithmetic state; the portable forms keep none, so nothing is left to do.
inline void EndMMX() {}

// The forms themselves, for tests and for callers that need one regardless of the tables.
TbsColor BlendPixelPlain(TbsColor F, TbsColor B);
TbsColor BlendPixelMMX(TbsColor F, TbsColor B);
void BlendRowPlain(const TbsColor* Src, TbsColor* Dst, int Count);
void BlendRowMMX(const TbsColor* Src, TbsColor* Dst, int Count);
void DCBlitTransparentSoftware(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY,
                               int SrcW, int SrcH);
void DCBlitTransparentSystem(HDC DC, int X, int Y, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX, int SrcY, int SrcW,
                             int SrcH);
