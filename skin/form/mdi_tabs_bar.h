// TbsSkinMDITabsBar: a strip on an MDI main form with one tab per MDI child (TbsMDITab), in the
// manner of a browser's tabs. A click activates the child, a tab may carry a close button, tabs
// are dragged into another order, an add button may follow the last tab, a list button at the
// left opens a menu of every child and, when tabs are left out for want of room, a button at the
// right opens a menu of the hidden ones. The skinned form's MDI support adds and deletes the tabs
// and marks the active one (TbsFormMDITabsLink); the bar never makes tabs itself. Drawn from the
// skin's "tab" record or in a built-in look.
#pragma once

#include <functional>
#include <vector>

#include "skin/controls/skin_control.h"
#include "skin/form/form_links.h"

class TbsSkinMDITabsBar;
class TbsSkinForm;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab {
public:
    TbsMDITab(TbsSkinMDITabsBar* ATabsBar, TCustomForm* AChild) : TabsBar(ATabsBar), Child(AChild) {}
    // Draws the tab at its ObjectRect onto Cnvs.
    void Draw(TCanvas* Cnvs);

    TbsSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    TRect ObjectRect{};
    TCustomForm* Child;
    bool Visible = false;
    TRect ButtonRect{};  // the close button, relative to ObjectRect's top-left
    bool ButtonMouseIn = false, ButtonMouseDown = false;
    TColor TextFontColor = 0;

private:
    // The three looks: the skin's "resizebutton" record (bstkButton), the built-in look or the
    // tab record at the skin's size, and the tab record stretched to the bar (UseSkinSize off).
    void ButtonDraw(TCanvas* Cnvs);
    void PlainDraw(TCanvas* Cnvs);
    void ResizeDraw(TCanvas* Cnvs);
    void DrawCloseButton(TCanvas* C, const TRect& R);
    // The caption's font: the skin record's or DefaultFont, in the state's colour when skinned.
    void SetCaptionFont(TCanvas* C, TColor Color);
    void DrawCaption(TCanvas* C, TRect R, TColor Color);
    // Draws the child's icon centred in a box at R's left (20 pixels, wider for a wider icon);
    // the box's width.
    int DrawChildIcon(TCanvas* C, const TRect& R);
};

using TbsMDITabEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabDrawParamsEvent = std::function<void(TbsMDITab* MDITab, TCanvas* Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl, public TbsFormMDITabsLink {
public:
    explicit TbsSkinMDITabsBar(TComponent* AOwner);
    ~TbsSkinMDITabsBar() override;

    // ---- the tabs (TbsFormMDITabsLink) ----
    void AddTab(TCustomForm* Child) override;
    void DeleteTab(TCustomForm* Child) override;
    void RefreshTab(TCustomForm* Child) override;
    void UpdateActiveTab() override;

    int TabCount() const { return static_cast<int>(ObjectList.size()); }
    TbsMDITab* Tab(int I) const { return ObjectList[static_cast<size_t>(I)]; }
    // The first visible tab containing the point (edges included), -1 / nullptr for none.
    int GetTabIndex(int X, int Y) const;
    TbsMDITab* GetTab(int X, int Y) const;
    int GetCloseSize() const;
    // Places the tabs for the current size (the paint runs it first).
    void ArrangeTabs();
    // The index the dragged tab drops at, -1 for none.
    int GetMoveIndex() const;
    TRect AddButtonRect() const { return FAddButtonRect; }
    int InVisibleCount() const { return FInVisibleCount; }
    TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TbsSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    TbsSkinPopupMenu* ListMenu() const { return FListMenu; }
    TbsSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
    // Rebuilds the list menus (the buttons do it as they open).
    void FillListMenu();
    void FillHideListMenu();

    // ---- properties ----
    bool ShowChildIcon() const { return FShowChildIcon; }
    void SetShowChildIcon(bool Value);
    bool ShowAddButton() const { return FShowAddButton; }
    void SetShowAddButton(bool Value);
    bool DblClickChildMove() const { return FDblClickChildMove; }
    void SetDblClickChildMove(bool Value) { FDblClickChildMove = Value; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind Value);
    TbsSkinForm* SkinForm() const { return BSF; }
    void SetSkinForm(TbsSkinForm* Value);
    bool SupportChildMenus() const { return FSupportChildMenus; }
    void SetSupportChildMenus(bool Value) { FSupportChildMenus = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool MoveTabs() const { return FMoveTabs; }
    void SetMoveTabs(bool Value) { FMoveTabs = Value; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(TFont* Value);
    int DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(int Value) { FDefaultTabWidth = Value; }
    int MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(int Value) { FMinTabWidth = Value; }

    TNotifyEvent OnAddButtonClick;
    TbsMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
    TbsMDITabMouseEvent OnTabMouseUp, OnTabMouseDown;
    TbsMDITabDrawParamsEvent OnTabGetDrawParamsEvent;

    void GetSkinData() override;
    void ChangeSkinData() override;

    // ---- working state, read by the tabs ----
    bool IsDrag = false;
    int DX = 0, TabDX = 0;
    bool FDown = false;
    int DragIndex = -1;
    int ActiveTabIndex = -1, OldTabIndex = -1;
    int FCloseSize = 14;
    int FBottomOffset = 0;
    // Skin copies (GetSkinData).
    TBitmap* Picture = nullptr;
    TRect TabRect{}, ActiveTabRect{}, MouseInTabRect{}, TabsBGRect{};
    int TabLeftOffset = 0, TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
    bool TabStretchEffect = false;
    TRect CloseButtonRect{}, ClosebuttonActiveRect{}, CloseButtonDownRect{};
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect SkinRect{}, ClRect{};
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    int FActiveTabOffset = 0;
    bool Skinned() const { return FIndex != -1 && Picture; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void DrawTabs(TBitmap* B);
    void DrawBottomBand(TBitmap* B);
    void DrawAddButton(TCanvas* C);
    void DrawDropMarker(TCanvas* C);
    // The tab drawn again at once on the bar.
    void RedrawTab(TbsMDITab* T);
    void TrackMouse(int X, int Y);
    void ShowChild(TbsMDITab* T);
    void ItemClick(TObject* Sender);
    TbsSkinMenuSpeedButton* MakeListButton(TAlign Align, int ArrowType, TbsSkinPopupMenu* Menu);
    void EndDrag();

    bool FShowAddButton = false, FAddButtonActive = false, FAddButtonDown = false;
    bool FDblClickChildMove = false;
    bool FShowCloseButtons = false;
    int FMinTabWidth = 0;
    TbsSkinMDITabKind FTabKind = bstkTab;
    bool FSupportChildMenus = true;
    int FDefaultTabWidth = 100, FDefaultHeight = 21;
    TFont* FDefaultFont = nullptr;
    bool FMoveTabs = true, FUseSkinSize = true, FUseSkinFont = true;
    TbsSkinForm* BSF = nullptr;
    TbsSkinMenuSpeedButton* FListButton = nullptr;
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    TbsSkinPopupMenu* FListMenu = nullptr;
    TbsSkinPopupMenu* FHideListMenu = nullptr;
    int FInVisibleCount = 0;
    TRect FAddButtonRect{};
    bool FShowChildIcon = false;
    std::vector<TbsMDITab*> ObjectList;
};
