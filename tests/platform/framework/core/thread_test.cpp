#include "platform/framework/core/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/sync_objects.h"

namespace {

class TCounterThread : public TThread {
public:
    std::atomic<int>* counter = nullptr;
    int rounds = 0;
    std::vector<std::thread::id>* seenOn = nullptr;

protected:
    void Execute() override
    {
        for (int i = 0; i < rounds && !Terminated(); ++i)
            Synchronize([this] {
                seenOn->push_back(std::this_thread::get_id());  // only the main thread touches it
                ++*counter;
            });
        SetReturnValue(rounds);
    }
};

}  // namespace

TEST(Thread, SynchronizeFromManyThreadsWhileMainWaits)
{
    std::atomic<int> counter{0};
    std::vector<std::thread::id> seenOn;
    std::vector<std::unique_ptr<TCounterThread>> threads;
    for (int i = 0; i < 6; ++i) {
        auto t = std::make_unique<TCounterThread>();
        t->counter = &counter;
        t->rounds = 50;
        t->seenOn = &seenOn;
        t->Start();
        threads.push_back(std::move(t));
    }
    for (auto& t : threads) EXPECT_EQ(t->WaitFor(), 50);
    EXPECT_EQ(counter.load(), 300);
    for (auto id : seenOn) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(Thread, OnTerminateRunsOnMainThreadAndExceptionsAreKept)
{
    struct TFailing : TThread {
        void Execute() override { throw Exception(L"boom"); }
    } t;
    std::thread::id where;
    t.OnTerminate = [&](TObject*) { where = std::this_thread::get_id(); };
    t.Start();
    t.WaitFor();
    EXPECT_EQ(where, std::this_thread::get_id());
    ASSERT_TRUE(t.FatalException());
    EXPECT_THROW(std::rethrow_exception(t.FatalException()), Exception);
    EXPECT_THROW(t.Start(), EThread);
}

TEST(Thread, SynchronizedExceptionReturnsToWorker)
{
    std::atomic<bool> caught{false};
    std::thread worker([&] {
        try {
            RunInMainThreadSync([] { throw EConvertError(L"bad"); });
        } catch (const EConvertError&) {
            caught = true;
        }
    });
    WaitServingMainThread([&] { return caught.load(); }, 5, 10000);
    worker.join();
    EXPECT_TRUE(caught);
}

TEST(Thread, FreeOnTerminateAndTerminate)
{
    TSimpleEvent gone;
    struct TLooping : TThread {
        TSimpleEvent* gone = nullptr;
        ~TLooping() override { gone->SetEvent(); }
        void Execute() override
        {
            while (!Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    auto* t = new TLooping;
    t->gone = &gone;
    t->FreeOnTerminate = true;
    t->SetPriority(tpLowest);
    t->Start();
    t->Terminate();
    EXPECT_EQ(gone.WaitFor(10000), wrSignaled);
}

// Threads that end at once and free themselves: none is freed while Start still stores it.
TEST(Thread, FreeOnTerminateThreadsEndingAtOnce)
{
    static std::atomic<int> gone{0};
    struct TShort : TThread {
        ~TShort() override { ++gone; }
        void Execute() override {}
    };
    for (int i = 0; i < 200; ++i) {
        auto* t = new TShort;
        t->FreeOnTerminate = true;
        t->Start();
    }
    EXPECT_TRUE(WaitServingMainThread([] { return gone == 200; }, 1, 10000));
}

TEST(Event, AutoResetWakesOneWaiter)
{
    TEvent ev(false, false);
    EXPECT_EQ(ev.WaitFor(10), wrTimeout);
    ev.SetEvent();
    EXPECT_EQ(ev.WaitFor(10), wrSignaled);
    EXPECT_EQ(ev.WaitFor(10), wrTimeout);
}
