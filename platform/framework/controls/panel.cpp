#include "platform/framework/controls/panel.h"

#include "platform/framework/controls/plain_draw.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque,          csDoubleClicks, csReplicatable};
    FWidth = 185;
    FHeight = 41;
    FColor = clBtnFace;
}

void TCustomPanel::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (FBorderStyle == bsSingle) p.Style |= WS_BORDER;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& r)
{
    TCustomControl::AdjustClientRect(r);
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    r = Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        if (cut == bvSpace) {
            Frame3D(c, r, FColor, FColor, FBevelWidth);
            return;
        }
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(c, r, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(c, r, FColor, FColor, FBorderWidth);
    bevel(FBevelInner);
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    c->Font()->Assign(&FFont);
    DrawTextIn(c, Caption(), r, DT_VCENTER | DT_SINGLELINE | kAlign[FAlignment]);
}

void TCustomPanel::Dispatch(TMessage& m)
{
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;  // Paint covers everything
        return;
    }
    TCustomControl::Dispatch(m);
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    if (v == FBevelInner) return;
    FBevelInner = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    if (v == FBevelOuter) return;
    FBevelOuter = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v)
{
    if (v == FBevelWidth || v < 1) return;
    FBevelWidth = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int v)
{
    if (v == FBorderWidth || v < 0) return;
    FBorderWidth = v;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment v) { SetAndInvalidate(FAlignment, v); }
