// Skinned menus on a real X11 desktop, without a window manager and under openbox: a button
// whose press pops a skinned popup menu below it (the level is where the engine placed it, on
// screen in the skin's colours), a click on its second entry runs that entry and closes it while
// the form keeps the focus, a level opened again closes on a click outside every window, and Alt,
// Down, Return on the menu bar run the first entry of its first submenu. Skipped with a message
// where Xvfb, xdotool, import or openbox is missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/form/main_menu_bar.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_menu_item.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"
#include "tests/skin/support/synthetic_menu_skin.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/x11_desktop.h"
#include "tests/support/x11_skip.h"

namespace {

bool PumpUntil(const std::function<bool()>& fn, int ms)
{
    return X11Desktop::WaitFor(
        [&] {
            Application->ProcessMessages();
            return fn();
        },
        ms);
}

void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// A plain control that drops its menu below itself on a left press.
class DropButton : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TbsSkinPopupMenu* Menu = nullptr;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        if (Button != mbLeft || !Menu) return;
        const TPoint p = ClientToScreen(Point(0, 0));
        Menu->PopupFromRect2(this, Bounds(p.X, p.Y, Width(), Height()), false);
    }
};

void RunMenus(bool WindowManager)
{
    X11Desktop desk(X11Desktop::Options{WindowManager, false});
    if (!desk.Missing().empty()) X11_TEST_UNAVAILABLE() << desk.Missing() << " missing";
    ASSERT_TRUE(vxwin::UseX11Backend(desk.Display()));
    struct BackToHeadless {
        ~BackToHeadless() { vxwin::UseHeadlessBackend(); }
    } backToHeadless;

    TForm* f = nullptr;
    Application->CreateForm(f);
    struct FreeForm {
        TForm* F;
        ~FreeForm() { F->Free(); }
    } freeForm{f};
    f->SetBounds(100, 100, 300, 220);
    auto* model = new TbsSkinData(f);
    auto* sf = new TbsSkinForm(f);
    skintest::SyntheticSkin skin;
    skintest::FrameSkin fs;
    fs.Caption = true;
    skintest::AddFrame(skin, fs);
    skintest::AddMenuSkin(skin);
    skin.LoadInto(model);
    sf->SetSkinData(model);

    std::vector<std::string> clicks;
    auto add = [&](TMenuItem* Parent, const wchar_t* Caption) {
        auto* i = new TMenuItem(f);
        i->SetCaption(Caption);
        const std::string name = StringToUtf8(StripHotkey(Caption));
        i->OnClick = [&clicks, name](TObject*) { clicks.push_back(name); };
        Parent->Add(i);
        return i;
    };
    auto* menu = new TbsSkinPopupMenu(f);
    add(menu->Items(), L"First");
    add(menu->Items(), L"Second");
    add(menu->Items(), L"Third");
    auto* button = new DropButton(f);
    button->Menu = menu;
    button->SetParent(f);
    button->SetBounds(20, 60, 80, 24);

    auto* main = new TbsSkinMainMenu(f);
    TMenuItem* file = add(main->Items(), L"&File");
    add(file, L"&Open");
    add(file, L"E&xit");
    add(add(main->Items(), L"&Edit"), L"Cut");
    auto* bar = new TbsSkinMainMenuBar(f);
    bar->SetParent(f);
    bar->SetSkinForm(sf);
    sf->SetMainMenuBar(bar);
    bar->SetMainMenu(main);

    f->Show();
    const Window xid = vxwin::NativeWindowId(f->Handle());
    auto viewable = [&](Window W) {
        XWindowAttributes a{};
        XGetWindowAttributes(desk.Other(), W, &a);
        return a.map_state == IsViewable;
    };
    ASSERT_TRUE(PumpUntil([&] { return viewable(xid); }, 5000));
    PumpFor(300);
    auto* engine = dynamic_cast<TbsSkinMenu*>(sf->SkinMenuEngine());
    ASSERT_NE(engine, nullptr);
    const HWND formWnd = f->Handle();

    // The button's press pops the level right below the button.
    const TPoint b = button->ClientToScreen(Point(0, 0));
    ASSERT_EQ(desk.Click(b.X + 10, b.Y + 10), 0);
    ASSERT_TRUE(PumpUntil([&] { return engine->PopupCount() == 1; }, 5000));
    TbsSkinPopupWindow* level = engine->FPopupList[0];
    RECT lr;
    GetWindowRect(level->Handle(), &lr);
    EXPECT_EQ(lr.left, b.X);
    EXPECT_EQ(lr.top, b.Y + 24);
    const Window lx = vxwin::NativeWindowId(level->Handle());
    ASSERT_TRUE(PumpUntil([&] { return viewable(lx); }, 5000));
    PumpFor(300);
    auto entryPoint = [&](int I) {
        const TRect r = level->Item(I)->ObjectRect;
        return level->ClientToScreen(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    };
    {
        auto shot = desk.Screenshot();
        ASSERT_TRUE(shot->Ok());
        EXPECT_EQ(shot->At(lr.left + 1, lr.top + 1), skintest::kExtra1) << "the level's frame on screen";
        const TPoint first = entryPoint(0), second = entryPoint(1);
        EXPECT_EQ(shot->At(first.X, first.Y - 5), skintest::kHot) << "the first entry preselected";
        EXPECT_EQ(shot->At(second.X, second.Y - 5), skintest::kNormal);
    }

    // A click on the second entry runs it and closes the level; the form keeps the focus.
    const TPoint second = entryPoint(1);
    ASSERT_EQ(desk.Click(second.X, second.Y), 0);
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }, 5000));
    EXPECT_EQ(clicks, std::vector<std::string>{"Second"});
    EXPECT_EQ(engine->PopupCount(), 0);
    EXPECT_FALSE(engine->Visible());
    PumpFor(200);
    EXPECT_EQ(GetActiveWindow(), formWnd);
    EXPECT_TRUE(f->Active());

    // Open again; a click on the bare desktop closes it and runs nothing.
    clicks.clear();
    ASSERT_EQ(desk.Click(b.X + 10, b.Y + 10), 0);
    ASSERT_TRUE(PumpUntil([&] { return engine->PopupCount() == 1; }, 5000));
    PumpFor(300);
    ASSERT_EQ(desk.Click(600, 450), 0);
    EXPECT_TRUE(PumpUntil([&] { return engine->PopupCount() == 0 && !engine->Visible(); }, 5000));
    EXPECT_TRUE(clicks.empty());

    // The bar by keys: Alt enters menu mode, Down opens File, Return runs Open.
    const TPoint c = f->ClientToScreen(Point(150, 150));
    ASSERT_EQ(desk.Click(c.X, c.Y), 0);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == formWnd; }, 5000));
    PumpFor(300);
    ASSERT_EQ(desk.Xdotool({"key", "alt"}), 0);
    PumpFor(300);
    ASSERT_EQ(desk.Xdotool({"key", "Down"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return engine->PopupCount() == 1; }, 5000));
    PumpFor(200);
    ASSERT_EQ(desk.Xdotool({"key", "Return"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return !clicks.empty(); }, 5000));
    EXPECT_EQ(clicks, (std::vector<std::string>{"File", "Open"})) << "the bar item's own event as its menu drops";
    EXPECT_EQ(engine->PopupCount(), 0);
}

}  // namespace

TEST(MenusX11, PopupAndBarWithoutAWindowManager) { RunMenus(false); }

TEST(MenusX11, PopupAndBarUnderAWindowManager) { RunMenus(true); }
