// The chain of video hook libraries of a task ("vhook"): shared libraries that export the C entry
// points "Configure", "Process" and "Release" and process each decoded picture in place. The option
// setter adds a library with its arguments (AddFrameHook), the transcoder lets the chain process
// every decoded picture (ProcessFrameHooks, frame_hook_calls.cpp) and releases it when the task is
// cleaned up (ReleaseFrameHooks). A library is loaded once per process and stays loaded.
#pragma once

#include <cstdint>

#include "engine/media_utils.h"

// The entry points, with the C calling convention. The picture record is four plane pointers and
// four line sizes.
extern "C" {
typedef int (*TFrameHookConfigureFn)(void** ctxp, int argc, char* argv[]);
typedef void (*TFrameHookProcessFn)(void* ctx, TAVPicture* picture, int pix_fmt, int width, int height, int64_t pts);
typedef void (*TFrameHookReleaseFn)(void* ctx);
}

struct TFrameHookEntry {
    TFrameHookEntry* next;
    TFrameHookConfigureFn Configure;
    TFrameHookProcessFn Process;
    TFrameHookReleaseFn Release;
    void* ctx;  // the library's own context
};
using PFrameHookEntry = TFrameHookEntry*;

// Loads the library AArgs[0] (once per process), configures a new entry with the arguments
// (AArgs[0] is the library's path) and appends it to the chain: 0, or -1 (library not loaded),
// -2 (no arguments, no "Process", or no "Configure" while arguments are given), -12 (no memory),
// -22 (configuration refused).
int AddFrameHook(PFrameHookEntry& AFirst, int AArgCount, char** AArgs);
void ProcessFrameHooks(PFrameHookEntry AFirst, TAVPicture* APicture, int APixelFormat, int AWidth, int AHeight,
                       int64_t APTS);
// Calls "Release" of every entry that has it and frees the entries; AFirst becomes nullptr.
void ReleaseFrameHooks(PFrameHookEntry& AFirst);
// How many hook libraries the process has loaded.
int FrameHookLibraryCount();
