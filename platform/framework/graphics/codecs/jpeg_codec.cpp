// libjpeg reports errors through error_exit, which must not return: ours longjmps. Every
// libjpeg call runs inside one of the small phase functions below, each with its own setjmp
// and only plain data in its frame and in the managers under it; a phase returns false after
// an error, and the C++ caller raises once no libjpeg frame is on the stack.
#include "platform/framework/graphics/codecs/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/framework/core/strings.h"

namespace {

// Progressive files with more scans than this are refused: each scan rereads the whole
// coefficient buffer, and crafted files use thousands of them to stall the decoder.
constexpr int kMaxScans = 500;

struct JpegError {
    jpeg_error_mgr pub;  // first: libjpeg sees only this part
    jmp_buf jump;
    int code;
    char message[JMSG_LENGTH_MAX];
    bool ranOut;  // the decoder needed data past the end
};

void OnJpegError(j_common_ptr cinfo)
{
    auto* e = reinterpret_cast<JpegError*>(cinfo->err);
    e->code = e->pub.msg_code;
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// Warnings (corrupt but recoverable data) leave the decoded picture as the library makes it,
// except that running out of data is noted: the picture would be cut short.
void OnJpegMessage(j_common_ptr cinfo, int level)
{
    auto* e = reinterpret_cast<JpegError*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER) e->ranOut = true;
}

struct JpegSource {
    jpeg_source_mgr pub;
    bool inHeader;  // data ending in the headers is an error at once
    bool eofHit;    // an end marker was made up for data that ended early
};

const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

void SourceInit(j_decompress_ptr) {}

boolean SourceFill(j_decompress_ptr cinfo)
{
    // Past the headers the decoder reads ahead, so the end of the data is answered with an end
    // marker as a file's own would be; whether data was missing is judged afterwards.
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    if (src->inHeader) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->eofHit = true;
    src->pub.next_input_byte = kFakeEoi;
    src->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SourceSkip(j_decompress_ptr cinfo, long count)
{
    if (count <= 0) return;
    auto& pub = cinfo->src;
    if (static_cast<size_t>(count) > pub->bytes_in_buffer) {
        pub->next_input_byte += pub->bytes_in_buffer;
        pub->bytes_in_buffer = 0;
        return;
    }
    pub->next_input_byte += count;
    pub->bytes_in_buffer -= static_cast<size_t>(count);
}

void SourceTerm(j_decompress_ptr) {}

void OnProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor) return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* e = reinterpret_cast<JpegError*>(cinfo->err);
        e->code = 0;
        std::snprintf(e->message, sizeof e->message, "too many scans");
        std::longjmp(e->jump, 1);
    }
}

struct JpegDest {
    jpeg_destination_mgr pub;
    JOCTET* buffer;
    size_t capacity;
    size_t used;
};

void DestInit(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<JpegDest*>(cinfo->dest);
    d->capacity = 65536;
    d->buffer = static_cast<JOCTET*>(std::malloc(d->capacity));
    if (!d->buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = d->capacity;
}

boolean DestEmpty(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<JpegDest*>(cinfo->dest);
    auto* grown = static_cast<JOCTET*>(std::realloc(d->buffer, d->capacity * 2));
    if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->buffer = grown;
    d->pub.next_output_byte = d->buffer + d->capacity;
    d->pub.free_in_buffer = d->capacity;
    d->capacity *= 2;
    return TRUE;
}

void DestTerm(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<JpegDest*>(cinfo->dest);
    d->used = d->capacity - d->pub.free_in_buffer;
}

void InstallError(j_common_ptr cinfo, JpegError* err)
{
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = OnJpegError;
    err->pub.emit_message = OnJpegMessage;
    err->code = 0;
    err->message[0] = 0;
    err->ranOut = false;
}

bool HeaderPhase(j_decompress_ptr cinfo, JpegError* err, JpegSource* src, jpeg_progress_mgr* progress,
                 const uint8_t* data, size_t size)
{
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    src->pub.init_source = SourceInit;
    src->pub.fill_input_buffer = SourceFill;
    src->pub.skip_input_data = SourceSkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = SourceTerm;
    src->pub.next_input_byte = data;
    src->pub.bytes_in_buffer = size;
    src->inHeader = true;
    src->eofHit = false;
    cinfo->src = &src->pub;
    progress->progress_monitor = OnProgress;
    cinfo->progress = progress;
    jpeg_read_header(cinfo, TRUE);
    src->inHeader = false;
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE: cinfo->out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: cinfo->out_color_space = JCS_CMYK; break;
    default: cinfo->out_color_space = JCS_EXT_BGRA; break;
    }
    return true;
}

// Decodes every scan line into BGRA rows of the picture; row is scratch room for one line of
// width x 4 bytes.
bool PixelsPhase(j_decompress_ptr cinfo, JpegError* err, JpegSource* src, uint8_t* bits, size_t stride, JSAMPLE* row)
{
    if (setjmp(err->jump)) return false;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        uint8_t* d = bits + stride * cinfo->output_scanline;
        JSAMPROW rows[1] = {cinfo->out_color_space == JCS_EXT_BGRA ? d : row};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1) ERREXIT(cinfo, JERR_INPUT_EOF);
        if (cinfo->out_color_space == JCS_GRAYSCALE) {
            for (JDIMENSION x = 0; x < width; ++x, d += 4) {
                d[0] = d[1] = d[2] = row[x];
                d[3] = 255;
            }
        } else if (cinfo->out_color_space == JCS_CMYK) {
            for (JDIMENSION x = 0; x < width; ++x, d += 4) {
                const JSAMPLE* s = row + 4 * x;
                unsigned c = s[0], m = s[1], y = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                d[2] = static_cast<uint8_t>((c * k + 127) / 255);
                d[1] = static_cast<uint8_t>((m * k + 127) / 255);
                d[0] = static_cast<uint8_t>((y * k + 127) / 255);
                d[3] = 255;
            }
        }
    }
    // A multi-scan file cut at a scan boundary decodes without a warning, as a blurred or
    // partial picture: any early end is an error there.
    if (src->eofHit && (err->ranOut || jpeg_has_multiple_scans(cinfo))) ERREXIT(cinfo, JERR_INPUT_EOF);
    return true;
}

bool FinishPhase(j_decompress_ptr cinfo, JpegError* err)
{
    if (setjmp(err->jump)) return false;
    jpeg_finish_decompress(cinfo);
    return true;
}

bool CompressPhase(j_compress_ptr cinfo, JpegError* err, JpegDest* dest, const uint8_t* bits, size_t stride,
                   JDIMENSION width, JDIMENSION height, int quality, bool grey, bool progressive)
{
    if (setjmp(err->jump)) return false;
    jpeg_create_compress(cinfo);
    dest->pub.init_destination = DestInit;
    dest->pub.empty_output_buffer = DestEmpty;
    dest->pub.term_destination = DestTerm;
    cinfo->dest = &dest->pub;
    cinfo->image_width = width;
    cinfo->image_height = height;
    cinfo->input_components = 4;
    cinfo->in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(cinfo);
    if (grey) jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < height) {
        JSAMPROW rows[1] = {const_cast<JSAMPROW>(bits + stride * cinfo->next_scanline)};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

String ErrorText(const JpegError& err)
{
    if (err.code > 0) return L"JPEG error #" + std::to_wstring(err.code) + L" (" + Utf8ToString(err.message) + L")";
    return L"JPEG image is not valid (" + Utf8ToString(err.message) + L")";
}

// The libjpeg structures are plain C data; these own them in the C++ frames only.
struct DecompressHandle {
    jpeg_decompress_struct cinfo{};
    ~DecompressHandle() { jpeg_destroy_decompress(&cinfo); }
};

struct CompressHandle {
    jpeg_compress_struct cinfo{};
    JpegDest dest{};
    ~CompressHandle()
    {
        jpeg_destroy_compress(&cinfo);
        std::free(dest.buffer);
    }
};

}  // namespace

TRasterImage LoadJpeg(const uint8_t* data, size_t size)
{
    if (size == 0) throw EInvalidGraphic(L"JPEG image is not valid (empty)");
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8)
        throw EInvalidGraphic(L"JPEG image is not valid (no JPEG signature)");
    JpegError err{};
    JpegSource src{};
    jpeg_progress_mgr progress{};
    DecompressHandle h;
    InstallError(reinterpret_cast<j_common_ptr>(&h.cinfo), &err);
    if (!HeaderPhase(&h.cinfo, &err, &src, &progress, data, size)) throw EInvalidGraphic(ErrorText(err));
    CheckImageSize(h.cinfo.image_width, h.cinfo.image_height, "JPEG image");

    TRasterImage image(static_cast<int>(h.cinfo.image_width), static_cast<int>(h.cinfo.image_height));
    std::vector<JSAMPLE> row(static_cast<size_t>(image.Width()) * 4);
    if (!PixelsPhase(&h.cinfo, &err, &src, image.Bits(), image.Stride(), row.data()))
        throw EInvalidGraphic(ErrorText(err));
    if (h.cinfo.output_width != h.cinfo.image_width || h.cinfo.output_height != h.cinfo.image_height)
        throw EInvalidGraphic(L"JPEG image is not valid (unexpected output size)");
    // Trailing data after the last scan line does not change the picture.
    FinishPhase(&h.cinfo, &err);

    image.SetSourceFormat(TImageFormat::Jpeg);
    image.SetBitDepth(h.cinfo.out_color_space == JCS_GRAYSCALE ? 8 : 24);
    return image;
}

std::vector<uint8_t> SaveJpeg(const TRasterImage& image, const TJpegSaveOptions& options)
{
    if (image.Empty()) throw EInvalidGraphic(L"Cannot save an empty JPEG image");
    if (image.Width() > 65500 || image.Height() > 65500) throw EInvalidGraphic(L"Picture is too large for JPEG");
    const int quality = options.Quality < 1 ? 1 : options.Quality > 100 ? 100 : options.Quality;
    JpegError err{};
    CompressHandle h;
    InstallError(reinterpret_cast<j_common_ptr>(&h.cinfo), &err);
    if (!CompressPhase(&h.cinfo, &err, &h.dest, image.Bits(), image.Stride(), static_cast<JDIMENSION>(image.Width()),
                       static_cast<JDIMENSION>(image.Height()), quality, options.Grayscale, options.Progressive))
        throw EInvalidGraphic(L"Cannot write the JPEG image: " + ErrorText(err));
    return std::vector<uint8_t>(h.dest.buffer, h.dest.buffer + h.dest.used);
}
