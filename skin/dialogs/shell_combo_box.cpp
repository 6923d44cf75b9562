// The shell folder combo box. See shell_combo_box.h.
#include "skin/dialogs/shell_combo_box.h"

#include <memory>

#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/system_image_list.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"

namespace {

// The collection's updates suspended for a scope.
class TUpdateScope {
public:
    explicit TUpdateScope(TCollection* C) : FC(C) { FC->BeginUpdate(); }
    ~TUpdateScope() { FC->EndUpdate(); }

private:
    TCollection* FC;
};

}  // namespace

// ---- rows ----

TbsItemsEx::TbsItemsEx() : TCollection([](TCollection* c) { return new TbsItemEx(c); }) {}

TbsItemEx* TbsItemsEx::AddItem(const String& ACaption, int AImageIndex, int ASelectedIndex, int AIdent,
                               TbsShellFolder* AFolder)
{
    TbsItemEx* item = Add();
    item->Caption = ACaption;
    item->ImageIndex = AImageIndex;
    item->SelectedImageIndex = ASelectedIndex;
    item->Indent = AIdent;
    item->Data = AFolder;
    return item;
}

// ---- the box ----

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner)
{
    FImages = SystemImageList(false)->Handle();
    ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
    FItemsEx = new TbsItemsEx();
    SetOnListBoxDrawItem(
        [this](TCanvas* C, int Index, int, int, TRect R, TOwnerDrawState) { DrawListItem(C, Index, R, true); });
    OnComboBoxDrawItem = [this](TCanvas* C, int Index, int, int, TRect R, TOwnerDrawState) {
        DrawListItem(C, Index, R, false);
    };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox()
{
    ClearItemsEx();
    delete FItemsEx;
    FItemsEx = nullptr;
    delete FRootFolder;
    FRootFolder = nullptr;
}

void TbsCustomShellComboBox::SetRoot(const TRoot& Value)
{
    if (SameText(Value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = Value;
    ReloadRoot();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    ReloadRoot();
}

void TbsCustomShellComboBox::ReloadRoot()
{
    TFlagScope updating(FUpdating);
    ClearItemsEx();
    LoadRootItem();
    if (FTreeView) FTreeView->SetRoot(FRoot);
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellComboBox::SetShellImages(bool Value)
{
    FUseShellImages = Value;
    FImageWidth = FImageHeight = 16;
    if (Value) ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
}

String TbsCustomShellComboBox::Path() const
{
    const int i = ItemIndex();
    TbsShellFolder* f = i >= 0 && i < FItemsEx->Count() ? FItemsEx->ItemAt(i)->Data : nullptr;
    return f ? f->PathName() : String();
}

void TbsCustomShellComboBox::SetPath(const String& Value)
{
    TIdListOwner id;
    if (DesktopFolderInterface()->ParseDisplayName(nullptr, Value.c_str(), nullptr, &id.p, nullptr) != S_OK)
        throw EInvalidPath(Format(L"Error setting path: \"%s\"", Value));
    ShowId(id.p);
}

int TbsCustomShellComboBox::IndexOfId(LPCITEMIDLIST ID) const
{
    for (int i = FItemsEx->Count() - 1; i >= 0; --i)
        if (TbsShellFolder* f = FItemsEx->ItemAt(i)->Data; f && IdListEqual(f->AbsoluteID(), ID)) return i;
    return -1;
}

TbsShellFolder* TbsCustomShellComboBox::FolderAt(int Index) const
{
    if (FItemsEx->Count() == 0 || Index < 0) return nullptr;
    return FItemsEx->ItemAt(std::min(Index, FItemsEx->Count() - 1))->Data;
}

TbsShellFolder* TbsCustomShellComboBox::MakeChildFolder(TbsShellFolder* Parent, LPCITEMIDLIST ID)
{
    return new TbsShellFolder(Parent, BindShellFolder(Parent->ShellFolder(), ID, nullptr), ID);
}

int TbsCustomShellComboBox::FolderIconIndex(TbsShellFolder* Folder) const
{
    return FUseShellImages ? ShellIconIndex(Folder->AbsoluteID(), false, false) : -1;
}

void TbsCustomShellComboBox::ClearItemsEx()
{
    {
        TUpdateScope update(FItemsEx);
        for (int i = 0; i < FItemsEx->Count(); ++i) {
            delete FItemsEx->ItemAt(i)->Data;
            FItemsEx->ItemAt(i)->Data = nullptr;
        }
        FItemsEx->Clear();
    }
    SyncItemsText();
}

void TbsCustomShellComboBox::SyncItemsText()
{
    Items()->BeginUpdate();
    Items()->Clear();
    for (int i = 0; i < FItemsEx->Count(); ++i) Items()->Add(FItemsEx->ItemAt(i)->Caption);
    Items()->EndUpdate();
}

// ---- building ----

void TbsCustomShellComboBox::LoadRootItem()
{
    if (Loading()) return;
    TUpdateScope update(FItemsEx);
    ClearItemsEx();
    FRootFolder = ResolveRoot(FRootFolder, FOldRoot, FRoot);
    auto* folder = new TbsShellFolder(nullptr, FRootFolder->ShellFolderRef(), FRootFolder->AbsoluteID());
    const int icon = FolderIconIndex(folder);
    FItemsEx->AddItem(folder->DisplayName(), icon, icon, 0, folder);
    FillRootItems();
    SyncItemsText();
    SetItemIndex(0);
    SetShellImages(FUseShellImages);
}

void TbsCustomShellComboBox::InsertChildren(int Index, TbsShellFolder* Folder)
{
    IShellFolder* sf = Folder->ShellFolder();
    if (!sf) return;
    std::unique_ptr<IEnumIDList> items;
    OleCheck(sf->EnumObjects(nullptr, ObjectTypesToFlags(FObjectTypes), &items));
    std::vector<LPITEMIDLIST> ids;
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 0;
    while (items && items->Next(1, &id, &fetched) == S_OK && fetched == 1) ids.push_back(id);
    CompareFolder = Folder;
    std::stable_sort(ids.begin(), ids.end(), [sf](LPITEMIDLIST A, LPITEMIDLIST B) {
        return static_cast<short>(HRESULT_CODE(sf->CompareIDs(0, A, B))) < 0;
    });
    CompareFolder = nullptr;
    for (size_t n = 0; n < ids.size(); ++n) {
        TbsShellFolder* child = MakeChildFolder(Folder, ids[n]);
        IdListFree(ids[n]);
        TbsItemEx* item = FItemsEx->Insert(Index + 1 + static_cast<int>(n));
        item->Data = child;
        item->Caption = child->DisplayName();
        item->Indent = child->Level();
        item->ImageIndex = item->SelectedImageIndex = FolderIconIndex(child);
    }
}

void TbsCustomShellComboBox::FillRootItems()
{
    InsertChildren(0, FRootFolder);
    if (FRoot != L"rfDesktop") return;
    TIdListOwner computer;
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer.p) != S_OK) return;
    const int i = IndexOfId(computer.p);
    if (i >= 0) InsertChildren(i, FItemsEx->ItemAt(i)->Data);
}

void TbsCustomShellComboBox::ShowId(LPCITEMIDLIST ID)
{
    if (!ID) return;
    int shown = -1;
    {
        TUpdateScope update(FItemsEx);
        LoadRootItem();
        TList* ancestors = IdListAncestors(ID);
        int k = ancestors->Count() - 1, at = -1;
        for (; k >= 0 && at < 0; --k) at = IndexOfId(static_cast<LPCITEMIDLIST>(ancestors->Items(k)));
        if (at >= 0) {
            // Rows for the ancestors below the deepest one listed, then for the folder itself.
            auto insertAfter = [&](LPCITEMIDLIST Full) {
                TIdListOwner last{IdListLastItem(Full)};
                TbsShellFolder* child = MakeChildFolder(FItemsEx->ItemAt(at)->Data, last.p);
                TbsItemEx* item = FItemsEx->Insert(++at);
                item->Data = child;
                item->Caption = child->DisplayName();
                item->Indent = child->Level();
                item->ImageIndex = FolderIconIndex(child);
            };
            for (int j = k + 2; j < ancestors->Count(); ++j)
                insertAfter(static_cast<LPCITEMIDLIST>(ancestors->Items(j)));
            if (IndexOfId(ID) < 0) insertAfter(ID);
            shown = IndexOfId(ID);
        }
        IdListAncestorsFree(ancestors);
        SyncItemsText();
    }
    if (shown >= 0) SetItemIndex(shown);
}

void TbsCustomShellComboBox::FollowId(LPCITEMIDLIST ID)
{
    if (FUpdating || !ID) return;
    if (TbsShellFolder* f = FolderAt(ItemIndex()); f && ItemIndex() >= 0 && IdListEqual(f->AbsoluteID(), ID)) return;
    TFlagScope updating(FUpdating);
    ShowId(ID);
}

// ---- choosing ----

void TbsCustomShellComboBox::Change()
{
    if (FItemsEx->UpdateCount() > 0) return;
    TbsSkinCustomComboBox::Change();
    const int i = ItemIndex();
    if (i < 0 || FUpdating || IsPopupVisible()) return;
    TbsShellFolder* f = FolderAt(i);
    if (!f) return;
    TFlagScope updating(FUpdating);
    TIdListOwner id{IdListCopy(f->AbsoluteID())};
    if (FTreeView) FTreeView->SelectId(id.p);
    if (FListView) FListView->FollowId(id.p);
}

void TbsCustomShellComboBox::Click()
{
    if (TbsShellFolder* f = ItemIndex() >= 0 ? FolderAt(ItemIndex()) : nullptr) {
        TFlagScope updating(FUpdating);
        TIdListOwner id{IdListCopy(f->AbsoluteID())};
        ShowId(id.p);
    }
    TbsSkinCustomComboBox::Click();
}

// ---- drawing ----

void TbsCustomShellComboBox::DrawListItem(TCanvas* Cnvs, int Index, const TRect& R, bool Indented)
{
    if (Index < 0 || Index >= FItemsEx->Count() || Index >= Items()->Count()) return;
    TbsItemEx* item = FItemsEx->ItemAt(Index);
    const int offset = Indented ? item->Indent * FImageWidth / 2 : 0;
    int x = R.Left;
    if (FImages) {
        ImageList_DrawEx(FImages, item->ImageIndex, Cnvs->Handle(), R.Left + offset,
                         R.Top + (R.Height() - FImageHeight) / 2, FImageWidth, FImageHeight, CLR_NONE, CLR_NONE,
                         ILD_NORMAL);
        x = R.Left + offset + FImageWidth + 4;
    }
    int y = R.Top + R.Height() / 2 - Cnvs->TextHeight(L"Wg") / 2;
    if (Cnvs->Font()->Height() % 2 != 0) --y;
    Cnvs->TextOut(x, y, Items()->Strings(Index));
}

// ---- links ----

void TbsCustomShellComboBox::SetShellTreeView(TbsCustomShellTreeView* Value)
{
    LinkShellPartner(this, FTreeView, Value, &TbsCustomShellTreeView::FComboBox, FRoot);
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* Value)
{
    LinkShellPartner(this, FListView, Value, &TbsCustomShellListView::FComboBox, FRoot);
}

// ---- component and window ----

void TbsCustomShellComboBox::Loaded()
{
    TbsSkinCustomComboBox::Loaded();
    LoadRootItem();
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (FTreeView && AComponent == static_cast<TComponent*>(FTreeView)) FTreeView = nullptr;
    if (FListView && AComponent == static_cast<TComponent*>(FListView)) FListView = nullptr;
}

void TbsCustomShellComboBox::CreateWnd()
{
    TbsSkinCustomComboBox::CreateWnd();
    SetShellImages(FUseShellImages);
    if (FItemsEx->Count() == 0) {
        try {
            LoadRootItem();
        } catch (const EInvalidPath&) {
            // no rows: the root went back to the one before
        }
    }
    SyncItemsText();
}

void TbsCustomShellComboBox::DestroyWnd()
{
    ClearItemsEx();
    TbsSkinCustomComboBox::DestroyWnd();
}
