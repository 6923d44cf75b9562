// The engine's small utilities.
#include <atomic>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "engine/my_utils.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

TEST(MyUtils, SizeToText)
{
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"0 Byte"},
        {-5, L"-5 Byte"},
        {1024, L"1024 Byte"},
        {1025, L"1.00 KB"},
        {1048576, L"1024.00 KB"},
        {1048577, L"1.00 MB"},
        {1073741824, L"1024.00 MB"},
        {1073741825, L"1.00 GB"},
        {5368709120LL, L"5.00 GB"},
    };
    for (auto& [size, text] : cases) EXPECT_EQ(SizeToText(size), text) << size;
}

TEST(MyUtils, SplitAtDelimiter)
{
    struct Case {
        const wchar_t* s;
        const wchar_t* delimiter;
        bool remove;
        const wchar_t* head;
        const wchar_t* rest;
    };
    const Case cases[] = {
        {L"a=b=c", L"=", true, L"a", L"b=c"}, {L"a=b=c", L"=", false, L"a", L"a=b=c"},
        {L"abc", L"=", true, L"abc", L""},    {L"abc", L"=", false, L"abc", L"abc"},
        {L"=x", L"=", true, L"", L"x"},       {L"key::value", L"::", true, L"key", L"value"},
        {L"AbA", L"b", true, L"A", L"A"},     {L"ABA", L"b", true, L"ABA", L""},  // case-sensitive
    };
    for (const Case& c : cases) {
        String s = c.s, head = L"old";
        SplitAtDelimiter(s, c.delimiter, c.remove, head);
        EXPECT_EQ(head, c.head) << StringToUtf8(c.s);
        EXPECT_EQ(s, c.rest) << StringToUtf8(c.s);
    }
}

TEST(MyUtils, FileSize64)
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

TEST(MyUtils, SeekFlagsProgramPathAndTime)
{
    EXPECT_EQ(SeekFlagsToAVFlags(0), 0);
    EXPECT_EQ(SeekFlagsToAVFlags(sfBackward | sfFrame), 9);
    EXPECT_EQ(SeekFlagsToAVFlags(sfByte | sfAny), 6);

    EXPECT_TRUE(FileExists(AppFileName()));
    EXPECT_EQ(AppPath(), ExtractFilePath(AppFileName()));
    EXPECT_EQ(AppPath().back(), L'/');

    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), 25569.0 + TimeZoneBias());
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(86400 * 2), 25571.0 + TimeZoneBias());
    EXPECT_EQ(DateTimeToText(L"yyyy-mm-dd hh:nn:ss", 25569.5), L"1970-01-01 12:00:00");
}

TEST(MyUtils, RunInMainThreadFromAWorker)
{
    std::atomic<bool> ranOnMain{false}, done{false}, caught{false};
    std::thread worker([&] {
        RunInMainThread([&] { ranOnMain = IsMainThread(); });
        try {
            RunInMainThread([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
        done = true;
    });
    ASSERT_TRUE(WaitServingMainThread([&] { return done.load(); }, 5, 10000));
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(caught);

    bool direct = false;
    RunInMainThread([&] { direct = true; });  // on the main thread: called at once
    EXPECT_TRUE(direct);
}

TEST(MyUtils, PumpMessagesRunsWhatIsQueued)
{
    int ran = 0;
    QueueInMainThread([&] { ++ran; });
    QueueInMainThread([&] { ++ran; });
    PumpMessages();
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(ProcessOneMessage());
}
