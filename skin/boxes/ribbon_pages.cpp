#include "skin/boxes/ribbon_pages.h"

#include <algorithm>

#include "platform/framework/forms/forms.h"
#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"

const TbsScrollPageTwin kRibbonPageTwin{false, 1, 2, false};
const TbsScrollPageTwin kAppMenuPageTwin{true, 3, 4, true};

namespace {

constexpr int kButtonSize = 12;
constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT_PTR kLeaveTimer = 2;

const TColor kFrameBlue = RGB(59, 107, 183);
const TColor kDownFill = RGB(162, 188, 228);
const TColor kHotFill = RGB(193, 212, 243);

}  // namespace

void DrawBackgroundTile(TCanvas* C, const TRect& R, TBitmap* Tile, bool Stretch, TbsStretchType StretchType)
{
    if (!Tile || Tile->Width() < 1 || Tile->Height() < 1 || R.Width() < 1 || R.Height() < 1) return;
    HDC dc = C->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
    const int tw = Tile->Width(), th = Tile->Height();
    if (Stretch) {
        switch (StretchType) {
        case bsstFull: C->StretchDraw(R, Tile); break;
        case bsstHorz: {
            TBitmap strip(tw, R.Height());
            strip.Canvas()->StretchDraw(Rect(0, 0, tw, R.Height()), Tile);
            for (int i = 0; i <= R.Width() / tw; ++i) C->Draw(R.Left + i * tw, R.Top, &strip);
            break;
        }
        case bsstVert: {
            TBitmap strip(R.Width(), th);
            strip.Canvas()->StretchDraw(Rect(0, 0, R.Width(), th), Tile);
            for (int j = 0; j <= R.Height() / th; ++j) C->Draw(R.Left, R.Top + j * th, &strip);
            break;
        }
        }
    } else {
        for (int j = 0; j <= R.Height() / th; ++j)
            for (int i = 0; i <= R.Width() / tw; ++i) C->Draw(R.Left + i * tw, R.Top + j * th, Tile);
    }
    RestoreDC(dc, saved);
}

// ---- TbsScrollingPage ----

TbsScrollingPage::TbsScrollingPage(TComponent* AOwner, const TbsScrollPageTwin& ATwin)
    : TCustomControl(AOwner), Twin(ATwin)
{
    SetBounds(Left(), Top(), 150, 30);
}

TbsScrollingPage::~TbsScrollingPage()
{
    if (HandleAllocated()) {
        KillTimer(Handle(), kScrollTimer);
        KillTimer(Handle(), kLeaveTimer);
    }
}

void TbsScrollingPage::SetCanScroll(bool Value)
{
    if (FCanScroll == Value) return;
    FCanScroll = Value;
    if (!Value && Buttons[0].Visible) ShowButtons(false);
    GetScrollInfo();
}

void TbsScrollingPage::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsScrollingPage::SetScrollTimerInterval(int Value)
{
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsScrollingPage::SetPosition(int Value)
{
    if (Value == SPosition) return;
    SPosition = Value;
    GetScrollInfo();
}

void TbsScrollingPage::GetScrollInfo()
{
    if (FCanScroll && !RangeSuspended()) CalcScrollRange();
}

void TbsScrollingPage::UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }

void TbsScrollingPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int old = Twin.Vertical ? Height() : Width();
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    const int now = Twin.Vertical ? Height() : Width();
    FSizeOffset = old > 0 && now > old ? now - old : 0;
    if (FCanScroll) GetScrollInfo();
}

int TbsScrollingPage::ClientExtent()
{
    const TRect r = GetClientRect();
    return Twin.Vertical ? r.Height() : r.Width();
}

void TbsScrollingPage::MoveChildren(int D)
{
    if (D == 0) return;
    if (Twin.Vertical)
        ScrollBy(0, D);
    else
        ScrollBy(D, 0);
}

void TbsScrollingPage::CalcScrollRange()
{
    int e = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Visible()) e = std::max(e, Twin.Vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    if (e == 0) {
        if (Buttons[0].Visible) ShowButtons(false);
        return;
    }
    const int c = ClientExtent();
    if (c < e + SPosition) {
        if (!Buttons[0].Visible) ShowButtons(true);
        // Showing the buttons narrowed the client area.
        const int cc = ClientExtent();
        const int m = SPosition + e - 1;
        if (SPosition > 0 && e < cc && FSizeOffset > 0) {
            // Grown while scrolled: the content comes back into the new room.
            FSizeOffset = std::min(FSizeOffset, SPosition);
            SMax = m;
            SPosition -= FSizeOffset;
            SPage = cc;
            MoveChildren(FSizeOffset);
        } else if (FSizeOffset == 0 && m < SMax && SPosition > 0 && e < cc) {
            // The content shrank while scrolled.
            SMax = m;
            SPosition += e - cc;
            SPage = cc;
            MoveChildren(cc - e);
        } else {
            SMax = m;
            SPage = cc;
            FSizeOffset = 0;
        }
        SOldPosition = SPosition;
        return;
    }
    if (SPosition > 0) MoveChildren(SPosition);
    FSizeOffset = SMax = SPosition = SPage = 0;
    if (Twin.ResetOldPositionWhenFits) SOldPosition = 0;
    if (Buttons[0].Visible) ShowButtons(false);
}

void TbsScrollingPage::ShowButtons(bool Show)
{
    if (Buttons[0].Visible == Show && Buttons[1].Visible == Show) return;
    Buttons[0].Visible = Buttons[1].Visible = Show;
    TWinControl* keep = nullptr;
    if (TCustomForm* f = GetParentForm()) {
        TWinControl* a = f->ActiveControl();
        if (a && a->Focused() && (a->Parent() == this || (a->Parent() && a->Parent()->Parent() == this))) keep = a;
    }
    FMouseIn = false;
    // The frame changes in place: the window (and the focus inside it) stays.
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    PlaceButtons();
    if (keep && keep->Visible() && !keep->Focused() && keep->CanFocus()) keep->SetFocus();
}

void TbsScrollingPage::PlaceButtons()
{
    const int w = Width(), h = Height();
    if (Twin.Vertical) {
        Buttons[0].R = Rect(0, 0, w, kButtonSize);
        Buttons[1].R = Rect(0, h - kButtonSize, w, h);
    } else {
        Buttons[0].R = Rect(0, 0, kButtonSize, h);
        Buttons[1].R = Rect(w - kButtonSize, 0, w, h);
    }
}

void TbsScrollingPage::ScrollStep(int Direction)
{
    const int step = FScrollOffset != 0 ? FScrollOffset : ClientExtent();
    if (Direction == 0)
        SPosition = std::max(0, SPosition - step);
    else
        SPosition = std::min(SMax - SPage + 1, SPosition + step);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    MoveChildren(-(SPosition - SOldPosition));
    if (RepaintAfterStep()) Repaint();
    CalcScrollRange();
}

void TbsScrollingPage::AdjustClientRect(TRect& R)
{
    if (FCanScroll) {
        const TRect c = GetClientRect();
        if (Twin.Vertical)
            R = Rect(0, -SPosition, c.Width(), -SPosition + std::max(SMax, c.Height()));
        else
            R = Rect(-SPosition, 0, -SPosition + std::max(SMax, c.Width()), c.Height());
    }
    TCustomControl::AdjustClientRect(R);
}

void TbsScrollingPage::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// ---- timers and the pointer ----

void TbsScrollingPage::StartScrollTimer()
{
    if (!HandleAllocated()) return;
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
}

void TbsScrollingPage::StopScrollTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

void TbsScrollingPage::PointerEnter()
{
    FMouseIn = true;
    if (FCanScroll && Buttons[0].Visible && HandleAllocated()) {
        KillTimer(Handle(), kLeaveTimer);
        SetTimer(Handle(), kLeaveTimer, 100, nullptr);
    }
}

void TbsScrollingPage::PointerLeave()
{
    FMouseIn = false;
    if (!FCanScroll) return;
    POINT p{};
    GetCursorPos(&p);
    if (HandleAllocated() && WindowFromPoint(p) == Handle()) return;
    TScrollButton* hot = Buttons[0].Hot ? &Buttons[0] : Buttons[1].Hot ? &Buttons[1] : nullptr;
    if (!hot) return;
    hot->Hot = false;
    if (TimerMode != 0) StopScrollTimer();
    RedrawButtons();
}

void TbsScrollingPage::RedrawButtons()
{
    if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

// ---- painting ----

void TbsScrollingPage::DrawScrollButton(TCanvas* C, int I)
{
    const TScrollButton& b = Buttons[I];
    const int w = b.R.Width(), h = b.R.Height();
    if (w < 1 || h < 1) return;
    TBitmap img(w, h);
    TCanvas* c = img.Canvas();
    const bool pressedFace = (b.Pressed && b.Hot) || (b.Hot && FHotScroll);
    TColor arrow = clBtnText;
    TbsSkinData* sd = ButtonSkin();
    TbsDataSkinButtonControl* r = nullptr;
    TBitmap* pic = nullptr;
    if (sd && !sd->Empty) {
        const int i = sd->GetControlIndex(L"resizetoolbutton");
        if (i >= 0 && i < static_cast<int>(sd->CtrlList.size()))
            r = dynamic_cast<TbsDataSkinButtonControl*>(sd->CtrlList[static_cast<size_t>(i)]);
        if (r && r->PictureIndex >= 0 && r->PictureIndex < static_cast<int>(sd->FActivePictures.size()))
            pic = sd->FActivePictures[static_cast<size_t>(r->PictureIndex)];
    }
    if (r && pic) {
        TRect src = r->SkinRect;
        arrow = r->FontColor;
        if (!IsNullRect(r->DownSkinRect) && pressedFace) {
            src = r->DownSkinRect;
            arrow = r->DownFontColor;
        } else if (b.Hot && !IsNullRect(r->ActiveSkinRect)) {
            src = r->ActiveSkinRect;
            arrow = r->ActiveFontColor;
        }
        const int dw = w - RectWidth(r->SkinRect), dh = h - RectHeight(r->SkinRect);
        CreateSkinImage(r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ClRect, r->LTPoint,
                        Point(r->RTPoint.X + dw, r->RTPoint.Y), Point(r->LBPoint.X, r->LBPoint.Y + dh),
                        Point(r->RBPoint.X + dw, r->RBPoint.Y + dh),
                        Rect(r->ClRect.Left, r->ClRect.Top, r->ClRect.Right + dw, r->ClRect.Bottom + dh), &img, pic,
                        src, w, h, true, r->LeftStretch, r->TopStretch, r->RightStretch, r->BottomStretch,
                        r->StretchEffect, r->StretchType);
        DrawArrowImage(c, Rect(0, 0, w, h), arrow, I == 0 ? Twin.BackArrow : Twin.ForwardArrow);
    } else {
        const TColor frame = pressedFace || b.Hot ? kFrameBlue : clBtnShadow;
        const TColor fill = pressedFace ? kDownFill : b.Hot ? kHotFill : clBtnFace;
        c->Brush()->SetColor(frame);
        c->FrameRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(fill);
        c->FillRect(Rect(1, 1, w - 1, h - 1));
        DrawArrowImage(c, Rect(1, 1, w - 1, h - 1), arrow, I == 0 ? Twin.BackArrow : Twin.ForwardArrow);
    }
    C->Draw(b.R.Left, b.R.Top, &img);
}

void TbsScrollingPage::PaintButtons(HDC DC)
{
    if (Buttons[0].R.IsEmpty()) PlaceButtons();
    TCanvas c;
    c.SetHandle(DC);
    for (int i = 0; i < 2; ++i)
        if (Buttons[i].Visible) DrawScrollButton(&c, i);
    c.SetHandle(nullptr);
}

// ---- messages ----

void TbsScrollingPage::WndProc(TMessage& m)
{
    if (!FCanScroll) {
        TCustomControl::WndProc(m);
        return;
    }
    const bool ncButton =
        m.WParam == static_cast<WPARAM>(HTPAGESCROLLBACK) || m.WParam == static_cast<WPARAM>(HTPAGESCROLLFORWARD);
    const int which = m.WParam == static_cast<WPARAM>(HTPAGESCROLLBACK) ? 0 : 1;
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGING:
        if (HandleAllocated() && Align() == alNone) GetScrollInfo();
        break;
    case WM_NCHITTEST: {
        if (!FMouseIn) PointerEnter();
        const TPoint p =
            ScreenToClient(Point(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))));
        const int along = Twin.Vertical ? p.Y : p.X;
        if (along < 0 && Buttons[0].Visible) {
            m.Result = HTPAGESCROLLBACK;
            return;
        }
        if (along > ClientExtent() && Buttons[1].Visible) {
            m.Result = HTPAGESCROLLFORWARD;
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE:
        if (ncButton && !Buttons[which].Hot) {
            Buttons[which].Hot = true;
            Buttons[1 - which].Hot = false;
            RedrawButtons();
            if (FHotScroll) {
                TimerMode = which + 1;
                StartScrollTimer();
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (ncButton) {
            Buttons[which].Pressed = true;
            RedrawButtons();
            TimerMode = which + 1;
            StartScrollTimer();
        }
        break;
    case WM_NCLBUTTONUP:
        if (ncButton) {
            Buttons[which].Pressed = false;
            RedrawButtons();
            StopScrollTimer();
            ScrollStep(which);
        }
        break;
    case WM_MOUSEMOVE:
        for (TScrollButton& b : Buttons)
            if (b.Hot && b.Visible) {
                if (TimerMode != 0) StopScrollTimer();
                b.Hot = false;
                RedrawButtons();
                break;
            }
        break;
    default: break;
    }
    TCustomControl::WndProc(m);
}

void TbsScrollingPage::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_DESTROY:
        KillTimer(Handle(), kScrollTimer);
        KillTimer(Handle(), kLeaveTimer);
        FMouseIn = false;
        break;
    case WM_SIZE:
        TCustomControl::Dispatch(m);
        if (FCanScroll && Buttons[0].Visible && CanPlaceButtons()) {
            PlaceButtons();
            RedrawButtons();
        }
        return;
    case WM_SETCURSOR:
        if (FCanScroll && (LOWORD(m.LParam) == HTPAGESCROLLBACK || LOWORD(m.LParam) == HTPAGESCROLLFORWARD))
            m.LParam = MAKELPARAM(HTCLIENT, HIWORD(m.LParam));
        break;
    case WM_TIMER:
        TCustomControl::Dispatch(m);
        if (m.WParam == kScrollTimer) {
            if (TimerMode == 1)
                ScrollStep(0);
            else if (TimerMode == 2)
                ScrollStep(1);
        } else if (m.WParam == kLeaveTimer) {
            POINT p{};
            GetCursorPos(&p);
            if (WindowFromPoint(p) != Handle()) {
                KillTimer(Handle(), kLeaveTimer);
                PointerLeave();
            }
        }
        return;
    case WM_NCCALCSIZE:
        if (FCanScroll && m.LParam) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            if (Twin.Vertical) {
                if (Buttons[0].Visible) r->top += kButtonSize;
                if (Buttons[1].Visible) r->bottom -= kButtonSize;
            } else {
                if (Buttons[0].Visible) r->left += kButtonSize;
                if (Buttons[1].Visible) r->right -= kButtonSize;
            }
        }
        m.Result = 0;
        return;
    case WM_NCPAINT:
        if (FCanScroll && (Buttons[0].Visible || Buttons[1].Visible) && HandleAllocated()) {
            HDC dc = GetWindowDC(Handle());
            PaintButtons(dc);
            ReleaseDC(Handle(), dc);
        }
        m.Result = 0;
        return;
    case WM_SKIN_PAINTTODC:
        if (m.WParam && (Buttons[0].Visible || Buttons[1].Visible)) {
            PaintButtons(reinterpret_cast<HDC>(m.WParam));
            m.Result = SKIN_PAINTTODC_DONE;
        } else {
            m.Result = 0;
        }
        return;
    case WM_SKIN_PAINTBORDERTODC:
        if (m.LParam != SKIN_PAINT_KEY) break;
        if (m.WParam && (Buttons[0].Visible || Buttons[1].Visible)) PaintButtons(reinterpret_cast<HDC>(m.WParam));
        m.Result = SKIN_PAINT_KEY;
        return;
    case WM_ERASEBKGND:
        if (m.WParam) PaintBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

// ---- the ribbon's pages ----

TbsRibbonCustomPage::TbsRibbonCustomPage(TComponent* AOwner) : TbsScrollingPage(AOwner, kRibbonPageTwin) {}

bool TbsRibbonCustomPage::RepaintAfterStep() const
{
    return Ribbon && Ribbon->SkinRecord() && Ribbon->SkinRecord()->StretchEffect;
}

TbsSkinData* TbsRibbonCustomPage::ButtonSkin() const
{
    return Ribbon && Ribbon->SkinRecord() ? Ribbon->SkinData() : nullptr;
}

void TbsRibbonCustomPage::PaintBackground(HDC DC)
{
    if (!Ribbon || Width() < 1 || Height() < 1) return;
    Ribbon->GetSkinData();
    TCanvas c;
    c.SetHandle(DC);
    const TRect all = Rect(0, 0, Width(), Height());
    if (auto* r = Ribbon->SkinRecord()) {
        TBitmap tile;
        if (Ribbon->BackgroundTile(tile)) DrawBackgroundTile(&c, all, &tile, r->StretchEffect, r->StretchType);
    } else {
        c.Brush()->SetColor(clBtnFace);
        c.FillRect(all);
    }
    c.SetHandle(nullptr);
}

TbsRibbonPage::TbsRibbonPage(TComponent* AOwner) : TbsRibbonCustomPage(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls).Include(csNoDesignVisible);
    SetControlStyle(style);
    SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TbsRibbonPage::SetCaption(const String& Value)
{
    FCaption = Value;
    if (Ribbon) Ribbon->Repaint();
}

void TbsRibbonPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (Parent() && Ribbon) {
        const TRect r = Ribbon->GetPageBounds();
        TbsRibbonCustomPage::SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return;
    }
    TbsRibbonCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsRibbonPage::Dispatch(TMessage& m)
{
    TbsRibbonCustomPage::Dispatch(m);
    if (m.Msg == WM_SIZE) Repaint();
}

// ---- the application menu's pages ----

TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner) : TbsScrollingPage(AOwner, kAppMenuPageTwin)
{
    FCanScroll = false;
}

TbsSkinData* TbsAppMenuCustomPage::ButtonSkin() const
{
    return AppMenu && AppMenu->SkinRecord() ? AppMenu->SkinData() : nullptr;
}

void TbsAppMenuCustomPage::PaintBackground(HDC DC)
{
    if (Width() < 1 || Height() < 1) return;
    TCanvas c;
    c.SetHandle(DC);
    const TRect all = Rect(0, 0, Width(), Height());
    TbsDataSkinAppMenu* r = nullptr;
    if (AppMenu) {
        AppMenu->GetSkinData();
        r = AppMenu->SkinRecord();
    }
    if (r) {
        TBitmap tile;
        if (AppMenu->ClientTile(tile)) DrawBackgroundTile(&c, all, &tile, r->StretchEffect, r->StretchType);
    } else {
        c.Brush()->SetColor(clWindow);
        c.FillRect(all);
    }
    c.SetHandle(nullptr);
}

TbsAppMenuPage::TbsAppMenuPage(TComponent* AOwner) : TbsAppMenuCustomPage(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls).Include(csNoDesignVisible);
    SetControlStyle(style);
}

void TbsAppMenuPage::SetDefaultWidth(int Value)
{
    if (FDefaultWidth == Value) return;
    FDefaultWidth = Value;
    SetWidth(Value);
}

void TbsAppMenuPage::SetFirstActiveControl(TWinControl* Value)
{
    if (FFirstActiveControl) FFirstActiveControl->RemoveFreeNotification(this);
    FFirstActiveControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsAppMenuPage::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsAppMenuCustomPage::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFirstActiveControl) FFirstActiveControl = nullptr;
}

void TbsAppMenuPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (Parent() && AppMenu) {
        const TRect p = AppMenu->GetPageBounds();
        int w = p.Width();
        if (FDefaultWidth != 0 && AWidth <= p.Width() && FDefaultWidth <= p.Width()) w = FDefaultWidth;
        TbsAppMenuCustomPage::SetBounds(p.Left, p.Top, std::max(w, 100), std::max(p.Height(), 100));
        return;
    }
    TbsAppMenuCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsAppMenuPage::Dispatch(TMessage& m)
{
    TbsAppMenuCustomPage::Dispatch(m);
    if (m.Msg == WM_SIZE) Repaint();
}
