// TThread: a worker thread object. Derive, override Execute, call Start. Synchronize runs a call
// on the main thread while the worker waits; OnTerminate is raised on the main thread after
// Execute; WaitFor on the main thread keeps serving synchronous calls, so a worker that
// synchronizes while the UI waits for it cannot deadlock.
#pragma once

#include <sys/types.h>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/framework/core/component.h"

// Priorities map to Linux scheduling: tpIdle is SCHED_IDLE; the rest are nice values
// 10, 5, 0, -5, -10, -15 (raising needs privilege; when refused the thread keeps its priority).
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    TThread();
    ~TThread() override;

    void Start();
    void Resume() { Start(); }
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    bool Started() const { return FStarted; }
    int WaitFor();

    bool FreeOnTerminate = false;
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority p);
    int ReturnValue() const { return FReturnValue; }
    void SetReturnValue(int v) { FReturnValue = v; }
    pid_t ThreadID() const { return FTid; }
    // What Execute raised, if anything (the thread ends quietly otherwise).
    std::exception_ptr FatalException() const { return FFatal; }

    void Synchronize(const std::function<void()>& fn);
    void Queue(std::function<void()> fn);
    static void Synchronize(TThread* thread, const std::function<void()>& fn);

    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    virtual void DoTerminate();

private:
    void Run();
    static void ApplyPriority(pid_t tid, TThreadPriority p);

    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStarted{false};
    std::atomic<pid_t> FTid{0};
    std::mutex FMutex;
    std::condition_variable FDone;
    TThreadPriority FPriority = tpNormal;
    int FReturnValue = 0;
    std::exception_ptr FFatal;
};
