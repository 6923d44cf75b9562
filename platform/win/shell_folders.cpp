// The folders of the shell namespace (desktop, computer, home, volumes, file-system folders), their
// enumerations, special folders and paths. See shell_folder_api.h.
#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/shell_folder_api.h"
#include "platform/win/shell_items.h"

namespace vxwin {

std::shared_ptr<IContextMenu> MakeItemMenu(std::vector<ShellNode> nodes);

namespace {

HRESULT FromErrno(int err) { return HRESULT_FROM_WIN32(ErrnoToWin32(err)); }

HRESULT Succeed(int code) { return static_cast<HRESULT>(static_cast<WORD>(static_cast<short>(code))); }

class IdListEnum : public IEnumIDList {
public:
    explicit IdListEnum(ShellItems items) : FItems(std::move(items)) {}
    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override
    {
        ULONG n = 0;
        while (n < count && FPos < FItems.size()) {
            items[n] = EncodeIdList({FItems[FPos]});
            if (!items[n]) break;
            ++n;
            ++FPos;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override
    {
        FPos = std::min(FItems.size(), FPos + count);
        return FPos < FItems.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        FPos = 0;
        return S_OK;
    }

private:
    ShellItems FItems;
    size_t FPos = 0;
};

// The entries of a file-system folder: "." and ".." never, hidden ones (a leading ".") on
// request, an entry gone before its stat skipped.
HRESULT ListEntries(const std::string& path, DWORD flags, ShellItems* out)
{
    DIR* d = ::opendir(path.c_str());
    if (!d) return FromErrno(errno);
    const int dfd = ::dirfd(d);
    const bool folders = flags & SHCONTF_FOLDERS, others = flags & SHCONTF_NONFOLDERS;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (name[0] == '.' && !(flags & SHCONTF_INCLUDEHIDDEN)) continue;
        struct stat st;
        if (::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        bool folder = S_ISDIR(st.st_mode);
        if (S_ISLNK(st.st_mode)) folder = IsFolderPath(JoinPath(path, name));
        if (folder ? folders : others) out->push_back({kShellItemEntry, name});
    }
    ::closedir(d);
    return S_OK;
}

int KindRank(BYTE kind, std::string_view name)
{
    if (kind == kShellItemVirtual) return name == "home" ? 0 : 1;
    return kind == kShellItemVolume ? 2 : 3;
}

int CompareItems(BYTE ka, std::string_view na, BYTE kb, std::string_view nb)
{
    const int ra = KindRank(ka, na), rb = KindRank(kb, nb);
    if (ra != rb) return ra < rb ? -1 : 1;
    return CompareShellNames(na, nb);
}

LPWSTR DupString(const std::wstring& s)
{
    auto* p = static_cast<LPWSTR>(std::malloc((s.size() + 1) * sizeof(WCHAR)));
    if (p) std::wmemcpy(p, s.c_str(), s.size() + 1);
    return p;
}

// An absolute path as computer / the deepest volume holding it / its components.
HRESULT ParsePath(const std::string& raw, LPITEMIDLIST* out)
{
    std::string path;
    if (!NormalisePath(raw, &path)) return E_INVALIDARG;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return FromErrno(errno);
    const ShellVolume vol = VolumeOfPath(path);
    ShellItems items{{kShellItemVirtual, "computer"}, {kShellItemVolume, vol.mountPath}};
    size_t i = vol.mountPath == "/" ? 1 : vol.mountPath.size() + 1;
    while (i < path.size()) {
        const size_t e = std::min(path.find('/', i), path.size());
        items.push_back({kShellItemEntry, path.substr(i, e - i)});
        i = e + 1;
    }
    *out = EncodeIdList(items);
    return *out ? S_OK : E_OUTOFMEMORY;
}

class NamespaceFolder : public IShellFolder {
public:
    NamespaceFolder(ShellItems absolute, ShellNode node) : FAbsolute(std::move(absolute)), FNode(std::move(node)) {}

    HRESULT ParseDisplayName(HWND, LPCWSTR name, ULONG* eaten, LPITEMIDLIST* idl, ULONG* attributes) override
    {
        if (!idl) return E_INVALIDARG;
        *idl = nullptr;
        if (FNode.kind != NodeKind::Desktop) return E_NOTIMPL;
        if (!name) return E_INVALIDARG;
        const HRESULT hr = ParsePath(StringToUtf8(name), idl);
        if (FAILED(hr)) return hr;
        if (eaten) *eaten = static_cast<ULONG>(std::wcslen(name));
        if (attributes && *attributes) {
            LPCITEMIDLIST one = *idl;
            if (FAILED(GetAttributesOf(1, &one, attributes))) *attributes = 0;
        }
        return S_OK;
    }

    HRESULT EnumObjects(HWND, DWORD flags, std::unique_ptr<IEnumIDList>* out) override
    {
        if (!out) return E_INVALIDARG;
        ShellItems items;
        switch (FNode.kind) {
        case NodeKind::Desktop: {
            if (flags & SHCONTF_FOLDERS) {
                items.push_back({kShellItemVirtual, "home"});
                items.push_back({kShellItemVirtual, "computer"});
            }
            const std::string desk = DesktopFolderPath();
            if (!desk.empty()) ListEntries(desk, flags, &items);
            break;
        }
        case NodeKind::Computer:
            if (flags & SHCONTF_FOLDERS)
                for (const auto& v : ListVolumes()) items.push_back({kShellItemVolume, v.mountPath});
            break;
        default: {
            if (FNode.kind == NodeKind::Entry && !IsFolderPath(FNode.path)) return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
            const HRESULT hr = ListEntries(FNode.path, flags, &items);
            if (FAILED(hr)) return hr;
        }
        }
        *out = std::make_unique<IdListEnum>(std::move(items));
        return S_OK;
    }

    HRESULT BindToObject(LPCITEMIDLIST idl, std::shared_ptr<IShellFolder>* out) override
    {
        if (!out) return E_INVALIDARG;
        out->reset();
        ShellItems abs;
        ShellNode node;
        if (!Child(idl, &abs, &node) || abs.size() == FAbsolute.size()) return E_INVALIDARG;
        if (node.kind == NodeKind::Entry && !IsFolderPath(node.path)) return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
        if (node.kind == NodeKind::Volume && !IsFolderPath(node.path)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        *out = std::make_shared<NamespaceFolder>(std::move(abs), std::move(node));
        return S_OK;
    }

    HRESULT CompareIDs(LPARAM, LPCITEMIDLIST a, LPCITEMIDLIST b) override
    {
        ItemReader ra(a), rb(b);
        for (;;) {
            BYTE ka, kb;
            std::string_view na, nb;
            const bool moreA = ra.Next(&ka, &na), moreB = rb.Next(&kb, &nb);
            if (ra.Malformed() || rb.Malformed()) return E_INVALIDARG;
            if (!moreA || !moreB) return Succeed(moreA == moreB ? 0 : moreA ? 1 : -1);
            if (const int c = CompareItems(ka, na, kb, nb)) return Succeed(c);
        }
    }

    HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* idls, ULONG* inOut) override
    {
        if (!count || !idls || !inOut) return E_INVALIDARG;
        ULONG shared = *inOut;
        for (UINT i = 0; i < count; ++i) {
            ShellNode node;
            if (!Child(idls[i], &node)) return E_INVALIDARG;
            ULONG a = 0;
            if (!NodeAttributes(node, *inOut, &a)) return HRESULT_FROM_WIN32(GetLastError());
            shared &= a;
        }
        *inOut = shared;
        return S_OK;
    }

    HRESULT GetDisplayNameOf(LPCITEMIDLIST idl, DWORD flags, STRRET* name) override
    {
        if (!name) return E_INVALIDARG;
        ShellNode node;
        if (!Child(idl, &node)) return E_INVALIDARG;
        name->uType = STRRET_WSTR;
        name->pOleStr = DupString(NodeDisplayName(node, flags));
        return name->pOleStr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT SetNameOf(HWND, LPCITEMIDLIST idl, LPCWSTR newName, DWORD, LPITEMIDLIST* out) override
    {
        if (out) *out = nullptr;
        ShellItems rel;
        ShellNode node;
        if (!newName || !DecodeIdList(idl, &rel) || !Child(idl, &node) || node.kind != NodeKind::Entry)
            return E_INVALIDARG;
        const std::string name = StringToUtf8(newName);
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        if (name.size() > NAME_MAX) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        if (name != node.name) {
            std::string folder = node.path.substr(0, node.path.size() - node.name.size() - 1);
            if (folder.empty()) folder.assign(1, '/');
            const std::string to = JoinPath(folder, name);
            if (::renameat2(AT_FDCWD, node.path.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
                if (errno != EINVAL && errno != ENOSYS) return FromErrno(errno);
                // A file system without the no-replace flag: look first.
                struct stat st;
                if (::lstat(to.c_str(), &st) == 0) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
                if (::rename(node.path.c_str(), to.c_str()) != 0) return FromErrno(errno);
            }
        }
        if (out) {
            rel.back().name = name;
            *out = EncodeIdList(rel);
        }
        return S_OK;
    }

    HRESULT GetUIObjectOf(HWND, UINT count, const LPCITEMIDLIST* idls, std::shared_ptr<IContextMenu>* out) override
    {
        if (!out || !count || !idls) return E_INVALIDARG;
        std::vector<ShellNode> nodes;
        for (UINT i = 0; i < count; ++i) {
            ShellNode node;
            size_t n = 0;
            if (!Child(idls[i], &node, &n) || n == 0) return E_INVALIDARG;
            nodes.push_back(std::move(node));
        }
        *out = MakeItemMenu(std::move(nodes));
        return S_OK;
    }

private:
    // What a relative list names below this folder (count: its items).
    bool Child(LPCITEMIDLIST rel, ShellNode* node, size_t* count = nullptr) const
    {
        *node = FNode;
        return StepNodeThrough(node, rel, count);
    }
    // The same with the absolute items, for a folder object of the child.
    bool Child(LPCITEMIDLIST rel, ShellItems* abs, ShellNode* node) const
    {
        ShellItems items;
        if (!DecodeIdList(rel, &items) || !Child(rel, node)) return false;
        *abs = FAbsolute;
        abs->insert(abs->end(), items.begin(), items.end());
        return true;
    }

    ShellItems FAbsolute;
    ShellNode FNode;
};

HRESULT UserFolder(const char* dir, const char* below, LPITEMIDLIST* out)
{
    if (!dir) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::string path = dir;
    if (below) path = JoinPath(path, below);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return ParsePath(path, out);
}

// The first of the system's folders (XDG_DATA_DIRS or XDG_CONFIG_DIRS) that holds Below.
HRESULT SystemFolder(const gchar* const* dirs, const char* below, LPITEMIDLIST* out)
{
    for (; dirs && *dirs; ++dirs)
        if (UserFolder(*dirs, below, out) == S_OK) return S_OK;
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

bool IsOneOf(const std::string& ext, std::initializer_list<const char*> list)
{
    for (const char* e : list)
        if (ext == e) return true;
    return false;
}

}  // namespace

int ShellIconIndexOfPath(const std::string& path, bool open)
{
    if (IsFolderPath(path)) return open ? siFolderOpen : siFolder;
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return siFile;
    std::string ext = path.substr(dot + 1);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (IsOneOf(ext, {"mkv", "avi",  "mp4", "m4v", "mov",  "wmv", "flv",  "f4v", "mpg", "mpeg", "vob", "ts",
                      "mts", "m2ts", "3gp", "3g2", "webm", "rm",  "rmvb", "asf", "ogv", "swf",  "dv"}))
        return siVideo;
    if (IsOneOf(ext, {"mp3", "wav", "wma", "aac", "m4a", "ac3", "flac", "ogg", "oga", "opus", "amr", "ape", "mp2",
                      "mka", "ra", "aiff", "au"}))
        return siAudio;
    if (IsOneOf(ext, {"bmp", "jpg", "jpeg", "png", "gif", "tif", "tiff", "ico", "webp"})) return siPicture;
    return siFile;
}

int ShellIconIndexOf(LPCITEMIDLIST absolute, bool open)
{
    ShellNode node;
    if (!StepNodeThrough(&node, absolute, nullptr)) return siFile;
    switch (node.kind) {
    case NodeKind::Desktop: return siDesktop;
    case NodeKind::Computer: return siComputer;
    case NodeKind::Home: return siHome;
    case NodeKind::Volume:
        for (const auto& v : ListVolumes()) {
            if (v.mountPath != node.path) continue;
            switch (v.driveType) {
            case DRIVE_REMOVABLE: return siDriveRemovable;
            case DRIVE_REMOTE: return siDriveRemote;
            case DRIVE_CDROM: return siDriveCdrom;
            case DRIVE_RAMDISK: return siDriveRam;
            default: return siDriveFixed;
            }
        }
        return siDriveFixed;
    case NodeKind::Entry: return ShellIconIndexOfPath(node.path, open);
    }
    return siFile;
}

}  // namespace vxwin

using namespace vxwin;

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* out)
{
    if (!out) return E_INVALIDARG;
    *out = std::make_shared<NamespaceFolder>(ShellItems{}, ShellNode{});
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* out)
{
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    switch (csidl) {
    case CSIDL_DESKTOP: *out = EncodeIdList({}); break;
    case CSIDL_DRIVES: *out = EncodeIdList({{kShellItemVirtual, "computer"}}); break;
    case CSIDL_PERSONAL: {
        const char* docs = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
        return UserFolder(docs ? docs : g_get_home_dir(), nullptr, out);
    }
    case CSIDL_DESKTOPDIRECTORY: return UserFolder(g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP), nullptr, out);
    case CSIDL_APPDATA: return UserFolder(g_get_user_config_dir(), nullptr, out);
    case CSIDL_TEMPLATES: return UserFolder(g_get_user_special_dir(G_USER_DIRECTORY_TEMPLATES), nullptr, out);
    case CSIDL_FONTS: return UserFolder(g_get_user_data_dir(), "fonts", out);
    case CSIDL_BITBUCKET: return UserFolder(g_get_user_data_dir(), "Trash/files", out);
    // The menus' desktop entries stand for the start menu and its programs.
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU: return UserFolder(g_get_user_data_dir(), "applications", out);
    case CSIDL_COMMON_PROGRAMS:
    case CSIDL_COMMON_STARTMENU: return SystemFolder(g_get_system_data_dirs(), "applications", out);
    case CSIDL_STARTUP: return UserFolder(g_get_user_config_dir(), "autostart", out);
    case CSIDL_COMMON_STARTUP: return SystemFolder(g_get_system_config_dirs(), "autostart", out);
    // Recent files as a folder of links, where the desktop keeps them so.
    case CSIDL_RECENT: return UserFolder(g_get_user_data_dir(), "RecentDocuments", out);
    // The Internet, control panel, printers, favourites, "Send To", network, the shared desktop
    // and the printer links have no folder here.
    default: return E_INVALIDARG;
    }
    return *out ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListEx(LPCITEMIDLIST idl, LPWSTR path, DWORD chars, int)
{
    if (!path || !chars) return FALSE;
    path[0] = 0;
    ShellNode node;
    if (!StepNodeThrough(&node, idl, nullptr) || !node.HasPath()) return FALSE;
    const std::wstring p = Utf8ToString(node.path);
    if (p.size() + 1 > chars) return FALSE;
    std::wmemcpy(path, p.c_str(), p.size() + 1);
    return TRUE;
}

BOOL SHGetPathFromIDListW(LPCITEMIDLIST idl, LPWSTR path) { return SHGetPathFromIDListEx(idl, path, MAX_PATH, 0); }
