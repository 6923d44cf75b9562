#include "skin/form/quick_buttons.h"

#include "skin/form/skin_form.h"

TbsQuickButtonItem::TbsQuickButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsQuickButtonItem::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TbsQuickButtonItem*>(Source)) {
        FImageIndex = s->FImageIndex;
        FHint = s->FHint;
        FEnabled = s->FEnabled;
        FVisible = s->FVisible;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsQuickButtonItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value)
{
    FVisible = Value;
    Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinForm* ABSF)
    : TCollection([](TCollection* c) { return new TbsQuickButtonItem(c); }, ABSF), BSF(ABSF)
{}

void TbsQuickButtonItems::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (BSF && !(BSF->ComponentState() & (csDesigning | csLoading | csDestroying))) BSF->UpDateFormNC();
}
