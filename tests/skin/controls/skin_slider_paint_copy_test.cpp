// The skinned slider painted into a copy (a picture of the control): the thumb stands at the
// position of the value to show, not where the control's own thumb is.
#include <gtest/gtest.h>

#include "skin/controls/skin_slider.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// A slider whose copies show another value than its own.
class TShownValueSlider : public TbsSkinSlider {
public:
    using TbsSkinSlider::TbsSkinSlider;
    int Shown = 0;
    int GetPaintValue() override { return Shown; }
};

using SliderPaintCopy = SkinControlFixture;

TEST_F(SliderPaintCopy, TheCopyShowsThePaintValue)
{
    auto* s = new TShownValueSlider(Form);
    s->SetParent(Form);
    s->SetBounds(0, 0, 150, 40);
    s->Shown = 100;
    ShowForm();
    ASSERT_EQ(s->Value(), 0);
    auto thumbAt = [&](int X) { return PixelAt(s, X, 10) == 0x777777u; };
    auto paint = [&](bool Copy) {
        TControlState st = s->ControlState();
        s->SetControlState(Copy ? st.Include(csPaintCopy) : st.Exclude(csPaintCopy));
        s->Repaint();
        s->SetControlState(st);
    };
    paint(true);
    EXPECT_TRUE(thumbAt(141)) << "the thumb at 100 in the copy";
    EXPECT_FALSE(thumbAt(8));
    paint(false);
    EXPECT_TRUE(thumbAt(8)) << "on the screen the thumb stays at the control's own value";
    EXPECT_FALSE(thumbAt(141));
    EXPECT_EQ(s->ThumbRect().Left, 6);
}

}  // namespace
