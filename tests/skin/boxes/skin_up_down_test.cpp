// The up-down driven by injected input on the test clock: position bounds, the press-and-hold
// repeat and its pauses, steps past the range, clicks without increment, every mouse button,
// and its built-in, skinned and resized-button looks.
#include <gtest/gtest.h>

#include "skin/boxes/skin_up_down.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

// Picture 0: the control's face, the up button's hot and pressed pictures, the down button's hot
// one (its pressed one falls back to it), and a nine-part "resizebutton" in three states.
void AddUpDownSkin(SyntheticSkin& s)
{
    const int p = s.AddPicture(60, 20);
    s.Block(p, Rect(0, 0, 20, 10), kNormal);
    s.Block(p, Rect(20, 0, 30, 10), kHot);
    s.Block(p, Rect(30, 0, 40, 10), kDown);
    s.Block(p, Rect(40, 0, 50, 10), kExtra1);
    s.Block(p, Rect(0, 10, 10, 20), kExtra2);
    s.Block(p, Rect(10, 10, 20, 20), kExtra3);
    s.Block(p, Rect(20, 10, 30, 20), kFocused);
    const std::string buttons =
        "skinrect=0,0,20,10\r\nupbuttonrect=10,0,20,10\r\nactiveupbuttonrect=20,0,30,10\r\n"
        "downupbuttonrect=30,0,40,10\r\ndownbuttonrect=0,0,10,10\r\nactivedownbuttonrect=40,0,50,10\r\n";
    s.Control("hupdown", "updown", "pictureindex=0\r\n" + buttons);
    s.Control("nopicture", "updown", "pictureindex=7\r\n" + buttons);
    s.Control("resizebutton", "button",
              "pictureindex=0\r\nskinrect=0,10,10,20\r\nactiveskinrect=10,10,20,20\r\ndownskinrect=20,10,30,20\r\n"
              "lefttoppoint=2,2\r\nrighttoppoint=8,2\r\nleftbottompoint=2,8\r\nrightbottompoint=8,8\r\n"
              "clientrect=2,2,8,8\r\nfontcolor=0\r\nactivefontcolor=0\r\ndownfontcolor=0\r\n"
              "disabledfontcolor=" +
                  IniColor(0x00FF00) + "\r\n");
}

struct UpDownTest : BoxFixture {
    SyntheticSkin Skin;
    int Changes = 0, Ups = 0, Downs = 0;

    void SetUp() override
    {
        BoxFixture::SetUp();
        AddUpDownSkin(Skin);
        Skin.LoadInto(Model);
    }
    // 50 x 25, horizontal: the down button is the left half, the up button the right half.
    TbsSkinUpDown* Make()
    {
        auto* u = new TbsSkinUpDown(Form);
        u->SetParent(Form);
        u->SetBounds(10, 10, 50, 25);
        u->OnChange = [this](TObject*) { ++Changes; };
        u->OnUpButtonClick = [this](TObject*) { ++Ups; };
        u->OnDownButtonClick = [this](TObject*) { ++Downs; };
        return u;
    }
    // How many pixels of R show the colour.
    static int Count(TWinControl* C, const TRect& R, uint32_t Rgb0)
    {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) n += PixelAt(C, x, y) == Rgb0;
        return n;
    }
};

}  // namespace

TEST_F(UpDownTest, PositionIgnoresWritesOutsideTheRangeAndBoundsPullItIn)
{
    TbsSkinUpDown* u = Make();
    struct Row {
        const char* what;
        std::function<void()> act;
        int position, changes;
    } rows[] = {
        {"inside", [&] { u->SetPosition(40); }, 40, 1},        {"same value again", [&] { u->SetPosition(40); }, 40, 2},
        {"above Max", [&] { u->SetPosition(101); }, 40, 2},    {"below Min", [&] { u->SetPosition(-1); }, 40, 2},
        {"Max below Position", [&] { u->SetMax(30); }, 30, 2}, {"Min above Position", [&] { u->SetMin(35); }, 35, 2},
        {"now refused", [&] { u->SetPosition(31); }, 35, 2},
    };
    for (const Row& r : rows) {
        r.act();
        EXPECT_EQ(u->Position(), r.position) << r.what;
        EXPECT_EQ(Changes, r.changes) << r.what;
    }
}

TEST_F(UpDownTest, HoldingWaitsThenStepsEvery100msAndTheReleaseStepsOnceMore)
{
    TbsSkinUpDown* u = Make();
    ShowForm();
    Press(u, 37, 12);
    Wait(590);
    EXPECT_EQ(u->Position(), 0) << "the 500 ms tick only ends the wait";
    Wait(20);
    EXPECT_EQ(u->Position(), 1);
    Wait(100);
    EXPECT_EQ(u->Position(), 2);
    Release(u, 37, 12);
    EXPECT_EQ(u->Position(), 3);
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Ups, 1) << "repeat steps never click";
    // A short click steps once; the down button steps down.
    ClickAt(u, 5, 12);
    Wait(700);
    EXPECT_EQ(u->Position(), 2);
    EXPECT_EQ(Downs, 1);
}

TEST_F(UpDownTest, LeavingTheHeldButtonPausesAndComingBackRepeatsEvery50ms)
{
    TbsSkinUpDown* u = Make();
    ShowForm();
    Press(u, 37, 12);
    Wait(650);
    ASSERT_EQ(u->Position(), 1);
    // Onto the other button: it does not turn hot, and the repeat pauses.
    MoveTo(u, 5, 12);
    EXPECT_FALSE(u->Buttons[1].MouseIn);
    EXPECT_EQ(PixelAt(u, 2, 2), Shown(clBtnFace));
    Wait(300);
    EXPECT_EQ(u->Position(), 1);
    MoveTo(u, 37, 12);
    Wait(110);
    EXPECT_EQ(u->Position(), 3);
    // Released away from it: no step, no click.
    MoveTo(u, 5, 12);
    Release(u, 5, 12);
    Wait(300);
    EXPECT_EQ(u->Position(), 3);
    EXPECT_EQ(Ups, 0);
}

TEST_F(UpDownTest, StepsPastTheRangeAndWithoutIncrementStillClick)
{
    TbsSkinUpDown* u = Make();
    ShowForm();
    u->SetPosition(98);
    u->SetIncrement(3);
    Changes = 0;
    ClickAt(u, 37, 12);
    EXPECT_EQ(u->Position(), 98);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Ups, 1);

    u->SetIncrement(0);
    Press(u, 5, 12);
    Wait(1000);
    Release(u, 5, 12);
    EXPECT_EQ(u->Position(), 98);
    EXPECT_EQ(Downs, 1);
}

TEST_F(UpDownTest, EveryMouseButtonPressesAndVerticalPutsUpOnTop)
{
    TbsSkinUpDown* u = Make();
    ShowForm();
    for (int button : {0, 1, 2}) ClickAt(u, 37, 12, button);
    EXPECT_EQ(u->Position(), 3);
    u->SetOrientation(udVertical);
    u->SetBounds(10, 10, 20, 40);
    ClickAt(u, 10, 5);
    EXPECT_EQ(u->Position(), 4);
    ClickAt(u, 10, 35);
    EXPECT_EQ(u->Position(), 3);
}

TEST_F(UpDownTest, BuiltInLookByState)
{
    TbsSkinUpDown* u = Make();
    ShowForm();
    const TRect up = Rect(25, 0, 50, 25);
    EXPECT_EQ(PixelAt(u, 25, 0), Shown(clBtnShadow));
    EXPECT_EQ(PixelAt(u, 27, 2), Shown(clBtnFace));
    EXPECT_GT(Count(u, up, 0x000000), 0) << "a black arrow";
    MoveTo(u, 37, 12);
    EXPECT_EQ(PixelAt(u, 25, 0), Rgb(kBoxHotFrame));
    EXPECT_EQ(PixelAt(u, 27, 2), Rgb(kBoxHotFill));
    Press(u, 37, 12);
    EXPECT_EQ(PixelAt(u, 27, 2), Rgb(kBoxDownFill));
    Release(u, 37, 12);
    u->SetEnabled(false);
    Pump();
    EXPECT_EQ(Count(u, up, 0x000000), 0);
    EXPECT_GT(Count(u, up, 0x808080), 0) << "the disabled arrow is grey";
}

TEST_F(UpDownTest, SkinnedLookLaysHotAndPressedPicturesOverTheFace)
{
    TbsSkinUpDown* u = Make();
    u->SetSkinData(Model);
    ShowForm();
    ASSERT_EQ(u->Width(), 20);
    ASSERT_EQ(u->Height(), 10);
    EXPECT_EQ(PixelAt(u, 15, 5), kNormal);
    MoveTo(u, 15, 5);
    EXPECT_EQ(PixelAt(u, 15, 5), kHot);
    Press(u, 15, 5);
    EXPECT_EQ(PixelAt(u, 15, 5), kDown);
    Release(u, 15, 5);
    EXPECT_EQ(u->Position(), 1);
    // The down button's empty pressed picture falls back to its hot one.
    MoveTo(u, 5, 5);
    EXPECT_EQ(PixelAt(u, 5, 5), kExtra1);
    Press(u, 5, 5);
    EXPECT_EQ(PixelAt(u, 5, 5), kExtra1);
    Release(u, 5, 5);
}

TEST_F(UpDownTest, WithoutSkinSizeTheButtonsAreResizedButtonRecords)
{
    TbsSkinUpDown* u = Make();
    u->SetUseSkinSize(false);
    u->SetSkinData(Model);
    ShowForm();
    ASSERT_EQ(u->Width(), 50);
    EXPECT_EQ(PixelAt(u, 37, 4), kExtra2);
    MoveTo(u, 37, 4);
    EXPECT_EQ(PixelAt(u, 37, 4), kExtra3);
    Press(u, 37, 4);
    EXPECT_EQ(PixelAt(u, 37, 4), kFocused);
    Release(u, 37, 4);
    u->SetEnabled(false);
    Pump();
    EXPECT_GT(Count(u, Rect(25, 0, 50, 25), 0x00FF00), 0) << "the record's disabled arrow colour";
}

TEST_F(UpDownTest, ARecordWithoutItsPictureDrawsTheBuiltInLook)
{
    TbsSkinUpDown* u = Make();
    u->SetSkinDataName(L"nopicture");
    u->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(u->SkinIndex(), -1);
    EXPECT_EQ(u->Width(), 50);
    EXPECT_EQ(PixelAt(u, 25, 0), Shown(clBtnShadow));
}
