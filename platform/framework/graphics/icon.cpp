// TIcon and the .ico reader and writer.
#include "platform/framework/graphics/icon.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/bmp_codec.h"
#include "platform/framework/graphics/codecs/png_codec.h"
#include "platform/win/win_api.h"

namespace {

[[noreturn]] void Invalid(const char* why)
{
    throw EInvalidGraphic(L"Icon image is not valid (" + String(why, why + std::strlen(why)) + L")");
}

uint32_t Rd16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Rd32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
void Wr16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void Wr32(std::vector<uint8_t>& v, uint32_t x)
{
    Wr16(v, x & 0xFFFF);
    Wr16(v, x >> 16);
}

// One DIB entry: header (height doubled), colour table, XOR pixels, AND mask.
TRasterImage LoadIconDib(const uint8_t* p, size_t n)
{
    if (n < 40) Invalid("entry too short");
    uint32_t hdr = Rd32(p);
    if (hdr < 40 || hdr > n) Invalid("bad entry header");
    int32_t w = static_cast<int32_t>(Rd32(p + 4));
    int32_t h2 = static_cast<int32_t>(Rd32(p + 8));
    unsigned bpp = Rd16(p + 14);
    uint32_t used = Rd32(p + 32);
    if (w <= 0 || h2 <= 0 || h2 % 2 != 0) Invalid("bad entry size");
    int32_t h = h2 / 2;
    size_t colors = bpp <= 8 ? (used ? used : (size_t(1) << bpp)) : 0;
    size_t xorStride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    size_t pixels = hdr + colors * 4;
    if (colors > 256 || pixels > n || xorStride * h > n - pixels) Invalid("entry data truncated");
    // A BMP file of the XOR image: file header, then the entry's header with the true height.
    std::vector<uint8_t> bmp = {'B', 'M'};
    Wr32(bmp, static_cast<uint32_t>(14 + pixels + xorStride * h));
    Wr32(bmp, 0);
    Wr32(bmp, static_cast<uint32_t>(14 + pixels));
    size_t at = bmp.size();
    bmp.insert(bmp.end(), p, p + pixels + xorStride * h);
    uint8_t* ih = bmp.data() + at;
    ih[8] = uint8_t(h);
    ih[9] = uint8_t(h >> 8);
    ih[10] = uint8_t(h >> 16);
    ih[11] = uint8_t(h >> 24);
    std::memset(ih + 20, 0, 4);  // image size: computed
    TRasterImage image = LoadBmp(bmp.data(), bmp.size());
    if (!image.HasAlpha()) {
        size_t maskAt = pixels + xorStride * h;
        bool hasMask = n - maskAt >= andStride * h;
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = hasMask ? p + maskAt + andStride * (h - 1 - y) : nullptr;
            for (int x = 0; x < w; ++x) {
                uint32_t px = image.Pixel(x, y);
                bool transparent = row && ((row[x >> 3] >> (7 - (x & 7))) & 1);
                image.SetPixel(x, y, transparent ? 0 : (px | 0xFF000000u));
            }
        }
    }
    image.SetHasAlpha(true);
    image.ClearSourceInfo();
    return image;
}

}  // namespace

TRasterImage LoadIco(const uint8_t* Data, size_t Size)
{
    if (Size < 6) Invalid(Size == 0 ? "empty" : "header truncated");
    if (Rd16(Data) != 0 || (Rd16(Data + 2) != 1 && Rd16(Data + 2) != 2)) Invalid("not an icon file");
    unsigned count = Rd16(Data + 4);
    if (count == 0) Invalid("no images");
    if (6 + 16 * size_t(count) > Size) Invalid("directory truncated");
    int best = -1;
    uint64_t bestScore = 0;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* e = Data + 6 + 16 * i;
        uint64_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256, bits = Rd16(e + 6);
        uint64_t score = (w * h) << 8 | std::min<uint64_t>(bits, 255);
        if (best < 0 || score > bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    const uint8_t* e = Data + 6 + 16 * best;
    uint32_t len = Rd32(e + 8), off = Rd32(e + 12);
    if (off > Size || len > Size - off || len == 0) Invalid("image data truncated");
    const uint8_t* p = Data + off;
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    if (len >= 8 && std::memcmp(p, kPng, 8) == 0) {
        TRasterImage image = LoadPng(p, len);
        if (!image.HasAlpha()) image.MakeOpaque();
        image.SetHasAlpha(true);
        image.ClearSourceInfo();
        return image;
    }
    return LoadIconDib(p, len);
}

std::vector<uint8_t> SaveIco(const TRasterImage& Image)
{
    if (Image.Empty()) throw EInvalidGraphic(L"Cannot save an empty icon");
    std::vector<uint8_t> entry;
    int w = Image.Width(), h = Image.Height();
    if (w > 256 || h > 256) {
        TRasterImage copy = Image;
        copy.SetHasAlpha(true);
        entry = SavePng(copy);
    } else {
        Wr32(entry, 40);
        Wr32(entry, static_cast<uint32_t>(w));
        Wr32(entry, static_cast<uint32_t>(2 * h));
        Wr16(entry, 1);
        Wr16(entry, 32);
        for (int i = 0; i < 6; ++i) Wr32(entry, 0);
        for (int y = h - 1; y >= 0; --y) {
            const uint8_t* row = Image.ScanLine(y);
            entry.insert(entry.end(), row, row + 4 * static_cast<size_t>(w));
        }
        size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
        for (int y = h - 1; y >= 0; --y) {
            std::vector<uint8_t> row(andStride, 0);
            for (int x = 0; x < w; ++x)
                if ((Image.Pixel(x, y) >> 24) < 128) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
            entry.insert(entry.end(), row.begin(), row.end());
        }
    }
    std::vector<uint8_t> out;
    Wr16(out, 0);
    Wr16(out, 1);
    Wr16(out, 1);
    out.push_back(uint8_t(w >= 256 ? 0 : w));
    out.push_back(uint8_t(h >= 256 ? 0 : h));
    out.push_back(0);
    out.push_back(0);
    Wr16(out, 1);
    Wr16(out, 32);
    Wr32(out, static_cast<uint32_t>(entry.size()));
    Wr32(out, 22);
    out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

TIcon::TIcon() = default;

TIcon::~TIcon() { FreeHandle(); }

void TIcon::FreeHandle()
{
    if (FHandle) DestroyIcon(FHandle);
    FHandle = nullptr;
}

void TIcon::SetImage(TRasterImage Image)
{
    FreeHandle();
    Image.SetHasAlpha(true);
    FImage = std::move(Image);
    Changed();
}

void TIcon::Assign(TPersistent* Source)
{
    if (auto* i = dynamic_cast<TIcon*>(Source)) {
        if (i != this) SetImage(i->FImage);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        TRasterImage image = g->ToRasterImage();
        if (!image.HasAlpha()) image.MakeOpaque();
        SetImage(std::move(image));
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::SetSize(int AWidth, int AHeight)
{
    if (!FImage.Empty() || AWidth <= 0 || AHeight <= 0) return;
    TRasterImage image(AWidth, AHeight);
    image.Fill(0);
    SetImage(std::move(image));
}

HICON TIcon::Handle()
{
    if (!FHandle && !FImage.Empty()) {
        TBitmap color;
        color.SetPixelFormat(pf32bit);
        color.SetSize(FImage.Width(), FImage.Height());
        for (int y = 0; y < FImage.Height(); ++y) std::memcpy(color.ScanLine(y), FImage.ScanLine(y), FImage.Stride());
        TBitmap mask;
        mask.SetPixelFormat(pf1bit);
        mask.SetSize(FImage.Width(), FImage.Height());
        for (int y = 0; y < FImage.Height(); ++y)
            for (int x = 0; x < FImage.Width(); ++x)
                mask.SetPixelArgb(x, y, (FImage.Pixel(x, y) >> 24) < 128 ? 0xFFFFFFFFu : 0xFF000000u);
        ICONINFO info;
        info.fIcon = TRUE;
        info.hbmColor = color.Handle();
        info.hbmMask = mask.Handle();
        FHandle = CreateIconIndirect(&info);
    }
    return FHandle;
}

void TIcon::SetHandle(HICON Value)
{
    if (Value == FHandle) return;
    TRasterImage image;
    if (Value) {
        ICONINFO info;
        if (!GetIconInfo(Value, &info)) throw EInvalidGraphic(L"Icon handle is not valid");
        BITMAP bm;
        GetObjectW(info.hbmColor, sizeof(bm), &bm);
        if (bm.bmWidth > 0 && bm.bmHeight > 0) {
            image.SetSize(bm.bmWidth, std::abs(bm.bmHeight));
            std::vector<uint8_t> buf(sizeof(BITMAPINFOHEADER) + 4);
            auto* bmi = reinterpret_cast<BITMAPINFO*>(buf.data());
            bmi->bmiHeader = BITMAPINFOHEADER{};
            bmi->bmiHeader.biWidth = image.Width();
            bmi->bmiHeader.biHeight = -image.Height();
            bmi->bmiHeader.biBitCount = 32;
            HDC dc = CreateCompatibleDC(nullptr);
            GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(image.Height()), image.Bits(), bmi, DIB_RGB_COLORS);
            DeleteDC(dc);
            bool anyAlpha = false;
            for (int y = 0; y < image.Height() && !anyAlpha; ++y)
                for (int x = 0; x < image.Width(); ++x)
                    if (image.Pixel(x, y) >> 24) {
                        anyAlpha = true;
                        break;
                    }
            if (!anyAlpha) image.MakeOpaque();
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    SetImage(std::move(image));
    FHandle = Value;
}

HICON TIcon::ReleaseHandle()
{
    HICON h = Handle();
    FHandle = nullptr;
    return h;
}

void TIcon::LoadFromStream(TStream& Stream)
{
    std::vector<uint8_t> bytes = ReadRestOfStream(Stream);
    SetImage(LoadIco(bytes.data(), bytes.size()));
}

void TIcon::SaveToStream(TStream& Stream)
{
    std::vector<uint8_t> bytes = SaveIco(FImage);
    Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawRasterImage(ACanvas, Rect, FImage, true); }
