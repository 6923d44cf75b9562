// Presets of the portable-device categories "iPad格式", "iPhone格式", "PSP格式" and
// "PMP格式".
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset IPadRows[] = {
    {1200, L"iPad标准视频格式(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 1200000, L"30", L"", L"libfaac", L"2", L"32000", 128000, L"", L"", false},
    {1201, L"iPad高清视频格式H.264编码(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"720*576", 1200000, L"30", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {1202, L"iPad MPEG-4视频格式 XviD编码 (*.mp4)",
     L".mp4", L".mp4", L"libxvid", L"", L"640*480", 1200000, L"30", L"", L"libfaac", L"2", L"24000", 128000, L"", L"", false},
    {1203, L"iPad 720P HD高清晰视频MPEG-4(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"720*576", 1200000, L"30", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {1204, L"iPad 优化视频方案1(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 1200000, L"25", L"", L"libfaac", L"2", L"24000", 128000, L"", L"", false},
    {1205, L"iPad 优化视频方案2(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"DX50", L"640*480", 1200000, L"25", L"", L"libfaac", L"2", L"24000", 128000, L"", L"", false},
};

constexpr TOutputPreset IPhoneRows[] = {
    {400, L"iPhone MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"320*240", 600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {401, L"iPhone MPEG-4视频480P(*.mp4)",
     L".mp4", L".mp4", L"libxvid", L"", L"640*480", 1000000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {402, L"iPhone MPEG-4视频宽屏(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"640*480", 600000, L"25", L"16:9", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {403, L"iPhone MPEG-4高清晰视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 1200000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {404, L"iPhone MPEG-4视频(320X240)(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"320*240", 600000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {405, L"iPhone MPEG-4视频(480X320)(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"480*320", 768000, L"25", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
};

constexpr TOutputPreset PspRows[] = {
    {500, L"PSP MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"320*240", 600000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {501, L"PSP AVC MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 768000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {502, L"PSP高清晰MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 1200000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {503, L"PSP高压缩MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"libxvid", L"", L"320*240", 384000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
    {504, L"PSP Video MPEG-4视频480P(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"640*480", 1000000, L"29.97", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", false},
};

constexpr TOutputPreset PmpRows[] = {
    {900, L"爱可视AV500/GMini402视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"", L"480*272", 1000000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {901, L"爱可视AV700视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"", L"720*480", 1000000, L"25", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", false},
    {902, L"Creative Zen Vision视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"", L"320*240", 768000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {903, L"Zune MPEG-4 AVC视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"320*240", 512000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {904, L"Zune MPEG-4 AVC视频(*.mp4)",
     L".mp4", L".mp4", L"libx264", L"", L"320*240", 768000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {905, L"Zune MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"libxvid", L"", L"320*240", 768000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {906, L"Zune WMV多媒体视频(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"320*240", 1000000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {907, L"iRiver PMP-100视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"", L"640*480", 1000000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
};

}  // namespace

std::span<const TOutputPreset> IPadPresets() { return IPadRows; }
std::span<const TOutputPreset> IPhonePresets() { return IPhoneRows; }
std::span<const TOutputPreset> PspPresets() { return PspRows; }
std::span<const TOutputPreset> PmpPresets() { return PmpRows; }
// clang-format on
