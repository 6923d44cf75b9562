// The skin routines of the skinned memos the skin-change walk knows (a framed memo drawing a skin
// frame around its text, and a frameless one): each re-reads the memo's "memo" record and applies
// fonts, colours, the two skin scroll bars and, for the framed memo, the text rectangle. A memo
// hands its state over as a TbsMemoSkin; the routines read and write only that and the memo's
// window.
#pragma once

#include "platform/framework/controls/win_control.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_data.h"

struct TbsMemoSkin {
    TWinControl* Memo = nullptr;  // the multi-line edit window
    bool HasBorder = true;        // the memo's border style is not none
    TRect TextRect{};             // client coordinates
    bool NarrowMargin = false;
    int FIndex = -1;
    TbsSkinData* SkinData = nullptr;
    String SkinDataName = L"memo";
    TBitmap* Picture = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TFont* DefaultFont = nullptr;
    bool UseSkinFont = true;
    bool UseSkinFontColor = true;  // the skin sets the font colour

    // Copies of the record.
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ClRect{}, SkinRect{}, ActiveSkinRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, BGColor = 0, ActiveBGColor = 0;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

void GetMemoSkinData(TbsMemoSkin& M);
void GetFramelessMemoSkinData(TbsMemoSkin& M);
// Each bar follows the window's scroll state: ranged and enabled while there is something to
// scroll, (0, 0, 0, 0) and disabled otherwise; disabled with the memo.
void UpdateMemoScrollBars(TbsMemoSkin& M);
// The text rectangle inside the frame (never negative), sent as EM_SETRECTNP.
void SetMemoTextRect(TbsMemoSkin& M);
void ChangeMemoSkinData(TbsMemoSkin& M);
void ChangeFramelessMemoSkinData(TbsMemoSkin& M);
