// Fuzzes the JPEG reader; whatever it reads must save and read back at the same size.
#include "platform/framework/graphics/codecs/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    try {
        img = LoadJpeg(data, size);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    const TRasterImage back = LoadJpeg(SaveJpeg(img));
    if (back.Width() != img.Width() || back.Height() != img.Height()) __builtin_trap();
    return 0;
}
