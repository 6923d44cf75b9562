#include "skin/controls/skin_menu_speed_button.h"

#include "skin/controls/skin_tool_bar.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"

namespace {
constexpr int kTrack = 15;  // the track strip's thickness

const TColor kFrameColor = TColor(0xB76B3B);  // RGB(59, 107, 183)
const TColor kHotFill = TColor(0xF3D4C1);     // RGB(193, 212, 243)
const TColor kDownFill = TColor(0xE4BCA2);    // RGB(162, 188, 228)
}  // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner)
{
    FSkinDataName = L"toolmenubutton";
}

TbsSkinMenuSpeedButton::~TbsSkinMenuSpeedButton()
{
    if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
}

// ---- properties ----

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value)
{
    FNewStyle = Value;
    if (Value) FSkinDataName = L"resizetoolbutton";
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value)
{
    FTrackPosition = Value;
    Repaint();
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value)
{
    FTrackButtonMode = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinPopupMenuBase* Value)
{
    if (Value == FSkinPopupMenu) return;
    if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
    FSkinPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuSpeedButton::GetSkinData()
{
    TbsSkinSpeedButton::GetSkinData();
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinMenuButtonControl*>(Record())) TrackButtonRect = r->TrackButtonRect;
}

bool TbsSkinMenuSpeedButton::IsToolName() const
{
    return FSkinDataName == L"resizebutton" || FSkinDataName == L"resizetoolbutton" || FSkinDataName == L"toolbutton" ||
           FSkinDataName == L"bigtoolbutton";
}

// ---- track areas ----

TRect TbsSkinMenuSpeedButton::SkinTrackRect() const
{
    TRect r = TrackButtonRect;
    if (ResizeMode == 2)
        r = Bounds(r.Left + Width() - RectWidth(SkinRect), r.Top, RectWidth(r), RectHeight(r));
    else if (ResizeMode == 3)
        r = Bounds(r.Left, r.Top + Height() - RectHeight(SkinRect), RectWidth(r), RectHeight(r));
    return r;
}

TRect TbsSkinMenuSpeedButton::TrackStrip() const
{
    if (FNewStyle && FTrackPosition == bstpBottom) return Rect(0, Height() - kTrack, Width(), Height());
    return Rect(Width() - kTrack, 0, Width(), Height());
}

bool TbsSkinMenuSpeedButton::CanMenuTrack(int X, int Y)
{
    if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    const TRect t = FIndex != -1 && !IsToolName() ? SkinTrackRect() : TrackStrip();
    // Edges included.
    return X >= t.Left && X <= t.Right && Y >= t.Top && Y <= t.Bottom;
}

// ---- the menus ----

void TbsSkinMenuSpeedButton::TrackMenu()
{
    auto prepare = [this]() {
        if (FFlat && !Transparent()) SetTransparentNoRepaint(true);
        if (OnShowTrackMenu) OnShowTrackMenu(this);
    };
    const TPoint p = ClientToScreen(Point(0, 0));
    const TRect r = Bounds(p.X, p.Y, Width(), Height());
    bool opened = false;
    if (FSkinPopupMenu) {
        prepare();
        FSkinPopupMenu->PopupFromRect2(this, r, false);
        opened = FSkinPopupMenu && FSkinPopupMenu->OpenedFor(this);
    }
    if (FSkinImagesMenu) {
        prepare();
        TbsSkinImagesMenuBase* menu = FSkinImagesMenu;
        menu->OnInternalMenuClose = [this](TObject*) { MenuClosed(); };
        FImagesMenuCloseHooked = true;
        const bool nothingToShow = !menu->Images() || menu->Images()->Count() == 0;
        menu->PopupFromRect(r);
        opened = opened || !nothingToShow;
    }
    // No menu could open, so no close will come: release the button as the close would.
    if (!opened && FMenuTracked) MenuClosed();
}

void TbsSkinMenuSpeedButton::MenuClosed()
{
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (FFlat) SetTransparentNoRepaint(true);
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
}

// ---- mouse ----

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FMenuTracked = CanMenuTrack(X, Y);
        if (FMenuTracked) {
            FMouseIn = true;
            if (!FDown) SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FMenuTracked) return;
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseEntered()
{
    if (ComponentState() & csDesigning) return;
    if (FMenuTracked) {
        FMouseIn = true;
        return;
    }
    TbsSkinSpeedButton::MouseEntered();
}

void TbsSkinMenuSpeedButton::MouseLeft()
{
    if (ComponentState() & csDesigning) return;
    if (FMenuTracked) {
        FMouseIn = false;
        return;
    }
    TbsSkinSpeedButton::MouseLeft();
}

void TbsSkinMenuSpeedButton::Dispatch(TMessage& m)
{
    if (m.Msg == WM_SKINMENU_CLOSED) {
        MenuClosed();
        return;
    }
    TbsSkinSpeedButton::Dispatch(m);
}

// ---- painting ----

TbsDataSkinButtonControl* TbsSkinMenuSpeedButton::ButtonRecord(const wchar_t* Name) const
{
    if (!FSD || FSD->Empty) return nullptr;
    const int i = FSD->GetControlIndex(Name);
    if (i < 0 || i >= static_cast<int>(FSD->CtrlList.size())) return nullptr;
    return dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(i)]);
}

void TbsSkinMenuSpeedButton::DrawSkinButtonRecord(TbsDataSkinButtonControl* Object, TCanvas* Cnvs, const TRect& R,
                                                  bool Hot, bool Pressed)
{
    // An object without a valid picture draws nothing.
    const int pi = Object->PictureIndex;
    if (pi < 0 || pi >= static_cast<int>(FSD->FActivePictures.size()) || RectWidth(R) <= 0 || RectHeight(R) <= 0)
        return;
    TBitmap* pic = FSD->FActivePictures[static_cast<size_t>(pi)];
    const TRect active = IsNullRect(Object->ActiveSkinRect) ? Object->SkinRect : Object->ActiveSkinRect;
    const TRect down = IsNullRect(Object->DownSkinRect) ? active : Object->DownSkinRect;
    const TRect src = Hot && Pressed ? down : Hot ? active : Object->SkinRect;
    TBitmap b;
    ComposeButtonLook(*Object, pic, src, RectWidth(R), RectHeight(R), &b);
    Cnvs->Draw(R.Left, R.Top, &b);
}

TColor TbsSkinMenuSpeedButton::StyleColour(bool PressedLook, bool AMouseIn) const
{
    if (Enabled() && !FUseSkinFontColor) return FDefaultFont->Color();
    if (!Enabled()) return DisabledFontColor;
    if (PressedLook) return DownFontColor;
    return AMouseIn ? ActiveFontColor : FontColor;
}

void TbsSkinMenuSpeedButton::DrawMarker(TCanvas* Cnvs, const TRect& M, bool ADown, bool AMouseIn, TColor Colour)
{
    if (FDrawStandardArrow) {
        DrawArrowImage(Cnvs, M, Colour, FArrowType);
    } else if (!IsNullRect(MenuMarkerRect)) {
        DrawMenuMarker(Cnvs, M, (ADown && AMouseIn) || FMenuTracked, AMouseIn, false);
    } else {
        DrawDropDownArrow(Cnvs, M, FMenuTracked ? DownFontColor : Colour);
    }
}

void TbsSkinMenuSpeedButton::CreateNewStyleImage(TBitmap* B, bool ADown, bool AMouseIn)
{
    TCanvas* c = B->Canvas();
    const TRect whole = Rect(0, 0, Width(), Height());
    const TRect t = TrackStrip();
    const bool bottom = FTrackPosition == bstpBottom;
    TRect face = whole;
    const bool split = FTrackButtonMode && AMouseIn;
    if (split) face = bottom ? Rect(0, 0, Width(), Height() - kTrack) : Rect(0, 0, Width() - kTrack, Height());
    TbsDataSkinButtonControl* faceObj = ButtonRecord(L"resizetoolbutton");
    if (!faceObj) faceObj = ButtonRecord(L"resizebutton");
    if (!faceObj) return;  // a skin without the new style's objects draws nothing in it
    TbsDataSkinButtonControl* trackObj = nullptr;
    if (split) {
        trackObj = ButtonRecord(bottom ? L"htracktoolbutton" : L"vtracktoolbutton");
        if (trackObj)
            face = whole;
        else
            trackObj = faceObj;
    }
    const bool pressed = ADown && AMouseIn && !(FTrackButtonMode && FMenuTracked);
    DrawSkinButtonRecord(faceObj, c, face, AMouseIn, pressed);
    if (split) DrawSkinButtonRecord(trackObj, c, t, AMouseIn, FMenuTracked);
    const TRect text = bottom ? Rect(0, 0, Width(), Height() - kTrack) : Rect(0, 0, Width() - kTrack, Height());
    SetSkinFont(c);
    const TColor colour = StyleColour(pressed, AMouseIn);
    c->Font()->SetColor(colour);
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, text, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, text, ADown, AMouseIn);
    DrawMarker(c, t, ADown, AMouseIn, colour);
}

void TbsSkinMenuSpeedButton::CreateToolImage(TBitmap* B, bool ADown, bool AMouseIn, bool Resizable)
{
    TCanvas* c = B->Canvas();
    const TRect n = SkinRect;
    const TRect a = IsNullRect(ActiveSkinRect) ? n : ActiveSkinRect;
    const TRect d = IsNullRect(DownSkinRect) ? a : DownSkinRect;
    // Composes the look S into a piece of W x H drawn at X.
    auto piece = [&](const TRect& S, int X, int W, int H) {
        if (W <= 0 || H <= 0) return;
        TBitmap p(W, H);
        if (Resizable) {
            const int xo = W - RectWidth(SkinRect), yo = H - RectHeight(SkinRect);
            CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, Point(RTPt.X + xo, RTPt.Y),
                            Point(LBPt.X, LBPt.Y + yo), Point(RBPt.X + xo, RBPt.Y + yo),
                            Rect(ClRect.Left, ClRect.Top, ClRect.Right + xo, ClRect.Bottom + yo), &p, Picture, S, W, H,
                            true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
        } else {
            CreateStretchImage(&p, Picture, S, ClRect, true);
        }
        c->Draw(X, 0, &p);
    };
    bool pressedLook = false;
    const TRect *faceLook = nullptr, *trackLook = nullptr;
    if (FTrackButtonMode && FMenuTracked) {
        faceLook = &a, trackLook = &d;
    } else if (ADown && AMouseIn) {
        faceLook = trackLook = &d;
        pressedLook = true;
    } else if (AMouseIn) {
        faceLook = trackLook = &a;
    } else if (!FFlat) {
        faceLook = trackLook = &n;
    }
    if (faceLook) {
        if (FTrackButtonMode) {
            piece(*faceLook, 0, Width() - kTrack, Height());
            piece(*trackLook, Width() - kTrack, kTrack, Height());
        } else {
            piece(*faceLook, 0, Width(), Height());
        }
    }
    const TRect text = Rect(0, 0, Width() - kTrack, Height());
    SetSkinFont(c);
    const TColor colour = StyleColour(pressedLook, AMouseIn);
    c->Font()->SetColor(colour);
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, text, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, text, ADown, AMouseIn);
    DrawMarker(c, Rect(Width() - kTrack, 0, Width(), Height()), ADown, AMouseIn, colour);
}

void TbsSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (FNewStyle && FSkinDataName == L"resizetoolbutton") {
        CreateNewStyleImage(B, ADown, AMouseIn);
    } else if (FSkinDataName == L"toolbutton" || FSkinDataName == L"bigtoolbutton") {
        CreateToolImage(B, ADown, AMouseIn, false);
    } else if (FSkinDataName == L"resizebutton" || FSkinDataName == L"resizetoolbutton") {
        CreateToolImage(B, ADown, AMouseIn, true);
    } else if (FMenuTracked && FTrackButtonMode && !IsNullRect(TrackButtonRect) && !IsNullRect(DownSkinRect)) {
        // Only the track part looks pressed.
        TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        const TRect src = Bounds(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
                                 RectWidth(TrackButtonRect), RectHeight(TrackButtonRect));
        B->Canvas()->CopyRect(SkinTrackRect(), Picture->Canvas(), src);
    } else {
        TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
    }
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    const TRect whole = Rect(0, 0, Width(), Height());
    auto face = [&](const TRect& R, TColor Frame, TColor Fill) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Fill);
        c->FillRect(R);
        c->Brush()->SetColor(Frame);
        c->FrameRect(R);
    };
    auto idle = [&](const TRect& R) {
        if (FFlat) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(R);
        } else {
            face(R, DarkenColor(clBtnFace, 15), clBtnFace);
        }
    };
    const bool bottom = FNewStyle && FTrackPosition == bstpBottom;
    const TRect t = TrackStrip();
    const TRect rest = bottom ? Rect(0, 0, Width(), Height() - kTrack) : Rect(0, 0, Width() - kTrack, Height());
    const bool pressed = FDown && FMouseIn;
    bool arrowIn = false;
    if (!FNewStyle && FTrackButtonMode) {
        if (FMenuTracked) {
            face(rest, kFrameColor, kHotFill);
            face(t, kFrameColor, kDownFill);
        } else if (pressed) {
            face(rest, kFrameColor, kDownFill), face(t, kFrameColor, kDownFill);
        } else if (FMouseIn) {
            face(rest, kFrameColor, kHotFill), face(t, kFrameColor, kHotFill);
        } else {
            idle(rest), idle(t);
        }
        arrowIn = pressed || FMenuTracked;
    } else if (FNewStyle && FTrackButtonMode && FMouseIn) {
        if (FMenuTracked) {
            face(rest, kFrameColor, kHotFill);
            face(t, kFrameColor, kDownFill);
        } else if (pressed) {
            face(rest, kFrameColor, kDownFill);
            face(t, kFrameColor, kHotFill);
        } else {
            face(rest, kFrameColor, kHotFill), face(t, kFrameColor, kHotFill);
        }
        arrowIn = pressed && FMenuTracked;
    } else {
        if (pressed || FMenuTracked)
            face(whole, kFrameColor, kDownFill);
        else if (FMouseIn)
            face(whole, kFrameColor, kHotFill);
        else
            idle(whole);
        arrowIn = FNewStyle ? pressed : pressed || FMenuTracked;
    }
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, rest, FDown, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, rest, FDown, FMouseIn);
    TRect arrow = t;
    if (arrowIn) arrow.Left += 2, arrow.Top += 2;
    DrawDropDownArrow(c, arrow, clBtnText);
}

void TbsSkinMenuSpeedButton::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if ((FDown && FMouseIn) || FMenuTracked || !Transparent()) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    // The transparent idle look, straight onto the canvas.
    TCanvas* c = Canvas();
    const bool skin = FIndex != -1 && Picture;
    const bool bottom = FNewStyle && FTrackPosition == bstpBottom;
    const bool toolName = IsToolName();
    TRect text;
    if (skin && !toolName)
        text = NewClRect;
    else
        text = bottom ? Rect(0, 0, Width(), Height() - kTrack) : Rect(0, 0, Width() - kTrack, Height());
    if (skin && FUseSkinFont)
        SetSkinFont(c);
    else
        c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    TbsSkinColors* colors = FSD ? FSD->SkinColors() : nullptr;
    if (skin && colors) {
        if (!Enabled())
            c->Font()->SetColor(colors->cBtnShadow());
        else if (FUseSkinFontColor)
            c->Font()->SetColor(colors->cBtnText());
        else
            c->Font()->SetColor(FDefaultFont->Color());
    } else if (!Enabled()) {
        c->Font()->SetColor(clBtnShadow);
    }
    c->Brush()->SetStyle(bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, text, FDown, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, text, FDown, FMouseIn, false);
    TRect m;
    if (skin && !toolName)
        m = Rect(text.Right, text.Top, Width(), text.Bottom);
    else
        m = bottom ? Rect(0, Height() - kTrack, Width(), Height()) : Rect(Width() - kTrack, 0, Width(), Height());
    if (!skin) {
        DrawDropDownArrow(c, m, clBtnText);
        return;
    }
    if (ResizeMode != 1) m.Left -= 2;
    if (!IsNullRect(MenuMarkerFlatRect))
        DrawMenuMarker(c, m, false, false, true);
    else
        DrawDropDownArrow(c, m, colors ? colors->cBtnText() : clBtnText);
}
