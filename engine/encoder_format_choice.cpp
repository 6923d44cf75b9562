// The encoder format choice of a new output stream: the requested sample format, sample rate
// and pixel format are brought into what the stream's encoder supports. The stream operations
// (output_streams.cpp) call these after setting the requested values.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

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

void TCustomFFmpeg::CheckChannelCount(const AVCodec* ACodec, int AChannels)
{
    if (!ACodec || !ACodec->ch_layouts || ACodec->ch_layouts[0].nb_channels == 0) return;
    std::vector<int> counts;
    for (const AVChannelLayout* p = ACodec->ch_layouts; p->nb_channels != 0; ++p) {
        if (p->nb_channels == AChannels) return;
        if (std::find(counts.begin(), counts.end(), p->nb_channels) == counts.end()) counts.push_back(p->nb_channels);
    }
    std::string list;
    for (int count : counts) list += (list.empty() ? "" : ", ") + std::to_string(count);
    throw FFmpegException(
        Format(L"Encoder '%s' cannot take %d audio channels (it takes %s)", ACodec->name, AChannels, list));
}

void TCustomFFmpeg::ChooseChannelLayout(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!AContext || !ACodec || !ACodec->ch_layouts || ACodec->ch_layouts[0].nb_channels == 0) return;
    const int wanted = AContext->ch_layout.nb_channels;
    const AVChannelLayout* choice = nullptr;
    for (const AVChannelLayout* p = ACodec->ch_layouts; p->nb_channels != 0; ++p) {
        if (av::av_channel_layout_compare(p, &AContext->ch_layout) == 0) return;
        if (!choice && p->nb_channels == wanted) choice = p;
    }
    if (!choice) {
        // None with the channel count: the nearest the encoder takes, fewer rather than more
        // (the resampler mixes them down).
        for (const AVChannelLayout* p = ACodec->ch_layouts; p->nb_channels != 0; ++p) {
            const bool fits = p->nb_channels <= wanted;
            const bool choiceFits = choice && choice->nb_channels <= wanted;
            if (!choice || (fits && !choiceFits) || (fits && p->nb_channels > choice->nb_channels) ||
                (!fits && !choiceFits && p->nb_channels < choice->nb_channels))
                choice = p;
        }
        char from[64] = "", to[64] = "";
        av::av_channel_layout_describe(&AContext->ch_layout, from, sizeof from);
        av::av_channel_layout_describe(choice, to, sizeof to);
        DefaultLogger()->Log(this, llInfo, L"Encoder '%s' does not take the channel layout %s: using %s", ACodec->name,
                             from, to);
    }
    av::av_channel_layout_uninit(&AContext->ch_layout);
    av::av_channel_layout_copy(&AContext->ch_layout, choice);
}
