// Shared by the parts of the skin's design: the pictures in progress, their indexes among the
// skin's active pictures, the fonts, and the records made with their key defaults.
#pragma once

#include "platform/framework/core/ini_file.h"
#include "skin/core/skin_data.h"
#include "tools/skin_builder/skin_picture.h"

// Active pictures, in this order in "PICTURES".
enum ActivePicture { kObjectsPicture, kControlsPicture, kPopupPicture, kPopupMask, kHintPicture, kHintMask };

// Text of the skin: a face the layer maps to WenQuanYi Micro Hei (Chinese and Latin), with
// heights as character heights, so Chinese captions keep 12 or 13 pixel glyphs.
inline constexpr const wchar_t* kFontName = L"Microsoft YaHei";
inline constexpr int kTextHeight = -12;
inline constexpr int kCaptionTextHeight = -13;
// The key colour as an INI colour, for the records that draw a piece with a transparent colour.
inline constexpr TColor kKeyColor = ToColor(kKey);

struct SkinSheets {
    SkinPicture Form{240, 100};
    SkinPicture Objects{256};
    SkinPicture Controls{256};
    SkinPicture Popup{48, 48};
    SkinPicture Hint{40, 28};
};

// A record as a load from an empty section leaves it (every field at its key default), appended
// to the skin's list of its kind (CtrlList or ObjectList).
template <class T, class List>
T* AddRecord(List& Records, const wchar_t* Name)
{
    auto* r = new T(Name);
    TMemIniFile empty(L"");
    r->LoadFromFile(&empty);
    Records.push_back(r);
    return r;
}
template <class T>
T* AddControl(TbsSkinData& Skin, const wchar_t* Name)
{
    return AddRecord<T>(Skin.CtrlList, Name);
}
template <class T>
T* AddObject(TbsSkinData& Skin, const wchar_t* Name)
{
    return AddRecord<T>(Skin.ObjectList, Name);
}

// The form picture and its geometry, the frame objects, the menu looks, the popup and hint
// windows.
void DesignFrame(TbsSkinData& Skin, SkinSheets& Sheets);
// The control records and their looks.
void DesignControls(TbsSkinData& Skin, SkinSheets& Sheets);
