// TTrackBar: a slider between Min and Max in the plain look - dragging the thumb, clicks on the
// channel (a page towards the click), arrows and paging keys; OnChange on every change of
// Position except while a layout loads.
#pragma once

#include "platform/framework/controls/custom_control.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TCustomControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    int Max() const { return FMax; }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    int Position() const { return FPosition; }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    void SetParams(int APosition, int AMin, int AMax);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int v);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int v) { FLineSize = v; }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v) { FPageSize = v; }
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation v);
    // The thumb's rectangle in client coordinates.
    TRect ThumbRect();

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override { return Key >= VK_LEFT && Key <= VK_DOWN; }
    int Span();  // pixels the thumb can travel
    int PositionFromPixel(int p);

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
    bool FDragging = false;
    int FDragOffset = 0;
};
