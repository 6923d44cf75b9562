// TJPEGImage: a JPEG picture (libjpeg through jpeg_codec.h). Keeps the file's bytes as loaded and
// the decoded pixels; a picture made from a bitmap is compressed when saved, at
// CompressionQuality. Used by the picture class for .jpg/.jpeg files and by the snapshot command.
#pragma once

#include <vector>

#include "platform/framework/graphics/graphic.h"

class TJPEGImage : public TGraphic {
public:
    TJPEGImage() = default;

    // From another JPEG (bytes and pixels) or from any graphic through its pixels.
    void Assign(TPersistent* Source) override;
    TGraphic* CreateEmpty() const override { return new TJPEGImage; }
    TRasterImage ToRasterImage() const override { return FImage; }

    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    // A JPEG's size comes from its pixels only.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // 1..100, default 90; a new value makes the next save compress again.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int Value);
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool Value);
    bool ProgressiveEncoding() const { return FProgressive; }
    void SetProgressiveEncoding(bool Value);

    // Encodes the pixels now (saving does it when needed).
    void Compress();
    // The JPEG bytes (empty until loaded or compressed).
    const std::vector<uint8_t>& Data() const { return FData; }

    // Reads the stream from its position to its end; EInvalidGraphic for a corrupt or truncated
    // file, leaving the picture as it was.
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    TRasterImage FImage;
    std::vector<uint8_t> FData;
    int FQuality = 90;
    bool FGrayscale = false;
    bool FProgressive = false;
};
