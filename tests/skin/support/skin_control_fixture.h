// A fixture for skinned-control tests: a borderless form at the screen's top-left on the
// application, a skin model owned by it, the message loop, and a control's composed pixels as
// ASCII art, and the pointer of a user at a control's client points. Controls are made on Form
// and freed with it after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_data.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/application_fixture.h"
#include "tests/support/pixel_art.h"
#include "tests/support/user_input.h"

// While it lives, reading the time does not move the headless test clock (each GetTickCount
// otherwise steps it by 1 ms): a timer test that counts exact steps sees only the time Wait
// advances, however often the code under test reads the clock.
struct StillTestClock {
    StillTestClock() { vxwin::SetClockAutoStep(0); }
    ~StillTestClock() { vxwin::SetClockAutoStep(1); }
    StillTestClock(const StillTestClock&) = delete;
    StillTestClock& operator=(const StillTestClock&) = delete;
};

struct SkinControlFixture : ApplicationFixture {
    TForm* Form = nullptr;
    TbsSkinData* Model = nullptr;

    void SetUp() override
    {
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 120);
        Form->SetColor(clWhite);
        Form->AfterConstruction();
        Model = new TbsSkinData(Form);
    }

    void ShowForm()
    {
        Form->Show();
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    // Advances the test clock by Ms in steps of Step, running the loop after each.
    static void Wait(unsigned Ms, unsigned Step = 10)
    {
        for (unsigned t = 0; t < Ms; t += Step) {
            vxwin::AdvanceClock(Step);
            Pump();
        }
    }

    // The control's pixels as shown (0xAARRGGBB rows) and its size.
    static std::vector<uint32_t> Pixels(TWinControl* C, int& W, int& H)
    {
        return vxwin::WindowPixels(C->Handle(), &W, &H);
    }
    // 0xRRGGBB of one pixel of a windowed control as shown.
    static uint32_t PixelAt(TWinControl* C, int X, int Y)
    {
        int w = 0, h = 0;
        auto px = Pixels(C, w, h);
        if (X < 0 || Y < 0 || X >= w || Y >= h) return 0xDEADBEEF;
        return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF;
    }
    // The control as ASCII art in the synthetic skin's legend.
    static std::string Art(TWinControl* C, const PixelLegend& Extra = {})
    {
        int w = 0, h = 0;
        auto px = Pixels(C, w, h);
        return PixelArt(
            w, h, [&](int x, int y) { return px[static_cast<size_t>(y * w + x)]; }, skintest::SkinLegend(Extra));
    }
    // A screen point of the control.
    static TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }

    // The pointer moved to the client point (X, Y) of C, and a mouse button (0 left, 1 right,
    // 2 middle) pressed or released there; each followed by the loop.
    static void MoveTo(TControl* C, int X, int Y)
    {
        const TPoint p = Screen(C, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
    }
    static void Press(TControl* C, int X, int Y, int Button = 0) { MouseButton(C, X, Y, Button, true); }
    static void Release(TControl* C, int X, int Y, int Button = 0) { MouseButton(C, X, Y, Button, false); }

private:
    static void MouseButton(TControl* C, int X, int Y, int Button, bool Down)
    {
        const TPoint p = Screen(C, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        vxwin::InjectMouseButton(Button, Down, p.X, p.Y);
        Pump();
    }
};
