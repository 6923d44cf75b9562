// Measures the format panel's office combos on the headless back end: a category change (the
// category combo's ItemIndex set, its handler refilling the preset combo with 15 presets and
// selecting the first, both combos repainted) and opening the 20-row category list to its first
// paint, each in the built-in look and with a skin of "combobox" and "listbox" records.
// Aims: the category change under 8 ms, the drop-down within one 60 Hz frame (16 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/office_combo_box.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {

// The median of Reps runs, in milliseconds; Before runs untimed ahead of each.
double Median(const std::function<void()>& Fn, int Reps, const std::function<void()>& Before = nullptr)
{
    std::vector<double> ms;
    for (int i = 0; i < Reps; ++i) {
        if (Before) Before();
        auto t0 = std::chrono::steady_clock::now();
        Fn();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

void AddSkin(skintest::SyntheticSkin& S)
{
    using namespace skintest;
    int p = S.AddPicture(200, 80);
    S.Block(p, Rect(0, 0, 60, 30), kNormal);
    S.Block(p, Rect(60, 0, 80, 20), kHot);
    S.Block(p, Rect(80, 0, 100, 20), kFocused);
    S.Block(p, Rect(0, 30, 40, 70), kExtra1);
    S.Control("combobox", "combobox",
              "pictureindex=0\r\nskinrect=0,0,60,30\r\nlefttoppoint=4,4\r\nrighttoppoint=56,4\r\n"
              "clientrect=4,4,40,26\r\nitemrect=60,0,80,20\r\nfocusitemrect=80,0,100,20\r\n"
              "itemtextrect=2,2,18,18\r\nbuttonrect=45,0,60,30\r\n");
    S.Control("listbox", "listbox",
              "pictureindex=0\r\nskinrect=0,30,40,70\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
              "leftbottompoint=4,36\r\nrightbottompoint=36,36\r\nclientrect=4,4,36,36\r\n"
              "activeitemrect=60,0,80,20\r\nfocusitemrect=80,0,100,20\r\nitemtextrect=2,2,18,18\r\n");
}

TbsSkinOfficeComboBox* Combo(TForm* F, int X, int W, int Rows, bool Titles, TCustomImageList* Images)
{
    auto* c = new TbsSkinOfficeComboBox(F);
    c->SetParent(F);
    c->SetBounds(X, 10, W, 51);
    c->SetListBoxItemHeight(Rows);
    c->SetListBoxShowItemTitles(Titles);
    c->SetDropDownCount(4);
    c->SetImages(Images);
    return c;
}

}  // namespace

int main()
{
    vxwin::UseHeadlessBackend();
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 640, 480);
    form->AfterConstruction();
    auto* model = new TbsSkinData(form);
    skintest::SyntheticSkin skin;
    AddSkin(skin);
    skin.LoadInto(model);

    std::vector<uint32_t> colors;
    for (int i = 0; i < 20; ++i) colors.push_back(0x203040u + 0x050505u * static_cast<uint32_t>(i));
    auto* cat = Combo(form, 10, 131, 50, false, officetest::MakePngList(form, 36, colors));
    cat->SetListBoxWidth(130);
    for (int i = 0; i < 20; ++i) {
        auto* item = cat->Items()->Add();
        item->SetCaption(L"分类 " + IntToStr(i));
        item->SetImageIndex(i);
    }
    auto* pre = Combo(form, 150, 400, 60, true, officetest::MakePngList(form, 32, {0xC02020, 0x20C020}));
    cat->OnChange = [&](TObject*) {
        pre->Items()->Clear();
        for (int i = 0; i < 15; ++i) {
            auto* item = pre->Items()->Add();
            item->SetCaption(L"预设 " + IntToStr(cat->ItemIndex()) + L"." + IntToStr(i) + L" (*.mkv)");
            item->SetImageIndex(i % 2);
        }
        pre->SetItemIndex(0);
    };
    form->Show();
    cat->SetItemIndex(0);
    Pump();

    std::printf("%-44s %12s %12s\n", "step (median ms)", "built-in", "skinned");
    double change[2], open[2];
    for (int look = 0; look < 2; ++look) {
        if (look == 1) {
            cat->SetSkinData(model);
            pre->SetSkinData(model);
            Pump();
        }
        int next = 0;
        change[look] = Median(
            [&] {
                cat->SetItemIndex(next);
                Pump();
            },
            200, [&] { next = (next + 1) % 20; });
        open[look] = Median(
            [&] {
                cat->DropDown();
                Pump();
            },
            100,
            [&] {
                cat->CloseUp(false);
                Pump();
            });
        cat->CloseUp(false);
    }
    std::printf("%-44s %12.3f %12.3f   (aim < 8)\n", "category change: 15 presets refilled", change[0], change[1]);
    std::printf("%-44s %12.3f %12.3f   (aim < 16)\n", "20-row category list opened and painted", open[0], open[1]);
    form->Free();
    return 0;
}
