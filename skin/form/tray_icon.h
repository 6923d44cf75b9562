// TbsTrayIcon: one icon in the notification area (Shell_NotifyIconW with a hidden window of its
// own that hears WM_SKINTRAY_NOTIFY). It animates the icon from an image list, shows balloons,
// reports the mouse on the icon as events (a click waits out the double-click time so a double
// click never also clicks), pops up its menu on the right button, and can hide the main form in
// place of minimising it: while MinimizeToTray is on, the application window's WM_SIZE
// (SIZE_MINIMIZED) hides the main form (Tag -10000) and shows the icon; ShowMainForm brings it
// back through WM_SKINFORM_TRAYRESTORE, which the skinned form answers. The skinned form links to
// it through its TrayIcon property (TbsFormTrayLink). Owned by a form, it
// subclasses the application window and that form; both are undone when it goes.
//
// The menu is any popup menu: it opens through its virtual Popup, which the skinned popup menu
// overrides; until that menu exists the framework's plain popup serves.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/shell_api.h"
#include "skin/form/form_links.h"

class TWinControl;

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };
using TbsCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

class TbsTrayIcon : public TComponent, public TbsFormTrayLink {
public:
    explicit TbsTrayIcon(TComponent* AOwner);
    ~TbsTrayIcon() override;
    void Loaded() override;

    void ShowMainForm() override;
    void HideMainForm();
    // The balloon; the text is cut at 255 characters, the title at 63. Answers the shell's result.
    bool ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType);
    bool HideBalloonHint();
    // Icon from a bitmap through a 16 x 16 image list, MaskColor transparent.
    bool BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);
    bool Refresh() { return ModifyNotifyIcon(); }
    // The hidden window that hears the notification area.
    HWND Handle() const { return FHandle; }

    // ---- properties ----
    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool Value);
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    unsigned AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(unsigned Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TIcon* Icon() const { return FIcon; }
    void SetIcon(TIcon* Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value) override;
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    bool PopupByLeftButton() const { return FPopupByLeftButton; }
    void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
    bool MinimizedOnStart() const { return FMinimizedOnStart; }
    void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) override { FMinimizeToTray = Value; }

    // ---- what the skinned form asks of its tray icon ----
    TPopupMenu* TrayPopupMenu() const override { return FPopupMenu; }
    void SetTrayPopupMenu(TPopupMenu* Menu) override { SetPopupMenu(Menu); }
    bool HasDblClickHandler() const override { return static_cast<bool>(OnDblClick); }
    void SetDblClickHandler(TNotifyEvent Handler) override { OnDblClick = std::move(Handler); }

    // The notification record as last handed to the shell (tests, the skinned form).
    const NOTIFYICONDATAW& IconData() const { return FIconData; }

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TbsCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintClick;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool UseApplicationIcon() { return true; }
    // Shell_NotifyIconW with NIM_ADD, NIM_DELETE, NIM_MODIFY; true only when the shell was called
    // and succeeded. Add and delete also set IconVisible.
    virtual bool AddNotifyIcon();
    virtual bool DeleteNotifyIcon();
    virtual bool ModifyNotifyIcon();
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle();
    virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMinimizeToTray();

private:
    bool Designing() const { return (ComponentState() & csDesigning) != 0; }
    bool UpdateIconData();
    void PopupAtCursor();
    void TrayWndProc(TMessage& Msg);
    void Notify(LPARAM Event);
    void AnimateTimerProc(TObject* Sender);
    void ClickTimerProc(TObject* Sender);
    TWinControl* OwnerControl() const;
    void HookAppProc();
    void HookParentForm();
    LRESULT AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT ParentFormWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

    bool FDesignPreview = false;
    TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FAnimateTimerInterval = 0;
    bool FEnabled = true;
    String FHint;
    bool FShowHint = true;
    TIcon* FIcon = nullptr;
    bool FIconVisible = true;
    int FIconIndex = 0;
    TPopupMenu* FPopupMenu = nullptr;
    bool FPopupByLeftButton = false;
    bool FMinimizedOnStart = false;
    bool FMinimizeToTray = false;

    bool FClickStart = false, FClickReady = false, IsDblClick = false;
    TTimer* AnimateTimer = nullptr;
    TTimer* ClickTimer = nullptr;
    bool SettingPreview = false;
    bool SettingMDIForm = true;
    UINT FTaskbarCreated = 0;
    HWND FHandle = nullptr;
    NOTIFYICONDATAW FIconData;
    // The subclassings: the saved procedures and the ones put in their place.
    HWND FAppWnd = nullptr, FParentWnd = nullptr;
    WNDPROC OldAppProc = nullptr, NewAppProc = nullptr, OldWndProc = nullptr, NewWndProc = nullptr;
};
