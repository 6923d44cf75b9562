// The scroll position a scroll-bar message or a wheel turn asks a scrolled control for.
#include <gtest/gtest.h>

#include "platform/framework/controls/scrolling.h"
#include "platform/win/win_api.h"

TEST(Scrolling, ScrollBarCodesMoveByLinePageThumbAndEnds)
{
    struct Case {
        WPARAM wParam;
        bool moves;
        int target;
    } cases[] = {
        {SB_LINEUP, true, 40},
        {SB_LINEDOWN, true, 60},
        {SB_PAGEUP, true, 0},
        {SB_PAGEDOWN, true, 100},
        {MAKEWPARAM(SB_THUMBTRACK, 7), true, 7},
        {MAKEWPARAM(SB_THUMBPOSITION, 9), true, 9},
        {SB_TOP, true, 0},
        {SB_BOTTOM, true, 500},
        {SB_ENDSCROLL, false, -1},
    };
    for (const Case& c : cases) {
        int target = -1;
        EXPECT_EQ(ScrollBarTarget(c.wParam, 50, 10, 50, 500, target), c.moves) << c.wParam;
        EXPECT_EQ(target, c.target) << c.wParam;  // unclamped: the control clamps
    }
}

TEST(Scrolling, WheelScrollsThreeLinesANotchTowardTheTop)
{
    EXPECT_EQ(WheelScrollLines(MAKEWPARAM(0, WHEEL_DELTA)), 3);
    EXPECT_EQ(WheelScrollLines(MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA))), -6);
}
