// The folder change watcher: its one thread, callbacks on the UI thread, option changes that take
// effect at once, blind watches, and notifiers that die while changes pour in or inside their own
// callback.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/base/main_thread.h"
#include "platform/framework/core/strings.h"
#include "skin/dialogs/shell_change_notifier.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

// Reaches a running notifier's thread, to make its wait fail.
struct ShellChangeThreadProbe {
    static HANDLE WakeEvent(TbsCustomShellChangeNotifier* n) { return n->FThread->FWakeEvent; }
};

namespace {

using Clock = std::chrono::steady_clock;

// Serves the watch threads' synchronous calls until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() > end) return false;
        CheckSynchronize(10);
    }
    return true;
}

// The inotify instances the process holds: one per folder watch a watch thread has open, and one
// more for new options until the thread takes them over (closing its old watch, after delivering
// what that one saw). Their count shows what the threads do without waiting on a clock.
int OpenWatches()
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec).string() == "anon_inode:inotify") ++n;
    }
    return n;
}

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

class ShellChangeNotifier : public ::testing::Test {
protected:
    void SetUp() override { FBaseline = TbsShellChangeThread::LiveCount(); }
    void TearDown() override
    {
        // Every watch thread of the test has ended.
        EXPECT_TRUE(PumpUntil([&] { return TbsShellChangeThread::LiveCount() == FBaseline; }));
    }
    TbsShellChangeNotifier* Watch(const std::string& dir, std::function<void()> onChange)
    {
        auto* n = new TbsShellChangeNotifier(nullptr);
        n->SetWatchSubTree(false);
        n->SetRoot(Utf8ToString(dir));
        n->SetOnChange(std::move(onChange));
        return n;
    }
    TempDir FDir;
    int FBaseline = 0;
};

TEST_F(ShellChangeNotifier, OneThreadFromTheFirstOnChangeCallingOnTheUiThread)
{
    auto* n = new TbsShellChangeNotifier(nullptr);
    EXPECT_FALSE(n->Watching());
    EXPECT_EQ(TbsShellChangeThread::LiveCount(), FBaseline);
    n->SetWatchSubTree(false);
    n->SetRoot(Utf8ToString(FDir.path()));
    std::atomic<int> first{0}, second{0};
    bool onUiThread = true;
    n->SetOnChange([&] {
        onUiThread = onUiThread && IsMainThread();
        ++first;
    });
    EXPECT_TRUE(n->Watching());
    EXPECT_EQ(TbsShellChangeThread::LiveCount(), FBaseline + 1);

    Touch(FDir.file("新 文件"));
    EXPECT_TRUE(PumpUntil([&] { return first > 0; }));
    EXPECT_TRUE(onUiThread);

    // Another callback replaces the first in the same thread.
    n->SetOnChange([&] { ++second; });
    EXPECT_EQ(TbsShellChangeThread::LiveCount(), FBaseline + 1);
    const int before = first;
    Touch(FDir.file("another"));
    EXPECT_TRUE(PumpUntil([&] { return second > 0; }));
    EXPECT_EQ(first, before);
    n->Free();
}

TEST_F(ShellChangeNotifier, RootsComparePathsExactlyAndRootNamesInAnyCase)
{
    TbsShellChangeNotifier n(nullptr);
    n.SetRoot(L"rfDesktop");
    n.SetRoot(L"RFDESKTOP");
    EXPECT_EQ(n.Root(), L"rfDesktop");
    n.SetRoot(L"/tmp/Case");
    n.SetRoot(L"/tmp/case");
    EXPECT_EQ(n.Root(), L"/tmp/case");
    EXPECT_EQ(NotifyFiltersToFlags(n.NotifyFilters()), FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    EXPECT_TRUE(n.WatchSubTree());
}

TEST_F(ShellChangeNotifier, NewOptionsTakeEffectAtOnceEvenOnABlindWatch)
{
    std::atomic<int> calls{0};
    const int watches = OpenWatches();
    TbsShellChangeNotifier* n = Watch(FDir.file("missing"), [&] { ++calls; });
    EXPECT_EQ(OpenWatches(), watches) << "a folder that is not there: blind, no error";
    Touch(FDir.file("a"));
    std::filesystem::create_directories(FDir.file("sub"));
    n->SetRoot(Utf8ToString(FDir.file("sub")));
    EXPECT_EQ(OpenWatches(), watches + 1);
    Touch(FDir.file("sub/b"));
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; }, 2000));
    // Filters: attribute changes reach only a notifier that asks for them. The change comes before
    // the new options; the thread delivers what its old watch saw before it closes that watch.
    const int names = calls;
    ::chmod(FDir.file("sub/b").c_str(), 0600);
    n->SetNotifyFilters({nfAttributeChange});
    EXPECT_TRUE(PumpUntil([&] { return OpenWatches() == watches + 1; }));
    EXPECT_EQ(calls, names) << "the watch of names saw an attribute change";
    ::chmod(FDir.file("sub/b").c_str(), 0644);
    EXPECT_TRUE(PumpUntil([&] { return calls > names; }, 2000));
    n->Free();
}

TEST_F(ShellChangeNotifier, NothingArrivesAfterTheNotifierDiesAmidChanges)
{
    std::atomic<int> calls{0};
    TbsShellChangeNotifier* n = Watch(FDir.path(), [&] { ++calls; });
    std::atomic<int> made{0};
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            Touch(FDir.file("f" + std::to_string(i)));
            ++made;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    PumpUntil([&] { return made >= 50 && calls > 0; });
    n->Free();
    const int atDeath = calls;
    writer.join();
    // The thread ends only after its last wait: no call can come once it has gone.
    EXPECT_TRUE(PumpUntil([&] { return TbsShellChangeThread::LiveCount() == FBaseline; }));
    EXPECT_EQ(calls, atDeath);
}

TEST_F(ShellChangeNotifier, ANotifierFreedInsideItsOwnCallbackEndsItsThread)
{
    TbsShellChangeNotifier* n = nullptr;
    int calls = 0;
    n = Watch(FDir.path(), [&] {
        ++calls;
        n->Free();  // as a view does when it re-aims its watcher from the refresh
        n = nullptr;
    });
    Touch(FDir.file("x"));
    EXPECT_TRUE(PumpUntil([&] { return n == nullptr; }));
    Touch(FDir.file("y"));
    EXPECT_TRUE(PumpUntil([&] { return TbsShellChangeThread::LiveCount() == FBaseline; }));
    EXPECT_EQ(calls, 1);
}

TEST_F(ShellChangeNotifier, AFailedWaitEndsTheThreadAndTheNotifierForgetsIt)
{
    std::atomic<int> calls{0};
    TbsShellChangeNotifier* n = Watch(FDir.path(), [&] { ++calls; });
    ASSERT_TRUE(n->Watching());
    CloseHandle(ShellChangeThreadProbe::WakeEvent(n));  // every later wait of the thread fails
    Touch(FDir.file("a"));                              // ends a wait already under way
    EXPECT_TRUE(PumpUntil([&] { return !n->Watching() && TbsShellChangeThread::LiveCount() == FBaseline; }));
    EXPECT_LE(calls, 1);
    // Assigning OnChange again starts a new watch.
    n->SetOnChange([&] { calls += 10; });
    EXPECT_TRUE(n->Watching());
    Touch(FDir.file("b"));
    EXPECT_TRUE(PumpUntil([&] { return calls > 1; }));
    n->Free();
}

TEST_F(ShellChangeNotifier, AnUnreadableFolderIsSilent)
{
    std::filesystem::create_directories(FDir.file("secret"));
    ::chmod(FDir.path().c_str(), 0755);
    ::chmod(FDir.file("secret").c_str(), 0333);
    const int rc = RunUnprivileged([&] {
        std::atomic<int> calls{0};
        const int watches = OpenWatches();
        TbsShellChangeNotifier* n = Watch(FDir.file("secret"), [&] { ++calls; });
        if (OpenWatches() != watches) return 3;  // it must run blind: no watch open
        Touch(FDir.file("secret/made by me"));
        n->Free();
        if (!PumpUntil([&] { return TbsShellChangeThread::LiveCount() == FBaseline; })) return 2;
        return calls == 0 && std::filesystem::exists(FDir.file("secret/made by me")) ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
}

}  // namespace
