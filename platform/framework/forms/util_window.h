// Hidden message windows bound to a method: timers and the application object receive their
// messages through one (AllocateHWnd), as they have no control of their own.
#pragma once

#include "platform/framework/controls/control_types.h"

HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
