#include "skin/boxes/edit_menu_link.h"

TbsEditMenuLink& EditMenuLink()
{
    static TbsEditMenuLink link{
        [](TControl* Edit) { return new TPopupMenu(Edit); },
        [](TPopupMenu* Menu, TControl* Edit, int X, int Y) {
            Menu->SetPopupComponent(Edit);
            Menu->Popup(X, Y);
        },
        [](TCustomForm*) -> TbsResourceStrData* { return nullptr; },
    };
    return link;
}
