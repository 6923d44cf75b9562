// The skinned tool bar: scroll state and steps through its non-client scroll buttons on the
// test clock, the leave check, the focus across the window's recreation, and centring.
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "skin/controls/skin_tool_bar.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

class TBox : public TCustomControl {
public:
    TBox(TWinControl* Parent, int L, int W) : TCustomControl(Parent)
    {
        SetParent(Parent);
        SetBounds(L, 2, W, 20);
    }
};

struct ToolBarTest : SkinControlFixture {
    TbsSkinToolBar* Bar = nullptr;
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 400, 120);
        Bar = new TbsSkinToolBar(Form);
        Bar->SetParent(Form);
        Bar->SetAdjustControls(false);
        Bar->SetCanScroll(true);
    }
    // Children side by side from 0 to Right, then the bar's bounds (which updates the state).
    void Fill(int Right)
    {
        for (int l = 0; l < Right; l += 100) new TBox(Bar, l, std::min(100, Right - l));
        Bar->SetBounds(10, 10, 200, 30);
    }
    // The right scroll button at screen coordinates.
    static TPoint RightButton() { return Point(10 + 200 - 6, 25); }
};

}  // namespace

TEST_F(ToolBarTest, ScrollStateForContentWiderThanTheBar)
{
    Fill(300);
    ShowForm();
    EXPECT_TRUE(Bar->Buttons[0].Visible);
    EXPECT_TRUE(Bar->Buttons[1].Visible);
    EXPECT_EQ(Bar->ClientWidth(), 200 - 24);
    EXPECT_EQ(Bar->SMax, 299);
    EXPECT_EQ(Bar->SPage, 176);
    Bar->SetScrollOffset(50);
    const int positions[] = {50, 100, 124, 124};  // the last reachable is SMax - SPage + 1
    for (int p : positions) {
        Bar->ScrollStep(1);
        EXPECT_EQ(Bar->SPosition, p);
    }
    EXPECT_EQ(Bar->Controls(2)->Left() + 100, 300 - 124);  // the content's end meets the client's
    Bar->ScrollStep(0);
    Bar->ScrollStep(0);
    Bar->ScrollStep(0);
    EXPECT_EQ(Bar->SPosition, 0);
    EXPECT_EQ(Bar->Controls(0)->Left(), 0);
    // A step of 0 is one client width.
    Bar->SetScrollOffset(0);
    Bar->ScrollStep(1);
    EXPECT_EQ(Bar->SPosition, 124);
    // Invalid settings keep the old values.
    Bar->SetScrollOffset(-1);
    Bar->SetScrollTimerInterval(0);
    EXPECT_EQ(Bar->ScrollOffset(), 0);
    EXPECT_EQ(Bar->ScrollTimerInterval(), 50);
}

TEST_F(ToolBarTest, ContentThatFitsShowsNoButtons)
{
    Fill(150);
    ShowForm();
    EXPECT_FALSE(Bar->Buttons[0].Visible);
    EXPECT_EQ(Bar->ClientWidth(), 200);
    EXPECT_EQ(Bar->SMax, 0);
}

// A move that bypasses SetBounds updates the scroll state as well, inside the move: the buttons'
// room comes with it, and the window and its new place survive.
TEST_F(ToolBarTest, AMoveOfTheWindowItselfUpdatesTheScrollState)
{
    Fill(150);
    ShowForm();
    ASSERT_FALSE(Bar->Buttons[0].Visible);
    Bar->Controls(1)->SetWidth(250);  // the content now ends at 350, past the bar
    ASSERT_FALSE(Bar->Buttons[0].Visible);
    const HWND before = Bar->Handle();
    SetWindowPos(Bar->Handle(), nullptr, 20, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Bar->Buttons[0].Visible);
    EXPECT_TRUE(Bar->Buttons[1].Visible);
    EXPECT_EQ(Bar->SMax, 349);
    EXPECT_EQ(Bar->Handle(), before);
    EXPECT_EQ(Bar->Left(), 20);
    EXPECT_EQ(Bar->ClientWidth(), 200 - 24) << "the frame holds the two buttons";
    // And back: the content fits again after the next move.
    Bar->Controls(1)->SetWidth(40);
    SetWindowPos(Bar->Handle(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(Bar->Buttons[0].Visible);
    EXPECT_EQ(Bar->ClientWidth(), 200);
    EXPECT_EQ(Bar->Left(), 10);
}

TEST_F(ToolBarTest, ClickAndHoldTheScrollButton)
{
    Fill(1000);
    Bar->SetScrollOffset(10);
    ShowForm();
    TPoint b = RightButton();
    Click(b.X, b.Y);
    Pump();
    EXPECT_EQ(Bar->SPosition, 10);  // a click is one step
    EXPECT_EQ(Bar->TimerMode, 0);
    vxwin::InjectMouseButton(0, true, b.X, b.Y);
    Pump();
    EXPECT_EQ(Bar->TimerMode, 2);
    Wait(120);  // ticks at 50 and 100 ms
    EXPECT_EQ(Bar->SPosition, 30);
    vxwin::InjectMouseButton(0, false, b.X, b.Y);
    Pump();
    EXPECT_EQ(Bar->SPosition, 40);  // and one more on release
    // Holding at the end: the step that cannot move stops the timer.
    Bar->SetScrollOffset(400);
    vxwin::InjectMouseButton(0, true, b.X, b.Y);
    Pump();
    Wait(200);
    EXPECT_EQ(Bar->SPosition, 999 - 176 + 1);
    EXPECT_EQ(Bar->TimerMode, 0);
    vxwin::InjectMouseButton(0, false, b.X, b.Y);
    Pump();
}

TEST_F(ToolBarTest, TheHotButtonCoolsWhenTheMouseLeaves)
{
    Fill(1000);
    ShowForm();
    TPoint b = RightButton();
    vxwin::InjectMouseMove(b.X, b.Y);
    Pump();
    EXPECT_TRUE(Bar->Buttons[1].Hot);
    EXPECT_TRUE(Bar->FMouseIn);
    vxwin::InjectMouseMove(380, 100);
    Wait(120);
    EXPECT_FALSE(Bar->Buttons[1].Hot);
    EXPECT_FALSE(Bar->FMouseIn);
}

TEST_F(ToolBarTest, TheFocusedChildKeepsTheFocusWhenTheButtonsAppear)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Bar);
    edit->SetBounds(0, 2, 100, 20);
    Bar->SetBounds(10, 10, 200, 30);
    ShowForm();
    edit->SetFocus();
    Pump();
    ASSERT_TRUE(edit->Focused());
    new TBox(Bar, 150, 150);
    Bar->SetBounds(10, 10, 200, 30);  // content now to 300
    ASSERT_TRUE(Bar->Buttons[0].Visible);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(ToolBarTest, ChildrenAreCentredInTheSkinClientRectangle)
{
    SyntheticSkin s;
    int p = s.AddPicture(20, 67);
    s.Block(p, Rect(0, 0, 20, 67), kNormal);
    s.Control("toolpanel", "panel",
              "pictureindex=0\r\nskinrect=0,0,20,67\r\nlefttoppoint=4,0\r\nrighttoppoint=16,0\r\n"
              "clientrect=4,3,16,64\r\n");
    s.LoadInto(Model);
    Bar->SetCanScroll(false);
    Bar->SetAdjustControls(true);
    Bar->SetSkinData(Model);
    auto* child = new TCustomControl(Bar);
    child->SetParent(Bar);
    child->SetBounds(5, 0, 30, 25);
    Bar->SetBounds(10, 10, 200, 67);
    EXPECT_EQ(Bar->GetSkinClientRect().Top, 3);
    EXPECT_EQ(Bar->GetSkinClientRect().Bottom, 64);
    EXPECT_EQ(child->Top(), 21);
}
