// TCustomPanel / TPanel: a container with raised or lowered bevels, a border and a centred
// caption; its children align inside the bevels (AdjustClientRect). Also the host of a native
// window another library draws into (the preview panel).
#pragma once

#include "platform/framework/controls/custom_control.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);

protected:
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;

    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TFormBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};
