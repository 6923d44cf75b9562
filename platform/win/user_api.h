// The window side of the Windows stand-in: classes, windows, messages, painting, input, timers,
// layered windows and window regions. Called by the framework (TWinControl, TCustomForm,
// TApplication's message loop) and by the skin engine. One thread owns the windows it creates
// (the UI thread); other threads reach them through SendMessageW (marshalled: the sender waits
// while the owner serves it) and PostMessageW.
#pragma once

#include <functional>

#include "platform/win/win_consts.h"
#include "platform/win/win_types.h"

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ---- classes and windows ----
ATOM RegisterClassW(const WNDCLASSW* wc);
BOOL UnregisterClassW(LPCWSTR name, HINSTANCE inst);
BOOL GetClassInfoW(HINSTANCE inst, LPCWSTR name, WNDCLASSW* out);
int GetClassNameW(HWND hwnd, LPWSTR buf, int max);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int w, int h,
                     HWND parent, HMENU menu, HINSTANCE inst, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND parent);
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5;
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
constexpr UINT GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3;
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetDesktopWindow();
using WNDENUMPROC_FN = std::function<BOOL(HWND)>;
BOOL EnumChildWindows(HWND parent, const WNDENUMPROC_FN& fn);
BOOL EnumThreadWindows(const WNDENUMPROC_FN& fn);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* pid);

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value);
DWORD GetClassLongW(HWND hwnd, int index);
DWORD SetClassLongW(HWND hwnd, int index, LONG value);
BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data);
HANDLE GetPropW(HWND hwnd, LPCWSTR name);
HANDLE RemovePropW(HWND hwnd, LPCWSTR name);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buf, int max);
int GetWindowTextLengthW(HWND hwnd);

// Window procedures. A procedure bound to an object is made with MakeObjectInstance; the value it
// returns is a WNDPROC that only CallWindowProcW (and the layer itself) may call.
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
WNDPROC MakeObjectInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn);
void FreeObjectInstance(WNDPROC proc);

// ---- position, size, z-order, show ----
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL BringWindowToTop(HWND hwnd);
// Placement: the show state and the normal (restored) rectangle, in parent client / screen coordinates.
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp);
// Several SetWindowPos calls collected and applied together, in order, by EndDeferWindowPos.
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP dwp, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP dwp);
BOOL GetWindowRect(HWND hwnd, RECT* r);
BOOL GetClientRect(HWND hwnd, RECT* r);
BOOL ClientToScreen(HWND hwnd, POINT* p);
BOOL ScreenToClient(HWND hwnd, POINT* p);
int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count);
BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle);
HWND WindowFromPoint(POINT p);
HWND ChildWindowFromPoint(HWND parent, POINT p);

// ---- activation, focus, capture ----
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
// This program's own addition: while a popup that never takes the capture (a skinned menu level)
// watches, a button press outside every window of the program deactivates the active window, as
// a click on another program would, and goes nowhere else. Under X11 the popup holds the pointer
// meanwhile, so such presses reach the program at all.
void WatchOutsideClicks(HWND popup, bool watch);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
HCURSOR LoadCursorW(HINSTANCE inst, LPCWSTR name);
HICON LoadIconW(HINSTANCE inst, LPCWSTR name);
HICON CreateIconIndirect(const ICONINFO* info);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
constexpr UINT IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2;
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;
// A copy of a bitmap, icon or cursor at the given size (0 keeps the size); the caller owns it.
HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);

// ---- messages ----
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wp, LPARAM lp);
void PostQuitMessage(int code);
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT min, UINT max);
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT min, UINT max, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
BOOL WaitMessage();
BOOL InSendMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- painting ----
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC hdc);
BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* r);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* r, HRGN rgn, UINT flags);

// ---- regions and layered windows ----
// The window takes the region: it frees the previous one and its own when destroyed.
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN rgn);
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);
BOOL UpdateLayeredWindow(HWND hwnd, HDC dst, const POINT* pos, const SIZE* size, HDC src, const POINT* srcPos,
                         COLORREF key, const BLENDFUNCTION* blend, DWORD flags);
BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info);

// ---- standard scroll bars and scrolling ----
// The state of a window's WS_HSCROLL/WS_VSCROLL bars; the default procedure reserves their room
// (17 pixels) in the non-client area, paints a plain bar and turns clicks into WM_HSCROLL /
// WM_VSCROLL with SB_LINE*/SB_PAGE* codes.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
// Moves the client pixels (and, with SW_SCROLLCHILDREN, the child windows) by dx, dy and
// invalidates what was uncovered.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags);

// ---- caret ----
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* p);
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
