// Test windows: one class whose procedure logs every message and lets a test answer some itself.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class TestWindows {
public:
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

    TestWindows()
    {
        Self() = this;
        WNDCLASSW wc;
        wc.lpfnWndProc = &TestWindows::Proc;
        wc.lpszClassName = L"VxTestWindow";
        wc.style = CS_DBLCLKS;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
    }
    ~TestWindows()
    {
        for (auto it = created.rbegin(); it != created.rend(); ++it)
            if (IsWindow(*it)) DestroyWindow(*it);
        UnregisterClassW(L"VxTestWindow", nullptr);
        Self() = nullptr;
    }

    HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD ex = 0)
    {
        HWND hw = CreateWindowExW(ex, L"VxTestWindow", L"top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
        created.push_back(hw);
        return hw;
    }
    HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE)
    {
        HWND hw = CreateWindowExW(0, L"VxTestWindow", L"child", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
        created.push_back(hw);
        return hw;
    }

    // Messages of one window (or all with nullptr) in the given number set, in order.
    std::vector<UINT> Of(HWND hw, std::initializer_list<UINT> only = {}) const
    {
        std::vector<UINT> out;
        for (auto& l : log) {
            if (hw && l.hwnd != hw) continue;
            if (only.size() && std::find(only.begin(), only.end(), l.msg) == only.end()) continue;
            out.push_back(l.msg);
        }
        return out;
    }
    const Logged* Last(HWND hw, UINT msg) const
    {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->hwnd == hw && it->msg == msg) return &*it;
        return nullptr;
    }

    std::vector<Logged> log;
    std::map<HWND, Handler> handlers;
    std::map<HWND, COLORREF> paintColor;  // windows that fill their client area on WM_PAINT
    std::vector<HWND> created;

private:
    static TestWindows*& Self()
    {
        static TestWindows* s = nullptr;
        return s;
    }
    static LRESULT Proc(HWND hw, UINT msg, WPARAM wp, LPARAM lp)
    {
        TestWindows* self = Self();
        if (self) {
            self->log.push_back({hw, msg, wp, lp});
            auto it = self->handlers.find(hw);
            LRESULT r = 0;
            if (it != self->handlers.end() && it->second(hw, msg, wp, lp, r)) return r;
            auto pc = self->paintColor.find(hw);
            if (msg == WM_PAINT && pc != self->paintColor.end()) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(hw, &ps);
                RECT rc;
                GetClientRect(hw, &rc);
                HBRUSH b = CreateSolidBrush(pc->second);
                FillRect(dc, &rc, b);
                DeleteObject(b);
                EndPaint(hw, &ps);
                return 0;
            }
        }
        return DefWindowProcW(hw, msg, wp, lp);
    }
};

inline std::uint32_t PixelAt(HWND top, int x, int y)
{
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(top, &w, &h);
    if (x < 0 || y < 0 || x >= w || y >= h) return 0xDEADBEEF;
    return px[static_cast<size_t>(y) * w + x] & 0xFFFFFF;
}

// Pumps messages for a while (X events arrive asynchronously).
inline void PumpFor(int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        vxwin::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
