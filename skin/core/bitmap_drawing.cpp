// Drawing a TbsBitmap: onto another skin bitmap through the pixel routines (alpha stays exact,
// no GDI), onto any other DC through a GDI blit, tiled, and merged beneath a bitmap's pixels.
// The source's flags choose the form: AlphaBlend first, then Transparent, else opaque.
#include <algorithm>
#include <vector>

#include "platform/win/gdi_api.h"
#include "skin/core/skin_bitmap.h"

namespace {

TbsBitmapBlit BitmapBlitFor(const TbsBitmap* B)
{
    return B->AlphaBlend()    ? BlitRoutines.BitmapBlitAlpha
           : B->Transparent() ? BlitRoutines.BitmapBlitTransparent
                              : BlitRoutines.BitmapBlitOpaque;
}

TbsDCBlit DCBlitFor(const TbsBitmap* B)
{
    return B->AlphaBlend()    ? BlitRoutines.DCBlitAlpha
           : B->Transparent() ? BlitRoutines.DCBlitTransparent
                              : BlitRoutines.DCBlitOpaque;
}

TbsDibBlit DibBlitFor(const TbsBitmap* B)
{
    return B->AlphaBlend()    ? BlitRoutines.DibBlitAlpha
           : B->Transparent() ? BlitRoutines.DibBlitTransparent
                              : BlitRoutines.DibBlitOpaque;
}

// Where the DC's logical (0, 0) lies in its pixels: the whole logical-to-device mapping
// (window and viewport origins), as GDI applies it.
TPoint DeviceOffset(HDC DC)
{
    POINT p{0, 0};
    LPtoDP(DC, &p, 1);
    return Point(p.x, p.y);
}

TRect Moved(const TRect& R, TPoint D) { return Rect(R.Left + D.X, R.Top + D.Y, R.Right + D.X, R.Bottom + D.Y); }

// The part of Dst (device pixels) inside the DC's clip box; empty when none is.
TRect ClippedByDC(HDC DC, TPoint Offset, const TRect& Dst)
{
    RECT box{};
    if (GetClipBox(DC, &box) == NULLREGION) return TRect{};
    TRect r = Moved(Rect(box.left, box.top, box.right, box.bottom), Offset);
    return Rect(std::max(r.Left, Dst.Left), std::max(r.Top, Dst.Top), std::min(r.Right, Dst.Right),
                std::min(r.Bottom, Dst.Bottom));
}

// The tiles of DstRect for a source SrcRect, columns outer, each cut to DstRect, with the part
// of the source (from its top-left corner) that fills it.
template <class F>
void ForEachTile(const TRect& DstRect, const TRect& SrcRect, F&& Fn)
{
    int sw = SrcRect.Width(), sh = SrcRect.Height();
    if (sw <= 0 || sh <= 0) return;
    int dw = DstRect.Width(), dh = DstRect.Height();
    if (dw <= 0 || dh <= 0) return;
    int nx = dw / sw + (dw % sw ? 1 : 0), ny = dh / sh + (dh % sh ? 1 : 0);
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            TRect tile = Bounds(DstRect.Left + i * sw, DstRect.Top + j * sh, sw, sh);
            tile.Right = std::min(tile.Right, DstRect.Right);
            tile.Bottom = std::min(tile.Bottom, DstRect.Bottom);
            if (tile.IsEmpty()) break;
            Fn(tile, Bounds(SrcRect.Left, SrcRect.Top, tile.Width(), tile.Height()));
        }
}

bool Meets(const TRect& A, const TRect& B)
{
    return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
           std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

}  // namespace

// ---- Draw ----

void TbsBitmap::Draw(HDC DC, int X, int Y) { Draw(DC, X, Y, Rect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(HDC DC, int X, int Y, const TRect& SrcRect)
{
    Draw(DC, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect) { Draw(DC, DstRect, Rect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (!DC) return;
    if (TbsBitmap* target = FindBitmapByDC(DC)) {
        TPoint d = DeviceOffset(DC);
        TRect dst = Moved(DstRect, d), clip = ClippedByDC(DC, d, dst);
        if (!clip.IsEmpty()) BitmapBlitFor(this)(target, dst, clip, SrcRect, this);
        return;
    }
    DCBlitFor(this)(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), this, SrcRect.Left, SrcRect.Top,
                    SrcRect.Width(), SrcRect.Height());
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y) { Draw(Canvas->Handle(), X, Y); }
void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect) { Draw(Canvas->Handle(), X, Y, SrcRect); }
void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect)
{
    Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y) { Draw(Bitmap, X, Y, Rect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect)
{
    Draw(Bitmap, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect) { Draw(Bitmap, DstRect, Rect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    if (Bitmap) BitmapBlitFor(this)(Bitmap, DstRect, DstRect, SrcRect, this);
}

// ---- Tile and TileClip ----

void TbsBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (!DC || SrcRect.Width() == 0 || SrcRect.Height() == 0) return;
    TbsBitmap* target = FindBitmapByDC(DC);
    TbsDibInfo dib;
    TPoint d = DeviceOffset(DC);
    if (!target) dib = BlitRoutines.GetDCDibInfo(DC);
    ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& src) {
        if (target) {
            TRect t = Moved(tile, d), clip = ClippedByDC(DC, d, t);
            if (!clip.IsEmpty()) BitmapBlitFor(this)(target, t, clip, src, this);
        } else if (dib.BitCount == 32 && dib.Height > 0 && dib.Bits) {
            TRect t = Moved(tile, d);
            DibBlitFor(this)(dib.Bits, dib.Width, dib.Height, t, t, this, src);
        } else {
            DCBlitFor(this)(DC, tile.Left, tile.Top, tile.Width(), tile.Height(), this, src.Left, src.Top, src.Width(),
                            src.Height());
        }
    });
}

void TbsBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect)
{
    Tile(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    if (!Bitmap || SrcRect.Width() * SrcRect.Height() == 0) return;
    ForEachTile(DstRect, SrcRect,
                [&](const TRect& tile, const TRect& src) { BitmapBlitFor(this)(Bitmap, tile, tile, src, this); });
}

void TbsBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    if (!DC) return;
    bool all = DstClip.IsEmpty();
    ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& src) {
        if (all || Meets(tile, DstClip)) Draw(DC, tile, src);
    });
}

void TbsBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TbsBitmap::TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    if (!Bitmap) return;
    bool all = DstClip.IsEmpty();
    ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& src) {
        if (all || Meets(tile, DstClip)) Draw(Bitmap, tile, src);
    });
}

// ---- MergeDraw ----

void TbsBitmap::MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect)
{
    if (!Bitmap || Bitmap->Empty() || !FBits) return;
    TRect s = SrcRect;
    if (s.Left < 0) {
        X -= s.Left;
        s.Left = 0;
    }
    if (s.Top < 0) {
        Y -= s.Top;
        s.Top = 0;
    }
    s.Right = std::min(s.Right, Bitmap->Width());
    s.Bottom = std::min(s.Bottom, Bitmap->Height());
    std::unique_ptr<TbsBitmap> copy;
    if (Bitmap == this) {
        copy = std::make_unique<TbsBitmap>();
        copy->Assign(this);
        Bitmap = copy.get();
    }
    for (int sx = s.Left; sx < s.Right; ++sx)
        for (int sy = s.Top; sy < s.Bottom; ++sy) {
            int tx = X + sx - s.Left, ty = Y + sy - s.Top;
            if (tx < 0 || ty < 0 || tx >= FWidth || ty >= FHeight) continue;
            TbsColor* t = PixelAddress(tx, ty);
            TbsColor a = *t >> 24;
            if (a == 0)
                *t = *Bitmap->PixelAddress(sx, sy);
            else if (a < 255)
                *t = PixelRoutines.BlendPixel(*t, *Bitmap->PixelAddress(sx, sy));
        }
    EndMMX();
}
