// Shutting the computer down, and the access-token calls a program makes first. ExitWindowsEx
// asks logind (org.freedesktop.login1.Manager on the system bus) for a normal power-off or
// reboot: never forced, so inhibitors and the system's policy are respected; the force flags are
// accepted and ignored. Privileges are kept per token for the caller's bookkeeping only: logind
// alone decides who may power off.
//
// Safety: a process reaches logind only after EnableSystemPowerRequests (the program's main
// calls it; no test binary does) and never while VX_HEADLESS is set (the test launcher's
// environment). Tests install SetPowerRequestHook and see every request instead.
#pragma once

#include <functional>

#include "platform/win/win_types.h"

constexpr UINT EWX_LOGOFF = 0x00;
constexpr UINT EWX_SHUTDOWN = 0x01;
constexpr UINT EWX_REBOOT = 0x02;
constexpr UINT EWX_FORCE = 0x04;
constexpr UINT EWX_POWEROFF = 0x08;
constexpr UINT EWX_FORCEIFHUNG = 0x10;

constexpr DWORD ERROR_NO_SUCH_PRIVILEGE = 1313;

constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
inline constexpr const wchar_t* SE_SHUTDOWN_NAME = L"SeShutdownPrivilege";

struct LUID {
    DWORD LowPart = 0;
    LONG HighPart = 0;
};
struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes = 0;
};
struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount = 0;
    LUID_AND_ATTRIBUTES Privileges[1];
};

// The pseudo handle of this process.
HANDLE GetCurrentProcess();
// A token of this process (closed with CloseHandle); FALSE for another process.
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token);
// The identifier of a known privilege name (no system name); ERROR_NO_SUCH_PRIVILEGE otherwise.
BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, LUID* luid);
// Sets the listed privileges' attributes on the token (which needs TOKEN_ADJUST_PRIVILEGES); the
// earlier state goes to previousState when bufferLength is large enough.
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAllPrivileges, const TOKEN_PRIVILEGES* newState,
                           DWORD bufferLength, TOKEN_PRIVILEGES* previousState, DWORD* returnLength);

// EWX_SHUTDOWN or EWX_POWEROFF: power off; EWX_REBOOT: reboot; a log-off is not offered
// (ERROR_NOT_SUPPORTED). TRUE when logind accepted the request; FALSE with ERROR_ACCESS_DENIED
// when refused (by logind, or because requests are not enabled in this process).
BOOL ExitWindowsEx(UINT flags, DWORD reason);

namespace vxwin {
enum class PowerRequest { PowerOff, Reboot };
// Tests replace logind: the hook gets every request and answers in its place (nullptr removes it).
void SetPowerRequestHook(std::function<BOOL(PowerRequest)> hook);
// Lets this process send real requests to logind. The program's main calls it once.
void EnableSystemPowerRequests();
bool SystemPowerRequestsEnabled();
// Whether the token has the privilege enabled (FALSE for an unknown token).
bool TokenPrivilegeEnabled(HANDLE token, const LUID& luid);
}  // namespace vxwin
