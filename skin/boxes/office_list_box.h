// TbsSkinOfficeListBox: a skinned, owner-painted vertical list of office items (title, wrapped
// caption, image, check box; or a group header row). It scrolls by pixels through a skinned
// vertical bar that exists exactly while the content is taller than the item area (as of the
// last range update). Arrow and page keys skip headers and disabled rows; the page keys stop at
// the first selectable row past a header.
//
// TbsPopupOfficeListBox: the same list as a top-level pop-up that never takes activation and may
// fade in as a layered window; the office combo box creates, places, shows and hides it.
//
// Selection: SetItemIndex selects, scrolls the row into view and fires the item's OnClick, then
// OnItemClick, also when the index did not change (a negative index only repaints);
// SetActiveItem (the mouse while pressed or hovering) selects without events.
#pragma once

#include <functional>

#include "skin/boxes/office_items.h"
#include "skin/controls/skin_control.h"

class TbsSkinScrollBar;

// Draws the contents of a row (Index) in TextRct on Cnvs in place of the built-in drawing.
using TbsDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, int Index, TRect TextRct)>;

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinOfficeListBox(TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;

    bool ShowCheckBoxes() const { return FShowCheckBoxes; }
    void SetShowCheckBoxes(bool Value);
    bool HeaderLeftAlignment() const { return FHeaderLeftAlignment; }
    void SetHeaderLeftAlignment(bool Value);
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    TbsSkinOfficeItems* Items() const { return FItems; }
    // Copies the collection, repaints, follows the range.
    void SetItems(TbsSkinOfficeItems* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool Value);
    int ItemHeight() const { return FItemHeight; }
    // At least 1: the page keys divide by it.
    void SetItemHeight(int Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    int ItemIndex() const { return FItemIndex; }
    // Raises the collection's index error, changing nothing, for an index past the last item.
    void SetItemIndex(int Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
    void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }
    int ScrollOffset() const { return FScrollOffset; }
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar; }
    int CheckOffset() const { return FCheckOffset; }
    TColor DisabledFontColor() const { return FDisabledFontColor; }

    // Redraw off and range updates skipped until EndUpdateItems, which repaints once.
    void BeginUpdateItems();
    void EndUpdateItems();
    // The height that shows min(AItemCount, item count) normal rows.
    int CalcHeight(int AItemCount);
    void CalcItemRects();
    // The first enabled row whose rectangle holds the point; -1 when none.
    int ItemAtPos(int X, int Y);
    void ScrollToItem(int Index);
    void Scroll(int AScrollOffset);
    void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
    void UpdateScrollInfo();
    void DrawItem(int Index, TCanvas* Cnvs);
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();
    // Selects without events (the mouse).
    void SetActiveItem(int Index);

    void ChangeSkinData() override;
    // The framework's mouse handlers, public: the office combo drives its drop-down through them.
    void MouseMove(TShiftState Shift, int X, int Y) override;

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnItemClick;
    TNotifyEvent OnItemCheckClick;

protected:
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;

    void ShowScrollbar();
    void HideScrollBar();
    void AdjustScrollBar();
    void SBChange(TObject* Sender);
    void SkinDrawItem(int Index, TCanvas* Cnvs);
    void SkinDrawHeaderItem(int Index, TCanvas* Cnvs);
    void DefaultDrawItem(int Index, TCanvas* Cnvs);

    int FCheckOffset = 0;
    bool FShowCheckBoxes = false;
    bool FInUpdateItems = false;
    bool FMouseMoveChangeIndex = false;
    TColor FDisabledFontColor;
    bool FShowLines = false;
    bool FClicksDisabled = false;
    bool FMouseDown = false;
    int FMouseActive = -1;
    int FMax = 0;
    int FRealMax = 0;
    TRect FItemsRect{};
    int FScrollOffset = 0;
    TbsSkinOfficeItems* FItems = nullptr;
    TCustomImageList* FImages = nullptr;
    bool FShowItemTitles = true;
    int FItemHeight = 30;
    int FHeaderHeight = 20;
    int FOldHeight = -1;
    TbsSkinScrollBar* FScrollBar = nullptr;
    int FItemIndex = -1;
    bool FHeaderLeftAlignment = false;
    String FItemSkinDataName = L"listbox";
    String FHeaderSkinDataName = L"menuheader";

private:
    // Every row's Active flag := (its index = Index).
    void MarkActive(int Index);
    // Checks the selected row's box when the user toggles it.
    void ToggleCheck(int Index);
    // The drawing of a row's content (check, title, image and caption) in R; Selected picks the
    // selected look's colours; Skinned the skinned caption rules.
    void DrawContent(int Index, TCanvas* C, TRect R, bool Skinned, bool Selected, TColor CheckColor);
    void DrawSeparator(int Index, TCanvas* C, TColor Color);
    bool Selectable(int Index) const;
    void FindPage(bool Down);
};

class TbsPopupOfficeListBox : public TbsSkinOfficeListBox {
public:
    explicit TbsPopupOfficeListBox(TComponent* AOwner);

    // Shows the window with its top-left at the screen point Origin, without activation; with
    // the owning combo's AlphaBlend layered (and faded in with AlphaBlendAnimation).
    void Show(const TPoint& Origin);
    void Hide();

    bool FOldAlphaBlend = false;
    BYTE FOldAlphaBlendValue = 0;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};
