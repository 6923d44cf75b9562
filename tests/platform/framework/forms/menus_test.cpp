// Menus: the item tree, radio groups, shortcut texts, clicks dispatched by command number and by
// shortcut keys through a form, and the plain popup menu chosen from with the mouse and keys.
#include <gtest/gtest.h>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/action.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "tests/platform/framework/control_test_support.h"

namespace {

using Menus = ApplicationFixture;

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const String& caption, int* clicks = nullptr)
{
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    if (clicks) i->OnClick = [clicks](TObject*) { ++*clicks; };
    parent->Add(i);
    return i;
}

}  // namespace

TEST_F(Menus, ShortCutTextsAndHotkeys)
{
    struct Case {
        WORD key;
        TShiftState shift;
        const wchar_t* text;
    };
    const Case cases[] = {
        {VK_F1, {}, L"F1"},          {VK_F4, {ssCtrl}, L"Ctrl+F4"},
        {VK_F4, {ssAlt}, L"Alt+F4"}, {'S', {ssCtrl, ssShift}, L"Shift+Ctrl+S"},
        {VK_DELETE, {}, L"Del"},
    };
    for (const Case& c : cases) {
        TShortCut sc = ShortCut(c.key, c.shift);
        EXPECT_EQ(ShortCutToText(sc), c.text);
        EXPECT_EQ(TextToShortCut(c.text), sc) << StringToUtf8(c.text);
    }
    EXPECT_EQ(StripHotkey(L"文件(&F)"), L"文件(F)");
    EXPECT_EQ(StripHotkey(L"A&&B"), L"A&B");
    EXPECT_EQ(GetHotkey(L"&Open"), L'O');
    EXPECT_TRUE(IsAccel('o', L"&Open"));
    EXPECT_FALSE(IsAccel('p', L"&Open"));
}

TEST_F(Menus, TreeRadioGroupsAndCommandDispatch)
{
    auto* menu = new TPopupMenu(Application);
    int clicks = 0;
    TMenuItem* bmp = AddItem(menu, menu->Items(), L"BMP", &clicks);
    TMenuItem* jpg = AddItem(menu, menu->Items(), L"JPG");
    TMenuItem* other = AddItem(menu, menu->Items(), L"Other");
    for (TMenuItem* i : {bmp, jpg}) {
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
    }
    other->SetRadioItem(true);  // another group
    other->SetChecked(true);
    bmp->SetChecked(true);
    jpg->SetChecked(true);
    EXPECT_FALSE(bmp->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_EQ(menu->Items()->Count(), 3);
    EXPECT_EQ(jpg->MenuIndex(), 1);
    EXPECT_EQ(jpg->GetParentMenu(), menu);
    EXPECT_EQ(menu->Items()->Find(L"other"), other);

    EXPECT_TRUE(menu->DispatchCommand(bmp->Command()));
    EXPECT_EQ(clicks, 1);
    bmp->SetEnabled(false);  // a disabled item ignores the command
    EXPECT_TRUE(menu->DispatchCommand(bmp->Command()));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menu->DispatchCommand(999999));

    jpg->SetMenuIndex(0);
    EXPECT_EQ(menu->Items()->Items(0), jpg);
    menu->Items()->Delete(0);
    EXPECT_EQ(jpg->Parent(), nullptr);
    jpg->Free();
    EXPECT_EQ(menu->Items()->Count(), 2);
}

TEST_F(Menus, FormDispatchesShortcutsAndMenuCommands)
{
    TForm* f = MakeForm(0, 0, 200, 100);
    auto* mm = new TMainMenu(f);
    f->SetMenu(mm);
    TMenuItem* help = AddItem(f, mm->Items(), L"帮助");
    int about = 0, blocked = 0;
    TMenuItem* item = AddItem(f, help, L"帮助主题", &about);
    item->SetShortCut(ShortCut(VK_F1, {}));
    TMenuItem* off = AddItem(f, help, L"x", &blocked);
    off->SetShortCut(ShortCut('Q', {ssCtrl}));
    off->SetEnabled(false);
    f->Show();
    Pump();
    PressKey(VK_F1);
    Pump();
    EXPECT_EQ(about, 1);
    SendMessageW(f->Handle(), WM_COMMAND, item->Command(), 0);
    EXPECT_EQ(about, 2);
    // OnShortCut sees every key first and may take it.
    f->OnShortCut = [](TMessage& m, bool& handled) { handled = m.WParam == VK_F1; };
    PressKey(VK_F1);
    Pump();
    EXPECT_EQ(about, 2);
    help->SetEnabled(false);  // a disabled parent disables the shortcut
    f->OnShortCut = nullptr;
    PressKey(VK_F1);
    Pump();
    EXPECT_EQ(about, 2);
    EXPECT_EQ(blocked, 0);
}

TEST_F(Menus, PlainPopupIsChosenFromWithMouseAndKeys)
{
    TForm* f = MakeForm(0, 0, 300, 300);
    auto* box = new TColorBox(f);
    box->SetBounds(10, 10, 100, 100);
    box->SetParent(f);
    auto* pm = new TPopupMenu(f);
    box->SetPopupMenu(pm);
    int first = 0, second = 0, popups = 0;
    AddItem(f, pm->Items(), L"-");  // separators first, doubled or last are left out
    AddItem(f, pm->Items(), L"&First", &first);
    AddItem(f, pm->Items(), L"-");
    AddItem(f, pm->Items(), L"-");
    AddItem(f, pm->Items(), L"&Second", &second);
    AddItem(f, pm->Items(), L"-");
    pm->OnPopup = [&](TObject*) { ++popups; };
    f->Show();
    Pump();
    // A right click on the control opens its menu at the pointer; the item rows are 20 pixels
    // high from 2 pixels down, the separator 8.
    Click(50, 50, 1);
    Click(80, 50 + 2 + 20 + 8 + 10);
    Pump();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(pm->PopupComponent(), box);

    // Keys: Down selects the first item, Enter chooses it; Escape dismisses.
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    pm->Popup(100, 100);
    EXPECT_EQ(first, 1);
    PressKey(VK_ESCAPE);
    pm->Popup(100, 100);
    vxwin::InjectMouseButton(0, true, 250, 250);  // a press elsewhere dismisses too
    pm->Popup(100, 100);
    PressKey('S');  // the accelerator
    pm->Popup(100, 100);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST_F(Menus, PlainMenuBarTakesRoomAndOpensItsMenus)
{
    TForm* f = new TForm(Application);
    f->SetBorderStyle(bsSingle);
    f->SetBounds(50, 50, 300, 200);
    f->AfterConstruction();
    int before = f->ClientHeight();
    auto* mm = new TMainMenu(f);
    TMenuItem* file = AddItem(f, mm->Items(), L"文件(&F)");
    TMenuItem* help = AddItem(f, mm->Items(), L"帮助(&H)");
    int opened = 0, about = 0;
    AddItem(f, file, L"打开", &opened);
    AddItem(f, help, L"关于", &about);
    f->SetMenu(mm);
    EXPECT_EQ(f->MenuBarHeight(), GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(f->ClientHeight(), before - f->MenuBarHeight());
    f->Show();
    Pump();
    // The bar in the window's pixels, then a click on its second item and on the item below.
    TRect r = f->MenuBarItemRect(1);
    RECT wr;
    GetWindowRect(f->Handle(), &wr);
    EXPECT_EQ(PixelOf(f, r.Right + 20, r.Top + 2), Rgb(ColorToRGB(clMenu)));
    int x = wr.left + (r.Left + r.Right) / 2, y = wr.top + (r.Top + r.Bottom) / 2;
    Click(x, y);
    Click(x + 5, wr.top + r.Bottom + 2 + 10);
    Pump();
    EXPECT_EQ(about, 1);
    // Alt and the accelerator open a menu from the keyboard.
    PressKey('F', kAlt, L"f");
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(opened, 1);
    // Without the menu the client area grows back.
    f->SetMenu(nullptr);
    EXPECT_EQ(f->ClientHeight(), before);
}

TEST_F(Menus, LineReductionBitmapAndAction)
{
    auto* menu = new TPopupMenu(Application);
    TMenuItem* root = menu->Items();
    // "- A - - B -": the leading, doubled and trailing separators go.
    std::vector<TMenuItem*> items;
    for (const wchar_t* c : {L"-", L"A", L"-", L"-", L"B", L"-"}) items.push_back(AddItem(menu, root, c));
    EXPECT_TRUE(root->RethinkLines());
    std::vector<bool> shown;
    for (TMenuItem* i : items) shown.push_back(i->Visible());
    EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false, true, false}));
    items[1]->SetVisible(false);
    root->RethinkLines();
    EXPECT_FALSE(items[2]->Visible()) << "the separator now stands first";
    items[1]->SetVisible(true);
    root->RethinkLines();
    EXPECT_TRUE(items[2]->Visible()) << "and comes back with A";
    menu->SetAutoLineReduction(maManual);
    EXPECT_FALSE(root->RethinkLines());

    EXPECT_FALSE(items[1]->HasBitmap());
    items[1]->Bitmap()->SetSize(8, 8);
    EXPECT_TRUE(items[1]->HasBitmap());

    auto* action = new TAction(Application);
    action->SetCaption(L"Run");
    int runs = 0, updates = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    action->OnUpdate = [&](TObject*) {
        ++updates;
        action->SetChecked(true);
    };
    items[4]->SetAction(action);
    EXPECT_EQ(items[4]->Caption(), L"Run");
    items[4]->InitiateAction();
    EXPECT_EQ(updates, 1);
    EXPECT_TRUE(items[4]->Checked());
    items[4]->Click();
    EXPECT_EQ(runs, 1);
    action->Free();
    EXPECT_EQ(items[4]->Action(), nullptr) << "a freed action is forgotten";
    items[4]->Click();
    EXPECT_EQ(runs, 1);
}
