// The preview panel on an X server of the test's own, where the player draws into the panel's
// native window: a picture of another shape leaves nothing of the one before it around itself,
// and clearing the job list leaves the panel black as it was before any preview, not on the last
// picture. Skipped with a message where Xvfb is missing (failed instead when CI is set).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/framework/controls/panel.h"
#include "platform/win/headless_api.h"
#include "skin/controls/skin_list_view.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/xvfb.h"

// Xlib last: its macros would rewrite names of the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class PreviewOnX11 : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        for (const char* name : {"DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"})
            if (const char* value = std::getenv(name)) FOldEnv.emplace_back(name, std::string(value));
            else FOldEnv.emplace_back(name, std::nullopt);
    }
    void TearDown() override
    {
        if (Main) Main->FFPlayer->Stop(true);
        MainWindowFixture::TearDown();
        vxwin::UseHeadlessBackend();
        if (Other) XCloseDisplay(Other);
        for (const auto& [name, value] : FOldEnv)
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
    }

    // The main window on a server of the test's own, large enough to show all of it (pixels of a
    // window are read only where it is on the screen); false without one.
    bool StartOnServer()
    {
        if (FindTool("Xvfb").empty()) return false;
        Server = std::make_unique<XvfbServer>("1024x768x24");
        if (Server->Display().empty()) return false;
        Other = XOpenDisplay(Server->Display().c_str());
        if (!Other || !vxwin::UseX11Backend(Server->Display())) return false;
        ::setenv("DISPLAY", Server->Display().c_str(), 1);
        ::unsetenv("SDL_VIDEODRIVER");
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        Start();
        Main->Show();
        Pump();
        return Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV");
    }

    // The pixels of the preview panel's native window as another program sees them, 0xRRGGBB.
    std::vector<uint32_t> Panel(int& AWidth, int& AHeight)
    {
        AWidth = Main->Panel6->Width();
        AHeight = Main->Panel6->Height();
        std::vector<uint32_t> pixels;
        const unsigned long window = vxwin::NativeWindowId(Main->Panel6->Handle());
        XImage* image = XGetImage(Other, window, 0, 0, unsigned(AWidth), unsigned(AHeight), AllPlanes, ZPixmap);
        if (!image) return pixels;
        for (int y = 0; y < AHeight; ++y)
            for (int x = 0; x < AWidth; ++x) pixels.push_back(uint32_t(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return pixels;
    }

    // How many pixels of the panel's rows [ATop, ABottom) are not black.
    int Lit(int ATop, int ABottom)
    {
        int w = 0, h = 0;
        const std::vector<uint32_t> pixels = Panel(w, h);
        if (pixels.empty()) return -1;
        int lit = 0;
        for (int y = std::max(ATop, 0); y < std::min(ABottom, h); ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t p = pixels[size_t(y) * size_t(w) + size_t(x)];
                if (((p >> 16) & 255) > 24 || ((p >> 8) & 255) > 24 || (p & 255) > 24) ++lit;
            }
        return lit;
    }

    // Selects a row and waits until its picture is on the panel.
    void Preview(int ARow, const std::string& AClip)
    {
        Main->lvFiles->SetSelected(Main->lvFiles->Items()->Item(ARow));
        ASSERT_TRUE(WaitFor([&] {
            return Main->T_Movie_PLayer_FileName == Utf8ToString(AClip) && Main->FDuration > 0 &&
                   Lit(90, 100) > 200;
        })) << AClip;
    }

    std::unique_ptr<XvfbServer> Server;
    ::Display* Other = nullptr;  // the test's own connection, as another program looks

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FOldEnv;
};

TEST_F(PreviewOnX11, AnotherShapeAndAClearedListLeaveNoOldPicture)
{
    if (!StartOnServer()) {
        if (std::getenv("CI")) FAIL() << "no working Xvfb";
        GTEST_SKIP() << "Xvfb is missing or does not start: the preview's X11 test is skipped";
    }
    const std::string wide = Clip(Root.file("wide.mkv"), 320, 120, 0);
    const std::string square = Clip(Root.file("square.mkv"), 320, 240, 0);
    ASSERT_EQ(Main->AddJob(Utf8ToString(square)), ajAdded);
    ASSERT_EQ(Main->AddJob(Utf8ToString(wide)), ajAdded);
    // The panel is 289 x 160: a 4:3 picture fills its height, an 8:3 one (289 x 108) leaves
    // bands of 26 rows above and below.
    ASSERT_EQ(Main->Panel6->Width(), 289);
    ASSERT_EQ(Main->Panel6->Height(), 160);
    Preview(0, square);
    ASSERT_GT(Lit(0, 12), 1000) << "the 4:3 picture reaches the top rows";

    Preview(1, wide);
    EXPECT_TRUE(WaitFor([&] { return Lit(0, 12) == 0 && Lit(148, 160) == 0; }))
        << Lit(0, 12) << " lit pixels above the wide picture, " << Lit(148, 160) << " below";
    EXPECT_GT(Lit(30, 130), 20000) << "the picture itself shows";

    // "清空": the player stops and the panel is black again.
    Main->bsSkinButton8Click(nullptr);
    EXPECT_TRUE(WaitFor([&] { return Lit(0, 160) == 0; })) << Lit(0, 160) << " pixels of the last picture stay";
}

}  // namespace
