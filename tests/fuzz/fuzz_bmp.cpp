// Fuzzes the BMP reader; the length it reports stays inside the input, and whatever it reads
// must save again at its default depth and at 8 bits, and read back.
#include "platform/framework/graphics/codecs/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    size_t consumed = 0;
    try {
        img = LoadBmp(data, size, &consumed);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    if (consumed == 0 || consumed > size) __builtin_trap();
    const TRasterImage back = LoadBmp(SaveBmp(img));
    if (back.Width() != img.Width() || back.Height() != img.Height()) __builtin_trap();
    LoadBmp(SaveBmp(img, 8));
    return 0;
}
