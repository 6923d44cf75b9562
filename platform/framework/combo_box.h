// TCustomComboBox / TComboBox: a drop-down choice in the plain look - Items, ItemIndex, Text,
// the list dropped below the box (mouse, arrows, Enter, Escape), arrow keys stepping through the
// items. A choice made by the user raises OnClick, then OnSelect (or OnChange without one);
// setting ItemIndex in code raises nothing.
#pragma once

#include "platform/framework/custom_control.h"
#include "platform/framework/string_list.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    TStrings* Items() { return &FItems; }
    void SetItems(TStrings* v) { FItems.Assign(v); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v) { FDropDownCount = v; }
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool v) { FItems.SetSorted(v); }
    bool DroppedDown() const { return FDroppedDown; }
    // Shows the list and applies the user's choice.
    void DropDown();
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void Select();
    // A choice by the user: the text follows, then OnClick and OnSelect.
    void UserSelect(int index);
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override { return Key == VK_UP || Key == VK_DOWN; }

    TStringList FItems;
    int FItemIndex = -1;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FDroppedDown = false;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
