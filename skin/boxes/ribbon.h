// TbsRibbon: a skinned bar aligned to the top of its form: a tab strip with the application
// button at its left end and small caption buttons at its right end, and below the strip the page
// of the selected tab (TbsRibbonPage, ribbon_pages.h). The application button opens the
// application menu (TbsAppMenu) over the form's client area; while an MDI child of the main form
// is maximized the strip also shows close, restore and minimize buttons for it. Its drawing is in
// ribbon_paint.cpp.
//
// Tabs added at run time get a page owned by the parent form ("bsRibbonPage%d", the first free
// n); deleting a tab frees its page. Caption buttons exist on screen only while ButtonsImageList
// is set; a click needs press and release on one button; a button's menu pops up through the
// skinned popup menu's PopupFromRect2 and ends with WM_SKINMENU_CLOSED. While the application
// menu is open an application message hook closes it on Escape when the linked skinned form is
// active.
//
// No form designer runs here: the design-time parts (the designer hit test, parking the menu,
// pages freed after a designer deletion) are left out.
#pragma once

#include "platform/framework/core/collection.h"
#include "platform/framework/forms/application.h"
#include "skin/boxes/ribbon_pages.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_menu_button.h"
#include "skin/core/tab_grid_records.h"
#include "skin/form/form_links.h"

class TbsRibbon;
class TbsAppMenu;
class TbsAppMenuItem;
class TbsSkinForm;

class TbsRibbonTab : public TCollectionItem {
public:
    explicit TbsRibbonTab(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    TbsRibbonPage* Page() const { return FPage; }
    // A page that already knows its ribbon selects this tab.
    void SetPage(TbsRibbonPage* Value);
    bool Visible() const { return FVisible; }
    // Hiding the selected tab selects the next visible one (else the nearest before).
    void SetVisible(bool Value);

    TbsRibbonPage* FPage = nullptr;
    bool FVisible = true;
    bool Active = false;
    TRect ItemRect{};
    int Width = 0;

private:
    TbsRibbon* Ribbon() const;
};

class TbsRibbonTabs : public TCollection {
public:
    explicit TbsRibbonTabs(TbsRibbon* ARibbon);
    // At run time a new tab gets its page and is selected.
    TbsRibbonTab* Add();
    TbsRibbonTab* Insert(int Index);
    // At run time the tab's page is freed first.
    void Delete(int Index);
    void Clear();
    TbsRibbonTab* GetItem(int Index) const { return static_cast<TbsRibbonTab*>(TCollection::Items(Index)); }
    TbsRibbonTab* operator[](int Index) const { return GetItem(Index); }

    TbsRibbon* Ribbon;
};

class TbsRibbonButtonItem : public TCollectionItem {
public:
    explicit TbsRibbonButtonItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }

    // Called with the bar as sender.
    TNotifyEvent OnClick;
    // Dropped below the button when it is pressed.
    TbsSkinPopupMenuBase* PopupMenu = nullptr;
    TRect ItemRect{};
    bool Active = false;
    bool Down = false;
    // MDI buttons: 1 close, 2 restore, 3 minimize; 0 for caption buttons.
    int Code = 0;

private:
    int FImageIndex = -1;
    String FHint;
    bool FEnabled = true;
    bool FVisible = true;
};

class TbsRibbonButtonItems : public TCollection {
public:
    explicit TbsRibbonButtonItems(TbsRibbon* ARibbon);
    TbsRibbonButtonItem* Add() { return static_cast<TbsRibbonButtonItem*>(TCollection::Add()); }
    TbsRibbonButtonItem* Items(int Index) const { return static_cast<TbsRibbonButtonItem*>(TCollection::Items(Index)); }
    TbsRibbon* Ribbon;

protected:
    void Update(TCollectionItem* Item) override;
};

class TbsAppButton : public TbsSkinMenuButton {
public:
    explicit TbsAppButton(TComponent* AOwner);
    bool CanMenuTrack(int X, int Y) override;
    void TrackMenu() override;
    TbsRibbon* Ribbon = nullptr;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
};

class TbsRibbon : public TbsSkinControl, public TbsFormRibbonLink {
    friend class TbsRibbonTab;
    friend class TbsRibbonTabs;

public:
    explicit TbsRibbon(TComponent* AOwner);
    ~TbsRibbon() override;

    TbsRibbonTabs* Tabs() const { return FTabs; }
    void SetTabs(TbsRibbonTabs* Value);
    TbsRibbonButtonItems* Buttons() const { return FButtons; }
    void SetButtons(TbsRibbonButtonItems* Value);
    TbsRibbonButtonItems* MDIButtons() const { return FMDIButtons; }
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    TbsRibbonPage* ActivePage() const;
    void SetActivePage(TbsRibbonPage* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TbsAppMenu* AppMenu() const { return FAppMenu; }
    void SetAppMenu(TbsAppMenu* Value);
    int AppButtonWidth() const { return FAppButtonWidth; }
    // Values below 35 are ignored.
    void SetAppButtonWidth(int Value);
    TCustomImageList* AppButtonImageList() const { return FAppButtonImageList; }
    void SetAppButtonImageList(TCustomImageList* Value);
    int AppButtonImageIndex() const { return FAppButtonImageIndex; }
    void SetAppButtonImageIndex(int Value);
    TbsSkinPopupMenuBase* AppButtonPopupMenu() const { return FAppButtonPopupMenu; }
    void SetAppButtonPopupMenu(TbsSkinPopupMenuBase* Value);
    String AppButtonCaption() const { return FAppButton ? FAppButton->Caption() : String(); }
    void SetAppButtonCaption(const String& Value);
    int AppButtonMargin() const { return FAppButton ? FAppButton->Margin() : 0; }
    void SetAppButtonMargin(int Value);
    int AppButtonSpacing() const { return FAppButton ? FAppButton->Spacing() : 0; }
    void SetAppButtonSpacing(int Value);
    TCustomImageList* ButtonsImageList() const { return FButtonsImageList; }
    void SetButtonsImageList(TCustomImageList* Value);
    bool ButtonsShowHint() const { return FButtonsShowHint; }
    void SetButtonsShowHint(bool Value) { FButtonsShowHint = Value; }
    // A component implementing TbsFormHintLink (the skinned hint).
    TComponent* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TComponent* Value);
    bool TabBoldStyle() const { return FTabBoldStyle; }
    void SetTabBoldStyle(bool Value);
    TbsAppButton* AppButton() const { return FAppButton; }
    bool ShowDivider() const { return FShowDivider; }
    int LeftOffset() const { return FLeftOffset; }
    int RightOffset() const { return FRightOffset; }

    void ShowAppMenu();
    // Closes the menu; then Item's OnClick when Item is given.
    void HideAppMenu(TbsAppMenuItem* Item);
    void MDIChildMaximize();
    void MDIChildRestore();
    // The page area (Left, Top, Right = Left + width, Bottom = Top + height).
    TRect GetPageBounds();
    int GetTabsHeight();
    void CalcLayout(TCanvas* C);

    // The "officetab" record when it is a tab-control record, and its picture.
    TbsDataSkinTabControl* SkinRecord() const { return FData; }
    TBitmap* SkinPicture() const { return FDataPicture; }
    // The tile of the empty page area and the pages: the background picture, else the ClRect
    // part of SkinRect; false without a record.
    bool BackgroundTile(TBitmap& Tile);

    void GetSkinData() override;
    void SetSkinData(TbsSkinData* Value) override;
    void ChangeSkinData() override;
    void Loaded() override;

    // The linked skinned form (set through its SkinRibbon).
    TbsSkinForm* BSF = nullptr;

    // TbsFormRibbonLink
    void SetSkinForm(TbsSkinForm* Form) override { BSF = Form; }
    bool HasAppMenu() const override { return FAppMenu != nullptr; }
    bool AppMenuVisible() const override;
    void HideAppMenu() override { HideAppMenu(nullptr); }
    void FocusRibbon() override;
    bool CanDrawAppMenuCaption() const override;
    void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R) override;
    int AppMenuCaptionOffset() const override;
    int AppMenuItemWidth() const override;
    bool AppButtonShortCut(TMessage& Msg) override;
    // Only while the Alt key is down.
    void TabAccel(WORD Key) override;

    TNotifyEvent OnChangePage;
    TNotifyEvent OnChangingPage;
    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Painting (ribbon_paint.cpp).
    void DrawRibbon(TCanvas* C);
    void DrawEmptyClientArea(TCanvas* C, const TRect& R);
    void DrawDefaultTab(TCanvas* C, int Index);
    void DrawSkinTab(TCanvas* C, int Index);
    void DrawMDIButton(TCanvas* C, int Index);
    void DrawCaptionButton(TCanvas* C, int Index);
    void DrawTabCaption(TCanvas* C, const String& Caption, const TRect& R, int TabWidth);

    void TestActive(int X, int Y);
    void CreateAppButton();
    void ShowButtonMenu(int Index);
    // The page for a tab added at run time.
    void AttachNewPage(TbsRibbonTab* Tab);
    int NextVisibleTab(int From) const;   // first visible tab after From, -1 none
    int PriorVisibleTab(int From) const;  // nearest visible tab before From, -1 none
    bool AnyVisibleTab() const;
    bool CaptionButtonsShown() const;
    void AppMessage(MSG& Msg, bool& Handled);
    void InstallAppHook();
    void RemoveAppHook();
    TbsFormHintLink* HintLink() const;

    bool FInAppHook = false;
    TbsAppMenu* FAppMenu = nullptr;
    TbsRibbonButtonItems* FMDIButtons = nullptr;
    TbsRibbonButtonItems* FButtons = nullptr;
    TCustomImageList* FButtonsImageList = nullptr;
    bool FButtonsShowHint = false;
    TComponent* FSkinHint = nullptr;
    bool FShowDivider = false;
    bool FUseSkinFont = true;
    TbsRibbonTabs* FTabs = nullptr;
    int FTabIndex = -1;
    bool WMEraseReady = false;
    int FLeftOffset = 57;
    int FRightOffset = 5;
    int FOldTabActive = -1, FTabActive = -1;
    int FActiveButton = -1, FOldActiveButton = -1;
    int FMDIActiveButton = -1, FMDIOldActiveButton = -1;
    int FAppButtonWidth = 54;
    TbsAppButton* FAppButton = nullptr;
    TCustomImageList* FAppButtonImageList = nullptr;
    int FAppButtonImageIndex = 0;
    TbsSkinPopupMenuBase* FAppButtonPopupMenu = nullptr;
    int FMouseCaptureButton = -1, FMouseCaptureMDIButton = -1;
    int FPopupButton = -1;
    bool FTabBoldStyle = false;
    bool FStopCheckTabIndex = false;
    TMessageEvent OldAppMessage;
    TbsDataSkinTabControl* FData = nullptr;
    TBitmap* FDataPicture = nullptr;
};
