// TbsCustomShellTreeView / TbsSkinDirTreeView: the shell namespace as a tree on the skinned tree
// view. One root node for the folder Root names, its subfolders below, each node's children read
// the first time it expands; the system icons, display names and the shell's order. Linked to a
// shell list view and a shell combo box it shows the folder they show and tells them when the
// user picks another; FUpdating stops the echoes. The item menu, in-place renaming and an
// optional refresh by the folder change watcher. The directory dialog and the file dialogs'
// browsers use it.
//
// Every node's data is the TbsShellFolder of its item, owned by the node.
#pragma once

#include <functional>

#include "skin/controls/skin_tree_view.h"
#include "skin/dialogs/shell_change_notifier.h"
#include "skin/dialogs/shell_folder.h"

class TbsCustomShellListView;
class TbsCustomShellComboBox;

// Asked for every new node or list item; CanAdd false leaves the folder out.
using TAddFolderEvent = std::function<void(TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

class TbsCustomShellTreeView : public TbsSkinCustomTreeView, public IShellVerbHook {
    friend class TbsCustomShellListView;
    friend class TbsCustomShellComboBox;

public:
    explicit TbsCustomShellTreeView(TComponent* AOwner);
    ~TbsCustomShellTreeView() override;

    const TRoot& Root() const { return FRoot; }
    // Rebuilds the tree; a root that cannot be resolved keeps the old root and tree, then raises
    // "Error setting path".
    void SetRoot(const TRoot& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool Value);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    // Links both ways: the list takes this view's Root and shows what it shows.
    void SetShellListView(TbsCustomShellListView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);

    // The selected folder's path; empty without a selection.
    String Path() const;
    // Expands down to the folder and selects it; EInvalidPath when the text does not parse.
    void SetPath(const String& Value);
    TbsShellFolder* SelectedFolder() const;
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    // Reads Node's children again, keeping the expanded nodes, the selection and the top node.
    void Refresh(TTreeNode* Node);
    void ExpandMyComputer();
    // Expands the ancestors of the folder (an absolute list) and selects its node.
    void SelectId(LPCITEMIDLIST ID);
    // StartNode or a node below it, in depth-first order, whose folder has this absolute list.
    TTreeNode* FindNodeById(LPCITEMIDLIST ID, TTreeNode* StartNode);
    TbsShellFolder* FolderOfNode(int Index);
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }

    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
    virtual void ResetNodes() { ClearNodes(); }
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void GetImageIndex(TTreeNode* Node) override;
    void GetSelectedIndex(TTreeNode* Node) override;
    bool CanChange(TTreeNode* Node) override;
    bool CanExpand(TTreeNode* Node) override;
    void NodeDeleting(TTreeNode* Node) override;
    void Edit(TTreeNode* Node, bool Cancelled, const String& Text) override;

    void LoadRootNode();
    void LoadChildNodes(TTreeNode* Node);
    void FillFolderNode(TTreeNode* Node, TbsShellFolder* Folder);
    void ClearNodes();
    void ReloadRoot();
    void RefreshSelectedNode();
    void ApplyImageList();
    // The linked list view takes Root; the linked views show the folder (echoes stopped by their
    // FUpdating).
    void PassRootToPartners();
    void FollowInPartners(LPCITEMIDLIST ID);
    bool Loading() const { return (ComponentState() & csLoading) != 0; }
    static TbsShellFolder* NodeFolder(const TTreeNode* Node)
    {
        return Node ? static_cast<TbsShellFolder*>(Node->Data()) : nullptr;
    }

    String FPath;
    TRoot FRoot = L"rfDesktop";
    TRoot FOldRoot;
    TbsShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    TbsCustomShellListView* FListView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    bool FAutoRefresh = false;
    bool FImageListChanging = false;
    bool FUseShellImages = true;
    TbsShellChangeNotifier* FNotifier = nullptr;
    TTreeNode* FNodeToMonitor = nullptr;
    HIMAGELIST FImages = nullptr;
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
public:
    using TbsCustomShellTreeView::TbsCustomShellTreeView;
};
