// Form object records: the things on a skinned form's frame - caption, caption buttons, animated
// buttons, areas the application paints, and the items of popup menus and the menu bar. The skin
// model makes one per "SKINOBJECTS" line by its type word; each reads and writes the section named
// by its IDName through one key table (DefineKeys). Button records also build alpha images of
// their looks when the skin's layer frame carries the whole border.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/graphics/graphics_types.h"
#include "skin/core/skin_ini.h"
#include "skin/core/skin_types.h"

class TbsBitmap;
class TbsSkinData;

class TbsDataSkinObject : public TObject {
public:
    explicit TbsDataSkinObject(const String& AIDName);

    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section [IDName], then writes every key in table order.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // (Re)builds the record's alpha images from the skin's active pictures; nothing here.
    virtual void InitAlphaImages(TbsSkinData* ASkinData);
    // The keys bound to the fields, the parent's first, in writing order.
    virtual void DefineKeys(TbsSkinKeys& Keys);

    String IDName;
    String Hint;
    bool SkinRectInAPicture = false;
    TRect SkinRect{}, ActiveSkinRect{};
    int ActivePictureIndex = -1, ActiveMaskPictureIndex = -1;
    TRect InActiveSkinRect{};
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;
};

// An area of the frame that the application paints itself: only "skinrect" is read and written.
class TbsDataUserObject : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void DefineKeys(TbsSkinKeys& Keys) override;
};

class TbsDataSkinButton : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    ~TbsDataSkinButton() override;
    void DefineKeys(TbsSkinKeys& Keys) override;
    // With a layer frame picture and "fullborder": the normal, active, pressed and inactive looks
    // as premultiplied 32-bit images; otherwise none.
    void InitAlphaImages(TbsSkinData* ASkinData) override;

    TRect DownRect{}, DisableSkinRect{};
    int AlphaMaskPictureIndex = -1, AlphaMaskActivePictureIndex = -1, AlphaMaskInActivePictureIndex = -1;
    TbsBitmap* FAlphaNormalImage = nullptr;
    TbsBitmap* FAlphaActiveImage = nullptr;
    TbsBitmap* FAlphaDownImage = nullptr;
    TbsBitmap* FAlphaInActiveImage = nullptr;

protected:
    // Fills Slot with the rect R of the record's active picture, its alpha from mask picture
    // MaskIndex (255 without one); leaves it nil when R has no area or the picture is missing.
    void InitAlphaImage(TbsSkinData* ASkinData, TbsBitmap*& Slot, int MaskIndex, const TRect& R);
};

class TbsDataSkinStdButton : public TbsDataSkinButton {
public:
    using TbsDataSkinButton::TbsDataSkinButton;
    ~TbsDataSkinStdButton() override;
    void LoadFromFile(TCustomIniFile* IniFile) override;
    void DefineKeys(TbsSkinKeys& Keys) override;
    void InitAlphaImages(TbsSkinData* ASkinData) override;

    TbsStdCommand Command = cmClose;
    String RestoreHint;
    TRect RestoreRect{}, RestoreActiveRect{}, RestoreDownRect{}, RestoreInActiveRect{};
    TbsBitmap* FAlphaRestoreNormalImage = nullptr;
    TbsBitmap* FAlphaRestoreActiveImage = nullptr;
    TbsBitmap* FAlphaRestoreDownImage = nullptr;
    TbsBitmap* FAlphaInActiveRestoreImage = nullptr;
};

// A menu bar's buttons for a maximized MDI child.
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
public:
    using TbsDataSkinStdButton::TbsDataSkinStdButton;
};

// Frames side by side from ActiveSkinRect's top-left, each the size of SkinRect. Never morphs.
class TbsDataSkinAnimate : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(TCustomIniFile* IniFile) override;
    void DefineKeys(TbsSkinKeys& Keys) override;

    int CountFrames = 0;
    bool Cycle = false, ButtonStyle = false;
    int TimerInterval = 0;
    TbsStdCommand Command = cmClose;
    TRect DownSkinRect{};
    String RestoreHint;
    TRect RestoreRect{}, RestoreActiveRect{}, RestoreDownRect{}, RestoreInActiveRect{};
};

class TbsDataSkinMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect DividerRect{};
    int DividerLO = 0, DividerRO = 0, ItemLO = 0, ItemRO = 0;
    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0;
    TRect TextRct{}, ImageRct{};
    bool UseImageColor = false;
    TColor ImageColor = 0, ActiveImageColor = 0;
    bool StretchEffect = false, DividerStretchEffect = false, InActiveStretchEffect = false;
    TRect AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false, InActiveTransparent = false;
    // The active marks fall back to the normal ones when the skin gives none.
    TRect CheckImageRect{}, ActiveCheckImageRect{}, RadioImageRect{}, ActiveRadioImageRect{};
    TRect ArrowImageRect{}, ActiveArrowImageRect{};
};

class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect DownRect{};
    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
    TRect TextRct{};
    int ItemLO = 0, ItemRO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;
};

// An item of a skinned menu bar.
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
public:
    using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
};

class TbsDataSkinCaption : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void DefineKeys(TbsSkinKeys& Keys) override;

    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct{}, FrameRect{}, ActiveFrameRect{};
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect{};
    bool Light = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false, FullFrame = false, GlowEffect = false, VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false, GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    int ReflectionOffset = 0;
    TRect DividerRect{}, InActiveDividerRect{};
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    int QuickButtonAlphaMaskPictureIndex = 0;
};

// The record of a "SKINOBJECTS" type word, named AIDName; nullptr for a word not in the table.
TbsDataSkinObject* CreateSkinObjectRecord(const String& TypeWord, const String& AIDName);
// The type word that makes a record of this class, tested class before parent ("" for classes
// without one).
const wchar_t* SkinObjectTypeWord(const TbsDataSkinObject* Record);
