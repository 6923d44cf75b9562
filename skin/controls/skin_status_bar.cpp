#include "skin/controls/skin_status_bar.h"

#include "platform/framework/forms/forms.h"
#include "skin/core/marks.h"
#include "skin/core/panel_records.h"
#include "skin/core/window_records.h"

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FSkinDataName = L"statusbar";
    SetAlign(alBottom);
    SetBounds(FLeft, FTop, FWidth, 21);
    SetBorderStyle(bvNone);
    FForceBackground = false;
}

void TbsSkinStatusBar::SetSizeGrip(bool Value)
{
    FSizeGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value)
{
    FShowGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value)
{
    TbsSkinPanel::SetSkinData(Value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinControl*>(Controls(i))) c->SetSkinData(Value);
}

void TbsSkinStatusBar::GetSkinData()
{
    TbsSkinPanel::GetSkinData();
    if (auto* r = dynamic_cast<TbsDataSkinPanelControl*>(Record())) {
        GripperRect = r->GripperRect;
        GripperTransparent = r->GripperTransparent;
        GripperTransparentColor = r->GripperTransparentColor;
    }
}

void TbsSkinStatusBar::AdjustClientRect(TRect& R)
{
    TbsSkinPanel::AdjustClientRect(R);
    if (!GripPresent()) return;
    R.Right -= FIndex == -1 || IsNullRect(GripperRect) ? RectHeight(R) : RectWidth(GripperRect);
}

TRect TbsSkinStatusBar::GripRect()
{
    const TRect r = GetSkinClientRect();
    if (FIndex != -1 && !IsNullRect(GripperRect))
        return Rect(r.Right, r.Bottom - RectHeight(GripperRect), r.Right + RectWidth(GripperRect), r.Bottom);
    return Rect(r.Right + 2, r.Top, r.Right + RectHeight(r), r.Bottom - 2);
}

void TbsSkinStatusBar::DrawGrip(TCanvas* C)
{
    if (!GripPresent()) return;
    const TRect g = GripRect();
    if (FIndex != -1 && !IsNullRect(GripperRect)) {
        if (!Picture) return;
        TBitmap piece(RectWidth(GripperRect), RectHeight(GripperRect));
        piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), GripperRect);
        if (GripperTransparent) {
            piece.SetTransparentColor(GripperTransparentColor);
            piece.SetTransparent(true);
        }
        C->Draw(g.Left, g.Top, &piece);
        return;
    }
    TColor dark = clBtnShadow, light = clBtnFace;
    if (FIndex != -1 && FSD->SkinColors()) {
        dark = FSD->SkinColors()->cBtnShadow();
        light = FSD->SkinColors()->cBtnHighLight();
    }
    const TRect i = Rect(g.Left + 2, g.Top + 2, g.Right - 2, g.Bottom - 2);
    const int n = RectWidth(g) / 4;
    int b = 4;
    for (int k = 0; k <= n; ++k) {
        if (i.Left + b + 2 > i.Right) break;
        C->Pen()->SetColor(dark);
        C->MoveTo(i.Left + b, i.Bottom);
        C->LineTo(i.Right, i.Top + b);
        C->Pen()->SetColor(light);
        C->MoveTo(i.Left + b + 1, i.Bottom);
        C->LineTo(i.Right, i.Top + b + 1);
        b += 3;
    }
}

void TbsSkinStatusBar::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlDefaultImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlSkinImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::WndProc(TMessage& m)
{
    if (GripPresent() && !(ComponentState() & csDesigning)) {
        if (m.Msg == WM_NCHITTEST) {
            POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            ::ScreenToClient(Handle(), &p);
            GetSkinData();
            m.Result = PointInsideRect(GripRect(), Point(p.x, p.y)) ? HTBOTTOMRIGHT : HTCLIENT;
            return;
        }
        // The default procedure would size the window that answered the hit test, the bar:
        // the press goes to the form's own size loop.
        if (m.Msg == WM_NCLBUTTONDOWN && m.WParam == HTBOTTOMRIGHT) {
            if (TCustomForm* f = GetParentForm(); f && f->HandleAllocated()) {
                SendMessageW(f->Handle(), WM_SYSCOMMAND, SC_SIZE | 8 /* the bottom-right corner */, m.LParam);
                m.Result = 0;
                return;
            }
        }
    }
    TbsSkinPanel::WndProc(m);
}
