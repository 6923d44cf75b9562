// TJPEGImage over the JPEG codec.
#include "platform/framework/graphics/jpeg_image.h"

#include <algorithm>

#include "platform/framework/graphics/codecs/jpeg_codec.h"

void TJPEGImage::Assign(TPersistent* Source)
{
    if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
        if (j == this) return;
        FImage = j->FImage;
        FData = j->FData;
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
        FProgressive = j->FProgressive;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        FImage = g->ToRasterImage();
        FImage.MakeOpaque();
        FData.clear();
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TJPEGImage::SetCompressionQuality(int Value)
{
    Value = std::clamp(Value, 1, 100);
    if (Value == FQuality) return;
    FQuality = Value;
    if (!FImage.Empty()) FData.clear();
}

void TJPEGImage::SetGrayscale(bool Value)
{
    if (Value == FGrayscale) return;
    FGrayscale = Value;
    if (!FImage.Empty()) FData.clear();
}

void TJPEGImage::SetProgressiveEncoding(bool Value)
{
    if (Value == FProgressive) return;
    FProgressive = Value;
    if (!FImage.Empty()) FData.clear();
}

void TJPEGImage::Compress()
{
    TJpegSaveOptions options;
    options.Quality = FQuality;
    options.Grayscale = FGrayscale;
    options.Progressive = FProgressive;
    FData = SaveJpeg(FImage, options);
}

void TJPEGImage::LoadFromStream(TStream& Stream)
{
    std::vector<uint8_t> bytes = ReadRestOfStream(Stream);
    TRasterImage image = LoadJpeg(bytes);
    FImage = std::move(image);
    FData = std::move(bytes);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream)
{
    if (FData.empty()) Compress();
    Stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawRasterImage(ACanvas, Rect, FImage, false); }
