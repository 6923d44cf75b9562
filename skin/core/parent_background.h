// Parent-background painting: a transparent skinned control paints what lies behind it (its
// parent's background and the windowless siblings stacked below it) into its own off-screen
// picture before drawing itself.
#pragma once

#include "platform/framework/controls/win_control.h"
#include "platform/framework/graphics/canvas.h"

// Into Canvas, as if its origin were Control's top-left corner.
void PaintParentBackground(TWinControl* Control, TCanvas* Canvas);
// The same for the part R of Control (Control's coordinates): Canvas's origin is R's top-left.
void PaintParentBackgroundRect(TWinControl* Control, const TRect& R, TCanvas* Canvas);
