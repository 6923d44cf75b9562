// Fuzzes the PNG image list's path: PNG bytes into an item, drawn disabled (made translucent)
// and copied into a skin bitmap; whatever loads must draw and copy without fault, the copy
// keeping the picture's size.
#include "platform/framework/core/streams.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/raster_image.h"
#include "skin/core/png_image_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = (SetImagePixelLimit(1 << 16), true);
    (void)limited;
    static TbsPngImageList* list = [] {
        auto* l = new TbsPngImageList(nullptr);
        l->PngImages()->Add();
        return l;
    }();
    TMemoryStream ms;
    ms.Write(data, static_cast<int64_t>(size));
    ms.SetPosition(0);
    TbsPngImage* png = list->PngImages()->Items(0)->PngImage();
    try {
        png->LoadFromStream(ms);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(list->Width(), list->Height());
    list->Draw(target.Canvas(), 0, 0, 0, false);
    TbsBitmap copy;
    CopyPngToBitmap(&copy, png);
    if (!png->Empty() && (copy.Width() != png->Width() || copy.Height() != png->Height())) __builtin_trap();
    return 0;
}
