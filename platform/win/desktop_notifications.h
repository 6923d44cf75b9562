// Balloons of notification-area icons as desktop notifications: org.freedesktop.Notifications
// over the session D-Bus (libdbus-1). One worker thread owns the connection, sends Notify and
// CloseNotification and listens for ActionInvoked; the "default" action (the user clicked the
// notification) posts NIN_BALLOONUSERCLICK to the icon's window as its callback message. Without a
// session bus or a notification service nothing shows and nothing fails. Internal to platform/win;
// the X11 back end owns one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/win/win_types.h"

struct DBusConnection;

namespace vxwin {

class DesktopNotifications {
public:
    DesktopNotifications() = default;
    ~DesktopNotifications();
    DesktopNotifications(const DesktopNotifications&) = delete;
    DesktopNotifications& operator=(const DesktopNotifications&) = delete;

    // Shows the balloon of the icon (hwnd, id), replacing one it showed before; an empty text
    // closes it. infoFlags is the NIIF_ value that picks the icon name.
    void Balloon(HWND hwnd, UINT id, UINT callbackMessage, const std::wstring& title, const std::wstring& text,
                 DWORD infoFlags);

private:
    struct Request {
        std::pair<HWND, UINT> icon;
        UINT callback = 0;
        std::string title, text, iconName;
        bool close = false;
    };
    struct Shown {
        std::uint32_t id = 0;
        UINT callback = 0;
    };

    void Run();
    bool Connect();
    void Send(const Request& r);
    void Dispatch();

    std::mutex FLock;
    std::condition_variable FWake;
    std::deque<Request> FQueue;
    bool FStop = false;
    bool FStarted = false;
    std::thread FThread;
    // Worker thread only.
    DBusConnection* FConn = nullptr;
    std::map<std::pair<HWND, UINT>, Shown> FShown;
};

}  // namespace vxwin
