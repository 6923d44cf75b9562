// A plain framework panel for the main window's hosts and hidden holders (the preview's screen,
// the off-screen panels). Built apart from the skinned controls: the framework panel's bevel
// names and the skinned panel's border names cannot meet in one source file.
#pragma once

#include "platform/framework/core/types.h"
#include "platform/framework/graphics/graphics_types.h"

class TComponent;
class TPanel;
class TWinControl;

// A captionless, bevel-less panel in AParent with the given bounds and colour; answers it as the
// windowed control it is (children are parented to that).
TWinControl* NewPlainPanel(TComponent* AOwner, TWinControl* AParent, const String& AName, int ALeft, int ATop,
                           int AWidth, int AHeight, TColor AColor, TPanel** AField);
