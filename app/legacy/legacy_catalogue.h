// The legacy preset catalogue: the earlier edition of the output presets that the legacy
// preset form `TForm6` offers. 12 categories whose list position is their `CategoryCode`
// (0 to 11, the codes of the current catalogue), 109 presets with a title, a one-line
// description and an image index, keyed by the current catalogue's `PresetKey`s.
//
// Apart from a few entries the legacy catalogue equals the current one (app/presets) for
// the same key: choice lists, output extensions and values are read from there. It differs
// in:
//  - the titles of 102 and 111 (a trailing blank; 111 names ALAC) and 602 ("))" at the end);
//  - the audio bit-rate list of 600, 602 and 604: "5 kbps" to "12 kbps", "12 kbps" chosen;
//  - the values of 111 (".m4a" output, `Video_FileExt` ".alac", "alac" audio), 600, 602 and
//    604 (".3gp" output, "libamr_nb" audio);
//  - what applying a preset writes: a per-key set of fields over the settings as they are,
//    no reset first (LegacyWriteSet);
//  - the iPod category 3, which the current catalogue offers no values for: each of its
//    presets takes the values of the current preset of the same format (LegacyModelKey).
#pragma once

#include <span>
#include <vector>

#include "app/presets/apply_preset.h"
#include "app/presets/parameter_choices.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/types.h"

struct TLegacyCategory {
    const wchar_t* Caption;
    int PresetCount;
};

constexpr int LegacyCategoryCount = 12;
// Index = position in the category list = CategoryCode = the item's image index.
extern const TLegacyCategory LegacyCategoryTable[LegacyCategoryCount];

struct TLegacyPreset {
    int Key;  // PresetKey
    const wchar_t* Title;
    const wchar_t* Description;
};

// The presets of a category position in list order; empty outside 0..11.
std::span<const TLegacyPreset> LegacyPresetsOfCategory(int categoryIndex);

// Every legacy preset, category by category.
std::vector<const TLegacyPreset*> AllLegacyPresets();

// The preset of a key, or nullptr when the legacy catalogue has none.
const TLegacyPreset* FindLegacyPreset(int presetKey);

// PresetKey of the list positions (category index * 100 + preset index); -1 when the
// positions name no legacy preset.
int LegacyPresetKey(int categoryIndex, int presetIndex);

// Image index of the preset item at a position of a category: the position itself in
// categories 0 and 1, pictures 20 to 26 in the others. The legacy form's preset list has
// no image list, so these select no picture there.
int LegacyImageIndex(int categoryIndex, int presetIndex);

// One item of the legacy form's preset list.
struct TLegacyPresetItem {
    String Title;
    String Caption;  // the description
    int ImageIndex;
};

// `FillPresetList` of the legacy form: the items of a category position, in catalogue
// order (empty outside 0..11). The form adds one item per entry, then selects item 0.
std::vector<TLegacyPresetItem> LegacyFillPresetList(int categoryIndex);

// The six lists of a legacy key: the current catalogue's lists, but for the audio bit-rate
// exception of 600, 602 and 604; no lists (HasRow false) for a key the catalogue lacks.
TParameterChoices LegacyParameterChoicesOfKey(int presetKey);

// The values applying a key writes (output extension included), or nullptr without any.
const TOutputPreset* LegacyPresetValues(int presetKey);

// The current catalogue's key whose values a category-3 preset takes; -1 for other keys.
int LegacyModelKey(int presetKey);

// The fields applying a key writes; 0 for a key without values.
TPresetFieldSet LegacyWriteSet(int presetKey);
