// TbsSkinPanel: the skinned container, drawn from a "panel" record (default name "panel") or in
// a built-in look. On top of the skinned frame and background: a caption strip (CaptionMode)
// with text, a glyph or an image-list image, a check image (CheckedMode, which can enable and
// disable the children) and a roll-up marker (RollUpMode, which collapses the panel to its
// caption); a transparent mode that shows the parent's background (a group frame with a
// caption); and a background picture from the skin's picture list. Base of the paint panel, the
// group box, the tool bar and the status bar.
//
// skin_panel.cpp holds the control (client rectangle, the choice of look, caption clicks,
// checked mode, roll-up); skin_panel_images.cpp the images it composes.
#pragma once

#include "skin/controls/skin_control.h"

enum TbsImagePosition { bsipDefault, bsipLeft };
enum TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
using TbsSkinPanelNumGlyphs = int;  // 1 or 2 frames: up, disabled

class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(TComponent* AOwner);
    ~TbsSkinPanel() override;

    // ---- properties ----
    bool EmptyDrawing() const { return FEmptyDrawing; }
    void SetEmptyDrawing(bool Value) { FEmptyDrawing = Value; }
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool Value) { SetAndInvalidate(FRibbonStyle, Value); }
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition Value) { SetAndInvalidate(FImagePosition, Value); }
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool Value);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* Value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int Value) { SetAndInvalidate(FCaptionImageIndex, Value); }
    // The expanded height while rolled up, -1 otherwise.
    int RealHeight() const { return FRealHeight; }
    void SetRealHeight(int Value) { FRealHeight = Value; }
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Checked() const { return FChecked; }
    // Runs on every write: repaints in checked mode, enables the children, fires OnChecked.
    void SetChecked(bool Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool Value);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(TBitmap* Value);
    TbsSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsSkinPanelNumGlyphs Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // The panel as it would paint itself, drawn on C at (X, Y).
    void PaintskinTo(TCanvas* C, int X, int Y);
    // (0, 0, Width, Height) through AdjustClientRect: where children and the paint event go.
    TRect GetSkinClientRect();
    // Collapses to the caption or restores the height.
    void DoRollUp(bool ARollUp);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Copied from the record (CaptionRect in the control skin's coordinates, the rest in the
    // picture's).
    TRect CaptionRect{};
    TAlignment Alignment = taCenter;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    int BGPictureIndex = -1;
    TRect CheckImageRect{}, UnCheckImageRect{}, MarkFrameRect{}, FrameRect{};
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect{};
    // The caption rectangle in control coordinates at the current size.
    TRect NewCaptionRect{};

protected:
    // Paints the client content after the transparent looks; the paint panel fires its event.
    virtual void DoPanelPaint(TCanvas*) {}
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

    // The images of skin_panel_images.cpp.
    void CreateResizedCaptionImage(TBitmap* B);
    void CreateGroupFrameImage(TBitmap* B);
    void DrawSkinCaption(TCanvas* C);
    // The record's font (with UseSkinFont) or DefaultFont, with the text table's charset.
    void SetSkinFont(TCanvas* C);
    // A piece of Picture drawn with its automatic transparent colour.
    void DrawPicturePiece(TCanvas* C, int X, int Y, const TRect& Src);
    // The caption image (list image when Glyph is empty and the index is valid, else the glyph)
    // and its size; false for none.
    bool CaptionImageSize(int& W, int& H) const;
    void DrawCaptionImage(TCanvas* C, int X, int Y);
    // The strip a caption click hits.
    TRect CaptionClickRect();

    bool FEmptyDrawing = false, FRibbonStyle = false;
    TbsImagePosition FImagePosition = bsipDefault;
    bool FTransparentMode = false;
    TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
    int FRealHeight = -1;
    bool FAutoEnabledControls = true, FCheckedMode = false, FChecked = false;
    TAlignment FDefaultAlignment = taLeftJustify;
    int FDefaultCaptionHeight = 20;
    TbsSkinBorderStyle FBorderStyle = bvFrame;
    bool FCaptionMode = false, FRollUpMode = false, FRollUpState = false;
    TBitmap FGlyph;
    TbsSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    bool FUseSkinSize = true;
    bool FInChangingRollUp = false;
    int FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;

private:
    void PaintClientPiece();
    void PaintBackgroundPicture(TBitmap* BG);
    void ParentBackgroundChanged();
    // Alignment was disabled by a roll-up (a re-roll for a new skin must not disable it twice).
    bool FAlignOffByRollUp = false;
};
