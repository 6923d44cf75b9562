// The 16 x 16 pictures of the file and folder dialogs' tool buttons, drawn here in code so the
// program carries no picture files for them: "BS_BACK_PNG", "BS_UP_PNG", "BS_NEWFOLDER_PNG",
// "BS_LVSTYLE_PNG" and "BS_STRETCH_PNG". Each dialog form fills a PNG list of its own with them.
#pragma once

#include <initializer_list>

#include "platform/framework/core/types.h"

class TbsPngImageList;

// Adds the named pictures to List in the order given; an unknown name raises EComponentError.
void AddDialogToolPictures(TbsPngImageList* List, std::initializer_list<const wchar_t*> Names);
