// The folder change watcher. See shell_change_notifier.h.
#include "skin/dialogs/shell_change_notifier.h"

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"

std::atomic<int> TbsShellChangeThread::FLiveCount{0};

DWORD NotifyFiltersToFlags(TNotifyFilters Filters)
{
    DWORD flags = 0;
    if (Filters.Contains(nfFileNameChange)) flags |= FILE_NOTIFY_CHANGE_FILE_NAME;
    if (Filters.Contains(nfDirNameChange)) flags |= FILE_NOTIFY_CHANGE_DIR_NAME;
    if (Filters.Contains(nfAttributeChange)) flags |= FILE_NOTIFY_CHANGE_ATTRIBUTES;
    if (Filters.Contains(nfSizeChange)) flags |= FILE_NOTIFY_CHANGE_SIZE;
    if (Filters.Contains(nfWriteChange)) flags |= FILE_NOTIFY_CHANGE_LAST_WRITE;
    if (Filters.Contains(nfSecurityChange)) flags |= FILE_NOTIFY_CHANGE_SECURITY;
    return flags;
}

// ---- the watch thread ----

TbsShellChangeThread::TbsShellChangeThread(TThreadMethod ChangeEvent) : FChangeEvent(std::move(ChangeEvent))
{
    FreeOnTerminate = true;
    FWakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ++FLiveCount;
}

TbsShellChangeThread::~TbsShellChangeThread()
{
    if (FWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FWaitHandle);
    if (FNewWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FNewWaitHandle);
    if (FWakeEvent) CloseHandle(FWakeEvent);
    --FLiveCount;
}

void TbsShellChangeThread::SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags)
{
    // The new watch is open before this returns, so no change made afterwards is missed; the
    // thread takes it over (and closes its old one) when its wait returns, at once.
    HANDLE watch = FindFirstChangeNotificationW(Directory.c_str(), WatchSubTree, NotifyOptionFlags);
    TCriticalSectionLock lock(ShellWatchLock());
    FDirectory = Directory;
    FWatchSubTree = WatchSubTree;
    FNotifyOptionFlags = NotifyOptionFlags;
    if (FWaitChanged && FNewWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FNewWaitHandle);
    FNewWaitHandle = watch;
    FWaitChanged = true;
    SetEvent(FWakeEvent);
}

void TbsShellChangeThread::Finish()
{
    FCancelled = true;
    Terminate();
    SetEvent(FWakeEvent);
}

void TbsShellChangeThread::Deliver()
{
    // On the UI thread, while this thread waits: the notifier may have gone meanwhile.
    if (FCancelled || !FChangeEvent) return;
    try {
        FChangeEvent();
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TbsShellChangeThread::Execute()
{
    while (!Terminated()) {
        {
            TCriticalSectionLock lock(ShellWatchLock());
            if (FWaitChanged) {
                // Only this thread closes the watch it waits on.
                if (FWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FWaitHandle);
                FWaitHandle = FNewWaitHandle;
                FNewWaitHandle = INVALID_HANDLE_VALUE;
                FWaitChanged = false;
            }
        }
        // A folder that cannot be watched leaves the wake-up alone: the thread runs blind.
        HANDLE handles[2] = {FWaitHandle, FWakeEvent};
        const bool blind = FWaitHandle == INVALID_HANDLE_VALUE;
        const DWORD r = WaitForMultipleObjects(blind ? 1 : 2, blind ? handles + 1 : handles, FALSE, INFINITE);
        if (r == WAIT_FAILED) {
            // A failed wait ends the watch. The notifier forgets this thread first (on the UI
            // thread, unless it has let go of it already), so it never holds an ended one.
            try {
                Synchronize([this] {
                    if (!FCancelled && FOnWatchEnded) FOnWatchEnded();
                });
            } catch (...) {}
            break;
        }
        if (!blind && r == WAIT_OBJECT_0) {
            if (!Terminated()) {
                try {
                    Synchronize([this] { Deliver(); });
                } catch (...) {}
            }
            FindNextChangeNotification(FWaitHandle);
        }
    }
}

// ---- the notifier ----

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner)
{
    StartWatchThread();  // nothing yet: no OnChange
}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier()
{
    if (FThread) {
        TbsShellChangeThread* thread = FThread;
        FThread = nullptr;
        thread->Finish();
    }
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value)
{
    FFilters = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetRoot(const TRoot& Value)
{
    if (Value == FRoot || (RootFolderKind(Value) >= 0 && SameText(Value, FRoot))) return;
    FRoot = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value)
{
    FWatchSubTree = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod Value)
{
    FOnChange = std::move(Value);
    if (FThread)
        FThread->SetChangeEvent(FOnChange);
    else
        StartWatchThread();
}

void TbsCustomShellChangeNotifier::ApplyWatchOptions()
{
    if (FThread) FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFiltersToFlags(FFilters));
}

void TbsCustomShellChangeNotifier::StartWatchThread()
{
    if (!FOnChange) return;
    FThread = new TbsShellChangeThread(FOnChange);
    FThread->FOnWatchEnded = [this] { FThread = nullptr; };
    ApplyWatchOptions();
    FThread->Start();
}
