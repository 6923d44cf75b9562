#include "platform/framework/core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

namespace {

std::string U(const String& s) { return StringToUtf8(s); }

bool StatIs(const String& name, mode_t kind)
{
    struct stat st;
    return !name.empty() && ::stat(U(name).c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

}  // namespace

bool FileExists(const String& name) { return StatIs(name, S_IFREG); }
bool DirectoryExists(const String& name) { return StatIs(name, S_IFDIR); }

bool CreateDir(const String& dir) { return ::mkdir(U(dir).c_str(), 0777) == 0; }

bool ForceDirectories(const String& dirIn)
{
    const String dir = ExcludeTrailingPathDelimiter(dirIn);
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    const String parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDir(dir) || DirectoryExists(dir);
}

bool RemoveDir(const String& dir) { return ::rmdir(U(dir).c_str()) == 0; }
bool DeleteFile(const String& name) { return FileExists(name) && ::unlink(U(name).c_str()) == 0; }
bool RenameFile(const String& from, const String& to)
{
    // Never replaces an existing target, as the classic routine does not.
    struct stat st;
    if (::stat(U(to).c_str(), &st) == 0) return false;
    return ::rename(U(from).c_str(), U(to).c_str()) == 0;
}

String ExtractFileName(const String& path)
{
    const size_t p = path.find_last_of(PathDelim);
    return p == String::npos ? path : path.substr(p + 1);
}

String ExtractFilePath(const String& path)
{
    const size_t p = path.find_last_of(PathDelim);
    return p == String::npos ? String() : path.substr(0, p + 1);
}

String ExtractFileDir(const String& path)
{
    const size_t p = path.find_last_of(PathDelim);
    if (p == String::npos) return String();
    return p == 0 ? String(1, PathDelim) : path.substr(0, p);
}

String ExtractFileExt(const String& path)
{
    const size_t p = path.find_last_of(L"./");
    if (p == String::npos || path[p] != L'.') return String();
    return path.substr(p);
}

String ChangeFileExt(const String& path, const String& ext)
{
    const size_t p = path.find_last_of(L"./");
    if (p == String::npos || path[p] != L'.') return path + ext;
    return path.substr(0, p) + ext;
}

String IncludeTrailingPathDelimiter(const String& path)
{
    if (!path.empty() && path.back() == PathDelim) return path;
    return path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path)
{
    String r = path;
    while (r.size() > 1 && r.back() == PathDelim) r.pop_back();
    return r;
}

String ExpandFileName(const String& path)
{
    String full = path;
    if (full.empty() || full[0] != PathDelim) full = IncludeTrailingPathDelimiter(GetCurrentDir()) + path;
    // Fold "." and ".." without touching the disk.
    std::vector<String> parts;
    size_t start = 1;
    while (start <= full.size()) {
        size_t end = full.find(PathDelim, start);
        if (end == String::npos) end = full.size();
        String part = full.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    String r;
    for (auto& p : parts) r += PathDelim + p;
    if (r.empty() || (!path.empty() && path.back() == PathDelim)) r += PathDelim;
    return r;
}

String GetCurrentDir()
{
    char buf[PATH_MAX];
    return ::getcwd(buf, sizeof buf) ? Utf8ToString(buf) : String();
}

bool SetCurrentDir(const String& dir) { return ::chdir(U(dir).c_str()) == 0; }

int64_t FileSizeOf(const String& name)
{
    struct stat st;
    if (::stat(U(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return st.st_size;
}

bool MatchesMask(const String& nameIn, const String& maskIn)
{
    const String name = LowerCase(nameIn), mask = LowerCase(maskIn);
    // Iterative wildcard match with backtracking on the last '*'.
    size_t n = 0, m = 0, star = String::npos, mark = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == L'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == L'*') {
            star = m++;
            mark = n;
        } else if (star != String::npos) {
            m = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*') ++m;
    return m == mask.size();
}

namespace {

std::vector<String> ListEntries(const String& dir, const String& mask, bool wantDirs)
{
    std::vector<String> out;
    DIR* d = ::opendir(U(dir.empty() ? String(L".") : dir).c_str());
    if (!d) return out;
    const String base = IncludeTrailingPathDelimiter(dir);
    while (dirent* e = ::readdir(d)) {
        const String name = Utf8ToString(e->d_name);
        if (name == L"." || name == L"..") continue;
        const bool isDir = DirectoryExists(base + name);
        if (isDir != wantDirs) continue;
        if (wantDirs || MatchesMask(name, mask)) out.push_back(name);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

std::vector<String> ListFiles(const String& dir, const String& mask) { return ListEntries(dir, mask, false); }
std::vector<String> ListDirectories(const String& dir) { return ListEntries(dir, L"*", true); }

String ExeFileName()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return String();
    buf[n] = 0;
    return Utf8ToString(buf);
}

String HomeDir()
{
    const char* h = std::getenv("HOME");
    return Utf8ToString(h && *h ? h : "/tmp");
}

String GetTempDirectory()
{
    const char* t = std::getenv("TMPDIR");
    return IncludeTrailingPathDelimiter(Utf8ToString(t && *t ? t : "/tmp"));
}

bool ReadFileBytes(const String& name, std::string& out)
{
    FILE* f = std::fopen(U(name).c_str(), "rb");
    if (!f) return false;
    out.clear();
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

void WriteFileAtomically(const String& name, const std::string& data)
{
    const std::string target = U(name);
    std::string tmp = target + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    auto fail = [&](int err) {
        throw EFCreateError(L"Cannot create file \"" + name + L"\". " + Utf8ToString(std::strerror(err)));
    };
    if (fd < 0) fail(errno);
    size_t off = 0;
    while (off < data.size()) {
        const ssize_t w = ::write(fd, data.data() + off, data.size() - off);
        if (w < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            fail(err);
        }
        off += static_cast<size_t>(w);
    }
    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(err);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(err);
    }
}
