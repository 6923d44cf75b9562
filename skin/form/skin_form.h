// TbsSkinForm: the component that turns the form owning it into a skinned window. From its
// construction on it takes over the form's window procedure and draws the whole non-client area
// from the skin held by a TbsSkinData - frame, caption and caption buttons (frame objects) - or
// a built-in look without a skin; keeps its own window state (maximize fills the work area,
// minimize parks a bare frame at the bottom of it, roll-up collapses to the caption); and passes
// every skin change on to the skinned controls of the form.
//
// The class is split by concern:
//   skin_form.cpp              fields, properties, construction and destruction, small services
//   skin_form_wndproc.cpp      the replacement window procedure: two tables of message rules
//   skin_form_frame.cpp        frame geometry, non-client painting, hit testing, window region
//   skin_form_skin_change.cpp  applying a skin, frame objects, mouse tracking, timers, the walk
//                              over the controls on a skin change
//   skin_form_window_state.cpp window states, size limits, roll-up, magnetic snapping
//   skin_form_system_menu.cpp  the system and tray menus, skin menu bookkeeping, LinkMenu
// Frame coordinates are relative to the window's top-left corner, not to the client area.
//
// The fields below are the component's working state, read and written by its frame objects,
// its layered border, the tray icon and the MDI support as well as by the component itself.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/controls/control.h"
#include "platform/framework/core/component.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/graphics_objects.h"
#include "platform/framework/graphics/icon.h"
#include "skin/core/skin_data.h"
#include "skin/form/form_links.h"

class TbsActiveSkinObject;
class TbsLayerManager;
class TbsFormLayerBorder;
class TbsQuickButtonItems;
class TbsClientInActivePanel;
class TbsSkinForm;
class TbsSkinScrollBar;

enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TEnumSet<TbsBorderIcon>;
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

using TbsCaptionPaintEvent = std::function<void(TCanvas* Cnvs, TRect R, bool AActive)>;
using TbsMouseEnterEvent = std::function<void(const String& IDName)>;
using TbsMouseLeaveEvent = std::function<void(const String& IDName)>;
using TbsMouseUpEvent = std::function<void(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)>;
using TbsMouseDownEvent = TbsMouseUpEvent;
using TbsMouseMoveEvent = std::function<void(const String& IDName, int X, int Y, TRect ObjectRect)>;
using TbsPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;
using TbsOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

class TbsSkinForm : public TComponent {
public:
    // AOwner must be a form (EInvalidCast otherwise; nothing is hooked then).
    explicit TbsSkinForm(TComponent* AOwner);
    ~TbsSkinForm() override;

    // ---- outer bounds and services ----
    void Move(int AX, int AY);
    void SetBounds(int AX, int AY, int AWidth, int AHeight);
    void UpDateFormNC();
    bool GetSkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(int AX, int AY, int AW, int AH);
    void CheckAppLayeredBorders();
    bool CheckIconAlpha();
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    void DoPopupMenu(TPopupMenu* Menu, int X, int Y);
    bool GetFormActive() const;
    String GetProductVersion() const;
    bool LayeredBorderEnabled() const;
    bool LayerFrameRolledUp() const;
    bool UseLayeredShowAnimation() const;
    void AppRestore(TObject* Sender);
    bool IsSizeable() const;
    int GetDefCaptionHeight() const;
    int GetDefButtonSize() const;
    bool UseAutoInActiveImage() const;
    void UpdateFormBorderIcons();
    void SendParentBGChanged();
    void SendCancelModeToControls();
    void BringStayOnTopFormsToFront();
    void CreateFormIcon();
    void DrawFormIcon(TCanvas* Canvas, int X, int Y);
    void GetIconSize(int& W, int& H) const;
    void DrawLogo(TCanvas* Canvas);
    void CorrectText(TCanvas* Canvas, String& Text, int Width);
    void HookApp();
    void UnHookApp();
    int GetRealHeight() const;
    // A visible layered border that carries the whole frame (the form itself has none).
    bool FullLayeredFrameShown() const;
    // The layered border is in use and carries the whole frame.
    bool FullLayeredFrameInUse() const;

    // ---- skin application (skin_form_skin_change.cpp) ----
    void ChangeSkinData();
    void CreateObjects();
    void CreateDefaultObjects();
    void ClearObjects();
    void UpdateCaptionButtons();
    void SetCaptionButtonHints();
    void RestoreFormBounds();
    void FormChangeActive(bool AnimateChange);
    int GetIndex(const String& AIDName) const;
    void UserObjectDraw(const String& AIDName);
    void SetEnabled(const String& AIDName, bool Value);
    void TrackObjects(int X, int Y, bool InFrame);
    void MouseTimerProc(TObject* Sender);
    void MorphTimerProc(TObject* Sender);
    void AnimateTimerProc(TObject* Sender);
    void ResetObjectsState();
    void ObjectMouseMove(int X, int Y);
    void ObjectDblClick();
    void ObjectMouseDown(TMouseButton Button, int X, int Y);
    void ObjectMouseUp(TMouseButton Button, int X, int Y);
    void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect);
    void DoMouseUpEvent(const String& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button);
    void DoMouseDownEvent(const String& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button);
    void DoMouseMoveEvent(const String& IDName, int X, int Y, const TRect& ObjectRect);
    void DoMouseEnterEvent(const String& IDName);
    void DoMouseLeaveEvent(const String& IDName);
    // The walks over AControl and its children; ASkinData nullptr matches every control.
    void BeforeChangeSkinDataOfControls(TbsSkinData* ASkinData, TControl* AControl);
    void ChangeSkinDataOfControls(TbsSkinData* ASkinData, TControl* AControl);

    // ---- skin menus (skin_form_system_menu.cpp) ----
    void SkinMenuOpen();
    void SkinMenuClose();
    void SkinMainMenuClose();
    void SkinSubMenuClose();
    void PopupSkinMenu(TMenu* Menu, const TPoint& P);
    void PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp);
    void PopupSysMenu(int X, int Y);
    void PopupSysMenuAtRect(const TRect& R);
    void ShowSysMenuAtButton();
    TMenuItem* GetSysMenuItems();
    void AddSysMenuItems();
    void CreateTrayMenuItems();
    void LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp);
    // The form's menu engine is open.
    bool SkinMenuVisible() const;

    // ---- window procedure (skin_form_wndproc.cpp) ----
    void SkinFormWndProc(TMessage& Message);
    void CloseMenusOnMessage(TMessage& Message);
    void SkinMenuKeyDown(TMessage& Message);
    void AppMessageHook(MSG& Msg, bool& Handled);
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);

    // ---- frame (skin_form_frame.cpp) ----
    void CalcDefRects();
    void PaintNCDefault(HDC DC, bool AUseExternalDC);
    void PaintBGDefault(HDC DC);
    void PaintMDIBGDefault(HDC DC);
    // The caption the built-in frame shows: an MDI form adds its maximized child's caption.
    String CaptionText() const;
    void CalcSkinRects();
    void PlaceSkinRect(const TRect& R, TRect& Result);
    void CalcObjectRects();
    void PaintNCSkin(HDC DC, bool AUseExternalDC);
    void PaintBG(HDC DC);
    void PaintBG2(HDC DC);
    void PaintBG3(HDC DC);
    void DrawSkinObject(TbsActiveSkinObject* AObject);
    void PointToFrame(TPoint& P);
    LRESULT DefaultHitTest(TPoint P);
    LRESULT SkinHitTest(TPoint P);
    bool PointInWindowMask(const TPoint& P);
    void UpdateSkinFrame(bool AUpdate);
    void SetFormRegion(bool AUpdate);
    bool RibbonAppMenuCaptionVisible() const;
    void DrawRibbonAppMenuCaption(TCanvas* Canvas, const TRect& R);
    int RibbonAppMenuCaptionOffset() const;

    // ---- window states (skin_form_window_state.cpp) ----
    void ApplyWindowState(TWindowState Value);
    void MinimizeForm();
    void MaximizeForm();
    void RestoreForm();
    void GetMinimizedPosition(TPoint& P);
    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    void ReapplySizeLimits();
    bool GetFullDrag() const;
    void SetRollUpState(bool Value);
    void ApplyRollUpHeight();
    void RestoreRollUpHeight();
    void DoMagnetic(int& X, int& Y, int W, int H);
    void SetFormBorderStyle(TFormBorderStyle Value);
    void SetFormStyle(TFormStyle Value);
    void MinimizeToTray();
    void RestoreFromTray();
    void TrayIconDblClick(TObject* Sender);

    // ---- MDI (skin_form_mdi.cpp) ----
    // Arrangement of the main form's children (only on an fsMDIForm; index 0 is the topmost).
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void RestoreAll();
    void RestoreAllExcept(HWND AFormHandle);
    void CloseAll();
    // The main form's window menu: one "<Name>_BSFCHILDITEM" entry per shown child.
    void AddChildToMenu(TCustomForm* Child);
    void DeleteChildFromMenu(TCustomForm* Child);
    void UpDateChildCaptionInMenu(TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* Sender);
    // The main form's tabs bar.
    void AddChildToBar(TCustomForm* Child);
    void DeleteChildFromBar(TCustomForm* Child);
    void RefreshMDIBarTab(TCustomForm* Child);
    // The client area left by the main form's aligned controls, in its client coordinates.
    TRect GetMDIClientRect() const;
    // The maximized child (the active one first) with a skin form, or nullptr.
    TCustomForm* MaximizedMDIChild() const;
    void FitMDIChildren();
    void ArrangeMinimizedChildren();
    void TileHorizontal();
    void TileVertical();
    void CreateMDIScrollBars();
    void UpdateMDIScrollBars(bool ARangeUpdate);
    void AlignMDIScrollBars();
    void UpdateHScrollPosition();
    void UpdateVScrollPosition();
    void ShiftChildrenHorizontally(int Delta);
    void ShiftChildrenVertically(int Delta);
    void HScrollUpClick(TObject* Sender);
    void HScrollDownClick(TObject* Sender);
    void VScrollUpClick(TObject* Sender);
    void VScrollDownClick(TObject* Sender);
    void RefreshMDIMenuBar();
    void RefreshMDITabsBar();
    // The replacement procedure of the main form's MDI client window.
    void MDIClientWndProc(TMessage& Message);
    // Puts MDIClientWndProc on the current client window (once per window) / takes it off.
    void InstallMDIClientProc();
    void RemoveMDIClientProc();
    bool MDIChildMaximized() const { return FMDIChildMaximized; }
    TbsSkinScrollBar* MDIHScrollBar() const { return FMDIHScrollBar; }
    TbsSkinScrollBar* MDIVScrollBar() const { return FMDIVScrollBar; }

    // ---- properties ----
    TComponent* SkinRibbon() const { return FSkinRibbonComponent; }
    // A component implementing TbsFormRibbonLink (the ribbon), or nullptr.
    void SetSkinRibbon(TComponent* Value);
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool Value);
    bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
    void SetShowMDIScrollBars(bool Value) { FShowMDIScrollBars = Value; }
    TWindowState WindowState() const { return FWindowStateInit; }
    void SetWindowState(TWindowState Value);
    TbsQuickButtonItems* QuickButtons() const { return FQuickButtons; }
    void SetQuickButtons(TbsQuickButtonItems* Value);
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool Value) { FQuickButtonsShowHint = Value; }
    bool QuickButtonsShowDivider() const { return FQuickButtonsShowDivider; }
    void SetQuickButtonsShowDivider(bool Value) { FQuickButtonsShowDivider = Value; }
    bool ClientInActiveEffect() const { return FClientInActiveEffect; }
    void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
    TbsClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
    void SetClientInActiveEffectType(TbsClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
    bool DisableSystemMenu() const { return FDisableSystemMenu; }
    void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
    bool AlwaysResize() const { return FAlwaysResize; }
    void SetAlwaysResize(bool Value) { FAlwaysResize = Value; }
    TbsPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
    void SetPositionInMonitor(TbsPositionInMonitor Value) { FPositionInMonitor = Value; }
    TComponent* StatusBar() const { return FStatusBarComponent; }
    // A component implementing TbsFormStatusBarLink (the skinned status bar), or nullptr.
    void SetStatusBar(TComponent* Value);
    bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool Value) { FUseFormCursorInNCArea = Value; }
    int MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(int Value);
    int ClientWidth() const { return FClientWidth; }
    void SetClientWidth(int Value) { FClientWidth = Value; }
    int ClientHeight() const { return FClientHeight; }
    void SetClientHeight(int Value) { FClientHeight = Value; }
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool Value) { FHideCaptionButtons = Value; }
    bool AlwaysShowInTray() const { return FAlwaysShowInTray; }
    void SetAlwaysShowInTray(bool Value) { FAlwaysShowInTray = Value; }
    TBitmap* LogoBitMap() const { return FLogoBitMap; }
    void SetLogoBitMap(TBitmap* Value);
    bool LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
    void SetLogoBitMapTransparent(bool Value) { FLogoBitMapTransparent = Value; }
    bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool Value) { FAlwaysMinimizeToTray = Value; }
    bool UseSkinFontInMenu() const { return FUseSkinFontInMenu; }
    void SetUseSkinFontInMenu(bool Value) { FUseSkinFontInMenu = Value; }
    bool UseSkinSizeInMenu() const { return FUseSkinSizeInMenu; }
    void SetUseSkinSizeInMenu(bool Value) { FUseSkinSizeInMenu = Value; }
    bool UseSkinFontInCaption() const { return FUseSkinFontInCaption; }
    void SetUseSkinFontInCaption(bool Value) { FUseSkinFontInCaption = Value; }
    bool ShowIcon() const { return FShowIcon; }
    void SetShowIcon(bool Value);
    bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool Value) { FMaximizeOnFullScreen = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value);
    TComponent* SkinHint() const { return FSkinHintComponent; }
    // A component implementing TbsFormHintLink (the skinned hint), or nullptr.
    void SetSkinHint(TComponent* Value);
    bool ShowObjectHint() const { return FShowObjectHint; }
    void SetShowObjectHint(bool Value) { FShowObjectHint = Value; }
    bool UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
    void SetUseDefaultObjectHint(bool Value) { FUseDefaultObjectHint = Value; }
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool Value);
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool Value);
    uint8_t MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(uint8_t Value);
    TFont* DefCaptionFont() const { return FDefCaptionFont; }
    void SetDefCaptionFont(TFont* Value);
    TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont; }
    void SetDefInActiveCaptionFont(TFont* Value);
    int DefMenuItemHeight() const { return FDefMenuItemHeight; }
    void SetDefMenuItemHeight(int Value);
    TFont* DefMenuItemFont() const { return FDefMenuItemFont; }
    void SetDefMenuItemFont(TFont* Value);
    TComponent* TrayIcon() const { return FTrayIconComponent; }
    // A component implementing TbsFormTrayLink (the tray icon), or nullptr.
    void SetTrayIcon(TComponent* Value);
    bool UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
    void SetUseDefaultSysMenu(bool Value) { FUseDefaultSysMenu = Value; }
    TComponent* MainMenuBar() const { return FMainMenuBarComponent; }
    // A component implementing TbsFormMenuBarLink (the main menu bar), or nullptr.
    void SetMainMenuBar(TComponent* Value);
    TComponent* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TComponent* Value);
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TbsSkinData* Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value) { FMinHeight = Value; }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value) { FMinWidth = Value; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value) { FMaxHeight = Value; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value) { FMaxWidth = Value; }
    bool Magnetic() const { return FMagnetic; }
    void SetMagnetic(bool Value) { FMagnetic = Value; }
    uint8_t MagneticSize() const { return FMagneticSize; }
    void SetMagneticSize(uint8_t Value) { FMagneticSize = Value; }
    TbsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TbsBorderIcons Value);
    bool RollUpState() const { return FRollUpState; }
    int RealHeight() const { return GetRealHeight(); }
    void SetRealHeight(int Value) { OldHeight = Value; }
    bool MinimizeDefault() const { return FMinimizeDefault; }
    void SetMinimizeDefault(bool Value) { FMinimizeDefault = Value; }
    bool SkinnableForm() const { return FSkinnableForm; }
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode Value) { FTileMode = Value; }
    TCustomForm* Form() const { return FForm; }
    TbsFormMenuEngine* SkinMenuEngine() const { return SkinMenu; }

    // ---- events ----
    TbsCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnChangeSkinData, OnBeforeChangeSkinData, OnAfterChangeSkinData;
    TbsMouseUpEvent OnMouseUpEvent;
    TbsMouseDownEvent OnMouseDownEvent;
    TbsMouseMoveEvent OnMouseMoveEvent;
    TbsMouseEnterEvent OnMouseEnterEvent;
    TbsMouseLeaveEvent OnMouseLeaveEvent;
    TbsPaintEvent OnPaintEvent;
    TNotifyEvent OnActivate, OnDeActivate, OnSkinMenuOpen, OnSkinMenuClose, OnChangeRollUpState;
    TNotifyEvent OnMainMenuEnter, OnMainMenuExit, OnMinimizeToTray, OnRestoreFromTray;
    TbsActivateCustomObjectEvent OnActivateCustomObject;
    TNotifyEvent OnMinimize, OnRestore, OnMaximize;
    TShortCutEvent OnShortCut;
    TbsOnAcceptToMDITabsBar OnAcceptToMDITabsBar;

    // ---- working state (see the file comment) ----
    bool FStopCheckChildMove = false;
    HWND ChangeVisibleChildHanle = nullptr;
    bool FInMaximizeAll = false, FInRestoreAll = false;
    TbsSkinScrollBar* FMDIHScrollBar = nullptr;
    TbsSkinScrollBar* FMDIVScrollBar = nullptr;
    int FOldHSrollBarPosition = 0, FOldVSrollBarPosition = 0;
    HWND FClientWnd = nullptr;          // the client window MDIClientWndProc is installed on
    WNDPROC FPrevClientProc = nullptr;  // its previous procedure
    bool DisableDWMAnimation = false;
    TWindowState FWindowStateInit = wsNormal;
    TWindowState FWindowState = wsNormal;
    int FOldFullBorder = -1;
    TRect FOldFormBounds{};
    TbsLayerManager* FLayerManager = nullptr;
    TbsLayerManager* FMenuLayerManager = nullptr;
    TbsFormLayerBorder* FBorderLayer = nullptr;
    bool FSmartEffectsShow = false;
    TbsClientInActivePanel* FInActivePanel = nullptr;
    bool FClientInActiveDraw = false;
    bool FInAppHook = false;
    bool FSkinnableForm = true;
    bool FIsVistaOs = false, FIsW7 = false, FIsLayerEnabled = false;
    bool FHaveShadow = false;
    bool FRollUpBeforeMaximize = false;
    bool FStopPainting = false;
    bool FStartShow = true;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
    TPoint FOnMouseDownCoord{-1, -1};
    bool FSkinSupport = false;
    bool FMDIChildMaximized = false;
    bool FFormActive = false;
    TPopupMenu* FSysMenu = nullptr;
    TPopupMenu* FSysTrayMenu = nullptr;
    bool FInShortCut = false;
    bool FFullDrag = false;
    int FFormWidth = 0, FFormHeight = 0, FFormLeft = 0, FFormTop = 0, FOldFormLeft = 0, FOldFormTop = 0;
    bool FSizeMove = false, FSizing = false;
    bool FRollUpState = false;
    bool MaxRollUpState = false;
    TBitmap* RMTop = nullptr;
    TBitmap* RMBottom = nullptr;
    TBitmap* RMLeft = nullptr;
    TBitmap* RMRight = nullptr;
    TColor BlackColor = 0;
    TRect OldBoundsRect{};
    int OldHeight = 0;
    TPoint NewLTPoint{}, NewRBPoint{}, NewRTPoint{}, NewLBPoint{};
    TRect NewClRect{}, NewCaptionRect{}, NewButtonsRect{};
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    TRect NewMaskRectArea{};
    TPoint NewHitTestLTPoint{}, NewHitTestRTPoint{}, NewHitTestLBPoint{}, NewHitTestRBPoint{};
    TRect NewDefCaptionRect{};
    TWndMethod OldWindowProc;
    TMessageEvent OldAppMessage;
    bool InMenu = false;
    bool InMainMenu = false;
    HRGN FRgn = nullptr;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    bool FBorderLayerChangeSize = false;
    bool AlwaysDisableLayeredFrames = false;
    bool PreviewMode = false;
    TbsFormMenuEngine* SkinMenu = nullptr;
    TCustomForm* FForm = nullptr;
    std::vector<TbsActiveSkinObject*> ObjectList;
    bool IsAlphaIcon = false;
    bool FInChangeSkinData = false;

    // The links to the components named by the properties (nullptr when unset or when the
    // component does not implement the link).
    TbsFormHintLink* HintLink() const { return FSkinHint; }
    TbsFormMenuBarLink* MenuBarLink() const { return FMainMenuBar; }
    TbsFormRibbonLink* RibbonLink() const { return FSkinRibbon; }
    TbsFormTrayLink* TrayLink() const { return FTrayIcon; }
    TbsFormStatusBarLink* StatusBarLink() const { return FStatusBar; }
    TbsFormMDITabsLink* MDITabsLink() const { return dynamic_cast<TbsFormMDITabsLink*>(FMDITabsBar); }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend struct TbsSkinFormRules;

    // The saved procedure of the form.
    void CallSaved(TMessage& M);
    void InstallWndProc();
    // The form's shortcut handler (OnShortCut of the form): Alt+Space, the bar's accelerators,
    // the shortcuts of its menus, of the ribbon's application button menu and of the system menu,
    // and Alt with a ribbon tab's accelerator.
    void FormShortCut(TMessage& Msg, bool& Handled);
    // What the menu key handler asks of the main menu bar and the menu engine.
    bool MenuBarAccel(int Key);
    bool MenuBarPressActive();
    bool ActiveMenuItemIsLeaf() const;
    bool SingleMenuLevel() const;
    // The form's own frame changed: its non-client area is measured and painted again.
    void FrameChanged();
    // Takes AComponent as the property's component and its link when it implements it.
    template <class Link>
    void Bind(TComponent*& Component, Link*& L, TComponent* Value);
    // The object at an index of ObjectList, nullptr outside it.
    TbsActiveSkinObject* ObjectAt(int Index) const;
    // Frame drawing helpers (skin_form_frame.cpp): a 32-bit copy of a skin picture (made once
    // per skin: 32-bit sources are copied a row at a time), the client in one colour, or tiled
    // or stretched from a picture.
    TBitmap* Picture32(TBitmap* Source, std::unique_ptr<TBitmap>& Copy);
    void ForgetPictures32();
    void PaintBGColor(HDC DC, TColor Color);
    void PaintBGTile(HDC DC, TBitmap* Tile, const TRect& SrcRect, bool Stretch, TbsStretchType Type);
    // Window procedure handlers (skin_form_wndproc.cpp), named for their messages.
    void WMDestroy(TMessage& M);
    void WMSizeFullDrag(TMessage& M);
    void WMSize(TMessage& M);
    void WMActivate(TMessage& M);
    void WMSetText(TMessage& M);
    void WMEraseBkgnd(TMessage& M);
    void WMShowWindow(TMessage& M);
    void WMShowWindowUnskinned(TMessage& M);
    void WMSetCursor(TMessage& M);
    void WMMouseActivate(TMessage& M);
    void WMGetMinMaxInfo(TMessage& M);
    void WMWindowPosChanged(TMessage& M);
    void WMDisplayChange(TMessage& M);
    void WMNCCalcSize(TMessage& M);
    void WMNCHitTest(TMessage& M);
    void WMNCPaint(TMessage& M);
    void WMNCActivate(TMessage& M);
    void WMSyncPaint(TMessage& M);
    void WMSysCommandRestore(TMessage& M);
    void WMSysCommandKeyMenu(TMessage& M);
    void WMTimerFade(TMessage& M);
    void WMSizingFullDrag(TMessage& M);
    void WMMoving(TMessage& M);
    void WMEnterSizeMove(TMessage& M);
    void WMExitSizeMove(TMessage& M);
    void WMSkinDataBeforeChange(TMessage& M);
    void WMSkinDataChange(TMessage& M);
    void WMSkinDataAfterChange(TMessage& M);
    void WMSkinMenuClosed(TMessage& M);
    void WMMDIChildFit(TMessage& M);
    void WMMDIChildMaximized(TMessage& M);
    void WMMDIChildRestored(TMessage& M);
    void WMMDIChildQueryMaximized(TMessage& M);
    void WMMDIChildRestoreAll(TMessage& M);
    void WMMDIChildRestoreOthers(TMessage& M);
    void WMMDIChildMoved(TMessage& M);
    // What the main form refreshes after its children were restored.
    void MDIRestoredRefresh();
    void WMStringsChanged(TMessage& M);
    void WMSkinnableChanged(TMessage& M);
    void WMTrayRestore(TMessage& M);
    void WMLayerChanged(TMessage& M);
    void WMBlurChanged(TMessage& M);
    void WMQueryOwnFrame(TMessage& M);
    void WMShowEffectBegin(TMessage& M);
    void WMShowEffectEnd(TMessage& M);
    void WMPaintToDC(TMessage& M);
    void RecordFormBounds();
    void AfterMoveOrSize(TMessage& M);
    void AfterShowWindow(TMessage& M);
    void AfterHideWindow(TMessage& M);
    void AfterNCMouseMove(TMessage& M);
    void AfterNCLButtonDown(TMessage& M);
    void AfterNCLButtonUp(TMessage& M);
    void AfterNCLButtonDblClk(TMessage& M);
    void AfterNCRButtonDown(TMessage& M);
    void AfterNCRButtonDblClk(TMessage& M);
    void AfterLButtonUp(TMessage& M);
    void AfterRButtonUp(TMessage& M);
    void CaptionDblClick();
    // The fade-in loop of the first show (steps run on GetTickCount, busy).
    void RunFadeIn();
    // Conditions of the rules.
    bool IsMDIChild() const;
    bool IsMDIChildMaximized() const;
    bool HasSkin() const;
    bool FadeWanted() const;

    std::shared_ptr<bool> FAlive;
    TWinControl* FFormControl = nullptr;  // FForm as a window control, safe to ask while it goes
    bool FAppRestoreSet = false;          // Application.OnRestore is AppRestore (the main form's)
    std::unique_ptr<TBitmap> FPicture32, FInActivePicture32;
    bool FShowMDIScrollBars = true;
    TTileMode FTileMode = tbHorizontal;
    TComponent* FSkinRibbonComponent = nullptr;
    TbsFormRibbonLink* FSkinRibbon = nullptr;
    bool FUseRibbon = false;
    TbsQuickButtonItems* FQuickButtons = nullptr;
    TCustomImageList* FQuickImageList = nullptr;
    bool FQuickButtonsShowHint = false;
    bool FQuickButtonsShowDivider = true;
    bool FClientInActiveEffect = false;
    TbsClientInActiveEffect FClientInActiveEffectType = bsieSemiTransparent;
    bool FDisableSystemMenu = false;
    bool FAlwaysResize = false;
    TbsPositionInMonitor FPositionInMonitor = bspDefault;
    bool FMinimizeDefault = false;
    TComponent* FStatusBarComponent = nullptr;
    TbsFormStatusBarLink* FStatusBar = nullptr;
    bool FUseFormCursorInNCArea = false;
    int FMaxMenuItemsInWindow = 0;
    int FClientWidth = 0, FClientHeight = 0;
    bool FHideCaptionButtons = false;
    bool FAlwaysShowInTray = false;
    bool FLogoBitMapTransparent = false;
    TBitmap* FLogoBitMap = nullptr;
    bool FAlwaysMinimizeToTray = false;
    TIcon* FIcon = nullptr;
    bool FShowIcon = false;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 200;
    TComponent* FSkinHintComponent = nullptr;
    TbsFormHintLink* FSkinHint = nullptr;
    bool FShowObjectHint = false, FUseDefaultObjectHint = true;
    bool FMenusAlphaBlend = false;
    uint8_t FMenusAlphaBlendValue = 200;
    bool FMenusAlphaBlendAnimation = false;
    bool FUseSkinFontInMenu = true, FUseSkinSizeInMenu = true, FUseSkinFontInCaption = true;
    TFont* FDefCaptionFont = nullptr;
    TFont* FDefInActiveCaptionFont = nullptr;
    int FDefMenuItemHeight = 20;
    TFont* FDefMenuItemFont = nullptr;
    TComponent* FTrayIconComponent = nullptr;
    TbsFormTrayLink* FTrayIcon = nullptr;
    bool FUseDefaultSysMenu = true;
    TComponent* FMainMenuBarComponent = nullptr;
    TbsFormMenuBarLink* FMainMenuBar = nullptr;
    TComponent* FMDITabsBar = nullptr;
    TbsBorderIcons FBorderIcons;
    int FMinHeight = 0, FMinWidth = 0, FMaxHeight = 0, FMaxWidth = 0;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FMSD = nullptr;
    TPopupMenu* FSystemMenu = nullptr;
    uint8_t FMagneticSize = 5;
    bool FMagnetic = false;
};

template <class Link>
inline void TbsSkinForm::Bind(TComponent*& Component, Link*& L, TComponent* Value)
{
    Component = Value;
    L = dynamic_cast<Link*>(Value);
    if (Value) Value->FreeNotification(this);
}

// The first TbsSkinForm among the form's components; nullptr for none or a nil form.
TbsSkinForm* SkinFormOfForm(TCustomForm* AForm);
// The skin form of the first maximized MDI child of the application's main form.
TbsSkinForm* MaximizedMDIChildSkinForm();
// The skin form of the main form's active MDI child.
TbsSkinForm* ActiveMDIChildSkinForm();
// A visible screen form other than the main form that is not a layer window, stay-on-top form
// or MDI child.
bool IsOtherFormVisible();
