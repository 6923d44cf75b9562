#include "tools/icon_builder/icon_design.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/framework/core/streams.h"
#include "platform/framework/graphics/png_image.h"

namespace {

struct Colour {
    double R, G, B;
};

constexpr Colour White{1, 1, 1};

Colour FromHex(uint32_t Rgb)
{
    return {((Rgb >> 16) & 0xFF) / 255.0, ((Rgb >> 8) & 0xFF) / 255.0, (Rgb & 0xFF) / 255.0};
}

void Set(cairo_t* cr, Colour C, double Alpha = 1) { cairo_set_source_rgba(cr, C.R, C.G, C.B, Alpha); }

void RoundRect(cairo_t* cr, double X, double Y, double W, double H, double R)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, X + W - R, Y + R, R, -M_PI / 2, 0);
    cairo_arc(cr, X + W - R, Y + H - R, R, 0, M_PI / 2);
    cairo_arc(cr, X + R, Y + H - R, R, M_PI / 2, M_PI);
    cairo_arc(cr, X + R, Y + R, R, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Box(cairo_t* cr, double X, double Y, double W, double H, Colour C)
{
    cairo_rectangle(cr, X, Y, W, H);
    Set(cr, C);
    cairo_fill(cr);
}

void Disc(cairo_t* cr, double CX, double CY, double R, Colour C)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, CX, CY, R, 0, 2 * M_PI);
    Set(cr, C);
    cairo_fill(cr);
}

void Ring(cairo_t* cr, double CX, double CY, double R, double Width, Colour C)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, CX, CY, R, 0, 2 * M_PI);
    cairo_set_line_width(cr, Width);
    Set(cr, C);
    cairo_stroke(cr);
}

void Poly(cairo_t* cr, std::initializer_list<std::pair<double, double>> Points, Colour C)
{
    bool first = true;
    for (auto [x, y] : Points) {
        if (first)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
    Set(cr, C);
    cairo_fill(cr);
}

void Line(cairo_t* cr, double X0, double Y0, double X1, double Y1, double Width, Colour C)
{
    cairo_move_to(cr, X0, Y0);
    cairo_line_to(cr, X1, Y1);
    cairo_set_line_width(cr, Width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Set(cr, C);
    cairo_stroke(cr);
}

// The symbols of the categories, drawn white on the badge of a 16-pixel icon.
enum class Symbol {
    FilmStrip, Note, WideScreen, Disc, Phone, Handheld, SmallPhone, Fruit, CrossCircle, Player, PlayFrame, Bolt,
    Tablet, Reel, Star, Camera, Nested, Panes, Cog, Robot, DiscHole, Camcorder, Television, Folder
};

void DrawSymbol(cairo_t* cr, Symbol S, Colour Badge)
{
    switch (S) {
    case Symbol::FilmStrip:
        Box(cr, 4, 3, 8, 10, White);
        for (int y = 4; y < 13; y += 3) Box(cr, 4, y, 1.5, 1.5, Badge), Box(cr, 10.5, y, 1.5, 1.5, Badge);
        break;
    case Symbol::Note:
        Box(cr, 9, 3, 1.6, 8, White);
        Poly(cr, {{9, 3}, {13, 4.5}, {13, 6.5}, {10.6, 5.5}}, White);
        Disc(cr, 7.3, 11.2, 2.2, White);
        break;
    case Symbol::WideScreen:
        Box(cr, 2.5, 4.5, 11, 6.5, White);
        Box(cr, 4, 6, 8, 3.5, Badge);
        Box(cr, 6, 11.5, 4, 1.5, White);
        break;
    case Symbol::Disc:
        Disc(cr, 8, 8, 5, White);
        Disc(cr, 8, 8, 1.6, Badge);
        break;
    case Symbol::Phone:
        cairo_new_path(cr);
        RoundRect(cr, 5, 2.5, 6, 11, 1.2);
        Set(cr, White);
        cairo_fill(cr);
        Box(cr, 6, 4, 4, 7, Badge);
        break;
    case Symbol::Handheld:
        cairo_new_path(cr);
        RoundRect(cr, 1.5, 5, 13, 6, 2.5);
        Set(cr, White);
        cairo_fill(cr);
        Box(cr, 5.5, 6.2, 5, 3.6, Badge);
        Disc(cr, 3.4, 8, 0.9, Badge);
        Disc(cr, 12.6, 8, 0.9, Badge);
        break;
    case Symbol::SmallPhone:
        Box(cr, 5, 5, 6, 8.5, White);
        Box(cr, 9.5, 2, 1.2, 3, White);
        for (int i = 0; i < 3; ++i) Box(cr, 6 + i * 1.6, 9.5, 1, 1, Badge), Box(cr, 6 + i * 1.6, 11.5, 1, 1, Badge);
        Box(cr, 6, 6, 4, 2.5, Badge);
        break;
    case Symbol::Fruit:
        Disc(cr, 8, 9.2, 4.3, White);
        cairo_save(cr);
        cairo_translate(cr, 9.8, 3.6);
        cairo_rotate(cr, -0.6);
        cairo_scale(cr, 2.0, 1.0);
        Disc(cr, 0, 0, 1, White);
        cairo_restore(cr);
        break;
    case Symbol::CrossCircle:
        Ring(cr, 8, 8, 5, 1.6, White);
        Line(cr, 5.5, 5.5, 10.5, 10.5, 1.6, White);
        Line(cr, 10.5, 5.5, 5.5, 10.5, 1.6, White);
        break;
    case Symbol::Player:
        cairo_new_path(cr);
        RoundRect(cr, 4, 2.5, 8, 11, 1.5);
        Set(cr, White);
        cairo_fill(cr);
        Box(cr, 5.3, 3.8, 5.4, 3.6, Badge);
        Ring(cr, 8, 10.3, 1.7, 1.1, Badge);
        break;
    case Symbol::PlayFrame:
        Ring(cr, 8, 8, 5.3, 1.3, White);
        Poly(cr, {{6.5, 5}, {11.2, 8}, {6.5, 11}}, White);
        break;
    case Symbol::Bolt: Poly(cr, {{9.5, 2}, {4.5, 9}, {7.8, 9}, {6.5, 14}, {11.5, 7}, {8.2, 7}}, White); break;
    case Symbol::Tablet:
        cairo_new_path(cr);
        RoundRect(cr, 3, 2.5, 10, 11, 1.2);
        Set(cr, White);
        cairo_fill(cr);
        Box(cr, 4.2, 3.7, 7.6, 7.8, Badge);
        break;
    case Symbol::Reel:
        Disc(cr, 8, 8, 5.2, White);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5 - M_PI / 2;
            Disc(cr, 8 + 2.9 * std::cos(a), 8 + 2.9 * std::sin(a), 1.1, Badge);
        }
        break;
    case Symbol::Star: {
        cairo_new_path(cr);
        for (int i = 0; i < 10; ++i) {
            const double a = i * M_PI / 5 - M_PI / 2, r = i % 2 ? 2.4 : 5.8;
            if (i == 0)
                cairo_move_to(cr, 8 + r * std::cos(a), 8.4 + r * std::sin(a));
            else
                cairo_line_to(cr, 8 + r * std::cos(a), 8.4 + r * std::sin(a));
        }
        cairo_close_path(cr);
        Set(cr, White);
        cairo_fill(cr);
        break;
    }
    case Symbol::Camera:
        Box(cr, 2.5, 5, 8, 6.5, White);
        Poly(cr, {{11, 7.3}, {14, 5.3}, {14, 11.2}, {11, 9.2}}, White);
        break;
    case Symbol::Nested:
        cairo_set_line_width(cr, 1.2);
        Set(cr, White);
        cairo_rectangle(cr, 2.6, 2.6, 10.8, 10.8);
        cairo_stroke(cr);
        cairo_rectangle(cr, 5.1, 5.1, 5.8, 5.8);
        cairo_stroke(cr);
        Box(cr, 7, 7, 2, 2, White);
        break;
    case Symbol::Panes:
        Box(cr, 3, 3, 4.5, 4.5, White);
        Box(cr, 8.5, 3, 4.5, 4.5, White);
        Box(cr, 3, 8.5, 4.5, 4.5, White);
        Box(cr, 8.5, 8.5, 4.5, 4.5, White);
        break;
    case Symbol::Cog:
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            Line(cr, 8, 8, 8 + 5.3 * std::cos(a), 8 + 5.3 * std::sin(a), 2, White);
        }
        Disc(cr, 8, 8, 3.8, White);
        Disc(cr, 8, 8, 1.5, Badge);
        break;
    case Symbol::Robot:
        cairo_new_path(cr);
        cairo_arc(cr, 8, 10, 5, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        Set(cr, White);
        cairo_fill(cr);
        Box(cr, 3, 10.8, 10, 2.4, White);
        Disc(cr, 6, 8, 0.9, Badge);
        Disc(cr, 10, 8, 0.9, Badge);
        Line(cr, 5, 4, 4, 2.5, 0.9, White);
        Line(cr, 11, 4, 12, 2.5, 0.9, White);
        break;
    case Symbol::DiscHole:
        Ring(cr, 8, 8, 4.3, 2.4, White);
        Ring(cr, 8, 8, 1.8, 0.8, White);
        break;
    case Symbol::Camcorder:
        Box(cr, 2, 6, 9, 6, White);
        Poly(cr, {{11, 7.5}, {14, 6}, {14, 12}, {11, 10.5}}, White);
        Box(cr, 3, 3.5, 4.5, 2.5, White);
        Disc(cr, 5, 9, 1.4, Badge);
        break;
    case Symbol::Television:
        Box(cr, 2, 4, 12, 8, White);
        Box(cr, 3.3, 5.3, 9.4, 5.4, Badge);
        Line(cr, 6, 1.8, 8, 4, 1, White);
        Line(cr, 10, 1.8, 8, 4, 1, White);
        Box(cr, 5, 12.5, 6, 1.2, White);
        break;
    case Symbol::Folder:
        Poly(cr, {{2, 4}, {6.5, 4}, {7.8, 5.5}, {14, 5.5}, {14, 13}, {2, 13}}, White);
        Box(cr, 3.2, 7, 9.6, 0.9, Badge);
        break;
    }
}

// Badge colour and symbol of each category code 0..23.
struct TCategoryLook {
    uint32_t Badge;
    Symbol Mark;
};
const TCategoryLook CategoryLooks[CategoryIconCount] = {
    {0x3B6FC4, Symbol::FilmStrip},   // 0 general video
    {0xD35400, Symbol::Note},        // 1 audio
    {0x1E8449, Symbol::WideScreen},  // 2 high definition
    {0x7F8C8D, Symbol::Disc},        // 3
    {0x2C3E50, Symbol::Phone},       // 4 iPhone
    {0x1F4E9C, Symbol::Handheld},    // 5 PSP
    {0x16A085, Symbol::SmallPhone},  // 6 3GP
    {0xA93226, Symbol::Fruit},       // 7 Apple
    {0x27AE60, Symbol::CrossCircle}, // 8 Xbox
    {0x8E44AD, Symbol::Player},      // 9 PMP
    {0x2471A3, Symbol::PlayFrame},   // 10 MP4
    {0xC0392B, Symbol::Bolt},        // 11 Flash
    {0x566573, Symbol::Tablet},      // 12 iPad
    {0x6C3483, Symbol::Reel},        // 13 MPG
    {0xE67E22, Symbol::Star},        // 14 SWF
    {0x117A65, Symbol::Camera},      // 15 AVI
    {0x5B2C6F, Symbol::Nested},      // 16 MKV
    {0x0E6BA8, Symbol::Panes},       // 17 WMV
    {0x707B7C, Symbol::Cog},         // 18
    {0x7CB342, Symbol::Robot},       // 19 Android
    {0x34495E, Symbol::DiscHole},    // 20 VOB
    {0xB7950B, Symbol::Camcorder},   // 21 MTS
    {0x5D6D7E, Symbol::Television},  // 22
    {0xB9770E, Symbol::Folder},      // 23
};

// Runs Paint on a transparent Size x Size surface and returns the pixels, not premultiplied.
template <class F>
TProgramIcon Render(const std::string& Name, int Size, F&& Paint)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Size, Size);
    cairo_t* cr = cairo_create(s);
    Paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    TProgramIcon icon{Name, Size, std::vector<uint32_t>(static_cast<size_t>(Size * Size))};
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
            const uint32_t a = p >> 24;
            auto un = [a](uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
            icon.Argb[static_cast<size_t>(y * Size + x)] =
                (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
        }
    cairo_surface_destroy(s);
    return icon;
}

TProgramIcon CategoryIcon(int Code)
{
    char name[32];
    std::snprintf(name, sizeof name, "category_%02d", Code);
    const TCategoryLook& look = CategoryLooks[Code];
    return Render(name, 16, [&](cairo_t* cr) {
        const Colour badge = FromHex(look.Badge);
        RoundRect(cr, 0.5, 0.5, 15, 15, 3);
        Set(cr, badge);
        cairo_fill(cr);
        DrawSymbol(cr, look.Mark, badge);
    });
}

// The preset list's item pictures: a page with a coloured corner, blue and green.
TProgramIcon PresetIcon(int Index)
{
    return Render("preset_" + std::to_string(Index), 16, [&](cairo_t* cr) {
        const Colour ink = FromHex(Index == 0 ? 0x2E6DB4 : 0x2E9D5B);
        Poly(cr, {{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}}, ink);
        Poly(cr, {{4.2, 2.7}, {9.5, 2.7}, {11.8, 5}, {11.8, 13.3}, {4.2, 13.3}}, White);
        Poly(cr, {{6, 6}, {10.5, 8.5}, {6, 11}}, ink);
    });
}


// The command and preview buttons' glyphs, drawn on a 16-unit grid scaled to the icon's size:
// the symbol in its colour when enabled, in grey when disabled.
enum class Glyph { Add, Remove, Clear, Options, Up, Down, Rename, Play, Resume, Pause, Stop, Mute, Unmute, Snapshot, Settings, Full };

struct TGlyphIcon {
    const char* Name;
    Glyph Mark;
    uint32_t Ink;
};

constexpr uint32_t Blue = 0x2F6DB5, Red = 0xC23A2B, Green = 0x2E9E48, Grey = 0x9A9EA4;

// Each list's glyphs in image index order; the lists with a disabled twin list are marked.
struct TGlyphList {
    const char* Prefix;
    int Size;
    bool Disabled;
    std::vector<TGlyphIcon> Glyphs;
};

const std::vector<TGlyphList>& GlyphLists()
{
    static const std::vector<TGlyphList> lists = {
        {"tool", 36, true,
         {{"add", Glyph::Add, Green}, {"remove", Glyph::Remove, Red}, {"clear", Glyph::Clear, Red},
          {"options", Glyph::Options, Blue}}},
        {"job", 16, true, {{"up", Glyph::Up, Blue}, {"down", Glyph::Down, Blue}, {"rename", Glyph::Rename, Blue}}},
        {"preview", 24, false,
         {{"play", Glyph::Play, Green}, {"pause", Glyph::Pause, Blue}, {"stop", Glyph::Stop, Red},
          {"mute", Glyph::Mute, Blue}, {"unmute", Glyph::Unmute, Blue}, {"snapshot", Glyph::Snapshot, Blue},
          {"settings", Glyph::Settings, Blue}, {"full", Glyph::Full, Blue}}},
        {"queue", 32, true,
         {{"start", Glyph::Play, Green}, {"stop", Glyph::Stop, Red}, {"pause", Glyph::Pause, Blue},
          {"resume", Glyph::Resume, Green}}},
    };
    return lists;
}

void DrawGlyph(cairo_t* cr, Glyph G, Colour Ink)
{
    switch (G) {
    case Glyph::Add:
        Disc(cr, 8, 8, 7, Ink);
        Box(cr, 7, 3.5, 2, 9, White);
        Box(cr, 3.5, 7, 9, 2, White);
        break;
    case Glyph::Remove:
        Disc(cr, 8, 8, 7, Ink);
        Box(cr, 3.5, 7, 9, 2, White);
        break;
    case Glyph::Clear:
        Box(cr, 3, 2.5, 10, 1.8, Ink);
        Box(cr, 6.5, 1.2, 3, 1.5, Ink);
        Poly(cr, {{4, 5}, {12, 5}, {11.2, 14.5}, {4.8, 14.5}}, Ink);
        Box(cr, 6.2, 6.5, 1, 6.5, White);
        Box(cr, 8.8, 6.5, 1, 6.5, White);
        break;
    case Glyph::Options:
        for (int i = 0; i < 3; ++i) {
            Line(cr, 2.5, 3.5 + i * 4.5, 13.5, 3.5 + i * 4.5, 1.4, Ink);
            Disc(cr, i == 1 ? 10.5 : 5.5, 3.5 + i * 4.5, 1.9, Ink);
        }
        break;
    case Glyph::Up:
        Poly(cr, {{8, 1.5}, {14, 8}, {10, 8}, {10, 14.5}, {6, 14.5}, {6, 8}, {2, 8}}, Ink);
        break;
    case Glyph::Down:
        Poly(cr, {{8, 14.5}, {14, 8}, {10, 8}, {10, 1.5}, {6, 1.5}, {6, 8}, {2, 8}}, Ink);
        break;
    case Glyph::Rename:
        Box(cr, 1.5, 12.5, 13, 1.8, Ink);
        Poly(cr, {{10.5, 1.5}, {13.5, 4.5}, {6.5, 11.5}, {3, 12}, {3.5, 8.5}}, Ink);
        break;
    case Glyph::Play: Poly(cr, {{4, 2}, {14, 8}, {4, 14}}, Ink); break;
    case Glyph::Resume:
        Box(cr, 2.5, 2.5, 2.5, 11, Ink);
        Poly(cr, {{6.5, 2.5}, {14, 8}, {6.5, 13.5}}, Ink);
        break;
    case Glyph::Pause:
        Box(cr, 3.5, 2.5, 3.5, 11, Ink);
        Box(cr, 9, 2.5, 3.5, 11, Ink);
        break;
    case Glyph::Stop: Box(cr, 3, 3, 10, 10, Ink); break;
    case Glyph::Mute:
    case Glyph::Unmute:
        Poly(cr, {{1.5, 5.5}, {4.5, 5.5}, {8.5, 2}, {8.5, 14}, {4.5, 10.5}, {1.5, 10.5}}, Ink);
        if (G == Glyph::Mute) {
            Line(cr, 10.5, 5.5, 14.5, 10.5, 1.4, Ink);
            Line(cr, 14.5, 5.5, 10.5, 10.5, 1.4, Ink);
        } else {
            cairo_new_path(cr);
            cairo_arc(cr, 8.5, 8, 4, -M_PI / 3, M_PI / 3);
            cairo_set_line_width(cr, 1.4);
            Set(cr, Ink);
            cairo_stroke(cr);
        }
        break;
    case Glyph::Snapshot:
        cairo_new_path(cr);
        RoundRect(cr, 1.5, 4.5, 13, 9.5, 1.5);
        Set(cr, Ink);
        cairo_fill(cr);
        Box(cr, 5, 2.5, 6, 2.5, Ink);
        Disc(cr, 8, 9.2, 3, White);
        Disc(cr, 8, 9.2, 1.8, Ink);
        break;
    case Glyph::Settings:
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            Line(cr, 8, 8, 8 + 6 * std::cos(a), 8 + 6 * std::sin(a), 2.4, Ink);
        }
        Disc(cr, 8, 8, 4.4, Ink);
        Disc(cr, 8, 8, 1.8, White);
        break;
    case Glyph::Full:
        Poly(cr, {{2, 2}, {7, 2}, {2, 7}}, Ink);
        Poly(cr, {{14, 2}, {14, 7}, {9, 2}}, Ink);
        Poly(cr, {{2, 14}, {2, 9}, {7, 14}}, Ink);
        Poly(cr, {{14, 14}, {9, 14}, {14, 9}}, Ink);
        Box(cr, 5, 5, 6, 6, Ink);
        break;
    }
}

TProgramIcon GlyphIcon(const TGlyphList& List, const TGlyphIcon& G, bool Enabled)
{
    const std::string name = GlyphIconName(List.Prefix, G.Name, Enabled);
    return Render(name, List.Size, [&](cairo_t* cr) {
        cairo_scale(cr, List.Size / 16.0, List.Size / 16.0);
        DrawGlyph(cr, G.Mark, FromHex(Enabled ? G.Ink : Grey));
    });
}

// The larger pictures, each drawn on its own pixel grid.
TProgramIcon EmptyListPicture()
{
    // A film frame with a play mark and a green "+" badge: the empty job list's invitation to
    // add files, in the soft blue of the list's old "+" mark.
    return Render("list_empty", 48, [](cairo_t* cr) {
        const Colour ink = FromHex(0x80A0C0), paper = FromHex(0xEAF1F8);
        cairo_new_path(cr);
        RoundRect(cr, 3, 6, 34, 30, 4);
        Set(cr, ink);
        cairo_fill(cr);
        for (double x = 6; x < 35; x += 5) Box(cr, x, 8, 3, 2.5, paper), Box(cr, x, 31.5, 3, 2.5, paper);
        Box(cr, 7, 12, 26, 18, paper);
        Poly(cr, {{16, 15}, {26, 21}, {16, 27}}, ink);
        Disc(cr, 35.5, 35.5, 12, White);
        Disc(cr, 35.5, 35.5, 10, FromHex(Green));
        Box(cr, 33.5, 29, 4, 13, White);
        Box(cr, 29, 33.5, 13, 4, White);
    });
}

TProgramIcon ProgramPicture()
{
    // The program's picture: a film strip on a dark tile whose frame turns into a green arrow.
    return Render("program_picture", 80, [](cairo_t* cr) {
        const Colour tile = FromHex(0x1E3A5F), film = FromHex(0xF2F2F2);
        cairo_new_path(cr);
        RoundRect(cr, 2, 2, 76, 76, 12);
        Set(cr, tile);
        cairo_fill(cr);
        Box(cr, 10, 16, 52, 40, film);
        for (double x = 13; x < 60; x += 8) Box(cr, x, 18.5, 4, 4, tile), Box(cr, x, 49.5, 4, 4, tile);
        Box(cr, 14, 26, 44, 21, FromHex(0xE05A2B));
        Poly(cr, {{31, 29}, {43, 36.5}, {31, 44}}, film);
        Disc(cr, 60, 60, 15, tile);
        Disc(cr, 60, 60, 13, FromHex(Green));
        Box(cr, 51, 57, 10, 6, White);
        Poly(cr, {{60, 51}, {70, 60}, {60, 69}}, White);
    });
}

TProgramIcon IdleScreenPicture()
{
    // The preview screen's picture while nothing plays: a quiet grey play mark on the black
    // screen.
    return Render("screen_idle", 80, [](cairo_t* cr) {
        const Colour ink = FromHex(0x5A6270);
        Ring(cr, 40, 40, 33, 4, ink);
        Poly(cr, {{31, 23}, {59, 40}, {31, 57}}, ink);
    });
}

}  // namespace

std::vector<TProgramIcon> DrawProgramIcons()
{
    std::vector<TProgramIcon> icons;
    for (int code = 0; code < CategoryIconCount; ++code) icons.push_back(CategoryIcon(code));
    for (int i = 0; i < PresetIconCount; ++i) icons.push_back(PresetIcon(i));
    for (const TGlyphList& list : GlyphLists())
        for (bool enabled : {true, false}) {
            if (!enabled && !list.Disabled) continue;
            for (const TGlyphIcon& g : list.Glyphs) icons.push_back(GlyphIcon(list, g, enabled));
        }
    icons.push_back(EmptyListPicture());
    icons.push_back(ProgramPicture());
    icons.push_back(IdleScreenPicture());
    return icons;
}

std::vector<TPictureInfo> PictureInfos() { return {{"list_empty", 48}, {"program_picture", 80}, {"screen_idle", 80}}; }

std::string GlyphIconName(const std::string& List, const std::string& Glyph, bool Enabled)
{
    return List + "_" + Glyph + (Enabled ? "" : "_off");
}

std::vector<TGlyphListInfo> GlyphListInfos()
{
    std::vector<TGlyphListInfo> infos;
    for (const TGlyphList& list : GlyphLists()) {
        TGlyphListInfo info{list.Prefix, list.Size, list.Disabled, {}};
        for (const TGlyphIcon& g : list.Glyphs) info.Glyphs.push_back(g.Name);
        infos.push_back(info);
    }
    return infos;
}

std::vector<uint8_t> EncodeIconPng(const TProgramIcon& Icon)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, Icon.Size, Icon.Size);
    for (int y = 0; y < Icon.Size; ++y) {
        uint8_t* alpha = png.AlphaScanline(y);
        for (int x = 0; x < Icon.Size; ++x) {
            const uint32_t p = Icon.Argb[static_cast<size_t>(y * Icon.Size + x)];
            png.SetPixels(x, y, static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF)));
            alpha[x] = static_cast<uint8_t>(p >> 24);
        }
    }
    png.SetCompressionLevel(9);
    TMemoryStream m;
    png.SaveToStream(m);
    return m.Data();
}

TProgramIcon DecodeIconPng(const std::string& Name, const std::vector<uint8_t>& Bytes)
{
    TProgramIcon icon{Name, 0, {}};
    TPngImage png;
    TMemoryStream m;
    m.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    m.SetPosition(0);
    try {
        png.LoadFromStream(m);
    } catch (...) {
        return icon;
    }
    if (png.Width() != png.Height()) return icon;
    icon.Size = png.Width();
    icon.Argb.resize(static_cast<size_t>(icon.Size * icon.Size));
    for (int y = 0; y < icon.Size; ++y) {
        const uint8_t* alpha = png.AlphaScanline(y);
        for (int x = 0; x < icon.Size; ++x) {
            const uint32_t c = static_cast<uint32_t>(png.Pixels(x, y));
            const uint32_t a = alpha ? alpha[x] : 255;
            icon.Argb[static_cast<size_t>(y * icon.Size + x)] =
                (a << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    return icon;
}

TProgramIcon DrawIconSheet(const std::vector<TProgramIcon>& Icons)
{
    // One cell per icon: the icon at its size, then enlarged (four times, the larger pictures
    // less, so that no enlargement passes 160 pixels); eight cells a row.
    auto zoom = [](int Size) { return Size <= 40 ? 4 : std::max(1, 160 / Size); };
    int cell = 0;
    for (const TProgramIcon& i : Icons) cell = std::max(cell, i.Size * (1 + zoom(i.Size)) + 24);
    const int columns = 8, rows = (static_cast<int>(Icons.size()) + columns - 1) / columns;
    const int w = columns * cell, h = rows * cell;
    TProgramIcon sheet{"all_icons", std::max(w, h), {}};
    sheet.Argb.assign(static_cast<size_t>(sheet.Size * sheet.Size), 0xFFF3F5F8);
    for (size_t n = 0; n < Icons.size(); ++n) {
        const TProgramIcon& icon = Icons[n];
        const int z = zoom(icon.Size);
        const int ox = static_cast<int>(n % columns) * cell + 8, oy = static_cast<int>(n / columns) * cell + 8;
        auto blend = [&](int X, int Y, uint32_t P) {
            uint32_t& d = sheet.Argb[static_cast<size_t>(Y * sheet.Size + X)];
            const uint32_t a = P >> 24;
            auto mix = [a](uint32_t s, uint32_t t) { return (s * a + t * (255 - a) + 127) / 255; };
            d = 0xFF000000u | (mix((P >> 16) & 0xFF, (d >> 16) & 0xFF) << 16) |
                (mix((P >> 8) & 0xFF, (d >> 8) & 0xFF) << 8) | mix(P & 0xFF, d & 0xFF);
        };
        for (int y = 0; y < icon.Size; ++y)
            for (int x = 0; x < icon.Size; ++x) {
                const uint32_t p = icon.Argb[static_cast<size_t>(y * icon.Size + x)];
                blend(ox + x, oy + y, p);
                for (int k = 0; k < z * z; ++k) blend(ox + icon.Size + 8 + x * z + k % z, oy + y * z + k / z, p);
            }
    }
    return sheet;
}
