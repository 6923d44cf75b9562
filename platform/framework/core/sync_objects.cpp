#include "platform/framework/core/sync_objects.h"

#include <chrono>

// Notifies under the lock, so a waiter that frees the event right after its wait returns cannot
// free it while this call still touches it.
void TEvent::SetEvent()
{
    std::lock_guard<std::mutex> lock(FMutex);
    FSignaled = true;
    if (FManualReset)
        FCond.notify_all();
    else
        FCond.notify_one();
}

void TEvent::ResetEvent()
{
    std::lock_guard<std::mutex> lock(FMutex);
    FSignaled = false;
}

bool TEvent::IsSet()
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FSignaled;
}

TWaitResult TEvent::WaitFor(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(FMutex);
    if (timeoutMs == INFINITE)
        FCond.wait(lock, [&] { return FSignaled; });
    else if (!FCond.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FSignaled; }))
        return wrTimeout;
    if (!FManualReset) FSignaled = false;
    return wrSignaled;
}
