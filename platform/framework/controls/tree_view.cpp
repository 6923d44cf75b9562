#include "platform/framework/controls/tree_view.h"

#include <algorithm>

#include "platform/framework/controls/inplace_edit.h"
#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/scrolling.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/graphics/image_list.h"

// ---- TTreeNode ----

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent) : FOwner(AOwner), FParent(AParent) {}

TTreeNode::~TTreeNode()
{
    for (TTreeNode* c : FChildren) delete c;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->FOwner : nullptr; }

TTreeNode* TTreeNode::Item(int i) const
{
    if (i < 0 || i >= Count()) throw EListError(L"Tree node index out of bounds (" + std::to_wstring(i) + L")");
    return FChildren[static_cast<size_t>(i)];
}

int TTreeNode::Index() const
{
    const auto& sib = FParent ? FParent->FChildren : FOwner->FRoots;
    auto it = std::find(sib.begin(), sib.end(), this);
    return it == sib.end() ? -1 : static_cast<int>(it - sib.begin());
}

int TTreeNode::Level() const
{
    int l = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent) ++l;
    return l;
}

int TTreeNode::AbsoluteIndex() const
{
    int i = 0;
    for (const TTreeNode* n = FOwner->GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this) return i;
    return -1;
}

void TTreeNode::SetHasChildren(bool v)
{
    FHasChildren = v;
    if (TCustomTreeView* tv = TreeView()) tv->TreeChanged();
}

void TTreeNode::SetExpanded(bool v)
{
    if (v == FExpanded) return;
    TCustomTreeView* tv = TreeView();
    if (v) {
        if (tv && !tv->CanExpand(this)) return;
        FExpanded = true;
        if (tv) {
            tv->TreeChanged();
            if (tv->OnExpanded) tv->OnExpanded(tv, this);
        }
    } else {
        if (tv && !tv->CanCollapse(this)) return;
        FExpanded = false;
        // A selection hidden by the collapse moves to this node.
        if (tv && tv->FSelected && tv->FSelected != this) {
            for (TTreeNode* p = tv->FSelected->FParent; p; p = p->FParent)
                if (p == this) {
                    tv->SetSelected(this);
                    break;
                }
        }
        if (tv) {
            tv->TreeChanged();
            if (tv->OnCollapsed) tv->OnCollapsed(tv, this);
        }
    }
}

void TTreeNode::Expand(bool Recurse)
{
    SetExpanded(true);
    if (Recurse)
        for (TTreeNode* c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    if (Recurse)
        for (TTreeNode* c : FChildren) c->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::IsVisible() const
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) return false;
    return true;
}

void TTreeNode::SetText(const String& v)
{
    if (v == FText) return;
    FText = v;
    if (TCustomTreeView* tv = TreeView()) tv->TreeChanged();
}

void TTreeNode::SetImageIndex(int v)
{
    FImageIndex = v;
    if (TCustomTreeView* tv = TreeView(); tv && !tv->FAskingImages) tv->TreeChanged();
}

void TTreeNode::SetSelectedIndex(int v)
{
    FSelectedIndex = v;
    if (TCustomTreeView* tv = TreeView(); tv && !tv->FAskingImages) tv->TreeChanged();
}

void TTreeNode::SetStateIndex(int v)
{
    FStateIndex = v;
    if (TCustomTreeView* tv = TreeView()) tv->TreeChanged();
}

bool TTreeNode::Selected() const
{
    TCustomTreeView* tv = TreeView();
    return tv && tv->FSelected == this;
}

void TTreeNode::SetSelected(bool v)
{
    TCustomTreeView* tv = TreeView();
    if (!tv) return;
    if (v)
        tv->SetSelected(this);
    else if (tv->FSelected == this)
        tv->SetSelected(nullptr);
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& sib = FParent ? FParent->FChildren : FOwner->FRoots;
    int i = Index();
    return i >= 0 && i + 1 < static_cast<int>(sib.size()) ? sib[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    const auto& sib = FParent ? FParent->FChildren : FOwner->FRoots;
    int i = Index();
    return i > 0 ? sib[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty()) return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* p = GetPrevSibling();
    if (!p) return FParent;
    while (!p->FChildren.empty()) p = p->FChildren.back();
    return p;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    if (FExpanded && !FChildren.empty()) return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    TTreeNode* p = GetPrevSibling();
    if (!p) return FParent;
    while (p->FExpanded && !p->FChildren.empty()) p = p->FChildren.back();
    return p;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const
{
    TCustomTreeView* tv = TreeView();
    if (!tv) return TRect{};
    int row = tv->RowOf(this);
    if (row < 0) return TRect{};
    int ih = tv->ItemHeight();
    TRect r = Rect(0, row * ih, tv->ClientWidth(), row * ih + ih);
    if (!TextOnly) return r;
    int level = Level() - (tv->FShowRoot ? 0 : 1);
    int left = (level + 1) * tv->FIndent - tv->FScrollX;
    if (TCustomImageList* images = tv->NormalImageList()) left += images->Width() + 2;
    int w = 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tv->Font()->Handle());
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, FText.c_str(), static_cast<int>(FText.size()), &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    w = sz.cx + 4;
    return Rect(left, r.Top, left + w, r.Bottom);
}

void TTreeNode::MakeVisible()
{
    // Outermost first, as a user would open them.
    std::vector<TTreeNode*> chain;
    for (TTreeNode* p = FParent; p; p = p->FParent) chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->SetExpanded(true);
    TCustomTreeView* tv = TreeView();
    if (!tv) return;
    int row = tv->RowOf(this);
    int rows = std::max(1, tv->VisibleCount());
    if (row < 0) {
        tv->SetTopItem(const_cast<TTreeNode*>(this));
    } else if (row >= rows) {
        TTreeNode* top = tv->FTop;
        for (int i = 0; i <= row - rows && top; ++i) top = top->GetNextVisible();
        tv->SetTopItem(top);
    }
}

void TTreeNode::Delete() { FOwner->Delete(this); }

bool TTreeNode::EditText()
{
    TCustomTreeView* tv = TreeView();
    if (!tv || !tv->CanEdit(this)) return false;
    tv->EndEditing(false);
    MakeVisible();
    if (!tv->FEditor) {
        tv->FEditor = new TInplaceEdit(tv);
        tv->FEditor->OnFinish = [tv](bool accept, const String& text) {
            TTreeNode* node = tv->FEditNode;
            tv->FEditNode = nullptr;
            if (node) tv->Edit(node, !accept, text);
        };
    }
    tv->FEditNode = this;
    TRect r = DisplayRect(true);
    r.Right = std::max(r.Right + 16, r.Left + 60);
    tv->FEditor->Start(r, FText);
    return true;
}

bool TTreeNode::CustomSort(const TTVCompare& Compare)
{
    if (FChildren.empty() || !Compare) return false;
    std::stable_sort(FChildren.begin(), FChildren.end(), [&](TTreeNode* a, TTreeNode* b) { return Compare(a, b) < 0; });
    if (TCustomTreeView* tv = TreeView()) tv->TreeChanged();
    return true;
}

void TTreeNode::DeleteChildren()
{
    while (!FChildren.empty()) FOwner->Delete(FChildren.back());
}

// ---- TTreeNodes ----

TTreeNodes::~TTreeNodes()
{
    for (TTreeNode* n : FRoots) delete n;
}

int TTreeNodes::Count() const
{
    int c = 0;
    for (const TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++c;
    return c;
}

TTreeNode* TTreeNodes::Item(int i) const
{
    int k = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext(), ++k)
        if (k == i) return n;
    throw EListError(L"Tree node index out of bounds (" + std::to_wstring(i) + L")");
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, size_t pos, const String& s)
{
    auto& sib = SiblingsOf(parent);
    auto* n = new TTreeNode(this, parent);
    n->FText = s;
    sib.insert(sib.begin() + static_cast<long>(std::min(pos, sib.size())), n);
    if (FOwner) {
        if (!FOwner->FTop) FOwner->FTop = GetFirstNode();
        FOwner->TreeChanged();
    }
    return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S)
{
    TTreeNode* parent = Sibling ? Sibling->FParent : nullptr;
    return InsertAt(parent, SiblingsOf(parent).size(), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S)
{
    return InsertAt(Sibling ? Sibling->FParent : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S)
{
    return InsertAt(Parent, SiblingsOf(Parent).size(), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InsertAt(Parent, 0, S); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S)
{
    if (!Sibling) return Add(nullptr, S);
    return InsertAt(Sibling->FParent, static_cast<size_t>(Sibling->Index()), S);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node) return;
    while (!Node->FChildren.empty()) Delete(Node->FChildren.back());
    if (FOwner) FOwner->NodeDeleting(Node);
    auto& sib = SiblingsOf(Node->FParent);
    sib.erase(std::remove(sib.begin(), sib.end(), Node), sib.end());
    delete Node;
    if (FOwner) FOwner->TreeChanged();
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!FRoots.empty()) Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0 && FOwner) FOwner->TreeChanged();
}

// ---- TCustomTreeView ----

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TCustomControl(AOwner), FNodes(this)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
}

TCustomTreeView::~TCustomTreeView()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    OnDeletion = nullptr;
}

void TCustomTreeView::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style |= WS_VSCROLL | WS_HSCROLL;
}

void TCustomTreeView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

int TCustomTreeView::TopRow() const
{
    int row = 0;
    for (TTreeNode* n = FTop ? FTop->GetPrevVisible() : nullptr; n; n = n->GetPrevVisible()) ++row;
    return row;
}

void TCustomTreeView::UpdateScrollBars()
{
    if (!FHandle || FInScrollUpdate || FNodes.FUpdateCount > 0) return;
    FInScrollUpdate = true;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(0, VisibleNodeCount() - 1);
    si.nPage = static_cast<UINT>(std::max(1, VisibleCount()));
    si.nPos = TopRow();
    SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
    SCROLLINFO h;
    h.fMask = SIF_ALL;
    h.nMin = 0;
    h.nMax = std::max(0, ContentWidth() - 1);
    h.nPage = static_cast<UINT>(std::max(1, ClientWidth()));
    h.nPos = FScrollX;
    SetScrollInfo(FHandle, SB_HORZ, &h, TRUE);
    FInScrollUpdate = false;
}

int TCustomTreeView::ContentWidth()
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    int imageW = FImages ? FImages->Width() + 2 : 0;
    int widest = 0;
    for (TTreeNode* n = FNodes.GetFirstNode(); n; n = n->GetNextVisible()) {
        SIZE sz{0, 0};
        GetTextExtentPoint32W(dc, n->FText.c_str(), static_cast<int>(n->FText.size()), &sz);
        int level = n->Level() - (FShowRoot ? 0 : 1);
        widest = std::max(widest, (level + 1) * FIndent + imageW + sz.cx + 4);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return widest;
}

void TCustomTreeView::TreeChanged()
{
    if (FNodes.FUpdateCount > 0) return;
    ClampTop();
    Invalidate();
}

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
    bool allow = true;
    if (OnChanging && !(ComponentState() & csDestroying)) OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node)
{
    if (OnChange && !(ComponentState() & (csDestroying | csLoading))) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
    bool allow = true;
    if (OnExpanding) OnExpanding(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanEdit(TTreeNode* Node)
{
    bool allow = !FReadOnly && Node;
    if (allow && OnEditing) OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, bool Cancelled, const String& Text)
{
    if (Cancelled) return;
    String s = Text;
    if (OnEdited) OnEdited(this, Node, s);
    Node->SetText(s);
}

bool TCustomTreeView::IsEditing() const { return FEditor && FEditor->Active() && FEditNode; }

void TCustomTreeView::EndEditing(bool Cancel)
{
    if (FEditor) FEditor->Finish(!Cancel);
}

bool TCustomTreeView::CustomSort(const TTVCompare& Compare)
{
    if (FNodes.FRoots.empty() || !Compare) return false;
    std::stable_sort(FNodes.FRoots.begin(), FNodes.FRoots.end(),
                     [&](TTreeNode* a, TTreeNode* b) { return Compare(a, b) < 0; });
    TreeChanged();
    return true;
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node)
{
    if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node)
{
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::SetSelected(TTreeNode* Node)
{
    if (Node == FSelected) return;
    if (!CanChange(Node)) return;
    FSelected = Node;
    if (Node) Node->MakeVisible();
    Invalidate();
    Change(Node);
}

void TCustomTreeView::NodeDeleting(TTreeNode* Node)
{
    if (FEditNode == Node) {
        // The node goes: its editing ends without a word.
        FEditNode = nullptr;
        if (FEditor) FEditor->Finish(false);
    }
    if (OnDeletion && !(ComponentState() & csDestroying)) OnDeletion(this, Node);
    if (FTop == Node) FTop = Node->GetPrevVisible() ? Node->GetPrevVisible() : Node->GetNextSibling();
    if (FSelected == Node) {
        FSelected = nullptr;
        if (!(ComponentState() & csDestroying)) Change(nullptr);
    }
}

void TCustomTreeView::SetIndent(int v) { SetAndInvalidate(FIndent, std::max(0, v)); }

void TCustomTreeView::SetShowRoot(bool v) { SetAndInvalidate(FShowRoot, v); }

void TCustomTreeView::SetShowLines(bool v) { SetAndInvalidate(FShowLines, v); }

void TCustomTreeView::SetShowButtons(bool v) { SetAndInvalidate(FShowButtons, v); }

void TCustomTreeView::SetHideSelection(bool v) { SetAndInvalidate(FHideSelection, v); }

void TCustomTreeView::SetImages(TCustomImageList* v)
{
    FImages = v;
    Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TCustomTreeView::SetStateImages(TCustomImageList* v)
{
    FStateImages = v;
    Perform(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

TCustomImageList* TCustomTreeView::NormalImageList() const { return TCustomImageList::FromHandle(FNormalList); }

int TCustomTreeView::ItemHeight()
{
    if (FCachedItemHeight > 0) return FCachedItemHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    int h = tm.tmHeight + 3;
    if (TCustomImageList* images = NormalImageList()) h = std::max(h, images->Height() + 1);
    FCachedItemHeight = std::max(h, 16);
    return FCachedItemHeight;
}

int TCustomTreeView::RowOf(const TTreeNode* Node) const
{
    if (!Node || !Node->IsVisible()) return -1;
    // Rows count from the top node; nodes above it have negative rows.
    int row = 0;
    for (TTreeNode* n = FTop; n; n = n->GetNextVisible(), ++row)
        if (n == Node) return row;
    row = -1;
    for (TTreeNode* n = FTop ? FTop->GetPrevVisible() : nullptr; n; n = n->GetPrevVisible(), --row)
        if (n == Node) return row;
    return -1;
}

int TCustomTreeView::VisibleCount() { return std::max(0, ClientHeight() / ItemHeight()); }

int TCustomTreeView::VisibleNodeCount() const
{
    int c = 0;
    for (TTreeNode* n = FNodes.GetFirstNode(); n; n = n->GetNextVisible()) ++c;
    return c;
}

void TCustomTreeView::ClampTop()
{
    if (!FTop || !FTop->IsVisible()) {
        // The top node went out of sight: its nearest visible ancestor takes its place.
        TTreeNode* t = FTop;
        while (t && !t->IsVisible()) t = t->FParent;
        FTop = t ? t : FNodes.GetFirstNode();
    }
    FScrollX = std::clamp(FScrollX, 0, std::max(0, ContentWidth() - ClientWidth()));
    // No empty rows at the end while earlier rows are hidden.
    int rows = std::max(1, VisibleCount());
    int after = 0;
    for (TTreeNode* n = FTop; n; n = n->GetNextVisible()) ++after;
    while (FTop && after < rows && FTop->GetPrevVisible()) {
        FTop = FTop->GetPrevVisible();
        ++after;
    }
    UpdateScrollBars();
}

void TCustomTreeView::SetTopItem(TTreeNode* Node)
{
    FTop = Node;
    ClampTop();
    Invalidate();
}

TTreeNode* TCustomTreeView::GetNodeAt(int, int Y)
{
    if (Y < 0) return nullptr;
    int row = Y / ItemHeight();
    TTreeNode* n = FTop;
    for (int i = 0; n && i < row; ++i) n = n->GetNextVisible();
    return n;
}

void TCustomTreeView::FullExpand()
{
    FNodes.BeginUpdate();
    for (TTreeNode* n = FNodes.GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
    FNodes.EndUpdate();
}

void TCustomTreeView::FullCollapse()
{
    FNodes.BeginUpdate();
    for (TTreeNode* n = FNodes.GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
    FNodes.EndUpdate();
}

// ---- painting ----

void TCustomTreeView::Paint()
{
    TCanvas* c = Canvas();
    TRect client = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(client);
    int ih = ItemHeight();
    int y = 0;
    for (TTreeNode* n = FTop; n && y < client.Bottom; n = n->GetNextVisible(), y += ih)
        DrawNode(n, Rect(client.Left, y, client.Right, y + ih));
}

void TCustomTreeView::DrawNode(TTreeNode* n, const TRect& row)
{
    TCanvas* c = Canvas();
    TCustomDrawState st;
    bool selected = n == FSelected;
    if (selected) st.Include(cdsSelected);
    if (selected && Focused()) st.Include(cdsFocused);
    c->Font()->Assign(&FFont);
    c->Brush()->SetColor(FColor);
    bool paintImages = true, defaultDraw = true;
    if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, n, st, cdPrePaint, paintImages, defaultDraw);
    if (!defaultDraw) return;
    int level = n->Level() - (FShowRoot ? 0 : 1);
    int cx = level * FIndent + FIndent / 2 - FScrollX;
    int cy = (row.Top + row.Bottom) / 2;
    if (FShowLines && level >= 0) {
        c->Brush()->SetColor(clGray);
        int lineEnd = cx + FIndent / 2;
        for (int x = cx; x < lineEnd; x += 2) c->FillRect(Rect(x, cy, x + 1, cy + 1));
        if (n->GetPrevVisible() || n->FParent)
            for (int yy = row.Top + ((row.Top & 1) ? 1 : 0); yy < cy; yy += 2)
                c->FillRect(Rect(cx, yy, cx + 1, yy + 1));
        if (n->GetNextSibling())
            for (int yy = cy; yy < row.Bottom; yy += 2) c->FillRect(Rect(cx, yy, cx + 1, yy + 1));
        // Lines of the ancestors that continue below.
        int l = level - 1;
        for (TTreeNode* p = n->FParent; p && l >= 0; p = p->FParent, --l)
            if (p->GetNextSibling()) {
                int px = l * FIndent + FIndent / 2 - FScrollX;
                for (int yy = row.Top; yy < row.Bottom; yy += 2) c->FillRect(Rect(px, yy, px + 1, yy + 1));
            }
    }
    if (FShowButtons && n->HasChildren() && level >= 0) {
        TRect box = Rect(cx - 4, cy - 4, cx + 5, cy + 5);
        c->Brush()->SetColor(clWindow);
        c->FillRect(box);
        c->Brush()->SetColor(clGray);
        c->FrameRect(box);
        c->Brush()->SetColor(clWindowText);
        c->FillRect(Rect(cx - 2, cy, cx + 3, cy + 1));
        if (!n->FExpanded) c->FillRect(Rect(cx, cy - 2, cx + 1, cy + 3));
    }
    TRect text = n->DisplayRect(true);
    TCustomImageList* images = NormalImageList();
    if (paintImages && images) {
        FAskingImages = true;
        try {
            GetImageIndex(n);
            GetSelectedIndex(n);
        } catch (...) {
            FAskingImages = false;
            throw;
        }
        FAskingImages = false;
        int index = selected && n->FSelectedIndex >= 0 ? n->FSelectedIndex : n->FImageIndex;
        if (index >= 0 && index < images->Count())
            images->Draw(c, text.Left - images->Width() - 2, row.Top + (row.Height() - images->Height()) / 2, index,
                         FEnabled);
    }
    bool showSel = selected && (Focused() || !FHideSelection);
    TColor fontColor = c->Font()->Color();
    if (showSel) {
        c->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
        c->FillRect(text);
        fontColor = Focused() ? clHighlightText : clWindowText;
    }
    c->Font()->SetColor(FEnabled ? fontColor : clGrayText);
    DrawTextIn(c, n->FText, Rect(text.Left + 2, text.Top, text.Right, text.Bottom),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && Focused()) c->DrawFocusRect(text);
    if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, n, st, cdPostPaint, paintImages, defaultDraw);
}

// ---- input ----

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    TTreeNode* n = GetNodeAt(X, Y);
    if (n) {
        int level = n->Level() - (FShowRoot ? 0 : 1);
        int cx = level * FIndent + FIndent / 2 - FScrollX;
        bool onButton = FShowButtons && n->HasChildren() && X >= cx - 6 && X <= cx + 6;
        if (Button == mbLeft && onButton && !Shift.Contains(ssDouble)) {
            n->SetExpanded(!n->FExpanded);
        } else if (Button == mbLeft || (Button == mbRight && FRightClickSelect)) {
            SetSelected(n);
            if (Button == mbLeft && Shift.Contains(ssDouble) && n->HasChildren()) n->SetExpanded(!n->FExpanded);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_FONTCHANGED: FCachedItemHeight = 0; break;
    case TVM_GETIMAGELIST:
        m.Result = reinterpret_cast<LRESULT>(m.WParam == TVSIL_STATE ? FStateList : FNormalList);
        return;
    case TVM_SETIMAGELIST: {
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(m.LParam);
        HIMAGELIST& slot = m.WParam == TVSIL_STATE ? FStateList : FNormalList;
        m.Result = reinterpret_cast<LRESULT>(slot);
        slot = list;
        FCachedItemHeight = 0;
        TreeChanged();
        return;
    }
    case WM_VSCROLL: {
        int row;
        if (!ScrollBarTarget(m.WParam, TopRow(), 1, std::max(1, VisibleCount()), VisibleNodeCount(), row)) return;
        TTreeNode* n = FNodes.GetFirstNode();
        for (int i = 0; n && i < row && n->GetNextVisible(); ++i) n = n->GetNextVisible();
        SetTopItem(n);
        m.Result = 0;
        return;
    }
    case WM_HSCROLL: {
        int x;
        int last = std::max(0, ContentWidth() - ClientWidth());
        if (!ScrollBarTarget(m.WParam, FScrollX, 10, std::max(1, ClientWidth()), last, x)) return;
        FScrollX = std::clamp(x, 0, last);
        UpdateScrollBars();
        Invalidate();
        m.Result = 0;
        return;
    }
    case WM_SIZE:
        TCustomControl::Dispatch(m);
        ClampTop();
        Invalidate();
        return;
    case WM_MOUSEWHEEL: {
        int steps = WheelScrollLines(m.WParam);
        TTreeNode* t = FTop;
        for (int i = 0; t && i < std::abs(steps); ++i) {
            TTreeNode* next = steps > 0 ? t->GetPrevVisible() : t->GetNextVisible();
            if (next) t = next;
        }
        SetTopItem(t);
        m.Result = 1;
        return;
    }
    case WM_KEYDOWN: {
        if (DoKeyDown(m)) return;
        TTreeNode* s = FSelected;
        switch (m.WParam) {
        case VK_DOWN: SetSelected(s ? (s->GetNextVisible() ? s->GetNextVisible() : s) : FNodes.GetFirstNode()); return;
        case VK_UP:
            if (s && s->GetPrevVisible()) SetSelected(s->GetPrevVisible());
            return;
        case VK_RIGHT:
            if (s && s->HasChildren()) {
                if (!s->FExpanded)
                    s->SetExpanded(true);
                else if (s->GetFirstChild())
                    SetSelected(s->GetFirstChild());
            }
            return;
        case VK_LEFT:
            if (s) {
                if (s->FExpanded)
                    s->SetExpanded(false);
                else if (s->FParent)
                    SetSelected(s->FParent);
            }
            return;
        case VK_HOME: SetSelected(FNodes.GetFirstNode()); return;
        case VK_END: {
            TTreeNode* n = FNodes.GetFirstNode();
            while (n && n->GetNextVisible()) n = n->GetNextVisible();
            SetSelected(n);
            return;
        }
        case 0x6B:  // the keypad plus
            if (s) s->SetExpanded(true);
            return;
        case 0x6D:  // the keypad minus
            if (s) s->SetExpanded(false);
            return;
        default: DefaultHandler(m); return;
        }
    }
    default: break;
    }
    TCustomControl::Dispatch(m);
}
