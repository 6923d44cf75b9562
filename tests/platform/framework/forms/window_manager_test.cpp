// The application under a real window manager (openbox on Xvfb): minimising and restoring the
// main form by the window manager (its task bar or keys) raise the application's OnMinimize and
// OnRestore and the form's minimised state, as the form's own buttons do. Skipped with a message
// where Xvfb, openbox or xdotool is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"

namespace {

bool PumpUntil(const std::function<bool()>& fn, int ms)
{
    return X11Desktop::WaitFor(
        [&] {
            Application->ProcessMessages();
            return fn();
        },
        ms);
}

}  // namespace

TEST(WindowManager, MinimiseAndRestoreByTheWindowManagerRaiseTheApplicationsEvents)
{
    X11Desktop desk(X11Desktop::Options{true, false});
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing";
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetBounds(40, 40, 300, 200);
    f->Show();
    int minimized = 0, restored = 0;
    Application->OnMinimize = [&](TObject*) { ++minimized; };
    Application->OnRestore = [&](TObject*) { ++restored; };
    std::string xid = std::to_string(vxwin::NativeWindowId(f->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(f->Handle()) != FALSE; }, 1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    ASSERT_EQ(desk.Xdotool({"windowminimize", xid}), 0);
    EXPECT_TRUE(PumpUntil([&] { return minimized == 1; }, 3000));
    EXPECT_EQ(f->WindowState(), wsMinimized);
    EXPECT_TRUE(IsIconic(f->Handle()));

    ASSERT_EQ(desk.Xdotool({"windowactivate", xid}), 0);
    EXPECT_TRUE(PumpUntil([&] { return restored == 1; }, 3000));
    EXPECT_EQ(f->WindowState(), wsNormal);
    EXPECT_FALSE(IsIconic(f->Handle()));
    EXPECT_EQ(minimized, 1);

    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
    f->Free();
    vxwin::UseHeadlessBackend();
}

// The same without a window manager: the main form's minimise and restore commands go through
// the application, and a restored form is no longer in the minimised state.
TEST(WindowManager, MainFormsMinimiseAndRestoreCommandsGoThroughTheApplication)
{
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetBounds(40, 40, 300, 200);
    f->Show();
    int minimized = 0, restored = 0;
    Application->OnMinimize = [&](TObject*) { ++minimized; };
    Application->OnRestore = [&](TObject*) { ++restored; };
    SendMessageW(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimized, 1);
    EXPECT_EQ(f->WindowState(), wsMinimized);
    SendMessageW(f->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(f->WindowState(), wsNormal);
    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
    f->Free();
}

// The application window hears the minimise (WM_SIZE, SIZE_MINIMIZED) before the main form is
// iconified; a hook there that hides the main form (minimise to the tray) keeps it hidden.
TEST(WindowManager, ApplicationWindowHearsTheMinimiseFirst)
{
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetBounds(40, 40, 300, 200);
    f->Show();
    static WNDPROC oldProc = nullptr;
    static std::vector<bool> iconicAtSize;
    static bool hide = false;
    static HWND mainWnd = nullptr;
    iconicAtSize.clear();
    mainWnd = f->Handle();
    WNDPROC hook = MakeObjectInstance([](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_SIZE && wp == SIZE_MINIMIZED) {
            iconicAtSize.push_back(IsIconic(mainWnd) != FALSE);
            if (hide) ShowWindow(mainWnd, SW_HIDE);
        }
        return CallWindowProcW(oldProc, h, msg, wp, lp);
    });
    HWND app = Application->Handle();
    oldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(app, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));

    hide = false;
    Application->Minimize();
    ASSERT_EQ(iconicAtSize, std::vector<bool>{false});
    EXPECT_TRUE(IsIconic(f->Handle()));
    SendMessageW(f->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(f->Handle()));

    hide = true;
    Application->Minimize();
    EXPECT_EQ(iconicAtSize.size(), 2u);
    EXPECT_FALSE(IsIconic(f->Handle()));
    EXPECT_FALSE(IsWindowVisible(f->Handle()));

    SetWindowLongPtrW(app, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
    FreeObjectInstance(hook);
    f->Free();
}
