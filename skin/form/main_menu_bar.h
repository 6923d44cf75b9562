// The main menu bar: the visible top-level items of a main menu as a skinned bar along the top of
// a form. Each item is a bar object that opens its submenu through the skinned form's menu engine;
// the bar tracks the mouse, takes part in the keyboard menu mode the form drives (Alt, the
// arrows, accelerators), hides the items that do not fit behind a 5-pixel marker that lists them
// as a popup, and merges an MDI child's main menu by GroupIndex. TbsSkinMainMenu is a main menu
// that carries a skin. The form's shortcut handler and its four helpers for the bar live in
// main_menu_bar.cpp too.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_types.h"
#include "skin/form/form_links.h"
#include "skin/form/skin_form.h"

class TbsSkinForm;
class TbsSkinMainMenuBar;
class TbsDataSkinObject;

class TbsSkinMainMenu : public TMainMenu {
public:
    explicit TbsSkinMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {}
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinForm* BSF = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
};

class TbsMenuBarObject : public TObject {
public:
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    virtual void UpdateLook();
    virtual void Draw(TCanvas*) {}
    virtual void MouseDown(int, int, TMouseButton) {}
    virtual void MouseUp(int, int, TMouseButton) {}
    virtual void DblClick() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual bool CanMorphing();
    bool EnableMorphing() const;
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);

    TbsSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    bool FDown = false;
    double FMorphKf = 0;
    String IDName;
    TRect SkinRect{}, ActiveSkinRect{}, DownRect{}, ObjectRect{};
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
};

class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    void UpdateLook() override;
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation() const;
    void DefaultDraw(TCanvas* Cnvs);
    void SetDown(bool Value);
    void PopupSubMenu();

    bool FSkinSupport = false;
    bool OldEnabled = true;
    bool ItemVisible = true;  // it fits on the bar
    TMenuItem* MenuItem = nullptr;
    String FontName;
    int FontHeight = 13;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct{};
    TRect ItemDownRect{};
    int LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 25, CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    // Left and width of the place, and whether it fits; false: the item hides.
    bool Place(int Width);
    int ImageWidth() const;
    void DrawImage(TCanvas* C, int X, int H);
    void SkinLook(TCanvas* Target, TBitmap* B, const TRect& R, bool Highlighted);
    void ToolLook(TCanvas* Target, TBitmap* B, bool Highlighted, bool Pressed);
    void DrawCaption(TCanvas* C, TRect TextRect, bool Selected);
    TRect FrameRect(int N) const;
    void ApplySkinFont(TFont* F) const;
};

// A maximized MDI child's window button on the bar (menu_bar_mdi_buttons.cpp): the system-menu
// button at the left end of the items, minimize, restore and close at the right end. Each acts on
// the maximized child's skin form.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();

    bool FSkinSupport = false;
    TbsStdCommand Command = cmClose;
};

class TbsSkinMainMenuBar : public TbsSkinControl, public TbsFormMenuBarLink {
public:
    explicit TbsSkinMainMenuBar(TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;

    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    TbsSkinForm* SkinForm() const { return BSF; }
    void SetSkinForm(TbsSkinForm* Value);
    void Merge(TMainMenu* Menu);
    void UnMerge();
    TMainMenu* GetChildMainMenu() const;
    void CreateMenu();
    void UpDateItems() override;
    void UpDateEnabledItems();
    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Keyboard menu mode and its steps (the form drives them).
    void EnterMenuMode() override;
    void LeaveMenuMode() override;
    void ReleaseDownItem();
    bool ActivateAccelItem(int Key);
    void NextMainMenuItem();
    void PriorMainMenuItem();
    bool PressActiveItem();
    // The link the form sees.
    void ReleaseItem() override { ReleaseDownItem(); }
    bool MenuKeyDown(WPARAM Key) override { return ActivateAccelItem(static_cast<int>(Key)); }
    void PreviousItem() override { PriorMainMenuItem(); }
    void NextItem() override { NextMainMenuItem(); }
    bool OpensOnKey(WPARAM) override { return PressActiveItem(); }
    // MDI: the maximized child's buttons on the bar.
    void MDIChildMaximize() override;
    void MDIChildRestore() override;
    bool ShowsChildMenu() const override { return ChildMenuIn || GetChildMainMenu(); }
    void CreateMDIButtons();
    void EnableMDIButtons(TbsBorderIcons Icons);
    void ClearMDIButtons();
    // The system menu opened by the system-menu button closed.
    void ReleaseSysMenuButton();
    bool FMDIChildMax = false;

    void DrawBar(TCanvas* C);
    void DrawObject(TbsMenuBarObject* Obj);
    void TrackObjects(int X, int Y);
    void PopupHiddenItems();
    TRect MarkerRect() const;
    TbsSkinMainMenuBarItem* ItemAt(int I) const;

    bool ToolBarMode = false;
    bool ToolBarModeItemTransparent = false;
    std::function<void(TMenuItem*)> OnItemMouseEnter, OnItemMouseLeave;
    bool ScrollMenu = true;
    TFont* DefItemFont;
    bool UseSkinFont = true;
    bool UseSkinSize = true;
    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool PopupToUp = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    TbsSkinForm* BSF = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TTimer *MouseTimer, *MorphTimer, *AnimateTimer;
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    TNotifyEvent OnMouseEnter, OnMouseLeave;
    TRect NewItemsRect{};
    int DefaultWidth = 0, DefaultHeight = 22;
    TMainMenu* FMergeMenu = nullptr;
    TRect BarSkinRect{}, ItemsRect{};
    String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    int TrackMarkColor = 0, TrackMarkActiveColor = 0;
    TBitmap* Picture = nullptr;
    bool StretchEffect = false;
    bool ItemTransparent = false;
    std::vector<TbsMenuBarObject*> ObjectList;
    bool ChildMenuIn = false;
    // A canvas for measuring captions.
    TBitmap Scratch;

protected:
    void Paint() override {}
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void ClearObjects();
    void CalcItemsRect();
    // Places the MDI buttons at both ends of NewItemsRect and narrows it.
    void PlaceMDIButtons();
    void MouseTimerProc(TObject*);
    void MorphTimerProc(TObject*);
    void AnimateTimerProc(TObject*);
    void DrawMarker(TCanvas* C);
    void Redraw();
};
