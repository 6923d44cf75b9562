// TbsCustomShellComboBox / TbsSkinShellComboBox: a folder-location box on the skinned combo box.
// Its drop-down list shows the root folder, its children, the computer's volumes (when the root
// is the desktop) and the chain of folders down to the folder shown, each with its system icon
// and indented by its depth. Choosing a row makes the linked shell list view and tree view show
// that folder; when they navigate the box follows (FUpdating stops the echoes). The open, save
// and picture dialogs link one with their list view.
#pragma once

#include "platform/framework/core/collection.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/dialogs/shell_folder.h"

class TbsCustomShellTreeView;
class TbsCustomShellListView;

// One row of the box; Data is owned by the box.
class TbsItemEx : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    String Caption;
    TbsShellFolder* Data = nullptr;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
};

class TbsItemsEx : public TCollection {
public:
    TbsItemsEx();
    TbsItemEx* Add() { return static_cast<TbsItemEx*>(TCollection::Add()); }
    TbsItemEx* Insert(int Index) { return static_cast<TbsItemEx*>(TCollection::Insert(Index)); }
    TbsItemEx* AddItem(const String& ACaption, int AImageIndex, int ASelectedIndex, int AIdent,
                       TbsShellFolder* AFolder);
    TbsItemEx* ItemAt(int Index) const { return static_cast<TbsItemEx*>(Items(Index)); }
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellListView;

public:
    explicit TbsCustomShellComboBox(TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    const TRoot& Root() const { return FRoot; }
    // Rebuilds the rows and passes the root on; one that cannot be resolved raises "Error setting
    // path" and leaves the box without rows.
    void SetRoot(const TRoot& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* Value);
    TbsItemsEx* ItemsEx() const { return FItemsEx; }
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    bool UseShellImages() const { return FUseShellImages; }
    void SetShellImages(bool Value);

    // The selected row's path; empty without one.
    String Path() const;
    // EInvalidPath when the text does not parse.
    void SetPath(const String& Value);
    // The partners' call: shows the folder unless this box drives them or shows it already.
    void FollowId(LPCITEMIDLIST ID);
    // Rebuilds the rows with the chain down to the folder (an absolute list) and selects it.
    void ShowId(LPCITEMIDLIST ID);
    // The last row whose folder has this absolute list; -1 for none.
    int IndexOfId(LPCITEMIDLIST ID) const;
    // A row's folder, an index past the end taken as the last row.
    TbsShellFolder* FolderAt(int Index) const;

protected:
    virtual void FillRootItems();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Change() override;
    void Click() override;

    void LoadRootItem();
    void ReloadRoot();
    void InsertChildren(int Index, TbsShellFolder* Folder);
    TbsShellFolder* MakeChildFolder(TbsShellFolder* Parent, LPCITEMIDLIST ID);
    int FolderIconIndex(TbsShellFolder* Folder) const;
    void ClearItemsEx();
    void SyncItemsText();
    void DrawListItem(TCanvas* Cnvs, int Index, const TRect& R, bool Indented);
    bool Loading() const { return (ComponentState() & csLoading) != 0; }

    TbsItemsEx* FItemsEx = nullptr;
    HIMAGELIST FImages = nullptr;
    int FImageHeight = 16, FImageWidth = 16;
    TRoot FOldRoot;
    TRoot FRoot = L"rfDesktop";
    TbsShellFolder* FRootFolder = nullptr;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellListView* FListView = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
};
