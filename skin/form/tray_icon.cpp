#include "skin/form/tray_icon.h"

#include <algorithm>

#include "platform/framework/controls/win_control.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/forms/util_window.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "skin/core/skin_messages.h"

namespace {

constexpr intptr_t kTrayMark = -10000;  // the main form's Tag while the tray hides or restores it

// Shift, Ctrl and Alt as the keyboard holds them now.
TShiftState GetShiftState()
{
    TShiftState s;
    if (GetAsyncKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

// Copies at most Max characters of Text into a zero-terminated field.
template <size_t N>
void CopyCut(WCHAR (&Field)[N], const String& Text, size_t Max)
{
    const size_t n = std::min({Text.size(), Max, N - 1});
    std::copy_n(Text.data(), n, Field);
    Field[n] = 0;
}

}  // namespace

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner)
{
    SettingMDIForm = FIconVisible = FMinimizeToTray = FEnabled = FShowHint = true;
    FTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    FIcon = new TIcon;
    FHandle = AllocateHWnd([this](TMessage& m) { TrayWndProc(m); });
    FIconData.hWnd = FHandle;
    FIconData.uID = 1;
    FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    FIconData.uCallbackMessage = WM_SKINTRAY_NOTIFY;
    AnimateTimer = new TTimer(nullptr);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(FAnimateTimerInterval);
    AnimateTimer->OnTimer = [this](TObject* Sender) { AnimateTimerProc(Sender); };
    ClickTimer = new TTimer(nullptr);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(GetDoubleClickTime());
    ClickTimer->OnTimer = [this](TObject* Sender) { ClickTimerProc(Sender); };
    if (!Designing()) {
        if (FIcon->Empty() && UseApplicationIcon() && Application) FIcon->Assign(Application->Icon());
        HookAppProc();
        if (OwnerControl()) HookParentForm();
    }
}

TbsTrayIcon::~TbsTrayIcon()
{
    SetIconVisible(false);
    SetDesignPreview(false);
    delete FIcon;
    FIcon = nullptr;
    DeallocateHWnd(FHandle);
    FHandle = nullptr;
    delete AnimateTimer;
    delete ClickTimer;
    if (!Designing()) {
        if (OldAppProc && IsWindow(FAppWnd))
            SetWindowLongPtrW(FAppWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(OldAppProc));
        if (OldWndProc && IsWindow(FParentWnd))
            SetWindowLongPtrW(FParentWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
    }
    if (NewAppProc) FreeObjectInstance(NewAppProc);
    if (NewWndProc) FreeObjectInstance(NewWndProc);
}

void TbsTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (OwnerControl() && FMinimizedOnStart && !Designing()) {
        FIconVisible = FMinimizeToTray = true;
        if (Application) {
            Application->SetShowMainForm(false);
            ShowWindow(Application->Handle(), SW_HIDE);
        }
    }
    ModifyNotifyIcon();
    SetIconVisible(FIconVisible);
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FIconList) FIconList = nullptr;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TWinControl* TbsTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

// ---- the notification area ----

bool TbsTrayIcon::UpdateIconData()
{
    if (Designing() && !SettingPreview && !FDesignPreview) return false;
    FIconData.hIcon = FIcon ? FIcon->Handle() : nullptr;
    CopyCut(FIconData.szTip, !FHint.empty() && FShowHint ? FHint : String(), 127);
    return true;
}

bool TbsTrayIcon::AddNotifyIcon()
{
    if (!SettingPreview) FIconVisible = true;
    if ((!Designing() || SettingPreview) && UpdateIconData()) return Shell_NotifyIconW(NIM_ADD, &FIconData) != FALSE;
    return false;
}

bool TbsTrayIcon::DeleteNotifyIcon()
{
    if (!SettingPreview) FIconVisible = false;
    if ((!Designing() || SettingPreview) && UpdateIconData()) return Shell_NotifyIconW(NIM_DELETE, &FIconData) != FALSE;
    return false;
}

bool TbsTrayIcon::ModifyNotifyIcon()
{
    if (UpdateIconData()) return Shell_NotifyIconW(NIM_MODIFY, &FIconData) != FALSE;
    return false;
}

// ---- properties ----

void TbsTrayIcon::SetIcon(TIcon* Value)
{
    FIcon->Assign(Value);
    ModifyNotifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool Value)
{
    if (Value)
        AddNotifyIcon();
    else
        DeleteNotifyIcon();
}

void TbsTrayIcon::SetDesignPreview(bool Value)
{
    FDesignPreview = Value;
    if (!SettingPreview) return;
    SetIconVisible(Value);
}

void TbsTrayIcon::SetCycleIcons(bool Value)
{
    FCycleIcons = Value;
    if (Value) SetIconIndex(0);
    AnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(unsigned Value)
{
    FAnimateTimerInterval = Value;
    AnimateTimer->SetInterval(Value);
}

void TbsTrayIcon::SetIconList(TCustomImageList* Value)
{
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = Value;
    if (Value) Value->FreeNotification(this);
    SetIconIndex(0);
}

void TbsTrayIcon::SetPopupMenu(TPopupMenu* Value)
{
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsTrayIcon::SetIconIndex(int Value)
{
    if (FIconList) {
        FIconIndex = Value >= FIconList->Count() ? FIconList->Count() - 1 : Value;
        if (FIconIndex >= 0 && FIconIndex < FIconList->Count()) {
            FIconList->GetIcon(FIconIndex, FIcon);
        } else {
            TIcon empty;  // a list without that icon gives an empty one
            FIcon->Assign(&empty);
        }
    } else {
        FIconIndex = 0;
    }
    ModifyNotifyIcon();
}

void TbsTrayIcon::SetHint(const String& Value)
{
    FHint = Value;
    ModifyNotifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value)
{
    FShowHint = Value;
    ModifyNotifyIcon();
}

// ---- balloons and icons ----

bool TbsTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType)
{
    HideBalloonHint();
    FIconData.uFlags |= NIF_INFO;
    CopyCut(FIconData.szInfo, Text, 255);
    CopyCut(FIconData.szInfoTitle, Title, 63);
    static const DWORD flags[] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
    FIconData.dwInfoFlags = flags[IconType];
    const bool ok = ModifyNotifyIcon();
    FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return ok;
}

bool TbsTrayIcon::HideBalloonHint()
{
    FIconData.uFlags |= NIF_INFO;
    FIconData.szInfo[0] = 0;
    return ModifyNotifyIcon();
}

bool TbsTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor)
{
    TImageList list(nullptr, 16, 16);
    list.AddMasked(Bitmap, MaskColor);
    if (list.Count() > 0) list.GetIcon(0, Icon);
    return true;
}

// ---- the hidden window ----

void TbsTrayIcon::TrayWndProc(TMessage& Msg)
{
    switch (Msg.Msg) {
    case WM_SKINTRAY_NOTIFY:
        if (FEnabled) Notify(Msg.LParam);
        return;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY: Msg.Result = 1; return;
    }
    Msg.Result = DefWindowProcW(FHandle, Msg.Msg, Msg.WParam, Msg.LParam);
}

void TbsTrayIcon::Notify(LPARAM Event)
{
    const TShiftState shift = GetShiftState();
    POINT pt{0, 0};
    GetCursorPos(&pt);
    switch (static_cast<UINT>(Event)) {
    case WM_MOUSEMOVE: DoMouseMove(shift, pt.x, pt.y); break;
    case WM_LBUTTONDOWN:
        ClickTimer->SetEnabled(true);
        DoMouseDown(mbLeft, shift + TShiftState{ssLeft}, pt.x, pt.y);
        FClickStart = true;
        if (FPopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        if (FClickStart) {
            FClickReady = true;
            // Held longer than the double-click time: the click comes with the release.
            if (!ClickTimer->Enabled()) {
                FClickStart = FClickReady = false;
                DoClick();
            }
        }
        FClickStart = false;
        DoMouseUp(mbLeft, shift + TShiftState{ssLeft}, pt.x, pt.y);
        break;
    case WM_LBUTTONDBLCLK:
        FClickReady = false;
        IsDblClick = true;
        DoDblClick();
        if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
            TMenuItem* items = FPopupMenu->Items();
            for (int i = 0; i < items->Count(); ++i)
                if (items->Items(i)->Default()) {
                    items->Items(i)->Click();
                    break;
                }
        }
        break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, shift + TShiftState{ssRight}, pt.x, pt.y);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP: DoMouseUp(mbRight, shift + TShiftState{ssRight}, pt.x, pt.y); break;
    case WM_MBUTTONDOWN: DoMouseDown(mbMiddle, shift + TShiftState{ssMiddle}, pt.x, pt.y); break;
    case WM_MBUTTONUP: DoMouseUp(mbMiddle, shift + TShiftState{ssMiddle}, pt.x, pt.y); break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    }
}

void TbsTrayIcon::ClickTimerProc(TObject*)
{
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        DoClick();
    }
    IsDblClick = false;
}

void TbsTrayIcon::PopupAtCursor()
{
    POINT pt;
    if (!FPopupMenu || !FPopupMenu->AutoPopup() || !GetCursorPos(&pt)) return;
    if (Application) Application->ProcessMessages();
    SetForegroundWindow(FHandle);
    TWinControl* owner = OwnerControl();
    if (owner) SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pt.x, pt.y);
    if (owner) PostMessageW(owner->Handle(), WM_NULL, 0, 0);
}

// ---- animation ----

void TbsTrayIcon::AnimateTimerProc(TObject*)
{
    if (!FIconList) return;
    if (FIconIndex >= 0 && FIconIndex < FIconList->Count()) FIconList->GetIcon(FIconIndex, FIcon);
    DoCycle();
    ModifyNotifyIcon();
    SetIconIndex(FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0);
}

// ---- events ----

void TbsTrayIcon::DoClick()
{
    if (OnClick) OnClick(this);
}

void TbsTrayIcon::DoDblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TbsTrayIcon::DoCycle()
{
    if (!OnCycle) return;
    const int next = FIconList && FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0;
    OnCycle(this, next);
}

void TbsTrayIcon::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TbsTrayIcon::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TbsTrayIcon::DoMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TbsTrayIcon::DoMinimizeToTray()
{
    HideMainForm();
    SetIconVisible(true);
}

// ---- the main form ----

void TbsTrayIcon::HideMainForm()
{
    if (!OwnerControl() || !Application || !Application->MainForm()) return;
    TCustomForm* main = Application->MainForm();
    main->SetVisible(false);
    ShowWindow(Application->Handle(), SW_HIDE);
    main->SetTag(kTrayMark);
}

void TbsTrayIcon::ShowMainForm()
{
    if (!OwnerControl() || !Application || !Application->MainForm()) return;
    TCustomForm* main = Application->MainForm();
    ShowWindow(Application->Handle(), SW_RESTORE);
    main->SetVisible(true);
    if (main->WindowState() == wsMinimized) main->SetWindowState(wsNormal);
    main->SetTag(kTrayMark);
    PostMessageW(main->Handle(), WM_SKINFORM_TRAYRESTORE, 0, 0);
}

// ---- subclassing ----

void TbsTrayIcon::HookAppProc()
{
    if (!Application) return;
    FAppWnd = Application->Handle();
    NewAppProc = MakeObjectInstance([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return AppWndProc(w, m, wp, lp); });
    OldAppProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(FAppWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(NewAppProc)));
}

void TbsTrayIcon::HookParentForm()
{
    FParentWnd = OwnerControl()->Handle();
    NewWndProc =
        MakeObjectInstance([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return ParentFormWndProc(w, m, wp, lp); });
    OldWndProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(FParentWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(NewWndProc)));
}

LRESULT TbsTrayIcon::AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_SIZE && WParam == SIZE_MINIMIZED && FMinimizeToTray) {
        DoMinimizeToTray();
    } else if (Msg == WM_WINDOWPOSCHANGED && SettingMDIForm && Application && Application->MainForm()) {
        if (Application->MainForm()->FormStyle() == fsMDIForm && FMinimizedOnStart)
            ShowWindow(Application->Handle(), SW_HIDE);
        SettingMDIForm = false;
    } else if (Msg == FTaskbarCreated && FTaskbarCreated && FIconVisible) {
        AddNotifyIcon();
    }
    return CallWindowProcW(OldAppProc, Wnd, Msg, WParam, LParam);
}

LRESULT TbsTrayIcon::ParentFormWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_ACTIVATE && (LOWORD(WParam) == WA_ACTIVE || LOWORD(WParam) == WA_CLICKACTIVE) && Screen &&
        Screen->ActiveControl()) {
        TWinControl* ac = Screen->ActiveControl();
        TWinControl* ref = ac->Parent() ? ac->Parent() : ac;
        if (ac->HandleAllocated() && (!ref->HandleAllocated() || reinterpret_cast<HWND>(LParam) != ref->Handle()))
            SetFocus(ac->Handle());
    } else if (Msg == WM_SHOWWINDOW && WParam == 1 && LParam == 0 && Application) {
        ShowWindow(Application->Handle(), SW_RESTORE);
        SetForegroundWindow(Application->Handle());
        SetForegroundWindow(Wnd);
    }
    return CallWindowProcW(OldWndProc, Wnd, Msg, WParam, LParam);
}
