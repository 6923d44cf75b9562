// Drawing helpers of the framework's plain (unskinned) look: 3-D frames and bevels, check marks,
// text with DT_ flags in a font and colour. Used by the standard controls' Paint.
#pragma once

#include "platform/framework/graphics/canvas.h"

// A frame Width pixels wide: TopColor on the left and top edges, BottomColor on the right and
// bottom; Rect shrinks by the frame.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// The two-line sunken edge of edits and lists; Rect shrinks by 2.
void DrawSunkenEdge(TCanvas* Canvas, TRect& Rect);
// The two-line raised edge of buttons (pressed: sunken); Rect shrinks by 2.
void DrawButtonEdge(TCanvas* Canvas, TRect& Rect, bool Pressed);
// Text in the canvas font (DT_ flags); returns the height drawn.
int DrawTextIn(TCanvas* Canvas, const String& Text, TRect Rect, UINT Flags);
// A tick inside Rect in Color.
void DrawCheckMark(TCanvas* Canvas, const TRect& Rect, TColor Color);
