// The threads the codecs of a conversion get.
#include "engine/codec_threads.h"

#include <sched.h>

#include <algorithm>
#include <thread>

namespace {

std::atomic<int> CoreOverride{0};
std::atomic<int> Converting{0};

}  // namespace

int CoreCount()
{
    if (int cores = CoreOverride; cores > 0) return cores;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    return std::max(1, int(std::thread::hardware_concurrency()));
}

void SetCoreCountOverride(int ACores) { CoreOverride = std::max(0, ACores); }

int ConvertingTasks() { return Converting; }

int CodecThreadCount() { return std::max(1, CoreCount() / std::max(1, ConvertingTasks())); }

int CodecThreadRequest(int AShare) { return AShare >= CoreCount() && AShare > 1 ? 0 : std::max(1, AShare); }

TConvertingTask::TConvertingTask() { ++Converting; }

TConvertingTask::~TConvertingTask() { --Converting; }
