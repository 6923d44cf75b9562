// TbsSkinSpeedButton: the skinned speed button, a windowless button that never takes the focus,
// drawn from a button record (default "toolbutton") or in the built-in look. Its look is decided
// at every paint, the first that applies:
//   - a morph between the normal and the hot look in progress (factor neither 0 nor 1);
//   - pressed: the menu of a menu button open, or down while the mouse is over it (a plain
//     button), or down at all (grouped or checked);
//   - hot: the mouse over it, or a morph that reached the hot look;
//   - transparent (flat at rest): only caption and image, on whatever lies behind;
//   - normal, or disabled.
// Flat buttons are transparent at rest and opaque while hot or down; they never morph or animate.
// Down buttons of one GroupIndex release each other unless AllowAllUp; CheckedMode toggles with a
// click on each change. RepeatMode clicks 500 ms + RepeatInterval after the press and every
// RepeatInterval after, while the mouse stays over it. Its timers exist only while they run.
#pragma once

#include "platform/framework/forms/timer.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_button_timers.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/controls/skin_tool_bar_item.h"
#include "skin/core/text_layout.h"

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl, public TbsToolBarItem {
public:
    explicit TbsSkinSpeedButton(TComponent* AOwner);
    ~TbsSkinSpeedButton() override;

    // ---- properties ----
    bool CheckedMode() const { return FCheckedMode; }
    // On: GroupIndex -1; off: GroupIndex 0 again.
    void SetCheckedMode(bool Value);
    TCustomImageList* ImageList() const { return FButtonImages; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    // True while the control style lacks csOpaque.
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool Value);
    bool Flat() const { return FFlat; }
    // Also Transparent, to the same value.
    void SetFlat(bool Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsNumGlyphs Value);
    int Margin() const { return FMargin; }
    // Values below -1 are ignored.
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);

    TbsButtonPaintEvent OnPaint;

    // ---- state, read by tests ----
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorph.Kf; }
    bool Morphing() const { return FMorph.Running(); }
    bool Animating() const { return FAnimation.Running(); }
    bool Repeating() const { return FRepeat.Running(); }
    int AnimationFrame() const { return FAnimation.Frame(); }

    // No hot or pressed look left over (called before the button is enabled or disabled).
    void RefreshButton();
    // The click: the action's or OnClick.
    virtual void ButtonClick();
    // Transparent without a repaint (the hover and press logic of flat buttons).
    virtual void SetTransparentNoRepaint(bool Value);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    // The tool bar's hand-down.
    void ToolBarSkinData(TbsSkinData* Value) override { SetSkinData(Value); }
    void ToolBarFlat(bool Value) override { SetFlat(Value); }
    void ToolBarShowCaption(bool Value) override { SetShowCaption(Value); }
    void ToolBarImagesChanged() override { Invalidate(); }

    // Copied from the record.
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{}, AnimateSkinRect{};
    bool FMorphing = false;
    TbsMorphKind MorphKind = mkDefault;
    int FrameCount = 0, AnimateInterval = 0;
    TRect MenuMarkerRect{}, MenuMarkerActiveRect{}, MenuMarkerDownRect{}, MenuMarkerFlatRect{};
    TColor MenuMarkerTransparentColor = 0;

protected:
    // Draws the whole button into B with the look whose rectangle in the picture is R.
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}  // Paint composes through CreateButtonImage
    void Paint() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- shared with the menu speed button ----
    bool EffectsActive() const;
    bool MorphingActive() const;
    // The mouse entered or left (also from a drag off and back while held).
    virtual void MouseEntered();
    virtual void MouseLeft();
    // Frame animation (forward towards the hot look) and morph, each only where it applies.
    bool AnimationApplies() const;
    void StartAnimate(bool Forward);
    void StopAnimate();
    void StartMorph();
    void StopMorph();
    void StopRepeat();
    // The caption shown: Caption, or nothing without ShowCaption.
    String ShownCaption() const;
    // The font of the skin look on Cnvs (the record's with UseSkinFont, else DefaultFont) and the
    // character set of the text table.
    void SetSkinFont(TCanvas* Cnvs);
    // Glyph, image-list, tool-bar or images-menu image with the caption in T.
    void DrawContent(TCanvas* Cnvs, const TRect& T, bool ADown, bool AMouseIn, bool AllowHotList = true);
    // The transparent idle look: caption and image straight onto the canvas, in T.
    void DrawTransparent(const TRect& T);
    // Frame and fill of the built-in look in R.
    static void DrawDefaultFace(TCanvas* Cnvs, const TRect& R, TColor Frame, TColor Fill);
    // The marker picture (down, active, flat or plain) centred in M.
    void DrawMenuMarker(TCanvas* Cnvs, const TRect& M, bool ADown, bool AActive, bool AFlat);
    void UnhookImagesMenu();
    void ImagesMenuChanged(TObject*) { Invalidate(); }

    bool FStopDraw = false;
    bool FCheckedMode = false;
    bool FStopMouseUp = false;
    bool FMenuTracked = false;
    TbsSkinImagesMenuBase* FSkinImagesMenu = nullptr;
    // The menu speed button pointed the images menu's close event at itself.
    bool FImagesMenuCloseHooked = false;
    bool FUseImagesMenuImage = false, FUseImagesMenuCaption = false;
    bool FDrawColorMarker = false;
    TColor FColorMarkerValue = 0;
    bool FUseSkinSize = true, FUseSkinFontColor = true;
    TCustomImageList* FButtonImages = nullptr;
    int FImageIndex = 0;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FFlat = false, FAllowAllUp = false, FAllowAllUpCheck = false;
    bool FDown = false, FMouseIn = false, FMouseDown = false;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1, FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    TbsMorphTimer FMorph{this, [this] { MorphTick(); }};
    TbsFrameAnimation FAnimation{this, [this] { return FrameCount; }, [this] { Repaint(); }};
    TbsRepeatClick FRepeat{this, [this] { return FRepeatInterval; }, [this] { ButtonClick(); }};
    bool FShowCaption = true;
    int FWidthWithCaption = 0, FWidthWithoutCaption = 0;

    // The images menu's writer, published by the menu speed button.
    void SetSkinImagesMenu(TbsSkinImagesMenuBase* Value);

private:
    void MorphTick();
    void StartRepeat();
    // Repaints after the mouse came or went: through the morph where it runs.
    void UpdateLook();
    void PaintMorph();
};
