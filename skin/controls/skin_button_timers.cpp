// The shared button timers and the focusing press. See skin_button_timers.h.
#include "skin/controls/skin_button_timers.h"

#include <cmath>

#include "platform/framework/controls/win_control.h"
#include "skin/core/marks.h"

namespace {
// Morph factors stay on exact fifths, so a fade back reaches 0 exactly.
double Fifths(double Kf) { return std::round(Kf * 5) / 5; }

// A timer of Owner that calls Tick every Interval ms, running at once.
TTimer* StartTimer(TComponent* Owner, unsigned Interval, const std::function<void()>& Tick)
{
    auto* t = new TTimer(Owner);
    t->SetInterval(Interval);
    t->OnTimer = [Tick](TObject*) { Tick(); };
    t->SetEnabled(true);
    return t;
}
}  // namespace

// ---- morph ----

TbsMorphTimer::TbsMorphTimer(TComponent* Owner, std::function<void()> Tick) : FOwner(Owner), FTick(std::move(Tick)) {}

void TbsMorphTimer::Start()
{
    if (!FTimer) FTimer = StartTimer(FOwner, 20, FTick);
}

void TbsMorphTimer::Stop()
{
    delete FTimer;
    FTimer = nullptr;
}

bool TbsMorphTimer::Step(bool Hot, bool CanMorph)
{
    if (!CanMorph) {
        Kf = Hot ? 1 : 0;
        Stop();
        return false;
    }
    if (Hot && Kf < 1) {
        Kf = Fifths(Kf + 0.2);
    } else if (!Hot && Kf > 0) {
        Kf = Fifths(Kf - 0.2);
    } else {
        Kf = Hot ? 1 : 0;
        Stop();
    }
    return true;
}

// ---- frame animation ----

TbsFrameAnimation::TbsFrameAnimation(TComponent* Owner, std::function<int()> FrameCount, std::function<void()> Repaint)
    : FOwner(Owner), FFrameCount(std::move(FrameCount)), FRepaint(std::move(Repaint))
{}

void TbsFrameAnimation::Start(bool Forward, unsigned Interval)
{
    Stop();
    FForward = Forward;
    FFrame = Forward ? 1 : FFrameCount();
    FTimer = StartTimer(FOwner, Interval, [this] { Tick(); });
}

void TbsFrameAnimation::Stop()
{
    FFrame = 0;
    delete FTimer;
    FTimer = nullptr;
}

void TbsFrameAnimation::Tick()
{
    const int count = FFrameCount();
    if (FForward) {
        if (FFrame <= count) {
            ++FFrame;
            FRepaint();
        }
        if (FFrame > FFrameCount()) Stop();
    } else {
        if (FFrame >= 0) {
            --FFrame;
            FRepaint();
        }
        if (FFrame <= 0) Stop();
    }
}

// ---- auto-repeat ----

TbsRepeatClick::TbsRepeatClick(TComponent* Owner, std::function<int()> Interval, std::function<void()> Click)
    : FOwner(Owner), FInterval(std::move(Interval)), FClick(std::move(Click))
{}

void TbsRepeatClick::Start()
{
    Stop();
    FRepeating = false;
    FTimer = StartTimer(FOwner, 500, [this] { Tick(); });
}

void TbsRepeatClick::Stop()
{
    delete FTimer;
    FTimer = nullptr;
}

void TbsRepeatClick::Tick()
{
    // The first tick only switches to the repeat interval; the clicks come with the later ones.
    if (!FRepeating) {
        const int interval = FInterval();
        FRepeating = true;
        FTimer->SetEnabled(false);
        FTimer->SetInterval(static_cast<unsigned>(interval > 0 ? interval : 1));
        FTimer->SetEnabled(true);
        return;
    }
    FClick();
}

// ---- the focusing press ----

bool PassFocusingPress(TWinControl* Control, const TMessage& m, bool& ClicksDisabled)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!(Control->ComponentState() & csDesigning) && !Control->Focused()) {
            ClicksDisabled = true;
            if (Control->HandleAllocated()) ::SetFocus(Control->Handle());
            ClicksDisabled = false;
            return Control->Focused();
        }
        return true;
    case CN_COMMAND: return !ClicksDisabled;
    default: return true;
    }
}

// ---- animation frames ----

void TbsFrameAnimation::ShowFrameOver(const TRect& Frames, int FrameCount, TRect& Normal, TRect& Hot) const
{
    const int frame = ShownFrame(FrameCount);
    if (frame == 0) return;
    const TRect f = AnimationFrameRect(Frames, Normal, FrameCount, frame);
    if (FForward)
        Hot = f;
    else
        Normal = f;
}

TRect AnimationFrameRect(const TRect& Frames, const TRect& One, int FrameCount, int Frame)
{
    if (RectWidth(Frames) > RectWidth(One)) {
        const int w = RectWidth(Frames) / FrameCount;
        return Rect(Frames.Left + (Frame - 1) * w, Frames.Top, Frames.Left + Frame * w, Frames.Bottom);
    }
    const int h = RectHeight(Frames) / FrameCount;
    return Rect(Frames.Left, Frames.Top + (Frame - 1) * h, Frames.Right, Frames.Top + Frame * h);
}
