// TBevel: a windowless box, frame or line drawn lowered or raised (also a plain spacer).
#pragma once

#include "platform/framework/controls/custom_control.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};
