// TbsSkinCaptionObject: the caption band of a skinned form - its background (normal or active
// caption picture with unscaled end caps, frame-animated or morphed on activation changes), the
// form's caption text in the skin's font with its light, shadow, text frame, glow or reflection,
// and the quick buttons at its left end (hovered, pressed and clicked here; drawn with faces from
// the skin's "officequickbutton" or "resizetoolbutton" record). The form sets Active from its
// activation, steps CurrentFrame on its animate timer and releases the quick button whose menu
// closed.
//
// On an ordinary frame the caption draws with Draw; on a full-border layered frame with DrawAlpha
// into the border's 32-bit top image, where every piece of text and every quick button keeps the
// alpha of the image under it. The quick buttons and the application's OnCaptionPaint always go on
// top of a background the caption composed itself.
#pragma once

#include <functional>

#include "skin/form/frame_objects.h"

class TbsQuickButtonItem;
class TbsDataSkinButtonControl;

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The skin animates the caption on activation changes.
    bool EnableAnimation();
    // Hover of the quick buttons for a point (window coordinates), their hint with it.
    void TrackQuickButtons(int X, int Y);
    // The frame around the caption repainted (or the layered border's look).
    void RedrawCaption();
    // Opens a quick button's menu below R (window coordinates).
    void PopupQuickButtonMenu(const TRect& R, TPopupMenu* Menu);
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
    TColor ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct{};
    TRect FrameRect{}, ActiveFrameRect{};
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect{};
    bool StretchEffect = false;
    bool FullFrame = false;
    int FIncTime = 0;
    TRect AnimateSkinRect{};
    int FrameCount = 0;
    int AnimateInterval = 0;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false, VistaGlowInActiveEffect = false;
    bool GlowEffect = false, GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    int ReflectionOffset = 0;
    TRect DividerRect{}, InActiveDividerRect{};
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    int QuickButtonAlphaMaskPictureIndex = -1;

private:
    // The caption's text rectangle on the ordinary frame, relative to ObjectRect's top-left.
    TRect TextRect();
    // The form has quick buttons and an image list to draw them from.
    bool HasQuickButtons() const;
    // The text the caption shows (an MDI parent adds its maximized child's caption).
    String CaptionText() const;
    // The canvas font for the caption, in Color.
    void SetCaptionFont(TCanvas* C, TColor Color);
    // The caption text in T (relative to the origin OX, OY on C) with the looks of the active
    // (A) or inactive state; Layered: the layered frame's variant (no text frame, no empty-
    // TextRct rule, effects whatever the inactive switches say, each piece keeping the alpha of
    // Image under it).
    void DrawCaptionText(TCanvas* C, int OX, int OY, bool A, TRect T, bool Layered, TbsBitmap* Image);
    // The text frame image behind text of width W at (X, Y) (text position on C).
    void DrawTextFrame(TCanvas* C, int OX, int X, int Y, int W, bool A);
    // B becomes the caption background of ObjectRect's size from S of Src, caps unscaled.
    void MakeBackground(TBitmap* B, TBitmap* Src, const TRect& S);
    // Frame N (from 1) of the animation strip.
    TRect AnimationFrame(int N) const;
    // A background with its text, as the composed looks use it.
    void MakeLook(TBitmap* B, TBitmap* Src, const TRect& S, bool A, const TRect& T);
    // The skin's inactive effect on a composed look, when the form renders its inactive look.
    void ApplyInActiveEffect(TBitmap* B);
    // The quick buttons on the ordinary frame, and one item.
    void DrawQuickButtons(TCanvas* C);
    void DrawQuickButton(TCanvas* C, TbsQuickButtonItem* Item);
    // The skin's record of the quick buttons' faces: "officequickbutton", else "resizetoolbutton".
    TbsDataSkinButtonControl* QuickButtonRecord() const;
    // The hovered or pressed face of an item, sized to its rectangle; false without a record.
    bool MakeQuickButtonFace(TBitmap* Face, TbsQuickButtonItem* Item);
    // The quick buttons on the layered frame's top image, starting at X.
    void DrawAlphaQuickButtons(TCanvas* C, TbsBitmap* Image, int X);
    void DrawAlphaQuickButtonImage(TbsBitmap* Image, TbsQuickButtonItem* Item);
    // The divider's source for the active or inactive look.
    TRect DividerSource(bool A) const;
};

// Paints twice inside Area of the layered image Image so that the image keeps its alpha there:
// once in white (OnMask true) on a mask holding the image's alpha as grey, once in colour on an
// opaque copy of the area; the mask becomes the copy's alpha and the copy goes back. Paint draws
// in Image's coordinates shifted by -Area's top-left (its canvas origin is Area's corner).
void DrawKeepingAlpha(TbsBitmap* Image, TRect Area, const std::function<void(TCanvas* C, bool OnMask)>& Paint);
// Paints on the layered image inside Area and gives every pixel there its alpha back.
void DrawKeepingAlphaOf(TbsBitmap* Image, TRect Area, const std::function<void(TCanvas* C)>& Paint);
