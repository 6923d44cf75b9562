#include "platform/framework/controls/button.h"

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/forms/forms.h"

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csCaptureMouse, csClickEvents, csOpaque};
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
    FColor = clBtnFace;
}

void TButton::SetDefault(bool v)
{
    if (v == FDefault) return;
    FDefault = v;
    TCustomForm* f = GetParentForm();
    FActive = v && !(f && dynamic_cast<TButton*>(f->ActiveControl()) && f->ActiveControl() != this);
    Invalidate();
}

void TButton::Click()
{
    if (TCustomForm* f = GetParentForm(); f && FModalResult != mrNone) f->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FEnabled) {
        FPressed = true;
        if (CanFocus() && !Focused()) SetFocus();
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FControlState.Contains(csLButtonDown)) {
        bool inside = PtInRect(ClientRect(), Point(X, Y));
        if (inside != FPressed) {
            FPressed = inside;
            Invalidate();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONUP:
        // A click needs the button enabled and the release inside it.
        if (!FEnabled) FControlState.Exclude(csClicked);
        break;
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) && FEnabled && IsShowing()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
        FActive = dynamic_cast<TButton*>(focused) ? focused == this : FDefault;
        Invalidate();
        break;
    }
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
            FSpaceDown = FPressed = true;
            Invalidate();
        }
        break;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE && FSpaceDown) {
            FSpaceDown = FPressed = false;
            Invalidate();
            Click();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TButton::Paint()
{
    TRect r = ClientRect();
    TCanvas* c = Canvas();
    if (FActive || Focused()) {
        c->Brush()->SetColor(clBlack);
        c->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    bool pressed = FPressed;
    DrawButtonEdge(c, r, pressed);
    c->Font()->Assign(&FFont);
    if (!FEnabled) c->Font()->SetColor(clGrayText);
    if (pressed) r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    DrawTextIn(c, Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        TRect fr = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
        c->DrawFocusRect(fr);
    }
}

// ---- TCustomCheckBox ----

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csCaptureMouse, csDoubleClicks};
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
    FColor = clBtnFace;
    FParentColor = true;
}

void TCustomCheckBox::SetState(TCheckBoxState v)
{
    if (v == FState) return;
    FState = v;
    Invalidate();
    if (!(ComponentState() & csLoading)) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment v) { SetAndInvalidate(FAlignment, v); }

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FEnabled) {
        FPressed = true;
        if (CanFocus() && !Focused()) SetFocus();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool was = FPressed;
    if (Button == mbLeft) FPressed = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && was && FEnabled && PtInRect(ClientRect(), Point(X, Y))) Toggle();
}

void TCustomCheckBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYUP:
        if (m.WParam == VK_SPACE && FEnabled) Toggle();
        break;
    case CM_DIALOGCHAR:
        if (FEnabled && IsShowing() && IsAccel(static_cast<WORD>(m.WParam), Caption())) {
            if (CanFocus()) SetFocus();
            Toggle();
            m.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TCustomCheckBox::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    const int box = 13;
    int top = (r.Height() - box) / 2;
    int left = FAlignment == taRightJustify ? 0 : r.Width() - box;
    TRect b = Bounds(left, top, box, box);
    TRect inner = b;
    DrawSunkenEdge(c, inner);
    c->Brush()->SetColor(FEnabled && FState != cbGrayed ? clWindow : clBtnFace);
    c->FillRect(inner);
    TColor mark = FEnabled && FState != cbGrayed ? clWindowText : clGrayText;
    if (IsRadio()) {
        if (FState == cbChecked) {
            c->Brush()->SetColor(mark);
            c->FillRect(Rect(inner.Left + 3, inner.Top + 3, inner.Right - 3, inner.Bottom - 3));
        }
    } else if (FState != cbUnchecked) {
        DrawCheckMark(c, inner, mark);
    }
    c->Font()->Assign(&FFont);
    if (!FEnabled) c->Font()->SetColor(clGrayText);
    TRect tr = FAlignment == taRightJustify ? Rect(box + 4, 0, r.Right, r.Bottom) : Rect(0, 0, left - 4, r.Bottom);
    DrawTextIn(c, Caption(), tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        RECT calc{0, 0, 0, 0};
        HDC dc = c->Handle();
        HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
        String t = Caption();
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        int h = calc.bottom - calc.top;
        c->DrawFocusRect(
            Rect(tr.Left - 1, (r.Height() - h) / 2 - 1, tr.Left + calc.right + 1, (r.Height() + h) / 2 + 1));
    }
}

// ---- TRadioButton ----

void TRadioButton::SetChecked(bool v)
{
    if (v == Checked()) return;
    FState = v ? cbChecked : cbUnchecked;
    Invalidate();
    if (v && FParent) {
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)); r && r != this) r->SetChecked(false);
    }
    if (v && !(ComponentState() & csLoading)) Click();
}
