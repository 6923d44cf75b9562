// TbsBitmap's loaders (resource table, its own stream format, PCX), the stream writer, the
// vertical flip and the fading reflections.
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/base/utf.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/resources.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/name_stream.h"
#include "skin/core/skin_bitmap.h"

namespace {

int64_t BytesLeft(TStream& S) { return S.Size() - S.Position(); }

int32_t ReadInt32(TStream& S)
{
    int32_t v = 0;
    S.ReadBuffer(&v, 4);
    return v;
}

}  // namespace

// ---- the name field: int32 count of UTF-16 units, then the units (little-endian) ----

String ReadStreamName(TStream& Stream)
{
    int32_t n = ReadInt32(Stream);
    if (n < 0 || static_cast<int64_t>(n) * 2 > BytesLeft(Stream)) throw EReadError(L"Stream read error");
    std::string bytes(static_cast<size_t>(n) * 2, '\0');
    if (n) Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(n) * 2);
    return Utf16ToString(bytes, true);
}

void WriteStreamName(TStream& Stream, const String& Name)
{
    const std::u16string units = StringToUtf16Units(Name);
    int32_t n = static_cast<int32_t>(units.size());
    Stream.WriteBuffer(&n, 4);
    if (n) Stream.WriteBuffer(units.data(), static_cast<int64_t>(n) * 2);
}

void TbsBitmap::LoadFromResource(const String& ResFileName, const String& ResName)
{
    // The program's resource table stands in for the module ResFileName.
    if (!FindResourceBytes(ResName)) return;
    TBitmap bmp;
    bmp.LoadFromResourceName(nullptr, ResName);
    Assign(&bmp);
}

void TbsBitmap::LoadFromStream(TStream& Stream)
{
    String name = ReadStreamName(Stream);
    int32_t w = ReadInt32(Stream), h = ReadInt32(Stream);
    int64_t aw = std::abs(static_cast<int64_t>(w)), ah = std::abs(static_cast<int64_t>(h));
    // Nothing is made for pixels the stream cannot hold.
    if (aw && ah && (aw * ah > BytesLeft(Stream) / 4)) throw EReadError(L"Stream read error");
    FName = name;
    SetSize(w, h);
    if (FWidth == w && FHeight == ah && FBits) Stream.ReadBuffer(FBits, static_cast<int64_t>(FWidth) * FHeight * 4);
    if (h <= 0) FlipVert();
}

void TbsBitmap::SaveToStream(TStream& Stream)
{
    WriteStreamName(Stream, FName);
    int32_t w = FWidth, h = FHeight;
    Stream.WriteBuffer(&w, 4);
    Stream.WriteBuffer(&h, 4);
    if (FBits) Stream.WriteBuffer(FBits, static_cast<int64_t>(FWidth) * FHeight * 4);
}

namespace {

// The 16 colours of the system palette, for version-3 PCX pictures.
const TPaletteEntry kSystem16[16] = {
    {0, 0, 0, 0},     {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},   {128, 0, 0, 0}, {128, 0, 128, 0},
    {128, 128, 0, 0}, {192, 192, 192, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0}, {0, 255, 255, 0},
    {255, 0, 0, 0},   {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

// Run-length decoding into Out (its size is the room); stops when full or out of data.
void PcxDecodeRLE(const std::vector<uint8_t>& Data, std::vector<uint8_t>& Out)
{
    size_t in = 0, out = 0;
    while (out < Out.size() && in < Data.size()) {
        uint8_t b = Data[in++];
        if (b < 0xC0) {
            Out[out++] = b;
            continue;
        }
        if (in >= Data.size()) break;
        uint8_t v = Data[in++];
        size_t n = std::min<size_t>(b & 0x3F, Out.size() - out);
        std::memset(Out.data() + out, v, n);
        out += n;
    }
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

void TbsBitmap::LoadFromPcxStream(TStream& Stream)
{
    uint8_t header[128];
    if (BytesLeft(Stream) < 128) return;
    Stream.ReadBuffer(header, 128);
    if (header[0] != 10 && header[0] != 205) return;
    int64_t size = Stream.Size();
    std::vector<TPaletteEntry> palette(256);
    if (header[1] == 3) {
        palette.assign(kSystem16, kSystem16 + 16);
    } else if (size >= 769) {
        // The 256-colour palette closes the file: a marker byte, then 768 bytes of RGB.
        int64_t back = Stream.Position();
        Stream.SetPosition(size - 768);
        uint8_t rgb[768];
        Stream.ReadBuffer(rgb, 768);
        for (int i = 0; i < 256; ++i) palette[i] = TPaletteEntry{rgb[i * 3 + 2], rgb[i * 3 + 1], rgb[i * 3], 0};
        Stream.SetPosition(back);
    }
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(BytesLeft(Stream), 0)));
    if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));

    int width = U16(header + 8) - U16(header + 4) + 1;
    int height = U16(header + 10) - U16(header + 6) + 1;
    int64_t lineLen = static_cast<int64_t>(header[65]) * U16(header + 66);
    if (width <= 0 || height <= 0) return;
    // A picture far larger than its data could ever fill (runs give at most 63 bytes for 2)
    // is not a picture.
    int64_t room = lineLen * height;
    if (static_cast<int64_t>(width) * height > 64 * static_cast<int64_t>(data.size()) + 64 || room > (1LL << 31))
        return;
    std::vector<uint8_t> lines;
    if (header[2] == 1) {
        lines.assign(static_cast<size_t>(room), 0);
        PcxDecodeRLE(data, lines);
    } else {
        lines = std::move(data);
    }
    TBitmap bmp;
    bmp.SetPixelFormat(pf8bit);
    bmp.SetPalette(palette);
    bmp.SetSize(width, height);
    size_t copy = static_cast<size_t>(std::min<int64_t>(width, lineLen));
    for (int y = 0; y < height; ++y) {
        size_t at = static_cast<size_t>(y) * static_cast<size_t>(lineLen);
        if (copy == 0 || at >= lines.size()) break;
        size_t n = std::min(copy, lines.size() - at);
        std::memcpy(bmp.ScanLine(y), lines.data() + at, n);
    }
    Assign(&bmp);
}

void TbsBitmap::FlipVert()
{
    if (!FBits) return;
    std::vector<TbsColor> row(static_cast<size_t>(FWidth));
    for (int y = 0; y < FHeight / 2; ++y) {
        TbsColor* a = ScanLineAddress(y);
        TbsColor* b = ScanLineAddress(FHeight - 1 - y);
        PixelRoutines.CopyRow(a, row.data(), FWidth);
        PixelRoutines.CopyRow(b, a, FWidth);
        PixelRoutines.CopyRow(row.data(), b, FWidth);
    }
}

void TbsBitmap::ReflectionBy(int Divisor)
{
    if (!FBits) return;
    FlipVert();
    double f = 1.0, step = 2.0 / FHeight;
    for (int y = 0; y < FHeight; ++y, f -= step) {
        TbsColor* row = ScanLineAddress(y);
        for (int x = 0; x < FWidth; ++x) {
            TbsColor a = row[x] >> 24;
            if (a == 0) continue;
            int v = static_cast<int>(std::nearbyint(a * f)) / Divisor;
            row[x] = (row[x] & 0xFFFFFF) | (static_cast<TbsColor>(std::max(v, 0)) << 24);
        }
    }
}

void TbsBitmap::Reflection() { ReflectionBy(3); }
void TbsBitmap::Reflection2() { ReflectionBy(4); }
void TbsBitmap::Reflection3() { ReflectionBy(2); }
