// The skinned text label (auto-size, alignment, layout, disabled text) and bevel (shapes and
// divider mode pixel-exact, skin colours, a removed model) on a white form.
#include <gtest/gtest.h>

#include "skin/controls/skin_bevel.h"
#include "skin/controls/skin_text_label.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

uint32_t Sys(TColor C) { return Rgb(ColorToRGB(C)); }

// A yellow form, so that white highlights show.
const uint32_t kBack = 0xFFFF00;

struct LabelBevelTest : SkinControlFixture {
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetColor(TColor(0x00FFFF));
    }
    TbsSkinBevel* Bevel(int W, int H, TBevelShape Shape)
    {
        auto* b = new TbsSkinBevel(Form);
        b->SetParent(Form);
        b->SetBounds(0, 0, W, H);
        b->SetShape(Shape);
        return b;
    }
    uint32_t At(int X, int Y) { return PixelAt(Form, X, Y); }
    // DefaultFont's text measures on a bitmap.
    static TSize Measure(TbsSkinTextLabel* L, const String& S)
    {
        TBitmap b(10, 10);
        b.Canvas()->Font()->Assign(L->DefaultFont());
        return b.Canvas()->TextExtent(S);
    }
    // Rows of the form in [X0, X1) holding a pixel of colour C (any but the background for
    // kBack).
    std::vector<int> RowsWith(uint32_t C, int X0, int X1, int H)
    {
        std::vector<int> rows;
        for (int y = 0; y < H; ++y)
            for (int x = X0; x < X1; ++x)
                if (C == kBack ? At(x, y) != kBack : At(x, y) == C) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
};

TEST_F(LabelBevelTest, BevelDividerAndShapesPixelExact)
{
    auto* d = Bevel(25, 70, bsBox);
    d->SetDividerMode(true);
    ShowForm();
    const uint32_t dark = Sys(clBtnShadow), light = Sys(clBtnHighlight);
    for (int y : {2, 30, 68}) {
        EXPECT_EQ(At(11, y), dark) << y;  // bsLowered: the first colour is the dark one
        EXPECT_EQ(At(12, y), light) << y;
    }
    EXPECT_EQ(At(11, 1), kBack);
    EXPECT_EQ(At(11, 69), kBack);
    EXPECT_EQ(At(10, 30), kBack);
    delete d;

    auto* f = Bevel(20, 20, bsFrame);
    Pump();
    EXPECT_EQ(At(0, 0), dark);  // outer rectangle in the first colour
    EXPECT_EQ(At(18, 5), dark);
    EXPECT_EQ(At(19, 19), light);  // inner one at (1, 1) in the second
    EXPECT_EQ(At(1, 10), light);   // the inner's left line beside the outer's
    EXPECT_EQ(At(19, 10), light);
    delete f;

    auto* r = Bevel(20, 20, bsBox);
    r->SetStyle(bsRaised);
    Pump();
    EXPECT_EQ(At(0, 10), light);  // light at top and left
    EXPECT_EQ(At(10, 0), light);
    EXPECT_EQ(At(19, 10), dark);
    EXPECT_EQ(At(10, 19), dark);
}

TEST_F(LabelBevelTest, BevelColoursFromTheSkinAndARemovedModel)
{
    SyntheticSkin s;
    s.Control("bevel", "bevel", "lightcolor=" + IniColor(0x00FF00) + "\r\ndarkcolor=" + IniColor(0xFF0000) + "\r\n");
    s.LoadInto(Model);
    auto* b = Bevel(20, 20, bsBox);
    b->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(At(0, 10), 0xFF0000u);
    EXPECT_EQ(At(19, 10), 0x00FF00u);
    delete Model;
    Model = nullptr;
    EXPECT_EQ(b->SkinData(), nullptr);
    b->ChangeSkinData();
    Pump();
    EXPECT_EQ(At(0, 10), Sys(clBtnShadow));
}

TEST_F(LabelBevelTest, LabelAutoSizeKeepsARightEdgeAndEmptyLinesGiveZero)
{
    auto* l = new TbsSkinTextLabel(Form);
    l->SetParent(Form);
    l->SetBounds(10, 10, 65, 65);
    l->Lines()->Add(L"视频分辨率：");
    l->Lines()->Add(L"ab");
    auto* one = new TbsSkinTextLabel(Form);
    one->SetParent(Form);
    one->Lines()->Add(L"视频分辨率：");
    // As wide as the longer line, as high as two lines.
    EXPECT_EQ(l->Width(), one->Width());
    EXPECT_GE(one->Width(), Measure(l, L"视频分辨率：").cx);
    EXPECT_GT(l->Height(), one->Height());
    EXPECT_NEAR(l->Height(), 2 * Measure(l, L"A").cy, 3);

    auto* r = new TbsSkinTextLabel(Form);
    r->SetParent(Form);
    r->SetAlignment(taRightJustify);
    r->SetBounds(100, 10, 65, 65);
    r->Lines()->Add(L"ab");
    const int right = r->Left() + r->Width();
    r->Lines()->Put(0, L"abcdefgh");
    EXPECT_EQ(r->Left() + r->Width(), right);
    EXPECT_GT(r->Width(), Measure(r, L"ab").cx);

    r->Lines()->Clear();
    EXPECT_EQ(r->Height(), 0);
}

TEST_F(LabelBevelTest, LabelCentredLayoutAndDisabledTextTwice)
{
    auto* l = new TbsSkinTextLabel(Form);
    l->SetParent(Form);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 65, 65);
    l->DefaultFont()->SetColor(clBlack);
    l->Lines()->Add(L"■■");
    l->SetLayout(tlCenter);
    ShowForm();
    const int a = Measure(l, L"A").cy;
    // The measured text (one line and the break's empty one) less one "A" height: what an
    // auto-sized label of that line measures.
    auto* sized = new TbsSkinTextLabel(Form);
    sized->Lines()->Add(L"■■");
    const int top = (65 - sized->Height()) / 2;
    delete sized;
    auto rows = RowsWith(kBack, 0, 65, 65);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), top);
    EXPECT_LE(rows.front(), top + a / 2);
    EXPECT_LT(rows.back(), top + a + 2);

    l->SetEnabled(false);
    Pump();
    EXPECT_TRUE(RowsWith(0x000000, 0, 65, 65).empty());  // no longer in the font's colour
    EXPECT_FALSE(RowsWith(Sys(clBtnShadow), 0, 65, 65).empty());
    // The highlight copy shows below and right of the shadow one (white, where the yellow form
    // and the grey shadow have little blue).
    std::vector<int> hl;
    for (int y = 0; y < 65; ++y)
        for (int x = 0; x < 65; ++x)
            if ((At(x, y) & 0xFF) > 0xC0) {
                hl.push_back(y);
                break;
            }
    ASSERT_FALSE(hl.empty());
    EXPECT_EQ(hl.back(), RowsWith(Sys(clBtnShadow), 0, 65, 65).back() + 1);  // one pixel lower
}

TEST_F(LabelBevelTest, RightToLeftLabelMirrorsItsAlignmentAndKeepsItsRightEdge)
{
    Form->SetBiDiMode(bdRightToLeft);
    auto* l = new TbsSkinTextLabel(Form);
    l->SetParent(Form);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 200, 20);
    l->DefaultFont()->SetColor(clBlack);
    l->Lines()->Add(L"■■");
    ShowForm();
    EXPECT_EQ(l->BiDiMode(), bdRightToLeft);
    const int w = Measure(l, L"■■").cx;
    // Ink columns of the label's row band.
    auto cols = [&] {
        std::pair<int, int> c{-1, -1};
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (At(x, y) != kBack) {
                    if (c.first < 0) c.first = x;
                    c.second = x;
                    break;
                }
        return c;
    };
    // Left-justified under right-to-left alignment: at the right.
    auto c = cols();
    ASSERT_GE(c.first, 0);
    EXPECT_GE(c.first, 200 - w - 2);
    EXPECT_GE(c.second, 195);
    // Right-justified: at the left.
    l->SetAlignment(taRightJustify);
    Pump();
    c = cols();
    EXPECT_LE(c.first, 2);
    EXPECT_LT(c.second, w + 2);
    // Reading right to left alone keeps the alignment.
    l->SetBiDiMode(bdRightToLeftReadingOnly);
    l->SetAlignment(taLeftJustify);
    Pump();
    c = cols();
    EXPECT_LE(c.first, 2);
    delete l;

    // Auto-sized: a left-justified right-to-left label keeps its right edge; a right-justified
    // one its left edge.
    auto* a = new TbsSkinTextLabel(Form);
    a->SetParent(Form);
    a->SetBounds(100, 10, 65, 65);
    a->Lines()->Add(L"ab");
    const int right = a->Left() + a->Width();
    a->Lines()->Put(0, L"abcdefgh");
    EXPECT_EQ(a->Left() + a->Width(), right);
    EXPECT_GT(a->Width(), Measure(a, L"ab").cx);
    a->SetAlignment(taRightJustify);
    const int left = a->Left();
    a->Lines()->Put(0, L"ab");
    EXPECT_EQ(a->Left(), left);
}

}  // namespace
