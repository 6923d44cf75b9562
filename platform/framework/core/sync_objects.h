// Synchronisation objects: the recursive critical section and the waitable event.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/base/wait.h"
#include "platform/framework/core/component.h"

class TCriticalSection : public TObject {
public:
    void Enter() { FMutex.lock(); }
    void Leave() { FMutex.unlock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }
    bool TryEnter() { return FMutex.try_lock(); }
    std::recursive_mutex& Native() { return FMutex; }

private:
    std::recursive_mutex FMutex;
};

// Holds a critical section for a scope.
class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection& cs) : FCs(cs) { FCs.Enter(); }
    ~TCriticalSectionLock() { FCs.Leave(); }
    TCriticalSectionLock(const TCriticalSectionLock&) = delete;
    TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

private:
    TCriticalSection& FCs;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TEvent : public TObject {
public:
    explicit TEvent(bool manualReset = true, bool initialState = false)
        : FManualReset(manualReset), FSignaled(initialState)
    {}
    void SetEvent();
    void ResetEvent();
    TWaitResult WaitFor(uint32_t timeoutMs = INFINITE);
    bool IsSet();

private:
    std::mutex FMutex;
    std::condition_variable FCond;
    bool FManualReset;
    bool FSignaled;
};

class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};
