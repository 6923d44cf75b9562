// One control of each office class (list and combo boxes in their looks, the scroll box with its
// bars and a child larger than itself, the ribbon with tabs, buttons and an open application
// menu), for the hostile-skin
// test of the boxes and the controls' fuzz target: made with items of every kind (headers,
// disabled rows, titles, checks, pictures) and run through PaintEverySkinControl. Free of
// GoogleTest.
#pragma once

#include "skin/boxes/app_menu.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/ribbon.h"
#include "skin/boxes/scroll_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_scroll_bar.h"
#include "tests/skin/support/every_skin_control.h"

namespace skintest {

// Rows of each kind, enough to overflow a small list.
inline void FillOfficeItems(TbsSkinOfficeItems* Items, TCustomImageList* Images)
{
    for (int i = 0; i < 12; ++i) {
        auto* item = Items->Add();
        item->SetHeader(i % 5 == 0);
        item->SetEnabled(i % 4 != 3);
        item->SetTitle(i % 2 ? L"Title" : L"");
        item->SetCaption(L"Caption of a row that wraps");
        item->SetChecked(i % 3 == 0);
        item->SetImageIndex(Images ? i % (Images->Count() + 1) : -1);
    }
}

inline std::vector<ControlMaker> OfficeMakers(TCustomImageList* Images = nullptr)
{
    auto combo = [Images](TWinControl* p, TbsSkinData* m, bool Tool, bool SkinSize) {
        auto* c = new TbsSkinOfficeComboBox(p);
        c->SetParent(p);
        c->SetImages(Images);
        FillOfficeItems(c->Items(), Images);
        c->SetToolButtonStyle(Tool);
        c->SetUseSkinSize(SkinSize);
        c->SetDropDownCount(3);
        c->SetSkinData(m);
        c->SetItemIndex(1);
        return c;
    };
    return {
        [Images](TWinControl* p, TbsSkinData* m) {
            auto* l = new TbsSkinOfficeListBox(p);
            l->SetParent(p);
            l->SetImages(Images);
            l->SetShowCheckBoxes(true);
            l->SetShowLines(true);
            FillOfficeItems(l->Items(), Images);
            l->SetSkinData(m);
            l->SetItemIndex(2);
            return l;
        },
        [combo](TWinControl* p, TbsSkinData* m) { return combo(p, m, false, false); },
        [combo](TWinControl* p, TbsSkinData* m) { return combo(p, m, false, true); },
        [combo](TWinControl* p, TbsSkinData* m) { return combo(p, m, true, false); },
        [](TWinControl* p, TbsSkinData* m) {
            auto* box = new TbsSkinScrollBox(p);
            box->SetParent(p);
            for (TScrollBarKind k : {sbHorizontal, sbVertical}) {
                auto* bar = new TbsSkinScrollBar(box);  // freed with the box
                bar->SetKind(k);
                bar->SetParent(p);
                bar->SetSkinData(m);
                k == sbHorizontal ? box->SetHScrollBar(bar) : box->SetVScrollBar(bar);
            }
            auto* child = new TbsSkinButton(box);
            child->SetParent(box);
            child->SetBounds(0, 0, 500, 200);
            box->SetSkinData(m);
            box->UpDateScrollRange();
            return box;
        },
        [Images](TWinControl* p, TbsSkinData* m) {
            auto* r = new TbsRibbon(p);
            r->SetParent(p);
            r->SetSkinData(m);
            for (int i = 0; i < 3; ++i) r->Tabs()->Add();
            r->Tabs()->GetItem(1)->SetVisible(false);
            auto* child = new TbsSkinButton(r->ActivePage());
            child->SetParent(r->ActivePage());
            child->SetBounds(0, 0, 900, 20);
            r->ActivePage()->GetScrollInfo();
            r->SetButtonsImageList(Images);
            for (int i = 0; i < 2; ++i) r->Buttons()->Add()->SetImageIndex(i);
            r->MDIChildMaximize();
            auto* menu = new TbsAppMenu(r);  // freed with the bar
            menu->SetParent(p);
            menu->SetSkinData(m);
            for (int i = 0; i < 12; ++i) {
                auto* item = menu->Items()->Add();
                if (i % 3 == 1) item->SetPage(menu->CreatePage());
                item->SetEnabled(i % 5 != 4);
                item->SetImageIndex(i % 3);
            }
            menu->SetItemImageList(Images);
            menu->SetItemPageImageList(Images);
            r->SetAppMenu(menu);
            r->ShowAppMenu();
            menu->SetHeight(60);
            menu->UpdateScrollInfo();
            menu->Repaint();
            return r;
        },
    };
}

}  // namespace skintest
