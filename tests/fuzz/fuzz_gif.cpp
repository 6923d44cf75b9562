// Fuzzes the GIF reader; whatever it reads must save and read back, and a picture saved
// with its own palette must come back with the same visible pixels.
#include "platform/framework/graphics/codecs/gif_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    try {
        img = LoadGif(data, size);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    const TRasterImage back = LoadGif(SaveGif(img));
    if (back.Width() != img.Width() || back.Height() != img.Height()) __builtin_trap();
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const uint32_t a = img.Pixel(x, y), b = back.Pixel(x, y);
            if ((a >> 24 >= 128) != (b >> 24 >= 128) || (a >> 24 >= 128 && a != b)) __builtin_trap();
        }
    return 0;
}
