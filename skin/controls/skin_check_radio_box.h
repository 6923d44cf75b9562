// TbsSkinCheckRadioBox: one windowed control that is a check box or, with Radio, a radio
// button. Three states (unchecked, checked and, for check boxes that allow it, grayed), groups
// of boxes on one parent with the same non-zero GroupIndex that exclude each other, its own focus
// and keyboard rules, a hover look that may morph from the normal to the active picture, and
// three looks: flat (the default: the parent's background with a check image and the caption),
// skinned (the record's picture composed to the control's size) and built in.
//
// Checked's writer runs on every write, changed or not: it repaints, unchecks the group and
// fires OnClick each time (a form loading its boxes sets State, Radio, Checked and GroupIndex in
// that order before it assigns OnClick, so loading neither unchecks nor fires).
#pragma once

#include "skin/controls/skin_button_timers.h"
#include "skin/controls/skin_control.h"
#include "skin/core/effect_bitmap.h"

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    TCheckBoxState State() const { return FState; }
    // Sets Checked to (Value = cbChecked), repaints and fires OnClick; no group handling.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    bool Radio() const { return FRadio; }
    void SetRadio(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorph.Kf; }
    bool Morphing() const { return FMorph.Running(); }

    // The box's own click event.
    TNotifyEvent OnClick;

    // A check box inverts Checked; a radio button becomes checked (and stays so).
    virtual void Toggle();
    // The box as it would look with Checked = AChecked, at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, bool AChecked);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void CheckParentBackground() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    // Copied from the record.
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{}, CheckImageRect{}, UnCheckImageRect{};
    TRect ActiveCheckImageRect{}, ActiveUnCheckImageRect{}, UnEnabledCheckImageRect{}, UnEnabledUnCheckImageRect{};
    TRect GrayedCheckImageRect{}, ActiveGrayedCheckImageRect{};
    bool FMorphing = false;
    TbsMorphKind MorphKind = mkDefault;
    // Where the check image and the text go at the current size.
    TRect CIRect{}, NewTextArea{};

protected:
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsFocused();
    bool MorphingActive() const;
    void StartMorphOrRepaint();
    void StartMorph();
    void StopMorph();
    void MorphTick();
    void FireClick();
    // The skin font (record's with UseSkinFont, else DefaultFont) and the text table's charset.
    void SetSkinFont(TCanvas* C);
    // The check image for a state into C at (X, Y); Hot picks the active column.
    void DrawCheckImage(TCanvas* C, int X, int Y, TCheckBoxState AState, bool Hot);
    // The built-in mark box of the flat and built-in looks at the box's height H.
    void DrawMarkBox(TCanvas* C, int H, TCheckBoxState AState, bool PaintTo);
    void DrawFlat(TCanvas* C, TCheckBoxState AState, bool PaintTo);
    // A look of the skinned box composed to the control's size.
    void ComposeSkinImage(TBitmap* B, const TRect& R, bool Active, TCheckBoxState AState, bool Hot);

    bool FChecked = false;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false, FRadio = false, FFlat = true, FWordWrap = false;
    int FGroupIndex = 0;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = 0;
    bool FUseSkinFontColor = true, FCanFocused = true;
    bool FDown = false, FMouseIn = false, FClicksDisabled = false;
    TbsMorphTimer FMorph{this, [this] { MorphTick(); }};
};
