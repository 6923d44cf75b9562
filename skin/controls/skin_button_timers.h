// What the skinned buttons and boxes share, windowed or not: the hot-look morph, the frame
// animation and the auto-repeat click, each a small helper the control holds, owning one timer
// that exists only while it runs; and the press that first takes the focus.
#pragma once

#include <functional>

#include "platform/framework/core/types.h"
#include "platform/framework/forms/timer.h"

class TWinControl;
struct TMessage;

// The morph between a control's normal and its hot look: Kf runs from 0 (normal) to 1 (hot) in
// fifths, one step every 20 ms towards the side the control's state points to.
class TbsMorphTimer {
public:
    // Tick runs at every tick of the timer; the control calls Step from it.
    TbsMorphTimer(TComponent* Owner, std::function<void()> Tick);
    ~TbsMorphTimer() { Stop(); }
    TbsMorphTimer(const TbsMorphTimer&) = delete;
    TbsMorphTimer& operator=(const TbsMorphTimer&) = delete;

    bool Running() const { return FTimer != nullptr; }
    // Starts the timer unless it runs.
    void Start();
    // Start when CanMorph; false (nothing started) otherwise, for the caller to repaint at once.
    bool StartIf(bool CanMorph)
    {
        if (CanMorph) Start();
        return CanMorph;
    }
    void Stop();
    // One step towards Hot. Without CanMorph (no record, effects off) Kf jumps to its end and the
    // timer stops: false, nothing changed on screen. Otherwise a fifth further, or at the end Kf
    // exactly 0 or 1 and the timer stopped: true, the look changed.
    bool Step(bool Hot, bool CanMorph);

    double Kf = 0;

private:
    TComponent* FOwner;
    std::function<void()> FTick;
    TTimer* FTimer = nullptr;
};

// A frame animation: forward it shows frames 1 to FrameCount and stops after the last, backward
// FrameCount down to 1 and stops at 0; a repaint after each step. Frame is 0 while it is stopped.
class TbsFrameAnimation {
public:
    // FrameCount is read at every step (a skin change may alter it while the animation runs).
    TbsFrameAnimation(TComponent* Owner, std::function<int()> FrameCount, std::function<void()> Repaint);
    ~TbsFrameAnimation() { Stop(); }
    TbsFrameAnimation(const TbsFrameAnimation&) = delete;
    TbsFrameAnimation& operator=(const TbsFrameAnimation&) = delete;

    bool Running() const { return FTimer != nullptr; }
    int Frame() const { return FFrame; }
    bool Forward() const { return FForward; }
    // The frame shown over the look, 1 to FrameCount, or 0 (none) when stopped or out of range.
    int ShownFrame(int FrameCount) const
    {
        return FTimer && FrameCount > 0 && FFrame >= 1 && FFrame <= FrameCount ? FFrame : 0;
    }
    // The shown frame of the strip Frames replaces the look it plays over: Hot going forward,
    // Normal going backward (whose rectangle is also one look's size); nothing while stopped.
    void ShowFrameOver(const TRect& Frames, int FrameCount, TRect& Normal, TRect& Hot) const;
    // From the first frame forward, or from the last backward, one step every Interval ms.
    void Start(bool Forward, unsigned Interval);
    void Stop();

private:
    void Tick();

    TComponent* FOwner;
    std::function<int()> FFrameCount;
    std::function<void()> FRepaint;
    TTimer* FTimer = nullptr;
    int FFrame = 0;
    bool FForward = false;
};

// The auto-repeat of a held button: the first tick 500 ms after the press only switches to the
// repeat interval (read then, at least 1 ms); every later tick clicks.
class TbsRepeatClick {
public:
    TbsRepeatClick(TComponent* Owner, std::function<int()> Interval, std::function<void()> Click);
    ~TbsRepeatClick() { Stop(); }
    TbsRepeatClick(const TbsRepeatClick&) = delete;
    TbsRepeatClick& operator=(const TbsRepeatClick&) = delete;

    bool Running() const { return FTimer != nullptr; }
    // Starts again from the 500 ms wait.
    void Start();
    void Stop();

private:
    void Tick();

    TComponent* FOwner;
    std::function<int()> FInterval;
    std::function<void()> FClick;
    TTimer* FTimer = nullptr;
    bool FRepeating = false;
};

// Frame (1 to FrameCount) of the strip Frames: side by side when the strip is wider than One (the
// rectangle of one look), else one under another.
TRect AnimationFrameRect(const TRect& Frames, const TRect& One, int FrameCount, int Frame);

// WM_LBUTTONDOWN, WM_LBUTTONDBLCLK and CN_COMMAND of a focusable skinned control: a press on the
// control without the focus first gives it the focus, and goes on only when the control took it;
// a click command that arrives while the focus moves is dropped. False when the message must go
// no further. ClicksDisabled is the control's own flag, set only during the focus change.
bool PassFocusingPress(TWinControl* Control, const TMessage& m, bool& ClicksDisabled);
