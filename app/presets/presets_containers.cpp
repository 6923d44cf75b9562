// Presets of the container categories "MKV格式", "AVI格式" and "WMV格式", seven each:
// standard, high definition, web, computer, optimised, highly compressed, second HD.
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset MkvRows[] = {
    {1600, L"MKV标准视频(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1601, L"HD高清MKV视频(*.mkv)",
     L".mkv", L".mkv", L"libx264", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 256000, L"", L"", false},
    {1602, L"网络上常用的MKV视频(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1603, L"电脑上常用的MKV标准视频(*.mkv)",
     L".mkv", L".mkv", L"libxvid", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1604, L"优化的MKV视频(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"DX50", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1605, L"高压缩的MKV视频(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1606, L"高清的HD MKV视频(*.mkv)",
     L".mkv", L".mkv", L"libxvid", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
};

constexpr TOutputPreset AviRows[] = {
    {1500, L"AVI标准视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1501, L"HD高清晰AVI标准视频(*.avi)",
     L".avi", L".avi", L"libx264", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 256000, L"", L"", false},
    {1502, L"网络上常用的AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1503, L"电脑上常用的AVI视频(*.avi)",
     L".avi", L".avi", L"libxvid", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1504, L"优化的AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1505, L"高压缩的AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1506, L"高清的HD AVI视频(*.avi)",
     L".avi", L".avi", L"libxvid", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
};

constexpr TOutputPreset WmvRows[] = {
    {1700, L"WMV标准视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"", 816000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {1701, L"HD高清WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"1280*720", 1600000, L"30", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", false},
    {1702, L"网络上常用的WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"320*240", 816000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {1703, L"电脑上常用的WMV标准视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"1024*768", 1000000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {1704, L"优化的WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"", 728000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {1705, L"高压缩的WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"320*240", 528000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {1706, L"高清的HD WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"1280*720", 1600000, L"30", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", false},
};

}  // namespace

std::span<const TOutputPreset> MkvPresets() { return MkvRows; }
std::span<const TOutputPreset> AviPresets() { return AviRows; }
std::span<const TOutputPreset> WmvPresets() { return WmvRows; }
// clang-format on
