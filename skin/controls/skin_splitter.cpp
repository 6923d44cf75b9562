#include "skin/controls/skin_splitter.h"

#include "skin/core/marks.h"
#include "skin/core/panel_records.h"
#include "skin/core/skin_image.h"

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) { FControlStyle.Include(csOpaque); }

TbsSkinSplitter::~TbsSkinSplitter()
{
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinSplitter::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value) Value->FreeNotification(this);
    }
    ChangeSkinData();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    TSplitter::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::GetSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    Picture = nullptr;
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)]);
    if (!r) return;
    SkinRect = r->SkinRect;
    LTPt = r->LTPoint;
    RTPt = r->RTPoint;
    LBPt = r->LBPoint;
    StretchEffect = r->StretchEffect;
    if (r->PictureIndex >= 0 && r->PictureIndex < static_cast<int>(FSD->FActivePictures.size()))
        Picture = FSD->FActivePictures[static_cast<size_t>(r->PictureIndex)];
    GripperRect = r->GripperRect;
    GripperTransparent = r->GripperTransparent;
    GripperTransparentColor = r->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData()
{
    GetSkinData();
    const bool horizontal = FAlign == alTop || FAlign == alBottom;
    int size = FDefaultSize;
    if (FIndex != -1 && !FTransparent) size = horizontal ? RectHeight(SkinRect) : RectWidth(SkinRect);
    if (horizontal)
        SetHeight(size);
    else
        SetWidth(size);
    Invalidate();
}

void TbsSkinSplitter::Paint()
{
    if (FTransparent || Width() < 1 || Height() < 1) return;
    GetSkinData();
    // No record, no picture for it (the framework's look is the fallback), or not along an edge.
    if (FIndex == -1 || !Picture || FAlign == alNone || FAlign == alClient || IsNullRect(SkinRect)) {
        TSplitter::Paint();
        return;
    }
    TBitmap b;
    if (FAlign == alTop || FAlign == alBottom)
        CreateHSkinImage(LTPt.X, RectWidth(SkinRect) - RTPt.X, &b, Picture, SkinRect, Width(), RectHeight(SkinRect),
                         StretchEffect);
    else
        CreateVSkinImage(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, &b, Picture, SkinRect, RectWidth(SkinRect), Height(),
                         StretchEffect);
    if (!IsNullRect(GripperRect) && !b.Empty()) {
        TBitmap g(RectWidth(GripperRect), RectHeight(GripperRect));
        g.Canvas()->CopyRect(Rect(0, 0, g.Width(), g.Height()), Picture->Canvas(), GripperRect);
        if (GripperTransparent) {
            g.SetTransparentColor(GripperTransparentColor);
            g.SetTransparent(true);
        }
        b.Canvas()->Draw(b.Width() / 2 - g.Width() / 2, b.Height() / 2 - g.Height() / 2, &g);
    }
    Canvas()->Draw(0, 0, &b);
}
