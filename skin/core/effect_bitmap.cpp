#include "skin/core/effect_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "platform/win/gdi_api.h"

namespace {

int Round(double V) { return static_cast<int>(std::nearbyint(V)); }
uint8_t Clamp(double V) { return static_cast<uint8_t>(std::clamp(Round(V), 0, 255)); }

// Each channel := round(own x t + other x (1 - t)).
void Mix(uint8_t* Own, const uint8_t* Other, double T)
{
    for (int c = 0; c < 3; ++c) Own[c] = Clamp(Own[c] * T + Other[c] * (1 - T));
}

std::mt19937& Rng()
{
    static std::mt19937 rng(std::random_device{}());
    return rng;
}

int Random(int N) { return std::uniform_int_distribution<int>(0, N - 1)(Rng()); }

}  // namespace

TbsEffectBmp::TbsEffectBmp(int cx, int cy)
{
    Width = std::max(cx, 0);
    Height = std::max(cy, 0);
    Size = RowBytes() * Height;
    BmpHeader.biSize = 40;
    BmpHeader.biWidth = Width;
    BmpHeader.biHeight = -Height;
    BmpHeader.biPlanes = 1;
    BmpHeader.biBitCount = 24;
    BmpHeader.biCompression = BI_RGB;
    BmpInfo.bmiHeader = BmpHeader;
    void* bits = nullptr;
    if (Width && Height) Handle = CreateDIBSection(nullptr, &BmpInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = Handle ? static_cast<uint8_t*>(bits) : nullptr;
    if (!Bits) Width = Height = Size = 0;
}

TbsEffectBmp* TbsEffectBmp::CreateFromhWnd(HBITMAP hBmp)
{
    BITMAP bm{};
    if (!hBmp || !GetObjectW(hBmp, sizeof(bm), &bm)) return new TbsEffectBmp(0, 0);
    auto* e = new TbsEffectBmp(bm.bmWidth, std::abs(bm.bmHeight));
    if (e->Bits) {
        HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
        GetDIBits(dc, hBmp, 0, static_cast<UINT>(e->Height), e->Bits, &e->BmpInfo, DIB_RGB_COLORS);
        DeleteDC(dc);
    }
    return e;
}

TbsEffectBmp* TbsEffectBmp::CreateCopy(const TbsEffectBmp* hBmp)
{
    auto* e = new TbsEffectBmp(hBmp ? hBmp->Width : 0, hBmp ? hBmp->Height : 0);
    if (e->Bits && hBmp->Bits) std::memcpy(e->Bits, hBmp->Bits, static_cast<size_t>(e->Size));
    return e;
}

TbsEffectBmp::~TbsEffectBmp()
{
    if (Handle) DeleteObject(Handle);
}

void TbsEffectBmp::GetScanLine(int y, void* Line) const
{
    if (Bits && y >= 0 && y < Height) std::memcpy(Line, Row(y), static_cast<size_t>(3 * Width));
}

int TbsEffectBmp::Pixel(int x, int y) const
{
    if (!Bits || !Inside(x, y)) return 0;
    const uint8_t* p = At(x, y);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

void TbsEffectBmp::SetPixel(int x, int y, int Color)
{
    if (!Bits || !Inside(x, y)) return;
    uint8_t* p = At(x, y);
    p[0] = Color & 0xFF;
    p[1] = (Color >> 8) & 0xFF;
    p[2] = (Color >> 16) & 0xFF;
}

void TbsEffectBmp::Draw(HDC hDC, int x, int y)
{
    if (Bits)
        SetDIBitsToDevice(hDC, x, y, static_cast<DWORD>(Width), static_cast<DWORD>(Height), 0, 0, 0,
                          static_cast<UINT>(Height), Bits, &BmpInfo, DIB_RGB_COLORS);
}

void TbsEffectBmp::Stretch(HDC hDC, int x, int y, int cx, int cy)
{
    if (Bits) StretchDIBits(hDC, x, y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC hDC, int hx, int hy, int x, int y, int cx, int cy)
{
    // An unscaled blit of the area: the effect the mirrored StretchDIBits call was there for.
    if (!Bits || cx <= 0 || cy <= 0) return;
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, Handle);
    BitBlt(hDC, hx, hy, cx, cy, mem, x, y, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// ---- transitions ----

void TbsEffectBmp::Morph(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Kf = std::clamp(Kf, 0.0, 1.0);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) Mix(At(x, y), BMP->At(x, y), 1 - Kf);
}

void TbsEffectBmp::MorphRect(const TbsEffectBmp* BMP, double Kf, TRect Rct, int StartX, int StartY)
{
    if (!BMP || !BMP->Bits || !Bits) return;
    Kf = std::clamp(Kf, 0.0, 1.0);
    for (int y = Rct.Top; y < Rct.Bottom; ++y)
        for (int x = Rct.Left; x < Rct.Right; ++x) {
            int bx = StartX + x - Rct.Left, by = StartY + y - Rct.Top;
            if (Inside(x, y) && BMP->Inside(bx, by)) Mix(At(x, y), BMP->At(bx, by), 1 - Kf);
        }
}

void TbsEffectBmp::CopyRect(const TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY)
{
    if (!BMP || !BMP->Bits || !Bits) return;
    Rct.Right = std::min(Rct.Right, Width - 1);
    Rct.Bottom = std::min(Rct.Bottom, Height - 1);
    for (int y = Rct.Top; y <= Rct.Bottom; ++y)
        for (int x = Rct.Left; x <= Rct.Right; ++x) {
            int bx = StartX + x - Rct.Left, by = StartY + y - Rct.Top;
            if (Inside(x, y) && BMP->Inside(bx, by)) std::memcpy(At(x, y), BMP->At(bx, by), 3);
        }
}

void TbsEffectBmp::MorphGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (Width < Height)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

void TbsEffectBmp::MorphHGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = Round(Width * Kf), g = (Width - b) / 2;
    double step = g ? 1.0 / g : 1.0;
    int l = std::max(Width / 2 - b / 2, 0), r = std::min(Width / 2 + b / 2, Width - 1);
    for (int y = 0; y < Height; ++y) {
        for (int x = l; x <= r; ++x) std::memcpy(At(x, y), BMP->At(x, y), 3);
        double t = 0;
        for (int x = std::min(l, Width - 1); x >= 0; --x, t = std::min(t + step, 1.0)) Mix(At(x, y), BMP->At(x, y), t);
        t = 0;
        for (int x = std::max(r, 0); x < Width; ++x, t = std::min(t + step, 1.0)) Mix(At(x, y), BMP->At(x, y), t);
    }
}

void TbsEffectBmp::MorphVGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = Round(Height * Kf), g = (Height - 1 - b) / 2;
    double step = g ? 1.0 / g : 0.0;
    int top = std::max(Height / 2 - b / 2, 0), bottom = std::min(Height / 2 + b / 2, Height - 1);
    auto mixRow = [&](int y, double t) {
        for (int x = 0; x < Width; ++x) Mix(At(x, y), BMP->At(x, y), t);
    };
    for (int y = top; y <= bottom; ++y) std::memcpy(Row(y), BMP->Row(y), static_cast<size_t>(3 * Width));
    double t = 0;
    for (int y = std::min(top, Height - 1); y >= 0; --y, t = std::min(t + step, 1.0)) mixRow(y, t);
    t = 0;
    for (int y = std::max(bottom, 0); y < Height; ++y, t = std::min(t + step, 1.0)) mixRow(y, t);
}

void TbsEffectBmp::MorphLeftGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = std::min(std::max(Round(Width * Kf), 1), Width - 1);
    double step = b > 0 ? 1.0 / b : 1.0;
    for (int y = 0; y < Height; ++y) {
        double t = 0;
        for (int x = 0; x <= b; ++x, t = std::min(t + step, 1.0)) Mix(At(x, y), BMP->At(x, y), t);
    }
}

void TbsEffectBmp::MorphRightGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int c = std::min(std::max(Width - Round(Width * Kf), 0), Width - 1);
    double step = Width - c > 0 ? 1.0 / (Width - c) : 1.0;
    for (int y = 0; y < Height; ++y) {
        double t = 0;
        for (int x = Width - 1; x >= c; --x, t = std::min(t + step, 1.0)) Mix(At(x, y), BMP->At(x, y), t);
    }
}

void TbsEffectBmp::MorphLeftSlide(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = std::min(std::max(Round(Width * Kf), 1), Width - 1);
    for (int y = 0; y < Height; ++y)
        for (int k = 0; k < b; ++k) std::memcpy(At(k, y), BMP->At(Width - b + k, y), 3);
}

void TbsEffectBmp::MorphRightSlide(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = std::min(std::max(Round(Width * Kf), 1), Width - 1);
    for (int y = 0; y < Height; ++y)
        for (int k = 0; k < b; ++k) std::memcpy(At(Width - b + k, y), BMP->At(k, y), 3);
}

void TbsEffectBmp::MorphPush(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    int b = std::min(std::max(Round(Width * Kf), 0), Width - 1);
    for (int y = 0; y < Height; ++y) {
        for (int x = Width - 1; x >= b; --x) std::memcpy(At(x, y), At(std::max(x - b - 1, 0), y), 3);
        for (int k = 0; k <= b; ++k) std::memcpy(At(k, y), BMP->At(Width - b - 1 + k, y), 3);
    }
}

void TbsEffectBmp::MorphBy(TbsMorphKind Kind, const TbsEffectBmp* BMP, double Kf)
{
    switch (Kind) {
    case mkDefault: Morph(BMP, Kf); break;
    case mkGradient: MorphGrad(BMP, Kf); break;
    case mkLeftGradient: MorphLeftGrad(BMP, Kf); break;
    case mkRightGradient: MorphRightGrad(BMP, Kf); break;
    case mkLeftSlide: MorphLeftSlide(BMP, Kf); break;
    case mkRightSlide: MorphRightSlide(BMP, Kf); break;
    case mkPush: MorphPush(BMP, Kf); break;
    }
}

// ---- effects ----

void TbsEffectBmp::ChangeBrightness(double Kf)
{
    Kf = std::clamp(Kf, 0.0, 1.0);
    for (int y = 0; y < Height; ++y)
        for (int i = 0; i < 3 * Width; ++i) Row(y)[i] = Clamp((1 - Kf) * Row(y)[i] + Kf * 255);
}

void TbsEffectBmp::ChangeDarkness(double Kf)
{
    Kf = std::clamp(Kf, 0.0, 1.0);
    for (int y = 0; y < Height; ++y)
        for (int i = 0; i < 3 * Width; ++i) Row(y)[i] = Clamp((1 - Kf) * Row(y)[i]);
}

void TbsEffectBmp::GrayScale()
{
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            uint8_t* p = At(x, y);
            uint8_t g = Clamp(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = g;
        }
}

void TbsEffectBmp::Invert()
{
    for (int y = 0; y < Height; ++y)
        for (int i = 0; i < 3 * Width; ++i) Row(y)[i] = 255 - Row(y)[i];
}

void TbsEffectBmp::SplitSample(int x, int y, int Amount, uint8_t* Out) const
{
    // Past an edge the position mirrors (as the effect always did), kept inside the picture.
    int up = y - Amount < 0 ? y : y - Amount;
    int down = y + Amount >= Height ? Height - y : y + Amount;
    int left = x - Amount < 0 ? x : x - Amount;
    int right = x + Amount >= Width ? Width - x : x + Amount;
    up = std::clamp(up, 0, Height - 1);
    down = std::clamp(down, 0, Height - 1);
    left = std::clamp(left, 0, Width - 1);
    right = std::clamp(right, 0, Width - 1);
    for (int c = 0; c < 3; ++c)
        Out[c] =
            static_cast<uint8_t>((At(left, up)[c] + At(left, down)[c] + At(right, up)[c] + At(right, down)[c]) >> 2);
}

void TbsEffectBmp::SplitBlur(int Amount)
{
    if (Amount == 0 || !Bits) return;
    std::vector<uint8_t> row(static_cast<size_t>(3 * Width));
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) SplitSample(x, y, Amount, row.data() + 3 * x);
        std::memcpy(Row(y), row.data(), row.size());
    }
}

void TbsEffectBmp::Mosaic(int ASize)
{
    if (ASize <= 1) return;
    for (int by = 0; by < Height; by += ASize)
        for (int bx = 0; bx < Width; bx += ASize) {
            uint8_t c[3];
            std::memcpy(c, At(bx, by), 3);
            for (int y = by; y < std::min(by + ASize, Height); ++y)
                for (int x = bx; x < std::min(bx + ASize, Width); ++x) std::memcpy(At(x, y), c, 3);
        }
}

void TbsEffectBmp::AddMonoNoise(int Amount)
{
    if (Amount <= 0) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            int n = Random(Amount) - Amount / 2;
            uint8_t* p = At(x, y);
            for (int c = 0; c < 3; ++c) p[c] = Clamp(p[c] + n);
        }
}

void TbsEffectBmp::AddColorNoise(int Amount)
{
    if (Amount <= 0) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            uint8_t* p = At(x, y);
            for (int c = 0; c < 3; ++c) p[c] = Clamp(p[c] + Random(Amount) - Amount / 2);
        }
}

void TbsEffectBmp::Wave(int XDIV, int YDIV, int RatioVal)
{
    if (XDIV == 0 || YDIV == 0 || !Bits) return;
    std::unique_ptr<TbsEffectBmp> copy(CreateCopy(this));
    for (int x = 0; x < Width; ++x)
        for (int y = 0; y < Height; ++y) {
            int sx = std::clamp(Round(std::sin(static_cast<double>(y) / YDIV) * RatioVal + x), 0, Width - 1);
            int sy = std::clamp(Round(std::sin(static_cast<double>(x) / XDIV) * RatioVal + y), 0, Height - 1);
            std::memcpy(At(x, y), copy->At(sx, sy), 3);
        }
}

namespace {

bool White(const uint8_t* P) { return P[0] == 255 && P[1] == 255 && P[2] == 255; }

}  // namespace

void TbsEffectBmp::MaskBlur(const TbsEffectBmp* Msk, int Amount)
{
    if (!Bits || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height || Amount == 0) return;
    std::vector<uint8_t> row(static_cast<size_t>(3 * Width));
    for (int y = 0; y < Height; ++y) {
        std::memcpy(row.data(), Row(y), row.size());
        for (int x = 0; x < Width; ++x)
            if (!White(Msk->At(x, y))) SplitSample(x, y, Amount, row.data() + 3 * x);
        std::memcpy(Row(y), row.data(), row.size());
    }
}

void TbsEffectBmp::MaskAntialiasing(const TbsEffectBmp* Msk, int Amount)
{
    if (!Bits || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height || Amount == 0) return;
    std::vector<uint8_t> row(static_cast<size_t>(3 * Width));
    for (int y = 0; y < Height; ++y) {
        std::memcpy(row.data(), Row(y), row.size());
        for (int x = 0; x < Width; ++x) {
            if (White(Msk->At(x, y))) continue;
            int up = std::clamp(y - Amount < 0 ? y : y - Amount, 0, Msk->Height - 1);
            int down = std::clamp(y + Amount >= Msk->Height ? Msk->Height - y : y + Amount, 0, Msk->Height - 1);
            int left = std::clamp(x - Amount < 0 ? x : x - Amount, 0, Width - 1);
            int right = std::clamp(x + Amount >= Width ? Width - x : x + Amount, 0, Width - 1);
            if (White(Msk->At(left, up)) || White(Msk->At(left, down)) || White(Msk->At(right, up)) ||
                White(Msk->At(right, down)))
                SplitSample(x, y, Amount, row.data() + 3 * x);
        }
        std::memcpy(Row(y), row.data(), row.size());
    }
}

void TbsEffectBmp::MaskFillColor(const TbsEffectBmp* Msk, TColor C, double kf)
{
    if (!Bits || !Msk || !Msk->Bits || Msk->Width != Width || Msk->Height < Height) return;
    uint32_t rgb = static_cast<uint32_t>(ColorToRGB(C));
    const uint8_t fill[3] = {static_cast<uint8_t>((rgb >> 16) & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                             static_cast<uint8_t>(rgb & 0xFF)};
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (White(Msk->At(x, y))) continue;
            uint8_t* p = At(x, y);
            for (int c = 0; c < 3; ++c) p[c] = Clamp((1 - kf) * p[c] + kf * fill[c]);
        }
}

void TbsEffectBmp::ApplyInActiveEffect(TbsInActiveEffect Effect)
{
    switch (Effect) {
    case ieBrightness: ChangeBrightness(0.5); break;
    case ieDarkness: ChangeDarkness(0.3); break;
    case ieGrayScale: GrayScale(); break;
    case ieNoise: AddMonoNoise(50); break;
    case ieSplitBlur: SplitBlur(1); break;
    case ieInvert: Invert(); break;
    }
}

// ---- into another bitmap ----

void TbsEffectBmp::Rotate90_1(TbsEffectBmp* Dst) const
{
    if (!Bits || !Dst || !Dst->Bits || Dst->Width != Height || Dst->Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) std::memcpy(Dst->At(y, Width - 1 - x), At(x, y), 3);
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp* Dst) const
{
    if (!Bits || !Dst || !Dst->Bits || Dst->Width != Height || Dst->Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) std::memcpy(Dst->At(Height - 1 - y, x), At(x, y), 3);
}

void TbsEffectBmp::FlipVert(TbsEffectBmp* Dst) const
{
    if (!SameSize(Dst)) return;
    for (int y = 0; y < Height; ++y) std::memcpy(Dst->Row(Height - 1 - y), Row(y), static_cast<size_t>(3 * Width));
}

void TbsEffectBmp::Resize(TbsEffectBmp* Dst) const
{
    if (!Bits || !Dst || !Dst->Bits) return;
    double sx = static_cast<double>(Dst->Width - 1) / Width, sy = static_cast<double>(Dst->Height - 1) / Height;
    int bw = Round(sx) + 1, bh = Round(sy) + 1;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            int x0 = Round(x * sx), y0 = Round(y * sy);
            for (int dy = y0; dy < y0 + bh; ++dy)
                for (int dx = x0; dx < x0 + bw; ++dx)
                    if (Dst->Inside(dx, dy)) std::memcpy(Dst->At(dx, dy), At(x, y), 3);
        }
}
