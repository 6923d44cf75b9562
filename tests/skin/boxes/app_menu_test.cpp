// The application menu: item layout and content height, its scroll bar, keys, clicks and the
// wheel, the size grip and the caption drawn by a real skinned form, Escape through the hook.
#include <gtest/gtest.h>

#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_scroll_bar.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/form/skin_form_test_support.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;
using officetest::EventLog;

namespace {

struct AppMenuTest : SkinControlFixture {
    TbsRibbon* R = nullptr;
    TbsAppMenu* M = nullptr;
    EventLog Log;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 600, 400);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        M = new TbsAppMenu(Form);
        M->SetParent(Form);
        R->SetAppMenu(M);
        ShowForm();
    }
    // One item a letter: c command, p page.
    void Fill(const std::string& Layout)
    {
        M->Items()->Clear();
        for (char ch : Layout) {
            auto* item = M->Items()->Add();
            const int n = item->Index();
            item->OnClick = [this, n](TObject* S) { Log((S == R ? "run" : "run?") + std::to_string(n)); };
            if (ch == 'p') item->SetPage(M->CreatePage());
        }
        M->CalcItemRects();
    }
    TRect ItemRect(int I) { return M->Items()->Items(I)->ItemRect; }
};

}  // namespace

TEST_F(AppMenuTest, BuiltInItemLayoutAndContentHeight)
{
    EXPECT_EQ(M->Items()->Add()->Caption(), L"TbsAppMenuItem0");
    Fill("ccpcp");
    EXPECT_EQ(ItemRect(0), Rect(8, 7, 92, 35));
    EXPECT_EQ(ItemRect(1), Rect(8, 35, 92, 63));
    EXPECT_EQ(ItemRect(2), Rect(0, 71, 100, 106));  // 8 before a page item after a command item
    EXPECT_EQ(ItemRect(3), Rect(8, 114, 92, 142));  // and 8 after every page item
    EXPECT_EQ(ItemRect(4), Rect(0, 150, 100, 185));
    EXPECT_EQ(M->GetContentHeight(), 185 + 8 + 25);  // the last item has a page: 25 more
    Fill("pc");
    EXPECT_EQ(ItemRect(0), Rect(0, 30, 100, 65));  // a first page item starts at 30
    EXPECT_EQ(ItemRect(1), Rect(8, 73, 92, 101));
    EXPECT_EQ(M->GetContentHeight(), 101);
    M->SetItemWidth(50);
    EXPECT_EQ(M->ItemWidth(), 100);
}

TEST_F(AppMenuTest, ABackButtonStartsTheItemsBelowIt)
{
    SyntheticSkin s;
    int p = s.AddPicture(100, 100);
    s.Block(p, Rect(0, 0, 40, 40), kNormal);
    s.Control("appmenu", "appmenu",
              "pictureindex=0\nskinrect=0,0,40,40\nclientrect=4,4,36,36\nitemrect=40,0,80,28\n"
              "pageitemrect=40,30,80,70\nbackbuttonrect=0,50,30,80");
    s.LoadInto(Model);
    M->SetSkinData(Model);
    Fill("cc");
    EXPECT_EQ(M->BackButtonRect(), Rect(23, 3, 53, 33));
    EXPECT_EQ(ItemRect(0), Rect(8, 30 + 5 + 7, 92, 42 + 28));
    Fill("pc");
    EXPECT_EQ(ItemRect(0).Top, 30);  // a first page item with differing rectangles
    EXPECT_EQ(ItemRect(0).Height(), 40);
}

TEST_F(AppMenuTest, TheBarComesWhileTheColumnDoesNotFit)
{
    M->SetBounds(0, 0, 400, 200);
    Fill("cccccccccc");
    M->UpdateScrollInfo();
    ASSERT_NE(M->ScrollBar(), nullptr);
    EXPECT_EQ(M->ScrollBar()->Max(), 7 + 280 + 1);
    EXPECT_EQ(M->ScrollBar()->PageSize(), 200);
    EXPECT_EQ(M->ScrollBar()->BoundsRect(), Rect(400 - 19, 0, 400, 200));
    M->SetItemIndex(9);  // the last item: the bar to its end
    EXPECT_EQ(M->ScrollOffset(), 288 - 200 + 1);
    M->SetHeight(300);
    Pump();
    EXPECT_EQ(M->ScrollBar(), nullptr);
}

TEST_F(AppMenuTest, KeysAndClicksChooseCommandsAndEnterPages)
{
    Fill("cpc");
    auto* field = new TbsSkinButton(Form);
    field->SetParent(M->Items()->Items(1)->Page());
    M->Items()->Items(1)->Page()->SetFirstActiveControl(field);
    R->ShowAppMenu();
    ASSERT_TRUE(M->Visible());
    EXPECT_EQ(M->ItemIndex(), 1);  // the item of the active page (the last page made)
    PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(field->Focused());
    M->SetFocus();
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(M->ItemIndex(), 2);
    PressKey(VK_RETURN);
    Pump();
    EXPECT_FALSE(M->Visible());
    EXPECT_EQ(Log.Take(), "run2");
    // A press on one command item released on another runs neither.
    R->ShowAppMenu();
    M->CalcItemRects();
    TPoint a = Screen(M, 20, ItemRect(0).Top + 5), b = Screen(M, 20, ItemRect(2).Top + 5);
    vxwin::InjectMouseMove(a.X, a.Y);
    Drag(a.X, a.Y, b.X, b.Y);
    Pump();
    EXPECT_TRUE(M->Visible());
    EXPECT_EQ(Log.Take(), "");
    Click(b.X, b.Y);
    Pump();
    EXPECT_EQ(Log.Take(), "run2");
    // An index past the items is no selection.
    R->ShowAppMenu();
    M->SetItemIndex(7);
    PressKey(VK_RETURN);
    PressKey(VK_DOWN);
    Pump();
    EXPECT_TRUE(M->Visible());
    EXPECT_EQ(Log.Take(), "");
    R->HideAppMenu(nullptr);
}

TEST_F(AppMenuTest, OpeningWithoutItemsSelectsNothingAndTheWheelGoesByTheWindowUnderThePointer)
{
    R->ShowAppMenu();
    EXPECT_TRUE(M->Visible());
    R->HideAppMenu(nullptr);
    Fill("ccc");
    R->ShowAppMenu();
    M->SetItemIndex(0);
    TPoint over = Screen(M, 300, 100);
    vxwin::InjectMouseWheel(-120, over.X, over.Y);
    Pump();
    EXPECT_EQ(M->ItemIndex(), 1);
    TPoint away = Screen(R, 300, 5);  // over the ribbon, not the menu: nothing
    vxwin::InjectMouseWheel(-120, away.X, away.Y);
    Pump();
    EXPECT_EQ(M->ItemIndex(), 1);
    R->HideAppMenu(nullptr);
}

namespace {

struct AppMenuFormTest : SkinFormFixture {
    TbsRibbon* R = nullptr;
    TbsAppMenu* M = nullptr;

    void SetUp() override
    {
        Make(500, 400);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        M = new TbsAppMenu(Form);
        M->SetParent(Form);
        M->Items()->Add();
        R->SetAppMenu(M);
        SF->SetSkinRibbon(R);
    }
    // The frame skin with an "appmenu" record whose caption picture is extra 3.
    void SkinWithCaption()
    {
        FrameSkin f;
        Def = std::make_unique<SyntheticSkin>();
        AddFrame(*Def, f);
        int p = Def->AddPicture(60, 20);
        Def->Block(p, Rect(0, 0, 60, 20), kExtra3, false);
        Def->Control("appmenu", "appmenu",
                     "pictureindex=" + std::to_string(Def->ActiveIndex(p)) +
                         "\nskinrect=0,0,10,10\nclientrect=2,2,8,8\ncaptionrect=0,0,60,20\ncaptionleftoffset=10\n"
                         "captiontopoffset=4");
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        M->SetSkinData(Model);
        Pump();
    }
};

}  // namespace

TEST_F(AppMenuFormTest, EscapeClosesTheMenuOnlyWhileTheFormIsActive)
{
    Show();
    R->ShowAppMenu();
    ASSERT_TRUE(SF->GetFormActive());
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(M->Visible());
    R->ShowAppMenu();
    auto* other = new TForm(Application);
    other->SetBounds(700, 500, 100, 100);
    other->AfterConstruction();
    other->Show();
    Pump();
    ASSERT_FALSE(SF->GetFormActive());
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(M->Visible());
    R->HideAppMenu(nullptr);
}

TEST_F(AppMenuFormTest, TheGripAnswersOnlyInItsCornerWhileOffered)
{
    Show();
    R->ShowAppMenu();
    const TPoint br = M->ClientToScreen(Point(M->Width() - 1, M->Height() - 1));
    auto hit = [&](int Dx, int Dy) {
        return SendMessageW(M->Handle(), WM_NCHITTEST, 0, MAKELPARAM(br.X - Dx, br.Y - Dy));
    };
    EXPECT_EQ(hit(0, 0), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(9, 9), HTBOTTOMRIGHT);
    EXPECT_NE(hit(10, 0), HTBOTTOMRIGHT);
    SF->SetWindowState(wsMaximized);
    Pump();
    EXPECT_NE(SendMessageW(M->Handle(), WM_NCHITTEST, 0,
                           MAKELPARAM(M->ClientToScreen(Point(M->Width() - 1, M->Height() - 1)).X,
                                      M->ClientToScreen(Point(M->Width() - 1, M->Height() - 1)).Y)),
              HTBOTTOMRIGHT);
}

TEST_F(AppMenuFormTest, TheMenusCaptionIsDrawnInTheFormsTitleWhileItIsOpen)
{
    Show();
    SkinWithCaption();
    EXPECT_TRUE(M->CanDrawAppMenuCaption());
    EXPECT_EQ(M->GetAppMenuCaptionOffset(), 10 + 100);
    const uint32_t before = Px(50, 20);
    EXPECT_NE(before, kExtra3);
    R->ShowAppMenu();
    Pump();
    EXPECT_EQ(Px(50, 20), kExtra3);  // stretched into (10, 4, 110, title bottom)
    EXPECT_NE(Px(50, 2), kExtra3);
    R->HideAppMenu(nullptr);
    Pump();
    EXPECT_EQ(Px(50, 20), before);
}

namespace {

class TQuietMenu : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl*, const TRect&, bool) override {}
};

}  // namespace

// The form's shortcut handler also serves the ribbon: the application button's menu takes its
// shortcuts, and Alt with a tab's accelerator shows that tab.
TEST_F(AppMenuFormTest, TheFormsShortcutsReachTheAppButtonMenuAndTheRibbonTabs)
{
    auto* menu = new TQuietMenu(Form);
    auto* item = new TMenuItem(Form);
    item->SetCaption(L"Save");
    item->SetShortCut(ShortCut('S', {ssCtrl}));
    int saved = 0;
    item->OnClick = [&saved](TObject*) { ++saved; };
    menu->Items()->Add(item);
    R->SetAppButtonPopupMenu(menu);
    for (const wchar_t* caption : {L"&Home", L"&View", L"&Tools"}) R->Tabs()->Add()->Page()->SetCaption(caption);
    Show();
    R->SetTabIndex(0);

    TMessage ctrlS{WM_KEYDOWN, 'S', 0, 0};
    vxwin::InjectKey(VK_CONTROL, true);
    Pump();
    bool handled = false;
    Form->OnShortCut(ctrlS, handled);
    vxwin::InjectKey(VK_CONTROL, false);
    Pump();
    EXPECT_TRUE(handled);
    EXPECT_EQ(saved, 1);

    // Alt+V shows the second tab and leaves the key to others.
    TMessage altV{WM_SYSKEYDOWN, 'V', 1 << 29, 0};
    handled = false;
    Form->OnShortCut(altV, handled);
    EXPECT_EQ(R->TabIndex(), 0) << "the Alt key is not down";
    vxwin::InjectKey(VK_MENU, true);
    Pump();
    Form->OnShortCut(altV, handled);
    vxwin::InjectKey(VK_MENU, false);
    Pump();
    EXPECT_EQ(R->TabIndex(), 1);
    EXPECT_FALSE(handled);
    EXPECT_EQ(saved, 1);
}

