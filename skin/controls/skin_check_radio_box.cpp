#include "skin/controls/skin_check_radio_box.h"

#include <algorithm>
#include <memory>

#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/forms/action.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/parent_background.h"
#include "skin/core/text_layout.h"

namespace {
TRect OrElse(const TRect& R, const TRect& Fallback) { return IsNullRect(R) ? Fallback : R; }
}  // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    FTabStop = false;
    FSkinDataName = L"checkbox";
    SetBounds(FLeft, FTop, 150, 25);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox()
{
    FMorph.Stop();
    if (FImages) FImages->RemoveFreeNotification(this);
}

// ---- state ----

void TbsSkinCheckRadioBox::FireClick()
{
    if (OnClick && !(ComponentState() & csDestroying)) OnClick(this);
}

void TbsSkinCheckRadioBox::SetChecked(bool Value)
{
    FChecked = Value;
    if (Value)
        FState = cbChecked;
    else if (FState == cbChecked)
        FState = cbUnchecked;  // a grayed box stays grayed
    Repaint();
    if (Value && FGroupIndex != 0 && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinCheckRadioBox*>(Parent()->Controls(i));
            if (b && b != this && b->FGroupIndex == FGroupIndex && b->FChecked) b->SetChecked(false);
        }
    }
    if (!FRadio || FChecked) FireClick();
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value)
{
    FState = Value;
    FChecked = Value == cbChecked;
    Repaint();
    FireClick();
}

void TbsSkinCheckRadioBox::Toggle()
{
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool Value)
{
    FAllowGrayed = Value;
    Repaint();
}

// Choosing "checkbox" or "radiobox" with the kind is a design-time convenience: at run time the
// stored name stays.
void TbsSkinCheckRadioBox::SetRadio(bool Value)
{
    FRadio = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value)
{
    FFlat = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TbsSkinCheckRadioBox::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender); a && (!CheckDefaults || !FChecked)) SetChecked(a->Checked());
}

bool TbsSkinCheckRadioBox::IsFocused() { return Focused() && FCanFocused; }

// ---- skin data and size ----

void TbsSkinCheckRadioBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    auto* r = dynamic_cast<TbsDataSkinCheckRadioControl*>(Record());
    if (r) {
        FontName = r->FontName;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        FontColor = r->FontColor;
        ActiveFontColor = r->ActiveFontColor;
        FrameFontColor = r->FrameFontColor;
        UnEnabledFontColor = r->UnEnabledFontColor;
        ActiveSkinRect = OrElse(r->ActiveSkinRect, r->SkinRect);
        CheckImageArea = r->CheckImageArea;
        TextArea = r->TextArea;
        CheckImageRect = r->CheckImageRect;
        UnCheckImageRect = r->UnCheckImageRect;
        ActiveCheckImageRect = OrElse(r->ActiveCheckImageRect, CheckImageRect);
        ActiveUnCheckImageRect = OrElse(r->ActiveUnCheckImageRect, UnCheckImageRect);
        UnEnabledCheckImageRect = OrElse(r->UnEnabledCheckImageRect, CheckImageRect);
        UnEnabledUnCheckImageRect = OrElse(r->UnEnabledUnCheckImageRect, UnCheckImageRect);
        GrayedCheckImageRect = r->GrayedCheckImageRect;
        ActiveGrayedCheckImageRect = r->ActiveGrayedCheckImageRect;
        FMorphing = r->Morphing;
        MorphKind = r->MorphKind;
    }
    if (FFlat) {
        // A flat box neither morphs nor has a window region.
        FMorphing = false;
        MaskPicture = nullptr;
    }
}

void TbsSkinCheckRadioBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FFlat) return;
    TbsSkinCustomControl::CalcSize(AWidth, AHeight);
    const int dw = AWidth - RectWidth(SkinRect);
    NewTextArea = Rect(TextArea.Left, TextArea.Top, TextArea.Right + dw, TextArea.Bottom);
    TRect area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right) area = Rect(area.Left + dw, area.Top, area.Right + dw, area.Bottom);
    const int iw = RectWidth(CheckImageRect), ih = RectHeight(CheckImageRect);
    const int l = RectWidth(area) / 2 + area.Left - iw / 2, t = RectHeight(area) / 2 + area.Top - ih / 2;
    CIRect = Rect(l, t, l + iw, t + ih);
}

void TbsSkinCheckRadioBox::ChangeSkinData()
{
    if (FFlat) {
        GetSkinData();  // a flat box keeps its size
        Repaint();
        return;
    }
    TbsSkinCustomControl::ChangeSkinData();
}

void TbsSkinCheckRadioBox::CheckParentBackground()
{
    if (FFlat) Repaint();
}

// ---- morph ----

bool TbsSkinCheckRadioBox::MorphingActive() const
{
    return FMorphing && FSD && !FSD->Empty && FSD->EnableSkinEffects();
}

void TbsSkinCheckRadioBox::StartMorphOrRepaint()
{
    if (!FMorph.StartIf(MorphingActive() && FIndex != -1)) Repaint();
}

void TbsSkinCheckRadioBox::StartMorph() { FMorph.Start(); }

void TbsSkinCheckRadioBox::StopMorph() { FMorph.Stop(); }

void TbsSkinCheckRadioBox::MorphTick()
{
    FMorph.Step(FMouseIn || IsFocused(), FIndex != -1 && MorphingActive());
    Repaint();
}

// ---- input ----

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) FDown = true;
    if (!FMouseIn) {
        FMouseIn = true;
        StartMorphOrRepaint();
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FDown) return;
    const bool outside = X < 0 || Y < 0 || X > Width() || Y > Height();
    if (outside && FMouseIn)
        Perform(CM_MOUSELEAVE, 0, 0);
    else if (!outside && !FMouseIn)
        Perform(CM_MOUSEENTER, 0, 0);
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FMouseIn || !FDown) return;
    FDown = false;
    if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
        FState = cbGrayed;
        Repaint();
        FireClick();
    } else {
        Toggle();
    }
}

void TbsSkinCheckRadioBox::WndProc(TMessage& m)
{
    if (FCanFocused) {
        // The first click reaches the box only when the box really takes the focus.
        if (!PassFocusingPress(this, m, FClicksDisabled)) return;
        if (m.Msg == WM_KEYUP && m.WParam == VK_SPACE && IsFocused()) Toggle();
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinCheckRadioBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(m);
        if (!(ComponentState() & csDesigning)) {
            FMouseIn = m.Msg == CM_MOUSEENTER;
            StartMorphOrRepaint();
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            Toggle();
            m.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (FFlat)
            Invalidate();
        else
            StartMorphOrRepaint();
        return;
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(m);
        if (FFlat) Invalidate();
        return;
    case WM_ERASEBKGND:
        if (!FromWMPaint && !FFlat && m.WParam) PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        if (MorphingActive()) {
            StopMorph();
            FMorph.Kf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    default: break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

// ---- painting ----

void TbsSkinCheckRadioBox::SetSkinFont(TCanvas* C)
{
    if (FIndex != -1 && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(FDefaultFont);
    }
    C->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
}

void TbsSkinCheckRadioBox::DrawCheckImage(TCanvas* C, int X, int Y, TCheckBoxState AState, bool Hot)
{
    if (!Picture) return;
    const bool enabled = Enabled();
    TRect src;
    bool dim = false;
    if (AState == cbGrayed) {
        if (IsNullRect(GrayedCheckImageRect)) {
            src = !enabled ? UnEnabledCheckImageRect : Hot ? ActiveCheckImageRect : CheckImageRect;
            dim = true;
        } else {
            src = Hot && !IsNullRect(ActiveGrayedCheckImageRect) ? ActiveGrayedCheckImageRect : GrayedCheckImageRect;
        }
    } else if (AState == cbChecked) {
        src = !enabled ? UnEnabledCheckImageRect : Hot ? ActiveCheckImageRect : CheckImageRect;
    } else {
        src = !enabled ? UnEnabledUnCheckImageRect : Hot ? ActiveUnCheckImageRect : UnCheckImageRect;
    }
    if (IsNullRect(src)) return;
    TBitmap piece(RectWidth(src), RectHeight(src));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), src);
    if (dim) {
        std::unique_ptr<TbsEffectBmp> e(TbsEffectBmp::CreateFromhWnd(piece.Handle()));
        if (e) {
            e->ChangeBrightness(0.5);
            e->Draw(piece.Canvas()->Handle(), 0, 0);
        }
    }
    piece.SetTransparent(true);
    C->Draw(X, Y, &piece);
}

void TbsSkinCheckRadioBox::DrawMarkBox(TCanvas* C, int H, TCheckBoxState AState, bool PaintTo)
{
    const TRect box = Rect(3, H / 2 - 7, 17, H / 2 + 7);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(!PaintTo && FMouseIn ? TColor(0xB76B3B) : clBtnShadow);
    C->FrameRect(box);
    if (!PaintTo) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
        if (AState == cbGrayed) DrawCheckMark(C, 7, H / 2 - 4, clGrayText);
    }
    if (AState == cbChecked) {
        const TColor mark = Enabled() ? clBlack : clBtnShadow;
        if (FRadio)
            DrawRadioMark(C, 7, H / 2 - 3, mark);
        else
            DrawCheckMark(C, 7, H / 2 - 4, mark);
    }
    C->Brush()->SetStyle(bsClear);
}

void TbsSkinCheckRadioBox::DrawFlat(TCanvas* C, TCheckBoxState AState, bool PaintTo)
{
    const int h = Height();
    const bool skin = FIndex != -1;
    int l;
    SetSkinFont(C);
    C->Brush()->SetStyle(bsClear);
    if (skin) {
        DrawCheckImage(C, 3, h / 2 - RectHeight(CheckImageRect) / 2, AState, !PaintTo && FMouseIn);
        l = RectWidth(CheckImageRect) + 7;
    } else {
        l = 22;
    }
    const bool image = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
    const String caption = Caption();
    TRect t;
    if (FWordWrap) {
        t = Rect(l + (image ? FImages->Width() : 0), 0, Width(), h);
        TRect m = t;
        DrawWideText(C, caption, m, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        const int top = std::max(0, h / 2 - RectHeight(m) / 2);
        t = Rect(t.Left, top, t.Left + RectWidth(m), top + RectHeight(m));
    } else {
        const TSize ext = C->TextExtent(caption);
        t = Rect(l, h / 2 - ext.cy / 2, l + ext.cx, h / 2 - ext.cy / 2 + ext.cy);
        t.Right = std::min(t.Right, Width() - 2);
    }
    TRect imageRect{};
    if (image) {
        const int iy = h / 2 - FImages->Height() / 2;
        FImages->Draw(C, l, iy, FImageIndex, Enabled());
        imageRect = Bounds(l, iy, FImages->Width(), FImages->Height());
        if (!FWordWrap) {
            const int shift = FImages->Width() + (skin ? 8 : 5);
            t = Rect(t.Left + shift, t.Top, t.Right + shift, t.Bottom);
        }
    }
    TColor colour;
    if (skin)
        colour = !FUseSkinFontColor ? FDefaultFont->Color() : Enabled() ? FrameFontColor : UnEnabledFontColor;
    else
        colour = Enabled() ? C->Font()->Color() : clBtnShadow;
    C->Font()->SetColor(colour);
    if (FWordWrap) {
        TRect r = t;
        DrawWideText(C, caption, r, DT_EXPANDTABS | DT_WORDBREAK);
    } else {
        DrawVCenterText(C, caption, t);
    }
    if (!skin) DrawMarkBox(C, h, AState, PaintTo);
    if (!PaintTo && IsFocused()) {
        C->Font()->SetColor(colour);
        if (caption.empty()) {
            if (image)
                DrawDottedFocusRect(
                    C, Rect(imageRect.Left - 1, imageRect.Top - 1, imageRect.Right + 1, imageRect.Bottom + 1));
        } else if (FWordWrap) {
            DrawDottedFocusRect(C, Rect(t.Left - 2, t.Top - 1, t.Right + 2, t.Bottom + 1));
        } else {
            DrawDottedFocusRect(C, Rect(t.Left - 2, t.Top - 1, t.Right + 3, t.Bottom + 1));
        }
    }
}

void TbsSkinCheckRadioBox::ComposeSkinImage(TBitmap* B, const TRect& R, bool Active, TCheckBoxState AState, bool Hot)
{
    CreateSkinControlImage(B, Picture, R);
    DrawCheckImage(B->Canvas(), CIRect.Left, RectHeight(CIRect) / 2 + CIRect.Top - RectHeight(CheckImageRect) / 2,
                   AState, Hot);
    TCanvas* c = B->Canvas();
    SetSkinFont(c);
    c->Font()->SetColor(!Enabled() ? UnEnabledFontColor : Active ? ActiveFontColor : FontColor);
    c->Brush()->SetStyle(bsClear);
    DrawVCenterText(c, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* c = B->Canvas();
    const int w = Width(), h = Height();
    if (IsFocused() || FMouseIn) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(Rect(0, 0, w, h));
    }
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    DrawVCenterText(c, Caption(), Rect(19, 0, w, h));
    DrawMarkBox(c, h, FState, false);
}

void TbsSkinCheckRadioBox::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FFlat) {
        TBitmap b(Width(), Height());
        PaintParentBackground(this, b.Canvas());
        DrawFlat(b.Canvas(), FState, false);
        Canvas()->Draw(0, 0, &b);
        return;
    }
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (MorphingActive() && FMorph.Kf > 0 && FMorph.Kf < 1) {
        TBitmap b1(Width(), Height()), b2(Width(), Height());
        ComposeSkinImage(&b1, SkinRect, false, FState, FMouseIn);
        ComposeSkinImage(&b2, ActiveSkinRect, true, FState, FMouseIn);
        std::unique_ptr<TbsEffectBmp> from(TbsEffectBmp::CreateFromhWnd(b1.Handle()));
        std::unique_ptr<TbsEffectBmp> to(TbsEffectBmp::CreateFromhWnd(b2.Handle()));
        if (!from || !to) return;
        from->MorphBy(MorphKind, to.get(), FMorph.Kf);
        from->Draw(Canvas()->Handle(), 0, 0);
        return;
    }
    const bool active = FMouseIn || IsFocused();
    TBitmap b(Width(), Height());
    ComposeSkinImage(&b, active ? ActiveSkinRect : SkinRect, active, FState, FMouseIn);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinCheckRadioBox::PaintSkinTo(TCanvas* C, int X, int Y, bool AChecked)
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    const TCheckBoxState state = AChecked ? cbChecked : FState == cbGrayed ? cbGrayed : cbUnchecked;
    TBitmap b(Width(), Height());
    if (FFlat) {
        PaintParentBackground(this, b.Canvas());
        DrawFlat(b.Canvas(), state, true);
    } else if (FIndex != -1) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        ComposeSkinImage(&b, SkinRect, false, state, false);
    } else {
        return;
    }
    C->Draw(X, Y, &b);
}
