#include "platform/framework/core/thread.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"

TThread::TThread() = default;

TThread::~TThread()
{
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id()) {
            FThread.detach();  // freeing itself at its own end
        } else {
            Terminate();
            WaitFor();
        }
    }
}

void TThread::Start()
{
    if (FStarted.exchange(true)) throw EThread(L"Cannot call Start on a running or terminated thread");
    // Held until the thread object is stored: a thread that frees itself at its end must not
    // be freed while this assignment still writes into it.
    std::lock_guard<std::mutex> lock(FMutex);
    FThread = std::thread([this] { Run(); });
}

void TThread::Run()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);  // Start has stored the thread
    }
    FTid = static_cast<pid_t>(::syscall(SYS_gettid));
    if (FPriority != tpNormal) ApplyPriority(FTid, FPriority);
    try {
        Execute();
    } catch (...) {
        FFatal = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatal) FFatal = std::current_exception();
    }
    const bool freeSelf = FreeOnTerminate;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FFinished = true;
    }
    FDone.notify_all();
    if (freeSelf) delete this;
}

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor()
{
    if (!FStarted) return FReturnValue;
    if (FThread.joinable() && FThread.get_id() == std::this_thread::get_id())
        throw EThread(L"Thread cannot wait for itself");
    if (IsMainThread()) {
        WaitServingMainThread([this] { return FFinished.load(); }, 5);
    } else {
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [this] { return FFinished.load(); });
    }
    if (FThread.joinable()) FThread.join();
    return FReturnValue;
}

void TThread::SetPriority(TThreadPriority p)
{
    FPriority = p;
    if (FTid != 0 && !FFinished) ApplyPriority(FTid, p);
}

void TThread::ApplyPriority(pid_t tid, TThreadPriority p)
{
    static const int kNice[] = {19, 10, 5, 0, -5, -10, -15};
    sched_param param{};
    if (p == tpIdle) {
        ::sched_setscheduler(tid, SCHED_IDLE, &param);
    } else {
        ::sched_setscheduler(tid, SCHED_OTHER, &param);
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), kNice[p]);
    }
}

void TThread::Synchronize(const std::function<void()>& fn) { RunInMainThreadSync(fn); }
void TThread::Queue(std::function<void()> fn) { QueueInMainThread(std::move(fn)); }
void TThread::Synchronize(TThread*, const std::function<void()>& fn) { RunInMainThreadSync(fn); }
