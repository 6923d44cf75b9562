// The main window's add button (a flat menu speed button, 108 x 70, "resizetoolbutton") with the
// real menu engine of a skinned form: a left press opens the popup below it, the button stays
// pressed until the engine's close, then returns to its idle look.
#include <gtest/gtest.h>

#include "skin/controls/skin_menu_speed_button.h"
#include "tests/skin/form/menu_test_support.h"

namespace {
struct AddButton : MenuFixture {};
}  // namespace

TEST_F(AddButton, PressOpensTheRealPopupBelowAndTheCloseRaisesIt)
{
    auto* b = new TbsSkinMenuSpeedButton(Form);
    b->SetParent(Form);
    b->SetSkinDataName(L"resizetoolbutton");
    b->SetFlat(true);
    b->SetBounds(20, 10, 108, 70);
    TbsSkinPopupMenu* m = Menu({L"添加文件", L"添加文件夹"});
    b->SetSkinPopupMenu(m);
    Pump();
    const TPoint p = b->ClientToScreen(Point(40, 30));
    vxwin::InjectMouseMove(p.X, p.Y);
    vxwin::InjectMouseButton(0, true, p.X, p.Y);
    Pump();
    ASSERT_EQ(Levels(), 1);
    const TPoint origin = b->ClientToScreen(Point(0, 0));
    EXPECT_EQ(LevelBounds(0).Top, origin.Y + 70);
    EXPECT_TRUE(b->Down());
    vxwin::InjectMouseButton(0, false, p.X, p.Y);
    Pump();
    EXPECT_TRUE(b->Down()) << "the release is ignored while the menu is open";
    Key(VK_ESCAPE);
    EXPECT_FALSE(Engine->Visible());
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_TRUE(b->Transparent());
}
