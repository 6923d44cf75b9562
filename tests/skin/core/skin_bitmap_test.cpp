// TbsBitmap: sizes and their errors, the registry of live bitmaps, fills, alpha and the checks,
// conversions, the stream and PCX loaders with their malformed input, and the reflections.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/core/resources.h"
#include "platform/framework/graphics/clipboard.h"
#include "platform/framework/graphics/picture.h"
#include "platform/framework/graphics/png_image.h"
#include "platform/win/clipboard_api.h"
#include "platform/win/win_api.h"
#include "tests/skin/core/skin_test_util.h"

using namespace skintest;

TEST(SkinBitmap, SetSizeTakesAbsoluteValuesAndKeepsPixelsWhenNothingChanges)
{
    TbsBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(-10, 5);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.Height(), 5);
    EXPECT_EQ(b.Pixel(9, 4), 0u);  // new pixels are zero
    b.SetPixel(3, 3, 0x12345678);
    b.SetSize(0, 5);
    b.SetSize(10, -5);
    EXPECT_EQ(b.Pixel(3, 3), 0x12345678u);
    b.SetSize(4, 4);
    EXPECT_EQ(b.Pixel(3, 3), 0u);
    b.SetPixel(4, 0, 1);  // outside: nothing
    b.SetPixel(-1, 0, 1);
    EXPECT_EQ(b.Pixel(4, 0), 0u);
}

TEST(SkinBitmap, SetSizeFailuresRaiseTheirTextsAndLeaveTheBitmapEmpty)
{
    const char* texts[] = {"Can't allocate the DIB handle", "Can't create compatible DC",
                           "Can't bslect an object into DC"};
    for (int step = 1; step <= 3; ++step) {
        TbsBitmap b;
        b.SetSize(3, 3);
        HDC old = b.DC();
        bs_testing::FailNextSetSize(step);
        try {
            b.SetSize(5, 5);
            ADD_FAILURE() << "no exception at step " << step;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), texts[step - 1]);
        }
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Bits(), nullptr);
        EXPECT_EQ(FindBitmapByDC(old), nullptr);
        b.Clear(1);  // operations on the empty bitmap do nothing
        b.FillRect(Rect(0, 0, 5, 5), 1);
        b.FlipVert();
        b.Reflection();
        b.SetSize(2, 2);  // and it can be sized again
        EXPECT_FALSE(b.Empty());
    }
}

TEST(SkinBitmap, LiveBitmapsAreFoundByTheirDC)
{
    int before = LiveBitmapCount();
    HDC last = nullptr;
    {
        TbsBitmap b;
        EXPECT_EQ(LiveBitmapCount(), before);  // not before its first size
        for (int s : {3, 4, 5}) {
            b.SetSize(s, s);
            EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
            EXPECT_EQ(b.Canvas()->Handle(), b.DC());  // the canvas follows the DC
            last = b.DC();
        }
        EXPECT_EQ(LiveBitmapCount(), before + 1);
    }
    EXPECT_EQ(LiveBitmapCount(), before);
    EXPECT_EQ(FindBitmapByDC(last), nullptr);
    EXPECT_EQ(FindBitmapByDC(nullptr), nullptr);
}

TEST(SkinBitmap, FillRectClipsAndBlendsByTheColoursAlpha)
{
    TbsBitmap b;
    b.SetSize(3, 2);
    b.Clear(0xFF0000FF);
    b.FillRect(Rect(-5, 1, 2, 9), 0xFFFF0000);
    std::map<char, TbsColor> pal = {{'b', 0xFF0000FF}, {'r', 0xFFFF0000}, {'m', 0xBF7F007F}};
    EXPECT_EQ(Art(b, pal), "bbb\nrrb\n");
    b.SetAlphaBlend(true);
    b.FillRect(Rect(0, 0, 3, 2), 0x00FFFFFF);  // alpha 0: nothing
    EXPECT_EQ(Art(b, pal), "bbb\nrrb\n");
    b.FillRect(Rect(2, 0, 3, 1), 0x80FF0000);  // blended by the packed form
    EXPECT_EQ(Art(b, pal), "bbm\nrrb\n");
}

TEST(SkinBitmap, AlphaOperationsAndChecks)
{
    auto b = Filled(3, 1, [](int x, int) { return x == 0 ? 0x80FF4000u : 0x00102030u; });
    b->CheckRGBA2();
    EXPECT_EQ(b->Pixel(0, 0), 0x80802000u);
    EXPECT_EQ(b->Pixel(1, 0), 0u);

    auto c = Filled(2, 1, [](int, int) { return 0x40FF2010u; });
    c->CheckRGBA();
    EXPECT_EQ(c->Pixel(0, 0), 0x40402010u);

    c->SetAlpha(0);
    c->CheckingAlphaBlend();
    EXPECT_FALSE(c->AlphaBlend());
    c->SetAlpha(128, Rect(1, 0, 5, 5));
    EXPECT_EQ(c->Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(c->Pixel(1, 0) >> 24, 128u);
    c->CheckingAlphaBlend();
    EXPECT_TRUE(c->AlphaBlend());
    c->CheckingAlphaBlend(Rect(0, 0, 1, 1));
    EXPECT_FALSE(c->AlphaBlend());
    c->SetAlpha(255, Rect(0, 0, 0, 1));  // a rectangle of zero width does nothing
    EXPECT_EQ(c->Pixel(0, 0) >> 24, 0u);
}

TEST(SkinBitmap, CheckingTransparentWithinFive)
{
    auto b = Filled(4, 1, [](int x, int) {
        const TbsColor px[] = {0xFFFA05FA, 0xFFF905FA, 0x00FF00FF, 0xFFFF06FF};
        return px[x];
    });
    b->CheckingTransparent(0x00FF00FF);
    EXPECT_TRUE(b->Transparent());
    EXPECT_EQ(b->Pixel(0, 0), bsTransparentPixel);  // 5 off on red and blue
    EXPECT_EQ(b->Pixel(1, 0), 0xFFF905FAu);         // 6 off
    EXPECT_EQ(b->Pixel(2, 0), bsTransparentPixel);
    EXPECT_EQ(b->Pixel(3, 0), 0xFFFF06FFu);
    b->CheckingTransparent(Rect(1, 0, 2, 1), 0x00FF00FF);
    EXPECT_FALSE(b->Transparent());
}

TEST(SkinBitmap, AssignFromEveryKindOfSource)
{
    // Another skin bitmap: pixels, name and flags; an empty one empties the target.
    auto src = Positions(3, 2);
    src->SetName(L"abc");
    src->SetAlphaBlend(true);
    TbsBitmap b;
    b.Assign(src.get());
    EXPECT_EQ(b.Pixel(2, 1), Pos(2, 1));
    EXPECT_EQ(b.Name(), L"abc");
    EXPECT_TRUE(b.AlphaBlend());
    TbsBitmap empty;
    b.Assign(&empty);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);

    // A 32-bit framework bitmap keeps its alpha; another depth becomes opaque.
    auto b32 = FrameworkBitmap(2, 1, pf32bit, [](int x, int) { return x ? 0x80102030u : 0xFF405060u; });
    b.Assign(b32.get());
    EXPECT_EQ(b.Pixel(0, 0), 0xFF405060u);
    EXPECT_EQ(b.Pixel(1, 0), 0x80102030u);
    EXPECT_TRUE(b.AlphaBlend());
    auto b24 = FrameworkBitmap(2, 1, pf24bit, [](int, int) { return 0xFF405060u; });
    b.Assign(b24.get());
    EXPECT_EQ(b.Pixel(1, 0), 0xFF405060u);

    // A picture and another graphic.
    TPicture pic;
    pic.SetBitmap(b24.get());
    TbsBitmap fromPic;
    fromPic.Assign(&pic);
    EXPECT_EQ(fromPic.Pixel(0, 0), 0xFF405060u);
    TPngImage png;
    png.Assign(b24.get());
    TbsBitmap fromPng;
    fromPng.Assign(&png);
    EXPECT_EQ(fromPng.Width(), 2);
    EXPECT_EQ(fromPng.Pixel(1, 0), 0xFF405060u);

    TbsBitmap target;
    EXPECT_THROW(target.Assign(static_cast<TPersistent*>(nullptr)), EConvertError);
}

TEST(SkinBitmap, DrawGraphicLeavesMagentaOut)
{
    auto g = FrameworkBitmap(2, 2, pf24bit, [](int x, int y) { return x == y ? 0xFFFF00FFu : 0xFF00FF00u; });
    TbsBitmap b;
    b.SetSize(3, 2);
    b.Clear(0xAA0000FF);
    b.DrawGraphic(g.get(), Rect(1, 0, 3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x < 3; ++x)
            EXPECT_EQ(b.Pixel(x, y) & 0xFFFFFF, x - 1 == y ? 0x0000FFu : 0x00FF00u) << x << "," << y;
    EXPECT_EQ(b.Pixel(0, 0), 0xAA0000FFu);
}

TEST(SkinBitmap, AssignToFrameworkPicturesAndTheClipboard)
{
    auto src = Positions(3, 2, 7);
    TBitmap bmp;
    bmp.Assign(src.get());
    EXPECT_EQ(bmp.PixelFormat(), pf32bit);
    EXPECT_EQ(bmp.PixelArgb(2, 1) & 0xFFFFFF, Pos(2, 1, 7) & 0xFFFFFF);

    TPicture pic;
    pic.Assign(src.get());
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 3);

    Clipboard()->Assign(src.get());
    ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(h, nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = -2;
    bi.bmiHeader.biBitCount = 32;
    uint32_t px[6] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, h, 0, 2, px, &bi, DIB_RGB_COLORS), 2);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    EXPECT_EQ(px[4] & 0xFFFFFF, Pos(1, 1, 7) & 0xFFFFFF);
}

TEST(SkinBitmap, LoadFromResourceReadsTheProgramsTable)
{
    auto bmp = FrameworkBitmap(2, 2, pf24bit, [](int x, int) { return x ? 0xFF112233u : 0xFF445566u; });
    TMemoryStream ms;
    bmp->SaveToStream(ms);
    RegisterResource(L"SKIN_TEST_BMP", std::vector<uint8_t>(ms.Data().begin(), ms.Data().end()));
    TbsBitmap b;
    b.LoadFromResource(L"vexmora", L"skin_test_bmp");
    EXPECT_EQ(b.Pixel(1, 0), 0xFF112233u);
    b.LoadFromResource(L"vexmora", L"NO_SUCH_BITMAP");  // nothing changes
    EXPECT_EQ(b.Pixel(0, 1), 0xFF445566u);
    UnregisterResource(L"SKIN_TEST_BMP");
}

namespace {

std::vector<uint8_t> Bytes(TMemoryStream& S) { return S.Data(); }

void Put32(std::vector<uint8_t>& V, int32_t X)
{
    uint8_t b[4];
    std::memcpy(b, &X, 4);
    V.insert(V.end(), b, b + 4);
}

}  // namespace

TEST(SkinBitmap, StreamRoundTripAndBottomUpRows)
{
    auto src = Positions(3, 2);
    src->SetName(L"abc");
    TMemoryStream ms;
    src->SaveToStream(ms);
    EXPECT_EQ(ms.Size(), 4 + 6 + 8 + 24);
    ms.SetPosition(0);
    TbsBitmap b;
    b.LoadFromStream(ms);
    EXPECT_EQ(b.Name(), L"abc");
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Pixel(2, 1), Pos(2, 1));

    // A stored negative height gives the rows in reverse order.
    std::vector<uint8_t> v = Bytes(ms);
    int32_t neg = -2;
    std::memcpy(v.data() + 4 + 6 + 4, &neg, 4);
    TMemoryStream ms2;
    ms2.Write(v.data(), static_cast<int64_t>(v.size()));
    ms2.SetPosition(0);
    TbsBitmap c;
    c.LoadFromStream(ms2);
    EXPECT_EQ(c.Height(), 2);
    EXPECT_EQ(c.Pixel(0, 0), Pos(0, 1));
    EXPECT_EQ(c.Pixel(2, 1), Pos(2, 0));
}

TEST(SkinBitmap, StreamWithANegativeWidthLeavesThePixelDataUnread)
{
    std::vector<uint8_t> v;
    Put32(v, 0);
    Put32(v, -2);
    Put32(v, 1);
    Put32(v, 0x11111111);
    Put32(v, 0x22222222);
    TMemoryStream ms;
    ms.Write(v.data(), static_cast<int64_t>(v.size()));
    ms.SetPosition(0);
    TbsBitmap b;
    b.LoadFromStream(ms);
    EXPECT_EQ(b.Width(), 2);       // sized by the absolute value
    EXPECT_EQ(b.Pixel(0, 0), 0u);  // but the size differs from the stored one: nothing read
    EXPECT_EQ(ms.Position(), 12);
}

TEST(SkinBitmap, MalformedStreamsRaiseAndLoseNothing)
{
    struct Case {
        const char* What;
        std::vector<uint8_t> Data;
    };
    std::vector<Case> cases;
    auto header = [](int32_t n, int32_t w, int32_t h) {
        std::vector<uint8_t> v;
        Put32(v, n);
        for (int i = 0; i < std::max(n, 0) && i < 2; ++i) v.insert(v.end(), {'x', 0});
        Put32(v, w);
        Put32(v, h);
        return v;
    };
    cases.push_back({"empty", {}});
    cases.push_back({"name longer than the stream", header(1000000, 1, 1)});
    cases.push_back({"negative name length", header(-1, 1, 1)});
    cases.push_back({"pixels past the end", header(2, 100, 100)});
    cases.push_back({"size overflowing 32 bits", header(2, 65536, 65536)});
    cases.push_back({"size overflowing 64 bits", header(2, 0x7FFFFFFF, -0x7FFFFFFF)});
    auto shortPixels = header(2, 2, 2);
    shortPixels.resize(shortPixels.size() + 15);
    cases.push_back({"one byte short", shortPixels});
    for (auto& c : cases) {
        auto b = Positions(2, 2);
        b->SetName(L"kept");
        TMemoryStream ms;
        if (!c.Data.empty()) ms.Write(c.Data.data(), static_cast<int64_t>(c.Data.size()));
        ms.SetPosition(0);
        EXPECT_THROW(b->LoadFromStream(ms), EReadError) << c.What;
        EXPECT_EQ(b->Width(), 2) << c.What;
        EXPECT_EQ(b->Name(), L"kept") << c.What;
        EXPECT_EQ(b->Pixel(1, 1), Pos(1, 1)) << c.What;
    }
}

namespace {

// A PCX file of W x H, 8 bits, one plane, line length L, with the given data and a palette
// whose entry i is (i, 2i, 3i) unless Palette is false.
std::vector<uint8_t> Pcx(int W, int H, int L, const std::vector<uint8_t>& Data, bool Rle = true, bool Palette = true)
{
    std::vector<uint8_t> v(128, 0);
    v[0] = 10;
    v[1] = 5;
    v[2] = Rle ? 1 : 0;
    v[3] = 8;
    v[8] = static_cast<uint8_t>(W - 1);
    v[9] = static_cast<uint8_t>((W - 1) >> 8);
    v[10] = static_cast<uint8_t>(H - 1);
    v[11] = static_cast<uint8_t>((H - 1) >> 8);
    v[65] = 1;
    v[66] = static_cast<uint8_t>(L);
    v[67] = static_cast<uint8_t>(L >> 8);
    v.insert(v.end(), Data.begin(), Data.end());
    if (Palette) {
        v.push_back(12);
        for (int i = 0; i < 256; ++i) v.insert(v.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i)});
    }
    return v;
}

TbsColor Pal(int I) { return 0xFF000000u | (I << 16) | (((2 * I) & 0xFF) << 8) | ((3 * I) & 0xFF); }

void LoadPcx(TbsBitmap& B, const std::vector<uint8_t>& V)
{
    TMemoryStream ms;
    ms.Write(V.data(), static_cast<int64_t>(V.size()));
    ms.SetPosition(0);
    B.LoadFromPcxStream(ms);
}

}  // namespace

TEST(SkinBitmap, PcxDecodesRunsIntoPaletteColours)
{
    // 3 x 2, line length 4: row 0 = 1, 2, 2 (+pad), row 1 = a run of 4 fives.
    TbsBitmap b;
    LoadPcx(b, Pcx(3, 2, 4, {1, 0xC2, 2, 9, 0xC4, 5}));
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(0, 0), Pal(1));
    EXPECT_EQ(b.Pixel(2, 0), Pal(2));
    EXPECT_EQ(b.Pixel(1, 1), Pal(5));
    // Uncompressed data is used as it stands.
    LoadPcx(b, Pcx(2, 1, 2, {7, 8}, false));
    EXPECT_EQ(b.Pixel(1, 0), Pal(8));
}

TEST(SkinBitmap, MalformedPcxReadsNothingOutside)
{
    struct Case {
        const char* What;
        std::vector<uint8_t> Data;
        int W, H;  // the size loaded, 0 when nothing is
    } cases[] = {
        {"shorter than a header", std::vector<uint8_t>(60, 10), 0, 0},
        {"wrong first byte",
         [] {
             auto v = Pcx(2, 2, 2, {1, 2, 3, 4});
             v[0] = 11;
             return v;
         }(),
         0, 0},
        {"no palette, under 769 bytes", Pcx(2, 2, 2, {1, 2, 3, 4}, true, false), 2, 2},
        {"data ends inside a run", Pcx(4, 4, 4, {0xFF}), 4, 4},
        {"line shorter than the width", Pcx(8, 2, 2, {1, 2, 3, 4}), 8, 2},
        {"line length zero", Pcx(3, 2, 0, {1, 2, 3}), 3, 2},
        {"huge size, little data", Pcx(65535, 65535, 65535, {1, 2}), 0, 0},
        {"uncompressed, short data", Pcx(4, 4, 4, {1, 2, 3}, false, false), 4, 4},
    };
    for (auto& c : cases) {
        TbsBitmap b;
        b.SetSize(1, 1);
        b.SetPixel(0, 0, 0x12345678);
        LoadPcx(b, c.Data);
        if (c.W == 0) {
            EXPECT_EQ(b.Width(), 1) << c.What;
            EXPECT_EQ(b.Pixel(0, 0), 0x12345678u) << c.What;
        } else {
            EXPECT_EQ(b.Width(), c.W) << c.What;
            EXPECT_EQ(b.Height(), c.H) << c.What;
        }
    }
}

TEST(SkinBitmap, ReflectionsFadeRowsAfterTheFlip)
{
    auto rowAlphas = [](TbsBitmap& b) {
        std::vector<int> v;
        for (int y = 0; y < b.Height(); ++y) v.push_back(static_cast<int>(b.Pixel(0, y) >> 24));
        return v;
    };
    auto b = Filled(1, 4, [](int, int y) { return 0xFF000000u | y; });
    b->Reflection();
    EXPECT_EQ(rowAlphas(*b), (std::vector<int>{85, 42, 0, 0}));
    EXPECT_EQ(b->Pixel(0, 0) & 0xFF, 3u);  // flipped
    auto c = Filled(1, 4, [](int, int) { return 0xFF000000u; });
    c->Reflection2();
    EXPECT_EQ(rowAlphas(*c), (std::vector<int>{63, 32, 0, 0}));
    auto d = Filled(1, 4, [](int, int y) { return y == 3 ? 0u : 0xFF000000u; });
    d->Reflection3();
    EXPECT_EQ(rowAlphas(*d), (std::vector<int>{0, 64, 0, 0}));  // alpha 0 stays 0
}
