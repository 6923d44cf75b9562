// TGraphic: size, transparency, change notice and file helpers shared by the picture classes.
#include "platform/framework/graphics/graphic.h"

#include <algorithm>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_api.h"

TRasterImage TGraphic::ToRasterImage() const
{
    if (Empty()) return TRasterImage();
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(Width(), Height());
    b.Canvas()->Draw(0, 0, const_cast<TGraphic*>(this));
    TRasterImage image = b.ToRasterImage();
    image.MakeOpaque();
    return image;
}

void TGraphic::SetSize(int AWidth, int AHeight)
{
    SetWidth(AWidth);
    SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed();
}

void TGraphic::SetModified(bool Value)
{
    if (Value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& FileName)
{
    // Written to memory first, so a failing encoder leaves no half file behind.
    TMemoryStream data;
    SaveToStream(data);
    TFileStream stream(FileName, fmCreate);
    data.SaveToStream(stream);
}

void DrawRasterImage(TCanvas* Canvas, const TRect& R, const TRasterImage& Image, bool UseAlpha, int Opacity)
{
    if (Image.Empty() || R.IsEmpty()) return;
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(Image.Width(), Image.Height());
    for (int y = 0; y < Image.Height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(Image.ScanLine(y));
        auto* out = static_cast<uint32_t*>(b.ScanLine(y));
        for (int x = 0; x < Image.Width(); ++x) {
            uint32_t p = in[x];
            if (UseAlpha) {
                // Premultiplied, as AlphaBlend takes it.
                uint32_t a = p >> 24;
                auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
                p = (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
            } else {
                p |= 0xFF000000u;
            }
            out[x] = p;
        }
    }
    HDC dst = Canvas->Handle();
    HDC src = b.Canvas()->Handle();
    if (UseAlpha || Opacity < 255) {
        BLENDFUNCTION bf;
        bf.BlendOp = AC_SRC_OVER;
        bf.SourceConstantAlpha = static_cast<BYTE>(std::clamp(Opacity, 0, 255));
        bf.AlphaFormat = UseAlpha ? AC_SRC_ALPHA : 0;
        AlphaBlend(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Image.Width(), Image.Height(), bf);
    } else {
        StretchBlt(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Image.Width(), Image.Height(), SRCCOPY);
    }
}

std::vector<uint8_t> ReadRestOfStream(TStream& Stream)
{
    int64_t left = Stream.Size() - Stream.Position();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(left, 0)));
    if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}
