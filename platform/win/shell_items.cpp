// Items and nodes of the shell namespace. See shell_items.h.
#include "platform/win/shell_items.h"

#include <dirent.h>
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

#include "platform/base/utf.h"
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

// Compares two runs of other characters by the locale's collation.
int CompareTextRuns(const std::wstring& a, const std::wstring& b)
{
    const int c = std::wcscoll(a.c_str(), b.c_str());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool ItemReader::Next(BYTE* kind, std::string_view* name)
{
    if (!FPos || FBad) return false;
    WORD cb;
    std::memcpy(&cb, FPos, sizeof cb);
    if (cb == 0) return false;
    if (cb < 4 || (FPos[2] != kShellItemVirtual && FPos[2] != kShellItemVolume && FPos[2] != kShellItemEntry)) {
        FBad = true;
        return false;
    }
    *kind = FPos[2];
    *name = std::string_view(reinterpret_cast<const char*>(FPos + 3), cb - 3);
    FPos += cb;
    return true;
}

bool DecodeIdList(LPCITEMIDLIST idl, ShellItems* out)
{
    out->clear();
    ItemReader r(idl);
    BYTE kind;
    std::string_view name;
    while (r.Next(&kind, &name)) out->push_back({kind, std::string(name)});
    return !r.Malformed();
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

bool StepNode(ShellNode* node, BYTE kind, std::string_view name)
{
    switch (node->kind) {
    case NodeKind::Desktop:
        if (kind == kShellItemVirtual && name == kHomeTag) {
            *node = {NodeKind::Home, HomePath(), {}};
        } else if (kind == kShellItemVirtual && name == kComputerTag) {
            *node = {NodeKind::Computer, {}, {}};
        } else if (kind == kShellItemEntry && ValidEntryName(name)) {
            const std::string desk = DesktopFolderPath();
            if (desk.empty()) return false;
            *node = {NodeKind::Entry, JoinPath(desk, std::string(name)), std::string(name)};
        } else {
            return false;
        }
        return true;
    case NodeKind::Computer: {
        std::string mount;
        if (kind != kShellItemVolume || !NormalisePath(name, &mount) || mount != name) return false;
        *node = {NodeKind::Volume, mount, mount};
        return true;
    }
    default:
        if (kind != kShellItemEntry || !ValidEntryName(name)) return false;
        node->kind = NodeKind::Entry;
        if (node->path != "/") node->path += '/';
        node->path.append(name);
        node->name.assign(name);
        return true;
    }
}

bool StepNodeThrough(ShellNode* node, LPCITEMIDLIST idl, size_t* count)
{
    ItemReader r(idl);
    BYTE kind;
    std::string_view name;
    size_t n = 0;
    while (r.Next(&kind, &name)) {
        if (!StepNode(node, kind, name)) return false;
        ++n;
    }
    if (count) *count = n;
    return !r.Malformed();
}

bool ResolveNode(const ShellItems& absolute, ShellNode* out)
{
    ShellNode node;
    for (const auto& it : absolute)
        if (!StepNode(&node, it.kind, it.name)) return false;
    *out = node;
    return true;
}

bool IsFolderPath(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return false;
    if (!S_ISLNK(st.st_mode)) return S_ISDIR(st.st_mode);
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && !LinkLeadsBack(path);
}

// Whether a folder holds at least one folder (read only when a caller asks).
bool HasSubFolder(const std::string& path)
{
    DIR* d = ::opendir(path.c_str());
    if (!d) return false;
    bool found = false;
    while (!found) {
        const dirent* e = ::readdir(d);
        if (!e) break;
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        if (e->d_type == DT_DIR) found = true;
        else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) found = IsFolderPath(path + "/" + e->d_name);
    }
    ::closedir(d);
    return found;
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
        const bool link = S_ISLNK(lst.st_mode);
        if (link) a |= SFGAO_LINK;
        if (link ? IsFolderPath(node.path) : S_ISDIR(lst.st_mode)) {
            a |= kFolderBits & ~SFGAO_HASSUBFOLDER;
            if ((mask & SFGAO_HASSUBFOLDER) && HasSubFolder(node.path)) a |= SFGAO_HASSUBFOLDER;
        }
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
    if (NormalisePath(g_get_home_dir(), &home)) return home;
    return std::string(1, '/');
}

std::string DesktopFolderPath()
{
    const char* d = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP);
    std::string desk;
    if (!d || !NormalisePath(d, &desk) || !IsDirectory(desk)) return {};
    if (desk == HomePath() || RealPath(desk) == RealPath(HomePath())) return {};
    return desk;
}

namespace {

char32_t Fold(char32_t c)
{
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
}

bool IsDigitByte(std::string_view s, size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; }

// Both at a run of digits: compares the numbers; moves both past their runs.
int CompareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j)
{
    size_t ie = i, je = j;
    while (IsDigitByte(a, ie)) ++ie;
    while (IsDigitByte(b, je)) ++je;
    size_t is = i, js = j;
    while (is + 1 < ie && a[is] == '0') ++is;
    while (js + 1 < je && b[js] == '0') ++js;
    i = ie;
    j = je;
    if (ie - is != je - js) return ie - is < je - js ? -1 : 1;
    const int c = a.substr(is, ie - is).compare(b.substr(js, je - js));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Character by character, case-blind, digit runs as numbers.
int CompareByCharacters(std::string_view a, std::string_view b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigitByte(a, i) && IsDigitByte(b, j)) {
            if (const int c = CompareNumbers(a, i, b, j)) return c;
            continue;
        }
        const char32_t ca = Fold(NextUtf8Char(a, i)), cb = Fold(NextUtf8Char(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return 0;
}

// By the locale's collation: runs of other characters compared as wholes.
int CompareByCollation(std::string_view a8, std::string_view b8)
{
    const std::wstring wa = Utf8ToString(a8), wb = Utf8ToString(b8);
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
            const std::wstring& w = aShort ? wa : wb;
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
    return 0;
}

}  // namespace

int CompareShellNames(std::string_view a, std::string_view b)
{
    static const bool byLocale = CollateByLocale();
    if (const int c = byLocale ? CompareByCollation(a, b) : CompareByCharacters(a, b)) return c;
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
    if (out->empty()) out->push_back('/');
    return true;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    if (folder != "/") out.append(folder);
    out.push_back('/');
    out.append(name);
    return out;
}

namespace {
thread_local std::wstring g_lastShellError;
}

void SetLastShellErrorText(const std::wstring& text) { g_lastShellError = text; }
std::wstring LastShellErrorText() { return g_lastShellError; }

}  // namespace vxwin
