// TGIFImage over the GIF codec.
#include "platform/framework/gif_image.h"

#include "platform/framework/image_gif.h"

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
