#include "platform/framework/controls/scroll_bar.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csOpaque};
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    FTabStop = true;
    FColor = clBtnFace;
}

void TScrollBar::SetKind(TScrollBarKind v)
{
    if (v == FKind) return;
    FKind = v;
    if (!(ComponentState() & csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    Invalidate();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin) AMax = AMin;
    int top = std::max(AMin, AMax - std::max(0, FPageSize - 1));
    APosition = std::clamp(APosition, AMin, top);
    bool changed = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    Invalidate();
    if (changed && OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

void TScrollBar::SetPageSize(int v)
{
    FPageSize = std::clamp(v, 0, FMax - FMin + 1);
    SetParams(FPosition, FMin, FMax);
}

int TScrollBar::Length() { return FKind == sbHorizontal ? FWidth : FHeight; }
int TScrollBar::Thickness() { return FKind == sbHorizontal ? FHeight : FWidth; }

int TScrollBar::ThumbLength()
{
    int track = std::max(0, Length() - 2 * Thickness());
    int range = FMax - FMin + 1;
    int len = FPageSize > 0 ? static_cast<int>(static_cast<long long>(track) * FPageSize / range) : Thickness();
    return std::clamp(len, std::min(8, track), track);
}

TRect TScrollBar::ThumbRect()
{
    int track = std::max(0, Length() - 2 * Thickness()), tl = ThumbLength();
    int span = std::max(1, FMax - FMin - std::max(0, FPageSize - 1));
    int offset = Thickness() + static_cast<int>(static_cast<long long>(track - tl) * (FPosition - FMin) / span);
    return FKind == sbHorizontal ? Bounds(offset, 0, tl, FHeight) : Bounds(0, offset, FWidth, tl);
}

void TScrollBar::Scroll(TScrollCode Code, int Pos)
{
    int p = std::clamp(Pos, FMin, std::max(FMin, FMax - std::max(0, FPageSize - 1)));
    if (OnScroll) OnScroll(this, Code, p);
    SetPosition(p);
}

void TScrollBar::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(cl3DLight);
    c->FillRect(r);
    int t = Thickness();
    TRect a = FKind == sbHorizontal ? Bounds(0, 0, t, FHeight) : Bounds(0, 0, FWidth, t);
    TRect b = FKind == sbHorizontal ? Bounds(FWidth - t, 0, t, FHeight) : Bounds(0, FHeight - t, FWidth, t);
    for (TRect* btn : {&a, &b}) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(*btn);
        TRect e = *btn;
        DrawButtonEdge(c, e, false);
    }
    TRect th = ThumbRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(th);
    DrawButtonEdge(c, th, false);
}

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled) return;
    int p = FKind == sbHorizontal ? X : Y;
    int t = Thickness();
    TRect th = ThumbRect();
    int ts = FKind == sbHorizontal ? th.Left : th.Top, te = FKind == sbHorizontal ? th.Right : th.Bottom;
    if (p < t)
        Scroll(scLineUp, FPosition - FSmallChange);
    else if (p >= Length() - t)
        Scroll(scLineDown, FPosition + FSmallChange);
    else if (p < ts)
        Scroll(scPageUp, FPosition - FLargeChange);
    else if (p >= te)
        Scroll(scPageDown, FPosition + FLargeChange);
    else {
        FDragging = true;
        FDragOffset = p - ts;
    }
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging || !FControlState.Contains(csLButtonDown)) return;
    int p = (FKind == sbHorizontal ? X : Y) - FDragOffset - Thickness();
    int track = std::max(1, Length() - 2 * Thickness() - ThumbLength());
    int span = FMax - FMin - std::max(0, FPageSize - 1);
    Scroll(scTrack, FMin + static_cast<int>((static_cast<long long>(p) * span + track / 2) / track));
}

void TScrollBar::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONUP:
        if (FDragging) {
            FDragging = false;
            Scroll(scPosition, FPosition);
        }
        Scroll(scEndScroll, FPosition);
        break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
        if (DoKeyDown(m)) return;
        switch (m.WParam) {
        case VK_LEFT:
        case VK_UP: Scroll(scLineUp, FPosition - FSmallChange); return;
        case VK_RIGHT:
        case VK_DOWN: Scroll(scLineDown, FPosition + FSmallChange); return;
        case VK_PRIOR: Scroll(scPageUp, FPosition - FLargeChange); return;
        case VK_NEXT: Scroll(scPageDown, FPosition + FLargeChange); return;
        case VK_HOME: Scroll(scTop, FMin); return;
        case VK_END: Scroll(scBottom, FMax); return;
        default: DefaultHandler(m); return;
        }
    default: break;
    }
    TCustomControl::Dispatch(m);
}
