// Bitmap links: parsing, drawing, streaming and the masked-area checks.
#include <gtest/gtest.h>

#include "skin/core/bitmap_link.h"
#include "tests/skin/core/skin_test_util.h"

using namespace skintest;

TEST(BitmapLink, ParsesRectangleTexts)
{
    struct Case {
        const wchar_t* Text;
        TRect R;
    } cases[] = {
        {L"10, 20, 30, 40", Rect(10, 20, 30, 40)},
        {L"1,2,3,4", Rect(1, 2, 3, 4)},
        {L"-1;2:3=4", Rect(-1, 2, 3, 4)},
        {L"(1, 2, 3, 4)", TRect{}},  // a leading parenthesis gives an empty first token
        {L"10, 20, 30", TRect{}},
        {L"10, x, 30, 40", TRect{}},
        {L"", TRect{}},
    };
    TbsBitmap b;
    b.SetName(L"skin");
    for (auto& c : cases) {
        std::unique_ptr<TbsBitmapLink> link(b.GetBitmapLink(String(c.Text)));
        EXPECT_EQ(link->Rect(), c.R) << std::string(c.Text, c.Text + wcslen(c.Text));
        EXPECT_EQ(link->Name(), L"skin");
        EXPECT_EQ(link->Image(), &b);
    }
}

TEST(BitmapLink, DrawsOnlyAnAssignedPositiveRectangle)
{
    auto src = Positions(8, 8);
    TbsBitmap dst;
    dst.SetSize(4, 4);
    std::unique_ptr<TbsBitmapLink> inverted(src->GetBitmapLink(Rect(5, 5, 1, 1)));
    EXPECT_TRUE(inverted->Assigned());  // both sides negative: a positive product
    inverted->Draw(&dst, 0, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
    std::unique_ptr<TbsBitmapLink> link(src->GetBitmapLink(Rect(2, 3, 4, 5)));
    link->Draw(dst.Canvas(), 1, 1);
    EXPECT_EQ(dst.Pixel(1, 1), Pos(2, 3));
    EXPECT_EQ(dst.Pixel(2, 2), Pos(3, 4));
    TbsBitmapLink none;
    EXPECT_FALSE(none.Assigned());
    none.Draw(&dst, 0, 0);
}

TEST(BitmapLink, StreamsNameAndRectangleOnly)
{
    auto src = Positions(2, 2);
    std::unique_ptr<TbsBitmapLink> link(src->GetBitmapLink(Rect(1, 2, 3, 4)));
    link->SetName(L"按钮\U0001F600");  // a character past the 16-bit range: a surrogate pair
    TMemoryStream ms;
    link->SaveToStream(ms);
    EXPECT_EQ(ms.Size(), 4 + 8 + 16);
    ms.SetPosition(0);
    TbsBitmapLink back;
    back.LoadFromStream(ms);
    EXPECT_EQ(back.Name(), L"按钮\U0001F600");
    EXPECT_EQ(back.Rect(), Rect(1, 2, 3, 4));
    EXPECT_EQ(back.Image(), nullptr);
    TbsBitmapLink copy;
    copy.Assign(link.get());
    EXPECT_EQ(copy.Image(), src.get());
    EXPECT_THROW(copy.Assign(src.get()), EConvertError);
}

TEST(BitmapLink, MaskedAreas)
{
    struct Case {
        TPoint Pixel;
        TbsColor Value;
        TRect Margin;
        bool Masked, Border, Angles;
    } cases[] = {
        {{128, 52}, 0x00000000, Rect(4, 4, 4, 4), false, false, true},  // p = (28, 2): top-right corner
        {{115, 51}, 0x00000000, Rect(4, 4, 4, 4), false, true, false},  // top edge
        {{115, 60}, 0xFE000000, Rect(4, 4, 4, 4), true, false, false},  // centre
        {{115, 60}, 0xFE000000, TRect{}, true, false, false},           // no margins: anywhere
        {{115, 60}, 0x33333333, TRect{}, false, false, false},          // the reserved value is not masked
        {{115, 60}, 0xFF7F007F, TRect{}, false, false, false},          // an opaque key pixel is not masked
        {{115, 60}, bsTransparentPixel, TRect{}, true, false, false},
    };
    for (auto& c : cases) {
        TbsBitmap b;
        b.SetSize(140, 80);
        b.Clear(0xFF102030);
        b.SetPixel(c.Pixel.X, c.Pixel.Y, c.Value);
        std::unique_ptr<TbsBitmapLink> link(b.GetBitmapLink(Rect(100, 50, 130, 70)));
        link->CheckingMasked(c.Margin);
        EXPECT_EQ(link->Masked(), c.Masked) << c.Pixel.X << "," << c.Pixel.Y;
        EXPECT_EQ(link->MaskedBorder(), c.Border) << c.Pixel.X << "," << c.Pixel.Y;
        EXPECT_EQ(link->MaskedAngles(), c.Angles) << c.Pixel.X << "," << c.Pixel.Y;
    }
}
