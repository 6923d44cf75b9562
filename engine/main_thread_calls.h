// The engine's calls into the main thread: running the pending ones, and running a method there
// while the calling thread waits. The converting threads, the player's threads and the event
// deliveries use them; waiting callers on the main thread serve the queue meanwhile.
#pragma once

#include <functional>

// Runs one pending piece of main-thread work; False when there was none. PumpMessages runs them
// until none is left. (They serve the main thread's queue of synchronous calls; window messages
// join once the message queue of the window layer serves them.)
bool ProcessOneMessage();
void PumpMessages();

// Runs AMethod in the main thread: directly there, otherwise queued to it while the caller
// waits until it has run (its exception is raised again in the caller).
void RunInMainThread(const std::function<void()>& AMethod);
