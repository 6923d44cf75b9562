// What a playback shows: the SDL video mode, the current picture drawn from its YUV overlay at
// the right aspect ratio with bitmap subtitles blended in, the waveform or spectrum of the sound
// when no picture is shown, and the hook that hands every picture to the application as an
// image and takes it back. All drawing runs on the play thread; the hook on the video thread.
#include <algorithm>
#include <cmath>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/player_state.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"

int VideoOpen(TVideoState* is, bool force)
{
    TCustomPlayer* p = is->Owner;
    if (p->Fdisplay_disable) return -1;
    int w, h;
    if (p->Fis_full_screen && p->Ffs_screen_width > 0) {
        w = p->Ffs_screen_width;
        h = p->Ffs_screen_height;
    } else if (!p->Fis_full_screen && p->Fscreen_width > 0) {
        w = p->Fscreen_width;
        h = p->Fscreen_height;
    } else if (is->out_width > 0) {
        w = is->out_width & ~1;
        h = is->out_height & ~1;
    } else {
        w = 640;
        h = 480;
    }
    if (!force && p->Fscreen && is->width == p->Fscreen->w && p->Fscreen->w == w && is->height == p->Fscreen->h &&
        p->Fscreen->h == h)
        return 0;
    Uint32 flags = SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL;
    flags |= p->Fis_full_screen ? SDL_FULLSCREEN : SDL_RESIZABLE;
    // YUV overlays need a surface of 16 bits or more (the dummy driver offers 8 by default).
    const SDL_VideoInfo* info = sdl::SDL_GetVideoInfo();
    int bpp = info && info->vfmt && info->vfmt->BitsPerPixel < 16 ? 32 : 0;
    SDL_Surface* screen = sdl::SDL_SetVideoMode(w, h, bpp, flags);
    p->Fscreen = screen;
    if (!screen) {
        p->ReportError(L"SDL: could not set video mode.", false);
        return -1;
    }
    if (!p->FScreenHandle) sdl::SDL_WM_SetCaption("FFPlayer", "FFPlayer");
    is->width = screen->w;
    is->height = screen->h;
    return 0;
}

namespace {

// Fills the screen area of the playback outside APicture black and shows it.
void FillBands(SDL_Surface* AScreen, TVideoState* is, const SDL_Rect& APicture)
{
    const Uint32 black = sdl::SDL_MapRGB(AScreen->format, 0, 0, 0);
    const int left = is->xleft, top = is->ytop, right = is->xleft + is->width, bottom = is->ytop + is->height;
    const int px = APicture.x, py = APicture.y, pr = APicture.x + APicture.w, pb = APicture.y + APicture.h;
    const SDL_Rect bands[] = {
        {Sint16(left), Sint16(top), Uint16(std::max(right - left, 0)), Uint16(std::max(py - top, 0))},
        {Sint16(left), Sint16(pb), Uint16(std::max(right - left, 0)), Uint16(std::max(bottom - pb, 0))},
        {Sint16(left), Sint16(py), Uint16(std::max(px - left, 0)), Uint16(std::max(pb - py, 0))},
        {Sint16(pr), Sint16(py), Uint16(std::max(right - pr, 0)), Uint16(std::max(pb - py, 0))},
    };
    for (SDL_Rect band : bands) {
        if (band.w == 0 || band.h == 0) continue;
        sdl::SDL_FillRect(AScreen, &band, black);
        sdl::SDL_UpdateRect(AScreen, band.x, band.y, band.w, band.h);
    }
}

}  // namespace

void VideoDisplay(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    // No picture output at all: not even a video surface (which would open a window).
    if (p->Fdisplay_disable) return;
    if (!p->Fscreen) VideoOpen(is, false);
    if (!p->Fscreen) return;
    if (is->audio_st && is->show_audio)
        ShowAudioDisplay(is);
    else if (is->video_st)
        ShowPicture(is);
}

void ShowPicture(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    TVideoPicture* vp = &is->pictq[is->pictq_rindex];
    if (!vp->Overlay) return;
    double aspect;
    if (p->FAspectRatio < 0 && is->width && is->height) {
        aspect = static_cast<double>(is->width) / is->height;
    } else if (p->FAspectRatio > 0) {
        aspect = p->FAspectRatio;
    } else {
        aspect = 0;
        sdl::SDL_LockMutex(is->pictq_mutex);
        if (vp->PicRef && vp->PicRef->sample_aspect_ratio.num && vp->PicRef->sample_aspect_ratio.den)
            aspect = av_q2d(vp->PicRef->sample_aspect_ratio);
        sdl::SDL_UnlockMutex(is->pictq_mutex);
        if (aspect <= 0) aspect = 1.0;
        aspect *= static_cast<double>(vp->Width) / vp->Height;
    }

    if (is->subtitle_st && is->subpq_size > 0) {
        TSubPicture* sp = &is->subpq[is->subpq_rindex];
        if (vp->PTS >= sp->PTS + sp->Sub.start_display_time / 1000.0) {
            sdl::SDL_LockYUVOverlay(vp->Overlay);
            uint8_t* data[3] = {vp->Overlay->pixels[0], vp->Overlay->pixels[2], vp->Overlay->pixels[1]};
            int linesize[3] = {vp->Overlay->pitches[0], vp->Overlay->pitches[2], vp->Overlay->pitches[1]};
            for (unsigned i = 0; i < sp->Sub.num_rects; i++)
                BlendSubRect(data, linesize, sp->Sub.rects[i], vp->Overlay->w, vp->Overlay->h);
            sdl::SDL_UnlockYUVOverlay(vp->Overlay);
        }
    }

    int h = is->height;
    int w = static_cast<int>(std::lrint(h * aspect)) & ~1;
    if (w > is->width) {
        w = is->width;
        h = static_cast<int>(std::lrint(w / aspect)) & ~1;
    }
    int x = (is->width - w) / 2;
    int y = (is->height - h) / 2;
    is->no_background = 0;
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(is->xleft + x);
    rect.y = static_cast<Sint16>(is->ytop + y);
    rect.w = static_cast<Uint16>(std::max(w, 0));
    rect.h = static_cast<Uint16>(std::max(h, 0));
    // The bands beside the picture, or above and below it, are black: nothing of an earlier
    // picture (another file's, of another shape) stays in them.
    if (w < is->width || h < is->height) FillBands(p->Fscreen, is, rect);
    sdl::SDL_DisplayYUVOverlay(vp->Overlay, &rect);
}

void BlendSubRect(uint8_t* data[3], const int linesize[3], const AVSubtitleRect* rect, int imgw, int imgh)
{
    if (!rect->data[0] || !rect->data[1]) return;
    int w = std::clamp(rect->w, 0, imgw);
    int h = std::clamp(rect->h, 0, imgh);
    int x = rect->x < 0 ? 0 : std::min(rect->x, imgw - w);
    int y = rect->y < 0 ? 0 : std::min(rect->y, imgh - h);
    const uint32_t* pal = reinterpret_cast<const uint32_t*>(rect->data[1]);
    auto entry = [&](int i, int j) { return pal[rect->data[0][j * rect->linesize[0] + i]]; };

    for (int j = 0; j < h; j++) {
        uint8_t* lum = data[0] + (y + j) * linesize[0] + x;
        for (int i = 0; i < w; i++) {
            uint32_t c = entry(i, j);
            int a = c >> 24, ynew = (c >> 16) & 0xff;
            lum[i] = static_cast<uint8_t>((lum[i] * (255 - a) + ynew * a) / 255);
        }
    }
    // Chroma per 2 x 2 block: a full block, a pair cut by the rectangle's edge, or a corner pixel.
    for (int cy = y >> 1; cy <= (y + h - 1) >> 1 && h > 0; cy++) {
        for (int cx = x >> 1; cx <= (x + w - 1) >> 1 && w > 0; cx++) {
            int n = 0, sumA = 0, sumU = 0, sumV = 0, lastA = 0;
            for (int dy = 0; dy < 2; dy++)
                for (int dx = 0; dx < 2; dx++) {
                    int px = 2 * cx + dx - x, py = 2 * cy + dy - y;
                    if (px < 0 || px >= w || py < 0 || py >= h) continue;
                    uint32_t c = entry(px, py);
                    lastA = c >> 24;
                    sumA += lastA;
                    sumU += (c >> 8) & 0xff;
                    sumV += c & 0xff;
                    n++;
                }
            uint8_t* u = data[1] + cy * linesize[1] + cx;
            uint8_t* v = data[2] + cy * linesize[2] + cx;
            if (n == 4) {
                int as = sumA >> 2;
                *u = static_cast<uint8_t>((*u * 4 * (255 - as) + sumU * as) / 1020);
                *v = static_cast<uint8_t>((*v * 4 * (255 - as) + sumV * as) / 1020);
            } else if (n == 2) {
                int as = sumA >> 2;
                *u = static_cast<uint8_t>((*u * 2 * (255 - as) + sumU * as) / 510);
                *v = static_cast<uint8_t>((*v * 2 * (255 - as) + sumV * as) / 510);
            } else if (n == 1) {
                int as = lastA >> 2;
                *u = static_cast<uint8_t>((*u * (255 - as) + sumU * as) / 255);
                *v = static_cast<uint8_t>((*v * (255 - as) + sumV * as) / 255);
            }
        }
    }
}

namespace {

int Modulo(int a, int b)
{
    a %= b;
    return a < 0 ? a + b : a;
}

void FillRect(SDL_Surface* screen, int x, int y, int w, int h, Uint32 color)
{
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(std::max(w, 0));
    rect.h = static_cast<Uint16>(std::max(h, 0));
    sdl::SDL_FillRect(screen, &rect, color);
}

}  // namespace

void ShowAudioDisplay(TVideoState* is)
{
    TCustomPlayer* p = is->Owner;
    SDL_Surface* screen = p->Fscreen;
    if (!screen || !is->audio_st || is->width <= 0 || is->height <= 0) return;
    const int channels = std::max<int>(is->audio_spec.channels, 1);
    int rdft_bits = 1;
    while ((1 << rdft_bits) < 2 * is->height) rdft_bits++;
    const int nb_freq = 1 << (rdft_bits - 1);
    const int mode = is->show_audio;
    int i_start;
    if (!is->paused) {
        int data_used = mode == saWave ? is->width : 2 * nb_freq;
        int64_t delay = (static_cast<int>(is->audio_buf_size) - is->audio_buf_index) / (2 * channels);
        int64_t cbTime = p->Faudio_callback_time;
        if (cbTime) delay -= (av::av_gettime_relative() - cbTime) * is->audio_spec.freq / 1000000;
        delay += 2 * data_used;
        if (delay < data_used) delay = data_used;
        i_start = Modulo(is->sample_array_index - static_cast<int>(delay) * channels, SAMPLE_ARRAY_SIZE);
        int x = i_start;
        if (mode == saWave) {
            int h = INT32_MIN;
            for (int i = 0; i < 1000; i += channels) {
                int idx = Modulo(x - i, SAMPLE_ARRAY_SIZE);
                int a = is->sample_array[idx];
                int b = is->sample_array[(idx + 4 * channels) % SAMPLE_ARRAY_SIZE];
                int c = is->sample_array[(idx + 5 * channels) % SAMPLE_ARRAY_SIZE];
                int d = is->sample_array[(idx + 9 * channels) % SAMPLE_ARRAY_SIZE];
                int score = a - d;
                if (h < score && (b ^ c) < 0) {
                    h = score;
                    i_start = idx;
                }
            }
        }
        is->last_i_start = i_start;
    } else {
        i_start = is->last_i_start;
    }

    const Uint32 black = sdl::SDL_MapRGB(screen->format, 0, 0, 0);
    if (mode == saWave) {
        FillRect(screen, is->xleft, is->ytop, is->width, is->height, black);
        const Uint32 white = sdl::SDL_MapRGB(screen->format, 0xff, 0xff, 0xff);
        int h = is->height / channels;
        int h2 = h * 9 / 20;
        for (int ch = 0; ch < channels; ch++) {
            int i = Modulo(i_start + ch, SAMPLE_ARRAY_SIZE);
            int y1 = is->ytop + ch * h + h / 2;
            for (int x = 0; x < is->width; x++) {
                int y = (is->sample_array[i] * h2) >> 15;
                if (y < 0)
                    FillRect(screen, is->xleft + x, y1 + y, 1, -y, white);
                else
                    FillRect(screen, is->xleft + x, y1, 1, y, white);
                i += channels;
                if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
            }
        }
        for (int ch = 1; ch < channels; ch++) FillRect(screen, is->xleft, is->ytop + ch * h, is->width, 1, white);
        sdl::SDL_UpdateRect(screen, is->xleft, is->ytop, is->width, is->height);
        return;
    }

    const int nb_display_channels = std::min(channels, 2);
    if (rdft_bits != is->rdft_bits) {
        if (is->rdft) av::av_rdft_end(is->rdft);
        av::av_free(is->rdft_data);
        is->rdft = av::av_rdft_init(rdft_bits, DFT_R2C);
        is->rdft_bits = rdft_bits;
        is->rdft_data = static_cast<FFTSample*>(av::av_malloc(4 * nb_freq * sizeof(FFTSample)));
    }
    if (!is->rdft || !is->rdft_data) return;
    FFTSample* data[2];
    for (int ch = 0; ch < nb_display_channels; ch++) {
        data[ch] = is->rdft_data + 2 * nb_freq * ch;
        int i = Modulo(i_start + ch, SAMPLE_ARRAY_SIZE);
        for (int x = 0; x < 2 * nb_freq; x++) {
            double w = (x - nb_freq) * (1.0 / nb_freq);
            data[ch][x] = static_cast<FFTSample>(is->sample_array[i] * (1.0 - w * w));
            i += channels;
            if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
        }
        av::av_rdft_calc(is->rdft, data[ch]);
    }
    if (is->xpos < is->xleft || is->xpos >= is->xleft + is->width) is->xpos = is->xleft;
    const double norm = std::sqrt(static_cast<double>(nb_freq));
    for (int y = 0; y < is->height; y++) {
        auto level = [&](const FFTSample* d) {
            double re = d[2 * y], im = d[2 * y + 1];
            double v = std::lrint(std::sqrt(std::sqrt(re * re + im * im) / norm));
            return static_cast<int>(std::min(v, 255.0));
        };
        int a = level(data[0]);
        int b = nb_display_channels == 2 ? level(data[1]) : a;
        Uint32 color = sdl::SDL_MapRGB(screen->format, static_cast<Uint8>(a), static_cast<Uint8>(b),
                                       static_cast<Uint8>((a + b) / 2));
        FillRect(screen, is->xpos, is->ytop + is->height - 1 - y, 1, 1, color);
    }
    sdl::SDL_UpdateRect(screen, is->xpos, is->ytop, 1, is->height);
    if (++is->xpos >= is->xleft + is->width) is->xpos = is->xleft;
}

bool TCustomPlayer::CallHook(const AVFrame* ASrcFrame, AVFrame* AOverlayPicture, double APTS)
{
    if (!FHook || !OnHook) return false;
    if (!FHookContext) {
        FHookContext = std::make_unique<TRGBConvertContext>();
        ResetRGBContext(*FHookContext);
    }
    TRGBConvertContext& ctx = *FHookContext;
    if (!FHookBitmap) FHookBitmap = std::make_unique<TBitmap>();
    TBitmap& bitmap = *FHookBitmap;
    if (!PictureToBitmap(ctx, ASrcFrame, bitmap)) {
        LogMessage(llError, L"Cannot initialize the toRGB conversion context");
        return false;
    }
    TVideoState* is = FVideoState;
    int64_t startTime = is ? is->StartTime : 0;
    // The handler paints with the canvas locked: other threads that paint on it wait meanwhile.
    TCanvas* canvas = bitmap.Canvas();
    canvas->Lock();
    try {
        OnHook(this, &bitmap, std::llround(APTS * 1000000.0) - startTime);
    } catch (const std::exception& e) {
        LogMessage(llError, L"Error occurs OnHook: " + Utf8ToString(e.what()));
    }
    canvas->Unlock();
    // The picture is taken back only as the hook got it: 32 bits a pixel, rows in one block.
    if (bitmap.Empty() || bitmap.ScanLineSize() != bitmap.Width() * 4) return true;
    int w = std::min(bitmap.Width(), ASrcFrame->width) & ~1;
    int h = std::min(bitmap.Height(), ASrcFrame->height) & ~1;
    ctx.fromRGB_convert_ctx = av::sws_getCachedContext(ctx.fromRGB_convert_ctx, w, h, ctx.RGBPixFmt, w, h,
                                                       AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!ctx.fromRGB_convert_ctx) {
        LogMessage(llError, L"Cannot initialize the fromRGB conversion context");
        return false;
    }
    const uint8_t* src[4] = {static_cast<const uint8_t*>(bitmap.ScanLine(0)), nullptr, nullptr, nullptr};
    int srcLines[4] = {bitmap.ScanLineSize(), 0, 0, 0};
    av::sws_scale(ctx.fromRGB_convert_ctx, src, srcLines, 0, h, AOverlayPicture->data, AOverlayPicture->linesize);
    return true;
}
