// Bytes as a skin INI loaded by a skin model from a folder that holds a few small bitmaps under
// the names a skin may use; then the model writes the skin back. Bad input must end in an
// Exception with the model cleared or unchanged, never in a crash or a hang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_ini.h"
#include "tests/fuzz/fuzz_scratch.h"

namespace {

String gFolder;

void Bmp(const String& name, int w, int h, TPixelFormat pf)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelArgb(x, y, 0xFF000000u | static_cast<uint32_t>(x * 40 + y * 9000));
    b.SetPixelFormat(pf);
    b.SaveToFile(gFolder + name);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VX_HEADLESS", "1", 1);
    gFolder = Utf8ToString(FuzzScratchFolder("vx-fuzz-skin")) + L"/";
    Bmp(L"form.bmp", 6, 5, pf24bit);
    Bmp(L"inactive.bmp", 6, 5, pf24bit);
    Bmp(L"mask.bmp", 6, 5, pf1bit);
    for (int i = 0; i < 4; ++i) Bmp(L"pic" + IntToStr(i) + L".bmp", 4 + i, 3, i == 3 ? pf8bit : pf24bit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TbsSkinData model(nullptr);
    const String ini = gFolder + L"skin.ini";
    if (FILE* f = std::fopen(StringToUtf8(ini).c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        model.LoadFromFile(ini);
    } catch (const Exception&) {
        if (!model.Empty || model.ChangeSkinDataProcess) std::abort();  // a failed load leaves it cleared
    }
    TMemIniFile out(String{});
    model.WriteSkin(&out);
    SkinIniBytes(out);
    return 0;
}
