#include "skin/controls/graphic_skin_control.h"

#include "skin/core/control_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"

// ---- TbsGraphicSkinControl ----

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl()
{
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (Value && !Value->Empty && !(ComponentState() & csDesigning)) ChangeSkinData();
}

void TbsGraphicSkinControl::SetHintImageList(TCustomImageList* Value)
{
    if (Value == FHintImageList) return;
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
    FHintImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsGraphicSkinControl::GetSkinData()
{
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsGraphicSkinControl::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

TbsDataSkinControl* TbsGraphicSkinControl::Record() const
{
    if (!FSD || FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) return nullptr;
    return FSD->CtrlList[static_cast<size_t>(FIndex)];
}

TFontCharset TbsGraphicSkinControl::SkinCharset(TFontCharset Fallback) const
{
    return FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : Fallback;
}

void TbsGraphicSkinControl::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    TBitmap b(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    Canvas()->Draw(0, 0, &b);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
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
