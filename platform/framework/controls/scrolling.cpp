#include "platform/framework/controls/scrolling.h"

#include "platform/win/win_api.h"

bool ScrollBarTarget(WPARAM wParam, int pos, int line, int page, int last, int& target)
{
    switch (LOWORD(wParam)) {
    case SB_LINEUP: target = pos - line; return true;
    case SB_LINEDOWN: target = pos + line; return true;
    case SB_PAGEUP: target = pos - page; return true;
    case SB_PAGEDOWN: target = pos + page; return true;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = static_cast<short>(HIWORD(wParam)); return true;
    case SB_TOP: target = 0; return true;
    case SB_BOTTOM: target = last; return true;
    default: return false;
    }
}

int WheelScrollLines(WPARAM wParam) { return GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3; }
