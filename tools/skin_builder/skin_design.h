// The program's own skin, built in code: every picture drawn with Cairo and every record with the
// rects of its looks, in a TbsSkinData that the model's writer stores as a skin folder and packs
// as a compressed skin. Nothing is read from any skin file.
#pragma once

#include "platform/framework/core/types.h"

class TbsSkinData;

// The skin's name in "VERSION" and the file name of its INI in the folder form.
extern const wchar_t* const kDefaultSkinName;
extern const wchar_t* const kDefaultSkinIni;

// Fills an empty model with the skin (pictures, form geometry, window records, colours, object
// and control records) and marks it loaded.
void BuildDefaultSkin(TbsSkinData& Skin);
