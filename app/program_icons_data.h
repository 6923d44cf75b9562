// The PNG files of the program's own icons, linked in by a source that tools/icon_builder makes
// while the program is built.
#pragma once

#include <cstddef>
#include <cstdint>

struct TProgramIconData {
    const char* Name;  // "category_16", "preset_0", ...
    int Size;          // width and height in pixels
    const uint8_t* Png;
    size_t PngSize;
};

extern const TProgramIconData kProgramIcons[];
extern const size_t kProgramIconCount;
