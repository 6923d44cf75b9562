#include "skin/core/object_records.h"

namespace {

// A restore hint the skin leaves empty is derived from the exact normal hint and the command.
void DeriveRestoreHint(String& RestoreHint, const String& Hint, TbsStdCommand Command)
{
    if (!RestoreHint.empty()) return;
    if ((Hint == L"Maximize" && Command == cmMaximize) || (Hint == L"Minimize" && Command == cmMinimize) ||
        ((Hint == L"RollUp" || Hint == L"Roll Up") && Command == cmRollUp))
        RestoreHint = L"Restore";
}

}  // namespace

// ---- TbsDataSkinObject -----------------------------------------------------------------------

TbsDataSkinObject::TbsDataSkinObject(const String& AIDName) : IDName(AIDName) {}

void TbsDataSkinObject::DefineKeys(TbsSkinKeys& K)
{
    K.Text(L"hint", Hint);
    K.Integer(L"activepictureindex", ActivePictureIndex, -1);
    K.Integer(L"activemaskpictureindex", ActiveMaskPictureIndex, -1);
    K.Boolean(L"skinrectinapicture", SkinRectInAPicture);
    K.Rect(L"skinrect", SkinRect);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Rect(L"inactiveskinrect", InActiveSkinRect);
    K.Boolean(L"morphing", Morphing);
    K.MorphKind(L"morphkind", MorphKind);
    K.Integer(L"glowlayerpictureindex", GlowLayerPictureIndex, -1);
    K.Integer(L"glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    K.Integer(L"glowlayeroffsetx", GlowLayerOffsetX);
    K.Integer(L"glowlayeroffsety", GlowLayerOffsetY);
    K.Integer(L"glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TbsDataSkinObject::LoadFromFile(TCustomIniFile* IniFile)
{
    TbsSkinKeys keys;
    DefineKeys(keys);
    keys.Load(IniFile, IDName);
}

void TbsDataSkinObject::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    TbsSkinKeys keys;
    DefineKeys(keys);
    keys.Save(IniFile, IDName);
}

void TbsDataSkinObject::InitAlphaImages(TbsSkinData*) {}

// ---- the classes -----------------------------------------------------------------------------

void TbsDataUserObject::DefineKeys(TbsSkinKeys& K) { K.Rect(L"skinrect", SkinRect); }

void TbsDataSkinButton::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinObject::DefineKeys(K);
    K.Rect(L"downrect", DownRect);
    K.Rect(L"disableskinrsect", DisableSkinRect);  // the skin format's own spelling
    K.Integer(L"alphamaskpictureindex", AlphaMaskPictureIndex, -1);
    K.Integer(L"alphamaskactivepictureindex", AlphaMaskActivePictureIndex, -1);
    K.Integer(L"alphamaskinactivepictureindex", AlphaMaskInActivePictureIndex, -1);
}

void TbsDataSkinStdButton::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinButton::DefineKeys(K);
    K.Command(L"command", Command);
    K.Rect(L"restorerect", RestoreRect);
    K.Rect(L"restoreactiverect", RestoreActiveRect);
    K.Rect(L"restoredownrect", RestoreDownRect);
    K.Rect(L"restoreinactiverect", RestoreInActiveRect);
    K.Text(L"restorehint", RestoreHint);
}

void TbsDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile)
{
    TbsDataSkinButton::LoadFromFile(IniFile);
    DeriveRestoreHint(RestoreHint, Hint, Command);
}

void TbsDataSkinAnimate::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinObject::DefineKeys(K);
    K.Integer(L"countframes", CountFrames, 1);
    K.Boolean(L"cycle", Cycle);
    K.Boolean(L"buttonstyle", ButtonStyle);
    K.Integer(L"timerinterval", TimerInterval, 50);
    K.Command(L"command", Command);
    K.Rect(L"downskinrect", DownSkinRect);
    K.Rect(L"restorerect", RestoreRect);
    K.Rect(L"restoreactiverect", RestoreActiveRect);
    K.Rect(L"restoredownrect", RestoreDownRect);
    K.Rect(L"restoreinactiverect", RestoreInActiveRect);
    K.Text(L"restorehint", RestoreHint);
}

void TbsDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile)
{
    TbsDataSkinObject::LoadFromFile(IniFile);
    Morphing = false;
    DeriveRestoreHint(RestoreHint, Hint, Command);
}

void TbsDataSkinMenuItem::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinObject::DefineKeys(K);
    K.Integer(L"itemleftoffset", ItemLO);
    K.Integer(L"itemrightoffset", ItemRO);
    K.Rect(L"dividerrect", DividerRect);
    K.Integer(L"dividerleftoffset", DividerLO);
    K.Integer(L"dividerrightoffset", DividerRO);
    K.Rect(L"textrect", TextRct);
    K.Rect(L"imagerect", ImageRct);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"unenabledfontcolor", UnEnabledFontColor);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.Boolean(L"inactivestretcheffect", InActiveStretchEffect);
    K.Boolean(L"dividerstretcheffect", DividerStretchEffect);
    K.Rect(L"animateskinrect", AnimateSkinRect);
    K.Integer(L"framecount", FrameCount);
    K.Integer(L"animateinterval", AnimateInterval, 25);
    K.Boolean(L"inactiveanimation", InActiveAnimation);
    K.Boolean(L"useimagecolor", UseImageColor);
    K.Integer(L"imagecolor", ImageColor);
    K.Integer(L"activeimagecolor", ActiveImageColor);
    K.Boolean(L"inactivetransparent", InActiveTransparent);
    K.Rect(L"checkimagerect", CheckImageRect);
    K.RectOrFallback(L"activecheckimagerect", ActiveCheckImageRect, CheckImageRect);
    K.Rect(L"radioimagerect", RadioImageRect);
    K.RectOrFallback(L"activeradioimagerect", ActiveRadioImageRect, RadioImageRect);
    K.Rect(L"arrowimagerect", ArrowImageRect);
    K.RectOrFallback(L"activearrowimagerect", ActiveArrowImageRect, ArrowImageRect);
}

void TbsDataSkinMainMenuItem::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinObject::DefineKeys(K);
    K.Integer(L"itemleftoffset", ItemLO);
    K.Integer(L"itemrightoffset", ItemRO);
    K.Rect(L"downrect", DownRect);
    K.Rect(L"textrect", TextRct);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Integer(L"downfontcolor", DownFontColor);
    K.Integer(L"unenabledfontColor", UnEnabledFontColor);  // the skin format's own spelling
    K.Boolean(L"stretcheffect", StretchEffect);
    K.Rect(L"animateskinrect", AnimateSkinRect);
    K.Integer(L"framecount", FrameCount);
    K.Integer(L"animateinterval", AnimateInterval, 25);
    K.Boolean(L"inactiveanimation", InActiveAnimation);
}

void TbsDataSkinCaption::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinObject::DefineKeys(K);
    K.Rect(L"textrect", TextRct);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Integer(L"activefontcolor", ActiveFontColor);
    K.Alignment(L"alignment", Alignment);
    K.Boolean(L"light", Light);
    K.Integer(L"lightcolor", LightColor);
    K.Integer(L"activelightcolor", ActiveLightColor);
    K.Boolean(L"shadow", Shadow);
    K.Integer(L"shadowcolor", ShadowColor);
    K.Integer(L"activeshadowcolor", ActiveShadowColor);
    K.Rect(L"framerect", FrameRect);
    K.Rect(L"activeframerect", ActiveFrameRect);
    K.Rect(L"frametextrect", FrameTextRect);
    K.Integer(L"frameleftoffset", FrameLeftOffset);
    K.Integer(L"framerightoffset", FrameRightOffset);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.Rect(L"animateskinrect", AnimateSkinRect);
    K.Integer(L"framecount", FrameCount);
    K.Integer(L"animateinterval", AnimateInterval, 25);
    K.Boolean(L"inactiveanimation", InActiveAnimation);
    K.Boolean(L"fullframe", FullFrame);
    K.Boolean(L"vistagloweffect", VistaGlowEffect);
    K.Boolean(L"vistaglowinactiveeffect", VistaGlowInActiveEffect);
    K.Boolean(L"gloweffect", GlowEffect);
    K.Boolean(L"glowinactiveeffect", GlowInActiveEffect);
    K.Integer(L"glowsize", GlowSize, 3);
    K.Integer(L"glowcolor", GlowColor);
    K.Integer(L"glowactivecolor", GlowActiveColor);
    K.Integer(L"glowoffset", GlowOffset);
    K.Boolean(L"reflectioneffect", ReflectionEffect);
    K.Integer(L"reflactioncolor", ReflectionColor);  // the skin format's own spelling
    K.Integer(L"reflactionactivecolor", ReflectionActiveColor);
    K.Integer(L"reflectionoffset", ReflectionOffset);
    K.Rect(L"dividerrect", DividerRect);
    K.Rect(L"inactivedividerrect", InActiveDividerRect);
    K.Boolean(L"dividertransparent", DividerTransparent);
    K.Integer(L"dividertransparentcolor", DividerTransparentColor);
    K.Integer(L"quickbuttonalphamaskpictureindex", QuickButtonAlphaMaskPictureIndex, -1);
}

// ---- type words ------------------------------------------------------------------------------

namespace {

struct ObjectType {
    const wchar_t* Word;
    TbsDataSkinObject* (*Create)(const String& name);
    bool (*Is)(const TbsDataSkinObject* r);
};

template <class T>
constexpr ObjectType Type(const wchar_t* word)
{
    return ObjectType{word, [](const String& name) -> TbsDataSkinObject* { return new T(name); },
                      [](const TbsDataSkinObject* r) { return dynamic_cast<const T*>(r) != nullptr; }};
}

// In the order the reader tests the words.
const ObjectType kReadOrder[] = {
    Type<TbsDataSkinMenuItem>(L"menuitem"),   Type<TbsDataSkinMainMenuBarItem>(L"mainmenubaritem"),
    Type<TbsDataSkinStdButton>(L"stdbutton"), Type<TbsDataSkinMainMenuBarButton>(L"mainmenubarbutton"),
    Type<TbsDataSkinButton>(L"button"),       Type<TbsDataSkinCaption>(L"caption"),
    Type<TbsDataSkinAnimate>(L"animate"),     Type<TbsDataUserObject>(L"userobject"),
};

// The writer tests a class before its parent.
const ObjectType kWriteOrder[] = {
    Type<TbsDataSkinMenuItem>(L"menuitem"),
    Type<TbsDataSkinMainMenuBarItem>(L"mainmenubaritem"),
    Type<TbsDataSkinMainMenuBarButton>(L"mainmenubarbutton"),
    Type<TbsDataSkinStdButton>(L"stdbutton"),
    Type<TbsDataSkinButton>(L"button"),
    Type<TbsDataSkinCaption>(L"caption"),
    Type<TbsDataSkinAnimate>(L"animate"),
    Type<TbsDataUserObject>(L"userobject"),
};

}  // namespace

TbsDataSkinObject* CreateSkinObjectRecord(const String& TypeWord, const String& AIDName)
{
    for (const ObjectType& t : kReadOrder)
        if (TypeWord == t.Word) return t.Create(AIDName);
    return nullptr;
}

const wchar_t* SkinObjectTypeWord(const TbsDataSkinObject* Record)
{
    for (const ObjectType& t : kWriteOrder)
        if (t.Is(Record)) return t.Word;
    return L"";
}
