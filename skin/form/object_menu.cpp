#include "skin/form/object_menu.h"

#include "platform/framework/forms/menu_popup.h"
#include "platform/framework/forms/menus.h"
#include "skin/form/skin_form.h"

void PopupFrameObjectMenu(TbsSkinForm* Form, TbsSkinData* SD, const TRect& R, TMenuItem* Item, bool PopupUp)
{
    if (!Item) return;
    if (Form->SkinMenu) {
        Form->SkinMenu->Popup(nullptr, SD, 0, R, Item, PopupUp);
        return;
    }
    // The plain popup tracks the menu itself; its end is the menu's close.
    if (TMenuItem* chosen = TrackPlainPopup(Item, R.Left, PopupUp ? R.Top : R.Bottom)) chosen->Click();
    Form->SkinMenuClose();
}
