// TScreen: the monitors as the window layer reports them (bounds, work area, primary, the monitor
// of a window and of a point) and the installed font families through fontconfig.
#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/screen.h"
#include "tests/platform/framework/control_test_support.h"

TEST(ScreenMonitors, MatchTheLayersScreenAndWorkArea)
{
    ASSERT_GE(Screen->MonitorCount(), 1);
    TMonitor* m = Screen->Monitors(0);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->MonitorNum(), 0);
    EXPECT_TRUE(m->Primary());
    EXPECT_EQ(Screen->PrimaryMonitor(), m);
    EXPECT_EQ(m->Width(), Screen->Width());
    EXPECT_EQ(m->Height(), Screen->Height());
    EXPECT_EQ(m->WorkareaRect(), Screen->WorkAreaRect());
    EXPECT_EQ(Screen->DesktopRect(), m->BoundsRect());
    EXPECT_EQ(Screen->Monitors(0), m);  // the same object while the monitor stays
    TForm* f = MakeForm(50, 50, 100, 80);
    EXPECT_EQ(Screen->MonitorFromWindow(f->Handle()), m);
    EXPECT_EQ(Screen->MonitorFromPoint(Point(10, 10)), m);
    EXPECT_THROW(Screen->Monitors(Screen->MonitorCount()), EListError);
    f->Free();
}

TEST(ScreenFonts, ListsInstalledFamiliesSortedWithTheMappedFaceNames)
{
    TStrings* fonts = Screen->Fonts();
    ASSERT_GT(fonts->Count(), 0) << "no font families from fontconfig";
    // The fonts the layer renders with, and the Windows names it maps onto them.
    EXPECT_GE(fonts->IndexOf(L"DejaVu Sans"), 0);
    EXPECT_GE(fonts->IndexOf(L"Tahoma"), 0);
    EXPECT_GE(fonts->IndexOf(L"宋体"), 0);
    for (int i = 1; i < fonts->Count(); ++i) EXPECT_LT(CompareText(fonts->Get(i - 1), fonts->Get(i)), 0);
    EXPECT_EQ(Screen->Fonts(), fonts);
}
