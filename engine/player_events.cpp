// Position and state reporting of the player: the event ring, the event thread that delivers its
// items, SetPlayState and UpdatePosition (the position, the end of the input and the play limit).
#include "engine/player_events.h"

#include <cmath>

#include "engine/av_bindings.h"
#include "engine/main_thread_calls.h"
#include "engine/player_state.h"

void TPlayEvent::PushEvent(const TPlayEventItem& AItem)
{
    {
        std::lock_guard<std::mutex> lock(Lock);
        const int newest = (Tailer + PlayEventRingSize - 1) % PlayEventRingSize;
        if (Tailer == Header || Events[newest].Kind != AItem.Kind) {
            Tailer = (Tailer + 1) % PlayEventRingSize;
            if (Tailer == Header) Header = (Header + 1) % PlayEventRingSize;
        }
        Events[(Tailer + PlayEventRingSize - 1) % PlayEventRingSize] = AItem;
    }
    Event.SetEvent();
}

void TPlayEvent::PopEvent(TPlayEventItem& AItem)
{
    std::lock_guard<std::mutex> lock(Lock);
    if (Header == Tailer) {
        AItem.Kind = 0;
        return;
    }
    AItem = Events[Header];
    Header = (Header + 1) % PlayEventRingSize;
    if (Header == Tailer) Event.ResetEvent();
}

TEventThread::TEventThread(std::weak_ptr<TCustomPlayer*> APlayer, bool AInMainThread, std::shared_ptr<TPlayEvent> ARing)
    : FPlayer(std::move(APlayer)), FInMainThread(AInMainThread), FRing(std::move(ARing))
{}

void TEventThread::Quit()
{
    Terminate();
    FRing->Event.SetEvent();
}

void TEventThread::Deliver(const std::function<void(TCustomPlayer*)>& ACall)
{
    std::weak_ptr<TCustomPlayer*> player = FPlayer;
    auto call = [player, &ACall] {
        if (auto p = player.lock())
            if (*p) ACall(*p);
    };
    if (FInMainThread)
        RunInMainThread(call);
    else
        call();
}

void TEventThread::Execute()
{
    while (!Terminated()) {
        TPlayEventItem item;
        FRing->PopEvent(item);
        if (item.Kind == 1) {
            const int64_t pts = item.Value;
            Deliver([pts](TCustomPlayer* p) {
                if (p->OnPosition) {
                    p->FEventPTS = pts;
                    p->DoPosition();
                }
            });
        } else if (item.Kind == 2) {
            const TPlayState state = static_cast<TPlayState>(item.Value);
            Deliver([state](TCustomPlayer* p) {
                p->FEventState = state;
                p->DoState();
            });
            if (state == psStop) break;
        } else if (item.Kind == 3) {
            break;
        }
        if (Terminated()) break;
        FRing->Event.WaitFor(INFINITE);
    }
}

// The handler may free the player: it runs from a copy, and the player is not touched afterwards
// when its self reference was cleared meanwhile.
template <class THandler, class... A>
static void CallHandler(TCustomPlayer* APlayer, const std::shared_ptr<TCustomPlayer*>& ASelf, int& ADepth,
                        const THandler& AHandler, A... args)
{
    if (!AHandler) return;
    THandler handler = AHandler;
    std::shared_ptr<TCustomPlayer*> self = ASelf;
    int* depth = &ADepth;
    ++*depth;
    try {
        handler(APlayer, args...);
    } catch (...) {
        if (*self) --*depth;
        throw;
    }
    if (*self) --*depth;
}

void TCustomPlayer::DoPosition() { CallHandler(this, FSelf, FDeliveryDepth, OnPosition, FEventPTS); }

void TCustomPlayer::DoState() { CallHandler(this, FSelf, FDeliveryDepth, OnState, FEventState); }

void TCustomPlayer::SetPlayState(TPlayState AState)
{
    FState = AState;
    std::shared_ptr<TPlayEvent> ring = CurrentRing();
    if (!ring) return;
    if (OnState)
        ring->PushEvent(TPlayEventItem{2, AState});
    else if (AState == psStop)
        ring->PushEvent(TPlayEventItem{3, 0});
}

void TCustomPlayer::UpdatePosition()
{
    TVideoState* is = FVideoState;
    if (!is || is->IsImage2) return;
    int64_t pts;
    if (is->video_st) {
        pts = std::llround(VideoClock(is) * 1000000.0) - is->StartTime;
    } else if (is->audio_st) {
        pts = std::llround(AudioClock(is) * 1000000.0) - is->StartTime;
        // The sound may end a little before the file does.
        if (is->AudioDuration > 0 && pts >= is->AudioDuration && pts < is->Duration) pts = is->Duration;
    } else {
        return;
    }
    FCurrentPTS = pts;
    if (is->Duration > 0 && pts >= is->Duration) {
        pts = is->Duration;
        if (FLastPTS != is->Duration) FLastPTS = 0;
    }
    const int64_t last = FLastPTS;
    if (last == AV_NOPTS_VALUE || std::llabs(pts - last) > 10000) {
        FLastPTS = pts;
        if (OnPosition)
            if (std::shared_ptr<TPlayEvent> ring = CurrentRing()) ring->PushEvent(TPlayEventItem{1, pts});
    }
    if (!is->IsDevice && !is->EventEOF && is->ReachEOF) {
        if (is->video_st) is->EventEOF = 1;
        SetPlayState(psEnd);
    }
    if (FPlayTime != AV_NOPTS_VALUE) {
        int64_t limit = Fstart_time != AV_NOPTS_VALUE ? Fstart_time + FPlayTime : FPlayTime;
        if (pts >= limit) {
            if (FRepeatType == rtStop) {
                Stop(false);
            } else if (FRepeatType == rtLoop && !FSeeking) {
                // Not again while the loop's own seek is still on its way to the first picture.
                if (Fstart_time != AV_NOPTS_VALUE)
                    Seek(Fstart_time, 0, false);
                else
                    Seek(static_cast<int64_t>(0), sfAny, false);
            }
        }
    }
}
