// A plain form like the program's main window - menu, list view, combo box and edit - opened
// headless and, under Xvfb, as a real X11 window checked from a screenshot and driven with
// xdotool. The X11 case is skipped with a message where Xvfb, xdotool or import is missing.
#include <gtest/gtest.h>

#include <cairo.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menus.h"
#include "tests/platform/framework/control_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

namespace {

struct TPlainMainForm : TForm {
    explicit TPlainMainForm(TComponent* owner) : TForm(owner)
    {
        BeginLoading();
        SetCaption(L"VexmoraMKV格式转换器");
        SetBorderStyle(bsSingle);
        SetBounds(40, 40, 420, 300);
        SetColor(clBtnFace);
        menu = new TMainMenu(this);
        auto* file = new TMenuItem(this);
        file->SetCaption(L"文件");
        menu->Items()->Add(file);
        addItem = new TMenuItem(this);
        addItem->SetCaption(L"添加文件");
        addItem->SetShortCut(ShortCut('O', {ssCtrl}));
        addItem->OnClick = [this](TObject*) {
            TListItem* it = list->Items()->Add();
            it->SetCaption(edit->Text());
            it->SubItems()->Add(combo->Text());
        };
        file->Add(addItem);
        SetMenu(menu);
        list = new TListView(this);
        list->SetBounds(8, 8, 300, 150);
        list->SetViewStyle(vsReport);
        list->SetRowSelect(true);
        list->SetParent(this);
        list->Columns()->Add()->SetCaption(L"文件");
        list->Column(0)->SetWidth(180);
        list->Columns()->Add()->SetCaption(L"格式");
        list->Column(1)->SetWidth(100);
        combo = new TComboBox(this);
        combo->SetBounds(8, 170, 150, 21);
        combo->SetStyle(csDropDownList);
        combo->SetParent(this);
        edit = new TEdit(this);
        edit->SetBounds(8, 200, 200, 21);
        edit->SetParent(this);
        EndLoading();
        combo->Items()->Add(L"MKV格式");
        combo->Items()->Add(L"AVI格式");
        combo->SetItemIndex(0);
    }
    TMainMenu* menu;
    TMenuItem* addItem;
    TListView* list;
    TComboBox* combo;
    TEdit* edit;
};

using PlainForm = ApplicationFixture;

// Pumps messages until done() holds (X events arrive asynchronously); False after timeoutMs.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

TEST_F(PlainForm, OpensHeadlessAndWorks)
{
    TPlainMainForm* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    f->edit->SetFocus();
    Pump();
    TPoint lv = f->list->ClientToScreen(Point(100, 100));
    TPoint origin = f->ClientToScreen(Point(0, 0));
    EXPECT_EQ(PixelOf(f, lv.X - 40, lv.Y - 40), Rgb(ColorToRGB(clWindow)));  // the list's empty rows
    EXPECT_EQ(PixelOf(f, origin.X - 40 + 350, origin.Y - 40 + 100), Rgb(ColorToRGB(clBtnFace)));
    vxwin::InjectText(L"影片.avi");
    PressKey('O', kCtrl);
    Pump();
    ASSERT_EQ(f->list->Items()->Count(), 1);
    EXPECT_EQ(f->list->Items()->Item(0)->Caption(), L"影片.avi");
    EXPECT_EQ(f->list->Items()->Item(0)->SubItems()->Get(0), L"MKV格式");
}

TEST_F(PlainForm, OpensAsARealWindowUnderXvfb)
{
    std::string xvfb = FindTool("Xvfb"), xdotool = FindTool("xdotool"), import = FindTool("import");
    if (xvfb.empty() || xdotool.empty() || import.empty())
        X11_TEST_UNAVAILABLE() << "Xvfb, xdotool or ImageMagick's import is not installed";
    XvfbServer server;
    if (server.Display().empty()) X11_TEST_UNAVAILABLE() << "Xvfb could not be started";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));

    TPlainMainForm* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    TPoint row = f->list->ClientToScreen(Point(100, 100));
    TPoint face = f->ClientToScreen(Point(350, 100));
    TempDir dir;
    std::string shot = dir.file("screen.png");
    // Screenshots until the form is on screen (X events arrive asynchronously).
    std::uint32_t rowPixel = 0, facePixel = 0;
    PumpUntil([&] {
        if (RunTool({import, "-window", "root", shot}, server.Display()) != 0) return false;
        cairo_surface_t* s = cairo_image_surface_create_from_png(shot.c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return cairo_surface_destroy(s), false;
        auto px = [&](int x, int y) {
            auto* line = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                          y * cairo_image_surface_get_stride(s));
            return line[x] & 0xFFFFFF;
        };
        rowPixel = px(row.X, row.Y);
        facePixel = px(face.X, face.Y);
        cairo_surface_destroy(s);
        return rowPixel == Rgb(ColorToRGB(clWindow)) && facePixel == Rgb(ColorToRGB(clBtnFace));
    });
    EXPECT_EQ(rowPixel, Rgb(ColorToRGB(clWindow)));
    EXPECT_EQ(facePixel, Rgb(ColorToRGB(clBtnFace)));

    // Typed into the edit with the real keyboard path, added by the menu's shortcut.
    TPoint e = f->edit->ClientToScreen(Point(20, 10));
    ASSERT_EQ(RunTool({xdotool, "mousemove", std::to_string(e.X), std::to_string(e.Y), "click", "1"}, server.Display()),
              0);
    ASSERT_TRUE(PumpUntil([&] { return f->edit->Focused(); }));
    ASSERT_EQ(RunTool({xdotool, "type", "clip"}, server.Display()), 0);
    ASSERT_TRUE(PumpUntil([&] { return f->edit->Text() == L"clip"; }));
    ASSERT_EQ(RunTool({xdotool, "key", "ctrl+o"}, server.Display()), 0);
    ASSERT_TRUE(PumpUntil([&] { return f->list->Items()->Count() == 1; }));
    EXPECT_EQ(f->list->Items()->Item(0)->Caption(), L"clip");
    f->Free();
    vxwin::UseHeadlessBackend();
}
