#include "skin/core/panel_records.h"

void TbsDataSkinPanelControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Rect(L"captionrect", CaptionRect);
    K.Alignment(L"alignment", Alignment);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Rect(L"checkimagerect", CheckImageRect);
    K.Rect(L"uncheckimagerect", UnCheckImageRect);
    K.Rect(L"markframerect", MarkFrameRect);
    K.Rect(L"framerect", FrameRect);
    K.Rect(L"frametextrect", FrameTextRect);
    K.Integer(L"frameleftoffset", FrameLeftOffset);
    K.Integer(L"framerightoffset", FrameRightOffset);
    K.Rect(L"gripperrect", GripperRect);
    K.Boolean(L"grippertransparent", GripperTransparent);
    K.Integer(L"grippertransparentcolor", GripperTransparentColor);
    K.Rect(L"buttonrect", ButtonRect);
    K.Rect(L"buttonactiverect", ButtonActiveRect);
    K.Rect(L"buttondownrect", ButtonDownRect);
    K.Boolean(L"buttontransparent", ButtonTransparent);
    K.Integer(L"buttontransparentcolor", ButtonTransparentColor);
}

void TbsDataSkinExPanelControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"rollhskinrect", RollHSkinRect);
    K.Rect(L"rollvskinrect", RollVSkinRect);
    K.Integer(L"rollleftoffset", RollLeftOffset);
    K.Integer(L"rollrightoffset", RollRightOffset);
    K.Integer(L"rolltopoffset", RollTopOffset);
    K.Integer(L"rollbottomoffset", RollBottomOffset);
    K.Rect(L"rollvcaptionrect", RollVCaptionRect);
    K.Rect(L"rollhcaptionrect", RollHCaptionRect);
    K.Rect(L"closebuttonrect", CloseButtonRect);
    K.Rect(L"closebuttonactiverect", CloseButtonActiveRect);
    K.Rect(L"closebuttondownrect", CloseButtonDownRect);
    K.Rect(L"hrollbuttonrect", HRollButtonRect);
    K.Rect(L"hrollbuttonactiverect", HRollButtonActiveRect);
    K.Rect(L"hrollbuttondownrect", HRollButtonDownRect);
    K.Rect(L"hrestorebuttonrect", HRestoreButtonRect);
    K.Rect(L"hrestorebuttonactiverect", HRestoreButtonActiveRect);
    K.Rect(L"hrestorebuttondownrect", HRestoreButtonDownRect);
    K.Rect(L"vrollbuttonrect", VRollButtonRect);
    K.Rect(L"vrollbuttonactiverect", VRollButtonActiveRect);
    K.Rect(L"vrollbuttondownrect", VRollButtonDownRect);
    K.Rect(L"vrestorebuttonrect", VRestoreButtonRect);
    K.Rect(L"vrestorebuttonactiverect", VRestoreButtonActiveRect);
    K.Rect(L"vrestorebuttondownrect", VRestoreButtonDownRect);
    K.Rect(L"captionrect", CaptionRect);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Boolean(L"buttonstransparent", ButtonsTransparent);
    K.Integer(L"buttonstransparentcolor", ButtonsTransparentColor);
}

void TbsDataSkinLabelControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
}

void TbsDataSkinStdLabelControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor, 0xFF0000);
}

void TbsDataSkinBevel::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Integer(L"lightcolor", LightColor);
    K.Integer(L"darkcolor", DarkColor);
}

void TbsDataSkinSplitterControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"gripperrect", GripperRect);
    K.Boolean(L"grippertransparent", GripperTransparent);
    K.Integer(L"grippertransparentcolor", GripperTransparentColor);
}

void TbsDataSkinScrollBoxControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
}
