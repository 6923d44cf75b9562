#include "platform/framework/controls/label.h"

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/shortcuts.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csReplicatable, csClickEvents, csCaptureMouse, csDoubleClicks};
    FWidth = 65;
    FHeight = 17;
    FAutoSize = true;
    FParentColor = true;
    FColor = clBtnFace;
}

UINT TCustomLabel::DrawTextFlags() const
{
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT f = DT_EXPANDTABS | kAlign[FAlignment];
    if (FWordWrap) f |= DT_WORDBREAK;
    if (!FShowAccelChar) f |= DT_NOPREFIX;
    return f;
}

void TCustomLabel::DoDrawText(TRect& r, UINT flags)
{
    String text = GetLabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == L"&"))) text = L" ";
    HDC dc = nullptr;
    bool own = !FCanvas.HandleAllocated() || (flags & DT_CALCRECT);
    if (own)
        dc = CreateCompatibleDC(nullptr);
    else
        dc = FCanvas.Handle();
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SetBkMode(dc, TRANSPARENT);
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    auto draw = [&](COLORREF color, int dx) {
        SetTextColor(dc, color);
        RECT q = rr;
        OffsetRect(&q, dx, dx);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &q, flags);
        if (flags & DT_CALCRECT) rr = q;
    };
    if (!FEnabled && !(flags & DT_CALCRECT)) {
        draw(ColorToRGB(clBtnHighlight), 1);
        draw(ColorToRGB(clBtnShadow), 0);
    } else {
        draw(ColorToRGB(FFont.Color()), 0);
    }
    SelectObject(dc, old);
    if (own) DeleteDC(dc);
    if (flags & DT_CALCRECT) r = Rect(rr.left, rr.top, rr.right, rr.bottom);
}

void TCustomLabel::Paint()
{
    TRect r = ClientRect();
    if (!FTransparent) {
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(r);
    }
    UINT flags = DrawTextFlags();
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int h = calc.Height();
        int top = FLayout == tlBottom ? r.Height() - h : (r.Height() - h) / 2;
        r = Rect(r.Left, top, r.Right, top + h);
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if ((ComponentState() & csLoading) || !FAutoSize) return;
    TRect r = ClientRect();
    if (!FWordWrap) r.Right = r.Left + 10000;
    DoDrawText(r, DrawTextFlags() | DT_CALCRECT);
    int x = FLeft;
    if (FAlignment == taRightJustify) x = FLeft + FWidth - r.Width();
    SetBounds(x, FTop, r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool v)
{
    if (v == FAutoSize) return;
    FAutoSize = v;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment v) { SetAndInvalidate(FAlignment, v); }

void TCustomLabel::SetLayout(TTextLayout v) { SetAndInvalidate(FLayout, v); }

void TCustomLabel::SetWordWrap(bool v)
{
    if (v == FWordWrap) return;
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    if (v == FShowAccelChar) return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    if (v == FTransparent) return;
    FTransparent = v;
    if (v)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && FEnabled && FShowAccelChar && IsAccel(static_cast<WORD>(m.WParam), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            m.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TGraphicControl::Dispatch(m);
}
