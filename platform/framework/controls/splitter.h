// TSplitter: a windowless bar between aligned controls; dragging it resizes the control it
// borders (the neighbour aligned to the same side), keeping MinSize for both sides.
#pragma once

#include "platform/framework/controls/custom_control.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = v; }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool v);
    TResizeStyle ResizeStyle() const { return FResizeStyle; }
    void SetResizeStyle(TResizeStyle v) { FResizeStyle = v; }
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool v) { FAutoSnap = v; }
    // The control the splitter resizes (found from the alignment at the press).
    TControl* FindControl();

    TNotifyEvent OnMoved;
    TCanResizeEvent OnCanResize;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void RequestAlign() override;
    void Dispatch(TMessage& Message) override;
    bool Horizontal() const { return FAlign == alTop || FAlign == alBottom; }

    int FMinSize = 30;
    bool FBeveled = false;
    TResizeStyle FResizeStyle = rsPattern;
    bool FAutoSnap = true;
    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FStartSize = 0;
    int FMaxSize = 0;
};
