// Fuzzes the .ico reader the picture dialog's preview runs on user files: anything it accepts
// saves again and reads back at the same size.
#include "platform/framework/graphics/codecs/raster_image.h"
#include "platform/framework/graphics/icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    TRasterImage img;
    try {
        img = LoadIco(data, size);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    const std::vector<uint8_t> saved = SaveIco(img);
    const TRasterImage back = LoadIco(saved.data(), saved.size());
    if (back.Width() != img.Width() || back.Height() != img.Height()) __builtin_trap();
    return 0;
}
