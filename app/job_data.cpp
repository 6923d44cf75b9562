// The job list's columns, the job slots and the row formats of the main window.
#include "app/job_data.h"

#include <cmath>

#include "app/job_output_options.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/strings.h"

const TJobColumn JobColumns[JobColumnCount] = {
    {L"输入文件", 80},  {L"视频时间", 70},  {L"文件大小", 70},  {L"输出文件", 80},  {L"转换进度", 70},
    {L"", 0},           {L"当前时间", 80},  {L"转换大小", 80},  {L"视频序号", 0},   {L"视频类别", 0},
    {L"视频选项", 0},   {L"视频编码", 0},   {L"音频编码", 0},   {L"声音频道", 0},   {L"VideoTag", 0},
    {L"FileExt", 0},    {L"视频分辨率", 0}, {L"视频比特率", 0}, {L"视频帧率", 0},   {L"音频比特率", 0},
    {L"音频采样率", 0}, {L"视频缩放", 0},   {L"视频能否", 0},   {L"TargetType", 0}, {L"NormType", 0},
};

const wchar_t* const SlotFree = L"kong";
const wchar_t* const SlotFull = L"Full";
const wchar_t* const SlotDeleted = L"DELETED";

void FreeAllSlots(TOutputOptions (&AOutputs)[JobSlotCount])
{
    for (TOutputOptions& o : AOutputs) o.AudioLanguage = SlotFree;
}

int LowestFreeSlot(const TOutputOptions (&AOutputs)[JobSlotCount])
{
    for (int i = 0; i < JobSlotCount; ++i)
        if (AOutputs[i].AudioLanguage == SlotFree) return i;
    return -1;
}

// The item's data holds the slot + 1, so an item without one reads as -1.
int RowSlot(const TListItem* AItem)
{
    return AItem ? static_cast<int>(reinterpret_cast<intptr_t>(AItem->Data())) - 1 : -1;
}

void SetRowSlot(TListItem* AItem, int ASlot) { AItem->SetData(reinterpret_cast<void*>(intptr_t(ASlot) + 1)); }

String SecToDate(int64_t ASeconds)
{
    if (ASeconds < 0) ASeconds = 0;
    wchar_t text[40];
    swprintf(text, 40, L"%.2lld:%.2d:%.2d", static_cast<long long>(ASeconds / 3600), int(ASeconds / 60 % 60),
             int(ASeconds % 60));
    return text;
}

String MegabytesText(int64_t ABytes)
{
    // The default rounding mode takes halves to the even neighbour.
    const long long cents = std::llrint(static_cast<double>(ABytes) * 100.0 / 1048576.0);
    const long long whole = cents / 100, part = std::llabs(cents % 100);
    String text = (cents < 0 && whole == 0 ? L"-" : L"") + IntToStr(whole);
    if (part != 0) {
        text += L'.';
        text += wchar_t(L'0' + part / 10);
        if (part % 10) text += wchar_t(L'0' + part % 10);
    }
    return text + L"MB";
}

String SelectionCode(const std::array<int, PresetParameterCount>& AIndexes)
{
    String code;
    for (int index : AIndexes) {
        if (index < 0 || index > 99) index = 0;
        code += wchar_t(L'0' + index / 10);
        code += wchar_t(L'0' + index % 10);
    }
    return code;
}

std::array<int, PresetParameterCount> DecodeSelectionCode(const String& ACode)
{
    std::array<int, PresetParameterCount> indexes;
    for (int i = 0; i < PresetParameterCount; ++i) {
        const size_t at = size_t(i) * 2;
        const bool digits = at + 1 < ACode.size() && iswdigit(ACode[at]) && iswdigit(ACode[at + 1]);
        indexes[size_t(i)] = digits ? (ACode[at] - L'0') * 10 + (ACode[at + 1] - L'0') : -1;
    }
    return indexes;
}

void RowToOutputOptions(const TJobRow& R, TOutputOptions& O)
{
    const String video = R.Column(11);
    if (!video.empty()) {
        O.VideoCodec = video;
        O.VideoPreset = video == L"libx264" ? L"libx264-default" : L"";
    }
    const String audio = R.Column(12);
    if (audio != L"AUTO" && !audio.empty()) O.AudioCodec = audio;
    if (!R.Column(13).empty()) O.AudioChannels = StrToInt(R.Column(13));
    O.VideoTag = !R.Column(14).empty() && video != L"libx264" ? R.Column(14) : L"";
    if (!R.Column(15).empty()) O.FileExt = R.Column(15);
    if (!R.Column(16).empty()) O.FrameSize = R.Column(16);
    if (!R.Column(17).empty()) O.VideoBitrate = StrToInt(R.Column(17));
    if (!R.Column(18).empty()) O.FrameRate = R.Column(18);
    const String audioRate = R.Column(19);
    if (audioRate != L"-1000" && audioRate != L"-2000") O.AudioBitrate = StrToInt(audioRate);
    const String sampleRate = R.Column(20);
    if (sampleRate != L"AUTO" && !sampleRate.empty()) O.AudioSampleRate = StrToInt(sampleRate);
    if (!R.Column(21).empty()) O.FrameAspectRatio = R.Column(21);
    O.DisableVideo = R.Column(NoVideoColumn) == L"True";
    if (!R.Column(TargetTypeColumn).empty()) O.TargetType = TargetTypeOf(R.Column(TargetTypeColumn));
    O.NormType = NormTypeOf(R.Column(NormTypeColumn));
}
