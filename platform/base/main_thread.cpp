#include "platform/base/main_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace {

struct Call {
    std::function<void()> fn;
    bool wait = false;
    bool done = false;
    std::exception_ptr error;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable queued;    // main thread waits for work
    std::condition_variable finished;  // workers wait for their call
    std::deque<std::shared_ptr<Call>> calls;
    std::function<void()> waker;
    std::function<void()> idle;
};

Queue& Q()
{
    static Queue* q = new Queue;  // outlives every static destructor that might still queue
    return *q;
}

std::thread::id& MainId()
{
    static std::thread::id id = std::this_thread::get_id();
    return id;
}

// Fix the main thread while static initialisation runs on it.
const std::thread::id kInitMain = MainId();

void Enqueue(const std::shared_ptr<Call>& call)
{
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> lock(Q().mutex);
        Q().calls.push_back(call);
        waker = Q().waker;
    }
    Q().queued.notify_all();
    if (waker) waker();
}

}  // namespace

bool IsMainThread() { return std::this_thread::get_id() == MainId(); }
std::thread::id MainThreadID() { return MainId(); }
void SetMainThreadID(std::thread::id id) { MainId() = id; }

void RunInMainThreadSync(const std::function<void()>& fn)
{
    if (IsMainThread()) {
        fn();
        return;
    }
    auto call = std::make_shared<Call>();
    call->fn = fn;
    call->wait = true;
    Enqueue(call);
    std::unique_lock<std::mutex> lock(Q().mutex);
    Q().finished.wait(lock, [&] { return call->done; });
    if (call->error) std::rethrow_exception(call->error);
}

void QueueInMainThread(std::function<void()> fn)
{
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    Enqueue(call);
}

bool CheckSynchronize(int timeoutMs)
{
    if (!IsMainThread()) return false;
    std::deque<std::shared_ptr<Call>> batch;
    {
        std::unique_lock<std::mutex> lock(Q().mutex);
        if (Q().calls.empty() && timeoutMs > 0)
            Q().queued.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return !Q().calls.empty(); });
        batch.swap(Q().calls);
    }
    for (auto& call : batch) {
        try {
            call->fn();
        } catch (...) {
            if (call->wait) call->error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(Q().mutex);
            call->done = true;
        }
        Q().finished.notify_all();
    }
    return !batch.empty();
}

std::function<void()> SetWakeMainThread(std::function<void()> waker)
{
    std::lock_guard<std::mutex> lock(Q().mutex);
    std::swap(Q().waker, waker);
    return waker;
}

void SetMainThreadIdleHook(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(Q().mutex);
    Q().idle = std::move(hook);
}

bool WaitServingMainThread(const std::function<bool()>& done, int pollMs, int timeoutMs)
{
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    if (pollMs <= 0) pollMs = 1;
    const bool main = IsMainThread();
    while (!done()) {
        if (timeoutMs >= 0 && clock::now() >= deadline) return false;
        if (main) {
            std::function<void()> idle;
            {
                std::lock_guard<std::mutex> lock(Q().mutex);
                idle = Q().idle;
            }
            if (idle) idle();
            CheckSynchronize(pollMs);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
        }
    }
    return true;
}
