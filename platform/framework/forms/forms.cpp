#include "platform/framework/forms/forms.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menu_popup.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/graphics/icon.h"

TCustomForm* GetParentForm(TControl* Control) { return Control ? Control->GetParentForm() : nullptr; }

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FVisible = false;
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    FFormState.Include(fsCreating);
    FCanvas.SetControl(this);
    if (Screen) Screen->AddForm(this);
}

void TCustomForm::Paint()
{
    if (OnPaint && !(ComponentState() & csDestroying)) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC)
{
    FCanvas.Lock();
    FCanvas.FreeHandle();
    FCanvas.SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
        throw;
    }
    FCanvas.SetHandle(nullptr);
    FCanvas.Unlock();
}

void TCustomForm::DestroyWnd()
{
    FCanvas.FreeHandle();
    // How a shown window comes back when it is recreated (the new window's first size message
    // would reset the form's state to normal, so the state is read from the window).
    FShowAfterRecreate = 0;
    if (FRecreating && FHandle && (GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE)) {
        const bool own = FParent || FParentWindow || FFormStyle == fsMDIChild;
        FShowAfterRecreate = own || !(IsZoomed(FHandle) || IsIconic(FHandle)) ? SW_SHOWNA
                             : IsZoomed(FHandle)                              ? SW_SHOWMAXIMIZED
                                                                              : SW_SHOWMINNOACTIVE;
    }
    if (TCustomForm* host = MDIParent()) host->MDIChildHidden(this);
    // A recreated MDI form keeps its children: their windows wait outside the dying window.
    if (FRecreating && FFormStyle == fsMDIForm)
        ParkMDIClient();
    else
        DropParkedMDIClient();
    TWinControl::DestroyWnd();
    if (!FMDIParking) FClientHandle = nullptr;
}

TIcon* TCustomForm::Icon()
{
    if (!FIcon) FIcon = new TIcon;
    return FIcon;
}

void TCustomForm::SetIcon(TIcon* v) { Icon()->Assign(v); }

void TCustomForm::BeforeDestruction()
{
    if (!FCreated || FDestroyDone) return;
    FDestroyDone = true;
    try {
        DoDestroy();
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
    // An MDI child's window goes while the form is still whole, so that its window procedure
    // (a skinned form telling its MDI form) hears WM_DESTROY from a complete form.
    if (FFormStyle == fsMDIChild && HandleAllocated()) DestroyHandle();
}

TCustomForm::~TCustomForm()
{
    // A form deleted without Free goes the way Free takes: its components see the destroying
    // state before the window goes, and it still hears OnDestroy (its own members are gone by now).
    Destroying();
    BeforeDestruction();
    if (TCustomForm* host = MDIParent()) host->MDIChildHidden(this);
    DropParkedMDIClient();
    SetWindowMenu(nullptr);
    delete FIcon;
    FIcon = nullptr;
    FCanvas.FreeHandle();
    if (Screen) Screen->RemoveForm(this);
    if (Application) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction()
{
    if (FCreated) return;
    FCreated = true;
    FFormState.Exclude(fsCreating);
    DoCreate();
}

void TCustomForm::DoCreate()
{
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TCustomForm::DoDestroy()
{
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide && !(ComponentState() & csDestroying)) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate()
{
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate && !(ComponentState() & csDestroying)) OnDeactivate(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMenu) FMenu = nullptr;
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
    if (AComponent == FActiveMDIChild) FActiveMDIChild = nullptr;
    if (AComponent == FWindowMenu) {
        FWindowMenu = nullptr;  // its sub-items, ours among them, went with it
        FWindowItems.clear();
    }
}

// ---- window ----

void TCustomForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP);
    // A form placed inside a control (or inside a foreign window) is an ordinary child window.
    if (FParent || FParentWindow) return;
    p.Style &= ~static_cast<DWORD>(WS_CHILD);
    p.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (FBorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        p.Style |= WS_CAPTION | WS_BORDER;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    p.WindowClass.hbrBackground = nullptr;
    // The program's icon, for the window manager's task bar and switcher.
    if (Application && !Application->Icon()->Empty()) p.WindowClass.hIcon = Application->Icon()->Handle();
    // Dialogs belong to the main form, so they stay above it.
    if (Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated())
        p.WndParent = Application->MainForm()->Handle();
    // An MDI child is a child window of its MDI form's client window, with its frame.
    if (FFormStyle == fsMDIChild) {
        p.Style &= ~static_cast<DWORD>(WS_POPUP);
        p.Style |= WS_CHILD;
        p.ExStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        TCustomForm* host = MDIHostForm();
        p.WndParent = host ? host->FClientHandle : nullptr;
    }
}

void TCustomForm::CreateWnd()
{
    if (FFormStyle == fsMDIChild && !FParent && !FParentWindow) {
        TCustomForm* host = MDIHostForm();
        if (!host) throw EInvalidOperation(L"Cannot create form. No MDI forms are currently active");
        host->HandleNeeded();
        static int serial = 0;
        if (!FMDISerial) FMDISerial = ++serial;
    }
    TWinControl::CreateWnd();
    if (FFormStyle == fsMDIForm && !FParent && !FParentWindow) CreateMDIClient();
    DropParkedMDIClient();  // not taken back: the form is no longer a top-level MDI form
    if (FMenu) FMenu->SetWindowHandle(FHandle);
}

void TCustomForm::CreateHandle()
{
    const int show = FShowAfterRecreate;
    FShowAfterRecreate = 0;
    TWinControl::CreateHandle();
    // A shown form whose window was recreated (a new border or form style) shows again, in its
    // state, without taking the activation.
    if (show && FHandle && FVisible) ShowWindow(FHandle, show);
}

void TCustomForm::SetFormStyle(TFormStyle v)
{
    if (v == FFormStyle) return;
    bool mdi = v == fsMDIForm || v == fsMDIChild || FFormStyle == fsMDIForm || FFormStyle == fsMDIChild;
    FFormStyle = v;
    if (mdi) {
        RecreateWnd();
        return;
    }
    if (FHandle && !FParent)
        SetWindowPos(FHandle, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    if (v == FBorderIcons) return;
    FBorderIcons = v;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState v)
{
    if (v == FWindowState) return;
    FWindowState = v;
    if (FHandle && FVisible) {
        static const int kCmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(FHandle, kCmd[v]);
    }
}

void TCustomForm::SetMenu(TMainMenu* v)
{
    if (v == FMenu) return;
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetWindowHandle(nullptr);
    }
    FMenu = v;
    if (v) {
        v->FreeNotification(this);
        if (FHandle) v->SetWindowHandle(FHandle);
    }
    // The frame makes room for the menu bar, or gives it back.
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- the plain menu bar ----

std::vector<TMenuItem*> TCustomForm::MenuBarItems() const
{
    std::vector<TMenuItem*> out;
    if (!FMenu || FParent || FBorderStyle == bsNone) return out;
    for (int i = 0; i < FMenu->Items()->Count(); ++i)
        if (FMenu->Items()->Items(i)->Visible()) out.push_back(FMenu->Items()->Items(i));
    return out;
}

int TCustomForm::MenuBarHeight() const { return MenuBarItems().empty() ? 0 : GetSystemMetrics(SM_CYMENU); }

TRect TCustomForm::GetClientRect()
{
    TRect r = TWinControl::GetClientRect();
    if (!FHandle) r.Bottom = std::max(r.Top, r.Bottom - MenuBarHeight());
    return r;
}

TRect TCustomForm::MenuBarItemRect(int i)
{
    auto items = MenuBarItems();
    if (!FHandle || i < 0 || i >= static_cast<int>(items.size())) return TRect{};
    RECT wr;
    GetWindowRect(FHandle, &wr);
    POINT o{0, 0};
    ::ClientToScreen(FHandle, &o);
    int h = MenuBarHeight();
    int x = o.x - wr.left, y = o.y - wr.top - h;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (int k = 0; k < static_cast<int>(items.size()); ++k) {
        String cap = StripHotkey(items[static_cast<size_t>(k)]->Caption());
        SIZE sz{0, 0};
        GetTextExtentPoint32W(dc, cap.c_str(), static_cast<int>(cap.size()), &sz);
        int w = sz.cx + 16;
        if (k == i) {
            DeleteDC(dc);
            return Rect(x, y, x + w, y + h);
        }
        x += w;
    }
    DeleteDC(dc);
    return TRect{};
}

void TCustomForm::PaintMenuBar()
{
    auto items = MenuBarItems();
    if (items.empty() || !FHandle) return;
    RECT wr;
    GetWindowRect(FHandle, &wr);
    POINT o{0, 0};
    ::ClientToScreen(FHandle, &o);
    int h = MenuBarHeight();
    RECT cr;
    ::GetClientRect(FHandle, &cr);
    HDC dc = GetWindowDC(FHandle);
    RECT band{o.x - wr.left, o.y - wr.top - h, o.x - wr.left + cr.right, o.y - wr.top};
    FillRect(dc, &band, GetSysColorBrush(COLOR_MENU));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        TRect r = MenuBarItemRect(i);
        RECT rr{r.Left, r.Top, r.Right, r.Bottom};
        SetTextColor(dc, GetSysColor(items[static_cast<size_t>(i)]->Enabled() ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
        String cap = items[static_cast<size_t>(i)]->Caption();
        DrawTextW(dc, cap.c_str(), static_cast<int>(cap.size()), &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
}

void TCustomForm::TrackMenuBar(int i)
{
    auto items = MenuBarItems();
    if (i < 0 || i >= static_cast<int>(items.size())) return;
    TMenuItem* item = items[static_cast<size_t>(i)];
    if (!item->Enabled()) return;
    if (item->Count() == 0) {
        item->Click();
        return;
    }
    TRect r = MenuBarItemRect(i);
    RECT wr;
    GetWindowRect(FHandle, &wr);
    item->Click();  // OnClick of a top item runs as its menu opens
    if (TMenuItem* chosen = TrackPlainPopup(item, wr.left + r.Left, wr.top + r.Bottom)) chosen->Click();
}

void TCustomForm::ApplyPosition()
{
    if (FPositioned || FParent || FParentWindow || FFormStyle == fsMDIChild) return;
    FPositioned = true;
    RECT area{0, 0, 0, 0};
    switch (FPosition) {
    case poScreenCenter: area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; break;
    case poDesktopCenter: SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* ref = nullptr;
        if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
        if (!ref && Application) ref = Application->MainForm();
        if (ref && ref != this) {
            TRect b = ref->BoundsRect();
            area = RECT{b.Left, b.Top, b.Right, b.Bottom};
        } else {
            area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        }
        break;
    }
    default: return;
    }
    int l = area.left + (area.right - area.left - FWidth) / 2;
    int t = area.top + (area.bottom - area.top - FHeight) / 2;
    if (FPosition != poMainFormCenter && FPosition != poOwnerFormCenter) {
        l = std::max(l, static_cast<int>(area.left));
        t = std::max(t, static_cast<int>(area.top));
    }
    SetBounds(l, t, FWidth, FHeight);
}

// ---- showing ----

void TCustomForm::VisibleChanging()
{
    if (FFormState.Contains(fsModal) && FVisible) throw EInvalidOperation(L"Cannot make a visible window modal");
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (FFormStyle == fsMDIChild && FHandle) {
        ActivateAsMDIChild(true);
        return;
    }
    BringToFront();
    if (FHandle && !FParent) SetActiveWindow(FHandle);
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::SetFocus()
{
    if (TCustomForm* host = MDIParent()) {
        if (!(FVisible && FEnabled)) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
        if (!host->FActive && host->FHandle) SetActiveWindow(host->FHandle);
        ActivateAsMDIChild(true);
        return;
    }
    if (!FActive) {
        if (!(FVisible && FEnabled)) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
        if (FHandle) SetActiveWindow(FHandle);
        SetWindowFocus();
    } else {
        TWinControl::SetFocus();
    }
}

void TCustomForm::SetWindowFocus()
{
    if (!FHandle) return;
    // An MDI form passes the focus on to its active child.
    if (TCustomForm* child = ActiveMDIChild(); child && !FActiveControl) {
        child->SetWindowFocus();
        return;
    }
    HWND h = FActiveControl && FActiveControl->HandleAllocated() ? FActiveControl->Handle() : FHandle;
    ::SetFocus(h);
}

void TCustomForm::Release()
{
    if (FHandle)
        PostMessageW(FHandle, CM_RELEASE, 0, 0);
    else
        Free();
}

bool TCustomForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
    }
}

int TCustomForm::ShowModal()
{
    if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FParent)
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    HWND previous = GetActiveWindow();
    HandleNeeded();
    // Every other window of the program is disabled while the modal form runs.
    std::vector<HWND> disabled;
    EnumThreadWindows([&](HWND h) {
        if (h != FHandle && IsWindowVisible(h) && IsWindowEnabled(h)) {
            disabled.push_back(h);
        }
        return TRUE;
    });
    for (HWND h : disabled) EnableWindow(h, FALSE);
    FModalResult = mrNone;
    try {
        Show();
        for (;;) {
            if (Application->Terminated()) {
                FModalResult = mrCancel;
                break;
            }
            if (FModalResult != mrNone) {
                CloseModal();
                if (FModalResult != mrNone) break;
            }
            if (!FHandle) {
                FModalResult = mrCancel;
                break;
            }
            Application->HandleMessage();
        }
    } catch (...) {
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        FFormState.Exclude(fsModal);
        throw;
    }
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    FFormState.Exclude(fsModal);
    Hide();
    if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
    return FModalResult;
}

// ---- focus ----

void TCustomForm::SetActiveControl(TWinControl* c)
{
    if (c == FActiveControl) return;
    if (c && (c == this || c->GetParentForm() != this || (!(ComponentState() & csLoading) && !c->CanFocus())))
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    FActiveControl = c;
    if (!(ComponentState() & csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* c)
{
    // A form that is not the active window only records the control: it gets the focus when the
    // form is activated again (a modal dialog may be running meanwhile).
    if (!c->CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    FActiveControl = c;
    if (FActive) {
        c->HandleNeeded();
        ::SetFocus(c->Handle());
    }
}

bool TCustomForm::SetFocusedControl(TWinControl* c)
{
    if (ComponentState() & csDestroying) return true;
    if (FFormStyle == fsMDIChild && c && (!FActive || (MDIParent() && MDIParent()->ActiveMDIChild() != this)))
        ActivateAsMDIChild(false);
    if (c == FFocusedControl) return true;
    TWinControl* old = FFocusedControl;
    FFocusedControl = c;
    if (c != this) FActiveControl = c;
    if (Screen) Screen->SetActiveControl(c);
    if (old && old != c) old->Perform(CM_EXIT);
    if (FFocusedControl != c) return false;
    if (c != this) c->Perform(CM_ENTER);
    if (FFocusedControl != c) return false;
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(c));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* c, bool Removing)
{
    if (Removing && c->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
    if (c->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        if (!Removing && FActive && FHandle && !(ComponentState() & csDestroying)) ::SetFocus(FHandle);
    }
    if (Screen && Screen->ActiveControl() && c->ContainsControl(Screen->ActiveControl()))
        Screen->SetActiveControl(nullptr);
}

bool TCustomForm::IsShortCut(TMessage& m)
{
    bool handled = false;
    if (OnShortCut) OnShortCut(m, handled);
    if (handled) return true;
    return FMenu && FMenu->IsShortCut(m);
}

// ---- messages ----

void TCustomForm::SendCancelMode(TControl* Sender)
{
    if (FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOVE:
        SendCancelMode(nullptr);
        TWinControl::Dispatch(m);
        return;
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_SYSCOMMAND:
        // The main form minimised or restored (by its frame, the window manager or the task
        // bar) minimises or restores the application, whose events report it.
        if (Application && Application->MainForm() == this) {
            WPARAM cmd = m.WParam & 0xFFF0;
            if (cmd == SC_MINIMIZE) {
                Application->Minimize();
                m.Result = 0;
                return;
            }
            if (cmd == SC_RESTORE && HandleAllocated() && IsIconic(FHandle)) {
                Application->Restore();
                m.Result = 0;
                return;
            }
        }
        DefaultHandler(m);
        return;
    case WM_NCCALCSIZE:
        DefaultHandler(m);
        if (int h = MenuBarHeight(); h > 0 && m.LParam) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            r->top = std::min(r->top + h, r->bottom);
        }
        return;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        DefaultHandler(m);
        PaintMenuBar();
        return;
    case WM_NCHITTEST: {
        DefaultHandler(m);
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        RECT wr;
        GetWindowRect(FHandle, &wr);
        for (int i = 0, n = static_cast<int>(MenuBarItems().size()); i < n; ++i)
            if (PtInRect(MenuBarItemRect(i), Point(p.x - wr.left, p.y - wr.top))) {
                m.Result = 5;  // HTMENU
                return;
            }
        return;
    }
    case WM_NCLBUTTONDOWN:
        if (m.WParam == 5) {
            POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            RECT wr;
            GetWindowRect(FHandle, &wr);
            for (int i = 0, n = static_cast<int>(MenuBarItems().size()); i < n; ++i)
                if (PtInRect(MenuBarItemRect(i), Point(p.x - wr.left, p.y - wr.top))) TrackMenuBar(i);
            return;
        }
        DefaultHandler(m);
        return;
    case CM_DIALOGCHAR:
        TWinControl::Dispatch(m);
        if (m.Result == 0) {
            auto items = MenuBarItems();
            for (int i = 0; i < static_cast<int>(items.size()); ++i)
                if (IsAccel(static_cast<WORD>(m.WParam), items[static_cast<size_t>(i)]->Caption())) {
                    m.Result = 1;
                    TrackMenuBar(i);
                    return;
                }
        }
        return;
    case WM_PAINT:
        if (OnPaint) {
            FControlState.Include(csCustomPaint);
            PaintHandler(m);
            FControlState.Exclude(csCustomPaint);
            return;
        }
        TWinControl::Dispatch(m);
        return;
    case WM_ACTIVATE: {
        bool active = LOWORD(m.WParam) != WA_INACTIVE;
        DefaultHandler(m);
        if (active == FActive) return;
        FActive = active;
        if (active) {
            if (Screen) Screen->FormActivated(this);
            SetWindowFocus();
            Activate();
        } else {
            SendCancelMode(nullptr);
            Deactivate();
        }
        return;
    }
    case WM_SETFOCUS:
        // The form itself got the focus: pass it to its active control.
        if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->Focused() == false &&
            FActiveControl->CanFocus()) {
            ::SetFocus(FActiveControl->Handle());
            return;
        }
        SetFocusedControl(this);
        DefaultHandler(m);
        return;
    case WM_SIZE:
        if (m.WParam == SIZE_MINIMIZED)
            FWindowState = wsMinimized;
        else if (m.WParam == SIZE_MAXIMIZED)
            FWindowState = wsMaximized;
        else if (m.WParam == SIZE_RESTORED)
            FWindowState = wsNormal;
        TWinControl::Dispatch(m);
        return;
    case WM_COMMAND:
        if (m.LParam == 0 && FMenu && FMenu->DispatchCommand(LOWORD(m.WParam))) return;
        TWinControl::Dispatch(m);
        return;
    case CM_RELEASE: Free(); return;
    case CM_TEXTCHANGED:
        if (TCustomForm* host = MDIParent()) host->UpdateWindowMenu();
        TWinControl::Dispatch(m);
        return;
    case CM_VISIBLECHANGED:
        if (FVisible) {
            HandleNeeded();
            ApplyPosition();
            DoShow();
            static const int kCmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
            if (FParent || FParentWindow || (FFormStyle == fsMDIChild && FWindowState == wsNormal))
                ShowWindow(FHandle, SW_SHOWNA);
            else
                ShowWindow(FHandle, kCmd[FWindowState]);
            FFormState.Include(fsVisible);
        } else {
            FFormState.Exclude(fsVisible);
            DoHide();
            if (FHandle) ShowWindow(FHandle, SW_HIDE);
            if (TCustomForm* host = MDIParent()) host->MDIChildHidden(this);
            FActive = false;
        }
        return;
    case CM_DIALOGKEY: {
        TShiftState shift = KeyDataToShiftState(m.LParam);
        switch (m.WParam) {
        case VK_TAB:
            if (!shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
                SelectNext(FActiveControl, !shift.Contains(ssShift), true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl) {
                SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
                return;
            }
            break;
        default: break;
        }
        TWinControl::Dispatch(m);
        return;
    }
    default: TWinControl::Dispatch(m);
    }
}
