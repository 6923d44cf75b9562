// The player inside a real X11 host window under Xvfb: the picture appears in the window (read
// back from the X server), the host window's size becomes the video size, and destroying the
// window while SDL still draws into it does not end the program. Skipped without Xvfb.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "engine/ff_player.h"
#include "platform/framework/main_thread.h"
#include "tests/engine/probe_test_support.h"

// Xlib last: its macros (Status, None, Bool) would rewrite names of the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

// SDL 1.2's X11 driver keeps a graphics context of the foreign window to the end; the same
// system-library rules as tests/support/lsan.supp, built in so they hold however the test runs.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11\nleak:libSDL\n";
}

namespace {

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000)
{
    return WaitServingMainThread(pred, 5, timeoutMs);
}

bool HaveProgram(const char* name)
{
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// An Xvfb server of the test's own, on a display number the server picks.
class XvfbServer {
public:
    XvfbServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", "320x240x24", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&FPid, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0)
            FPid = 0;
        close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        char buf[32] = {};
        if (FPid && poll(&p, 1, 10000) == 1 && read(fds[0], buf, sizeof buf - 1) > 0)
            FDisplay = ":" + std::string(buf).substr(0, std::string(buf).find('\n'));
        close(fds[0]);
    }
    ~XvfbServer()
    {
        if (FPid) {
            kill(FPid, SIGTERM);
            waitpid(FPid, nullptr, 0);
        }
    }
    const std::string& Display() const { return FDisplay; }

private:
    pid_t FPid = 0;
    std::string FDisplay;
};

TEST(PlayerHostWindow, DrawsInsideTheHostWindowAndSurvivesItsDestruction)
{
    if (!HaveProgram("Xvfb"))
        GTEST_SKIP() << "Xvfb is not installed: the host-window test needs an X server";
    XInitThreads();
    XvfbServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");   // the default driver choice: x11 with a display
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    TempDir dir;
    std::string clip = dir.file("clip.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg({"-f", "lavfi", "-i", "color=c=0x3366CC:size=64x48:rate=25", "-t", "3", "-c:v",
                                       "mpeg4", clip}));

    ::Display* display = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(display, nullptr);
    int screen = DefaultScreen(display);
    Window host = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10, 240, 150, 0,
                                      BlackPixel(display, screen), BlackPixel(display, screen));
    XSelectInput(display, host, StructureNotifyMask);
    XMapWindow(display, host);
    for (XEvent e;;) {
        XNextEvent(display, &e);
        if (e.type == MapNotify)
            break;
    }

    DefaultLoader().SetLibraryPath(L"");
    ASSERT_TRUE(DefaultLoader().Load(PlayerLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    {
        TFFPlayer player(nullptr);
        std::vector<TPlayState> states;
        player.OnState = [&](TObject*, TPlayState s) { states.push_back(s); };
        ASSERT_TRUE(player.Open(Utf8ToString(clip), host, false)) << StringToUtf8(player.LastErrMsg());
        EXPECT_EQ(player.ScreenHandle(), host);
        EXPECT_EQ(player.ScreenWidth(), 240);
        EXPECT_EQ(player.ScreenHeight(), 150);
        ASSERT_TRUE(WaitUntil([&] { return player.CurrentPTS() > 300000; }));

        // The picture fills the window's height at the clip's 4:3 shape (200 x 150), centred.
        XImage* image = XGetImage(display, host, 0, 0, 240, 150, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        unsigned long centre = XGetPixel(image, 120, 75);
        unsigned long border = XGetPixel(image, 2, 75);
        XDestroyImage(image);
        EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), 0x33, 12);
        EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), 0x66, 12);
        EXPECT_NEAR(static_cast<int>(centre & 0xFF), 0xCC, 12);
        EXPECT_NE(centre, border) << "the sides beside a 4:3 picture in a wider window are not drawn";

        EXPECT_EQ(getenv("SDL_WINDOWID"), nullptr) << "the window id is handed over only while SDL starts";

        // Exposed while paused (cleared here), the window gets its picture again from the player.
        auto centreColour = [&] {
            XImage* img = XGetImage(display, host, 120, 75, 1, 1, AllPlanes, ZPixmap);
            unsigned long px = img ? XGetPixel(img, 0, 0) : 0;
            if (img)
                XDestroyImage(img);
            return px;
        };
        player.Pause();
        ASSERT_TRUE(WaitUntil([&] { return !states.empty() && states.back() == psPause; }));
        WaitUntil([] { return false; }, 200);
        XClearWindow(display, host);
        XSync(display, False);
        EXPECT_EQ(centreColour(), 0u);
        player.HostWindowExposed();
        EXPECT_TRUE(WaitUntil([&] { return centreColour() != 0; }, 5000));

        // The panel goes away while SDL still draws into it: the program carries on.
        XDestroyWindow(display, host);
        XSync(display, False);
        WaitUntil([] { return false; }, 500);
        player.Stop(true);
        EXPECT_TRUE(WaitUntil([&] { return !states.empty() && states.back() == psStop; }));
    }
    XCloseDisplay(display);
    DefaultLoader().Unload(PlayerLibraries);
}

}  // namespace
