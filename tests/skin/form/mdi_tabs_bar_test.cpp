// The MDI tabs bar on an MDI main form, headless: its tabs follow the skinned children; the
// layout (tab width, hidden tabs, the add button's place), dragging a tab into another order,
// the close buttons, hover events around a deleted tab, and the built-in colours.
#include <gtest/gtest.h>

#include "platform/win/headless_api.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/form/mdi_tabs_bar.h"
#include "skin/form/skin_popup_menu.h"
#include "tests/skin/form/mdi_test_support.h"

namespace {

struct MdiTabsBar : MdiFixture {
    TbsSkinMDITabsBar* Bar = nullptr;
    int Made = 0;

    void SetUp() override
    {
        MdiFixture::SetUp();
        Bar = new TbsSkinMDITabsBar(Main);
        Bar->SetParent(Main);
        Bar->SetBounds(0, 0, 400, 21);
        Bar->SetSkinForm(MSF);
        MSF->SetMDITabsBar(Bar);
    }
    void Children(int N)
    {
        for (int i = 0; i < N; ++i, ++Made) Child(L"C" + std::to_wstring(Made), 10 * i, 40 + 10 * i);
        Paint();
    }
    void Paint()
    {
        Bar->Repaint();
        Pump();
    }
    LRESULT Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0)
    {
        return SendMessageW(Bar->Handle(), Msg, Keys, MAKELPARAM(X, Y));
    }
    std::vector<String> Order() const
    {
        std::vector<String> v;
        for (int i = 0; i < Bar->TabCount(); ++i) v.push_back(Bar->Tab(i)->Child->Name());
        return v;
    }
};

TEST_F(MdiTabsBar, TabsShareTheWidthUpToTheDefaultAndHideBelowTheMinimum)
{
    Children(3);
    ASSERT_EQ(Bar->TabCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Bar->Tab(i)->ObjectRect, Rect(15 + 100 * i, 0, 115 + 100 * i, 21)) << i;
    EXPECT_EQ(Bar->AddButtonRect().Left, 317);
    ASSERT_TRUE(Bar->ListButton());

    Children(5);
    ASSERT_EQ(Bar->TabCount(), 8);
    EXPECT_EQ(Bar->Tab(0)->ObjectRect, Rect(15, 0, 63, 21));
    EXPECT_EQ(Bar->Tab(7)->ObjectRect.Right, 400);
    EXPECT_FALSE(Bar->HideListButton());

    Bar->SetMinTabWidth(80);
    Paint();
    EXPECT_EQ(Bar->InVisibleCount(), 4);
    EXPECT_EQ(Bar->Tab(3)->ObjectRect, Rect(255, 0, 335, 21));
    EXPECT_FALSE(Bar->Tab(4)->Visible);
    ASSERT_TRUE(Bar->HideListButton());
    Bar->FillHideListMenu();
    ASSERT_EQ(Bar->HideListMenu()->Items()->Count(), 4);
    EXPECT_EQ(Bar->HideListMenu()->Items()->Items(0)->Name(), Bar->Tab(4)->Child->Name() + L"_BSFCHILDITEMBARHIDE");
    Bar->FillListMenu();
    EXPECT_EQ(Bar->ListMenu()->Items()->Count(), 8);

    // A click on a hidden child's item shows it.
    Bar->HideListMenu()->Items()->Items(1)->Click();
    EXPECT_EQ(Main->ActiveMDIChild(), Bar->Tab(5)->Child);

    Bar->SetMinTabWidth(0);
    Paint();
    EXPECT_FALSE(Bar->HideListButton());
}

TEST_F(MdiTabsBar, DraggingTheFirstTabPastACentreDropsItThere)
{
    Children(3);
    const String a = Order()[0], b = Order()[1], c = Order()[2];
    // Each drag takes the tab that is first at the time; the centres are at 65, 165 and 265.
    struct Case {
        int By;
        std::vector<String> Want;
    } cases[] = {
        {30, {a, b, c}},   // right edge 145: short of the second tab's centre
        {70, {b, a, c}},   // 185: past the second's
        {160, {a, c, b}},  // 275: past the third's
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.By);
        Mouse(WM_LBUTTONDOWN, 50, 10, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, 50 + k.By, 10, MK_LBUTTON);
        EXPECT_TRUE(Bar->IsDrag);
        Paint();
        Mouse(WM_LBUTTONUP, 50 + k.By, 10);
        EXPECT_FALSE(Bar->IsDrag);
        EXPECT_EQ(Bar->DragIndex, -1);
        EXPECT_EQ(Order(), k.Want);
    }
}

TEST_F(MdiTabsBar, DeletingTheDraggedTabEndsTheDrag)
{
    Children(3);
    TCustomForm* last = Bar->Tab(2)->Child;
    Mouse(WM_LBUTTONDOWN, 250, 10, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 200, 10, MK_LBUTTON);
    ASSERT_EQ(Bar->DragIndex, 2);
    last->Free();
    Pump();
    EXPECT_EQ(Bar->TabCount(), 2);
    EXPECT_EQ(Bar->DragIndex, -1);
    EXPECT_FALSE(Bar->IsDrag);
    // The rest of the gesture reorders nothing and reads no stale tab.
    const auto before = Order();
    Mouse(WM_MOUSEMOVE, 20, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 10);
    Paint();
    EXPECT_EQ(Order(), before);
}

TEST_F(MdiTabsBar, AReleaseOnACloseButtonClosesThatChild)
{
    Bar->SetShowCloseButtons(true);
    Children(3);
    TForm* second = static_cast<TForm*>(Bar->Tab(1)->Child);
    int closed = 0;
    second->OnClose = [&](TObject*, TCloseAction& Action) {
        ++closed;
        Action = caHide;
    };
    // The close box of the second tab: 14 pixels at 100 - 19 of the tab, centred in its height.
    EXPECT_EQ(Bar->Tab(1)->ButtonRect, Bounds(81, 3, 14, 14));
    // Pressed beyond the tabs, released on the box.
    Mouse(WM_LBUTTONDOWN, 390, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 115 + 81 + 5, 10);
    Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(Bar->TabCount(), 2);
    // A press on a close box starts no drag; a release off it closes nothing.
    Mouse(WM_LBUTTONDOWN, 15 + 81 + 5, 10, MK_LBUTTON);
    EXPECT_EQ(Bar->DragIndex, -1);
    EXPECT_TRUE(Bar->Tab(0)->ButtonMouseDown);
    Mouse(WM_MOUSEMOVE, 60, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 60, 10);
    Pump();
    EXPECT_EQ(Bar->TabCount(), 2);
    EXPECT_FALSE(Bar->Tab(0)->ButtonMouseDown);
}

TEST_F(MdiTabsBar, DeletingTheHoveredTabFiresItsMouseLeaveFirst)
{
    Children(3);
    std::vector<String> log;
    Bar->OnTabMouseEnter = [&](TbsMDITab* T) { log.push_back(L"+" + T->Child->Name()); };
    Bar->OnTabMouseLeave = [&](TbsMDITab* T) {
        log.push_back(L"-" + T->Child->Name() + L"/" + std::to_wstring(Bar->TabCount()));
    };
    const String hovered = Bar->Tab(1)->Child->Name();
    Mouse(WM_MOUSEMOVE, 150, 10);
    Bar->Tab(1)->Child->Hide();
    Pump();
    EXPECT_EQ(log, (std::vector<String>{L"+" + hovered, L"-" + hovered + L"/3"}));
    EXPECT_EQ(Bar->ActiveTabIndex, -1);
    EXPECT_EQ(Bar->TabCount(), 2);
}

TEST_F(MdiTabsBar, BuiltInLookColoursTheActiveAndTheHoveredTab)
{
    Children(3);
    Bar->Tab(0)->Child->Show();
    Pump();
    // The pointer really over the second tab, so the bar keeps it hovered.
    POINT p{150, 10};
    ClientToScreen(Bar->Handle(), &p);
    vxwin::InjectMouseMove(p.x, p.y);
    Pump();
    Paint();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Bar->Handle(), &w, &h);
    auto at = [&](int X, int Y) { return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF; };
    EXPECT_TRUE(Bar->Tab(0)->Active);
    EXPECT_EQ(at(17, 1), skintest::RgbOf(TColor(14990498)));
    EXPECT_EQ(at(117, 1), skintest::RgbOf(TColor(15979713)));
    EXPECT_EQ(at(217, 1), skintest::RgbOf(ColorToRGB(clBtnFace)));
}

}  // namespace
