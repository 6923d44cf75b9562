#include "skin/controls/graphic_skin_control.h"

#include "skin/core/control_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"

// ---- TbsGraphicSkinControl ----

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner), TbsSkinLink(this)
{
    FControlStyle.Include(csOpaque);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value)
{
    if (StoreSkinData(Value)) ChangeSkinData();
}

void TbsGraphicSkinControl::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TbsGraphicSkinControl::Paint() { PaintLook(Canvas(), Width(), Height()); }

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove) ForgetRemoved(AComponent);
}

// ---- TbsGraphicSkinCustomControl ----

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), TbsSkinDefaults(this)
{}

void TbsGraphicSkinCustomControl::GetSkinData()
{
    TbsGraphicSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* rec = dynamic_cast<TbsDataSkinCustomControl*>(Record());
    if (!rec) {
        ResizeMode = 0;
        Picture = nullptr;
        return;
    }
    CopyGeometry(rec);
    Picture = ActivePicture(rec->PictureIndex);
}

void TbsGraphicSkinCustomControl::CalcSize(int& AWidth, int& AHeight)
{
    if (FIndex != -1) CalcGeometry(AWidth, AHeight);
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    const bool changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = CentredTop(Parent(), ATop, AHeight);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) Repaint();
}

void TbsGraphicSkinCustomControl::ChangeSkinData()
{
    GetSkinData();
    if (FIndex == -1) {
        ApplyDefaultSize();
        Repaint();
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (w == Width() && h == Height()) {
        Repaint();
        return;
    }
    if (w != Width()) SetWidth(w);
    if (h != Height()) SetHeight(h);
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B)
{
    // A record without a picture (or of another kind) has nothing to compose: the built-in look.
    if (Picture)
        CreateSkinControlImage(B, Picture, SkinRect);
    else
        TbsGraphicSkinCustomControl::CreateControlDefaultImage(B);
}
