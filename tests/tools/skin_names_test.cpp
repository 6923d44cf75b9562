// Every name the program's windows ask the skin for resolves to a record of the class they read,
// with the resize mode the skin means it to have; the names records give resolve too. The table
// says who asks and, for the names left out, why the skin need not have them.
#include <gtest/gtest.h>

#include <map>

#include "default_skin_test_support.h"
#include "skin/core/button_records.h"
#include "skin/core/control_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/object_records.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"

namespace {

constexpr int kNoMode = -2;  // the record has no resizable look of its own

struct NameCase {
    const wchar_t* Name;
    bool Object;          // "SKINOBJECTS", else "SKINCONTROLS"
    const wchar_t* Type;  // its type word, so its class
    int Mode;             // resize mode of a control record
    const char* Who;
};

const NameCase kNames[] = {
    // The frame (skinned form, caption buttons laid out in the button row).
    {L"caption", true, L"caption", kNoMode, "skinned form: the caption object"},
    {L"closebutton", true, L"stdbutton", kNoMode, "skinned form: close button"},
    {L"maxbutton", true, L"stdbutton", kNoMode, "skinned form: maximize and restore button"},
    {L"minbutton", true, L"stdbutton", kNoMode, "skinned form: minimize button"},
    {L"sysmenubutton", true, L"stdbutton", kNoMode, "skinned form: system menu button"},
    {L"dialogclosebutton", true, L"stdbutton", kNoMode, "skinned form: close button of dialogs without icons"},
    // Menus and hints.
    {L"menuitem", true, L"menuitem", kNoMode, "popup menu windows: items, scroll bands"},
    {L"mainmenubaritem", true, L"mainmenubaritem", kNoMode, "main menu bar: named by its record"},
    {L"mainmenubar", false, L"mainmenubar", kNoMode, "main window's menu bar"},
    {L"label", false, L"label", 1, "menu headers (menuheader falls back), office list headers"},
    // Buttons.
    {L"button", false, L"button", 1, "push buttons, message box buttons"},
    {L"resizebutton", false, L"button", 1, "dialog buttons; editbutton, combobutton, menuitembutton fall back"},
    {L"resizetoolbutton", false, L"button", 1, "job list header, tool bar buttons, quick buttons; header falls back"},
    {L"toolbutton", false, L"button", 1, "speed buttons of the dialogs' tool bars"},
    {L"toolmenubutton", false, L"menubutton", 2, "menu buttons and menu speed buttons"},
    // Boxes.
    {L"combobox", false, L"combobox", 2, "combo boxes and office combo boxes"},
    {L"listbox", false, L"listbox", 1, "list boxes, combo drop-down lists, tree and list view items"},
    {L"checklistbox", false, L"checklistbox", 1, "office list box check marks"},
    {L"edit", false, L"edit", 2, "edits"},
    {L"buttonedit", false, L"edit", 2, "edits with a button"},
    {L"hupdown", false, L"updown", 0, "up-downs; the tab record's up-down"},
    {L"vupdown", false, L"updown", 0, "vertical up-downs"},
    {L"scrollbox", false, L"scrollbox", 1, "scroll boxes"},
    // Views and the rest.
    {L"listview", false, L"listview", kNoMode, "job list and dialog file lists"},
    {L"treeview", false, L"treeview", kNoMode, "dialog folder trees"},
    {L"checkbox", false, L"checkradio", 2, "check boxes"},
    {L"radiobox", false, L"checkradio", 2, "radio buttons"},
    {L"slider", false, L"slider", kNoMode, "preview position slider"},
    {L"hscrollbar", false, L"scrollbar", 2, "horizontal bars of lists and views"},
    {L"vscrollbar", false, L"scrollbar", 3, "vertical bars of lists and views"},
    {L"bothhscrollbar", false, L"scrollbar", 2, "horizontal bars beside a vertical one, the corner at the end"},
    {L"panel", false, L"panel", 1, "panels; resizetoolpanel falls back"},
    {L"groupbox", false, L"panel", 1, "group boxes"},
    {L"toolpanel", false, L"panel", 1, "tool bars"},
    {L"statusbar", false, L"panel", 1, "status bars"},
    {L"stdlabel", false, L"stdlabel", kNoMode, "labels, message box text"},
    {L"bevel", false, L"bevel", kNoMode, "bevels"},
    {L"tab", false, L"tab", kNoMode, "page controls"},
    {L"hsplitter", false, L"splitter", 2, "splitters aligned top or bottom"},
    {L"vsplitter", false, L"splitter", 3, "splitters aligned left or right"},
};

struct LeftOut {
    const wchar_t* Name;
    const wchar_t* FallsBackTo;  // the record used instead, or nullptr
    const char* Why;
};

const LeftOut kLeftOut[] = {
    {L"menuheader", L"label", "menu headers fall back to the label"},
    {L"header", L"resizetoolbutton", "list headers fall back to the tool button record"},
    {L"editbutton", L"resizebutton", "edit buttons fall back"},
    {L"combobutton", L"resizebutton", "combo buttons fall back"},
    {L"menuitembutton", L"resizebutton", "menu item buttons fall back"},
    {L"resizetoolpanel", L"panel", "the menu bar's tool panel falls back"},
    {L"officetab", nullptr, "ribbon: no form creates one"},
    {L"officeribbonbutton", nullptr, "ribbon: no form creates one"},
    {L"officemenubutton", nullptr, "application menu button: no form creates one"},
    {L"appmenu", nullptr, "application menu: no form creates one"},
    {L"officequickbutton", L"resizetoolbutton", "caption quick buttons: no form has any"},
    {L"bigtoolbutton", nullptr, "big tool bars: no form has one"},
    {L"bigtoolmenubutton", nullptr, "big tool bars: no form has one"},
    {L"bigtoolpanel", nullptr, "big tool bars: no form has one"},
    {L"memo", nullptr, "the system has no skinned memo"},
};

TEST(DefaultSkinNames, EveryAskedNameResolves)
{
    auto skin = EmbeddedSkin();
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(StringToUtf8(c.Name) + " (" + c.Who + ")");
        if (c.Object) {
            const int i = skin->GetIndex(c.Name);
            ASSERT_GE(i, 0);
            EXPECT_EQ(String(SkinObjectTypeWord(skin->ObjectList[i])), c.Type);
            continue;
        }
        const int i = skin->GetControlIndex(c.Name);
        ASSERT_GE(i, 0);
        TbsDataSkinControl* r = skin->CtrlList[i];
        EXPECT_EQ(String(SkinControlTypeWord(r)), c.Type);
        auto* custom = dynamic_cast<TbsDataSkinCustomControl*>(r);
        EXPECT_EQ(custom ? custom->ResizeMode() : kNoMode, c.Mode);
    }
    for (const LeftOut& c : kLeftOut) {
        SCOPED_TRACE(StringToUtf8(c.Name) + ": " + c.Why);
        EXPECT_EQ(skin->GetControlIndex(c.Name), -1);
        if (c.FallsBackTo) {
            EXPECT_GE(skin->GetControlIndex(c.FallsBackTo), 0);
        }
    }
    // Every record of the skin is one of the table's.
    EXPECT_EQ(skin->ObjectList.size() + skin->CtrlList.size(), std::size(kNames));
}

TEST(DefaultSkinNames, NamesInRecordsResolve)
{
    auto skin = EmbeddedSkin();
    auto control = [&](const wchar_t* n) { return skin->CtrlList[skin->GetControlIndex(n)]; };
    auto* bar = dynamic_cast<TbsDataSkinMainMenuBar*>(control(L"mainmenubar"));
    ASSERT_TRUE(bar);
    const int item = skin->GetIndex(bar->MenuBarItem);
    ASSERT_GE(item, 0);
    EXPECT_TRUE(dynamic_cast<TbsDataSkinMainMenuBarItem*>(skin->ObjectList[item]));
    // The MDI child buttons are not named: the program has no MDI forms.
    EXPECT_TRUE(bar->CloseButton.empty() && bar->MaxButton.empty() && bar->MinButton.empty() &&
                bar->SysMenuButton.empty());

    auto* combo = dynamic_cast<TbsDataSkinComboBox*>(control(L"combobox"));
    ASSERT_TRUE(combo);
    const int list = skin->GetControlIndex(combo->ListBoxName);
    ASSERT_GE(list, 0);
    EXPECT_EQ(String(SkinControlTypeWord(skin->CtrlList[list])), L"listbox");

    auto* tab = dynamic_cast<TbsDataSkinTabControl*>(control(L"tab"));
    ASSERT_TRUE(tab);
    ASSERT_GE(skin->GetControlIndex(tab->UpDown), 0);
    EXPECT_EQ(String(SkinControlTypeWord(control(tab->UpDown.c_str()))), L"updown");

    for (const wchar_t* name : {L"listbox", L"checklistbox"}) {
        auto* l = dynamic_cast<TbsDataSkinListBox*>(control(name));
        ASSERT_TRUE(l);
        for (const String& bar2 : {l->VScrollBarName, l->HScrollBarName, l->BothScrollBarName})
            EXPECT_GE(skin->GetControlIndex(bar2), 0) << StringToUtf8(bar2);
    }
}

TEST(DefaultSkinNames, OneCaptionButtonPerCommand)
{
    auto skin = EmbeddedSkin();
    std::map<TbsStdCommand, int> count;
    for (TbsDataSkinObject* o : skin->ObjectList)
        if (auto* b = dynamic_cast<TbsDataSkinStdButton*>(o); b && b->IDName != L"dialogclosebutton") {
            ++count[b->Command];
            EXPECT_TRUE(b->SkinRectInAPicture) << StringToUtf8(b->IDName);  // laid out in the button row
        }
    EXPECT_EQ(count, (std::map<TbsStdCommand, int>{{cmClose, 1}, {cmMaximize, 1}, {cmMinimize, 1}, {cmSysMenu, 1}}));
    auto* dialog = dynamic_cast<TbsDataSkinStdButton*>(skin->ObjectList[skin->GetIndex(L"dialogclosebutton")]);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Command, cmClose);
    // The maximize button's restore looks, and its hint for them.
    auto* max = dynamic_cast<TbsDataSkinStdButton*>(skin->ObjectList[skin->GetIndex(L"maxbutton")]);
    EXPECT_FALSE(max->RestoreRect.IsEmpty() || max->RestoreActiveRect.IsEmpty() || max->RestoreDownRect.IsEmpty() ||
                 max->RestoreInActiveRect.IsEmpty());
    EXPECT_FALSE(max->RestoreHint.empty());
}

}  // namespace
