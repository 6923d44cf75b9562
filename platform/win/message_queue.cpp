// Message queues and delivery: SendMessageW (direct or marshalled), PostMessageW, GetMessageW,
// PeekMessageW, TranslateMessage, DispatchMessageW, timers, and the main thread's call queue
// served from every message loop. See message_queue.h.
#include "platform/win/message_queue.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>

#include "platform/base/main_thread.h"
#include "platform/win/backend.h"
#include "platform/win/input.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

namespace {

struct QueueRegistry {
    std::mutex m;
    std::unordered_map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
};
QueueRegistry& Registry()
{
    static auto* r = new QueueRegistry();
    return *r;
}

// Sent messages carry their sender so completion can wake it.
std::mutex g_senderLock;
std::unordered_map<SentMessage*, std::shared_ptr<ThreadQueue>> g_senders;

thread_local bool t_inSend = false;
thread_local DWORD t_msgTime = 0;
thread_local POINT t_msgPos;

void InstallMainThreadHooks()
{
    SetWakeMainThread([] {
        auto q = MainQueue();
        if (!q) return;
        {
            std::lock_guard<std::mutex> lock(q->m);
            bool pending = std::any_of(q->posted.begin(), q->posted.end(),
                                       [](const MSG& m) { return m.hwnd == nullptr && m.message == WM_NULL; });
            if (!pending) {
                MSG m;
                q->posted.push_back(m);
            }
        }
        WakeQueue(*q);
    });
    // While the UI thread waits for a worker, it keeps answering messages other threads send it.
    SetMainThreadIdleHook([] {
        if (auto q = MainQueue()) ServeSentMessages(*q);
        PresentAllDirty();  // what synchronous calls drew shows while the thread waits
    });
}

bool MatchesFilter(const MSG& m, HWND filter, UINT min, UINT max)
{
    if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
    if (min == 0 && max == 0) return true;
    return m.message >= min && m.message <= max;
}

bool RangeIncludes(UINT min, UINT max, UINT a, UINT b)
{
    if (min == 0 && max == 0) return true;
    return !(b < min || a > max);
}

// First window of this thread, in z-order and tree pre-order, that needs WM_PAINT.
std::shared_ptr<WindowObj> FindPaint(const std::shared_ptr<WindowObj>& w)
{
    if (!w || !(w->style & WS_VISIBLE)) return nullptr;
    if (w->thread == std::this_thread::get_id() && !w->redrawOff && (!w->update.IsEmpty() || w->ncPending)) return w;
    auto kids = w->children;
    for (auto c : kids)
        if (auto p = FindPaint(LookupWindow(c))) return p;
    return nullptr;
}

std::shared_ptr<WindowObj> NextPaintWindow(HWND filter)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    if (filter) return FindPaint(LookupWindow(filter));
    for (auto t : TopLevels())
        if (auto p = FindPaint(LookupWindow(t))) return p;
    return nullptr;
}

void StampMessage(MSG* m)
{
    m->time = GetTickCount();
    GetCursorPos(&m->pt);
    t_msgTime = m->time;
    t_msgPos = m->pt;
}

// One pass over the queue; true with *out filled when a message is ready.
bool TakeMessage(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, bool remove)
{
    // Calls from workers run here; the loop then gets a null message, so a loop waiting for a
    // condition such a call changes looks at it again.
    if (IsMainThread() && CheckSynchronize(0) && !filter && RangeIncludes(min, max, WM_NULL, WM_NULL)) {
        *out = MSG{};
        StampMessage(out);
        return true;
    }
    ServeSentMessages(q);
again : {
    std::lock_guard<std::mutex> lock(q.m);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!MatchesFilter(*it, filter, min, max)) continue;
        *out = *it;
        if (remove) q.posted.erase(it);
        t_msgTime = out->time;
        t_msgPos = out->pt;
        return true;
    }
}
    if (RangeIncludes(min, max, WM_KEYFIRST, WM_MOUSELAST) ||
        RangeIncludes(min, max, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK)) {
        while (true) {
            RawInput raw;
            {
                std::lock_guard<std::mutex> lock(q.m);
                if (q.input.empty()) break;
                raw = std::move(q.input.front());
                q.input.pop_front();
            }
            MSG m;
            // Input that produced no message may still have posted some (leave notices).
            if (!TranslateRawInput(raw, m)) goto again;
            StampMessage(&m);
            if (!MatchesFilter(m, filter, min, max) || !remove) {
                std::lock_guard<std::mutex> lock(q.m);
                q.posted.push_front(m);
                if (!MatchesFilter(m, filter, min, max)) break;
            }
            *out = m;
            return true;
        }
    }
    {
        std::lock_guard<std::mutex> lock(q.m);
        if (q.quit && !filter) {
            *out = MSG{};
            out->message = WM_QUIT;
            out->wParam = static_cast<WPARAM>(q.quitCode);
            if (remove) q.quit = false;
            return true;
        }
    }
    if (RangeIncludes(min, max, WM_PAINT, WM_PAINT)) {
        if (auto w = NextPaintWindow(filter)) {
            *out = MSG{};
            out->hwnd = w->hwnd();
            out->message = WM_PAINT;
            StampMessage(out);
            return true;
        }
    }
    if (RangeIncludes(min, max, WM_TIMER, WM_TIMER)) {
        std::lock_guard<std::mutex> lock(q.m);
        unsigned long long now = ClockNowMs();
        TimerEntry* best = nullptr;
        for (auto& t : q.timers) {
            if (t.due > now) continue;
            if (filter && reinterpret_cast<HWND>(t.hwnd) != filter) continue;
            if (!best || t.due < best->due) best = &t;
        }
        if (best) {
            *out = MSG{};
            out->hwnd = reinterpret_cast<HWND>(best->hwnd);
            out->message = WM_TIMER;
            out->wParam = best->id;
            out->lParam = reinterpret_cast<LPARAM>(best->proc);
            if (remove) best->due = now + best->interval;
            out->time = static_cast<DWORD>(now);
            return true;
        }
    }
    return false;
}

void WaitForWork(ThreadQueue& q)
{
    // The back end may have work for its own reader before this thread sleeps (X events read into
    // the library's queue by this thread's calls).
    CurrentBackend().BeforeIdle();
    std::unique_lock<std::mutex> lock(q.m);
    if (!q.posted.empty() || !q.sent.empty() || !q.input.empty() || q.quit) return;
    unsigned seen = q.wakes;
    unsigned long long now = ClockNowMs();
    unsigned long long next = ~0ull;
    for (auto& t : q.timers) next = std::min(next, t.due);
    if (next <= now) return;
    ++q.sleeps;
    auto woken = [&] { return q.wakes != seen; };
    // The test clock only moves when a test advances it (which wakes every queue); the headless
    // loop still looks again every 100 ms, as tests have always had it. On the real clock the
    // thread sleeps until its next timer is due, and without one until something wakes it.
    if (ClockIsTest())
        q.cv.wait_for(lock, std::chrono::milliseconds(100), woken);
    else if (next == ~0ull)
        q.cv.wait(lock, woken);
    else
        q.cv.wait_for(lock, std::chrono::milliseconds(next - now), woken);
}

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue()
{
    auto id = std::this_thread::get_id();
    bool created = false;
    std::shared_ptr<ThreadQueue> q;
    {
        auto& r = Registry();
        std::lock_guard<std::mutex> lock(r.m);
        auto& slot = r.queues[id];
        if (!slot) {
            slot = std::make_shared<ThreadQueue>();
            slot->thread = id;
            created = true;
        }
        q = slot;
    }
    if (created && id == MainThreadID()) InstallMainThreadHooks();
    return q;
}

std::shared_ptr<ThreadQueue> MainQueue()
{
    auto& r = Registry();
    std::lock_guard<std::mutex> lock(r.m);
    auto it = r.queues.find(MainThreadID());
    return it == r.queues.end() ? nullptr : it->second;
}

void WakeQueue(ThreadQueue& q)
{
    {
        std::lock_guard<std::mutex> lock(q.m);
        ++q.wakes;
    }
    q.cv.notify_all();
}

void WakeAllQueues()
{
    std::vector<std::shared_ptr<ThreadQueue>> all;
    {
        auto& r = Registry();
        std::lock_guard<std::mutex> lock(r.m);
        for (auto& [id, q] : r.queues) all.push_back(q);
    }
    for (auto& q : all) WakeQueue(*q);
}

void PostRawInput(RawInput in)
{
    auto q = MainQueue();
    if (!q) {
        // Input before any message loop exists goes to the thread that owns the windows.
        if (!IsMainThread()) return;
        q = CurrentQueue();
    }
    {
        std::lock_guard<std::mutex> lock(q->m);
        q->input.push_back(std::move(in));
    }
    WakeQueue(*q);
}

bool ServeSentMessages(ThreadQueue& q)
{
    bool any = false;
    while (true) {
        std::shared_ptr<SentMessage> sm;
        {
            std::lock_guard<std::mutex> lock(q.m);
            if (q.sent.empty()) break;
            sm = q.sent.front();
            q.sent.pop_front();
        }
        any = true;
        LRESULT r = 0;
        if (auto w = LookupWindow(sm->hwnd)) {
            bool was = t_inSend;
            t_inSend = true;
            r = CallProc(w->proc, sm->hwnd, sm->msg, sm->wp, sm->lp);
            t_inSend = was;
        }
        std::shared_ptr<ThreadQueue> sender;
        {
            std::lock_guard<std::mutex> lock(g_senderLock);
            auto it = g_senders.find(sm.get());
            if (it != g_senders.end()) sender = it->second;
        }
        if (sender) {
            {
                std::lock_guard<std::mutex> lock(sender->m);
                sm->result = r;
                sm->done = true;
                ++sender->wakes;
            }
            sender->cv.notify_all();
        }
    }
    return any;
}

void RemoveWindowTimers(std::uintptr_t hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w || !w->queue) return;
    std::lock_guard<std::mutex> lock(w->queue->m);
    auto& v = w->queue->timers;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const TimerEntry& t) { return t.hwnd == hwnd; }), v.end());
}

void RemoveWindowMessages(std::uintptr_t hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w || !w->queue) return;
    std::lock_guard<std::mutex> lock(w->queue->m);
    auto& v = w->queue->posted;
    v.erase(std::remove_if(v.begin(), v.end(),
                           [&](const MSG& m) { return reinterpret_cast<std::uintptr_t>(m.hwnd) == hwnd; }),
            v.end());
}

}  // namespace vxwin

using namespace vxwin;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    if (w->thread == std::this_thread::get_id()) return CallProc(w->proc, hwnd, msg, wp, lp);
    // Another thread owns the window: queue the message there and wait, answering messages sent to
    // this thread meanwhile so two threads sending to each other cannot deadlock.
    auto target = w->queue;
    auto me = CurrentQueue();
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hwnd;
    sm->msg = msg;
    sm->wp = wp;
    sm->lp = lp;
    {
        std::lock_guard<std::mutex> lock(g_senderLock);
        g_senders[sm.get()] = me;
    }
    {
        std::lock_guard<std::mutex> lock(target->m);
        target->sent.push_back(sm);
    }
    WakeQueue(*target);
    // A UI thread blocked in a worker wait serves its calls through the main-thread queue's idle hook;
    // wake it that way too.
    LRESULT result = 0;
    while (true) {
        {
            std::unique_lock<std::mutex> lock(me->m);
            if (sm->done) {
                result = sm->result;
                break;
            }
            unsigned seen = me->wakes;
            if (me->sent.empty())
                me->cv.wait_for(lock, std::chrono::milliseconds(50), [&] { return sm->done || me->wakes != seen; });
            if (sm->done) {
                result = sm->result;
                break;
            }
        }
        ServeSentMessages(*me);
        if (IsMainThread()) CheckSynchronize(0);
        if (!IsWindow(hwnd)) {
            // The window went away; take the message back if it was never served.
            std::lock_guard<std::mutex> lock(target->m);
            auto it = std::find(target->sent.begin(), target->sent.end(), sm);
            if (it != target->sent.end()) {
                target->sent.erase(it);
                break;
            }
        }
    }
    std::lock_guard<std::mutex> lock(g_senderLock);
    g_senders.erase(sm.get());
    return result;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    std::shared_ptr<ThreadQueue> q;
    if (!hwnd)
        q = CurrentQueue();
    else {
        auto w = LookupWindow(hwnd);
        if (!w) return FALSE;
        q = w->queue;
    }
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = GetTickCount();
    GetCursorPos(&m.pt);
    {
        std::lock_guard<std::mutex> lock(q->m);
        q->posted.push_back(m);
    }
    WakeQueue(*q);
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wp, LPARAM lp)
{
    std::shared_ptr<ThreadQueue> q;
    {
        auto& r = Registry();
        std::lock_guard<std::mutex> lock(r.m);
        for (auto& [id, qq] : r.queues)
            if ((std::hash<std::thread::id>()(id) & 0x7FFFFFFF) == threadId) q = qq;
    }
    if (!q) return FALSE;
    MSG m;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    {
        std::lock_guard<std::mutex> lock(q->m);
        q->posted.push_back(m);
    }
    WakeQueue(*q);
    return TRUE;
}

void PostQuitMessage(int code)
{
    auto q = CurrentQueue();
    {
        std::lock_guard<std::mutex> lock(q->m);
        q->quit = true;
        q->quitCode = code;
    }
    WakeQueue(*q);
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT min, UINT max)
{
    if (!msg) return -1;
    auto q = CurrentQueue();
    while (true) {
        if (TakeMessage(*q, msg, hwnd, min, max, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
        PresentAllDirty();
        WaitForWork(*q);
    }
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT min, UINT max, UINT remove)
{
    if (!msg) return FALSE;
    auto q = CurrentQueue();
    if (TakeMessage(*q, msg, hwnd, min, max, (remove & PM_REMOVE) != 0)) return TRUE;
    PresentAllDirty();
    // A loop that only peeks never waits: the back end's reader hears here too of events this
    // thread's calls read into the library's queue, or they would wait for the next event.
    CurrentBackend().BeforeIdle();
    return FALSE;
}

BOOL WaitMessage()
{
    auto q = CurrentQueue();
    MSG m;
    while (!TakeMessage(*q, &m, nullptr, 0, 0, false)) {
        PresentAllDirty();
        WaitForWork(*q);
    }
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    auto q = CurrentQueue();
    std::lock_guard<std::mutex> lock(q->m);
    if (q->pendingChars.empty() || q->pendingCharsWnd != msg->hwnd) return FALSE;
    // The characters follow the key message at once.
    UINT cm = q->pendingCharsSys ? WM_SYSCHAR : WM_CHAR;
    for (auto it = q->pendingChars.rbegin(); it != q->pendingChars.rend(); ++it) {
        MSG m = *msg;
        m.message = cm;
        m.wParam = static_cast<WPARAM>(*it);
        q->posted.push_front(m);
    }
    q->pendingChars.clear();
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    auto w = LookupWindow(msg->hwnd);
    if (!w || w->thread != std::this_thread::get_id()) return 0;
    LRESULT r = CallProc(w->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return r;
}

BOOL InSendMessage() { return t_inSend ? TRUE : FALSE; }
DWORD GetMessageTime() { return t_msgTime; }
DWORD GetMessagePos() { return static_cast<DWORD>(MAKELPARAM(t_msgPos.x, t_msgPos.y)); }

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    std::shared_ptr<ThreadQueue> q;
    if (hwnd) {
        auto w = LookupWindow(hwnd);
        if (!w) return 0;
        q = w->queue;
    } else {
        q = CurrentQueue();
    }
    static std::atomic<UINT_PTR> nextId{0x7FFF0000};
    if (!hwnd) id = nextId++;
    ms = std::max<UINT>(ms, 10);  // the system's minimum interval
    std::lock_guard<std::mutex> lock(q->m);
    auto h = reinterpret_cast<std::uintptr_t>(hwnd);
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const TimerEntry& t) { return t.hwnd == h && t.id == id; });
    TimerEntry e{h, id, ms, ClockNowMs() + ms, proc};
    if (it != q->timers.end())
        *it = e;
    else
        q->timers.push_back(e);
    ++q->wakes;
    q->cv.notify_all();
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    std::shared_ptr<ThreadQueue> q;
    if (hwnd) {
        auto w = LookupWindow(hwnd);
        if (!w) return FALSE;
        q = w->queue;
    } else {
        q = CurrentQueue();
    }
    std::lock_guard<std::mutex> lock(q->m);
    auto h = reinterpret_cast<std::uintptr_t>(hwnd);
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const TimerEntry& t) { return t.hwnd == h && t.id == id; });
    if (it == q->timers.end()) return FALSE;
    q->timers.erase(it);
    return TRUE;
}
