#include "skin/dialogs/filter_combo_box.h"

#include "platform/framework/core/strings.h"

namespace {
const wchar_t* const kDefaultFilter = L"All files (*.*)|*.*";
}

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FFilter(kDefaultFilter), MaskList(new TStringList)
{}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() { delete MaskList; }

void TbsSkinFilterComboBox::SetFilter(const String& Value)
{
    if (SameText(Value, FFilter)) return;
    FFilter = Value;
    if (HandleAllocated()) BuildItems();
    Change();
}

String TbsSkinFilterComboBox::Mask()
{
    if (ItemIndex() == -1) SetItemIndex(Items()->Count() - 1);
    const int i = ItemIndex();
    if (i >= 0 && i < MaskList->Count()) return MaskList->Strings(i);
    return L"*.*";
}

void TbsSkinFilterComboBox::CreateWnd()
{
    TbsSkinComboBox::CreateWnd();
    BuildItems();
}

void TbsSkinFilterComboBox::Click()
{
    TControl::Click();
    Change();
}

void TbsSkinFilterComboBox::BuildItems()
{
    Items()->Clear();
    MaskList->Clear();
    String s = FFilter;
    // Description and mask pairs; a last description without its mask is dropped.
    for (size_t bar = s.find(L'|'); bar != String::npos; bar = s.find(L'|')) {
        const String description = s.substr(0, bar);
        s.erase(0, bar + 1);
        String mask;
        bar = s.find(L'|');
        if (bar != String::npos) {
            mask = s.substr(0, bar);
            s.erase(0, bar + 1);
        } else {
            mask = s;
            s.clear();
        }
        Items()->Add(description);
        MaskList->Add(mask);
    }
    SetItemIndex(0);
}
