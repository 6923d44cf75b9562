#include "platform/framework/controls/list_view.h"

#include <algorithm>

#include "platform/framework/controls/inplace_edit.h"
#include "platform/framework/controls/list_view_header.h"
#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/scrolling.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/image_list.h"

namespace {
constexpr int kCheckSize = TCustomListView::kCheckSize;
}  // namespace

// ---- TListColumn ----

void TListColumn::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FCaption = v;
    Changed(false);
}

int TListColumn::Width() const
{
    int w = FWidth;
    if (FMaxWidth > 0 && w > FMaxWidth) w = FMaxWidth;
    if (FMinWidth > 0 && w < FMinWidth) w = FMinWidth;
    return std::max(0, w);
}

void TListColumn::SetWidth(int v)
{
    if (v == FWidth) return;
    FWidth = v;
    Changed(false);
}

void TListColumn::SetMaxWidth(int v)
{
    if (v == FMaxWidth) return;
    FMaxWidth = v;
    Changed(false);
}

void TListColumn::SetMinWidth(int v)
{
    if (v == FMinWidth) return;
    FMinWidth = v;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment v)
{
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(false);
}

void TListColumn::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed(false);
}

TListColumns::TListColumns(TCustomListView* AOwner)
    : TCollection([](TCollection* c) { return new TListColumn(c); }, AOwner), FOwner(AOwner)
{}

void TListColumns::Update(TCollectionItem*)
{
    if (!FAdding) FOwner->ColumnsChanged();
}

TListColumn* TListColumns::Add() { return Insert(Count()); }

TListColumn* TListColumns::Insert(int Index)
{
    FAdding = true;
    TCollectionItem* item = nullptr;
    try {
        item = TCollection::Insert(Index);
    } catch (...) {
        FAdding = false;
        throw;
    }
    FAdding = false;
    FOwner->ColumnsChanged();
    return static_cast<TListColumn*>(item);
}

// ---- TListItem ----

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner)
{
    FSubItems.OnChange = [this](TObject*) { Changed(ctText); };
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner ? FOwner->FOwner : nullptr; }

int TListItem::Index() const { return FOwner ? FOwner->IndexOf(this) : -1; }

void TListItem::Changed(TItemChange what)
{
    if (TCustomListView* lv = ListView()) lv->ItemChanged(this, what);
}

void TListItem::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FCaption = v;
    Changed(ctText);
}

int TListItem::SubItemImages(int i) const
{
    if (i < 0 || i >= FSubItems.Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(i) + L")");
    return static_cast<size_t>(i) < FSubItemImages.size() ? FSubItemImages[static_cast<size_t>(i)] : -1;
}

void TListItem::SetSubItemImages(int i, int v)
{
    if (i < 0 || i >= FSubItems.Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(i) + L")");
    if (FSubItemImages.size() <= static_cast<size_t>(i)) FSubItemImages.resize(static_cast<size_t>(i) + 1, -1);
    FSubItemImages[static_cast<size_t>(i)] = v;
    Changed(ctImage);
}

void TListItem::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed(ctImage);
}

void TListItem::SetStateIndex(int v)
{
    if (v == FStateIndex) return;
    FStateIndex = v;
    Changed(ctState);
}

void TListItem::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    Changed(ctState);
}

void TListItem::SetSelected(bool v)
{
    if (v == FSelected) return;
    TCustomListView* lv = ListView();
    if (lv && v && !lv->FMultiSelect) {
        for (TListItem* other : lv->FItems.FItems)
            if (other && other != this && other->FSelected) other->SetSelected(false);
    }
    FSelected = v;
    if (lv) lv->ItemSelectChanging(this, v);
}

bool TListItem::Focused() const
{
    TCustomListView* lv = ListView();
    return lv && lv->FFocused == this;
}

void TListItem::SetFocused(bool v)
{
    TCustomListView* lv = ListView();
    if (!lv) return;
    if (v)
        lv->SetItemFocused(this);
    else if (lv->FFocused == this)
        lv->SetItemFocused(nullptr);
}

TRect TListItem::DisplayRect(TDisplayCode Code) const
{
    TCustomListView* lv = ListView();
    if (!lv) return TRect{};
    if (lv->FViewStyle != vsReport) return lv->ItemRect(Index(), FCaption, Code);
    int rh = lv->RowHeight();
    int top = lv->HeaderHeight() + (Index() - lv->FTopIndex) * rh;
    int left = -lv->FScrollX;
    int total = std::max(lv->ColumnsWidth(), 1);
    TRect bounds = Rect(left, top, left + total, top + rh);
    int firstW = lv->FColumns.Count() > 0 ? lv->FColumns.Items(0)->Width() : total;
    TCustomImageList* small = lv->SmallImageList();
    int imageW = small ? small->Width() + 2 : 0;
    int checkW = lv->FCheckboxes ? kCheckSize + 4 : 0;
    int labelLeft = left + checkW + imageW + 2;
    switch (Code) {
    case drBounds: return bounds;
    // The image's place; the check box lies left of it.
    case drIcon: return Rect(left + checkW, top, labelLeft, top + rh);
    case drLabel: return Rect(labelLeft, top, left + firstW, top + rh);
    case drSelectBounds:
        return lv->FRowSelect ? Rect(labelLeft, top, left + total, top + rh)
                              : Rect(labelLeft, top, left + firstW, top + rh);
    }
    return bounds;
}

void TListItem::MakeVisible(bool PartialOK)
{
    TCustomListView* lv = ListView();
    if (!lv) return;
    int i = Index();
    (void)PartialOK;
    if (lv->FViewStyle != vsReport) {
        lv->MakeVisibleOtherViews(i);
        return;
    }
    int rows = std::max(1, lv->VisibleRowCount());
    if (i < lv->FTopIndex)
        lv->FTopIndex = i;
    else if (i >= lv->FTopIndex + rows)
        lv->FTopIndex = i - rows + 1;
    lv->ClampScroll();
    lv->Invalidate();
}

void TListItem::Delete()
{
    if (FOwner) FOwner->Delete(Index());
}

void TListItem::Update() { Changed(ctText); }

bool TListItem::EditCaption()
{
    TCustomListView* lv = ListView();
    return lv && lv->Perform(LVM_EDITLABELW, static_cast<WPARAM>(Index())) != 0;
}

// ---- TListItems ----

TListItems::~TListItems()
{
    for (TListItem* i : FItems) delete i;
}

TListItem* TListItems::Item(int i) const
{
    if (i < 0 || i >= Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(i) + L")");
    return At(i);
}

TListItem* TListItems::At(int i) const
{
    TListItem*& item = const_cast<TListItems*>(this)->FItems[static_cast<size_t>(i)];
    if (!FOwner || !FOwner->FOwnerData) return item;
    if (!item) item = new TListItem(const_cast<TListItems*>(this));
    // Filled again on every use: the list keeps no texts of its own.
    FOwner->FFetching = true;
    try {
        item->FCaption.clear();
        item->FSubItems.Clear();
        item->FImageIndex = -1;
        FOwner->OwnerDataFetch(item, TItemRequests{irText, irImage, irParam, irState});
    } catch (...) {
        FOwner->FFetching = false;
        throw;
    }
    FOwner->FFetching = false;
    return item;
}

void TListItems::SetCount(int Value)
{
    if (!FOwner || !FOwner->FOwnerData) throw EListError(L"The item count is set in owner-data mode only");
    Value = std::max(0, Value);
    if (FOwner->FEditIndex >= Value) FOwner->Perform(LVM_EDITLABELW, static_cast<WPARAM>(-1));
    while (static_cast<int>(FItems.size()) > Value) {
        TListItem* item = FItems.back();
        FItems.pop_back();
        if (!item) continue;
        if (FOwner->FFocused == item) FOwner->FFocused = nullptr;
        if (FOwner->FAnchorItem == item) FOwner->FAnchorItem = nullptr;
        item->FOwner = nullptr;
        delete item;
    }
    FItems.resize(static_cast<size_t>(Value), nullptr);
    FOwner->FCachedWidest = -1;
    FOwner->ClampScroll();
    if (FUpdateCount == 0) FOwner->Invalidate();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int Index)
{
    if (FOwner && FOwner->FOwnerData) throw EListError(L"An owner-data list has no items to insert");
    if (Index < 0 || Index > Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    auto* item = new TListItem(this);
    FItems.insert(FItems.begin() + Index, item);
    if (FOwner) {
        if (FOwner->OnInsert) FOwner->OnInsert(FOwner, item);
        FOwner->FCachedWidest = -1;
        FOwner->ClampScroll();
        if (FUpdateCount == 0) FOwner->Invalidate();
    }
    return item;
}

void TListItems::Delete(int Index)
{
    if (FOwner && FOwner->FOwnerData) throw EListError(L"An owner-data list has no items to delete");
    TListItem* item = Item(Index);
    if (FOwner) FOwner->ItemDeleting(item);
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end()) FItems.erase(it);
    item->FOwner = nullptr;
    delete item;
    if (FOwner) {
        FOwner->FCachedWidest = -1;
        FOwner->ClampScroll();
        if (FUpdateCount == 0) FOwner->Invalidate();
    }
}

void TListItems::Clear()
{
    if (FOwner && FOwner->FOwnerData) {
        SetCount(0);
        return;
    }
    BeginUpdate();
    try {
        while (!FItems.empty()) Delete(Count() - 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TListItems::IndexOf(const TListItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0 && FOwner) {
        FOwner->ClampScroll();
        FOwner->Invalidate();
    }
}

// ---- TCustomListView ----

TCustomListView::TCustomListView(TComponent* AOwner) : TCustomControl(AOwner), FColumns(this), FItems(this)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    FWidth = 250;
    FHeight = 150;
    FTabStop = true;
    FColor = clWindow;
}

TCustomListView::~TCustomListView()
{
    // The items go without events.
    OnChange = nullptr;
    OnSelectItem = nullptr;
    OnDeletion = nullptr;
}

void TCustomListView::SetViewStyle(TViewStyle v)
{
    if (v == FViewStyle) return;
    FViewStyle = v;
    FScrollX = FScrollY = FFirstColumn = 0;
    UpdateHeader();
    ClampScroll();
    Invalidate();
}

void TCustomListView::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style |= WS_VSCROLL | WS_HSCROLL;
}

void TCustomListView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateHeader();
    UpdateScrollBars();
}

void TCustomListView::UpdateScrollBars()
{
    if (!FHandle || FInScrollUpdate || FItems.FUpdateCount > 0) return;
    if (FViewStyle != vsReport) {
        UpdateScrollBarsOtherViews();
        return;
    }
    FInScrollUpdate = true;
    SCROLLINFO v;
    v.fMask = SIF_ALL;
    v.nMin = 0;
    v.nMax = std::max(0, FItems.Count() - 1);
    v.nPage = static_cast<UINT>(std::max(1, VisibleRowCount()));
    v.nPos = FTopIndex;
    SetScrollInfo(FHandle, SB_VERT, &v, TRUE);
    SCROLLINFO h;
    h.fMask = SIF_ALL;
    h.nMin = 0;
    h.nMax = std::max(0, ColumnsWidth() - 1);
    h.nPage = static_cast<UINT>(std::max(1, ClientWidth()));
    h.nPos = FScrollX;
    SetScrollInfo(FHandle, SB_HORZ, &h, TRUE);
    FInScrollUpdate = false;
}

void TCustomListView::ScrollMessage(TMessage& m, bool vertical)
{
    if (FViewStyle != vsReport) {
        ScrollMessageOtherViews(m, vertical);
        return;
    }
    int page = vertical ? std::max(1, VisibleRowCount()) : std::max(1, ClientWidth());
    int line = vertical ? 1 : 10;
    int& pos = vertical ? FTopIndex : FScrollX;
    if (!ScrollBarTarget(m.WParam, pos, line, page, vertical ? FItems.Count() : ColumnsWidth(), pos)) return;
    ClampScroll();
    Invalidate();
    if (FHeader && !vertical) InvalidateRect(FHeader, nullptr, FALSE);
    m.Result = 0;
}

void TCustomListView::DestroyWnd()
{
    if (FHeader) {
        DestroyListViewHeader(FHeader);
        FHeader = nullptr;
    }
    TCustomControl::DestroyWnd();
}

void TCustomListView::UpdateHeader()
{
    bool want = FHandle && FViewStyle == vsReport && FShowColumnHeaders;
    if (want && !FHeader) {
        FHeader = CreateListViewHeader(this, FHandle, ClientWidth(), HeaderHeight());
    } else if (!want && FHeader) {
        DestroyListViewHeader(FHeader);
        FHeader = nullptr;
    } else if (FHeader) {
        SetWindowPos(FHeader, nullptr, 0, 0, ClientWidth(), HeaderHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TCustomListView::ColumnClick(int i)
{
    if (i >= 0 && i < FColumns.Count() && OnColumnClick) OnColumnClick(this, FColumns.Items(i));
}

void TCustomListView::SetMultiSelect(bool v)
{
    if (v == FMultiSelect) return;
    FMultiSelect = v;
    if (!v) {
        TListItem* keep = Selected();
        for (TListItem* i : FItems.FItems)
            if (i && i != keep && i->FSelected) i->SetSelected(false);
    }
}

void TCustomListView::SetRowSelect(bool v) { SetAndInvalidate(FRowSelect, v); }

void TCustomListView::SetGridLines(bool v) { SetAndInvalidate(FGridLines, v); }

void TCustomListView::SetCheckboxes(bool v)
{
    if (v == FCheckboxes) return;
    FCheckboxes = v;
    ClampScroll();  // the items of the list styles widen by the box
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool v)
{
    if (v == FShowColumnHeaders) return;
    FShowColumnHeaders = v;
    UpdateHeader();
    Invalidate();
}

void TCustomListView::SetHideSelection(bool v) { SetAndInvalidate(FHideSelection, v); }

void TCustomListView::SetSmallImages(TCustomImageList* v)
{
    FSmallImages = v;
    Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TCustomListView::SetLargeImages(TCustomImageList* v)
{
    FLargeImages = v;
    Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TCustomListView::SetStateImages(TCustomImageList* v)
{
    FStateImages = v;
    Perform(LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

TCustomImageList* TCustomListView::SmallImageList() const { return TCustomImageList::FromHandle(FLists[LVSIL_SMALL]); }

TCustomImageList* TCustomListView::LargeImageList() const { return TCustomImageList::FromHandle(FLists[LVSIL_NORMAL]); }

void TCustomListView::SetOwnerData(bool v)
{
    if (v == FOwnerData) return;
    if (FOwnerData) {
        FItems.SetCount(0);
    } else {
        FItems.Clear();
    }
    FOwnerData = v;
    Invalidate();
}

bool TCustomListView::OwnerDataFetch(TListItem* Item, TItemRequests)
{
    if (!OnData) return false;
    OnData(this, Item);
    return true;
}

int TCustomListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
                                   int StartIndex, TSearchDirection Direction, bool Wrap)
{
    int index = -1;
    if (OnDataFind) OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, index);
    return index;
}

int TCustomListView::FindCaption(int StartIndex, const String& Value, bool Partial, bool Wrap)
{
    const int n = FItems.Count();
    if (n == 0) return -1;
    StartIndex = std::clamp(StartIndex, 0, n - 1);
    if (FOwnerData)
        return OwnerDataFind(Partial ? ifPartialString : ifExactString, Value, TPoint{}, nullptr, StartIndex, sdAll,
                             Wrap);
    const String want = UpperCase(Value);
    for (int k = 0; k < n; ++k) {
        const int i = StartIndex + k;
        if (i >= n && !Wrap) break;
        const String caption = UpperCase(FItems.Item(i % n)->Caption());
        if (Partial ? caption.compare(0, want.size(), want) == 0 : caption == want) return i % n;
    }
    return -1;
}

void TCustomListView::TypeAhead(wchar_t Ch)
{
    // Letters typed within a second of each other make one search text.
    const unsigned long long now = GetTickCount64();
    if (now - FSearchTick > 1000) FSearchText.clear();
    FSearchTick = now;
    FSearchText += Ch;
    const int cur = FFocused ? FFocused->Index() : -1;
    // A new search starts after the focused item; a longer text may stay on it.
    int start = FSearchText.size() == 1 ? cur + 1 : std::max(cur, 0);
    if (start >= FItems.Count()) start = 0;
    const int found = FindCaption(start, FSearchText, true, true);
    if (found >= 0) MoveFocus(found, TShiftState{});
}

bool TCustomListView::CanEdit(TListItem* Item)
{
    bool allow = !FReadOnly && Item;
    if (allow && OnEditing) OnEditing(this, Item, allow);
    return allow;
}

void TCustomListView::Edit(int Index, bool Cancelled, const String& Text)
{
    if (Cancelled || Index < 0 || Index >= FItems.Count()) return;
    TListItem* item = FItems.Item(Index);
    String s = Text;
    if (OnEdited) OnEdited(this, item, s);
    if (!FOwnerData) item->SetCaption(s);
}

bool TCustomListView::IsEditing() const { return FEditor && FEditor->Active() && FEditIndex >= 0; }

bool TCustomListView::StartEdit(int Index)
{
    if (FEditor) FEditor->Finish(true);
    if (Index < 0 || Index >= FItems.Count()) return false;
    TListItem* item = FItems.Item(Index);
    if (!CanEdit(item)) return false;
    item->MakeVisible(false);
    if (!FEditor) {
        FEditor = new TInplaceEdit(this);
        FEditor->OnFinish = [this](bool accept, const String& text) {
            const int index = FEditIndex;
            FEditIndex = -1;
            if (index >= 0) Edit(index, !accept, text);
        };
    }
    FEditIndex = Index;
    item = FItems.Item(Index);  // filled again after scrolling
    TRect r = item->DisplayRect(drLabel);
    r.Right = std::max(r.Right, r.Left + 60);
    FEditor->Start(r, item->Caption());
    return true;
}

TListItem* TCustomListView::Selected() const
{
    if (FFocused && FFocused->FSelected) return FFocused;
    for (TListItem* i : FItems.FItems)
        if (i && i->FSelected) return i;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* Item)
{
    if (!Item) {
        ClearSelection();
        return;
    }
    for (TListItem* i : FItems.FItems)
        if (i && i != Item && i->FSelected) i->SetSelected(false);
    Item->SetSelected(true);
    SetItemFocused(Item);
}

int TCustomListView::ItemIndex() const
{
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TCustomListView::SetItemIndex(int i)
{
    if (i < 0 || i >= FItems.Count())
        ClearSelection();
    else
        SetSelected(FItems.Item(i));
}

void TCustomListView::SetItemFocused(TListItem* Item)
{
    if (Item == FFocused) return;
    if (FFocused) InvalidateItem(FFocused);
    FFocused = Item;
    if (Item) InvalidateItem(Item);
}

int TCustomListView::SelCount() const
{
    return static_cast<int>(
        std::count_if(FItems.FItems.begin(), FItems.FItems.end(), [](TListItem* i) { return i && i->FSelected; }));
}

void TCustomListView::ClearSelection()
{
    for (TListItem* i : std::vector<TListItem*>(FItems.FItems))
        if (i && i->FSelected) i->SetSelected(false);
}

void TCustomListView::SelectAll()
{
    if (!FMultiSelect) return;
    for (int i = 0; i < FItems.Count(); ++i) FItems.Item(i)->SetSelected(true);
}

void TCustomListView::Change(TListItem* Item, TItemChange What)
{
    if (OnChange && !(ComponentState() & (csDestroying | csLoading))) OnChange(this, Item, What);
}

void TCustomListView::ItemSelectChanging(TListItem* Item, bool Sel)
{
    InvalidateItem(Item);
    if (ComponentState() & csDestroying) return;
    Change(Item, ctState);
    if (OnSelectItem) OnSelectItem(this, Item, Sel);
}

void TCustomListView::ItemDeleting(TListItem* Item)
{
    if (FEditIndex >= 0 && Item->Index() == FEditIndex) Perform(LVM_EDITLABELW, static_cast<WPARAM>(-1));
    if (Item->FSelected) {
        // The selection goes with the row; the program hears of it as of any other change.
        Item->FSelected = false;
        if (!(ComponentState() & csDestroying)) {
            Change(Item, ctState);
            if (OnSelectItem) OnSelectItem(this, Item, false);
        }
    }
    if (OnDeletion && !(ComponentState() & csDestroying)) OnDeletion(this, Item);
    if (FFocused == Item) FFocused = nullptr;
    if (FAnchorItem == Item) FAnchorItem = nullptr;
}

void TCustomListView::ItemChanged(TListItem* Item, TItemChange What)
{
    if (FFetching) return;
    if (What == ctText && FViewStyle != vsReport) {
        // A caption can widen every cell of the list styles.
        FCachedWidest = -1;
        ClampScroll();
        Invalidate();
    } else {
        InvalidateItem(Item);
    }
    Change(Item, What);
}

void TCustomListView::InvalidateItem(TListItem* Item)
{
    if (!FHandle || FItems.FUpdateCount > 0 || !Item || Item->FOwner != &FItems) return;
    TRect r = Item->DisplayRect(drBounds);
    RECT rr{0, r.Top, ClientWidth(), r.Bottom};
    if (FViewStyle != vsReport) rr = RECT{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(FHandle, &rr, FALSE);
}

void TCustomListView::ColumnsChanged()
{
    ClampScroll();
    Invalidate();
    if (FHeader) InvalidateRect(FHeader, nullptr, FALSE);
}

int TCustomListView::ColumnsWidth() const
{
    int w = 0;
    for (int i = 0; i < FColumns.Count(); ++i) w += FColumns.Items(i)->Width();
    return w;
}

int TCustomListView::RowHeight()
{
    if (FRowHeight > 0) return FRowHeight;
    if (FCachedRowHeight > 0) return FCachedRowHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    int h = std::max<int>(tm.tmHeight + 4, kCheckSize + 4);
    if (TCustomImageList* small = SmallImageList()) h = std::max(h, small->Height() + 2);
    FCachedRowHeight = h;
    return h;
}

int TCustomListView::HeaderHeight()
{
    if (FViewStyle != vsReport || !FShowColumnHeaders) return 0;
    return RowHeight() + 4;
}

TListItem* TCustomListView::TopItem() const
{
    int top = FTopIndex;
    if (FViewStyle != vsReport) {
        auto* self = const_cast<TCustomListView*>(this);
        const int per = self->CellsPerLine();
        top = FViewStyle == vsList ? FFirstColumn * per : FScrollY / std::max(1, self->CellSize().cy) * per;
    }
    return top < FItems.Count() ? FItems.Item(top) : nullptr;
}

int TCustomListView::VisibleRowCount()
{
    int h = ClientHeight() - HeaderHeight();
    if (FViewStyle == vsIcon || FViewStyle == vsSmallIcon) return std::max(0, h / std::max(1, CellSize().cy));
    return std::max(0, h / RowHeight());
}

void TCustomListView::ClampScroll()
{
    if (FViewStyle != vsReport) {
        ClampScrollOtherViews();
        UpdateScrollBars();
        return;
    }
    int rows = std::max(1, VisibleRowCount());
    int maxTop = std::max(0, FItems.Count() - rows);
    FTopIndex = std::clamp(FTopIndex, 0, maxTop);
    int maxX = std::max(0, ColumnsWidth() - ClientWidth());
    FScrollX = std::clamp(FScrollX, 0, maxX);
    UpdateScrollBars();
}

void TCustomListView::Scroll(int DX, int DY)
{
    if (FViewStyle != vsReport) {
        ScrollOtherViews(DX, DY);
        return;
    }
    FScrollX += DX;
    FTopIndex += DY / std::max(1, RowHeight());
    ClampScroll();
    Invalidate();
    if (FHeader) InvalidateRect(FHeader, nullptr, FALSE);
}

TListItem* TCustomListView::GetItemAt(int X, int Y)
{
    if (FViewStyle != vsReport) return GetItemAtOtherViews(X, Y);
    int y = Y - HeaderHeight();
    if (y < 0 || X < 0) return nullptr;
    int i = FTopIndex + y / RowHeight();
    if (i < 0 || i >= FItems.Count()) return nullptr;
    TListItem* item = FItems.Item(i);
    TRect b = item->DisplayRect(drBounds);
    if (X >= b.Right && FViewStyle == vsReport) return nullptr;
    return item;
}

int TCustomListView::ColumnAt(int X) const
{
    int x = -FScrollX;
    for (int i = 0; i < FColumns.Count(); ++i) {
        int w = FColumns.Items(i)->Width();
        if (X >= x && X < x + w) return i;
        x += w;
    }
    return -1;
}

// ---- painting ----

void TCustomListView::Paint()
{
    TCanvas* c = Canvas();
    TRect client = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(client);
    bool defaultDraw = true;
    if (OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
    if (!defaultDraw) return;
    if (FViewStyle != vsReport) {
        PaintOtherViews(client);
        return;
    }
    int hh = HeaderHeight();
    int rh = RowHeight();
    // Rows.
    for (int i = FTopIndex; i < FItems.Count(); ++i) {
        if (hh + (i - FTopIndex) * rh >= client.Bottom) break;  // before an owner-data item is fetched
        TListItem* item = FItems.Item(i);
        TRect r = item->DisplayRect(drBounds);
        TCustomDrawState st;
        if (item->FSelected) st.Include(cdsSelected);
        if (item == FFocused) st.Include(cdsFocused);
        if (item->FChecked) st.Include(cdsChecked);
        if (!FEnabled) st.Include(cdsDisabled);
        DrawItem(item, Rect(client.Left, r.Top, client.Right, r.Top + rh), st);
    }
    // Grid lines.
    if (FGridLines && FViewStyle == vsReport) {
        c->Brush()->SetColor(cl3DLight);
        int x = -FScrollX;
        for (int i = 0; i < FColumns.Count(); ++i) {
            x += FColumns.Items(i)->Width();
            c->FillRect(Rect(x - 1, hh, x, client.Bottom));
        }
        for (int y = hh + rh; y <= client.Bottom; y += rh) c->FillRect(Rect(client.Left, y - 1, client.Right, y));
    }
    // Header (drawn here only while no header window exists).
    if (hh > 0 && !FHeader) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(client.Left, 0, client.Right, hh));
        int x = -FScrollX;
        static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
        for (int i = 0; i < FColumns.Count(); ++i) {
            TListColumn* col = FColumns.Items(i);
            int w = col->Width();
            if (w > 0) {
                TRect hr = Rect(x, 0, x + w, hh);
                TRect inner = hr;
                DrawButtonEdge(c, inner, false);
                c->Font()->Assign(&FFont);
                DrawTextIn(c, col->Caption(), Rect(inner.Left + kTextPad - 2, inner.Top, inner.Right - 2, inner.Bottom),
                           kAlign[col->Alignment()] | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            }
            x += w;
        }
    }
}

void TCustomListView::DrawItem(TListItem* item, const TRect& R, TCustomDrawState st)
{
    TCanvas* c = Canvas();
    bool showSel = st.Contains(cdsSelected) && (Focused() || !FHideSelection);
    c->Font()->Assign(&FFont);
    c->Brush()->SetColor(FColor);
    if (showSel) {
        c->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
        c->Font()->SetColor(Focused() ? clHighlightText : clWindowText);
    }
    if (!FEnabled) c->Font()->SetColor(clGrayText);
    bool defaultDraw = true;
    if (OnCustomDrawItem) OnCustomDrawItem(this, item, st, defaultDraw);
    if (!defaultDraw) return;
    TColor rowBrush = c->Brush()->Color();
    TColor rowFont = c->Font()->Color();
    if (FViewStyle != vsReport) {
        DrawOtherViewItem(item, st, showSel || rowBrush != FColor, rowFont);
        return;
    }
    TRect sel = item->DisplayRect(drSelectBounds);
    if (showSel || rowBrush != FColor) {
        c->Brush()->SetColor(rowBrush);
        c->FillRect(Rect(sel.Left, R.Top, FRowSelect ? std::max<int>(sel.Right, R.Right) : sel.Right, R.Bottom));
    }
    if (FCheckboxes) {
        TRect ic = item->DisplayRect(drBounds);
        TRect box = Bounds(ic.Left + 2, R.Top + (R.Height() - kCheckSize) / 2, kCheckSize, kCheckSize);
        TRect inner = box;
        DrawSunkenEdge(c, inner);
        c->Brush()->SetColor(clWindow);
        c->FillRect(inner);
        if (item->FChecked) DrawCheckMark(c, inner, clWindowText);
    }
    TCustomImageList* small = SmallImageList();
    if (small && item->FImageIndex >= 0 && item->FImageIndex < small->Count()) {
        TRect lab = item->DisplayRect(drLabel);
        int ix = lab.Left - small->Width() - 2;
        small->Draw(c, ix, R.Top + (R.Height() - small->Height()) / 2, item->FImageIndex, FEnabled);
    }
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    int x = -FScrollX;
    int cols = std::max(1, FColumns.Count());
    for (int i = 0; i < cols; ++i) {
        int w = FColumns.Count() ? FColumns.Items(i)->Width() : ColumnsWidth();
        if (w > 0) {
            String text =
                i == 0 ? item->FCaption : (i - 1 < item->FSubItems.Count() ? item->FSubItems.Get(i - 1) : String());
            TRect cell = Rect(x, R.Top, x + w, R.Bottom);
            if (i == 0) cell.Left = item->DisplayRect(drLabel).Left;
            bool subDefault = true;
            if (i > 0 && OnCustomDrawSubItem) {
                c->Font()->SetColor(rowFont);
                OnCustomDrawSubItem(this, item, i, st, subDefault);
            }
            if (subDefault) {
                if (i > 0 && !FRowSelect)
                    c->Font()->SetColor(FEnabled ? FFont.Color() : clGrayText);
                else
                    c->Font()->SetColor(rowFont);
                UINT align = FColumns.Count() ? kAlign[FColumns.Items(i)->Alignment()] : DT_LEFT;
                DrawTextIn(c, text, Rect(cell.Left + kTextPad / 2, cell.Top, cell.Right - kTextPad / 2, cell.Bottom),
                           align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            }
        }
        x += w;
        if (FViewStyle != vsReport) break;
    }
    if (st.Contains(cdsFocused) && Focused())
        c->DrawFocusRect(Rect(sel.Left, R.Top, FRowSelect ? R.Right : sel.Right, R.Bottom));
}

// ---- input ----

bool TCustomListView::WantsKey(WORD Key) { return Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT; }

void TCustomListView::MoveFocus(int index, TShiftState Shift)
{
    if (FItems.Count() == 0) return;
    index = std::clamp(index, 0, FItems.Count() - 1);
    TListItem* item = FItems.Item(index);
    if (FMultiSelect && Shift.Contains(ssShift) && FAnchorItem) {
        int a = FAnchorItem->Index(), lo = std::min(a, index), hi = std::max(a, index);
        for (int i = 0; i < FItems.Count(); ++i) {
            if (i >= lo && i <= hi)
                FItems.Item(i)->SetSelected(true);
            else if (TListItem* other = FItems.FItems[static_cast<size_t>(i)])
                other->SetSelected(false);
        }
    } else if (FMultiSelect && Shift.Contains(ssCtrl)) {
        // Ctrl moves the focus alone.
    } else {
        SetSelected(item);
        FAnchorItem = item;
    }
    SetItemFocused(item);
    item->MakeVisible(false);
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The second press of a double click finds the focus where the first press put it, or where
    // the double-click handler has just moved it (an edit box over a row): it stays there.
    if (CanFocus() && !Focused() && !Shift.Contains(ssDouble)) SetFocus();
    if (Y < HeaderHeight()) {
        int col = ColumnAt(X);
        if (col >= 0 && Button == mbLeft) ColumnClick(col);
        FControlState.Exclude(csClicked);
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    TListItem* item = GetItemAt(X, Y);
    if (item && FCheckboxes && Button == mbLeft && !Shift.Contains(ssDouble)) {
        TRect b = item->DisplayRect(drBounds);
        bool onBox = X >= b.Left && X < b.Left + kCheckSize + 4;  // the report's column of boxes
        if (FViewStyle != vsReport) {
            b = CheckBoxRect(item->Index());
            onBox = X >= b.Left && X < b.Right && Y >= b.Top && Y < b.Bottom;
        }
        if (onBox) item->SetChecked(!item->FChecked);
    }
    if (item) {
        if (Shift.Contains(ssCtrl) && Button == mbLeft && (FMultiSelect || item->FSelected)) {
            // Ctrl+click toggles the row; with single selection it can only take the row's
            // selection away (selecting goes through a plain click).
            item->SetSelected(!item->FSelected);
            FAnchorItem = item;
            SetItemFocused(item);
        } else if (!(Button == mbRight && item->FSelected)) {
            MoveFocus(item->Index(), Shift);
        }
    } else if (Button == mbLeft && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) {
        // A click on the empty area below the rows clears the selection.
        ClearSelection();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SIZE:
        TCustomControl::Dispatch(m);
        ClampScroll();
        UpdateHeader();
        Invalidate();
        return;
    case CM_FONTCHANGED:
        FCachedRowHeight = FCachedLineHeight = 0;
        FCachedWidest = -1;
        UpdateHeader();
        ClampScroll();
        break;
    case WM_VSCROLL: ScrollMessage(m, true); return;
    case WM_HSCROLL: ScrollMessage(m, false); return;
    case LVM_GETHEADER: m.Result = reinterpret_cast<LRESULT>(FHeader); return;
    case LVM_GETIMAGELIST:
        m.Result = m.WParam > LVSIL_STATE ? 0 : reinterpret_cast<LRESULT>(FLists[m.WParam]);
        return;
    case LVM_SETIMAGELIST:
        if (m.WParam > LVSIL_STATE) return;
        m.Result = reinterpret_cast<LRESULT>(FLists[m.WParam]);
        FLists[m.WParam] = reinterpret_cast<HIMAGELIST>(m.LParam);
        FCachedRowHeight = 0;
        FCachedWidest = -1;
        ClampScroll();
        Invalidate();
        return;
    case LVM_EDITLABELW:
        if (static_cast<int>(m.WParam) < 0) {
            if (FEditor) FEditor->Finish(false);
            m.Result = 0;
        } else {
            m.Result = StartEdit(static_cast<int>(m.WParam)) ? reinterpret_cast<LRESULT>(FEditor->Handle()) : 0;
        }
        return;
    case WM_CHAR:
        if (DoKeyPress(m)) return;
        if (m.WParam >= 32 && m.WParam != 127) TypeAhead(static_cast<wchar_t>(m.WParam));
        m.Result = 0;
        return;
    case WM_MOUSEWHEEL: {
        bool handled = false;
        if (OnMouseWheel) {
            TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            OnMouseWheel(this, KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), p, handled);
        }
        if (!handled && FViewStyle == vsList) {
            // The list style turns its columns, one a notch.
            FFirstColumn -= GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
            ClampScroll();
            Invalidate();
        } else if (!handled && FViewStyle != vsReport) {
            FScrollY -= WheelScrollLines(m.WParam) * std::max(1, CellSize().cy / 2);
            ClampScroll();
            Invalidate();
        } else if (!handled) {
            FTopIndex -= WheelScrollLines(m.WParam);
            ClampScroll();
            Invalidate();
        }
        m.Result = 1;
        return;
    }
    case WM_KEYDOWN: {
        if (DoKeyDown(m)) return;
        TShiftState shift = KeyDataToShiftState(m.LParam);
        int cur = FFocused ? FFocused->Index() : -1;
        int page = std::max(1, VisibleRowCount() - 1);
        if (FViewStyle != vsReport && (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP ||
                                       m.WParam == VK_DOWN || m.WParam == VK_NEXT || m.WParam == VK_PRIOR)) {
            const int target = KeyTarget(cur, static_cast<WORD>(m.WParam));
            if (target >= 0) MoveFocus(target, shift);
            return;
        }
        switch (m.WParam) {
        case VK_DOWN: MoveFocus(cur + 1, shift); return;
        case VK_UP: MoveFocus(cur < 0 ? 0 : cur - 1, shift); return;
        case VK_HOME: MoveFocus(0, shift); return;
        case VK_END: MoveFocus(FItems.Count() - 1, shift); return;
        case VK_NEXT: MoveFocus(cur + page, shift); return;
        case VK_PRIOR: MoveFocus(cur - page, shift); return;
        case VK_LEFT: Scroll(-20, 0); return;
        case VK_RIGHT: Scroll(20, 0); return;
        case VK_SPACE:
            if (FFocused) {
                if (FCheckboxes)
                    FFocused->SetChecked(!FFocused->FChecked);
                else if (FMultiSelect && shift.Contains(ssCtrl))
                    FFocused->SetSelected(!FFocused->FSelected);
            }
            return;
        case 'A':
            if (shift.Contains(ssCtrl)) SelectAll();
            return;
        default: DefaultHandler(m); return;
        }
    }
    default: break;
    }
    TCustomControl::Dispatch(m);
}
