#include "platform/framework/controls/splitter.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/forms/screen.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FAlign = alLeft;
    FWidth = 3;
    FHeight = 100;
    FCursor = crHSplit;
    FParentColor = true;
    FControlStyle.Exclude(csClickEvents);
}

void TSplitter::SetBeveled(bool v) { SetAndInvalidate(FBeveled, v); }

void TSplitter::RequestAlign()
{
    TGraphicControl::RequestAlign();
    FCursor = Horizontal() ? crVSplit : crHSplit;
}

TControl* TSplitter::FindControl()
{
    if (!FParent || FAlign == alNone || FAlign == alClient) return nullptr;
    // The neighbour on the splitter's own side: its far edge touches the splitter.
    TPoint p;
    switch (FAlign) {
    case alLeft: p = Point(FLeft - 1, FTop + FHeight / 2); break;
    case alRight: p = Point(FLeft + FWidth, FTop + FHeight / 2); break;
    case alTop: p = Point(FLeft + FWidth / 2, FTop - 1); break;
    case alBottom: p = Point(FLeft + FWidth / 2, FTop + FHeight); break;
    default: return nullptr;
    }
    for (int i = 0; i < FParent->ControlCount(); ++i) {
        TControl* c = FParent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != FAlign) continue;
        if (PtInRect(Rect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()), p)) return c;
    }
    return nullptr;
}

void TSplitter::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    if (FBeveled) Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FControl = FindControl();
    if (!FControl) return;
    FDownPos = ClientToScreen(Point(X, Y));
    FStartSize = Horizontal() ? FControl->Height() : FControl->Width();
    // Room: what the parent's client holds minus the other aligned controls on the same axis.
    TRect client = FParent->ClientRect();
    int avail = Horizontal() ? client.Height() : client.Width();
    for (int i = 0; i < FParent->ControlCount(); ++i) {
        TControl* c = FParent->Controls(i);
        if (c == FControl || !c->Visible()) continue;
        bool sameAxis = Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                                     : (c->Align() == alLeft || c->Align() == alRight);
        if (sameAxis) avail -= Horizontal() ? c->Height() : c->Width();
    }
    FMaxSize = avail - FMinSize;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FControl || !FControlState.Contains(csLButtonDown)) return;
    TPoint p = ClientToScreen(Point(X, Y));
    int delta = Horizontal() ? p.Y - FDownPos.Y : p.X - FDownPos.X;
    if (FAlign == alRight || FAlign == alBottom) delta = -delta;
    int size = std::clamp(FStartSize + delta, FMinSize, std::max(FMinSize, FMaxSize));
    bool accept = true;
    if (OnCanResize) OnCanResize(this, size, accept);
    if (!accept) return;
    if (Horizontal())
        FControl->SetHeight(size);
    else
        FControl->SetWidth(size);
    if (FParent) FParent->Update();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FControl) {
        FControl = nullptr;
        if (OnMoved) OnMoved(this);
    }
}

void TSplitter::Dispatch(TMessage& m) { TGraphicControl::Dispatch(m); }
