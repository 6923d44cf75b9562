// A selector byte, then bytes as a skin INI (read by the skin model from a folder holding the
// synthetic frame's pictures, as the skin INI target does) applied to a headless skinned form. The
// selector picks what of the form is driven for the input: the frame painted and hit-tested over
// a grid; one frame object (or the caption, with quick buttons) drawn alone, onto the frame and
// into a 32-bit layer image, hovered, pressed, released off itself and left while the clock runs
// its morphs and animations; the frame deactivated and the layered border built; the form
// maximized, minimized, restored, rolled up and sized down to nothing; a popup menu with every
// kind of entry (plain, separator, header, checked, radio, submenu, shortcut, named window
// command, picture) walked by keys; the menu bar painted in and out of menu mode; a hint shown
// and hidden. The pictures include those of an animated button, a glowing menu button, a user
// object, a second animated caption, quick-button faces, a full layer frame and the menus (the
// objects_*.ini seeds name them all).
// A skin that loads may look wrong, but must never crash, divide by zero or hang the form. The
// form, its components and the pictures are made, and the form shown, once; each input only
// reskins the form and drives one part of it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/form/animate_object.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/frame_objects.h"
#include "skin/form/main_menu_bar.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_hint.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"
#include "tests/skin/form/frame_test_skins.h"
#include "tests/skin/support/synthetic_menu_skin.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/fuzz/fuzz_scratch.h"

namespace {

// The frame's pictures (form, inactive, mask, buttons), written once; each input replaces the INI.
skintest::SyntheticSkin& Skin()
{
    static skintest::SyntheticSkin skin;
    return skin;
}

// A press on the system-menu button waits in the menu's loop for input that never comes.
bool OpensSystemMenu(TbsActiveSkinObject* O)
{
    if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(O)) return s->Command == cmSysMenu;
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(O)) return a->Command == cmSysMenu;
    return false;
}

// The object drawn every way it can be and taken through a hover, a press and a release off
// itself (a release there runs no command), the form's timers running in between.
void ExerciseObject(TbsSkinForm* SF, size_t Index)
{
    if (SF->ObjectList.empty()) return;
    Index %= SF->ObjectList.size();
    TBitmap frame(400, 120);
    TbsBitmap layer;
    layer.SetSize(400, 120);
    TbsActiveSkinObject* o = SF->ObjectList[Index];
    o->Draw(frame.Canvas(), true);
    o->Draw(frame.Canvas(), false);
    o->DrawAlpha(layer.Canvas(), &layer);
    const TPoint mid{(o->ObjectRect.Left + o->ObjectRect.Right) / 2, (o->ObjectRect.Top + o->ObjectRect.Bottom) / 2};
    o->MouseEnter();
    o->MouseMove(mid.X, mid.Y);
    if (!OpensSystemMenu(o)) o->MouseDown(mid.X, mid.Y, mbLeft);
    vxwin::AdvanceClock(60);
    Application->ProcessMessages();
    if (Index >= SF->ObjectList.size() || SF->ObjectList[Index] != o) return;  // a skin change freed them
    o->Draw(frame.Canvas(), true);
    o->DrawAlpha(layer.Canvas(), &layer);
    o->MouseUp(o->ObjectRect.Left - 1000, o->ObjectRect.Top - 1000, mbLeft);
    o->MouseLeave();
    vxwin::AdvanceClock(60);
    Application->ProcessMessages();
}

}  // namespace

// Text drawing leaves the font libraries' process-wide caches behind, as in the tests.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libpango\nleak:libcairo\nleak:libglib\nleak:libgobject\nleak:libharfbuzz\n";
}

namespace {
void MakeForm();
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VX_HEADLESS", "1", 1);
    // A screen little larger than the form: maximizing fits the memory the form's surface has
    // (a full-size screen made and cleared fresh pages for every maximized input).
    vxwin::SetHeadlessScreen(RECT{0, 0, 400, 300}, RECT{0, 0, 400, 280});
    // The synthetic skin's folder in memory (its TempDir follows TMPDIR).
    FuzzUseMemoryTemp();
    skintest::FrameSkin f;
    f.Mask = true;
    f.Inactive = true;
    f.Caption = true;
    skintest::AddFrame(Skin(), f);
    skintest::AddMenuSkin(Skin());
    frametest::AnimateSkin a;
    a.Cycle = true;
    frametest::AddAnimate(Skin(), a);
    frametest::AddMenuButton(Skin(), Rect(120, 4, 136, 20), true);
    frametest::AddUserObject(Skin(), Rect(140, 4, 150, 20));
    frametest::CaptionSkin c;
    c.Name = "caption2";
    c.SkinRect = Rect(30, 86, 60, 98);
    c.Animation = true;
    frametest::AddCaption(Skin(), c);
    frametest::AddQuickButtonFaces(Skin());
    frametest::LayerSkin l;
    l.FullBorder = true;
    l.HalfAlphaTop = true;
    frametest::AddLayerFrame(Skin(), l);
    TbsSkinData model(nullptr);
    Skin().LoadInto(&model);  // writes the pictures once
    MakeForm();
    return 0;
}

namespace {

// The form with its skinned frame, menus, bar and hint, made once; each input reskins them.
struct TFuzzForm {
    TForm* Form = nullptr;
    TbsSkinData* Model = nullptr;
    TbsSkinForm* SF = nullptr;
    TbsSkinPopupMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
    TbsSkinHint* Hint = nullptr;
};
TFuzzForm gFuzz;

void MakeForm()
{
    TForm* form = gFuzz.Form = new TForm(Application);
    form->SetBounds(50, 40, 320, 240);
    form->AfterConstruction();
    gFuzz.Model = new TbsSkinData(form);
    gFuzz.SF = new TbsSkinForm(form);
    auto* images = new TImageList(form, 16, 16);
    TBitmap face(16, 16);
    face.Canvas()->Brush()->SetColor(clYellow);
    face.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&face, nullptr);
    gFuzz.SF->SetQuickImageList(images);
    for (int i = 0; i < 3; ++i) gFuzz.SF->QuickButtons()->Add()->SetImageIndex(i - 1);
    gFuzz.SF->QuickButtons()->Items(1)->SetVisible(false);
    gFuzz.SF->SetSkinData(gFuzz.Model);
    // Menus, the bar and a hint.
    auto* menu = gFuzz.Menu = new TbsSkinPopupMenu(form);
    auto item = [&](TMenuItem* Parent, const wchar_t* Caption) {
        auto* i = new TMenuItem(form);
        i->SetCaption(Caption);
        Parent->Add(i);
        return i;
    };
    item(menu->Items(), L"&Plain")->SetShortCut(ShortCut('P', {ssCtrl}));
    item(menu->Items(), L"-");
    item(menu->Items(), L"-Header-")->SetEnabled(false);
    item(menu->Items(), L"Checked")->SetChecked(true);
    TMenuItem* radio = item(menu->Items(), L"Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    item(item(menu->Items(), L"Sub"), L"Inner");
    item(menu->Items(), L"Close")->SetName(L"BSF_CLOSE");
    TMenuItem* pic = item(menu->Items(), L"Picture");
    pic->Bitmap()->SetSize(6, 6);
    item(menu->Items(), L"Disabled")->SetEnabled(false);
    auto* main = new TbsSkinMainMenu(form);
    item(item(main->Items(), L"&File"), L"Open");
    item(main->Items(), L"&Help");
    auto* bar = gFuzz.Bar = new TbsSkinMainMenuBar(form);
    bar->SetParent(form);
    bar->SetSkinForm(gFuzz.SF);
    bar->SetSkinData(gFuzz.Model);
    bar->SetMainMenu(main);
    gFuzz.Hint = new TbsSkinHint(form);
    gFuzz.Hint->SetSkinData(gFuzz.Model);
}

}  // namespace

// What of the form one input drives, picked by its selector byte.
enum TFormPart { fpFrame, fpObject, fpActivation, fpStates, fpPopupMenu, fpMenuBar, fpHint, fpPartCount };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const size_t pick = data[0];
    ++data;
    --size;
    TForm* form = gFuzz.Form;
    TbsSkinData* model = gFuzz.Model;
    TbsSkinForm* sf = gFuzz.SF;
    static const std::string ini = Skin().Folder.file("skin.ini");
    if (FILE* f = std::fopen(ini.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        model->LoadFromFile(Utf8ToString(ini));
    } catch (const Exception&) {}
    // The form stays shown between inputs (showing it again would repaint and reactivate the
    // whole of it for every input); only a part that moved or hid it puts it back.
    form->SetBounds(50, 40, 320, 240);
    if (!form->Visible()) form->Show();
    Application->ProcessMessages();
    switch (pick % fpPartCount) {
    case fpFrame:
        SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
        for (int y = -4; y < 248; y += 9)
            for (int x = -4; x < 328; x += 9)
                SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(form->Left() + x, form->Top() + y));
        break;
    case fpObject: ExerciseObject(sf, pick / fpPartCount); break;
    case fpActivation:
        SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
        vxwin::AdvanceClock(200);
        Application->ProcessMessages();
        SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
        vxwin::AdvanceClock(200);
        Application->ProcessMessages();
        if (sf->FBorderLayer) sf->FBorderLayer->CheckFormAlpha(128, false);
        break;
    case fpStates:
        sf->SetWindowState(wsMaximized);
        sf->SetWindowState(wsMinimized);
        sf->SetWindowState(wsNormal);
        sf->SetRollUpState(true);
        sf->SetRollUpState(false);
        form->SetBounds(60, 50, 2, 2);
        Application->ProcessMessages();
        break;
    case fpPopupMenu:
        gFuzz.Menu->Popup(80, 80);
        for (int vk : {VK_DOWN, VK_DOWN, VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN, VK_DOWN, VK_DOWN})
            SendMessageW(form->Handle(), WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
        if (auto* e = dynamic_cast<TbsSkinMenu*>(sf->SkinMenuEngine())) {
            TBitmap target;
            target.SetSize(400, 600);
            for (TbsSkinPopupWindow* w : e->FPopupList) w->PaintMenu(target.Canvas()->Handle());
            e->Hide();
        }
        Application->ProcessMessages();
        break;
    case fpMenuBar:
        gFuzz.Bar->EnterMenuMode();
        gFuzz.Bar->DrawBar(nullptr);
        gFuzz.Bar->LeaveMenuMode();
        break;
    case fpHint:
        Application->SetMainForm(form);
        gFuzz.Hint->ActivateHint(Point(10, 10), L"Hint@two lines");
        gFuzz.Hint->ActivateHintEx(Point(10, 10), L"Title", L"Text", -1, nullptr);
        gFuzz.Hint->HideHint();
        Application->SetMainForm(nullptr);
        break;
    }
    return 0;
}
