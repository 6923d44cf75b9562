// TPicture with the BMP, JPEG, PNG, GIF and icon classes: round trips by extension and by
// signature, conversions between the classes, JPEG quality, corrupt and truncated files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <typeinfo>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/gif_image.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/jpeg_image.h"
#include "platform/framework/graphics/picture.h"
#include "platform/framework/graphics/png_image.h"
#include "platform/win/win_api.h"
#include "tests/support/temp_dir.h"

namespace {

// Smooth colours in blocks, so JPEG keeps them close.
void Paint(TBitmap& b, int w, int h)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixelArgb(x, y, 0xFF000000u | ((x / 8) * 60) << 16 | ((y / 8) * 70) << 8 | 0x40);
}

int MaxDifference(const TRasterImage& a, const TRasterImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int sh = 0; sh < 24; sh += 8)
                worst = std::max(worst, std::abs(int((a.Pixel(x, y) >> sh) & 255) - int((b.Pixel(x, y) >> sh) & 255)));
    return worst;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct FormatCase {
    const char* ext;
    const std::type_info& type;
    int tolerance;
};
const FormatCase kFormats[] = {{"bmp", typeid(TBitmap), 0},      {"jpg", typeid(TJPEGImage), 24},
                               {"jpeg", typeid(TJPEGImage), 24}, {"png", typeid(TPngImage), 0},
                               {"gif", typeid(TGIFImage), 0},    {"ico", typeid(TIcon), 0}};

}  // namespace

TEST(Picture, RoundTripsABitmapThroughEveryExtension)
{
    TempDir dir;
    TBitmap source;
    Paint(source, 32, 24);
    TRasterImage expected = source.ToRasterImage();
    for (const auto& f : kFormats) {
        SCOPED_TRACE(f.ext);
        TPicture picture;
        picture.Bitmap()->Assign(&source);
        std::string name = dir.file(std::string("快照_1.") + f.ext);
        picture.SaveToFile(Utf8ToString(name));

        TPicture loaded;
        int changes = 0;
        loaded.OnChange = [&](TObject*) { ++changes; };
        loaded.LoadFromFile(Utf8ToString(name));
        ASSERT_NE(loaded.Graphic(), nullptr);
        EXPECT_EQ(typeid(*loaded.Graphic()), f.type);
        EXPECT_EQ(loaded.Width(), 32);
        EXPECT_EQ(loaded.Height(), 24);
        EXPECT_GE(changes, 1);
        EXPECT_LE(MaxDifference(loaded.Graphic()->ToRasterImage(), expected), f.tolerance);

        // The same file by its signature.
        TMemoryStream s;
        s.LoadFromFile(Utf8ToString(name));
        s.SetPosition(0);
        TPicture bySignature;
        bySignature.LoadFromStream(s);
        EXPECT_EQ(typeid(*bySignature.Graphic()), f.type);

        // Drawn onto a bitmap, every class gives the picture's pixels.
        TBitmap drawn;
        drawn.SetPixelFormat(pf24bit);
        drawn.SetSize(32, 24);
        drawn.Canvas()->Draw(0, 0, loaded.Graphic());
        EXPECT_LE(MaxDifference(drawn.ToRasterImage(), expected), f.tolerance);
    }
}

TEST(Picture, CorruptTruncatedAndUnknownFilesRaiseAndKeepThePicture)
{
    TempDir dir;
    TBitmap source;
    Paint(source, 16, 16);
    for (const auto& f : kFormats) {
        SCOPED_TRACE(f.ext);
        TPicture picture;
        picture.SetGraphic(&source);
        std::string good = dir.file(std::string("good.") + f.ext);
        picture.SaveToFile(Utf8ToString(good));
        std::vector<uint8_t> bytes = ReadFile(good);

        std::string cut = dir.file(std::string("cut.") + f.ext);
        WriteFile(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
        EXPECT_THROW(picture.LoadFromFile(Utf8ToString(cut)), EInvalidGraphic);
        std::string empty = dir.file(std::string("empty.") + f.ext);
        WriteFile(empty, {});
        EXPECT_THROW(picture.LoadFromFile(Utf8ToString(empty)), EInvalidGraphic);
        std::string junk = dir.file(std::string("junk.") + f.ext);
        WriteFile(junk, std::vector<uint8_t>(100, 0x5A));
        EXPECT_THROW(picture.LoadFromFile(Utf8ToString(junk)), EInvalidGraphic);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_EQ(typeid(*picture.Graphic()), typeid(TBitmap));
        EXPECT_EQ(picture.Width(), 16);
    }
    TPicture picture;
    try {
        picture.LoadFromFile(dir.File(L"a.xyz"));
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Unknown picture file extension (.xyz)");
    }
    EXPECT_THROW(picture.LoadFromFile(dir.File(L"missing.png")), EFOpenError);
    TMemoryStream junk;
    junk.WriteBuffer("junkjunkjunk", 12);
    junk.SetPosition(0);
    EXPECT_THROW(picture.LoadFromStream(junk), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(Picture, HoldsCopiesAndBitmapReplacesOtherClasses)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGB, 8, 4, 3);
    TPicture picture;
    picture.SetGraphic(&png);
    ASSERT_NE(picture.Graphic(), &png);
    EXPECT_EQ(typeid(*picture.Graphic()), typeid(TPngImage));
    TPicture other;
    other.Assign(&picture);
    EXPECT_EQ(typeid(*other.Graphic()), typeid(TPngImage));
    EXPECT_EQ(other.Width(), 4);
    TBitmap* b = picture.Bitmap();
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(picture.Graphic(), b);
    EXPECT_EQ(picture.Bitmap(), b);
    picture.Icon()->SetHandle(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(32512)));  // the stock icon
    EXPECT_EQ(typeid(*picture.Graphic()), typeid(TIcon));
    EXPECT_EQ(picture.Width(), 32);
    // A picture copies into a graphic of any class.
    TBitmap target;
    target.Assign(&other);
    EXPECT_EQ(target.Width(), 4);
    EXPECT_EQ(target.Height(), 3);
}

TEST(Picture, JpegQualityDecidesTheSizeAndLoadedBytesAreKept)
{
    TBitmap source;
    Paint(source, 64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x * 7 + y * 3) % 5 == 0) source.SetPixelArgb(x, y, 0xFFFFFFFF);
    TJPEGImage low, high;
    low.Assign(&source);
    high.Assign(&source);
    low.SetCompressionQuality(20);
    high.SetCompressionQuality(95);
    TMemoryStream a, b;
    low.SaveToStream(a);
    high.SaveToStream(b);
    EXPECT_LT(a.Size() * 2, b.Size());

    // A loaded JPEG saves its own bytes again until its quality changes.
    b.SetPosition(0);
    TJPEGImage loaded;
    loaded.LoadFromStream(b);
    TMemoryStream again;
    loaded.SaveToStream(again);
    EXPECT_EQ(again.Data(), b.Data());
    loaded.SetCompressionQuality(20);
    TMemoryStream lower;
    loaded.SaveToStream(lower);
    EXPECT_LT(lower.Size(), b.Size());
}
