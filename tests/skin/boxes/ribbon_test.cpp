// The ribbon bar: geometry and layout, tab selection over hidden tabs, pages made and freed at
// run time, keys and wheel, caption buttons and their menus, MDI buttons, the application menu
// with its message hook, and the strip's pixels.
#include <gtest/gtest.h>

#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;
using officetest::EventLog;

namespace {

class TTestPopupMenu : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) override
    {
        ++Shown;
        Control = ACtrl;
        Where = R;
        Up = APopupUp;
    }
    int Shown = 0;
    TControl* Control = nullptr;
    TRect Where{};
    bool Up = true;
};

struct RibbonTest : SkinControlFixture {
    TbsRibbon* R = nullptr;
    EventLog Log;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 600, 300);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        R->OnChangingPage = [this](TObject*) { Log("changing" + std::to_string(R->TabIndex())); };
        R->OnChangePage = [this](TObject*) { Log("change" + std::to_string(R->TabIndex())); };
        R->OnMenuClose = [this](TObject*) { Log("menuclose"); };
        ShowForm();
    }
    void AddTabs(int N)
    {
        for (int i = 0; i < N; ++i) R->Tabs()->Add();
        Pump();
    }
    void ClickAt(int X, int Y)
    {
        TPoint p = Screen(R, X, Y);
        Click(p.X, p.Y);
        Pump();
    }
    TRect TabRect(int I) { return R->Tabs()->GetItem(I)->ItemRect; }
};

}  // namespace

TEST_F(RibbonTest, GeometryWithoutASkin)
{
    EXPECT_EQ(R->Align(), alTop);
    EXPECT_EQ(R->Height(), 115);
    EXPECT_EQ(R->GetTabsHeight(), 24);
    EXPECT_EQ(R->GetPageBounds(), Bounds(1, 26, 598, 115 - 24 - 5));
    EXPECT_EQ(R->AppButton()->BoundsRect(), Bounds(0, 1, 54, 24));
    EXPECT_EQ(R->LeftOffset(), 57);
    R->SetAppButtonWidth(30);  // below 35: ignored
    EXPECT_EQ(R->AppButtonWidth(), 54);
    R->SetAppButtonWidth(60);
    EXPECT_EQ(R->LeftOffset(), 63);
    EXPECT_EQ(R->AppButton()->Width(), 60);
    R->SetAppButtonImageIndex(-3);
    EXPECT_EQ(R->AppButtonImageIndex(), 0);
    // Without tabs: index -1, no page, nothing tracked.
    EXPECT_EQ(R->TabIndex(), -1);
    EXPECT_EQ(R->ActivePage(), nullptr);
    R->SetTabIndex(0);
    EXPECT_EQ(R->TabIndex(), -1);
}

TEST_F(RibbonTest, TabsAddedAtRunTimeGetPagesOwnedByTheFormWithTheFirstFreeName)
{
    auto* taken = new TComponent(Form);
    taken->SetName(L"bsRibbonPage2");
    AddTabs(3);
    ASSERT_EQ(R->Tabs()->Count(), 3);
    const wchar_t* names[] = {L"bsRibbonPage1", L"bsRibbonPage3", L"bsRibbonPage4"};
    for (int i = 0; i < 3; ++i) {
        TbsRibbonPage* p = R->Tabs()->GetItem(i)->Page();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Name(), names[i]);
        EXPECT_EQ(p->Caption(), names[i]);
        EXPECT_EQ(p->Owner(), Form);
        EXPECT_EQ(p->Parent(), R);
        EXPECT_EQ(p->Visible(), i == 2);
        // A page keeps the ribbon's page area whatever is asked.
        p->SetBounds(5, 5, 10, 10);
        EXPECT_EQ(p->BoundsRect(), R->GetPageBounds());
    }
    EXPECT_EQ(R->TabIndex(), 2);  // each new tab is selected
    EXPECT_EQ(Log.Take(), "changing-1 change0 changing0 change1 changing1 change2");
    // Deleting a tab frees its page.
    R->Tabs()->Delete(0);
    EXPECT_EQ(Form->FindComponent(L"bsRibbonPage1"), nullptr);
    EXPECT_EQ(R->Tabs()->Count(), 2);
    R->Tabs()->Add();
    EXPECT_EQ(R->Tabs()->GetItem(2)->Page()->Name(), L"bsRibbonPage1");
}

TEST_F(RibbonTest, SelectingWithHiddenTabs)
{
    AddTabs(4);
    R->SetTabIndex(1);
    Log.Take();
    // Hiding the selected tab selects the next visible one, else the nearest before.
    R->Tabs()->GetItem(2)->SetVisible(false);
    R->Tabs()->GetItem(1)->SetVisible(false);
    EXPECT_EQ(R->TabIndex(), 3);
    EXPECT_FALSE(R->Tabs()->GetItem(1)->Page()->Visible());
    R->Tabs()->GetItem(3)->SetVisible(false);
    EXPECT_EQ(R->TabIndex(), 0);
    // Selecting a hidden tab shows it again.
    R->SetTabIndex(2);
    EXPECT_TRUE(R->Tabs()->GetItem(2)->Visible());
    EXPECT_TRUE(R->ActivePage()->Visible());
    // Hiding the last visible tabs: the index stays, the next attempt gives -1.
    R->Tabs()->GetItem(0)->SetVisible(false);
    R->Tabs()->GetItem(2)->SetVisible(false);
    EXPECT_EQ(R->TabIndex(), 2);
    R->SetTabIndex(0);
    EXPECT_EQ(R->TabIndex(), -1);
    EXPECT_EQ(R->ActivePage(), nullptr);
    // Out of range: nothing changes; the same tab again only shows its page.
    R->SetTabIndex(5);
    EXPECT_EQ(R->TabIndex(), -1);
    R->SetActivePage(R->Tabs()->GetItem(1)->Page());  // no visible tab: nothing
    EXPECT_EQ(R->TabIndex(), -1);
}

TEST_F(RibbonTest, TabsAreNarrowedOnlyWhenTheyDoNotFit)
{
    AddTabs(4);
    const int natural[] = {TabRect(0).Width(), TabRect(1).Width(), TabRect(2).Width(), TabRect(3).Width()};
    const int sum = natural[0] + natural[1] + natural[2] + natural[3];
    ASSERT_FALSE(R->ShowDivider());
    // Exactly the room the tabs need: nothing narrowed.
    Form->SetWidth(57 + sum + 5);
    R->Repaint();
    EXPECT_FALSE(R->ShowDivider());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TabRect(i).Width(), natural[i]);
    EXPECT_EQ(TabRect(0).Left, 57);
    // Two thirds of it: Trunc(A x w / S), at least 15, placed edge to edge.
    const int room = sum * 2 / 3;
    Form->SetWidth(57 + room + 5);
    R->Repaint();
    EXPECT_TRUE(R->ShowDivider());
    int x = 57;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(TabRect(i).Width(), std::max(15, static_cast<int>(static_cast<double>(room) * natural[i] / sum)));
        EXPECT_EQ(TabRect(i).Left, x);
        x = TabRect(i).Right;
    }
    Form->SetWidth(57 + 20 + 5);
    R->Repaint();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TabRect(i).Width(), 15);
}

TEST_F(RibbonTest, KeysWheelAndClicksMoveBetweenTabs)
{
    AddTabs(3);
    R->Tabs()->GetItem(1)->SetVisible(false);
    R->SetFocus();
    R->SetTabIndex(0);
    Log.Take();
    struct Case {
        int Vk;
        int Expect;
    } cases[] = {{VK_RIGHT, 2}, {VK_DOWN, 2}, {VK_LEFT, 0}, {VK_NEXT, 2}, {VK_PRIOR, 0}};
    for (const auto& c : cases) {
        PressKey(c.Vk);
        Pump();
        EXPECT_EQ(R->TabIndex(), c.Expect) << c.Vk;
    }
    // The wheel at tab 0 does nothing; Left there gives the focus to the application button.
    TPoint p = Screen(R, 300, 50);
    vxwin::InjectMouseWheel(120, p.X, p.Y);
    Pump();
    EXPECT_EQ(R->TabIndex(), 0);
    EXPECT_TRUE(R->Focused());
    vxwin::InjectMouseWheel(-120, p.X, p.Y);
    Pump();
    EXPECT_EQ(R->TabIndex(), 2);
    R->SetTabIndex(0);
    PressKey(VK_LEFT);
    Pump();
    EXPECT_TRUE(R->AppButton()->Focused());
    // A click on a tab selects it and focuses the bar.
    ClickAt(TabRect(2).Left + 5, 10);
    EXPECT_EQ(R->TabIndex(), 2);
    EXPECT_TRUE(R->Focused());
}

TEST_F(RibbonTest, CaptionButtonsNeedTheirImageListAndPressAndReleaseOnOneButton)
{
    AddTabs(1);
    int clicks[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        auto* b = R->Buttons()->Add();
        b->SetImageIndex(i);
        b->OnClick = [&clicks, i, this](TObject* S) { clicks[i] += S == R ? 1 : 100; };
    }
    R->Repaint();
    EXPECT_EQ(R->RightOffset(), 5);
    EXPECT_TRUE(R->Buttons()->Items(0)->ItemRect.IsEmpty());
    ClickAt(600 - 10, 10);
    EXPECT_EQ(clicks[1], 0);
    auto* images = officetest::MakePngList(Form, 16, {0xFF0000, 0x00FF00});
    R->SetButtonsImageList(images);
    // 22 pixels each from the right end, 1 .. strip height - 1.
    EXPECT_EQ(R->Buttons()->Items(1)->ItemRect, Rect(600 - 2 - 22, 1, 600 - 2, 23));
    EXPECT_EQ(R->Buttons()->Items(0)->ItemRect, Rect(600 - 2 - 44, 1, 600 - 2 - 22, 23));
    EXPECT_EQ(R->RightOffset(), 44 + 2 + 2);
    ClickAt(600 - 10, 10);
    EXPECT_EQ(clicks[1], 1);
    // Pressed on one, released on the other or outside: no click, nothing stays down.
    for (TPoint to : {Point(600 - 35, 10), Point(300, 60)}) {
        TPoint a = Screen(R, 600 - 10, 10), b = Screen(R, to.X, to.Y);
        vxwin::InjectMouseMove(a.X, a.Y);
        Drag(a.X, a.Y, b.X, b.Y);
        Pump();
        EXPECT_EQ(clicks[0] + clicks[1], 1);
        EXPECT_FALSE(R->Buttons()->Items(1)->Down);
    }
    // A button's menu drops below it and keeps it down until the menu engine's close.
    auto* menu = new TTestPopupMenu(Form);
    R->Buttons()->Items(0)->PopupMenu = menu;
    ClickAt(600 - 35, 10);
    EXPECT_EQ(menu->Shown, 1);
    EXPECT_EQ(menu->Control, R);
    EXPECT_FALSE(menu->Up);
    TPoint o = Screen(R, 600 - 2 - 44, 1);
    EXPECT_EQ(menu->Where, Rect(o.X, o.Y, o.X + 22, o.Y + 23));
    EXPECT_TRUE(R->Buttons()->Items(0)->Down);
    SendMessageW(R->Handle(), WM_SKINMENU_CLOSED, 0, 0);
    EXPECT_FALSE(R->Buttons()->Items(0)->Down);
    EXPECT_EQ(clicks[0], 1);
}

TEST_F(RibbonTest, MDIButtonsComeOnceAndGoWithoutAMaximizedChild)
{
    R->MDIChildMaximize();
    R->MDIChildMaximize();
    ASSERT_EQ(R->MDIButtons()->Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(R->MDIButtons()->Items(i)->Code, i + 1);
    R->Repaint();
    // 22 x 22 from the right end, close the rightmost.
    EXPECT_EQ(R->MDIButtons()->Items(0)->ItemRect, Rect(600 - 5 - 22, 1, 600 - 5, 23));
    EXPECT_EQ(R->MDIButtons()->Items(2)->ItemRect.Left, 600 - 5 - 66);
    ClickAt(600 - 10, 10);  // no maximized child: nothing happens
    R->MDIChildRestore();
    EXPECT_EQ(R->MDIButtons()->Count(), 0);
}

namespace {

struct AppMenuRibbonTest : RibbonTest {
    TbsAppMenu* M = nullptr;
    TbsSkinForm* SF = nullptr;
    void SetUp() override
    {
        RibbonTest::SetUp();
        M = new TbsAppMenu(Form);
        M->SetParent(Form);
        auto* item = M->Items()->Add();
        item->OnClick = [this](TObject* S) { Log(S == R ? "run" : "run?"); };
        M->OnShowingMenu = [this](TObject* S) { Log(S == R ? "showing" : "showing?"); };
        M->OnShowMenu = [this](TObject*) { Log("show"); };
        M->OnHidingMenu = [this](TObject*) { Log("hiding"); };
        M->OnHideMenu = [this](TObject*) { Log("hide"); };
        R->SetAppMenu(M);
    }
};

}  // namespace

TEST_F(AppMenuRibbonTest, ShowingAndHidingInTheirOrderWithTheMessageHook)
{
    int outer = 0;
    Application->OnMessage = [&outer](MSG&, bool&) { ++outer; };
    EXPECT_FALSE(M->Visible());
    R->ShowAppMenu();
    EXPECT_EQ(Log.Take(), "showing show");
    EXPECT_TRUE(M->Visible());
    EXPECT_EQ(M->BoundsRect(), Bounds(0, 25, 600, 300 - 24 + 1));  // below the application button
    EXPECT_TRUE(M->Focused());
    EXPECT_EQ(M->ItemIndex(), 0);
    // Escape without a linked skinned form: the hook takes no action and the saved handler waits.
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(M->Visible());
    EXPECT_EQ(outer, 0);
    R->HideAppMenu(M->Items()->Items(0));
    EXPECT_EQ(Log.Take(), "hiding run menuclose hide");
    EXPECT_FALSE(M->Visible());
    PressKey(VK_SPACE);
    Pump();
    EXPECT_GT(outer, 0);  // the saved handler is back
    Application->OnMessage = nullptr;
}

TEST_F(AppMenuRibbonTest, TheApplicationButtonOpensAndClosesTheMenu)
{
    TPoint b = Screen(R->AppButton(), 10, 10);
    Click(b.X, b.Y);
    Pump();
    EXPECT_TRUE(M->Visible());
    EXPECT_TRUE(R->AppButton()->Down());
    Click(b.X, b.Y);
    Pump();
    EXPECT_FALSE(M->Visible());
    EXPECT_FALSE(R->AppButton()->Down());
    EXPECT_EQ(Log.Take(), "showing show hiding menuclose hide");
    // Without a menu the calls do nothing.
    R->SetAppMenu(nullptr);
    R->ShowAppMenu();
    R->HideAppMenu(nullptr);
    EXPECT_EQ(Log.Take(), "");
}

TEST_F(RibbonTest, BuiltInStripAndTheSelectedTabJoiningThePage)
{
    AddTabs(2);
    R->SetTabIndex(1);
    Pump();
    R->Repaint();
    auto rgb = [](TColor C) { return RgbOf(ColorToRGB(C)); };
    const TRect t1 = TabRect(1), t0 = TabRect(0);
    EXPECT_EQ(PixelAt(R, t1.Left + 1, 2), rgb(clBtnFace));         // selected tab face
    EXPECT_EQ(PixelAt(R, t1.Left + 1, 24 + 1), rgb(clBtnFace));    // 2 pixels into the page
    EXPECT_EQ(PixelAt(R, t0.Left + 1, 24 + 1), rgb(clBtnShadow));  // not under another tab
    EXPECT_EQ(PixelAt(R, t0.Left + 1, 2), rgb(clBtnShadow));       // a plain tab on the strip
    EXPECT_EQ(PixelAt(R, 599, 60), rgb(clBtnShadow));              // frame right of the page
}

// A paint cycle draws the bar once: in the background erase, the paint after it is skipped, and
// only that one.
TEST_F(RibbonTest, TheEraseDrawsTheBarAndSkipsOnlyTheNextPaint)
{
    AddTabs(2);
    TBitmap b(R->Width(), R->Height());
    const TRect t0 = TabRect(0);
    auto drawn = [&](UINT Msg) {
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, b.Width(), b.Height()));
        R->Perform(Msg, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0);
        return (b.PixelArgb(t0.Left + 1, 2) & 0xFFFFFF) == RgbOf(ColorToRGB(clBtnShadow));
    };
    EXPECT_TRUE(drawn(WM_PAINT));
    EXPECT_TRUE(drawn(WM_ERASEBKGND));
    EXPECT_FALSE(drawn(WM_PAINT));
    EXPECT_TRUE(drawn(WM_PAINT));
}

TEST_F(RibbonTest, SkinnedStripFromTheTabRecordAndAForeignRecordCountsAsNone)
{
    SyntheticSkin s;
    int p = s.AddPicture(120, 60);
    s.Block(p, Rect(0, 0, 40, 40), kNormal);           // frame round the page area
    s.Block(p, Rect(40, 0, 60, 20), kFocused, false);  // focused tab
    s.Block(p, Rect(60, 0, 80, 20), kHot, false);      // selected tab
    s.Block(p, Rect(80, 0, 100, 20), kExtra1, false);  // tabs background
    s.Control("officetab", "tab",
              "pictureindex=0\nskinrect=0,0,40,40\nclientrect=4,4,36,36\nlefttoppoint=4,4\nrighttoppoint=36,4\n"
              "leftbottompoint=4,36\nrightbottompoint=36,36\ntabrect=40,0,60,20\nfocustabrect=40,0,60,20\n"
              "activetabrect=60,0,80,20\ntabsbgrect=80,0,100,20\ntableftoffset=2\ntabrightoffset=2");
    s.LoadInto(Model);
    R->SetSkinData(Model);
    AddTabs(2);
    R->SetTabIndex(0);
    Pump();
    EXPECT_EQ(R->GetTabsHeight(), 21);
    EXPECT_EQ(R->GetPageBounds(), Bounds(4, 25, 600 - 8, 115 - 8 - 21));
    R->Repaint();
    EXPECT_EQ(PixelAt(R, TabRect(0).Left + 8, 10), kHot);     // selected, bar not focused
    EXPECT_EQ(PixelAt(R, TabRect(1).Left + 8, 10), kExtra1);  // plain tab on the strip background
    EXPECT_EQ(PixelAt(R, 1, 60), kNormal);                    // frame left of the page
    R->SetFocus();
    Pump();
    R->Repaint();
    EXPECT_EQ(PixelAt(R, TabRect(0).Left + 8, 10), kFocused);
    // A record of another class under "officetab": the built-in look.
    s.Controls[0].Type = "panel";
    s.LoadInto(Model);
    R->SetSkinData(Model);
    EXPECT_EQ(R->SkinRecord(), nullptr);
    EXPECT_EQ(R->GetTabsHeight(), 24);
}
