// Access tokens and the power-off request to logind. See power_api.h.
#include <dbus/dbus.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/win/file_api.h"
#include "platform/win/handle_table.h"
#include "platform/win/power_api.h"

namespace vxwin {
namespace {

struct TokenObject : Object {
    static constexpr ObjKind kKind = ObjKind::Token;
    explicit TokenObject(DWORD a) : Object(kKind), access(a) {}
    DWORD access;
    std::mutex lock;
    std::map<DWORD, DWORD> attributes;  // by the identifier's low part
};

// The privileges a caller may name, with the identifiers Windows gives them.
struct KnownPrivilege {
    const wchar_t* name;
    DWORD id;
};
constexpr KnownPrivilege kPrivileges[] = {{L"SeShutdownPrivilege", 19}, {L"SeRemoteShutdownPrivilege", 24}};

HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(-1);

std::mutex& HookLock()
{
    static std::mutex m;
    return m;
}
std::function<BOOL(PowerRequest)>& Hook()
{
    static auto* h = new std::function<BOOL(PowerRequest)>();
    return *h;
}
std::atomic<bool> gEnabled{false};

// One call of logind's PowerOff or Reboot on the system bus. "interactive" lets the policy agent
// ask the user when the policy wants a password; logind itself still honours inhibitors.
bool AskLogind(PowerRequest request)
{
    DBusError err;
    dbus_error_init(&err);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &err);
    if (!bus) {
        dbus_error_free(&err);
        return false;
    }
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    bool ok = false;
    DBusMessage* m = dbus_message_new_method_call("org.freedesktop.login1", "/org/freedesktop/login1",
                                                  "org.freedesktop.login1.Manager",
                                                  request == PowerRequest::Reboot ? "Reboot" : "PowerOff");
    if (m) {
        dbus_bool_t interactive = TRUE;
        dbus_message_append_args(m, DBUS_TYPE_BOOLEAN, &interactive, DBUS_TYPE_INVALID);
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, m, DBUS_TIMEOUT_USE_DEFAULT, &err);
        ok = reply != nullptr;
        if (reply) dbus_message_unref(reply);
        dbus_message_unref(m);
    }
    dbus_error_free(&err);
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return ok;
}
}  // namespace

void SetPowerRequestHook(std::function<BOOL(PowerRequest)> hook)
{
    std::lock_guard<std::mutex> lock(HookLock());
    Hook() = std::move(hook);
}

void EnableSystemPowerRequests() { gEnabled = true; }

bool SystemPowerRequestsEnabled() { return gEnabled && !std::getenv("VX_HEADLESS"); }

bool TokenPrivilegeEnabled(HANDLE token, const LUID& luid)
{
    auto t = Lookup<TokenObject>(token);
    if (!t) return false;
    std::lock_guard<std::mutex> lock(t->lock);
    auto it = t->attributes.find(luid.LowPart);
    return it != t->attributes.end() && (it->second & SE_PRIVILEGE_ENABLED) != 0;
}
}  // namespace vxwin

using namespace vxwin;

HANDLE GetCurrentProcess() { return kCurrentProcess; }

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token)
{
    if (!token) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *token = nullptr;
    if (process != kCurrentProcess) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *token = Register<HANDLE>(std::make_shared<TokenObject>(desiredAccess));
    return TRUE;
}

BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, LUID* luid)
{
    if (!name || !luid || (systemName && *systemName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const KnownPrivilege& p : kPrivileges)
        if (std::wcscmp(p.name, name) == 0) {
            luid->LowPart = p.id;
            luid->HighPart = 0;
            return TRUE;
        }
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAllPrivileges, const TOKEN_PRIVILEGES* newState,
                           DWORD bufferLength, TOKEN_PRIVILEGES* previousState, DWORD* returnLength)
{
    auto t = Lookup<TokenObject>(token);
    if (!t) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!(t->access & TOKEN_ADJUST_PRIVILEGES)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!disableAllPrivileges && (!newState || newState->PrivilegeCount > 1)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(t->lock);
    if (disableAllPrivileges) {
        t->attributes.clear();
        if (returnLength) *returnLength = 0;
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    if (newState->PrivilegeCount == 1) {
        const LUID_AND_ATTRIBUTES& p = newState->Privileges[0];
        if (previousState) {
            if (bufferLength < sizeof(TOKEN_PRIVILEGES)) {
                if (returnLength) *returnLength = sizeof(TOKEN_PRIVILEGES);
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return FALSE;
            }
            auto it = t->attributes.find(p.Luid.LowPart);
            previousState->PrivilegeCount = 1;
            previousState->Privileges[0].Luid = p.Luid;
            previousState->Privileges[0].Attributes = it == t->attributes.end() ? 0 : it->second;
        }
        t->attributes[p.Luid.LowPart] = p.Attributes;
    }
    if (returnLength) *returnLength = sizeof(TOKEN_PRIVILEGES);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL ExitWindowsEx(UINT flags, DWORD)
{
    PowerRequest request;
    if (flags & EWX_REBOOT)
        request = PowerRequest::Reboot;
    else if (flags & (EWX_SHUTDOWN | EWX_POWEROFF))
        request = PowerRequest::PowerOff;
    else {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::function<BOOL(PowerRequest)> hook;
    {
        std::lock_guard<std::mutex> lock(HookLock());
        hook = Hook();
    }
    if (hook) return hook(request);
    if (!SystemPowerRequestsEnabled() || !AskLogind(request)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}
