// Input: raw mouse and key events become window messages (hit testing through WM_NCHITTEST, client
// or non-client messages, double clicks, capture, mouse activation, WM_PARENTNOTIFY, leave
// tracking, key and character messages). Internal to platform/win; called by the message queue.
#pragma once

#include "platform/win/message_queue.h"

namespace vxwin {

// Turns one raw event into the message it produces (sending the synchronous messages on the way);
// false when it produces none.
bool TranslateRawInput(const RawInput& raw, MSG& out);
// The window under a screen point as mouse input finds it, with its hit code.
HWND HitTestPoint(POINT screen, LRESULT* hit);

}  // namespace vxwin
