// TCustomListBox / TListBox: a scrolling list of strings in the plain look - single or multiple
// selection by mouse and keys, type-ahead, owner-drawn rows (OnDrawItem on Canvas), several
// columns flowing top to bottom (Columns, scrolled sideways by column), the LB_ messages callers
// send. An index outside the items other than -1 is refused. The skinned list boxes are built
// on it and replace its wheel (WheelScroll).
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/string_list.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using TOwnerDrawState = TEnumSet<TOwnerDrawStateItem>;
class TWinControl;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    TStrings* Items() { return &FItems; }
    void SetItems(TStrings* v) { FItems.Assign(v); }
    int Count() const { return FItems.Count(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool Selected(int i) const;
    void SetSelected(int i, bool v);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    int ItemHeight();
    void SetItemHeight(int v);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle v);
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool v) { FItems.SetSorted(v); }
    // 0: one column scrolled up and down; n > 0: columns of ClientWidth / n side by side.
    int Columns() const { return FColumns; }
    void SetColumns(int v);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int v);
    TRect ItemRect(int Index);
    // The row under a client point; -1 when none (Existing) or the nearest row.
    int ItemAtPos(const TPoint& Pos, bool Existing);
    void Clear() { FItems.Clear(); }
    // The first item after Start (-1: from the top) that begins with Text, ignoring case, going
    // round past the end; -1 when none does.
    int FindString(const String& Text, int Start) const;

    TDrawItemEvent OnDrawItem;

protected:
    void Paint() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override
    {
        return Key == VK_UP || Key == VK_DOWN || (FColumns > 0 && (Key == VK_LEFT || Key == VK_RIGHT));
    }
    void MoveTo(int Index, TShiftState Shift);
    // What a wheel turn (WM_MOUSEWHEEL's WParam) does: three rows (a column with several) a notch.
    virtual void WheelScroll(WPARAM WParam);
    // Rows that fit one column.
    int RowsPerColumn();
    int ColumnWidth();
    void ItemsChanged();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void UpdateScrollBars();
    bool FInScrollUpdate = false;
    int VisibleRows();

    TStringList FItems;
    std::vector<bool> FSel;
    int FItemIndex = -1;
    int FAnchor = -1;
    bool FMultiSelect = false;
    int FItemHeight = 0;
    TListBoxStyle FStyle = lbStandard;
    int FTopIndex = 0;
    int FColumns = 0;
    // Type-ahead: the characters typed within a second of each other.
    String FTyped;
    unsigned long long FTypedTime = 0;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
