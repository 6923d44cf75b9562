// TPngImage: a PNG picture (libpng through png_codec.h) with what image lists and the skin
// engine use of it: the colour type it was read with (grey 0, true colour 2, palette 3, grey with
// alpha 4, true colour with alpha 6), an alpha channel with row access (AlphaScanline), one
// transparent colour (ptmBit), pixel colours, blank pictures, and drawing with its alpha into
// any rectangle. Saved as 8-bit true colour, with alpha when it has any transparency.
#pragma once

#include <vector>

#include "platform/framework/graphics/graphic.h"

constexpr int COLOR_GRAYSCALE = 0;
constexpr int COLOR_RGB = 2;
constexpr int COLOR_PALETTE = 3;
constexpr int COLOR_GRAYSCALEALPHA = 4;
constexpr int COLOR_RGBALPHA = 6;

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

struct TPngHeader {
    int Width = 0;
    int Height = 0;
    int BitDepth = 8;  // per sample
    int ColorType = COLOR_RGB;
};

class TPngImage : public TGraphic {
public:
    TPngImage() = default;

    // From another PNG; from a TBitmap as true colour (a transparent bitmap gives its
    // transparent colour, ptmBit); from any other graphic through its pixels (alpha kept).
    void Assign(TPersistent* Source) override;
    TGraphic* CreateEmpty() const override { return new TPngImage; }
    TRasterImage ToRasterImage() const override;

    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    void SetWidth(int Value) override { Resize(Value, Height()); }
    void SetHeight(int Value) override { Resize(Width(), Value); }
    // Keeps the overlapping pixels; new pixels are black and, with alpha, transparent.
    void Resize(int AWidth, int AHeight);
    bool Transparent() const override { return TransparencyMode() != ptmNone; }

    // A black picture of the colour type; with an alpha channel every alpha is 0.
    void CreateBlank(int ColorType, int BitDepth, int AWidth, int AHeight);
    TPngHeader Header() const;

    TPNGTransparencyMode TransparencyMode() const;
    // ptmBit: the colour drawn as transparent (clNone when there is none).
    TColor TransparentColor() const;
    // Pictures without an alpha channel: makes the colour transparent (clNone removes it).
    void SetTransparentColor(TColor Value);
    void RemoveTransparency();
    // Gives the picture an alpha channel (grey -> 4, true colour and palette -> 6); pixels of
    // the transparent colour get alpha 0, all others 255.
    void CreateAlpha();
    // Row Y of the alpha channel (Width bytes), nullptr without one (colour types 0, 2, 3).
    uint8_t* AlphaScanline(int Y);
    const uint8_t* AlphaScanline(int Y) const;

    // RGB colour of a pixel (0 outside).
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Value);

    int CompressionLevel() const { return FCompression; }
    void SetCompressionLevel(int Value);

    // EInvalidGraphic for a corrupt or truncated file, leaving the picture as it was.
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

    // Blended by its alpha (or with its transparent colour left out), scaled into Rect; public
    // as the image lists draw their PNGs directly.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    bool HasAlphaPlane() const { return !FAlpha.empty(); }

    TRasterImage FImage;          // the colours; alpha bytes unused
    std::vector<uint8_t> FAlpha;  // Width x Height alphas, or empty
    int FColorType = COLOR_RGB;
    int FBitDepth = 8;
    bool FHasTransColor = false;
    TColor FTransColor = 0;
    int FCompression = 7;
};
