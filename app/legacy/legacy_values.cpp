// What the legacy catalogue's presets offer and write: their choice lists (the current
// catalogue's, with one exception), their values (the current catalogue's, with four
// presets of their own and the iPod category taken from presets of the same format) and
// the fields applying each one writes.
#include "app/legacy/legacy_catalogue.h"

#include <algorithm>
#include <iterator>

namespace {

// Columns: key, title, output extension, Video_FileExt, video codec, FourCC tag, frame size,
// video bit rate, frame rate, aspect, audio codec, channels, sample rate, audio bit rate,
// target type, norm, video disabled.
// clang-format off
constexpr TOutputPreset OwnRows[] = {
    {111, L"ALAC-Apple Lossless无损音频格式(*.alac) ",
     L".m4a", L".alac", L"", L"", L"", -1, L"", L"", L"alac", L"2", L"48000", 128000, L"", L"", true},
    {600, L"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"h263", L"", L"176*144", 128000, L"12", L"", L"libamr_nb", L"1", L"8000", 12000, L"", L"", false},
    {602, L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libamr_nb", L"1", L"8000", 12000, L"", L"", false},
    {604, L"黑莓手机3GP视频+AMR音频(*.3gp)",
     L".3gp", L".3gp", L"mpeg4", L"", L"176*144", 128000, L"12", L"", L"libamr_nb", L"1", L"8000", 10200, L"", L"", false},
};
// clang-format on

// The current catalogue has no values for the iPod presets 300 to 313. Each takes those of
// the current preset of the same format: container, picture size and the quality its
// title names ("高清晰", "高压缩", "宽屏", "480P", "TV").
constexpr int IPodModelKeys[] = {
    403,  // 300 iPod (320X240) 高清晰: iPhone MPEG-4高清晰, 320*240
    503,  // 301 iPod (320X240) 高压缩: PSP高压缩MPEG-4, 320*240
    400,  // 302 iPod (320X240) 标准: iPhone MPEG-4, 320*240
    701,  // 303 iPod Video2 TV OutPut: Apple TV H264 480P
    401,  // 304 iPod Video2 (640X480): iPhone MPEG-4 480P
    703,  // 305 iPod Video2 (640X480)高清晰: Apple TV 高清晰 480P
    704,  // 306 iPod Video2 (640X480)高压缩: Apple TV 高压缩 480P
    400,  // 307 iPod touch MPEG-4: iPhone MPEG-4
    401,  // 308 iPod touch 480P: iPhone MPEG-4 480P
    703,  // 309 iPod touch 480P高清晰: 640*480 at 1200 kbps
    704,  // 310 iPod touch 480P高压缩: 640*480 at 600 kbps
    402,  // 311 iPod touch 480P宽屏: iPhone 宽屏, 16:9
    404,  // 312 iPod touch (320X240): iPhone (320X240)
    405,  // 313 iPod touch (480X320): iPhone (480X320)
};

constexpr TPresetFieldSet VideoFields = AllPresetFields & ~pfDisableVideo;
constexpr TPresetFieldSet DiscFields = pfTargetType | pfNormType | pfAudioChannels | pfAudioSampleRate | pfFrameSize |
                                       pfFrameRate | pfAudioVolume | pfFrameAspectRatio | pfVideoBitrate |
                                       pfAudioBitrate | pfFileFormat | pfVideoTag | pfVideoCodec | pfAudioCodec;
constexpr TPresetFieldSet RealVideoFields =
    pfVideoCodec | pfFrameSize | pfNormType | pfCopyTimestamp | pfFileFormat | pfTargetType;
constexpr TPresetFieldSet AudioFields = pfFileExt | pfDisableVideo | pfAudioCodec | pfAudioChannels |
                                        pfAudioSampleRate | pfAudioVolume | pfAudioBitrate | pfNormType |
                                        pfCopyTimestamp | pfFileFormat | pfTargetType;

}  // namespace

int LegacyModelKey(int presetKey)
{
    if (presetKey < 300 || presetKey >= 300 + static_cast<int>(std::size(IPodModelKeys))) return -1;
    return IPodModelKeys[presetKey - 300];
}

const TOutputPreset* LegacyPresetValues(int presetKey)
{
    if (!FindLegacyPreset(presetKey)) return nullptr;
    auto own = std::find_if(std::begin(OwnRows), std::end(OwnRows),
                            [presetKey](const TOutputPreset& row) { return row.Key == presetKey; });
    if (own != std::end(OwnRows)) return own;
    int model = LegacyModelKey(presetKey);
    return FindOutputPreset(model >= 0 ? model : presetKey);
}

TPresetFieldSet LegacyWriteSet(int presetKey)
{
    if (!LegacyPresetValues(presetKey)) return 0;
    if (presetKey >= 11 && presetKey <= 13) return DiscFields;
    if (presetKey == 14) return RealVideoFields;
    if ((presetKey >= 100 && presetKey <= 112) || presetKey == 608) return AudioFields;
    if (presetKey == 1102 || presetKey == 1103) return AudioFields & ~pfFileExt;
    if (presetKey == 205) return VideoFields & ~pfVideoTag;
    if (presetKey >= 303 && presetKey <= 306) return VideoFields & ~pfTargetType;
    return VideoFields;
}

TParameterChoices LegacyParameterChoicesOfKey(int presetKey)
{
    if (!FindLegacyPreset(presetKey)) return {};
    TParameterChoices choices = ParameterChoicesOfKey(presetKey);
    if (presetKey == 600 || presetKey == 602 || presetKey == 604) {
        // "5 kbps" to "12 kbps", the last one chosen.
        const TChoiceList& low = ChoiceList(AB2);
        TParameterCombo& audio = choices.Combos[ppAudioBitrate];
        audio.Items.assign(low.Items.begin(), low.Items.end());
        audio.ItemIndex = 5;
    }
    return choices;
}
