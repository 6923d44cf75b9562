#include "skin/core/color_filters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int Round(double V) { return static_cast<int>(std::nearbyint(V)); }

int Red(TbsColor C) { return (C >> 16) & 0xFF; }
int Green(TbsColor C) { return (C >> 8) & 0xFF; }
int Blue(TbsColor C) { return C & 0xFF; }

// Applies Op to every pixel with an alpha other than 0, keeping the alpha.
template <class F>
void ForVisiblePixels(TbsBitmap* B, F&& Op)
{
    if (!B || !B->Bits()) return;
    TbsColor* p = B->Bits();
    for (int i = 0, n = B->Width() * B->Height(); i < n; ++i) {
        TbsColor a = p[i] & 0xFF000000u;
        if (a) p[i] = (Op(p[i]) & 0xFFFFFF) | a;
    }
}

// The value v wrapped once into 0..255 as the hue and saturation deltas do.
float Wrapped(float X, int Delta)
{
    int v = Round(X * 255) + Delta;
    if (v > 255) v -= 255;
    if (v < 0) v += 255;
    return static_cast<float>(v) / 255.0f;
}

// out[x] = sum over k = -r..r of (r + 1 - |k|) * in[clamp(x + k)], by running sums: the sum of
// the left half with the centre leaves, the right half enters.
void TentPass(const int64_t* In, int64_t* Out, int N, int64_t R)
{
    auto at = [&](int64_t i) { return In[std::clamp<int64_t>(i, 0, N - 1)]; };
    // Start sums at x = 0 in O(min(r, n)): clamped positions share the end values.
    int64_t sum = 0, sumOut = 0, sumIn = 0;
    sum += In[0] * (R * (R + 1) / 2);  // k = -r .. -1, all at position 0
    sumOut += In[0] * (R + 1);         // k = -r .. 0
    int64_t lim = std::min<int64_t>(R, N - 1);
    for (int64_t k = 0; k <= lim; ++k) sum += (R + 1 - k) * In[k];
    if (R > N - 1) {
        // k = n .. r read the last value with weights r + 1 - k.
        int64_t a = N, b = R, cnt = b - a + 1;
        int64_t wsum = cnt * (R + 1) - (a + b) * cnt / 2;
        sum += In[N - 1] * wsum;
    }
    for (int64_t k = 1; k <= lim; ++k) sumIn += In[k];
    if (R > N - 1) sumIn += In[N - 1] * (R - (N - 1));
    for (int x = 0; x < N; ++x) {
        Out[x] = sum;
        if (x + 1 == N) break;
        int64_t entering = at(x + R + 1), next = In[x + 1];
        sum += sumIn + entering - sumOut;
        sumOut += next - at(x - R);
        sumIn += entering - next;
    }
}

}  // namespace

TbsColor ColorToBsColor(TColor Color, uint8_t Alpha)
{
    uint32_t c = static_cast<uint32_t>(ColorToRGB(Color));
    return (static_cast<TbsColor>(Alpha) << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TbsColor RGBToBsColor(uint32_t C) { return 0xFF000000u | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }

TbsColor PackBsColor(int16_t R, int16_t G, int16_t B, uint8_t A)
{
    auto cut = [](int v) { return static_cast<TbsColor>(std::clamp(v, 0, 255)); };
    return (static_cast<TbsColor>(A) << 24) | (cut(R) << 16) | (cut(G) << 8) | cut(B);
}

void BsColorToHSL(TbsColor Color, float& H, float& S, float& L)
{
    float r = Red(Color) / 255.0f, g = Green(Color) / 255.0f, b = Blue(Color) / 255.0f;
    float mx = std::max({r, g, b}), mn = std::min({r, g, b});
    L = (mx + mn) / 2;
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    float d = mx - mn;
    S = L < 0.5f ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
        H = (g - b) / d;
    else if (g == mx)
        H = (b - r) / d + 2;
    else
        H = (r - g) / d + 4;
    H /= 6;
    if (H < 0) H += 1;
}

TbsColor HSLToBsColor(float H, float S, float L)
{
    if (S == 0) {
        int v = Round(255.0 * L);
        return PackBsColor(v, v, v, 255);
    }
    float m2 = L <= 0.5f ? L * (1 + S) : L + S - L * S;
    float m1 = 2 * L - m2;
    auto channel = [&](float x) {
        float f = x - std::floor(x), v;
        if (6 * f < 1)
            v = m1 + (m2 - m1) * f * 6;
        else if (2 * f < 1)
            v = m2;
        else if (3 * f < 2)
            v = m1 + (m2 - m1) * (2.0f / 3.0f - f) * 6;
        else
            v = m1;
        return static_cast<int16_t>(Round(255.0 * v));
    };
    return PackBsColor(channel(H + 1.0f / 3.0f), channel(H), channel(H - 1.0f / 3.0f), 255);
}

TbsColor SetColorHue(TbsColor Color, int Hue)
{
    float h, s, l;
    BsColorToHSL(Color, h, s, l);
    return HSLToBsColor(static_cast<float>(std::clamp(Hue, 0, 255)) / 255.0f, s, l);
}

TbsColor ChangeColorHue(TbsColor Color, int Delta)
{
    float h, s, l;
    BsColorToHSL(Color, h, s, l);
    return HSLToBsColor(Wrapped(h, Delta), s, l);
}

TbsColor ChangeColorSat(TbsColor Color, int Delta)
{
    float h, s, l;
    BsColorToHSL(Color, h, s, l);
    return HSLToBsColor(h, Wrapped(s, Delta), l);
}

TbsColor ChangeColorBrightness(TbsColor Color, int Delta)
{
    return PackBsColor(Red(Color) + Delta, Green(Color) + Delta, Blue(Color) + Delta, 255);
}

void TbsBitmap::SetBitmapHue(int Hue)
{
    ForVisiblePixels(this, [&](TbsColor c) { return SetColorHue(c, Hue); });
}

void TbsBitmap::ChangeBitmapSat(int DeltaSat)
{
    if (DeltaSat) ForVisiblePixels(this, [&](TbsColor c) { return ChangeColorSat(c, DeltaSat); });
}

void TbsBitmap::ChangeBitmapHue(int DeltaHue)
{
    if (DeltaHue) ForVisiblePixels(this, [&](TbsColor c) { return ChangeColorHue(c, DeltaHue); });
}

void TbsBitmap::ChangeBitmapBrightness(int DeltaBrightness)
{
    if (DeltaBrightness) ForVisiblePixels(this, [&](TbsColor c) { return ChangeColorBrightness(c, DeltaBrightness); });
}

void BlurBitmap(TbsBitmap* Bitmap, int Radius)
{
    if (!Bitmap || !Bitmap->Bits() || Radius <= 0) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    const int64_t r = Radius, divisor = (r + 1) * (r + 1);
    // Division through a table while it stays small; a radius from a skin file can be anything,
    // and then dividing directly gives the same results.
    std::vector<int32_t> dv;
    if (divisor <= (1 << 14))
        for (int64_t i = 0; i < 256 * divisor; ++i) dv.push_back(static_cast<int32_t>(i / divisor));
    auto div = [&](int64_t s) { return dv.empty() ? static_cast<int>(s / divisor) : dv[static_cast<size_t>(s)]; };

    const size_t n = static_cast<size_t>(w) * h;
    std::vector<int64_t> planes[3];
    std::vector<int64_t> in(static_cast<size_t>(std::max(w, h))), out(in.size());
    for (int c = 0; c < 3; ++c) {
        auto& plane = planes[c];
        plane.resize(n);
        int shift = 16 - 8 * c;
        for (int y = 0; y < h; ++y) {
            const TbsColor* row = Bitmap->ScanLineAddress(y);
            for (int x = 0; x < w; ++x) in[x] = (row[x] >> shift) & 0xFF;
            TentPass(in.data(), out.data(), w, r);
            for (int x = 0; x < w; ++x) plane[static_cast<size_t>(y) * w + x] = div(out[x]);
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) in[y] = plane[static_cast<size_t>(y) * w + x];
            TentPass(in.data(), out.data(), h, r);
            for (int y = 0; y < h; ++y) plane[static_cast<size_t>(y) * w + x] = div(out[y]);
        }
    }
    TbsColor* p = Bitmap->Bits();
    for (size_t i = 0; i < n; ++i)
        p[i] = 0xFF000000u | (static_cast<TbsColor>(planes[0][i]) << 16) | (static_cast<TbsColor>(planes[1][i]) << 8) |
               static_cast<TbsColor>(planes[2][i]);
}

void SetAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask)
{
    if (!Bitmap || !Bitmap->Bits() || !Mask) return;
    for (int x = 0; x < Bitmap->Width(); ++x)
        for (int y = 0; y < Bitmap->Height(); ++y) {
            TbsColor m = Mask->Pixel(x, y);  // 0 outside the mask: transparent
            TbsColor a = static_cast<TbsColor>((Red(m) + Green(m) + Blue(m)) / 3);
            TbsColor* p = Bitmap->PixelAddress(x, y);
            *p = (*p & 0xFFFFFF) | (a << 24);
        }
}

void SetPremultipliedAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask)
{
    SetAlphaFromMask(Bitmap, Mask);
    if (Bitmap) Bitmap->CheckRGBA2();
}
