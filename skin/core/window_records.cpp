#include "skin/core/window_records.h"

namespace {

const wchar_t* const kPopupSection = L"POPUPWINDOW";
const wchar_t* const kHintSection = L"HINTWINDOW";
const wchar_t* const kLayerSection = L"LAYERFRAME";
const wchar_t* const kColorsSection = L"SKINCOLORS";

void CornerKeys(TbsSkinKeys& K, TPoint& LT, TPoint& RT, TPoint& LB, TPoint& RB)
{
    K.Point(L"lefttoppoint", LT);
    K.Point(L"righttoppoint", RT);
    K.Point(L"leftbottompoint", LB);
    K.Point(L"rightbottompoint", RB);
}

void StretchKeys(TbsSkinKeys& K, bool& Left, bool& Right, bool& Top, bool& Bottom, bool& Effect, TbsStretchType& Type)
{
    K.Boolean(L"leftstretch", Left);
    K.Boolean(L"rightstretch", Right);
    K.Boolean(L"topstretch", Top);
    K.Boolean(L"bottomstretch", Bottom);
    K.Boolean(L"stretcheffect", Effect);
    K.StretchType(L"stretchtype", Type);
}

template <class R>
void LoadSection(R& record, TCustomIniFile* IniFile, const wchar_t* section)
{
    TbsSkinKeys keys;
    record.DefineKeys(keys);
    keys.Load(IniFile, section);
}

template <class R>
void SaveSection(R& record, TCustomIniFile* IniFile, const wchar_t* section, bool erase)
{
    if (erase) IniFile->EraseSection(section);
    TbsSkinKeys keys;
    record.DefineKeys(keys);
    keys.Save(IniFile, section);
}

}  // namespace

// ---- popup window ----------------------------------------------------------------------------

void TbsDataSkinPopupWindow::DefineKeys(TbsSkinKeys& K)
{
    K.Integer(L"windowpictureindex", WindowPictureIndex, -1);
    K.Integer(L"maskpictureindex", MaskPictureIndex, -1);
    CornerKeys(K, LTPoint, RTPoint, LBPoint, RBPoint);
    K.Rect(L"itemsrect", ItemsRect);
    K.Integer(L"scrollmarkercolor", ScrollMarkerColor);
    K.Integer(L"scrollmarkeractivecolor", ScrollMarkerActiveColor);
    StretchKeys(K, LeftStretch, RightStretch, TopStretch, BottomStretch, StretchEffect, StretchType);
}

void TbsDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) { LoadSection(*this, IniFile, kPopupSection); }
void TbsDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) { SaveSection(*this, IniFile, kPopupSection, true); }

// ---- hint window -----------------------------------------------------------------------------

void TbsDataSkinHintWindow::DefineKeys(TbsSkinKeys& K)
{
    K.Integer(L"windowpictureindex", WindowPictureIndex, -1);
    K.Integer(L"maskpictureindex", MaskPictureIndex, -1);
    CornerKeys(K, LTPoint, RTPoint, LBPoint, RBPoint);
    K.Rect(L"clientrect", ClRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    StretchKeys(K, LeftStretch, RightStretch, TopStretch, BottomStretch, StretchEffect, StretchType);
}

void TbsDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) { LoadSection(*this, IniFile, kHintSection); }
void TbsDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) { SaveSection(*this, IniFile, kHintSection, true); }

// ---- layer frame -----------------------------------------------------------------------------

void TbsDataSkinLayerFrame::DefineKeys(TbsSkinKeys& K)
{
    K.Integer(L"pictureindex", PictureIndex, -1);
    K.Integer(L"maskpictureindex", MaskPictureIndex, -1);
    K.Integer(L"inactivepictureindex", InActivePictureIndex, -1);
    K.Integer(L"inactivemaskpictureindex", InActiveMaskPictureIndex, -1);
    CornerKeys(K, LTPoint, RTPoint, LBPoint, RBPoint);
    K.Rect(L"clientrect", ClRect);
    K.Integer(L"alphablendvalue", AlphaBlendValue, 255);
    K.Integer(L"inactivealphablendvalue", InActiveAlphaBlendValue, 255);
    K.Rect(L"borderrect", BorderRect);
    K.Boolean(L"hittestenable", HitTestEnable);
    K.Boolean(L"fullborder", FullBorder);
    K.Integer(L"hittestsize", HitTestSize);
    K.Rect(L"captionrect", CaptionRect);
    K.Point(L"hittestlefttoppoint", HitTestLTPoint);
    K.Point(L"hittestrighttoppoint", HitTestRTPoint);
    K.Point(L"hittestleftbottompoint", HitTestLBPoint);
    K.Point(L"hittestrightbottompoint", HitTestRBPoint);
    K.Rect(L"buttonsrect", ButtonsRect);
    K.Rect(L"sysmenubuttonrect", SysMenuButtonRect);
    K.Boolean(L"fullstretch", FullStretch);
    K.Integer(L"rollupformheight", RollUpFormHeight);
    K.Integer(L"buttonstopoffset", ButtonsTopOffset);
    K.Integer(L"sysbuttontopoffset", SysButtonTopOffset);
    K.Integer(L"blurmaskpictureindex", BlurMaskPictureIndex, -1);
    K.Rect(L"intersectblurmaskrect", IntersectBlurMaskRect);
    K.Rect(L"excludeblurmaskrect", ExcludeBlurMaskRect);
    K.Integer(L"leftoffset", LeftOffset);
    K.Integer(L"topoffset", TopOffset);
    K.Integer(L"widthoffset", WidthOffset);
    K.Integer(L"heightoffset", HeightOffset);
}

void TbsDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) { LoadSection(*this, IniFile, kLayerSection); }
void TbsDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) { SaveSection(*this, IniFile, kLayerSection, true); }

// ---- skin colours ----------------------------------------------------------------------------

void TbsSkinColors::DefineKeys(TbsSkinKeys& K)
{
    K.Integer(L"cbtnface", FcBtnFace, clBtnFace);
    K.Integer(L"cbtntext", FcBtnText, clBtnText);
    K.Integer(L"cwindow", FcWindow, clWindow);
    K.Integer(L"cwindowtext", FcWindowText, clWindowText);
    K.Integer(L"chighlight", FcHighLight, clHighlight);
    K.Integer(L"chighlighttext", FcHighLightText, clHighlightText);
    K.Integer(L"cbtnhighlight", FcBtnHighLight, clBtnHighlight);
    K.Integer(L"cbtnshadow", FcBtnShadow, clBtnShadow);
}

void TbsSkinColors::LoadFromFile(TCustomIniFile* IniFile) { LoadSection(*this, IniFile, kColorsSection); }
void TbsSkinColors::SaveToFile(TCustomIniFile* IniFile) { SaveSection(*this, IniFile, kColorsSection, false); }

void TbsSkinColors::SetColorsToDefault()
{
    FcBtnFace = clBtnFace;
    FcBtnText = clBtnText;
    FcWindow = clWindow;
    FcWindowText = clWindowText;
    FcHighLight = clHighlight;
    FcHighLightText = clHighlightText;
    FcBtnHighLight = clBtnHighlight;
    FcBtnShadow = clBtnShadow;
}
