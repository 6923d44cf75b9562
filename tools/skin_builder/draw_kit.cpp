#include "tools/skin_builder/draw_kit.h"

#include <algorithm>
#include <cmath>

namespace kit {

void SetColor(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0); }

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double tl, double tr, double br, double bl)
{
    const double lim = std::min(w, h) / 2;
    tl = std::min(tl, lim), tr = std::min(tr, lim), br = std::min(br, lim), bl = std::min(bl, lim);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - tr, y + tr, tr, -M_PI / 2, 0);
    cairo_arc(cr, x + w - br, y + h - br, br, 0, M_PI / 2);
    cairo_arc(cr, x + bl, y + h - bl, bl, M_PI / 2, M_PI);
    cairo_arc(cr, x + tl, y + tl, tl, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void FillBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill)
{
    RoundRectPath(cr, x, y, w, h, r, r, r, r);
    SetColor(cr, fill);
    cairo_fill(cr);
}

void FramedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb fill)
{
    FillBox(cr, x, y, w, h, r, border);
    FillBox(cr, x + 1, y + 1, w - 2, h - 2, std::max(0.0, r - 1), fill);
}

void FramedGradientBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb top, Rgb bottom)
{
    FillBox(cr, x, y, w, h, r, border);
    const double ir = std::max(0.0, r - 1);
    RoundRectPath(cr, x + 1, y + 1, w - 2, h - 2, ir, ir, ir, ir);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y + 1, 0, y + h - 1);
    cairo_pattern_add_color_stop_rgb(g, 0, top.R / 255.0, top.G / 255.0, top.B / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.R / 255.0, bottom.G / 255.0, bottom.B / 255.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void FramedTopBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb fill)
{
    // The shape runs past the bottom edge, so the bottom border falls outside the piece.
    RoundRectPath(cr, x, y, w, h + 2, r, r, 0, 0);
    SetColor(cr, border);
    cairo_fill(cr);
    const double ir = std::max(0.0, r - 1);
    RoundRectPath(cr, x + 1, y + 1, w - 2, h + 2, ir, ir, 0, 0);
    SetColor(cr, fill);
    cairo_fill(cr);
}

void HLine(cairo_t* cr, int x0, int x1, int y, Rgb c)
{
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    SetColor(cr, c);
    cairo_fill(cr);
}

void VLine(cairo_t* cr, int x, int y0, int y1, Rgb c)
{
    cairo_rectangle(cr, x, y0, 1, y1 - y0);
    SetColor(cr, c);
    cairo_fill(cr);
}

namespace {

void Stroke(cairo_t* cr, Rgb c, double width)
{
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

}  // namespace

void Chevron(cairo_t* cr, double cx, double cy, double half, Dir d, Rgb c, double width)
{
    // The arms span 2*half across and half along the pointing direction.
    const double a = half, b = half / 2;
    switch (d) {
    case Dir::Down:
        cairo_move_to(cr, cx - a, cy - b);
        cairo_line_to(cr, cx, cy + b);
        cairo_line_to(cr, cx + a, cy - b);
        break;
    case Dir::Up:
        cairo_move_to(cr, cx - a, cy + b);
        cairo_line_to(cr, cx, cy - b);
        cairo_line_to(cr, cx + a, cy + b);
        break;
    case Dir::Right:
        cairo_move_to(cr, cx - b, cy - a);
        cairo_line_to(cr, cx + b, cy);
        cairo_line_to(cr, cx - b, cy + a);
        break;
    case Dir::Left:
        cairo_move_to(cr, cx + b, cy - a);
        cairo_line_to(cr, cx - b, cy);
        cairo_line_to(cr, cx + b, cy + a);
        break;
    }
    Stroke(cr, c, width);
}

void CheckMark(cairo_t* cr, double cx, double cy, double size, Rgb c, double width)
{
    const double s = size / 2;
    cairo_move_to(cr, cx - s, cy + 0.05 * size);
    cairo_line_to(cr, cx - 0.15 * size, cy + 0.38 * size);
    cairo_line_to(cr, cx + s, cy - 0.35 * size);
    Stroke(cr, c, width);
}

void Cross(cairo_t* cr, double cx, double cy, double half, Rgb c, double width)
{
    cairo_move_to(cr, cx - half, cy - half);
    cairo_line_to(cr, cx + half, cy + half);
    cairo_move_to(cr, cx + half, cy - half);
    cairo_line_to(cr, cx - half, cy + half);
    Stroke(cr, c, width);
}

void Dot(cairo_t* cr, double cx, double cy, double r, Rgb c)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetColor(cr, c);
    cairo_fill(cr);
}

void Ellipsis(cairo_t* cr, double cx, double cy, Rgb c)
{
    for (int i = -1; i <= 1; ++i) Dot(cr, cx + 4 * i, cy, 1.1, c);
}

void Plus(cairo_t* cr, double cx, double cy, double half, Rgb c, bool vertical)
{
    cairo_rectangle(cr, cx - half, cy - 0.5, 2 * half, 1);
    if (vertical) cairo_rectangle(cr, cx - 0.5, cy - half, 1, 2 * half);
    SetColor(cr, c);
    cairo_fill(cr);
}

void CloseGlyph(cairo_t* cr, int cx, int cy, Rgb c) { Cross(cr, cx, cy, 4.5, c, 1.25); }

void MaximizeGlyph(cairo_t* cr, int cx, int cy, Rgb c)
{
    cairo_rectangle(cr, cx - 4.5, cy - 4.5, 9, 9);
    SetColor(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void RestoreGlyph(cairo_t* cr, int cx, int cy, Rgb c)
{
    SetColor(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, cx - 4.5, cy - 2.5, 7, 7);  // the front window
    cairo_stroke(cr);
    cairo_move_to(cr, cx - 2.5, cy - 3);  // the back window's top and right edges
    cairo_line_to(cr, cx - 2.5, cy - 4.5);
    cairo_line_to(cr, cx + 4.5, cy - 4.5);
    cairo_line_to(cr, cx + 4.5, cy + 2.5);
    cairo_line_to(cr, cx + 3, cy + 2.5);
    cairo_stroke(cr);
}

void MinimizeGlyph(cairo_t* cr, int cx, int cy, Rgb c)
{
    cairo_rectangle(cr, cx - 5, cy, 10, 1);
    SetColor(cr, c);
    cairo_fill(cr);
}

void AppGlyph(cairo_t* cr, double x, double y, double size, Rgb square, Rgb triangle)
{
    FillBox(cr, x, y, size, size, size / 4, square);
    const double cx = x + size / 2 + size * 0.06, cy = y + size / 2, s = size * 0.22;
    cairo_move_to(cr, cx - s, cy - s * 1.15);
    cairo_line_to(cr, cx + s * 1.15, cy);
    cairo_line_to(cr, cx - s, cy + s * 1.15);
    cairo_close_path(cr);
    SetColor(cr, triangle);
    cairo_fill(cr);
}

}  // namespace kit
