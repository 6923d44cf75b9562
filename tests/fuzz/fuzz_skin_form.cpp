// Bytes as a skin INI (read by the skin model from a folder holding the synthetic frame's
// pictures, as the skin INI target does) applied to a headless skinned form: the frame is
// painted, hit-tested over a grid, maximized, minimized, restored and sized down to nothing.
// A skin that loads may look wrong, but must never crash, divide by zero or hang the form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {

// The frame's pictures (form, inactive, mask, buttons), written once; each input replaces the INI.
skintest::SyntheticSkin& Skin()
{
    static skintest::SyntheticSkin skin;
    return skin;
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
    skintest::FrameSkin f;
    f.Mask = true;
    f.Inactive = true;
    f.Caption = true;
    skintest::AddFrame(Skin(), f);
    TbsSkinData model(nullptr);
    Skin().LoadInto(&model);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TForm* form = new TForm(Application);
    form->SetBounds(50, 40, 320, 240);
    form->AfterConstruction();
    auto* model = new TbsSkinData(form);
    auto* sf = new TbsSkinForm(form);
    const String ini = Skin().Folder.File(L"skin.ini");
    WriteFileAtomically(ini, std::string(reinterpret_cast<const char*>(data), size));
    try {
        model->LoadFromFile(ini);
    } catch (const Exception&) {}
    sf->SetSkinData(model);
    form->Show();
    Application->ProcessMessages();
    for (int y = -4; y < 248; y += 9)
        for (int x = -4; x < 328; x += 9)
            SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(form->Left() + x, form->Top() + y));
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    sf->SetWindowState(wsMaximized);
    sf->SetWindowState(wsMinimized);
    sf->SetWindowState(wsNormal);
    sf->SetRollUpState(true);
    sf->SetRollUpState(false);
    form->SetBounds(60, 50, 2, 2);
    Application->ProcessMessages();
    form->Free();
    return 0;
}
