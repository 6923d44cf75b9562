#include "skin/core/view_menu_records.h"

void TbsDataSkinTreeView::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"bgcolor", BGColor);
    K.Rect(L"expandimagerect", ExpandImageRect);
    K.Rect(L"noexpandimagerect", NoExpandImageRect);
}

void TbsDataSkinListView::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"bgcolor", BGColor);
}

void TbsDataSkinRichEdit::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"bgcolor", BGColor);
}

void TbsDataSkinMainMenuBar::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Rect(L"itemsrect", ItemsRect);
    K.Text(L"menubaritem", MenuBarItem);
    K.Text(L"closebutton", CloseButton);
    K.Text(L"minbutton", MinButton);
    K.Text(L"maxbutton", MaxButton);
    K.Text(L"sysmenubutton", SysMenuButton);
    K.Integer(L"trackmarkcolor", TrackMarkColor);
    K.Integer(L"trackmarkactivecolor", TrackMarkActiveColor);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.Boolean(L"itemtransparent", ItemTransparent);
}

void TbsDataSkinControlBar::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"itemrect", ItemRect);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Rect(L"hgriprect", HGripRect);
    K.Rect(L"vgriprect", VGripRect);
    K.Integer(L"gripoffset1", GripOffset1);
    K.Integer(L"gripoffset2", GripOffset2);
    K.Integer(L"itemoffset1", ItemOffset1, 3);
    K.Integer(L"itemoffset2", ItemOffset2, 3);
    K.Boolean(L"itemstretcheffect", ItemStretchEffect);
    K.Boolean(L"itemtransparent", ItemTransparent);
    K.Integer(L"itemtransparentcolor", ItemTransparentColor);
    K.Boolean(L"griptransparent", GripTransparent);
    K.Integer(L"griptransparentcolor", GripTransparentColor);
}

void TbsDataSkinAppMenu::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Boolean(L"bgstretcheffect", BGStretchEffect);
    K.Integer(L"bgpagepictureindex", BGPagePictureIndex, -1);
    K.Boolean(L"bgpagestretcheffect", BGPageStretchEffect);
    K.Rect(L"itemrect", ItemRect);
    K.Rect(L"pageitemrect", PageItemRect);
    K.Rect(L"pageitemactiverect", PageItemActiveRect);
    K.Integer(L"itemoffset1", ItemOffset1, 3);
    K.Integer(L"itemoffset2", ItemOffset2, 3);
    K.Integer(L"pageitemoffset1", PageItemOffset1, 10);
    K.Integer(L"pageitemoffset2", PageItemOffset2, 10);
    K.Integer(L"pageoffset", PageOffset);
    K.Text(L"fontname", FontName, L"Tahoma");
    K.Integer(L"fontheight", FontHeight, 13);
    K.Integer(L"fontpageheight", FontPageHeight, 16);
    K.FontStyle(L"fontstyle", FontStyle);
    K.Integer(L"fontcolor", FontColor);
    K.Integer(L"disabledfontcolor", DisabledFontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"fontpagecolor", FontPageColor);
    K.Integer(L"activefontpagecolor", ActiveFontPageColor);
    K.Rect(L"gripperrect", GripperRect);
    K.Integer(L"grippertransparentcolor", GripperTransparentColor);
    K.Rect(L"toplinerect", TopLineRect);
    K.Integer(L"toplineoffset1", TopLineOffset1);
    K.Integer(L"toplineoffset2", TopLineOffset2);
    K.Rect(L"backbuttonrect", BackButtonRect);
    K.Rect(L"backbuttonactiverect", BackButtonActiveRect);
    K.Rect(L"captionrect", CaptionRect);
    K.Integer(L"captionleftoffset", CaptionLeftOffset);
    K.Integer(L"captiontopoffset", CaptionTopOffset);
}
