#include "platform/framework/controls/list_box.h"

#include <algorithm>
#include <cwctype>

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/scrolling.h"

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption};
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
    FItems.OnChange = [this](TObject*) { ItemsChanged(); };
}

void TCustomListBox::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style |= FColumns > 0 ? WS_HSCROLL : WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetColumns(int v)
{
    v = std::max(0, v);
    if (v == FColumns) return;
    FColumns = v;
    if (FHandle) RecreateWnd();
    SetTopIndex(FTopIndex);
}

int TCustomListBox::RowsPerColumn() { return std::max(1, ClientHeight() / ItemHeight()); }

int TCustomListBox::ColumnWidth() { return FColumns > 0 ? std::max(1, ClientWidth() / FColumns) : ClientWidth(); }

void TCustomListBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

void TCustomListBox::UpdateScrollBars()
{
    if (!FHandle || FInScrollUpdate || FItems.UpdateCount() > 0) return;
    FInScrollUpdate = true;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    if (FColumns > 0) {
        // Sideways by column: the range covers every column, the page the columns shown.
        const int rows = RowsPerColumn();
        si.nMax = std::max(0, (FItems.Count() + rows - 1) / rows - 1);
        si.nPage = static_cast<UINT>(FColumns);
        si.nPos = FTopIndex / rows;
        SetScrollInfo(FHandle, SB_HORZ, &si, TRUE);
    } else {
        si.nMax = std::max(0, FItems.Count() - 1);
        si.nPage = static_cast<UINT>(VisibleRows());
        si.nPos = FTopIndex;
        SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
    }
    FInScrollUpdate = false;
}

void TCustomListBox::ItemsChanged()
{
    FSel.resize(static_cast<size_t>(FItems.Count()), false);
    if (FItemIndex >= FItems.Count()) FItemIndex = -1;
    SetTopIndex(FTopIndex);
    Invalidate();
}

int TCustomListBox::ItemHeight()
{
    if (FItemHeight > 0) return FItemHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max<int>(1, tm.tmHeight + 1);
}

void TCustomListBox::SetItemHeight(int v) { SetAndInvalidate(FItemHeight, std::max(0, v)); }

void TCustomListBox::SetStyle(TListBoxStyle v) { SetAndInvalidate(FStyle, v); }

int TCustomListBox::VisibleRows() { return RowsPerColumn() * std::max(1, FColumns); }

void TCustomListBox::SetTopIndex(int v)
{
    if (FColumns > 0) {
        // The first item of a column: the columns shown never run past the last one.
        const int rows = RowsPerColumn();
        const int columns = (FItems.Count() + rows - 1) / rows;
        FTopIndex = std::clamp(v / rows, 0, std::max(0, columns - FColumns)) * rows;
    } else {
        FTopIndex = std::clamp(v, 0, std::max(0, FItems.Count() - VisibleRows()));
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomListBox::SetItemIndex(int v)
{
    if (v < -1 || v >= FItems.Count()) return;
    FSel.assign(static_cast<size_t>(FItems.Count()), false);
    FItemIndex = v;
    if (v >= 0) {
        FSel[static_cast<size_t>(v)] = true;
        if (v < FTopIndex)
            SetTopIndex(v);
        else if (v >= FTopIndex + VisibleRows())
            SetTopIndex(v - VisibleRows() + (FColumns > 0 ? RowsPerColumn() : 1));
    }
    FAnchor = v;
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool v)
{
    FMultiSelect = v;
    if (!v) SetItemIndex(FItemIndex);
}

bool TCustomListBox::Selected(int i) const
{
    return i >= 0 && static_cast<size_t>(i) < FSel.size() && FSel[static_cast<size_t>(i)];
}

void TCustomListBox::SetSelected(int i, bool v)
{
    if (i < 0 || i >= FItems.Count()) return;
    if (!FMultiSelect) {
        SetItemIndex(v ? i : (i == FItemIndex ? -1 : FItemIndex));
        return;
    }
    FSel.resize(static_cast<size_t>(FItems.Count()), false);
    FSel[static_cast<size_t>(i)] = v;
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    if (!FMultiSelect) return -1;
    return static_cast<int>(std::count(FSel.begin(), FSel.end(), true));
}

void TCustomListBox::ClearSelection()
{
    FSel.assign(static_cast<size_t>(FItems.Count()), false);
    if (!FMultiSelect) FItemIndex = -1;
    Invalidate();
}

void TCustomListBox::SelectAll()
{
    if (!FMultiSelect) return;
    FSel.assign(static_cast<size_t>(FItems.Count()), true);
    Invalidate();
}

TRect TCustomListBox::ItemRect(int Index)
{
    int ih = ItemHeight();
    if (FColumns > 0) {
        const int rows = RowsPerColumn(), w = ColumnWidth();
        const int d = Index - FTopIndex;
        const int col = d >= 0 ? d / rows : -((-d + rows - 1) / rows);
        const int row = d - col * rows;
        return Rect(col * w, row * ih, col * w + w, row * ih + ih);
    }
    int top = (Index - FTopIndex) * ih;
    return Rect(0, top, ClientWidth(), top + ih);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing)
{
    int i = FTopIndex + Pos.Y / ItemHeight();
    if (Pos.Y < 0) i = FTopIndex - 1;
    if (FColumns > 0) {
        const int rows = RowsPerColumn();
        const int row = Pos.Y / ItemHeight();
        i = Pos.X < 0 || Pos.Y < 0 || row >= rows ? -1 : FTopIndex + (Pos.X / ColumnWidth()) * rows + row;
    }
    if (i >= 0 && i < FItems.Count()) return i;
    return Existing ? -1 : FItems.Count();
}

int TCustomListBox::FindString(const String& Text, int Start) const
{
    const int n = FItems.Count();
    if (n == 0) return -1;
    if (Start < -1 || Start >= n) Start = -1;
    for (int k = 1; k <= n; ++k) {
        const int i = (Start + k) % n;
        const String& s = FItems.Get(i);
        if (s.size() < Text.size()) continue;
        bool same = true;
        for (size_t c = 0; c < Text.size() && same; ++c)
            same = std::towlower(static_cast<wint_t>(s[c])) == std::towlower(static_cast<wint_t>(Text[c]));
        if (same) return i;
    }
    return -1;
}

void TCustomListBox::WheelScroll(WPARAM WParam)
{
    const int lines = WheelScrollLines(WParam);
    if (FColumns > 0)
        SetTopIndex(FTopIndex - (lines > 0 ? 1 : lines < 0 ? -1 : 0) * RowsPerColumn());
    else
        SetTopIndex(FTopIndex - lines);
}

void TCustomListBox::DrawItem(int Index, const TRect& R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    if ((FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable) && OnDrawItem) {
        OnDrawItem(this, Index, R, State);
        return;
    }
    c->FillRect(R);
    DrawTextIn(c, FItems.Get(Index), Rect(R.Left + 2, R.Top, R.Right, R.Bottom),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    HDC dc = c->Handle();
    // The border is the non-client edge; the background comes from the colour query.
    HBRUSH bg = ControlColor(dc, CN_CTLCOLORLISTBOX);
    if (bg && bg != reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) {
        RECT all{r.Left, r.Top, r.Right, r.Bottom};
        FillRect(dc, &all, bg);
    }
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    for (int i = FTopIndex; i < FItems.Count(); ++i) {
        TRect ir = ItemRect(i);
        if (FColumns > 0 ? ir.Left >= r.Right : ir.Top >= r.Bottom) break;
        TOwnerDrawState st;
        bool sel = Selected(i);
        if (sel) st.Include(odSelected);
        if (i == FItemIndex && Focused()) st.Include(odFocused);
        if (!FEnabled) st.Include(odDisabled);
        c->Font()->Assign(&FFont);
        c->Brush()->SetColor(sel ? clHighlight : FColor);
        if (sel) c->Font()->SetColor(clHighlightText);
        DrawItem(i, ir, st);
        if (st.Contains(odFocused)) c->DrawFocusRect(ir);
    }
    RestoreDC(dc, saved);
}

void TCustomListBox::MoveTo(int Index, TShiftState Shift)
{
    if (FItems.Count() == 0) return;
    Index = std::clamp(Index, 0, FItems.Count() - 1);
    if (FMultiSelect && Shift.Contains(ssShift) && FAnchor >= 0) {
        int lo = std::min(FAnchor, Index), hi = std::max(FAnchor, Index);
        for (int i = 0; i < FItems.Count(); ++i) FSel[static_cast<size_t>(i)] = i >= lo && i <= hi;
        FItemIndex = Index;
    } else if (FMultiSelect && Shift.Contains(ssCtrl)) {
        FSel[static_cast<size_t>(Index)] = !FSel[static_cast<size_t>(Index)];
        FItemIndex = FAnchor = Index;
    } else {
        SetItemIndex(Index);
    }
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + VisibleRows())
        SetTopIndex(Index - VisibleRows() + (FColumns > 0 ? RowsPerColumn() : 1));
    Invalidate();
    Click();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft) {
        int i = ItemAtPos(Point(X, Y), true);
        if (i >= 0 && !Shift.Contains(ssDouble)) MoveTo(i, Shift);
    }
    // The row click already raised OnClick; the release does not click again.
    FControlState.Exclude(csClicked);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_MOUSEWHEEL:
        WheelScroll(m.WParam);
        m.Result = 1;
        return;
    case WM_HSCROLL: {
        if (FColumns > 0) {
            const int rows = RowsPerColumn();
            const int columns = (FItems.Count() + rows - 1) / rows;
            int col;
            if (ScrollBarTarget(m.WParam, FTopIndex / rows, 1, FColumns, std::max(0, columns - FColumns), col))
                SetTopIndex(col * rows);
        }
        m.Result = 0;
        return;
    }
    case WM_CHAR: {
        if (DoKeyPress(m)) return;
        const wchar_t ch = static_cast<wchar_t>(m.WParam);
        if (ch < 32) return;
        // Type-ahead: a character alone steps to the next item beginning with it; characters
        // typed within a second of each other search for the item beginning with them all.
        const unsigned long long now = GetTickCount64();
        if (now - FTypedTime > 1000) FTyped.clear();
        FTypedTime = now;
        FTyped += ch;
        const int found = FindString(FTyped, FTyped.size() == 1 ? FItemIndex : FItemIndex - 1);
        if (found >= 0 && found != FItemIndex) MoveTo(found, TShiftState());
        return;
    }
    case WM_SIZE:
        TCustomControl::Dispatch(m);
        SetTopIndex(FTopIndex);
        return;
    case WM_VSCROLL: {
        int top;
        if (ScrollBarTarget(m.WParam, FTopIndex, 1, VisibleRows(), FItems.Count(), top)) SetTopIndex(top);
        m.Result = 0;
        return;
    }
    case WM_KEYDOWN: {
        if (DoKeyDown(m)) return;
        TShiftState shift = KeyDataToShiftState(m.LParam);
        switch (m.WParam) {
        case VK_UP: MoveTo(FItemIndex - 1, shift); return;
        case VK_DOWN: MoveTo(FItemIndex + 1, shift); return;
        case VK_LEFT:
            if (FColumns > 0) MoveTo(FItemIndex - RowsPerColumn(), shift);
            return;
        case VK_RIGHT:
            if (FColumns > 0) MoveTo(FItemIndex + RowsPerColumn(), shift);
            return;
        case VK_HOME: MoveTo(0, shift); return;
        case VK_END: MoveTo(FItems.Count() - 1, shift); return;
        case VK_PRIOR: MoveTo(FItemIndex - VisibleRows(), shift); return;
        case VK_NEXT: MoveTo(FItemIndex + VisibleRows(), shift); return;
        default: DefaultHandler(m); return;
        }
    }
    case LB_GETCOUNT: m.Result = FItems.Count(); return;
    case LB_GETCURSEL: m.Result = FItemIndex; return;
    case LB_SETCURSEL: {
        const int v = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        SetItemIndex(v);
        m.Result = v >= 0 && v < FItems.Count() ? v : LB_ERR;
        return;
    }
    case LB_FINDSTRING:
        m.Result = m.LParam ? FindString(reinterpret_cast<const wchar_t*>(m.LParam),
                                         static_cast<int>(static_cast<LONG_PTR>(m.WParam)))
                            : LB_ERR;
        return;
    case LB_ADDSTRING: m.Result = FItems.Add(m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L""); return;
    case LB_INSERTSTRING: {
        int i = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        if (i < -1 || i > FItems.Count()) {
            m.Result = LB_ERR;
            return;
        }
        const String text = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        if (FItems.Sorted()) {
            m.Result = FItems.Add(text);  // a sorted list keeps its order
            return;
        }
        if (i == -1) i = FItems.Count();
        FItems.Insert(i, text);
        m.Result = i;
        return;
    }
    case LB_DELETESTRING: {
        const int i = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        if (i < 0 || i >= FItems.Count()) {
            m.Result = LB_ERR;
            return;
        }
        FItems.Delete(i);
        m.Result = FItems.Count();
        return;
    }
    case LB_GETSEL: m.Result = Selected(static_cast<int>(m.WParam)) ? 1 : 0; return;
    case LB_SETSEL:
        if (static_cast<int>(m.LParam) == -1) {
            if (m.WParam)
                SelectAll();
            else
                ClearSelection();
        } else {
            SetSelected(static_cast<int>(m.LParam), m.WParam != 0);
        }
        return;
    case LB_GETSELCOUNT: m.Result = SelCount(); return;
    case LB_GETTOPINDEX: m.Result = FTopIndex; return;
    case LB_SETTOPINDEX: SetTopIndex(static_cast<int>(m.WParam)); return;
    case LB_GETITEMHEIGHT: m.Result = ItemHeight(); return;
    case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(LOWORD(m.LParam))); return;
    case LB_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        TRect ir = ItemRect(static_cast<int>(m.WParam));
        if (r) *r = RECT{ir.Left, ir.Top, ir.Right, ir.Bottom};
        m.Result = r ? 1 : -1;
        return;
    }
    case LB_ITEMFROMPOINT: {
        int i = ItemAtPos(Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)), true);
        m.Result = i < 0 ? MAKELPARAM(std::max(0, FItems.Count() - 1), 1) : MAKELPARAM(i, 0);
        return;
    }
    default: break;
    }
    TCustomControl::Dispatch(m);
}
