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

// Counts a task as converting while it lives.
class TConvertingTask {
public:
    TConvertingTask();
    ~TConvertingTask();
    TConvertingTask(const TConvertingTask&) = delete;
    TConvertingTask& operator=(const TConvertingTask&) = delete;
};
