// TbsSkinCustomOfficeComboBox: a closed, skinned face showing the selected office item (title,
// image, caption) beside a drop-down button; it opens a TbsPopupOfficeListBox right-aligned below
// itself, or above itself when the list would pass the bottom of the work area. An alternative
// tool-button look draws the whole control as one skinned button with a small arrow.
//
// Events: setting ItemIndex fires OnClick then OnChange on every call (the same index too), never
// while the form loads. FOldItemIndex is the committed row, shown on the face while the list is
// open. Accepting (a click or a release over the list, Enter) fires OnClick, OnChange and
// OnCloseUp, also for the row already chosen; cancelling (Escape, Alt+Up, a press elsewhere,
// focus loss, CM_CANCELMODE from another control) restores that row silently. Arrow and page keys
// commit at once, also while the list is open, so a later Escape keeps them. The wheel moves
// the selection: committing while closed, in the list only while open.
//
// The list's window procedure is hooked: a press in the list captures the mouse for the combo,
// which then tracks the drag over the list (timer 1 scrolls it while the pointer is above or
// below) and accepts on release over the list.
#pragma once

#include "skin/boxes/box_buttons.h"
#include "skin/boxes/office_list_box.h"

struct TbsCBItem {
    TRect R{};
    bool Focused = false;  // the owner-draw state
};

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl {
    friend class TbsPopupOfficeListBox;

public:
    explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    // True also clears UseSkinSize.
    void SetToolButtonStyle(bool Value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }

    // Forwarded to the list.
    bool ListBoxHeaderLeftAlignment() const { return FListBox->HeaderLeftAlignment(); }
    void SetListBoxHeaderLeftAlignment(bool Value) { FListBox->SetHeaderLeftAlignment(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
    const String& ListBoxSkinDataName() const { return FListBox->SkinDataName(); }
    void SetListBoxSkinDataName(const String& Value) { FListBox->SetSkinDataName(Value); }
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
    int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }
    TCustomImageList* Images() const { return FListBox ? FListBox->Images() : nullptr; }
    void SetImages(TCustomImageList* Value) { FListBox->SetImages(Value); }

    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    int ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(int Value) { FListBoxHeight = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    int DropDownCount() const { return FDropDownCount; }
    // A negative value is ignored.
    void SetDropDownCount(int Value);

    TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(TbsSkinOfficeItems* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);

    virtual void Change();
    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const { return FListBox->Visible(); }
    bool CanCancelDropDown() const { return FListBox->Visible() && !FMouseIn; }
    void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
    void EndUpdateItems() { FListBox->EndUpdateItems(); }
    // The closed combo with the text AText drawn on C at (X, Y).
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);

    TbsPopupOfficeListBox* ListBox() const { return FListBox; }
    int OldItemIndex() const { return FOldItemIndex; }
    bool DroppedDown() const { return FDropDown; }
    const TbsCBButtonX& ButtonState() const { return Button; }
    const TRect& ItemRect() const { return CBItem.R; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void ApplyDefaultFont() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

    void CalcRects();
    void SelectPageUp(bool AChange);
    void SelectPageDown(bool AChange);
    void SelectUp(bool AChange);
    void SelectDown(bool AChange);

    TbsSkinOfficeItem* FaceItem() const;
    void DrawFaceContent(TCanvas* C, TRect T, bool WithTitle);
    void DrawDefaultItem(TCanvas* C);
    void DrawResizeSkinItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C);
    void DrawButton(TCanvas* C);
    void DrawResizeButton(TCanvas* C);
    void DrawDefaultToolButton(TCanvas* C);
    void DrawSkinToolButton(TCanvas* C);

    bool FShowItemTitle = true;
    bool FShowItemImage = true;
    bool FShowItemText = true;
    int FDropDownCount = 7;
    bool FDropDown = false;
    bool FToolButtonStyle = false;
    TColor FDefaultColor;
    bool FUseSkinSize = false;
    bool WasInLB = false;
    int TimerMode = 0;
    int FListBoxWidth = 0;
    int FListBoxHeight = 0;
    bool FHideSelection = true;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    bool FMouseIn = false;
    int FOldItemIndex = -1;
    bool FLBDown = false;
    TbsPopupOfficeListBox* FListBox = nullptr;
    TWndMethod FListBoxWindowProc;
    TbsCBItem CBItem;
    TbsCBButtonX Button;

    // Copies of the "combobox" record.
    TRect ActiveSkinRect{};
    TColor ActiveFontColor = 0;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TRect SItemRect{}, FocusItemRect{}, ActiveItemRect{};
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect{};
    TColor FontColor = 0, FocusFontColor = 0;
    TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    bool ShowFocus = false;

private:
    void ListBoxWindowProcHook(TMessage& Message);
    void ProcessListBox(int X, int Y);
    void StartTimer(int Mode);
    void StopTimer();
    // The text replacing the caption in PaintSkinTo (none: the item's caption).
    const String* FFaceText = nullptr;
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
};
