// Test and tool access to the window layer: the back end in use, scripted input, the clock, and
// the composed pixels of a window. Used by tests (headless and under Xvfb) and by the bench.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

namespace vxwin {

const char* BackendName();
// Starts the X11 back end on the given display (tests under Xvfb); false when it cannot connect.
bool UseX11Backend(const std::string& display);
void UseHeadlessBackend();

// Scripted input, in screen coordinates; it is turned into messages by the UI thread's message
// loop, including nested loops (move/size, modal dialogs).
void InjectMouseMove(int x, int y);
void InjectMouseButton(int button, bool down, int x, int y);  // 0 left, 1 right, 2 middle
void InjectMouseWheel(int delta, int x, int y);
void InjectKey(int vk, bool down, const std::wstring& text = L"");
void InjectText(const std::wstring& text);

// How many times MessageBeep has sounded since the program started.
unsigned BeepCount();

// The test clock (headless back end).
void AdvanceClock(unsigned ms);
void SetClockAutoStep(unsigned ms);

// The headless back end's screen and work area (1280x1024 and 1280x984 until set): every
// top-level window hears WM_DISPLAYCHANGE. False under another back end.
bool SetHeadlessScreen(const RECT& Screen, const RECT& WorkArea);

// Waits until the display has shown everything sent to it (X11; nothing to wait for headless).
void SyncDisplay();

// Runs the message loop until nothing is left to do (posted, input, paint, due timers).
void PumpMessages();

// How many times the calling thread's message loop has gone to sleep waiting for work: a loop
// with nothing to do sleeps once and stays asleep until a message, input or a due timer wakes it.
unsigned long long MessageLoopSleeps();

// The pixels of a top-level window as shown: its composed surface (or layered content), 0xAARRGGBB
// top-down rows; width and height receive the size. For a child window, its part of the top-level
// surface (what it shows where it is not covered). Empty for an unknown window.
std::vector<std::uint32_t> WindowPixels(HWND hwnd, int* width, int* height);
// Writes them as a PNG file; false on failure.
bool SaveWindowPng(HWND hwnd, const std::string& path);
// The font family the text module uses for a Windows face name ("Tahoma" -> "DejaVu Sans").
std::string ResolvedFontFamily(const wchar_t* face);

// A native X11 window id for a window another library draws into (0 in the headless back end);
// for a top-level window, its own X window.
unsigned long NativeWindowId(HWND hwnd);

}  // namespace vxwin
