// The message loop at rest under Xvfb (the x11 back end, the real clock): it sleeps until work
// arrives instead of looking again on a tick, and work from another thread or from the X server
// wakes it at once. Skipped with a message where Xvfb is missing (a failure when CI is set).
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/win/headless_api.h"
#include "tests/platform/win/window_test_support.h"
#include "tests/support/xvfb.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

class MessageLoopWait : public ::testing::Test {
protected:
    void SetUp() override
    {
        const bool ci = std::getenv("CI") != nullptr;
        if (FindTool("Xvfb").empty()) {
            if (ci) FAIL() << "Xvfb is not installed";
            GTEST_SKIP() << "Xvfb is not installed: the message loop test under X11 is skipped";
        }
        if (FServer.Display().empty()) {
            if (ci) FAIL() << "Xvfb could not be started";
            GTEST_SKIP() << "Xvfb could not be started: the message loop test under X11 is skipped";
        }
        ASSERT_TRUE(vxwin::UseX11Backend(FServer.Display()));
        FWindows = std::make_unique<TestWindows>();
        FWindow = FWindows->Top(20, 20, 120, 80);
        FWindows->paintColor[FWindow] = RGB(0, 128, 0);
        FWindows->handlers[FWindow] = [this](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
            if (m == WM_CLOSE || m == WM_APP) FArrived = Clock::now();
            return m == WM_CLOSE;  // kept open: the test closes it
        };
        Settle();
    }
    void TearDown() override
    {
        FWindows.reset();
        if (FServer.Display().size()) vxwin::UseHeadlessBackend();
    }

    // Until the server has answered everything the window's showing started and the loop has
    // handled what came of it.
    void Settle()
    {
        for (int round = 0; round < 50; ++round) {
            vxwin::SyncDisplay();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            MSG m;
            bool any = false;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                any = true;
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            if (!any && round > 2) return;
        }
    }

    // Runs GetMessageW until message `until` reaches the test window (or a 5-second guard timer
    // fires); answers the messages the loop took and how often it went to sleep meanwhile.
    struct TRun {
        int Messages = 0;
        unsigned long long Sleeps = 0;
        bool Arrived = false;
    };
    TRun RunUntil(UINT until)
    {
        constexpr UINT_PTR kGuard = 77;
        SetTimer(FWindow, kGuard, 5000, nullptr);
        TRun run;
        const unsigned long long before = vxwin::MessageLoopSleeps();
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) {
            ++run.Messages;
            if (m.message == WM_TIMER && m.wParam == kGuard) break;
            TranslateMessage(&m);
            DispatchMessageW(&m);
            if (m.hwnd == FWindow && m.message == until) {
                run.Arrived = true;
                break;
            }
        }
        KillTimer(FWindow, kGuard);
        run.Sleeps = vxwin::MessageLoopSleeps() - before;
        return run;
    }

    // A client message to the window as the window manager's close button sends it.
    void SendCloseFromAnotherClient(Display* other, bool waitForServer)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = vxwin::NativeWindowId(FWindow);
        e.xclient.message_type = XInternAtom(other, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(other, "WM_DELETE_WINDOW", False));
        XSendEvent(other, e.xclient.window, False, 0, &e);
        if (waitForServer)
            XSync(other, False);
        else
            XFlush(other);
    }

    XvfbServer FServer;
    std::unique_ptr<TestWindows> FWindows;
    HWND FWindow = nullptr;
    Clock::time_point FArrived{};
};

}  // namespace

// Nothing to do for two seconds: the loop sleeps once and wakes for the message that ends the wait;
// with a timer running it wakes for the timer and for nothing else.
TEST_F(MessageLoopWait, SleepsWithoutTimersAndWakesOnlyForItsTimers)
{
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        PostMessageW(FWindow, WM_APP, 0, 0);
    });
    // The guard timer of RunUntil is the loop's only timer and is not due in these two seconds.
    TRun idle = RunUntil(WM_APP);
    poster.join();
    ASSERT_TRUE(idle.Arrived);
    EXPECT_EQ(idle.Messages, 1) << "no message but the one posted";
    EXPECT_EQ(idle.Sleeps, 1u) << "the loop woke without work";

    // A 200 ms timer over two seconds: about ten wake-ups, one per tick, not one per poll.
    int ticks = 0;
    constexpr UINT_PTR kTick = 5;
    FWindows->handlers[FWindow] = [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
        if (m == WM_TIMER && wp == kTick) ++ticks;
        return false;
    };
    SetTimer(FWindow, kTick, 200, nullptr);
    std::thread poster2([this] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        PostMessageW(FWindow, WM_APP, 0, 0);
    });
    TRun timed = RunUntil(WM_APP);
    poster2.join();
    KillTimer(FWindow, kTick);
    ASSERT_TRUE(timed.Arrived);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(timed.Sleeps, static_cast<unsigned long long>(ticks) + 2) << ticks << " ticks";
}

// A message posted by another thread to the sleeping loop, and an X event, are handled at once.
TEST_F(MessageLoopWait, WorkFromAnotherThreadOrTheServerWakesTheSleepingLoop)
{
    struct TCase {
        const char* What;
        UINT Until;
        std::function<void()> Send;
    };
    Display* other = XOpenDisplay(FServer.Display().c_str());
    ASSERT_NE(other, nullptr);
    std::atomic<long long> sentAt{0};
    auto stamp = [&] { sentAt = Clock::now().time_since_epoch().count(); };
    const TCase cases[] = {
        {"a post from another thread", WM_APP,
         [&] {
             stamp();
             PostMessageW(FWindow, WM_APP, 0, 0);
         }},
        {"an event from the X server", WM_CLOSE,
         [&] {
             stamp();
             SendCloseFromAnotherClient(other, false);
         }},
    };
    for (const TCase& c : cases) {
        FArrived = {};
        std::thread sender([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            c.Send();
        });
        TRun run = RunUntil(c.Until);
        sender.join();
        ASSERT_TRUE(run.Arrived) << c.What << " never arrived";
        const Clock::time_point sent{Clock::duration(sentAt.load())};
        EXPECT_LT(MsBetween(sent, FArrived), 50.0) << c.What;
        EXPECT_LE(run.Sleeps, 2u) << c.What << ": the loop looked again without work";
    }

    // An event the server sent before this thread's own round trip, which Xlib reads into its
    // queue during that round trip, not left on the connection for the reader.
    SendCloseFromAnotherClient(other, true);
    vxwin::SyncDisplay();
    FArrived = {};
    TRun queued = RunUntil(WM_CLOSE);
    EXPECT_TRUE(queued.Arrived) << "an event read during a round trip waited in Xlib's queue";
    XCloseDisplay(other);
}
