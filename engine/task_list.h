// TFFmpegList: the task component's list of tasks. It owns its tasks; a task's index is its
// position in the list. The walks over every task serve the component's Pause, Resume, Stop
// and its preview switches.
#pragma once

#include <vector>

#include "engine/transcoder.h"

class TFFmpegList : public TObject {
public:
    ~TFFmpegList() override;

    int Add(TFFmpeg* ATask);  // appends; the task's index
    void Clear();             // frees every task, then empties the list
    void Delete(int AIndex);  // frees the task and removes it
    void Exchange(int AIndex1, int AIndex2);
    TFFmpeg* Items(int AIndex) const;
    int IndexOf(const TObject* ATask) const;  // -1 when not in the list
    int Count() const { return int(FList.size()); }

    void PauseAll();
    void ResumeAll();
    void StopAll(bool AWaitFor);
    void SetPreviewAll(bool AValue);
    void SetPreviewBitmapAll(bool AValue);

private:
    void SetPostHookAll(TPostHook AHook, bool AValue);

    std::vector<TFFmpeg*> FList;
};
