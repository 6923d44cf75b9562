#include "platform/framework/forms/util_window.h"

#include <map>
#include <mutex>

#include "platform/framework/forms/application.h"

namespace {
const wchar_t kUtilClass[] = L"TPUtilWindow";

std::map<HWND, WNDPROC>& Instances()
{
    static std::map<HWND, WNDPROC> m;
    return m;
}

void RegisterUtilClass()
{
    WNDCLASSW wc;
    if (GetClassInfoW(nullptr, kUtilClass, &wc)) return;
    WNDCLASSW n;
    n.lpfnWndProc = DefWindowProcW;
    n.lpszClassName = kUtilClass;
    RegisterClassW(&n);
}
}  // namespace

HWND AllocateHWnd(TWndMethod Method)
{
    RegisterUtilClass();
    HWND h = CreateWindowExW(0, kUtilClass, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!h) return nullptr;
    WNDPROC inst = MakeObjectInstance([Method](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        TMessage m{msg, wp, lp, 0};
        try {
            Method(m);
        } catch (...) {
            if (Application) Application->HandleException(nullptr);
        }
        return m.Result;
    });
    SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst));
    Instances()[h] = inst;
    return h;
}

void DeallocateHWnd(HWND Wnd)
{
    if (!Wnd) return;
    auto it = Instances().find(Wnd);
    if (IsWindow(Wnd)) {
        SetWindowLongPtrW(Wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        DestroyWindow(Wnd);
    }
    if (it != Instances().end()) {
        FreeObjectInstance(it->second);
        Instances().erase(it);
    }
}
