// Where a fuzz target keeps the files it writes for each input: in memory (/dev/shm) where the
// system has it, so the settings and skin writers' flush to disk costs nothing per execution.
// Sets TMPDIR to it, so the test helpers' temporary folders land there too, and makes a folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

inline void FuzzUseMemoryTemp()
{
    if (::access("/dev/shm", W_OK | X_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
}

inline std::string FuzzScratchFolder(const char* AName)
{
    FuzzUseMemoryTemp();
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + AName + "-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    return tmpl;
}
