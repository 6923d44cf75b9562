#include "platform/framework/controls/win_control.h"

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"

namespace {
const wchar_t kControlProp[] = L"VxFrameworkControl";
}  // namespace

// Reaches into TWinControl for the creation hook above.
struct TWinControlAccess {
    static LRESULT Bind(TWinControl* c, HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        c->FHandle = h;
        SetPropW(h, kControlProp, c);
        SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(c->FObjectInstance));
        return CallWindowProcW(c->FObjectInstance, h, msg, wp, lp);
    }
};

namespace {
thread_local TWinControl* gCreationControl = nullptr;

// Every framework window class starts here: the first message binds the new window to the
// control being created and hands it on to the control's own procedure.
LRESULT InitWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControl* c = gCreationControl;
    if (!c) return DefWindowProcW(h, msg, wp, lp);
    gCreationControl = nullptr;
    return TWinControlAccess::Bind(c, h, msg, wp, lp);
}

bool IsWindowed(const TControl* c) { return dynamic_cast<const TWinControl*>(c) != nullptr; }
}  // namespace

TWinControl* FindControl(HWND h)
{
    if (!h || !IsWindow(h)) return nullptr;
    return static_cast<TWinControl*>(GetPropW(h, kControlProp));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FObjectInstance = MakeObjectInstance([this](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        TMessage m{msg, wp, lp, 0};
        MainWndProc(m);
        return m.Result;
    });
    FColor = clBtnFace;
}

TWinControl::~TWinControl()
{
    if (FParent) RemoveFocus(true);
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    DestroyHandle();
    FreeObjectInstance(FObjectInstance);
    FObjectInstance = nullptr;
    if (FColorBrush) DeleteObject(FColorBrush);
}

// ---- handle ----

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (FHandle) return;
    CreateWnd();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p = TCreateParams{};
    p.Caption = FText;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) p.Style |= WS_CLIPCHILDREN;
    if (FVisible) p.Style |= WS_VISIBLE;
    if (!FEnabled) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcW;
    p.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, LPCWSTR ControlClassName)
{
    WNDCLASSW wc;
    if (!GetClassInfoW(nullptr, ControlClassName, &wc)) return;
    Params.WindowClass = wc;
    Params.WindowClass.lpszClassName = nullptr;
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if (!p.WndParent) p.WndParent = FParent ? FParent->FHandle : FParentWindow;
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    FDefWndProc = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcW;
    WNDCLASSW existing;
    if (!GetClassInfoW(nullptr, p.WinClassName.c_str(), &existing)) {
        WNDCLASSW wc = p.WindowClass;
        wc.lpfnWndProc = InitWndProc;
        wc.lpszClassName = p.WinClassName.c_str();
        if (!RegisterClassW(&wc)) throw EOSError(L"Cannot register window class " + p.WinClassName);
    }
    gCreationControl = this;
    try {
        CreateWindowHandle(p);
    } catch (...) {
        gCreationControl = nullptr;
        throw;
    }
    gCreationControl = nullptr;
    if (!FHandle) throw EOSError(L"Error creating window of " + p.WinClassName);
    if (FText != p.Caption) SetWindowTextW(FHandle, FText.c_str());
    UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p)
{
    HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, nullptr, nullptr, nullptr);
    if (h && !FHandle) {
        // A class registered elsewhere: bind afterwards.
        FHandle = h;
        SetPropW(h, kControlProp, this);
        FDefWndProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance)));
    }
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    HWND h = FHandle;
    if (h) DestroyWindow(h);
    if (FHandle == h && h) {
        RemovePropW(h, kControlProp);
        FHandle = nullptr;
    }
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    FRecreating = true;
    bool hadFocus = Focused();
    DestroyHandle();
    FRecreating = false;
    HandleNeeded();
    if (hadFocus && FHandle) ::SetFocus(FHandle);
}

void TWinControl::SetParentWindow(HWND h)
{
    if (FParent || h == FParentWindow) return;
    FParentWindow = h;
    if (FHandle) {
        if (h)
            ::SetParent(FHandle, h);
        else
            DestroyHandle();
    }
}

void TWinControl::MainWndProc(TMessage& m)
{
    try {
        if (FWindowProc)
            FWindowProc(m);
        else
            WndProc(m);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
    if (m.Msg == WM_NCDESTROY && FHandle) {
        RemovePropW(FHandle, kControlProp);
        FHandle = nullptr;
    }
}

// ---- children ----

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    if (IsWindowed(AControl)) {
        FControls.push_back(AControl);
        FTabList.push_back(static_cast<TWinControl*>(AControl));
    } else {
        // Windowless children stack below every windowed one.
        auto it = std::find_if(FControls.begin(), FControls.end(), IsWindowed);
        FControls.insert(it, AControl);
    }
    if (AControl->FParentColor) AControl->ParentColorChanged();
    if (AControl->FParentFont) AControl->ParentFontChanged();
    if (AControl->FParentBiDiMode) AControl->ParentBiDiModeChanged();
    if (AControl->FParentShowHint) AControl->FShowHint = FShowHint;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (FHandle) {
            if (w->FHandle) {
                ::SetParent(w->FHandle, FHandle);
                w->BoundsChanged();
            } else {
                w->CreateHandle();
            }
        }
    } else {
        AControl->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
    Realign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end()) return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        w->RemoveFocus(true);
        if (!FRecreating && w->FHandle) w->DestroyHandle();
    } else {
        AControl->Invalidate();
    }
    // By pointer, not by type: a windowed child that leaves from its base destructor no longer
    // casts to TWinControl, and a stale entry would crash the next walk of the tab order.
    FTabList.erase(std::remove_if(FTabList.begin(), FTabList.end(),
                                  [AControl](TWinControl* c) { return static_cast<TControl*>(c) == AControl; }),
                   FTabList.end());
    if (GetCaptureControl() == AControl) SetCaptureControl(nullptr);
    if (GetMouseControl() == AControl) SetMouseControl(nullptr);
    it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it != FControls.end()) FControls.erase(it);
    AControl->FParent = nullptr;
    if (!(ComponentState() & csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const
{
    while (Control && Control != this) Control = Control->FParent;
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls)
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!AllowWinControls && IsWindowed(c)) continue;
        if (!c->FVisible || (!c->FEnabled && !AllowDisabled)) continue;
        if (!PtInRect(c->BoundsRect(), Pos)) continue;
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.X - c->FLeft, Pos.Y - c->FTop)) == 0) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
        c->FWindowProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(Msg, 0, 0);
}

void TWinControl::ScrollBy(int dx, int dy)
{
    DisableAlign();
    for (TControl* c : FControls) {
        c->FAligning = true;
        c->SetBounds(c->FLeft + dx, c->FTop + dy, c->FWidth, c->FHeight);
        c->FAligning = false;
    }
    EnableAlign();
    Invalidate();
}

// ---- bounds ----

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged()
{
    if (FHandle) {
        SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ClientResized();
    }
}

void TWinControl::UpdateBounds()
{
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    HWND parent = GetParent(FHandle);
    if ((GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) && parent) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    int l = r.left, t = r.top, w = r.right - r.left, h = r.bottom - r.top;
    if (l != FLeft || t != FTop || w != FWidth || h != FHeight) {
        FLeft = l;
        FTop = t;
        FWidth = w;
        FHeight = h;
        if (FParent && !FAligning) FParent->Realign();
    }
}

void TWinControl::ClientResized()
{
    TRect c = GetClientRect();
    if (c.Width() == FLastClientSize.X && c.Height() == FLastClientSize.Y) return;
    FLastClientSize = Point(c.Width(), c.Height());
    Realign();
    Resize();
}

TRect TWinControl::GetClientRect()
{
    if (FHandle) {
        RECT r;
        ::GetClientRect(FHandle, &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    // No window yet: the frame its styles will give it.
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    int w = std::max(0, FWidth - (r.right - r.left)), h = std::max(0, FHeight - (r.bottom - r.top));
    return Rect(0, 0, w, h);
}

TPoint TWinControl::GetClientOrigin() const
{
    if (FHandle) {
        POINT p{0, 0};
        ::ClientToScreen(FHandle, &p);
        return Point(p.x, p.y);
    }
    return TControl::GetClientOrigin();
}

// ---- alignment ----

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || (ComponentState() & (csLoading | csDestroying))) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    FControlState.Exclude(csAlignmentNeeded);
    TRect r = GetClientRect();
    DisableAlign();
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    --FAlignLevel;
    FControlState.Exclude(csAlignmentNeeded);
    if (FAutoSize) AdjustSize();
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& r)
{
    AdjustClientRect(r);
    DoAlign(alTop, r);
    DoAlign(alBottom, r);
    DoAlign(alLeft, r);
    DoAlign(alRight, r);
    DoAlign(alClient, r);
    ApplyAnchors();
}

void TWinControl::DoAlign(TAlign a, TRect& r)
{
    std::vector<TControl*> list;
    for (TControl* c : FControls)
        if (c->FAlign == a && c->FVisible) list.push_back(c);
    if (list.empty()) return;
    // Same-side controls keep their current order along that side.
    std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
        switch (a) {
        case alTop: return x->FTop < y->FTop;
        case alBottom: return x->FTop + x->FHeight > y->FTop + y->FHeight;
        case alLeft: return x->FLeft < y->FLeft;
        case alRight: return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
        default: return false;
        }
    });
    for (TControl* c : list) {
        int l = r.Left, t = r.Top, w = r.Width(), h = r.Height();
        switch (a) {
        case alTop: h = c->FHeight; break;
        case alBottom:
            h = c->FHeight;
            t = r.Bottom - h;
            break;
        case alLeft: w = c->FWidth; break;
        case alRight:
            w = c->FWidth;
            l = r.Right - w;
            break;
        default: break;
        }
        c->FAligning = true;
        try {
            c->SetBounds(l, t, std::max(0, w), std::max(0, h));
        } catch (...) {
            c->FAligning = false;
            throw;
        }
        c->FAligning = false;
        // The control may have kept another size (constraints): take what it has.
        switch (a) {
        case alTop: r.Top += c->FHeight; break;
        case alBottom: r.Bottom -= c->FHeight; break;
        case alLeft: r.Left += c->FWidth; break;
        case alRight: r.Right -= c->FWidth; break;
        default: break;
        }
    }
}

void TWinControl::ApplyAnchors()
{
    TRect client = GetClientRect();
    for (TControl* c : FControls) {
        if (c->FAlign != alNone || c->FAnchorParentSize.X < 0) continue;
        if (c->ComponentState() & csLoading) continue;
        if (c->FAnchors == TAnchors{akLeft, akTop}) continue;
        int dw = client.Width() - c->FAnchorParentSize.X, dh = client.Height() - c->FAnchorParentSize.Y;
        TRect b = c->FAnchorBounds;
        int l = b.Left, t = b.Top, w = b.Width(), h = b.Height();
        if (c->FAnchors.Contains(akRight)) {
            if (c->FAnchors.Contains(akLeft))
                w += dw;
            else
                l += dw;
        } else if (!c->FAnchors.Contains(akLeft)) {
            l += dw / 2;
        }
        if (c->FAnchors.Contains(akBottom)) {
            if (c->FAnchors.Contains(akTop))
                h += dh;
            else
                t += dh;
        } else if (!c->FAnchors.Contains(akTop)) {
            t += dh / 2;
        }
        c->FAligning = true;
        try {
            c->SetBounds(l, t, std::max(0, w), std::max(0, h));
        } catch (...) {
            c->FAligning = false;
            throw;
        }
        c->FAligning = false;
    }
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (FControls.empty()) return true;
    int right = 0, bottom = 0;
    for (TControl* c : FControls) {
        if (!c->FVisible) continue;
        right = std::max(right, c->FLeft + c->FWidth);
        bottom = std::max(bottom, c->FTop + c->FHeight);
    }
    TRect cr = GetClientRect();
    NewWidth = right + (FWidth - cr.Width());
    NewHeight = bottom + (FHeight - cr.Height());
    return true;
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

// ---- visibility, enabling ----

void TWinControl::VisibleChanging() {}

void TWinControl::UpdateShowing()
{
    if (FVisible) {
        if (FParent && FParent->FHandle) HandleNeeded();
        if (FHandle) ShowWindow(FHandle, SW_SHOWNA);
    } else if (FHandle) {
        if (FParent) RemoveFocus(false);
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TWinControl::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    if (FHandle) EnableWindow(FHandle, v);
    Perform(CM_ENABLEDCHANGED);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    if (!AParent && FHandle && !FParentWindow && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD)) {
        TControl::SetParent(nullptr);
        DestroyHandle();
        return;
    }
    TControl::SetParent(AParent);
}

void TWinControl::ParentColorChanged() { TControl::ParentColorChanged(); }

// ---- painting ----

void TWinControl::Invalidate()
{
    if (FHandle) ::InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC DC)
{
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& m)
{
    PAINTSTRUCT ps;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    bool own = dc == nullptr;
    if (own) dc = BeginPaint(FHandle, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    // Opaque windowless children cover their area: the window does not paint under them.
    for (TControl* c : FControls)
        if (!IsWindowed(c) && c->FVisible && c->FControlStyle.Contains(csOpaque))
            ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
    if (own) EndPaint(FHandle, &ps);
    m.Result = 0;
}

HBRUSH TWinControl::ControlColor(HDC DC, UINT Query)
{
    LRESULT r = Perform(Query, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(FHandle));
    return reinterpret_cast<HBRUSH>(r);
}

HBRUSH TWinControl::ColorBrush(TColor Color)
{
    COLORREF c = ColorToRGB(Color);
    if (FColorBrush && FColorBrushColor == c) return FColorBrush;
    if (FColorBrush) DeleteObject(FColorBrush);
    FColorBrush = CreateSolidBrush(c);
    FColorBrushColor = c;
    return FColorBrush;
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    size_t start = 0;
    if (First) {
        auto it = std::find(FControls.begin(), FControls.end(), First);
        if (it != FControls.end()) start = static_cast<size_t>(it - FControls.begin());
    }
    for (size_t i = start; i < FControls.size(); ++i) {
        TControl* c = FControls[i];
        if (IsWindowed(c) || !c->FVisible || c->FWidth <= 0 || c->FHeight <= 0) continue;
        RECT r{c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight};
        RECT clip, both;
        if (GetClipBox(DC, &clip) == NULLREGION || !IntersectRect(&both, &clip, &r)) continue;
        int saved = SaveDC(DC);
        OffsetViewportOrgEx(DC, c->FLeft, c->FTop, nullptr);
        IntersectClipRect(DC, 0, 0, c->FWidth, c->FHeight);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        RestoreDC(DC, saved);
    }
}

// ---- focus and tab order ----

bool TWinControl::CanFocus()
{
    TCustomForm* form = GetParentForm();
    if (!form) return false;
    TControl* c = this;
    while (c != form) {
        if (!c->FVisible || !c->FEnabled) return false;
        c = c->FParent;
    }
    return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm()) {
        form->FocusControl(this);
    } else if (FParentWindow) {
        ::SetFocus(Handle());
    } else {
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent form");
    }
}

void TWinControl::RemoveFocus(bool Removing)
{
    if (TCustomForm* form = GetParentForm()) form->DefocusControl(this, Removing);
}

int TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    auto& l = FParent->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int v)
{
    if (!FParent) return;
    auto& l = FParent->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    if (it == l.end()) return;
    l.erase(it);
    if (v < 0) v = 0;
    if (v > static_cast<int>(l.size())) v = static_cast<int>(l.size());
    l.insert(l.begin() + v, this);
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::SetTabStop(bool v)
{
    if (v == FTabStop) return;
    FTabStop = v;
    if (FHandle) {
        LONG s = GetWindowLongW(FHandle, GWL_STYLE);
        SetWindowLongW(FHandle, GWL_STYLE, v ? (s | WS_TABSTOP) : (s & ~static_cast<LONG>(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List)
{
    for (TWinControl* c : FTabList) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* Cur, bool GoForward, bool CheckTabStop, bool CheckParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<size_t>(i)] == Cur) start = i;
    if (start < 0) start = GoForward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == Cur) break;
        if ((!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* Cur, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* c = FindNextControl(Cur, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

void TWinControl::DoEnter()
{
    if (OnEnter && !(ComponentState() & csDestroying)) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit && !(ComponentState() & csDestroying)) OnExit(this);
}

// ---- keyboard ----

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
    wchar_t ch = static_cast<wchar_t>(m.WParam);
    KeyPress(ch);
    m.WParam = static_cast<WPARAM>(ch);
    return ch == 0;
}

bool TWinControl::WantsKey(WORD) { return false; }

// ---- message routing ----

void TWinControl::TrackMouse(TMessage& m)
{
    TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    TControl* under = ControlAtPos(p, true);
    if (!under) under = this;
    TControl* cap = GetCaptureControl();
    if (cap && (cap == this || (cap->FParent == this && !IsWindowed(cap)))) {
        // The control holding the capture hears the pointer leave and come back; no other
        // control hears anything until the release.
        TRect area = cap == this ? ClientRect() : cap->BoundsRect();
        bool inside = p.X >= area.Left && p.X < area.Right && p.Y >= area.Top && p.Y < area.Bottom;
        SetMouseControl(inside ? cap : nullptr);
    } else if (!cap || cap == under) {
        SetMouseControl(under);
    }
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = FHandle;
    TrackMouseEvent(&tme);
}

void TWinControl::IsControlMouseMsg(TMessage& m, bool& handled)
{
    handled = false;
    TControl* target = nullptr;
    TControl* cap = GetCaptureControl();
    if (cap) {
        if (cap->FParent == this && !IsWindowed(cap)) target = cap;
    } else {
        TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        target = ControlAtPos(p, false);
    }
    if (!target) return;
    LPARAM lp = MAKELPARAM(GET_X_LPARAM(m.LParam) - target->FLeft, GET_Y_LPARAM(m.LParam) - target->FTop);
    m.Result = target->Perform(m.Msg, m.WParam, lp);
    handled = true;
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        if (TCustomForm* f = GetParentForm()) f->SendCancelMode(this);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // The menu key and Shift+F10 ask for the context menu, placed by the control.
        if (FHandle && (m.WParam == VK_APPS || (m.WParam == VK_F10 && GetKeyState(VK_SHIFT) < 0 &&
                                                GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0))) {
            Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), MAKELPARAM(-1, -1));
            m.Result = 0;
            return;
        }
        break;
    default: break;
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK && FHandle) {
        if (m.Msg == WM_MOUSEMOVE) TrackMouse(m);
        bool handled = false;
        IsControlMouseMsg(m, handled);
        if (handled) return;
    }
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: {
        bool hasGraphic = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return !IsWindowed(c); });
        if (hasGraphic || FControlState.Contains(csCustomPaint))
            PaintHandler(m);
        else
            DefaultHandler(m);
        return;
    }
    case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(FHandle, &r);
        HBRUSH b = CreateSolidBrush(ColorToCOLORREF(FColor));
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
        DeleteObject(b);
        m.Result = 1;
        return;
    }
    case WM_SETTEXT:
        FText = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        if (FHandle)
            DefaultHandler(m);
        else
            m.Result = TRUE;
        return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: TControl::DefaultHandler(m); return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC: {
        // The plain answer: the font's colour on the control's colour.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(FFont.Color()));
        SetBkColor(dc, ColorToRGB(FColor));
        m.Result = reinterpret_cast<LRESULT>(ColorBrush(FColor));
        return;
    }
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        UpdateBounds();
        return;
    case WM_SIZE:
        DefaultHandler(m);
        UpdateBounds();
        ClientResized();
        return;
    case WM_MOVE:
        DefaultHandler(m);
        UpdateBounds();
        return;
    case WM_SETFOCUS: {
        TCustomForm* form = GetParentForm();
        if (form && form != this && !form->SetFocusedControl(this)) return;
        DefaultHandler(m);
        return;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(m.WParam) == FHandle && LOWORD(m.LParam) == HTCLIENT && Screen) {
            // The screen's cursor overrides all; otherwise the control under the pointer decides.
            TCursor cur = Screen->Cursor();
            if (cur == crDefault) {
                POINT pt;
                GetCursorPos(&pt);
                ::ScreenToClient(FHandle, &pt);
                TControl* c = ControlAtPos(Point(pt.x, pt.y), true);
                cur = c && c->Cursor() != crDefault ? c->Cursor() : FCursor;
            }
            if (cur != crDefault) {
                ::SetCursor(Screen->CursorHandle(cur));
                m.Result = 1;
                return;
            }
        }
        DefaultHandler(m);
        return;
    case WM_MOUSELEAVE: {
        TControl* mc = GetMouseControl();
        if (mc && (mc == this || (mc->FParent == this && !IsWindowed(mc)))) {
            // Leaving into one of our own windowed children is announced by the child's move.
            POINT pt;
            GetCursorPos(&pt);
            HWND under = WindowFromPoint(pt);
            if (!(under && under != FHandle && IsChild(FHandle, under))) SetMouseControl(nullptr);
        }
        DefaultHandler(m);
        return;
    }
    case WM_CAPTURECHANGED: {
        TControl* cap = GetCaptureControl();
        if (cap && (cap == this || cap->FParent == this) && reinterpret_cast<HWND>(m.LParam) != FHandle)
            SetCaptureControl(nullptr);
        DefaultHandler(m);
        return;
    }
    case WM_MOUSEWHEEL: {
        bool handled = false;
        if (OnMouseWheel) {
            TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            OnMouseWheel(this, KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), p, handled);
        }
        if (handled)
            m.Result = 1;
        else
            DefaultHandler(m);
        return;
    }
    case CN_KEYDOWN: {
        m.Result = 1;
        WORD key = static_cast<WORD>(m.WParam);
        TCustomForm* form = GetParentForm();
        UINT mask = 0;
        switch (key) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
        default: break;
        }
        if (mask && form && Perform(CM_WANTSPECIALKEY, key, m.LParam) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0 &&
            !WantsKey(key) && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
            return;
        m.Result = 0;
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(m)) DefaultHandler(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(m)) DefaultHandler(m);
        return;
    case WM_CHAR:
        if (!DoKeyPress(m)) DefaultHandler(m);
        return;
    case WM_SYSCHAR: {
        TCustomForm* form = GetParentForm();
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
            m.Result = 0;
            return;
        }
        DefaultHandler(m);
        return;
    }
    case WM_COMMAND: {
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam)); c && c != this) {
            m.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
            return;
        }
        DefaultHandler(m);
        return;
    }
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: Broadcast(m); return;
    case CM_FOCUSCHANGED: {
        // Every control of the form hears of the change.
        for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(m.Msg, m.WParam, m.LParam);
        return;
    }
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_VISIBLECHANGED: UpdateShowing(); return;
    case CM_ENABLEDCHANGED: Invalidate(); return;
    case CM_COLORCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    case CM_FONTCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_BIDIMODECHANGED:
        Invalidate();
        NotifyControls(CM_PARENTBIDIMODECHANGED);
        return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case CM_SHOWHINTCHANGED:
        for (TControl* c : FControls)
            if (c->FParentShowHint) {
                c->FShowHint = FShowHint;
                c->Perform(CM_SHOWHINTCHANGED);
            }
        return;
    case CM_INVALIDATE: Invalidate(); return;
    case CM_RECREATEWND: RecreateWnd(); return;
    default: TControl::Dispatch(m);
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (FHandle) {
        m.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, m.Msg, m.WParam, m.LParam);
        return;
    }
    TControl::DefaultHandler(m);
}
