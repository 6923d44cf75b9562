// Presets of the general categories: "视频格式" (common containers, three disc
// targets and RealVideo) and "音频格式" (files with audio alone).
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset VideoRows[] = {
    {0, L"AVI - 音频视频交错格式(*.avi)",
     L".avi", L".avi", L"mpeg4", L"XVID", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1, L"MP4 - MPEG-4视频格式(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {2, L"DivX - 视频格式(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {3, L"MOV - 苹果QuickTime视频格式(*.mov)",
     L".mov", L".mov", L"", L"", L"", 816000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {4, L"XviD - 视频格式(*.avi)",
     L".avi", L".avi", L"libxvid", L"", L"", 816000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {5, L"MKV - Matroska视频格式(*.mkv)",
     L".mkv", L".mkv", L"mpeg4", L"", L"", 1200000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {6, L"MPEG-1视频格式(*.mpg)",
     L".mpg", L".mpg", L"mpeg1video", L"", L"", 528000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {7, L"MPEG-2视频格式(*.mpg)",
     L".mpg", L".mpg", L"mpeg2video", L"", L"", 816000, L"25", L"", L"", L"2", L"44100", 128000, L"", L"", false},
    {8, L"ASF - 高级流视频格式(*.asf)",
     L".asf", L".asf", L"msmpeg4", L"", L"", 816000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {9, L"3GP - 视频格式(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"4:3", L"libfaac", L"1", L"8000", 12000, L"", L"", false},
    {10, L"WMV - 视频格式(*.wmv)",
     L".wmv", L".wmv", L"wmv2", L"", L"", 816000, L"25", L"", L"wmav2", L"2", L"44100", 128000, L"", L"", false},
    {11, L"DVD - 视频格式(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"dvd", L"PAL", false},
    {12, L"SVCD - 视频格式(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"svcd", L"PAL", false},
    {13, L"VCD - 视频格式(*.mpg)",
     L".mpg", L"", L"", L"", L"", -1000, L"", L"", L"", L"", L"", -1000, L"vcd", L"PAL", false},
    {14, L"RM - REAL视频格式(*.rm)",
     L".rm", L"", L"rv20", L"", L"320*240", -1, L"", L"", L"", L"", L"", -1, L"", L"", false},
};

constexpr TOutputPreset AudioRows[] = {
    {100, L"MP3 - MPEG Layer-3音频格式(*.mp3)",
     L".mp3", L".mp3", L"", L"", L"", -1, L"", L"", L"libmp3lame", L"2", L"48000", 128000, L"", L"", true},
    {101, L"WMA - Windows媒体音频格式(*.wma)",
     L".wma", L".wma", L"", L"", L"", -1, L"", L"", L"wmav2", L"2", L"48000", 128000, L"", L"", true},
    {102, L"WAV - 波形音频格式(*.wav)",
     L".wav", L".wav", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {103, L"AAC - 高级音频格式(*.aac)",
     L".aac", L".aac", L"", L"", L"", -1, L"", L"", L"libfaac", L"2", L"48000", 128000, L"", L"", true},
    {104, L"M4A - MPEG-4音频格式(*.m4a)",
     L".m4a", L".m4a", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {105, L"OGG - Ogg Vorbis音频格式(*.ogg)",
     L".ogg", L".ogg", L"", L"", L"", -1, L"", L"", L"libvorbis", L"2", L"48000", 128000, L"", L"", true},
    {106, L"RA - RealAudio音频格式(*.ra)",
     L".ra", L".rm", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {107, L"AC3 - 杜比数字AC-3音频格式(*.ac3)",
     L".ac3", L".ac3", L"", L"", L"", -1, L"", L"", L"ac3", L"2", L"48000", 128000, L"", L"", true},
    {108, L"AIFF - 音频交换文件格式(*.aiff)",
     L".aiff", L".aiff", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {109, L"MP2 - MPEG Layer-2音频格式(*.mp2)",
     L".mp2", L".mp2", L"", L"", L"", -1, L"", L"", L"", L"2", L"44100", 128000, L"", L"", true},
    {110, L"FLAC-音频格式(*.flac)",
     L".flac", L".flac", L"", L"", L"", -1, L"", L"", L"flac", L"2", L"48000", 128000, L"", L"", true},
    {111, L"MP4-MP4音频格式(*.m4a)",
     L".m4a", L".m4a", L"", L"", L"", -1, L"", L"", L"", L"2", L"48000", 128000, L"", L"", true},
    {112, L"AMR-手机音频格式(*.amr)",
     L".amr", L".amr", L"", L"", L"", -1, L"", L"", L"libopencore_amrnb", L"1", L"8000", 7400, L"", L"", true},
};

}  // namespace

std::span<const TOutputPreset> GeneralVideoPresets() { return VideoRows; }
std::span<const TOutputPreset> AudioPresets() { return AudioRows; }
// clang-format on
