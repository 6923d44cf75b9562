// TCustomImageList / TImageList: a list of equal-sized images with alpha (masks become alpha),
// drawn enabled or in the greyed look of disabled glyphs (an embossed shape in the button
// highlight and shadow colours), with a background colour, icons out, and a raw handle for
// code that draws by handle. Tool bars, menus, list and tree views and the skin engine's PNG
// image list (which overrides DoDraw) use it.
#pragma once

#include <vector>

#include "platform/framework/core/component.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/icon.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

// Draw styles of the raw handle calls.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
    ~TCustomImageList() override;

    // Changing the size removes every image.
    int Width() const { return FWidth; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Fills each image's cell before drawing it (clNone: the canvas shows through).
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value) { FMasked = Value; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value; }

    // An image as wide as several cells adds one image per cell. A mask's white pixels are
    // transparent; without a mask a 32-bit image keeps its alpha. Returns the first new index.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor (clDefault: the bitmap's bottom-left pixel) become transparent.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void InsertMasked(int Index, TBitmap* Image, TColor MaskColor);
    void InsertIcon(int Index, TIcon* Image);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
    // EListError for an index out of range.
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();

    // Draws image Index with its top-left corner at (X, Y); nothing for an index out of range.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
              bool Enabled = true);
    // The image as a 32-bit bitmap with its alpha; false for an index out of range.
    bool GetBitmap(int Index, TBitmap* Image);
    void GetIcon(int Index, TIcon* Image);
    // The image's straight-alpha pixels (empty for an index out of range).
    TRasterImage GetImage(int Index) const;

    HIMAGELIST Handle() { return reinterpret_cast<HIMAGELIST>(this); }
    static TCustomImageList* FromHandle(HIMAGELIST Handle);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    // Draws image Index in the ILD_ style; the greyed look when not Enabled. Descendants
    // that keep their own pictures override it.
    virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
    virtual void Change();

private:
    std::vector<TRasterImage> Cells(TBitmap* Image, TBitmap* Mask, bool UseColor, TColor MaskColor) const;
    void InsertCells(int Index, std::vector<TRasterImage> Cells);
    void CheckIndex(int Index) const;

    int FWidth = 16;
    int FHeight = 16;
    std::vector<TRasterImage> FImages;
    TColor FBkColor = clNone;
    bool FMasked = true;
    TDrawingStyle FDrawingStyle = dsNormal;
    int FAllocBy = 4;
    int FUpdateCount = 0;
    bool FChanged = false;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

// The raw handle calls (an HIMAGELIST is a list's Handle()); FALSE / -1 for an unknown handle.
// Images are drawn at the list's size (Dx and Dy only size the background).
BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style);
BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int Dx, int Dy, COLORREF Bk, COLORREF Fg,
                      UINT Style);
int ImageList_GetImageCount(HIMAGELIST List);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy);
