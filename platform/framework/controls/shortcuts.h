// Shortcut keys (a key with Shift, Ctrl and Alt as one TShortCut, and its text "Ctrl+S") and the
// accelerator character of captions ("&File"). Menus, buttons, labels and tabs use them.
#pragma once

#include "platform/framework/controls/control_types.h"

// Shortcut helpers.
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
String ShortCutToText(TShortCut ShortCut);
TShortCut TextToShortCut(const String& Text);
// Caption helpers: the caption without "&", the accelerator character (0 when none), and
// whether a character is the caption's accelerator.
String StripHotkey(const String& Text);
wchar_t GetHotkey(const String& Text);
bool IsAccel(WORD VK, const String& Str);
