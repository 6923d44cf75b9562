// Where a transcode run hands pictures to the task's hooks. PreProcessVideoFrame: every decoded
// video picture, before it reaches the filter graph or the encoders, goes to the custom hook
// event OnCustomHook (as a bitmap the owner may paint on) or else through the chain of video
// hook libraries. ProcessPostHooks: pictures handed to a video encoder go, at most once per
// PreviewInterval, as a bitmap to OnPreviewBitmap (post hook phBitmap) or to the task's preview
// window (phPreview). Called by the packet handler and the video output on the converting thread.
#include <exception>

#include "engine/av_bindings.h"
#include "engine/frame_hook_chain.h"
#include "engine/logger.h"
#include "engine/media_utils.h"
#include "engine/preview/preview_window.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

namespace {

TAVPicture PictureOf(const AVFrame* AFrame)
{
    TAVPicture picture;
    for (int i = 0; i < 4; ++i) {
        picture.data[i] = AFrame->data[i];
        picture.linesize[i] = AFrame->linesize[i];
    }
    return picture;
}

}  // namespace

void TCustomFFmpeg::PreProcessVideoFrame(TAVInputStream* AInStream, AVFrame* APicture)
{
    ++FHookFrameNumber;
    const int64_t pts = AInStream->pts;
    if (!Fdo_deinterlace && !FOnCustomHook && !Fusing_vhook) return;
    // The hooks work on a picture of the task's own: the decoder may still refer to its buffers.
    if (av::av_frame_make_writable(APicture) < 0) {
        DefaultLogger()->Log(this, llError, L"hook buf malloc error.");
        return;
    }
    if (Fdo_deinterlace && !DeinterlacePicture(APicture)) DefaultLogger()->Log(this, llError, L"Deinterlacing failed.");
    if (FOnCustomHook) {
        CallCustomHook(APicture, pts);
    } else if (Fusing_vhook) {
        TAVPicture picture = PictureOf(APicture);
        ProcessFrameHooks(FFirstHook, &picture, APicture->format, APicture->width, APicture->height, pts);
        // A library that put the result elsewhere: it is taken into the picture.
        bool moved = false;
        for (int i = 0; i < 4; ++i)
            moved = moved || picture.data[i] != APicture->data[i] || picture.linesize[i] != APicture->linesize[i];
        if (moved && picture.data[0])
            av::av_image_copy(APicture->data, APicture->linesize, const_cast<const uint8_t**>(picture.data),
                              picture.linesize, AVPixelFormat(APicture->format), APicture->width, APicture->height);
    }
}

void TCustomFFmpeg::CallCustomHook(AVFrame* APicture, int64_t APts)
{
    if (!FHookContext.Bitmap) FHookContext.Bitmap = std::make_unique<TBitmap>();
    TBitmap& bitmap = *FHookContext.Bitmap;
    bool stop = false;
    if (!PictureToBitmap(FHookContext.Context, APicture, bitmap)) {
        DefaultLogger()->Log(this, llError, L"Cannot initialize the toRGB conversion context");
        stop = true;
    } else {
        bool update = true;
        try {
            FOnCustomHook(this, &bitmap, FHookFrameNumber, APts, update, stop);
        } catch (const Exception& e) {
            DefaultLogger()->Log(this, llError, L"Error occurs OnCustomHook: " + e.Message());
            update = false;
        } catch (const std::exception& e) {
            DefaultLogger()->Log(this, llError, L"Error occurs OnCustomHook: " + Utf8ToString(e.what()));
            update = false;
        }
        // The picture is taken back only as the hook got it: same size, 32 bits a pixel.
        if (update && bitmap.Width() == APicture->width && bitmap.Height() == APicture->height &&
            bitmap.ScanLineSize() == bitmap.Width() * 4) {
            TRGBConvertContext& context = FHookContext.Context;
            context.fromRGB_convert_ctx = av::sws_getCachedContext(
                context.fromRGB_convert_ctx, APicture->width, APicture->height, context.RGBPixFmt, APicture->width,
                APicture->height, AVPixelFormat(APicture->format), SWS_BICUBIC, nullptr, nullptr, nullptr);
            if (!context.fromRGB_convert_ctx) {
                DefaultLogger()->Log(this, llError, L"Cannot initialize the fromRGB conversion context");
                stop = true;
            } else {
                const uint8_t* source[4] = {static_cast<const uint8_t*>(bitmap.ScanLine(0)), nullptr, nullptr, nullptr};
                const int sourceStride[4] = {bitmap.ScanLineSize(), 0, 0, 0};
                av::sws_scale(context.fromRGB_convert_ctx, source, sourceStride, 0, APicture->height, APicture->data,
                              APicture->linesize);
            }
        }
    }
    if (stop) {
        // No hook runs again for this task.
        FOnCustomHook = nullptr;
        Fusing_vhook = false;
    }
}

void TCustomFFmpeg::ProcessPostHooks(AVFrame* APicture, AVCodecContext* AEncoder)
{
    TCriticalSection& lock = PostHookLock();
    lock.Enter();
    const TPostHooks hooks = FPostHooks;
    lock.Leave();
    const bool toBitmap = PostHookIn(phBitmap, hooks) && FOnPreviewBitmap;
    const bool toWindow = !toBitmap && PostHookIn(phPreview, hooks);
    if (!toBitmap && !toWindow) return;
    const int64_t now = FPostContext.Clock ? FPostContext.Clock() : av::av_gettime();
    FPostContext.preview_cur_time = now;
    if (now - FPostContext.preview_last_time <= PreviewInterval) return;
    const int64_t pts = APicture->pts == AV_NOPTS_VALUE
                            ? AV_NOPTS_VALUE
                            : av::av_rescale_q(APicture->pts, AEncoder->time_base, AVRational{1, AV_TIME_BASE});
    if (!FPostContext.Bitmap) FPostContext.Bitmap = std::make_unique<TBitmap>();
    TBitmap* bitmap = FPostContext.Bitmap.get();
    const bool converted = PictureToBitmap(FPostContext.Context, APicture, *bitmap);
    if (!converted) DefaultLogger()->Log(this, llError, L"Cannot initialize the toRGB conversion context");

    // The event and the window are served by the main thread: the lock is not held meanwhile, so
    // the main thread may change the hooks at any time without waiting for this thread.
    TPostHooks removed = 0;
    if (toBitmap) {
        if (converted)
            FOnPreviewBitmap(this, bitmap, FHookFrameNumber, pts);
        else
            removed = PostHookSet(phBitmap);
    } else if (converted) {
        std::shared_ptr<TPreviewState> state;
        lock.Enter();
        if (PostHookIn(phPreview, FPostHooks)) {
            if (!FPostContext.Previewer) FPostContext.Previewer = new TPreviewer();
            state = static_cast<TPreviewer*>(FPostContext.Previewer)->State();
        }
        lock.Leave();
        if (state && !TPreviewer::PaintFrame(state, bitmap, FHookFrameNumber, pts, DurationToText(pts)))
            removed = PostHookSet(phPreview);
    } else {
        removed = PostHookSet(phPreview);
    }
    FPostContext.preview_last_time = FPostContext.preview_cur_time;

    if (removed) {
        // Only what failed leaves the set; the window goes after the lock is left, since freeing
        // it waits for the main thread.
        TObject* previewer = nullptr;
        lock.Enter();
        if (PostHookIn(phPreview, removed)) {
            previewer = FPostContext.Previewer;
            FPostContext.Previewer = nullptr;
        }
        SetPostHooks(FPostHooks & ~removed);
        lock.Leave();
        delete previewer;
    }
}
