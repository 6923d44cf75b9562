// Helpers of the engine tests: the system's library folder, the mapped copies of a library in
// this process, and loading the libraries a test needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "engine/library_loader.h"
#include "platform/framework/core/strings.h"
#include "tests/support/temp_dir.h"

namespace engine_test {

// The folder the system's copies of the media libraries live in (from pkg-config).
inline std::string SystemLibraryDir()
{
    std::string out;
    if (FILE* p = popen("pkg-config --variable=libdir libavutil", "r")) {
        char buf[512];
        if (fgets(buf, sizeof buf, p)) out = buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// The distinct files mapped in this process whose name is fileName (e.g. "libavutil.so.57",
// also matching the versioned real file "libavutil.so.57.28.100").
inline std::set<std::string> MappedCopies(const std::string& fileName)
{
    std::set<std::string> paths;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        size_t slash = line.find('/');
        if (slash == std::string::npos) continue;
        std::string path = line.substr(slash);
        std::string base = std::filesystem::path(path).filename().string();
        if (base == fileName || base.rfind(fileName + ".", 0) == 0) paths.insert(path);
    }
    return paths;
}

// Loads a set from the system for a test and unloads it at the end.
class LibrariesFixture : public ::testing::Test {
protected:
    void LoadOrFail(TLibraries libs)
    {
        DefaultLoader().SetLibraryPath(L"");
        ASSERT_TRUE(DefaultLoader().Load(libs)) << StringToUtf8(DefaultLoader().LastErrMsg());
        FLoaded = libs;
    }
    void TearDown() override
    {
        if (!FLoaded.Empty()) DefaultLoader().Unload(FLoaded);
    }

private:
    TLibraries FLoaded;
};

}  // namespace engine_test
