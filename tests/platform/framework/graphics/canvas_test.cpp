// TCanvas, TFont, TBrush and TPen drawing into small bitmaps: exact pixels for lines, shapes,
// fills and blits; text by its measured extent and where its pixels land.
#include <gtest/gtest.h>

#include <string>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"
#include "platform/win/win_api.h"
#include "tests/support/pixel_art.h"

namespace {

// A bitmap filled white, 24-bit so pixels compare on RGB.
std::unique_ptr<TBitmap> WhiteBitmap(int w, int h)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

}  // namespace

TEST(Canvas, LinesLeaveOutTheirEndPointAndMoveThePen)
{
    auto b = WhiteBitmap(6, 4);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    c->MoveTo(1, 1);
    c->LineTo(5, 1);
    EXPECT_EQ(c->PenPos(), Point(5, 1));
    c->Polyline({Point(0, 3), Point(3, 3), Point(3, 1)});
    EXPECT_EQ(PixelArt(*b),
              "......\n"
              ".####.\n"
              "...#..\n"
              "####..\n");
}

TEST(Canvas, RectangleFillsWithTheBrushAndOutlinesWithThePen)
{
    auto b = WhiteBitmap(7, 6);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(1, 1, 6, 5);
    EXPECT_EQ(PixelArt(*b),
              ".......\n"
              ".RRRRR.\n"
              ".RBBBR.\n"
              ".RBBBR.\n"
              ".RRRRR.\n"
              ".......\n");

    // A clear brush leaves the inside as it was.
    auto b2 = WhiteBitmap(5, 5);
    b2->Canvas()->Brush()->SetStyle(bsClear);
    b2->Canvas()->Rectangle(Rect(0, 0, 4, 4));
    EXPECT_EQ(PixelArt(*b2),
              "####.\n"
              "#..#.\n"
              "#..#.\n"
              "####.\n"
              ".....\n");
}

TEST(Canvas, FillRectAndFrameRectUseTheBrushOnly)
{
    auto b = WhiteBitmap(6, 5);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(0, 0, 2, 2));
    c->Brush()->SetColor(clBlue);
    c->FrameRect(Rect(2, 1, 6, 5));
    EXPECT_EQ(PixelArt(*b),
              "GG....\n"
              "GGBBBB\n"
              "..B..B\n"
              "..B..B\n"
              "..BBBB\n");
}

TEST(Canvas, PixelsReadAndWriteRgb)
{
    auto b = WhiteBitmap(3, 3);
    TCanvas* c = b->Canvas();
    c->SetPixels(1, 2, clRed);
    EXPECT_EQ(c->Pixels(1, 2), clRed);
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    EXPECT_EQ(b->PixelArgb(1, 2) & 0xFFFFFF, 0xFF0000u);
    // System colours are resolved.
    c->SetPixels(0, 0, clBtnFace);
    EXPECT_EQ(c->Pixels(0, 0), ColorToRGB(clBtnFace));
}

TEST(Canvas, DrawLeavesOutTheTransparentColour)
{
    // Bottom-left pixel fuchsia: the automatic transparent colour.
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(3, 3);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 3, 3));
    glyph.Canvas()->SetPixels(1, 1, clBlue);
    glyph.Canvas()->SetPixels(2, 0, clLime);

    auto b = WhiteBitmap(5, 4);
    b->Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(PixelArt(*b).substr(0, 6), ".??G.\n");  // opaque: fuchsia copied

    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    auto t = WhiteBitmap(5, 4);
    t->Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(PixelArt(*t),
              "...G.\n"
              "..B..\n"
              ".....\n"
              ".....\n");

    // A fixed colour replaces the automatic one.
    glyph.SetTransparentColor(clBlue);
    EXPECT_EQ(glyph.TransparentMode(), tmFixed);
    auto f = WhiteBitmap(5, 4);
    f->Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(PixelArt(*f),
              ".??G.\n"
              ".?.?.\n"
              ".???.\n"
              ".....\n");
    glyph.SetTransparentColor(clDefault);
    EXPECT_EQ(glyph.TransparentMode(), tmAuto);
}

// The layer's stretch rule: destination k reads source trunc(k * (s - 1) / (d - 1)).
TEST(Canvas, StretchDrawAndCopyRectScaleByNearestPixel)
{
    TBitmap src;
    src.SetPixelFormat(pf24bit);
    src.SetSize(2, 2);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlue);
    src.Canvas()->SetPixels(0, 1, clLime);
    src.Canvas()->SetPixels(1, 1, clBlack);

    auto b = WhiteBitmap(5, 4);
    b->Canvas()->StretchDraw(Rect(0, 0, 4, 4), &src);
    EXPECT_EQ(PixelArt(*b),
              "RRRB.\n"
              "RRRB.\n"
              "RRRB.\n"
              "GGG#.\n");

    auto c = WhiteBitmap(4, 2);
    c->Canvas()->CopyRect(Rect(1, 0, 3, 1), src.Canvas(), Rect(0, 1, 2, 2));
    EXPECT_EQ(PixelArt(*c),
              ".G#.\n"
              "....\n");
}

TEST(Canvas, TextIsMeasuredAndDrawnInsideItsExtent)
{
    auto b = WhiteBitmap(120, 40);
    TCanvas* c = b->Canvas();
    c->Font()->SetName(L"Tahoma");
    c->Font()->SetHeight(-14);
    c->Font()->SetColor(clBlack);
    TSize one = c->TextExtent(L"Hello");
    TSize two = c->TextExtent(L"HelloHello");
    ASSERT_GT(one.cx, 10);
    EXPECT_GE(one.cy, 14);
    EXPECT_NEAR(two.cx, 2 * one.cx, 2);
    EXPECT_EQ(c->TextHeight(L"Hello"), one.cy);
    EXPECT_GT(c->TextWidth(L"转换器"), c->TextWidth(L"转"));
    // An empty bitmap's canvas measures text as well.
    TBitmap empty;
    empty.Canvas()->Font()->Assign(c->Font());
    EXPECT_EQ(empty.Canvas()->TextExtent(L"Hello"), one);

    c->Brush()->SetStyle(bsClear);
    c->TextOut(10, 5, L"Hello");
    EXPECT_EQ(c->PenPos(), Point(10 + one.cx, 5));
    int inked = 0;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x)
            if ((b->PixelArgb(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ++inked;
                EXPECT_TRUE(x >= 10 && x < 10 + one.cx + 1 && y >= 5 && y < 5 + one.cy) << x << "," << y;
            }
    EXPECT_GT(inked, 20);

    // A solid brush fills the text's background cell in the brush colour.
    auto s = WhiteBitmap(120, 40);
    s->Canvas()->Font()->Assign(c->Font());
    s->Canvas()->Brush()->SetColor(clLime);
    s->Canvas()->TextOut(0, 0, L"Hi");
    EXPECT_EQ(s->PixelArgb(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(s->PixelArgb(s->Canvas()->TextWidth(L"Hi") + 2, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Canvas, TextRectClipsToItsRectangle)
{
    auto b = WhiteBitmap(100, 30);
    TCanvas* c = b->Canvas();
    c->Font()->SetHeight(-16);
    c->Brush()->SetColor(clLime);
    c->TextRect(Rect(5, 5, 20, 25), 5, 5, L"WWWWWWWW");
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            bool inside = x >= 5 && x < 20 && y >= 5 && y < 25;
            if (!inside) {
                EXPECT_EQ(b->PixelArgb(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
            }
        }
    // The opaque rectangle is filled where no glyph covers it.
    EXPECT_EQ(b->PixelArgb(19, 24) & 0xFFFFFF, 0x00FF00u);
}

TEST(Canvas, AttachesToAnExternalDcAndDetaches)
{
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(4, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, target.Handle());
    HGDIOBJ dcFont = GetCurrentObject(dc, OBJ_FONT);
    {
        TCanvas canvas;
        EXPECT_THROW(canvas.Handle(), EInvalidOperation);
        canvas.SetHandle(dc);
        EXPECT_EQ(canvas.Handle(), dc);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 2, 2));
        canvas.TextWidth(L"x");  // selects the font
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font()->Handle());
        canvas.SetHandle(nullptr);
        EXPECT_FALSE(canvas.HandleAllocated());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), dcFont);
    }
    EXPECT_EQ(target.PixelArgb(1, 1) & 0xFFFFFF, 0xFF0000u);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}

TEST(Canvas, LockNestsAndCountsPerCanvas)
{
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    EXPECT_TRUE(canvas.TryLock());
    canvas.Unlock();
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(GraphicsObjects, FontSizeHeightStyleAndChangeNotice)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -12);
    EXPECT_EQ(f.Size(), 9);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    f.SetStyle({fsBold, fsUnderline});
    EXPECT_TRUE(f.Style().Contains(fsBold));
    EXPECT_FALSE(f.Style().Contains(fsItalic));
    f.SetStyle({fsBold, fsUnderline});  // same value: no notice
    EXPECT_EQ(changes, 3);

    HFONT h = f.Handle();
    LOGFONTW lf;
    ASSERT_EQ(GetObjectW(h, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(String(lf.lfFaceName), f.Name());

    TFont g;
    g.SetName(L"宋体");
    g.SetColor(clRed);
    g.SetCharset(GB2312_CHARSET);
    f.Assign(&g);
    EXPECT_EQ(f.Name(), L"宋体");
    EXPECT_EQ(f.Color(), clRed);
    EXPECT_EQ(f.Charset(), GB2312_CHARSET);
    EXPECT_EQ(f.Height(), g.Height());
    EXPECT_TRUE(f.Style().Empty());
    EXPECT_EQ(changes, 4);
    TPen p;
    EXPECT_THROW(f.Assign(&p), EConvertError);
}

TEST(GraphicsObjects, BrushAndPenHandlesFollowTheirProperties)
{
    TBrush b;
    b.SetColor(clRed);
    LOGBRUSH lb;
    ASSERT_NE(GetObjectW(b.Handle(), sizeof(lb), &lb), 0);
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, 0x0000FFu);
    b.SetStyle(bsClear);
    ASSERT_NE(GetObjectW(b.Handle(), sizeof(lb), &lb), 0);
    EXPECT_EQ(lb.lbStyle, BS_NULL);
    b.SetColor(clRed);  // a colour makes a clear brush solid again
    EXPECT_EQ(b.Style(), bsSolid);

    TPen p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.SetWidth(3);
    p.SetColor(clBlue);
    LOGPEN lp;
    ASSERT_NE(GetObjectW(p.Handle(), sizeof(lp), &lp), 0);
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, 0xFF0000u);
    TPen q;
    q.Assign(&p);
    EXPECT_EQ(q.Width(), 3);
    EXPECT_EQ(q.Color(), clBlue);
    EXPECT_EQ(changes, 2);
}

TEST(GraphicsObjects, PenModeXorInvertsTwice)
{
    auto b = WhiteBitmap(4, 1);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clWhite);
    c->Pen()->SetMode(pmXor);
    c->MoveTo(0, 0);
    c->LineTo(2, 0);
    EXPECT_EQ(PixelArt(*b), "##..\n");
    c->MoveTo(0, 0);
    c->LineTo(2, 0);
    EXPECT_EQ(PixelArt(*b), "....\n");
}
