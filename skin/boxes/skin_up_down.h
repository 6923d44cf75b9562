// TbsSkinUpDown: a pair of spin buttons stepping an integer Position between Min and Max by
// Increment, drawn from an "hupdown" or "vupdown" record (the normal faces part of the record's
// picture, the hot and pressed ones laid over them) or in the built-in look. Button 0 steps up
// (right-hand, or upper when vertical), button 1 down. Any mouse button presses; holding one
// repeats through timer 1: 500 ms of wait, then a step every 100 ms (50 ms after the pointer
// comes back onto the held button); the release over the button adds one step and the click.
// The page control's tab scroller is one of these.
#pragma once

#include "skin/controls/skin_control.h"

enum TUDOrientation { udHorizontal, udVertical };

class TbsSkinUpDown : public TbsSkinCustomControl {
public:
    explicit TbsSkinUpDown(TComponent* AOwner);
    ~TbsSkinUpDown() override;

    int Position() const { return FPosition; }
    // Values outside Min..Max are ignored; an accepted one fires OnChange.
    void SetPosition(int Value);
    int Min() const { return FMin; }
    // Pulls Position in without OnChange.
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }

    void GetSkinData() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnChange;

    struct TButton {
        TRect R{};
        bool MouseIn = false;
        bool Down = false;
    };
    // Index 0 up, 1 down; rectangles in client coordinates.
    TButton Buttons[2];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    // What a repeat tick does: 0 nothing, 1 decrease, 2 increase.
    int TimerMode = 0;
    bool WaitMode = false;
    // The record's button pictures: the normal ones relative to the control, the others in the picture.
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};

protected:
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void CalcButtonRects();
    void DrawButton(TCanvas* C, int I);
    void DrawResizeButton(TCanvas* C, int I);
    int ArrowKind(int I) const;
    void UpdateActiveButton(int X, int Y);
    void ButtonEnter(int I);
    void ButtonLeave(int I);
    void ButtonDown(int I);
    void ButtonUp(int I);
    void StartTimer(unsigned Ms);
    void StopTimer();

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    int FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
};

// Makes the skinned page controls scroll their overflowing tab rows with one of these (the
// program calls it once at start-up; until then they show no scroller).
void UseSkinUpDownTabScroller();
