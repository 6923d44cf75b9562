// TCustomTreeView / TTreeView with TTreeNodes and TTreeNode: a tree of text nodes with images,
// expanding and collapsing (buttons, keys, double clicks), selection with OnChanging/OnChange,
// connector lines, scrolling, in-place editing of a node's text, sorting a node's children by a
// compare routine, images asked for as nodes are drawn, and the advanced custom-draw hook the
// skinned tree paints through. Plain look; the shell folder tree of the skinned dialogs derives
// from it. The image list drawn is the one TVM_SETIMAGELIST set (Images sets it too).
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/controls/custom_control.h"

class TCustomTreeView;
class TTreeNodes;
class TTreeNode;
class TCustomImageList;
class TInplaceEdit;
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

// wParam TVSIL_*; answers the list TVM_SETIMAGELIST set there.
constexpr UINT TVM_GETIMAGELIST = 0x1100 + 8;

// Negative when A goes before B.
using TTVCompare = std::function<int(TTreeNode* A, TTreeNode* B)>;

class TTreeNode : public TPersistent {
    friend class TTreeNodes;
    friend class TCustomTreeView;

public:
    TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent);
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FChildren.size()); }
    TTreeNode* Item(int i) const;
    int Index() const;
    int Level() const;
    int AbsoluteIndex() const;
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool v);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool v);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool IsVisible() const;  // every parent expanded
    const String& Text() const { return FText; }
    void SetText(const String& v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int v);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);
    void* Data() const { return FData; }
    void SetData(void* v) { FData = v; }
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const { return Selected(); }

    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // Depth-first order through every node.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // The next and previous node a user sees (inside expanded parents).
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    // Row rectangle, or with TextOnly the text's rectangle, in client coordinates.
    TRect DisplayRect(bool TextOnly) const;
    void MakeVisible();
    void Delete();
    void DeleteChildren();
    // Starts editing the node's text in place; false when the tree refuses (read-only,
    // OnEditing).
    bool EditText();
    // Orders the children by Compare (a stable sort); false without children.
    bool CustomSort(const TTVCompare& Compare);

private:
    TTreeNodes* FOwner;
    TTreeNode* FParent;
    std::vector<TTreeNode*> FChildren;
    String FText;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    int FStateIndex = -1;
    bool FExpanded = false;
    bool FHasChildren = false;
    void* FData = nullptr;
};

class TTreeNodes : public TPersistent {
    friend class TTreeNode;
    friend class TCustomTreeView;

public:
    explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
    ~TTreeNodes() override;
    TCustomTreeView* Owner() const { return FOwner; }
    // Every node, depth first.
    int Count() const;
    TTreeNode* Item(int AbsoluteIndex) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    // A new last sibling of Sibling (a root when Sibling is nullptr).
    TTreeNode* Add(TTreeNode* Sibling, const String& S);
    TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
    TTreeNode* AddChild(TTreeNode* Parent, const String& S);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
    TTreeNode* Insert(TTreeNode* Sibling, const String& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }
    TTreeNode* InsertAt(TTreeNode* parent, size_t pos, const String& s);
    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    int FUpdateCount = 0;
};

enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                       bool& PaintImages, bool& DefaultDraw)>;

class TCustomTreeView : public TCustomControl {
    friend class TTreeNode;
    friend class TTreeNodes;

public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;
    TTreeNodes* Items() { return &FNodes; }
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* Node);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool v);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool v);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    // The image list component; setting it sets the normal image list drawn (TVM_SETIMAGELIST).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    // The normal image list drawn, as TVM_SETIMAGELIST last set it; nullptr for none.
    TCustomImageList* NormalImageList() const;
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* v);
    int ItemHeight();
    TTreeNode* TopItem() const { return FTop; }
    void SetTopItem(TTreeNode* Node);
    // Rows that fit wholly in the client area.
    int VisibleCount();
    // Nodes a user can see when scrolled (inside expanded parents).
    int VisibleNodeCount() const;
    TTreeNode* GetNodeAt(int X, int Y);
    void FullExpand();
    void FullCollapse();
    // The roots in Compare's order; false without nodes.
    bool CustomSort(const TTVCompare& Compare);

    // In-place editing: a node's text in an edit over it; Enter keeps the text, Escape drops it.
    bool IsEditing() const;
    TTreeNode* EditingNode() const { return IsEditing() ? FEditNode : nullptr; }
    void EndEditing(bool Cancel = false);
    // A right click selects the node under the mouse (else the selection stays).
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool v) { FRightClickSelect = v; }

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandingEvent OnCollapsing;
    TTVChangedEvent OnExpanded;
    TTVChangedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
    TTVEditingEvent OnEditing;
    // The edited text, which the handler may change before the node takes it.
    TTVEditedEvent OnEdited;
    // Asked each time a node is drawn with images: the handler may set its image indexes.
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;

protected:
    virtual void Change(TTreeNode* Node);
    virtual bool CanChange(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    // Editing ended: unless Cancelled, OnEdited may change Text, then the node takes it.
    virtual void Edit(TTreeNode* Node, bool Cancelled, const String& Text);
    // The node's image indexes, asked as it is drawn (OnGetImageIndex, OnGetSelectedIndex).
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    void Paint() override;
    virtual void DrawNode(TTreeNode* Node, const TRect& Row);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override { return Key >= VK_LEFT && Key <= VK_DOWN; }
    // A node is about to go (its children have gone already); views that own node data free it here.
    virtual void NodeDeleting(TTreeNode* Node);
    void TreeChanged();
    int RowOf(const TTreeNode* Node) const;  // visible row index, -1 when hidden
    void ClampTop();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // Hands the rows' range and the top row to the vertical scroll bar, the widest row and the
    // horizontal offset to the horizontal one.
    void UpdateScrollBars();
    int TopRow() const;  // visible nodes above the top one
    // The widest visible row in pixels (indent, image and text), unscrolled.
    int ContentWidth();
    bool FInScrollUpdate = false;

    TTreeNodes FNodes;
    TTreeNode* FSelected = nullptr;
    TTreeNode* FTop = nullptr;
    int FIndent = 19;
    bool FShowRoot = true;
    bool FShowLines = true;
    bool FShowButtons = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    HIMAGELIST FNormalList = nullptr;  // the lists TVM_SETIMAGELIST set
    HIMAGELIST FStateList = nullptr;
    bool FRightClickSelect = false;
    bool FAskingImages = false;  // a node's images are being asked for: its index changes are no news
    TInplaceEdit* FEditor = nullptr;
    TTreeNode* FEditNode = nullptr;
    int FScrollX = 0;
    int FCachedItemHeight = 0;  // from the font; 0 = measure again
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
