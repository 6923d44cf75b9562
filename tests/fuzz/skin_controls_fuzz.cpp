// A selector byte, then bytes as a skin INI read by the skin model's reader beside fixed small
// pictures; one control of the skinned classes, picked with its size by the selector, paints from
// whatever records loaded, hovered, pressed and through a few ticks of its effect timers. Nothing
// may crash, hang or read outside a picture. The pictures, the form and the list of classes are
// made once; each input reloads the model and drives one control, so the fuzzer runs hundreds of
// inputs a second instead of every class at every size for each.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
std::vector<skintest::ControlMaker>* gMakers = nullptr;
std::string gIniPath;

const TSize kSizes[] = {{1, 1}, {37, 23}, {300, 90}};

// A few ticks of the test clock, so hover and press effects start and run a step.
void Tick()
{
    for (int i = 0; i < 3; ++i) {
        vxwin::AdvanceClock(20);
        Application->ProcessMessages();
    }
}
}  // namespace

// Text drawing leaves the font libraries' process-wide caches behind, as in the tests.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libpango\nleak:libcairo\nleak:libglib\nleak:libgobject\nleak:libharfbuzz\n";
}

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
    gIniPath = gSkin->Folder.file("skin.ini");
    gMakers = new std::vector<skintest::ControlMaker>(skintest::Makers());
    for (auto& m : skintest::OfficeMakers()) gMakers->push_back(m);
    for (auto& m : skintest::BoxMakers()) gMakers->push_back(m);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const size_t pick = data[0];
    const size_t classes = gMakers->size();
    ++data;
    --size;
    // Only the INI changes per input: the pictures beside it were written at the start.
    if (FILE* f = std::fopen(gIniPath.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        gModel->LoadFromFile(Utf8ToString(gIniPath));
    } catch (const Exception&) {
        return 0;  // an unreadable skin: the model is cleared, the controls are not run
    }
    TControl* c = (*gMakers)[pick % classes](gForm, gModel);
    const TSize s = kSizes[(pick / classes) % 3];
    if (c->Align() == alNone) c->SetBounds(2, 2, s.cx, s.cy);
    c->Repaint();
    c->Perform(CM_MOUSEENTER, 0, 0);
    Tick();
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    c->Perform(CM_MOUSELEAVE, 0, 0);
    Tick();
    c->Repaint();
    if (auto* sc = dynamic_cast<TbsSkinChangeClient*>(c)) {
        sc->SkinChangeBegin();
        sc->SkinChangeEnd();
    }
    c->Free();
    return 0;
}
