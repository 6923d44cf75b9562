// The task component's queue: inline and threaded runs, the order and thread of the end events,
// the refusals while working, pause, resume, stop, and the locks the main thread shares with
// converting threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/library_loader.h"
#include "engine/logger.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "tests/engine/converter_test_support.h"

using namespace std::chrono_literals;
using engine_test::ConverterFixture;
using engine_test::TRunBoard;
using engine_test::TStandInConverter;

namespace {

// Aborts the test program when a step does not come back: a deadlock must fail, not hang.
class TWatchdog {
public:
    explicit TWatchdog(std::chrono::seconds ALimit)
        : FThread([this, ALimit] {
              std::unique_lock<std::mutex> lock(FLock);
              if (!FDone.wait_for(lock, ALimit, [this] { return FFinished; })) {
                  std::fprintf(stderr, "deadlock: the step did not return\n");
                  std::abort();
              }
          })
    {}
    ~TWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FFinished = true;
        }
        FDone.notify_all();
        FThread.join();
    }

private:
    std::mutex FLock;
    std::condition_variable FDone;
    bool FFinished = false;
    std::thread FThread;
};

}  // namespace

class ConverterQueue : public ConverterFixture {};

TEST_F(ConverterQueue, StartWithoutThreadsConvertsEveryTaskInlineAndEndsTheQueueLast)
{
    for (int count : {0, -1}) {
        SCOPED_TRACE(count);
        Converter->ClearTasks();
        Ends.clear();
        Add(L"end");
        Add(L"fail");
        Add(L"end");
        Converter->Start(count);
        // Start returns after the whole queue, every end raised on this thread, in order.
        EXPECT_TRUE(Converter->Terminated());
        EXPECT_TRUE(Converter->Working());
        std::vector<engine_test::TSeenEnd> ends = SeenEnds();
        ASSERT_EQ(ends.size(), 4u);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ends[i].Info.TaskIndex, i);
        EXPECT_TRUE(ends[0].Info.Finished);
        EXPECT_FALSE(ends[1].Info.Finished);
        EXPECT_TRUE(ends[1].Info.Exception);
        EXPECT_EQ(ends[1].Info.ExceptionMsg, L"broken input");
        ExpectQueueEnds(3);
    }
}

// A handler that stops an inline queue: the running task breaks, the waiting ones end from
// their own threads, and Start still returns after the end of the queue.
TEST_F(ConverterQueue, StopFromAHandlerOfAnInlineQueue)
{
    Converter->SetOnProgress([this](TObject*, PProgressInfo) { Converter->Stop(true); });
    Add(L"wait");
    Add(L"end");
    Add(L"end");
    Converter->Start(0);
    std::vector<engine_test::TSeenEnd> ends = SeenEnds();
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_EQ(ends.back().Info.TaskIndex, -1);
    EXPECT_EQ(ends.back().Thread, MainThreadID());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(ends[i].Info.Finished);
    EXPECT_EQ(Board.Entered, 1);
}

TEST_F(ConverterQueue, TheEndHandlerMayClearTheTasksAndTheNextQueueRuns)
{
    Converter->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
        std::lock_guard<std::mutex> lock(EndsLock);
        Ends.push_back(engine_test::TSeenEnd{AInfo, std::this_thread::get_id()});
        if (AInfo.TaskIndex == -1) Converter->ClearTasks();
    });
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Ends.clear();
        Add(L"end");
        Add(L"fail");
        Converter->Start(2);
        ASSERT_TRUE(ServeUntilQueueEnd());
        ExpectQueueEnds(2);
        EXPECT_FALSE(Converter->Working());
        EXPECT_EQ(Converter->TasksCount(), 0);
    }
}

TEST_F(ConverterQueue, TwoThreadsRunFiveTasksTwoAtATimeAndEndTheQueueOnceLast)
{
    for (int i = 0; i < 5; ++i) Add(L"wait");
    Converter->Start(2);
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 2; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Board.Entered, 2);  // the other three wait for a free thread
    Board.Release = true;
    ASSERT_TRUE(ServeUntilQueueEnd());
    EXPECT_EQ(Board.Entered, 5);
    EXPECT_EQ(Board.MostRunning, 2);
    ExpectQueueEnds(5);
    for (const auto& end : SeenEnds()) EXPECT_TRUE(end.Info.Finished);
}

// Tasks that end at once, from their threads and (refused) from Start itself, while Start is
// still starting others: every end arrives once and the queue ends once, after them.
TEST_F(ConverterQueue, TasksEndingWhileStartStillStartsOthersLoseNoEvent)
{
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        Converter->ClearTasks();
        Ends.clear();
        Board.MostRunning = 0;
        for (int i = 0; i < 24; ++i) {
            if (i % 5 == 3) {
                // No output: StartConvert refuses the task and ends it on the starting thread.
                ASSERT_GE(Converter->AddTask(L"end", String()), 0);
            } else {
                Add(i % 7 == 2 ? L"fail" : L"end");
            }
        }
        Converter->Start(round % 2 ? 3 : 4);
        ASSERT_TRUE(ServeUntilQueueEnd());
        ExpectQueueEnds(24);
        EXPECT_LE(Board.MostRunning, round % 2 ? 3 : 4);
        int refused = 0;
        for (const auto& end : SeenEnds())
            if (end.Info.ExceptionMsg == L"At least one output file must be specified") ++refused;
        EXPECT_EQ(refused, 5);
    }
}

TEST_F(ConverterQueue, WaitingStopBreaksTheRunningTasksAndEndsTheWaitingOnes)
{
    int progress = 0;
    Converter->SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        EXPECT_TRUE(IsMainThread());
        EXPECT_GE(AInfo->TaskIndex, 0);
        ++progress;
    });
    for (int i = 0; i < 5; ++i) Add(L"wait");
    Converter->Start(2);
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 2 && Board.Passes > 10; }));
    // The running tasks hand progress to this thread while it waits in Stop.
    Converter->Stop(true);
    EXPECT_EQ(Board.Running, 0);
    ASSERT_TRUE(ServeUntilQueueEnd());
    EXPECT_EQ(Board.Entered, 2);
    ExpectQueueEnds(5);
    for (const auto& end : SeenEnds()) {
        if (end.Info.TaskIndex < 0) continue;
        EXPECT_FALSE(end.Info.Finished);
        EXPECT_FALSE(end.Info.Exception);
    }
    EXPECT_GT(progress, 0);
    // The ended queue waits for ClearTasks.
    EXPECT_TRUE(Converter->Terminated());
    EXPECT_EQ(FailureOf([&] { Converter->AddTask(L"end", String()); }), "Cannot AddTask while working.");
    Converter->ClearTasks();
    EXPECT_FALSE(Converter->Working());
    EXPECT_EQ(Converter->TasksCount(), 0);
}

TEST_F(ConverterQueue, StopWithoutWaitingStillReportsEveryEnd)
{
    for (int i = 0; i < 4; ++i) Add(L"wait");
    Converter->Start(1);
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 1; }));
    Converter->Stop(false);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ExpectQueueEnds(4);
    EXPECT_EQ(Board.Entered, 1);
}

TEST_F(ConverterQueue, PauseHaltsTheRunningTasksAndTasksStartingMeanwhileStartPaused)
{
    Add(L"hold");  // ends while the queue is paused
    Add(L"wait");
    Converter->Start(1);
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 1; }));
    Converter->Pause();
    Board.ReleaseHold = true;
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 2; }));
    int passes = Board.Passes;
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(Board.Passes, passes + 1);  // the second task halted at its first pass
    Converter->Resume();
    ASSERT_TRUE(ServeUntil([&] { return Board.Passes > passes + 5; }));
    Converter->Pause();
    passes = Board.Passes;
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(Board.Passes, passes + 1);
    // A paused task still stops.
    Converter->Stop(true);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ExpectQueueEnds(2);
}

TEST_F(ConverterQueue, OperationsThatChangeTheTasksAreRefusedWhileWorking)
{
    Add(L"wait");
    Add(L"wait");
    Converter->Start(1);
    const std::pair<const char*, std::function<void()>> refused[] = {
        {"Cannot AddTask while working.", [&] { Converter->AddTask(L"end", String()); }},
        {"Cannot AddTask while working.", [&] { Converter->AddTask(L"end", nullptr); }},
        {"Cannot AddInputFile while working.", [&] { Converter->AddInputFile(0, L"end", String()); }},
        {"Cannot SetOutputFile while working.", [&] { Converter->SetOutputFile(0, L"out", String()); }},
        {"Cannot SetOutputFile while working.", [&] { Converter->SetOutputFile(0, L"out", nullptr); }},
        {"Cannot Exchange while working.", [&] { Converter->Exchange(0, 1); }},
        {"Cannot RemoveTask while working.", [&] { Converter->RemoveTask(0); }},
        {"Cannot StartTask while working.", [&] { Converter->Start(1); }},
        {"Cannot ClearTasks while working.", [&] { Converter->ClearTasks(); }},
    };
    for (const auto& [text, step] : refused) EXPECT_EQ(FailureOf(step), text);
    EXPECT_EQ(Converter->TasksCount(), 2);
    Converter->Stop(true);
    ASSERT_TRUE(ServeUntilQueueEnd());
    // Ended: still refused until the tasks are cleared, except ClearTasks itself.
    EXPECT_EQ(FailureOf([&] { Converter->RemoveTask(0); }), "Cannot RemoveTask while working.");
    EXPECT_EQ(FailureOf([&] { Converter->Start(1); }), "Cannot StartTask while working.");
    Converter->ClearTasks();
    EXPECT_GE(Add(L"end"), 0);
}

TEST_F(ConverterQueue, StartWithoutTasksEndsTheQueueAtOnce)
{
    for (int count : {0, 3}) {
        SCOPED_TRACE(count);
        Ends.clear();
        Converter->Start(count);
        ASSERT_TRUE(ServeUntilQueueEnd());
        ExpectQueueEnds(0);
        EXPECT_TRUE(Converter->Terminated());
        Converter->ClearTasks();  // not locked
        EXPECT_FALSE(Converter->Working());
    }
}

TEST_F(ConverterQueue, StopOfAQueueThatDoesNotRunLeavesItsTasksReady)
{
    Add(L"end");
    Converter->Stop(true);
    EXPECT_EQ(EndCount(), 0);
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ExpectQueueEnds(1);
    EXPECT_TRUE(SeenEnds()[0].Info.Finished);
}

TEST_F(ConverterQueue, ProgressIntervalIsAtLeast100MillisecondsAndReachesEachTask)
{
    EXPECT_EQ(Converter->ProgressInterval(), 500);
    for (auto [set, read] : {std::pair{50, 100}, {100, 100}, {-5, 100}, {101, 101}, {250, 250}}) {
        Converter->SetProgressInterval(set);
        EXPECT_EQ(Converter->ProgressInterval(), read) << set;
    }
    Add(L"end");
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    EXPECT_EQ(Board.LastReportInterval, 250000);
}

TEST_F(ConverterQueue, ConvertingThreadsRunAtTheChosenPriority)
{
    // The lowest priority is the idle policy; the others are nice values (raising may be refused).
    const struct {
        TThreadPriority Priority;
        int Policy;
        int Nice;
    } cases[] = {{tpIdle, SCHED_IDLE, -1}, {tpLowest, SCHED_OTHER, 10}, {tpLower, SCHED_OTHER, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Priority));
        Converter->ClearTasks();
        Ends.clear();
        Converter->SetThreadPriority(c.Priority);
        Add(L"end");
        Converter->Start(1);
        ASSERT_TRUE(ServeUntilQueueEnd());
        EXPECT_EQ(Board.LastPolicy, c.Policy);
        if (c.Nice >= 0) {
            EXPECT_EQ(Board.LastNice, c.Nice);
        }
    }
}

TEST_F(ConverterQueue, EventsArriveOnTheMainThreadLoopUnlessToldOtherwise)
{
    for (bool inMain : {true, false}) {
        SCOPED_TRACE(inMain);
        Converter->ClearTasks();
        Ends.clear();
        Board.Release = false;
        Converter->SetTriggerEventInMainThread(inMain);
        std::atomic<int> reports{0};
        std::atomic<bool> onMain{true};
        Converter->SetOnProgress([&](TObject* Sender, PProgressInfo AInfo) {
            if (IsMainThread() != inMain) onMain = false;
            EXPECT_EQ(AInfo->TaskIndex, 1);
            EXPECT_EQ(AInfo->TotalDuration, 4000000);
            ++reports;
        });
        Add(L"end");
        Add(L"wait");
        Converter->Start(2);
        ASSERT_TRUE(ServeUntil([&] { return reports > 3; }));
        Board.Release = true;
        ASSERT_TRUE(ServeUntilQueueEnd());
        EXPECT_TRUE(onMain);
        std::vector<engine_test::TSeenEnd> ends = SeenEnds();
        ASSERT_EQ(ends.size(), 3u);
        for (const auto& end : ends) EXPECT_EQ(end.Thread == MainThreadID(), inMain);
        EXPECT_EQ(ends.back().Info.TaskIndex, -1);
    }
}

// A converting thread holds CodecLock (opening an encoder) and waits there for the main thread
// to take its log line, while the main thread adds a task whose opening needs CodecLock.
TEST_F(ConverterQueue, AddingATaskWhileAWorkerLogsInsideAnEncoderOpeningDoesNotDeadlock)
{
    class TOpeningTask : public engine_test::TStandInTask {
    public:
        using TStandInTask::TStandInTask;
        std::atomic<bool> Holding{false};
        bool OpenInput(const String& AFileName) override
        {
            // As the input analysis does: under CodecLock.
            TCriticalSectionLock lock(CodecLock());
            return TStandInTask::OpenInput(AFileName);
        }
        void Transcode() override
        {
            TCriticalSectionLock lock(CodecLock());
            Holding = true;
            DefaultLogger()->Log(this, llInfo, L"opening the encoder");
            FFinished = true;
        }
    };
    class TOpeningConverter : public TStandInConverter {
    public:
        using TStandInConverter::TStandInConverter;
        TOpeningTask* Last = nullptr;

    protected:
        TFFmpeg* CreateTask(int AMaxFiles) override { return Last = new TOpeningTask(AMaxFiles, FBoard); }
    };
    TRunBoard board;
    TOpeningConverter worker(board);
    ASSERT_GE(worker.AddTask(L"end", String()), 0);
    ASSERT_TRUE(worker.SetOutputFile(0, L"out", String()));
    TOpeningTask* running = worker.Last;
    worker.Start(1);
    // Wait without serving, so the log line is still pending when the task is added.
    while (!running->Holding) std::this_thread::sleep_for(1ms);
    {
        TWatchdog watchdog(20s);
        TOpeningConverter other(board);
        EXPECT_GE(other.AddTask(L"end", String()), 0);
    }
    EXPECT_TRUE(Logged(llInfo, L"opening the encoder"));
    ASSERT_TRUE(ServeUntil([&] { return worker.Terminated(); }));
}

TEST_F(ConverterQueue, DestroyingTheComponentDuringARunStopsAndWaitsForItsTasks)
{
    for (int i = 0; i < 4; ++i) Add(L"wait");
    Converter->Start(2);
    ASSERT_TRUE(ServeUntil([this] { return Board.Entered == 2; }));
    Converter.reset();
    EXPECT_EQ(Board.Running, 0);
    EXPECT_EQ(Board.Entered, 2);
}
