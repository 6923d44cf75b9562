// One control of each class of the boxes, filled and with a selection, for the hostile-skin test
// and the controls' fuzz target (see tests/skin/support/every_skin_control.h). Free of GoogleTest.
#pragma once

#include "skin/boxes/custom_edit.h"
#include "skin/boxes/link_label.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/boxes/skin_up_down.h"
#include "tests/skin/support/every_skin_control.h"

namespace skintest {

// The skin object names the boxes look up.
inline const char* const kBoxRecords[][2] = {{"listbox", "listbox"},  {"combobox", "combobox"}, {"hupdown", "updown"},
                                             {"vupdown", "updown"},   {"edit", "edit"},         {"buttonedit", "edit"},
                                             {"stdlabel", "stdlabel"}};

inline std::vector<ControlMaker> BoxMakers()
{
    return {
        [](TWinControl* p, TbsSkinData* m) {
            auto* l = static_cast<TbsSkinListBox*>(MakeSkinControl<TbsSkinListBox>(p, m));
            for (int i = 0; i < 30; ++i) l->Items()->Add(L"item\t" + IntToStr(i));
            l->TabWidths()->Add(L"20");
            l->SetItemIndex(3);
            l->SetCaptionMode(true);
            return l;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinComboBox*>(MakeSkinControl<TbsSkinComboBox>(p, m));
            for (int i = 0; i < 19; ++i) c->Items()->Add(IntToStr(i + 1));
            c->SetItemIndex(2);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinComboBox*>(MakeSkinControl<TbsSkinComboBox>(p, m));
            c->SetUseSkinSize(false);
            c->Items()->Add(L"one");
            c->SetItemIndex(0);
            c->ChangeSkinData();
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinComboBox*>(MakeSkinControl<TbsSkinComboBox>(p, m));
            c->Items()->Add(L"one");
            c->Items()->Add(L"two");
            c->SetStyle(bscbEditStyle);
            c->SetItemIndex(1);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) { return MakeSkinControl<TbsSkinUpDown>(p, m); },
        [](TWinControl* p, TbsSkinData*) {
            auto* e = new TbsCustomEdit(p);
            e->SetParent(p);
            e->SetText(L"text");
            return e;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* e = new TbsSkinEdit(p);
            e->SetParent(p);
            e->SetText(L"text");
            e->SetSkinData(m);
            return e;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* e = new TbsSkinEdit(p);
            e->SetParent(p);
            e->SetButtonMode(true);
            e->SetUseSkinFont(false);
            e->SetSkinDataName(L"buttonedit");
            e->SetText(L"text");
            e->SetSkinData(m);
            e->SetEnabled(false);
            return e;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* l = new TbsSkinLinkLabel(p);
            l->SetParent(p);
            l->SetCaption(L"link");
            l->SetGlowEffect(true);
            l->SetSkinData(m);
            return l;
        },
    };
}

}  // namespace skintest
