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
    Realign();
    Invalidate();
}

void TPageControl::SetTabWidth(int v) { SetAndInvalidate(FTabWidth, std::max(0, v)); }

void TPageControl::SetTabPosition(TTabPosition v)
{
    v = v == tpBottom ? tpBottom : tpTop;  // side tabs are laid out as top tabs
    if (v == FTabPosition) return;
    FTabPosition = v;
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
    if (FTabHeight > 0) return FTabHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    int h = tm.tmHeight + 6;
    if (FImages) h = std::max(h, FImages->Height() + 4);
    return h;
}

TRect TPageControl::TabRect(int TabIndex)
{
    int h = TabStripHeight();
    int top = FTabPosition == tpBottom ? ClientHeight() - h : 0;
    int x = 2;
    for (int i = 0; TTabSheet* s = PageOfTab(i); ++i) {
        int w = FTabWidth > 0 ? FTabWidth
                              : TextWidth(StripHotkey(s->Caption())) + 12 + (FImages ? FImages->Width() + 4 : 0);
        if (i == TabIndex) return Rect(x, top, x + w, top + h);
        x += w;
    }
    return TRect{};
}

int TPageControl::IndexOfTabAt(int X, int Y)
{
    for (int i = 0; i < TabCount(); ++i)
        if (PtInRect(TabRect(i), Point(X, Y))) return i;
    return -1;
}

TRect TPageControl::DisplayRect()
{
    TRect r = ClientRect();
    int h = TabCount() > 0 ? TabStripHeight() : 0;
    if (FTabPosition == tpBottom)
        r.Bottom -= h;
    else
        r.Top += h;
    return Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
}

void TPageControl::AlignControls(TControl* AControl, TRect& R)
{
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
    TRect d = DisplayRect();
    TRect frame = Rect(d.Left - 2, d.Top - 2, d.Right + 2, d.Bottom + 2);
    Frame3D(c, frame, clBtnHighlight, cl3DDkShadow, 1);
    Frame3D(c, frame, cl3DLight, clBtnShadow, 1);
    int active = TabIndex();
    for (int i = 0; i < TabCount(); ++i) {
        TTabSheet* s = PageOfTab(i);
        TRect t = TabRect(i);
        bool on = i == active;
        if (FOwnerDraw && OnDrawTab) {
            OnDrawTab(this, i, t, on);
            continue;
        }
        TRect tr = on ? Rect(t.Left - 2, t.Top, t.Right + 2, t.Bottom + 2) : Rect(t.Left, t.Top + 2, t.Right, t.Bottom);
        if (FStyle == tsTabs) {
            TRect e = tr;
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
            TRect client = ClientRect(), shown = DisplayRect();
            int dl = shown.Left - client.Left, dt = shown.Top - client.Top;
            int dr = client.Right - shown.Right, db = client.Bottom - shown.Bottom;
            int s = m.WParam ? -1 : 1;
            r = RECT{r.left + s * dl, r.top + s * dt, r.right - s * dr, r.bottom - s * db};
        }
        return;
    case TCM_SETITEMSIZE:
        m.Result = MAKELPARAM(FTabWidth, FTabHeight);
        SetTabWidth(LOWORD(m.LParam));
        SetTabHeight(HIWORD(m.LParam));
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(m);
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
