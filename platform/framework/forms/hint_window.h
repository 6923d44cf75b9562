// THintWindow: the small topmost popup the application shows a control's hint in. The application
// creates it through HintWindowClass, so the skin engine can put its own class in.
#pragma once

#include "platform/framework/controls/custom_control.h"

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // Shows the hint text in Rect (screen coordinates) without taking the focus.
    virtual void ActivateHint(TRect Rect, const String& AHint);
    // The size the text needs, wrapped at MaxWidth; the rectangle starts at (0, 0).
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint);
    // Hides the window.
    virtual void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};
