#include "platform/win/desktop_notifications.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/shell_api.h"
#include "platform/win/user_api.h"

namespace vxwin {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr int kReplyTimeoutMs = 2000;

const char* IconName(DWORD infoFlags)
{
    switch (infoFlags & 0x0F) {
    case NIIF_INFO: return "dialog-information";
    case NIIF_WARNING: return "dialog-warning";
    case NIIF_ERROR: return "dialog-error";
    }
    return "";
}

// The session bus: DBUS_SESSION_BUS_ADDRESS, else the user's bus socket. Never autolaunched.
std::string SessionBusAddress()
{
    if (const char* env = std::getenv("DBUS_SESSION_BUS_ADDRESS"); env && *env) return env;
    if (const char* rt = std::getenv("XDG_RUNTIME_DIR"); rt && *rt) {
        std::string p = std::string(rt) + "/bus";
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return "unix:path=" + p;
    }
    return "";
}

}  // namespace

DesktopNotifications::~DesktopNotifications()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStop = true;
    }
    FWake.notify_all();
    if (FThread.joinable()) FThread.join();
}

void DesktopNotifications::Balloon(HWND hwnd, UINT id, UINT callbackMessage, const std::wstring& title,
                                   const std::wstring& text, DWORD infoFlags)
{
    Request r;
    r.icon = {hwnd, id};
    r.callback = callbackMessage;
    r.close = text.empty();
    r.title = StringToUtf8(title, TUtf8Escapes::Replace);
    r.text = StringToUtf8(text, TUtf8Escapes::Replace);
    r.iconName = IconName(infoFlags);
    std::lock_guard<std::mutex> lock(FLock);
    if (r.close && !FStarted) return;  // nothing was ever shown
    FQueue.push_back(std::move(r));
    if (!FStarted) {
        FStarted = true;
        FThread = std::thread([this] { Run(); });
    }
    FWake.notify_all();
}

bool DesktopNotifications::Connect()
{
    const std::string address = SessionBusAddress();
    if (address.empty()) return false;
    DBusError err;
    dbus_error_init(&err);
    DBusConnection* c = dbus_connection_open_private(address.c_str(), &err);
    if (!c) {
        dbus_error_free(&err);
        return false;
    }
    dbus_connection_set_exit_on_disconnect(c, FALSE);
    if (!dbus_bus_register(c, &err)) {
        dbus_error_free(&err);
        dbus_connection_close(c);
        dbus_connection_unref(c);
        return false;
    }
    dbus_bus_add_match(c, "type='signal',interface='org.freedesktop.Notifications'", &err);
    if (dbus_error_is_set(&err)) dbus_error_free(&err);
    FConn = c;
    return true;
}

void DesktopNotifications::Run()
{
    const bool connected = Connect();
    for (;;) {
        std::deque<Request> work;
        {
            std::unique_lock<std::mutex> lock(FLock);
            // Without a bus there is nothing to listen to: sleep until asked. With one, the wait
            // is on the bus (Dispatch), and requests are taken between its waits.
            if (!connected) FWake.wait(lock, [this] { return FStop || !FQueue.empty(); });
            if (FStop) break;
            work.swap(FQueue);
        }
        if (!connected || !dbus_connection_get_is_connected(FConn)) continue;
        for (const Request& r : work) Send(r);
        Dispatch();
    }
    if (FConn) {
        dbus_connection_close(FConn);
        dbus_connection_unref(FConn);
        FConn = nullptr;
    }
}

void DesktopNotifications::Send(const Request& r)
{
    auto shown = FShown.find(r.icon);
    if (r.close) {
        if (shown == FShown.end()) return;
        DBusMessage* m = dbus_message_new_method_call(kService, kPath, kService, "CloseNotification");
        if (!m) return;
        dbus_uint32_t nid = shown->second.id;
        dbus_message_append_args(m, DBUS_TYPE_UINT32, &nid, DBUS_TYPE_INVALID);
        dbus_connection_send(FConn, m, nullptr);
        dbus_connection_flush(FConn);
        dbus_message_unref(m);
        FShown.erase(shown);
        return;
    }
    DBusMessage* m = dbus_message_new_method_call(kService, kPath, kService, "Notify");
    if (!m) return;
    const char* app = "vexmora";
    dbus_uint32_t replaces = shown == FShown.end() ? 0 : shown->second.id;
    const char* icon = r.iconName.c_str();
    const char* summary = r.title.c_str();
    const char* body = r.text.c_str();
    // One action: "default" is what a click on the notification invokes.
    const char* action[2] = {"default", r.title.empty() ? "vexmora" : r.title.c_str()};
    dbus_int32_t timeout = -1;
    DBusMessageIter it, sub;
    dbus_message_iter_init_append(m, &it);
    bool ok = dbus_message_iter_append_basic(&it, DBUS_TYPE_STRING, &app) &&
              dbus_message_iter_append_basic(&it, DBUS_TYPE_UINT32, &replaces) &&
              dbus_message_iter_append_basic(&it, DBUS_TYPE_STRING, &icon) &&
              dbus_message_iter_append_basic(&it, DBUS_TYPE_STRING, &summary) &&
              dbus_message_iter_append_basic(&it, DBUS_TYPE_STRING, &body);
    ok = ok && dbus_message_iter_open_container(&it, DBUS_TYPE_ARRAY, "s", &sub) &&
         dbus_message_iter_append_basic(&sub, DBUS_TYPE_STRING, &action[0]) &&
         dbus_message_iter_append_basic(&sub, DBUS_TYPE_STRING, &action[1]) &&
         dbus_message_iter_close_container(&it, &sub);
    ok = ok && dbus_message_iter_open_container(&it, DBUS_TYPE_ARRAY, "{sv}", &sub) &&
         dbus_message_iter_close_container(&it, &sub) && dbus_message_iter_append_basic(&it, DBUS_TYPE_INT32, &timeout);
    if (!ok) {
        dbus_message_unref(m);
        return;
    }
    DBusError err;
    dbus_error_init(&err);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(FConn, m, kReplyTimeoutMs, &err);
    dbus_message_unref(m);
    if (!reply) {
        // No notification service: no balloon.
        dbus_error_free(&err);
        return;
    }
    dbus_uint32_t nid = 0;
    if (dbus_message_get_args(reply, &err, DBUS_TYPE_UINT32, &nid, DBUS_TYPE_INVALID))
        FShown[r.icon] = Shown{nid, r.callback};
    else
        dbus_error_free(&err);
    dbus_message_unref(reply);
}

void DesktopNotifications::Dispatch()
{
    dbus_connection_read_write(FConn, 50);
    while (DBusMessage* m = dbus_connection_pop_message(FConn)) {
        DBusError err;
        dbus_error_init(&err);
        dbus_uint32_t nid = 0;
        const char* action = nullptr;
        if (dbus_message_is_signal(m, kService, "ActionInvoked") &&
            dbus_message_get_args(m, &err, DBUS_TYPE_UINT32, &nid, DBUS_TYPE_STRING, &action, DBUS_TYPE_INVALID)) {
            for (auto& [icon, s] : FShown)
                if (s.id == nid && std::string(action) == "default" && s.callback)
                    PostMessageW(icon.first, s.callback, icon.second, static_cast<LPARAM>(NIN_BALLOONUSERCLICK));
        } else if (dbus_message_is_signal(m, kService, "NotificationClosed") &&
                   dbus_message_get_args(m, &err, DBUS_TYPE_UINT32, &nid, DBUS_TYPE_INVALID)) {
            for (auto it = FShown.begin(); it != FShown.end();)
                it = it->second.id == nid ? FShown.erase(it) : std::next(it);
        }
        if (dbus_error_is_set(&err)) dbus_error_free(&err);
        dbus_message_unref(m);
    }
}

}  // namespace vxwin
