// TTimer: raises OnTimer every Interval milliseconds while Enabled, from the UI thread's message
// loop (a WM_TIMER of its own hidden window). Time comes from the window layer's clock, so tests
// drive timers by advancing the headless test clock.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned v);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& m);
    HWND FWindowHandle = nullptr;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};
