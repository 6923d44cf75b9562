// Presets of the high-definition category "高清格式" and the Apple category "APPLE格式".
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset HighDefinitionRows[] = {
    {200, L"高清AVI视频格式(*.avi)",
     L".avi", L".avi", L"mpeg4", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {201, L"高清AVI视频格式(*.avi)",
     L".avi", L".avi", L"libxvid", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {202, L"高清H264视频格式(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 256000, L"", L"", false},
    {203, L"高清MPEG-4视频格式(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"1280*720", 1600000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {204, L"高清MOV视频格式(*.mov)",
     L".mov", L".mov", L"", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {205, L"高清ASF视频格式(*.asf)",
     L".asf", L".asf", L"msmpeg4", L"", L"1280*720", 1600000, L"25", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", false},
    {206, L"高清WMV视频格式(*.wmv)",
     L".wmv", L".asf", L"wmv2", L"", L"1280*720", 1600000, L"25", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", false},
    {207, L"高清DVD视频格式(*.vob)",
     L".vob", L".vob", L"", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {208, L"高清MPEG-2视频格式(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {209, L"高清MKV视频格式(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"", L"1280*720", 1600000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
};

constexpr TOutputPreset AppleRows[] = {
    {700, L"Apple TV H264视频(320X240)(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 768000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
    {701, L"Apple TV H264视频480P(640X480)(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"640*480", 1000000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
    {702, L"Apple TV H264视频720P(1280X720)(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"1280*720", 1000000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
    {703, L"Apple TV H264高清晰视频480P(640X480)(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 1200000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
    {704, L"Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",
     L".mp4", L".mp4", L"libxvid", L"", L"640*480", 600000, L"25", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
};

}  // namespace

std::span<const TOutputPreset> HighDefinitionPresets() { return HighDefinitionRows; }
std::span<const TOutputPreset> ApplePresets() { return AppleRows; }
// clang-format on
