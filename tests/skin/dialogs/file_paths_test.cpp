// The dialogs' path routines on real temporary folders (Chinese names, spaces, hidden folders):
// joining, cutting folders off for display by measured text widths, volume names by a mount
// table of the test, and splitting typed paths against a folder without touching the process's
// current directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/dialogs/file_paths.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

struct PathsTest : ::testing::Test {
    TempDir Tmp;
    // The test folder without its trailing "/".
    String Root() const { return Utf8ToString(Tmp.path()); }
    void MakeDir(const std::string& Rel) { std::filesystem::create_directories(Tmp.file(Rel)); }
    void Touch(const std::string& Rel) { std::ofstream(Tmp.file(Rel)) << "x"; }
};

}  // namespace

TEST_F(PathsTest, IsExistingDirectoryOnlyForReadableFolders)
{
    MakeDir("视频 素材/.隐藏");
    Touch("视频 素材/a.mkv");
    std::filesystem::create_directory_symlink(Tmp.file("视频 素材"), Tmp.file("link"));
    std::filesystem::create_symlink(Tmp.file("loop"), Tmp.file("loop"));
    EXPECT_TRUE(IsExistingDirectory(Root() + L"/视频 素材"));
    EXPECT_TRUE(IsExistingDirectory(Root() + L"/视频 素材/.隐藏/"));
    EXPECT_TRUE(IsExistingDirectory(Root() + L"/link"));
    EXPECT_FALSE(IsExistingDirectory(Root() + L"/视频 素材/a.mkv"));
    EXPECT_FALSE(IsExistingDirectory(Root() + L"/missing"));
    EXPECT_FALSE(IsExistingDirectory(Root() + L"/loop"));
    EXPECT_FALSE(IsExistingDirectory(L""));
}

TEST(FilePaths, AppendAndCount)
{
    EXPECT_EQ(AppendPathPart(L"/", L"x"), L"/x");
    EXPECT_EQ(AppendPathPart(L"/a", L"x"), L"/a/x");
    EXPECT_EQ(AppendPathPart(L"/视频 素材/", L".隐藏"), L"/视频 素材/.隐藏");
    EXPECT_EQ(CountPathSeparators(L"/a/视频 素材/b.txt"), 3);
    EXPECT_EQ(CountPathSeparators(L"b.txt"), 0);
    EXPECT_EQ(CountPathSeparators(L""), 0);
}

TEST(FilePaths, DropFirstDirectory)
{
    const struct {
        const wchar_t* In;
        const wchar_t* Out;
    } rows[] = {
        {L"/a/b/", L"/.../b/"},
        {L"/.../b/", L"/.../"},
        {L".../", L""},
        {L"/", L""},
        {L"", L""},
        {L"a/b/", L".../b/"},
        {L"/视频 素材/输出/", L"/.../输出/"},
        // A hidden folder's leading dot is a name, not the mark of an earlier cut.
        {L"/.config/app/", L"/.../app/"},
        {L".a/b/", L".../b/"},
        {L"../x/", L".../x/"},
        {L"/x", L"/"},
    };
    for (const auto& r : rows) {
        String dir = r.In;
        DropFirstDirectory(dir);
        EXPECT_EQ(dir, r.Out) << StringToUtf8(r.In);
    }
}

TEST(FilePaths, ShortenPathToWidthCutsFoldersUntilItFits)
{
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.Canvas();
    // Each step as the path narrows, ending with the bare name.
    const String steps[] = {L"/Program Files/App/Data/file.txt",
                            L"/.../App/Data/file.txt",
                            L"/.../Data/file.txt",
                            L"/.../file.txt",
                            L".../file.txt",
                            L"file.txt"};
    for (const String& s : steps) EXPECT_EQ(ShortenPathToWidth(steps[0], c, c->TextWidth(s)), s);
    EXPECT_EQ(ShortenPathToWidth(steps[0], c, c->TextWidth(steps[0]) - 1), steps[1]);
    EXPECT_EQ(ShortenPathToWidth(steps[0], c, 0), L"file.txt");
    EXPECT_EQ(ShortenPathToWidth(L"/视频 素材/.隐藏/影片 1.mkv", c, 0), L"影片 1.mkv");
    // Fits, or has no folder part: unchanged, however narrow.
    EXPECT_EQ(ShortenPathToWidth(steps[0], c, 10000), steps[0]);
    EXPECT_EQ(ShortenPathToWidth(L"file.txt", c, 0), L"file.txt");
    EXPECT_EQ(ShortenPathToWidth(L"", c, 0), L"");
    // A folder path (trailing "/") loses all its folders.
    EXPECT_EQ(ShortenPathToWidth(L"/a/b/", c, 0), L"");
}

TEST_F(PathsTest, VolumeNamesFromTheMountTable)
{
    MakeDir("disk");
    MakeDir("share");
    MakeDir("labels");
    MakeDir("sys");
    Touch("dev-disk");
    std::filesystem::create_symlink(Tmp.file("dev-disk"), Tmp.file("labels/影音 盘"));
    const std::string disk = Tmp.file("disk"), share = Tmp.file("share");
    vxwin::SetMountTableForTest(
        [&] {
            return std::vector<vxwin::MountEntry>{{"/", "/dev/root", "ext4", false},
                                                  {disk, Tmp.file("dev-disk"), "ext4", true},
                                                  {share, "server:/export/视频", "nfs", true}};
        },
        Tmp.file("labels"), Tmp.file("sys"));
    vxwin::ShellVolume v;
    v.mountPath = disk;
    EXPECT_EQ(DriveVolumeLabel(v), L"[影音 盘]");
    EXPECT_EQ(NetworkDriveName(v), L"[影音 盘]");  // local: its label
    v.mountPath = share;
    EXPECT_EQ(DriveVolumeLabel(v), L"[]");
    EXPECT_EQ(NetworkDriveName(v), L"server:/export/视频");
    v.mountPath = Tmp.file("gone");  // no longer mounted
    EXPECT_EQ(DriveVolumeLabel(v), L"[]");
    EXPECT_EQ(NetworkDriveName(v), L"[]");
    vxwin::SetMountTableForTest(nullptr);
}

TEST_F(PathsTest, SplitEditPathResolvesAgainstTheGivenFolder)
{
    MakeDir("Work/sub");
    MakeDir("Work/Docs");
    MakeDir("Work/s/t");
    MakeDir("Work/视频 素材/.隐藏");
    MakeDir("Data");
    Touch("Work/a b.txt");
    Touch("Work/视频 素材/影片.mkv");
    const String work = Root() + L"/Work";
    char before[4096];
    ASSERT_TRUE(::getcwd(before, sizeof before));
    const struct {
        String Text, Dir, File;
    } rows[] = {
        {L"sub/*.txt", L"sub", L"*.txt"},  // the folder part stays relative
        {Root() + L"/Data", Root() + L"/Data", L""},
        {L"[Docs]", work + L"/Docs", L""},
        {L"Docs", work + L"/Docs", L""},
        {L"a b.txt", work, L"a b.txt"},
        {L"*.mkv", work, L"*.mkv"},
        {L"视频 素材/影片.mkv", L"视频 素材", L"影片.mkv"},
        {L"视频 素材/.隐藏", L"视频 素材/.隐藏", L""},
        {work + L"/视频 素材/", work + L"/视频 素材", L""},
        {L"../Data", L"../Data", L""},
        {L"sub/", L"sub", L""},
        {L"s/t", L"s/t", L""},  // a one-letter folder part is no root
        {L"/", L"/", L""},
        {L"/tmp", L"/tmp", L""},
        {L"", work, L""},
    };
    for (const auto& r : rows) {
        String dir, file;
        SplitEditPath(r.Text, work, dir, file);
        EXPECT_EQ(dir, r.Dir) << StringToUtf8(r.Text);
        EXPECT_EQ(file, r.File) << StringToUtf8(r.Text);
    }
    char after[4096];
    ASSERT_TRUE(::getcwd(after, sizeof after));
    EXPECT_STREQ(before, after);
}

TEST_F(PathsTest, SplitEditPathRaisesForFoldersThatCannotBeEntered)
{
    MakeDir("Work/locked");
    Touch("Work/a.txt");
    const String work = Root() + L"/Work";
    String dir, file;
    for (const String text : {L"missing", L"missing/x.txt", L"a.txt/x", L"[missing]", L"/no/such/*.txt"})
        EXPECT_THROW(SplitEditPath(text, work, dir, file), EInOutError) << StringToUtf8(text);
    // An ordinary user cannot enter a folder without permissions.
    ::chmod(Tmp.path().c_str(), 0755);
    ::chmod(Tmp.file("Work").c_str(), 0755);
    ::chmod(Tmp.file("Work/locked").c_str(), 0);
    const int rc = RunUnprivileged([&] {
        String d, f;
        try {
            SplitEditPath(L"locked/*.txt", work, d, f);
        } catch (const EInOutError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(rc, 0);
}
