// The skin chooser: TbsSelectSkinDialog.Execute builds a TbsSelectSkinDlgForm - a list of the
// skins' names, a preview window and OK and Cancel - shows it modally and answers the chosen skin.
// The preview is a disabled child form with its own skinned frame and one skinned button, both on
// a skin model of the dialog's own, so picking an item re-skins only them; the caller applies the
// choice to its own model afterwards.
//
// Two sources of skins: a skin list (Execute(SkinIndex), the choice an index into it) or the
// stored-skin components of the dialog component's owner (Execute(DefaultCompressedSkin), the
// choice one of them).
#pragma once

#include <vector>

#include "platform/framework/core/component.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/graphics_objects.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinButton;
class TbsSkinListBox;
class TbsCompressedSkinList;
class TbsCompressedStoredSkin;

class TbsSelectSkinDlgForm : public TForm {
public:
    // Skin-list mode: the list's items, ASkinIndex chosen and previewed.
    static TbsSelectSkinDlgForm* CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList, int ASkinIndex,
                                           TbsSkinData* ACtrlSkinData);
    // Stored-skin mode: the stored skins among AForm's components, ADefaultSkin chosen (the
    // first when it is not among them).
    static TbsSelectSkinDlgForm* CreateEx(TComponent* AOwner, TComponent* AForm, TbsCompressedStoredSkin* ADefaultSkin,
                                          TbsSkinData* ACtrlSkinData);
    ~TbsSelectSkinDlgForm() override;

    // The stored skin the preview shows.
    TbsCompressedStoredSkin* SelectedSkin() const { return GetSelectedSkin(); }
    TbsCompressedStoredSkin* GetSelectedSkin() const;
    // The list's item click: the item's skin into the preview.
    void SLBOnChange(TObject* Sender);
    // The list's item double click: OK.
    void SLBOnDblClick(TObject* Sender);

    TbsCompressedSkinList* FCSkinList = nullptr;  // none in stored-skin mode
    int FCSkinIndex = -1;
    TbsSkinForm* BSF = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TForm* PreviewForm = nullptr;
    TbsSkinForm* PreviewBSF = nullptr;
    TbsSkinData* PreviewSkinData = nullptr;
    TbsSkinButton* PreviewButton = nullptr;
    TbsSkinListBox* SkinsListBox = nullptr;
    // Stored-skin mode: the owner's stored skins in list order (not owned).
    std::vector<TbsCompressedStoredSkin*> SkinList;

private:
    // Everything both modes share, before the list is filled.
    TbsSelectSkinDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData);
    // The preview placed and shown, the list focused.
    void FinishBuild();
};

class TbsSelectSkinDialog : public TComponent {
public:
    explicit TbsSelectSkinDialog(TComponent* AOwner);
    ~TbsSelectSkinDialog() override;

    // Offers SkinList's items starting at SkinIndex; on OK SelectedSkinIndex is the chosen one.
    // False at once without a SkinList.
    bool Execute(int SkinIndex);
    // Offers the stored skins of this component's owner; on OK SelectedSkin is the chosen one.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    // Copies the font.
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }

    int SelectedSkinIndex() const { return FSelectedSkinIndex; }
    TbsCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
    // The form while Execute shows it, else nullptr.
    TbsSelectSkinDlgForm* Form() const { return FDlgFrm; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Title, frame, fonts, skin models and client size of the built form, then the modal show
    // and on OK the choice (an index, or with StoredSkins the skin); the form is freed on every
    // way out. True for OK.
    bool ShowForm(TbsSelectSkinDlgForm* Form, bool StoredSkins);

    TbsCompressedSkinList* FSkinList = nullptr;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont* FDefaultFont;
    String FTitle = L"Select skin";
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 200;
    int FSelectedSkinIndex = -1;
    TbsCompressedStoredSkin* FSelectedSkin = nullptr;
    TbsSelectSkinDlgForm* FDlgFrm = nullptr;
};
