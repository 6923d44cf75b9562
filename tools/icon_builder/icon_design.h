// The program's own icons, drawn in code with cairo: the 24 category pictures of the format
// panel (one per category code, told apart by colour and symbol at 16 pixels) and the preset
// list's two item pictures, the glyphs of the command, tool bar and preview buttons, and a few
// larger pictures. The icon builder writes them as PNG files (the checked-in folder
// form under resources/icons/ and a sheet of all of them for people to look at) and as a C++
// source that links their PNG bytes into the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TProgramIcon {
    std::string Name;            // file name without ".png", e.g. "category_16"
    int Size = 0;                // width and height in pixels
    std::vector<uint32_t> Argb;  // Size x Size pixels, 0xAARRGGBB, not premultiplied
};

constexpr int CategoryIconCount = 24;
constexpr int PresetIconCount = 2;

// The larger pictures, each in a list of its size: the empty job list's invitation to add files
// (48 pixels), the program's picture in the about box and the preview screen's picture while
// nothing plays (80).
struct TPictureInfo {
    std::string Name;
    int Size = 0;
};
std::vector<TPictureInfo> PictureInfos();

// The lists of button glyphs: "tool" (the tool bar, 36 pixels), "job" (the job list's buttons,
// 16), "preview" (24) and "queue" (32); each glyph is "<list>_<glyph>" enabled and, for the
// lists with a disabled twin, "<list>_<glyph>_off" in grey.
struct TGlyphListInfo {
    std::string Prefix;
    int Size = 0;
    bool Disabled = false;
    std::vector<std::string> Glyphs;  // in image index order
};
std::vector<TGlyphListInfo> GlyphListInfos();
std::string GlyphIconName(const std::string& List, const std::string& Glyph, bool Enabled);

// Every icon in a fixed order: category_00 .. category_23, preset_0 and preset_1, then each
// glyph list's icons, the enabled ones before the disabled ones, then the larger pictures.
std::vector<TProgramIcon> DrawProgramIcons();

// The icon as an 8-bit RGBA PNG file.
std::vector<uint8_t> EncodeIconPng(const TProgramIcon& Icon);
// A PNG file back into an icon of that name (empty pixels when the bytes are no PNG).
TProgramIcon DecodeIconPng(const std::string& Name, const std::vector<uint8_t>& Bytes);

// All icons on one picture, each shown at its size and enlarged (four times; the larger pictures
// less) on a light background, for people to look at.
TProgramIcon DrawIconSheet(const std::vector<TProgramIcon>& Icons);
