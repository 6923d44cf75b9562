// The six preset parameters, the 55 choice lists the format panel's parameter combos
// offer, the per-key choice table (which list each parameter offers, its default item
// and which combos an audio-only preset disables), and the two commands over them:
// FillParameterChoices (what the six combos hold for a preset) and ReadParameterChoices
// (the chosen texts back into `PresetSettings`). Called by the main window's preset and
// parameter change handlers and by the per-file settings dialog's twins of them.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "app/presets/preset_settings.h"
#include "platform/framework/core/types.h"

// In `SelectionCode` order (job row column 10, two digits each).
enum TPresetParameter {
    ppFrameSize,     // bsSkinComboBox1, "视频分辨率："
    ppVideoBitrate,  // bsSkinComboBox2, "视频比特率："
    ppAudioBitrate,  // bsSkinComboBox3, "音频比特率："
    ppAspectMode,    // bsSkinComboBox4, "视频缩放："
    ppFrameRate,     // bsSkinComboBox9, "视频帧率："
    ppSampleRate,    // bsSkinComboBox10, "音频采样率："
};
constexpr int PresetParameterCount = 6;

// Order in which FillParameterChoices fills the combos (and so in which their change
// handlers may run), and order in which an audio-only preset disables four of them.
constexpr TPresetParameter ParameterFillOrder[PresetParameterCount] = {ppFrameSize,    ppVideoBitrate, ppFrameRate,
                                                                       ppAudioBitrate, ppSampleRate,   ppAspectMode};
constexpr TPresetParameter AudioOnlyDisableOrder[4] = {ppFrameSize, ppVideoBitrate, ppAspectMode, ppFrameRate};

// The 55 lists, named by parameter and number.
enum TChoiceListId : unsigned char {
    FS1,
    FS2,
    FS3,
    FS4,
    FS5,
    FS6,
    FS7,
    FS8,
    FS9,
    FS10,
    FS11,
    FS12,
    FS13,
    FS14,
    FS15,
    FS16,
    FS17,
    FS18,
    FS19,
    FS20,
    VB1,
    VB2,
    VB3,
    VB4,
    VB5,
    VB6,
    VB7,
    VB8,
    VB9,
    VB10,
    VB11,
    VB12,
    AB1,
    AB2,
    AB3,
    AB4,
    AB5,
    AB6,
    AM1,
    AM2,
    AM3,
    FR1,
    FR2,
    FR3,
    FR4,
    FR5,
    FR6,
    FR7,
    FR8,
    SR1,
    SR2,
    SR3,
    SR4,
    SR5,
    SR6,
    ChoiceListCount
};

struct TChoiceList {
    const wchar_t* Name;  // "FS1", "VB12", ...
    TPresetParameter Parameter;
    std::span<const wchar_t* const> Items;  // item 0 first; texts may repeat
};

const TChoiceList& ChoiceList(TChoiceListId id);

struct TChoiceRef {
    TChoiceListId List;
    int Default;  // item index selected after filling
};

// One row of the choice table. Rows exist for 222 keys: the 173 presets and the codes
// 3, 18, 22 and 23, which no category position reaches.
struct TPresetChoiceRow {
    int Key;
    TChoiceRef Choice[PresetParameterCount];  // indexed by TPresetParameter
    bool AudioOnly;                           // frame size, video bit rate, aspect and frame rate combos disabled
};

std::span<const TPresetChoiceRow> PresetChoiceRows();
const TPresetChoiceRow* FindPresetChoices(int presetKey);  // nullptr without a row

// What the six combos hold after a fill.
struct TParameterCombo {
    std::vector<String> Items;
    int ItemIndex = -1;  // the default item, -1 when the combo is left empty
    bool Enabled = true;
};
struct TParameterChoices {
    bool HasRow = false;  // false: all six combos are cleared, enabled and keep their old text
    std::array<TParameterCombo, PresetParameterCount> Combos;  // indexed by TPresetParameter
};

// `FillParameterChoices` for the combo positions. Sets `All_Trant_Number` to the dispatch
// value and `Video_DisableVideo` to false (for every preset, audio-only ones included),
// then returns each combo's items, default index and enabled state. The main window
// clears and enables its six combos, then, in ParameterFillOrder, adds a combo's items
// and sets its item index (its change handler runs when the shown text changes), and
// finally disables the combos an audio-only preset leaves disabled, in
// AudioOnlyDisableOrder. A category index outside 0..19 touches no field and gives no row.
TParameterChoices FillParameterChoices(int categoryIndex, int presetIndex, PresetSettings& settings);
// The same lists for a PresetKey, touching no settings.
TParameterChoices ParameterChoicesOfKey(int presetKey);

// The rule of one parameter: turns a combo text into its `PresetSettings` field (also the
// rule of the six parameter change handlers). Frame size and frame rate: empty for the
// keep-source and no-video captions, else the text. Video bit rate: -1000 for "无视频",
// else the number before "kbps" times 1000. Audio bit rate: the number before "kbps"
// times 1000, decimals allowed ("7.95 kbps" gives 7950). Sample rate: the text. Aspect:
// by its six captions; any other text leaves the field. Raises EConvertError on a
// bit-rate text whose number is not whole after the multiplication (or has no "kbps").
void ReadParameterChoice(TPresetParameter parameter, const String& text, PresetSettings& settings);

// `ReadParameterChoices`: the texts the six combos show (indexed by TPresetParameter) into
// six fields, in the order frame size, frame rate, video bit rate, sample rate, audio bit
// rate, aspect. On EConvertError the fields of the earlier steps keep their new values.
void ReadParameterChoices(const std::array<String, PresetParameterCount>& texts, PresetSettings& settings);
