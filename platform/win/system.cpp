// System information, the clock, key state and monitors. See system_api.h.
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/win/backend.h"
#include "platform/win/gdi_api.h"
#include "platform/win/handle_table.h"
#include "platform/win/headless_api.h"
#include "platform/win/message_queue.h"
#include "platform/win/system_api.h"

namespace vxwin {

namespace {
std::atomic<bool> g_testClock{false};
std::atomic<unsigned long long> g_testNow{1000000};
std::atomic<unsigned> g_autoStep{1};
std::atomic<std::uint8_t> g_keys[256];
std::atomic<int> g_cursorX{0}, g_cursorY{0};

unsigned long long RealNow()
{
    using namespace std::chrono;
    return static_cast<unsigned long long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

unsigned long long ClockNowMs() { return g_testClock ? g_testNow.load() : RealNow(); }
bool ClockIsTest() { return g_testClock; }
void UseTestClock(bool test) { g_testClock = test; }
void AdvanceTestClock(unsigned long long ms)
{
    g_testNow += ms;
    WakeAllQueues();
}
void SetTestClockAutoStep(unsigned ms) { g_autoStep = ms; }

void SetKeyDown(int vk, bool down)
{
    if (vk < 0 || vk > 255) return;
    std::uint8_t v = g_keys[vk];
    if (down && !(v & 0x80)) v ^= 1;  // toggle bit flips on each press
    v = down ? (v | 0x80) : (v & 0x7F);
    g_keys[vk] = v;
}

void SetCursorPosInternal(int x, int y)
{
    g_cursorX = x;
    g_cursorY = y;
}

RECT ScreenRect() { return CurrentBackend().ScreenRect(); }
RECT WorkAreaRect() { return CurrentBackend().WorkArea(); }

}  // namespace vxwin

using namespace vxwin;

int GetSystemMetrics(int index)
{
    RECT s = ScreenRect();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXFULLSCREEN: return s.right - s.left;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CYFULLSCREEN: return s.bottom - s.top;
    case SM_CXMAXIMIZED: {
        RECT w = WorkAreaRect();
        return w.right - w.left;
    }
    case SM_CYMAXIMIZED: {
        RECT w = WorkAreaRect();
        return w.bottom - w.top;
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 20;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 20;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CMONITORS: return 1;
    }
    return 0;
}

// One fixed palette: tests and the skin engine's built-in looks depend on these values.
DWORD GetSysColor(int index)
{
    switch (index) {
    case COLOR_SCROLLBAR: return RGB(200, 200, 200);
    case COLOR_BACKGROUND: return RGB(58, 110, 165);
    case COLOR_ACTIVECAPTION: return RGB(10, 36, 106);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_MENU: return RGB(240, 240, 240);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(100, 100, 100);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_ACTIVEBORDER: return RGB(212, 208, 200);
    case COLOR_INACTIVEBORDER: return RGB(212, 208, 200);
    case COLOR_APPWORKSPACE: return RGB(171, 171, 171);
    case COLOR_HIGHLIGHT: return RGB(51, 153, 255);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_GRAYTEXT: return RGB(109, 109, 109);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(212, 208, 200);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
    case COLOR_3DLIGHT: return RGB(227, 227, 227);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    case COLOR_HOTLIGHT: return RGB(0, 102, 204);
    case COLOR_GRADIENTACTIVECAPTION: return RGB(166, 202, 240);
    case COLOR_GRADIENTINACTIVECAPTION: return RGB(192, 192, 192);
    case COLOR_MENUHILIGHT: return RGB(51, 153, 255);
    case COLOR_MENUBAR: return RGB(240, 240, 240);
    }
    return 0;
}

HBRUSH GetSysColorBrush(int index)
{
    static std::mutex m;
    static std::map<int, HBRUSH> brushes;
    std::lock_guard<std::mutex> lock(m);
    auto it = brushes.find(index);
    if (it != brushes.end()) return it->second;
    HBRUSH b = CreateSolidBrush(GetSysColor(index));
    if (auto o = FindHandle(b)) o->stock = true;
    brushes[index] = b;
    return b;
}

BOOL SystemParametersInfoW(UINT action, UINT, void* out, UINT)
{
    switch (action) {
    case SPI_GETWORKAREA:
        if (!out) return FALSE;
        *static_cast<RECT*>(out) = WorkAreaRect();
        return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
        if (!out) return FALSE;
        *static_cast<BOOL*>(out) = TRUE;
        return TRUE;
    }
    return FALSE;
}

namespace {
// The version a test has put in place (0: none).
DWORD g_versionOverride = 0;
}  // namespace

DWORD GetVersion() { return g_versionOverride ? g_versionOverride : 6 | (1 << 8) | (7601u << 16); }

vxwin::ScopedVersionOverride::ScopedVersionOverride(int Major, int Minor) : FPrevious(g_versionOverride)
{
    g_versionOverride = static_cast<DWORD>(Major & 0xFF) | (static_cast<DWORD>(Minor & 0xFF) << 8);
}

vxwin::ScopedVersionOverride::~ScopedVersionOverride() { g_versionOverride = FPrevious; }
BOOL DwmCompositionAvailable() { return FALSE; }

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

unsigned long long GetTickCount64()
{
    if (g_testClock) return g_testNow.fetch_add(g_autoStep) + g_autoStep;
    return ClockNowMs();
}

void Sleep(DWORD ms)
{
    if (g_testClock) {
        AdvanceTestClock(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

UINT GetDoubleClickTime() { return 500; }

HMONITOR MonitorFromWindow(HWND, DWORD flags) { return reinterpret_cast<HMONITOR>(0x1000); }
HMONITOR MonitorFromPoint(POINT, DWORD) { return reinterpret_cast<HMONITOR>(0x1000); }

BOOL GetMonitorInfoW(HMONITOR mon, MONITORINFO* info)
{
    if (mon != reinterpret_cast<HMONITOR>(0x1000) || !info || info->cbSize < 40) return FALSE;
    info->rcMonitor = ScreenRect();
    info->rcWork = WorkAreaRect();
    info->dwFlags = MONITORINFOF_PRIMARY;
    return TRUE;
}
BOOL GetMonitorInfoA(HMONITOR mon, MONITORINFO* info) { return GetMonitorInfoW(mon, info); }

BOOL EnumDisplayMonitors(const MONITORENUMPROC_FN& fn)
{
    if (fn) fn(reinterpret_cast<HMONITOR>(0x1000), ScreenRect());
    return TRUE;
}

short GetKeyState(int vk)
{
    if (vk < 0 || vk > 255) return 0;
    std::uint8_t v = g_keys[vk];
    return static_cast<short>(((v & 0x80) ? 0x8000 : 0) | (v & 1));
}
short GetAsyncKeyState(int vk) { return static_cast<short>(GetKeyState(vk) & 0x8000); }

BOOL GetCursorPos(POINT* pt)
{
    if (!pt) return FALSE;
    pt->x = g_cursorX;
    pt->y = g_cursorY;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    SetCursorPosInternal(x, y);
    CurrentBackend().WarpPointer(x, y);
    return TRUE;
}

UINT RegisterWindowMessageW(LPCWSTR name)
{
    static std::mutex m;
    static std::map<std::wstring, UINT> names;
    if (!name || !*name) return 0;
    std::lock_guard<std::mutex> lock(m);
    std::wstring key(name);
    for (auto& c : key) c = static_cast<wchar_t>(towupper(c));
    auto it = names.find(key);
    if (it != names.end()) return it->second;
    UINT v = 0xC000 + static_cast<UINT>(names.size());
    names[key] = v;
    return v;
}

void InitWindowSystem() { CurrentBackend(); }

namespace {
std::atomic<unsigned> g_beeps{0};
}

BOOL MessageBeep(UINT)
{
    ++g_beeps;
    vxwin::CurrentBackend().Bell();
    return TRUE;
}

namespace vxwin {
unsigned BeepCount() { return g_beeps.load(); }
}  // namespace vxwin
