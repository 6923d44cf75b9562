// The built-in encoder presets and their lookup. LoadPreset (a TCustomFFmpeg operation in
// encoder_presets.cpp) applies a built-in preset or a preset file to a task.
#pragma once

#include "platform/framework/core/types.h"

struct TOptionsPreset {
    const char* Name;
    const char* Value;  // "key=value" lines, each ended by a line feed
};

constexpr int BuiltinPresetCount = 36;
extern const TOptionsPreset BuiltinPresets[BuiltinPresetCount];

// AText := the lines of the first built-in preset named AName (ASCII letter case ignored);
// empty when there is none.
void FindBuiltinPreset(const String& AName, String& AText);
