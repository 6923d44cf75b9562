// Where the program keeps its files on Linux. See program_paths.h.
#include "app/program_paths.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

namespace {
std::mutex& FolderLock()
{
    static std::mutex m;
    return m;
}
String& FolderOverride()
{
    static String folder;
    return folder;
}

// True when a new file can be made in the folder (write and search rights of this user).
bool FolderAcceptsFiles(const String& folder)
{
    return DirectoryExists(folder) && ::access(StringToUtf8(folder).c_str(), W_OK | X_OK) == 0;
}

String ConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // A relative $XDG_CONFIG_HOME is invalid and is ignored, as the base-directory rules say.
    if (xdg && xdg[0] == '/') return IncludeTrailingPathDelimiter(Utf8ToString(xdg));
    return IncludeTrailingPathDelimiter(HomeDir()) + L".config/";
}

const char kScratchPrefix[] = "vexmora-check-";

String ScratchFolderOf(pid_t APid)
{
    return GetTempDirectory() + Utf8ToString(kScratchPrefix) + IntToStr(int64_t(APid));
}

String DataRoot() { return IncludeTrailingPathDelimiter(HomeDir()) + L"Vexmora视频软件/"; }
}  // namespace

String ProgramFolder()
{
    {
        std::lock_guard<std::mutex> lock(FolderLock());
        if (!FolderOverride().empty()) return FolderOverride();
    }
    return ExtractFilePath(ExeFileName());
}

void SetProgramFolder(const String& folder)
{
    std::lock_guard<std::mutex> lock(FolderLock());
    FolderOverride() = folder.empty() ? String() : IncludeTrailingPathDelimiter(folder);
}

String OptionIniPath()
{
    const String beside = ProgramFolder();
    if (FolderAcceptsFiles(beside)) return beside + L"option.ini";
    const String config = ConfigFolder() + L"vexmora/";
    ForceDirectories(config);
    return config + L"option.ini";
}

String DefaultOutputFolder() { return DataRoot() + L"输出"; }

String DefaultSnapshotFolder() { return DataRoot() + L"快照"; }

String ProgramFile(const String& relativePath) { return ProgramFolder() + relativePath; }

String ScratchFolder()
{
    const String folder = ScratchFolderOf(::getpid());
    ForceDirectories(folder);
    return folder;
}

void RemoveScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(StringToUtf8(ScratchFolderOf(::getpid())), error);
}

void RemoveStaleScratchFolders()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string prefix = kScratchPrefix;
    for (fs::directory_iterator it(StringToUtf8(GetTempDirectory()), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = pid_t(std::stol(digits));
        // Another user's folder, or one of a process that still runs (or may: not ours to ask), stays.
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (pid == ::getpid() || pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}
