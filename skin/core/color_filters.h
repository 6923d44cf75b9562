// Colour arithmetic on skin pixels (packing, RGB-HSL, hue, saturation, brightness), the blur
// behind glowing text, and the routines that turn a grey mask into a picture's alpha.
#pragma once

#include "platform/framework/graphics/graphics_types.h"
#include "skin/core/skin_bitmap.h"

// A framework colour (system colours resolved) with the alpha.
TbsColor ColorToBsColor(TColor Color, uint8_t Alpha);
// An RGB value 0x00BBGGRR as an opaque pixel.
TbsColor RGBToBsColor(uint32_t C);
// Each channel cut to 0..255.
TbsColor PackBsColor(int16_t R, int16_t G, int16_t B, uint8_t A);
void BsColorToHSL(TbsColor Color, float& H, float& S, float& L);
TbsColor HSLToBsColor(float H, float S, float L);
// One pixel changed; the result is opaque.
TbsColor SetColorHue(TbsColor Color, int Hue);
TbsColor ChangeColorSat(TbsColor Color, int Delta);
TbsColor ChangeColorHue(TbsColor Color, int Delta);
TbsColor ChangeColorBrightness(TbsColor Color, int Delta);

// Tent-weighted blur of the given radius (weights r + 1 - |k|, edges clamped), run in time
// proportional to the pixels whatever the radius; every alpha becomes 255.
void BlurBitmap(TbsBitmap* Bitmap, int Radius);
// Each pixel's alpha := the grey level (red + green + blue) / 3, truncated, of the same pixel of
// Mask; pixels outside a smaller mask get alpha 0. The colours stay.
void SetAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask);
// The same, then the colours premultiplied by the alpha.
void SetPremultipliedAlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask);
