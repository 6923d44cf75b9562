// A skinned main form on a real X11 desktop, once without a window manager and once under
// openbox beside a 30-pixel panel: xdotool drags its caption (the form follows, WM_MOVE never
// goes back) and its corner (new size, the corner piece at the new corner on screen, the shape
// cut there too), it maximizes to the work area (a pixel inside the screen without a window
// manager), minimizes off the screen and comes back with Application.Restore. Skipped with a
// message where Xvfb, xdotool, import or openbox is missing.
#include <gtest/gtest.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"

namespace {

using skintest::FrameSkin;

bool PumpUntil(const std::function<bool()>& fn, int ms)
{
    return X11Desktop::WaitFor(
        [&] {
            Application->ProcessMessages();
            return fn();
        },
        ms);
}

void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// A dock along the top of the screen that reserves 30 pixels (the window manager's work area
// leaves them out).
Window AddPanel(Display* d)
{
    const Window root = DefaultRootWindow(d);
    Window panel = XCreateSimpleWindow(d, root, 0, 0, 640, 30, 0, 0, 0x404040);
    Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(d, panel, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
    long strut[12] = {0, 0, 30, 0, 0, 0, 0, 0, 0, 639, 0, 0};
    XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(strut), 12);
    XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(strut), 4);
    XMapWindow(d, panel);
    XSync(d, False);
    return panel;
}

void RunSkinnedForm(bool WindowManager)
{
    X11Desktop desk(X11Desktop::Options{WindowManager, false});
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing";
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));
    struct BackToHeadless {
        ~BackToHeadless() { vxwin::UseHeadlessBackend(); }
    } backToHeadless;
    if (WindowManager) {
        // A window manager that has only just started may take the dock before it reads struts:
        // the dock is mapped again until the work area leaves it out.
        const Window panel = AddPanel(desk.Other());
        auto reserved = [] {
            RECT wa{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
            return wa.top == 30;
        };
        for (int i = 0; i < 5 && !PumpUntil(reserved, 1000); ++i) {
            XUnmapWindow(desk.Other(), panel);
            XSync(desk.Other(), False);
            PumpFor(100);
            XMapWindow(desk.Other(), panel);
            XSync(desk.Other(), False);
        }
        ASSERT_TRUE(reserved()) << "the window manager leaves the panel out of the work area";
    }

    TForm* f = nullptr;
    Application->CreateForm(f);
    struct FreeForm {
        TForm* F;
        ~FreeForm() { F->Free(); }
    } freeForm{f};
    f->SetBounds(100, 100, 300, 200);
    auto* model = new TbsSkinData(f);
    auto* sf = new TbsSkinForm(f);
    skintest::SyntheticSkin skin;
    FrameSkin fs;
    fs.Mask = true;
    fs.Caption = true;
    skintest::AddFrame(skin, fs);
    skin.LoadInto(model);
    sf->SetSkinData(model);
    std::vector<int> moves;
    TWndMethod inner = f->WindowProc();
    f->SetWindowProc([&](TMessage& M) {
        if (M.Msg == WM_MOVE) moves.push_back(GET_X_LPARAM(M.LParam));
        inner(M);
    });
    f->Show();
    const Window xid = vxwin::NativeWindowId(f->Handle());
    auto mapState = [&] {
        XWindowAttributes a{};
        XGetWindowAttributes(desk.Other(), xid, &a);
        return a.map_state;
    };
    ASSERT_TRUE(PumpUntil([&] { return mapState() == IsViewable; }, 5000));
    PumpFor(300);

    // The caption: pressed, dragged in steps, released; the form follows and never goes back.
    const int left = f->Left(), top = f->Top();
    moves.clear();
    auto at = [](int X, int Y) { return std::vector<std::string>{"mousemove", std::to_string(X), std::to_string(Y)}; };
    std::vector<std::string> drag = at(left + 60, top + 12);
    drag.insert(drag.end(), {"mousedown", "1"});
    for (int i = 1; i <= 6; ++i) {
        auto m = at(left + 60 + 10 * i, top + 12 + 5 * i);
        drag.insert(drag.end(), m.begin(), m.end());
        drag.insert(drag.end(), {"sleep", "0.05"});
    }
    drag.insert(drag.end(), {"mouseup", "1"});
    ASSERT_EQ(desk.Xdotool(drag), 0);
    EXPECT_TRUE(PumpUntil([&] { return f->Left() == left + 60 && f->Top() == top + 30; }, 5000))
        << f->Left() << "," << f->Top();
    PumpFor(400);
    EXPECT_EQ(f->Left(), left + 60) << "no late echo pulled it back";
    EXPECT_FALSE(moves.empty());
    EXPECT_TRUE(std::is_sorted(moves.begin(), moves.end())) << "WM_MOVE never went back";

    // The bottom-right corner, beside the mask's cut corner.
    const int cx = f->Left() + 296, cy = f->Top() + 190;
    std::vector<std::string> size = at(cx, cy);
    size.insert(size.end(), {"mousedown", "1"});
    for (int i = 1; i <= 4; ++i) {
        auto m = at(cx + 15 * i, cy + 10 * i);
        size.insert(size.end(), m.begin(), m.end());
        size.insert(size.end(), {"sleep", "0.05"});
    }
    size.insert(size.end(), {"mouseup", "1"});
    ASSERT_EQ(desk.Xdotool(size), 0);
    EXPECT_TRUE(PumpUntil([&] { return f->Width() == 360 && f->Height() == 240; }, 5000))
        << f->Width() << "x" << f->Height();
    PumpFor(500);
    {
        auto shot = desk.Screenshot();
        ASSERT_TRUE(shot->Ok());
        const int r = f->Left() + f->Width(), b = f->Top() + f->Height();
        EXPECT_EQ(shot->At(r - 10, b - 3), FrameSkin::kCornerBR) << "the corner piece at the new corner";
        EXPECT_NE(shot->At(r - 2, b - 2), FrameSkin::kCornerBR) << "the shape's cut corner moved with it";
    }

    // Maximized: the work area, or a pixel inside the screen when nothing reserves any of it.
    sf->SetWindowState(wsMaximized);
    PumpFor(300);
    const TRect expected = WindowManager ? Rect(0, 30, 640, 480) : Rect(1, 1, 639, 479);
    EXPECT_EQ(Bounds(f->Left(), f->Top(), f->Width(), f->Height()), expected);
    int rx = 0, ry = 0;
    Window child;
    XTranslateCoordinates(desk.Other(), xid, DefaultRootWindow(desk.Other()), 0, 0, &rx, &ry, &child);
    EXPECT_EQ(rx, expected.Left) << "where the X window is";
    EXPECT_EQ(ry, expected.Top);
    sf->SetWindowState(wsNormal);
    PumpFor(200);

    // The main form minimizes through the application: off the screen, back with Restore.
    sf->SetWindowState(wsMinimized);
    EXPECT_TRUE(PumpUntil([&] { return mapState() != IsViewable; }, 5000));
    Application->Restore();
    EXPECT_TRUE(PumpUntil([&] { return mapState() == IsViewable; }, 5000));
}

}  // namespace

TEST(SkinFormX11, FrameMovesSizesMaximizesAndMinimizesWithoutAWindowManager) { RunSkinnedForm(false); }

TEST(SkinFormX11, FrameMovesSizesMaximizesAndMinimizesUnderAWindowManager) { RunSkinnedForm(true); }
