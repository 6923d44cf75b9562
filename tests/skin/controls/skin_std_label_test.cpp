// The skinned standard label: its font and colour with and without a record, the one-line height
// of an empty auto-sized caption, the embossed disabled text, and skin assignment.
#include <gtest/gtest.h>

#include "skin/controls/skin_std_label.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct LabelTest : SkinControlFixture {
    TbsSkinStdLabel* L = nullptr;
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        L = new TbsSkinStdLabel(Form);
        L->SetParent(Form);
        L->SetAutoSize(false);
        L->SetBounds(10, 10, 150, 40);
        L->SetCaption(L"WWW");
        L->Font()->SetHeight(30);
        L->Font()->SetStyle(TFontStyles{fsBold});
        L->Font()->SetColor(clBlue);
        L->DefaultFont()->SetHeight(30);
        L->DefaultFont()->SetStyle(TFontStyles{fsBold});
        L->DefaultFont()->SetColor(clRed);
    }
    // How many of the label's pixels are within Tolerance of Rgb0 on each channel.
    int Count(uint32_t Rgb0, int Tolerance = 0)
    {
        int w = 0, h = 0, n = 0;
        auto px = Pixels(Form, w, h);
        auto near = [&](uint32_t p, int shift) {
            return std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((Rgb0 >> shift) & 0xFF)) <=
                   Tolerance;
        };
        for (int y = 10; y < 50; ++y)
            for (int x = 10; x < 160; ++x) {
                uint32_t p = px[static_cast<size_t>(y * w + x)];
                n += near(p, 0) && near(p, 8) && near(p, 16);
            }
        return n;
    }
};

}  // namespace

TEST_F(LabelTest, WithoutASkinTheDefaultFontDraws)
{
    ShowForm();
    EXPECT_GT(Count(0xFF0000), 10);
    EXPECT_EQ(Count(0x0000FF), 0);
    L->SetUseSkinFont(false);
    L->Invalidate();
    Pump();
    EXPECT_GT(Count(0x0000FF), 10);
}

TEST_F(LabelTest, TheRecordsColourOnTheLabelsOwnFont)
{
    SyntheticSkin s;
    s.Control("stdlabel", "stdlabel", "fontcolor=" + IniColor(0x00FF00) + "\r\nfontheight=8\r\n");
    s.LoadInto(Model);
    L->SetSkinData(Model);
    L->SetUseSkinFont(false);
    ShowForm();
    EXPECT_GT(Count(0x00FF00), 10);  // the big own font: plenty of solid pixels
    L->SetUseSkinColor(false);
    L->Invalidate();
    Pump();
    EXPECT_GT(Count(0x0000FF), 10);
    EXPECT_EQ(Count(0x00FF00), 0);
}

TEST_F(LabelTest, AutoSizeAndSkinAssignment)
{
    L->SetCaption(L"");
    L->SetAutoSize(true);
    const int line = L->Height();
    EXPECT_GT(line, 20);  // one line of the 30-pixel font even without text
    SyntheticSkin s;
    s.Control("stdlabel", "stdlabel", "fontheight=10\r\n");
    s.LoadInto(Model);
    L->SetSkinData(nullptr);
    EXPECT_EQ(L->Height(), line);
    L->SetSkinData(Model);  // the record's smaller font: smaller again
    EXPECT_LT(L->Height(), line);
    EXPECT_NE(L->SkinIndex(), -1);
    EXPECT_EQ(L->SkinChangeModel(), Model);
}

TEST_F(LabelTest, ADisabledLabelIsEmbossed)
{
    Form->SetColor(clBlack);
    L->SetEnabled(false);
    ShowForm();
    // The highlight copy shows along the right and lower edges of the strokes.
    EXPECT_GT(Count(Rgb(ColorToCOLORREF(clBtnHighlight)), 40), 10);
    EXPECT_GT(Count(Rgb(ColorToCOLORREF(clBtnShadow))), 10);
}

TEST_F(LabelTest, PaintSkinToDrawsTheGivenText)
{
    TBitmap b(160, 40);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 160, 40));
    L->SetEllipsType(bsetEndEllips);
    L->PaintSkinTo(b.Canvas(), 0, 0, L"MMMMMMMMMMMMMMMMMMMMMMMM");
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x) red += (b.PixelArgb(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_GT(red, 10);
}
