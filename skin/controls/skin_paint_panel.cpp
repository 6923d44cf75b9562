#include "skin/controls/skin_paint_panel.h"

// ---- TbsSkinPaintPanel ----

TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) { FForceBackground = false; }

void TbsSkinPaintPanel::DoPanelPaint(TCanvas* Cnvs)
{
    if (!OnPanelPaint) return;
    TRect r = GetSkinClientRect();
    OnPanelPaint(Cnvs, r);
}

void TbsSkinPaintPanel::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlDefaultImage(B);
    DoPanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlSkinImage(B);
    DoPanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::Dispatch(TMessage& m)
{
    if (m.Msg == WM_ERASEBKGND) {
        // Asked from outside its own paint: the whole panel into that DC; never twice in one.
        if (!FromWMPaint && m.WParam) PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    }
    TbsSkinPanel::Dispatch(m);
}

// ---- TbsSkinGroupBox ----

TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FSkinDataName = L"groupbox";
    SetCaptionMode(true);
}

void TbsSkinGroupBox::GetSkinData()
{
    TbsSkinPanel::GetSkinData();
    if (FIndex != -1 && ClRect.Bottom < CaptionRect.Top) FForceBackground = false;
}
