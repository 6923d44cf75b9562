// The skinned form's own window states: the window itself stays normal while the component
// maximizes it to the work area, parks a minimized form's bare frame at the bottom of the work
// area (the main form minimizes through the application) and restores the bounds saved before.
// Also the frame-aware size limits, roll-up, magnetic snapping and minimizing to the tray.
#include <algorithm>

#include "platform/framework/forms/screen.h"
#include "platform/win/win_api.h"
#include "skin/core/os_layers.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/skin_form.h"

namespace {

bool IsMainForm(TCustomForm* F) { return Application && Application->MainForm() == F; }

TRect BoundsOf(TCustomForm* F) { return Bounds(F->Left(), F->Top(), F->Width(), F->Height()); }

}  // namespace

void TbsSkinForm::SetWindowState(TWindowState Value)
{
    FWindowStateInit = Value;
    if (ComponentState() & (csDesigning | csLoading)) return;
    ApplyWindowState(Value);
    FWindowStateInit = FWindowState;
}

void TbsSkinForm::ApplyWindowState(TWindowState Value)
{
    if (!FSkinnableForm) {
        FForm->SetWindowState(Value);
        return;
    }
    if (Value == FWindowState) return;
    const TWindowState old = FWindowState;
    // The main form and a form minimizing the system way leave the skinned state as it is.
    if (!(Value == wsMinimized && (IsMainForm(FForm) || FMinimizeDefault))) FWindowState = Value;
    switch (Value) {
    case wsNormal:
        if (old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) SetRollUpState(false);
        FRollUpBeforeMaximize = false;
        RestoreForm();
        break;
    case wsMinimized: MinimizeForm(); break;
    case wsMaximized:
        FRollUpBeforeMaximize = FRollUpState;
        MaximizeForm();
        break;
    }
}

void TbsSkinForm::MinimizeForm()
{
    if (IsMainForm(FForm)) {
        if (Application->MainFormOnTaskBar() && FBorderLayer->FVisible) FBorderLayer->Hide();
        Application->Minimize();
    } else if (FMinimizeDefault) {
        FForm->SetWindowState(wsMinimized);
    } else {
        if (OldBoundsRect.IsEmpty()) OldBoundsRect = BoundsOf(FForm);
        TPoint p;
        GetMinimizedPosition(p);
        if (FBorderLayer->FVisible && FBorderLayer->FullBorder())
            FForm->SetBounds(p.X + FBorderLayer->LeftSize,
                             p.Y - FBorderLayer->BottomSize - FBorderLayer->FData->RollUpFormHeight + 10, GetMinWidth(),
                             GetMinHeight());
        else
            FForm->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
        if (IsMDIChild() && FWindowState != wsMaximized) {
            if (TCustomForm* main = Application ? Application->MainForm() : nullptr; main && main->HandleAllocated()) {
                SendMessageW(main->Handle(), WM_MDICHILD_RESTORED, 0, 0);
                SendMessageW(main->Handle(), WM_MDICHILD_RESTOREOTHERS, reinterpret_cast<WPARAM>(FForm->Handle()), 0);
            }
        }
    }
    if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::MaximizeForm()
{
    if (OldBoundsRect.IsEmpty()) OldBoundsRect = BoundsOf(FForm);
    if (IsMDIChild()) {
        MouseTimer->SetEnabled(false);
        TrackObjects(-1, -1, false);
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        RECT cr{};
        if (main && main->ClientHandle()) GetClientRect(main->ClientHandle(), &cr);
        const bool same = FForm->Width() == cr.right && FForm->Height() == cr.bottom;
        FForm->SetBounds(0, 0, cr.right, cr.bottom);
        if (same) ReapplySizeLimits();
        if (main && main->HandleAllocated()) SendMessageW(main->Handle(), WM_MDICHILD_MAXIMIZED, 0, 0);
    } else {
        TRect r;
        GetScreenRect(!FMaximizeOnFullScreen, r);
        GetWindowMonitorRect(FForm->Handle(), !FMaximizeOnFullScreen, r);
        if (!FMaximizeOnFullScreen) {
            // A work area as large as the primary screen (the task bar hidden) leaves a pixel on
            // every side, so the hidden task bar can still be reached.
            TRect whole = r;
            GetWindowMonitorRect(FForm->Handle(), false, whole);
            const TRect primary = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
            if (r.Width() == whole.Width() && r.Height() == whole.Height() && whole == primary)
                r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        }
        if (FullLayeredFrameInUse()) {
            const auto* b = FBorderLayer;
            r = Rect(r.Left + b->LeftSize, r.Top + b->TopSize, r.Right - b->RightSize, r.Bottom - b->BottomSize);
        }
        FForm->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
    if (OnMaximize) OnMaximize(this);
    if (FBorderLayer->FVisible && !FBorderLayer->FullBorder()) FBorderLayer->Hide();
}

void TbsSkinForm::RestoreForm()
{
    MaxRollUpState = false;
    const int w = FForm->Width(), h = FForm->Height();
    if (LayeredBorderEnabled() && !FBorderLayer->FVisible && FForm->Visible()) FBorderLayer->ShowWithForm();
    const TRect& o = OldBoundsRect;
    if (FStartShow) {
        FStartShow = false;
        TPoint p = GetPositionInMonitor(o.Left, o.Top, o.Width(), o.Height());
        FForm->SetBounds(p.X, p.Y, o.Width(), o.Height());
    } else {
        if (FBorderLayer->FVisible) FBorderLayer->SetBoundsWithForm3(o.Left, o.Top, o.Width(), o.Height());
        FForm->SetBounds(o.Left, o.Top, o.Width(), o.Height());
    }
    MouseTimer->SetEnabled(true);
    if (w == o.Width() && h == o.Height()) ReapplySizeLimits();
    FForm->Repaint();
    if (IsMDIChild() && FWindowState != wsMaximized) {
        if (TCustomForm* main = Application ? Application->MainForm() : nullptr; main && main->HandleAllocated()) {
            SendMessageW(main->Handle(), WM_MDICHILD_RESTORED, 0, 0);
            SendMessageW(main->Handle(), WM_MDICHILD_RESTOREALL, 0, 0);
        }
    }
    OldBoundsRect = TRect{};
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
    if (OnRestore) OnRestore(this);
}

void TbsSkinForm::GetMinimizedPosition(TPoint& P)
{
    const int mw = std::max(1, GetMinWidth());  // a slot of no width would never move the search
    const int mh = std::max(1, GetMinHeight());
    TRect area;
    std::vector<TCustomForm*> others;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (IsMDIChild()) {
        RECT cr{};
        if (main && main->ClientHandle()) GetClientRect(main->ClientHandle(), &cr);
        area = Rect(0, 0, cr.right, cr.bottom);
        if (main)
            for (int i = 0; i < main->MDIChildCount(); ++i) others.push_back(main->MDIChildren(i));
    } else {
        GetScreenRect(true, area);
        GetWindowMonitorRect(FForm->Handle(), true, area);
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i) != main) others.push_back(Screen->Forms(i));
    }
    auto taken = [&](int X, int Y) {
        for (TCustomForm* f : others) {
            if (f == FForm || !f->Visible()) continue;
            TbsSkinForm* s = SkinFormOfForm(f);
            if (s && s->FWindowStateInit == wsMinimized && f->Left() == X && f->Top() == Y) return true;
        }
        return false;
    };
    const int bottomRow = area.Bottom - mh;
    int x = area.Left, y = bottomRow;
    while (taken(x, y)) {
        x += mw;
        if (x + mw > area.Right) {
            x = area.Left;
            y -= mh;
        }
        if (y < area.Top) {
            // Every slot is taken: the first one is used again.
            y = bottomRow;
            x = area.Left;
            break;
        }
    }
    P = Point(x, y);
}

// ---- size limits -----------------------------------------------------------------------------

int TbsSkinForm::GetMinWidth() const
{
    if (!FSkinSupport || !FSD || !FSD->FPicture) return FMinWidth <= 0 ? 120 : FMinWidth;
    const bool minimized = FWindowState == wsMinimized;
    const int pw = FSD->FPicture->Width();
    if (pw < FMinWidth && !minimized) return FMinWidth;
    if (FSD->FormMinWidth > 0) return FMinWidth > FSD->FormMinWidth && !minimized ? FMinWidth : FSD->FormMinWidth;
    return pw;
}

int TbsSkinForm::GetMinHeight() const
{
    const bool free = !FRollUpState && FWindowState != wsMinimized;
    if (!FSkinSupport || !FSD || !FSD->FPicture) {
        const int b = GetDefCaptionHeight() + 6;
        return FMinHeight > b && free ? FMinHeight : b;
    }
    const int frame = FSD->FPicture->Height() - FSD->ClRect.Height();
    if (FullLayeredFrameInUse()) return FMinHeight > frame && free ? FMinHeight : 10;
    const int b = FSD->FormMinHeight != 0 ? FSD->FormMinHeight : frame;
    return FMinHeight > b && free ? FMinHeight : b;
}

int TbsSkinForm::GetMaxWidth() const
{
    if (FMaxWidth != 0) return FMaxWidth;
    TRect r;
    GetScreenRect(!FMaximizeOnFullScreen, r);
    if (FForm->HandleAllocated()) GetWindowMonitorRect(FForm->Handle(), !FMaximizeOnFullScreen, r);
    return r.Width();
}

int TbsSkinForm::GetMaxHeight() const
{
    if (FMaxHeight != 0) return FMaxHeight;
    TRect r;
    GetScreenRect(!FMaximizeOnFullScreen, r);
    if (FForm->HandleAllocated()) GetWindowMonitorRect(FForm->Handle(), !FMaximizeOnFullScreen, r);
    return r.Height();
}

void TbsSkinForm::ReapplySizeLimits()
{
    const int w = FForm->Width();
    if (GetMinWidth() <= w - 1) {
        FForm->SetWidth(w - 1);
        FForm->SetWidth(FForm->Width() + 1);
    } else {
        FForm->SetWidth(w + 1);
        FForm->SetWidth(FForm->Width() - 1);
    }
}

bool TbsSkinForm::GetFullDrag() const
{
    BOOL full = FALSE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    return full != FALSE;
}

// ---- roll-up ---------------------------------------------------------------------------------

void TbsSkinForm::SetRollUpState(bool Value)
{
    if (!FBorderIcons.Contains(TbsBorderIcon::biRollUp)) return;
    if (FRollUpState && FWindowStateInit == wsMaximized && !MaxRollUpState) return;
    if (FWindowState == wsMinimized) return;
    if (FWindowStateInit == wsMaximized) MaxRollUpState = Value;
    FRollUpState = Value;
    if (Value) {
        OldHeight = FForm->Height();
        ApplyRollUpHeight();
    } else if (FClientHeight != 0) {
        FForm->SetClientHeight(FClientHeight);
    } else {
        RestoreRollUpHeight();
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinForm::ApplyRollUpHeight()
{
    const int h = GetMinHeight();
    if (LayeredBorderEnabled() && FBorderLayer->FVisible && FBorderLayer->FullBorder() && FForm->Height() == h) {
        FForm->SetHeight(h + 1);
        OldHeight = h + 1;
    }
    FForm->SetHeight(h);
}

void TbsSkinForm::RestoreRollUpHeight() { FForm->SetHeight(OldHeight); }

// ---- magnetic snapping -----------------------------------------------------------------------

void TbsSkinForm::DoMagnetic(int& X, int& Y, int W, int H)
{
    const int m = FMagneticSize;
    TRect a;
    if (IsMDIChild()) {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        RECT cr{};
        if (main && main->ClientHandle()) {
            GetClientRect(main->ClientHandle(), &cr);
            POINT o{0, 0};
            ClientToScreen(main->ClientHandle(), &o);
            OffsetRect(&cr, o.x, o.y);
        }
        a = Rect(cr.left, cr.top, cr.right, cr.bottom);
    } else {
        GetScreenRect(true, a);
        GetWindowMonitorRect(FForm->Handle(), true, a);
    }
    const bool border = LayeredBorderEnabled() && FBorderLayer->FVisible && FBorderLayer->FData &&
                        !FBorderLayer->FData->BorderRect.IsEmpty();
    const int ls = border ? FBorderLayer->LeftSize : 0, ts = border ? FBorderLayer->TopSize : 0;
    if (border) {
        X -= ls;
        Y -= ts;
        W += FBorderLayer->RightSize;
        H += FBorderLayer->BottomSize;
    }
    POINT cur;
    GetCursorPos(&cur);
    // One edge at Line, tested with T: near it the position snaps to Snapped and the snap's start
    // is remembered; dragged more than M from there it tears loose and follows the cursor;
    // otherwise, once snapped, it stays.
    auto edge = [m](int& V, int T, int Line, int Snapped, int Cursor, int& Start, bool& Flag) {
        const bool near = Line - m < T && T < Line + m;
        if (near && !Flag) {
            V = Snapped;
            Start = Cursor;
        } else if (Flag && std::abs(Cursor - Start) > m) {
            V = Cursor + Snapped - Start;
        } else if (Flag) {
            V = Snapped;
        }
        Flag = near;
        return near;
    };
    edge(X, X, a.Left, a.Left, cur.x, FOnMouseDownCoord.X, HMagnetized);
    edge(Y, Y, a.Top, a.Top, cur.y, FOnMouseDownCoord.Y, VMagnetized);
    const bool rightNear = edge(X, X + W + ls, a.Right, a.Right - W, cur.x, FOnMouseDownCoord.X, HMagnetized2);
    const bool bottomNear = edge(Y, Y + H + ts, a.Bottom, a.Bottom - H, cur.y, FOnMouseDownCoord.Y, VMagnetized2);
    if (border) {
        if (!rightNear) X += ls;
        if (!bottomNear) Y += ts;
    }
}

// ---- border and form style -------------------------------------------------------------------

void TbsSkinForm::SetFormBorderStyle(TFormBorderStyle Value)
{
    FForm->SetBorderStyle(Value);
    ChangeSkinDataOfControls(nullptr, FForm);
}

void TbsSkinForm::SetFormStyle(TFormStyle Value)
{
    if (Value != fsNormal && Value != fsStayOnTop) return;
    FForm->SetFormStyle(Value);
    ChangeSkinDataOfControls(nullptr, FForm);
}

// ---- the notification area -------------------------------------------------------------------

void TbsSkinForm::MinimizeToTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(true);
    if (Application) Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (Application) Application->Restore();
    if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
    CheckAppLayeredBorders();
}

void TbsSkinForm::TrayIconDblClick(TObject*) { RestoreFromTray(); }

void TbsSkinForm::SetTrayIcon(TComponent* Value)
{
    Bind(FTrayIconComponent, FTrayIcon, Value);
    if (!FTrayIcon) return;
    if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    FTrayIcon->SetMinimizeToTray(false);
    if (!FTrayIcon->TrayPopupMenu()) FTrayIcon->SetTrayPopupMenu(FSysTrayMenu);
    if (!FTrayIcon->HasDblClickHandler())
        FTrayIcon->SetDblClickHandler([this](TObject* Sender) { TrayIconDblClick(Sender); });
}
