// TbsBitmap: the skin engine's 32-bit picture, a top-down DIB section with its own memory DC, so
// GDI draws on it through Canvas while the pixel routines read and write its pixels directly.
// Every skin picture with alpha, every off-screen buffer of glows, shadows and layered borders
// and every temporary image of the blits is one. Drawing it is in bitmap_drawing.cpp.
#pragma once

#include <memory>

#include "platform/framework/core/component.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/graphics/canvas.h"
#include "platform/framework/graphics/graphic.h"
#include "skin/core/pixel_routines.h"

class TbsBitmapLink;

class TbsBitmap : public TPersistent {
public:
    TbsBitmap();
    ~TbsBitmap() override;
    TbsBitmap(const TbsBitmap&) = delete;
    TbsBitmap& operator=(const TbsBitmap&) = delete;

    // (Re)creates the pixels (all zero) at |AWidth| x |AHeight|; a zero side or the current size
    // changes nothing. Raises Exception when the DIB section or its DC cannot be made, and the
    // bitmap is then empty.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const { return FHandle == nullptr; }

    HBITMAP Handle() const { return FHandle; }
    HDC DC() const { return FDC; }
    TCanvas* Canvas();
    PbsColorArray Bits() const { return FBits; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    bool NewFormat() const { return FNewFormat; }
    void SetNewFormat(bool Value) { FNewFormat = Value; }

    // ---- pixels ----
    void Clear(TbsColor Color);
    // Clipped to the bitmap; with AlphaBlend set the colour is blended by its own alpha.
    void FillRect(const TRect& R, TbsColor Color);
    void SetAlpha(uint8_t Alpha);
    void SetAlpha(uint8_t Alpha, const TRect& R);
    // Each colour channel := min(channel, alpha).
    void CheckRGBA();
    // Premultiplies: each colour channel := round(alpha * channel / 255).
    void CheckRGBA2();
    // AlphaBlend := some pixel has an alpha other than 0 and 255.
    void CheckingAlphaBlend();
    void CheckingAlphaBlend(const TRect& ARect);
    // Pixels within 5 of Color on each of red, green and blue become the transparent key with
    // alpha 0 and set Transparent.
    void CheckingTransparent(TbsColor Color);
    void CheckingTransparent(const TRect& ARect, TbsColor Color);
    // No checks: the caller keeps inside the bitmap.
    PbsColorArray ScanLineAddress(int Y) const { return FBits + static_cast<ptrdiff_t>(Y) * FWidth; }
    TbsColor* PixelAddress(int X, int Y) const { return ScanLineAddress(Y) + X; }
    // Stores Color only inside the bitmap.
    void SetPixel(int X, int Y, TbsColor Color);
    // 0 outside the bitmap or when empty.
    TbsColor Pixel(int X, int Y) const;

    // ---- conversions ----
    // From a TbsBitmap (an empty one empties this), a TBitmap (32-bit pixels kept with their
    // alpha, others opaque), a TPicture or any TGraphic; otherwise EConvertError.
    void Assign(TPersistent* Source) override;
    // Draws the graphic scaled into DstRect; its pure magenta pixels leave this bitmap's pixels.
    void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);

    // ---- loaders and the stream format ----
    // A bitmap of the program's resource table (resources.h); a missing one changes nothing.
    void LoadFromResource(const String& ResFileName, const String& ResName);
    // Name (int32 count, UTF-16LE), width, height (negative: rows bottom-up), pixels.
    // Raises EReadError for a stream too short for what its header claims.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);
    // An 8-bit palettised PCX picture; a wrong first byte leaves the pixels.
    void LoadFromPcxStream(TStream& Stream);

    // ---- reflections ----
    // Flip, then fade each row's alpha from full down to none at the middle, divided by 3, 4, 2.
    void Reflection();
    void Reflection2();
    void Reflection3();
    void FlipVert();

    // ---- colour operations (color_filters.cpp) ----
    void SetBitmapHue(int Hue);
    void ChangeBitmapSat(int DeltaSat);
    void ChangeBitmapHue(int DeltaHue);
    void ChangeBitmapBrightness(int DeltaBrightness);

    // ---- links (bitmap_link.cpp); the caller owns the link ----
    TbsBitmapLink* GetBitmapLink(const TRect& R);
    TbsBitmapLink* GetBitmapLink(const String& R);

    // ---- drawing (bitmap_drawing.cpp); this bitmap is the source ----
    void Draw(HDC DC, int X, int Y);
    void Draw(HDC DC, int X, int Y, const TRect& SrcRect);
    void Draw(HDC DC, const TRect& DstRect);
    void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    // Fill DstRect with unscaled copies of SrcRect; TileClip draws only the copies that meet
    // DstClip (all when DstClip is empty).
    void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    // Merges SrcRect of Bitmap beneath this bitmap's own pixels at (X, Y): this bitmap is the
    // upper layer and the target.
    void MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);

    // Canvas-style operations kept for callers that use the bitmap like a canvas; they draw
    // nothing (text and shapes go through Canvas).
    void DrawBevel() {}
    void DrawEdge() {}
    void DrawEllipse() {}
    void DrawFocusRect() {}
    void DrawLine() {}
    void DrawPolygon() {}
    void DrawRect() {}
    void DrawRoundRect() {}
    void FillEllipse() {}
    void FillGradientRect() {}
    void FillHalftonePolygon() {}
    void FillHalftoneRect() {}
    void FillPolygon() {}
    void FillRadialGradientRect() {}
    void FillRoundRect() {}
    void LineTo() {}
    void MoveTo() {}
    int DrawText(const String&, const TRect&, UINT = 0) { return 0; }
    int DrawText(const String&, int, int) { return 0; }
    int DrawVerticalText(const String&, const TRect&) { return 0; }
    int TextWidth(const String&) { return 0; }
    int TextHeight(const String&) { return 0; }

protected:
    // A TPicture receives the bitmap as its Bitmap, a TBitmap becomes a 32-bit copy, a
    // TClipboard receives such a copy; anything else EConvertError.
    void AssignTo(TPersistent* Dest) override;

private:
    void FreeHandles();
    void ReflectionBy(int Divisor);
    // The part of R inside the bitmap; empty when nothing is.
    TRect ClipToBitmap(const TRect& R) const;

    PbsColorArray FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    String FName;
    BITMAPINFO FBitmapInfo{};
    HBITMAP FHandle = nullptr;
    HDC FDC = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FAlphaBlend = false;
    bool FTransparent = false;
    bool FNewFormat = false;
};

// The first live bitmap whose DC is DC, or nullptr.
TbsBitmap* FindBitmapByDC(HDC DC);
// How many bitmaps own a DC now (for tests of the registry).
int LiveBitmapCount();

namespace bs_testing {
// Makes the next SetSize fail at step 1 (pixels), 2 (DC) or 3 (select); 0 for none.
void FailNextSetSize(int Step);
}  // namespace bs_testing
