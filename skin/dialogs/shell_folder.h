// The shell folder layer the shell tree, list and combo box share: routines on item ID lists,
// the folder object TbsShellFolder that wraps one namespace item, the special root folders,
// attributes as the layer's own sets, display names, icons, column details, the item menu, the
// exception EInvalidPath and the module's shared state. UI thread only, except ShellWatchLock,
// which the folder change watcher's thread takes too.
//
// The namespace is the platform layer's (desktop, home, computer, volumes, folders); it offers no
// detail interfaces, so column details always come from the file system (LoadColumnDetails).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/date_time.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/list.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/win/win_api.h"

class TWinControl;

// ---- item ID lists (memory from malloc; whoever receives one frees it with IdListFree) ----
LPITEMIDLIST IdListAlloc(size_t Size);  // zero-filled; nullptr when no memory is left
void IdListFree(LPITEMIDLIST List);
LPITEMIDLIST IdListNext(LPCITEMIDLIST List);
int IdListCount(LPCITEMIDLIST List);
int IdListSize(LPCITEMIDLIST List);  // all counts + 2; 0 for nullptr
LPITEMIDLIST IdListCopy(LPCITEMIDLIST List);
LPITEMIDLIST IdListJoin(LPCITEMIDLIST A, LPCITEMIDLIST B);  // A may be nullptr
void IdListDropLast(LPITEMIDLIST List);                     // in place
LPITEMIDLIST IdListLastItem(LPCITEMIDLIST List);
// The proper prefixes of List as new lists, the empty list first; free with IdListAncestorsFree.
TList* IdListAncestors(LPCITEMIDLIST List);
void IdListAncestorsFree(TList* Ancestors);
bool IdListEqual(LPCITEMIDLIST A, LPCITEMIDLIST B);  // both absolute
LPITEMIDLIST IdListDesktop();

// ---- sets and names ----
enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TEnumSet<TShellObjectType>;
DWORD ObjectTypesToFlags(TShellObjectTypes ObjectTypes);

enum TbsShellFolderCapability {
    fcCanCopy,
    fcCanDelete,
    fcCanLink,
    fcCanMove,
    fcCanRename,
    fcDropTarget,
    fcHasPropSheet
};
using TbsShellFolderCapabilities = TEnumSet<TbsShellFolderCapability>;
enum TbsShellFolderProperty {
    fpCut,
    fpIsLink,
    fpReadOnly,
    fpShared,
    fpFileSystem,
    fpFileSystemAncestor,
    fpRemovable,
    fpValidate
};
using TbsShellFolderProperties = TEnumSet<TbsShellFolderProperty>;

enum TRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};
// A root name ("rfDesktop" ...) or a path.
using TRoot = String;
// The root whose name equals Text in any letter case; -1 for none.
int RootFolderKind(const String& Text);
int RootFolderCsidl(TRootFolder Root);

class EInvalidPath : public Exception {
public:
    using Exception::Exception;
};

// A failed result of the shell, raised.
class EOleSysError : public Exception {
public:
    EOleSysError(const String& Msg, HRESULT Code) : Exception(Msg), FErrorCode(Code) {}
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};
void OleCheck(HRESULT Result);

// Implemented by the shell tree and list views: the item menu asks its owner first.
class IShellVerbHook {
public:
    virtual ~IShellVerbHook() = default;
    virtual void ExecuteCommand(const String& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const String& Verb, bool Succeeded) = 0;
};

// ---- the folder object ----
class TbsShellFolder : public TObject {
public:
    // AParent nullptr: the parent is DesktopFolder. Copies ID.
    TbsShellFolder(TbsShellFolder* AParent, std::shared_ptr<IShellFolder> SF, LPCITEMIDLIST ID);
    ~TbsShellFolder() override;

    LPITEMIDLIST AbsoluteID() const { return FFullPIDL; }
    LPITEMIDLIST RelativeID() const { return FPIDL; }
    TbsShellFolder* Parent() const { return FParent; }
    int Level() const { return FLevel; }
    // The item opened as a folder; nullptr when it is none.
    IShellFolder* ShellFolder() const { return FIShellFolder.get(); }
    const std::shared_ptr<IShellFolder>& ShellFolderRef() const { return FIShellFolder; }
    HWND ViewHandle() const { return FViewHandle; }
    void SetViewHandle(HWND Value) { FViewHandle = Value; }

    IShellFolder* ParentShellFolder() const;
    String DisplayName() const;
    String PathName() const;
    // The file-system path; empty for virtual items.
    String FullObjectName() const;
    // Asked once: an item keeps its kind while its folder object lives.
    bool IsFolder() const;
    // Whether the item lives on the file system; read once, as the item's kind never changes.
    bool IsFileSystem() const;
    bool SubFolders() const;
    TbsShellFolderCapabilities Capabilities() const;
    TbsShellFolderProperties Properties() const;
    int ImageIndex(bool LargeIcon) const;
    // Opens the item through the launcher; false when it has no path or no launcher started.
    bool ExecuteDefault() const;
    // False (nothing done) without fcCanRename; raises "Rename to %s failed" when refused.
    bool Rename(const String& NewName);
    // Details of columns 1 .. Count of a file-system folder's item (RootFolder holds it); an item
    // gone since it was listed gets empty texts.
    void LoadColumnDetails(TbsShellFolder* RootFolder, HWND Handle, int Count);
    String DetailText(int Column) const;
    int DetailCount() const { return static_cast<int>(FDetails.size()); }
    // Read once and kept, like the details; EInvalidPath when the item cannot be read.
    WIN32_FIND_DATAW ReadFindData() const;

private:
    LPITEMIDLIST FPIDL = nullptr;
    LPITEMIDLIST FFullPIDL = nullptr;
    TbsShellFolder* FParent = nullptr;
    std::shared_ptr<IShellFolder> FIShellFolder;
    int FLevel = 0;
    HWND FViewHandle = nullptr;
    std::vector<String> FDetails;
    mutable int FIsFolder = -1;  // unknown until asked
    mutable int FIsFileSystem = -1;
    mutable std::optional<WIN32_FIND_DATAW> FFindData;
};

// ---- shell queries ----
std::shared_ptr<IShellFolder> DesktopFolderInterface();
int ShellIconIndex(LPCITEMIDLIST ID, bool Large, bool Open);
bool QueryIsFolder(IShellFolder* ParentFolder, LPCITEMIDLIST ID);
bool QueryHasSubFolders(IShellFolder* ParentFolder, LPCITEMIDLIST ID);
TbsShellFolderCapabilities QueryCapabilities(IShellFolder* ParentFolder, LPCITEMIDLIST ID);
TbsShellFolderProperties QueryProperties(IShellFolder* ParentFolder, LPCITEMIDLIST ID);
bool FolderHasChildren(IShellFolder* Folder, DWORD Flags);
String StrRetText(LPCITEMIDLIST ID, const STRRET& StrRet);
String ItemDisplayName(IShellFolder* ParentFolder, LPCITEMIDLIST ID, DWORD Flags);
std::shared_ptr<IShellFolder> BindShellFolder(IShellFolder* ParentFolder, LPCITEMIDLIST ID, HWND Owner);
// A folder object for an absolute list, parent DesktopFolder; no IShellFolder when the item is no
// folder (a file, a folder gone), the desktop's own for the empty list.
TbsShellFolder* FolderFromAbsoluteId(LPCITEMIDLIST ID);
// A new root folder for NewRoot (a root name or a path), OldFolder freed; when it cannot be
// resolved NewRoot goes back to OldRoot and "Error setting path" is raised (OldFolder kept).
TbsShellFolder* ResolveRoot(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& NewRoot);

// Sets a view's guard flag for a scope and puts its old value back.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag), FOld(Flag) { Flag = true; }
    ~TFlagScope() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};

// Frees the ID list it holds at the end of a scope.
struct TIdListOwner {
    LPITEMIDLIST p = nullptr;
    ~TIdListOwner() { IdListFree(p); }
};

// Links the shell view Self with the partner Value in both directions (Back is the partner's field
// pointing at Self's kind), unlinking the old partner; the new partner takes Self's root and tells
// Self when it goes.
template <class TSelf, class TPartner>
void LinkShellPartner(TSelf* Self, TPartner*& Field, TPartner* Value, TSelf* TPartner::*Back, const TRoot& Root)
{
    if (Value == Field) return;
    if (Field) Field->*Back = nullptr;
    if (Value) {
        Value->SetRoot(Root);
        Value->*Back = Self;
        Value->FreeNotification(Self);
    }
    Field = Value;
}

// The item menu of Folder at client point (X, Y) of Owner: "打开", "重命名", "删除". The owner's
// IShellVerbHook runs first; a command that fails raises its reason.
void ShowShellContextMenu(TWinControl* Owner, TbsShellFolder* Folder, int X, int Y);
void InvokeFolderVerb(TbsShellFolder* Folder, const String& Verb);
// Shows the menu's captions at a screen point and answers the index chosen, -1 for none. The
// framework's plain popup by default; the skinned menus put theirs here, tests a chooser.
using TShellMenuPopup = std::function<int(TWinControl* Owner, const std::vector<String>& Captions, TPoint Screen)>;
void SetShellMenuPopup(TShellMenuPopup Popup);

int64_t FindDataSize(const WIN32_FIND_DATAW& FindData);  // -1 for a directory
// The last write as a local date-time in 2-second steps; -1.0 when it has none (outside
// 1980-2107), and for a directory unless ForSort.
TDateTime FindDataDate(const WIN32_FIND_DATAW& FindData, bool ForSort = false);
// 1 size in bytes, 2 extension, 3 date-time, 4 attributes; a folder's size and a missing date
// are empty.
String FindDataText(const WIN32_FIND_DATAW& FindData, int Column);

// ---- the module's shared state ----
TbsShellFolder* DesktopFolder();
TCriticalSection& ShellWatchLock();
// Set by a caller around one sort, read by its compare routine.
extern TbsShellFolder* CompareFolder;
