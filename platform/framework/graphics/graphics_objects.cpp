// TFont, TBrush and TPen over the GDI objects of the window layer.
#include "platform/framework/graphics/graphics_objects.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "platform/win/win_api.h"

TColor ColorToRGB(TColor Color)
{
    if ((static_cast<uint32_t>(Color) & 0xFF000000u) == 0xFF000000u)
        return static_cast<TColor>(GetSysColor(static_cast<int>(Color & 0xFF)) & 0xFFFFFF);
    return Color & 0xFFFFFF;
}

int PenModeToRop2(TPenMode Mode)
{
    static const int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    return kRop2[static_cast<int>(Mode)];
}

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

// ---- TFont ----

TFont::TFont() : FName(L"MS Sans Serif"), FHeight(-11), FColor(clWindowText), FCharset(DEFAULT_CHARSET) {}

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TFont::Changed()
{
    FreeHandle();
    TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this) return;
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        FOrientation = f->FOrientation;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const String& Value)
{
    if (Value.empty() || Value == FName) return;
    FName = Value;
    Changed();
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight) return;
    FHeight = Value;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch()); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, PixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    // The colour is no part of the font object: keep the handle.
    TGraphicsObject::Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (Value == FCharset) return;
    FCharset = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch) return;
    FPitch = Value;
    Changed();
}

void TFont::SetOrientation(int Value)
{
    if (Value == FOrientation) return;
    FOrientation = Value;
    Changed();
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        LOGFONTW lf;
        lf.lfHeight = FHeight;
        lf.lfEscapement = FOrientation;
        lf.lfOrientation = FOrientation;
        lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
        lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = FCharset;
        lf.lfPitchAndFamily = static_cast<BYTE>(FPitch == fpFixed ? 1 : FPitch == fpVariable ? 2 : 0);
        size_t n = std::min<size_t>(FName.size(), LF_FACESIZE - 1);
        std::wmemcpy(lf.lfFaceName, FName.data(), n);
        lf.lfFaceName[n] = 0;
        FHandle = CreateFontIndirectW(&lf);
    }
    return FHandle;
}

void TFont::SetHandle(HFONT Value)
{
    LOGFONTW lf;
    if (!Value || GetObjectW(Value, sizeof(lf), &lf) == 0) return;
    FName = lf.lfFaceName;
    FHeight = lf.lfHeight;
    TFontStyles s;
    if (lf.lfWeight >= FW_BOLD) s.Include(fsBold);
    if (lf.lfItalic) s.Include(fsItalic);
    if (lf.lfUnderline) s.Include(fsUnderline);
    if (lf.lfStrikeOut) s.Include(fsStrikeOut);
    FStyle = s;
    FCharset = lf.lfCharSet;
    FOrientation = lf.lfEscapement;
    Changed();
}

// ---- TBrush ----

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TBrush::Changed()
{
    FreeHandle();
    TGraphicsObject::Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b == this) return;
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor && FStyle == bsSolid) return;
    FColor = Value;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (!FHandle) {
        if (FStyle == bsClear) {
            LOGBRUSH lb;
            lb.lbStyle = BS_NULL;
            FHandle = CreateBrushIndirect(&lb);
        } else {
            FHandle = CreateSolidBrush(static_cast<COLORREF>(FColor == clNone ? 0 : FColor));
        }
    }
    return FHandle;
}

// ---- TPen ----

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TPen::Changed()
{
    FreeHandle();
    TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p == this) return;
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 0 || Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode) return;
    FMode = Value;
    TGraphicsObject::Changed();
}

HPEN TPen::Handle()
{
    if (!FHandle) {
        static const int kStyle[] = {PS_SOLID, PS_DASH, PS_DOT, 3, 4, PS_NULL, PS_INSIDEFRAME};
        FHandle =
            CreatePen(kStyle[static_cast<int>(FStyle)], FWidth, static_cast<COLORREF>(FColor == clNone ? 0 : FColor));
    }
    return FHandle;
}
