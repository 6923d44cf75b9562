// The main (UI) thread's call queue. A worker hands a call to the UI thread and waits until it
// has run there (RunInMainThreadSync), or leaves it queued (QueueInMainThread). The UI thread runs
// queued calls from its message loop (CheckSynchronize), and keeps running them whenever it waits
// for a worker (WaitServingMainThread), so neither side can block the other.
#pragma once

#include <functional>
#include <thread>

// The thread that loaded the program is the main thread; tests may name another.
bool IsMainThread();
std::thread::id MainThreadID();
void SetMainThreadID(std::thread::id id);

// Runs fn on the main thread and waits for it; an exception fn raises comes back to the caller.
void RunInMainThreadSync(const std::function<void()>& fn);
void QueueInMainThread(std::function<void()> fn);

// On the main thread: runs every queued call; waits up to timeoutMs for one when none is queued.
// True when something ran.
bool CheckSynchronize(int timeoutMs = 0);

// The message loop's way to be woken when a call is queued (it posts itself a message); the
// waker it replaces.
std::function<void()> SetWakeMainThread(std::function<void()> waker);

// On the main thread: waits until done() holds, serving queued calls meanwhile (and every pollMs
// calling the idle hook, which the message loop sets to pump window messages). Elsewhere it just
// polls. timeoutMs < 0 waits without limit; false on timeout.
bool WaitServingMainThread(const std::function<bool()>& done, int pollMs = 10, int timeoutMs = -1);
void SetMainThreadIdleHook(std::function<void()> hook);
