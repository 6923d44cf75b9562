// Per-thread message queues: posted messages, sent messages from other threads, raw input from the
// back ends and tests, timers. GetMessage/PeekMessage read them in Windows' order: sent, posted,
// input, quit, paint, timer. Internal to platform/win.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/win_types.h"

namespace vxwin {

// Input as the back ends and tests deliver it, before it becomes window messages.
struct RawInput {
    enum Kind { MouseMove, MouseDown, MouseUp, Wheel, KeyDown, KeyUp, Text } kind = MouseMove;
    int x = 0, y = 0;           // screen coordinates (mouse)
    int button = 0;             // 0 left, 1 right, 2 middle
    int wheel = 0;              // multiples of WHEEL_DELTA
    int vk = 0;                 // keys
    std::wstring text;          // characters the key or the input method produced
    std::uintptr_t target = 0;  // back-end hint: the top-level the event came from (0 = by position)
};

struct SentMessage {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
    LRESULT result = 0;
    bool done = false;
};

struct TimerEntry {
    std::uintptr_t hwnd = 0;
    UINT_PTR id = 0;
    UINT interval = 0;
    unsigned long long due = 0;
    TIMERPROC proc = nullptr;
};

struct ThreadQueue {
    std::mutex m;
    std::condition_variable cv;
    std::thread::id thread;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::deque<RawInput> input;
    std::vector<TimerEntry> timers;
    bool quit = false;
    int quitCode = 0;
    std::wstring pendingChars;  // text of the last key-down, for TranslateMessage
    HWND pendingCharsWnd = nullptr;
    bool pendingCharsSys = false;
    unsigned wakes = 0;
    unsigned long long sleeps = 0;  // times the thread's message loop went to sleep
};

// The queue of the calling thread (created on first use) and of any thread that has one.
std::shared_ptr<ThreadQueue> CurrentQueue();
std::shared_ptr<ThreadQueue> MainQueue();
void WakeQueue(ThreadQueue& q);
void WakeAllQueues();
// Raw input goes to the UI (main) thread's queue.
void PostRawInput(RawInput in);
// Serves the messages other threads sent to this thread's windows; true when one ran.
bool ServeSentMessages(ThreadQueue& q);
void RemoveWindowTimers(std::uintptr_t hwnd);
void RemoveWindowMessages(std::uintptr_t hwnd);

}  // namespace vxwin
