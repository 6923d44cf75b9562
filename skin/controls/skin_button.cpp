#include "skin/controls/skin_button.h"

#include <memory>

#include "platform/framework/controls/shortcuts.h"
#include "skin/controls/skin_button_shared.h"
#include "platform/framework/forms/action.h"
#include "platform/framework/forms/forms.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/os_layers.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    FLayerManager = new TbsLayerManager(this);
    FTabStop = true;
    FSkinDataName = L"button";
    SetBounds(FLeft, FTop, 75, 25);
}

TbsSkinButton::~TbsSkinButton()
{
    UnhookImagesMenu();
    if (FImageList) FImageList->RemoveFreeNotification(this);
    delete FLayerManager;
    FLayerManager = nullptr;
    FMorph.Stop();
    FRepeat.Stop();
    FAnimation.Stop();
}

// ---- predicates ----

bool TbsSkinButton::EffectsActive() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

bool TbsSkinButton::MorphingActive() const { return FMorphing && EffectsActive(); }

bool TbsSkinButton::IsFocused() { return Focused() && FCanFocused; }

bool TbsSkinButton::AnimationApplies() const { return FIndex != -1 && EffectsActive() && !IsNullRect(AnimateSkinRect); }

// ---- property writers ----

void TbsSkinButton::SetCheckedMode(bool Value)
{
    if (Value == FCheckedMode) return;
    FCheckedMode = Value;
    if (Value)
        SetGroupIndex(-1);
    else if (FGroupIndex == -1)
        SetGroupIndex(0);
}

void TbsSkinButton::SetImageList(TCustomImageList* Value)
{
    if (Value == FImageList) return;
    if (FImageList) FImageList->RemoveFreeNotification(this);
    FImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsSkinButton::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinButton::SetGroupIndex(int Value)
{
    FGroupIndex = Value;
    if (Value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetGlyph(TBitmap* Value)
{
    FGlyph.Assign(Value);
    Repaint();
}

void TbsSkinButton::SetNumGlyphs(TbsNumGlyphs Value)
{
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinButton::SetMargin(int Value)
{
    if (Value != FMargin && Value >= -1) {
        FMargin = Value;
        Repaint();
    }
}

void TbsSkinButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (HandleAllocated() && FCanFocused)
        if (TCustomForm* f = GetParentForm())
            f->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(f->ActiveControl()));
}

void TbsSkinButton::SetSkinImagesMenu(TbsSkinImagesMenuBase* Value)
{
    if (FSkinImagesMenu != Value) UnhookImagesMenu();
    FSkinImagesMenu = Value;
    HookImagesMenu(this, Value, [this](TObject* Sender) { ImagesMenuChanged(Sender); });
    Repaint();
}

void TbsSkinButton::UnhookImagesMenu() { ::UnhookImagesMenu(this, FSkinImagesMenu, FImagesMenuCloseHooked); }

void TbsSkinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSkinImagesMenu) {
        FSkinImagesMenu = nullptr;
        FImagesMenuCloseHooked = false;
    }
    if (AComponent == FImageList) FImageList = nullptr;
}

void TbsSkinButton::CreateWnd()
{
    TbsSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

// ---- down and groups ----

void TbsSkinButton::SetDown(bool Value)
{
    FDown = Value;
    if (MorphingActive()) {
        FMorph.Kf = 1;
        if (Value)
            StopMorph();
        else
            StartMorph();
    }
    Repaint();
    if (FGroupIndex > 0 && FDown && !FAllowAllUp && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinButton*>(Parent()->Controls(i));
            if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) b->SetDown(false);
        }
    }
}

void TbsSkinButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (MorphingActive()) FMorph.Kf = 0;
    if (EffectsActive()) StopAnimate();
    Repaint();
}

// ---- timers ----

void TbsSkinButton::StartMorphOrRepaint()
{
    if (!FMorph.StartIf(MorphingActive() && FIndex != -1)) Repaint();
}

void TbsSkinButton::StartMorph() { FMorph.Start(); }

void TbsSkinButton::StopMorph() { FMorph.Stop(); }

void TbsSkinButton::MorphTick()
{
    if (FMorph.Step(FMouseIn || IsFocused(), FIndex != -1 && MorphingActive())) Repaint();
}

void TbsSkinButton::StartAnimate(bool Forward)
{
    FAnimation.Start(Forward, static_cast<unsigned>(AnimateInterval > 0 ? AnimateInterval : 0));
}

void TbsSkinButton::StopAnimate() { FAnimation.Stop(); }

void TbsSkinButton::StartRepeat() { FRepeat.Start(); }

void TbsSkinButton::StopRepeat() { FRepeat.Stop(); }

// ---- skin data ----

void TbsSkinButton::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = TRect{};
        return;
    }
    if (auto* r = dynamic_cast<TbsDataSkinButtonControl*>(Record())) {
        if (!FUseSkinSize && r->MaskPictureIndex != -1) MaskPicture = nullptr;  // a stretched button has no region
        FontName = r->FontName;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        FontColor = r->FontColor;
        ActiveFontColor = r->ActiveFontColor;
        DownFontColor = r->DownFontColor;
        DisabledFontColor = r->DisabledFontColor;
        ActiveSkinRect = r->ActiveSkinRect;
        DownSkinRect = r->DownSkinRect;
        DisabledSkinRect = r->DisabledSkinRect;
        FocusedSkinRect = r->FocusedSkinRect;
        AnimateSkinRect = r->AnimateSkinRect;
        FrameCount = r->FrameCount;
        AnimateInterval = r->AnimateInterval;
        FMorphing = r->Morphing;
        MorphKind = r->MorphKind;
        ShowFocus = r->ShowFocus;
        MenuMarkerFlatRect = r->MenuMarkerFlatRect;
        MenuMarkerRect = r->MenuMarkerRect;
        MenuMarkerActiveRect = r->MenuMarkerActiveRect;
        MenuMarkerDownRect = r->MenuMarkerDownRect;
        MenuMarkerTransparentColor = r->MenuMarkerTransparentColor;
        GlowLayerPictureIndex = r->GlowLayerPictureIndex;
        GlowLayerMaskPictureIndex = r->GlowLayerMaskPictureIndex;
        GlowLayerOffsetLeft = r->GlowLayerOffsetLeft;
        GlowLayerOffsetRight = r->GlowLayerOffsetRight;
        GlowLayerOffsetTop = r->GlowLayerOffsetTop;
        GlowLayerOffsetBottom = r->GlowLayerOffsetBottom;
        GlowLayerShowOffsetX = r->GlowLayerShowOffsetX;
        GlowLayerShowOffsetY = r->GlowLayerShowOffsetY;
        GlowLayerAlphaBlendValue = r->GlowLayerAlphaBlendValue;
        if (IsNullRect(ActiveSkinRect)) ActiveSkinRect = SkinRect;
        if (IsNullRect(DownSkinRect)) DownSkinRect = ActiveSkinRect;
        if (IsNullRect(MenuMarkerActiveRect)) MenuMarkerActiveRect = MenuMarkerRect;
        if (IsNullRect(MenuMarkerDownRect)) MenuMarkerDownRect = MenuMarkerActiveRect;
        if (DisabledFontColor == FontColor) DisabledFontColor = 0x808080;
    }
    // The current animation frame replaces the look it plays over.
    if (EffectsActive()) FAnimation.ShowFrameOver(AnimateSkinRect, FrameCount, SkinRect, ActiveSkinRect);
}

void TbsSkinButton::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize || ResizeMode == 1) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidth(SkinRect),
                     ClRect.Bottom + AHeight - RectHeight(SkinRect));
}

void TbsSkinButton::ChangeSkinData()
{
    StopMorph();
    StopAnimate();
    FMorph.Kf = 0;
    TbsSkinCustomControl::ChangeSkinData();
    if (MorphingActive() && FIndex != -1 && (IsFocused() || FMouseIn)) FMorph.Kf = 1;
    if (FMouseIn && HandleAllocated()) PostMessageW(Handle(), WM_SKINBUTTON_SHOWLAYER, 0, 0);
}

void TbsSkinButton::BeforeChangeSkinData()
{
    TbsSkinCustomControl::BeforeChangeSkinData();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
}

void TbsSkinButton::CheckParentBackground()
{
    if (FTransparent && !FDown && !FMouseIn) Repaint();
}

// ---- painting ----

void TbsSkinButton::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (MorphingActive() && FMorph.Kf > 0 && FMorph.Kf < 1 && Enabled()) {
        PaintMorph();
        return;
    }
    TRect r = SkinRect;
    bool down = false, in = false;
    if (!Enabled() && !IsNullRect(DisabledSkinRect)) {
        r = DisabledSkinRect;
    } else if (FDownState || (FDown && (FMouseIn || (IsFocused() && !FMouseDown) || FGroupIndex != 0))) {
        r = DownSkinRect;
        down = in = true;
    } else if (IsFocused() && !IsNullRect(FocusedSkinRect) && !FAnimation.Running()) {
        r = FocusedSkinRect;
        in = true;
    } else if (IsFocused() || FMouseIn || (MorphingActive() && FMorph.Kf == 1)) {
        r = ActiveSkinRect;
        in = true;
    }
    TBitmap b(Width(), Height());
    CreateButtonImage(&b, r, down, in);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinButton::PaintMorph()
{
    PaintButtonMorph(Canvas(), Width(), Height(), MorphKind, FMorph.Kf, [this](TBitmap* B, bool Hot) {
        CreateButtonImage(B, Hot ? ActiveSkinRect : SkinRect, false, Hot);
    });
}

void TbsSkinButton::SetSkinFont(TCanvas* Cnvs)
{
    SetButtonSkinFont(Cnvs, FUseSkinFont, FontName, FontHeight, FontStyle, FDefaultFont,
                      SkinCharset(FDefaultFont->Charset()));
}

TColor TbsSkinButton::CaptionColor(bool ADown, bool AMouseIn) const
{
    return ButtonCaptionColor(Enabled(), FUseSkinFontColor, FDefaultFont->Color(),
                              {FontColor, ActiveFontColor, DownFontColor, DisabledFontColor}, ADown, AMouseIn);
}

void TbsSkinButton::DrawFocusFrame(TCanvas* Cnvs, const TRect& R)
{
    if (!ShowFocus || !Focused()) return;
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(FSD && FSD->SkinColors() ? FSD->SkinColors()->cBtnFace() : clBtnFace);
    DrawDottedFocusRect(Cnvs, R);
    Cnvs->Brush()->SetStyle(bsClear);
}

void TbsSkinButton::DrawContent(TCanvas* Cnvs, const TRect& T, bool ADown, bool AMouseIn)
{
    String caption;
    int index = -1;
    if (FSkinImagesMenu && FUseImagesMenuImage && FSkinImagesMenu->SelectedItem(caption, index)) {
        DrawImageAndText(Cnvs, T, FMargin, FSpacing, FLayout, FUseImagesMenuCaption ? caption : Caption(), index,
                         FSkinImagesMenu->Images(), false, Enabled(), false, clNone);
    } else if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
        DrawImageAndText(Cnvs, T, FMargin, FSpacing, FLayout, Caption(), FImageIndex, FImageList, false, Enabled(),
                         false, clNone);
    } else {
        const int frame = ButtonGlyphFrame(ADown, AMouseIn, Enabled(), FNumGlyphs);
        DrawGlyphAndText(Cnvs, T, FMargin, FSpacing, FLayout, Caption(), &FGlyph, FNumGlyphs, frame, false, false,
                         clNone);
    }
}

void TbsSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (!FUseSkinSize && ResizeMode != 1) {
        CreateStretchedButtonImage(B, R, ADown, AMouseIn);
        return;
    }
    if (ADown || AMouseIn || !FTransparent)
        CreateSkinControlImage(B, Picture, R);
    else
        PaintParentBackground(this, B->Canvas());
    TCanvas* c = B->Canvas();
    SetSkinFont(c);
    c->Font()->SetColor(CaptionColor(ADown, AMouseIn));
    c->Brush()->SetStyle(bsClear);
    DrawFocusFrame(c, NewClRect);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, NewClRect, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContent(c, NewClRect, ADown, AMouseIn);
}

void TbsSkinButton::CreateStretchedButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (ADown || AMouseIn || !FTransparent) {
        if (ResizeMode == 0 && Picture)
            B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
        else if (ResizeMode == 2 || ResizeMode == 3)
            CreateStretchImage(B, Picture, R, ClRect, true);
    } else {
        PaintParentBackground(this, B->Canvas());
    }
    const TRect t = Rect(ClRect.Left, ClRect.Top, ClRect.Right + B->Width() - RectWidth(R),
                         ClRect.Bottom + B->Height() - RectHeight(R));
    TCanvas* c = B->Canvas();
    SetSkinFont(c);
    c->Font()->SetColor(CaptionColor(ADown, AMouseIn));
    c->Brush()->SetStyle(bsClear);
    DrawFocusFrame(c, t);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, NewClRect, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContent(c, t, ADown, AMouseIn);
}

void TbsSkinButton::CreateControlDefaultImage(TBitmap* B)
{
    const TRect cr = Rect(0, 0, Width(), Height());
    TCanvas* c = B->Canvas();
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (FDown && (FMouseIn || (IsFocused() && !FMouseDown) || FGroupIndex != 0)) {
        frame = TColor(0xB76B3B);
        fill = TColor(0xE4BCA2);
    } else if (FMouseIn || IsFocused()) {
        frame = TColor(0xB76B3B);
        fill = TColor(0xF3D4C1);
    }
    c->Brush()->SetColor(frame);
    c->FrameRect(cr);
    c->Brush()->SetColor(fill);
    c->FillRect(Rect(1, 1, cr.Right - 1, cr.Bottom - 1));
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, cr, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContent(c, cr, FDown, FMouseIn);
}

// ---- click ----

void TbsSkinButton::ButtonClick()
{
    if (FCanFocused)
        if (TCustomForm* f = GetParentForm()) f->SetModalResult(FModalResult);
    ClickOrExecuteAction(this, OnClick);
}

void TbsSkinButton::Click()
{
    if (Action()) return;
    TbsSkinCustomControl::Click();
}

void TbsSkinButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
    TCustomImageList* images = nullptr;
    int index = -1;
    if (!ActionImage(Sender, FGlyph, images, index)) return;
    SetImageList(images);
    FImageIndex = index;
    Repaint();
}

// ---- mouse ----

void TbsSkinButton::HandleMouseEnter()
{
    FMouseIn = true;
    const bool lookChanges = (FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && !(IsFocused() && !FDown));
    if (lookChanges) {
        if (FDown) {
            if (MorphingActive()) FMorph.Kf = 1;
            Repaint();
        } else {
            if (AnimationApplies()) StartAnimate(true);
            StartMorphOrRepaint();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
    if (HandleAllocated()) PostMessageW(Handle(), WM_SKINBUTTON_SHOWLAYER, 0, 0);
}

void TbsSkinButton::HandleMouseLeave()
{
    // The default button keeps its hot look while a control that is no button has the focus.
    if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
    const bool lookChanges = (FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && !(IsFocused() && !FDown));
    if (lookChanges) {
        if (AnimationApplies()) StartAnimate(false);
        StartMorphOrRepaint();
    }
    if (FDown && FRepeatMode && FRepeat.Running() && FGroupIndex == 0) StopRepeat();
    if (HandleAllocated()) PostMessageW(Handle(), WM_SKINBUTTON_HIDELAYER, 0, 0);
}

void TbsSkinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FDown) return;
    const bool inside = X >= 0 && Y >= 0 && X <= Width() && Y <= Height();
    if (!inside && FMouseIn)
        Perform(CM_MOUSELEAVE, 0, 0);
    else if (inside && !FMouseIn)
        Perform(CM_MOUSEENTER, 0, 0);
}

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
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

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
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
                if (FRepeat.Running()) StopRepeat();
                if (wasDown) ButtonClick();
            } else {
                FDown = false;
                if (FRepeat.Running()) StopRepeat();
            }
        } else if (wasDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
            SetDown(false);
            ButtonClick();
        }
    }
    // A click handler may have hidden the button or destroyed its window.
    if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- messages ----

void TbsSkinButton::WndProc(TMessage& m)
{
    if (FCanFocused) {
        // A press on an unfocused button first gives it the focus; refused, no click.
        if (!PassFocusingPress(this, m, FClicksDisabled)) return;
        switch (m.Msg) {
        case WM_KEYDOWN:
            if (m.WParam == VK_SPACE && FSpaceSupport) {
                if (FIndex != -1 && !IsNullRect(AnimateSkinRect)) StopAnimate();
                SetDown(true);
                if (FRepeatMode) ButtonClick();  // the keyboard's own repeat repeats it
            } else if (m.WParam == VK_RETURN && FSpaceSupport) {
                ButtonClick();
            }
            break;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE) {
                SetDown(false);
                ButtonClick();
            }
            break;
        default: break;
        }
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        // Asked from outside the button's own paint: the whole button into that DC.
        if (!FromWMPaint && m.WParam) PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (FStopAnimate) {
            FStopAnimate = false;
            return;
        }
        if (FCanFocused && !FDownState) {
            if (AnimationApplies()) StartAnimate(true);
            StartMorphOrRepaint();
        }
        return;
    case WM_KILLFOCUS:
        if (FRepeatMode && FRepeat.Running()) StopRepeat();
        if (FGroupIndex == 0) FDown = false;
        TbsSkinCustomControl::Dispatch(m);
        if (FCanFocused && !FDownState) {
            if (AnimationApplies()) StartAnimate(false);
            if (MorphingActive() && FIndex != -1)
                StartMorph();
            else
                Invalidate();
        }
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
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(m);
        if (!(ComponentState() & csDesigning)) HandleMouseEnter();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(m);
        if (!(ComponentState() & csDesigning)) HandleMouseLeave();
        return;
    case CM_DIALOGKEY:
        if (m.WParam == VK_RETURN && FActive && Enabled()) {
            ButtonClick();
            m.Result = 1;
            return;
        }
        if (m.WParam == VK_ESCAPE && FCancel && FCanFocused && !KeyDataToShiftState(m.LParam).Contains(ssShift) &&
            !KeyDataToShiftState(m.LParam).Contains(ssCtrl) && !KeyDataToShiftState(m.LParam).Contains(ssAlt) &&
            CanFocus()) {
            ButtonClick();
            m.Result = 1;
            return;
        }
        TbsSkinCustomControl::Dispatch(m);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            ButtonClick();
            m.Result = 1;
            return;
        }
        TbsSkinCustomControl::Dispatch(m);
        return;
    case CM_FOCUSCHANGED: {
        auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
        auto* button = dynamic_cast<TbsSkinButton*>(sender);
        FActive = button ? button == this : FDefault;
        if (FCanFocused && FDefault) {
            if (button && button != this && FMouseIn) {
                FMouseIn = false;
                StartMorphOrRepaint();
            } else if (sender && !button && !FMouseIn) {
                if (MorphingActive()) FMorph.Kf = 1;
                FMouseIn = true;
                StartMorphOrRepaint();
            }
        }
        TbsSkinCustomControl::Dispatch(m);
        return;
    }
    case WM_SKINBUTTON_SHOWLAYER: ShowLayer(); return;
    case WM_SKINBUTTON_HIDELAYER: HideLayer(); return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

// ---- glow ----

namespace {
bool GlowShown(TbsSkinButton* B, TbsSkinData* SD, int Mode, bool UseSkinSize, bool Always, int Picture)
{
    (void)B;
    return SD && !SD->Empty && IsWindows2000OrLater() && (SD->ShowButtonGlowFrames() || Always) && Picture != -1 &&
           (Mode == 0 || Mode == 1 || (Mode == 2 && UseSkinSize));
}
}  // namespace

void TbsSkinButton::ShowLayer()
{
    if (!GlowShown(this, FSD, ResizeMode, FUseSkinSize, FAlwaysShowGlowFrame, GlowLayerPictureIndex)) return;
    TBitmap* image = ActivePicture(GlowLayerPictureIndex);
    TBitmap* mask = ActivePicture(GlowLayerMaskPictureIndex);
    if (!image || !mask || !HandleAllocated()) return;
    if (auto* f = dynamic_cast<TForm*>(GetParentForm())) FLayerManager->TopMostMode = f->FormStyle() == fsStayOnTop;
    TBitmap i2, m2;
    TBitmap* img = image;
    TBitmap* msk = mask;
    const int dw = Width() - RectWidth(SkinRect), dh = Height() - RectHeight(SkinRect);
    if (ResizeMode == 2) {
        CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &i2, image,
                         Rect(0, 0, image->Width(), image->Height()), image->Width() + dw, image->Height(), true);
        CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &m2, mask,
                         Rect(0, 0, mask->Width(), mask->Height()), mask->Width() + dw, mask->Height(), true);
        img = &i2;
        msk = &m2;
    } else if (ResizeMode == 1) {
        auto grow = [&](TBitmap* Src, TBitmap* Dst) {
            Dst->SetSize(Src->Width() + dw, Src->Height() + dh);
            CreateStretchImage(Dst, Src, Rect(0, 0, Src->Width(), Src->Height()),
                               Rect(GlowLayerOffsetLeft, GlowLayerOffsetTop, Src->Width() - GlowLayerOffsetRight,
                                    Src->Height() - GlowLayerOffsetBottom),
                               true);
        };
        grow(image, &i2);
        grow(mask, &m2);
        img = &i2;
        msk = &m2;
    }
    const TPoint p = ClientToScreen(Point(0, 0));
    FLayerManager->Show(p.X - GlowLayerShowOffsetX, p.Y - GlowLayerShowOffsetY, img, msk, GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideLayer()
{
    if (!GlowShown(this, FSD, ResizeMode, FUseSkinSize, FAlwaysShowGlowFrame, GlowLayerPictureIndex)) return;
    FLayerManager->Hide();
}
