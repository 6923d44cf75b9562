// The list view's layouts other than the report: where items lie, what a point hits, where the
// arrow keys go, the scroll state and the painting.
//   Icon view: a grid of cells filled row by row; a cell holds the large image centred at its top
//   and the caption centred under it, wrapped over at most two lines. Scrolled in pixels.
//   Small-icon view: cells of one width (the widest item) filled row by row, each the check box,
//   the small image and the caption on one line. Scrolled in pixels.
//   List view: the same cells filled column by column, top to bottom; no vertical scrolling, the
//   horizontal scroll position and range count whole columns.
#include <algorithm>

#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/scrolling.h"
#include "platform/framework/graphics/image_list.h"

namespace {
constexpr int kIconCellMinWidth = 75;  // the system's icon spacing
constexpr int kCellGap = 8;            // between the columns of the small-icon and list views
constexpr int kOwnerDataTextWidth = 100;

// A memory DC with a font selected, for measuring captions.
class FontDC {
public:
    explicit FontDC(HFONT Font) : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, Font)) {}
    ~FontDC()
    {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;
    operator HDC() const { return FDC; }
    int Width(const String& S) const
    {
        if (S.empty()) return 0;
        SIZE sz{};
        GetTextExtentPoint32W(FDC, S.c_str(), static_cast<int>(S.size()), &sz);
        return sz.cx;
    }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

bool Inside(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
}  // namespace

int TCustomListView::TextLineHeight()
{
    if (FCachedLineHeight > 0) return FCachedLineHeight;
    FontDC dc(FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    FCachedLineHeight = std::max<int>(1, tm.tmHeight);
    return FCachedLineHeight;
}

int TCustomListView::CaptionWidth(const String& Caption)
{
    FontDC dc(FFont.Handle());
    return dc.Width(Caption);
}

int TCustomListView::WidestCaption()
{
    if (FCachedWidest >= 0) return FCachedWidest;
    int w = 0;
    if (FOwnerData) {
        w = kOwnerDataTextWidth;
    } else {
        FontDC dc(FFont.Handle());
        for (TListItem* item : FItems.FItems) w = std::max(w, dc.Width(item->FCaption));
    }
    FCachedWidest = w;
    return w;
}

TSize TCustomListView::CellSize()
{
    const int checkW = FCheckboxes ? kCheckSize + 4 : 0;
    if (FViewStyle == vsIcon) {
        TCustomImageList* large = LargeImageList();
        const int iw = large ? large->Width() : GetSystemMetrics(SM_CXICON);
        const int ih = large ? large->Height() : GetSystemMetrics(SM_CYICON);
        // The image with 2 pixels above and below, two caption lines with a pixel each side, a gap.
        return TSize{std::max(kIconCellMinWidth, iw + 16 + checkW), ih + 4 + 2 * TextLineHeight() + 2 + 4};
    }
    TCustomImageList* small = SmallImageList();
    const int imageW = small ? small->Width() + 2 : 0;
    return TSize{checkW + imageW + 2 + WidestCaption() + kTextPad + kCellGap, RowHeight()};
}

int TCustomListView::CellsPerLine()
{
    switch (FViewStyle) {
    case vsReport: return 0;
    case vsList: return std::max(1, ClientHeight() / std::max(1, CellSize().cy));
    default: return std::max(1, ClientWidth() / std::max(1, CellSize().cx));
    }
}

TPoint TCustomListView::CellOrigin(int Index)
{
    const TSize cell = CellSize();
    const int per = CellsPerLine();
    if (FViewStyle == vsList) return Point((Index / per - FFirstColumn) * cell.cx, (Index % per) * cell.cy);
    return Point((Index % per) * cell.cx - FScrollX, (Index / per) * cell.cy - FScrollY);
}

TRect TCustomListView::ItemRect(int Index, const String& Caption, TDisplayCode Code)
{
    const TPoint o = CellOrigin(Index);
    const TSize cell = CellSize();
    if (FViewStyle == vsIcon) {
        TCustomImageList* large = LargeImageList();
        const int ih = large ? large->Height() : GetSystemMetrics(SM_CYICON);
        const TRect icon = Rect(o.X, o.Y, o.X + cell.cx, o.Y + ih + 4);
        // The caption centred under the image; wrapped, it takes at most two lines.
        const int lineH = TextLineHeight();
        const int maxW = cell.cx - 6;
        int textW = 0, lines = 1;
        if (!Caption.empty()) {
            FontDC dc(FFont.Handle());
            RECT r{0, 0, maxW, 0};
            DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &r,
                      DT_CALCRECT | DT_NOPREFIX | (FIconOptions.WrapText() ? DT_WORDBREAK : DT_SINGLELINE));
            textW = std::min<int>(maxW, r.right);
            lines = std::clamp<int>(r.bottom / lineH, 1, 2);
        }
        const int labelW = textW + 6;
        const int left = o.X + (cell.cx - labelW) / 2;
        const TRect label = Rect(left, icon.Bottom, left + labelW, icon.Bottom + lines * lineH + 2);
        switch (Code) {
        case drIcon: return icon;
        case drLabel: return label;
        case drBounds:
        case drSelectBounds: break;
        }
        return Rect(o.X, o.Y, o.X + cell.cx, label.Bottom);
    }
    const int checkW = FCheckboxes ? kCheckSize + 4 : 0;
    TCustomImageList* small = SmallImageList();
    const int imageW = small ? small->Width() + 2 : 0;
    const TRect bounds = Rect(o.X, o.Y, o.X + cell.cx, o.Y + cell.cy);
    const TRect icon = Rect(o.X + checkW, o.Y, o.X + checkW + imageW + 2, bounds.Bottom);
    switch (Code) {
    case drBounds: return bounds;
    case drIcon: return icon;
    // The list view's label reaches to the column's end, the small icon's ends with its text.
    case drLabel:
        return FViewStyle == vsList ? Rect(icon.Right, o.Y, bounds.Right, bounds.Bottom) : TextBox(Index, Caption);
    case drSelectBounds: return Rect(icon.Left, o.Y, TextBox(Index, Caption).Right, bounds.Bottom);
    }
    return bounds;
}

TRect TCustomListView::TextBox(int Index, const String& Caption)
{
    const TRect bounds = ItemRect(Index, Caption, drBounds);
    const int left = ItemRect(Index, Caption, drIcon).Right;
    return Rect(left, bounds.Top, std::min<int>(bounds.Right, left + CaptionWidth(Caption) + kTextPad), bounds.Bottom);
}

TRect TCustomListView::CheckBoxRect(int Index)
{
    if (FViewStyle == vsIcon) {
        // Left of the image, at its foot.
        const TRect icon = ItemRect(Index, String(), drIcon);
        TCustomImageList* large = LargeImageList();
        const int iw = large ? large->Width() : GetSystemMetrics(SM_CXICON);
        const int imageX = icon.Left + (icon.Width() - iw) / 2;
        return Bounds(imageX - kCheckSize - 1, icon.Bottom - kCheckSize - 1, kCheckSize, kCheckSize);
    }
    const TRect b = ItemRect(Index, String(), drBounds);
    return Bounds(b.Left + 2, b.Top + (b.Height() - kCheckSize) / 2, kCheckSize, kCheckSize);
}

TSize TCustomListView::ContentSize()
{
    const int n = FItems.Count();
    if (n == 0) return TSize{};
    const TSize cell = CellSize();
    const int per = CellsPerLine();
    return TSize{std::min(per, n) * cell.cx, (n + per - 1) / per * cell.cy};
}

int TCustomListView::ListColumnCount()
{
    const int per = CellsPerLine();
    return (FItems.Count() + per - 1) / per;
}

int TCustomListView::VisibleListColumns() { return std::max(1, ClientWidth() / std::max(1, CellSize().cx)); }

void TCustomListView::ClampScrollOtherViews()
{
    if (FViewStyle == vsList) {
        FFirstColumn = std::clamp(FFirstColumn, 0, std::max(0, ListColumnCount() - VisibleListColumns()));
        FScrollX = FScrollY = 0;
        return;
    }
    const TSize content = ContentSize();
    FScrollX = std::clamp(FScrollX, 0, std::max(0, content.cx - ClientWidth()));
    FScrollY = std::clamp(FScrollY, 0, std::max(0, content.cy - ClientHeight()));
}

void TCustomListView::UpdateScrollBarsOtherViews()
{
    FInScrollUpdate = true;
    SCROLLINFO v;
    v.fMask = SIF_ALL;
    SCROLLINFO h;
    h.fMask = SIF_ALL;
    v.nMin = h.nMin = 0;
    if (FViewStyle == vsList) {
        // Columns side by side; nothing to scroll up or down.
        v.nMax = 0;
        v.nPage = 1;
        v.nPos = 0;
        h.nMax = std::max(0, ListColumnCount() - 1);
        h.nPage = static_cast<UINT>(VisibleListColumns());
        h.nPos = FFirstColumn;
    } else {
        const TSize content = ContentSize();
        v.nMax = std::max(0, content.cy - 1);
        v.nPage = static_cast<UINT>(std::max(1, ClientHeight()));
        v.nPos = FScrollY;
        h.nMax = std::max(0, content.cx - 1);
        h.nPage = static_cast<UINT>(std::max(1, ClientWidth()));
        h.nPos = FScrollX;
    }
    SetScrollInfo(FHandle, SB_VERT, &v, TRUE);
    SetScrollInfo(FHandle, SB_HORZ, &h, TRUE);
    FInScrollUpdate = false;
}

void TCustomListView::ScrollMessageOtherViews(TMessage& m, bool vertical)
{
    if (FViewStyle == vsList) {
        if (vertical) return;
        if (!ScrollBarTarget(m.WParam, FFirstColumn, 1, VisibleListColumns(), ListColumnCount() - 1, FFirstColumn))
            return;
    } else {
        const TSize cell = CellSize();
        const TSize content = ContentSize();
        int& pos = vertical ? FScrollY : FScrollX;
        const int line = std::max(1, (vertical ? cell.cy : cell.cx) / 2);
        const int page = std::max(1, vertical ? ClientHeight() : ClientWidth());
        if (!ScrollBarTarget(m.WParam, pos, line, page, vertical ? content.cy : content.cx, pos)) return;
    }
    ClampScroll();
    Invalidate();
    m.Result = 0;
}

void TCustomListView::ScrollOtherViews(int DX, int DY)
{
    if (FViewStyle == vsList) {
        FFirstColumn += DX / std::max(1, CellSize().cx);  // whole columns
    } else {
        FScrollX += DX;
        FScrollY += DY;
    }
    ClampScroll();
    Invalidate();
}

void TCustomListView::MakeVisibleOtherViews(int Index)
{
    if (FViewStyle == vsList) {
        const int col = Index / CellsPerLine();
        const int shown = VisibleListColumns();
        if (col < FFirstColumn)
            FFirstColumn = col;
        else if (col >= FFirstColumn + shown)
            FFirstColumn = col - shown + 1;
    } else {
        // The whole cell, in content coordinates.
        const TSize cell = CellSize();
        const TPoint o = CellOrigin(Index);
        const int x = o.X + FScrollX, y = o.Y + FScrollY;
        if (y < FScrollY)
            FScrollY = y;
        else if (y + cell.cy > FScrollY + ClientHeight())
            FScrollY = y + cell.cy - ClientHeight();
        if (x < FScrollX)
            FScrollX = x;
        else if (x + cell.cx > FScrollX + ClientWidth())
            FScrollX = x + cell.cx - ClientWidth();
    }
    ClampScroll();
    Invalidate();
}

TListItem* TCustomListView::GetItemAtOtherViews(int X, int Y)
{
    if (X < 0 || Y < 0) return nullptr;
    const TSize cell = CellSize();
    const int per = CellsPerLine();
    int i;
    if (FViewStyle == vsList) {
        const int row = Y / cell.cy;
        if (row >= per) return nullptr;
        i = (X / cell.cx + FFirstColumn) * per + row;
    } else {
        const int col = (X + FScrollX) / cell.cx;
        if (col >= per) return nullptr;
        i = (Y + FScrollY) / cell.cy * per + col;
    }
    if (i >= FItems.Count()) return nullptr;
    TListItem* item = FItems.Item(i);
    // Only the item's own parts hit: the check box, the image and the caption.
    if (FViewStyle == vsIcon) {
        const TRect icon = ItemRect(i, item->FCaption, drIcon);
        TCustomImageList* large = LargeImageList();
        const int iw = large ? large->Width() : GetSystemMetrics(SM_CXICON);
        const int imageX = icon.Left + (icon.Width() - iw) / 2;
        const int checkW = FCheckboxes ? kCheckSize + 2 : 0;
        if (Inside(Rect(imageX - checkW, icon.Top, imageX + iw, icon.Bottom), X, Y)) return item;
        return Inside(ItemRect(i, item->FCaption, drLabel), X, Y) ? item : nullptr;
    }
    return X < TextBox(i, item->FCaption).Right ? item : nullptr;
}

int TCustomListView::KeyTarget(int Current, WORD Key)
{
    const int n = FItems.Count();
    if (n == 0) return -1;
    if (Current < 0) return 0;
    const int per = CellsPerLine();
    const int last = n - 1;
    // A step toward a line with no item in line takes the last item when that lies beyond.
    auto across = [&](int target) { return target <= last ? target : (last / per > Current / per ? last : Current); };
    if (FViewStyle == vsList) {
        const int page = per * VisibleListColumns();
        switch (Key) {
        case VK_UP: return std::max(0, Current - 1);
        case VK_DOWN: return std::min(last, Current + 1);
        case VK_LEFT: return Current >= per ? Current - per : Current;
        case VK_RIGHT: return across(Current + per);
        case VK_PRIOR: return std::max(0, Current - page);
        case VK_NEXT: return std::min(last, Current + page);
        default: return -1;
        }
    }
    const int page = per * std::max(1, VisibleRowCount());
    switch (Key) {
    case VK_LEFT: return Current % per > 0 ? Current - 1 : Current;
    case VK_RIGHT: return Current % per < per - 1 && Current < last ? Current + 1 : Current;
    case VK_UP: return Current >= per ? Current - per : Current;
    case VK_DOWN: return across(Current + per);
    case VK_PRIOR: return std::max(Current % per, Current - page);
    case VK_NEXT: return std::min(last, Current + page);
    default: return -1;
    }
}

void TCustomListView::PaintOtherViews(const TRect& Client)
{
    const int n = FItems.Count();
    if (n == 0) return;
    const TSize cell = CellSize();
    const int per = CellsPerLine();
    // The items whose cells meet the client area, and no others (owner data fetches each one).
    int first, last;
    if (FViewStyle == vsList) {
        first = FFirstColumn * per;
        last = (FFirstColumn + Client.Width() / cell.cx + 1) * per - 1;
    } else {
        first = FScrollY / cell.cy * per;
        last = ((FScrollY + Client.Height()) / cell.cy + 1) * per - 1;
    }
    last = std::min(last, n - 1);
    for (int i = first; i <= last; ++i) {
        TListItem* item = FItems.Item(i);
        TCustomDrawState st;
        if (item->FSelected) st.Include(cdsSelected);
        if (item == FFocused) st.Include(cdsFocused);
        if (item->FChecked) st.Include(cdsChecked);
        if (!FEnabled) st.Include(cdsDisabled);
        DrawItem(item, item->DisplayRect(drBounds), st);
    }
}

void TCustomListView::DrawOtherViewItem(TListItem* Item, TCustomDrawState State, bool ShowSelection, TColor RowFont)
{
    TCanvas* c = Canvas();
    const int i = Item->Index();
    const String& caption = Item->FCaption;
    const TColor brush = c->Brush()->Color();
    const TRect icon = ItemRect(i, caption, drIcon);
    TRect text;
    if (FViewStyle == vsIcon) {
        text = ItemRect(i, caption, drLabel);
        TCustomImageList* large = LargeImageList();
        if (large && Item->FImageIndex >= 0 && Item->FImageIndex < large->Count())
            large->Draw(c, icon.Left + (icon.Width() - large->Width()) / 2, icon.Top + 2, Item->FImageIndex, FEnabled);
        if (ShowSelection) {
            c->Brush()->SetColor(brush);
            c->FillRect(text);
        }
        c->Font()->SetColor(RowFont);
        DrawTextIn(c, caption, Rect(text.Left + 3, text.Top + 1, text.Right - 3, text.Bottom - 1),
                   DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                       (FIconOptions.WrapText() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER));
    } else {
        text = TextBox(i, caption);
        TCustomImageList* small = SmallImageList();
        if (small && Item->FImageIndex >= 0 && Item->FImageIndex < small->Count())
            small->Draw(c, icon.Left + 2, icon.Top + (icon.Height() - small->Height()) / 2, Item->FImageIndex,
                        FEnabled);
        if (ShowSelection) {
            c->Brush()->SetColor(brush);
            c->FillRect(text);
        }
        c->Font()->SetColor(RowFont);
        DrawTextIn(c, caption, Rect(text.Left + kTextPad / 2, text.Top, text.Right - kTextPad / 2, text.Bottom),
                   DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (FCheckboxes) {
        TRect inner = CheckBoxRect(i);
        DrawSunkenEdge(c, inner);
        c->Brush()->SetColor(clWindow);
        c->FillRect(inner);
        if (Item->FChecked) DrawCheckMark(c, inner, clWindowText);
    }
    if (State.Contains(cdsFocused) && Focused()) c->DrawFocusRect(text);
}
