#include "skin/controls/skin_tool_bar.h"

#include <algorithm>
#include <vector>

#include "platform/framework/forms/forms.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"

namespace {
constexpr int kButtonWidth = 12;
constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT_PTR kLeaveTimer = 2;
}  // namespace

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FSkinDataName = L"toolpanel";
    SetBorderStyle(bvNone);
    FForceBackground = false;
    FDefaultHeight = 0;
    SetBounds(FLeft, FTop, FWidth, 25);
}

TbsSkinToolBar::~TbsSkinToolBar()
{
    for (TCustomImageList* l : {FImages, FHotImages, FDisabledImages})
        if (l) l->RemoveFreeNotification(this);
}

template <class F>
void TbsSkinToolBar::ForEachItem(F Fn)
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* item = dynamic_cast<TbsToolBarItem*>(Controls(i))) Fn(item);
}

// ---- properties ----

void TbsSkinToolBar::SetCanScroll(bool Value)
{
    if (Value == FCanScroll) return;
    FCanScroll = Value;
    if (Value)
        UpdateScrollInfo();
    else
        ShowScrollButtons(false);
}

void TbsSkinToolBar::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int Value)
{
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsSkinToolBar::SetShowCaptions(bool Value)
{
    if (Value == FShowCaptions) return;
    FShowCaptions = Value;
    if (FAutoShowHideCaptions) ForEachItem([Value](TbsToolBarItem* i) { i->ToolBarShowCaption(Value); });
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetFlat(bool Value)
{
    FFlat = Value;
    ForEachItem([Value](TbsToolBarItem* i) { i->ToolBarFlat(Value); });
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    ForEachItem([](TbsToolBarItem* i) { i->ToolBarImagesChanged(); });
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value)
{
    if (FHotImages) FHotImages->RemoveFreeNotification(this);
    FHotImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value)
{
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FHotImages) SetHotImages(nullptr);
    if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
}

// Renaming the buttons' skin names after the bar's is a design-time convenience: at run time
// each button keeps its stored name.
void TbsSkinToolBar::SetSkinData(TbsSkinData* Value)
{
    TbsSkinPanel::SetSkinData(Value);
    ForEachItem([Value](TbsToolBarItem* i) { i->ToolBarSkinData(Value); });
}

void TbsSkinToolBar::GetSkinData()
{
    TbsSkinPanel::GetSkinData();
    ButtonData = nullptr;
    if (FIndex == -1) return;
    const int i = FSD->GetControlIndex(L"resizebutton");
    if (i >= 0) ButtonData = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(i)]);
}

// ---- layout ----

bool TbsSkinToolBar::CentresChildren(TRect& ClientRect)
{
    if (!FAdjustControls) return false;
    ClientRect = GetSkinClientRect();
    return true;
}

void TbsSkinToolBar::AdjustControlsTop()
{
    const TRect r = GetSkinClientRect();
    std::vector<TControl*> children;
    for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
    for (TControl* c : children) {
        if (dynamic_cast<TbsSkinControl*>(c) || dynamic_cast<TbsCentredChild*>(c) || c->Align() != alNone) continue;
        const int top = RectHeight(r) / 2 + r.Top - c->Height() / 2;
        if (c->Top() != top) c->SetTop(top);
    }
}

void TbsSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int oldWidth = Width();
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls) {
        std::vector<TControl*> children;
        for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
        for (TControl* c : children) c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());
    }
    if (FCanScroll) {
        FHSizeOffset = Width() > oldWidth && oldWidth != 0 ? Width() - oldWidth : 0;
        UpdateScrollInfo();
        AdjustControlsTop();
    }
}

void TbsSkinToolBar::AdjustClientRect(TRect& R)
{
    TbsSkinPanel::AdjustClientRect(R);
    if (!((Buttons[0].Visible && FCanScroll) || Buttons[1].Visible)) return;
    const int cw = ClientWidth(), ch = ClientHeight();
    R = Bounds(-SPosition, 0, IntMax(SMax, cw), ch);
    if (FIndex == -1 || (ComponentState() & csDesigning)) {
        R.Top = 1;
        R.Bottom -= 1;
    } else if (FBorderStyle != bvNone || ResizeMode != 1) {
        R.Top = NewClRect.Top;
        R.Bottom = NewClRect.Bottom;
    }
}

void TbsSkinToolBar::CreateControlSkinImage(TBitmap* B)
{
    if (Buttons[0].Visible && ResizeMode == 2) {
        CreateMiddleHSkinImage(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, Picture, SkinRect, B->Width(), B->Height(),
                               StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(B);
}

// ---- scrolling ----

void TbsSkinToolBar::ScrollControls(int Left)
{
    ScrollBy(-Left, 0);
    Repaint();
}

void TbsSkinToolBar::UpdateScrollInfo()
{
    if (Width() == 0) return;
    int a = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Visible()) a = std::max(a, c->Left() + c->Width());
    }
    if (a == 0) {
        ShowScrollButtons(false);
        return;
    }
    int cw = ClientWidth();
    const int e = SPosition + a;
    if (cw < e) {
        ShowScrollButtons(true);
        cw = ClientWidth();
        if (SPosition > 0 && cw > a && FHSizeOffset > 0) {
            // The bar grew while scrolled and the content now ends inside it.
            FHSizeOffset = std::min(FHSizeOffset, SPosition);
            SMax = e - 1;
            SPosition -= FHSizeOffset;
            SPage = cw;
            ScrollControls(-FHSizeOffset);
            SOldPosition = SPosition;
        } else if (FHSizeOffset == 0 && e - 1 < SMax && SPosition > 0 && cw > a) {
            // The content got shorter while scrolled.
            SMax = e - 1;
            SPosition -= cw - a;
            SPage = cw;
            ScrollControls(-(cw - a));
            FHSizeOffset = 0;
            SOldPosition = SPosition;
        } else {
            SMax = e - 1;
            SPage = cw;
            FHSizeOffset = 0;
            SOldPosition = SPosition;
        }
    } else {
        if (SPosition > 0) ScrollControls(-SPosition);
        FHSizeOffset = SMax = SPosition = SPage = 0;
        ShowScrollButtons(false);
    }
}

void TbsSkinToolBar::ScrollStep(int Direction)
{
    const int step = FScrollOffset == 0 ? ClientWidth() : FScrollOffset;
    if (Direction == 1)
        SPosition = std::min(SPosition + step, SMax - SPage + 1);
    else
        SPosition = std::max(SPosition - step, 0);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    ScrollControls(SPosition - SOldPosition);
    UpdateScrollInfo();
}

void TbsSkinToolBar::ShowScrollButtons(bool Show)
{
    if (Buttons[0].Visible == Show && Buttons[1].Visible == Show) return;
    Buttons[0].Visible = Buttons[1].Visible = Show;
    TWinControl* keep = nullptr;
    if (TCustomForm* f = GetParentForm()) {
        TWinControl* a = f->ActiveControl();
        if (a && a->Focused() && (a->Parent() == this || (a->Parent() && a->Parent()->Parent() == this))) keep = a;
    }
    FMouseIn = false;
    // A new window asks WM_NCCALCSIZE again for the scroll buttons' room.
    if (FPendingPos)
        FPendingPos->flags |= SWP_FRAMECHANGED;
    else if (FCreatingWnd)
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else if (HandleAllocated())
        RecreateWnd();
    if (keep && keep->Visible() && !keep->Focused() && keep->CanFocus()) keep->SetFocus();
}

void TbsSkinToolBar::CreateWnd()
{
    TbsSkinPanel::CreateWnd();
    if (!FCanScroll) return;
    FCreatingWnd = true;
    try {
        UpdateScrollInfo();
    } catch (...) {
        FCreatingWnd = false;
        throw;
    }
    FCreatingWnd = false;
}

void TbsSkinToolBar::StartScrollTimer()
{
    if (!HandleAllocated()) return;
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
}

void TbsSkinToolBar::StopScrollTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

void TbsSkinToolBar::NCMouseEnter()
{
    if (ComponentState() & csDesigning) return;
    FMouseIn = true;
    if (Buttons[0].Visible && HandleAllocated()) {
        KillTimer(Handle(), kLeaveTimer);
        SetTimer(Handle(), kLeaveTimer, 100, nullptr);
    }
}

void TbsSkinToolBar::NCMouseLeave()
{
    if ((ComponentState() & csDesigning) || !FCanScroll) return;
    FMouseIn = false;
    POINT pt;
    GetCursorPos(&pt);
    if (HandleAllocated() && WindowFromPoint(pt) == Handle()) return;
    for (TScrollButton& b : Buttons)
        if (b.Hot) {
            b.Hot = false;
            if (TimerMode != 0) StopScrollTimer();
            break;
        }
    PaintNonClient();
}

// ---- non-client area ----

void TbsSkinToolBar::PaintNonClient()
{
    if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinToolBar::DrawScrollButton(HDC DC, int Index)
{
    const TScrollButton& btn = Buttons[Index];
    const int w = RectWidth(btn.R), h = RectHeight(btn.R);
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    TColor arrow = clBtnText;
    // A "resizebutton" record whose picture is outside the skin's pictures counts as none.
    TBitmap* picture = ButtonData ? ActivePicture(ButtonData->PictureIndex) : nullptr;
    if (ButtonData && picture) {
        const TbsDataSkinButtonControl& d = *ButtonData;
        TRect src = d.SkinRect;
        arrow = d.FontColor;
        if (!IsNullRect(d.DownSkinRect) && btn.Hot && (btn.Pressed || FHotScroll)) {
            src = d.DownSkinRect;
            arrow = d.DownFontColor;
        } else if (btn.Hot && !IsNullRect(d.ActiveSkinRect)) {
            src = d.ActiveSkinRect;
            arrow = d.ActiveFontColor;
        }
        const int dw = w - RectWidth(d.SkinRect), dh = h - RectHeight(d.SkinRect);
        CreateSkinImage(
            d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.ClRect, d.LTPoint, Point(d.RTPoint.X + dw, d.RTPoint.Y),
            Point(d.LBPoint.X, d.LBPoint.Y + dh), Point(d.RBPoint.X + dw, d.RBPoint.Y + dh),
            Rect(d.ClRect.Left, d.ClRect.Top, d.ClRect.Right + dw, d.ClRect.Bottom + dh), &b, picture, src, w, h, true,
            d.LeftStretch, d.TopStretch, d.RightStretch, d.BottomStretch, d.StretchEffect, d.StretchType);
    } else {
        TColor frame = clBtnShadow, fill = clBtnFace;
        if (btn.Hot && (btn.Pressed || FHotScroll)) {
            frame = TColor(0xB76B3B);
            fill = TColor(0xE4BCA2);
        } else if (btn.Hot) {
            frame = TColor(0xB76B3B);
            fill = TColor(0xF3D4C1);
        }
        c->Brush()->SetColor(frame);
        c->FrameRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(fill);
        c->FillRect(Rect(1, 1, w - 1, h - 1));
    }
    DrawArrowImage(c, Rect(0, 0, w, h), arrow, Index == 0 ? 1 : 2);
    BitBlt(DC, btn.R.Left, btn.R.Top, w, h, c->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinToolBar::WndProc(TMessage& m)
{
    if (m.Msg == WM_NCHITTEST && FCanScroll && !(ComponentState() & csDesigning)) {
        if (!FMouseIn) NCMouseEnter();
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        ::ScreenToClient(Handle(), &p);
        if (p.x < 0 && Buttons[0].Visible) {
            m.Result = HTTOOLBARSCROLLLEFT;
            return;
        }
        if (p.x > ClientWidth() && Buttons[1].Visible) {
            m.Result = HTTOOLBARSCROLLRIGHT;
            return;
        }
    }
    TbsSkinPanel::WndProc(m);
}

void TbsSkinToolBar::Dispatch(TMessage& m)
{
    const bool ncButton = m.WParam == HTTOOLBARSCROLLLEFT || m.WParam == HTTOOLBARSCROLLRIGHT;
    const int which = m.WParam == HTTOOLBARSCROLLLEFT ? 0 : 1;
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        // The whole window is client area but for the visible scroll buttons.
        if (FCanScroll && m.LParam) {
            GetSkinData();
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            if (Buttons[0].Visible) r->left += kButtonWidth;
            if (Buttons[1].Visible) r->right -= kButtonWidth;
        }
        m.Result = 0;
        return;
    case WM_SIZE:
        TbsSkinPanel::Dispatch(m);
        if (FCanScroll && Buttons[0].Visible) {
            Buttons[0].R = Rect(0, 0, kButtonWidth, Height());
            Buttons[1].R = Rect(Width() - kButtonWidth, 0, Width(), Height());
            PaintNonClient();
        }
        return;
    case WM_NCPAINT:
        if (FCanScroll && (Buttons[0].Visible || Buttons[1].Visible) && HandleAllocated()) {
            if (Buttons[0].R.IsEmpty()) {
                Buttons[0].R = Rect(0, 0, kButtonWidth, Height());
                Buttons[1].R = Rect(Width() - kButtonWidth, 0, Width(), Height());
            }
            HDC dc = GetWindowDC(Handle());
            for (int i = 0; i < 2; ++i)
                if (Buttons[i].Visible) DrawScrollButton(dc, i);
            ReleaseDC(Handle(), dc);
        }
        m.Result = 0;
        return;
    case WM_SETCURSOR:
        if (FCanScroll && (LOWORD(m.LParam) == HTTOOLBARSCROLLLEFT || LOWORD(m.LParam) == HTTOOLBARSCROLLRIGHT))
            m.LParam = MAKELPARAM(HTCLIENT, HIWORD(m.LParam));
        break;
    case WM_NCMOUSEMOVE:
        if (FCanScroll && ncButton && !Buttons[which].Hot) {
            Buttons[which].Hot = true;
            Buttons[1 - which].Hot = false;
            PaintNonClient();
            if (FHotScroll) {
                TimerMode = which + 1;
                StartScrollTimer();
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (FCanScroll && ncButton) {
            Buttons[which].Pressed = true;
            PaintNonClient();
            TimerMode = which + 1;
            StartScrollTimer();
        }
        break;
    case WM_NCLBUTTONUP:
        if (FCanScroll && ncButton) {
            Buttons[which].Pressed = false;
            PaintNonClient();
            StopScrollTimer();
            ScrollStep(which);
        }
        break;
    case WM_MOUSEMOVE:
        if (FCanScroll)
            for (TScrollButton& b : Buttons)
                if (b.Visible && b.Hot) {
                    b.Hot = false;
                    if (TimerMode != 0) StopScrollTimer();
                    PaintNonClient();
                }
        break;
    case WM_TIMER:
        TbsSkinPanel::Dispatch(m);
        if (m.WParam == kScrollTimer && TimerMode != 0) {
            ScrollStep(TimerMode == 1 ? 0 : 1);
        } else if (m.WParam == kLeaveTimer) {
            POINT pt;
            GetCursorPos(&pt);
            if (WindowFromPoint(pt) != Handle()) {
                KillTimer(Handle(), kLeaveTimer);
                NCMouseLeave();
            }
        }
        return;
    case WM_DESTROY:
        if (HandleAllocated()) {
            KillTimer(Handle(), kScrollTimer);
            KillTimer(Handle(), kLeaveTimer);
        }
        FMouseIn = false;
        break;
    case WM_WINDOWPOSCHANGING:
        TbsSkinPanel::Dispatch(m);
        if (HandleAllocated() && FAdjustControls) AdjustControlsTop();
        if (HandleAllocated() && FCanScroll && Align() == alNone) {
            // A window moved or sized without SetBounds. Scroll buttons that come or go now change
            // the frame of this very move instead of making the window anew under it.
            FPendingPos = reinterpret_cast<WINDOWPOS*>(m.LParam);
            try {
                UpdateScrollInfo();
            } catch (...) {
                FPendingPos = nullptr;
                throw;
            }
            FPendingPos = nullptr;
        }
        return;
    default: break;
    }
    TbsSkinPanel::Dispatch(m);
}
