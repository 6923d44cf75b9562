#include "skin/core/glow_text.h"

#include <cmath>
#include <memory>

#include "platform/win/win_consts.h"
#include "skin/core/color_filters.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/text_layout.h"

namespace {

// A work bitmap of W x H, black with alpha 0, whose canvas draws the target's font in pure red
// on a clear brush; nullptr when it cannot be made.
std::unique_ptr<TbsBitmap> WorkBitmap(TCanvas* Canvas, int64_t W, int64_t H)
{
    if (W <= 0 || H <= 0 || W > (1 << 24) || H > (1 << 24)) return nullptr;
    auto b = std::make_unique<TbsBitmap>();
    try {
        b->SetSize(static_cast<int>(W), static_cast<int>(H));
    } catch (const std::exception&) {
        return nullptr;
    }
    if (b->Empty()) return nullptr;
    b->Canvas()->Font()->Assign(Canvas->Font());
    b->Canvas()->Font()->SetColor(0x0000FF);
    b->Canvas()->Brush()->SetStyle(bsClear);
    return b;
}

void TextInto(TbsBitmap* B, const String& Text, TRect R, UINT Flags) { DrawWideText(B->Canvas(), Text, R, Flags); }

// Every pixel becomes Color with alpha = its red channel.
void ToColour(TbsBitmap* B, TColor Color)
{
    TbsColor rgb = RGBToBsColor(static_cast<uint32_t>(Color)) & 0xFFFFFF;
    TbsColor* p = B->Bits();
    for (int i = 0, n = B->Width() * B->Height(); i < n; ++i) p[i] = rgb | ((p[i] & 0xFF0000) << 8);
}

void Blend(TCanvas* Canvas, TbsBitmap* B, int X, int Y)
{
    B->SetAlphaBlend(true);
    B->Draw(Canvas, X, Y);
}

int FinalText(TCanvas* Canvas, const String& Text, TRect R, UINT Flags)
{
    Canvas->Brush()->SetStyle(bsClear);
    return DrawWideText(Canvas, Text, R, Flags);
}

TRect Moved(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

int Glow(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int GlowOffset, TColor GlowColor, int G, bool Strong)
{
    G = std::max(G, 0);
    auto b = WorkBitmap(Canvas, R.Width() + 2LL * G, R.Height() + 2LL * G);
    if (b) {
        TRect t = Rect(G, G, b->Width() - G, b->Height() - G);
        TextInto(b.get(), Text, t, Flags);
        if (Strong)
            for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                TextInto(b.get(), Text, Moved(t, dx, dy), Flags);
        BlurBitmap(b.get(), G);
        ToColour(b.get(), GlowColor);
        Blend(Canvas, b.get(), R.Left + GlowOffset - G, R.Top + GlowOffset - G);
    }
    return FinalText(Canvas, Text, R, Flags);
}

int VistaGlow(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, TColor GlowColor, int M, TRect Inset)
{
    auto b = WorkBitmap(Canvas, R.Width() + 2 * M, R.Height() + 2 * M);
    if (b) {
        TRect t = Rect(M, M, b->Width() - M, b->Height() - M);
        b->Canvas()->Brush()->SetColor(0x0000FF);
        b->Canvas()->FillRect(
            Rect(t.Left + Inset.Left, t.Top + Inset.Top, t.Right - Inset.Right, t.Bottom - Inset.Bottom));
        b->Canvas()->Brush()->SetStyle(bsClear);
        for (auto [dx, dy] : {std::pair{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 0}})
            TextInto(b.get(), Text, Moved(t, dx, dy), Flags);
        BlurBitmap(b.get(), M / 2);
        BlurBitmap(b.get(), M / 2);
        ToColour(b.get(), GlowColor);
        Blend(Canvas, b.get(), R.Left - M, R.Top - M);
    }
    return FinalText(Canvas, Text, R, Flags);
}

}  // namespace

void DrawStrongGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int GlowOffset, TColor GlowColor,
                        int GlowSize)
{
    Glow(Canvas, R, Text, Flags, GlowOffset, GlowColor, GlowSize, true);
}

int DrawGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int GlowOffset, TColor GlowColor,
                 int GlowSize)
{
    return Glow(Canvas, R, Text, Flags, GlowOffset, GlowColor, GlowSize, false);
}

int DrawVistaGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, TColor GlowColor)
{
    return VistaGlow(Canvas, R, Text, Flags, GlowColor, 10, Rect(3, 3, 3, 3));
}

int DrawVistaGlowText2(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, TColor GlowColor)
{
    return VistaGlow(Canvas, R, Text, Flags, GlowColor, 12, Rect(-3, 2, -3, 2));
}

void DrawReflectionText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int ReflectionOffset,
                        TColor ReflectionColor)
{
    const int w = R.Width(), h = R.Height();
    auto b = WorkBitmap(Canvas, w, h);
    if (b) {
        TRect t = Rect(0, 0, w, h);
        TextInto(b.get(), Text, t, Flags);
        DrawWideText(b->Canvas(), Text, t, Flags | DT_CALCRECT);
        t.Top = 0;
        TRect tr = R;
        DrawWideText(Canvas, Text, tr, Flags | DT_CALCRECT);
        if (t.Height() > 0) {
            TbsColor rgb = RGBToBsColor(static_cast<uint32_t>(ReflectionColor)) & 0xFFFFFF;
            for (int i = 0; i < h; ++i) {
                TbsColor* row = b->ScanLineAddress(i);
                if (i < t.Top || i > t.Bottom) {
                    for (int x = 0; x < w; ++x) row[x] = 0;
                    continue;
                }
                float k = 0.7f - static_cast<float>(t.Bottom + t.Top - i) / static_cast<float>(t.Bottom - t.Top);
                if (k < 0) k = 0;
                for (int x = 0; x < w; ++x) {
                    TbsColor a = static_cast<TbsColor>(std::nearbyint(((row[x] >> 16) & 0xFF) * k));
                    row[x] = rgb | (a << 24);
                }
            }
        }
        b->FlipVert();
        Blend(Canvas, b.get(), R.Left, tr.Bottom + t.Bottom + ReflectionOffset - h);
    }
    FinalText(Canvas, Text, R, Flags);
}
