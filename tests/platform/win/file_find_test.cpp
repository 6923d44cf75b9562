// Find data of one path (attributes, 64-bit sizes, literal wildcards, errors) and the file time
// conversions with their DOS date range.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

DWORD Attrs(const std::string& path, WIN32_FIND_DATAW* data = nullptr)
{
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW(Utf8ToString(path).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0xDEAD;
    EXPECT_TRUE(FindClose(h));
    if (data) *data = d;
    return d.dwFileAttributes;
}

TEST(FileFind, AttributesSizesAndNames)
{
    TempDir t;
    std::filesystem::create_directories(t.file("dir"));
    std::ofstream(t.file("star*?.txt")) << "12345";
    std::ofstream(t.file(".hidden")) << "";
    ::mkfifo(t.file("fifo").c_str(), 0644);
    std::filesystem::create_symlink(t.file("missing"), t.file("dangling"));
    // A sparse file past 4 GiB.
    std::ofstream(t.file("big")).close();
    ASSERT_EQ(::truncate(t.file("big").c_str(), 5LL << 30), 0);

    EXPECT_EQ(Attrs(t.file("dir")), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(Attrs(t.file(".hidden")), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(Attrs(t.file("fifo")), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(Attrs(t.file("dangling")), FILE_ATTRIBUTE_ARCHIVE);  // the link itself
    WIN32_FIND_DATAW d;
    EXPECT_EQ(Attrs(t.file("star*?.txt"), &d), FILE_ATTRIBUTE_ARCHIVE);  // the name as it is, no pattern
    EXPECT_STREQ(d.cFileName, L"star*?.txt");
    EXPECT_EQ(d.nFileSizeLow, 5u);
    Attrs(t.file("big"), &d);
    EXPECT_EQ((static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow, 5ULL << 30);

    SetLastError(0);
    WIN32_FIND_DATAW none;
    EXPECT_EQ(FindFirstFileW(Utf8ToString(t.file("nothing")).c_str(), &none), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(FindClose(reinterpret_cast<HANDLE>(0x1234)));

    // Read-only for whoever may not write it.
    std::ofstream(t.file("ro")) << "x";
    ::chmod(t.path().c_str(), 0755);
    ::chmod(t.file("ro").c_str(), 0444);
    EXPECT_EQ(RunUnprivileged(
                  [&] { return Attrs(t.file("ro")) == (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE) ? 0 : 1; }),
              0);
}

FILETIME FromUnix(long long secs)
{
    const unsigned long long v = static_cast<unsigned long long>(secs + 11644473600LL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(v);
    ft.dwHighDateTime = static_cast<DWORD>(v >> 32);
    return ft;
}

TEST(FileFind, DosDatesCoverOnly1980To2107InTwoSecondSteps)
{
    WORD date = 0, time = 0;
    // 2024-02-29 13:45:59 UTC.
    FILETIME ft = FromUnix(1709214359);
    ASSERT_TRUE(FileTimeToDosDateTime(&ft, &date, &time));
    EXPECT_EQ(date, ((2024 - 1980) << 9) | (2 << 5) | 29);
    EXPECT_EQ(time, (13 << 11) | (45 << 5) | 29);
    for (long long secs : {315532799LL /* 1979-12-31 23:59:59 */, 4354819200LL /* 2108-01-01 */}) {
        FILETIME out = FromUnix(secs);
        EXPECT_FALSE(FileTimeToDosDateTime(&out, &date, &time)) << secs;
    }
    FILETIME first = FromUnix(315532800);
    EXPECT_TRUE(FileTimeToDosDateTime(&first, &date, &time));
    EXPECT_EQ(date, (1 << 5) | 1);

    // Local time moves by the zone's offset.
    ::setenv("TZ", "CST-8", 1);
    ::tzset();
    FILETIME local;
    ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &local));
    ASSERT_TRUE(FileTimeToDosDateTime(&local, &date, &time));
    EXPECT_EQ(time >> 11, 21);
    ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
