// TbsSkinCaptionObject: the caption band of a skinned form - its background (normal or active
// caption picture, animated or morphed on activation changes), the form's caption text in the
// skin's font, and the quick buttons at its left end. The form sets Active from its activation,
// steps CurrentFrame on its animate timer and releases the quick button whose menu closed.
#pragma once

#include "skin/form/frame_objects.h"

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The skin animates the caption on activation changes.
    bool EnableAnimation();
    // The frame around the caption repainted (or the layered border's look).
    void RedrawCaption();
    // Releases the quick button whose popup menu closed.
    void ReleasePopupQuickButton();

    int ActiveQuickButton = -1;
    int OldActiveQuickButton = -1;
    int MouseCaptureQuickButton = -1;
    int PopupMenuQuickButton = -1;
    bool FDown = false;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct{};
    bool StretchEffect = false;
    int FIncTime = 0;
    TRect AnimateSkinRect{};
    int FrameCount = 0;
    int AnimateInterval = 0;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    // The caption's text rectangle, relative to ObjectRect's top-left.
    TRect TextRect();
};
