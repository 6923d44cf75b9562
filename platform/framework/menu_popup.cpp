#include "platform/framework/menu_popup.h"

#include "platform/framework/menus.h"

TMenuItem* TrackPlainPopup(TMenuItem*, int, int) { return nullptr; }
