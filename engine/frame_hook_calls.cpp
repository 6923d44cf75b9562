// Where a transcode run hands pictures to the task's hooks: every decoded video picture before
// it reaches the encoders (PreProcessVideoFrame) and every picture handed to a video encoder
// (ProcessPostHooks, for the preview). The hooks and the preview window are not part of the
// engine yet: the calls only count the pictures, so the frame numbers are right once they come.
#include "engine/ffmpeg_task.h"

void TCustomFFmpeg::PreProcessVideoFrame(TAVInputStream*, AVFrame*)
{
    ++FHookFrameNumber;
}

void TCustomFFmpeg::ProcessPostHooks(AVFrame*, AVCodecContext*)
{
}
