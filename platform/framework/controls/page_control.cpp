#include "platform/framework/controls/page_control.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/image_list.h"

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FColor = clBtnFace;
    FParentColor = true;
}

TTabSheet::~TTabSheet()
{
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v)
{
    if (v == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    SetParent(v);
    if (v) v->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl) return -1;
    auto& p = FPageControl->FPages;
    auto it = std::find(p.begin(), p.end(), this);
    return it == p.end() ? -1 : static_cast<int>(it - p.begin());
}

void TTabSheet::SetPageIndex(int v)
{
    if (!FPageControl) return;
    auto& p = FPageControl->FPages;
    p.erase(std::find(p.begin(), p.end(), this));
    v = std::clamp(v, 0, static_cast<int>(p.size()));
    p.insert(p.begin() + v, this);
    FPageControl->Invalidate();
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible) return -1;
    int i = 0;
    for (TTabSheet* s : FPageControl->FPages) {
        if (s == this) return i;
        if (s->FTabVisible) ++i;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v)
{
    if (v == FTabVisible) return;
    FTabVisible = v;
    if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::Paint()
{
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(ClientRect());
}

void TTabSheet::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->Invalidate();
    TCustomControl::Dispatch(m);
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
    FColor = clBtnFace;
}

TPageControl::~TPageControl()
{
    for (TTabSheet* s : FPages) s->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int i) const
{
    if (i < 0 || i >= PageCount()) throw EListError(L"List index out of bounds (" + std::to_wstring(i) + L")");
    return FPages[static_cast<size_t>(i)];
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    if (!FActivePage) SetActivePage(Page);
    Realign();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    bool wasActive = Page == FActivePage;
    TTabSheet* next = nullptr;
    if (wasActive) {
        // The neighbouring visible page takes over.
        int i = static_cast<int>(it - FPages.begin());
        for (int k = i + 1; k < PageCount() && !next; ++k)
            if (FPages[static_cast<size_t>(k)]->FTabVisible) next = FPages[static_cast<size_t>(k)];
        for (int k = i - 1; k >= 0 && !next; --k)
            if (FPages[static_cast<size_t>(k)]->FTabVisible) next = FPages[static_cast<size_t>(k)];
    }
    FPages.erase(it);
    Page->FPageControl = nullptr;
    if (wasActive) {
        FActivePage = nullptr;
        SetActivePage(next);
    }
    Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->FPageControl != this) return;
    if (Page == FActivePage) return;
    FActivePage = Page;
    ShowActive();
}

void TPageControl::ShowActive()
{
    for (TTabSheet* s : FPages)
        if (s != FActivePage) s->SetVisible(false);
    ScrollToActive();
    if (FActivePage) {
        TRect d = DisplayRect();
        FActivePage->SetBounds(d.Left, d.Top, d.Width(), d.Height());
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
    Invalidate();
}

void TPageControl::SetActivePageIndex(int i)
{
    SetActivePage(i >= 0 && i < PageCount() ? FPages[static_cast<size_t>(i)] : nullptr);
}

int TPageControl::TabCount() const
{
    return static_cast<int>(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* s) { return s->FTabVisible; }));
}

TTabSheet* TPageControl::PageOfTab(int TabIndex) const
{
    int i = 0;
    for (TTabSheet* s : FPages) {
        if (!s->FTabVisible) continue;
        if (i == TabIndex) return s;
        ++i;
    }
    return nullptr;
}

void TPageControl::SetTabIndex(int i) { SetActivePage(PageOfTab(i)); }

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

void TPageControl::UserSelect(TTabSheet* Page)
{
    if (!Page || Page == FActivePage || !CanChange()) return;
    SetActivePage(Page);
    Change();
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    int n = PageCount();
    if (n == 0) return;
    int start = FActivePage ? FActivePage->PageIndex() : (GoForward ? -1 : 0);
    for (int k = 1; k <= n; ++k) {
        int i = ((start + (GoForward ? k : -k)) % n + n) % n;
        TTabSheet* s = FPages[static_cast<size_t>(i)];
        if (!CheckTabVisible || s->FTabVisible) {
            UserSelect(s);
            return;
        }
    }
}

void TPageControl::SetTabHeight(int v)
{
    v = std::max(0, v);
    if (v == FTabHeight) return;
    FTabHeight = v;
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TPageControl::SetTabWidth(int v)
{
    v = std::max(0, v);
    if (v == FTabWidth) return;
    FTabWidth = v;
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TPageControl::SetTabPosition(TTabPosition v)
{
    if (v == FTabPosition) return;
    FTabPosition = v;
    Realign();
    Invalidate();
}

void TPageControl::SetMultiLine(bool v)
{
    if (v == FMultiLine) return;
    FMultiLine = v;
    FFirstVisible = 0;
    Realign();
    Invalidate();
}

void TPageControl::SetStyle(TTabStyle v) { SetAndInvalidate(FStyle, v); }

void TPageControl::SetOwnerDraw(bool v) { SetAndInvalidate(FOwnerDraw, v); }

void TPageControl::SetImages(TCustomImageList* v)
{
    FImages = v;
    Realign();
    Invalidate();
}

int TPageControl::TextWidth(const String& s)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    return sz.cx;
}

int TPageControl::TabStripHeight()
{
    if (FItemHeight > 0) return FItemHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    int h = tm.tmHeight + 6;
    const bool side = FTabPosition == tpLeft || FTabPosition == tpRight;
    if (FImages) h = std::max(h, (side ? FImages->Width() : FImages->Height()) + 4);
    return h;
}

void TPageControl::LayoutTabs(std::vector<TRect>& Tabs, int& Rows)
{
    Tabs.clear();
    Rows = 0;
    const int n = TabCount();
    if (n == 0) return;
    const bool side = FTabPosition == tpLeft || FTabPosition == tpRight;
    const int th = TabStripHeight();
    const int room = (side ? ClientHeight() : ClientWidth()) - 4;
    // Along the row: start and length of each tab, and its row.
    std::vector<int> pos, len, row;
    int p = 2, r = 0;
    for (int i = 0; i < n; ++i) {
        TTabSheet* s = PageOfTab(i);
        int l = FItemWidth;
        if (l <= 0) {
            l = TextWidth(StripHotkey(s->Caption())) + 12;
            if (FImages && s->FImageIndex >= 0) l += (side ? FImages->Height() : FImages->Width()) + 4;
        }
        if (FMultiLine && p > 2 && p + l > 2 + room) {
            ++r;
            p = 2;
        }
        pos.push_back(p);
        len.push_back(l);
        row.push_back(r);
        p += l;
    }
    Rows = r + 1;
    int shift = 0;
    if (!FMultiLine && FFirstVisible > 0) shift = pos[static_cast<size_t>(std::min(FFirstVisible, n - 1))] - 2;
    // Rows counted from the pages outwards: the selected tab's row next to them, the others in
    // order from the outer edge.
    const int selRow = TabIndex() >= 0 ? row[static_cast<size_t>(TabIndex())] : -1;
    auto fromPages = [&](int rr) {
        if (Rows == 1) return 0;
        if (selRow < 0) return Rows - 1 - rr;
        if (rr == selRow) return 0;
        return Rows - 1 - (rr < selRow ? rr : rr - 1);
    };
    const int cw = ClientWidth(), ch = ClientHeight();
    for (int i = 0; i < n; ++i) {
        const int k = fromPages(row[static_cast<size_t>(i)]);
        const int a = pos[static_cast<size_t>(i)] - shift, b = a + len[static_cast<size_t>(i)];
        switch (FTabPosition) {
        case tpTop: Tabs.push_back(Rect(a, 2 + (Rows - 1 - k) * th, b, 2 + (Rows - k) * th)); break;
        case tpBottom: Tabs.push_back(Rect(a, ch - 2 - (k + 1) * th, b, ch - 2 - k * th)); break;
        case tpLeft: Tabs.push_back(Rect(2 + (Rows - 1 - k) * th, a, 2 + (Rows - k) * th, b)); break;
        case tpRight: Tabs.push_back(Rect(cw - 2 - (k + 1) * th, a, cw - 2 - k * th, b)); break;
        }
    }
}

TRect TPageControl::TabRect(int TabIndex)
{
    std::vector<TRect> tabs;
    int rows = 0;
    LayoutTabs(tabs, rows);
    if (TabIndex < 0 || TabIndex >= static_cast<int>(tabs.size())) return TRect{};
    return tabs[static_cast<size_t>(TabIndex)];
}

int TPageControl::IndexOfTabAt(int X, int Y)
{
    std::vector<TRect> tabs;
    int rows = 0;
    LayoutTabs(tabs, rows);
    for (size_t i = 0; i < tabs.size(); ++i)
        if (PtInRect(tabs[i], Point(X, Y))) return static_cast<int>(i);
    return -1;
}

TRect TPageControl::NativeDisplayRect()
{
    std::vector<TRect> tabs;
    int rows = 0;
    LayoutTabs(tabs, rows);
    const int strip = 2 + rows * TabStripHeight();
    const int w = ClientWidth(), h = ClientHeight();
    if (rows == 0) return Rect(4, 4, w - 4, h - 4);
    switch (FTabPosition) {
    case tpTop: return Rect(4, strip + 4, w - 4, h - 4);
    case tpBottom: return Rect(4, 4, w - 4, h - strip - 2);
    case tpLeft: return Rect(strip + 2, 4, w - 4, h - 4);
    case tpRight: return Rect(4, 4, w - strip - 2, h - 4);
    }
    return ClientRect();
}

TRect TPageControl::DisplayRect()
{
    const TRect c = ClientRect();
    RECT r{c.Left, c.Top, c.Right, c.Bottom};
    Perform(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

bool TPageControl::TabsOverflow()
{
    if (FMultiLine || FTabPosition == tpLeft || FTabPosition == tpRight || TabCount() == 0) return false;
    const int saved = FFirstVisible;
    FFirstVisible = 0;
    const TRect last = TabRect(TabCount() - 1);
    FFirstVisible = saved;
    return last.Right > ClientWidth() - 2;
}

void TPageControl::ScrollToActive()
{
    const int i = TabIndex();
    if (i < 0 || !TabsOverflow()) return;
    if (i < FFirstVisible) FFirstVisible = i;
    const int end = ClientWidth() - 2 * TabStripHeight();
    while (FFirstVisible < i && TabRect(i).Right > end) ++FFirstVisible;
}

void TPageControl::AdjustClientRect(TRect& R) { R = DisplayRect(); }

void TPageControl::AlignControls(TControl* AControl, TRect& R)
{
    // Pages added, removed or resized: the arrows follow whether the row still fits.
    if (HandleAllocated()) UpdateScrollArrows();
    TRect d = DisplayRect();
    for (TTabSheet* s : FPages) {
        s->FAligning = true;
        s->SetBounds(d.Left, d.Top, d.Width(), d.Height());
        s->FAligning = false;
    }
    TRect rest = R;
    TCustomControl::AlignControls(AControl, rest);
}

void TPageControl::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    std::vector<TRect> tabs;
    int rows = 0;
    LayoutTabs(tabs, rows);
    // The frame runs round the client area less the tab rows.
    const int strip = rows > 0 ? 2 + rows * TabStripHeight() : 0;
    TRect frame = r;
    switch (FTabPosition) {
    case tpTop: frame.Top += strip; break;
    case tpBottom: frame.Bottom -= strip; break;
    case tpLeft: frame.Left += strip; break;
    case tpRight: frame.Right -= strip; break;
    }
    Frame3D(c, frame, clBtnHighlight, cl3DDkShadow, 1);
    Frame3D(c, frame, cl3DLight, clBtnShadow, 1);
    int active = TabIndex();
    for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
        TTabSheet* s = PageOfTab(i);
        TRect t = tabs[static_cast<size_t>(i)];
        bool on = i == active;
        if (FOwnerDraw && OnDrawTab) {
            OnDrawTab(this, i, t, on);
            continue;
        }
        if (FStyle == tsTabs) {
            // The selected tab stands 2 pixels out over the frame's edge.
            TRect e = on ? Rect(t.Left - 2, t.Top - 2, t.Right + 2, t.Bottom + 2) : t;
            Frame3D(c, e, clBtnHighlight, clBtnShadow, 1);
            c->Brush()->SetColor(FColor);
            c->FillRect(e);
        } else {
            TRect e = t;
            DrawButtonEdge(c, e, on);
        }
        int x = t.Left + 6;
        if (FImages && s->FImageIndex >= 0 && s->FImageIndex < FImages->Count()) {
            FImages->Draw(c, x, t.Top + (t.Height() - FImages->Height()) / 2, s->FImageIndex, FEnabled);
            x += FImages->Width() + 4;
        }
        c->Font()->Assign(&FFont);
        if (!FEnabled) c->Font()->SetColor(clGrayText);
        DrawTextIn(c, s->Caption(), Rect(x, t.Top, t.Right - 4, t.Bottom), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (on && Focused()) c->DrawFocusRect(Rect(t.Left + 2, t.Top + 3, t.Right - 2, t.Bottom - 1));
    }
}

// ---- the scroll arrows ----

namespace {
const wchar_t kArrowsClass[] = L"msctls_updown32";

TPageControl* ArrowsOwner(HWND h) { return dynamic_cast<TPageControl*>(FindControl(GetParent(h))); }

LRESULT ArrowsProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(h, &ps);
        RECT cr;
        GetClientRect(h, &cr);
        TCanvas c;
        c.SetHandle(dc);
        const int half = cr.right / 2;
        for (int i = 0; i < 2; ++i) {
            TRect b = Rect(i ? half : 0, 0, i ? cr.right : half, cr.bottom);
            DrawButtonEdge(&c, b, false);
            // A small triangle pointing left or right.
            const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
            c.Brush()->SetColor(clBtnText);
            for (int k = 0; k < 4; ++k) {
                const int x = i ? cx - 2 + k : cx + 1 - k;
                c.FillRect(Rect(x, cy - 3 + k, x + 1, cy + 4 - k));
            }
        }
        c.SetHandle(nullptr);
        if (!wp) EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TPageControl* pc = ArrowsOwner(h);
        if (!pc) return 0;
        RECT cr;
        GetClientRect(h, &cr);
        const int step = GET_X_LPARAM(lp) < cr.right / 2 ? -1 : 1;
        const int pos = pc->FirstVisibleTab() + step;
        if (pos >= 0 && pos < pc->TabCount())
            SendMessageW(GetParent(h), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(h));
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
}  // namespace

void TPageControl::UpdateScrollArrows()
{
    if (FArrows && (!IsWindow(FArrows) || GetParent(FArrows) != Handle())) FArrows = nullptr;
    if (!TabsOverflow()) {
        FFirstVisible = 0;
        if (FArrows) DestroyWindow(FArrows);
        FArrows = nullptr;
        return;
    }
    const int th = TabStripHeight();
    const int top = TabRect(0).Top;
    if (!FArrows) {
        WNDCLASSW wc;
        if (!GetClassInfoW(nullptr, kArrowsClass, &wc)) {
            WNDCLASSW n;
            n.style = CS_DBLCLKS;
            n.lpfnWndProc = ArrowsProc;
            n.lpszClassName = kArrowsClass;
            RegisterClassW(&n);
        }
        FArrows = CreateWindowExW(0, kArrowsClass, L"", WS_CHILD | WS_VISIBLE, ClientWidth() - 2 * th, top, 2 * th, th,
                                  Handle(), nullptr, nullptr, nullptr);
    } else {
        SetWindowPos(FArrows, nullptr, ClientWidth() - 2 * th, top, 2 * th, th, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        int i = IndexOfTabAt(X, Y);
        if (i >= 0) {
            if (CanFocus() && !Focused()) SetFocus();
            UserSelect(PageOfTab(i));
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TPageControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    // The tab control messages a skinned page control sends to lay out and draw the tabs itself.
    case TCM_GETITEMRECT: {
        int i = static_cast<int>(m.WParam);
        if (i < 0 || i >= TabCount() || !m.LParam) {
            m.Result = FALSE;
            return;
        }
        TRect r = TabRect(i);
        *reinterpret_cast<RECT*>(m.LParam) = RECT{r.Left, r.Top, r.Right, r.Bottom};
        m.Result = TRUE;
        return;
    }
    case TCM_GETCURSEL: m.Result = TabIndex(); return;
    case TCM_SETCURSEL: {
        // No change events, as the tab control sends no notification for it.
        m.Result = TabIndex();
        int i = static_cast<int>(m.WParam);
        if (i >= 0 && i < TabCount()) SetTabIndex(i);
        return;
    }
    case TCM_ADJUSTRECT:
        // wParam FALSE: the display area of the given window rectangle; TRUE: the window
        // rectangle around the given display area (both in client coordinates here).
        if (m.LParam) {
            RECT& r = *reinterpret_cast<RECT*>(m.LParam);
            TRect client = ClientRect(), shown = NativeDisplayRect();
            int dl = shown.Left - client.Left, dt = shown.Top - client.Top;
            int dr = client.Right - shown.Right, db = client.Bottom - shown.Bottom;
            int s = m.WParam ? -1 : 1;
            r = RECT{r.left + s * dl, r.top + s * dt, r.right - s * dr, r.bottom - s * db};
        }
        return;
    case TCM_SETITEMSIZE:
        m.Result = MAKELPARAM(FItemWidth, FItemHeight);
        FItemWidth = FTabWidth = LOWORD(m.LParam);
        FItemHeight = FTabHeight = HIWORD(m.LParam);
        Realign();
        Invalidate();
        return;
    case WM_HSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBPOSITION && !FMultiLine) {
            FFirstVisible =
                std::clamp(static_cast<int>(static_cast<short>(HIWORD(m.WParam))), 0, std::max(0, TabCount() - 1));
            Invalidate();
            if (FArrows && IsWindow(FArrows)) InvalidateRect(FArrows, nullptr, FALSE);
        }
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(m);
        UpdateScrollArrows();
        Invalidate();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case CM_DIALOGKEY: {
        // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on them.
        TCustomForm* form = GetParentForm();
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && form && ContainsControl(form->ActiveControl())) {
            SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            m.Result = 1;
            return;
        }
        break;
    }
    case WM_KEYDOWN:
        if (DoKeyDown(m)) return;
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) {
            SelectNextPage(m.WParam == VK_RIGHT);
            return;
        }
        DefaultHandler(m);
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}
