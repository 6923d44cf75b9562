#include "skin/controls/skin_menu_button.h"

#include "platform/framework/controls/shortcuts.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"

namespace {
constexpr int kTrackWidth = 15;  // the drop-down section of the built-in and tool looks
}

TbsSkinMenuButton::TbsSkinMenuButton(TComponent* AOwner) : TbsSkinButton(AOwner)
{
    FSkinDataName = L"toolmenubutton";
    FSpaceSupport = false;
}

TbsSkinMenuButton::~TbsSkinMenuButton()
{
    if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
}

void TbsSkinMenuButton::SetSkinPopupMenu(TbsSkinPopupMenuBase* Value)
{
    if (Value == FSkinPopupMenu) return;
    if (FSkinPopupMenu) FSkinPopupMenu->RemoveFreeNotification(this);
    FSkinPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMenuButton::SetTrackButtonMode(bool Value)
{
    FTrackButtonMode = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuButton::GetSkinData()
{
    TbsSkinButton::GetSkinData();
    if (auto* r = dynamic_cast<TbsDataSkinMenuButtonControl*>(Record())) TrackButtonRect = r->TrackButtonRect;
}

bool TbsSkinMenuButton::IsToolName() const
{
    return FSkinDataName == L"resizebutton" || FSkinDataName == L"resizetoolbutton" || FSkinDataName == L"toolbutton" ||
           FSkinDataName == L"bigtoolbutton";
}

TRect TbsSkinMenuButton::GetTrackButtonRect()
{
    TRect r = TrackButtonRect;
    if (ResizeMode == 2) {
        const int d = Width() - RectWidth(SkinRect);
        r = Rect(r.Left + d, r.Top, r.Right + d, r.Bottom);
    } else if (ResizeMode == 3) {
        const int d = Height() - RectHeight(SkinRect);
        r = Rect(r.Left, r.Top + d, r.Right, r.Bottom + d);
    }
    return r;
}

bool TbsSkinMenuButton::CanMenuTrack(int X, int Y)
{
    if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    const TRect area =
        FIndex != -1 && !IsToolName() ? GetTrackButtonRect() : Rect(Width() - kTrackWidth, 0, Width(), Height());
    return PointInsideRect(area, Point(X, Y));
}

void TbsSkinMenuButton::TrackMenu()
{
    const TPoint p = ClientToScreen(Point(0, 0));
    const TRect r = Bounds(p.X, p.Y, Width(), Height());
    if (FSkinPopupMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        FSkinPopupMenu->PopupFromRect2(this, r, false);
    }
    if (FSkinImagesMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        TbsSkinImagesMenuBase* menu = FSkinImagesMenu;
        menu->OnInternalMenuClose = [this](TObject*) { MenuClosed(true); };
        FImagesMenuCloseHooked = true;
        const bool nothingToShow = !menu->Images() || menu->Images()->Count() == 0;
        menu->PopupFromRect(r);
        // An empty grid is never shown and never reports a close: end the tracking as the close
        // would, or the button stays down and tracking for good.
        if (nothingToShow && !FSkinPopupMenu && FMenuTracked) MenuClosed(true);
    }
}

void TbsSkinMenuButton::DropDown()
{
    if (FIndex != -1 && !IsNullRect(AnimateSkinRect)) StopAnimate();
    if (!FDown) SetDown(true);
    FMenuTracked = true;
    TrackMenu();
}

void TbsSkinMenuButton::MenuClosed(bool Morph)
{
    FMenuTracked = false;
    SetDown(false);
    POINT pt;
    GetCursorPos(&pt);
    FMouseIn = HandleAllocated() && WindowFromPoint(pt) == Handle();
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    if (FLayerManager->IsVisible && !FMouseIn) FLayerManager->Hide();
    if (Morph)
        StartMorphOrRepaint();
    else
        Repaint();
}

// ---- mouse and keys ----

void TbsSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft) {
        TbsSkinButton::MouseDown(Button, Shift, X, Y);
        return;
    }
    FMenuTracked = CanMenuTrack(X, Y);
    FMouseIn = true;
    if (FIndex != -1 && !IsNullRect(AnimateSkinRect)) StopAnimate();
    if (!FMenuTracked) {
        TbsSkinButton::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (!FDown) SetDown(true);
    TrackMenu();
}

void TbsSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FMenuTracked) return;
    TbsSkinButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuButton::WndProc(TMessage& m)
{
    if (FCanFocused && FSkinPopupMenu) {
        if (m.Msg == WM_KEYDOWN && m.WParam == VK_SPACE && !FTrackButtonMode && CanMenuTrack(0, 0)) {
            FMenuTracked = true;
            SetDown(true);
            TrackMenu();
            return;
        }
        if (m.Msg == WM_KEYUP && m.WParam == VK_SPACE) {
            if (!FMenuTracked) {
                SetDown(false);
                if (OnClick) OnClick(this);
            }
            return;
        }
        if (m.Msg == WM_KEYUP && m.WParam == VK_RETURN && !FMenuTracked && OnClick) OnClick(this);
    }
    TbsSkinButton::WndProc(m);
}

void TbsSkinMenuButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SKINMENU_CLOSED: MenuClosed(false); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // While the menu is open only the hot flag follows the mouse.
        if (FMenuTracked && !(ComponentState() & csDesigning)) {
            FMouseIn = m.Msg == CM_MOUSEENTER;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (!FTrackButtonMode && CanMenuTrack(0, 0) && IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus() &&
            FCanFocused) {
            SetFocus();
            FMenuTracked = true;
            SetDown(true);
            TrackMenu();
            m.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TbsSkinButton::Dispatch(m);
}

// ---- looks ----

void TbsSkinMenuButton::DrawMenuMarker(TCanvas* Cnvs, const TRect& M, bool AActive, bool ADown)
{
    if (!Picture) return;
    const TRect src = ADown ? MenuMarkerDownRect : AActive ? MenuMarkerActiveRect : MenuMarkerRect;
    if (IsNullRect(src)) return;
    TBitmap piece(RectWidth(src), RectHeight(src));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), src);
    piece.SetTransparentColor(MenuMarkerTransparentColor);
    piece.SetTransparent(true);
    Cnvs->Draw(M.Left + RectWidth(M) / 2 - piece.Width() / 2, M.Top + RectHeight(M) / 2 - piece.Height() / 2, &piece);
}

void TbsSkinMenuButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (FSkinDataName == L"resizebutton" || FSkinDataName == L"resizetoolbutton") {
        CreateToolButtonImage(B, ADown, AMouseIn, true);
        return;
    }
    if (FSkinDataName == L"toolbutton" || FSkinDataName == L"bigtoolbutton") {
        CreateToolButtonImage(B, ADown, AMouseIn, false);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !IsNullRect(TrackButtonRect) && !IsNullRect(DownSkinRect)) {
        // Only the drop-down section looks pressed.
        TbsSkinButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        if (Picture) {
            const TRect src =
                Rect(TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
                     TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top);
            B->Canvas()->CopyRect(GetTrackButtonRect(), Picture->Canvas(), src);
        }
        return;
    }
    TbsSkinButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TbsSkinMenuButton::CreateToolButtonImage(TBitmap* B, bool ADown, bool AMouseIn, bool Resizable)
{
    const bool pressed = ADown && AMouseIn;
    TRect main = pressed ? DownSkinRect : !AMouseIn ? SkinRect : ActiveSkinRect;
    TRect track = main;
    if (FTrackButtonMode && FMenuTracked) {
        main = ActiveSkinRect;
        track = DownSkinRect;
    }
    const bool countsPressed = pressed && !(FTrackButtonMode && FMenuTracked);
    const int w = Width(), h = Height();
    // One part of the look composed to PW x H from the state rectangle S.
    auto part = [&](TBitmap* Dst, const TRect& S, int PW) {
        Dst->SetSize(PW, h);
        if (Resizable) {
            const int dw = PW - RectWidth(SkinRect), dh = h - RectHeight(SkinRect);
            CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, Point(RTPt.X + dw, RTPt.Y),
                            Point(LBPt.X, LBPt.Y + dh), Point(RBPt.X + dw, RBPt.Y + dh),
                            Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh), Dst, Picture, S, PW,
                            h, true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
        } else {
            CreateStretchImage(Dst, Picture, S, ClRect, true);
        }
    };
    if (FTrackButtonMode) {
        TBitmap m, t;
        part(&m, main, w - kTrackWidth);
        part(&t, track, kTrackWidth);
        B->Canvas()->Draw(0, 0, &m);
        B->Canvas()->Draw(w - kTrackWidth, 0, &t);
    } else if (Resizable) {
        CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B,
                        Picture, main, w, h, true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                        StretchType);
    } else {
        CreateStretchImage(B, Picture, main, ClRect, true);
    }
    const TRect t = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right - kTrackWidth, NewClRect.Bottom);
    TCanvas* c = B->Canvas();
    SetSkinFont(c);
    TColor colour;
    if (Enabled() && !FUseSkinFontColor)
        colour = FDefaultFont->Color();
    else if (!Enabled())
        colour = DisabledFontColor;
    else if (countsPressed)
        colour = DownFontColor;
    else if (!AMouseIn)
        colour = FontColor;
    else
        colour = ActiveFontColor;
    c->Font()->SetColor(colour);
    c->Brush()->SetStyle(bsClear);
    DrawFocusFrame(c, NewClRect);
    DrawContent(c, t, ADown, AMouseIn);
    const TRect m = Rect(w - kTrackWidth, t.Top, w, t.Bottom);
    if (!IsNullRect(MenuMarkerRect))
        DrawMenuMarker(c, m, AMouseIn, pressed || FMenuTracked);
    else
        DrawDropDownArrow(c, m, FMenuTracked ? DownFontColor : colour);
}

void TbsSkinMenuButton::CreateControlDefaultImage(TBitmap* B)
{
    const int w = Width(), h = Height();
    TCanvas* c = B->Canvas();
    enum Look { Normal, Hot, Pressed };
    auto draw = [&](const TRect& R, Look L) {
        TColor frame = L == Normal ? clBtnShadow : TColor(0xB76B3B);
        TColor fill = L == Normal ? clBtnFace : L == Hot ? TColor(0xF3D4C1) : TColor(0xE4BCA2);
        c->Brush()->SetColor(frame);
        c->FrameRect(R);
        c->Brush()->SetColor(fill);
        c->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    };
    const bool pressed = FDown && FMouseIn, hot = FMouseIn || IsFocused();
    if (FTrackButtonMode) {
        const TRect main = Rect(0, 0, w - kTrackWidth, h), track = Rect(w - kTrackWidth, 0, w, h);
        if (FMenuTracked) {
            draw(main, Hot);
            draw(track, Pressed);
        } else {
            const Look l = pressed ? Pressed : hot ? Hot : Normal;
            draw(main, l);
            draw(track, l);
        }
    } else {
        draw(Rect(0, 0, w, h), pressed ? Pressed : hot ? Hot : Normal);
    }
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    c->Brush()->SetStyle(bsClear);
    DrawContent(c, Rect(0, 0, w - kTrackWidth, h), FDown, FMouseIn);
    TRect m = Rect(w - kTrackWidth, 0, w, h);
    if (pressed || FMenuTracked) {
        m.Top += 2;
        m.Left = w - 13;
    }
    DrawDropDownArrow(c, m, clBtnText);
}
