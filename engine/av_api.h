// The declarations of the media libraries (FFmpeg 5.1, SDL 1.2) for the engine. Only their
// types, constants and function signatures are used: the functions themselves are reached
// through the run-time slots of av_bindings.h, never by a direct call (nothing links them).
#pragma once

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavcodec/bsf.h>
#include <libavdevice/avdevice.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/avstring.h>
#include <libavutil/avutil.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
#include <libavutil/time.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>

#include <SDL.h>
}

#pragma GCC diagnostic pop

// SDL 1.2 spells its lock operations as macros over SDL_mutexP/SDL_mutexV; the engine binds
// both spellings as slots of their own, so the macros must not rewrite the slot names.
#undef SDL_LockMutex
#undef SDL_UnlockMutex
