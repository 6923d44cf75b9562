#include "skin/boxes/skin_combo_box.h"

#include <algorithm>

#include "platform/framework/forms/application.h"
#include "platform/win/system_api.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/os_layers.h"

namespace {
constexpr UINT_PTR kScrollTimer = 1;
constexpr unsigned kScrollMs = 25;
constexpr DWORD kSearchPauseMs = 500;
}  // namespace

// ---- drop-down window ----

TbsPopupListBox::TbsPopupListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    FVisible = false;
    SetListBoxTabStop(false);
}

void TbsPopupListBox::CreateParams(TCreateParams& p)
{
    TbsSkinListBox::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void TbsPopupListBox::WndProc(TMessage& m)
{
    if (Combo && HandleAllocated() && GetCapture() == FHandle && m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST &&
        m.Msg != WM_MOUSEWHEEL) {
        Combo->PopupPointer(m);
        return;
    }
    TbsSkinListBox::WndProc(m);
}

void TbsPopupListBox::Dispatch(TMessage& m)
{
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    TbsSkinListBox::Dispatch(m);
}

TbsPopupListBox::~TbsPopupListBox() { *FAlive = false; }

bool TbsPopupListBox::Show(const TPoint& Origin)
{
    HWND h = Handle();
    const bool layers = IsWindows2000OrLater() && Combo;
    const bool blend = layers && Combo->AlphaBlend();
    const bool fade = blend && Combo->AlphaBlendAnimation();
    const BYTE target = Combo ? Combo->AlphaBlendValue() : 255;
    if (layers && blend != FOldAlphaBlend) {
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        SetWindowLongW(h, GWL_EXSTYLE, blend ? ex | WS_EX_LAYERED : ex & ~static_cast<LONG>(WS_EX_LAYERED));
        FOldAlphaBlend = blend;
    }
    if (blend && (fade || target != FOldAlphaBlendValue)) {
        FOldAlphaBlendValue = fade ? 0 : target;
        SetLayeredAlpha(h, FOldAlphaBlendValue);
    }
    SetWindowPos(h, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FLeft = Origin.X;
    FTop = Origin.Y;
    FVisible = true;
    UpDateScrollBar();
    if (!fade) return true;
    // The fade runs messages: the list may be hidden or the combo box (and this window) freed
    // meanwhile, and then it stops.
    const std::shared_ptr<bool> alive = FAlive;
    Application->ProcessMessages();
    const int step = std::max(1, target / 15);
    DWORD last = 0;
    bool first = true;
    while (*alive && FVisible && FOldAlphaBlendValue < target) {
        const DWORD now = GetTickCount();
        if (first || now - last > 5) {
            first = false;
            last = now;
            FOldAlphaBlendValue = static_cast<BYTE>(std::min<int>(target, FOldAlphaBlendValue + step));
            SetLayeredAlpha(h, FOldAlphaBlendValue);
        }
        Application->ProcessMessages();
    }
    return *alive;
}

void TbsPopupListBox::Hide()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FVisible = false;
}

void TbsPopupListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinListBox::ListBoxMouseMove(Shift, X, Y);
    if (Combo) Combo->HoverSelect(X, Y);
}

void TbsPopupListBox::ListBoxWndProc(TMessage& m, bool& Handled)
{
    if (Combo) Combo->ListBoxWindowProcHook(m, Handled);
}

// ---- combo box ----

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csAcceptsControls};
    FTabStop = true;
    FFont.SetName(L"Tahoma");
    FFont.SetHeight(13);
    FFont.SetColor(clWindowText);
    FFont.SetStyle(TFontStyles());
    SetBounds(FLeft, FTop, 120, 20);
    FListBox = new TbsPopupListBox(this);
    FListBox->Combo = this;
    FListBox->SetCtl3D(false);
    FSkinDataName = L"combobox";
    CalcRects();
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox()
{
    if (HandleAllocated()) KillTimer(FHandle, kScrollTimer);
    FreeEdit();
    FListBox->Combo = nullptr;
    FListBox->Free();
    FListBox = nullptr;
}

bool TbsSkinCustomComboBox::IsPopupVisible() const { return FListBox && FListBox->Visible(); }

bool TbsSkinCustomComboBox::CanCancelDropDown()
{
    if (!IsPopupVisible()) return false;
    POINT p;
    GetCursorPos(&p);
    const TPoint c = ScreenToClient(Point(p.x, p.y));
    return !PtInRect(ClientRect(), c);
}

void TbsSkinCustomComboBox::SetText(const String& Value)
{
    if (Value == FText) return;
    FText = Value;
    if (FEdit && !FromEdit) FEdit->SetText(Value);
    if (OnChange) OnChange(this);
    if (FromEdit) Change();
}

void TbsSkinCustomComboBox::SetItemIndex(int Value)
{
    FListBox->SetItemIndex(Value);
    const int i = FListBox->ItemIndex();
    if (FListBox->Items()->Count() > 0 && i != -1) SetText(FListBox->Items()->Strings(i));
    FOldItemIndex = i;
    Invalidate();
    if (Loading()) return;
    if (OnClick) OnClick(this);
    Change();
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value)
{
    FListBox->SetImages(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value)
{
    FListBox->SetImageIndex(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FListBox) FListBox = nullptr;
}

// ---- skin ----

void TbsSkinCustomComboBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    // A record whose picture index names no picture draws the built-in look.
    if (FIndex != -1 && !Picture) FIndex = -1;
    if (auto* r = dynamic_cast<TbsDataSkinComboBox*>(Record())) {
        ActiveSkinRect = r->ActiveSkinRect;
        ActiveFontColor = r->ActiveFontColor;
        FontName = r->FontName;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        SItemRect = r->SItemRect;
        FocusItemRect = IsNullRect(r->FocusItemRect) ? r->SItemRect : r->FocusItemRect;
        ActiveItemRect = r->ActiveItemRect;
        ItemLeftOffset = r->ItemLeftOffset;
        ItemRightOffset = r->ItemRightOffset;
        ItemTextRect = r->ItemTextRect;
        FontColor = r->FontColor;
        FocusFontColor = r->FocusFontColor;
        ButtonRect = r->ButtonRect;
        ActiveButtonRect = r->ActiveButtonRect;
        DownButtonRect = r->DownButtonRect;
        UnEnabledButtonRect = r->UnEnabledButtonRect;
        ListBoxName = r->ListBoxName;
        ItemStretchEffect = r->ItemStretchEffect;
        FocusItemStretchEffect = r->FocusItemStretchEffect;
        ShowFocus = r->ShowFocus;
    }
}

void TbsSkinCustomComboBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Invalidate();
    if (!FListBox) return;
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : String());
    FListBox->SetSkinData(FSD);
}

void TbsSkinCustomComboBox::ApplyDefaultFont() { FFont.Assign(FDefaultFont); }

void TbsSkinCustomComboBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    NewLTPoint = LTPt;
    const int dx = AWidth - (SkinRect.Right - SkinRect.Left);
    NewRTPoint = Point(RTPt.X + dx, RTPt.Y);
    NewClRect = ClRect;
    NewClRect.Right += dx;
}

void TbsSkinCustomComboBox::SetControlRegion()
{
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

// ---- drop-down ----

void TbsSkinCustomComboBox::DropDown()
{
    const int count = FListBox->Items()->Count();
    if (count == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) OnDropDown(this);
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->SetRowCount(std::min(count, FDropDownCount));
    TPoint origin = ClientToScreen(Point(0, Height()));
    TRect work;
    GetWindowMonitorRect(Handle(), true, work);
    if (origin.Y + FListBox->Height() > work.Bottom) origin.Y = origin.Y - Height() - FListBox->Height();
    if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && count > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->SetSkinData(FSD);
    if (!FListBox->HandleAllocated()) FListBox->SetParentWindow(Handle());
    // Nothing more when the fade-in's messages freed the combo box.
    if (!FListBox->Show(origin)) return;
    HoldPointer();
}

void TbsSkinCustomComboBox::CloseUp(bool AcceptValue)
{
    StopTimer();
    if (!IsPopupVisible()) return;
    if (GetCapture() == FListBox->Handle()) ReleaseCapture();
    FListBox->Hide();
    const int i = FListBox->ItemIndex();
    if (i < 0 || i >= FListBox->Items()->Count() || !AcceptValue) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else {
        if (FEdit) {
            FEdit->SetText(FListBox->Items()->Strings(i));
            FEdit->SelectAll();
        } else {
            SetText(FListBox->Items()->Strings(i));
        }
        FOldItemIndex = i;
        Invalidate();
        if (OnClick) OnClick(this);
        Change();
    }
    FDropDown = false;
    Invalidate();
    if (OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::HoldPointer()
{
    if (IsPopupVisible() && !FLBDown) SetCapture(FListBox->Handle());
}

void TbsSkinCustomComboBox::PopupPointer(TMessage& m)
{
    POINT sp{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ::ClientToScreen(FListBox->Handle(), &sp);
    HWND under = WindowFromPoint(sp);
    HWND inner = FListBox->ListBox->Handle();
    auto sendTo = [&](HWND W) {
        POINT p = sp;
        ::ScreenToClient(W, &p);
        SendMessageW(W, m.Msg, m.WParam, MAKELPARAM(p.x, p.y));
    };
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (under == inner) {
            POINT p = sp;
            ::ScreenToClient(inner, &p);
            HoverSelect(p.x, p.y);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        ReleaseCapture();
        if (under == inner) {
            if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
                FLBDown = true;
                WasInLB = true;
                SetCapture(Handle());
            } else {
                HoldPointer();
            }
        } else if (under && (under == FListBox->Handle() || IsChild(FListBox->Handle(), under))) {
            sendTo(under);  // a skin bar
        } else {
            CloseUp(false);
            if (under && SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(sp.x, sp.y)) == HTCLIENT) sendTo(under);
        }
        break;
    default: break;
    }
    m.Result = 0;
}

void TbsSkinCustomComboBox::HoverSelect(int X, int Y)
{
    const int i = FListBox->ItemAtPos(Point(X, Y), true);
    if (i >= 0 && i < FListBox->Items()->Count()) FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::ListBoxWindowProcHook(TMessage& m, bool& Handled)
{
    switch (m.Msg) {
    case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; break;
    case WM_LBUTTONDOWN:
        FLBDown = true;
        WasInLB = true;
        SetCapture(Handle());
        Handled = false;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: Handled = false; break;
    default: break;
    }
}

void TbsSkinCustomComboBox::DragTrack(int X, int Y)
{
    TbsListBox* inner = FListBox->ListBox;
    TPoint p = inner->ScreenToClient(ClientToScreen(Point(X, Y)));
    const bool bar = FListBox->ScrollBar != nullptr;
    if (p.Y < 0) {
        if (bar && WasInLB) StartTimer(1);
    } else if (p.Y > inner->Height()) {
        if (bar && WasInLB) StartTimer(2);
    } else {
        StopTimer();
        inner->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, p.Y));
        WasInLB = true;
    }
}

void TbsSkinCustomComboBox::StartTimer(int Mode)
{
    if (TimerMode == Mode) return;
    TimerMode = Mode;
    SetTimer(Handle(), kScrollTimer, kScrollMs, nullptr);
}

void TbsSkinCustomComboBox::StopTimer()
{
    if (TimerMode == 0) return;
    if (HandleAllocated()) KillTimer(FHandle, kScrollTimer);
    TimerMode = 0;
}

void TbsSkinCustomComboBox::TimerTick()
{
    const int i = FListBox->ItemIndex();
    if (TimerMode == 1 && i > 0) FListBox->SetItemIndex(i - 1);
    if (TimerMode == 2 && i < FListBox->Items()->Count()) FListBox->SetItemIndex(i + 1);
}

// ---- input ----

void TbsSkinCustomComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!FEdit && !Focused() && CanFocus()) SetFocus();
    if (Btn != mbLeft) return;
    const TPoint p = Point(X, Y);
    if (PtInRect(Button.R, p) || (!FEdit && PtInRect(CBItem.R, p))) {
        Button.Down = true;
        Invalidate();
        if (IsPopupVisible()) {
            CloseUp(false);
        } else {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        }
    } else if (IsPopupVisible()) {
        CloseUp(false);
    }
}

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FLBDown) {
        if (IsPopupVisible()) DragTrack(X, Y);
        return;
    }
    const bool in = PtInRect(Button.R, Point(X, Y));
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Invalidate();
    }
}

void TbsSkinCustomComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    if (FLBDown && WasInLB) {
        ReleaseCapture();
        FLBDown = false;
        POINT sp;
        GetCursorPos(&sp);
        CloseUp(WindowFromPoint(sp) == FListBox->ListBox->Handle());
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Invalidate();
    }
    HoldPointer();
}

void TbsSkinCustomComboBox::StepItem(int Delta)
{
    const int i = ItemIndex(), n = Items()->Count();
    if (Delta < 0 && i > 0) SetItemIndex(i - 1);
    if (Delta > 0 && i < n - 1) SetItemIndex(i + 1);
}

void TbsSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (FEdit) return;
    const bool alt = Shift.Contains(ssAlt);
    switch (Key) {
    case VK_RETURN:
        if (IsPopupVisible()) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible()) CloseUp(false);
        break;
    case VK_PRIOR: SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1)); break;
    case VK_NEXT: SetItemIndex(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1)); break;
    case VK_LEFT:
    case VK_UP:
        if (alt) {
            if (IsPopupVisible()) CloseUp(false);
        } else {
            StepItem(-1);
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (alt) {
            if (!IsPopupVisible()) DropDown();
        } else {
            StepItem(1);
        }
        break;
    default: break;
    }
}

void TbsSkinCustomComboBox::FindAndSelect(const String& S)
{
    if (S.empty()) return;
    const int start = S.size() == 1 ? ItemIndex() : -1;
    const int i = static_cast<int>(
        FListBox->ListBox->Perform(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(S.c_str())));
    if (i >= 0) SetItemIndex(i);
}

void TbsSkinCustomComboBox::KeyPress(wchar_t& Key)
{
    TbsSkinCustomControl::KeyPress(Key);
    if (FEdit || Key == 0 || Key < L' ') return;
    String search;
    if (FAutoComplete) {
        const DWORD now = GetTickCount();
        if (now - FLastTime >= kSearchPauseMs) FFilter.clear();
        FLastTime = now;
        FFilter += Key;
        search = FFilter;
    } else {
        search = String(1, Key);
    }
    FindAndSelect(search);
}

void TbsSkinCustomComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kScrollTimer) {
            TimerTick();
            m.Result = 0;
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        if (FEdit) break;
        const bool up = GET_WHEEL_DELTA_WPARAM(m.WParam) > 0;
        if (IsPopupVisible()) {
            const int i = FListBox->ItemIndex(), n = Items()->Count();
            if (up && i > 0) FListBox->SetItemIndex(i - 1);
            if (!up && i < n - 1) FListBox->SetItemIndex(i + 1);
        } else {
            StepItem(up ? -1 : 1);
        }
        m.Result = 1;
        return;
    }
    case WM_SETFOCUS:
        if (FEdit) {
            if (FEdit->CanFocus()) FEdit->SetFocus();
            if (FIndex != -1 && !IsNullRect(ActiveSkinRect)) FEdit->Font()->SetColor(ActiveFontColor);
            Invalidate();
            return;
        }
        TbsSkinCustomControl::Dispatch(m);
        Invalidate();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (!FEdit && IsPopupVisible()) CloseUp(false);
        Invalidate();
        if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect)) FEdit->Font()->SetColor(FontColor);
        return;
    case CM_CANCELMODE: {
        TbsSkinCustomControl::Dispatch(m);
        auto* sender = reinterpret_cast<TControl*>(m.LParam);
        if (sender == this || (FEdit && sender == FEdit) ||
            (FListBox && (sender == FListBox || sender == FListBox->ListBox ||
                          (sender && (sender == FListBox->ScrollBar || sender == FListBox->HScrollBar)))))
            return;
        CloseUp(false);
        return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TbsSkinCustomControl::Dispatch(m);
        if (ComponentState() & csDesigning) return;
        FMouseIn = m.Msg == CM_MOUSEENTER;
        if (!FMouseIn && Button.MouseIn) {
            Button.MouseIn = false;
            Invalidate();
        }
        if (FIndex != -1 && !IsNullRect(ActiveSkinRect)) Invalidate();
        return;
    }
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Invalidate();
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        CalcRects();
        PlaceEdit();
        return;
    default: break;
    }
    TbsSkinCustomControl::Dispatch(m);
}
