// Measures the job list on the headless back end: a skinned list view in report view with 25
// columns (7 shown), grid lines and two external skinned bars, skinned by a synthetic skin
// ("listview", "resizetoolbutton" header sections, "hscrollbar"/"vscrollbar"). Adding 500 rows
// one by one in one handler, as the add-folder command does, then the paint; one scroll step (a
// bar change, the list's scroll and the repaint) and one header repaint. Aims: 500 rows under 100 ms, a scroll
// step under 5 ms.
#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/controls/skin_list_view.h"
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
    int p = S.AddPicture(120, 60);
    S.Block(p, Rect(0, 0, 40, 20), kNormal);
    S.Block(p, Rect(40, 0, 80, 20), kDown);
    S.Block(p, Rect(0, 20, 60, 36), kExtra1);   // bar
    S.Block(p, Rect(60, 20, 76, 36), kExtra2);  // thumb
    S.Control("resizetoolbutton", "button",
              "pictureindex=0\r\nskinrect=0,0,40,20\r\ndownskinrect=40,0,80,20\r\nlefttoppoint=4,4\r\n"
              "righttoppoint=36,4\r\nleftbottompoint=4,16\r\nrightbottompoint=36,16\r\nclientrect=4,4,36,16\r\n");
    S.Control("listview", "listview", "fontcolor=0\r\nbgcolor=" + IniColor(0xFFFFFF) + "\r\n");
    const std::string bar =
        "pictureindex=0\r\nskinrect=0,20,60,36\r\nlefttoppoint=16,0\r\nrighttoppoint=44,0\r\n"
        "trackarea=16,0,44,16\r\ndownbuttonrect=0,0,16,16\r\nupbuttonrect=44,0,60,16\r\nthumbrect=60,20,76,36\r\n"
        "thumboffset1=3\r\nthumboffset2=3\r\n";
    S.Control("hscrollbar", "scrollbar", bar);
    S.Control("bothhscrollbar", "scrollbar", bar);
}

}  // namespace

int main()
{
    vxwin::UseHeadlessBackend();
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 800, 500);
    form->AfterConstruction();
    auto* model = new TbsSkinData(form);
    skintest::SyntheticSkin skin;
    AddSkin(skin);
    skin.LoadInto(model);

    auto* list = new TbsSkinListView(form);
    list->SetBounds(0, 0, 760, 440);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    list->SetRowSelect(true);
    list->SetHeaderSkinDataName(L"resizetoolbutton");
    for (int i = 0; i < 25; ++i) {
        TListColumn* c = list->Columns()->Add();
        c->SetCaption(i < 7 ? L"列 " + IntToStr(i) : L"");
        c->SetWidth(i < 7 ? 120 : 0);
    }
    list->SetParent(form);
    auto* hbar = new TbsSkinScrollBar(form);
    hbar->SetBounds(0, 440, 760, 16);
    hbar->SetParent(form);
    auto* vbar = new TbsSkinScrollBar(form);
    vbar->SetKind(sbVertical);
    vbar->SetBounds(760, 0, 16, 440);
    vbar->SetParent(form);
    for (TbsSkinScrollBar* b : {hbar, vbar}) b->SetSkinData(model);
    list->SetHScrollBar(hbar);
    list->SetVScrollBar(vbar);
    list->SetSkinData(model);
    form->Show();
    Pump();

    const double add = Millis(
        [&] {
            for (int i = 0; i < 500; ++i) {
                TListItem* it = list->Items()->Add();
                it->SetCaption(L"D:\\视频\\第" + IntToStr(i) + L"集.mkv");
                for (int k = 0; k < 24; ++k) it->SubItems()->Add(k < 6 ? L"00:42:17" : L"");
            }
            Pump();
        },
        1);
    int pos = 0;
    const double step = Millis(
        [&] {
            pos = pos >= 400 ? 0 : pos + 1;
            vbar->SetPosition(pos);
            Pump();
        },
        200);
    const double header = Millis(
        [&] {
            InvalidateRect(list->TakenHeader(), nullptr, FALSE);
            Pump();
        },
        200);

    std::printf("job list: 500 rows added one by one:  %.3f ms   (aim: under 100 ms)\n", add);
    std::printf("one scroll step (bar, scroll, paint): %.3f ms   (aim: under 5 ms)\n", step);
    std::printf("header repaint (25 columns):          %.3f ms\n", header);
    form->Free();
    return 0;
}
