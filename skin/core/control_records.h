// Control skin records: the look of one kind of skinned control, read from and written to the
// section named by the record's IDName. TbsDataSkinControl holds the picture and normal look;
// TbsDataSkinCustomControl adds the nine-part geometry of a resizable look. Each class lists its
// keys once (DefineKeys, the parent's first) and that table drives both LoadFromFile and
// SaveToFile. The skin model makes one record per "SKINCONTROLS" line by its type word.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/graphics/graphics_types.h"
#include "skin/core/skin_ini.h"
#include "skin/core/skin_types.h"

class TbsDataSkinControl : public TObject {
public:
    explicit TbsDataSkinControl(const String& AIDName);

    // Reads every key of the section [IDName]; an absent key gives its default.
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section [IDName], then writes every key in table order.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // The record's keys bound to its fields, the parent's first, in writing order.
    virtual void DefineKeys(TbsSkinKeys& Keys);

    String IDName;
    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    TRect SkinRect{};
};

class TbsDataSkinCustomControl : public TbsDataSkinControl {
public:
    explicit TbsDataSkinCustomControl(const String& AIDName) : TbsDataSkinControl(AIDName) {}
    void DefineKeys(TbsSkinKeys& Keys) override;

    // How a control sizes itself from this look: -1 no look (empty SkinRect), 1 nine-part (both
    // coordinates of RBPoint set), 2 three-part across (RTPoint set, height fixed), 3 three-part
    // down (LBPoint set, width fixed), 0 fixed size.
    int ResizeMode() const;

    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ClRect{};
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
};

// The six keys of a pair of arrow buttons (scroll bars, up-downs, spin edits, list box captions):
// "upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
// "activedownbuttonrect", "downdownbuttonrect".
void ArrowButtonKeys(TbsSkinKeys& Keys, TRect& Up, TRect& ActiveUp, TRect& DownUp, TRect& Down, TRect& ActiveDown,
                     TRect& DownDown);

// The record of a "SKINCONTROLS" type word, named AIDName; nullptr for a word not in the table.
TbsDataSkinControl* CreateSkinControlRecord(const String& TypeWord, const String& AIDName);
// The type word that makes a record of this class ("" for the two base classes).
const wchar_t* SkinControlTypeWord(const TbsDataSkinControl* Record);
