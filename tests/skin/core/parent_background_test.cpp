// Parent-background painting into a skin bitmap's canvas: the parent's background and content,
// only windowless, visible, overlapping siblings below the control, and clean state after a
// painter that raises.
#include <gtest/gtest.h>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/win_api.h"
#include "skin/core/parent_background.h"
#include "tests/skin/core/skin_test_util.h"

namespace {

// A windowless box that fills itself with its colour; one can be made to raise while painting,
// and each notes whether it painted as a copy.
class Box : public TGraphicControl {
public:
    Box(TWinControl* Parent, TRect R, TColor C) : TGraphicControl(nullptr)
    {
        SetColor(C);
        SetBoundsRect(R);
        SetParent(Parent);
    }
    bool Raise = false;
    bool SawPaintCopy = false;

protected:
    void Paint() override
    {
        SawPaintCopy = ControlState().Contains(csPaintCopy);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
        if (Raise) throw Exception(L"paint failed");
    }
};

// A windowed control that paints its colour.
class Panel : public TCustomControl {
public:
    Panel(TWinControl* Parent, TRect R, TColor C) : TCustomControl(nullptr)
    {
        SetColor(C);
        SetBoundsRect(R);
        SetParent(Parent);
    }
    bool SawPaintCopy = false;

protected:
    void Paint() override
    {
        SawPaintCopy = ControlState().Contains(csPaintCopy);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(10, 10, 11, 11));  // a mark of the panel's own painting
    }
};

struct Scene {
    std::unique_ptr<TForm> Form;
    Panel* Host;
    Box *Below, *Above, *Hidden, *Away;
    Panel* Windowed;
    Panel* Control;

    Scene()
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 100, 100);
        Form->SetColor(clRed);
        Host = new Panel(Form.get(), Rect(0, 0, 60, 60), clBlue);
        Below = new Box(Host, Rect(0, 0, 10, 10), clLime);
        Windowed = new Panel(Host, Rect(20, 0, 30, 10), clYellow);
        Hidden = new Box(Host, Rect(10, 0, 20, 10), clFuchsia);
        Hidden->SetVisible(false);
        Away = new Box(Host, Rect(40, 40, 50, 50), clAqua);
        Control = new Panel(Host, Rect(5, 5, 35, 25), clBlack);
        Above = new Box(Host, Rect(15, 15, 25, 25), clGray);
        Host->HandleNeeded();
    }
};

TbsColor Rgb(TbsBitmap& B, int X, int Y) { return B.Pixel(X, Y) & 0xFFFFFF; }

}  // namespace

TEST(ParentBackground, PaintsWhatLiesBehindTheControl)
{
    Scene s;
    TbsBitmap pic;
    pic.SetSize(30, 20);
    PaintParentBackground(s.Control, pic.Canvas());
    EXPECT_EQ(Rgb(pic, 0, 0), 0x00FF00u);   // the box below, at parent (5, 5)
    EXPECT_EQ(Rgb(pic, 8, 8), 0x0000FFu);   // the panel's background
    EXPECT_EQ(Rgb(pic, 5, 5), 0xFFFFFFu);   // and its painted content
    EXPECT_EQ(Rgb(pic, 6, 0), 0x0000FFu);   // the hidden box is skipped
    EXPECT_EQ(Rgb(pic, 16, 2), 0x0000FFu);  // windowed siblings never paint into the picture
    // A box made after the control still stacks below every windowed control, so it is below
    // the control and painted.
    EXPECT_EQ(Rgb(pic, 12, 12), 0x808080u);
    EXPECT_TRUE(s.Below->SawPaintCopy);
    EXPECT_TRUE(s.Host->SawPaintCopy);
    EXPECT_FALSE(s.Host->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(s.Below->ControlState().Contains(csPaintCopy));

    // A part of the control: the canvas origin is that part's top-left.
    TbsBitmap part;
    part.SetSize(10, 10);
    PaintParentBackgroundRect(s.Control, Rect(3, 3, 13, 13), part.Canvas());
    EXPECT_EQ(Rgb(part, 1, 1), 0x00FF00u);  // parent (9, 9)
    EXPECT_EQ(Rgb(part, 2, 2), 0xFFFFFFu);  // parent (10, 10): the mark
    EXPECT_EQ(Rgb(part, 9, 9), 0x808080u);  // parent (17, 17)
}

TEST(ParentBackground, OnAPlainFormOnlyTheBackground)
{
    Scene s;
    Panel* onForm = new Panel(s.Form.get(), Rect(70, 70, 90, 90), clBlack);
    s.Form->HandleNeeded();
    TbsBitmap pic;
    pic.SetSize(20, 20);
    PaintParentBackground(onForm, pic.Canvas());
    EXPECT_EQ(Rgb(pic, 5, 5), 0xFF0000u);  // the form's colour
    PaintParentBackground(nullptr, pic.Canvas());
}

TEST(ParentBackground, ARaisingSiblingLeavesNoMarkAndTheDCRestored)
{
    Scene s;
    s.Below->Raise = true;
    TbsBitmap pic;
    pic.SetSize(30, 20);
    EXPECT_THROW(PaintParentBackground(s.Control, pic.Canvas()), Exception);
    EXPECT_FALSE(s.Host->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(s.Below->ControlState().Contains(csPaintCopy));
    POINT vp{-1, -1};
    GetViewportOrgEx(pic.DC(), &vp);
    EXPECT_EQ(vp.x, 0);
    EXPECT_EQ(vp.y, 0);
    RECT clip;
    GetClipBox(pic.DC(), &clip);
    EXPECT_EQ(clip.right, 30);
    EXPECT_EQ(clip.bottom, 20);
}
