// Notification-area icons. See shell_api.h.
#include <map>
#include <mutex>
#include <utility>

#include "platform/win/shell_api.h"
#include "platform/win/user_api.h"

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

}  // namespace vxwin

using namespace vxwin;

BOOL Shell_NotifyIconW(DWORD message, const NOTIFYICONDATAW* data)
{
    if (!data || !IsWindow(data->hWnd)) return FALSE;
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
        return TRUE;
    }
    case NIM_MODIFY:
        if (it == Icons().end()) return FALSE;
        Merge(it->second, *data);
        return TRUE;
    case NIM_DELETE:
        if (it == Icons().end()) return FALSE;
        Icons().erase(it);
        return TRUE;
    }
    return FALSE;
}
