// Where the program keeps its files on Linux. See program_paths.h.
#include "app/program_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>

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
