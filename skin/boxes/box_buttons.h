// The small buttons the boxes draw inside themselves (spin buttons, drop-down buttons, edit
// buttons, list box caption buttons): their built-in frame-and-fill look in three states, and a
// skin button record ("resizebutton", "combobutton", "editbutton") composed to any size.
#pragma once

#include <initializer_list>

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/button_records.h"
#include "skin/core/skin_data.h"

// R moved by (DX, DY).
inline TRect MovedRect(const TRect& R, int DX, int DY)
{
    return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

// A button drawn inside a box: its rectangle, the pointer over it, pressed.
struct TbsCBButtonX {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
};

enum TbsBoxButtonState { bbsNormal, bbsHot, bbsPressed };

// The state of a button from its flags: pressed needs both.
inline TbsBoxButtonState BoxButtonState(bool MouseIn, bool Down)
{
    return MouseIn && Down ? bbsPressed : MouseIn ? bbsHot : bbsNormal;
}

// The built-in look's colours (TColor, 0x00BBGGRR): the hot and pressed frame, and their fills.
constexpr TColor kBoxHotFrame = 0xB76B3B;   // RGB(59, 107, 183)
constexpr TColor kBoxHotFill = 0xF3D4C1;    // RGB(193, 212, 243)
constexpr TColor kBoxDownFill = 0xE4BCA2;   // RGB(162, 188, 228)
constexpr TColor kBoxGrayArrow = 0x808080;  // RGB(128, 128, 128)

// A one-pixel frame and a fill in R: normal clBtnShadow on clBtnFace, hot and pressed the blue
// frame on their fills.
void DrawBoxButtonFrame(TCanvas* C, const TRect& R, TbsBoxButtonState State);

// The first of the names that the model holds as a button record; nullptr without one, or when
// its picture is not among the model's pictures.
TbsDataSkinButtonControl* FindButtonRecord(TbsSkinData* SD, std::initializer_list<const wchar_t*> Names);
// The record's picture; nullptr when its index names none.
TBitmap* ButtonRecordPicture(TbsSkinData* SD, const TbsDataSkinButtonControl* Rec);

// B becomes W x H holding the record's look for the state, its nine-part geometry grown by the
// size difference and its centre drawn: pressed DownSkinRect (else the hot one), hot
// ActiveSkinRect (else SkinRect). FontColor gets the state's text colour. False (B untouched)
// without a picture or a size.
bool ComposeButtonRecord(TbsSkinData* SD, const TbsDataSkinButtonControl* Rec, TbsBoxButtonState State, TBitmap* B,
                         int W, int H, TColor& FontColor);
