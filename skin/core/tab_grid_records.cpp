#include "skin/core/tab_grid_records.h"

void TbsDataSkinTabControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Rect(L"tabrect", TabRect);
    K.Rect(L"activetabrect", ActiveTabRect);
    K.Rect(L"focustabrect", FocusTabRect);
    K.Rect(L"mouseintabrect", MouseInTabRect);
    K.Rect(L"clientrect", ClRect);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Point(L"lefttoppoint", LTPoint);
    K.Point(L"righttoppoint", RTPoint);
    K.Point(L"leftbottompoint", LBPoint);
    K.Point(L"rightbottompoint", RBPoint);
    K.Integer(L"tableftoffset", TabLeftOffset);
    K.Integer(L"tabrightoffset", TabRightOffset);
    K.Rect(L"tabsbgrect", TabsBGRect);
    K.Boolean(L"tabstretcheffect", TabStretchEffect);
    K.Boolean(L"leftstretch", LeftStretch);
    K.Boolean(L"topstretch", TopStretch);
    K.Boolean(L"rightstretch", RightStretch);
    K.Boolean(L"bottomstretch", BottomStretch);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.StretchType(L"stretchtype", StretchType);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"focusfontcolor", FocusFontColor);
    K.Integer(L"mouseinfontcolor", MouseInFontColor);
    K.Text(L"updown", UpDown);
    K.Boolean(L"showfocus", ShowFocus);
    K.Integer(L"focusoffsetx", FocusOffsetX);
    K.Integer(L"focusoffsety", FocusOffsetY);
    K.Rect(L"closebuttonrect", CloseButtonRect);
    K.Rect(L"closebuttonactiverect", CloseButtonActiveRect);
    K.Rect(L"closebuttondownrect", CloseButtonDownRect);
    K.Boolean(L"buttontransparent", ButtonTransparent);
    K.Integer(L"buttontransparentcolor", ButtonTransparentColor);
    K.Rect(L"dividerrect", DividerRect);
    K.Boolean(L"dividertransparent", DividerTransparent);
    K.Integer(L"dividertransparentcolor", DividerTransparentColor);
    K.Rect(L"mdicloserect", MDICloseRect);
    K.Rect(L"mdicloseactiverect", MDICloseActiveRect);
    K.Rect(L"mdiclosedownrect", MDICloseDownRect);
    K.Rect(L"mdirestorerect", MDIRestoreRect);
    K.Rect(L"mdirestoreactiverect", MDIRestoreActiveRect);
    K.Rect(L"mdirestoredownrect", MDIRestoreDownRect);
    K.Rect(L"mdiminrect", MDIMinRect);
    K.Rect(L"mdiminactiverect", MDIMinActiveRect);
    K.Rect(L"mdimindownrect", MDIMinDownRect);
    K.Boolean(L"mdibuttonstransparent", MDIButtonsTransparent);
    K.Integer(L"mdibuttonstransparentcolor", MDIButtonsTransparentColor);
    K.Rect(L"tableftbottomactiverect", TabLeftBottomActiveRect);
    K.Rect(L"tableftbottomfocusrect", TabLeftBottomFocusRect);
}

void TbsDataSkinTabControl::FillCloseButtonRects()
{
    if (CloseButtonActiveRect.IsEmpty()) CloseButtonActiveRect = CloseButtonRect;
    if (CloseButtonDownRect.IsEmpty()) CloseButtonDownRect = CloseButtonActiveRect;
}

void TbsDataSkinGridControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Rect(L"fixedcellrect", FixedCellRect);
    K.Rect(L"selectcellrect", SelectCellRect);
    K.Rect(L"focuscellrect", FocusCellRect);
    K.Integer(L"fixedcellleftoffset", FixedCellLeftOffset);
    K.Integer(L"fixedcellrightoffset", FixedCellRightOffset);
    K.Rect(L"fixedcelltextrect", FixedCellTextRect);
    K.Integer(L"cellleftoffset", CellLeftOffset);
    K.Integer(L"cellrightoffset", CellRightOffset);
    K.Rect(L"celltextrect", CellTextRect);
    K.Integer(L"linescolor", LinesColor);
    K.Integer(L"bgcolor", BGColor);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"selectfontcolor", SelectFontColor);
    K.Integer(L"focusfontcolor", FocusFontColor);
    K.Text(L"fixedfontname", FixedFontName, L"Tahoma");
    K.Integer(L"fixedfontheight", FixedFontHeight, 13);
    K.FontStyle(L"fixedfontstyle", FixedFontStyle);
    K.Integer(L"fixedfontcolor", FixedFontColor);
    K.Boolean(L"cellstretcheffect", CellStretchEffect);
    K.Boolean(L"fixedcellstretcheffect", FixedCellStretchEffect);
    K.Boolean(L"showfocus", ShowFocus);
}
