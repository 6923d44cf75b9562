// The four records every skin has one of, each in a fixed section: the popup menu window
// ("POPUPWINDOW"), the layered border frame around skinned forms ("LAYERFRAME", with its alpha
// source pictures), the hint window ("HINTWINDOW") and the eight colours that stand in for system
// colours in skinned controls ("SKINCOLORS"). The skin model keeps them for its whole life.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/graphics/graphics_types.h"
#include "skin/core/skin_ini.h"

class TbsBitmap;
class TbsSkinData;

class TbsDataSkinPopupWindow : public TObject {
public:
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);  // erases "POPUPWINDOW" first
    void DefineKeys(TbsSkinKeys& Keys);

    int WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ItemsRect{};
    int ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
    bool TopStretch = false, LeftStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

class TbsDataSkinHintWindow : public TObject {
public:
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);  // erases "HINTWINDOW" first
    void DefineKeys(TbsSkinKeys& Keys);

    int WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ClRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;
    bool TopStretch = false, LeftStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

class TbsDataSkinLayerFrame : public TObject {
public:
    TbsDataSkinLayerFrame() = default;
    ~TbsDataSkinLayerFrame() override;
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);  // erases "LAYERFRAME" first
    void DefineKeys(TbsSkinKeys& Keys);
    // Rebuilds the active and inactive sources from the skin's active pictures: the picture with
    // its alpha taken from the mask, or opaque when the mask is missing; none when the picture
    // index is out of range.
    void InitAlphaImages(TbsSkinData* ASkinData);
    // Whether the frame can be drawn: a picture was given and its source could be built. A frame
    // whose picture index lies outside the skin's pictures has none.
    bool HasSource() const { return FSourceBitmap != nullptr; }

    int PictureIndex = -1, MaskPictureIndex = -1, InActivePictureIndex = -1, InActiveMaskPictureIndex = -1;
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ClRect{};
    int AlphaBlendValue = 255, InActiveAlphaBlendValue = 255;
    TRect BorderRect{};
    bool HitTestEnable = false, FullBorder = false;
    int HitTestSize = 0;
    TRect CaptionRect{};
    TPoint HitTestLTPoint{}, HitTestRTPoint{}, HitTestLBPoint{}, HitTestRBPoint{};
    TRect ButtonsRect{}, SysMenuButtonRect{};
    bool FullStretch = false;
    int RollUpFormHeight = 0, ButtonsTopOffset = 0, SysButtonTopOffset = 0, BlurMaskPictureIndex = -1;
    TRect IntersectBlurMaskRect{}, ExcludeBlurMaskRect{};
    int LeftOffset = 0, TopOffset = 0, WidthOffset = 0, HeightOffset = 0;
    TbsBitmap* FSourceBitmap = nullptr;
    TbsBitmap* FSourceInActiveBitMap = nullptr;

private:
    static void BuildSource(TbsSkinData* ASkinData, TbsBitmap*& Source, int Picture, int Mask);
};

// All eight are 0 until the skin model first clears or loads a skin; then system colours unless
// the skin gives its own.
class TbsSkinColors : public TObject {
public:
    void LoadFromFile(TCustomIniFile* IniFile);
    // Writes the eight keys into "SKINCOLORS" without erasing it (the skin writer does that).
    void SaveToFile(TCustomIniFile* IniFile);
    void DefineKeys(TbsSkinKeys& Keys);
    void SetColorsToDefault();

    TColor cBtnFace() const { return FcBtnFace; }
    void SetcBtnFace(TColor v) { FcBtnFace = v; }
    TColor cBtnText() const { return FcBtnText; }
    void SetcBtnText(TColor v) { FcBtnText = v; }
    TColor cWindow() const { return FcWindow; }
    void SetcWindow(TColor v) { FcWindow = v; }
    TColor cWindowText() const { return FcWindowText; }
    void SetcWindowText(TColor v) { FcWindowText = v; }
    TColor cHighLight() const { return FcHighLight; }
    void SetcHighLight(TColor v) { FcHighLight = v; }
    TColor cHighLightText() const { return FcHighLightText; }
    void SetcHighLightText(TColor v) { FcHighLightText = v; }
    TColor cBtnHighLight() const { return FcBtnHighLight; }
    void SetcBtnHighLight(TColor v) { FcBtnHighLight = v; }
    TColor cBtnShadow() const { return FcBtnShadow; }
    void SetcBtnShadow(TColor v) { FcBtnShadow = v; }

    TColor FcBtnFace = 0, FcBtnText = 0, FcWindow = 0, FcWindowText = 0;
    TColor FcHighLight = 0, FcHighLightText = 0, FcBtnHighLight = 0, FcBtnShadow = 0;
};
