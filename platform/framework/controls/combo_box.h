// TCustomComboBox / TComboBox: a drop-down choice in the plain look - Items, ItemIndex, Text,
// the list dropped below the box (mouse, arrows, Enter, Escape), arrow keys stepping through the
// items. A choice made by the user raises OnClick, then OnSelect (or OnChange without one);
// setting ItemIndex or Text in code raises nothing. Styles csDropDown and csSimple type into an
// edit part (a TEdit child over the text area); typing changes Text and raises OnChange.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/core/string_list.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

// The edit part of a combo box: the edit's own editing, with the list keys passed to the box.
class TComboEdit : public TCustomEdit {
public:
    TComboEdit(TCustomComboBox* Combo);

protected:
    void Change() override;
    void Dispatch(TMessage& Message) override;
    TCustomComboBox* FCombo;
};

class TCustomComboBox : public TCustomControl {
    friend class TComboEdit;

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
    // The edit part (nullptr for csDropDownList and the owner-drawn styles).
    TCustomEdit* EditPart() const { return FEdit; }
    int SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
    void SetSelStart(int v)
    {
        if (FEdit) FEdit->SetSelStart(v);
    }
    int SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
    void SetSelLength(int v)
    {
        if (FEdit) FEdit->SetSelLength(v);
    }
    String SelText() const { return FEdit ? FEdit->SelText() : String(); }
    void SelectAll()
    {
        if (FEdit) FEdit->SelectAll();
    }

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
    void Resize() override;
    // Makes or drops the edit part as the style asks, and keeps it over the text area.
    void UpdateEditPart();
    void PlaceEdit();
    // Puts the box's text into the edit part without raising its change.
    void SyncEdit();
    void EditChanged();
    TComboEdit* FEdit = nullptr;
    bool FSyncingEdit = false;

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
