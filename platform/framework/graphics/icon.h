// TIcon: an icon picture with alpha, read from and written to .ico files (entries as DIBs with
// an AND mask, or as PNG), and an HICON of the window layer made on demand or taken over
// (stock icons, icons handed over by the shell). Used by image lists (GetIcon), the tray icon,
// forms and the picture class.
#pragma once

#include "platform/framework/graphics/graphic.h"

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    // From another icon or any graphic through its pixels.
    void Assign(TPersistent* Source) override;
    TGraphic* CreateEmpty() const override { return new TIcon; }
    TRasterImage ToRasterImage() const override { return FImage; }

    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    // Sizes a new, empty icon (transparent pixels); an icon with pixels keeps its size.
    void SetWidth(int Value) override { SetSize(Value, Height()); }
    void SetHeight(int Value) override { SetSize(Width(), Value); }
    void SetSize(int AWidth, int AHeight) override;
    bool Transparent() const override { return true; }

    // The icon object (owned; made from the pixels on first use, nullptr while empty).
    HICON Handle();
    // Takes over an icon object and its pixels (a stock icon is only borrowed).
    void SetHandle(HICON Value);
    HICON ReleaseHandle();

    // The largest image of an .ico file; EInvalidGraphic for a corrupt or truncated file.
    void LoadFromStream(TStream& Stream) override;
    // One 32-bit image with its mask (PNG above 256 pixels).
    void SaveToStream(TStream& Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    void FreeHandle();
    void SetImage(TRasterImage Image);

    TRasterImage FImage;  // straight alpha
    HICON FHandle = nullptr;
};

// The pixels of an .ico file's largest image; EInvalidGraphic for anything unreadable.
TRasterImage LoadIco(const uint8_t* Data, size_t Size);
std::vector<uint8_t> SaveIco(const TRasterImage& Image);
