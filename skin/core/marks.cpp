#include "skin/core/marks.h"

#include "platform/win/gdi_api.h"

namespace {

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// Inclusive ranges: one more pixel than MoveTo/LineTo would paint.
void VLine(TCanvas* C, int X, int Y1, int Y2) { Line(C, X, Y1, X, Y2 + 1); }
void HLine(TCanvas* C, int Y, int X1, int X2) { Line(C, X1, Y, X2 + 1, Y); }

int Cx(const TRect& R) { return R.Left + RectWidth(R) / 2; }
int Cy(const TRect& R) { return R.Top + RectHeight(R) / 2; }

// Kinds 1 to 4 of the arrows: Lines lines growing by one pixel each way, two pixels back from
// the centre.
void Arrow(TCanvas* C, const TRect& R, int Kind, int Lines)
{
    int cx = Cx(R), cy = Cy(R);
    switch (Kind) {
    case 1:
        for (int i = 0; i < Lines; ++i) VLine(C, cx - 2 + i, cy - i, cy + i);
        break;
    case 2:
        for (int n = Lines - 1; n >= 0; --n) VLine(C, cx + 2 - n, cy - n, cy + n);
        break;
    case 3:
        for (int i = 0; i < Lines; ++i) HLine(C, cy - 2 + i, cx - i, cx + i);
        break;
    case 4:
        for (int n = Lines - 1; n >= 0; --n) HLine(C, cy + 2 - n, cx - n, cx + n);
        break;
    }
}

void OutlineRect(TCanvas* C, int X1, int Y1, int X2, int Y2) { C->Rectangle(X1, Y1, X2, Y2); }

}  // namespace

TColor AverageColor(TColor C1, TColor C2)
{
    uint32_t a = static_cast<uint32_t>(ColorToRGB(C1)), b = static_cast<uint32_t>(ColorToRGB(C2)), r = 0;
    for (int s = 0; s < 24; s += 8) r |= ((((a >> s) & 0xFF) + ((b >> s) & 0xFF)) >> 1) << s;
    return static_cast<TColor>(r);
}

TColor DarkenColor(TColor Color, int Percent)
{
    uint32_t c = static_cast<uint32_t>(ColorToRGB(Color)), r = 0;
    for (int s = 0; s < 24; s += 8) {
        int v = (c >> s) & 0xFF;
        r |= static_cast<uint32_t>(v - MulDiv(v, Percent, 100)) << s;
    }
    return static_cast<TColor>(r);
}

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    int cx = Cx(R), cy = Cy(R);
    HLine(Canvas, cy, cx - 2, cx + 2);
    HLine(Canvas, cy + 1, cx - 1, cx + 1);
    HLine(Canvas, cy + 2, cx, cx);
}

void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind)
{
    Canvas->Pen()->SetColor(Color);
    if (Kind != 5) return Arrow(Canvas, R, Kind, 4);
    int cx = Cx(R), cy = Cy(R);
    for (int y : {cy - 1, cy}) HLine(Canvas, y, cx - 4, cx + 3);
    for (int x : {cx - 1, cx}) VLine(Canvas, x, cy - 4, cy + 3);
}

void DrawLargeArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind)
{
    Canvas->Pen()->SetColor(Color);
    Arrow(Canvas, R, Kind, 6);
}

void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i < 3; ++i) {
        Canvas->MoveTo(X, Y + 5 - i);
        Canvas->LineTo(X + 2, Y + 7 - i);
        Canvas->LineTo(X + 7, Y + 2 - i);
    }
}

void DrawRadioMark(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R)
{
    TRect r = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    TColor c = Canvas->Font()->Color();
    Canvas->Pen()->SetColor(c);
    int w = RectWidth(r), h = RectHeight(r);
    bool p = w % 2 == 0 && h % 2 == 0;
    auto dot = [&](int x, int y) {
        p = !p;
        if (p) Canvas->SetPixels(x, y, c);
    };
    for (int x = r.Left; x <= r.Right; ++x) dot(x, r.Top);
    p = !p;
    for (int y = r.Top; y <= r.Bottom; ++y) dot(r.Right, y);
    p = !p;
    for (int x = r.Right; x >= r.Left; --x) dot(x, r.Bottom);
    p = !p;
    for (int y = r.Bottom; y >= r.Top; --y) dot(r.Left, y);
}

void Draw3DFrame(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor)
{
    TRect r = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left - 1, r.Bottom)});
}

void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawMinimizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    OutlineRect(Canvas, X, Y, X + 11, Y + 10);
    OutlineRect(Canvas, X, Y, X + 11, Y + 2);
}

void DrawRestoreGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    OutlineRect(Canvas, X + 2, Y, X + 10, Y + 6);
    OutlineRect(Canvas, X + 2, Y, X + 10, Y + 2);
    OutlineRect(Canvas, X, Y + 4, X + 7, Y + 10);
    OutlineRect(Canvas, X, Y + 4, X + 7, Y + 6);
}

void DrawRollUpGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 2, Y + 5, X + 9, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 8, Y + 4);
    Line(Canvas, X + 4, Y + 3, X + 7, Y + 3);
    Line(Canvas, X + 5, Y + 2, X + 6, Y + 2);
}

void DrawRollDownGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 5, Y + 6, X + 6, Y + 6);
    Line(Canvas, X + 4, Y + 5, X + 7, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 8, Y + 4);
    Line(Canvas, X + 2, Y + 3, X + 9, Y + 3);
}

void DrawTrayGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

void DrawSysMenuGlyph(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Line(Canvas, X + 2, Y + 3, X + 8, Y + 3);
    Line(Canvas, X + 2, Y + 5, X + 8, Y + 5);
}
