#include "platform/framework/graphics/codecs/gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/codecs/palette.h"

namespace {

struct GifReadContext {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int OnGifRead(GifFileType* gif, GifByteType* buf, int count)
{
    auto* ctx = static_cast<GifReadContext*>(gif->UserData);
    const size_t n = std::min(static_cast<size_t>(std::max(count, 0)), ctx->size - ctx->pos);
    std::memcpy(buf, ctx->data + ctx->pos, n);
    ctx->pos += n;
    return static_cast<int>(n);
}

int OnGifWrite(GifFileType* gif, const GifByteType* buf, int count)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    try {
        out->insert(out->end(), buf, buf + count);
        return count;
    } catch (...) {
        return 0;
    }
}

[[noreturn]] void Invalid(const String& why) { throw EInvalidGraphic(L"GIF image is not valid (" + why + L")"); }

String GifText(int code)
{
    const char* text = GifErrorString(code);
    return text ? Utf8ToString(text) : L"error " + std::to_wstring(code);
}

[[noreturn]] void Fail(int code) { Invalid(GifText(code)); }

struct GifReader {
    GifFileType* gif = nullptr;
    ~GifReader()
    {
        int err = 0;
        if (gif) DGifCloseFile(gif, &err);
    }
};

struct GifWriter {
    GifFileType* gif = nullptr;
    ColorMapObject* map = nullptr;
    ~GifWriter()
    {
        int err = 0;
        if (gif) EGifCloseFile(gif, &err);
        GifFreeMapObject(map);
    }
};

}  // namespace

TRasterImage LoadGif(const uint8_t* data, size_t size)
{
    if (size == 0) Invalid(L"empty");
    if (size < 6 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        Invalid(L"no GIF signature");
    GifReadContext ctx{data, size, 0};
    GifReader r;
    int err = 0;
    r.gif = DGifOpen(&ctx, OnGifRead, &err);
    if (!r.gif) Fail(err);
    GifFileType* gif = r.gif;

    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) Fail(gif->Error);
        if (type == IMAGE_DESC_RECORD_TYPE) break;
        if (type == TERMINATE_RECORD_TYPE) Invalid(L"no image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) Fail(gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] == 4) {
                GraphicsControlBlock gcb{};
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
            }
            while (ext)
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) Fail(gif->Error);
        }
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) Fail(gif->Error);
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0) Invalid(L"bad frame size");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || !map->Colors) Invalid(L"no colour table");
    const int64_t canvasW = std::max<int64_t>(gif->SWidth, int64_t(desc.Left) + desc.Width);
    const int64_t canvasH = std::max<int64_t>(gif->SHeight, int64_t(desc.Top) + desc.Height);
    CheckImageSize(canvasW, canvasH, "GIF image");
    CheckImageSize(desc.Width, desc.Height, "GIF image");

    std::vector<TPaletteEntry> palette;
    const int colors = std::min(map->ColorCount, 256);
    for (int i = 0; i < colors; ++i)
        palette.push_back(TPaletteEntry{map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0});
    if (transparent >= colors) transparent = -1;
    uint32_t lookup[256];
    for (int i = 0; i < 256; ++i)
        lookup[i] = i < colors ? (0xFF000000u | (palette[i].Red << 16) | (palette[i].Green << 8) | palette[i].Blue)
                               : 0xFF000000u;
    if (transparent >= 0) lookup[transparent] &= 0x00FFFFFFu;

    TRasterImage image(static_cast<int>(canvasW), static_cast<int>(canvasH));
    const bool covers = desc.Left == 0 && desc.Top == 0 && desc.Width == canvasW && desc.Height == canvasH;
    if (!covers) image.Fill(0);
    std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
    auto readRow = [&](int row) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) Fail(gif->Error);
        auto* d = reinterpret_cast<uint32_t*>(image.ScanLine(desc.Top + row)) + desc.Left;
        for (int x = 0; x < desc.Width; ++x) d[x] = lookup[line[static_cast<size_t>(x)]];
    };
    if (desc.Interlace) {
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = kStart[pass]; row < desc.Height; row += kStep[pass]) readRow(row);
    } else {
        for (int row = 0; row < desc.Height; ++row) readRow(row);
    }

    image.SetSourceFormat(TImageFormat::Gif);
    image.SetBitDepth(std::clamp(map->BitsPerPixel, 1, 8));
    image.SetHasAlpha(transparent >= 0 || !covers);
    if (transparent >= 0) {
        image.SetTransparentIndex(transparent);
        image.SetTransparentColor(lookup[transparent]);
    }
    image.SetPalette(std::move(palette));
    return image;
}

std::vector<uint8_t> SaveGif(const TRasterImage& image)
{
    if (image.Empty()) throw EInvalidGraphic(L"Cannot save an empty GIF image");
    const int w = image.Width(), h = image.Height();

    bool needTransparent = false;
    if (image.HasAlpha())
        for (int y = 0; y < h && !needTransparent; ++y) {
            const uint8_t* p = image.ScanLine(y);
            for (int x = 0; x < w; ++x)
                if (p[4 * x + 3] < 128) {
                    needTransparent = true;
                    break;
                }
        }

    // The picture's own palette when every visible colour is in it and, if needed, it names a
    // transparent index; else an exact palette; else a reduced one.
    std::vector<TPaletteEntry> palette;
    int transparent = -1;
    const std::vector<TPaletteEntry>& own = image.Palette();
    if (!own.empty() && own.size() <= 256 &&
        (!needTransparent ||
         (image.TransparentIndex() >= 0 && image.TransparentIndex() < static_cast<int>(own.size())))) {
        const int skip = needTransparent ? image.TransparentIndex() : -1;
        if (PaletteHolds(image, own, skip, needTransparent)) {
            palette = own;
            transparent = skip;
        }
    }
    if (palette.empty()) {
        const size_t room = needTransparent ? 255 : 256;
        if (!ExactPalette(image, room, palette, needTransparent))
            palette = ReducedPalette(image, room, needTransparent);
        if (needTransparent) {
            transparent = static_cast<int>(palette.size());
            palette.push_back(TPaletteEntry{});
        }
    }
    int bits = 1;
    while ((size_t(1) << bits) < palette.size()) ++bits;
    palette.resize(size_t(1) << bits);

    std::vector<GifColorType> colors(palette.size());
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] = GifColorType{palette[i].Red, palette[i].Green, palette[i].Blue};

    std::vector<uint8_t> out;
    GifWriter wr;
    int err = 0;
    wr.gif = EGifOpen(&out, OnGifWrite, &err);
    if (!wr.gif) throw EInvalidGraphic(L"Cannot write the GIF image (" + GifText(err) + L")");
    wr.map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    if (!wr.map) throw EOutOfResources(L"Out of memory writing a GIF image");
    GifFileType* gif = wr.gif;
    auto check = [gif](int rc) {
        if (rc == GIF_ERROR) throw EInvalidGraphic(L"Cannot write the GIF image (" + GifText(gif->Error) + L")");
    };
    EGifSetGifVersion(gif, transparent >= 0);
    check(EGifPutScreenDesc(gif, w, h, bits, 0, wr.map));
    if (transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = transparent;
        GifByteType ext[4];
        const size_t n = EGifGCBToExtension(&gcb, ext);
        check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext));
    }
    check(EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr));
    TPaletteMapper mapper(palette, transparent);
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = image.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 4)
            line[x] = (transparent >= 0 && p[3] < 128) ? static_cast<GifPixelType>(transparent)
                                                       : mapper.IndexOf(p[0] | (p[1] << 8) | (p[2] << 16));
        check(EGifPutLine(gif, line.data(), w));
    }
    wr.gif = nullptr;
    if (EGifCloseFile(gif, &err) == GIF_ERROR)
        throw EInvalidGraphic(L"Cannot write the GIF image (" + GifText(err) + L")");
    return out;
}
