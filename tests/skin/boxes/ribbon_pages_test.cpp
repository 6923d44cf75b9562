// The scrolling pages: buttons that come exactly when the children stop fitting (narrowing the
// client by 24), steps capped at SMax - SPage + 1, holding and hot scrolling on the timers,
// ignored settings, and the menu page's width rule.
#include <gtest/gtest.h>

#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/controls/skin_button.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct RibbonPageTest : SkinControlFixture {
    TbsRibbon* R = nullptr;
    TbsRibbonPage* P = nullptr;
    TbsSkinButton* Child = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 600, 300);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        ShowForm();
        R->Tabs()->Add();
        P = R->ActivePage();
        Child = new TbsSkinButton(Form);
        Child->SetParent(P);
        Child->SetBounds(0, 10, 598, 40);  // exactly the page's width: it fits
        P->GetScrollInfo();
        Pump();
    }
    // A click on the page's window at a point in window coordinates (the frame included).
    void ClickWindow(int X, int Y)
    {
        TPoint p = Screen(P, 0, 0);
        const int ox = P->Buttons[0].Visible ? 12 : 0;
        Click(p.X - ox + X, p.Y + Y);
        Pump();
    }
};

}  // namespace

TEST_F(RibbonPageTest, ButtonsComeWhenTheChildrenStopFittingAndGoWhenTheyFitAgain)
{
    EXPECT_FALSE(P->Buttons[0].Visible);
    EXPECT_EQ(P->ClientWidth(), 598);
    Form->SetWidth(599);  // one pixel too narrow
    Pump();
    ASSERT_TRUE(P->Buttons[0].Visible);
    EXPECT_TRUE(P->Buttons[1].Visible);
    EXPECT_EQ(P->Width(), 597);
    EXPECT_EQ(P->ClientWidth(), 597 - 24);
    EXPECT_EQ(P->SMax, 597);
    // The hit codes of the two columns, turned into HTCLIENT for the cursor.
    TPoint o = Screen(P, 0, 0);
    EXPECT_EQ(SendMessageW(P->Handle(), WM_NCHITTEST, 0, MAKELPARAM(o.X - 5, o.Y + 5)), HTPAGESCROLLBACK);
    EXPECT_EQ(SendMessageW(P->Handle(), WM_NCHITTEST, 0, MAKELPARAM(o.X + 573 + 5, o.Y + 5)), HTPAGESCROLLFORWARD);
    EXPECT_EQ(SendMessageW(P->Handle(), WM_NCHITTEST, 0, MAKELPARAM(o.X + 20, o.Y + 5)), HTCLIENT);
    // The buttons go when the children fit beside them.
    Form->SetWidth(600);
    Pump();
    EXPECT_TRUE(P->Buttons[0].Visible);
    Form->SetWidth(598 + 24 + 2);
    Pump();
    EXPECT_FALSE(P->Buttons[0].Visible);
    EXPECT_EQ(P->ClientWidth(), 598 + 24);
    EXPECT_EQ(P->Position(), 0);
}

TEST_F(RibbonPageTest, ClicksStepByTheClientWidthCappedAtTheEnd)
{
    Form->SetWidth(599);
    Pump();
    ASSERT_TRUE(P->Buttons[1].Visible);
    ClickWindow(597 - 6, 10);  // forward
    EXPECT_EQ(P->Position(), 597 - 573 + 1);
    EXPECT_EQ(Child->Left(), -25);
    ClickWindow(597 - 6, 10);  // at the end: nothing more
    EXPECT_EQ(P->Position(), 25);
    ClickWindow(6, 10);  // back: to 0
    EXPECT_EQ(P->Position(), 0);
    EXPECT_EQ(Child->Left(), 0);
    P->SetScrollTimerInterval(0);
    P->SetScrollOffset(-5);
    EXPECT_EQ(P->ScrollTimerInterval(), 50);
    EXPECT_EQ(P->ScrollOffset(), 0);
}

TEST_F(RibbonPageTest, HoldingRepeatsUntilTheEndAndHotScrollingStopsInTheClientArea)
{
    Child->SetWidth(2000);
    P->SetScrollOffset(100);
    P->GetScrollInfo();
    Pump();
    ASSERT_TRUE(P->Buttons[1].Visible);
    TPoint o = Screen(P, 0, 0);
    const TPoint fwd = Point(o.X + P->ClientWidth() + 6, o.Y + 10);
    vxwin::InjectMouseMove(fwd.X, fwd.Y);
    vxwin::InjectMouseButton(0, true, fwd.X, fwd.Y);
    Pump();
    Wait(160, 10);  // three ticks of 50 ms
    EXPECT_EQ(P->Position(), 300);
    Wait(2000, 50);
    const int end = P->SMax - P->SPage + 1;
    EXPECT_EQ(P->Position(), end);
    EXPECT_EQ(P->TimerMode, 0);  // stopped by itself at the end
    vxwin::InjectMouseButton(0, false, fwd.X, fwd.Y);
    Pump();
    EXPECT_EQ(P->Position(), end);
    // Hot scrolling: resting on the back button scrolls; the client area stops it.
    P->SetHotScroll(true);
    const TPoint back = Point(o.X - 6, o.Y + 10);
    vxwin::InjectMouseMove(back.X, back.Y);
    Pump();
    Wait(120, 10);
    const int moved = P->Position();
    EXPECT_LT(moved, end);
    vxwin::InjectMouseMove(o.X + 100, o.Y + 10);
    Pump();
    Wait(200, 10);
    EXPECT_EQ(P->Position(), moved);
    EXPECT_EQ(P->TimerMode, 0);
}

TEST_F(RibbonPageTest, MenuPagesTakeTheirDefaultWidthWithinThePageArea)
{
    auto* m = new TbsAppMenu(Form);
    m->SetParent(Form);
    struct Case {
        int Area;
        int DefaultWidth;
        int Expect;
    } cases[] = {{500, 300, 300}, {500, 600, 500}, {80, 300, 100}, {500, 0, 500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.DefaultWidth);
        m->SetBounds(0, 0, 100 + c.Area + 25, 300);
        TbsAppMenuPage* p = m->CreatePage();
        p->SetDefaultWidth(c.DefaultWidth);
        p->UpDateSize();
        EXPECT_EQ(p->Width(), c.Expect);
        EXPECT_EQ(p->Left(), 100);
        EXPECT_EQ(p->Top(), 25);
    }
    EXPECT_EQ(Form->FindComponent(L"bsAppMenuPage4")->ClassName(), L"TbsAppMenuPage");
}

TEST_F(RibbonPageTest, TheFrameChangeKeepsTheWindowAndTheFocusedChild)
{
    Child->SetCanFocused(true);
    Child->SetFocus();
    Pump();
    ASSERT_TRUE(Child->Focused());
    HWND before = P->Handle();
    Form->SetWidth(599);
    Pump();
    ASSERT_TRUE(P->Buttons[0].Visible);
    EXPECT_EQ(P->Handle(), before);
    EXPECT_TRUE(Child->Focused());
}
