// The places that open their menus through a skinned form's menu engine: the form's system menu,
// the tray menu, and a skinned menu button dropping a skinned popup menu (down while the menu
// shows, up again when it closes).
#include "skin/controls/skin_menu_button.h"

#include "tests/skin/form/menu_test_support.h"

namespace {

struct MenuSeams : MenuFixture {
    int IndexOf(int L, const wchar_t* Name) const
    {
        for (int i = 0; i < Level(L)->ItemCount(); ++i)
            if (Level(L)->Item(i)->MenuItem->Name() == Name) return i;
        return -1;
    }
};

TEST_F(MenuSeams, SystemMenuRunsItsCommandsThroughTheEngine)
{
    SF->PopupSysMenu(Form->Left() + 10, Form->Top() + 20);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_TRUE(SF->InMenu);
    const int max = IndexOf(0, L"BSF_MAXITEM");
    ASSERT_GE(max, 0);
    ClickEntry(0, max);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(SF->InMenu);
    EXPECT_EQ(SF->WindowState(), wsMaximized);
    EXPECT_EQ(Events, (menutest::Log{"form 1228"}));
}

TEST_F(MenuSeams, TrayMenuIsASkinnedPopupMenu)
{
    Skin();
    // The tray menu is a skinned popup menu wearing the form's skin.
    auto* tray = dynamic_cast<TbsSkinPopupMenu*>(SF->FSysTrayMenu);
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->SkinData(), Model);
    tray->Popup(300, 200);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(IndexOf(0, L"TRAY_BSF_RESTORE"), 0);
    Key(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuSeams, MenuButtonStaysDownWhileItsMenuShows)
{
    auto* button = new TbsSkinMenuButton(Form);
    button->SetParent(Form);
    button->SetBounds(20, 40, 90, 24);
    TbsSkinPopupMenu* m = Menu({L"A", L"B"});
    button->SetSkinPopupMenu(m);
    Pump();
    const TPoint o = button->ClientToScreen(Point(0, 0));
    for (bool choose : {true, false}) {
        SCOPED_TRACE(choose ? "an entry chosen" : "Escape");
        Events.clear();
        Click(o.X + 10, o.Y + 10);
        Pump();
        ASSERT_EQ(Levels(), 1);
        EXPECT_EQ(LevelBounds(0).Left, o.X);
        EXPECT_EQ(LevelBounds(0).Top, o.Y + 24);
        EXPECT_TRUE(button->Down());
        EXPECT_TRUE(button->MenuTracked());
        if (choose)
            ClickEntry(0, 1);
        else
            Key(VK_ESCAPE);
        EXPECT_EQ(Levels(), 0);
        EXPECT_FALSE(button->Down());
        EXPECT_FALSE(button->MenuTracked());
        EXPECT_EQ(Events.size(), choose ? 3u : 1u);
        if (choose) {
            EXPECT_EQ(Events[2], "click B");
        }
    }
}

}  // namespace
