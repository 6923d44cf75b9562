#include "platform/framework/controls/bevel.h"

#include "platform/framework/controls/plain_draw.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csReplicatable);
    FControlStyle.Exclude(csClickEvents);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape v) { SetAndInvalidate(FShape, v); }

void TBevel::SetStyle(TBevelStyle v) { SetAndInvalidate(FStyle, v); }

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    int w = r.Width(), h = r.Height();
    auto line = [&](TColor col, int l, int t, int rr, int b) {
        c->Brush()->SetColor(col);
        c->FillRect(Rect(l, t, rr, b));
    };
    switch (FShape) {
    case bsBox: Frame3D(c, r, first, second, 1); break;
    case bsFrame: {
        TRect outer = Rect(0, 0, w - 1, h - 1);
        c->Brush()->SetColor(first);
        c->FrameRect(outer);
        c->Brush()->SetColor(second);
        c->FrameRect(Rect(1, 1, w, h));
        break;
    }
    case bsTopLine:
        line(first, 0, 0, w, 1);
        line(second, 0, 1, w, 2);
        break;
    case bsBottomLine:
        line(first, 0, h - 2, w, h - 1);
        line(second, 0, h - 1, w, h);
        break;
    case bsLeftLine:
        line(first, 0, 0, 1, h);
        line(second, 1, 0, 2, h);
        break;
    case bsRightLine:
        line(first, w - 2, 0, w - 1, h);
        line(second, w - 1, 0, w, h);
        break;
    case bsSpacer: break;
    }
}
