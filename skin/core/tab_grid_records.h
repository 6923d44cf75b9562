// Skin records of controls made of many cells: tabs of page controls, tab bars and the MDI tab bar
// ("tab"), with their own copy of the page frame's resizable geometry, and grids ("grid").
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinTabControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    // The one change its readers make to a record: an empty CloseButtonActiveRect takes
    // CloseButtonRect, then an empty CloseButtonDownRect takes CloseButtonActiveRect. A skin saved
    // afterwards carries the filled values.
    void FillCloseButtonRects();

    TRect TabRect{}, ActiveTabRect{}, FocusTabRect{}, MouseInTabRect{}, ClRect{}, TabsBGRect{};
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    int TabLeftOffset = 0, TabRightOffset = 0;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    String UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    TRect CloseButtonRect{}, CloseButtonActiveRect{}, CloseButtonDownRect{};
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0xFF00FF;
    TRect DividerRect{};
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0xFF00FF;
    TRect TabLeftBottomActiveRect{}, TabLeftBottomFocusRect{};
    TRect MDICloseRect{}, MDICloseActiveRect{}, MDICloseDownRect{};
    TRect MDIRestoreRect{}, MDIRestoreActiveRect{}, MDIRestoreDownRect{};
    TRect MDIMinRect{}, MDIMinActiveRect{}, MDIMinDownRect{};
    bool MDIButtonsTransparent = false;
    TColor MDIButtonsTransparentColor = 0;
};

class TbsDataSkinGridControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect FixedCellRect{}, SelectCellRect{}, FocusCellRect{};
    int FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
    TRect FixedCellTextRect{};
    int CellLeftOffset = 0, CellRightOffset = 0;
    TRect CellTextRect{};
    TColor LinesColor = 0, BGColor = 0;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, SelectFontColor = 0, FocusFontColor = 0;
    String FixedFontName = L"Tahoma";
    TFontStyles FixedFontStyle;
    int FixedFontHeight = 13;
    TColor FixedFontColor = 0;
    bool FixedCellStretchEffect = false, CellStretchEffect = false, ShowFocus = false;
    int BGPictureIndex = -1;
};
