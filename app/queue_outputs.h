// The output files of a queue, checked once more just before it starts: between adding a job and
// starting the queue, files appear in the output folder, other jobs take the same name, and a
// job may name one of the inputs. The names handed to the engine must avoid all of that.
#pragma once

#include <vector>

#include "platform/framework/core/types.h"

struct TQueueJobFiles {
    String Input;   // the job's input file
    String Output;  // the output file the job asks for
};

// The output file of each job, in order. A name is kept unless an earlier job already took it,
// it is one of the inputs, or (without AOverwrite) a file of that name exists; then "_1", "_2"...
// go before its extension, the first free one taken. Nothing is created here.
std::vector<String> ResolveQueueOutputs(const std::vector<TQueueJobFiles>& AJobs, bool AOverwrite);
