// Choosing the back end at first use. See backend.h.
#include "platform/win/backend.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/win/system_api.h"

namespace vxwin {

namespace {
std::unique_ptr<Backend>& Slot()
{
    static std::unique_ptr<Backend> b;
    return b;
}
std::mutex& SlotLock()
{
    static std::mutex m;
    return m;
}

std::unique_ptr<Backend> Choose()
{
    const char* forced = std::getenv("VX_BACKEND");
    const char* headless = std::getenv("VX_HEADLESS");
    const char* display = std::getenv("DISPLAY");
    bool wantX11 = forced ? std::strcmp(forced, "x11") == 0
                          : !(headless && std::strcmp(headless, "0") != 0 && *headless) && display && *display;
    if (wantX11) {
        if (auto b = MakeX11Backend(display ? display : "")) return b;
    }
    return MakeHeadlessBackend();
}
}  // namespace

Backend& CurrentBackend()
{
    std::lock_guard<std::mutex> lock(SlotLock());
    auto& b = Slot();
    if (!b) {
        b = Choose();
        UseTestClock(std::strcmp(b->Name(), "headless") == 0);
    }
    return *b;
}

bool SelectBackend(const std::string& name, const std::string& display)
{
    std::unique_ptr<Backend> b;
    if (name == "x11")
        b = MakeX11Backend(display);
    else if (name == "headless")
        b = MakeHeadlessBackend();
    if (!b) return false;
    std::lock_guard<std::mutex> lock(SlotLock());
    Slot() = std::move(b);
    UseTestClock(name == "headless");
    return true;
}

}  // namespace vxwin
