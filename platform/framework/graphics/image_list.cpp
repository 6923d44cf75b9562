// TCustomImageList: images kept as straight-alpha pixels, drawn through the canvas with
// AlphaBlend; the raw handle calls find the list by its handle.
#include "platform/framework/graphics/image_list.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "platform/win/win_api.h"

namespace {
std::mutex& ListsLock()
{
    static std::mutex m;
    return m;
}
std::set<TCustomImageList*>& Lists()
{
    static std::set<TCustomImageList*> lists;
    return lists;
}
}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner)
{
    std::lock_guard<std::mutex> guard(ListsLock());
    Lists().insert(this);
}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TCustomImageList(AOwner)
{
    FWidth = std::max(AWidth, 1);
    FHeight = std::max(AHeight, 1);
}

TCustomImageList::~TCustomImageList()
{
    std::lock_guard<std::mutex> guard(ListsLock());
    Lists().erase(this);
}

TCustomImageList* TCustomImageList::FromHandle(HIMAGELIST Handle)
{
    auto* list = reinterpret_cast<TCustomImageList*>(Handle);
    std::lock_guard<std::mutex> guard(ListsLock());
    return Lists().count(list) ? list : nullptr;
}

void TCustomImageList::Change()
{
    if (FUpdateCount > 0) {
        FChanged = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TCustomImageList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) {
        FChanged = false;
        Change();
    }
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 1);
    AHeight = std::max(AHeight, 1);
    if (AWidth == FWidth && AHeight == FHeight) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FImages.clear();
    Change();
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == FBkColor) return;
    FBkColor = Value;
    Change();
}

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(L"Invalid ImageList Index");
}

std::vector<TRasterImage> TCustomImageList::Cells(TBitmap* Image, TBitmap* Mask, bool UseColor, TColor MaskColor) const
{
    std::vector<TRasterImage> cells;
    if (!Image || Image->Empty()) return cells;
    TRasterImage src = Image->ToRasterImage();
    TRasterImage mask;
    if (Mask && !Mask->Empty()) mask = Mask->ToRasterImage();
    uint32_t key = 0;
    if (UseColor) {
        TColor c = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
        c = ColorToRGB(c);
        key = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    int n = std::max(1, src.Width() / FWidth);
    for (int i = 0; i < n; ++i) {
        TRasterImage cell(FWidth, FHeight);
        cell.Fill(0);
        for (int y = 0; y < std::min(FHeight, src.Height()); ++y)
            for (int x = 0; x < FWidth && i * FWidth + x < src.Width(); ++x) {
                int sx = i * FWidth + x;
                uint32_t p = src.Pixel(sx, y);
                if (!src.HasAlpha()) p |= 0xFF000000u;
                if (UseColor && (p & 0xFFFFFF) == key) p = 0;
                if (!mask.Empty() && (mask.Pixel(sx, y) & 0xFFFFFF) != 0) p = 0;
                cell.SetPixel(x, y, p);
            }
        cell.SetHasAlpha(true);
        cells.push_back(std::move(cell));
    }
    return cells;
}

void TCustomImageList::InsertCells(int Index, std::vector<TRasterImage> Cells)
{
    if (Cells.empty()) return;
    FImages.insert(FImages.begin() + Index, std::make_move_iterator(Cells.begin()),
                   std::make_move_iterator(Cells.end()));
    Change();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    int at = Count();
    auto cells = Cells(Image, Mask, false, clNone);
    if (cells.empty()) return -1;
    InsertCells(at, std::move(cells));
    return at;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    int at = Count();
    auto cells = Cells(Image, nullptr, true, MaskColor);
    if (cells.empty()) return -1;
    InsertCells(at, std::move(cells));
    return at;
}

int TCustomImageList::AddIcon(TIcon* Image)
{
    int at = Count();
    InsertIcon(at, Image);
    return Count() > at ? at : -1;
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask)
{
    if (Index < 0 || Index > Count()) throw EListError(L"Invalid ImageList Index");
    InsertCells(Index, Cells(Image, Mask, false, clNone));
}

void TCustomImageList::InsertMasked(int Index, TBitmap* Image, TColor MaskColor)
{
    if (Index < 0 || Index > Count()) throw EListError(L"Invalid ImageList Index");
    InsertCells(Index, Cells(Image, nullptr, true, MaskColor));
}

void TCustomImageList::InsertIcon(int Index, TIcon* Image)
{
    if (Index < 0 || Index > Count()) throw EListError(L"Invalid ImageList Index");
    if (!Image || Image->Empty()) return;
    // Icons of another size are scaled to the cell.
    TRasterImage icon = Image->ToRasterImage();
    TRasterImage cell(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            cell.SetPixel(x, y, icon.Pixel(x * icon.Width() / FWidth, y * icon.Height() / FHeight));
    cell.SetHasAlpha(true);
    std::vector<TRasterImage> cells;
    cells.push_back(std::move(cell));
    InsertCells(Index, std::move(cells));
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    auto cells = Cells(Image, Mask, false, clNone);
    if (cells.empty()) return;
    FImages[Index] = std::move(cells[0]);
    Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
    CheckIndex(Index);
    auto cells = Cells(NewImage, nullptr, true, MaskColor);
    if (cells.empty()) return;
    FImages[Index] = std::move(cells[0]);
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex) return;
    TRasterImage image = std::move(FImages[CurIndex]);
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, std::move(image));
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, FDrawingStyle, itImage, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count()) return;
    static const UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    UINT style = kStyles[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
    DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled)
{
    if (Index < 0 || Index >= Count()) return;
    const TRasterImage& image = FImages[Index];
    TRect cell = Bounds(X, Y, FWidth, FHeight);
    if (Style & ILD_MASK) {
        // The mask: black where the image shows, white where it is transparent.
        TRasterImage mask(FWidth, FHeight);
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) mask.SetPixel(x, y, (image.Pixel(x, y) >> 24) ? 0xFF000000u : 0xFFFFFFFFu);
        DrawRasterImage(Canvas, cell, mask, false);
        return;
    }
    if (!Enabled) {
        // The greyed look: the image's shape (what is not transparent and not white) in the
        // highlight colour one pixel down and right, then in the shadow colour on top.
        auto shape = [&](TColor color) {
            TColor c = ColorToRGB(color);
            uint32_t argb = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            TRasterImage out(FWidth, FHeight);
            for (int y = 0; y < FHeight; ++y)
                for (int x = 0; x < FWidth; ++x) {
                    uint32_t p = image.Pixel(x, y);
                    out.SetPixel(x, y, (p >> 24) != 0 && (p & 0xFFFFFF) != 0xFFFFFF ? argb : 0);
                }
            out.SetHasAlpha(true);
            return out;
        };
        DrawRasterImage(Canvas, Bounds(X + 1, Y + 1, FWidth, FHeight), shape(clBtnHighlight), true);
        DrawRasterImage(Canvas, cell, shape(clBtnShadow), true);
        return;
    }
    if (FBkColor != clNone && !(Style & ILD_TRANSPARENT)) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FBkColor)));
        RECT r{cell.Left, cell.Top, cell.Right, cell.Bottom};
        ::FillRect(Canvas->Handle(), &r, brush);
        DeleteObject(brush);
    }
    DrawRasterImage(Canvas, cell, image, true);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || Index < 0 || Index >= Count()) return false;
    Image->AssignRasterImage(FImages[Index], pf32bit);
    return true;
}

void TCustomImageList::GetIcon(int Index, TIcon* Image)
{
    CheckIndex(Index);
    if (!Image) return;
    TBitmap b;
    b.AssignRasterImage(FImages[Index], pf32bit);
    Image->Assign(&b);
}

TRasterImage TCustomImageList::GetImage(int Index) const
{
    if (Index < 0 || Index >= Count()) return TRasterImage();
    return FImages[Index];
}

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int Dx, int Dy, COLORREF Bk, COLORREF,
                      UINT Style)
{
    TCustomImageList* list = TCustomImageList::FromHandle(List);
    if (!list || Index < 0 || Index >= list->Count() || !Dc) return FALSE;
    TCanvas canvas;
    canvas.SetHandle(Dc);
    if (Bk != CLR_NONE && Bk != CLR_DEFAULT && !(Style & (ILD_TRANSPARENT | ILD_MASK))) {
        int w = Dx > 0 ? Dx : list->Width(), h = Dy > 0 ? Dy : list->Height();
        HBRUSH brush = CreateSolidBrush(Bk);
        RECT r{X, Y, X + w, Y + h};
        ::FillRect(Dc, &r, brush);
        DeleteObject(brush);
    }
    // The background was this call's to draw: the list's own colour does not apply.
    list->Draw(&canvas, X, Y, Index, dsTransparent, (Style & ILD_MASK) ? itMask : itImage, true);
    canvas.SetHandle(nullptr);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style)
{
    TCustomImageList* list = TCustomImageList::FromHandle(List);
    if (!list) return FALSE;
    COLORREF bk = list->BkColor() == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(list->BkColor()));
    return ImageList_DrawEx(List, Index, Dc, X, Y, 0, 0, bk, CLR_DEFAULT, Style);
}

int ImageList_GetImageCount(HIMAGELIST List)
{
    TCustomImageList* list = TCustomImageList::FromHandle(List);
    return list ? list->Count() : -1;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy)
{
    TCustomImageList* list = TCustomImageList::FromHandle(List);
    if (!list || !Cx || !Cy) return FALSE;
    *Cx = list->Width();
    *Cy = list->Height();
    return TRUE;
}
