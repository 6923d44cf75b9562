// The notification-area (tray) part of the shell stand-in: Shell_NotifyIconW keeps each icon's
// state (icon, tip, balloon, callback message). Without a desktop tray it shows nothing; the
// callbacks a tray would send can be injected (tests) through TrayClick.
#pragma once

#include "platform/win/win_types.h"

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
// The icon's current state; false when there is none.
bool TrayIconState(HWND hwnd, UINT id, NOTIFYICONDATAW* out);
// What the tray sends on a click: the icon's callback message with wParam = id and lParam =
// the mouse message (WM_LBUTTONUP ...) or NIN_BALLOONUSERCLICK. False when there is no icon.
bool TrayClick(HWND hwnd, UINT id, UINT mouseMessage);
}  // namespace vxwin
