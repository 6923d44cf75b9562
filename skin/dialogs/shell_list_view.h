// TbsCustomShellListView / TbsSkinFileListView: the items of one shell folder (the current
// folder) on the skinned list view, as an owner-data list: the view keeps one TbsShellFolder per
// row and hands out captions, icons and detail texts only when the list asks for a row. Files are
// filtered by Mask, folders come first in the shell's order, a column click sorts by name, size,
// type or date; double click and Enter open a folder, Backspace goes up, F5 reads it again. The
// item menu, in-place renaming and an optional refresh by the folder change watcher. Linked to a
// shell tree view and a shell combo box it shows the folder they show; FUpdating stops the echoes.
// The open, save and picture dialogs build on it.
#pragma once

#include <vector>

#include "skin/controls/skin_list_view.h"
#include "skin/dialogs/shell_change_notifier.h"
#include "skin/dialogs/shell_folder.h"
#include "skin/dialogs/shell_tree_view.h"

class TbsCustomShellComboBox;

class TbsCustomShellListView : public TbsSkinCustomListView, public IShellVerbHook {
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellComboBox;

public:
    explicit TbsCustomShellListView(TComponent* AOwner);
    ~TbsCustomShellListView() override;

    const TRoot& Root() const { return FRoot; }
    // Opens the root; one that cannot be resolved raises "Error setting path" and keeps the
    // current folder.
    void SetRoot(const TRoot& Value);
    // The current folder (owned).
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    String Path() const;
    // EInvalidPath when the text does not parse.
    void SetPath(const String& Value);
    const String& Mask() const { return FMask; }
    // Patterns separated by ";" or "|"; files match one, folders are always listed.
    void SetMask(const String& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);
    // The base's setter, then the columns in report style.
    void SetViewStyle(TViewStyle Value);

    // Opens a folder (an absolute list) unless it is the current one.
    void OpenId(LPCITEMIDLIST ID);
    // The partners' call: opens the folder unless this view drives them or shows it already.
    void FollowId(LPCITEMIDLIST ID);
    // The parent folder; nothing at the desktop.
    void Back();
    // Reads the current folder again and selects the same row again. The current folder stays
    // until its new object is open (also when a reload is running, which makes this wait).
    void Refresh();
    void ReloadFolder();
    virtual void FillFolderItems();
    void ClearFolders();
    void BuildColumns();
    void BeginRename();
    int FolderCount() const { return static_cast<int>(FFolders.size()); }
    TbsShellFolder* FolderAt(int Index) const;
    TbsShellFolder* SelectedFolder() const;
    // The selected file's path; empty for a folder or no selection.
    String GetSelectedFile() const;
    void GetSelectedFiles(TStrings* AFiles);
    int SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDirection; }

    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;
    void ColumnClick(int i) override;

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool OwnerDataFetch(TListItem* Item, TItemRequests Request) override;
    int OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
                      int StartIndex, TSearchDirection Direction, bool Wrap) override;
    void Edit(int Index, bool Cancelled, const String& Text) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void DblClick() override;

    void ResolveListRoot();
    void SyncLinkedViews();
    // Replaces the current folder by a new object for ID (also when it names the same folder),
    // reloads and fires OnPathChanged; nothing while this view reloads or drives its partners.
    void ReplaceFolder(LPCITEMIDLIST ID);
    bool MaskAdmits(const TbsShellFolder* Folder) const;
    // Negative when A goes first: folders first, the shell's order, or by the sort column.
    int ListSortCompare(TbsShellFolder* A, TbsShellFolder* B, bool ColumnSort);
    void SortFolders(bool ColumnSort);
    bool Loading() const { return (ComponentState() & csLoading) != 0; }

    int FOldSortColumn = -1;
    int FSortColumn = -1;
    bool FSortDirection = false;
    bool FSortInFileSystem = false;  // the current folder's kind, read once per column sort
    bool FRootLoaded = false;
    TRoot FOldRoot;
    TRoot FRoot = L"rfDesktop";
    TbsShellFolder* FRootFolder = nullptr;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
    HIMAGELIST FLargeImages = nullptr;
    HIMAGELIST FSmallImages = nullptr;
    std::vector<TbsShellFolder*> FFolders;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    TbsShellChangeNotifier* FNotifier = nullptr;
    bool FSettingRoot = false;
    String FMask = L"*.*|*.*";
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};
