// The progress report of a transcode run: frame number, frames per second and quantiser of the
// first video output stream, the output size, the time reached, the bit rate and the counts of
// duplicated and dropped frames, handed to OnProgress or written to the log; the last report
// adds the summary of what the encoders produced. Called by the loop (transcode_loop.cpp) at
// the report interval and once at the end, on the converting thread.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcode_run.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"

namespace {

// The quantiser histogram of the reports is a statistic of the process: one for all tasks.
int QpHistogram[52] = {};
std::mutex QpHistogramLock;

// Appends a piece while the whole text stays within the report's 1024 bytes.
void Append(std::string& AText, const std::string& APiece)
{
    if (AText.size() < 1023) AText += APiece.substr(0, 1023 - AText.size());
}

}  // namespace

void TCustomFFmpeg::PrintReport(bool AIsLastReport, int AFileIndex)
{
    TTranscodeRun& run = *FRun;
    int64_t total_size = 0;
    AVFormatContext* oc = Fnb_output_files > 0 ? Foutput_files[0] : nullptr;
    if (oc && oc->pb) {
        total_size = av::avio_size(oc->pb);
        if (total_size < 0) total_size = av::avio_seek(oc->pb, 0, SEEK_CUR);
        if (total_size < 0) total_size = 0;
    }
    int frame_number = -1;
    int fps = -1;
    float q = -1.0f;
    double ti1 = 10000000000.0;
    std::string text;
    bool vid = false;
    for (auto& item : run.OutputStreamTable) {
        TAVOutputStream* ost = item.get();
        TAVOutputStream* shared = ost->first;
        const bool copied = !ost->encoding_needed;
        if (ost->st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && ost->show_fps) {
            float quality = copied ? -1.0f : float(shared->last_quality) / FF_QP2LAMBDA;
            if (vid) {
                Append(text, Format("q=%2.1f ", double(quality)));
            } else {
                double t = double(av::av_gettime() - Ftimer_start) / 1000000.0;
                frame_number = ost->frame_number;
                if (frame_number < 1) return;
                fps = t > 1 ? int(double(frame_number) / t + 0.5) : 0;
                q = quality;
                Append(text, Format("frame=%5d fps=%3d q=%3.1f ", frame_number, fps, double(q)));
                if (AIsLastReport) Append(text, "L");
                if (Fqp_hist && !copied) {
                    std::lock_guard<std::mutex> lock(QpHistogramLock);
                    int64_t qp = NearestInt(double(shared->last_quality) / FF_QP2LAMBDA);
                    if (qp >= 0 && qp < 52) ++QpHistogram[qp];
                    for (int j = 0; j < 32; ++j)
                        Append(text, Format("%X", int(NearestInt(std::log2(double(QpHistogram[j]) + 1)))));
                }
                AVCodecContext* enc = shared->enc;
                if (!copied && enc && (enc->flags & AV_CODEC_FLAG_PSNR) && (shared->has_error || AIsLastReport)) {
                    double errorSum = 0, scaleSum = 0;
                    Append(text, "PSNR=");
                    const char planes[3] = {'Y', 'U', 'V'};
                    for (int j = 0; j < 3; ++j) {
                        double error, scale;
                        if (AIsLastReport) {
                            error = double(enc->error[j]);
                            scale = double(enc->width) * enc->height * 255.0 * 255.0 * frame_number;
                        } else {
                            error = double(shared->last_error[j]);
                            scale = double(enc->width) * enc->height * 255.0 * 255.0;
                        }
                        if (j > 0) scale /= 4;
                        errorSum += error;
                        scaleSum += scale;
                        Append(text, Format("%c:%2.2f ", planes[j], -10.0 * std::log10(error / scale)));
                    }
                    Append(text, Format("*:%2.2f ", -10.0 * std::log10(errorSum / scaleSum)));
                }
                vid = true;
            }
        }
        double pts = shared->end_time;
        if (pts > 0 && pts < ti1) ti1 = pts;
    }
    // The time reached: none until a stream has written a packet. A stream that starts writing
    // later (or ends earlier) must not take the report back, and the report never passes the
    // whole length.
    double reached = ti1 < 10000000000.0 ? ti1 : 0;
    reached = std::max(reached, run.ReportedTime);
    if (FTotalOutputDuration > 0) reached = std::min(reached, double(FTotalOutputDuration) / 1000000.0);
    run.ReportedTime = reached;
    ti1 = reached;

    if (FOnProgress || Fverbose > 0 || AIsLastReport) {
        double bitrate = ti1 > 0 ? double(total_size) * 8 / std::max(ti1, 0.01) / 1000 : 0;
        Append(text, Format("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", double(total_size) / 1024, ti1, bitrate));
        if (Fnb_frames_dup != 0 || Fnb_frames_drop != 0) {
            Append(text, Format(" dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop));
            if (FShowDupOrDrop && Fverbose >= 0 && FOnProgress) {
                FShowDupOrDrop = false;
                DefaultLogger()->Log(this, llVerbose, Utf8ToString(text));
            }
        }
        if (FOnProgress)
            FOnProgress(this, AFileIndex, frame_number, fps, q, float(bitrate), total_size, int64_t(ti1 * 1000000),
                        FTotalOutputDuration);
        else if (Fverbose >= 0)
            DefaultLogger()->Log(this, llVerbose, Utf8ToString(text));
    }
    if (AIsLastReport && Fverbose >= 0) {
        int64_t raw = Fvideo_size + Faudio_size + Fextra_size;
        double overhead = raw != 0 ? double(total_size - raw) * 100.0 / double(raw) : 0.0;
        DefaultLogger()->Log(
            this, llVerbose,
            Format(L"video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
                   double(Fvideo_size) / 1024, double(Faudio_size) / 1024, double(Fextra_size) / 1024, overhead));
    }
}
