// Measures the skinned form's frame on the headless back end: a 1280x800 form wearing the
// synthetic test skin (tiled edges, a mask with cut corners, a caption and three caption buttons).
// Printed: the median time of a full repaint of the frame (WM_NCPAINT: the four strips composed,
// the objects drawn, the strips blitted) and of one step of a full-drag sizing (WM_SIZING with
// the frame and region rebuilt for the proposed size, the window resized and repainted, as the
// move/size loop does it). Then the median time to open a skinned popup menu of 30 entries from
// the synthetic menu records and paint its level (closed again between the runs, untimed).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_menu.h"
#include "tests/skin/support/synthetic_menu_skin.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {

// The median of Runs timings of Fn, in milliseconds.
double MedianMs(int Runs, const std::function<void(int)>& Fn)
{
    std::vector<double> t;
    for (int i = 0; i < Runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        Fn(i);
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(t.begin(), t.begin() + Runs / 2, t.end());
    return t[static_cast<size_t>(Runs / 2)];
}

}  // namespace

int main()
{
    vxwin::UseHeadlessBackend();
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 1280, 800);
    form->AfterConstruction();
    auto* model = new TbsSkinData(form);
    auto* sf = new TbsSkinForm(form);
    skintest::SyntheticSkin skin;
    skintest::FrameSkin f;
    f.Mask = true;
    f.Caption = true;
    skintest::AddFrame(skin, f);
    skintest::AddMenuSkin(skin);
    skin.LoadInto(model);
    sf->SetSkinData(model);
    form->Show();
    vxwin::PumpMessages();
    HWND h = form->Handle();

    const double repaint = MedianMs(200, [h](int) { SendMessageW(h, WM_NCPAINT, 0, 0); });

    SendMessageW(h, WM_ENTERSIZEMOVE, 0, 0);
    const double sizing = MedianMs(100, [h](int i) {
        RECT r{0, 0, 1280 - (i % 2) * 17, 800 - (i % 2) * 11};
        SendMessageW(h, WM_SIZING, 8, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(h);
        RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    SendMessageW(h, WM_EXITSIZEMOVE, 0, 0);

    // A 30-entry level: opened (placed, entries measured, shown) and painted, then closed untimed.
    auto* menu = new TbsSkinPopupMenu(form);
    for (int i = 0; i < 30; ++i) {
        auto* item = new TMenuItem(form);
        item->SetCaption(i % 10 == 9 ? String(L"-") : L"Entry " + IntToStr(i));
        if (i % 7 == 3) item->SetChecked(true);
        menu->Items()->Add(item);
    }
    auto* engine = dynamic_cast<TbsSkinMenu*>(sf->SkinMenuEngine());
    std::vector<double> opens;
    for (int i = 0; i < 100 && engine; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        menu->Popup(200, 100);
        vxwin::PumpMessages();
        opens.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        engine->Hide();
        vxwin::PumpMessages();
    }
    std::nth_element(opens.begin(), opens.begin() + static_cast<long>(opens.size() / 2), opens.end());
    const double open = opens.empty() ? 0 : opens[opens.size() / 2];

    std::printf("skinned frame of a 1280x800 form, headless (medians)\n");
    std::printf("  full frame repaint        %7.3f ms   (aim < 5 ms)\n", repaint);
    std::printf("  full-drag sizing step     %7.3f ms   (aim < 16 ms)\n", sizing);
    std::printf("  open and paint 30 entries %7.3f ms   (aim < 16 ms)\n", open);
    form->Free();
    return 0;
}
