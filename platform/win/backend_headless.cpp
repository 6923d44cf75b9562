// The headless back end: windows live only in memory; the screen is a fixed 1280x1024 with a
// 40-pixel task bar at the bottom. Tests inject input and read pixels through headless_api.h.
#include "platform/win/backend.h"

namespace vxwin {

namespace {
class HeadlessBackend final : public Backend {
public:
    const char* Name() const override { return "headless"; }
};
}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace vxwin
