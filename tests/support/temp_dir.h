// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/framework/core/strings.h"

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vx-test-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        FPath = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        // Folders a test made read-only must become writable again to be removed.
        for (auto& e : std::filesystem::recursive_directory_iterator(FPath, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(FPath, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return FPath; }
    // The folder as a String with a trailing "/".
    String Dir() const { return Utf8ToString(FPath) + L"/"; }
    String File(const String& name) const { return Dir() + name; }
    std::string file(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};
