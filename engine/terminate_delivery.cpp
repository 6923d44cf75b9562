// Ordered hand-over of task and queue ends to the OnTerminate handler, one thread per end.
#include "engine/terminate_delivery.h"

#include "engine/main_thread_calls.h"
#include "platform/base/main_thread.h"

TTerminateDelivery::TTerminateDelivery() : FState(std::make_shared<TState>()) {}

TTerminateDelivery::~TTerminateDelivery()
{
    DiscardPending();
    WaitIdle();
}

void TTerminateDelivery::Deliver(const TTerminateEvent& AOnTerminate, TObject* ASender,
                                 const TTerminateInfo& ATerminateInfo, bool AInMainThread)
{
    uint64_t ticket;
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        ticket = FState->NextTicket++;
        ++FState->Running;
    }
    auto* thread = new TDoTerminateThread(AOnTerminate, ASender, ATerminateInfo, AInMainThread, FState, ticket);
    thread->FreeOnTerminate = true;
    try {
        thread->Start();
    } catch (...) {
        // Without a thread the end is handled here, in its turn, so later ends still follow.
        delete thread;
        std::unique_lock<std::mutex> lock(FState->Lock);
        FState->Turn.wait(lock, [&] { return FState->Serving == ticket; });
        ++FState->Serving;
        --FState->Running;
        lock.unlock();
        FState->Turn.notify_all();
        throw;
    }
}

void TTerminateDelivery::DiscardPending()
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    FState->DropBelow = FState->NextTicket;
}

int TTerminateDelivery::Running()
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    return FState->Running;
}

void TTerminateDelivery::WaitIdle()
{
    std::shared_ptr<TState> state = FState;
    WaitServingMainThread(
        [state] {
            std::lock_guard<std::mutex> lock(state->Lock);
            return state->Running == 0;
        },
        1);
}

TTerminateDelivery::TDoTerminateThread::TDoTerminateThread(const TTerminateEvent& AOnTerminate, TObject* ASender,
                                                           const TTerminateInfo& ATerminateInfo, bool AInMainThread,
                                                           std::shared_ptr<TState> AState, uint64_t ATicket)
    : FOnTerminate(AOnTerminate),
      FSender(ASender),
      FTerminateInfo(ATerminateInfo),
      FInMainThread(AInMainThread),
      FState(std::move(AState)),
      FTicket(ATicket)
{}

void TTerminateDelivery::TDoTerminateThread::Execute()
{
    {
        std::unique_lock<std::mutex> lock(FState->Lock);
        FState->Turn.wait(lock, [this] { return FState->Serving == FTicket; });
    }
    try {
        // Checked again where the handler runs: the main thread may discard it meanwhile.
        auto deliver = [this] {
            if (FTicket >= FState->DropBelow && FOnTerminate) FOnTerminate(FSender, FTerminateInfo);
        };
        if (FTicket >= FState->DropBelow) {
            if (FInMainThread)
                RunInMainThread(deliver);
            else
                deliver();
        }
    } catch (...) {
        // A failing handler must not keep later ends from their turn.
    }
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        ++FState->Serving;
        --FState->Running;
    }
    FState->Turn.notify_all();
}
