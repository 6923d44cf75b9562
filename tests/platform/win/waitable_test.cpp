// Events and folder change notifications: what signals, what re-arms, what one batch is, which
// changes each filter lets through, and folders that cannot be watched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/base/utf.h"
#include "platform/win/waitable_api.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

TEST(WinEvents, ManualAndAutoResetAndTimeouts)
{
    HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE autoEv = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    ASSERT_TRUE(manual && autoEv);
    HANDLE both[] = {manual, autoEv};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_TIMEOUT);  // taken by the wait above
    EXPECT_TRUE(SetEvent(manual));
    EXPECT_TRUE(SetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);  // stays set
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 20), WAIT_TIMEOUT);

    // Another thread's SetEvent ends an endless wait.
    std::thread t([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetEvent(autoEv);
    });
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    t.join();

    EXPECT_TRUE(CloseHandle(manual));
    EXPECT_FALSE(CloseHandle(manual));
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(manual));
    EXPECT_TRUE(CloseHandle(autoEv));
}

class ChangeNotification : public ::testing::Test {
protected:
    HANDLE Watch(const std::string& dir, bool subtree, DWORD filter)
    {
        HANDLE h = FindFirstChangeNotificationW(Utf8ToString(dir).c_str(), subtree, filter);
        if (h != INVALID_HANDLE_VALUE) FHandles.push_back(h);
        return h;
    }
    void TearDown() override
    {
        for (HANDLE h : FHandles) EXPECT_TRUE(FindCloseChangeNotification(h));
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "x"; }
    // Signalled within a short while, then re-armed.
    static bool Signalled(HANDLE h, DWORD ms = 2000)
    {
        if (WaitForSingleObject(h, ms) != WAIT_OBJECT_0) return false;
        EXPECT_TRUE(FindNextChangeNotification(h));
        return true;
    }
    TempDir FDir;
    std::vector<HANDLE> FHandles;
};

TEST_F(ChangeNotification, NameChangesSignalOncePerBatchAndReArm)
{
    HANDLE h = Watch(FDir.path(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(h, 20), WAIT_TIMEOUT);
    for (int i = 0; i < 200; ++i) Touch(FDir.file("f" + std::to_string(i)));
    EXPECT_TRUE(Signalled(h));
    EXPECT_EQ(WaitForSingleObject(h, 50), WAIT_TIMEOUT);  // the 200 creations were one batch
    std::filesystem::rename(FDir.file("f1"), FDir.file("renamed"));
    EXPECT_TRUE(Signalled(h));
    std::filesystem::remove(FDir.file("renamed"));
    EXPECT_TRUE(Signalled(h));
    // Without FindNextChangeNotification the handle stays signalled.
    Touch(FDir.file("again"));
    EXPECT_EQ(WaitForSingleObject(h, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
}

TEST_F(ChangeNotification, FiltersChooseTheChanges)
{
    Touch(FDir.file("file"));
    HANDLE dirs = Watch(FDir.path(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
    HANDLE writes = Watch(FDir.path(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
    HANDLE attrs = Watch(FDir.path(), FALSE, FILE_NOTIFY_CHANGE_ATTRIBUTES);
    ASSERT_NE(attrs, INVALID_HANDLE_VALUE);
    Touch(FDir.file("new file"));
    EXPECT_FALSE(Signalled(dirs, 50));
    EXPECT_TRUE(Signalled(writes));
    std::filesystem::create_directory(FDir.file("new dir"));
    EXPECT_TRUE(Signalled(dirs));
    EXPECT_FALSE(Signalled(attrs, 50));
    ::chmod(FDir.file("file").c_str(), 0600);
    EXPECT_TRUE(Signalled(attrs));
    EXPECT_FALSE(Signalled(dirs, 50));
}

TEST_F(ChangeNotification, SubtreesWatchFoldersMadeLater)
{
    std::filesystem::create_directories(FDir.file("a/b"));
    HANDLE flat = Watch(FDir.path(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    HANDLE deep = Watch(FDir.path(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(deep, INVALID_HANDLE_VALUE);
    Touch(FDir.file("a/b/file"));
    EXPECT_TRUE(Signalled(deep));
    EXPECT_FALSE(Signalled(flat, 50));
    std::filesystem::create_directories(FDir.file("a/new"));
    EXPECT_FALSE(Signalled(deep, 50));  // a folder is no file name
    Touch(FDir.file("a/new/file"));
    EXPECT_TRUE(Signalled(deep));
}

TEST_F(ChangeNotification, TheWatchedFolderGoingAwaySignals)
{
    std::filesystem::create_directories(FDir.file("gone"));
    HANDLE h = Watch(FDir.file("gone"), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::filesystem::remove(FDir.file("gone"));
    EXPECT_TRUE(Signalled(h));
    EXPECT_FALSE(Signalled(h, 50));
}

TEST_F(ChangeNotification, FoldersThatCannotBeWatched)
{
    SetLastError(0);
    EXPECT_EQ(Watch(FDir.file("missing"), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    Touch(FDir.file("plain"));
    EXPECT_EQ(Watch(FDir.file("plain"), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME), INVALID_HANDLE_VALUE);
    std::filesystem::create_directories(FDir.file("secret"));
    ::chmod(FDir.path().c_str(), 0755);
    ::chmod(FDir.file("secret").c_str(), 0311);
    const int rc = RunUnprivileged([&] {
        HANDLE h = FindFirstChangeNotificationW(Utf8ToString(FDir.file("secret")).c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_FILE_NAME);
        return h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
}

}  // namespace
