// Category table, preset lookup and the preset list of a category.
#include "app/presets/preset_catalogue.h"

#include "app/presets/preset_tables.h"

const TPresetCategory CategoryTable[CategoryCount] = {
    {16, L"MKV格式", 7},   {15, L"AVI格式", 7},  {13, L"MPG格式", 11},     {10, L"MP4格式", 5},  {11, L"Flash格式", 4},
    {17, L"WMV格式", 7},   {0, L"视频格式", 15}, {1, L"音频格式", 13},     {2, L"高清格式", 10}, {12, L"iPad格式", 6},
    {4, L"iPhone格式", 6}, {5, L"PSP格式", 5},   {6, L"3GP格式", 14},      {7, L"APPLE格式", 5}, {8, L"XboX格式", 10},
    {9, L"PMP格式", 8},    {14, L"SWF格式", 7},  {19, L"Android格式", 14}, {20, L"VOB格式", 6},  {21, L"MTS格式", 13},
};

int CategoryCodeOf(int categoryIndex)
{
    if (categoryIndex < 0 || categoryIndex >= CategoryCount) return -1;
    return CategoryTable[categoryIndex].CategoryCode;
}

std::span<const TOutputPreset> PresetsOfCategory(int categoryCode)
{
    switch (categoryCode) {
    case 0: return GeneralVideoPresets();
    case 1: return AudioPresets();
    case 2: return HighDefinitionPresets();
    case 4: return IPhonePresets();
    case 5: return PspPresets();
    case 6: return ThreeGpPresets();
    case 7: return ApplePresets();
    case 8: return XboxPresets();
    case 9: return PmpPresets();
    case 10: return Mp4Presets();
    case 11: return FlashPresets();
    case 12: return IPadPresets();
    case 13: return MpgPresets();
    case 14: return SwfPresets();
    case 15: return AviPresets();
    case 16: return MkvPresets();
    case 17: return WmvPresets();
    case 19: return AndroidPresets();
    case 20: return VobPresets();
    case 21: return MtsPresets();
    default: return {};
    }
}

std::vector<const TOutputPreset*> AllOutputPresets()
{
    std::vector<const TOutputPreset*> all;
    for (const TPresetCategory& category : CategoryTable)
        for (const TOutputPreset& preset : PresetsOfCategory(category.CategoryCode)) all.push_back(&preset);
    return all;
}

const TOutputPreset* FindOutputPreset(int presetKey)
{
    if (presetKey < 0) return nullptr;
    std::span<const TOutputPreset> presets = PresetsOfCategory(presetKey / 100);
    size_t index = static_cast<size_t>(presetKey % 100);
    return index < presets.size() ? &presets[index] : nullptr;
}

int PresetKey(int categoryIndex, int presetIndex)
{
    int code = CategoryCodeOf(categoryIndex);
    if (code < 0 || presetIndex < 0 || presetIndex > 99) return -1;
    return code * 100 + presetIndex;
}

int PresetPositionCode(int categoryIndex, int presetIndex) { return (categoryIndex + 1) * 100 + presetIndex; }

TPresetPosition DecodePresetPositionCode(int positionCode)
{
    int q = positionCode / 100;
    return {q - 1, positionCode - q * 100};
}

std::vector<String> FillPresetList(int categoryIndex)
{
    std::vector<String> titles;
    for (const TOutputPreset& preset : PresetsOfCategory(CategoryCodeOf(categoryIndex)))
        titles.emplace_back(preset.Title);
    return titles;
}
