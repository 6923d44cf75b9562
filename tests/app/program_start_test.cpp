// The built program itself: without a display it says how to run it and fails; under Xvfb it
// opens its window (a screenshot is saved), its "添加" button opens the add menu, and it ends with
// exit code 0 when the window is asked to close; a user adds a file through the menu and the open
// dialog and sees it in the preview. Under openbox the main window keeps its fixed size, lives
// through Tab presses, and each dialog it opens takes the keyboard and gives it back. Skipped with a message where Xvfb, xdotool, ImageMagick, openbox or wmctrl
// is missing (the new window-manager test fails instead when CI is set).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

// Last: its macros would clash with the headers above.
#include <X11/Xlib.h>

namespace {

// Runs a shell command line (the test's own, fixed text) and gives what it printed.
std::string Output(const std::string& ACommand)
{
    std::string text;
    if (FILE* p = ::popen(ACommand.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) text += buf;
        ::pclose(p);
    }
    return text;
}

TEST(Program, WithoutADisplaySaysHowToRunItAndFails)
{
    const std::string out = Output("env -u DISPLAY '" VX_PROGRAM_FILE "' 2>&1; echo \"rc=$?\"");
    // The advice names the built program by its path: "vexmora" alone is not on the PATH.
    const std::string advice = "`xvfb-run " + std::filesystem::canonical(VX_PROGRAM_FILE).string() + "`";
    EXPECT_NE(out.find(advice), std::string::npos) << out;
    EXPECT_NE(out.find("rc=2"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << "one line, then the exit code";
}

class ProgramUnderXvfb : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            ::waitpid(Pid, nullptr, 0);
        }
        Wm.reset();
        std::error_code ec;
        if (!ProgramFolder.empty()) std::filesystem::remove_all(ProgramFolder, ec);
    }
    std::string Run(const std::string& ACommand) { return Output("DISPLAY=" + Server->Display() + " " + ACommand); }
    // Waits up to ASeconds for ACheck.
    template <class F>
    static bool WaitFor(F ACheck, int ASeconds = 40)
    {
        for (int i = 0; i < ASeconds * 10; ++i) {
            if (ACheck()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // Distinct colours of a screen rectangle.
    int Colours(int AX, int AY, int AW, int AH)
    {
        std::ostringstream cmd;
        cmd << "import -window root -crop " << AW << "x" << AH << "+" << AX << "+" << AY
            << " png:- | convert - -format %k info:";
        return std::atoi(Run(cmd.str()).c_str());
    }
    // Starts vexmora on a server of the test's own with a temporary home and waits for its main
    // window (or for the first window titled AWindow); false (with the test skipped) when a tool
    // is missing. OptionIni, when set, is the settings file the program finds beside itself.
    bool StartProgram(bool AWithWindowManager = false, const std::string& AWindow = "VexmoraMKV")
    {
        if (FindTool("Xvfb").empty() || FindTool("xdotool").empty() || FindTool("import").empty() ||
            FindTool("convert").empty() || (AWithWindowManager && FindTool("openbox").empty())) {
            Skipped = true;
            return false;
        }
        Server = std::make_unique<XvfbServer>("1024x768x24");
        EXPECT_FALSE(Server->Display().empty());
        if (Server->Display().empty()) return false;
        if (AWithWindowManager) {
            Wm = std::make_unique<TestProcess>(std::vector<std::string>{FindTool("openbox"), "--sm-disable"},
                                               Server->Display());
            const bool running = WaitFor(
                [&] {
                    return Run("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
                           std::string::npos;
                },
                20);
            EXPECT_TRUE(running) << "openbox did not start";
            if (!running) return false;
        }
        ::setenv("HOME", Home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (Home.path() + "/.config").c_str(), 1);
        // The test launcher asks for the headless back end; the program is to use the server.
        ::unsetenv("VX_HEADLESS");
        const std::string program = ProgramBesideItsOwnSettings();
        if (!OptionIni.empty()) std::ofstream(ProgramFolder / "option.ini", std::ios::binary) << OptionIni;
        Pid = SpawnWithDisplay({program}, Server->Display(), true);
        EXPECT_GT(Pid, 0);
        if (Pid <= 0) return false;
        const bool shown = WaitFor(
            [&] {
                if (AWindow == "VexmoraMKV")
                    WindowId = Run("xdotool search --onlyvisible --name 'VexmoraMKV' 2>/dev/null | head -1");
                else  // xdotool matches no Chinese name in the C locale; the window tree lists it
                    WindowId = Run("xwininfo -root -tree | grep '\"" + AWindow + "\"' | head -1 | awk '{print $1}'");
                return !WindowId.empty();
            },
            90);  // a sanitizer build starting beside other tests on a busy machine
        EXPECT_TRUE(shown) << "no window";
        if (!shown) return false;
        WindowId.erase(WindowId.find_last_not_of("\n ") + 1);
        if (AWindow != "VexmoraMKV") return true;
        // Its place on the screen.
        const bool placed = WaitFor([&] {
            const std::string geo = Run("xdotool getwindowgeometry --shell " + WindowId);
            std::sscanf(geo.c_str() + geo.find("X="), "X=%d", &X);
            std::sscanf(geo.c_str() + geo.find("Y="), "Y=%d", &Y);
            std::sscanf(geo.c_str() + geo.find("WIDTH="), "WIDTH=%d", &W);
            return W >= 827;
        });
        EXPECT_TRUE(placed);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return placed;
    }
    // A client message about the main window: AType with AData (an atom's name) or the time,
    // then AMore; to the window itself, or to the root window as a window manager takes it.
    bool SendToWindow(const char* AType, const char* AData, long AMore, bool AToRoot)
    {
        ::Display* dpy = XOpenDisplay(Server->Display().c_str());
        if (!dpy) return false;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = std::stoul(WindowId);
        e.xclient.message_type = XInternAtom(dpy, AType, False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = AData ? static_cast<long>(XInternAtom(dpy, AData, False)) : CurrentTime;
        e.xclient.data.l[1] = AMore;
        if (AToRoot)
            XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        else
            XSendEvent(dpy, e.xclient.window, False, NoEventMask, &e);
        XSync(dpy, False);
        XCloseDisplay(dpy);
        return true;
    }
    // The program's exit code once it has ended by itself within ASeconds; -1 while it still runs
    // (or when it was ended by a signal).
    int ExitCode(int ASeconds = 30)
    {
        int status = 0;
        const bool ended = WaitFor([&] { return ::waitpid(Pid, &status, WNOHANG) == Pid; }, ASeconds);
        if (!ended) return -1;
        Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The program keeps option.ini beside itself: it runs as a hard link (a copy across file
    // systems) in a folder of the test's own, so the built program's folder stays untouched.
    std::string ProgramBesideItsOwnSettings()
    {
        namespace fs = std::filesystem;
        ProgramFolder = fs::current_path() / ("program_" + std::to_string(::getpid()));
        fs::remove_all(ProgramFolder);
        fs::create_directories(ProgramFolder);
        const fs::path program = ProgramFolder / "vexmora";
        std::error_code ec;
        fs::create_hard_link(VX_PROGRAM_FILE, program, ec);
        if (ec) fs::copy_file(VX_PROGRAM_FILE, program);
        return program.string();
    }

    // Under CI a missing tool fails the test; elsewhere it is skipped with this message.
    static bool ToolsMissing(const std::string& AWhat)
    {
        if (std::getenv("CI")) ADD_FAILURE() << "needs " << AWhat;
        return true;
    }
    unsigned long FocusedWindow() { return std::strtoul(Run("xdotool getwindowfocus").c_str(), nullptr, 10); }
    // The shown window named exactly ATitle; 0 when there is none. (The tree names windows in
    // UTF-8 whatever the locale; xdotool's name search does not.)
    unsigned long FindWindow(const std::string& ATitle)
    {
        std::istringstream lines(Run("xwininfo -root -tree | grep '\"" + ATitle + "\":'"));
        for (std::string line; std::getline(lines, line);) {
            const size_t at = line.find("0x");
            if (at == std::string::npos) continue;
            const unsigned long id = std::stoul(line.substr(at), nullptr, 16);
            if (Run("xwininfo -id " + std::to_string(id) + " | grep -c IsViewable").find('1') == 0) return id;
        }
        return 0;
    }
    // A window's size and place (its frame's, which the skin draws).
    struct Geometry {
        int X = 0, Y = 0, W = 0, H = 0;
    };
    Geometry GeometryOf(const std::string& AId)
    {
        const std::string geo = Run("xdotool getwindowgeometry --shell " + AId);
        Geometry g;
        for (auto [key, field] : {std::pair{"X=", &g.X}, {"Y=", &g.Y}, {"WIDTH=", &g.W}, {"HEIGHT=", &g.H}})
            if (const size_t at = geo.find(std::string("\n") + key); at != std::string::npos)
                *field = std::atoi(geo.c_str() + at + 1 + std::strlen(key));
        return g;
    }

    std::filesystem::path ProgramFolder;
    std::string OptionIni;
    std::unique_ptr<XvfbServer> Server;
    std::unique_ptr<TestProcess> Wm;
    TempDir Home;
    pid_t Pid = -1;
    std::string WindowId;
    int X = 0, Y = 0, W = 0;
    bool Skipped = false;
};

TEST_F(ProgramUnderXvfb, OpensItsWindowAndTheAddMenuAndEndsWhenAskedToClose)
{
    if (!StartProgram()) {
        if (Skipped) X11_TEST_UNAVAILABLE() << "needs Xvfb, xdotool and ImageMagick (import, convert)";
        return;
    }
    const char* out = std::getenv("TEST_OUTPUT_DIR");
    const std::string shot = std::string(out ? out : ".") + "/vexmora_main_window.png";
    Run("import -window root '" + shot + "'");

    // "添加" lies at the tool bar's left; its menu opens below it over the empty list.
    const int menuX = X + 50, menuY = Y + 90;
    const int before = Colours(menuX, menuY, 110, 70);
    Run("xdotool mousemove " + std::to_string(X + 50) + " " + std::to_string(Y + 70) + " click 1");
    EXPECT_TRUE(WaitFor([&] { return Colours(menuX, menuY, 110, 70) > before + 8; }, 20)) << "no menu";
    // A click beside the menu closes it.
    Run("xdotool mousemove " + std::to_string(X + 400) + " " + std::to_string(Y + 300) + " click 1");
    EXPECT_TRUE(WaitFor([&] { return Colours(menuX, menuY, 110, 70) <= before + 2; }, 20)) << "the menu stays";

    // The caption has no close button (only minimise): the program ends through the window's
    // close request, as Alt+F4 or a task bar asks it.
    ASSERT_TRUE(SendToWindow("WM_PROTOCOLS", "WM_DELETE_WINDOW", CurrentTime, false));
    EXPECT_EQ(ExitCode(), 0) << "the close request did not end the program";
}

// A user's first road: "添加" -> "添加一个文件", the whole path of a clip typed into the open
// dialog and Enter; the job is added and its first picture
// shows in the preview panel, sized to it, and is drawn again when uncovered; the program still
// closes cleanly afterwards (a sanitizer's report would end it with another code).
TEST_F(ProgramUnderXvfb, AddsAFileTypedIntoTheOpenDialogAndPreviewsIt)
{
    if (!StartProgram()) {
        if (Skipped) X11_TEST_UNAVAILABLE() << "needs Xvfb, xdotool and ImageMagick (import, convert)";
        return;
    }
    if (FindTool("ffmpeg").empty() || FindTool("xwininfo").empty())
        X11_TEST_UNAVAILABLE() << "needs the ffmpeg command to make the clip and xwininfo to find the dialog";
    // An ASCII path: xdotool types other characters by remapping a spare key for each one, which
    // a busy program can read back as the next character.
    std::filesystem::create_directories(Home.path() + "/clips");
    const std::string clip = Home.path() + "/clips/clip 1.mp4";
    Output("ffmpeg -v error -y -f lavfi -i color=c=0x3366CC:size=320x240:rate=25:duration=4 -c:v mpeg4 -q:v 2 '" +
           clip + "'");
    ASSERT_TRUE(std::filesystem::exists(clip));
    auto click = [&](int AX, int AY) {
        Run("xdotool mousemove " + std::to_string(AX) + " " + std::to_string(AY) + " click 1");
    };
    // The colour of a screen pixel as 0xRRGGBB.
    auto pixel = [&](int AX, int AY) {
        const std::string t = Run("import -window root -crop 1x1+" + std::to_string(AX) + "+" + std::to_string(AY) +
                                  " -depth 8 txt:- | tail -1");
        const size_t hash = t.find('#');
        return hash == std::string::npos ? -1 : int(std::stoul(t.substr(hash + 1, 6), nullptr, 16));
    };
    auto near = [](int AColour, int AWant) {
        for (int shift : {0, 8, 16})
            if (std::abs(((AColour >> shift) & 255) - ((AWant >> shift) & 255)) > 16) return false;
        return AColour >= 0;
    };

    // "添加", then "添加一个文件" just under the 70-pixel button once its menu is there (a busy
    // machine may take a while).
    const int menuX = X + 50, menuY = Y + 140;
    const int before = Colours(menuX, menuY, 110, 40);
    click(X + 53, Y + 77);
    ASSERT_TRUE(WaitFor([&] { return Colours(menuX, menuY, 110, 40) > before + 8; }, 30)) << "no menu";
    click(X + 78, Y + 147);
    // The dialog's window line in the tree: `0x... "打开文件": (...)  WxH+X+Y  +X+Y`.
    auto dialogLine = [&] { return Run("xwininfo -root -tree | grep '\"打开文件\"' | head -1"); };
    std::string line;
    ASSERT_TRUE(WaitFor(
        [&] {
            line = dialogLine();
            return !line.empty();
        },
        20))
        << "no open dialog";
    int dw = 0, dh = 0, dx = 0, dy = 0;
    ASSERT_EQ(std::sscanf(line.c_str() + line.find(')') + 1, " %dx%d+%d+%d", &dw, &dh, &dx, &dy), 4) << line;
    // The keys go where the X server's focus is: wait until the dialog has it.
    const unsigned long dialog = std::stoul(line.substr(line.find("0x")), nullptr, 16);
    EXPECT_TRUE(WaitFor([&] { return std::strtoul(Run("xdotool getwindowfocus").c_str(), nullptr, 10) == dialog; }, 20))
        << "the dialog does not get the keyboard";
    click(dx + 218, dy + 262);  // the file name box
    Run("xdotool type --delay 10 '" + clip + "'");
    Run("xdotool key Return");
    EXPECT_TRUE(WaitFor([&] { return dialogLine().empty(); }, 20)) << "the dialog stays open";

    // The preview panel's middle and a point near its edge show the clip's colour (the panel is
    // 289 x 160; a 4:3 picture fills its height).
    const int panelX = X + 534, panelY = Y + 156;
    EXPECT_TRUE(WaitFor([&] { return near(pixel(panelX + 144, panelY + 80), 0x3366CC); }, 60))
        << std::hex << pixel(panelX + 144, panelY + 80);
    EXPECT_TRUE(near(pixel(panelX + 144, panelY + 5), 0x3366CC)) << std::hex << pixel(panelX + 144, panelY + 5);
    // Bars beside it: the picture is sized to the panel, not to the desktop.
    EXPECT_TRUE(near(pixel(panelX + 5, panelY + 80), 0x000000)) << std::hex << pixel(panelX + 5, panelY + 80);

    // The panel's native window uncovered (cleared with an exposure, as when a dialog above it
    // closes): the paused picture is drawn again.
    ::Display* dpy = XOpenDisplay(Server->Display().c_str());
    ASSERT_TRUE(dpy);
    Window root = 0, parent = 0, *children = nullptr, panel = 0;
    unsigned count = 0;
    if (XQueryTree(dpy, std::stoul(WindowId), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes wa;
            if (XGetWindowAttributes(dpy, children[i], &wa) && wa.width == 289 && wa.height == 160) panel = children[i];
        }
        if (children) XFree(children);
    }
    ASSERT_NE(panel, 0u) << "the preview panel has no native window";
    XClearArea(dpy, panel, 0, 0, 0, 0, True);
    XSync(dpy, False);
    XCloseDisplay(dpy);
    EXPECT_TRUE(WaitFor([&] { return near(pixel(panelX + 144, panelY + 80), 0x3366CC); }, 20))
        << "the uncovered picture stays empty";

    ASSERT_TRUE(SendToWindow("WM_PROTOCOLS", "WM_DELETE_WINDOW", CurrentTime, false));
    EXPECT_EQ(ExitCode(), 0) << "the program did not end cleanly";
}

// What a window manager sends the window when its title-bar close is clicked.
TEST_F(ProgramUnderXvfb, EndsWhenAskedToCloseItsWindow)
{
    if (!StartProgram()) {
        if (Skipped) X11_TEST_UNAVAILABLE() << "needs Xvfb, xdotool and ImageMagick (import, convert)";
        return;
    }
    ASSERT_TRUE(SendToWindow("WM_PROTOCOLS", "WM_DELETE_WINDOW", CurrentTime, false));
    EXPECT_EQ(ExitCode(), 0) << "the program did not end";
}

// A running window manager asked to close the window (as its title bar, a task bar or a pager
// asks it) closes it its own way, and the program ends.
TEST_F(ProgramUnderXvfb, EndsWhenTheWindowManagerClosesItsWindow)
{
    if (!StartProgram(true)) {
        if (Skipped) X11_TEST_UNAVAILABLE() << "needs Xvfb, xdotool, ImageMagick (import, convert) and openbox";
        return;
    }
    // Source 2: asked by a pager or task bar.
    ASSERT_TRUE(SendToWindow("_NET_CLOSE_WINDOW", nullptr, 2, true));
    EXPECT_EQ(ExitCode(), 0) << "the program did not end";
}

// SIGTERM and SIGINT end the program as closing its window does, with exit code 0: at rest, and
// while a box of the start is up (here: the output folder is a file).
TEST_F(ProgramUnderXvfb, EndsCleanlyOnSigtermAndSigint)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        if (!StartProgram()) {
            if (Skipped) X11_TEST_UNAVAILABLE() << "needs Xvfb, xdotool and ImageMagick (import, convert)";
            return;
        }
        ::kill(Pid, signal);
        EXPECT_EQ(ExitCode(60), 0) << "the program did not end cleanly";
    }
    std::ofstream(Home.path() + "/not a folder") << "x";
    OptionIni = "[OutPath]\nOutPath=" + Home.path() + "/not a folder\n";
    if (!StartProgram(false, "提示")) return;
    ::kill(Pid, SIGTERM);
    EXPECT_EQ(ExitCode(60), 0) << "the program did not end while its box was up";
}

// The main window has a single fixed border: under a window manager it cannot be resized,
// maximised or made full screen (its size hints hold its size, the manager offers no such
// action), and Tab and Shift+Tab walk it without harm.
TEST_F(ProgramUnderXvfb, KeepsItsFixedSizeAndTakesTabUnderAWindowManager)
{
    if (FindTool("wmctrl").empty() || FindTool("xprop").empty() || FindTool("xwininfo").empty()) {
        if (ToolsMissing("wmctrl, xprop and xwininfo")) GTEST_SKIP() << "needs wmctrl, xprop and xwininfo";
    }
    if (!StartProgram(true)) {
        if (Skipped && ToolsMissing("Xvfb, xdotool, ImageMagick and openbox"))
            GTEST_SKIP() << "needs Xvfb, xdotool, ImageMagick (import, convert) and openbox";
        return;
    }
    const Geometry before = GeometryOf(WindowId);
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == std::stoul(WindowId); }, 20)) << "no keyboard focus";
    std::string tabs;
    for (int i = 0; i < 40; ++i) tabs += " Tab";
    Run("xdotool key --delay 15" + tabs);
    std::string back;
    for (int i = 0; i < 40; ++i) back += " shift+Tab";
    Run("xdotool key --delay 15" + back);

    const std::string allowed = Run("xprop -id " + WindowId + " _NET_WM_ALLOWED_ACTIONS");
    EXPECT_NE(allowed.find("_NET_WM_ACTION_MOVE"), std::string::npos) << allowed;
    for (const char* action : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE"})
        EXPECT_EQ(allowed.find(action), std::string::npos) << allowed;
    const std::string hints = Run("xprop -id " + WindowId + " WM_NORMAL_HINTS");
    const std::string size = std::to_string(before.W) + " by " + std::to_string(before.H);
    EXPECT_NE(hints.find("minimum size: " + size), std::string::npos) << hints;
    EXPECT_NE(hints.find("maximum size: " + size), std::string::npos) << hints;
    Run("xdotool windowsize " + WindowId + " 400 300");
    Run("wmctrl -i -r " + WindowId + " -b add,maximized_vert,maximized_horz");
    // A move asked after them shows the manager has handled them all.
    Run("wmctrl -i -r " + WindowId + " -e 0," + std::to_string(before.X + 23) + "," + std::to_string(before.Y + 17) +
        ",-1,-1");
    EXPECT_TRUE(WaitFor([&] { return GeometryOf(WindowId).X == before.X + 23; }, 20)) << "the window does not move";
    const Geometry after = GeometryOf(WindowId);
    EXPECT_EQ(after.W, before.W);
    EXPECT_EQ(after.H, before.H);
    EXPECT_EQ(Run("xprop -id " + WindowId + " _NET_WM_STATE").find("MAXIMIZED"), std::string::npos);

    // A manager that offers full screen anyway is asked to take it back; a state asked after it
    // shows the manager has handled the request.
    Run("wmctrl -i -r " + WindowId + " -b add,fullscreen");
    Run("wmctrl -i -r " + WindowId + " -b add,above");
    EXPECT_TRUE(WaitFor([&] { return Run("xprop -id " + WindowId + " _NET_WM_STATE").find("ABOVE") != std::string::npos; }, 20));
    EXPECT_TRUE(WaitFor(
        [&] {
            const Geometry g = GeometryOf(WindowId);
            return Run("xprop -id " + WindowId + " _NET_WM_STATE").find("FULLSCREEN") == std::string::npos &&
                   g.W == before.W && g.H == before.H;
        },
        20))
        << "full screen stays: " << Run("xprop -id " + WindowId + " _NET_WM_STATE");

    // Still alive after the keys: it ends cleanly when asked to (a crash gives no exit code).
    ASSERT_TRUE(SendToWindow("WM_PROTOCOLS", "WM_DELETE_WINDOW", CurrentTime, false));
    EXPECT_EQ(ExitCode(), 0) << "the program did not live through Tab and Shift+Tab";
}

// Each dialog takes the keyboard when it opens, every time, and gives it back to the main window
// when it closes: "选择目录" (Enter picks the home folder), then the "提示" box that says the
// folder holds no media (Enter closes it), and "打开文件" (Esc cancels it), twenty times each.
TEST_F(ProgramUnderXvfb, DialogsTakeTheKeyboardEveryTimeUnderAWindowManager)
{
    if (FindTool("xwininfo").empty() && ToolsMissing("xwininfo")) GTEST_SKIP() << "needs xwininfo";
    if (!StartProgram(true)) {
        if (Skipped && ToolsMissing("Xvfb, xdotool, ImageMagick and openbox"))
            GTEST_SKIP() << "needs Xvfb, xdotool, ImageMagick (import, convert) and openbox";
        return;
    }
    const unsigned long main = std::stoul(WindowId);
    auto click = [&](int AX, int AY) {
        Run("xdotool mousemove " + std::to_string(AX) + " " + std::to_string(AY) + " click 1");
    };
    // Opens the "添加" menu and picks its item ARow (0: "添加一个文件", 2: "添加整个目录").
    // The menu opens just under the 70-pixel button; its rows are picked once it is drawn.
    auto addMenu = [&](int ARow) {
        const int before = Colours(X + 50, Y + 140, 110, 40);
        click(X + 53, Y + 77);
        EXPECT_TRUE(WaitFor([&] { return Colours(X + 50, Y + 140, 110, 40) > before + 8; }, 20)) << "no menu";
        click(X + 78, Y + 147 + 23 * ARow);
    };
    // The dialog ATitle shows and holds the keyboard; AKeys close it.
    auto takesKeyboard = [&](const std::string& ATitle, const char* AKeys, int ARound) {
        unsigned long dialog = 0;
        EXPECT_TRUE(WaitFor([&] { return (dialog = FindWindow(ATitle)) != 0; }, 20))
            << ATitle << " does not open, round " << ARound;
        if (!dialog) return false;
        EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == dialog; }, 20))
            << ATitle << " has no keyboard focus, round " << ARound;
        Run(std::string("xdotool key --delay 100 ") + AKeys);
        EXPECT_TRUE(WaitFor([&] { return FindWindow(ATitle) == 0; }, 20)) << AKeys << " leaves " << ATitle << " open";
        return !::testing::Test::HasFailure();
    };
    for (int round = 1; round <= 20; ++round) {
        addMenu(2);
        // Home goes to "桌面" at the tree's top, Down to the home folder under it, which holds no
        // media.
        if (!takesKeyboard("选择目录", "Home Down Return", round)) break;
        if (!takesKeyboard("提示", "Return", round)) break;
        EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == main; }, 20)) << "the focus is not back, round " << round;
        addMenu(0);
        if (!takesKeyboard("打开文件", "Escape", round)) break;
        EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == main; }, 20)) << "the focus is not back, round " << round;
        if (HasFailure()) break;
    }
    ASSERT_TRUE(SendToWindow("WM_PROTOCOLS", "WM_DELETE_WINDOW", CurrentTime, false));
    EXPECT_EQ(ExitCode(), 0);
}


}  // namespace
