// The tray icon on a real X11 display: a system tray written here (it owns the tray selection,
// announces itself with MANAGER and embeds what asks to dock), clicks with xdotool, the tray menu
// on the screen, and balloons against a notification service registered here on a private
// dbus-daemon. Skipped with a message where Xvfb, xdotool, import or dbus-daemon is missing.
#include <gtest/gtest.h>

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The program's headers before Xlib's, whose macros (None, Bool ...) would clash with them.
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/user_api.h"
#include "skin/form/tray_icon.h"
#include "tests/support/application_fixture.h"
#include "tests/support/temp_dir.h"
// clang-format off
#include <X11/Xlib.h>
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"
// clang-format on

namespace {

bool PumpUntil(const std::function<bool()>& fn, int ms)
{
    return X11Desktop::WaitFor(
        [&] {
            Application->ProcessMessages();
            return fn();
        },
        ms);
}

// A system tray as a desktop panel has one: a window at (400, 400) that owns _NET_SYSTEM_TRAY_S0
// and embeds each icon that asks to dock, 24 x 24, left to right from (408, 408).
class TestTray {
public:
    explicit TestTray(const std::string& display) : FDpy(XOpenDisplay(display.c_str())) {}
    ~TestTray()
    {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        if (FDpy) XCloseDisplay(FDpy);
    }
    bool Start()
    {
        if (!FDpy) return false;
        Window root = DefaultRootWindow(FDpy);
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = 0x404040;
        a.event_mask = SubstructureNotifyMask;
        FWin = XCreateWindow(FDpy, root, 400, 400, 200, 40, 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWOverrideRedirect | CWBackPixel | CWEventMask, &a);
        XMapRaised(FDpy, FWin);
        Atom sel = XInternAtom(FDpy, "_NET_SYSTEM_TRAY_S0", False);
        XSetSelectionOwner(FDpy, sel, FWin, CurrentTime);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = root;
        e.xclient.message_type = XInternAtom(FDpy, "MANAGER", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = CurrentTime;
        e.xclient.data.l[1] = static_cast<long>(sel);
        e.xclient.data.l[2] = static_cast<long>(FWin);
        XSendEvent(FDpy, root, False, StructureNotifyMask, &e);
        XSync(FDpy, False);
        FThread = std::thread([this] { Run(); });
        return true;
    }
    std::vector<Window> Docked()
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FDocked;
    }

private:
    void Run()
    {
        const Atom opcode = XInternAtom(FDpy, "_NET_SYSTEM_TRAY_OPCODE", False);
        while (!FStop) {
            while (XPending(FDpy)) {
                XEvent ev;
                XNextEvent(FDpy, &ev);
                std::lock_guard<std::mutex> lock(FLock);
                if (ev.type == ClientMessage && ev.xclient.message_type == opcode && ev.xclient.data.l[1] == 0) {
                    Window icon = static_cast<Window>(ev.xclient.data.l[2]);
                    const int x = 8 + 24 * static_cast<int>(FDocked.size());
                    XReparentWindow(FDpy, icon, FWin, x, 8);
                    XResizeWindow(FDpy, icon, 24, 24);
                    XMapWindow(FDpy, icon);
                    FDocked.push_back(icon);
                } else if (ev.type == DestroyNotify || ev.type == UnmapNotify) {
                    Window gone = ev.type == DestroyNotify ? ev.xdestroywindow.window : ev.xunmap.window;
                    FDocked.erase(std::remove(FDocked.begin(), FDocked.end(), gone), FDocked.end());
                }
                XFlush(FDpy);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    Display* FDpy;
    Window FWin = 0;
    std::thread FThread;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<Window> FDocked;
};

// A private session bus (dbus-daemon on a socket in a temporary folder) with a notification
// service on it that records what it is asked and can report a click on a notification.
class TestNotificationService {
public:
    TestNotificationService()
    {
        const std::string exe = FindTool("dbus-daemon");
        if (exe.empty()) return;
        FAddress = "unix:path=" + FDir.file("bus");
        FDaemon = std::make_unique<TestProcess>(
            std::vector<std::string>{exe, "--session", "--nofork", "--nopidfile", "--address=" + FAddress}, "");
        const std::string socket = FDir.file("bus");
        struct stat st {};
        if (!X11Desktop::WaitFor([&] { return ::stat(socket.c_str(), &st) == 0; }, 5000)) return;
        DBusError err;
        dbus_error_init(&err);
        FConn = dbus_connection_open_private(FAddress.c_str(), &err);
        if (!FConn || !dbus_bus_register(FConn, &err) ||
            dbus_bus_request_name(FConn, "org.freedesktop.Notifications", DBUS_NAME_FLAG_DO_NOT_QUEUE, &err) !=
                DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
            dbus_error_free(&err);
            return;
        }
        FThread = std::thread([this] { Run(); });
    }
    ~TestNotificationService()
    {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        if (FConn) {
            dbus_connection_close(FConn);
            dbus_connection_unref(FConn);
        }
    }
    bool Running() const { return FThread.joinable(); }
    const std::string& Address() const { return FAddress; }

    struct Shown {
        std::string icon, title, text;
    };
    std::vector<Shown> Notified()
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FNotified;
    }
    std::vector<unsigned> Closed()
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FClosed;
    }
    // The user clicks the last notification.
    void ClickLast() { FClick = true; }

private:
    void Run()
    {
        while (!FStop) {
            dbus_connection_read_write(FConn, 20);
            while (DBusMessage* m = dbus_connection_pop_message(FConn)) {
                if (dbus_message_is_method_call(m, "org.freedesktop.Notifications", "Notify")) {
                    DBusMessageIter it;
                    dbus_message_iter_init(m, &it);
                    std::vector<std::string> strings;
                    do {
                        if (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_STRING) {
                            const char* s = nullptr;
                            dbus_message_iter_get_basic(&it, &s);
                            strings.push_back(s);
                        }
                    } while (dbus_message_iter_next(&it));
                    {
                        std::lock_guard<std::mutex> lock(FLock);
                        if (strings.size() >= 4) FNotified.push_back({strings[1], strings[2], strings[3]});
                    }
                    DBusMessage* reply = dbus_message_new_method_return(m);
                    dbus_uint32_t id = 7;
                    dbus_message_append_args(reply, DBUS_TYPE_UINT32, &id, DBUS_TYPE_INVALID);
                    dbus_connection_send(FConn, reply, nullptr);
                    dbus_message_unref(reply);
                } else if (dbus_message_is_method_call(m, "org.freedesktop.Notifications", "CloseNotification")) {
                    dbus_uint32_t id = 0;
                    dbus_message_get_args(m, nullptr, DBUS_TYPE_UINT32, &id, DBUS_TYPE_INVALID);
                    {
                        std::lock_guard<std::mutex> lock(FLock);
                        FClosed.push_back(id);
                    }
                    DBusMessage* reply = dbus_message_new_method_return(m);
                    dbus_connection_send(FConn, reply, nullptr);
                    dbus_message_unref(reply);
                }
                dbus_message_unref(m);
            }
            if (FClick.exchange(false)) {
                DBusMessage* s = dbus_message_new_signal("/org/freedesktop/Notifications",
                                                         "org.freedesktop.Notifications", "ActionInvoked");
                dbus_uint32_t id = 7;
                const char* action = "default";
                dbus_message_append_args(s, DBUS_TYPE_UINT32, &id, DBUS_TYPE_STRING, &action, DBUS_TYPE_INVALID);
                dbus_connection_send(FConn, s, nullptr);
                dbus_message_unref(s);
            }
            dbus_connection_flush(FConn);
        }
    }

    TempDir FDir;
    std::string FAddress;
    std::unique_ptr<TestProcess> FDaemon;
    DBusConnection* FConn = nullptr;
    std::thread FThread;
    std::atomic<bool> FStop{false}, FClick{false};
    std::mutex FLock;
    std::vector<Shown> FNotified;
    std::vector<unsigned> FClosed;
};

// Back on the headless back end before the test's X server goes.
struct BackToHeadless {
    ~BackToHeadless() { vxwin::UseHeadlessBackend(); }
};

struct TrayIconX11Test : ApplicationFixture {
    void TearDown() override
    {
        Application->OnMessage = nullptr;
        ApplicationFixture::TearDown();
    }

    // A tray icon on a form, its icon a red square.
    TbsTrayIcon* MakeTray()
    {
        auto* form = new TForm(Application);
        form->AfterConstruction();
        auto* tray = new TbsTrayIcon(form);
        TBitmap red;
        red.SetSize(16, 16);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(Rect(0, 0, 16, 16));
        TIcon icon;
        tray->BitmapToIcon(&red, &icon, clFuchsia);
        tray->SetIcon(&icon);
        tray->SetIconVisible(true);
        return tray;
    }
};

TEST_F(TrayIconX11Test, IconDocksWhenATrayAppearsTakesClicksOpensItsMenuAndUndocks)
{
    X11Desktop desk(X11Desktop::Options{false, false});
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing";
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));
    BackToHeadless back;
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    int created = 0;
    Application->OnMessage = [&](MSG& m, bool&) {
        if (m.message == taskbarCreated && m.hwnd == Application->Handle()) ++created;
    };
    TbsTrayIcon* tray = MakeTray();
    std::vector<std::string> events;
    tray->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        events.push_back("down" + std::to_string(b));
    };
    tray->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        events.push_back("up" + std::to_string(b));
    };
    tray->OnClick = [&](TObject*) { events.push_back("click"); };
    tray->OnDblClick = [&](TObject*) { events.push_back("dblclick"); };
    Application->ProcessMessages();

    // Added before there is a tray: it docks when one appears, and the application hears of it.
    TestTray panel(desk.Display());
    ASSERT_TRUE(panel.Start());
    ASSERT_TRUE(PumpUntil([&] { return panel.Docked().size() == 1 && created == 1; }, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Application->ProcessMessages();
    auto shot = desk.Screenshot();
    ASSERT_TRUE(shot->Ok());
    EXPECT_EQ(shot->At(420, 420), 0xFF0000u);

    // Resting on the icon shows its tip below the pointer; the press takes it away.
    tray->SetHint(L"转换中");
    ASSERT_EQ(desk.Xdotool({"mousemove", "420", "420"}), 0);
    auto tipAt = [] {
        HWND w = WindowFromPoint(POINT{424, 446});
        wchar_t cls[32] = {};
        if (w) GetClassNameW(w, cls, 32);
        return std::wstring(cls) == L"VxTrayTip" && IsWindowVisible(w);
    };
    EXPECT_TRUE(PumpUntil(tipAt, 3000));
    ASSERT_EQ(desk.Click(420, 420), 0);
    ASSERT_TRUE(PumpUntil([&] { return events.size() >= 3; }, 3000));
    EXPECT_EQ(events, (std::vector<std::string>{"down0", "up0", "click"}));
    EXPECT_FALSE(tipAt());

    events.clear();
    ASSERT_EQ(desk.Xdotool({"click", "--repeat", "2", "--delay", "80", "1"}), 0);
    PumpUntil([&] { return false; }, 1200);
    EXPECT_EQ(events, (std::vector<std::string>{"down0", "up0", "dblclick", "up0"}));

    // The right button opens the tray menu at the cursor.
    auto* menu = new TPopupMenu(tray->Owner());
    auto* item = new TMenuItem(menu);
    item->SetCaption(L"显示主窗口");
    menu->Items()->Add(item);
    tray->SetPopupMenu(menu);
    HWND popup = nullptr;
    RECT r{};
    bool onScreen = false;
    TTimer look(nullptr);
    look.SetEnabled(false);
    look.SetInterval(400);
    look.OnTimer = [&](TObject*) {
        look.SetEnabled(false);
        popup = WindowFromPoint(POINT{425, 425});
        GetWindowRect(popup, &r);
        auto s = desk.Screenshot();
        int w = 0, h = 0;
        auto px = vxwin::WindowPixels(popup, &w, &h);
        onScreen = s->Ok() && w > 10 && h > 10 && s->At(435, 425) == (px[5 * w + 10] & 0xFFFFFFu);
        desk.Click(20, 20);  // elsewhere: the menu closes
    };
    menu->OnPopup = [&](TObject*) { look.SetEnabled(true); };
    events.clear();
    ASSERT_EQ(desk.Xdotool({"mousemove", "425", "420", "click", "3"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return popup != nullptr; }, 4000));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(r.left, 425);
    EXPECT_EQ(r.top, 420);
    EXPECT_TRUE(onScreen);
    EXPECT_EQ(events.front(), "down1");

    // Deleted: the tray sees the icon go.
    tray->SetIconVisible(false);
    EXPECT_TRUE(PumpUntil([&] { return panel.Docked().empty(); }, 3000));
}

TEST_F(TrayIconX11Test, BalloonsGoToTheNotificationServiceAndItsClickComesBack)
{
    X11Desktop desk(X11Desktop::Options{false, false});
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing";
    TestNotificationService service;
    if (!service.Running()) X11_TEST_UNAVAILABLE() << "dbus-daemon missing or not starting";
    ::setenv("DBUS_SESSION_BUS_ADDRESS", service.Address().c_str(), 1);
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));
    BackToHeadless back;
    TbsTrayIcon* tray = MakeTray();
    int clicks = 0;
    tray->OnBalloonHintClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(tray->ShowBalloonHint(L"转换完成", L"3 个文件已转换", bsbitInfo));
    ASSERT_TRUE(PumpUntil([&] { return !service.Notified().empty(); }, 5000));
    auto n = service.Notified().back();
    EXPECT_EQ(n.title, "转换完成");
    EXPECT_EQ(n.text, "3 个文件已转换");
    EXPECT_EQ(n.icon, "dialog-information");

    service.ClickLast();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 5000));

    tray->HideBalloonHint();
    EXPECT_TRUE(PumpUntil([&] { return service.Closed() == std::vector<unsigned>{7}; }, 5000));
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace
