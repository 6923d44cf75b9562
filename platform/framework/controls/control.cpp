#include "platform/framework/controls/control.h"

#include <algorithm>

#include "platform/framework/controls/win_control.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/action.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/menus.h"

namespace {
TControl* gCaptureControl = nullptr;
TControl* gMouseControl = nullptr;

bool IsMouseButtonMsg(UINT msg) { return msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }
}  // namespace

// ---- helpers of control_types.h ----

TShiftState KeyboardStateToShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
    return s;
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if ((keyData & 0x20000000) || GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

COLORREF ColorToCOLORREF(TColor color)
{
    if ((static_cast<uint32_t>(color) & 0xFF000000u) == static_cast<uint32_t>(clSystemColor))
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

// ---- capture and mouse-over ----

TControl* GetCaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* c)
{
    gCaptureControl = nullptr;
    if (!c) {
        ReleaseCapture();
        return;
    }
    TWinControl* w = dynamic_cast<TWinControl*>(c);
    if (!w) w = c->Parent();
    if (!w) return;
    SetCapture(w->Handle());
    gCaptureControl = c;
}

TControl* GetMouseControl() { return gMouseControl; }

void SetMouseControl(TControl* c)
{
    if (c == gMouseControl) return;
    TControl* old = gMouseControl;
    gMouseControl = c;
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (c && gMouseControl == c) c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
}

// ---- TSizeConstraints ----

void TSizeConstraints::SetMaxHeight(int v)
{
    if (v == FMaxHeight) return;
    FMaxHeight = v;
    if (v > 0 && v < FMinHeight) FMinHeight = v;
    Change();
}

void TSizeConstraints::SetMaxWidth(int v)
{
    if (v == FMaxWidth) return;
    FMaxWidth = v;
    if (v > 0 && v < FMinWidth) FMinWidth = v;
    Change();
}

void TSizeConstraints::SetMinHeight(int v)
{
    if (v == FMinHeight) return;
    FMinHeight = v;
    if (FMaxHeight > 0 && v > FMaxHeight) FMaxHeight = v;
    Change();
}

void TSizeConstraints::SetMinWidth(int v)
{
    if (v == FMinWidth) return;
    FMinWidth = v;
    if (FMaxWidth > 0 && v > FMaxWidth) FMaxWidth = v;
    Change();
}

void TSizeConstraints::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
        FMaxHeight = s->FMaxHeight;
        FMaxWidth = s->FMaxWidth;
        FMinHeight = s->FMinHeight;
        FMinWidth = s->FMinWidth;
        Change();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Change()
{
    if (FControl) FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
    if (OnChange) OnChange(this);
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FConstraints(this)
{
    FWindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this](TObject*) { FontChanged(); };
}

void TControl::FontChanged()
{
    if (!FFontFromParent) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool v)
{
    if (v == FParentFont) return;
    FParentFont = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent) return;
    FFontFromParent = true;
    FFont.Assign(FParent->Font());
    FFontFromParent = false;
}

void TControl::SetBiDiMode(TBiDiMode v)
{
    if (v == FBiDiMode) return;
    FBiDiMode = v;
    FParentBiDiMode = false;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool v)
{
    if (v == FParentBiDiMode) return;
    FParentBiDiMode = v;
    if (v) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged()
{
    if (!FParentBiDiMode || !FParent) return;
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const
{
    UINT r = Flags;
    if (UseRightToLeftAlignment()) {
        // DT_LEFT is 0: a left-aligned text is one with neither DT_CENTER nor DT_RIGHT.
        const UINT h = Flags & (DT_LEFT | DT_CENTER | DT_RIGHT);
        if (h == DT_LEFT)
            r |= DT_RIGHT;
        else if (h == DT_RIGHT)
            r &= ~DT_RIGHT;
    }
    return r | DrawTextBiDiModeFlagsReadingOnly();
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0u; }

TControl::~TControl()
{
    if (FAction) FAction->UnRegisterClient(this);
    if (gCaptureControl == this) {
        gCaptureControl = nullptr;
        ReleaseCapture();
    }
    if (gMouseControl == this) gMouseControl = nullptr;
    if (Application) Application->ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        UpdateAnchorRules();
    }
}

TCustomForm* TControl::GetParentForm() const
{
    const TControl* c = this;
    while (c->FParent) c = c->FParent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight)
{
    int w = NewWidth, h = NewHeight;
    if (!CanResize(w, h)) return false;
    DoConstrainedResize(w, h);
    NewWidth = w;
    NewHeight = h;
    return true;
}

bool TControl::CanResize(int&, int&) { return true; }

void TControl::ConstrainedResize(int&, int&, int&, int&) {}

void TControl::DoConstrainedResize(int& NewWidth, int& NewHeight)
{
    int minW = FConstraints.MinWidth(), minH = FConstraints.MinHeight();
    int maxW = FConstraints.MaxWidth(), maxH = FConstraints.MaxHeight();
    ConstrainedResize(minW, minH, maxW, maxH);
    if (maxW > 0 && NewWidth > maxW) NewWidth = maxW;
    if (minW > 0 && NewWidth < minW) NewWidth = minW;
    if (maxH > 0 && NewHeight > maxH) NewHeight = maxH;
    if (minH > 0 && NewHeight < minH) NewHeight = minH;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!CheckNewSize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
    }
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    bool sized = AWidth != FWidth || AHeight != FHeight;
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged();
    Invalidate();
    if (!FAligning) UpdateAnchorRules();
    if (!FAligning) RequestAlign();
    if (sized && !dynamic_cast<TWinControl*>(this)) Resize();
}

void TControl::Resize()
{
    if (OnResize && !(ComponentState() & csDestroying)) OnResize(this);
}

TRect TControl::GetClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
void TControl::SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }

void TControl::SetClientSize(int w, int h)
{
    TRect c = GetClientRect();
    SetBounds(FLeft, FTop, FWidth - c.Width() + w, FHeight - c.Height() + h);
}

TPoint TControl::GetClientOrigin() const
{
    if (!FParent) return Point(FLeft, FTop);
    TPoint p = FParent->GetClientOrigin();
    return Point(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& p) const
{
    TPoint o = GetClientOrigin();
    return Point(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(const TPoint& p) const
{
    TPoint o = GetClientOrigin();
    return Point(p.X - o.X, p.Y - o.Y);
}

TPoint TControl::ClientToParent(const TPoint& p, TWinControl* AParent) const
{
    if (!AParent) AParent = FParent;
    TPoint r = p;
    const TControl* c = this;
    while (c && c != AParent) {
        r.X += c->FLeft;
        r.Y += c->FTop;
        c = c->FParent;
    }
    if (c != AParent) throw EInvalidOperation(L"Control is not a child of the given parent");
    return r;
}

void TControl::SetAlign(TAlign v)
{
    if (v == FAlign) return;
    TAlign old = FAlign;
    FAlign = v;
    static const TAnchors kAnchorAlign[] = {
        {akLeft, akTop},                     // alNone
        {akLeft, akTop, akRight},            // alTop
        {akLeft, akRight, akBottom},         // alBottom
        {akLeft, akTop, akBottom},           // alLeft
        {akRight, akTop, akBottom},          // alRight
        {akLeft, akTop, akRight, akBottom},  // alClient
        {akLeft, akTop},                     // alCustom
    };
    FAnchors = kAnchorAlign[v];
    if (old != alNone || v != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors v)
{
    if (v == FAnchors) return;
    FAnchors = v;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!FParent) return;
    // While a layout loads the parent's size is not final: the rules are taken in Loaded.
    if (ComponentState() & csLoading) {
        FAnchorParentSize = Point(-1, -1);
        return;
    }
    TRect c = FParent->GetClientRect();
    FAnchorBounds = BoundsRect();
    FAnchorParentSize = Point(c.Width(), c.Height());
}

void TControl::SetAutoSize(bool v)
{
    if (v == FAutoSize) return;
    FAutoSize = v;
    if (v) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return true; }

void TControl::AdjustSize()
{
    if (!FAutoSize || (ComponentState() & (csLoading | csDestroying))) return;
    int w = FWidth, h = FHeight;
    if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::RequestAlign()
{
    if (FParent) FParent->Realign();
}

void TControl::SetZOrder(bool TopMost)
{
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    // Windowed children always stack above windowless ones: the windowless siblings are drawn on
    // the parent's surface, under every child window.
    bool windowed = dynamic_cast<TWinControl*>(this) != nullptr;
    auto firstWindowed =
        std::find_if(list.begin(), list.end(), [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
    if (TopMost)
        list.insert(windowed ? list.end() : firstWindowed, this);
    else
        list.insert(windowed ? firstWindowed : list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (w->HandleAllocated())
            SetWindowPos(w->FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        Invalidate();
    }
    FParent->Realign();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetVisible(bool v)
{
    if (v == FVisible) return;
    VisibleChanging();
    if (!v) Invalidate();
    FVisible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (v) Invalidate();
    RequestAlign();
}

bool TControl::IsShowing() const
{
    const TControl* c = this;
    while (c) {
        if (!c->FVisible) return false;
        c = c->FParent;
    }
    return true;
}

void TControl::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    Perform(CM_ENABLEDCHANGED);
}

String TControl::GetText() const { return FText; }

void TControl::SetText(const String& v)
{
    if (v == GetText()) return;
    TMessage m{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.c_str()), 0};
    FWindowProc(m);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v)
{
    if (v == FShowHint && !FParentShowHint) return;
    FShowHint = v;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v)
{
    if (v == FParentShowHint) return;
    FParentShowHint = v;
    if (v && FParent) FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* v)
{
    if (v == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = v;
    if (v) v->FreeNotification(this);
}

void TControl::SetCursor(TCursor v)
{
    if (v == FCursor) return;
    FCursor = v;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    if (v == FParentColor) return;
    FParentColor = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        FParentColor = true;
        Perform(CM_COLORCHANGED);
    }
}

void TControl::Loaded()
{
    TComponent::Loaded();
    UpdateAnchorRules();
    if (FParentColor) ParentColorChanged();
    if (FParentFont) ParentFontChanged();
    if (FParentBiDiMode) ParentBiDiModeChanged();
    AdjustSize();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
    if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
}

// ---- messages ----

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    if (FWindowProc)
        FWindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::SetWindowProc(TWndMethod proc)
{
    if (!proc) proc = [this](TMessage& m) { WndProc(m); };
    FWindowProc = std::move(proc);
}

void TControl::SetMouseCapture(bool capture)
{
    if (capture)
        SetCaptureControl(this);
    else if (gCaptureControl == this)
        SetCaptureControl(nullptr);
}

bool TControl::MouseCapture() const { return gCaptureControl == this; }

void TControl::WndProc(TMessage& m)
{
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
        if (Application) Application->HintMouseMessage(this, m);
        if (IsMouseButtonMsg(m.Msg)) {
            switch (m.Msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDOWN:
            case WM_MBUTTONDBLCLK:
                // A press first tells the form's focused control, which closes what it has open.
                if (TCustomForm* f = GetParentForm()) f->SendCancelMode(this);
                break;
            default: break;
            }
            switch (m.Msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                if (!FControlStyle.Contains(csDoubleClicks) && m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
                if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
                if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
                FControlState.Include(csLButtonDown);
                break;
            case WM_LBUTTONUP:
                FControlState.Exclude(csLButtonDown);
                if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
                break;
            case WM_RBUTTONDBLCLK:
                if (!FControlStyle.Contains(csDoubleClicks)) m.Msg = WM_RBUTTONDOWN;
                break;
            case WM_MBUTTONDBLCLK:
                if (!FControlStyle.Contains(csDoubleClicks)) m.Msg = WM_MBUTTONDOWN;
                break;
            default: break;
            }
        }
    }
    Dispatch(m);
}

void TControl::HandleMouseDown(TMessage& m, TMouseButton button, bool dbl)
{
    TShiftState s = KeysToShiftState(m.WParam);
    if (dbl) s.Include(ssDouble);
    MouseDown(button, s, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::HandleMouseUp(TMessage& m, TMouseButton button)
{
    MouseUp(button, KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: HandleMouseDown(m, mbLeft, false); return;
    case WM_LBUTTONDBLCLK:
        DblClick();
        HandleMouseDown(m, mbLeft, true);
        return;
    case WM_RBUTTONDOWN: HandleMouseDown(m, mbRight, false); return;
    case WM_RBUTTONDBLCLK: HandleMouseDown(m, mbRight, true); return;
    case WM_MBUTTONDOWN: HandleMouseDown(m, mbMiddle, false); return;
    case WM_MBUTTONDBLCLK: HandleMouseDown(m, mbMiddle, true); return;
    case WM_LBUTTONUP: {
        bool clicked = FControlState.Contains(csClicked);
        FControlState.Exclude(csClicked);
        HandleMouseUp(m, mbLeft);
        TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (clicked && PtInRect(GetClientRect(), p)) Click();
        return;
    }
    case WM_RBUTTONUP: {
        HandleMouseUp(m, mbRight);
        // The release asks for the context menu at its screen point.
        TPoint p = ClientToScreen(Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
        const TWinControl* w = dynamic_cast<TWinControl*>(this);
        if (!w) w = FParent;
        Perform(WM_CONTEXTMENU, w && w->HandleAllocated() ? reinterpret_cast<WPARAM>(w->FHandle) : 0,
                MAKELPARAM(p.X, p.Y));
        return;
    }
    case WM_CONTEXTMENU: {
        // From the keyboard (-1, -1) the menu opens at the control's centre.
        TPoint client = Point(FWidth / 2, FHeight / 2);
        TPoint p = ClientToScreen(client);
        if (GET_X_LPARAM(m.LParam) != -1 || GET_Y_LPARAM(m.LParam) != -1) {
            p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            client = ScreenToClient(p);
        }
        bool handled = false;
        if (OnContextPopup) OnContextPopup(this, client, handled);
        if (!handled) {
            // The nearest popup menu up the parent chain answers.
            TControl* c = this;
            while (c && !c->FPopupMenu) c = c->FParent;
            if (c && c->FPopupMenu->AutoPopup()) {
                c->FPopupMenu->SetPopupComponent(this);
                c->FPopupMenu->Popup(p.X, p.Y);
                handled = true;
            }
        }
        m.Result = handled ? 1 : 0;
        return;
    }
    case WM_MBUTTONUP: HandleMouseUp(m, mbMiddle); return;
    case WM_MOUSEMOVE: MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)); return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (MouseCapture()) SetMouseCapture(false);
        FControlState.Exclude(csClicked);
        FControlState.Exclude(csLButtonDown);
        return;
    case CM_MOUSEENTER:
        if (OnMouseEnter && !(ComponentState() & csDestroying)) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (OnMouseLeave && !(ComponentState() & csDestroying)) OnMouseLeave(this);
        return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_BIDIMODECHANGED: Invalidate(); return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return;
    case CM_PARENTBIDIMODECHANGED: ParentBiDiModeChanged(); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case CM_SHOWHINTCHANGED: return;
    default: DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETTEXT:
        FText = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        m.Result = TRUE;
        break;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(m.LParam);
        size_t max = m.WParam;
        if (!buf || max == 0) {
            m.Result = 0;
            break;
        }
        size_t n = std::min(FText.size(), max - 1);
        std::copy_n(FText.data(), n, buf);
        buf[n] = 0;
        m.Result = static_cast<LRESULT>(n);
        break;
    }
    default: break;
    }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown && !(ComponentState() & csDestroying)) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove && !(ComponentState() & csDestroying)) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp && !(ComponentState() & csDestroying)) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click()
{
    if (ComponentState() & csDestroying) return;
    // A control of its own OnClick runs that; one linked to an action runs the action.
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

void TControl::SetAction(TBasicAction* v)
{
    if (v == FAction) return;
    if (FAction) {
        FAction->UnRegisterClient(this);
        FAction->RemoveFreeNotification(this);
    }
    FAction = v;
    if (v) {
        v->RegisterClient(this);
        v->FreeNotification(this);
        ActionChange(v, (ComponentState() & csLoading) != 0);
    }
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || Caption().empty()) SetCaption(a->Caption());
    if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
    if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
    if (!CheckDefaults || FVisible) SetVisible(a->Visible());
}

void TControl::DblClick()
{
    if (OnDblClick && !(ComponentState() & csDestroying)) OnDblClick(this);
}

// ---- painting (windowless: through the parent's window) ----

void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    ::InvalidateRect(FParent->FHandle, &r, !FControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}
