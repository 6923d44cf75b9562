// The boxes' tests: the skinned-control fixture with the pointer and keys of a user (any mouse
// button, at a control's client point or anywhere on the screen), the system colours as shown
// and the built-in button colours.
#pragma once

#include <string>
#include <vector>

#include "skin/boxes/box_buttons.h"
#include "tests/skin/support/skin_control_fixture.h"

// 0xRRGGBB of a colour as shown (system colours resolved).
inline uint32_t Shown(TColor C) { return Rgb(static_cast<uint32_t>(ColorToRGB(C))); }

struct BoxFixture : SkinControlFixture {
    static void ClickAt(TControl* C, int X, int Y, int Button = 0)
    {
        Press(C, X, Y, Button);
        Release(C, X, Y, Button);
    }
    static void Key(int Vk, unsigned Mods = kNoMods, const std::wstring& Text = L"")
    {
        PressKey(Vk, Mods, Text);
        Pump();
    }
    static void Type(const std::wstring& Text)
    {
        vxwin::InjectText(Text);
        Pump();
    }
};
