// Test and tool access to the window layer. See headless_api.h.
#include "platform/win/headless_api.h"

#include <cairo.h>

#include <algorithm>

#include "platform/win/backend.h"
#include "platform/win/message_queue.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

const char* BackendName() { return CurrentBackend().Name(); }
bool UseX11Backend(const std::string& display) { return SelectBackend("x11", display); }
void UseHeadlessBackend() { SelectBackend("headless"); }

void InjectMouseMove(int x, int y)
{
    RawInput r;
    r.kind = RawInput::MouseMove;
    r.x = x;
    r.y = y;
    PostRawInput(r);
}

void InjectMouseButton(int button, bool down, int x, int y)
{
    InjectMouseMove(x, y);
    RawInput r;
    r.kind = down ? RawInput::MouseDown : RawInput::MouseUp;
    r.button = button;
    r.x = x;
    r.y = y;
    PostRawInput(r);
}

void InjectMouseWheel(int delta, int x, int y)
{
    RawInput r;
    r.kind = RawInput::Wheel;
    r.wheel = delta;
    r.x = x;
    r.y = y;
    PostRawInput(r);
}

void InjectKey(int vk, bool down, const std::wstring& text)
{
    RawInput r;
    r.kind = down ? RawInput::KeyDown : RawInput::KeyUp;
    r.vk = vk;
    r.text = text;
    PostRawInput(r);
}

void InjectText(const std::wstring& text)
{
    RawInput r;
    r.kind = RawInput::Text;
    r.text = text;
    PostRawInput(r);
}

void AdvanceClock(unsigned ms) { AdvanceTestClock(ms); }
void SetClockAutoStep(unsigned ms) { SetTestClockAutoStep(ms); }

void SyncDisplay() { CurrentBackend().Sync(); }

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

unsigned long long MessageLoopSleeps()
{
    auto q = CurrentQueue();
    std::lock_guard<std::mutex> lock(q->m);
    return q->sleeps;
}

std::vector<std::uint32_t> WindowPixels(HWND hwnd, int* width, int* height)
{
    std::vector<std::uint32_t> out;
    auto w = LookupWindow(hwnd);
    if (width) *width = 0;
    if (height) *height = 0;
    if (!w) return out;
    auto top = TopLevelOf(w);
    if (!top) return out;
    EnsureSurface(*top);
    const Surface* s = (top->layeredContent && top == w) ? top->layeredContent.get() : top->surface.get();
    if (!s) return out;
    // A child window: its part of the top-level surface.
    POINT o = w == top ? POINT{0, 0} : OffsetInTopLevel(*w);
    int cw = w == top ? s->width : w->rect.right - w->rect.left;
    int ch = w == top ? s->height : w->rect.bottom - w->rect.top;
    out.assign(static_cast<size_t>(std::max(cw, 0)) * std::max(ch, 0), 0);
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x)
            if (s->Inside(o.x + x, o.y + y)) out[static_cast<size_t>(y) * cw + x] = s->Row32(o.y + y)[o.x + x];
    if (width) *width = cw;
    if (height) *height = ch;
    return out;
}

bool SaveWindowPng(HWND hwnd, const std::string& path)
{
    int w = 0, h = 0;
    auto px = WindowPixels(hwnd, &w, &h);
    if (px.empty()) return false;
    auto win = LookupWindow(hwnd);
    bool alpha = win && win->layeredContent;
    cairo_surface_t* cs = cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h);
    if (cairo_surface_status(cs) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(cs);
        return false;
    }
    cairo_surface_flush(cs);
    unsigned char* data = cairo_image_surface_get_data(cs);
    int stride = cairo_image_surface_get_stride(cs);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x)
            row[x] = alpha ? px[static_cast<size_t>(y) * w + x] : (px[static_cast<size_t>(y) * w + x] | 0xFF000000);
    }
    cairo_surface_mark_dirty(cs);
    bool ok = cairo_surface_write_to_png(cs, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(cs);
    return ok;
}

unsigned long NativeWindowId(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    return CurrentBackend().NativeChild(*w);
}

}  // namespace vxwin
