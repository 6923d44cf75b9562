// What the skinned buttons use of the skinned popup menu and of the image-grid menu, which live
// with the skinned form's menus: the menus derive from these bases, so the buttons neither know
// nor wait for them.
#pragma once

#include "platform/framework/controls/control.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/image_list.h"

class TbsSkinPopupMenuBase : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    // Shows the menu for ACtrl at the screen rectangle R, below it (above with APopupUp). Its
    // closing reaches ACtrl as WM_SKINMENU_CLOSED.
    virtual void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) = 0;
    // Right after PopupFromRect2: whether the menu opened for ACtrl, so that its close will come
    // (a menu without a skinned form to show it, or without items, does not open).
    virtual bool OpenedFor(const TControl* ACtrl) const
    {
        (void)ACtrl;
        return true;
    }
};

class TbsSkinImagesMenuBase : public TComponent {
public:
    using TComponent::TComponent;
    // The item at ItemIndex: its caption and its index into Images; false when ItemIndex is out
    // of range.
    virtual bool SelectedItem(String& Caption, int& ImageIndex) const = 0;
    virtual TCustomImageList* Images() const = 0;
    // Shows the grid at the screen rectangle R when Images holds images (nothing otherwise);
    // its closing calls OnInternalMenuClose.
    virtual void PopupFromRect(const TRect& R) = 0;

    // Written by the buttons: a button repaints on a change of the selected item, and a menu
    // button hears the grid close.
    TNotifyEvent OnInternalChange;
    TNotifyEvent OnInternalMenuClose;
};
