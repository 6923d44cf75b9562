// The legacy catalogue's categories and its presets' titles and descriptions, and the
// look-ups and the preset list over them.
#include "app/legacy/legacy_catalogue.h"

const TLegacyCategory LegacyCategoryTable[LegacyCategoryCount] = {
    {L"常用视频", 15}, {L"常用音频", 13}, {L"HD视频", 10},   {L"iPod视频", 14}, {L"iPhone视频", 6}, {L"PSP视频", 5},
    {L"3GP视频", 14},  {L"APPLE视频", 5}, {L"XboX视频", 10}, {L"PMP视频", 8},   {L"MP4视频", 5},    {L"Flash视频", 4},
};

// Titles keep their blanks as listed: two after the hyphen in 600 to 603, one at the end
// of 102 and 111; 602 ends in "))".
// clang-format off
namespace {

constexpr TLegacyPreset VideoRows[] = {
    {0, L"AVI - 音频视频交错格式(*.avi)",
     L"AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
    {1, L"MP4 - MPEG-4视频格式(*.mp4)",
     L"为网络广播和视频通信制定的压缩标准,有很小的体积和清晰的画质"},
    {2, L"DivX - 视频格式(*.avi)",
     L"DivX采用MPEG-4技术来压缩的数字多媒体格式,有接近DVD的画质和完美的音质"},
    {3, L"MOV - 苹果QuickTime视频格式(*.mov)",
     L"MOV即QuickTime影片格式，它是Apple公司开发的音频视频文件格式"},
    {4, L"XviD - 视频格式(*.avi)",
     L"XviD是世界上最流行的视频编码,很多电影是用XviD压制的"},
    {5, L"MKV - Matroska视频格式(*.mkv)",
     L"Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质"},
    {6, L"MPEG-1视频格式(*.mpg)",
     L"工业级标准而设计的压缩格式，具有VHS的画质和接近CD的音质"},
    {7, L"MPEG-2视频格式(*.mpg)",
     L"工业级标准而设计的压缩格式，具有广播级的视频画质和CD的音质"},
    {8, L"ASF - 高级流视频格式(*.asf)",
     L"微软制定的高级流媒体视频格式，被广泛用于网络"},
    {9, L"3GP - 视频格式(*.3gp)",
     L"3GP是一种3G流媒体的视频编码格式，手机支持的视频格式"},
    {10, L"WMV - 视频格式(*.wmv)",
     L"WMV是微软推出的一种流媒体格式,WMV格式的体积非常小,很适合在网上播放和传输"},
    {11, L"DVD - 视频格式(*.mpg)",
     L"DVD-数字视频光盘通,常用来播放标准电视机清晰度的电影,高质量的音乐"},
    {12, L"SVCD - 视频格式(*.mpg)",
     L"SVCD采用MPEG-2压缩,比VCD视频有更好的视频质量"},
    {13, L"VCD - 视频格式(*.mpg)",
     L"可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。"},
    {14, L"RM - REAL视频格式(*.rm)",
     L"RealNetWorks推出的一种流媒体格式,低码率,很适合在网上播放和传输"},
};

constexpr TLegacyPreset AudioRows[] = {
    {100, L"MP3 - MPEG Layer-3音频格式(*.mp3)",
     L"最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词"},
    {101, L"WMA - Windows媒体音频格式(*.wma)",
     L"微软公司推出的与MP3格式齐名的一种新的音频格式"},
    {102, L"WAV - 波形音频格式(*.wav) ",
     L"WAV为微软公司开发的波形声音文件格式"},
    {103, L"AAC - 高级音频格式(*.aac)",
     L"高级声音数据设计的文件压缩格式,与Mp3类似,苹果公司的ipod,iPhone支持的音频格式"},
    {104, L"M4A - MPEG-4音频格式(*.m4a)",
     L"M4A是MPEG4音频标准的文件,几乎所有支持MPEG4音频的软件都支持m4a音频"},
    {105, L"OGG - Ogg Vorbis音频格式(*.ogg)",
     L"OGG是一种常见的格式，在音乐软件、游戏音效、便携播放器、网络浏览器上都得到广泛支持"},
    {106, L"RA - RealAudio音频格式(*.ra)",
     L"RealNetworks制定的流媒体音频格式,便于网络传输的音频格式"},
    {107, L"AC3 - 杜比数字AC-3音频格式(*.ac3)",
     L"杜比数字AC-3是杜比公司开发的新一代家庭影院多声道数字音频系统。"},
    {108, L"AIFF - 音频交换文件格式(*.aiff)",
     L"AIFF是音频交换文件格式是Apple公司开发的声音文件格式,广泛应用于各种专业的音频软件中"},
    {109, L"MP2 - MPEG Layer-2音频格式(*.mp2)",
     L"MPEG Layer-2音频格式，具有CD级别的音质"},
    {110, L"FLAC-音频格式(*.flac)",
     L"FLAC是一套著名的无损压缩编码,所以还原CD音乐光盘音质"},
    {111, L"ALAC-Apple Lossless无损音频格式(*.alac) ",
     L"ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质"},
    {112, L"AMR-手机音频格式(*.amr)",
     L"AMR是流行的手机数字音乐文件格式之一"},
};

constexpr TLegacyPreset HighDefinitionRows[] = {
    {200, L"高清AVI视频格式(*.avi)",
     L"高清晰AVI视频格式(DivX视频编码)"},
    {201, L"高清AVI视频格式(*.avi)",
     L"高清晰AVI视频格式(XviD视频编码)"},
    {202, L"高清H264视频格式(*.mp4)",
     L"高清晰H264视频格式(H264 AVC视频编码)"},
    {203, L"高清MPEG-4视频格式(*.mp4)",
     L"高清MPEG-4视频格式)"},
    {204, L"高清MOV视频格式(*.mov)",
     L"高清MOV视频格式(QuickTime苹果视频格式)"},
    {205, L"高清ASF视频格式(*.asf)",
     L"微软高清晰ASF视频格式(高级流视频格式)"},
    {206, L"高清WMV视频格式(*.wmv)",
     L"微软高清晰WMV视频格式(高级流视频格式)"},
    {207, L"高清DVD视频格式(*.vob)",
     L"高清DVD视频格式"},
    {208, L"高清MPEG-2视频格式(*.mpg)",
     L"高清MPEG-2视频格式"},
    {209, L"高清MKV视频格式(*.mkv)",
     L"高清MKV视频格式"},
};

constexpr TLegacyPreset IPodRows[] = {
    {300, L"iPod (320X240) 高清晰视频(*.mp4)",
     L"为iPod优化的MPEG-4视频预置方案.(320*240高质量)"},
    {301, L"iPod (320X240) 高压缩视频(*.mp4)",
     L"为iPod优化的MPEG-4视频预置方案.(320*240高压缩)"},
    {302, L"iPod (320X240) 标准视频(*.mp4)",
     L"为iPod优化的MPEG-4视频预置方案.(320*240标准)"},
    {303, L"iPod Video2 TV OutPut视频(*.mp4)",
     L"为iPod优化的电视TV视频预置方案."},
    {304, L"iPod Video2 (640X480)视频(*.mp4)",
     L"为iPod Video2优化的(640X480)视频预置方案.(640X480标准)"},
    {305, L"iPod Video2 (640X480)高清晰视频(*.mp4)",
     L"为iPod Video2优化的(640X480)视频预置方案.(640X480高清晰)"},
    {306, L"iPod Video2 (640X480)高压缩视频(*.mp4)",
     L"为iPod Video2优化的(640X480)视频预置方案.(640X480高压缩)"},
    {307, L"iPod touch MPEG-4视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案."},
    {308, L"iPod touch MPEG-4 480P视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(480P)"},
    {309, L"iPod touch MPEG-4 480P高清晰视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(高清晰)"},
    {310, L"iPod touch MPEG-4 480P高压缩视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(高压缩)"},
    {311, L"iPod touch MPEG-4 480P宽屏视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(宽频)"},
    {312, L"iPod touch MPEG-4 (320X240)视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(320*240)"},
    {313, L"iPod touch MPEG-4 (480X320)视频(*.mp4)",
     L"为iPod touch优化的MPEG-4视频预置方案.(480X320)"},
};

constexpr TLegacyPreset IPhoneRows[] = {
    {400, L"iPhone MPEG-4视频(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案."},
    {401, L"iPhone MPEG-4视频480P(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案.(480P)"},
    {402, L"iPhone MPEG-4视频宽屏(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案.(宽屏)"},
    {403, L"iPhone MPEG-4高清晰视频(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案.(高清晰)"},
    {404, L"iPhone MPEG-4视频(320X240)(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案.(320*240)"},
    {405, L"iPhone MPEG-4视频(480X320)(*.mp4)",
     L"为iPhone优化的MPEG-4视频预置方案.(480*320)"},
};

constexpr TLegacyPreset PspRows[] = {
    {500, L"PSP MPEG-4视频(*.mp4)",
     L"为PSP优化的MPEG-4视频预置方案."},
    {501, L"PSP AVC MPEG-4视频(*.mp4)",
     L"为PSP优化的AVC MPEG-4视频预置方案."},
    {502, L"PSP高清晰MPEG-4视频(*.mp4)",
     L"为PSP优化的MPEG-4视频预置方案.(高清晰)"},
    {503, L"PSP高压缩MPEG-4视频(*.mp4)",
     L"为PSP优化的MPEG-4视频预置方案.(高压缩)"},
    {504, L"PSP Video MPEG-4视频480P(*.mp4)",
     L"为PSP优化的MPEG-4视频预置方案.(480P)"},
};

constexpr TLegacyPreset ThreeGpRows[] = {
    {600, L"3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
     L"第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AMR音频)"},
    {601, L"3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
     L"第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AAC音频)"},
    {602, L"3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))",
     L"第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AMR音频)"},
    {603, L"3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
     L"第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AAC音频)"},
    {604, L"黑莓手机3GP视频+AMR音频(*.3gp)",
     L"为黑莓手机优化的AMR音频预置方案.(AMR音频)"},
    {605, L"黑莓手机3GP视频+AAC音频(*.3gp)",
     L"为黑莓手机优化的3GPP视频预置方案.(AAC音频)"},
    {606, L"黑莓手机AVI视频(*.avi)",
     L"为黑莓手机优化的AVI视频预置方案."},
    {607, L"黑莓手机MPEG-4视频(*.mp4)",
     L"为黑莓手机优化的MPEG-4视频预置方案."},
    {608, L"黑莓手机AMR音频格式(*.amr)",
     L"为黑莓手机优化的AMR音频格式预置方案."},
    {609, L"Symbian智能平台手机专用MP4视频(*.mp4)",
     L"为智能手机手机优化的MP4视频预置方案.(如诺基亚等)"},
    {610, L"各种手机常用的MP4视频(*.mp4)",
     L"为常用手机优化的MP4视频预置方案.(如索爱/三星/摩托罗拉等)"},
    {611, L"各种手机常用的AVI视频(*.avi)",
     L"为常用手机优化的AVI视频预置方案."},
    {612, L"各种手机常用的MOV视频(*.mov)",
     L"为手机优化的MOV视频预置方案."},
    {613, L"各种手机常用的MP4视频(*.mp4)",
     L"为手机优化的MP4视频预置方案."},
};

constexpr TLegacyPreset AppleRows[] = {
    {700, L"Apple TV H264视频(320X240)(*.mp4)",
     L"为Apple TV优化的MPEG-4 H264视频预置方案.(320X240)"},
    {701, L"Apple TV H264视频480P(640X480)(*.mp4)",
     L"为Apple TV优化的MPEG-4 H264视频预置方案.(640X480)"},
    {702, L"Apple TV H264视频720P(1280X720)(*.mp4)",
     L"为Apple TV优化的MPEG-4 H264视频预置方案.(1280X720)"},
    {703, L"Apple TV H264高清晰视频480P(640X480)(*.mp4)",
     L"为Apple TV优化的MPEG-4 H264视频预置方案.(640X480高清晰)"},
    {704, L"Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",
     L"为Apple TV优化的MPEG-4视频预置方案.(640X480高压缩)"},
};

constexpr TLegacyPreset XboxRows[] = {
    {800, L"Xbox360 HD H.264视频(*.mp4)",
     L"Xbox360支持AVC/H.264视频文件."},
    {801, L"Xbox360 MCE HD MPEG-2视频(*.mpg)",
     L"为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {802, L"Xbox360 MCE HD MPEG-2视频(*.mpg)",
     L"为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {803, L"Xbox360 MPEG-4视频(*.mp4)",
     L"为Xbox360优化的MP4视频预置方案."},
    {804, L"Xbox360 MP4高清晰视频(*.mp4)",
     L"为Xbox360优化的MP4视频预置方案.(高清晰)"},
    {805, L"Xbox360 WMV视频(*.wmv)",
     L"为Xbox360优化的WMV视频预置方案."},
    {806, L"Xbox360 WMV HDTV视频(*.wmv)",
     L"为Xbox360优化的WMV视频预置方案.(高清晰)"},
    {807, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L"为Xbox360优化的AVI视频预置方案.(高清晰)."},
    {808, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L"为Xbox360优化的AVI视频预置方案.(微软编码1)."},
    {809, L"Xbox360 MCE 高清晰AVI视频(*.avi)",
     L"为Xbox360优化的AVI视频预置方案.(微软编码2)."},
};

constexpr TLegacyPreset PmpRows[] = {
    {900, L"爱可视AV500/GMini402视频(*.avi)",
     L"为爱可视AV500/GMini402优化的MPEG-4视频预置方案"},
    {901, L"爱可视AV700视频(*.avi)",
     L"为爱可视AV700优化的MPEG-4视频预置方案"},
    {902, L"Creative Zen Vision视频(*.avi)",
     L"为Creative Zen Vision优化的MPEG-4视频预置方案"},
    {903, L"Zune MPEG-4 AVC视频(*.mp4)",
     L"为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {904, L"Zune MPEG-4 AVC视频(*.mp4)",
     L"为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {905, L"Zune MPEG-4视频(*.mp4)",
     L"为微软Zune优化的MPEG-4视频预置方案"},
    {906, L"Zune WMV多媒体视频(*.wmv)",
     L"为微软Zune优化的WMV多媒体视频预置方案"},
    {907, L"iRiver PMP-100视频(*.avi)",
     L"为iRiver PMP-100优化的MPEG-4视频预置方案"},
};

constexpr TLegacyPreset Mp4Rows[] = {
    {1000, L"MP4机播放的MP4视频格式(*.mp4)",
     L"为各种MP4机优化的MPEG-4视频预置方案"},
    {1001, L"电脑上使用的MP4视频格式(*.mp4)",
     L"为电脑上使用的MP4优化的MPEG-4视频预置方案"},
    {1002, L"MPEG-4视频高清晰视频(*.mp4)",
     L"MPEG-4视频预置方案(高清晰编码格式)"},
    {1003, L"MP4 AVC视频(*.mp4)",
     L"MPEG-4 AVC视频预置方案"},
    {1004, L"MP4 H264编码视频(*.mp4)",
     L"优化的MPEG-4视频预置方案(H264高清晰编码)"},
};

constexpr TLegacyPreset FlashRows[] = {
    {1100, L"FLV在线网络视频(*.flv)",
     L"在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)"},
    {1101, L"SWF动画视频FLASH动画视频(*.swf)",
     L"最常用的FLASH动画视频预置方案，动画格式为SWF文件"},
    {1102, L"FLV在线网络音频格式(*.flv)",
     L"在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)(音频格式)"},
    {1103, L"SWF动画视频FLASH动画音频格式(*.swf)",
     L"最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)"},
};

// clang-format on

const std::span<const TLegacyPreset> CategoryRows[LegacyCategoryCount] = {
    VideoRows,   AudioRows, HighDefinitionRows, IPodRows, IPhoneRows, PspRows,
    ThreeGpRows, AppleRows, XboxRows,           PmpRows,  Mp4Rows,    FlashRows};

}  // namespace

std::span<const TLegacyPreset> LegacyPresetsOfCategory(int categoryIndex)
{
    if (categoryIndex < 0 || categoryIndex >= LegacyCategoryCount) return {};
    return CategoryRows[categoryIndex];
}

std::vector<const TLegacyPreset*> AllLegacyPresets()
{
    std::vector<const TLegacyPreset*> all;
    for (std::span<const TLegacyPreset> rows : CategoryRows)
        for (const TLegacyPreset& preset : rows) all.push_back(&preset);
    return all;
}

int LegacyPresetKey(int categoryIndex, int presetIndex)
{
    std::span<const TLegacyPreset> rows = LegacyPresetsOfCategory(categoryIndex);
    if (presetIndex < 0 || static_cast<size_t>(presetIndex) >= rows.size()) return -1;
    return rows[presetIndex].Key;
}

const TLegacyPreset* FindLegacyPreset(int presetKey)
{
    if (presetKey < 0) return nullptr;
    std::span<const TLegacyPreset> rows = LegacyPresetsOfCategory(presetKey / 100);
    size_t index = static_cast<size_t>(presetKey % 100);
    return index < rows.size() ? &rows[index] : nullptr;
}

int LegacyImageIndex(int categoryIndex, int presetIndex)
{
    constexpr int ThreeGpFirst[] = {20, 20, 21, 21, 20, 21, 20};
    switch (categoryIndex) {
    case 0:
    case 1: return presetIndex;
    case 2:
    case 3: return presetIndex == 0 ? 20 : 21;
    case 4:
    case 5: return 20 + presetIndex % 2;
    case 6: return presetIndex < 7 ? ThreeGpFirst[presetIndex] : 21;
    default: return presetIndex < 5 ? 22 + presetIndex : 21;
    }
}

std::vector<TLegacyPresetItem> LegacyFillPresetList(int categoryIndex)
{
    std::vector<TLegacyPresetItem> items;
    int position = 0;
    for (const TLegacyPreset& preset : LegacyPresetsOfCategory(categoryIndex))
        items.push_back({preset.Title, preset.Description, LegacyImageIndex(categoryIndex, position++)});
    return items;
}
