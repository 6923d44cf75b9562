// The colours of the program's own skin: light faces, cool grey borders and one accent colour
// for the hot, pressed, focused and selected states. SKINCOLORS repeats the faces the pictures
// use, so controls that paint with the skin colours match the pictures.
#pragma once

#include <cstdint>

#include "platform/framework/graphics/graphics_types.h"

struct Rgb {
    uint8_t R, G, B;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The transparent key colour of every skin bitmap.
constexpr Rgb kKey{127, 0, 127};

namespace palette {

constexpr Rgb Face{243, 245, 248};       // forms, panels, bars: the face everything sits on
constexpr Rgb White{255, 255, 255};      // fields, lists, buttons, menus
constexpr Rgb Border{197, 203, 212};     // 1-pixel borders of controls
constexpr Rgb BorderOff{221, 225, 231};  // borders of disabled controls
constexpr Rgb Separator{225, 229, 235};  // lines between parts of a bar
constexpr Rgb PanelLine{218, 223, 230};  // the outline of plain panels
constexpr Rgb Frame{168, 177, 190};      // the window's outline
constexpr Rgb Text{31, 35, 40};
constexpr Rgb TextSoft{91, 100, 112};  // arrows, chevrons, secondary text
constexpr Rgb TextOff{163, 170, 180};  // disabled text and glyphs
constexpr Rgb GlyphInactive{140, 147, 158};
constexpr Rgb Shadow{160, 167, 177};        // the skin's button shadow colour
constexpr Rgb FaceOff{246, 247, 249};       // fills of disabled controls
constexpr Rgb ButtonBottom{246, 247, 249};  // end of the buttons' faint gradient
constexpr Rgb Header{238, 241, 245};        // list headers and menu headers
constexpr Rgb HeaderLine{214, 219, 226};
constexpr Rgb Tab{234, 237, 241};    // tabs that are not selected
constexpr Rgb Track{238, 240, 243};  // scroll bar tracks
constexpr Rgb Thumb{192, 198, 207};
constexpr Rgb ThumbHot{163, 171, 182};
constexpr Rgb Ruler{205, 211, 219};

constexpr Rgb Accent{42, 122, 226};
constexpr Rgb AccentDark{28, 92, 180};
constexpr Rgb AccentOff{170, 196, 236};  // accent of disabled marks
constexpr Rgb AccentInactive{128, 168, 226};
constexpr Rgb Hot{230, 240, 253};           // fill under the mouse
constexpr Rgb Down{207, 225, 250};          // fill while pressed
constexpr Rgb Selected{214, 230, 251};      // selected item of a focused list
constexpr Rgb SelectedIdle{233, 238, 245};  // selected item of a list without the focus

}  // namespace palette

// 0x00BBGGRR, the skin INI's colour form.
constexpr TColor ToColor(Rgb c) { return static_cast<TColor>(c.R | (c.G << 8) | (c.B << 16)); }
