// The windowless skinned bases and the speed button through injected input on the test clock:
// sizing rules through SetBounds, the built-in and skinned looks by state (hot, pressed, dragged
// off and back), flat transparency, groups, checked mode and the repeat timing.
#include <gtest/gtest.h>

#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_tool_bar.h"
#include "tests/skin/support/skin_control_fixture.h"
#include "tests/support/user_input.h"

using namespace skintest;

namespace {

const uint32_t kFrame = 0x3B6BB7, kHotFill = 0xC1D4F3, kDownFill = 0xA2BCE4;

struct SpeedButtonTest : SkinControlFixture {
    int Clicks = 0;

    TbsSkinSpeedButton* Make(int X = 10, int Y = 10)
    {
        auto* b = new TbsSkinSpeedButton(Form);
        b->SetParent(Form);
        b->SetBounds(X, Y, 30, 20);
        b->OnClick = [this](TObject*) { ++Clicks; };
        return b;
    }
    // The colour at the middle of B (clear of its frame and of an empty caption).
    uint32_t Middle(TControl* B) { return PixelAt(Form, B->Left() + 4, B->Top() + 4); }
    uint32_t Edge(TControl* B) { return PixelAt(Form, B->Left(), B->Top()); }
    void Move(TControl* B, int X, int Y)
    {
        const TPoint p = Screen(B, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
    }
    void Button(TControl* B, bool Down, int X = 5, int Y = 5)
    {
        const TPoint p = Screen(B, X, Y);
        vxwin::InjectMouseButton(0, Down, p.X, p.Y);
        Pump();
    }
    void SkinWithToolButton()
    {
        SyntheticSkin s;
        const int p = s.AddPicture(64, 10);
        s.Block(p, Rect(0, 0, 16, 10), kNormal);
        s.Block(p, Rect(16, 0, 32, 10), kHot);
        s.Block(p, Rect(32, 0, 48, 10), kDown);
        s.Control("toolbutton", "button",
                  "pictureindex=0\r\nskinrect=0,0,16,10\r\nclientrect=2,2,14,8\r\nlefttoppoint=3,3\r\n"
                  "righttoppoint=13,3\r\nleftbottompoint=3,7\r\nrightbottompoint=13,7\r\nactiveskinrect=16,0,32,"
                  "10\r\ndownskinrect=32,0,48,10\r\n");
        s.Control("fixed", "button", "pictureindex=0\r\nskinrect=0,0,16,10\r\nclientrect=2,2,14,8\r\n");
        s.LoadInto(Model);
    }
};

TEST_F(SpeedButtonTest, BuiltInLooksFollowTheMouse)
{
    auto* b = Make();
    ShowForm();
    EXPECT_EQ(Middle(b), Rgb(ColorToRGB(clBtnFace)));
    EXPECT_EQ(Edge(b), Rgb(ColorToRGB(DarkenColor(clBtnFace, 15))));
    Move(b, 5, 5);
    EXPECT_EQ(Middle(b), kHotFill);
    EXPECT_EQ(Edge(b), kFrame);
    Button(b, true);
    EXPECT_EQ(Middle(b), kDownFill);
    // Dragged off: no longer pressed; back on: pressed again.
    Move(b, 60, 60);
    EXPECT_EQ(Middle(b), Rgb(ColorToRGB(clBtnFace)));
    Move(b, 6, 6);
    EXPECT_EQ(Middle(b), kDownFill);
    Button(b, false, 6, 6);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Middle(b), kHotFill);
    // Released outside: no click.
    Button(b, true, 6, 6);
    Move(b, 60, 60);
    Button(b, false, 60, 60);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(b->Down());
}

TEST_F(SpeedButtonTest, FlatButtonShowsTheParentAtRestAndItsLookOnHover)
{
    SkinWithToolButton();
    for (bool skinned : {false, true}) {
        auto* b = Make();
        b->SetFlat(true);
        if (skinned) b->SetSkinData(Model);
        ShowForm();
        EXPECT_EQ(Middle(b), 0xFFFFFFu) << skinned;  // the white form behind
        Move(b, 5, 5);
        EXPECT_EQ(Middle(b), skinned ? kHot : kHotFill) << skinned;
        EXPECT_FALSE(b->Morphing());
        Move(b, 80, 80);
        EXPECT_EQ(Middle(b), 0xFFFFFFu) << skinned;
        delete b;
    }
}

TEST_F(SpeedButtonTest, SkinLooksByState)
{
    SkinWithToolButton();
    auto* b = Make();
    b->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(Middle(b), kNormal);
    Move(b, 5, 5);
    EXPECT_EQ(Middle(b), kHot);
    Button(b, true);
    EXPECT_EQ(Middle(b), kDown);
    Button(b, false);
    EXPECT_EQ(Clicks, 1);
    // RefreshButton drops a hot, pressed look.
    Button(b, true);
    b->RefreshButton();
    Pump();
    EXPECT_EQ(Middle(b), kNormal);
    Button(b, false);
}

TEST_F(SpeedButtonTest, ResizeModeThroughSetBounds)
{
    SkinWithToolButton();
    auto* b = Make();
    b->SetSkinData(Model);
    b->SetBounds(10, 10, 50, 30);
    EXPECT_EQ(b->Width(), 50);  // nine-part: any size
    EXPECT_EQ(b->Height(), 30);
    b->SetSkinDataName(L"fixed");
    b->SetBounds(10, 10, 50, 30);  // the current size: no sizing rule at all
    EXPECT_EQ(b->Width(), 50);
    b->SetBounds(10, 10, 60, 35);
    EXPECT_EQ(b->Width(), 16);  // fixed: the record's size
    EXPECT_EQ(b->Height(), 10);
    // Without a record the default width applies at a skin change.
    b->SetSkinDataName(L"none");
    b->SetDefaultWidth(40);
    b->ChangeSkinData();
    EXPECT_EQ(b->Width(), 40);
}

TEST_F(SpeedButtonTest, GroupsAndCheckedMode)
{
    auto* a = Make(10, 10);
    auto* b = Make(50, 10);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    ShowForm();
    Click(Screen(a, 5, 5).X, Screen(a, 5, 5).Y);
    Pump();
    EXPECT_TRUE(a->Down());
    Click(Screen(b, 5, 5).X, Screen(b, 5, 5).Y);
    Pump();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    // Without AllowAllUp a down button stays down; with it a second click raises it.
    Click(Screen(b, 5, 5).X, Screen(b, 5, 5).Y);
    Pump();
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    Click(Screen(b, 5, 5).X, Screen(b, 5, 5).Y);
    Pump();
    EXPECT_FALSE(b->Down());

    auto* c = Make(90, 10);
    c->SetCheckedMode(true);
    Clicks = 0;
    for (int i = 0; i < 2; ++i) {
        Click(Screen(c, 5, 5).X, Screen(c, 5, 5).Y);
        Pump();
        EXPECT_EQ(c->Down(), i == 0);
    }
    EXPECT_EQ(Clicks, 2);
}

TEST_F(SpeedButtonTest, RepeatClicksFrom500PlusIntervalAndOnRelease)
{
    auto* b = Make();
    b->SetRepeatMode(true);
    b->SetRepeatInterval(100);
    ShowForm();
    Move(b, 5, 5);
    Button(b, true);
    EXPECT_TRUE(b->Repeating());
    Wait(590);
    EXPECT_EQ(Clicks, 0);
    Wait(20);
    EXPECT_EQ(Clicks, 1);  // at 600
    Wait(390);
    EXPECT_EQ(Clicks, 5);  // 600, 700, 800, 900, 1000
    Button(b, false);
    EXPECT_EQ(Clicks, 6);
    EXPECT_FALSE(b->Repeating());
}

TEST_F(SpeedButtonTest, TopComesFromTheToolBarsClientRectangle)
{
    SyntheticSkin s;
    const int p = s.AddPicture(40, 67);
    s.Block(p, Rect(0, 0, 40, 67), kNormal);
    s.Control("toolpanel", "panel",
              "pictureindex=0\r\nskinrect=0,0,40,67\r\nclientrect=2,3,38,64\r\nlefttoppoint=3,3\r\n"
              "righttoppoint=37,3\r\nleftbottompoint=3,64\r\nrightbottompoint=37,64\r\n");
    s.LoadInto(Model);
    auto* bar = new TbsSkinToolBar(Form);
    bar->SetParent(Form);
    bar->SetSkinDataName(L"toolpanel");
    bar->SetSkinData(Model);
    bar->SetBounds(0, 0, 200, 67);
    bar->SetAdjustControls(true);
    auto* b = new TbsSkinSpeedButton(Form);
    b->SetParent(bar);
    b->SetBounds(5, 0, 30, 20);
    EXPECT_EQ(b->Top(), 3 + (61 - 20) / 2);  // 23 for a 20-pixel button in y 3..64
    b->SetBounds(5, 40, 30, 19);
    EXPECT_EQ(b->Top(), 3 + (61 - 19) / 2);
}

// A glyph of four frames: normal, disabled, pressed (with the mouse over it), hot.
TEST_F(SpeedButtonTest, GlyphFramesFollowTheState)
{
    const uint32_t frames[4] = {0xC00000, 0x00C000, 0x0000C0, 0xC0C000};
    TBitmap glyph;
    glyph.SetPixelFormat(pf32bit);
    glyph.SetSize(40, 10);
    for (int f = 0; f < 4; ++f)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) glyph.SetPixelArgb(f * 10 + x, y, 0xFF000000u | frames[f]);
    for (int f = 0; f < 4; ++f) glyph.SetPixelArgb(f * 10, 9, 0xFF010203u);  // each frame's transparent corner
    auto* b = Make();
    b->SetBounds(10, 10, 40, 30);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(4);
    ShowForm();
    auto centre = [&] { return PixelAt(Form, b->Left() + 20, b->Top() + 15); };
    EXPECT_EQ(centre(), frames[0]);
    Move(b, 20, 15);
    EXPECT_EQ(centre(), frames[3]);
    Button(b, true, 20, 15);
    EXPECT_EQ(centre(), frames[2]);
    Button(b, false, 20, 15);
    Move(b, 80, 80);
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(centre(), frames[1]);
    // With one frame the whole picture is that frame, in every state.
    b->SetEnabled(true);
    b->SetNumGlyphs(1);
    Move(b, 20, 15);
    EXPECT_EQ(centre(), frames[2]);  // the middle of the 40-pixel picture
}

// A freed skin model is forgotten: the button falls back to its built-in look and paints.
TEST_F(SpeedButtonTest, AFreedSkinModelIsForgotten)
{
    SkinWithToolButton();
    auto* b = Make();
    b->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(Middle(b), kNormal);
    delete Model;
    Model = nullptr;
    EXPECT_EQ(b->SkinData(), nullptr);
    b->Repaint();
    Pump();
    EXPECT_EQ(Middle(b), Rgb(ColorToRGB(clBtnFace)));
}

}  // namespace
