// TBitmap: size and pixel formats, scan lines, BMP files in every format, resources, assignment,
// change notices and bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/core/resources.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/image_io.h"
#include "tests/support/temp_dir.h"

namespace {

const TColor kColors[] = {clRed, clLime, clBlue, clWhite};
TColor PatternAt(int x, int y) { return kColors[(x + 2 * y) % 4]; }

// Four colours in a pattern, drawn through the canvas.
void Paint(TBitmap& b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.Canvas()->SetPixels(x, y, PatternAt(x, y));
}

void ExpectSameRgb(const TBitmap& a, const TBitmap& b)
{
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.PixelArgb(x, y) & 0xFFFFFF, b.PixelArgb(x, y) & 0xFFFFFF) << x << "," << y;
}

}  // namespace

TEST(Bitmap, SetSizeKeepsTheOverlapAndZeroEmpties)
{
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.HandleType(), bmDIB);
    b.SetPixelFormat(pf24bit);
    b.SetSize(5, 3);
    Paint(b);
    b.SetSize(3, 4);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Canvas()->Pixels(2, 2), PatternAt(2, 2));
    EXPECT_EQ(b.Canvas()->Pixels(1, 3), clBlack);  // new rows are zero
    b.SetWidth(0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.Height(), 4);
}

TEST(Bitmap, ScanLinesAreTopDownRowsOfThePixelFormat)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(3, 2);
    auto* row1 = static_cast<uint32_t*>(b.ScanLine(1));
    row1[2] = 0x80112233;
    EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(1)) - static_cast<uint8_t*>(b.ScanLine(0)), 12);
    EXPECT_EQ(b.PixelArgb(2, 1), 0x80112233u);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), static_cast<TColor>(0x332211));
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);

    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(b.ScanLineSize(), 12);  // 9 bytes padded to 4
    auto* p = static_cast<uint8_t*>(b.ScanLine(1));
    EXPECT_EQ(p[6], 0x33);  // blue, green, red
    EXPECT_EQ(p[8], 0x11);
}

TEST(Bitmap, PixelFormatConversionsKeepTheColoursTheyCanHold)
{
    TBitmap src;
    src.SetPixelFormat(pf24bit);
    src.SetSize(6, 4);
    Paint(src);
    for (TPixelFormat f : {pf32bit, pf8bit, pf4bit, pf16bit, pf24bit}) {
        TBitmap b;
        b.Assign(&src);
        b.SetPixelFormat(f);
        EXPECT_EQ(b.PixelFormat(), f);
        ExpectSameRgb(b, src);
    }
    TBitmap mono;
    mono.Assign(&src);
    mono.SetMonochrome(true);
    EXPECT_EQ(mono.PixelFormat(), pf1bit);
    EXPECT_EQ(mono.Palette().size(), 2u);
    EXPECT_EQ(mono.PixelArgb(3, 0) & 0xFFFFFF, 0xFFFFFFu);  // white stays white
    EXPECT_EQ(mono.PixelArgb(2, 0) & 0xFFFFFF, 0u);         // blue is nearer black
}

TEST(Bitmap, BmpFilesRoundTripInEveryPixelFormat)
{
    TempDir dir;
    TBitmap src;
    src.SetPixelFormat(pf24bit);
    src.SetSize(7, 5);
    Paint(src);
    struct Case {
        TPixelFormat format;
        TPixelFormat loaded;
        int fileBits;
    };
    for (Case c : {Case{pf1bit, pf1bit, 1}, Case{pf4bit, pf4bit, 4}, Case{pf8bit, pf8bit, 8},
                   Case{pf24bit, pf24bit, 24}, Case{pf32bit, pf32bit, 32}, Case{pfDevice, pf24bit, 24}}) {
        SCOPED_TRACE(c.fileBits);
        TBitmap b;
        b.Assign(&src);
        b.SetPixelFormat(c.format);
        String name = dir.File(L"位图 " + std::to_wstring(int(c.format)) + L".bmp");
        b.SaveToFile(name);
        TRasterImage raw = LoadImageFromFile(name);
        EXPECT_EQ(raw.BitDepth(), c.fileBits);
        TBitmap back;
        back.LoadFromFile(name);
        EXPECT_EQ(back.PixelFormat(), c.loaded);
        ExpectSameRgb(back, b);
    }
}

TEST(Bitmap, ThirtyTwoBitPixelsKeepTheirAlphaThroughAFile)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(2, 2);
    b.SetAlphaFormat(afDefined);
    b.SetPixelArgb(0, 0, 0x80402010);
    b.SetPixelArgb(1, 0, 0xFF0000FF);
    TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.PixelFormat(), pf32bit);
    EXPECT_EQ(back.PixelArgb(0, 0), 0x80402010u);
    EXPECT_EQ(back.PixelArgb(1, 0), 0xFF0000FFu);
    EXPECT_EQ(back.PixelArgb(0, 1) >> 24, 0u);
    EXPECT_EQ(back.AlphaFormat(), afDefined);
}

TEST(Bitmap, AlphaBytesLeftByDrawingAreNoTransparency)
{
    // A frame drawn on with GDI: fills leave alpha 0 next to opaque pixels.
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(4, 2);
    for (int x = 0; x < 4; ++x) frame.SetPixelArgb(x, 0, 0xFF102030);
    frame.Canvas()->Brush()->SetColor(clRed);
    frame.Canvas()->FillRect(Rect(0, 1, 4, 2));
    EXPECT_EQ(frame.PixelArgb(0, 1) >> 24, 0u);
    EXPECT_EQ(frame.AlphaFormat(), afIgnored);
    TMemoryStream s;
    frame.SaveToStream(s);
    s.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.PixelArgb(0, 1), 0xFFFF0000u);
    EXPECT_EQ(back.PixelArgb(0, 0), 0xFF102030u);

    // With its alpha defined, a bitmap draws blended.
    TBitmap glyph;
    glyph.SetPixelFormat(pf32bit);
    glyph.SetSize(2, 1);
    glyph.SetPixelArgb(0, 0, 0x800000FF);
    glyph.SetPixelArgb(1, 0, 0x000000FF);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(2, 1);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    target.Canvas()->Draw(0, 0, &glyph);  // alpha ignored: copied
    EXPECT_EQ(target.PixelArgb(1, 0) & 0xFFFFFF, 0x0000FFu);
    target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    glyph.SetAlphaFormat(afDefined);
    target.Canvas()->Draw(0, 0, &glyph);
    EXPECT_EQ(target.PixelArgb(0, 0) & 0xFFFFFF, 0x7F7FFFu);
    EXPECT_EQ(target.PixelArgb(1, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Bitmap, BadInputRaisesAndKeepsThePicture)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(4, 4);
    Paint(b);
    TMemoryStream good;
    b.SaveToStream(good);
    auto bytes = good.Data();

    TBitmap target;
    target.Assign(&b);
    for (size_t cut : {size_t(0), size_t(10), size_t(40), bytes.size() - 5}) {
        SCOPED_TRACE(cut);
        TMemoryStream s;
        s.WriteBuffer(bytes.data(), static_cast<int64_t>(cut));
        s.SetPosition(0);
        EXPECT_THROW(target.LoadFromStream(s), EInvalidGraphic);
        ExpectSameRgb(target, b);
    }
    TMemoryStream junk;
    junk.WriteBuffer("PK\x03\x04 not a bitmap at all", 24);
    junk.SetPosition(0);
    EXPECT_THROW(target.LoadFromStream(junk), EInvalidGraphic);

    TempDir dir;
    EXPECT_THROW(target.LoadFromFile(dir.File(L"missing.bmp")), EFOpenError);
    TBitmap empty;
    EXPECT_THROW(empty.SaveToStream(good), EInvalidGraphic);
}

TEST(Bitmap, LoadsNamedResourcesWithOrWithoutFileHeader)
{
    TBitmap b;
    b.SetPixelFormat(pf8bit);
    b.SetSize(3, 2);
    Paint(b);
    TMemoryStream file;
    b.SaveToStream(file);
    std::vector<uint8_t> bytes = file.Data();
    RegisterResource(L"BS_HTB", bytes);
    RegisterResource(L"Bs_Dib", std::vector<uint8_t>(bytes.begin() + 14, bytes.end()));

    TBitmap r;
    r.LoadFromResourceName(nullptr, L"bs_htb");
    EXPECT_EQ(r.PixelFormat(), pf8bit);
    ExpectSameRgb(r, b);
    TBitmap d;
    d.LoadFromResourceName(nullptr, L"BS_DIB");
    ExpectSameRgb(d, b);
    try {
        d.LoadFromResourceName(nullptr, L"NO_SUCH");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH not found");
    }
    UnregisterResource(L"BS_HTB");
    UnregisterResource(L"BS_DIB");
    EXPECT_EQ(FindResourceBytes(L"BS_HTB"), nullptr);
}

TEST(Bitmap, AssignCopiesAndChangesAreNoticed)
{
    TBitmap a;
    a.SetPixelFormat(pf24bit);
    a.SetSize(3, 3);
    Paint(a);
    a.SetTransparent(true);
    a.SetTransparentColor(clLime);
    TBitmap b;
    b.Assign(&a);
    ExpectSameRgb(b, a);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clLime);
    a.Canvas()->SetPixels(0, 0, clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), PatternAt(0, 0));  // its own pixels

    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1);
    b.SetSize(4, 4);
    EXPECT_EQ(changes, 2);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());

    // The automatic transparent colour follows the bottom-left pixel.
    a.SetTransparentColor(clDefault);
    a.Canvas()->SetPixels(0, 2, clBlue);
    EXPECT_EQ(a.TransparentColor(), clBlue);
}

TEST(Bitmap, TakesAndGivesItsDibSection)
{
    TBitmap a;
    a.SetPixelFormat(pf32bit);
    a.SetSize(2, 2);
    a.SetPixelArgb(1, 1, 0xFF123456);
    HBITMAP h = a.ReleaseHandle();
    EXPECT_TRUE(a.Empty());
    TBitmap b;
    b.SetHandle(h);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.PixelArgb(1, 1), 0xFF123456u);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), static_cast<TColor>(0x563412));
}
