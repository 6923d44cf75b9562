// Colours, style sets and the small enumerations of the framework's graphics classes (fonts,
// brushes, pens, canvases, bitmaps). Included by every graphics header and by the controls and
// the skin engine that pass colours around.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/win/win_types.h"

// Extent of a text or picture.
struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// 0x00BBGGRR, or a system colour 0xFF0000nn (nn = COLOR_* index), or clNone / clDefault.
using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours resolved to their RGB value (0x00BBGGRR); other colours keep their low 24 bits.
TColor ColorToRGB(TColor Color);

// A set of enumeration values (up to 32), as the framework's style and state sets.
template <typename E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values)
    {
        for (E v : values) FBits |= Bit(v);
    }
    constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TEnumSet& Include(E v)
    {
        FBits |= Bit(v);
        return *this;
    }
    constexpr TEnumSet& Exclude(E v)
    {
        FBits &= ~Bit(v);
        return *this;
    }
    constexpr uint32_t Bits() const { return FBits; }
    friend constexpr TEnumSet operator+(TEnumSet a, TEnumSet b)
    {
        a.FBits |= b.FBits;
        return a;
    }
    friend constexpr TEnumSet operator-(TEnumSet a, TEnumSet b)
    {
        a.FBits &= ~b.FBits;
        return a;
    }
    friend constexpr TEnumSet operator*(TEnumSet a, TEnumSet b)
    {
        a.FBits &= b.FBits;
        return a;
    }
    friend constexpr bool operator==(TEnumSet a, TEnumSet b) { return a.FBits == b.FBits; }

private:
    static constexpr uint32_t Bit(E v) { return 1u << static_cast<unsigned>(v); }
    uint32_t FBits = 0;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TEnumSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;

enum TBrushStyle { bsSolid, bsClear };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// Raster operations of TCanvas::CopyMode (the blit ROP codes).
using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmWhiteness = 0x00FF0062;
