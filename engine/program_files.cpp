// The program's own file and folder, and the size of a file.
#include "engine/program_files.h"

#include <sys/stat.h>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

int64_t FileSize64(const String& AFileName)
{
    if (AFileName.empty()) return -1;
    struct stat st;
    if (::stat(StringToUtf8(ExpandFileName(AFileName)).c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

String AppFileName() { return ExeFileName(); }

String AppPath() { return ExtractFilePath(ExeFileName()); }
