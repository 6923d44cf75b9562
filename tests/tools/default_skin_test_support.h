// The program's own skin as its tests see it: the model the skin builder draws, the skin loaded
// from the container linked into the program, and the folder form checked in under resources/.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"
#include "tools/skin_builder/skin_design.h"

// resources/skins/light/ of the source tree.
inline std::string SkinFolderPath()
{
    const char* src = std::getenv("VX_SOURCE_DIR");
    return std::string(src ? src : ".") + "/resources/skins/light/";
}

// The skin as the skin builder makes it.
inline std::unique_ptr<TbsSkinData> BuiltSkin()
{
    auto skin = std::make_unique<TbsSkinData>(nullptr);
    BuildDefaultSkin(*skin);
    return skin;
}

// The skin loaded from the linked-in container through a skin list item, as the main window's
// skin lists hold it.
inline std::unique_ptr<TbsSkinData> EmbeddedSkin()
{
    TbsCompressedSkinList list(nullptr);
    TbsSkinListItem* item = list.Skins()->Add();
    FillDefaultSkinItem(*item);
    auto skin = std::make_unique<TbsSkinData>(nullptr);
    skin->LoadCompressedStoredSkin(item->Skin());
    return skin;
}

// Every section a model writes, as text: equal texts mean equal records, geometry and colours.
inline std::string SkinText(TbsSkinData& Skin)
{
    TMemIniFile ini(L"");
    Skin.WriteSkin(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    return StringToUtf8(lines.Text());
}

inline bool SamePixels(TBitmap* A, TBitmap* B)
{
    if (A->Width() != B->Width() || A->Height() != B->Height()) return false;
    for (int y = 0; y < A->Height(); ++y)
        for (int x = 0; x < A->Width(); ++x)
            if ((A->PixelArgb(x, y) & 0xFFFFFF) != (B->PixelArgb(x, y) & 0xFFFFFF)) return false;
    return true;
}

// Every picture of a model with its file name: the form picture, the mask and the active ones.
template <class F>
void ForEachPicture(TbsSkinData& Skin, F&& Fn)
{
    Fn(Skin.FPictureName, Skin.FPicture);
    Fn(Skin.FMaskName, Skin.FMask);
    for (size_t i = 0; i < Skin.FActivePictures.size(); ++i)
        Fn(Skin.FActivePicturesNames->Get(static_cast<int>(i)), Skin.FActivePictures[i]);
}
