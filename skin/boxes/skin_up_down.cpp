#include "skin/boxes/skin_up_down.h"

#include "skin/boxes/box_buttons.h"
#include "skin/controls/skin_tab_scroller_link.h"
#include "skin/core/marks.h"
#include "skin/core/range_records.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
}

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FSkinDataName = L"hupdown";
    SetBounds(FLeft, FTop, 50, 25);
}

TbsSkinUpDown::~TbsSkinUpDown()
{
    if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
}

// ---- properties ----

void TbsSkinUpDown::SetPosition(int Value)
{
    if (Value > FMax || Value < FMin) return;
    FPosition = Value;
    if (OnChange && !(ComponentState() & (csDesigning | csDestroying))) OnChange(this);
}

void TbsSkinUpDown::SetMin(int Value)
{
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int Value)
{
    FMax = Value;
    if (FPosition > FMax) FPosition = FMax;
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value)
{
    FOrientation = Value;
    if ((ComponentState() & csDesigning) && !(ComponentState() & csLoading))
        FSkinDataName = Value == udVertical ? L"vupdown" : L"hupdown";
    Repaint();
}

// ---- skin ----

void TbsSkinUpDown::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    // A record whose picture index names no picture draws the built-in look.
    if (FIndex != -1 && !Picture) FIndex = -1;
    if (auto* r = dynamic_cast<TbsDataSkinUpDownControl*>(Record())) {
        UpButtonRect = r->UpButtonRect;
        ActiveUpButtonRect = r->ActiveUpButtonRect;
        DownUpButtonRect = IsNullRect(r->DownUpButtonRect) ? r->ActiveUpButtonRect : r->DownUpButtonRect;
        DownButtonRect = r->DownButtonRect;
        ActiveDownButtonRect = r->ActiveDownButtonRect;
        DownDownButtonRect = IsNullRect(r->DownDownButtonRect) ? r->ActiveDownButtonRect : r->DownDownButtonRect;
        LTPt = RTPt = LBPt = RBPt = TPoint{};
        ClRect = TRect{};
    }
    CalcButtonRects();
}

void TbsSkinUpDown::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize) TbsSkinCustomControl::CalcSize(AWidth, AHeight);
}

void TbsSkinUpDown::SetControlRegion()
{
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinUpDown::CalcButtonRects()
{
    if (FIndex != -1 && FUseSkinSize) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
        return;
    }
    const int w = Width(), h = Height();
    if (FOrientation == udVertical) {
        Buttons[0].R = Rect(0, 0, w, h / 2);
        Buttons[1].R = Rect(0, h / 2, w, h);
    } else {
        Buttons[1].R = Rect(0, 0, w / 2, h);
        Buttons[0].R = Rect(w / 2, 0, w, h);
    }
}

// ---- drawing ----

int TbsSkinUpDown::ArrowKind(int I) const
{
    if (FOrientation == udVertical) return I == 0 ? 3 : 4;
    return I == 0 ? 2 : 1;
}

void TbsSkinUpDown::CreateControlDefaultImage(TBitmap* B)
{
    CalcButtonRects();
    DrawButton(B->Canvas(), 0);
    DrawButton(B->Canvas(), 1);
}

void TbsSkinUpDown::CreateControlSkinImage(TBitmap* B)
{
    if (FUseSkinSize) {
        TbsSkinCustomControl::CreateControlSkinImage(B);
        DrawButton(B->Canvas(), 0);
        DrawButton(B->Canvas(), 1);
    } else {
        DrawResizeButton(B->Canvas(), 0);
        DrawResizeButton(B->Canvas(), 1);
    }
}

void TbsSkinUpDown::DrawButton(TCanvas* C, int I)
{
    const TButton& b = Buttons[I];
    if (FIndex == -1) {
        DrawBoxButtonFrame(C, b.R, BoxButtonState(b.MouseIn, b.Down));
        DrawArrowImage(C, b.R, Enabled() ? clBlack : kBoxGrayArrow, ArrowKind(I));
        return;
    }
    TRect src;
    if (b.Down && b.MouseIn)
        src = I == 0 ? DownUpButtonRect : DownDownButtonRect;
    else if (b.MouseIn)
        src = I == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
    if (!IsNullRect(src) && Picture) C->CopyRect(b.R, Picture->Canvas(), src);
}

void TbsSkinUpDown::DrawResizeButton(TCanvas* C, int I)
{
    const TButton& b = Buttons[I];
    const int w = RectWidth(b.R), h = RectHeight(b.R);
    if (w <= 0 || h <= 0) return;
    TBitmap face(w, h);
    TbsDataSkinButtonControl* rec = FindButtonRecord(FSD, {L"resizebutton"});
    TColor arrow = clBlack;
    if (!rec || !ComposeButtonRecord(FSD, rec, BoxButtonState(b.MouseIn, b.Down), &face, w, h, arrow)) {
        // Without the record the face stays an empty bitmap and no arrow is drawn.
        C->Draw(b.R.Left, b.R.Top, &face);
        return;
    }
    if (!Enabled()) arrow = rec->DisabledFontColor;
    C->Draw(b.R.Left, b.R.Top, &face);
    DrawArrowImage(C, b.R, arrow, ArrowKind(I));
}

// ---- pointer and repeat ----

void TbsSkinUpDown::StartTimer(unsigned Ms)
{
    if (!HandleAllocated()) return;
    KillTimer(FHandle, kRepeatTimer);
    SetTimer(FHandle, kRepeatTimer, Ms, nullptr);
}

void TbsSkinUpDown::StopTimer()
{
    if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
    TimerMode = 0;
}

void TbsSkinUpDown::UpdateActiveButton(int X, int Y)
{
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 2; ++i)
        if (PointInsideRect(Buttons[i].R, Point(X, Y))) {
            ActiveButton = i;
            break;
        }
    // While a button is held the other one never becomes hot.
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
    if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TbsSkinUpDown::ButtonEnter(int I)
{
    Buttons[1 - I].MouseIn = false;
    Buttons[I].MouseIn = true;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down) StartTimer(50);
}

void TbsSkinUpDown::ButtonLeave(int I)
{
    Buttons[I].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down && HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
}

void TbsSkinUpDown::ButtonDown(int I)
{
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Repaint();
    if (FIncrement == 0) return;
    TimerMode = I == 0 ? 2 : 1;
    WaitMode = true;
    StartTimer(500);
}

void TbsSkinUpDown::ButtonUp(int I)
{
    if (FIncrement != 0) StopTimer();
    Buttons[I].Down = false;
    if (I != ActiveButton) Buttons[I].MouseIn = false;
    Repaint();
    if (!Buttons[I].MouseIn) return;
    if (I == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
    } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
    }
}

void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    UpdateActiveButton(X, Y);
    OldActiveButton = ActiveButton == 0 ? 1 : 0;
    Buttons[OldActiveButton].MouseIn = false;
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        ButtonDown(ActiveButton);
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, int X, int Y)
{
    UpdateActiveButton(X, Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CaptureButton != -1) ButtonUp(CaptureButton);
    CaptureButton = -1;
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(m);
        if (m.WParam != kRepeatTimer) return;
        if (WaitMode) {
            WaitMode = false;
            StartTimer(100);
        } else if (TimerMode == 1) {
            SetPosition(FPosition - FIncrement);
        } else if (TimerMode == 2) {
            SetPosition(FPosition + FIncrement);
        }
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        CalcButtonRects();
        return;
    case CM_MOUSEENTER:
        ActiveButton = OldActiveButton = -1;
        TbsSkinCustomControl::Dispatch(m);
        return;
    case CM_MOUSELEAVE: {
        ActiveButton = OldActiveButton = -1;
        TbsSkinCustomControl::Dispatch(m);
        bool changed = false;
        for (TButton& b : Buttons)
            if (b.MouseIn) {
                b.MouseIn = false;
                changed = true;
            }
        if (changed) Repaint();
        return;
    }
    case WM_DESTROY:
        if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
        TbsSkinCustomControl::Dispatch(m);
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

void UseSkinUpDownTabScroller()
{
    auto up = [](TbsSkinCustomControl* S) { return static_cast<TbsSkinUpDown*>(S); };
    TbsTabScrollerLink& link = TabScrollerLink();
    link.Make = [](TComponent* Owner) -> TbsSkinCustomControl* { return new TbsSkinUpDown(Owner); };
    link.Position = [up](TbsSkinCustomControl* S) { return up(S)->Position(); };
    link.SetPosition = [up](TbsSkinCustomControl* S, int Value) { up(S)->SetPosition(Value); };
    link.SetRange = [up](TbsSkinCustomControl* S, int Min, int Max, int Increment) {
        up(S)->SetMin(Min);
        up(S)->SetMax(Max);
        up(S)->SetIncrement(Increment);
    };
    link.SetOnChange = [up](TbsSkinCustomControl* S, TNotifyEvent OnChange) { up(S)->OnChange = std::move(OnChange); };
}
