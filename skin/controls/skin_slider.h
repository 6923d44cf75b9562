// TbsSkinCustomSlider / TbsSkinSlider: a windowed control that picks an integer between MinValue
// and MaxValue with a thumb sliding along a ruler, drawn from a "slider" record or, without one,
// from four built-in bitmaps (horizontal thumb and ruler, vertical thumb and ruler; magenta is
// their background). Tick marks, a dotted focus frame, a transparent mode, a thumb drawn pressed
// while held or disabled.
//
// Geometry (R the slider rectangle, 0,0 to the control's size): the ruler runs from R.Left + 6
// (R.Top + 6 vertically) over R's length less 12; the track length L is the ruler's length less
// the thumb's. A vertical slider has MinValue at the bottom.
//
// Two grids: a drag without soSmooth snaps to Increment counted from MinValue; keys and ruler
// jumps step by Increment counted from 0 (nearest, halves to even).
//
// States: idle; sliding (the thumb held) and tracking (the ruler held beside the thumb: a jump at
// once, then one every 400 ms on window timer 1 while the thumb has not reached the mouse; the
// direction never reverses). OnChanged ends each, before OnMouseUp.
//
// Degenerate sizes are safe: a track of length 0 or an empty range puts the thumb at the track's
// origin, a step of 0 draws no marks, an EdgeSize leaving no middle draws an empty ruler.
#pragma once

#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_control.h"

enum TbsSliderOrientation { soHorizontal, soVertical };
enum TbsSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TbsSliderOptions = TEnumSet<TbsSliderOption>;
enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TbsSliderImages = TEnumSet<TbsSliderImage>;
enum TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };

class TbsSkinCustomSlider : public TbsSkinControl {
public:
    explicit TbsSkinCustomSlider(TComponent* AOwner);
    ~TbsSkinCustomSlider() override;

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    // Refuses AMin >= AMax (except while reading); lowers Increment to fit; clamps Value.
    void SetMinMax(int AMin, int AMax);
    int Increment() const { return FIncrement; }
    // Values of 0 or less are refused.
    void SetIncrement(int Value);
    int Value() const { return FValue; }
    // Clamped into the range; OnChange when it moved.
    void SetValue(int Value);
    TbsSliderOrientation Orientation() const { return FOrientation; }
    // Also exchanges width and height (unless loading).
    void SetOrientation(TbsSliderOrientation Value);
    int EdgeSize() const { return FEdgeSize; }
    // Refused unless twice the value is shorter than the orientation's ruler image.
    void SetEdgeSize(int Value);
    int NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(int Value);
    TbsSliderOptions Options() const { return FOptions; }
    void SetOptions(TbsSliderOptions Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool Value) { FUseSkinThumb = Value; }
    TCustomImageList* ThumbImageList() const { return FThumbImageList; }
    void SetThumbImageList(TCustomImageList* Value);
    int ThumbImageIndex() const { return FThumbImageIndex; }
    void SetThumbImageIndex(int Value) { FThumbImageIndex = Value; }
    int ThumbActiveImageIndex() const { return FThumbActiveImageIndex; }
    void SetThumbActiveImageIndex(int Value) { FThumbActiveImageIndex = Value; }
    // The four images (TbsSliderImage order); nullptr restores the built-in one.
    TBitmap* SliderImage(TbsSliderImage Index) { return &FImages[Index]; }
    void SetSliderImage(TbsSliderImage Index, TBitmap* Value);
    TbsSliderImages UserImages() const { return FUserImages; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanged;
    TNotifyEvent OnDrawPoints;

    // ---- geometry, read by tests and owners ----
    TRect ThumbRect() const { return FThumbRect; }
    TPoint RulerOrg() const { return FRulerOrg; }
    int RulerWidth() const { return FRuler.Width(); }
    int RulerHeight() const { return FRuler.Height(); }
    TRect PointsRect() const { return FPointsRect; }
    bool Sliding() const { return FSliding; }
    bool Tracking() const { return FTracking; }

    virtual bool CanModify() { return true; }
    virtual void GetSliderRect(TRect& R) { R = Rect(0, 0, Width(), Height()); }
    virtual int GetPaintValue() { return FValue; }
    virtual void UpdateLayout() { Layout(); }
    virtual void RangeChanged() {}
    // The default tick marks on Canvas, for an OnDrawPoints handler.
    virtual void DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight);

    void GetSkinData() override;
    void ChangeSkinData() override;

    // Copied from a "slider" record.
    TRect HRulerRect{}, HThumbRect{}, VRulerRect{}, VThumbRect{};
    int SkinEdgeSize = 0;
    TColor BGColor = 0, PointsColor = 0;
    TBitmap* Picture = nullptr;

protected:
    virtual void ThumbMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ThumbMouseMove(TShiftState Shift, int X, int Y);
    virtual void ThumbMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Change();
    virtual void Changed();

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void Resize() override;

private:
    // The skin thumb is in force: a slider record with a picture and UseSkinThumb.
    bool SkinLook() const;
    bool SkinThumb() const;
    // One thumb state's size and the number of states side by side.
    void ThumbSize(int& TW, int& TH, int& States);
    int TrackLength();
    int TrackOrigin();
    void ComposeRuler();
    void Layout();
    int ValueToPosition(int V);
    int PositionToValue(int P);
    void SnapThumbPosition(int& P, TPoint& TopLeft);
    void MoveThumb(int P);
    void InvalidateThumb();
    TbsJumpMode JumpModeAt(int X, int Y);
    void DoJump(TbsJumpMode Mode);
    void TrackStep();
    void EndTrack();
    void DrawPoints(TCanvas* Cnvs, int Step, int PointsHeight, int ExtremePointsHeight);
    void DrawThumb(TCanvas* Cnvs, const TPoint& Org, bool Second);
    void ResetImage(int Index);
    void SliderImageChanged();

    TCustomImageList* FThumbImageList = nullptr;
    int FThumbImageIndex = 0, FThumbActiveImageIndex = 1;
    bool FUseSkinThumb = true;
    bool FTransparent = false;
    TbsSliderImages FUserImages;
    TBitmap FImages[4];
    int FEdgeSize = 2;
    TBitmap FRuler;
    TPoint FRulerOrg{};
    TRect FThumbRect{};
    bool FThumbDown = false;
    int FNumThumbStates = 2;
    TRect FPointsRect{};
    TbsSliderOrientation FOrientation = soHorizontal;
    TbsSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
    int FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
    int FHit = 0;
    bool FFocused = false, FSliding = false, FTracking = false, FTimerActive = false;
    TPoint FMousePos{};
    TbsJumpMode FStartJump = jmNone;
    bool FConstructing = true;
};

class TbsSkinSlider : public TbsSkinCustomSlider {
public:
    using TbsSkinCustomSlider::TbsSkinCustomSlider;
};
