#include "skin/controls/skin_speed_button.h"

#include <memory>

#include "platform/framework/controls/shortcuts.h"
#include "skin/controls/skin_button_shared.h"
#include "platform/framework/forms/action.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/button_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/window_records.h"

namespace {
// The built-in look's colours.
const TColor kFrameColor = TColor(0xB76B3B);  // RGB(59, 107, 183)
const TColor kHotFill = TColor(0xF3D4C1);     // RGB(193, 212, 243)
const TColor kDownFill = TColor(0xE4BCA2);    // RGB(162, 188, 228)
}  // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    FSkinDataName = L"toolbutton";
    SetBounds(FLeft, FTop, 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton()
{
    UnhookImagesMenu();
    if (FButtonImages) FButtonImages->RemoveFreeNotification(this);
    FRepeat.Stop();
    FAnimation.Stop();
    FMorph.Stop();
}

// ---- predicates ----

bool TbsSkinSpeedButton::EffectsActive() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

bool TbsSkinSpeedButton::MorphingActive() const { return FMorphing && EffectsActive(); }

bool TbsSkinSpeedButton::AnimationApplies() const
{
    return FIndex != -1 && EffectsActive() && !IsNullRect(AnimateSkinRect) && AnimateInterval > 0;
}

String TbsSkinSpeedButton::ShownCaption() const { return FShowCaption ? Caption() : String(); }

// ---- property writers ----

void TbsSkinSpeedButton::SetCheckedMode(bool Value)
{
    FCheckedMode = Value;
    if (Value)
        FGroupIndex = -1;
    else if (FGroupIndex == -1)
        FGroupIndex = 0;
}

void TbsSkinSpeedButton::SetImageList(TCustomImageList* Value)
{
    if (Value == FButtonImages) return;
    if (FButtonImages) FButtonImages->RemoveFreeNotification(this);
    FButtonImages = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinSpeedButton::SetImageIndex(int Value)
{
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetTransparentNoRepaint(bool Value)
{
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
}

void TbsSkinSpeedButton::SetTransparent(bool Value)
{
    SetTransparentNoRepaint(Value);
    if (!FStopDraw) Repaint();
}

void TbsSkinSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    SetTransparent(Value);
}

void TbsSkinSpeedButton::SetShowCaption(bool Value)
{
    if (Value == FShowCaption) return;
    FShowCaption = Value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TbsSkinSpeedButton::SetGlyph(TBitmap* Value)
{
    FGlyph.Assign(Value);
    Repaint();
}

void TbsSkinSpeedButton::SetNumGlyphs(TbsNumGlyphs Value)
{
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetSpacing(int Value)
{
    if (Value == FSpacing) return;
    FSpacing = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetSkinImagesMenu(TbsSkinImagesMenuBase* Value)
{
    if (FSkinImagesMenu != Value) UnhookImagesMenu();
    FSkinImagesMenu = Value;
    HookImagesMenu(this, Value, [this](TObject* Sender) { ImagesMenuChanged(Sender); });
    Repaint();
}

void TbsSkinSpeedButton::UnhookImagesMenu() { ::UnhookImagesMenu(this, FSkinImagesMenu, FImagesMenuCloseHooked); }

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSkinImagesMenu) {
        FSkinImagesMenu = nullptr;
        FImagesMenuCloseHooked = false;
    }
    if (AComponent == FButtonImages) FButtonImages = nullptr;
}

void TbsSkinSpeedButton::Loaded()
{
    TbsGraphicSkinCustomControl::Loaded();
    if (FFlat && Transparent() && FDown) SetTransparentNoRepaint(false);
}

// ---- down and groups ----

void TbsSkinSpeedButton::SetDown(bool Value)
{
    FDown = Value;
    if (MorphingActive()) {
        FMorph.Kf = 1;
        // Up again, the look fades from hot to normal when the mouse has left.
        if (Value)
            StopMorph();
        else
            StartMorph();
    }
    if (!FMouseIn && FFlat && !Transparent() && !FDown && !(ComponentState() & csDesigning))
        SetTransparentNoRepaint(true);
    Repaint();
    if (FGroupIndex > 0 && FDown && !FAllowAllUp && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinSpeedButton*>(Parent()->Controls(i));
            if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) b->SetDown(false);
        }
    }
}

void TbsSkinSpeedButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (MorphingActive()) FMorph.Kf = 0;
    if (EffectsActive()) StopAnimate();
    Repaint();
}

// ---- timers ----

void TbsSkinSpeedButton::StartMorph() { FMorph.Start(); }

void TbsSkinSpeedButton::StopMorph() { FMorph.Stop(); }

void TbsSkinSpeedButton::MorphTick()
{
    if (FMorph.Step(FMouseIn, FIndex != -1 && MorphingActive())) Repaint();
}

void TbsSkinSpeedButton::UpdateLook()
{
    if (!MorphingActive() || FIndex == -1 || Transparent() || FFlat)
        Repaint();
    else
        StartMorph();
}

void TbsSkinSpeedButton::StartAnimate(bool Forward)
{
    FAnimation.Start(Forward, static_cast<unsigned>(AnimateInterval));
}

void TbsSkinSpeedButton::StopAnimate() { FAnimation.Stop(); }

void TbsSkinSpeedButton::StartRepeat() { FRepeat.Start(); }

void TbsSkinSpeedButton::StopRepeat() { FRepeat.Stop(); }

// ---- skin data ----

void TbsSkinSpeedButton::GetSkinData()
{
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        ActiveSkinRect = TRect{};
        return;
    }
    if (auto* r = dynamic_cast<TbsDataSkinButtonControl*>(Record())) {
        FontName = r->FontName;
        FontColor = r->FontColor;
        ActiveFontColor = r->ActiveFontColor;
        DownFontColor = r->DownFontColor;
        DisabledFontColor = r->DisabledFontColor;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        ActiveSkinRect = IsNullRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
        DownSkinRect = IsNullRect(r->DownSkinRect) ? ActiveSkinRect : r->DownSkinRect;
        DisabledSkinRect = r->DisabledSkinRect;
        FMorphing = r->Morphing && !Transparent();
        MorphKind = r->MorphKind;
        AnimateSkinRect = r->AnimateSkinRect;
        FrameCount = r->FrameCount;
        AnimateInterval = r->AnimateInterval;
        MenuMarkerRect = r->MenuMarkerRect;
        MenuMarkerActiveRect = IsNullRect(r->MenuMarkerActiveRect) ? MenuMarkerRect : r->MenuMarkerActiveRect;
        MenuMarkerDownRect = IsNullRect(r->MenuMarkerDownRect) ? MenuMarkerActiveRect : r->MenuMarkerDownRect;
        MenuMarkerFlatRect = IsNullRect(r->MenuMarkerFlatRect) ? MenuMarkerRect : r->MenuMarkerFlatRect;
        MenuMarkerTransparentColor = r->MenuMarkerTransparentColor;
        if (DisabledFontColor == FontColor) DisabledFontColor = TColor(0x808080);
    }
    // The current animation frame replaces the look it plays over.
    if (EffectsActive()) FAnimation.ShowFrameOver(AnimateSkinRect, FrameCount, SkinRect, ActiveSkinRect);
}

void TbsSkinSpeedButton::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize || ResizeMode == 1) {
        TbsGraphicSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidth(SkinRect),
                     ClRect.Bottom + AHeight - RectHeight(SkinRect));
}

void TbsSkinSpeedButton::ChangeSkinData()
{
    StopAnimate();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphingActive() && FIndex != -1 && FMouseIn && !Transparent()) FMorph.Kf = 1;
}

// ---- painting ----

void TbsSkinSpeedButton::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    const bool pressed = FDown && ((FMouseIn && FGroupIndex == 0) || FGroupIndex != 0);
    // A record without a picture has nothing to compose from: the built-in look, pressed too
    // while a menu of the button is open.
    if (FIndex == -1 || !Picture) {
        if (pressed || FMouseIn || FMenuTracked || !Transparent()) {
            TBitmap b(Width(), Height());
            CreateControlDefaultImage(&b);
            Canvas()->Draw(0, 0, &b);
        } else {
            DrawTransparent(Rect(0, 0, Width(), Height()));
        }
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (MorphingActive() && FMorph.Kf != 0 && FMorph.Kf != 1 && !Transparent()) {
        PaintMorph();
        return;
    }
    TBitmap b(Width(), Height());
    if (FMenuTracked || pressed) {
        CreateButtonImage(&b, DownSkinRect, true, true);
    } else if (FMouseIn || (MorphingActive() && FMorph.Kf == 1)) {
        CreateButtonImage(&b, ActiveSkinRect, false, true);
    } else if (Transparent()) {
        DrawTransparent(NewClRect);
        return;
    } else {
        const TRect r = !Enabled() && !IsNullRect(DisabledSkinRect) ? DisabledSkinRect : SkinRect;
        CreateButtonImage(&b, r, false, false);
    }
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinSpeedButton::PaintMorph()
{
    PaintButtonMorph(Canvas(), Width(), Height(), MorphKind, FMorph.Kf, [this](TBitmap* B, bool Hot) {
        CreateButtonImage(B, Hot ? ActiveSkinRect : SkinRect, false, Hot);
    });
}

void TbsSkinSpeedButton::SetSkinFont(TCanvas* Cnvs)
{
    SetButtonSkinFont(Cnvs, FUseSkinFont, FontName, FontHeight, FontStyle, FDefaultFont,
                      SkinCharset(FDefaultFont->Charset()));
}

void TbsSkinSpeedButton::DrawContent(TCanvas* Cnvs, const TRect& T, bool ADown, bool AMouseIn, bool AllowHotList)
{
    const String caption = ShownCaption();
    String itemCaption;
    int itemIndex = -1;
    auto* bar = dynamic_cast<TbsSkinToolBar*>(Parent());
    if (FSkinImagesMenu && FUseImagesMenuImage && FSkinImagesMenu->SelectedItem(itemCaption, itemIndex)) {
        DrawImageAndText(Cnvs, T, FMargin, FSpacing, FLayout, FUseImagesMenuCaption ? itemCaption : caption, itemIndex,
                         FSkinImagesMenu->Images(), false, Enabled(), FDrawColorMarker, FColorMarkerValue);
    } else if (FGlyph.Empty() && bar) {
        TCustomImageList* list = bar->Images();
        bool enabled = Enabled();
        if (!Enabled() && bar->DisabledImages()) {
            list = bar->DisabledImages();
            enabled = true;  // the disabled picture is drawn as it is
        } else if ((AMouseIn || ADown) && AllowHotList && bar->HotImages()) {
            list = bar->HotImages();
        }
        DrawImageAndText(Cnvs, T, FMargin, FSpacing, FLayout, caption, FImageIndex, list, false, enabled,
                         FDrawColorMarker, FColorMarkerValue);
    } else if (FGlyph.Empty() && FButtonImages && FImageIndex >= 0 && FImageIndex < FButtonImages->Count()) {
        DrawImageAndText(Cnvs, T, FMargin, FSpacing, FLayout, caption, FImageIndex, FButtonImages, false, Enabled(),
                         FDrawColorMarker, FColorMarkerValue);
    } else {
        const int frame = ButtonGlyphFrame(ADown, AMouseIn, Enabled(), FNumGlyphs);
        DrawGlyphAndText(Cnvs, T, FMargin, FSpacing, FLayout, caption, &FGlyph, FNumGlyphs, frame, false,
                         FDrawColorMarker, FColorMarkerValue);
    }
}

void TbsSkinSpeedButton::DrawTransparent(const TRect& T)
{
    TCanvas* c = Canvas();
    TbsSkinColors* colors = FSD ? FSD->SkinColors() : nullptr;
    if (FIndex != -1 && Picture && FUseSkinFont)
        SetSkinFont(c);
    else
        c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    if (FIndex != -1 && Picture && colors) {
        if (!Enabled())
            c->Font()->SetColor(colors->cBtnShadow());
        else if (FUseSkinFontColor)
            c->Font()->SetColor(colors->cBtnText());
    } else if (!Enabled()) {
        c->Font()->SetColor(clBtnShadow);
    }
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, T, FDown, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, T, FDown, FMouseIn, false);
}

void TbsSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (!FUseSkinSize && ResizeMode != 1) {
        if (ResizeMode == 0)
            B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
        else if (ResizeMode == 2 || ResizeMode == 3)
            CreateStretchImage(B, Picture, R, ClRect, true);
    } else {
        CreateSkinControlImage(B, Picture, R);
    }
    TCanvas* c = B->Canvas();
    SetSkinFont(c);
    c->Font()->SetColor(ButtonCaptionColor(Enabled(), FUseSkinFontColor, FDefaultFont->Color(),
                                           {FontColor, ActiveFontColor, DownFontColor, DisabledFontColor}, ADown,
                                           AMouseIn));
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, NewClRect, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, NewClRect, ADown, AMouseIn);
}

void TbsSkinSpeedButton::DrawDefaultFace(TCanvas* Cnvs, const TRect& R, TColor Frame, TColor Fill)
{
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(Frame);
    Cnvs->FrameRect(R);
    Cnvs->Brush()->SetColor(Fill);
    Cnvs->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void TbsSkinSpeedButton::CreateControlDefaultImage(TBitmap* B)
{
    const TRect cr = Rect(0, 0, Width(), Height());
    TCanvas* c = B->Canvas();
    const bool pressed = FDown && ((FMouseIn && FGroupIndex == 0) || FGroupIndex != 0);
    if (pressed) {
        DrawDefaultFace(c, cr, kFrameColor, kDownFill);
    } else if (FMouseIn) {
        DrawDefaultFace(c, cr, kFrameColor, kHotFill);
    } else if ((ComponentState() & csDesigning) || !FFlat) {
        DrawDefaultFace(c, cr, DarkenColor(clBtnFace, 15), clBtnFace);
    } else if (!Transparent()) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(cr);
    }
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, cr, FDown, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, cr, FDown, FMouseIn);
}

void TbsSkinSpeedButton::DrawMenuMarker(TCanvas* Cnvs, const TRect& M, bool ADown, bool AActive, bool AFlat)
{
    const TRect src = ADown     ? MenuMarkerDownRect
                      : AActive ? MenuMarkerActiveRect
                      : AFlat   ? MenuMarkerFlatRect
                                : MenuMarkerRect;
    if (!Picture || IsNullRect(src)) return;
    TBitmap piece(RectWidth(src), RectHeight(src));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), src);
    piece.SetTransparentColor(MenuMarkerTransparentColor);
    piece.SetTransparent(true);
    Cnvs->Draw(M.Left + RectWidth(M) / 2 - piece.Width() / 2, M.Top + RectHeight(M) / 2 - piece.Height() / 2, &piece);
}

// ---- click ----

void TbsSkinSpeedButton::ButtonClick()
{
    ClickOrExecuteAction(this, OnClick);
}

void TbsSkinSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TbsGraphicSkinCustomControl::ActionChange(Sender, CheckDefaults);
    TCustomImageList* images = nullptr;
    int index = -1;
    if (!ActionImage(Sender, FGlyph, images, index)) return;
    SetImageList(images);
    FImageIndex = index;
    Repaint();
}

// ---- mouse ----

void TbsSkinSpeedButton::MouseEntered()
{
    const bool hover = (FGroupIndex == 0 || !FDown) && Enabled();
    if (FFlat && hover && !(ComponentState() & csDesigning)) SetTransparentNoRepaint(false);
    if (!Enabled() || (ComponentState() & csDesigning)) return;
    FMouseIn = true;
    if (hover) {
        if (FDown) {
            if (MorphingActive()) FMorph.Kf = 1;
            Repaint();
        } else {
            if (AnimationApplies() && !FFlat) StartAnimate(true);
            UpdateLook();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
}

void TbsSkinSpeedButton::MouseLeft()
{
    const bool hover = (FGroupIndex == 0 || !FDown) && Enabled();
    if (FFlat && hover && !(ComponentState() & csDesigning)) SetTransparentNoRepaint(true);
    if (!Enabled() || (ComponentState() & csDesigning)) return;
    FMouseIn = false;
    if (FGroupIndex == 0 || !FDown) {
        if (AnimationApplies() && !FFlat) StartAnimate(false);
        UpdateLook();
    }
    if (FDown && FRepeatMode && FRepeat.Running() && FGroupIndex == 0) StopRepeat();
}

void TbsSkinSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseMove(Shift, X, Y);
    // The framework reports a drag off and back by itself; its edges differ by one pixel.
    const bool inside = X >= 0 && Y >= 0 && X <= Width() && Y <= Height();
    if (!inside && FMouseIn && FDown)
        MouseLeft();
    else if (inside && !FMouseIn && FDown)
        MouseEntered();
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (AnimationApplies()) StopAnimate();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FCheckedMode) {
            FStopMouseUp = true;
            ButtonClick();
        } else if (FRepeatMode && FGroupIndex == 0) {
            StartRepeat();
        } else if (FGroupIndex != 0) {
            ButtonClick();
        }
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FMouseDown = false;
    const bool wasDown = FDown;
    if (FCheckedMode) {
        if (FStopMouseUp) {
            FStopMouseUp = false;
        } else {
            SetDown(false);
            ButtonClick();
        }
    } else if (FGroupIndex == 0) {
        if (FMouseIn) {
            SetDown(false);
            if (FRepeatMode) StopRepeat();
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
            StopRepeat();
        }
    } else if (wasDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
        SetDown(false);
        ButtonClick();
    }
}

// ---- messages ----

void TbsSkinSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        TbsGraphicSkinCustomControl::Dispatch(m);
        MouseEntered();
        return;
    case CM_MOUSELEAVE:
        TbsGraphicSkinCustomControl::Dispatch(m);
        MouseLeft();
        return;
    case CM_ENABLEDCHANGED:
        TbsGraphicSkinCustomControl::Dispatch(m);
        if (MorphingActive()) {
            StopMorph();
            FMorph.Kf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TbsGraphicSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
            Parent()->IsShowing()) {
            ButtonClick();
            m.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TbsGraphicSkinCustomControl::Dispatch(m);
}
