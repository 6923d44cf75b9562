// The engine's calls into the main thread.
#include "engine/main_thread_calls.h"

#include "platform/base/main_thread.h"

bool ProcessOneMessage() { return IsMainThread() && CheckSynchronize(0); }

void PumpMessages()
{
    while (ProcessOneMessage()) {}
}

void RunInMainThread(const std::function<void()>& AMethod)
{
    if (IsMainThread())
        AMethod();
    else
        RunInMainThreadSync(AMethod);
}
