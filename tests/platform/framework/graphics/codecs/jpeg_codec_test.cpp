#include "platform/framework/graphics/codecs/jpeg_codec.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <cstdio>
#include <cstdlib>

#include "tests/platform/framework/graphics/codecs/codec_test_support.h"

namespace {

// Smooth ramps: what JPEG keeps well, so a tight tolerance still catches colour mix-ups.
TRasterImage Smooth(int w, int h)
{
    TRasterImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetPixel(x, y, 0xFF000000u | (40 + x * 4) << 16 | (200 - y * 3) << 8 | (60 + x + y));
    return img;
}

// Writes a JPEG straight through libjpeg from samples of the given colour space.
std::vector<uint8_t> WriteRawJpeg(int w, int h, int components, J_COLOR_SPACE space,
                                  const std::vector<uint8_t>& samples)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, space);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * w * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(ImageJpeg, RoundTripStaysWithinTolerance)
{
    const TRasterImage img = Smooth(32, 24);
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        TJpegSaveOptions o;
        o.Quality = 95;
        o.Progressive = progressive;
        const TRasterImage back = LoadJpeg(SaveJpeg(img, o));
        EXPECT_TRUE(SamePixels(back, img, 6));
        EXPECT_FALSE(back.HasAlpha());
        EXPECT_EQ(back.BitDepth(), 24);
        EXPECT_EQ(back.SourceFormat(), TImageFormat::Jpeg);
    }
}

TEST(ImageJpeg, QualityIsHonouredAndClamped)
{
    const TRasterImage img = MakeTestImage(64, 64, false);
    TJpegSaveOptions low, high, below, above;
    low.Quality = 10;
    high.Quality = 95;
    below.Quality = -5;
    above.Quality = 1000;
    EXPECT_LT(SaveJpeg(img, low).size(), SaveJpeg(img, high).size());
    EXPECT_EQ(SaveJpeg(img, below).size(), SaveJpeg(img, TJpegSaveOptions{1}).size());
    EXPECT_EQ(SaveJpeg(img, above).size(), SaveJpeg(img, TJpegSaveOptions{100}).size());
    EXPECT_THROW(SaveJpeg(TRasterImage()), EInvalidGraphic);
}

TEST(ImageJpeg, GreyscaleSavesAndLoadsAsGrey)
{
    TJpegSaveOptions o;
    o.Grayscale = true;
    o.Quality = 95;
    const TRasterImage back = LoadJpeg(SaveJpeg(Smooth(16, 16), o));
    EXPECT_EQ(back.BitDepth(), 8);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t p = back.Pixel(x, y);
            ASSERT_EQ(p & 255, (p >> 8) & 255);
            ASSERT_EQ(p & 255, (p >> 16) & 255);
            ASSERT_EQ(p >> 24, 255u);
        }

    std::vector<uint8_t> grey(16 * 8);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<uint8_t>(100 + i % 16);
    const TRasterImage raw = LoadJpeg(WriteRawJpeg(16, 8, 1, JCS_GRAYSCALE, grey));
    EXPECT_EQ(raw.BitDepth(), 8);
    EXPECT_NEAR(static_cast<int>(raw.Pixel(5, 3) & 255), 105, 3);
}

TEST(ImageJpeg, AlphaIsDropped)
{
    const TRasterImage back = LoadJpeg(SaveJpeg(MakeTestImage(8, 8, true)));
    EXPECT_FALSE(back.HasAlpha());
    EXPECT_EQ(back.Pixel(3, 3) >> 24, 255u);
}

TEST(ImageJpeg, ReadsAdobeCmyk)
{
    // libjpeg marks CMYK files with the Adobe marker; such files store ink inverted
    // (255 = no ink), so red is C=255 M=0 Y=0 K=255 and blue is C=0 M=0 Y=255 K=255.
    std::vector<uint8_t> cmyk;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            cmyk.insert(cmyk.end(), x < 8 ? std::initializer_list<uint8_t>{255, 0, 0, 255}
                                          : std::initializer_list<uint8_t>{0, 0, 255, 255});
    const TRasterImage img = LoadJpeg(WriteRawJpeg(16, 8, 4, JCS_CMYK, cmyk));
    EXPECT_TRUE(SamePixels(ImageFromPixels(1, 1, {img.Pixel(3, 3)}), ImageFromPixels(1, 1, {0xFFFF0000}), 8));
    EXPECT_TRUE(SamePixels(ImageFromPixels(1, 1, {img.Pixel(12, 3)}), ImageFromPixels(1, 1, {0xFF0000FF}), 8));
}

TEST(ImageJpeg, DataEndingBeforeTheImageIsCompleteIsAnError)
{
    const TRasterImage img = MakeTestImage(24, 16, false);
    const std::vector<uint8_t> baseline = SaveJpeg(img);
    for (size_t n = 0; n + 2 < baseline.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(LoadJpeg(baseline.data(), n), EInvalidGraphic);
    }
    // Only the end marker missing: the picture is all there.
    EXPECT_TRUE(SamePixels(LoadJpeg(baseline.data(), baseline.size() - 2), LoadJpeg(baseline)));

    TJpegSaveOptions o;
    o.Progressive = true;
    const std::vector<uint8_t> progressive = SaveJpeg(img, o);
    for (size_t n = 0; n < progressive.size(); n += 7) {
        SCOPED_TRACE(n);
        EXPECT_THROW(LoadJpeg(progressive.data(), n), EInvalidGraphic);
    }
    EXPECT_NO_THROW(LoadJpeg(progressive));
}

TEST(ImageJpeg, MalformedFilesAreRefused)
{
    const std::vector<uint8_t> good = SaveJpeg(Smooth(16, 16));
    size_t sof = 2;
    while (sof + 1 < good.size() && !(good[sof] == 0xFF && good[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, good.size());
    auto withSize = [&](unsigned w, unsigned h) {
        std::vector<uint8_t> v = good;
        v[sof + 5] = static_cast<uint8_t>(h >> 8);
        v[sof + 6] = static_cast<uint8_t>(h);
        v[sof + 7] = static_cast<uint8_t>(w >> 8);
        v[sof + 8] = static_cast<uint8_t>(w);
        return v;
    };
    std::vector<uint8_t> badTable = good;
    badTable[sof + 9] = 9;  // component count
    std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF};
    for (int i = 0; i < 64; ++i) garbage.push_back(static_cast<uint8_t>(i * 37));
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const wchar_t* text;
    } cases[] = {
        {"empty", {}, L"JPEG image is not valid (empty)"},
        {"start marker only", {0xFF, 0xD8}, L"JPEG image is not valid"},
        {"not a JPEG", {'B', 'M', 0, 0}, L"no JPEG signature"},
        {"garbage after the start marker", garbage, L"JPEG error #"},
        {"width zero", withSize(0, 16), L"JPEG error #"},
        {"height zero", withSize(16, 0), L"JPEG error #"},
        {"nine components", badTable, L"JPEG error #"},
        {"65000 x 65000", withSize(65000, 65000), L"too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LoadJpeg(c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(c.text), String::npos) << e.what();
        }
    }
}

}  // namespace
