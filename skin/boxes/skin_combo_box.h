// TbsSkinCustomComboBox: the skinned fixed-style combo box - a face showing the selected item and
// a drop-down button ("combobox" record, or the built-in look), and its drop-down list, a
// TbsPopupListBox: a skinned list box shown as a pop-up that is never activated, so the combo box
// keeps the focus. The list's inner list is hooked: a press there captures the mouse for the combo
// box and its releases never reach the list, so the pointer selects by hover and the combo box's
// release accepts. The face painting is in combo_face.cpp.
//
// Selection: setting ItemIndex shows the item's text; OnChange fires only when the text changed,
// then OnClick and Change fire on every set (not while the form loads). Accepting a drop-down
// fires the same, then OnCloseUp; cancelling returns to the index it opened with, silently.
#pragma once

#include <memory>

#include "skin/boxes/custom_edit.h"
#include "skin/boxes/skin_list_box.h"

class TbsSkinCustomComboBox;

// The drop-down window: WS_POPUP, WS_EX_TOOLWINDOW, owned by the combo box's window.
class TbsPopupListBox : public TbsSkinListBox {
public:
    explicit TbsPopupListBox(TComponent* AOwner);
    ~TbsPopupListBox() override;
    // Shows the window with its top-left corner at Origin (screen), without activating it; with
    // the combo box's alpha blending translucent, fading in when asked (stopping when the list
    // is hidden or freed meanwhile). False when the list (with its combo box) was freed.
    bool Show(const TPoint& Origin);
    void Hide();

    TbsSkinCustomComboBox* Combo = nullptr;
    // The alpha the window has now (the last step of a fade-in).
    BYTE CurrentAlpha() const { return FOldAlphaBlendValue; }

    void ListBoxMouseMove(TShiftState Shift, int X, int Y) override;
    void ListBoxWndProc(TMessage& Message, bool& Handled) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    bool FOldAlphaBlend = false;
    BYTE FOldAlphaBlendValue = 0;
    // Cleared when the window goes: a fade-in running messages checks it after each step.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsSkinCustomComboBox : public TbsSkinCustomControl {
    friend class TbsPopupListBox;

public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    TStrings* Items() { return FListBox->Items(); }
    void SetItems(TStrings* Value) { FListBox->SetItems(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // The item's text on the face (OnChange when it differs), then OnClick and Change.
    void SetItemIndex(int Value);
    String Text() const { return FText; }
    // OnChange when it differs.
    void SetText(const String& Value);
    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    // The edit style puts an inner edit over the item area (made once, reused); the fixed style
    // frees it. The window is made anew.
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    TbsCustomEdit* Edit() const { return FEdit; }
    int SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
    void SetSelStart(int Value)
    {
        if (FEdit) FEdit->SetSelStart(Value);
    }
    int SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
    void SetSelLength(int Value)
    {
        if (FEdit) FEdit->SetSelLength(Value);
    }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value)
    {
        if (Value > 0) FDropDownCount = Value;
    }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    TStrings* TabWidths() { return FListBox->TabWidths(); }
    void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool Value) { FListBox->SetSorted(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
    int ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int Value) { FListBox->SetDefaultItemHeight(Value); }
    void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value) { FListBox->OnDrawItem = std::move(Value); }
    bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
    void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
    String ListBoxCaption() const { return FListBox->Caption(); }
    void SetListBoxCaption(const String& Value) { FListBox->SetCaption(Value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
    TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
    void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
    // Passed to the inner edit of the edit style.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    // On: the whole face is one tool button; the style becomes fixed and the skin no longer
    // fixes the size.
    void SetToolButtonStyle(bool Value);

    virtual void DropDown();
    // The face with AText as its item, drawn on Canvas at (X, Y) (for hosts that draw the combo
    // box elsewhere, such as a grid cell).
    void PaintSkinTo(TCanvas* Canvas, int X, int Y, const String& AText);
    void CloseUp(bool AcceptValue);
    bool IsPopupVisible() const;
    // The drop-down is visible and the pointer is not over the combo box.
    bool CanCancelDropDown();
    TbsPopupListBox* ListBox() const { return FListBox; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void ApplyDefaultFont() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    TNotifyEvent OnChange, OnClick, OnCloseUp, OnDropDown;
    TbsDrawSkinItemEvent OnComboBoxDrawItem;

    // Face areas: the item and the drop-down button.
    struct TCBItem {
        TRect R{};
        TOwnerDrawState State;
    } CBItem;
    struct TCBButton {
        TRect R{};
        bool MouseIn = false;
        bool Down = false;
    } Button;

    // Copies of the record.
    TRect ActiveSkinRect{}, SItemRect{}, FocusItemRect{}, ActiveItemRect{}, ItemTextRect{};
    TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
    TColor ActiveFontColor = 0, FontColor = 0, FocusFontColor = 0;
    String FontName = L"Tahoma", ListBoxName;
    TFontStyles FontStyle;
    int FontHeight = 13, ItemLeftOffset = 0, ItemRightOffset = 0;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

protected:
    // The hook for subclasses: after OnClick when a selection is set or accepted.
    virtual void Change() {}
    // ---- edit style (combo_edit_style.cpp) ----
    virtual void EditWndProc(TMessage& Message);
    virtual void CreateEditControl();
    void EditChange();
    // Up (-1) or down (+1) in the list; with WithText the item's text into the edit, OnClick.
    void EditStep(int Delta, bool WithText);
    void EditCompletion();
    void PlaceEdit();
    void FreeEdit();
    bool EastAsianCharset() const;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    // Enter and Esc belong to an open list (they close it), not to the form's default and
    // cancel buttons.
    bool WantsKey(WORD Key) override
    {
        return (Key >= VK_LEFT && Key <= VK_DOWN) || ((Key == VK_ESCAPE || Key == VK_RETURN) && IsPopupVisible());
    }

    // ---- face (combo_face.cpp) ----
    void CalcRects();
    // The item the face shows: the one it opened with while dropped down.
    int DisplayedIndex() const;
    TColor DisabledFontColor() const;
    void DrawComboButton(TCanvas* C);
    // The face without a skin record: the default colour in a shadow frame, with its button.
    void DrawDefaultFrame(TCanvas* C);
    void DrawSkinComboButton(TCanvas* C);
    void DrawDefaultFace(TCanvas* C);
    void DrawSkinFace(TCanvas* C, TBitmap* Image);
    void DrawStretchSkinFace(TCanvas* C, TBitmap* Image);
    // The skinned item face's font, colour, focus frame and item on B, then B onto C at the item
    // area (the stretched face keeps its colour when disabled).
    void FinishSkinFace(TCanvas* C, TBitmap* B, const TRect& TextRect, bool DisabledColour);
    // Image and text of the displayed item on an item bitmap (or OnComboBoxDrawItem).
    void DrawFaceItem(TCanvas* C, int W, int H, TRect TextRect);
    // The background of the skinned face (without button and item).
    void CreateControlSkinBackground(TBitmap* B);
    // The whole face as one tool button; AText, when given, stands for the displayed item.
    void DrawDefaultToolFace(TCanvas* C, const String* AText);
    void DrawSkinToolFace(TBitmap* B, const String* AText);
    // The tool face's item (or AText) and, unless ArrowColor is clNone, its drop-down arrow.
    void DrawToolFaceText(TCanvas* C, const TRect& TextRect, const TRect& ArrowRect, TColor ArrowColor,
                          const String* AText);

    // ---- list (skin_combo_box.cpp) ----
    void ListBoxWindowProcHook(TMessage& Message, bool& Handled);
    // While open and no drag runs, the drop-down holds the pointer (over other programs too):
    // moves select by hover, a press in the list starts a pick, one on a bar goes to the bar, one
    // anywhere else closes the list and goes on to the window under it.
    void HoldPointer();
    void PopupPointer(TMessage& Message);
    void HoverSelect(int X, int Y);
    void DragTrack(int X, int Y);
    void StartTimer(int Mode);
    void StopTimer();
    void TimerTick();
    void FindAndSelect(const String& SearchText);
    void StepItem(int Delta);
    bool Loading() const { return (ComponentState() & (csLoading | csDesigning)) != 0; }

    TbsPopupListBox* FListBox = nullptr;
    String FText;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    bool FAutoComplete = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    bool FDropDown = false;
    bool FMouseIn = false;
    bool WasInLB = false;
    bool FLBDown = false;
    int TimerMode = 0;
    int FListBoxWidth = 0;
    int FOldItemIndex = -1;
    int FDropDownCount = 8;
    uint32_t FLastTime = 0;
    String FFilter;
    TbsCustomEdit* FEdit = nullptr;
    TWndMethod FEditWindowProc;
    bool FromEdit = false;
    bool FHideSelection = true;
    bool FToolButtonStyle = false;
    TEditCharCase FCharCase = ecNormal;
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
};
