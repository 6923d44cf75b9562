// The skinned status bar's size grip: reserved width, drawn lines or picture, hit tests, and a
// press in the grip that sizes the form.
#include <gtest/gtest.h>

#include "skin/controls/skin_status_bar.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct StatusBarTest : SkinControlFixture {
    TbsSkinStatusBar* Bar = nullptr;
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Bar = new TbsSkinStatusBar(Form);
        Bar->SetParent(Form);
    }
    LRESULT Hit(int X, int Y)
    {
        TPoint p = Screen(Bar, X, Y);
        return SendMessageW(Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    }
};

}  // namespace

TEST_F(StatusBarTest, TheGripReservesASquareAndDrawsLines)
{
    ShowForm();
    ASSERT_EQ(Bar->Height(), 21);
    ASSERT_EQ(Bar->Width(), 200);
    EXPECT_FALSE(Bar->GripPresent());
    EXPECT_EQ(Bar->GetSkinClientRect(), Rect(0, 0, 200, 21));
    Bar->SetSizeGrip(true);
    Pump();
    EXPECT_EQ(Bar->GetSkinClientRect(), Rect(0, 0, 179, 21));
    EXPECT_EQ(Bar->GripRect(), Rect(181, 0, 200, 19));
    // The first pair of lines starts 4 pixels into the grip's inner square, at its bottom.
    const uint32_t shadow = Rgb(ColorToCOLORREF(clBtnShadow)), face = Rgb(ColorToCOLORREF(clBtnFace));
    EXPECT_EQ(PixelAt(Bar, 187, 17), shadow);
    EXPECT_EQ(PixelAt(Bar, 186, 17), face);
    EXPECT_EQ(PixelAt(Bar, 197, 7), shadow);   // on its way up to the right edge
    EXPECT_EQ(PixelAt(Bar, 190, 17), shadow);  // the next line, 3 further
}

TEST_F(StatusBarTest, HitTestsFollowTheGrip)
{
    ShowForm();
    EXPECT_EQ(Hit(190, 10), HTCLIENT);
    Bar->SetSizeGrip(true);
    EXPECT_EQ(Hit(190, 10), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(181, 0), HTBOTTOMRIGHT);  // edges included
    EXPECT_EQ(Hit(180, 10), HTCLIENT);
    EXPECT_EQ(Hit(10, 10), HTCLIENT);
    Bar->SetShowGrip(false);
    EXPECT_EQ(Hit(190, 10), HTCLIENT);
    EXPECT_EQ(Bar->GetSkinClientRect(), Rect(0, 0, 200, 21));
}

TEST_F(StatusBarTest, APressInTheGripSizesTheForm)
{
    Bar->SetSizeGrip(true);
    ShowForm();
    TPoint g = Screen(Bar, 190, 10);
    Drag(g.X, g.Y, g.X + 30, g.Y + 20);
    Pump();
    EXPECT_EQ(Form->Width(), 230);
    EXPECT_EQ(Form->Height(), 140);
    EXPECT_EQ(Bar->Width(), 230);  // docked at the bottom, the bar follows
    EXPECT_EQ(Bar->Top(), 140 - 21);
}

TEST_F(StatusBarTest, SkinnedGrips)
{
    SyntheticSkin s;
    int p = s.AddPicture(30, 21);
    s.Block(p, Rect(0, 0, 20, 21), kNormal);
    s.Block(p, Rect(20, 0, 30, 8), kExtra1, false);
    s.Control("statusbar", "panel",
              "pictureindex=0\r\nskinrect=0,0,20,21\r\nlefttoppoint=2,2\r\nrighttoppoint=18,2\r\n"
              "leftbottompoint=2,19\r\nrightbottompoint=18,19\r\nclientrect=2,2,18,19\r\ngripperrect=20,0,30,8\r\n");
    s.Control("plain", "panel",
              "pictureindex=0\r\nskinrect=0,0,20,21\r\nlefttoppoint=2,2\r\nrighttoppoint=18,2\r\n"
              "leftbottompoint=2,19\r\nrightbottompoint=18,19\r\nclientrect=2,2,18,19\r\n");
    s.ExtraSections = "[SKINCOLORS]\r\ncbtnshadow=255\r\ncbtnhighlight=65280\r\n";
    s.LoadInto(Model);
    Bar->SetSizeGrip(true);
    Bar->SetSkinData(Model);
    ShowForm();
    // bvNone with a nine-part record: the client is the whole bar less the gripper's width.
    EXPECT_EQ(Bar->GetSkinClientRect(), Rect(0, 0, 190, 21));
    EXPECT_EQ(Bar->GripRect(), Rect(190, 13, 200, 21));
    EXPECT_EQ(PixelAt(Bar, 195, 15), kExtra1);
    // No gripper picture: lines in the skin's shadow and highlight colours.
    Bar->SetSkinDataName(L"plain");
    Bar->ChangeSkinData();
    Pump();
    EXPECT_EQ(PixelAt(Bar, 187, 17), 0xFF0000u);
    EXPECT_EQ(PixelAt(Bar, 188, 17), 0x00FF00u);
}
