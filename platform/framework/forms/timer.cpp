#include "platform/framework/forms/timer.h"

#include "platform/framework/forms/util_window.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    UpdateTimer();
}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned v)
{
    if (v == FInterval) return;
    FInterval = v;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (!FWindowHandle) return;
    KillTimer(FWindowHandle, 1);
    if (FEnabled && FInterval > 0) SetTimer(FWindowHandle, 1, FInterval, nullptr);
}

void TTimer::Timer()
{
    if (OnTimer && !(ComponentState() & csDestroying)) OnTimer(this);
}

void TTimer::WndProc(TMessage& m)
{
    if (m.Msg == WM_TIMER) {
        Timer();
        return;
    }
    m.Result = DefWindowProcW(FWindowHandle, m.Msg, m.WParam, m.LParam);
}
