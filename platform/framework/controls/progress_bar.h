// TProgressBar: a bar filled in proportion to Position between Min and Max (plain look).
#pragma once

#include "platform/framework/controls/custom_control.h"

class TProgressBar : public TCustomControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v) { FStep = v; }
    void StepIt();
    void StepBy(int Delta) { SetPosition(FPosition + Delta); }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v);
    // Pixels of the client width the bar fills now.
    int FilledWidth();

protected:
    void Paint() override;

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
};
