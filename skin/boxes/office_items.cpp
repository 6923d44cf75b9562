#include "skin/boxes/office_items.h"

#include "skin/boxes/office_list_box.h"

TbsSkinOfficeItem::TbsSkinOfficeItem(TCollection* Collection) : TCollectionItem(Collection)
{
    if (auto* items = dynamic_cast<TbsSkinOfficeItems*>(Collection); items && items->OfficeListBox)
        Active = Index() == items->OfficeListBox->ItemIndex();
}

void TbsSkinOfficeItem::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TbsSkinOfficeItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = src->FImageIndex;
    FCaption = src->FCaption;
    FTitle = src->FTitle;
    FEnabled = src->FEnabled;
    FChecked = src->FChecked;
    FHeader = src->FHeader;
}

void TbsSkinOfficeItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetTitle(const String& Value)
{
    FTitle = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetCaption(const String& Value)
{
    FCaption = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetData(void* Value) { FData = Value; }

void TbsSkinOfficeItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetHeader(bool Value)
{
    FHeader = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetChecked(bool Value)
{
    FChecked = Value;
    Changed(false);
}

// Items are made outside the collection and inserted by Add, so the list never sees a half-made
// item in its change notice; the new item is appended, so its index is the count.
TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : TCollection(
          [AListBox](TCollection* C) {
              auto* item = new TbsSkinOfficeItem(nullptr);
              item->Active = AListBox && C->Count() == AListBox->ItemIndex();
              return item;
          },
          AListBox),
      OfficeListBox(AListBox)
{}

TbsSkinOfficeItem* TbsSkinOfficeItems::Add()
{
    auto* item = static_cast<TbsSkinOfficeItem*>(TCollection::Add());
    if (OfficeListBox) OfficeListBox->Repaint();
    return item;
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(int Index)
{
    auto* item = static_cast<TbsSkinOfficeItem*>(TCollection::Insert(Index));
    if (OfficeListBox) OfficeListBox->Repaint();
    return item;
}

void TbsSkinOfficeItems::Delete(int Index)
{
    TCollection::Delete(Index);
    if (OfficeListBox) OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Clear()
{
    TCollection::Clear();
    if (OfficeListBox) OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (!OfficeListBox) return;
    OfficeListBox->Repaint();
    OfficeListBox->UpdateScrollInfo();
}
