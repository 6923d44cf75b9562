#include "skin/controls/skin_panel.h"

#include <vector>

#include "skin/core/marks.h"
#include "skin/core/panel_records.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque,          csDoubleClicks, csReplicatable};
    FSkinDataName = L"panel";
    FForceBackground = true;
    SetBounds(FLeft, FTop, 150, 150);
}

TbsSkinPanel::~TbsSkinPanel()
{
    if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
}

void TbsSkinPanel::CreateParams(TCreateParams& Params)
{
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

// ---- property writers ----

void TbsSkinPanel::SetTransparentMode(bool Value)
{
    if (Value == FTransparentMode) return;
    FTransparentMode = Value;
    Repaint();
    if (!(ComponentState() & (csDesigning | csLoading))) CheckControlsBackground();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value)
{
    if (Value == FCaptionImageList) return;
    if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsSkinPanel::SetCheckedMode(bool Value)
{
    FCheckedMode = Value;
    Repaint();
}

void TbsSkinPanel::SetChecked(bool Value)
{
    FChecked = Value;
    if (FCheckedMode) Repaint();
    if (FAutoEnabledControls && FCheckedMode)
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Value);
    if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value)
{
    FDefaultAlignment = Value;
    GetSkinData();
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int Value)
{
    FDefaultCaptionHeight = Value;
    GetSkinData();
    if (FCaptionMode && (FIndex == -1 || !FUseSkinSize)) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value)
{
    FBorderStyle = Value;
    GetSkinData();
    if (FIndex == -1) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetCaptionMode(bool Value)
{
    FCaptionMode = Value;
    Repaint();
    Realign();
}

void TbsSkinPanel::SetRollUpMode(bool Value)
{
    FRollUpMode = Value;
    GetSkinData();
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetGlyph(TBitmap* Value)
{
    FGlyph.Assign(Value);
    Repaint();
}

void TbsSkinPanel::SetNumGlyphs(TbsSkinPanelNumGlyphs Value)
{
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinPanel::SetSpacing(int Value)
{
    FSpacing = Value;
    Repaint();
}

// ---- roll-up ----

void TbsSkinPanel::SetRollUpState(bool Value)
{
    if (Value == FRollUpState) return;
    if (!FRollUpMode) {
        Constraints()->SetMaxWidth(FCMaxWidth);
        Constraints()->SetMinWidth(FCMinWidth);
        Constraints()->SetMaxHeight(FCMaxHeight);
        Constraints()->SetMinHeight(FCMinHeight);
        FRollUpState = false;
        return;
    }
    FCMaxWidth = Constraints()->MaxWidth();
    FCMinWidth = Constraints()->MinWidth();
    FCMaxHeight = Constraints()->MaxHeight();
    FCMinHeight = Constraints()->MinHeight();
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMinWidth(0);
    Constraints()->SetMaxHeight(0);
    Constraints()->SetMinHeight(0);
    FRollUpState = Value;
    DoRollUp(Value);
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinPanel::DoRollUp(bool ARollUp)
{
    FInChangingRollUp = true;
    try {
        if (ARollUp && FRealHeight == -1) {
            FRealHeight = Height();
            if (!FAlignOffByRollUp) {
                DisableAlign();
                FAlignOffByRollUp = true;
            }
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
            GetSkinData();
            int w = Width(), h = Height();
            CalcSize(w, h);
            const int height =
                FIndex == -1 || !FUseSkinSize ? FDefaultCaptionHeight + 1 : Height() - RectHeight(NewClRect);
            SetHeight(height);
        } else if (!ARollUp && FRealHeight != -1) {
            SetHeight(FRealHeight);
            FRealHeight = -1;
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
            if (FAlignOffByRollUp) {
                FAlignOffByRollUp = false;
                EnableAlign();
            }
        }
    } catch (...) {
        FInChangingRollUp = false;
        throw;
    }
    FInChangingRollUp = false;
}

bool TbsSkinPanel::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (FRollUpMode && FInChangingRollUp && AutoSize()) return false;
    return TbsSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

// ---- skin data, bounds, client rectangle ----

void TbsSkinPanel::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    auto* r = dynamic_cast<TbsDataSkinPanelControl*>(Record());
    if (!r) return;
    CaptionRect = r->CaptionRect;
    Alignment = r->Alignment;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    BGPictureIndex = r->BGPictureIndex;
    CheckImageRect = r->CheckImageRect;
    UnCheckImageRect = r->UnCheckImageRect;
    MarkFrameRect = r->MarkFrameRect;
    FrameRect = r->FrameRect;
    FrameLeftOffset = r->FrameLeftOffset;
    FrameRightOffset = r->FrameRightOffset;
    FrameTextRect = r->FrameTextRect;
}

void TbsSkinPanel::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    if (FRollUpState && FRealHeight != -1) {
        // Rolled up: roll up again for the new skin's caption height.
        const int kept = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = kept;
    } else {
        Realign();
    }
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

void TbsSkinPanel::AdjustClientRect(TRect& R)
{
    if (FEmptyDrawing) return;
    GetSkinData();
    const TRect frame = R;
    if (FIndex == -1 || (ComponentState() & csDesigning)) {
        if (FBorderStyle != bvNone) R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                R.Bottom -= FDefaultCaptionHeight;
            else
                R.Top += FDefaultCaptionHeight;
        }
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (BGPictureIndex == -1 && (FBorderStyle != bvNone || FCaptionMode || ResizeMode != 1)) R = NewClRect;
    if (!FUseSkinSize && FCaptionMode) {
        if (FRibbonStyle)
            R.Bottom = frame.Bottom - FDefaultCaptionHeight;
        else
            R.Top = frame.Top + FDefaultCaptionHeight;
    }
}

TRect TbsSkinPanel::GetSkinClientRect()
{
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

// ---- caption clicks ----

TRect TbsSkinPanel::CaptionClickRect()
{
    if (FIndex != -1) return NewCaptionRect;
    // The built-in ribbon caption is drawn at the bottom: it is clicked where it is drawn.
    if (FRibbonStyle)
        return FBorderStyle == bvNone ? Rect(0, Height() - FDefaultCaptionHeight, Width(), Height())
                                      : Rect(1, Height() - FDefaultCaptionHeight - 1, Width() - 1, Height() - 1);
    return Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if ((FRollUpMode || FCheckedMode) && FCaptionMode && Button == mbLeft) {
        GetSkinData();
        if (PointInsideRect(CaptionClickRect(), Point(X, Y))) {
            if (FCheckedMode) SetChecked(!FChecked);
            if (FRollUpMode) SetRollUpState(!FRollUpState);
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- messages ----

void TbsSkinPanel::ParentBackgroundChanged()
{
    if (!FTransparentMode) return;
    Repaint();
    CheckControlsBackground();
}

void TbsSkinPanel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SKIN_PARENTBGCHANGED: ParentBackgroundChanged(); return;
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(m);
        ParentBackgroundChanged();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case CM_TEXTCHANGED:
        if (FCaptionMode) Repaint();
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

// ---- painting ----

void TbsSkinPanel::PaintskinTo(TCanvas* C, int X, int Y)
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
    C->Draw(X, Y, &b);
}

void TbsSkinPanel::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    if (FEmptyDrawing && !(ComponentState() & csDesigning)) return;
    GetSkinData();
    int w = Width(), h = Height();
    CalcSize(w, h);
    const bool rec = FIndex != -1;
    TCanvas* c = Canvas();
    if (rec && !FUseSkinSize && !FTransparentMode && FCaptionMode) {
        TBitmap b(Width(), Height());
        CreateResizedCaptionImage(&b);
        c->Draw(0, 0, &b);
    } else if (rec && FTransparentMode && !FCaptionMode) {
        TBitmap b(Width(), Height());
        PaintParentBackground(this, b.Canvas());
        if (FBorderStyle != bvNone) {
            b.Canvas()->Pen()->SetColor(FSD->SkinColors() ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
            b.Canvas()->Brush()->SetStyle(bsClear);
            b.Canvas()->Rectangle(0, 0, Width(), Height());
        }
        DoPanelPaint(b.Canvas());
        c->Draw(0, 0, &b);
    } else if (rec && FTransparentMode && FCaptionMode) {
        TBitmap b(Width(), Height());
        PaintParentBackground(this, b.Canvas());
        CreateGroupFrameImage(&b);
        DoPanelPaint(b.Canvas());
        c->Draw(0, 0, &b);
    } else if (!rec || (!FForceBackground && StretchEffect)) {
        TbsSkinCustomControl::Paint();
    } else if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && FForceBackground) {
        PaintClientPiece();
    } else if (TBitmap* bg = ActivePicture(BGPictureIndex); BGPictureIndex == -1 || !bg || bg->Empty()) {
        // No background picture (an index outside the skin's pictures is none): the base paint.
        TbsSkinCustomControl::Paint();
    } else {
        PaintBackgroundPicture(bg);
    }
}

void TbsSkinPanel::PaintClientPiece()
{
    const int cw = RectWidth(ClRect), ch = RectHeight(ClRect);
    if (!Picture || cw <= 0 || ch <= 0) return;
    TBitmap piece(cw, ch);
    piece.Canvas()->CopyRect(Rect(0, 0, cw, ch), Picture->Canvas(),
                             Bounds(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, cw, ch));
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    if (StretchEffect) {
        switch (StretchType) {
        case bsstFull: c->StretchDraw(Rect(0, 0, w, h), &piece); break;
        case bsstHorz:
            for (int k = 0; k <= w / cw; ++k) c->StretchDraw(Bounds(k * cw, 0, cw, h), &piece);
            break;
        case bsstVert:
            for (int k = 0; k <= h / ch; ++k) c->StretchDraw(Bounds(0, k * ch, w, ch), &piece);
            break;
        }
        return;
    }
    for (int i = 0; i <= w / cw; ++i)
        for (int j = 0; j <= h / ch; ++j) c->Draw(i * cw, j * ch, &piece);
}

void TbsSkinPanel::PaintBackgroundPicture(TBitmap* BG)
{
    const int pw = BG->Width(), ph = BG->Height(), w = Width(), h = Height();
    TCanvas* c = Canvas();
    if (StretchEffect) {
        switch (StretchType) {
        case bsstFull: c->StretchDraw(NewClRect, BG); break;
        case bsstHorz:
            for (int k = 0; k <= w / pw; ++k) c->StretchDraw(Bounds(k * pw, 0, pw, h), BG);
            break;
        case bsstVert:
            for (int k = 0; k <= h / ph; ++k) c->StretchDraw(Bounds(0, k * ph, w, ph), BG);
            break;
        }
        return;
    }
    for (int i = 0; i <= w / pw; ++i)
        for (int j = 0; j <= h / ph; ++j) c->Draw(i * pw, j * ph, BG);
}
