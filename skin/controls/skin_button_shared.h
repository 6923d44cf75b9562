// What the windowed skinned button (TbsSkinButton) and the graphic one (TbsSkinSpeedButton) share
// besides their timers: the caption's font and colour, the glyph frame for a state, the morph
// picture, the link to an image-grid menu and the click that runs an action.
#pragma once

#include <functional>

#include "platform/framework/controls/control.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/effect_bitmap.h"

// The record's font (UseSkinFont) or Default onto Cnvs, in the character set Charset.
void SetButtonSkinFont(TCanvas* Cnvs, bool UseSkinFont, const String& Name, int Height, TFontStyles Style,
                       TFont* Default, TFontCharset Charset);

// The skin's caption colours of a button record.
struct TbsButtonFontColors {
    TColor Normal, Active, Down, Disabled;
};

// The caption colour of a look: Default while enabled without UseSkinFontColor, else the record's
// colour for disabled, pressed (down with the mouse in), hot or normal.
TColor ButtonCaptionColor(bool Enabled, bool UseSkinFontColor, TColor Default, const TbsButtonFontColors& Colors,
                          bool ADown, bool AMouseIn);

// The frame of a glyph strip of NumGlyphs to show: 3 pressed, 4 hot, 2 disabled where the strip has
// it, else 1.
int ButtonGlyphFrame(bool ADown, bool AMouseIn, bool Enabled, int NumGlyphs);

// The look between normal and hot at Kf onto Target at (0, 0): Compose draws the normal (Hot false)
// or the hot look into a bitmap of W x H.
void PaintButtonMorph(TCanvas* Target, int W, int H, TbsMorphKind Kind, double Kf,
                      const std::function<void(TBitmap* B, bool Hot)>& Compose);

// Links Button to Menu: it hears Changed on a change of the selected item and the menu's removal.
void HookImagesMenu(TComponent* Button, TbsSkinImagesMenuBase* Menu, std::function<void(TObject*)> Changed);
// Undoes HookImagesMenu (and the close handler when CloseHooked, which it clears): the menu may
// outlive the button or pass to another, and must not call back into this one.
void UnhookImagesMenu(TComponent* Button, TbsSkinImagesMenuBase* Menu, bool& CloseHooked);

// The click of a button with an action: OnClick (the button's click event) when both are set,
// else the action's Execute (not in the designer), else OnClick.
void ClickOrExecuteAction(TControl* Button, const TNotifyEvent& OnClick);

// The image an action that Sender names brings to a button without a glyph: its list and index
// when the action's list holds it.
bool ActionImage(TObject* Sender, const TBitmap& Glyph, TCustomImageList*& Images, int& Index);
