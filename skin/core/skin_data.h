// TbsSkinData, the skin model: one loaded skin - its pictures, form geometry, form object and
// control records found by name, the four window records and the skin colours - loaded from a skin
// folder, a stored compressed skin (also picked from a skin list by index) or a compressed skin
// file, and written back as an INI, an INI with its bitmaps, or a compressed file. Around every
// load it tells every form of the application (WM_SKINDATA_BEFORECHANGE, _CHANGE, _AFTERCHANGE);
// its switches that concern forms broadcast their own notices. Every skinned form and control
// holds a reference to one model and reads its public fields directly.
#pragma once

#include <vector>

#include "platform/framework/core/component.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_types.h"
#include "skin/core/skin_ini.h"
#include "skin/core/skin_types.h"

class TbsDataSkinObject;
class TbsDataSkinControl;
class TbsDataSkinPopupWindow;
class TbsDataSkinLayerFrame;
class TbsDataSkinHintWindow;
class TbsSkinColors;
class TbsCompressedStoredSkin;
class TbsCompressedSkinList;
class TbsResourceStrData;
class TMemoryStream;

// A skin that cannot be used: unsupported data, sizes that do not fit the data.
class EbsSkinDataError : public Exception {
public:
    using Exception::Exception;
};

class TbsSkinData : public TComponent {
public:
    explicit TbsSkinData(TComponent* AOwner);
    ~TbsSkinData() override;

    // ---- loading and saving ----
    // A skin folder: the INI at FileName and the bitmaps it names beside it. An INI without one
    // of the five skin sections changes nothing; a missing file raises EFOpenError.
    void LoadFromFile(const String& FileName);
    void LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const String& FileName);
    // Replaces the skin's sections in the INI file (made when missing); other sections and
    // comments stay. Written through a temporary file.
    void SaveToFile(const String& FileName);
    // SaveToFile, then the pictures under their file names in the INI's folder.
    void StoreToDisk(const String& AFileName);
    void SaveToCompressedFile(const String& FileName);

    void ClearObjects();
    void ClearAll();
    // ClearAll, then the three change notices (forms show their built-in look).
    void ClearSkin();

    // The first record whose IDName equals AIDName exactly (case-sensitive); -1 when none.
    int GetIndex(const String& AIDName) const;
    int GetControlIndex(const String& AIDName) const;

    // Loads the bitmap, then appends it with the file name part of FileName.
    void AddBitMap(const String& FileName);
    // EListError for an index outside the list.
    void DeleteBitMap(int Index);
    // Sets the font name and adds the height correction in every font-bearing record.
    void GlobalChangeFont(const String& ANewFontName, int AFontHeightCorrection);
    // Sends M (wParam this model, lParam 1000) to every form but the layered border windows.
    void SendSkinDataMessage(UINT M);

    // ---- the skin INI (skin_ini.cpp) ----
    // Writes every skin section, each erased first, in the fixed order.
    void WriteSkin(TCustomIniFile* IniFile);
    void ReadFormInfo(TCustomIniFile* IniFile);
    void WriteFormInfo(TCustomIniFile* IniFile);
    void ReadSkinObjects(TCustomIniFile* IniFile);
    void ReadSkinControls(TCustomIniFile* IniFile);
    void WriteSkinObjects(TCustomIniFile* IniFile);
    void WriteSkinControls(TCustomIniFile* IniFile);
    void WriteActivePictureNames(TCustomIniFile* IniFile);
    // "name:type" split at the first colon; no colon gives an empty name and type.
    static void SplitNameAndType(const String& Line, String& Name, String& Type);

    // ---- published properties ----
    bool DlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
    void SetDlgTreeViewDrawSkin(bool v) { FDlgTreeViewDrawSkin = v; }
    const String& DlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
    void SetDlgTreeViewItemSkinDataName(const String& v) { FDlgTreeViewItemSkinDataName = v; }
    bool DlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
    void SetDlgListViewDrawSkin(bool v) { FDlgListViewDrawSkin = v; }
    const String& DlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
    void SetDlgListViewItemSkinDataName(const String& v) { FDlgListViewItemSkinDataName = v; }
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool v);
    bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
    void SetAnimationForAllWindows(bool v) { FAnimationForAllWindows = v; }
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool v) { FEnableSkinEffects = v; }
    bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
    void SetShowButtonGlowFrames(bool v) { FShowButtonGlowFrames = v; }
    bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
    void SetShowCaptionButtonGlowFrames(bool v) { FShowCaptionButtonGlowFrames = v; }
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool v);
    bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
    void SetAeroBlurEnabled(bool v);
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    // Stores the reference and loads the stored skin.
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* v);
    TbsResourceStrData* ResourceStrData() const { return FResourceStrData; }
    // Every assignment broadcasts WM_SKINDATA_STRINGSCHANGED.
    void SetResourceStrData(TbsResourceStrData* v);
    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    // Stores the reference; loads the item at SkinIndex when it is in range.
    void SetSkinList(TbsCompressedSkinList* v);
    int SkinIndex() const { return FSkinIndex; }
    // A new value is stored without a list; with one, only an index in range is stored and its
    // item loaded.
    void SetSkinIndex(int v);
    TbsSkinColors* SkinColors() const { return FSkinColors; }

    TNotifyEvent OnLoadData;  // after a skin was read, before WM_SKINDATA_CHANGE

    // ---- public fields, read directly by skinned forms and controls ----
    String SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;
    TBitmap* FPicture;
    TBitmap* FInActivePicture;
    TBitmap* FMask;
    std::vector<TBitmap*> FActivePictures;  // owned; records address them by index
    String FPictureName, FInActivePictureName, FMaskName;
    TStringList* FActivePicturesNames;
    std::vector<TbsDataSkinObject*> ObjectList;  // owned, in file order
    std::vector<TbsDataSkinControl*> CtrlList;   // owned, in file order
    TbsDataSkinPopupWindow* PopupWindow;
    TbsDataSkinLayerFrame* LayerFrame;
    TbsDataSkinHintWindow* HintWindow;
    TbsSkinColors* FSkinColors;

    // Form geometry ("FORMINFO").
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    TRect ClRect{};
    int BGPictureIndex = -1, MDIBGPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool MDIBGStretchEffect = false;
    TbsStretchType MDIBGStretchType = bsstFull;
    TRect MaskRectArea{};
    TPoint HitTestLTPoint{}, HitTestRTPoint{}, HitTestLBPoint{}, HitTestRBPoint{};
    TRect ButtonsRect{}, CaptionRect{};
    int ButtonsOffset = 0, BorderW = 0, FormMinWidth = 0, FormMinHeight = 0;
    bool CapButtonsInLeft = false, MainMenuPopupUp = false, AutoRenderingInActiveImage = false;
    bool MDITabsTransparent = false, MainMenuBarTransparent = false;
    TbsInActiveEffect InActiveEffect = ieBrightness;

    // No skin is loaded (also during a load); readers test it first.
    bool Empty = true;
    // From the start of a load until just before its last notice.
    bool ChangeSkinDataProcess = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The load's frame: notices and state around reading. A failure after the first notice
    // clears the model and still sends the other two, so no form waits for them.
    void BeginLoad();
    void EndLoad();
    void FailLoad();
    // "FORMINFO" to "SKINCONTROLS" in reading order.
    void ReadSkinParts(TCustomIniFile* IniFile);
    void ReadPayload(TMemoryStream& Payload);
    void DefineFormInfoKeys(TbsSkinKeys& Keys);

    bool FDlgTreeViewDrawSkin = true;
    String FDlgTreeViewItemSkinDataName = L"listbox";
    bool FDlgListViewDrawSkin = true;
    String FDlgListViewItemSkinDataName = L"listbox";
    bool FSkinnableForm = true;
    bool FAnimationForAllWindows = false;
    bool FEnableSkinEffects = true;
    bool FShowButtonGlowFrames = true;
    bool FShowCaptionButtonGlowFrames = true;
    bool FShowLayeredBorders = true;
    bool FAeroBlurEnabled = true;
    TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TbsResourceStrData* FResourceStrData = nullptr;
    TbsCompressedSkinList* FSkinList = nullptr;
    int FSkinIndex = 0;
};
