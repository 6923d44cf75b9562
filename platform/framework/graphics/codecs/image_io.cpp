#include "platform/framework/graphics/codecs/image_io.h"

#include <cstring>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

TImageFormat DetectImageFormat(const uint8_t* data, size_t size)
{
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return TImageFormat::Bmp;
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return TImageFormat::Png;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return TImageFormat::Jpeg;
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return TImageFormat::Gif;
    return TImageFormat::Unknown;
}

TImageFormat ImageFormatFromFileName(const String& fileName)
{
    const String ext = LowerCase(ExtractFileExt(fileName));
    if (ext == L".bmp" || ext == L".dib") return TImageFormat::Bmp;
    if (ext == L".png") return TImageFormat::Png;
    if (ext == L".jpg" || ext == L".jpeg" || ext == L".jpe" || ext == L".jfif") return TImageFormat::Jpeg;
    if (ext == L".gif") return TImageFormat::Gif;
    return TImageFormat::Unknown;
}

TRasterImage LoadImage(const uint8_t* data, size_t size)
{
    if (size == 0) throw EInvalidGraphic(L"Picture is empty");
    switch (DetectImageFormat(data, size)) {
    case TImageFormat::Bmp: return LoadBmp(data, size);
    case TImageFormat::Png: return LoadPng(data, size);
    case TImageFormat::Jpeg: return LoadJpeg(data, size);
    case TImageFormat::Gif: return LoadGif(data, size);
    case TImageFormat::Unknown: break;
    }
    throw EInvalidGraphic(L"Unknown picture format");
}

TRasterImage LoadImageFromStream(TStream& stream)
{
    const int64_t left = stream.Size() - stream.Position();
    std::vector<uint8_t> bytes(static_cast<size_t>(left > 0 ? left : 0));
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return LoadImage(bytes);
}

TRasterImage LoadImageFromFile(const String& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    return LoadImageFromStream(stream);
}

std::vector<uint8_t> SaveImage(const TRasterImage& image, TImageFormat format)
{
    switch (format) {
    case TImageFormat::Bmp: return SaveBmp(image);
    case TImageFormat::Png: return SavePng(image);
    case TImageFormat::Jpeg: return SaveJpeg(image);
    case TImageFormat::Gif: return SaveGif(image);
    case TImageFormat::Unknown: break;
    }
    throw EInvalidGraphic(L"Unknown picture format");
}

void SaveImageToStream(const TRasterImage& image, TImageFormat format, TStream& stream)
{
    const std::vector<uint8_t> bytes = SaveImage(image, format);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void SaveImageToFile(const TRasterImage& image, const String& fileName)
{
    const TImageFormat format = ImageFormatFromFileName(fileName);
    if (format == TImageFormat::Unknown)
        throw EInvalidGraphic(L"Unknown picture file extension \"" + ExtractFileExt(fileName) + L"\"");
    // Encoded in full before the file is touched, so a failing encoder leaves it as it was.
    const std::vector<uint8_t> bytes = SaveImage(image, format);
    TFileStream stream(fileName, fmCreate);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}
