// The skinned menu button without real menus: stand-in menus record what the button asks of
// them and close on demand (WM_SKINMENU_CLOSED, the images menu's close event).
#include <gtest/gtest.h>

#include "skin/controls/skin_menu_button.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

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
    // The menu engine's close: 1228 to the control that opened the menu.
    void Close()
    {
        if (auto* w = dynamic_cast<TWinControl*>(Control)) SendMessageW(w->Handle(), WM_SKINMENU_CLOSED, 0, 0);
    }
    int Shown = 0;
    TControl* Control = nullptr;
    TRect Where{};
    bool Up = true;
};

class TTestImagesMenu : public TbsSkinImagesMenuBase {
public:
    explicit TTestImagesMenu(TComponent* AOwner, int Images) : TbsSkinImagesMenuBase(AOwner), FImages(this, 8, 8)
    {
        TBitmap b(8, 8);
        for (int i = 0; i < Images; ++i) FImages.Add(&b, nullptr);
    }
    bool SelectedItem(String& Caption, int& ImageIndex) const override
    {
        Caption = L"item";
        ImageIndex = 0;
        return FImages.Count() > 0;
    }
    TCustomImageList* Images() const override { return const_cast<TCustomImageList*>(&FImages); }
    void PopupFromRect(const TRect&) override
    {
        if (FImages.Count() > 0) ++Shown;  // an empty list shows no grid
    }
    void Close()
    {
        if (OnInternalMenuClose) OnInternalMenuClose(this);
    }
    int Shown = 0;

private:
    TCustomImageList FImages;
};

struct MenuButtonTest : SkinControlFixture {
    TbsSkinMenuButton* B = nullptr;
    TTestPopupMenu* Menu = nullptr;
    int Clicks = 0, Ups = 0, Shows = 0, Hides = 0;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Menu = new TTestPopupMenu(Form);
        B = new TbsSkinMenuButton(Form);
        B->SetParent(Form);
        B->SetBounds(10, 10, 60, 20);
        B->SetCanFocused(false);
        B->SetSkinPopupMenu(Menu);
        B->OnClick = [this](TObject*) { ++Clicks; };
        B->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { ++Ups; };
        B->OnShowTrackMenu = [this](TObject*) { ++Shows; };
        B->OnHideTrackMenu = [this](TObject*) { ++Hides; };
        ShowForm();
    }
    void ClickAt(int X, int Y = 10)
    {
        TPoint p = Screen(B, X, Y);
        Click(p.X, p.Y);
        Pump();
    }
};

}  // namespace

TEST_F(MenuButtonTest, TrackModeOpensOnlyFromTheDropDownSection)
{
    B->SetTrackButtonMode(true);
    ClickAt(60 - 16);  // one pixel left of the section: a plain click on release
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Menu->Shown, 0);
    EXPECT_FALSE(B->MenuTracked());
    ClickAt(60 - 15);  // the section's left edge
    EXPECT_EQ(Menu->Shown, 1);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(B->MenuTracked());
    EXPECT_TRUE(B->Down());
    // Below the button, at its screen rectangle, for the button.
    EXPECT_EQ(Menu->Control, B);
    EXPECT_EQ(Menu->Where, Bounds(10, 10, 60, 20));
    EXPECT_FALSE(Menu->Up);
    EXPECT_EQ(Shows, 1);
}

TEST_F(MenuButtonTest, WhileTrackingReleasesAreIgnoredAndTheCloseRaisesIt)
{
    ClickAt(5);  // without track mode anywhere opens
    EXPECT_EQ(Menu->Shown, 1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Ups, 0);  // the release was not the button's
    // Leaving and entering only move the hot flag.
    vxwin::InjectMouseMove(150, 100);
    Pump();
    EXPECT_FALSE(B->MouseIn());
    EXPECT_TRUE(B->Down());
    // The menu closes with the cursor outside: up and not hot.
    Menu->Close();
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MouseIn());
    EXPECT_EQ(Hides, 1);
    // Open again and close with the cursor over it: hot.
    ClickAt(5);
    vxwin::InjectMouseMove(20, 15);
    Pump();
    Menu->Close();
    EXPECT_FALSE(B->Down());
    EXPECT_TRUE(B->MouseIn());
    EXPECT_EQ(Clicks, 0);
}

TEST_F(MenuButtonTest, TheSpaceKeyOpensOrClicksByTrackMode)
{
    B->SetCanFocused(true);
    B->SetFocus();
    Pump();
    vxwin::InjectKey(VK_SPACE, true);
    Pump();
    EXPECT_EQ(Menu->Shown, 1);
    vxwin::InjectKey(VK_SPACE, false);
    Pump();
    EXPECT_EQ(Clicks, 0);
    Menu->Close();
    B->SetTrackButtonMode(true);
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(Menu->Shown, 1);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(MenuButtonTest, WithoutMenusItIsAPlainButton)
{
    B->SetSkinPopupMenu(nullptr);
    EXPECT_FALSE(B->CanMenuTrack(5, 5));
    ClickAt(5);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(B->MenuTracked());
}

TEST_F(MenuButtonTest, AnEmptyImagesMenuLeavesTheButtonUp)
{
    B->SetSkinPopupMenu(nullptr);
    auto* grid = new TTestImagesMenu(Form, 0);
    B->SetSkinImagesMenu(grid);
    ClickAt(5);
    EXPECT_EQ(grid->Shown, 0);
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Hides, 1);
    // The next press opens again.
    ClickAt(5);
    EXPECT_EQ(Hides, 2);
}

TEST_F(MenuButtonTest, TheImagesMenuClosesThroughItsEventAndIsUnhookedWithTheButton)
{
    B->SetSkinPopupMenu(nullptr);
    auto* grid = new TTestImagesMenu(Form, 2);
    B->SetSkinImagesMenu(grid);
    ClickAt(5);
    EXPECT_EQ(grid->Shown, 1);
    EXPECT_TRUE(B->MenuTracked());
    grid->Close();
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_FALSE(B->Down());
    ASSERT_TRUE(grid->OnInternalChange);
    ASSERT_TRUE(grid->OnInternalMenuClose);
    // Given to another button, the menu forgets this one.
    auto* other = new TbsSkinButton(Form);
    B->SetSkinImagesMenu(nullptr);
    EXPECT_FALSE(grid->OnInternalChange);
    EXPECT_FALSE(grid->OnInternalMenuClose);
    other->SetSkinImagesMenu(grid);
    ASSERT_TRUE(grid->OnInternalChange);
    other->Free();
    EXPECT_FALSE(grid->OnInternalChange);
    grid->Close();  // nothing is called back
}

TEST_F(MenuButtonTest, DropDownFromCode)
{
    B->DropDown();
    EXPECT_TRUE(B->Down());
    EXPECT_TRUE(B->MenuTracked());
    EXPECT_EQ(Menu->Shown, 1);
    Menu->Close();
    EXPECT_FALSE(B->Down());
}
