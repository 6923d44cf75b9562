// TbsSkinButton: the skinned push button, drawn from a "button" record (default name "button")
// or in the built-in look. Its look is decided anew at every paint from enabled, FDownState,
// FDown, FMouseIn, FMouseDown, focus, GroupIndex, the morph factor and the animation frame; the
// mouse, keyboard and focus events below only change those inputs:
//   - hot (mouse over or focused) fades in from normal in five steps of 0.2 every 20 ms while
//     the record morphs and the model's effects are on, and fades back when it ends;
//   - a frame animation plays forward on becoming hot or focused and backward after;
//   - auto-repeat clicks 500 ms + RepeatInterval after the press, then every RepeatInterval;
//   - groups (GroupIndex) keep one button down unless AllowAllUp; CheckedMode toggles;
//   - Default and Cancel answer Enter and Escape as dialog keys; the default button stays hot
//     while a control that is no button has the focus;
//   - a glow picture fades in around the button while the mouse is over it (posted 1424/1425).
// Timers exist only while they run.
#pragma once

#include "platform/framework/forms/timer.h"
#include "skin/controls/skin_button_timers.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/layer_manager.h"
#include "skin/core/text_layout.h"

class TbsSkinButton;
using TbsButtonPaintEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

class TbsSkinButton : public TbsSkinCustomControl {
public:
    explicit TbsSkinButton(TComponent* AOwner);
    ~TbsSkinButton() override;

    // ---- properties ----
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { SetAndInvalidate(FTransparent, Value); }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { SetAndInvalidate(FImageIndex, Value); }
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
    void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowGlowFrame = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsNumGlyphs Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value) { SetAndInvalidate(FSpacing, Value); }
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value) { SetAndInvalidate(FLayout, Value); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TbsSkinImagesMenuBase* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TbsSkinImagesMenuBase* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }

    // The button's own click event (the framework's Click fires TControl::OnClick instead).
    TNotifyEvent OnClick;
    TbsButtonPaintEvent OnPaint;

    // ---- state, read by tests and by the skinned form ----
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorph.Kf; }
    bool Active() const { return FActive; }
    bool Morphing() const { return FMorph.Running(); }
    bool Animating() const { return FAnimation.Running(); }
    bool Repeating() const { return FRepeat.Running(); }
    int AnimationFrame() const { return FAnimation.Frame(); }
    TbsLayerManager* LayerManager() const { return FLayerManager; }

    // No hot or pressed state left over after Enabled or Glyph changed from code.
    void RefreshButton();
    void ShowLayer();
    void HideLayer();
    // A click as if the user clicked.
    virtual void ButtonClick();
    // With an action the action runs through ButtonClick; otherwise the framework's click.
    void Click() override;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void CheckParentBackground() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    // Set by the skinned form on its active button before a fade-in: the next focus starts no
    // animation or morph (and clears it).
    bool FStopAnimate = false;
    // An outside owner forces the pressed look (the ribbon's application button).
    bool FDownState = false;

    // Copied from the record.
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{}, FocusedSkinRect{}, AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    bool FMorphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect{}, MenuMarkerRect{}, MenuMarkerActiveRect{}, MenuMarkerDownRect{};
    TColor MenuMarkerTransparentColor = 0;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;

protected:
    // Draws the whole button into B with the look whose rectangle in the picture is R.
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}  // Paint draws the skin look
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- shared with the menu button ----
    bool EffectsActive() const;
    bool MorphingActive() const;
    bool IsFocused();
    bool AnimationApplies() const;
    // StartMorph when morphing is possible with a record, else Repaint.
    void StartMorphOrRepaint();
    void StartMorph();
    void StopMorph();
    void StartAnimate(bool Forward);
    void StopAnimate();
    void StartRepeat();
    void StopRepeat();
    // The caption font on Cnvs: the record's with UseSkinFont, else DefaultFont; the text table's
    // character set.
    void SetSkinFont(TCanvas* Cnvs);
    // Glyph, image-list or images-menu image with the caption in T.
    void DrawContent(TCanvas* Cnvs, const TRect& T, bool ADown, bool AMouseIn);
    // The dotted focus frame round R when the record shows focus and the button has it.
    void DrawFocusFrame(TCanvas* Cnvs, const TRect& R);
    // The text colour by state, first that applies.
    TColor CaptionColor(bool ADown, bool AMouseIn) const;
    void HandleMouseEnter();
    void HandleMouseLeave();
    void ImagesMenuChanged(TObject*) { Repaint(); }
    // The images menu forgets this button's handlers (reassignment, destruction).
    void UnhookImagesMenu();

    bool FTransparent = false;
    bool FCheckedMode = false;
    bool FStopMouseUp = false;
    bool FAlwaysShowGlowFrame = false;
    TbsLayerManager* FLayerManager = nullptr;
    TbsSkinImagesMenuBase* FSkinImagesMenu = nullptr;
    // The menu button pointed the images menu's close event at itself.
    bool FImagesMenuCloseHooked = false;
    bool FUseImagesMenuImage = false, FUseImagesMenuCaption = false;
    bool FSpaceSupport = true;
    bool FUseSkinFontColor = true, FUseSkinSize = true;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FActive = false;
    bool FAllowAllUp = false, FAllowAllUpCheck = false;
    bool FDefault = false, FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FClicksDisabled = false;
    bool FCanFocused = true, FDown = false, FMouseIn = false, FMouseDown = false;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1, FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    TbsMorphTimer FMorph{this, [this] { MorphTick(); }};
    TbsFrameAnimation FAnimation{this, [this] { return FrameCount; }, [this] { Repaint(); }};
    TbsRepeatClick FRepeat{this, [this] { return FRepeatInterval; }, [this] { ButtonClick(); }};
    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;

private:
    void MorphTick();
    // The stretched variant of CreateButtonImage (UseSkinSize off with a fixed or three-part
    // record).
    void CreateStretchedButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void PaintMorph();
};
