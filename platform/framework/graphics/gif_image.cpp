// TGIFImage over the GIF codec.
#include "platform/framework/graphics/gif_image.h"

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/gif_codec.h"

void TGIFImage::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TGIFImage*>(Source)) {
        if (g == this) return;
        FImage = g->FImage;
        FData = g->FData;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        FImage = g->ToRasterImage();
        // A transparent bitmap's transparent colour becomes the GIF's transparent index.
        if (auto* b = dynamic_cast<TBitmap*>(Source); b && b->Transparent() && !FImage.Empty()) {
            TColor c = ColorToRGB(b->TransparentColor());
            uint32_t key = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
            for (int y = 0; y < FImage.Height(); ++y)
                for (int x = 0; x < FImage.Width(); ++x)
                    if ((FImage.Pixel(x, y) & 0xFFFFFF) == key) FImage.SetPixel(x, y, key);
            FImage.SetHasAlpha(true);
        }
        FData.clear();
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TGIFImage::LoadFromStream(TStream& Stream)
{
    std::vector<uint8_t> bytes = ReadRestOfStream(Stream);
    TRasterImage image = LoadGif(bytes);
    FImage = std::move(image);
    FData = std::move(bytes);
    Changed();
}

void TGIFImage::SaveToStream(TStream& Stream)
{
    if (FData.empty()) FData = SaveGif(FImage);
    Stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawRasterImage(ACanvas, Rect, FImage, FImage.HasAlpha()); }
