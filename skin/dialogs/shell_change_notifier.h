// The folder change watcher of the shell views: a notifier component that runs a watch thread
// (inotify and a wake-up event in one wait) and calls its OnChange on the UI thread, once per batch
// of changes. No thread runs before OnChange is first assigned; a wait that fails ends the thread,
// and its notifier then watches no more until OnChange is assigned again. A notifier being destroyed cancels
// its thread's callbacks at once (none arrives afterwards) and never waits for the thread, which
// may be waiting for the UI at that moment: the thread leaves on its own and frees itself.
#pragma once

#include <atomic>
#include <functional>

#include "platform/framework/core/component.h"
#include "platform/framework/core/thread.h"
#include "skin/dialogs/shell_folder.h"

enum TNotifyFilter {
    nfFileNameChange,
    nfDirNameChange,
    nfAttributeChange,
    nfSizeChange,
    nfWriteChange,
    nfSecurityChange
};
using TNotifyFilters = TEnumSet<TNotifyFilter>;
DWORD NotifyFiltersToFlags(TNotifyFilters Filters);

using TThreadMethod = std::function<void()>;

class TbsShellChangeThread : public TThread {
public:
    explicit TbsShellChangeThread(TThreadMethod ChangeEvent);
    ~TbsShellChangeThread() override;

    // UI thread. New options take effect at once: the new watch is open on return and the
    // thread's wait is woken to take it over.
    void SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags);
    void SetChangeEvent(TThreadMethod ChangeEvent) { FChangeEvent = std::move(ChangeEvent); }
    // UI thread: no callback runs after this; the thread ends as soon as its wait returns and
    // frees itself. The caller forgets the thread.
    void Finish();
    // Watch threads that have not ended yet.
    static int LiveCount() { return FLiveCount.load(); }

protected:
    void Execute() override;

private:
    friend class TbsCustomShellChangeNotifier;
    friend struct ShellChangeThreadProbe;  // tests: make the wait fail
    void Deliver();

    HANDLE FWakeEvent = nullptr;
    HANDLE FWaitHandle = INVALID_HANDLE_VALUE;     // the watch waited on (watch thread)
    HANDLE FNewWaitHandle = INVALID_HANDLE_VALUE;  // opened for new options, not yet taken over
    TThreadMethod FChangeEvent;                    // read and written on the UI thread only
    bool FCancelled = false;                       // likewise
    TThreadMethod FOnWatchEnded;                   // run on the UI thread when a failed wait ends the watch
    String FDirectory;
    bool FWatchSubTree = false;
    bool FWaitChanged = false;
    DWORD FNotifyOptionFlags = 0;
    static std::atomic<int> FLiveCount;
};

class TbsCustomShellChangeNotifier : public TComponent {
public:
    explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
    ~TbsCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters Value);
    // A folder path; paths compare exactly, root names ("rfDesktop") in any letter case.
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& Value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool Value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    void SetOnChange(TThreadMethod Value);
    bool Watching() const { return FThread != nullptr; }

private:
    friend struct ShellChangeThreadProbe;

protected:
    void ApplyWatchOptions();
    void StartWatchThread();

private:
    TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    TRoot FRoot = L"/";
    TbsShellChangeThread* FThread = nullptr;  // not owned: it frees itself
    TThreadMethod FOnChange;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
};
