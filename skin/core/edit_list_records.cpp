#include "skin/core/edit_list_records.h"

void TbsDataSkinEditControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"disabledfontcolor", DisabledFontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Rect(L"buttonrect", ButtonRect);
    K.Rect(L"activebuttonrect", ActiveButtonRect);
    K.Rect(L"downbuttonrect", DownButtonRect);
    K.Rect(L"unenabledbuttonrect", UnEnabledButtonRect);
}

void TbsDataSkinMemoControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinEditControl::DefineKeys(K);
    K.Integer(L"bgcolor", BGColor);
    K.Integer(L"activebgcolor", ActiveBGColor);
}

void TbsDataSkinSpinEditControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"disabledfontcolor", DisabledFontColor);
    ArrowButtonKeys(K, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
                    DownDownButtonRect);
}

void TbsDataSkinListBox::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"itemrect", SItemRect);
    K.Rect(L"activeitemrect", ActiveItemRect);
    K.Rect(L"focusitemrect", FocusItemRect);
    K.Integer(L"itemleftoffset", ItemLeftOffset);
    K.Integer(L"itemrightoffset", ItemRightOffset);
    K.Rect(L"itemtextrect", ItemTextRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"focusfontcolor", FocusFontColor);
    K.Rect(L"captionrect", CaptionRect);
    K.Text(L"captionfontname", CaptionFontName, L"Tahoma");
    K.Integer(L"captionfontheight", CaptionFontHeight, 13);
    K.FontStyle(L"captionfontstyle", CaptionFontStyle);
    K.Integer(L"captionfontcolor", CaptionFontColor);
    ArrowButtonKeys(K, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
                    DownDownButtonRect);
    K.Rect(L"checkbuttonrect", CheckButtonRect);
    K.Rect(L"activecheckbuttonrect", ActiveCheckButtonRect);
    K.Rect(L"downcheckbuttonrect", DownCheckButtonRect);
    K.Text(L"vscrollbarname", VScrollBarName, L"vscrollbar");
    K.Text(L"hscrollbarname", HScrollBarName, L"hscrollbar");
    K.Text(L"bothhscrollbarname", BothScrollBarName, L"bothhscrollbar");
    K.Boolean(L"showfocus", ShowFocus);
    K.Rect(L"disabledbuttonsrect", DisabledButtonsRect);
    K.Rect(L"buttonsarea", ButtonsArea);
}

void TbsDataSkinCheckListBox::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinListBox::DefineKeys(K);
    K.Rect(L"itemcheckrect", ItemCheckRect);
    K.Rect(L"uncheckimagerect", UnCheckImageRect);
    K.Rect(L"checkimagerect", CheckImageRect);
}

void TbsDataSkinComboBox::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Rect(L"itemrect", SItemRect);
    K.Rect(L"activeitemrect", ActiveItemRect);
    K.Rect(L"focusitemrect", FocusItemRect);
    K.Integer(L"itemleftoffset", ItemLeftOffset);
    K.Integer(L"itemrightoffset", ItemRightOffset);
    K.Rect(L"itemtextrect", ItemTextRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"focusfontcolor", FocusFontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Rect(L"buttonrect", ButtonRect);
    K.Rect(L"activebuttonrect", ActiveButtonRect);
    K.Rect(L"downbuttonrect", DownButtonRect);
    K.Rect(L"unenabledbuttonrect", UnEnabledButtonRect);
    K.Text(L"listboxname", ListBoxName);
    K.Boolean(L"itemstretcheffect", ItemStretchEffect);
    K.Boolean(L"focusitemstretcheffect", FocusItemStretchEffect);
    K.Boolean(L"showfocus", ShowFocus);
}
