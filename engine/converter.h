// TCustomFFConverter / TFFConverter: the conversion task component through which the program
// converts files. It holds a list of tasks (TFFmpeg, one transcoder each, with its inputs and
// outputs described by option records or option texts), runs them as a queue one after another
// or several at a time in converting threads, pauses, resumes and stops them, and relays four
// events from the tasks: progress, the end of a task and of the queue, preview pictures and the
// custom frame hook. The main window holds one as DERID and drives it from its queue commands.
//
// Threads: every operation but Pause, Resume, Stop and the four relays is called on the main
// thread. Progress and preview pictures reach the main thread synchronously when
// TriggerEventInMainThread is True; in thread mode the ends reach it through short-lived
// delivery threads, in the order they happened, the end of the queue (TaskIndex -1) last.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/av_probe.h"
#include "engine/base_component.h"
#include "engine/library_loader.h"
#include "engine/task_list.h"
#include "engine/task_options.h"
#include "engine/terminate_delivery.h"
#include "engine/transcoder.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/framework/core/thread.h"

class TCustomFFConverter : public TFFBaseComponent {
public:
    // The component's events (the task's own events of the same names carry their values as
    // arguments; these carry the component's records).
    using TCustomHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;
    using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
    using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
    using TTerminateEvent = ::TTerminateEvent;

    explicit TCustomFFConverter(TComponent* AOwner);
    ~TCustomFFConverter() override;

    // The loader with the converter libraries.
    bool LoadAVLib(const TPathFileName& APath);
    bool AVLibLoaded();
    void UnloadAVLib();

    // A new task with one input; its index, or -1 with LastErrMsg.
    int AddTask(const String& AFileName, PInputOptions AOptions);
    int AddTask(const String& AFileName, const String& AExtOptions);
    int AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions);
    // A further input of a task.
    bool AddInputFile(int ATaskIndex, const String& AFileName, PInputOptions AOptions);
    bool AddInputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions);
    // An output of a task; False with LastErrMsg (the task stays with the outputs it had).
    bool SetOutputFile(int ATaskIndex, const String& AFileName, POutputOptions AOptions);
    bool SetOutputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions);
    bool SetOutputStream(int ATaskIndex, TStream* AStream, const String& APrivateData, POutputOptions AOptions);

    // The probe attached to input AFileIndex of a task; both indexes must be valid.
    TAVProbe* GetTaskProbe(int ATaskIndex, int AFileIndex);

    void ClearTasks();
    void Exchange(int ATaskIndex1, int ATaskIndex2);
    void RemoveTask(int ATaskIndex);

    // Runs the queue: AThreadCount tasks at once in converting threads, or with 0 or less every
    // task in turn on the calling thread (Start returns when the queue has ended).
    void Start(int AThreadCount);
    void Pause();
    void Resume();
    // Ends the queue: no further task starts, running tasks break off, waiting tasks end
    // without converting. With AWaitFor the call returns once the running tasks have ended.
    void Stop(bool AWaitFor);

    // Raises "Cannot %s while working." while the component is working.
    void CheckNotWorking(const String& AOperation);

    // --- properties ---
    const String& About() const { return FAbout; }
    void SetAbout(const String& AValue) { FAbout = AValue; }
    String Version() const { return L"3.3"; }
    TAVProbe* AVProbe() const { return FAVProbe; }
    const String& LastErrMsg() const { return FLastErrMsg; }
    int TasksCount() const { return FFFmpegList.Count(); }
    TFFmpeg* Tasks(int AIndex) const { return FFFmpegList.Items(AIndex); }
    int CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(int AValue) { FCustomMaxFiles = AValue; }
    bool Preview() const { return FPreview; }
    void SetPreview(bool AValue);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool AValue);
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int AValue);
    bool Terminated() const { return FTerminated; }
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority AValue) { FThreadPriority = AValue; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    void* UserData() const { return FData; }
    void SetUserData(void* AValue) { FData = AValue; }
    int Verbose() const { return FVerbose; }
    void SetVerbose(int AValue) { FVerbose = AValue; }
    bool Working() const { return FWorking; }

    TCustomHookEvent OnCustomHook();
    void SetOnCustomHook(TCustomHookEvent AEvent);
    TPreviewBitmapEvent OnPreviewBitmap();
    void SetOnPreviewBitmap(TPreviewBitmapEvent AEvent);
    TProgressEvent OnProgress();
    void SetOnProgress(TProgressEvent AEvent);
    TTerminateEvent OnTerminate();
    void SetOnTerminate(TTerminateEvent AEvent);

protected:
    // The relays each task calls on the thread that converts it.
    virtual void DoCustomHook(TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS, bool& AUpdate,
                              bool& AStopHook);
    virtual void DoPreviewBitmap(TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS);
    virtual void DoProgress(TObject* ASender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                            float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration);
    virtual void DoTerminate(TObject* ASender);

    // A new, empty task that can hold AMaxFiles inputs and outputs.
    virtual TFFmpeg* CreateTask(int AMaxFiles);

    // Detaches the handlers and stops a queue that still runs, waiting for its tasks and for
    // the ends on their way. A descendant's destructor calls it first, so converting threads
    // never call into a half-destroyed component.
    void StopBeforeDestroy();

private:
    // Ends to raise on the calling thread once FTerminateLock is left (without thread mode).
    using TDirectEnds = std::vector<TTerminateInfo>;

    // Steps of AddTask and SetOutputFile (converter_options.cpp).
    void ApplyInputOptions(TFFmpeg& ATask, PInputOptions AOptions);
    void ApplyTargetType(TFFmpeg& ATask, const TOutputOptions& AOptions);
    void ApplyOutputOptions(TFFmpeg& ATask, const TOutputOptions& AOptions);
    bool OpenTaskInput(TFFmpeg& ATask, const String& AFileName);
    void AttachProbe(TFFmpeg& ATask, int AFileIndex);
    void ReopenTaskInputs(TFFmpeg& ATask);
    int OpenTaskOutput(TFFmpeg& ATask, const String& AFileName, bool AJoin);
    TFFmpeg* TaskAt(int ATaskIndex, const String& AOperation);
    void CheckLibrariesLoaded();

    // Queue steps; the callers hold FTerminateLock.
    void StartTasks(int ASlots);
    // Readies the next pending task; its thread (nil when it ended at once or runs inline) is
    // for the caller to start.
    TThread* StartNextTask();
    TFFmpeg* TakeNextTask();
    void FinishQueue(TDirectEnds& ADirect);
    void DeliverEnd(const TTerminateEvent& AEvent, const TTerminateInfo& AInfo, TDirectEnds& ADirect);
    void RaiseDirect(const TDirectEnds& ADirect);
    bool QueueCanEnd() const;
    void CheckNotStopping(const String& AOperation);
    void ConnectTask(TFFmpeg& ATask);

    String FAbout;
    String FLastErrMsg;
    void* FData = nullptr;
    int FCustomMaxFiles = 20;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    std::atomic<int> FProgressInterval{500};
    std::atomic<TThreadPriority> FThreadPriority{tpNormal};
    std::atomic<bool> FTriggerEventInMainThread{true};
    int FVerbose = 1;
    THookInfo FHookInfo = {};
    TProgressInfo FProgressInfo = {};
    TTerminateInfo FTerminateInfo = {};
    TPreviewInfo FPreviewInfo = {};
    // The handlers; copied out under FEventLock, so they may be changed while tasks report.
    std::mutex FEventLock;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TTerminateEvent FOnTerminate;
    TCriticalSection FHookLock;
    TCriticalSection FPreviewLock;
    TCriticalSection FProgressLock;
    // Covers the counters, the flags below and the start of every task.
    TCriticalSection FTerminateLock;
    TFFmpegList FFFmpegList;
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    int FPendingTasks = 0;
    std::atomic<bool> FTerminated{false};
    bool FThreadMode = false;
    std::atomic<bool> FWorking{false};
    // Thread mode: converting slots free for the next start, and whether a start loop runs.
    int FFreeSlots = 0;
    bool FStartingTasks = false;
    // Without thread mode: Start's loop runs, and the end of the queue waits for it.
    bool FRunningInline = false;
    // Paused queue: tasks that start meanwhile start paused.
    bool FPaused = false;
    // Stops in progress: the task list must stay as it is meanwhile.
    std::atomic<int> FStopping{0};
    std::unique_ptr<TTerminateDelivery> FDelivery;
    TAVProbe* FAVProbe;  // owned as a component
};

// The published task component.
class TFFConverter : public TCustomFFConverter {
public:
    using TCustomFFConverter::TCustomFFConverter;
    ~TFFConverter() override { StopBeforeDestroy(); }
};
