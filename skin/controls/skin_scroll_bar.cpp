#include "skin/controls/skin_scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "skin/controls/skin_button_timers.h"
#include "skin/core/marks.h"
#include "skin/core/range_records.h"
#include "skin/core/skin_image.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 500;
constexpr UINT kRepeat = 50;
constexpr TColor kHotFrame = static_cast<TColor>(0xB76B3B);
constexpr TColor kHotFill = static_cast<TColor>(0xF3D4C1);
constexpr TColor kDownFill = static_cast<TColor>(0xE4BCA2);

// Nearest integer, halves to the even neighbour.
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

TRect Moved(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }
}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FSkinDataName = L"hscrollbar";
    FDefaultWidth = 0;
    FDefaultHeight = 19;
    FWidth = 200;
    FHeight = 19;
    FTabStop = false;
}

TbsSkinScrollBar::~TbsSkinScrollBar()
{
    if (HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
}

// ---- range and position ----

int TbsSkinScrollBar::Clamped(int Value) const
{
    if (Value < FMin) return FMin;
    return std::min(Value, FPageSize > 0 ? FMax - FPageSize + 1 : FMax);
}

void TbsSkinScrollBar::SetPosition(int Value)
{
    Value = Clamped(Value);
    if (Value == FPosition) return;
    FPosition = Value;
    Repaint();
    if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(int AValue)
{
    AValue = Clamped(AValue);
    if (AValue == FPosition) return;
    FPosition = AValue;
    Repaint();
}

void TbsSkinScrollBar::SetRange(int AMin, int AMax, int APosition, int APageSize)
{
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = Clamped(APosition);
    // Owners call this at every paint and change: the repaint waits for the message loop.
    Invalidate();
}

void TbsSkinScrollBar::SetMin(int Value)
{
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
    Invalidate();
}

void TbsSkinScrollBar::SetMax(int Value)
{
    FMax = Value;
    if (FPageSize > 0) {
        if (FPosition > FMax - FPageSize + 1) FPosition = FMax - FPageSize + 1;
        if (FPosition < FMin) FPosition = FMin;
    } else if (FPosition > FMax) {
        FPosition = FMax;
    }
    Invalidate();
}

void TbsSkinScrollBar::SetPageSize(int Value)
{
    if (FPosition + Value <= FMax - FMin + 1) FPageSize = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetSmallChange(int Value)
{
    FSmallChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetLargeChange(int Value)
{
    FLargeChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value)
{
    if (Value == FKind) return;
    FKind = Value;
    if ((ComponentState() & csDesigning) && !(ComponentState() & csLoading)) {
        FSkinDataName = Value == sbVertical ? L"vscrollbar" : L"hscrollbar";
        const bool shortAlong = Value == sbVertical ? Height() < Width() : Width() < Height();
        if (shortAlong) SetBounds(Left(), Top(), Height(), Width());
        if (Value == sbVertical) {
            FDefaultWidth = FDefaultHeight;
            FDefaultHeight = 0;
        } else {
            FDefaultHeight = FDefaultWidth;
            FDefaultWidth = 0;
        }
    }
    Repaint();
}

void TbsSkinScrollBar::SetBoth(bool Value)
{
    if (Value == FBoth) return;
    FBoth = Value;
    const bool hadRecord = FIndex != -1;
    if (!(ComponentState() & csDesigning)) {
        if (Value) {
            FNormalSkinDataName = FSkinDataName;
            FSkinDataName = FBothSkinDataName;
        } else if (!FNormalSkinDataName.empty()) {
            FSkinDataName = FNormalSkinDataName;
        }
    }
    if (hadRecord)
        ChangeSkinData();
    else
        Repaint();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int Value)
{
    if (Value < 0) return;
    FBothMarkerWidth = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

// ---- skin and layout ----

void TbsSkinScrollBar::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* rec = dynamic_cast<TbsDataSkinScrollBarControl*>(Record());
    if (!rec) return;
    TrackArea = rec->TrackArea;
    UpButtonRect = rec->UpButtonRect;
    ActiveUpButtonRect = rec->ActiveUpButtonRect;
    DownUpButtonRect = IsNullRect(rec->DownUpButtonRect) ? ActiveUpButtonRect : rec->DownUpButtonRect;
    DownButtonRect = rec->DownButtonRect;
    ActiveDownButtonRect = rec->ActiveDownButtonRect;
    DownDownButtonRect = IsNullRect(rec->DownDownButtonRect) ? ActiveDownButtonRect : rec->DownDownButtonRect;
    ThumbRect = rec->ThumbRect;
    ActiveThumbRect = IsNullRect(rec->ActiveThumbRect) ? ThumbRect : rec->ActiveThumbRect;
    DownThumbRect = IsNullRect(rec->DownThumbRect) ? ActiveThumbRect : rec->DownThumbRect;
    ThumbOffset1 = rec->ThumbOffset1;
    ThumbOffset2 = rec->ThumbOffset2;
    ThumbTransparent = rec->ThumbTransparent;
    ThumbTransparentColor = rec->ThumbTransparentColor;
    ThumbStretchEffect = rec->ThumbStretchEffect;
    ThumbMinSize = rec->ThumbMinSize;
    ThumbMinPageSize = rec->ThumbMinPageSize;
    GlyphRect = rec->GlyphRect;
    ActiveGlyphRect = IsNullRect(rec->ActiveGlyphRect) ? GlyphRect : rec->ActiveGlyphRect;
    DownGlyphRect = IsNullRect(rec->DownGlyphRect) ? ActiveGlyphRect : rec->DownGlyphRect;
    GlyphTransparent = rec->GlyphTransparent;
    GlyphTransparentColor = rec->GlyphTransparentColor;
}

void TbsSkinScrollBar::CalcSize(int& AWidth, int& AHeight)
{
    TbsSkinCustomControl::CalcSize(AWidth, AHeight);
    CalcRects();
}

void TbsSkinScrollBar::CalcRects()
{
    const int w = Width(), h = Height();
    const bool horz = Horizontal();
    TRect thumb{};
    int t = 0;  // thumb length along the bar
    const int range = FMax - FMin + 1;
    if (FIndex == -1) {
        if (horz) {
            const int l = FBoth ? w - FBothMarkerWidth : w;
            Buttons[2].R = Rect(1, 1, 17, h - 1);
            Buttons[1].R = Rect(l - 17, 1, l - 1, h - 1);
            NewTrackArea = Rect(17, 1, l - 17, h - 1);
        } else {
            Buttons[2].R = Rect(1, 1, w - 1, 17);
            Buttons[1].R = Rect(1, h - 17, w - 1, h - 1);
            NewTrackArea = Rect(1, 17, w - 1, h - 17);
        }
        const int trackLength = horz ? RectWidth(NewTrackArea) : RectHeight(NewTrackArea);
        t = 16;
        if (FPageSize > 0)
            t = std::max(16, range != 0 ? RoundEven(static_cast<double>(trackLength) * FPageSize / range) : 0);
        thumb = NewTrackArea;  // across the bar the thumb covers the track
    } else {
        const int dw = w - RectWidth(SkinRect), dh = h - RectHeight(SkinRect);
        if (horz) {
            NewTrackArea = TrackArea;
            NewTrackArea.Right += dw;
            Buttons[1].R = UpButtonRect.Left > RTPt.X ? Moved(UpButtonRect, dw, 0) : UpButtonRect;
            Buttons[2].R = DownButtonRect.Left > RTPt.X ? Moved(DownButtonRect, dw, 0) : DownButtonRect;
        } else {
            NewTrackArea = TrackArea;
            NewTrackArea.Bottom += dh;
            Buttons[1].R = UpButtonRect.Top > LBPt.Y ? Moved(UpButtonRect, 0, dh) : UpButtonRect;
            Buttons[2].R = DownButtonRect.Top > LBPt.Y ? Moved(DownButtonRect, 0, dh) : DownButtonRect;
        }
        const int trackLength = horz ? RectWidth(NewTrackArea) : RectHeight(NewTrackArea);
        t = horz ? RectWidth(ThumbRect) : RectHeight(ThumbRect);
        if (ThumbMinSize != 0) t = ThumbMinSize;
        if (FPageSize <= 0) {
            if (ThumbMinPageSize != 0) t = ThumbMinPageSize;
        } else {
            t = std::max(t, range != 0 ? RoundEven(static_cast<double>(trackLength) * FPageSize / range) : 0);
        }
        const int across = horz ? RectHeight(ThumbRect) : RectWidth(ThumbRect);
        if (horz) {
            thumb.Top = NewTrackArea.Top + RectHeight(NewTrackArea) / 2 - across / 2;
            thumb.Bottom = thumb.Top + across;
        } else {
            thumb.Left = NewTrackArea.Left + RectWidth(NewTrackArea) / 2 - across / 2;
            thumb.Right = thumb.Left + across;
        }
    }
    const int half = t / 2;
    const int trackStart = horz ? NewTrackArea.Left : NewTrackArea.Top;
    const int trackEnd = horz ? NewTrackArea.Right : NewTrackArea.Bottom;
    Offset1 = trackStart + half;
    Offset2 = trackEnd - half;
    double f = 0;
    if (FPageSize > 0) {
        const int div = FMax - FPageSize + 1 - FMin;
        f = div > 0 ? static_cast<double>(FPosition - FMin) / div : (horz ? 1.0 : 0.0);
    } else if (FMax != FMin) {
        f = static_cast<double>(FPosition - FMin) / (FMax - FMin);
    }
    // A track shorter than the thumb keeps the thumb at its lowest place.
    BOffset = Offset2 > Offset1 ? RoundEven((Offset2 - Offset1) * f) : 0;
    const int a = Offset1 + BOffset - half, b = Offset1 + BOffset + half;
    if (horz) {
        thumb.Left = a;
        thumb.Right = b;
    } else {
        thumb.Top = a;
        thumb.Bottom = b;
    }
    Buttons[0].R = thumb;
}

void TbsSkinScrollBar::CalcPosition(int Along)
{
    const int d = Along - OMPos + OldBOffset;
    if (FPageSize > 0) {
        const TRect& th = Buttons[0].R;
        const int len = Horizontal() ? RectWidth(th) : RectHeight(th);
        Offset1 = (Horizontal() ? NewTrackArea.Left : NewTrackArea.Top) + len / 2;
        Offset2 = (Horizontal() ? NewTrackArea.Right : NewTrackArea.Bottom) - len / 2;
    }
    double f = Offset2 - Offset1 > 0 ? static_cast<double>(d) / (Offset2 - Offset1) : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    if (FPageSize > 0)
        SetPosition(FMin + RoundEven((FMax - FMin - FPageSize + 1) * f));
    else
        SetPosition(FMin + RoundEven((FMax - FMin) * f));
}

// ---- painting ----

void TbsSkinScrollBar::DrawButton(TCanvas* C, int I)
{
    const TbsScrollBarButton& b = Buttons[I];
    if (IsNullRect(b.R)) return;
    const bool focusedThumb = I == 0 && FCanFocused && Focused();
    TColor frame = clBtnShadow, fill = clBtnFace;
    if ((b.Down && b.MouseIn) || (I == 0 && (b.Down || focusedThumb))) {
        frame = kHotFrame;
        fill = kDownFill;
    } else if (b.MouseIn) {
        frame = kHotFrame;
        fill = kHotFill;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(frame);
    C->FillRect(b.R);
    const TRect inside = Rect(b.R.Left + 1, b.R.Top + 1, b.R.Right - 1, b.R.Bottom - 1);
    C->Brush()->SetColor(fill);
    if (!IsNullRect(inside)) C->FillRect(inside);
    if (I == 0) return;
    int kind = 0;
    if (I == 1)
        kind = Horizontal() ? 2 : 4;
    else
        kind = Horizontal() ? 1 : 3;
    DrawArrowImage(C, inside, clBlack, kind);
}

void TbsSkinScrollBar::CreateControlDefaultImage(TBitmap* B)
{
    CalcRects();
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, B->Width(), B->Height()));
    if (Enabled()) DrawButton(c, 0);
    DrawButton(c, 1);
    DrawButton(c, 2);
}

void TbsSkinScrollBar::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    CalcRects();
    if (!Picture) return;
    TCanvas* c = B->Canvas();
    for (int i : {1, 2}) {
        const TbsScrollBarButton& b = Buttons[i];
        if (!b.MouseIn) continue;
        const TRect& src = i == 1 ? (b.Down ? DownUpButtonRect : ActiveUpButtonRect)
                                  : (b.Down ? DownDownButtonRect : ActiveDownButtonRect);
        if (!IsNullRect(src) && !IsNullRect(b.R)) c->CopyRect(b.R, Picture->Canvas(), src);
    }
    if (Enabled()) DrawSkinThumb(c);
}

void TbsSkinScrollBar::DrawSkinThumb(TCanvas* C)
{
    const TbsScrollBarButton& th = Buttons[0];
    const int w = RectWidth(th.R), h = RectHeight(th.R);
    if (w <= 0 || h <= 0) return;
    const bool pressed = th.Down || (FCanFocused && Focused());
    const TRect& pic = pressed ? DownThumbRect : th.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect& glyph = pressed ? DownGlyphRect : th.MouseIn ? ActiveGlyphRect : GlyphRect;
    if (IsNullRect(pic)) return;
    TBitmap tb;
    if (FPageSize > 0 || ThumbMinPageSize != 0) {
        if (Horizontal())
            CreateHSkinImage(ThumbOffset1, ThumbOffset2, &tb, Picture, pic, w, h, ThumbStretchEffect);
        else
            CreateVSkinImage(ThumbOffset1, ThumbOffset2, &tb, Picture, pic, w, h, ThumbStretchEffect);
    } else {
        tb.SetSize(w, h);
        tb.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), pic);
    }
    if (tb.Empty()) return;
    const int gw = RectWidth(glyph), gh = RectHeight(glyph);
    if (gw > 0 && gh > 0 && (Horizontal() ? gw < tb.Width() : gh < tb.Height())) {
        TBitmap g(gw, gh);
        g.Canvas()->CopyRect(Rect(0, 0, gw, gh), Picture->Canvas(), glyph);
        if (GlyphTransparent) {
            g.SetTransparentColor(GlyphTransparentColor);
            g.SetTransparent(true);
        }
        tb.Canvas()->Draw(tb.Width() / 2 - gw / 2, tb.Height() / 2 - gh / 2, &g);
    }
    if (ThumbTransparent) {
        tb.SetTransparentColor(ThumbTransparentColor);
        tb.SetTransparent(true);
    }
    C->Draw(th.R.Left, th.R.Top, &tb);
}

void TbsSkinScrollBar::PaintInto(HDC DC)
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    int w = Width(), h = Height();
    CalcSize(w, h);
    TBitmap b(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    TCanvas c;
    c.SetHandle(DC);
    c.Draw(0, 0, &b);
    c.SetHandle(nullptr);
}

// ---- mouse ----

void TbsSkinScrollBar::StartTimer(UINT Interval)
{
    if (!HandleAllocated()) return;
    KillTimer(Handle(), kRepeatTimer);
    SetTimer(Handle(), kRepeatTimer, Interval, nullptr);
}

void TbsSkinScrollBar::StopTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    TimerMode = 0;
}

void TbsSkinScrollBar::UpStep()
{
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::DownStep()
{
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(FPosition - FSmallChange);
}

void TbsSkinScrollBar::PageStep(bool TowardMax)
{
    SetPosition(TowardMax ? FPosition + FLargeChange : FPosition - FLargeChange);
    if (TowardMax) {
        if (OnPageDown) OnPageDown(this);
    } else if (OnPageUp) {
        OnPageUp(this);
    }
}

bool TbsSkinScrollBar::BeforeThumb(int X, int Y) const
{
    return Horizontal() ? X < Buttons[0].R.Left : Y < Buttons[0].R.Top;
}

bool TbsSkinScrollBar::AfterThumb(int X, int Y) const
{
    return Horizontal() ? X > Buttons[0].R.Right : Y > Buttons[0].R.Bottom;
}

void TbsSkinScrollBar::ButtonDown(int I)
{
    Buttons[I].Down = true;
    Repaint();
    switch (I) {
    case 0:
        OMPos = Horizontal() ? MX : MY;
        OldBOffset = BOffset;
        FDown = true;
        Repaint();
        break;
    case 1:
        UpStep();
        TimerMode = 2;
        StartTimer(kFirstRepeat);
        break;
    case 2:
        DownStep();
        TimerMode = 1;
        StartTimer(kFirstRepeat);
        break;
    default: break;
    }
}

void TbsSkinScrollBar::ButtonUp(int I)
{
    Buttons[I].Down = false;
    if (I != ActiveButton) Buttons[I].MouseIn = false;
    Repaint();
    if (I == 0)
        FDown = false;
    else
        StopTimer();
}

void TbsSkinScrollBar::ButtonEnter(int I)
{
    Buttons[I].MouseIn = true;
    Repaint();
    if (I != 0 && Buttons[I].Down) StartTimer(kRepeat);
}

void TbsSkinScrollBar::ButtonLeave(int I)
{
    Buttons[I].MouseIn = false;
    Repaint();
    if (I != 0 && Buttons[I].Down && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
}

void TbsSkinScrollBar::TestActive(int X, int Y)
{
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (PointInsideRect(Buttons[i].R, Point(X, Y))) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
    if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    MX = X;
    MY = Y;
    MouseD = true;
    CalcRects();
    TimerMode = 0;
    WaitMode = true;
    for (int i = 0; i < 3; ++i)
        if (PointInsideRect(Buttons[i].R, Point(X, Y))) {
            CaptureButton = i;
            ButtonDown(i);
            return;
        }
    if (!PointInsideRect(NewTrackArea, Point(X, Y))) return;
    const bool towardMax = !BeforeThumb(X, Y);
    TimerMode = towardMax ? 4 : 3;
    StartTimer(kFirstRepeat);
    PageStep(towardMax);
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    MX = X;
    MY = Y;
    TestActive(X, Y);
    if (FDown) CalcPosition(Horizontal() ? X : Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    MouseD = false;
    if (TimerMode == 3 || TimerMode == 4) StopTimer();
    const int captured = CaptureButton;
    if (captured != -1) ButtonUp(captured);
    if (Button == mbLeft && captured == 0 && OnLastChange) OnLastChange(this);
    CaptureButton = -1;
}

// ---- keys, wheel, timer and messages ----

void TbsSkinScrollBar::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!FCanFocused) return;
    if (Key == VK_LEFT || Key == VK_UP)
        SetPosition(FPosition - FSmallChange);
    else if (Key == VK_RIGHT || Key == VK_DOWN)
        SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::WndProc(TMessage& m)
{
    // A click on an unfocused bar first gives it the focus; refused, no click.
    if (FCanFocused && !PassFocusingPress(this, m, FClicksDisabled)) return;
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinScrollBar::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint && m.WParam) PaintInto(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (FCanFocused) Repaint();
        return;
    case WM_MOUSEWHEEL:
        if (FCanFocused && Focused()) {
            if (GET_WHEEL_DELTA_WPARAM(m.WParam) > 0)
                SetPosition(FPosition - FSmallChange);
            else
                SetPosition(FPosition + FSmallChange);
        }
        m.Result = 1;
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(m);
        if (WaitMode) {
            WaitMode = false;
            StartTimer(kRepeat);
            return;
        }
        switch (TimerMode) {
        case 1: DownStep(); break;
        case 2: UpStep(); break;
        case 3:
        case 4:
            TestActive(MX, MY);
            CalcRects();
            if (TimerMode == 3 ? BeforeThumb(MX, MY) : AfterThumb(MX, MY))
                PageStep(TimerMode == 4);
            else
                StopTimer();
            break;
        default: break;
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(m);
        if (ComponentState() & csDesigning) return;
        if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
            Buttons[ActiveButton].MouseIn = false;
            Repaint();
            ActiveButton = -1;
        }
        if (MouseD && TimerMode == 4) StopTimer();
        return;
    case CM_WANTSPECIALKEY:
        TbsSkinCustomControl::Dispatch(m);
        if (FCanFocused && (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN))
            m.Result = 1;
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

// ---- the owner's side of the protocol ----

void LinkExternalScrollBar(TbsSkinScrollBar* Bar, TNotifyEvent OnChange)
{
    if (!Bar) return;
    Bar->SetEnabled(true);
    Bar->SetVisible(false);
    Bar->OnChange = std::move(OnChange);
}

bool ShowExternalScrollBar(TbsSkinScrollBar* Bar, bool Show, bool& Guard)
{
    if (!Bar || Bar->Visible() == Show) return false;
    Guard = true;
    try {
        Bar->SetVisible(Show);
    } catch (...) {
        Guard = false;
        throw;
    }
    Guard = false;
    return true;
}

void FinishExternalScrollBars(TControl* Owner, TbsSkinScrollBar* HBar, TbsSkinScrollBar* VBar, bool Changed,
                              bool& Guard)
{
    if (HBar && VBar && HBar->Both() != VBar->Visible()) HBar->SetBoth(VBar->Visible());
    if (!Changed || Owner->Align() == alNone || !Owner->Parent()) return;
    Guard = true;
    try {
        Owner->Parent()->Realign();
    } catch (...) {
        Guard = false;
        throw;
    }
    Guard = false;
}
