// The statistics file of a two-pass encoding: the first pass writes what the encoder reports
// after each packet into "<prefix>-<stream>.log" (prefix "ffmpeg2pass" when none was given),
// the second pass hands the whole file to the encoder before it is opened. libx264 keeps its
// own statistics file: it is pointed at the same name. Called by the set-up of a run
// (transcode_setup.cpp) for each encoded stream with a pass flag.
#include <cstdio>

#include "engine/av_bindings.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

void TCustomFFmpeg::OpenPassLogFile(TAVOutputStream* AStream, int AIndex)
{
    AVCodecContext* codec = AStream->enc;
    std::string name = (Fpass_logfilename_prefix.empty() ? std::string("ffmpeg2pass") : Fpass_logfilename_prefix) +
                       "-" + std::to_string(AIndex) + ".log";
    if (name.size() > 1023) name.resize(1023);
    if (AStream->encoder && std::string(AStream->encoder->name) == "libx264")
        av::av_opt_set(codec, "stats", name.c_str(), AV_OPT_SEARCH_CHILDREN);
    if (codec->flags & AV_CODEC_FLAG_PASS1) {
        FILE* file = fopen(name.c_str(), "wb");
        if (!file) throw FFmpegException(Format("Cannot write log file %s for pass-1 encoding", name));
        AStream->logfile = file;
        return;
    }
    uint8_t* buffer = nullptr;
    int size = 0;
    int result = ReadWholeFile(name.c_str(), &buffer, &size);
    if (result == -12)
        throw FFmpegException(
            Format("Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding", name));
    if (result < 0)
        throw FFmpegException(Format("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", name));
    av::av_freep(&codec->stats_in);
    codec->stats_in = reinterpret_cast<char*>(buffer);
}
