// Target presets: a whole disc format (VCD, SVCD, DVD, DV) for a television norm (PAL, NTSC,
// film) in one call: container, codecs, frame size and rate, bit rates, buffer sizes, audio
// rate and channels, aspect. Reached through the "target" option and the TargetType/NormType
// fields of the output options.
#include <cmath>

#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

enum TNorm { nmPAL, nmNTSC, nmFilm };

// The frame rate of each norm.
const wchar_t* const TargetFrameRates[] = {L"25", L"30000/1001", L"24000/1001"};

// A frame rate decides the norm when it is 25, 29.97 or 23.976 frames per second.
bool NormOfRate(int64_t ANum, int64_t ADen, TNorm& ANorm)
{
    if (ADen == 0) return false;
    long r = std::lround(double(ANum) * 1000.0 / double(ADen));
    if (r == 25000) {
        ANorm = nmPAL;
        return true;
    }
    if (r == 29970 || r == 23976) {
        ANorm = nmNTSC;
        return true;
    }
    return false;
}

}  // namespace

void TCustomFFmpeg::SetTarget(const String& AType, const String& ANorm, const String& ADefaultNorm)
{
    TNorm norm = nmPAL;
    if (ANorm == L"pal") {
        norm = nmPAL;
    } else if (ANorm == L"ntsc") {
        norm = nmNTSC;
    } else if (ANorm == L"film") {
        norm = nmFilm;
    } else {
        if (Fframe_rate.den == 0) throw FFmpegException(L"frame_rate is invalid.");
        bool decided = NormOfRate(Fframe_rate.num, Fframe_rate.den, norm);
        // Otherwise the first video stream of the inputs whose rate tells the norm.
        for (int i = 0; i < Fnb_input_files && !decided; ++i) {
            AVFormatContext* ic = Finput_files[i];
            if (!ic) continue;
            for (unsigned j = 0; j < ic->nb_streams && !decided; ++j) {
                AVStream* st = ic->streams[j];
                if (!st->codecpar || st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
                AVRational rate = st->r_frame_rate.num ? st->r_frame_rate : st->avg_frame_rate;
                decided = NormOfRate(rate.num, rate.den, norm);
            }
        }
        if (!decided) norm = ADefaultNorm == L"film" ? nmFilm : ADefaultNorm == L"ntsc" ? nmNTSC : nmPAL;
        if (Fverbose > 0)
            DefaultLogger()->Log(this, llVerbose,
                                 Format(L"Assuming %s for target.", String(norm == nmPAL ? L"PAL" : L"NTSC")));
    }

    const bool pal = norm == nmPAL;
    const String rate = TargetFrameRates[norm];
    if (AType == L"vcd") {
        SetVideoCodec(L"mpeg1video");
        SetAudioCodec(L"mp2");
        SetFormat(L"vcd");
        SetFrameSize(pal ? L"352x288" : L"352x240");
        SetFrameRate(rate);
        SetContextOption("g", pal ? "15" : "18");
        SetContextOption("b", "1150000");
        SetContextOption("maxrate", "1150000");
        SetContextOption("minrate", "1150000");
        SetContextOption("bufsize", "327680");
        SetContextOption("ab", "224000");
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        SetContextOption("packetsize", "2324");
        SetContextOption("muxrate", "1411200");
        Fmux_preload = 0.44f;
    } else if (AType == L"svcd") {
        SetVideoCodec(L"mpeg2video");
        SetAudioCodec(L"mp2");
        SetFormat(L"svcd");
        SetFrameSize(pal ? L"480x576" : L"480x480");
        SetFrameRate(rate);
        SetContextOption("g", pal ? "15" : "18");
        SetContextOption("b", "2040000");
        SetContextOption("maxrate", "2516000");
        SetContextOption("minrate", "0");
        SetContextOption("bufsize", "1835008");
        SetContextOption("flags", "+scan_offset");
        SetContextOption("ab", "224000");
        Faudio_sample_rate = 44100;
        SetContextOption("packetsize", "2324");
        if (Faudio_channels == 1) Faudio_channels = 2;
    } else if (AType == L"dvd") {
        SetVideoCodec(L"mpeg2video");
        SetAudioCodec(L"ac3");
        SetFormat(L"dvd");
        SetFrameSize(pal ? L"720x576" : L"720x480");
        SetFrameRate(rate);
        SetContextOption("g", pal ? "15" : "18");
        SetContextOption("b", "6000000");
        SetContextOption("maxrate", "9000000");
        SetContextOption("minrate", "0");
        SetContextOption("bufsize", "1835008");
        SetContextOption("packetsize", "2048");
        SetContextOption("muxrate", "10080000");
        SetContextOption("ab", "448000");
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1) Faudio_channels = 2;
    } else if (AType == L"dv" || AType == L"dv50") {
        SetFormat(L"dv");
        SetFrameSize(pal ? L"720x576" : L"720x480");
        SetPixelFormat(AType == L"dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        SetFrameRate(rate);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    } else {
        throw FFmpegException(L"Unknown target type");
    }

    if (Fframe_aspect_ratio == 0) {
        if (AType == L"vcd" || AType == L"svcd") {
            DefaultLogger()->Log(this, llInfo, L"Assuming 4:3 for aspect ratio");
            SetAspectRatio(L"4:3");
        } else if (AType == L"dvd") {
            DefaultLogger()->Log(this, llInfo, L"Assuming 16:9 for aspect ratio");
            SetAspectRatio(L"16:9");
        }
    }
}

void TCustomFFmpeg::ParseTarget(const std::string& AText)
{
    String text = Trim(Utf8ToString(AText));
    String norm = L"auto";
    for (const wchar_t* word : {L"pal", L"ntsc", L"film"}) {
        String prefix = String(word) + L"-";
        if (text.compare(0, prefix.size(), prefix) == 0) {
            norm = word;
            text = text.substr(prefix.size());
            break;
        }
    }
    SetTarget(text, norm, L"ntsc");
}
