// The video filter graph of a transcode run ("vfilters"): BuildFilterGraph sets up the graph
// between a decoded input stream and an encoded output stream. The engine has no filter graph
// yet: setting it up fails, and a run with video filters ends with "Error opening filters!".
#include "engine/ffmpeg_task.h"

int TCustomFFmpeg::BuildFilterGraph(TAVInputStream*, TAVOutputStream*)
{
    return -1;
}
