// One control of each skinned class, made on a parent with a skin model, painted at three sizes
// and driven through hover, press and the effect timers: the hostile-skin test and the controls'
// fuzz target run every class through whatever records a skin holds. Other control families add
// their classes to Makers(). Free of GoogleTest.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/win/headless_api.h"
#include "skin/controls/skin_bevel.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_button.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_slider.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_splitter.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_std_label.h"
#include "skin/controls/skin_text_label.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/controls/skin_tree_view.h"

namespace skintest {

// Each maker makes one control on Parent with the model and returns it.
using ControlMaker = std::function<TControl*(TWinControl* Parent, TbsSkinData* Model)>;

// A page control with Pages sheets captioned "page 0", "page 1", ...
inline TbsSkinPageControl* MakeSkinPageControl(TWinControl* Parent, TbsSkinData* Model, TTabPosition Position,
                                               int Pages = 3)
{
    auto* c = new TbsSkinPageControl(Parent);
    c->SetParent(Parent);
    for (int i = 0; i < Pages; ++i) {
        auto* s = new TbsSkinTabSheet(c);
        s->SetPageControl(c);
        s->SetCaption(L"page " + IntToStr(i));
    }
    c->SetTabPosition(Position);
    c->SetSkinData(Model);
    return c;
}

template <class T>
TControl* MakeSkinControl(TWinControl* Parent, TbsSkinData* Model, const wchar_t* Name = nullptr)
{
    auto* c = new T(Parent);
    c->SetParent(Parent);
    if (Name) c->SetSkinDataName(Name);
    c->SetSkinData(Model);
    return c;
}

inline std::vector<ControlMaker> Makers()
{
    return {
        [](TWinControl* p, TbsSkinData* m) { return MakeSkinControl<TbsSkinButton>(p, m); },
        [](TWinControl* p, TbsSkinData* m) { return MakeSkinControl<TbsSkinMenuButton>(p, m); },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinMenuButton*>(MakeSkinControl<TbsSkinMenuButton>(p, m, L"resizebutton"));
            b->SetTrackButtonMode(true);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) { return MakeSkinControl<TbsSkinMenuButton>(p, m, L"toolbutton"); },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinCheckRadioBox*>(MakeSkinControl<TbsSkinCheckRadioBox>(p, m));
            b->SetCaption(L"Check");
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinCheckRadioBox*>(MakeSkinControl<TbsSkinCheckRadioBox>(p, m));
            b->SetFlat(false);
            b->ChangeSkinData();
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinPanel*>(MakeSkinControl<TbsSkinPanel>(p, m));
            c->SetCaption(L"Caption");
            c->SetCaptionMode(true);
            c->SetCheckedMode(true);
            c->SetRollUpMode(true);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinPanel*>(MakeSkinControl<TbsSkinPanel>(p, m));
            c->SetBorderStyle(bvNone);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinPanel*>(MakeSkinControl<TbsSkinPanel>(p, m));
            c->SetCaption(L"Frame");
            c->SetTransparentMode(true);
            c->SetCaptionMode(true);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = static_cast<TbsSkinPaintPanel*>(MakeSkinControl<TbsSkinPaintPanel>(p, m));
            c->OnPanelPaint = [](TCanvas* C, TRect& R) { C->FillRect(R); };
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* g = static_cast<TbsSkinGroupBox*>(MakeSkinControl<TbsSkinGroupBox>(p, m));
            g->SetCaption(L"Group");
            return g;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* g = static_cast<TbsSkinGroupBox*>(MakeSkinControl<TbsSkinGroupBox>(p, m));
            g->SetUseSkinSize(false);
            g->SetCaption(L"Group");
            return g;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* t = new TbsSkinToolBar(p);
            t->SetParent(p);
            t->SetCanScroll(true);
            t->SetSkinData(m);
            auto* child = new TbsSkinButton(t);
            child->SetParent(t);
            child->SetBounds(0, 0, 500, 20);
            return t;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* s = static_cast<TbsSkinStatusBar*>(MakeSkinControl<TbsSkinStatusBar>(p, m));
            s->SetSizeGrip(true);
            return s;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* l = static_cast<TbsSkinStdLabel*>(MakeSkinControl<TbsSkinStdLabel>(p, m));
            l->SetCaption(L"Label");
            return l;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinScrollBar*>(MakeSkinControl<TbsSkinScrollBar>(p, m));
            b->SetRange(0, 50, 20, 10);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinScrollBar*>(MakeSkinControl<TbsSkinScrollBar>(p, m, L"vscrollbar"));
            b->SetKind(sbVertical);
            b->SetCanFocused(true);
            b->SetBoth(true);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* t = static_cast<TbsSkinCustomTreeView*>(MakeSkinControl<TbsSkinCustomTreeView>(p, m));
            t->SetDrawSkin(true);
            TTreeNode* root = t->Items()->Add(nullptr, L"root");
            for (int i = 0; i < 8; ++i) t->Items()->AddChild(root, L"node " + IntToStr(i));
            root->Expand(false);
            t->SetSelected(root->GetLastChild());
            for (bool vertical : {true, false}) {
                auto* bar = new TbsSkinScrollBar(t);
                bar->SetParent(p);
                bar->SetSkinData(m);
                if (vertical)
                    t->SetVScrollBar(bar);
                else
                    t->SetHScrollBar(bar);
            }
            return t;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* l = static_cast<TbsSkinListView*>(MakeSkinControl<TbsSkinListView>(p, m));
            l->SetViewStyle(vsReport);
            l->SetDrawSkin(true);
            l->SetDrawSkinLines(true);
            l->SetCheckboxes(true);
            l->SetRowSelect(true);
            for (int i = 0; i < 3; ++i) l->Columns()->Add()->SetCaption(L"column " + IntToStr(i));
            for (int i = 0; i < 12; ++i) {
                TListItem* it = l->Items()->Add();
                it->SetCaption(L"row " + IntToStr(i));
                it->SubItems()->Add(L"a");
                it->SetChecked(i % 2 == 0);
            }
            l->Items()->Item(1)->SetSelected(true);
            for (bool vertical : {true, false}) {
                auto* bar = new TbsSkinScrollBar(l);
                bar->SetParent(p);
                bar->SetSkinData(m);
                if (vertical)
                    l->SetVScrollBar(bar);
                else
                    l->SetHScrollBar(bar);
            }
            return l;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* s = new TbsSkinSplitter(p);
            s->SetParent(p);
            s->SetAlign(alLeft);
            s->SetSkinData(m);
            return s;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinSpeedButton*>(MakeSkinControl<TbsSkinSpeedButton>(p, m));
            b->SetCaption(L"Speed");
            b->SetRepeatMode(true);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinSpeedButton*>(MakeSkinControl<TbsSkinSpeedButton>(p, m, L"bigtoolbutton"));
            b->SetFlat(true);
            b->SetGroupIndex(1);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            return MakeSkinControl<TbsSkinMenuSpeedButton>(p, m, L"resizetoolbutton");
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinMenuSpeedButton*>(MakeSkinControl<TbsSkinMenuSpeedButton>(p, m));
            b->SetNewStyle(true);
            b->SetTrackButtonMode(true);
            b->SetTrackPosition(bstpBottom);
            b->Perform(CM_MOUSEENTER, 0, 0);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinMenuSpeedButton*>(MakeSkinControl<TbsSkinMenuSpeedButton>(p, m));
            b->SetTrackButtonMode(true);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* s = static_cast<TbsSkinSlider*>(MakeSkinControl<TbsSkinSlider>(p, m));
            s->SetTransparent(true);
            s->SetValue(40);
            return s;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* s = static_cast<TbsSkinSlider*>(MakeSkinControl<TbsSkinSlider>(p, m));
            s->SetOrientation(soVertical);
            s->SetOptions(TbsSliderOptions{soShowPoints, soRulerOpaque, soThumbOpaque});
            return s;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* l = static_cast<TbsSkinTextLabel*>(MakeSkinControl<TbsSkinTextLabel>(p, m));
            l->Lines()->Add(L"视频分辨率：");
            l->SetLayout(tlCenter);
            l->SetEnabled(false);
            return l;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* b = static_cast<TbsSkinBevel*>(MakeSkinControl<TbsSkinBevel>(p, m));
            b->SetDividerMode(true);
            return b;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = MakeSkinPageControl(p, m, tpTop);
            c->SetShowCloseButtons(true);
            c->SetMouseWheelSupport(true);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = MakeSkinPageControl(p, m, tpLeft);
            c->SetTextInHorizontal(true);
            c->SetShowCloseButtons(true);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = MakeSkinPageControl(p, m, tpBottom, 8);
            c->SetStyle(tsButtons);
            c->SetButtonTabSkinDataName(L"button");
            c->SetTabHeight(18);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = MakeSkinPageControl(p, m, tpRight);
            c->SetMultiLine(true);
            c->SetTabExtededDraw(true);
            return c;
        },
        [](TWinControl* p, TbsSkinData* m) {
            auto* c = MakeSkinPageControl(p, m, tpTop, 6);
            c->SetTabWidth(50);
            c->SetTabsInCenter(true);
            c->HideTabs();
            c->ShowTabs();
            return c;
        },
    };
}

// Runs the message loop and the test clock a little, so effect timers tick.
inline void RunEffects(int Ms)
{
    for (int t = 0; t < Ms; t += 20) {
        vxwin::AdvanceClock(20);
        for (int i = 0; i < 2; ++i) Application->ProcessMessages();
    }
}

// Runs on each control after its run through the sizes, before it is freed.
using ControlCheck = std::function<void(TControl* C)>;

// Every class at three sizes, painted, hovered, pressed and released, then Check (where given) and
// freed.
inline void PaintEverySkinControl(TWinControl* Parent, TbsSkinData* Model,
                                  const std::vector<ControlMaker>& AMakers = Makers(),
                                  const ControlCheck& Check = nullptr)
{
    const TSize sizes[] = {{1, 1}, {37, 23}, {300, 90}};
    for (const ControlMaker& make : AMakers) {
        TControl* c = make(Parent, Model);
        for (const TSize& s : sizes) {
            if (c->Align() == alNone) c->SetBounds(2, 2, s.cx, s.cy);
            c->Repaint();
            c->Perform(CM_MOUSEENTER, 0, 0);
            RunEffects(60);
            c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
            c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
            c->Perform(CM_MOUSELEAVE, 0, 0);
            RunEffects(60);
            c->Repaint();
        }
        if (Check) Check(c);
        if (auto* s = dynamic_cast<TbsSkinChangeClient*>(c)) {
            s->SkinChangeBegin();
            s->SkinChangeEnd();
        }
        c->Free();
    }
}

}  // namespace skintest
