// What the edits' context menu needs of the skinned menus and the skinned form, which are built
// elsewhere: the menu object, showing it for the edit at a screen point, and the form's table of
// interface texts. Until the skinned popup menu exists the menu is a framework popup shown by its
// own Popup (the skinned menus replace MakeEditMenu and PopupEditMenu: a TbsSkinPopupMenu and its
// Popup2); the text table is found through TextTableOfForm, which the skinned form sets (its
// first TbsSkinForm component, that component's SkinData and the model's ResourceStrData).
#pragma once

#include <functional>

#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/menus.h"
#include "skin/core/resource_strings.h"

struct TbsEditMenuLink {
    // A new, empty menu owned by the edit.
    std::function<TPopupMenu*(TControl* Edit)> MakeEditMenu;
    // Shows the menu at the screen point; the edit hears WM_SKINMENU_COMMAND after an item ran.
    std::function<void(TPopupMenu* Menu, TControl* Edit, int X, int Y)> PopupEditMenu;
    // The form's text table, or nullptr.
    std::function<TbsResourceStrData*(TCustomForm* Form)> TextTableOfForm;
};
// The links in use; the defaults make and show a framework popup and find no text table.
TbsEditMenuLink& EditMenuLink();
