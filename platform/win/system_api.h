// System information of the Windows stand-in: metrics, colours, version, monitors and work area,
// time (GetTickCount, Sleep) from the layer's one clock, keyboard state, cursor position.
// Called by the framework (TScreen, TApplication) and the skin engine.
#pragma once

#include <functional>

#include "platform/win/win_consts.h"
#include "platform/win/win_types.h"

int GetSystemMetrics(int index);
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL SystemParametersInfoW(UINT action, UINT param, void* out, UINT winIni);
// 6.1 (the "Windows 7" paths), reported as major in the low byte, minor in the second byte.
DWORD GetVersion();
// Desktop composition is off: the dwmapi entry points are absent.
BOOL DwmCompositionAvailable();

DWORD GetTickCount();
unsigned long long GetTickCount64();
void Sleep(DWORD ms);
UINT GetDoubleClickTime();

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT pt, DWORD flags);
BOOL GetMonitorInfoW(HMONITOR mon, MONITORINFO* info);
BOOL GetMonitorInfoA(HMONITOR mon, MONITORINFO* info);
// Calls fn for every monitor with its rectangle in screen coordinates until it returns FALSE
// (the callback as a function object; no device context or clip rectangle is taken).
using MONITORENUMPROC_FN = std::function<BOOL(HMONITOR, const RECT&)>;
BOOL EnumDisplayMonitors(const MONITORENUMPROC_FN& fn);

short GetKeyState(int vk);
short GetAsyncKeyState(int vk);
BOOL GetCursorPos(POINT* pt);
BOOL SetCursorPos(int x, int y);

UINT RegisterWindowMessageW(LPCWSTR name);

// The system sound for a refused input: the display's bell (any type). Counted, so tests can see it.
BOOL MessageBeep(UINT type);

// Starts the window layer's back end now (X11 when DISPLAY is set, headless otherwise or with
// VX_HEADLESS=1; VX_BACKEND=x11|headless forces one). The program calls it first in main, before
// SDL or any other X11 user, so Xlib's thread support and error handler are in place.
void InitWindowSystem();

namespace vxwin {
// The clock every time-based part of the layer reads: the real monotonic clock, or the test
// clock of the headless back end that tests advance.
unsigned long long ClockNowMs();
bool ClockIsTest();
void UseTestClock(bool test);
void AdvanceTestClock(unsigned long long ms);
// Each GetTickCount call on the test clock advances it by this much (default 1 ms), so busy-wait
// loops on GetTickCount always end.
void SetTestClockAutoStep(unsigned ms);
// Key state kept by the input path (index: virtual key).
void SetKeyDown(int vk, bool down);
void SetCursorPosInternal(int x, int y);
RECT ScreenRect();
RECT WorkAreaRect();
// For tests: GetVersion reports Major.Minor while the object lives (UI thread; nested ones
// restore the one before).
class ScopedVersionOverride {
public:
    ScopedVersionOverride(int Major, int Minor);
    ~ScopedVersionOverride();
    ScopedVersionOverride(const ScopedVersionOverride&) = delete;
    ScopedVersionOverride& operator=(const ScopedVersionOverride&) = delete;

private:
    DWORD FPrevious;
};
}  // namespace vxwin
