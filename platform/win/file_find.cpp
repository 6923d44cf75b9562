// Find data of one path, file times and DOS dates, the thread's last error. See file_api.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <cwchar>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/handle_table.h"

namespace vxwin {

namespace {

thread_local DWORD g_lastError = 0;

struct FindObject : Object {
    static constexpr ObjKind kKind = ObjKind::Find;
    FindObject() : Object(kKind) {}
};

constexpr long long kEpochDiff = 11644473600LL;  // seconds from 1601-01-01 to 1970-01-01

FILETIME ToFileTime(const struct timespec& ts)
{
    const unsigned long long v = static_cast<unsigned long long>(ts.tv_sec + kEpochDiff) * 10000000ULL +
                                 static_cast<unsigned long long>(ts.tv_nsec / 100);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(v);
    ft.dwHighDateTime = static_cast<DWORD>(v >> 32);
    return ft;
}

long long FileTimeSeconds(const FILETIME& ft)
{
    const unsigned long long v = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<long long>(v / 10000000ULL) - kEpochDiff;
}

}  // namespace

DWORD ErrnoToWin32(int err)
{
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    default: return 0x20000000u | static_cast<DWORD>(err);  // an errno kept as an application code
    }
}

}  // namespace vxwin

using namespace vxwin;

DWORD GetLastError() { return g_lastError; }
void SetLastError(DWORD code) { g_lastError = code; }

HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data)
{
    if (!path || !data || !*path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string p = StringToUtf8(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0 && ::lstat(p.c_str(), &st) != 0) {
        SetLastError(ErrnoToWin32(errno));
        return INVALID_HANDLE_VALUE;
    }
    *data = WIN32_FIND_DATAW();
    std::string name = p;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    name = name.substr(name.find_last_of('/') + 1);
    if (name.empty()) name.assign(1, '/');
    const bool dir = S_ISDIR(st.st_mode);
    DWORD attrs = 0;
    if (dir) attrs |= FILE_ATTRIBUTE_DIRECTORY;
    if (::faccessat(AT_FDCWD, p.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM || errno == EROFS))
        attrs |= FILE_ATTRIBUTE_READONLY;
    if (name[0] == '.' && name != "/") attrs |= FILE_ATTRIBUTE_HIDDEN;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        attrs |= FILE_ATTRIBUTE_SYSTEM;
    if (!dir && !(attrs & FILE_ATTRIBUTE_SYSTEM)) attrs |= FILE_ATTRIBUTE_ARCHIVE;
    data->dwFileAttributes = attrs;
    data->ftCreationTime = ToFileTime(st.st_ctim);
    data->ftLastAccessTime = ToFileTime(st.st_atim);
    data->ftLastWriteTime = ToFileTime(st.st_mtim);
    if (!dir) {
        const auto size = static_cast<unsigned long long>(st.st_size);
        data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(size);
    }
    const std::wstring wname = Utf8ToString(name);
    const size_t n = std::min<size_t>(wname.size(), MAX_PATH - 1);
    std::wmemcpy(data->cFileName, wname.data(), n);
    data->cFileName[n] = 0;
    SetLastError(ERROR_SUCCESS);
    return Register<HANDLE>(std::make_shared<FindObject>());
}

BOOL FindClose(HANDLE find)
{
    if (!Lookup<FindObject>(find)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    RemoveHandle(find);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local)
{
    if (!utc || !local) return FALSE;
    const time_t secs = static_cast<time_t>(FileTimeSeconds(*utc));
    struct tm tm;
    if (!::localtime_r(&secs, &tm)) return FALSE;
    const long long shift = static_cast<long long>(tm.tm_gmtoff) * 10000000LL;
    const unsigned long long v =
        ((static_cast<unsigned long long>(utc->dwHighDateTime) << 32) | utc->dwLowDateTime) + shift;
    local->dwLowDateTime = static_cast<DWORD>(v);
    local->dwHighDateTime = static_cast<DWORD>(v >> 32);
    return TRUE;
}

BOOL FileTimeToDosDateTime(const FILETIME* ft, WORD* date, WORD* time)
{
    if (!ft || !date || !time) return FALSE;
    const time_t secs = static_cast<time_t>(FileTimeSeconds(*ft));
    struct tm tm;
    if (!::gmtime_r(&secs, &tm)) return FALSE;
    const int year = tm.tm_year + 1900;
    if (year < 1980 || year > 2107) return FALSE;
    *date = static_cast<WORD>(((year - 1980) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    *time = static_cast<WORD>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
    return TRUE;
}
