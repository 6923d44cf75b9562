// Fuzzes the BMP reader; whatever it reads must save again at its default depth and at 8
// bits, and read back.
#include "platform/framework/image_bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    try {
        img = LoadBmp(data, size);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    const TRasterImage back = LoadBmp(SaveBmp(img));
    if (back.Width() != img.Width() || back.Height() != img.Height())
        __builtin_trap();
    LoadBmp(SaveBmp(img, 8));
    return 0;
}
