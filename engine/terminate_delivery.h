// The task component's hand-over of the end of each task and of the whole queue to its
// OnTerminate handler in thread mode: every end gets its own short-lived thread, so a converting
// thread never waits for the main thread, and the handler sees the ends in the order they were
// handed over (the end of the queue last). Used by TCustomFFConverter.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "engine/task_options.h"
#include "platform/framework/core/thread.h"

using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;

class TTerminateDelivery {
public:
    TTerminateDelivery();
    ~TTerminateDelivery();
    TTerminateDelivery(const TTerminateDelivery&) = delete;
    TTerminateDelivery& operator=(const TTerminateDelivery&) = delete;

    // Starts the thread that raises AOnTerminate(ASender, ATerminateInfo) once every earlier end
    // has been handled: through the main thread when AInMainThread, else on itself.
    void Deliver(const TTerminateEvent& AOnTerminate, TObject* ASender, const TTerminateInfo& ATerminateInfo,
                 bool AInMainThread);
    // Ends handed over so far that have not reached their handler yet are dropped.
    void DiscardPending();
    // Waits until no delivery thread is left; the main thread serves queued calls meanwhile.
    void WaitIdle();
    int Running();

    struct TState {
        std::mutex Lock;
        std::condition_variable Turn;
        uint64_t NextTicket = 0;  // ticket of the next end handed over
        uint64_t Serving = 0;     // ticket whose turn it is
        std::atomic<uint64_t> DropBelow{0};
        int Running = 0;
    };

    // The thread of one end: a copy of the record, the event and the sender.
    class TDoTerminateThread : public TThread {
    public:
        TDoTerminateThread(const TTerminateEvent& AOnTerminate, TObject* ASender, const TTerminateInfo& ATerminateInfo,
                           bool AInMainThread, std::shared_ptr<TState> AState, uint64_t ATicket);

    protected:
        void Execute() override;

    private:
        TTerminateEvent FOnTerminate;
        TObject* FSender;
        TTerminateInfo FTerminateInfo;
        bool FInMainThread;
        std::shared_ptr<TState> FState;
        uint64_t FTicket;
    };

private:
    std::shared_ptr<TState> FState;
};
