// The menu tests' fixture: a shown skinned form with a menu engine, a log that the opener
// controls, the form's WM_SKINMENU_CLOSED, OnMenuClose and the items' OnClick write into, menus
// built from caption lists, and the open levels' screen geometry.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/controls/control.h"
#include "platform/framework/controls/custom_control.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_menu_item.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace menutest {

using Log = std::vector<std::string>;

// A control that writes the menu messages it gets into a log: windowed or not.
template <class Base>
class Opener : public Base {
public:
    Opener(TComponent* AOwner, Log* L, std::string N) : Base(AOwner), FLog(L), FName(std::move(N)) {}
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_SKINMENU_CLOSED) FLog->push_back(FName + " 1228");
        if (M.Msg == WM_SKINMENU_COMMAND) FLog->push_back(FName + " 1229");
        Base::Dispatch(M);
    }

private:
    Log* FLog;
    std::string FName;
};
using WindowedOpener = Opener<TCustomControl>;
using GraphicOpener = Opener<TGraphicControl>;

}  // namespace menutest

struct MenuFixture : SkinFormFixture {
    menutest::Log Events;
    TbsSkinMenu* Engine = nullptr;

    void SetUp() override
    {
        Make(400, 300);
        Show();
        Engine = dynamic_cast<TbsSkinMenu*>(SF->SkinMenuEngine());
        SavedHook = [this](const TMessage& M) {
            if (M.Msg == WM_SKINMENU_CLOSED) Events.push_back("form 1228");
        };
    }
    void TearDown() override
    {
        SavedHook = nullptr;
        SkinFormFixture::TearDown();
    }

    // An item under Parent; "&" marks its accelerator. Its OnClick writes "click <caption>".
    TMenuItem* Add(TMenuItem* Parent, const std::wstring& Caption)
    {
        auto* i = new TMenuItem(Form);
        i->SetCaption(Caption);
        std::string name = StringToUtf8(StripHotkey(Caption));
        i->OnClick = [this, name](TObject*) { Events.push_back("click " + name); };
        Parent->Add(i);
        return i;
    }
    // A popup menu of the form with these captions.
    TbsSkinPopupMenu* Menu(std::initializer_list<const wchar_t*> Captions)
    {
        auto* m = new TbsSkinPopupMenu(Form);
        for (const wchar_t* c : Captions) Add(m->Items(), c);
        m->OnMenuClose = [this](TObject*) { Events.push_back("close"); };
        return m;
    }

    int Levels() const { return Engine->PopupCount(); }
    TbsSkinPopupWindow* Level(int I) const { return Engine->FPopupList[static_cast<size_t>(I)]; }
    TRect LevelBounds(int I) const
    {
        RECT r;
        GetWindowRect(Level(I)->Handle(), &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    // The screen centre of entry Index of a level.
    TPoint EntryPoint(int L, int Index) const
    {
        TRect r = Level(L)->Item(Index)->ObjectRect;
        TPoint o = Level(L)->ClientToScreen(Point(0, 0));
        return Point(o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2);
    }
    void ClickEntry(int L, int Index)
    {
        TPoint p = EntryPoint(L, Index);
        Click(p.X, p.Y);
        Pump();
    }
    // The mouse moved onto an entry and the mouse timer given a tick.
    void HoverEntry(int L, int Index)
    {
        TPoint p = EntryPoint(L, Index);
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
        Wait(60);
    }
    void Key(int Vk)
    {
        PressKey(Vk);
        Pump();
    }
};
