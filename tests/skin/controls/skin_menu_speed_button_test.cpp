// The menu speed button with stand-in menus that record what it asks and close on demand: the
// whole button or only its track strip opening the menu, both menus, no menu able to open, the
// images menu's hook, and the built-in looks while the menu is open.
#include <gtest/gtest.h>

#include "skin/controls/skin_menu_speed_button.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"
#include "tests/support/user_input.h"

using namespace skintest;

namespace {

class TStandInPopup : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool) override
    {
        ++Shown;
        Opener = Opens ? ACtrl : nullptr;
        Where = R;
    }
    bool OpenedFor(const TControl* ACtrl) const override { return ACtrl == Opener; }
    void Close()
    {
        if (Opener) Opener->Perform(WM_SKINMENU_CLOSED, 0, 0);
    }
    bool Opens = true;
    int Shown = 0;
    TControl* Opener = nullptr;
    TRect Where{};
};

class TStandInImages : public TbsSkinImagesMenuBase {
public:
    TStandInImages(TComponent* AOwner, int Images) : TbsSkinImagesMenuBase(AOwner), FImages(this, 8, 8)
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
        if (FImages.Count() > 0) ++Shown;
    }
    void Close()
    {
        if (OnInternalMenuClose) OnInternalMenuClose(this);
    }
    int Shown = 0;

private:
    TCustomImageList FImages;
};

const uint32_t kDownFill = 0xA2BCE4;

struct MenuSpeedButtonTest : SkinControlFixture {
    TbsSkinMenuSpeedButton* B = nullptr;
    TStandInPopup* Menu = nullptr;
    int Clicks = 0, Shows = 0, Hides = 0;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 200, 120);
        Menu = new TStandInPopup(Form);
        // The main window's add button.
        B = new TbsSkinMenuSpeedButton(Form);
        B->SetParent(Form);
        B->SetSkinDataName(L"resizetoolbutton");
        B->SetFlat(true);
        B->SetBounds(10, 10, 108, 70);
        B->SetCaption(L"");
        B->SetSkinPopupMenu(Menu);
        B->OnClick = [this](TObject*) { ++Clicks; };
        B->OnShowTrackMenu = [this](TObject*) { ++Shows; };
        B->OnHideTrackMenu = [this](TObject*) { ++Hides; };
        ShowForm();
    }
    void Press(int X, int Y, bool Down)
    {
        const TPoint p = Screen(B, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        vxwin::InjectMouseButton(0, Down, p.X, p.Y);
        Pump();
    }
    uint32_t At(int X, int Y) { return PixelAt(Form, B->Left() + X, B->Top() + Y); }
};

TEST_F(MenuSpeedButtonTest, PressAnywhereOpensBelowAndStaysDownUntilTheClose)
{
    Press(50, 30, true);
    EXPECT_EQ(Menu->Shown, 1);
    const TPoint origin = Screen(B, 0, 0);
    EXPECT_EQ(Menu->Where, Bounds(origin.X, origin.Y, 108, 70));
    EXPECT_TRUE(B->MenuTracked());
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(At(50, 30), kDownFill);
    Press(50, 30, false);  // ignored while open
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Clicks, 0);
    Menu->Close();
    Pump();
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_EQ(Hides, 1);
    EXPECT_EQ(At(50, 30), 0xFFFFFFu);  // flat: the transparent idle look on the white form
}

TEST_F(MenuSpeedButtonTest, TrackModeOpensOnlyFromTheStrip)
{
    B->SetTrackButtonMode(true);
    Press(93, 30, true);
    EXPECT_EQ(Menu->Shown, 1);
    Menu->Close();
    Pump();
    Press(92, 30, true);
    EXPECT_EQ(Menu->Shown, 1);
    Press(92, 30, false);
    EXPECT_EQ(Clicks, 1);
    // NewStyle at the bottom: the strip is y 55 to 70.
    B->SetNewStyle(true);
    B->SetTrackPosition(bstpBottom);
    EXPECT_EQ(B->SkinDataName(), L"resizetoolbutton");
    EXPECT_TRUE(B->CanMenuTrack(10, 55));
    EXPECT_TRUE(B->CanMenuTrack(10, 70));
    EXPECT_FALSE(B->CanMenuTrack(100, 54));
    B->SetNewStyle(false);
    EXPECT_EQ(B->SkinDataName(), L"resizetoolbutton");
}

TEST_F(MenuSpeedButtonTest, BothMenusOpenAndNoMenuReleasesAtOnce)
{
    auto* images = new TStandInImages(Form, 2);
    B->SetSkinImagesMenu(images);
    Press(50, 30, true);
    EXPECT_EQ(Shows, 2);
    EXPECT_EQ(Menu->Shown, 1);
    EXPECT_EQ(images->Shown, 1);
    images->Close();
    Pump();
    EXPECT_FALSE(B->Down());
    Press(50, 30, false);

    // Neither menu can open: released at once, as the close would.
    auto* empty = new TStandInImages(Form, 0);
    B->SetSkinImagesMenu(empty);
    EXPECT_EQ(images->OnInternalChange, nullptr);  // the old menu is unhooked
    Menu->Opens = false;
    Hides = 0;
    Press(50, 30, true);
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_EQ(Hides, 1);
    Press(50, 30, false);
    // A freed button leaves no hook in the menu.
    delete B;
    EXPECT_EQ(empty->OnInternalChange, nullptr);
    EXPECT_EQ(empty->OnInternalMenuClose, nullptr);
}

}  // namespace
