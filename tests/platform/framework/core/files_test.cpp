#include "platform/framework/core/files.h"

#include <gtest/gtest.h>

#include "platform/framework/core/date_time.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/streams.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

TEST(Files, PathParts)
{
    EXPECT_EQ(ExtractFileName(L"/a/b/视频.x.mkv"), L"视频.x.mkv");
    EXPECT_EQ(ExtractFilePath(L"/a/b/c.mkv"), L"/a/b/");
    EXPECT_EQ(ExtractFileDir(L"/a/b/c.mkv"), L"/a/b");
    EXPECT_EQ(ExtractFileExt(L"/a.b/c"), L"");
    EXPECT_EQ(ExtractFileExt(L"/a/c.tar.gz"), L".gz");
    EXPECT_EQ(ChangeFileExt(L"/a.b/c", L".mp4"), L"/a.b/c.mp4");
    EXPECT_EQ(ChangeFileExt(L"/a/c.avi", L".mp4"), L"/a/c.mp4");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"/a"), L"/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"/a//"), L"/a");
    EXPECT_EQ(ExpandFileName(L"/a/./b/../c"), L"/a/c");
    EXPECT_TRUE(MatchesMask(L"Clip.MKV", L"*.mkv"));
    EXPECT_FALSE(MatchesMask(L"clip.mkv.txt", L"*.mkv"));
}

TEST(Files, FoldersAndFiles)
{
    TempDir dir;
    const String deep = dir.Dir() + L"输出/a b/c";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    WriteBytes(dir.file("输出/x.mkv"), "12345");
    EXPECT_EQ(FileSizeOf(dir.Dir() + L"输出/x.mkv"), 5);
    EXPECT_EQ(FileSizeOf(dir.Dir() + L"missing"), -1);
    EXPECT_EQ(ListFiles(dir.Dir() + L"输出", L"*.MKV"), std::vector<String>{L"x.mkv"});
    EXPECT_EQ(ListDirectories(dir.Dir() + L"输出"), std::vector<String>{L"a b"});
    EXPECT_FALSE(RenameFile(dir.Dir() + L"输出/x.mkv", dir.Dir() + L"输出/a b"));  // never replaces
    EXPECT_TRUE(RenameFile(dir.Dir() + L"输出/x.mkv", dir.Dir() + L"输出/y.mkv"));
    EXPECT_TRUE(DeleteFile(dir.Dir() + L"输出/y.mkv"));
    EXPECT_FALSE(DeleteFile(dir.Dir() + L"输出/y.mkv"));
    EXPECT_FALSE(ExeFileName().empty());
}

TEST(Streams, ReadBufferShortReadRaisesAndFileErrorsAreClear)
{
    TempDir dir;
    {
        TFileStream f(dir.File(L"s.bin"), fmCreate);
        f.WriteBuffer("abcdef", 6);
    }
    TFileStream f(dir.File(L"s.bin"), fmOpenRead);
    char buf[8];
    f.ReadBuffer(buf, 4);
    EXPECT_EQ(f.Position(), 4);
    EXPECT_THROW(f.ReadBuffer(buf, 4), EReadError);
    EXPECT_EQ(f.Size(), 6);
    EXPECT_THROW(TFileStream(dir.File(L"none"), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(dir.File(L""), fmOpenRead), EFOpenError) << "a folder is no file";
    EXPECT_THROW(TFileStream(dir.File(L"no/dir/x"), fmCreate), EFCreateError);

    TMemoryStream m;
    f.SetPosition(0);
    m.CopyFrom(f, 0);
    EXPECT_EQ(m.Size(), 6);
    m.SetPosition(2);
    m.Write("XY", 2);
    EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 6), "abXYef");
}

TEST(DateTime, EncodeDecodeAndFormat)
{
    const TDateTime dt = EncodeDate(2026, 12, 10) + EncodeTime(9, 5, 7, 30);
    EXPECT_EQ(FormatDateTime(L"yyyy-mm-dd hh:nn:ss.zzz", dt), L"2026-12-10 09:05:07.030");
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 2)), 86400);
    int y, m, d;
    DecodeDate(UnixToDateTime(0), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 19700101);
}
