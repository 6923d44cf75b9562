// Measures loading a stored skin into a skin model watched by five forms: inflating the container,
// reading the pictures and the INI text, making the records and the three notices. The skin is the
// program's own, as it is linked in; with --synthetic a larger synthetic one (a 146x122 form picture
// with a 1-bit mask, six 320x240 active pictures, 13 object and 64 control records with every key
// written).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/control_records.h"
#include "skin/core/object_records.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_ini.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"

namespace {

void WriteBmp(const String& path, int w, int h, TPixelFormat pf, unsigned seed)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelArgb(x, y, 0xFF000000u | ((x * 7 + y * 13 + seed) * 2654435761u >> 8));
    b.SetPixelFormat(pf);
    b.SaveToFile(path);
}

// The skin folder; returns the INI's path.
String MakeSkin(const String& dir)
{
    WriteBmp(dir + L"form.bmp", 146, 122, pf24bit, 1);
    WriteBmp(dir + L"mask.bmp", 146, 122, pf1bit, 2);
    TbsSkinData d(nullptr);
    d.SkinName = L"Synthetic";
    d.FPictureName = L"form.bmp";
    d.FMaskName = L"mask.bmp";
    for (int i = 0; i < 6; ++i) {
        const String name = L"pic" + IntToStr(i) + L".bmp";
        WriteBmp(dir + name, 320, 240, pf24bit, 10 + i);
        d.FActivePicturesNames->Add(name);
    }
    const wchar_t* objects[] = {
        L"stdbutton",         L"stdbutton", L"stdbutton",       L"stdbutton",         L"stdbutton",
        L"caption",           L"menuitem",  L"mainmenubaritem", L"mainmenubarbutton", L"mainmenubarbutton",
        L"mainmenubarbutton", L"button",    L"animate"};
    int n = 0;
    for (const wchar_t* w : objects) d.ObjectList.push_back(CreateSkinObjectRecord(w, L"object" + IntToStr(n++)));
    const wchar_t* controls[] = {L"panel",     L"button", L"checkradio", L"edit", L"listbox",  L"combobox",
                                 L"scrollbar", L"label",  L"stdlabel",   L"tab",  L"treeview", L"listview",
                                 L"updown",    L"slider", L"splitter",   L"memo"};
    for (int i = 0; i < 64; ++i)
        d.CtrlList.push_back(CreateSkinControlRecord(controls[i % 16], L"control" + IntToStr(i)));
    for (auto* r : d.CtrlList) r->PictureIndex = 1;
    TMemIniFile ini(String{});
    d.WriteSkin(&ini);
    WriteFileAtomically(dir + L"skin.ini", SkinIniBytes(ini));
    return dir + L"skin.ini";
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("VX_HEADLESS", "1", 1);
    bool synthetic = false;
    int reps = 50;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--synthetic")
            synthetic = true;
        else
            reps = std::atoi(argv[i]);
    }
    std::string tmpl = "/tmp/vx-skin-bench-XXXXXX";
    if (!mkdtemp(tmpl.data())) return 1;
    const String dir = Utf8ToString(tmpl) + L"/";

    TMemoryStream container;
    if (synthetic) {
        TbsCompressedStoredSkin built(nullptr);
        built.LoadFromIniFile(MakeSkin(dir));
        built.SaveToCompressStream(container);
    } else {
        const std::span<const uint8_t> own = DefaultSkinContainer();
        container.WriteBuffer(own.data(), static_cast<int64_t>(own.size()));
    }

    TForm* owner = nullptr;
    for (int i = 0; i < 5; ++i) {
        auto* f = new TForm(Application);
        f->SetBounds(10 * i, 10 * i, 200, 150);
        f->AfterConstruction();
        f->Handle();
        if (!owner) owner = f;
    }
    auto* model = new TbsSkinData(owner);
    TbsCompressedStoredSkin stored(nullptr);

    auto run = [&] {
        stored.LoadFromCompressStream(container);
        model->LoadCompressedStoredSkin(&stored);
    };
    run();  // warm up
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) run();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("skin load (%s): container %lld bytes, %zu objects, %zu controls, %zu pictures\n",
                synthetic ? "synthetic" : "the program's own skin", static_cast<long long>(container.Size()),
                model->ObjectList.size(), model->CtrlList.size(), model->FActivePictures.size());
    std::printf("%.2f ms per load into a model watched by 5 forms (%d loads; target under 50 ms)\n", ms / reps, reps);

    for (const String& f : ListFiles(dir)) DeleteFile(dir + f);
    RemoveDir(dir);
    return 0;
}
