// TbsEffectBmp: a plain 24-bit picture for the engine's transitions and colour effects. A
// morphing control paints both looks, copies each into one, mixes the current look towards the
// target by the morph factor Kf (0..1) and draws the result; the inactive-frame effect and the
// tab rotations work on it too. Rows are 3 x Width + Width mod 4 bytes; a single pixel's colour
// is blue + green x 256 + red x 65536.
#pragma once

#include <cstdint>

#include "platform/framework/core/component.h"
#include "platform/framework/core/types.h"
#include "platform/framework/graphics/graphics_types.h"
#include "platform/win/win_types.h"

enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TbsMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

class TbsEffectBmp : public TObject {
public:
    TbsEffectBmp(int cx, int cy);
    // A copy of the bitmap behind a bitmap handle.
    static TbsEffectBmp* CreateFromhWnd(HBITMAP hBmp);
    static TbsEffectBmp* CreateCopy(const TbsEffectBmp* hBmp);
    ~TbsEffectBmp() override;
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;

    // Row y (3 x Width bytes) into Line.
    void GetScanLine(int y, void* Line) const;
    int Pixel(int x, int y) const;
    void SetPixel(int x, int y, int Color);
    int RowBytes() const { return 3 * Width + Width % 4; }

    void Draw(HDC hDC, int x, int y);
    void Stretch(HDC hDC, int x, int y, int cx, int cy);
    // The cx x cy area at (x, y), unscaled, at (hx, hy).
    void DrawRect(HDC hDC, int hx, int hy, int x, int y, int cx, int cy);

    // Transitions towards BMP (same size, else nothing); Kf 0 keeps this look.
    void Morph(const TbsEffectBmp* BMP, double Kf);
    void MorphRect(const TbsEffectBmp* BMP, double Kf, TRect Rct, int StartX, int StartY);
    void CopyRect(const TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY);
    void MorphGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphHGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphVGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphLeftGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphRightGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphLeftSlide(const TbsEffectBmp* BMP, double Kf);
    void MorphRightSlide(const TbsEffectBmp* BMP, double Kf);
    void MorphPush(const TbsEffectBmp* BMP, double Kf);
    // The transition of a morph kind.
    void MorphBy(TbsMorphKind Kind, const TbsEffectBmp* BMP, double Kf);

    // Effects on the picture itself.
    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void GrayScale();
    void Invert();
    void SplitBlur(int Amount);
    void Mosaic(int ASize);
    void AddMonoNoise(int Amount);
    void AddColorNoise(int Amount);
    void Wave(int XDIV, int YDIV, int RatioVal);
    void MaskAntialiasing(const TbsEffectBmp* Msk, int Amount);
    void MaskBlur(const TbsEffectBmp* Msk, int Amount);
    void MaskFillColor(const TbsEffectBmp* Msk, TColor C, double kf);
    // The inactive-frame effect with its fixed parameters.
    void ApplyInActiveEffect(TbsInActiveEffect Effect);

    // Into Dst, which must have the matching size (else nothing).
    void Rotate90_1(TbsEffectBmp* Dst) const;  // a quarter turn counter-clockwise
    void Rotate90_2(TbsEffectBmp* Dst) const;  // clockwise
    void FlipVert(TbsEffectBmp* Dst) const;
    void Resize(TbsEffectBmp* Dst) const;

    HBITMAP Handle = nullptr;
    int Width = 0;
    int Height = 0;
    int Size = 0;
    uint8_t* Bits = nullptr;
    BITMAPINFOHEADER BmpHeader{};
    BITMAPINFO BmpInfo{};

private:
    uint8_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * RowBytes(); }
    uint8_t* At(int x, int y) const { return Row(y) + 3 * x; }
    bool SameSize(const TbsEffectBmp* B) const
    {
        return B && B->Bits && Bits && B->Width == Width && B->Height == Height;
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    // The four-sample average of SplitBlur at (x, y).
    void SplitSample(int x, int y, int Amount, uint8_t* Out) const;
};
