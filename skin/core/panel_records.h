// Skin records of containers, labels and separators: panels ("panel"), expandable panels
// ("expanel"), labels on a resizable look ("label"), plain labels ("stdlabel"), bevels ("bevel"),
// splitters ("splitter") and scroll boxes ("scrollbox").
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect CaptionRect{};
    TAlignment Alignment = taCenter;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    int BGPictureIndex = -1;
    TRect CheckImageRect{}, UnCheckImageRect{}, MarkFrameRect{}, FrameRect{};
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect{}, GripperRect{};
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0xFF00FF;
    TRect ButtonRect{}, ButtonActiveRect{}, ButtonDownRect{};
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0xFF00FF;
};

class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect RollHSkinRect{}, RollVSkinRect{};
    int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    TRect RollVCaptionRect{}, RollHCaptionRect{};
    TRect CloseButtonRect{}, CloseButtonActiveRect{}, CloseButtonDownRect{};
    TRect HRollButtonRect{}, HRollButtonActiveRect{}, HRollButtonDownRect{};
    TRect HRestoreButtonRect{}, HRestoreButtonActiveRect{}, HRestoreButtonDownRect{};
    TRect VRollButtonRect{}, VRollButtonActiveRect{}, VRollButtonDownRect{};
    TRect VRestoreButtonRect{}, VRestoreButtonActiveRect{}, VRestoreButtonDownRect{};
    TRect CaptionRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = 0xFF00FF;
};

class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
};

class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0xFF0000;
};

class TbsDataSkinBevel : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TColor LightColor = 0, DarkColor = 0;
};

class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect GripperRect{};
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0xFF00FF;
};

class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    int BGPictureIndex = -1;
};
