// What the skinned form asks of the components that are built on top of it: the skinned menus,
// the skinned hint, the main menu bar, the ribbon, the status bar and the tray icon. Each of them
// implements its interface here, so the form reaches them without knowing their classes, and a
// form without one of them simply skips that step. The menu engine is made through a factory
// the menus library installs; without it a form opens no skinned menus.
#pragma once

#include <functional>

#include "platform/framework/controls/control.h"
#include "platform/framework/forms/menus.h"

class TbsSkinData;
class TbsSkinForm;
class TCustomForm;

// The form's own menu engine (one per form): opens menu items as a skinned popup and closes it.
// Its closing reaches the form as WM_SKINMENU_CLOSED.
class TbsFormMenuEngine {
public:
    virtual ~TbsFormMenuEngine() = default;
    // Opens Item's sub-items beside the screen rectangle R (above it with PopupUp) for
    // PopupCtrl (nullptr: the form), drawn from SD.
    virtual void Popup(TControl* PopupCtrl, TbsSkinData* SD, int StartIndex, const TRect& R, TMenuItem* Item,
                       bool PopupUp) = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // A popup window of the engine exists (keys may go to it).
    virtual bool HasPopupList() const { return false; }
    // Hands a key to the last open popup window; false when none is open.
    virtual bool PopupKeyDown(WPARAM) { return false; }
    // Number of popup windows open.
    virtual int PopupCount() const { return 0; }
    // The last popup window's selected item has sub-items.
    virtual bool LastSelectedHasSubItems() const { return false; }
    // Settings the form passes on (its menu properties).
    virtual void SetMaxMenuItemsInWindow(int) {}
    virtual void SetAlphaBlend(bool, int, bool) {}
};

// Made by the skinned menus library for each skinned form; the owner is the skin form.
struct TbsFormMenuFactory {
    std::function<TbsFormMenuEngine*(TbsSkinForm* Owner, TCustomForm* Form)> MakeEngine;
    // The tray icon's menu (a skinned popup menu); a plain popup menu when unset.
    std::function<TPopupMenu*(TbsSkinForm* Owner, TCustomForm* Form)> MakeTrayMenu;
    // Gives a menu made by MakeTrayMenu the form's skin.
    std::function<void(TPopupMenu* Menu, TbsSkinData* SD)> SetMenuSkinData;
};
TbsFormMenuFactory& FormMenuFactory();

// The skinned hint, for the hints of frame objects.
class TbsFormHintLink {
public:
    virtual ~TbsFormHintLink() = default;
    virtual void ActivateHint2(const String& Hint) = 0;
    virtual void HideHint() = 0;
};

// The main menu bar in the form's frame or client area.
class TbsFormMenuBarLink {
public:
    virtual ~TbsFormMenuBarLink() = default;
    // Keyboard menu mode with the first item highlighted (the Alt key).
    virtual void EnterMenuMode() = 0;
    virtual void LeaveMenuMode() = 0;
    // Releases a pressed item (a sub-menu closed, menu mode stays).
    virtual void ReleaseItem() {}
    // A key while in menu mode; true when the bar used it.
    virtual bool MenuKeyDown(WPARAM) { return false; }
    virtual void PreviousItem() {}
    virtual void NextItem() {}
    // The bar opens its item's menu on this key (Return, Down).
    virtual bool OpensOnKey(WPARAM) { return false; }
    // MDI: a child was maximized (the bar shows its buttons) or the children were restored.
    virtual void MDIChildMaximize() {}
    virtual void MDIChildRestore() {}
    // The bar shows an MDI child's main menu merged into its own.
    virtual bool ShowsChildMenu() const { return false; }
    // Builds the items again (the merged menu of the active child).
    virtual void UpDateItems() {}
};

// The ribbon bound to the form through SkinRibbon. No form of the program carries one.
class TbsFormRibbonLink {
public:
    virtual ~TbsFormRibbonLink() = default;
    virtual void SetSkinForm(TbsSkinForm* Form) = 0;
    virtual bool HasAppMenu() const = 0;
    virtual bool AppMenuVisible() const = 0;
    virtual void HideAppMenu() = 0;
    virtual void FocusRibbon() = 0;
    virtual bool CanDrawAppMenuCaption() const = 0;
    virtual void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R) = 0;
    virtual int AppMenuCaptionOffset() const = 0;
    virtual int AppMenuItemWidth() const = 0;
    // MDI: a child was maximized or the children were restored.
    virtual void MDIChildMaximize() {}
    virtual void MDIChildRestore() {}
    // A shortcut of the application button's menu: runs its item; true when one ran.
    virtual bool AppButtonShortCut(TMessage&) { return false; }
    // Alt+key: the first tab whose page caption has Key as its accelerator becomes the active one.
    virtual void TabAccel(WORD) {}
};

// The MDI tabs bar named by MDITabsBar: one tab per accepted child.
class TbsFormMDITabsLink {
public:
    virtual ~TbsFormMDITabsLink() = default;
    virtual void AddTab(TCustomForm* Child) = 0;
    virtual void DeleteTab(TCustomForm* Child) = 0;
    // The child's tab drawn again at once (its caption changed).
    virtual void RefreshTab(TCustomForm* Child) = 0;
    // The tab of the main form's active child becomes the active one.
    virtual void UpdateActiveTab() = 0;
};

// The skinned status bar named by StatusBar: its size grip hides while the form is maximized.
class TbsFormStatusBarLink {
public:
    virtual ~TbsFormStatusBarLink() = default;
    virtual bool SizeGrip() const = 0;
    virtual void SetShowGrip(bool Value) = 0;
};

// The tray icon named by TrayIcon.
class TbsFormTrayLink {
public:
    virtual ~TbsFormTrayLink() = default;
    virtual void SetMinimizeToTray(bool Value) = 0;
    virtual void ShowMainForm() = 0;
    virtual void SetIconVisible(bool Value) = 0;
    virtual TPopupMenu* TrayPopupMenu() const = 0;
    virtual void SetTrayPopupMenu(TPopupMenu* Menu) = 0;
    virtual bool HasDblClickHandler() const = 0;
    virtual void SetDblClickHandler(TNotifyEvent Handler) = 0;
};
