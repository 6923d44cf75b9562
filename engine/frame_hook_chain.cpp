// The task's chain of video hook libraries ("vhook"). Hook libraries are not supported yet:
// adding one fails, so the option reports "Failed to add video hook function: ...".
#include "engine/ffmpeg_task.h"

int TCustomFFmpeg::AddFrameHookEntry(int, char**)
{
    return -1;
}

void TCustomFFmpeg::ReleaseFrameHookChain()
{
    FFirstHook = nullptr;
    FHookWords.clear();
}
