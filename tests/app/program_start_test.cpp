// The built program itself: without a display it says how to run it and fails; under Xvfb it
// opens its window (a screenshot is saved) and its "添加" button opens the add menu. Skipped with a
// message where Xvfb, xdotool or ImageMagick is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tests/support/xvfb.h"

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
    EXPECT_NE(out.find("xvfb-run"), std::string::npos) << out;
    EXPECT_NE(out.find("rc=2"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << "one line, then the exit code";
}

class ProgramUnderXvfb : public ::testing::Test {
protected:
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
    std::unique_ptr<XvfbServer> Server;
};

TEST_F(ProgramUnderXvfb, OpensItsWindowAndTheAddMenu)
{
    if (FindTool("Xvfb").empty() || FindTool("xdotool").empty() || FindTool("import").empty() ||
        FindTool("convert").empty())
        GTEST_SKIP() << "needs Xvfb, xdotool and ImageMagick (import, convert)";
    Server = std::make_unique<XvfbServer>("1024x768x24");
    ASSERT_FALSE(Server->Display().empty());
    TempDir home;
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.path() + "/.config").c_str(), 1);
    // The test launcher asks for the headless back end; the program is to use the server.
    ::unsetenv("VX_HEADLESS");
    const pid_t pid = SpawnWithDisplay({VX_PROGRAM_FILE}, Server->Display(), true);
    ASSERT_GT(pid, 0);

    std::string window;
    ASSERT_TRUE(WaitFor(
        [&] {
            window = Run("xdotool search --onlyvisible --name 'VexmoraMKV' 2>/dev/null | head -1");
            return !window.empty();
        },
        30))
        << "no window";
    window.erase(window.find_last_not_of("\n ") + 1);
    // Its position on the screen.
    int x = 0, y = 0, w = 0;
    ASSERT_TRUE(WaitFor([&] {
        const std::string geo = Run("xdotool getwindowgeometry --shell " + window);
        std::sscanf(geo.c_str() + geo.find("X="), "X=%d", &x);
        std::sscanf(geo.c_str() + geo.find("Y="), "Y=%d", &y);
        std::sscanf(geo.c_str() + geo.find("WIDTH="), "WIDTH=%d", &w);
        return w >= 827;
    }));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const char* out = std::getenv("TEST_OUTPUT_DIR");
    const std::string shot = std::string(out ? out : ".") + "/vexmora_main_window.png";
    Run("import -window root '" + shot + "'");

    // "添加" lies at the tool bar's left; its menu opens below it over the empty list.
    const int menuX = x + 50, menuY = y + 90;
    const int before = Colours(menuX, menuY, 110, 70);
    Run("xdotool mousemove " + std::to_string(x + 50) + " " + std::to_string(y + 70) + " click 1");
    EXPECT_TRUE(WaitFor([&] { return Colours(menuX, menuY, 110, 70) > before + 8; }, 20)) << "no menu";
    // A click beside the menu closes it.
    Run("xdotool mousemove " + std::to_string(x + 400) + " " + std::to_string(y + 300) + " click 1");
    EXPECT_TRUE(WaitFor([&] { return Colours(menuX, menuY, 110, 70) <= before + 2; }, 20)) << "the menu stays";

    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

}  // namespace
