#include "platform/framework/graphics/codecs/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "tests/platform/framework/graphics/codecs/codec_test_support.h"

namespace {

// A PNG described by its header fields and raw samples, written with libpng by the test.
struct PngSpec {
    const char* name;
    int width, height, colorType, bitDepth;
    std::vector<std::vector<unsigned>> rows;  // samples, channels interleaved
    std::vector<uint32_t> expected;           // ARGB, top row first
    bool hasAlpha = false;
    std::vector<uint32_t> palette = {};    // 0xRRGGBB
    std::vector<uint8_t> trnsAlpha = {};   // palette transparency
    std::vector<unsigned> trnsColor = {};  // grey, or red green blue
    int transparentColor = -1;
    bool interlace = false;
};

void OnWrite(png_structp png, png_bytep d, size_t n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), d, d + n);
}

std::vector<uint8_t> Pack(const std::vector<unsigned>& samples, int depth)
{
    std::vector<uint8_t> row;
    if (depth == 16) {
        for (unsigned s : samples) {
            row.push_back(static_cast<uint8_t>(s >> 8));
            row.push_back(static_cast<uint8_t>(s));
        }
        return row;
    }
    int bit = 0;
    for (unsigned s : samples) {
        if (bit == 0) row.push_back(0);
        row.back() |= static_cast<uint8_t>(s << (8 - depth - bit));
        bit = (bit + depth) % 8;
    }
    return row;
}

std::vector<uint8_t> WritePng(const PngSpec& s)
{
    std::vector<std::vector<uint8_t>> packed;
    for (const auto& r : s.rows) packed.push_back(Pack(r, s.bitDepth));
    std::vector<png_bytep> rows;
    for (auto& r : packed) rows.push_back(r.data());
    std::vector<png_color> palette;
    for (uint32_t c : s.palette)
        palette.push_back(
            png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
    png_color_16 trns{};
    if (s.trnsColor.size() == 1)
        trns.gray = static_cast<png_uint_16>(s.trnsColor[0]);
    else if (s.trnsColor.size() == 3) {
        trns.red = static_cast<png_uint_16>(s.trnsColor[0]);
        trns.green = static_cast<png_uint_16>(s.trnsColor[1]);
        trns.blue = static_cast<png_uint_16>(s.trnsColor[2]);
    }
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write " << s.name;
        return {};
    }
    png_set_write_fn(png, &out, OnWrite, nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!s.trnsAlpha.empty() || !s.trnsColor.empty())
        png_set_tRNS(png, info, s.trnsAlpha.empty() ? nullptr : s.trnsAlpha.data(),
                     static_cast<int>(s.trnsAlpha.size()), s.trnsColor.empty() ? nullptr : &trns);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

PngSpec Interlaced()
{
    PngSpec s{"interlaced RGB 9x9", 9, 9, PNG_COLOR_TYPE_RGB, 8, {}, {}};
    s.interlace = true;
    for (unsigned y = 0; y < 9; ++y) {
        std::vector<unsigned> row;
        for (unsigned x = 0; x < 9; ++x) {
            row.insert(row.end(), {x * 20, y * 20, x + y});
            s.expected.push_back(0xFF000000u | (x * 20) << 16 | (y * 20) << 8 | (x + y));
        }
        s.rows.push_back(row);
    }
    return s;
}

std::vector<PngSpec> Variants()
{
    return {
        {"grey 1-bit", 4, 1, PNG_COLOR_TYPE_GRAY, 1, {{1, 0, 1, 1}}, {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"grey 2-bit", 4, 1, PNG_COLOR_TYPE_GRAY, 2, {{0, 1, 2, 3}}, {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}},
        {"grey 4-bit", 3, 1, PNG_COLOR_TYPE_GRAY, 4, {{0, 7, 15}}, {0xFF000000, 0xFF777777, 0xFFFFFFFF}},
        {"grey 8-bit with a transparent grey",
         2,
         1,
         PNG_COLOR_TYPE_GRAY,
         8,
         {{0x40, 0x41}},
         {0x00404040, 0xFF414141},
         true,
         {},
         {},
         {0x40},
         0x404040},
        {"grey 16-bit", 2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x1234, 0xFFFF}}, {0xFF121212, 0xFFFFFFFF}},
        {"RGB 8-bit with a transparent colour",
         2,
         1,
         PNG_COLOR_TYPE_RGB,
         8,
         {{1, 2, 3, 4, 5, 6}},
         {0x00010203, 0xFF040506},
         true,
         {},
         {},
         {1, 2, 3},
         0x010203},
        {"RGB 16-bit", 1, 1, PNG_COLOR_TYPE_RGB, 16, {{0xFFFF, 0x8080, 0}}, {0xFFFF8000}},
        {"palette 2-bit with partial transparency",
         3,
         1,
         PNG_COLOR_TYPE_PALETTE,
         2,
         {{0, 1, 2}},
         {0x80FF0000, 0xFF00FF00, 0xFF0000FF},
         true,
         {0xFF0000, 0x00FF00, 0x0000FF},
         {0x80, 0xFF}},
        {"palette 8-bit with one transparent entry",
         3,
         1,
         PNG_COLOR_TYPE_PALETTE,
         8,
         {{0, 1, 2}},
         {0xFFFFFFFF, 0x00123456, 0xFFFF0000},
         true,
         {0xFFFFFF, 0x123456, 0xFF0000},
         {255, 0},
         {},
         0x123456},
        {"palette 1-bit opaque",
         2,
         1,
         PNG_COLOR_TYPE_PALETTE,
         1,
         {{1, 0}},
         {0xFF00FF00, 0xFFFF0000},
         false,
         {0xFF0000, 0x00FF00}},
        {"grey with alpha 8-bit",
         2,
         1,
         PNG_COLOR_TYPE_GRAY_ALPHA,
         8,
         {{0x10, 0x80, 0xFF, 0xFF}},
         {0x80101010, 0xFFFFFFFF},
         true},
        {"grey with alpha 16-bit", 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {{0xFFFF, 0}}, {0x00FFFFFF}, true},
        {"RGBA 8-bit",
         2,
         1,
         PNG_COLOR_TYPE_RGB_ALPHA,
         8,
         {{1, 2, 3, 4, 250, 251, 252, 253}},
         {0x04010203, 0xFDFAFBFC},
         true},
        {"RGBA 16-bit", 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {{0xFFFF, 0, 0xFFFF, 0x8080}}, {0x80FF00FF}, true},
        Interlaced(),
    };
}

int Channels(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

TEST(ImagePng, ReadsEveryColourTypeAndDepth)
{
    for (const PngSpec& s : Variants()) {
        SCOPED_TRACE(s.name);
        TRasterImage img;
        ASSERT_NO_THROW(img = LoadPng(WritePng(s)));
        EXPECT_TRUE(SamePixels(img, ImageFromPixels(s.width, s.height, s.expected)));
        EXPECT_EQ(img.HasAlpha(), s.hasAlpha);
        EXPECT_EQ(img.PngColorType(), s.colorType);
        EXPECT_EQ(img.BitDepth(), s.bitDepth * Channels(s.colorType));
        EXPECT_EQ(img.HasTransparentColor(), s.transparentColor >= 0);
        if (s.transparentColor >= 0) {
            EXPECT_EQ(img.TransparentColor(), static_cast<uint32_t>(s.transparentColor));
        }
        EXPECT_EQ(img.Palette().size(), s.palette.size());
    }
}

TEST(ImagePng, RoundTripsTrueColourWithAndWithoutAlpha)
{
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha);
        const TRasterImage img = MakeTestImage(17, 11, alpha);
        const TRasterImage back = LoadPng(SavePng(img));
        EXPECT_TRUE(SamePixels(back, img));
        EXPECT_EQ(back.HasAlpha(), alpha);
        EXPECT_EQ(back.PngColorType(), alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
    }
    const TRasterImage img = MakeTestImage(64, 64, false);
    const std::vector<uint8_t> stored = SavePng(img, 0), packed = SavePng(img, 9);
    EXPECT_LT(packed.size(), stored.size());
    EXPECT_TRUE(SamePixels(LoadPng(stored), img));
    EXPECT_THROW(SavePng(TRasterImage()), EInvalidGraphic);
}

// Chunk-level editing of a PNG, with the CRCs written anew.
uint32_t Crc(const uint8_t* p, size_t n, uint32_t crc = 0xFFFFFFFF)
{
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return crc;
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

std::vector<Chunk> Split(const std::vector<uint8_t>& png)
{
    std::vector<Chunk> chunks;
    for (size_t pos = 8; pos + 12 <= png.size();) {
        const uint32_t len = png[pos] << 24 | png[pos + 1] << 16 | png[pos + 2] << 8 | png[pos + 3];
        chunks.push_back({std::string(png.begin() + pos + 4, png.begin() + pos + 8),
                          std::vector<uint8_t>(png.begin() + pos + 8, png.begin() + pos + 8 + len)});
        pos += 12 + len;
    }
    return chunks;
}

std::vector<uint8_t> Join(const std::vector<Chunk>& chunks)
{
    ByteBuilder b;
    b.bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    for (const Chunk& c : chunks) {
        b.be32(static_cast<uint32_t>(c.data.size())).str(c.type.c_str()).raw(c.data);
        std::vector<uint8_t> typed(c.type.begin(), c.type.end());
        typed.insert(typed.end(), c.data.begin(), c.data.end());
        b.be32(Crc(typed.data(), typed.size()) ^ 0xFFFFFFFF);
    }
    return b.v;
}

std::vector<uint8_t> Base() { return WritePng(Interlaced()); }

std::vector<uint8_t> Edit(void (*change)(std::vector<Chunk>&))
{
    std::vector<Chunk> chunks = Split(Base());
    change(chunks);
    return Join(chunks);
}

void SetBe32(std::vector<uint8_t>& d, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

TEST(ImagePng, EditedChunksStillLoad)
{
    // Sanity of the chunk editor the malformed cases rely on.
    EXPECT_TRUE(SamePixels(LoadPng(Edit([](std::vector<Chunk>&) {})), LoadPng(Base())));
}

TEST(ImagePng, TruncationBeforeTheEndOfTheImageDataIsAnError)
{
    PngSpec plain = Interlaced();
    plain.interlace = false;
    for (const std::vector<uint8_t>& full : {Base(), WritePng(plain)}) {
        size_t idatEnd = 8;
        for (const Chunk& c : Split(full)) {
            idatEnd += 12 + c.data.size();
            if (c.type == "IDAT") break;
        }
        idatEnd -= 4;  // the image data ends before the chunk's CRC
        for (size_t n = 0; n < idatEnd; ++n) {
            SCOPED_TRACE(n);
            EXPECT_THROW(LoadPng(full.data(), n), EInvalidGraphic);
        }
        // Complete image data without the end chunk still gives the picture.
        for (size_t n = idatEnd + 4; n <= full.size(); ++n) EXPECT_NO_THROW(LoadPng(full.data(), n)) << n;
    }
}

TEST(ImagePng, MalformedFilesAreRefused)
{
    std::vector<uint8_t> badCrc = Base();
    badCrc[20] ^= 1;  // inside the header chunk's data
    std::vector<uint8_t> badData = Base();
    const size_t idat = 8 + 25 + 8;  // first IDAT data byte (after signature and IHDR)
    for (size_t i = idat + 2; i < idat + 12; ++i) badData[i] ^= 0x55;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const wchar_t* text;
    } cases[] = {
        {"empty", {}, L"empty"},
        {"signature only", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, L"PNG image is not valid"},
        {"not a PNG", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}, L"no PNG signature"},
        {"header CRC wrong", badCrc, L"CRC"},
        {"image data corrupt", badData, L"PNG image is not valid"},
        {"width zero", Edit([](std::vector<Chunk>& c) { SetBe32(c[0].data, 0, 0); }), L"PNG image is not valid"},
        {"width past the side limit", Edit([](std::vector<Chunk>& c) { SetBe32(c[0].data, 0, 70000); }),
         L"PNG image is not valid"},
        {"width 2^31 - 1", Edit([](std::vector<Chunk>& c) { SetBe32(c[0].data, 0, 0x7FFFFFFF); }),
         L"PNG image is not valid"},
        {"20000 x 20000", Edit([](std::vector<Chunk>& c) {
             SetBe32(c[0].data, 0, 20000);
             SetBe32(c[0].data, 4, 20000);
         }),
         L"too large"},
        {"bit depth 3", Edit([](std::vector<Chunk>& c) { c[0].data[8] = 3; }), L"PNG image is not valid"},
        {"colour type 5", Edit([](std::vector<Chunk>& c) { c[0].data[9] = 5; }), L"PNG image is not valid"},
        {"palette type without a palette", Edit([](std::vector<Chunk>& c) { c[0].data[9] = 3; }),
         L"PNG image is not valid"},
        {"no image data", Edit([](std::vector<Chunk>& c) { c.erase(c.begin() + 1, c.end() - 1); }),
         L"PNG image is not valid"},
        {"header chunk missing", Edit([](std::vector<Chunk>& c) { c.erase(c.begin()); }), L"PNG image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LoadPng(c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(c.text), String::npos) << e.what();
        }
    }
}

}  // namespace
