// The shell file list. See shell_list_view.h.
#include "skin/dialogs/shell_list_view.h"

#include <algorithm>
#include <memory>

#include "platform/framework/core/files.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/graphics/system_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/dialogs/shell_combo_box.h"

namespace {

// The hourglass and the list's updates suspended for a scope.
class TBusyScope {
public:
    explicit TBusyScope(TListItems* Items) : FItems(Items), FCursor(Screen->Cursor())
    {
        Screen->SetCursor(crHourGlass);
        FItems->BeginUpdate();
    }
    ~TBusyScope()
    {
        FItems->EndUpdate();
        Screen->SetCursor(FCursor);
    }

private:
    TListItems* FItems;
    TCursor FCursor;
};

String UpperAscii(String S)
{
    for (auto& c : S)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return S;
}

// The width of text in the font, in pixels.
int TextWidthIn(TFont* Font, const String& Text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font->Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, Text.c_str(), static_cast<int>(Text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

// The item's find data; none for an item gone since it was listed.
bool FindDataOf(const TbsShellFolder* Folder, WIN32_FIND_DATAW& Data)
{
    try {
        Data = Folder->ReadFindData();
        return true;
    } catch (const EInvalidPath&) {
        return false;
    }
}

template <class T>
int Order(const T& A, const T& B)
{
    return A == B ? 0 : A > B ? 1 : -1;
}

}  // namespace

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner)
{
    SetOwnerData(true);
    SetHideSelection(false);
    FSmallImages = SystemImageList(false)->Handle();
    FLargeImages = SystemImageList(true)->Handle();
}

TbsCustomShellListView::~TbsCustomShellListView()
{
    delete FNotifier;
    FNotifier = nullptr;
    for (TbsShellFolder* f : FFolders) delete f;
    FFolders.clear();
    delete FRootFolder;
    FRootFolder = nullptr;
}

// ---- the current folder ----

void TbsCustomShellListView::ResolveListRoot()
{
    FRootLoaded = true;
    // Resolved aside first: the rows' folders have the current folder as parent until they go.
    TbsShellFolder* next = ResolveRoot(nullptr, FOldRoot, FRoot);
    ClearFolders();
    delete FRootFolder;
    FRootFolder = next;
}

void TbsCustomShellListView::SetRoot(const TRoot& Value)
{
    if (SameText(Value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = Value;
    ResolveListRoot();
    FSettingRoot = true;
    ReloadFolder();
}

String TbsCustomShellListView::Path() const { return FRootFolder ? FRootFolder->PathName() : String(); }

void TbsCustomShellListView::SetPath(const String& Value)
{
    TIdListOwner id;
    if (DesktopFolderInterface()->ParseDisplayName(nullptr, Value.c_str(), nullptr, &id.p, nullptr) != S_OK)
        throw EInvalidPath(Format(L"Error setting path: \"%s\"", Value));
    OpenId(id.p);
}

void TbsCustomShellListView::OpenId(LPCITEMIDLIST ID)
{
    if (FUpdating || !ID) return;
    if (FRootFolder && IdListEqual(FRootFolder->AbsoluteID(), ID)) return;
    ReplaceFolder(ID);
}

void TbsCustomShellListView::ReplaceFolder(LPCITEMIDLIST ID)
{
    if (FUpdating) return;
    TbsShellFolder* next = FolderFromAbsoluteId(ID);
    ClearFolders();
    delete FRootFolder;
    FRootFolder = next;
    FSettingRoot = false;
    ReloadFolder();
    if (OnPathChanged) OnPathChanged(this);
}

void TbsCustomShellListView::FollowId(LPCITEMIDLIST ID)
{
    if (FUpdating || !ID) return;
    if (!FRootFolder || !IdListEqual(FRootFolder->AbsoluteID(), ID)) OpenId(ID);
}

void TbsCustomShellListView::Back()
{
    if (!FRootFolder || IdListCount(FRootFolder->AbsoluteID()) == 0) return;
    TIdListOwner up{IdListCopy(FRootFolder->AbsoluteID())};
    IdListDropLast(up.p);
    OpenId(up.p);
}

void TbsCustomShellListView::Refresh()
{
    // While a reload runs the folder it reads stays; this refresh has nothing to add to it.
    if (FUpdating || !FRootFolder) return;
    const int index = ItemIndex();
    ClearSelection();
    TIdListOwner id{IdListCopy(FRootFolder->AbsoluteID())};
    ReplaceFolder(id.p);
    if (index >= 0 && index < Items()->Count()) SetItemIndex(index);
}

void TbsCustomShellListView::ReloadFolder()
{
    if (FUpdating) return;
    TFlagScope updating(FUpdating);
    const bool autoRefresh = FAutoRefresh;
    if (autoRefresh) SetAutoRefresh(false);
    SyncLinkedViews();
    // The new watch opens before the folder is read: a change made while it is read brings
    // another refresh instead of being lost between the two watches.
    if (autoRefresh) SetAutoRefresh(true);
    FillFolderItems();
    if (ViewStyle() == vsReport) BuildColumns();
}

void TbsCustomShellListView::SyncLinkedViews()
{
    if (FSettingRoot) {
        if (FTreeView) FTreeView->SetRoot(FRoot);
    } else if (FRootFolder) {
        if (FTreeView) FTreeView->SelectId(FRootFolder->AbsoluteID());
        if (FComboBox) FComboBox->FollowId(FRootFolder->AbsoluteID());
    }
    FSettingRoot = false;
}

// ---- filling ----

bool TbsCustomShellListView::MaskAdmits(const TbsShellFolder* Folder) const
{
    const String name = ExtractFileName(Folder->FullObjectName());
    size_t start = 0;
    while (start <= FMask.size()) {
        size_t end = FMask.find_first_of(L";|", start);
        if (end == String::npos) end = FMask.size();
        const String pattern = FMask.substr(start, end - start);
        // "*.*" names every file, those without an extension too, as file dialogs take it.
        if (pattern == L"*" || pattern == L"*.*") return true;
        if (pattern.find(L'.') != String::npos && MatchesMask(name, pattern)) return true;
        start = end + 1;
    }
    return false;
}

void TbsCustomShellListView::FillFolderItems()
{
    if (Loading() && !HandleAllocated()) return;
    if (!FRootFolder && !FRootLoaded) ResolveListRoot();
    String longest;
    {
        TBusyScope busy(Items());
        ClearFolders();
        if (HandleAllocated()) {
            Perform(WM_VSCROLL, SB_TOP);
            Perform(WM_HSCROLL, SB_LEFT);
        }
        std::unique_ptr<IEnumIDList> items;
        IShellFolder* sf = FRootFolder ? FRootFolder->ShellFolder() : nullptr;
        if (!sf || sf->EnumObjects(nullptr, ObjectTypesToFlags(FObjectTypes), &items) != S_OK || !items) return;
        LPITEMIDLIST id = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &id, &fetched) == S_OK && fetched == 1) {
            TIdListOwner owned{id};
            std::unique_ptr<TbsShellFolder> folder(
                new TbsShellFolder(FRootFolder, BindShellFolder(sf, id, nullptr), id));
            bool canAdd = folder->IsFolder() || MaskAdmits(folder.get());
            if (OnAddFolder) OnAddFolder(this, folder.get(), canAdd);
            if (!canAdd) continue;
            const String name = folder->DisplayName();
            if (name.size() > longest.size()) longest = name;
            FFolders.push_back(folder.release());
        }
        Items()->SetCount(FolderCount());
        if (FSorted) SortFolders(false);
    }
    if (ViewStyle() == vsList && !longest.empty() && Columns()->Count() > 0)
        Column(0)->SetWidth(TextWidthIn(Font(), longest) + 32);
}

void TbsCustomShellListView::ClearFolders()
{
    if (!(ComponentState() & csDestroying)) Items()->SetCount(0);
    for (TbsShellFolder* f : FFolders) delete f;
    FFolders.clear();
}

TbsShellFolder* TbsCustomShellListView::FolderAt(int Index) const
{
    return Index >= 0 && Index < FolderCount() ? FFolders[static_cast<size_t>(Index)] : nullptr;
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder() const { return FolderAt(ItemIndex()); }

String TbsCustomShellListView::GetSelectedFile() const
{
    TbsShellFolder* f = SelectedFolder();
    return f && !f->IsFolder() ? f->FullObjectName() : String();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* AFiles)
{
    AFiles->Clear();
    for (int i = 0; i < Items()->Count(); ++i) {
        TbsShellFolder* f = FolderAt(i);
        if (f && !f->IsFolder() && Items()->Item(i)->Selected()) AFiles->Add(f->FullObjectName());
    }
}

void TbsCustomShellListView::SetMask(const String& Value)
{
    if (Value == FMask) return;
    FMask = Value;
    ReloadFolder();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    if (!Loading()) ReloadFolder();
}

void TbsCustomShellListView::SetSorted(bool Value)
{
    if (Value == FSorted) return;
    FSorted = Value;
    FillFolderItems();
}

void TbsCustomShellListView::SetAutoRefresh(bool Value)
{
    FAutoRefresh = Value;
    if (Loading()) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value) return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    if (FRootFolder) FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value)
{
    TbsSkinCustomListView::SetViewStyle(Value);
    if (Value == vsReport) BuildColumns();
}

void TbsCustomShellListView::BuildColumns()
{
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    Columns()->BeginUpdate();
    Columns()->Clear();
    FRootFolder->SetViewHandle(HandleAllocated() ? Handle() : nullptr);
    // The layer has no detail interfaces: the built-in columns, four for a file-system folder.
    static const wchar_t* const kKeys[] = {L"FLV_NAME", L"FLV_SIZE", L"FLV_TYPE", L"FLV_MODIFIED"};
    static const wchar_t* const kCaptions[] = {L"Name", L"Size", L"Type", L"Modified"};
    static const TAlignment kAlign[] = {taLeftJustify, taRightJustify, taLeftJustify, taLeftJustify};
    static const int kChars[] = {25, 10, 10, 14};
    const int count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    const int x = TextWidthIn(Font(), L"X");
    TbsResourceStrData* texts = SkinData() ? SkinData()->ResourceStrData() : nullptr;
    for (int i = 0; i < count; ++i) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(texts ? texts->GetResStr(kKeys[i]) : String(kCaptions[i]));
        column->SetAlignment(kAlign[i]);
        column->SetWidth(x * kChars[i]);
    }
    Columns()->EndUpdate();
}

// ---- sorting ----

int TbsCustomShellListView::ListSortCompare(TbsShellFolder* A, TbsShellFolder* B, bool ColumnSort)
{
    if (!A || !B) return 0;
    const bool folderA = A->IsFolder(), folderB = B->IsFolder();
    int r = (folderB ? 1 : 0) - (folderA ? 1 : 0);
    if (r == 0 && A->Parent())
        if (IShellFolder* sf = A->ParentShellFolder())
            r = static_cast<short>(HRESULT_CODE(sf->CompareIDs(0, A->RelativeID(), B->RelativeID())));
    if (!ColumnSort) return r;
    const bool byColumn = FSortColumn == 0 || FSortInFileSystem;
    if (byColumn && FSortColumn != 0) {
        const HWND wnd = HandleAllocated() ? Handle() : nullptr;
        A->LoadColumnDetails(FRootFolder, wnd, 4);
        B->LoadColumnDetails(FRootFolder, wnd, 4);
    }
    if (byColumn && folderA != folderB) {
        r = folderA ? -1 : 1;
    } else if (byColumn) {
        // An item gone since it was listed has no find data and sorts before every other.
        WIN32_FIND_DATAW a, b;
        switch (FSortColumn) {
        case 0: r = CompareText(A->DisplayName(), B->DisplayName()); break;
        case 1:
            if (!folderA) {
                const bool hasA = FindDataOf(A, a), hasB = FindDataOf(B, b);
                r = hasA && hasB ? Order(FindDataSize(a), FindDataSize(b)) : Order(hasA, hasB);
            }
            break;
        case 2:
            r = CompareText(A->DetailCount() ? A->DetailText(2) : String(),
                            B->DetailCount() ? B->DetailText(2) : String());
            break;
        case 3: {
            const TDateTime da = FindDataOf(A, a) ? FindDataDate(a, true) : -1.0;
            const TDateTime db = FindDataOf(B, b) ? FindDataDate(b, true) : -1.0;
            r = Order(da, db);
            break;
        }
        default: break;
        }
    }
    return FSortDirection ? -r : r;
}

void TbsCustomShellListView::SortFolders(bool ColumnSort)
{
    // Columns past the name sort only in a file-system folder, whose items have find data. Asked
    // once per sort: the folder's attributes are read from the disk.
    FSortInFileSystem = ColumnSort && FRootFolder && FRootFolder->IsFileSystem();
    CompareFolder = FRootFolder;
    std::stable_sort(FFolders.begin(), FFolders.end(),
                     [&](TbsShellFolder* A, TbsShellFolder* B) { return ListSortCompare(A, B, ColumnSort) < 0; });
    CompareFolder = nullptr;
}

void TbsCustomShellListView::ColumnClick(int i)
{
    TbsSkinCustomListView::ColumnClick(i);
    if (i < 0 || i >= Columns()->Count() || (Columns()->Count() < 4 && i != 0)) return;
    FOldSortColumn = FSortColumn;
    FSortDirection = i == FSortColumn ? !FSortDirection : false;
    FSortColumn = i;
    // Rows are selected by index: the selection and the focus go with their items to their new
    // rows, or a file chosen before the sort would be another file after it.
    std::vector<TbsShellFolder*> selected;
    if (SelCount() == 1) {
        if (TbsShellFolder* f = SelectedFolder()) selected.push_back(f);
    } else if (SelCount() > 1) {
        for (int row = 0; row < FolderCount(); ++row)
            if (Items()->Item(row)->Selected()) selected.push_back(FolderAt(row));
    }
    TbsShellFolder* focused = ItemFocused() ? FolderAt(ItemFocused()->Index()) : nullptr;
    Items()->BeginUpdate();
    SortFolders(true);
    if (!selected.empty() || focused) {
        auto rowOf = [this](TbsShellFolder* F) {
            return static_cast<int>(std::find(FFolders.begin(), FFolders.end(), F) - FFolders.begin());
        };
        ClearSelection();
        for (TbsShellFolder* f : selected) Items()->Item(rowOf(f))->SetSelected(true);
        if (focused) SetItemFocused(Items()->Item(rowOf(focused)));
    }
    Items()->EndUpdate();
}

// ---- owner data ----

bool TbsCustomShellListView::OwnerDataFetch(TListItem* Item, TItemRequests Request)
{
    TbsShellFolder* f = FolderAt(Item->Index());
    if (!f) return false;
    if (Request.Contains(irText) || DrawSkin()) Item->SetCaption(f->DisplayName());
    if (Request.Contains(irImage) || DrawSkin()) Item->SetImageIndex(f->ImageIndex(ViewStyle() == vsIcon));
    if (ViewStyle() == vsReport && Columns()->Count() > 1) {
        f->LoadColumnDetails(FRootFolder, HandleAllocated() ? Handle() : nullptr, Columns()->Count());
        if (f->DetailCount() > 0)
            for (int c = 1; c < Columns()->Count(); ++c) Item->SubItems()->Add(f->DetailText(c));
    }
    return true;
}

int TbsCustomShellListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint&, void*,
                                          int StartIndex, TSearchDirection, bool Wrap)
{
    if ((Find != ifPartialString && Find != ifExactString) || StartIndex == -1) return -1;
    const int n = FolderCount();
    const String want = UpperAscii(FindString);
    for (int k = 0; k < n; ++k) {
        int i = StartIndex + k;
        if (i >= n) {
            if (!Wrap) return -1;
            i -= n;
        }
        if (UpperAscii(FFolders[static_cast<size_t>(i)]->DisplayName()).compare(0, want.size(), want) == 0) return i;
    }
    return -1;
}

// ---- user actions ----

void TbsCustomShellListView::BeginRename()
{
    if (ItemIndex() >= 0) Perform(LVM_EDITLABELW, static_cast<WPARAM>(ItemIndex()));
}

void TbsCustomShellListView::Edit(int Index, bool Cancelled, const String& Text)
{
    TbsShellFolder* f = FolderAt(Index);
    if (!f || Cancelled) return;
    String name = Text;
    if (OnEdited) OnEdited(this, Items()->Item(Index), name);
    f->Rename(name);  // a refused name raises "Rename to %s failed"
    Invalidate();
    if (FTreeView && FTreeView->Selected()) FTreeView->Refresh(FTreeView->Selected());
}

void TbsCustomShellListView::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!FAutoNavigate) return;
    switch (Key) {
    case VK_BACK:
        if (!IsEditing()) Back();
        break;
    case VK_RETURN:
        if (Shift.Contains(ssAlt)) {
            InvokeFolderVerb(SelectedFolder(), L"properties");
            Key = 0;
        } else if (TbsShellFolder* f = SelectedFolder(); f && f->IsFolder()) {
            TIdListOwner id{IdListCopy(f->AbsoluteID())};
            OpenId(id.p);
        }
        break;
    case VK_F5: Refresh(); break;
    default: break;
    }
}

void TbsCustomShellListView::DblClick()
{
    if (FAutoNavigate)
        if (TbsShellFolder* f = SelectedFolder(); f && f->IsFolder()) {
            TIdListOwner id{IdListCopy(f->AbsoluteID())};
            OpenId(id.p);
        }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::ExecuteCommand(const String& Verb, bool& Handled)
{
    // "open" needs nothing here: the launcher gets an absolute path and the process's folder
    // never changes.
    if (SameText(Verb, L"rename")) {
        BeginRename();
        Handled = true;
    }
}

void TbsCustomShellListView::CommandCompleted(const String& Verb, bool Succeeded)
{
    if (Succeeded && (SameText(Verb, L"delete") || SameText(Verb, L"paste"))) Refresh();
}

// ---- links ----

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* Value)
{
    LinkShellPartner(this, FTreeView, Value, &TbsCustomShellTreeView::FListView, FRoot);
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* Value)
{
    LinkShellPartner(this, FComboBox, Value, &TbsCustomShellComboBox::FListView, FRoot);
}

// ---- component and window ----

void TbsCustomShellListView::Loaded()
{
    TbsSkinCustomListView::Loaded();
    FillFolderItems();
    SetAutoRefresh(FAutoRefresh);
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (FTreeView && AComponent == static_cast<TComponent*>(FTreeView)) FTreeView = nullptr;
    if (FComboBox && AComponent == static_cast<TComponent*>(FComboBox)) FComboBox = nullptr;
    if (AComponent == FNotifier) FNotifier = nullptr;
}

void TbsCustomShellListView::CreateWnd()
{
    TbsSkinCustomListView::CreateWnd();
    if (FSmallImages) Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages));
    if (FLargeImages) Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages));
    if (!FRootLoaded) {
        try {
            ResolveListRoot();
        } catch (const EInvalidPath&) {
            return;  // no folder to show
        }
    }
    ReloadFolder();
}

void TbsCustomShellListView::DestroyWnd()
{
    ClearFolders();
    TbsSkinCustomListView::DestroyWnd();
}

void TbsCustomShellListView::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_CONTEXTMENU && FAutoContext && SelectedFolder()) {
        TPoint client = Point(Width() / 2, Height() / 2);
        if (GET_X_LPARAM(Message.LParam) != -1 || GET_Y_LPARAM(Message.LParam) != -1)
            client = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        ShowShellContextMenu(this, SelectedFolder(), client.X, client.Y);
        Message.Result = 1;
        Refresh();
        return;
    }
    TbsSkinCustomListView::WndProc(Message);
}
