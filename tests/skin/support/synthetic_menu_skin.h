// The records of skinned menus, the menu bar and hints in a synthetic skin: a popup-window
// picture (POPUPWINDOW), a "menuitem" object, a "mainmenubar" control with its "mainmenubaritem"
// object, a "label" control for headers and a hint picture (HINTWINDOW). Each picture has a frame
// of kExtra1 around a centre of kExtra2; each look a block of its colour with corner markers.
// Free of GoogleTest, for the fuzz targets and benchmarks too.
#pragma once

#include <string>

#include "tests/skin/support/synthetic_skin.h"

namespace skintest {

struct MenuSkin {
    bool PopupWindow = true;     // POPUPWINDOW with a picture
    bool MenuItemRecord = true;  // the "menuitem" object
    int MenuItemPicture = 0;     // 0: its own picture; otherwise this active index is used as is
    bool InActiveStretch = false;
    bool MenuBar = true;
    bool Hint = true;
    bool Label = true;
    std::string MenuBarKeys;  // further keys of the "mainmenubar" record, one "key=value\r\n" a line
};

// Where the looks lie, for the tests' expectations.
constexpr int kPopupFrame = 3;                // POPUPWINDOW: a 40 x 40 picture, items inset by 3
constexpr TRect kItemNormal{0, 0, 50, 20};    // "menuitem": normal look, with a kExtra3 stripe at x 4
constexpr TRect kItemActive{0, 20, 50, 40};   // active look
constexpr TRect kItemDivider{0, 40, 50, 44};  // divider
constexpr TRect kItemText{4, 2, 46, 18};
constexpr TRect kBarRect{0, 0, 100, 24};  // "mainmenubar": bar look, items area inset 2
constexpr TRect kBarItem{0, 24, 30, 44};  // "mainmenubaritem": normal, active, down side by side
constexpr TRect kBarItemActive{30, 24, 60, 44};
constexpr TRect kBarItemDown{60, 24, 90, 44};
constexpr int kHintW = 30, kHintH = 20;  // HINTWINDOW picture, client rectangle inset 3

inline void AddMenuSkin(SyntheticSkin& S, const MenuSkin& M = {})
{
    auto rect = [](const TRect& R) { return IniRect(R); };
    if (M.PopupWindow) {
        int p = S.AddPicture(40, 40, kExtra1);
        S.Block(p, Rect(3, 3, 37, 37), kExtra2, false);
        S.ExtraSections += "[POPUPWINDOW]\r\nwindowpictureindex=" + std::to_string(S.ActiveIndex(p)) +
                           "\r\nmaskpictureindex=-1\r\nlefttoppoint=3,3\r\nrighttoppoint=37,3\r\n"
                           "leftbottompoint=3,37\r\nrightbottompoint=37,37\r\nitemsrect=3,3,37,37\r\n"
                           "scrollmarkercolor=0\r\nscrollmarkeractivecolor=255\r\n";
    }
    if (M.MenuItemRecord) {
        int index = M.MenuItemPicture;
        if (index == 0) {
            int p = S.AddPicture(60, 50);
            S.Block(p, kItemNormal, kNormal);
            for (int y = 1; y < 19; ++y) S.Pixel(p, 4, y, kExtra3);
            S.Block(p, kItemActive, kHot);
            S.Block(p, kItemDivider, kDisabled, false);
            index = S.ActiveIndex(p);
        }
        S.Object("menuitem", "menuitem",
                 "activepictureindex=" + std::to_string(index) + "\r\nskinrect=" + rect(kItemNormal) +
                     "\r\nactiveskinrect=" + rect(kItemActive) + "\r\ndividerrect=" + rect(kItemDivider) +
                     "\r\ntextrect=" + rect(kItemText) +
                     "\r\nitemleftoffset=4\r\nitemrightoffset=4\r\ndividerleftoffset=2\r\ndividerrightoffset=2\r\n"
                     "fontname=Tahoma\r\nfontheight=13\r\nfontcolor=" +
                     IniColor(0x000000) + "\r\nactivefontcolor=" + IniColor(0xFFFFFF) +
                     "\r\nunenabledfontcolor=" + IniColor(0x808080) +
                     "\r\ninactivestretcheffect=" + (M.InActiveStretch ? "1" : "0") + "\r\nstretcheffect=0\r\n");
    }
    if (M.Label) {
        int p = S.AddPicture(40, 16);
        S.Block(p, Rect(0, 0, 40, 16), kFocused);
        S.Control("label", "label",
                  "pictureindex=" + std::to_string(S.ActiveIndex(p)) +
                      "\r\nskinrect=0,0,40,16\r\nlefttoppoint=2,2\r\nrighttoppoint=38,2\r\nclientrect=2,2,38,14\r\n"
                      "fontname=Tahoma\r\nfontheight=13\r\nfontcolor=" +
                      IniColor(0xFFFFFF) + "\r\n");
    }
    if (M.MenuBar) {
        int p = S.AddPicture(100, 50);
        S.Block(p, kBarRect, kExtra2);
        S.Block(p, kBarItem, kNormal);
        S.Block(p, kBarItemActive, kHot);
        S.Block(p, kBarItemDown, kDown);
        const std::string pi = std::to_string(S.ActiveIndex(p));
        S.Control("mainmenubar", "mainmenubar",
                  "pictureindex=" + pi + "\r\nskinrect=" + rect(kBarRect) +
                      "\r\nitemsrect=2,2,98,22\r\nmenubaritem=mainmenubaritem\r\ntrackmarkcolor=0\r\n"
                      "trackmarkactivecolor=255\r\n" +
                      M.MenuBarKeys);
        S.Object("mainmenubaritem", "mainmenubaritem",
                 "activepictureindex=" + pi + "\r\nskinrect=" + rect(kBarItem) +
                     "\r\nactiveskinrect=" + rect(kBarItemActive) + "\r\ndownrect=" + rect(kBarItemDown) +
                     "\r\ntextrect=4,2,26,18\r\nitemleftoffset=4\r\nitemrightoffset=4\r\nfontname=Tahoma\r\n"
                     "fontheight=13\r\nfontcolor=" +
                     IniColor(0x000000) + "\r\nactivefontcolor=" + IniColor(0xFFFFFF) +
                     "\r\ndownfontcolor=" + IniColor(0xFFFF00) + "\r\n");
    }
    if (M.Hint) {
        int p = S.AddPicture(kHintW, kHintH, kExtra1);
        S.Block(p, Rect(3, 3, kHintW - 3, kHintH - 3), kExtra2, false);
        S.ExtraSections += "[HINTWINDOW]\r\nwindowpictureindex=" + std::to_string(S.ActiveIndex(p)) +
                           "\r\nmaskpictureindex=-1\r\nlefttoppoint=3,3\r\nrighttoppoint=27,3\r\n"
                           "leftbottompoint=3,17\r\nrightbottompoint=27,17\r\nclientrect=3,3,27,17\r\n"
                           "fontname=Tahoma\r\nfontheight=13\r\nfontcolor=" +
                           IniColor(0x000000) + "\r\n";
    }
}

}  // namespace skintest
