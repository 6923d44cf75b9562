// Measures the skinned controls' paint path on the headless back end: one paint of a nine-part
// push button, one morph step of a button fading to its hot look (two looks composed and
// blended), and one repaint of a form holding 30 skinned controls (buttons, check boxes, panels,
// a tool bar and a status bar). Aims: a morph step under 2 ms, the form under 5 ms.
#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_tool_bar.h"
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

// A skin of the usual shape: nine-part looks of 40x24 for buttons, check boxes and panels.
void AddSkin(skintest::SyntheticSkin& S)
{
    using namespace skintest;
    int p = S.AddPicture(200, 60);
    S.Block(p, Rect(0, 0, 40, 24), kNormal);
    S.Block(p, Rect(40, 0, 80, 24), kHot);
    S.Block(p, Rect(80, 0, 120, 24), kDown);
    S.Block(p, Rect(0, 24, 40, 60), kExtra1);
    S.Block(p, Rect(120, 0, 130, 10), kExtra2);
    const std::string nine =
        "pictureindex=0\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\nleftbottompoint=4,20\r\n"
        "rightbottompoint=36,20\r\nclientrect=4,4,36,20\r\n";
    S.Control("button", "button",
              nine + "skinrect=0,0,40,24\r\nactiveskinrect=40,0,80,24\r\ndownskinrect=80,0,120,24\r\nmorphing=1\r\n");
    S.Control("checkbox", "checkradio",
              nine +
                  "skinrect=0,0,40,24\r\nactiveskinrect=40,0,80,24\r\ncheckimagearea=0,0,24,24\r\n"
                  "textarea=24,0,40,24\r\ncheckimagerect=120,0,130,10\r\nuncheckimagerect=120,0,130,10\r\n");
    S.Control("panel", "panel",
              "pictureindex=0\r\nskinrect=0,24,40,60\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
              "leftbottompoint=4,32\r\nrightbottompoint=36,32\r\nclientrect=4,4,36,32\r\n");
    S.Control("toolpanel", "panel",
              "pictureindex=0\r\nskinrect=0,24,40,60\r\nlefttoppoint=4,0\r\nrighttoppoint=36,0\r\n"
              "clientrect=4,4,36,32\r\n");
    S.Control("statusbar", "panel",
              "pictureindex=0\r\nskinrect=0,24,40,60\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
              "leftbottompoint=4,32\r\nrightbottompoint=36,32\r\nclientrect=4,4,36,32\r\n");
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

    auto* button = new TbsSkinButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 120, 30);
    button->SetSkinData(model);
    form->Show();
    Pump();
    const double paint = Millis([&] { button->Repaint(); }, 500);

    // Hover, then two ticks: the factor stands at 0.4 and every paint blends two looks.
    vxwin::InjectMouseMove(20, 20);
    Pump();
    for (int i = 0; i < 2; ++i) {
        vxwin::AdvanceClock(20);
        Pump();
    }
    const double morph = Millis([&] { button->Repaint(); }, 500);
    button->Free();

    // A form of 30 skinned controls.
    std::vector<TWinControl*> controls;
    auto add = [&](TbsSkinCustomControl* c, int x, int y, int w, int h) {
        c->SetParent(form);
        c->SetBounds(x, y, w, h);
        c->SetSkinData(model);
        controls.push_back(c);
    };
    for (int i = 0; i < 12; ++i) add(new TbsSkinButton(form), 10 + (i % 4) * 150, 40 + (i / 4) * 40, 120, 30);
    for (int i = 0; i < 8; ++i) {
        auto* c = new TbsSkinCheckRadioBox(form);
        c->SetCaption(L"Check");
        add(c, 10 + (i % 4) * 150, 170 + (i / 4) * 30, 140, 24);
    }
    for (int i = 0; i < 8; ++i) add(new TbsSkinPanel(form), 10 + (i % 4) * 150, 240 + (i / 4) * 80, 140, 70);
    add(new TbsSkinToolBar(form), 0, 0, 640, 36);
    add(new TbsSkinStatusBar(form), 0, 450, 640, 21);
    Pump();
    const double whole = Millis(
        [&] {
            form->Invalidate();
            for (TWinControl* c : controls) c->Invalidate();
            Application->ProcessMessages();
        },
        100);

    std::printf("skinned button paint (120x30):        %.3f ms\n", paint);
    std::printf("morph step (two looks, one blend):     %.3f ms   (aim: under 2 ms)\n", morph);
    std::printf("form of %zu skinned controls repaint:  %.3f ms   (aim: under 5 ms)\n", controls.size(), whole);
    form->Free();
    return 0;
}
