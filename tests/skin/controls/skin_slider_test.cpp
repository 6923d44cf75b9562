// The skinned slider with injected mouse and keys on the test clock: the built-in geometry in
// pixels, the two value grids, range and increment setters, keys, the held ruler's repeat, a turn
// of orientation, the skin look and its fallbacks, and degenerate sizes.
#include <gtest/gtest.h>

#include <set>

#include "skin/controls/skin_slider.h"
#include "skin/core/marks.h"
#include "tests/skin/support/skin_control_fixture.h"
#include "tests/support/user_input.h"

using namespace skintest;

namespace {

struct SliderTest : SkinControlFixture {
    std::vector<std::string> Log;

    TbsSkinSlider* Make(int W = 150, int H = 40)
    {
        auto* s = new TbsSkinSlider(Form);
        s->SetParent(Form);
        s->SetBounds(0, 0, W, H);
        s->OnChange = [this, s](TObject*) { Log.push_back("change " + std::to_string(s->Value())); };
        s->OnChanged = [this](TObject*) { Log.push_back("changed"); };
        s->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("up"); };
        return s;
    }
    void Press(TControl* C, int X, int Y)
    {
        const TPoint p = Screen(C, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        vxwin::InjectMouseButton(0, true, p.X, p.Y);
        Pump();
    }
    void MoveTo(TControl* C, int X, int Y)
    {
        const TPoint p = Screen(C, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
    }
    void Release(TControl* C, int X, int Y)
    {
        const TPoint p = Screen(C, X, Y);
        vxwin::InjectMouseButton(0, false, p.X, p.Y);
        Pump();
    }
};

TEST_F(SliderTest, DefaultGeometryByPixels)
{
    auto* s = Make();
    ShowForm();
    EXPECT_EQ(s->RulerWidth(), 138);
    EXPECT_EQ(s->RulerHeight(), 7);
    EXPECT_EQ(s->RulerOrg().X, 6);
    EXPECT_EQ(s->RulerOrg().Y, 10);
    EXPECT_EQ(s->ThumbRect(), Rect(6, 6, 11, 21));
    // The ruler's line (row 3 of the image) and the thumb's grey, point down at row 14.
    EXPECT_EQ(PixelAt(s, 80, 13), 0x777777u);
    EXPECT_EQ(PixelAt(s, 8, 7), 0x777777u);
    EXPECT_EQ(PixelAt(s, 8, 20), 0x777777u);
    EXPECT_NE(PixelAt(s, 6, 20), 0x777777u);   // the point's corner shows the background
    EXPECT_NE(PixelAt(s, 80, 12), 0x777777u);  // magenta is transparent
    EXPECT_NE(PixelAt(s, 80, 12), 0xFF00FFu);
    s->SetValue(100);
    Pump();
    EXPECT_EQ(s->ThumbRect().Left, 139);
    EXPECT_EQ(PixelAt(s, 141, 10), 0x777777u);
}

// A slider sized while its form is read (as a form builds its controls) is laid out at that size
// once the form has loaded: its window, made at that size, hears of no change.
TEST_F(SliderTest, ASizeSetWhileTheFormLoadsIsLaidOutOnceLoaded)
{
    Form->BeginLoading();
    auto* s = Make();
    s->SetBounds(0, 0, 190, 24);
    Form->EndLoading();
    ShowForm();
    EXPECT_EQ(s->RulerWidth(), 178);
    s->SetValue(100);
    Pump();
    EXPECT_EQ(s->ThumbRect().Right, 190 - 6);
    EXPECT_EQ(PixelAt(s, 181, 10), 0x777777u);  // the built-in thumb's grey at the right end
}

TEST_F(SliderTest, JumpsUseTheGridFromZeroWithHalvesToEven)
{
    auto* s = Make();
    ShowForm();
    struct Case {
        int From, Key, Expected;
    } cases[] = {{15, VK_RIGHT, 30},  {15, VK_LEFT, 10}, {25, VK_RIGHT, 30}, {25, VK_LEFT, 10},
                 {95, VK_RIGHT, 100}, {3, VK_LEFT, 0},   {40, VK_HOME, 0},   {40, VK_END, 100}};
    s->SetFocus();
    for (const auto& c : cases) {
        s->SetValue(c.From);
        PressKey(c.Key);
        Pump();
        EXPECT_EQ(s->Value(), c.Expected) << c.From << " key " << c.Key;
    }
}

TEST_F(SliderTest, KeysStepOnlyWithoutShiftAndReachOnKeyDownAsZero)
{
    auto* s = Make();
    ShowForm();
    s->SetFocus();
    std::vector<int> keys;
    s->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { keys.push_back(Key); };
    s->SetValue(50);
    Log.clear();
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"change 60", "changed"}));
    PressKey(VK_RIGHT, kShift);
    PressKey(VK_UP);     // not for a horizontal slider
    PressKey(VK_PRIOR);  // nor Page Up
    Pump();
    EXPECT_EQ(s->Value(), 60);
    ASSERT_GE(keys.size(), 1u);
    EXPECT_EQ(keys[0], 0);
    // Vertical: Up goes towards MaxValue.
    s->SetOrientation(soVertical);
    Pump();
    PressKey(VK_UP);
    Pump();
    EXPECT_EQ(s->Value(), 70);
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(s->Value(), 60);
}

TEST_F(SliderTest, DragSnapsFromMinValueUnlikeKeys)
{
    auto* s = Make();
    s->SetOptions(TbsSliderOptions{soShowFocus, soShowPoints});
    s->SetMinValue(3);
    ShowForm();
    std::set<int> seen;
    s->OnChange = [&](TObject*) { seen.insert(s->Value()); };
    Press(s, 7, 12);
    for (int x = 8; x <= 145; x += 3) MoveTo(s, x, 12);
    Log.clear();
    s->OnChanged = [this](TObject*) { Log.push_back("changed"); };
    Release(s, 145, 12);
    // The grid counts from 3; only the clamp to MaxValue leaves it.
    for (int v : seen) EXPECT_TRUE((v - 3) % 10 == 0 || v == 100) << v;
    EXPECT_TRUE(seen.count(93));
    EXPECT_EQ(s->Value(), 100);
    EXPECT_EQ(Log, (std::vector<std::string>{"changed", "up"}));
    // Keys count from 0: from 3 a step right is 10, then 20.
    s->SetValue(3);
    s->SetFocus();
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_EQ(s->Value(), 10);
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_EQ(s->Value(), 20);
}

TEST_F(SliderTest, RangeAndIncrementSetters)
{
    auto* s = Make();
    s->SetMaxValue(0);  // refused: not above MinValue
    s->SetMaxValue(-5);
    EXPECT_EQ(s->MaxValue(), 100);
    s->SetMinValue(95);
    EXPECT_EQ(s->Increment(), 5);  // lowered to fit the range
    s->SetMinValue(0);
    s->SetIncrement(0);
    s->SetIncrement(-3);
    EXPECT_EQ(s->Increment(), 5);
    Log.clear();
    s->SetValue(150);
    EXPECT_EQ(s->Value(), 100);
    EXPECT_EQ(Log, (std::vector<std::string>{"change 100"}));
    s->SetValue(150);
    EXPECT_EQ(Log.size(), 1u);
    // Lowering MaxValue below Value clamps it with one OnChange.
    s->SetMaxValue(40);
    EXPECT_EQ(Log.back(), "change 40");
}

TEST_F(SliderTest, HeldRulerStepsEvery400MsUntilThumbPassesWithoutReversing)
{
    auto* s = Make();
    ShowForm();
    s->SetValue(100);
    Log.clear();
    Press(s, 60, 12);  // left of the thumb: one step at once
    EXPECT_EQ(s->Value(), 90);
    EXPECT_TRUE(s->Tracking());
    Wait(390);
    EXPECT_EQ(s->Value(), 90);
    Wait(20);
    EXPECT_EQ(s->Value(), 80);
    Wait(400 * 6);
    // The thumb stops once it reached the mouse (x 60 is value 40 or so).
    const int stopped = s->Value();
    EXPECT_LE(stopped, 50);
    EXPECT_GE(stopped, 30);
    // Back beyond the thumb on the right: no reversal.
    MoveTo(s, 140, 12);
    Wait(1200);
    EXPECT_EQ(s->Value(), stopped);
    Release(s, 140, 12);
    EXPECT_FALSE(s->Tracking());
    EXPECT_EQ(Log.back(), "up");
    EXPECT_EQ(Log[Log.size() - 2], "changed");
}

TEST_F(SliderTest, TurningSwapsTheSizeAndPutsMinValueAtTheBottom)
{
    auto* s = Make();
    s->SetOrientation(soVertical);
    EXPECT_EQ(s->Width(), 40);
    EXPECT_EQ(s->Height(), 150);
    ShowForm();
    EXPECT_EQ(s->RulerHeight(), 138);
    EXPECT_EQ(s->ThumbRect().Bottom, 144);  // MinValue at the bottom
    s->SetValue(100);
    EXPECT_EQ(s->ThumbRect().Top, 6);
}

TEST_F(SliderTest, SkinLookAndFallbacks)
{
    SyntheticSkin sk;
    const int p = sk.AddPicture(40, 20);
    sk.Block(p, Rect(0, 0, 20, 5), kNormal);  // ruler
    sk.Block(p, Rect(20, 0, 30, 12), kHot);   // thumb, normal half
    sk.Block(p, Rect(30, 0, 40, 12), kDown);  // thumb, pressed half
    sk.Control("slider", "slider",
               "pictureindex=0\nhrulerrect=0,0,20,5\nhthumbrect=20,0,40,12\nvrulerrect=0,0,5,20\n"
               "vthumbrect=20,0,40,12\nedgesize=3\nbgcolor=" +
                   IniColor(0x102030) + "\npointscolor=" + IniColor(0x00FF00) + "\n");
    sk.Control("notslider", "button", "pictureindex=0\nskinrect=0,0,12,10\n");
    sk.LoadInto(Model);
    auto* s = Make();
    s->SetSkinData(Model);
    ShowForm();
    ASSERT_NE(s->SkinIndex(), -1);
    EXPECT_EQ(s->HThumbRect, Rect(20, 0, 40, 12));
    EXPECT_EQ(RectWidth(s->ThumbRect()), 10);
    EXPECT_EQ(RectHeight(s->ThumbRect()), 12);
    EXPECT_EQ(s->RulerHeight(), 5);
    EXPECT_EQ(PixelAt(s, 2, 2), 0x102030u);
    EXPECT_EQ(PixelAt(s, s->ThumbRect().Left + 2, s->ThumbRect().Top + 5), kHot);
    EXPECT_EQ(PixelAt(s, 70, s->RulerOrg().Y + 2), kNormal);
    // Another kind of record, or none: the built-in look on Color.
    for (const wchar_t* name : {L"notslider", L"nothing"}) {
        s->SetSkinDataName(name);
        s->ChangeSkinData();
        Pump();
        EXPECT_EQ(s->ThumbRect(), Rect(6, 6, 11, 21)) << name;
        EXPECT_EQ(PixelAt(s, 80, 13), 0x777777u);
        EXPECT_EQ(PixelAt(s, 2, 2), RgbOf(ColorToRGB(s->Color())));
    }
}

TEST_F(SliderTest, DegenerateSizesAndImagesDivideByNothing)
{
    auto* s = Make(10, 10);  // shorter than the 12-pixel margins: no ruler, no track
    s->SetValue(50);
    EXPECT_EQ(s->RulerWidth(), 0);
    EXPECT_EQ(s->ThumbRect().Left, 6);
    TBitmap ruler(4, 7);  // an edge of 2 leaves no middle
    s->SetBounds(0, 0, 150, 40);
    s->SetSliderImage(siHRuler, &ruler);
    EXPECT_EQ(s->RulerHeight(), 0);
    s->DefaultDrawPoints(0, 3, 5);
    ShowForm();
    s->SetValue(70);
    Pump();
    EXPECT_EQ(s->Value(), 70);
    s->SetSliderImage(siHRuler, nullptr);  // the built-in ruler again
    EXPECT_EQ(s->RulerWidth(), 138);
    EXPECT_FALSE(s->UserImages().Contains(siHRuler));
}

}  // namespace
