// Fixture of the task component's queue tests: a component whose tasks stand in for opened
// files by their counts (as the task tests do) and whose runs behave as the input's name says,
// so the queue, its threads and its events are tested without media.
//   "end"      the run ends at once
//   "fail"     the run fails with "broken input"
//   "wait"     the run passes its loop (halting where a transcode halts when paused, reporting
//              progress to the component every pass) until it is stopped or released
//   "hold"     like "wait", but it does not halt when paused and ends on its own release
//   "missing"  the input does not open
// An output named "bad" does not open.
#pragma once

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/converter.h"
#include "platform/base/main_thread.h"
#include "tests/engine/task_test_support.h"

namespace engine_test {

using namespace std::chrono_literals;

// What the stand-in runs share with the test.
struct TRunBoard {
    std::atomic<bool> Release{false};      // "wait" runs end
    std::atomic<bool> ReleaseHold{false};  // "hold" runs end
    std::atomic<int> Running{0};
    std::atomic<int> MostRunning{0};
    std::atomic<int> Entered{0};
    std::atomic<int64_t> LastReportInterval{0};
    std::atomic<int> LastPolicy{-1};  // scheduling of the last converting thread
    std::atomic<int> LastNice{99};
    std::mutex Lock;
    std::set<String> EnteredNames;
    std::atomic<int> Passes{0};
};

class TStandInTask : public TFFmpeg {
public:
    TStandInTask(int AMaxFiles, TRunBoard& ABoard) : TFFmpeg(AMaxFiles), FBoard(ABoard) {}

    bool OpenInput(const String& AFileName) override
    {
        if (AFileName == L"missing") {
            FLastErrMsg = L"missing: No such file or directory";
            return false;
        }
        if (Fnb_input_files == 0) FRun = AFileName;
        ++Fnb_input_files;
        return true;
    }
    int OpenOutput(const String& AFileName, bool) override
    {
        if (AFileName == L"bad") {
            FLastErrMsg = L"bad: Permission denied";
            return -1;
        }
        return ++Fnb_output_files;
    }

    void Transcode() override
    {
        int now = ++FBoard.Running;
        for (int most = FBoard.MostRunning; now > most && !FBoard.MostRunning.compare_exchange_weak(most, now);) {}
        ++FBoard.Entered;
        FBoard.LastReportInterval = ReportInterval;
        FBoard.LastPolicy = sched_getscheduler(0);
        FBoard.LastNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
        {
            std::lock_guard<std::mutex> lock(FBoard.Lock);
            FBoard.EnteredNames.insert(FRun);
        }
        struct TLeave {
            TRunBoard& B;
            ~TLeave() { --B.Running; }
        } leave{FBoard};
        if (FRun == L"fail") throw FFmpegException(L"broken input");
        if (FRun == L"wait" || FRun == L"hold") {
            int frame = 0;
            std::atomic<bool>& release = FRun == L"wait" ? FBoard.Release : FBoard.ReleaseHold;
            while (!FBroken && !release) {
                if (FRun == L"wait") CheckPause();
                ++FBoard.Passes;
                ++frame;
                if (FOnProgress) FOnProgress(this, 0, frame, 25, 2.0f, 128.0f, frame * 1000, frame * 40000, 4000000);
                std::this_thread::sleep_for(1ms);
            }
        }
        FFinished = !FBroken;
    }

private:
    TRunBoard& FBoard;
    String FRun;
};

class TStandInConverter : public TFFConverter {
public:
    TStandInConverter(TRunBoard& ABoard) : TFFConverter(nullptr), FBoard(ABoard) {}
    ~TStandInConverter() override { StopBeforeDestroy(); }

protected:
    TFFmpeg* CreateTask(int AMaxFiles) override { return new TStandInTask(AMaxFiles, FBoard); }

    TRunBoard& FBoard;
};

struct TSeenEnd {
    TTerminateInfo Info;
    std::thread::id Thread;
};

// The converter libraries loaded, a stand-in component and the ends it raised.
class ConverterFixture : public TaskFixture {
protected:
    void SetUp() override
    {
        TaskFixture::SetUp();
        Converter = std::make_unique<TStandInConverter>(Board);
        Converter->SetOnTerminate([this](TObject* Sender, const TTerminateInfo& AInfo) {
            EXPECT_EQ(Sender, Converter.get());
            std::lock_guard<std::mutex> lock(EndsLock);
            Ends.push_back(TSeenEnd{AInfo, std::this_thread::get_id()});
        });
    }
    void TearDown() override
    {
        Board.Release = true;
        Board.ReleaseHold = true;
        Converter.reset();
        TaskFixture::TearDown();
    }

    // Adds a task with one input of that name and one output.
    int Add(const String& ARun)
    {
        int index = Converter->AddTask(ARun, String());
        EXPECT_GE(index, 0) << StringToUtf8(Converter->LastErrMsg());
        if (index >= 0) {
            EXPECT_TRUE(Converter->SetOutputFile(index, L"out", String()));
        }
        return index;
    }

    int EndCount()
    {
        std::lock_guard<std::mutex> lock(EndsLock);
        return int(Ends.size());
    }
    std::vector<TSeenEnd> SeenEnds()
    {
        std::lock_guard<std::mutex> lock(EndsLock);
        return Ends;
    }

    // Serves the main thread until APred holds; false after ATimeout.
    template <class Pred>
    static bool ServeUntil(Pred APred, std::chrono::milliseconds ATimeout = 10000ms)
    {
        auto end = std::chrono::steady_clock::now() + ATimeout;
        while (!APred()) {
            if (std::chrono::steady_clock::now() > end) return false;
            CheckSynchronize(1);
        }
        return true;
    }

    // Serves until the queue-end event has arrived, then a little longer to catch strays.
    bool ServeUntilQueueEnd()
    {
        bool ended = ServeUntil([this] {
            for (const TSeenEnd& end : SeenEnds())
                if (end.Info.TaskIndex == -1) return true;
            return false;
        });
        auto settle = std::chrono::steady_clock::now() + 30ms;
        while (std::chrono::steady_clock::now() < settle) CheckSynchronize(1);
        return ended;
    }

    // Each task index in 0..ACount-1 ended exactly once, then the queue ended once, last; all on
    // the main thread.
    void ExpectQueueEnds(int ACount)
    {
        std::vector<TSeenEnd> ends = SeenEnds();
        ASSERT_EQ(int(ends.size()), ACount + 1);
        std::set<int> tasks;
        for (int i = 0; i < ACount; ++i) {
            tasks.insert(ends[i].Info.TaskIndex);
            EXPECT_EQ(ends[i].Thread, MainThreadID());
        }
        EXPECT_EQ(int(tasks.size()), ACount);
        if (ACount > 0) {
            EXPECT_EQ(*tasks.begin(), 0);
            EXPECT_EQ(*tasks.rbegin(), ACount - 1);
        }
        const TTerminateInfo& last = ends.back().Info;
        EXPECT_EQ(last.TaskIndex, -1);
        EXPECT_TRUE(last.Finished);
        EXPECT_FALSE(last.Exception);
        EXPECT_TRUE(last.ExceptionMsg.empty());
        EXPECT_EQ(ends.back().Thread, MainThreadID());
    }

    TRunBoard Board;
    std::unique_ptr<TStandInConverter> Converter;
    std::mutex EndsLock;
    std::vector<TSeenEnd> Ends;
};

}  // namespace engine_test
