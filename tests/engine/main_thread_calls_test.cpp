// The engine's calls into the main thread.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "engine/main_thread_calls.h"
#include "platform/base/main_thread.h"

TEST(MainThreadCalls, RunInMainThreadFromAWorker)
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

TEST(MainThreadCalls, PumpMessagesRunsWhatIsQueued)
{
    int ran = 0;
    QueueInMainThread([&] { ++ran; });
    QueueInMainThread([&] { ++ran; });
    PumpMessages();
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(ProcessOneMessage());
}
