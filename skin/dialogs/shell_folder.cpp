// The shell folder layer. See shell_folder.h.
#include "skin/dialogs/shell_folder.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "platform/framework/controls/win_control.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menu_popup.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/system_image_list.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_menu.h"

TbsShellFolder* CompareFolder = nullptr;

namespace {

WORD ItemCount(const BYTE* p)
{
    WORD cb;
    std::memcpy(&cb, p, sizeof cb);
    return cb;
}

constexpr int kRootCsidl[] = {0, 17, 18, 10, 26, 25, 23, 22, 24, 3, 16, 6, 20, 1, 5, 4, 27, 2, 8, 9, 11, 7, 21};
constexpr const wchar_t* kRootNames[] = {L"rfDesktop",        L"rfMyComputer",       L"rfNetwork",
                                         L"rfRecycleBin",     L"rfAppData",          L"rfCommonDesktopDirectory",
                                         L"rfCommonPrograms", L"rfCommonStartMenu",  L"rfCommonStartup",
                                         L"rfControlPanel",   L"rfDesktopDirectory", L"rfFavorites",
                                         L"rfFonts",          L"rfInternet",         L"rfPersonal",
                                         L"rfPrinters",       L"rfPrintHood",        L"rfPrograms",
                                         L"rfRecent",         L"rfSendTo",           L"rfStartMenu",
                                         L"rfStartup",        L"rfTemplates"};

ULONG Attributes(IShellFolder* ParentFolder, LPCITEMIDLIST ID, ULONG Mask)
{
    if (!ParentFolder) return 0;
    ULONG a = Mask;
    return ParentFolder->GetAttributesOf(1, &ID, &a) == S_OK ? a & Mask : 0;
}

// The members of a set whose attribute bits are on.
template <class E>
TEnumSet<E> ToSet(ULONG Attrs, std::initializer_list<std::pair<ULONG, E>> Map)
{
    TEnumSet<E> set;
    for (const auto& [bit, member] : Map)
        if (Attrs & bit) set.Include(member);
    return set;
}

TbsShellFolder* g_desktopFolder = nullptr;
bool g_makingDesktop = false;

// Frees the desktop folder at the end of the program.
struct DesktopFolderKeeper {
    ~DesktopFolderKeeper()
    {
        delete g_desktopFolder;
        g_desktopFolder = nullptr;
    }
} g_desktopKeeper;

int DefaultMenuPopup(TWinControl* Owner, const std::vector<String>& Captions, TPoint Screen)
{
    TMenuItem root(nullptr);
    std::vector<TMenuItem*> items;
    for (const auto& c : Captions) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(c);
        root.Add(item);
        items.push_back(item);
    }
    // The skinned menu of the owner's skinned form when it has one, else the plain popup.
    TbsSkinForm* sf = Owner ? FindSkinForm(Owner->GetParentForm()) : nullptr;
    TMenuItem* chosen = sf ? TrackSkinMenu(sf, &root, Screen) : TrackPlainPopup(&root, Screen.X, Screen.Y);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == chosen) return static_cast<int>(i);
    return -1;
}

TShellMenuPopup& MenuPopup()
{
    static TShellMenuPopup popup = DefaultMenuPopup;
    return popup;
}

[[noreturn]] void RaiseDetailsError(const TbsShellFolder* Folder, DWORD Code)
{
    throw EInvalidPath(Format(L"Unable to retrieve folder details for \"%s\". Error code $%x", Folder->DisplayName(),
                              static_cast<unsigned>(Code)));
}

}  // namespace

// ---- item ID lists ----

LPITEMIDLIST IdListAlloc(size_t Size) { return static_cast<LPITEMIDLIST>(std::calloc(1, Size)); }

void IdListFree(LPITEMIDLIST List) { std::free(List); }

LPITEMIDLIST IdListNext(LPCITEMIDLIST List)
{
    auto p = reinterpret_cast<const BYTE*>(List);
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(p + ItemCount(p)));
}

int IdListCount(LPCITEMIDLIST List)
{
    int n = 0;
    for (auto p = reinterpret_cast<const BYTE*>(List); p && ItemCount(p) != 0; p += ItemCount(p)) ++n;
    return n;
}

int IdListSize(LPCITEMIDLIST List)
{
    if (!List) return 0;
    int size = 2;
    for (auto p = reinterpret_cast<const BYTE*>(List); ItemCount(p) != 0; p += ItemCount(p)) size += ItemCount(p);
    return size;
}

LPITEMIDLIST IdListCopy(LPCITEMIDLIST List)
{
    const int size = IdListSize(List);
    LPITEMIDLIST copy = IdListAlloc(size ? size : 2);
    if (copy && size) std::memcpy(copy, List, size);
    return copy;
}

LPITEMIDLIST IdListJoin(LPCITEMIDLIST A, LPCITEMIDLIST B)
{
    const int sizeA = A ? IdListSize(A) - 2 : 0;
    const int sizeB = IdListSize(B);
    LPITEMIDLIST out = IdListAlloc(sizeA + (sizeB ? sizeB : 2));
    if (!out) return nullptr;
    if (sizeA) std::memcpy(out, A, sizeA);
    if (sizeB) std::memcpy(reinterpret_cast<BYTE*>(out) + sizeA, B, sizeB);
    return out;
}

void IdListDropLast(LPITEMIDLIST List)
{
    auto p = reinterpret_cast<BYTE*>(List);
    if (!p || ItemCount(p) == 0) return;
    while (ItemCount(p + ItemCount(p)) != 0) p += ItemCount(p);
    const WORD zero = 0;
    std::memcpy(p, &zero, sizeof zero);
}

LPITEMIDLIST IdListLastItem(LPCITEMIDLIST List)
{
    auto p = reinterpret_cast<const BYTE*>(List);
    if (!p || ItemCount(p) == 0) return IdListAlloc(2);
    while (ItemCount(p + ItemCount(p)) != 0) p += ItemCount(p);
    const WORD cb = ItemCount(p);
    LPITEMIDLIST out = IdListAlloc(cb + 2);
    if (out) std::memcpy(out, p, cb);
    return out;
}

TList* IdListAncestors(LPCITEMIDLIST List)
{
    auto* out = new TList();
    const int n = IdListCount(List);
    for (int k = 0; k < n; ++k) {
        // The first k items.
        auto p = reinterpret_cast<const BYTE*>(List);
        int bytes = 0;
        for (int i = 0; i < k; ++i) {
            bytes += ItemCount(p);
            p += ItemCount(p);
        }
        LPITEMIDLIST prefix = IdListAlloc(bytes + 2);
        if (prefix && bytes) std::memcpy(prefix, List, bytes);
        out->Add(prefix);
    }
    return out;
}

void IdListAncestorsFree(TList* Ancestors)
{
    if (!Ancestors) return;
    for (int i = 0; i < Ancestors->Count(); ++i) IdListFree(static_cast<LPITEMIDLIST>(Ancestors->Items(i)));
    delete Ancestors;
}

bool IdListEqual(LPCITEMIDLIST A, LPCITEMIDLIST B)
{
    const HRESULT hr = DesktopFolderInterface()->CompareIDs(0, A, B);
    return SUCCEEDED(hr) && HRESULT_CODE(hr) == 0;
}

LPITEMIDLIST IdListDesktop()
{
    LPITEMIDLIST list = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list));
    return list;
}

// ---- sets and names ----

DWORD ObjectTypesToFlags(TShellObjectTypes ObjectTypes) { return (ObjectTypes.Bits() & 7) * 32; }

int RootFolderKind(const String& Text)
{
    for (int i = 0; i <= rfTemplates; ++i)
        if (SameText(Text, kRootNames[i])) return i;
    return -1;
}

int RootFolderCsidl(TRootFolder Root) { return kRootCsidl[Root]; }

void OleCheck(HRESULT Result)
{
    if (FAILED(Result))
        throw EOleSysError(Format(L"The shell call failed (error $%x)", static_cast<unsigned>(Result)), Result);
}

// ---- shell queries ----

std::shared_ptr<IShellFolder> DesktopFolderInterface()
{
    std::shared_ptr<IShellFolder> desktop;
    OleCheck(SHGetDesktopFolder(&desktop));
    return desktop;
}

int ShellIconIndex(LPCITEMIDLIST ID, bool Large, bool Open)
{
    SHFILEINFOW info;
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
    if (Open) flags |= SHGFI_OPENICON;
    if (!Large) flags |= SHGFI_SMALLICON;
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(ID), 0, &info, 692, flags);
    return info.iIcon;
}

bool QueryIsFolder(IShellFolder* ParentFolder, LPCITEMIDLIST ID)
{
    return Attributes(ParentFolder, ID, SFGAO_FOLDER) != 0;
}

bool QueryHasSubFolders(IShellFolder* ParentFolder, LPCITEMIDLIST ID)
{
    return Attributes(ParentFolder, ID, SFGAO_HASSUBFOLDER) != 0;
}

TbsShellFolderCapabilities QueryCapabilities(IShellFolder* ParentFolder, LPCITEMIDLIST ID)
{
    return ToSet<TbsShellFolderCapability>(Attributes(ParentFolder, ID, 0x177), {{SFGAO_CANCOPY, fcCanCopy},
                                                                                 {SFGAO_CANDELETE, fcCanDelete},
                                                                                 {SFGAO_CANLINK, fcCanLink},
                                                                                 {SFGAO_CANMOVE, fcCanMove},
                                                                                 {SFGAO_CANRENAME, fcCanRename},
                                                                                 {SFGAO_DROPTARGET, fcDropTarget},
                                                                                 {SFGAO_HASPROPSHEET, fcHasPropSheet}});
}

TbsShellFolderProperties QueryProperties(IShellFolder* ParentFolder, LPCITEMIDLIST ID)
{
    if (!ParentFolder) return {};
    constexpr ULONG kKinds = SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_REMOVABLE | SFGAO_VALIDATE;
    return ToSet<TbsShellFolderProperty>(Attributes(ParentFolder, ID, SFGAO_DISPLAYATTRMASK),
                                         {{SFGAO_GHOSTED, fpCut},
                                          {SFGAO_LINK, fpIsLink},
                                          {SFGAO_READONLY, fpReadOnly},
                                          {SFGAO_SHARE, fpShared}}) +
           ToSet<TbsShellFolderProperty>(Attributes(ParentFolder, ID, kKinds),
                                         {{SFGAO_FILESYSTEM, fpFileSystem},
                                          {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
                                          {SFGAO_REMOVABLE, fpRemovable},
                                          {SFGAO_VALIDATE, fpValidate}});
}

bool FolderHasChildren(IShellFolder* Folder, DWORD Flags)
{
    if (!Folder) return false;
    std::unique_ptr<IEnumIDList> e;
    if (Folder->EnumObjects(nullptr, Flags, &e) != S_OK || !e) return false;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    const bool any = e->Next(1, &item, &fetched) == S_OK && fetched == 1;
    IdListFree(item);
    return any;
}

String StrRetText(LPCITEMIDLIST ID, const STRRET& StrRet)
{
    String s;
    switch (StrRet.uType) {
    case STRRET_WSTR: s = StrRet.pOleStr ? StrRet.pOleStr : L""; break;
    case STRRET_OFFSET: {
        auto p = reinterpret_cast<const BYTE*>(ID);
        const WORD cb = p ? ItemCount(p) : 0;
        if (StrRet.uOffset < cb)
            s = AnsiToString(std::string_view(reinterpret_cast<const char*>(p + StrRet.uOffset), cb - StrRet.uOffset));
        break;
    }
    case STRRET_CSTR: s = AnsiToString(std::string_view(StrRet.cStr, strnlen(StrRet.cStr, sizeof StrRet.cStr))); break;
    }
    if (s.size() > 1 && s[0] == L'?' && s[1] >= L'0' && s[1] <= L'9') std::erase(s, L'?');
    return s;
}

String ItemDisplayName(IShellFolder* ParentFolder, LPCITEMIDLIST ID, DWORD Flags)
{
    if (!ParentFolder) return L"parentfolder = nil";
    STRRET sr;
    String s;
    if (ParentFolder->GetDisplayNameOf(ID, Flags, &sr) == S_OK) {
        s = StrRetText(ID, sr);
        if (sr.uType == STRRET_WSTR) std::free(sr.pOleStr);
    }
    if (StartsStr(L"::{", s) && Flags != SHGDN_NORMAL) return ItemDisplayName(ParentFolder, ID, SHGDN_NORMAL);
    return s;
}

std::shared_ptr<IShellFolder> BindShellFolder(IShellFolder* ParentFolder, LPCITEMIDLIST ID, HWND)
{
    std::shared_ptr<IShellFolder> folder;
    if (ParentFolder && ParentFolder->BindToObject(ID, &folder) == S_OK) return folder;
    // The desktop binds only lists it can read: a child's list alone names another item there.
    if (!ParentFolder) DesktopFolderInterface()->BindToObject(ID, &folder);
    return folder;
}

TbsShellFolder* FolderFromAbsoluteId(LPCITEMIDLIST ID)
{
    auto desktop = DesktopFolderInterface();
    auto sf = BindShellFolder(desktop.get(), ID, nullptr);
    // Only the desktop itself is the desktop: a folder that no longer binds (removed since) has
    // no items, rather than the desktop's under its own name.
    if (!sf && IdListCount(ID) == 0) sf = desktop;
    return new TbsShellFolder(DesktopFolder(), sf, ID);
}

TbsShellFolder* ResolveRoot(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& NewRoot)
{
    LPITEMIDLIST id = nullptr;
    HRESULT hr = S_FALSE;
    const int kind = RootFolderKind(NewRoot);
    if (kind >= 0) {
        hr = SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(static_cast<TRootFolder>(kind)), &id);
    } else if (!NewRoot.empty()) {
        String path = NewRoot;
        if (path.back() == L':') path += PathDelim;
        hr = DesktopFolderInterface()->ParseDisplayName(nullptr, path.c_str(), nullptr, &id, nullptr);
    }
    if (hr != S_OK) {
        IdListFree(id);
        const String msg = Format(L"Error setting path: \"%s\"", NewRoot);
        NewRoot = OldRoot;
        throw EInvalidPath(msg);
    }
    TbsShellFolder* folder = FolderFromAbsoluteId(id);
    IdListFree(id);
    delete OldFolder;
    return folder;
}

void SetShellMenuPopup(TShellMenuPopup Popup) { MenuPopup() = Popup ? std::move(Popup) : DefaultMenuPopup; }

void ShowShellContextMenu(TWinControl* Owner, TbsShellFolder* Folder, int X, int Y)
{
    if (!Folder || !Owner) return;
    IShellFolder* parent = Folder->ParentShellFolder();
    std::shared_ptr<IContextMenu> menu;
    LPCITEMIDLIST id = Folder->RelativeID();
    if (!parent || parent->GetUIObjectOf(Owner->Handle(), 1, &id, &menu) != S_OK || !menu) return;
    std::vector<String> captions;
    menu->QueryContextMenu(captions, CMF_EXPLORE | CMF_CANRENAME);
    if (captions.empty()) return;
    const int chosen = MenuPopup()(Owner, captions, Owner->ClientToScreen(Point(X, Y)));
    if (chosen < 0 || chosen >= static_cast<int>(captions.size())) return;
    std::string verbA;
    menu->GetCommandString(chosen, GCS_VERBA, &verbA);
    const String verb = Utf8ToString(verbA);
    bool handled = false;
    auto* hook = dynamic_cast<IShellVerbHook*>(Owner);
    if (hook) hook->ExecuteCommand(verb, handled);
    HRESULT hr = S_OK;
    if (!handled) {
        CMINVOKECOMMANDINFO info;
        info.hwnd = Owner->Handle();
        info.lpVerb = MAKEINTRESOURCEA(chosen);
        info.nShow = SW_SHOWNORMAL;
        hr = menu->InvokeCommand(&info);
    }
    if (hook) hook->CommandCompleted(verb, handled || hr == S_OK);
    if (FAILED(hr) && hr != E_NOTIMPL) throw EInOutError(vxwin::LastShellErrorText());
}

void InvokeFolderVerb(TbsShellFolder* Folder, const String& Verb)
{
    if (!Folder) return;
    IShellFolder* parent = Folder->ParentShellFolder();
    std::shared_ptr<IContextMenu> menu;
    LPCITEMIDLIST id = Folder->RelativeID();
    if (!parent || parent->GetUIObjectOf(nullptr, 1, &id, &menu) != S_OK || !menu) return;
    const std::string verb = StringToAnsi(Verb);
    CMINVOKECOMMANDINFO info;
    info.fMask = CMIC_MASK_ASYNCOK;
    info.lpVerb = verb.c_str();
    info.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&info);
}

int64_t FindDataSize(const WIN32_FIND_DATAW& FindData)
{
    if (FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(FindData.nFileSizeHigh) << 32) | FindData.nFileSizeLow);
}

TDateTime FindDataDate(const WIN32_FIND_DATAW& FindData, bool ForSort)
{
    if (!ForSort && (FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1.0;
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&FindData.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return -1.0;
    return EncodeDate(1980 + (date >> 9), (date >> 5) & 15, date & 31) +
           EncodeTime(time >> 11, (time >> 5) & 63, (time & 31) * 2, 0);
}

String FindDataText(const WIN32_FIND_DATAW& FindData, int Column)
{
    switch (Column) {
    case 1: {
        const int64_t size = FindDataSize(FindData);
        return size < 0 ? String() : IntToStr(size);
    }
    case 2: return ExtractFileExt(FindData.cFileName);
    case 3: {
        const TDateTime dt = FindDataDate(FindData);
        return dt < 0 ? String() : FormatDateTime(L"yyyy-mm-dd hh:nn", dt);
    }
    case 4: return IntToStr(FindData.dwFileAttributes);
    default: return {};
    }
}

// ---- the folder object ----

TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, std::shared_ptr<IShellFolder> SF, LPCITEMIDLIST ID)
    : FParent(AParent ? AParent : DesktopFolder()), FIShellFolder(std::move(SF))
{
    FPIDL = IdListCopy(ID);
    if (AParent) {
        FFullPIDL = IdListJoin(AParent->FFullPIDL, FPIDL);
    } else {
        LPITEMIDLIST desktop = IdListDesktop();
        FFullPIDL = IdListJoin(desktop, FPIDL);
        IdListFree(desktop);
    }
    for (TbsShellFolder* p = AParent; p; p = p->FParent)
        if (p->FParent) ++FLevel;
}

TbsShellFolder::~TbsShellFolder()
{
    IdListFree(FPIDL);
    IdListFree(FFullPIDL);
}

IShellFolder* TbsShellFolder::ParentShellFolder() const
{
    if (FParent) return FParent->FIShellFolder.get();
    static const std::shared_ptr<IShellFolder> desktop = DesktopFolderInterface();
    return desktop.get();
}

String TbsShellFolder::DisplayName() const { return ItemDisplayName(ParentShellFolder(), FPIDL, SHGDN_INFOLDER); }

String TbsShellFolder::PathName() const
{
    return ItemDisplayName(DesktopFolderInterface().get(), FFullPIDL, SHGDN_FORPARSING);
}

String TbsShellFolder::FullObjectName() const
{
    // Linux paths outgrow the classic 260 characters: the buffer holds the longest path.
    std::vector<WCHAR> buf(4097);
    return SHGetPathFromIDListEx(FFullPIDL, buf.data(), static_cast<DWORD>(buf.size()), 0) ? String(buf.data())
                                                                                           : String();
}

bool TbsShellFolder::IsFolder() const
{
    if (FIsFolder < 0) FIsFolder = QueryIsFolder(ParentShellFolder(), FPIDL) ? 1 : 0;
    return FIsFolder == 1;
}

bool TbsShellFolder::IsFileSystem() const
{
    if (FIsFileSystem < 0) FIsFileSystem = Properties().Contains(fpFileSystem) ? 1 : 0;
    return FIsFileSystem == 1;
}

bool TbsShellFolder::SubFolders() const { return QueryHasSubFolders(ParentShellFolder(), FPIDL); }

TbsShellFolderCapabilities TbsShellFolder::Capabilities() const
{
    return QueryCapabilities(ParentShellFolder(), FPIDL);
}

TbsShellFolderProperties TbsShellFolder::Properties() const { return QueryProperties(ParentShellFolder(), FPIDL); }

int TbsShellFolder::ImageIndex(bool LargeIcon) const { return ShellIconIndex(FFullPIDL, LargeIcon, false); }

bool TbsShellFolder::ExecuteDefault() const
{
    const String path = FullObjectName();
    if (path.empty()) return false;
    return reinterpret_cast<LONG_PTR>(ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW)) > 32;
}

bool TbsShellFolder::Rename(const String& NewName)
{
    if (!Capabilities().Contains(fcCanRename)) return false;
    IShellFolder* parent = ParentShellFolder();
    LPITEMIDLIST newId = nullptr;
    if (!parent || parent->SetNameOf(nullptr, FPIDL, NewName.c_str(), SHGDN_NORMAL, &newId) != S_OK || !newId) {
        IdListFree(newId);
        throw Exception(Format(L"Rename to %s failed", NewName));
    }
    IdListFree(FPIDL);
    IdListFree(FFullPIDL);
    FPIDL = newId;
    FFullPIDL = FParent ? IdListJoin(FParent->FFullPIDL, FPIDL) : IdListCopy(FPIDL);
    FFindData.reset();
    return true;
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* RootFolder, HWND Handle, int Count)
{
    if (static_cast<int>(FDetails.size()) >= Count) return;
    FDetails.clear();
    FViewHandle = Handle;
    if (!RootFolder || !RootFolder->IsFileSystem()) return;  // asked for every item: read once
    WIN32_FIND_DATAW data;
    bool gone = false;
    try {
        data = ReadFindData();
    } catch (const EInvalidPath&) {
        gone = true;  // removed since it was listed: no details, nothing raised from a paint
    }
    for (int c = 1; c <= Count; ++c) FDetails.push_back(gone ? String() : FindDataText(data, c));
}

String TbsShellFolder::DetailText(int Column) const
{
    if (FDetails.empty()) throw Exception(Format(L"%s: Missing call to LoadColumnDetails", DisplayName()));
    return Column >= 1 && Column <= static_cast<int>(FDetails.size()) ? FDetails[Column - 1] : String();
}

WIN32_FIND_DATAW TbsShellFolder::ReadFindData() const
{
    if (FFindData) return *FFindData;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(PathName().c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) RaiseDetailsError(this, GetLastError());
    FindClose(h);
    FFindData = data;
    return data;
}

// ---- the module's shared state ----

TbsShellFolder* DesktopFolder()
{
    if (!g_desktopFolder && !g_makingDesktop) {
        g_makingDesktop = true;
        LPITEMIDLIST list = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list) == S_OK && list)
            g_desktopFolder = new TbsShellFolder(nullptr, DesktopFolderInterface(), list);
        IdListFree(list);
        g_makingDesktop = false;
    }
    return g_desktopFolder;
}

TCriticalSection& ShellWatchLock()
{
    // Kept to the very end: a watch thread may still be leaving when the program ends.
    static auto* lock = new TCriticalSection();
    return *lock;
}
