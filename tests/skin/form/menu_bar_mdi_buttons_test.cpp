// The main menu bar's buttons for a maximized MDI child: where they sit, which are enabled, what
// a press does and the system-menu button's pressed state; with a skin, buttons from the bar
// record's objects, a slot whose object is missing, and the morph between normal and hot.
#include <gtest/gtest.h>

#include "skin/core/skin_messages.h"
#include "skin/form/main_menu_bar.h"
#include "tests/skin/form/mdi_test_support.h"
#include "tests/skin/support/synthetic_menu_skin.h"

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

// The bar's record names four button objects; the skin has three of them (16 x 16: normal in
// kNormal, hot in kHot, pressed in kDown, morphing), the system-menu one is missing.
TEST_F(MdiMenuBarButtons, SkinnedButtonsComeFromTheBarsRecordAndAMissingOneKeepsItsSlot)
{
    using namespace skintest;
    Def = std::make_unique<SyntheticSkin>();
    MenuSkin m;
    m.MenuBarKeys = "minbutton=mdimin\r\nmaxbutton=mdimax\r\nclosebutton=mdiclose\r\nsysmenubutton=mdisys\r\n";
    AddMenuSkin(*Def, m);
    const int p = Def->AddPicture(48, 16);
    Def->Block(p, Rect(0, 0, 16, 16), kNormal, false);
    Def->Block(p, Rect(16, 0, 32, 16), kHot, false);
    Def->Block(p, Rect(32, 0, 48, 16), kDown, false);
    for (const char* name : {"mdimin", "mdimax", "mdiclose"})
        Def->Object(name, "mainmenubarbutton",
                    "activepictureindex=" + std::to_string(Def->ActiveIndex(p)) +
                        "\r\nskinrect=0,0,16,16\r\nactiveskinrect=16,0,32,16\r\ndownrect=32,0,48,16\r\n"
                        "morphing=1\r\ncommand=" +
                        (name == std::string("mdimin")   ? "cmminimize"
                         : name == std::string("mdimax") ? "cmmaximize"
                                                         : "cmclose") +
                        "\r\n");
    Def->LoadInto(Model);
    Bar->SetSkinData(Model);
    Pump();

    TForm* a = Child(L"ChildA");
    S(a)->SetWindowState(wsMaximized);
    ASSERT_EQ(Bar->ButtonsCount, 4);
    TBitmap b;
    b.SetSize(Bar->Width(), Bar->Height());
    Bar->DrawBar(b.Canvas());
    // Items area 2-22 high: the skinned buttons are their pictures' size, centred in it; the
    // missing one is a square of its height with the system-menu command (not the zero value).
    const int w = Bar->Width();
    struct Want {
        TbsStdCommand Command;
        bool Skinned;
        TRect Rect;
    } want[] = {{cmSysMenu, false, Rect(2, 2, 22, 22)},
                {cmClose, true, Rect(w - 18, 4, w - 2, 20)},
                {cmMaximize, true, Rect(w - 36, 4, w - 20, 20)},
                {cmMinimize, true, Rect(w - 54, 4, w - 38, 20)}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(Button(i));
        EXPECT_EQ(Button(i)->Command, want[i].Command);
        EXPECT_EQ(Button(i)->FSkinSupport, want[i].Skinned);
        EXPECT_EQ(Button(i)->ObjectRect, want[i].Rect);
    }
    auto pixel = [&](const TbsMenuBarObject* O) {
        return RgbOf(b.Canvas()->Pixels(O->ObjectRect.Left + 3, O->ObjectRect.Top + 3));
    };
    EXPECT_EQ(pixel(Button(1)), kNormal);

    // Half-way through the morph to the hot look: every channel between the two looks.
    TbsSkinMainMenuBarButton* close = Button(1);
    ASSERT_TRUE(close->EnableMorphing());
    close->Active = true;
    close->SetMorphKf(0.5);
    Bar->DrawBar(b.Canvas());
    const uint32_t mid = pixel(close);
    for (int shift : {0, 8, 16}) {
        const int c = (mid >> shift) & 0xFF, n = (kNormal >> shift) & 0xFF, h = (kHot >> shift) & 0xFF;
        EXPECT_GE(c, std::min(n, h)) << shift;
        EXPECT_LE(c, std::max(n, h)) << shift;
    }
    EXPECT_NE(mid, kNormal);
    EXPECT_NE(mid, kHot);
    close->SetMorphKf(1);
    Bar->DrawBar(b.Canvas());
    EXPECT_EQ(pixel(close), kHot);
    // Pressed with the pointer on it: the pressed look, no morph.
    close->FDown = close->FMouseIn = true;
    Bar->DrawBar(b.Canvas());
    EXPECT_EQ(pixel(close), kDown);
    close->FDown = false;
}

}  // namespace
