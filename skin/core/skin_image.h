// Skin image composition: a rectangle of a skin picture, painted for one size, made into a
// picture of any size. Nine parts (four corners copied 1:1, four edges tiled or stretched, a
// centre tiled or stretched), its variant without a right side, the stretch-only shorthand,
// three-part horizontal and vertical images, and the four border pictures of a nine-part skin.
// Free routines drawing into framework bitmaps through their canvases.
//
// Geometry of the nine-part routines: the points and ClRect are relative to R's top-left; the
// New* geometry is the caller's, relative to the destination, used as given. Tiles are 1:1
// copies cut at the far end; a tile step of 0 or less, or a tile that would end before it
// starts, draws nothing.
#pragma once

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_types.h"

void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                     TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* B, TBitmap* SB,
                     TRect R, int W, int H, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// The same contract and output; the popup, image-grid menu and hint windows call this one.
void CreateSkinImage2(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                      TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int W, int H, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// No right edge and no right corners (list view header sections); RightStretch is ignored.
void CreateLeftSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                         TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                         TBitmap* B, TBitmap* SB, TRect R, int W, int H, bool DrawClient, bool LeftStretch,
                         bool TopStretch, bool RightStretch, bool BottomStretch, bool StretchEffect,
                         TbsStretchType StretchType);
// At B's current size, the corners taken from ClRect's, everything stretched.
void CreateStretchImage(TBitmap* B, TBitmap* SB, TRect R, TRect ClRect, bool DrawClient);

// B becomes NewW x height of R: left cap LO, middle tiled or stretched, right cap RO.
void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int NewH, bool AStretch);
void CreateLeftHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int NewH, bool AStretch);
void CreateMiddleHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int NewH, bool AStretch);
// B becomes width of R x NewH: top cap TO, middle, bottom cap BO.
void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int NewH, bool AStretch);

// The four border pictures of a nine-part skin at W x H; a picture whose piece is missing is
// left untouched, size included.
void CreateSkinBorderImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                            TBitmap* LeftB, TBitmap* TopB, TBitmap* RightB, TBitmap* BottomB, TBitmap* SB, TRect R,
                            int W, int H, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch);
