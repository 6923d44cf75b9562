// Finding the preview windows of converting tasks (headless or real) in the tests.
#pragma once

#include <string>
#include <vector>

#include "engine/preview/preview_window.h"
#include "platform/win/win_api.h"

namespace engine_test {

// The preview windows that exist now.
inline std::vector<HWND> PreviewWindows()
{
    std::vector<HWND> found;
    EnumThreadWindows([&found](HWND AWnd) {
        wchar_t name[64] = {};
        GetClassNameW(AWnd, name, 64);
        if (std::wstring(name) == PreviewWindowClassName) found.push_back(AWnd);
        return TRUE;
    });
    return found;
}

}  // namespace engine_test
