// Notification-area icons. See shell_api.h. The table here is the truth; the back end shows it
// (the X11 back end docks each icon in the desktop's tray and sends balloons as notifications),
// and this module shows an icon's tip when the back end reports the pointer resting on it.
#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "platform/win/backend.h"
#include "platform/win/gdi_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {
namespace {
std::mutex& TrayLock()
{
    static std::mutex m;
    return m;
}
std::map<std::pair<HWND, UINT>, NOTIFYICONDATAW>& Icons()
{
    static auto* m = new std::map<std::pair<HWND, UINT>, NOTIFYICONDATAW>();
    return *m;
}

void Merge(NOTIFYICONDATAW& dst, const NOTIFYICONDATAW& src)
{
    if (src.uFlags & NIF_MESSAGE) dst.uCallbackMessage = src.uCallbackMessage;
    if (src.uFlags & NIF_ICON) dst.hIcon = src.hIcon;
    if (src.uFlags & NIF_TIP) std::copy(std::begin(src.szTip), std::end(src.szTip), std::begin(dst.szTip));
    if (src.uFlags & NIF_INFO) {
        std::copy(std::begin(src.szInfo), std::end(src.szInfo), std::begin(dst.szInfo));
        std::copy(std::begin(src.szInfoTitle), std::end(src.szInfoTitle), std::begin(dst.szInfoTitle));
        dst.dwInfoFlags = src.dwInfoFlags;
        dst.uTimeout = src.uTimeout;
    }
    dst.szTip[127] = dst.szInfo[255] = dst.szInfoTitle[63] = 0;
}

// ---- the tip: a plain tooltip after the pointer rested on an icon for a while ----

constexpr UINT kTipPause = 500;
constexpr UINT_PTR kTipTimer = 1;
const wchar_t kTipClass[] = L"VxTrayTip";

struct TipState {
    HWND wnd = nullptr;
    std::pair<HWND, UINT> icon{nullptr, 0};
    POINT at{0, 0};
    std::wstring text;
};
TipState& Tip()
{
    static TipState t;
    return t;
}

HFONT TipFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void ShowTip()
{
    TipState& t = Tip();
    NOTIFYICONDATAW d;
    if (!t.wnd || !TrayIconState(t.icon.first, t.icon.second, &d) || !d.szTip[0]) return;
    t.text = d.szTip;
    HDC dc = GetDC(t.wnd);
    HGDIOBJ old = SelectObject(dc, TipFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, t.text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(t.wnd, dc);
    const int w = r.right + 8, h = r.bottom + 6;
    RECT screen = CurrentBackend().ScreenRect();
    int x = std::max<int>(screen.left, std::min<int>(t.at.x, screen.right - w));
    int y = t.at.y + 20;
    if (y + h > screen.bottom) y = t.at.y - h - 4;
    SetWindowPos(t.wnd, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(t.wnd, nullptr, TRUE);
}

LRESULT TipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:
        KillTimer(h, kTipTimer);
        ShowTip();
        return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_INFOTEXT));
        HGDIOBJ old = SelectObject(dc, TipFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        DrawTextW(dc, Tip().text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        if (Tip().wnd == h) Tip().wnd = nullptr;
        break;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND TipWindow()
{
    TipState& t = Tip();
    if (t.wnd && IsWindow(t.wnd)) return t.wnd;
    WNDCLASSW wc;
    if (!GetClassInfoW(nullptr, kTipClass, &wc)) {
        WNDCLASSW n;
        n.lpfnWndProc = TipProc;
        n.lpszClassName = kTipClass;
        RegisterClassW(&n);
    }
    t.wnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTipClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            nullptr, nullptr);
    return t.wnd;
}

void NotifyBackend(HWND hwnd, UINT id, const NOTIFYICONDATAW& d, bool balloon)
{
    CurrentBackend().TrayIconChanged(hwnd, id);
    if (balloon) CurrentBackend().TrayBalloon(hwnd, id, d.uCallbackMessage, d.szInfoTitle, d.szInfo, d.dwInfoFlags);
}
}  // namespace

bool TrayIconState(HWND hwnd, UINT id, NOTIFYICONDATAW* out)
{
    std::lock_guard<std::mutex> lock(TrayLock());
    auto it = Icons().find({hwnd, id});
    if (it == Icons().end()) return false;
    if (out) *out = it->second;
    return true;
}

bool TrayClick(HWND hwnd, UINT id, UINT mouseMessage)
{
    NOTIFYICONDATAW d;
    if (!TrayIconState(hwnd, id, &d) || !d.uCallbackMessage) return false;
    return PostMessageW(hwnd, d.uCallbackMessage, id, static_cast<LPARAM>(mouseMessage));
}

void TrayPointerAt(HWND hwnd, UINT id, int x, int y)
{
    TipState& t = Tip();
    HWND tip = TipWindow();
    if (!tip) return;
    const bool sameIcon = t.icon == std::make_pair(hwnd, id);
    t.at = POINT{x, y};
    if (sameIcon && IsWindowVisible(tip)) return;
    t.icon = {hwnd, id};
    SetTimer(tip, kTipTimer, kTipPause, nullptr);
}

void TrayPointerGone()
{
    TipState& t = Tip();
    t.icon = {nullptr, 0};
    if (!t.wnd) return;
    KillTimer(t.wnd, kTipTimer);
    ShowWindow(t.wnd, SW_HIDE);
}

void BroadcastTaskbarCreated()
{
    const UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
    for (auto h : TopLevels()) PostMessageW(reinterpret_cast<HWND>(h), msg, 0, 0);
    // The application's window is a message-only one here; it listens for the message too.
    for (auto h : MessageOnlyWindows()) PostMessageW(reinterpret_cast<HWND>(h), msg, 0, 0);
}

}  // namespace vxwin

using namespace vxwin;

BOOL Shell_NotifyIconW(DWORD message, const NOTIFYICONDATAW* data)
{
    if (!data || !IsWindow(data->hWnd)) return FALSE;
    const bool balloon = (data->uFlags & NIF_INFO) != 0;
    NOTIFYICONDATAW now;
    {
        std::lock_guard<std::mutex> lock(TrayLock());
        auto key = std::make_pair(data->hWnd, data->uID);
        auto it = Icons().find(key);
        switch (message) {
        case NIM_ADD: {
            if (it != Icons().end()) return FALSE;
            NOTIFYICONDATAW d;
            d.hWnd = data->hWnd;
            d.uID = data->uID;
            Merge(d, *data);
            Icons()[key] = d;
            now = d;
            break;
        }
        case NIM_MODIFY:
            if (it == Icons().end()) return FALSE;
            Merge(it->second, *data);
            now = it->second;
            break;
        case NIM_DELETE:
            if (it == Icons().end()) return FALSE;
            now = it->second;
            Icons().erase(it);
            break;
        default: return FALSE;
        }
    }
    // The back end is told outside the lock: it reads the table back.
    if (message == NIM_DELETE) {
        if (Tip().icon == std::make_pair(data->hWnd, data->uID)) TrayPointerGone();
        now.szInfo[0] = 0;  // its balloon goes with it
        NotifyBackend(data->hWnd, data->uID, now, true);
    } else {
        NotifyBackend(data->hWnd, data->uID, now, balloon);
    }
    return TRUE;
}
