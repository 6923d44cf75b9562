// Filling the six parameter combos for a preset, and reading their texts back into
// the current output settings.
#include "app/presets/parameter_choices.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

const TPresetChoiceRow* FindPresetChoices(int presetKey)
{
    std::span<const TPresetChoiceRow> rows = PresetChoiceRows();
    auto it = std::lower_bound(rows.begin(), rows.end(), presetKey,
                               [](const TPresetChoiceRow& row, int key) { return row.Key < key; });
    return it != rows.end() && it->Key == presetKey ? &*it : nullptr;
}

TParameterChoices ParameterChoicesOfKey(int presetKey)
{
    TParameterChoices choices;
    const TPresetChoiceRow* row = FindPresetChoices(presetKey);
    if (!row) return choices;
    choices.HasRow = true;
    for (int p = 0; p < PresetParameterCount; ++p) {
        const TChoiceList& list = ChoiceList(row->Choice[p].List);
        TParameterCombo& combo = choices.Combos[p];
        combo.Items.assign(list.Items.begin(), list.Items.end());
        combo.ItemIndex = row->Choice[p].Default;
    }
    if (row->AudioOnly)
        for (TPresetParameter p : AudioOnlyDisableOrder) choices.Combos[p].Enabled = false;
    return choices;
}

TParameterChoices FillParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings)
{
    int code = CategoryCodeOf(categoryIndex);
    if (code < 0) return {};
    // The dispatch value is stored even when no row exists (no preset selected).
    settings.All_Trant_Number = (code + 1) * 100 + presetIndex;
    settings.Video_DisableVideo = false;
    int key = PresetKey(categoryIndex, presetIndex);
    return key < 0 ? TParameterChoices{} : ParameterChoicesOfKey(key);
}

namespace {

// Bit rate texts are "<number> kbps": the number before the first "kbps", blanks trimmed.
String KbpsNumber(const String& text)
{
    int p = Pos(L"kbps", text);
    return Trim(Copy(text, 1, p - 1));
}

int KbpsToBitrate(const String& number)
{
    int64_t value = static_cast<int64_t>(StrToInt(number)) * 1000;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError(L"'" + number + L"' is not a valid bit rate");
    return static_cast<int>(value);
}

// A decimal kbps number ("7.95") read with "." whatever the locale, times 1000, written
// in its shortest form with at most 15 significant digits and read as an integer, so
// 7.95 gives 7950 although the product is not exact in binary.
int DecimalKbpsToBitrate(const String& number)
{
    std::string ascii;
    for (wchar_t c : number) {
        if (c > 0x7F) throw EConvertError(L"'" + number + L"' is not a valid floating point value");
        ascii += static_cast<char>(c);
    }
    double value = 0;
    auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        throw EConvertError(L"'" + number + L"' is not a valid floating point value");
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value * 1000, std::chars_format::general, 15);
    return StrToInt(Utf8ToString(std::string(buffer, result.ptr)));
}

struct TAspectCaption {
    const wchar_t* Caption;
    const wchar_t* Ratio;
};
constexpr TAspectCaption AspectCaptions[] = {
    {L"保持原视频模式", L""},         {L"普通视频4:3模式", L"4:3"},     {L"宽屏视频16:9模式", L"16:9"},
    {L"宽屏视频37:20模式", L"37:20"}, {L"宽屏视频47:20模式", L"47:20"}, {L"无视频", L""},
};

}  // namespace

void ReadParameterChoice(TPresetParameter parameter, const String& text, PresetSettings& settings)
{
    switch (parameter) {
    case ppFrameSize:
        settings.Video_FrameSize = (text == L"保持原分辨率" || text == L"该格式无视频") ? L"" : text;
        break;
    case ppFrameRate: settings.Video_FrameRate = (text == L"保持原帧速率" || text == L"无视频") ? L"" : text; break;
    case ppVideoBitrate:
        settings.Video_VideoBitrate = text == L"无视频" ? -1000 : KbpsToBitrate(KbpsNumber(text));
        break;
    case ppSampleRate: settings.Video_AudioSampleRate = text; break;
    case ppAudioBitrate: {
        String number = KbpsNumber(text);
        settings.Video_AudioBitrate =
            number.find(L'.') == String::npos ? KbpsToBitrate(number) : DecimalKbpsToBitrate(number);
        break;
    }
    case ppAspectMode:
        for (const TAspectCaption& aspect : AspectCaptions)
            if (text == aspect.Caption) settings.Video_FrameAspectRatio = aspect.Ratio;
        break;
    }
}

void ReadParameterChoices(const std::array<String, PresetParameterCount>& texts, PresetSettings& settings)
{
    constexpr TPresetParameter ReadOrder[] = {ppFrameSize,  ppFrameRate,    ppVideoBitrate,
                                              ppSampleRate, ppAudioBitrate, ppAspectMode};
    for (TPresetParameter p : ReadOrder) ReadParameterChoice(p, texts[p], settings);
}
