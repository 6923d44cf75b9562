// TImageList: adding strips and masked images, inserting and deleting, drawing enabled (with and
// without a background colour) and disabled (the embossed greyed look), DoDraw overrides, icons
// and the raw handle calls.
#include <gtest/gtest.h>

#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "tests/support/pixel_art.h"

namespace {

// A strip of `cells` 4x4 glyphs on fuchsia: glyph i has a 2x2 square at (1,1) in colour i.
std::unique_ptr<TBitmap> Strip(int cells)
{
    static const TColor colors[] = {clBlack, clRed, clBlue, clLime};
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(4 * cells, 4);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 4 * cells, 4));
    for (int i = 0; i < cells; ++i) {
        b->Canvas()->Brush()->SetColor(colors[i % 4]);
        b->Canvas()->FillRect(Rect(4 * i + 1, 1, 4 * i + 3, 3));
    }
    return b;
}

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// '.' the background, 'H' and 'S' the button highlight and shadow.
std::string Picture(TBitmap& b, TColor background)
{
    return PixelArt(b, {{'.', Rgb(ColorToRGB(background))},
                        {'H', Rgb(ColorToRGB(clBtnHighlight))},
                        {'S', Rgb(ColorToRGB(clBtnShadow))}});
}

class TCountingList : public TImageList {
public:
    using TImageList::TImageList;
    std::vector<std::pair<int, bool>> Calls;

protected:
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override
    {
        Calls.emplace_back(Index, Enabled);
        TImageList::DoDraw(Index, Canvas, X, Y, Style, Enabled);
    }
};

}  // namespace

TEST(ImageList, StripsInsertsAndDeletes)
{
    TImageList list(nullptr, 4, 4);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(list.AddMasked(Strip(3).get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetImage(1).Pixel(1, 1), 0xFFFF0000u);  // red square of cell 1
    EXPECT_EQ(list.GetImage(1).Pixel(0, 0) >> 24, 0u);     // fuchsia is transparent

    list.InsertMasked(0, Strip(1).get(), clDefault);  // the bottom-left pixel: fuchsia
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.GetImage(0).Pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(list.GetImage(2).Pixel(1, 1), 0xFFFF0000u);
    list.Delete(2);
    EXPECT_EQ(list.GetImage(2).Pixel(1, 1), 0xFF0000FFu);  // blue moved down
    EXPECT_THROW(list.Delete(3), EListError);
    EXPECT_THROW(list.Insert(5, Strip(1).get(), nullptr), EListError);

    // A mask bitmap: its white pixels are transparent.
    auto mask = Filled(4, 4, clBlack);
    mask->Canvas()->SetPixels(1, 1, clWhite);
    EXPECT_EQ(list.Add(Strip(1).get(), mask.get()), 3);
    EXPECT_EQ(list.GetImage(3).Pixel(1, 1) >> 24, 0u);
    EXPECT_EQ(list.GetImage(3).Pixel(0, 0), 0xFFFF00FFu);
    EXPECT_EQ(changes, 4);

    list.BeginUpdate();
    list.Move(0, 3);
    list.Delete(0);
    EXPECT_EQ(changes, 4);
    list.EndUpdate();
    EXPECT_EQ(changes, 5);
    list.SetWidth(8);  // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, DrawsEnabledWithAndWithoutBackground)
{
    TImageList list(nullptr, 4, 4);
    list.AddMasked(Strip(2).get(), clFuchsia);
    auto b = Filled(9, 4, clWhite);
    list.Draw(b->Canvas(), 0, 0, 1);
    list.Draw(b->Canvas(), 5, 0, 7);  // out of range: nothing
    EXPECT_EQ(Picture(*b, clWhite),
              ".........\n"
              ".RR......\n"
              ".RR......\n"
              ".........\n");
    list.SetBkColor(clYellow);
    list.Draw(b->Canvas(), 5, 0, 0);
    EXPECT_EQ(Picture(*b, clWhite),
              ".....YYYY\n"
              ".RR..Y##Y\n"
              ".RR..Y##Y\n"
              ".....YYYY\n");
}

TEST(ImageList, DrawsDisabledAsAnEmbossedShape)
{
    TImageList list(nullptr, 4, 4);
    auto glyph = Strip(1);
    glyph->Canvas()->SetPixels(3, 0, clWhite);  // white is no part of the shape
    list.AddMasked(glyph.get(), clFuchsia);
    auto b = Filled(5, 5, clBtnFace);
    list.Draw(b->Canvas(), 0, 0, 0, false);
    EXPECT_EQ(Picture(*b, clBtnFace),
              ".....\n"
              ".SS..\n"
              ".SSH.\n"
              "..HH.\n"
              ".....\n");
}

TEST(ImageList, DrawGoesThroughTheVirtualDoDraw)
{
    TCountingList list(nullptr, 4, 4);
    list.AddMasked(Strip(2).get(), clFuchsia);
    auto b = Filled(4, 4, clWhite);
    list.Draw(b->Canvas(), 0, 0, 1, false);
    list.Draw(b->Canvas(), 0, 0, 0);
    list.Draw(b->Canvas(), 0, 0, 2);
    ASSERT_EQ(list.Calls.size(), 2u);
    EXPECT_EQ(list.Calls[0], std::make_pair(1, false));
    EXPECT_EQ(list.Calls[1], std::make_pair(0, true));
}

TEST(ImageList, IconsBitmapsAndRawHandles)
{
    TImageList list(nullptr, 4, 4);
    list.AddMasked(Strip(2).get(), clFuchsia);
    TIcon icon;
    list.GetIcon(1, &icon);
    EXPECT_EQ(icon.Width(), 4);
    EXPECT_EQ(icon.ToRasterImage().Pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(icon.ToRasterImage().Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(list.AddIcon(&icon), 2);
    TBitmap bmp;
    ASSERT_TRUE(list.GetBitmap(2, &bmp));
    EXPECT_EQ(bmp.PixelFormat(), pf32bit);
    EXPECT_EQ(bmp.PixelArgb(2, 2), 0xFFFF0000u);
    EXPECT_FALSE(list.GetBitmap(9, &bmp));

    auto b = Filled(4, 4, clWhite);
    HIMAGELIST h = list.Handle();
    EXPECT_EQ(ImageList_GetImageCount(h), 3);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(h, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_TRUE(ImageList_Draw(h, 0, b->Canvas()->Handle(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(Picture(*b, clWhite),
              "....\n"
              ".##.\n"
              ".##.\n"
              "....\n");
    EXPECT_FALSE(ImageList_Draw(reinterpret_cast<HIMAGELIST>(&cx), 0, b->Canvas()->Handle(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(ImageList_GetImageCount(nullptr), -1);
}
