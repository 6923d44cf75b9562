// The encoder format choice of a new output stream: the requested sample format, sample rate
// and pixel format are brought into what the stream's encoder supports. The stream operations
// (output_streams.cpp) call these after setting the requested values.
#include <cstdlib>

#include "engine/av_bindings.h"
#include "engine/ffmpeg_logger.h"
#include "engine/ffmpeg_task.h"

void TCustomFFmpeg::ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!AContext || !ACodec || !ACodec->sample_fmts) return;
    for (const AVSampleFormat* p = ACodec->sample_fmts; *p != AV_SAMPLE_FMT_NONE; ++p)
        if (*p == AContext->sample_fmt) return;
    AContext->sample_fmt = ACodec->sample_fmts[0];
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!AContext || !ACodec || !ACodec->supported_samplerates || ACodec->supported_samplerates[0] == 0) return;
    int best = 0;
    long bestDiff = -1;
    for (const int* p = ACodec->supported_samplerates; *p != 0; ++p) {
        long diff = std::labs(long(AContext->sample_rate) - long(*p));
        // On equal distances the earlier entry stays.
        if (bestDiff < 0 || diff < bestDiff) {
            best = *p;
            bestDiff = diff;
        }
    }
    if (bestDiff != 0)
        DefaultLogger()->Log(this, llWarning, L"Requested sampling rate unsupported using closest supported (%d)",
                             best);
    AContext->sample_rate = best;
}

void TCustomFFmpeg::ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!AContext || !ACodec || !ACodec->pix_fmts) return;
    for (const AVPixelFormat* p = ACodec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AContext->pix_fmt) return;
    // MJPEG takes the plain YUV formats too when the compliance is relaxed.
    if (ACodec->id == AV_CODEC_ID_MJPEG && AContext->strict_std_compliance < FF_COMPLIANCE_NORMAL &&
        (AContext->pix_fmt == AV_PIX_FMT_YUV420P || AContext->pix_fmt == AV_PIX_FMT_YUV422P))
        return;
    AContext->pix_fmt = ACodec->pix_fmts[0];
}
