// Window regions from mask pictures: black pixels belong to the window, every other colour is
// cut away. TbsFBitmap gives a mask's pixels as 24-bit rows; MaskToRegionData turns the black
// runs into region data; CreateSkinRegion builds the region of a nine-part skinned window of
// any size from four mask strips, composed like the nine-part image but always tiled.
#pragma once

#include <vector>

#include "platform/framework/graphics/bitmap.h"

struct TFBColor {
    uint8_t b, g, r;
};
using TBLine = TFBColor*;

class TbsFBitmap : public TObject {
public:
    // A 24-bit top-down copy of the bitmap behind HBmp, with a row table and its own DC.
    explicit TbsFBitmap(HBITMAP HBmp);
    ~TbsFBitmap() override;
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    void* Bits = nullptr;
    std::vector<TBLine> Pixels;  // Height row pointers, row 0 first
    int Gap = 0;                 // Width mod 4 filler bytes ending each row
    int RowInc = 0;              // Width * 3 + Gap
    int Size = 0;
    int Width = 0;
    int Height = 0;
    HBITMAP Handle = nullptr;
    HDC hDC = nullptr;
    BITMAPINFO bmInfo{};
    BITMAPINFOHEADER bmHeader{};
};

// Region data (a 32-byte header, then one rectangle per horizontal black run, in row order) for
// Mask placed at (X, Y), in RgnData; returns its size, 0 with no data for an empty mask.
int MaskToRegionData(TBitmap* Mask, int X, int Y, std::vector<uint8_t>& RgnData);
// The region of the whole mask; nullptr for an empty mask.
void CreateMaskRegion(HRGN& Rgn, TBitmap* Mask);
// The four mask strips of a nine-part window W wide (H is not used).
void CreateSkinMask(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                    TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask,
                    TBitmap* TopM, TBitmap* LeftM, TBitmap* RightM, TBitmap* BottomM, int W, int H);
// The window region of a nine-part skinned window of W x H; nullptr when the window is smaller
// than its corners or its client rectangle is empty. The caller owns the region.
void CreateSkinRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                      TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                      TBitmap* Mask, int W, int H);
