#include "platform/framework/graphics/codecs/image_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/framework/core/files.h"
#include "tests/platform/framework/graphics/codecs/codec_test_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

TEST(ImageCodecs, RecognisesFormatsBySignatureAndExtension)
{
    const TRasterImage img = MakeTestImage(5, 4, false);
    for (TImageFormat f : {TImageFormat::Bmp, TImageFormat::Png, TImageFormat::Jpeg, TImageFormat::Gif}) {
        const std::vector<uint8_t> bytes = SaveImage(img, f);
        EXPECT_EQ(DetectImageFormat(bytes.data(), bytes.size()), f);
        EXPECT_EQ(LoadImage(bytes).SourceFormat(), f);
    }
    const uint8_t junk[] = {'B', 'X', 0xFF, 0xD8};
    EXPECT_EQ(DetectImageFormat(junk, 4), TImageFormat::Unknown);
    EXPECT_EQ(DetectImageFormat(junk, 0), TImageFormat::Unknown);

    const struct {
        const wchar_t* name;
        TImageFormat format;
    } names[] = {
        {L"a.BMP", TImageFormat::Bmp},   {L"/x/截图.png", TImageFormat::Png}, {L"a.jpg", TImageFormat::Jpeg},
        {L"a.JPEG", TImageFormat::Jpeg}, {L"a.gif", TImageFormat::Gif},       {L"a.pcx", TImageFormat::Unknown},
        {L"bmp", TImageFormat::Unknown},
    };
    for (const auto& n : names) EXPECT_EQ(ImageFormatFromFileName(n.name), n.format) << StringToUtf8(n.name);
}

TEST(ImageCodecs, EmptyAndUnknownInputIsRefused)
{
    EXPECT_THROW(LoadImage(nullptr, 0), EInvalidGraphic);
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    try {
        LoadImage(text);
        ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Unknown picture format");
    }
    EXPECT_THROW(SaveImage(MakeTestImage(2, 2, false), TImageFormat::Unknown), EInvalidGraphic);
}

TEST(ImageCodecs, FilesWithNonAsciiNamesRoundTrip)
{
    TempDir dir;
    const TRasterImage img = MakePaletteImage(7, 5, 20);
    for (const wchar_t* name : {L"快照 1.bmp", L"快照 1.png", L"快照 1.gif"}) {
        SaveImageToFile(img, dir.File(name));
        EXPECT_TRUE(SamePixels(LoadImageFromFile(dir.File(name)), img)) << StringToUtf8(name);
    }
    SaveImageToFile(img, dir.File(L"快照 1.jpg"));  // lossy: only its kind and size are checked
    const TRasterImage jpeg = LoadImageFromFile(dir.File(L"快照 1.jpg"));
    EXPECT_EQ(jpeg.SourceFormat(), TImageFormat::Jpeg);
    EXPECT_EQ(jpeg.Width(), 7);
    EXPECT_EQ(jpeg.Height(), 5);

    // A stream is read from its position to its end.
    TMemoryStream stream;
    stream.WriteBuffer("xyz", 3);
    SaveImageToStream(img, TImageFormat::Png, stream);
    stream.SetPosition(3);
    EXPECT_TRUE(SamePixels(LoadImageFromStream(stream), img));
}

TEST(ImageCodecs, FailedSavesLeaveFilesAlone)
{
    TempDir dir;
    WriteBytes(dir.file("old.png"), "keep me");
    EXPECT_THROW(SaveImageToFile(TRasterImage(), dir.File(L"old.png")), EInvalidGraphic);
    EXPECT_EQ(ReadBytes(dir.file("old.png")), "keep me");
    EXPECT_THROW(SaveImageToFile(MakeTestImage(2, 2, false), dir.File(L"x.pcx")), EInvalidGraphic);
    EXPECT_FALSE(FileExists(dir.File(L"x.pcx")));
    EXPECT_THROW(LoadImageFromFile(dir.File(L"missing.bmp")), EFOpenError);
}

TEST(ImageCodecs, UnwritableFolderRaises)
{
    TempDir dir;
    ASSERT_TRUE(CreateDir(dir.File(L"ro")));
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("ro").c_str(), 0555);
    const int rc = RunUnprivileged([&] {
        try {
            SaveImageToFile(MakeTestImage(2, 2, false), dir.File(L"ro/a.bmp"));
        } catch (const EFCreateError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(FileExists(dir.File(L"ro/a.bmp")));
}

TEST(ImageCodecs, RasterImageKeepsItsBounds)
{
    TRasterImage img(3, 2);
    EXPECT_EQ(img.Pixel(2, 1), 0xFF000000u);
    img.SetPixel(5, 5, 0xFFFFFFFF);  // outside: ignored
    EXPECT_EQ(img.Pixel(-1, 0), 0u);
    EXPECT_EQ(img.Stride(), 12u);
    EXPECT_THROW(img.SetSize(-1, 2), EInvalidGraphic);
    img.SetSize(0, 5);
    EXPECT_TRUE(img.Empty());
    {
        PixelLimitGuard limit(100);
        EXPECT_THROW(img.SetSize(11, 10), EInvalidGraphic);
        EXPECT_NO_THROW(img.SetSize(10, 10));
    }
    EXPECT_THROW(img.SetSize(kMaxImageSide + 1, 1), EInvalidGraphic);

    TRasterImage a = MakeTestImage(4, 4, true);
    EXPECT_TRUE(a.HasPartialAlpha());
    a.MakeOpaque();
    EXPECT_FALSE(a.HasAlpha());
    EXPECT_FALSE(a.HasPartialAlpha());
    EXPECT_EQ(a.Pixel(1, 1) >> 24, 255u);
}

}  // namespace
