// The task component's list of tasks.
#include "engine/task_list.h"

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"

TFFmpegList::~TFFmpegList() { Clear(); }

int TFFmpegList::Add(TFFmpeg* ATask)
{
    FList.push_back(ATask);
    return int(FList.size()) - 1;
}

void TFFmpegList::Clear()
{
    // Freed from the last: a task's destructor may wait for its thread, which still finds the
    // tasks before it in the list.
    while (!FList.empty()) {
        TFFmpeg* task = FList.back();
        delete task;
        FList.pop_back();
    }
}

static void CheckIndex(int AIndex, int ACount)
{
    if (AIndex < 0 || AIndex >= ACount) throw EListError(Format(L"List index out of bounds (%d)", AIndex));
}

void TFFmpegList::Delete(int AIndex)
{
    CheckIndex(AIndex, Count());
    TFFmpeg* task = FList[AIndex];
    delete task;
    FList.erase(FList.begin() + AIndex);
}

void TFFmpegList::Exchange(int AIndex1, int AIndex2)
{
    CheckIndex(AIndex1, Count());
    CheckIndex(AIndex2, Count());
    std::swap(FList[AIndex1], FList[AIndex2]);
}

TFFmpeg* TFFmpegList::Items(int AIndex) const
{
    CheckIndex(AIndex, Count());
    return FList[AIndex];
}

int TFFmpegList::IndexOf(const TObject* ATask) const
{
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i] == ATask) return int(i);
    return -1;
}

void TFFmpegList::PauseAll()
{
    for (TFFmpeg* task : FList) task->Pause();
}

void TFFmpegList::ResumeAll()
{
    for (TFFmpeg* task : FList) task->Resume();
}

void TFFmpegList::StopAll(bool AWaitFor)
{
    for (TFFmpeg* task : FList) task->Cancel(AWaitFor);
}

void TFFmpegList::SetPostHookAll(TPostHook AHook, bool AValue)
{
    // The set is read and written under the lock the post-hook routine takes.
    TCriticalSectionLock lock(PostHookLock());
    for (TFFmpeg* task : FList) {
        TPostHooks hooks = task->FPostHooks;
        hooks = AValue ? (hooks | PostHookSet(AHook)) : (hooks & ~PostHookSet(AHook));
        task->SetPostHooksLocked(hooks);
    }
}

void TFFmpegList::SetPreviewAll(bool AValue) { SetPostHookAll(phPreview, AValue); }

void TFFmpegList::SetPreviewBitmapAll(bool AValue) { SetPostHookAll(phBitmap, AValue); }
