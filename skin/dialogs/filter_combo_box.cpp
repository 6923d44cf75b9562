#include "skin/dialogs/filter_combo_box.h"

#include "platform/framework/core/strings.h"
#include "skin/dialogs/file_list_box.h"

namespace {
const wchar_t* const kDefaultFilter = L"All files (*.*)|*.*";
}

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FFilter(kDefaultFilter), MaskList(new TStringList)
{}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox()
{
    SetFileList(nullptr);
    delete MaskList;
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value)
{
    if (FFileList == Value) return;
    if (FFileList) {
        FFileList->FFilterCombo = nullptr;
        FFileList->RemoveFreeNotification(this);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FFilterCombo = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinFilterComboBox::Change()
{
    if (FFileList) FFileList->SetMask(Mask());
    TbsSkinComboBox::Change();
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

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
