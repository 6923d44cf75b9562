#include "skin/boxes/office_combo_box.h"

#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/os_layers.h"

namespace {
constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT kScrollInterval = 25;
}  // namespace

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FDefaultColor(clWindow)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    SetBounds(Left(), Top(), 120, 41);
    SetTabStop(true);
    FSkinDataName = L"combobox";
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    FListBox = new TbsPopupOfficeListBox(this);
    FListBoxWindowProc = FListBox->WindowProc();
    FListBox->SetWindowProc([this](TMessage& m) { ListBoxWindowProcHook(m); });
    FListBox->SetVisible(false);
    FListBox->SetMouseMoveChangeIndex(true);
    CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox()
{
    StopTimer();
    delete FListBox;
    FListBox = nullptr;
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || !FListBox) return;
    if (AComponent == FListBox) FListBox = nullptr;
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value)
{
    if (FToolButtonStyle == Value) return;
    FToolButtonStyle = Value;
    if (Value) FUseSkinSize = false;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value)
{
    if (FShowItemTitle == Value) return;
    FShowItemTitle = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value)
{
    if (FShowItemImage == Value) return;
    FShowItemImage = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value)
{
    if (FShowItemText == Value) return;
    FShowItemText = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetDropDownCount(int Value)
{
    if (Value >= 0) FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::ApplyDefaultFont() { Font()->Assign(FDefaultFont); }

// ---- selection ----

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value)
{
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (ComponentState() & (csLoading | csDesigning)) return;
    if (OnClick) OnClick(this);
    Change();
}

void TbsSkinCustomOfficeComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TbsSkinCustomOfficeComboBox::SelectPageUp(bool AChange)
{
    FListBox->FindPageUp();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectPageDown(bool AChange)
{
    FListBox->FindPageDown();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectUp(bool AChange)
{
    FListBox->FindUp();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectDown(bool AChange)
{
    FListBox->FindDown();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

// ---- the drop-down ----

void TbsSkinCustomOfficeComboBox::DropDown()
{
    if (FListBox->Items()->Count() == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) OnDropDown(this);
    FListBox->SetWidth(FListBoxWidth != 0 ? FListBoxWidth : Width());
    FListBox->OnDrawItem = OnDrawItem;
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && FListBox->Items()->Count() > 1) {
        // Scrolls the list back to its top.
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->SetSkinData(FSD);
    if (FListBoxHeight > 0)
        FListBox->SetHeight(FListBoxHeight);
    else if (FDropDownCount > 0)
        FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
    TPoint p = Point(Left() + Width() - FListBox->Width(), Top() + Height());
    if (Parent()) p = Parent()->ClientToScreen(p);
    TRect work = Rect(0, 0, 0, 0);
    GetWindowMonitorRect(Handle(), true, work);
    if (p.Y + FListBox->Height() > work.Bottom) p.Y -= Height() + FListBox->Height();
    FListBox->Show(p);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Value)
{
    StopTimer();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const int index = FListBox->ItemIndex();
    if (Value && index >= 0 && index < FListBox->Items()->Count()) {
        Repaint();
        if (OnClick) OnClick(this);
        Change();
    } else if (FOldItemIndex < FListBox->Items()->Count()) {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (Value && OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; break;
    case WM_LBUTTONDOWN:
        // The press belongs to the combo from here on: it tracks the drag and takes the release.
        FLBDown = true;
        WasInLB = true;
        SetCapture(Handle());
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return;
    default: break;
    }
    if (FListBoxWindowProc) FListBoxWindowProc(m);
}

void TbsSkinCustomOfficeComboBox::StartTimer(int Mode)
{
    if (TimerMode == Mode) return;
    TimerMode = Mode;
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, kScrollInterval, nullptr);
}

void TbsSkinCustomOfficeComboBox::StopTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

void TbsSkinCustomOfficeComboBox::ProcessListBox(int X, int Y)
{
    const TPoint p = FListBox->ScreenToClient(ClientToScreen(Point(X, Y)));
    const bool canScroll = FListBox->ScrollBar() && WasInLB;
    if (p.Y < 0) {
        if (canScroll) StartTimer(1);
    } else if (p.Y > FListBox->Height()) {
        if (canScroll) StartTimer(2);
    } else {
        StopTimer();
        FListBox->MouseMove(TShiftState{}, p.X, p.Y);
        WasInLB = true;
        if (!FLBDown) {
            FLBDown = true;
            WasInLB = false;
        }
    }
}

// ---- input ----

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool open = FListBox->Visible();
    const bool alt = Shift.Contains(ssAlt);
    switch (Key) {
    case VK_RETURN:
        if (open) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (open) CloseUp(false);
        break;
    case VK_PRIOR: SelectPageUp(true); break;
    case VK_NEXT: SelectPageDown(true); break;
    case VK_LEFT:
    case VK_UP:
        if (!alt)
            SelectUp(true);
        else if (open)
            CloseUp(false);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (!alt)
            SelectDown(true);
        else if (!open)
            DropDown();
        break;
    default: break;
    }
}

void TbsSkinCustomOfficeComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!Focused() && CanFocus()) SetFocus();
    if (Btn != mbLeft) return;
    if (Button.MouseIn || PtInRect(CBItem.R, Point(X, Y)) || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (FListBox->Visible()) {
            CloseUp(false);
        } else {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        }
    } else if (FListBox->Visible()) {
        CloseUp(false);
    }
}

void TbsSkinCustomOfficeComboBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FListBox->Visible()) ProcessListBox(X, Y);
    const bool in = PtInRect(Button.R, Point(X, Y));
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Repaint();
    }
}

void TbsSkinCustomOfficeComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    if (FLBDown && WasInLB) {
        ReleaseCapture();
        FLBDown = false;
        POINT cur{};
        GetCursorPos(&cur);
        CloseUp(FListBox->HandleAllocated() && WindowFromPoint(cur) == FListBox->Handle());
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(m);
        if (m.WParam == kScrollTimer) {
            if (TimerMode == 1)
                FListBox->FindUp();
            else if (TimerMode == 2)
                FListBox->FindDown();
        }
        return;
    case WM_SETFOCUS:
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (FListBox->Visible()) CloseUp(false);
        Repaint();
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        CalcRects();
        return;
    case WM_MOUSEWHEEL: {
        TbsSkinCustomControl::Dispatch(m);
        const bool closed = !FListBox->Visible();
        if (GET_WHEEL_DELTA_WPARAM(m.WParam) < 0)
            SelectUp(closed);
        else
            SelectDown(closed);
        return;
    }
    case WM_ERASEBKGND:
        // The whole control goes into the erase DC; nothing is erased on its own.
        if (!FromWMPaint && m.WParam && Width() > 0 && Height() > 0) {
            GetSkinData();
            TBitmap b(Width(), Height());
            if (FIndex == -1)
                CreateControlDefaultImage(&b);
            else
                CreateControlSkinImage(&b);
            BitBlt(reinterpret_cast<HDC>(m.WParam), 0, 0, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        m.Result = 1;
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TbsSkinCustomControl::Dispatch(m);
        FMouseIn = m.Msg == CM_MOUSEENTER;
        if (!FMouseIn && Button.MouseIn) {
            Button.MouseIn = false;
            Repaint();
        }
        if (FToolButtonStyle || (FIndex != -1 && !IsNullRect(ActiveSkinRect))) Invalidate();
        return;
    }
    case CM_CANCELMODE: {
        TbsSkinCustomControl::Dispatch(m);
        auto* sender = reinterpret_cast<TControl*>(m.LParam);
        const bool own =
            sender && (sender == this || sender == FListBox ||
                       (FListBox->ScrollBar() && sender == reinterpret_cast<TControl*>(FListBox->ScrollBar())));
        if (!own) CloseUp(false);
        return;
    }
    case CM_WANTSPECIALKEY:
        TbsSkinCustomControl::Dispatch(m);
        if (m.WParam == VK_LEFT || m.WParam == VK_UP || m.WParam == VK_RIGHT || m.WParam == VK_DOWN) m.Result = 1;
        // Enter and Esc close an open list instead of pressing the form's buttons.
        if ((m.WParam == VK_ESCAPE || m.WParam == VK_RETURN) && FListBox->Visible()) m.Result = 1;
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

// ---- skin and geometry ----

void TbsSkinCustomOfficeComboBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinComboBox*>(Record());
    if (!r) return;
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
    ItemStretchEffect = r->ItemStretchEffect;
    FocusItemStretchEffect = r->FocusItemStretchEffect;
    ShowFocus = r->ShowFocus;
}

void TbsSkinCustomOfficeComboBox::CalcRects()
{
    const int w = Width(), h = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = Rect(w - 19, 0, w, h);
        CBItem.R = Rect(2, 2, Button.R.Left - 1, h - 2);
        return;
    }
    const int dw = w - RectWidth(SkinRect), dh = h - RectHeight(SkinRect);
    Button.R = ButtonRect;
    if (ButtonRect.Left >= RectWidth(SkinRect) - RTPt.X) {
        Button.R.Left += dw;
        Button.R.Right += dw;
    }
    CBItem.R = ClRect;
    CBItem.R.Right += dw;
    if (!FUseSkinSize) {
        CBItem.R.Bottom += dh;
        Button.R.Bottom += dh;
    }
}

void TbsSkinCustomOfficeComboBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    if (FIndex == -1) return;
    const int sw = RectWidth(SkinRect);
    NewLTPoint = LTPt;
    NewRTPoint = Point(AWidth + RTPt.X - sw, RTPt.Y);
    NewClRect = ClRect;
    NewClRect.Right = AWidth + ClRect.Right - sw;
}

void TbsSkinCustomOfficeComboBox::SetControlRegion()
{
    if (FUseSkinSize) {
        TbsSkinCustomControl::SetControlRegion();
        return;
    }
    if (FRgn && HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    FRgn = nullptr;
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    if (FIndex == -1) FListBox->SetSkinDataName(L"");
    FListBox->SetSkinData(FSD);
    CalcRects();
}
