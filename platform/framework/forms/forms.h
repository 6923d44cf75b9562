// TCustomForm / TForm: a top-level window holding controls - border style and icons, form style
// (stay-on-top, MDI), window state, first-show position, show and hide, close with OnCloseQuery and
// OnClose, modal show through a nested message loop returning ModalResult, the active and focused
// control with the focus-change broadcast, dialog keys (Tab and arrows move the focus, the rest
// is offered to the controls) and shortcuts (OnShortCut, then the main menu). The program's forms
// derive from TForm and build their stored layout in their constructor between BeginLoading and
// EndLoading; TApplication::CreateForm then runs OnCreate.
#pragma once

#include "platform/framework/controls/custom_control.h"

class TMainMenu;
class TMenuItem;
class TCanvas;
class TIcon;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TEnumSet<TFormStateItem>;
enum TTileMode { tbHorizontal, tbVertical };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Msg: the key message (WParam = virtual key, LParam = key data).
using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
    friend class TWinControl;
    friend class TApplication;

public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Runs OnCreate once the constructor chain has built the form (TApplication::CreateForm
    // calls it; a form made with new calls it itself).
    void AfterConstruction();
    // OnDestroy runs here, while the derived form's members still exist.
    void BeforeDestruction() override;

    // ---- showing and closing ----
    void Show();
    void Hide();
    void Close();
    bool CloseQuery();
    virtual int ShowModal();
    void Release();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    TFormState FormState() const { return FFormState; }
    bool Active() const { return FActive; }

    // ---- appearance ----
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    const String& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& v) { FHelpFile = v; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* v);
    // The form's own canvas: drawing in OnPaint, and text measuring at any time.
    TCanvas* Canvas() { return &FCanvas; }
    // The form's icon (empty: the application's).
    TIcon* Icon();
    void SetIcon(TIcon* v);
    // ---- MDI ----
    // An fsMDIForm holds the "MDIClient" child window (its client area left after alignment);
    // fsMDIChild forms are windows inside it, placed in its coordinates. Child order follows the
    // windows' stacking: index 0 is the topmost.
    HWND ClientHandle() const { return FClientHandle; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int I) const;
    TCustomForm* ActiveMDIChild() const;
    // Activates the child below the active one; the active one goes to the bottom.
    void Next();
    // The fsMDIForm an fsMDIChild form lives in (nullptr when none).
    TCustomForm* MDIParent() const;
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode v) { FTileMode = v; }
    // An MDI form lists its visible children at the end of this item (in the order they were
    // made, the active one checked); choosing one activates it.
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* v);
    // Whether the form adds its own child list to WindowMenu (a skinned form keeps its own list).
    bool ListChildrenInWindowMenu() const { return FListChildrenInWindowMenu; }
    void SetListChildrenInWindowMenu(bool v);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v) { FAutoScroll = v; }

    // ---- focus ----
    TWinControl* ActiveControl() const { return FActiveControl; }
    // CM_CANCELMODE to the focused control, lParam the control pressed (nullptr when the form
    // moves or loses the activation): it closes a drop-down or a tracking of its own.
    void SendCancelMode(TControl* Sender);
    void SetActiveControl(TWinControl* c);
    void FocusControl(TWinControl* c);
    // Called when a control's window gets the focus; broadcasts CM_FOCUSCHANGED. False stops it.
    bool SetFocusedControl(TWinControl* c);
    void DefocusControl(TWinControl* c, bool Removing);
    bool CanFocus() override { return FVisible && FEnabled; }
    void SetFocus() override;

    // Shortcut handling: OnShortCut, then the main menu.
    virtual bool IsShortCut(TMessage& Msg);

    // The plain menu bar shown above the client area while the form has a main menu with
    // visible items (a skinned form hides it by taking over the frame).
    int MenuBarHeight() const;
    // Item i's rectangle of the menu bar, in window coordinates.
    TRect MenuBarItemRect(int i);
    // Opens top item i of the menu bar (its sub-menu, or its click).
    void TrackMenuBar(int i);
    TRect GetClientRect() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;
    TNotifyEvent OnPaint;

    void Dispatch(TMessage& Message) override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    void CloseModal();
    void SetWindowFocus();
    void ApplyPosition();
    void VisibleChanging() override;
    void PaintMenuBar();
    std::vector<TMenuItem*> MenuBarItems() const;
    virtual void Paint();
    void PaintWindow(HDC DC) override;
    void DestroyWnd() override;
    void CreateHandle() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    // MDI: the client window, the parent to give a child's window, and child activation (brings
    // the child to the top, deactivates the previous one; Focus moves the keyboard focus there).
    void CreateMDIClient();
    // While the form's window is recreated its client window, children and all, waits under a
    // hidden message-only window and comes back into the new one.
    void ParkMDIClient();
    void DropParkedMDIClient();
    TCustomForm* MDIHostForm() const;
    void ActivateAsMDIChild(bool Focus);
    void MDIChildHidden(TCustomForm* Child);
    // Brings the child list of WindowMenu up to date (Leaving: a child on its way out).
    void UpdateWindowMenu(TCustomForm* Leaving = nullptr);
    std::vector<TCustomForm*> WindowMenuChildren(TCustomForm* Leaving) const;
    TControlCanvas FCanvas;
    TIcon* FIcon = nullptr;

    TFormStyle FFormStyle = fsNormal;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    String FHelpFile;
    TMainMenu* FMenu = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    TTileMode FTileMode = tbHorizontal;
    bool FAutoScroll = false;
    TModalResult FModalResult = mrNone;
    TFormState FFormState;
    bool FActive = false;
    bool FCreated = false;
    bool FDestroyDone = false;
    bool FPositioned = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    HWND FClientHandle = nullptr;
    int FShowAfterRecreate = 0;  // the show command for the window being recreated, 0 when hidden
    HWND FMDIParking = nullptr;  // holds the client window while the form's window is recreated
    TCustomForm* FActiveMDIChild = nullptr;
    int FMDISerial = 0;
    std::vector<TMenuItem*> FWindowItems;  // the items this form added to WindowMenu
    bool FListChildrenInWindowMenu = true;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form that holds a control (nullptr when it sits on none).
TCustomForm* GetParentForm(TControl* Control);
