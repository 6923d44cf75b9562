#include "platform/framework/controls/track_bar.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"

namespace {
constexpr int kThumbLong = 21;   // across the channel
constexpr int kThumbShort = 11;  // along the channel
constexpr int kMargin = 8;
}  // namespace

TTrackBar::TTrackBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
    FColor = clBtnFace;
}

void TTrackBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin) AMax = AMin;
    APosition = std::clamp(APosition, AMin, AMax);
    bool changed = APosition != FPosition;
    if (!changed && AMin == FMin && AMax == FMax) return;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    Invalidate();
    if (changed) Changed();
}

void TTrackBar::SetFrequency(int v) { SetAndInvalidate(FFrequency, v); }

void TTrackBar::SetOrientation(TTrackBarOrientation v)
{
    if (v == FOrientation) return;
    FOrientation = v;
    if (!(ComponentState() & csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    Invalidate();
}

void TTrackBar::Changed()
{
    if (OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

int TTrackBar::Span()
{
    int len = FOrientation == trHorizontal ? FWidth : FHeight;
    return std::max(1, len - 2 * kMargin - kThumbShort);
}

TRect TTrackBar::ThumbRect()
{
    int range = std::max(1, FMax - FMin);
    int offset = kMargin + static_cast<int>(static_cast<long long>(FPosition - FMin) * Span() / range);
    if (FOrientation == trHorizontal) return Bounds(offset, 4, kThumbShort, std::min(kThumbLong, FHeight - 8));
    return Bounds(4, offset, std::min(kThumbLong, FWidth - 8), kThumbShort);
}

int TTrackBar::PositionFromPixel(int p)
{
    int range = FMax - FMin;
    double f = static_cast<double>(p - kMargin) / Span();
    return FMin + static_cast<int>(f * range + (f >= 0 ? 0.5 : -0.5));
}

void TTrackBar::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    TRect thumb = ThumbRect();
    TRect channel =
        FOrientation == trHorizontal
            ? Rect(kMargin, thumb.Top + thumb.Height() / 2 - 2, r.Right - kMargin, thumb.Top + thumb.Height() / 2 + 2)
            : Rect(thumb.Left + thumb.Width() / 2 - 2, kMargin, thumb.Left + thumb.Width() / 2 + 2, r.Bottom - kMargin);
    DrawSunkenEdge(c, channel);
    // Ticks every Frequency steps.
    if (FFrequency > 0 && FMax > FMin) {
        c->Brush()->SetColor(clBtnText);
        for (int v = FMin; v <= FMax; v += FFrequency) {
            int p =
                kMargin + kThumbShort / 2 + static_cast<int>(static_cast<long long>(v - FMin) * Span() / (FMax - FMin));
            if (FOrientation == trHorizontal)
                c->FillRect(Rect(p, thumb.Bottom + 2, p + 1, thumb.Bottom + 5));
            else
                c->FillRect(Rect(thumb.Right + 2, p, thumb.Right + 5, p + 1));
        }
    }
    c->Brush()->SetColor(FEnabled ? clBtnFace : clBtnShadow);
    c->FillRect(thumb);
    TRect te = thumb;
    DrawButtonEdge(c, te, false);
    if (Focused()) c->DrawFocusRect(r);
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft && FEnabled) {
        TRect t = ThumbRect();
        int p = FOrientation == trHorizontal ? X : Y;
        int start = FOrientation == trHorizontal ? t.Left : t.Top;
        if (PtInRect(t, Point(X, Y))) {
            FDragging = true;
            FDragOffset = p - start;
        } else {
            SetPosition(FPosition + (p < start ? -FPageSize : FPageSize));
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTrackBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging && FControlState.Contains(csLButtonDown)) {
        int p = (FOrientation == trHorizontal ? X : Y) - FDragOffset;
        SetPosition(PositionFromPixel(p));
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TTrackBar::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONUP: FDragging = false; break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_MOUSEWHEEL:
        SetPosition(FPosition - GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA * FLineSize);
        m.Result = 1;
        return;
    case WM_KEYDOWN:
        if (DoKeyDown(m)) return;
        switch (m.WParam) {
        case VK_LEFT:
        case VK_UP: SetPosition(FPosition - FLineSize); return;
        case VK_RIGHT:
        case VK_DOWN: SetPosition(FPosition + FLineSize); return;
        case VK_PRIOR: SetPosition(FPosition - FPageSize); return;
        case VK_NEXT: SetPosition(FPosition + FPageSize); return;
        case VK_HOME: SetPosition(FMin); return;
        case VK_END: SetPosition(FMax); return;
        default: break;
        }
        DefaultHandler(m);
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}
