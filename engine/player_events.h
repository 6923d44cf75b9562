// The player's event ring and event thread: position and state changes are queued by any thread
// of a playback (PushEvent) and delivered to OnPosition / OnState by the playback's event thread,
// in the main thread when the player's TriggerEventInMainThread is set. Used by player.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/player.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/framework/core/thread.h"

struct TPlayEventItem {
    int Kind = 0;       // 0 none, 1 position, 2 state, 3 end of delivery
    int64_t Value = 0;  // the position in microseconds, or the TPlayState
};

constexpr int PlayEventRingSize = 10;

// At most 9 items are pending; an item of the same kind as the newest pending one replaces it,
// and when the ring is full the oldest is dropped. Event stays signalled while items are pending.
struct TPlayEvent {
    std::mutex Lock;
    TEvent Event{true, false};
    int Header = 0;
    int Tailer = 0;
    TPlayEventItem Events[PlayEventRingSize];

    void PushEvent(const TPlayEventItem& AItem);
    void PopEvent(TPlayEventItem& AItem);
};

// Delivers the items of one playback's ring; ends after psStop or an end-of-delivery item. It
// reaches the player only through APlayer's self reference, which the player clears when it goes,
// so a player freed from inside one of its handlers is not called again.
class TEventThread : public TThread {
public:
    TEventThread(std::weak_ptr<TCustomPlayer*> APlayer, bool AInMainThread, std::shared_ptr<TPlayEvent> ARing);
    // Ends the thread at its next wake-up.
    void Quit();

protected:
    void Execute() override;

private:
    // Runs ACall with the player, in the main thread when so chosen; nothing once it is gone.
    void Deliver(const std::function<void(TCustomPlayer*)>& ACall);

    std::weak_ptr<TCustomPlayer*> FPlayer;
    bool FInMainThread;
    std::shared_ptr<TPlayEvent> FRing;
};
