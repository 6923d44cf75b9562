// The records' images on 2x2 pictures: button looks with their masks' alpha premultiplied in, made
// only for a full layered border, and the layer frame's sources, opaque when the mask is missing.
#include <gtest/gtest.h>

#include "skin/core/object_records.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/window_records.h"
#include "skin_model_test_support.h"

namespace {

// Picture 0: four colours; picture 1: a grey mask (128, 10/10/11, 255, 0); picture 2: a 1x1 mask.
std::string ImageSkin(const std::string& layerFrame)
{
    return "[VERSION]\r\n[PICTURES]\r\nactivepicturescount=3\r\n0=pic.bmp\r\n1=mask.bmp\r\n2=small.bmp\r\n"
           "[FORMINFO]\r\n[LAYERFRAME]\r\n" +
           layerFrame +
           "[SKINOBJECTS]\r\ncount=3\r\n0=close:stdbutton\r\n1=empty:button\r\n2=far:button\r\n"
           "[SKINCONTROLS]\r\n"
           "[close]\r\nactivepictureindex=0\r\nskinrect=0,0,2,2\r\nalphamaskpictureindex=1\r\n"
           "activeskinrect=0,0,2,2\r\nalphamaskactivepictureindex=7\r\ndownrect=1,0,3,2\r\n"
           "inactiveskinrect=0,0,2,2\r\nalphamaskinactivepictureindex=2\r\nrestorerect=0,0,2,1\r\n"
           "[empty]\r\nactivepictureindex=0\r\nskinrect=0,0,0,2\r\nactiveskinrect=0,0,2,2\r\n"
           "[far]\r\nactivepictureindex=5\r\nskinrect=0,0,2,2\r\n";
}

struct Images : ::testing::Test {
    void SetUp() override
    {
        f.Pixels("pic.bmp", 2, 2, {0xC86432, 0xFFFFFF, 0x000000, 0x0A141E});
        f.Pixels("mask.bmp", 2, 2, {0x808080, 0x0A0A0B, 0xFFFFFF, 0x000000});
        f.Pixels("small.bmp", 1, 1, {0xFFFFFF});
    }
    void Load(const std::string& layerFrame)
    {
        f.Text("skin.ini", ImageSkin(layerFrame));
        d.LoadFromFile(f.File("skin.ini"));
    }
    template <class T>
    T* Object(const wchar_t* name)
    {
        return dynamic_cast<T*>(d.ObjectList.at(static_cast<size_t>(d.GetIndex(name))));
    }
    static std::vector<uint32_t> PixelsOf(TbsBitmap* b)
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) out.push_back(b->Pixel(x, y));
        return out;
    }
    SkinFolder f;
    TbsSkinData d{nullptr};
};

}  // namespace

TEST_F(Images, ButtonLooksForAFullLayeredBorder)
{
    Load("pictureindex=0\r\nmaskpictureindex=1\r\nfullborder=1\r\n");
    auto* close = Object<TbsDataSkinStdButton>(L"close");
    ASSERT_TRUE(close->FAlphaNormalImage);
    // Alpha from the mask's grey, colours premultiplied by it.
    EXPECT_EQ(PixelsOf(close->FAlphaNormalImage),
              (std::vector<uint32_t>{0x80643219, 0x0A0A0A0A, 0xFF000000, 0x00000000}));
    // A mask index past the pictures: opaque everywhere.
    ASSERT_TRUE(close->FAlphaActiveImage);
    EXPECT_TRUE(close->FAlphaActiveImage->AlphaBlend());
    EXPECT_EQ(PixelsOf(close->FAlphaActiveImage),
              (std::vector<uint32_t>{0xFFC86432, 0xFFFFFFFF, 0xFF000000, 0xFF0A141E}));
    // The pressed look reaches past the picture's right edge: those pixels stay zero.
    ASSERT_TRUE(close->FAlphaDownImage);
    EXPECT_EQ(PixelsOf(close->FAlphaDownImage),
              (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFF0A141E, 0xFF000000}));
    // A mask smaller than the look: alpha 0 outside it.
    ASSERT_TRUE(close->FAlphaInActiveImage);
    EXPECT_EQ(PixelsOf(close->FAlphaInActiveImage),
              (std::vector<uint32_t>{0xFFC86432, 0x00000000, 0x00000000, 0x00000000}));
    // Restore looks pair with the same masks; a rect without area gives no image.
    ASSERT_TRUE(close->FAlphaRestoreNormalImage);
    EXPECT_EQ(PixelsOf(close->FAlphaRestoreNormalImage), (std::vector<uint32_t>{0x80643219, 0x0A0A0A0A}));
    EXPECT_FALSE(close->FAlphaRestoreActiveImage);
    auto* empty = Object<TbsDataSkinButton>(L"empty");
    EXPECT_FALSE(empty->FAlphaNormalImage);
    EXPECT_TRUE(empty->FAlphaActiveImage);
    auto* far = Object<TbsDataSkinButton>(L"far");  // picture index past the pictures
    EXPECT_FALSE(far->FAlphaNormalImage);
    EXPECT_EQ(far->ActivePictureIndex, 5);  // kept as read, so the skin round-trips
}

TEST_F(Images, NoButtonLooksWithoutAFullLayeredBorder)
{
    for (const char* frame : {"pictureindex=0\r\nmaskpictureindex=1\r\n", "fullborder=1\r\n"}) {
        Load(frame);
        auto* close = Object<TbsDataSkinStdButton>(L"close");
        for (TbsBitmap* b :
             {close->FAlphaNormalImage, close->FAlphaActiveImage, close->FAlphaDownImage, close->FAlphaInActiveImage,
              close->FAlphaRestoreNormalImage, close->FAlphaRestoreActiveImage, close->FAlphaRestoreDownImage,
              close->FAlphaInActiveRestoreImage})
            EXPECT_FALSE(b) << frame;
    }
}

TEST_F(Images, LayerFrameSources)
{
    struct Case {
        const char* frame;
        bool source;
        std::vector<uint32_t> pixels;
        bool blended;
    };
    const Case cases[] = {
        {"pictureindex=0\r\nmaskpictureindex=1\r\n", true, {0x80C86432, 0x0AFFFFFF, 0xFF000000, 0x000A141E}, true},
        {"pictureindex=0\r\nmaskpictureindex=-1\r\n", true, {0xFFC86432, 0xFFFFFFFF, 0xFF000000, 0xFF0A141E}, true},
        {"pictureindex=0\r\nmaskpictureindex=9\r\n", true, {0xFFC86432, 0xFFFFFFFF, 0xFF000000, 0xFF0A141E}, true},
        {"pictureindex=0\r\nmaskpictureindex=2\r\n", true, {0xFFC86432, 0x00FFFFFF, 0x00000000, 0x000A141E}, false},
        {"pictureindex=4\r\nmaskpictureindex=1\r\n", false, {}, false},
    };
    for (const Case& c : cases) {
        Load(c.frame);
        TbsDataSkinLayerFrame* frame = d.LayerFrame;
        EXPECT_EQ(frame->HasSource(), c.source) << c.frame;
        EXPECT_NE(frame->PictureIndex, -1) << c.frame;  // still a layered frame
        if (!c.source) continue;
        EXPECT_EQ(PixelsOf(frame->FSourceBitmap), c.pixels) << c.frame;
        EXPECT_EQ(frame->FSourceBitmap->AlphaBlend(), c.blended) << c.frame;
        EXPECT_FALSE(frame->FSourceInActiveBitMap) << c.frame;
    }
    Load("pictureindex=0\r\nmaskpictureindex=1\r\ninactivepictureindex=0\r\ninactivemaskpictureindex=2\r\n");
    ASSERT_TRUE(d.LayerFrame->FSourceInActiveBitMap);
    EXPECT_EQ(d.LayerFrame->FSourceInActiveBitMap->Pixel(0, 0), 0xFFC86432u);
}

TEST_F(Images, ClearingFreesImagesAndKeepsWindowGeometryAndFonts)
{
    f.Text("skin.ini", ImageSkin("pictureindex=0\r\nmaskpictureindex=1\r\nfullborder=1\r\n") +
                           "[POPUPWINDOW]\r\nwindowpictureindex=0\r\nlefttoppoint=3,4\r\n"
                           "[HINTWINDOW]\r\nwindowpictureindex=0\r\nrightbottompoint=5,6\r\nfontname=Arial\r\n");
    d.LoadFromFile(f.File("skin.ini"));
    ASSERT_TRUE(d.LayerFrame->HasSource());
    d.ClearSkin();
    EXPECT_FALSE(d.LayerFrame->HasSource());
    EXPECT_EQ(d.LayerFrame->PictureIndex, -1);
    EXPECT_EQ(d.PopupWindow->WindowPictureIndex, -1);
    EXPECT_EQ(d.HintWindow->WindowPictureIndex, -1);
    EXPECT_EQ(d.PopupWindow->LTPoint, Point(3, 4));
    EXPECT_EQ(d.HintWindow->RBPoint, Point(5, 6));
    EXPECT_EQ(d.HintWindow->FontName, L"Arial");
}
