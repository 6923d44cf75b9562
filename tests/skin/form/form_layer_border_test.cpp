// The layered border around a skinned form on the headless back end: its outer rectangle and
// four windows, the strips' pixels and alpha as the windows show them, the alpha it takes from
// the form's, a click-through frame without outer bounds, a window lower than both strips, drags
// on its windows (grips, minimum sizes, corners), and the full border carrying the caption
// buttons: hover cleared on deactivation, the outer rectangle kept when a skin takes it away.
#include "skin/form/form_layer_border.h"
#include "skin/core/window_records.h"
#include "skin/form/caption_object.h"
#include "tests/skin/form/frame_test_skins.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using frametest::LayerSkin;
using skintest::FrameSkin;
using skintest::SyntheticSkin;

// A skinned hint that records what it is asked to show.
class RecordingHint : public TComponent, public TbsFormHintLink {
public:
    using TComponent::TComponent;
    void ActivateHint2(const String& H) override { Shown = H; }
    void HideHint() override { Shown.clear(); }
    String Shown;
};

struct LayerBorderTest : SkinFormFixture {
    TbsFormLayerBorder* B() const { return SF->FBorderLayer; }

    void SkinWith(const LayerSkin& L, bool Buttons = false, const frametest::CaptionSkin* Caption = nullptr)
    {
        Def = std::make_unique<SyntheticSkin>();
        FrameSkin f;
        f.Buttons = Buttons;
        skintest::AddFrame(*Def, f);
        frametest::AddLayerFrame(*Def, L);
        if (Caption) frametest::AddCaption(*Def, *Caption);
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        Pump();
    }
    static TRect Bounds(TWinControl* W)
    {
        return Rect(W->Left(), W->Top(), W->Left() + W->Width(), W->Top() + W->Height());
    }
    static uint32_t Argb(TbsFormLayerWindow* W, int X, int Y)
    {
        int w = 0, h = 0;
        auto px = vxwin::WindowPixels(W->Handle(), &w, &h);
        if (X < 0 || Y < 0 || X >= w || Y >= h) return 0xDEADBEEF;
        return px[static_cast<size_t>(Y * w + X)];
    }
    // A press at one screen point, a move to another and the release there.
    void DragOnScreen(int X0, int Y0, int X1, int Y1)
    {
        vxwin::InjectMouseMove(X0, Y0);
        vxwin::InjectMouseButton(0, true, X0, Y0);
        Pump();
        vxwin::InjectMouseMove(X1, Y1);
        Pump();
        vxwin::InjectMouseButton(0, false, X1, Y1);
        Pump();
    }
    TRect FormBounds() const
    {
        return Rect(Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height());
    }
};

TEST_F(LayerBorderTest, FourWindowsAroundTheFormShowTheStripsWithTheirAlpha)
{
    Make(300, 200);
    SkinWith({});
    Show();
    ASSERT_TRUE(SF->LayeredBorderEnabled());
    ASSERT_TRUE(B()->FVisible);
    // Outer: (100 - 10, 80 - 10), 300 + 60 - 40 by 200 + 50 - 30.
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(90, 70, 410, 80));
    EXPECT_EQ(Bounds(B()->BottomBorder), Rect(90, 280, 410, 290));
    EXPECT_EQ(Bounds(B()->LeftBorder), Rect(90, 80, 100, 280));
    EXPECT_EQ(Bounds(B()->RightBorder), Rect(400, 80, 410, 280));
    for (auto* w : {B()->TopBorder, B()->BottomBorder, B()->LeftBorder, B()->RightBorder})
        EXPECT_TRUE(IsWindowVisible(w->Handle()));

    // The top strip at alpha 128: corners copied, the middle stretched over the growth.
    const uint32_t half = 0x80000000u;
    EXPECT_EQ(Argb(B()->TopBorder, 5, 5), half | frametest::kLayerTL);
    EXPECT_EQ(Argb(B()->TopBorder, 160, 5), half | frametest::kLayerTop);
    EXPECT_EQ(Argb(B()->TopBorder, 299, 5), half | frametest::kLayerTop);
    EXPECT_EQ(Argb(B()->TopBorder, 300, 5), half | frametest::kLayerTR);
    EXPECT_EQ(Argb(B()->BottomBorder, 319, 9), 0xFF000000u | frametest::kLayerBR);
    // The left band tiled down: its stripe every 30 rows.
    for (int y : {0, 30, 60, 180}) EXPECT_EQ(Argb(B()->LeftBorder, 2, y), 0xFF000000u | frametest::kLayerStripe) << y;
    EXPECT_EQ(Argb(B()->LeftBorder, 2, 5), 0xFF000000u | frametest::kLayerLeft);
    EXPECT_EQ(Argb(B()->RightBorder, 5, 100), 0xFF000000u | frametest::kLayerRight);

    // Moving the form takes the windows along.
    Form->SetBounds(150, 100, 300, 200);
    Pump();
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(140, 90, 460, 100));
    EXPECT_EQ(Bounds(B()->RightBorder), Rect(450, 100, 460, 300));
}

TEST_F(LayerBorderTest, AlphaFollowsTheFormsAlphaRoundedToTheNearest)
{
    Make();
    SkinWith({});
    struct Case {
        int Record, Form, Expected;
    };
    for (const Case& c : {Case{255, 128, 128}, Case{200, 128, 100}, Case{200, 255, 200}, Case{255, 0, 0}}) {
        Model->LayerFrame->AlphaBlendValue = c.Record;
        B()->CheckFormAlpha(c.Form, false);
        EXPECT_EQ(B()->FCurrentAlphaBlendValue, c.Expected) << c.Record << " x " << c.Form;
    }
}

TEST_F(LayerBorderTest, WithoutOuterBoundsTheFrameIsClickThroughAndTheFormsBoundsAreItsOwn)
{
    Make(300, 200);
    LayerSkin l;
    l.EmptyBorderRect = true;
    SkinWith(l);
    TForm* below = new TForm(Application);
    below->SetBorderStyle(bsNone);
    below->SetBounds(0, 0, 500, 400);
    below->AfterConstruction();
    below->Show();
    Show();
    ASSERT_TRUE(B()->FVisible);
    const TRect top = Bounds(B()->TopBorder);
    EXPECT_EQ(WindowFromPoint(POINT{top.Left + 5, top.Top + 5}), below->Handle());
    SF->SetBounds(40, 50, 320, 210);
    EXPECT_EQ(FormBounds(), Rect(40, 50, 360, 260));
    EXPECT_EQ(B()->LeftSize + B()->TopSize + B()->RightSize + B()->BottomSize, 0);
}

TEST_F(LayerBorderTest, WindowLowerThanBothStripsHasNoSidesAndACutBottom)
{
    Make(300, 200);
    LayerSkin l;
    l.HeightOffset = -205;  // outer height -5 + 20 = 15, below the strips' 20
    SkinWith(l);
    Show();
    ASSERT_TRUE(B()->FVisible);
    EXPECT_EQ(B()->BottomBorder->Height(), 5);
    EXPECT_FALSE(IsWindowVisible(B()->LeftBorder->Handle()));
    EXPECT_FALSE(IsWindowVisible(B()->RightBorder->Handle()));
}

// Strips that meet leave the sides no band to tile: nothing is drawn there (and showing ends).
TEST_F(LayerBorderTest, SideBandWithoutHeightLeavesTheSidesEmpty)
{
    Make(300, 200);
    LayerSkin l;
    l.BottomStripY = 10;
    SkinWith(l);
    Show();
    ASSERT_TRUE(B()->FVisible);
    EXPECT_TRUE(IsWindowVisible(B()->TopBorder->Handle()));
    EXPECT_TRUE(IsWindowVisible(B()->BottomBorder->Handle()));
    EXPECT_FALSE(IsWindowVisible(B()->LeftBorder->Handle()));
    EXPECT_FALSE(IsWindowVisible(B()->RightBorder->Handle()));
}

TEST_F(LayerBorderTest, DragsOnTheBorderKeepToGripsAndMinimums)
{
    Make(300, 200);
    SkinWith({});
    SF->SetMinWidth(300);
    Show();
    // The frame's outer left edge is 5 left of the form, its grip 3 wide; the top-left zone 10.
    // At its minimum width, the top-left corner dragged in moves only the top.
    DragOnScreen(96, 76, 106, 86);
    EXPECT_EQ(FormBounds(), Rect(100, 90, 400, 280));

    // The left edge dragged in past the minimum stays; coming back, it grows only once the cursor
    // is in the grip again (left of 100 - 5 + 3).
    vxwin::InjectMouseMove(96, 150);
    vxwin::InjectMouseButton(0, true, 96, 150);
    Pump();
    for (int x : {120, 110, 99}) {
        vxwin::InjectMouseMove(x, 150);
        Pump();
        EXPECT_EQ(FormBounds(), Rect(100, 90, 400, 280)) << "cursor at " << x;
    }
    vxwin::InjectMouseMove(97, 150);
    Pump();
    vxwin::InjectMouseButton(0, false, 97, 150);
    Pump();
    EXPECT_EQ(FormBounds(), Rect(98, 90, 400, 280));
}

TEST_F(LayerBorderTest, CornerDragResizesASquareForm)
{
    Make(200, 200);
    SkinWith({});
    Show();
    // The bottom-right zone: 10 x 10 inside the outer corner (305, 285).
    DragOnScreen(303, 283, 313, 293);
    EXPECT_EQ(FormBounds(), Rect(100, 80, 310, 290));
    DragOnScreen(313, 293, 303, 293);
    EXPECT_EQ(FormBounds(), Rect(100, 80, 300, 290)) << "one axis alone";
}

TEST_F(LayerBorderTest, FullBorderCarriesTheButtonsAndDeactivationClearsAHoveredOneAndItsHint)
{
    Make(300, 200);
    auto* hint = new RecordingHint(Form);
    SF->SetSkinHint(hint);
    SF->SetShowObjectHint(true);
    LayerSkin l;
    l.FullBorder = true;
    SkinWith(l, true);
    Show();
    ASSERT_TRUE(SF->FullLayeredFrameShown());
    TbsSkinStdButtonObject* close = Button(cmClose);
    ASSERT_NE(close, nullptr);
    // Placed from the caption's right on the top strip (100 + 300 - 80 wide), and drawn there.
    const int width = 100 + 300 - 80;
    EXPECT_EQ(close->ObjectRect, Rect(width - 10 - 16, 8, width - 10, 24));
    const TPoint c = Point(close->ObjectRect.Left + 8, close->ObjectRect.Top + 8);
    EXPECT_EQ(Argb(B()->TopBorder, c.X, c.Y), 0xFF000000u | skintest::kNormal);

    const TRect top = Bounds(B()->TopBorder);
    vxwin::InjectMouseMove(top.Left + c.X, top.Top + c.Y);
    Pump();
    EXPECT_TRUE(close->Active);
    EXPECT_EQ(Argb(B()->TopBorder, c.X, c.Y), 0xFF000000u | skintest::kHot) << "the border redraws its look";
    EXPECT_EQ(hint->Shown, L"Close");

    TForm* other = new TForm(Application);
    other->SetBounds(700, 600, 100, 100);
    other->AfterConstruction();
    other->Show();
    Pump();
    EXPECT_FALSE(close->Active);
    EXPECT_FALSE(close->FMouseIn);
    EXPECT_TRUE(hint->Shown.empty());
    EXPECT_EQ(B()->ActiveObject, -1);
}

// The caption draws into the full border's top strip: its text shows (even without a text
// rectangle) and the strip keeps its alpha everywhere the text is not.
TEST_F(LayerBorderTest, CaptionOnTheFullBorderKeepsTheStripsAlphaUnderItsText)
{
    Make(300, 200);
    LayerSkin l;
    l.FullBorder = true;
    l.HalfAlphaTop = true;
    frametest::CaptionSkin cs;
    cs.TextRct = TRect{};
    SkinWith(l, false, &cs);
    Show();
    ASSERT_TRUE(SF->FullLayeredFrameShown());
    TbsSkinCaptionObject* cap = nullptr;
    for (TbsActiveSkinObject* o : SF->ObjectList)
        if ((cap = dynamic_cast<TbsSkinCaptionObject*>(o))) break;
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(cap->ObjectRect, Rect(10, 8, 320 - 10, 26)) << "the caption over the border's caption rectangle";
    int w = 0, h = 0;
    const auto px = vxwin::WindowPixels(B()->TopBorder->Handle(), &w, &h);
    int text = 0, kept = 0, other = 0;
    for (int y = cap->ObjectRect.Top; y < cap->ObjectRect.Bottom; ++y)
        for (int x = cap->ObjectRect.Left; x < cap->ObjectRect.Right; ++x) {
            const uint32_t p = px[static_cast<size_t>(y * w + x)];
            if (p == (0xFF000000u | frametest::kActiveText))
                ++text;
            else if ((p >> 24) == 0x80)
                ++kept;
            else
                ++other;
        }
    EXPECT_GT(text, 10) << "opaque text";
    EXPECT_GT(kept, (cap->ObjectRect.Width() * cap->ObjectRect.Height()) * 3 / 4) << "alpha 128 around it";
    EXPECT_LT(other, kept / 4) << "only the text's soft edges in between";
    EXPECT_EQ(px[static_cast<size_t>(2 * w + 2)] >> 24, 0x80u) << "outside the caption too";
}

TEST_F(LayerBorderTest, SkinWithoutTheFullBorderKeepsItsOuterRectangle)
{
    Make(300, 200);
    LayerSkin l;
    l.FullBorder = true;
    SkinWith(l, true);
    Show();
    ASSERT_TRUE(SF->FullLayeredFrameShown());
    const TRect outer =
        Rect(Form->Left() - B()->LeftSize, Form->Top() - B()->TopSize, Form->Left() + Form->Width() + B()->RightSize,
             Form->Top() + Form->Height() + B()->BottomSize);
    auto plain = std::make_unique<SyntheticSkin>();
    skintest::AddFrame(*plain);
    plain->LoadInto(Model);
    Pump();
    EXPECT_FALSE(B()->FVisible);
    EXPECT_EQ(FormBounds(), outer);
}

}  // namespace
