// Presets of the categories named after file formats: "MPG格式", "MP4格式", "Flash格式"
// and "SWF格式".
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset MpgRows[] = {
    {1300, L"MPG标准视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg1video", L"", L"", 528000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {1301, L"MPEG-1标准视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg1video", L"", L"", 528000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {1302, L"MPEG-2标准视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 816000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {1303, L"MPEG-4标准视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1304, L"MPEG-2高清HD视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {1305, L"MPEG-4高清HD视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {1306, L"MPEG-2优化视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 816000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {1307, L"MPEG-2高压缩视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 816000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {1308, L"DVD格式高清晰视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"dvd", L"PAL", false},
    {1309, L"SVCD格式标清视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"svcd", L"PAL", false},
    {1310, L"VCD格式清晰视频(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"vcd", L"PAL", false},
};

constexpr TOutputPreset Mp4Rows[] = {
    {1000, L"MP4机播放的MP4视频格式(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"320*240", 528000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1001, L"电脑上使用的MP4视频格式(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"", 768000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1002, L"MPEG-4视频高清晰视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1003, L"MP4 AVC视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 1200000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {1004, L"MP4 H264编码视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
};

constexpr TOutputPreset FlashRows[] = {
    {1100, L"FLV在线网络视频(*.flv)",
     L".flv", L".flv", L"", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1101, L"SWF动画视频FLASH动画视频(*.swf)",
     L".swf", L".swf", L"", L"", L"", 528000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1102, L"FLV在线网络音频格式(*.flv)",
     L".flv", L"", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", true},
    {1103, L"SWF动画视频FLASH动画音频格式(*.swf)",
     L".swf", L"", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", true},
};

constexpr TOutputPreset SwfRows[] = {
    {1400, L"标准的SWF视频格式(*.swf)",
     L".swf", L".swf", L"", L"", L"", 528000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1401, L"高清的SWF动画视频FLASH动画视频(*.swf)",
     L".swf", L".swf", L"", L"", L"", 528000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1402, L"优化的SWF视频格式(*.swf)",
     L".swf", L".swf", L"", L"", L"", 528000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1403, L"高压缩的SWF视频格式(*.swf)",
     L".swf", L".swf", L"", L"", L"", 528000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1404, L"FLV在线网络视频(*.flv)",
     L".flv", L".flv", L"", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", false},
    {1405, L"SWF动画视频FLASH动画音频格式(*.swf)",
     L".swf", L"", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", true},
    {1406, L"FLV在线网络音频格式(*.flv)",
     L".flv", L"", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"22050", 128000, L"", L"", true},
};

}  // namespace

std::span<const TOutputPreset> MpgPresets() { return MpgRows; }
std::span<const TOutputPreset> Mp4Presets() { return Mp4Rows; }
std::span<const TOutputPreset> FlashPresets() { return FlashRows; }
std::span<const TOutputPreset> SwfPresets() { return SwfRows; }
// clang-format on
