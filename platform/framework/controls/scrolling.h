// Scrolling of the scrolled controls (list box, memo, tree view, list view and the skinned ones
// built on them): where a scroll-bar message or a wheel turn takes the scroll position, counted in
// the control's own units (rows, lines, pixels). The control clamps and repaints.
#pragma once

#include "platform/framework/controls/control_types.h"

// The position a WM_VSCROLL/WM_HSCROLL (its WParam) asks for from pos: SB_LINEUP/DOWN move by
// line, SB_PAGEUP/DOWN by page, the thumb codes to the thumb's position, SB_TOP to 0 and SB_BOTTOM
// to last. False for codes that move nothing (SB_ENDSCROLL).
bool ScrollBarTarget(WPARAM wParam, int pos, int line, int page, int last, int& target);

// The lines a WM_MOUSEWHEEL (its WParam) scrolls by: three a notch, positive toward the top.
int WheelScrollLines(WPARAM wParam);
