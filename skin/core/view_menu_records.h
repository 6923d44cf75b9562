// Skin records of views, the menu bar, the control bar and the ribbon's application menu: tree
// views ("treeview"), list views ("listview"), rich edits ("richedit"), the form's menu bar
// ("mainmenubar"), control bars ("controlbar") and application menus ("appmenu").
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinTreeView : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, BGColor = 0xFFFFFF;
    TRect ExpandImageRect{}, NoExpandImageRect{};
};

class TbsDataSkinListView : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, BGColor = 0xFFFFFF;
};

class TbsDataSkinRichEdit : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0, BGColor = 0xFFFFFF;
};

class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ItemsRect{};
    String MenuBarItem, CloseButton, MaxButton, MinButton, SysMenuButton;
    int TrackMarkColor = 0, TrackMarkActiveColor = 0;
    bool StretchEffect = false, ItemTransparent = false;
};

class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ItemRect{};
    int BGPictureIndex = -1;
    TRect HGripRect{}, VGripRect{};
    int GripOffset1 = 0, GripOffset2 = 0;
    bool ItemStretchEffect = false;
    int ItemOffset1 = 0, ItemOffset2 = 0;
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;
};

class TbsDataSkinAppMenu : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    int BGPictureIndex = -1;
    bool BGStretchEffect = false;
    int BGPagePictureIndex = -1;
    bool BGPageStretchEffect = false;
    TRect ItemRect{}, PageItemRect{}, PageItemActiveRect{};
    int ItemOffset1 = 0, ItemOffset2 = 0, PageItemOffset1 = 0, PageItemOffset2 = 0, PageOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0, FontPageHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, FontPageColor = 0, ActiveFontColor = 0, ActiveFontPageColor = 0;
    TRect GripperRect{};
    TColor GripperTransparentColor = 0;
    TRect TopLineRect{};
    int TopLineOffset1 = 0, TopLineOffset2 = 0;
    TRect BackButtonRect{}, BackButtonActiveRect{}, CaptionRect{};
    int CaptionLeftOffset = 0, CaptionTopOffset = 0;
};
