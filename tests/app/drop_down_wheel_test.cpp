// The built program under Xvfb with openbox: the mouse wheel over the open category list of the
// format panel moves the list (X11 reports each notch as a press of button 4 or 5 on the list's
// window; the combo, which holds the keyboard, takes it), and Esc then closes the list only. Skipped with a message where a tool
// is missing; failed instead when CI is set.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "tests/support/temp_dir.h"
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

#include <X11/Xutil.h>

namespace {

class DropDownWheel : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            ::waitpid(Pid, nullptr, 0);
        }
    }

    // What a shell command line (the test's own, fixed text) printed, run on the desktop.
    std::string Run(const std::string& ACommand)
    {
        std::string text;
        if (FILE* p = ::popen(("DISPLAY=" + Desk->Display() + " " + ACommand).c_str(), "r")) {
            char buf[512];
            while (std::fgets(buf, sizeof buf, p)) text += buf;
            ::pclose(p);
        }
        return text;
    }

    // Starts vexmora with a home of the test's own, beside its own settings (it keeps option.ini
    // in its folder: it runs as a hard link, or a copy, in a temporary folder); the main
    // window's id and place on the screen once it shows.
    bool StartProgram()
    {
        namespace fs = std::filesystem;
        const fs::path program = fs::path(Folder.path()) / "vexmora";
        std::error_code ec;
        fs::create_hard_link(VX_PROGRAM_FILE, program, ec);
        if (ec) fs::copy_file(VX_PROGRAM_FILE, program);
        ::setenv("HOME", Home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (Home.path() + "/.config").c_str(), 1);
        // The test launcher asks for the headless back end; the program is to use the server.
        ::unsetenv("VX_HEADLESS");
        Pid = SpawnWithDisplay({program.string()}, Desk->Display(), true);
        if (Pid <= 0) return false;
        std::string id;
        if (!X11Desktop::WaitFor(
                [&] {
                    id = Run("xdotool search --onlyvisible --name 'VexmoraMKV' 2>/dev/null | head -1");
                    return !id.empty();
                },
                30000))
            return false;
        Main = std::strtoul(id.c_str(), nullptr, 10);
        // Placed by the window manager, at its full size, and holding the keyboard.
        return X11Desktop::WaitFor(
            [&] {
                XWindowAttributes wa{};
                Window child = 0;
                if (!XGetWindowAttributes(Desk->Other(), Main, &wa) || wa.width < 827) return false;
                XTranslateCoordinates(Desk->Other(), Main, DefaultRootWindow(Desk->Other()), 0, 0, &X, &Y, &child);
                return std::strtoul(Run("xdotool getwindowfocus").c_str(), nullptr, 10) == Main;
            },
            30000);
    }

    // A screen rectangle's pixels (or those of a screenshot file), as ImageMagick's signature.
    std::string Crop(int AX, int AY, int AW, int AH, const std::string& AFile = "")
    {
        const std::string area =
            std::to_string(AW) + "x" + std::to_string(AH) + "+" + std::to_string(AX) + "+" + std::to_string(AY);
        if (!AFile.empty()) return Run("convert '" + AFile + "' -crop " + area + " +repage -format %# info:");
        return Run("import -window root -crop " + area + " png:- | convert - -format %# info:");
    }

    struct Geometry {
        int X = 0, Y = 0, W = 0, H = 0;
    };
    // The shown override-redirect window of the program (an open drop-down list or menu); all
    // zero when none shows.
    Geometry ShownPopup()
    {
        ::Display* d = Desk->Other();
        Window root = 0, parent = 0, *kids = nullptr;
        unsigned n = 0;
        Geometry g;
        if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &kids, &n)) return g;
        for (unsigned i = 0; i < n && g.W == 0; ++i) {
            XWindowAttributes wa{};
            XClassHint hint{};
            if (!XGetWindowAttributes(d, kids[i], &wa) || !wa.override_redirect || wa.map_state != IsViewable ||
                wa.width < 20 || !XGetClassHint(d, kids[i], &hint))
                continue;
            if (hint.res_name && std::string(hint.res_name) == "vexmora") g = {wa.x, wa.y, wa.width, wa.height};
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
        }
        if (kids) XFree(kids);
        return g;
    }

    // What AShot gives once two shots in a row agree (a repaint done).
    template <class F>
    static std::string Settled(F AShot)
    {
        std::string last = AShot();
        X11Desktop::WaitFor(
            [&] {
                std::string again = AShot();
                return std::exchange(last, again) == again;
            },
            10000);
        return last;
    }

    std::unique_ptr<X11Desktop> Desk;
    TempDir Home, Folder;
    pid_t Pid = -1;
    Window Main = 0;
    int X = 0, Y = 0;
};

TEST_F(DropDownWheel, TheWheelMovesTheOpenCategoryListAndEscClosesItOnly)
{
    if (FindTool("convert").empty()) X11_TEST_UNAVAILABLE() << "needs ImageMagick's convert";
    Desk = std::make_unique<X11Desktop>(X11Desktop::Options{true, false, "1024x768x24"});
    if (!Desk->Missing().empty()) X11_TEST_UNAVAILABLE() << "needs " << Desk->Missing();
    ASSERT_TRUE(StartProgram()) << "the main window does not show with the keyboard";

    // The category combo, the format panel's first box: its list (20 rows, 7 in view, the first
    // one selected) opens above it, the screen ending below.
    const std::string screen = Folder.path() + "/closed.png";
    Run("import -window root '" + screen + "'");
    Desk->Click(X + 159, Y + 432);
    Geometry list;
    ASSERT_TRUE(X11Desktop::WaitFor([&] { return (list = ShownPopup()).W > 0; }, 20000)) << "the list does not open";
    auto whole = [&] { return Crop(list.X, list.Y, list.W, list.H); };
    // Painted: the list no longer shows what lay beneath it.
    const std::string beneath = Crop(list.X, list.Y, list.W, list.H, screen);
    ASSERT_TRUE(X11Desktop::WaitFor([&] { return whole() != beneath; }, 20000)) << "the list is not drawn";
    // The top row (left of the scroll bar): what moves when the list scrolls.
    auto top = [&] { return Crop(list.X + 2, list.Y + 2, list.W - 24, 24); };
    const std::string open = Settled(whole);

    // The pointer over the list's middle selects the row there.
    Desk->Xdotool({"mousemove", std::to_string(list.X + 40), std::to_string(list.Y + list.H / 2)});
    ASSERT_TRUE(X11Desktop::WaitFor([&] { return whole() != open; }, 20000)) << "hovering selects no row";
    Settled(whole);
    const std::string hoveredTop = top();

    // Away from the user, a notch at a time: the selection goes down the list and, past its
    // last visible row, the list scrolls.
    Desk->Xdotool({"click", "--repeat", "9", "--delay", "50", "4"});
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return top() != hoveredTop; }, 20000))
        << "the wheel does not scroll the open list";
    // Towards the user, more notches than rows went by: back at the first row, as it opened.
    Desk->Xdotool({"click", "--repeat", "15", "--delay", "50", "5"});
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return whole() == open; }, 20000))
        << "the wheel does not bring the list back to its first row";

    // Esc closes the list only: the main window stays, with the keyboard.
    Desk->Xdotool({"key", "Escape"});
    EXPECT_TRUE(X11Desktop::WaitFor([&] { return ShownPopup().W == 0; }, 20000)) << "Esc does not close the list";
    XWindowAttributes wa{};
    EXPECT_TRUE(XGetWindowAttributes(Desk->Other(), Main, &wa) && wa.map_state == IsViewable);
    EXPECT_EQ(std::strtoul(Run("xdotool getwindowfocus").c_str(), nullptr, 10), Main);
}

}  // namespace
