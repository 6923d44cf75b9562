// How frame objects (menu buttons, animated buttons, the system-menu button) open the menu linked
// to them: through the form's skinned menu engine; until a program has one, through the
// framework's plain popup menu, whose end closes the object's menu as the engine's close would
// (the form's SkinMenuClose releases the object).
#pragma once

#include "platform/framework/core/types.h"

class TbsSkinForm;
class TbsSkinData;
class TMenuItem;

// Item's sub-items beside the screen rectangle R (above it with PopupUp), drawn from SD.
void PopupFrameObjectMenu(TbsSkinForm* Form, TbsSkinData* SD, const TRect& R, TMenuItem* Item, bool PopupUp);
