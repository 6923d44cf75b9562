#include "platform/framework/controls/plain_draw.h"

#include "platform/win/win_api.h"

void Frame3D(TCanvas* c, TRect& r, TColor top, TColor bottom, int width)
{
    for (int i = 0; i < width; ++i) {
        c->Brush()->SetColor(top);
        c->FillRect(Rect(r.Left, r.Top, r.Right - 1, r.Top + 1));
        c->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
        c->Brush()->SetColor(bottom);
        c->FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
        c->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
}

void DrawSunkenEdge(TCanvas* c, TRect& r)
{
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
}

void DrawButtonEdge(TCanvas* c, TRect& r, bool pressed)
{
    if (pressed) {
        Frame3D(c, r, cl3DDkShadow, clBtnHighlight, 1);
        Frame3D(c, r, clBtnShadow, cl3DLight, 1);
    } else {
        Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(c, r, cl3DLight, clBtnShadow, 1);
    }
}

int DrawTextIn(TCanvas* c, const String& text, TRect r, UINT flags)
{
    HDC dc = c->Handle();
    HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
    SetTextColor(dc, ColorToRGB(c->Font()->Color()));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    int h = DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rr, flags);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
    return h;
}

void DrawCheckMark(TCanvas* c, const TRect& r, TColor color)
{
    c->Brush()->SetColor(color);
    int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    for (int k = 0; k < 3; ++k) c->FillRect(Rect(cx - 4 + k, cy - 1 + k, cx - 3 + k, cy + 2 + k));
    for (int k = 0; k < 5; ++k) c->FillRect(Rect(cx - 1 + k, cy + 1 - k, cx + k, cy + 4 - k));
}
