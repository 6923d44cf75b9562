#include "skin/core/button_records.h"

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_image.h"

void TbsDataSkinButtonControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"downfontcolor", DownFontColor);
    K.Integer(L"disabledfontcolor", DisabledFontColor);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Rect(L"downskinrect", DownSkinRect);
    K.Rect(L"focusedskinrect", FocusedSkinRect);
    K.Rect(L"disabledskinrect", DisabledSkinRect);
    K.Boolean(L"morphing", Morphing);
    K.MorphKind(L"morphkind", MorphKind);
    K.Rect(L"animateskinrect", AnimateSkinRect);
    K.Integer(L"framecount", FrameCount);
    K.Integer(L"animateinterval", AnimateInterval, 25);
    K.Boolean(L"showfocus", ShowFocus);
    K.Rect(L"menumarkerflatrect", MenuMarkerFlatRect);
    K.Rect(L"menumarkerrect", MenuMarkerRect);
    K.Rect(L"menumarkeractiverect", MenuMarkerActiveRect);
    K.Rect(L"menumarkerdownrect", MenuMarkerDownRect);
    K.Integer(L"menumarkertransparentcolor", MenuMarkerTransparentColor);
    K.Integer(L"glowlayerpictureindex", GlowLayerPictureIndex, -1);
    K.Integer(L"glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    K.Integer(L"glowlayeroffsetleft", GlowLayerOffsetLeft);
    K.Integer(L"glowlayeroffsetright", GlowLayerOffsetRight);
    K.Integer(L"glowlayeroffsettop", GlowLayerOffsetTop);
    K.Integer(L"glowlayeroffsetbottom", GlowLayerOffsetBottom);
    K.Integer(L"glowlayershowoffsetx", GlowLayerShowOffsetX);
    K.Integer(L"glowlayershowoffsety", GlowLayerShowOffsetY);
    K.Integer(L"glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TbsDataSkinMenuButtonControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinButtonControl::DefineKeys(K);
    K.Rect(L"trackbuttonrect", TrackButtonRect);
}

void TbsDataSkinCheckRadioControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"framefontcolor", FrameFontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"unenabledfontcolor", UnEnabledFontColor);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Rect(L"checkimagearea", CheckImageArea);
    K.Rect(L"textarea", TextArea);
    K.Rect(L"checkimagerect", CheckImageRect);
    K.Rect(L"uncheckimagerect", UnCheckImageRect);
    K.Rect(L"activecheckimagerect", ActiveCheckImageRect);
    K.Rect(L"activeuncheckimagerect", ActiveUnCheckImageRect);
    K.Rect(L"unenabledcheckimagerect", UnEnabledCheckImageRect);
    K.Rect(L"unenableduncheckimagerect", UnEnabledUnCheckImageRect);
    K.Rect(L"grayedcheckimagerect", GrayedCheckImageRect);
    K.Rect(L"activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
    K.Boolean(L"morphing", Morphing);
    K.MorphKind(L"morphkind", MorphKind);
}

TRect ComposeButtonLook(const TbsDataSkinButtonControl& R, TBitmap* Pic, const TRect& Src, int W, int H, TBitmap* B)
{
    const int dw = W - R.SkinRect.Width(), dh = H - R.SkinRect.Height();
    const TRect cl = Rect(R.ClRect.Left, R.ClRect.Top, R.ClRect.Right + dw, R.ClRect.Bottom + dh);
    B->SetSize(W, H);
    CreateSkinImage(R.LTPoint, R.RTPoint, R.LBPoint, R.RBPoint, R.ClRect, R.LTPoint,
                    Point(R.RTPoint.X + dw, R.RTPoint.Y), Point(R.LBPoint.X, R.LBPoint.Y + dh),
                    Point(R.RBPoint.X + dw, R.RBPoint.Y + dh), cl, B, Pic, Src, W, H, true, R.LeftStretch, R.TopStretch,
                    R.RightStretch, R.BottomStretch, R.StretchEffect, R.StretchType);
    return cl;
}
