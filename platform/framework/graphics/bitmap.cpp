// TBitmap over a DIB section of the window layer: pixel formats, canvas, transparency, BMP files
// and resources.
#include "platform/framework/graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/core/format.h"
#include "platform/framework/core/resources.h"
#include "platform/framework/graphics/codecs/bmp_codec.h"
#include "platform/framework/graphics/codecs/palette.h"
#include "platform/win/win_api.h"

int PixelFormatBits(TPixelFormat Format)
{
    switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

namespace {

std::vector<TPaletteEntry> DefaultPalette(TPixelFormat Format)
{
    std::vector<TPaletteEntry> pal;
    auto add = [&](uint8_t r, uint8_t g, uint8_t b) { pal.push_back(TPaletteEntry{b, g, r, 0}); };
    if (Format == pf1bit) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (Format == pf4bit) {
        static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (uint32_t c : vga) add(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
    } else if (Format == pf8bit) {
        // 6x6x6 colour cube, then a grey ramp.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; pal.size() < 256; ++i) add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    }
    return pal;
}

size_t PaletteSize(TPixelFormat Format) { return size_t(1) << PixelFormatBits(Format); }

// Pixel read and write in the DIB's own layout; 16 bits are 5-5-5.
uint32_t ReadPixel(const uint8_t* row, int x, int bpp, const std::vector<TPaletteEntry>& pal)
{
    auto fromPal = [&](unsigned i) -> uint32_t {
        if (i >= pal.size()) return 0xFF000000u;
        const auto& e = pal[i];
        return 0xFF000000u | (uint32_t(e.Red) << 16) | (uint32_t(e.Green) << 8) | e.Blue;
    };
    switch (bpp) {
    case 1: return fromPal((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return fromPal((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 8: return fromPal(row[x]);
    case 16: {
        unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    case 24: return 0xFF000000u | (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
    default: {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    }
}

void WritePixel(uint8_t* row, int x, int bpp, uint32_t argb, TPaletteMapper* mapper)
{
    switch (bpp) {
    case 1: {
        uint8_t bit = uint8_t(0x80 >> (x & 7));
        if (mapper->IndexOf(argb & 0xFFFFFF) & 1)
            row[x >> 3] |= bit;
        else
            row[x >> 3] &= uint8_t(~bit);
        break;
    }
    case 4: {
        uint8_t i = mapper->IndexOf(argb & 0xFFFFFF) & 0xF;
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xF0) | i) : uint8_t((b & 0x0F) | (i << 4));
        break;
    }
    case 8: row[x] = mapper->IndexOf(argb & 0xFFFFFF); break;
    case 16: {
        unsigned v = (((argb >> 19) & 31) << 10) | (((argb >> 11) & 31) << 5) | ((argb >> 3) & 31);
        row[2 * x] = uint8_t(v);
        row[2 * x + 1] = uint8_t(v >> 8);
        break;
    }
    case 24:
        row[3 * x] = uint8_t(argb);
        row[3 * x + 1] = uint8_t(argb >> 8);
        row[3 * x + 2] = uint8_t(argb >> 16);
        break;
    default: std::memcpy(row + 4 * x, &argb, 4); break;
    }
}

TPixelFormat FormatForDepth(int depth)
{
    switch (depth) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 32: return pf32bit;
    default: return pf24bit;
    }
}

// A bitmap resource is a BMP file without its 14-byte file header: give it one.
std::vector<uint8_t> WithFileHeader(const std::vector<uint8_t>& res)
{
    if (res.size() >= 2 && res[0] == 'B' && res[1] == 'M') return res;
    if (res.size() < 16) return res;
    auto rd32 = [&](size_t o) {
        return uint32_t(res[o]) | (uint32_t(res[o + 1]) << 8) | (uint32_t(res[o + 2]) << 16) |
               (uint32_t(res[o + 3]) << 24);
    };
    uint32_t hdr = rd32(0);
    size_t colors = 0, entry = 4;
    unsigned bpp;
    if (hdr == 12) {
        bpp = res[10] | (res[11] << 8);
        entry = 3;
        if (bpp <= 8) colors = size_t(1) << bpp;
    } else {
        if (res.size() < 40) return res;
        bpp = res[14] | (res[15] << 8);
        uint32_t compression = rd32(16), used = rd32(32);
        if (bpp <= 8) colors = used ? used : (size_t(1) << bpp);
        if (compression == 3 && hdr == 40) colors = 3;
    }
    uint32_t offset = uint32_t(14 + hdr + colors * entry);
    uint32_t total = uint32_t(14 + res.size());
    std::vector<uint8_t> out = {
        'B', 'M', uint8_t(total),  uint8_t(total >> 8),  uint8_t(total >> 16),  uint8_t(total >> 24), 0, 0,
        0,   0,   uint8_t(offset), uint8_t(offset >> 8), uint8_t(offset >> 16), uint8_t(offset >> 24)};
    out.insert(out.end(), res.begin(), res.end());
    return out;
}

}  // namespace

// The bitmap's canvas: a memory DC made on first use with the bitmap's DIB section selected.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Owner) : FOwner(Owner) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void Select()
    {
        if (!FDC) return;
        HGDIOBJ old = SelectObject(FDC, FOwner->FHandle ? static_cast<HGDIOBJ>(FOwner->FHandle) : FStockBitmap);
        if (!FStockBitmap) FStockBitmap = old;
    }
    void Deselect()
    {
        if (FDC && FStockBitmap) SelectObject(FDC, FStockBitmap);
    }
    void FreeContext()
    {
        if (!FDC) return;
        HDC dc = FDC;
        SetHandle(nullptr);
        Deselect();
        DeleteDC(dc);
        FDC = nullptr;
        FStockBitmap = nullptr;
    }

protected:
    void CreateHandle() override
    {
        if (FDC) return;
        FDC = CreateCompatibleDC(nullptr);
        if (!FDC) return;
        Select();
        SetHandle(FDC);
    }

private:
    TBitmap* FOwner;
    HDC FDC = nullptr;
    HGDIOBJ FStockBitmap = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap()
{
    FCanvas.reset();
    FreeImage();
}

void TBitmap::FreeImage()
{
    if (FCanvas) FCanvas->Deselect();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FBits = nullptr;
    FStride = 0;
}

void TBitmap::SelectIntoCanvas()
{
    if (FCanvas) FCanvas->Select();
}

void TBitmap::NewImage(int AWidth, int AHeight, TPixelFormat Format, const std::vector<TPaletteEntry>& Palette)
{
    FreeImage();
    FWidth = FHeight = 0;
    FPixelFormat = Format;
    int bpp = PixelFormatBits(Format);
    if (bpp <= 8) {
        FPalette = Palette.empty() ? DefaultPalette(Format) : Palette;
        FPalette.resize(std::min(FPalette.size(), PaletteSize(Format)));
    } else {
        FPalette.clear();
    }
    if (AWidth > 0 && AHeight > 0) {
        CheckImageSize(AWidth, AHeight, "Bitmap");
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
        bmi->bmiHeader = BITMAPINFOHEADER{};
        bmi->bmiHeader.biWidth = AWidth;
        bmi->bmiHeader.biHeight = -AHeight;
        bmi->bmiHeader.biBitCount = static_cast<WORD>(bpp);
        bmi->bmiHeader.biCompression = BI_RGB;
        bmi->bmiHeader.biClrUsed = static_cast<DWORD>(FPalette.size());
        auto* colors = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
        for (size_t i = 0; i < FPalette.size(); ++i)
            colors[i] = RGBQUAD{FPalette[i].Blue, FPalette[i].Green, FPalette[i].Red, 0};
        void* bits = nullptr;
        FHandle = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!FHandle || !bits) {
            FHandle = nullptr;
            throw EOutOfResources(L"Out of system resources");
        }
        FBits = static_cast<uint8_t*>(bits);
        FStride = ((AWidth * bpp + 31) / 32) * 4;
        FWidth = AWidth;
        FHeight = AHeight;
    }
    SelectIntoCanvas();
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight) return;
    if (AWidth == 0 || AHeight == 0) {
        // An empty bitmap keeps its format; its pixels go.
        FreeImage();
        FWidth = AWidth;
        FHeight = AHeight;
        SelectIntoCanvas();
        Changed();
        return;
    }
    int oldW = FWidth, oldH = FHeight, oldStride = FStride;
    std::vector<uint8_t> old;
    if (FBits) old.assign(FBits, FBits + static_cast<size_t>(oldStride) * oldH);
    NewImage(AWidth, AHeight, FPixelFormat, FPalette);
    int bpp = PixelFormatBits(FPixelFormat);
    int rows = std::min(oldH, FHeight);
    int cols = std::min(oldW, FWidth);
    if (!old.empty() && rows > 0 && cols > 0) {
        size_t bytes = (static_cast<size_t>(cols) * bpp + 7) / 8;
        for (int y = 0; y < rows; ++y)
            std::memcpy(FBits + static_cast<size_t>(y) * FStride, old.data() + static_cast<size_t>(y) * oldStride,
                        bytes);
    }
    Changed();
}

int TBitmap::BitsPerPixel() const { return PixelFormatBits(FPixelFormat); }

uint32_t TBitmap::PixelArgb(int X, int Y) const
{
    if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    return ReadPixel(FBits + static_cast<size_t>(Y) * FStride, X, BitsPerPixel(), FPalette);
}

void TBitmap::SetPixelArgb(int X, int Y, uint32_t Argb)
{
    if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
    TPaletteMapper mapper(FPalette);
    WritePixel(FBits + static_cast<size_t>(Y) * FStride, X, BitsPerPixel(), Argb, &mapper);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == pfCustom || Value == FPixelFormat) return;
    if (Empty()) {
        FPixelFormat = Value;
        FPalette = PixelFormatBits(Value) <= 8 ? DefaultPalette(Value) : std::vector<TPaletteEntry>{};
        Changed();
        return;
    }
    TRasterImage image = ToRasterImage();
    std::vector<TPaletteEntry> pal;
    if (PixelFormatBits(Value) <= 8) {
        size_t n = PaletteSize(Value);
        if (Value == pf1bit)
            pal = DefaultPalette(pf1bit);
        else if (!ExactPalette(image, n, pal))
            pal = ReducedPalette(image, n);
    }
    AssignRasterImageAs(image, Value, pal);
}

void TBitmap::SetMonochrome(bool Value)
{
    if (Value)
        SetPixelFormat(pf1bit);
    else if (FPixelFormat == pf1bit)
        SetPixelFormat(pfDevice);
}

void TBitmap::SetPalette(const std::vector<TPaletteEntry>& Value)
{
    if (PixelFormatBits(FPixelFormat) > 8) return;
    std::vector<TPaletteEntry> pal = Value;
    pal.resize(std::min(pal.size(), PaletteSize(FPixelFormat)));
    if (pal.empty()) return;
    // The indices stay; the colours they stand for change.
    std::vector<uint8_t> old;
    if (FBits) old.assign(FBits, FBits + static_cast<size_t>(FStride) * FHeight);
    NewImage(FWidth, FHeight, FPixelFormat, pal);
    if (!old.empty()) std::memcpy(FBits, old.data(), old.size());
    Changed();
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value == FHandle) return;
    DIBSECTION ds;
    if (Value && (GetObjectW(Value, sizeof(ds), &ds) != sizeof(ds) || !ds.dsBm.bmBits))
        throw EInvalidGraphic(L"Bitmap handle is not a DIB section");
    FreeImage();
    FWidth = FHeight = 0;
    if (Value) {
        int bpp = ds.dsBmih.biBitCount;
        FPixelFormat = bpp == 32 ? pf32bit : bpp == 24 ? pf24bit : bpp == 16 ? pf16bit : FormatForDepth(bpp);
        FPalette = bpp <= 8 ? DefaultPalette(FPixelFormat) : std::vector<TPaletteEntry>{};
        FHandle = Value;
        FBits = static_cast<uint8_t*>(ds.dsBm.bmBits);
        FWidth = ds.dsBm.bmWidth;
        FHeight = std::abs(ds.dsBm.bmHeight);
        FStride = ((FWidth * bpp + 31) / 32) * 4;
        if (ds.dsBmih.biHeight > 0) {
            // Bottom-up rows: ScanLine counts from the top, so address them from the end.
            FBits = nullptr;
            DeleteObject(Value);
            FHandle = nullptr;
            FWidth = FHeight = 0;
            throw EInvalidGraphic(L"Bitmap handle is not a top-down DIB section");
        }
    }
    SelectIntoCanvas();
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (FCanvas) FCanvas->Deselect();
    HBITMAP h = FHandle;
    FHandle = nullptr;
    FBits = nullptr;
    FStride = 0;
    FWidth = FHeight = 0;
    Changed();
    return h;
}

void* TBitmap::ScanLine(int Row)
{
    if (!FBits || Row < 0 || Row >= FHeight) throw EInvalidGraphic(L"Scan line index out of range");
    return FBits + static_cast<size_t>(Row) * FStride;
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject*) { Changed(); };
    }
    return FCanvas.get();
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return Monochrome() ? clWhite : clBlack;
    uint32_t p = PixelArgb(0, FHeight - 1);
    return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor && FTransparentMode == (Value == clDefault ? tmAuto : tmFixed)) return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode) return;
    if (Value == tmAuto) {
        SetTransparentColor(clDefault);
    } else {
        FTransparentColor = TransparentColor();
        FTransparentMode = tmFixed;
        Changed();
    }
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value)
{
    if (Value == FAlphaFormat) return;
    FAlphaFormat = Value;
    Changed();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (Empty()) return;
    if (!Transparent() && FPixelFormat == pf32bit && FAlphaFormat == afDefined) {
        DrawRasterImage(ACanvas, Rect, ToRasterImage(), true);
        return;
    }
    HDC src = Canvas()->Handle();
    HDC dst = ACanvas->Handle();
    if (!Transparent() && FPixelFormat == pf32bit && FAlphaFormat == afPremultiplied) {
        BLENDFUNCTION bf;
        bf.AlphaFormat = AC_SRC_ALPHA;
        AlphaBlend(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight, bf);
        return;
    }
    if (Transparent()) {
        TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                       static_cast<UINT>(ColorToRGB(TransparentColor())));
    } else {
        StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                   ACanvas->CopyMode());
    }
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        NewImage(0, 0, FPixelFormat, {});
        FAlphaFormat = afIgnored;
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        NewImage(b->FWidth, b->FHeight, b->FPixelFormat, b->FPalette);
        if (FBits && b->FBits) std::memcpy(FBits, b->FBits, static_cast<size_t>(FStride) * FHeight);
        FWidth = b->FWidth;
        FHeight = b->FHeight;
        FTransparent = b->FTransparent;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        FAlphaFormat = b->FAlphaFormat;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        FTransparent = g->Transparent();
        AssignRasterImage(g->ToRasterImage());
        return;
    }
    TGraphic::Assign(Source);
}

TRasterImage TBitmap::ToRasterImage() const
{
    TRasterImage image;
    if (Empty()) return image;
    image.SetSize(FWidth, FHeight);
    int bpp = BitsPerPixel();
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* row = FBits + static_cast<size_t>(y) * FStride;
        auto* out = reinterpret_cast<uint32_t*>(image.ScanLine(y));
        if (bpp == 32) {
            std::memcpy(out, row, static_cast<size_t>(FWidth) * 4);
            if (FAlphaFormat == afPremultiplied) {
                for (int x = 0; x < FWidth; ++x) {
                    uint32_t p = out[x], a = p >> 24;
                    auto un = [a](uint32_t c) { return a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
                    out[x] = (a << 24) | (un((p >> 16) & 255) << 16) | (un((p >> 8) & 255) << 8) | un(p & 255);
                }
            }
        } else {
            for (int x = 0; x < FWidth; ++x) out[x] = ReadPixel(row, x, bpp, FPalette);
        }
    }
    if (bpp == 32) {
        if (FPixelFormat == pf32bit && FAlphaFormat != afIgnored)
            image.SetHasAlpha(true);
        else
            image.MakeOpaque();
    }
    if (bpp <= 8) image.SetPalette(FPalette);
    image.SetBitDepth(bpp);
    return image;
}

void TBitmap::AssignRasterImage(const TRasterImage& Image, TPixelFormat Format)
{
    if (Format == pfCustom) {
        if (Image.HasAlpha())
            Format = pf32bit;
        else
            Format = FormatForDepth(Image.BitDepth());
    }
    std::vector<TPaletteEntry> pal;
    if (PixelFormatBits(Format) <= 8) {
        size_t n = PaletteSize(Format);
        if (!Image.Palette().empty() && Image.Palette().size() <= n && PaletteHolds(Image, Image.Palette()))
            pal = Image.Palette();
        else if (Format == pf1bit)
            pal = DefaultPalette(pf1bit);
        else if (!ExactPalette(Image, n, pal))
            pal = ReducedPalette(Image, n);
    }
    AssignRasterImageAs(Image, Format, pal);
}

void TBitmap::AssignRasterImageAs(const TRasterImage& Image, TPixelFormat Format,
                                  const std::vector<TPaletteEntry>& Palette)
{
    NewImage(Image.Width(), Image.Height(), Format, Palette);
    FAlphaFormat = Format == pf32bit && Image.HasAlpha() ? afDefined : afIgnored;
    if (FBits) {
        int bpp = BitsPerPixel();
        TPaletteMapper mapper(FPalette);
        for (int y = 0; y < FHeight; ++y) {
            uint8_t* row = FBits + static_cast<size_t>(y) * FStride;
            const auto* in = reinterpret_cast<const uint32_t*>(Image.ScanLine(y));
            if (bpp == 32) {
                std::memcpy(row, in, static_cast<size_t>(FWidth) * 4);
            } else {
                for (int x = 0; x < FWidth; ++x) WritePixel(row, x, bpp, in[x], &mapper);
            }
        }
    }
    Changed();
}

void TBitmap::LoadFromStream(TStream& Stream)
{
    TRasterImage image = LoadBmpFromStream(Stream);
    AssignRasterImage(image);
}

void TBitmap::SaveToStream(TStream& Stream)
{
    if (Empty()) throw EInvalidGraphic(L"Cannot save an empty bitmap");
    TRasterImage image = ToRasterImage();
    int depth = BitsPerPixel();
    if (FPixelFormat == pfDevice) depth = 24;
    if (depth == 16) depth = 24;
    std::vector<uint8_t> bytes = SaveBmp(image, depth);
    Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE, const String& ResName)
{
    const std::vector<uint8_t>* res = FindResourceBytes(ResName);
    if (!res) throw EResNotFound(Format(L"Resource %s not found", ResName));
    std::vector<uint8_t> bytes = WithFileHeader(*res);
    AssignRasterImage(LoadBmp(bytes.data(), bytes.size()));
}
