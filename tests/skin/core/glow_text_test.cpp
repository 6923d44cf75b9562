// Glow and reflection text, judged by where colour lands relative to the text's measured
// extent and by comparison with plain text drawn in the effect colour.
#include <gtest/gtest.h>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_api.h"
#include "skin/core/glow_text.h"
#include "skin/core/text_layout.h"
#include "tests/skin/core/skin_test_util.h"

namespace {

std::unique_ptr<TBitmap> White(int W, int H)
{
    auto b = skintest::WhiteBitmap(W, H, pf32bit);
    b->Canvas()->Font()->SetHeight(-14);
    return b;
}

using skintest::Where;

bool Bluish(uint32_t C) { return (C & 0xFF) > ((C >> 16) & 0xFF) + 40; }
bool Reddish(uint32_t C) { return ((C >> 16) & 0xFF) > (C & 0xFF) + 40; }
bool Dark(uint32_t C) { return (C & 0xFF) < 128 && ((C >> 16) & 0xFF) < 128; }

}  // namespace

TEST(GlowText, SizeZeroIsTheTextInTheGlowColourAtItsOffset)
{
    const TRect r = Rect(5, 5, 85, 25);
    auto glow = White(160, 60), plain = White(160, 60);
    DrawGlowText(glow->Canvas(), r, L"Glow", DT_SINGLELINE, 30, 0xFF0000 /* blue */, 0);
    // The same text drawn in blue at the offset, then in black in place.
    TCanvas* c = plain->Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(0xFF0000);
    TRect moved = Rect(r.Left + 30, r.Top + 30, r.Right + 30, r.Bottom + 30);
    DrawWideText(c, L"Glow", moved, DT_SINGLELINE);
    c->Font()->SetColor(clBlack);
    TRect same = r;
    DrawWideText(c, L"Glow", same, DT_SINGLELINE);
    int differ = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 160; ++x) {
            uint32_t a = glow->PixelArgb(x, y), b = plain->PixelArgb(x, y);
            for (int s = 0; s < 24; s += 8) differ += std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 3;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(Where(*glow, Bluish).Right, 0);
}

TEST(GlowText, GlowsReachBeyondTheTextByTheirSize)
{
    struct Case {
        const char* What;
        std::function<void(TCanvas*, TRect)> Draw;
        int Margin;
    } cases[] = {
        {"glow 4", [](TCanvas* c, TRect r) { DrawGlowText(c, r, L"WWW", DT_SINGLELINE, 0, 0xFF0000, 4); }, 4},
        {"strong 4", [](TCanvas* c, TRect r) { DrawStrongGlowText(c, r, L"WWW", DT_SINGLELINE, 0, 0xFF0000, 4); }, 4},
        {"vista", [](TCanvas* c, TRect r) { DrawVistaGlowText(c, r, L"WWW", DT_SINGLELINE, 0xFF0000); }, 10},
        {"vista 2", [](TCanvas* c, TRect r) { DrawVistaGlowText2(c, r, L"WWW", DT_SINGLELINE, 0xFF0000); }, 12},
    };
    for (auto& c : cases) {
        auto b = White(120, 80);
        const TRect r = Rect(30, 30, 90, 50);
        c.Draw(b->Canvas(), r);
        TRect glow = Where(*b, Bluish), text = Where(*b, Dark);
        EXPECT_GE(glow.Left, r.Left - c.Margin) << c.What;
        EXPECT_LE(glow.Bottom, r.Bottom + c.Margin) << c.What;
        EXPECT_LT(glow.Left, text.Left) << c.What;  // the glow spreads past the letters
        EXPECT_GT(text.Right, 0) << c.What;         // and the text is drawn on top
    }
    // A glow whose work bitmap cannot be made still draws the text.
    auto b = White(120, 80);
    EXPECT_GT(DrawGlowText(b->Canvas(), Rect(30, 30, 90, 50), L"WWW", DT_SINGLELINE, 0, 0xFF0000, 1 << 29), 0);
    EXPECT_GT(DrawGlowText(b->Canvas(), Rect(30, 30, 90, 50), L"WWW", DT_SINGLELINE, 0, 0xFF0000, INT32_MAX), 0);
    EXPECT_GT(Where(*b, Dark).Right, 0);
    EXPECT_EQ(Where(*b, Bluish).Right, -1);
}

TEST(GlowText, ReflectionMirrorsBelowTheTextsBottom)
{
    auto b = White(120, 80);
    TRect r = Rect(10, 10, 110, 40);
    TRect tr = r;
    DrawWideText(b->Canvas(), L"Tg", tr, DT_CALCRECT);
    auto c = White(120, 80);
    DrawReflectionText(c->Canvas(), r, L"Tg", 0, 0, 0x0000FF /* red */);
    TRect text = Where(*c, Dark), mirror = Where(*c, Reddish);
    ASSERT_GT(mirror.Right, 0);
    EXPECT_LE(text.Bottom, tr.Bottom);
    EXPECT_GE(mirror.Top, tr.Bottom);                    // starts under the text's last row
    EXPECT_EQ(mirror.Top, 2 * tr.Bottom - text.Bottom);  // the text's lowest ink, mirrored
    // An offset moves it down; an empty text shows nothing.
    auto d = White(120, 80);
    DrawReflectionText(d->Canvas(), r, L"Tg", 0, 5, 0x0000FF);
    EXPECT_EQ(Where(*d, Reddish).Top, mirror.Top + 5);
    auto e = White(120, 80);
    DrawReflectionText(e->Canvas(), r, L"", 0, 0, 0x0000FF);
    EXPECT_EQ(Where(*e, [](uint32_t C) { return C != 0xFFFFFF; }).Right, -1);
}
