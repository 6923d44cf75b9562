// The skinned form's system menu items in both of its forms (built in, or added around the
// application's own system menu), what they do, the tray menu, and linking a menu to a frame
// button.
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using SkinFormSystemMenu = SkinFormFixture;

std::vector<std::string> Names(TMenuItem* Root)
{
    std::vector<std::string> out;
    for (int i = 0; i < Root->Count(); ++i)
        out.push_back(Root->Items(i)->IsLine() ? "-" : StringToUtf8(Root->Items(i)->Name()));
    return out;
}

TMenuItem* Item(TMenuItem* Root, const wchar_t* Name)
{
    for (int i = 0; i < Root->Count(); ++i)
        if (Root->Items(i)->Name() == Name) return Root->Items(i);
    return nullptr;
}

TEST_F(SkinFormSystemMenu, BuiltInItemsFollowTheState)
{
    Make();
    Show();
    TbsBorderIcons all = SF->BorderIcons();
    SF->SetBorderIcons(all.Include(TbsBorderIcon::biMinimizeToTray));
    EXPECT_EQ(Names(SF->GetSysMenuItems()), (std::vector<std::string>{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP",
                                                                      "BSF_MINTOTRAY", "-", "BSF_CLOSE"}));
    EXPECT_EQ(Item(SF->GetSysMenuItems(), L"BSF_CLOSE")->Caption(), L"&Close");

    Item(SF->GetSysMenuItems(), L"BSF_MAXITEM")->Click();
    EXPECT_EQ(SF->WindowState(), wsMaximized);
    EXPECT_EQ(Names(SF->GetSysMenuItems()), (std::vector<std::string>{"BSF_MINITEM", "BSF_RESTORE", "BSF_ROLLUP",
                                                                      "BSF_MINTOTRAY", "-", "BSF_CLOSE"}));
    Item(SF->GetSysMenuItems(), L"BSF_RESTORE")->Click();
    EXPECT_EQ(SF->WindowState(), wsNormal);
    Item(SF->GetSysMenuItems(), L"BSF_ROLLUP")->Click();
    EXPECT_TRUE(SF->RollUpState());
    Item(SF->GetSysMenuItems(), L"BSF_RESTORE")->Click();
    EXPECT_FALSE(SF->RollUpState()) << "restore of a rolled-up normal form rolls it down";

    SF->SetBorderIcons(TbsBorderIcons{});
    EXPECT_EQ(Names(SF->GetSysMenuItems()), (std::vector<std::string>{"BSF_CLOSE"}))
        << "no separator before close alone";
}

TEST_F(SkinFormSystemMenu, ApplicationsOwnMenuGetsTheItemsAroundItsItems)
{
    Make();
    Show();
    TbsBorderIcons all = SF->BorderIcons();
    SF->SetBorderIcons(all.Include(TbsBorderIcon::biMinimizeToTray));
    auto* menu = new TPopupMenu(Form);
    for (const wchar_t* n : {L"A", L"B"}) {
        auto* i = new TMenuItem(menu);
        i->SetName(n);
        i->SetCaption(n);
        menu->Items()->Add(i);
    }
    SF->SetSystemMenu(menu);
    const std::vector<std::string> normal{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "BSF_MINTOTRAY",
                                          "A",           "B",           "BSF_CLOSE"};
    EXPECT_EQ(Names(SF->GetSysMenuItems()), normal);
    EXPECT_EQ(Names(SF->GetSysMenuItems()), normal) << "asked again: the old items are replaced, not repeated";
    SF->SetUseDefaultSysMenu(false);
    EXPECT_EQ(Names(SF->GetSysMenuItems()), normal) << "left as it is";
}

TEST_F(SkinFormSystemMenu, TrayMenuAndLinkedMenus)
{
    Make();
    Skin();
    Show();
    EXPECT_EQ(Names(SF->FSysTrayMenu->Items()), (std::vector<std::string>{"TRAY_BSF_RESTORE", "-", "TRAY_BSF_CLOSE"}));

    auto* menu = new TPopupMenu(Form);
    menu->Items()->Add(new TMenuItem(menu));
    SF->LinkMenu(L"nosuchobject", menu, true);
    for (TbsActiveSkinObject* o : SF->ObjectList)
        EXPECT_EQ(static_cast<TbsSkinButtonObject*>(o)->MenuItem, nullptr) << "an unknown name changes nothing";
    SF->LinkMenu(L"minbutton", menu, true);
    EXPECT_EQ(Button(cmMinimize)->MenuItem, menu->Items());
    EXPECT_TRUE(Button(cmMinimize)->FPopupUp);
}

}  // namespace
