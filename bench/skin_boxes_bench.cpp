// Measures the boxes on the headless back end with a synthetic skin ("combobox", "listbox",
// "edit"): the options dialog's thread list (19 items) from the press on its button to the
// drop-down fully painted; one keystroke in a 300 x 22 transparent skinned edit (the character
// in and the off-screen repaint); one page of a 25-row skinned list box (Page Down and the
// paint). Aims: one 60 Hz frame (16 ms), 2 ms, 5 ms.
#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {

double Millis(const std::function<void()>& Fn, int Reps)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < Reps; ++i) Fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / Reps;
}

void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

void AddSkin(skintest::SyntheticSkin& S)
{
    using namespace skintest;
    const int p = S.AddPicture(100, 60);
    S.Block(p, Rect(0, 0, 40, 20), kNormal);
    S.Block(p, Rect(40, 0, 60, 16), kExtra1, false);
    S.Block(p, Rect(40, 20, 60, 36), kExtra2, false);
    S.Block(p, Rect(0, 20, 40, 60), kHot);
    const std::string frame =
        "pictureindex=0\r\nskinrect=0,0,40,20\r\nlefttoppoint=3,3\r\nrighttoppoint=30,3\r\nleftbottompoint=3,17\r\n"
        "rightbottompoint=30,17\r\nclientrect=3,3,30,17\r\n";
    S.Control("combobox", "combobox",
              frame + "itemrect=40,0,60,16\r\nfocusitemrect=40,20,60,36\r\nitemtextrect=2,1,18,15\r\n"
                      "buttonrect=30,0,40,20\r\nlistboxname=listbox\r\n");
    S.Control("edit", "edit", frame + "activeskinrect=0,20,40,40\r\nfontcolor=0\r\nactivefontcolor=0\r\n");
    S.Control("listbox", "listbox",
              "pictureindex=0\r\nskinrect=0,20,40,60\r\nlefttoppoint=3,3\r\nrighttoppoint=37,3\r\n"
              "leftbottompoint=3,37\r\nrightbottompoint=37,37\r\nclientrect=3,3,37,37\r\n"
              "itemrect=40,0,60,16\r\nfocusitemrect=40,20,60,36\r\nitemtextrect=2,1,18,15\r\n");
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

    auto* combo = new TbsSkinComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 120, 20);
    for (int i = 1; i <= 19; ++i) combo->Items()->Add(IntToStr(i));
    combo->SetSkinData(model);
    auto* edit = new TbsSkinEdit(form);
    edit->SetParent(form);
    edit->SetBounds(200, 10, 300, 22);
    edit->SetSkinData(model);
    auto* list = new TbsSkinListBox(form);
    list->SetParent(form);
    list->SetBounds(10, 60, 200, 300);
    for (int i = 0; i < 500; ++i) list->Items()->Add(L"第" + IntToStr(i) + L"集.mkv");
    list->SetRowCount(25);
    list->SetSkinData(model);
    form->Show();
    Pump();

    const TPoint button = combo->ClientToScreen(Point(combo->Width() - 5, 10));
    const double drop = Millis(
        [&] {
            vxwin::InjectMouseMove(button.X, button.Y);
            vxwin::InjectMouseButton(0, true, button.X, button.Y);
            vxwin::InjectMouseButton(0, false, button.X, button.Y);
            Pump();
            combo->CloseUp(false);
            Pump();
        },
        50);
    edit->SetFocus();
    Pump();
    const double key = Millis(
        [&] {
            vxwin::InjectText(L"a");
            Pump();
        },
        200);
    list->ListBox->SetFocus();
    list->SetItemIndex(0);
    Pump();
    const double page = Millis(
        [&] {
            vxwin::InjectKey(VK_NEXT, true);
            vxwin::InjectKey(VK_NEXT, false);
            Pump();
            if (list->ItemIndex() >= 450) list->SetItemIndex(0);
        },
        100);

    std::printf("thread list: press to painted drop-down (and close): %.3f ms   (aim: 16 ms)\n", drop);
    std::printf("keystroke in a 300 x 22 transparent skinned edit:    %.3f ms   (aim: 2 ms)\n", key);
    std::printf("one page of a 25-row skinned list box:               %.3f ms   (aim: 5 ms)\n", page);
    form->Free();
    return 0;
}
