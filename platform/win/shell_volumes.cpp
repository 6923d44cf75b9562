// Mounted volumes: GIO's unix-mount table (no GLib main loop), labels from the by-label links,
// removable devices from sysfs; the volume queries over them. See file_api.h.
#include <gio/gunixmounts.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/shell_items.h"

namespace vxwin {

namespace {

struct VolumeSources {
    MountTableFn table;
    std::string labelDir = "/dev/disk/by-label";
    std::string sysBlockDir = "/sys/class/block";
};

std::mutex& SourcesLock()
{
    static std::mutex m;
    return m;
}
VolumeSources& Sources()
{
    static auto* s = new VolumeSources();
    return *s;
}

std::vector<MountEntry> GioMountTable()
{
    std::vector<MountEntry> out;
    GList* mounts = g_unix_mounts_get(nullptr);
    for (GList* l = mounts; l; l = l->next) {
        auto* m = static_cast<GUnixMountEntry*>(l->data);
        MountEntry e;
        e.mountPath = g_unix_mount_get_mount_path(m);
        e.device = g_unix_mount_get_device_path(m);
        e.fsType = g_unix_mount_get_fs_type(m);
        e.userVisible = g_unix_mount_guess_should_display(m);
        out.push_back(std::move(e));
        g_unix_mount_free(m);
    }
    g_list_free(mounts);
    return out;
}

std::string RealPathOf(const std::string& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

// "\x20" and the like in the link names of the label folder.
std::string UnescapeLabel(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::strtol(s.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::wstring LabelOf(const std::string& device, const std::string& labelDir)
{
    if (device.empty() || device[0] != '/') return {};
    const std::string dev = RealPathOf(device);
    if (dev.empty()) return {};
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(labelDir, ec))
        if (RealPathOf(e.path().string()) == dev) return Utf8ToString(UnescapeLabel(e.path().filename().string()));
    return {};
}

bool ReadFlag(const std::string& file)
{
    std::ifstream in(file);
    int v = 0;
    return in >> v && v != 0;
}

// The device's removable flag; a partition asks the disk it belongs to.
bool RemovableDevice(const std::string& device, const std::string& sysBlockDir)
{
    if (device.empty() || device[0] != '/') return false;
    const std::string dev = RealPathOf(device);
    if (dev.empty()) return false;
    const std::string node = sysBlockDir + "/" + dev.substr(dev.find_last_of('/') + 1);
    struct stat st;
    if (::stat((node + "/removable").c_str(), &st) == 0) return ReadFlag(node + "/removable");
    const std::string real = RealPathOf(node);
    return !real.empty() && ReadFlag(real.substr(0, real.find_last_of('/')) + "/removable");
}

bool OneOf(const std::string& s, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (s == n) return true;
    return false;
}

ShellVolume MakeVolume(const MountEntry& m, const VolumeSources& src)
{
    ShellVolume v;
    v.mountPath = m.mountPath;
    v.device = m.device;
    v.fsType = m.fsType;
    v.label = LabelOf(m.device, src.labelDir);
    v.removable = RemovableDevice(m.device, src.sysBlockDir);
    if (OneOf(m.fsType, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs"}))
        v.driveType = DRIVE_REMOTE;
    else if (OneOf(m.fsType, {"iso9660", "udf"}))
        v.driveType = DRIVE_CDROM;
    else if (OneOf(m.fsType, {"tmpfs", "ramfs"}))
        v.driveType = DRIVE_RAMDISK;
    else if (v.removable)
        v.driveType = DRIVE_REMOVABLE;
    v.ignoreCase = OneOf(m.fsType, {"vfat", "msdos", "exfat", "ntfs", "ntfs3", "iso9660"});
    return v;
}

bool Holds(const std::string& mount, const std::string& path)
{
    if (mount == "/") return true;
    return path.size() >= mount.size() && path.compare(0, mount.size(), mount) == 0 &&
           (path.size() == mount.size() || path[mount.size()] == '/');
}

// The system's list, read again once it is a second old: a file list asks for every item.
struct VolumeCache {
    std::vector<ShellVolume> volumes;
    std::chrono::steady_clock::time_point at;
    bool valid = false;
};
VolumeCache& Cache()
{
    static auto* c = new VolumeCache();
    return *c;
}

std::vector<ShellVolume> ReadVolumes(const VolumeSources& src);

}  // namespace

std::wstring ShellVolume::DisplayName() const
{
    if (!label.empty()) return label;
    const auto slash = mountPath.find_last_of('/');
    if (mountPath == "/" || slash == std::string::npos) return L"/";
    return Utf8ToString(mountPath.substr(slash + 1));
}

std::vector<ShellVolume> ListVolumes()
{
    VolumeSources src;
    {
        std::lock_guard<std::mutex> lock(SourcesLock());
        src = Sources();
        if (!src.table && Cache().valid && std::chrono::steady_clock::now() - Cache().at < std::chrono::seconds(1))
            return Cache().volumes;
    }
    std::vector<ShellVolume> volumes = ReadVolumes(src);
    if (!src.table) {
        std::lock_guard<std::mutex> lock(SourcesLock());
        Cache() = {volumes, std::chrono::steady_clock::now(), true};
    }
    return volumes;
}

namespace {

std::vector<ShellVolume> ReadVolumes(const VolumeSources& src)
{
    const std::vector<MountEntry> table = src.table ? src.table() : GioMountTable();
    // A mount point mounted over keeps the last mount.
    std::vector<MountEntry> mounts;
    for (const auto& m : table) {
        std::string norm;
        if (!NormalisePath(m.mountPath, &norm)) continue;
        std::erase_if(mounts, [&](const MountEntry& e) { return e.mountPath == norm; });
        MountEntry e = m;
        e.mountPath = norm;
        mounts.push_back(std::move(e));
    }
    std::vector<ShellVolume> out;
    MountEntry root{"/", "", "", true};
    for (const auto& m : mounts)
        if (m.mountPath == "/") root = m;
    out.push_back(MakeVolume(root, src));
    for (const auto& m : mounts)
        if (m.userVisible && m.mountPath != "/") out.push_back(MakeVolume(m, src));
    return out;
}

}  // namespace

ShellVolume VolumeOfPath(const std::string& path)
{
    std::vector<ShellVolume> all = ListVolumes();
    size_t best = 0;
    for (size_t i = 1; i < all.size(); ++i)
        if (Holds(all[i].mountPath, path) && all[i].mountPath.size() > all[best].mountPath.size()) best = i;
    return all[best];
}

void SetMountTableForTest(MountTableFn table, const std::string& labelDir, const std::string& sysBlockDir)
{
    std::lock_guard<std::mutex> lock(SourcesLock());
    Sources().table = std::move(table);
    Sources().labelDir = labelDir.empty() ? "/dev/disk/by-label" : labelDir;
    Sources().sysBlockDir = sysBlockDir.empty() ? "/sys/class/block" : sysBlockDir;
    Cache().valid = false;
}

namespace {

bool FindVolume(LPCWSTR root, ShellVolume* out)
{
    std::string path;
    if (!root || !NormalisePath(StringToUtf8(root), &path)) return false;
    for (auto& v : ListVolumes()) {
        if (v.mountPath == path) {
            *out = std::move(v);
            return true;
        }
    }
    return false;
}

bool CopyOut(const std::wstring& s, LPWSTR buf, DWORD size)
{
    if (!buf) return true;
    if (s.size() + 1 > size) return false;
    std::wmemcpy(buf, s.c_str(), s.size() + 1);
    return true;
}

}  // namespace

}  // namespace vxwin

using namespace vxwin;

UINT GetDriveTypeW(LPCWSTR root)
{
    ShellVolume v;
    return FindVolume(root, &v) ? v.driveType : DRIVE_NO_ROOT_DIR;
}

BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, DWORD* serialNumber,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize)
{
    ShellVolume v;
    if (!FindVolume(root, &v)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!CopyOut(v.label, volumeName, volumeNameSize) ||
        !CopyOut(Utf8ToString(v.fsType), fileSystemName, fileSystemNameSize)) {
        SetLastError(ERROR_MORE_DATA);
        return FALSE;
    }
    struct stat st;
    if (serialNumber) *serialNumber = ::stat(v.mountPath.c_str(), &st) == 0 ? static_cast<DWORD>(st.st_dev) : 0;
    if (maxComponentLength) *maxComponentLength = NAME_MAX;
    if (fileSystemFlags)
        *fileSystemFlags =
            v.ignoreCase ? FILE_CASE_PRESERVED_NAMES : FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
    return TRUE;
}

DWORD WNetGetConnectionW(LPCWSTR localName, LPWSTR remoteName, DWORD* length)
{
    ShellVolume v;
    if (!length || !FindVolume(localName, &v) || v.driveType != DRIVE_REMOTE) return ERROR_NOT_CONNECTED;
    const std::wstring source = Utf8ToString(v.device);
    if (!remoteName || *length < source.size() + 1) {
        *length = static_cast<DWORD>(source.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::wmemcpy(remoteName, source.c_str(), source.size() + 1);
    return NO_ERROR;
}
