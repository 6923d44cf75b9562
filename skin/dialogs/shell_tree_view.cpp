// The shell folder tree. See shell_tree_view.h.
#include "skin/dialogs/shell_tree_view.h"

#include <memory>

#include "platform/framework/core/files.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/graphics/system_image_list.h"
#include "platform/win/shell_api.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"

namespace {

// The hourglass and the tree's updates suspended for a scope.
class TBusyScope {
public:
    explicit TBusyScope(TTreeNodes* Nodes) : FNodes(Nodes), FCursor(Screen->Cursor())
    {
        Screen->SetCursor(crHourGlass);
        FNodes->BeginUpdate();
    }
    ~TBusyScope()
    {
        FNodes->EndUpdate();
        Screen->SetCursor(FCursor);
    }

private:
    TTreeNodes* FNodes;
    TCursor FCursor;
};

}  // namespace

TbsCustomShellTreeView::TbsCustomShellTreeView(TComponent* AOwner) : TbsSkinCustomTreeView(AOwner)
{
    SetShowRoot(false);
    SetRightClickSelect(true);
    SetHideSelection(false);
    FImages = SystemImageList(false)->Handle();
    // No callback yet, so no watch thread.
    FNotifier = new TbsShellChangeNotifier(this);
}

TbsCustomShellTreeView::~TbsCustomShellTreeView()
{
    delete FNotifier;
    FNotifier = nullptr;
    ClearNodes();
    delete FRootFolder;
    FRootFolder = nullptr;
}

// ---- properties ----

void TbsCustomShellTreeView::SetRoot(const TRoot& Value)
{
    if (SameText(Value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = Value;
    ReloadRoot();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    ReloadRoot();
}

void TbsCustomShellTreeView::ReloadRoot()
{
    if (FUpdating) return;
    TFlagScope updating(FUpdating);
    LoadRootNode();
    PassRootToPartners();
}

void TbsCustomShellTreeView::SetUseShellImages(bool Value)
{
    FUseShellImages = Value;
    ApplyImageList();
}

void TbsCustomShellTreeView::ApplyImageList()
{
    TFlagScope changing(FImageListChanging);
    HIMAGELIST list = Images() ? Images()->Handle() : FUseShellImages ? FImages : nullptr;
    Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

void TbsCustomShellTreeView::SetAutoRefresh(bool Value)
{
    FAutoRefresh = Value;
    if (Loading()) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value) return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    TbsShellFolder* watched = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder;
    if (watched) FNotifier->SetRoot(watched->PathName());
    FNotifier->SetOnChange([this] { RefreshSelectedNode(); });
}

void TbsCustomShellTreeView::RefreshSelectedNode()
{
    if (Selected()) Refresh(Selected());
}

String TbsCustomShellTreeView::Path() const
{
    TbsShellFolder* f = SelectedFolder();
    return f ? f->PathName() : String();
}

void TbsCustomShellTreeView::SetPath(const String& Value)
{
    FPath = Value;
    TIdListOwner id;
    if (DesktopFolderInterface()->ParseDisplayName(nullptr, Value.c_str(), nullptr, &id.p, nullptr) != S_OK)
        throw EInvalidPath(Format(L"Error setting path: \"%s\"", Value));
    SelectId(id.p);
    if (TTreeNode* node = Selected()) {
        node->Expand(false);
        CanChange(node);
    }
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() const { return NodeFolder(Selected()); }

TbsShellFolder* TbsCustomShellTreeView::FolderOfNode(int Index)
{
    return Items()->GetFirstNode() ? NodeFolder(Items()->Item(Index)) : nullptr;
}

void TbsCustomShellTreeView::ExpandMyComputer()
{
    TIdListOwner id;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &id.p));
    SelectId(id.p);
    if (Selected()) Selected()->Expand(false);
}

// ---- building ----

void TbsCustomShellTreeView::LoadRootNode()
{
    if (Loading()) return;
    String error;
    try {
        FRootFolder = ResolveRoot(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& e) {
        error = e.Message();
    }
    if (FRootFolder) {
        TFlagScope loading(FLoadingRoot);
        ClearNodes();
        LPCITEMIDLIST id = FRootFolder->AbsoluteID();
        auto* folder = new TbsShellFolder(nullptr, FRootFolder->ShellFolderRef(), id);
        TTreeNode* node = Items()->Add(nullptr, ItemDisplayName(DesktopFolderInterface().get(), id, SHGDN_NORMAL));
        node->SetData(folder);
        if (FUseShellImages && !Images()) {
            node->SetImageIndex(ShellIconIndex(id, false, false));
            node->SetSelectedIndex(ShellIconIndex(id, false, true));
        }
        node->SetHasChildren(folder->SubFolders());
        node->Expand(false);
        node->SetSelected(true);
    }
    if (!error.empty()) throw EInvalidPath(error);
}

void TbsCustomShellTreeView::FillFolderNode(TTreeNode* Node, TbsShellFolder* Folder)
{
    Node->SetData(Folder);
    Node->SetText(Folder->DisplayName());
    if (FUseShellImages && !Images()) {
        Node->SetImageIndex(Folder->ImageIndex(false));
        Node->SetSelectedIndex(ShellIconIndex(Folder->AbsoluteID(), false, true));
        if (Node->SelectedIndex() == 0) Node->SetSelectedIndex(Node->ImageIndex());
    }
    Node->SetHasChildren(Folder->SubFolders());
    if (FObjectTypes.Contains(otNonFolders) && Folder->ShellFolder())
        Node->SetHasChildren(FolderHasChildren(Folder->ShellFolder(), ObjectTypesToFlags(FObjectTypes)));
}

void TbsCustomShellTreeView::LoadChildNodes(TTreeNode* Node)
{
    TbsShellFolder* parent = NodeFolder(Node);
    if (!parent || !parent->ShellFolder()) return;
    TBusyScope busy(Items());
    try {
        std::unique_ptr<IEnumIDList> items;
        if (parent->ShellFolder()->EnumObjects(nullptr, ObjectTypesToFlags(FObjectTypes), &items) != S_OK || !items)
            return;
        LPITEMIDLIST id = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &id, &fetched) == S_OK && fetched == 1) {
            TIdListOwner owned{id};
            auto* folder = new TbsShellFolder(parent, BindShellFolder(parent->ShellFolder(), id, nullptr), id);
            TTreeNode* child = Items()->AddChild(Node, String());
            FillFolderNode(child, folder);
            bool canAdd = true;
            if (OnAddFolder) OnAddFolder(this, folder, canAdd);
            if (!canAdd) child->Delete();
        }
    } catch (const Exception&) {
        Node->DeleteChildren();  // a folder that fails midway gets no children
        return;
    }
    Node->CustomSort([](TTreeNode* A, TTreeNode* B) {
        TbsShellFolder* a = NodeFolder(A);
        IShellFolder* sf = a->ParentShellFolder();
        return sf ? static_cast<short>(HRESULT_CODE(sf->CompareIDs(0, a->RelativeID(), NodeFolder(B)->RelativeID())))
                  : 0;
    });
}

void TbsCustomShellTreeView::ClearNodes()
{
    Items()->BeginUpdate();
    Items()->Clear();  // NodeDeleting frees every node's folder
    Items()->EndUpdate();
}

void TbsCustomShellTreeView::Refresh(TTreeNode* Node)
{
    TbsShellFolder* old = NodeFolder(Node);
    if (!old || !old->ShellFolder()) return;
    TIdListOwner topId, selectedId;
    if (TbsShellFolder* f = NodeFolder(TopItem())) topId.p = IdListCopy(f->AbsoluteID());
    if (TbsShellFolder* f = SelectedFolder()) selectedId.p = IdListCopy(f->AbsoluteID());
    TFlagScope updating(FUpdating);
    TBusyScope busy(Items());

    TTreeNode* parentNode = Node->Parent();
    auto* folder = new TbsShellFolder(NodeFolder(parentNode), old->ShellFolderRef(), old->RelativeID());
    TTreeNode* fresh = Items()->Insert(Node, String());
    fresh->SetData(folder);
    LoadChildNodes(fresh);
    if (FUseShellImages && !Images()) {
        fresh->SetImageIndex(folder->ImageIndex(false));
        fresh->SetSelectedIndex(ShellIconIndex(folder->AbsoluteID(), false, true));
    }
    fresh->SetHasChildren(folder->SubFolders());
    fresh->SetText(parentNode ? folder->DisplayName()
                              : ItemDisplayName(DesktopFolderInterface().get(), folder->AbsoluteID(), SHGDN_NORMAL));

    // The nodes expanded below the old node open again below the new one.
    const int level = Node->Level();
    for (TTreeNode* n = Node; n && (n == Node || n->Level() > level); n = n->GetNext())
        if (n->Expanded())
            if (TTreeNode* twin = FindNodeById(NodeFolder(n)->AbsoluteID(), fresh)) twin->Expand(false);
    Node->Delete();

    if (selectedId.p) SetSelected(FindNodeById(selectedId.p, Items()->GetFirstNode()));
    if (topId.p)
        if (TTreeNode* top = FindNodeById(topId.p, Items()->GetFirstNode())) SetTopItem(top);
}

// ---- finding and selecting ----

TTreeNode* TbsCustomShellTreeView::FindNodeById(LPCITEMIDLIST ID, TTreeNode* StartNode)
{
    if (!StartNode || !ID) return nullptr;
    const int level = StartNode->Level();
    for (TTreeNode* n = StartNode; n; n = n->GetNext()) {
        if (n != StartNode && n->Level() <= level) break;
        if (TbsShellFolder* f = NodeFolder(n); f && IdListEqual(f->AbsoluteID(), ID)) return n;
    }
    return nullptr;
}

void TbsCustomShellTreeView::SelectId(LPCITEMIDLIST ID)
{
    // While this view drives its partners their calls back do nothing.
    if (Loading() || FUpdating || !ID) return;
    if (TbsShellFolder* f = SelectedFolder(); f && IdListEqual(f->AbsoluteID(), ID)) return;
    TFlagScope updating(FUpdating);
    TTreeNode* found = nullptr;
    {
        Items()->BeginUpdate();
        struct TEnd {
            TTreeNodes* n;
            ~TEnd() { n->EndUpdate(); }
        } end{Items()};
        TList* ancestors = IdListAncestors(ID);
        TTreeNode* current = nullptr;
        for (int i = 0; i < ancestors->Count(); ++i) {
            auto entry = static_cast<LPCITEMIDLIST>(ancestors->Items(i));
            if (TTreeNode* n = FindNodeById(entry, current ? current : Items()->GetFirstNode())) {
                n->Expand(false);
                current = n;
            }
        }
        IdListAncestorsFree(ancestors);
        found = FindNodeById(ID, current ? current : Items()->GetFirstNode());
        SetSelected(found);
    }
    if (found) FollowInPartners(NodeFolder(found)->AbsoluteID());
}

bool TbsCustomShellTreeView::CanChange(TTreeNode* Node)
{
    const bool allow = TbsSkinCustomTreeView::CanChange(Node);
    if (!allow || FUpdating || !Node) return allow;
    const bool autoRefresh = FAutoRefresh;
    if (autoRefresh) SetAutoRefresh(false);
    TbsShellFolder* shown = NodeFolder(Node);
    if (shown && !shown->IsFolder() && Node->Parent()) shown = NodeFolder(Node->Parent());
    if (shown) {
        TFlagScope updating(FUpdating);
        FollowInPartners(shown->AbsoluteID());
    }
    if (autoRefresh) {
        // The new watcher watches the node being selected.
        FNodeToMonitor = Node;
        SetAutoRefresh(true);
        FNodeToMonitor = nullptr;
    }
    return allow;
}

// ---- the tree's hooks ----

bool TbsCustomShellTreeView::CanExpand(TTreeNode* Node)
{
    if ((ComponentState() & csDesigning) && Node->Level() > 0) return true;
    if (!TbsSkinCustomTreeView::CanExpand(Node)) return false;
    if (TbsShellFolder* f = NodeFolder(Node)) {
        if (f->IsFolder()) {
            if (Node->HasChildren() && Node->Count() == 0) LoadChildNodes(Node);
        } else {
            // An item that is no folder opens with its program instead.
            const String path = f->PathName();
            ShellExecuteW(HandleAllocated() ? Handle() : nullptr, nullptr, path.c_str(), nullptr,
                          ExtractFileDir(path).c_str(), SW_HIDE);
        }
    }
    Node->SetHasChildren(Node->Count() > 0);
    return true;
}

void TbsCustomShellTreeView::NodeDeleting(TTreeNode* Node)
{
    if (Node == FNodeToMonitor) FNodeToMonitor = nullptr;
    delete NodeFolder(Node);
    Node->SetData(nullptr);
    TbsSkinCustomTreeView::NodeDeleting(Node);
}

void TbsCustomShellTreeView::Edit(TTreeNode* Node, bool Cancelled, const String& Text)
{
    if (Cancelled) return;
    String name = Text;
    if (OnEdited) OnEdited(this, Node, name);
    TTreeNode* parentNode = Node->Parent();
    if (TbsShellFolder* f = NodeFolder(Node); f && f->Rename(name)) Node->SetText(name);
    if (parentNode) Refresh(parentNode);
}

void TbsCustomShellTreeView::GetImageIndex(TTreeNode* Node)
{
    if (Images()) TbsSkinCustomTreeView::GetImageIndex(Node);
}

void TbsCustomShellTreeView::GetSelectedIndex(TTreeNode* Node)
{
    if (Images()) TbsSkinCustomTreeView::GetSelectedIndex(Node);
}

void TbsCustomShellTreeView::ExecuteCommand(const String& Verb, bool& Handled)
{
    // "open" needs nothing here: the launcher gets an absolute path and the process's folder
    // never changes.
    if (SameText(Verb, L"rename") && Selected()) {
        Selected()->EditText();
        Handled = true;
    }
}

void TbsCustomShellTreeView::CommandCompleted(const String& Verb, bool Succeeded)
{
    TTreeNode* node = Selected();
    if (!Succeeded || !node) return;
    if (SameText(Verb, L"delete")) {
        const String path = NodeFolder(node)->PathName();
        if (!FileExists(path) && !DirectoryExists(path)) node->Delete();
    } else if (SameText(Verb, L"paste")) {
        Refresh(node);
    }
}

// ---- component and window ----

void TbsCustomShellTreeView::Loaded()
{
    TbsSkinCustomTreeView::Loaded();
    LoadRootNode();
}

void TbsCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (FListView && AComponent == static_cast<TComponent*>(FListView)) FListView = nullptr;
    if (FComboBox && AComponent == static_cast<TComponent*>(FComboBox)) FComboBox = nullptr;
    if (AComponent == FNotifier) FNotifier = nullptr;
}

void TbsCustomShellTreeView::CreateWnd()
{
    TbsSkinCustomTreeView::CreateWnd();
    if (Items()->GetFirstNode()) ClearNodes();
    if (!Images()) SetUseShellImages(FUseShellImages);
    try {
        if (!FLoadingRoot) LoadRootNode();
        if (!FPath.empty()) SetPath(FPath);
    } catch (const EInvalidPath&) {
        // The root went back to the one before; a path that no longer parses is dropped.
    }
}

void TbsCustomShellTreeView::DestroyWnd()
{
    ClearNodes();
    TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case TVM_SETIMAGELIST:
        // The view chooses its own list: the Images component's, else the system icons.
        if (FImageListChanging) break;
        ApplyImageList();
        Message.Result = 0;
        return;
    case WM_CONTEXTMENU: {
        if (!FAutoContext || (PopupMenu() && PopupMenu()->AutoPopup())) break;
        TPoint client = Point(Width() / 2, Height() / 2);
        if (GET_X_LPARAM(Message.LParam) != -1 || GET_Y_LPARAM(Message.LParam) != -1)
            client = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        ShowShellContextMenu(this, SelectedFolder(), client.X, client.Y);
        Message.Result = 1;
        return;
    }
    default: break;
    }
    TbsSkinCustomTreeView::WndProc(Message);
}

// ---- partners ----

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* Value)
{
    LinkShellPartner(this, FListView, Value, &TbsCustomShellListView::FTreeView, FRoot);
}

void TbsCustomShellTreeView::SetShellComboBox(TbsCustomShellComboBox* Value)
{
    LinkShellPartner(this, FComboBox, Value, &TbsCustomShellComboBox::FTreeView, FRoot);
}

void TbsCustomShellTreeView::PassRootToPartners()
{
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::FollowInPartners(LPCITEMIDLIST ID)
{
    if (FListView) FListView->FollowId(ID);
    if (FComboBox) FComboBox->FollowId(ID);
}
