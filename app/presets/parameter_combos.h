// Puts a preset's six choice lists (FillParameterChoices and its kin) into a form's six
// parameter combos, the one way every format panel does it: the main window's, the per-file
// settings dialog's and the legacy form's. A template over the combo class, so the catalogue
// needs no skinned control; the combo offers Items() (Clear, Add), SetEnabled and
// SetItemIndex, which runs the combo's change handler when the shown text changes.
#pragma once

#include <array>

#include "app/presets/parameter_choices.h"

// combos is indexed by TPresetParameter. Clears and enables all six in that order; with a
// row, fills them in ParameterFillOrder (items, then the default index, so a change handler
// runs before the next combo is filled) and disables the ones the preset leaves disabled,
// in AudioOnlyDisableOrder. Without a row the combos stay empty and keep their shown text.
template <class TCombo>
void FillParameterCombos(const TParameterChoices& choices, const std::array<TCombo*, PresetParameterCount>& combos)
{
    for (TCombo* combo : combos) combo->Items()->Clear();
    for (TCombo* combo : combos) combo->SetEnabled(true);
    if (!choices.HasRow) return;
    for (TPresetParameter parameter : ParameterFillOrder) {
        const TParameterCombo& fill = choices.Combos[parameter];
        TCombo* combo = combos[parameter];
        for (const String& item : fill.Items) combo->Items()->Add(item);
        combo->SetItemIndex(fill.ItemIndex);
    }
    for (TPresetParameter parameter : AudioOnlyDisableOrder)
        if (!choices.Combos[parameter].Enabled) combos[parameter]->SetEnabled(false);
}
