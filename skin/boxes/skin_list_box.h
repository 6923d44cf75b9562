// TbsSkinCustomListBox: the skinned list box - a container drawing a skinned frame ("listbox"
// record, or the built-in look), an optional caption bar with up, down and check buttons, and
// its own skin scroll bars around the inner TbsListBox. The bars mirror the inner list's scroll
// ranges and come and go as those demand: the main bar (vertical, or horizontal with several
// columns) and a horizontal bar for items wider than the list (HorizontalExtent), in the corner
// form when both show. The inner list calls the virtual hooks below; the file and directory
// lists and the combo box's drop-down derive from it. The caption, its buttons and the frame
// images are in list_box_caption.cpp.
#pragma once

#include "skin/boxes/inner_list_box.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_scroll_bar.h"

class TbsSkinCustomListBox : public TbsSkinCustomControl {
    friend class TbsListBox;

public:
    explicit TbsSkinCustomListBox(TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    // ---- the inner list's ----
    TStrings* Items() { return ListBox->Items(); }
    void SetItems(TStrings* Value);
    int ItemIndex() const { return ListBox->ItemIndex(); }
    void SetItemIndex(int Value) { ListBox->SetItemIndex(Value); }
    bool MultiSelect() const { return ListBox->MultiSelect(); }
    void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
    bool Sorted() const { return ListBox->Sorted(); }
    // Removes the main bar first.
    void SetSorted(bool Value);
    int Columns() const { return ListBox->Columns(); }
    void SetColumns(int Value);
    int TopIndex() const { return ListBox->TopIndex(); }
    void SetTopIndex(int Value) { ListBox->SetTopIndex(Value); }
    int SelCount() const { return ListBox->SelCount(); }
    TCanvas* ListBoxCanvas() { return ListBox->Canvas(); }
    TFont* ListBoxFont() { return ListBox->Font(); }
    void SetListBoxFont(TFont* Value) { ListBox->Font()->Assign(Value); }
    TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
    void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
    bool ListBoxTabStop() const { return ListBox->TabStop(); }
    void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
    int ItemAtPos(const TPoint& Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
    TRect ItemRect(int Index) { return ListBox->ItemRect(Index); }
    bool GetSelected(int Index) const { return ListBox->Selected(Index); }
    void Clear();

    // ---- own ----
    TStrings* TabWidths() { return FTabWidths; }
    // Assigns; the inner list repaints when it has items.
    void SetTabWidths(TStrings* Value);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool Value);
    int RowCount() const { return FRowCount; }
    // With a count, the height shows that many rows.
    void SetRowCount(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TBitmap* Glyph() { return FGlyph; }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    TFont* DefaultCaptionFont() { return FDefaultCaptionFont; }
    void SetDefaultCaptionFont(TFont* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool Value);

    // The control height that shows AItemsCount rows.
    int CalcHeight(int AItemsCount);
    // The skin bars made, ranged or removed as the inner list's ranges demand.
    void UpDateScrollBar();
    void AdjustLayout();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ApplyDefaultFont() override;

    // ---- hooks the inner list calls ----
    virtual int GetItemWidth(int Index, TCanvas* C);
    virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyUp(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyPress(wchar_t& Key);
    virtual void ListBoxEnter() {}
    virtual void ListBoxExit() {}
    // Sees every message of the inner list first; Handled false swallows it.
    virtual void ListBoxWndProc(TMessage& Message, bool& Handled) { Handled = true; }
    virtual void ListBoxCreateWnd() {}

    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    TbsDrawSkinItemEvent OnDrawItem;
    TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    TMouseMoveEvent OnListBoxMouseMove;
    TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    TKeyPressEvent OnListBoxKeyPress;

    TbsListBox* ListBox = nullptr;
    TbsSkinScrollBar* ScrollBar = nullptr;   // vertical, or horizontal with several columns
    TbsSkinScrollBar* HScrollBar = nullptr;  // wide items
    TRect ListRect{};

    // Caption buttons 0 up, 1 down, 2 check.
    struct TCaptionButton {
        TRect R{};
        bool MouseIn = false;
        bool Down = false;
    };
    TCaptionButton Buttons[3];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;  // caption-button repeat: 0 none, 1 up, 2 down
    bool WaitMode = false;
    TRect NewCaptionRect{};

    // Copies of the record.
    TRect SItemRect{}, ActiveItemRect{}, FocusItemRect{};
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect{};
    String CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 13;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
    TRect CheckButtonRect{}, ActiveCheckButtonRect{}, DownCheckButtonRect{};
    String HScrollBarName, VScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect{}, ButtonsArea{};

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // The main bar's skin name for this skin and column count.
    String MainBarName() const;
    void ShowSkinScrollBar();
    void HideSkinScrollBar();
    void ShowSkinHScrollBar();
    void HideSkinHScrollBar();
    void SkinScrollBarChange(TObject* Sender);
    void SkinHScrollBarChange(TObject* Sender);

    // ---- caption (list_box_caption.cpp) ----
    void DrawButton(TCanvas* C, int I);
    void TestActive(int X, int Y);
    void ButtonAction(int I);
    void StartRepeatTimer(unsigned Ms);
    void StopRepeatTimer();
    // Caption text and glyph in R (X by alignment), clipped to R.
    void DrawCaptionContent(TCanvas* C, const TRect& R, int Y, int X, int ContentWidth);
    int CaptionContentWidth(TCanvas* C);

    TStringList* FTabWidths = nullptr;
    bool FShowCaptionButtons = true;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    bool FStopUpDateHScrollBar = false;
    int FRowCount = 0;
    TBitmap* FGlyph = nullptr;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDefaultItemHeight = 20;
    int FDefaultCaptionHeight = 20;
    TFont* FDefaultCaptionFont = nullptr;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;
    bool FUpdatingBars = false;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
public:
    using TbsSkinCustomListBox::TbsSkinCustomListBox;
};
