// TScrollBar: a horizontal or vertical scroll bar control in the plain look - arrow buttons,
// page areas and a draggable thumb sized by PageSize; OnScroll tells how it moved, OnChange
// follows every change of Position.
#pragma once

#include "platform/framework/controls/custom_control.h"

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TCustomControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind v);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    void SetParams(int APosition, int AMin, int AMax);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int v) { FSmallChange = v; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v) { FLargeChange = v; }
    TRect ThumbRect();

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Scroll(TScrollCode Code, int Pos);
    int Length();     // along the bar
    int Thickness();  // across the bar
    int ThumbLength();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    bool FDragging = false;
    int FDragOffset = 0;
};
