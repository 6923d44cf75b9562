// Input as a user makes it, injected through the window layer's headless back end: clicks, drags
// and key presses with modifiers held. Nothing is pumped: the test runs its message loop after.
#pragma once

#include <string>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"

enum TestKeyMods : unsigned { kNoMods = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

// A press and release of the button (0 left, 1 right, 2 middle) at a screen point.
inline void Click(int x, int y, int button = 0)
{
    vxwin::InjectMouseMove(x, y);
    vxwin::InjectMouseButton(button, true, x, y);
    vxwin::InjectMouseButton(button, false, x, y);
}

// The left button pressed at one screen point, moved to another and released there.
inline void Drag(int fromX, int fromY, int toX, int toY)
{
    vxwin::InjectMouseButton(0, true, fromX, fromY);
    vxwin::InjectMouseMove(toX, toY);
    vxwin::InjectMouseButton(0, false, toX, toY);
}

// One press of a key with the modifiers held around it; text is what the key types, if anything
// (Alt+N: PressKey('N', kAlt, L"n")).
inline void PressKey(int vk, unsigned mods = kNoMods, const std::wstring& text = L"")
{
    if (mods & kShift) vxwin::InjectKey(VK_SHIFT, true);
    if (mods & kCtrl) vxwin::InjectKey(VK_CONTROL, true);
    if (mods & kAlt) vxwin::InjectKey(VK_MENU, true);
    vxwin::InjectKey(vk, true, text);
    vxwin::InjectKey(vk, false);
    if (mods & kAlt) vxwin::InjectKey(VK_MENU, false);
    if (mods & kCtrl) vxwin::InjectKey(VK_CONTROL, false);
    if (mods & kShift) vxwin::InjectKey(VK_SHIFT, false);
}
