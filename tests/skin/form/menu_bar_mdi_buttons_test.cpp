// The main menu bar's buttons for a maximized MDI child, without a skin record: where they sit,
// which are enabled, what a press does and the system-menu button's pressed state.
#include <gtest/gtest.h>

#include "skin/core/skin_messages.h"
#include "skin/form/main_menu_bar.h"
#include "tests/skin/form/mdi_test_support.h"

namespace {

struct MdiMenuBarButtons : MdiFixture {
    TbsSkinMainMenuBar* Bar = nullptr;

    void SetUp() override
    {
        MdiFixture::SetUp();
        auto* menu = new TbsSkinMainMenu(Main);
        auto* file = new TMenuItem(menu);
        file->SetCaption(L"&File");
        menu->Items()->Add(file);
        Bar = new TbsSkinMainMenuBar(Main);
        Bar->SetParent(Main);
        Bar->SetBounds(0, 0, 400, 22);
        Bar->SetSkinForm(MSF);
        MSF->SetMainMenuBar(Bar);
        Bar->SetMainMenu(menu);
        Pump();
    }
    TbsSkinMainMenuBarButton* Button(int I) const
    {
        return dynamic_cast<TbsSkinMainMenuBarButton*>(Bar->ObjectList[static_cast<size_t>(I)]);
    }
    // Lays the bar out as its paint does.
    void Layout()
    {
        TBitmap b;
        b.SetSize(Bar->Width(), Bar->Height());
        Bar->DrawBar(b.Canvas());
    }
    void Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0) { SendMessageW(Bar->Handle(), Msg, Keys, MAKELPARAM(X, Y)); }
    static TPoint Mid(const TbsMenuBarObject* O)
    {
        return Point((O->ObjectRect.Left + O->ObjectRect.Right) / 2, (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
    }
};

TEST_F(MdiMenuBarButtons, AMaximizedChildPutsItsButtonsAtBothEndsOfTheItems)
{
    TForm* a = Child(L"ChildA");
    EXPECT_EQ(Bar->ButtonsCount, 0);
    S(a)->SetWindowState(wsMaximized);
    ASSERT_EQ(Bar->ButtonsCount, 4);
    Layout();
    // Squares of the items area's height (2-20), 2 pixels apart.
    const int w = Bar->Width();
    struct Want {
        TbsStdCommand Command;
        TRect Rect;
    } want[] = {{cmSysMenu, Rect(2, 2, 20, 20)},
                {cmClose, Rect(w - 20, 2, w - 2, 20)},
                {cmMaximize, Rect(w - 40, 2, w - 22, 20)},
                {cmMinimize, Rect(w - 60, 2, w - 42, 20)}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(Button(i));
        EXPECT_EQ(Button(i)->Command, want[i].Command);
        EXPECT_EQ(Button(i)->ObjectRect, want[i].Rect);
        EXPECT_TRUE(Button(i)->Enabled);
    }
    // The first item follows the system-menu button.
    EXPECT_EQ(Bar->ObjectList[4]->ObjectRect.Left, 22);

    // A second child opening maximized changes nothing.
    Child(L"ChildB");
    EXPECT_EQ(Bar->ButtonsCount, 4);
    EXPECT_EQ(Bar->ObjectList.size(), 5u);

    // Restoring the children takes the buttons away.
    S(a)->SetWindowState(wsNormal);
    EXPECT_EQ(Bar->ButtonsCount, 0);
    EXPECT_EQ(Bar->ObjectList.size(), 1u);
}

TEST_F(MdiMenuBarButtons, MissingBorderIconsDisableMinimizeAndSystemMenuOnly)
{
    struct Case {
        TbsBorderIcons Icons;
        bool MinEnabled, SysEnabled;
    } cases[] = {
        {TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMaximize}, false, true},
        {TbsBorderIcons{TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize}, true, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        TForm* f = Child(L"Child" + std::to_wstring(n++));
        S(f)->SetBorderIcons(c.Icons);
        S(f)->SetWindowState(wsMaximized);
        ASSERT_EQ(Bar->ButtonsCount, 4);
        EXPECT_EQ(Button(0)->Enabled, c.SysEnabled);
        EXPECT_TRUE(Button(1)->Enabled);
        EXPECT_TRUE(Button(2)->Enabled);
        EXPECT_EQ(Button(3)->Enabled, c.MinEnabled);
        S(f)->SetWindowState(wsNormal);
        f->Free();
        Pump();
    }
}

TEST_F(MdiMenuBarButtons, APressRunsItsCommandOnlyWhenReleasedOnTheButton)
{
    TForm* a = Child(L"ChildA");
    Child(L"ChildB");
    a->Show();
    Pump();
    S(a)->SetWindowState(wsMaximized);
    Layout();
    const TPoint restore = Mid(Button(2));
    Mouse(WM_MOUSEMOVE, restore.X, restore.Y);
    Mouse(WM_LBUTTONDOWN, restore.X, restore.Y, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 200, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 200, 10);
    EXPECT_EQ(S(a)->WindowState(), wsMaximized);

    Layout();
    const TPoint minimize = Mid(Button(3));
    Mouse(WM_MOUSEMOVE, minimize.X, minimize.Y);
    Mouse(WM_LBUTTONDOWN, minimize.X, minimize.Y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, minimize.X, minimize.Y);
    Pump();
    EXPECT_EQ(S(a)->WindowState(), wsMinimized);
    EXPECT_FALSE(MSF->MDIChildMaximized());
    EXPECT_EQ(Bar->ButtonsCount, 0);
}

TEST_F(MdiMenuBarButtons, TheSystemMenuButtonStaysPressedUntilItsMenuClosesAndADoubleClickClosesTheChild)
{
    TForm* a = Child(L"ChildA");
    int closed = 0;
    a->OnClose = [&](TObject*, TCloseAction& Action) {
        ++closed;
        Action = caNone;
    };
    S(a)->SetWindowState(wsMaximized);
    Layout();
    const TPoint sys = Mid(Button(0));
    Mouse(WM_MOUSEMOVE, sys.X, sys.Y);
    Mouse(WM_LBUTTONDOWN, sys.X, sys.Y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, sys.X, sys.Y);
    EXPECT_TRUE(Button(0)->FDown);
    EXPECT_EQ(closed, 0);
    SendMessageW(Bar->Handle(), WM_SKINMENU_CLOSED, 0, 0);
    Pump();
    EXPECT_FALSE(Button(0)->FDown);

    Mouse(WM_MOUSEMOVE, sys.X, sys.Y);
    Mouse(WM_LBUTTONDBLCLK, sys.X, sys.Y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, sys.X, sys.Y);
    Pump();
    EXPECT_EQ(closed, 1);
}

}  // namespace
