// The main window's PNG image lists, filled from the program's own icons (app/program_icons_data.h):
// the category pictures, one per category code (image index = code), and the preset list's two
// item pictures; and the buttons' glyphs, enabled and disabled.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/core/types.h"

class TComponent;
class TbsPngImageList;

// The icon named Name (nullptr when the program has none of that name).
const struct TProgramIconData* FindProgramIcon(const std::string& Name);
// Appends the named icon to List as a PNG item of that name; EComponentError when it is unknown.
void AddProgramIcon(TbsPngImageList* List, const std::string& Name);
// A new 16-pixel PNG list owned by AOwner holding the 24 category pictures, "category_00" at 0.
TbsPngImageList* NewCategoryImageList(TComponent* AOwner, const String& AName);
// A new PNG list of ASize pixels owned by AOwner holding the named icons in that order.
TbsPngImageList* NewProgramImageList(TComponent* AOwner, const String& AName, int ASize,
                                     const std::vector<std::string>& ANames);
// A new 16-pixel PNG list owned by AOwner holding the preset items' two pictures.
TbsPngImageList* NewPresetImageList(TComponent* AOwner, const String& AName);
