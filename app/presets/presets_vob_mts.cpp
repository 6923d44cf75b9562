// Presets of the categories "VOB格式" and "MTS格式" (conversions of camcorder MTS video).
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset VobRows[] = {
    {2000, L"VOB标准视频(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1200000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {2001, L"HD高清VOB视频(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1600000, L"30", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {2002, L"高清DVD视频格式(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1600000, L"30", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {2003, L"电脑上常用的VOB标准视频(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1000000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {2004, L"优化的VOB视频(*.vob)",
     L".vob", L".vob", L"", L"", L"1024*768", 1200000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {2005, L"高压缩的VOB视频(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
};

constexpr TOutputPreset MtsRows[] = {
    {2100, L"MTS转换为标准AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {2101, L"Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)",
     L".avi", L".avi", L"libx264", L"", L"1280*720", 1600000, L"30", L"", L"libmp3lame", L"2", L"48000", 256000, L"", L"", false},
    {2102, L"Sony AVCHD高清视频格式(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"", 1200000, L"29.97", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {2103, L"MTS转换为MPEG-2视频格式标准视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 1000000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {2104, L"MTS转换为MPG视频格式(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 1200000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {2105, L"MTS转换为MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {2106, L"MTS转换为AVI视频(*.avi)",
     L".avi", L".avi", L"libxvid", L"", L"", 1000000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {2107, L"MTS转换为3GP视频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"4:3", L"libfaac", L"1", L"8000", 12000, L"", L"", false},
    {2108, L"MTS转换为电脑常用WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"", 816000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {2109, L"MTS转换为网络在线常用FLV视频(*.flv)",
     L".flv", L".flv", L"", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {2110, L"MTS视频转换为DVD视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"dvd", L"PAL", false},
    {2111, L"MTS视频转换为SVCD视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"svcd", L"PAL", false},
    {2112, L"MTS视频转换为VCD视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"vcd", L"PAL", false},
};

}  // namespace

std::span<const TOutputPreset> VobPresets() { return VobRows; }
std::span<const TOutputPreset> MtsPresets() { return MtsRows; }
// clang-format on
