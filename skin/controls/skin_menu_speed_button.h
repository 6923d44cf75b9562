// TbsSkinMenuSpeedButton: a speed button that drops down a skinned popup menu and/or an
// image-grid menu under itself - from anywhere on it, or with TrackButtonMode only from its track
// area (15 pixels at the right, at the bottom with NewStyle and bstpBottom, or the rectangle a
// menu-button record gives) while the rest clicks like a speed button.
//
// Idle -> menu open: a left press that CanMenuTrack accepts sets it down and opens the menu(s)
// (OnShowTrackMenu before each); while open, releases are ignored and enter and leave only move
// the hot flag. Menu open -> idle: WM_SKINMENU_CLOSED (by direct dispatch, the button has no
// window) or the images menu's close raises it (OnHideTrackMenu). When no menu could open at all
// it is raised at once, as the close would.
//
// Looks, chosen by SkinDataName: the new style ("resizetoolbutton" with NewStyle: drawn from the
// skin's "resizetoolbutton" or "resizebutton" record, its track area from "htracktoolbutton" or
// "vtracktoolbutton" when the skin has them), the tool-button style ("toolbutton",
// "bigtoolbutton": stretched), the resizable style ("resizebutton", "resizetoolbutton": nine-part;
// the main window's add button), and the menu-button style (any other name: a menu-button record
// whose pictures hold the arrow). The first three draw a marker in the track area: the record's
// marker pictures, a standard arrow when asked, else a drop-down arrow. At rest a transparent
// button shows only caption, image and marker.
#pragma once

#include "skin/controls/skin_speed_button.h"

class TbsDataSkinButtonControl;

enum TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
    ~TbsSkinMenuSpeedButton() override;

    bool NewStyle() const { return FNewStyle; }
    // On: SkinDataName becomes "resizetoolbutton"; off leaves the name.
    void SetNewStyle(bool Value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition Value);
    TbsSkinImagesMenuBase* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TbsSkinImagesMenuBase* Value) { TbsSkinSpeedButton::SetSkinImagesMenu(Value); }
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
    TbsSkinPopupMenuBase* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenuBase* Value);
    bool TrackButtonMode() const { return FTrackButtonMode; }
    // Stores; repaints only without a record.
    void SetTrackButtonMode(bool Value);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // Whether a left press at (X, Y) opens the menu.
    bool CanMenuTrack(int X, int Y);
    // Opens the popup menu, then the images menu, below the button's screen rectangle.
    void TrackMenu();

    void GetSkinData() override;

    // The track area of a menu-button record, relative to its SkinRect.
    TRect TrackButtonRect{};
    // A plain arrow of this kind (1 left, 2 right, 3 up, 4 down, 5 plus) as the marker.
    bool FDrawStandardArrow = false;
    int FArrowType = 0;

protected:
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // "resizebutton", "resizetoolbutton", "toolbutton" or "bigtoolbutton".
    bool IsToolName() const;
    // The record's track rectangle in control coordinates at the current size.
    TRect SkinTrackRect() const;
    // The 15-pixel strip of the track area: the bottom with NewStyle and bstpBottom, else the right.
    TRect TrackStrip() const;
    // The menu closed (or none could open): up, not hot, OnHideTrackMenu, repaint.
    void MenuClosed();
    // The record named Name of the skin as a button record; nullptr without one.
    TbsDataSkinButtonControl* ButtonRecord(const wchar_t* Name) const;
    // Object's look for Hot and Pressed composed to R's size at R's top-left.
    void DrawSkinButtonRecord(TbsDataSkinButtonControl* Object, TCanvas* Cnvs, const TRect& R, bool Hot, bool Pressed);
    void DrawMarker(TCanvas* Cnvs, const TRect& M, bool ADown, bool AMouseIn, TColor Colour);
    void CreateNewStyleImage(TBitmap* B, bool ADown, bool AMouseIn);
    void CreateToolImage(TBitmap* B, bool ADown, bool AMouseIn, bool Resizable);
    // The caption colour of the skin styles.
    TColor StyleColour(bool PressedLook, bool AMouseIn) const;

    TbsSkinPopupMenuBase* FSkinPopupMenu = nullptr;
    bool FTrackButtonMode = false;
    bool FNewStyle = false;
    TbsTrackPosition FTrackPosition = bstpRight;
};
