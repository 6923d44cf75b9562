// Cairo drawing for the skin's looks: filled and framed rounded boxes whose 1-pixel borders land
// on whole pixels, crisp lines, and the small glyphs (chevrons, check marks, caption-button
// symbols, dots) the looks carry. Coordinates are the piece's own.
#pragma once

#include <cairo.h>

#include "tools/skin_builder/palette.h"

namespace kit {

enum class Dir { Left, Right, Up, Down };

void SetColor(cairo_t* cr, Rgb c);
// A rounded rectangle path; each corner has its own radius (0 for a square corner).
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double tl, double tr, double br, double bl);
void FillBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill);
// A box with a 1-pixel border inside its bounds: the outer shape in the border colour, the shape
// one pixel in filled over it, so the border keeps its width round the corners.
void FramedBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb fill);
// The same with a vertical gradient from top to bottom inside the border.
void FramedGradientBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb top, Rgb bottom);
// Only the top corners rounded; the bottom edge open (no border there).
void FramedTopBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb border, Rgb fill);
// 1-pixel lines on whole pixels: from x0 to x1 (exclusive) on row y, from y0 to y1 on column x.
void HLine(cairo_t* cr, int x0, int x1, int y, Rgb c);
void VLine(cairo_t* cr, int x, int y0, int y1, Rgb c);

// A chevron of the given half-size round (cx, cy), pointing in d.
void Chevron(cairo_t* cr, double cx, double cy, double half, Dir d, Rgb c, double width = 1.5);
void CheckMark(cairo_t* cr, double cx, double cy, double size, Rgb c, double width = 1.8);
void Cross(cairo_t* cr, double cx, double cy, double half, Rgb c, double width = 1.2);
void Dot(cairo_t* cr, double cx, double cy, double r, Rgb c);
void Ellipsis(cairo_t* cr, double cx, double cy, Rgb c);
void Plus(cairo_t* cr, double cx, double cy, double half, Rgb c, bool vertical);

// Caption-button symbols about 10 pixels across, centred on the piece's (cx, cy).
void CloseGlyph(cairo_t* cr, int cx, int cy, Rgb c);
void MaximizeGlyph(cairo_t* cr, int cx, int cy, Rgb c);
void RestoreGlyph(cairo_t* cr, int cx, int cy, Rgb c);
void MinimizeGlyph(cairo_t* cr, int cx, int cy, Rgb c);
// The program's mark: a rounded square with a play triangle.
void AppGlyph(cairo_t* cr, double x, double y, double size, Rgb square, Rgb triangle);

}  // namespace kit
