// Taking a lock from the main thread that converting threads share with it. A converting thread
// may hold such a lock while it waits for the main thread (a log line, an event handler), so the
// main thread keeps running the queued calls of other threads until it owns the lock; on any
// other thread it is a plain wait. The task component takes its event locks, CodecLock and
// PostHookLock this way.
#pragma once

#include "platform/base/main_thread.h"
#include "platform/framework/core/sync_objects.h"

inline void EnterServing(TCriticalSection& ALock)
{
    if (!IsMainThread()) {
        ALock.Enter();
        return;
    }
    if (ALock.TryEnter()) return;
    WaitServingMainThread([&ALock] { return ALock.TryEnter(); }, 1);
}

class TServingLock {
public:
    explicit TServingLock(TCriticalSection& ALock) : FLock(ALock) { EnterServing(FLock); }
    ~TServingLock() { FLock.Leave(); }
    TServingLock(const TServingLock&) = delete;
    TServingLock& operator=(const TServingLock&) = delete;

private:
    TCriticalSection& FLock;
};
