#include "skin/dialogs/file_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cwchar>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/canvas.h"

namespace {

const String kCutMark = L".../";

bool StatOf(const String& Name, struct stat& St)
{
    return !Name.empty() && ::stat(StringToUtf8(Name).c_str(), &St) == 0;
}

bool IsExistingFile(const String& Name)
{
    struct stat st;
    return StatOf(Name, st) && !S_ISDIR(st.st_mode);
}

// Part taken against Base: itself when rooted.
String Resolve(const String& Base, const String& Part)
{
    if (!Part.empty() && Part[0] == L'/') return Part;
    return AppendPathPart(Base.empty() ? String(L"/") : Base, Part);
}

// The folder Part names from Base, which must exist and be searchable, as a change of the
// current directory would demand.
String EnterFolder(const String& Base, const String& Part)
{
    const String target = Resolve(Base, Part);
    struct stat st;
    int err = 0;
    if (!StatOf(target, st))
        err = target.empty() ? ENOENT : errno;
    else if (!S_ISDIR(st.st_mode))
        err = ENOTDIR;
    else if (::access(StringToUtf8(target).c_str(), X_OK) != 0)
        err = errno;
    if (err != 0) throw EInOutError(L"I/O error " + IntToStr(vxwin::ErrnoToWin32(err)));
    return target;
}

}  // namespace

bool IsExistingDirectory(const String& Name)
{
    struct stat st;
    return StatOf(Name, st) && S_ISDIR(st.st_mode);
}

String AppendPathPart(const String& Path, const String& Part)
{
    if (!Path.empty() && Path.back() == L'/') return Path + Part;
    return Path + L"/" + Part;
}

void DropFirstDirectory(String& Dir)
{
    if (Dir == L"/") {
        Dir.clear();
        return;
    }
    const bool rooted = !Dir.empty() && Dir[0] == L'/';
    if (rooted) Dir.erase(0, 1);
    // Only the mark of an earlier cut goes: a hidden folder's name starts with a dot too.
    if (Dir.compare(0, kCutMark.size(), kCutMark) == 0) Dir.erase(0, kCutMark.size());
    const size_t slash = Dir.find(L'/');
    if (slash == String::npos)
        Dir.clear();
    else
        Dir = kCutMark + Dir.substr(slash + 1);
    if (rooted) Dir.insert(0, 1, L'/');
}

String ShortenPathToWidth(const String& Path, TCanvas* Canvas, int MaxWidth)
{
    String result = Path;
    const size_t slash = Path.rfind(L'/');
    String dir = slash == String::npos ? String() : Path.substr(0, slash + 1);
    const String name = slash == String::npos ? Path : Path.substr(slash + 1);
    while (!dir.empty() && Canvas->TextWidth(result) > MaxWidth) {
        if (dir == L"/" + kCutMark)
            dir = kCutMark;
        else
            DropFirstDirectory(dir);
        result = dir + name;
    }
    return result;
}

String DriveVolumeLabel(const vxwin::ShellVolume& Volume)
{
    WCHAR label[MAX_PATH + 1] = {};
    const String root = Utf8ToString(Volume.mountPath);
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) label[0] = 0;
    return L"[" + String(label) + L"]";
}

String NetworkDriveName(const vxwin::ShellVolume& Volume)
{
    const String root = Utf8ToString(Volume.mountPath);
    DWORD length = MAX_PATH;
    String remote(length, L'\0');
    DWORD rc = WNetGetConnectionW(root.c_str(), remote.data(), &length);
    if (rc == ERROR_MORE_DATA) {
        remote.assign(length, L'\0');
        rc = WNetGetConnectionW(root.c_str(), remote.data(), &length);
    }
    if (rc != NO_ERROR) return DriveVolumeLabel(Volume);
    remote.resize(std::wcslen(remote.c_str()));
    return remote;
}

void SplitEditPath(const String& Text, const String& CurrentDir, String& DirPart, String& FilePart)
{
    DirPart = Text;
    if (DirPart.size() >= 2 && DirPart.front() == L'[' && DirPart.back() == L']')
        DirPart = DirPart.substr(1, DirPart.size() - 2);
    // Where the text's relative parts lead, as the current directory would follow them.
    String here = CurrentDir;
    const size_t slash = DirPart.rfind(L'/');
    FilePart = slash == String::npos ? DirPart : DirPart.substr(slash + 1);
    if (DirPart.size() == FilePart.size() + 1)
        DirPart = L"/";
    else if (DirPart.size() > FilePart.size())
        DirPart.resize(DirPart.size() - FilePart.size() - 1);
    else
        DirPart = CurrentDir.empty() ? String(L"/") : CurrentDir;
    if (!DirPart.empty()) here = EnterFolder(here, DirPart);
    const bool wild = FilePart.find_first_of(L"*?") != String::npos;
    if (!FilePart.empty() && !wild && !IsExistingFile(Resolve(here, FilePart))) {
        // Not a file: it must be a folder, which becomes the folder part.
        here = EnterFolder(here, FilePart);
        DirPart = DirPart == L"/" ? L"/" + FilePart : DirPart + L"/" + FilePart;
        FilePart.clear();
    }
}

int CountPathSeparators(const String& Path) { return static_cast<int>(std::count(Path.begin(), Path.end(), L'/')); }
