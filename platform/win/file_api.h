// File and volume queries of the Windows stand-in: an item's find data (stat of one path), file
// times and DOS dates, the thread's last error, and the mounted volumes (GIO's unix-mount list,
// "/" first) with their type, label and remote source. Called by the shell folder layer and the
// file-system controls of the dialogs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_CANT_RESOLVE_FILENAME = 1921;
constexpr DWORD ERROR_NOT_CONNECTED = 2250;

DWORD GetLastError();
void SetLastError(DWORD code);

constexpr int MAX_PATH = 260;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(-1);

// 100-nanosecond steps since 1601-01-01 (UTC, or local time after FileTimeToLocalFileTime).
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    WCHAR cFileName[MAX_PATH] = {};
    WCHAR cAlternateFileName[14] = {};
};

// The find data of exactly one path (links followed; a dangling or looping link describes the
// link itself): no wildcards, so names with "*" and "?" are found as they are. Attributes:
// directory 0x10, not writable 0x01, hidden (a leading ".") 0x02, device, fifo or socket 0x04,
// everything else 0x20. cFileName gets as much of the name as fits. INVALID_HANDLE_VALUE and
// the last error when the path cannot be read.
HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE find);

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
// FALSE outside 1980-01-01 .. 2107-12-31 (DOS dates); seconds in 2-second steps.
BOOL FileTimeToDosDateTime(const FILETIME* ft, WORD* date, WORD* time);

// ---- volumes ----
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x01;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x02;

// By mount point: DRIVE_NO_ROOT_DIR when no listed volume is mounted there.
UINT GetDriveTypeW(LPCWSTR root);
BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, DWORD* serialNumber,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize);
// The source of a remote volume ("server:/export", "//server/share") by its mount point;
// ERROR_NOT_CONNECTED for a local one, ERROR_MORE_DATA (and the size needed) for a short buffer.
DWORD WNetGetConnectionW(LPCWSTR localName, LPWSTR remoteName, DWORD* length);

namespace vxwin {
// One mounted volume as the computer lists it.
struct ShellVolume {
    std::string mountPath;  // raw bytes
    std::string device;     // the mount's source
    std::string fsType;
    std::wstring label;  // from /dev/disk/by-label, may be empty
    UINT driveType = DRIVE_FIXED;
    bool removable = false;   // the device's own flag (CD-ROM drives have it too)
    bool ignoreCase = false;  // vfat, exfat, ntfs, iso9660
    // The label, else the mount point's folder name ("/" for the root).
    std::wstring DisplayName() const;
};
// "/" first, then each user-visible mount in mount order (a mount point listed once).
std::vector<ShellVolume> ListVolumes();
// The deepest listed volume whose mount point holds the path (raw bytes, absolute, normalised).
ShellVolume VolumeOfPath(const std::string& path);

// A mount as the mount table reports it; tests replace the table.
struct MountEntry {
    std::string mountPath;
    std::string device;
    std::string fsType;
    bool userVisible = false;
};
using MountTableFn = std::function<std::vector<MountEntry>()>;
// nullptr restores GIO's table. labelDir and sysBlockDir default to /dev/disk/by-label and
// /sys/class/block (empty keeps the current one).
void SetMountTableForTest(MountTableFn table, const std::string& labelDir = {}, const std::string& sysBlockDir = {});

// errno as a Windows error code.
DWORD ErrnoToWin32(int err);
}  // namespace vxwin
