// Presets of the category "XboX格式". Three rows give the output name another extension
// than their title names (801 ".mpeg", 806 ".avi", 809 ".mp4").
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset XboxRows[] = {
    {800, L"Xbox360 HD H.264视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"640*480", 1200000, L"29.97", L"", L"libfaac", L"2", L"48000", 192000, L"", L"", false},
    {801, L"Xbox360 MCE HD MPEG-2视频(*.mpg)",
     L".mpeg", L".mpeg", L"mpeg2video", L"", L"1280*720", 1200000, L"25", L"", L"ac3", L"2", L"48000", 192000, L"", L"", false},
    {802, L"Xbox360 MCE HD MPEG-2视频(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"1280*720", 1200000, L"25", L"", L"ac3", L"2", L"48000", 192000, L"", L"", false},
    {803, L"Xbox360 MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 192000, L"", L"", false},
    {804, L"Xbox360 MP4高清晰视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"1280*720", 1200000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {805, L"Xbox360 WMV视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"640*480", 1200000, L"25", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", false},
    {806, L"Xbox360 WMV HDTV视频(*.wmv)",
     L".avi", L".avi", L"wmv2", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {807, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L".avi", L".avi", L"msmpeg4v2", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {808, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L".avi", L".avi", L"msmpeg4", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {809, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L".mp4", L".mp4", L"msmpeg4v1", L"", L"1280*720", 1200000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
};

}  // namespace

std::span<const TOutputPreset> XboxPresets() { return XboxRows; }
// clang-format on
