// The threads the codecs of a conversion get: the cores left free, shared among the tasks that
// convert at the moment a task opens its codecs (at least one each). A task counts as converting
// from the start of its run to its end (TConvertingTask); tasks that start later see fewer free
// cores, tasks already running keep what they opened with. The player and the probe keep their
// own set-up.
#pragma once

#include <atomic>

// The cores the engine shares out: those the process may run on, or the count a test set with
// SetCoreCountOverride (0 gives back the machine's).
int CoreCount();
void SetCoreCountOverride(int ACores);

// The number of tasks converting now.
int ConvertingTasks();

// Threads for each codec of a task that opens its codecs now: CoreCount() / ConvertingTasks(),
// at least 1.
int CodecThreadCount();

// The thread count a codec context asks the libraries for, given the task's share: a task with
// every core lets each library choose (0), as the command does; the H.264 encoder then runs more
// threads than cores, which keeps its frame pipeline full. A smaller share is asked as it is.
int CodecThreadRequest(int AShare);

// Counts a task as converting while it lives.
class TConvertingTask {
public:
    TConvertingTask();
    ~TConvertingTask();
    TConvertingTask(const TConvertingTask&) = delete;
    TConvertingTask& operator=(const TConvertingTask&) = delete;
};
