// What every skinned control holds, windowed or not: its link to the skin model (the model, the
// name of its record and the record's index, looked up again by that name), and the extended
// hint the skinned hint shows for it. The windowed and the graphic bases each inherit it once.
#pragma once

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/core/skin_data.h"

class TbsSkinLink {
public:
    // Control is the component the link belongs to: it asks for the free notifications.
    explicit TbsSkinLink(TComponent* Control) : FControl(Control) {}
    virtual ~TbsSkinLink();
    TbsSkinLink(const TbsSkinLink&) = delete;
    TbsSkinLink& operator=(const TbsSkinLink&) = delete;

    TbsSkinData* SkinData() const { return FSD; }
    const String& SkinDataName() const { return FSkinDataName; }
    // The index of the record in the model's CtrlList; -1 for the built-in look.
    int SkinIndex() const { return FIndex; }

    // The extended hint the skinned hint shows for the control.
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& Value) { FHintTitle = Value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value);

    // Finds the record by SkinDataName (FindSkinRecord); controls copy their record's fields here.
    virtual void GetSkinData() { FindSkinRecord(); }

protected:
    // B arrives as a new bitmap of the control's size: the built-in look, or the record's.
    virtual void CreateControlDefaultImage(TBitmap* B) { (void)B; }
    virtual void CreateControlSkinImage(TBitmap* B) { (void)B; }
    // The paint of a control of W x H: GetSkinData, then its whole look composed into one bitmap
    // (the built-in look without a record) drawn onto Target in one step; nothing is erased.
    void PaintLook(TCanvas* Target, int W, int H);
    // Takes the model, watching it while it is held; true when the control must apply it now
    // (a model that is not empty, outside the designer).
    bool StoreSkinData(TbsSkinData* Value);
    // FIndex from SkinDataName (exact, case-sensitive); -1 without a model, with an empty one or
    // without the record.
    void FindSkinRecord();
    // Forgets the model or the hint's image list when it is the component going away.
    void ForgetRemoved(TComponent* AComponent);
    // The record FIndex names; nullptr without one.
    TbsDataSkinControl* Record() const;
    // The character set of the model's text table when it has one, else Fallback.
    TFontCharset SkinCharset(TFontCharset Fallback) const;
    // The active picture at Index; nullptr without a model or outside the list.
    TBitmap* ActivePicture(int Index) const;

    TbsSkinData* FSD = nullptr;
    String FSkinDataName;
    int FIndex = -1;

private:
    TComponent* FControl;
    String FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};
