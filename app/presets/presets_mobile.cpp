// Presets of the phone categories "3GP格式" and "Android格式". The two follow each other
// position by position: same values, and the same titles but "Android手机" for "黑莓手机".
//
// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled. Bit rates in bit/s: -1 = not set, -1000 = left to the libraries.
#include "app/presets/preset_tables.h"

// Preset rows stay one to a line, as the catalogue lists them.
// clang-format off
namespace {

constexpr TOutputPreset ThreeGpRows[] = {
    {600, L"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {601, L"3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
     L".3gp", L".3gp", L"h263", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"16000", 48000, L"", L"", false},
    {602, L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)",
     L".3g2", L".3g2", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {603, L"3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
     L".3g2", L".3g2", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"32000", 48000, L"", L"", false},
    {604, L"黑莓手机3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {605, L"黑莓手机3GP视频+AAC音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"320*240", 128000, L"15", L"", L"libfaac", L"2", L"16000", 32000, L"", L"", false},
    {606, L"黑莓手机AVI视频(*.avi)",
     L".avi", L".avi", L"h263", L"", L"352*288", 256000, L"15", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {607, L"黑莓手机MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 128000, L"15", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {608, L"黑莓手机AMR音频格式(*.amr)",
     L".amr", L".amr", L"", L"", L"", -1, L"", L"", L"libopencore_amrnb", L"1", L"8000", 7400, L"", L"", true},
    {609, L"Symbian智能平台手机专用MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 160000, L"15", L"", L"libfaac", L"2", L"44100", 64000, L"", L"", false},
    {610, L"各种手机常用的MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 128000, L"12", L"", L"libfaac", L"2", L"32000", 32000, L"", L"", false},
    {611, L"各种手机常用的AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"320*240", 256000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {612, L"各种手机常用的MOV视频(*.mov)",
     L".mov", L".mov", L"", L"", L"320*240", 256000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {613, L"各种手机常用的MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"32000", 32000, L"", L"", false},
};

constexpr TOutputPreset AndroidRows[] = {
    {1900, L"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {1901, L"3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
     L".3gp", L".3gp", L"h263", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"16000", 48000, L"", L"", false},
    {1902, L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)",
     L".3g2", L".3g2", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {1903, L"3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
     L".3g2", L".3g2", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"32000", 48000, L"", L"", false},
    {1904, L"Android手机3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libopencore_amrnb", L"1", L"8000", 10200, L"", L"", false},
    {1905, L"Android手机3GP视频+AAC音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"320*240", 128000, L"15", L"", L"libfaac", L"2", L"16000", 32000, L"", L"", false},
    {1906, L"Android手机AVI视频(*.avi)",
     L".avi", L".avi", L"h263", L"", L"352*288", 256000, L"15", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1907, L"Android手机MPEG-4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 128000, L"15", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {1908, L"Android手机AMR音频格式(*.amr)",
     L".amr", L".amr", L"", L"", L"", -1, L"", L"", L"libopencore_amrnb", L"1", L"8000", 7400, L"", L"", true},
    {1909, L"Symbian智能平台手机专用MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 160000, L"15", L"", L"libfaac", L"2", L"44100", 64000, L"", L"", false},
    {1910, L"各种手机常用的MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"352*288", 128000, L"12", L"", L"libfaac", L"2", L"32000", 32000, L"", L"", false},
    {1911, L"各种手机常用的AVI视频(*.avi)",
     L".avi", L".avi", L"mpeg4", L"DX50", L"320*240", 256000, L"25", L"", L"libmp3lame", L"2", L"44100", 128000, L"", L"", false},
    {1912, L"各种手机常用的MOV视频(*.mov)",
     L".mov", L".mov", L"", L"", L"320*240", 256000, L"25", L"", L"libfaac", L"2", L"44100", 128000, L"", L"", false},
    {1913, L"各种手机常用的MP4视频(*.mp4)",
     L".mp4", L".mp4", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libfaac", L"2", L"32000", 32000, L"", L"", false},
};

}  // namespace

std::span<const TOutputPreset> ThreeGpPresets() { return ThreeGpRows; }
std::span<const TOutputPreset> AndroidPresets() { return AndroidRows; }
// clang-format on
