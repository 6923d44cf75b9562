// Bytes as the settings file "option.ini", read by the options dialog as at start-up and written
// back by a save. Whatever the file holds, the dialog must show exactly one choice in each of its
// groups, a thread count from its list, and a repaired file holding only known values. The dialog
// is made once; each input is read by its load, as its creation reads the file.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/options_form.h"
#include "app/program_paths.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_check_radio_box.h"
#include "tests/fuzz/fuzz_scratch.h"

namespace {
std::string gFolder;
TForm5* gDialog = nullptr;

int Selected(std::initializer_list<TbsSkinCheckRadioBox*> group)
{
    int n = 0;
    for (TbsSkinCheckRadioBox* b : group) n += b->Checked() ? 1 : 0;
    return n;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VX_HEADLESS", "1", 1);
    gFolder = FuzzScratchFolder("vx-fuzz-options");
    setenv("HOME", gFolder.c_str(), 1);
    SetProgramFolder(Utf8ToString(gFolder));
    gDialog = new TForm5(Application, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = gFolder + "/option.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TForm5* f = gDialog;
    f->LoadOptions();
    if (Selected({f->bsSkinCheckRadioBox1, f->bsSkinCheckRadioBox2, f->bsSkinCheckRadioBox4,
                  f->bsSkinCheckRadioBox5}) != 1 ||
        Selected({f->bsSkinCheckRadioBox9, f->bsSkinCheckRadioBox10, f->bsSkinCheckRadioBox11,
                  f->bsSkinCheckRadioBox12}) != 1 ||
        Selected({f->bsSkinCheckRadioBox3, f->bsSkinCheckRadioBox6}) != 1 || f->bsSkinComboBox2->ItemIndex() < 0)
        std::abort();
    TIniFile ini(Utf8ToString(path));
    const String done = ini.ReadString(L"Options", L"After_Done", L"");
    if (done != L"0" && done != L"1" && done != L"2" && done != L"3") std::abort();
    f->SaveOptions();
    return 0;
}
