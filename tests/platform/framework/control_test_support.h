// Small controls and helpers for the control, form and menu tests: boxes that paint one colour,
// a borderless form, a pixel of a form, and a pump through the application's loop. The fixture
// base, pixel pictures and input come from tests/support.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/support/application_fixture.h"
#include "tests/support/pixel_art.h"
#include "tests/support/user_input.h"

// A windowless control that fills itself with its colour.
class TColorBox : public TGraphicControl {
public:
    explicit TColorBox(TComponent* AOwner, TColor c = clBlue) : TGraphicControl(AOwner) { SetColor(c); }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A windowed control that fills itself with its colour.
class TColorPanel : public TCustomControl {
public:
    explicit TColorPanel(TComponent* AOwner, TColor c = clWhite) : TCustomControl(AOwner)
    {
        SetColor(c);
        FControlStyle.Include(csAcceptsControls);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A borderless form at a fixed screen place, so client and screen points are easy to relate.
inline TForm* MakeForm(int x, int y, int w, int h, TColor color = clRed)
{
    TForm* f = new TForm(Application);
    f->SetBorderStyle(bsNone);
    f->SetBounds(x, y, w, h);
    f->SetColor(color);
    f->AfterConstruction();
    return f;
}

inline void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

// RGB (0xRRGGBB) of a pixel of a top-level window.
inline unsigned PixelOf(TWinControl* top, int x, int y)
{
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(top->Handle(), &w, &h);
    if (x < 0 || y < 0 || x >= w || y >= h) return 0xDEADBEEF;
    return px[static_cast<size_t>(y) * w + x] & 0xFFFFFF;
}

// Text typed into whatever has the focus, then the application's loop.
inline void Type(const std::wstring& text)
{
    vxwin::InjectText(text);
    Pump();
}

// One key press (modifiers held around it), then the application's loop.
inline void Key(int vk, unsigned mods = kNoMods)
{
    PressKey(vk, mods);
    Pump();
}
