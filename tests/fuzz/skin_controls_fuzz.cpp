// Bytes as a skin INI read by the skin model's reader beside fixed small pictures; then one
// control of each skinned class paints at three sizes from whatever records loaded, hovered,
// pressed and through its effect timers. Nothing may crash, hang or read outside a picture.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/forms.h"
#include "tests/fuzz/fuzz_scratch.h"
#include "tests/skin/boxes/every_box_control.h"
#include "tests/skin/support/every_office_control.h"
#include "tests/skin/support/every_skin_control.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {
skintest::SyntheticSkin* gSkin = nullptr;
TForm* gForm = nullptr;
TbsSkinData* gModel = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VX_HEADLESS", "1", 1);
    FuzzUseMemoryTemp();
    gSkin = new skintest::SyntheticSkin;
    int p = gSkin->AddPicture(24, 16);
    gSkin->Block(p, Rect(0, 0, 12, 8), skintest::kNormal);
    gSkin->Block(p, Rect(12, 0, 24, 8), skintest::kHot);
    gSkin->Block(p, Rect(0, 8, 24, 16), skintest::kDown);
    gSkin->AddPicture(12, 8, 0x000000);  // a mask
    gSkin->AddPicture(5, 5, skintest::kExtra1);
    gForm = new TForm(Application);
    gForm->SetBorderStyle(bsNone);
    gForm->SetBounds(0, 0, 320, 100);
    gForm->AfterConstruction();
    gModel = new TbsSkinData(gForm);
    gSkin->LoadInto(gModel);  // writes the pictures once
    gForm->Show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Only the INI changes per input: the pictures beside it were written at the start.
    if (FILE* f = std::fopen(gSkin->Folder.file("skin.ini").c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        gModel->LoadFromFile(gSkin->Folder.File(L"skin.ini"));
    } catch (const Exception&) {
        return 0;  // an unreadable skin: the model is cleared, the controls are not run
    }
    skintest::PaintEverySkinControl(gForm, gModel);
    skintest::PaintEverySkinControl(gForm, gModel, skintest::OfficeMakers());
    skintest::PaintEverySkinControl(gForm, gModel, skintest::BoxMakers());
    return 0;
}
