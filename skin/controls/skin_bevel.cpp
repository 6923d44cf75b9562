#include "skin/controls/skin_bevel.h"

#include "skin/core/panel_records.h"

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

TbsSkinBevel::~TbsSkinBevel()
{
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    ChangeSkinData();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation)
{
    TBevel::Notification(AComponent, Operation);
    // A removed model is forgotten, as the other skinned controls do.
    if (Operation == opRemove && AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
}

void TbsSkinBevel::ChangeSkinData()
{
    FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
    if (FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) {
        FIndex = -1;
        LightColor = clBtnHighlight;
        DarkColor = clBtnShadow;
    } else if (auto* r = dynamic_cast<TbsDataSkinBevel*>(FSD->CtrlList[static_cast<size_t>(FIndex)])) {
        LightColor = r->LightColor;
        DarkColor = r->DarkColor;
    }
    Repaint();
}

void TbsSkinBevel::SetDividerMode(bool Value)
{
    FDividerMode = Value;
    Repaint();
}

void TbsSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TBevel::SetBounds(ALeft, CentredTop(Parent(), ATop, AHeight), AWidth, AHeight);
}

void TbsSkinBevel::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    const TColor c1 = FStyle == bsLowered ? DarkColor : LightColor;
    const TColor c2 = FStyle == bsLowered ? LightColor : DarkColor;
    auto twoTone = [c](const TRect& Q, TColor A, TColor B) {
        c->Pen()->SetColor(A);
        c->MoveTo(Q.Left, Q.Bottom);
        c->LineTo(Q.Left, Q.Top);
        c->LineTo(Q.Right, Q.Top);
        c->Pen()->SetColor(B);
        c->LineTo(Q.Right, Q.Bottom);
        c->LineTo(Q.Left, Q.Bottom);
    };
    auto line = [c](TColor A, int X0, int Y0, int X1, int Y1) {
        c->Pen()->SetColor(A);
        c->MoveTo(X0, Y0);
        c->LineTo(X1, Y1);
    };
    const int w = Width(), h = Height();
    if (FDividerMode) {
        switch (FShape) {
        case bsBox:
        case bsFrame:
        case bsLeftLine:
        case bsRightLine: twoTone(Rect(w / 2 - 1, 2, w / 2, h - 2), c1, c2); break;
        case bsTopLine:
        case bsBottomLine: twoTone(Rect(2, h / 2 - 1, w - 2, h / 2), c1, c2); break;
        default: break;
        }
        return;
    }
    switch (FShape) {
    case bsBox: twoTone(Rect(0, 0, w - 1, h - 1), c1, c2); break;
    case bsFrame:
        twoTone(Rect(1, 1, w - 1, h - 1), c2, c2);
        twoTone(Rect(0, 0, w - 2, h - 2), c1, c1);
        break;
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    default: break;
    }
}
