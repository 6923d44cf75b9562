// TGraphic: the common base of the picture classes (bitmap, icon, JPEG, PNG, GIF) that a canvas
// draws and a picture holds. Descendants give their size, draw themselves into a rectangle of a
// canvas and read and write their own file format.
#pragma once

#include <vector>

#include "platform/framework/core/component.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/types.h"
#include "platform/framework/graphics/codecs/raster_image.h"
#include "platform/framework/graphics/graphics_types.h"

class TCanvas;

class TGraphic : public TPersistent {
public:
    TGraphic() = default;
    ~TGraphic() override = default;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual void SetSize(int AWidth, int AHeight);
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    // A new empty graphic of the same class (pictures copy graphics through it).
    virtual TGraphic* CreateEmpty() const { return nullptr; }
    // The pixels with the alpha the graphic draws with (HasAlpha set when it has any); the
    // picture classes convert between each other through it. By default the graphic drawn
    // onto an opaque 32-bit bitmap.
    virtual TRasterImage ToRasterImage() const;

    // The format of the class; EInvalidGraphic for anything it cannot read.
    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) = 0;
    // EFOpenError / EFCreateError when the file cannot be opened or made.
    virtual void LoadFromFile(const String& FileName);
    virtual void SaveToFile(const String& FileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the whole graphic scaled into Rect.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed();

    bool FTransparent = false;

private:
    bool FModified = false;
};

// The bytes from a stream's position to its end (the picture readers take whole files).
std::vector<uint8_t> ReadRestOfStream(TStream& Stream);

// Draws straight-alpha BGRA pixels scaled into R of the canvas: blended by their alpha times
// Opacity/255 when UseAlpha, else copied. For the picture classes that carry alpha.
void DrawRasterImage(TCanvas* Canvas, const TRect& R, const TRasterImage& Image, bool UseAlpha, int Opacity = 255);
