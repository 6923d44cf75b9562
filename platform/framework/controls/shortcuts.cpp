#include "platform/framework/controls/shortcuts.h"

#include <cwctype>

#include "platform/framework/core/strings.h"

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    if ((Key & 0xFF00) != 0) return 0;
    TShortCut r = Key & 0xFF;
    if (Shift.Contains(ssShift)) r |= scShift;
    if (Shift.Contains(ssCtrl)) r |= scCtrl;
    if (Shift.Contains(ssAlt)) r |= scAlt;
    return r;
}

void ShortCutToKey(TShortCut sc, WORD& Key, TShiftState& Shift)
{
    Key = sc & 0xFF;
    Shift = TShiftState{};
    if (sc & scShift) Shift.Include(ssShift);
    if (sc & scCtrl) Shift.Include(ssCtrl);
    if (sc & scAlt) Shift.Include(ssAlt);
}

namespace {
String KeyName(WORD key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F1 + 23) return L"F" + IntToStr(key - VK_F1 + 1);
    if (key >= 0x60 && key <= 0x69) return L"Num " + IntToStr(key - 0x60);
    switch (key) {
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_END: return L"End";
    case VK_HOME: return L"Home";
    case VK_LEFT: return L"Left";
    case VK_UP: return L"Up";
    case VK_RIGHT: return L"Right";
    case VK_DOWN: return L"Down";
    case VK_INSERT: return L"Ins";
    case VK_DELETE: return L"Del";
    default: return L"";
    }
}
}  // namespace

String ShortCutToText(TShortCut sc)
{
    String name = KeyName(sc & 0xFF);
    if (name.empty()) return L"";
    String r;
    if (sc & scShift) r += L"Shift+";
    if (sc & scCtrl) r += L"Ctrl+";
    if (sc & scAlt) r += L"Alt+";
    return r + name;
}

TShortCut TextToShortCut(const String& Text)
{
    String t = Text;
    TShortCut mods = 0;
    for (;;) {
        if (StartsText(L"Shift+", t)) {
            mods |= scShift;
            t = t.substr(6);
        } else if (StartsText(L"Ctrl+", t)) {
            mods |= scCtrl;
            t = t.substr(5);
        } else if (StartsText(L"Alt+", t)) {
            mods |= scAlt;
            t = t.substr(4);
        } else {
            break;
        }
    }
    for (WORD k = 8; k < 255; ++k)
        if (!KeyName(k).empty() && SameText(KeyName(k), t)) return mods | k;
    return 0;
}

String StripHotkey(const String& Text)
{
    String r;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == L'&') {
            if (i + 1 < Text.size() && Text[i + 1] == L'&') {
                r += L'&';
                ++i;
            }
            continue;
        }
        r += Text[i];
    }
    return r;
}

wchar_t GetHotkey(const String& Text)
{
    for (size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != L'&') continue;
        if (Text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return Text[i + 1];
    }
    return 0;
}

bool IsAccel(WORD VK, const String& Str)
{
    wchar_t h = GetHotkey(Str);
    return h && towupper(h) == towupper(static_cast<wchar_t>(VK));
}
