// The video output of a transcode run: DoVideoOut keeps the output frame rate in step with the
// sync stream (duplicating or dropping pictures by the video sync method), crops and rescales
// the decoded picture to the encoder's size and pixel format, and encodes it. DoVideoStats
// writes the video statistics file. Called by OutputPacket (decode_packet.cpp) on the
// converting thread.
#include <algorithm>
#include <cmath>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

struct TFrameHolder {
    AVFrame* Frame = nullptr;
    ~TFrameHolder() { av::av_frame_free(&Frame); }
};

}  // namespace

void TCustomFFmpeg::DoVideoOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                               AVFrame* APicture, int& AFrameSize)
{
    TAVOutputStream* shared = AOutStream->first;
    AVCodecContext* enc = shared->enc;
    AFrameSize = 0;
    const double syncIpts = double(AOutStream->sync_ist->pts - Fstart_time) / 1000000.0 / ::av_q2d(enc->time_base);
    int64_t nb_frames = 1;
    if (Fvideo_sync_method != 0) {
        double vdelta = syncIpts - double(AOutStream->sync_opts);
        if (vdelta < -1.1) {
            nb_frames = 0;
        } else if (Fvideo_sync_method == 2 ||
                   (Fvideo_sync_method < 0 && (AContext->oformat->flags & AVFMT_VARIABLE_FPS))) {
            if (vdelta <= -0.6)
                nb_frames = 0;
            else if (vdelta > 0.6)
                AOutStream->sync_opts = NearestInt(syncIpts);
        } else if (vdelta > 1.1) {
            nb_frames = NearestInt(vdelta);
        }
        if (nb_frames == 0) {
            ++Fnb_frames_drop;
            FShowDupOrDrop = true;
            if (Fverbose > 2) DefaultLogger()->Log(this, llVerbose, L"*** drop!");
        } else if (nb_frames > 1) {
            Fnb_frames_dup += int(nb_frames - 1);
            FShowDupOrDrop = true;
            if (Fverbose > 2) DefaultLogger()->Log(this, llVerbose, Format(L"*** %d dup!", nb_frames - 1));
        }
    } else {
        AOutStream->sync_opts = NearestInt(syncIpts);
    }
    nb_frames = std::min<int64_t>(nb_frames, int64_t(Fmax_frames[0]) - AOutStream->frame_number);
    if (nb_frames <= 0) return;

    // A filtered picture comes cropped and scaled by its graph; only one that still differs
    // from the encoder (the graph was rebuilt for a changed input) is scaled here.
    const bool filtered = AOutStream->filter_graph != nullptr;
    AVFrame* picture = APicture;
    if (filtered &&
        (APicture->width != enc->width || APicture->height != enc->height || APicture->format != enc->pix_fmt)) {
        if (!shared->pict_tmp) {
            shared->pict_tmp = av::av_frame_alloc();
            if (shared->pict_tmp) {
                shared->pict_tmp->format = enc->pix_fmt;
                shared->pict_tmp->width = enc->width;
                shared->pict_tmp->height = enc->height;
            }
            if (!shared->pict_tmp || av::av_frame_get_buffer(shared->pict_tmp, 0) < 0)
                throw FFmpegException(L"Cannot allocate temp picture, check pix fmt");
        }
        shared->img_resample_ctx = av::sws_getCachedContext(shared->img_resample_ctx, APicture->width, APicture->height,
                                                            AVPixelFormat(APicture->format), enc->width, enc->height,
                                                            enc->pix_fmt, int(Fsws_flags), nullptr, nullptr, nullptr);
        if (!shared->img_resample_ctx) throw FFmpegException(L"Cannot get resampling context");
        if (av::av_frame_make_writable(shared->pict_tmp) < 0)
            throw FFmpegException(L"Cannot allocate temp picture, check pix fmt");
        av::sws_scale(shared->img_resample_ctx, APicture->data, APicture->linesize, 0, APicture->height,
                      shared->pict_tmp->data, shared->pict_tmp->linesize);
        picture = shared->pict_tmp;
    }

    // A picture of another size or format than the scaler was made for: new bands in
    // proportion, a new scaler (a stream without one so far gets one rather than failing).
    const bool changed =
        !filtered && (APicture->width - (shared->leftBand + shared->rightBand) != shared->resample_width ||
                      APicture->height - (shared->topBand + shared->bottomBand) != shared->resample_height ||
                      APicture->format != shared->resample_pix_fmt);
    if (changed) {
        const char* name = av::av_get_pix_fmt_name(AVPixelFormat(APicture->format));
        DefaultLogger()->Log(this, llQuiet,
                             Format(L"Input Stream #%d.%d frame size changed to %dx%d, %s", AInStream->file_index,
                                    AInStream->index, APicture->width, APicture->height, name ? name : "none"));
        if (!shared->video_resample) {
            shared->video_resample = 1;
            shared->pict_tmp = av::av_frame_alloc();
            if (shared->pict_tmp) {
                shared->pict_tmp->format = enc->pix_fmt;
                shared->pict_tmp->width = enc->width;
                shared->pict_tmp->height = enc->height;
            }
            if (!shared->pict_tmp || av::av_frame_get_buffer(shared->pict_tmp, 0) < 0)
                throw FFmpegException(L"Cannot allocate temp picture, check pix fmt");
        }
        if (shared->video_crop && shared->original_height > 0 && shared->original_width > 0) {
            int64_t top = (int64_t(APicture->height) * shared->original_topBand / shared->original_height) & ~1;
            int64_t bottom = (int64_t(APicture->height) * shared->original_bottomBand / shared->original_height) & ~1;
            int64_t left = (int64_t(APicture->width) * shared->original_leftBand / shared->original_width) & ~1;
            int64_t right = (int64_t(APicture->width) * shared->original_rightBand / shared->original_width) & ~1;
            if (top < 0 || bottom < 0 || left < 0 || right < 0 || top > INT32_MAX || bottom > INT32_MAX ||
                left > INT32_MAX || right > INT32_MAX)
                throw FFmpegException(L"Cannot get resampling context");
            shared->topBand = int(top);
            shared->bottomBand = int(bottom);
            shared->leftBand = int(left);
            shared->rightBand = int(right);
        }
        shared->resample_height = APicture->height - (shared->topBand + shared->bottomBand);
        shared->resample_width = APicture->width - (shared->leftBand + shared->rightBand);
        shared->resample_pix_fmt = APicture->format;
        if (shared->img_resample_ctx) av::sws_freeContext(shared->img_resample_ctx);
        shared->img_resample_ctx = nullptr;
    }
    if (!filtered && shared->video_resample && !shared->img_resample_ctx) {
        int64_t flags = Fsws_flags;
        if (Options().sws_opts && av::av_opt_get_int(Options().sws_opts, "sws_flags", 0, &flags) >= 0)
            Fsws_flags = unsigned(flags);
        shared->img_resample_ctx =
            av::sws_getContext(shared->resample_width, shared->resample_height, AVPixelFormat(shared->resample_pix_fmt),
                               enc->width, enc->height, enc->pix_fmt, int(Fsws_flags), nullptr, nullptr, nullptr);
        if (!shared->img_resample_ctx) throw FFmpegException(L"Cannot get resampling context");
    }

    // Cropping: the planes start further in, the picture is smaller.
    TFrameHolder cropped;
    if (!filtered && shared->video_crop) {
        const AVPixFmtDescriptor* desc = av::av_pix_fmt_desc_get(AVPixelFormat(APicture->format));
        cropped.Frame = av::av_frame_alloc();
        if (!desc || !cropped.Frame || av::av_frame_ref(cropped.Frame, APicture) < 0 ||
            (desc->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL))) {
            if (Fexit_on_error) throw FFmpegException(L"error cropping picture");
            DefaultLogger()->Log(this, llError, L"error cropping picture");
            return;
        }
        int maxStep[4] = {};
        for (int c = 0; c < desc->nb_components; ++c) {
            const AVComponentDescriptor& comp = desc->comp[c];
            maxStep[comp.plane] = std::max(maxStep[comp.plane], comp.step);
        }
        for (int p = 0; p < 4 && cropped.Frame->data[p]; ++p) {
            bool chroma = p == 1 || p == 2;
            int top = chroma ? shared->topBand >> desc->log2_chroma_h : shared->topBand;
            int left = chroma ? shared->leftBand >> desc->log2_chroma_w : shared->leftBand;
            cropped.Frame->data[p] += ptrdiff_t(top) * cropped.Frame->linesize[p] + ptrdiff_t(left) * maxStep[p];
        }
        cropped.Frame->width -= shared->leftBand + shared->rightBand;
        cropped.Frame->height -= shared->topBand + shared->bottomBand;
        picture = cropped.Frame;
    }

    if (!filtered && shared->video_resample) {
        // The encoder may still hold the previous picture: scale into a buffer of our own.
        if (av::av_frame_make_writable(shared->pict_tmp) < 0)
            throw FFmpegException(L"Cannot allocate temp picture, check pix fmt");
        av::sws_scale(shared->img_resample_ctx, picture->data, picture->linesize, 0, shared->resample_height,
                      shared->pict_tmp->data, shared->pict_tmp->linesize);
        picture = shared->pict_tmp;
    }

    for (int64_t i = 0; i < nb_frames; ++i) {
        if (FBroken) break;
        picture->interlaced_frame = APicture->interlaced_frame;
        if (enc->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
            picture->top_field_first = Ftop_field_first == -1 ? APicture->top_field_first : Ftop_field_first;
        picture->quality = int(NearestInt(Fsame_quality ? AInStream->quality : shared->quality));
        if (Fme_threshold == 0) picture->pict_type = AV_PICTURE_TYPE_NONE;
        picture->pts = AOutStream->sync_opts;
        if (av::avcodec_send_frame(enc, picture) < 0) throw FFmpegException(L"Video encoding failed");
        if (FPostHooks != 0) ProcessPostHooks(picture, enc);
        int size = ReceiveEncodedPackets(AOutStream);
        if (size > 0) AFrameSize = size;
        AOutStream->sync_opts += 1;
        AOutStream->frame_number += 1;
    }
}

void TCustomFFmpeg::DoVideoStats(TAVOutputStream* AOutStream, int AFrameSize)
{
    if (!Fvstats_file) {
        Fvstats_file = fopen(Fvstats_filename.c_str(), "w");
        if (!Fvstats_file) throw FFmpegException("fopen fail: " + Fvstats_filename);
    }
    TAVOutputStream* shared = AOutStream->first;
    AVCodecContext* enc = shared->enc;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
    std::string line =
        Format("frame= %5d q= %2.1f ", AOutStream->frame_number, double(shared->last_quality) / FF_QP2LAMBDA);
    if ((enc->flags & AV_CODEC_FLAG_PSNR) && shared->has_error)
        line += Format("PSNR= %6.2f ", -10.0 * std::log10(double(shared->last_error[0]) /
                                                          (double(enc->width) * enc->height * 255.0 * 255.0)));
    line += Format("f_size= %6d ", AFrameSize);
    double ti1 = std::max(double(AOutStream->sync_opts) * ::av_q2d(enc->time_base), 0.01);
    double bitrate = double(AFrameSize) * 8 / ::av_q2d(enc->time_base) / 1000.0;
    double avgBitrate = double(Fvideo_size) * 8 / ti1 / 1000.0;
    line += Format("s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ", double(Fvideo_size) / 1024,
                   ti1, bitrate, avgBitrate);
    char type = av::av_get_picture_type_char(AVPictureType(shared->last_pict_type));
    line += Format("type= %c\n", type);
    fputs(line.c_str(), Fvstats_file);
}
