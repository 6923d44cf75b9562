// TbsSkinMenuButton: a skinned push button that drops down a skinned popup menu and/or an
// image-grid menu, from anywhere on it or, in track mode, only from the drop-down section at its
// right end (the rest clicks like a plain button). While the menu is open the button stays down
// and tracking: releases are ignored and enter and leave only move the hot flag. The menu's close
// (WM_SKINMENU_CLOSED, or the images menu's close event) raises it, hot when the cursor is over
// it. Drawn from a "menubutton" record (default "toolmenubutton"), as a resizable or fixed tool
// button, or in a built-in look with a drop-down arrow. The ribbon's application button replaces
// CanMenuTrack and TrackMenu.
#pragma once

#include "skin/controls/skin_button.h"

class TbsSkinMenuButton : public TbsSkinButton {
public:
    explicit TbsSkinMenuButton(TComponent* AOwner);
    ~TbsSkinMenuButton() override;

    TbsSkinPopupMenuBase* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenuBase* Value);
    bool TrackButtonMode() const { return FTrackButtonMode; }
    // Stores; repaints when the button has no record.
    void SetTrackButtonMode(bool Value);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // Opens the menu from code.
    void DropDown();
    // Whether a press at (X, Y) opens the menu.
    virtual bool CanMenuTrack(int X, int Y);
    // Shows the popup menu, then the images menu, below the button.
    virtual void TrackMenu();

    void GetSkinData() override;

    // The drop-down section, in the coordinates of the record's SkinRect.
    TRect TrackButtonRect{};

protected:
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool FMenuTracked = false;

private:
    // The track rectangle in control coordinates at the current size.
    TRect GetTrackButtonRect();
    bool IsToolName() const;
    // The menu closed: up, hot from the cursor, OnHideTrackMenu, glow away when not hot.
    void MenuClosed(bool Morph);
    void DrawMenuMarker(TCanvas* Cnvs, const TRect& M, bool AActive, bool ADown);
    void CreateToolButtonImage(TBitmap* B, bool ADown, bool AMouseIn, bool Resizable);

    TbsSkinPopupMenuBase* FSkinPopupMenu = nullptr;
    bool FTrackButtonMode = false;
};
