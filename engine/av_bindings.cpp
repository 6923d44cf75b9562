// The slots of the media libraries and the binding of each library's names.
#include "engine/av_bindings.h"

#include <cstdio>

#include "engine/library_loader.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

#define VX_DEFINE_SLOT(name) decltype(&::name) name = nullptr;
#define VX_DEFINE_SLOT2(slot, name) decltype(&::name) slot = nullptr;

namespace av {
VX_AVUTIL_NAMES(VX_DEFINE_SLOT)
VX_SWRESAMPLE_NAMES(VX_DEFINE_SLOT)
VX_SWSCALE_NAMES(VX_DEFINE_SLOT)
VX_AVCODEC_NAMES(VX_DEFINE_SLOT)
VX_AVFORMAT_NAMES(VX_DEFINE_SLOT)
VX_AVFILTER_NAMES(VX_DEFINE_SLOT)
VX_AVDEVICE_NAMES(VX_DEFINE_SLOT)
}  // namespace av

namespace sdl {
VX_SDL_NAMES(VX_DEFINE_SLOT, VX_DEFINE_SLOT2)
}  // namespace sdl

namespace crt {
VX_CRT_NAMES(VX_DEFINE_SLOT)
}  // namespace crt

namespace {

#define VX_AV_ENTRY(name) {#name, reinterpret_cast<void**>(&av::name)},
#define VX_SDL_ENTRY(name) {#name, reinterpret_cast<void**>(&sdl::name)},
#define VX_SDL_ENTRY2(slot, name) {#name, reinterpret_cast<void**>(&sdl::slot)},
#define VX_CRT_ENTRY(name) {#name, reinterpret_cast<void**>(&crt::name)},

const TBindSlot AVUtilSlots[] = {VX_AVUTIL_NAMES(VX_AV_ENTRY)};
const TBindSlot SwResampleSlots[] = {VX_SWRESAMPLE_NAMES(VX_AV_ENTRY)};
const TBindSlot SwScaleSlots[] = {VX_SWSCALE_NAMES(VX_AV_ENTRY)};
const TBindSlot AVCodecSlots[] = {VX_AVCODEC_NAMES(VX_AV_ENTRY)};
const TBindSlot AVFormatSlots[] = {VX_AVFORMAT_NAMES(VX_AV_ENTRY)};
const TBindSlot AVFilterSlots[] = {VX_AVFILTER_NAMES(VX_AV_ENTRY)};
const TBindSlot AVDeviceSlots[] = {VX_AVDEVICE_NAMES(VX_AV_ENTRY)};
const TBindSlot CRTSlots[] = {VX_CRT_NAMES(VX_CRT_ENTRY)};
const TBindSlot SDLSlots[] = {VX_SDL_NAMES(VX_SDL_ENTRY, VX_SDL_ENTRY2)};

template <size_t N>
constexpr TBindSlotList ListOf(const TBindSlot (&a)[N])
{
    return TBindSlotList{a, static_cast<int>(N)};
}

// The major version a library reports must be the one the engine was compiled against: struct
// layouts are only valid for it.
void CheckVersion(const std::string& libName, unsigned (*versionFn)(), int expected)
{
    int major = static_cast<int>(versionFn() >> 16);
    if (major != expected) {
        char text[512];
        std::snprintf(text, sizeof text, "Load library %s error: version %d, expected %d", libName.c_str(), major,
                      expected);
        throw Exception(Utf8ToString(text));
    }
}

}  // namespace

TBindSlotList LibrarySlots(TLibrary lib)
{
    switch (lib) {
    case avUtil: return ListOf(AVUtilSlots);
    case swResample: return ListOf(SwResampleSlots);
    case swScale: return ListOf(SwScaleSlots);
    case avCodec: return ListOf(AVCodecSlots);
    case avFormat: return ListOf(AVFormatSlots);
    case avFilter: return ListOf(AVFilterSlots);
    case avDevice: return ListOf(AVDeviceSlots);
    case myUtil: return ListOf(CRTSlots);
    case lbSDL: return ListOf(SDLSlots);
    }
    return TBindSlotList{nullptr, 0};
}

void FixupLibrary(TLibrary lib, const std::string& libName, void* handle)
{
    for (const TBindSlot& s : LibrarySlots(lib)) BindFunction(libName, s.Name, handle, *s.Slot);
    switch (lib) {
    case avUtil: CheckVersion(libName, av::avutil_version, LIBAVUTIL_VERSION_MAJOR); break;
    case swResample: CheckVersion(libName, av::swresample_version, LIBSWRESAMPLE_VERSION_MAJOR); break;
    case swScale: CheckVersion(libName, av::swscale_version, LIBSWSCALE_VERSION_MAJOR); break;
    case avCodec: CheckVersion(libName, av::avcodec_version, LIBAVCODEC_VERSION_MAJOR); break;
    case avFormat: CheckVersion(libName, av::avformat_version, LIBAVFORMAT_VERSION_MAJOR); break;
    case avFilter: CheckVersion(libName, av::avfilter_version, LIBAVFILTER_VERSION_MAJOR); break;
    case avDevice: av::avdevice_register_all(); break;  // devices are the one thing still registered
    case myUtil:
    case lbSDL: break;
    }
}

void UnfixLibrary(TLibrary lib)
{
    for (const TBindSlot& s : LibrarySlots(lib)) *s.Slot = nullptr;
}
