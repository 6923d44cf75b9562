// Skin records of push buttons ("button"), menu buttons ("menubutton") and check and radio boxes
// ("checkradio"): the state looks, caption fonts and colours, morphing, frame animation, drop-down
// markers and glow layer of a button, the marks and text area of a check box.
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{}, FocusedSkinRect{};
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect{}, MenuMarkerRect{}, MenuMarkerActiveRect{}, MenuMarkerDownRect{};
    TColor MenuMarkerTransparentColor = 0;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;
};

class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
public:
    using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect TrackButtonRect{};
};

class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{}, CheckImageRect{}, UnCheckImageRect{};
    TRect ActiveCheckImageRect{}, ActiveUnCheckImageRect{}, UnEnabledCheckImageRect{}, UnEnabledUnCheckImageRect{};
    TRect GrayedCheckImageRect{}, ActiveGrayedCheckImageRect{};
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TColor FrameFontColor = 0;
};

class TBitmap;

// B becomes W x H holding the look Src of R's picture Pic, R's nine-part geometry grown by the
// size difference and its centre drawn; the result is R's client rectangle moved with the size.
TRect ComposeButtonLook(const TbsDataSkinButtonControl& R, TBitmap* Pic, const TRect& Src, int W, int H, TBitmap* B);
