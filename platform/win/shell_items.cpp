// Items and nodes of the shell namespace. See shell_items.h.
#include "platform/win/shell_items.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "platform/framework/strings.h"
#include "platform/win/file_api.h"

namespace vxwin {

namespace {

constexpr const char* kHomeTag = "home";
constexpr const char* kComputerTag = "computer";

bool ValidEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool IsDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RealPath(const std::string& path)
{
    char* r = ::realpath(path.c_str(), nullptr);
    if (!r) return {};
    std::string out(r);
    std::free(r);
    return out;
}

// A link whose folder lies inside the folder it leads to: following it would go round forever.
bool LinkLeadsBack(const std::string& path)
{
    const std::string target = RealPath(path);
    const auto slash = path.find_last_of('/');
    const std::string folder = RealPath(slash == 0 ? "/" : path.substr(0, slash));
    if (target.empty() || folder.empty()) return false;
    if (target == "/") return true;
    return folder == target || (folder.size() > target.size() && folder.compare(0, target.size(), target) == 0 &&
                                folder[target.size()] == '/');
}

bool Writable(const std::string& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

// Refused writing, as opposed to a link that leads nowhere.
bool ReadOnly(const std::string& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM || errno == EROFS);
}

std::string ParentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

bool CollateByLocale()
{
    const char* c = std::setlocale(LC_COLLATE, nullptr);
    return c && std::strcmp(c, "C") != 0 && std::strcmp(c, "POSIX") != 0;
}

// Compares two runs of non-digit characters, case-blind.
int CompareTextRuns(const std::wstring& a, const std::wstring& b)
{
    static const bool byLocale = CollateByLocale();
    if (byLocale) {
        const int c = std::wcscoll(a.c_str(), b.c_str());
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return a < b ? -1 : a > b ? 1 : 0;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool DecodeIdList(LPCITEMIDLIST idl, ShellItems* out)
{
    out->clear();
    if (!idl) return true;
    auto p = reinterpret_cast<const BYTE*>(idl);
    for (;;) {
        WORD cb;
        std::memcpy(&cb, p, sizeof cb);
        if (cb == 0) return true;
        if (cb < 4) return false;
        const BYTE kind = p[2];
        if (kind != kShellItemVirtual && kind != kShellItemVolume && kind != kShellItemEntry) return false;
        out->push_back({kind, std::string(reinterpret_cast<const char*>(p + 3), cb - 3)});
        p += cb;
    }
}

LPITEMIDLIST EncodeIdList(const ShellItems& items)
{
    size_t size = 2;
    for (const auto& it : items) {
        if (it.name.size() + 3 > 0xFFFF) return nullptr;
        size += it.name.size() + 3;
    }
    auto* p = static_cast<BYTE*>(std::calloc(1, size));
    if (!p) return nullptr;
    BYTE* q = p;
    for (const auto& it : items) {
        const WORD cb = static_cast<WORD>(it.name.size() + 3);
        std::memcpy(q, &cb, sizeof cb);
        q[2] = it.kind;
        std::memcpy(q + 3, it.name.data(), it.name.size());
        q += cb;
    }
    return reinterpret_cast<LPITEMIDLIST>(p);
}

bool ResolveNode(const ShellItems& absolute, ShellNode* out)
{
    ShellNode node;
    for (const auto& it : absolute) {
        switch (node.kind) {
        case NodeKind::Desktop:
            if (it.kind == kShellItemVirtual && it.name == kHomeTag) {
                node = {NodeKind::Home, HomePath(), {}};
            } else if (it.kind == kShellItemVirtual && it.name == kComputerTag) {
                node = {NodeKind::Computer, {}, {}};
            } else if (it.kind == kShellItemEntry && ValidEntryName(it.name)) {
                const std::string desk = DesktopFolderPath();
                if (desk.empty()) return false;
                node = {NodeKind::Entry, JoinPath(desk, it.name), it.name};
            } else {
                return false;
            }
            break;
        case NodeKind::Computer: {
            std::string mount;
            if (it.kind != kShellItemVolume || !NormalisePath(it.name, &mount) || mount != it.name) return false;
            node = {NodeKind::Volume, mount, mount};
            break;
        }
        default:
            if (it.kind != kShellItemEntry || !ValidEntryName(it.name)) return false;
            node = {NodeKind::Entry, JoinPath(node.path, it.name), it.name};
            break;
        }
    }
    *out = node;
    return true;
}

bool IsFolderPath(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    struct stat lst;
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) return !LinkLeadsBack(path);
    return true;
}

bool NodeAttributes(const ShellNode& node, ULONG mask, ULONG* out)
{
    constexpr ULONG kFolderBits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    ULONG a = 0;
    switch (node.kind) {
    case NodeKind::Desktop:
    case NodeKind::Computer: a = kFolderBits; break;
    case NodeKind::Home:
    case NodeKind::Volume:
        a = kFolderBits | SFGAO_FILESYSTEM;
        if ((mask & SFGAO_READONLY) && ReadOnly(node.path)) a |= SFGAO_READONLY;
        break;
    case NodeKind::Entry: {
        struct stat lst;
        if (::lstat(node.path.c_str(), &lst) != 0) {
            SetLastError(ErrnoToWin32(errno));
            return false;
        }
        a = SFGAO_FILESYSTEM;
        if (S_ISLNK(lst.st_mode)) a |= SFGAO_LINK;
        if (IsFolderPath(node.path)) a |= kFolderBits;
        if (node.name[0] == '.') a |= SFGAO_GHOSTED | SFGAO_HIDDEN;
        if ((mask & SFGAO_READONLY) && ReadOnly(node.path)) a |= SFGAO_READONLY;
        constexpr ULONG kChanges = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE | SFGAO_CANCOPY;
        if ((mask & kChanges) && Writable(ParentOf(node.path))) a |= kChanges;
        break;
    }
    }
    if ((mask & SFGAO_REMOVABLE) && node.HasPath()) {
        std::string norm;
        if (NormalisePath(node.path, &norm) && VolumeOfPath(norm).removable) a |= SFGAO_REMOVABLE;
    }
    *out = a & mask;
    return true;
}

std::wstring NodeDisplayName(const ShellNode& node, DWORD flags)
{
    const bool parsing = (flags & SHGDN_FORPARSING) != 0;
    switch (node.kind) {
    case NodeKind::Desktop: return parsing ? L"::{desktop}" : L"桌面";
    case NodeKind::Computer: return parsing ? L"::{computer}" : L"计算机";
    case NodeKind::Home: return parsing ? Utf8ToString(node.path) : L"主文件夹";
    case NodeKind::Volume: {
        if (parsing) return Utf8ToString(node.path);
        for (const auto& v : ListVolumes())
            if (v.mountPath == node.path) return v.DisplayName();
        ShellVolume v;
        v.mountPath = node.path;
        return v.DisplayName();
    }
    case NodeKind::Entry: return Utf8ToString(parsing && !(flags & SHGDN_INFOLDER) ? node.path : node.name);
    }
    return {};
}

std::string HomePath()
{
    std::string home;
    if (!NormalisePath(g_get_home_dir(), &home)) home = "/";
    return home;
}

std::string DesktopFolderPath()
{
    const char* d = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP);
    std::string desk;
    if (!d || !NormalisePath(d, &desk) || !IsDirectory(desk)) return {};
    if (desk == HomePath() || RealPath(desk) == RealPath(HomePath())) return {};
    return desk;
}

int CompareShellNames(std::string_view a, std::string_view b)
{
    const String wa = Utf8ToString(a), wb = Utf8ToString(b);
    size_t i = 0, j = 0;
    while (i < wa.size() && j < wb.size()) {
        if (IsDigit(wa[i]) && IsDigit(wb[j])) {
            size_t ie = i, je = j;
            while (ie < wa.size() && IsDigit(wa[ie])) ++ie;
            while (je < wb.size() && IsDigit(wb[je])) ++je;
            size_t is = i, js = j;
            while (is + 1 < ie && wa[is] == L'0') ++is;
            while (js + 1 < je && wb[js] == L'0') ++js;
            if (ie - is != je - js) return ie - is < je - js ? -1 : 1;
            const int c = wa.compare(is, ie - is, wb, js, je - js);
            if (c != 0) return c < 0 ? -1 : 1;
            i = ie;
            j = je;
            continue;
        }
        std::wstring ra, rb;
        while (i < wa.size() && !IsDigit(wa[i])) ra += static_cast<wchar_t>(std::towlower(wa[i++]));
        while (j < wb.size() && !IsDigit(wb[j])) rb += static_cast<wchar_t>(std::towlower(wb[j++]));
        const size_t k = std::min(ra.size(), rb.size());
        if (ra.size() != rb.size() && ra.compare(0, k, rb, 0, k) == 0) {
            // One run begins the other: what follows the shorter one (a digit, or the end) meets
            // the longer one's next character, as in a character-by-character order.
            const bool aShort = ra.size() < rb.size();
            const String& w = aShort ? wa : wb;
            const size_t pos = aShort ? i : j;
            if (pos >= w.size()) return aShort ? -1 : 1;
            int c = CompareTextRuns(std::wstring(1, w[pos]), std::wstring(1, (aShort ? rb : ra)[k]));
            if (c == 0) c = -1;
            return aShort ? c : -c;
        }
        const int c = CompareTextRuns(ra, rb);
        if (c != 0) return c;
    }
    if (i < wa.size() || j < wb.size()) return i < wa.size() ? 1 : -1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool NormalisePath(std::string_view path, std::string* out)
{
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string_view::npos) return false;
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '/') ++i;
        size_t e = i;
        while (e < path.size() && path[e] != '/') ++e;
        const std::string_view part = path.substr(i, e - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = e;
    }
    out->clear();
    for (auto p : parts) {
        *out += '/';
        out->append(p);
    }
    if (out->empty()) *out = "/";
    return true;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

namespace {
thread_local std::wstring g_lastShellError;
}

void SetLastShellErrorText(const std::wstring& text) { g_lastShellError = text; }
std::wstring LastShellErrorText() { return g_lastShellError; }

}  // namespace vxwin
