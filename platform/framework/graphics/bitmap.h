// TBitmap: a picture held in a DIB section of the window layer, with a canvas on its own memory
// DC, direct row access (ScanLine), pixel formats of 1, 4, 8, 16, 24 and 32 bits, transparency
// by colour (automatic = the bottom-left pixel, or fixed), and the BMP file format. Used by the
// controls, the picture classes, the image lists, the skin engine and the engine's frame grabs.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/graphics/canvas.h"
#include "platform/framework/graphics/codecs/raster_image.h"
#include "platform/framework/graphics/graphic.h"

// pfDevice is a 32-bit DIB that reports itself as the device format (saved as 24 bits).
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// Every bitmap is a DIB section; bmDDB is accepted and kept as a DIB.
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };
// What the fourth byte of a 32-bit bitmap is: nothing (GDI drawing leaves it 0), straight alpha,
// or alpha with the colours premultiplied by it.
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;

    // From another TBitmap (pixels, format, palette, transparency), nullptr (empty), or any
    // other graphic through its pixels (32 bits when it has alpha).
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override { SetSize(Value, FHeight); }
    void SetHeight(int Value) override { SetSize(FWidth, Value); }
    // Keeps the overlapping pixels; new pixels are black (zero). A zero side empties the bitmap.
    void SetSize(int AWidth, int AHeight) override;

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels (to indexed formats through the palette: black and white for 1 bit,
    // the picture's own colours or a reduced palette for 4 and 8 bits).
    void SetPixelFormat(TPixelFormat Value);
    int BitsPerPixel() const;
    TBitmapHandleType HandleType() const { return bmDIB; }
    void SetHandleType(TBitmapHandleType) {}
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool Value);

    // The DIB section (owned; nullptr while empty).
    HBITMAP Handle() const { return FHandle; }
    // Takes over a DIB section made by CreateDIBSection (the bitmap then owns it).
    void SetHandle(HBITMAP Value);
    // Gives the DIB section away; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    // Row Row of the pixels, top row 0; EInvalidGraphic outside 0..Height-1.
    void* ScanLine(int Row);
    int ScanLineSize() const { return FStride; }

    TCanvas* Canvas();

    // Colour table of the indexed formats.
    const std::vector<TPaletteEntry>& Palette() const { return FPalette; }
    void SetPalette(const std::vector<TPaletteEntry>& Value);

    // pf32bit only. Loading or assigning a picture with alpha sets afDefined; a bitmap with
    // alpha is drawn blended, saved with its alpha and converted with it.
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat Value);

    // tmAuto: the bottom-left pixel's colour (white for an empty monochrome bitmap).
    TColor TransparentColor();
    void SetTransparentColor(TColor Value);  // tmFixed; clDefault gives tmAuto
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // BMP files (1, 4, 8, 16, 24, 32 bits; see bmp_codec.h). Loading sets the pixel format of
    // the file; saving writes the pixel format's depth (pfDevice as 24 bits).
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    // From the program's resource table (resources.h); EResNotFound when it has no such name.
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);

    // The pixels as a raster image (with alpha for pf32bit with an alpha format, straight), and
    // back: Format pfCustom picks it from the image (its bit depth as read, 32 bits for alpha,
    // else 24); a pf32bit result takes afDefined when the image has alpha.
    TRasterImage ToRasterImage() const override;
    TGraphic* CreateEmpty() const override { return new TBitmap; }
    void AssignRasterImage(const TRasterImage& Image, TPixelFormat Format = pfCustom);

    // 0xAARRGGBB of a pixel of any format (0 outside); for tests and converters.
    uint32_t PixelArgb(int X, int Y) const;
    void SetPixelArgb(int X, int Y, uint32_t Argb);

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;
    // A new DIB section of the size and format; the old pixels are not copied.
    void NewImage(int AWidth, int AHeight, TPixelFormat Format, const std::vector<TPaletteEntry>& Palette);
    void FreeImage();
    void SelectIntoCanvas();
    void AssignRasterImageAs(const TRasterImage& Image, TPixelFormat Format, const std::vector<TPaletteEntry>& Palette);

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::vector<TPaletteEntry> FPalette;
    HBITMAP FHandle = nullptr;
    uint8_t* FBits = nullptr;
    int FStride = 0;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
    TAlphaFormat FAlphaFormat = afIgnored;
};

// Bits per pixel of a format (pfDevice and pfCustom: 32).
int PixelFormatBits(TPixelFormat Format);
