// The headless back end: windows live only in memory; the screen is a fixed 1280x1024 with a
// 40-pixel task bar at the bottom, unless a test sets another. Tests inject input and read pixels
// through headless_api.h.
#include "platform/win/backend.h"
#include "platform/win/user_api.h"
#include "platform/win/window.h"

namespace vxwin {

namespace {
class HeadlessBackend final : public Backend {
public:
    const char* Name() const override { return "headless"; }
    RECT ScreenRect() override { return screen; }
    RECT WorkArea() override { return work; }

    RECT screen{0, 0, 1280, 1024};
    RECT work{0, 0, 1280, 984};
};
}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

bool SetHeadlessScreen(const RECT& Screen, const RECT& WorkArea)
{
    auto* b = dynamic_cast<HeadlessBackend*>(&CurrentBackend());
    if (!b) return false;
    b->screen = Screen;
    b->work = WorkArea;
    // As a changed display does: every top-level window hears of it.
    for (auto t : TopLevels())
        PostMessageW(reinterpret_cast<HWND>(t), WM_DISPLAYCHANGE, 32,
                     MAKELPARAM(Screen.right - Screen.left, Screen.bottom - Screen.top));
    return true;
}

}  // namespace vxwin
