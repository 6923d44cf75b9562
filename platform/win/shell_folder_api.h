// The shell namespace of the Windows stand-in, over the Linux file system: item ID lists, the
// desktop and its folders (IShellFolder), enumerations (IEnumIDList), the item menu
// (IContextMenu), special folders and file-system paths. Plain C++ interfaces, no COM: objects are
// shared (std::shared_ptr) and released by going out of scope.
//
// The namespace: the desktop (the empty ID list, "桌面") holds the home folder ("主文件夹"), the
// computer ("计算机") and the entries of the user's desktop folder. The computer holds "/" and
// every user-visible mounted volume. Below home, a volume or a desktop entry lie the folder's
// entries. An item of an ID list is a kind byte and the raw name bytes (an entry's name, a
// volume's mount point, a virtual item's tag), so names that are not UTF-8 round-trip. A path
// parses as computer / the deepest volume holding it / its components.
//
// ID lists handed out here are allocated with malloc (free them with free); texts of STRRET
// records likewise. Called by the shell folder layer of the dialogs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

using HRESULT = LONG;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }
inline constexpr HRESULT HRESULT_FROM_WIN32(DWORD code)
{
    return code == 0 ? 0 : static_cast<HRESULT>((code & 0xFFFF) | 0x80070000u);
}
inline constexpr WORD HRESULT_CODE(HRESULT hr) { return static_cast<WORD>(hr & 0xFFFF); }

// ---- item ID lists ----
struct SHITEMID {
    WORD cb;  // counts itself
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// ---- display names ----
constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
    UINT uType = STRRET_WSTR;
    union {
        LPWSTR pOleStr;
        UINT uOffset;
        char cStr[260];
    };
    STRRET() : pOleStr(nullptr) {}
};

constexpr DWORD SHGDN_NORMAL = 0x0000;
constexpr DWORD SHGDN_INFOLDER = 0x0001;
constexpr DWORD SHGDN_FOREDITING = 0x1000;
constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

// ---- enumeration ----
constexpr DWORD SHCONTF_FOLDERS = 0x20;
constexpr DWORD SHCONTF_NONFOLDERS = 0x40;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x80;

// ---- attributes ----
constexpr ULONG SFGAO_CANCOPY = 0x00000001;
constexpr ULONG SFGAO_CANMOVE = 0x00000002;
constexpr ULONG SFGAO_CANLINK = 0x00000004;
constexpr ULONG SFGAO_CANRENAME = 0x00000010;
constexpr ULONG SFGAO_CANDELETE = 0x00000020;
constexpr ULONG SFGAO_HASPROPSHEET = 0x00000040;
constexpr ULONG SFGAO_DROPTARGET = 0x00000100;
constexpr ULONG SFGAO_LINK = 0x00010000;
constexpr ULONG SFGAO_SHARE = 0x00020000;
constexpr ULONG SFGAO_READONLY = 0x00040000;
constexpr ULONG SFGAO_GHOSTED = 0x00080000;
constexpr ULONG SFGAO_HIDDEN = 0x00080000;
constexpr ULONG SFGAO_DISPLAYATTRMASK = 0x000FC000;
constexpr ULONG SFGAO_VALIDATE = 0x01000000;
constexpr ULONG SFGAO_REMOVABLE = 0x02000000;
constexpr ULONG SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

// ---- special folders ----
constexpr int CSIDL_DESKTOP = 0;
constexpr int CSIDL_PROGRAMS = 2;
constexpr int CSIDL_PERSONAL = 5;
constexpr int CSIDL_STARTUP = 7;
constexpr int CSIDL_RECENT = 8;
constexpr int CSIDL_BITBUCKET = 10;
constexpr int CSIDL_STARTMENU = 11;
constexpr int CSIDL_DESKTOPDIRECTORY = 16;
constexpr int CSIDL_DRIVES = 17;
constexpr int CSIDL_FONTS = 20;
constexpr int CSIDL_TEMPLATES = 21;
constexpr int CSIDL_COMMON_STARTMENU = 22;
constexpr int CSIDL_COMMON_PROGRAMS = 23;
constexpr int CSIDL_COMMON_STARTUP = 24;
constexpr int CSIDL_APPDATA = 26;

// ---- the item menu ----
constexpr UINT CMF_NORMAL = 0x0000;
constexpr UINT CMF_EXPLORE = 0x0004;
constexpr UINT CMF_CANRENAME = 0x0010;
constexpr UINT GCS_VERBA = 0x0000;
constexpr UINT GCS_HELPTEXTW = 0x0005;
constexpr DWORD CMIC_MASK_ASYNCOK = 0x00100000;
// lpVerb holds either a command offset (a value below 0x10000) or a verb ("open", "rename",
// "delete").
struct CMINVOKECOMMANDINFO {
    DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr;
    int nShow = 0;
};
inline const char* MAKEINTRESOURCEA(UINT_PTR offset) { return reinterpret_cast<const char*>(offset); }
inline bool IS_INTRESOURCE(const void* p) { return reinterpret_cast<UINT_PTR>(p) < 0x10000; }

class IEnumIDList {
public:
    virtual ~IEnumIDList() = default;
    // Hands out up to count new relative ID lists; S_FALSE once the items run out.
    virtual HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
};

// The commands of one or more items: "打开" (the launcher), "重命名", "删除" (to the trash).
class IContextMenu {
public:
    virtual ~IContextMenu() = default;
    // Appends the commands' captions in menu order; command i is offset i. Answers the number
    // of commands (as the code of a success result).
    virtual HRESULT QueryContextMenu(std::vector<std::wstring>& captions, UINT flags) = 0;
    // GCS_VERBA: the command's verb; GCS_HELPTEXTW: its caption (UTF-8 in out).
    virtual HRESULT GetCommandString(UINT_PTR offset, UINT type, std::string* out) = 0;
    // Runs a command. A failure's reason is kept for vxwin::LastShellErrorText.
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) = 0;
};

class IShellFolder {
public:
    virtual ~IShellFolder() = default;
    // The desktop parses absolute paths ("/" ...); other folders answer E_NOTIMPL. *attributes
    // (when given and not 0) is the mask asked and gets the item's attributes.
    virtual HRESULT ParseDisplayName(HWND owner, LPCWSTR name, ULONG* eaten, LPITEMIDLIST* idl, ULONG* attributes) = 0;
    // A snapshot of the folder's items; an unreadable folder fails.
    virtual HRESULT EnumObjects(HWND owner, DWORD flags, std::unique_ptr<IEnumIDList>* out) = 0;
    // The folder of a (relative, possibly multi-item) ID list; fails for what is no folder.
    virtual HRESULT BindToObject(LPCITEMIDLIST idl, std::shared_ptr<IShellFolder>* out) = 0;
    // Natural, case-blind order of the names, then their raw bytes: the code (HRESULT_CODE, a
    // signed 16-bit value) is 0 only for one item.
    virtual HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST a, LPCITEMIDLIST b) = 0;
    // *inOut: the attributes asked on entry, those the items share on return. An empty ID list
    // asks about this folder itself.
    virtual HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* idls, ULONG* inOut) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST idl, DWORD flags, STRRET* name) = 0;
    // Renames an entry; refuses "", ".", "..", a name with "/" and an existing name (it never
    // replaces a file). *out (when given) gets the new relative ID list.
    virtual HRESULT SetNameOf(HWND owner, LPCITEMIDLIST idl, LPCWSTR name, DWORD flags, LPITEMIDLIST* out) = 0;
    virtual HRESULT GetUIObjectOf(HWND owner, UINT count, const LPCITEMIDLIST* idls,
                                  std::shared_ptr<IContextMenu>* out) = 0;
};

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* out);
// 0 desktop, 17 computer, 5 documents (else home), 16 desktop folder, 26 the user's settings
// folder, 21 templates, 20 fonts, 10 the trash's files; others and missing folders fail.
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* out);
// The item's file-system path; FALSE (and an empty text) for the desktop and the computer, or
// when the path is longer than the buffer (MAX_PATH = 260 characters for the W call).
BOOL SHGetPathFromIDListW(LPCITEMIDLIST idl, LPWSTR path);
BOOL SHGetPathFromIDListEx(LPCITEMIDLIST idl, LPWSTR path, DWORD chars, int flags);

namespace vxwin {
// Item kinds of an ID list's items.
constexpr BYTE kShellItemVirtual = 1;  // name: "home" or "computer"
constexpr BYTE kShellItemVolume = 2;   // name: the mount point
constexpr BYTE kShellItemEntry = 3;    // name: the entry's raw bytes

// The system icon of an item (absolute ID list), an index of the program's system image lists.
enum ShellIcon {
    siFolder,
    siFolderOpen,
    siDesktop,
    siHome,
    siComputer,
    siDriveFixed,
    siDriveRemovable,
    siDriveRemote,
    siDriveCdrom,
    siDriveRam,
    siFile,
    siVideo,
    siAudio,
    siPicture,
    siCount
};
int ShellIconIndexOf(LPCITEMIDLIST absolute, bool open);
// The icon of a file-system path (a folder, or a file by its extension).
int ShellIconIndexOfPath(const std::string& path, bool open);
// The reason of the last failed item command on this thread (UTF-8 shown as a String).
std::wstring LastShellErrorText();
}  // namespace vxwin
