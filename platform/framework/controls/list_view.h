// TCustomListView / TListView with TListColumn(s) and TListItem(s): the report-style list of the
// main window (columns with widths and limits, rows with a caption and sub-items, check boxes,
// single or multiple selection by mouse and keys, selection and change events on user and
// program changes, custom-draw hooks, grid lines, row select, scrolling, in-place editing of a
// caption, type-ahead search) in the framework's plain look. Besides the report view it lays items
// out as large icons in a grid of cells (the image above the wrapped caption), as small icons in
// rows from left to right, and as a list in columns from top to bottom scrolled sideways by whole
// columns (list_view_layout.cpp). In owner-data mode the list has a
// count and no items of its own: an item's caption, image and sub-items are fetched (OwnerDataFetch,
// OnData) each time it is used, and type-ahead asks OwnerDataFind (OnDataFind). The image lists
// drawn are those LVM_SETIMAGELIST set (SmallImages and LargeImages set them too). The skinned list
// view derives from it.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/collection.h"
#include "platform/framework/core/string_list.h"

class TCustomListView;
class TListItems;
class TCustomImageList;
class TInplaceEdit;
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

// wParam LVSIL_*; answers the list LVM_SETIMAGELIST set there.
constexpr UINT LVM_GETIMAGELIST = 0x1000 + 2;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TItemRequest { irText, irImage, irParam, irState, irIndent };
using TItemRequests = TEnumSet<TItemRequest>;
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* c) : TCollectionItem(c) {}
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    // The width in use: Width limited by MinWidth and MaxWidth (0 = no limit).
    int Width() const;
    void SetWidth(int v);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int v);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    String DisplayName() const override { return FCaption; }

private:
    String FCaption;
    int FWidth = 50;
    int FMaxWidth = 0;
    int FMinWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TCustomListView* AOwner);
    // The list hears of a new column once it is whole.
    TListColumn* Add();
    TListColumn* Insert(int Index);
    TListColumn* Items(int i) const { return static_cast<TListColumn*>(TCollection::Items(i)); }
    TCustomListView* Owner() const { return FOwner; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FOwner;
    bool FAdding = false;
};

class TListItem : public TPersistent {
    friend class TListItems;
    friend class TCustomListView;

public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;
    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    TStrings* SubItems() { return &FSubItems; }
    int SubItemImages(int i) const;
    void SetSubItemImages(int i, int v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Selected() const { return FSelected; }
    void SetSelected(bool v);
    bool Focused() const;
    void SetFocused(bool v);
    void* Data() const { return FData; }
    void SetData(void* v) { FData = v; }
    TRect DisplayRect(TDisplayCode Code) const;
    int Top() const { return DisplayRect(drBounds).Top; }
    int Left() const { return DisplayRect(drBounds).Left; }
    void MakeVisible(bool PartialOK);
    void Delete();
    void Update();
    // Starts editing the caption in place (LVM_EDITLABELW); false when the list refuses.
    bool EditCaption();

private:
    void Changed(TItemChange what);
    TListItems* FOwner;
    String FCaption;
    TStringList FSubItems;
    std::vector<int> FSubItemImages;
    int FImageIndex = -1;
    int FStateIndex = -1;
    bool FChecked = false;
    bool FSelected = false;
    void* FData = nullptr;
};

class TListItems : public TPersistent {
    friend class TCustomListView;
    friend class TListItem;

public:
    explicit TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}
    ~TListItems() override;
    TCustomListView* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Item(int i) const;
    TListItem* operator[](int i) const { return Item(i); }
    // Owner-data mode: the number of items the list shows; the items are fetched when used.
    void SetCount(int Value);
    TListItem* Add();
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem* Item) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

private:
    // In owner-data mode an item is made when first used and filled again each time.
    TListItem* At(int i) const;
    TCustomListView* FOwner;
    std::vector<TListItem*> FItems;
    int FUpdateCount = 0;
};

// Options of the icon view: WrapText breaks long captions over lines under the icon.
class TIconOptions : public TPersistent {
public:
    bool WrapText() const { return FWrapText; }
    void SetWrapText(bool v) { FWrapText = v; }

private:
    bool FWrapText = true;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, int SubItem,
                                                     TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawEvent = std::function<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, TItemFind Find, const String& FindString, const TPoint& FindPosition,
                       void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;

class TCustomListView : public TCustomControl {
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;

public:
    // The plain look's check box side and the padding around a caption.
    static constexpr int kCheckSize = 13;
    static constexpr int kTextPad = 6;

    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() { return &FColumns; }
    TListColumn* Column(int i) { return FColumns.Items(i); }
    TListItems* Items() { return &FItems; }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v);

    TListItem* Selected() const;
    void SetSelected(TListItem* Item);
    int ItemIndex() const;
    void SetItemIndex(int i);
    TListItem* ItemFocused() const { return FFocused; }
    void SetItemFocused(TListItem* Item);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool v);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    // The image list components; setting one sets the list drawn (LVM_SETIMAGELIST).
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* v);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* v);
    // Columns could be dragged to new places; they never are here (the order stays the identity).
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool v) { FFullDrag = v; }
    TIconOptions* IconOptions() { return &FIconOptions; }
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* v);
    // The lists drawn, as LVM_SETIMAGELIST last set them; nullptr for none.
    TCustomImageList* SmallImageList() const;
    TCustomImageList* LargeImageList() const;

    bool OwnerData() const { return FOwnerData; }
    // Switching the mode removes every item.
    void SetOwnerData(bool v);
    // The first item from StartIndex on (wrapping to the start when Wrap) whose caption begins
    // with Value (Partial) or is Value, letter case ignored; -1 for none. Owner-data lists answer
    // through OwnerDataFind.
    int FindCaption(int StartIndex, const String& Value, bool Partial, bool Wrap);

    // Geometry.
    int RowHeight();
    int HeaderHeight();
    // The first item shown: the top row (report), the first in the top row of cells (icon styles)
    // or at the top of the first column shown (list).
    TListItem* TopItem() const;
    // Rows that fit: the report's rows, rows of cells (icon styles), items in a column (list).
    int VisibleRowCount();
    // Outside the report view: the size of an item's cell (icon view: the grid cell; small icon and
    // list: the widest item by the row height).
    TSize CellSize();
    // Cells in a row (icon styles) or in a column (list); 0 in the report view.
    int CellsPerLine();
    void Scroll(int DX, int DY);
    TListItem* GetItemAt(int X, int Y);
    // The column whose header is at X (client coordinates), -1 when none.
    int ColumnAt(int X) const;
    bool IsEditing() const;
    // The item whose caption is being edited, -1 for none.
    int EditingIndex() const { return IsEditing() ? FEditIndex : -1; }
    // The header child window (report style with column headers), nullptr when there is none.
    HWND HeaderHandle() const { return FHeader; }
    int HeaderScrollX() const { return FScrollX; }
    // A click on column i's header section: OnColumnClick; views that sort by a column add to it.
    virtual void ColumnClick(int i);

    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    TLVCustomDrawEvent OnCustomDraw;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
    TLVColumnClickEvent OnColumnClick;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVEditingEvent OnEditing;
    // The edited text, which the handler may change before the item takes it.
    TLVEditedEvent OnEdited;

protected:
    virtual void Change(TListItem* Item, TItemChange What);
    virtual void ColumnsChanged();
    // Owner data: fills Item (its Index is set) for the requests; the default asks OnData.
    virtual bool OwnerDataFetch(TListItem* Item, TItemRequests Request);
    // Owner data: the index found from StartIndex (-1 for none); the default asks OnDataFind.
    virtual int OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
                              int StartIndex, TSearchDirection Direction, bool Wrap);
    virtual bool CanEdit(TListItem* Item);
    // Editing of item Index ended: unless Cancelled, OnEdited may change Text, then the item
    // takes it (in owner-data mode the program keeps the text).
    virtual void Edit(int Index, bool Cancelled, const String& Text);
    void Paint() override;
    virtual void DrawItem(TListItem* Item, const TRect& R, TCustomDrawState State);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override;
    void ItemSelectChanging(TListItem* Item, bool Selected);
    void ItemDeleting(TListItem* Item);
    void ItemChanged(TListItem* Item, TItemChange What);
    void InvalidateItem(TListItem* Item);
    int ColumnsWidth() const;
    void MoveFocus(int Index, TShiftState Shift);
    void ClampScroll();
    // Layouts other than the report (list_view_layout.cpp).
    TPoint CellOrigin(int Index);
    TRect ItemRect(int Index, const String& Caption, TDisplayCode Code);
    // The caption's box in the small-icon and list styles: the text and its padding.
    TRect TextBox(int Index, const String& Caption);
    TRect CheckBoxRect(int Index);
    // The icon styles' whole content in pixels.
    TSize ContentSize();
    int ListColumnCount();
    int VisibleListColumns();
    void ClampScrollOtherViews();
    void UpdateScrollBarsOtherViews();
    void ScrollMessageOtherViews(TMessage& m, bool vertical);
    void ScrollOtherViews(int DX, int DY);
    void MakeVisibleOtherViews(int Index);
    TListItem* GetItemAtOtherViews(int X, int Y);
    // The item an arrow, page or home/end key moves the focus to from Current; -1 for none.
    int KeyTarget(int Current, WORD Key);
    void PaintOtherViews(const TRect& Client);
    void DrawOtherViewItem(TListItem* Item, TCustomDrawState State, bool ShowSelection, TColor RowFont);
    int CaptionWidth(const String& Caption);
    // The widest caption (owner data: a fixed width, as the items are not all at hand).
    int WidestCaption();
    int TextLineHeight();
    void CreateWnd() override;
    void CreateParams(TCreateParams& Params) override;
    void DestroyWnd() override;
    void UpdateHeader();
    // Hands the scroll range and position to the window's standard scroll bars.
    void UpdateScrollBars();
    void ScrollMessage(TMessage& m, bool vertical);
    bool StartEdit(int Index);
    void TypeAhead(wchar_t Ch);
    bool FInScrollUpdate = false;
    HWND FHeader = nullptr;

    TListColumns FColumns;
    TListItems FItems;
    TViewStyle FViewStyle = vsIcon;
    TListItem* FFocused = nullptr;
    TListItem* FAnchorItem = nullptr;
    bool FMultiSelect = false;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FReadOnly = false;
    bool FCheckboxes = false;
    bool FShowColumnHeaders = true;
    bool FHideSelection = true;
    bool FFullDrag = false;
    TIconOptions FIconOptions;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    HIMAGELIST FLists[3] = {nullptr, nullptr, nullptr};  // by LVSIL_*, as LVM_SETIMAGELIST set them
    bool FOwnerData = false;
    bool FFetching = false;  // an item being filled: its changes are no news
    TInplaceEdit* FEditor = nullptr;
    int FEditIndex = -1;
    String FSearchText;  // type-ahead: the letters typed in quick succession
    unsigned long long FSearchTick = 0;
    int FTopIndex = 0;
    int FScrollX = 0;      // pixels (report and icon styles)
    int FScrollY = 0;      // pixels (icon styles)
    int FFirstColumn = 0;  // list style: the first column shown
    int FRowHeight = 0;
    int FCachedRowHeight = 0;   // from the font; 0 = measure again
    int FCachedLineHeight = 0;  // the font's line; 0 = measure again
    int FCachedWidest = -1;     // the widest caption; -1 = measure again
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};
