// Fuzzes the PNG reader; whatever it reads must save and read back pixel for pixel.
#include "platform/framework/graphics/codecs/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    try {
        img = LoadPng(data, size);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    if (!LoadPng(SavePng(img, 1)).SamePixels(img)) __builtin_trap();
    return 0;
}
