#include "skin/controls/skin_link.h"

#include "skin/core/control_records.h"
#include "skin/core/resource_strings.h"

TbsSkinLink::~TbsSkinLink()
{
    if (FSD) FSD->RemoveFreeNotification(FControl);
    if (FHintImageList) FHintImageList->RemoveFreeNotification(FControl);
}

void TbsSkinLink::SetHintImageList(TCustomImageList* Value)
{
    if (Value == FHintImageList) return;
    if (FHintImageList) FHintImageList->RemoveFreeNotification(FControl);
    FHintImageList = Value;
    if (Value) Value->FreeNotification(FControl);
}

bool TbsSkinLink::StoreSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(FControl);
        FSD = Value;
        if (FSD) FSD->FreeNotification(FControl);
    }
    return Value && !Value->Empty && !(FControl->ComponentState() & csDesigning);
}

void TbsSkinLink::FindSkinRecord()
{
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsSkinLink::ForgetRemoved(TComponent* AComponent)
{
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

TbsDataSkinControl* TbsSkinLink::Record() const
{
    if (!FSD || FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) return nullptr;
    return FSD->CtrlList[static_cast<size_t>(FIndex)];
}

TFontCharset TbsSkinLink::SkinCharset(TFontCharset Fallback) const
{
    return FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : Fallback;
}

TBitmap* TbsSkinLink::ActivePicture(int Index) const
{
    if (!FSD || Index < 0 || Index >= static_cast<int>(FSD->FActivePictures.size())) return nullptr;
    return FSD->FActivePictures[static_cast<size_t>(Index)];
}

void TbsSkinLink::PaintLook(TCanvas* Target, int W, int H)
{
    if (W < 1 || H < 1) return;
    GetSkinData();
    TBitmap b(W, H);
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    Target->Draw(0, 0, &b);
}
