// The scroll box with two external bars: ranges, pages and visibility from its children, the
// children following the bars, the pull-back after growing and shrinking, the non-client frame
// and the backgrounds.
#include <gtest/gtest.h>

#include "platform/framework/controls/custom_control.h"
#include "skin/boxes/scroll_box.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// A windowed child of any size.
class TChild : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

struct ScrollBoxTest : SkinControlFixture {
    TbsSkinScrollBox* Box = nullptr;
    TbsSkinScrollBar* H = nullptr;
    TbsSkinScrollBar* V = nullptr;
    TChild* Child = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 400, 400);
        Box = new TbsSkinScrollBox(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 150, 150);
        H = Bar(sbHorizontal, Rect(10, 160, 160, 179));
        V = Bar(sbVertical, Rect(160, 10, 179, 160));
        Child = new TChild(Form);
        Child->SetParent(Box);
        Child->SetBounds(0, 0, 400, 100);
        ShowForm();
        Box->SetVScrollBar(V);
        Box->SetHScrollBar(H);
        Pump();
    }
    TbsSkinScrollBar* Bar(TScrollBarKind Kind, const TRect& R)
    {
        auto* b = new TbsSkinScrollBar(Form);
        b->SetKind(Kind);
        b->SetParent(Form);
        b->SetBounds(R.Left, R.Top, R.Width(), R.Height());
        return b;
    }
};

}  // namespace

TEST_F(ScrollBoxTest, AWideChildShowsTheHorizontalBarOnlyAndTheChildrenFollowIt)
{
    EXPECT_EQ(Box->ClientWidth(), 148);  // built-in frame
    EXPECT_TRUE(H->Visible());
    EXPECT_EQ(H->Min(), 0);
    EXPECT_EQ(H->Max(), 399);
    EXPECT_EQ(H->PageSize(), 148);
    EXPECT_FALSE(V->Visible());
    EXPECT_EQ(V->Max(), 0);
    EXPECT_FALSE(H->Both());
    EXPECT_FALSE(H->CanFocused());
    H->SetPosition(100);
    EXPECT_EQ(Child->Left(), -100);
    H->SetPosition(0);
    EXPECT_EQ(Child->Left(), 0);
    // Shrinking the child while scrolled: back to the origin, the bar hidden.
    H->SetPosition(100);
    Child->SetBounds(Child->Left(), 0, 100, 100);
    Box->UpDateScrollRange();
    EXPECT_EQ(Child->Left(), 0);
    EXPECT_FALSE(H->Visible());
    EXPECT_EQ(H->Max(), 0);
}

TEST_F(ScrollBoxTest, GrowingWhileScrolledPullsTheContentIntoTheNewRoom)
{
    Child->SetBounds(0, 0, 100, 400);
    Box->UpDateScrollRange();
    ASSERT_TRUE(V->Visible());
    EXPECT_FALSE(H->Visible());
    V->SetPosition(1000);
    EXPECT_EQ(V->Position(), 399 - 148 + 1);
    EXPECT_EQ(Child->Top(), -252);
    Box->SetHeight(200);
    Box->UpDateScrollRange();
    EXPECT_EQ(Child->Top(), -202);
    EXPECT_EQ(V->Position(), 202);
    EXPECT_EQ(V->PageSize(), 198);
    // VScroll keeps the page in view.
    Box->VScroll(1000);
    EXPECT_EQ(V->Position(), 399 - 198);
    EXPECT_EQ(Child->Top(), -201);
}

TEST_F(ScrollBoxTest, TheHorizontalCornerMarkerFollowsTheVerticalBar)
{
    Child->SetBounds(0, 0, 400, 400);
    Box->UpDateScrollRange();
    EXPECT_TRUE(V->Visible());
    EXPECT_FALSE(H->Both());  // set before the vertical bar appeared: the next computation follows
    Box->UpDateScrollRange();
    EXPECT_TRUE(H->Visible());
    EXPECT_TRUE(H->Both());
    // A freed bar is forgotten.
    delete V;
    Child->SetBounds(0, 0, 100, 100);
    Box->UpDateScrollRange();
    EXPECT_EQ(Box->VScrollBar(), nullptr);
    EXPECT_FALSE(H->Visible());
}

TEST_F(ScrollBoxTest, BordersSetTheClientAreaAndTheBorderRequestAnswersWithItsKey)
{
    Box->SetBorderStyle(bvNone);
    EXPECT_EQ(Box->ClientWidth(), 150);
    EXPECT_EQ(Box->ClientHeight(), 150);
    Box->SetBorderStyle(bvFrame);
    EXPECT_EQ(Box->ClientWidth(), 148);
    EXPECT_EQ(SendMessageW(Box->Handle(), WM_SKIN_PAINTBORDERTODC, 0, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
    EXPECT_EQ(SendMessageW(Box->Handle(), WM_SKIN_PAINTBORDERTODC, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Box->Handle(), WM_SKIN_PAINTTODC, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Box->Handle(), WM_NCHITTEST, 0, 0), HTCLIENT);
    // The built-in frame in the button-shadow colour, the client in the box's colour.
    Child->SetVisible(false);
    Box->SetColor(static_cast<TColor>(0x00FF00));
    Pump();
    int w = 0, h = 0;
    auto px = Pixels(Form, w, h);
    EXPECT_EQ(px[static_cast<size_t>(10 * w + 10)] & 0xFFFFFF, RgbOf(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(px[static_cast<size_t>(50 * w + 50)] & 0xFFFFFF, 0x00FF00u);
}

TEST_F(ScrollBoxTest, SkinnedFrameAndBackgroundsFromTheRecord)
{
    SyntheticSkin s;
    int p = s.AddPicture(40, 20);
    s.Block(p, Rect(0, 0, 20, 20), kNormal, false);
    s.Block(p, Rect(4, 3, 16, 15), kHot, false);  // the client part
    int bg = s.AddPicture(8, 8, kExtra1);
    s.Control("scrollbox", "scrollbox",
              "pictureindex=0\nskinrect=0,0,20,20\nlefttoppoint=4,3\nrighttoppoint=16,3\nleftbottompoint=4,15\n"
              "rightbottompoint=16,15\nclientrect=4,3,16,15");
    s.LoadInto(Model);
    Child->SetVisible(false);
    Box->SetSkinData(Model);
    Pump();
    // The client inset by the record's margins: 4 left, 3 top, 4 right, 5 bottom.
    EXPECT_EQ(Box->ClientWidth(), 150 - 8);
    EXPECT_EQ(Box->ClientHeight(), 150 - 8);
    int w = 0, h = 0;
    auto at = [&](int X, int Y) {
        auto px = Pixels(Form, w, h);
        return px[static_cast<size_t>((10 + Y) * w + 10 + X)] & 0xFFFFFF;
    };
    EXPECT_EQ(at(1, 1), kNormal);  // frame
    EXPECT_EQ(at(148, 148), kNormal);
    EXPECT_EQ(at(4 + 20, 3 + 20), kHot);  // client part tiled
    // With a background picture: no frame, the picture tiled over the whole box.
    s.Controls[0].Keys += "\nbgpictureindex=" + std::to_string(bg);
    s.LoadInto(Model);
    Box->SetSkinData(Model);
    Pump();
    EXPECT_EQ(Box->ClientWidth(), 150);
    EXPECT_EQ(at(1, 1), kExtra1);
    EXPECT_EQ(at(100, 100), kExtra1);
}
