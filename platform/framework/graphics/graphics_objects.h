// TFont, TBrush and TPen: the drawing attributes a canvas selects into its device context, each
// owning the GDI object made from its properties (created on first use of Handle, remade after
// a change). Used by TCanvas, by the controls (Font, Color) and by the skin engine.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/types.h"
#include "platform/framework/graphics/graphics_types.h"

// Base of the three: OnChange after every property change, Assign between equal classes.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    void Assign(TPersistent* Source) override;

    const String& Name() const { return FName; }
    void SetName(const String& Value);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Points at 96 pixels per inch: Size = -Height * 72 / 96, rounded.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    // Tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    int PixelsPerInch() const { return 96; }

    // The font object (owned; valid until the next change or the font's end).
    HFONT Handle();
    // Takes the properties of an existing font object (not owned).
    void SetHandle(HFONT Value);

protected:
    void Changed() override;

private:
    void FreeHandle();

    String FName;
    int FHeight;
    TFontStyles FStyle;
    TColor FColor;
    TFontCharset FCharset;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    HFONT FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;

    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);  // also makes the style bsSolid when it was bsClear
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

    HBRUSH Handle();

protected:
    void Changed() override;

private:
    void FreeHandle();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBRUSH FHandle = nullptr;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;

    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    // Not part of the pen object: the canvas applies it as the DC's mix mode.
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    HPEN Handle();

protected:
    void Changed() override;

private:
    void FreeHandle();

    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    HPEN FHandle = nullptr;
};

// The R2_ mix code of a pen mode.
int PenModeToRop2(TPenMode Mode);
