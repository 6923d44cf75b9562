// Captions with a glow around the letters, a soft light patch behind them, or a fading mirror
// image below them. Each builds a skin bitmap holding a red mask of the text, turns it into the
// alpha of one colour, blends it onto the canvas and draws the text itself on top. When the
// work bitmap cannot be made (a glow size from a skin file can be anything) only the text is
// drawn. Colours are RGB values 0x00BBGGRR; Flags are DrawText flags.
#pragma once

#include "platform/framework/graphics/canvas.h"

void DrawStrongGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int GlowOffset, TColor GlowColor,
                        int GlowSize);
int DrawGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int GlowOffset, TColor GlowColor,
                 int GlowSize);
// A light patch and the text blurred twice (margin 10, radius 5).
int DrawVistaGlowText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, TColor GlowColor);
// The caption's look: margin 12, radius 6, a patch wider than the text.
int DrawVistaGlowText2(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, TColor GlowColor);
// The text mirrored below its bottom, fading from 70 % of its coverage downwards.
void DrawReflectionText(TCanvas* Canvas, TRect R, const String& Text, UINT Flags, int ReflectionOffset,
                        TColor ReflectionColor);
