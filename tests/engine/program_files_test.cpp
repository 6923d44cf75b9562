// The program's own file and folder, and file sizes.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/program_files.h"
#include "platform/framework/core/files.h"
#include "tests/support/temp_dir.h"

TEST(ProgramFiles, FileSize64)
{
    TempDir tmp;
    EXPECT_EQ(FileSize64(tmp.File(L"缺少.bin")), -1);
    EXPECT_EQ(FileSize64(L""), -1);
    std::ofstream(tmp.file("七 bytes.bin"), std::ios::binary) << "1234567";
    EXPECT_EQ(FileSize64(tmp.File(L"七 bytes.bin")), 7);
    // A relative name is expanded against the current folder.
    String cwd = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(tmp.Dir()));
    EXPECT_EQ(FileSize64(L"七 bytes.bin"), 7);
    SetCurrentDir(cwd);
}

TEST(ProgramFiles, ProgramPath)
{
    EXPECT_TRUE(FileExists(AppFileName()));
    EXPECT_EQ(AppPath(), ExtractFilePath(AppFileName()));
    EXPECT_EQ(AppPath().back(), L'/');
}
