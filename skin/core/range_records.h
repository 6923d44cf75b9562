// Skin records of controls that show a position or a range: scroll bars ("scrollbar"), track bars
// ("trackbar"), sliders ("slider"), gauges ("gauge") and up-down pairs ("updown").
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect TrackArea{}, UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
    TRect ThumbRect{}, ActiveThumbRect{}, DownThumbRect{};
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    TRect GlyphRect{}, ActiveGlyphRect{}, DownGlyphRect{};
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0xFF00FF;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0xFF00FF;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0, ThumbMinPageSize = 0;
};

class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ActiveSkinRect{}, TrackArea{}, ButtonRect{}, ActiveButtonRect{};
    bool Vertical = false, ButtonTransparent = false;
    TColor ButtonTransparentColor = 0xFF00FF;
};

class TbsDataSkinSlider : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect HRulerRect{}, HThumbRect{}, VRulerRect{}, VThumbRect{};
    int EdgeSize = 0;
    TColor BGColor = 0, PointsColor = 0;
};

class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ProgressArea{}, ProgressRect{};
    bool Vertical = false;
    int BeginOffset = 0, EndOffset = 0;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = 0xFF00FF;
    bool ProgressStretch = false;
    TRect AnimationSkinRect{};
    int AnimationCountFrames = 0, AnimationTimerInterval = 0;
    TRect ProgressAnimationSkinRect{};
    int ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0;
    int AnimationBeginOffset = 0, AnimationEndOffset = 0;
};

// An up-down look always has a fixed size: its corner points and client rect are zeroed after
// reading and before writing, whatever the section says.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void LoadFromFile(TCustomIniFile* IniFile) override;
    void SaveToFile(TCustomIniFile* IniFile) override;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};

private:
    void ZeroGeometry();
};
