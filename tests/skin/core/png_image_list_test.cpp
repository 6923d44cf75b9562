// The PNG image list: items and their placeholders, the width and height rule, drawing enabled
// and disabled, translucency of every colour type, and the copy into a skin bitmap.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "platform/framework/core/streams.h"
#include "skin/core/png_image_list.h"

namespace {

// A PNG file of one colour type (8 bits per sample), rows of raw samples; palette pictures take
// Palette (RGB triples) and Trns (alphas of the first entries).
std::vector<uint8_t> PngFile(int W, int H, int ColorType, const std::vector<uint8_t>& Samples,
                             const std::vector<uint8_t>& Palette = {}, const std::vector<uint8_t>& Trns = {})
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto chunk = [&](const char* Type, const std::vector<uint8_t>& Data) {
        uint32_t n = static_cast<uint32_t>(Data.size());
        uint8_t len[4] = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
        out.insert(out.end(), len, len + 4);
        std::vector<uint8_t> body(Type, Type + 4);
        body.insert(body.end(), Data.begin(), Data.end());
        out.insert(out.end(), body.begin(), body.end());
        uint32_t crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
        uint8_t c[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)};
        out.insert(out.end(), c, c + 4);
    };
    chunk("IHDR", {0, 0, 0, uint8_t(W), 0, 0, 0, uint8_t(H), 8, uint8_t(ColorType), 0, 0, 0});
    if (!Palette.empty()) chunk("PLTE", Palette);
    if (!Trns.empty()) chunk("tRNS", Trns);
    int channels = ColorType == 2 ? 3 : ColorType == 6 ? 4 : ColorType == 4 ? 2 : 1;
    std::vector<uint8_t> raw;
    for (int y = 0; y < H; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), Samples.begin() + y * W * channels, Samples.begin() + (y + 1) * W * channels);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> z(size);
    compress(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    z.resize(size);
    chunk("IDAT", z);
    chunk("IEND", {});
    return out;
}

void Load(TPngImage& P, const std::vector<uint8_t>& Bytes)
{
    TMemoryStream ms;
    ms.Write(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    ms.SetPosition(0);
    P.LoadFromStream(ms);
}

// A 4 x 1 red RGBA picture with alphas 255, 254, 3, 1.
std::vector<uint8_t> RgbaFile()
{
    return PngFile(4, 1, 6, {255, 0, 0, 255, 255, 0, 0, 254, 255, 0, 0, 3, 255, 0, 0, 1});
}

std::vector<int> Alphas(TPngImage& P)
{
    std::vector<int> v;
    for (int x = 0; x < P.Width(); ++x) v.push_back(P.AlphaScanline(0)[x]);
    return v;
}

}  // namespace

TEST(PngImageList, ItemsKeepOnePlaceholderEach)
{
    TbsPngImageList list(nullptr);
    EXPECT_EQ(list.PngImages()->PngImageList(), &list);
    for (int i = 0; i < 3; ++i) list.PngImages()->Add();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.PngImages()->Items(2)->Name(), L"PngImage2");
    list.PngImages()->Delete(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.PngImages()->Items(1)->Name(), L"PngImage2");
    for (int i = 0; i < 4; ++i) list.PngImages()->Add();
    EXPECT_EQ(list.PngImages()->Items(5)->Name(), L"PngImage5");
    EXPECT_EQ(list.PngImages()->Items(5)->DisplayName(), L"PngImage5");
    EXPECT_EQ(list.Count(), 6);
    // Copying the items copies pictures and names; the placeholders follow.
    TbsPngImageList other(nullptr);
    Load(*list.PngImages()->Items(0)->PngImage(), RgbaFile());
    other.SetPngImages(list.PngImages());
    EXPECT_EQ(other.Count(), 6);
    EXPECT_EQ(other.PngImages()->Items(0)->PngImage()->Width(), 4);
    EXPECT_EQ(other.PngImages()->Items(1)->Name(), L"PngImage2");
}

TEST(PngImageList, ANewSizeClearsAtRunTimeOnly)
{
    TbsPngImageList list(nullptr);
    for (int i = 0; i < 2; ++i) list.PngImages()->Add();
    list.SetPngWidth(16);  // the same value: nothing
    EXPECT_EQ(list.PngImages()->Count(), 2);
    list.SetPngWidth(24);
    EXPECT_EQ(list.PngImages()->Count(), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Width(), 24);

    TbsPngImageList loaded(nullptr);
    loaded.BeginLoading();
    for (int i = 0; i < 2; ++i) loaded.PngImages()->Add();
    loaded.SetPngWidth(32);
    loaded.SetPngHeight(32);
    loaded.EndLoading();
    EXPECT_EQ(loaded.PngImages()->Count(), 2);
    EXPECT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.PngHeight(), 32);
}

TEST(PngImageList, TranslucencyByColourType)
{
    TbsPngImage rgba;
    Load(rgba, RgbaFile());
    MakePngTranslucent(&rgba, 127);
    EXPECT_EQ(Alphas(rgba), (std::vector<int>{128, 127, 2, 0}));

    // Palette: true colour with alpha 127 on opaque pixels, 0 on the transparent entry.
    TbsPngImage pal;
    Load(pal, PngFile(2, 1, 3, {0, 1}, {0, 0, 255, 255, 0, 0}, {0}));
    ASSERT_EQ(pal.Header().ColorType, COLOR_PALETTE);
    MakePngTranslucent(&pal, 127);
    EXPECT_EQ(pal.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(Alphas(pal), (std::vector<int>{0, 127}));
    EXPECT_EQ(pal.Pixels(1, 0), 0x0000FF);  // red kept

    TbsPngImage grey, rgb;
    Load(grey, PngFile(2, 1, 0, {10, 200}));
    MakePngTranslucent(&grey, 127);
    EXPECT_EQ(Alphas(grey), (std::vector<int>{127, 127}));
    Load(rgb, PngFile(1, 1, 2, {1, 2, 3}));
    MakePngTranslucent(&rgb, 127);
    EXPECT_EQ(Alphas(rgb), (std::vector<int>{128}));
}

TEST(PngImageList, DrawsEnabledAndDisabled)
{
    TbsPngImageList list(nullptr);
    list.SetPngWidth(4);
    list.SetPngHeight(1);
    Load(*list.PngImages()->Add()->PngImage(), RgbaFile());
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(8, 2);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 8, 2));
    list.Draw(target.Canvas(), 0, 0, 0, true);
    list.Draw(target.Canvas(), 4, 1, 0, false);
    EXPECT_EQ(target.PixelArgb(0, 0) & 0xFFFFFF, 0xFF0000u);  // opaque red
    uint32_t half = target.PixelArgb(4, 1) & 0xFFFF;          // red at alpha 128 over white
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 2);
    EXPECT_EQ(target.PixelArgb(7, 1) & 0xFFFFFF, 0xFFFFFFu);  // alpha 1 -> 0
    // The item's own picture is left as it was.
    EXPECT_EQ(Alphas(*list.PngImages()->Items(0)->PngImage()), (std::vector<int>{255, 254, 3, 1}));
}

TEST(PngImageList, CopyIntoASkinBitmap)
{
    TbsPngImage rgba, rgb;
    Load(rgba, RgbaFile());
    TbsBitmap b;
    CopyPngToBitmap(&b, &rgba);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(1, 0), 0xFEFF0000u);
    EXPECT_TRUE(b.AlphaBlend());
    Load(rgb, PngFile(1, 1, 2, {1, 2, 3}));
    CopyPngToBitmap(&b, &rgb);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF010203u);
    EXPECT_FALSE(b.AlphaBlend());
}
