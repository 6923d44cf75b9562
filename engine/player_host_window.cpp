// SDL inside the host window. SDL 1.2 draws into a foreign X11 window whose id it finds in the
// environment variable "SDL_WINDOWID" when it starts; it selects no input on that window, so
// the window's owner (the preview panel) keeps its own mouse, focus and expose handling. An X
// error handler that never ends the process is installed first: the host window may be destroyed
// while SDL still draws into it, and Xlib's default handler would then exit the program.
#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "engine/av_bindings.h"
#include "engine/player.h"

namespace {

// Xlib's handler type, without Xlib's headers: int handler(Display*, XErrorEvent*).
using TXErrorHandler = int (*)(void*, void*);
using TXSetErrorHandler = TXErrorHandler (*)(TXErrorHandler);

int IgnoreXError(void*, void*) { return 0; }

void InstallXErrorHandler()
{
    // The copy of Xlib that SDL uses (already mapped with SDL); nothing to do without X11.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    if (auto setHandler = reinterpret_cast<TXSetErrorHandler>(dlsym(xlib, "XSetErrorHandler")))
        setHandler(IgnoreXError);
    dlclose(xlib);
}

// The host window SDL was last started in, and its player (one playing player per process).
struct THostWindowHook {
    TScreenHandle Handle = 0;
    TCustomPlayer* Player = nullptr;
} HostWindowHook;

// libasound writes its own complaints ("ALSA lib ... Unknown PCM default") to the terminal where
// there is no sound device, and SDL asks it at every start and every opening of the sound. They
// go nowhere instead: a missing device shows as SDL finding no sound, which the player reports
// in its log and plays on silently.
void QuietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void QuietenAlsa()
{
    static bool quiet = false;
    if (quiet) return;
    // The copy SDL uses, mapped with SDL; the handle is kept so the library and its handler stay.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) return;
    using THandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using TSetHandler = int (*)(THandler);
    if (auto setHandler = reinterpret_cast<TSetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        setHandler(QuietAlsaError);
        quiet = true;
    } else {
        dlclose(alsa);
    }
}

}  // namespace

bool TCustomPlayer::InitSDLWindow(TScreenHandle AHandle)
{
    QuietenAlsa();
    if (AHandle) {
        setenv("SDL_WINDOWID", std::to_string(AHandle).c_str(), 1);
        InstallXErrorHandler();
    }
    const Uint32 flags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    bool started = sdl::SDL_Init(flags) >= 0;
    if (!started) {
        // Without a usable sound driver the playback goes on silently.
        started = sdl::SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) >= 0;
    }
    if (!AHandle) return started;
    char name[64];
    if (sdl::SDL_AudioDriverName(name, sizeof name))
        av::av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n", name);
    if (sdl::SDL_VideoDriverName(name, sizeof name))
        av::av_log(nullptr, AV_LOG_DEBUG, "using video driver: %s\n", name);
    unsetenv("SDL_WINDOWID");
    HostWindowHook.Handle = AHandle;
    HostWindowHook.Player = this;
    return started;
}

// The host window's size, asked of the X server (False when it cannot be asked).
bool HostWindowClientSize(TScreenHandle AHandle, int& AWidth, int& AHeight)
{
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return false;
    using TOpen = void* (*)(const char*);
    using TClose = int (*)(void*);
    using TGeometry =
        int (*)(void*, unsigned long, unsigned long*, int*, int*, unsigned*, unsigned*, unsigned*, unsigned*);
    auto openDisplay = reinterpret_cast<TOpen>(dlsym(xlib, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<TClose>(dlsym(xlib, "XCloseDisplay"));
    auto getGeometry = reinterpret_cast<TGeometry>(dlsym(xlib, "XGetGeometry"));
    bool ok = false;
    if (openDisplay && closeDisplay && getGeometry) {
        InstallXErrorHandler();
        if (void* display = openDisplay(nullptr)) {
            unsigned long root;
            int x, y;
            unsigned w, h, border, depth;
            if (getGeometry(display, AHandle, &root, &x, &y, &w, &h, &border, &depth)) {
                AWidth = static_cast<int>(w);
                AHeight = static_cast<int>(h);
                ok = true;
            }
            closeDisplay(display);
        }
    }
    dlclose(xlib);
    return ok;
}
