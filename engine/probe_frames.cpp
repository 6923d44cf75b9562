// TAVProbe: single-picture decoding on a file the probe opened itself: positioning by time
// or bytes, the next picture, the next key frame, the previous picture and key frame, and
// the copy of the decoded picture into a bitmap (snapshots and thumbnails).
#include "engine/av_probe.h"

#include "engine/logger.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

namespace {

const AVRational MicroSecondBase{1, AV_TIME_BASE};

}  // namespace

TAVProbe::TAVProbe(TComponent* AOwner) : TCustomAVProbe(AOwner) { TAVProbe::RefreshFileInfo(); }

TAVProbe::~TAVProbe()
{
    // With the libraries unloaded first, what they allocated cannot be handed back.
    if (av::av_free == nullptr) return;
    TAVProbe::CloseFile();
    if (FPicture.Buffer != nullptr) {
        av::av_free(FPicture.Buffer);
        FPicture.Buffer = nullptr;
        FPicture.Size = 0;
    }
    ResetRGBContext(FRGBContext);
}

void TAVProbe::CloseFile()
{
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetPicture();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    CloseDecoder();
    ResetRGBContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::RefreshFileInfo()
{
    TCustomAVProbe::RefreshFileInfo();
    FSeekIndex = -1;
    if (FFileHandle == nullptr) return;
    // Positioning goes by the first picture stream, else the first sound stream. A cover
    // picture of a sound file is one picture without times: it cannot position anything.
    for (int i = 0; i < FStreamCount && FSeekIndex < 0; ++i) {
        const AVStream* st = FFileHandle->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && (st->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0)
            FSeekIndex = i;
    }
    if (FSeekIndex < 0) FSeekIndex = FFirstAudioStreamIndex;
    const int64_t start = FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
    FStartTime = start == AV_NOPTS_VALUE ? 0 : start;
}

void TAVProbe::ResetPicture()
{
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    uint8_t* buffer = FPicture.Buffer;
    const int size = FPicture.Size;
    FPicture = TFrameInfo();
    FPicture.Buffer = buffer;
    FPicture.Size = size;
}

void TAVProbe::CloseDecoder()
{
    if (FCodec != nullptr) {
        TCodecLockScope lock;
        av::avcodec_free_context(&FCodec);
    }
    FCodec = nullptr;
    FCodecStream = -1;
    FDraining = false;
}

int64_t TAVProbe::Position()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return -1;
    }
    if (FFileHandle->pb == nullptr) {
        ReportError(AV_LOG_WARNING, L"cannot get position");
        return -1;
    }
    return FFileHandle->pb->pos;
}

bool TAVProbe::CheckOwnHandle()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, L"file not loaded.");
        return false;
    }
    if (!FOwnHandle) {
        ReportError(AV_LOG_WARNING, L"file cannot be seeked, handle is readonly.");
        throw Exception(FLastErrMsg);
    }
    return true;
}

bool TAVProbe::IsImage2() const
{
    return FFileHandle != nullptr && FFileHandle->iformat != nullptr &&
           SameText(Utf8ToString(FFileHandle->iformat->name), L"image2");
}

bool TAVProbe::CanSeek()
{
    if (!CheckOwnHandle()) return false;
    if (IsImage2()) {
        ReportError(AV_LOG_INFO, L"\"image2\" format cannot to be seeked.");
        return false;
    }
    return true;
}

int TAVProbe::SelectDecodeStream(int AStreamIndex)
{
    if (!CheckOwnHandle()) return -1;
    int index = AStreamIndex;
    if (index < 0) {
        index = FDecodeIndex;
        if (index == -1) index = FFirstVideoStreamIndex;
        if (index == -1) {
            ReportError(AV_LOG_ERROR, L"no video stream.");
            return -1;
        }
    } else if (index >= static_cast<int>(FFileHandle->nb_streams)) {
        ReportError(AV_LOG_ERROR, Format(L"stream index #%d is invalid.", index));
        return -1;
    } else if (FFileHandle->streams[index]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        ReportError(AV_LOG_ERROR, Format(L"stream #%d is not video stream.", index));
        return -1;
    }
    if (index != FDecodeIndex) ResetPicture();
    FDecodeIndex = index;
    return index;
}

AVCodecContext* TAVProbe::OpenDecoder(int AIndex)
{
    AVStream* st = FFileHandle->streams[AIndex];
    const AVCodecParameters* par = st->codecpar;
    if (par->width == 0 || par->height == 0) {
        ReportError(AV_LOG_ERROR, L"frame size of codec is invalid.");
        return nullptr;
    }
    if (FCodec != nullptr && FCodecStream == AIndex) return FCodec;
    CloseDecoder();

    const AVCodec* decoder = av::avcodec_find_decoder(par->codec_id);
    if (decoder == nullptr) {
        ReportError(AV_LOG_ERROR, Format(L"Unsupported codec (id=%d) for input file stream #%d",
                                         static_cast<int>(par->codec_id), AIndex));
        return nullptr;
    }
    AVCodecContext* ctx = av::avcodec_alloc_context3(decoder);
    if (ctx == nullptr) {
        ReportError(AV_LOG_ERROR, Format(L"Error while opening codec for input file stream #%d", AIndex));
        return nullptr;
    }
    int r = av::avcodec_parameters_to_context(ctx, par);
    if (r >= 0) {
        ctx->pkt_timebase = st->time_base;
        // One thread: a picture comes out for the packet that completes it, without the
        // delay that frame threading adds.
        ctx->thread_count = 1;
        TCodecLockScope lock;
        r = av::avcodec_open2(ctx, decoder, nullptr);
        if (r < 0) av::avcodec_free_context(&ctx);
    } else {
        av::avcodec_free_context(&ctx);
    }
    if (r < 0) {
        ReportError(AV_LOG_ERROR, Format(L"Error while opening codec for input file stream #%d", AIndex));
        return nullptr;
    }
    FCodec = ctx;
    FCodecStream = AIndex;
    FDraining = false;
    return FCodec;
}

void TAVProbe::TracePosition(const String& AMsg)
{
    // Logged only: kept as LastErrMsg it would hide why a seek failed.
    DefaultLogger()->Log(this, llDebug, AMsg);
}

bool TAVProbe::Seek(int64_t APTS, TSeekFlags ASeekFlags)
{
    if (!CanSeek()) return false;
    AVIOContext* pb = FFileHandle->pb;
    if (pb != nullptr) TracePosition(Format(L"currunt position %d bytes", pb->pos));

    int64_t ts = APTS < 0 ? 0 : APTS;
    if ((ASeekFlags & sfByte) == 0) {
        if (FSeekIndex >= 0) ts = av::av_rescale_q(ts, MicroSecondBase, FFileHandle->streams[FSeekIndex]->time_base);
        if (FStartTime > 0) ts += FStartTime;
    }

    if (FCodec != nullptr) av::avcodec_flush_buffers(FCodec);
    FDraining = false;
    FEOF = false;
    ResetPicture();
    // An end flag left from reading before the seek says nothing about where the seek
    // landed: readers that reposition only at the next read (MP4) would report the end for
    // good once a read had met the end of a cut-off file.
    if (pb != nullptr) pb->eof_reached = 0;

    int r;
    if (APTS > 0) {
        r = av::av_seek_frame(FFileHandle, FSeekIndex, ts, SeekFlagsToAVFlags(ASeekFlags));
    } else {
        r = av::av_seek_frame(FFileHandle, FSeekIndex, 0, SeekFlagsToAVFlags(ASeekFlags | sfBackward));
        if (r < 0)
            r = av::av_seek_frame(FFileHandle, FSeekIndex, APTS,
                                  SeekFlagsToAVFlags(ASeekFlags & ~static_cast<TSeekFlags>(sfBackward)));
    }

    bool result = true;
    if (r < 0) {
        if ((ASeekFlags & sfByte) != 0)
            ReportError(AV_LOG_ERROR, Format(L"could not seek to position %d bytes", APTS));
        else
            ReportError(AV_LOG_ERROR, Format(L"could not seek to position %0.3f seconds", APTS / 1000000.0));
        result = false;
    }
    if (pb != nullptr) {
        TracePosition(Format(L"seek to position %d bytes", pb->pos));
        if (pb->eof_reached) {
            if (result) ReportError(AV_LOG_INFO, L"stream eof reached.");
            FEOF = true;
            result = false;
        }
    }
    return result;
}

bool TAVProbe::StoreFrame(const AVFrame* AFrame, int64_t APos)
{
    const auto pixFmt = static_cast<AVPixelFormat>(AFrame->format);
    const int size = av::av_image_get_buffer_size(pixFmt, AFrame->width, AFrame->height, 1);
    if (size <= 0) {
        ReportError(AV_LOG_ERROR, L"frame size of codec is invalid.");
        return false;
    }
    if (FPicture.Size < size) {
        av::av_free(FPicture.Buffer);
        // The scaler reads whole vectors, past the last row of the packed picture.
        FPicture.Buffer = static_cast<uint8_t*>(av::av_malloc(size_t(size) + 64));
        FPicture.Size = FPicture.Buffer != nullptr ? size : 0;
        if (FPicture.Buffer == nullptr) {
            ReportError(AV_LOG_ERROR, L"Not enough memory");
            return false;
        }
    }

    FPicture.PixFmt = AFrame->format;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame == 1;
    FPicture.PictureType =
        AFrame->pict_type >= 0 && AFrame->pict_type <= 7 ? static_cast<TPictureType>(AFrame->pict_type) : ptUnknown;

    // The decoding time of the packet that gave out the picture, else the picture's own
    // presentation time.
    const int64_t t = AFrame->pkt_dts != AV_NOPTS_VALUE ? AFrame->pkt_dts : AFrame->pts;
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    AVStream* st = FFileHandle->streams[FDecodeIndex];
    if (t == AV_NOPTS_VALUE) {
        FPicture.PTS = AV_NOPTS_VALUE;
    } else {
        const int64_t fromStart = st->start_time != AV_NOPTS_VALUE ? t - st->start_time : t;
        FPicture.PTS = av::av_rescale_q(fromStart, st->time_base, MicroSecondBase);
        av::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", FPicture.PTS / 1000000.0);
    }
    FPicture.OriginalDTS = AFrame->pkt_dts;
    FPicture.OriginalPTS = AFrame->pts;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.Position = APos;

    av::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer, pixFmt, FPicture.Width,
                             FPicture.Height, 1);
    av::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize, const_cast<const uint8_t**>(AFrame->data),
                      AFrame->linesize, pixFmt, FPicture.Width, FPicture.Height);
    FPicture.Ready = true;
    return true;
}

bool TAVProbe::Decode(int AStreamIndex)
{
    const int idx = SelectDecodeStream(AStreamIndex);
    if (idx < 0) return false;
    if (FPicture.Ready && IsImage2()) return true;  // a still image is decoded once
    if (FEOF) {
        ReportError(AV_LOG_INFO, L"stream eof reached.");
        return false;
    }
    AVCodecContext* codec = OpenDecoder(idx);
    if (codec == nullptr) return false;

    const int64_t pos = FFileHandle->pb != nullptr ? FFileHandle->pb->pos : -1;
    AVFrame* frame = av::av_frame_alloc();
    AVPacket* packet = av::av_packet_alloc();
    bool result = false;
    bool stored = false;
    while (frame != nullptr && packet != nullptr) {
        // A picture the decoder already holds comes first.
        const int got = av::avcodec_receive_frame(codec, frame);
        if (got >= 0) {
            DefaultLogger()->Log(this, llDebug,
                                 Format(L"pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d", idx, frame->pkt_dts,
                                        frame->pts, frame->key_frame, static_cast<int>(frame->pict_type)));
            stored = true;
            result = StoreFrame(frame, pos);
            break;
        }
        if (got == AVERROR_EOF || FDraining) break;  // everything the decoder held has come out

        if (av::av_read_frame(FFileHandle, packet) < 0) {
            // The end of the file: let the decoder give out the pictures it still holds.
            FDraining = true;
            av::avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (packet->stream_index == idx) av::avcodec_send_packet(codec, packet);  // a damaged packet is skipped
        av::av_packet_unref(packet);
    }
    av::av_packet_free(&packet);
    av::av_frame_free(&frame);
    if (stored) return result;

    ReportError(AV_LOG_INFO, L"stream eof reached.");
    FEOF = true;
    return false;
}

int64_t TAVProbe::StepDuration(int AIndex) const
{
    const int64_t d = FrameDuration(FFileHandle->streams[AIndex]->r_frame_rate);
    // A rate above a million frames per second would give no step at all.
    return d > 0 ? d : 1;
}

bool TAVProbe::DecodeNextKeyFrame(int AStreamIndex)
{
    const int idx = SelectDecodeStream(AStreamIndex);
    if (idx < 0) return false;
    int64_t target = StepDuration(idx);
    if (FPicture.PTS > 0) target += FPicture.PTS;
    if (!Seek(target, 0)) return false;
    // Readers without an index (transport streams) land wherever a picture starts: decode on
    // to the key frame. With an index the first picture is the key frame already.
    while (Decode(idx))
        if (FPicture.IsKeyFrame) return true;
    return false;
}

bool TAVProbe::DecodePreviousFrame(int AStreamIndex)
{
    const int idx = SelectDecodeStream(AStreamIndex);
    if (idx < 0) return false;
    const int64_t d = StepDuration(idx);
    int64_t target;
    if (FPicture.PTS != AV_NOPTS_VALUE)
        target = FPicture.PTS - 2 * d;
    else if (FLastPTS != AV_NOPTS_VALUE)
        target = FLastPTS - 2 * d;
    else
        target = -2 * d;
    if (!DecodePreviousKeyFrame(idx)) return false;
    while (FPicture.PTS <= target)
        if (!Decode(idx)) return false;
    return true;
}

bool TAVProbe::DecodePreviousKeyFrame(int AStreamIndex)
{
    const int idx = SelectDecodeStream(AStreamIndex);
    if (idx < 0) return false;
    const int64_t d = StepDuration(idx);

    int64_t cur = FPicture.PTS;
    if (cur == AV_NOPTS_VALUE) cur = FLastPTS;
    if (cur == AV_NOPTS_VALUE) cur = FFileHandle->duration != AV_NOPTS_VALUE ? FFileHandle->duration : 0;
    const int64_t pos = FPicture.Position >= 0 ? FPicture.Position : FLastPos;
    // The failure text below names what went wrong in this search only.
    FLastErrMsg.clear();

    for (int64_t h = 1;; ++h) {
        const int64_t back = h * d;
        AVIOContext* pb = FFileHandle->pb;
        const int64_t before = pb != nullptr ? pb->pos : -1;
        Seek(cur - back, sfBackward);
        // A seek that moved the file to the current picture or past it did not land before
        // it: step further back without decoding. (Demuxers that reposition only when the
        // next packet is read leave the position alone; for them decoding tells.)
        if (pb != nullptr && pb->pos != before && pb->pos >= pos && pos > 0 && back <= cur) continue;
        bool decoded = Decode(idx);
        // Without an index the seek may land on a picture that is no key frame: decode on to
        // the next key frame, as long as it lies before the current picture.
        while (decoded && !FPicture.IsKeyFrame && FPicture.PTS < cur) decoded = Decode(idx);
        if (decoded) {
            if (FPicture.PTS < cur || FPicture.PTS <= 0) return true;
            // The seek went back to the very start and the first picture is still not before
            // the current one: the current picture is the first, nothing lies before it.
            if (back > cur) {
                FLastErrMsg = L"Could not seek to the previous key-frame. " + FLastErrMsg;
                return false;
            }
        } else if (back > cur) {
            FLastErrMsg = L"Could not seek to the previous key-frame. " + FLastErrMsg;
            return false;
        }
    }
}

bool TAVProbe::CopyToBitmap(TFrameImage& ABitmap)
{
    if (!FPicture.Ready) {
        ReportError(AV_LOG_ERROR, L"picture not ready, please decode first");
        return false;
    }
    if (PictureToBitmap(FRGBContext, FPicture.Picture, FPicture.PixFmt, FPicture.Width, FPicture.Height)) {
        ABitmap = *FRGBContext.Bitmap;
        return true;
    }
    // The picture's size in opaque black.
    ABitmap.SetSize(FPicture.Width, FPicture.Height);
    for (size_t i = 3; i < ABitmap.Pixels.size(); i += 4) ABitmap.Pixels[i] = 0xFF;
    av::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    return false;
}

bool TAVProbe::CopyToBitmap(TBitmap& ABitmap)
{
    TFrameImage image;
    bool ok = CopyToBitmap(image);
    // Not ready: the bitmap is left as it was, as for the image.
    if (ok || FPicture.Ready) FrameImageToBitmap(image, ABitmap);
    return ok;
}
