// Standard scroll bars, ScrollWindowEx and the caret.
#include <gtest/gtest.h>

#include "tests/platform/win/window_test_support.h"

using namespace vxwin;

TEST(WinScroll, BarsTakeRoomClampAndTurnClicksIntoScrollMessages)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    RECT cr;
    GetClientRect(w, &cr);
    EXPECT_EQ(cr.right, 83);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 500;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 90);  // clamped to max - page + 1
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 90);
    SetScrollPos(w, SB_VERT, 0, TRUE);
    PumpMessages();
    tw.log.clear();
    InjectMouseButton(0, true, 90, 95);  // bottom arrow
    InjectMouseButton(0, false, 90, 95);
    InjectMouseButton(0, true, 90, 60);  // track below the thumb
    InjectMouseButton(0, false, 90, 60);
    PumpMessages();
    std::vector<int> codes;
    for (auto& l : tw.log)
        if (l.hwnd == w && l.msg == WM_VSCROLL && LOWORD(l.wp) != SB_ENDSCROLL) codes.push_back(LOWORD(l.wp));
    EXPECT_EQ(codes, (std::vector<int>{SB_LINEDOWN, SB_PAGEDOWN}));
    ShowScrollBar(w, SB_VERT, FALSE);
    GetClientRect(w, &cr);
    EXPECT_EQ(cr.right, 100);
}

TEST(WinScroll, ScrollWindowMovesPixelsAndReportsTheUncoveredPart)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 10, 10);
    PumpMessages();
    HDC dc = GetDC(w);
    RECT row{0, 5, 10, 6};
    FillRect(dc, &row, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(w, dc);
    RECT upd;
    EXPECT_EQ(ScrollWindowEx(w, 0, -2, nullptr, nullptr, nullptr, &upd, 0), SIMPLEREGION);
    EXPECT_EQ(PixelAt(w, 3, 3), 0u);  // the row moved up by two
    EXPECT_EQ(upd.top, 8);
    EXPECT_EQ(upd.bottom, 10);
}

TEST(WinScroll, CaretInvertsWhileShownAndStepsAsideForPainting)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 20, 20);
    tw.paintColor[w] = RGB(255, 255, 255);
    PumpMessages();
    ASSERT_TRUE(CreateCaret(w, nullptr, 1, 5));
    SetCaretPos(2, 2);
    EXPECT_EQ(PixelAt(w, 2, 3), 0xFFFFFFu);  // created hidden
    ShowCaret(w);
    EXPECT_EQ(PixelAt(w, 2, 3), 0u);
    InvalidateRect(w, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(PixelAt(w, 2, 3), 0u);  // repainted under it, shown again
    HideCaret(w);
    EXPECT_EQ(PixelAt(w, 2, 3), 0xFFFFFFu);
    DestroyCaret();
}
