// An X11 desktop for tests: an Xvfb server of the test's own with, on request, a real window
// manager (openbox) and a compositing manager (xcompmgr), the tools to click (xdotool) and to
// take screenshots (ImageMagick's import), and a second connection to look at windows as another
// program sees them. Missing() names what is not installed, for the test's skip message.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/xvfb.h"

class X11Desktop {
public:
    struct Options {
        bool windowManager = false;
        bool compositor = false;
        // Xvfb's screen ("WIDTHxHEIGHTxDEPTH"): the program's main window wants 1024x768.
        std::string screen = "640x480x24";
    };

    explicit X11Desktop(Options o) : FOptions(o)
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (FindTool(tool).empty()) FMissing += std::string(FMissing.empty() ? "" : ", ") + tool;
        if (o.windowManager && FindTool("openbox").empty())
            FMissing += std::string(FMissing.empty() ? "" : ", ") + "openbox";
        if (o.compositor && FindTool("xcompmgr").empty())
            FMissing += std::string(FMissing.empty() ? "" : ", ") + "xcompmgr";
        if (!FMissing.empty()) return;
        FServer = std::make_unique<XvfbServer>(o.screen);
        if (FServer->Display().empty()) {
            FMissing = "a working Xvfb";
            return;
        }
        FOther = XOpenDisplay(FServer->Display().c_str());
        if (!FOther) {
            FMissing = "a connection to Xvfb";
            return;
        }
        if (o.windowManager) {
            FWm = std::make_unique<TestProcess>(std::vector<std::string>{FindTool("openbox"), "--sm-disable"},
                                                FServer->Display());
            if (!WaitFor([this] { return WindowManagerRunning(); }, 10000) || !WindowManagerManages())
                FMissing = "a running openbox";
        }
        if (o.compositor) StartCompositor();
    }
    ~X11Desktop()
    {
        FCm.reset();
        FWm.reset();
        if (FOther) XCloseDisplay(FOther);
    }

    // Empty when everything the test needs runs.
    const std::string& Missing() const { return FMissing; }
    const std::string& Display() const { return FServer->Display(); }
    ::Display* Other() const { return FOther; }

    void StartCompositor()
    {
        FCm = std::make_unique<TestProcess>(std::vector<std::string>{FindTool("xcompmgr")}, FServer->Display());
        if (!WaitFor([this] { return CompositorRunning(); }, 10000)) FMissing = "a running xcompmgr";
    }
    bool StopCompositor()
    {
        FCm.reset();
        return WaitFor([this] { return !CompositorRunning(); }, 5000);
    }
    bool CompositorRunning()
    {
        Atom cm = XInternAtom(FOther, "_NET_WM_CM_S0", False);
        return XGetSelectionOwner(FOther, cm) != None;
    }
    bool WindowManagerRunning()
    {
        Atom check = XInternAtom(FOther, "_NET_SUPPORTING_WM_CHECK", False);
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        bool ok = XGetWindowProperty(FOther, DefaultRootWindow(FOther), check, 0, 1, False, XA_WINDOW, &type, &format,
                                     &n, &after, &data) == Success &&
                  data && n == 1;
        if (data) XFree(data);
        return ok;
    }

    // The window manager names itself before it handles maps, and a map asked in its start is
    // lost: a probe window, mapped again until the manager frames it, shows it manages windows.
    bool WindowManagerManages()
    {
        const Window root = DefaultRootWindow(FOther);
        const Window probe = XCreateSimpleWindow(FOther, root, 0, 0, 10, 10, 0, 0, 0);
        auto framed = [&] {
            Window r, parent = root, *kids = nullptr;
            unsigned n = 0;
            if (!XQueryTree(FOther, probe, &r, &parent, &kids, &n)) return false;
            if (kids) XFree(kids);
            return parent != root;
        };
        bool ok = false;
        for (int i = 0; i < 20 && !ok; ++i) {
            XUnmapWindow(FOther, probe);
            XMapWindow(FOther, probe);
            XSync(FOther, False);
            ok = WaitFor(framed, 500);
        }
        XDestroyWindow(FOther, probe);
        XSync(FOther, False);
        return ok;
    }

    // xdotool with the given arguments on this desktop; its exit code.
    int Xdotool(const std::vector<std::string>& args)
    {
        std::vector<std::string> all{FindTool("xdotool")};
        all.insert(all.end(), args.begin(), args.end());
        return RunTool(all, Display());
    }
    int Click(int x, int y) { return Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "1"}); }

    // A screenshot of the whole screen; pixels read as 0xRRGGBB.
    class Shot {
    public:
        explicit Shot(cairo_surface_t* s) : FS(s) {}
        ~Shot()
        {
            if (FS) cairo_surface_destroy(FS);
        }
        bool Ok() const { return FS && cairo_surface_status(FS) == CAIRO_STATUS_SUCCESS; }
        std::uint32_t At(int x, int y) const
        {
            auto* row = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(FS) +
                                                         y * cairo_image_surface_get_stride(FS));
            return row[x] & 0xFFFFFF;
        }

    private:
        cairo_surface_t* FS;
    };
    std::unique_ptr<Shot> Screenshot()
    {
        std::string file = FDir.file("screen.png");
        if (RunTool({FindTool("import"), "-window", "root", file}, Display()) != 0)
            return std::make_unique<Shot>(nullptr);
        return std::make_unique<Shot>(cairo_image_surface_create_from_png(file.c_str()));
    }

    // Polls until fn holds (true) or the time is up (false).
    static bool WaitFor(const std::function<bool()>& fn, int ms)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            if (fn()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return fn();
    }

private:
    Options FOptions;
    std::string FMissing;
    std::unique_ptr<XvfbServer> FServer;
    ::Display* FOther = nullptr;
    std::unique_ptr<TestProcess> FWm, FCm;
    TempDir FDir;
};

// Channels of two 0xRRGGBB colours differ by at most tolerance.
inline bool NearColor(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift : {0, 8, 16}) {
        int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
