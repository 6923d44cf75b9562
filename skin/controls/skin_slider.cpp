#include "skin/controls/skin_slider.h"

#include <algorithm>
#include <cmath>

#include "skin/core/marks.h"
#include "skin/core/parent_background.h"
#include "skin/core/range_records.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"

namespace {
constexpr UINT_PTR kTrackTimer = 1;
constexpr UINT kTrackInterval = 400;
const TColor kMagenta = TColor(0xFF00FF);
const TColor kThumbGrey = TColor(0x777777);    // RGB(119, 119, 119)
const TColor kPressedGrey = TColor(0x8C8C8C);  // RGB(140, 140, 140)

// The nearest integer, a half going to the even neighbour.
int Nearest(double X) { return static_cast<int>(std::nearbyint(X)); }

void Fill(TBitmap& B, int W, int H)
{
    B.SetSize(W, H);
    B.Canvas()->Brush()->SetColor(kMagenta);
    B.Canvas()->FillRect(Rect(0, 0, W, H));
}

void Span(TBitmap& B, int X0, int X1, int Y0, int Y1, TColor C)
{
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(X0, Y0, X1, Y1));
}

// The built-in images, drawn from their pixel description: magenta background, grey shapes.
void BuiltInImage(int Index, TBitmap& B)
{
    switch (Index) {
    case siHThumb:
        // Two states of 5 columns, each pointing down: rows 1-12 solid, row 13 the middle 3,
        // row 14 the middle one.
        Fill(B, 10, 15);
        for (int s = 0; s < 2; ++s) {
            const TColor c = s ? kPressedGrey : kThumbGrey;
            const int x = s * 5;
            Span(B, x, x + 5, 1, 13, c);
            Span(B, x + 1, x + 4, 13, 14, c);
            Span(B, x + 2, x + 3, 14, 15, c);
        }
        break;
    case siHRuler:
        Fill(B, 10, 7);
        Span(B, 0, 10, 3, 4, kThumbGrey);
        break;
    case siVThumb:
        // Two states pointing right: columns 1-12 of rows 1 and 5, 1-13 of rows 2 and 4, 1-14 of
        // row 3; the second state from column 16.
        Fill(B, 31, 7);
        for (int s = 0; s < 2; ++s) {
            const TColor c = s ? kPressedGrey : kThumbGrey;
            const int x = 1 + s * 15;
            for (int row = 1; row <= 5; ++row) {
                const int len = row == 3 ? 14 : (row == 2 || row == 4) ? 13 : 12;
                Span(B, x, x + len, row, row + 1, c);
            }
        }
        break;
    default:
        Fill(B, 7, 10);
        Span(B, 3, 4, 0, 10, kThumbGrey);
        break;
    }
}

// B drawn on Cnvs at (X, Y) with the colour of its lower-left pixel transparent.
void DrawKeyed(TCanvas* Cnvs, int X, int Y, TBitmap& B)
{
    if (B.Empty()) return;
    B.SetTransparentColor(B.Canvas()->Pixels(0, B.Height() - 1));
    B.SetTransparent(true);
    Cnvs->Draw(X, Y, &B);
    B.SetTransparent(false);
}
}  // namespace

TbsSkinCustomSlider::TbsSkinCustomSlider(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetTabStop(true);
    SetBounds(FLeft, FTop, 150, 40);
    for (int i = 0; i < 4; ++i) {
        BuiltInImage(i, FImages[i]);
        FImages[i].OnChange = [this](TObject*) { SliderImageChanged(); };
    }
    FSkinDataName = L"slider";
    FConstructing = false;
    Layout();
}

TbsSkinCustomSlider::~TbsSkinCustomSlider()
{
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
    for (auto& image : FImages) image.OnChange = nullptr;
    if (FThumbImageList) FThumbImageList->RemoveFreeNotification(this);
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), kTrackTimer);
}

// ---- skin ----

void TbsSkinCustomSlider::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinSlider*>(Record());
    if (!r) return;
    Picture = nullptr;
    if (r->PictureIndex >= 0 && r->PictureIndex < static_cast<int>(FSD->FActivePictures.size()))
        Picture = FSD->FActivePictures[static_cast<size_t>(r->PictureIndex)];
    HRulerRect = r->HRulerRect;
    HThumbRect = r->HThumbRect;
    VRulerRect = r->VRulerRect;
    VThumbRect = r->VThumbRect;
    SkinEdgeSize = r->EdgeSize;
    BGColor = r->BGColor;
    PointsColor = r->PointsColor;
}

bool TbsSkinCustomSlider::SkinLook() const
{
    // A record of another kind, or one without a picture, keeps the built-in look.
    return FIndex != -1 && Picture && dynamic_cast<TbsDataSkinSlider*>(Record());
}

bool TbsSkinCustomSlider::SkinThumb() const
{
    const TRect& t = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
    return SkinLook() && FUseSkinThumb && RectWidth(t) >= 2 && RectHeight(t) > 0;
}

void TbsSkinCustomSlider::ChangeSkinData() { Layout(); }

// ---- geometry ----

void TbsSkinCustomSlider::ThumbSize(int& TW, int& TH, int& States)
{
    if (SkinThumb()) {
        const TRect& t = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
        TW = RectWidth(t) / 2;
        TH = RectHeight(t);
        States = 2;
    } else if (FThumbImageList) {
        TW = FThumbImageList->Width();
        TH = FThumbImageList->Height();
        States = 1;
    } else {
        TBitmap& b = FImages[FOrientation == soHorizontal ? siHThumb : siVThumb];
        States = std::max(1, FNumThumbStates);
        TW = b.Width() / States;
        TH = b.Height();
    }
}

int TbsSkinCustomSlider::TrackLength()
{
    int tw, th, s;
    ThumbSize(tw, th, s);
    return FOrientation == soHorizontal ? FRuler.Width() - tw : FRuler.Height() - th;
}

int TbsSkinCustomSlider::TrackOrigin()
{
    TRect r;
    GetSliderRect(r);
    return (FOrientation == soHorizontal ? r.Left : r.Top) + 6;
}

void TbsSkinCustomSlider::ComposeRuler()
{
    TRect r;
    GetSliderRect(r);
    const bool h = FOrientation == soHorizontal;
    const int len = std::max(0, h ? RectWidth(r) - 12 : RectHeight(r) - 12);
    if (SkinLook()) {
        const TRect& src = h ? HRulerRect : VRulerRect;
        if (IsNullRect(src) || len == 0) {
            FRuler.SetSize(0, 0);
        } else if (h) {
            CreateHSkinImage(SkinEdgeSize, SkinEdgeSize, &FRuler, Picture, src, len, RectHeight(src), false);
        } else {
            CreateVSkinImage(SkinEdgeSize, SkinEdgeSize, &FRuler, Picture, src, RectWidth(src), len, false);
        }
        return;
    }
    TBitmap& img = FImages[h ? siHRuler : siVRuler];
    const int n = h ? img.Width() : img.Height();
    const int thick = h ? img.Height() : img.Width();
    const int e = FEdgeSize;
    const int a = len - 2 * e, m = n - 2 * e;
    if (m <= 0 || len == 0 || thick == 0) {  // no middle to repeat: an empty ruler
        FRuler.SetSize(h ? len : 0, h ? 0 : len);
        return;
    }
    FRuler.SetSize(h ? len : thick, h ? thick : len);
    Fill(FRuler, FRuler.Width(), FRuler.Height());
    const int k = a / m + 1;
    for (int i = 0; i < k; ++i) {
        int p, w, q;
        if (i == 0) {
            p = 0, w = n - e, q = 0;
        } else if (i < k - 1) {
            p = e + i * m, w = m, q = e;
        } else {
            p = e + i * m, w = e + a % m, q = e + m - a % m;
        }
        if (k == 1) w = std::min(w, len);
        if (h)
            FRuler.Canvas()->CopyRect(Rect(p, 0, p + w, thick), img.Canvas(), Rect(q, 0, q + w, thick));
        else
            FRuler.Canvas()->CopyRect(Rect(0, p, thick, p + w), img.Canvas(), Rect(0, q, thick, q + w));
    }
}

void TbsSkinCustomSlider::Layout()
{
    GetSkinData();
    const int v = FValue;
    TRect r;
    GetSliderRect(r);
    ComposeRuler();
    const int rw = FRuler.Width(), rh = FRuler.Height();
    int tw, th, s;
    ThumbSize(tw, th, s);
    if (FOrientation == soHorizontal) {
        const int o = r.Left + 6;
        TPoint thumb;
        if (th > rh) {
            thumb = Point(o, r.Top + 6);
            FRulerOrg = Point(o, r.Top + 6 + (th - rh) / 2);
        } else {
            FRulerOrg = Point(o, r.Top + 6);
            thumb = Point(o, r.Top + 6 + (rh - th) / 2);
        }
        FThumbRect = Rect(thumb.X, thumb.Y, thumb.X + tw, thumb.Y + th);
        FPointsRect = Rect(FRulerOrg.X, r.Top + 7 + std::max(th, rh), FRulerOrg.X + rw, r.Bottom - r.Top - 1);
    } else {
        const int o = r.Top + 6;
        TPoint thumb;
        if (tw > rw) {
            thumb = Point(r.Left + 6, o);
            FRulerOrg = Point(r.Left + 6 + (tw - rw) / 2, o);
        } else {
            FRulerOrg = Point(r.Left + 6, o);
            thumb = Point(r.Left + 6 + (rw - tw) / 2, o);
        }
        FThumbRect = Rect(thumb.X, thumb.Y, thumb.X + tw, thumb.Y + th);
        FPointsRect = Rect(r.Left + 7 + std::max(tw, rw), FRulerOrg.Y, r.Right - r.Left - 1, FRulerOrg.Y + rh);
    }
    SetValue(v);
    Invalidate();
}

int TbsSkinCustomSlider::ValueToPosition(int V)
{
    const int o = TrackOrigin(), l = TrackLength();
    const int range = FMaxValue - FMinValue;
    // A track of length 0 or an empty range: the thumb stays at the origin.
    const int off = l > 0 && range > 0 ? Nearest(static_cast<double>(l) * (V - FMinValue) / range) : 0;
    int p;
    if (FOrientation == soHorizontal) {
        p = o + off;
    } else {
        TRect r;
        GetSliderRect(r);
        int tw, th, s;
        ThumbSize(tw, th, s);
        p = r.Top + r.Bottom - o - off - th;
    }
    return std::max(p, o);
}

int TbsSkinCustomSlider::PositionToValue(int P)
{
    const int o = TrackOrigin(), l = TrackLength();
    if (FOrientation == soVertical) {
        int tw, th, s;
        ThumbSize(tw, th, s);
        P = ClientHeight() - P - th;
    }
    int x = l > 0 ? Nearest(static_cast<double>(P - o) * (FMaxValue - FMinValue) / l) : 0;
    if (!FOptions.Contains(soSmooth) && FIncrement > 0) x = FIncrement * Nearest(static_cast<double>(x) / FIncrement);
    return std::min(std::max(x, 0) + FMinValue, FMaxValue);
}

void TbsSkinCustomSlider::SnapThumbPosition(int& P, TPoint& TopLeft)
{
    const int o = TrackOrigin(), l = std::max(0, TrackLength());
    P = std::min(std::max(P, o), o + l);
    P = std::min(ValueToPosition(PositionToValue(P)), o + l);
    TopLeft = FOrientation == soHorizontal ? Point(P, FThumbRect.Top) : Point(FThumbRect.Left, P);
}

void TbsSkinCustomSlider::InvalidateThumb()
{
    if (!HandleAllocated()) return;
    RECT r{FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom};
    InvalidateRect(Handle(), &r, !FControlStyle.Contains(csOpaque));
}

void TbsSkinCustomSlider::MoveThumb(int P)
{
    const int old = FValue;
    TPoint tl;
    SnapThumbPosition(P, tl);
    InvalidateThumb();
    FThumbRect = Rect(tl.X, tl.Y, tl.X + RectWidth(FThumbRect), tl.Y + RectHeight(FThumbRect));
    InvalidateThumb();
    if (FSliding) {
        FValue = PositionToValue(P);
        if (FValue != old) Change();
    }
}

// ---- values ----

void TbsSkinCustomSlider::SetValue(int V)
{
    V = std::max(std::min(V, FMaxValue), FMinValue);
    const bool changed = V != FValue;
    FValue = V;
    MoveThumb(ValueToPosition(V));
    if (changed) Change();
}

void TbsSkinCustomSlider::SetMinValue(int Value)
{
    if (Value != FMinValue) SetMinMax(Value, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(int Value)
{
    if (Value != FMaxValue) SetMinMax(FMinValue, Value);
}

void TbsSkinCustomSlider::SetMinMax(int AMin, int AMax)
{
    const bool reading = ComponentState() & csReading;
    if (!reading && AMin >= AMax) return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!reading && AMax < AMin + FIncrement) FIncrement = AMax - AMin;
    if (FOptions.Contains(soShowPoints)) Invalidate();
    SetValue(FValue);
    RangeChanged();
}

void TbsSkinCustomSlider::SetIncrement(int Value)
{
    if (Value <= 0 || Value == FIncrement) return;
    FIncrement = Value;
    SetValue(FValue);
    Invalidate();
}

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation Value)
{
    if (Value == FOrientation) return;
    FOrientation = Value;
    UpdateLayout();
    if (!(ComponentState() & (csLoading | csUpdating))) SetBounds(Left(), Top(), Height(), Width());
}

void TbsSkinCustomSlider::SetEdgeSize(int Value)
{
    const TBitmap& img = FImages[FOrientation == soHorizontal ? siHRuler : siVRuler];
    const int n = FOrientation == soHorizontal ? img.Width() : img.Height();
    if (2 * Value >= n || Value == FEdgeSize) return;
    FEdgeSize = Value;
    UpdateLayout();
}

void TbsSkinCustomSlider::SetNumThumbStates(int Value)
{
    Value = std::clamp(Value, 1, 2);
    if (Value == FNumThumbStates) return;
    FNumThumbStates = Value;
    Layout();
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions Value)
{
    if (Value.Bits() == FOptions.Bits()) return;
    FOptions = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetThumbImageList(TCustomImageList* Value)
{
    if (Value == FThumbImageList) return;
    if (FThumbImageList) FThumbImageList->RemoveFreeNotification(this);
    FThumbImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinCustomSlider::ResetImage(int Index)
{
    BuiltInImage(Index, FImages[Index]);
    SliderImageChanged();
}

void TbsSkinCustomSlider::SetSliderImage(TbsSliderImage Index, TBitmap* Value)
{
    if (Value) {
        FImages[Index].Assign(Value);
        FUserImages.Include(Index);
        return;
    }
    ResetImage(Index);
    FUserImages.Exclude(Index);
    if (!(ComponentState() & csReading)) {
        if (Index == siHThumb || Index == siVThumb)
            FOptions.Exclude(soThumbOpaque);
        else
            FOptions.Exclude(soRulerOpaque);
    }
    Invalidate();
}

void TbsSkinCustomSlider::SliderImageChanged()
{
    if (!FConstructing) UpdateLayout();
}

void TbsSkinCustomSlider::Loaded()
{
    // Sizes set while the form was read were not laid out (and a window made at its loaded size
    // hears of no change): one layout now, with the loaded size and the user's images.
    TbsSkinControl::Loaded();
    if (!FConstructing) UpdateLayout();
}

void TbsSkinCustomSlider::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FThumbImageList) FThumbImageList = nullptr;
}

void TbsSkinCustomSlider::Change()
{
    if (OnChange) OnChange(this);
}

void TbsSkinCustomSlider::Changed()
{
    if (OnChanged) OnChanged(this);
}

// ---- jumps and tracking ----

TbsJumpMode TbsSkinCustomSlider::JumpModeAt(int X, int Y)
{
    if (FOrientation == soHorizontal) {
        if (X < FThumbRect.Left) return jmPrior;
        if (X > FThumbRect.Right) return jmNext;
    } else {
        if (Y < FThumbRect.Top) return jmNext;
        if (Y > FThumbRect.Bottom) return jmPrior;
    }
    return jmNone;
}

void TbsSkinCustomSlider::DoJump(TbsJumpMode Mode)
{
    int v;
    const int inc = std::max(1, FIncrement);
    const int grid = inc * Nearest(static_cast<double>(FValue) / inc);
    switch (Mode) {
    case jmHome: v = FMinValue; break;
    case jmEnd: v = FMaxValue; break;
    case jmNext: v = grid + inc; break;
    case jmPrior: v = grid - inc; break;
    default: return;
    }
    v = std::max(std::min(v, FMaxValue), FMinValue);
    if (v != FValue) SetValue(v);
}

void TbsSkinCustomSlider::TrackStep()
{
    if (JumpModeAt(FMousePos.X, FMousePos.Y) != FStartJump) return;  // the thumb reached the mouse
    DoJump(FStartJump);
    if (!FTimerActive && HandleAllocated()) {
        SetTimer(Handle(), kTrackTimer, kTrackInterval, nullptr);
        FTimerActive = true;
    }
}

void TbsSkinCustomSlider::EndTrack()
{
    if (!FTracking) return;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), kTrackTimer);
    FTimerActive = false;
    FTracking = false;
    SetMouseCapture(false);
    Changed();
}

// ---- mouse and keys ----

void TbsSkinCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Shift.Contains(ssDouble)) return;
    if (CanFocus()) SetFocus();
    if (PtInRect(FThumbRect, Point(X, Y))) {
        ThumbMouseDown(Button, Shift, X, Y);
        return;
    }
    TRect zone = Rect(FRulerOrg.X, FRulerOrg.Y, FRulerOrg.X + FRuler.Width(), FRulerOrg.Y + FRuler.Height());
    if (FOrientation == soHorizontal)
        zone.Top -= 3, zone.Bottom += 3;
    else
        zone.Left -= 3, zone.Right += 3;
    if (!PtInRect(zone, Point(X, Y)) || !CanModify()) return;
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = Point(X, Y);
    FStartJump = JumpModeAt(X, Y);
    TrackStep();
}

void TbsSkinCustomSlider::ThumbMouseDown(TMouseButton Button, TShiftState, int X, int Y)
{
    if (CanFocus()) SetFocus();
    if (Button != mbLeft || !CanModify()) return;
    FSliding = true;
    FThumbDown = true;
    FHit = FOrientation == soHorizontal ? X - FThumbRect.Left : Y - FThumbRect.Top;
    InvalidateThumb();
    Update();
}

void TbsSkinCustomSlider::MouseMove(TShiftState Shift, int X, int Y)
{
    if (Shift.Contains(ssLeft) && FSliding)
        ThumbMouseMove(Shift, X, Y);
    else if (FTracking)
        FMousePos = Point(X, Y);
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::ThumbMouseMove(TShiftState, int X, int Y)
{
    if (CanModify()) MoveThumb(FOrientation == soHorizontal ? X - FHit : Y - FHit);
}

void TbsSkinCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    EndTrack();
    if (FSliding) ThumbMouseUp(Button, Shift, X, Y);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::ThumbMouseUp(TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft) return;
    FSliding = false;
    FThumbDown = false;
    InvalidateThumb();
    Update();
    if (CanModify()) Changed();
}

void TbsSkinCustomSlider::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsJumpMode mode = jmNone;
    if (Shift.Empty() && CanModify()) {
        const bool h = FOrientation == soHorizontal;
        switch (Key) {
        case VK_HOME: mode = jmHome; break;
        case VK_END: mode = jmEnd; break;
        case VK_LEFT: mode = h ? jmPrior : jmNone; break;
        case VK_RIGHT: mode = h ? jmNext : jmNone; break;
        case VK_UP: mode = h ? jmNone : jmNext; break;
        case VK_DOWN: mode = h ? jmNone : jmPrior; break;
        default: break;
        }
    }
    if (mode != jmNone) {
        DoJump(mode);
        Changed();
        Key = 0;
    }
    TbsSkinControl::KeyDown(Key, Shift);
}

// ---- painting ----

void TbsSkinCustomSlider::DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight)
{
    DrawPoints(Canvas(), PointsStep, PointsHeight, ExtremePointsHeight);
}

void TbsSkinCustomSlider::DrawPoints(TCanvas* Cnvs, int Step, int PointsHeight, int ExtremePointsHeight)
{
    const int l = TrackLength();
    const int range = FMaxValue - FMinValue;
    if (Step <= 0 || l <= 0 || range <= 0) return;  // nothing to space marks by
    Cnvs->Pen()->SetColor(SkinLook() ? PointsColor : clWindowText);
    int tw, th, states;
    if (SkinThumb()) {
        tw = RectWidth(HThumbRect), th = RectHeight(VThumbRect), states = 2;
    } else {
        tw = FImages[siHThumb].Width(), th = FImages[siVThumb].Height(), states = std::max(1, FNumThumbStates);
    }
    int k = 0, n = 0, d = 0;
    do {
        ++k;
        n = Nearest(static_cast<double>(range) / (static_cast<double>(k) * Step)) + 1;
        d = n > 1 ? l / (n - 1) : l;
    } while (d < 4 && d < l);
    for (int j = 1; j <= n; ++j) {
        const int v = j == n ? FMaxValue : FMinValue + (j - 1) * k * Step;
        const int len = v == FMinValue || v == FMaxValue ? ExtremePointsHeight : PointsHeight;
        const int p = ValueToPosition(v);
        if (FOrientation == soHorizontal) {
            const int x = p + (tw / states) / 2;
            Cnvs->MoveTo(x, FPointsRect.Top);
            Cnvs->LineTo(x, FPointsRect.Top + len);
        } else {
            const int y = p + th / 2;
            Cnvs->MoveTo(FPointsRect.Left, y);
            Cnvs->LineTo(FPointsRect.Left + len, y);
        }
    }
}

void TbsSkinCustomSlider::DrawThumb(TCanvas* Cnvs, const TPoint& Org, bool Second)
{
    if (SkinThumb()) {
        TRect src = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
        const int half = RectWidth(src) / 2;
        if (Second)
            src.Left += half;
        else
            src.Right = src.Left + half;
        TBitmap t(RectWidth(src), RectHeight(src));
        t.Canvas()->CopyRect(Rect(0, 0, t.Width(), t.Height()), Picture->Canvas(), src);
        DrawKeyed(Cnvs, Org.X, Org.Y, t);
        return;
    }
    if (FThumbImageList) {
        const int i = Second ? FThumbActiveImageIndex : FThumbImageIndex;
        if (i >= 0 && i < FThumbImageList->Count()) FThumbImageList->Draw(Cnvs, Org.X, Org.Y, i, true);
        return;
    }
    TBitmap& img = FImages[FOrientation == soHorizontal ? siHThumb : siVThumb];
    TRect src = Rect(0, 0, img.Width(), img.Height());
    if (FNumThumbStates > 1) {
        if (Second)
            src.Left = img.Width() / 2;
        else
            src.Right = img.Width() / 2;
    }
    TBitmap t(RectWidth(src), RectHeight(src));
    if (t.Empty()) return;
    t.Canvas()->CopyRect(Rect(0, 0, t.Width(), t.Height()), img.Canvas(), src);
    if (FOptions.Contains(soThumbOpaque))
        Cnvs->Draw(Org.X, Org.Y, &t);
    else
        DrawKeyed(Cnvs, Org.X, Org.Y, t);
}

void TbsSkinCustomSlider::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    const bool skin = SkinLook();
    TRect r;
    GetSliderRect(r);
    // Everything goes through one off-screen picture, drawn in one step.
    TBitmap b(Width(), Height());
    TCanvas* c = b.Canvas();
    if (FTransparent) {
        PaintParentBackground(this, c);
    } else {
        c->Brush()->SetColor(skin ? BGColor : Color());
        c->FillRect(Rect(0, 0, Width(), Height()));
    }
    if (FRuler.Width() > 0 && FRuler.Height() > 0) {
        if (!skin && FOptions.Contains(soRulerOpaque))
            c->Draw(FRulerOrg.X, FRulerOrg.Y, &FRuler);
        else
            DrawKeyed(c, FRulerOrg.X, FRulerOrg.Y, FRuler);
    }
    if (FOptions.Contains(soShowFocus) && FFocused && !(ComponentState() & csDesigning)) {
        if (skin && FSD->SkinColors()) c->Font()->SetColor(FSD->SkinColors()->cBtnText());
        DrawDottedFocusRect(c, Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    }
    // Painted into a copy (a picture of the control, not the screen): the thumb stands where the
    // value to show puts it, and a drag under way is not shown.
    const bool copy = ControlState().Contains(csPaintCopy);
    TPoint org = Point(FThumbRect.Left, FThumbRect.Top);
    if (copy) {
        int p = ValueToPosition(GetPaintValue());
        SnapThumbPosition(p, org);
    }
    const bool second = (FThumbDown && !copy) || !Enabled();
    if (FOptions.Contains(soShowPoints) && OnDrawPoints) {
        // The handler draws on Canvas: the picture goes first, the marks and the thumb over it.
        Canvas()->Draw(0, 0, &b);
        OnDrawPoints(this);
        DrawThumb(Canvas(), org, second);
        return;
    }
    if (FOptions.Contains(soShowPoints)) DrawPoints(c, FIncrement, 3, 5);
    DrawThumb(c, org, second);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinCustomSlider::Resize()
{
    // Every size change (WM_SIZE with a window, SetBounds without one) lays the slider out again.
    TbsSkinControl::Resize();
    if (!FConstructing && !(ComponentState() & csReading)) UpdateLayout();
}

void TbsSkinCustomSlider::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOVE:
        TbsSkinControl::Dispatch(m);
        if (FTransparent) Invalidate();
        return;
    case WM_SKIN_PARENTBGCHANGED:
        if (FTransparent) Repaint();
        return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_TIMER:
        if (m.WParam == kTrackTimer) TrackStep();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinControl::Dispatch(m);
        InvalidateThumb();
        return;
    case CM_FOCUSCHANGED: {
        const bool mine = reinterpret_cast<TControl*>(m.LParam) == this;
        if (mine != FFocused) {
            FFocused = mine;
            if (FOptions.Contains(soShowFocus)) Invalidate();
        }
        TbsSkinControl::Dispatch(m);
        return;
    }
    default: TbsSkinControl::Dispatch(m);
    }
}
