// libpng reports errors by longjmp. Every libpng call runs inside one of the small phase
// functions below, each with its own setjmp and only plain data in its frame and in the
// callbacks under it; a phase returns false after an error, and the C++ caller turns that
// into an exception once no libpng frame is on the stack.
#include "platform/framework/graphics/codecs/png_codec.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "platform/framework/core/strings.h"

namespace {

struct PngContext {
    const uint8_t* data = nullptr;  // reading
    size_t size = 0;
    size_t pos = 0;
    std::vector<uint8_t>* out = nullptr;  // writing
    char message[256] = {};
};

// What the header said, gathered inside the protected phase.
struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, channels = 0;
    size_t rowBytes = 0;
    int paletteCount = 0;
    png_color palette[256] = {};
    int trnsCount = 0;
    png_byte trnsAlpha[256] = {};
    bool hasTrnsColor = false;
    png_color_16 trnsColor = {};
};

void OnPngError(png_structp png, png_const_charp msg)
{
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof ctx->message, "%s", msg ? msg : "unknown error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep out, size_t n)
{
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    if (ctx->size - ctx->pos < n) png_error(png, "file is truncated");
    std::memcpy(out, ctx->data + ctx->pos, n);
    ctx->pos += n;
}

bool Append(std::vector<uint8_t>* out, const uint8_t* d, size_t n) noexcept
{
    try {
        out->insert(out->end(), d, d + n);
        return true;
    } catch (...) {
        return false;
    }
}

void OnPngWrite(png_structp png, png_bytep d, size_t n)
{
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    if (!Append(ctx->out, d, n)) png_error(png, "out of memory");
}

void OnPngFlush(png_structp) {}

bool ReadHeaderPhase(png_structp png, png_infop info, PngHeader* h)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    int interlace = 0;
    png_get_IHDR(png, info, &h->width, &h->height, &h->bitDepth, &h->colorType, &interlace, nullptr, nullptr);
    h->channels = png_get_channels(png, info);
    if (h->colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp pal = nullptr;
        if (png_get_PLTE(png, info, &pal, &h->paletteCount) && pal) {
            if (h->paletteCount > 256) h->paletteCount = 256;
            std::memcpy(h->palette, pal, sizeof(png_color) * h->paletteCount);
        }
    }
    const bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (trns) {
        png_bytep alpha = nullptr;
        png_color_16p color = nullptr;
        png_get_tRNS(png, info, &alpha, &h->trnsCount, &color);
        if (h->colorType == PNG_COLOR_TYPE_PALETTE && alpha) {
            if (h->trnsCount > 256) h->trnsCount = 256;
            std::memcpy(h->trnsAlpha, alpha, h->trnsCount);
        } else if (color) {
            h->hasTrnsColor = true;
            h->trnsColor = *color;
        }
    }
    if (h->colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (h->colorType == PNG_COLOR_TYPE_GRAY && h->bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (trns) png_set_tRNS_to_alpha(png);
    if (h->bitDepth == 16) png_set_scale_16(png);
    if (h->colorType == PNG_COLOR_TYPE_GRAY || h->colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(h->colorType & PNG_COLOR_MASK_ALPHA) && !trns) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    h->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadPixelsPhase(png_structp png, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

bool ReadEndPhase(png_structp png)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_end(png, nullptr);
    return true;
}

bool WritePhase(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, bool alpha, int level,
                png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

[[noreturn]] void Invalid(const char* why)
{
    throw EInvalidGraphic(L"PNG image is not valid (" + Utf8ToString(why) + L")");
}

// Owns the libpng structures; lives in the C++ frames only, never under a setjmp.
struct PngReadHandle {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadHandle() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct PngWriteHandle {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriteHandle() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// A tRNS sample scaled to 8 bits the way the pixels are.
uint8_t Scale(png_uint_16 v, int bitDepth)
{
    if (bitDepth == 16) return static_cast<uint8_t>((v * 255u + 32895u) >> 16);
    const unsigned max = (1u << bitDepth) - 1;
    return static_cast<uint8_t>((v & max) * 255u / max);
}

}  // namespace

TRasterImage LoadPng(const uint8_t* data, size_t size)
{
    if (size == 0) Invalid("empty");
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) Invalid("no PNG signature");
    PngContext ctx;
    ctx.data = data;
    ctx.size = size;
    PngReadHandle h;
    h.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, OnPngError, OnPngWarning);
    if (!h.png) throw EOutOfResources(L"Out of memory reading a PNG image");
    h.info = png_create_info_struct(h.png);
    if (!h.info) throw EOutOfResources(L"Out of memory reading a PNG image");
    png_set_read_fn(h.png, &ctx, OnPngRead);
    png_set_user_limits(h.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_cache_max(h.png, 1000);
    png_set_chunk_malloc_max(h.png, 16u << 20);

    PngHeader header;
    if (!ReadHeaderPhase(h.png, h.info, &header)) Invalid(ctx.message);
    CheckImageSize(header.width, header.height, "PNG image");
    if (header.rowBytes != static_cast<size_t>(header.width) * 4) Invalid("unexpected row layout");

    TRasterImage image(static_cast<int>(header.width), static_cast<int>(header.height));
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = image.ScanLine(static_cast<int>(y));
    if (!ReadPixelsPhase(h.png, rows.data())) Invalid(ctx.message);
    // What follows the image data (text, time, the end chunk) does not change the picture; a
    // file cut off there still gives its complete image.
    ReadEndPhase(h.png);

    const int ct = header.colorType;
    image.SetSourceFormat(TImageFormat::Png);
    image.SetPngColorType(ct);
    image.SetBitDepth(header.bitDepth * header.channels);
    image.SetHasAlpha((ct & PNG_COLOR_MASK_ALPHA) || header.trnsCount > 0 || header.hasTrnsColor);
    if (ct == PNG_COLOR_TYPE_PALETTE) {
        std::vector<TPaletteEntry> palette;
        for (int i = 0; i < header.paletteCount; ++i)
            palette.push_back(TPaletteEntry{header.palette[i].blue, header.palette[i].green, header.palette[i].red, 0});
        // Only fully transparent and opaque entries: the first transparent entry is the
        // picture's transparent colour.
        int first = -1;
        bool binary = true;
        for (int i = 0; i < header.trnsCount; ++i) {
            if (header.trnsAlpha[i] != 0 && header.trnsAlpha[i] != 255) binary = false;
            if (header.trnsAlpha[i] == 0 && first < 0 && i < header.paletteCount) first = i;
        }
        if (binary && first >= 0) {
            image.SetTransparentIndex(first);
            image.SetTransparentColor((palette[first].Red << 16) | (palette[first].Green << 8) | palette[first].Blue);
        }
        image.SetPalette(std::move(palette));
    } else if (header.hasTrnsColor) {
        const png_color_16& c = header.trnsColor;
        if (ct == PNG_COLOR_TYPE_GRAY) {
            const uint32_t g = Scale(c.gray, header.bitDepth);
            image.SetTransparentColor((g << 16) | (g << 8) | g);
        } else {
            image.SetTransparentColor((Scale(c.red, header.bitDepth) << 16) | (Scale(c.green, header.bitDepth) << 8) |
                                      Scale(c.blue, header.bitDepth));
        }
    }
    return image;
}

std::vector<uint8_t> SavePng(const TRasterImage& image, int compressionLevel)
{
    if (image.Empty()) throw EInvalidGraphic(L"Cannot save an empty PNG image");
    if (compressionLevel < 0 || compressionLevel > 9) compressionLevel = 6;
    std::vector<uint8_t> out;
    PngContext ctx;
    ctx.out = &out;
    PngWriteHandle h;
    h.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, OnPngError, OnPngWarning);
    if (!h.png) throw EOutOfResources(L"Out of memory writing a PNG image");
    h.info = png_create_info_struct(h.png);
    if (!h.info) throw EOutOfResources(L"Out of memory writing a PNG image");
    png_set_write_fn(h.png, &ctx, OnPngWrite, OnPngFlush);
    std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y)
        rows[y] = const_cast<png_bytep>(image.ScanLine(y));  // libpng copies each row before its transforms
    if (!WritePhase(h.png, h.info, image.Width(), image.Height(), image.HasAlpha(), compressionLevel, rows.data()))
        throw EInvalidGraphic(L"Cannot write the PNG image (" + Utf8ToString(ctx.message) + L")");
    return out;
}
