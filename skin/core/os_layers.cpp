#include "skin/core/os_layers.h"

#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "skin/core/color_filters.h"

namespace {

TRect ToRect(const RECT& r) { return Rect(r.left, r.top, r.right, r.bottom); }

}  // namespace

void GetOSVersion(int& Major, int& Minor)
{
    DWORD v = GetVersion();
    Major = static_cast<int>(v & 0xFF);
    Minor = static_cast<int>((v >> 8) & 0xFF);
}

bool IsWindows2000OrLater()
{
    int major, minor;
    GetOSVersion(major, minor);
    return major > 5 || (major == 5 && minor <= 2);
}

bool IsWindowsXPOrLater()
{
    int major, minor;
    GetOSVersion(major, minor);
    return major > 5 || (major == 5 && minor == 1);
}

bool IsWindowsVistaOrLater()
{
    int major, minor;
    GetOSVersion(major, minor);
    return major >= 6;
}

bool IsWindows7()
{
    int major, minor;
    GetOSVersion(major, minor);
    return major == 6 && minor == 1;
}

bool IsWindows8OrLater()
{
    int major, minor;
    GetOSVersion(major, minor);
    return (major == 6 && minor == 2) || major > 6;
}

void SetLayeredAlpha(HWND Wnd, BYTE Alpha) { SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA); }

void UpdateLayeredFromBitmap(TbsBitmap* Bmp, BYTE Alpha, TWinControl* Control)
{
    if (!Control || !Bmp) return;
    POINT dst{Control->Left(), Control->Top()}, src{0, 0};
    SIZE size{Bmp->Width(), Bmp->Height()};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
    UpdateLayeredWindow(Control->Handle(), nullptr, &dst, &size, Bmp->DC(), &src, 0, &blend, ULW_ALPHA);
}

void ImageMaskToAlphaBitmap(TBitmap* AImage, TBitmap* AMask, TbsBitmap* ABmp)
{
    if (!ABmp) return;
    ABmp->Assign(AImage);
    TbsBitmap mask;
    mask.Assign(AMask);
    SetAlphaFromMask(ABmp, &mask);
    ABmp->CheckRGBA();
}

int QueryScrollBarInfo(HWND Wnd, LONG ObjectID, SCROLLBARINFO& Info) { return GetScrollBarInfo(Wnd, ObjectID, &Info); }

bool MultiMonitorAvailable() { return GetSystemMetrics(SM_CMONITORS) > 1; }

void GetScreenRect(bool WorkArea, TRect& R)
{
    if (WorkArea) {
        RECT r{};
        if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) R = ToRect(r);
    } else {
        R = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
}

void GetWindowMonitorRect(HWND Wnd, bool WorkArea, TRect& R)
{
    if (!MultiMonitorAvailable()) return GetScreenRect(WorkArea, R);
    MONITORINFO info;
    info.cbSize = 40;
    HMONITOR mon = MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST);
    if (mon && GetMonitorInfoA(mon, &info)) R = ToRect(WorkArea ? info.rcWork : info.rcMonitor);
}

// No desktop composition: the dwmapi entry points are absent.
bool IsCompositionEnabled() { return DwmCompositionAvailable() != FALSE; }
void SetWindowTransitions(HWND, bool) {}
void SetBlurBehind(HWND, bool, HRGN) {}
