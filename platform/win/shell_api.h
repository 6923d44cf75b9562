// The shell stand-in's launcher and notification area. ShellExecuteW "open" hands a file, folder
// or address to the desktop's launcher (xdg-open). Shell_NotifyIconW keeps each tray icon's state
// (icon, tip, balloon, callback message); without a desktop tray it shows nothing, and the
// callbacks a tray would send can be injected (tests) through TrayClick. The shell namespace is
// in shell_folder_api.h.
#pragma once

#include <functional>
#include <string>

#include "platform/win/win_types.h"

// ---- the launcher ----
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;

// "open" (or no verb) runs xdg-open with the file as its one argument (an argument vector, never
// a shell line), in directory when one is given, detached and reaped; the process's current
// directory never changes. Answers a value above 32 when the launcher started, SE_ERR_NOASSOC
// without a launcher or for another verb. Parameters are not passed on.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int showCmd);

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIIF_NONE = 0;
constexpr DWORD NIIF_INFO = 1;
constexpr DWORD NIIF_WARNING = 2;
constexpr DWORD NIIF_ERROR = 3;
constexpr UINT NIN_BALLOONUSERCLICK = 0x0405;

struct NOTIFYICONDATAW {
    DWORD cbSize = sizeof(NOTIFYICONDATAW);
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    WCHAR szTip[128] = {};
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    WCHAR szInfo[256] = {};
    UINT uTimeout = 0;
    WCHAR szInfoTitle[64] = {};
    DWORD dwInfoFlags = 0;
};

BOOL Shell_NotifyIconW(DWORD message, const NOTIFYICONDATAW* data);

namespace vxwin {
struct ShellExecuteCall {
    std::wstring operation, file, parameters, directory;
    int showCmd = 0;
};
// Tests replace the launcher: the hook gets every call and answers in its place (nullptr
// restores the launcher).
void SetShellExecuteHook(std::function<LONG_PTR(const ShellExecuteCall&)> hook);

// The icon's current state; false when there is none.
bool TrayIconState(HWND hwnd, UINT id, NOTIFYICONDATAW* out);
// What the tray sends on a click: the icon's callback message with wParam = id and lParam =
// the mouse message (WM_LBUTTONUP ...) or NIN_BALLOONUSERCLICK. False when there is no icon.
bool TrayClick(HWND hwnd, UINT id, UINT mouseMessage);
}  // namespace vxwin
