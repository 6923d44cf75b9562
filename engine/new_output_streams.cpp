// Streams added to an opened output file. Output files are opened by the output stage, which
// brings the real stream operations; until then no stream can be made.
#include "engine/ffmpeg_task.h"

void TCustomFFmpeg::new_video_stream(AVFormatContext*)
{
    throw FFmpegException(L"Could not alloc stream");
}
void TCustomFFmpeg::new_audio_stream(AVFormatContext*)
{
    throw FFmpegException(L"Could not alloc stream");
}
void TCustomFFmpeg::new_subtitle_stream(AVFormatContext*)
{
    throw FFmpegException(L"Could not alloc stream");
}
