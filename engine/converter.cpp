// The task component's queue: creation and destruction, the task list operations, Start, Pause,
// Resume and Stop, and the relays that hand the tasks' events to the component's handlers.
#include "engine/converter.h"

#include "engine/main_thread_calls.h"
#include "engine/serving_lock.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"

TCustomFFConverter::TCustomFFConverter(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FDelivery(std::make_unique<TTerminateDelivery>()), FAVProbe(new TAVProbe(this))
{
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FTerminated = false;
    FThreadMode = false;
    FWorking = false;
}

TCustomFFConverter::~TCustomFFConverter()
{
    StopBeforeDestroy();
    // No relay may still be inside a lock.
    for (TCriticalSection* lock : {&FHookLock, &FPreviewLock, &FProgressLock, &FTerminateLock}) {
        EnterServing(*lock);
        lock->Leave();
    }
    FFFmpegList.Clear();
}

void TCustomFFConverter::StopBeforeDestroy()
{
    // Nothing is raised any more; a queue still running is stopped while the component is whole.
    {
        std::lock_guard<std::mutex> lock(FEventLock);
        FOnCustomHook = nullptr;
        FOnPreviewBitmap = nullptr;
        FOnProgress = nullptr;
        FOnTerminate = nullptr;
    }
    try {
        Stop(true);
    } catch (...) {}
    FDelivery->DiscardPending();
    FDelivery->WaitIdle();
}

bool TCustomFFConverter::LoadAVLib(const TPathFileName& APath)
{
    if (ComponentState() & csDesigning) return true;
    DefaultLoader().SetLibraryPath(APath);
    bool result = DefaultLoader().Load(ConverterLibraries);
    if (!result) FLastErrMsg = DefaultLoader().LastErrMsg();
    return result;
}

bool TCustomFFConverter::AVLibLoaded() { return DefaultLoader().Loaded(ConverterLibraries); }

void TCustomFFConverter::UnloadAVLib() { DefaultLoader().Unload(ConverterLibraries); }

TFFmpeg* TCustomFFConverter::CreateTask(int AMaxFiles) { return new TFFmpeg(AMaxFiles); }

// --- events ---

// Handlers are copied in and out under the event lock.
namespace {

template <class TEvent>
TEvent ReadEvent(std::mutex& lock, const TEvent& event)
{
    std::lock_guard<std::mutex> guard(lock);
    return event;
}

template <class TEvent>
void WriteEvent(std::mutex& lock, TEvent& event, TEvent value)
{
    std::lock_guard<std::mutex> guard(lock);
    event = std::move(value);
}

}  // namespace

TCustomFFConverter::TCustomHookEvent TCustomFFConverter::OnCustomHook() { return ReadEvent(FEventLock, FOnCustomHook); }
void TCustomFFConverter::SetOnCustomHook(TCustomHookEvent AEvent)
{
    WriteEvent(FEventLock, FOnCustomHook, std::move(AEvent));
}

TCustomFFConverter::TPreviewBitmapEvent TCustomFFConverter::OnPreviewBitmap()
{
    return ReadEvent(FEventLock, FOnPreviewBitmap);
}
void TCustomFFConverter::SetOnPreviewBitmap(TPreviewBitmapEvent AEvent)
{
    WriteEvent(FEventLock, FOnPreviewBitmap, std::move(AEvent));
}

TCustomFFConverter::TProgressEvent TCustomFFConverter::OnProgress() { return ReadEvent(FEventLock, FOnProgress); }
void TCustomFFConverter::SetOnProgress(TProgressEvent AEvent)
{
    WriteEvent(FEventLock, FOnProgress, std::move(AEvent));
}

TCustomFFConverter::TTerminateEvent TCustomFFConverter::OnTerminate() { return ReadEvent(FEventLock, FOnTerminate); }
void TCustomFFConverter::SetOnTerminate(TTerminateEvent AEvent)
{
    WriteEvent(FEventLock, FOnTerminate, std::move(AEvent));
}

// --- properties ---

void TCustomFFConverter::SetPreview(bool AValue)
{
    TServingLock lock(PostHookLock());
    FFFmpegList.SetPreviewAll(AValue);
    FPreview = AValue;
}

void TCustomFFConverter::SetPreviewBitmap(bool AValue)
{
    TServingLock lock(PostHookLock());
    FFFmpegList.SetPreviewBitmapAll(AValue);
    FPreviewBitmap = AValue;
}

void TCustomFFConverter::SetProgressInterval(int AValue) { FProgressInterval = AValue <= 100 ? 100 : AValue; }

// --- the task list ---

void TCustomFFConverter::CheckNotWorking(const String& AOperation)
{
    if (FWorking) throw Exception(Format(L"Cannot %s while working.", AOperation.c_str()));
}

// While a Stop waits for the tasks, the handlers it serves must not change the task list.
void TCustomFFConverter::CheckNotStopping(const String& AOperation)
{
    if (FStopping > 0) throw Exception(Format(L"Cannot %s while working.", AOperation.c_str()));
}

void TCustomFFConverter::ClearTasks()
{
    {
        TServingLock lock(FTerminateLock);
        if (FWorking && !FTerminated) throw Exception(L"Cannot ClearTasks while working.");
        CheckNotStopping(L"ClearTasks");
        // Ends of the cleared queue that have not reached the handler yet are not raised later.
        FDelivery->DiscardPending();
        FLastErrMsg.clear();
        FCompleteTasks = 0;
        FCurrentTask = -1;
        FPendingTasks = 0;
        FTerminated = false;
        FThreadMode = false;
        FWorking = false;
        FPaused = false;
    }
    FFFmpegList.Clear();
}

TAVProbe* TCustomFFConverter::GetTaskProbe(int ATaskIndex, int AFileIndex)
{
    TFFmpeg* task = FFFmpegList.Items(ATaskIndex);
    // A waiting task's closed inputs are opened again for their probes (not while the queue
    // runs: the task may be starting on a converting thread).
    if (!FWorking && task->InputsClosedForNow()) {
        try {
            ReopenTaskInputs(*task);
        } catch (const Exception& e) {
            FLastErrMsg = e.Message();
        }
    }
    TAVProbe* probe = task->GetProbe(AFileIndex);
    if (!probe->FileHandle() && AFileIndex < task->Fnb_input_files && task->Finput_files[AFileIndex])
        AttachProbe(*task, AFileIndex);
    return probe;
}

void TCustomFFConverter::Exchange(int ATaskIndex1, int ATaskIndex2)
{
    CheckNotWorking(L"Exchange");
    CheckNotStopping(L"Exchange");
    FFFmpegList.Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomFFConverter::RemoveTask(int ATaskIndex)
{
    CheckNotWorking(L"RemoveTask");
    CheckNotStopping(L"RemoveTask");
    FFFmpegList.Delete(ATaskIndex);
}

// --- the queue ---

void TCustomFFConverter::Start(int AThreadCount)
{
    CheckNotWorking(L"StartTask");
    CheckNotStopping(L"StartTask");
    TDirectEnds direct;
    bool inlineRun = false;
    {
        TServingLock lock(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = FFFmpegList.Count();
        FTerminated = false;
        FThreadMode = AThreadCount > 0;
        FWorking = true;
        FPaused = false;
        FFreeSlots = 0;
        if (FFFmpegList.Count() == 0) {
            // An empty queue ends at once, so the component does not stay locked.
            FinishQueue(direct);
        } else if (FThreadMode) {
            StartTasks(AThreadCount);
        } else {
            FRunningInline = true;
            inlineRun = true;
        }
    }
    if (inlineRun) {
        try {
            for (;;) {
                TFFmpeg* task;
                {
                    TServingLock lock(FTerminateLock);
                    task = TakeNextTask();
                }
                if (!task) break;
                // Converts here; its end comes back through DoTerminate on this thread.
                task->StartConvert(false, FThreadPriority);
            }
        } catch (...) {
            TServingLock lock(FTerminateLock);
            FRunningInline = false;
            throw;
        }
        TServingLock lock(FTerminateLock);
        FRunningInline = false;
        if (QueueCanEnd()) FinishQueue(direct);
    }
    RaiseDirect(direct);
}

// Takes the next pending task and counts it as started; nil when none is pending.
TFFmpeg* TCustomFFConverter::TakeNextTask()
{
    if (FPendingTasks <= 0 || FCurrentTask >= FFFmpegList.Count()) return nullptr;
    --FPendingTasks;
    TFFmpeg* task = FFFmpegList.Items(FCurrentTask);
    ++FCurrentTask;
    task->ReportInterval = int64_t(FProgressInterval) * 1000;
    return task;
}

// Starts tasks while converting slots are free. A task that ends at once (it is refused) frees
// its slot from inside the loop; the loop, not a nested one, then starts its successor. The
// threads run once all of them count as converting, so tasks started together share the cores
// evenly whichever opens its codecs first.
void TCustomFFConverter::StartTasks(int ASlots)
{
    FFreeSlots += ASlots;
    if (FStartingTasks) return;
    FStartingTasks = true;
    std::vector<TThread*> threads;
    auto run = [&] {
        for (TThread* thread : threads) thread->Start();
        FStartingTasks = false;
    };
    try {
        while (FFreeSlots > 0 && FPendingTasks > 0) {
            --FFreeSlots;
            if (TThread* thread = StartNextTask()) threads.push_back(thread);
        }
    } catch (...) {
        run();
        throw;
    }
    run();
}

TThread* TCustomFFConverter::StartNextTask()
{
    TFFmpeg* task = TakeNextTask();
    if (!task) return nullptr;
    TThread* thread = task->StartConvert(FThreadMode, FThreadPriority);
    if (thread && FPaused) task->Pause();
    return thread;
}

bool TCustomFFConverter::QueueCanEnd() const
{
    return FWorking && !FTerminated && !FRunningInline && FPendingTasks <= 0 && FCompleteTasks >= FFFmpegList.Count();
}

void TCustomFFConverter::FinishQueue(TDirectEnds& ADirect)
{
    // Set before the end is raised, so that its handler may clear the tasks at once.
    FTerminated = true;
    TTerminateEvent event = OnTerminate();
    if (!event) return;
    FTerminateInfo.TaskIndex = -1;
    FTerminateInfo.Finished = true;
    FTerminateInfo.Exception = false;
    FTerminateInfo.ExceptionMsg.clear();
    DeliverEnd(event, FTerminateInfo, ADirect);
}

void TCustomFFConverter::DeliverEnd(const TTerminateEvent& AEvent, const TTerminateInfo& AInfo, TDirectEnds& ADirect)
{
    if (FThreadMode)
        FDelivery->Deliver(AEvent, this, AInfo, FTriggerEventInMainThread);
    else
        ADirect.push_back(AInfo);
}

void TCustomFFConverter::RaiseDirect(const TDirectEnds& ADirect)
{
    if (ADirect.empty()) return;
    TTerminateEvent event = OnTerminate();
    if (!event) return;
    for (const TTerminateInfo& info : ADirect) event(this, info);
}

void TCustomFFConverter::Pause()
{
    TServingLock lock(FTerminateLock);
    if (FWorking && !FTerminated) FPaused = true;
    FFFmpegList.PauseAll();
}

void TCustomFFConverter::Resume()
{
    TServingLock lock(FTerminateLock);
    FPaused = false;
    FFFmpegList.ResumeAll();
}

void TCustomFFConverter::Stop(bool AWaitFor)
{
    {
        TServingLock lock(FTerminateLock);
        // A queue that is not running has nothing to stop: its tasks stay ready to start.
        if (!FWorking || FTerminated) return;
        FPendingTasks = 0;
        FPaused = false;
        ++FStopping;
    }
    // Outside the lock: the tasks' ends need it. The list cannot change meanwhile.
    try {
        FFFmpegList.StopAll(AWaitFor);
    } catch (...) {
        --FStopping;
        throw;
    }
    --FStopping;
}

// --- relays ---

void TCustomFFConverter::ConnectTask(TFFmpeg& ATask)
{
    ATask.FOnProgress = [this](TObject* ASender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                               float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration) {
        DoProgress(ASender, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize, ACurrentDuration,
                   ATotalDuration);
    };
    ATask.FOnTerminate = [this](TObject* ASender) { DoTerminate(ASender); };
}

void TCustomFFConverter::DoTerminate(TObject* ASender)
{
    TDirectEnds direct;
    {
        TServingLock lock(FTerminateLock);
        int index = FFFmpegList.IndexOf(ASender);
        // Only the ends of a running queue count.
        if (index < 0 || !FWorking || FTerminated) return;
        if (TTerminateEvent event = OnTerminate()) {
            TFFmpeg* task = FFFmpegList.Items(index);
            FTerminateInfo.TaskIndex = index;
            FTerminateInfo.Finished = task->FFinished;
            FTerminateInfo.Exception = task->FFatalException;
            FTerminateInfo.ExceptionMsg = task->FFatalMessage;
            DeliverEnd(event, FTerminateInfo, direct);
        }
        ++FCompleteTasks;
        if (FPendingTasks > 0) {
            // In thread mode the next task starts from the thread of the one that ended;
            // without it, Start's loop goes on.
            if (FThreadMode) StartTasks(1);
        } else if (QueueCanEnd()) {
            FinishQueue(direct);
        }
    }
    RaiseDirect(direct);
}

void TCustomFFConverter::DoProgress(TObject* ASender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                                    float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                                    int64_t ATotalDuration)
{
    TProgressEvent event = OnProgress();
    if (!event) return;
    TServingLock lock(FProgressLock);
    FProgressInfo.TaskIndex = FFFmpegList.IndexOf(ASender);
    FProgressInfo.FileIndex = AFileIndex;
    FProgressInfo.FrameNumber = AFrameNumber;
    FProgressInfo.FPS = AFPS;
    FProgressInfo.Quality = AQuality;
    FProgressInfo.BitRate = ABitRate;
    FProgressInfo.CurrentSize = ACurrentSize;
    FProgressInfo.CurrentDuration = ACurrentDuration;
    FProgressInfo.TotalDuration = ATotalDuration;
    if (FTriggerEventInMainThread)
        RunInMainThread([&] { event(this, &FProgressInfo); });
    else
        event(this, &FProgressInfo);
}

void TCustomFFConverter::DoPreviewBitmap(TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS)
{
    TPreviewBitmapEvent event = OnPreviewBitmap();
    if (!event) return;
    TServingLock lock(FPreviewLock);
    FPreviewInfo.TaskIndex = FFFmpegList.IndexOf(ASender);
    FPreviewInfo.Bitmap = ABitmap;
    FPreviewInfo.FrameNumber = AFrameNumber;
    FPreviewInfo.PTS = APTS;
    if (FTriggerEventInMainThread)
        RunInMainThread([&] { event(this, FPreviewInfo); });
    else
        event(this, FPreviewInfo);
}

void TCustomFFConverter::DoCustomHook(TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS, bool& AUpdate,
                                      bool& AStopHook)
{
    TCustomHookEvent event = OnCustomHook();
    if (!event) return;
    TServingLock lock(FHookLock);
    FHookInfo.TaskIndex = FFFmpegList.IndexOf(ASender);
    FHookInfo.Bitmap = ABitmap;
    FHookInfo.FrameNumber = AFrameNumber;
    FHookInfo.PTS = APTS;
    FHookInfo.Update = AUpdate;
    FHookInfo.StopHook = AStopHook;
    // Always on the converting thread: the handler works on the picture in place, its canvas
    // locked, so other threads that paint on it wait meanwhile.
    TCanvas* canvas = ABitmap ? ABitmap->Canvas() : nullptr;
    if (canvas) canvas->Lock();
    try {
        event(this, &FHookInfo);
    } catch (...) {
        if (canvas) canvas->Unlock();
        throw;
    }
    if (canvas) canvas->Unlock();
    AUpdate = FHookInfo.Update;
    AStopHook = FHookInfo.StopHook;
}
