// The output files of a queue, checked once more just before it starts: between adding a job and
// starting the queue, files appear in the output folder, other jobs take the same name, and a
// job may name one of the inputs. The names handed to the engine must avoid all of that.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/core/types.h"

struct TQueueJobFiles {
    String Input;      // the job's input file
    String Output;     // the output file the job asks for
    bool Own = false;  // the file at Output, if any, is one this program wrote for this job
};

// The output file of each job, in order. A name is kept unless an earlier job already took it,
// it is one of the inputs, or a file of that name exists that the job may not replace (without
// AOverwrite only its own earlier output); then "_1", "_2"... go before its extension, the first
// free one taken. Nothing is created here.
std::vector<String> ResolveQueueOutputs(const std::vector<TQueueJobFiles>& AJobs, bool AOverwrite);

// The files this program wrote for its job rows, kept in memory: a row converted again may
// replace its own output, while a file put at that name since (or changed since) is someone
// else's. A row is known by its job slot and input file.
class TWrittenOutputs {
public:
    // Notes AOutput, as the file is now, as written for the row; nothing when it does not exist.
    void Note(int ASlot, const String& AInput, const String& AOutput);
    // Whether AOutput is a file noted for that row and still the same file, unchanged.
    bool Owns(int ASlot, const String& AInput, const String& AOutput) const;

private:
    struct TEntry {
        int Slot;
        String Input;
        String Output;  // the full name, links resolved
        uint64_t Device, Inode;
        int64_t Size, Modified;  // bytes; nanoseconds
    };
    std::vector<TEntry> FEntries;
};
