// TGIFImage: a GIF picture (the first frame, through gif_codec.h) with its transparent colour
// drawn as transparent. A picture made from another graphic is encoded when saved (its own
// palette when it fits, else a reduced one). Used by the picture class and the snapshot command.
#pragma once

#include <vector>

#include "platform/framework/graphics/graphic.h"

class TGIFImage : public TGraphic {
public:
    TGIFImage() = default;

    void Assign(TPersistent* Source) override;
    TGraphic* CreateEmpty() const override { return new TGIFImage; }
    TRasterImage ToRasterImage() const override { return FImage; }

    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    // A GIF with a transparent index is drawn transparent.
    bool Transparent() const override { return FImage.HasAlpha(); }

    // EInvalidGraphic for a corrupt or truncated file, leaving the picture as it was.
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    TRasterImage FImage;
    std::vector<uint8_t> FData;
};
