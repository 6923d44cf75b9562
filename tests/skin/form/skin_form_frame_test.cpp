// The frame of a skinned form: the built-in look's geometry and pixels, the skin's frame picture
// composed for a larger form (corners, tiled and stretched edges, inactive looks, the client
// left alone), placing skin rectangles, hit testing with and without a mask, and the window's
// shape.
#include "skin/form/caption_object.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using skintest::FrameSkin;
using SkinFormFrame = SkinFormFixture;

TbsBorderIcons Icons(std::initializer_list<TbsBorderIcon> L)
{
    TbsBorderIcons s;
    for (auto i : L) s.Include(i);
    return s;
}

TEST_F(SkinFormFrame, BuiltInButtonsAndCaptionRightToLeftWithoutGaps)
{
    Make(300, 200);
    SF->SetBorderIcons(Icons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize}));
    Show();
    ASSERT_EQ(SF->ObjectList.size(), 6u) << "six built-in buttons";
    EXPECT_EQ(Button(cmClose)->ObjectRect, Rect(280, 4, 297, 21));
    EXPECT_EQ(Button(cmMaximize)->ObjectRect, Rect(263, 4, 280, 21));
    EXPECT_EQ(Button(cmMinimize)->ObjectRect, Rect(246, 4, 263, 21));
    EXPECT_EQ(SF->NewDefCaptionRect, Rect(20, 3, 246, 19)) << "after the system menu button";

    SF->SetBorderIcons(Icons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize}));
    SF->CalcDefRects();
    EXPECT_EQ(Button(cmMinimize)->ObjectRect.Left, 263);
    EXPECT_EQ(SF->NewDefCaptionRect.Right, 263);

    // Without the system menu icon there is no close button: the minimise button takes the end.
    SF->SetBorderIcons(Icons({TbsBorderIcon::biMinimize}));
    SF->CalcDefRects();
    EXPECT_FALSE(Button(cmClose)->Visible);
    EXPECT_EQ(Button(cmMinimize)->ObjectRect, Rect(280, 4, 297, 21));
    EXPECT_EQ(SF->NewDefCaptionRect.Right, 280);
}

TEST_F(SkinFormFrame, BuiltInFramePixels)
{
    Make(300, 200);
    Form->OnPaint = [this](TObject*) {
        Form->Canvas()->Brush()->SetColor(static_cast<TColor>(0x563412));
        Form->Canvas()->FillRect(Rect(0, 0, Form->ClientWidth(), Form->ClientHeight()));
    };
    Show();
    const uint32_t dark = skintest::RgbOf(static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));
    const uint32_t face = skintest::RgbOf(static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(Px(0, 0), dark);
    EXPECT_EQ(Px(299, 199), dark);
    EXPECT_EQ(Px(1, 1), face);
    EXPECT_EQ(Px(2, 150), face);
    EXPECT_EQ(Px(10, 20), face) << "caption strip";
    EXPECT_EQ(Px(3, 22), 0x123456u) << "client";
    Send(WM_NCPAINT);
    EXPECT_EQ(Px(150, 100), 0x123456u) << "a frame repaint leaves the client alone";
}

TEST_F(SkinFormFrame, BuiltInButtonHoverPressAndTheMouseTimer)
{
    Make(300, 200);
    Show();
    const TbsSkinStdButtonObject* max = Button(cmMaximize);
    const TPoint m = Mid(max);
    const int l = max->ObjectRect.Left, t = max->ObjectRect.Top;
    const uint32_t face = skintest::RgbOf(static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(Px(l + 1, t + 1), face);

    EXPECT_FALSE(SF->MouseTimer->Enabled());
    Hit(100, 10);
    EXPECT_FALSE(SF->MouseTimer->Enabled()) << "a caption hit starts no tracking";
    MoveTo(m.X, m.Y);
    EXPECT_TRUE(SF->MouseTimer->Enabled()) << "a frame-object hit does";
    EXPECT_EQ(Px(l, t), 0x3B6BB7u) << "hover frame";
    EXPECT_EQ(Px(l + 1, t + 1), 0xC1D4F3u) << "hover inside";
    vxwin::InjectMouseButton(0, true, Form->Left() + m.X, Form->Top() + m.Y);
    Pump();
    EXPECT_EQ(Px(l + 1, t + 1), 0xA2BCE4u) << "pressed inside";
    vxwin::InjectMouseButton(0, false, Form->Left() + m.X, Form->Top() + m.Y);
    Pump();
    EXPECT_EQ(SF->WindowState(), wsMaximized) << "the release over the button runs its command";

    SF->SetWindowState(wsNormal);
    Pump();
    const TPoint c = Mid(Button(cmClose));
    MoveTo(c.X, c.Y);
    EXPECT_EQ(Px(Button(cmClose)->ObjectRect.Left + 1, Button(cmClose)->ObjectRect.Top + 1), 0xC1D4F3u);
    vxwin::InjectMouseMove(Form->Left() - 20, Form->Top() - 20);
    Pump();
    EXPECT_EQ(Px(Button(cmClose)->ObjectRect.Left + 1, Button(cmClose)->ObjectRect.Top + 1), 0xC1D4F3u)
        << "no hit test reaches the form off it: the hover stays until the timer's tick";
    Wait(60);
    EXPECT_EQ(Px(Button(cmClose)->ObjectRect.Left + 1, Button(cmClose)->ObjectRect.Top + 1), face);
    EXPECT_FALSE(SF->MouseTimer->Enabled()) << "the timer stops when the cursor left";
}

// The mouse timer of a form that lost the activation stops at its next tick instead of ticking
// on in the background; a hit over an object starts it again.
TEST_F(SkinFormFrame, TheMouseTimerStopsWhileTheFormIsInactive)
{
    Make(300, 200);
    Show();
    const TPoint m = Mid(Button(cmMaximize));
    MoveTo(m.X, m.Y);
    ASSERT_TRUE(SF->MouseTimer->Enabled());
    TForm* other = ActivateAnotherForm();
    ASSERT_FALSE(SF->GetFormActive());
    SF->MouseTimer->SetEnabled(true);  // as it was while the pointer rested on the frame
    Wait(60);
    EXPECT_FALSE(SF->MouseTimer->Enabled());
    Hit(m.X, m.Y);
    EXPECT_TRUE(SF->MouseTimer->Enabled()) << "a hit over an object starts the tracking again";
    other->Free();
}

TEST_F(SkinFormFrame, SkinPictureComposedForALargerForm)
{
    struct Case {
        const char* What;
        bool Stretch;
        uint32_t At20, At24, At160, Left74;
    };
    // Tiles repeat the middle's 160 columns (44 rows at the sides) from the strip's start; a
    // stretched middle spans the corners' inner edges.
    const uint32_t s = FrameSkin::kStripe, e = FrameSkin::kEdge;
    const Case cases[] = {
        {"tiled edges repeat the stripe", false, e, e, s, s},
        {"stretched edges widen it", true, s, s, e, e},
    };
    for (const Case& c : cases) {
        Make(500, 400);
        FrameSkin f;
        f.Stretch = c.Stretch;
        f.Buttons = false;
        Skin(f);
        Show();
        EXPECT_EQ(SF->NewClRect.Right, FrameSkin::ClRect.Right + 300) << c.What;
        EXPECT_EQ(SF->NewRBPoint.Y, FrameSkin::RB.Y + 300) << c.What;
        EXPECT_EQ(Px(0, 0), FrameSkin::kCornerTL) << c.What;
        EXPECT_EQ(Px(499, 0), FrameSkin::kCornerTR) << c.What;
        EXPECT_EQ(Px(0, 399), FrameSkin::kCornerBL) << c.What;
        EXPECT_EQ(Px(499, 399), FrameSkin::kCornerBR) << c.What;
        EXPECT_EQ(Px(20, 5), c.At20) << c.What;
        EXPECT_EQ(Px(24, 5), c.At24) << c.What;
        EXPECT_EQ(Px(160, 5), c.At160) << c.What;
        EXPECT_EQ(Px(2, 74), c.Left74) << c.What;
        EXPECT_EQ(Px(250, 200), FrameSkin::kClient) << c.What << ": the client piece tiles the background";
        Form->Free();
    }
}

TEST_F(SkinFormFrame, InactiveLooks)
{
    struct Case {
        const char* What;
        FrameSkin Skin;
        bool Grey;
        uint32_t Corner;
    };
    FrameSkin withPicture;
    withPicture.Inactive = true;
    FrameSkin grey;
    grey.MoreFormInfo = "autorenderinginactiveimage=1\r\ninactiveeffect=iegrayscale\r\n";
    const Case cases[] = {{"the inactive picture as it is", withPicture, false, FrameSkin::kInactive},
                          {"the frame in grey", grey, true, 0}};
    for (const Case& c : cases) {
        Make(300, 200);
        Skin(c.Skin);
        Show();
        EXPECT_EQ(Px(0, 0), FrameSkin::kCornerTL) << c.What;
        TForm* other = ActivateAnotherForm();
        ASSERT_FALSE(Form->Active());
        const uint32_t p = Px(0, 0);
        if (c.Grey) {
            EXPECT_NE(p, FrameSkin::kCornerTL) << c.What;
            EXPECT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == (p >> 16)) << c.What << std::hex << p;
        } else {
            EXPECT_EQ(p, c.Corner) << c.What;
        }
        other->Free();
        Form->Free();
    }
}

TEST_F(SkinFormFrame, PlaceSkinRectFollowsTheCornerAreas)
{
    Make(500, 400);
    FrameSkin f;
    f.Buttons = false;
    Skin(f);
    Show();
    const int d = 300;
    struct Case {
        const char* What;
        TRect In, Out;
    };
    const Case cases[] = {
        {"in the top-left corner", Rect(2, 2, 10, 10), Rect(2, 2, 10, 10)},
        {"in the top-right corner", Rect(185, 2, 195, 10), Rect(185 + d, 2, 195 + d, 10)},
        {"in the bottom-left corner", Rect(2, 90, 10, 98), Rect(2, 90 + d, 10, 98 + d)},
        {"in the bottom-right corner", Rect(185, 90, 195, 98), Rect(185 + d, 90 + d, 195 + d, 98 + d)},
        {"top-left to top-right grows in width", Rect(10, 2, 190, 10), Rect(10, 2, 190 + d, 10)},
        {"top-left to bottom-right grows both ways", Rect(10, 10, 190, 95), Rect(10, 10, 190 + d, 95 + d)},
        {"bottom-left to bottom-right", Rect(10, 90, 190, 98), Rect(10, 90 + d, 190 + d, 98 + d)},
        {"top-left to bottom-left", Rect(2, 10, 10, 95), Rect(2, 10, 10, 95 + d)},
        {"top-right to bottom-right", Rect(185, 10, 195, 95), Rect(185 + d, 10, 195 + d, 95 + d)},
        {"right edge on the picture's edge stays", Rect(185, 2, 200, 10), Rect(185, 2, 200, 10)},
        {"bottom edge on the picture's edge stays", Rect(2, 90, 10, 100), Rect(2, 90, 10, 100)},
        {"in no corner area", Rect(50, 50, 60, 60), Rect(50, 50, 60, 60)},
    };
    for (const Case& c : cases) {
        TRect r;
        SF->PlaceSkinRect(c.In, r);
        EXPECT_EQ(r, c.Out) << c.What;
    }
}

TEST_F(SkinFormFrame, ButtonsRectMovesOnlyWhenItStartsPastHalfThePicture)
{
    for (int left : {100, 101}) {
        Make(500, 400);
        FrameSkin f;
        f.MoreFormInfo = "buttonsrect=" + std::to_string(left) + ",4,150,20\r\n";
        Skin(f);
        Show();
        EXPECT_EQ(SF->NewButtonsRect.Left, left == 100 ? 100 : 401) << left;
        EXPECT_EQ(Button(cmClose)->ObjectRect.Right, left == 100 ? 150 : 450) << "the row ends at its right edge";
        Form->Free();
    }
}

TEST_F(SkinFormFrame, HitTestsOfEveryFrame)
{
    struct Case {
        const char* What;
        bool Skinned, Mask;
        TPoint P;
        LRESULT Hit;
    };
    const Case cases[] = {
        {"built-in top-left corner", false, false, {1, 1}, HTTOPLEFT},
        {"built-in top edge", false, false, {150, 1}, HTTOP},
        {"built-in right edge", false, false, {498, 100}, HTRIGHT},
        {"built-in bottom-right", false, false, {499, 399}, HTBOTTOMRIGHT},
        {"built-in caption", false, false, {150, 10}, HTCAPTION},
        {"built-in client", false, false, {150, 100}, HTCLIENT},
        {"skin top-left corner", true, false, {1, 1}, HTTOPLEFT},
        {"skin top edge", true, false, {250, 1}, HTTOP},
        {"skin left edge", true, false, {1, 200}, HTLEFT},
        {"skin right edge", true, false, {498, 200}, HTRIGHT},
        {"skin bottom edge", true, false, {250, 398}, HTBOTTOM},
        {"skin bottom-right", true, false, {498, 398}, HTBOTTOMRIGHT},
        {"skin caption", true, false, {250, 15}, HTCAPTION},
        {"skin frame beyond the border", true, false, {5, 200}, HTOBJECT},
        {"skin client", true, false, {250, 200}, HTCLIENT},
        {"inside the frame, far from the cut corner", true, false, {4, 7}, HTOBJECT},
        {"beside the mask's cut corner", true, true, {4, 7}, HTTOPLEFT},
        {"mask: left edge", true, true, {1, 200}, HTLEFT},
        {"mask: skin client", true, true, {250, 200}, HTCLIENT},
    };
    for (const Case& c : cases) {
        Make(500, 400);
        if (c.Skinned) {
            FrameSkin f;
            f.Mask = c.Mask;
            f.Caption = true;
            Skin(f);
        }
        Show();
        EXPECT_EQ(Hit(c.P.X, c.P.Y), c.Hit) << c.What;
        Form->Free();
    }
}

TEST_F(SkinFormFrame, HitTestsOfMaximizedAndRolledUpForms)
{
    Make(300, 200);
    Show();
    SF->SetWindowState(wsMaximized);
    EXPECT_EQ(Hit(1, 1), HTOBJECT) << "a maximized form has no sizing borders";
    SF->SetWindowState(wsNormal);
    EXPECT_EQ(Hit(1, 1), HTTOPLEFT);

    FrameSkin f;
    f.Caption = true;
    Skin(f);
    SF->SetRollUpState(true);
    ASSERT_EQ(Form->Height(), FrameSkin::H - FrameSkin::ClRect.Height());
    EXPECT_EQ(Hit(150, 15), HTCAPTION);
    EXPECT_EQ(Hit(1, 1), HTOBJECT) << "a rolled-up form does not size";
    EXPECT_EQ(Hit(150, 33), HTOBJECT);
}

TEST_F(SkinFormFrame, MaskShapesTheWindowAndPassesTheCutCornersOn)
{
    TForm* below = new TForm(Application);
    below->SetBorderStyle(bsNone);
    below->SetBounds(SkinFormFixture::kLeft - 50, SkinFormFixture::kTop - 50, 700, 600);
    below->AfterConstruction();
    below->Show();
    Make(500, 400);
    FrameSkin f;
    f.Mask = true;
    Skin(f);
    Show();
    auto at = [](TPoint P) { return WindowFromPoint(POINT{P.X, P.Y}); };
    EXPECT_EQ(at(Scr(2, 2)), below->Handle()) << "the cut corner belongs to the window below";
    EXPECT_EQ(at(Scr(497, 397)), below->Handle());
    EXPECT_EQ(at(Scr(7, 2)), Form->Handle());
    EXPECT_EQ(at(Scr(250, 200)), Form->Handle());
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Form->Handle(), r), ERROR);
    EXPECT_FALSE(PtInRegion(r, 2, 2));
    EXPECT_TRUE(PtInRegion(r, 6, 2));
    EXPECT_TRUE(PtInRegion(r, 499, 200));
    DeleteObject(r);
}

}  // namespace
