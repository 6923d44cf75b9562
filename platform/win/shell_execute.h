// ShellExecuteW of the shell stand-in: the "open" verb hands a file, folder or address to the
// desktop's opener (xdg-open), started with an argument vector (never a shell line), detached
// from the program and reaped at once. The answer is above 32 when the opener was started,
// SE_ERR_NOASSOC when there is none (or for another verb), SE_ERR_FNF for an empty file.
// Tests replace the opener by a hook that records the calls.
#pragma once

#include <functional>
#include <string>

#include "platform/win/win_types.h"

constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show);

namespace vxwin {
// One call as the hook sees it (UTF-16 as the caller gave it; null strings arrive empty).
struct ShellExecuteCall {
    HWND Window = nullptr;
    std::wstring Verb, File, Parameters, Directory;
    int Show = 0;
};
// While set, ShellExecuteW calls the hook instead of starting anything and answers its result.
using ShellExecuteHook = std::function<int(const ShellExecuteCall&)>;
void SetShellExecuteHook(ShellExecuteHook Hook);
// The opener's path as found on PATH, "" when it is not installed.
std::string ShellOpenerPath();
}  // namespace vxwin
