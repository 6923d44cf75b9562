#include "skin/core/text_layout.h"

#include "platform/win/gdi_api.h"

namespace {

TRect Calc(TCanvas* Canvas, const String& Text, TRect R, UINT Flags)
{
    DrawWideText(Canvas, Text, R, Flags | DT_CALCRECT);
    return R;
}

void ColourBar(TCanvas* Canvas, int X1, int X2, int Y0, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int y = Y0; y < Y0 + 3; ++y) {
        Canvas->MoveTo(X1, y);
        Canvas->LineTo(X2, y);
    }
}

// The caption's size in R less the glyph's side, as DrawImageAndText measures it.
void MeasureCaption(TCanvas* Canvas, const String& Caption, const TRect& R, TbsButtonLayout Layout, int GW, int GH,
                    int& TW, int& TH)
{
    TW = TH = 0;
    if (Caption.empty()) return;
    TRect t = Rect(0, 0, R.Width(), R.Height());
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
        t.Right -= GW;
    else
        t.Bottom -= GH;
    t = Calc(Canvas, Caption, t, DT_EXPANDTABS | DT_WORDBREAK);
    TW = t.Width();
    TH = t.Height();
}

void ImageAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                  int ImageIndex, TCustomImageList* Images, bool ADown, bool AEnabled, bool ADrawColorMarker,
                  TColor AColorMarkerValue, UINT Align)
{
    int gw = 0, gh = 0;
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
        gw = Images->Width();
        gh = Images->Height();
    }
    int tw, th;
    MeasureCaption(Canvas, Caption, R, Layout, gw, gh, tw, th);
    Canvas->Brush()->SetStyle(bsClear);
    int tx, ty, gx, gy;
    CalcGlyphAndTextPos(Layout, R, gw, gh, tw, th, Spacing, Margin, tx, ty, gx, gy);
    if (ADown) ++tx, ++ty, ++gx, ++gy;
    TRect t = Rect(tx, ty, tx + tw, ty + th);
    if (!Caption.empty()) {
        if (OddFontHeight(Canvas)) --t.Top;
        t.Right += 2;
        TRect d = t;
        DrawWideText(Canvas, Caption, d, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | Align);
    }
    if (gw != 0) {
        Images->Draw(Canvas, gx, gy, ImageIndex, AEnabled);
        if (ADrawColorMarker) ColourBar(Canvas, gx, gx + Images->Width(), gy + Images->Height() - 2, AColorMarkerValue);
    } else if (ADrawColorMarker) {
        if (!Caption.empty()) {
            ColourBar(Canvas, t.Left, t.Right, t.Bottom - 1, AColorMarkerValue);
        } else {
            Canvas->Brush()->SetColor(AColorMarkerValue);
            Canvas->FillRect(Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
        }
    }
}

// One line, vertically centred, with the odd-height and capital-W corrections as asked.
void OneLine(TCanvas* Canvas, const String& Text, TRect R, UINT Flags, bool WCorrection)
{
    if (Text.empty()) return;
    if (OddFontHeight(Canvas)) --R.Top;
    if (WCorrection && Text[0] == L'W') R.Right += 2;
    DrawWideText(Canvas, Text, R, Flags | DT_SINGLELINE | DT_VCENTER);
}

template <class Measure>
void Fit(String& Text, int MaxWidth, Measure Width)
{
    if (Text.empty() || Width(Text) <= MaxWidth) return;
    do Text.pop_back();
    while (!Text.empty() && Width(Text + L"...") > MaxWidth);
    Text += L"...";
}

}  // namespace

bool OddFontHeight(TCanvas* Canvas)
{
    int h = Canvas->Font()->Height();
    return h % 2 != 0;
}

void CalcGlyphAndTextPos(TbsButtonLayout Layout, const TRect& R, int GlyphWidth, int GlyphHeight, int TextWidth,
                         int TextHeight, int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY)
{
    int gw = GlyphWidth, gh = GlyphHeight, tw = TextWidth, th = TextHeight;
    int s = gw == 0 ? 0 : Spacing;
    int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    if (Margin == -1) {
        int m = (tw + gw + s) / 2, v = (th + gh + s) / 2;
        switch (Layout) {
        case blGlyphLeft: GlyphX = cx - m, GlyphY = cy - gh / 2, TextX = cx + m - tw, TextY = cy - th / 2; break;
        case blGlyphRight: GlyphX = cx + m - gw, GlyphY = cy - gh / 2, TextX = cx - m, TextY = cy - th / 2; break;
        case blGlyphTop: GlyphX = cx - gw / 2, GlyphY = cy - v, TextX = cx - tw / 2, TextY = cy + v - th; break;
        case blGlyphBottom: GlyphX = cx - gw / 2, GlyphY = cy + v - gh, TextX = cx - tw / 2, TextY = cy - v; break;
        }
        return;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphX = R.Left + Margin, GlyphY = cy - gh / 2, TextX = GlyphX + gw + s, TextY = cy - th / 2;
        break;
    case blGlyphRight:
        GlyphX = R.Right - gw - Margin, GlyphY = cy - gh / 2, TextX = GlyphX - s - tw, TextY = cy - th / 2;
        break;
    case blGlyphTop: GlyphX = cx - gw / 2, GlyphY = R.Top + Margin, TextX = cx - tw / 2, TextY = GlyphY + gh + s; break;
    case blGlyphBottom:
        GlyphX = cx - gw / 2, GlyphY = R.Bottom - gh - Margin, TextX = cx - tw / 2, TextY = GlyphY - s - th;
        break;
    }
}

void DrawImageAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      int ImageIndex, TCustomImageList* Images, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue)
{
    ImageAndText(Canvas, R, Margin, Spacing, Layout, Caption, ImageIndex, Images, ADown, AEnabled, ADrawColorMarker,
                 AColorMarkerValue, DT_CENTER);
}

void DrawImageAndTextLeft(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout,
                          const String& Caption, int ImageIndex, TCustomImageList* Images, bool ADown, bool AEnabled,
                          bool ADrawColorMarker, TColor AColorMarkerValue)
{
    ImageAndText(Canvas, R, Margin, Spacing, Layout, Caption, ImageIndex, Images, ADown, AEnabled, ADrawColorMarker,
                 AColorMarkerValue, 0);
}

void DrawGlyphAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      TBitmap* Glyph, TbsNumGlyphs NumGlyphs, int GlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue)
{
    int gw = 0, gh = 0;
    if (Glyph && !Glyph->Empty() && NumGlyphs > 0) {
        gw = Glyph->Width() / NumGlyphs;
        gh = Glyph->Height();
    }
    int tw, th;
    MeasureCaption(Canvas, Caption, R, Layout, gw, gh, tw, th);
    if (!Caption.empty()) Canvas->Brush()->SetStyle(bsClear);
    int tx, ty, gx, gy;
    CalcGlyphAndTextPos(Layout, R, gw, gh, tw, th, Spacing, Margin, tx, ty, gx, gy);
    if (ADown) ++tx, ++ty, ++gx, ++gy;
    TRect t = Rect(tx, ty, tx + tw + 2, ty + th);
    if (!Caption.empty()) {
        if (OddFontHeight(Canvas)) --t.Top;
        TRect d = t;
        DrawWideText(Canvas, Caption, d, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    }
    if (gw != 0) {
        DrawGlyphFrame(Canvas, gx, gy, Glyph, NumGlyphs, GlyphNum);
        if (ADrawColorMarker) ColourBar(Canvas, gx, gx + gw, gy + gh - 2, AColorMarkerValue);
    } else if (ADrawColorMarker) {
        if (!Caption.empty()) {
            ColourBar(Canvas, t.Left, t.Right, t.Bottom - 1, AColorMarkerValue);
        } else {
            Canvas->Brush()->SetColor(AColorMarkerValue);
            Canvas->FillRect(ADown ? Rect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
                                   : Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
        }
    }
}

void DrawGlyphFrame(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs, int GlyphNum)
{
    if (!Glyph || Glyph->Empty() || NumGlyphs <= 0) return;
    int fw = Glyph->Width() / NumGlyphs, h = Glyph->Height();
    if (fw <= 0) return;
    TBitmap frame;
    frame.SetPixelFormat(Glyph->PixelFormat() == pf32bit ? pf32bit : pf24bit);
    frame.SetSize(fw, h);
    frame.Canvas()->CopyRect(Rect(0, 0, fw, h), Glyph->Canvas(), Rect(fw * (GlyphNum - 1), 0, fw * GlyphNum, h));
    frame.SetTransparent(true);
    Canvas->Draw(X, Y, &frame);
}

int DrawWideText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags)
{
    HDC dc = Canvas->Handle();
    HGDIOBJ oldFont = SelectObject(dc, Canvas->Font()->Handle());
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
    bool clear = Canvas->Brush()->Style() == bsClear;
    int oldMode = SetBkMode(dc, clear ? TRANSPARENT : OPAQUE);
    COLORREF oldBk = SetBkColor(dc, ColorToRGB(Canvas->Brush()->Color()));
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    int result = DrawTextW(dc, Text.c_str(), static_cast<int>(Text.size()), &r, Flags);
    SetBkColor(dc, oldBk);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
    R = Rect(r.left, r.top, r.right, r.bottom);
    return result;
}

int GetWideTextWidth(TCanvas* Canvas, const String& Text) { return Calc(Canvas, Text, TRect{}, 0).Width(); }
int GetWideTextHeight(TCanvas* Canvas, const String& Text) { return Calc(Canvas, Text, TRect{}, 0).Height(); }

void FitTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth)
{
    Fit(Text, MaxWidth, [&](const String& s) { return Canvas->TextWidth(s); });
}

void FitWideTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth)
{
    Fit(Text, MaxWidth, [&](const String& s) { return GetWideTextWidth(Canvas, s); });
}

void DrawVCenterText(TCanvas* Canvas, const String& Text, TRect R) { OneLine(Canvas, Text, R, DT_LEFT, false); }
void DrawVCenterText2(TCanvas* Canvas, const String& Text, TRect R) { OneLine(Canvas, Text, R, DT_LEFT, true); }
void DrawCenteredText(TCanvas* Canvas, const String& Text, TRect R) { OneLine(Canvas, Text, R, DT_CENTER, true); }

void DrawAlignedText(TCanvas* Canvas, const String& Text, TRect R, int Alignment)
{
    const UINT flags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    if (Alignment < 0 || Alignment > 2) return;
    OneLine(Canvas, Text, R, flags[Alignment], false);
}

void DrawClippedText(TCanvas* Canvas, const String& Text, TRect R) { DrawClippedTextIndent(Canvas, Text, R, 0); }

void DrawClippedTextIndent(TCanvas* Canvas, const String& Text, TRect R, int Indent)
{
    if (Text.empty()) return;
    int y = R.Top + R.Height() / 2 - Canvas->TextHeight(Text) / 2;
    if (OddFontHeight(Canvas)) --y;
    Canvas->TextRect(R, R.Left + Indent + 2, y, Text);
}

String WrappedText(TCanvas* Canvas, const String& Text, int Width, bool WordWrap)
{
    String result, line;
    auto fits = [&](const String& s) { return Calc(Canvas, s, TRect{}, 0).Width() <= Width; };
    for (size_t i = 0; i < Text.size(); ++i) {
        wchar_t ch = Text[i];
        line += ch;
        if (ch == L' ') {
            result += ch;
            line.clear();
            continue;
        }
        if (fits(line)) {
            result += ch;
            continue;
        }
        if (WordWrap) {
            // A forced break point for the word break.
            result += L' ';
            result += ch;
            line.clear();
            continue;
        }
        // Shortening: the last three characters become dots and the rest of the word is skipped.
        if (result.size() > 3)
            for (size_t k = result.size() - 3; k < result.size(); ++k) result[k] = L'.';
        result += L' ';
        line.clear();
        while (i + 1 < Text.size() && Text[i + 1] != L' ') ++i;
    }
    return result;
}

void DrawWrappedText(TCanvas* Canvas, const String& Text, TRect R, bool WordWrap)
{
    if (Text.empty()) return;
    if (OddFontHeight(Canvas)) --R.Top;
    String s = WrappedText(Canvas, Text, R.Width(), WordWrap);
    DrawWideText(Canvas, s, R, DT_WORDBREAK | DT_CENTER);
}
