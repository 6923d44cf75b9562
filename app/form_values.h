// The values every form of the program gives its skinned-form component, as the forms' stored
// layouts hold them: the skin's fonts and sizes in captions and menus, caption fonts "Arial"
// bold 14 (active in the button-text colour, inactive in the shadow colour), menu items "Arial"
// 14 and 20 pixels high, menus and layered frames at 200 when blending is switched on.
#pragma once

#include "platform/framework/graphics/graphics_objects.h"
#include "skin/form/skin_form.h"

inline void SetStoredFormValues(TbsSkinForm* AForm)
{
    AForm->SetUseSkinFontInMenu(true);
    AForm->SetUseSkinFontInCaption(true);
    AForm->SetUseSkinSizeInMenu(true);
    AForm->SetAlphaBlendValue(200);
    AForm->SetMenusAlphaBlendValue(200);
    AForm->SetMagneticSize(5);
    TFont caption;
    caption.SetName(L"Arial");
    caption.SetStyle(TFontStyles{fsBold});
    caption.SetHeight(14);
    caption.SetColor(clBtnText);
    AForm->SetDefCaptionFont(&caption);
    caption.SetColor(clBtnShadow);
    AForm->SetDefInActiveCaptionFont(&caption);
    TFont menu;
    menu.SetName(L"Arial");
    menu.SetHeight(14);
    menu.SetColor(clWindowText);
    AForm->SetDefMenuItemFont(&menu);
    AForm->SetDefMenuItemHeight(20);
}
