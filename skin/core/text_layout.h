// Text and glyph layout shared by every skinned control that draws a caption, often beside a
// glyph: placing both by layout, margin and spacing, drawing glyph frames out of a strip, and
// single-line, centred, aligned, clipped, shortened and wrapped texts with the skin engine's
// small pixel corrections. Free routines on a framework canvas with its current font, brush
// and pen. Halves truncate; an "odd font height" raises many texts by one pixel.
#pragma once

#include "platform/framework/graphics/canvas.h"
#include "platform/framework/graphics/image_list.h"

enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TbsNumGlyphs = int;  // 1 to 4 frames side by side: up, disabled, down, hot

// Margin -1 centres glyph and caption as one block; Spacing counts only with a glyph.
void CalcGlyphAndTextPos(TbsButtonLayout Layout, const TRect& R, int GlyphWidth, int GlyphHeight, int TextWidth,
                         int TextHeight, int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY);
// Glyph ImageIndex of Images (none outside the list) and the caption centred line by line.
void DrawImageAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      int ImageIndex, TCustomImageList* Images, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue);
// The same with the caption lines left-aligned.
void DrawImageAndTextLeft(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout,
                          const String& Caption, int ImageIndex, TCustomImageList* Images, bool ADown, bool AEnabled,
                          bool ADrawColorMarker, TColor AColorMarkerValue);
// The glyph is frame GlyphNum (from 1) of a strip of NumGlyphs frames.
void DrawGlyphAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      TBitmap* Glyph, TbsNumGlyphs NumGlyphs, int GlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue);
// Frame GlyphNum of the strip at (X, Y), its automatic transparent colour left out.
void DrawGlyphFrame(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs, int GlyphNum);

// DrawTextW of the whole text in R in the canvas's font, colour and brush; R takes what
// DT_CALCRECT gives.
int DrawWideText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags);
int GetWideTextWidth(TCanvas* Canvas, const String& Text);
int GetWideTextHeight(TCanvas* Canvas, const String& Text);
// Shortens the text with "..." until it fits MaxWidth; nothing that fits gives "...".
void FitTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth);
void FitWideTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth);
void DrawVCenterText(TCanvas* Canvas, const String& Text, TRect R);
// Also 2 pixels wider to the right for a text starting with a capital W.
void DrawVCenterText2(TCanvas* Canvas, const String& Text, TRect R);
void DrawCenteredText(TCanvas* Canvas, const String& Text, TRect R);
// Alignment 0 left, 1 right, 2 centre; other values draw nothing.
void DrawAlignedText(TCanvas* Canvas, const String& Text, TRect R, int Alignment);
void DrawClippedText(TCanvas* Canvas, const String& Text, TRect R);
void DrawClippedTextIndent(TCanvas* Canvas, const String& Text, TRect R, int Indent);
// Breaks (WordWrap) or shortens with dots over-long words to R's width, then draws centred.
void DrawWrappedText(TCanvas* Canvas, const String& Text, TRect R, bool WordWrap);
// The text DrawWrappedText draws for a width.
String WrappedText(TCanvas* Canvas, const String& Text, int Width, bool WordWrap);
// The canvas font's height is odd (Height div 2 differs from Height / 2).
bool OddFontHeight(TCanvas* Canvas);
