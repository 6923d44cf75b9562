// The audio output of a transcode run: DoAudioOut takes decoded samples (packed 16-bit at the
// decoder's rate and layout), keeps the output in step with its sync stream (silence in front,
// samples dropped, or drift compensation in the resampler), converts them to the encoder's
// format, rate and layout, queues them and hands the encoder frames of its own size
// (EncodeAudioQueue). Called by OutputPacket (decode_packet.cpp) on the converting thread.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

void TCustomFFmpeg::DoAudioOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                               uint8_t* ABuffer, int ASize)
{
    (void)AContext;
    TTranscodeRun& run = *FRun;
    TAVOutputStream* shared = AOutStream->first;
    AVCodecContext* enc = shared->enc;
    const int dch = AInStream->channels;
    const int drate = AInStream->sample_rate;
    const int ech = enc->ch_layout.nb_channels;
    const int erate = enc->sample_rate;
    if (dch <= 0 || drate <= 0 || ech <= 0 || erate <= 0 || ASize <= 0) return;
    if (ech != dch) shared->audio_resample = 1;

    // The converter to the encoder, made for the samples' channels and rate.
    if (!shared->resample || shared->resample_in_channels != dch || shared->resample_in_rate != drate) {
        av::swr_free(&shared->resample);
        if (shared->audio_resample && AInStream->dec && AInStream->dec->sample_fmt != AV_SAMPLE_FMT_S16 && Fverbose > 0)
            DefaultLogger()->Log(this, llVerbose, L"Warning, using s16 intermediate sample format for resampling");
        int result = av::swr_alloc_set_opts2(&shared->resample, &enc->ch_layout, enc->sample_fmt, erate,
                                             &AInStream->s16_layout, AV_SAMPLE_FMT_S16, drate, 0, nullptr);
        if (result >= 0 && Faudio_sync_method > 1) av::av_opt_set_int(shared->resample, "flags", SWR_FLAG_RESAMPLE, 0);
        if (result < 0 || av::swr_init(shared->resample) < 0) {
            av::swr_free(&shared->resample);
            throw FFmpegException(
                Format(L"Can not resample %d channels @ %d Hz to %d channels @ %d Hz", dch, drate, ech, erate));
        }
        shared->resample_in_channels = dch;
        shared->resample_in_rate = drate;
    }

    // Timestamps: the output follows its sync stream.
    const int queued = av::av_audio_fifo_size(shared->fifo);
    const double syncTime = double(AOutStream->sync_ist->pts - Fstart_time) / 1000000.0;
    if (Faudio_sync_method != 0) {
        double delta = syncTime * erate - double(AOutStream->sync_opts) - queued;
        double idelta = delta * drate / erate;
        int64_t byteDelta = int64_t(idelta) * 2 * dch;
        if (std::fabs(delta) > 50) {
            if (AInStream->is_start || std::fabs(delta) > Faudio_drift_threshold * erate) {
                if (byteDelta < 0) {
                    byteDelta = std::max<int64_t>(byteDelta, -ASize);
                    ASize += int(byteDelta);
                    ABuffer -= byteDelta;
                    if (Fverbose > 2)
                        DefaultLogger()->Log(this, llVerbose, Format(L"discarding %d audio samples", int64_t(-delta)));
                    if (ASize <= 0) return;
                    AInStream->is_start = 0;
                } else {
                    av::av_fast_malloc(&Finput_tmp, &run.input_tmp_size, size_t(byteDelta + ASize));
                    if (!Finput_tmp) throw FFmpegException(L"Out of memory in do_audio_out");
                    AInStream->is_start = 0;
                    std::memset(Finput_tmp, 0, size_t(byteDelta));
                    std::memcpy(Finput_tmp + byteDelta, ABuffer, size_t(ASize));
                    ABuffer = Finput_tmp;
                    ASize += int(byteDelta);
                    if (Fverbose > 2)
                        DefaultLogger()->Log(this, llVerbose,
                                             Format(L"adding %d audio samples of silence", int64_t(delta)));
                }
            } else if (Faudio_sync_method > 1) {
                int comp = int(std::clamp<int64_t>(int64_t(delta), -Faudio_sync_method, Faudio_sync_method));
                if (Fverbose > 2)
                    DefaultLogger()->Log(
                        this, llVerbose,
                        Format(L"compensating audio timestamp drift:%f compensation:%d in:%d", delta, comp, erate));
                av::swr_set_compensation(shared->resample, comp, erate);
            }
        }
    } else {
        AOutStream->sync_opts = NearestInt(syncTime * erate) - queued;
    }

    // Conversion into the encoder's format, rate and layout, then into the queue.
    const int inSamples = ASize / (2 * dch);
    const int capacity = av::swr_get_out_samples(shared->resample, inSamples);
    if (capacity > run.ConvertSamples || run.ConvertChannels != ech || run.ConvertFormat != enc->sample_fmt) {
        if (run.ConvertBuffer) {
            av::av_freep(&run.ConvertBuffer[0]);
            av::av_freep(&run.ConvertBuffer);
        }
        run.ConvertSamples = 0;
        if (av::av_samples_alloc_array_and_samples(&run.ConvertBuffer, nullptr, ech, std::max(capacity, 1),
                                                   enc->sample_fmt, 0) < 0)
            throw FFmpegException(L"Out of memory in do_audio_out");
        run.ConvertSamples = std::max(capacity, 1);
        run.ConvertChannels = ech;
        run.ConvertFormat = enc->sample_fmt;
    }
    const uint8_t* in[1] = {ABuffer};
    int converted = av::swr_convert(shared->resample, run.ConvertBuffer, run.ConvertSamples, in, inSamples);
    if (converted < 0) {
        if (Fexit_on_error) throw FFmpegException(L"av_audio_convert() failed");
        DefaultLogger()->Log(this, llError, L"av_audio_convert() failed");
        return;
    }
    if (converted > 0 &&
        av::av_audio_fifo_write(shared->fifo, reinterpret_cast<void**>(run.ConvertBuffer), converted) < converted)
        throw FFmpegException(L"av_fifo_realloc2() failed");
    EncodeAudioQueue(AOutStream, false);
}

void TCustomFFmpeg::EncodeAudioQueue(TAVOutputStream* AOutStream, bool AFinal)
{
    TAVOutputStream* shared = AOutStream->first;
    AVCodecContext* enc = shared->enc;
    const int frameSize = enc->frame_size;
    const bool variable = frameSize <= 1 || (shared->encoder->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    const bool shortLast = (shared->encoder->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
    if (!shared->audio_frame) shared->audio_frame = av::av_frame_alloc();
    AVFrame* frame = shared->audio_frame;
    if (!frame) throw FFmpegException(L"Out of memory in do_audio_out");
    for (;;) {
        int available = av::av_audio_fifo_size(shared->fifo);
        int take = 0;
        int samples = 0;
        if (variable) {
            take = samples = std::min(available, 1 << 14);
        } else if (available >= frameSize) {
            take = samples = frameSize;
        } else if (AFinal && available > 0) {
            take = available;
            samples = shortLast ? available : frameSize;
        }
        if (take <= 0) break;
        if (frame->nb_samples != samples || !frame->buf[0] || av::av_frame_make_writable(frame) < 0) {
            av::av_frame_unref(frame);
            frame->nb_samples = samples;
            frame->format = enc->sample_fmt;
            frame->sample_rate = enc->sample_rate;
            av::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
            if (av::av_frame_get_buffer(frame, 0) < 0) throw FFmpegException(L"Out of memory in do_audio_out");
        }
        if (av::av_audio_fifo_read(shared->fifo, reinterpret_cast<void**>(frame->extended_data), take) < take)
            throw FFmpegException(L"Audio encoding failed");
        if (samples > take)
            av::av_samples_set_silence(frame->extended_data, take, samples - take, enc->ch_layout.nb_channels,
                                       enc->sample_fmt);
        frame->pts = shared->audio_pts;
        shared->audio_pts += samples;
        AOutStream->sync_opts += samples;
        if (av::avcodec_send_frame(enc, frame) < 0) throw FFmpegException(L"Audio encoding failed");
        ReceiveEncodedPackets(AOutStream);
    }
}
