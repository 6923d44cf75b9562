// What the skin engine asks of the system before it uses a window feature: the version tests,
// layered windows with constant and per-pixel alpha, monitors, scroll bar information and the
// desktop composition switches. The user32 entry points are the layer's own; there is no
// desktop composition, so its switches do nothing.
#pragma once

#include "platform/framework/controls/win_control.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_bitmap.h"

// Major version in GetVersion's low byte, minor in the second; read anew on every call.
void GetOSVersion(int& Major, int& Minor);
bool IsWindows2000OrLater();  // every use of layered windows
bool IsWindowsXPOrLater();    // drop shadows
bool IsWindowsVistaOrLater();
bool IsWindows7();
bool IsWindows8OrLater();

// SetLayeredWindowAttributes with LWA_ALPHA; the caller sets WS_EX_LAYERED.
void SetLayeredAlpha(HWND Wnd, BYTE Alpha);
// Bmp (per-pixel alpha) as the content of Control's layered top-level window at its Left and
// Top, times the constant Alpha.
void UpdateLayeredFromBitmap(TbsBitmap* Bmp, BYTE Alpha, TWinControl* Control);
// ABmp := AImage with alpha from AMask's grey levels (white opaque), colours clamped to alpha.
void ImageMaskToAlphaBitmap(TBitmap* AImage, TBitmap* AMask, TbsBitmap* ABmp);
int QueryScrollBarInfo(HWND Wnd, LONG ObjectID, SCROLLBARINFO& Info);
bool MultiMonitorAvailable();
void GetScreenRect(bool WorkArea, TRect& R);
// The monitor nearest to Wnd (whole or work area); R unchanged when the query fails.
void GetWindowMonitorRect(HWND Wnd, bool WorkArea, TRect& R);
bool IsCompositionEnabled();
void SetWindowTransitions(HWND Wnd, bool Enabled);
void SetBlurBehind(HWND Wnd, bool Enable, HRGN Rgn);
