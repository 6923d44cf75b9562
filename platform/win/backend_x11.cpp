// X11 back end (placeholder until written).
#include "platform/win/backend.h"
namespace vxwin {
std::unique_ptr<Backend> MakeX11Backend(const std::string&) { return nullptr; }
}
