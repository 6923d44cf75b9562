// Where the settings file goes: beside the program when that folder takes files, else in the
// user's config folder; the default folders under the home folder.
#include "app/program_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

namespace fs = std::filesystem;

namespace {
class ProgramPathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("vx_paths_" + std::to_string(::getpid()));
        fs::create_directories(root / "程序");
        fs::create_directories(root / "home");
        oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        ::setenv("HOME", (root / "home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        SetProgramFolder(Utf8ToString((root / "程序").string()));
    }
    void TearDown() override
    {
        SetProgramFolder(L"");
        ::setenv("HOME", oldHome.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        fs::permissions(root / "程序", fs::perms::owner_all);
        fs::remove_all(root);
    }
    fs::path root;
    std::string oldHome;
};
}  // namespace

TEST_F(ProgramPathsTest, SettingsBesideAWritableProgramFolderElseInTheConfigFolder)
{
    EXPECT_EQ(OptionIniPath(), Utf8ToString((root / "程序" / "option.ini").string()));
    EXPECT_EQ(ProgramFile(L"sounds/ring001.wav"), Utf8ToString((root / "程序" / "sounds/ring001.wav").string()));

    // A folder that takes no files: read-only for a plain user; gone for one that writes anywhere.
    fs::permissions(root / "程序", fs::perms::owner_read | fs::perms::owner_exec);
    if (::access((root / "程序").c_str(), W_OK) == 0) SetProgramFolder(Utf8ToString((root / "gone").string()));
    EXPECT_EQ(OptionIniPath(), Utf8ToString((root / "config" / "vexmora" / "option.ini").string()));
    EXPECT_TRUE(fs::is_directory(root / "config" / "vexmora"));

    // A relative config home is not a place: the default under the home folder is taken.
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(OptionIniPath(), Utf8ToString((root / "home" / ".config" / "vexmora" / "option.ini").string()));
}

TEST_F(ProgramPathsTest, DefaultFoldersLieUnderTheHomeFolder)
{
    EXPECT_EQ(DefaultOutputFolder(), Utf8ToString((root / "home" / "Vexmora视频软件" / "输出").string()));
    EXPECT_EQ(DefaultSnapshotFolder(), Utf8ToString((root / "home" / "Vexmora视频软件" / "快照").string()));
    EXPECT_FALSE(fs::exists(root / "home" / "Vexmora视频软件"));
}
