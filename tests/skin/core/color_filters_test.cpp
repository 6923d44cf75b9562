// Colour arithmetic, HSL, the bitmap colour operations, the blur and the mask-to-alpha routines.
#include <gtest/gtest.h>

#include <random>

#include "skin/core/color_filters.h"
#include "tests/skin/core/skin_test_util.h"

using namespace skintest;

TEST(ColorFilters, PackingAndConversion)
{
    EXPECT_EQ(ColorToBsColor(clRed, 128), 0x80FF0000u);
    EXPECT_EQ(ColorToBsColor(clBtnFace, 255), RGBToBsColor(ColorToRGB(clBtnFace)));
    EXPECT_EQ(RGBToBsColor(0x336699), 0xFF996633u);
    EXPECT_EQ(PackBsColor(300, -5, 128, 255), 0xFFFF0080u);
    float h, s, l;
    BsColorToHSL(0xFFFF0000, h, s, l);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 1.0f);
    EXPECT_EQ(l, 0.5f);
    EXPECT_EQ(HSLToBsColor(0, 1, 0.5f), 0xFFFF0000u);
    BsColorToHSL(0xFF808080, h, s, l);  // grey: no hue, no saturation
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(HSLToBsColor(h, s, l), 0xFF808080u);
    // Round trips of a few colours.
    for (TbsColor c : {0xFF00FF00u, 0xFF0000FFu, 0xFF336699u, 0xFFFFCC00u}) {
        BsColorToHSL(c, h, s, l);
        EXPECT_EQ(HSLToBsColor(h, s, l), c) << std::hex << c;
    }
}

TEST(ColorFilters, HueSaturationAndBrightness)
{
    // Pure red by +300: v = 0 + 300 - 255 = 45.
    float h, s, l;
    BsColorToHSL(ChangeColorHue(0xFFFF0000, 300), h, s, l);
    EXPECT_NEAR(h, 45.0f / 255.0f, 0.005f);
    EXPECT_EQ(ChangeColorHue(0x80FF0000, 0) >> 24, 255u);
    EXPECT_EQ(SetColorHue(0xFFFF0000, 85), HSLToBsColor(85.0f / 255.0f, 1, 0.5f));
    EXPECT_EQ(SetColorHue(0xFFFF0000, 999), SetColorHue(0xFFFF0000, 255));
    BsColorToHSL(ChangeColorSat(0xFFFF0000, -255), h, s, l);  // 255 - 255 = 0
    EXPECT_EQ(s, 0.0f);

    auto b = Filled(2, 1, [](int x, int) { return x ? 0x00102030u : 0x80F0A000u; });
    b->ChangeBitmapBrightness(40);
    EXPECT_EQ(b->Pixel(0, 0), 0x80FFC828u);
    EXPECT_EQ(b->Pixel(1, 0), 0x00102030u);  // alpha 0 untouched
    b->ChangeBitmapHue(0);                   // a delta of 0 changes nothing
    EXPECT_EQ(b->Pixel(0, 0), 0x80FFC828u);
    b->SetBitmapHue(0);
    EXPECT_EQ(b->Pixel(0, 0) >> 24, 0x80u);  // alpha kept
}

namespace {

// The blur by its definition: tent weights, clamped edges, truncating division per pass.
std::vector<int> SlowBlur(const std::vector<int>& Px, int W, int H, int R)
{
    int d = (R + 1) * (R + 1);
    std::vector<int> tmp(Px.size()), out(Px.size());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            long long s = 0;
            for (int k = -R; k <= R; ++k) s += (R + 1 - std::abs(k)) * Px[y * W + std::clamp(x + k, 0, W - 1)];
            tmp[y * W + x] = static_cast<int>(s / d);
        }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            long long s = 0;
            for (int k = -R; k <= R; ++k) s += (R + 1 - std::abs(k)) * tmp[std::clamp(y + k, 0, H - 1) * W + x];
            out[y * W + x] = static_cast<int>(s / d);
        }
    return out;
}

}  // namespace

TEST(ColorFilters, BlurOfOneWhitePixel)
{
    auto b = Filled(5, 5, [](int x, int y) { return x == 2 && y == 2 ? 0x00FFFFFFu : 0u; });
    BlurBitmap(b.get(), 1);
    std::map<char, TbsColor> pal = {{'.', 0xFF000000}, {'c', 0xFF3F3F3F}, {'n', 0xFF1F1F1F}, {'d', 0xFF0F0F0F}};
    EXPECT_EQ(Art(*b, pal),
              ".....\n"
              ".dnd.\n"
              ".ncn.\n"
              ".dnd.\n"
              ".....\n");
    auto untouched = Positions(2, 2);
    BlurBitmap(untouched.get(), 0);
    EXPECT_EQ(untouched->Pixel(1, 1), Pos(1, 1));
}

TEST(ColorFilters, BlurEqualsItsDefinitionForAnyRadius)
{
    std::mt19937 rng(7);
    const int W = 9, H = 6;
    std::vector<int> red(W * H);
    for (auto& v : red) v = static_cast<int>(rng() % 256);
    for (int r : {1, 2, 3, 5, 8, 20, 100, 5000}) {
        auto b = Filled(W, H, [&](int x, int y) { return static_cast<TbsColor>(red[y * W + x]) << 16 | 7; });
        BlurBitmap(b.get(), r);
        std::vector<int> expect = SlowBlur(red, W, H, r), got;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                got.push_back(static_cast<int>((b->Pixel(x, y) >> 16) & 0xFF));
                ASSERT_EQ(b->Pixel(x, y) >> 24, 255u);
                ASSERT_EQ(b->Pixel(x, y) & 0xFF, 7u);  // an even channel stays
            }
        EXPECT_EQ(got, expect) << "radius " << r;
    }
    auto one = Filled(1, 1, [](int, int) { return 0x00FFFFFFu; });
    BlurBitmap(one.get(), 1000000);  // a huge radius from a skin file: no table, same result
    EXPECT_EQ(one->Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(ColorFilters, AlphaFromMask)
{
    auto b = Filled(3, 2, [](int, int) { return 0xFF804020u; });
    auto mask = Filled(2, 2, [](int x, int) { return x ? 0xFF0A0A0Bu : 0x00FFFFFFu; });
    SetAlphaFromMask(b.get(), mask.get());
    EXPECT_EQ(b->Pixel(0, 0), 0xFF804020u);
    EXPECT_EQ(b->Pixel(1, 1), 0x0A804020u);  // (10 + 10 + 11) / 3 truncates to 10
    EXPECT_EQ(b->Pixel(2, 0), 0x00804020u);  // outside the smaller mask: transparent
    auto p = Filled(1, 1, [](int, int) { return 0xFFFF4000u; });
    auto half = Filled(1, 1, [](int, int) { return 0xFF808080u; });
    SetPremultipliedAlphaFromMask(p.get(), half.get());
    EXPECT_EQ(p->Pixel(0, 0), 0x80802000u);
}
